#include "ide/workbench/IDEEditorView.h"
#include "ide/workbench/AsmIDEDoc.h"

IMPLEMENT_DYNCREATE(C_IDEEditorView, TWKEditView)

TWKEdit* C_IDEEditorView::GetEdit()
{
    CAsmIDEDoc* pDoc = dynamic_cast<CAsmIDEDoc*>(GetDocument());
    return pDoc ? &pDoc->m_Edit : nullptr;
}
