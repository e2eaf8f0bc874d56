// Opening and closing items, the caret and its notifications, hover
// expansion, clicks and keys, and the label-edit protocol of the tree.
#include "tree_test_support.h"

using namespace treetest;

namespace {

// p (p1, p2 (p2a)), q (q1), r
struct Family : TreeFixture
{
    HTREEITEM p, p1, p2, p2a, q, q1, r;
    explicit Family(DWORD dwStyle = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT) : TreeFixture(dwStyle)
    {
        p = Add("p");
        p1 = Add("p1", p);
        p2 = Add("p2", p);
        p2a = Add("p2a", p2);
        q = Add("q");
        q1 = Add("q1", q);
        r = Add("r");
    }
};

CPoint ButtonPoint(TWKTreeCtrl& tree, HTREEITEM h)
{
    int row = tree.GetItemIndex(h);
    CRect rcRow, rcButton;
    EXPECT_TRUE(tree.TWKListCtrl::GetItemRect(row, &rcRow, LVIR_BOUNDS));
    tree.GetButtonRect(&rcButton, row, rcRow.TopLeft());
    return rcButton.CenterPoint();
}

CPoint LabelPoint(TWKTreeCtrl& tree, HTREEITEM h)
{
    CRect rc;
    EXPECT_TRUE(tree.GetItemRect(h, &rc, LVIR_LABEL));
    return rc.CenterPoint();
}

void Click(TWKTreeCtrl& tree, CPoint pt)
{
    tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(pt.x, pt.y));
    tree.SendMessage(WM_LBUTTONUP, 0, Pt(pt.x, pt.y));
}

} // namespace

TEST(TreeExpand, ToggleNotifiesAndCollapseResetDeletes)
{
    Family f;
    f.parent.notices.clear();
    EXPECT_TRUE(f.tree.Expand(f.p, TVE_TOGGLE));
    EXPECT_EQ((std::vector<int>{ (int)TVN_ITEMEXPANDINGA, (int)TVN_ITEMEXPANDEDA }), f.parent.Codes());
    EXPECT_EQ((UINT)TVE_EXPAND, f.parent.notices[0].action);
    EXPECT_EQ((UINT)TVE_EXPAND, f.parent.notices[1].action);
    EXPECT_EQ((UINT)TVIS_EXPANDED, f.parent.notices[1].state);
    EXPECT_EQ(f.p, f.parent.notices[1].itemNew);
    EXPECT_EQ("p p1 p2 q r", f.Rows());

    // An item without children (and declaring none) is left alone, silently.
    f.parent.notices.clear();
    EXPECT_TRUE(f.tree.Expand(f.r, TVE_EXPAND));
    EXPECT_TRUE(f.parent.notices.empty());

    // A veto of exactly 1 refuses.
    f.parent.answers[(int)TVN_ITEMEXPANDINGA] = 1;
    EXPECT_FALSE(f.tree.Expand(f.q, TVE_EXPAND));
    EXPECT_FALSE(f.tree.IsItemExpanded(f.q));
    f.parent.answers.clear();

    f.tree.Expand(f.p2, TVE_EXPAND);
    f.parent.notices.clear();
    EXPECT_TRUE(f.tree.Expand(f.p, TVE_COLLAPSERESET));
    std::vector<int> treeCodes;   // the list's own LVN_DELETEITEM for the run of rows aside
    for (int code : f.parent.Codes())
        if (code <= (int)TVN_FIRST && code >= (int)TVN_LAST)
            treeCodes.push_back(code);
    EXPECT_EQ((std::vector<int>{ (int)TVN_ITEMEXPANDINGA, (int)TVN_DELETEITEMA, (int)TVN_DELETEITEMA,
                                 (int)TVN_DELETEITEMA, (int)TVN_ITEMEXPANDEDA }),
              treeCodes);
    EXPECT_EQ("p q r", f.Rows());
    EXPECT_EQ(NULL, f.tree.GetChildItem(f.p));
    EXPECT_EQ(0u, f.parent.notices.back().state);
}

TEST(TreeExpand, CollapsingOverTheCaretMovesItThere)
{
    Family f;
    f.tree.ExpandAll(f.p);
    EXPECT_EQ("p p1 p2 p2a q r", f.Rows());
    EXPECT_TRUE(f.tree.SelectItem(f.p2a));
    f.parent.notices.clear();
    f.tree.Expand(f.p, TVE_COLLAPSE);
    EXPECT_EQ(f.p, f.tree.GetSelectedItem());
    EXPECT_TRUE(f.tree.GetItemState(f.p, TVIS_SELECTED));
    EXPECT_FALSE(f.tree.GetItemState(f.p2a, TVIS_SELECTED));
    const Notice* changing = f.parent.Last((int)TVN_SELCHANGINGA);
    const Notice* changed = f.parent.Last((int)TVN_SELCHANGEDA);
    ASSERT_TRUE(changing && changed);
    EXPECT_EQ((UINT)TVC_BYMOUSE, changing->action);
    EXPECT_EQ(f.p, changed->itemNew);
    EXPECT_EQ(f.p2a, changed->itemOld);
    // Selecting by program: cause 2, unknown to the owner; a veto of 1 refuses.
    f.parent.answers[(int)TVN_SELCHANGINGA] = 1;
    EXPECT_FALSE(f.tree.SelectItem(f.q));
    EXPECT_EQ(f.p, f.tree.GetSelectedItem());
    f.parent.answers.clear();
    EXPECT_TRUE(f.tree.SelectItem(f.q1));    // expands q to show it
    EXPECT_EQ(f.q1, f.tree.GetSelectedItem());
    EXPECT_EQ((UINT)TVC_UNKNOWN, f.parent.Last((int)TVN_SELCHANGEDA)->action);
}

TEST(TreeExpand, ExpandAllKeepsTheCaretAndSelection)
{
    Family f;
    f.tree.SelectItem(f.q);
    f.tree.ExpandAll(NULL);
    EXPECT_EQ("p p1 p2 p2a q q1 r", f.Rows());
    EXPECT_EQ(f.q, f.tree.GetSelectedItem());
    f.tree.Expand(f.p2, TVE_COLLAPSE);
    f.tree.SelectItem(f.p1);
    f.tree.ExpandAll(f.p);
    EXPECT_EQ("p p1 p2 p2a q q1 r", f.Rows());
    EXPECT_EQ(f.p1, f.tree.GetSelectedItem());
    std::vector<HTREEITEM> sel;
    for (HTREEITEM h = f.tree.GetFirstSelectedItem(); h; h = f.tree.GetNextSelectedItem(h))
        sel.push_back(h);
    EXPECT_EQ((std::vector<HTREEITEM>{ f.p1 }), sel);
    // p, p2, q; p2 collapsed; p2 again (p was open already: no second notification).
    EXPECT_EQ(5, f.parent.Count((int)TVN_ITEMEXPANDEDA));
    // Collapsing everything closes the deepest first; the caret climbs to the top-level item.
    f.tree.SelectItem(f.p2a);
    f.parent.notices.clear();
    f.tree.CollapseAll(NULL);
    EXPECT_EQ("p q r", f.Rows());
    EXPECT_EQ(f.p, f.tree.GetSelectedItem());
    EXPECT_FALSE(f.tree.IsItemExpanded(f.p2));
    std::vector<HTREEITEM> order;
    for (const Notice& n : f.parent.notices)
        if (n.code == (int)TVN_ITEMEXPANDEDA)
            order.push_back(n.itemNew);
    EXPECT_EQ((std::vector<HTREEITEM>{ f.p2, f.p, f.q }), order);
}

TEST(TreeExpand, ChildrenDeclaredAndInsertedOnDemand)
{
    TreeFixture f;
    TVINSERTSTRUCTA ins = {};
    ins.hParent = TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_CHILDREN;
    ins.item.pszText = (LPSTR) "lazy";
    ins.item.cChildren = 1;
    HTREEITEM lazy = f.tree.InsertItem(&ins);
    ins.item.pszText = (LPSTR) "empty";
    HTREEITEM empty = f.tree.InsertItem(&ins);
    f.parent.onExpanding = [&](NMTREEVIEWA* p) {
        if (p->itemNew.hItem == lazy && p->action == TVE_EXPAND)
            f.tree.InsertItem("loaded", lazy);
    };
    EXPECT_TRUE(f.tree.Expand(lazy, TVE_EXPAND));
    EXPECT_EQ("lazy loaded empty", f.Rows());
    EXPECT_FALSE(f.tree.Expand(empty, TVE_EXPAND));
    EXPECT_FALSE(f.tree.IsItemExpanded(empty));
}

TEST(TreeExpand, HoverExpandsTheDropTarget)
{
    Family f;
    f.tree.ModifyTreeStyleEx(0, TWKTVS_EX_HOVEREXPAND);
    f.tree.Expand(f.q, TVE_EXPAND);
    DWORD start = ::GetTickCount();
    f.tree.SelectDropTarget(f.p, FALSE);
    EXPECT_EQ(f.p, f.tree.GetDropHilightItem());
    // Not before the delay has passed, even while the list's type-ahead timer runs.
    f.tree.SendMessage(WM_CHAR, 'x', 1);
    while (::GetTickCount() - start < 600)
    {
        Pump();
        ::Sleep(20);
    }
    EXPECT_FALSE(f.tree.IsItemExpanded(f.p));
    while (!f.tree.IsItemExpanded(f.p) && ::GetTickCount() - start < 10000)
    {
        Pump();
        ::Sleep(20);
    }
    EXPECT_TRUE(f.tree.IsItemExpanded(f.p));
    EXPECT_GE(::GetTickCount() - start, 900u);
    // An item already expanded is left as it is.
    f.parent.notices.clear();
    f.tree.SelectDropTarget(f.q, FALSE);
    start = ::GetTickCount();
    while (::GetTickCount() - start < 1500)
    {
        Pump();
        ::Sleep(20);
    }
    EXPECT_EQ(0, f.parent.Count((int)TVN_ITEMEXPANDINGA));
    EXPECT_TRUE(f.tree.IsItemExpanded(f.q));
    EXPECT_FALSE(f.tree.SelectDropTarget(NULL));
    EXPECT_EQ(NULL, f.tree.GetDropHilightItem());
}

TEST(TreeExpand, ClickOnAButtonTogglesWithoutSelecting)
{
    Family f;
    f.tree.SelectItem(f.r);
    Click(f.tree, ButtonPoint(f.tree, f.p));
    EXPECT_TRUE(f.tree.IsItemExpanded(f.p));
    EXPECT_EQ(f.r, f.tree.GetSelectedItem());
    EXPECT_FALSE(f.tree.GetItemState(f.p, TVIS_SELECTED));
    Click(f.tree, ButtonPoint(f.tree, f.p));
    EXPECT_FALSE(f.tree.IsItemExpanded(f.p));
    // A double click on the label toggles, after the owner heard of it.
    CPoint pt = LabelPoint(f.tree, f.q);
    f.tree.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, Pt(pt.x, pt.y));
    EXPECT_TRUE(f.tree.IsItemExpanded(f.q));
    f.parent.answers[(int)NM_DBLCLK] = 1;
    f.tree.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, Pt(pt.x, pt.y));
    EXPECT_TRUE(f.tree.IsItemExpanded(f.q));
}

TEST(TreeExpand, SingleExpandClicks)
{
    Family f(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SINGLEEXPAND);
    f.tree.SelectItem(f.p);
    EXPECT_FALSE(f.tree.IsItemExpanded(f.p));
    Click(f.tree, LabelPoint(f.tree, f.p));     // the caret clicked again: toggled
    EXPECT_TRUE(f.tree.IsItemExpanded(f.p));
    Click(f.tree, LabelPoint(f.tree, f.p2));    // a child: the old caret is its ancestor and stays open
    EXPECT_EQ(f.p2, f.tree.GetSelectedItem());
    EXPECT_TRUE(f.tree.IsItemExpanded(f.p));
    EXPECT_TRUE(f.tree.IsItemExpanded(f.p2));
    Click(f.tree, LabelPoint(f.tree, f.q));     // elsewhere: the old caret closes, the new one opens
    EXPECT_EQ(f.q, f.tree.GetSelectedItem());
    EXPECT_FALSE(f.tree.IsItemExpanded(f.p2));
    EXPECT_TRUE(f.tree.IsItemExpanded(f.q));
}

TEST(TreeExpand, Keys)
{
    Family f;
    f.tree.SetFocus();
    f.tree.SelectItem(f.p);
    // The character path swallows the expand characters.
    for (UINT ch : { '+', '-', '=', '_' })
        f.tree.SendMessage(WM_CHAR, ch, 1);
    EXPECT_FALSE(f.tree.IsItemExpanded(f.p));
    EXPECT_EQ(f.p, f.tree.GetSelectedItem());
    struct Step { UINT vk; HTREEITEM caret; bool pExpanded; };
    const Step steps[] = {
        { VK_RIGHT, f.p, true },        // collapsed with children: expands
        { VK_RIGHT, f.p1, true },       // expanded: to the first child
        { VK_LEFT, f.p, true },         // no children: to the parent
        { VK_SUBTRACT, f.p, false },    // expanded: collapses
        { VK_ADD, f.p, true },
    };
    for (const Step& k : steps)
    {
        f.tree.SendMessage(WM_KEYDOWN, k.vk, 1);
        EXPECT_EQ(k.caret, f.tree.GetSelectedItem()) << k.vk;
        EXPECT_EQ(k.pExpanded, !!f.tree.IsItemExpanded(f.p)) << k.vk;
    }
    f.tree.SelectItem(f.p2);
    f.tree.SendMessage(WM_KEYDOWN, VK_BACK, 1);
    EXPECT_EQ(f.p, f.tree.GetSelectedItem());
    f.tree.Expand(f.p, TVE_COLLAPSE);
    f.tree.SendMessage(WM_KEYDOWN, VK_MULTIPLY, 1);
    EXPECT_EQ("p p1 p2 p2a q r", f.Rows());
    f.parent.notices.clear();
    f.tree.SendMessage(WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ((std::vector<int>{ (int)TVN_KEYDOWN, (int)NM_RETURN }), f.parent.Codes());
}

TEST(TreeExpand, LabelEditProtocol)
{
    Family f(TVS_HASBUTTONS | TVS_EDITLABELS);
    f.tree.SetFocus();
    f.tree.SelectItem(f.q);
    int row = f.tree.GetItemIndex(f.q);

    // A refusal of any non-zero value keeps the label from being edited.
    f.parent.answers[(int)TVN_BEGINLABELEDITA] = 2;
    f.tree.SendMessage(WM_KEYDOWN, VK_F2, 1);
    EXPECT_EQ(NULL, f.tree.GetEditControl()->GetSafeHwnd());
    f.parent.answers.clear();

    struct Case { LRESULT answer; const char* want; size_t messages; };
    const Case cases[] = { { 0, "q", 0 }, { 1, "renamed", 1 } };
    for (const Case& k : cases)
    {
        f.parent.answers[(int)TVN_ENDLABELEDITA] = k.answer;
        f.tree.SendMessage(WM_KEYDOWN, VK_F2, 1);
        CEdit* pEdit = f.tree.GetEditControl();
        ASSERT_NE(nullptr, pEdit->GetSafeHwnd());
        const Notice* begin = f.parent.Last((int)TVN_BEGINLABELEDITA);
        ASSERT_NE(nullptr, begin);
        EXPECT_EQ(f.q, begin->itemNew);
        EXPECT_TRUE(begin->mask & TVIF_TEXT);
        pEdit->SetWindowText("renamed");
        f.tree.EndLabelEdit(TRUE);
        EXPECT_EQ(CString(k.want), f.tree.GetItemText(f.q));
        const Notice* end = f.parent.Last((int)TVN_ENDLABELEDITA);
        ASSERT_NE(nullptr, end);
        EXPECT_EQ("renamed", end->text);
        ASSERT_EQ(k.messages, f.parent.edited.size());
        if (k.messages)
        {
            EXPECT_EQ(100u, f.parent.edited[0].first);
            EXPECT_EQ((LPARAM)f.q, f.parent.edited[0].second);
        }
    }
    // Cancelled: the owner gets no text.
    f.tree.SendMessage(WM_KEYDOWN, VK_F2, 1);
    ASSERT_NE(nullptr, f.tree.GetEditControl()->GetSafeHwnd());
    f.tree.EndLabelEdit(FALSE);
    EXPECT_FALSE(f.parent.Last((int)TVN_ENDLABELEDITA)->hasText);
    EXPECT_EQ(row, f.tree.GetItemIndex(f.q));
}
