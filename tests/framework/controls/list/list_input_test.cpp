// Selection by keys and clicks, type-ahead, the delayed edit, header buttons.
#include "list_test_support.h"

using namespace listtest;

namespace {

// Holds Shift and/or Ctrl down in the thread's key state while alive.
struct HeldKeys
{
    BYTE saved[256];
    HeldKeys(bool shift, bool ctrl)
    {
        ::GetKeyboardState(saved);
        BYTE keys[256];
        memcpy(keys, saved, sizeof(keys));
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }
    ~HeldKeys() { ::SetKeyboardState(saved); }
};

void Key(TWKListCtrl& list, UINT vk, bool shift = false, bool ctrl = false)
{
    HeldKeys held(shift, ctrl);
    list.SendMessage(WM_KEYDOWN, vk, 1);
}

CPoint LabelPoint(TWKListCtrl& list, int row)
{
    CRect rc;
    EXPECT_TRUE(list.GetItemRect(row, &rc, LVIR_LABEL));
    return rc.CenterPoint();
}

void Click(TWKListCtrl& list, CPoint pt, UINT message = WM_LBUTTONDOWN)
{
    list.SendMessage(message, MK_LBUTTON, Pt(pt.x, pt.y));
    list.SendMessage(WM_LBUTTONUP, 0, Pt(pt.x, pt.y));
}

} // namespace

TEST(ListInput, ShiftCtrlAndSpace)
{
    ListFixture f;
    f.list.AddColumn("A", LVCFMT_LEFT, 150);
    f.AddRows(8);
    f.list.SetFocus();
    Key(f.list, VK_DOWN);
    EXPECT_EQ(1, f.list.GetFocusItem());
    EXPECT_EQ(std::vector<int>{ 1 }, f.Selection());
    Key(f.list, VK_DOWN, true);
    Key(f.list, VK_DOWN, true);
    EXPECT_EQ(3, f.list.GetFocusItem());
    EXPECT_EQ((std::vector<int>{ 1, 2, 3 }), f.Selection());
    Key(f.list, VK_UP, true);
    EXPECT_EQ((std::vector<int>{ 1, 2 }), f.Selection());
    // Ctrl moves only the focus; Space then toggles the focus row.
    Key(f.list, VK_DOWN, false, true);
    Key(f.list, VK_DOWN, false, true);
    EXPECT_EQ(4, f.list.GetFocusItem());
    EXPECT_EQ((std::vector<int>{ 1, 2 }), f.Selection());
    Key(f.list, VK_SPACE);
    EXPECT_EQ((std::vector<int>{ 1, 2, 4 }), f.Selection());
    Key(f.list, VK_SPACE);
    EXPECT_EQ((std::vector<int>{ 1, 2 }), f.Selection());
    // Home and End with Shift select from the anchor.
    Key(f.list, VK_HOME);
    EXPECT_EQ(std::vector<int>{ 0 }, f.Selection());
    Key(f.list, VK_END, true);
    EXPECT_EQ(8, (int)f.Selection().size());
    EXPECT_EQ(7, f.list.GetFocusItem());
}

TEST(ListInput, ClickKeepsAMultipleSelectionUntilRelease)
{
    ListFixture f;
    f.list.AddColumn("A", LVCFMT_LEFT, 150);
    f.AddRows(5);
    f.list.SelectRange(0, 2, TRUE);
    CPoint pt = LabelPoint(f.list, 1);
    f.list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(pt.x, pt.y));
    EXPECT_EQ((std::vector<int>{ 0, 1, 2 }), f.Selection());
    f.list.SendMessage(WM_LBUTTONUP, 0, Pt(pt.x, pt.y));
    EXPECT_EQ(std::vector<int>{ 1 }, f.Selection());
    EXPECT_EQ(1, f.list.GetFocusItem());
    EXPECT_EQ(1, f.parent.Count(NM_CLICK));
    // Ctrl+click toggles.
    {
        HeldKeys held(false, true);
        CPoint pt3 = LabelPoint(f.list, 3);
        f.list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, Pt(pt3.x, pt3.y));
        f.list.SendMessage(WM_LBUTTONUP, MK_CONTROL, Pt(pt3.x, pt3.y));
    }
    EXPECT_EQ((std::vector<int>{ 1, 3 }), f.Selection());
}

TEST(ListInput, TypeAhead)
{
    ListFixture f;
    f.list.AddColumn("A", LVCFMT_LEFT, 150);
    for (const char* label : { "apple", "Banana", "berry", "cherry" })
        f.list.InsertItem(f.list.GetItemCount(), label);
    f.list.SetFocus();
    // Two quick letters: the first row after the focus with "b", then with "be".
    f.list.SendMessage(WM_CHAR, 'b', 1);
    EXPECT_EQ(1, f.list.GetFocusItem());
    f.list.SendMessage(WM_CHAR, 'E', 1);
    EXPECT_EQ(2, f.list.GetFocusItem());
    PumpFor(700);
    // The search wraps to row 0.
    f.list.SetFocusItem(3, TRUE);
    f.list.SendMessage(WM_CHAR, 'a', 1);
    EXPECT_EQ(0, f.list.GetFocusItem());
    PumpFor(700);
    // A miss ignores keys until the search ends.
    f.list.SendMessage(WM_CHAR, 'z', 1);
    f.list.SendMessage(WM_CHAR, 'c', 1);
    EXPECT_EQ(0, f.list.GetFocusItem());
    PumpFor(700);
    f.list.SendMessage(WM_CHAR, 'c', 1);
    EXPECT_EQ(3, f.list.GetFocusItem());
}

TEST(ListInput, SlowSecondClickStartsTheEdit)
{
    for (bool doubleClick : { false, true })
    {
        ListFixture f(LVS_REPORT | LVS_EDITLABELS);
        f.list.AddColumn("A", LVCFMT_LEFT, 150);
        f.AddRows(3);
        f.list.SetFocus();
        CPoint pt = LabelPoint(f.list, 0);
        Click(f.list, pt);
        PumpFor(600);
        EXPECT_EQ(nullptr, f.list.GetEditControl()->GetSafeHwnd());
        Click(f.list, pt);
        if (doubleClick)
            Click(f.list, pt, WM_LBUTTONDBLCLK);
        PumpFor(200);
        EXPECT_EQ(nullptr, f.list.GetEditControl()->GetSafeHwnd());
        PumpFor(600);
        EXPECT_EQ(!doubleClick, f.list.GetEditControl()->GetSafeHwnd() != nullptr);
        EXPECT_EQ(doubleClick ? 0 : 1, f.parent.Count(LVN_BEGINLABELEDITA));
        f.list.EndLabelEdit(FALSE);
    }
}

TEST(ListInput, HeaderButtonsAndDrags)
{
    ListFixture f(LVS_REPORT, 400, 150);
    f.list.ModifyListStyleEx(0, TWKLVS_EX_HEADERDRAGDROP);
    f.list.AddColumn("C0", LVCFMT_LEFT, 100);
    f.list.AddColumn("C1", LVCFMT_LEFT, 80);
    f.list.AddColumn("C2", LVCFMT_LEFT, 80);
    f.AddRows(2);
    f.list.RecalcLayout();
    auto order = [&] {
        std::string s;
        for (int c = 0; c < f.list.GetColumnCount(); ++c)
            s += (LPCSTR)f.list.GetColumnText(c);
        return s;
    };
    auto drag = [&](int x0, int x1) {
        f.list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(x0, 10));
        f.list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(x0 + 3, 10));
        f.list.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(x1, 10));
        f.list.SendMessage(WM_LBUTTONUP, 0, Pt(x1, 10));
        Pump();
    };
    // A click reports the column's display position.
    f.list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(140, 10));
    f.list.SendMessage(WM_LBUTTONUP, 0, Pt(140, 10));
    const Notice* n = f.parent.Last(LVN_COLUMNCLICK);
    ASSERT_NE(nullptr, n);
    EXPECT_EQ(1, n->subItem);
    EXPECT_EQ(-1, n->item);
    drag(50, 250);                       // the first button does not move
    EXPECT_EQ("C0C1C2", order());
    drag(120, 170);                      // dropped on its own right half
    EXPECT_EQ("C0C1C2", order());
    drag(120, 250);                      // onto the right half of C2: to the end
    EXPECT_EQ("C0C2C1", order());
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    // The first button, never dragged, was clicked; the drags were not.
    EXPECT_EQ(2, f.parent.Count(LVN_COLUMNCLICK));
    EXPECT_EQ(0, f.parent.Last(LVN_COLUMNCLICK)->subItem);
}

TEST(ListInput, KeysThatReachTheParent)
{
    ListFixture f;
    f.list.AddColumn("A", LVCFMT_LEFT, 150);
    f.AddRows(2);
    Key(f.list, VK_TAB);
    Key(f.list, VK_ESCAPE);
    Key(f.list, VK_RETURN);
    Pump();
    EXPECT_EQ(1, f.parent.nNextDlgCtl);
    EXPECT_EQ(1, f.parent.nCommands);
    EXPECT_EQ(1, f.parent.Count(NM_RETURN));
    EXPECT_EQ(3, f.parent.Count(LVN_KEYDOWN));
    EXPECT_EQ((WORD)VK_RETURN, f.parent.Last(LVN_KEYDOWN)->key);
    EXPECT_EQ((UINT)0x87, (UINT)f.list.SendMessage(WM_GETDLGCODE));
}
