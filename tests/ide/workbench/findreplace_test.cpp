// The source view's find and replace driver: "commdlg_FindReplace" sent to
// the view with the dialog's boxes filled and its flags set, as the dialog
// sends it; reports are the message boxes the harness answers.
#include "tests/ide/workbench/sourcedoc_fixture.h"
#include "editor/window/OEFindReplaceDlg.h"
#include <dlgs.h>

namespace {

const UINT kFindMsg = ::RegisterWindowMessageA("commdlg_FindReplace");

// The dialogs are modeless and driven here: the harness leaves them alone.
class KeepFindDialogs {
public:
    KeepFindDialogs() : m_hook(::SetWindowsHookExA(WH_CBT, Proc, nullptr, ::GetCurrentThreadId())) {}
    ~KeepFindDialogs() { ::UnhookWindowsHookEx(m_hook); }

private:
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            LPCSTR name = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs->lpszName;
            if (name && !IS_INTRESOURCE(name) && (!strcmp(name, "Find") || !strcmp(name, "Replace")))
                ::SetPropA((HWND)wParam, "vt.answered", (HANDLE)1);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook;
};

class Find : public vt::SourceFixture {
protected:
    void SetUp() override
    {
        vt::SourceFixture::SetUp();
        answerer.SetDefault(IDOK);
        AfxGetApp()->WriteProfileString(TWK_FIND_SECTION, nullptr, nullptr);
        g_bMatchPending = FALSE;
        g_strPendingReplace.Empty();
    }
    void Load(const char* text)
    {
        pDoc = Open(dir.Write("f.txt", text));
        ASSERT_TRUE(pDoc);
        pView = ViewOf(pDoc);
        pDoc->m_Edit.SetTabSize(4);
        pView->InitView();
    }
    void Caret(int line, int col)
    {
        pView->ClearSelection(FALSE);
        pView->m_pCaretLine = pDoc->m_Edit.GetLine(line);
        pView->m_nCaretLine = line;
        pView->m_nCaretCol = col;
    }
    OEFindReplaceDlg* OpenDialog(bool bReplace)
    {
        pView->SendMessage(WM_COMMAND, bReplace ? ID_EDIT_REPLACE : ID_EDIT_FIND);
        return bReplace ? pView->m_pReplaceDlg : pView->m_pFindDlg;
    }
    OEFindReplaceDlg* Dialog()
    {
        return pView->m_bFindDlgOpen ? pView->m_pFindDlg : pView->m_bReplaceDlgOpen ? pView->m_pReplaceDlg : nullptr;
    }
    // One button of the open dialog, with what its boxes hold.
    void Press(DWORD dwFlag, const char* find, const char* replace = "", bool wrap = true, bool regex = false,
               bool forward = true)
    {
        OEFindReplaceDlg* pDlg = Dialog();
        ASSERT_TRUE(pDlg);
        pDlg->SetDlgItemText(IDC_TWK_FINDCOMBO, find);
        if (pDlg->m_bReplaceMode)
            pDlg->SetDlgItemText(IDC_TWK_REPLACECOMBO, replace);
        ::CheckDlgButton(pDlg->m_hWnd, IDC_TWK_WRAP, wrap ? BST_CHECKED : BST_UNCHECKED);
        ::CheckDlgButton(pDlg->m_hWnd, IDC_TWK_REGEX, regex ? BST_CHECKED : BST_UNCHECKED);
        ::CheckRadioButton(pDlg->m_hWnd, rad1, rad2, forward ? rad2 : rad1);
        pDlg->m_fr.Flags = (pDlg->m_fr.Flags & ~(DWORD)(FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM)) |
                           dwFlag;
        pView->SendMessage(kFindMsg, 0, (LPARAM)&pDlg->m_fr);
        vt::PumpMessages();
    }
    std::string Text()
    {
        std::string s;
        for (TWKEditLine* p = pDoc->m_Edit.GetFirstLine(); p; p = p->pNext)
            s += p->pText ? p->pText : "";
        return s;
    }
    std::string Selected()
    {
        LPSTR psz = pView->CopySelectedText(nullptr);
        std::string s = psz ? psz : "(none)";
        free(psz);
        return s;
    }
    std::string LastReport() { return answerer.Count() ? answerer.Last().text : std::string(); }

    KeepFindDialogs keep;
    CAsmIDEDoc* pDoc = nullptr;
    C_IDEEditorView* pView = nullptr;
};

TEST_F(Find, WrapOnFindsFromTheTopWrapOffReportsNotFound)
{
    Load("alpha beta alpha\r\n");
    Caret(1, 11);
    OpenDialog(true);
    Press(FR_FINDNEXT, "alpha", "", false);
    EXPECT_EQ(0u, answerer.Count());
    EXPECT_EQ(11, pView->m_nSelStartCol);
    EXPECT_TRUE(g_bMatchPending);
    Press(FR_FINDNEXT, "alpha", "", false);
    EXPECT_EQ("The string 'alpha' was not found.", LastReport());
    // A pending match that finds no next one closes the dialog.
    EXPECT_FALSE(pView->m_bReplaceDlgOpen);
    EXPECT_FALSE(g_bMatchPending);

    OpenDialog(true);
    Caret(1, 12);
    size_t nBoxes = answerer.Count();
    Press(FR_FINDNEXT, "alpha");
    EXPECT_EQ(nBoxes, answerer.Count());
    EXPECT_EQ(0, pView->m_nSelStartCol);
    EXPECT_EQ("alpha", Selected());
    EXPECT_TRUE(pView->m_bReplaceDlgOpen);

    // Nothing anywhere, no match pending: reported, the dialog stays with Replace disabled.
    Caret(1, 0);
    g_bMatchPending = FALSE;
    Press(FR_FINDNEXT, "gamma", "", false);
    EXPECT_EQ("The string 'gamma' was not found.", LastReport());
    ASSERT_TRUE(pView->m_bReplaceDlgOpen);
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(Dialog()->m_hWnd, psh1)));
    EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(Dialog()->m_hWnd, psh2)));
}

TEST_F(Find, ReplacingTheLastMatchFinishesAndClosesTheDialog)
{
    Load("one two one\r\n");
    OpenDialog(true);
    Press(FR_REPLACE, "one", "1");   // finds the first, replaces it, selects the next
    EXPECT_EQ("1 two one\r\n", Text());
    EXPECT_EQ("one", Selected());
    EXPECT_TRUE(pView->m_bReplaceDlgOpen);
    Press(FR_REPLACE, "one", "1");
    EXPECT_EQ("1 two 1\r\n", Text());
    EXPECT_EQ("Finished searching for 'one'.", LastReport());
    EXPECT_FALSE(pView->m_bReplaceDlgOpen);
    EXPECT_FALSE(g_bMatchPending);
}

TEST_F(Find, AWrappedMatchIsPendingAndReplaceReplacesIt)
{
    Load("cat dog\r\n");
    Caret(1, 3);
    OpenDialog(true);
    Press(FR_FINDNEXT, "cat", "cow");
    EXPECT_EQ("cat", Selected());
    EXPECT_TRUE(g_bMatchPending);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(Dialog()->m_hWnd, psh1)));
    Press(FR_REPLACE, "cat", "cow");
    EXPECT_EQ("cow dog\r\n", Text());
}

// Replace All: the empty replacement, an expression that matches the empty
// text, and a long regular expression the dialogs' search does not take.
TEST_F(Find, ReplaceAllCases)
{
    struct Case {
        const char* name;
        const char* text;
        const char* find;
        const char* replace;
        bool regex;
        const char* result;
    };
    std::string longPattern(130, 'a');
    std::string longText = longPattern + " b\r\n";
    const Case cases[] = {
        {"empty replacement", "one two one two\r\n", "two", TWK_EMPTY_REPLACE, false, "one  one \r\n"},
        {"empty match", "abc\r\n", "x*", "Y", true, "Yabc\r\n"},
        {"long expression", longText.c_str(), longPattern.c_str(), "X", true, "X b\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.text);
        OpenDialog(true);
        size_t nBoxes = answerer.Count();
        Press(FR_REPLACEALL, c.find, c.replace, true, c.regex);
        EXPECT_EQ(c.result, Text());
        EXPECT_EQ(nBoxes, answerer.Count());   // success is not reported
        EXPECT_FALSE(pView->m_bReplaceDlgOpen);
        pDoc->m_Edit.SetModified(FALSE);
        pDoc->OnCloseDocument();
        vt::PumpMessages();
    }
}

TEST_F(Find, TheDialogsSearchRefusesALongRegularExpression)
{
    std::string pattern(128, 'a');
    Load((pattern + "\r\n").c_str());
    OpenDialog(true);
    Press(FR_FINDNEXT, pattern.c_str(), "", true, true);
    EXPECT_EQ("The string '" + pattern + "' was not found.", LastReport());
    Press(FR_FINDNEXT, pattern.substr(0, 127).c_str(), "", true, true);
    EXPECT_EQ(pattern.substr(0, 127), Selected());
    // The empty replacement from the history replaces the match by nothing.
    Press(FR_REPLACE, pattern.substr(0, 127).c_str(), TWK_EMPTY_REPLACE, true, true);
    EXPECT_EQ("a\r\n", Text());
}

TEST_F(Find, FindFromTheFindDialogSelectsOneMatchAndClosesIt)
{
    Load("one two\r\n");
    OpenDialog(false);
    Press(FR_FINDNEXT, "two");
    EXPECT_EQ("two", Selected());
    EXPECT_FALSE(pView->m_bFindDlgOpen);
    EXPECT_EQ(nullptr, pView->m_pFindDlg);
    EXPECT_FALSE(g_bMatchPending);
}

TEST_F(Find, FindNextWithAnEmptyHistoryOpensTheFindDialog)
{
    Load("one\r\n");
    pView->SendMessage(WM_COMMAND, ID_TWK_FINDNEXT);
    EXPECT_TRUE(pView->m_bFindDlgOpen);
    Press(FR_DIALOGTERM, "");
    EXPECT_FALSE(pView->m_bFindDlgOpen);

    // With a history it finds from the caret, wrapping.
    AfxGetApp()->WriteProfileString(TWK_FIND_SECTION, "Find1", "one");
    Caret(1, 2);
    pView->SendMessage(WM_COMMAND, ID_TWK_FINDNEXT);
    EXPECT_EQ("one", Selected());
    EXPECT_FALSE(pView->m_bFindDlgOpen);
}

// A match holding a tab is selected over its whole display width and Replace
// replaces exactly it.
TEST_F(Find, AMatchHoldingATabIsSelectedWholeAndReplacedExactly)
{
    Load("x a\tb c\r\n");
    OpenDialog(true);
    Press(FR_FINDNEXT, "a\tb", "Z");
    EXPECT_EQ("a\tb", Selected());
    EXPECT_EQ(2, pView->m_nSelStartCol);
    EXPECT_EQ(pDoc->m_Edit.OffsetToColumn(pDoc->m_Edit.GetFirstLine(), 5), pView->m_nSelEndCol);
    Press(FR_REPLACE, "a\tb", "Z");
    EXPECT_EQ("x Z c\r\n", Text());
}

} // namespace
