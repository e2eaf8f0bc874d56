// The source views on a real frame: the font's character set, the status
// pane, the title, the save point the title and the modified flag follow on
// every save path, column mode, the context menu, Save All and print preview.
#include "tests/ide/workbench/sourcedoc_fixture.h"
#include "afx/print.h"
#include "tests/harness/sample_copy.h"

namespace {

using Views = vt::SourceFixture;

std::string Shortened(const std::string& path)
{
    CString s = path.c_str();
    ShortenPathToWidth(s, 4);
    return (LPCSTR)s;
}

vt::CTestCmdUI UpdateOf(CCmdTarget* p, UINT nID)
{
    vt::CTestCmdUI ui;
    ui.m_nID = nID;
    ui.DoUpdate(p, FALSE);
    return ui;
}

TEST(ViewFont, TheCharacterSetFollowsTheSystemLanguage)
{
    struct Case {
        const char* language;
        int charset;
    };
    for (Case c : {Case{"0411", SHIFTJIS_CHARSET}, Case{"0409", ANSI_CHARSET}, Case{"0412", ANSI_CHARSET},
                   Case{"", ANSI_CHARSET}, Case{"411", ANSI_CHARSET}}) {
        EXPECT_EQ(c.charset, C_IDEEditView::CharSetForLanguage(c.language)) << c.language;
    }
}

// The store's one save point: the Save command, the close question's save
// and a save that normalised line ends all move it, so undoing back to it
// clears " *" and undoing past it sets it again.
TEST_F(Views, UndoToTheSavedStateClearsTheMarkOnEverySavePath)
{
    std::string path = dir.Write("m.txt", "abc\r\ndef\r\n");
    CAsmIDEDoc* pDoc = Open(path);
    ASSERT_TRUE(pDoc);
    C_IDEEditorView* pView = ViewOf(pDoc);
    std::string title = Shortened(path);
    EXPECT_EQ(title, (LPCSTR)pDoc->GetTitle());
    Type(pView, "x");
    EXPECT_EQ(title + " *", (LPCSTR)pDoc->GetTitle());

    // Saved through the close question.
    answerer.Queue(vt::ModalAnswer{IDYES});
    ASSERT_TRUE(pDoc->SaveModified());
    EXPECT_EQ("xabc\r\ndef\r\n", vt::ReadFileBytes(path));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(title, (LPCSTR)pDoc->GetTitle());
    // The question box had the focus; the user clicks back into the view.
    pView->SetFocus();
    ASSERT_TRUE(pView->IsActive());

    // Typing on one line is one undo step: the next edits go to other lines.
    pView->GoToLine(2);
    Type(pView, "y");
    ASSERT_TRUE(pDoc->IsModified());
    pView->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(title, (LPCSTR)pDoc->GetTitle());
    pView->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ(title + " *", (LPCSTR)pDoc->GetTitle());
    pView->SendMessage(WM_COMMAND, ID_EDIT_REDO);
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(title, (LPCSTR)pDoc->GetTitle());

    // The Save command.
    pView->GoToLine(2);
    Type(pView, "z");
    pView->SendMessage(WM_COMMAND, ID_FILE_SAVE);
    std::string saved = vt::ReadFileBytes(path);
    EXPECT_NE(std::string::npos, saved.find('z'));
    EXPECT_FALSE(pDoc->IsModified());
    pView->GoToLine(1);
    Type(pView, "w");
    pView->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_FALSE(pDoc->IsModified());
    pView->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ(saved, vt::ReadFileBytes(path));
    EXPECT_EQ(1u, answerer.Count());   // the close question
}

// The save before a build (the sample saves project files without asking)
// moves the same mark.
TEST_F(Views, TheSaveBeforeABuildMovesTheMarkToo)
{
    vt::SampleCopy sample;
    ASSERT_TRUE(frame.p->InitProjectManager());
    ASSERT_TRUE(frame.p->OpenProject(sample.Project().c_str()));
    std::string path = sample.Folder() + "main.asm";
    CAsmIDEDoc* pDoc = Open(path);
    ASSERT_TRUE(pDoc);
    C_IDEEditorView* pView = ViewOf(pDoc);
    pView->SetFocus();
    Type(pView, "x");
    ASSERT_TRUE(frame.p->SaveModifiedDocuments());
    EXPECT_EQ('x', vt::ReadFileBytes(path)[0]);
    EXPECT_FALSE(pDoc->IsModified());
    pView->SetFocus();
    pView->GoToLine(2);
    Type(pView, "y");
    pView->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_FALSE(pDoc->IsModified());
    pView->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ(0u, answerer.Count()) << answerer.Last().text;
    pDoc->m_Edit.SetModified(FALSE);
    pDoc->OnCloseDocument();
    frame.p->CloseProject(FALSE);
}

TEST_F(Views, ASaveThatNormalisedLineEndsLeavesTheDocumentUnmodified)
{
    std::string path = dir.Write("lf.txt", "one\ntwo\n");
    CAsmIDEDoc* pDoc = Open(path);
    ASSERT_TRUE(pDoc);
    C_IDEEditorView* pView = ViewOf(pDoc);
    Type(pView, "x");
    pView->SendMessage(WM_COMMAND, ID_FILE_SAVE);
    EXPECT_EQ("xone\r\ntwo\r\n", vt::ReadFileBytes(path));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(Shortened(path), (LPCSTR)pDoc->GetTitle());
    // The caret stayed where it was, on a line of the reloaded text.
    EXPECT_EQ(1, pView->m_nCaretLine);
    EXPECT_EQ(pDoc->m_Edit.GetFirstLine(), pView->m_pCaretLine);
}

TEST_F(Views, ColumnModeStaysOnAfterTheSelectionIsCleared)
{
    CAsmIDEDoc* pDoc = Open(dir.Write("c.txt", "abcd\r\nefgh\r\n"));
    ASSERT_TRUE(pDoc);
    C_IDEEditorView* pView = ViewOf(pDoc);
    EXPECT_EQ(0, UpdateOf(pView, ID_EDIT_COLUMN_MODE).nChecked);
    pView->SendMessage(WM_COMMAND, ID_EDIT_COLUMN_MODE);
    EXPECT_EQ(1, UpdateOf(pView, ID_EDIT_COLUMN_MODE).nChecked);
    pView->SendMessage(WM_COMMAND, ID_TWK_SELECTALL);
    pView->ClearSelection(TRUE);
    EXPECT_EQ(2, static_cast<C_IDEEditView*>(pView)->m_nSelMode);
    EXPECT_EQ(1, UpdateOf(pView, ID_EDIT_COLUMN_MODE).nChecked);
    pView->SendMessage(WM_COMMAND, ID_EDIT_COLUMN_MODE);
    EXPECT_EQ(0, UpdateOf(pView, ID_EDIT_COLUMN_MODE).nChecked);
    EXPECT_EQ(1, static_cast<C_IDEEditView*>(pView)->m_nSelMode);
}

TEST_F(Views, TheContextMenuIsTheEditPopupWithTheDebuggerItems)
{
    CAsmIDEDoc* pDoc = Open(dir.Write("m.asm", "nop\r\nnop\r\n"));
    ASSERT_TRUE(pDoc);
    C_IDEEditorView* pView = ViewOf(pDoc);
    CMenu menu;
    CMenu* pPopup = nullptr;
    ASSERT_TRUE(pView->BuildEditorMenu(menu, &pPopup));
    std::vector<int> ids = vt::MenuIDs(pPopup->m_hMenu);
    ASSERT_GE(ids.size(), 8u);
    EXPECT_EQ(std::vector<int>({ID_DEBUG_TOGGLE_BREAKPOINT, ID_DEBUG_ENABLE_BREAKPOINT, 0}),
              std::vector<int>(ids.begin(), ids.begin() + 3));
    EXPECT_EQ(std::vector<int>({0, ID_TWK_TOGGLEBOOKMARK, 0, ID_DEBUG_VIEW_DISASSEMBLY}),
              std::vector<int>(ids.end() - 4, ids.end()));
    EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), ID_EDIT_FIND));   // the "&Edit" popup's own items
    char text[64] = "";
    pPopup->GetMenuString(0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("Toggle Breakpoint\tF9", text);
    pPopup->GetMenuString(1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("Enable Breakpoint", text);
    pPopup->GetMenuString((UINT)ids.size() - 3, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("Toggle BookMark", text);
    menu.DestroyMenu();

    // An enabled breakpoint on the caret line offers Disable.
    SetLineBreakState(pView->m_pCaretLine, 2);
    CMenu menu2;
    ASSERT_TRUE(pView->BuildEditorMenu(menu2, &pPopup));
    pPopup->GetMenuString(1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("Disable Breakpoint", text);
    menu2.DestroyMenu();
    SetLineBreakState(pView->m_pCaretLine, 0);

    // Without an emulator that has breakpoints the debugger's items stay disabled.
    for (UINT nID : {ID_DEBUG_TOGGLE_BREAKPOINT, ID_DEBUG_ENABLE_BREAKPOINT, ID_DEBUG_VIEW_DISASSEMBLY})
        EXPECT_EQ(0, UpdateOf(pView, nID).nEnabled) << nID;
}

TEST_F(Views, SaveAllSavesEveryTextDocument)
{
    std::string a = dir.Write("a.txt", "a\r\n"), b = dir.Write("b.txt", "b\r\n");
    CAsmIDEDoc* pA = Open(a);
    CAsmIDEDoc* pB = Open(b);
    ASSERT_TRUE(pA && pB);
    Type(ViewOf(pA), "1");
    Type(ViewOf(pB), "2");
    ViewOf(pB)->SendMessage(WM_COMMAND, ID_FILE_SAVE_ALL);
    EXPECT_EQ("1a\r\n", vt::ReadFileBytes(a));
    EXPECT_EQ("2b\r\n", vt::ReadFileBytes(b));
    EXPECT_FALSE(pA->IsModified());
    EXPECT_FALSE(pB->IsModified());
}

TEST_F(Views, PrintPreviewOpensAndClosesThroughItsCloseCommand)
{
    CAsmIDEDoc* pDoc = Open(dir.Write("p.txt", "print me\r\n"));
    ASSERT_TRUE(pDoc);
    C_IDEEditorView* pView = ViewOf(pDoc);
    CFrameWnd* pChild = pView->GetParentFrame();
    answerer.SetDefault(IDOK);
    pView->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW);
    vt::PumpMessages();
    CView* pPreview = pChild->GetActiveView();
    ASSERT_NE(nullptr, pPreview) << answerer.Count();
    ASSERT_TRUE(pPreview->IsKindOf(RUNTIME_CLASS(CPreviewView))) << (answerer.Count() ? answerer.Last().text : "");
    pPreview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE);
    vt::PumpMessages();
    EXPECT_EQ(pView, pChild->GetActiveView());
    int nViews = 0;
    for (POSITION pos = pDoc->GetFirstViewPosition(); pos; pDoc->GetNextView(pos))
        nViews++;
    EXPECT_EQ(1, nViews);
}

} // namespace
