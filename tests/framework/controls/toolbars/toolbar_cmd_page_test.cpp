// The Commands page in a customisation sheet over a frame with the real
// toolbar manager: its groups, descriptions, the menu-bar group, look
// changes, copies dragged onto frame toolbars, and the command list's own
// hit test.
#include "tests/framework/controls/toolbars/customize_fixture.h"
#include "framework/controls/toolbars/TWKToolBarCmdPage.h"
#include "framework/controls/toolbars/TWKWndBtn.h"

using namespace vt;

namespace {

const UINT A = ID_TWK_TEST_A, B = ID_TWK_TEST_B, C = ID_TWK_TEST_C, D = ID_TWK_TEST_D, E = ID_TWK_TEST_E;
const UINT G = ID_TWK_TEST_G, H = ID_TWK_TEST_H;
const UINT kButtons[] = { A, B, G, H };
const UINT kMore[] = { D, E, A, B, C, D, E, A, B, C, D, E, A, B, C, D };

// The Buttons box's inner area: 6 and 8 dialog units of the page's font in.
CRect InnerArea(CWnd* pPage)
{
    CRect rect;
    pPage->GetDlgItem(IDC_TWK_TB_BUTTONS)->GetWindowRect(&rect);
    pPage->ScreenToClient(&rect);
    HDC hDC = ::GetDC(pPage->m_hWnd);
    HGDIOBJ hOld = ::SelectObject(hDC, pPage->GetFont());
    SIZE size;
    ::GetTextExtentPoint32A(hDC, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &size);
    TEXTMETRICA tm;
    ::GetTextMetricsA(hDC, &tm);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(pPage->m_hWnd, hDC);
    rect.DeflateRect(::MulDiv(6, (size.cx + 26) / 52, 4), ::MulDiv(8, tm.tmHeight + tm.tmExternalLeading, 8));
    return rect;
}

CRect RectIn(CWnd* pWnd, CWnd* pParent)
{
    CRect rect;
    pWnd->GetWindowRect(&rect);
    pParent->ScreenToClient(&rect);
    return rect;
}

void SelectCategory(TWKToolBarCmdPage& page, int nIndex)
{
    page.SendDlgItemMessage(IDC_TWK_TB_LIST, LB_SETCURSEL, (WPARAM)nIndex);
    page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TWK_TB_LIST, LBN_SELCHANGE),
                     (LPARAM)page.GetDlgItem(IDC_TWK_TB_LIST)->m_hWnd);
}

TWKCustomizeToolBar* GroupBar(TWKToolBarCmdPage& page, int i)
{
    return dynamic_cast<TWKCustomizeToolBar*>(page.groups.GetAt(i)->m_pWnd);
}

// Presses a point of a window after posting the pointer's moves (offsets
// from the press) and the release, as the drag tests do.
void PressAndDrag(CWnd* pWnd, CPoint pt, std::vector<CPoint> moves)
{
    CPoint last = pt;
    for (CPoint d : moves) {
        last = pt + d;
        pWnd->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(last.x, last.y));
    }
    pWnd->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(last.x, last.y));
    Send(pWnd, WM_LBUTTONDOWN, pt, MK_LBUTTON);
}

// The offset that takes point ptFrom of pFrom onto point ptTo of pTo.
CPoint Offset(CWnd* pFrom, CPoint ptFrom, CWnd* pTo, CPoint ptTo)
{
    pTo->ClientToScreen(&ptTo);
    pFrom->ScreenToClient(&ptTo);
    return CPoint(ptTo.x - ptFrom.x, ptTo.y - ptFrom.y);
}

struct CmdPageTest : ::testing::Test {
    CustomizeFrame frame;
    TWKToolBarCmdPage page;
    std::vector<UINT> menuIDs;

    void SetUp() override
    {
        ASSERT_TRUE(frame.p);
        int nCount = 0;
        const UINT* pIDs = nullptr;
        frame.pMgr->GetMenuInfo(&nCount, &pIDs);
        ASSERT_GE(nCount, 3);
        menuIDs.assign(pIDs, pIDs + 3);
        page.SetManager(frame.pMgr);
        page.AddToolBarGroup("Buttons", 4, kButtons);
        page.AddToolBarGroup("More", 16, kMore);
        page.AddMenuGroup("Menus", 3, menuIDs.data());
    }
    // Runs the sheet; the step runs once it is up, then the sheet is cancelled.
    void RunSheet(std::function<void(HWND)> step, CPropertyPage* pFirst = nullptr)
    {
        TWKToolBarsSheet sheet("Customize", frame.p);
        if (pFirst)
            sheet.AddPage(pFirst);
        sheet.AddPage(&page);
        ModalSteps steps;
        steps.Then("Customize", [&](HWND h) {
            step(h);
            ::SendMessageA(h, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        });
        EXPECT_EQ(IDCANCEL, sheet.DoModal());
        EXPECT_EQ(0u, steps.Pending());
    }
};

TEST_F(CmdPageTest, GroupsFillTheButtonsBoxAndOnlyTheSelectedShows)
{
    RunSheet([&](HWND) {
        ASSERT_EQ(3, page.groups.GetSize());
        CRect inner = InnerArea(&page);
        CListBox* pCategories = static_cast<CListBox*>(page.GetDlgItem(IDC_TWK_TB_LIST));
        const char* names[] = { "Buttons", "More", "Menus" };
        for (int i = 0; i < 3; i++) {
            CWnd* pWnd = page.groups.GetAt(i)->m_pWnd;
            ASSERT_TRUE(pWnd && ::IsWindow(pWnd->m_hWnd)) << i;
            EXPECT_EQ(0xE8AF - i, pWnd->GetDlgCtrlID()) << i;
            EXPECT_EQ(inner, RectIn(pWnd, &page)) << i;
            EXPECT_EQ(i == 0, pWnd->IsWindowVisible() != FALSE) << i;
            CString s;
            ::SendMessageA(pCategories->m_hWnd, LB_GETTEXT, i, (LPARAM)s.GetBuffer(64));
            s.ReleaseBuffer();
            EXPECT_STREQ(names[i], s) << i;
        }
        EXPECT_EQ(0, page.GetCurGroup());
        EXPECT_TRUE(GroupBar(page, 0)->GetConfigMode());
        EXPECT_EQ(4, GroupBar(page, 0)->GetButtonCount());
        // The buttons wrap within the box's width.
        TWKCustomizeToolBar* pMore = GroupBar(page, 1);
        ASSERT_GT(pMore->GetButtonCount() * pMore->GetButtonWidth(), inner.Width());
        for (int i = 0; i < pMore->GetButtonCount(); i++) {
            CRect rect;
            pMore->GetItemRect(i, &rect);
            EXPECT_LT(rect.left, inner.Width()) << i;
        }
        CRect rectFirst, rectLast;
        pMore->GetItemRect(0, &rectFirst);
        pMore->GetItemRect(pMore->GetButtonCount() - 1, &rectLast);
        EXPECT_GT(rectLast.top, rectFirst.top);

        SelectCategory(page, 1);
        EXPECT_EQ(1, page.GetCurGroup());
        EXPECT_FALSE(page.groups.GetAt(0)->m_pWnd->IsWindowVisible());
        EXPECT_TRUE(pMore->IsWindowVisible());
        EXPECT_FALSE(GroupBar(page, 0)->GetConfigMode());
        EXPECT_TRUE(pMore->GetConfigMode());

        // The menu group lists the entries' texts without their "&".
        SelectCategory(page, 2);
        auto* pList = dynamic_cast<TWKMenuListBox*>(page.groups.GetAt(2)->m_pWnd);
        ASSERT_NE(nullptr, pList);
        EXPECT_TRUE(pList->IsWindowVisible());
        EXPECT_FALSE(pMore->IsWindowVisible());
        EXPECT_EQ(frame.pMgr, pList->m_pManager);
        EXPECT_FALSE(pList->bOwnHitTest);
        const char* texts[] = { "File", "Edit", "View" };
        ASSERT_EQ(3, pList->GetCount());
        for (int i = 0; i < 3; i++) {
            EXPECT_EQ(texts[i], ItemText(*pList, i)) << i;
            EXPECT_EQ(menuIDs[(size_t)i], (UINT)pList->GetItemData(i)) << i;
        }
    });
    // Leaving the sheet ends both modes.
    EXPECT_FALSE(frame.pMgr->InConfigMode());
    EXPECT_FALSE(frame.Bar(kStandardBar)->GetConfigMode());
    EXPECT_EQ(nullptr, frame.pMgr->m_pNoDropWnd);
}

TEST_F(CmdPageTest, AClickedCommandShowsItsPrompt)
{
    RunSheet([&](HWND) {
        TWKCustomizeToolBar* pBar = GroupBar(page, 0);
        struct Case {
            int nIndex;
            const char* text;
        } cases[] = {
            { 2, "Runs the G command" },                   // the prompt before the newline
            { 3, "Runs the H command without a tip" },     // no newline: all of it
            { 0, "" },                                     // no string
        };
        for (const Case& c : cases) {
            PressAndDrag(pBar, Centre(pBar, c.nIndex), {});
            EXPECT_EQ(c.text, DlgText(page.m_hWnd, IDC_TWK_TB_DESCRIPTION)) << c.nIndex;
        }
        // A command of the menu list: the menu buttons have no prompt.
        page.SetDlgItemText(IDC_TWK_TB_DESCRIPTION, "old");
        SelectCategory(page, 2);
        auto* pList = static_cast<TWKMenuListBox*>(page.groups.GetAt(2)->m_pWnd);
        CRect rect;
        pList->GetItemRect(1, &rect);
        PressAndDrag(pList, rect.CenterPoint(), {});
        EXPECT_EQ(1, pList->GetCurSel());
        EXPECT_EQ("", DlgText(page.m_hWnd, IDC_TWK_TB_DESCRIPTION));
    });
}

TEST_F(CmdPageTest, ButtonsAreCopiedOntoFrameToolBarsAndNothingDropsOnThePage)
{
    // The user toolbar, docked alone at the bottom, is the target.
    TWKCustomToolBar* pUser = frame.pUser;
    ASSERT_EQ("32101", Buttons(pUser));
    RunSheet([&](HWND h) {
        // Keep the sheet clear of the frame's toolbars.
        CRect rectFrame;
        frame.p->GetWindowRect(&rectFrame);
        ::SetWindowPos(h, nullptr, rectFrame.left + 40, rectFrame.top + 140, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        TWKCustomizeToolBar* pBar = GroupBar(page, 0);
        EXPECT_TRUE(pBar->IsCopyKeyDown());
        EXPECT_FALSE(pBar->CanAcceptDrop());

        // Onto the page's own toolbar: nothing moves anywhere.
        CPoint from = Centre(pBar, 2);
        PressAndDrag(pBar, from, { CPoint(10, 0), Offset(pBar, from, pBar, Centre(pBar, 0)) });
        EXPECT_EQ("32097 32098 32103 32104", Buttons(pBar));
        EXPECT_EQ("32101", Buttons(pUser));

        // Onto the front half of the user toolbar's button: a copy of G comes first.
        CRect rectFirst;
        pUser->GetItemRect(0, &rectFirst);
        CPoint to(rectFirst.left + 3, rectFirst.CenterPoint().y);
        PressAndDrag(pBar, from, { CPoint(10, 0), Offset(pBar, from, pUser, to) });
        EXPECT_EQ("32097 32098 32103 32104", Buttons(pBar));
        EXPECT_EQ("32103 32101", Buttons(pUser));

        // A command of the menu list, dropped the same way: a copy of its menu button.
        SelectCategory(page, 2);
        auto* pList = static_cast<TWKMenuListBox*>(page.groups.GetAt(2)->m_pWnd);
        CRect rectItem;
        pList->GetItemRect(1, &rectItem);
        CPoint fromItem = rectItem.CenterPoint();
        pUser->GetItemRect(0, &rectFirst);
        to = CPoint(rectFirst.left + 3, rectFirst.CenterPoint().y);
        PressAndDrag(pList, fromItem, { Offset(pList, fromItem, pUser, to) });
        ASSERT_EQ(3, pUser->GetButtonCount());
        int nMenuBtn = pUser->CommandToIndex(menuIDs[1]);
        ASSERT_GE(nMenuBtn, 0);
        EXPECT_EQ(TWK_BTN_TBMENU, pUser->GetButton(nMenuBtn)->m_nType);
    });
}

TEST_F(CmdPageTest, LookChangesLayTheGroupToolBarsOutAgain)
{
    TWKToolBarsPage toolbars;
    toolbars.SetManager(frame.pMgr);
    RunSheet(
        [&](HWND h) {
            // The Commands page's window exists once it was shown.
            ::SendMessageA(h, PSM_SETCURSEL, 1, 0);
            ::SendMessageA(h, PSM_SETCURSEL, 0, 0);
            TWKCustomizeToolBar* pMore = GroupBar(page, 1);
            int nSmall = pMore->GetButtonWidth();
            CRect rectBar;
            pMore->GetWindowRect(&rectBar);

            Click(toolbars.m_hWnd, IDC_TWK_TB_LARGEBTNS);
            ASSERT_TRUE(frame.pMgr->IsLargeBtns());
            CSize large = frame.pMgr->GetBmpMgr()->GetLargeImageSize();
            EXPECT_EQ(large.cx + 7, pMore->GetButtonWidth());
            EXPECT_GT(pMore->GetButtonWidth(), nSmall);
            // Wrapped again within the bar's width.
            for (int i = 0; i < pMore->GetButtonCount(); i++) {
                CRect rect;
                pMore->GetItemRect(i, &rect);
                EXPECT_EQ(large.cx + 7, rect.Width()) << i;
                EXPECT_LT(rect.left, rectBar.Width()) << i;
            }

            const DWORD dwCool = CBX_COOLLOOK | CBX_GRIPPER;
            Click(toolbars.m_hWnd, IDC_TWK_TB_COOLLOOK);
            EXPECT_EQ(dwCool, pMore->GetExBarStyle() & dwCool);
            Click(toolbars.m_hWnd, IDC_TWK_TB_COOLLOOK);
            EXPECT_EQ(0u, pMore->GetExBarStyle() & dwCool);
        },
        &toolbars);
}

TEST(CmdPage, MenuBarGroupCountsTheCurrentMenusButtons)
{
    CustomizeFrame frame;
    ASSERT_TRUE(frame.p);
    TWKMenuBar& bar = frame.p->m_menuBar;
    struct Case {
        UINT nCurMenu;
        DWORD dwMask;
    } cases[] = {
        { kCustomizeMenu, 1 },     // six items
        { kCustomizeMenu2, 2 },    // seven
        { 0x1234, 0xFFFFFFFF },    // a menu without an entry: all of them
    };
    // One page, one group a call: each group keeps its own ids.
    TWKToolBarCmdPage page;
    page.SetManager(frame.pMgr);
    for (const Case& c : cases) {
        bar.m_nCurMenuID = c.nCurMenu;
        page.AddMenuBarGroup("Menu bar");
    }
    ASSERT_EQ(3, page.groups.GetSize());
    for (int g = 0; g < 3; g++) {
        const Case& c = cases[g];
        TWKBtnGroup* pGroup = page.groups.GetAt(g);
        EXPECT_TRUE(pGroup->IsKindOf(RUNTIME_CLASS(TWKMenuBtnGroup)));
        EXPECT_STREQ("Menu bar", pGroup->m_strName);
        std::vector<UINT> expected;
        for (int i = 0; i < bar.GetButtonCount(); i++)
            if (TWKMenuBar::GetButtonMenuBit(bar.GetButton(i)) & c.dwMask)
                expected.push_back(bar.GetItemID(i));
        EXPECT_EQ(expected, std::vector<UINT>(pGroup->m_pIDs, pGroup->m_pIDs + pGroup->m_nCount)) << c.nCurMenu;
    }
    EXPECT_EQ(6, page.groups.GetAt(0)->m_nCount);
    EXPECT_EQ(13, page.groups.GetAt(2)->m_nCount);

    // Nothing without a manager, or with a manager whose frame has no menu bar.
    TWKToolBarCmdPage none;
    none.AddMenuBarGroup("Menu bar");
    EXPECT_EQ(0, none.groups.GetSize());
    ToolBarFrame plain(TRUE);
    ASSERT_TRUE(plain.p);
    TWKToolBarCmdPage noBar;
    noBar.SetManager(plain.pMgr);
    noBar.AddMenuBarGroup("Menu bar");
    EXPECT_EQ(0, noBar.groups.GetSize());
}

TEST(CmdPage, AMenuGroupFirstShowsItsList)
{
    CustomizeFrame frame;
    ASSERT_TRUE(frame.p);
    TWKToolBarCmdPage page;
    page.SetManager(frame.pMgr);
    page.AddMenuBarGroup("Menu bar");
    page.AddToolBarGroup("Buttons", 4, kButtons);
    TWKToolBarsSheet sheet("Customize", frame.p);
    sheet.AddPage(&page);
    ModalSteps steps;
    steps.Then("Customize", [&](HWND h) {
        // The sheet answers the frame's floating-status notices itself.
        EXPECT_EQ(TRUE, ::SendMessageA(h, WM_FLOATSTATUS, FS_ACTIVATE, 0));
        auto* pList = dynamic_cast<TWKMenuListBox*>(page.groups.GetAt(0)->m_pWnd);
        ASSERT_NE(nullptr, pList);
        EXPECT_TRUE(pList->IsWindowVisible());
        EXPECT_FALSE(page.groups.GetAt(1)->m_pWnd->IsWindowVisible());
        const char* texts[] = { "File", "Edit", "View", "Project", "Tools", "Help" };
        ASSERT_EQ(6, pList->GetCount());
        for (int i = 0; i < 6; i++)
            EXPECT_EQ(texts[i], ItemText(*pList, i)) << i;
        ::SendMessageA(h, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_EQ(IDOK, sheet.DoModal());
    // The page's window is gone: it gets no more notices.
    EXPECT_EQ(0, frame.pMgr->m_arrNotifyWnds.GetSize());
}

// A window button on the page's own toolbar is not sized by its right edge:
// the press starts the toolbar's copy drag, which drops nowhere.
TEST(CustomizeToolBar, WindowButtonsOnItAreNotSized)
{
    static const TWKBtnMapEntry kMap[] = {
        { BUTTON_CLASS(TWKComboBtn), 57636, 0, { 61847, CBS_DROPDOWN | WS_VSCROLL, 150 + 70 * 65536, 150 } },
        { nullptr, 0, 0, {} },
    };
    ToolBarFrame frame(TRUE);
    ASSERT_TRUE(frame.p);
    frame.pMgr->SetButtonMap(kMap);
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "Host", WS_POPUP | WS_VISIBLE, 820, 620, 300, 100,
                              nullptr, nullptr));
    frame.pMgr->SetNoDropWnd(&host);
    const UINT ids[] = { 57636 };
    TWKTBBtnGroup group("Find", 1, ids);
    ASSERT_TRUE(group.Create(&host, frame.pMgr, 0xE8AF));
    CRect rect(0, 0, 300, 100);
    group.m_pWnd->MoveWindow(&rect);
    group.SetRect(&rect);
    auto* pBar = static_cast<TWKCustomizeToolBar*>(group.m_pWnd);
    auto* pCombo = dynamic_cast<TWKComboBtn*>(static_cast<TWKWndBtn*>(pBar->GetButton(0)));
    ASSERT_NE(nullptr, pCombo);
    pBar->SelectButton(0, FALSE);
    int cx = pCombo->m_cx;
    pCombo->PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(cx - 60, 5));
    pCombo->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(cx - 60, 5));
    Send(pCombo, WM_LBUTTONDOWN, CPoint(cx - 1, 5), MK_LBUTTON);
    EXPECT_EQ(cx, pCombo->m_cx);
    EXPECT_EQ(1, pBar->GetButtonCount());
    EXPECT_EQ(nullptr, frame.pMgr->GetToolBar(0xE820));
    frame.pMgr->SetNoDropWnd(nullptr);
    host.DestroyWindow();
}

// The command list's own hit test, used where the platform has none.
class COwnHitList : public TWKMenuListBox
{
public:
    COwnHitList() { bOwnHitTest = TRUE; }
};

TEST(MenuListBox, OwnHitTestAsATable)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "Host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                              nullptr));
    COwnHitList list;
    ASSERT_TRUE(list.CreateEx(0, "LISTBOX", nullptr, WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
                              CRect(10, 10, 110, 10), &host, 1));
    BOOL bOutside = FALSE;
    // Empty: outside, item 0.
    EXPECT_EQ(0, list.ItemHitTest(CPoint(5, 5), bOutside));
    EXPECT_TRUE(bOutside);

    for (const char* s : { "zero", "one", "two", "three", "four", "five" })
        list.AddString(s);
    int h = list.GetItemHeight(0);
    list.MoveWindow(10, 10, 100, 3 * h + h / 2);   // three whole rows and half of a fourth
    CRect client;
    list.GetClientRect(&client);
    struct Case {
        CPoint pt;
        int nTop;
        int nItem;
        BOOL bOutside;
    } cases[] = {
        { CPoint(5, h / 2), 0, 0, FALSE },
        { CPoint(5, 2 * h + 1), 0, 2, FALSE },
        { CPoint(5, -20), 0, 0, TRUE },                  // above: taken at the top
        { CPoint(-20, h + 1), 0, 1, TRUE },              // left: taken at the left edge
        { CPoint(client.right + 20, h + 1), 0, 1, TRUE },
        { CPoint(5, client.bottom + 50), 0, 3, TRUE },   // below: the last row started in view
        { CPoint(5, h / 2), 2, 2, FALSE },               // scrolled
        { CPoint(5, 2 * h + 1), 2, 4, FALSE },
    };
    for (const Case& c : cases) {
        list.SetTopIndex(c.nTop);
        bOutside = !c.bOutside;
        EXPECT_EQ(c.nItem, list.ItemHitTest(c.pt, bOutside)) << c.pt.x << "," << c.pt.y << " top " << c.nTop;
        EXPECT_EQ(c.bOutside, bOutside) << c.pt.x << "," << c.pt.y;
        // Inside the items it answers as the platform does.
        if (!c.bOutside) {
            BOOL bPlatformOutside = TRUE;
            EXPECT_EQ((UINT)c.nItem, list.ItemFromPoint(c.pt, bPlatformOutside));
        }
    }
    // Fewer rows than the window holds: below them, the last item, inside the window.
    list.SetTopIndex(0);
    list.MoveWindow(10, 10, 100, 9 * h);
    EXPECT_EQ(5, list.ItemHitTest(CPoint(5, 8 * h), bOutside));
    EXPECT_FALSE(bOutside);

    // Several columns: below the last item of a column, that item.
    COwnHitList columns;
    ASSERT_TRUE(columns.CreateEx(0, "LISTBOX", nullptr,
                                 WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_MULTICOLUMN,
                                 CRect(120, 10, 320, 10 + 2 * h + h / 2), &host, 2));
    columns.SendMessage(LB_SETCOLUMNWIDTH, 60);
    for (const char* s : { "a", "b", "c", "d", "e" })
        columns.AddString(s);
    CRect rect1;
    columns.GetItemRect(1, &rect1);
    EXPECT_EQ(1, columns.ItemHitTest(CPoint(rect1.left + 5, rect1.bottom + h / 4), bOutside));
    EXPECT_EQ(2, columns.ItemHitTest(CPoint(60 + 5, 5), bOutside));
    host.DestroyWindow();
}

} // namespace
