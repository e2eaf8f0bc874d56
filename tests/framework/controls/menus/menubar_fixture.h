// A main frame with a menu bar as the application makes it, and document
// child frames from templates whose resource ids are the bar's menus.
#pragma once
#include "tests/framework/frame_loader.h"
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "afx/afxres.h"
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/controls/toolbars/TWKTBMenuBtn.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/frames/TWKMDIChildWnd.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frameworkres.h"
#include "tests/harness/harness.h"
#include <string>
#include <utility>
#include <vector>

namespace vt {

const UINT kMenuNone = 0x7D40, kMenuSource = 0x7D41, kMenuDisasm = 0x7D42, kMenuSect = 0x7D43, kMenuTwo = 0x7D44;

// Menu bar and manager set in the constructor, bitmap menus, then LoadFrame.
// Records the menus the bar asks to drop.
class CMenuTestFrame : public TWKMDIFrameWnd
{
public:
    TWKMDIMenuBar m_menuBar;
    TWKToolBarManager* m_pMgr;
    struct Drop { int nIndex, a, b; };
    std::vector<Drop> drops;
    CMenuTestFrame()
    {
        m_pMenuBar = &m_menuBar;
        m_pMgr = new TWKToolBarManager(this, nullptr);
        SetControlBarManager(m_pMgr);
        EnableBmpMenus(TRUE, TRUE);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == (UINT)TWK_TBN_DROPMENU) {
            auto* pNotify = reinterpret_cast<TWKTBNotify*>(lParam);
            drops.push_back(Drop{ pNotify->nIndex, pNotify->a, pNotify->b });
        }
        return TWKMDIFrameWnd::WindowProc(message, wParam, lParam);
    }
};

struct MenuFrame {
    CMenuTestFrame* p = nullptr;
    TWKToolBarManager* pMgr = nullptr;
    MenuFrame()
    {
        p = new CMenuTestFrame;
        pMgr = p->m_pMgr;
        p = vt::LoadDockingFrame(p, kMenuNone);
        if (!p)
            return;
        p->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    ~MenuFrame()
    {
        if (p && ::IsWindow(p->m_hWnd))
            p->DestroyWindow();
        delete pMgr;
    }
    // The five menus in the bar, docked by the default layout, showing the
    // frame's own menu.
    bool FiveMenus()
    {
        if (!pMgr->SetMenuInfo(5, kMenuNone, kMenuSource, kMenuDisasm, kMenuSect, kMenuTwo))
            return false;
        pMgr->SetDefaultDockState();
        p->SwapMenu((UINT)-1);
        return ::IsWindow(p->m_menuBar.m_hWnd) != FALSE;
    }
    // The bar of FiveMenus, laid out; NULL when the frame or bar failed.
    TWKMDIMenuBar* LaidOutBar()
    {
        if (!p || !FiveMenus())
            return nullptr;
        p->RecalcLayout();
        return &p->m_menuBar;
    }
    // The texts of the visible menu buttons.
    std::vector<std::string> Visible() const
    {
        std::vector<std::string> v;
        TWKMenuBar& bar = p->m_menuBar;
        for (int i = 0; i < bar.GetButtonCount(); i++)
            if (bar.GetButton(i)->m_nType == TWK_BTN_TBMENU && !(bar.GetButtonStyle(i) & TBBS_HIDDEN))
                v.push_back((LPCSTR) static_cast<TWKTBMenuBtn*>(bar.GetButton(i))->m_strText);
        return v;
    }
    int MenuButtonCount() const
    {
        int n = 0;
        for (int i = 0; i < p->m_menuBar.GetButtonCount(); i++)
            n += p->m_menuBar.GetButton(i)->m_nType == TWK_BTN_TBMENU;
        return n;
    }
};

} // namespace vt

class CMenuTestDoc : public CDocument
{
    DECLARE_DYNCREATE(CMenuTestDoc)
};
IMPLEMENT_DYNCREATE(CMenuTestDoc, CDocument)

class CMenuTestView : public CView
{
    DECLARE_DYNCREATE(CMenuTestView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CMenuTestView, CView)

// Keeps the system commands it is sent for the test instead of carrying them out.
class CMenuTestChild : public TWKMDIChildWnd
{
    DECLARE_DYNCREATE(CMenuTestChild)
public:
    std::vector<std::pair<WPARAM, LPARAM>> sysCommands;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SYSCOMMAND) {
            sysCommands.emplace_back(wParam, lParam);
            return 0;
        }
        return TWKMDIChildWnd::WindowProc(message, wParam, lParam);
    }
};
IMPLEMENT_DYNCREATE(CMenuTestChild, TWKMDIChildWnd)

namespace vt {

// The frame with the five menus, as the application's main window, and
// templates for source and disassembly documents.
struct ChildMenuFrame : MenuFrame {
    CMultiDocTemplate* pSource = nullptr;
    CMultiDocTemplate* pDisasm = nullptr;
    CWnd* pOldMain = nullptr;
    ChildMenuFrame()
    {
        if (!p || !FiveMenus()) {
            ADD_FAILURE() << "no menu bar";
            return;
        }
        pOldMain = AfxGetApp()->m_pMainWnd;
        AfxGetApp()->m_pMainWnd = p;
        for (auto* ppTemplate : { &pSource, &pDisasm }) {
            *ppTemplate = new CMultiDocTemplate(ppTemplate == &pSource ? kMenuSource : kMenuDisasm,
                                                RUNTIME_CLASS(CMenuTestDoc), RUNTIME_CLASS(CMenuTestChild),
                                                RUNTIME_CLASS(CMenuTestView));
            (*ppTemplate)->LoadTemplate();
        }
    }
    ~ChildMenuFrame()
    {
        for (CMultiDocTemplate* pTemplate : { pSource, pDisasm }) {
            if (pTemplate)
                pTemplate->CloseAllDocuments(FALSE);
            delete pTemplate;
        }
        if (p)
            AfxGetApp()->m_pMainWnd = pOldMain;
    }
    CMenuTestChild* Open(CMultiDocTemplate* pTemplate)
    {
        if (!pTemplate || !pTemplate->OpenDocumentFile(nullptr))
            return nullptr;
        CMDIChildWnd* pChild = p->MDIGetActive();
        return (pChild && pChild->IsKindOf(RUNTIME_CLASS(CMenuTestChild))) ? static_cast<CMenuTestChild*>(pChild)
                                                                            : nullptr;
    }
    // A maximised child with an icon of its own.
    CMenuTestChild* OpenMaximised(HICON hIcon)
    {
        CMenuTestChild* pChild = Open(pSource);
        if (!pChild)
            return nullptr;
        pChild->SendMessage(WM_SETICON, ICON_BIG, (LPARAM)hIcon);
        pChild->MDIMaximize();
        return pChild;
    }
    // The point in the middle of a rectangle of the bar's client area.
    static LPARAM Middle(const RECT& rect)
    {
        return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
};

} // namespace vt
