// A main frame for toolbar tests: handlers for some test commands, a record
// of the commands and status texts it received, and helpers for toolbars.
#pragma once
#include "tests/framework/frame_loader.h"
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "afx/afxres.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frameworkres.h"
#include "tests/harness/harness.h"
#include <sstream>
#include <string>
#include <vector>

namespace vt {

const UINT kToolBarFrameID = 0x7D10;

class CToolBarTestFrame : public TWKMDIFrameWnd
{
public:
    std::vector<UINT> m_commands;          // handled commands, in order
    std::vector<WPARAM> m_messageStrings;  // WM_SETMESSAGESTRING wParams, in order
    BOOL m_bCheckB = FALSE;

    afx_msg void OnCommandA() { m_commands.push_back(ID_TWK_TEST_A); }
    afx_msg void OnCommandB() { m_commands.push_back(ID_TWK_TEST_B); }
    afx_msg void OnUpdateB(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bCheckB); }
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam)
    {
        m_messageStrings.push_back(wParam);
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CToolBarTestFrame, TWKMDIFrameWnd)
    ON_COMMAND(ID_TWK_TEST_A, OnCommandA)
    ON_COMMAND(ID_TWK_TEST_B, OnCommandB)
    ON_UPDATE_COMMAND_UI(ID_TWK_TEST_B, OnUpdateB)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
END_MESSAGE_MAP()

// The frame lives while the object does; optionally with a toolbar manager.
struct ToolBarFrame {
    CToolBarTestFrame* p = nullptr;
    TWKToolBarManager* pMgr = nullptr;

    explicit ToolBarFrame(BOOL bManager = FALSE, int cx = 800, int cy = 600)
    {
        p = new CToolBarTestFrame;
        if (bManager) {
            pMgr = new TWKToolBarManager(p, nullptr);
            p->SetControlBarManager(pMgr);
        }
        p = vt::LoadDockingFrame(p, kToolBarFrameID);
        if (!p)
            return;
        p->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    ~ToolBarFrame()
    {
        if (p && ::IsWindow(p->m_hWnd))
            p->DestroyWindow();
        // The toolbars are gone with the frame; the manager goes last.
        delete pMgr;
    }

    // A toolbar docked at the top, deleted with its window.
    TWKCustomToolBar* NewBar(UINT nID, DWORD dwExStyle = 0)
    {
        auto* pBar = new TWKCustomToolBar;
        pBar->m_bAutoDelete = TRUE;
        if (pMgr) {
            pBar->m_pControlBarManager = pMgr;
            pBar->SetBmpMgr(pMgr->GetBmpMgr());
        }
        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS | CBRS_FLYBY;
        if (!pBar->Create(dwExStyle, p, dwStyle, nID, "Test")) {
            ADD_FAILURE() << "toolbar " << nID << " not created";
            delete pBar;
            return nullptr;
        }
        pBar->EnableDocking(CBRS_ALIGN_ANY);
        p->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP, nullptr);
        p->RecalcLayout();
        return pBar;
    }
};

// A hidden top-level window that keeps every message of one kind it gets
// (a registered notice, say) as wParam and lParam.
class CMessageSink : public CWnd
{
public:
    explicit CMessageSink(UINT nMessage) : m_nMessage(nMessage) {}
    UINT m_nMessage;
    std::vector<std::pair<WPARAM, LPARAM>> seen;
    BOOL CreateTop() { return CreateEx(0, AfxRegisterWndClass(0), "Sink", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == m_nMessage)
            seen.emplace_back(wParam, lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A toolbar's buttons as text: command ids, "|" for separators.
inline std::string Buttons(const TWKCustomToolBar* pBar)
{
    std::ostringstream out;
    for (int i = 0; i < pBar->GetButtonCount(); i++) {
        const TWKStdBtn* pBtn = pBar->GetButton(i);
        out << (i ? " " : "");
        if (pBtn->m_dwStyle & TBBS_SEPARATOR)
            out << "|";
        else
            out << pBtn->m_nID;
    }
    return out.str();
}

// The ids of such a text, 0 for "|".
inline std::vector<UINT> Ids(const std::string& text)
{
    std::vector<UINT> ids;
    std::istringstream in(text);
    std::string tok;
    while (in >> tok)
        ids.push_back(tok == "|" ? 0 : (UINT)std::stoul(tok));
    return ids;
}

inline CPoint Centre(const TWKCustomToolBar* pBar, int nIndex)
{
    CRect rect;
    pBar->GetItemRect(nIndex, &rect);
    return rect.CenterPoint();
}

inline void Send(CWnd* pWnd, UINT msg, CPoint pt, WPARAM wParam = 0)
{
    pWnd->SendMessage(msg, wParam, MAKELPARAM(pt.x, pt.y));
}

} // namespace vt
