// The control flavour: its own store, taking a dialog item's place, the
// focus notifications to the parent and dialog keys.
#include "tests/editor/window/window_fixture.h"
#include <vector>

namespace {

// An in-memory dialog template: an edit (201), the item to replace (202)
// and a button (203), all tab stops.
class DialogTemplate
{
public:
    DialogTemplate()
    {
        Dword(WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT | DS_MODALFRAME);
        Dword(0);
        Word(3);
        Word(0), Word(0), Word(220), Word(120);
        Word(0), Word(0), Text("ctrl test");
        Word(8), Text("MS Sans Serif");
        Item(201, 0x0081, 10, 10, 80, 14);   // edit
        Item(202, 0x0081, 10, 30, 150, 60);  // edit, replaced
        Item(203, 0x0080, 170, 10, 40, 14);  // button
    }
    LPCDLGTEMPLATE Get() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_data.data()); }

private:
    void Word(WORD w) { m_data.push_back(w); }
    void Dword(DWORD d) { Word(LOWORD(d)), Word(HIWORD(d)); }
    void Text(const char* s)
    {
        do
            Word((WORD)(BYTE)*s);
        while (*s++);
    }
    void Item(WORD id, WORD cls, short x, short y, short cx, short cy)
    {
        if (m_data.size() % 2)
            Word(0);
        Dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER);
        Dword(0);
        Word(x), Word(y), Word(cx), Word(cy), Word(id);
        Word(0xFFFF), Word(cls);
        Text("");
        Word(0);
    }
    std::vector<WORD> m_data;
};

// A dialog that puts a control in place of item 202 and records the
// control notifications it receives.
class HostDialog : public CDialog
{
public:
    struct Note { UINT code, id; HWND hwnd; BOOL caret; };
    TWKEditCtrl ctrl;
    std::vector<Note> notes;
    bool escapeOnInit = false;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ctrl.ReplaceDlgItem(202, this, WS_EX_CLIENTEDGE);
        if (escapeOnInit)
        {
            ctrl.SetFocus();
            ctrl.PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
            return FALSE;
        }
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == EN_KILLFOCUS)
            if ((HWND)lParam == ctrl.m_hWnd)
                notes.push_back({HIWORD(wParam), LOWORD(wParam), (HWND)lParam, ctrl.m_bCaretCreated});
        return CDialog::OnCommand(wParam, lParam);
    }
};

TEST(EditCtrl, AFreshControlHasAnEmptyStore)
{
    TWKEditCtrl ctrl;
    EXPECT_EQ(nullptr, ctrl.m_pEdit) << "no store before it is asked for";
    TWKEdit* pEdit = ctrl.GetEdit();
    ASSERT_NE(nullptr, pEdit);
    EXPECT_EQ(pEdit, ctrl.GetEdit());
    EXPECT_EQ(1, pEdit->m_nLineCount);
    ASSERT_NE(nullptr, pEdit->GetFirstLine());
    EXPECT_EQ(0, pEdit->VisibleEnd(pEdit->GetFirstLine()));
}

TEST(EditCtrl, ReplaceDlgItemTakesTheItemsPlace)
{
    DialogTemplate tmpl;
    HostDialog dlg;
    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get(), NULL));
    HWND hFirst = ::GetDlgItem(dlg.m_hWnd, 201), hButton = ::GetDlgItem(dlg.m_hWnd, 203);
    TWKEditCtrl& ctrl = dlg.ctrl;
    ASSERT_TRUE(::IsWindow(ctrl.m_hWnd));

    EXPECT_EQ(202, ctrl.GetDlgCtrlID());
    EXPECT_EQ(ctrl.m_hWnd, ::GetDlgItem(dlg.m_hWnd, 202)) << "the old item is gone";
    char text[32] = "";
    ::GetWindowTextA(ctrl.m_hWnd, text, sizeof text);
    EXPECT_STREQ("TWKEdit", text);
    EXPECT_EQ(ctrl.m_hWnd, ::GetWindow(hFirst, GW_HWNDNEXT)) << "tab order kept";
    EXPECT_EQ(hButton, ::GetWindow(ctrl.m_hWnd, GW_HWNDNEXT));
    EXPECT_EQ(ctrl.m_hWnd, ::GetNextDlgTabItem(dlg.m_hWnd, hFirst, FALSE));

    // The item's rectangle, as the same template places it in a plain dialog.
    CDialog plain;
    ASSERT_TRUE(plain.CreateIndirect(tmpl.Get(), NULL));
    CRect want;
    ::GetWindowRect(::GetDlgItem(plain.m_hWnd, 202), &want);
    plain.ScreenToClient(&want);
    plain.DestroyWindow();
    CRect got;
    ctrl.GetWindowRect(&got);
    dlg.ScreenToClient(&got);
    EXPECT_EQ(want.left, got.left);
    EXPECT_EQ(want.top, got.top);
    EXPECT_EQ(want.right, got.right);
    EXPECT_EQ(want.bottom, got.bottom);

    EXPECT_TRUE(ctrl.GetExStyle() & WS_EX_CLIENTEDGE);
    // The vertical bar is there, disabled while the empty text fits.
    EXPECT_TRUE(ctrl.GetStyle() & WS_VSCROLL);
    SCROLLBARINFO sbi = {sizeof sbi};
    ASSERT_TRUE(::GetScrollBarInfo(ctrl.m_hWnd, OBJID_VSCROLL, &sbi));
    EXPECT_FALSE(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    EXPECT_TRUE(sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
    dlg.DestroyWindow();

    // A missing item: nothing made.
    TWKEditCtrl none;
    CDialog other;
    ASSERT_TRUE(other.CreateIndirect(tmpl.Get(), NULL));
    EXPECT_FALSE(none.ReplaceDlgItem(999, &other, 0));
    EXPECT_EQ(nullptr, none.m_hWnd);
    other.DestroyWindow();
}

TEST(EditCtrl, FocusIsReportedToTheParentAfterTheCaretChanged)
{
    DialogTemplate tmpl;
    HostDialog dlg;
    ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get(), NULL));
    ::SetFocus(::GetDlgItem(dlg.m_hWnd, 201));
    dlg.notes.clear();
    dlg.ctrl.SetFocus();
    ::SetFocus(::GetDlgItem(dlg.m_hWnd, 203));
    vt::PumpMessages();
    ASSERT_EQ(2u, dlg.notes.size());
    EXPECT_EQ((UINT)EN_SETFOCUS, dlg.notes[0].code);
    EXPECT_TRUE(dlg.notes[0].caret) << "the caret exists when the parent hears of it";
    EXPECT_EQ((UINT)EN_KILLFOCUS, dlg.notes[1].code);
    EXPECT_FALSE(dlg.notes[1].caret);
    for (const auto& n : dlg.notes)
    {
        EXPECT_EQ(202u, n.id);
        EXPECT_EQ(dlg.ctrl.m_hWnd, n.hwnd);
    }

    EXPECT_EQ(DLGC_WANTALLKEYS, dlg.ctrl.SendMessage(WM_GETDLGCODE));

    // A click takes the focus.
    ::SetFocus(::GetDlgItem(dlg.m_hWnd, 201));
    LRESULT r = dlg.ctrl.SendMessage(WM_MOUSEACTIVATE, (WPARAM)dlg.m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(MA_ACTIVATE, r);
    EXPECT_EQ(dlg.ctrl.m_hWnd, ::GetFocus());
    dlg.DestroyWindow();
}

TEST(EditCtrl, EscapeReachesTheDialog)
{
    DialogTemplate tmpl;
    HostDialog dlg;
    dlg.escapeOnInit = true;
    ASSERT_TRUE(dlg.InitModalIndirect(tmpl.Get(), NULL));
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

} // namespace
