#include <gtest/gtest.h>
#include "afx/afx.h"
#include "afx/afxres.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

class CPlainBar : public CControlBar
{
public:
    BOOL Create(CWnd* pParent, UINT nID)
    {
        m_dwStyle = CBRS_TOP;
        RegisterBarClass();
        return CWnd::CreateEx(0, AFX_WNDCONTROLBAR, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, pParent->m_hWnd,
                              (HMENU)(UINT_PTR)nID);
    }
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? CSize(80, 20) : CSize(20, 80); }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

std::vector<UINT_PTR> Entries(const CDockBar* p)
{
    std::vector<UINT_PTR> v;
    for (INT_PTR i = 0; i < p->m_arrBars.GetSize(); i++)
        v.push_back(reinterpret_cast<UINT_PTR>(p->m_arrBars[i]));
    return v;
}

TEST(DockBar, BarInfoRoundTripWithBreaksPlaceholdersAndUnknownIds)
{
    CPlainBar b1, b2, b3;
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "Docking"));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_TRUE(b1.Create(pFrame, 0xE803));
    ASSERT_TRUE(b2.Create(pFrame, ID_INDICATOR_SCRL));   // a bar id that equals an indicator id
    ASSERT_TRUE(b3.Create(pFrame, 0xE804));
    for (CPlainBar* b : {&b1, &b2, &b3}) {
        b->EnableDocking(CBRS_ALIGN_ANY);
        pFrame->DockControlBar(b);
    }
    auto* pTop = static_cast<CDockBar*>(pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    auto* pLeft = static_cast<CDockBar*>(pFrame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(3, pTop->GetDockedCount());
    // b2 leaves a placeholder behind.
    pTop->RemoveControlBar(&b2, -1, 1);
    EXPECT_EQ(2, pTop->GetDockedCount());
    EXPECT_EQ(nullptr, pTop->GetDockedControlBar(3));
    EXPECT_EQ(3, pTop->FindBar(reinterpret_cast<CControlBar*>((UINT_PTR)ID_INDICATOR_SCRL)));
    EXPECT_EQ(-1, pTop->FindBar(&b2));

    CControlBarInfo info;
    pTop->GetBarInfo(&info);
    EXPECT_TRUE(info.m_bDockBar);
    EXPECT_TRUE(info.m_bHorz);
    EXPECT_FALSE(info.m_bFloating);
    EXPECT_EQ(CPoint(-1, -1), info.m_pointPos);
    std::vector<DWORD> ids(info.m_arrBarID.GetData(), info.m_arrBarID.GetData() + info.m_arrBarID.GetSize());
    EXPECT_EQ((std::vector<DWORD>{0xE803, 0, ID_INDICATOR_SCRL | 0x10000, 0, 0xE804, 0}), ids);

    // Applied to the left edge, with a bar that no longer exists in the middle.
    info.m_arrBarID.InsertAt(2, (DWORD)0xE8F0);
    info.m_arrBarID.InsertAt(3, (DWORD)0);
    pLeft->SetBarInfo(&info, pFrame);
    EXPECT_EQ((std::vector<UINT_PTR>{0, (UINT_PTR)&b1, 0, ID_INDICATOR_SCRL, 0, (UINT_PTR)&b3, 0}), Entries(pLeft));
    for (CPlainBar* b : {&b1, &b3}) {
        EXPECT_EQ(pLeft, b->m_pDockBar);
        EXPECT_EQ(pLeft->m_hWnd, ::GetParent(b->m_hWnd));
        EXPECT_EQ(CBRS_ALIGN_LEFT, b->GetBarStyle() & CBRS_ALIGN_ANY);
        EXPECT_FALSE(b->IsFloating());
    }
    EXPECT_EQ(0, pTop->GetDockedCount());
    CControlBarInfo again;
    pLeft->GetBarInfo(&again);
    EXPECT_FALSE(again.m_bHorz);
    std::vector<DWORD> ids2(again.m_arrBarID.GetData(), again.m_arrBarID.GetData() + again.m_arrBarID.GetSize());
    EXPECT_EQ(ids, ids2);

    // Floating: the dock bar's position is its own top-left on the screen, the
    // floating frame's client origin (not the frame's corner above its caption).
    pFrame->FloatControlBar(&b1, CPoint(50, 60));
    ASSERT_TRUE(b1.IsFloating());
    EXPECT_EQ(CBRS_FLOATING, b1.GetBarStyle() & CBRS_FLOATING);
    CControlBarInfo floating;
    b1.m_pDockBar->GetBarInfo(&floating);
    EXPECT_TRUE(floating.m_bFloating);
    EXPECT_EQ(AFX_IDW_DOCKBAR_FLOAT, floating.m_nBarID);
    CWnd* pMini = b1.m_pDockBar->GetParent();
    EXPECT_TRUE(pMini->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
    CRect rectDock, rectMini;
    b1.m_pDockBar->GetWindowRect(&rectDock);
    pMini->GetWindowRect(&rectMini);
    CPoint ptClient(0, 0);
    ::ClientToScreen(pMini->m_hWnd, &ptClient);
    EXPECT_EQ(rectDock.TopLeft(), floating.m_pointPos);
    EXPECT_EQ(ptClient, floating.m_pointPos);
    EXPECT_EQ(CPoint(50, 60), rectMini.TopLeft());
    EXPECT_NE(rectMini.TopLeft(), floating.m_pointPos);

    pFrame->DestroyWindow();
}

TEST(DockBar, SetBarInfoKeepsEveryRowBreakButThoseOfVanishedRows)
{
    CPlainBar a, b;
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "Docking"));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_TRUE(a.Create(pFrame, 0xE803));
    ASSERT_TRUE(b.Create(pFrame, 0xE804));
    auto* pTop = static_cast<CDockBar*>(pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    const UINT_PTR A = (UINT_PTR)&a, B = (UINT_PTR)&b;
    const DWORD gone = 0xE8F0, left = AFX_IDW_DOCKBAR_LEFT;
    struct Case { std::vector<DWORD> ids; std::vector<UINT_PTR> bars; } cases[] = {
        {{0xE803, 0, 0, 0xE804, 0}, {0, A, 0, 0, B, 0}},             // an empty row between two
        {{0, 0xE803, 0}, {0, 0, A, 0}},                              // an empty first row
        {{0xE803, 0, 0xE804, 0, 0}, {0, A, 0, B, 0, 0}},             // an empty last row
        {{0xE803, 0, gone, 0, 0xE804, 0}, {0, A, 0, B, 0}},          // a vanished bar alone: its row goes
        {{0xE803, 0, gone, gone, 0, 0xE804, 0}, {0, A, 0, B, 0}},
        {{0xE803, gone, 0, 0xE804, 0}, {0, A, 0, B, 0}},             // beside a bar: the row stays
        {{gone, 0xE803, 0}, {0, A, 0}},
        {{0xE803, 0, 0x1E804, 0}, {0, A, 0, 0xE804, 0}},             // a placeholder holds its row
        {{0xE803, 0, left, 0, 0xE804, 0}, {0, A, 0, B, 0}},          // a dock bar is no entry
        {{0xE803, 0xE804, 0, 0xE803, 0}, {0, A, B, 0}},              // nor is a bar listed twice
        {{0xE803}, {0, A, 0}},                                       // the last row is ended
    };
    for (const Case& c : cases) {
        CControlBarInfo info;
        for (DWORD id : c.ids)
            info.m_arrBarID.Add(id);
        pTop->SetBarInfo(&info, pFrame);
        EXPECT_EQ(c.bars, Entries(pTop)) << "list of " << c.ids.size() << " starting " << c.ids[0];
        EXPECT_EQ(pTop, a.m_pDockBar);
    }
    pFrame->DestroyWindow();
}

TEST(DockBar, DestroyedDockBarLeavesNoPointerBehind)
{
    CPlainBar bar;
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "Docking"));
    ASSERT_TRUE(bar.Create(pFrame, 0xE805));
    auto* pDock = new CDockBar;
    ASSERT_TRUE(pDock->Create(pFrame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(DWORD(WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM), pDock->GetBarStyle());
    pDock->DockControlBar(&bar);
    EXPECT_EQ(pDock, bar.m_pDockBar);
    EXPECT_EQ(CBRS_ALIGN_BOTTOM, bar.GetBarStyle() & CBRS_ALIGN_ANY);
    delete pDock;
    EXPECT_EQ(nullptr, bar.m_pDockBar);
    pFrame->DestroyWindow();
    EXPECT_EQ(nullptr, bar.m_pDockSite);
}

TEST(DockBar, BaseLayoutSizes)
{
    CPlainBar bar;
    EXPECT_EQ(CSize(32767, 0), bar.CControlBar::CalcFixedLayout(TRUE, TRUE));
    EXPECT_EQ(CSize(0, 32767), bar.CControlBar::CalcFixedLayout(TRUE, FALSE));
    EXPECT_EQ(CSize(0, 0), bar.CControlBar::CalcFixedLayout(FALSE, TRUE));
    // The dynamic layout asks the (overridden) fixed one.
    EXPECT_EQ(CSize(80, 20), bar.CControlBar::CalcDynamicLayout(-1, LM_STRETCH | LM_HORZ));
    EXPECT_EQ(CSize(20, 80), bar.CControlBar::CalcDynamicLayout(-1, LM_STRETCH));
    EXPECT_EQ(32767u, bar.m_nMRUWidth);
    EXPECT_FALSE(bar.m_bAutoDelete);
}

TEST(DockState, ScalesToTheCurrentScreenAndClips)
{
    CDockState state;
    EXPECT_EQ(2u, state.m_dwVersion);
    EXPECT_EQ(CSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)), state.GetScreenSize());
    state.m_rectDevice.SetRect(0, 0, 1000, 800);
    state.m_rectClip.SetRect(0, 0, 968, 768);

    CSize same(1000, 800);
    state.SetScreenSize(same);
    EXPECT_FALSE(state.m_bScaling);
    CPoint pt(400, 300);
    state.ScalePoint(pt);
    EXPECT_EQ(CPoint(400, 300), pt);

    CSize half(500, 400);
    state.SetScreenSize(half);
    EXPECT_TRUE(state.m_bScaling);
    struct { CPoint in, out; } points[] = {
        { {100, 50}, {200, 100} },
        { {400, 390}, {800, 768} },    // clipped at the bottom
        { {490, 10}, {968, 20} },      // clipped at the right
    };
    for (auto& c : points) {
        CPoint p = c.in;
        state.ScalePoint(p);
        EXPECT_EQ(c.out, p) << c.in.x << "," << c.in.y;
    }
    CRect r(100, 100, 150, 120);
    state.ScaleRectPos(r);
    EXPECT_EQ(CRect(200, 200, 250, 220), r);   // moved, not resized
    CRect rFar(490, 390, 540, 400);
    state.ScaleRectPos(rFar);
    EXPECT_EQ(CRect(968, 768, 1018, 778), rFar);

    // A saved size of nothing does not scale (and divides by nothing).
    CSize none(0, 0);
    state.SetScreenSize(none);
    EXPECT_FALSE(state.m_bScaling);
    CPoint p(100, 50);
    state.ScalePoint(p);
    EXPECT_EQ(CPoint(100, 50), p);
}

TEST(DockState, SerializeRoundTrip)
{
    CDockState out;
    auto* pInfo = new CControlBarInfo;
    pInfo->m_nBarID = AFX_IDW_DOCKBAR_TOP;
    pInfo->m_bVisible = TRUE;
    pInfo->m_bHorz = TRUE;
    pInfo->m_arrBarID.Add(0xE803);
    pInfo->m_arrBarID.Add(0);
    pInfo->m_arrBarID.Add(0x1E703);
    pInfo->m_bDocking = TRUE;
    pInfo->m_uMRUDockID = AFX_IDW_DOCKBAR_LEFT;
    pInfo->m_rectMRUDockPos.SetRect(1, 2, 3, 4);
    pInfo->m_ptMRUFloatPos = CPoint(7, 8);
    out.m_arrBarInfo.Add(pInfo);

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        out.Serialize(ar);
    }
    file.SeekToBegin();
    CDockState in;
    {
        CArchive ar(&file, CArchive::load);
        in.Serialize(ar);
    }
    ASSERT_EQ(1, in.m_arrBarInfo.GetSize());
    auto* p = static_cast<CControlBarInfo*>(in.m_arrBarInfo[0]);
    EXPECT_EQ((UINT)AFX_IDW_DOCKBAR_TOP, p->m_nBarID);
    EXPECT_TRUE(p->m_bDockBar);
    EXPECT_TRUE(p->m_bVisible);
    EXPECT_EQ(3, p->m_arrBarID.GetSize());
    EXPECT_EQ(0x1E703u, p->m_arrBarID[2]);
    EXPECT_EQ((UINT)AFX_IDW_DOCKBAR_LEFT, p->m_uMRUDockID);
    EXPECT_EQ(CRect(1, 2, 3, 4), p->m_rectMRUDockPos);
    EXPECT_EQ(CPoint(7, 8), p->m_ptMRUFloatPos);
    EXPECT_FALSE(in.m_bScaling);
}

// A mouse message as the message loop would pre-translate it.
void MouseOver(HWND hWnd, int x, int y)
{
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(x, y);
    msg.time = ::GetTickCount();
    msg.pt = { x, y };
    ::ClientToScreen(hWnd, &msg.pt);
    AfxGetThread()->PreTranslateMessage(&msg);
}

std::string PaneText(HWND hStatus)
{
    char buf[256] = "";
    ::SendMessageA(hStatus, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buf));
    return buf;
}

TEST(ControlBar, DockedBarsFlyByTextAndTipsReachTheFrame)
{
    const UINT kThingCmd = 0x7E21;   // "Does the thing\nThing"
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_BAR_CLASSES };
    ::InitCommonControlsEx(&icc);
    CPlainBar bar;
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "Fly-by"));
    HWND hStatus = ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, pFrame->m_hWnd,
                                     (HMENU)(UINT_PTR)AFX_IDW_STATUS_BAR, ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, hStatus);
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_TRUE(bar.Create(pFrame, 0xE803));
    bar.SetBarStyle(bar.GetBarStyle() | CBRS_FLYBY | CBRS_TOOLTIPS);
    bar.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBar(&bar);   // its parent is now the dock bar, not the frame
    HWND hButton = ::CreateWindowExA(0, "BUTTON", "T", WS_CHILD | WS_VISIBLE, 0, 0, 30, 18, bar.m_hWnd,
                                     (HMENU)(UINT_PTR)kThingCmd, ::GetModuleHandleA(nullptr), nullptr);
    pFrame->SetWindowPos(nullptr, 10, 10, 400, 300, SWP_NOZORDER | SWP_SHOWWINDOW);
    pFrame->RecalcLayout();

    MouseOver(hButton, 5, 5);
    EXPECT_EQ("Does the thing", PaneText(hStatus));
    MouseOver(bar.m_hWnd, 60, 5);    // off the tool
    EXPECT_EQ("Press F1 for Help", PaneText(hStatus));

    // The bar passes the tip request on; the frame answers with the tip part.
    NMTTDISPINFOA di = {};
    di.hdr.hwndFrom = AfxGetToolTipWindow();
    di.hdr.idFrom = reinterpret_cast<UINT_PTR>(hButton);
    di.hdr.code = TTN_NEEDTEXTA;
    di.uFlags = TTF_IDISHWND;
    bar.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&di));
    EXPECT_STREQ("Thing", di.lpszText);

    // Without the styles the bar says nothing.
    bar.SetBarStyle(bar.GetBarStyle() & ~(CBRS_FLYBY | CBRS_TOOLTIPS));
    MouseOver(hButton, 5, 5);
    EXPECT_EQ("Press F1 for Help", PaneText(hStatus));
    AfxCancelToolTips();
    pFrame->DestroyWindow();
}

// A bar with its own border look, in a frame with its own way of showing bars.
class CLookBar : public CPlainBar
{
public:
    int m_nDrawn = 0;
    void DrawBorders(CDC* pDC, CRect& rect) override
    {
        m_nDrawn++;
        CPlainBar::DrawBorders(pDC, rect);
    }
};

class CShowingFrame : public CFrameWnd
{
public:
    int m_nShown = 0;
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) override
    {
        m_nShown++;
        CFrameWnd::ShowControlBar(pBar, bShow, bDelay);
    }
};

TEST(ControlBar, DerivedBordersAndShowControlBarAreReached)
{
    CLookBar bar;
    auto* pFrame = new CShowingFrame;
    ASSERT_TRUE(pFrame->Create(nullptr, "Look"));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_TRUE(bar.Create(pFrame, 0xE803));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBar(&bar);
    pFrame->SetWindowPos(nullptr, 10, 10, 300, 200, SWP_NOZORDER | SWP_SHOWWINDOW);
    pFrame->RecalcLayout();
    bar.m_nDrawn = 0;
    bar.SendMessage(WM_NCPAINT, 1);   // EraseNonClient
    EXPECT_EQ(1, bar.m_nDrawn);
    // The dock bar holds its frame as a CFrameWnd*.
    bar.m_pDockBar->ShowAll(FALSE);
    EXPECT_EQ(1, pFrame->m_nShown);
    EXPECT_FALSE(bar.IsWindowVisible());
    pFrame->DestroyWindow();
}

// A floating frame that keeps its bars in a dock bar of its own.
class COwnDockFrame : public CMiniDockFrameWnd
{
    DECLARE_DYNCREATE(COwnDockFrame)
public:
    COwnDockFrame() : m_own(TRUE) { m_own.m_bAutoDelete = FALSE; }
    CDockBar m_own;
    CDockBar* GetDockBar() override { return &m_own; }
};
IMPLEMENT_DYNCREATE(COwnDockFrame, CMiniDockFrameWnd)

TEST(DockBar, FloatingFrameFollowsItsBarsAndMayKeepADockBarOfItsOwn)
{
    CPlainBar b1, b2;
    auto* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "Floating"));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_TRUE(b1.Create(pFrame, 0xE803));
    ASSERT_TRUE(b2.Create(pFrame, 0xE804));
    b1.EnableDocking(CBRS_ALIGN_ANY);
    b2.EnableDocking(CBRS_ALIGN_ANY);
    pFrame->FloatControlBar(&b1, CPoint(50, 60));
    CWnd* pFloat = b1.m_pDockBar->GetParent();
    ASSERT_TRUE(pFloat->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
    ASSERT_TRUE(pFloat->IsWindowVisible());
    // Asked itself (the bar's "Hide" goes to the frame around it), the floating
    // frame hides with its last bar and shows with its first.
    static_cast<CFrameWnd*>(pFloat)->ShowControlBar(&b1, FALSE, FALSE);
    EXPECT_FALSE(b1.IsWindowVisible());
    EXPECT_FALSE(pFloat->IsWindowVisible());
    static_cast<CFrameWnd*>(pFloat)->ShowControlBar(&b1, TRUE, FALSE);
    EXPECT_TRUE(pFloat->IsWindowVisible());

    // A derived frame's own dock bar holds the bar; the frame's handlers use it.
    pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(COwnDockFrame);
    pFrame->FloatControlBar(&b2, CPoint(200, 60));
    ASSERT_NE(nullptr, b2.m_pDockBar);
    auto* pOwn = static_cast<COwnDockFrame*>(b2.m_pDockBar->GetParent());
    ASSERT_TRUE(pOwn->IsKindOf(RUNTIME_CLASS(COwnDockFrame)));
    EXPECT_EQ(&pOwn->m_own, b2.m_pDockBar);
    EXPECT_EQ(nullptr, pOwn->m_wndDockBar.m_hWnd);
    EXPECT_EQ(AFX_IDW_DOCKBAR_FLOAT, pOwn->m_own.GetDlgCtrlID());
    pOwn->SendMessage(WM_CLOSE);
    EXPECT_FALSE(b2.IsWindowVisible());
    EXPECT_FALSE(pOwn->IsWindowVisible());
    pFrame->DestroyWindow();
}

} // namespace
