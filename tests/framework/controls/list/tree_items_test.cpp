// Tree items: navigation, insert positions, callback fields, deletion,
// moving, hiding, sorting, counting, indent and sub-item texts.
#include "tree_test_support.h"

using namespace treetest;

namespace {

// Counts the nodes alive, so a node lost on a failed insert shows.
class CCountedNode : public _Node
{
public:
    CCountedNode() { s_nLive++; }
    ~CCountedNode() override { s_nLive--; }
    static int s_nLive;
};
int CCountedNode::s_nLive = 0;

class CCountingTree : public TWKTreeCtrl
{
public:
    _Node* CreateNode() override { return new CCountedNode; }
};

// a (a1 (a1x), a2), b, c   -- a and a1 expanded.
struct SmallTree : TreeFixture
{
    HTREEITEM a, a1, a1x, a2, b, c;
    SmallTree()
    {
        a = Add("a");
        a1 = Add("a1", a);
        a1x = Add("a1x", a1);
        a2 = Add("a2", a);
        b = Add("b");
        c = Add("c");
        tree.Expand(a, TVE_EXPAND);
        tree.Expand(a1, TVE_EXPAND);
    }
};

int CALLBACK ByData(LPARAM l1, LPARAM l2, LPARAM) { return (int)(l1 - l2); }

} // namespace

TEST(TreeItems, NavigationCodes)
{
    SmallTree t;
    EXPECT_EQ("a a1 a1x a2 b c", t.Rows());
    t.tree.Expand(t.a1, TVE_COLLAPSE);   // rows: a a1 a2 b c; a1x has none
    t.tree.EnableMultiSelect(TRUE);
    t.tree.Select(t.a2, TVGN_CARET);
    t.tree.SetItemState(t.c, TVIS_SELECTED, TVIS_SELECTED);
    t.tree.SelectDropTarget(t.b, FALSE);
    struct Case { HTREEITEM item; UINT code; HTREEITEM want; };
    const Case cases[] = {
        { NULL, TVGN_ROOT, t.a }, { TVI_ROOT, TVGN_ROOT, t.a }, { t.a2, TVGN_ROOT, t.a },
        { t.a1, TVGN_NEXT, t.a2 }, { t.c, TVGN_NEXT, NULL },
        { t.a2, TVGN_PREVIOUS, t.a1 }, { t.a, TVGN_PREVIOUS, NULL },
        { t.a1, TVGN_PARENT, t.a }, { t.a, TVGN_PARENT, NULL },
        { t.a, TVGN_CHILD, t.a1 }, { NULL, TVGN_CHILD, t.a }, { TVI_ROOT, TVGN_CHILD, t.a }, { t.b, TVGN_CHILD, NULL },
        { NULL, TVGN_FIRSTVISIBLE, t.a },
        { t.a1, TVGN_NEXTVISIBLE, t.a2 }, { t.c, TVGN_NEXTVISIBLE, NULL },
        { t.a1x, TVGN_NEXTVISIBLE, t.a2 },                    // no row: the next displayed in pre-order
        { t.a1, TVGN_PREVIOUSVISIBLE, t.a }, { t.a, TVGN_PREVIOUSVISIBLE, NULL },
        { TVI_ROOT, TVGN_PREVIOUSVISIBLE, NULL }, { NULL, TVGN_PREVIOUSVISIBLE, NULL },
        { t.a1x, TVGN_PREVIOUSVISIBLE, t.a1 },
        { NULL, TVGN_DROPHILITE, t.b },
        { NULL, TVGN_CARET, t.a2 },
        { NULL, 32, t.a2 },
        { t.a2, 33, t.c }, { t.c, 33, NULL }, { t.a1x, 33, t.a2 },   // no row: starts at a1
        { t.c, 34, t.a2 }, { t.a2, 34, NULL }, { t.a1x, 34, NULL },  // no row: starts at a2
        { t.a, 99, NULL },
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.want, t.tree.GetNextItem(k.item, k.code))
            << "item " << (k.item ? std::string(t.tree.GetItemText(k.item)) : "null") << " code " << k.code;
    for (int i = 0; i < 30; ++i)
        t.Add("more");
    EXPECT_TRUE(t.tree.Select(t.b, TVGN_FIRSTVISIBLE));
    EXPECT_EQ(t.b, t.tree.GetFirstVisibleItem());
    EXPECT_FALSE(t.tree.Select(t.b, 99));
}

TEST(TreeItems, InsertPositions)
{
    TreeFixture f;
    HTREEITEM p = f.Add("p");
    HTREEITEM q = f.Add("q");
    HTREEITEM m = f.Add("m", p);
    f.Add("first", p, TVI_FIRST);
    f.Add("last", p, TVI_LAST);
    f.Add("after-m", p, m);
    EXPECT_EQ("first m after-m last", f.Children(p));

    // Sorted: before the first greater text (without regard to case), after equal ones.
    HTREEITEM s = f.Add("s", q);
    HTREEITEM b1 = f.Add("B", s, TVI_SORT);
    f.Add("d", s, TVI_SORT);
    f.Add("a", s, TVI_SORT);
    HTREEITEM b2 = f.Add("b", s, TVI_SORT);
    f.Add("C", s, TVI_SORT);
    EXPECT_EQ("a B b C d", f.Children(s));
    EXPECT_EQ(b2, f.tree.GetNextSiblingItem(b1));
    HTREEITEM r = f.Add("r", q);
    for (const char* text : { "b", "d", "a", "c" })
        f.Add(text, r, TWKTVI_SORTDESCENDING);
    EXPECT_EQ("d c b a", f.Children(r));
}

TEST(TreeItems, InsertAfterAStrangerFailsAndKeepsNothing)
{
    CTreeRecorder parent;
    ASSERT_TRUE(parent.CreateTop(200, 200));
    CCountingTree tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 180, 180), &parent, 100));
    HTREEITEM p = tree.InsertItem("p");
    HTREEITEM q = tree.InsertItem("q");
    HTREEITEM q1 = tree.InsertItem("q1", q);
    tree.InsertItem("p1", p);
    int nLive = CCountedNode::s_nLive;
    TVINSERTSTRUCTA ins = {};
    ins.hParent = p;
    ins.hInsertAfter = q1;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = (LPSTR)LPSTR_TEXTCALLBACKA;
    EXPECT_EQ(NULL, tree.InsertItem(&ins));
    EXPECT_EQ(nLive, CCountedNode::s_nLive);
    EXPECT_EQ(1, tree.CountItems(p));
    EXPECT_EQ(0, parent.Count((int)TVN_DELETEITEMA));
}

TEST(TreeItems, InsertingARunOfItems)
{
    TreeFixture f;
    HTREEITEM p = f.Add("p");
    f.Add("q");
    f.tree.Expand(p, TVE_EXPAND);
    TVITEMA a = {}, b = {};
    a.mask = b.mask = TVIF_TEXT;
    a.pszText = (LPSTR) "a";
    b.pszText = (LPSTR) "b";
    TVITEMA* bad[] = { &a, NULL };
    EXPECT_FALSE(f.tree.InsertItems(bad, p, 2));
    EXPECT_FALSE(f.tree.InsertItems(bad, p, 0));
    EXPECT_EQ(0, f.tree.CountItems(p));
    TVITEMA* good[] = { &a, &b };
    EXPECT_TRUE(f.tree.InsertItems(good, p, 2));
    EXPECT_EQ("p q", f.Rows());                 // p had no children when it was expanded
    f.tree.Expand(p, TVE_EXPAND);
    EXPECT_EQ("p a b q", f.Rows());
    EXPECT_TRUE(f.tree.InsertItems(good, p, 2));
    EXPECT_EQ("p a b a b q", f.Rows());
}

TEST(TreeItems, CallbackTextAskedAndWritesGoToTheOwner)
{
    TreeFixture f;
    HTREEITEM h = f.tree.InsertItem(TVIF_TEXT | TVIF_PARAM, LPSTR_TEXTCALLBACKA, 0, 0, 0, 0, 42, TVI_ROOT, TVI_LAST);
    f.parent.onDispInfo = [](NMTVDISPINFOA* p) {
        if ((p->item.mask & TVIF_TEXT) && p->item.lParam == 42)
            lstrcpynA(p->item.pszText, "from owner", p->item.cchTextMax);
    };
    EXPECT_EQ(CString("from owner"), f.tree.GetItemText(h));
    EXPECT_TRUE(f.tree.SetItemText(h, "typed"));
    const Notice* n = f.parent.Last((int)TVN_SETDISPINFOA);
    ASSERT_NE(nullptr, n);
    EXPECT_EQ((UINT)TVIF_TEXT, n->mask);
    EXPECT_EQ("typed", n->text);
    TVITEMA item = {};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = h;
    f.tree.GetItem(&item, FALSE, FALSE);
    EXPECT_EQ(LPSTR_TEXTCALLBACKA, item.pszText);
}

TEST(TreeItems, DeletingEverythingNotifiesLeavesFirst)
{
    SmallTree t;
    EXPECT_FALSE(t.tree.DeleteItem((HTREEITEM)NULL));
    EXPECT_EQ(6, t.tree.CountItems(NULL, TRUE));
    t.parent.notices.clear();
    EXPECT_TRUE(t.tree.DeleteItem(TVI_ROOT));
    std::vector<HTREEITEM> order;
    for (const Notice& n : t.parent.notices)
        if (n.code == (int)TVN_DELETEITEMA)
            order.push_back(n.itemOld);
    EXPECT_EQ((std::vector<HTREEITEM>{ t.a1x, t.a1, t.a2, t.a, t.b, t.c }), order);
    EXPECT_EQ(0, t.tree.GetItemCount());
    EXPECT_EQ(NULL, t.tree.GetRootItem());
    HTREEITEM n = t.Add("new");
    t.Add("child", n);
    EXPECT_EQ("new", t.Rows());
    EXPECT_TRUE(t.tree.Expand(n, TVE_EXPAND));
    EXPECT_EQ("new child", t.Rows());
}

TEST(TreeItems, MoveRefusesOwnSubtreeAndKeepsTheCaret)
{
    SmallTree t;
    EXPECT_FALSE(t.tree.MoveItem(t.a, t.a1x));
    EXPECT_FALSE(t.tree.MoveItem(t.a, t.a));
    EXPECT_FALSE(t.tree.MoveItem(t.b, t.c, TRUE, t.a1));   // a sibling of another parent
    t.tree.SelectItem(t.b);
    EXPECT_TRUE(t.tree.MoveItem(t.a1, t.c));
    EXPECT_EQ("a a2 b c", t.Rows());
    t.tree.Expand(t.c, TVE_EXPAND);
    EXPECT_EQ("a a2 b c a1 a1x", t.Rows());                // a1 stays expanded
    EXPECT_EQ(t.b, t.tree.GetSelectedItem());
    // Moved with its subtree into an expanded parent, the caret stays where it was.
    t.tree.SelectItem(t.a1x);
    t.Add("b1", t.b);
    t.tree.Expand(t.b, TVE_EXPAND);
    EXPECT_TRUE(t.tree.MoveItem(t.c, t.b, TRUE, TVI_FIRST));
    EXPECT_EQ("a a2 b c a1 a1x b1", t.Rows());
    EXPECT_EQ(t.a1x, t.tree.GetSelectedItem());
    t.tree.Expand(t.b, TVE_COLLAPSE);
    EXPECT_EQ(t.b, t.tree.GetSelectedItem());
    // The caret moves out of sight: the first top-level item takes over.
    t.tree.SelectItem(t.a1);
    EXPECT_TRUE(t.tree.MoveItem(t.b, t.a2));                // a2 is collapsed: a1 goes out of sight
    EXPECT_EQ(t.a, t.tree.GetSelectedItem());
    EXPECT_EQ("a a2", t.Rows());
}

TEST(TreeItems, HidingRemovesTheSubtreeRowsAndShowingRestoresThem)
{
    SmallTree t;
    EXPECT_FALSE(t.tree.HideItem(TVI_ROOT, TRUE));
    EXPECT_TRUE(t.tree.HideItem(t.a1, TRUE));
    EXPECT_EQ("a a2 b c", t.Rows());
    EXPECT_TRUE(t.tree.IsItemHidden(t.a1x));
    EXPECT_FALSE(t.tree.IsItemHidden(t.a2));
    EXPECT_FALSE(t.tree.IsItemHidden(TVI_ROOT));
    t.tree.HideItem(t.c, TRUE);
    EXPECT_EQ("a a2 b", t.Rows());
    t.tree.HideItem(t.a1, FALSE);
    EXPECT_EQ("a a1 a1x a2 b", t.Rows());
    t.tree.HideItem(t.c, FALSE);
    EXPECT_EQ("a a1 a1x a2 b c", t.Rows());
    // Inserting beside hidden items still places rows in display order.
    t.tree.HideItem(t.b, TRUE);
    t.Add("a3", t.a);
    EXPECT_EQ("a a1 a1x a2 a3 c", t.Rows());
}

TEST(TreeItems, Sorting)
{
    TreeFixture f;
    HTREEITEM p = f.Add("p");
    HTREEITEM e1 = f.Add("same", p), e2 = f.Add("SAME", p), e3 = f.Add("Same", p);
    f.tree.Expand(p, TVE_EXPAND);
    f.tree.SortChildren(p);
    EXPECT_EQ(e1, f.tree.GetChildItem(p));
    EXPECT_EQ(e2, f.tree.GetNextSiblingItem(e1));
    EXPECT_EQ(e3, f.tree.GetNextSiblingItem(e2));

    HTREEITEM q = f.Add("q");
    for (const char* s : { "b", "d", "a", "c" })
        f.Add(s, q);
    f.tree.Expand(q, TVE_EXPAND);
    f.tree.SortChildren(q, FALSE, FALSE);
    EXPECT_EQ("d c b a", f.Children(q));
    f.tree.SortChildren(q);
    EXPECT_EQ("p same SAME Same q a b c d", f.Rows());      // rows follow the sort

    // A comparison that answers negative when its first item comes first sorts ascending.
    HTREEITEM r = f.Add("r");
    int data[] = { 3, 1, 2 };
    for (int d : data)
    {
        CString s;
        s.Format("%d", d);
        f.tree.InsertItem(TVIF_TEXT | TVIF_PARAM, s, 0, 0, 0, 0, d, r, TVI_LAST);
    }
    TVSORTCB sort = { r, ByData, 0 };
    f.tree.SortChildrenCB(&sort);
    EXPECT_EQ("1 2 3", f.Children(r));
    f.tree.SortChildrenCB(&sort, FALSE, FALSE);
    EXPECT_EQ("3 2 1", f.Children(r));
}

TEST(TreeItems, IndentStaysEven)
{
    TreeFixture f;
    f.tree.SetIndent(15);
    EXPECT_EQ(16, f.tree.GetIndent());
    CImageList images;
    ASSERT_TRUE(images.Create(23, 16, ILC_COLOR24, 1, 1));
    CBitmap bm;
    CClientDC dc(&f.tree);
    bm.CreateCompatibleBitmap(&dc, 23, 16);
    ASSERT_GE(images.Add(&bm, (CBitmap*)NULL), 0);
    f.tree.SetImageList(&images, LVSIL_NORMAL);
    EXPECT_EQ(24, f.tree.GetIndent());
    f.tree.SetImageList(NULL, LVSIL_NORMAL);
}

TEST(TreeItems, CountingAndSelectingASubtree)
{
    SmallTree t;
    t.tree.Expand(t.a1, TVE_COLLAPSE);
    struct Case { HTREEITEM item; BOOL recurse, expandedOnly; int want; };
    const Case cases[] = {
        { NULL, FALSE, FALSE, 3 }, { NULL, TRUE, FALSE, 6 }, { t.a, TRUE, FALSE, 3 },
        { t.a, TRUE, TRUE, 2 },    // a1 is collapsed: its child is not counted
        { NULL, TRUE, TRUE, 6 },   // a is expanded: below it everything counts
        { t.b, TRUE, FALSE, 0 },
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.want, t.tree.CountItems(k.item, k.recurse, k.expandedOnly));
    t.tree.EnableMultiSelect(TRUE);
    EXPECT_FALSE(t.tree.SelectSubtree(t.b));
    EXPECT_TRUE(t.tree.SelectSubtree(t.a));
    std::vector<HTREEITEM> sel;
    for (HTREEITEM h = t.tree.GetFirstSelectedItem(); h; h = t.tree.GetNextSelectedItem(h))
        sel.push_back(h);
    EXPECT_EQ((std::vector<HTREEITEM>{ t.a, t.a1, t.a2 }), sel);
    EXPECT_TRUE(t.tree.GetItemState(t.a2, TVIS_SELECTED));
}

TEST(TreeItems, SubItemTextsSurviveCollapseAndGoWithTheItem)
{
    SmallTree t;
    t.tree.AddColumn("Value", LVCFMT_LEFT, 80);
    EXPECT_FALSE(t.tree.HasSubItemTexts());
    t.tree.EnableSubItemTexts(TRUE);
    EXPECT_TRUE(t.tree.SetItemText(t.a1x, 1, "deep"));
    EXPECT_FALSE(t.tree.SetItemText(t.a1x, 5, "too far"));
    t.tree.Expand(t.a, TVE_COLLAPSE);
    t.tree.Expand(t.a, TVE_EXPAND);
    EXPECT_EQ(CString("deep"), t.tree.GetItemText(t.a1x, 1));
    char buf[32];
    EXPECT_GT(t.tree.TWKListCtrl::GetItemText(t.tree.GetItemIndex(t.a1x), 1, buf, sizeof(buf)), 0);
    EXPECT_STREQ("deep", buf);
    t.tree.DeleteItem(t.a1);
    HTREEITEM again = t.Add("again", t.a);   // may reuse the address
    EXPECT_EQ(CString(""), t.tree.GetItemText(again, 1));
}

TEST(TreeItems, FieldsReachTheRow)
{
    SmallTree t;
    TVITEMA rec = {};
    rec.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_CHILDREN;
    rec.hItem = t.b;
    rec.lParam = 77;
    rec.cChildren = 1;
    EXPECT_TRUE(t.tree.SetItem(&rec));
    EXPECT_EQ(77u, t.tree.GetItemData(t.b));
    rec.mask = TVIF_CHILDREN;
    rec.cChildren = 0;
    EXPECT_TRUE(t.tree.GetItem(&rec));
    EXPECT_EQ(1, rec.cChildren);
    int row = t.tree.GetItemIndex(t.b);
    EXPECT_EQ(4, row);
    EXPECT_EQ(-1, t.tree.GetItemIndex(t.b, 5));
    EXPECT_EQ(77u, t.tree.TWKListCtrl::GetItemData(row));
    t.tree.SetItemState(t.b, TVIS_SELECTED | TVIS_BOLD, TVIS_SELECTED | TVIS_BOLD);
    EXPECT_TRUE(t.tree.IsItemSelected(row));
    EXPECT_EQ((UINT)TVIS_BOLD, t.tree.GetClientItemState(row, TVIS_BOLD));
    // The list's own writes to column 0 reach the node.
    t.tree.TWKListCtrl::SetItemText(row, 0, "bee");
    EXPECT_EQ(CString("bee"), t.tree.GetItemText(t.b));
    t.tree.TWKListCtrl::SetItemState(row, 0, LVIS_SELECTED);
    EXPECT_EQ(0u, t.tree.GetItemState(t.b, TVIS_SELECTED));
    CRect rc;
    EXPECT_TRUE(t.tree.GetItemRect(t.b, &rc, LVIR_LABEL));
    EXPECT_FALSE(t.tree.GetItemRect(TVI_ROOT, &rc, LVIR_LABEL));
}
