#include "tests/framework/frames/frames_fixture.h"
#include <vector>

// A popup menu takes the display's input: this file runs alone.
namespace {

// What the context menu showed, read from a timer while it is open.
struct MenuSeen {
    bool bOpen = false;
    CRect rect;
    std::vector<std::string> items;
    static MenuSeen* s_pSeen;
    static HMENU s_hMenu;
};
MenuSeen* MenuSeen::s_pSeen = nullptr;
HMENU MenuSeen::s_hMenu = nullptr;

class CMenuWatchFrame : public vt::CTestMainFrame
{
public:
    CControlBar* m_pBarSeen = nullptr;
protected:
    LRESULT OnBarMenu(WPARAM wParam, LPARAM lParam)
    {
        LRESULT l = TWKMDIFrameWnd::OnBarContextMenu(wParam, lParam);
        m_pBarSeen = reinterpret_cast<CControlBar*>(wParam);
        MenuSeen::s_hMenu = reinterpret_cast<CMenu*>(lParam)->m_hMenu;
        return l;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMenuWatchFrame, vt::CTestMainFrame)
    ON_MESSAGE(WM_TWK_BARCONTEXTMENU, OnBarMenu)
END_MESSAGE_MAP()

void CALLBACK ReadMenu(HWND, UINT, UINT_PTR idEvent, DWORD)
{
    ::KillTimer(nullptr, idEvent);
    MenuSeen* p = MenuSeen::s_pSeen;
    if (HWND hMenuWnd = ::FindWindowA("#32768", nullptr)) {
        p->bOpen = true;
        ::GetWindowRect(hMenuWnd, &p->rect);
    }
    HMENU h = MenuSeen::s_hMenu;
    for (int i = 0; h && i < ::GetMenuItemCount(h); i++) {
        char sz[64] = "";
        ::GetMenuStringA(h, i, sz, sizeof sz, MF_BYPOSITION);
        UINT state = ::GetMenuState(h, i, MF_BYPOSITION);
        p->items.push_back(std::string(sz) + ((state & MF_CHECKED) ? " [x]" : "") + ((state & MF_SEPARATOR) ? "-" : ""));
    }
    ::EndMenu();
}

TEST(ControlBarMenu, KeyboardMenuOpensAtAQuarterAndTheFrameAddsFloatInMainWindow)
{
    auto* pFrame = new CMenuWatchFrame;
    ASSERT_TRUE(pFrame->LoadFrame(vt::kTestFrameID));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    pFrame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_SHOWWINDOW);
    auto* pBar = new TWKControlBar;
    pBar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(pBar->Create(pFrame, "Output", WS_CHILD | WS_VISIBLE | CBRS_TOP, vt::kIdeExStyle, 0xE704));
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    pFrame->DockControlBarAt(pBar, AFX_IDW_DOCKBAR_BOTTOM, 0, 0, 0.75f, 130);
    pFrame->RecalcLayout();
    pFrame->SetForegroundWindow();

    MenuSeen seen;
    MenuSeen::s_pSeen = &seen;
    ::SetTimer(nullptr, 0, 50, &ReadMenu);
    pBar->SendMessage(WM_CONTEXTMENU, (WPARAM)pBar->m_hWnd, MAKELPARAM(-1, -1));
    vt::PumpMessages();
    EXPECT_EQ(pBar, pFrame->m_pBarSeen);
    ASSERT_TRUE(seen.bOpen);
    CRect rectClient;
    pBar->GetClientRect(&rectClient);
    CPoint pt(rectClient.Width() / 4, 10);
    pBar->ClientToScreen(&pt);
    EXPECT_EQ(pt, seen.rect.TopLeft());
    EXPECT_EQ((std::vector<std::string>{ "Allow Docking [x]", "Hide", "-", "Float In Main Window" }), seen.items);

    // Without CBX_CONTEXTMENU no menu, without CBX_MDIFLOAT no extra item.
    pFrame->m_pBarSeen = nullptr;
    pBar->ModifyExBarStyle(CBX_CONTEXTMENU, 0, FALSE);
    pBar->SendMessage(WM_CONTEXTMENU, (WPARAM)pBar->m_hWnd, MAKELPARAM(-1, -1));
    EXPECT_EQ(nullptr, pFrame->m_pBarSeen);
    pFrame->DestroyWindow();
}

} // namespace
