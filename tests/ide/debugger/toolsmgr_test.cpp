#include "tests/ide/workbench/mainframe_fixture.h"
#include "framework/controls/dialogs/TWKUserTool.h"
#include "ide/debugger/IDEToolsMgr.h"
#include "support/config/CUPath.h"
#include <algorithm>

namespace {

using vt::MainFrame;

std::string CalcPath()
{
    char sz[MAX_PATH] = "";
    return FindSystemProgram("calc.exe", sz) ? sz : "";
}

std::vector<bool> HiddenButtons(TWKCustomToolBar* pBar)
{
    std::vector<bool> hidden;
    for (int i = 0; i < pBar->GetButtonCount(); ++i)
        hidden.push_back((pBar->GetButtonStyle(i) & TBBS_HIDDEN) != 0);
    return hidden;
}

HMENU ToolsPopup(CMainFrame* p)
{
    HMENU hBar = p->GetCurrentMenu();
    for (int i = 0; hBar && i < GetMenuItemCount(hBar); ++i) {
        char sz[64] = "";
        GetMenuStringA(hBar, (UINT)i, sz, sizeof sz, MF_BYPOSITION);
        if (!strcmp(sz, "&Tools"))
            return GetSubMenu(hBar, i);
    }
    return nullptr;
}

TEST(ToolsMgr, WithoutProjectOnlyTheCalculatorAndADefaultListOfTwentyGivesFourteenBesideIt)
{
    ASSERT_FALSE(CalcPath().empty()) << "calc.exe is installed in the Windows folder";
    MainFrame f;
    C_IDEToolsMgr* pMgr = f.p->GetToolsMgr();
    ASSERT_NE(pMgr, nullptr);
    ASSERT_EQ(pMgr->GetToolCount(), 1);
    EXPECT_EQ(pMgr->GetTool(0).m_strMenuText, "Calculator");
    EXPECT_EQ(pMgr->GetTool(0).m_nCmdID, (UINT)ID_TOOLS_PREDEFINED_FIRST);
    EXPECT_NE(pMgr->GetTool(0).m_hSmall, nullptr);
    TWKCustomToolBar* pBar = f.ToolBar(IDW_TOOLS_TOOLBAR);
    ASSERT_NE(pBar, nullptr);
    std::vector<bool> hidden = HiddenButtons(pBar);
    ASSERT_EQ(hidden.size(), 16u);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(hidden[i], i >= 1) << i;

    // Tooltips of the predefined commands present, none for the others.
    NMTTDISPINFOA tt = {};
    tt.hdr.code = TTN_NEEDTEXTA;
    LRESULT res = 1;
    EXPECT_TRUE(pMgr->GetToolTipText(ID_TOOLS_PREDEFINED_FIRST, &tt.hdr, &res));
    EXPECT_STREQ(tt.szText, "Calculator");
    EXPECT_EQ(res, 0);
    EXPECT_FALSE(pMgr->GetToolTipText(ID_TOOLS_PREDEFINED_FIRST + 1, &tt.hdr, &res));

    // A default-tool list naming twenty programs (one missing) fills the toolbar but its last button.
    vt::TempDir dir;
    std::string list = "[Tools]\r\n";
    for (int i = 1; i <= 20; ++i)
        list += "DefaultTool" + std::to_string(i) + "=" + (i == 2 ? std::string("missing.exe") : CalcPath()) +
                ",Tool " + std::to_string(i) + "\r\n";
    std::string listFile = dir.Write("tools.lst", list);
    pMgr->RefreshToolBar(listFile.c_str(), "Tools", "DefaultTool");
    ASSERT_EQ(pMgr->GetToolCount(), 15);
    EXPECT_EQ(pMgr->GetTool(1).m_strMenuText, "Tool 1");
    EXPECT_EQ(pMgr->GetTool(2).m_strMenuText, "Tool 3");
    EXPECT_EQ(pMgr->GetTool(14).m_nCmdID, (UINT)ID_TOOLS_PREDEFINED_FIRST + 14);
    hidden = HiddenButtons(pBar);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(hidden[i], i >= 15) << i;

    // The Tools popup is rebuilt with them when a popup opens; back to the calculator alone after.
    HMENU hTools = ToolsPopup(f.p);
    ASSERT_NE(hTools, nullptr);
    f.p->SendMessage(WM_INITMENUPOPUP, (WPARAM)hTools, 0);
    std::vector<int> ids = vt::MenuIDs(hTools);
    ASSERT_GE(ids.size(), 17u);
    EXPECT_EQ(ids[0], ID_TOOLS_PREDEFINED_FIRST);
    EXPECT_EQ(ids[14], ID_TOOLS_PREDEFINED_FIRST + 14);
    EXPECT_EQ(ids[15], 0);
    EXPECT_NE(std::find(ids.begin(), ids.end(), ID_TOOLS_CUSTOMIZE), ids.end());
    MENUITEMINFOA mii = { sizeof mii, MIIM_CHECKMARKS };
    ASSERT_TRUE(GetMenuItemInfoA(hTools, ID_TOOLS_PREDEFINED_FIRST, FALSE, &mii));
    EXPECT_EQ(mii.hbmpUnchecked, pMgr->GetTool(0).m_hSmall);
    pMgr->RefreshToolBar();
    f.p->SendMessage(WM_INITMENUPOPUP, (WPARAM)hTools, 0);
    ids = vt::MenuIDs(hTools);
    EXPECT_EQ(ids.front(), ID_TOOLS_PREDEFINED_FIRST);
    EXPECT_EQ(ids[1], 0);
    EXPECT_NE(std::find(ids.begin(), ids.end(), ID_TOOLS_CUSTOMIZE), ids.end());
}

TEST(ToolsMgr, UserToolsUpToTheSixteenthAreRoutedAndAFailingOneSaysSo)
{
    MainFrame f;
    C_IDEToolsMgr* pMgr = f.p->GetToolsMgr();
    ASSERT_NE(pMgr, nullptr);
    CObArray& tools = pMgr->GetUserTools();
    DeleteUserTools(&tools);
    for (int i = 0; i < 18; ++i) {
        auto* t = new TWKUserTool;
        t->strMenuText.Format("Bad %d", i + 1);
        t->strCommand = "Z:\\no\\such\\program.exe";
        tools.Add(t);
    }
    HMENU hTools = ToolsPopup(f.p);
    ASSERT_NE(hTools, nullptr);
    f.p->SendMessage(WM_INITMENUPOPUP, (WPARAM)hTools, 0);
    std::vector<int> ids = vt::MenuIDs(hTools);
    // Only the first sixteen get items.
    EXPECT_NE(std::find(ids.begin(), ids.end(), ID_TOOLS_USER_FIRST + 15), ids.end());
    EXPECT_EQ(std::find(ids.begin(), ids.end(), ID_TOOLS_USER_FIRST + 16), ids.end());

    vt::ModalAnswerer answerer;
    for (int n : { 0, 15 }) {
        f.Command(ID_TOOLS_USER_FIRST + n);
        ASSERT_EQ(answerer.Count(), 1u) << n;
        EXPECT_EQ(answerer.Last().caption, "Error: ");
        EXPECT_NE(answerer.Last().text.find("Execute tool Bad " + std::to_string(n + 1) + " failed !!"),
                  std::string::npos)
            << answerer.Last().text;
        answerer.Clear();
    }
    // Past the sixteenth nothing is routed.
    f.Command(ID_TOOLS_USER_FIRST + 16);
    EXPECT_EQ(answerer.Count(), 0u);
}

} // namespace
