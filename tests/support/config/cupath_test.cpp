#include <gtest/gtest.h>
#include "support/config/CUPath.h"
#include "support/supportres.h"
#include "support/ui/CUMsgHandler.h"
#include "tests/harness/harness.h"
#include <direct.h>
#include <string>

namespace {

class PathTest : public ::testing::Test {
protected:
    void SetUp() override { g_hInstance = GetModuleHandleA(nullptr); }
    void TearDown() override { g_hInstance = nullptr; }
};

std::string Cwd()
{
    char buf[MAX_PATH] = {0};
    _getcwd(buf, MAX_PATH);
    return buf;
}

TEST(CUPath, SplitsIntoParts)
{
    C_CUPath p("C:\\TOOL\\BIN\\ZIDE.cfg");
    EXPECT_EQ("C:", p.GetDrive());
    EXPECT_EQ("\\TOOL\\BIN\\", p.GetDir());
    EXPECT_EQ("ZIDE", p.GetFileTitle());
    EXPECT_EQ(".cfg", p.GetExt());
    EXPECT_EQ("C:\\TOOL\\BIN\\", p.GetFolder());
    EXPECT_EQ("ZIDE.cfg", p.GetFileName());
    EXPECT_EQ("C:\\TOOL\\BIN\\ZIDE.cfg", p.GetPath());
    EXPECT_EQ(2, p.GetDriveNumber());

    C_CUPath lpt("LPT1:");
    EXPECT_EQ("LPT1:", lpt.GetDrive());
    EXPECT_EQ("", lpt.GetDir() + lpt.GetFileTitle() + lpt.GetExt());

    C_CUPath net("NET:\\pub\\a.txt");
    EXPECT_EQ("NET:", net.GetDrive());
    EXPECT_EQ("\\pub\\", net.GetDir());
    EXPECT_EQ("a.txt", net.GetFileName());

    for (const char* empty : {static_cast<const char*>(nullptr), ""}) {
        C_CUPath e(empty);
        EXPECT_EQ("", e.GetDrive() + e.GetDir() + e.GetFileTitle() + e.GetExt());
    }
    C_CUPath readme("readme");
    EXPECT_EQ("readme", readme.GetFileTitle());
    EXPECT_EQ(-30, readme.GetDriveNumber());
    EXPECT_EQ("a.b", C_CUPath("x/y/a.b.c").GetFileTitle());
    EXPECT_EQ("x/y/", C_CUPath("x/y/a.b.c").GetDir());
}

TEST(CUPath, OverlongPartsAreCutNotOverflowed)
{
    std::string longDir = "C:\\" + std::string(400, 'd') + "\\" + std::string(300, 'n') + "." +
                          std::string(300, 'e');
    C_CUPath p(longDir.c_str());
    EXPECT_EQ(255, p.GetDir().GetLength());
    EXPECT_EQ(255, p.GetFileTitle().GetLength());
    EXPECT_EQ(255, p.GetExt().GetLength());
    EXPECT_EQ(longDir, p.GetPath());

    std::string farColon = std::string(300, 'v') + ":\\x.txt";
    C_CUPath q(farColon.c_str());
    EXPECT_EQ(255, q.GetDrive().GetLength());
    EXPECT_EQ("\\", q.GetDir());
    EXPECT_EQ("x.txt", q.GetFileName());

    C_CUPath dots("..");
    EXPECT_EQ(".", dots.GetFileTitle());
    EXPECT_EQ(".", dots.GetExt());
}

TEST_F(PathTest, ResolveRelativePaths)
{
    struct Case { const char* base; const char* path; int mode; BOOL ok; const char* result; };
    const Case cases[] = {
        {"C:\\TOOL\\BIN\\ZIDE.cfg", "..\\lib\\a.txt", 0, TRUE, "C:\\TOOL\\lib\\a.txt"},
        {"C:\\TOOL\\BIN\\ZIDE.cfg", "..\\..\\..\\a.txt", 0, FALSE, "..\\..\\..\\a.txt"},
        {"C:\\TOOL", "x.ini", 0, TRUE, "C:\\x.ini"},
        {"C:\\TOOL\\", "x.ini", 1, TRUE, "C:\\TOOL\\x.ini"},
        {"C:\\TOOL\\ZIDE.cfg", "", 2, TRUE, "C:\\TOOL\\"},
        {"C:\\TOOL\\ZIDE.cfg", "", 0, FALSE, ""},
        {"C:\\TOOL\\ZIDE.cfg", "", 1, FALSE, ""},
        {"C:\\TOOL\\ZIDE.cfg", "", 3, FALSE, ""},
        {"C:\\TOOL\\ZIDE.cfg", "", 5, FALSE, ""},
        {"C:\\A\\B\\f.ini", "..x", 0, TRUE, "C:\\A\\"},
        {"C:\\A\\f.ini", "..", 0, TRUE, "C:\\"},
        {"C:\\A\\f.ini", ".\\sub\\..\\x", 0, TRUE, "C:\\A\\.\\sub\\..\\x"},
        {"f.ini", "x.txt", 0, TRUE, "x.txt"},
        {"f.ini", "..\\x.txt", 0, FALSE, "..\\x.txt"},
        {"C:\\TOOL\\f.ini", "D:\\data\\w.bin", 77, TRUE, "D:\\data\\w.bin"},
    };
    for (const Case& c : cases) {
        C_CUString path(c.path);
        EXPECT_EQ(c.ok, ResolvePath(c.base, path, c.mode, CU_MSG_NONE)) << c.base << " | " << c.path;
        EXPECT_EQ(c.result, path) << c.base << " | " << c.path;
    }
}

TEST_F(PathTest, ResolveChecksAndReports)
{
    vt::TempDir dir;
    std::string file = dir.Write("a.txt", "x");
    std::string base = dir.File("cfg.ini");
    vt::ModalAnswerer answerer;

    C_CUString path("a.txt");
    EXPECT_TRUE(ResolvePath(base.c_str(), path, CU_PATH_FILE, CU_MSG_BOX));
    EXPECT_EQ(file, path);

    path = "missing.txt";
    EXPECT_FALSE(ResolvePath(base.c_str(), path, CU_PATH_FILE_DROP, CU_MSG_BOX));
    EXPECT_EQ(dir.File("missing.txt"), path);
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Error: ", answerer.Last().caption);
    EXPECT_EQ("File [" + dir.File("missing.txt") + "] does not exist.", answerer.Last().text);

    path = "";
    EXPECT_TRUE(ResolvePath(base.c_str(), path, CU_PATH_FOLDER, CU_MSG_BOX));
    EXPECT_EQ(dir.Path() + "\\", path);
    path = "nope";
    EXPECT_FALSE(ResolvePath(base.c_str(), path, CU_PATH_FOLDER_DROP, CU_MSG_BOX));
    EXPECT_EQ("Directory [" + dir.File("nope") + "] does not exist.", answerer.Last().text);
    path = "a.txt";
    EXPECT_FALSE(ResolvePath(base.c_str(), path, CU_PATH_FOLDER, CU_MSG_NONE));   // a file, not a folder

    path = "..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\x";
    EXPECT_FALSE(ResolvePath(base.c_str(), path, CU_PATH_PLAIN, CU_MSG_BOX));
    EXPECT_EQ("Fail to get full path of file name [..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\..\\x].",
              answerer.Last().text);
    EXPECT_EQ(3u, answerer.Count());
}

TEST(CUPath, MakeRelative)
{
    struct Case { const char* path; const char* result; };
    const Case cases[] = {
        {"C:\\a\\b\\sub\\x.txt", "sub\\x.txt"}, {"C:\\a\\c\\x.txt", "..\\c\\x.txt"},
        {"c:\\A\\B\\x.txt", "x.txt"}, {"C:\\a\\b", "..\\b"}, {"C:\\a\\b\\", ""},
        {"D:\\x.txt", "D:\\x.txt"}, {"sub\\x.txt", "sub\\x.txt"}, {"C:\\A\\B\\X.TXT", "X.TXT"},
        {"C:\\x.txt", "..\\..\\x.txt"}, {"plain", "plain"},
    };
    for (const Case& c : cases) {
        C_CUString path(c.path);
        MakeRelativePath("C:\\a\\b\\f.ini", path);
        EXPECT_EQ(c.result, path) << c.path;
    }
}

TEST(CUPath, Lists)
{
    C_CUStringList source, dest;
    source.Add("C:\\a\\b\\x.txt");
    source.Add("D:\\y.txt");
    MakeRelativePathList("C:\\a\\b\\f.ini", &source, &dest);
    ASSERT_EQ(2, dest.GetCount());
    EXPECT_STREQ("x.txt", dest.GetAt(0));
    EXPECT_STREQ("D:\\y.txt", dest.GetAt(1));
    EXPECT_TRUE(ResolvePathList("C:\\a\\f.ini", &dest, &source, CU_PATH_PLAIN));
    EXPECT_STREQ("C:\\a\\x.txt", source.GetAt(0));
    EXPECT_STREQ("D:\\y.txt", source.GetAt(1));
}

TEST(CUPath, LeadingPath)
{
    struct Case { const char* path; int count; const char* result; };
    const Case cases[] = {
        {"C:\\a\\b", 1, "C:\\"}, {"C:\\a\\b", 2, "C:\\a"}, {"C:\\a\\b", 3, "C:\\a\\b"},
        {"C:\\a\\b", 4, ""}, {"C:\\a\\b\\", 4, ""}, {"C:\\\\a", 2, "C:\\"}, {"C:\\a", 0, ""},
        {"\\x\\y", 3, "\\x\\y"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, GetLeadingPath(c.path, c.count)) << c.path << " #" << c.count;
}

TEST_F(PathTest, FilesFoldersAndCreation)
{
    vt::TempDir dir;
    std::string file = dir.Write("f.txt", "x");
    std::string before = Cwd();
    EXPECT_TRUE(FileExists(file.c_str()));
    EXPECT_FALSE(FileExists(dir.Path().c_str()));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(DirectoryExists(dir.Path().c_str()));
    EXPECT_TRUE(DirectoryExists("C:"));
    EXPECT_FALSE(DirectoryExists(file.c_str()));
    EXPECT_FALSE(DirectoryExists(dir.File("none").c_str()));

    EXPECT_FALSE(CreateDirectoryPath(dir.Path().c_str()));   // exists: nothing to make
    EXPECT_FALSE(CreateDirectoryPath("C:\\"));
    std::string deep = dir.File("new1\\new2");
    EXPECT_TRUE(CreateDirectoryPath(deep.c_str()));
    EXPECT_TRUE(DirectoryExists(deep.c_str()));
    EXPECT_TRUE(EnsureDirectory(deep.c_str()));
    EXPECT_TRUE(EnsureDirectory(dir.File("new3").c_str()));
    EXPECT_FALSE(CreateDirectoryPath((file + "\\sub").c_str()));   // a file is in the way
    {
        vt::ModalAnswerer answerer;
        EXPECT_FALSE(EnsureDirectory((file + "\\sub").c_str()));
        ASSERT_EQ(1u, answerer.Count());
        EXPECT_EQ("Fail to make directory [" + file + "\\sub].", answerer.Last().text);
    }

    EXPECT_EQ(1, DeleteFileIfExists(file.c_str()));
    EXPECT_EQ(2, DeleteFileIfExists(file.c_str()));
    EXPECT_EQ(0, DeleteFileIfExists(""));
    EXPECT_EQ(0, DeleteFileIfExists(nullptr));
    EXPECT_EQ(before, Cwd());

    EXPECT_TRUE(IsAbsolutePath("C:\\x"));
    EXPECT_TRUE(IsAbsolutePath("\\x"));
    EXPECT_TRUE(IsAbsolutePath("/x"));
    EXPECT_FALSE(IsAbsolutePath("x\\y"));
}

TEST_F(PathTest, AppDirectory)
{
    C_CUString with = GetAppDirectory(TRUE);
    C_CUString without = GetAppDirectory(FALSE);
    ASSERT_FALSE(with.empty());
    EXPECT_EQ('\\', with.back());
    EXPECT_NE('\\', without.back());
    EXPECT_EQ(with, without + "\\");
    C_CUString upper(with);
    upper.MakeUpper();
    EXPECT_EQ(upper, with);
    char module[MAX_PATH] = {0};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(0, with.Compare(C_CUPath(module).GetFolder()));
}

TEST(CUPath, FindSystemProgram)
{
    char out[MAX_PATH];
    EXPECT_TRUE(FindSystemProgram("notepad.exe", out));
    EXPECT_TRUE(FileExists(out));
    EXPECT_FALSE(FindSystemProgram("no-such-program-here.exe", out));
    EXPECT_NE(nullptr, strstr(out, "\\Program Files\\Accessories\\no-such-program-here.exe"));
}

} // namespace
