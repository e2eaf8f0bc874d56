#include <gtest/gtest.h>
#include "support/ui/TypeAheadCombo.h"
#include "tests/harness/harness.h"
#include "tests/harness/dialog_driver.h"
#include <string>
#include <vector>

namespace {

const int kComboId = 100;
const UINT WM_NEXT_STEP = WM_APP + 1;

// A dialog template in memory: a drop-down combo box and an OK button.
std::vector<WORD> ComboDialogTemplate()
{
    std::vector<WORD> t;
    auto dword = [&](DWORD v) { t.push_back(LOWORD(v)); t.push_back(HIWORD(v)); };
    auto text = [&](const char* s) { for (; *s; ++s) t.push_back((WORD)*s); t.push_back(0); };
    auto align = [&] { if (t.size() % 2) t.push_back(0); };
    dword(WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT);
    dword(0);
    t.push_back(2);                         // items
    t.push_back(0); t.push_back(0); t.push_back(160); t.push_back(80);
    t.push_back(0); t.push_back(0);         // menu, class
    text("Chip");
    t.push_back(8);
    text("MS Sans Serif");
    struct Item { DWORD style; short x, y, cx, cy; WORD id; WORD cls; const char* text; };
    const Item items[] = {
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 10, 10, 100, 80,
         kComboId, 0x0085, ""},
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 10, 50, 50, 14, IDOK, 0x0080, "OK"},
    };
    for (const Item& it : items) {
        align();
        dword(it.style);
        dword(0);
        t.push_back((WORD)it.x); t.push_back((WORD)it.y); t.push_back((WORD)it.cx); t.push_back((WORD)it.cy);
        t.push_back(it.id);
        t.push_back(0xFFFF); t.push_back(it.cls);
        text(it.text);
        t.push_back(0);                     // no creation data
    }
    return t;
}

// Script characters: letters are typed; these stand for other steps.
const char kEnter = '\r', kBack = '\b', kEnd = '\x02', kLeave = '\x03', kPaste = '\x04', kSelectAll = '\x05';

struct State {
    std::string text;
    int selection = -2;
    int selStart = -1, selEnd = -1;
    int selChanges = 0;
};

// Runs the script key by key through the dialog's own message loop, then records the state.
// (The file runs alone: another process's window taking the keyboard focus would settle the
// combo box and select its whole text in the middle of a script.)
class CComboHost : public CDialog
{
public:
    explicit CComboHost(std::string script) : m_script(std::move(script)) {}
    CTypeAheadCombo combo;
    State state;
    int selChanges = 0;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        combo.SubclassDlgItem(kComboId, this);
        for (const char* item : {"Alpha", "Alphabet", "Beta"})
            combo.AddString(item);
        combo.GetEdit().SetFocus();
        PostMessage(WM_NEXT_STEP, 0);
        return FALSE;
    }

protected:
    afx_msg void OnSelChange() { ++selChanges; }
    // Each key goes with a step message that comes round twice, so that the characters the
    // key produces are handled before the next key.
    afx_msg LRESULT OnNextStep(WPARAM hop, LPARAM)
    {
        if (hop) {
            PostMessage(WM_NEXT_STEP, 0);
            return 0;
        }
        if (m_next >= m_script.size()) {
            state.text = uitest::WindowText(combo.m_hWnd);
            state.selection = combo.GetCurSel();
            DWORD sel = combo.GetEditSel();
            state.selStart = LOWORD(sel);
            state.selEnd = HIWORD(sel);
            state.selChanges = selChanges;
            EndDialog(77);
            return 0;
        }
        const char c = m_script[m_next++];
        HWND edit = combo.GetEdit().m_hWnd;
        if (c == kLeave)
            GetDlgItem(IDOK)->SetFocus();
        else if (c == kSelectAll)
            combo.SetEditSel(0, -1);
        else if (c == kPaste)
            ::SendMessageA(edit, WM_SETTEXT, 0, (LPARAM) "zz");   // a text that came without typing
        else
            uitest::PostKey(edit, c == kEnter ? VK_RETURN : c == kBack ? VK_BACK : c == kEnd ? VK_END
                                                                           : LOBYTE(::VkKeyScanA(c)));
        PostMessage(WM_NEXT_STEP, 1);
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    std::string m_script;
    size_t m_next = 0;
};

BEGIN_MESSAGE_MAP(CComboHost, CDialog)
    ON_CBN_SELCHANGE(kComboId, OnSelChange)
    ON_MESSAGE(WM_NEXT_STEP, OnNextStep)
END_MESSAGE_MAP()

TEST(TypeAheadCombo, CompletesAndSettlesAsTyped)
{
    // selection: the item settled on (the list's own selection once settled); start, end: the
    // selected part of the edit text (-1: not checked).
    struct Case { const char* what; std::string script; std::string text; int selection; int start, end; bool settled; };
    const std::vector<Case> cases = {
        {"alp", "alp", "Alpha", 0, 3, 5, false},
        {"alphab", "alphab", "Alphabet", 1, 6, 8, false},
        {"bx replaced", "bx", "Beta", 2, 1, 4, false},
        {"z: the last selection, all selected", std::string("alphab") + kSelectAll + "z", "Alphabet", 1, 0, 8, false},
        {"enter settles", std::string("be") + kBack + kEnter, "Beta", 2, -1, -1, true},
        {"leaving with be", std::string("be") + kBack + kLeave, "Beta", 2, -1, -1, true},
        {"leaving with an unknown text", std::string("alphab") + kEnd + kPaste + kLeave, "Alphabet", 1, -1, -1, true},
        {"backspace after a completion", std::string("alp") + kBack, "Alp", 0, 3, 3, false},
    };
    const std::vector<WORD> tmpl = ComboDialogTemplate();
    for (const Case& c : cases) {
        CComboHost host(c.script);
        host.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATE>(tmpl.data()));
        // 77: ended by the script, not by Enter.
        EXPECT_EQ(77, host.DoModal()) << c.what;
        EXPECT_EQ(c.text, host.state.text) << c.what;
        if (c.settled)
            EXPECT_EQ(c.selection, host.state.selection) << c.what;
        if (c.start >= 0) {
            EXPECT_EQ(c.start, host.state.selStart) << c.what;
            EXPECT_EQ(c.end, host.state.selEnd) << c.what;
        }
        EXPECT_EQ(c.selection, host.combo.GetLastSelection()) << c.what;
    }
}

TEST(TypeAheadCombo, ParentHearsOfEachCompletion)
{
    const std::vector<WORD> tmpl = ComboDialogTemplate();
    CComboHost host(std::string("alp") + kBack);
    host.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATE>(tmpl.data()));
    EXPECT_EQ(77, host.DoModal());
    EXPECT_EQ(3, host.state.selChanges);   // one per typed letter, none for Backspace
}

} // namespace
