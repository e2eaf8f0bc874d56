#include <gtest/gtest.h>
#include "support/config/CStringHelpers.h"
#include "support/config/CUPath.h"
#include "support/config/ProfileHelpers.h"
#include "support/text/CUString.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

std::vector<std::string> Items(const CStringList& list)
{
    std::vector<std::string> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        out.push_back((const char*)list.GetNext(pos));
    return out;
}

// The program folder is where the text-file extensions are read from: a copied DLL in a
// temporary folder stands for the program.
class TextFileExt : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string anchor = dir.File("Anchor.dll");
        ASSERT_TRUE(CopyFileA("FileAttributes.dll", anchor.c_str(), FALSE));
        module = LoadLibraryA(anchor.c_str());
        ASSERT_NE(module, nullptr);
        g_hInstance = module;
    }
    void TearDown() override
    {
        g_hInstance = nullptr;
        if (module)
            FreeLibrary(module);
    }
    void WriteConfig(const std::string& text) { dir.Write("ZIDE.CFG", text); }

    vt::TempDir dir;
    HMODULE module = nullptr;
};

TEST_F(TextFileExt, ExtensionsWithTabSizes)
{
    WriteConfig("[Text File Ext]\r\nExt1=asm,8\r\nExt2=inc\r\nExt3=,2\r\n");
    struct Case { const char* name; bool text; int tab; };
    const Case cases[] = {
        {"main.ASM", true, 8},  {"defs.inc", true, 4},  {"readme", false, -1},
        {"data.bin", false, -1}, {"file.", true, 2},     {"C:\\tools.old\\readme", false, -1},
        {"a.b.asm", true, 8},
    };
    for (const Case& c : cases) {
        int tab = -1;
        EXPECT_EQ(IsTextFileExtension(CString(c.name), &tab), c.text) << c.name;
        EXPECT_EQ(tab, c.tab) << c.name;
    }
    EXPECT_TRUE(IsTextFileExtension(CString("x.inc"), nullptr));
}

TEST_F(TextFileExt, CachedOnceFilledAndReadAgainWhileEmpty)
{
    int tab = 0;
    EXPECT_FALSE(IsTextFileExtension(CString("a.asm"), &tab));   // no configuration yet
    WriteConfig("[Text File Ext]\r\nExt1=asm,6\r\n");
    EXPECT_TRUE(IsTextFileExtension(CString("a.asm"), &tab));
    EXPECT_EQ(tab, 6);
    WriteConfig("[Text File Ext]\r\nExt1=asm,3\r\n");
    EXPECT_TRUE(IsTextFileExtension(CString("a.asm"), &tab));
    EXPECT_EQ(tab, 6);
}

TEST(FilterPattern, UniqueExtensionsJoined)
{
    C_CUStringList exts;
    exts.Add(".asm");
    exts.Add(".inc");
    exts.Add(".asm");
    exts.Add(".ASM");
    CString out;
    BuildFilterPattern(&exts, out);
    EXPECT_STREQ(out, "*.asm;*.inc;*.ASM");

    C_CUStringList none;
    CString empty;
    BuildFilterPattern(&none, empty);
    EXPECT_STREQ(empty, "");
}

TEST(MultiSz, BlockOfNonEmptyTexts)
{
    CStringList list;
    list.AddTail(CString("a"));
    list.AddTail(CString(""));
    list.AddTail(CString("bc"));
    ASSERT_EQ(CStringListToMultiSz(&list, nullptr), 6);
    char buf[8];
    memset(buf, '#', sizeof(buf));
    EXPECT_EQ(CStringListToMultiSz(&list, buf), 6);
    EXPECT_EQ(std::string(buf, 7), std::string("a\0bc\0\0#", 7));

    CStringList empties;
    empties.AddTail(CString(""));
    memset(buf, '#', sizeof(buf));
    EXPECT_EQ(CStringListToMultiSz(&empties, nullptr), 1);
    EXPECT_EQ(CStringListToMultiSz(&empties, buf), 1);
    EXPECT_EQ(std::string(buf, 2), std::string("\0#", 2));
}

TEST(MultiSz, MissingListMeasuresWhatItWrites)
{
    int size = CStringListToMultiSz(nullptr, nullptr);
    ASSERT_EQ(size, 2);
    char buf[3] = {'#', '#', '#'};
    EXPECT_EQ(CStringListToMultiSz(nullptr, buf), size);
    EXPECT_EQ(std::string(buf, 3), std::string("\0\0#", 3));
}

class ProfileCStringList : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hInstance = GetModuleHandleA(nullptr);
        cfg = dir.File("tools.cfg");
    }
    void TearDown() override { g_hInstance = nullptr; }
    vt::TempDir dir;
    std::string cfg;
};

TEST_F(ProfileCStringList, RoundTripDeletesStaleKeys)
{
    vt::WriteFileBytes(cfg, "[Icon]\r\nIcon1=x\r\nIcon2=y\r\nIcon3=z\r\nIcon4=w\r\n");
    std::string sub = dir.File("sub\\a.ico");
    CStringList values;
    values.AddTail(CString(sub.c_str()));
    values.AddTail(CString("D:\\other\\b.ico"));
    ASSERT_TRUE(WriteProfileCStringList(CString(cfg.c_str()), CString("Icon"), CString("Icon"), values, TRUE));

    char raw[300];
    GetPrivateProfileStringA("Icon", "Icon1", "", raw, sizeof(raw), cfg.c_str());
    EXPECT_EQ(std::string(raw), "sub\\a.ico," + sub);
    GetPrivateProfileStringA("Icon", "Icon3", "none", raw, sizeof(raw), cfg.c_str());
    EXPECT_STREQ(raw, "none");

    CStringList read;
    read.AddTail(CString("kept"));
    EXPECT_TRUE(GetProfileCStringList(cfg.c_str(), "Icon", "Icon", read, CU_PATH_ABSOLUTE, 0));
    std::vector<std::string> expected = {"kept", sub, "D:\\other\\b.ico"};
    EXPECT_EQ(Items(read), expected);

    CStringList plain;
    EXPECT_TRUE(GetProfileCStringList(cfg.c_str(), "Icon", "Icon", plain, 0, 0));
    EXPECT_EQ(Items(plain), (std::vector<std::string>{"sub\\a.ico," + sub, "D:\\other\\b.ico,D:\\other\\b.ico"}));
}

TEST_F(ProfileCStringList, FailingEntriesKeptInEveryMode)
{
    vt::WriteFileBytes(dir.File("here.asm"), "x");
    vt::WriteFileBytes(cfg, "[S]\r\nF1=here.asm\r\nF2=gone.asm,C:\\gone\\gone.asm\r\nF3=here.asm\r\n");
    CStringList read;
    EXPECT_TRUE(GetProfileCStringList(cfg.c_str(), "S", "F", read, CU_PATH_FILE_DROP, 0));
    std::vector<std::string> got = Items(read);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1], "C:\\gone\\gone.asm");

    C_CUStringList dropped;
    GetProfileList(cfg.c_str(), "S", "F", &dropped, CU_PATH_FILE_DROP, 0);
    EXPECT_EQ(dropped.GetCount(), 2);
}

} // namespace
