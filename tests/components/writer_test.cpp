// The writer component loaded from a copy of the program folder, as the IDE loads it.
#include "tests/components/pmtesting.h"
#include "components/include/WriterInterface.h"

using namespace pmt;

namespace {

class Writer : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* f : {WRITER_DLL_NAME, "Z61QK83Writer.ini", "UserBootProgram_USB.bin", "ImageWriter_NAND.bin"})
            ASSERT_TRUE(CopyFileA((vt::ProgramFolder() + f).c_str(), dir.File(f).c_str(), FALSE)) << f;
        WritePrivateProfileStringA("Trace", "Enable", "1", Ini().c_str());
        WritePrivateProfileStringA("Storage", "Capacity", "16", Ini().c_str());
        module = LoadLibraryExA(dir.File(WRITER_DLL_NAME).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        ASSERT_TRUE(module != nullptr);
        write = reinterpret_cast<PFN_WriterWrite>(reinterpret_cast<void (*)()>(GetProcAddress(module, WRITER_ENTRY_NAME)));
        ASSERT_TRUE(write != nullptr);
    }
    void TearDown() override
    {
        if (module)
            FreeLibrary(module);
    }
    std::string Ini() const { return dir.File("Z61QK83Writer.ini"); }
    std::string Storage() const { return vt::ReadFileBytes(dir.File("WriterStorage.bin")); }
    // Calls "Write" as the IDE does and collects the posted progress until -1 or -2.
    int Call(int op, const std::string& a2, const std::string& a3, const std::string& image1, DWORD s1,
             const char* image2, DWORD s2, DWORD start = 0)
    {
        sink.got.clear();
        progress.clear();
        int r = write(1, a2.c_str(), a3.c_str(), image1.c_str(), s1, image2, s2, start, sink.hwnd, op, 0x30000,
                      0xFFE7A000, 1);
        MSG m;
        while (sink.WaitFor(WRITER_WM_PROGRESS, 0, true, &m)) {
            progress.push_back({reinterpret_cast<const char*>(m.wParam), static_cast<int>(m.lParam)});
            if (m.lParam < 0)
                break;
        }
        return r;
    }
    int Last() const { return progress.empty() ? 0 : progress.back().second; }

    vt::TempDir dir;
    PostSink sink;
    HMODULE module = nullptr;
    PFN_WriterWrite write = nullptr;
    std::vector<std::pair<std::string, int>> progress;
    const std::string ubp = "UserBootProgram_USB.bin";
    const std::string writer = "ImageWriter_NAND.bin";
};

TEST_F(Writer, OperationsOnStorageAndUploadFiles)
{
    std::string user(700, 'u'), sys(100, 's');
    std::string userFile = dir.Write("Sample_user.fsf", user), sysFile = dir.Write("Sample_sys.fsf", sys);
    std::string pad = std::string(324, '\xFF');   // 700 bytes fill two sectors

    struct Case {
        const char* what;
        std::function<int()> call;
        int result;
        std::function<void()> check;
    } cases[] = {
        {"op 1 writes both images", [&] { return Call(WRITER_OP_WRITE, ubp, writer, userFile, 2, sysFile.c_str(), 1); }, 0,
         [&] { EXPECT_EQ(user + pad + sys + std::string(412, '\xFF'), Storage()); }},
        {"op 3 verifies the backups", [&] { return Call(WRITER_OP_VERIFY, "", "", userFile, 2, sysFile.c_str(), 1); }, 0,
         [] {}},
        {"op 2 uploads into arguments 2 and 3",
         [&] { return Call(WRITER_OP_UPLOAD, dir.File("u_up.bin"), dir.File("s_up.bin"), userFile, 2, sysFile.c_str(), 1); },
         0,
         [&] {
             EXPECT_EQ(user + pad, vt::ReadFileBytes(dir.File("u_up.bin")));
             EXPECT_EQ(sys + std::string(412, '\xFF'), vt::ReadFileBytes(dir.File("s_up.bin")));
         }},
        {"op 0x12 reads the sizes into the upload files",
         [&] { return Call(WRITER_OP_SIZED_UPLOAD, ubp, writer, dir.File("u2.bin"), 1, dir.File("s2.bin").c_str(), 2); }, 0,
         [&] {
             EXPECT_EQ(user.substr(0, 512), vt::ReadFileBytes(dir.File("u2.bin")));
             EXPECT_EQ(user.substr(512) + pad + sys + std::string(412, '\xFF'), vt::ReadFileBytes(dir.File("s2.bin")));
         }},
        {"op 0x81 writes the input file at the start sector",
         [&] { return Call(WRITER_OP_WRITE_FILE, ubp, writer, sysFile, 16, nullptr, 0, 4); }, 0,
         [&] { EXPECT_EQ(sys, Storage().substr(4 * 512, 100)); }},
        {"op 0x83 compares it", [&] { return Call(WRITER_OP_VERIFY_FILE, ubp, writer, sysFile, 16, nullptr, 0, 4); }, 0,
         [] {}},
        {"op 0x83 at another sector differs",
         [&] { return Call(WRITER_OP_VERIFY_FILE, ubp, writer, sysFile, 16, nullptr, 0, 0); }, -1, [] {}},
        {"op 3 with a file that differs", [&] { return Call(WRITER_OP_VERIFY, "", "", sysFile, 1, "", 0); }, -1, [] {}},
        {"op 1 beyond the capacity", [&] { return Call(WRITER_OP_WRITE, ubp, writer, userFile, 10, sysFile.c_str(), 7); },
         -1, [] {}},
        {"op 1 image larger than its size", [&] { return Call(WRITER_OP_WRITE, ubp, writer, userFile, 1, "", 0); }, -1,
         [] {}},
        {"op 0x81 with a missing input", [&] { return Call(WRITER_OP_WRITE_FILE, ubp, writer, dir.File("no.bin"), 16, nullptr, 0); },
         -1, [] {}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.result, c.call());
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(c.result == 0 ? WRITER_PROGRESS_DONE : WRITER_PROGRESS_FAILED, Last());
        EXPECT_FALSE(progress.back().first.empty());
        c.check();
    }
    // The trace has each call with its thirteen arguments.
    std::string trace = vt::ReadFileBytes(dir.File("WriterTrace.log"));
    EXPECT_NE(std::string::npos, trace.find("Write 1 UserBootProgram_USB.bin ImageWriter_NAND.bin " + userFile + " 2 " +
                                            sysFile + " 1 0 "));
    EXPECT_NE(std::string::npos, trace.find(" 0x81 0x30000 0xFFE7A000 1"));
}

TEST_F(Writer, ProgressEndsAndFailures)
{
    std::string input = dir.Write("in.bin", std::string(1000, 'x'));
    ASSERT_EQ(0, Call(WRITER_OP_WRITE_FILE, ubp, writer, input, 16, nullptr, 0));
    ASSERT_GE(progress.size(), 3u);
    EXPECT_EQ(0, progress.front().second);
    EXPECT_EQ(100, progress[progress.size() - 2].second);
    EXPECT_EQ(WRITER_PROGRESS_DONE, Last());

    // A missing boot program: -1 with a text naming it; nothing written.
    DeleteFileA(dir.File("WriterStorage.bin").c_str());
    DeleteFileA(dir.File(ubp).c_str());
    for (int op : {WRITER_OP_WRITE, WRITER_OP_SIZED_UPLOAD, WRITER_OP_WRITE_FILE}) {
        EXPECT_EQ(-1, Call(op, ubp, writer, input, 2, "", 0)) << op;
        ASSERT_EQ(1u, progress.size());
        EXPECT_EQ(WRITER_PROGRESS_FAILED, Last());
        EXPECT_NE(std::string::npos, progress.back().first.find(ubp));
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dir.File("WriterStorage.bin").c_str()));

    // A forced failure ends in -1.
    ASSERT_TRUE(CopyFileA((vt::ProgramFolder() + ubp).c_str(), dir.File(ubp).c_str(), FALSE));
    WritePrivateProfileStringA("Test", "FailOperation", "0x81", Ini().c_str());
    EXPECT_EQ(-1, Call(WRITER_OP_WRITE_FILE, ubp, writer, input, 16, nullptr, 0));
    EXPECT_EQ(WRITER_PROGRESS_FAILED, Last());
}

// The Write File dialog calls "Write" again from its finished handler: the messages are posted,
// so the second call runs after the first returned, and the first call's texts still hold.
TEST_F(Writer, VerifyFromTheFinishedHandler)
{
    std::string input = dir.Write("in.bin", std::string(600, 'y'));
    sink.got.clear();
    ASSERT_EQ(0, write(1, ubp.c_str(), writer.c_str(), input.c_str(), 16, nullptr, 0, 0, sink.hwnd, WRITER_OP_WRITE_FILE,
                       0x30000, 0xFFE7A000, 0));
    EXPECT_TRUE(sink.got.empty());   // nothing was sent into the caller
    MSG m;
    ASSERT_TRUE(sink.WaitFor(WRITER_WM_PROGRESS, 0, true, &m));
    const char* first = reinterpret_cast<const char*>(m.wParam);
    int verified = -100;
    while (sink.WaitFor(WRITER_WM_PROGRESS, 0, true, &m)) {
        if (m.lParam == WRITER_PROGRESS_DONE && verified == -100) {
            verified = write(1, ubp.c_str(), writer.c_str(), input.c_str(), 16, nullptr, 0, 0, sink.hwnd,
                             WRITER_OP_VERIFY_FILE, 0x30000, 0xFFE7A000, 0);
            continue;
        }
        if (m.lParam < 0)
            break;
    }
    EXPECT_EQ(0, verified);
    EXPECT_EQ(WRITER_PROGRESS_DONE, static_cast<int>(m.lParam));
    EXPECT_STREQ("Connecting...", first);
}

} // namespace
