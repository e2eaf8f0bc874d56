#include <gtest/gtest.h>
#include "afx/afx.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

class COwnerButton : public CButton
{
public:
    int drawn = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        ++drawn;
        ::FillRect(lpDIS->hDC, &lpDIS->rcItem, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    }
};

class CHost : public CWnd
{
public:
    std::vector<int> checkChanges;
    int itemChanged = 0;
    int resizeRequests = 0;
    CRect requested;
protected:
    afx_msg void OnCheckChange() { checkChanges.push_back(1); }
    afx_msg void OnItemChanged(NMHDR*, LRESULT* pResult) { ++itemChanged; *pResult = 0; }
    afx_msg void OnRequestResize(NMHDR* pNMHDR, LRESULT* pResult)
    {
        ++resizeRequests;
        requested = reinterpret_cast<REQRESIZE*>(pNMHDR)->rc;
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CHost, CWnd)
    ON_CLBN_CHKCHANGE(201, OnCheckChange)
    ON_NOTIFY(LVN_ITEMCHANGED, 202, OnItemChanged)
    ON_NOTIFY(EN_REQUESTRESIZE, 203, OnRequestResize)
END_MESSAGE_MAP()

struct Host {
    CHost wnd;
    Host()
    {
        EXPECT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 10, 10, 500, 400, nullptr, nullptr));
    }
    ~Host() { wnd.DestroyWindow(); }
};

TEST(Controls, EditListAndComboOperations)
{
    Host h;
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, CRect(0, 0, 200, 60), &h.wnd, 101));
    edit.SetWindowText("first\r\nsecond");
    EXPECT_EQ(2, edit.GetLineCount());
    char line[32] = {};
    int n = edit.GetLine(1, line, sizeof line);
    EXPECT_EQ("second", std::string(line, (size_t)n));
    EXPECT_EQ(1, edit.LineFromChar(9));
    edit.SetSel(0, 5);
    int s = -1, e = -1;
    edit.GetSel(s, e);
    EXPECT_EQ(0, s);
    EXPECT_EQ(5, e);
    edit.ReplaceSel("1st");
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ("1st\r\nsecond", text);
    edit.LimitText(4);
    EXPECT_EQ(4u, edit.GetLimitText());
    edit.SetReadOnly(TRUE);
    EXPECT_TRUE(edit.GetStyle() & ES_READONLY);

    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_EXTENDEDSEL | LBS_NOTIFY, CRect(0, 70, 200, 170), &h.wnd, 102));
    for (const char* s2 : {"a", "b", "c", "d"})
        list.AddString(s2);
    list.InsertString(0, "zero");
    list.SetItemData(2, 77);
    EXPECT_EQ(5, list.GetCount());
    EXPECT_EQ(77u, list.GetItemData(2));
    list.SetSel(1);
    list.SetSel(3);
    EXPECT_EQ(2, list.GetSelCount());
    CString item;
    list.GetText(3, item);
    EXPECT_STREQ("c", item);
    CRect rc;
    ASSERT_NE(LB_ERR, list.GetItemRect(2, &rc));
    BOOL outside = TRUE;
    EXPECT_EQ(2u, list.ItemFromPoint(rc.CenterPoint(), outside));
    EXPECT_FALSE(outside);
    list.SetCaretIndex(4);
    EXPECT_EQ(4, list.GetCaretIndex());
    EXPECT_EQ(0, list.GetTopIndex());

    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(210, 0, 400, 200), &h.wnd, 103));
    combo.AddString("one");
    combo.AddString("two");
    combo.InsertString(0, "none");
    EXPECT_EQ(3, combo.GetCount());
    EXPECT_EQ(2, combo.FindStringExact(-1, "two"));
    EXPECT_EQ(1, combo.SelectString(-1, "one"));
    EXPECT_EQ(1, combo.GetCurSel());
    CString lb;
    combo.GetLBText(2, lb);
    EXPECT_STREQ("two", lb);
    EXPECT_EQ(3, combo.GetLBTextLen(2));
    combo.DeleteString(0);
    EXPECT_EQ(2, combo.GetCount());
    combo.SetWindowText("abcdef");
    combo.SetEditSel(1, 3);
    EXPECT_EQ((DWORD)MAKELONG(1, 3), combo.GetEditSel());
    combo.ResetContent();
    EXPECT_EQ(0, combo.GetCount());
}

TEST(Controls, CheckListBoxTogglesAndTellsTheParent)
{
    Host h;
    CCheckListBox checks;
    ASSERT_TRUE(checks.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 200, 120), &h.wnd, 201));
    checks.AddString("Standard");
    checks.AddString("Build");
    checks.SetItemData(1, 1234);
    checks.SetCheck(0, 1);
    EXPECT_EQ(1, checks.GetCheck(0));
    EXPECT_EQ(0, checks.GetCheck(1));
    EXPECT_EQ(1234u, checks.GetItemData(1));

    CRect rc;
    checks.GetItemRect(1, &rc);
    checks.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.left + 3, rc.top + 3));
    checks.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rc.left + 3, rc.top + 3));
    EXPECT_EQ(1, checks.GetCheck(1));
    EXPECT_EQ(1u, h.wnd.checkChanges.size());
    EXPECT_EQ(1234u, checks.GetItemData(1));   // the state kept the caller's data
    // A click on the text only selects.
    checks.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rc.right - 5, rc.top + 3));
    checks.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rc.right - 5, rc.top + 3));
    EXPECT_EQ(1, checks.GetCheck(1));
    EXPECT_EQ(1u, h.wnd.checkChanges.size());
    // A height below what the boxes need is raised to it; larger ones stay.
    TEXTMETRICA tm;
    HDC hDC = ::GetDC(checks.m_hWnd);
    HFONT hFont = checks.GetFont() ? checks.GetFont() : (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    ::GetTextMetricsA(hDC, &tm);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(checks.m_hWnd, hDC);
    int nMin = tm.tmHeight < 14 ? 14 : (int)tm.tmHeight;
    checks.SendMessage(LB_SETITEMHEIGHT, 0, 0);
    EXPECT_EQ(nMin, checks.GetItemHeight(0));
    checks.SendMessage(LB_SETITEMHEIGHT, 0, nMin + 7);
    EXPECT_EQ(nMin + 7, checks.GetItemHeight(0));
    // Drawing runs through the reflected owner-draw messages.
    checks.UpdateWindow();
    checks.ResetContent();
    EXPECT_EQ(0, checks.GetCount());
}

TEST(Controls, RangesButtonsListViewToolTipsAndRichEdit)
{
    Host h;
    CScrollBar bar;
    ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE | SBS_HORZ, CRect(0, 0, 200, 16), &h.wnd, 301));
    SCROLLINFO si = {};
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0; si.nMax = 99; si.nPage = 10; si.nPos = 40;
    bar.SetScrollInfo(&si);
    SCROLLINFO got = {};
    ASSERT_TRUE(bar.GetScrollInfo(&got));
    EXPECT_EQ(99, got.nMax);
    EXPECT_EQ(40, got.nPos);

    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_CHILD | WS_VISIBLE, CRect(0, 20, 200, 50), &h.wnd, 302));
    slider.SetRange(5, 50);
    slider.SetPos(70);
    EXPECT_EQ(50, slider.GetPos());   // clamped to the range
    slider.SetPos(12);
    EXPECT_EQ(12, slider.GetPos());

    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_CHILD | WS_VISIBLE, CRect(210, 0, 230, 30), &h.wnd, 303));
    spin.SetRange(1, 9);
    int lo = 0, hi = 0;
    spin.GetRange(lo, hi);
    EXPECT_EQ(1, lo);
    EXPECT_EQ(9, hi);

    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_CHILD | WS_VISIBLE, CRect(0, 60, 200, 80), &h.wnd, 304));
    progress.SetRange(0, 200);
    progress.SetPos(150);
    EXPECT_EQ(150, progress.GetPos());

    COwnerButton button;
    ASSERT_TRUE(button.Create("x", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 90, 60, 120), &h.wnd, 305));
    button.RedrawWindow();
    EXPECT_GE(button.drawn, 1);
    CButton check;
    ASSERT_TRUE(check.Create("c", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(70, 90, 130, 120), &h.wnd, 306));
    check.SetCheck(BST_CHECKED);
    EXPECT_EQ(BST_CHECKED, check.GetCheck());

    CListCtrl lv;
    ASSERT_TRUE(lv.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 130, 300, 250), &h.wnd, 202));
    lv.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    EXPECT_EQ(0, lv.InsertItem(0, "alpha"));
    EXPECT_EQ(1, lv.InsertItem(1, "beta"));
    lv.SetItemData(1, 42);
    EXPECT_EQ(42u, lv.GetItemData(1));
    EXPECT_STREQ("beta", lv.GetItemText(1, 0));
    int before = h.wnd.itemChanged;
    lv.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_GT(h.wnd.itemChanged, before);
    EXPECT_EQ(1, lv.GetNextItem(-1, LVNI_SELECTED));
    EXPECT_EQ((UINT)LVIS_SELECTED, lv.GetItemState(1, LVIS_SELECTED));
    lv.DeleteAllItems();
    EXPECT_EQ(0, lv.GetItemCount());

    // Image lists go in and come back as wrapper objects: the held one
    // itself, the previous one on replacing it.
    CListCtrl shared;
    ASSERT_TRUE(shared.Create(WS_CHILD | LVS_LIST | LVS_SHAREIMAGELISTS, CRect(0, 0, 50, 50), &h.wnd, 204));
    CImageList small1, small2;
    ASSERT_TRUE(small1.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1));
    ASSERT_TRUE(small2.Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1));
    EXPECT_EQ(nullptr, shared.SetImageList(&small1, LVSIL_SMALL));
    EXPECT_EQ(&small1, shared.GetImageList(LVSIL_SMALL));
    EXPECT_EQ(&small1, shared.SetImageList(&small2, LVSIL_SMALL));
    EXPECT_EQ(nullptr, shared.GetImageList(LVSIL_NORMAL));
    HIMAGELIST hLoose = ImageList_Create(8, 8, ILC_COLOR24, 1, 1);
    ::SendMessageA(shared.m_hWnd, LVM_SETIMAGELIST, LVSIL_NORMAL, (LPARAM)hLoose);
    CImageList* pTemp = shared.SetImageList(nullptr, LVSIL_NORMAL);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(hLoose, pTemp->m_hImageList);
    shared.DestroyWindow();
    ImageList_Destroy(hLoose);

    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&h.wnd, TTS_ALWAYSTIP));
    CRect toolRect(0, 0, 50, 50);
    ASSERT_TRUE(tips.AddTool(&h.wnd, "Tip", &toolRect, 7));
    EXPECT_EQ(1, tips.GetToolCount());
    TOOLINFOA ti;
    EXPECT_TRUE(tips.HitTest(&h.wnd, CPoint(10, 10), &ti));
    EXPECT_EQ(7u, ti.uId);
    EXPECT_FALSE(tips.HitTest(&h.wnd, CPoint(100, 100), &ti));
    tips.UpdateTipText("Other", &h.wnd, 7);
    char buf[32] = "";
    TOOLINFOA info;
    tips.FillInToolInfo(info, &h.wnd, 7);
    info.lpszText = buf;
    tips.SendMessage(TTM_GETTEXTA, 0, (LPARAM)&info);
    EXPECT_STREQ("Other", buf);
    tips.SetTipBkColor(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), tips.GetTipBkColor());
    tips.SetDelayTime(TTDT_INITIAL, 123);
    EXPECT_EQ(123, tips.GetDelayTime(TTDT_INITIAL));
    tips.DelTool(&h.wnd, 7);
    EXPECT_EQ(0, tips.GetToolCount());

    CRichEditCtrl rich;
    ASSERT_TRUE(rich.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, CRect(310, 130, 480, 160), &h.wnd, 203));
    rich.SetEventMask(ENM_REQUESTRESIZE);
    EXPECT_EQ((DWORD)ENM_REQUESTRESIZE, rich.GetEventMask());
    rich.SetBackgroundColor(FALSE, RGB(255, 255, 224));
    rich.SetWindowText("line one\r\nline two\r\nline three");
    rich.RequestResize();
    EXPECT_GE(h.wnd.resizeRequests, 1);
    EXPECT_GT(h.wnd.requested.Height(), 0);
}

} // namespace
