// The application's recent lists and document templates, on the test process's own profile.
#include <gtest/gtest.h>
#include <string>
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "resources/ideres.h"
#include "tests/harness/harness.h"
#include "tests/ide/workbench/mainframe_fixture.h"

namespace {

CAsmIDEApp* App()
{
    return static_cast<CAsmIDEApp*>(AfxGetApp());
}

// The lists as start-up reads them, after the profile got these entries.
void LoadRecentLists(const std::vector<std::string>& files, const std::vector<std::string>& projects)
{
    App()->WriteProfileString("Recent File List", nullptr, nullptr);
    App()->WriteProfileString("Recent Project List", nullptr, nullptr);
    for (size_t i = 0; i < files.size(); ++i)
        App()->WriteProfileString("Recent File List", ("File" + std::to_string(i + 1)).c_str(), files[i].c_str());
    for (size_t i = 0; i < projects.size(); ++i)
        App()->WriteProfileString("Recent Project List", ("Project" + std::to_string(i + 1)).c_str(),
                                  projects[i].c_str());
    App()->LoadStdProfileSettings(4);
}

std::string ItemText(HMENU hMenu, int index)
{
    char text[256] = "";
    GetMenuStringA(hMenu, index, text, sizeof text, MF_BYPOSITION);
    return text;
}

bool Greyed(HMENU hMenu, int index)
{
    return (GetMenuState(hMenu, index, MF_BYPOSITION) & MF_GRAYED) != 0;
}

// A recent submenu with its placeholder, updated as the framework does when it opens.
struct RecentSubmenu {
    CMenu menu;
    explicit RecentSubmenu(UINT nID)
    {
        menu.CreatePopupMenu();
        menu.AppendMenu(MF_STRING, nID, "(none)");
        AfxUpdateMenuPopup(App(), &menu, TRUE);
    }
};

TEST(RecentLists, AnEmptyListGreysItsItemAFullOneFillsTheSubmenu)
{
    const std::string project = "C:\\work\\Sample.wbi";
    LoadRecentLists({}, {project, "C:\\other\\Two.wbi"});
    RecentSubmenu files(ID_FILE_MRU_FILE1), projects(ID_FILE_MRU_PROJECT1);
    ASSERT_EQ(1, files.menu.GetMenuItemCount());
    EXPECT_EQ("(none)", ItemText(files.menu, 0));
    EXPECT_TRUE(Greyed(files.menu, 0));
    ASSERT_EQ(2, projects.menu.GetMenuItemCount());
    EXPECT_EQ("&1 " + project, ItemText(projects.menu, 0));
    EXPECT_EQ(ID_FILE_MRU_PROJECT1 + 1, projects.menu.GetMenuItemID(1));
    EXPECT_FALSE(Greyed(projects.menu, 0));
    EXPECT_FALSE(Greyed(projects.menu, 1));
}

TEST(RecentLists, ARecentProjectThatFailsToOpenLeavesTheList)
{
    vt::TempDir dir;
    const std::string gone = dir.File("Gone.wbi"), kept = dir.File("Kept.wbi");
    LoadRecentLists({}, {gone, kept});
    vt::ModalAnswerer answerer;
    // Without a main window nothing is opened and nothing forgotten; the command is handled.
    EXPECT_TRUE(App()->OnCmdMsg(ID_FILE_MRU_PROJECT1, CN_COMMAND, nullptr, nullptr));
    EXPECT_STREQ(gone.c_str(), (*App()->m_pRecentProjectList)[0]);

    vt::MainFrame frame;
    ASSERT_NE(nullptr, frame.p);
    App()->m_pMainWnd = frame.p;
    EXPECT_TRUE(App()->OnCmdMsg(ID_FILE_MRU_PROJECT1, CN_COMMAND, nullptr, nullptr));
    App()->m_pMainWnd = nullptr;
    EXPECT_STREQ(kept.c_str(), (*App()->m_pRecentProjectList)[0]);
    EXPECT_STREQ("", (*App()->m_pRecentProjectList)[1]);
}

TEST(Templates, NewDocumentsComeFromTheTemplateOfThatExactName)
{
    App()->RegisterDocTemplates();
    ASSERT_NE(nullptr, g_pTextTemplate);
    EXPECT_EQ(g_pTextTemplate, App()->FindDocTemplate("Text"));
    CDocTemplate* pDisAsm = App()->FindDocTemplate("DisAsm");
    ASSERT_NE(nullptr, pDisAsm);
    EXPECT_NE(g_pTextTemplate, pDisAsm);
    EXPECT_EQ(nullptr, App()->FindDocTemplate("text"));
    EXPECT_EQ(nullptr, App()->FindDocTemplate("Tex"));

    vt::MainFrame frame;
    ASSERT_NE(nullptr, frame.p);
    App()->m_pMainWnd = frame.p;
    EXPECT_EQ(nullptr, App()->OpenNewDocument("Nothing", nullptr));
    App()->OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr);
    vt::PumpMessages();
    CMDIChildWnd* pChild = frame.p->MDIGetActive();
    ASSERT_NE(nullptr, pChild);
    CDocument* pDoc = pChild->GetActiveDocument();
    ASSERT_NE(nullptr, dynamic_cast<CAsmIDEDoc*>(pDoc));
    EXPECT_STREQ("Text1", pDoc->GetTitle());

    // A file opens in the store of a document of that template.
    vt::TempDir dir;
    const std::string path = dir.Write("notes.txt", "first\r\nsecond\r\n");
    auto* pText = dynamic_cast<CAsmIDEDoc*>(App()->OpenNewDocument("Text", path.c_str()));
    ASSERT_NE(nullptr, pText);
    EXPECT_EQ(2, pText->m_Edit.GetLineCount());
    EXPECT_FALSE(pText->IsModified());
    App()->CloseAllDocuments(FALSE);
    App()->m_pMainWnd = nullptr;
}

} // namespace
