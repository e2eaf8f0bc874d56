#include "ide/debugger/IDEDisAsmView.h"
#include "ide/debugger/IDEDisAsmDoc.h"

IMPLEMENT_DYNCREATE(C_IDEDisAsmView, TWKEditView)

TWKEdit* C_IDEDisAsmView::GetEdit()
{
    C_IDEDisAsmDoc* pDoc = dynamic_cast<C_IDEDisAsmDoc*>(GetDocument());
    return pDoc ? &pDoc->m_Edit : nullptr;
}

BOOL C_IDEDisAsmView::CanCloseWindow()
{
    // Nothing holds the window while no debugger shows it.
    return TRUE;
}

void C_IDEDisAsmView::DetachFromDebugger()
{
}
