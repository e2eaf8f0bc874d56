// The IDE's main frame made as the application makes it, from the frame
// resource, in a test process whose profile is its own.
#pragma once
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/controls/toolbars/TWKWndBtn.h"
#include "ide/workbench/MainFrm.h"
#include "resources/ideres.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace vt {

struct MainFrame {
    CMainFrame* p = nullptr;

    MainFrame()
    {
        p = new CMainFrame;
        if (!p->LoadFrame(IDR_MAINFRAME)) {
            // A frame that failed to become a window has freed itself.
            p = nullptr;
            ADD_FAILURE() << "LoadFrame failed";
            return;
        }
        hWnd = p->m_hWnd;
        p->SetWindowPos(nullptr, 0, 0, 1000, 700, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        p->RecalcLayout();
        PumpMessages();
    }
    ~MainFrame()
    {
        if (p && ::IsWindow(p->m_hWnd))
            p->DestroyWindow();
        PumpMessages();
    }
    // The close as the user asks for it; the frame is gone afterwards.
    void Close()
    {
        p->SendMessage(WM_CLOSE);
        PumpMessages();
        EXPECT_FALSE(::IsWindow(hWnd));
        p = nullptr;
    }
    TWKCustomToolBar* ToolBar(UINT nID) const { return p->GetToolBarManager()->GetToolBar(nID); }
    bool Visible(UINT nBarID) const
    {
        CControlBar* pBar = p->GetControlBar(nBarID);
        return pBar && pBar->IsVisible();
    }
    void Command(UINT nID) { p->SendMessage(WM_COMMAND, nID); }

    HWND hWnd = nullptr;
};

// Profile values of the application key.
inline int ProfileInt(LPCSTR section, LPCSTR entry, int nDefault = -12345)
{
    return (int)AfxGetApp()->GetProfileInt(section, entry, nDefault);
}
inline std::string ProfileString(LPCSTR section, LPCSTR entry, LPCSTR def = "(none)")
{
    return (LPCSTR)AfxGetApp()->GetProfileString(section, entry, def);
}

// A command's update as the menus and toolbars ask for it.
class CTestCmdUI : public CCmdUI
{
public:
    int nEnabled = -1;
    int nChecked = -1;
    void Enable(BOOL bOn = TRUE) override
    {
        nEnabled = bOn ? 1 : 0;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck = 1) override { nChecked = nCheck; }
    void SetText(LPCSTR) override {}
};

inline CTestCmdUI Update(CMainFrame* p, UINT nID)
{
    CTestCmdUI ui;
    ui.m_nID = nID;
    ui.DoUpdate(p, FALSE);
    return ui;
}

// The ids of a popup, by position (0 for separators, -1 for submenus).
inline std::vector<int> MenuIDs(HMENU hMenu)
{
    std::vector<int> ids;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); i++)
        ids.push_back((int)::GetMenuItemID(hMenu, i));
    return ids;
}

} // namespace vt
