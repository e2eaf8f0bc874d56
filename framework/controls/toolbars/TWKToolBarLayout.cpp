// How a toolbar sizes itself for the frame's layout: rows that break at
// separators, balanced row widths, the narrowest width that fits a docked
// height, and one cached size per docking state.
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "afx/afxres.h"
#include <algorithm>
#include <vector>

namespace {

int RowGap(const TWKCustomToolBar* pBar)
{
    return 2 * pBar->m_nSepWidth / 3;
}

// The group before the separator that ends row r: its first index is the
// earlier separator of the row. FALSE when the row has none after its first button.
BOOL FindGroup(const TWKCustomToolBar::TWKBtnArray& arr, const TWKToolBarRow* pRows, int r, int* pnPrevSep,
               int* pcxGroup)
{
    int nFirst = r > 0 ? pRows[r - 1].nLast + 1 : 0;
    int cx = 0;
    for (int i = pRows[r].nLast - 1; i > nFirst; i--) {
        cx += arr[i]->m_cx;
        if (arr[i]->m_dwStyle & TBBS_SEPARATOR) {
            *pnPrevSep = i;
            *pcxGroup = cx;
            return TRUE;
        }
    }
    return FALSE;
}

// Whether the group before row r's separator can move down without the
// rows below growing to the limit.
BOOL CanShiftGroup(const TWKCustomToolBar::TWKBtnArray& arr, TWKToolBarRow* pRows, int nRows, int r, int nLimit)
{
    if (r >= nRows - 1 || !pRows[r].bSepEnd)
        return FALSE;
    int nPrevSep, cxGroup;
    if (!FindGroup(arr, pRows, r, &nPrevSep, &cxGroup))
        return FALSE;
    if (pRows[r + 1].cx + cxGroup < nLimit)
        return TRUE;
    TWKToolBarRow saved[2] = { pRows[r], pRows[r + 1] };
    pRows[r].nLast = nPrevSep;
    pRows[r].cx -= cxGroup;
    pRows[r + 1].cx += cxGroup;
    BOOL bCan = CanShiftGroup(arr, pRows, nRows, r + 1, nLimit);
    pRows[r] = saved[0];
    pRows[r + 1] = saved[1];
    return bCan;
}

// The size of the rows: the broadest row by the sum of the row heights and
// the gaps after rows that ended at a separator.
CSize RowsSize(const TWKCustomToolBar* pBar, int nRows, const TWKToolBarRow* pRows)
{
    CSize size(0, 0);
    for (int r = 0; r < nRows; r++) {
        size.cx = std::max(size.cx, (LONG)pRows[r].cx);
        size.cy += pRows[r].cy + (pRows[r].bSepEnd ? RowGap(pBar) : 0);
    }
    return size;
}

} // namespace

// ---- rows

int TWKCustomToolBar::CalcRows(int nWidth, TWKToolBarRow* pRows)
{
    int nCount = GetButtonCount();
    int nRows = 0;
    int x = 0;
    int nLastBreak = -1;
    for (int i = 0; i < nCount;) {
        int cx = m_arrButtons[i]->m_cx;
        if (x + cx <= nWidth + 2) {
            x += cx;
            i++;
            continue;
        }
        int j = i;
        while (j > nLastBreak && !(m_arrButtons[j]->m_dwStyle & TBBS_SEPARATOR))
            j--;
        if (j > nLastBreak) {
            pRows[nRows].nLast = j;
            pRows[nRows++].bSepEnd = 1;
            x = 0;
            nLastBreak = j;
            i = j + 1;
        } else if (i - 1 > nLastBreak) {
            pRows[nRows].nLast = i - 1;
            pRows[nRows++].bSepEnd = 0;
            x = 0;
            nLastBreak = i - 1;
        } else {
            // A button broader than the row on its own: it stays with the buttons after it.
            i++;
        }
    }
    if (nCount > 0 && (nRows == 0 || pRows[nRows - 1].nLast != nCount - 1)) {
        pRows[nRows].nLast = nCount - 1;
        pRows[nRows++].bSepEnd = 0;
    }
    int nFirst = 0;
    for (int r = 0; r < nRows; r++) {
        int nEnd = pRows[r].bSepEnd ? pRows[r].nLast - 1 : pRows[r].nLast;
        pRows[r].cx = pRows[r].cy = 0;
        for (int i = nFirst; i <= nEnd; i++) {
            pRows[r].cx += m_arrButtons[i]->m_cx;
            pRows[r].cy = std::max(pRows[r].cy, m_arrButtons[i]->m_cy);
        }
        nFirst = pRows[r].nLast + 1;
    }
    return nRows;
}

void TWKCustomToolBar::BalanceRows(int nRows, TWKToolBarRow* pRows)
{
    if (nRows < 2)
        return;
    for (;;) {
        int r = 0;
        for (int k = 1; k < nRows; k++)
            if (pRows[k].cx >= pRows[r].cx)
                r = k;
        if (r == nRows - 1)
            return;
        TWKToolBarRow& row = pRows[r];
        TWKToolBarRow& next = pRows[r + 1];
        int nFirst = r > 0 ? pRows[r - 1].nLast + 1 : 0;
        if (!row.bSepEnd) {
            if ((r == 0 && row.nLast == 0) || row.nLast == nFirst)
                return;
            int w = m_arrButtons[row.nLast]->m_cx;
            if (row.cx <= w + next.cx) {
                int s = r + 1;
                while (s < nRows - 1 && !pRows[s].bSepEnd)
                    s++;
                if (s == r + 1 || row.cx < pRows[s].cx + w)
                    return;
            }
            row.nLast--;
            row.cx -= w;
            next.cx += w;
            continue;
        }
        int nPrevSep, cxGroup;
        BOOL bGroup = FindGroup(m_arrButtons, pRows, r, &nPrevSep, &cxGroup);
        if (!(bGroup && row.cx > next.cx + cxGroup) && !CanShiftGroup(m_arrButtons, pRows, nRows, r, row.cx))
            return;
        row.nLast = nPrevSep;
        row.cx -= cxGroup;
        next.cx += cxGroup;
    }
}

void TWKCustomToolBar::WrapButtons(SIZE* pSize, int nLength, BOOL bVert)
{
    int nCount = GetButtonCount();
    std::vector<TWKToolBarRow> rows(std::max(nCount, 1), TWKToolBarRow{});
    TWKToolBarRow* pRows = rows.data();
    int minW = nCount ? 32767 : GetButtonWidth(), maxW = 0;
    for (int i = 0; i < nCount; i++) {
        minW = std::min(minW, m_arrButtons[i]->m_cx);
        maxW = std::max(maxW, m_arrButtons[i]->m_cx);
    }
    int nRows;
    if (!bVert) {
        nRows = CalcRows(std::max(nLength, maxW), pRows);
    } else {
        int cxButton = GetButtonWidth();
        int k = nLength / GetButtonHeight();
        int nWidth = k == 0 ? 32767 : std::max(minW, cxButton * nCount / k);
        nRows = CalcRows(nWidth, pRows);
        CSize size = RowsSize(this, nRows, pRows);
        if (size.cy < nLength) {
            while (nWidth != minW) {
                int w = std::max(minW, nWidth - cxButton);
                int n = CalcRows(w, pRows);
                CSize sizeNew = RowsSize(this, n, pRows);
                if (sizeNew.cy > nLength) {
                    nRows = CalcRows(nWidth, pRows);
                    break;
                }
                nWidth = w;
                nRows = n;
                if (sizeNew.cy == nLength)
                    break;
            }
        } else if (size.cy > nLength) {
            // Rows taller than a button never get down to one button's
            // height: a single row is as low as the buttons can stand.
            while (nRows > 1) {
                nWidth += cxButton;
                nRows = CalcRows(nWidth, pRows);
                size = RowsSize(this, nRows, pRows);
                if (size.cy <= nLength || size.cy <= GetButtonHeight())
                    break;
            }
        }
    }
    BalanceRows(nRows, pRows);
    for (int i = 0; i < nCount; i++)
        m_arrButtons[i]->m_dwStyle &= ~TBBS_WRAPPED;
    for (int r = 0; r < nRows - 1; r++)
        m_arrButtons[pRows[r].nLast]->m_dwStyle |= TBBS_WRAPPED;
    *pSize = nRows < 1 ? CSize(0, 0) : RowsSize(this, nRows, pRows);
}

// ---- the layout

void TWKCustomToolBar::CalcLayout(SIZE* pSize, int nLength, DWORD dwMode)
{
    // Hidden buttons sit out the layout and keep their places.
    CPtrArray arrAll;
    arrAll.Copy(m_arrButtons);
    for (INT_PTR i = m_arrButtons.GetSize() - 1; i >= 0; i--)
        if (m_arrButtons[i]->m_dwStyle & TBBS_HIDDEN)
            m_arrButtons.RemoveAt(i);

    BOOL bHorz = (dwMode & LM_HORZ) != 0;
    BOOL bVertDock = (dwMode & LM_VERTDOCK) != 0;
    CRect rectInset(0, 0, 0, 0);
    CalcInsideRect(rectInset, bHorz, (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) || bVertDock);
    CSize sizeInsets(-rectInset.Width(), -rectInset.Height());
    // No rebar exists in this system.
    CWnd* pRebar = nullptr;
    BOOL bOwnRow = (m_dwExStyle & CBX_OWNROW) != 0;
    if (bOwnRow) {
        CRect rectOwner(0, 0, 0, 0);
        if (CWnd* pOwner = GetOwner())
            pOwner->GetClientRect(&rectOwner);
        if (dwMode & LM_HORZDOCK) {
            nLength = rectOwner.Width();
        } else if (bVertDock && nLength == 0) {
            if (CFrameWnd* pFrame = GetParentFrame()) {
                for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
                    auto* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
                    UINT nID = pBar->m_hWnd ? (UINT)::GetDlgCtrlID(pBar->m_hWnd) : 0;
                    if (pBar->IsDockBar() && (nID == AFX_IDW_DOCKBAR_LEFT || nID == AFX_IDW_DOCKBAR_RIGHT)) {
                        CRect rect;
                        pBar->GetWindowRect(&rect);
                        nLength = rect.Height();
                        break;
                    }
                }
            }
        }
    }

    CSize sizeResult;
    if (m_arrButtons.GetSize() == 0) {
        sizeResult = CSize(GetButtonWidth() + sizeInsets.cx, GetButtonHeight() + sizeInsets.cy);
        if (bOwnRow && (dwMode & LM_HORZDOCK))
            sizeResult.cx = nLength;
        else if (bOwnRow && bVertDock)
            sizeResult.cy = nLength;
    } else {
        int nAvail = (dwMode & LM_STRETCH) ? (int)(nLength * m_fPctWidth) : nLength;
        if ((dwMode & LM_COMMIT) || pRebar) {
            BOOL bWrapVert = !bHorz;
            if (m_dwStyle & CBRS_SIZE_FIXED)
                nLength = nAvail = 32767;
            // A hidden window button must not keep the old orientation.
            SetButtonsMode((m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) != 0, arrAll);
            CSize size(0, 0);
            auto wrapFixed = [&] { WrapButtons(&size, bWrapVert ? 0 : 32767, bWrapVert); };
            if (!(m_dwStyle & CBRS_SIZE_DYNAMIC)) {
                wrapFixed();
            } else if (dwMode & LM_MRUWIDTH) {
                WrapButtons(&size, (int)m_nMRUWidth, bWrapVert);
            } else if (nAvail != -1) {
                CRect rect(0, 0, 0, 0);
                CalcInsideRect(rect, bHorz, FALSE);
                int nWrap = nAvail + ((dwMode & LM_LENGTHY) ? rect.Height() : rect.Width());
                WrapButtons(&size, nWrap, (dwMode & LM_LENGTHY) != 0);
            } else if (m_dwStyle & CBRS_FLOATING) {
                WrapButtons(&size, (int)m_nMRUWidth, bWrapVert);
            } else {
                wrapFixed();
            }

            // Positions, row by row.
            int x = rectInset.left, y = rectInset.top;
            int nRowHeight = 0;
            int nRowFirst = 0;
            auto alignRow = [&](int nEnd) {
                for (int k = nRowFirst; k < nEnd; k++) {
                    TWKStdBtn* pBtn = m_arrButtons[k];
                    if ((pBtn->m_dwStyle & TWK_TBBS_VCENTER) && pBtn->m_cy < nRowHeight)
                        pBtn->SetPos(pBtn->m_x, pBtn->m_y + (nRowHeight - pBtn->m_cy) / 2);
                }
            };
            int nCount = GetButtonCount();
            for (int i = 0; i < nCount; i++) {
                TWKStdBtn* pBtn = m_arrButtons[i];
                pBtn->SetPos(x, y);
                nRowHeight = std::max(nRowHeight, pBtn->m_cy);
                if (!(pBtn->m_dwStyle & TBBS_WRAPPED)) {
                    x += pBtn->m_cx;
                    continue;
                }
                alignRow(i + 1);
                y += nRowHeight;
                x = rectInset.left;
                nRowHeight = 0;
                nRowFirst = i + 1;
                if (pBtn->m_dwStyle & TBBS_SEPARATOR)
                    y += RowGap(this);
            }
            if (nRowFirst < nCount)
                alignRow(nCount);

            size += sizeInsets;
            if (dwMode & LM_HORZDOCK) {
                if (bOwnRow) {
                    size.cx = nLength;
                    TWKStdBtn* pLast = m_arrButtons[nCount - 1];
                    if (pLast->m_nType == TWK_BTN_CAPTION)
                        pLast->SetPos(nLength - 2 - pLast->m_cx, pLast->m_y);
                }
                m_bDirtyHorz = FALSE;
                m_sizeMRUHorzDock = size;
                m_sizeHorz = size;
            } else if (!bVertDock) {
                m_sizeMRUFloat = size;
                if (!(dwMode & LM_LENGTHY))
                    m_nMRUWidth = (UINT)size.cx;
                m_bDirtyMRU = FALSE;
                m_sizeFloat = size;
            } else {
                if (bOwnRow) {
                    if (!(dwMode & LM_LENGTHY) && (m_dwExStyle & CBX_FIXEDSIZE))
                        size.cx = 2 * size.cy;
                    size.cy = nLength;
                    TWKStdBtn* pLast = m_arrButtons[nCount - 1];
                    if (pLast->m_nType == TWK_BTN_CAPTION)
                        pLast->SetPos(pLast->m_x, nLength - 2 - pLast->m_cy);
                }
                m_bDirtyVert = FALSE;
                m_sizeMRUVertDock = size;
                m_sizeVert = size;
            }
        }
        sizeResult = (dwMode & LM_HORZDOCK) ? m_sizeHorz : bVertDock ? m_sizeVert : m_sizeFloat;
    }

    if (m_dwStyle & CBRS_FLOATING)
        sizeResult -= CSize(2, 2);
    m_arrButtons.Copy(arrAll);
    UpdateRebarBand(pRebar, &sizeResult);
    *pSize = sizeResult;
}

CSize TWKCustomToolBar::CalcFixedLayout(BOOL, BOOL bHorz)
{
    CSize size;
    CalcLayout(&size, -1, bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
    return size;
}

CSize TWKCustomToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    CSize size;
    if (!(dwMode & LM_COMMIT)) {
        BOOL bDirty = ((dwMode & LM_HORZDOCK) && m_bDirtyHorz) || ((dwMode & LM_VERTDOCK) && m_bDirtyVert)
                      || ((dwMode & LM_MRUWIDTH) && m_bDirtyMRU);
        if (bDirty) {
            CalcLayout(&size, (dwMode & LM_VERTDOCK) ? 0 : 32767, dwMode | LM_COMMIT);
            return size;
        }
    } else if (!(((dwMode & LM_HORZDOCK) && (dwMode & LM_LENGTHY))
                 || ((dwMode & LM_VERTDOCK) && !(dwMode & LM_LENGTHY)))) {
        CalcLayout(&size, nLength, dwMode);
        return size;
    }
    return TWKControlBar::CalcDynamicLayout(nLength, dwMode);
}

void TWKCustomToolBar::UpdateRebarBand(CWnd* pParent, SIZE* pSize)
{
    if (!pParent || !(m_dwExStyle & CBX_OWNROW))
        return;
    UINT nBands = (UINT)pParent->SendMessage(RB_GETBANDCOUNT);
    for (UINT i = 0; i < nBands; i++) {
        REBARBANDINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE;
        pParent->SendMessage(RB_GETBANDINFOA, i, (LPARAM)&info);
        if (info.hwndChild != m_hWnd || info.cyMinChild == 0)
            continue;
        BOOL bChanged = FALSE;
        if (info.cyMinChild != (UINT)pSize->cy) {
            info.cyMinChild = pSize->cy;
            bChanged = TRUE;
        }
        if (pSize->cx > 0 && info.cxMinChild != (UINT)pSize->cx) {
            info.cxMinChild = pSize->cx;
            bChanged = TRUE;
        }
        if (bChanged) {
            info.fMask = RBBIM_CHILDSIZE;
            pParent->SendMessage(RB_SETBANDINFOA, i, (LPARAM)&info);
        }
        return;
    }
}
