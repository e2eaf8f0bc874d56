// A main frame on TWKMDIFrameWnd, loaded from the test resources, with
// docking on all sides, and helpers for its bars and dock-bar arrays.
#pragma once
#include "tests/framework/frame_loader.h"
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "afx/afxres.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKDockBar.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "tests/harness/harness.h"
#include <map>
#include <sstream>
#include <string>

namespace vt {

const UINT kTestFrameID = 0x7D10;
const DWORD kIdeExStyle = 0xF31;

class CTestMainFrame : public TWKMDIFrameWnd
{
};

// The frame window lives while the object does; closing deletes the frame.
struct MainFrame {
    CTestMainFrame* p = nullptr;
    explicit MainFrame(int cx = 800, int cy = 600)
    {
        p = new CTestMainFrame;
        p = vt::LoadDockingFrame(p, kTestFrameID);
        if (!p)
            return;
        p->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    // Takes a frame made by the caller, loaded and docking.
    explicit MainFrame(CTestMainFrame* pFrame) : p(pFrame) {}
    ~MainFrame()
    {
        if (p && ::IsWindow(p->m_hWnd))
            p->DestroyWindow();
    }
    TWKDockBar* Dock(UINT nID) const { return static_cast<TWKDockBar*>(p->GetControlBar(nID)); }
    // A framework bar on the frame, deleted with its window.
    TWKControlBar* Bar(UINT nID, DWORD dwExStyle = kIdeExStyle,
                       DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS) const
    {
        auto* pBar = new TWKControlBar;
        pBar->m_bAutoDelete = TRUE;
        if (!pBar->Create(p, "Bar", dwStyle, dwExStyle, nID)) {
            ADD_FAILURE() << "bar " << nID << " not created";
            delete pBar;
            return nullptr;
        }
        pBar->EnableDocking(CBRS_ALIGN_ANY);
        return pBar;
    }
};

// A dock-bar array as text: "0" for a row break, a name for a bar, a number
// for a placeholder; a bar that was not placed reads as such, not as a crash.
inline std::string ArrayText(const CDockBar* pDockBar, const std::map<const CControlBar*, std::string>& names)
{
    if (!pDockBar)
        return "no dock bar";
    std::ostringstream out;
    for (INT_PTR i = 0; i < pDockBar->m_arrBars.GetSize(); i++) {
        void* e = pDockBar->m_arrBars[i];
        if (i)
            out << ' ';
        if (!e)
            out << '0';
        else if (reinterpret_cast<UINT_PTR>(e) < 0x10000)
            out << reinterpret_cast<UINT_PTR>(e);
        else {
            auto it = names.find(static_cast<const CControlBar*>(e));
            out << (it == names.end() ? std::string("?") : it->second);
        }
    }
    return out.str();
}

// Fills a dock-bar array from such a text.
inline void SetArray(CDockBar* pDockBar, const std::string& text, const std::map<std::string, CControlBar*>& bars)
{
    pDockBar->m_arrBars.RemoveAll();
    std::istringstream in(text);
    std::string tok;
    while (in >> tok) {
        auto it = bars.find(tok);
        if (it != bars.end())
            pDockBar->m_arrBars.Add(it->second);
        else
            pDockBar->m_arrBars.Add(reinterpret_cast<void*>((UINT_PTR)std::stoul(tok)));
    }
}

} // namespace vt
