// The frame's standard commands: the bar toggles, the key panes, the prompts
// and help.
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "afx/afxres.h"
#include "tests/harness/harness.h"
#include <string>

namespace {

const UINT kFrameRes = 0x7E20;   // the test frame's title, menu and icon
const UINT kThingCmd = 0x7E21;   // an item of its File menu

class CTestBar : public CControlBar
{
public:
    BOOL Create(CWnd* pParent, UINT nID)
    {
        m_dwStyle = CBRS_TOP;
        RegisterBarClass();
        return CWnd::CreateEx(0, AFX_WNDCONTROLBAR, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                              pParent->m_hWnd, (HMENU)(UINT_PTR)nID);
    }
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? CSize(32767, 20) : CSize(20, 32767); }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

// Records what an update handler set.
class CRecordingCmdUI : public CCmdUI
{
public:
    int check = -1;
    int enabled = -1;
    explicit CRecordingCmdUI(UINT nID) { m_nID = nID; }
    void Enable(BOOL bOn) override { enabled = bOn ? 1 : 0; m_bEnableChanged = TRUE; }
    void SetCheck(int nCheck) override { check = nCheck; }
};

std::string Text(HWND h)
{
    char buf[256] = "";
    ::GetWindowTextA(h, buf, sizeof buf);
    return buf;
}

std::string LoadString(UINT nID)
{
    CString s;
    s.LoadString(nID);
    return (LPCSTR)s;
}

struct FrameCommands : ::testing::Test {
    CFrameWnd* frame = new CFrameWnd;
    CTestBar toolBar, statusBar;
    void SetUp() override
    {
        ASSERT_TRUE(frame->LoadFrame(kFrameRes, WS_OVERLAPPEDWINDOW));
        ASSERT_TRUE(toolBar.Create(frame, AFX_IDW_TOOLBAR));
        ASSERT_TRUE(statusBar.Create(frame, AFX_IDW_STATUS_BAR));
        frame->ShowWindow(SW_SHOW);
        frame->RecalcLayout();
        vt::HelpRequests().clear();
    }
    void TearDown() override
    {
        frame->DestroyWindow();   // deletes itself
        vt::PumpMessages();
    }
};

TEST_F(FrameCommands, ViewTogglesFollowAndSetTheBarsVisibility)
{
    for (UINT nID : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        CControlBar* pBar = frame->GetControlBar(nID);
        ASSERT_NE(nullptr, pBar);
        CRecordingCmdUI shown(nID);
        shown.DoUpdate(frame, FALSE);
        EXPECT_EQ(1, shown.check) << nID;

        frame->SendMessage(WM_COMMAND, nID);
        EXPECT_FALSE(pBar->IsVisible()) << nID;
        CRecordingCmdUI hidden(nID);
        hidden.DoUpdate(frame, FALSE);
        EXPECT_EQ(0, hidden.check) << nID;

        frame->SendMessage(WM_COMMAND, nID);
        EXPECT_TRUE(pBar->IsVisible()) << nID;
    }
}

TEST_F(FrameCommands, KeyPanesFollowTheKeysToggleState)
{
    const struct { UINT nID; int vk; const char* text; } panes[] = {
        {ID_INDICATOR_CAPS, VK_CAPITAL, "CAP"},
        {ID_INDICATOR_NUM, VK_NUMLOCK, "NUM"},
        {ID_INDICATOR_SCRL, VK_SCROLL, "SCRL"},
    };
    for (const auto& p : panes) {
        CRecordingCmdUI ui(p.nID);
        ui.DoUpdate(frame, FALSE);
        EXPECT_EQ((::GetKeyState(p.vk) & 1) ? 1 : 0, ui.enabled) << p.text;
        EXPECT_EQ(p.text, LoadString(p.nID));
    }
}

TEST_F(FrameCommands, PromptsOfEachGroupReachTheStatusBar)
{
    const struct { UINT nItem; UINT nFlags; const char* prompt; } items[] = {
        {ID_FILE_OPEN, MF_STRING, "Open an existing document"},
        {ID_WINDOW_CASCADE, MF_STRING, "Arrange windows so they overlap"},
        {ID_HELP, MF_STRING, "Display help for current task or command"},
        {ID_VIEW_STATUS_BAR, MF_STRING, "Show or hide the status bar"},
        {SC_CLOSE, MF_SYSMENU, "Close the active window and prompts to save the documents"},
        {SC_RESTORE, MF_SYSMENU, "Restore the window to normal size"},
    };
    HMENU hSys = ::GetSystemMenu(frame->m_hWnd, FALSE);
    for (const auto& it : items) {
        frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(it.nItem, it.nFlags),
                           (LPARAM)((it.nFlags & MF_SYSMENU) ? hSys : ::GetMenu(frame->m_hWnd)));
        EXPECT_EQ(it.prompt, Text(statusBar.m_hWnd)) << it.nItem;
    }
    EXPECT_EQ("&Hide", LoadString(AFX_IDS_HIDE));
}

TEST_F(FrameCommands, F1OverAHighlightedMenuItemAsksHelpForItsCommand)
{
    // The menu's own loop: Down highlights the first item, F1 asks for help,
    // Escape closes the menu.
    HMENU hPopup = ::GetSubMenu(::GetMenu(frame->m_hWnd), 0);
    ASSERT_EQ(kThingCmd, ::GetMenuItemID(hPopup, 0));
    frame->SetForegroundWindow();
    for (WPARAM vk : {VK_DOWN, VK_F1, VK_ESCAPE})
        frame->PostMessage(WM_KEYDOWN, vk, 0);
    ::TrackPopupMenu(hPopup, TPM_RETURNCMD, 50, 50, 0, frame->m_hWnd, nullptr);
    ASSERT_EQ(1u, vt::HelpRequests().size());
    EXPECT_EQ((DWORD_PTR)(HID_BASE_COMMAND + kThingCmd), vt::HelpRequests()[0].data);
    EXPECT_EQ((UINT)HELP_CONTEXT, vt::HelpRequests()[0].command);

    // Outside a menu: the frame's own context; ID_HELP the same.
    vt::HelpRequests().clear();
    frame->SendMessage(WM_COMMAND, ID_HELP);
    ASSERT_EQ(1u, vt::HelpRequests().size());
    EXPECT_EQ((DWORD_PTR)(HID_BASE_RESOURCE + kFrameRes), vt::HelpRequests()[0].data);
    // A given context goes through unchanged.
    EXPECT_TRUE(frame->SendMessage(WM_COMMANDHELP, 0, 0x1234));
    EXPECT_EQ((DWORD_PTR)0x1234, vt::HelpRequests().back().data);
}

} // namespace
