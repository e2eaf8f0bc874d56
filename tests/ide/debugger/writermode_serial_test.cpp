// The Write File dialog against the writer component: "usbubp.ini", the preselection kept in
// the Windows folder's "DexWriterMode.ini" (restored afterwards: serial), the texts kept in
// "writerTool.ini", Burn with its refusals and its verify pass.
#include "tests/ide/debugger/writer_fixture.h"
#include "tests/ide/workbench/mainframe_fixture.h"
#include "resources/ideres.h"
#include <functional>

using namespace vt;

namespace {

std::string WindowsFile(const char* name)
{
    char sz[MAX_PATH] = "";
    ::GetWindowsDirectoryA(sz, MAX_PATH);
    return std::string(sz) + "\\" + name;
}

// "DexWriterMode.ini" of the Windows folder as it was, put back at the end.
struct DexWriterModeKept {
    std::string path = WindowsFile("DexWriterMode.ini");
    bool existed = ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    std::string bytes = existed ? ReadFileBytes(path) : "";
    ~DexWriterModeKept()
    {
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, "DexWriterMode.ini");   // flush the cache
        if (existed)
            WriteFileBytes(path, bytes);
        else
            ::DeleteFileA(path.c_str());
    }
    void Set(int ubp, int writer)
    {
        ::WritePrivateProfileStringA("DexBusWidth", "BusWidthNumber", std::to_string(ubp).c_str(), "DexWriterMode.ini");
        ::WritePrivateProfileStringA("DexStorageMode", "StorageModeNumber", std::to_string(writer).c_str(),
                                     "DexWriterMode.ini");
    }
};

const char* kThreeEntries =
    "[USB_UBP]\r\nA=U1\r\nB=U2\r\nC=U3\r\n[Writer]\r\nA=W1\r\nB=W2\r\n"
    "[U1]\r\nDescription=UBP one\r\nFile_name=UserBootProgram_USB.bin\r\n"
    "[U2]\r\nDescription=UBP two\r\nFile_name=UserBootProgram_USB.bin\r\n"
    "[U3]\r\nDescription=UBP three\r\nFile_name=UserBootProgram_USB.bin\r\n"
    "[W1]\r\nDescription=W one\r\nFile_name=ImageWriter_NAND.bin\r\nProperty=3\r\n"
    "[W2]\r\nDescription=W two\r\nFile_name=ImageWriter_NAND.bin\r\n";

TEST(WriterMode, UsbUbpIniGivesTheAddressTheEntriesAndTheirProperties)
{
    TempDir dir;
    CWriterMode dlg;
    dlg.m_strProgramFolder = (dir.Path() + "\\").c_str();
    dir.Write("usbubp.ini", kThreeEntries);
    dlg.ReadUsbUbpIni();
    EXPECT_EQ(0xFFE7A000u, dlg.m_dwUbpAddress);   // no [USBUBP_DEF]
    EXPECT_EQ(0x30000u, dlg.m_dwWriteImageAddress);
    EXPECT_EQ(3u, dlg.m_nUbpCount);
    EXPECT_EQ(2u, dlg.m_nWriterCount);
    EXPECT_STREQ("UBP three", dlg.m_szUbpDescription[2]);
    EXPECT_STREQ("3", dlg.m_szWriterProperty[0]);
    EXPECT_STREQ("1", dlg.m_szWriterProperty[1]);   // no Property: storage type 1

    // More entries than the lists hold: the first hundred.
    std::string many = "[USBUBP_DEF]\r\nADDRESS=1234\r\n[USB_UBP]\r\n";
    for (int i = 0; i < 120; ++i)
        many += "K" + std::to_string(i) + "=S" + std::to_string(i) + "\r\n";
    many += "[Writer]\r\n";
    for (int i = 0; i < 120; ++i)
        many += "K" + std::to_string(i) + "=S" + std::to_string(i) + "\r\n";
    for (int i = 0; i < 120; ++i)
        many += "[S" + std::to_string(i) + "]\r\nDescription=D" + std::to_string(i) + "\r\n";
    dir.Write("usbubp.ini", many);
    dlg.ReadUsbUbpIni();
    EXPECT_EQ(0x1234u, dlg.m_dwUbpAddress);
    EXPECT_EQ(100u, dlg.m_nUbpCount);
    EXPECT_EQ(100u, dlg.m_nWriterCount);
    EXPECT_STREQ("D99", dlg.m_szWriterDescription[99]);
    EXPECT_STREQ("NULL", dlg.m_szWriterFile[99]);
}

// The dialog shown modeless over the private program folder, driven by its messages.
struct BurnFixture : ::testing::Test {
    DexWriterModeKept dex;
    WriterFolder program;
    TempDir work;
    CWnd owner;
    CWriterMode dlg;
    std::string input;
    std::string bytes = std::string(1500, 'I') + "tail";

    void SetUp() override
    {
        dex.Set(0, 0);
        input = work.Write("image.bin", bytes);
        ASSERT_TRUE(owner.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr));
        dlg.m_hWriterDll = ::LoadLibraryA((program.Path() + "Z61QK83Writer.dll").c_str());
        ASSERT_NE(nullptr, dlg.m_hWriterDll);
        ASSERT_TRUE(dlg.Create(IDD_WRITER_MODE, &owner));
        ::SetPropA(dlg.m_hWnd, "vt.answered", (HANDLE)1);
    }
    void TearDown() override
    {
        if (dlg.m_hWnd)
            dlg.DestroyWindow();
    }
    void Type(int id, const std::string& text) { dlg.SetDlgItemText(id, text.c_str()); }
    void Click(int id)
    {
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)dlg.GetDlgItem(id)->m_hWnd);
        PumpMessages();
    }
    void Burn(const char* size, const char* start)
    {
        Type(IDC_WRITER_STORAGE_SIZE, size);
        Type(IDC_WRITER_START_ADDRESS, start);
        Type(IDC_WRITER_INPUT_FILE, input);
        Click(IDC_WRITER_BURN);
    }
};

TEST_F(BurnFixture, BurnWritesWhatTheBoxesShowNow)
{
    ModalAnswerer boxes;
    // Typed after the dialog opened, never taken by Input File... or OK.
    Burn("80", "1F");
    auto calls = program.Calls();
    ASSERT_EQ(1u, calls.size());
    std::vector<std::string> want = {"1", "UserBootProgram_USB.bin", "ImageWriter_NAND.bin", input, "163840", "(null)",
                                     "0", "31", "0x81", "0x30000", "0xFFE7A000", "0"};
    EXPECT_EQ(want, calls[0]);
    EXPECT_EQ(want, Fields(dlg.BurnArgs(WRITER_OP_WRITE_FILE)));
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ("Write completed.", boxes.Last().text);
    EXPECT_EQ("Message", boxes.Last().caption);
    EXPECT_EQ(bytes, program.Storage().substr(31 * 512, bytes.size()));
    EXPECT_EQ(100, dlg.m_wndProgress.GetPos());
    CString text;
    dlg.m_wndProgress.GetWindowText(text);
    EXPECT_STREQ("Write completed.", text);
    EXPECT_TRUE(dlg.m_bWriting);   // no verify pass asked for
}

TEST_F(BurnFixture, VerifyRunsOnceAfterTheWrite)
{
    ModalAnswerer boxes;
    dlg.SendDlgItemMessage(IDC_WRITER_VERIFY, BM_CLICK);
    PumpMessages();
    ASSERT_TRUE(dlg.m_bVerify);
    Burn("80", "0");
    auto calls = program.Calls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ("0x81", calls[0][8]);
    EXPECT_EQ("0x83", calls[1][8]);
    EXPECT_EQ(input, calls[1][3]);
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ("Verify completed.", boxes.Last().text);
    // Another completion starts nothing.
    dlg.PostMessage(WRITER_WM_PROGRESS, (WPARAM) "done again", WRITER_PROGRESS_DONE);
    PumpMessages();
    EXPECT_EQ(2u, program.Calls().size());
    EXPECT_EQ(3u, boxes.Count());
}

TEST_F(BurnFixture, BurnRefusesAndReports)
{
    std::string empty = work.Write("empty.bin", "");
    std::string big = work.Write("big.bin", std::string(513, 'B'));
    struct Row {
        const char* name;
        const char* size;
        std::function<void()> setup;
        const char* text;
        size_t calls;
    } rows[] = {
        {"513 bytes in 0 MB", "0", [&] { input = big; }, "Write File is over than the size of storage", 0},
        {"0 bytes in 0 MB", "0", [&] { input = empty; }, "Write completed.", 1},
        {"no such file", "80", [&] { input = work.File("none.bin"); }, "No such file", 0},
        {"writer without storage type", "80", [&] { dlg.m_wndWriterList.SetCurSel(1); }, "Storage Type fail", 0},
        {"no writer chosen", "80", [&] { dlg.m_wndWriterList.SetCurSel(-1); }, "Can not write to storage", 0},
        {"the component fails", "80", [&] { program.SetFail(0x81); }, "The writer refused the operation.", 1},
        {"no boot program", "80", [&] { ::DeleteFileA(program.dir.File("UserBootProgram_USB.bin").c_str()); },
         "The boot program UserBootProgram_USB.bin is missing.", 1},
        {"no component", "80", [&] { ::FreeLibrary(dlg.m_hWriterDll); dlg.m_hWriterDll = nullptr; },
         "Can not write to storage", 0},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        ::DeleteFileA(program.dir.File("WriterTrace.log").c_str());
        ModalAnswerer boxes;
        r.setup();
        Burn(r.size, "0");
        EXPECT_EQ(r.calls, program.Calls().size());
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(r.text, boxes.Last().text);
        EXPECT_EQ(r.calls && r.text[0] == 'W' ? "Message" : "Error", boxes.Last().caption);
        input = work.File("image.bin");
        dlg.m_wndWriterList.SetCurSel(0);
        program.SetFail(-1);
    }
}

TEST(WriterModeFrame, TextsAndChoicesAreKeptOnOk)
{
    DexWriterModeKept dex;
    WriterFolder program;
    program.dir.Write("usbubp.ini", kThreeEntries);
    program.dir.Write("writerTool.ini", "[Data]\r\nStorageSize=80\r\n");
    dex.Set(2, 1);
    MainFrame f;
    ASSERT_TRUE(f.p);
    {
        CWriterMode probe;
        CWnd owner;
        ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "o", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr));
        ASSERT_TRUE(probe.Create(IDD_WRITER_MODE, &owner));
        EXPECT_EQ(2, probe.m_wndUbpList.GetCurSel());   // the third entry
        EXPECT_EQ(1, probe.m_wndWriterList.GetCurSel());
        probe.DestroyWindow();
    }
    ModalAnswerer boxes;
    boxes.Queue(ModalAnswer(IDOK)
                    .Type(IDC_WRITER_STORAGE_SIZE, "16")
                    .Type(IDC_WRITER_START_ADDRESS, "20")
                    .Type(IDC_WRITER_INPUT_FILE, "C:\\x\\image.fsf")
                    .Check(IDC_WRITER_VERIFY)
                    .Choose(IDC_WRITER_UBP_LIST, "UBP two")
                    .Choose(IDC_WRITER_WRITER_LIST, "W one"));
    f.p->OnFileWriteFile();
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ("Write File", boxes.Last().caption);
    EXPECT_EQ(nullptr, f.p->m_hWriterDll);
    const std::string ini = program.dir.File("writerTool.ini");
    auto key = [&](const char* name) {
        char sz[600] = "";
        ::GetPrivateProfileStringA("Data", name, "(none)", sz, sizeof sz, ini.c_str());
        return std::string(sz);
    };
    EXPECT_EQ("16", key("StorageSize"));
    EXPECT_EQ("20", key("StartAddress"));
    EXPECT_EQ("C:\\x\\image.fsf", key("FileName"));
    EXPECT_EQ("1", key("Verify"));
    EXPECT_EQ("30000", key("WriteImageAddress"));
    EXPECT_EQ(1, (int)::GetPrivateProfileIntA("DexBusWidth", "BusWidthNumber", -1, "DexWriterMode.ini"));
    EXPECT_EQ(0, (int)::GetPrivateProfileIntA("DexStorageMode", "StorageModeNumber", -1, "DexWriterMode.ini"));

    // Read back and kept: an OK without changes writes the same texts.
    std::string before = ReadFileBytes(ini);
    boxes.Queue(ModalAnswer(IDOK));
    f.p->OnFileWriteFile();
    EXPECT_EQ(before, ReadFileBytes(ini));
    // Cancel keeps nothing.
    boxes.Queue(ModalAnswer(IDCANCEL).Type(IDC_WRITER_STORAGE_SIZE, "99"));
    f.p->OnFileWriteFile();
    EXPECT_EQ("16", key("StorageSize"));
}

} // namespace
