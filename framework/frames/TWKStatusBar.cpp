// The status bar and the custom status bar.
#include "framework/frames/TWKStatusBar.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frames/TWKProgressCtrl.h"
#include <new>
#include <vector>

namespace {
// The status window's borders: horizontal, vertical, gap between parts.
struct Borders { int cx = 0, cy = 0, gap = 0; };

Borders GetBorders(const CWnd* pBar)
{
    int rg[3] = { 0, 0, 0 };
    pBar->SendMessage(SB_GETBORDERS, 0, (LPARAM)rg);
    return Borders{ rg[0], rg[1], rg[2] };
}

// Sends WM_SIZE with its current window size to the bar's parent, which lays out again.
void ResizeParent(CWnd* pBar)
{
    CWnd* pParent = pBar->GetParent();
    if (!pParent)
        return;
    CRect rect;
    pParent->GetWindowRect(&rect);
    pParent->SendMessage(WM_SIZE, pParent->IsZoomed() ? SIZE_MAXIMIZED : SIZE_RESTORED,
                         MAKELPARAM(rect.Width(), rect.Height()));
}

BOOL BitmapSize(CBitmap* pBitmap, CSize& size)
{
    BITMAP bm;
    if (!pBitmap || !::GetObjectA(pBitmap->GetSafeHandle(), sizeof bm, &bm))
        return FALSE;
    size = CSize(bm.bmWidth, bm.bmHeight);
    return TRUE;
}
} // namespace

// ---------------------------------------------------------------------------
// TWKStatusBar

IMPLEMENT_DYNAMIC(TWKStatusBar, TWKControlBar)

BEGIN_MESSAGE_MAP(TWKStatusBar, TWKControlBar)
    ON_WM_NCHITTEST()
    ON_WM_NCPAINT()
    ON_WM_PAINT()
    ON_WM_NCCALCSIZE()
    ON_WM_SIZE()
    ON_WM_WINDOWPOSCHANGING()
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_GETTEXT, OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
    ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
END_MESSAGE_MAP()

TWKStatusBar::TWKStatusBar()
{
    m_cyTopBorder = 2;
    if (twkAuxData.bWin4) {
        m_cxLeftBorder = m_cxRightBorder = 0;
        m_cyBottomBorder = 0;
    } else {
        m_cxLeftBorder = m_cxRightBorder = 2;
        m_cyBottomBorder = 1;
    }
}

TWKStatusBar::~TWKStatusBar()
{
    FreePanes();
}

void TWKStatusBar::FreePanes()
{
    delete[] static_cast<Pane*>(m_pData);
    m_pData = nullptr;
    m_nCount = 0;
}

BOOL TWKStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL TWKStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    DWORD dwWndStyle = (dwStyle & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE
                       | dwCtrlStyle;
    if (pParentWnd && (pParentWnd->GetStyle() & WS_THICKFRAME))
        dwWndStyle |= SBARS_SIZEGRIP;
    INITCOMMONCONTROLSEX icc = { sizeof icc, ICC_BAR_CLASSES };
    ::InitCommonControlsEx(&icc);
    return CWnd::CreateEx(0, STATUSCLASSNAMEA, nullptr, dwWndStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL TWKStatusBar::PreCreateWindow(CREATESTRUCT& cs)
{
    // A bottom bar of a Windows-4 frame needs no border of its own.
    if (twkAuxData.bWin4 && (m_dwStyle & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) == CBRS_BOTTOM)
        m_dwStyle &= ~(CBRS_BORDER_ANY | CBRS_BORDER_3D);
    return TWKControlBar::PreCreateWindow(cs);
}

BOOL TWKStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    FreePanes();
    if (nIDCount < 0)
        nIDCount = 0;
    Pane* pPanes = new (std::nothrow) Pane[nIDCount ? nIDCount : 1]();
    if (!pPanes)
        return FALSE;
    m_pData = pPanes;
    m_nCount = nIDCount;
    if (!lpIDArray) {
        UpdateAllPanes(TRUE, FALSE);
        return TRUE;
    }
    BOOL bResult = TRUE;
    HDC hDC = ::GetDC(nullptr);
    HGDIOBJ hOldFont = m_hWnd ? ::SelectObject(hDC, (HGDIOBJ)GetFont()) : nullptr;
    for (int i = 0; i < nIDCount; i++) {
        Pane& pane = pPanes[i];
        pane.nFlags |= SBPF_UPDATE;
        pane.nID = lpIDArray[i];
        if (pane.nID) {
            CString strText;
            if (!strText.LoadString(pane.nID) || strText.IsEmpty())
                strText = "  ";
            SIZE size = { 0, 0 };
            ::GetTextExtentPoint32A(hDC, strText, strText.GetLength(), &size);
            pane.cxText = size.cx;
            if (!SetPaneText(i, strText, FALSE)) {
                bResult = FALSE;
                break;
            }
        } else {
            pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
            if (i == 0)
                pane.nStyle |= SBPS_NOBORDERS | SBPS_STRETCH;
        }
    }
    if (hOldFont)
        ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(nullptr, hDC);
    if (bResult)
        UpdateAllPanes(TRUE, TRUE);
    return bResult;
}

int TWKStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (int i = 0; i < m_nCount; i++)
        if (GetPanePtr(i)->nID == nIDFind)
            return i;
    return -1;
}

UINT TWKStatusBar::GetItemID(int nIndex) const
{
    return GetPanePtr(nIndex)->nID;
}

void TWKStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    if (!SendMessage(SB_GETRECT, (WPARAM)nIndex, (LPARAM)lpRect))
        ::SetRectEmpty(lpRect);
}

UINT TWKStatusBar::GetPaneStyle(int nIndex) const
{
    return GetPanePtr(nIndex)->nStyle;
}

void TWKStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    Pane* pPane = GetPanePtr(nIndex);
    if (pPane->nStyle == nStyle)
        return;
    if ((pPane->nStyle ^ nStyle) & SBPS_STRETCH) {
        pPane->nStyle = nStyle;
        UpdateAllPanes(TRUE, FALSE);
    }
    pPane->nFlags |= SBPF_UPDATE;
    pPane->nStyle = nStyle;
    SetPaneText(nIndex, pPane->strText, TRUE);
}

void TWKStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    const Pane* pPane = GetPanePtr(nIndex);
    nID = pPane->nID;
    nStyle = pPane->nStyle;
    cxWidth = pPane->cxText;
}

void TWKStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    Pane* pPane = GetPanePtr(nIndex);
    BOOL bLayout = FALSE;
    pPane->nID = nID;
    if (pPane->nStyle != nStyle) {
        if ((pPane->nStyle ^ nStyle) & SBPS_STRETCH) {
            bLayout = TRUE;
        } else {
            pPane->nStyle = nStyle;
            pPane->nFlags |= SBPF_UPDATE;
            SetPaneText(nIndex, pPane->strText, TRUE);
        }
        pPane->nStyle = nStyle;
    }
    if (cxWidth != pPane->cxText) {
        pPane->cxText = cxWidth;
        bLayout = TRUE;
    }
    if (bLayout)
        UpdateAllPanes(TRUE, FALSE);
}

BOOL TWKStatusBar::SetPaneWidth(int nIndex, int cxWidth)
{
    GetPanePtr(nIndex)->cxText = cxWidth;
    UpdateAllPanes(TRUE, FALSE);
    return TRUE;
}

CString TWKStatusBar::GetPaneText(int nIndex) const
{
    return GetPanePtr(nIndex)->strText;
}

void TWKStatusBar::GetPaneText(int nIndex, CString& rString) const
{
    rString = GetPanePtr(nIndex)->strText;
}

BOOL TWKStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate)
{
    Pane* pPane = GetPanePtr(nIndex);
    LPCSTR lpszText = lpszNewText ? lpszNewText : "";
    if (!(pPane->nFlags & SBPF_UPDATE) && pPane->strText == lpszText)
        return TRUE;
    try {
        if (pPane->strText != lpszText)
            pPane->strText = lpszText;
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    if (!bUpdate) {
        pPane->nFlags |= SBPF_UPDATE;
        return TRUE;
    }
    pPane->nFlags &= ~SBPF_UPDATE;
    if (m_hWnd) {
        UINT nType = LOWORD(pPane->nStyle) | m_nDrawType;
        LPCSTR lpszSent = (pPane->nStyle & SBPS_DISABLED) ? nullptr : (LPCSTR)pPane->strText;
        SendMessage(SB_SETTEXT, (WPARAM)(nType | (UINT)nIndex), (LPARAM)lpszSent);
    }
    return TRUE;
}

void TWKStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText)
{
    if (!m_hWnd)
        return;
    if (bUpdateRects && m_nCount > 0) {
        CRect rect;
        GetWindowRect(&rect);
        rect.OffsetRect(-rect.left, -rect.top);
        CalcInsideRect(rect, TRUE, FALSE);
        Borders borders = GetBorders(this);
        if ((GetStyle() & SBARS_SIZEGRIP) && !::IsZoomed(::GetParent(m_hWnd)))
            rect.right -= 2 * ::GetSystemMetrics(SM_CXBORDER) + borders.cx + ::GetSystemMetrics(SM_CXVSCROLL);
        int nExtra = rect.Width() + borders.gap;
        int nStretchy = 0;
        for (int i = 0; i < m_nCount; i++) {
            const Pane* pPane = GetPanePtr(i);
            if (pPane->nStyle & SBPS_STRETCH)
                nStretchy++;
            nExtra -= pPane->cxText + 6 + borders.gap;
        }
        std::vector<int> rights(m_nCount);
        int nRight = rect.left;
        for (int i = 0; i < m_nCount; i++) {
            const Pane* pPane = GetPanePtr(i);
            nRight += pPane->cxText + 6;
            if ((pPane->nStyle & SBPS_STRETCH) && nExtra > 0) {
                int nAdd = nExtra / nStretchy;
                nRight += nAdd;
                nExtra -= nAdd;
                nStretchy--;
            }
            rights[i] = nRight;
            nRight += borders.gap;
        }
        SendMessage(SB_SETPARTS, (WPARAM)m_nCount, (LPARAM)rights.data());
    }
    if (bUpdateText) {
        for (int i = 0; i < m_nCount; i++) {
            Pane* pPane = GetPanePtr(i);
            if (pPane->nFlags & SBPF_UPDATE)
                SetPaneText(i, pPane->strText, TRUE);
        }
    }
}

CSize TWKStatusBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    if (!bHorz)
        return CSize(0, 0);
    TEXTMETRICA tm = {};
    HDC hDC = ::GetDC(nullptr);
    HGDIOBJ hOldFont = m_hWnd ? ::SelectObject(hDC, (HGDIOBJ)GetFont()) : nullptr;
    ::GetTextMetricsA(hDC, &tm);
    if (hOldFont)
        ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(nullptr, hDC);
    CRect rectEmpty(0, 0, 0, 0);
    CalcInsideRect(rectEmpty, bHorz);
    Borders borders = m_hWnd ? GetBorders(this) : Borders();
    int cy = tm.tmHeight - tm.tmInternalLeading - 1 + 2 * borders.cy + 2 * ::GetSystemMetrics(SM_CYBORDER)
             - rectEmpty.Height();
    return CSize(32767, std::max(cy, m_nMinHeight));
}

void TWKStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    TWKStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)m_nCount;
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        state.m_nID = GetPanePtr((int)state.m_nIndex)->nID;
        // The bar's own handlers come first.
        if (state.m_nID && CWnd::OnCmdMsg(state.m_nID, (int)CN_UPDATE_COMMAND_UI, &state, nullptr))
            continue;
        // A pane nobody updates keeps its state.
        state.DoUpdate(pTarget, FALSE);
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

BOOL TWKStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return TWKControlBar::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult)
        *pResult = TRUE;
    return TRUE;
}

TWKStatusBar::Pane* TWKStatusBar::MessagePane() const
{
    int nIndex = CommandToIndex(0);
    return nIndex < 0 ? nullptr : GetPanePtr(nIndex);
}

// ---- messages

LRESULT TWKStatusBar::OnNcHitTest(CPoint)
{
    // Only the size grip is the system window's; the rest is the bar's client area.
    return Default() == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
}

void TWKStatusBar::OnNcPaint()
{
    EraseNonClient();
}

void TWKStatusBar::OnPaint()
{
    UpdateAllPanes(FALSE, TRUE);
    Default();
}

void TWKStatusBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    CRect rect(0, 0, 0, 0);
    CalcInsideRect(rect, TRUE, FALSE);
    // The status window draws its own top line: two pixels of the border go back to it.
    RECT& r = lpncsp->rgrc[0];
    r.left += rect.left;
    r.top += rect.top - 2;
    r.right += rect.right;
    r.bottom += rect.bottom;
}

void TWKStatusBar::OnSize(UINT nType, int cx, int cy)
{
    TWKControlBar::OnSize(nType, cx, cy);
    UpdateAllPanes(TRUE, FALSE);
}

void TWKStatusBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    // The status window repaints itself; the borders need no redraw on a size change.
    DWORD dwStyle = m_dwStyle;
    m_dwStyle &= ~(CBRS_BORDER_ANY | CBRS_BORDER_3D);
    TWKControlBar::OnWindowPosChanging(lpWndPos);
    m_dwStyle = dwStyle;
}

LRESULT TWKStatusBar::OnSetText(WPARAM, LPARAM lParam)
{
    int nIndex = CommandToIndex(0);
    if (nIndex < 0)
        return -1;
    return SetPaneText(nIndex, reinterpret_cast<LPCSTR>(lParam), TRUE) ? TRUE : -1;
}

LRESULT TWKStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    const Pane* pPane = MessagePane();
    auto* lpszDest = reinterpret_cast<LPSTR>(lParam);
    if (!pPane || wParam == 0 || !lpszDest)
        return 0;
    int nLen = std::min(pPane->strText.GetLength(), (int)wParam - 1);
    memcpy(lpszDest, (LPCSTR)pPane->strText, (size_t)nLen);
    lpszDest[nLen] = '\0';
    return nLen;
}

LRESULT TWKStatusBar::OnGetTextLength(WPARAM, LPARAM)
{
    const Pane* pPane = MessagePane();
    return pPane ? pPane->strText.GetLength() : 0;
}

LRESULT TWKStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM)
{
    LRESULT lResult = Default();
    m_nMinHeight = (int)wParam;
    return lResult;
}

// ---------------------------------------------------------------------------
// TWKStatusCmdUI

void TWKStatusCmdUI::Enable(BOOL bOn)
{
    m_bEnableChanged = TRUE;
    auto* pBar = static_cast<TWKStatusBar*>(m_pOther);
    UINT nStyle = pBar->GetPaneStyle((int)m_nIndex) & ~SBPS_DISABLED;
    if (!bOn)
        nStyle |= SBPS_DISABLED;
    pBar->SetPaneStyle((int)m_nIndex, nStyle);
}

void TWKStatusCmdUI::SetCheck(int nCheck)
{
    auto* pBar = static_cast<TWKStatusBar*>(m_pOther);
    UINT nStyle = pBar->GetPaneStyle((int)m_nIndex) & ~SBPS_POPOUT;
    if (nCheck)
        nStyle |= SBPS_POPOUT;
    pBar->SetPaneStyle((int)m_nIndex, nStyle);
}

void TWKStatusCmdUI::SetText(LPCSTR lpszText)
{
    static_cast<TWKStatusBar*>(m_pOther)->SetPaneText((int)m_nIndex, lpszText, TRUE);
}

// ---------------------------------------------------------------------------
// TWKCustomStatusBar

IMPLEMENT_DYNAMIC(TWKCustomStatusBar, TWKStatusBar)

BEGIN_MESSAGE_MAP(TWKCustomStatusBar, TWKStatusBar)
    ON_WM_SETCURSOR()
    ON_MESSAGE(WM_SETFONT, OnSetFont)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

TWKCustomStatusBar::TWKCustomStatusBar()
{
    // Every pane is the bar's to draw, whatever style a caller gives it.
    m_nDrawType = SBT_OWNERDRAW;
}

TWKCustomStatusBar::~TWKCustomStatusBar()
{
    delete m_pProgress;
    delete m_pSavedFirstPane;
    delete[] m_pAttributes;
}

BOOL TWKCustomStatusBar::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= 0x1000;
    return TWKStatusBar::PreCreateWindow(cs);
}

BOOL TWKCustomStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    BOOL bResult = TWKStatusBar::SetIndicators(lpIDArray, nIDCount);
    delete[] m_pAttributes;
    m_pAttributes = new (std::nothrow) PaneAttributes[m_nCount ? m_nCount : 1]();
    if (!m_pAttributes)
        return FALSE;
    if (m_hWnd) {
        for (int i = 0; i < m_nCount; i++)
            SendMessage(SB_SETTEXT, (WPARAM)((LOWORD(GetPanePtr(i)->nStyle) | SBT_OWNERDRAW) | (UINT)i), 0);
    }
    return bResult;
}

void TWKCustomStatusBar::GetPaneInfoEx(TWKStatusPaneInfo* pInfo) const
{
    int i = pInfo->nIndex;
    GetPaneInfo(i, pInfo->nID, pInfo->nStyle, pInfo->cxWidth);
    pInfo->strText = GetPaneText(i);
    const PaneAttributes& a = m_pAttributes[i];
    pInfo->clrText = a.clrText;
    pInfo->clrBackground = a.clrBackground;
    pInfo->pBitmap = a.pBitmap;
    pInfo->hCursor = a.hCursor;
    pInfo->nAlign = a.nAlign;
    pInfo->dwMask = a.dwFlags;
}

void TWKCustomStatusBar::SetPaneInfoEx(TWKStatusPaneInfo* pInfo, BOOL bFitBitmap)
{
    int i = pInfo->nIndex;
    DWORD dwMask = pInfo->dwMask;
    UINT nID, nStyle;
    int cxWidth;
    GetPaneInfo(i, nID, nStyle, cxWidth);
    if (dwMask & TWKSB_ID)
        nID = pInfo->nID;
    if (dwMask & TWKSB_STYLE)
        nStyle = pInfo->nStyle;
    CSize sizeBitmap(0, 0);
    if (dwMask & TWKSB_WIDTH)
        cxWidth = pInfo->cxWidth;
    else if (bFitBitmap && (dwMask & TWKSB_BITMAP) && BitmapSize(pInfo->pBitmap, sizeBitmap))
        cxWidth = sizeBitmap.cx;
    SetPaneInfo(i, nID, nStyle | SBPS_OWNERDRAW, cxWidth);
    if (dwMask & TWKSB_TEXT)
        SetPaneText(i, pInfo->strText, FALSE);
    PaneAttributes& a = m_pAttributes[i];
    if (dwMask & TWKSB_ALIGN)
        a.nAlign = pInfo->nAlign;
    if (dwMask & TWKSB_TEXTCOLOR)
        a.clrText = pInfo->clrText;
    if (dwMask & TWKSB_BKCOLOR)
        a.clrBackground = pInfo->clrBackground;
    if (dwMask & TWKSB_BITMAP)
        a.pBitmap = pInfo->pBitmap;
    if (dwMask & TWKSB_CURSOR)
        a.hCursor = pInfo->hCursor;
    a.dwFlags = dwMask & TWKSB_ATTRIBUTES;
    if (bFitBitmap && sizeBitmap.cy >= 1 && m_hWnd) {
        SendMessage(SB_SETMINHEIGHT, (WPARAM)(sizeBitmap.cy + 2 * GetBorders(this).cy));
        ResizeParent(this);
    }
    if (dwMask & TWKSB_WIDTH)
        RepositionPaneControls();
    if (m_hWnd) {
        CRect rect;
        GetPaneRect(i, &rect);
        InvalidateRect(&rect);
    }
}

void TWKCustomStatusBar::GetPaneRect(int nIndex, LPRECT lpRect) const
{
    Borders borders = GetBorders(this);
    int rgParts[32] = {};
    int nParts = (int)SendMessage(SB_GETPARTS, 32, (LPARAM)rgParts);
    CRect rectClient;
    GetClientRect(&rectClient);
    if (nIndex < 0 || nIndex >= std::min(nParts, 32)) {
        ::SetRectEmpty(lpRect);
        return;
    }
    lpRect->left = nIndex == 0 ? borders.cx : rgParts[nIndex - 1] + borders.gap;
    lpRect->right = rgParts[nIndex] == -1 ? rectClient.right - borders.cx : rgParts[nIndex];
    lpRect->top = borders.cy;
    lpRect->bottom = std::max(0, (int)rectClient.bottom - borders.cy + 1);
}

void TWKCustomStatusBar::SetPaneControl(int nIndex, CWnd* pWnd, int nMode, UINT nFlags)
{
    if (nIndex < 0)
        return;
    m_arrPaneControls.SetAtGrow(nIndex, pWnd);
    m_arrPaneControlFlags.SetAtGrow(nIndex, pWnd ? nFlags : 0);
    if (!pWnd || !pWnd->m_hWnd)
        return;
    if (nMode == 0) {
        CRect rect;
        GetItemRect(nIndex, &rect);
        pWnd->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
    } else if (nMode == 1) {
        CRect rect;
        pWnd->GetWindowRect(&rect);
        SetPaneWidth(nIndex, rect.Width());
    }
}

CWnd* TWKCustomStatusBar::GetPaneControl(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_arrPaneControls.GetSize())
        return nullptr;
    return static_cast<CWnd*>(m_arrPaneControls[nIndex]);
}

UINT TWKCustomStatusBar::GetPaneControlFlags(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_arrPaneControlFlags.GetSize())
        return 0;
    return m_arrPaneControlFlags[nIndex];
}

void TWKCustomStatusBar::ShowPaneControls(BOOL bShow)
{
    for (INT_PTR i = 0; i < m_arrPaneControls.GetSize(); i++) {
        auto* pWnd = static_cast<CWnd*>(m_arrPaneControls[i]);
        if (pWnd && pWnd->m_hWnd)
            pWnd->ShowWindow(bShow ? SW_SHOWNORMAL : SW_HIDE);
    }
}

void TWKCustomStatusBar::RepositionPaneControls()
{
    for (INT_PTR i = 0; i < m_arrPaneControls.GetSize(); i++) {
        auto* pWnd = static_cast<CWnd*>(m_arrPaneControls[i]);
        if (!pWnd || !pWnd->m_hWnd)
            continue;
        UINT nFlags = GetPaneControlFlags((int)i);
        CRect rect, rectWnd;
        GetItemRect((int)i, &rect);
        pWnd->GetWindowRect(&rectWnd);
        // One axis: keep the control's own extent, or fill the pane (inset by a pixel).
        auto place = [nFlags](int nLow, int nHigh, int nOwn, UINT nKeep, int& nPos, int& nExtent) {
            if (nFlags & nKeep) {
                nPos = nLow;
                nExtent = nOwn;
            } else if (nFlags & TWKSB_INSET) {
                nPos = nLow + 1;
                nExtent = nHigh - nLow - 2;
            } else {
                nPos = nLow;
                nExtent = nHigh - nLow;
            }
        };
        int x, cx, y, cy;
        place(rect.left, rect.right, rectWnd.Width(), TWKSB_KEEPWIDTH, x, cx);
        place(rect.top, rect.bottom, rectWnd.Height(), TWKSB_KEEPHEIGHT, y, cy);
        pWnd->SetWindowPos(nullptr, x, y, cx, cy, SWP_NOZORDER);
    }
}

BOOL TWKCustomStatusBar::InitProgress(LPCSTR lpszPrompt, int nLower, int nUpper, BOOL bReset, DWORD dwProgressStyle)
{
    BOOL bNew = FALSE;
    if (!m_pProgress) {
        m_pProgress = new TWKProgressCtrl;
        if (!m_pProgress->Create(WS_CHILD, CRect(0, 0, 0, 0), this, 1, dwProgressStyle)) {
            delete m_pProgress;
            m_pProgress = nullptr;
            return FALSE;
        }
        bNew = TRUE;
    } else {
        m_pProgress->SetStyle(dwProgressStyle);
    }
    ShowPaneControls(FALSE);
    CRect rectClient;
    GetClientRect(&rectClient);
    int nLeft = rectClient.left;
    if (lpszPrompt) {
        if (!m_pSavedFirstPane) {
            m_pSavedFirstPane = new TWKStatusPaneInfo;
            m_pSavedFirstPane->nIndex = 0;
            GetPaneInfoEx(m_pSavedFirstPane);
            m_pSavedFirstPane->dwMask |= TWKSB_ID | TWKSB_STYLE | TWKSB_WIDTH | TWKSB_TEXT;
        }
        TWKStatusPaneInfo info;
        info.nIndex = 0;
        info.strText = CString(lpszPrompt) + " ";
        info.nStyle = SBPS_NOBORDERS;
        CClientDC dc(this);
        HGDIOBJ hOldFont = dc.SelectObject((HGDIOBJ)GetFont());
        info.cxWidth = dc.GetTextExtent(info.strText).cx;
        dc.SelectObject(hOldFont);
        info.clrText = m_pSavedFirstPane->clrText;
        info.clrBackground = m_pSavedFirstPane->clrBackground;
        info.dwMask = TWKSB_STYLE | TWKSB_WIDTH | TWKSB_TEXT
                      | (m_pSavedFirstPane->dwMask & (TWKSB_TEXTCOLOR | TWKSB_BKCOLOR));
        SetPaneInfoEx(&info, TRUE);
        Borders borders = GetBorders(this);
        nLeft = rectClient.left + info.cxWidth + 2 * (borders.cx + borders.gap) + 1;
    }
    m_pProgress->SetWindowPos(nullptr, nLeft, rectClient.top, rectClient.right - nLeft, rectClient.Height(),
                              SWP_NOZORDER | SWP_NOACTIVATE | (bNew ? SWP_SHOWWINDOW : 0));
    m_pProgress->SetRange((UINT)nLower, (UINT)nUpper);
    if (bReset)
        m_pProgress->SetPos((UINT)nLower);
    return m_pProgress != nullptr;
}

void TWKCustomStatusBar::EndProgress()
{
    // Nothing to end without a control; pane 0 comes back only when a prompt replaced it.
    if (!m_pProgress)
        return;
    m_pProgress->DestroyWindow();
    delete m_pProgress;
    m_pProgress = nullptr;
    if (m_pSavedFirstPane) {
        SetPaneInfoEx(m_pSavedFirstPane, TRUE);
        delete m_pSavedFirstPane;
        m_pSavedFirstPane = nullptr;
    }
    ShowPaneControls(TRUE);
}

void TWKCustomStatusBar::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    int i = (int)lpDIS->itemID;
    if (m_pProgress && i != 0)
        return;
    if (i < 0 || i >= m_nCount || !m_pAttributes)
        return;
    const Pane* pPane = GetPanePtr(i);
    if (pPane->nStyle & SBPS_DISABLED)
        return;
    const PaneAttributes& a = m_pAttributes[i];
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rect(lpDIS->rcItem);
    if ((a.dwFlags & TWKSB_BITMAP) && a.pBitmap) {
        CSize size;
        CDC dcMem;
        if (!BitmapSize(a.pBitmap, size) || !dcMem.CreateCompatibleDC(pDC))
            return;
        CBitmap* pOld = dcMem.SelectObject(a.pBitmap);
        pDC->BitBlt(rect.left, rect.top, size.cx, size.cy, &dcMem, 0, 0, SRCCOPY);
        dcMem.SelectObject(pOld);
        return;
    }
    int nSaved = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);
    if (a.dwFlags & TWKSB_TEXTCOLOR)
        pDC->SetTextColor(a.clrText);
    UINT nOptions = ETO_CLIPPED;
    if (a.dwFlags & TWKSB_BKCOLOR) {
        pDC->SetBkColor(a.clrBackground);
        nOptions |= ETO_OPAQUE;
    }
    int x = rect.left + 1;
    if (a.dwFlags & TWKSB_ALIGN) {
        if (a.nAlign == TA_RIGHT)
            x = rect.right - 1;
        else if (a.nAlign == TA_CENTER)
            x = (rect.left + rect.right) / 2;
        pDC->SetTextAlign(a.nAlign);
    }
    const CString& strText = pPane->strText;
    CSize size = pDC->GetOutputTextExtent(strText, strText.GetLength());
    if (strText.IsEmpty()) {
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(pDC->m_hDC, &tm);
        size.cy = tm.tmHeight;
    }
    int y = rect.top + (rect.Height() - size.cy) / 2;
    pDC->ExtTextOut(x, y, nOptions, &rect, strText, (UINT)strText.GetLength(), nullptr);
    pDC->RestoreDC(nSaved);
}

// ---- messages

BOOL TWKCustomStatusBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT && m_pAttributes) {
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        for (int i = 0; i < m_nCount; i++) {
            CRect rect;
            GetItemRect(i, &rect);
            if (!rect.PtInRect(point))
                continue;
            if ((m_pAttributes[i].dwFlags & TWKSB_CURSOR) && m_pAttributes[i].hCursor) {
                ::SetCursor(m_pAttributes[i].hCursor);
                return TRUE;
            }
            break;
        }
    }
    return TWKStatusBar::OnSetCursor(pWnd, nHitTest, message);
}

LRESULT TWKCustomStatusBar::OnSetFont(WPARAM, LPARAM)
{
    LRESULT lResult = Default();
    ResizeParent(this);
    return lResult;
}

LRESULT TWKCustomStatusBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = TWKStatusBar::OnSizeParent(wParam, lParam);
    if (m_pProgress && m_pProgress->m_hWnd) {
        CRect rectClient, rect;
        GetClientRect(&rectClient);
        m_pProgress->GetWindowRect(&rect);
        ScreenToClient(&rect);
        m_pProgress->SetWindowPos(nullptr, 0, 0, rectClient.right - rect.left, rect.Height(),
                                  SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        RepositionPaneControls();
    }
    return lResult;
}

LRESULT TWKCustomStatusBar::OnSetText(WPARAM wParam, LPARAM lParam)
{
    if (m_pProgress)
        return 0;
    return TWKStatusBar::OnSetText(wParam, lParam);
}
