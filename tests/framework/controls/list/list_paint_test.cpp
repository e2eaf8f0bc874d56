// Painting, geometry, scrolling and hit testing of the list.
#include "list_test_support.h"

using namespace listtest;

namespace {

const COLORREF TEXT = RGB(0, 0, 255);
const COLORREF CELL = RGB(0, 160, 0);
const COLORREF SELTEXT = RGB(255, 255, 0);
const COLORREF SELBK = RGB(255, 0, 0);
const COLORREF GREY = RGB(200, 0, 200);

// A one-column report list with known colours and three rows.
struct ColourFixture : ListFixture
{
    explicit ColourFixture(DWORD dwStyle = LVS_REPORT) : ListFixture(dwStyle, 200, 120)
    {
        list.AddColumn("Name", LVCFMT_LEFT, 150);
        list.SetBkColor(CELL);
        list.SetTextColor(TEXT);
        list.SetSelTextColor(SELTEXT);
        list.SetSelBkColor(SELBK);
        list.SetDisabledTextColor(GREY);
        list.InsertItem(0, "Selected row");
        list.InsertItem(1, "Plain row");
        list.RecalcLayout();
    }
    CRect Label(int row)
    {
        CRect rc;
        EXPECT_TRUE(list.GetItemRect(row, &rc, LVIR_LABEL));
        return rc;
    }
};

} // namespace

TEST(ListPaint, SelectionColoursByFocusAndState)
{
    const COLORREF menu = ::GetSysColor(COLOR_MENU);
    {
        ColourFixture f;
        f.list.SetFocus();
        ASSERT_EQ(f.list.m_hWnd, ::GetFocus());
        Snapshot s(f.list);
        EXPECT_TRUE(s.Has(f.Label(0), SELBK));
        EXPECT_TRUE(s.Has(f.Label(0), SELTEXT));
        EXPECT_FALSE(s.Has(f.Label(1), SELBK));
        EXPECT_TRUE(s.Has(f.Label(1), TEXT));
    }
    {
        // Unfocused, without "show selection always": normal colours.
        ColourFixture f;
        f.parent.SetFocus();
        Snapshot s(f.list);
        EXPECT_FALSE(s.Has(f.Label(0), SELBK));
        EXPECT_TRUE(s.Has(f.Label(0), TEXT));
        EXPECT_TRUE(s.Has(f.Label(0), CELL));
    }
    {
        // With it: menu text on the menu colour; during a label edit the selected colours.
        ColourFixture f(LVS_REPORT | LVS_SHOWSELALWAYS);
        f.parent.SetFocus();
        {
            Snapshot s(f.list);
            EXPECT_TRUE(s.Has(f.Label(0), menu));
            EXPECT_FALSE(s.Has(f.Label(0), SELBK));
        }
        f.list.SelectItem(1, TRUE);
        ASSERT_NE(nullptr, f.list.EditLabel(0, 0));
        Snapshot s(f.list);
        EXPECT_TRUE(s.Has(f.Label(1), SELBK));
        EXPECT_TRUE(s.Has(f.Label(1), SELTEXT));
        // The edited cell paints no text.
        EXPECT_TRUE(s.Has(f.Label(0), SELBK));
        EXPECT_FALSE(s.Has(f.Label(0), SELTEXT));
        EXPECT_FALSE(s.Has(f.Label(0), TEXT));
        f.list.EndLabelEdit(FALSE);
    }
    {
        // Disabled: grey text on the menu colour, selected rows included.
        ColourFixture f;
        f.list.EnableWindow(FALSE);
        Snapshot s(f.list);
        for (int row : { 0, 1 })
        {
            EXPECT_TRUE(s.Has(f.Label(row), GREY)) << row;
            EXPECT_TRUE(s.Has(f.Label(row), menu)) << row;
            EXPECT_FALSE(s.Has(f.Label(row), SELBK)) << row;
            EXPECT_FALSE(s.Has(f.Label(row), TEXT)) << row;
        }
    }
}

TEST(ListPaint, HeaderCaptionsImagesAndGridLines)
{
    ListFixture f(LVS_REPORT, 300, 120, TWKLVS_EX_HORZGRID);
    f.list.AddColumn("A caption much wider than its button", LVCFMT_LEFT, 60);
    f.list.AddColumn("", LVCFMT_LEFT, 100);
    f.list.AddColumn("Icon", LVCFMT_LEFT, 22);
    f.list.AddColumn("Icon", LVCFMT_LEFT, 60);
    f.AddRows(2);
    // A red header image.
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24, 1, 1));
    {
        CClientDC screen(&f.list);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&screen, 16, 16);
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        CBitmap* pOld = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 16, 16, RGB(255, 0, 0));
        dc.SelectObject(pOld);
        images.Add(&bitmap, (CBitmap*)nullptr);
    }
    f.list.SetImageList(&images, TWKLVSIL_HEADER);
    for (int c : { 2, 3 })
        f.list.GetColumnPtr(c)->iImage = 0;
    f.list.RecalcLayout();
    Snapshot s(f.list);
    const COLORREF btnText = ::GetSysColor(COLOR_BTNTEXT);
    // The long caption ends inside its button: nothing of it in the next one.
    EXPECT_TRUE(s.Has(CRect(6, 2, 55, 18), btnText));
    EXPECT_FALSE(s.Has(CRect(62, 2, 158, 18), btnText));
    // An image only in the button above 22 pixels.
    EXPECT_FALSE(s.Has(CRect(160, 0, 182, 20), RGB(255, 0, 0)));
    EXPECT_TRUE(s.Has(CRect(182, 0, 242, 20), RGB(255, 0, 0)));
    // A horizontal grid line at the bottom of row 0.
    CRect rcRow;
    ASSERT_TRUE(f.list.GetItemRect(0, &rcRow, LVIR_BOUNDS));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), s.At(30, rcRow.bottom - 1));
    EXPECT_NE(::GetSysColor(COLOR_BTNSHADOW), s.At(30, rcRow.bottom - 3));
}

TEST(ListPaint, SingleColumnReachesTheLongestLabel)
{
    ListFixture f(LVS_REPORT | LVS_NOLABELWRAP, 200, 120);
    f.list.AddColumn("A", LVCFMT_LEFT, 30);
    f.list.InsertItem(0, "A label longer than thirty pixels");
    f.list.RecalcLayout();
    CRect rc;
    f.list.GetInsideRect(&rc);
    EXPECT_GE(f.list.GetContentWidth(), (int)f.list.GetItemPtr(0)->m_rcLabel.right + 5);
}

TEST(ListGeometry, VerticalBarAndWheel)
{
    ListFixture f(0, 200, 100);   // no header: the whole client is the list area
    f.AddRows(3);
    f.list.RecalcLayout();
    int rowHeight = f.list.GetRowsHeight(0, 0, TRUE);
    ASSERT_GT(rowHeight, 0);
    ASSERT_LE(3 * rowHeight, 100);
    CScrollBar* pHidden = f.list.GetScrollBarCtrl(SB_VERT);
    EXPECT_TRUE(pHidden == nullptr || !pHidden->IsWindowVisible());
    EXPECT_EQ(0, f.list.GetTopIndex());

    f.AddRows(60, "More");
    f.list.RecalcLayout();
    CScrollBar* pBar = f.list.GetScrollBarCtrl(SB_VERT);
    ASSERT_NE(nullptr, pBar);
    EXPECT_TRUE(pBar->IsWindowVisible());
    // Wheel deltas of 40: one row every third message.
    std::vector<int> tops;
    for (int i = 0; i < 6; ++i)
    {
        f.list.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-40), Pt(50, 50));
        tops.push_back(f.list.GetTopIndex());
    }
    EXPECT_EQ((std::vector<int>{ 0, 0, 1, 1, 1, 2 }), tops);
}

TEST(ListGeometry, ScrollCodes)
{
    ListFixture f(0, 200, 100);
    f.AddRows(40);
    f.list.RecalcLayout();
    f.list.UpdateWindow();
    int maxTop = f.list.GetMaxTopIndex();
    ASSERT_GT(maxTop, 0);
    f.list.SetTopIndex(maxTop);
    f.list.UpdateWindow();
    f.list.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(maxTop, f.list.GetTopIndex());
    f.list.SendMessage(WM_VSCROLL, SB_LINEUP, 0);
    f.list.UpdateWindow();
    EXPECT_EQ(maxTop - 1, f.list.GetTopIndex());

    // Page up moves by the rows that fit above, not by the page count.
    f.list.SetTopIndex(3);
    f.list.UpdateWindow();
    f.list.SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(0, f.list.GetTopIndex());
    f.list.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(maxTop, f.list.GetTopIndex());
    f.list.SendMessage(WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(0, f.list.GetTopIndex());
    EXPECT_TRUE(f.list.EnsureVisible(30));
    EXPECT_LE(f.list.GetTopIndex(), 30);
    EXPECT_GE(f.list.GetLastVisibleIndex(), 30);
    // The range goes to the bottom of the page: the rows above fill the rest.
    EXPECT_TRUE(f.list.EnsureRangeVisible(2, 4));
    EXPECT_EQ(0, f.list.GetTopIndex());
    EXPECT_FALSE(f.list.EnsureRangeVisible(5, 2));

    // Rows above the top row have no rectangle.
    f.list.SetTopIndex(5);
    CRect rc(1, 2, 3, 4);
    EXPECT_FALSE(f.list.GetSubItemRect(4, 0, &rc, LVIR_BOUNDS));
    EXPECT_EQ(CRect(1, 2, 3, 4), rc);
    EXPECT_TRUE(f.list.GetSubItemRect(5, 0, &rc, LVIR_BOUNDS));
    EXPECT_EQ(0, rc.top);
    EXPECT_FALSE(f.list.GetSubItemRect(5, 0, &rc, 7));
}

TEST(ListGeometry, HitTestHeaderAndRows)
{
    ListFixture f(LVS_REPORT, 300, 150);
    f.list.AddColumn("A", LVCFMT_LEFT, 100);
    f.list.AddColumn("B", LVCFMT_LEFT, 80);
    f.AddRows(3);
    f.list.RecalcLayout();
    struct Case { int x, y; int answer; UINT flags; int column; };
    const Case cases[] = {
        { 103, 10, 0, 0x800, 0 },    // 3 pixels right of the first edge: its divider
        { 105, 10, 1, 0x1000, 1 },   // 5 pixels: the next button
        { 50, 10, 0, 0x1000, 0 },
        { 176, 10, 1, 0x800, 1 },
        { 250, 10, 2, 0x1000, 2 },   // the empty place after the last column
        { -5, 10, -1, LVHT_TOLEFT, -1 },
        { 50, 500, -1, LVHT_BELOW, -1 },
    };
    for (const Case& c : cases)
    {
        UINT flags = 0;
        int column = -2;
        EXPECT_EQ(c.answer, f.list.HitTest(c.x, c.y, &flags, &column)) << c.x;
        EXPECT_EQ(c.flags, flags) << c.x;
        EXPECT_EQ(c.column, column) << c.x;
    }
    CRect label;
    ASSERT_TRUE(f.list.GetItemRect(1, &label, LVIR_LABEL));
    UINT flags = 0;
    int column = -1;
    EXPECT_EQ(1, f.list.HitTest(label.CenterPoint().x, label.CenterPoint().y, &flags, &column));
    EXPECT_EQ((UINT)(0x2000 | LVHT_ONITEMLABEL), flags);
    EXPECT_EQ(1, f.list.HitTest(label.right + 20, label.CenterPoint().y, &flags, &column));
    EXPECT_EQ(0x2000u | 0x8000u, flags);
    EXPECT_EQ(1, f.list.HitTest(150, label.CenterPoint().y, &flags, &column));
    EXPECT_EQ(0x2000u, flags);   // a sub-item cell
    EXPECT_EQ(-1, f.list.HitTest(50, 140, &flags, &column));
    EXPECT_EQ((UINT)LVHT_NOWHERE, flags);
}

namespace {

// Takes the capture away from the list while its divider loop runs.
class CCaptureThief : public CWnd
{
public:
    BOOL Make()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "Thief", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr);
    }
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP + 7)
        {
            ::SetCapture(m_hWnd);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

} // namespace

TEST(ListGeometry, DividerDrag)
{
    ListFixture f(LVS_REPORT, 300, 150);
    f.list.AddColumn("A", LVCFMT_LEFT, 100);
    f.list.AddColumn("B", LVCFMT_LEFT, 80);
    f.AddRows(3);
    f.list.RecalcLayout();
    ::SetCursorPos(0, 0);
    Pump();
    // Never below 10 pixels.
    f.list.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(3, 10));
    f.list.PostMessage(WM_LBUTTONUP, 0, Pt(3, 10));
    f.list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(100, 10));
    EXPECT_EQ(10, f.list.GetColumnWidth(0));
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    // Escape restores the width.
    f.list.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(60, 10));
    f.list.PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    f.list.PostMessage(WM_LBUTTONUP, 0, Pt(60, 10));
    f.list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(10, 10));
    EXPECT_EQ(10, f.list.GetColumnWidth(0));
    Pump();
    // A drag to the right, ended by another window taking the capture.
    CCaptureThief thief;
    ASSERT_TRUE(thief.Make());
    f.list.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(40, 10));
    thief.PostMessage(WM_APP + 7);
    f.list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(10, 10));
    EXPECT_EQ(40, f.list.GetColumnWidth(0));
    EXPECT_EQ(thief.m_hWnd, ::GetCapture());
    ::ReleaseCapture();
    // The last column's divider does not resize (a loop would take the posted release).
    f.list.PostMessage(WM_LBUTTONUP, 0, Pt(150, 10));
    f.list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(120, 10));
    f.list.SendMessage(WM_LBUTTONUP, 0, Pt(120, 10));
    Pump();
    EXPECT_EQ(80, f.list.GetColumnWidth(1));
    thief.DestroyWindow();
}
