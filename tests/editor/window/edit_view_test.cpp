// The view flavour: views of one document kept together by hints, splitter
// panes sharing scroll positions, first activation, the wheel and the
// active document.
#include "tests/editor/window/window_fixture.h"
#include "afx/afxres.h"

class CEditTestDoc : public CDocument
{
    DECLARE_DYNCREATE(CEditTestDoc)
public:
    TWKEdit m_edit;
};
IMPLEMENT_DYNCREATE(CEditTestDoc, CDocument)

// The application's kind of view: it shows its document's store.
class CEditTestView : public TWKEditView
{
    DECLARE_DYNCREATE(CEditTestView)
public:
    TWKEdit* GetEdit() override
    {
        CEditTestDoc* pDoc = static_cast<CEditTestDoc*>(GetDocument());
        return pDoc ? &pDoc->m_edit : NULL;
    }
};
IMPLEMENT_DYNCREATE(CEditTestView, TWKEditView)

namespace {

const UINT kFrameRes = 0x7E20;      // the test frame's title, menu and icon
const UINT kTemplateRes = 0x7E30;   // the test template's document string and menu

class EditView : public ::testing::Test
{
protected:
    CMDIFrameWnd* pFrame = nullptr;
    CMultiDocTemplate* pTemplate = nullptr;

    void SetUp() override
    {
        pFrame = new CMDIFrameWnd;
        ASSERT_TRUE(pFrame->LoadFrame(kFrameRes, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
        pFrame->SetWindowPos(nullptr, 10, 10, 700, 500, SWP_NOZORDER | SWP_SHOWWINDOW);
        AfxGetApp()->m_pMainWnd = pFrame;
        pTemplate = new CMultiDocTemplate(kTemplateRes, RUNTIME_CLASS(CEditTestDoc), RUNTIME_CLASS(CMDIChildWnd),
                                          RUNTIME_CLASS(CEditTestView));
        pTemplate->LoadTemplate();
    }
    void TearDown() override
    {
        pTemplate->CloseAllDocuments(FALSE);
        AfxGetApp()->m_pMainWnd = nullptr;
        if (::IsWindow(pFrame->m_hWnd))
            pFrame->DestroyWindow();
        delete pTemplate;
    }
    CEditTestView* ActiveView()
    {
        CMDIChildWnd* pChild = pFrame->MDIGetActive();
        return pChild ? static_cast<CEditTestView*>(pChild->GetActiveView()) : nullptr;
    }
};

TEST_F(EditView, ViewsOfOneDocumentFollowTheHints)
{
    auto* pDoc = static_cast<CEditTestDoc*>(pTemplate->OpenDocumentFile(nullptr));
    ASSERT_NE(nullptr, pDoc);
    CEditTestView* a = ActiveView();
    vt::SetStoreText(&pDoc->m_edit, vt::NumberedLines(100));
    a->InitView();
    pFrame->SendMessage(WM_COMMAND, ID_WINDOW_NEW);
    CEditTestView* b = ActiveView();
    ASSERT_NE(a, b);
    ASSERT_EQ(pDoc, b->GetDocument());
    EXPECT_EQ(&pDoc->m_edit, b->GetEdit());
    EXPECT_EQ(pDoc->m_edit.GetFirstLine(), b->m_pTopLine) << "InitView ran from OnInitialUpdate";
    vt::PumpMessages();

    // 22590: the other view's caret line is gone with the old text.
    b->m_pCaretLine = pDoc->m_edit.GetLine(30);
    b->m_nCaretLine = 30;
    b->SetTopLine(25, FALSE);
    vt::SetStoreText(&pDoc->m_edit, vt::NumberedLines(12));
    a->InitView();
    TWKEditHint hint(pDoc->m_edit.GetFirstLine());
    b->ValidateRect(NULL);
    a->UpdateViews(a, IDS_TWK_DELETELINE, &hint);
    EXPECT_EQ(12, b->m_nCaretLine);
    EXPECT_EQ(12, b->m_nTopLine);
    EXPECT_EQ(pDoc->m_edit.GetLine(12), b->m_pTopLine);
    EXPECT_TRUE(::GetUpdateRect(b->m_hWnd, NULL, FALSE));

    // 49054 outside a splitter and any other hint: the other view repaints only.
    vt::SetStoreText(&pDoc->m_edit, vt::NumberedLines(100));
    a->InitView();
    b->InitView();
    a->SetTopLine(60, FALSE);
    for (UINT hint2 : {(UINT)TWK_HINT_SCROLL, 0u})
    {
        vt::PumpMessages();
        b->ValidateRect(NULL);
        if (hint2 == TWK_HINT_SCROLL)
            a->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0), 0);
        else
            a->UpdateViews(a, 0, NULL);
        EXPECT_TRUE(::GetUpdateRect(b->m_hWnd, NULL, FALSE)) << hint2;
        EXPECT_EQ(1, b->m_nTopLine) << hint2;
    }
    EXPECT_LT(a->m_nTopLine, 60);
}

TEST_F(EditView, SplitterPanesShareTheTopLineOfARowAndTheFirstColumnOfAColumn)
{
    auto* pDoc = static_cast<CEditTestDoc*>(pTemplate->OpenDocumentFile(nullptr));
    vt::SetStoreText(&pDoc->m_edit, vt::NumberedLines(200));
    CFrameWnd* pChild = pFrame->MDIGetActive();
    CSplitterWnd splitter;
    ASSERT_TRUE(splitter.CreateStatic(pChild, 2, 2, WS_CHILD | WS_VISIBLE | SPLS_DYNAMIC_SPLIT, 0x7E55));
    splitter.MoveWindow(0, 0, 600, 400);
    CCreateContext ctx;
    ctx.m_pCurrentDoc = pDoc;
    CEditTestView* pane[2][2] = {};
    for (int r = 0; r < 2; r++)
        for (int c = 0; c < 2; c++)
        {
            pane[r][c] = new CEditTestView;
            ASSERT_TRUE(pane[r][c]->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(c * 300, r * 200, c * 300 + 300, r * 200 + 200),
                                           &splitter, AFX_IDW_PANE_FIRST + r * 16 + c, &ctx));
        }
    // The first pane is scrolled before the others start: they take over.
    pane[0][0]->OnInitialUpdate();
    EXPECT_EQ(&splitter, pane[0][0]->m_pSplitter);
    pane[0][0]->SetTopLine(30, FALSE);
    pane[0][0]->m_nFirstCol = 8;
    pane[0][1]->OnInitialUpdate();
    pane[1][0]->OnInitialUpdate();
    pane[1][1]->OnInitialUpdate();
    EXPECT_EQ(1, pane[1][1]->m_nSplitRow);
    EXPECT_EQ(1, pane[1][1]->m_nSplitCol);
    EXPECT_EQ(30, pane[0][1]->m_nTopLine) << "same row";
    EXPECT_EQ(pane[0][0]->m_pTopLine, pane[0][1]->m_pTopLine);
    EXPECT_EQ(0, pane[0][1]->m_nFirstCol);
    EXPECT_EQ(8, pane[1][0]->m_nFirstCol) << "same column";
    EXPECT_EQ(1, pane[1][0]->m_nTopLine);
    EXPECT_EQ(1, pane[0][1]->m_nCaretLine) << "a pane keeps its own caret";
    EXPECT_EQ(pDoc->m_edit.GetFirstLine(), pane[0][1]->m_pCaretLine);

    // The active pane scrolls: its row and its column follow.
    pane[0][0]->SetFocus();
    ASSERT_EQ(pane[0][0], splitter.GetActivePane());
    pane[0][0]->SetTopLine(120, FALSE);
    pane[0][0]->m_nFirstCol = 16;
    pane[0][0]->SetScrollPos(SB_VERT, 119, TRUE);
    EXPECT_EQ(120, pane[0][1]->m_nTopLine);
    EXPECT_EQ(pane[0][0]->m_pTopLine, pane[0][1]->m_pTopLine);
    EXPECT_EQ(16, pane[1][0]->m_nFirstCol);
    EXPECT_EQ(1, pane[1][0]->m_nTopLine);
    EXPECT_EQ(1, pane[1][1]->m_nTopLine);
    EXPECT_EQ(0, pane[1][1]->m_nFirstCol) << "neither its row nor its column";

    // Page up tells the others even from the scroll handler.
    pane[0][0]->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0), 0);
    EXPECT_LT(pane[0][0]->m_nTopLine, 120);
    EXPECT_EQ(pane[0][0]->m_nTopLine, pane[0][1]->m_nTopLine);
    splitter.DestroyWindow();
}

TEST_F(EditView, FirstActivationShowsTheCaretOnceAndTheWheelScrollsNothing)
{
    auto* pDoc = static_cast<CEditTestDoc*>(pTemplate->OpenDocumentFile(nullptr));
    CEditTestView* v = ActiveView();
    vt::SetStoreText(&pDoc->m_edit, vt::NumberedLines(200));
    v->InitView();
    TWKEditView::s_bFirstActivation = TRUE;
    v->m_pCaretLine = pDoc->m_edit.GetLine(80);
    v->m_nCaretLine = 80;
    v->OnActivateView(TRUE, v, NULL);
    EXPECT_EQ(80, v->m_nTopLine);
    EXPECT_FALSE(TWKEditView::s_bFirstActivation);
    v->m_pCaretLine = pDoc->m_edit.GetLine(150);
    v->m_nCaretLine = 150;
    v->OnActivateView(TRUE, v, NULL);
    EXPECT_EQ(80, v->m_nTopLine) << "only the first activation";

    v->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)-240), MAKELPARAM(50, 50));
    EXPECT_EQ(80, v->m_nTopLine);
}

TEST_F(EditView, CopySelectedTextCopiesTheStreamOrTheBlock)
{
    auto* pDoc = static_cast<CEditTestDoc*>(pTemplate->OpenDocumentFile(nullptr));
    CEditTestView* v = ActiveView();
    vt::SetStoreText(&pDoc->m_edit, "alpha\r\nbravo\r\ncharlie");
    v->InitView();
    BOOL bColumn = -1;
    EXPECT_EQ(nullptr, v->CopySelectedText(&bColumn)) << "no selection range";
    v->m_pSelStartLine = pDoc->m_edit.GetLine(1);
    v->m_nSelStartCol = 2;
    v->m_pSelEndLine = pDoc->m_edit.GetLine(3);
    v->m_nSelEndCol = 3;
    LPSTR psz = v->CopySelectedText(&bColumn);
    ASSERT_NE(nullptr, psz);
    EXPECT_STREQ("pha\r\nbravo\r\ncha", psz);
    EXPECT_FALSE(bColumn);
    free(psz);
    v->m_nSelMode = 2;
    psz = v->CopySelectedText(&bColumn);
    ASSERT_NE(nullptr, psz);
    EXPECT_EQ(0, strncmp("p\r\na\r\na", psz, 7)) << psz;
    EXPECT_TRUE(bColumn);
    free(psz);
    v->m_nSelMode = 1;
    v->m_pSelStartLine = v->m_pSelEndLine = NULL;
}

TEST_F(EditView, AViewWithoutAStoreShowsNothingAndKeepsRunning)
{
    CMultiDocTemplate plain(kTemplateRes, RUNTIME_CLASS(CEditTestDoc), RUNTIME_CLASS(CMDIChildWnd),
                            RUNTIME_CLASS(TWKEditView));
    plain.LoadTemplate();
    CDocument* pDoc = plain.OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDoc);
    CView* v = pFrame->MDIGetActive()->GetActiveView();
    ASSERT_TRUE(v->IsKindOf(RUNTIME_CLASS(TWKEditView)));
    TWKEditView* ev = static_cast<TWKEditView*>(v);
    EXPECT_EQ(nullptr, ev->GetEdit());
    EXPECT_EQ(nullptr, ev->m_pTopLine);
    ev->SetFocus();
    ev->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    ev->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 5), 0);
    ev->SendMessage(WM_SIZE, 0, MAKELPARAM(100, 100));
    EXPECT_EQ(0, ev->SetTopLine(3, TRUE));
    plain.CloseAllDocuments(FALSE);
}

TEST_F(EditView, GetActiveDocumentIsTheMainFramesActiveOne)
{
    CDocument* pFirst = pTemplate->OpenDocumentFile(nullptr);
    CEditTestView* v1 = ActiveView();
    CDocument* pSecond = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(pFirst, pSecond);
    EXPECT_EQ(pSecond, v1->GetActiveDocument());
    EXPECT_EQ(pFirst, v1->GetDocument());
    TWKEditCtrl ctrl;
    EXPECT_EQ(nullptr, ctrl.GetActiveDocument()) << "the engine itself knows no document";
}

} // namespace
