#include <gtest/gtest.h>
#include "components/ToyTarget/ToyTarget.h"
#include "tests/harness/harness.h"
#include <algorithm>
#include <map>

namespace {

// Assembles in-memory files; "main.asm" is the entry.
toy::AssemblyResult AssembleFiles(const std::map<std::string, std::string>& files)
{
    toy::Assembler assembler;
    assembler.readFile = [&files](const std::string& path, std::string& text) {
        auto it = files.find(path);
        if (it == files.end())
            return false;
        text = it->second;
        return true;
    };
    return assembler.Assemble("main.asm");
}

std::vector<uint8_t> CodeBytes(const toy::AssemblyResult& r)
{
    std::vector<uint8_t> bytes;
    for (const toy::Segment& s : r.segments)
        if (s.space == toy::SPACE_CODE)
            bytes.insert(bytes.end(), s.bytes.begin(), s.bytes.end());
    return bytes;
}

struct ProgramCase {
    const char* name;
    const char* source;
    std::vector<uint8_t> bytes;   // empty: not checked
    int reg;                      // register checked after the run
    int value;
};

TEST(ToyTarget, ProgramsAssembleAndRun)
{
    const ProgramCase cases[] = {
        {"load and halt", "LDI A, 5\nHALT\n", {0x10, 0x05, 0x01}, 0, 5},
        {"add with labels", "start: LDI A, 2\n LDI B, 3\n ADD A, B\n JMP done\n LDI A, 0\ndone: HALT\n",
         {0x10, 2, 0x11, 3, 0x31, 0x04, 0x0A, 0x00, 0x10, 0, 0x01}, 0, 5},
        {"loop with jnz", "LDI A, 0\nLDI B, 4\nloop: INC A\nDEC B\nJNZ loop\nHALT\n", {}, 0, 4},
        {"call and ret", "CALL sub\nHALT\nsub: LDI C, 0x2A\nRET\n", {}, 2, 42},
        {"ram store and load", "LDI A, 9\nST [0x10], A\nLD D, [0x10]\nHALT\n", {}, 3, 9},
        {"table word", ".table 3, 0x1234\nLDT A, [3]\nHALT\n", {0x60, 3, 0x01}, 1, 0x12},
        {"io cell is 4 bits", "LDI A, 0xFF\nOUT 2, A\nIN B, 2\nHALT\n", {}, 1, 0x0F},
        {"ram data init", ".data 0x20, 7, 8\nLD A, [0x21]\nHALT\n", {}, 0, 8},
        {"compare and carry", "LDI A, 3\nCMP A, 5\nJC less\nHALT\nless: LDI A, 1\nHALT\n", {}, 0, 1},
        {"constants and expressions", ".equ BASE, 0x10\nLDI A, BASE+2\nHALT\n", {0x10, 0x12, 0x01}, 0, 0x12},
        {"org moves code", "JMP far\n.org 0x20\nfar: LDI A, 1\nHALT\n", {}, 0, 1},
    };
    for (const ProgramCase& c : cases) {
        SCOPED_TRACE(c.name);
        toy::AssemblyResult r = AssembleFiles({{"main.asm", c.source}});
        ASSERT_EQ(0, r.errors) << (r.messages.empty() ? "" : r.messages[0].text);
        if (!c.bytes.empty()) {
            EXPECT_EQ(c.bytes, CodeBytes(r));
        }
        toy::Cpu cpu;
        cpu.Load(r.segments);
        cpu.Reset();
        cpu.Run(1000);
        EXPECT_TRUE(cpu.halted);
        EXPECT_EQ(c.value, cpu.reg[c.reg]);
    }
}

struct ErrorCase {
    const char* name;
    const char* source;
    int kind;
    int line;
    const char* text;
};

TEST(ToyTarget, ErrorsAndWarningsCarryFileAndLine)
{
    const ErrorCase cases[] = {
        {"unknown mnemonic", "NOP\nFROB A\nHALT\n", toy::MSG_ERROR, 2, "unknown mnemonic 'FROB'"},
        {"undefined label", "JMP nowhere\n", toy::MSG_ERROR, 1, "undefined label 'nowhere'"},
        {"unused label", "HALT\n\nspare: NOP\n", toy::MSG_WARNING, 3, "label 'spare' is never used"},
        {"bad register", "LDI X, 1\n", toy::MSG_ERROR, 1, "register expected, found 'X'"},
        {"value out of range", "IN A, 16\n", toy::MSG_ERROR, 1, "value out of range '16'"},
        {"missing include", ".include \"nope.inc\"\n", toy::MSG_ERROR, 1, "cannot read include file 'nope.inc'"},
        {"duplicate label", "a: NOP\na: NOP\nJMP a\n", toy::MSG_ERROR, 2, "symbol 'a' defined twice"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        toy::AssemblyResult r = AssembleFiles({{"main.asm", c.source}});
        ASSERT_EQ(1u, r.messages.size());
        EXPECT_EQ(c.kind, r.messages[0].kind);
        EXPECT_EQ("main.asm", r.messages[0].file);
        EXPECT_EQ(c.line, r.messages[0].line);
        EXPECT_EQ(c.text, r.messages[0].text);
    }
}

TEST(ToyTarget, DirectivesCollectIncludesEmbedsAndEquations)
{
    toy::AssemblyResult r = AssembleFiles({
        {"main.asm", ".include \"defs.inc\"\n.embed \"tone.wav\"\n.embed \"voice.sil\"\n"
                     ".equation Beep, \"tone.wav\"\nLDI A, Beep\nLDI B, Beep\nLDI C, VALUE\n.embed \"tone.wav\"\nHALT\n"},
        {"defs.inc", ".equ VALUE, 3\n"},
    });
    ASSERT_EQ(0, r.errors);
    ASSERT_EQ(1u, r.includes.size());
    EXPECT_EQ("defs.inc", r.includes[0]);
    ASSERT_EQ(2u, r.embedded.size());
    EXPECT_EQ("tone.wav", r.embedded[0].path);
    ASSERT_EQ(2u, r.embedded[0].references.size());
    EXPECT_EQ(8, r.embedded[0].references[1].line);
    EXPECT_EQ("voice.sil", r.embedded[1].path);
    ASSERT_EQ(1u, r.equations.size());
    EXPECT_EQ("Beep", r.equations[0].name);
    ASSERT_EQ(2u, r.equations[0].references.size());
    EXPECT_EQ(5, r.equations[0].references[0].line);
    EXPECT_EQ(6, r.equations[0].references[1].line);
}

TEST(ToyTarget, LongLinesAndStopRequests)
{
    std::string longLine(300, 'x');
    toy::AssemblyResult r = AssembleFiles({{"main.asm", "NOP\n" + longLine + "\nHALT\n"}});
    ASSERT_EQ(1, r.errors);
    EXPECT_EQ(2, r.messages[0].line);

    std::string big;
    for (int i = 0; i < 1000; ++i)
        big += "NOP\n";
    toy::Assembler assembler;
    assembler.readFile = [&big](const std::string&, std::string& text) { text = big; return true; };
    int polls = 0;
    assembler.shouldStop = [&polls] { return ++polls > 2; };
    toy::AssemblyResult stopped = assembler.Assemble("main.asm");
    EXPECT_TRUE(stopped.stopped);
    EXPECT_TRUE(stopped.segments.empty());
}

TEST(ToyTarget, ListingColumnsAndFilesRoundTrip)
{
    toy::AssemblyResult r = AssembleFiles({{"main.asm", "; comment\nstart: CALL start\nHALT\n"}});
    ASSERT_EQ(0, r.errors);
    ASSERT_EQ(3u, r.listing.size());
    EXPECT_EQ(std::string(24, ' ') + "; comment", toy::FormatListingLine(r.listing[0]));
    std::string line = toy::FormatListingLine(r.listing[1]);
    EXPECT_EQ("00:0000", line.substr(0, 7));
    EXPECT_EQ("030000   ", line.substr(15, 9));
    EXPECT_EQ("start: CALL start", line.substr(24));

    vt::TempDir dir;
    toy::ObjectFile obj;
    obj.partNumber = "KV61A-S28";
    obj.segments = r.segments;
    ASSERT_TRUE(toy::WriteObjectFile(dir.File("a.obj"), obj));
    toy::ObjectFile back;
    ASSERT_TRUE(toy::ReadObjectFile(dir.File("a.obj"), back));
    EXPECT_EQ("KV61A-S28", back.partNumber);
    ASSERT_EQ(1u, back.segments.size());
    EXPECT_EQ(r.segments[0].bytes, back.segments[0].bytes);

    ASSERT_TRUE(toy::WriteMapFile(dir.File("a.map"), r));
    toy::MapFile map;
    ASSERT_TRUE(toy::ReadMapFile(dir.File("a.map"), map));
    ASSERT_EQ(2u, map.lines.size());
    EXPECT_EQ("main.asm", map.lines[1].file);
    EXPECT_EQ(3, map.lines[1].line);
    EXPECT_EQ(3u, map.lines[1].address);
    ASSERT_EQ(1u, map.symbols.size());
    EXPECT_EQ("start", map.symbols[0].name);

    // Truncated object files are refused, never read past their end.
    std::string bytes = vt::ReadFileBytes(dir.File("a.obj"));
    for (size_t n = 0; n < bytes.size(); ++n) {
        vt::WriteFileBytes(dir.File("t.obj"), bytes.substr(0, n));
        EXPECT_FALSE(toy::ReadObjectFile(dir.File("t.obj"), back)) << n;
    }
}

TEST(ToyTarget, DisassemblyNamesEveryForm)
{
    const uint8_t code[] = {0x03, 0x34, 0x12, 0x12, 0x07, 0x39, 0x56, 0x1F, 0x5D, 0x03, 0xFF};
    int len = 0;
    EXPECT_EQ("CALL 0x1234", toy::Disassemble(code, 3, &len));
    EXPECT_EQ(3, len);
    EXPECT_EQ("LDI C,0x07", toy::Disassemble(code + 3, 2, &len));
    EXPECT_EQ("ADD C,B", toy::Disassemble(code + 5, 1, &len));
    EXPECT_EQ("ST [0x1F],C", toy::Disassemble(code + 6, 2, &len));
    EXPECT_EQ("OUT 3,B", toy::Disassemble(code + 8, 2, &len));
    EXPECT_EQ("DB 0xFF", toy::Disassemble(code + 10, 1, &len));
    EXPECT_EQ(1, len);
}

int CountText(const toy::AssemblyResult& r, const std::string& text)
{
    int n = 0;
    for (const toy::Message& m : r.messages)
        n += m.text.find(text) != std::string::npos ? 1 : 0;
    return n;
}

TEST(ToyTarget, RecursiveIncludesAreErrorsAtTheIncludeLine)
{
    struct Case {
        const char* name;
        std::map<std::string, std::string> files;
        std::string file;   // where the error is reported
        int line;
    };
    const Case cases[] = {
        {"itself", {{"main.asm", "NOP\n.include \"main.asm\"\nHALT\n"}}, "main.asm", 2},
        {"itself in another case", {{"main.asm", "NOP\n.include \"MAIN.ASM\"\nHALT\n"}}, "main.asm", 2},
        {"through another", {{"main.asm", ".include \"a.inc\"\nHALT\n"}, {"a.inc", "NOP\n\n.include \"main.asm\"\n"}},
         "a.inc", 3},
        {"a loop below the entry",
         {{"main.asm", ".include \"a.inc\"\nHALT\n"},
          {"a.inc", ".include \"b.inc\"\n"},
          {"b.inc", "NOP\n.include \"a.inc\"\n"}},
         "b.inc", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        toy::AssemblyResult r = AssembleFiles(c.files);
        ASSERT_EQ(1, r.errors);
        EXPECT_EQ(c.file, r.messages[0].file);
        EXPECT_EQ(c.line, r.messages[0].line);
        EXPECT_EQ(0u, r.messages[0].text.find("recursive include '"));
    }
    // Including one file twice, side by side, is no recursion.
    toy::AssemblyResult twice = AssembleFiles(
        {{"main.asm", ".include \"a.inc\"\n.include \"a.inc\"\nHALT\n"}, {"a.inc", "NOP\n"}});
    EXPECT_EQ(0, twice.errors);

    // Five lines including their own file: five errors, at once (it expanded to 5^8 lines before).
    std::string five;
    for (int i = 0; i < 5; ++i)
        five += ".include \"main.asm\"\n";
    toy::AssemblyResult r = AssembleFiles({{"main.asm", five}});
    EXPECT_EQ(5, r.errors);
    EXPECT_EQ(5, CountText(r, "recursive include 'main.asm'"));
}

TEST(ToyTarget, ExpandedSourceAndMessagesAreBounded)
{
    // No recursion, but each level includes the next five times: 5^8 copies of the last file.
    std::map<std::string, std::string> files;
    for (int level = 0; level < 8; ++level) {
        std::string text;
        for (int i = 0; i < 5; ++i)
            text += ".include \"l" + std::to_string(level + 1) + ".inc\"\n";
        files[level == 0 ? "main.asm" : "l" + std::to_string(level) + ".inc"] = text;
    }
    files["l8.inc"] = "NOP\n";
    toy::AssemblyResult r = AssembleFiles(files);
    EXPECT_EQ(1, r.errors);
    EXPECT_EQ(1, CountText(r, "source too large with its includes"));
    EXPECT_LE(r.listing.size(), toy::kMaxSourceLines);

    // A flood of errors: every one counted, the first kMaxMessages kept.
    std::string bad;
    for (size_t i = 0; i < toy::kMaxMessages + 250; ++i)
        bad += "FROB\n";
    toy::AssemblyResult flood = AssembleFiles({{"main.asm", bad}});
    EXPECT_EQ(static_cast<int>(toy::kMaxMessages) + 250, flood.errors);
    EXPECT_EQ(toy::kMaxMessages, flood.messages.size());
    EXPECT_EQ(250, flood.messagesLeftOut);
}

// Random include graphs, cycles and fan-outs among them: every assembly ends, bounded, and a
// file reached again while it is being read is always reported.
TEST(ToyTargetFuzz, RandomIncludeGraphs)
{
    unsigned state = 4242;
    auto next = [&state](unsigned n) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % n;
    };
    for (int round = 0; round < 150; ++round) {
        SCOPED_TRACE(round);
        unsigned count = 1 + next(6);
        std::map<std::string, std::string> files;
        for (unsigned f = 0; f < count; ++f) {
            std::string text;
            for (unsigned n = next(6); n > 0; --n) {
                switch (next(4)) {
                case 0:
                    text += "NOP\n";
                    break;
                case 1:
                    text += "FROB\n";
                    break;
                default:
                    text += ".include \"f" + std::to_string(next(count + 1)) + ".asm\"\n";   // one may be missing
                }
            }
            files["f" + std::to_string(f) + ".asm"] = text;
        }
        toy::Assembler assembler;
        assembler.readFile = [&](const std::string& path, std::string& text) {
            auto it = files.find(path);
            if (it == files.end())
                return false;
            text = it->second;
            return true;
        };
        toy::AssemblyResult r = assembler.Assemble("f0.asm");
        EXPECT_LE(r.messages.size(), toy::kMaxMessages);
        EXPECT_LE(r.listing.size(), toy::kMaxSourceLines);
        EXPECT_EQ(r.errors + r.warnings, static_cast<int>(r.messages.size()) + r.messagesLeftOut);
        // A file including itself directly is always caught at its first include of itself.
        for (const auto& file : files) {
            bool self = file.second.find(".include \"" + file.first + "\"") != std::string::npos;
            bool reached = file.first == "f0.asm" ||
                           std::find(r.includes.begin(), r.includes.end(), file.first) != r.includes.end();
            if (self && reached && r.messagesLeftOut == 0 && CountText(r, "source too large") == 0) {
                EXPECT_GT(CountText(r, "recursive include '" + file.first + "'"), 0) << file.first;
            }
        }
    }
}

} // namespace
