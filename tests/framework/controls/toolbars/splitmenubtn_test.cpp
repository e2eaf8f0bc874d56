// Split buttons (press and release matrix, vertical bars, the arrow's
// image), menu buttons (mnemonic, size, dropping) and the menu-template
// walkers.
#include "tests/framework/controls/toolbars/toolbar_fixture.h"
#include "framework/controls/toolbars/TWKTBMenuBtn.h"
#include "framework/controls/toolbars/TWKTwoPartBtn.h"
#include "framework/frames/TWKAuxData.h"
#include "tests/framework/frames/picture_fixture.h"

using namespace vt;

namespace {

// Keeps the toolbar notifications it gets: code, command, a, b.
class CNotifySink : public CWnd
{
public:
    std::vector<TWKTBNotify> seen;
    BOOL CreateTop() { return CreateEx(0, AfxRegisterWndClass(0), "Sink", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr); }

protected:
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) override
    {
        seen.push_back(*reinterpret_cast<const TWKTBNotify*>(lParam));
        *pResult = 0;
        return TRUE;
    }
};

// A: arrow shows C and sends D; B: a checkbox whose arrow sends its image
// command C; E: a drop-down arrow.
const TWKBtnMapEntry kSplitMap[] = {
    { BUTTON_CLASS(TWKTwoPartBtn), ID_TWK_TEST_A, 0, { ID_TWK_TEST_C, ID_TWK_TEST_D } },
    { BUTTON_CLASS(TWKTwoPartBtn), ID_TWK_TEST_B, TBBS_CHECKBOX, { ID_TWK_TEST_C, 0 } },
    { BUTTON_CLASS(TWKTwoPartBtn), ID_TWK_TEST_E, TBSTYLE_DROPDOWN, { ID_TWK_TEST_D, 0 } },
    { nullptr, 0, 0, {} },
};

struct SplitTest : ::testing::Test {
    ToolBarFrame frame;
    TWKCustomToolBar* pBar = nullptr;
    CNotifySink sink;

    void SetUp() override
    {
        ASSERT_TRUE(frame.p);
        pBar = frame.NewBar(0xE800);
        ASSERT_TRUE(pBar);
        pBar->SetButtonMap(kSplitMap);
        ASSERT_TRUE(pBar->LoadToolBar(IDR_TWK_TEST_TOOLBAR));   // A B | C D E
        ASSERT_TRUE(sink.CreateTop());
        pBar->SetOwner(&sink);
        frame.p->RecalcLayout();
    }
    void TearDown() override
    {
        if (sink.m_hWnd)
            sink.DestroyWindow();
    }
    TWKTwoPartBtn* Split(int i) { return static_cast<TWKTwoPartBtn*>(pBar->GetButton(i)); }
};

TEST_F(SplitTest, MeasuresWithItsArrowOnlyWhenHorizontal)
{
    TWKTwoPartBtn* pA = Split(0);
    ASSERT_EQ(TWK_BTN_TWOPART, pA->m_nType);
    int bw = pBar->GetButtonWidth();
    EXPECT_EQ(bw + 14, pA->m_cx);
    EXPECT_EQ(pBar->GetButtonHeight(), pA->m_cy);
    EXPECT_GE(pBar->m_nMaxBtnWidth, bw + 14);
    EXPECT_EQ((UINT)ID_TWK_TEST_D, pA->m_nArrowID);
    EXPECT_EQ((UINT)ID_TWK_TEST_C, Split(1)->m_nArrowID);   // p1 0: the arrow sends p0
    EXPECT_EQ(2, pA->m_nArrowImage);

    // Docked vertically it is a plain button: one width, a press anywhere on
    // it is the main part.
    pA->SetMode(TRUE);
    EXPECT_EQ(bw, pA->m_cx);
    pA->SetPos(0, 0);
    EXPECT_TRUE(pA->LButtonDown(bw - 2, 5));
    EXPECT_EQ((UINT)ID_TWK_TEST_A, pA->LButtonUp(bw - 2, 5));
    pA->SetMode(FALSE);
    EXPECT_EQ(bw + 14, pA->m_cx);
}

TEST_F(SplitTest, PressAndReleaseMatrix)
{
    enum Where { Main, Arrow, Outside };
    struct Case {
        int nIndex;
        Where press, release;
        UINT nCmd;
    } cases[] = {
        { 0, Main, Main, ID_TWK_TEST_A },
        { 0, Main, Arrow, 0 },      // a press on the main part released on the arrow
        { 0, Main, Outside, 0 },
        { 0, Arrow, Arrow, ID_TWK_TEST_D },
        { 0, Arrow, Main, 0 },
        { 0, Arrow, Outside, 0 },   // a press on the arrow released outside it
        { 1, Arrow, Arrow, ID_TWK_TEST_C },
    };
    for (const Case& c : cases) {
        TWKTwoPartBtn* pBtn = Split(c.nIndex);
        CRect rect;
        pBtn->GetRect(&rect);
        int bw = pBar->GetButtonWidth();
        auto at = [&](Where w) {
            return w == Main ? CPoint(rect.left + bw / 2, rect.top + 5)
                             : w == Arrow ? CPoint(rect.left + bw + 5, rect.top + 5) : CPoint(rect.right + 30, rect.top + 5);
        };
        SCOPED_TRACE(testing::Message() << c.nIndex << " " << c.press << " -> " << c.release);
        CPoint p = at(c.press), r = at(c.release);
        ASSERT_TRUE(pBtn->LButtonDown(p.x, p.y));
        EXPECT_EQ(c.press == Arrow, !!(pBtn->GetStyle() & TWK_TBBS_ARROWPRESSED));
        EXPECT_EQ(c.press == Main, !!(pBtn->GetStyle() & TBBS_PRESSED));
        pBtn->MouseMove(r.x, r.y);
        EXPECT_EQ(c.press == Arrow && c.release == Arrow, !!(pBtn->GetStyle() & TWK_TBBS_ARROWPRESSED));
        EXPECT_EQ(c.press == Main && c.release == Main, !!(pBtn->GetStyle() & TBBS_PRESSED));
        EXPECT_EQ(c.nCmd, pBtn->LButtonUp(r.x, r.y));
        EXPECT_EQ(0u, pBtn->GetStyle() & (TBBS_PRESSED | TWK_TBBS_ARROWPRESSED | TWK_TBBS_ARROWTRACKING));
    }
    EXPECT_TRUE(sink.seen.empty());
}

TEST_F(SplitTest, ThroughTheToolBarTheArrowPostsItsCommand)
{
    // The arrow of A sends D; make it B's command so the frame records it.
    Split(0)->m_nArrowID = ID_TWK_TEST_B;
    CRect rect;
    pBar->GetItemRect(0, &rect);
    CPoint pt(rect.left + pBar->GetButtonWidth() + 5, rect.CenterPoint().y);
    pBar->SetOwner(frame.p);
    Send(pBar, WM_LBUTTONDOWN, pt, MK_LBUTTON);
    Send(pBar, WM_LBUTTONUP, pt);
    PumpMessages();
    EXPECT_EQ(std::vector<UINT>{ ID_TWK_TEST_B }, frame.p->m_commands);
}

TEST_F(SplitTest, DropDownArrowNotifiesAndSendsNoCommand)
{
    int nE = pBar->CommandToIndex(ID_TWK_TEST_E);
    TWKTwoPartBtn* pE = Split(nE);
    CRect rect;
    pE->GetRect(&rect);
    EXPECT_FALSE(pE->LButtonDown(rect.left + pBar->GetButtonWidth() + 5, rect.top + 5));
    ASSERT_EQ(1u, sink.seen.size());
    EXPECT_EQ((UINT)TBN_DROPDOWN, sink.seen[0].hdr.code);
    EXPECT_EQ(ID_TWK_TEST_E, sink.seen[0].iItem);
    EXPECT_EQ(nE, sink.seen[0].nIndex);
    EXPECT_EQ(0u, pE->GetStyle() & (TBBS_PRESSED | TWK_TBBS_ARROWPRESSED | TWK_TBBS_ARROWTRACKING));
    // Its main part is an ordinary press.
    EXPECT_TRUE(pE->LButtonDown(rect.left + 3, rect.top + 5));
    EXPECT_EQ((UINT)ID_TWK_TEST_E, pE->LButtonUp(rect.left + 3, rect.top + 5));
}

TEST_F(SplitTest, CheckboxTogglesOnlyItself)
{
    TWKCustomToolBar* pOther = frame.NewBar(0xE801);
    ASSERT_TRUE(pOther);
    pOther->SetButtonMap(kSplitMap);
    const UINT ids[] = { ID_TWK_TEST_B };
    pOther->SetButtons(ids, 1);
    TWKStdBtn* pB = pBar->GetButton(1);
    CRect rect;
    pB->GetRect(&rect);
    ASSERT_TRUE(pB->LButtonDown(rect.left + 3, rect.top + 3));
    EXPECT_EQ((UINT)ID_TWK_TEST_B, pB->LButtonUp(rect.left + 3, rect.top + 3));
    EXPECT_TRUE(pB->GetStyle() & TBBS_CHECKED);
    EXPECT_FALSE(pOther->GetButtonStyle(0) & TBBS_CHECKED);
    ASSERT_TRUE(pB->LButtonDown(rect.left + 3, rect.top + 3));
    pB->LButtonUp(rect.left + 3, rect.top + 3);
    EXPECT_FALSE(pB->GetStyle() & TBBS_CHECKED);
}

TEST_F(SplitTest, ArrowShowsTheLeftPartOfItsCommandsImage)
{
    TWKTwoPartBtn* pA = Split(0);
    Picture pic(60, 30);
    TWKBtnDrawData data;
    pA->SetPos(0, 0);
    ASSERT_TRUE(data.BeginPaint(&pic.dc, pBar->m_nMaxBtnWidth, pBar));
    pA->Paint(&pic.dc, data);
    data.EndPaint();
    // Image blocks lie in columns 3 to 11 of each 16-pixel image: A red, C blue.
    int bw = pBar->GetButtonWidth(), imgW = pBar->GetImageWidth();
    int ixMain = (bw - imgW - 1) / 2;
    EXPECT_EQ(std::make_pair(ixMain + 3, ixMain + 11), pic.Columns(RGB(255, 0, 0)));
    int wArrow = imgW + 15 - bw;
    int ixArrow = bw - 1 + (15 - wArrow - 1) / 2;
    EXPECT_EQ(std::make_pair(ixArrow + 3, ixArrow + wArrow - 1), pic.Columns(RGB(0, 0, 255)));
    EXPECT_EQ(pic.cx, pic.Columns(RGB(255, 255, 0)).first);   // not the arrow command's image

    // Vertical: exactly the plain button.
    pA->SetMode(TRUE);
    Picture vert(60, 30), plain(60, 30);
    TWKStdBtn plainBtn;
    plainBtn.m_nID = ID_TWK_TEST_A;
    plainBtn.SetToolBar(pBar);
    plainBtn.SetPos(0, 0);
    ASSERT_TRUE(data.BeginPaint(&vert.dc, pBar->m_nMaxBtnWidth, pBar));
    pA->Paint(&vert.dc, data);
    plainBtn.Paint(&plain.dc, data);
    data.EndPaint();
    for (int y = 0; y < 30; y++)
        for (int x = 0; x < 60; x++)
            ASSERT_EQ(plain.At(x, y), vert.At(x, y)) << x << "," << y;
}

// ---------------------------------------------------------------------------
// Menu buttons

struct MenuBtnTest : SplitTest {
    HMENU hMenu = nullptr;
    TWKBtnMapEntry map[3] = {};
    void SetUp() override
    {
        SplitTest::SetUp();
        hMenu = ::CreatePopupMenu();
        map[0] = { BUTTON_CLASS(TWKTBMenuBtn), ID_TWK_TEST_A, 0, { (UINT_PTR)hMenu, 7, (UINT_PTR) "&File", 9 } };
        map[1] = { BUTTON_CLASS(TWKTBMenuBtn), ID_TWK_TEST_B, 0, { 0, 0, (UINT_PTR) "Plain", 0 } };
        pBar->SetButtonMap(map);
        const UINT ids[] = { ID_TWK_TEST_A, ID_TWK_TEST_B };
        pBar->SetButtons(ids, 2);
    }
    void TearDown() override
    {
        SplitTest::TearDown();
        ::DestroyMenu(hMenu);
    }
};

TEST_F(MenuBtnTest, MeasuresItsTextAndHasItsMnemonic)
{
    auto* pBtn = static_cast<TWKTBMenuBtn*>(pBar->GetButton(0));
    ASSERT_EQ(TWK_BTN_TBMENU, pBtn->m_nType);
    EXPECT_EQ('F', pBtn->m_nMnemonic);
    EXPECT_EQ(0, static_cast<TWKTBMenuBtn*>(pBar->GetButton(1))->m_nMnemonic);
    EXPECT_EQ(0, pBtn->m_nImage);
    CClientDC dc(nullptr);
    HGDIOBJ hOld = dc.SelectObject((HGDIOBJ)pBar->GetMenuFont());
    CRect rect(0, 0, 0, 0);
    dc.DrawText("&File", 5, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
    dc.SelectObject(hOld);
    EXPECT_EQ(rect.Width() + 10, pBtn->m_cx);
    EXPECT_EQ(rect.Height() + 6, pBtn->m_cy);
    EXPECT_GE(pBar->m_nMaxBtnWidth, pBtn->m_cx);

    // The character after the first '&', upper-cased through unsigned char;
    // a lead byte of a double-byte character gives none.
    struct Case {
        const char* text;
        int nMnemonic;
    } cases[] = { { "e&dit", 'D' }, { "end&", 0 }, { "&&x", '&' }, { "none", 0 }, { "&\xE9t\xE9", 0xE9 } };
    for (const Case& c : cases) {
        pBtn->m_strText = c.text;
        pBtn->UpdateMnemonic();
        int nWant = c.nMnemonic == 0xE9 ? (::IsDBCSLeadByte(0xE9) ? 0 : std::toupper(0xE9)) : c.nMnemonic;
        EXPECT_EQ(nWant, pBtn->m_nMnemonic) << c.text;
    }
}

TEST_F(MenuBtnTest, LeadByteAfterAmpersandGivesNoMnemonic)
{
    // In a double-byte code page the byte after '&' starts a character.
    CPINFO info;
    BYTE lead = 0;
    if (::GetCPInfo(CP_ACP, &info))
        for (int i = 0; i < MAX_LEADBYTES && info.LeadByte[i]; i += 2)
            lead = info.LeadByte[i];
    if (!lead)
        GTEST_SKIP() << "the ANSI code page has no lead bytes";
    auto* pBtn = static_cast<TWKTBMenuBtn*>(pBar->GetButton(0));
    char text[] = { '&', (char)lead, 'A', 0 };
    pBtn->m_strText = text;
    pBtn->UpdateMnemonic();
    EXPECT_EQ(0, pBtn->m_nMnemonic);
}

TEST_F(MenuBtnTest, PressDropsTheMenuUntracked)
{
    CPoint pt = Centre(pBar, 0);
    Send(pBar, WM_LBUTTONDOWN, pt, MK_LBUTTON);
    EXPECT_EQ(-1, pBar->GetCurrentIndex());
    EXPECT_NE(pBar->m_hWnd, ::GetCapture());
    EXPECT_EQ(0, pBar->m_nDroppedBtn);
    ASSERT_EQ(1u, sink.seen.size());
    EXPECT_EQ((UINT)TWK_TBN_DROPMENU, sink.seen[0].hdr.code);
    EXPECT_EQ((int)(INT_PTR)hMenu, sink.seen[0].a);
    EXPECT_EQ(7, sink.seen[0].b);
    EXPECT_TRUE(pBar->GetButtonStyle(0) & TBBS_PRESSED);
    // A disabled one drops nothing.
    pBar->GetButton(1)->SetStyle(TBBS_DISABLED);
    EXPECT_FALSE(pBar->GetButton(1)->LButtonDown(0, 0));
    EXPECT_EQ(1u, sink.seen.size());
}

// ---------------------------------------------------------------------------
// Menu templates

struct Template {
    const WORD* pFirst = nullptr;
    Template()
    {
        HRSRC hRes = ::FindResourceA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_TWK_TEST_MENU), (LPCSTR)RT_MENU);
        HGLOBAL hGlobal = hRes ? ::LoadResource(AfxGetResourceHandle(), hRes) : nullptr;
        // Past the header of two words.
        if (hGlobal)
            pFirst = static_cast<const WORD*>(::LockResource(hGlobal)) + 2;
    }
};

std::wstring Text(const WORD* pItem)
{
    return TWKMenuTemplateItemText(pItem);
}

TEST(MenuTemplate, FindItemSkipsSubLevels)
{
    Template t;
    ASSERT_TRUE(t.pFirst);
    struct Case {
        int nIndex;
        const wchar_t* text;
    } cases[] = { { 0, L"&File" }, { 1, L"&Edit" }, { 2, L"&Help" }, { 3, nullptr } };
    for (const Case& c : cases) {
        const WORD* p = t.pFirst;
        EXPECT_EQ(c.text != nullptr, !!TWKMenuTemplateFindItem(&p, c.nIndex)) << c.nIndex;
        if (c.text) {
            EXPECT_EQ(c.text, Text(p));
        }
    }
}

TEST(MenuTemplate, SkipPopupAndLoadPopup)
{
    Template t;
    ASSERT_TRUE(t.pFirst);
    // Past the "&File" item itself: its sub-level follows.
    const WORD* pSub = reinterpret_cast<const WORD*>(TWKMenuTemplateItemText(t.pFirst) + 6);
    const WORD* p = pSub;
    TWKMenuTemplateSkipPopup(&p);
    EXPECT_EQ(L"&Edit", Text(p));

    p = pSub;
    HMENU hMenu = TWKMenuTemplateLoadPopup(&p);
    ASSERT_TRUE(hMenu);
    EXPECT_EQ(L"&Edit", Text(p));
    ASSERT_EQ(4, ::GetMenuItemCount(hMenu));
    char text[32];
    ::GetMenuStringA(hMenu, 0, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("&Open", text);
    EXPECT_EQ((UINT)ID_TWK_TEST_A, ::GetMenuItemID(hMenu, 0));
    // An item of no flags, id and text is a separator.
    EXPECT_TRUE(::GetMenuState(hMenu, 1, MF_BYPOSITION) & MF_SEPARATOR);
    HMENU hRecent = ::GetSubMenu(hMenu, 2);
    ASSERT_TRUE(hRecent);
    EXPECT_EQ((UINT)ID_TWK_TEST_B, ::GetMenuItemID(hRecent, 0));
    ::GetMenuStringA(hMenu, 3, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ("E&xit", text);
    ::DestroyMenu(hMenu);
}

} // namespace
