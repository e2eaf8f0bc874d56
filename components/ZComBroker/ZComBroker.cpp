// Stand-in emulator broker: every emulator it makes is a simulated board that runs the toy CPU
// on the object and map files of a build. Configuration: "ZComSim.ini" in the program folder
// given to Init ([Parts], [Ports], [Switches], [Members], [Trace]).
#include "components/include/IceInterface.h"
#include "components/ToyTarget/ToyTarget.h"
#include "components/ZComBroker/resource.h"
#include "components/StandinTrace.h"
#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

HINSTANCE g_module = nullptr;
const DWORD kBrokerVersion = 0x00010002;
const int kHistorySize = 64;
const size_t kPartLines = 8;   // listing lines per part of the program

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(tolower(c)); });
    return s;
}

std::string Str(const char* s)
{
    return s ? s : "(null)";
}

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return "";
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

std::string Hex2(const uint8_t* p, size_t n)
{
    std::string out;
    char b[4];
    for (size_t i = 0; i < n; ++i) {
        snprintf(b, sizeof(b), "%02X", p[i]);
        out += b;
    }
    return out;
}

// Whether size bytes from p lie in committed, readable memory.
bool Readable(const void* p, size_t size)
{
    const char* at = static_cast<const char*>(p);
    const char* end = at + size;
    while (at < end) {
        MEMORY_BASIC_INFORMATION info;
        if (!VirtualQuery(at, &info, sizeof(info)) || info.State != MEM_COMMIT ||
            (info.Protect & (PAGE_NOACCESS | PAGE_GUARD)) || !(info.Protect & (PAGE_READONLY | PAGE_READWRITE |
            PAGE_WRITECOPY | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)))
            return false;
        at = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    }
    return true;
}

std::string Address(uint32_t a)
{
    char b[16];
    snprintf(b, sizeof(b), "%02X:%04X", static_cast<unsigned>((a >> 16) & 0xFF), static_cast<unsigned>(a & 0xFFFF));
    return b;
}

void CopyText(char* dst, size_t size, const std::string& src)
{
    if (!dst || size == 0)
        return;
    size_t n = std::min(size - 1, src.size());
    memcpy(dst, src.data(), n);
    dst[n] = 0;
}

struct Config {
    std::string folder;
    std::string file;
    std::map<std::string, DWORD> parts;   // lower-case part number -> capabilities
    std::set<std::string> failingPorts;
    bool writeDsr = false;
    int writeDelay = 50;   // ms before the end of a write is posted
    int refuseSlot = -1;
    int actions = 2;           // actions past the two named ones have plain names
    DWORD clearStatus = 0;     // status bits never reported
    std::string trace;

    std::string Value(const char* section, const char* key, const char* def = "") const
    {
        char buf[1024] = {0};
        GetPrivateProfileStringA(section, key, def, buf, sizeof(buf), file.c_str());
        return buf;
    }
    std::vector<std::string> Keys(const char* section) const
    {
        std::vector<char> buf(8192, 0);
        GetPrivateProfileStringA(section, nullptr, "", buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
        std::vector<std::string> keys;
        for (const char* p = buf.data(); *p; p += strlen(p) + 1)
            keys.push_back(p);
        return keys;
    }
    void Read(const std::string& programFolder)
    {
        folder = programFolder;
        if (!folder.empty() && folder.back() != '\\')
            folder += '\\';
        file = folder + "ZComSim.ini";
        for (const std::string& k : Keys("Parts"))
            parts[Lower(k)] = strtoul(Value("Parts", k.c_str()).c_str(), nullptr, 0);
        std::string ports = Value("Ports", "Fail");
        size_t start = 0;
        while (start <= ports.size()) {
            size_t comma = ports.find(',', start);
            std::string p = Lower(Trim(ports.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
            if (!p.empty())
                failingPorts.insert(p);
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
        writeDsr = GetPrivateProfileIntA("Switches", "WriteDsr", 0, file.c_str()) != 0;
        writeDelay = GetPrivateProfileIntA("Switches", "SlowWrite", 0, file.c_str()) ? 1500 : 50;
        refuseSlot = GetPrivateProfileIntA("Switches", "RefuseSlot", -1, file.c_str());
        actions = (int)GetPrivateProfileIntA("Switches", "Actions", 2, file.c_str());
        if (actions < 0)
            actions = 0;
        clearStatus = strtoul(Value("Switches", "ClearStatus", "0").c_str(), nullptr, 0);
        if (GetPrivateProfileIntA("Trace", "Enable", 0, file.c_str())) {
            trace = Value("Trace", "File", "ZComTrace.log");
            if (trace.find(':') == std::string::npos)
                trace = folder + trace;
        }
    }
};

CRITICAL_SECTION g_traceLock;

void TraceLine(const std::string& file, const char* format, ...) __attribute__((format(printf, 2, 3)));
void TraceLine(const std::string& file, const char* format, ...)
{
    if (file.empty())
        return;
    char buf[2048];
    va_list args;
    va_start(args, format);
    vsnprintf(buf, sizeof(buf), format, args);
    va_end(args);
    EnterCriticalSection(&g_traceLock);
    standin::AppendLine(file, buf);
    LeaveCriticalSection(&g_traceLock);
}

// ---------------------------------------------------------------------------------------------
// Debug pages and items.

class Board;

class Item;
class ChildList : public I_IceChildList {
public:
    std::vector<Item*> children;
    size_t next = 0;
    void Reserved0() override {}
    int Start() override { next = 0; return 0; }
    void Reserved2() override {}
    I_IceDebugItem* GetNext() override;
    void Reserved4() override {}
    I_IceDebugItem* GetAt(int index) override;
};

class Block : public I_IceMemoryBlock {
public:
    DWORD space = 0, address = 0, length = 0;
    uint8_t* data = nullptr;
    void Reserved0() override {}
    DWORD GetSpace() override { return space; }
    DWORD GetAddress() override { return address; }
    DWORD GetLength() override { return length; }
    void Reserved4() override {}
    void Reserved5() override {}
    void* GetData() override { return data; }
};

// One row of a page: a register, a memory block, an option, a stack entry or a watch expression.
class Item : public I_IceDebugItem, public I_IceValueSetter {
public:
    Board* board = nullptr;
    std::string name;
    int kind = ICE_KIND_BYTES;
    int width = 1;
    int access = ICE_ACCESS_WRITABLE;
    int format = ICE_FORMAT_HEX;
    DWORD handle = ICE_NO_HANDLE;
    bool hidden = false;
    // Where the value lives: a register (0-3), PC (4), SP (5), or a memory cell.
    int reg = -1;
    int shift = -1;   // a register's 4-bit half: its shift
    int space = -1;
    uint32_t address = 0;
    DWORD optionValue = 0;
    bool option = false;
    Block block;
    ChildList children;
    std::vector<std::unique_ptr<Item>> owned;

    I_IceMemoryBlock* GetMemoryBlock() override { return space >= 0 ? &block : nullptr; }
    void Reserved1() override {}
    DWORD GetHandle() override { return handle; }
    int GetName(char* buffer) override { CopyText(buffer, ICE_ITEM_NAME_SIZE, name); return 0; }
    void Reserved4() override {}
    int GetKind() override { return kind; }
    void Reserved6() override {}
    int GetWidth() override { return width; }
    int GetAccess() override { return access; }
    DWORD GetValue() override;
    void Reserved10() override {}
    void Reserved11() override {}
    void Reserved12() override {}
    void Reserved13() override {}
    int IsShown() override { return hidden ? 0 : 1; }
    void Reserved15() override {}
    void Reserved16() override {}
    int GetObject(int what, void** object) override
    {
        if (!object)
            return 0;
        if (what == ICE_ITEM_CHILDREN && !children.children.empty()) {
            *object = static_cast<I_IceChildList*>(&children);
            return 1;
        }
        if (what == ICE_ITEM_SETTER && (access & ICE_ACCESS_WRITABLE) && access != ICE_ACCESS_NO_VALUE) {
            *object = static_cast<I_IceValueSetter*>(this);
            return 1;
        }
        return 0;
    }
    void Reserved18() override {}
    void Reserved19() override {}
    int SetFormat(int f) override
    {
        if (f < ICE_FORMAT_HEX || f > ICE_FORMAT_BIN)
            return -1;
        format = f;
        return 0;
    }
    int GetFormat() override { return format; }
    void Reserved22() override {}
    int GetDisplayName(char* buffer) override { CopyText(buffer, ICE_ITEM_NAME_SIZE, ""); return 0; }
    int SetValue(DWORD value) override;

    Item* AddChild(const std::string& childName)
    {
        owned.emplace_back(new Item);
        Item* c = owned.back().get();
        c->board = board;
        c->name = childName;
        children.children.push_back(c);
        return c;
    }
};

I_IceDebugItem* ChildList::GetNext()
{
    return next < children.size() ? children[next++] : nullptr;
}

I_IceDebugItem* ChildList::GetAt(int index)
{
    return index >= 0 && static_cast<size_t>(index) < children.size() ? children[static_cast<size_t>(index)] : nullptr;
}

class Page : public I_IceDebugPage {
public:
    Board* board = nullptr;
    std::string name;
    int type = ICE_PAGE_MEMORY;
    std::vector<std::unique_ptr<Item>> items;
    std::vector<uint8_t> buffer = std::vector<uint8_t>(512, 0);
    bool hideInSubroutine = false;

    // Positions are index + 1, so 0 is the end.
    int GetItemCount() override { return static_cast<int>(items.size()); }
    void* GetFirstPosition() override { return items.empty() ? nullptr : reinterpret_cast<void*>(1); }
    void* GetPositionOf(int index) override
    {
        return index >= 0 && static_cast<size_t>(index) < items.size() ? reinterpret_cast<void*>(static_cast<INT_PTR>(index) + 1)
                                                                       : nullptr;
    }
    I_IceDebugItem* GetNext(void** position) override
    {
        I_IceDebugItem* item = GetAt(position);
        if (item) {
            INT_PTR p = reinterpret_cast<INT_PTR>(*position);
            *position = static_cast<size_t>(p) < items.size() ? reinterpret_cast<void*>(p + 1) : nullptr;
        }
        return item;
    }
    I_IceDebugItem* GetAt(void** position) override
    {
        if (!position || !*position)
            return nullptr;
        INT_PTR p = reinterpret_cast<INT_PTR>(*position);
        return p >= 1 && static_cast<size_t>(p) <= items.size() ? items[static_cast<size_t>(p - 1)].get() : nullptr;
    }
    int GetType() override { return type; }
    int GetName(char* out) override { CopyText(out, ICE_PAGE_NAME_MAX + 1, name); return 0; }
    void* GetBuffer() override { return buffer.data(); }
    void Reserved8() override {}
    int IsShown() override;

    Item* Add(const std::string& itemName)
    {
        items.emplace_back(new Item);
        Item* i = items.back().get();
        i->board = board;
        i->name = itemName;
        return i;
    }
};

// ---------------------------------------------------------------------------------------------
// The board.

struct Breakpoint {
    std::string file;   // lower-case source path; empty when set from the listing
    int line = 0;
    uint32_t address = 0;
    bool enabled = true;
};

struct Frame {
    uint32_t callSite = 0;
    uint32_t target = 0;
    uint8_t sp = 0;
};

struct Entry {   // one line of the program, in address order
    uint32_t address = 0;
    uint32_t length = 0;
    std::string file;
    int line = 0;
    std::string source;
    bool data = false;
};

struct WatchNode {
    std::string name;
    int space = toy::SPACE_RAM;
    uint32_t address = 0;
    uint32_t value = 0;
    bool memory = false;
    std::vector<std::unique_ptr<WatchNode>> members;
    std::string valueText, addressText;
};

enum RunMode { RUN_FREE, RUN_TO, RUN_STEP_INTO, RUN_STEP_OVER, RUN_STEP_OUT };

class Board final : public I_IceDevice,
              public I_IceDebugTarget,
              public I_IceDebugPageList,
              public I_IceBreakpointList,
              public I_IceActionTable,
              public I_IceWatch,
              public I_IceCallStack,
              public I_IceDisAsm {
public:
    Board(const Config& config, const std::string& part, DWORD caps) : m_config(config), m_part(part), m_caps(caps)
    {
        InitializeCriticalSection(&m_lock);
        BuildPages();
    }
    ~Board()
    {
        Stop();
        if (m_worker) {
            WaitForSingleObject(m_worker, INFINITE);
            CloseHandle(m_worker);
        }
        if (m_writer) {
            WaitForSingleObject(m_writer, INFINITE);
            CloseHandle(m_writer);
        }
        if (m_historyText)
            GlobalFree(m_historyText);
        DeleteCriticalSection(&m_lock);
    }

    // Refused on request of the configuration (a test switch): the slot fails with -1.
    bool Refused(int slot)
    {
        if (m_config.refuseSlot != slot)
            return false;
        Trace("refused slot %d", slot);
        return true;
    }
    void Trace(const char* format, ...) __attribute__((format(printf, 2, 3)))
    {
        if (m_config.trace.empty())
            return;
        char buf[1800];
        va_list args;
        va_start(args, format);
        vsnprintf(buf, sizeof(buf), format, args);
        va_end(args);
        TraceLine(m_config.trace, "%s", buf);
    }

    // ---- I_IceDevice
    void Release() override { Trace("0 Release"); delete this; }
    int GetInterface(DWORD id, void** object) override
    {
        Trace("1 GetInterface 0x%lX", id);
        if (!object)
            return 0;
        switch (id) {
        case ICE_IID_ACTION_TABLE: *object = static_cast<I_IceActionTable*>(this); return ICE_INTERFACE_GIVEN;
        case ICE_IID_DISASM: *object = static_cast<I_IceDisAsm*>(this); return ICE_INTERFACE_GIVEN;
        case ICE_IID_WATCH: *object = static_cast<I_IceWatch*>(this); return ICE_INTERFACE_GIVEN;
        case ICE_IID_CALL_STACK: *object = static_cast<I_IceCallStack*>(this); return ICE_INTERFACE_GIVEN;
        }
        *object = nullptr;
        return 0;
    }
    int SelectPart(const char* part) override
    {
        Trace("2 SelectPart %s", Str(part).c_str());
        if (!part || !m_config.parts.count(Lower(part)))
            return -1;
        m_part = part;
        m_caps = m_config.parts.at(Lower(part));
        return 0;
    }
    int OpenBoard(const char* port, const char* part, char* text, DWORD* word) override
    {
        // Before writing the part comes in an 81-byte buffer: show all of it. Otherwise it may be
        // a short string, so the bytes after it are looked at only where they can be read.
        bool writing = part && strlen(part) + 4 < ICE_OPEN_TEXT_SIZE && Readable(part, ICE_OPEN_TEXT_SIZE) &&
                       !strcmp(part + strlen(part) + 1, "WTR");
        std::string bytes = writing ? Hex2(reinterpret_cast<const uint8_t*>(part), ICE_OPEN_TEXT_SIZE) : "";
        Trace("3 OpenBoard %s %s%s%s", Str(port).c_str(), Str(part).c_str(), writing ? " bytes " : "",
              writing ? bytes.c_str() : "");
        if (Refused(3) || !port || !*port || m_config.failingPorts.count(Lower(port)))
            return -1;
        if (!part || !m_config.parts.count(Lower(part)))
            return -1;
        m_port = port;
        CopyText(text, ICE_OPEN_TEXT_SIZE, "Simulated board on " + m_port);
        if (word)
            *word = 1;
        return 0;
    }
    int GetDebugTarget(I_IceDebugTarget** target) override
    {
        Trace("4 GetDebugTarget");
        if (!target || m_port.empty())
            return -1;
        *target = this;
        return 0;
    }
    int GetBreakpointList(I_IceBreakpointList** list) override
    {
        Trace("5 GetBreakpointList");
        if (!list || !(m_caps & ICE_CAP_BREAKPOINTS))
            return -1;
        *list = this;
        return 0;
    }
    int WriteListing(const char* obj, char* listing) override
    {
        Trace("6 WriteListing %s %s", Str(obj).c_str(), Str(listing).c_str());
        if (!listing || !*listing || m_entries.empty())
            return -1;
        m_listingPath = listing;
        if (!WriteListingPart())
            return -1;
        if (m_config.writeDsr && obj) {
            std::string dsr = obj;
            size_t dot = dsr.find_last_of('.');
            size_t slash = dsr.find_last_of('\\');
            if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
                dsr.resize(dot);
            std::string text;
            toy::ReadWholeFile(m_listingPath, text);
            toy::WriteWholeFile(dsr + ".dsr", text);
        }
        return 0;
    }
    int Download(HWND window, const char* files, const char* map, BYTE flags, BOOL listing, int mode) override
    {
        std::string list;
        for (const char* p = files; p && *p; p += strlen(p) + 1)
            list += std::string(list.empty() ? "" : "|") + p;
        Trace("7 Download %p %s %s 0x%02X %d %d", static_cast<void*>(window), list.c_str(), Str(map).c_str(), flags,
              listing, mode);
        if (Refused(7) || !files || !*files || !map || IsRunning())
            return -1;
        // The object file holds the code, the second file (when there is one) the data.
        std::vector<toy::Segment> segments;
        for (const char* p = files; *p; p += strlen(p) + 1) {
            toy::ObjectFile object;
            if (p != files && GetFileAttributesA(p) == INVALID_FILE_ATTRIBUTES)
                continue;
            if (!toy::ReadObjectFile(p, object))
                return -1;
            segments.insert(segments.end(), object.segments.begin(), object.segments.end());
        }
        toy::MapFile mapFile;
        if (!toy::ReadMapFile(map, mapFile))
            return -1;
        Lock l(this);
        m_cpu = toy::Cpu();
        m_cpu.Load(segments);
        m_segments = segments;
        m_map = mapFile;
        m_sources.clear();
        BuildEntries();
        PlaceBreakpoints();
        m_executed.clear();
        m_frames.clear();
        m_history.clear();
        m_part_ = 0;
        m_downloaded = true;
        return 0;
    }
    int SetNotifyWindow(HWND window) override
    {
        Trace("8 SetNotifyWindow %p", static_cast<void*>(window));
        m_notify = window;
        return 0;
    }
    int GetStatus(DWORD* status) override
    {
        if (!status)
            return -1;
        if (IsRunning())
            *status = ICE_STATUS_STOP;
        else
            *status = ICE_STATUS_STEP_OVER | ICE_STATUS_STEP | ICE_STATUS_RESTART | ICE_STATUS_HISTORY_CLEAR |
                      ICE_STATUS_HISTORY | ICE_STATUS_WRITE;
        *status &= ~m_config.clearStatus;
        Trace("9 GetStatus 0x%lX", *status);
        return 0;
    }
    int Run(int how, int reserved) override
    {
        Trace("10 Run %d %d", how, reserved);
        return Start(RUN_FREE, 0);
    }
    int Stop() override
    {
        Trace("11 Stop");
        m_stop = true;
        return 0;
    }
    int StepInto() override
    {
        Trace("12 StepInto");
        return Start(RUN_STEP_INTO, 0);
    }
    int GetPC(DWORD* bank, DWORD* offset) override
    {
        Trace("13 GetPC");
        if (!bank || !offset)
            return -1;
        Lock l(this);
        *bank = 0;
        *offset = m_cpu.pc;
        return 0;
    }
    int AddressToSource(DWORD bank, DWORD offset, int size, char* path, int* line) override
    {
        Trace("14 AddressToSource %lu %lu", bank, offset);
        Lock l(this);
        const Entry* e = EntryAt(Combine(bank, offset));
        if (!e || !path || !line || size <= 0)
            return -1;
        CopyText(path, static_cast<size_t>(size), e->file);
        *line = e->line;
        return 0;
    }
    int SourceToAddress(const char* path, int line, DWORD* bank, DWORD* offset) override
    {
        Trace("15 SourceToAddress %s %d", Str(path).c_str(), line);
        Lock l(this);
        uint32_t a = 0;
        if (!bank || !offset || !FindAddress(path, line, &a))
            return -1;
        *bank = (a >> 16) & 0xFF;
        *offset = a & 0xFFFF;
        return 0;
    }
    void Reserved16() override {}
    int Restart() override
    {
        Trace("17 Restart");
        if (IsRunning())
            return -1;
        Lock l(this);
        m_cpu.Reset();
        m_frames.clear();
        return 0;
    }
    int StepOver() override
    {
        Trace("18 StepOver");
        return Start(RUN_STEP_OVER, 0);
    }
    int BeforeDownload(HWND window) override
    {
        Trace("19 BeforeDownload %p", static_cast<void*>(window));
        return 0;
    }
    int RunTo(DWORD bank, DWORD offset) override
    {
        Trace("20 RunTo %lu %lu", bank, offset);
        return Start(RUN_TO, Combine(bank, offset));
    }
    void Reserved21() override {}
    int ResetHistory() override
    {
        Trace("22 ResetHistory");
        Lock l(this);
        m_history.clear();
        return 0;
    }
    int ClearHistory() override
    {
        Trace("23 ClearHistory");
        Lock l(this);
        m_history.clear();
        return 0;
    }
    int GetHistory(DWORD* word, HGLOBAL* text) override
    {
        Trace("24 GetHistory");
        if (!text)
            return -1;
        Lock l(this);
        std::string all;
        for (const std::string& h : m_history)
            all += h + "\r\n";
        if (m_historyText)
            GlobalFree(m_historyText);
        m_historyText = GlobalAlloc(GMEM_MOVEABLE, all.size() + 1);
        if (!m_historyText)
            return -1;
        char* p = static_cast<char*>(GlobalLock(m_historyText));
        memcpy(p, all.c_str(), all.size() + 1);
        GlobalUnlock(m_historyText);
        *text = m_historyText;
        if (word)
            *word = static_cast<DWORD>(m_history.size());
        return 0;
    }
    int EditListingLine(const char* listing, int line, char* text) override;
    int StepOut() override
    {
        Trace("26 StepOut");
        if (!(m_caps & ICE_CAP_STEP_OUT))
            return -1;
        return Start(RUN_STEP_OUT, 0);
    }
    void Reserved27() override {}
    void Reserved28() override {}
    int WriteStorage(const char* part, const char* port, const char* files) override;
    int EndWriting() override
    {
        Trace("30 EndWriting");
        return 0;
    }
    int StopWriting() override
    {
        Trace("31 StopWriting");
        m_abortWrite = true;
        return 0;
    }
    int AddressToListing(DWORD bank, DWORD offset, char* path, int* line, int* reload) override
    {
        Trace("32 AddressToListing %lu %lu", bank, offset);
        Lock l(this);
        return ListingLineOf(Combine(bank, offset), path, line, reload);
    }
    int GetPCListingLine(char* path, int* line, int* reload) override
    {
        int request = reload ? *reload : 0;
        Trace("33 GetPCListingLine %d", request);
        Lock l(this);
        if (request == ICE_LISTING_NEXT_PART || request == ICE_LISTING_PREVIOUS_PART) {
            size_t parts = PartCount();
            if (m_listingPath.empty() || parts == 0)
                return -1;
            size_t want = request == ICE_LISTING_NEXT_PART ? (m_part_ + 1 < parts ? m_part_ + 1 : m_part_)
                                                           : (m_part_ > 0 ? m_part_ - 1 : 0);
            m_part_ = want;
            if (!WriteListingPart())
                return -1;
            CopyText(path, ICE_PATH_SIZE, m_listingPath);
            if (line)
                *line = 1;
            if (reload)
                *reload = 1;
            return 0;
        }
        return ListingLineOf(m_cpu.pc, path, line, reload);
    }
    int GetCapabilities(DWORD* capabilities) override
    {
        Trace("34 GetCapabilities");
        if (!capabilities)
            return -1;
        *capabilities = m_caps;
        return 0;
    }
    void Reserved35() override {}
    void Reserved36() override {}
    void Reserved37() override {}
    void Reserved38() override {}
    int NewProject(const char* path) override { Trace("39 NewProject %s", Str(path).c_str()); return Refused(39) ? -1 : 0; }
    int OpenProject(const char* path) override { Trace("40 OpenProject %s", Str(path).c_str()); return Refused(40) ? -1 : 0; }
    int SaveProject(const char* path) override { Trace("41 SaveProject %s", Str(path).c_str()); return Refused(41) ? -1 : 0; }
    int CloseProject(const char* path) override { Trace("42 CloseProject %s", Str(path).c_str()); return 0; }
    int EnterDebugMode() override { Trace("43 EnterDebugMode"); m_debugMode = true; return 0; }
    int LeaveDebugMode() override { Trace("44 LeaveDebugMode"); m_debugMode = false; return 0; }
    int EditBreakpoints() override;
    int Diagnose(const char* part, const char* port, DWORD* word) override
    {
        Trace("46 Diagnose %s %s", Str(part).c_str(), Str(port).c_str());
        std::string text = "Board on " + Str(port) + " for " + Str(part) + ": no fault found.";
        MessageBoxA(nullptr, text.c_str(), "Diagnose", MB_OK | MB_ICONINFORMATION);
        if (word)
            *word = 0;
        return 0;
    }
    int WriteMemory(int page, int item, int offset, int value) override;
    int ReadMemory(DWORD space, DWORD address, void* buffer) override;
    int AfterMemoryWrite(DWORD bank, DWORD offset) override
    {
        Trace("49 AfterMemoryWrite %lu %lu", bank, offset);
        return 0;
    }
    int SetSourceLevelStep(BOOL source) override
    {
        Trace("50 SetSourceLevelStep %d", source);
        m_sourceStep = source != FALSE;
        return 0;
    }
    void Reserved51() override {}
    int ConfigDialog() override
    {
        Trace("52 ConfigDialog");
        std::string text = "Simulated board for " + m_part + (m_port.empty() ? "" : " on " + m_port) + ".";
        MessageBoxA(nullptr, text.c_str(), "Board Configuration", MB_OK | MB_ICONINFORMATION);
        return 0;
    }

    // ---- I_IceDebugTarget
    void Reserved0() override {}
    void Reserved1() override {}
    void Reserved2() override {}
    int LoadImage(const char* path) override;
    void Reserved4() override {}
    void Reserved5() override {}
    int MoveItem(int page, int from, int to) override;
    int CopyItem(int fromPage, int from, int toPage, int to) override;
    int SaveImage(const char* path) override;
    int GetPageList(I_IceDebugPageList** list) override
    {
        Trace("target 9 GetPageList");
        if (!list)
            return -1;
        *list = this;
        return 0;
    }
    void Reserved10() override {}
    int DeleteItem(int page, int index) override;
    int InsertItem(const char* text, int page, int index) override;

    // ---- I_IceDebugPageList
    void* GetFirstPosition() override { return m_pages.empty() ? nullptr : reinterpret_cast<void*>(1); }
    I_IceDebugPage* GetNext(void** position) override
    {
        if (!position || !*position)
            return nullptr;
        size_t p = reinterpret_cast<size_t>(*position);
        if (p < 1 || p > m_pages.size())
            return nullptr;
        *position = p < m_pages.size() ? reinterpret_cast<void*>(p + 1) : nullptr;
        return m_pages[p - 1].get();
    }

    // ---- I_IceBreakpointList (Reserved0-2 shared with the target)
    int Add(const char* file, int line) override;
    int Remove(const char* file, int line) override;
    void Reserved6() override {}
    void Reserved7() override {}
    void Reserved8() override {}
    void Reserved9() override {}
    int StartListing(const char* file) override;
    int GetNext(int* line, DWORD* state) override;
    int Move(const char* file, int oldLine, int newLine) override;
    int Enable(const char* file, int line, BOOL enable) override;
    int EnableAt(DWORD bank, DWORD offset, BOOL enable) override;

    // ---- I_IceActionTable
    int GetCount() override { return m_config.actions; }
    const char* GetName(int i) override
    {
        if (i < 0 || i >= m_config.actions)
            return nullptr;
        if (i < 2)
            return i == 0 ? "Reset Board" : "Toggle LED";
        while ((int)m_extraNames.size() <= i - 2)
            m_extraNames.push_back("Action " + std::to_string(m_extraNames.size() + 3));
        return m_extraNames[i - 2].c_str();
    }
    int GetAccelerator(int i, WORD* flags, WORD* key, WORD* command) override
    {
        if (i < 0 || i >= m_config.actions || !flags || !key || !command)
            return -1;
        // Reset Board: Ctrl+Shift+R; Toggle LED has none.
        *flags = i == 0 ? FVIRTKEY | FCONTROL | FSHIFT : 0;
        *key = i == 0 ? 'R' : 0;
        *command = 0;
        return 0;
    }
    int GetImage(int i, DWORD* image, DWORD* style) override
    {
        if (i < 0 || i >= m_config.actions || !image || !style)
            return -1;
        *image = i == 1 ? IDI_ACTION_LED : IDI_ACTION_RESET;
        *style = 0;
        return 0;
    }
    int GetState(int i, int* idle, int* debug, int* running, int* writing) override
    {
        if (i < 0 || i >= m_config.actions || !idle || !debug || !running || !writing)
            return -1;
        // Reset runs anywhere but while writing; the LED only in debug mode, also while running.
        *idle = i == 0;
        *debug = 1;
        *running = i == 1;
        *writing = 0;
        return 0;
    }
    int EndAction() override { Trace("action 5 EndAction"); return 0; }
    int Execute(int i, HWND window) override
    {
        Trace("action 6 Execute %d %p", i, static_cast<void*>(window));
        if (i == 0)
            return Restart();
        if (i == 1) {
            Lock l(this);
            m_cpu.io[3] ^= 0xF;
            Trace("LED port now %X", m_cpu.io[3]);
            return 0;
        }
        return -1;
    }

    // ---- I_IceWatch
    int SetContext(DWORD bank, DWORD offset, DWORD c, DWORD d) override
    {
        Trace("watch 3 SetContext %lu %lu %lu %lu", bank, offset, c, d);
        m_context = c;
        return 0;
    }
    int Add(const char* text, DWORD* handle) override;
    int Check(ICE_WATCH_NODE node, DWORD* a, DWORD* b) override
    {
        WatchNode* n = static_cast<WatchNode*>(node);
        if (!n || !a || !b)
            return -1;
        *a = static_cast<DWORD>(n->space);
        *b = n->address;
        return 0;
    }
    int GetKind(DWORD handle, int* kind, DWORD* extra) override
    {
        WatchNode* n = Watch(handle);
        if (!n || !kind)
            return -1;
        *kind = n->members.empty() ? ICE_WATCH_SIMPLE : ICE_WATCH_MEMBERS;
        if (extra)
            *extra = static_cast<DWORD>(n->members.size());
        return 0;
    }
    int GetText(ICE_WATCH_NODE node, int format, const char** value, const char** address) override;
    int SetText(ICE_WATCH_NODE node, const char* text) override;
    ICE_WATCH_NODE GetRoot(DWORD handle) override { return Watch(handle); }
    int GetMemberCount(ICE_WATCH_NODE node, int* count) override
    {
        WatchNode* n = static_cast<WatchNode*>(node);
        if (!n || !count)
            return -1;
        *count = static_cast<int>(n->members.size());
        return 0;
    }
    int GetMember(ICE_WATCH_NODE node, int index, const char** name, ICE_WATCH_NODE* member) override
    {
        WatchNode* n = static_cast<WatchNode*>(node);
        if (!n || index < 0 || static_cast<size_t>(index) >= n->members.size())
            return -1;
        WatchNode* m = n->members[static_cast<size_t>(index)].get();
        if (name)
            *name = m->name.c_str();
        if (member)
            *member = m;
        return 0;
    }
    int IsClosed(ICE_WATCH_NODE) override { return 0; }
    void Reserved15() override {}
    int IsReadOnly(ICE_WATCH_NODE node) override
    {
        WatchNode* n = static_cast<WatchNode*>(node);
        return n && n->memory ? 0 : 1;
    }
    void Reserved17() override {}
    int Release(DWORD handle) override
    {
        Trace("watch 18 Release 0x%lX", handle);
        return m_watches.erase(handle) ? 0 : -1;
    }

    // ---- I_IceCallStack (Reserved0-2 shared)
    int GetContext(int frame, DWORD* c, DWORD* d) override
    {
        Lock l(this);
        if (frame < 0 || static_cast<size_t>(frame) > m_frames.size() || !c || !d)
            return -1;
        *c = static_cast<DWORD>(frame);
        *d = frame == 0 ? m_cpu.sp : m_frames[m_frames.size() - static_cast<size_t>(frame)].sp;
        return 0;
    }
    int GetTopFrame(int, DWORD* bank, DWORD* offset) override
    {
        if (!bank || !offset)
            return -1;
        Lock l(this);
        *bank = 0;
        *offset = m_cpu.pc;
        return 0;
    }
    int GetFrame(int index, DWORD* bank, DWORD* offset) override
    {
        Lock l(this);
        if (index < 0 || static_cast<size_t>(index) >= m_frames.size() || !bank || !offset)
            return -1;
        *bank = 0;
        *offset = m_frames[m_frames.size() - 1 - static_cast<size_t>(index)].callSite;
        return 0;
    }
    int StartLines() override;
    int GetNextLine(const char** text) override
    {
        if (!text || m_nextStackLine >= m_stackLines.size())
            return -1;
        *text = m_stackLines[m_nextStackLine++].c_str();
        return 0;
    }

    // ---- I_IceDisAsm (Reserved0-5 shared)
    void Reserved3() override {}
    int StartRanges() override;
    int GetNextRange(int* first, int* last, int* kind) override
    {
        if (!first || !last || !kind || m_nextRange >= m_ranges.size())
            return -1;
        *first = m_ranges[m_nextRange].first;
        *last = m_ranges[m_nextRange].last;
        *kind = m_ranges[m_nextRange].kind;
        ++m_nextRange;
        return 0;
    }
    int ListingToSource(int line, char* path, int* sourceLine) override
    {
        Lock l(this);
        const Entry* e = ListingEntry(line);
        if (!e || !path || !sourceLine)
            return -1;
        CopyText(path, ICE_PATH_SIZE, e->file);
        *sourceLine = e->line;
        return 0;
    }
    int GetLineKind(int line, int* kind) override
    {
        Lock l(this);
        const Entry* e = ListingEntry(line);
        if (!e || !kind)
            return -1;
        *kind = e->data ? 0 : ICE_LINE_INSTRUCTION;
        return 0;
    }

    // Values of items, for the items.
    DWORD ReadCell(int space, uint32_t address)
    {
        switch (space) {
        case toy::SPACE_CODE: return m_cpu.code[address & 0xFFFF];
        case toy::SPACE_RAM: return m_cpu.ram[address & 0xFF];
        case toy::SPACE_IO: return m_cpu.io[address & 0xF] & 0xF;
        case toy::SPACE_TABLE: return m_cpu.table[address & 0xFF];
        }
        return 0;
    }
    void WriteCell(int space, uint32_t address, DWORD value)
    {
        switch (space) {
        case toy::SPACE_CODE: m_cpu.code[address & 0xFFFF] = static_cast<uint8_t>(value); break;
        case toy::SPACE_RAM: m_cpu.ram[address & 0xFF] = static_cast<uint8_t>(value); break;
        case toy::SPACE_IO: m_cpu.io[address & 0xF] = static_cast<uint8_t>(value & 0xF); break;
        case toy::SPACE_TABLE: m_cpu.table[address & 0xFF] = static_cast<uint16_t>(value); break;
        }
    }
    DWORD RegisterValue(int reg)
    {
        Lock l(this);
        return reg < 4 ? m_cpu.reg[reg] : reg == 4 ? m_cpu.pc : m_cpu.sp;
    }
    void SetRegister(int reg, DWORD value)
    {
        Lock l(this);
        if (reg < 4)
            m_cpu.reg[reg] = static_cast<uint8_t>(value);
        else if (reg == 4)
            m_cpu.pc = static_cast<uint16_t>(value);
        else
            m_cpu.sp = static_cast<uint8_t>(value);
        Trace("register %d = 0x%lX", reg, value);
    }
    bool InSubroutine() { Lock l(this); return !m_frames.empty(); }
    bool IsRunning() const { return m_running; }

    struct Lock {
        explicit Lock(Board* b) : board(b) { EnterCriticalSection(&board->m_lock); }
        ~Lock() { LeaveCriticalSection(&board->m_lock); }
        Board* board;
    };

private:
    static uint32_t Combine(DWORD bank, DWORD offset) { return ((bank & 0xFF) << 16) | (offset & 0xFFFF); }
    void BuildPages();
    void BuildEntries();
    const Entry* EntryAt(uint32_t address) const
    {
        for (const Entry& e : m_entries)
            if (address >= e.address && address < e.address + std::max<uint32_t>(e.length, 1))
                return &e;
        return nullptr;
    }
    bool FindAddress(const char* path, int line, uint32_t* address);
    const Entry* ListingEntry(int line) const
    {
        size_t first = m_part_ * kPartLines;
        if (line < 1 || first + static_cast<size_t>(line) > m_entries.size() || static_cast<size_t>(line) > kPartLines)
            return nullptr;
        return &m_entries[first + static_cast<size_t>(line) - 1];
    }
    size_t PartCount() const { return (m_entries.size() + kPartLines - 1) / kPartLines; }
    std::string ListingText(const Entry& e) const
    {
        toy::ListingLine l;
        l.hasCode = true;
        l.address = e.address;
        for (uint32_t i = 0; i < e.length; ++i)
            l.bytes.push_back(m_cpu.code[(e.address + i) & 0xFFFF]);
        l.source = e.source;
        return toy::FormatListingLine(l);
    }
    bool WriteListingPart()
    {
        std::string text;
        size_t first = m_part_ * kPartLines;
        for (size_t i = first; i < m_entries.size() && i < first + kPartLines; ++i)
            text += ListingText(m_entries[i]) + "\r\n";
        return toy::WriteWholeFile(m_listingPath, text);
    }
    int ListingLineOf(uint32_t address, char* path, int* line, int* reload)
    {
        if (m_listingPath.empty() || !path || !line)
            return -1;
        for (size_t i = 0; i < m_entries.size(); ++i) {
            const Entry& e = m_entries[i];
            if (address < e.address || address >= e.address + std::max<uint32_t>(e.length, 1))
                continue;
            size_t part = i / kPartLines;
            bool changed = part != m_part_;
            m_part_ = part;
            if (changed && !WriteListingPart())
                return -1;
            CopyText(path, ICE_PATH_SIZE, m_listingPath);
            *line = static_cast<int>(i % kPartLines) + 1;
            if (reload)
                *reload = changed ? 1 : 0;
            return 0;
        }
        return -1;
    }
    std::string SourceLine(const std::string& file, int line);
    int Start(RunMode mode, uint32_t target);
    static DWORD WINAPI WorkerProc(void* p);
    void Execute(RunMode mode, uint32_t target);
    bool StepOne();
    // Source breakpoints take the addresses of the program now loaded; a line without code goes.
    void PlaceBreakpoints()
    {
        std::vector<Breakpoint> placed;
        for (Breakpoint b : m_breakpoints) {
            if (!b.file.empty() && !FindAddress(b.file.c_str(), b.line, &b.address))
                continue;
            bool twice = false;
            for (const Breakpoint& p : placed)
                twice = twice || p.address == b.address;
            if (!twice)
                placed.push_back(b);
        }
        m_breakpoints.swap(placed);
    }
    bool BreakpointAt(uint32_t address) const
    {
        if (!(m_caps & ICE_CAP_BREAKPOINTS))
            return false;
        for (const Breakpoint& b : m_breakpoints)
            if (b.enabled && b.address == address)
                return true;
        return false;
    }
    WatchNode* Watch(DWORD handle)
    {
        auto it = m_watches.find(handle);
        return it == m_watches.end() ? nullptr : it->second.get();
    }
    std::unique_ptr<WatchNode> Evaluate(const std::string& text);
    Page* PageAt(int index)
    {
        return index >= 0 && static_cast<size_t>(index) < m_pages.size() ? m_pages[static_cast<size_t>(index)].get() : nullptr;
    }
    Page* WatchPage()
    {
        for (auto& p : m_pages)
            if (p->type == ICE_PAGE_WATCH)
                return p.get();
        return nullptr;
    }
    static DWORD WINAPI WriterProc(void* p);

    CRITICAL_SECTION m_lock;
    Config m_config;
    std::vector<std::string> m_extraNames;   // names of the actions past the two
    std::string m_part;
    DWORD m_caps;
    std::string m_port;
    HWND m_notify = nullptr;
    toy::Cpu m_cpu;
    std::vector<toy::Segment> m_segments;
    toy::MapFile m_map;
    std::map<std::string, std::vector<std::string>> m_sources;
    std::vector<Entry> m_entries;
    std::set<uint32_t> m_executed;
    size_t m_part_ = 0;   // the part of the program the listing shows
    std::string m_listingPath;
    bool m_downloaded = false;
    bool m_sourceStep = false;
    bool m_debugMode = false;
    std::vector<Breakpoint> m_breakpoints;
    std::vector<int> m_listedLines;
    std::vector<DWORD> m_listedStates;
    size_t m_nextListed = 0;
    std::vector<Frame> m_frames;
    std::deque<std::string> m_history;
    HGLOBAL m_historyText = nullptr;
    std::vector<std::string> m_stackLines;
    size_t m_nextStackLine = 0;
    struct Range { int first, last, kind; };
    std::vector<Range> m_ranges;
    size_t m_nextRange = 0;
    std::vector<std::unique_ptr<Page>> m_pages;
    std::map<DWORD, std::unique_ptr<WatchNode>> m_watches;
    DWORD m_nextWatch = ICE_WATCH_HANDLE_BASE;
    DWORD m_context = 0;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stop{false};
    HANDLE m_worker = nullptr;
    RunMode m_mode = RUN_FREE;
    uint32_t m_target = 0;
    HANDLE m_writer = nullptr;
    std::atomic<bool> m_abortWrite{false};
    std::vector<std::string> m_writeFiles;
};

DWORD Item::GetValue()
{
    if (access == ICE_ACCESS_NO_VALUE)
        return 0;
    if (option)
        return optionValue;
    if (reg >= 0)
        return shift >= 0 ? (board->RegisterValue(reg) >> shift) & 0xF : board->RegisterValue(reg);
    if (space >= 0) {
        Board::Lock l(board);
        return board->ReadCell(space, address);
    }
    return 0;
}

int Item::SetValue(DWORD value)
{
    if (!(access & ICE_ACCESS_WRITABLE) || access == ICE_ACCESS_NO_VALUE || board->IsRunning())
        return -1;
    if (option)
        optionValue = value;
    else if (reg >= 0)
        board->SetRegister(reg, value);
    else if (space >= 0) {
        Board::Lock l(board);
        board->WriteCell(space, address, value);
    }
    return 0;
}

int Page::IsShown()
{
    return hideInSubroutine && board->InSubroutine() ? 0 : 1;
}

void Board::BuildPages()
{
    auto page = [this](const char* name, int type) {
        m_pages.emplace_back(new Page);
        Page* p = m_pages.back().get();
        p->board = this;
        p->name = name;
        p->type = type;
        return p;
    };
    Page* regs = page("Registers", ICE_PAGE_REGISTERS);
    const char* names[] = {"A", "B", "C", "D", "PC", "SP"};
    for (int r = 0; r < 6; ++r) {
        Item* i = regs->Add(names[r]);
        i->reg = r;
        i->kind = ICE_KIND_BITS;
        i->width = r == 4 ? 16 : 8;
        i->handle = static_cast<DWORD>(r);
        if (r == 0) {   // A's two halves
            for (int half = 0; half < 2; ++half) {
                Item* h = i->AddChild(half ? "A.low" : "A.high");
                h->kind = ICE_KIND_NIBBLES;
                h->access = 0;
                h->reg = 0;
                h->shift = half ? 0 : 4;
            }
        }
    }
    Item* flags = regs->Add("Timer");   // not modelled: no value
    flags->access = ICE_ACCESS_NO_VALUE;
    flags->handle = 6;
    page("Watch", ICE_PAGE_WATCH);
    struct { const char* name; int space; int kind; DWORD length; bool hide; } mem[] = {
        {"I/O Cells", toy::SPACE_IO, ICE_KIND_NIBBLES, toy::kIoSize, false},
        {"Table Words", toy::SPACE_TABLE, ICE_KIND_WORDS, 64, false},
        {"RAM Bytes", toy::SPACE_RAM, ICE_KIND_BYTES, toy::kRamSize, true},
    };
    for (auto& m : mem) {
        Page* p = page(m.name, ICE_PAGE_MEMORY);
        p->hideInSubroutine = m.hide;
        Item* i = p->Add(m.name);
        i->kind = m.kind;
        i->width = static_cast<int>(m.length);
        i->space = m.space;
        i->handle = 0x100;
        i->block.space = static_cast<DWORD>(m.space);
        i->block.address = 0;
        i->block.length = m.length;
        i->block.data = p->buffer.data();
    }
    Page* options = page("Options", ICE_PAGE_OPTIONS);
    Item* o = options->Add("Stop on bad opcode");
    o->option = true;
    o->optionValue = 1;
    o->handle = 0x200;
    o->kind = ICE_KIND_BITS;
    Page* stack = page("Stack", ICE_PAGE_STACK);
    for (int i = 0; i < 8; ++i) {
        Item* s = stack->Add("SP+" + std::to_string(i + 1));
        s->space = toy::SPACE_RAM;
        s->address = static_cast<uint32_t>(0xF8 + i);
        s->kind = ICE_KIND_BYTES;
        s->access = 0;
        s->handle = static_cast<DWORD>(0x300 + i);
    }
}

std::string Board::SourceLine(const std::string& file, int line)
{
    auto it = m_sources.find(file);
    if (it == m_sources.end()) {
        std::string text;
        std::vector<std::string> lines;
        if (toy::ReadWholeFile(file, text)) {
            size_t start = 0;
            while (start < text.size()) {
                size_t end = text.find('\n', start);
                std::string l = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
                if (!l.empty() && l.back() == '\r')
                    l.pop_back();
                lines.push_back(l);
                if (end == std::string::npos)
                    break;
                start = end + 1;
            }
        }
        it = m_sources.emplace(file, lines).first;
    }
    return line >= 1 && static_cast<size_t>(line) <= it->second.size() ? it->second[static_cast<size_t>(line) - 1] : "";
}

void Board::BuildEntries()
{
    m_entries.clear();
    std::vector<toy::LineAddress> lines = m_map.lines;
    std::stable_sort(lines.begin(), lines.end(),
                     [](const toy::LineAddress& a, const toy::LineAddress& b) { return a.address < b.address; });
    for (size_t i = 0; i < lines.size(); ++i) {
        Entry e;
        e.address = lines[i].address;
        e.file = lines[i].file;
        e.line = lines[i].line;
        e.source = SourceLine(e.file, e.line);
        std::string code = Trim(e.source);
        e.data = code.size() > 2 && code[0] == '.';
        uint32_t end = e.address;
        for (const toy::Segment& s : m_segments)
            if (s.space == toy::SPACE_CODE && e.address >= s.address && e.address < s.address + s.bytes.size())
                end = s.address + static_cast<uint32_t>(s.bytes.size());
        if (i + 1 < lines.size() && lines[i + 1].address < end)
            end = lines[i + 1].address;
        e.length = end - e.address;
        if (!e.data) {
            int len = toy::InstructionLength(m_cpu.code[e.address & 0xFFFF]);
            if (len > 0 && static_cast<uint32_t>(len) < e.length)
                e.length = static_cast<uint32_t>(len);
        }
        m_entries.push_back(e);
    }
}

bool Board::FindAddress(const char* path, int line, uint32_t* address)
{
    if (!path)
        return false;
    if (!m_listingPath.empty() && Lower(path) == Lower(m_listingPath)) {
        const Entry* e = ListingEntry(line);
        if (!e)
            return false;
        *address = e->address;
        return true;
    }
    for (const Entry& e : m_entries)
        if (e.line == line && Lower(e.file) == Lower(path)) {
            *address = e.address;
            return true;
        }
    return false;
}

// ---- execution

int Board::Start(RunMode mode, uint32_t target)
{
    if (!m_downloaded || m_running || Refused(mode == RUN_FREE ? 10 : mode == RUN_TO ? 20 : mode == RUN_STEP_INTO ? 12
                                                                        : mode == RUN_STEP_OVER ? 18 : 26))
        return -1;
    if (m_worker) {
        WaitForSingleObject(m_worker, INFINITE);
        CloseHandle(m_worker);
        m_worker = nullptr;
    }
    m_mode = mode;
    m_target = target;
    m_stop = false;
    m_running = true;
    m_worker = CreateThread(nullptr, 0, WorkerProc, this, 0, nullptr);
    if (!m_worker) {
        m_running = false;
        return -1;
    }
    return 0;
}

DWORD WINAPI Board::WorkerProc(void* p)
{
    Board* b = static_cast<Board*>(p);
    b->Execute(b->m_mode, b->m_target);
    b->m_running = false;
    if (b->m_notify)
        PostMessageA(b->m_notify, ICE_WM_TARGET_STOPPED, 0, 0);
    return 0;
}

// One instruction, with the call stack and history kept. False: the CPU cannot go on.
bool Board::StepOne()
{
    Lock l(this);
    uint16_t pc = m_cpu.pc;
    uint8_t op = m_cpu.code[pc];
    int len = 0;
    std::string text = toy::Disassemble(&m_cpu.code[pc], toy::kCodeSize - pc, &len);
    m_history.push_back(Address(pc) + " " + text);
    if (m_history.size() > static_cast<size_t>(kHistorySize))
        m_history.pop_front();
    m_executed.insert(pc);
    uint8_t spBefore = m_cpu.sp;
    toy::Cpu::StepResult r = m_cpu.Step();
    if (r != toy::Cpu::STEP_OK)
        return false;
    if (op == 0x03) {
        Frame f;
        f.callSite = pc;
        f.target = m_cpu.pc;
        f.sp = spBefore;
        m_frames.push_back(f);
    } else if (op == 0x02 && !m_frames.empty()) {
        m_frames.pop_back();
    }
    return true;
}

void Board::Execute(RunMode mode, uint32_t target)
{
    size_t depth;
    {
        Lock l(this);
        depth = m_frames.size();
    }
    const Entry* startEntry;
    {
        Lock l(this);
        startEntry = EntryAt(m_cpu.pc);
    }
    bool first = true;
    for (;;) {
        if (m_stop)
            return;
        uint32_t pc;
        {
            Lock l(this);
            pc = m_cpu.pc;
        }
        if (!first) {
            if (BreakpointAt(pc))
                return;
            if (mode == RUN_TO && pc == target)
                return;
        }
        if (!StepOne())
            return;
        first = false;
        Lock l(this);
        size_t now = m_frames.size();
        switch (mode) {
        case RUN_STEP_INTO:
            if (!m_sourceStep || EntryAt(m_cpu.pc) != startEntry)
                return;
            break;
        case RUN_STEP_OVER:
            if (now <= depth && (!m_sourceStep || EntryAt(m_cpu.pc) != startEntry))
                return;
            break;
        case RUN_STEP_OUT:
            if (now < depth || depth == 0)
                return;
            break;
        default:
            break;
        }
    }
}

// ---- listing edits

int Board::EditListingLine(const char* listing, int line, char* text)
{
    Trace("25 EditListingLine %s %d %s", Str(listing).c_str(), line, Str(text).c_str());
    if (!text || (m_caps & ICE_CAP_NO_LISTING_EDIT) || m_running)
        return -1;
    Lock l(this);
    const Entry* found = ListingEntry(line + 1);
    if (!found || found->data)
        return -1;
    Entry& e = m_entries[static_cast<size_t>(found - m_entries.data())];
    std::string typed(text, strnlen(text, ICE_LISTING_TEXT_SIZE - 1));
    std::string source = typed.size() > 24 ? typed.substr(24) : Trim(typed);
    char org[32];
    snprintf(org, sizeof(org), ".org 0x%X\n", static_cast<unsigned>(e.address & 0xFFFF));
    toy::Assembler as;
    std::string program = std::string(org) + source + "\n";
    as.readFile = [&](const std::string&, std::string& out) {
        out = program;
        return true;
    };
    toy::AssemblyResult r = as.Assemble("edit.asm");
    if (r.errors || r.segments.empty() || r.segments[0].bytes.size() != e.length)
        return -1;   // only an instruction of the same length fits in place
    for (size_t i = 0; i < e.length; ++i)
        m_cpu.code[(e.address + i) & 0xFFFF] = r.segments[0].bytes[i];
    e.source = source;
    if (!m_listingPath.empty())
        WriteListingPart();
    CopyText(text, ICE_LISTING_TEXT_SIZE, ListingText(e));
    return 0;
}

// ---- memory

int Board::ReadMemory(DWORD space, DWORD address, void* buffer)
{
    Trace("48 ReadMemory %lu %lu", space, address);
    if (!buffer)
        return -1;
    for (auto& p : m_pages) {
        if (p->type != ICE_PAGE_MEMORY || p->items.empty() || static_cast<DWORD>(p->items[0]->space) != space)
            continue;
        Item* i = p->items[0].get();
        Lock l(this);
        i->block.address = address;
        uint8_t* out = static_cast<uint8_t*>(buffer);
        for (DWORD n = 0; n < i->block.length; ++n) {
            DWORD v = ReadCell(i->space, address + n);
            if (i->kind == ICE_KIND_WORDS) {
                out[2 * n] = static_cast<uint8_t>(v);
                out[2 * n + 1] = static_cast<uint8_t>(v >> 8);
            } else {
                out[n] = static_cast<uint8_t>(v);
            }
        }
        i->block.data = out;
        return 0;
    }
    return -1;
}

int Board::WriteMemory(int page, int item, int offset, int value)
{
    Trace("47 WriteMemory %d %d %d %d", page, item, offset, value);
    // The page is its index in the target's page list, as the IDE routes it; only memory pages take writes.
    int n = 0;
    for (auto& p : m_pages) {
        if (n++ != page)
            continue;
        if (p->type != ICE_PAGE_MEMORY || item < 0 || static_cast<size_t>(item) >= p->items.size() || offset < 0)
            return -1;
        Item* i = p->items[static_cast<size_t>(item)].get();
        if (m_running || static_cast<DWORD>(offset) >= i->block.length)
            return -1;
        Lock l(this);
        WriteCell(i->space, i->block.address + static_cast<DWORD>(offset), static_cast<DWORD>(value));
        return 0;
    }
    return -1;
}

// ---- breakpoints

int Board::Add(const char* file, int line)
{
    Trace("bp 3 Add %s %d", Str(file).c_str(), line);
    Lock l(this);
    uint32_t a = 0;
    if (!file || line <= 0)
        return -1;
    if (!m_downloaded) {
        // Set before the program is on the board: kept by its line, placed at the download.
        for (const Breakpoint& b : m_breakpoints)
            if (b.file == Lower(file) && b.line == line)
                return 0;
    } else if (!FindAddress(file, line, &a)) {
        return -1;
    } else {
        for (const Breakpoint& b : m_breakpoints)
            if (b.address == a)
                return 0;
    }
    Breakpoint b;
    b.file = Lower(file);
    b.line = line;
    b.address = a;
    m_breakpoints.push_back(b);
    return 0;
}

int Board::Remove(const char* file, int line)
{
    Trace("bp 5 Remove %s %d", Str(file).c_str(), line);
    Lock l(this);
    uint32_t a = 0;
    if (!file)
        return -1;
    if (!m_downloaded) {
        size_t before = m_breakpoints.size();
        m_breakpoints.erase(std::remove_if(m_breakpoints.begin(), m_breakpoints.end(),
                                           [&](const Breakpoint& b) { return b.file == Lower(file) && b.line == line; }),
                            m_breakpoints.end());
        return before == m_breakpoints.size() ? -1 : 0;
    }
    if (!FindAddress(file, line, &a))
        return -1;
    size_t before = m_breakpoints.size();
    m_breakpoints.erase(std::remove_if(m_breakpoints.begin(), m_breakpoints.end(),
                                       [&](const Breakpoint& b) { return b.address == a; }),
                        m_breakpoints.end());
    return before == m_breakpoints.size() ? -1 : 0;
}

int Board::StartListing(const char* file)
{
    Trace("bp 11 StartListing %s", Str(file).c_str());
    Lock l(this);
    m_listedLines.clear();
    m_listedStates.clear();
    m_nextListed = 0;
    for (const Breakpoint& b : m_breakpoints) {
        int line = 0;
        if (file) {
            if (b.file != Lower(file))
                continue;
            line = b.line;
        } else {
            // The listing shows one part of the program; only its lines count.
            size_t first = m_part_ * kPartLines;
            for (size_t i = first; i < m_entries.size() && i < first + kPartLines; ++i)
                if (m_entries[i].address == b.address)
                    line = static_cast<int>(i - first) + 1;
            if (!line)
                continue;
        }
        m_listedLines.push_back(line);
        m_listedStates.push_back(b.enabled ? ICE_BREAKPOINT_ENABLED : ICE_BREAKPOINT_DISABLED);
    }
    return 0;
}

int Board::GetNext(int* line, DWORD* state)
{
    if (!line || !state || m_nextListed >= m_listedLines.size())
        return -1;
    *line = m_listedLines[m_nextListed];
    *state = m_listedStates[m_nextListed];
    ++m_nextListed;
    return 0;
}

int Board::Move(const char* file, int oldLine, int newLine)
{
    Trace("bp 13 Move %s %d %d", Str(file).c_str(), oldLine, newLine);
    Lock l(this);
    if (!file)
        return -1;
    for (Breakpoint& b : m_breakpoints)
        if (b.file == Lower(file) && b.line == oldLine) {
            uint32_t a = 0;
            // A line without code keeps the old address until the next download.
            if (FindAddress(file, newLine, &a))
                b.address = a;
            b.line = newLine;
            return 0;
        }
    return -1;
}

int Board::Enable(const char* file, int line, BOOL enable)
{
    Trace("bp 14 Enable %s %d %d", Str(file).c_str(), line, enable);
    Lock l(this);
    if (!file)
        return -1;
    for (Breakpoint& b : m_breakpoints)
        if (b.file == Lower(file) && b.line == line) {
            b.enabled = enable != FALSE;
            return 0;
        }
    return -1;
}

int Board::EnableAt(DWORD bank, DWORD offset, BOOL enable)
{
    Trace("bp 15 EnableAt %lu %lu %d", bank, offset, enable);
    Lock l(this);
    uint32_t a = Combine(bank, offset);
    for (Breakpoint& b : m_breakpoints)
        if (b.address == a) {
            b.enabled = enable != FALSE;
            return 0;
        }
    // A listing line without a breakpoint gets one.
    const Entry* e = EntryAt(a);
    if (!e || e->address != a)
        return -1;
    Breakpoint b;
    b.file = Lower(e->file);
    b.line = e->line;
    b.address = a;
    b.enabled = enable != FALSE;
    m_breakpoints.push_back(b);
    return 0;
}

// ---- the breakpoint dialog: a check box per breakpoint

struct DialogState {
    std::vector<Breakpoint>* breakpoints;
    bool changed = false;
};

INT_PTR CALLBACK BreakpointDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DialogState* s = reinterpret_cast<DialogState*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        s = reinterpret_cast<DialogState*>(lParam);
        RECT unit = {0, 0, 4, 8};
        MapDialogRect(hwnd, &unit);
        int row = unit.bottom * 12 / 8;
        int n = static_cast<int>(s->breakpoints->size());
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
        for (int i = 0; i < n; ++i) {
            const Breakpoint& b = (*s->breakpoints)[static_cast<size_t>(i)];
            std::string name = b.file.substr(b.file.find_last_of('\\') + 1) + " line " + std::to_string(b.line) +
                               " (" + Address(b.address) + ")";
            HWND box = CreateWindowA("BUTTON", name.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                                     unit.right * 2, unit.bottom / 2 + row * i, unit.right * 52, row, hwnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FIRST_BREAKPOINT + i)), g_module, nullptr);
            SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
            CheckDlgButton(hwnd, IDC_FIRST_BREAKPOINT + i, b.enabled ? BST_CHECKED : BST_UNCHECKED);
        }
        // Room for the boxes above the buttons.
        int grow = row * n;
        for (int id : {IDOK, IDCANCEL}) {
            HWND button = GetDlgItem(hwnd, id);
            RECT r;
            GetWindowRect(button, &r);
            MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
            SetWindowPos(button, nullptr, r.left, r.top + grow, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
        RECT w;
        GetWindowRect(hwnd, &w);
        SetWindowPos(hwnd, nullptr, 0, 0, w.right - w.left, w.bottom - w.top + grow, SWP_NOMOVE | SWP_NOZORDER);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && s) {
            for (size_t i = 0; i < s->breakpoints->size(); ++i) {
                bool on = IsDlgButtonChecked(hwnd, IDC_FIRST_BREAKPOINT + static_cast<int>(i)) == BST_CHECKED;
                if (on != (*s->breakpoints)[i].enabled) {
                    (*s->breakpoints)[i].enabled = on;
                    s->changed = true;
                }
            }
            EndDialog(hwnd, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

int Board::EditBreakpoints()
{
    Trace("45 EditBreakpoints");
    std::vector<Breakpoint> copy;
    {
        Lock l(this);
        copy = m_breakpoints;
    }
    DialogState state;
    state.breakpoints = &copy;
    if (DialogBoxParamA(g_module, MAKEINTRESOURCEA(IDD_BREAKPOINTS), GetActiveWindow(), BreakpointDialogProc,
                        reinterpret_cast<LPARAM>(&state)) != IDOK || !state.changed)
        return 1;
    Lock l(this);
    for (size_t i = 0; i < copy.size() && i < m_breakpoints.size(); ++i)
        m_breakpoints[i].enabled = copy[i].enabled;
    Trace("breakpoints changed");
    return 0;
}

// ---- watch

std::unique_ptr<WatchNode> Board::Evaluate(const std::string& text)
{
    std::string name = Trim(text);
    for (const toy::Symbol& s : m_map.symbols) {
        if (s.name != name)
            continue;
        std::unique_ptr<WatchNode> n(new WatchNode);
        n->name = name;
        n->space = s.space;
        n->address = s.value;
        n->value = s.value;
        // Symbols with members: "[Members] name=member@offset,...", cells of the symbol's space.
        std::string members = m_config.Value("Members", name.c_str());
        size_t start = 0;
        while (!members.empty() && start <= members.size()) {
            size_t comma = members.find(',', start);
            std::string m = Trim(members.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
            size_t at = m.find('@');
            if (at != std::string::npos) {
                std::unique_ptr<WatchNode> c(new WatchNode);
                c->name = m.substr(0, at);
                c->space = toy::SPACE_RAM;
                c->address = (s.value + static_cast<uint32_t>(strtoul(m.c_str() + at + 1, nullptr, 0))) & 0xFF;
                c->memory = true;
                n->members.push_back(std::move(c));
            }
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
        return n;
    }
    return nullptr;
}

int Board::Add(const char* text, DWORD* handle)
{
    Trace("watch 4 Add %s", Str(text).c_str());
    if (!text || !handle)
        return -1;
    Lock l(this);
    std::unique_ptr<WatchNode> n = Evaluate(text);
    if (!n)
        return -1;
    DWORD h = m_nextWatch++;
    m_watches[h] = std::move(n);
    *handle = h;
    return 0;
}

int Board::GetText(ICE_WATCH_NODE node, int format, const char** value, const char** address)
{
    WatchNode* n = static_cast<WatchNode*>(node);
    if (!n)
        return -1;
    Lock l(this);
    DWORD v = n->memory ? ReadCell(n->space, n->address) : n->value;
    char buf[64];
    if (format == ICE_WATCH_FORMAT_DEC)
        snprintf(buf, sizeof(buf), "%lu", v);
    else if (format == ICE_WATCH_FORMAT_BIN) {
        std::string bits;
        for (int b = 7; b >= 0; --b)
            bits += (v >> b) & 1 ? '1' : '0';
        snprintf(buf, sizeof(buf), "%sb", bits.c_str());
    } else
        snprintf(buf, sizeof(buf), "0x%lX", v);
    n->valueText = buf;
    n->addressText = n->memory ? Address(n->address) : "";
    if (value)
        *value = n->valueText.c_str();
    if (address)
        *address = n->addressText.c_str();
    return 0;
}

int Board::SetText(ICE_WATCH_NODE node, const char* text)
{
    WatchNode* n = static_cast<WatchNode*>(node);
    Trace("watch 9 SetText %s", Str(text).c_str());
    if (!n || !text || !n->memory || m_running)
        return -1;
    char* end = nullptr;
    unsigned long v = strtoul(text, &end, 0);
    if (end == text || *end)
        return -1;
    Lock l(this);
    WriteCell(n->space, n->address, static_cast<DWORD>(v));
    return 0;
}

// ---- call stack and listing colours

int Board::StartLines()
{
    Lock l(this);
    m_stackLines.clear();
    m_nextStackLine = 0;
    auto describe = [this](uint32_t a) {
        std::string where = Address(a);
        const Entry* e = EntryAt(a);
        if (e)
            where += " " + e->file.substr(e->file.find_last_of('\\') + 1) + " line " + std::to_string(e->line);
        return where;
    };
    m_stackLines.push_back(describe(m_cpu.pc));
    for (size_t i = m_frames.size(); i-- > 0;)
        m_stackLines.push_back(describe(m_frames[i].callSite));
    return 0;
}

int Board::StartRanges()
{
    Lock l(this);
    m_ranges.clear();
    m_nextRange = 0;
    if (m_listingPath.empty())
        return -1;
    size_t first = m_part_ * kPartLines;
    for (size_t i = first; i < m_entries.size() && i < first + kPartLines; ++i) {
        int kind = m_entries[i].data ? ICE_RANGE_DATA : m_executed.count(m_entries[i].address) ? ICE_RANGE_EXECUTED : -1;
        if (kind < 0)
            continue;
        int line = static_cast<int>(i - first) + 1;
        if (!m_ranges.empty() && m_ranges.back().kind == kind && m_ranges.back().last == line - 1)
            m_ranges.back().last = line;
        else
            m_ranges.push_back(Range{line, line, kind});
    }
    return 0;
}

// ---- image: the watch list and the options

int Board::LoadImage(const char* path)
{
    Trace("target 3 LoadImage %s", Str(path).c_str());
    if (!path)
        return -1;
    Page* watch = WatchPage();
    watch->items.clear();
    char buf[512];
    for (int i = 1;; ++i) {
        std::string key = "Watch" + std::to_string(i);
        GetPrivateProfileStringA("Watch", key.c_str(), "", buf, sizeof(buf), path);
        if (!*buf)
            break;
        InsertItem(buf, 1, -1);
    }
    for (auto& p : m_pages)
        if (p->type == ICE_PAGE_OPTIONS)
            for (auto& o : p->items)
                o->optionValue = GetPrivateProfileIntA("Options", o->name.c_str(), static_cast<int>(o->optionValue), path);
    return 0;   // a missing image is an empty one
}

int Board::SaveImage(const char* path)
{
    Trace("target 8 SaveImage %s", Str(path).c_str());
    if (!path)
        return -1;
    std::string text = "[Watch]\r\n";
    Page* watch = WatchPage();
    for (size_t i = 0; i < watch->items.size(); ++i)
        text += "Watch" + std::to_string(i + 1) + "=" + watch->items[i]->name + "\r\n";
    text += "[Options]\r\n";
    for (auto& p : m_pages)
        if (p->type == ICE_PAGE_OPTIONS)
            for (auto& o : p->items)
                text += o->name + "=" + std::to_string(o->optionValue) + "\r\n";
    return toy::WriteWholeFile(path, text) ? 0 : -1;
}

int Board::InsertItem(const char* text, int page, int index)
{
    Trace("target 12 InsertItem %s %d %d", Str(text).c_str(), page, index);
    Page* p = PageAt(page);
    if (!p || !text || p->type != ICE_PAGE_WATCH || index < -1 || index > static_cast<int>(p->items.size()))
        return -1;
    std::unique_ptr<Item> item(new Item);
    item->board = this;
    item->name = text;
    item->access = 0;
    item->handle = ICE_NO_HANDLE;   // the IDE registers it with the watch interface
    auto at = index < 0 ? p->items.end() : p->items.begin() + index;
    p->items.insert(at, std::move(item));
    return 0;
}

int Board::DeleteItem(int page, int index)
{
    Trace("target 11 DeleteItem %d %d", page, index);
    Page* p = PageAt(page);
    if (!p || p->type != ICE_PAGE_WATCH || index < 0 || static_cast<size_t>(index) >= p->items.size())
        return -1;
    p->items.erase(p->items.begin() + index);
    return 0;
}

int Board::MoveItem(int page, int from, int to)
{
    Trace("target 6 MoveItem %d %d %d", page, from, to);
    Page* p = PageAt(page);
    int n = p ? static_cast<int>(p->items.size()) : 0;
    if (!p || from < 0 || from >= n || to < -1 || to >= n)
        return -1;
    std::unique_ptr<Item> item = std::move(p->items[static_cast<size_t>(from)]);
    p->items.erase(p->items.begin() + from);
    // Placed before the drop item (to counts before the move).
    int at = to < 0 ? static_cast<int>(p->items.size()) : (to > from ? to - 1 : to);
    p->items.insert(p->items.begin() + at, std::move(item));
    return 0;
}

int Board::CopyItem(int fromPage, int from, int toPage, int to)
{
    Trace("target 7 CopyItem %d %d %d %d", fromPage, from, toPage, to);
    Page* src = PageAt(fromPage);
    if (!src || from < 0 || static_cast<size_t>(from) >= src->items.size())
        return -1;
    return InsertItem(src->items[static_cast<size_t>(from)]->name.c_str(), toPage, to);
}

// ---- writing into the simulated storage

DWORD WINAPI Board::WriterProc(void* p)
{
    Board* b = static_cast<Board*>(p);
    std::string all;
    for (const std::string& f : b->m_writeFiles) {
        std::string bytes;
        toy::ReadWholeFile(f, bytes);
        all += bytes;
    }
    for (int waited = 0; waited < b->m_config.writeDelay && !b->m_abortWrite; waited += 10)
        Sleep(10);
    if (!b->m_abortWrite)
        toy::WriteWholeFile(b->m_config.folder + "ZComStorage.bin", all);
    b->Trace("write %s", b->m_abortWrite ? "aborted" : "done");
    if (b->m_notify)
        PostMessageA(b->m_notify, ICE_WM_NOTIFY, ICE_NOTIFY_WRITE_ENDED, 0);
    return 0;
}

int Board::WriteStorage(const char* part, const char* port, const char* files)
{
    std::string list;
    for (const char* p = files; p && *p; p += strlen(p) + 1)
        list += std::string(list.empty() ? "" : "|") + p;
    Trace("29 WriteStorage %s %s %s", Str(part).c_str(), Str(port).c_str(), list.c_str());
    if (Refused(29) || !(m_caps & ICE_CAP_WRITE) || !files || !*files || m_running)
        return -1;
    if (m_writer) {
        WaitForSingleObject(m_writer, INFINITE);
        CloseHandle(m_writer);
        m_writer = nullptr;
    }
    m_writeFiles.clear();
    for (const char* p = files; *p; p += strlen(p) + 1)
        m_writeFiles.push_back(p);
    m_abortWrite = false;
    m_writer = CreateThread(nullptr, 0, WriterProc, this, 0, nullptr);
    return m_writer ? 0 : -1;
}

// ---------------------------------------------------------------------------------------------

class Broker final : public I_ComBroker {
public:
    void Release() override
    {
        TraceLine(m_config.trace, "broker 0 Release");
        delete this;
    }
    int Init(const char* programFolder) override
    {
        if (!programFolder)
            return -1;
        m_config = Config();
        m_config.Read(programFolder);
        TraceLine(m_config.trace, "broker 1 Init %s", programFolder);
        return 0;
    }
    int CreateIce(int a, int b, const char* part, I_IceDevice** ice) override
    {
        TraceLine(m_config.trace, "broker 2 CreateIce %d %d %s", a, b, Str(part).c_str());
        if (!ice)
            return -1;
        *ice = nullptr;
        if (!part || !m_config.parts.count(Lower(part)))
            return -1;
        *ice = new Board(m_config, part, m_config.parts.at(Lower(part)));
        return 0;
    }

private:
    Config m_config;
};

} // namespace

extern "C" int __stdcall DllCheckVersion(DWORD* version)
{
    if (!version)
        return -1;
    *version = kBrokerVersion;
    return 0;
}

extern "C" int __stdcall CreateServiceInstance(int kind, I_ComBroker** broker)
{
    if (!broker || kind != 1)
        return 0;
    *broker = new Broker;
    return 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        InitializeCriticalSection(&g_traceLock);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        DeleteCriticalSection(&g_traceLock);
    }
    return TRUE;
}
