#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/controls/dialogs/TWKListBoxEditor.h"
#include "tests/framework/controls/dialogs/test_dialog.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

const WORD kBefore = 1000, kList = 1001, kAfter = 1002;
const DWORD kAll = LBE_BUTTONS | LBE_TOOLTIPS | LBE_SHORTCUTS | LBE_NEWBUTTON | LBE_DELBUTTON | LBE_UPBUTTON |
                   LBE_DOWNBUTTON;

// Records the list's notifications to the dialog.
class NotifiedDialog : public CDialog
{
public:
    std::vector<int> codes;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == kList)
            codes.push_back(HIWORD(wParam));
        return CDialog::OnCommand(wParam, lParam);
    }
    int Count(int code) const { return (int)std::count(codes.begin(), codes.end(), code); }
};

// Records the item hooks; can refuse deletions.
class RecordingEditor : public TWKListBoxEditor
{
public:
    std::vector<std::string> hooks;
    int refuseDeleteOf = -1;
    int lastIndexSeen = -2, lastNewIndexSeen = -2;
    void OnItemAdded(int nIndex, CString strText) override
    {
        hooks.push_back("added " + std::to_string(nIndex) + " " + (LPCSTR)strText);
        TWKListBoxEditor::OnItemAdded(nIndex, strText);
    }
    void OnItemRenamed(int nIndex, CString strOld, CString strNew) override
    {
        hooks.push_back("renamed " + std::to_string(nIndex) + " " + (LPCSTR)strOld + ">" + (LPCSTR)strNew);
        TWKListBoxEditor::OnItemRenamed(nIndex, strOld, strNew);
    }
    BOOL OnItemDelete(int nIndex, CString strText) override
    {
        hooks.push_back("delete? " + std::to_string(nIndex) + " " + (LPCSTR)strText);
        return nIndex != refuseDeleteOf;
    }
    void OnItemMoved(int nOld, int nNew, CString strText, BOOL bDragged) override
    {
        hooks.push_back("moved " + std::to_string(nOld) + ">" + std::to_string(nNew) + " " + (LPCSTR)strText +
                        (bDragged ? " drag" : " key"));
        TWKListBoxEditor::OnItemMoved(nOld, nNew, strText, bDragged);
    }
};

class ListEditor : public ::testing::Test
{
protected:
    void Open(DWORD listStyle, std::vector<const char*> items, DWORD flags)
    {
        tmpl.Add("EDIT", "", kBefore, 10, 5, 100, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP)
            .Add("LISTBOX", "", kList, 10, 22, 120, 90,
                 LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP | listStyle)
            .Add("EDIT", "", kAfter, 10, 116, 100, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP);
        ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get(), NULL));
        dlg.ShowWindow(SW_SHOW);
        for (const char* item : items)
            ::SendDlgItemMessageA(dlg, kList, LB_ADDSTRING, 0, (LPARAM)item);
        ::GetWindowRect(::GetDlgItem(dlg, kList), &listBefore);
        ASSERT_TRUE(editor.Initialize(kList, &dlg, flags));
        list = editor.GetListBoxPtr();
        vt::PumpMessages();
        dlg.codes.clear();
    }
    void TearDown() override
    {
        if (dlg.m_hWnd)
            dlg.DestroyWindow();
    }
    std::vector<std::string> Contents()
    {
        std::vector<std::string> v;
        for (int i = 0; i < list->GetCount(); ++i)
        {
            CString s;
            list->GetText(i, s);
            v.push_back((LPCSTR)s);
        }
        return v;
    }
    HWND Edit() { return editor.GetEdit() ? editor.GetEdit()->m_hWnd : NULL; }
    void Key(HWND hWnd, UINT vk, UINT msg = WM_KEYDOWN) { ::SendMessageA(hWnd, msg, vk, 1); }
    CPoint ItemCenter(int index)
    {
        CRect rc;
        list->GetItemRect(index, &rc);
        return rc.CenterPoint();
    }
    void Post(HWND hWnd, UINT msg, CPoint pt, WPARAM wParam = 0)
    {
        ::PostMessageA(hWnd, msg, wParam, MAKELPARAM(pt.x, pt.y));
    }

    vt::DialogTemplate tmpl{"Editor", 160, 135, WS_POPUP | WS_CAPTION | DS_SETFONT};
    NotifiedDialog dlg;
    RecordingEditor editor;
    CListBox* list = nullptr;
    CRect listBefore;
};

using Strings = std::vector<std::string>;
using Hooks = std::vector<std::string>;

} // namespace

TEST_F(ListEditor, HeaderTakesTheTopAndTheListKeepsATrailingEmptyItem)
{
    Open(0, {"a"}, kAll);
    EXPECT_EQ(Strings({"a", ""}), Contents());

    CRect header, listNow;
    editor.GetWindowRect(&header);
    list->GetWindowRect(&listNow);
    EXPECT_EQ(listBefore.top, header.top);
    EXPECT_EQ(listBefore.left, header.left);
    EXPECT_EQ(listBefore.right, header.right);
    EXPECT_EQ(editor.GetHeaderHeight(), header.Height());
    EXPECT_EQ(header.bottom + 2 * ::GetSystemMetrics(SM_CYBORDER), listNow.top);
    EXPECT_EQ(listBefore.bottom, listNow.bottom);
    // Tab order: whatever came before the list, then the header, then the list.
    EXPECT_EQ(editor.m_hWnd, ::GetWindow(::GetDlgItem(dlg, kBefore), GW_HWNDNEXT));
    EXPECT_EQ(list->m_hWnd, ::GetWindow(editor.m_hWnd, GW_HWNDNEXT));
    EXPECT_EQ(HTCLIENT, editor.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(header.left + 1, header.top + 1)));

    // The buttons sit right-aligned, New to Move Down, each as tall as the header.
    CRect client;
    editor.GetClientRect(&client);
    EXPECT_EQ(client.right, editor.GetButtonRect(3).right);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(editor.GetButtonRect(i).right, editor.GetButtonRect(i + 1).left);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(editor.GetHeaderHeight(), editor.GetButtonRect(i).Height());
    EXPECT_EQ(4, editor.GetToolTip().GetToolCount());

    // The trailing item can be neither deleted nor moved, nor anything below it.
    list->SetCurSel(1);
    EXPECT_FALSE(editor.OnDeleteItem());
    EXPECT_FALSE(editor.OnMoveItemUp());
    list->SetCurSel(0);
    EXPECT_FALSE(editor.OnMoveItemDown());
    EXPECT_EQ(Strings({"a", ""}), Contents());
    EXPECT_EQ(Hooks(), editor.hooks);
}

TEST_F(ListEditor, EmptyListAndButtonsWithoutFlags)
{
    Open(0, {}, LBE_BUTTONS | LBE_DELBUTTON | LBE_DOWNBUTTON);
    EXPECT_EQ(Strings({""}), Contents());
    list->SetCurSel(0);
    EXPECT_FALSE(editor.OnDeleteItem());
    EXPECT_EQ(Strings({""}), Contents());
    // Only the buttons asked for are laid out; the others have no rectangle.
    EXPECT_TRUE(editor.GetButtonRect(0).IsRectEmpty());
    EXPECT_TRUE(editor.GetButtonRect(2).IsRectEmpty());
    EXPECT_FALSE(editor.GetButtonRect(1).IsRectEmpty());
    EXPECT_EQ(editor.GetButtonRect(1).right, editor.GetButtonRect(3).left);
    // Without shortcuts, Insert is the list's own key.
    Key(list->m_hWnd, VK_INSERT);
    EXPECT_EQ(nullptr, Edit());
}

TEST_F(ListEditor, TypingIntoTheTrailingItem)
{
    Open(0, {"a"}, kAll);
    list->SetCurSel(1);
    EXPECT_FALSE(editor.OnEditKey(0) == FALSE);
    ASSERT_NE(nullptr, Edit());
    EXPECT_EQ(100, ::GetDlgCtrlID(Edit()));
    EXPECT_EQ(list->m_hWnd, ::GetParent(Edit()));
    EXPECT_EQ(Edit(), ::GetFocus());
    ::SetWindowTextA(Edit(), "x");
    Key(Edit(), VK_RETURN);
    EXPECT_EQ(nullptr, Edit());
    EXPECT_EQ(Strings({"a", "x", ""}), Contents());
    EXPECT_EQ(Hooks({"added 1 x"}), editor.hooks);
    // The edit opened and closed: two selection changes on their way.
    vt::PumpMessages();
    EXPECT_EQ(2, dlg.Count(LBN_SELCHANGE));

    // White space alone: the list still ends with one empty item.
    editor.hooks.clear();
    list->SetCurSel(2);
    editor.OnEditKey(0);
    ::SetWindowTextA(Edit(), "   ");
    Key(Edit(), VK_RETURN);
    EXPECT_EQ(Strings({"a", "x", ""}), Contents());
    EXPECT_EQ(Hooks({"added 2    ", "delete? 2    "}), editor.hooks);

    // A typed character opens the edit with it (auto-edit).
    editor.hooks.clear();
    list->SetCurSel(0);
    EXPECT_TRUE(editor.OnEditKey('q'));
    CString text;
    editor.GetEdit()->GetWindowText(text);
    EXPECT_STREQ("q", text);
    Key(Edit(), VK_RETURN);
    EXPECT_EQ(Strings({"q", "x", ""}), Contents());
    EXPECT_EQ(Hooks({"renamed 0 a>q"}), editor.hooks);
}

TEST_F(ListEditor, EscapeRemovesANewItemAndKeepsAnOldOne)
{
    Open(0, {"a", "b"}, kAll);
    list->SetCurSel(0);
    Key(list->m_hWnd, VK_INSERT);   // as the New button
    ASSERT_NE(nullptr, Edit());
    EXPECT_EQ(Strings({"a", "b", "", ""}), Contents());
    EXPECT_EQ(2, editor.GetEdit()->GetIndex());
    Key(Edit(), VK_ESCAPE);
    EXPECT_EQ(nullptr, Edit());
    EXPECT_EQ(Strings({"a", "b", ""}), Contents());

    list->SetCurSel(1);
    editor.OnEditKey(0);
    ::SetWindowTextA(Edit(), "changed");
    Key(Edit(), VK_ESCAPE);
    EXPECT_EQ(Strings({"a", "b", ""}), Contents());
    EXPECT_EQ(Hooks(), editor.hooks);
}

TEST_F(ListEditor, ClickingAnotherItemCommitsOrCancels)
{
    Open(0, {"a", "b", "c"}, kAll);
    list->SetCurSel(0);
    editor.OnEditKey(0);
    ::SetWindowTextA(Edit(), "A");
    Post(list->m_hWnd, WM_LBUTTONDOWN, ItemCenter(2), MK_LBUTTON);
    Post(list->m_hWnd, WM_LBUTTONUP, ItemCenter(2));
    vt::PumpMessages();
    EXPECT_EQ(nullptr, Edit());
    EXPECT_EQ(Strings({"A", "b", "c", ""}), Contents());
    EXPECT_EQ(Hooks({"renamed 0 a>A"}), editor.hooks);

    editor.hooks.clear();
    list->SetCurSel(1);
    editor.OnEditKey(0);
    ::SetWindowTextA(Edit(), "");
    Post(list->m_hWnd, WM_LBUTTONDOWN, ItemCenter(0), MK_LBUTTON);
    Post(list->m_hWnd, WM_LBUTTONUP, ItemCenter(0));
    vt::PumpMessages();
    EXPECT_EQ(nullptr, Edit());
    EXPECT_EQ(Strings({"A", "b", "c", ""}), Contents());
    EXPECT_EQ(Hooks(), editor.hooks);
}

TEST_F(ListEditor, ShortcutsDeleteAndMoveWithNotifications)
{
    Open(0, {"a", "b", "c"}, kAll);
    list->SetCurSel(1);
    Key(list->m_hWnd, VK_DELETE);
    EXPECT_EQ(Strings({"a", "c", ""}), Contents());
    EXPECT_EQ(1, list->GetCurSel());
    EXPECT_EQ(1, dlg.Count(LBEN_ITEMDELETED));
    EXPECT_EQ(1, editor.GetLastIndex());

    list->SetCurSel(0);
    Key(list->m_hWnd, VK_DOWN, WM_SYSKEYDOWN);
    EXPECT_EQ(Strings({"c", "a", ""}), Contents());
    EXPECT_EQ(1, list->GetCurSel());
    EXPECT_EQ(1, dlg.Count(LBEN_ITEMMOVED));
    EXPECT_EQ(0, editor.GetLastIndex());
    EXPECT_EQ(1, editor.GetLastNewIndex());
    Key(list->m_hWnd, VK_DOWN, WM_SYSKEYDOWN);   // not below the trailing item
    EXPECT_EQ(Strings({"c", "a", ""}), Contents());
    Key(list->m_hWnd, VK_UP, WM_SYSKEYDOWN);
    EXPECT_EQ(Strings({"a", "c", ""}), Contents());
    EXPECT_EQ(1, editor.GetLastIndex());
    EXPECT_EQ(0, editor.GetLastNewIndex());
    EXPECT_EQ(Hooks({"delete? 1 b", "moved 0>1 a key", "moved 1>0 a key"}), editor.hooks);
}

TEST_F(ListEditor, HeaderButtonRunsWhenReleasedInside)
{
    Open(0, {"a", "b"}, kAll);
    list->SetCurSel(0);
    const CPoint del = editor.GetButtonRect(1).CenterPoint();
    Post(editor.m_hWnd, WM_LBUTTONDOWN, del, MK_LBUTTON);
    Post(editor.m_hWnd, WM_MOUSEMOVE, del, MK_LBUTTON);
    Post(editor.m_hWnd, WM_LBUTTONUP, del);
    vt::PumpMessages();
    EXPECT_EQ(Strings({"b", ""}), Contents());

    // Released outside the button: nothing.
    list->SetCurSel(0);
    Post(editor.m_hWnd, WM_LBUTTONDOWN, del, MK_LBUTTON);
    Post(editor.m_hWnd, WM_LBUTTONUP, CPoint(2, 2));
    vt::PumpMessages();
    EXPECT_EQ(Strings({"b", ""}), Contents());

    // Move Up on the second item.
    list->SetCurSel(1);
    EXPECT_FALSE(editor.OnMoveItemUp());   // the trailing item stays put
    list->SetCurSel(0);
    const CPoint newButton = editor.GetButtonRect(0).CenterPoint();
    Post(editor.m_hWnd, WM_LBUTTONDOWN, newButton, MK_LBUTTON);
    Post(editor.m_hWnd, WM_LBUTTONUP, newButton);
    vt::PumpMessages();
    ASSERT_NE(nullptr, Edit());
    Key(Edit(), VK_ESCAPE);
    EXPECT_EQ(Strings({"b", ""}), Contents());
}

TEST_F(ListEditor, DraggingMovesAnItemButNotWhenTooQuick)
{
    Open(0, {"a", "b", "c"}, kAll | LBE_DRAGNDROP);
    const int away = ::GetSystemMetrics(SM_CXDOUBLECLK) + ::GetSystemMetrics(SM_CYDOUBLECLK) + 4;
    CRect last;
    list->GetItemRect(2, &last);
    const CPoint below(last.CenterPoint().x, last.bottom - 2);   // lower half of "c": to the end
    auto drag = [&](bool wait) {
        CPoint from = ItemCenter(0);
        Post(list->m_hWnd, WM_LBUTTONDOWN, from, MK_LBUTTON);
        Post(list->m_hWnd, WM_MOUSEMOVE, CPoint(from.x, from.y + away), MK_LBUTTON);
        Post(list->m_hWnd, WM_MOUSEMOVE, below, MK_LBUTTON);
        if (wait)
            ::Sleep(TWKListBoxDragWnd::nMinDragTime + 100);
        Post(list->m_hWnd, WM_LBUTTONUP, below);
        vt::PumpMessages();
    };
    drag(false);
    EXPECT_EQ(Strings({"a", "b", "c", ""}), Contents());
    EXPECT_EQ(0, dlg.Count(LBEN_ITEMMOVED));

    drag(true);
    EXPECT_EQ(Strings({"b", "c", "a", ""}), Contents());
    EXPECT_EQ(2, list->GetCurSel());
    EXPECT_EQ(1, dlg.Count(LBEN_ITEMMOVED));
    EXPECT_EQ(0, editor.GetLastIndex());
    EXPECT_EQ(2, editor.GetLastNewIndex());
    EXPECT_EQ(Hooks({"moved 0>2 a drag"}), editor.hooks);
}

TEST(ListBoxDragWnd, ScrollDelays)
{
    TWKListBoxDragWnd drag;
    EXPECT_EQ(300u, drag.GetInitialDelay());
    EXPECT_EQ(50u, drag.GetMinimumDelay());
    EXPECT_EQ(50u, drag.GetDelayStep());
    struct Case { UINT initial, minimum, step; bool ok; };
    const Case cases[] = {
        {400, 100, 300, true},
        {400, 500, 10, false},   // minimum above the initial delay
        {400, 100, 301, false},  // step larger than their difference
        {100, 100, 0, true},
    };
    for (const Case& c : cases)
    {
        TWKListBoxDragWnd d;
        EXPECT_EQ(c.ok, !!d.SetScrollDelays(c.initial, c.minimum, c.step));
        EXPECT_EQ(c.ok ? c.initial : 300u, d.GetInitialDelay());
        EXPECT_EQ(c.ok ? c.minimum : 50u, d.GetMinimumDelay());
        EXPECT_EQ(c.ok ? c.step : 50u, d.GetDelayStep());
    }
}

TEST_F(ListEditor, RefusedFirstDeletionOfSeveralDeletesNone)
{
    Open(LBS_EXTENDEDSEL, {"a", "b", "c"}, kAll);
    list->SetSel(0, TRUE);
    list->SetSel(2, TRUE);
    editor.refuseDeleteOf = 0;
    EXPECT_FALSE(editor.OnDeleteItem());
    EXPECT_EQ(Strings({"a", "b", "c", ""}), Contents());
    EXPECT_EQ(0, dlg.Count(LBEN_ITEMDELETED));

    editor.refuseDeleteOf = -1;
    EXPECT_TRUE(editor.OnDeleteItem());
    EXPECT_EQ(Strings({"b", ""}), Contents());
    EXPECT_EQ(2, dlg.Count(LBEN_ITEMDELETED));
    EXPECT_EQ(1, editor.GetLastIndex());
}

TEST_F(ListEditor, TabAndArrowKeysCloseTheEdit)
{
    Open(0, {"a", "b"}, kAll);
    list->SetCurSel(0);
    editor.OnEditKey(0);
    ::SetWindowTextA(Edit(), "A");
    Key(Edit(), VK_TAB);
    EXPECT_EQ(nullptr, Edit());
    EXPECT_EQ(Strings({"A", "b", ""}), Contents());
    EXPECT_EQ(::GetDlgItem(dlg, kAfter), ::GetFocus());

    list->SetFocus();
    list->SetCurSel(0);
    editor.OnEditKey(0);
    ::SetWindowTextA(Edit(), "AA");
    Key(Edit(), VK_DOWN);
    vt::PumpMessages();
    EXPECT_EQ(nullptr, Edit());
    EXPECT_EQ(Strings({"AA", "b", ""}), Contents());
    EXPECT_EQ(1, list->GetCurSel());
}

TEST(ListBoxDirEditor, F2OpensTheEditWithItsButtonAndThePickerFillsIt)
{
    vt::TempDir dir;
    char here[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, here);
    vt::DialogTemplate tmpl("Folders", 160, 120, WS_POPUP | WS_CAPTION | DS_SETFONT);
    tmpl.Add("LISTBOX", "", kList, 10, 10, 140, 90,
             LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP);
    CDialog dlg;
    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get(), NULL));
    dlg.ShowWindow(SW_SHOW);
    ::SendDlgItemMessageA(dlg, kList, LB_ADDSTRING, 0, (LPARAM)dir.Path().c_str());
    TWKListBoxDirEditor editor;
    ASSERT_TRUE(editor.Initialize(kList, &dlg, LBE_SHORTCUTS));
    EXPECT_TRUE(editor.GetFlags() & LBE_BROWSE);
    CListBox* list = editor.GetListBoxPtr();

    list->SetCurSel(0);
    list->SendMessage(WM_KEYDOWN, VK_F2, 1);
    ASSERT_NE(nullptr, editor.GetEdit());
    HWND hEdit = editor.GetEdit()->m_hWnd;
    HWND hButton = ::GetDlgItem(list->m_hWnd, 101);
    ASSERT_NE(nullptr, hButton);
    CRect rcEdit, rcButton, rcItem;
    ::GetWindowRect(hEdit, &rcEdit);
    ::GetWindowRect(hButton, &rcButton);
    list->GetItemRect(0, &rcItem);
    list->ClientToScreen(&rcItem);
    EXPECT_EQ(rcEdit.right, rcButton.left);
    EXPECT_EQ(rcItem.right, rcButton.right);

    std::string caption;
    vt::DialogWatcher watcher([&](HWND hDlg) {
        char buf[64] = "";
        ::GetWindowTextA(hDlg, buf, sizeof buf);
        caption = buf;
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(hDlg, IDOK));
    });
    ::SendMessageA(hEdit, WM_KEYDOWN, VK_F2, 1);   // to the button, then the picker
    vt::PumpMessages();
    ASSERT_EQ(1, watcher.Count());
    EXPECT_EQ("Select Directory", caption);
    ASSERT_EQ(hEdit, editor.GetEdit() ? editor.GetEdit()->m_hWnd : NULL);
    // Another program on the shared screen may hold the activation now; back
    // in front, the dialog gives the focus to the control that had it.
    dlg.SetActiveWindow();
    EXPECT_EQ(hEdit, ::GetFocus());
    ::SendMessageA(hEdit, WM_KEYDOWN, VK_RETURN, 1);
    CString item;
    list->GetText(0, item);
    std::string expected = dir.Path() + "\\";
    EXPECT_EQ(0, lstrcmpiA(expected.c_str(), item));
    EXPECT_FALSE(::IsWindow(hButton));
    ::SetCurrentDirectoryA(here);   // the old-style picker moves the process
    dlg.DestroyWindow();
}
