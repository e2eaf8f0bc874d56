#include <gtest/gtest.h>
#include "support/config/ProfileHelpers.h"
#include "support/config/CUPath.h"
#include "support/ui/CUMsgHandler.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

class Profile : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hInstance = GetModuleHandleA(nullptr);
        cfg = dir.File("ZIDE.cfg");
    }
    void TearDown() override { g_hInstance = nullptr; }

    void WriteCfg(const std::string& text) { vt::WriteFileBytes(cfg, text); }
    C_CUString Value(const char* key, int pathMode, BOOL* ok = nullptr, UINT msgMode = CU_MSG_NONE)
    {
        C_CUString out("junk");
        BOOL r = GetProfileValue(cfg.c_str(), "S", key, out, pathMode, msgMode);
        if (ok)
            *ok = r;
        return out;
    }
    std::vector<std::string> List(const char* prefix, int pathMode)
    {
        C_CUStringList list;
        list.Add("kept");
        EXPECT_TRUE(GetProfileList(cfg.c_str(), "S", prefix, &list, pathMode, CU_MSG_NONE));
        std::vector<std::string> out;
        list.Reset();
        while (const char* t = list.GetNext())
            out.push_back(t);
        return out;
    }

    vt::TempDir dir;
    std::string cfg;
};

TEST_F(Profile, ValueCutsCommentsAndTrailingBlanks)
{
    WriteCfg("[S]\r\nkey = C:\\tools\\a.exe \t  ; main tool\r\nc=;only a comment\r\n"
             "e=\r\nb=x  \r\n");
    BOOL ok = FALSE;
    EXPECT_EQ("C:\\tools\\a.exe", Value("key", 0, &ok));
    EXPECT_TRUE(ok);
    EXPECT_EQ("", Value("c", 0, &ok));
    EXPECT_TRUE(ok);
    EXPECT_EQ("", Value("e", 0, &ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ("", Value("missing", 0, &ok));
    EXPECT_FALSE(ok);
    C_CUString out;
    EXPECT_FALSE(GetProfileValue(dir.File("none.cfg").c_str(), "S", "key", out, 0, CU_MSG_NONE));
}

TEST_F(Profile, PathValues)
{
    std::string folder = dir.Path() + "\\";
    std::string bin = folder + "bin";
    CreateDirectoryA(bin.c_str(), nullptr);
    std::string dll = vt::WriteFileBytes(bin + "\\y.dll", "x") ? bin + "\\y.dll" : "";
    WriteCfg("[S]\r\nrel=bin\\x.dll,D:\\old\\x.dll\r\nexisting=bin\\y.dll,D:\\old\\y.dll\r\n"
             "fallback=nothere\\y.dll," + dll + "\r\nsingle=missing.dll\r\nfolder=nofolder\r\n");
    EXPECT_EQ(folder + "bin\\x.dll", Value("rel", CU_PATH_ABSOLUTE));
    EXPECT_EQ(dll, Value("existing", CU_PATH_FILE));
    EXPECT_EQ(dll, Value("fallback", CU_PATH_FILE));

    vt::ModalAnswerer answerer;
    BOOL ok = FALSE;
    EXPECT_EQ("D:\\old\\x.dll", Value("rel", CU_PATH_FILE, &ok, CU_MSG_BOX));
    EXPECT_TRUE(ok);
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("File [D:\\old\\x.dll] does not exist.", answerer.Last().text);

    EXPECT_EQ("", Value("single", CU_PATH_FILE, &ok, CU_MSG_BOX));   // empty second field: silent
    EXPECT_TRUE(ok);
    EXPECT_EQ(folder, Value("folder", CU_PATH_FOLDER, &ok, CU_MSG_BOX));
    EXPECT_EQ(1u, answerer.Count());
}

TEST_F(Profile, ListsStopAtTheFirstMissingOrEmptyKey)
{
    WriteCfg("[S]\r\nExt1=.asm ; kept as read\r\nExt2=.inc\r\nExt4=.h\r\nG1=a\r\nG2=\r\nG3=c\r\n");
    EXPECT_EQ((std::vector<std::string>{"kept", ".asm ; kept as read", ".inc"}), List("Ext", 0));
    EXPECT_EQ((std::vector<std::string>{"kept", "a"}), List("G", 0));
    EXPECT_EQ((std::vector<std::string>{"kept"}), List("None", 0));
}

TEST_F(Profile, ListPathModesDropOrKeepFailures)
{
    std::string file = dir.Write("here.txt", "x");
    WriteCfg("[S]\r\nF1=here.txt\r\nF2=gone.txt,gone2.txt\r\nF3=here.txt\r\n");
    std::string gone2 = dir.File("gone2.txt");
    EXPECT_EQ((std::vector<std::string>{"kept", file, file}), List("F", CU_PATH_FILE_DROP));
    EXPECT_EQ((std::vector<std::string>{"kept", file, gone2, file}), List("F", CU_PATH_FILE));
}

TEST_F(Profile, WriteValueAndRelativePairs)
{
    std::string folder = dir.Path() + "\\";
    EXPECT_TRUE(WriteProfileValue(cfg.c_str(), "S", "plain", "v 1", FALSE, CU_MSG_NONE));
    EXPECT_TRUE(WriteProfileValue(cfg.c_str(), "S", "rel", (folder + "bin\\x.dll").c_str(), TRUE,
                                  CU_MSG_NONE));
    EXPECT_TRUE(WriteProfileValue(cfg.c_str(), "S", "other", "Q:\\x.dll", TRUE, CU_MSG_NONE));
    char buf[512];
    GetPrivateProfileStringA("S", "plain", "", buf, sizeof(buf), cfg.c_str());
    EXPECT_STREQ("v 1", buf);
    GetPrivateProfileStringA("S", "rel", "", buf, sizeof(buf), cfg.c_str());
    EXPECT_EQ("bin\\x.dll," + folder + "bin\\x.dll", std::string(buf));
    GetPrivateProfileStringA("S", "other", "", buf, sizeof(buf), cfg.c_str());
    EXPECT_STREQ("Q:\\x.dll,Q:\\x.dll", buf);
    EXPECT_EQ(folder + "bin\\x.dll", Value("rel", CU_PATH_ABSOLUTE));
}

TEST_F(Profile, WriteListDeletesStaleKeys)
{
    WriteCfg("[S]\r\nK1=1\r\nK2=2\r\nK3=3\r\nK4=4\r\nK5=5\r\nK7=7\r\n");
    C_CUStringList list;
    list.Add("a");
    list.Add("b");
    EXPECT_TRUE(WriteProfileList(cfg.c_str(), "S", "K", &list, FALSE, CU_MSG_NONE));
    EXPECT_EQ((std::vector<std::string>{"kept", "a", "b"}), List("K", 0));
    char buf[16];
    EXPECT_EQ(0u, GetPrivateProfileStringA("S", "K5", "", buf, sizeof(buf), cfg.c_str()));
    EXPECT_EQ(1u, GetPrivateProfileStringA("S", "K7", "", buf, sizeof(buf), cfg.c_str()));

    C_CUStringList empty;
    EXPECT_TRUE(WriteProfileList(cfg.c_str(), "S", "K", &empty, FALSE, CU_MSG_NONE));
    EXPECT_EQ((std::vector<std::string>{"kept"}), List("K", 0));
}

} // namespace
