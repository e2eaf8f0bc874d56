// The emulator broker loaded as the IDE loads it, with its simulated board running the sample's build.
#include "tests/components/pmtesting.h"
#include "components/include/IceInterface.h"
#include <memory>
#include <utility>
#include <vector>

using namespace pmt;

namespace {

#if defined(__i386__)
#define ICE_TEST_THISCALL __thiscall
#else
#define ICE_TEST_THISCALL
#endif

// The sample built once by the project-manager stand-in.
struct Build {
    SampleCopy sample;
    std::string obj, second, map, main, sound;
    Build()
    {
        OwnerWindow owner;
        Component pm(owner.hwnd);
        EXPECT_TRUE(pm->OpenProject(sample.Project().c_str()));
        EXPECT_TRUE(RunOnWorker([&] { return pm->Build(TRUE); }));
        char buf[PM_PATH_SIZE] = {0};
        EXPECT_TRUE(pm->GetOutputFile(buf));
        obj = buf;
        EXPECT_TRUE(pm->GetSecondOutputFile(buf));
        second = buf;
        map = obj.substr(0, obj.size() - 4) + ".map";
        main = sample.Folder() + "main.asm";
        sound = sample.Folder() + "sound.asm";
    }
};

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string FileList(const std::vector<std::string>& files)
{
    std::string list;
    for (const std::string& f : files)
        list += f + '\0';
    return list + '\0';
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        out.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    return out;
}

class IceBoard : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_build = new Build; }
    static void TearDownTestSuite()
    {
        delete s_build;
        s_build = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(CopyFileA((vt::ProgramFolder() + "ZComSim.ini").c_str(), Config().c_str(), FALSE));
        WritePrivateProfileStringA("Trace", "Enable", "1", Config().c_str());
        WritePrivateProfileStringA("Trace", "File", "trace.log", Config().c_str());
        module = LoadLibraryExA((vt::ProgramFolder() + ICE_BROKER_DLL_NAME).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        ASSERT_TRUE(module != nullptr);
        auto create = reinterpret_cast<PFN_ICE_CREATE_SERVICE>(reinterpret_cast<void (*)()>(GetProcAddress(module, ICE_CREATE_ENTRY_NAME)));
        ASSERT_TRUE(create != nullptr);
        ASSERT_NE(0, create(1, &broker));
        ASSERT_TRUE(broker != nullptr);
    }
    void TearDown() override
    {
        if (ice)
            ice->Release();
        if (broker)
            broker->Release();
        if (module)
            FreeLibrary(module);
    }
    std::string Config() const { return folder.File("ZComSim.ini"); }
    std::string Trace() const { return vt::ReadFileBytes(folder.File("trace.log")); }

    // A board for the part, opened on COM1, with the sample downloaded and its listing written.
    void Open(const char* part = "KV61A-S28")
    {
        ASSERT_NO_FATAL_FAILURE(Create(part));
        ASSERT_NO_FATAL_FAILURE(Load(part));
    }
    void Create(const char* part)
    {
        ASSERT_EQ(0, broker->Init(folder.Path().c_str()));
        ASSERT_EQ(0, broker->CreateIce(1, 1, part, &ice));
    }
    void Load(const char* part)
    {
        char text[ICE_OPEN_TEXT_SIZE] = {0};
        DWORD word = 0;
        ASSERT_EQ(0, ice->OpenBoard("COM1", part, text, &word));
        ASSERT_EQ(0, ice->SetNotifyWindow(notify.hwnd));
        ASSERT_EQ(0, ice->Download(notify.hwnd, FileList({s_build->obj, s_build->second}).c_str(), s_build->map.c_str(),
                                   0xFF, TRUE, 0));
        strcpy(listing, (s_build->obj.substr(0, s_build->obj.size() - 4) + ".dis").c_str());
        ASSERT_EQ(0, ice->WriteListing(s_build->obj.c_str(), listing));
    }
    // The breakpoint lines the board lists for a file, with their states.
    static std::vector<std::pair<int, DWORD>> Listed(I_IceBreakpointList* bp, const char* file)
    {
        std::vector<std::pair<int, DWORD>> listed;
        int line = 0;
        DWORD state = 0;
        if (bp->StartListing(file) == 0)
            while (bp->GetNext(&line, &state) == 0)
                listed.emplace_back(line, state & 0xFFFF);
        return listed;
    }
    // Starts an execution slot and waits for the board's stop message.
    void Stopped(int result)
    {
        ASSERT_EQ(0, result);
        ASSERT_TRUE(notify.WaitFor(ICE_WM_TARGET_STOPPED, 0));
    }
    DWORD PC()
    {
        DWORD bank = 9, offset = 0;
        EXPECT_EQ(0, ice->GetPC(&bank, &offset));
        EXPECT_EQ(0u, bank);
        return offset;
    }
    template <class T> T* Interface(DWORD id)
    {
        void* p = nullptr;
        EXPECT_EQ(ICE_INTERFACE_GIVEN, ice->GetInterface(id, &p));
        return static_cast<T*>(p);
    }

    static Build* s_build;
    vt::TempDir folder;
    PostSink notify;
    HMODULE module = nullptr;
    I_ComBroker* broker = nullptr;
    I_IceDevice* ice = nullptr;
    char listing[ICE_PATH_SIZE] = {0};
};
Build* IceBoard::s_build = nullptr;

TEST_F(IceBoard, PartsPortsCapabilitiesAndInterfaces)
{
    auto check = reinterpret_cast<PFN_ICE_CHECK_VERSION>(reinterpret_cast<void (*)()>(GetProcAddress(module, ICE_VERSION_ENTRY_NAME)));
    ASSERT_TRUE(check != nullptr);
    DWORD version = 0;
    EXPECT_GE(check(&version), 0);
    EXPECT_NE(0u, version);

    ASSERT_EQ(0, broker->Init(folder.Path().c_str()));
    struct { const char* part; DWORD caps; } parts[] = {
        {"KV61A-S28", 0x100001DF},   // everything but 0x20
        {"KV61A-Q44", 0x100001DE},   // no breakpoints
        {"KV61B-S28", 0x100001DD},   // no step out
        {"KQ83-L48", 0x100001FF},    // listing edits forbidden
    };
    for (auto& p : parts) {
        I_IceDevice* d = nullptr;
        ASSERT_EQ(0, broker->CreateIce(1, 1, p.part, &d)) << p.part;
        DWORD caps = 0;
        EXPECT_EQ(0, d->GetCapabilities(&caps));
        EXPECT_EQ(p.caps, caps) << p.part;
        I_IceBreakpointList* bp = nullptr;
        EXPECT_EQ((p.caps & ICE_CAP_BREAKPOINTS) ? 0 : -1, d->GetBreakpointList(&bp)) << p.part;
        d->Release();
    }
    I_IceDevice* none = reinterpret_cast<I_IceDevice*>(1);
    EXPECT_NE(0, broker->CreateIce(1, 1, "XX99", &none));
    EXPECT_EQ(nullptr, none);

    ASSERT_EQ(0, broker->CreateIce(1, 1, "KV61A-S28", &ice));
    char text[ICE_OPEN_TEXT_SIZE] = {0};
    DWORD word = 0;
    I_IceDebugTarget* target = nullptr;
    EXPECT_NE(0, ice->GetDebugTarget(&target));   // not before the board is open
    EXPECT_NE(0, ice->OpenBoard("LPT2", "KV61A-S28", text, &word));
    EXPECT_NE(0, ice->OpenBoard("COM1", "XX99", text, &word));
    EXPECT_EQ(0, ice->OpenBoard("COM1", "KV61A-S28", text, &word));
    EXPECT_EQ(0, ice->GetDebugTarget(&target));
    EXPECT_TRUE(target != nullptr);

    for (DWORD id : {ICE_IID_ACTION_TABLE, ICE_IID_DISASM, ICE_IID_WATCH, ICE_IID_CALL_STACK}) {
        void* p = nullptr;
        EXPECT_EQ(ICE_INTERFACE_GIVEN, ice->GetInterface(id, &p)) << id;
        EXPECT_TRUE(p != nullptr);
    }
    void* p = nullptr;
    EXPECT_NE(ICE_INTERFACE_GIVEN, ice->GetInterface(0x10000001, &p));

    // Before writing the part comes in an 81-byte buffer: the trace shows its bytes.
    char part[ICE_OPEN_TEXT_SIZE];
    memset(part, 0xFF, 80);
    part[80] = 0;
    memcpy(part, "KV61A-S28\0WTR\0\0\0", 16);
    EXPECT_EQ(0, ice->OpenBoard("COM1", part, text, &word));
    EXPECT_NE(std::string::npos, Trace().find("3 OpenBoard COM1 KV61A-S28 bytes 4B563631412D53323800575452000000FFFF"));
}

TEST_F(IceBoard, DownloadListingPagingAndMapping)
{
    Open();
    std::vector<std::string> lines = Lines(vt::ReadFileBytes(listing));
    ASSERT_EQ(8u, lines.size());
    EXPECT_EQ("00:0000", lines[0].substr(0, 7));
    EXPECT_EQ("1005", lines[0].substr(15, 4));
    EXPECT_EQ("LDI A, COUNT", lines[0].substr(24).substr(lines[0].substr(24).find_first_not_of(' ')));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((s_build->obj.substr(0, s_build->obj.size() - 4) + ".dsr").c_str()));

    // The PC's line, then the next and the previous part of the program.
    char path[ICE_PATH_SIZE] = {0};
    int line = 0, reload = ICE_LISTING_SHOW;
    ASSERT_EQ(0, ice->GetPCListingLine(path, &line, &reload));
    EXPECT_STREQ(listing, path);
    EXPECT_EQ(1, line);
    EXPECT_EQ(0, reload);
    reload = ICE_LISTING_NEXT_PART;
    ASSERT_EQ(0, ice->GetPCListingLine(path, &line, &reload));
    EXPECT_EQ(1, reload);
    lines = Lines(vt::ReadFileBytes(listing));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ("00:0011", lines[0].substr(0, 7));
    EXPECT_EQ("00:0104", lines.back().substr(0, 7));
    reload = ICE_LISTING_PREVIOUS_PART;
    ASSERT_EQ(0, ice->GetPCListingLine(path, &line, &reload));
    EXPECT_EQ(1, reload);
    EXPECT_EQ("00:0000", vt::ReadFileBytes(listing).substr(0, 7));

    // Address -> listing rewrites the listing when the address is in another part.
    ASSERT_EQ(0, ice->AddressToListing(0, 0x100, path, &line, &reload));
    EXPECT_EQ(1, reload);
    EXPECT_EQ(4, line);
    EXPECT_EQ("00:0100", Lines(vt::ReadFileBytes(listing))[3].substr(0, 7));

    // Source <-> address <-> listing.
    DWORD bank = 9, offset = 0;
    ASSERT_EQ(0, ice->SourceToAddress(s_build->main.c_str(), 14, &bank, &offset));
    EXPECT_EQ(0u, bank);
    EXPECT_EQ(0xCu, offset);
    EXPECT_NE(0, ice->SourceToAddress(s_build->main.c_str(), 1, &bank, &offset));   // a comment
    ASSERT_EQ(0, ice->AddressToSource(0, 0x102, ICE_PATH_SIZE, path, &line));
    EXPECT_EQ(Lower(s_build->sound), Lower(path));
    EXPECT_EQ(5, line);
    ASSERT_EQ(0, ice->SourceToAddress(listing, 4, &bank, &offset));   // the listing shows part 2
    EXPECT_EQ(0x100u, offset);

    I_IceDisAsm* dis = Interface<I_IceDisAsm>(ICE_IID_DISASM);
    int kind = -1;
    ASSERT_EQ(0, dis->ListingToSource(4, path, &line));
    EXPECT_EQ(Lower(s_build->sound), Lower(path));
    EXPECT_EQ(4, line);
    EXPECT_EQ(0, dis->GetLineKind(4, &kind));
    EXPECT_EQ(ICE_LINE_INSTRUCTION, kind);
    EXPECT_NE(0, dis->GetLineKind(40, &kind));

    // In-place edit of one listing line (line from 0): same length only.
    char text[ICE_LISTING_TEXT_SIZE];
    snprintf(text, sizeof(text), "%-24sLDI D, 7", "00:0102");
    ASSERT_EQ(0, ice->EditListingLine(listing, 4, text));
    EXPECT_EQ("00:0102        1307     LDI D, 7", std::string(text));
    EXPECT_EQ(std::string(text), Lines(vt::ReadFileBytes(listing))[4]);
    snprintf(text, sizeof(text), "%-24sCALL 0", "00:0102");
    EXPECT_NE(0, ice->EditListingLine(listing, 4, text));
    snprintf(text, sizeof(text), "%-24sBOGUS", "00:0102");
    EXPECT_NE(0, ice->EditListingLine(listing, 4, text));
}

TEST_F(IceBoard, DsrAndForbiddenListingEdits)
{
    WritePrivateProfileStringA("Switches", "WriteDsr", "1", Config().c_str());
    Open("KQ83-L48");
    std::string dsr = s_build->obj.substr(0, s_build->obj.size() - 4) + ".dsr";
    EXPECT_EQ(vt::ReadFileBytes(listing), vt::ReadFileBytes(dsr));
    DeleteFileA(dsr.c_str());
    char text[ICE_LISTING_TEXT_SIZE];
    snprintf(text, sizeof(text), "%-24sLDI A, 6", "00:0000");
    EXPECT_NE(0, ice->EditListingLine(listing, 0, text));
}

TEST_F(IceBoard, RunStepsRunToAndStopNotify)
{
    Open();
    DWORD status = 0;
    ASSERT_EQ(0, ice->GetStatus(&status));
    const DWORD stopped = 0x8 | 0x20 | 0x80 | 0x200 | 0x400 | 0x2000;
    EXPECT_EQ(stopped, status);

    Stopped(ice->Run(6, 0));   // to the HALT
    EXPECT_EQ(0x13u, PC());
    EXPECT_EQ(0, ice->Restart());
    EXPECT_EQ(0u, PC());

    Stopped(ice->StepInto());
    EXPECT_EQ(2u, PC());
    Stopped(ice->RunTo(0, 0xC));   // the CALL
    EXPECT_EQ(0xCu, PC());
    Stopped(ice->StepInto());
    EXPECT_EQ(0x100u, PC());

    // Inside the subroutine: the call stack shows the CALL's frame; the RAM page hides itself.
    I_IceCallStack* stack = Interface<I_IceCallStack>(ICE_IID_CALL_STACK);
    ASSERT_EQ(0, stack->StartLines());
    const char* text = nullptr;
    std::vector<std::string> frames;
    while (stack->GetNextLine(&text) == 0)
        frames.push_back(text);
    ASSERT_EQ(2u, frames.size());
    EXPECT_EQ("00:0100 sound.asm line 4", frames[0]);
    EXPECT_EQ("00:000C main.asm line 14", frames[1]);
    DWORD a = 9, b = 0, c = 0, d = 0;
    ASSERT_EQ(0, stack->GetTopFrame(0, &a, &b));
    EXPECT_EQ(0x100u, b);
    ASSERT_EQ(0, stack->GetFrame(0, &a, &b));
    EXPECT_EQ(0u, a);
    EXPECT_EQ(0xCu, b);
    EXPECT_NE(0, stack->GetFrame(1, &a, &b));
    ASSERT_EQ(0, stack->GetContext(1, &c, &d));
    EXPECT_EQ(1u, c);
    EXPECT_EQ(0xFFu, d);

    Stopped(ice->StepOut());
    EXPECT_EQ(0xFu, PC());
    EXPECT_EQ(0, ice->Restart());
    Stopped(ice->RunTo(0, 0xC));
    Stopped(ice->StepOver());
    EXPECT_EQ(0xFu, PC());

    // Source-level stepping: one line is one instruction here, step over still skips the call.
    EXPECT_EQ(0, ice->SetSourceLevelStep(TRUE));
    Stopped(ice->StepInto());
    EXPECT_EQ(0x11u, PC());

    // An endless program: HALT becomes NOP, the PC wraps around the code space.
    char path[ICE_PATH_SIZE];
    int line = 0, reload = 0;
    ASSERT_EQ(0, ice->AddressToListing(0, 0x13, path, &line, &reload));
    char edit[ICE_LISTING_TEXT_SIZE];
    snprintf(edit, sizeof(edit), "%-24sNOP", "00:0013");
    ASSERT_EQ(0, ice->EditListingLine(listing, line - 1, edit));
    EXPECT_EQ(0, ice->Restart());
    ASSERT_EQ(0, ice->Run(6, 0));
    ASSERT_EQ(0, ice->GetStatus(&status));
    EXPECT_EQ(static_cast<DWORD>(ICE_STATUS_STOP), status);
    EXPECT_NE(0, ice->StepInto());   // refused while running
    Stopped(ice->Stop());
    ASSERT_EQ(0, ice->GetStatus(&status));
    EXPECT_EQ(stopped, status);

    // History: "BB:AAAA text" lines.
    DWORD count = 0;
    HGLOBAL global = nullptr;
    ASSERT_EQ(0, ice->GetHistory(&count, &global));
    ASSERT_TRUE(global != nullptr);
    std::string history = static_cast<const char*>(GlobalLock(global));
    GlobalUnlock(global);
    EXPECT_GT(count, 0u);
    ASSERT_GT(history.size(), 8u);
    EXPECT_EQ(':', history[2]);
    EXPECT_EQ(' ', history[7]);
    EXPECT_EQ(0, ice->ClearHistory());
    EXPECT_EQ(0, ice->ResetHistory());
    ASSERT_EQ(0, ice->GetHistory(&count, &global));
    EXPECT_EQ(0u, count);
}

TEST_F(IceBoard, BreakpointsByLineAndAddress)
{
    Open();
    I_IceBreakpointList* bp = nullptr;
    ASSERT_EQ(0, ice->GetBreakpointList(&bp));
    ASSERT_EQ(0, bp->Add(s_build->main.c_str(), 11));
    ASSERT_EQ(0, bp->Add(s_build->sound.c_str(), 6));
    EXPECT_NE(0, bp->Add(s_build->main.c_str(), 7));   // no code there
    Stopped(ice->Run(6, 0));
    EXPECT_EQ(5u, PC());
    Stopped(ice->Run(6, 0));   // the loop comes back
    EXPECT_EQ(5u, PC());

    const std::vector<std::pair<int, DWORD>> enabled11 = {{11, static_cast<DWORD>(ICE_BREAKPOINT_ENABLED)}};
    EXPECT_EQ(enabled11, Listed(bp, s_build->main.c_str()));

    EXPECT_EQ(0, bp->Enable(s_build->main.c_str(), 11, FALSE));
    Stopped(ice->Run(6, 0));
    EXPECT_EQ(0x104u, PC());   // the RET in sound.asm
    // By listing address: the listing shows the part with 0x104 now.
    EXPECT_EQ(0, bp->EnableAt(0, 0x104, FALSE));
    std::vector<std::pair<int, DWORD>> inListing = Listed(bp, nullptr);
    ASSERT_FALSE(inListing.empty());
    EXPECT_EQ(static_cast<DWORD>(ICE_BREAKPOINT_DISABLED), inListing[0].second);
    Stopped(ice->Run(6, 0));
    EXPECT_EQ(0x13u, PC());

    EXPECT_EQ(0, bp->Move(s_build->main.c_str(), 11, 12));
    EXPECT_EQ(0, bp->Enable(s_build->main.c_str(), 12, TRUE));
    EXPECT_EQ(0, bp->Remove(s_build->main.c_str(), 12));
    EXPECT_NE(0, bp->Remove(s_build->main.c_str(), 12));

    // The dialog lists them; the harness presses OK without a change: answer 1.
    vt::ModalAnswerer answerer;
    EXPECT_EQ(1, ice->EditBreakpoints());
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Breakpoints", answerer.Last().caption);
    DWORD state = 0;
    EXPECT_EQ(0, ice->Diagnose("KV61A-S28", "COM1", &state));
    EXPECT_EQ(0, ice->ConfigDialog());
    EXPECT_EQ(3u, answerer.Count());
}

// Set before the program is on the board: kept by line, placed at the download (a line
// without code goes then), and the run stops there.
TEST_F(IceBoard, BreakpointsSetBeforeTheDownload)
{
    ASSERT_NO_FATAL_FAILURE(Create("KV61A-S28"));
    I_IceBreakpointList* bp = nullptr;
    ASSERT_EQ(0, ice->GetBreakpointList(&bp));
    ASSERT_EQ(0, bp->Add(s_build->main.c_str(), 11));
    ASSERT_EQ(0, bp->Add(s_build->main.c_str(), 11));
    ASSERT_EQ(0, bp->Add(s_build->main.c_str(), 7));   // no code there
    ASSERT_EQ(0, bp->Add(s_build->main.c_str(), 12));
    EXPECT_EQ(0, bp->Remove(s_build->main.c_str(), 12));
    EXPECT_NE(0, bp->Remove(s_build->main.c_str(), 12));
    ASSERT_NO_FATAL_FAILURE(Load("KV61A-S28"));
    Stopped(ice->Run(6, 0));
    EXPECT_EQ(5u, PC());

    const std::vector<std::pair<int, DWORD>> enabled11 = {{11, static_cast<DWORD>(ICE_BREAKPOINT_ENABLED)}};
    EXPECT_EQ(enabled11, Listed(bp, s_build->main.c_str()));
}

TEST_F(IceBoard, PagesMemoryInThreeUnitsAndImage)
{
    Open();
    Stopped(ice->Run(6, 0));
    I_IceDebugTarget* target = nullptr;
    ASSERT_EQ(0, ice->GetDebugTarget(&target));
    I_IceDebugPageList* pages = nullptr;
    ASSERT_EQ(0, target->GetPageList(&pages));
    std::vector<I_IceDebugPage*> memory;
    std::vector<int> types;
    I_IceDebugPage* registers = nullptr;
    void* pos = pages->GetFirstPosition();
    while (I_IceDebugPage* p = pages->GetNext(&pos)) {
        types.push_back(p->GetType());
        char name[40];
        p->GetName(name);
        EXPECT_LE(strlen(name), static_cast<size_t>(ICE_PAGE_NAME_MAX));
        if (p->GetType() == ICE_PAGE_MEMORY)
            memory.push_back(p);
        if (p->GetType() == ICE_PAGE_REGISTERS)
            registers = p;
    }
    EXPECT_EQ(std::vector<int>({3, 6, 2, 2, 2, 4, 5}), types);
    ASSERT_EQ(3u, memory.size());

    // Registers: A holds 0x34 (from the table word) and can be written; one item has no value.
    ASSERT_TRUE(registers != nullptr);
    void* ip = registers->GetFirstPosition();
    I_IceDebugItem* a = registers->GetNext(&ip);
    char name[ICE_ITEM_NAME_SIZE];
    a->GetName(name);
    EXPECT_STREQ("A", name);
    EXPECT_EQ(0x34u, a->GetValue());
    I_IceValueSetter* setter = nullptr;
    ASSERT_NE(0, a->GetObject(ICE_ITEM_SETTER, reinterpret_cast<void**>(&setter)));
    EXPECT_EQ(0, setter->SetValue(0x9C));
    EXPECT_EQ(0x9Cu, a->GetValue());
    I_IceChildList* children = nullptr;
    ASSERT_NE(0, a->GetObject(ICE_ITEM_CHILDREN, reinterpret_cast<void**>(&children)));
    children->Start();
    I_IceDebugItem* high = children->GetNext();
    ASSERT_TRUE(high != nullptr);
    EXPECT_EQ(0x9u, high->GetValue());
    ASSERT_TRUE(children->GetAt(1) != nullptr);
    EXPECT_EQ(0xCu, children->GetAt(1)->GetValue());
    EXPECT_TRUE(children->GetNext() != nullptr);
    EXPECT_EQ(nullptr, children->GetNext());
    EXPECT_EQ(0, a->SetFormat(ICE_FORMAT_BIN));
    EXPECT_EQ(ICE_FORMAT_BIN, a->GetFormat());
    int noValue = 0;
    for (void* q = registers->GetFirstPosition(); q;)
        noValue += registers->GetNext(&q)->GetAccess() == ICE_ACCESS_NO_VALUE;
    EXPECT_EQ(1, noValue);

    // Each unit: the block, a read, a write through the memory tab's slot, the read again.
    struct { int kind; DWORD space; int offset; int value; std::string bytes; } units[] = {
        {ICE_KIND_NIBBLES, 2, 3, 0xA, "\x0A"},
        {ICE_KIND_WORDS, 3, 1, 0xBEEF, "\xEF\xBE"},
        {ICE_KIND_BYTES, 1, 0x21, 0x7E, "\x7E"},
    };
    for (int i = 0; i < 3; ++i) {
        void* first = memory[static_cast<size_t>(i)]->GetFirstPosition();
        I_IceDebugItem* item = memory[static_cast<size_t>(i)]->GetNext(&first);
        EXPECT_EQ(units[i].kind, item->GetKind());
        I_IceMemoryBlock* block = item->GetMemoryBlock();
        ASSERT_TRUE(block != nullptr);
        EXPECT_EQ(units[i].space, block->GetSpace());
        uint8_t* buffer = static_cast<uint8_t*>(memory[static_cast<size_t>(i)]->GetBuffer());
        ASSERT_EQ(0, ice->ReadMemory(units[i].space, 0, buffer));
        EXPECT_EQ(buffer, block->GetData());
        // The memory pages follow Registers and Watch in the page list.
        EXPECT_EQ(0, ice->WriteMemory(i + 2, 0, units[i].offset, units[i].value));
        EXPECT_EQ(0, ice->AfterMemoryWrite(0, 0));
        ASSERT_EQ(0, ice->ReadMemory(units[i].space, 0, buffer));
        size_t unit = units[i].kind == ICE_KIND_WORDS ? 2 : 1;
        EXPECT_EQ(units[i].bytes, std::string(reinterpret_cast<char*>(buffer) + units[i].offset * unit, unit)) << i;
        EXPECT_NE(0, ice->WriteMemory(i + 2, 0, 100000, 1));
    }
    EXPECT_NE(0, ice->WriteMemory(0, 0, 0, 1)) << "the registers page takes no memory writes";
    // The sample's data: RAM 0x20.. = 1 2 3, ST [0x10] stored 0x34, table word 0 = 0x1234.
    uint8_t* ram = static_cast<uint8_t*>(memory[2]->GetBuffer());
    ASSERT_EQ(0, ice->ReadMemory(1, 0, ram));
    EXPECT_EQ(1, ram[0x20]);
    EXPECT_EQ(3, ram[0x22]);
    EXPECT_EQ(0x34, ram[0x10]);
    uint8_t* table = static_cast<uint8_t*>(memory[1]->GetBuffer());
    ASSERT_EQ(0, ice->ReadMemory(3, 0, table));
    EXPECT_EQ(0x34, table[0]);
    EXPECT_EQ(0x12, table[1]);
    EXPECT_EQ(1, memory[2]->IsShown());

    // The watch list and the options travel through the ".wim" image.
    EXPECT_EQ(0, target->InsertItem("COUNT", 1, -1));
    EXPECT_EQ(0, target->InsertItem("loop", 1, 0));
    EXPECT_EQ(0, target->CopyItem(1, 1, 1, -1));
    EXPECT_EQ(0, target->MoveItem(1, 2, 0));
    EXPECT_EQ(0, target->DeleteItem(1, 2));
    EXPECT_NE(0, target->DeleteItem(1, 5));
    std::string image = folder.File("Sample.wim");
    ASSERT_EQ(0, target->SaveImage(image.c_str()));
    EXPECT_EQ("COUNT", ReadKey(image, "Watch", "Watch1"));
    EXPECT_EQ("loop", ReadKey(image, "Watch", "Watch2"));
    I_IceDevice* other = nullptr;
    ASSERT_EQ(0, broker->CreateIce(1, 1, "KV61A-S28", &other));
    char text[ICE_OPEN_TEXT_SIZE];
    DWORD word = 0;
    ASSERT_EQ(0, other->OpenBoard("COM2", "KV61A-S28", text, &word));
    I_IceDebugTarget* t2 = nullptr;
    ASSERT_EQ(0, other->GetDebugTarget(&t2));
    ASSERT_EQ(0, t2->LoadImage(image.c_str()));
    I_IceDebugPageList* l2 = nullptr;
    t2->GetPageList(&l2);
    void* p2 = l2->GetFirstPosition();
    l2->GetNext(&p2);
    EXPECT_EQ(2, l2->GetNext(&p2)->GetItemCount());
    other->Release();
}

TEST_F(IceBoard, WatchMembersAndSubroutinePage)
{
    Open();
    I_IceWatch* watch = Interface<I_IceWatch>(ICE_IID_WATCH);
    DWORD handle = 0;
    EXPECT_NE(0, watch->Add("nosuch", &handle));
    ASSERT_EQ(0, watch->Add("COUNT", &handle));
    EXPECT_GE(handle, ICE_WATCH_HANDLE_BASE);
    int kind = 0;
    DWORD extra = 0;
    ASSERT_EQ(0, watch->GetKind(handle, &kind, &extra));
    EXPECT_EQ(ICE_WATCH_MEMBERS, kind);
    ICE_WATCH_NODE root = watch->GetRoot(handle);
    DWORD a = 0, b = 0;
    EXPECT_EQ(0, watch->Check(root, &a, &b));
    const char* value = nullptr;
    const char* address = nullptr;
    ASSERT_EQ(0, watch->GetText(root, ICE_WATCH_FORMAT_HEX, &value, &address));
    EXPECT_STREQ("0x5", value);
    int count = 0;
    ASSERT_EQ(0, watch->GetMemberCount(root, &count));
    ASSERT_EQ(2, count);
    const char* name = nullptr;
    ICE_WATCH_NODE high = nullptr;
    ASSERT_EQ(0, watch->GetMember(root, 1, &name, &high));
    EXPECT_STREQ("high", name);
    EXPECT_EQ(0, watch->IsReadOnly(high));
    EXPECT_EQ(0, watch->SetText(high, "0x42"));
    ASSERT_EQ(0, watch->GetText(high, ICE_WATCH_FORMAT_DEC, &value, &address));
    EXPECT_STREQ("66", value);
    EXPECT_STREQ("00:0006", address);
    EXPECT_NE(0, watch->SetText(high, "junk"));
    EXPECT_EQ(0, watch->SetContext(0, 0, 0, 0xFF));
    EXPECT_EQ(0, watch->Release(handle));
    EXPECT_NE(0, watch->GetKind(handle, &kind, &extra));

    // The RAM page hides itself inside a subroutine.
    I_IceDebugTarget* target = nullptr;
    ASSERT_EQ(0, ice->GetDebugTarget(&target));
    I_IceDebugPageList* pages = nullptr;
    target->GetPageList(&pages);
    I_IceDebugPage* ram = nullptr;
    for (void* pos = pages->GetFirstPosition(); pos;) {
        I_IceDebugPage* p = pages->GetNext(&pos);
        char n[40];
        p->GetName(n);
        if (std::string(n) == "RAM Bytes")
            ram = p;
    }
    ASSERT_TRUE(ram != nullptr);
    Stopped(ice->RunTo(0, 0x100));
    EXPECT_EQ(0, ram->IsShown());
    Stopped(ice->StepOut());
    EXPECT_EQ(1, ram->IsShown());

    // Executed lines are coloured: kind 0 ranges in the listing.
    I_IceDisAsm* dis = Interface<I_IceDisAsm>(ICE_IID_DISASM);
    char path[ICE_PATH_SIZE];
    int line = 0, reload = 0;
    ASSERT_EQ(0, ice->AddressToListing(0, 0, path, &line, &reload));
    ASSERT_EQ(0, dis->StartRanges());
    int first = 0, last = 0, k = -1;
    ASSERT_EQ(0, dis->GetNextRange(&first, &last, &k));
    EXPECT_EQ(1, first);
    EXPECT_EQ(7, last);   // up to the CALL's return, not yet executed
    EXPECT_EQ(ICE_RANGE_EXECUTED, k);
}

TEST_F(IceBoard, WriteActionsProjectsAndSlotGuard)
{
    Open();
    std::string files = FileList({s_build->obj, s_build->second});
    ASSERT_EQ(0, ice->WriteStorage("KV61A-S28", "COM1", files.c_str()));
    ASSERT_TRUE(notify.WaitFor(ICE_WM_NOTIFY, ICE_NOTIFY_WRITE_ENDED));
    EXPECT_EQ(0, ice->EndWriting());
    EXPECT_EQ(vt::ReadFileBytes(s_build->obj) + vt::ReadFileBytes(s_build->second),
              vt::ReadFileBytes(folder.File("ZComStorage.bin")));

    I_IceActionTable* actions = Interface<I_IceActionTable>(ICE_IID_ACTION_TABLE);
    ASSERT_EQ(2, actions->GetCount());
    EXPECT_STREQ("Reset Board", actions->GetName(0));
    WORD flags = 0, key = 0, command = 0;
    ASSERT_EQ(0, actions->GetAccelerator(0, &flags, &key, &command));
    EXPECT_EQ('R', key);
    ASSERT_EQ(0, actions->GetAccelerator(1, &flags, &key, &command));
    EXPECT_EQ(0, key);
    for (int i = 0; i < 2; ++i) {
        DWORD image = 0, style = 1;
        ASSERT_EQ(0, actions->GetImage(i, &image, &style));
        EXPECT_EQ(0u, style);
        HICON icon = LoadIconA(module, MAKEINTRESOURCEA(image));
        EXPECT_TRUE(icon != nullptr) << i;
    }
    int idle = -1, debug = -1, running = -1, writing = -1;
    ASSERT_EQ(0, actions->GetState(1, &idle, &debug, &running, &writing));
    EXPECT_EQ(std::vector<int>({0, 1, 1, 0}), std::vector<int>({idle, debug, running, writing}));
    EXPECT_EQ(0, actions->Execute(1, notify.hwnd));
    EXPECT_EQ(0, actions->EndAction());
    EXPECT_NE(std::string::npos, Trace().find("LED port now"));

    EXPECT_EQ(0, ice->NewProject("C:\\p\\a.wbi"));
    EXPECT_EQ(0, ice->EnterDebugMode());
    EXPECT_EQ(0, ice->LeaveDebugMode());
    EXPECT_EQ(0, ice->CloseProject("C:\\p\\a.wbi"));
    std::string trace = Trace();
    for (const char* t : {"39 NewProject C:\\p\\a.wbi", "43 EnterDebugMode", "44 LeaveDebugMode", "42 CloseProject"})
        EXPECT_NE(std::string::npos, trace.find(t)) << t;

    // Named slots through raw vtable indexes agree with the header's calls.
    // The table holds functions: read it as such, never through object pointers.
    typedef void (*AnySlot)();
    AnySlot* vt = *reinterpret_cast<AnySlot**>(ice);
    typedef int(ICE_TEST_THISCALL * OutFn)(void*, DWORD*);
    typedef int(ICE_TEST_THISCALL * PairFn)(void*, DWORD*, DWORD*);
    typedef int(ICE_TEST_THISCALL * BoolFn)(void*, BOOL);
    typedef int(ICE_TEST_THISCALL * TextFn)(void*, const char*);
    DWORD caps = 0, status = 0, x = 0, y = 0;
    EXPECT_EQ(0, reinterpret_cast<OutFn>(vt[34])(ice, &caps));
    EXPECT_EQ(0x100001DFu, caps);
    EXPECT_EQ(0, reinterpret_cast<OutFn>(vt[9])(ice, &status));
    EXPECT_EQ(0x26A8u, status);
    EXPECT_EQ(0, reinterpret_cast<PairFn>(vt[13])(ice, &x, &y));
    EXPECT_EQ(0, reinterpret_cast<BoolFn>(vt[50])(ice, TRUE));
    EXPECT_NE(0, reinterpret_cast<TextFn>(vt[2])(ice, "XX99"));
    EXPECT_EQ(0, reinterpret_cast<TextFn>(vt[41])(ice, "C:\\p\\b.wbi"));
    EXPECT_NE(std::string::npos, Trace().find("41 SaveProject C:\\p\\b.wbi"));
    I_IceBreakpointList* bp = nullptr;
    ASSERT_EQ(0, ice->GetBreakpointList(&bp));
    typedef int(ICE_TEST_THISCALL * LineFn)(void*, const char*, int);
    EXPECT_EQ(0, reinterpret_cast<LineFn>((*reinterpret_cast<AnySlot**>(bp))[3])(bp, s_build->main.c_str(), 9));
    EXPECT_EQ(0, reinterpret_cast<TextFn>((*reinterpret_cast<AnySlot**>(bp))[11])(bp, s_build->main.c_str()));
    int line = 0;
    DWORD state = 0;
    EXPECT_EQ(0, bp->GetNext(&line, &state));
    EXPECT_EQ(9, line);
    I_IceWatch* watch = Interface<I_IceWatch>(ICE_IID_WATCH);
    typedef int(ICE_TEST_THISCALL * AddFn)(void*, const char*, DWORD*);
    DWORD handle = 0;
    EXPECT_EQ(0, reinterpret_cast<AddFn>((*reinterpret_cast<AnySlot**>(watch))[4])(watch, "loop", &handle));
    EXPECT_GE(handle, ICE_WATCH_HANDLE_BASE);
    I_IceActionTable* table = Interface<I_IceActionTable>(ICE_IID_ACTION_TABLE);
    typedef int(ICE_TEST_THISCALL * CountFn)(void*);
    EXPECT_EQ(2, reinterpret_cast<CountFn>((*reinterpret_cast<AnySlot**>(table))[0])(table));
}

TEST_F(IceBoard, RefusedSlotAndSlowWriteStopped)
{
    WritePrivateProfileStringA("Switches", "RefuseSlot", "10", Config().c_str());
    WritePrivateProfileStringA("Switches", "SlowWrite", "1", Config().c_str());
    Open();
    EXPECT_NE(0, ice->Run(6, 0));
    std::string files = FileList({s_build->obj});
    ASSERT_EQ(0, ice->WriteStorage("KV61A-S28", "COM1", files.c_str()));
    EXPECT_EQ(0, ice->StopWriting());
    ASSERT_TRUE(notify.WaitFor(ICE_WM_NOTIFY, ICE_NOTIFY_WRITE_ENDED));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder.File("ZComStorage.bin").c_str()));
    EXPECT_NE(std::string::npos, Trace().find("write aborted"));
}

} // namespace

TEST_F(IceBoard, ActionCountAndClearedStatusBits)
{
    WritePrivateProfileStringA("Switches", "Actions", "300", Config().c_str());
    WritePrivateProfileStringA("Switches", "ClearStatus", "0x84", Config().c_str());
    Open();
    auto* actions = Interface<I_IceActionTable>(ICE_IID_ACTION_TABLE);
    ASSERT_TRUE(actions != nullptr);
    EXPECT_EQ(300, actions->GetCount());
    EXPECT_STREQ("Toggle LED", actions->GetName(1));
    EXPECT_STREQ("Action 300", actions->GetName(299));
    DWORD image = 0, style = 9;
    EXPECT_EQ(0, actions->GetImage(299, &image, &style));
    EXPECT_EQ(101u, image);
    EXPECT_EQ(nullptr, actions->GetName(300));
    DWORD status = 0;
    ASSERT_EQ(0, ice->GetStatus(&status));
    EXPECT_EQ(0u, status & 0x84);
    EXPECT_NE(0u, status & ICE_STATUS_STEP);
}
