// Two toolbar measurements in one run. (1) Hot tracking: the cursor moves
// over the button centres of a cool-look TWKCustomToolBar of 40 buttons in a
// visible frame; each step (the old hot button lowered, the new one raised,
// both repainted) is timed against a flat common-control toolbar with the
// same image strip and buttons driven over the same points. (2) The frame's
// layout with three default toolbars and 20 user toolbars docked in rows:
// RecalcLayout after a one-pixel resize against moving the same windows to
// the same rectangles in one raw DeferWindowPos batch.
// Run: bench/toolbar_bench [passes].
#include "bench_support.h"
#include "afx/afx.h"
#include "afx/afxres.h"
#include "afx/app.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frames/TWKOffscreenDC.h"
#include "framework/frameworkres.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const UINT kFrameID = 0x7D10;   // the framework tests' main frame resources
const int kButtons = 40;
const UINT kImageIDs[] = { ID_TWK_TEST_A, ID_TWK_TEST_B, ID_TWK_TEST_C, ID_TWK_TEST_D, ID_TWK_TEST_E };

using bench::Now;
using bench::Pump;

struct Stats {
    std::vector<double> samples;   // seconds
    double Mean() const
    {
        double s = 0;
        for (double d : samples)
            s += d;
        return samples.empty() ? 0 : s / samples.size();
    }
    double Median() const
    {
        if (samples.empty())
            return 0;
        std::vector<double> v = samples;
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    }
};

// A frame whose layout can be held back while it is resized, so that the
// layout itself is timed alone.
class CBenchFrame : public TWKMDIFrameWnd
{
public:
    BOOL m_bHold = FALSE;
    void RecalcLayout(BOOL bNotify = TRUE) override
    {
        if (!m_bHold)
            TWKMDIFrameWnd::RecalcLayout(bNotify);
    }
};

CBenchFrame* NewFrame(int x, int y, int cx, int cy)
{
    auto* pFrame = new CBenchFrame;
    if (!pFrame->LoadFrame(kFrameID)) {
        fprintf(stderr, "the frame cannot be made\n");
        exit(1);
    }
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    pFrame->SetWindowPos(nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_SHOWWINDOW);
    return pFrame;
}

// A manager of cool-look toolbars with the test strip on a new frame.
TWKToolBarManager* NewManager(CBenchFrame* pFrame)
{
    auto* pMgr = new TWKToolBarManager(pFrame);
    pMgr->LoadToolBarResource(IDR_TWK_TEST_TOOLBAR, 0);
    pMgr->EnableCoolLook(TRUE, CBX_COOLLOOK | CBX_GRIPPER);
    return pMgr;
}

// The cursor at a client point of hwnd; then the move that the window would
// get from it, and the repaint, are timed.
double TimedMove(HWND hwnd, POINT ptClient)
{
    POINT pt = ptClient;
    ClientToScreen(hwnd, &pt);
    SetCursorPos(pt.x, pt.y);
    double t0 = Now();
    SendMessage(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(ptClient.x, ptClient.y));
    UpdateWindow(hwnd);
    double t1 = Now();
    Pump();   // the system's own mouse messages for the move
    return t1 - t0;
}

// Forward over every button, then back, pass after pass.
std::vector<int> Route(int nPasses)
{
    std::vector<int> route;
    for (int p = 0; p < nPasses; p++)
        for (int i = 0; i < kButtons; i++)
            route.push_back(p % 2 == 0 ? i : kButtons - 1 - i);
    return route;
}

void HotTracking(int nPasses, double& usOurs, double& usSystem)
{
    CBenchFrame* pFrame = NewFrame(0, 0, 1100, 300);
    TWKToolBarManager* pMgr = NewManager(pFrame);
    TWKCustomToolBar* pBar = pMgr->CreateUserToolBar("Hot");
    std::vector<UINT> ids;
    for (int i = 0; i < kButtons; i++)
        ids.push_back(kImageIDs[i % 5]);
    pBar->SetButtons(ids.data(), kButtons);
    pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
    pFrame->RecalcLayout();
    pFrame->SetForegroundWindow();
    Pump();

    // The same strip and buttons in the system's flat toolbar, in a window of
    // its own below the frame.
    CBitmap strip;
    TWKLoadSysColorBitmap(&strip, MAKEINTRESOURCEA(IDR_TWK_TEST_TOOLBAR));
    HWND hHost = CreateWindowExA(0, AfxRegisterWndClass(0, LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)),
                                 "System toolbar", WS_POPUP | WS_VISIBLE, 0, 400, 1100, 60, NULL, NULL,
                                 AfxGetInstanceHandle(), NULL);
    HWND hTB = CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS
                               | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                               0, 0, 1100, 40, hHost, (HMENU)1, AfxGetInstanceHandle(), NULL);
    SendMessage(hTB, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessage(hTB, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 15));
    TBADDBITMAP ab = { NULL, (UINT_PTR)(HBITMAP)strip };
    SendMessage(hTB, TB_ADDBITMAP, 5, (LPARAM)&ab);
    std::vector<TBBUTTON> buttons(kButtons);
    for (int i = 0; i < kButtons; i++) {
        buttons[i] = TBBUTTON();
        buttons[i].iBitmap = i % 5;
        buttons[i].idCommand = 1000 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
    }
    SendMessage(hTB, TB_ADDBUTTONS, kButtons, (LPARAM)buttons.data());
    SendMessage(hTB, TB_AUTOSIZE, 0, 0);
    Pump();

    std::vector<int> route = Route(nPasses);
    Stats ours, system;
    int nOursHot = 0, nSystemHot = 0;

    SetForegroundWindow(pFrame->m_hWnd);
    Pump();
    std::vector<POINT> centres(kButtons);
    for (int i = 0; i < kButtons; i++) {
        CRect r;
        pBar->GetItemRect(i, &r);
        centres[i] = r.CenterPoint();
    }
    for (int i : route) {
        ours.samples.push_back(TimedMove(pBar->m_hWnd, centres[i]));
        nOursHot += pBar->m_nHotBtn == i;
    }

    SetForegroundWindow(hHost);
    Pump();
    for (int i = 0; i < kButtons; i++) {
        RECT r;
        SendMessage(hTB, TB_GETITEMRECT, i, (LPARAM)&r);
        centres[i] = { (r.left + r.right) / 2, (r.top + r.bottom) / 2 };
    }
    for (int i : route) {
        system.samples.push_back(TimedMove(hTB, centres[i]));
        nSystemHot += (int)SendMessage(hTB, TB_GETHOTITEM, 0, 0) == i;
    }

    usOurs = ours.Mean() * 1e6;
    usSystem = system.Mean() * 1e6;
    printf("Hot tracking, %d buttons, %zu moves each:\n", kButtons, route.size());
    printf("  TWKCustomToolBar      mean %8.1f us  median %8.1f us per hot change (%d of %zu moves raised the "
           "button under the cursor)\n", usOurs, ours.Median() * 1e6, nOursHot, route.size());
    printf("  ToolbarWindow32 flat  mean %8.1f us  median %8.1f us per hot change (%d of %zu)\n", usSystem,
           system.Median() * 1e6, nSystemHot, route.size());
    printf("  ratio (ours / system) %.2f\n", usSystem > 0 ? usOurs / usSystem : 0.0);

    DestroyWindow(hHost);
    pFrame->DestroyWindow();
    delete pMgr;
    Pump();
}

// Every window the layout places: the frame's children and the bars on its
// dock bars, with their rectangles in their parents' client coordinates.
struct Placement {
    HWND hwnd;
    RECT rect;
};

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam)
{
    auto* pOut = reinterpret_cast<std::vector<Placement>*>(lParam);
    HWND hParent = GetParent(hwnd);
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(NULL, hParent, reinterpret_cast<POINT*>(&r), 2);
    pOut->push_back({ hwnd, r });
    return TRUE;
}

std::vector<Placement> Placements(CWnd* pFrame)
{
    std::vector<Placement> out;
    EnumChildWindows(pFrame->m_hWnd, CollectChild, reinterpret_cast<LPARAM>(&out));
    return out;
}

void Layout(int nIterations, double& usOurs, double& usRaw)
{
    CBenchFrame* pFrame = NewFrame(0, 0, 1000, 700);
    TWKToolBarManager* pMgr = NewManager(pFrame);
    static const UINT file[] = { ID_TWK_TEST_A, ID_TWK_TEST_B, 0, ID_TWK_TEST_C, ID_TWK_TEST_D, ID_TWK_TEST_E, 0,
                                 ID_TWK_TEST_A, ID_TWK_TEST_B, ID_TWK_TEST_C, 0, ID_TWK_TEST_D };
    static const UINT build[] = { ID_TWK_TEST_C, ID_TWK_TEST_D, ID_TWK_TEST_E, 0, ID_TWK_TEST_A, ID_TWK_TEST_B };
    static const UINT tools[] = { ID_TWK_TEST_E, ID_TWK_TEST_D, 0, ID_TWK_TEST_B };
    pMgr->DefineDefaultToolBar(0xE800, "File", 12, file, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, TRUE, TRUE);
    pMgr->DefineDefaultToolBar(0xE805, "Build", 6, build, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, TRUE, TRUE);
    pMgr->DefineDefaultToolBar(0xE807, "Tools", 4, tools, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0xE805, TRUE, TRUE);
    pMgr->SetDefaultDockState();
    // Twenty user toolbars, four to a row below the default ones.
    for (int k = 0; k < 20; k++) {
        TWKCustomToolBar* pBar = pMgr->CreateUserToolBar(nullptr);
        std::vector<UINT> ids;
        for (int i = 0; i < 4 + k % 5; i++)
            ids.push_back(i == 2 ? 0 : kImageIDs[(i + k) % 5]);
        pBar->SetButtons(ids.data(), (int)ids.size());
        pFrame->DockControlBarAt(pBar, AFX_IDW_DOCKBAR_TOP, k % 4, 2 + k / 4, 1.0f, 0);
    }
    pFrame->RecalcLayout();
    Pump();

    // The rectangles of both widths, for the raw moves.
    CRect rectFrame;
    pFrame->GetWindowRect(&rectFrame);
    std::vector<Placement> at[2];
    for (int w = 0; w < 2; w++) {
        pFrame->SetWindowPos(nullptr, 0, 0, rectFrame.Width() + w, rectFrame.Height(), SWP_NOZORDER | SWP_NOMOVE);
        pFrame->RecalcLayout();
        at[w] = Placements(pFrame);
    }
    std::vector<int> rows;
    for (const Placement& p : at[0]) {
        char cls[64] = "";
        GetClassNameA(p.hwnd, cls, sizeof cls);
        CWnd* pWnd = CWnd::FromHandlePermanent(p.hwnd);
        if (dynamic_cast<TWKCustomToolBar*>(pWnd) && std::find(rows.begin(), rows.end(), p.rect.top) == rows.end())
            rows.push_back(p.rect.top);
    }

    // The windows whose rectangle differs between the two widths: what a
    // layout has to move at the least.
    std::vector<Placement> changed[2];
    for (size_t i = 0; i < at[0].size() && i < at[1].size(); i++)
        if (!EqualRect(&at[0][i].rect, &at[1][i].rect))
            for (int w = 0; w < 2; w++)
                changed[w].push_back(at[w][i]);

    Stats ours, raw, rawChanged;
    for (int n = 0; n < nIterations; n++) {
        int w = (n + 1) % 2;
        pFrame->m_bHold = TRUE;
        pFrame->SetWindowPos(nullptr, 0, 0, rectFrame.Width() + w, rectFrame.Height(), SWP_NOZORDER | SWP_NOMOVE);
        pFrame->m_bHold = FALSE;
        double t0 = Now();
        pFrame->RecalcLayout();
        double t1 = Now();
        ours.samples.push_back(t1 - t0);
        Pump();
    }
    for (int k = 0; k < 2; k++) {
        for (int n = 0; n < nIterations; n++) {
            const std::vector<Placement>& to = (k == 0 ? at : changed)[(n + 1) % 2];
            pFrame->m_bHold = TRUE;
            pFrame->SetWindowPos(nullptr, 0, 0, rectFrame.Width() + (n + 1) % 2, rectFrame.Height(),
                                 SWP_NOZORDER | SWP_NOMOVE);
            double t0 = Now();
            HDWP hdwp = BeginDeferWindowPos((int)to.size());
            for (const Placement& p : to)
                if (hdwp)
                    hdwp = DeferWindowPos(hdwp, p.hwnd, NULL, p.rect.left, p.rect.top, p.rect.right - p.rect.left,
                                          p.rect.bottom - p.rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
            if (hdwp)
                EndDeferWindowPos(hdwp);
            double t1 = Now();
            pFrame->m_bHold = FALSE;
            (k == 0 ? raw : rawChanged).samples.push_back(t1 - t0);
            Pump();
        }
    }

    usOurs = ours.Mean() * 1e6;
    usRaw = raw.Mean() * 1e6;
    printf("Frame layout, 3 default + 20 user toolbars in %zu rows, %zu windows placed, %d one-pixel resizes:\n",
           rows.size(), at[0].size(), nIterations);
    printf("  RecalcLayout          mean %8.1f us  median %8.1f us per layout\n", usOurs, ours.Median() * 1e6);
    printf("  DeferWindowPos batch  mean %8.1f us  median %8.1f us per batch\n", usRaw, raw.Median() * 1e6);
    printf("  ratio (layout / raw)  %.2f\n", usRaw > 0 ? usOurs / usRaw : 0.0);
    double usChanged = rawChanged.Mean() * 1e6;
    printf("  the %zu windows a resize changes, in one batch: mean %8.1f us  median %8.1f us (ratio %.2f)\n",
           changed[0].size(), usChanged, rawChanged.Median() * 1e6, usChanged > 0 ? usOurs / usChanged : 0.0);

    pFrame->DestroyWindow();
    delete pMgr;
    Pump();
}

} // namespace

int main(int argc, char** argv)
{
    CWinApp app("bench_toolbar");
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_BAR_CLASSES };
    InitCommonControlsEx(&icc);
    int nPasses = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    double hotOurs, hotSystem, layoutOurs, layoutRaw;
    HotTracking(nPasses, hotOurs, hotSystem);
    Layout(nPasses * 20, layoutOurs, layoutRaw);
    return 0;
}
