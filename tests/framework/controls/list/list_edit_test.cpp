// Label editing, notifications, the label tip and the sub-item text store.
#include "list_test_support.h"

using namespace listtest;

namespace {

std::string Text(TWKListCtrl& list, int row, int subItem = 0)
{
    return (LPCSTR)list.GetItemString(row, subItem);
}

void Type(CEdit* pEdit, const char* text)
{
    pEdit->SetSel(0, -1);
    pEdit->ReplaceSel(text);
}

} // namespace

TEST(ListEdit, VetoAndOwnerAnswers)
{
    ListFixture f;
    f.list.AddColumn("A", LVCFMT_LEFT, 150);
    f.AddRows(3);
    // A veto of 1: the edit is gone.
    f.parent.answers[LVN_BEGINLABELEDITA] = 1;
    CEdit* pEdit = f.list.EditLabel(1, 0);
    EXPECT_EQ(f.list.GetEditControl(), pEdit);
    EXPECT_EQ(nullptr, pEdit->GetSafeHwnd());
    EXPECT_EQ(-1, f.list.GetEditRow());
    EXPECT_FALSE(f.list.EndLabelEdit(TRUE));
    f.parent.answers.clear();

    // The owner answers 0: the old text comes back.
    pEdit = f.list.EditLabel(1, 0);
    ASSERT_NE(nullptr, pEdit->GetSafeHwnd());
    EXPECT_EQ(nullptr, f.list.EditLabel(2, 0));   // one edit at a time
    Type(pEdit, "Changed");
    EXPECT_EQ("Changed", Text(f.list, 1));        // the cell shows the typing
    EXPECT_TRUE(f.list.EndLabelEdit(TRUE));
    EXPECT_EQ("Row 1", Text(f.list, 1));
    const Notice* n = f.parent.Last(LVN_ENDLABELEDITA);
    ASSERT_NE(nullptr, n);
    EXPECT_TRUE(n->hasText);
    EXPECT_EQ("Changed", n->text);
    EXPECT_EQ(1, n->item);
    EXPECT_FALSE(f.list.EndLabelEdit(TRUE));      // already gone

    // Non-zero accepts; Escape ends without saving.
    f.parent.answers[LVN_ENDLABELEDITA] = 1;
    pEdit = f.list.EditLabel(1, 0);
    Type(pEdit, "Accepted");
    EXPECT_TRUE(f.list.EndLabelEdit(TRUE));
    EXPECT_EQ("Accepted", Text(f.list, 1));
    pEdit = f.list.EditLabel(1, 0);
    Type(pEdit, "Dropped");
    pEdit->SendMessage(WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(nullptr, pEdit->GetSafeHwnd());
    EXPECT_EQ("Accepted", Text(f.list, 1));
    EXPECT_FALSE(f.parent.Last(LVN_ENDLABELEDITA)->hasText);
}

TEST(ListEdit, ReturnByWrapStyle)
{
    for (bool wrap : { true, false })
    {
        ListFixture f(LVS_REPORT | (wrap ? 0 : LVS_NOLABELWRAP));
        f.list.AddColumn("A", LVCFMT_LEFT, 150);
        f.AddRows(2);
        f.parent.answers[LVN_ENDLABELEDITA] = 1;
        CEdit* pEdit = f.list.EditLabel(0, 0);
        ASSERT_NE(nullptr, pEdit->GetSafeHwnd());
        pEdit->SetSel(-1, -1);
        pEdit->SendMessage(WM_KEYDOWN, VK_RETURN, 1);
        if (pEdit->GetSafeHwnd())
            pEdit->SendMessage(WM_CHAR, '\r', 1);
        EXPECT_EQ(wrap, pEdit->GetSafeHwnd() != nullptr);
        if (wrap)
        {
            CString s;
            pEdit->GetWindowText(s);
            EXPECT_NE(-1, s.Find("\r\n"));
            f.list.EndLabelEdit(FALSE);
        }
    }
}

TEST(ListEdit, TypingALongerWrappedLabelGrowsTheRow)
{
    ListFixture f(LVS_REPORT, 200, 200);
    f.list.AddColumn("A", LVCFMT_LEFT, 90);
    f.list.AddColumn("B", LVCFMT_LEFT, 60);
    f.AddRows(3);
    f.list.RecalcLayout();
    CRect before1, before0;
    ASSERT_TRUE(f.list.GetItemRect(0, &before0, LVIR_BOUNDS));
    ASSERT_TRUE(f.list.GetItemRect(1, &before1, LVIR_BOUNDS));
    CEdit* pEdit = f.list.EditLabel(0, 0);
    ASSERT_NE(nullptr, pEdit->GetSafeHwnd());
    Type(pEdit, "one two three four five six seven");
    CRect after1, after0;
    ASSERT_TRUE(f.list.GetItemRect(0, &after0, LVIR_BOUNDS));
    ASSERT_TRUE(f.list.GetItemRect(1, &after1, LVIR_BOUNDS));
    EXPECT_GT(after0.Height(), before0.Height());
    EXPECT_EQ(after0.bottom, after1.top);
    EXPECT_GT(after1.top, before1.top);
    CRect rcEdit;
    pEdit->GetWindowRect(&rcEdit);
    EXPECT_GE(rcEdit.Height(), after0.Height() - 4);
    f.list.EndLabelEdit(FALSE);
}

TEST(ListEdit, LongPasteIsCutToTheBuffer)
{
    ListFixture f;
    f.list.AddColumn("A", LVCFMT_LEFT, 150);
    f.AddRows(1);
    f.parent.answers[LVN_ENDLABELEDITA] = 1;
    size_t seenCapacity = 0;
    f.parent.onEndEdit = [&](NMLVDISPINFOA* p) { seenCapacity = strlen(p->item.pszText) + 1; };
    CEdit* pEdit = f.list.EditLabel(0, 0);
    ASSERT_NE(nullptr, pEdit->GetSafeHwnd());
    pEdit->LimitText(0);
    std::string big(5000, 'x');
    Type(pEdit, big.c_str());
    EXPECT_TRUE(f.list.EndLabelEdit(TRUE));
    EXPECT_EQ(2048u, seenCapacity);
    EXPECT_EQ(2047u, f.parent.Last(LVN_ENDLABELEDITA)->text.size());
    EXPECT_EQ(std::string(2047, 'x'), Text(f.list, 0));
    char small[8];
    EXPECT_EQ(7, f.list.GetItemText(0, 0, small, sizeof(small)));
    EXPECT_STREQ("xxxxxxx", small);
}

TEST(ListEdit, CopyCutKeepsWholeCharacters)
{
    char buffer[6];
    EXPECT_EQ(5, TWKCopyTextCut(buffer, 6, "abcdefgh"));
    EXPECT_STREQ("abcde", buffer);
    EXPECT_EQ(2, TWKCopyTextCut(buffer, 6, "ab"));
    EXPECT_EQ(0, TWKCopyTextCut(buffer, 1, "ab"));
    EXPECT_STREQ("", buffer);
    // A double-byte character is never split where the code page has them.
    if (::IsDBCSLeadByte(0x82))
    {
        const char sjis[] = "ab\x82\xa0" "cd";
        EXPECT_EQ(2, TWKCopyTextCut(buffer, 4, sjis));
        EXPECT_EQ(4, TWKCopyTextCut(buffer, 5, sjis));
    }
}

TEST(ListEdit, TipShowsForACutLabelOnly)
{
    ListFixture f(LVS_REPORT | LVS_NOLABELWRAP, 300, 150, TWKLVS_EX_LABELTIPS);
    ::SetForegroundWindow(f.parent.m_hWnd);
    ::SetActiveWindow(f.parent.m_hWnd);
    const char* label = "Label that gets a tip";
    int w;
    {
        CClientDC dc(&f.list);
        dc.SelectObject(f.list.GetItemFont());
        w = dc.GetTextExtent(label).cx;
    }
    f.list.AddColumn("A", LVCFMT_LEFT, w + 11);   // label right = 6 + w: fits by one pixel
    f.list.AddColumn("B", LVCFMT_LEFT, 60);
    f.list.InsertItem(0, label);
    f.list.InsertItem(1, label);
    f.list.RecalcLayout();
    TWKListTip* pTip = f.list.GetListTip();
    CRect rcLabel;
    ASSERT_TRUE(f.list.GetItemRect(0, &rcLabel, LVIR_LABEL));
    ASSERT_EQ(6 + w, rcLabel.right);
    const UINT hit = 0x2000 | LVHT_ONITEMLABEL;
    EXPECT_FALSE(pTip->Show(hit, 0, 0, 10, 30));
    EXPECT_FALSE(pTip->IsShowing());
    f.list.SetColumnWidth(0, w + 10);             // 1 pixel beyond the cell's right edge minus 5
    EXPECT_TRUE(pTip->Show(hit, 0, 0, 10, 30));
    EXPECT_EQ(0, pTip->GetRow());
    EXPECT_TRUE(pTip->IsWindowVisible());
    EXPECT_EQ(f.list.m_hWnd, ::GetCapture());
    // To another cut-off cell: the first tip goes, the second shows.
    EXPECT_TRUE(pTip->Show(hit, 1, 0, 10, 50));
    EXPECT_EQ(1, pTip->GetRow());
    CRect rcTip, rcLabel1;
    pTip->GetWindowRect(&rcTip);
    ASSERT_TRUE(f.list.GetItemRect(1, &rcLabel1, LVIR_LABEL));
    f.list.ClientToScreen(&rcLabel1);
    EXPECT_EQ(rcLabel1.top, rcTip.top);
    pTip->Hide();
    EXPECT_FALSE(pTip->IsShowing());
    EXPECT_EQ(nullptr, ::GetCapture());
    // Not on a label or cell: hidden.
    EXPECT_FALSE(pTip->Show(LVHT_NOWHERE, 1, 0, 10, 50));

    // Kept inside the screen at both edges.
    int cx = ::GetSystemMetrics(SM_CXSCREEN);
    CRect rc(cx - 20, 5, cx + 30, 20);
    TWKListTip::ClampToScreen(&rc);
    EXPECT_EQ(CRect(cx - 50, 5, cx, 20), rc);
    rc.SetRect(-15, 5, 20, 20);
    TWKListTip::ClampToScreen(&rc);
    EXPECT_EQ(CRect(0, 5, 35, 20), rc);
}

TEST(ListEdit, SubItemTextStore)
{
    TWKSubItemTextStorage store;
    int a = 0, b = 0;
    char buffer[16];
    EXPECT_FALSE(store.Lookup(&a, 1, buffer, sizeof(buffer)));
    EXPECT_STREQ("", buffer);
    EXPECT_TRUE(store.SetText(&a, 5, "five"));
    for (int i = 1; i <= 4; ++i)
    {
        strcpy(buffer, "junk");
        EXPECT_TRUE(store.Lookup(&a, i, buffer, sizeof(buffer))) << i;
        EXPECT_STREQ("", buffer);
    }
    EXPECT_TRUE(store.Lookup(&a, 5, buffer, sizeof(buffer)));
    EXPECT_STREQ("five", buffer);
    EXPECT_FALSE(store.Lookup(&a, 6, buffer, sizeof(buffer)));
    // Bounded copy.
    EXPECT_TRUE(store.Lookup(&a, 5, buffer, 3));
    EXPECT_STREQ("fi", buffer);

    store.SetText(&a, 1, "one");
    store.SetText(&a, 2, "two");
    EXPECT_TRUE(store.MoveText(&a, 1, 3));    // one two "" ... -> two "" one
    store.Lookup(&a, 1, buffer, sizeof(buffer));
    EXPECT_STREQ("two", buffer);
    store.Lookup(&a, 3, buffer, sizeof(buffer));
    EXPECT_STREQ("one", buffer);
    EXPECT_FALSE(store.MoveText(&b, 1, 2));
    store.RemoveItem(&a);
    EXPECT_FALSE(store.Lookup(&a, 5, buffer, sizeof(buffer)));
}
