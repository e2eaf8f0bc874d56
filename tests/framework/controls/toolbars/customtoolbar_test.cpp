// The toolbar in a real main frame: loading, removing and adding buttons,
// command UI, pressing through sent mouse messages.
#include "tests/framework/controls/toolbars/toolbar_fixture.h"

using namespace vt;

namespace {

TEST(CustomToolBar, LoadsButtonsAndImagesFromAToolBarResource)
{
    ToolBarFrame frame;
    TWKCustomToolBar* pBar = frame.NewBar(0xE800);
    ASSERT_TRUE(pBar);
    ASSERT_TRUE(pBar->LoadToolBar(IDR_TWK_TEST_TOOLBAR));
    std::ostringstream want;
    want << ID_TWK_TEST_A << " " << ID_TWK_TEST_B << " | " << ID_TWK_TEST_C << " " << ID_TWK_TEST_D << " "
         << ID_TWK_TEST_E;
    EXPECT_EQ(want.str(), Buttons(pBar));
    // One image per command, in resource order without the separator.
    EXPECT_EQ(0, pBar->GetButton(0)->m_nImage);
    EXPECT_EQ(2, pBar->GetButton(3)->m_nImage);
    EXPECT_EQ(4, pBar->GetButton(5)->m_nImage);
    EXPECT_EQ(3, pBar->CommandToIndex(ID_TWK_TEST_C));
    EXPECT_EQ(-1, pBar->CommandToIndex(ID_TWK_TEST_F));
    // 16 x 15 images: 23 x 22 buttons, separators (16 + 8) / 3 wide.
    EXPECT_EQ(CSize(23, 22), CSize(pBar->GetButton(0)->m_cx, pBar->GetButton(0)->m_cy));
    EXPECT_EQ(8, pBar->GetButton(2)->m_cx);
    EXPECT_EQ(23, pBar->m_nMaxBtnWidth);

    // A resource whose count promises more ids than it holds is refused.
    TWKCustomToolBar* pCut = frame.NewBar(0xE801);
    ASSERT_TRUE(pCut);
    EXPECT_FALSE(pCut->LoadToolBar(IDR_TWK_TEST_TOOLBAR_CUT));
    EXPECT_EQ(0, pCut->GetButtonCount());
}

TEST(CustomToolBar, RemoveButtonLeavesNoDanglingSeparator)
{
    struct Case {
        const char* before;
        int nIndex;
        const char* after;
        BOOL bResult;
    } cases[] = {
        // The only button between two separators takes one of them along.
        { "1 | 2 | 3", 2, "1 | 3", TRUE },
        // A separator that became first goes.
        { "1 | 2 3", 0, "2 3", TRUE },
        // A separator that became last goes.
        { "1 2 | 3", 3, "1 2", TRUE },
        { "1 2 3", 1, "1 3", TRUE },
        { "1 | 2", 1, "1 2", TRUE },
        { "1", 0, "", FALSE },
        { "1 2", 2, "1 2", FALSE },
        { "1 2", -1, "1 2", FALSE },
    };
    ToolBarFrame frame;
    TWKCustomToolBar* pBar = frame.NewBar(0xE800);
    ASSERT_TRUE(pBar);
    for (const Case& c : cases) {
        std::vector<UINT> ids = Ids(c.before);
        pBar->SetButtons(ids.data(), (int)ids.size());
        EXPECT_EQ(c.bResult, pBar->RemoveButton(c.nIndex, FALSE)) << c.before << " at " << c.nIndex;
        EXPECT_EQ(c.after, Buttons(pBar)) << c.before << " at " << c.nIndex;
    }
}

TEST(CustomToolBar, LastButtonOfAUserToolBarDestroysIt)
{
    ToolBarFrame frame;
    const UINT one[] = { 1 };
    TWKCustomToolBar* pFixed = frame.NewBar(0xE805);
    TWKCustomToolBar* pUser = frame.NewBar(TWK_IDW_FIRSTUSERBAR);
    ASSERT_TRUE(pFixed && pUser);
    pFixed->SetButtons(one, 1);
    pUser->SetButtons(one, 1);
    HWND hUser = pUser->m_hWnd;
    EXPECT_FALSE(pUser->RemoveButton(0, FALSE));
    EXPECT_FALSE(::IsWindow(hUser));
    EXPECT_FALSE(frame.p->GetControlBar(TWK_IDW_FIRSTUSERBAR));
    EXPECT_FALSE(pFixed->RemoveButton(0, FALSE));
    EXPECT_TRUE(::IsWindow(pFixed->m_hWnd));
    EXPECT_EQ(0, pFixed->GetButtonCount());
}

TEST(CustomToolBar, AddButtonsMessage)
{
    ToolBarFrame frame;
    TWKCustomToolBar* pBar = frame.NewBar(0xE800);
    ASSERT_TRUE(pBar);
    const UINT ids[] = { 1, 2 };
    pBar->SetButtons(ids, 2);
    TBBUTTON buttons[3] = {};
    EXPECT_TRUE(pBar->SendMessage(TB_ADDBUTTONS, 0, (LPARAM)buttons));
    EXPECT_EQ("1 2", Buttons(pBar));
    buttons[0].idCommand = 0;
    buttons[1].idCommand = 7;
    buttons[1].fsState = TBSTATE_CHECKED;
    buttons[1].fsStyle = TBSTYLE_CHECK;
    buttons[2].idCommand = 8;
    EXPECT_TRUE(pBar->SendMessage(TB_ADDBUTTONS, 3, (LPARAM)buttons));
    EXPECT_EQ("1 2 | 7 8", Buttons(pBar));
    EXPECT_TRUE(pBar->GetButtonStyle(3) & TBBS_CHECKED);
    EXPECT_TRUE(pBar->GetButtonStyle(3) & TBBS_CHECKBOX);
    EXPECT_TRUE(pBar->SendMessage(TB_DELETEBUTTON, 0));
    EXPECT_EQ("2 | 7 8", Buttons(pBar));
}

TEST(CustomToolBar, IdleUpdateDisablesButtonsWithoutHandlersUnlessTheyAskNotTo)
{
    ToolBarFrame frame;
    TWKCustomToolBar* pBar = frame.NewBar(0xE800);
    ASSERT_TRUE(pBar);
    const UINT ids[] = { ID_TWK_TEST_A, ID_TWK_TEST_B, 0, ID_TWK_TEST_C, ID_TWK_TEST_D };
    pBar->SetButtons(ids, 5);
    pBar->SetButtonStyle(4, TWK_TBBS_NOAUTODISABLE);
    frame.p->m_bCheckB = TRUE;
    pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(pBar->GetButtonStyle(0) & TBBS_DISABLED);     // handled
    EXPECT_FALSE(pBar->GetButtonStyle(1) & TBBS_DISABLED);
    EXPECT_EQ(TBBS_CHECKBOX | TBBS_CHECKED, pBar->GetButtonStyle(1) & (TBBS_CHECKBOX | TBBS_CHECKED));
    EXPECT_TRUE(pBar->GetButtonStyle(3) & TBBS_DISABLED);      // no handler
    EXPECT_FALSE(pBar->GetButtonStyle(4) & TBBS_DISABLED);     // no handler, but never auto-disabled
    EXPECT_FALSE(pBar->GetButtonStyle(2) & TBBS_DISABLED);     // separators are left alone
    frame.p->m_bCheckB = FALSE;
    pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(pBar->GetButtonStyle(1) & TBBS_CHECKED);
}

struct PressTest : ::testing::Test {
    ToolBarFrame frame;
    TWKCustomToolBar* pBar = nullptr;
    void SetUp() override
    {
        pBar = frame.NewBar(0xE800);
        ASSERT_TRUE(pBar);
        const UINT ids[] = { ID_TWK_TEST_A, 0, ID_TWK_TEST_B, ID_TWK_TEST_C };
        pBar->SetButtons(ids, 4);
        frame.p->RecalcLayout();
        frame.p->m_messageStrings.clear();
    }
};

TEST_F(PressTest, PressAndReleasePostsTheCommandAndShowsItsText)
{
    CPoint pt = Centre(pBar, 0);
    Send(pBar, WM_LBUTTONDOWN, pt, MK_LBUTTON);
    EXPECT_EQ(pBar->m_hWnd, ::GetCapture());
    EXPECT_EQ(0, pBar->GetCurrentIndex());
    EXPECT_TRUE(pBar->GetButtonStyle(0) & TBBS_PRESSED);
    Send(pBar, WM_LBUTTONUP, pt);
    EXPECT_NE(pBar->m_hWnd, ::GetCapture());
    EXPECT_EQ(-1, pBar->GetCurrentIndex());
    EXPECT_FALSE(pBar->GetButtonStyle(0) & TBBS_PRESSED);
    EXPECT_TRUE(frame.p->m_commands.empty());   // posted, not sent
    PumpMessages();
    EXPECT_EQ(std::vector<UINT>{ ID_TWK_TEST_A }, frame.p->m_commands);
    ASSERT_GE(frame.p->m_messageStrings.size(), 2u);
    EXPECT_EQ((WPARAM)ID_TWK_TEST_A, frame.p->m_messageStrings[0]);
    EXPECT_EQ((WPARAM)AFX_IDS_IDLEMESSAGE, frame.p->m_messageStrings[1]);
}

TEST_F(PressTest, ReleaseOutsideSendsNothing)
{
    Send(pBar, WM_LBUTTONDOWN, Centre(pBar, 0), MK_LBUTTON);
    Send(pBar, WM_MOUSEMOVE, CPoint(-20, -20), MK_LBUTTON);
    EXPECT_FALSE(pBar->GetButtonStyle(0) & TBBS_PRESSED);
    Send(pBar, WM_MOUSEMOVE, Centre(pBar, 0), MK_LBUTTON);
    EXPECT_TRUE(pBar->GetButtonStyle(0) & TBBS_PRESSED);
    Send(pBar, WM_LBUTTONUP, CPoint(-20, -20));
    PumpMessages();
    EXPECT_TRUE(frame.p->m_commands.empty());
}

TEST_F(PressTest, PressWithoutAHandlerDoesNothing)
{
    // C has no handler: the update before the press disables it.
    Send(pBar, WM_LBUTTONDOWN, Centre(pBar, 3), MK_LBUTTON);
    EXPECT_EQ(-1, pBar->GetCurrentIndex());
    EXPECT_TRUE(pBar->GetButtonStyle(3) & TBBS_DISABLED);
    EXPECT_NE(pBar->m_hWnd, ::GetCapture());
    Send(pBar, WM_LBUTTONUP, Centre(pBar, 3));
    PumpMessages();
    EXPECT_TRUE(frame.p->m_commands.empty());
}

TEST_F(PressTest, PressWhoseCaptureIsTakenIsCancelled)
{
    Send(pBar, WM_LBUTTONDOWN, Centre(pBar, 2), MK_LBUTTON);
    ASSERT_EQ(2, pBar->GetCurrentIndex());
    frame.p->SetCapture();
    Send(pBar, WM_MOUSEMOVE, Centre(pBar, 2), MK_LBUTTON);
    ::ReleaseCapture();
    EXPECT_EQ(-1, pBar->GetCurrentIndex());
    EXPECT_FALSE(pBar->GetButtonStyle(2) & TBBS_PRESSED);
    ASSERT_FALSE(frame.p->m_messageStrings.empty());
    EXPECT_EQ((WPARAM)AFX_IDS_IDLEMESSAGE, frame.p->m_messageStrings.back());
    Send(pBar, WM_LBUTTONUP, Centre(pBar, 2));
    PumpMessages();
    EXPECT_TRUE(frame.p->m_commands.empty());
}

TEST_F(PressTest, CancelModeEndsAPress)
{
    Send(pBar, WM_LBUTTONDOWN, Centre(pBar, 2), MK_LBUTTON);
    pBar->SendMessage(WM_CANCELMODE);
    EXPECT_EQ(-1, pBar->GetCurrentIndex());
    EXPECT_NE(pBar->m_hWnd, ::GetCapture());
    EXPECT_FALSE(pBar->GetButtonStyle(2) & TBBS_PRESSED);
}

TEST_F(PressTest, DoubleClickActsAsASecondPress)
{
    CPoint pt = Centre(pBar, 2);
    Send(pBar, WM_LBUTTONDOWN, pt, MK_LBUTTON);
    Send(pBar, WM_LBUTTONUP, pt);
    Send(pBar, WM_LBUTTONDBLCLK, pt, MK_LBUTTON);
    EXPECT_EQ(2, pBar->GetCurrentIndex());
    Send(pBar, WM_LBUTTONUP, pt);
    PumpMessages();
    EXPECT_EQ((std::vector<UINT>{ ID_TWK_TEST_B, ID_TWK_TEST_B }), frame.p->m_commands);
}

TEST(CustomToolBar, ConfigurationModePressStartsNoCommand)
{
    // With a manager a press in configuration mode (or with Alt) is a drag,
    // which moves nothing yet; without one it is an ordinary press.
    ToolBarFrame managed(TRUE);
    TWKCustomToolBar* pManaged = managed.NewBar(0xE800);
    ASSERT_TRUE(pManaged);
    const UINT ids[] = { ID_TWK_TEST_A };
    pManaged->SetButtons(ids, 1);
    managed.p->RecalcLayout();
    pManaged->SetConfigMode(TRUE);
    Send(pManaged, WM_LBUTTONDOWN, Centre(pManaged, 0), MK_LBUTTON);
    EXPECT_EQ(-1, pManaged->GetCurrentIndex());
    Send(pManaged, WM_LBUTTONUP, Centre(pManaged, 0));
    EXPECT_EQ(MA_NOACTIVATE, pManaged->SendMessage(WM_MOUSEACTIVATE, (WPARAM)managed.p->m_hWnd,
                                                   MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)));
    PumpMessages();
    EXPECT_TRUE(managed.p->m_commands.empty());
}

TEST(CustomToolBar, HitTestFindsButtonsRowByRow)
{
    ToolBarFrame frame(FALSE, 200, 400);
    TWKCustomToolBar* pBar = frame.NewBar(0xE800);
    ASSERT_TRUE(pBar);
    // Ten buttons in two groups wrap in a narrow frame.
    const UINT ids[] = { 1, 2, 3, 4, 5, 0, 6, 7, 8, 9, 10 };
    pBar->SetButtons(ids, 11);
    CSize size = pBar->CalcDynamicLayout(5 * 23 + 20, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    ASSERT_GT(size.cy, 2 * 22);
    ASSERT_TRUE(pBar->GetButtonStyle(5) & TBBS_WRAPPED);
    CRect rect;
    EXPECT_EQ(0, pBar->HitTest(Centre(pBar, 0).x, Centre(pBar, 0).y, &rect));
    pBar->GetItemRect(0, &rect);
    EXPECT_EQ(8, pBar->HitTest(Centre(pBar, 8).x, Centre(pBar, 8).y, nullptr));
    // Right of the first row's last button, and on the separator.
    EXPECT_EQ(-1, pBar->HitTest(Centre(pBar, 4).x + 40, Centre(pBar, 4).y, nullptr));
    EXPECT_EQ(-1, pBar->HitTest(Centre(pBar, 5).x, Centre(pBar, 5).y, nullptr));
    EXPECT_EQ(-1, pBar->HitTest(0, -5, nullptr));
    // A hidden button is not hit: its place is nobody's until the next layout.
    pBar->HideButton(8, TRUE);
    EXPECT_EQ(-1, pBar->HitTest(Centre(pBar, 8).x, Centre(pBar, 8).y, nullptr));
}

} // namespace

namespace {

// A button class whose create function fails as an exhausted heap would.
TWKStdBtn* ThrowingCreate()
{
    AfxThrowMemoryException();
}
const TWKBtnClass kThrowingClass = { &ThrowingCreate };

// A button that remembers its map parameters.
struct ParamBtn : TWKStdBtn {
    UINT_PTR m_params[5] = {};
    void Init(TWKCustomToolBar* pBar, const UINT_PTR* pParams) override
    {
        std::copy(pParams, pParams + 5, m_params);
        TWKStdBtn::Init(pBar, pParams);
    }
    static TWKStdBtn* Create() { return new ParamBtn; }
};
const TWKBtnClass kParamClass = { &ParamBtn::Create };

TEST(CustomToolBar, ButtonMapsChooseTheButtonClass)
{
    const TWKBtnMapEntry map[] = {
        { &kParamClass, 11, TWK_TBBS_VCENTER, { 1, 2, 3, 4, 5 } },
        { &kThrowingClass, 12, TWK_TBBS_VCENTER, {} },
        { &kParamClass, 13, 0, { 7 } },
        { &kParamClass, 13, TBBS_CHECKBOX, { 8 } },   // the last entry for an id counts
        { nullptr, 0, 0, {} },
    };
    ToolBarFrame frame;
    TWKCustomToolBar* pBar = frame.NewBar(0xE800);
    ASSERT_TRUE(pBar);
    pBar->SetButtonMap(map);
    auto* pMap2 = new TWKBtnMapEntry[2]{ { &kParamClass, 14, 0, { 9 } }, { nullptr, 0, 0, {} } };
    pBar->m_pButtonMap2 = pMap2;   // owned by the bar
    const UINT ids[] = { 11, 12, 13, 14, 15, 0 };
    pBar->SetButtons(ids, 6);
    auto* p11 = dynamic_cast<ParamBtn*>(pBar->GetButton(0));
    ASSERT_TRUE(p11);
    EXPECT_EQ((DWORD)TWK_TBBS_VCENTER, p11->GetStyle());
    EXPECT_EQ(5u, p11->m_params[4]);
    // The class could not make a button: a plain one with the command, no map style.
    TWKStdBtn* p12 = pBar->GetButton(1);
    EXPECT_FALSE(dynamic_cast<ParamBtn*>(p12));
    EXPECT_EQ(12u, p12->m_nID);
    EXPECT_EQ(0u, p12->GetStyle());
    EXPECT_EQ(pBar, p12->m_pToolBar);
    auto* p13 = dynamic_cast<ParamBtn*>(pBar->GetButton(2));
    ASSERT_TRUE(p13);
    EXPECT_EQ(8u, p13->m_params[0]);
    EXPECT_EQ((DWORD)TBBS_CHECKBOX, p13->GetStyle());
    auto* p14 = dynamic_cast<ParamBtn*>(pBar->GetButton(3));
    ASSERT_TRUE(p14);
    EXPECT_EQ(9u, p14->m_params[0]);
    EXPECT_FALSE(dynamic_cast<ParamBtn*>(pBar->GetButton(4)));
    EXPECT_EQ(15u, pBar->GetButton(4)->m_nID);

    // With a manager its maps count, not the bar's.
    ToolBarFrame managed(TRUE);
    TWKCustomToolBar* pManaged = managed.NewBar(0xE800);
    ASSERT_TRUE(pManaged);
    pManaged->SetButtonMap(map);
    const TWKBtnMapEntry map2[] = { { &kParamClass, 15, 0, { 6 } }, { nullptr, 0, 0, {} } };
    managed.pMgr->SetButtonMap(map2);
    pManaged->SetButtons(ids, 6);
    EXPECT_FALSE(dynamic_cast<ParamBtn*>(pManaged->GetButton(0)));
    EXPECT_TRUE(dynamic_cast<ParamBtn*>(pManaged->GetButton(4)));
}

TEST(CustomToolBar, ToolTipsNameTheCommandUnderThePoint)
{
    ToolBarFrame frame;
    TWKCustomToolBar* pBar = frame.NewBar(0xE800);
    ASSERT_TRUE(pBar);
    const UINT ids[] = { ID_TWK_TEST_A, 0, ID_TWK_TEST_B };
    pBar->SetButtons(ids, 3);
    frame.p->RecalcLayout();
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    EXPECT_EQ((INT_PTR)ID_TWK_TEST_B, pBar->OnToolHitTest(Centre(pBar, 2), &ti));
    EXPECT_EQ(pBar->m_hWnd, ti.hwnd);
    EXPECT_EQ((UINT_PTR)ID_TWK_TEST_B, ti.uId);
    EXPECT_EQ(LPSTR_TEXTCALLBACK, ti.lpszText);
    CRect rect;
    pBar->GetItemRect(2, &rect);
    EXPECT_EQ(rect, CRect(ti.rect));
    EXPECT_EQ(-1, pBar->OnToolHitTest(Centre(pBar, 1), &ti));
    EXPECT_EQ(-1, pBar->OnToolHitTest(CPoint(-5, -5), &ti));
}

TEST(CustomToolBar, PaintsVisibleButtonsOnly)
{
    ToolBarFrame frame;
    TWKCustomToolBar* pBar = frame.NewBar(0xE800);
    ASSERT_TRUE(pBar);
    const UINT ids[] = { ID_TWK_TEST_A, ID_TWK_TEST_B };
    pBar->SetButtons(ids, 2);
    frame.p->RecalcLayout();
    // The hidden button stands where nothing else is drawn.
    pBar->HideButton(1, TRUE);
    pBar->GetButton(1)->SetPos(200, 2);
    CRect rectA;
    pBar->GetItemRect(0, &rectA);
    CClientDC dcScreen(nullptr);
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(&dcScreen));
    CBitmap bm;
    ASSERT_TRUE(bm.CreateCompatibleBitmap(&dcScreen, 300, 60));
    CBitmap* pOld = dc.SelectObject(&bm);
    const COLORREF clrMark = RGB(255, 0, 255);
    dc.FillSolidRect(0, 0, 300, 60, clrMark);
    pBar->DoPaint(&dc);
    EXPECT_EQ(clrMark, dc.GetPixel(210, 10));
    // The face at a button's edge (inside its border).
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), dc.GetPixel(rectA.left + 2, rectA.bottom - 3));
    dc.SelectObject(pOld);
    // Without a manager the bar made drawing data of its own.
    EXPECT_TRUE(pBar->m_pDrawData);
}

} // namespace

namespace {

TEST(CustomToolBar, SelectionAndHotIndexFollowInsertAndRemove)
{
    ToolBarFrame frame(TRUE);
    TWKCustomToolBar* pBar = frame.NewBar(0xE800, CBX_COOLLOOK);
    TWKCustomToolBar* pOther = frame.NewBar(0xE801);
    ASSERT_TRUE(pBar && pOther);
    const UINT ids[] = { 1, 2, 0, 3, 4 };
    pBar->SetButtons(ids, 5);
    pOther->SetButtons(ids, 5);
    pBar->SelectButton(3, FALSE);
    EXPECT_EQ(pBar, frame.pMgr->m_pSelectedBar);
    EXPECT_TRUE(pBar->GetButtonStyle(3) & TWK_TBBS_SELECTED);
    pBar->m_nHotBtn = 4;
    pBar->InsertButton(0, 9, FALSE, TRUE);
    EXPECT_EQ(4, pBar->GetCurrentIndex());
    EXPECT_EQ(5, pBar->m_nHotBtn);
    // Removing the button before the separator: its group's separator stays.
    pBar->RemoveButton(2, TRUE);
    EXPECT_EQ(3, pBar->GetCurrentIndex());
    EXPECT_EQ(4, pBar->m_nHotBtn);
    // Selecting on another bar clears this one's selection.
    pOther->SelectButton(0, FALSE);
    EXPECT_EQ(-1, pBar->GetCurrentIndex());
    EXPECT_FALSE(pBar->GetButtonStyle(3) & TWK_TBBS_SELECTED);
    EXPECT_EQ(pOther, frame.pMgr->m_pSelectedBar);
    // Removing the selected button clears the selection.
    pOther->RemoveButton(0, TRUE);
    EXPECT_EQ(nullptr, frame.pMgr->m_pSelectedBar);
    EXPECT_EQ(-1, pOther->GetCurrentIndex());
}

} // namespace
