#include "ide/workbench/ChildFrm.h"
#include "ide/debugger/IDEDisAsmView.h"

IMPLEMENT_DYNCREATE(CChildFrame, TWKMDIChildWnd)

BEGIN_MESSAGE_MAP(CChildFrame, TWKMDIChildWnd)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CChildFrame::CChildFrame() = default;
CChildFrame::~CChildFrame() = default;

BOOL CChildFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    return TWKMDIChildWnd::PreCreateWindow(cs);
}

void CChildFrame::OnClose()
{
    if (C_IDEDisAsmView* pView = dynamic_cast<C_IDEDisAsmView*>(GetActiveView())) {
        if (!pView->CanCloseWindow())
            return;
        pView->DetachFromDebugger();
    }
    TWKMDIChildWnd::OnClose();
}
