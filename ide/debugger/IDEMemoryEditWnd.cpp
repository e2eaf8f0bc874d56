#include "ide/debugger/IDEMemoryEditWnd.h"
#include "resources/ideres.h"
#include <algorithm>
#include <cctype>

// ---- The go-to strip

BEGIN_MESSAGE_MAP(C_GotoPCDlg, CDialog)
    ON_BN_CLICKED(IDC_GOTO_GO, OnGo)
END_MESSAGE_MAP()

BOOL C_GotoPCDlg::Create(CWnd* pParentWnd)
{
    return CDialog::Create(IDD_GOTO_PC, pParentWnd);
}

DWORD C_GotoPCDlg::ParseHex(LPCSTR lpsz)
{
    while (*lpsz == ' ' || *lpsz == '\t')
        ++lpsz;
    if (lpsz[0] == '0' && (lpsz[1] == 'x' || lpsz[1] == 'X'))
        lpsz += 2;
    DWORD v = 0;
    for (; isxdigit((unsigned char)*lpsz); ++lpsz)
        v = v * 16 + (DWORD)(isdigit((unsigned char)*lpsz) ? *lpsz - '0' : (toupper((unsigned char)*lpsz) - 'A' + 10));
    return v;
}

void C_GotoPCDlg::Go()
{
    CString strSpace, strAddress;
    GetDlgItemText(IDC_GOTO_SPACE, strSpace);
    GetDlgItemText(IDC_GOTO_ADDRESS, strAddress);
    if (strSpace.IsEmpty() || strAddress.IsEmpty())
        return;
    m_nGotoSpace = ParseHex(strSpace);
    m_dwGotoAddress = ParseHex(strAddress);
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_GOTO_PC, 0, 0);
}

// ---- The window

BEGIN_MESSAGE_MAP(C_IDEMemoryEditWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_GOTO_PC, OnGotoPC)
END_MESSAGE_MAP()

int C_IDEMemoryEditWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_GotoDlg.Create(this))
        return -1;
    m_GotoDlg.ShowWindow(SW_SHOW);
    CRect rcEmpty(0, 0, 0, 0);
    if (!m_Header.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, rcEmpty, this, kHeaderId))
        return -1;
    if (!m_MemoryEdit.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, rcEmpty, this, 0))
        return -1;
    m_Header.m_pFont = &m_MemoryEdit.m_font;
    m_Header.SendMessage(WM_SETFONT, (WPARAM)m_MemoryEdit.m_font.GetSafeHandle(), FALSE);
    m_Header.InsertButton(-1, "Address", 20);
    for (int i = 0; i < 16; ++i) {
        CString s;
        s.Format("%X", i);
        m_Header.InsertButton(-1, s, 20);
        m_Header.SetButtonColor(i + 1, 0xC8FFFF);
    }
    m_Header.InsertButton(-1, "ASCII", 20);
    m_Header.SetButtonColor(kAsciiButton, 0xFFC8FF);
    m_Header.InsertButton(-1, "", 20);
    return 0;
}

void C_IDEMemoryEditWnd::OnSize(UINT, int, int)
{
    if (!m_MemoryEdit.m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    const UINT flags = SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE;
    m_GotoDlg.SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), 24, flags);
    m_MemoryEdit.SetWindowPos(nullptr, rc.left, rc.top + 44, rc.Width(), std::max(0, (int)rc.Height() - 44), flags);

    CSize size(0, 0);
    {
        CClientDC dc(&m_MemoryEdit);
        CFont* pOld = dc.SelectObject(&m_MemoryEdit.m_font);
        size = dc.GetTextExtent("0", 1);
        dc.SelectObject(pOld);
    }
    const int w = size.cx, bpl = m_MemoryEdit.m_nBytesPerLine;
    int nColumns = bpl, nWidth = 3 * w;
    if (m_MemoryEdit.m_nDisplayMode == MEMMODE_NIBBLE) {
        nColumns = bpl * 2;
        nWidth = 2 * w;
    } else if (m_MemoryEdit.m_nDisplayMode == MEMMODE_WORD) {
        nColumns = bpl / 2;
        nWidth = 5 * w;
    }
    nColumns = std::min(nColumns, 16);
    m_Header.SetButtonWidth(0, 10 * w);
    int nUsed = 10 * w;
    for (int i = 1; i <= 16; ++i) {
        bool bShow = i <= nColumns;
        if (bShow) {
            m_Header.SetButtonWidth(i, nWidth);
            nUsed += nWidth;
        }
        m_Header.ShowButton(i, bShow);
    }
    m_Header.SetButtonWidth(kAsciiButton, bpl * w);
    nUsed += bpl * w;
    m_Header.SetButtonWidth(kFillerButton, std::max(0, (int)rc.Width() - nUsed));
    m_Header.SetWindowPos(nullptr, rc.left, rc.top + 24, rc.Width(), 20, flags);
}

void C_IDEMemoryEditWnd::OnSetFocus(CWnd*)
{
    if (m_MemoryEdit.m_hWnd)
        m_MemoryEdit.SetFocus();
}

LRESULT C_IDEMemoryEditWnd::OnGotoPC(WPARAM, LPARAM)
{
    m_MemoryEdit.GotoAddress(m_GotoDlg.m_nGotoSpace, m_GotoDlg.m_dwGotoAddress);
    return 1;
}
