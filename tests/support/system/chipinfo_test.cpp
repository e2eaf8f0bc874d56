#include "tests/support/system/chipinfo_fixture.h"
#include "support/text/CUString.h"
#include "support/text/CUStringList.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(C_CUStringList& list)
{
    std::vector<std::string> out;
    for (int i = 0; i < list.GetCount(); ++i)
        out.push_back(list.GetAt(i));
    return out;
}

// A program folder elsewhere: the library's module is a copy of the component
// under another name, so the folder holds what the test puts there.
class OtherProgramFolder {
public:
    explicit OtherProgramFolder(bool withComponent)
    {
        std::string dll = vt::ProgramFolder() + "ChipInfo.dll";
        CopyFileA(dll.c_str(), dir.File("Host.dll").c_str(), FALSE);
        if (withComponent)
            CopyFileA(dll.c_str(), dir.File("ChipInfo.dll").c_str(), FALSE);
        host = LoadLibraryA(dir.File("Host.dll").c_str());
        g_hInstance = host;
    }
    ~OtherProgramFolder()
    {
        g_hInstance = nullptr;
        if (host)
            FreeLibrary(host);
    }
    vt::TempDir dir;
    HMODULE host = nullptr;
};

} // namespace

TEST_F(ChipInfo, FindsChipsByNameAndPartNumber)
{
    C_ChipInfoPtr holder;
    ASSERT_TRUE(holder.Load(nullptr));
    EXPECT_EQ(0u, answerer.Count());

    I_ChipItem* a = holder.GetChipItem("KV61A");
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(a, holder.GetChipItem("kv61a-q44"));
    EXPECT_EQ(0u, a->GetDownloadOnly());
    I_ChipItem* b = holder.GetChipItem("KV61B-S28");
    ASSERT_NE(nullptr, b);
    EXPECT_NE(a, b);
    EXPECT_NE(0u, b->GetDownloadOnly());
    EXPECT_EQ(nullptr, holder.GetChipItem("KV99"));
    EXPECT_EQ(nullptr, holder.GetChipItem(""));
}

TEST_F(ChipInfo, FillsListsAcrossTheComponentBoundary)
{
    C_ChipInfoPtr holder;
    ASSERT_TRUE(holder.Load(nullptr));

    C_CUStringList list;
    list.Add("kept");
    EXPECT_TRUE(holder.GetChipList("KV61A", &list, 1, 2));
    EXPECT_EQ((std::vector<std::string>{"kept", "KV61A-S28", "KV61A-Q44"}), Texts(list));

    C_CUStringList family;
    EXPECT_TRUE(holder.GetChipList("kv61", &family, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"KV61A-S28", "KV61A-Q44", "KV61B-S28"}), Texts(family));

    C_CUStringList semicolons;
    EXPECT_TRUE(holder.GetChipList("KQ83", &semicolons, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"KQ83-L48", "KQ83-L64", "KQ83-D"}), Texts(semicolons));

    EXPECT_FALSE(holder.GetChipList("ZZ", &list, 0, 0));
    EXPECT_EQ(3, list.GetCount());
}

TEST_F(ChipInfo, LibraryHolderKeepsTheServiceForTheWholeRun)
{
    // This program never names the library's own holder: it is there all the
    // same, so the service outlives every holder the program makes.
    auto* first = new C_ChipInfoPtr;
    ASSERT_TRUE(first->Load(nullptr));
    I_ChipItem* item = first->GetChipItem("KQ83");
    ASSERT_NE(nullptr, item);
    {
        C_ChipInfoPtr second;
        // Loaded already: the same service answers, no new one is made.
        EXPECT_TRUE(second.Load(nullptr));
        EXPECT_EQ(item, second.GetChipItem("KQ83"));
    }
    delete first;
    EXPECT_NE(nullptr, GetModuleHandleA("ChipInfo.dll"));
    C_ChipInfoPtr later;
    EXPECT_EQ(item, later.GetChipItem("KQ83"));
}

TEST_F(ChipInfo, MissingComponentExplainedOnEveryLoad)
{
    OtherProgramFolder folder(false);
    ASSERT_NE(nullptr, folder.host);
    C_ChipInfoPtr holder;
    EXPECT_FALSE(holder.Load(nullptr));
    EXPECT_FALSE(holder.Load(nullptr));
    ASSERT_EQ(2u, answerer.Count());
    EXPECT_EQ("ChipInfo Loader", answerer.Last().caption);
    // The program folder comes upper-cased.
    std::string expected = folder.dir.File("ChipInfo.dll");
    std::string text = answerer.Last().text;
    CharUpperA(&expected[0]);
    CharUpperA(&text[0]);
    EXPECT_EQ(0u, text.find("LOAD '" + expected + "' FAILED !\r\nERROR CODE 126: ")) << answerer.Last().text;

    C_CUStringList list;
    EXPECT_EQ(nullptr, holder.GetChipItem("KV61A"));
    EXPECT_FALSE(holder.GetChipList("KV61A", &list, 0, 0));
}

TEST_F(ChipInfo, FailedInitialisationKeepsTheService)
{
    OtherProgramFolder folder(true);   // no "ChipInfo.cfg" there
    ASSERT_NE(nullptr, folder.host);
    C_ChipInfoPtr holder;
    EXPECT_FALSE(holder.Load(nullptr));
    EXPECT_TRUE(holder.Load(nullptr));
    EXPECT_EQ(0u, answerer.Count());
    EXPECT_EQ(nullptr, holder.GetChipItem("KV61A"));
}
