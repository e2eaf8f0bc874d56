#include <gtest/gtest.h>
#include "afx/afx.h"
#include "afx/afxres.h"
#include "tests/harness/harness.h"
#include <algorithm>
#include <string>
#include <vector>

namespace {

const UINT kFrameRes = 0x7E20;   // title, menu, accelerators and icon of the test frame
const UINT kChildRes = 0x7E22;
const UINT kThingCmd = 0x7E21;

// A bar 100 x 30 when docked along an edge.
class CThickBar : public CControlBar
{
public:
    int updates = 0;
    BOOL Create(CWnd* pParent, UINT nID)
    {
        m_dwStyle = CBRS_TOP;
        RegisterBarClass();
        return CWnd::CreateEx(0, AFX_WNDCONTROLBAR, "Bar", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                              pParent->m_hWnd, (HMENU)(UINT_PTR)nID);
    }
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
        if (bHorz)
            return CSize(bStretch ? 32767 : 100, 30);
        return CSize(30, bStretch ? 32767 : 100);
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override { updates++; }
};

CRect ChildRect(HWND hParent, HWND hChild)
{
    CRect r;
    ::GetWindowRect(hChild, &r);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<LPPOINT>(&r), 2);
    return r;
}


std::string Text(HWND h)
{
    char buf[256] = "";
    ::GetWindowTextA(h, buf, sizeof(buf));
    return buf;
}

TEST(Frame, MdiFrameFromResourcesLaysOutDockedBarAndClient)
{
    CThickBar bar;
    auto* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->LoadFrame(kFrameRes, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    HWND hFrame = pFrame->m_hWnd;

    // Title, menu, accelerators and icon all come from the one id.
    EXPECT_EQ("Frame Test", Text(hFrame));
    EXPECT_EQ(kFrameRes, pFrame->m_nIDHelp);
    ASSERT_NE(nullptr, ::GetMenu(hFrame));
    EXPECT_EQ(::GetMenu(hFrame), pFrame->m_hMenuDefault);
    EXPECT_EQ(2, ::GetMenuItemCount(::GetMenu(hFrame)));
    ASSERT_NE(nullptr, pFrame->m_hAccelTable);
    ACCEL accel[4];
    ASSERT_EQ(1, ::CopyAcceleratorTableA(pFrame->m_hAccelTable, accel, 4));
    EXPECT_EQ(kThingCmd, accel[0].cmd);
    EXPECT_EQ('K', accel[0].key);
    EXPECT_TRUE(accel[0].fVirt & FCONTROL);
    EXPECT_NE(0u, (UINT_PTR)::GetClassLongPtrA(hFrame, GCLP_HICON));
    ASSERT_NE(nullptr, pFrame->m_hWndMDIClient);
    EXPECT_EQ(AFX_IDW_PANE_FIRST, ::GetDlgCtrlID(pFrame->m_hWndMDIClient));
    EXPECT_EQ(::GetSubMenu(::GetMenu(hFrame), 1), pFrame->GetWindowMenuPopup(::GetMenu(hFrame)));

    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    for (UINT id : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_BOTTOM}) {
        CControlBar* p = pFrame->GetControlBar(id);
        ASSERT_NE(nullptr, p) << id;
        EXPECT_TRUE(p->IsDockBar());
    }
    auto* pTop = static_cast<CDockBar*>(pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP));

    // The bar's id equals the scroll-lock indicator's: it is still a bar.
    ASSERT_TRUE(bar.Create(pFrame, ID_INDICATOR_SCRL));
    EXPECT_EQ(pFrame, bar.m_pDockSite);
    EXPECT_EQ(&bar, pFrame->GetControlBar(ID_INDICATOR_SCRL));
    bar.EnableDocking(CBRS_ALIGN_BOTTOM | CBRS_ALIGN_TOP);
    pFrame->DockControlBar(&bar);
    EXPECT_EQ(pTop, bar.m_pDockBar);
    EXPECT_EQ(CBRS_ALIGN_TOP, bar.GetBarStyle() & CBRS_ALIGN_ANY);
    EXPECT_EQ(pTop->m_hWnd, ::GetParent(bar.m_hWnd));

    pFrame->SetWindowPos(nullptr, 10, 10, 600, 400, SWP_NOZORDER | SWP_SHOWWINDOW);
    pFrame->RecalcLayout();
    CRect rcClient;
    pFrame->GetClientRect(&rcClient);
    const int top = 30 + 2;   // the bar and the dock bar's bottom border line
    EXPECT_EQ(CRect(0, 0, rcClient.right, top), ChildRect(hFrame, pTop->m_hWnd));
    EXPECT_EQ(CRect(0, 0, 100, 30), ChildRect(pTop->m_hWnd, bar.m_hWnd));
    EXPECT_EQ(CRect(0, top, rcClient.right, rcClient.bottom), ChildRect(hFrame, pFrame->m_hWndMDIClient));

    // Query mode: the remainder is returned and nothing moves.
    ::MoveWindow(pFrame->m_hWndMDIClient, 5, 5, 10, 10, FALSE);
    CRect rc;
    pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CFrameWnd::reposQuery, &rc, nullptr, TRUE);
    EXPECT_EQ(CRect(0, top, rcClient.right, rcClient.bottom), rc);
    EXPECT_EQ(CRect(5, 5, 15, 15), ChildRect(hFrame, pFrame->m_hWndMDIClient));
    pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CFrameWnd::reposQuery, &rc, nullptr, FALSE);
    EXPECT_EQ(CRect(0, 0, 100, top), rc);   // unstretched: the space the bars want

    // Extra-border mode: the frame's border rectangle is kept free.
    pFrame->m_rectBorder = CRect(0, 0, 0, 10);
    pFrame->RecalcLayout();
    EXPECT_EQ(CRect(0, top, rcClient.right, rcClient.bottom - 10), ChildRect(hFrame, pFrame->m_hWndMDIClient));
    pFrame->m_rectBorder.SetRectEmpty();

    // Hidden bar: the empty dock bar takes no room.
    pFrame->ShowControlBar(&bar, FALSE, FALSE);
    EXPECT_EQ(CRect(0, 0, rcClient.right, rcClient.bottom), ChildRect(hFrame, pFrame->m_hWndMDIClient));
    CDockBar* pFound = nullptr;
    CRect rcTopEdge;
    pTop->GetWindowRect(&rcTopEdge);
    EXPECT_EQ(DWORD(CBRS_ALIGN_TOP), pFrame->CanDock(CRect(rcTopEdge.left + 5, rcTopEdge.top - 3, rcTopEdge.left + 50, rcTopEdge.top + 3),
                                                    CBRS_ALIGN_ANY, &pFound));
    EXPECT_EQ(pTop, pFound);
    EXPECT_EQ(0u, pFrame->CanDock(CRect(rcTopEdge.left + 5, rcTopEdge.top - 3, rcTopEdge.left + 50, rcTopEdge.top + 3),
                                  CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT));

    // Delayed show: a query sees it, only the idle layout applies it.
    pFrame->ShowControlBar(&bar, TRUE, TRUE);
    EXPECT_TRUE(pFrame->m_nIdleFlags & CFrameWnd::idleLayout);
    pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CFrameWnd::reposQuery, &rc, nullptr, TRUE);
    EXPECT_EQ(top, rc.top);
    EXPECT_FALSE(::IsWindowVisible(bar.m_hWnd));
    pFrame->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_TRUE(::IsWindowVisible(bar.m_hWnd));
    EXPECT_EQ(0u, pFrame->m_nIdleFlags & CFrameWnd::idleLayout);
    EXPECT_EQ(CRect(0, top, rcClient.right, rcClient.bottom), ChildRect(hFrame, pFrame->m_hWndMDIClient));
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(1, bar.updates);

    pFrame->DestroyWindow();
    // The frame and its dock bars are gone; the bar points at neither.
    EXPECT_EQ(nullptr, bar.m_pDockSite);
    EXPECT_EQ(nullptr, bar.m_pDockBar);
}

TEST(Frame, MdiChildSwitchesMenuAndTitle)
{
    auto* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->LoadFrame(kFrameRes, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    pFrame->ShowWindow(SW_SHOW);
    HMENU hShared = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kChildRes));
    ASSERT_NE(nullptr, hShared);

    auto* pChild = new CMDIChildWnd;
    pChild->SetHandles(hShared, nullptr);
    ASSERT_TRUE(pChild->LoadFrame(kChildRes, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, pFrame));
    EXPECT_EQ(WS_EX_CLIENTEDGE, pChild->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_EQ(pFrame, pChild->GetMDIFrame());
    pChild->MDIActivate();
    EXPECT_EQ(pChild, pFrame->MDIGetActive());
    EXPECT_EQ(pChild, pFrame->GetActiveFrame());
    EXPECT_EQ(hShared, ::GetMenu(pFrame->m_hWnd));
    EXPECT_EQ("Frame Test - Child Frame", Text(pFrame->m_hWnd));

    // Window commands are enabled with a child and do their work.
    pFrame->SendMessage(WM_COMMAND, ID_WINDOW_CASCADE);
    CRect rcChild = ChildRect(pFrame->m_hWndMDIClient, pChild->m_hWnd);
    EXPECT_EQ(0, rcChild.left);
    EXPECT_EQ(0, rcChild.top);

    pChild->MDIMaximize();
    BOOL bMax = FALSE;
    EXPECT_EQ(pChild, pFrame->MDIGetActive(&bMax));
    EXPECT_TRUE(bMax);
    pChild->MDIRestore();
    EXPECT_FALSE(pChild->IsZoomed());

    pChild->DestroyWindow();
    EXPECT_EQ(nullptr, pFrame->MDIGetActive());
    EXPECT_EQ(pFrame, pFrame->GetActiveFrame());
    EXPECT_EQ(pFrame->m_hMenuDefault, ::GetMenu(pFrame->m_hWnd));
    EXPECT_EQ("Frame Test", Text(pFrame->m_hWnd));

    pFrame->DestroyWindow();
    ::DestroyMenu(hShared);
}

// The windows of this thread told WM_DESTROY, in order.
std::vector<HWND> g_destroyed;

LRESULT CALLBACK RecordDestroy(int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto* pMsg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && pMsg->message == WM_DESTROY)
        g_destroyed.push_back(pMsg->hwnd);
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

TEST(Frame, MdiChildrenGoBeforeTheirClient)
{
    // A child destroyed after the MDI client refreshes the Window menu from
    // the client's freed list of children and renumbers whatever windows it
    // finds there.
    auto* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->LoadFrame(kFrameRes, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    pFrame->ShowWindow(SW_SHOW);
    HWND hClient = pFrame->m_hWndMDIClient;
    std::vector<HWND> children;
    for (int i = 0; i < 3; i++) {
        auto* pChild = new CMDIChildWnd;
        ASSERT_TRUE(pChild->LoadFrame(kChildRes, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, pFrame));
        children.push_back(pChild->m_hWnd);
    }
    ::SendMessageA(hClient, WM_MDIACTIVATE, (WPARAM)children[1], 0);

    g_destroyed.clear();
    HHOOK hHook = ::SetWindowsHookExA(WH_CALLWNDPROC, RecordDestroy, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, hHook);
    pFrame->DestroyWindow();
    ::UnhookWindowsHookEx(hHook);

    auto at = [](HWND h) { return std::find(g_destroyed.begin(), g_destroyed.end(), h) - g_destroyed.begin(); };
    ASSERT_LT(at(hClient), (ptrdiff_t)g_destroyed.size());
    for (HWND h : children) {
        EXPECT_FALSE(::IsWindow(h));
        EXPECT_LT(at(h), at(hClient));
    }
}

// A frame that answers the close query as told.
class CCloseFrame : public CFrameWnd
{
public:
    BOOL allow = FALSE;
    int asked = 0;
    BOOL CanCloseFrameDocs() override { asked++; return allow; }
};

TEST(Frame, CloseAsksTheDocumentsFirst)
{
    auto* pFrame = new CCloseFrame;
    ASSERT_TRUE(pFrame->Create(nullptr, "Closing"));
    HWND h = pFrame->m_hWnd;
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(1, pFrame->asked);
    EXPECT_TRUE(::IsWindow(h));
    pFrame->allow = TRUE;
    pFrame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(h));
}

std::string PaneText(HWND hStatus)
{
    char buf[256] = "";
    ::SendMessageA(hStatus, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buf));
    return buf;
}

TEST(Frame, StatusTextGoesToPaneZeroOfTheStatusBar)
{
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_BAR_CLASSES };
    ::InitCommonControlsEx(&icc);
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "Status"));
    HWND hStatus = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, pFrame->m_hWnd,
                                     (HMENU)(UINT_PTR)AFX_IDW_STATUS_BAR, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, hStatus);
    // A window with an indicator's id is not the status bar.
    ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 0, 0, pFrame->m_hWnd, (HMENU)(UINT_PTR)ID_INDICATOR_CAPS,
                      ::GetModuleHandleA(nullptr), nullptr);

    pFrame->SendMessage(WM_SETMESSAGESTRING, kThingCmd);
    EXPECT_EQ("Does the thing", PaneText(hStatus));     // the prompt, not the tip
    EXPECT_EQ(kThingCmd, pFrame->m_nIDLastMessage);
    pFrame->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>("Literal text"));
    EXPECT_EQ("Literal text", PaneText(hStatus));
    pFrame->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    EXPECT_EQ("Press F1 for Help", PaneText(hStatus));

    // Menu prompts while a menu is open; the idle text when it closes.
    pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(kThingCmd, MF_STRING), (LPARAM)::CreateMenu());
    EXPECT_EQ("Does the thing", PaneText(hStatus));
    pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ("Press F1 for Help", PaneText(hStatus));

    CString str;
    pFrame->GetMessageString(0x7E2F, str);   // no such string
    EXPECT_TRUE(str.IsEmpty());
    pFrame->DestroyWindow();
}

TEST(Frame, MiniFrameBordersAndTitleForDocument)
{
    CRect rc(100, 100, 200, 150);
    CMiniFrameWnd::CalcBorders(&rc);
    EXPECT_LT(rc.left, 100);
    EXPECT_LT(rc.top + ::GetSystemMetrics(SM_CYSMCAPTION) - 1, 100);   // a small caption on top
    EXPECT_GT(rc.right, 200);
    EXPECT_GT(rc.bottom, 150);

    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "App", WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    pFrame->SetTitle("App");
    pFrame->UpdateFrameTitleForDocument("Doc");
    EXPECT_EQ("App - Doc", Text(pFrame->m_hWnd));
    pFrame->m_nWindow = 2;
    pFrame->ModifyStyle(0, FWS_PREFIXTITLE);
    pFrame->UpdateFrameTitleForDocument("Doc");
    EXPECT_EQ("Doc:2 - App", Text(pFrame->m_hWnd));
    pFrame->UpdateFrameTitleForDocument(nullptr);
    EXPECT_EQ("App", Text(pFrame->m_hWnd));
    pFrame->DestroyWindow();
}

} // namespace

namespace {

// A left-over window that keeps margins around itself, as a workbook's client does.
class CInsetPane : public CWnd
{
public:
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType) override
    {
        CWnd::CalcWindowRect(lpClientRect, nAdjustType);
        lpClientRect->left += 13;
        lpClientRect->top += 13;
        lpClientRect->right -= 13;
        lpClientRect->bottom -= 33;
    }
};

} // namespace

TEST(Frame, LeftOverWindowDecidesItsRectangle)
{
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Inset", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 400)));
    CRect rcClient;
    pFrame->GetClientRect(&rcClient);

    CInsetPane pane;
    ASSERT_TRUE(pane.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), pFrame, AFX_IDW_PANE_FIRST));
    pFrame->RecalcLayout();
    CRect rc;
    pane.GetWindowRect(&rc);
    pFrame->ScreenToClient(&rc);
    EXPECT_EQ(CRect(13, 13, rcClient.right - 13, rcClient.bottom - 33), rc);
    pane.DestroyWindow();

    // A window without an object of its own takes the whole rest, as before.
    HWND hPlain = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, pFrame->m_hWnd,
                                    (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST, NULL, NULL);
    pFrame->RecalcLayout();
    ::GetWindowRect(hPlain, &rc);
    pFrame->ScreenToClient(&rc);
    EXPECT_EQ(rcClient, rc);
    pFrame->DestroyWindow();
}
