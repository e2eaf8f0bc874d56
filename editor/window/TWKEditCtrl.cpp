// The control flavour of the editing window.
#include "editor/window/TWKEditCtrl.h"
#include "editor/window/TWKEditCoreImpl.h"
#include <new>

template class TWKEditCore<CWnd>;

namespace {
// Read when the message arrives, so no start-up order matters.
const UINT s_nFindReplaceMsg = ::RegisterWindowMessageA("commdlg_FindReplace");
}

IMPLEMENT_DYNAMIC(TWKEditCtrl, CWnd)

BEGIN_MESSAGE_MAP(TWKEditCtrl, CWnd)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_GETDLGCODE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_KEYDOWN()
    TWKEDIT_CORE_MESSAGES(s_nFindReplaceMsg)
END_MESSAGE_MAP()

TWKEditCtrl::TWKEditCtrl() : m_pEdit(NULL)
{
}

TWKEditCtrl::~TWKEditCtrl()
{
    delete m_pEdit;
    m_pEdit = NULL;
}

TWKEdit* TWKEditCtrl::GetEdit()
{
    if (!m_pEdit)
        CreateEdit();
    return m_pEdit;
}

TWKEdit* TWKEditCtrl::CreateEdit()
{
    if (!m_pEdit)
        m_pEdit = new (std::nothrow) TWKEdit;
    return m_pEdit;
}

BOOL TWKEditCtrl::RegisterDropTarget()
{
    return m_dropTarget.Register(this);
}

BOOL TWKEditCtrl::ReplaceDlgItem(UINT nID, CWnd* pParent, DWORD dwExStyle)
{
    CWnd* pItem = pParent ? pParent->GetDlgItem((int)nID) : NULL;
    if (!pItem)
        return FALSE;
    CRect rc;
    pItem->GetWindowRect(&rc);
    pParent->ScreenToClient(&rc);
    BOOL bCreated = Create(NULL, "TWKEdit", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rc, pParent, nID);
    if (!bCreated)
        return FALSE;
    SetWindowPos(pItem, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    pItem->DestroyWindow();
    ModifyStyleEx(0, dwExStyle, SWP_FRAMECHANGED);
    return bCreated;
}

int TWKEditCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    RegisterDropTarget();
    InitView();
    // The first range makes the system add the vertical bar; the second,
    // kept visible by its disabled-no-scroll flag, is the empty text's.
    SetScrollRange(SB_VERT, 0, 32000, TRUE);
    SetScrollRange(SB_VERT, 0, 0, TRUE);
    return 0;
}

void TWKEditCtrl::OnSetFocus(CWnd* pOldWnd)
{
    TWKEditCore<CWnd>::OnSetFocus(pOldWnd);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), EN_SETFOCUS), (LPARAM)m_hWnd);
}

void TWKEditCtrl::OnKillFocus(CWnd* pNewWnd)
{
    TWKEditCore<CWnd>::OnKillFocus(pNewWnd);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), EN_KILLFOCUS), (LPARAM)m_hWnd);
}

UINT TWKEditCtrl::OnGetDlgCode()
{
    return DLGC_WANTALLKEYS;
}

int TWKEditCtrl::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_ACTIVATE || (nResult == MA_ACTIVATEANDEAT && ::GetFocus() != m_hWnd))
        SetFocus();
    return nResult;
}

void TWKEditCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_ESCAPE)
        if (const MSG* pMsg = GetCurrentMessage())
            if (CWnd* pParent = GetParent())
                pParent->PostMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
    CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

// ------------------------------------------------------------ drop target

namespace {
TWKEditCtrl* AsEditCtrl(CWnd* pWnd)
{
    return pWnd && pWnd->IsKindOf(RUNTIME_CLASS(TWKEditCtrl)) ? static_cast<TWKEditCtrl*>(pWnd) : NULL;
}
} // namespace

TWKEditDropTarget::~TWKEditDropTarget()
{
}

DROPEFFECT TWKEditDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    TWKEditCtrl* pCtrl = AsEditCtrl(pWnd);
    return pCtrl ? pCtrl->OnDragEnter(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT TWKEditDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    TWKEditCtrl* pCtrl = AsEditCtrl(pWnd);
    return pCtrl ? pCtrl->OnDragOver(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

BOOL TWKEditDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point)
{
    TWKEditCtrl* pCtrl = AsEditCtrl(pWnd);
    return pCtrl ? pCtrl->OnDrop(pDataObject, dropEffect, point) : FALSE;
}

DROPEFFECT TWKEditDropTarget::OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                       DROPEFFECT dropList, CPoint point)
{
    return COleDropTarget::OnDropEx(pWnd, pDataObject, dropDefault, dropList, point);
}

void TWKEditDropTarget::OnDragLeave(CWnd* pWnd)
{
    if (TWKEditCtrl* pCtrl = AsEditCtrl(pWnd))
        pCtrl->OnDragLeave();
}

DROPEFFECT TWKEditDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point)
{
    TWKEditCtrl* pCtrl = AsEditCtrl(pWnd);
    if (!pCtrl)
        return DROPEFFECT_NONE;
    CRect rc;
    pCtrl->GetClientRect(&rc);
    CRect inner = rc;
    int nInset = GetScrollInset();
    inner.DeflateRect(nInset, nInset);
    UINT nCode = 0xFFFF;
    if (rc.PtInRect(point) && !inner.PtInRect(point))
    {
        UINT h = point.x < inner.left ? SB_LINEUP : point.x >= inner.right ? SB_LINEDOWN : 0xFF;
        UINT v = point.y < inner.top ? SB_LINEUP : point.y >= inner.bottom ? SB_LINEDOWN : 0xFF;
        nCode = MAKEWORD(h, v);
    }
    if (nCode != 0xFFFF && pCtrl->OnScroll(nCode, 0, FALSE))
    {
        DWORD dwNow = ::GetTickCount();
        if (nCode != m_nTimerID)
        {
            m_dwLastTick = dwNow;
            m_nScrollDelay = (UINT)GetScrollDelay();
        }
        if (dwNow - m_dwLastTick > m_nScrollDelay)
        {
            pCtrl->OnScroll(nCode, 0, TRUE);
            m_dwLastTick = dwNow;
            m_nScrollDelay = (UINT)GetScrollInterval();
        }
        // The drop caret goes while the window scrolls.
        if (m_nTimerID == 0xFFFF)
            OnDragLeave(pWnd);
        m_nTimerID = nCode;
        if ((dwKeyState & MK_CONTROL) && (dwKeyState & MK_SHIFT))
            return DROPEFFECT_SCROLL | DROPEFFECT_LINK;
        return DROPEFFECT_SCROLL | ((dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE);
    }
    if (m_nTimerID != 0xFFFF)
    {
        // Out of the border zone again: the drop caret comes back.
        OnDragEnter(pWnd, GetDataObject(), dwKeyState, point);
        m_nTimerID = 0xFFFF;
    }
    return DROPEFFECT_NONE;
}
