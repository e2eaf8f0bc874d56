#include "tests/framework/frames/frames_fixture.h"
#include "tests/framework/frames/picture_fixture.h"
#include "framework/frames/SysCommandEx.h"
#include "tests/framework/frames/menu_driver.h"
#include "framework/frames/TWKMDIChildWnd.h"
#include <string>
#include <vector>

using namespace nsSysCommandEx;

// Sees every message and request of its frame before the extension does; on
// request it answers the menu request with a state menu of its own.
class CScxRecorder : public TWKMsgFilter
{
    DECLARE_DYNCREATE(CScxRecorder)
public:
    TWKMsgFilter* Clone() const override { return new CScxRecorder(*this); }
    struct Seen {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        SCXREQUEST request;
    };
    std::vector<Seen> seen;
    int nMenuState = -1;   // answers 0xC010 with a menu of this state when 0 or more
    HMENU hMenuGiven = nullptr;

    DWORD OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        Seen s = { message, wParam, lParam, {} };
        auto* pRequest = reinterpret_cast<SCXREQUEST*>(lParam);
        if (message == GetSysCommandExMessage() && pRequest)
            s.request = *pRequest;
        seen.push_back(s);
        if (message == GetSysCommandExMessage() && pRequest && (wParam & 0xFFF0) == SCX_BUILDMENU &&
            nMenuState >= 0 && pResult) {
            ScxMsgFilter builder;
            pRequest->hMenu = hMenuGiven = builder.BuildStateMenu(nullptr, nMenuState, pRequest);
            *pResult = 1;
            return 15;
        }
        return 0;
    }
    std::vector<Seen> Requests(UINT nCode) const
    {
        std::vector<Seen> r;
        for (const Seen& s : seen)
            if (s.message == GetSysCommandExMessage() && (s.wParam & 0xFFF0) == nCode)
                r.push_back(s);
        return r;
    }
    // Index of the first request with the code, or -1.
    int IndexOf(UINT nCode) const
    {
        for (size_t i = 0; i < seen.size(); i++)
            if (seen[i].message == GetSysCommandExMessage() && (seen[i].wParam & 0xFFF0) == nCode)
                return (int)i;
        return -1;
    }
};
IMPLEMENT_DYNCREATE(CScxRecorder, TWKMsgFilter)

// Carries out a move by destroying the frame the request came to, as a real
// move does, and remembers which filter object did the work.
class CDestroyingScx : public ScxMsgFilter
{
    DECLARE_DYNCREATE(CDestroyingScx)
public:
    TWKMsgFilter* Clone() const override { return new CDestroyingScx(*this); }
    static const void* s_pWorker;
    static BOOL s_bWorkerIsCopy;
    DWORD OnChangeState(SCXREQUEST* pRequest, LRESULT* pResult) override
    {
        s_pWorker = this;
        s_bWorkerIsCopy = m_bIsCopy;
        ::DestroyWindow(pRequest->hWnd);
        *pResult = 1;
        return 15;
    }
};
IMPLEMENT_DYNCREATE(CDestroyingScx, ScxMsgFilter)
const void* CDestroyingScx::s_pWorker = nullptr;
BOOL CDestroyingScx::s_bWorkerIsCopy = FALSE;

namespace {

using vt::MenuDriver;

// A main frame with one framework child frame, its extension on, and a
// recorder ahead of the child's filters.
struct ChildWithExtension {
    vt::MainFrame f;
    TWKMDIChildWnd* child = nullptr;
    CScxRecorder* rec = nullptr;

    explicit ChildWithExtension(DWORD dwFlags = 1)
    {
        if (!f.p)
            return;
        AfxGetApp()->m_pMainWnd = f.p;
        child = new TWKMDIChildWnd;
        if (!child->LoadFrame(vt::kTestFrameID, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, f.p)) {
            ADD_FAILURE() << "child not created";
            child = nullptr;
            return;
        }
        child->EnableCaptionControls(dwFlags);
        rec = new CScxRecorder;
        rec->SetWnd(child, TRUE);
        rec->m_nID = 300;
        child->m_pFilterRoot->m_arrChildren.InsertAt(0, rec);
        child->SendMessage(WM_NCACTIVATE, TRUE);   // lays the caption buttons out
    }
    ~ChildWithExtension() { AfxGetApp()->m_pMainWnd = nullptr; }

    // The child restored, its caption laid out, and its button.
    ScxButtonMsgFilter* RestoredButton() const
    {
        child->MDIRestore();
        child->SendMessage(WM_NCACTIVATE, TRUE);
        return Button();
    }
    ScxButtonMsgFilter* Button() const
    {
        return dynamic_cast<ScxButtonMsgFilter*>(child->m_pFilterRoot->FindFilter(258, nullptr, -1));
    }
    // The button's rectangle on the screen.
    static CRect ScreenRect(const TWKCaptionControlMsgFilter* pButton, CWnd* pOwner)
    {
        CRect rcWindow;
        pOwner->GetWindowRect(&rcWindow);
        CRect rc = pButton->m_rect;
        rc.OffsetRect(rcWindow.TopLeft());
        return rc;
    }
    LPARAM ClientParam(CPoint screen) const
    {
        child->ScreenToClient(&screen);
        return MAKELPARAM(screen.x, screen.y);
    }
};

std::string MenuText(HMENU hMenu, int nPos)
{
    char text[64] = {};
    ::GetMenuStringA(hMenu, (UINT)nPos, text, sizeof text, MF_BYPOSITION);
    return text;
}

// A popup as "text=id*" per item ("*" checked), "-" a separator, "text>[...]" a submenu.
std::string MenuLayout(HMENU hMenu)
{
    std::string out;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); i++) {
        if (i)
            out += " ";
        UINT state = ::GetMenuState(hMenu, (UINT)i, MF_BYPOSITION);
        if (HMENU hSub = ::GetSubMenu(hMenu, i)) {
            out += MenuText(hMenu, i) + ">[" + MenuLayout(hSub) + "]";
            continue;
        }
        if (state & MF_SEPARATOR) {
            out += "-";
            continue;
        }
        out += MenuText(hMenu, i) + "=" + std::to_string(::GetMenuItemID(hMenu, i)) + ((state & MF_CHECKED) ? "*" : "");
    }
    return out;
}

TEST(SysCommandEx, StateClassesToggleTargetsAndTheStateMenu)
{
    ScxMsgFilter filter;
    const struct { int state; int cls; int toggle; } states[] = {
        { -1, 0, 1 }, { 0, 0, 1 }, { 1, 1, 5 }, { 2, 1, 5 }, { 3, 1, 5 }, { 4, 1, 5 }, { 5, 5, 1 },
        { 6, 5, 1 },  { 7, 5, 1 }, { 8, 5, 1 }, { 9, 5, 1 }, { 10, 10, 1 }, { 11, 0, 1 },
    };
    for (const auto& s : states) {
        EXPECT_EQ(s.cls, filter.GetStateClass(s.state)) << s.state;
        EXPECT_EQ(s.toggle, filter.GetToggleState(nullptr, s.state, nullptr)) << s.state;
    }
    EXPECT_TRUE(filter.IsCopiedCommand(SCX_CHANGESTATE, nullptr));
    EXPECT_TRUE(filter.IsCopiedCommand(SCX_DROPMENU, nullptr));
    EXPECT_FALSE(filter.IsCopiedCommand(SCX_BUILDMENU, nullptr));

    const struct { int state; const char* layout; } menus[] = {
        { 0, "&Docked=5 &Floating=10 &MDI Child=1 - D&ocked to>[&Top=7 &Left=6 &Bottom=9 &Right=8] "
             "MD&I Child as>[Mi&nimized=2 Ma&ximized=3 &Restored=4]" },
        { 7, "&Docked=5* &Floating=10 &MDI Child=1 - D&ocked to>[&Top=7* &Left=6 &Bottom=9 &Right=8] "
             "MD&I Child as>[Mi&nimized=2 Ma&ximized=3 &Restored=4]" },
        { 8, "&Docked=5* &Floating=10 &MDI Child=1 - D&ocked to>[&Top=7 &Left=6 &Bottom=9 &Right=8*] "
             "MD&I Child as>[Mi&nimized=2 Ma&ximized=3 &Restored=4]" },
        { 10, "&Docked=5 &Floating=10* &MDI Child=1 - D&ocked to>[&Top=7 &Left=6 &Bottom=9 &Right=8] "
              "MD&I Child as>[Mi&nimized=2 Ma&ximized=3 &Restored=4]" },
        { 3, "&Docked=5 &Floating=10 &MDI Child=1* - D&ocked to>[&Top=7 &Left=6 &Bottom=9 &Right=8] "
             "MD&I Child as>[Mi&nimized=2 Ma&ximized=3* &Restored=4]" },
        { 2, "&Docked=5 &Floating=10 &MDI Child=1* - D&ocked to>[&Top=7 &Left=6 &Bottom=9 &Right=8] "
             "MD&I Child as>[Mi&nimized=2* Ma&ximized=3 &Restored=4]" },
    };
    for (const auto& m : menus) {
        HMENU hMenu = filter.BuildStateMenu(nullptr, m.state, nullptr);
        ASSERT_NE(nullptr, hMenu);
        EXPECT_EQ(m.layout, MenuLayout(hMenu)) << m.state;
        ::DestroyMenu(hMenu);
    }
}

TEST(SysCommandEx, WithoutADockableViewTemplateNothingMovesAndNoMenuDrops)
{
    ChildWithExtension w;
    ASSERT_NE(nullptr, w.child);
    ASSERT_NE(nullptr, w.child->m_pFilterRoot->FindFilter(257, nullptr, -1));
    for (UINT nCode : { (UINT)SCX_CHANGESTATE, (UINT)SCX_BUILDMENU }) {
        SCXREQUEST request = {};
        request.hWnd = w.child->m_hWnd;
        request.nNewState = SCXS_TOGGLE;
        EXPECT_EQ(0, SendRequest(nCode, request)) << nCode;
        EXPECT_EQ(nullptr, request.hMenu) << nCode;
    }
    // The drop asks for a menu, gets none and requests nothing.
    MenuDriver driver;
    SCXREQUEST request = {};
    request.hWnd = w.child->m_hWnd;
    request.nNewState = SCXS_TOGGLE;
    w.rec->seen.clear();
    EXPECT_EQ(0, SendRequest(SCX_DROPMENU, request));
    EXPECT_EQ(1u, w.rec->Requests(SCX_BUILDMENU).size());
    EXPECT_TRUE(w.rec->Requests(SCX_CHANGESTATE).empty());
    EXPECT_FALSE(driver.bSeen);
    // Not the registered message, or no record: nothing.
    ScxMsgFilter filter;
    EXPECT_EQ(0u, filter.FilterMessage(GetSysCommandExMessage(), SCX_CHANGESTATE, 0, nullptr));
    EXPECT_EQ(0u, filter.FilterMessage(WM_SYSCOMMAND, SCX_CHANGESTATE, (LPARAM)&request, nullptr));
    // The message is one registered name.
    EXPECT_EQ(::RegisterWindowMessageA("Tarnwick::WM_SYSCOMMANDEX"), GetSysCommandExMessage());
}

TEST(SysCommandEx, RequestStateSendsTheStateAndOnlyAChosenOne)
{
    ChildWithExtension w;
    ASSERT_NE(nullptr, w.child);
    ScxMsgFilter filter;
    SCXREQUEST request = {};
    request.hWnd = w.child->m_hWnd;
    request.dwFlags = SCXF_POS | SCXF_SIZE;
    request.x = 11;
    request.cx = 22;
    EXPECT_FALSE(filter.RequestState(0, &request));
    EXPECT_TRUE(w.rec->Requests(SCX_CHANGESTATE).empty());
    EXPECT_TRUE(filter.RequestState(SCXS_LEFT, &request));
    auto sent = w.rec->Requests(SCX_CHANGESTATE);
    ASSERT_EQ(1u, sent.size());
    EXPECT_EQ(SCXS_LEFT, sent[0].request.nNewState);
    EXPECT_EQ((DWORD)SCXF_SIZE, sent[0].request.dwFlags);   // the menu's point is no place
    EXPECT_EQ(22, sent[0].request.cx);
    EXPECT_EQ(w.child->m_hWnd, sent[0].request.hWnd);
    EXPECT_EQ(SCXF_POS | SCXF_SIZE, (int)request.dwFlags);   // the sender's record stays as it was
}

TEST(SysCommandEx, CaptionClicksBecomeRequests)
{
    ChildWithExtension w;
    ASSERT_NE(nullptr, w.child);
    ScxButtonMsgFilter* pButton = w.RestoredButton();
    ASSERT_NE(nullptr, pButton);
    EXPECT_TRUE(pButton->IsKindOf(RUNTIME_CLASS(ScxButtonMDIChildMsgFilter)));
    EXPECT_EQ(400, pButton->m_nHoldDelay);
    EXPECT_EQ((UINT)DFC_SCROLL, pButton->m_nType);
    ASSERT_FALSE(pButton->m_rect.IsRectEmpty());
    const CRect rcButton = ChildWithExtension::ScreenRect(pButton, w.child);
    const CPoint inside = rcButton.CenterPoint();

    // A click toggles: the request carries the click's point and the button.
    EXPECT_EQ(15, w.child->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(inside.x, inside.y)));
    EXPECT_EQ(15, w.child->SendMessage(WM_LBUTTONUP, 0, w.ClientParam(inside)));
    auto toggles = w.rec->Requests(SCX_CHANGESTATE);
    ASSERT_EQ(1u, toggles.size());
    EXPECT_EQ(SCXS_TOGGLE, toggles[0].request.nNewState);
    EXPECT_EQ(0u, toggles[0].request.dwFlags);
    EXPECT_EQ(inside, CPoint(toggles[0].request.x, toggles[0].request.y));
    EXPECT_EQ(rcButton, CRect(toggles[0].request.rcButton));
    EXPECT_EQ(w.child->m_hWnd, toggles[0].request.hWnd);

    // A right double click on the caption toggles too; a right click drops the menu at its point.
    w.rec->seen.clear();
    EXPECT_EQ(15, w.child->SendMessage(WM_NCRBUTTONDBLCLK, HTCAPTION, MAKELPARAM(40, 10)));
    EXPECT_EQ(1u, w.rec->Requests(SCX_CHANGESTATE).size());
    EXPECT_EQ(15, w.child->SendMessage(WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(41, 12)));
    auto drops = w.rec->Requests(SCX_DROPMENU);
    ASSERT_EQ(1u, drops.size());
    EXPECT_EQ(CPoint(41, 12), CPoint(drops[0].request.x, drops[0].request.y));
    EXPECT_EQ(0u, drops[0].request.dwFlags);
    // Elsewhere than the caption it passes.
    w.rec->seen.clear();
    w.child->SendMessage(WM_NCRBUTTONDBLCLK, HTMENU, MAKELPARAM(40, 10));
    EXPECT_EQ(-1, w.rec->IndexOf(SCX_CHANGESTATE));

    // Switched off by the caption styles, they are silent (the default right
    // click then finds nothing at a point off the screen).
    w.child->EnableCaptionControls(1 | 4 | 8);
    w.rec->seen.clear();
    const LPARAM offScreen = MAKELPARAM(-3000, -3000);
    EXPECT_NE(15, w.child->SendMessage(WM_NCRBUTTONDBLCLK, HTCAPTION, offScreen));
    w.child->SendMessage(WM_NCRBUTTONUP, HTCAPTION, offScreen);
    EXPECT_EQ(-1, w.rec->IndexOf(SCX_CHANGESTATE));
    EXPECT_EQ(-1, w.rec->IndexOf(SCX_DROPMENU));

    // Maximized, the child's own button is gone and deaf.
    w.child->MDIMaximize();
    BOOL bInactive = TRUE;
    EXPECT_FALSE(pButton->IsVisible(&bInactive));
    EXPECT_FALSE(bInactive);
    EXPECT_EQ(0u, pButton->FilterMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(inside.x, inside.y), nullptr));
    EXPECT_FALSE(pButton->m_bTracking);
}

TEST(SysCommandEx, AHeldButtonDropsTheMenuAtItsCornerAndRepaintsTheFrame)
{
    ChildWithExtension w;
    ASSERT_NE(nullptr, w.child);
    ScxButtonMsgFilter* pButton = w.RestoredButton();
    ASSERT_NE(nullptr, pButton);
    const CRect rcButton = ChildWithExtension::ScreenRect(pButton, w.child);
    w.rec->nMenuState = SCXS_RESTORED;   // another handler supplies the menu

    {
        MenuDriver driver;   // cancels
        w.child->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(rcButton.left + 1, rcButton.top + 1));
        EXPECT_TRUE(pButton->m_bTracking);
        vt::PumpWithoutMouseUntil([&] { return w.rec->IndexOf(SCX_DROPMENU) >= 0 && !pButton->m_bTracking && driver.bSeen; });
        ASSERT_TRUE(driver.bSeen);
        EXPECT_EQ(rcButton.left, driver.rcMenu.left);
        EXPECT_EQ(rcButton.bottom, driver.rcMenu.top);
    }
    auto drops = w.rec->Requests(SCX_DROPMENU);
    ASSERT_EQ(1u, drops.size());
    EXPECT_EQ((DWORD)SCXF_POS, drops[0].request.dwFlags);
    EXPECT_EQ(CPoint(rcButton.left, rcButton.bottom), CPoint(drops[0].request.x, drops[0].request.y));
    // The supplied menu is destroyed, nothing is requested, and the frame repaints afterwards.
    EXPECT_FALSE(::IsMenu(w.rec->hMenuGiven));
    EXPECT_EQ(-1, w.rec->IndexOf(SCX_CHANGESTATE));
    int nRepaint = -1;
    for (size_t i = 0; i < w.rec->seen.size(); i++)
        if (w.rec->seen[i].message == WM_NCPAINT && w.rec->seen[i].wParam == 0 && w.rec->seen[i].lParam == 0)
            nRepaint = (int)i;
    EXPECT_GT(nRepaint, w.rec->IndexOf(SCX_BUILDMENU));
    EXPECT_FALSE(pButton->m_nState & DFCS_PUSHED);
    EXPECT_EQ(nullptr, ::GetCapture());

    // A right press drops it at the same corner without the repaint; a chosen item is requested.
    w.rec->seen.clear();
    {
        MenuDriver driver('f');
        EXPECT_EQ(15, w.child->SendMessage(WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(rcButton.left + 1, rcButton.top + 1)));
        ASSERT_TRUE(driver.bSeen);
        EXPECT_EQ(rcButton.left, driver.rcMenu.left);
        EXPECT_EQ(rcButton.bottom, driver.rcMenu.top);
    }
    drops = w.rec->Requests(SCX_DROPMENU);
    ASSERT_EQ(1u, drops.size());
    EXPECT_EQ(0u, drops[0].request.dwFlags);
    for (const auto& s : w.rec->seen)
        EXPECT_FALSE(s.message == WM_NCPAINT && s.wParam == 0 && s.lParam == 0);
    auto chosen = w.rec->Requests(SCX_CHANGESTATE);
    ASSERT_EQ(1u, chosen.size());
    EXPECT_EQ(SCXS_FLOATING, chosen[0].request.nNewState);
    EXPECT_EQ(w.child->m_hWnd, chosen[0].request.hWnd);
    EXPECT_FALSE(::IsMenu(w.rec->hMenuGiven));
}

TEST(SysCommandEx, TheMDIFramesButtonActsForAMaximizedChildWithItsOwnButton)
{
    const struct { DWORD dwFlags; bool button; bool dblClk; } cases[] = {
        { 0, false, false },   // no extension: nothing of the child's exists
        { 1, true, true },
        { 1 | 2, false, true },   // no caption button
        { 1 | 4, true, false },   // no right double click
    };
    for (const auto& c : cases) {
        ChildWithExtension w(c.dwFlags);
        ASSERT_NE(nullptr, w.child);
        TWKMDIFrameWnd* frame = w.f.p;
        auto* pButton = dynamic_cast<ScxButtonMDIMaxChildMsgFilter*>(frame->m_pFilterRoot->FindFilter(260, nullptr, -1));
        ASSERT_NE(nullptr, pButton);
        HWND hTarget = nullptr;
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
        // No maximized child: no button, no target.
        EXPECT_FALSE(pButton->IsVisible(nullptr));
        EXPECT_FALSE(pButton->GetCommandMessage(0, 0, 0, &hTarget, &message, &wParam, &lParam));

        w.child->MDIMaximize();
        EXPECT_EQ(w.child, pButton->GetMaximizedChild());
        EXPECT_TRUE(pButton->IsVisible(nullptr));
        ASSERT_TRUE(pButton->GetCommandMessage(0, 0, 0, &hTarget, &message, &wParam, &lParam));
        EXPECT_EQ(w.child->m_hWnd, hTarget);
        frame->SendMessage(WM_NCACTIVATE, TRUE);   // lays the menu row out
        ASSERT_FALSE(pButton->m_rect.IsRectEmpty()) << c.dwFlags;
        const CPoint inside = ChildWithExtension::ScreenRect(pButton, frame).CenterPoint();

        // A right press in the menu row drops the child's menu (none without a template).
        w.rec->seen.clear();
        frame->SendMessage(WM_NCRBUTTONDOWN, HTMENU, MAKELPARAM(inside.x, inside.y));
        auto drops = w.rec->Requests(SCX_DROPMENU);
        ASSERT_EQ(c.button ? 1u : 0u, drops.size()) << c.dwFlags;
        if (c.button) {
            EXPECT_EQ(w.child->m_hWnd, drops[0].request.hWnd);
            EXPECT_EQ(ChildWithExtension::ScreenRect(pButton, frame), CRect(drops[0].request.rcButton));
        }
        // A right double click in the menu row toggles the child.
        w.rec->seen.clear();
        frame->SendMessage(WM_NCRBUTTONDBLCLK, HTMENU, MAKELPARAM(inside.x, inside.y));
        auto toggles = w.rec->Requests(SCX_CHANGESTATE);
        ASSERT_EQ(c.dblClk ? 1u : 0u, toggles.size()) << c.dwFlags;
        if (c.dblClk) {
            EXPECT_EQ(w.child->m_hWnd, toggles[0].request.hWnd);
            EXPECT_EQ(SCXS_TOGGLE, toggles[0].request.nNewState);
        }
        // A left click on the button toggles the child (unconsumed, the press would open the menu bar).
        if (!c.button)
            continue;
        w.rec->seen.clear();
        frame->SendMessage(WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(inside.x, inside.y));
        CPoint client = inside;
        frame->ScreenToClient(&client);
        frame->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
        EXPECT_EQ(1u, w.rec->Requests(SCX_CHANGESTATE).size()) << c.dwFlags;
        EXPECT_EQ(nullptr, ::GetCapture());
    }
}

TEST(SysCommandEx, AMoveThatDestroysTheFrameRunsOnTheFiltersCopy)
{
    ChildWithExtension w;
    ASSERT_NE(nullptr, w.child);
    TWKMsgFilter::Descriptor d(301, -1, RUNTIME_CLASS(CDestroyingScx));
    auto* pOriginal = w.child->m_pFilterRoot->ApplyDescriptor(&d, TRUE);
    ASSERT_NE(nullptr, pOriginal);
    // Ahead of the child's own extension.
    w.child->m_pFilterRoot->m_arrChildren.RemoveAt(w.child->m_pFilterRoot->m_arrChildren.GetSize() - 1);
    w.child->m_pFilterRoot->m_arrChildren.InsertAt(0, pOriginal);
    const HWND hChild = w.child->m_hWnd;
    SCXREQUEST request = {};
    request.hWnd = hChild;
    request.nNewState = SCXS_TOGGLE;
    CDestroyingScx::s_pWorker = nullptr;
    EXPECT_EQ(1, SendRequest(SCX_CHANGESTATE, request));
    EXPECT_FALSE(::IsWindow(hChild));
    EXPECT_NE(nullptr, CDestroyingScx::s_pWorker);
    EXPECT_NE((const void*)pOriginal, CDestroyingScx::s_pWorker);
    EXPECT_TRUE(CDestroyingScx::s_bWorkerIsCopy);
    // The copy's stop bit keeps the destroyed tree from offering it further.
    CDestroyingScx direct;
    direct.m_bIsCopy = FALSE;
    auto* pTop = new TWKMDIChildWnd;
    ASSERT_TRUE(pTop->LoadFrame(vt::kTestFrameID, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, w.f.p));
    request.hWnd = pTop->m_hWnd;
    LRESULT lResult = 0;
    EXPECT_EQ(15u, direct.FilterMessage(GetSysCommandExMessage(), SCX_CHANGESTATE, (LPARAM)&request, &lResult));
    EXPECT_EQ(1, lResult);
}

TEST(SysCommandEx, TheButtonsDiamond)
{
    // A 16 by 14 button: strokes 2 by 1, a diamond 8 rows high, from the Part's rules.
    const char* const kMdi[] = {
        "................",
        "................",
        "......###.......",
        ".....##.##......",
        "....##...##.....",
        "...##.....##....",
        "...#.......#....",
        "...##.....##....",
        "....##...##.....",
        ".....##.##......",
        "......###.......",
        "................",
        "................",
        "................",
    };
    // In a dockable frame: one row lower, the middle row left open.
    const char* const kDockable[] = {
        "................",
        "................",
        "................",
        "......###.......",
        ".....##.##......",
        "....##...##.....",
        "...##.....##....",
        "...##.....##....",
        "....##...##.....",
        ".....##.##......",
        "......###.......",
        "................",
        "................",
        "................",
    };
    const COLORREF clrText = ::GetSysColor(COLOR_BTNTEXT);
    auto glyph = [&](BOOL bPushed, BOOL bDockable) {
        vt::Picture pic(16, 14);
        ScxButtonMsgFilter::DrawButton(pic.dc.GetSafeHdc(), CRect(0, 0, 16, 14), bPushed, bDockable);
        std::vector<std::string> rows;
        for (int y = 0; y < 14; y++) {
            std::string row;
            for (int x = 0; x < 16; x++)
                row += (x >= 2 && x < 14 && y >= 2 && y < 12 && pic.At(x, y) == clrText) ? '#' : '.';
            rows.push_back(row);
        }
        return std::make_pair(rows, std::vector<COLORREF>{ pic.At(0, 0), pic.At(15, 13), pic.At(1, 1), pic.At(14, 12),
                                                          pic.At(2, 2) });
    };
    auto flat = glyph(FALSE, FALSE);
    for (int y = 0; y < 14; y++)
        EXPECT_EQ(kMdi[y], flat.first[(size_t)y]) << "row " << y;
    auto docked = glyph(FALSE, TRUE);
    for (int y = 0; y < 14; y++)
        EXPECT_EQ(kDockable[y], docked.first[(size_t)y]) << "row " << y;
    // Pushed: one pixel right and down.
    auto pushed = glyph(TRUE, FALSE);
    for (int y = 1; y < 14; y++)
        EXPECT_EQ("." + std::string(kMdi[y - 1]).substr(0, 15), pushed.first[(size_t)y]) << "row " << y;

    // The frames: highlight and dark shadow outside, light and shadow inside, swapped when pushed.
    const std::vector<COLORREF> up = { ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_3DDKSHADOW),
                                       ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_BTNSHADOW),
                                       ::GetSysColor(COLOR_BTNFACE) };
    const std::vector<COLORREF> down = { ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT),
                                         ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNFACE),
                                         ::GetSysColor(COLOR_BTNFACE) };
    EXPECT_EQ(up, flat.second);
    EXPECT_EQ(down, pushed.second);
}

} // namespace
