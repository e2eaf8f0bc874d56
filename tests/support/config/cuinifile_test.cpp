#include <gtest/gtest.h>
#include "support/config/CUIniFile.h"
#include "support/config/CUPath.h"
#include "support/ui/CUMsgHandler.h"
#include "tests/harness/harness.h"
#include <random>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

Texts Walk(I_CUStringList* list)
{
    Texts out;
    list->Reset();
    while (const char* t = list->GetNext())
        out.push_back(t);
    return out;
}

class IniFile : public ::testing::Test {
protected:
    void SetUp() override { g_hInstance = GetModuleHandleA(nullptr); }
    void TearDown() override { g_hInstance = nullptr; }

    std::string Load(C_CUIniFile& ini, const std::string& text)
    {
        std::string path = dir.Write("p.wbi", text);
        ini.SetFileName(path.c_str());
        EXPECT_TRUE(ini.Load());
        return path;
    }
    std::string Get(C_CUIniFile& ini, const char* section, const char* key)
    {
        const char* v = ini.GetString(section, key, 0, CU_MSG_NONE);
        return v ? v : "<null>";
    }
    vt::TempDir dir;
};

TEST_F(IniFile, Grammar)
{
    C_CUIniFile ini;
    Load(ini, "a=1\n[Project]\nName = demo ; the name\n  key=  a b  \nalone\n=x\n;x=1\n"
              "[[A]]\nk=v\n[ A ]\nk=w\n[A\n[project]\nMore=yes\nname=again\n");
    ASSERT_EQ(4, ini.GetSectionCount());
    EXPECT_STREQ("", ini.GetSectionName(0));
    EXPECT_STREQ("Project", ini.GetSectionName(1));
    EXPECT_STREQ("A", ini.GetSectionName(2));
    EXPECT_STREQ(" A ", ini.GetSectionName(3));
    EXPECT_EQ(nullptr, ini.GetSectionName(-1));
    EXPECT_EQ(nullptr, ini.GetSectionName(4));
    EXPECT_EQ("1", Get(ini, "", "a"));
    EXPECT_EQ("again", Get(ini, "PROJECT", "NAME"));
    EXPECT_EQ("a b", Get(ini, "project", "key"));
    EXPECT_EQ("yes", Get(ini, "Project", "More"));
    EXPECT_EQ("x", Get(ini, "Project", ""));   // '=x' replaced 'alone'
    EXPECT_EQ("v", Get(ini, "a", "k"));
    EXPECT_EQ("[A", Get(ini, " A ", ""));
    EXPECT_EQ("<null>", Get(ini, "Project", ";x"));
}

TEST_F(IniFile, LongLinesAreSplit)
{
    C_CUIniFile ini;
    Load(ini, "[S]\nk=" + std::string(2998, 'v') + "\n");
    EXPECT_EQ(2, ini.GetKeyCount("S"));
    EXPECT_EQ(std::string(2045, 'v'), Get(ini, "S", "k"));
    EXPECT_EQ(std::string(953, 'v'), Get(ini, "S", ""));   // the rest is a line of its own
    C_CUIniFile header;
    Load(header, "[" + std::string(5000, 's') + "]\nk=v\n");
    EXPECT_GE(header.GetSectionCount(), 1);
}

TEST_F(IniFile, ErrorsAndTheirTexts)
{
    C_CUIniFile ini;
    std::string path = Load(ini, "[S1]\nk=1\n[S2]\n[S3]\n");
    EXPECT_EQ("1", Get(ini, "s1", "K"));
    EXPECT_EQ(0u, ini.GetError());
    EXPECT_STREQ("No error.", ini.GetErrorText());
    EXPECT_EQ(nullptr, ini.GetString("S1", "nokey", 0, CU_MSG_NONE));
    EXPECT_EQ(2u, ini.GetError());
    EXPECT_EQ("Unable to locate specified label 'nokey' of section [S1]\nin file '" + path + "'",
              std::string(ini.GetErrorText()));
    EXPECT_EQ(nullptr, ini.GetString("None", "k", 0, CU_MSG_NONE));
    EXPECT_EQ(1u, ini.GetError());
    EXPECT_EQ("Unable to locate specified section [None]\nin file '" + path + "'",
              std::string(ini.GetErrorText()));
    EXPECT_EQ(nullptr, ini.FindKey(7, "k"));
    EXPECT_EQ(1u, ini.GetError());
    EXPECT_NE(nullptr, strstr(ini.GetErrorText(), "[Section Index(7)]"));

    vt::ModalAnswerer answerer;
    ini.GetString("S1", "100%s", 0, CU_MSG_BOX);
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Error", answerer.Last().caption);
    EXPECT_EQ(std::string(ini.GetErrorText()), answerer.Last().text);

    EXPECT_EQ(5, ini.GetInt("S1", "missing", 5));
    EXPECT_FALSE(ini.Load(dir.File("none.ini").c_str()));
}

TEST_F(IniFile, PathLookups)
{
    std::string file = dir.Write("here.asm", "x");
    C_CUIniFile ini;
    Load(ini, "[P]\nf=here.asm\nmiss=gone.asm,gone2.asm\nd=.\\\nL1=here.asm\nL2=gone.asm\nL3=here.asm\n");
    EXPECT_EQ("here.asm", Get(ini, "P", "f"));
    EXPECT_EQ(file, std::string(ini.GetString("P", "f", CU_PATH_ABSOLUTE, CU_MSG_NONE)));
    EXPECT_EQ(file, std::string(ini.GetString("P", "f", CU_PATH_FILE_DROP, CU_MSG_NONE)));
    EXPECT_EQ(nullptr, ini.GetString("P", "miss", CU_PATH_FILE_DROP, CU_MSG_NONE));
    EXPECT_EQ(3u, ini.GetError());
    EXPECT_EQ(std::string("Key value is not an existing file: '") + ini.GetFileName() + std::string(":[P][miss]=") +
              dir.File("gone2.asm") + "'", std::string(ini.GetErrorText()));
    EXPECT_EQ(dir.File("gone2.asm"), std::string(ini.GetString("P", "miss", CU_PATH_FILE, CU_MSG_NONE)));
    EXPECT_EQ(0u, ini.GetError());
    EXPECT_EQ(nullptr, ini.GetString("P", "miss", CU_PATH_FOLDER_DROP, CU_MSG_NONE));
    EXPECT_EQ(4u, ini.GetError());
    EXPECT_EQ(dir.Path() + "\\", std::string(ini.GetString("P", "f", CU_PATH_FOLDER_DROP, CU_MSG_NONE)));
    EXPECT_EQ((Texts{file, file}), Walk(ini.GetList("P", "L", CU_PATH_FILE_DROP, CU_MSG_NONE)));
    EXPECT_EQ((Texts{file, "", file}), Walk(ini.GetList("P", "L", CU_PATH_FILE, CU_MSG_NONE)));
}

TEST_F(IniFile, ChangesAndRoundTrip)
{
    C_CUIniFile ini;
    std::string path = Load(ini, "[S]\nL1=a\nL2=b\nL3=c\nL4=d\nL5=e\n[Gone]\nx=1\n");
    EXPECT_FALSE(ini.SetString("New", "k", "v", FALSE, FALSE, CU_MSG_NONE));
    EXPECT_EQ(1u, ini.GetError());
    EXPECT_FALSE(ini.SetString("S", "k", "v", FALSE, FALSE, CU_MSG_NONE));
    EXPECT_EQ(2u, ini.GetError());
    EXPECT_TRUE(ini.SetInt("S", "i", 42, TRUE));
    EXPECT_TRUE(ini.SetInt("S", "n", -7, TRUE));
    EXPECT_TRUE(ini.SetDouble("S", "d", 2.5, TRUE));
    EXPECT_EQ("42", Get(ini, "S", "i"));
    EXPECT_EQ("-7", Get(ini, "S", "n"));
    EXPECT_EQ(-7, ini.GetInt("S", "n", 0));
    EXPECT_DOUBLE_EQ(2.5, ini.GetDouble("S", "d", 0));
    std::string abs = dir.File("sub\\x.asm");
    EXPECT_TRUE(ini.SetString("New", "rel", abs.c_str(), TRUE, TRUE, CU_MSG_NONE));
    EXPECT_EQ("sub\\x.asm," + abs, Get(ini, "New", "rel"));

    C_CUStringList three;
    for (const char* t : {"x", "y", "z"})
        three.Add(t);
    EXPECT_TRUE(ini.SetList("S", "L", &three, TRUE, FALSE, CU_MSG_NONE));
    // Deleted keys end the list at once.
    EXPECT_EQ((Texts{"x", "y", "z"}), Walk(ini.GetList("S", "L", 0, CU_MSG_NONE)));
    EXPECT_EQ("", Get(ini, "S", "L4"));            // still found, with no value
    EXPECT_TRUE(ini.DeleteSection("gone"));
    EXPECT_FALSE(ini.DeleteSection("gone"));
    EXPECT_FALSE(ini.DeleteKey("S", "nokey"));

    EXPECT_EQ(8, ini.GetKeyCount("S"));   // deleted keys still count
    std::vector<std::string> names;
    for (int i = 0; i < 8; ++i)
        names.push_back(ini.GetKeyName("S", i) ? ini.GetKeyName("S", i) : "<null>");
    EXPECT_EQ(nullptr, ini.GetKeyName("S", 8));
    EXPECT_EQ(1, std::count(names.begin(), names.end(), "L5"));

    ASSERT_TRUE(ini.Save());
    C_CUIniFile again(path.c_str());
    ASSERT_TRUE(again.Load());
    ASSERT_EQ(2, again.GetSectionCount());
    EXPECT_EQ(6, again.GetKeyCount("S"));
    EXPECT_EQ((Texts{"x", "y", "z"}), Walk(again.GetList("S", "L", 0, CU_MSG_NONE)));
    EXPECT_EQ("42", Get(again, "s", "I"));
    EXPECT_EQ("sub\\x.asm," + abs, Get(again, "New", "rel"));
    EXPECT_NE(std::string::npos, vt::ReadFileBytes(path).find("[S]\r\n"));
}

TEST_F(IniFile, EmptySectionSavesAsBrackets)
{
    C_CUIniFile ini;
    std::string path = Load(ini, "a=1\n[Empty]\n");
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ("[]\r\na = 1\r\n\r\n[Empty]\r\n", vt::ReadFileBytes(path));
}

TEST_F(IniFile, SurvivesHostileFiles)
{
    std::mt19937 rng(20261210);
    const char alphabet[] = "[]=;ab \t\r\n\x80\xff\\.,%";
    std::string path = dir.File("fuzz.ini");
    for (int round = 0; round < 2000; ++round) {
        size_t len = rng() % 400;
        std::string bytes;
        for (size_t i = 0; i < len; ++i)
            bytes.push_back(rng() % 4 == 0 ? static_cast<char>(rng() % 256)
                                           : alphabet[rng() % (sizeof(alphabet) - 1)]);
        if (round % 10 == 0)
            bytes += std::string(rng() % 5000, bytes.empty() ? '[' : bytes[0]);
        ASSERT_TRUE(vt::WriteFileBytes(path, bytes));
        C_CUIniFile ini(path.c_str());
        ASSERT_TRUE(ini.Load());
        for (int s = 0; s < ini.GetSectionCount(); ++s) {
            const char* name = ini.GetSectionName(s);
            ASSERT_NE(nullptr, name);
            for (int k = 0; k < ini.GetKeyCount(name); ++k)
                ini.GetString(name, ini.GetKeyName(name, k), 0, CU_MSG_NONE);
            ini.GetList(name, "a", 0, CU_MSG_NONE);
        }
        ASSERT_TRUE(ini.Save());
        C_CUIniFile back(path.c_str());
        ASSERT_TRUE(back.Load());
    }
}

} // namespace
