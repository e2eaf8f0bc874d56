#include "components/ToyTarget/ToyTarget.h"
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

namespace toy {

// ---------------------------------------------------------------------------------------------
// CPU

namespace {

const char* const kRegNames[4] = {"A", "B", "C", "D"};

struct OpInfo {
    const char* name;
    uint8_t base;
    int length;
    enum Form { NONE, ADDR, REG_IMM, REG_REG, REG_MEM, MEM_REG, REG_PORT, PORT_REG, REG } form;
};

const OpInfo kOps[] = {
    {"NOP", 0x00, 1, OpInfo::NONE},     {"HALT", 0x01, 1, OpInfo::NONE},    {"RET", 0x02, 1, OpInfo::NONE},
    {"CALL", 0x03, 3, OpInfo::ADDR},    {"JMP", 0x04, 3, OpInfo::ADDR},     {"JZ", 0x05, 3, OpInfo::ADDR},
    {"JNZ", 0x06, 3, OpInfo::ADDR},     {"JC", 0x07, 3, OpInfo::ADDR},      {"LDI", 0x10, 2, OpInfo::REG_IMM},
    {"MOV", 0x20, 1, OpInfo::REG_REG},  {"ADD", 0x30, 1, OpInfo::REG_REG},  {"SUB", 0x40, 1, OpInfo::REG_REG},
    {"LD", 0x50, 2, OpInfo::REG_MEM},   {"ST", 0x54, 2, OpInfo::MEM_REG},   {"IN", 0x58, 2, OpInfo::REG_PORT},
    {"OUT", 0x5C, 2, OpInfo::PORT_REG}, {"LDT", 0x60, 2, OpInfo::REG_MEM},  {"CMP", 0x64, 2, OpInfo::REG_IMM},
    {"INC", 0x68, 1, OpInfo::REG},      {"DEC", 0x6C, 1, OpInfo::REG},
};

const OpInfo* FindOpByName(const std::string& upper)
{
    for (const OpInfo& op : kOps)
        if (upper == op.name)
            return &op;
    return nullptr;
}

const OpInfo* FindOpByCode(uint8_t code)
{
    for (const OpInfo& op : kOps) {
        int span = 1;
        if (op.form == OpInfo::REG_REG)
            span = 16;
        else if (op.form == OpInfo::REG_IMM || op.form == OpInfo::REG_MEM || op.form == OpInfo::MEM_REG ||
                 op.form == OpInfo::REG_PORT || op.form == OpInfo::PORT_REG || op.form == OpInfo::REG)
            span = 4;
        if (code >= op.base && code < op.base + span)
            return &op;
    }
    return nullptr;
}

} // namespace

int InstructionLength(uint8_t opcode)
{
    const OpInfo* op = FindOpByCode(opcode);
    return op ? op->length : 0;
}

std::string Disassemble(const uint8_t* bytes, size_t available, int* length)
{
    char text[64];
    const OpInfo* op = available ? FindOpByCode(bytes[0]) : nullptr;
    if (!op || static_cast<size_t>(op->length) > available) {
        snprintf(text, sizeof(text), "DB 0x%02X", available ? bytes[0] : 0);
        if (length)
            *length = 1;
        return text;
    }
    int r = bytes[0] & 3;
    int s = (bytes[0] >> 2) & 3;
    switch (op->form) {
    case OpInfo::NONE: snprintf(text, sizeof(text), "%s", op->name); break;
    case OpInfo::ADDR: snprintf(text, sizeof(text), "%s 0x%04X", op->name, bytes[1] | (bytes[2] << 8)); break;
    case OpInfo::REG_IMM: snprintf(text, sizeof(text), "%s %s,0x%02X", op->name, kRegNames[r], bytes[1]); break;
    case OpInfo::REG_REG: snprintf(text, sizeof(text), "%s %s,%s", op->name, kRegNames[s], kRegNames[r]); break;
    case OpInfo::REG_MEM: snprintf(text, sizeof(text), "%s %s,[0x%02X]", op->name, kRegNames[r], bytes[1]); break;
    case OpInfo::MEM_REG: snprintf(text, sizeof(text), "%s [0x%02X],%s", op->name, bytes[1], kRegNames[r]); break;
    case OpInfo::REG_PORT: snprintf(text, sizeof(text), "%s %s,%u", op->name, kRegNames[r], bytes[1] & 15u); break;
    case OpInfo::PORT_REG: snprintf(text, sizeof(text), "%s %u,%s", op->name, bytes[1] & 15u, kRegNames[r]); break;
    case OpInfo::REG: snprintf(text, sizeof(text), "%s %s", op->name, kRegNames[r]); break;
    }
    if (length)
        *length = op->length;
    return text;
}

void Cpu::Reset()
{
    for (uint8_t& r : reg)
        r = 0;
    pc = 0;
    sp = 0xFF;
    zero = carry = halted = false;
}

void Cpu::Load(const std::vector<Segment>& segments)
{
    for (const Segment& seg : segments) {
        for (size_t i = 0; i < seg.bytes.size(); ++i) {
            uint32_t at = seg.address + static_cast<uint32_t>(i);
            switch (seg.space) {
            case SPACE_CODE:
                if (at < kCodeSize)
                    code[at] = seg.bytes[i];
                break;
            case SPACE_RAM:
                if (at < kRamSize)
                    ram[at] = seg.bytes[i];
                break;
            case SPACE_IO:
                if (at < kIoSize)
                    io[at] = seg.bytes[i] & 0x0F;
                break;
            case SPACE_TABLE: {
                uint32_t word = seg.address + static_cast<uint32_t>(i / 2);
                if (word < kTableSize) {
                    if (i % 2 == 0)
                        table[word] = static_cast<uint16_t>((table[word] & 0xFF00) | seg.bytes[i]);
                    else
                        table[word] = static_cast<uint16_t>((table[word] & 0x00FF) | (seg.bytes[i] << 8));
                }
                break;
            }
            }
        }
    }
}

Cpu::StepResult Cpu::Step()
{
    if (halted)
        return STEP_HALT;
    uint8_t op = code[pc];
    uint8_t b1 = code[static_cast<uint16_t>(pc + 1)];
    uint8_t b2 = code[static_cast<uint16_t>(pc + 2)];
    uint16_t target = static_cast<uint16_t>(b1 | (b2 << 8));
    int r = op & 3;
    int s = (op >> 2) & 3;
    int length = InstructionLength(op);
    if (!length)
        return STEP_BAD_OPCODE;
    uint16_t next = static_cast<uint16_t>(pc + length);
    auto setZ = [this](uint8_t v) { zero = v == 0; };
    switch (op & 0xF0) {
    case 0x00:
        switch (op) {
        case 0x00: break;
        case 0x01: halted = true; return STEP_HALT;
        case 0x02: {
            uint8_t lo = ram[static_cast<uint8_t>(sp + 1)];
            uint8_t hi = ram[static_cast<uint8_t>(sp + 2)];
            sp = static_cast<uint8_t>(sp + 2);
            next = static_cast<uint16_t>(lo | (hi << 8));
            break;
        }
        case 0x03:
            ram[sp] = static_cast<uint8_t>(next >> 8);
            ram[static_cast<uint8_t>(sp - 1)] = static_cast<uint8_t>(next & 0xFF);
            sp = static_cast<uint8_t>(sp - 2);
            next = target;
            break;
        case 0x04: next = target; break;
        case 0x05: if (zero) next = target; break;
        case 0x06: if (!zero) next = target; break;
        case 0x07: if (carry) next = target; break;
        }
        break;
    case 0x10: reg[r] = b1; break;
    case 0x20: reg[s] = reg[r]; break;
    case 0x30: {
        unsigned sum = reg[s] + reg[r];
        carry = sum > 0xFF;
        reg[s] = static_cast<uint8_t>(sum);
        setZ(reg[s]);
        break;
    }
    case 0x40:
        carry = reg[s] < reg[r];
        reg[s] = static_cast<uint8_t>(reg[s] - reg[r]);
        setZ(reg[s]);
        break;
    case 0x50:
        switch (op & 0x0C) {
        case 0x0: reg[r] = ram[b1]; break;
        case 0x4: ram[b1] = reg[r]; break;
        case 0x8: reg[r] = io[b1 & 15]; break;
        case 0xC: io[b1 & 15] = reg[r] & 0x0F; break;
        }
        break;
    case 0x60:
        switch (op & 0x0C) {
        case 0x0:
            reg[r] = static_cast<uint8_t>(table[b1] & 0xFF);
            reg[(r + 1) & 3] = static_cast<uint8_t>(table[b1] >> 8);
            break;
        case 0x4:
            carry = reg[r] < b1;
            zero = reg[r] == b1;
            break;
        case 0x8: reg[r] = static_cast<uint8_t>(reg[r] + 1); setZ(reg[r]); break;
        case 0xC: reg[r] = static_cast<uint8_t>(reg[r] - 1); setZ(reg[r]); break;
        }
        break;
    default:
        return STEP_BAD_OPCODE;
    }
    pc = next;
    return STEP_OK;
}

int Cpu::Run(int maxSteps)
{
    int steps = 0;
    while (steps < maxSteps) {
        StepResult result = Step();
        if (result != STEP_OK)
            break;
        ++steps;
    }
    return steps;
}

// ---------------------------------------------------------------------------------------------
// Assembler

namespace {

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return std::string();
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

bool IsIdentStart(char c)
{
    return isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '.';
}

bool IsIdentChar(char c)
{
    return isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.';
}

int RegisterIndex(const std::string& text)
{
    std::string u = Upper(Trim(text));
    for (int i = 0; i < 4; ++i)
        if (u == kRegNames[i])
            return i;
    return -1;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsAbsolute(const std::string& path)
{
    return (path.size() > 1 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

// Text between double quotes, or the trimmed text itself.
std::string Unquote(const std::string& text)
{
    std::string t = Trim(text);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"')
        return t.substr(1, t.size() - 2);
    return t;
}

// Splits at commas outside quotes.
std::vector<std::string> SplitOperands(const std::string& text)
{
    std::vector<std::string> out;
    std::string cur;
    bool quote = false;
    for (char c : text) {
        if (c == '"' || c == '\'')
            quote = !quote;
        if (c == ',' && !quote) {
            out.push_back(Trim(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!Trim(cur).empty() || !out.empty())
        out.push_back(Trim(cur));
    return out;
}

struct Statement {
    std::string file;
    int line = 0;
    std::string source;
    std::string label;
    std::string mnemonic;   // upper case; empty for a line without code or directive
    std::vector<std::string> operands;
    uint32_t address = 0;
    int size = 0;
    const OpInfo* op = nullptr;
    bool skip = false;      // already reported in pass 1
};

struct SymbolEntry {
    Symbol symbol;
    bool isLabel = false;
    bool used = false;
    std::string file;
    int line = 0;
    int equation = -1;
};

class Pass {
public:
    Pass(Assembler& owner, AssemblyResult& result) : m_owner(owner), m_result(result) {}

    bool Stopped()
    {
        if (m_result.stopped)
            return true;
        if (m_owner.shouldStop && (++m_poll % 32) == 0 && m_owner.shouldStop())
            m_result.stopped = true;
        return m_result.stopped;
    }

    void Message(int kind, const std::string& file, int line, const std::string& text)
    {
        if (kind == MSG_ERROR)
            ++m_result.errors;
        else
            ++m_result.warnings;
        // Counted but not kept beyond the cap: a hostile source cannot fill memory with messages.
        if (m_result.messages.size() >= kMaxMessages) {
            ++m_result.messagesLeftOut;
            return;
        }
        toy::Message m;
        m.kind = kind;
        m.file = file;
        m.line = line;
        m.text = text;
        m_result.messages.push_back(m);
    }

    bool ReadSource(const std::string& path, std::string& text)
    {
        if (m_owner.readFile)
            return m_owner.readFile(path, text);
        return ReadWholeFile(path, text);
    }

    // Pass 1: statements, addresses and symbols, following includes.
    void ReadFile(const std::string& path, int depth)
    {
        std::string text;
        if (!ReadSource(path, text))
            return;
        m_open.push_back(Upper(path));
        size_t pos = 0;
        int lineNo = 0;
        while (pos < text.size() && !Stopped() && !m_tooLarge) {
            size_t end = text.find('\n', pos);
            if (end == std::string::npos)
                end = text.size();
            std::string raw = text.substr(pos, end - pos);
            pos = end + 1;
            ++lineNo;
            if (!raw.empty() && raw.back() == '\r')
                raw.pop_back();
            // The whole source with its includes is bounded, whatever the includes multiply to.
            m_expandedBytes += raw.size() + 1;
            if (++m_expandedLines > kMaxSourceLines || m_expandedBytes > kMaxSourceBytes) {
                m_tooLarge = true;
                Message(MSG_ERROR, path, lineNo,
                        "source too large with its includes (over " + std::to_string(kMaxSourceLines) + " lines or " +
                            std::to_string(kMaxSourceBytes / (1024 * 1024)) + " MB)");
                break;
            }
            ParseLine(path, lineNo, raw, depth);
        }
        m_open.pop_back();
    }

    void ParseLine(const std::string& path, int lineNo, const std::string& raw, int depth)
    {
        Statement st;
        st.file = path;
        st.line = lineNo;
        st.address = m_address;
        if (raw.size() > kMaxLineLength) {
            st.source = raw.substr(0, kMaxLineLength);
            st.skip = true;
            m_statements.push_back(st);
            Message(MSG_ERROR, path, lineNo, "line longer than 255 characters");
            return;
        }
        st.source = raw;
        // Comment: from a ';' outside quotes.
        std::string code;
        bool quote = false;
        for (char c : raw) {
            if (c == '"' || c == '\'')
                quote = !quote;
            if (c == ';' && !quote)
                break;
            code += c;
        }
        code = Trim(code);
        // Label.
        size_t i = 0;
        if (!code.empty() && IsIdentStart(code[0]) && code[0] != '.') {
            while (i < code.size() && IsIdentChar(code[i]))
                ++i;
            if (i < code.size() && code[i] == ':') {
                st.label = code.substr(0, i);
                code = Trim(code.substr(i + 1));
            }
        }
        if (!code.empty()) {
            size_t sp = code.find_first_of(" \t");
            st.mnemonic = Upper(code.substr(0, sp));
            if (sp != std::string::npos)
                st.operands = SplitOperands(code.substr(sp + 1));
        }
        if (!st.label.empty())
            DefineSymbol(st.label, SPACE_CODE, m_address, true, path, lineNo);
        m_statements.push_back(st);
        Statement& s = m_statements.back();
        if (s.mnemonic.empty())
            return;
        if (s.mnemonic[0] == '.') {
            Directive(s, depth);
            return;
        }
        s.op = FindOpByName(s.mnemonic);
        if (!s.op) {
            Message(MSG_ERROR, path, lineNo, "unknown mnemonic '" + s.mnemonic + "'");
            s.skip = true;
            return;
        }
        s.size = s.op->length;
        m_address += static_cast<uint32_t>(s.size);
    }

    void Directive(Statement& s, int depth)
    {
        const std::string& m = s.mnemonic;
        if (m == ".INCLUDE" || m == ".EMBED") {
            if (s.operands.size() != 1 || Unquote(s.operands[0]).empty()) {
                Message(MSG_ERROR, s.file, s.line, m == ".INCLUDE" ? "include needs one file name" : "embed needs one file name");
                s.skip = true;
                return;
            }
            std::string name = Unquote(s.operands[0]);
            std::string full = IsAbsolute(name) ? name : FolderOf(s.file) + name;
            if (m == ".EMBED") {
                Reference ref{s.file, s.line};
                for (Embedded& e : m_result.embedded)
                    if (Upper(e.path) == Upper(full)) {
                        e.references.push_back(ref);
                        return;
                    }
                Embedded e;
                e.path = full;
                e.references.push_back(ref);
                m_result.embedded.push_back(e);
                return;
            }
            for (const std::string& open : m_open)
                if (open == Upper(full)) {
                    Message(MSG_ERROR, s.file, s.line, "recursive include '" + name + "'");
                    return;
                }
            if (depth >= 8) {
                Message(MSG_ERROR, s.file, s.line, "includes nested too deeply");
                return;
            }
            std::string text;
            if (!ReadSource(full, text)) {
                Message(MSG_ERROR, s.file, s.line, "cannot read include file '" + name + "'");
                return;
            }
            bool known = false;
            for (const std::string& inc : m_result.includes)
                known = known || Upper(inc) == Upper(full);
            if (!known)
                m_result.includes.push_back(full);
            ReadFile(full, depth + 1);
            return;
        }
        if (m == ".ORG") {
            long v = 0;
            if (s.operands.size() != 1 || !EvaluateNow(s.operands[0], v) || v < 0 || v >= static_cast<long>(kCodeSize)) {
                Message(MSG_ERROR, s.file, s.line, "bad address for .org");
                return;
            }
            m_address = static_cast<uint32_t>(v);
            s.address = m_address;
            return;
        }
        if (m == ".EQU") {
            long v = 0;
            if (s.operands.size() != 2 || !IsName(s.operands[0]) || !EvaluateNow(s.operands[1], v)) {
                Message(MSG_ERROR, s.file, s.line, "bad .equ");
                return;
            }
            DefineSymbol(s.operands[0], SPACE_CODE, static_cast<uint32_t>(v), false, s.file, s.line);
            return;
        }
        if (m == ".EQUATION") {
            if (s.operands.size() != 2 || !IsName(s.operands[0]) || Unquote(s.operands[1]).empty()) {
                Message(MSG_ERROR, s.file, s.line, "bad .equation");
                return;
            }
            Equation eq;
            eq.name = s.operands[0];
            eq.audioFile = Unquote(s.operands[1]);
            m_result.equations.push_back(eq);
            int index = static_cast<int>(m_result.equations.size()) - 1;
            if (DefineSymbol(eq.name, SPACE_CODE, static_cast<uint32_t>(index), false, s.file, s.line))
                m_symbols[Upper(eq.name)].equation = index;
            return;
        }
        if (m == ".DB") {
            s.size = static_cast<int>(s.operands.size());
            m_address += static_cast<uint32_t>(s.size);
            return;
        }
        if (m == ".DATA" || m == ".TABLE") {
            if (s.operands.size() < 2)
                Message(MSG_ERROR, s.file, s.line, m == ".DATA" ? "bad .data" : "bad .table");
            return;
        }
        Message(MSG_ERROR, s.file, s.line, "unknown directive '" + m + "'");
        s.skip = true;
    }

    static bool IsName(const std::string& text)
    {
        std::string t = Trim(text);
        if (t.empty() || !IsIdentStart(t[0]) || RegisterIndex(t) >= 0)
            return false;
        for (char c : t)
            if (!IsIdentChar(c))
                return false;
        return true;
    }

    bool DefineSymbol(const std::string& name, int space, uint32_t value, bool isLabel, const std::string& file, int line)
    {
        std::string key = Upper(name);
        if (m_symbols.count(key)) {
            Message(MSG_ERROR, file, line, "symbol '" + name + "' defined twice");
            return false;
        }
        SymbolEntry e;
        e.symbol.name = name;
        e.symbol.space = space;
        e.symbol.value = value;
        e.isLabel = isLabel;
        e.file = file;
        e.line = line;
        m_symbols[key] = e;
        m_order.push_back(key);
        return true;
    }

    // A value in pass 1: numbers and symbols defined so far.
    bool EvaluateNow(const std::string& text, long& value)
    {
        std::string undefined;
        return Evaluate(text, value, undefined, nullptr) && undefined.empty();
    }

    // term (('+'|'-') term)*; a term is a number, 'c' or a symbol. Uses are counted when a
    // statement is given (pass 2). undefined gets the first unknown name.
    bool Evaluate(const std::string& input, long& value, std::string& undefined, const Statement* st)
    {
        std::string text = Trim(input);
        value = 0;
        size_t i = 0;
        int sign = 1;
        bool any = false;
        while (i < text.size()) {
            while (i < text.size() && isspace(static_cast<unsigned char>(text[i])))
                ++i;
            if (i >= text.size())
                return false;
            long term = 0;
            char c = text[i];
            if (c == '\'') {
                if (i + 2 >= text.size() || text[i + 2] != '\'')
                    return false;
                term = static_cast<unsigned char>(text[i + 1]);
                i += 3;
            } else if (isdigit(static_cast<unsigned char>(c)) || c == '$') {
                int base = 10;
                if (c == '$') {
                    base = 16;
                    ++i;
                } else if (c == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
                    base = 16;
                    i += 2;
                }
                size_t start = i;
                while (i < text.size() && isxdigit(static_cast<unsigned char>(text[i]))) {
                    int d = isdigit(static_cast<unsigned char>(text[i])) ? text[i] - '0'
                                                                        : toupper(static_cast<unsigned char>(text[i])) - 'A' + 10;
                    if (d >= base)
                        return false;
                    term = term * base + d;
                    if (term > 0xFFFFFF)
                        return false;
                    ++i;
                }
                if (i == start)
                    return false;
            } else if (IsIdentStart(c)) {
                size_t start = i;
                while (i < text.size() && IsIdentChar(text[i]))
                    ++i;
                std::string name = text.substr(start, i - start);
                auto it = m_symbols.find(Upper(name));
                if (it == m_symbols.end()) {
                    if (undefined.empty())
                        undefined = name;
                } else {
                    term = static_cast<long>(it->second.symbol.value);
                    if (st) {
                        it->second.used = true;
                        if (it->second.equation >= 0)
                            m_result.equations[it->second.equation].references.push_back(Reference{st->file, st->line});
                    }
                }
            } else {
                return false;
            }
            value += sign * term;
            any = true;
            while (i < text.size() && isspace(static_cast<unsigned char>(text[i])))
                ++i;
            if (i >= text.size())
                break;
            if (text[i] == '+')
                sign = 1;
            else if (text[i] == '-')
                sign = -1;
            else
                return false;
            ++i;
        }
        return any;
    }

    // A value in pass 2: reports bad and undefined operands. FALSE after a report.
    bool Operand(const Statement& st, const std::string& text, long low, long high, long& value)
    {
        std::string undefined;
        if (!Evaluate(text, value, undefined, &st)) {
            Message(MSG_ERROR, st.file, st.line, "bad operand '" + Trim(text) + "'");
            return false;
        }
        if (!undefined.empty()) {
            Message(MSG_ERROR, st.file, st.line, "undefined label '" + undefined + "'");
            return false;
        }
        if (value < low || value > high) {
            Message(MSG_ERROR, st.file, st.line, "value out of range '" + Trim(text) + "'");
            return false;
        }
        return true;
    }

    bool Register(const Statement& st, const std::string& text, int& r)
    {
        r = RegisterIndex(text);
        if (r < 0)
            Message(MSG_ERROR, st.file, st.line, "register expected, found '" + Trim(text) + "'");
        return r >= 0;
    }

    bool Memory(const Statement& st, const std::string& text, long& value)
    {
        std::string t = Trim(text);
        if (t.size() < 2 || t.front() != '[' || t.back() != ']') {
            Message(MSG_ERROR, st.file, st.line, "memory operand expected, found '" + t + "'");
            return false;
        }
        return Operand(st, t.substr(1, t.size() - 2), 0, 255, value);
    }

    bool Count(const Statement& st, size_t n)
    {
        if (st.operands.size() == n)
            return true;
        Message(MSG_ERROR, st.file, st.line, "'" + st.mnemonic + "' takes " + std::to_string(n) + " operand(s)");
        return false;
    }

    // Pass 2: bytes of one statement.
    void Encode(const Statement& st, std::vector<uint8_t>& out)
    {
        if (st.skip)
            return;
        if (st.mnemonic == ".DB") {
            for (const std::string& o : st.operands) {
                long v = 0;
                out.push_back(Operand(st, o, -128, 255, v) ? static_cast<uint8_t>(v) : 0);
            }
            return;
        }
        if (st.mnemonic == ".DATA" || st.mnemonic == ".TABLE") {
            bool table = st.mnemonic == ".TABLE";
            if (st.operands.size() < 2)
                return;
            long start = 0;
            if (!Operand(st, st.operands[0], 0, table ? kTableSize - 1 : kRamSize - 1, start))
                return;
            Segment seg;
            seg.space = table ? SPACE_TABLE : SPACE_RAM;
            seg.address = static_cast<uint32_t>(start);
            for (size_t i = 1; i < st.operands.size(); ++i) {
                long v = 0;
                if (!Operand(st, st.operands[i], table ? -32768 : -128, table ? 65535 : 255, v))
                    v = 0;
                seg.bytes.push_back(static_cast<uint8_t>(v & 0xFF));
                if (table)
                    seg.bytes.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
            }
            m_result.segments.push_back(seg);
            return;
        }
        if (!st.op)
            return;
        const OpInfo& op = *st.op;
        int r = 0, s = 0;
        long v = 0;
        switch (op.form) {
        case OpInfo::NONE:
            if (Count(st, 0))
                out.push_back(op.base);
            break;
        case OpInfo::ADDR:
            if (Count(st, 1) && Operand(st, st.operands[0], 0, kCodeSize - 1, v)) {
                out.push_back(op.base);
                out.push_back(static_cast<uint8_t>(v & 0xFF));
                out.push_back(static_cast<uint8_t>(v >> 8));
            }
            break;
        case OpInfo::REG_IMM:
            if (Count(st, 2) && Register(st, st.operands[0], r) && Operand(st, st.operands[1], -128, 255, v)) {
                out.push_back(static_cast<uint8_t>(op.base + r));
                out.push_back(static_cast<uint8_t>(v));
            }
            break;
        case OpInfo::REG_REG:
            if (Count(st, 2) && Register(st, st.operands[0], s) && Register(st, st.operands[1], r))
                out.push_back(static_cast<uint8_t>(op.base + 4 * s + r));
            break;
        case OpInfo::REG_MEM:
            if (Count(st, 2) && Register(st, st.operands[0], r) && Memory(st, st.operands[1], v)) {
                out.push_back(static_cast<uint8_t>(op.base + r));
                out.push_back(static_cast<uint8_t>(v));
            }
            break;
        case OpInfo::MEM_REG:
            if (Count(st, 2) && Memory(st, st.operands[0], v) && Register(st, st.operands[1], r)) {
                out.push_back(static_cast<uint8_t>(op.base + r));
                out.push_back(static_cast<uint8_t>(v));
            }
            break;
        case OpInfo::REG_PORT:
            if (Count(st, 2) && Register(st, st.operands[0], r) && Operand(st, st.operands[1], 0, 15, v)) {
                out.push_back(static_cast<uint8_t>(op.base + r));
                out.push_back(static_cast<uint8_t>(v));
            }
            break;
        case OpInfo::PORT_REG:
            if (Count(st, 2) && Operand(st, st.operands[0], 0, 15, v) && Register(st, st.operands[1], r)) {
                out.push_back(static_cast<uint8_t>(op.base + r));
                out.push_back(static_cast<uint8_t>(v));
            }
            break;
        case OpInfo::REG:
            if (Count(st, 1) && Register(st, st.operands[0], r))
                out.push_back(static_cast<uint8_t>(op.base + r));
            break;
        }
    }

    void SecondPass()
    {
        Segment* code = nullptr;
        std::vector<Segment> codeSegments;
        uint32_t codeEnd = 0;
        for (Statement& st : m_statements) {
            if (Stopped())
                return;
            std::vector<uint8_t> bytes;
            Encode(st, bytes);
            // An instruction with a bad operand still takes its room, so later addresses hold.
            if (st.size > 0 && static_cast<int>(bytes.size()) < st.size && !st.skip)
                bytes.resize(static_cast<size_t>(st.size), 0);
            ListingLine ll;
            ll.source = st.source;
            ll.address = st.address;
            ll.hasCode = !bytes.empty();
            ll.bytes = bytes;
            m_result.listing.push_back(ll);
            if (bytes.empty())
                continue;
            if (!code || st.address != codeEnd) {
                Segment seg;
                seg.space = SPACE_CODE;
                seg.address = st.address;
                codeSegments.push_back(seg);
                code = &codeSegments.back();
            }
            code->bytes.insert(code->bytes.end(), bytes.begin(), bytes.end());
            codeEnd = st.address + static_cast<uint32_t>(bytes.size());
            m_result.lines.push_back(LineAddress{st.file, st.line, st.address});
        }
        m_result.segments.insert(m_result.segments.begin(), codeSegments.begin(), codeSegments.end());
        for (const std::string& key : m_order) {
            const SymbolEntry& e = m_symbols[key];
            m_result.symbols.push_back(e.symbol);
            if (e.isLabel && !e.used)
                Message(MSG_WARNING, e.file, e.line, "label '" + e.symbol.name + "' is never used");
        }
    }

    std::vector<Statement> m_statements;

private:
    Assembler& m_owner;
    AssemblyResult& m_result;
    std::map<std::string, SymbolEntry> m_symbols;
    std::vector<std::string> m_order;
    uint32_t m_address = 0;
    unsigned m_poll = 0;
    std::vector<std::string> m_open;   // files being read, outermost first (upper case)
    size_t m_expandedLines = 0;
    size_t m_expandedBytes = 0;
    bool m_tooLarge = false;
};

} // namespace

AssemblyResult Assembler::Assemble(const std::string& path)
{
    AssemblyResult result;
    Pass pass(*this, result);
    std::string text;
    if (!pass.ReadSource(path, text)) {
        pass.Message(MSG_ERROR, path, 0, "cannot read source file");
        return result;
    }
    pass.ReadFile(path, 0);
    if (!result.stopped)
        pass.SecondPass();
    return result;
}

// ---------------------------------------------------------------------------------------------
// Files

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    bytes = ss.str();
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

namespace {

const char kObjectMagic[4] = {'V', 'T', 'O', 'B'};
const size_t kPartField = 32;

void Put16(std::string& s, uint32_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& s, uint32_t v)
{
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

uint32_t Get16(const std::string& s, size_t at)
{
    return static_cast<uint8_t>(s[at]) | (static_cast<uint8_t>(s[at + 1]) << 8);
}

uint32_t Get32(const std::string& s, size_t at)
{
    return Get16(s, at) | (Get16(s, at + 2) << 16);
}

} // namespace

bool WriteObjectFile(const std::string& path, const ObjectFile& object)
{
    std::string s(kObjectMagic, 4);
    Put16(s, 1);
    Put16(s, static_cast<uint32_t>(object.segments.size()));
    std::string part = object.partNumber.substr(0, kPartField - 1);
    part.resize(kPartField, '\0');
    s += part;
    for (const Segment& seg : object.segments) {
        s += static_cast<char>(seg.space);
        s += std::string(3, '\0');
        Put32(s, seg.address);
        Put32(s, static_cast<uint32_t>(seg.bytes.size()));
        s.append(reinterpret_cast<const char*>(seg.bytes.data()), seg.bytes.size());
    }
    return WriteWholeFile(path, s);
}

bool ReadObjectFile(const std::string& path, ObjectFile& object)
{
    std::string s;
    const size_t header = 8 + kPartField;
    if (!ReadWholeFile(path, s) || s.size() < header || s.compare(0, 4, kObjectMagic, 4) != 0 || Get16(s, 4) != 1)
        return false;
    ObjectFile result;
    result.partNumber = std::string(s.c_str() + 8, strnlen(s.c_str() + 8, kPartField));
    size_t at = header;
    for (uint32_t n = Get16(s, 6); n > 0; --n) {
        if (s.size() - at < 12)
            return false;
        Segment seg;
        seg.space = static_cast<uint8_t>(s[at]);
        seg.address = Get32(s, at + 4);
        uint32_t length = Get32(s, at + 8);
        at += 12;
        if (seg.space > SPACE_TABLE || length > s.size() - at)
            return false;
        seg.bytes.assign(s.begin() + static_cast<std::ptrdiff_t>(at), s.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
        result.segments.push_back(seg);
    }
    object = result;
    return true;
}

bool WriteMapFile(const std::string& path, const AssemblyResult& result)
{
    std::vector<std::string> files;
    auto fileIndex = [&files](const std::string& f) {
        for (size_t i = 0; i < files.size(); ++i)
            if (files[i] == f)
                return i;
        files.push_back(f);
        return files.size() - 1;
    };
    std::string body;
    char line[512];
    for (const LineAddress& la : result.lines) {
        size_t index = fileIndex(la.file);
        snprintf(line, sizeof(line), "LINE %u %d %04X\r\n", static_cast<unsigned>(index), la.line,
                 static_cast<unsigned>(la.address));
        body += line;
    }
    for (const Symbol& sym : result.symbols) {
        snprintf(line, sizeof(line), "SYM %s %d %04X\r\n", sym.name.c_str(), sym.space, static_cast<unsigned>(sym.value));
        body += line;
    }
    std::string head = "VTMAP 1\r\n";
    for (size_t i = 0; i < files.size(); ++i)
        head += "FILE " + std::to_string(i) + " " + files[i] + "\r\n";
    return WriteWholeFile(path, head + body);
}

bool ReadMapFile(const std::string& path, MapFile& map)
{
    std::string text;
    if (!ReadWholeFile(path, text) || text.compare(0, 7, "VTMAP 1") != 0)
        return false;
    std::istringstream in(text);
    std::string line;
    std::vector<std::string> files;
    MapFile result;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream ls(line);
        std::string kind;
        ls >> kind;
        if (kind == "FILE") {
            size_t index = 0;
            ls >> index;
            std::string rest;
            std::getline(ls, rest);
            if (index != files.size())
                return false;
            files.push_back(Trim(rest));
        } else if (kind == "LINE") {
            size_t index = 0;
            LineAddress la;
            ls >> index >> la.line >> std::hex >> la.address;
            if (!ls || index >= files.size())
                return false;
            la.file = files[index];
            result.lines.push_back(la);
        } else if (kind == "SYM") {
            Symbol sym;
            ls >> sym.name >> sym.space >> std::hex >> sym.value;
            if (!ls)
                return false;
            result.symbols.push_back(sym);
        }
    }
    map = result;
    return true;
}

std::string FormatListingLine(const ListingLine& line)
{
    if (!line.hasCode)
        return std::string(24, ' ') + line.source;
    char head[32];
    snprintf(head, sizeof(head), "%02X:%04X", static_cast<unsigned>((line.address >> 16) & 0xFF),
             static_cast<unsigned>(line.address & 0xFFFF));
    std::string text = head;
    text.resize(15, ' ');
    std::string bytes;
    for (size_t i = 0; i < line.bytes.size() && i < 4; ++i) {
        char b[4];
        snprintf(b, sizeof(b), "%02X", line.bytes[i]);
        bytes += b;
    }
    text += bytes;
    text.resize(24, ' ');
    return text + line.source;
}

bool WriteListingFile(const std::string& path, const AssemblyResult& result)
{
    std::string text;
    for (const ListingLine& l : result.listing)
        text += FormatListingLine(l) + "\r\n";
    return WriteWholeFile(path, text);
}

} // namespace toy
