// Start-up's pieces that need no window: the command line, the project path, the writer's
// boot address and the chip-configuration copy.
#include <gtest/gtest.h>
#include "ide/workbench/AsmIDE.h"
#include "tests/harness/harness.h"

namespace {

struct CommandLineCase {
    std::vector<std::pair<const char*, BOOL>> tokens;   // text, flag
    BOOL build, debug, hide;
    const char* port;
    DWORD invokerId, invokerWnd;
    const char* fileName;
};

TEST(CommandLine, FlagsAndNames)
{
    const CommandLineCase cases[] = {
        {{{"build", TRUE}}, TRUE, FALSE, FALSE, "", 0, 0, ""},
        {{{"BUILD", TRUE}}, TRUE, FALSE, FALSE, "", 0, 0, ""},
        {{{"debug:COM2", TRUE}}, TRUE, TRUE, FALSE, "COM2", 0, 0, ""},
        {{{"Debug:com3", TRUE}}, TRUE, TRUE, FALSE, "COM3", 0, 0, ""},
        {{{"DEBUG", TRUE}}, TRUE, TRUE, FALSE, "LPT1", 0, 0, ""},
        {{{"debug:", TRUE}}, TRUE, TRUE, FALSE, "LPT1", 0, 0, ""},
        {{{"hide", TRUE}, {"build", TRUE}}, TRUE, FALSE, TRUE, "", 0, 0, ""},
        {{{"Hide", TRUE}}, FALSE, FALSE, TRUE, "", 0, 0, ""},
        {{{"IVKID=1A2B", TRUE}}, FALSE, FALSE, FALSE, "", 0x1A2B, 0, ""},
        {{{"ivkid", TRUE}}, FALSE, FALSE, FALSE, "", 0, 0, ""},
        {{{"IVKHWND=ffee", TRUE}}, FALSE, FALSE, FALSE, "", 0, 0xFFEE, ""},
        // A plain token names the file; a flag never does, whatever it says.
        {{{"proj.wbi", FALSE}}, FALSE, FALSE, FALSE, "", 0, 0, "proj.wbi"},
        {{{"hide", FALSE}, {"x", TRUE}}, FALSE, FALSE, FALSE, "", 0, 0, "hide"},
        {{{"builds", TRUE}, {"hidden", TRUE}}, FALSE, FALSE, FALSE, "", 0, 0, ""},
        {{{"sample\\Sample.wbi", FALSE}, {"hide", TRUE}, {"debug:usb", TRUE}}, TRUE, TRUE, TRUE, "USB", 0, 0,
         "sample\\Sample.wbi"},
    };
    for (const CommandLineCase& c : cases) {
        C_IDECommandLineInfo info;
        for (size_t i = 0; i < c.tokens.size(); ++i)
            info.ParseParam(c.tokens[i].first, c.tokens[i].second, i + 1 == c.tokens.size());
        const std::string label = c.tokens[0].first;
        EXPECT_EQ(c.build, info.m_bBuild) << label;
        EXPECT_EQ(c.debug, info.m_bDebug) << label;
        EXPECT_EQ(c.hide, info.m_bHide) << label;
        EXPECT_STREQ(c.port, info.m_strPort) << label;
        EXPECT_EQ(c.invokerId, info.m_dwInvokerId) << label;
        EXPECT_EQ(c.invokerWnd, info.m_dwInvokerWnd) << label;
        EXPECT_STREQ(c.fileName, info.m_strFileName) << label;
        EXPECT_EQ(*c.fileName ? (int)CCommandLineInfo::FileOpen : (int)CCommandLineInfo::FileNew,
                  info.m_nShellCommand)
            << label;
    }
}

TEST(CommandLine, ProjectPathGetsTheProjectExtensionOrIsRefused)
{
    const struct {
        const char* name;
        BOOL ok;
        const char* path;
    } cases[] = {
        {"proj", TRUE, "C:\\work\\proj.wbi"},
        {"proj.wbi", TRUE, "C:\\work\\proj.wbi"},
        {"sub\\Proj.WBI", TRUE, "C:\\work\\sub\\Proj.WBI"},
        {"..\\other\\proj", TRUE, "C:\\other\\proj.wbi"},
        {"D:\\p\\proj", TRUE, "D:\\p\\proj.wbi"},
        {"proj.txt", FALSE, nullptr},
        {"proj.wbi.bak", FALSE, nullptr},
        {"", FALSE, nullptr},
    };
    for (const auto& c : cases) {
        C_CUString path;
        EXPECT_EQ(c.ok, CAsmIDEApp::MakeProjectPath("C:\\work\\", c.name, path)) << c.name;
        if (c.ok) {
            EXPECT_STREQ(c.path, path) << c.name;
        }
    }
}

TEST(Configuration, BootAddressIsHexadecimalWithADefault)
{
    const struct {
        const char* file;   // NULL: no usbubp.ini
        DWORD address;
    } cases[] = {
        {nullptr, IDE_DEFAULT_USBUBP_ADDRESS},
        {"[USBUBP_DEF]\r\nADDRESS=\r\n", IDE_DEFAULT_USBUBP_ADDRESS},
        {"[USBUBP_DEF]\r\nOTHER=1\r\n", IDE_DEFAULT_USBUBP_ADDRESS},
        {"[USBUBP_DEF]\r\nADDRESS=FFE7A000\r\n", 0xFFE7A000},
        {"[USBUBP_DEF]\r\nADDRESS=1234abcd\r\n", 0x1234ABCD},
        {"[USBUBP_DEF]\r\nADDRESS=0x400\r\n", 0x400},
        {"[USBUBP_DEF]\r\nADDRESS=zz\r\n", IDE_DEFAULT_USBUBP_ADDRESS},
    };
    for (const auto& c : cases) {
        vt::TempDir dir;
        if (c.file)
            dir.Write("usbubp.ini", c.file);
        EXPECT_EQ(c.address, CAsmIDEApp::ReadBootAddress((dir.Path() + "\\").c_str())) << (c.file ? c.file : "none");
    }
}

TEST(Configuration, ChipConfigurationIsCopiedOverTheMainOneAndDeleted)
{
    const std::string kMain = "[CFG]\r\nIsSubChipCFG=1\r\nMainChipCFG=Chip.cfg ; the chip's\r\n";
    const std::string kChip = "[CFG]\r\nIsSubChipCFG=0\r\n[IDESystem]\r\nSDSName=Chip\r\n";
    {
        vt::TempDir dir;
        dir.Write("ZIDE.cfg", kMain);
        dir.Write("Chip.cfg", kChip);
        CAsmIDEApp::CopyChipConfiguration((dir.Path() + "\\").c_str());
        EXPECT_EQ(kChip, vt::ReadFileBytes(dir.File("ZIDE.cfg")));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dir.File("Chip.cfg").c_str()));
    }
    // Switched off, or naming a missing file or the configuration itself: nothing changes.
    const std::string kOff = "[CFG]\r\nIsSubChipCFG=0\r\nMainChipCFG=Chip.cfg\r\n";
    const std::string kMissing = "[CFG]\r\nIsSubChipCFG=1\r\nMainChipCFG=Gone.cfg\r\n";
    const std::string kItself = "[CFG]\r\nIsSubChipCFG=1\r\nMainChipCFG=zide.CFG\r\n";
    const std::string kEmpty = "[CFG]\r\nIsSubChipCFG=1\r\nMainChipCFG=\r\n";
    for (const std::string& main : {kOff, kMissing, kItself, kEmpty}) {
        vt::TempDir dir;
        dir.Write("ZIDE.cfg", main);
        dir.Write("Chip.cfg", kChip);
        CAsmIDEApp::CopyChipConfiguration((dir.Path() + "\\").c_str());
        EXPECT_EQ(main, vt::ReadFileBytes(dir.File("ZIDE.cfg"))) << main;
        EXPECT_EQ(kChip, vt::ReadFileBytes(dir.File("Chip.cfg"))) << main;
    }
    // No configuration at all: silent, nothing made.
    vt::TempDir dir;
    CAsmIDEApp::CopyChipConfiguration((dir.Path() + "\\").c_str());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dir.File("ZIDE.cfg").c_str()));
}

} // namespace
