#include <gtest/gtest.h>
#include "support/system/ApplicationBroker.h"
#include "tests/harness/harness.h"
#include <atomic>
#include <cstring>
#include <string>
#include <thread>

namespace {

// Short names: window titles are searched only in their first 62 characters.
std::string ShortName(const char* prefix)
{
    static int counter = 0;
    return prefix + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(++counter);
}

struct FindTitle {
    std::string part;
    HWND found;
};

BOOL CALLBACK FindTitleProc(HWND hwnd, LPARAM lParam)
{
    FindTitle* find = reinterpret_cast<FindTitle*>(lParam);
    char title[256];
    if (GetWindowTextA(hwnd, title, sizeof(title)) > 0 && strstr(title, find->part.c_str())) {
        find->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindWindowWithTitle(const std::string& part)
{
    FindTitle find = {part, nullptr};
    EnumWindows(FindTitleProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

int CountOf(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// A copy of the receiver program under its own name in a folder; closes every copy it started.
class Receiver {
public:
    Receiver(const std::string& folder, const std::string& title = "", int delay = 0)
        : name(ShortName("Rcv")), exe(folder + "\\" + name + ".exe"), log(folder + "\\" + name + ".log"),
          title(title.empty() ? name : title)
    {
        CreateDirectoryA(folder.c_str(), nullptr);
        EXPECT_TRUE(CopyFileA("BrokerReceiver.exe", exe.c_str(), FALSE));
        std::string ini = "[Receiver]\r\nTitle=" + this->title + "\r\nDelay=" + std::to_string(delay) + "\r\n";
        vt::WriteFileBytes(folder + "\\" + name + ".ini", ini);
    }
    ~Receiver()
    {
        if (Log().find("START") != std::string::npos)
            WaitFor("READY", 10000);
        for (int i = 0; i < 5; ++i) {
            HWND hwnd = FindWindowWithTitle(title);
            if (!hwnd)
                break;
            vt::CloseProcessWindow(hwnd);
        }
    }
    std::string Log() const { return vt::ReadFileBytes(log); }
    bool WaitFor(const std::string& text, DWORD ms = 10000) const
    {
        for (DWORD waited = 0;; waited += 50) {
            if (Log().find(text) != std::string::npos)
                return true;
            if (waited >= ms)
                return false;
            Sleep(50);
        }
    }

    std::string name, exe, log, title;
};

tagApBrokerRequest MakeRequest(const std::string& target, const std::string& file)
{
    tagApBrokerRequest request;
    memset(&request, 0, sizeof(request));
    strcpy(request.senderName, "Kelbray IDE");
    lstrcpynA(request.targetName, target.c_str(), sizeof(request.targetName));
    lstrcpynA(request.filePath, file.c_str(), sizeof(request.filePath));
    return request;
}

// The shared table, held open by the test and emptied first.
class Table {
public:
    Table()
    {
        mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, AP_BROKER_TABLE_SIZE,
                                     AP_BROKER_SIGNATURE);
        bytes = static_cast<BYTE*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, AP_BROKER_TABLE_SIZE));
        if (bytes)
            memset(bytes, 0, AP_BROKER_TABLE_SIZE);
    }
    ~Table()
    {
        if (bytes)
            UnmapViewOfFile(bytes);
        if (mapping)
            CloseHandle(mapping);
    }
    tagApBrokerRequest* Slot(int i) { return reinterpret_cast<tagApBrokerRequest*>(bytes + i * 1208); }

    HANDLE mapping;
    BYTE* bytes;
};

// A top-level window of the test itself, found by its title like any receiver.
class TestWindow {
public:
    TestWindow() : title(ShortName("Win"))
    {
        hwnd = CreateWindowA("STATIC", title.c_str(), WS_OVERLAPPED, 0, 0, 100, 50, nullptr, nullptr, nullptr,
                             nullptr);
    }
    ~TestWindow() { DestroyWindow(hwnd); }
    // The slots of the requests posted to the window so far.
    std::string PostedSlots()
    {
        std::string slots;
        MSG msg;
        while (PeekMessageA(&msg, hwnd, AP_BROKER_WM_REQUEST, AP_BROKER_WM_REQUEST, PM_REMOVE))
            slots += std::to_string(msg.wParam);
        return slots;
    }
    std::string title;
    HWND hwnd;
};

class Broker : public ::testing::Test {
protected:
    void WriteConfig(const std::string& entries) { ini = dir.Write("tools.ini", "[Resource Editor]\r\n" + entries); }
    C_ApplicationBroker* Loaded(const std::string& entries)
    {
        WriteConfig(entries);
        broker.reset(new C_ApplicationBroker);
        EXPECT_TRUE(broker->Load(ini.c_str(), "Resource Editor", "Editor"));
        return broker.get();
    }
    I_Application* App(int i) { return static_cast<I_Application*>(broker->GetApplications()[i]); }

    vt::TempDir dir;
    std::string ini;
    std::unique_ptr<C_ApplicationBroker> broker;
};

TEST_F(Broker, ConfigurationFieldsInOrder)
{
    Loaded("Editor1=..\\bin\\paint.exe, Paint, 1, 1, .bmp, .WAV\r\n"
           "Editor2=C:\\x\\y.exe,Other,abc,2\r\n"
           "Editor3=C:\\x\\z.exe,Third\r\n"
           "Editor4=\r\n"
           "Editor5=C:\\x\\late.exe,Late,1,1\r\n");
    ASSERT_EQ(broker->GetApplications().GetSize(), 3);
    std::string parent = dir.Path().substr(0, dir.Path().find_last_of('\\') + 1);
    EXPECT_STREQ(App(0)->GetPath(), (parent + "bin\\paint.exe").c_str());
    EXPECT_STREQ(App(0)->GetName(), "Paint");
    EXPECT_EQ(App(0)->GetKind(), 1u);
    EXPECT_TRUE(App(0)->GetFlag());
    EXPECT_EQ(App(0)->GetExtensions()->GetCount(), 2);
    EXPECT_TRUE(App(0)->HasExtension(".wav"));
    EXPECT_FALSE(App(0)->HasExtension(".bm"));
    EXPECT_EQ(App(0)->CompareName("Paint"), 0);
    EXPECT_LT(App(0)->CompareName("Paintbrush"), 0);
    EXPECT_EQ(App(1)->GetKind(), 0u);
    EXPECT_FALSE(App(1)->GetFlag());
    EXPECT_EQ(App(2)->GetKind(), 0u);
    EXPECT_EQ(App(2)->GetExtensions()->GetCount(), 0);

    // A second Load appends.
    EXPECT_TRUE(broker->Load(ini.c_str(), "Resource Editor", "Editor"));
    EXPECT_EQ(broker->GetApplications().GetSize(), 6);
}

TEST_F(Broker, ChoosingAnApplicationAndTheLaunchFailureBox)
{
    Loaded("Editor1=C:\\x\\paint.exe,Paint,0,0,.bmp\r\n"
           "Editor2=missing prog.exe,Sound,0,0,.wav,.txt\r\n");
    vt::ModalAnswerer answerer;

    tagApBrokerRequest byName = MakeRequest("paint", "C:\\a.bmp");
    EXPECT_FALSE(broker->Open(&byName, AP_OPEN_BY_NAME));   // names differ in case
    EXPECT_EQ(answerer.Count(), 0u);

    tagApBrokerRequest byExt = MakeRequest("", "C:\\my files\\SONG.TXT");
    EXPECT_FALSE(broker->Open(&byExt, AP_OPEN_BY_EXTENSION));
    EXPECT_STREQ(byExt.targetName, "Sound");
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(answerer.Last().caption, "Application Broker");
    std::string program = dir.File("missing prog.exe");
    EXPECT_NE(answerer.Last().text.find("Unable to execute application '\"" + program +
                                        "\" \"C:\\my files\\SONG.TXT\"' !!"),
              std::string::npos)
        << answerer.Last().text;

    tagApBrokerRequest unknown = MakeRequest("", "C:\\a.zip");
    EXPECT_FALSE(broker->Open(&unknown, AP_OPEN_BY_EXTENSION));
    C_ApplicationBroker empty;
    EXPECT_FALSE(empty.Open(&byName, AP_OPEN_BY_NAME));
    EXPECT_EQ(answerer.Count(), 1u);
}

TEST_F(Broker, CommandLineHandOverWithBlanks)
{
    Receiver receiver(dir.File("with blank"));
    Loaded("Editor1=" + receiver.exe + "," + receiver.name + ",0,0\r\n");
    tagApBrokerRequest request = MakeRequest(receiver.name, "C:\\some dir\\a file.txt");
    EXPECT_TRUE(broker->Open(&request, AP_OPEN_BY_NAME));
    EXPECT_NE(request.targetWindow, 0u);
    ASSERT_TRUE(receiver.WaitFor("READY"));
    std::string log = receiver.Log();
    EXPECT_NE(log.find("START 1\r\nARG C:\\some dir\\a file.txt\r\n"), std::string::npos) << log;
}

TEST_F(Broker, TableHandOverLaunchesThenActivatesTheRunningCopy)
{
    Receiver receiver(dir.Path(), "", 1200);
    Loaded("Editor1=" + receiver.exe + "," + receiver.name + ",1,1\r\n");

    tagApBrokerRequest first = MakeRequest(receiver.name, "C:\\one.wav");
    strcpy(first.projectPath, "C:\\p.wbi");
    DWORD start = GetTickCount();
    ASSERT_TRUE(broker->Open(&first, AP_OPEN_BY_NAME));
    EXPECT_GE(GetTickCount() - start, 1000u);   // the window came late: posted again until found
    ASSERT_TRUE(receiver.WaitFor("TAKE"));
    EXPECT_NE(receiver.Log().find("TAKE 0 1 C:\\one.wav|" + receiver.name + "|Kelbray IDE|C:\\p.wbi"),
              std::string::npos)
        << receiver.Log();

    tagApBrokerRequest second = MakeRequest(receiver.name, "C:\\two.wav");
    EXPECT_TRUE(broker->Open(&second, AP_OPEN_BY_NAME));
    ASSERT_TRUE(receiver.WaitFor("C:\\two.wav"));
    EXPECT_EQ(CountOf(receiver.Log(), "START"), 1);
    EXPECT_EQ(CountOf(receiver.Log(), "TAKE 0 1 "), 2);
}

TEST_F(Broker, OpenFileIniHandOver)
{
    Receiver receiver(dir.Path());
    Loaded("Editor1=" + receiver.exe + "," + receiver.name + ",2,0\r\n");
    tagApBrokerRequest request = MakeRequest(receiver.name, "C:\\sounds\\hello world.wav");

    EXPECT_FALSE(broker->Open(&request, AP_OPEN_POST_ONLY));   // no running copy, none started
    Sleep(300);
    EXPECT_EQ(receiver.Log(), "");

    EXPECT_TRUE(broker->Open(&request, AP_OPEN_BY_NAME));
    EXPECT_EQ(vt::ReadFileBytes(dir.File("OpenFile.ini")), "C:\\sounds\\hello world.wav");
    ASSERT_TRUE(receiver.WaitFor("INI"));
    EXPECT_NE(receiver.Log().find("INI 1 C:\\sounds\\hello world.wav"), std::string::npos) << receiver.Log();
}

TEST_F(Broker, WindowThatNeverAppearsAndNoPostingInMode4)
{
    Receiver wrong(dir.File("a"), ShortName("Other"));
    Receiver late(dir.File("b"), "", 2500);

    Loaded("Editor1=" + wrong.exe + "," + wrong.name + ",0,0\r\n" + "Editor2=" + late.exe + "," + late.name +
           ",1,0\r\n");

    tagApBrokerRequest request = MakeRequest(wrong.name, "C:\\x.txt");
    DWORD start = GetTickCount();
    EXPECT_FALSE(broker->Open(&request, AP_OPEN_BY_NAME));
    EXPECT_GE(GetTickCount() - start, 4500u);
    EXPECT_EQ(CountOf(wrong.Log(), "START"), 1);

    // Mode 4: started, and neither waited for nor posted to.
    Table table;
    request = MakeRequest(late.name, "C:\\late.wav");
    start = GetTickCount();
    EXPECT_TRUE(broker->Open(&request, AP_OPEN_NO_POST));
    EXPECT_LT(GetTickCount() - start, 2000u);
    ASSERT_TRUE(late.WaitFor("READY"));
    Sleep(300);
    EXPECT_EQ(CountOf(late.Log(), "TAKE"), 0);
    EXPECT_STREQ(table.Slot(0)->filePath, "C:\\late.wav");
}

TEST(BrokerTable, TenSlotsThenFullAndTakingFreesOne)
{
    Table table;
    ASSERT_NE(table.bytes, nullptr);
    TestWindow window;
    C_ApplicationBroker sender;   // never loaded
    ASSERT_TRUE(sender.AddApplication("notepad.exe", window.title.c_str(), AP_KIND_TABLE, FALSE));
    for (int i = 0; i < 10; ++i) {
        tagApBrokerRequest request = MakeRequest(window.title, "C:\\f" + std::to_string(i) + ".wav");
        ASSERT_TRUE(sender.Open(&request, AP_OPEN_POST_ONLY)) << i;
        EXPECT_EQ(request.targetWindow, static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(window.hwnd)));
    }
    tagApBrokerRequest eleventh = MakeRequest(window.title, "C:\\f10.wav");
    EXPECT_FALSE(sender.Open(&eleventh, AP_OPEN_POST_ONLY));
    EXPECT_EQ(window.PostedSlots(), "0123456789");

    C_ApplicationBroker receiver;   // never loaded either
    tagApBrokerRequest taken;
    ASSERT_TRUE(receiver.TakeRequest(&taken, 3));
    EXPECT_STREQ(taken.filePath, "C:\\f3.wav");
    EXPECT_STREQ(taken.signature, AP_BROKER_SIGNATURE);
    EXPECT_EQ(taken.size, 1208u);
    tagApBrokerRequest untouched;
    memset(&untouched, 0xAB, sizeof(untouched));
    tagApBrokerRequest out = untouched;
    EXPECT_FALSE(receiver.TakeRequest(&out, 3));
    EXPECT_FALSE(receiver.TakeRequest(&out, 10));
    EXPECT_EQ(memcmp(&out, &untouched, sizeof(out)), 0);
    ASSERT_TRUE(receiver.TakeRequest(&out, MAKEWPARAM(4, 7)));   // the slot is the low word
    EXPECT_STREQ(out.filePath, "C:\\f4.wav");

    EXPECT_TRUE(sender.Open(&eleventh, AP_OPEN_POST_ONLY));
    EXPECT_EQ(window.PostedSlots(), "3");
}

TEST(BrokerTable, HostileSlotsRejectedOrCut)
{
    Table table;
    ASSERT_NE(table.bytes, nullptr);
    // Slot 2: valid stamp, every text field full to its end.
    memset(table.Slot(2), 'X', 1208);
    memcpy(table.Slot(2)->signature, AP_BROKER_SIGNATURE, 19);
    table.Slot(2)->size = 1208;
    // Slot 5: wrong size word. Slot 6: signature off by one character.
    memset(table.Slot(5), 0, 1208);
    strcpy(table.Slot(5)->signature, AP_BROKER_SIGNATURE);
    table.Slot(5)->size = 1207;
    strcpy(table.Slot(5)->filePath, "C:\\bad.wav");
    memcpy(table.Slot(6), table.Slot(5), 1208);
    table.Slot(6)->signature[18] = 'X';
    table.Slot(6)->size = 1208;

    C_ApplicationBroker receiver;
    tagApBrokerRequest out;
    ASSERT_TRUE(receiver.TakeRequest(&out, 2));
    EXPECT_EQ(strlen(out.signature), 31u);
    EXPECT_EQ(strlen(out.senderName), 63u);
    EXPECT_EQ(strlen(out.targetName), 63u);
    EXPECT_EQ(strlen(out.projectPath), 259u);
    EXPECT_EQ(strlen(out.filePath), 259u);
    EXPECT_FALSE(receiver.TakeRequest(&out, 5));
    EXPECT_FALSE(receiver.TakeRequest(&out, 6));

    // A slot with a wrong stamp counts as free and is written over.
    for (int i = 0; i < 10; ++i)
        if (i != 5) {
            memset(table.Slot(i), 0, 1208);
            strcpy(table.Slot(i)->signature, AP_BROKER_SIGNATURE);
            table.Slot(i)->size = 1208;
        }
    TestWindow window;
    C_ApplicationBroker sender;
    ASSERT_TRUE(sender.AddApplication("notepad.exe", window.title.c_str(), AP_KIND_TABLE, FALSE));
    tagApBrokerRequest request = MakeRequest(window.title, "C:\\good.wav");
    EXPECT_TRUE(sender.Open(&request, AP_OPEN_POST_ONLY));
    EXPECT_EQ(window.PostedSlots(), "5");
    EXPECT_STREQ(table.Slot(5)->filePath, "C:\\good.wav");
    EXPECT_EQ(table.Slot(5)->size, 1208u);
}

TEST(BrokerTable, BrokersWithoutLoadWaitForTheCommonLock)
{
    Table table;
    TestWindow window;
    C_ApplicationBroker sender;
    ASSERT_TRUE(sender.AddApplication("notepad.exe", window.title.c_str(), AP_KIND_TABLE, FALSE));
    HANDLE lock = CreateMutexA(nullptr, TRUE, AP_BROKER_MUTEX);
    ASSERT_NE(lock, nullptr);

    std::atomic<int> opened{-1};
    std::thread sending([&] {
        tagApBrokerRequest request = MakeRequest(window.title, "C:\\locked.wav");
        opened = sender.Open(&request, AP_OPEN_POST_ONLY);
    });
    vt::PumpMessages(400);
    EXPECT_EQ(opened.load(), -1);
    EXPECT_FALSE(IsValidBrokerRequest(table.bytes));

    ReleaseMutex(lock);
    // The sender reads our window's title: keep answering until it is done.
    while (opened.load() == -1)
        vt::PumpMessages(20);
    sending.join();
    EXPECT_EQ(opened.load(), 1);
    EXPECT_TRUE(IsValidBrokerRequest(table.bytes));

    ASSERT_EQ(WaitForSingleObject(lock, 1000), WAIT_OBJECT_0);
    C_ApplicationBroker receiver;
    std::atomic<int> took{-1};
    tagApBrokerRequest out;
    std::thread taking([&] { took = receiver.TakeRequest(&out, 0); });
    vt::PumpMessages(400);
    EXPECT_EQ(took.load(), -1);
    EXPECT_TRUE(IsValidBrokerRequest(table.bytes));
    ReleaseMutex(lock);
    while (took.load() == -1)
        vt::PumpMessages(20);
    taking.join();
    EXPECT_EQ(took.load(), 1);
    EXPECT_STREQ(out.filePath, "C:\\locked.wav");
    CloseHandle(lock);
}

} // namespace
