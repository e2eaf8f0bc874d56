#include "support/ui/HyperLinkStatic.h"
#include <shellapi.h>

BEGIN_MESSAGE_MAP(C_HyperLinkStatic, CStatic)
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

namespace {

// The hand of the Windows help program, else the system's own hand.
HCURSOR LoadLinkCursor()
{
    char path[MAX_PATH + 32] = "";
    UINT n = ::GetWindowsDirectoryA(path, MAX_PATH);
    HCURSOR hCursor = nullptr;
    if (n > 0 && n < MAX_PATH) {
        lstrcatA(path, "\\Winhlp32.exe");
        // As data: only its resources are wanted, whatever its architecture.
        if (HMODULE hModule = ::LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
            if (HCURSOR hHelp = ::LoadCursorA(hModule, MAKEINTRESOURCEA(106)))
                hCursor = (HCURSOR)::CopyImage(hHelp, IMAGE_CURSOR, 0, 0, 0);
            ::FreeLibrary(hModule);
        }
    }
    return hCursor ? hCursor : ::LoadCursorA(nullptr, IDC_HAND);
}

} // namespace

C_HyperLinkStatic::C_HyperLinkStatic() {}

C_HyperLinkStatic::~C_HyperLinkStatic() {}

void C_HyperLinkStatic::PreSubclassWindow()
{
    ModifyStyle(0, SS_NOTIFY);

    HFONT hFont = GetFont();
    LOGFONTA lf = {};
    if (!hFont || !::GetObjectA(hFont, sizeof lf, &lf))
        ::GetObjectA(::GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
    lf.lfUnderline = TRUE;
    m_UnderlineFont.CreateFontIndirect(&lf);
    SetFont(m_UnderlineFont, TRUE);

    if (!m_hLinkCursor)
        m_hLinkCursor = LoadLinkCursor();

    CStatic::PreSubclassWindow();

    if (m_ToolTip.Create(this, TTS_ALWAYSTIP)) {
        CRect rect;
        GetClientRect(&rect);
        m_ToolTip.AddTool(this, "", &rect, TOOLTIP_ID);
        m_ToolTip.ShowWindow(SW_HIDE);
    }
}

BOOL C_HyperLinkStatic::PreTranslateMessage(MSG* pMsg)
{
    if (m_ToolTip.m_hWnd)
        m_ToolTip.RelayEvent(pMsg);
    return CStatic::PreTranslateMessage(pMsg);
}

BOOL C_HyperLinkStatic::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return CStatic::OnNotify(wParam, lParam, pResult);
}

void C_HyperLinkStatic::SetLinkText(LPCSTR lpszText)
{
    m_strLinkText = lpszText;
    if (m_hWnd)
        SetWindowText(m_strLinkText);
}

void C_HyperLinkStatic::SetToolTipText(LPCSTR lpszText)
{
    if (m_bToolTip && m_ToolTip.m_hWnd)
        m_ToolTip.UpdateTipText(lpszText, this, TOOLTIP_ID);
}

void C_HyperLinkStatic::SetToolTipTextColor(COLORREF cr)
{
    if (m_ToolTip.m_hWnd)
        m_ToolTip.SetTipTextColor(cr);
}

void C_HyperLinkStatic::SetToolTipBkColor(COLORREF cr)
{
    if (m_ToolTip.m_hWnd)
        m_ToolTip.SetTipBkColor(cr);
}

BOOL C_HyperLinkStatic::GotoURL(LPCSTR lpszURL)
{
    // Results up to 32 are errors (32 itself: a library the shell needed is missing).
    HINSTANCE r = ::ShellExecuteA(nullptr, "open", lpszURL, nullptr, nullptr, SW_SHOWMINIMIZED);
    return (INT_PTR)r > 32;
}

void C_HyperLinkStatic::OnMouseMove(UINT nFlags, CPoint point)
{
    CStatic::OnMouseMove(nFlags, point);
    if (!m_bHover) {
        m_bHover = 1;
        RedrawWindow();
        SetCapture();
        return;
    }
    CRect rect;
    GetClientRect(&rect);
    if (!rect.PtInRect(point)) {
        m_bHover = 0;
        ::ReleaseCapture();
        RedrawWindow();
    }
}

BOOL C_HyperLinkStatic::OnSetCursor(CWnd*, UINT, UINT)
{
    if (m_hLinkCursor)
        ::SetCursor(m_hLinkCursor);
    return TRUE;
}

HBRUSH C_HyperLinkStatic::CtlColor(CDC* pDC, UINT)
{
    pDC->SetTextColor(m_bVisited ? m_crVisited : m_bHover ? m_crHover : m_crLink);
    pDC->SetBkMode(TRANSPARENT);
    return (HBRUSH)::GetStockObject(NULL_BRUSH);
}

void C_HyperLinkStatic::OnClicked()
{
    if (m_bNotifyParent) {
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(CU_WM_LINK_CLICKED, (WPARAM)GetDlgCtrlID(), 0);
    } else {
        GotoURL(m_strURL);
    }
    m_bVisited = 1;
    Invalidate();
}
