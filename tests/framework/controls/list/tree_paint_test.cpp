// Column 0 of the tree: measuring with and without images, row heights and
// button boxes, marked labels, the dotted lines while scrolling, disabled
// buttons, bold items and hit testing.
#include "tree_test_support.h"

using namespace treetest;

namespace {

// An image list of n images cx by cy.
struct Images
{
    CImageList list;
    Images(CWnd* pWnd, int cx, int cy, int n = 2)
    {
        EXPECT_TRUE(list.Create(cx, cy, ILC_COLOR24, n, 1));
        CClientDC dc(pWnd);
        for (int i = 0; i < n; ++i)
        {
            CBitmap bm;
            bm.CreateCompatibleBitmap(&dc, cx, cy);
            EXPECT_GE(list.Add(&bm, (CBitmap*)NULL), 0);
        }
    }
};

CRect Label(TWKTreeCtrl& tree, HTREEITEM h)
{
    CRect rc;
    EXPECT_TRUE(tree.GetItemRect(h, &rc, LVIR_LABEL));
    return rc;
}

CRect Button(TWKTreeCtrl& tree, HTREEITEM h)
{
    int row = tree.GetItemIndex(h);
    CRect rcRow, rc;
    EXPECT_TRUE(tree.TWKListCtrl::GetItemRect(row, &rcRow, LVIR_BOUNDS));
    tree.GetButtonRect(&rc, row, rcRow.TopLeft());
    return rc;
}

int LineHeight(TWKTreeCtrl& tree)
{
    CClientDC dc(&tree);
    dc.SelectObject(tree.GetItemFont());
    TEXTMETRICA tm;
    dc.GetTextMetrics(&tm);
    return tm.tmHeight;
}

} // namespace

TEST(TreePaint, ItemsWithoutImageKeepNoIconSpace)
{
    TreeFixture f;
    Images images(&f.tree, 12, 12);
    f.tree.SetImageList(&images.list, LVSIL_NORMAL);
    EXPECT_EQ(20, f.tree.GetIndent());
    HTREEITEM p = f.tree.InsertItem("p", 0, 0);
    HTREEITEM bare = f.Add("bare", p);                       // image -12
    HTREEITEM pictured = f.tree.InsertItem("pictured", 0, 0, p);
    f.Add("x", bare);
    f.Add("y", pictured);
    f.tree.Expand(p, TVE_EXPAND);
    // Level 1 with lines at root: indentation 40.
    EXPECT_EQ(40 + 6, Label(f.tree, bare).left);
    EXPECT_EQ(40 + 12 + 6, Label(f.tree, pictured).left);
    // The button sits on the parent's line: 8 pixels right of its indentation without image,
    // half an image width with one.
    EXPECT_EQ(20 + 8, Button(f.tree, bare).CenterPoint().x);
    EXPECT_EQ(20 + 6, Button(f.tree, pictured).CenterPoint().x);
    f.tree.SetImageList(NULL, LVSIL_NORMAL);
}

TEST(TreePaint, StateImageOutsideTheListTakesNoSpace)
{
    TreeFixture f(TVS_HASBUTTONS);
    Images states(&f.tree, 10, 10, 2);
    f.tree.SetImageList(&states.list, LVSIL_STATE);
    HTREEITEM in = f.Add("in");
    HTREEITEM out = f.Add("out");
    f.tree.SetItemState(in, INDEXTOSTATEIMAGEMASK(1), TVIS_STATEIMAGEMASK);
    f.tree.SetItemState(out, INDEXTOSTATEIMAGEMASK(5), TVIS_STATEIMAGEMASK);
    EXPECT_EQ(10 + 6, Label(f.tree, in).left);
    EXPECT_EQ(6, Label(f.tree, out).left);
    f.tree.SetImageList(NULL, LVSIL_STATE);
}

TEST(TreePaint, EvenRowsAndOddButtonBoxes)
{
    struct Case { int imageHeight; int box; };
    const Case cases[] = { { 16, 9 }, { 20, 13 }, { 24, 15 }, { 31, 15 }, { 40, 15 } };
    for (const Case& k : cases)
    {
        TreeFixture f;
        Images images(&f.tree, 12, k.imageHeight);
        f.tree.SetImageList(&images.list, LVSIL_NORMAL);
        HTREEITEM p = f.tree.InsertItem("p", 0, 0);
        f.Add("c", p);
        CRect rcRow;
        ASSERT_TRUE(f.tree.TWKListCtrl::GetItemRect(0, &rcRow, LVIR_BOUNDS));
        int want = std::max(k.imageHeight, Label(f.tree, p).Height());
        want += want & 1;
        EXPECT_EQ(want, rcRow.Height()) << k.imageHeight;
        CRect rcBox = Button(f.tree, p);
        EXPECT_EQ(k.box, rcBox.Width()) << k.imageHeight;
        EXPECT_EQ(k.box, rcBox.Height()) << k.imageHeight;
        f.tree.SetImageList(NULL, LVSIL_NORMAL);
    }
}

TEST(TreePaint, MarkerKeepsTheFirstPartOnTheFirstLine)
{
    TreeFixture f(0, 200, 200);
    f.tree.EnableLabelWrap(TRUE);
    COLORREF crBk = RGB(255, 255, 255);
    f.tree.SetBkColor(crBk);
    f.tree.SetTextBkColor(crBk);
    f.tree.SetTextColor(RGB(0, 0, 0));
    const char* words = "wrapping words wrapping words wrapping words wrapping words";
    HTREEITEM marked = f.Add((std::string("Name = \\{HI}") + words).c_str());
    HTREEITEM plain = f.Add((std::string("Name = ") + words).c_str());
    int line = LineHeight(f.tree);
    CRect rcMarked = Label(f.tree, marked), rcPlain = Label(f.tree, plain);
    EXPECT_GT(rcMarked.Height(), line + 2);
    EXPECT_GT(rcPlain.Height(), line + 2);
    CClientDC dc(&f.tree);
    dc.SelectObject(f.tree.GetItemFont());
    int first = dc.GetTextExtent("Name = ").cx;
    Snapshot s(f.tree);
    // The second line: empty below the first part when marked, text from the left when not.
    auto secondLineLeft = [&](const CRect& rc) {
        return s.CountNot(CRect(rc.left, rc.top + 1 + line, rc.left + first - 2, rc.top + 1 + 2 * line), crBk);
    };
    EXPECT_EQ(0, secondLineLeft(rcMarked));
    EXPECT_GT(secondLineLeft(rcPlain), 0);
    EXPECT_GT(s.CountNot(CRect(rcMarked.left + first, rcMarked.top + 1 + line, rcMarked.right,
                               rcMarked.top + 1 + 2 * line), crBk), 0);
    // The first part itself is drawn on the first line.
    EXPECT_GT(s.CountNot(CRect(rcMarked.left, rcMarked.top + 1, rcMarked.left + first, rcMarked.top + 1 + line), crBk),
              0);
}

TEST(TreePaint, DotsStayWithTheContentWhileScrolling)
{
    TreeFixture f(TVS_HASLINES | TVS_LINESATROOT, 200, 120);
    HTREEITEM p = f.Add("p");
    HTREEITEM c = f.Add(std::string(120, 'w').c_str(), p);
    f.tree.Expand(p, TVE_EXPAND);
    CRect rcLabel = Label(f.tree, c);
    COLORREF crDot = ::GetSysColor(COLOR_BTNSHADOW);
    Snapshot s1(f.tree);
    // The horizontal line left of the child's label.
    int yLine = -1;
    for (int y = rcLabel.top; y < rcLabel.bottom && yLine < 0; ++y)
    {
        int n = 0;
        for (int x = rcLabel.left - 16; x < rcLabel.left - 6; ++x)
            n += s1.At(x, y) == crDot;
        if (n >= 3)
            yLine = y;
    }
    ASSERT_GE(yLine, 0);
    f.tree.ScrollHorizontal(-1);
    Snapshot s2(f.tree);
    for (int x = rcLabel.left - 16; x < rcLabel.left - 6; ++x)
        EXPECT_EQ(s1.At(x, yLine), s2.At(x - 1, yLine)) << x;
}

TEST(TreePaint, DisabledTreeFillsButtonsWithTheBackground)
{
    TreeFixture f(TVS_HASBUTTONS | TVS_LINESATROOT);
    HTREEITEM p = f.Add("p");
    f.Add("c", p);
    CRect rcBox = Button(f.tree, p);
    CPoint inside(rcBox.left + 1, rcBox.top + 1);
    EXPECT_EQ(RGB(255, 255, 255), Snapshot(f.tree).At(inside.x, inside.y));
    f.tree.EnableWindow(FALSE);
    EXPECT_EQ(f.tree.GetBkColor(), Snapshot(f.tree).At(inside.x, inside.y));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), Snapshot(f.tree).At(rcBox.left, rcBox.top));
}

TEST(TreePaint, BoldItemsMeasuredAndDrawnHeavier)
{
    TreeFixture f(0);
    COLORREF crBk = RGB(255, 255, 255);
    f.tree.SetBkColor(crBk);
    f.tree.SetTextBkColor(crBk);
    f.tree.SetTextColor(RGB(0, 0, 0));
    HTREEITEM normal = f.Add("Measured Text");
    HTREEITEM bold = f.Add("Measured Text");
    f.tree.SetItemState(bold, TVIS_BOLD, TVIS_BOLD);
    CRect rcNormal = Label(f.tree, normal), rcBold = Label(f.tree, bold);
    CClientDC dc(&f.tree);
    LOGFONTA lf;
    f.tree.GetItemFont()->GetLogFont(&lf);
    lf.lfWeight = FW_BOLD;
    CFont font;
    font.CreateFontIndirect(&lf);
    dc.SelectObject(&font);
    EXPECT_EQ(dc.GetTextExtent("Measured Text").cx, rcBold.Width());
    EXPECT_GT(rcBold.Width(), rcNormal.Width());
    Snapshot s(f.tree);
    EXPECT_GT(s.CountNot(rcBold, crBk), s.CountNot(rcNormal, crBk));
}

TEST(TreePaint, HitTestFlags)
{
    TreeFixture f(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 300, 200, TWKTVS_EX_HEADER);
    Images images(&f.tree, 12, 12);
    Images states(&f.tree, 12, 12);
    f.tree.SetImageList(&images.list, LVSIL_NORMAL);
    f.tree.SetImageList(&states.list, LVSIL_STATE);
    HTREEITEM p = f.tree.InsertItem("parent", 0, 0);
    f.Add("child", p);
    f.tree.SetItemState(p, INDEXTOSTATEIMAGEMASK(1), TVIS_STATEIMAGEMASK);
    CRect rcLabel = Label(f.tree, p);
    CRect rcIcon;
    ASSERT_TRUE(f.tree.GetItemRect(p, &rcIcon, LVIR_ICON));
    CRect rcBox = Button(f.tree, p);
    CRect rcClient;
    f.tree.GetClientRect(&rcClient);
    int y = rcLabel.CenterPoint().y;
    int columnRight = f.tree.GetColumnWidth(0);
    struct Case { int x, y; UINT flags; bool item; };
    const Case cases[] = {
        { rcLabel.CenterPoint().x, y, TWKTVHT_ONROW | TVHT_ONITEMLABEL, true },
        { rcIcon.CenterPoint().x, y, TWKTVHT_ONROW | TVHT_ONITEMICON, true },
        { rcLabel.right + 10, y, TWKTVHT_ONROW | TVHT_ONITEMRIGHT, true },
        { rcIcon.left - 6, y, TWKTVHT_ONROW | TVHT_ONITEMSTATEICON, true },
        { rcBox.CenterPoint().x, rcBox.CenterPoint().y, TWKTVHT_ONROW | TVHT_ONITEMBUTTON, true },
        { rcBox.right + 3, y, TWKTVHT_ONROW | TVHT_ONITEMINDENT, true },
        { 50, -5, TVHT_ABOVE, false },
        { 50, rcClient.bottom + 5, TVHT_BELOW, false },
        { -5, 50, TVHT_TOLEFT, false },
        { rcClient.right + 5, 50, TVHT_TORIGHT, false },
        { 50, rcClient.bottom - 20, TVHT_NOWHERE, false },
        { 40, 5, TWKTVHT_ONHEADERBUTTON, false },
        { columnRight - 1, 5, TWKTVHT_ONHEADERDIVIDER, false },
    };
    for (const Case& k : cases)
    {
        UINT flags = 0;
        HTREEITEM h = f.tree.HitTest(k.x, k.y, &flags);
        EXPECT_EQ(k.flags, flags) << k.x << "," << k.y;
        EXPECT_EQ(k.item ? p : NULL, h) << k.x << "," << k.y;
    }
    f.tree.SetImageList(NULL, LVSIL_NORMAL);
    f.tree.SetImageList(NULL, LVSIL_STATE);
}

TEST(TreePaint, DragImageHoldsIconAndLabel)
{
    TreeFixture f;
    HTREEITEM h = f.tree.InsertItem("dragged", 1, 1);
    EXPECT_EQ(nullptr, f.tree.CreateDragImage(h));
    Images images(&f.tree, 12, 12);
    f.tree.SetImageList(&images.list, LVSIL_NORMAL);
    CImageList* pDrag = f.tree.CreateDragImage(h);
    ASSERT_NE(nullptr, pDrag);
    IMAGEINFO info;
    ASSERT_TRUE(pDrag->GetImageInfo(0, &info));
    CClientDC dc(&f.tree);
    dc.SelectObject(f.tree.GetItemFont());
    EXPECT_EQ(12 + 6 + dc.GetTextExtent("dragged").cx, info.rcImage.right - info.rcImage.left);
    delete pDrag;
    f.tree.SetImageList(NULL, LVSIL_NORMAL);
}
