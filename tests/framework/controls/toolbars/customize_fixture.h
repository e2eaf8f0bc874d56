// The customisation dialogs' tests: a main frame with the real toolbar
// manager, the menu bar, two default toolbars and a user toolbar, and steps
// run inside modal loops.
#pragma once
#include "tests/framework/frame_loader.h"
#include "tests/framework/controls/toolbars/toolbar_fixture.h"
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/controls/toolbars/TWKToolBarsDlg.h"
#include <deque>
#include <functional>

namespace vt {

const UINT kCustomizeMenu = 0x7D40, kCustomizeMenu2 = 0x7D41;
const UINT kStandardBar = 0xE800, kBuildBar = 0xE801, kUserBar = 0xE820, kMenuBarID = 0xE8FF;
const UINT kStandardIDs[] = { ID_TWK_TEST_A, ID_TWK_TEST_B, 0, ID_TWK_TEST_C };
const UINT kBuildIDs[] = { ID_TWK_TEST_D, ID_TWK_TEST_E };

class CCustomizeTestFrame : public TWKMDIFrameWnd
{
public:
    TWKMenuBar m_menuBar;
    TWKToolBarManager* m_pMgr;
    CCustomizeTestFrame()
    {
        m_pMenuBar = &m_menuBar;
        m_pMgr = new TWKToolBarManager(this, nullptr);
        SetControlBarManager(m_pMgr);
    }
};

// The frame's bars, in bar order: the menu bar ("Menu bar"), "Standard" and
// "Build" docked at the top, the user toolbar "User" docked at the bottom.
struct CustomizeFrame {
    CCustomizeTestFrame* p = nullptr;
    TWKToolBarManager* pMgr = nullptr;
    TWKCustomToolBar* pUser = nullptr;

    CustomizeFrame()
    {
        p = new CCustomizeTestFrame;
        pMgr = p->m_pMgr;
        p = vt::LoadDockingFrame(p, kCustomizeMenu);
        if (!p)
            return;
        p->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        EXPECT_TRUE(pMgr->LoadToolBarResource(IDR_TWK_TEST_TOOLBAR, IDR_TWK_TEST_TOOLBAR_LARGE));
        EXPECT_TRUE(pMgr->SetMenuInfo(2, kCustomizeMenu, kCustomizeMenu2));
        pMgr->DefineDefaultToolBar(kStandardBar, "Standard", 4, kStandardIDs, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0,
                                   TRUE, TRUE);
        pMgr->DefineDefaultToolBar(kBuildBar, "Build", 2, kBuildIDs, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP,
                                   kStandardBar, TRUE, TRUE);
        pMgr->SetDefaultDockState();
        p->m_menuBar.ActivateMenu(kCustomizeMenu);
        pUser = pMgr->CreateUserToolBar("User");
        EXPECT_NE(nullptr, pUser);
        if (pUser) {
            const UINT ids[] = { ID_TWK_TEST_E };
            pUser->SetButtons(ids, 1);
            p->DockControlBar(pUser, AFX_IDW_DOCKBAR_BOTTOM, nullptr);
        }
        p->RecalcLayout();
    }
    ~CustomizeFrame()
    {
        if (p && ::IsWindow(p->m_hWnd))
            p->DestroyWindow();
        delete pMgr;
    }
    TWKCustomToolBar* Bar(UINT nID) const { return pMgr->GetToolBar(nID); }
};

// Steps run inside modal loops: each waits, on a thread timer, until a
// visible and enabled top-level window of this thread with its caption is
// up, then runs once. A step may open a nested modal box; the next step runs
// from that box's loop.
class ModalSteps
{
public:
    using Step = std::function<void(HWND)>;
    ModalSteps()
    {
        Current() = this;
        m_timer = ::SetTimer(nullptr, 0, 15, &ModalSteps::Tick);
    }
    ~ModalSteps()
    {
        ::KillTimer(nullptr, m_timer);
        Current() = nullptr;
    }
    ModalSteps(const ModalSteps&) = delete;
    ModalSteps& operator=(const ModalSteps&) = delete;

    ModalSteps& Then(const char* caption, Step step)
    {
        m_steps.push_back({ caption, std::move(step) });
        return *this;
    }
    size_t Pending() const { return m_steps.size(); }

private:
    struct Entry {
        std::string caption;
        Step step;
    };
    static ModalSteps*& Current()
    {
        thread_local ModalSteps* current = nullptr;
        return current;
    }
    struct Find {
        const std::string* caption;
        HWND found;
    };
    static BOOL CALLBACK FindWnd(HWND hWnd, LPARAM lParam)
    {
        auto* f = reinterpret_cast<Find*>(lParam);
        char text[256] = "";
        ::GetWindowTextA(hWnd, text, sizeof text);
        if (*f->caption == text && ::IsWindowVisible(hWnd) && ::IsWindowEnabled(hWnd)) {
            f->found = hWnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalSteps* self = Current();
        if (!self || self->m_steps.empty())
            return;
        Find f = { &self->m_steps.front().caption, nullptr };
        ::EnumThreadWindows(::GetCurrentThreadId(), &ModalSteps::FindWnd, reinterpret_cast<LPARAM>(&f));
        if (!f.found)
            return;
        Entry e = std::move(self->m_steps.front());
        self->m_steps.pop_front();
        e.step(f.found);
    }

    UINT_PTR m_timer = 0;
    std::deque<Entry> m_steps;
};

// A control of a dialog clicked as a user would (buttons and check boxes).
inline void Click(HWND hDlg, int nID)
{
    ::SendMessageA(::GetDlgItem(hDlg, nID), BM_CLICK, 0, 0);
}

// A click on an item of a list: on its check box, or on its text.
inline void ClickItem(CListBox& list, int nIndex, BOOL bOnBox)
{
    CRect rect;
    list.GetItemRect(nIndex, &rect);
    CPoint pt(bOnBox ? rect.left + 3 : rect.right - 5, rect.CenterPoint().y);
    list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    list.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
}

inline std::string ItemText(CListBox& list, int nIndex)
{
    CString s;
    list.GetText(nIndex, s);
    return (LPCSTR)s;
}

inline std::string DlgText(HWND hDlg, int nID)
{
    char text[512] = "";
    ::GetDlgItemTextA(hDlg, nID, text, sizeof text);
    return text;
}

} // namespace vt
