#include <gtest/gtest.h>
#include "afx/afx.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

std::vector<std::string>& Log()
{
    static std::vector<std::string> log;
    return log;
}

UINT g_msgPing = RegisterWindowMessageA("Veltane.Test.Ping");

class CTestWnd : public CWnd
{
public:
    std::string name;
    BOOL attachedAtNcCreate = FALSE;
    BOOL preTranslateResult = FALSE;
    int idle = 0;
    UINT sizeType = 99;
    int cx = -1, cy = -1;
    CPoint click{-1, -1};
    UINT clickFlags = 0;
    short wheelDelta = 0;
    std::string setTextSeen;
    DWORD userThread = 0;
    bool gotUser = false;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            Log().push_back("pretranslate " + name);
        return pMsg->message == WM_KEYDOWN ? preTranslateResult : FALSE;
    }

protected:
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs)
    {
        attachedAtNcCreate = CWnd::FromHandlePermanent(m_hWnd) == this;
        return CWnd::OnNcCreate(cs);
    }
    afx_msg void OnSize(UINT nType, int w, int h) { sizeType = nType; cx = w; cy = h; }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt) { clickFlags = nFlags; click = pt; }
    afx_msg BOOL OnMouseWheel(UINT, short zDelta, CPoint) { wheelDelta = zDelta; return TRUE; }
    afx_msg LRESULT OnUser5(WPARAM w, LPARAM l) { return (LRESULT)(w * 100 + l); }
    afx_msg LRESULT OnPing(WPARAM w, LPARAM) { return (LRESULT)(w + 1); }
    afx_msg LRESULT OnSetText(WPARAM, LPARAM lParam)
    {
        const MSG* pMsg = GetCurrentMessage();
        if (pMsg && pMsg->message == WM_SETTEXT && pMsg->lParam == lParam && pMsg->hwnd == m_hWnd)
            setTextSeen = reinterpret_cast<LPCSTR>(lParam);
        return Default();   // the text is stored by the default procedure
    }
    afx_msg LRESULT OnIdleUpdate(WPARAM, LPARAM) { idle++; return 0; }
    afx_msg LRESULT OnFromWorker(WPARAM w, LPARAM)
    {
        userThread = GetCurrentThreadId();
        gotUser = true;
        return (LRESULT)w * 2;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestWnd, CWnd)
    ON_WM_NCCREATE()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEWHEEL()
    ON_MESSAGE(WM_USER + 5, OnUser5)
    ON_MESSAGE(WM_USER + 9, OnFromWorker)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
    ON_REGISTERED_MESSAGE(g_msgPing, OnPing)
END_MESSAGE_MAP()

// A parent of controls: records the notifications that reach it.
class CParentWnd : public CTestWnd
{
protected:
    afx_msg void OnEditChange() { Log().push_back("parent EN_CHANGE"); }
    afx_msg void OnEditUpdate() { Log().push_back("parent EN_UPDATE"); }
    afx_msg void OnItemNotify(NMHDR* pNMHDR, LRESULT* pResult)
    {
        Log().push_back("parent notify " + std::to_string(pNMHDR->idFrom));
        *pResult = 5;
    }
    afx_msg void OnCommand300() { Log().push_back("command 300"); }
    afx_msg void OnUpdate300(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnInitMenuPopup(CMenu* pPopup, UINT, BOOL bSysMenu)
    {
        if (!bSysMenu)
            AfxUpdateMenuPopup(this, pPopup, TRUE);
    }
    afx_msg void OnCmd201() {}
    afx_msg void OnUpdate200(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdate203(CCmdUI* pCmdUI) { pCmdUI->SetRadio(TRUE); pCmdUI->SetText("Radio &On"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParentWnd, CTestWnd)
    ON_EN_CHANGE(100, OnEditChange)
    ON_EN_UPDATE(100, OnEditUpdate)
    ON_NOTIFY(NM_CLICK, 100, OnItemNotify)
    ON_NOTIFY(NM_DBLCLK, 100, OnItemNotify)
    ON_COMMAND(300, OnCommand300)
    ON_UPDATE_COMMAND_UI(300, OnUpdate300)
    ON_WM_INITMENUPOPUP()
    ON_COMMAND(201, OnCmd201)
    ON_UPDATE_COMMAND_UI(200, OnUpdate200)
    ON_UPDATE_COMMAND_UI(203, OnUpdate203)
END_MESSAGE_MAP()

// An EDIT control with its own object: reflection lands here first.
class CTestEdit : public CWnd
{
public:
    BOOL attachedAtNcCreate = FALSE;
    BOOL changeResult = FALSE;
    HBRUSH brush = nullptr;

protected:
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs)
    {
        attachedAtNcCreate = CWnd::FromHandlePermanent(m_hWnd) == this;
        return CWnd::OnNcCreate(cs);
    }
    afx_msg BOOL OnChange() { Log().push_back("edit EN_CHANGE"); return changeResult; }
    afx_msg void OnUpdate() { Log().push_back("edit EN_UPDATE"); }
    afx_msg void OnDblClk(NMHDR*, LRESULT* pResult) { Log().push_back("edit NM_DBLCLK"); *pResult = 9; }
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        Log().push_back("edit CtlColor " + std::to_string(nCtlColor) + (pDC ? " dc" : ""));
        return brush;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestEdit, CWnd)
    ON_WM_NCCREATE()
    ON_CONTROL_REFLECT_EX(EN_CHANGE, OnChange)
    ON_CONTROL_REFLECT(EN_UPDATE, OnUpdate)
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CSelfDeleting : public CWnd
{
public:
    static int deleted;
    ~CSelfDeleting() override { deleted++; }
    void PostNcDestroy() override { delete this; }
};
int CSelfDeleting::deleted = 0;

struct WndTest : ::testing::Test {
    CParentWnd top;
    void SetUp() override
    {
        Log().clear();
        top.name = "top";
        ASSERT_TRUE(top.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, LoadCursor(nullptr, IDC_ARROW)), "Top",
                                 WS_OVERLAPPEDWINDOW, 10, 10, 400, 300, nullptr, nullptr));
    }
    void TearDown() override
    {
        AfxGetApp()->m_pMainWnd = nullptr;
        top.DestroyWindow();
        vt::PumpMessages();
    }
};

TEST_F(WndTest, CreationAttachesBeforeTheFirstMessage)
{
    EXPECT_TRUE(top.attachedAtNcCreate);
    EXPECT_EQ(CWnd::FromHandlePermanent(top.m_hWnd), &top);
    EXPECT_EQ(CWnd::FromHandle(top.m_hWnd), &top);

    CTestEdit edit;
    ASSERT_TRUE(edit.Create("EDIT", "", WS_VISIBLE, CRect(0, 0, 100, 20), &top, 100));
    EXPECT_TRUE(edit.attachedAtNcCreate);   // a system class too
    EXPECT_EQ(top.GetDlgItem(100), &edit);
    EXPECT_EQ(edit.GetParent(), &top);
    EXPECT_TRUE(edit.GetStyle() & WS_CHILD);
    edit.SetWindowText("typed");
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(text, CString("typed"));   // the EDIT procedure still does its work
}

TEST_F(WndTest, HandlersGetTheirArguments)
{
    top.MoveWindow(10, 10, 300, 200);
    CRect rc;
    top.GetClientRect(&rc);
    EXPECT_EQ(top.sizeType, (UINT)SIZE_RESTORED);
    EXPECT_EQ(top.cx, rc.Width());
    EXPECT_EQ(top.cy, rc.Height());

    top.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 17));
    EXPECT_EQ(top.click, CPoint(-5, 17));
    EXPECT_EQ(top.clickFlags, (UINT)(MK_LBUTTON | MK_SHIFT));
    top.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-120), 0);
    EXPECT_EQ(top.wheelDelta, -120);

    EXPECT_EQ(top.SendMessage(WM_USER + 5, 3, 4), 304);
    EXPECT_EQ(top.SendMessage(g_msgPing, 41, 0), 42);
}

TEST_F(WndTest, DefaultAndCurrentMessageInsideAHandler)
{
    top.SetWindowText("Caption");
    EXPECT_EQ(top.setTextSeen, "Caption");
    CString text;
    top.GetWindowText(text);
    EXPECT_EQ(text, CString("Caption"));
    EXPECT_EQ(CWnd::GetCurrentMessage(), nullptr);   // outside dispatch
}

TEST_F(WndTest, ReflectionAndNotifications)
{
    CTestEdit edit;
    ASSERT_TRUE(edit.Create("EDIT", "", WS_VISIBLE, CRect(0, 0, 100, 20), &top, 100));

    // EX handler returning FALSE: the parent sees the notification too.
    top.SendMessage(WM_COMMAND, MAKEWPARAM(100, EN_CHANGE), (LPARAM)edit.m_hWnd);
    std::vector<std::string> want = {"edit EN_CHANGE", "parent EN_CHANGE"};
    EXPECT_EQ(Log(), want);

    Log().clear();
    edit.changeResult = TRUE;
    top.SendMessage(WM_COMMAND, MAKEWPARAM(100, EN_CHANGE), (LPARAM)edit.m_hWnd);
    top.SendMessage(WM_COMMAND, MAKEWPARAM(100, EN_UPDATE), (LPARAM)edit.m_hWnd);
    want = {"edit EN_CHANGE", "edit EN_UPDATE"};
    EXPECT_EQ(Log(), want);

    // WM_NOTIFY: reflected code to the child, others to the parent's map.
    Log().clear();
    NMHDR nm = { edit.m_hWnd, 100, (UINT)NM_CLICK };
    EXPECT_EQ(top.SendMessage(WM_NOTIFY, 100, (LPARAM)&nm), 5);
    nm.code = (UINT)NM_DBLCLK;
    EXPECT_EQ(top.SendMessage(WM_NOTIFY, 100, (LPARAM)&nm), 9);
    want = {"parent notify 100", "edit NM_DBLCLK"};
    EXPECT_EQ(Log(), want);

    // Colours: the control's brush, or the default when it gives none.
    Log().clear();
    HDC hdc = ::GetDC(edit.m_hWnd);
    edit.brush = (HBRUSH)GetStockObject(GRAY_BRUSH);
    EXPECT_EQ((HBRUSH)top.SendMessage(WM_CTLCOLOREDIT, (WPARAM)hdc, (LPARAM)edit.m_hWnd), edit.brush);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0], "edit CtlColor " + std::to_string(CTLCOLOR_EDIT) + " dc");
    ::ReleaseDC(edit.m_hWnd, hdc);
}

TEST_F(WndTest, MenuCommandsRespectUpdateState)
{
    // 300 has a command handler but its update handler disables it.
    top.SendMessage(WM_COMMAND, MAKEWPARAM(300, 0), 0);
    EXPECT_TRUE(Log().empty());
}

TEST_F(WndTest, FromHandleWrapsForeignWindowsTemporarily)
{
    HWND raw = CreateWindowExA(0, "STATIC", "raw", WS_CHILD, 0, 0, 10, 10, top.m_hWnd, (HMENU)7, nullptr, nullptr);
    ASSERT_NE(raw, nullptr);
    CWnd* temp = CWnd::FromHandle(raw);
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(CWnd::FromHandle(raw), temp);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
    EXPECT_EQ(temp->GetDlgCtrlID(), 7);
    AfxGetApp()->OnIdle(1);   // frees temporaries

    // Subclassing makes it permanent, and unsubclassing gives it back.
    CTestWnd sub;
    ASSERT_TRUE(sub.SubclassWindow(raw));
    EXPECT_EQ(CWnd::FromHandle(raw), &sub);
    EXPECT_EQ(::SendMessageA(raw, WM_USER + 5, 1, 2), 102);
    char buf[16] = "";
    ::GetWindowTextA(raw, buf, sizeof buf);
    EXPECT_STREQ(buf, "raw");   // STATIC still answers through the old procedure
    EXPECT_EQ(sub.UnsubclassWindow(), raw);
    EXPECT_EQ(::SendMessageA(raw, WM_USER + 5, 1, 2), 0);
    EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
    ::DestroyWindow(raw);
}

TEST_F(WndTest, SelfDeletingWindowGoesAwayWithItsWindow)
{
    CSelfDeleting::deleted = 0;
    auto* p = new CSelfDeleting;
    ASSERT_TRUE(p->Create(nullptr, "x", 0, CRect(0, 0, 5, 5), &top, 3));
    HWND h = p->m_hWnd;
    ::DestroyWindow(h);
    EXPECT_EQ(CSelfDeleting::deleted, 1);
    EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST_F(WndTest, PreTranslateRunsFromTheWindowUpThroughItsParents)
{
    CTestWnd child, grandchild;
    child.name = "child";
    grandchild.name = "grandchild";
    ASSERT_TRUE(child.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 50, 50), &top, 1));
    ASSERT_TRUE(grandchild.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 20, 20), &child, 2));
    AfxGetApp()->m_pMainWnd = &top;

    grandchild.PostMessage(WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(AfxPumpPendingMessages());
    std::vector<std::string> want = {"pretranslate grandchild", "pretranslate child", "pretranslate top"};
    EXPECT_EQ(Log(), want);

    // A window that takes the message stops the walk.
    Log().clear();
    child.preTranslateResult = TRUE;
    grandchild.PostMessage(WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(AfxPumpPendingMessages());
    want = {"pretranslate grandchild", "pretranslate child"};
    EXPECT_EQ(Log(), want);
}

TEST_F(WndTest, IdleUpdateReachesDescendantsAndOwnedFrames)
{
    CTestWnd child, grandchild, floating, hiddenOwned;
    ASSERT_TRUE(child.Create(nullptr, "", WS_VISIBLE, CRect(0, 0, 50, 50), &top, 1));
    ASSERT_TRUE(grandchild.Create(nullptr, "", 0, CRect(0, 0, 20, 20), &child, 2));
    ASSERT_TRUE(floating.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "float", WS_POPUP | WS_VISIBLE,
                                  0, 0, 50, 50, top.m_hWnd, nullptr));
    AfxGetApp()->m_pMainWnd = &top;

    AfxGetApp()->OnIdle(0);
    EXPECT_EQ(top.idle, 0);   // an invisible main window is not updated
    top.ShowWindow(SW_SHOWNA);
    EXPECT_TRUE(AfxGetApp()->OnIdle(0));
    EXPECT_FALSE(AfxGetApp()->OnIdle(1));
    EXPECT_EQ(top.idle, 1);
    EXPECT_EQ(child.idle, 1);
    EXPECT_EQ(grandchild.idle, 1);
    EXPECT_EQ(floating.idle, 1);
    floating.DestroyWindow();
}

UINT SendFromWorker(LPVOID p)
{
    HWND hWnd = static_cast<HWND>(p);
    return (UINT)::SendMessageA(hWnd, WM_USER + 9, 21, 0);
}

TEST_F(WndTest, WorkerSendMessageIsHandledWhileAModalLoopRuns)
{
    CWinThread* pThread = AfxBeginThread(SendFromWorker, top.m_hWnd, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(pThread, nullptr);
    pThread->m_bAutoDelete = FALSE;
    pThread->ResumeThread();
    // A modal loop: pump, wait for more, until the worker has finished.
    DWORD start = GetTickCount();
    while (WaitForSingleObject(pThread->m_hThread, 0) == WAIT_TIMEOUT && GetTickCount() - start < 10000) {
        AfxPumpPendingMessages();
        MsgWaitForMultipleObjects(1, &pThread->m_hThread, FALSE, 100, QS_ALLINPUT);
    }
    DWORD code = 0;
    GetExitCodeThread(pThread->m_hThread, &code);
    EXPECT_TRUE(top.gotUser);
    EXPECT_EQ(top.userThread, GetCurrentThreadId());
    EXPECT_EQ(code, 42u);
    delete pThread;
}

TEST_F(WndTest, QuitInsideAModalLoopIsPostedAgain)
{
    AfxPostQuitMessage(3);
    EXPECT_FALSE(AfxPumpPendingMessages());
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

// A target for UpdateDialogControls.
class CControlsTarget : public CCmdTarget
{
public:
    void OnUpdateCheck(CCmdUI* pCmdUI) { pCmdUI->Enable(); pCmdUI->SetCheck(1); pCmdUI->SetText("Checked"); }
    void OnHandled() {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CControlsTarget, CCmdTarget)
    ON_UPDATE_COMMAND_UI(401, OnUpdateCheck)
    ON_COMMAND(402, OnHandled)
END_MESSAGE_MAP()

TEST_F(WndTest, UpdateDialogControlsRunsCmdUIOverChildren)
{
    HWND check = CreateWindowExA(0, "BUTTON", "box", WS_CHILD | BS_CHECKBOX, 0, 0, 50, 20, top.m_hWnd, (HMENU)401, nullptr, nullptr);
    HWND handled = CreateWindowExA(0, "BUTTON", "h", WS_CHILD, 0, 30, 50, 20, top.m_hWnd, (HMENU)402, nullptr, nullptr);
    HWND orphan = CreateWindowExA(0, "BUTTON", "o", WS_CHILD, 0, 60, 50, 20, top.m_hWnd, (HMENU)403, nullptr, nullptr);
    CControlsTarget target;
    top.UpdateDialogControls(&target, TRUE);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    char buf[32] = "";
    GetWindowTextA(check, buf, sizeof buf);
    EXPECT_STREQ(buf, "Checked");
    EXPECT_TRUE(IsWindowEnabled(check));
    EXPECT_TRUE(IsWindowEnabled(handled));
    EXPECT_FALSE(IsWindowEnabled(orphan));
}

TEST_F(WndTest, PopupMenuIsUpdatedOnInitMenuPopup)
{
    CMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    popup.AppendMenu(MF_STRING, 200, "Disabled by update");
    popup.AppendMenu(MF_STRING, 201, "Has a command");
    popup.AppendMenu(MF_STRING, 202, "No handler");
    popup.AppendMenu(MF_SEPARATOR);
    popup.AppendMenu(MF_STRING, 203, "Radio");
    top.SendMessage(WM_INITMENUPOPUP, (WPARAM)popup.m_hMenu, MAKELPARAM(0, FALSE));
    EXPECT_TRUE(popup.GetMenuState(200, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(popup.GetMenuState(201, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(popup.GetMenuState(202, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(popup.GetMenuState(203, MF_BYCOMMAND) & MF_CHECKED);
    CString text;
    popup.GetMenuString(203, text, MF_BYCOMMAND);
    EXPECT_EQ(text, CString("Radio &On"));
    MENUITEMINFOA mii = { sizeof mii, MIIM_CHECKMARKS };
    ASSERT_TRUE(popup.GetMenuItemInfo(203, &mii));
    EXPECT_EQ(mii.hbmpChecked, AfxGetRadioDotBitmap());
    EXPECT_EQ(CMenu::FromHandle(popup.m_hMenu), &popup);
}

} // namespace
