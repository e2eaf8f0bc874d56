// The main frame's bar layout: a 1280 x 1024 frame with 40 proportional bars
// (two rows of five on each edge) and a row of fixed-size bars at the top.
// Times, per layout, RecalcLayout(TRUE) after one-pixel frame resizes
// (alternately one pixel larger and back, so the rows are laid out again and
// windows move), the layout-query run of RepositionBars, and the same windows
// moved to the same final rectangles with one raw deferred-position batch.
#include "bench_support.h"
#include "afx/afx.h"
#include "afx/afxres.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKDockBar.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

const UINT kFrameID = 0x7D10;   // the test frame resource
const int kLayouts = 400;

class CBenchApp : public CWinApp
{
public:
    CBenchApp() : CWinApp("Veltane Tool") {}
};

using bench::Pump;

using Placement = std::vector<std::pair<HWND, CRect>>;

// Every window the layout places: the frame's children and the bars in the dock bars.
void Collect(HWND hParent, int nDepth, Placement& out)
{
    for (HWND h = ::GetTopWindow(hParent); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        CRect r;
        ::GetWindowRect(h, &r);
        ::MapWindowPoints(nullptr, hParent, reinterpret_cast<LPPOINT>(&r), 2);
        out.emplace_back(h, r);
        if (nDepth == 0 && CWnd::FromHandlePermanent(h) && CWnd::FromHandlePermanent(h)->IsKindOf(RUNTIME_CLASS(TWKDockBar)))
            Collect(h, 1, out);
    }
}

// The frame resized without its own layout, so that the timed one does the work.
void Resize(TWKMDIFrameWnd* pFrame, int cx, int cy)
{
    pFrame->m_bInRecalcLayout = TRUE;
    pFrame->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    pFrame->m_bInRecalcLayout = FALSE;
}

// Milliseconds per layout; the step gets the layout's number.
template <class F> double Time(F step)
{
    Pump();
    double ms = 0;
    for (int i = 0; i < kLayouts; i++) {
        auto t0 = std::chrono::steady_clock::now();
        step(i);
        ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
    Pump();
    return ms / kLayouts;
}

} // namespace

int main()
{
    CBenchApp app;
    auto* pFrame = new TWKMDIFrameWnd;
    if (!pFrame->LoadFrame(kFrameID)) {
        std::printf("frame not loaded\n");
        return 1;
    }
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    pFrame->SetWindowPos(nullptr, 0, 0, 1280, 1024, SWP_NOZORDER | SWP_SHOWWINDOW);
    const UINT edges[] = { AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT };
    UINT nID = 0xE700;
    for (UINT nEdge : edges) {
        for (int nRow = 0; nRow < 2; nRow++) {
            for (int nCol = 0; nCol < 5; nCol++) {
                auto* pBar = new TWKControlBar;
                pBar->m_bAutoDelete = TRUE;
                pBar->Create(pFrame, "Bar", WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xF31, nID++);
                pBar->EnableDocking(CBRS_ALIGN_ANY);
                pFrame->DockControlBarAt(pBar, nEdge, nCol, nRow, 0.1f + 0.05f * nCol, 90);
            }
        }
    }
    for (int i = 0; i < 8; i++) {
        auto* pBar = new TWKControlBar;
        pBar->m_bAutoDelete = TRUE;
        pBar->Create(pFrame, "Tools", WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xF31 | CBX_FIXEDSIZE, nID++);
        pBar->EnableDocking(CBRS_ALIGN_ANY);
        pBar->m_sizeMRUHorzDock = CSize(120, 26);
        // The first makes a new first row; the others join it.
        static_cast<TWKDockBar*>(pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP))->DockControlBarAt(pBar, i, i == 0 ? -2 : 0);
    }
    pFrame->RecalcLayout(TRUE);
    Pump();

    // The final rectangles at both sizes, for the raw batch.
    Placement placed[2];
    for (int k = 0; k < 2; k++) {
        Resize(pFrame, 1280 + k, 1024 + k);
        pFrame->RecalcLayout(TRUE);
        Collect(pFrame->m_hWnd, 0, placed[k]);
    }
    Pump();

    // The resize itself is not the layout's: timed alone and taken off.
    double msResize = Time([&](int i) { Resize(pFrame, 1280 + i % 2, 1024 + i % 2); });
    double msLayout = Time([&](int i) {
        Resize(pFrame, 1280 + i % 2, 1024 + i % 2);
        pFrame->RecalcLayout(TRUE);
    }) - msResize;
    // The placement pass alone (the dock bars' row layout and the moves), without the repaint.
    double msPlacement = Time([&](int i) {
        Resize(pFrame, 1280 + i % 2, 1024 + i % 2);
        pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    }) - msResize;
    double msQuery = Time([&](int) {
        CRect rect;
        pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CFrameWnd::reposQuery, &rect, nullptr, TRUE);
    });
    auto rawBatch = [&](int i, bool bPaint) {
        Resize(pFrame, 1280 + i % 2, 1024 + i % 2);
        const Placement& p = placed[i % 2];
        HDWP hDWP = ::BeginDeferWindowPos((int)p.size());
        for (const auto& e : p)
            if (hDWP)
                hDWP = ::DeferWindowPos(hDWP, e.first, nullptr, e.second.left, e.second.top, e.second.Width(),
                                        e.second.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        if (hDWP)
            ::EndDeferWindowPos(hDWP);
        // What the moves invalidated, painted at once as the layout does.
        if (bPaint)
            ::RedrawWindow(pFrame->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    double msRaw = Time([&](int i) { rawBatch(i, false); }) - msResize;
    double msRawPainted = Time([&](int i) { rawBatch(i, true); }) - msResize;

    size_t nWindows = placed[0].size();
    std::printf("%zu windows placed (40 proportional bars, 8 fixed-size bars, dock bars, MDI client)\n", nWindows);
    std::printf("RecalcLayout(TRUE) after a one-pixel resize: %.3f ms per layout%s\n", msLayout,
                msLayout <= 16.0 ? " (within a 60 Hz frame)" : " (longer than a 60 Hz frame)");
    std::printf("  of which the placement pass (RepositionBars): %.3f ms\n", msPlacement);
    std::printf("RepositionBars layout query: %.3f ms per query\n", msQuery);
    std::printf("raw deferred-position batch to the same rectangles: %.3f ms per layout, %.3f ms with its repaint\n",
                msRaw, msRawPainted);
    std::printf("ratio layout / raw batch with repaint: %.2f; placement pass / raw batch: %.2f\n",
                msRawPainted > 0 ? msLayout / msRawPainted : 0.0, msRaw > 0 ? msPlacement / msRaw : 0.0);
    pFrame->DestroyWindow();
    return 0;
}
