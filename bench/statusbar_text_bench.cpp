// The caret-position pane: 10,000 "Ln %d, Col %d" texts into pane 3 of the
// custom status bar of a visible frame, each followed by UpdateWindow, and
// the same texts sent with raw SB_SETTEXT to a plain system status window of
// the same size; once with a changing text, once with a repeated one.
#include "bench_support.h"
#include "afx/afx.h"
#include "framework/frames/TWKStatusBar.h"
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

const int kUpdates = 10000;
const UINT kIndicators[] = { 0, ID_INDICATOR_EXT, ID_INDICATOR_LAST, 0, ID_INDICATOR_CAPS, ID_INDICATOR_OVR,
                             ID_INDICATOR_NUM };

class CBenchApp : public CWinApp
{
public:
    CBenchApp() : CWinApp("Veltane Tool") {}
};

using bench::Pump;

CString Text(int i, bool bChanging)
{
    CString str;
    if (bChanging)
        str.Format("Ln %d, Col %d", i / 80 + 1, i % 80 + 1);
    else
        str = "Ln 12, Col 34";
    return str;
}

// Microseconds per update.
template <class F> double Time(F update)
{
    Pump();
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < kUpdates; i++)
        update(i);
    auto t1 = std::chrono::steady_clock::now();
    Pump();
    return std::chrono::duration<double, std::micro>(t1 - t0).count() / kUpdates;
}

} // namespace

int main()
{
    CBenchApp app;
    INITCOMMONCONTROLSEX icc = { sizeof icc, ICC_BAR_CLASSES };
    ::InitCommonControlsEx(&icc);

    auto* pFrame = new CFrameWnd;
    if (!pFrame->Create(nullptr, "Status bar bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 200))) {
        std::printf("frame not created\n");
        return 1;
    }
    TWKCustomStatusBar bar;
    if (!bar.Create(pFrame) || !bar.SetIndicators(kIndicators, 7)) {
        std::printf("status bar not created\n");
        return 1;
    }
    bar.SetPaneInfo(3, 0, 0, 150);
    bar.SetPaneInfo(2, ID_INDICATOR_LAST, 0, 16);
    pFrame->RecalcLayout();
    Pump();

    // The plain status window: same size, same parts, in a window of its own.
    CRect rectBar;
    bar.GetWindowRect(&rectBar);
    HWND hHost = ::CreateWindowExA(0, "STATIC", "Plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 250, 800, 200, nullptr,
                                   nullptr, nullptr, nullptr);
    HWND hPlain = ::CreateWindowExA(0, STATUSCLASSNAMEA, nullptr,
                                    WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 0, 0,
                                    rectBar.Width(), rectBar.Height(), hHost, nullptr, nullptr, nullptr);
    std::vector<int> parts(32);
    parts.resize((size_t)bar.SendMessage(SB_GETPARTS, 32, (LPARAM)parts.data()));
    ::SendMessageA(hPlain, SB_SETPARTS, parts.size(), (LPARAM)parts.data());
    ::SendMessageA(hPlain, WM_SETFONT, (WPARAM)bar.GetFont(), TRUE);
    Pump();

    std::vector<CString> changing, repeated;
    for (int i = 0; i < kUpdates; i++) {
        changing.push_back(Text(i, true));
        repeated.push_back(Text(i, false));
    }
    for (auto* pTexts : { &changing, &repeated }) {
        const auto& texts = *pTexts;
        double usBar = Time([&](int i) {
            bar.SetPaneText(3, texts[(size_t)i]);
            bar.UpdateWindow();
        });
        double usPlain = Time([&](int i) {
            ::SendMessageA(hPlain, SB_SETTEXT, 3, (LPARAM)(LPCSTR)texts[(size_t)i]);
            ::UpdateWindow(hPlain);
        });
        std::printf("%s text: custom status bar %.2f us/update, plain status window %.2f us/update, ratio %.2f\n",
                    pTexts == &changing ? "changing" : "repeated", usBar, usPlain, usBar / usPlain);
    }
    ::DestroyWindow(hHost);
    pFrame->DestroyWindow();
    return 0;
}
