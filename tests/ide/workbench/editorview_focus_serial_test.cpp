// The source view's status pane follows the keyboard focus: the focus is the
// display's one, so this runs alone.
#include "tests/ide/workbench/sourcedoc_fixture.h"

namespace {

using Views = vt::SourceFixture;

std::string Pane3(CMainFrame* p)
{
    return (LPCSTR)p->GetStatusBar()->GetPaneText(3);
}

} // namespace

TEST_F(Views, TheCaretPositionShowsInPaneThreeOnlyWhileTheViewIsActive)
{
    CAsmIDEDoc* pDoc = Open(dir.Write("a.txt", "first\r\nsecond\r\n"));
    ASSERT_TRUE(pDoc);
    C_IDEEditorView* pView = ViewOf(pDoc);
    ASSERT_TRUE(pView->IsActive());
    Type(pView, "ab");
    EXPECT_EQ("Ln 1, Col 3", Pane3(frame.p));

    CAsmIDEDoc* pOther = Open(dir.Write("b.txt", "x\r\n"));
    ASSERT_TRUE(pOther);
    EXPECT_FALSE(pView->IsActive());
    EXPECT_TRUE(ViewOf(pOther)->IsActive());
    frame.p->GetStatusBar()->SetPaneText(3, "", TRUE);
    pView->GoToLine(2);
    EXPECT_EQ("", Pane3(frame.p));
    ViewOf(pOther)->GoToLine(1);
    EXPECT_EQ("Ln 1, Col 1", Pane3(frame.p));
}
