// The Toolbars dialog and page on a frame with the real toolbar manager: the
// list of bars, showing and hiding, renaming, deleting and resetting, bar
// notices, new toolbars, the look check boxes and configuration mode.
#include "tests/framework/controls/toolbars/customize_fixture.h"

using namespace vt;

namespace {

TWKToolBarsDlg* DlgOf(HWND h)
{
    return dynamic_cast<TWKToolBarsDlg*>(CWnd::FromHandlePermanent(h));
}

bool IsNotified(TWKToolBarManager* pMgr, HWND h)
{
    for (INT_PTR i = 0; i < pMgr->m_arrNotifyWnds.GetSize(); i++)
        if (pMgr->m_arrNotifyWnds[i] == h)
            return true;
    return false;
}

struct Entry {
    std::string text;
    UINT nID;
    int nCheck;
    bool operator==(const Entry& o) const { return text == o.text && nID == o.nID && nCheck == o.nCheck; }
};
std::ostream& operator<<(std::ostream& os, const Entry& e)
{
    return os << "{" << e.text << ", " << std::hex << e.nID << std::dec << ", " << e.nCheck << "}";
}

std::vector<Entry> Entries(CCheckListBox& list)
{
    std::vector<Entry> v;
    for (int i = 0; i < list.GetCount(); i++)
        v.push_back({ ItemText(list, i), (UINT)list.GetItemData(i), list.GetCheck(i) });
    return v;
}

// Selects an entry as a click on its text does.
void Select(TWKToolBarsBase* pBase, HWND hDlg, int nIndex)
{
    ClickItem(pBase->GetList(), nIndex, FALSE);
    EXPECT_EQ(nIndex, pBase->GetList().GetCurSel());
    (void)hDlg;
}

TEST(ToolBarsDialog, ListsTheBarsAndRunsInConfigurationModeForEveryEnding)
{
    CustomizeFrame frame;
    ASSERT_TRUE(frame.p);
    frame.p->ShowControlBar(frame.Bar(kBuildBar), FALSE, FALSE);
    struct Case {
        const char* name;
        std::function<void(HWND)> end;
        INT_PTR result;
    } cases[] = {
        { "Close", [](HWND h) { Click(h, IDOK); }, IDOK },
        { "Cancel", [](HWND h) { ::SendMessageA(h, WM_COMMAND, IDCANCEL, 0); }, IDCANCEL },
        { "close box", [](HWND h) { ::SendMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL },
        { "Customize", [](HWND h) { Click(h, IDC_TWK_TB_CUSTOMIZE); }, IDC_TWK_TB_CUSTOMIZE },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModalSteps steps;
        HWND hDlg = nullptr;
        steps.Then("Toolbars", [&](HWND h) {
            hDlg = h;
            TWKToolBarsDlg* pDlg = DlgOf(h);
            ASSERT_NE(nullptr, pDlg);
            const std::vector<Entry> expected = {
                { "Menu bar", kMenuBarID, 1 }, { "Standard", kStandardBar, 1 }, { "Build", kBuildBar, 0 },
                { "User", kUserBar, 1 },
            };
            EXPECT_EQ(expected, Entries(pDlg->GetList()));
            EXPECT_EQ(0, pDlg->GetList().GetCurSel());
            // The check list keeps the height its boxes need.
            EXPECT_GE(pDlg->GetList().GetItemHeight(0), 14);
            EXPECT_TRUE(frame.pMgr->InConfigMode());
            EXPECT_TRUE(::IsWindowEnabled(frame.p->m_hWnd));
            EXPECT_FALSE(::IsWindowEnabled(frame.p->m_hWndMDIClient));
            EXPECT_TRUE(frame.Bar(kStandardBar)->GetConfigMode());
            EXPECT_TRUE(frame.pUser->GetConfigMode());
            EXPECT_EQ(pDlg, frame.pMgr->m_pNoDropWnd);
            EXPECT_TRUE(IsNotified(frame.pMgr, h));
            EXPECT_EQ(TRUE, ::SendMessageA(h, WM_FLOATSTATUS, FS_DEACTIVATE, 0));
            c.end(h);
        });
        EXPECT_EQ(c.result, frame.pMgr->RunToolBarsDialog());
        EXPECT_EQ(0u, steps.Pending());
        EXPECT_FALSE(frame.pMgr->InConfigMode());
        EXPECT_TRUE(::IsWindowEnabled(frame.p->m_hWnd));
        EXPECT_TRUE(::IsWindowEnabled(frame.p->m_hWndMDIClient));
        EXPECT_FALSE(frame.Bar(kStandardBar)->GetConfigMode());
        EXPECT_EQ(nullptr, frame.pMgr->m_pNoDropWnd);
        EXPECT_FALSE(IsNotified(frame.pMgr, hDlg));
    }
}

TEST(ToolBarsDialog, CheckMarksShowAndHideBarsButNotTheMenuBar)
{
    CustomizeFrame frame;
    ASSERT_TRUE(frame.p);
    ModalSteps steps;
    steps.Then("Toolbars", [&](HWND h) {
        TWKToolBarsDlg* pDlg = DlgOf(h);
        CCheckListBox& list = pDlg->GetList();
        CRect before, after;
        ::GetWindowRect(frame.p->m_hWndMDIClient, &before);
        ClickItem(list, 3, TRUE);   // User, docked at the bottom
        EXPECT_EQ(0, list.GetCheck(3));
        EXPECT_FALSE(frame.pUser->IsWindowVisible());
        // The frame laid itself out at once: the client area took the bar's place.
        ::GetWindowRect(frame.p->m_hWndMDIClient, &after);
        EXPECT_GT(after.bottom, before.bottom);
        ClickItem(list, 3, TRUE);
        EXPECT_EQ(1, list.GetCheck(3));
        EXPECT_TRUE(frame.pUser->IsWindowVisible());

        ClickItem(list, 0, TRUE);   // the menu bar
        EXPECT_EQ(1, list.GetCheck(0));
        EXPECT_TRUE(frame.p->m_menuBar.IsWindowVisible());
        Click(h, IDOK);
    });
    EXPECT_EQ(IDOK, frame.pMgr->RunToolBarsDialog());
}

TEST(ToolBarsDialog, SelectionRenamesUserToolBarsOnly)
{
    CustomizeFrame frame;
    ASSERT_TRUE(frame.p);
    CString strDelete, strReset;
    strDelete.LoadString(IDS_TWK_TBDELETE);
    strReset.LoadString(IDS_TWK_TBRESET);
    EXPECT_STREQ("&Delete", strDelete);
    EXPECT_STREQ("&Reset", strReset);
    const std::string longName(200, 'n');
    const std::string cut(128, 'n');
    for (BOOL bFloating : { FALSE, TRUE }) {
        SCOPED_TRACE(bFloating ? "floating" : "docked");
        if (bFloating)
            frame.p->FloatControlBar(frame.pUser, CPoint(300, 300), CBRS_ALIGN_TOP);
        ModalSteps steps;
        steps.Then("Toolbars", [&](HWND h) {
            TWKToolBarsDlg* pDlg = DlgOf(h);
            HWND hEdit = ::GetDlgItem(h, IDC_TWK_TB_NAME);
            Select(pDlg, h, 3);
            EXPECT_TRUE(::IsWindowEnabled(hEdit));
            EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(h, IDC_TWK_TB_NAMELABEL)));
            EXPECT_EQ("User", DlgText(h, IDC_TWK_TB_NAME));
            EXPECT_EQ("&Delete", DlgText(h, IDC_TWK_TB_RESET));

            ::SetWindowTextA(hEdit, longName.c_str());
            ::SendMessageA(hEdit, EM_SETMODIFY, TRUE, 0);
            ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_TWK_TB_NAME, EN_KILLFOCUS), (LPARAM)hEdit);
            EXPECT_EQ(cut, DlgText(h, IDC_TWK_TB_NAME));
            EXPECT_FALSE(::SendMessageA(hEdit, EM_GETMODIFY, 0, 0));
            CString strTitle;
            frame.pUser->GetWindowText(strTitle);
            EXPECT_EQ(cut, (LPCSTR)strTitle);
            if (bFloating) {
                frame.pUser->GetParentFrame()->GetWindowText(strTitle);
                EXPECT_EQ(cut, (LPCSTR)strTitle);
            }
            const std::vector<Entry> renamed = { { cut, kUserBar, 1 } };
            EXPECT_EQ(renamed[0], Entries(pDlg->GetList())[3]);
            EXPECT_EQ(3, pDlg->GetList().GetCurSel());
            // Without a change the name is left alone.
            frame.pUser->SetWindowText("User");
            ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(IDC_TWK_TB_NAME, EN_KILLFOCUS), (LPARAM)hEdit);
            frame.pUser->GetWindowText(strTitle);
            EXPECT_STREQ("User", strTitle);

            for (int i : { 0, 1 }) {
                Select(pDlg, h, i);
                EXPECT_FALSE(::IsWindowEnabled(hEdit));
                EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(h, IDC_TWK_TB_NAMELABEL)));
                EXPECT_EQ(i ? "Standard" : "Menu bar", DlgText(h, IDC_TWK_TB_NAME));
                EXPECT_EQ("&Reset", DlgText(h, IDC_TWK_TB_RESET));
            }
            Click(h, IDOK);
        });
        EXPECT_EQ(IDOK, frame.pMgr->RunToolBarsDialog());
    }
}

TEST(ToolBarsDialog, DeleteAndReset)
{
    CustomizeFrame frame;
    ASSERT_TRUE(frame.p);
    TWKCustomToolBar* pStd = frame.Bar(kStandardBar);
    const UINT changed[] = { ID_TWK_TEST_E };
    pStd->SetButtons(changed, 1);
    TWKMenuBar& menuBar = frame.p->m_menuBar;
    int nMenuButtons = menuBar.GetButtonCount();
    menuBar.RemoveButton(0);
    ModalSteps steps;
    steps.Then("Toolbars", [&](HWND h) {
        TWKToolBarsDlg* pDlg = DlgOf(h);
        // Reset of a default toolbar: its default buttons.
        Select(pDlg, h, 1);
        Click(h, IDC_TWK_TB_RESET);
        EXPECT_EQ(Buttons(pStd), "32097 32098 | 32099");
        // Reset of the menu bar: its menus' buttons.
        Select(pDlg, h, 0);
        Click(h, IDC_TWK_TB_RESET);
        EXPECT_EQ(nMenuButtons, menuBar.GetButtonCount());
        // Delete of the selected last entry: the new last one is selected.
        Select(pDlg, h, 3);
        Click(h, IDC_TWK_TB_RESET);
        EXPECT_EQ(nullptr, frame.pMgr->GetToolBar(kUserBar));
        ASSERT_EQ(3, pDlg->GetList().GetCount());
        EXPECT_EQ(2, pDlg->GetList().GetCurSel());
        EXPECT_EQ("Build", DlgText(h, IDC_TWK_TB_NAME));
        EXPECT_EQ("&Reset", DlgText(h, IDC_TWK_TB_RESET));
        Click(h, IDOK);
    });
    EXPECT_EQ(IDOK, frame.pMgr->RunToolBarsDialog());
    frame.pUser = nullptr;
}

TEST(ToolBarsDialog, BarNoticesUpdateTheList)
{
    CustomizeFrame frame;
    ASSERT_TRUE(frame.p);
    ModalSteps steps;
    steps.Then("Toolbars", [&](HWND h) {
        TWKToolBarsDlg* pDlg = DlgOf(h);
        CCheckListBox& list = pDlg->GetList();
        auto notify = [&](UINT nID, int nEvent) { return ::SendMessageA(h, WM_BARNOTIFY, nID, nEvent); };
        EXPECT_EQ(0, notify(kStandardBar, TWK_BARNOTIFY_HIDDEN));
        EXPECT_EQ(0, list.GetCheck(1));
        notify(kStandardBar, TWK_BARNOTIFY_SHOWN);
        EXPECT_EQ(1, list.GetCheck(1));
        // Ids that are not listed, and a "created" notice without a bar, change nothing.
        std::vector<Entry> before = Entries(list);
        for (int nEvent : { 0, 1, 2, 3, 4, 77 })
            notify(0x1234, nEvent);
        EXPECT_EQ(before, Entries(list));

        // A new bar is listed before the first entry with a greater id,
        // checked; its destruction removes it and keeps the selection.
        Select(pDlg, h, 2);
        TWKCustomToolBar* pNew = frame.pMgr->CreateUserToolBar("Second");
        ASSERT_NE(nullptr, pNew);
        UINT nNewID = (UINT)pNew->GetDlgCtrlID();
        int nAt = 0;
        while (nAt < (int)before.size() && before[(size_t)nAt].nID <= nNewID)
            nAt++;
        ASSERT_EQ(5, list.GetCount());
        EXPECT_EQ((Entry{ "Second", nNewID, 1 }), Entries(list)[(size_t)nAt]);
        pNew->DestroyWindow();
        EXPECT_EQ(before, Entries(list));
        Click(h, IDOK);
    });
    EXPECT_EQ(IDOK, frame.pMgr->RunToolBarsDialog());
}

TEST(ToolBarsDialog, NewToolBarFloatsBelowTheTopDockBarAndEndsTheDialog)
{
    CustomizeFrame frame;
    ASSERT_TRUE(frame.p);
    const std::string longName(200, 'x');
    ModalSteps steps;
    bool bConfigDuringNew = true;
    steps.Then("Toolbars", [&](HWND h) { Click(h, IDC_TWK_TB_NEW); })
        .Then("New Toolbar", [&](HWND h) {
            bConfigDuringNew = frame.pMgr->InConfigMode() != FALSE;
            HWND hOK = ::GetDlgItem(h, IDOK);
            HWND hEdit = ::GetDlgItem(h, IDC_TWK_TB_NEWNAME);
            EXPECT_FALSE(::IsWindowEnabled(hOK));
            ::SetWindowTextA(hEdit, longName.c_str());
            EXPECT_EQ(std::string(128, 'x'), DlgText(h, IDC_TWK_TB_NEWNAME));
            EXPECT_TRUE(::IsWindowEnabled(hOK));
            ::SetWindowTextA(hEdit, "");
            EXPECT_FALSE(::IsWindowEnabled(hOK));
            ::SetWindowTextA(hEdit, "Fresh");
            EXPECT_TRUE(::IsWindowEnabled(hOK));
            Click(h, IDOK);
        });
    CRect rectTop;
    frame.p->GetControlBar(AFX_IDW_DOCKBAR_TOP)->GetWindowRect(&rectTop);
    EXPECT_EQ(IDC_TWK_TB_CUSTOMIZE, frame.pMgr->RunToolBarsDialog());
    EXPECT_FALSE(bConfigDuringNew);
    EXPECT_FALSE(frame.pMgr->InConfigMode());
    TWKCustomToolBar* pNew = frame.pMgr->GetToolBar(kUserBar + 1);
    ASSERT_NE(nullptr, pNew);
    CString strTitle;
    pNew->GetWindowText(strTitle);
    EXPECT_STREQ("Fresh", strTitle);
    ASSERT_TRUE(pNew->IsFloating());
    CRect rectFloat;
    pNew->GetParentFrame()->GetWindowRect(&rectFloat);
    EXPECT_EQ(CPoint(rectTop.left + 5, rectTop.bottom + 5), rectFloat.TopLeft());

    // Cancelled, nothing is made and the dialog stays.
    ModalSteps again;
    again.Then("Toolbars", [&](HWND h) { Click(h, IDC_TWK_TB_NEW); })
        .Then("New Toolbar", [&](HWND h) { Click(h, IDCANCEL); })
        .Then("Toolbars", [&](HWND h) {
            EXPECT_TRUE(frame.pMgr->InConfigMode());
            EXPECT_EQ(5, DlgOf(h)->GetList().GetCount());
            ::SendMessageA(h, WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_EQ(IDCANCEL, frame.pMgr->RunToolBarsDialog());
}

TEST(ToolBarsDialog, NewToolBarWithoutATopDockBarFloatsBelowTheClientArea)
{
    // A frame that docks at the bottom only, with its manager and no toolbar yet.
    auto* p = new CToolBarTestFrame;
    TWKToolBarManager mgr(p, nullptr);
    p->SetControlBarManager(&mgr);
    ASSERT_TRUE(p->LoadFrame(kToolBarFrameID));
    p->EnableDocking(CBRS_ALIGN_BOTTOM);
    p->SetWindowPos(nullptr, 0, 0, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ASSERT_EQ(nullptr, p->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    ModalSteps steps;
    steps.Then("Toolbars", [&](HWND h) {
        EXPECT_EQ(0, DlgOf(h)->GetList().GetCount());
        Click(h, IDC_TWK_TB_NEW);
    })
        .Then("New Toolbar", [&](HWND h) {
            ::SetDlgItemTextA(h, IDC_TWK_TB_NEWNAME, "Fresh");
            Click(h, IDOK);
        });
    CRect rectClient;
    p->GetClientRect(&rectClient);
    p->ClientToScreen(&rectClient);
    EXPECT_EQ(IDC_TWK_TB_CUSTOMIZE, mgr.RunToolBarsDialog());
    TWKCustomToolBar* pNew = mgr.GetToolBar(kUserBar);
    ASSERT_NE(nullptr, pNew);
    ASSERT_TRUE(pNew->IsFloating());
    CRect rectFloat;
    pNew->GetParentFrame()->GetWindowRect(&rectFloat);
    EXPECT_EQ(CPoint(rectClient.right + 5, rectClient.bottom + 5), rectFloat.TopLeft());
    p->DestroyWindow();
}

TEST(ToolBarsDialog, CheckBoxesApplyAtOnceAndCancelLeavesThem)
{
    CustomizeFrame frame;
    ASSERT_TRUE(frame.p);
    TWKToolBarManager* pMgr = frame.pMgr;
    ASSERT_TRUE(pMgr->IsToolTips());
    ASSERT_FALSE(pMgr->IsCoolLook());
    ASSERT_FALSE(pMgr->IsLargeBtns());
    ModalSteps steps;
    steps.Then("Toolbars", [&](HWND h) {
        EXPECT_EQ((UINT)BST_CHECKED, ::IsDlgButtonChecked(h, IDC_TWK_TB_TOOLTIPS));
        EXPECT_EQ((UINT)BST_UNCHECKED, ::IsDlgButtonChecked(h, IDC_TWK_TB_COOLLOOK));
        Click(h, IDC_TWK_TB_LARGEBTNS);
        EXPECT_TRUE(pMgr->IsLargeBtns());
        Click(h, IDC_TWK_TB_COOLLOOK);
        EXPECT_TRUE(pMgr->IsCoolLook());
        EXPECT_EQ((DWORD)(CBX_COOLLOOK | CBX_GRIPPER),
                  frame.Bar(kStandardBar)->GetExBarStyle() & (CBX_COOLLOOK | CBX_GRIPPER));
        Click(h, IDC_TWK_TB_TOOLTIPS);
        EXPECT_FALSE(pMgr->IsToolTips());
        EXPECT_FALSE(frame.Bar(kStandardBar)->GetBarStyle() & CBRS_TOOLTIPS);
        ::SendMessageA(h, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, pMgr->RunToolBarsDialog());
    EXPECT_TRUE(pMgr->IsLargeBtns());
    EXPECT_TRUE(pMgr->IsCoolLook());
    EXPECT_FALSE(pMgr->IsToolTips());
}

// A page that records the look notices its sibling sends.
class CRecordingPage : public CPropertyPage
{
public:
    CRecordingPage() : CPropertyPage(IDD_TWK_TBCOMMANDS) {}
    std::vector<WPARAM> seen;

protected:
    afx_msg LRESULT OnStyleChanging(WPARAM wParam, LPARAM)
    {
        seen.push_back(wParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRecordingPage, CPropertyPage)
    ON_REGISTERED_MESSAGE(WM_TOOLBARSTYLECHANGING, OnStyleChanging)
END_MESSAGE_MAP()

TEST(ToolBarsPage, ChecksApplyTheirOwnSettingTellTheSiblingAndCancelRestores)
{
    CustomizeFrame frame;
    ASSERT_TRUE(frame.p);
    TWKToolBarManager* pMgr = frame.pMgr;
    TWKToolBarsPage page;
    page.SetManager(pMgr);
    CRecordingPage other;
    TWKToolBarsSheet sheet("Customize", frame.p);
    sheet.AddPage(&page);
    sheet.AddPage(&other);
    ModalSteps steps;
    steps.Then("Customize", [&](HWND h) {
        // The other page's window exists once it was shown.
        ::SendMessageA(h, PSM_SETCURSEL, 1, 0);
        EXPECT_FALSE(pMgr->InConfigMode());
        ::SendMessageA(h, PSM_SETCURSEL, 0, 0);
        EXPECT_TRUE(pMgr->InConfigMode());
        EXPECT_TRUE(frame.Bar(kStandardBar)->GetConfigMode());
        EXPECT_EQ(&sheet, pMgr->m_pNoDropWnd);
        ASSERT_EQ(4, page.GetList().GetCount());
        EXPECT_EQ("Menu bar", ItemText(page.GetList(), 0));

        Click(page.m_hWnd, IDC_TWK_TB_COOLLOOK);
        EXPECT_TRUE(pMgr->IsCoolLook());
        Click(page.m_hWnd, IDC_TWK_TB_LARGEBTNS);
        EXPECT_TRUE(pMgr->IsLargeBtns());
        Click(page.m_hWnd, IDC_TWK_TB_TOOLTIPS);
        EXPECT_FALSE(pMgr->IsToolTips());
        EXPECT_EQ((std::vector<WPARAM>{ TWK_TBSTYLE_COOLLOOK, TWK_TBSTYLE_LARGEBTNS }), other.seen);
        ::SendMessageA(h, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_FALSE(pMgr->InConfigMode());
    EXPECT_FALSE(frame.Bar(kStandardBar)->GetConfigMode());
    EXPECT_EQ(nullptr, pMgr->m_pNoDropWnd);
    EXPECT_EQ(0, pMgr->m_arrNotifyWnds.GetSize());
    // The settings of the time the manager was attached.
    EXPECT_TRUE(pMgr->IsToolTips());
    EXPECT_FALSE(pMgr->IsCoolLook());
    EXPECT_FALSE(pMgr->IsLargeBtns());
}

TEST(ToolBarsPage, OkAppliesTheCheckedSettingsAndNewKeepsThePage)
{
    CustomizeFrame frame;
    ASSERT_TRUE(frame.p);
    TWKToolBarManager* pMgr = frame.pMgr;
    TWKToolBarsPage page;
    page.SetManager(pMgr);
    TWKToolBarsSheet sheet("Customize", frame.p);
    sheet.AddPage(&page);
    ModalSteps steps;
    steps.Then("Customize", [&](HWND) {
        ::CheckDlgButton(page.m_hWnd, IDC_TWK_TB_LARGEBTNS, BST_CHECKED);
        Click(page.m_hWnd, IDC_TWK_TB_NEW);
    })
        .Then("New Toolbar", [&](HWND h) {
            ::SetDlgItemTextA(h, IDC_TWK_TB_NEWNAME, "Fresh");
            Click(h, IDOK);
        })
        .Then("Customize", [&](HWND h) {
            EXPECT_TRUE(pMgr->InConfigMode());
            ASSERT_EQ(5, page.GetList().GetCount());
            EXPECT_GE(page.GetList().FindStringExact(-1, "Fresh"), 0);
            ::SendMessageA(h, PSM_PRESSBUTTON, PSBTN_OK, 0);
        });
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_NE(nullptr, pMgr->GetToolBar(kUserBar + 1));
    EXPECT_TRUE(pMgr->IsLargeBtns());
    EXPECT_FALSE(pMgr->InConfigMode());
}

} // namespace
