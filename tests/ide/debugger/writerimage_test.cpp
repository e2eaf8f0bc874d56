// Writing, verifying and uploading the project image against the writer component: the
// names and sizes, each call's arguments, the failures, the upload sizes and the enabling.
#include "tests/ide/debugger/writer_fixture.h"
#include "tests/ide/workbench/mainframe_fixture.h"
#include "tests/harness/sample_copy.h"

using namespace vt;

namespace {

TEST(WriterNames, FourCharactersAreCutFromTheOutputPath)
{
    WriterImageNames n = FormWriterImageNames("C:\\P\\demo.bin");
    std::vector<std::string> got = {(LPCSTR)n.strUser, (LPCSTR)n.strSys, (LPCSTR)n.strUserBackup,
                                    (LPCSTR)n.strSysBackup, (LPCSTR)n.strUserUpload, (LPCSTR)n.strSysUpload};
    std::vector<std::string> want = {"C:\\P\\demo_user.fsf", "C:\\P\\demo_sys.fsf", "C:\\P\\demo_user.bak",
                                     "C:\\P\\demo_sys.bak", "C:\\P\\demo_user_upload.bin", "C:\\P\\demo_sys_upload.bin"};
    EXPECT_EQ(want, got);
    EXPECT_STREQ("C:\\P\\dem_user.fsf", FormWriterImageNames("C:\\P\\demo.db").strUser);
    EXPECT_STREQ("", FormWriterImageNames("").strUser);
}

TEST(WriterNames, SizesComeFromTheProjectKeys)
{
    TempDir dir;
    struct { const char* keys; DWORD user, sys; int media, app; } rows[] = {
        {"ImageSize=8\r\nHASSYSDISK=1\r\nSYSSIZE=2\r\n", 12288, 4096, 1, 1},
        {"ImageSize=8\r\nHASSYSDISK=0\r\nSYSSIZE=2\r\n", 16384, 0, 1, 1},
        {"MEDIATYPE=3\r\nAPPStart=7\r\n", 2048, 0, 3, 7},   // ImageSize 1 by default
    };
    for (auto& r : rows) {
        std::string project = dir.Write("p.wbi", std::string("[VeltaneTool]\r\n") + r.keys);
        WriterProjectKeys keys = ReadWriterProjectKeys(project.c_str(), TRUE);
        DWORD user = 0, sys = 0;
        WriterImageSectors(keys, user, sys);
        EXPECT_EQ(r.user, user) << r.keys;
        EXPECT_EQ(r.sys, sys) << r.keys;
        EXPECT_EQ(r.media, keys.nMediaType);
        EXPECT_EQ(r.app, keys.nAppStart);
        EXPECT_STREQ("UserBootProgram_USB.bin", keys.strUsbUbpFile);
        EXPECT_STREQ("ImageWriter_NAND.bin", keys.strWriterModeFile);
    }
}

TEST(WriterNames, EachProjectCallSitePassesItsArguments)
{
    WriterProjectKeys keys;
    keys.nMediaType = 2;
    keys.nAppStart = 5;
    keys.strUsbUbpFile = "ubp.bin";
    keys.strWriterModeFile = "wr.bin";
    WriterProjectCall call;
    call.names = FormWriterImageNames("C:\\P\\d.bin");
    call.nUserSectors = 100;
    call.nSysSectors = 20;
    call.dwUbpAddress = 0xFFE7A000;
    using V = std::vector<std::string>;
    struct { int op; V want; } rows[] = {
        {WRITER_OP_WRITE, {"2", "ubp.bin", "wr.bin", "C:\\P\\d_user.fsf", "100", "C:\\P\\d_sys.fsf", "20", "0", "0x1",
                           "0x5", "0xFFE7A000", "1"}},
        {WRITER_OP_UPLOAD, {"2", "C:\\P\\d_user_upload.bin", "C:\\P\\d_sys_upload.bin", "C:\\P\\d_user.bak", "100",
                            "C:\\P\\d_sys.bak", "20", "0", "0x2", "0x5", "0xFFE7A000", "1"}},
        {WRITER_OP_VERIFY, {"2", "", "", "C:\\P\\d_user.bak", "100", "C:\\P\\d_sys.bak", "20", "0", "0x3", "0x5",
                            "0xFFE7A000", "1"}},
        {WRITER_OP_SIZED_UPLOAD, {"2", "ubp.bin", "wr.bin", "C:\\P\\d_user_upload.bin", "100",
                                  "C:\\P\\d_sys_upload.bin", "20", "0", "0x12", "0x5", "0xFFE7A000", "1"}},
    };
    for (auto& r : rows)
        EXPECT_EQ(r.want, Fields(ProjectWriterArgs(r.op, keys, call))) << r.op;
}

struct ImageFixture : ::testing::Test {
    WriterFolder program;
    TempDir work;
    MainFrame f;
    std::string out, user, sys;
    std::string userBytes = std::string(1000, 'U') + "end", sysBytes = std::string(600, 'S');

    void SetUp() override
    {
        ASSERT_TRUE(f.p);
        f.p->m_strProjectPath = work.Write("demo.wbi", "[VeltaneTool]\r\nMEDIATYPE=2\r\nAPPStart=5\r\nImageSize=4\r\n"
                                                       "HASSYSDISK=1\r\nSYSSIZE=1\r\n").c_str();
        out = work.File("demo.bin");
        user = work.File("demo_user.fsf");
        sys = work.File("demo_sys.fsf");
    }
    void TearDown() override
    {
        if (f.p)
            f.p->ReleaseWriter();
    }
    void Images(bool withSys = true)
    {
        WriteFileBytes(user, userBytes);
        if (withSys)
            WriteFileBytes(sys, sysBytes);
    }
};

TEST_F(ImageFixture, WriteVerifyAndUploadMoveTheImagesAndKeepBackups)
{
    Images();
    ModalAnswerer boxes;
    f.p->WriteImageFor(0, out.c_str());
    EXPECT_EQ(0u, boxes.Count()) << (boxes.Count() ? boxes.Last().text : "");
    EXPECT_TRUE(f.p->m_bImageWritten);
    EXPECT_EQ(userBytes, ReadFileBytes(work.File("demo_user.bak")));
    EXPECT_EQ(sysBytes, ReadFileBytes(work.File("demo_sys.bak")));
    EXPECT_EQ(6144u, f.p->m_nUserSectors);
    EXPECT_EQ(2048u, f.p->m_nSysSectors);
    std::string storage = program.Storage();
    ASSERT_EQ((6144u + 2048u) * 512u, storage.size());
    EXPECT_EQ(userBytes, storage.substr(0, userBytes.size()));
    EXPECT_EQ(sysBytes, storage.substr(6144u * 512u, sysBytes.size()));

    f.p->WriteImageFor(3, out.c_str());   // verify
    f.p->WriteImageFor(2, out.c_str());   // upload
    EXPECT_EQ(0u, boxes.Count()) << (boxes.Count() ? boxes.Last().text : "");
    EXPECT_EQ(userBytes, ReadFileBytes(work.File("demo_user_upload.bin")).substr(0, userBytes.size()));
    EXPECT_EQ(sysBytes, ReadFileBytes(work.File("demo_sys_upload.bin")).substr(0, sysBytes.size()));

    auto calls = program.Calls();
    ASSERT_EQ(3u, calls.size());
    using V = std::vector<std::string>;
    EXPECT_EQ((V{"2", "UserBootProgram_USB.bin", "ImageWriter_NAND.bin", user, "6144", sys, "2048", "0", "0x1", "0x5",
                 "0xFFE7A000", "1"}), calls[0]);
    EXPECT_EQ((V{"2", "", "", work.File("demo_user.bak"), "6144", work.File("demo_sys.bak"), "2048", "0", "0x3", "0x5",
                 "0xFFE7A000", "1"}), calls[1]);
    EXPECT_EQ("0x2", calls[2][8]);
    EXPECT_EQ(work.File("demo_user_upload.bin"), calls[2][1]);

    // Closing the project deletes the backups.
    EXPECT_TRUE(f.p->CloseProject(FALSE));
    EXPECT_FALSE(f.p->m_bImageWritten);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(work.File("demo_user.bak").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(work.File("demo_sys.bak").c_str()));
}

TEST_F(ImageFixture, WithoutASystemImageTheSecondImageIsEmptyAndHasNoBackup)
{
    Images(false);
    ModalAnswerer boxes;
    f.p->WriteImageFor(0, out.c_str());
    EXPECT_EQ(0u, boxes.Count());
    auto calls = program.Calls();
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ("", calls[0][5]);
    EXPECT_TRUE(f.p->m_strTempSysImage.IsEmpty());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(work.File("demo_sys.bak").c_str()));
    EXPECT_EQ(userBytes, ReadFileBytes(work.File("demo_user.bak")));
}

TEST_F(ImageFixture, AMissingUserImageIsReportedAndTheOperationGoesOn)
{
    ModalAnswerer boxes;
    f.p->WriteImageFor(0, out.c_str());
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ("User Disk file [" + user + "] is not found", boxes.Seen()[0].text);
    EXPECT_EQ("Write fail", boxes.Seen()[1].text);   // the component could not read it
    EXPECT_EQ(1u, program.Calls().size());
    EXPECT_FALSE(f.p->m_bImageWritten);
}

TEST_F(ImageFixture, AMissingComponentOrEntryIsReported)
{
    Images();
    const std::string dll = program.dir.File("Z61QK83Writer.dll");
    ::DeleteFileA(dll.c_str());
    {
        ModalAnswerer boxes;
        f.p->WriteImageFor(0, out.c_str());
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ("Load '" + dll + "' failed !!", boxes.Last().text);
    }
    // A module without the entry: every operation names it as other tools know it.
    ASSERT_TRUE(::CopyFileA((ProgramFolder() + "ide_testmodule.dll").c_str(), dll.c_str(), FALSE));
    for (int op : {0, 2, 3, 18}) {
        ModalAnswerer boxes;
        f.p->WriteImageFor(op, out.c_str());
        ASSERT_EQ(1u, boxes.Count()) << op;
        EXPECT_EQ("Get process address of 'Z61QK83Write' failed !!", boxes.Last().text);
    }
    EXPECT_TRUE(program.Calls().empty());
}

TEST_F(ImageFixture, TheComponentsFailuresAreReportedPerOperation)
{
    Images();
    struct { int failOp, operation; const char* text; } rows[] = {
        {1, 0, "Write fail"}, {2, 2, "Upload fail"}, {3, 3, "Verify fail"}, {0x12, 18, "Upload fail"},
    };
    for (auto& r : rows) {
        program.SetFail(r.failOp);
        ModalAnswerer boxes;
        f.p->WriteImageFor(r.operation, out.c_str());
        ASSERT_EQ(1u, boxes.Count()) << r.operation;
        EXPECT_EQ(r.text, boxes.Last().text);
        EXPECT_FALSE(f.p->m_bImageWritten);   // a failed Write leaves no written image
    }
}

TEST_F(ImageFixture, VerifyAndUploadBeforeAnyWrite)
{
    Images();
    {
        ModalAnswerer boxes;
        f.p->OnProjectVerify();   // the command itself is disabled without a project
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ("Need to build", boxes.Last().text);
        EXPECT_TRUE(program.Calls().empty());
    }
    // Sizes outside the range come back as 32 after their warning; the dialog still counts as OK.
    struct { const char* user; const char* sys; const char* userOut; const char* sysOut; int warnings; } rows[] = {
        {"64", "32", "64", "32", 0},
        {"0", "4194304", "32", "32", 2},
    };
    for (auto& r : rows) {
        ModalAnswerer boxes;
        boxes.Queue(ModalAnswer(IDOK).Type(IDC_UPLOAD_USER_SIZE, r.user).Type(IDC_UPLOAD_SYS_SIZE, r.sys));
        f.p->UploadWithSizes(out.c_str());
        ASSERT_EQ(1u + r.warnings, boxes.Count());
        EXPECT_EQ("Upload Size Setting", boxes.Seen()[0].caption);
        if (r.warnings) {
            EXPECT_EQ("The setting of system disk size is wrong", boxes.Seen()[1].text);
            EXPECT_EQ("System Disk Size", boxes.Seen()[1].caption);
            EXPECT_EQ("The setting of user disk size is wrong", boxes.Seen()[2].text);
        }
        char sz[32] = "";
        GetPrivateProfileStringA("Sizes", "User", "", sz, sizeof sz, work.File("uploadsize.ini").c_str());
        EXPECT_STREQ(r.userOut, sz);
        GetPrivateProfileStringA("Sizes", "Sys", "", sz, sizeof sz, work.File("uploadsize.ini").c_str());
        EXPECT_STREQ(r.sysOut, sz);
        auto calls = program.Calls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ("0x12", calls.back()[8]);
        EXPECT_EQ(std::to_string(atoi(r.userOut) * 2), calls.back()[4]);
        EXPECT_EQ(std::to_string(atoi(r.sysOut) * 2), calls.back()[6]);
        EXPECT_EQ("UserBootProgram_USB.bin", calls.back()[1]);
    }
    // Cancel uploads nothing.
    size_t n = program.Calls().size();
    ModalAnswerer boxes;
    boxes.Queue(ModalAnswer(IDCANCEL));
    f.p->UploadWithSizes(out.c_str());
    EXPECT_EQ(n, program.Calls().size());
}

TEST_F(ImageFixture, WriteIsDisabledByTheEnforceMaskAndVerifyWithoutAProject)
{
    f.p->m_dwEnforceDisable = 0x400;
    EXPECT_EQ(0, Update(f.p, ID_PROJECT_WRITE).nEnabled);
    f.p->m_dwEnforceDisable = 0;
    EXPECT_EQ(0, Update(f.p, ID_PROJECT_VERIFY).nEnabled);
    EXPECT_EQ(0, Update(f.p, ID_PROJECT_UPLOAD).nEnabled);
}

TEST_F(ImageFixture, ClosingTheProjectReleasesTheComponentOnlyAfterAWrite)
{
    Images();
    ModalAnswerer boxes;
    const std::string dll = program.dir.File("Z61QK83Writer.dll");
    // Verify loads the component without writing anything: it stays for the next project.
    f.p->WriteImageFor(3, out.c_str());
    HMODULE hLoaded = f.p->m_hWriterDll;
    ASSERT_NE(nullptr, hLoaded);
    ASSERT_NE(nullptr, f.p->m_pfnWriterWrite);
    EXPECT_TRUE(f.p->CloseProject(FALSE));
    EXPECT_EQ(hLoaded, f.p->m_hWriterDll);
    EXPECT_NE(nullptr, f.p->m_pfnWriterWrite);
    EXPECT_EQ(hLoaded, GetModuleHandleA(dll.c_str()));

    // After a Write (of the next project) the close frees it and forgets its entry.
    const CString strProject = work.File("demo.wbi").c_str();
    f.p->m_strProjectPath = strProject;
    f.p->WriteImageFor(0, out.c_str());
    ASSERT_TRUE(f.p->m_bImageWritten);
    EXPECT_TRUE(f.p->CloseProject(FALSE));
    EXPECT_EQ(nullptr, f.p->m_hWriterDll);
    EXPECT_EQ(nullptr, f.p->m_pfnWriterWrite);
    EXPECT_EQ(nullptr, GetModuleHandleA(dll.c_str()));
    // A later Write loads it again.
    f.p->m_strProjectPath = strProject;
    f.p->WriteImageFor(0, out.c_str());
    EXPECT_TRUE(f.p->m_bImageWritten);
    EXPECT_EQ(3u, program.Calls().size());
}

// Runs the queue until the build has finished; the bound only guards against a hang.
bool WaitBuilt(CMainFrame* p)
{
    for (int i = 0; i < 2400 && p->m_bBuilding; i++)
        PumpMessages(25);
    PumpMessages();
    return !p->m_bBuilding;
}

TEST(WriterBuildQuestion, WriteAsksFirstWhenTheSourcesChanged)
{
    struct Row {
        const char* name;
        int answer;
        bool built;     // the build ran and the write took its images
        size_t calls;   // writes
    } rows[] = {
        {"cancel writes nothing", IDCANCEL, false, 0},
        {"no writes the old images", IDNO, false, 1},
        {"yes builds, then writes", IDYES, true, 1},
    };
    const std::string stale = std::string(700, 'o') + "old image";
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        SampleCopy sample;
        WritePrivateProfileStringA("Project", "AutoCheckModification", "1", sample.Project().c_str());
        WritePrivateProfileStringA("Project", "AutoOpenReport", "0", sample.Project().c_str());
        MainFrame f;
        ASSERT_TRUE(f.p->InitProjectManager());
        {
            ModalAnswerer opening(IDNO);
            ASSERT_TRUE(f.p->OpenProject(sample.Project().c_str()));
        }
        WriterFolder program;
        // Images left from an earlier build, older than what the sources now make.
        const WriterImageNames names = FormWriterImageNames(f.p->GetOutputFile());
        CString strFolder = names.strUser.Left(names.strUser.ReverseFind('\\'));
        CreateDirectoryA(strFolder, nullptr);
        WriteFileBytes((LPCSTR)names.strUser, stale);
        WriteFileBytes((LPCSTR)names.strSys, stale);

        ModalAnswerer boxes;
        boxes.Queue(r.answer);
        f.Command(ID_PROJECT_WRITE);
        ASSERT_TRUE(WaitBuilt(f.p));
        ASSERT_LE(1u, boxes.Count());
        EXPECT_EQ("Source files or options of project changed! Build it now?", boxes.Seen()[0].text);
        EXPECT_EQ(1u, boxes.Count()) << boxes.Last().text;
        EXPECT_EQ(r.calls, program.Calls().size());
        EXPECT_EQ(r.calls != 0, !!f.p->m_bImageWritten);
        const std::string user = ReadFileBytes((LPCSTR)names.strUser);
        EXPECT_EQ(r.built, user != stale);
        if (r.calls) {
            // The storage holds the user image the write found: the stale one, or the build's.
            EXPECT_EQ(user, program.Storage().substr(0, user.size()));
            EXPECT_EQ(user, ReadFileBytes((LPCSTR)names.strUserBackup));
        }
        EXPECT_TRUE(f.p->CloseProject(FALSE));
    }
}

TEST(WriterEnabling, VerifyAndUploadNeedAProjectNotMadeAroundAnObjectFile)
{
    ModalAnswerer boxes(IDNO);
    for (int kind : {PM_KIND_NORMAL, PM_KIND_OBJ}) {
        SCOPED_TRACE(kind);
        SampleCopy sample;
        WritePrivateProfileStringA("Project", "Kind", std::to_string(kind).c_str(), sample.Project().c_str());
        MainFrame f;
        ASSERT_TRUE(f.p->InitProjectManager());
        ASSERT_TRUE(f.p->OpenProject(sample.Project().c_str()));
        int enabled = kind == PM_KIND_NORMAL ? 1 : 0;
        EXPECT_EQ(enabled, Update(f.p, ID_PROJECT_VERIFY).nEnabled);
        EXPECT_EQ(enabled, Update(f.p, ID_PROJECT_UPLOAD).nEnabled);
        EXPECT_EQ(1, Update(f.p, ID_PROJECT_WRITE).nEnabled);
        // Nothing while a build runs.
        f.p->m_bBuilding = TRUE;
        EXPECT_EQ(0, Update(f.p, ID_PROJECT_VERIFY).nEnabled);
        EXPECT_EQ(0, Update(f.p, ID_PROJECT_WRITE).nEnabled);
        f.p->m_bBuilding = FALSE;
        EXPECT_TRUE(f.p->CloseProject(FALSE));
    }
}

} // namespace
