// The list's data model: creation, styles, colours, image lists; rows,
// columns, cells and the selection.
#include "list_test_support.h"

using namespace listtest;

namespace {

// Columns as (sub-item) in display order.
std::vector<int> SubItems(TWKListCtrl& list)
{
    std::vector<int> v;
    for (int c = 0; c < list.GetColumnCount(); ++c)
        v.push_back(list.GetColumnPtr(c)->iSubItem);
    return v;
}

std::string Cell(TWKListCtrl& list, int row, int column)
{
    return (LPCSTR)list.GetItemString(row, list.GetColumnSubItem(column));
}

} // namespace

TEST(ListModel, CreationWithAndWithoutReport)
{
    {
        ListFixture f(0);
        EXPECT_EQ(1, f.list.GetColumnCount());
        EXPECT_EQ(0, f.list.GetColumnPtr(0)->iSubItem);
        EXPECT_FALSE(f.list.IsHeaderVisible());
        // A single column fits the list area.
        CRect rc;
        f.list.GetInsideRect(&rc);
        EXPECT_EQ(rc.Width(), f.list.GetColumnWidth(0));
    }
    {
        CRecorder parent;
        ASSERT_TRUE(parent.CreateTop(100, 100));
        TWKListCtrl list;
        ASSERT_TRUE(list.Create(WS_CHILD | LVS_NOLABELWRAP, 0, CRect(0, 0, 5, 5), &parent, 1));
        // Not yet sized: the column is the 20 pixels it was made with until a WM_SIZE.
        EXPECT_EQ(1, list.GetColumnCount());
        EXPECT_EQ(LVS_NOLABELWRAP | LVS_NOCOLUMNHEADER, list.GetListStyle() & (LVS_NOLABELWRAP | LVS_NOCOLUMNHEADER));
    }
    ListFixture f(LVS_REPORT | LVS_SHOWSELALWAYS, 300, 200, TWKLVS_EX_FULLROWSELECT | WS_EX_CLIENTEDGE);
    EXPECT_EQ(0, f.list.GetColumnCount());
    EXPECT_TRUE(f.list.IsHeaderVisible());
    // The list's bits leave the window's style words.
    EXPECT_EQ(0u, f.list.GetStyle() & 0xf3ffu);
    EXPECT_EQ(0u, f.list.GetExStyle() & 0x1ff00000u);
    EXPECT_TRUE(f.list.GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(f.list.HasListStyle(LVS_REPORT | LVS_SHOWSELALWAYS));
    EXPECT_TRUE(f.list.HasListStyleEx(TWKLVS_EX_FULLROWSELECT));
}

TEST(ListModel, StyleSwitches)
{
    ListFixture f;
    f.list.AddColumn("A", LVCFMT_LEFT, 100);
    f.AddRows(5);
    f.list.SelectRange(1, 3, TRUE);
    EXPECT_EQ(3, f.list.GetSelectedCount() - (f.list.GetItemState(0, LVIS_SELECTED) ? 1 : 0));
    f.list.EnableMultiSelect(FALSE);
    EXPECT_EQ(0, f.list.GetSelectedCount());
    EXPECT_FALSE(f.list.IsMultiSelect());

    f.list.ModifyListStyle(0, LVS_NOSORTHEADER);
    f.list.ShowHeader(TRUE, FALSE);
    EXPECT_TRUE(f.list.IsHeaderVisible());
    EXPECT_TRUE(f.list.HasListStyle(LVS_NOSORTHEADER));
    f.list.ShowHeader(TRUE, TRUE);
    EXPECT_FALSE(f.list.HasListStyle(LVS_NOSORTHEADER));
    f.list.ShowHeader(FALSE, FALSE);
    EXPECT_TRUE(f.list.HasListStyle(LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER));

    f.list.EnableLabelTips(TRUE);
    EXPECT_TRUE(f.list.IsLabelTipsEnabled());
    f.list.EnableLabelWrap(FALSE);
    EXPECT_FALSE(f.list.IsLabelWrapEnabled());
}

TEST(ListModel, ColoursSurviveSystemChangeUnlessAuto)
{
    ListFixture f;
    f.list.SetTextColor(RGB(1, 2, 3));
    f.list.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(RGB(1, 2, 3), f.list.GetTextColor());
    f.list.SetAutoSysColors(TRUE);
    f.list.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), f.list.GetTextColor());
    f.list.SetBkColor(RGB(9, 9, 9));
    EXPECT_EQ(RGB(9, 9, 9), f.list.GetTextBkColor());
    f.list.EnableWindow(FALSE);
    EXPECT_EQ(::GetSysColor(COLOR_MENU), f.list.GetBkColor());
}

TEST(ListModel, ImageListsCopiedOrShared)
{
    CImageList source;
    ASSERT_TRUE(source.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 2));
    source.SetImageCount(2);
    {
        ListFixture f;
        EXPECT_EQ(nullptr, f.list.SetImageList(&source, LVSIL_SMALL));
        CImageList* pCopy = f.list.GetImageList(LVSIL_SMALL);
        ASSERT_NE(nullptr, pCopy);
        EXPECT_NE(&source, pCopy);
        EXPECT_EQ(2, pCopy->GetImageCount());
        EXPECT_EQ(nullptr, f.list.SetImageList(&source, 4));
        EXPECT_EQ(nullptr, f.list.GetImageList(-1));
        // A second set answers the previous copy, which the caller now owns.
        CImageList* pOld = f.list.SetImageList(&source, LVSIL_SMALL);
        EXPECT_EQ(pCopy, pOld);
        delete pOld;
    }   // the copy is deleted with the window
    {
        ListFixture f(LVS_REPORT | LVS_SHAREIMAGELISTS);
        f.list.SetImageList(&source, LVSIL_SMALL);
        EXPECT_EQ(&source, f.list.GetImageList(LVSIL_SMALL));
        f.list.DestroyWindow();
    }
    EXPECT_EQ(2, source.GetImageCount());   // a shared list is not deleted
}

TEST(ListModel, FirstInsertFocusesAndSelects)
{
    ListFixture f;
    f.list.AddColumn("A", LVCFMT_LEFT, 100);
    EXPECT_EQ(0, f.list.InsertItem(0, "one"));
    EXPECT_EQ(0, f.list.GetFocusItem());
    EXPECT_EQ(LVIS_SELECTED | LVIS_FOCUSED, f.list.GetItemState(0, LVIS_SELECTED | LVIS_FOCUSED));
    // Inserting in front moves focus and selection with their row.
    f.list.InsertItem(0, "zero");
    EXPECT_EQ(1, f.list.GetFocusItem());
    EXPECT_EQ(std::vector<int>{ 1 }, f.Selection());
    // An index beyond the count appends.
    EXPECT_EQ(99, f.list.InsertItem(99, "two"));
    EXPECT_EQ("two", Cell(f.list, 2, 0));
}

TEST(ListModel, DeleteItemRuns)
{
    struct Case {
        int focus;
        std::vector<int> selected;
        int first, count;
        int focusAfter;
        std::vector<int> selectedAfter;
        int rowsAfter;
    };
    const Case cases[] = {
        { 3, { 3 }, 2, 3, 1, { 1 }, 7 },            // focus inside the run: the row before; re-selected
        { 7, { 7, 8 }, 2, 3, 4, { 4, 5 }, 7 },      // after the run: moves down by the count
        { 0, { 0, 1 }, 0, 2, 0, { 0 }, 8 },         // run from row 0: focus -1, then the new row 0... re-selected
        { 5, { 5 }, 8, 100, 5, { 5 }, 8 },          // a count past the end stops at the end
        { 9, { 9 }, 9, 1, 8, { 8 }, 9 },            // the last row
    };
    for (const Case& c : cases)
    {
        ListFixture f;
        f.list.AddColumn("A", LVCFMT_LEFT, 100);
        f.AddRows(10);
        f.list.DeselectAllExcept(-1);
        f.list.SetFocusItemOnly(c.focus);
        for (int r : c.selected)
            f.list.SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
        EXPECT_TRUE(f.list.DeleteItem(c.first, c.count));
        EXPECT_EQ(c.rowsAfter, f.list.GetItemCount());
        if (c.first == 0 && c.focus < c.count)
        {
            // No row before the run: no focus, and nothing to re-select.
            EXPECT_EQ(-1, f.list.GetFocusItem());
            EXPECT_TRUE(f.Selection().empty());
        }
        else
        {
            EXPECT_EQ(c.focusAfter, f.list.GetFocusItem()) << c.focus << " " << c.first;
            EXPECT_EQ(c.selectedAfter, f.Selection()) << c.focus << " " << c.first;
        }
        EXPECT_EQ(1, f.parent.Count(LVN_DELETEITEM));
        EXPECT_EQ(c.first, f.parent.Last(LVN_DELETEITEM)->item);
    }
    ListFixture f;
    EXPECT_FALSE(f.list.DeleteItem(0, 1));
}

TEST(ListModel, CellsAskTheOwnerUntilSet)
{
    ListFixture f;
    f.list.AddColumn("A", LVCFMT_LEFT, 100);
    f.AddRows(2);
    f.list.AddColumn("B", LVCFMT_LEFT, 80);     // a new cell for every row
    f.parent.onDispInfo = [](NMLVDISPINFOA* p) {
        if ((p->item.mask & LVIF_TEXT) && p->item.pszText)
            lstrcpynA(p->item.pszText, "owner", p->item.cchTextMax);
    };
    EXPECT_EQ("owner", Cell(f.list, 1, 1));
    const Notice* n = f.parent.Last(LVN_GETDISPINFOA);
    ASSERT_NE(nullptr, n);
    EXPECT_EQ(1, n->item);
    EXPECT_EQ(1, n->subItem);
    EXPECT_EQ((UINT)LVIF_TEXT, n->mask);
    // A bare LVIF_TEXT to a callback cell goes to the owner, not the cell...
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = 1;
    item.iSubItem = 1;
    item.pszText = (LPSTR) "mine";
    f.list.SetItem(&item, TRUE);
    EXPECT_EQ("owner", Cell(f.list, 1, 1));
    // ...with LVIF_DI_SETITEM (and through SetItemText) it is stored.
    item.mask = LVIF_TEXT | LVIF_DI_SETITEM;
    item.pszText = (LPSTR) "stored";
    f.list.SetItem(&item, TRUE);
    size_t before = f.parent.notices.size();
    EXPECT_EQ("stored", Cell(f.list, 1, 1));
    EXPECT_EQ(before, f.parent.notices.size());
    f.list.SetItemText(0, 1, "set");
    EXPECT_EQ("set", Cell(f.list, 0, 1));
    // Without notification the caller sees the marker of an unset cell.
    f.list.AddColumn("C", LVCFMT_LEFT, 80);
    item = {};
    item.mask = LVIF_TEXT;
    item.iItem = 0;
    item.iSubItem = 2;
    EXPECT_TRUE(f.list.GetItem(&item, FALSE, FALSE));
    EXPECT_EQ(LPSTR_TEXTCALLBACK, item.pszText);
}

TEST(ListModel, OwnerAnswerWithSetItemIsStored)
{
    ListFixture f;
    f.list.AddColumn("A", LVCFMT_LEFT, 100);
    f.list.InsertItem(0, LPSTR_TEXTCALLBACK);
    int calls = 0;
    f.parent.onDispInfo = [&](NMLVDISPINFOA* p) {
        ++calls;
        lstrcpynA(p->item.pszText, "given", p->item.cchTextMax);
        p->item.mask |= LVIF_DI_SETITEM;
    };
    f.list.UpdateWindow();
    CClientDC dc(&f.list);
    TWKListPaintContext* pCtx = f.list.CreatePaintContext(&dc);
    pCtx->m_item.iItem = 0;
    pCtx->m_pItem = f.list.GetItemPtr(0);
    pCtx->m_pColumn = f.list.GetColumnPtr(0);
    EXPECT_TRUE(f.list.PreparePaintContext(pCtx));
    delete pCtx;
    int after = calls;
    EXPECT_GE(after, 1);
    EXPECT_EQ("given", Cell(f.list, 0, 0));
    EXPECT_EQ(after, calls);   // no longer asked
}

TEST(ListModel, ImageOnlyChangeInvalidatesNothing)
{
    ListFixture f;
    f.list.AddColumn("A", LVCFMT_LEFT, 100);
    f.AddRows(3);
    f.list.UpdateWindow();
    f.list.SetItem(1, 0, LVIF_IMAGE, nullptr, 4, 0, 0, 0);
    CRect rc;
    EXPECT_FALSE(::GetUpdateRect(f.list.m_hWnd, &rc, FALSE));
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = 1;
    f.list.GetItem(&item, FALSE, FALSE);
    EXPECT_EQ(4, item.iImage);
    f.list.SetItemText(1, 0, "changed");
    EXPECT_TRUE(::GetUpdateRect(f.list.m_hWnd, &rc, FALSE));
}

TEST(ListModel, InsertColumnKeepsCellsUnderTheirColumns)
{
    ListFixture f;
    f.list.AddColumn("C0", LVCFMT_RIGHT, 100);
    f.list.AddColumn("C1", LVCFMT_LEFT, 60);
    f.list.AddColumn("C2", LVCFMT_LEFT, 60);
    f.list.InsertItem(0, "label");
    f.list.SetItemText(0, 1, "one");
    f.list.SetItemText(0, 2, "two");
    EXPECT_EQ((std::vector<int>{ 0, 1, 2 }), SubItems(f.list));

    // Mid-list: the new column shows its own fresh cell, the others keep theirs.
    EXPECT_TRUE(f.list.InsertColumn(1, "New", LVCFMT_LEFT, 50));
    EXPECT_EQ((std::vector<int>{ 0, 1, 2, 3 }), SubItems(f.list));
    EXPECT_EQ(3, f.list.GetSubItemCount());
    EXPECT_EQ(3, f.list.GetItemPtr(0)->m_subItems.GetSize());
    f.list.SetItemText(0, 1, "new");
    EXPECT_EQ("label", Cell(f.list, 0, 0));
    EXPECT_EQ("new", Cell(f.list, 0, 1));
    EXPECT_EQ("one", Cell(f.list, 0, 2));
    EXPECT_EQ("two", Cell(f.list, 0, 3));

    // At 0: left aligned and the label's sub-item, whatever was asked.
    EXPECT_TRUE(f.list.InsertColumn(0, "Front", LVCFMT_CENTER, 40, 7));
    EXPECT_EQ(0, f.list.GetColumnFormat(0));
    EXPECT_EQ(0, f.list.GetColumnPtr(0)->iSubItem);

    // Appending with sub-item -1 and width -1.
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT;
    col.pszText = (LPSTR) "End";
    EXPECT_TRUE(f.list.InsertColumn(f.list.GetColumnCount(), &col));
    TWKListColumn* pEnd = f.list.GetColumnPtr(f.list.GetColumnCount() - 1);
    EXPECT_EQ(4, pEnd->iSubItem);
    EXPECT_EQ(10, pEnd->cx);
    int column = -1, subItem = -1;
    EXPECT_TRUE(f.list.LookupColumn("End", &column, &subItem));
    EXPECT_EQ(4, subItem);
    EXPECT_FALSE(f.list.HasColumn("end"));
}

TEST(ListModel, MoveAndDeleteColumns)
{
    ListFixture f;
    f.list.AddColumn("C0", LVCFMT_LEFT, 100);
    f.list.AddColumn("C1", LVCFMT_LEFT, 60);
    f.list.AddColumn("C2", LVCFMT_LEFT, 70);
    f.list.InsertItem(0, "label");
    f.list.SetItemText(0, 1, "one");
    f.list.SetItemText(0, 2, "two");
    EXPECT_FALSE(f.list.MoveColumn(0, 2));
    EXPECT_FALSE(f.list.MoveColumn(2, 0));
    EXPECT_TRUE(f.list.MoveColumn(2, 1));
    EXPECT_EQ("C2", std::string((LPCSTR)f.list.GetColumnText(1)));
    EXPECT_EQ((std::vector<int>{ 0, 1, 2 }), SubItems(f.list));
    EXPECT_TRUE(f.list.MoveColumn(1, 99));   // beyond the end: the last position
    EXPECT_EQ("C2", std::string((LPCSTR)f.list.GetColumnText(2)));

    // Deleting a column drops its cells and gives its width to the label column.
    EXPECT_TRUE(f.list.DeleteColumn("C1"));
    EXPECT_EQ(2, f.list.GetColumnCount());
    EXPECT_EQ(160, f.list.GetColumnWidth(0));
    EXPECT_EQ(1, f.list.GetColumnPtr(1)->iSubItem);
    EXPECT_EQ("two", Cell(f.list, 0, 1));
    EXPECT_FALSE(f.list.DeleteColumn(5));
    EXPECT_EQ(0, f.list.GetColumnWidth(5));
    EXPECT_EQ(-1, f.list.GetColumnSubItem(5));
}

TEST(ListModel, GetNextItemCodes)
{
    ListFixture f;
    f.list.AddColumn("A", LVCFMT_LEFT, 100);
    f.AddRows(20);
    f.list.DeselectAllExcept(-1);
    for (int r : { 3, 8, 12, 13, 14, 15, 16, 17, 19 })
        f.list.SetItemState(r, LVIS_SELECTED, LVIS_SELECTED);
    f.list.SetFocusItemOnly(5);
    struct Case { int start; UINT flags; int expected; };
    const Case cases[] = {
        { -1, LVNI_SELECTED, 3 },   { 3, LVNI_SELECTED, 8 },     { 19, LVNI_SELECTED, -1 },
        { 12, LVNI_SELECTED | LVNI_ABOVE, 8 }, { 3, LVNI_SELECTED | LVNI_ABOVE, -1 },
        { 19, 0, -1 },              { 18, 0, 19 },               { -1, 0, 0 },
        { 0, LVNI_ABOVE, -1 },      { 7, LVNI_ABOVE, 6 },        { -1, LVNI_FOCUSED, 5 },
        { 5, LVNI_FOCUSED, -1 },    { 10, LVNI_FOCUSED | LVNI_ABOVE, 5 },
        { 4, LVNI_SELECTED | LVNI_FOCUSED, 5 },  { 0, 0x10000, -1 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, f.list.GetNextItem(c.start, c.flags)) << c.start << " " << c.flags;
}

TEST(ListModel, InsertNextToARowObject)
{
    ListFixture f;
    f.list.AddColumn("A", LVCFMT_LEFT, 100);
    f.AddRows(3);
    TWKListItem* pRow1 = f.list.GetItemPtr(1);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = (LPSTR) "before";
    f.list.InsertItemBefore(pRow1, &item);
    EXPECT_EQ("before", Cell(f.list, 1, 0));
    EXPECT_EQ(pRow1, f.list.GetItemPtr(2));
    item.pszText = (LPSTR) "after";
    f.list.InsertItemAfter(pRow1, &item);
    EXPECT_EQ("after", Cell(f.list, 3, 0));
    item.pszText = (LPSTR) "first";
    f.list.InsertItemBefore(nullptr, &item);
    EXPECT_EQ("first", Cell(f.list, 0, 0));
}

TEST(ListModel, SelectionSearchAndStateBits)
{
    ListFixture f;
    f.list.AddColumn("A", LVCFMT_LEFT, 100);
    f.AddRows(50);
    f.list.SelectRange(40, 10, TRUE);
    EXPECT_EQ(31 + 1, f.list.GetSelectedCount());   // row 0 was selected by the first insert
    EXPECT_TRUE(f.list.IsItemSelected(25));
    EXPECT_FALSE(f.list.IsItemSelected(41));
    EXPECT_FALSE(f.list.IsItemSelected(-1));
    f.list.SetItemState(20, LVIS_CUT, LVIS_CUT);
    EXPECT_EQ((UINT)(LVIS_CUT | LVIS_SELECTED), f.list.GetItemState(20, LVIS_CUT | LVIS_SELECTED));
    EXPECT_EQ(20, f.list.GetNextItem(-1, LVNI_CUT));
    f.list.SetDropHighlight(7);
    EXPECT_EQ(7, f.list.GetDropHighlight());
    f.list.SetDropHighlight(-1);
    EXPECT_EQ(-1, f.list.GetDropHighlight());
    f.list.SetItemData(3, 1234);
    EXPECT_EQ(1234u, f.list.GetItemData(3));
    EXPECT_EQ(0u, f.list.GetItemData(500));
}
