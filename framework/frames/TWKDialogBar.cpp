#include "framework/frames/TWKDialogBar.h"
#include "framework/frames/TWKControlBarInfo.h"
#include <commctrl.h>

IMPLEMENT_DYNCREATE(TWKDialogBar, TWKControlBar)

BEGIN_MESSAGE_MAP(TWKDialogBar, TWKControlBar)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

TWKDialogBar::TWKDialogBar() : m_sizeDefault(0, 0)
{
}

TWKDialogBar::~TWKDialogBar()
{
    if (m_hWnd)
        DestroyWindow();
}

BOOL TWKDialogBar::Create(CWnd* pParentWnd, LPCSTR lpszTemplateName, DWORD dwStyle, DWORD dwExStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    m_dwExStyle = dwExStyle;
    CREATESTRUCTA cs = {};
    cs.lpszClass = AFX_WNDCONTROLBAR;
    cs.style = dwStyle | WS_CHILD;
    cs.hMenu = (HMENU)(UINT_PTR)nID;
    cs.hInstance = AfxGetInstanceHandle();
    cs.hwndParent = pParentWnd ? pParentWnd->GetSafeHwnd() : NULL;
    if (!PreCreateWindow(cs))
        return FALSE;
    m_lpszTemplateName = lpszTemplateName;
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_WIN95_CLASSES };
    ::InitCommonControlsEx(&icc);
    m_lpszCreatingTemplate = lpszTemplateName;
    BOOL bCreated = AfxCreateDlgWnd(this, lpszTemplateName, pParentWnd);
    m_lpszCreatingTemplate = nullptr;
    if (!bCreated)
        return FALSE;
    SetDlgCtrlID((int)nID);
    CRect rect;
    GetWindowRect(&rect);
    m_sizeDefault = rect.Size();
    ModifyStyle(WS_CAPTION, WS_CLIPSIBLINGS);
    if (!AfxExecuteDlgInit(m_hWnd, lpszTemplateName))
        return FALSE;
    RecordChildLayout();
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                                          ((dwStyle & WS_VISIBLE) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    m_sizeMRUHorzDock = m_sizeMRUVertDock = m_sizeMRUFloat = m_sizeDefault;
    return TRUE;
}

LRESULT TWKDialogBar::HandleInitDialog(WPARAM, LPARAM)
{
    Default();
    // No OLE control container: nothing to make from the control-site record.
    return TRUE;
}

BOOL TWKDialogBar::SetOccDialogInfo(void* pOccDialogInfo)
{
    m_pOccDialogInfo = pOccDialogInfo;
    return TRUE;
}

void TWKDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void TWKDialogBar::GetBarInfo(CControlBarInfo* pBaseInfo)
{
    // A template known only by name has no id to keep.
    if (auto* pInfo = dynamic_cast<TWKControlBarInfo*>(pBaseInfo))
        pInfo->m_nResourceID = IS_INTRESOURCE(m_lpszTemplateName) ? (UINT)(UINT_PTR)m_lpszTemplateName : 0;
    TWKControlBar::GetBarInfo(pBaseInfo);
}
