// Command-line parsing and the recent-file list.
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "afx/afxres.h"
#include "tests/harness/harness.h"

namespace {

struct Seen { std::string param; BOOL flag, last; };

class CRecordingInfo : public CCommandLineInfo
{
public:
    void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast) override
    {
        seen.push_back({pszParam, bFlag, bLast});
        CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
    }
    std::vector<Seen> seen;
};

// Parses a line as if the program had been started with it.
void Parse(const char* line, CCommandLineInfo& info)
{
    CWinApp* pApp = AfxGetApp();
    LPSTR saved = pApp->m_lpCmdLine;
    std::string copy = line;
    pApp->m_lpCmdLine = copy.data();
    pApp->ParseCommandLine(info);
    pApp->m_lpCmdLine = saved;
}

TEST(CommandLine, EveryTokenReachesParseParamWithFlagsStripped)
{
    CRecordingInfo info;
    Parse("/build -debug:COM2 \"C:\\My Projects\\a b.wbi\" /HIDE", info);
    ASSERT_EQ(4u, info.seen.size());
    EXPECT_EQ("build", info.seen[0].param);
    EXPECT_TRUE(info.seen[0].flag);
    EXPECT_EQ("debug:COM2", info.seen[1].param);
    EXPECT_TRUE(info.seen[1].flag);
    EXPECT_EQ("C:\\My Projects\\a b.wbi", info.seen[2].param);
    EXPECT_FALSE(info.seen[2].flag);
    EXPECT_FALSE(info.seen[2].last);
    EXPECT_EQ("HIDE", info.seen[3].param);
    EXPECT_TRUE(info.seen[3].last);
    EXPECT_EQ(CCommandLineInfo::FileOpen, info.m_nShellCommand);
    EXPECT_STREQ("C:\\My Projects\\a b.wbi", info.m_strFileName);
}

TEST(CommandLine, NoFileMeansNewAndOnlyTheFirstFileCounts)
{
    CCommandLineInfo none;
    Parse("  /hide  ", none);
    EXPECT_EQ(CCommandLineInfo::FileNew, none.m_nShellCommand);
    EXPECT_TRUE(none.m_strFileName.IsEmpty());

    CCommandLineInfo two;
    Parse("first.wbi second.wbi", two);
    EXPECT_EQ(CCommandLineInfo::FileOpen, two.m_nShellCommand);
    EXPECT_STREQ("first.wbi", two.m_strFileName);
}

TEST(CommandLine, QuotesAndBackslashesFollowTheSystemRules)
{
    CRecordingInfo info;
    Parse("a\\\\\"b c\" d\\\"e \"\"", info);
    ASSERT_EQ(3u, info.seen.size());
    EXPECT_EQ("a\\b c", info.seen[0].param);
    EXPECT_EQ("d\"e", info.seen[1].param);
    EXPECT_EQ("", info.seen[2].param);
}

class RecentFiles : public ::testing::Test
{
protected:
    std::string section = vt::UniqueName("Recent");
    vt::TempDir dir;
};

TEST_F(RecentFiles, AddMovesToTopIgnoringCaseAndDropsTheOldest)
{
    CRecentFileList list(ID_FILE_MRU_FILE1, section.c_str(), "File%d", 3);
    list.Add(dir.File("a.asm").c_str());
    list.Add(dir.File("b.asm").c_str());
    list.Add(dir.File("c.asm").c_str());
    // Same file in another case: moves up, no duplicate.
    std::string upperA = dir.File("A.ASM");
    list.Add(upperA.c_str());
    EXPECT_STREQ(upperA.c_str(), list[0]);
    EXPECT_STREQ(dir.File("c.asm").c_str(), list[1]);
    EXPECT_STREQ(dir.File("b.asm").c_str(), list[2]);
    list.Add(dir.File("d.asm").c_str());
    EXPECT_STREQ(dir.File("d.asm").c_str(), list[0]);
    EXPECT_STREQ(dir.File("c.asm").c_str(), list[2]);   // b dropped off

    list.Remove(0);
    EXPECT_STREQ(upperA.c_str(), list[0]);
    EXPECT_TRUE(list[2].IsEmpty());
    list.Remove(7);   // out of range: nothing happens
    EXPECT_EQ(3, list.GetSize());
}

TEST_F(RecentFiles, WriteThenReadRoundTripsAndRemovedEntriesStayGone)
{
    {
        CRecentFileList list(ID_FILE_MRU_FILE1, section.c_str(), "File%d", 4);
        list.Add(dir.File("one.asm").c_str());
        list.Add(dir.File("two.asm").c_str());
        list.Add(dir.File("three.asm").c_str());
        list.WriteList();
        list.Remove(0);
        list.WriteList();
    }
    CRecentFileList back(ID_FILE_MRU_FILE1, section.c_str(), "File%d", 4);
    back.ReadList();
    EXPECT_STREQ(dir.File("two.asm").c_str(), back[0]);
    EXPECT_STREQ(dir.File("one.asm").c_str(), back[1]);
    EXPECT_TRUE(back[2].IsEmpty());
    EXPECT_STREQ(dir.File("two.asm").c_str(), AfxGetApp()->GetProfileString(section.c_str(), "File1"));
    EXPECT_TRUE(AfxGetApp()->GetProfileString(section.c_str(), "File3").IsEmpty());
    AfxGetApp()->WriteProfileString(section.c_str(), nullptr, nullptr);
}

TEST(RecentFileNames, LongNamesAreShortenedKeepingRootAndFileName)
{
    CRecentFileList list(ID_FILE_MRU_FILE1, "Unused", "File%d", 2, 30);
    list[0] = "C:\\projects\\speech\\firmware\\sources\\main.asm";
    list[1] = "C:\\a\\x.asm";
    CString name;
    ASSERT_TRUE(list.GetDisplayName(name, 0, "", 0));
    EXPECT_LE(name.GetLength(), 30);
    EXPECT_EQ(0, name.Find("C:\\"));
    EXPECT_GT(name.Find("...\\main.asm"), 0);
    ASSERT_TRUE(list.GetDisplayName(name, 1, "C:\\a\\", 5));
    EXPECT_STREQ("x.asm", name);   // current folder left out
}

TEST(RecentFileMenu, UpdateMenuFillsASubmenuAndAnEmptyListDisables)
{
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "Recent File");

    CRecentFileList list(ID_FILE_MRU_FILE1, "Unused", "File%d", 4);
    CCmdUI ui;
    ui.m_pMenu = &popup;
    ui.m_nID = ID_FILE_MRU_FILE1;
    ui.m_nIndex = 0;
    ui.m_nIndexMax = popup.GetMenuItemCount();
    list.UpdateMenu(&ui);
    EXPECT_EQ(1u, popup.GetMenuItemCount());
    EXPECT_TRUE(popup.GetMenuState(ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);

    list[0] = "C:\\a\\R&D.asm";
    list[1] = "C:\\b\\two.asm";
    ui.m_nIndex = 0;
    list.UpdateMenu(&ui);
    ASSERT_EQ(2u, popup.GetMenuItemCount());
    CString text;
    popup.GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_STREQ("&1 C:\\a\\R&&D.asm", text);
    EXPECT_EQ(ID_FILE_MRU_FILE1 + 1, popup.GetMenuItemID(1));
    EXPECT_EQ(1u, ui.m_nIndex);   // the caller's walk goes on after the items

    // Fewer names later: the old items go, none is left behind.
    list.Remove(1);
    ui.m_nIndex = 0;
    list.UpdateMenu(&ui);
    EXPECT_EQ(1u, popup.GetMenuItemCount());
    EXPECT_EQ((UINT)ID_FILE_MRU_FILE1, popup.GetMenuItemID(0));
}

TEST(RecentFileMenu, LoadStdProfileSettingsReadsTheListAndPreviewPages)
{
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileString("Recent File List", "File1", "C:\\x\\first.asm");
    pApp->WriteProfileInt("Settings", "PreviewPages", 2);
    pApp->LoadStdProfileSettings(4);
    ASSERT_NE(nullptr, pApp->m_pRecentFileList);
    EXPECT_EQ(4, pApp->m_pRecentFileList->GetSize());
    EXPECT_STREQ("C:\\x\\first.asm", (*pApp->m_pRecentFileList)[0]);
    EXPECT_EQ(2u, pApp->m_nNumPreviewPages);
    pApp->AddToRecentFileList("C:\\x\\second.asm");
    pApp->SaveStdProfileSettings();
    EXPECT_STREQ("C:\\x\\second.asm", pApp->GetProfileString("Recent File List", "File1"));
}

} // namespace
