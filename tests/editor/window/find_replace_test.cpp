// Find and replace: the Find and Replace dialogs driven through their
// controls (the system's dialog sends the registered message), Find Next
// with wrapping, Replace, Replace All, Mark All, the histories and the
// mended loops over matches of length 0 and over too long lines.
#include "tests/editor/window/window_fixture.h"
#include "editor/window/OEFindReplaceDlg.h"
#include <dlgs.h>

namespace {

const char* const kSection = "Settings\\Find";

void ClearFindSettings()
{
    AfxGetApp()->WriteProfileString(kSection, NULL, NULL);
}

void SetFindSettings(const char* find, int forward, int wrap, int regex = 0, int matchCase = 0)
{
    CWinApp* app = AfxGetApp();
    app->WriteProfileString(kSection, "Find1", find);
    app->WriteProfileInt(kSection, "Forward", forward);
    app->WriteProfileInt(kSection, "Wrap search", wrap);
    app->WriteProfileInt(kSection, "Regular expressions", regex);
    app->WriteProfileInt(kSection, "Match case", matchCase);
}

CString Key(const char* key)
{
    return AfxGetApp()->GetProfileString(kSection, key, "");
}

// The find dialogs are modeless and driven by the tests: the harness that
// answers boxes is told to leave them alone.
class KeepFindDialogs
{
public:
    KeepFindDialogs() : m_hook(::SetWindowsHookExA(WH_CBT, Proc, NULL, ::GetCurrentThreadId())) {}
    ~KeepFindDialogs() { ::UnhookWindowsHookEx(m_hook); }

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND)
        {
            LPCSTR name = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszName;
            if (name && !IS_INTRESOURCE(name) && (!strcmp(name, "Find") || !strcmp(name, "Replace")))
                ::SetPropA((HWND)wParam, "vt.answered", (HANDLE)1);
        }
        return ::CallNextHookEx(NULL, code, wParam, lParam);
    }
    HHOOK m_hook;
};

class FindCtrl : public TWKEditCtrl
{
public:
    void PutCaret(int line, int col)
    {
        m_pCaretLine = GetEdit()->GetLine(line);
        m_nCaretLine = line;
        m_nCaretCol = col;
    }
    int LineOf(TWKEditLine* p) { return p ? TWKEdit::RenumberLines(GetEdit()->GetFirstLine()), p->nLineNo : 0; }
    std::string Text() { return vt::StoreText(*this); }
};

struct FindHost
{
    KeepFindDialogs keep;
    vt::ModalAnswerer answerer;
    FindCtrl ctrl;
    vt::CtrlHost host{&ctrl, 400, 200};

    explicit FindHost(const std::string& text)
    {
        ClearFindSettings();
        g_bCanReplace = FALSE;
        ctrl.GetEdit()->SetTabSize(4);
        host.SetText(text);
        host.TakeFocus();
    }
    ~FindHost() { ClearFindSettings(); }

    void Command(UINT id) { ctrl.SendMessage(WM_COMMAND, id, 0); }
    OEFindReplaceDlg* Dialog() { return ctrl.m_bFindDlgOpen ? ctrl.m_pFindDlg : ctrl.m_pReplaceDlg; }
    void SetCombo(int id, const char* text) { Dialog()->GetDlgItem(id)->SetWindowText(text); }
    void Check(int id, bool on) { ::CheckDlgButton(Dialog()->m_hWnd, id, on ? BST_CHECKED : BST_UNCHECKED); }
    // A button click as the user makes it.
    void Click(int id)
    {
        HWND hDlg = Dialog()->m_hWnd;
        ::SendMessage(hDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)::GetDlgItem(hDlg, id));
        vt::PumpMessages();
    }
    bool Enabled(int id) { return ::IsWindowEnabled(::GetDlgItem(Dialog()->m_hWnd, id)) != FALSE; }
    void ExpectSel(const char* name, int line, int c1, int c2)
    {
        EXPECT_TRUE(ctrl.m_bSelection) << name;
        EXPECT_EQ(line, ctrl.LineOf(ctrl.m_pSelStartLine)) << name;
        EXPECT_EQ(line, ctrl.LineOf(ctrl.m_pSelEndLine)) << name;
        EXPECT_EQ(c1, ctrl.m_nSelStartCol) << name;
        EXPECT_EQ(c2, ctrl.m_nSelEndCol) << name;
    }
    std::string LastMessage() { return answerer.Count() ? answerer.Last().text : std::string(); }
};

TEST(FindReplace, FindNextWithoutAFindTextOpensTheFindDialog)
{
    FindHost h("alpha\r\n");
    // The command is disabled then (its update handler); the handler, as
    // the application calls it, asks for a text.
    struct Probe : CCmdUI
    {
        BOOL enabled = -1;
        void Enable(BOOL bOn) override { enabled = bOn; }
    } probe;
    probe.m_nID = ID_TWK_FINDNEXT;
    h.ctrl.OnUpdateFindNext(&probe);
    EXPECT_FALSE(probe.enabled);
    h.ctrl.OnFindNext();
    ASSERT_TRUE(h.ctrl.m_bFindDlgOpen);
    ASSERT_NE(nullptr, h.ctrl.m_pFindDlg);
    HWND hDlg = h.ctrl.m_pFindDlg->m_hWnd;
    EXPECT_TRUE(::IsWindow(hDlg));
    char caption[32] = "";
    ::GetWindowTextA(hDlg, caption, sizeof caption);
    EXPECT_STREQ("Find", caption);
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(hDlg, IDC_TWK_FINDCOMBO)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hDlg, edt1))) << "the system's edit is there, hidden";
    EXPECT_EQ(0u, h.answerer.Count());
    h.Click(IDCANCEL);
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_FALSE(h.ctrl.m_bFindDlgOpen);
    EXPECT_EQ(nullptr, h.ctrl.m_pFindDlg);

    // FindText with no text asks as well, and finds nothing.
    EXPECT_FALSE(h.ctrl.FindText("", FALSE));
    EXPECT_TRUE(h.ctrl.m_bFindDlgOpen);
    EXPECT_TRUE(Key("Find1").IsEmpty()) << "an empty text is not remembered";
    h.Click(IDCANCEL);
}

TEST(FindReplace, FindNextWrapsOrReports)
{
    FindHost h("foo one\r\nbar foo\r\nxx foo two\r\n");
    struct Case { const char* name; int forward; int wrap; int line; int col; int fline; int fcol; } cases[] = {
        {"forward", 1, 1, 1, 1, 2, 4},
        {"forward wraps to the top", 1, 1, 3, 7, 1, 0},
        {"forward without wrap", 1, 0, 3, 7, 0, 0},
        {"backward", 0, 1, 3, 3, 2, 4},
        {"backward wraps to the bottom", 0, 1, 1, 0, 3, 3},
        {"backward without wrap", 0, 0, 1, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        h.ctrl.ClearSelection(FALSE);
        h.ctrl.PutCaret(c.line, c.col);
        SetFindSettings("foo", c.forward, c.wrap);
        h.answerer.Clear();
        h.Command(ID_TWK_FINDNEXT);
        if (c.fline)
        {
            h.ExpectSel(c.name, c.fline, c.fcol, c.fcol + 3);
            EXPECT_TRUE(h.ctrl.m_bFound) << c.name;
            EXPECT_EQ(0u, h.answerer.Count()) << c.name;
        }
        else
        {
            EXPECT_FALSE(h.ctrl.m_bFound) << c.name;
            EXPECT_EQ("The string 'foo' was not found.", h.LastMessage()) << c.name;
        }
    }

    // A backward search that wraps finds a match starting at the caret.
    h.host.SetText("xx foo\r\nbar\r\n");
    h.ctrl.PutCaret(1, 3);
    SetFindSettings("foo", 0, 1);
    EXPECT_TRUE(h.ctrl.FindText("foo", FALSE));
    h.ExpectSel("the match at the caret", 1, 3, 6);
}

TEST(FindReplace, FindDialogClosesReplaceDialogStays)
{
    FindHost h("one foo two foo\r\n");
    h.Command(ID_EDIT_FIND);
    HWND hFind = h.Dialog()->m_hWnd;
    h.SetCombo(IDC_TWK_FINDCOMBO, "foo");
    h.Click(IDOK);
    h.ExpectSel("found from the Find dialog", 1, 4, 7);
    EXPECT_FALSE(::IsWindow(hFind));
    EXPECT_FALSE(h.ctrl.m_bFindDlgOpen);
    EXPECT_EQ(nullptr, h.ctrl.m_pFindDlg);
    EXPECT_EQ("foo", Key("Find1"));

    h.ctrl.ClearSelection(FALSE);
    h.ctrl.PutCaret(1, 3);   // on a space: no word to start with
    h.Command(ID_EDIT_REPLACE);
    ASSERT_TRUE(h.ctrl.m_bReplaceDlgOpen);
    EXPECT_EQ("foo", h.Dialog()->m_strFind) << "the history's first entry";
    h.Click(IDOK);
    h.ExpectSel("found from the Replace dialog", 1, 4, 7);
    ASSERT_TRUE(h.ctrl.m_bReplaceDlgOpen);
    EXPECT_TRUE(h.Enabled(psh1));
    EXPECT_TRUE(h.Enabled(psh2));
    EXPECT_TRUE(g_bCanReplace);
    h.Click(IDCANCEL);
    EXPECT_FALSE(h.ctrl.m_bReplaceDlgOpen);
    EXPECT_FALSE(g_bCanReplace);
}

TEST(FindReplace, ReplaceTheSelectedMatchOrFindFirst)
{
    FindHost h("a foo b foo c foo\r\n");
    h.Command(ID_EDIT_REPLACE);
    h.SetCombo(IDC_TWK_FINDCOMBO, "foo");
    h.SetCombo(IDC_TWK_REPLACECOMBO, "XY");
    h.Click(IDOK);
    h.ExpectSel("first match", 1, 2, 5);
    h.Click(psh1);
    EXPECT_EQ("a XY b foo c foo\r\n", h.ctrl.Text());
    h.ExpectSel("the next one selected", 1, 7, 10);

    // Another selection: the next match is found and replaced at once.
    h.ctrl.ClearSelection(FALSE);
    h.ctrl.PutCaret(1, 0);
    h.ctrl.BeginSelection(1, 0);
    h.ctrl.m_nCaretCol = 1;
    h.ctrl.ExtendSelection(FALSE);
    h.Click(psh1);
    EXPECT_EQ("a XY b XY c foo\r\n", h.ctrl.Text());
    h.ExpectSel("and the one after selected", 1, 12, 15);
    EXPECT_EQ("XY", Key("Replace1"));
    h.Click(IDCANCEL);
}

TEST(FindReplace, ReplaceAll)
{
    FindHost h("foo\r\nx foo foo\r\nbar\r\n");
    TWKEdit* pEdit = h.ctrl.GetEdit();
    pEdit->ResetUndo();
    h.Command(ID_EDIT_REPLACE);
    HWND hDlg = h.Dialog()->m_hWnd;
    h.SetCombo(IDC_TWK_FINDCOMBO, "foo");
    h.SetCombo(IDC_TWK_REPLACECOMBO, "quux");
    h.Click(psh2);
    EXPECT_EQ("quux\r\nx quux quux\r\nbar\r\n", h.ctrl.Text());
    EXPECT_FALSE(::IsWindow(hDlg)) << "closed";
    EXPECT_FALSE(h.ctrl.m_bReplaceDlgOpen);
    EXPECT_EQ(2, h.ctrl.m_nCaretLine);
    EXPECT_EQ(11, h.ctrl.m_nCaretCol) << "after the last replacement";
    EXPECT_EQ(0u, h.answerer.Count());
    // Each replacement is one group: its deletion and insertion.
    ASSERT_EQ(6, pEdit->GetUndoCount());
    for (int i = 0; i < 6; i += 2)
    {
        EXPECT_EQ(UNDO_TEXT_DELETED, pEdit->GetUndoRecord(i)->nType) << i;
        EXPECT_EQ(UNDO_TEXT_INSERTED, pEdit->GetUndoRecord(i + 1)->nType) << i;
        EXPECT_NE(0u, pEdit->GetUndoRecord(i)->dwGroup) << i;
        EXPECT_EQ(pEdit->GetUndoRecord(i)->dwGroup, pEdit->GetUndoRecord(i + 1)->dwGroup) << i;
    }
    EXPECT_NE(pEdit->GetUndoRecord(0)->dwGroup, pEdit->GetUndoRecord(2)->dwGroup);
    EXPECT_NE(pEdit->GetUndoRecord(2)->dwGroup, pEdit->GetUndoRecord(4)->dwGroup);
    int nUndone = 0;
    while (pEdit->Undo() && nUndone < 5)
        nUndone++;
    EXPECT_EQ("foo\r\nx foo foo\r\nbar\r\n", h.ctrl.Text());
    EXPECT_EQ(3, nUndone) << "one Undo per replacement";

    // Nothing to replace: reported, the caret back, the dialog open.
    h.ctrl.PutCaret(3, 2);
    h.Command(ID_EDIT_REPLACE);
    h.SetCombo(IDC_TWK_FINDCOMBO, "zzz");
    h.SetCombo(IDC_TWK_REPLACECOMBO, "q");
    h.Click(psh2);
    EXPECT_EQ("The string 'zzz' was not found.", h.LastMessage());
    EXPECT_TRUE(h.ctrl.m_bReplaceDlgOpen);
    EXPECT_EQ(3, h.ctrl.m_nCaretLine);
    EXPECT_EQ(2, h.ctrl.m_nCaretCol);
    h.Click(IDCANCEL);
}

TEST(FindReplace, Histories)
{
    FindHost h("x\r\n");
    CWinApp* app = AfxGetApp();
    const char* before[] = {"A", "B", "C", "T", "E", "F"};
    for (int i = 0; i < 6; i++)
        app->WriteProfileString(kSection, ("Find" + std::to_string(i + 1)).c_str(), before[i]);
    struct Case { const char* add; const char* after[8]; } cases[] = {
        {"T", {"T", "A", "B", "C", "E", "F", "", ""}},
        {"T", {"T", "A", "B", "C", "E", "F", "", ""}},
        {"", {"T", "A", "B", "C", "E", "F", "", ""}},
        {"N", {"N", "T", "A", "B", "C", "E", "F", ""}},
    };
    for (const Case& c : cases)
    {
        h.ctrl.AddFindHistory(c.add);
        for (int i = 0; i < 8; i++)
            EXPECT_EQ(c.after[i], Key(("Find" + std::to_string(i + 1)).c_str())) << "after " << c.add << " #" << i;
    }
    for (int i = 1; i <= 10; i++)
        app->WriteProfileString(kSection, ("Find" + std::to_string(i)).c_str(), std::to_string(i).c_str());
    h.ctrl.AddFindHistory("new");
    EXPECT_EQ("new", Key("Find1"));
    EXPECT_EQ("9", Key("Find10")) << "the tenth falls off";

    CString empty;
    h.ctrl.AddReplaceHistory(empty);
    EXPECT_EQ(TWK_EMPTY_REPLACE, empty);
    CString r2("r2");
    h.ctrl.AddReplaceHistory(r2);
    EXPECT_EQ("r2", Key("Replace1"));
    EXPECT_EQ(TWK_EMPTY_REPLACE, Key("Replace2"));
    app->WriteProfileString(kSection, "Replace3", "r3");
    h.Command(ID_EDIT_REPLACE);
    HWND hCombo = h.Dialog()->GetDlgItem(IDC_TWK_REPLACECOMBO)->m_hWnd;
    ASSERT_EQ(3, (int)::SendMessage(hCombo, CB_GETCOUNT, 0, 0)) << "the empty entry does not end the list";
    char text[32] = "x";
    ::SendMessage(hCombo, CB_GETLBTEXT, 1, (LPARAM)text);
    EXPECT_STREQ("", text) << "shown empty";
    h.Click(IDCANCEL);
}

TEST(FindReplace, MarkAllCountsEveryMatch)
{
    FindHost h("w x w\r\ny\r\nw\r\nz\r\n");
    TWKEdit* pEdit = h.ctrl.GetEdit();
    pEdit->m_nBookmarkCount = 0;
    h.ctrl.PutCaret(4, 1);
    h.Command(ID_EDIT_FIND);
    HWND hDlg = h.Dialog()->m_hWnd;
    h.SetCombo(IDC_TWK_FINDCOMBO, "w");
    h.Click(IDC_TWK_MARKALL);
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_FALSE(h.ctrl.m_bFindDlgOpen);
    EXPECT_EQ(3, pEdit->m_nBookmarkCount);
    int nLine = 1;
    for (TWKEditLine* p = pEdit->GetFirstLine(); p; p = p->pNext, nLine++)
        EXPECT_EQ(nLine == 1 || nLine == 3, (p->dwFlags & LINE_BOOKMARK) != 0) << "line " << nLine;
    EXPECT_EQ(3, h.ctrl.m_nCaretLine) << "the next bookmark after the first line";
    EXPECT_EQ(0, h.ctrl.m_nCaretCol);
}

TEST(FindReplace, AMatchWithATabIsSelectedOverItsWidth)
{
    FindHost h("xa\tb\r\n");
    SetFindSettings("a\tb", 1, 1);
    h.ctrl.PutCaret(1, 0);
    h.Command(ID_TWK_FINDNEXT);
    h.ExpectSel("tab", 1, 1, 5);
}

TEST(FindReplace, MatchesOfLengthZeroEnd)
{
    FindHost h("abc\r\nxx\r\n");
    EXPECT_EQ(6, h.ctrl.ReplaceAll("x*", "b", SEARCH_REGEX));
    EXPECT_EQ("babbbcb\r\nbb\r\n", h.ctrl.Text());

    for (const char* pattern : {"^", "$", "x*"})
    {
        h.host.SetText("ab\r\ncd\r\n");
        TWKEdit* pEdit = h.ctrl.GetEdit();
        pEdit->m_nBookmarkCount = 0;
        TWKEditSearchInfo info = {};
        info.dwFlags = SEARCH_REGEX;
        info.pszFindText = pattern;
        h.ctrl.MarkAll(&info);
        EXPECT_GT(pEdit->m_nBookmarkCount, 0) << pattern;
        EXPECT_LE(pEdit->m_nBookmarkCount, 6) << pattern;
    }
    TWKEditSearchInfo info = {};
    info.dwFlags = SEARCH_REGEX;
    info.pszFindText = "$";
    h.host.SetText("ab\r\ncd\r\n");
    h.ctrl.GetEdit()->m_nBookmarkCount = 0;
    h.ctrl.MarkAll(&info);
    EXPECT_EQ(2, h.ctrl.GetEdit()->m_nBookmarkCount) << "one line end each";

    // Find Next moves on past an empty match where it starts.
    SetFindSettings("c*", 1, 0, 1);
    h.ctrl.PutCaret(1, 0);
    h.Command(ID_TWK_FINDNEXT);
    ASSERT_TRUE(h.ctrl.m_bFound);
    h.ExpectSel("not at the caret", 1, 1, 1);
    h.Command(ID_TWK_FINDNEXT);
    h.ExpectSel("and on", 1, 2, 2);
}

TEST(FindReplace, AReplacementPastTheColumnLimitIsSkipped)
{
    FindHost h(std::string(TWK_MAX_COLUMNS - 6, 'y') + "a\r\nshort a\r\n");
    EXPECT_EQ(2, h.ctrl.ReplaceAll("a", "0123456789", 0)) << "both counted";
    TWKEditLine* p = h.ctrl.GetEdit()->GetFirstLine();
    EXPECT_EQ(TWK_MAX_COLUMNS - 5 + 2, p->nLength) << "the long line is left alone";
    EXPECT_EQ("short 0123456789\r\n", std::string(p->pNext->pText, p->pNext->nLength));

    // A skipped match after the last replacement leaves the caret after that one.
    FindHost k("short a\r\n" + std::string(TWK_MAX_COLUMNS - 6, 'y') + "a\r\n");
    EXPECT_EQ(2, k.ctrl.ReplaceAll("a", "0123456789", 0));
    EXPECT_EQ(1, k.ctrl.m_nCaretLine);
    EXPECT_EQ(16, k.ctrl.m_nCaretCol);
}

TEST(FindReplace, TheDialogKeepsClearOfTheCaretRow)
{
    FindHost h(vt::NumberedLines(40));
    // Room for the dialog above and below the caret row.
    h.host.host.SetWindowPos(NULL, 0, 0, 700, 800, SWP_NOMOVE | SWP_NOZORDER);
    h.ctrl.SetWindowPos(NULL, 0, 0, 400, 600, SWP_NOMOVE | SWP_NOZORDER);
    for (int row : {0, 25})
    {
        h.ctrl.PutCaret(row + 1, 0);
        h.Command(ID_EDIT_FIND);
        CRect rcDlg, rcCtrl;
        h.Dialog()->GetWindowRect(&rcDlg);
        h.ctrl.GetWindowRect(&rcCtrl);
        int y = rcCtrl.top + row * h.ctrl.m_nLineHeight;
        EXPECT_TRUE(rcDlg.bottom <= y || rcDlg.top >= y + h.ctrl.m_nLineHeight)
            << "row " << row << ": dialog " << rcDlg.top << ".." << rcDlg.bottom << ", caret row at " << y;
        h.Click(IDCANCEL);
    }
}

// The application's own view answers the dialogs before the engine does.
class OwnFindView : public TWKEditView
{
public:
    TWKEdit m_edit;
    int m_nCalls = 0;
    CString m_strSeenFind;
    int m_nSeenDirection = -2;
    BOOL m_bSeenRegex = FALSE;
    DWORD m_dwSeenFlags = 0;
    TWKEdit* GetEdit() override { return &m_edit; }

    afx_msg LRESULT OnOwnFindReplace(WPARAM, LPARAM)
    {
        OEFindReplaceDlg* pDlg = m_bFindDlgOpen ? m_pFindDlg : m_pReplaceDlg;
        m_nCalls++;
        if (!pDlg)
            return 0;
        pDlg->UpdateData(TRUE);
        m_strSeenFind = pDlg->m_strFind;
        m_nSeenDirection = pDlg->m_nDirection;
        m_bSeenRegex = pDlg->m_bRegex;
        m_dwSeenFlags = pDlg->m_fr.Flags;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

const UINT s_nOwnFindMsg = ::RegisterWindowMessageA("commdlg_FindReplace");

BEGIN_MESSAGE_MAP(OwnFindView, TWKEditView)
    ON_REGISTERED_MESSAGE(s_nOwnFindMsg, OnOwnFindReplace)
END_MESSAGE_MAP()

TEST(FindReplace, ADerivedViewAnswersTheDialogItself)
{
    ClearFindSettings();
    KeepFindDialogs keep;
    vt::ModalAnswerer answerer;
    CWnd host;
    host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 500, 300, NULL, NULL);
    OwnFindView* pView = new OwnFindView;   // a view deletes itself with its window
    ASSERT_TRUE(pView->Create(NULL, "view", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 200), &host, 1, NULL));
    vt::SetStoreText(&pView->m_edit, "find me\r\n");
    pView->InitView();
    pView->SendMessage(WM_COMMAND, ID_EDIT_FIND, 0);
    OEFindReplaceDlg* pDlg = pView->m_pFindDlg;
    ASSERT_NE(nullptr, pDlg);
    pDlg->GetDlgItem(IDC_TWK_FINDCOMBO)->SetWindowText("me");
    ::CheckDlgButton(pDlg->m_hWnd, IDC_TWK_REGEX, BST_CHECKED);
    ::SendMessage(pDlg->m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(pDlg->m_hWnd, IDOK));
    EXPECT_EQ(1, pView->m_nCalls);
    EXPECT_EQ("me", pView->m_strSeenFind);
    EXPECT_EQ(1, pView->m_nSeenDirection);
    EXPECT_TRUE(pView->m_bSeenRegex);
    EXPECT_TRUE(pView->m_dwSeenFlags & FR_FINDNEXT);
    EXPECT_FALSE(pView->m_bSelection) << "the engine's handler did not run";
    EXPECT_TRUE(pView->m_bFindDlgOpen);
    pDlg->DestroyWindow();
    pView->m_pFindDlg = NULL;
    pView->m_bFindDlgOpen = FALSE;
    host.DestroyWindow();
    ClearFindSettings();
}

} // namespace
