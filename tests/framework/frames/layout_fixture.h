// The main frame of the saved-layout tests: the IDE's three bars and test
// bars docked, hidden, floating in a floating frame and in the main window,
// and a dock bar with an empty row; and what a loaded layout must give back.
#pragma once
#include "tests/framework/frames/frames_fixture.h"
#include "framework/frames/TWKStatusBar.h"
#include <iomanip>
#include <map>
#include <sstream>
#include <string>

namespace vt::layout {

const UINT kIndicators[] = { 0, ID_INDICATOR_EXT, ID_INDICATOR_LAST, 0, ID_INDICATOR_CAPS, ID_INDICATOR_OVR,
                             ID_INDICATOR_NUM };

// The test bars beside the IDE's three.
const UINT kHidden = 0xE710, kFloat = 0xE711, kInMain = 0xE712, kRowA = 0xE713, kRowB = 0xE714;

inline std::string Hex(const BYTE* p, DWORD n)
{
    std::ostringstream out;
    for (DWORD i = 0; i < n; i++)
        out << std::hex << std::setw(2) << std::setfill('0') << (int)p[i];
    return out.str();
}

// The main frame as the IDE lays it out, with test bars for the other cases.
struct LayoutFrame {
    vt::MainFrame f;
    TWKCustomStatusBar* status = nullptr;
    std::map<UINT, TWKControlBar*> bars;
    std::map<const CControlBar*, std::string> names;

    LayoutFrame() { AddBars(); }
    // Takes a frame made by the caller, loaded and docking.
    explicit LayoutFrame(vt::CTestMainFrame* pFrame) : f(pFrame) { AddBars(); }
    void AddBars()
    {
        if (!f.p)
            return;
        status = new TWKCustomStatusBar;
        status->m_bAutoDelete = TRUE;
        EXPECT_TRUE(status->Create(f.p));
        EXPECT_TRUE(status->SetIndicators(kIndicators, 7));
        const char* labels[] = { "out", "proj", "prev", "H", "F", "M", "A", "B" };
        int i = 0;
        for (UINT nID : { 0xE704u, 0xE703u, 0xE705u, kHidden, kFloat, kInMain, kRowA, kRowB }) {
            bars[nID] = f.Bar(nID);
            names[bars[nID]] = labels[i++];
        }
    }
    // The IDE's three bars as the IDE docks them; on top a hidden bar, the
    // places a floating bar and a bar floating in the main window left, and
    // an empty row.
    void Arrange()
    {
        f.p->DockControlBarAt(bars[0xE704], AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 0.75f, 130);
        f.p->DockControlBarAt(bars[0xE703], AFX_IDW_DOCKBAR_LEFT, 0, 0, 0.75f, 240);
        f.p->DockControlBarAt(bars[0xE705], AFX_IDW_DOCKBAR_LEFT, 1, 0, 0.25f, 150);
        int nRow = 0;
        for (UINT nID : { kHidden, kFloat, kInMain, kRowA })
            f.p->DockControlBarAt(bars[nID], AFX_IDW_DOCKBAR_TOP, 0, nRow++, 1.0f, 40);
        TWKDockPos pos = { 2, 0, TWKDP_FROMLAST };   // two rows past the last: one stays empty
        TWKDockSize size = { 1.0f, 40, 0 };
        f.p->DockControlBarAt(bars[kRowB], &pos, AFX_IDW_DOCKBAR_TOP, &size);
        f.p->RecalcLayout();
        f.p->ShowControlBar(bars[kHidden], FALSE, FALSE);
        f.p->FloatControlBar(bars[kFloat], CPoint(300, 200));
        f.p->FloatControlBarAsMDIChild(bars[kInMain], CPoint(-1, -1));
        f.p->RecalcLayout();
        vt::PumpMessages();
    }
    // The IDE's start: every bar at a default place before the saved layout is loaded.
    void Defaults()
    {
        for (auto& b : bars)
            f.p->DockControlBar(b.second, AFX_IDW_DOCKBAR_TOP);
        f.p->RecalcLayout();
        vt::PumpMessages();
    }
    CWnd* FloatFrame(UINT nID) { return bars[nID]->m_pDockBar ? bars[nID]->m_pDockBar->GetParent() : nullptr; }

    // What a loaded layout must give back.
    struct Seen {
        std::map<UINT, std::string> arrays;
        std::map<UINT, float> fractions;
        std::map<UINT, BOOL> visible;
        std::string floatClientOrigin, hostPlacement;
        bool operator==(const Seen& o) const
        {
            return arrays == o.arrays && fractions == o.fractions && visible == o.visible
                   && floatClientOrigin == o.floatClientOrigin && hostPlacement == o.hostPlacement;
        }
    };
    Seen Look()
    {
        Seen s;
        for (UINT nID : { AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_BOTTOM })
            s.arrays[nID] = vt::ArrayText(f.Dock(nID), names);
        s.arrays[kFloat] = vt::ArrayText(bars[kFloat]->m_pDockBar, names);
        s.arrays[kInMain] = vt::ArrayText(bars[kInMain]->m_pDockBar, names);
        for (auto& b : bars) {
            s.fractions[b.first] = b.second->m_fPctWidth;
            s.visible[b.first] = b.second->IsVisible();
        }
        CPoint pt(0, 0);
        CWnd* pFloatFrame = FloatFrame(kFloat);
        ::ClientToScreen(pFloatFrame ? pFloatFrame->m_hWnd : nullptr, &pt);
        s.floatClientOrigin = std::to_string(pt.x) + "," + std::to_string(pt.y);
        WINDOWPLACEMENT wp = { sizeof wp };
        ::GetWindowPlacement(bars[kInMain]->GetParentFrame()->GetSafeHwnd(), &wp);
        s.hostPlacement = Hex(reinterpret_cast<BYTE*>(&wp), sizeof wp);
        return s;
    }
};

inline void PrintTo(const LayoutFrame::Seen& s, std::ostream* os)
{
    for (const auto& a : s.arrays)
        *os << std::hex << a.first << std::dec << ": " << a.second << "; ";
    for (const auto& f : s.fractions)
        *os << std::hex << f.first << std::dec << "=" << f.second << (s.visible.at(f.first) ? "" : " hidden") << " ";
    *os << "float at " << s.floatClientOrigin << ", host " << s.hostPlacement;
}

} // namespace vt::layout
