// A plug-in: borrows another window's handle so that its own message map sees
// that window's messages before the window's class does.
#include "framework/frames/TWKWndPlugIn.h"

IMPLEMENT_DYNCREATE(TWKWndPlugIn, CWnd)

BEGIN_MESSAGE_MAP(TWKWndPlugIn, CWnd)
END_MESSAGE_MAP()

TWKWndPlugIn::TWKWndPlugIn() = default;

TWKWndPlugIn::~TWKWndPlugIn()
{
    // The borrowed window is not ours to destroy.
    m_hWnd = nullptr;
}

void TWKWndPlugIn::SetResult(LRESULT lResult)
{
    m_bResultSet = TRUE;
    m_lResult = lResult;
}

BOOL TWKWndPlugIn::PlugInTo(CWnd* pWnd)
{
    if (!pWnd)
        return FALSE;
    m_hWnd = pWnd->m_hWnd;   // no subclassing: the window's owner feeds us
    m_bPluggedIn = TRUE;
    return TRUE;
}

void TWKWndPlugIn::UnPlug()
{
    m_bPluggedIn = FALSE;
    m_hWnd = nullptr;
}

BOOL TWKWndPlugIn::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (!m_bPluggedIn)
        return FALSE;
    m_bHandled = FALSE;
    m_bCallDefault = FALSE;
    BOOL bResult = CWnd::OnWndMsg(message, wParam, lParam, pResult);
    if (m_bResultSet) {
        m_bResultSet = FALSE;
        if (pResult)
            *pResult = m_lResult;
        return (BOOL)m_lResult;
    }
    return bResult;
}

BOOL TWKWndPlugIn::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (!m_bPluggedIn)
        return FALSE;
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT TWKWndPlugIn::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_bPluggedIn || !m_bCallDefault)
        return 0;
    // The borrowed window's own default processing (an MDI frame's DefFrameProc, say).
    CWnd* pOwner = CWnd::FromHandlePermanent(m_hWnd);
    if (pOwner && pOwner != this)
        return pOwner->DefWindowProc(message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

IMPLEMENT_DYNCREATE(TWKFramePlugIn, TWKWndPlugIn)
