// The dock bar's row layout: bars share a row by width fractions, splitters
// and etched edges between rows and bars, splitter drags, expanding a bar
// over its row, and the feedback rectangle of a bar dragged over the dock bar.
#include "framework/frames/TWKDockBar.h"
#include "afx/afxres.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frames/TWKControlBar.h"
#include <vector>

namespace {
const int kSplitter = 6;                       // a splitter's thickness
const int kEdge = 2;                           // a client edge's thickness
const int kMinBarLength = 18;
const int kMinShare = kMinBarLength + kSplitter;   // per bar while a bar splitter is dragged
const int kMinRow = 19;                        // row and client left by a row-splitter drag

// Fixed-size bars are placed like toolbars; a bar of another kind counts as one.
BOOL IsFixedSize(CControlBar* pBar)
{
    return !TWKAsControlBar(pBar) || (TWKGetExBarStyle(pBar) & CBX_FIXEDSIZE);
}

int Along(const CSize& size, BOOL bHorz) { return bHorz ? size.cx : size.cy; }
int Across(const CSize& size, BOOL bHorz) { return bHorz ? size.cy : size.cx; }

// Moves a child window unless it is there already (deferred while a batch is open).
void MoveChild(HWND hWnd, const CRect& rect, UINT nFlags, HDWP* phDWP)
{
    nFlags |= SWP_NOZORDER | SWP_NOACTIVATE;
    if (phDWP && *phDWP) {
        HDWP hNext = ::DeferWindowPos(*phDWP, hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(), nFlags);
        if (hNext) {
            *phDWP = hNext;
            return;
        }
        *phDWP = nullptr;   // the batch is gone; the rest moves at once
    }
    ::SetWindowPos(hWnd, nullptr, rect.left, rect.top, rect.Width(), rect.Height(), nFlags);
}

template <class T> void DeleteUnused(CPtrArray& arr)
{
    for (INT_PTR i = arr.GetSize() - 1; i >= 0; i--) {
        auto* p = static_cast<T*>(arr[i]);
        if (!p->m_bInUse) {
            delete p;
            arr.RemoveAt(i);
        }
    }
}
} // namespace

// State of one layout pass, carried from row to row.
struct TWKDockBar::LayoutPass {
    AFX_SIZEPARENTPARAMS layout = {};   // the deferred-position batch; none in a query
    BOOL bQuery = FALSE;
    BOOL bHorz = TRUE;                  // rows run along x
    int W = 0, H = 0;                   // the available size
    int along = 0, across = 0;          // current offsets along and across the rows
    BOOL bNoBarYet = TRUE;
    int nAcrossFirst = 0;               // across offset of the dock bar's first bar
    BOOL bFirstRow = TRUE;
    BOOL bPrevProportional = FALSE;
    int nLength = 0;                    // length result
    int nMaxMargin = 0;
    int nFirstChanged = -1;             // first bar whose length changed in a proportional row
    int nLastDocked = -1;               // array position of the last docked bar
};

// ---- drawing

void TWKDockBar::Splitter::Draw(CDC* pDC)
{
    const CRect& r = m_rect;
    if (m_nOrientation == 1) {
        pDC->FillSolidRect(r.left + 1, r.top, r.Width() - 3, r.Height(), twkAuxData.clrBtnFace);
        pDC->FillSolidRect(r.left, r.top, 1, r.Height(), twkAuxData.clrBtnHilite);
        pDC->FillSolidRect(r.right - 2, r.top, 1, r.Height(), twkAuxData.clrBtnShadow);
        pDC->FillSolidRect(r.right - 1, r.top, 1, r.Height(), twkAuxData.clrWindowFrame);
    } else {
        pDC->FillSolidRect(r.left, r.top + 1, r.Width(), r.Height() - 3, twkAuxData.clrBtnFace);
        pDC->FillSolidRect(r.left, r.top, r.Width(), 1, twkAuxData.clrBtnHilite);
        pDC->FillSolidRect(r.left, r.bottom - 2, r.Width(), 1, twkAuxData.clrBtnShadow);
        pDC->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, twkAuxData.clrWindowFrame);
    }
}

void TWKDockBar::ClientEdge::Draw(CDC* pDC)
{
    const CRect& r = m_rect;
    if (m_nOrientation == 1) {
        pDC->FillSolidRect(r.left, r.top, 1, r.Height(), twkAuxData.clrBtnShadow);
        pDC->FillSolidRect(r.left + 1, r.top, 1, r.Height(), twkAuxData.clrBtnHilite);
    } else {
        pDC->FillSolidRect(r.left, r.top, r.Width(), 1, twkAuxData.clrBtnShadow);
        pDC->FillSolidRect(r.left, r.top + 1, r.Width(), 1, twkAuxData.clrBtnHilite);
    }
}

void TWKDockBar::DoPaint(CDC* pDC)
{
    for (INT_PTR i = 0; i < m_arrClientEdges.GetSize(); i++)
        static_cast<ClientEdge*>(m_arrClientEdges[i])->Draw(pDC);
    for (INT_PTR i = 0; i < m_arrSplitters.GetSize(); i++)
        static_cast<Splitter*>(m_arrSplitters[i])->Draw(pDC);
    if (m_bRedrawing) {
        for (INT_PTR i = 0; i < m_arrRedraw.GetSize(); i++) {
            auto* pBar = static_cast<CControlBar*>(m_arrRedraw[i]);
            if (pBar->m_hWnd)
                ::RedrawWindow(pBar->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        }
        m_arrRedraw.RemoveAll();
        m_bLayoutChanged = FALSE;
    }
    CDockBar::DoPaint(pDC);
}

void TWKDockBar::AddSplitter(int nKind, int nOrientation, int left, int top, int right, int bottom, int nIndex)
{
    CRect rect(left, top, right, bottom);
    Splitter* pSplitter = nullptr;
    for (INT_PTR i = 0; i < m_arrSplitters.GetSize() && !pSplitter; i++)
        if (static_cast<Splitter*>(m_arrSplitters[i])->m_rect == rect)
            pSplitter = static_cast<Splitter*>(m_arrSplitters[i]);
    if (!pSplitter) {
        pSplitter = new Splitter;
        pSplitter->m_rect = rect;
        m_arrSplitters.Add(pSplitter);
    }
    pSplitter->m_nKind = nKind;
    pSplitter->m_nOrientation = nOrientation;
    pSplitter->m_nIndex = nIndex;
    pSplitter->m_bInUse = TRUE;
}

void TWKDockBar::AddClientEdge(int nOrientation, int left, int top, int right, int bottom)
{
    CRect rect(left, top, right, bottom);
    for (INT_PTR i = 0; i < m_arrClientEdges.GetSize(); i++) {
        auto* p = static_cast<ClientEdge*>(m_arrClientEdges[i]);
        if (p->m_rect == rect) {
            p->m_nOrientation = nOrientation;
            p->m_bInUse = TRUE;
            return;
        }
    }
    auto* p = new ClientEdge;
    p->m_rect = rect;
    p->m_nOrientation = nOrientation;
    p->m_bInUse = TRUE;
    m_arrClientEdges.Add(p);
}

// ---- rows

int TWKDockBar::GetRowThickness(int nFirst)
{
    int nThickness = 0;
    for (int i = nFirst; i < m_arrBars.GetSize() && m_arrBars[i] != nullptr; i++) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (!pBar)
            continue;
        DWORD dwMode = RowLayoutMode(pBar);
        if (dwMode & LM_HORZ)
            dwMode |= LM_LENGTHY;
        CSize size = pBar->CalcDynamicLayout(-1, dwMode);
        nThickness = std::max(nThickness, (int)((dwMode & LM_VERTDOCK) ? size.cx : size.cy));
    }
    return nThickness;
}

void TWKDockBar::SetRowThickness(int nFirst, int nThickness)
{
    for (int i = nFirst; i < m_arrBars.GetSize() && m_arrBars[i] != nullptr; i++) {
        if (CControlBar* pBar = GetDockedControlBar(i)) {
            DWORD dwMode = RowLayoutMode(pBar);
            if (dwMode & LM_HORZ)
                dwMode |= LM_LENGTHY;
            pBar->CalcDynamicLayout(nThickness, dwMode | LM_COMMIT);
        }
    }
}

void TWKDockBar::InvalidateToolBarsInRow(CControlBar* pBar)
{
    CPtrList list;
    GetBarsInRow(&list, pBar);
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        auto* p = static_cast<CControlBar*>(list.GetNext(pos));
        if (TWKIsCustomToolBar(p))
            AddBarToRedraw(p);
    }
}

void TWKDockBar::ExpandBarInRow(CControlBar* pBar, int nFlag)
{
    CPtrList list;
    if (!GetBarsInRow(&list, pBar) || list.IsEmpty())
        return;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        TWKControlBar* p = TWKAsControlBar(static_cast<CControlBar*>(list.GetNext(pos)));
        if (!p)
            continue;
        if (LOWORD(nFlag) == 1)
            p->m_fPctWidth = (p == pBar) ? 1.0f : 0.0f;
        else
            p->m_fPctWidth = 0.1f;
    }
    // The whole row shares again, from its first entry: contracting gives the
    // bar half of the row wherever it stands in it.
    int nPos = FindBar(pBar);
    if (nPos <= 0)
        return;
    int nFirst = RowStart(nPos);
    NormalizeRow(nFirst, pBar);
    MarkBarsForRedraw(nFirst);
    DelayRecalcFrame();
}

int TWKDockBar::ResizeBarInRow(CControlBar* pBar, int nDelta, int nRowLength)
{
    DWORD dwMode = RowLayoutMode(pBar);
    if (!(dwMode & LM_HORZ))
        dwMode |= LM_LENGTHY;
    CSize size = pBar->CalcDynamicLayout(-1, dwMode);
    int nCurrent = (dwMode & LM_HORZ) ? size.cx : size.cy;
    int nNew = std::max(kMinBarLength, nCurrent + nDelta);
    if (TWKControlBar* p = TWKAsControlBar(pBar)) {
        float fPct = nRowLength > 0 ? (float)nNew / (float)nRowLength : m_fMinPctWidth;
        if (fPct < m_fMinPctWidth) {
            fPct = m_fMinPctWidth;
            nNew = (int)(nRowLength * m_fMinPctWidth);
        }
        p->m_fPctWidth = fPct;
    }
    pBar->CalcDynamicLayout(nNew, dwMode | LM_COMMIT);
    return nCurrent - nNew + nDelta;
}

// ---- the layout pass

CSize TWKDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize sizeFixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
    LayoutPass pass;
    pass.bQuery = m_bLayoutQuery;
    pass.bHorz = (m_dwStyle & CBRS_ALIGN_ANY) ? (m_dwStyle & CBRS_ORIENT_HORZ) != 0 : bHorz;
    CSize sizeAvail(0, 0);
    if (m_pLayoutParams) {
        sizeAvail = m_rectLayout.Size();
    } else if (CFrameWnd* pFrame = GetDockingFrame()) {
        CRect rect;
        pFrame->GetClientRect(&rect);
        sizeAvail = rect.Size();
    }
    pass.W = sizeAvail.cx;
    pass.H = sizeAvail.cy;
    pass.nLength = Along(sizeFixed, pass.bHorz);
    if (!pass.bQuery) {
        pass.layout.hDWP = ::BeginDeferWindowPos((int)m_arrBars.GetSize());
        for (INT_PTR i = 0; i < m_arrSplitters.GetSize(); i++)
            static_cast<Splitter*>(m_arrSplitters[i])->m_bInUse = FALSE;
        for (INT_PTR i = 0; i < m_arrClientEdges.GetSize(); i++)
            static_cast<ClientEdge*>(m_arrClientEdges[i])->m_bInUse = FALSE;
    }
    int n = (int)m_arrBars.GetSize();
    for (int i = 0; i < n; i++)
        if (GetDockedControlBar(i))
            pass.nLastDocked = i;
    int nFirst = -1;
    for (int i = 0; i <= n; i++) {
        if (i == n || m_arrBars[i] == nullptr) {
            if (nFirst >= 0)
                LayoutRow(pass, nFirst, i);
            nFirst = -1;
        } else if (nFirst < 0) {
            nFirst = i;
        }
    }
    if (!pass.bQuery) {
        if (pass.layout.hDWP)
            ::EndDeferWindowPos(pass.layout.hDWP);
        DeleteUnused<Splitter>(m_arrSplitters);
        DeleteUnused<ClientEdge>(m_arrClientEdges);
        if (pass.nFirstChanged >= 0)
            MarkBarsForRedraw(pass.nFirstChanged);
    }
    if (!bStretch && pass.nLength != 0) {
        CRect rectBorders(0, 0, 0, 0);
        CalcInsideRect(rectBorders, pass.bHorz);
        pass.nLength -= pass.bHorz ? rectBorders.Width() : rectBorders.Height();
    }
    m_pAnchorBar = nullptr;
    int nThickness = 0;
    if (!pass.bNoBarYet)
        nThickness = pass.across + pass.nAcrossFirst + pass.nMaxMargin + ((m_bFloating && pass.bHorz) ? 0 : 2);
    return pass.bHorz ? CSize(pass.nLength, nThickness) : CSize(nThickness, pass.nLength);
}

void TWKDockBar::LayoutRow(LayoutPass& pass, int nFirst, int nEnd)
{
    const BOOL bHorz = pass.bHorz;
    std::vector<std::pair<int, CControlBar*>> bars;
    for (int i = nFirst; i < nEnd; i++) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar && pBar->m_hWnd && pBar->IsVisible())
            bars.emplace_back(i, pBar);
    }
    const int N = (int)bars.size();
    if (N > 0) {
        int nSizable = 0, nFixed = 0;
        NormalizeRow(nFirst, m_pAnchorBar, &nSizable, &nFixed);
        const BOOL bProportional = nSizable > 0;

        // Offsets at the row's start, from its first bar.
        CControlBar* pFirst = bars.front().second;
        BOOL bCustom = TWKIsCustomToolBar(pFirst);
        BOOL bCool = bCustom && (TWKGetExBarStyle(pFirst) & CBX_COOLLOOK);
        int nAcrossStart = -2;
        pass.along = -2;
        if (bCool) {
            pass.along = -1;
            nAcrossStart = bProportional ? -3 : -1;
        } else if (!bCustom && m_bFloating) {
            pass.along = nAcrossStart = 0;
        }
        if (pass.bNoBarYet) {
            pass.across = pass.nAcrossFirst = nAcrossStart;
            pass.bNoBarYet = FALSE;
        } else if (bCustom && pass.bPrevProportional) {
            pass.across += 2;
        }
        const int nRowOffset = pass.along;

        // First pass: margins, committed lengths, the row's length and thickness.
        int nMargin = 0, nSum = 0, T = 0;
        for (auto& e : bars) {
            CControlBar* pBar = e.second;
            BOOL bBarCustom = TWKIsCustomToolBar(pBar);
            int nBarMargin = twkAuxData.cxBorder;
            if (bBarCustom ? (TWKGetExBarStyle(pBar) & CBX_COOLLOOK) != 0 : m_bFloating)
                nBarMargin = 0;
            nMargin = std::max(nMargin, nBarMargin);
            DWORD dwMode = RowLayoutMode(pBar);
            if (!(dwMode & LM_HORZ))
                dwMode |= LM_LENGTHY;
            if (bProportional)
                dwMode |= LM_STRETCH;
            if (!m_bFloating) {
                // A fixed-size bar keeps its own length; a toolbar lays itself out in the row.
                if (!IsFixedSize(pBar) || bBarCustom) {
                    int L = (dwMode & LM_HORZ) ? pass.W : pass.H;
                    pBar->CalcDynamicLayout(L - kSplitter * N + kSplitter, dwMode | LM_COMMIT);
                }
            } else {
                // Measured and committed in the same dimension: the mode's, not the dock bar's.
                // A bar that does not size itself dynamically keeps what it has
                // (its most recent width is recorded by a resize only).
                DWORD dwFloat = dwMode & ~LM_STRETCH;
                CSize size = pBar->CalcDynamicLayout(-1, dwFloat);
                if (pBar->GetBarStyle() & CBRS_SIZE_DYNAMIC)
                    pBar->CalcDynamicLayout((dwFloat & LM_HORZ) ? size.cx : size.cy, dwFloat | LM_COMMIT);
            }
            CSize size = pBar->CalcDynamicLayout(-1, dwMode);
            nSum += Along(size, bHorz);
            T = std::max(T, Across(size, bHorz));
        }
        pass.nMaxMargin = std::max(pass.nMaxMargin, nMargin);
        pass.nLength = std::max(pass.nLength, nRowOffset + nSum + kSplitter * (N - 1) - nMargin);

        const BOOL bLeft = (m_dwStyle & CBRS_ALIGN_LEFT) != 0, bRight = (m_dwStyle & CBRS_ALIGN_RIGHT) != 0;
        const BOOL bTop = (m_dwStyle & CBRS_ALIGN_TOP) != 0, bBottom = (m_dwStyle & CBRS_ALIGN_BOTTOM) != 0;
        const int W = pass.W, H = pass.H;
        if (!bProportional) {
            // Placed like toolbars: each where it was put, as far as the row allows.
            for (auto& e : bars) {
                CControlBar* pBar = e.second;
                TWKControlBar* pTWK = TWKAsControlBar(pBar);
                if (pTWK && !(pTWK->GetExBarStyle() & CBX_3DBORDERS))
                    pTWK->ModifyExBarStyle(0, CBX_3DBORDERS, FALSE);
                CSize size = pBar->CalcDynamicLayout(-1, RowLayoutMode(pBar));
                CRect rect = bHorz ? CRect(CPoint(pass.along, pass.across), size)
                                   : CRect(CPoint(pass.across, pass.along), size);
                if (!bHorz && (TWKGetExBarStyle(pBar) & CBX_OWNROW)) {
                    rect.bottom = H;
                } else if (!m_bFloating) {
                    CRect rectNow;
                    pBar->GetWindowRect(&rectNow);
                    ScreenToClient(&rectNow);
                    int nStart = std::max(bHorz ? rectNow.left : rectNow.top, (LONG)pass.along);
                    int nLen = Along(size, bHorz);
                    int L = bHorz ? W : H;
                    if (nStart + nLen > L)
                        nStart = std::max(L - nLen, pass.along);
                    if (bHorz)
                        rect.OffsetRect(nStart - rect.left, 0);
                    else
                        rect.OffsetRect(0, nStart - rect.top);
                }
                PlaceBar(pass, pBar, e.first, rect, FALSE);
                pass.along = (bHorz ? rect.right : rect.bottom) - nMargin;
            }
        } else {
            if (!m_bFloating) {
                if (bHorz)
                    pass.along += 1 + nMargin;
                if (pass.bFirstRow && (bBottom || bRight))
                    pass.across += 1;
                int& a = pass.across;
                if (bRight) {
                    AddSplitter(0, 1, a, 0, a + kSplitter, H - nMargin, nFirst);
                    a += kSplitter;
                } else if (bLeft) {
                    AddClientEdge(1, a, 0, a + kEdge, H);
                    a += kEdge;
                } else if (bBottom) {
                    AddSplitter(0, 0, 0, a, W, a + kSplitter, nFirst);
                    a += kSplitter;
                } else if (bTop) {
                    AddClientEdge(0, 0, a, W, a + kEdge);
                    a += kEdge;
                }
            }
            for (int k = 0; k < N; k++) {
                CControlBar* pBar = bars[k].second;
                TWKControlBar* pTWK = TWKAsControlBar(pBar);
                if (pTWK && (pTWK->GetExBarStyle() & CBX_3DBORDERS))
                    pTWK->ModifyExBarStyle(CBX_3DBORDERS, 0, FALSE);
                DWORD dwMode = RowLayoutMode(pBar);
                BOOL bLast = k == N - 1;
                // The last bar ends at the row's end (a floating frame has no end to reach).
                BOOL bStretchLast = bLast && !IsFixedSize(pBar) && !m_bFloating;
                CRect rect;
                if (!bHorz) {
                    if (!pass.bQuery && !m_bFloating)
                        pBar->CalcDynamicLayout(T, dwMode | LM_COMMIT);
                    if (bStretchLast)
                        pBar->CalcDynamicLayout(H - pass.along, dwMode | LM_COMMIT | LM_LENGTHY);
                    CSize size = pBar->CalcDynamicLayout(-1, dwMode);
                    rect = CRect(CPoint(pass.across, pass.along), size);
                    pass.along = rect.bottom;
                    if (!bLast) {
                        AddSplitter(1, 0, rect.left, rect.bottom, rect.left + T, rect.bottom + kSplitter, bars[k].first);
                        pass.along += kSplitter;
                    }
                } else {
                    if (!pass.bQuery)
                        pBar->CalcDynamicLayout(T, dwMode | LM_COMMIT | LM_LENGTHY);
                    if (bStretchLast)
                        pBar->CalcDynamicLayout(W - pass.along, dwMode | LM_COMMIT);
                    CSize size = pBar->CalcDynamicLayout(-1, dwMode);
                    rect = CRect(CPoint(pass.along, pass.across), size);
                    pass.along = rect.right;
                    if (!bLast) {
                        AddSplitter(1, 1, rect.right, rect.top, rect.right + kSplitter, rect.top + T, bars[k].first);
                        pass.along += kSplitter;
                    }
                }
                PlaceBar(pass, pBar, bars[k].first, rect, TRUE);
            }
            if (!m_bFloating) {
                int& a = pass.across;
                if (bLeft) {
                    int nBottom = H - 2 * nMargin;
                    if (pass.nLastDocked >= nFirst && pass.nLastDocked < nEnd && !twkWorkbookMode)
                        nBottom += 2;
                    AddSplitter(0, 1, a + T, 0, a + T + kSplitter, nBottom, nFirst);
                    a += kSplitter;
                } else if (bRight) {
                    AddClientEdge(1, a + T, 0, a + T + kEdge, H);
                    a += kEdge;
                } else if (bTop) {
                    AddSplitter(0, 0, 0, a + T, W, a + T + kSplitter, nFirst);
                    a += kSplitter;
                } else if (bBottom) {
                    AddClientEdge(0, 0, a + T, W, a + T + kEdge);
                    a += kEdge;
                }
            }
        }
        pass.across += T - nMargin;
        pass.bPrevProportional = bProportional;
        pass.bFirstRow = FALSE;
    }
    // Pending shows and hides join this layout's batch (a query only looks).
    for (int i = nFirst; i < nEnd; i++)
        if (CControlBar* pBar = GetDockedControlBar(i))
            if (pBar->m_hWnd)
                pBar->RecalcDelayShow(&pass.layout);
}

void TWKDockBar::PlaceBar(LayoutPass& pass, CControlBar* pBar, int nPos, const CRect& rect, BOOL bProportional)
{
    CRect rectNow;
    pBar->GetWindowRect(&rectNow);
    ScreenToClient(&rectNow);
    if (rect == rectNow)
        return;
    if (!pBar->IsFloating() && pBar->m_pDockContext && (bProportional || !pass.bQuery)) {
        pBar->m_pDockContext->m_rectMRUDockPos = rect;
        UINT nID = (UINT)GetDlgCtrlID();
        if (nID >= AFX_IDW_DOCKBAR_TOP && nID <= AFX_IDW_DOCKBAR_BOTTOM)
            pBar->m_pDockContext->m_uMRUDockID = nID;
    }
    if (pass.bQuery)
        return;
    UINT nFlags = 0;
    if (rect.Size() == rectNow.Size()) {
        nFlags = SWP_NOSIZE;
        if (TWKControlBar::s_bRedrawOptimized > 0)
            nFlags |= SWP_NOREDRAW;
    } else {
        AddBarToRedraw(pBar);
        if (bProportional && pass.nFirstChanged < 0 && Along(rect.Size(), pass.bHorz) != Along(rectNow.Size(), pass.bHorz))
            pass.nFirstChanged = nPos;
    }
    MoveChild(pBar->m_hWnd, rect, nFlags, &pass.layout.hDWP);
}

// ---- splitters

TWKDockBar::Splitter* TWKDockBar::SplitterFromPoint(CPoint point) const
{
    for (INT_PTR i = m_arrSplitters.GetSize() - 1; i >= 0; i--) {
        auto* p = static_cast<Splitter*>(m_arrSplitters[i]);
        if (p->m_rect.PtInRect(point))
            return p;
    }
    return nullptr;
}

BOOL TWKDockBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    // The cursor follows the splitters on mouse moves.
    if (pWnd == this && nHitTest == HTCLIENT)
        return TRUE;
    return CDockBar::OnSetCursor(pWnd, nHitTest, message);
}

void TWKDockBar::OnMouseMove(UINT, CPoint point)
{
    Splitter* p = SplitterFromPoint(point);
    ::SetCursor(p ? (p->m_nOrientation == 1 ? twkAuxData.hcurHSplit : twkAuxData.hcurVSplit) : twkAuxData.hcurArrow);
}

void TWKDockBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (Splitter* p = SplitterFromPoint(point)) {
        TrackSplitter(p, point.x, point.y);
        return;
    }
    CDockBar::OnLButtonDown(nFlags, point);
}

void TWKDockBar::CalcSplitterLimits(Splitter* pSplitter)
{
    const CRect& r = pSplitter->m_rect;
    CRect rectClient;
    GetClientRect(&rectClient);
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    if (pSplitter->m_nKind == 1) {
        // Every bar keeps its minimum length and a splitter.
        int nBefore = 0, nAfter = 0;
        for (int i = RowStart(pSplitter->m_nIndex); i < m_arrBars.GetSize() && m_arrBars[i] != nullptr; i++) {
            CControlBar* pBar = GetDockedControlBar(i);
            if (pBar && pBar->IsVisible())
                (i <= pSplitter->m_nIndex ? nBefore : nAfter)++;
        }
        pSplitter->m_nMin = (bHorz ? rectClient.left : rectClient.top) + kMinShare * nBefore;
        pSplitter->m_nMax = (bHorz ? rectClient.right : rectClient.bottom) - kMinShare * nAfter;
        return;
    }
    // The row keeps a minimum thickness, the frame's client area a minimum size.
    int T = GetRowThickness(pSplitter->m_nIndex);
    CRect R(0, 0, 0, 0);
    if (CFrameWnd* pFrame = GetDockingFrame()) {
        pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CFrameWnd::reposQuery, &R, nullptr, TRUE);
        ::MapWindowPoints(pFrame->m_hWnd, m_hWnd, reinterpret_cast<LPPOINT>(&R), 2);
    }
    if (m_dwStyle & CBRS_ALIGN_TOP) {
        pSplitter->m_nMin = r.top - T + kMinRow;
        pSplitter->m_nMax = std::max(R.bottom - kMinRow, r.bottom);
    } else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
        pSplitter->m_nMin = std::min(R.top + kMinRow, r.top);
        pSplitter->m_nMax = r.top + T - kMinRow;
    } else if (m_dwStyle & CBRS_ALIGN_LEFT) {
        pSplitter->m_nMin = r.left - T + kMinRow;
        pSplitter->m_nMax = std::max(R.right - kMinRow, r.right);
    } else {
        pSplitter->m_nMin = std::min(R.left + kMinRow, r.left);
        pSplitter->m_nMax = r.left + T - kMinRow;
    }
}

void TWKDockBar::DrawTracker(Splitter* pSplitter, CDC* pDC, CPoint ptOrigin, BOOL bErase)
{
    if (bErase && pSplitter->m_rectLast.IsRectEmpty())
        return;
    BOOL bVert = pSplitter->m_nOrientation == 1;
    CRect rect = pSplitter->m_rect;
    if (bVert)
        rect.DeflateRect(1, 0);
    else
        rect.DeflateRect(0, 1);
    rect.OffsetRect(ptOrigin);
    // Edges wider than the strip: the halftone fills all of it.
    CSize size = bErase ? CSize(0, 0) : (bVert ? CSize(5, 0) : CSize(0, 5));
    CBrush* pBrush = AfxGetHalftoneBrush();
    pSplitter->m_bErasing = bErase;
    const CRect* pLast = pSplitter->m_rectLast.IsRectEmpty() ? nullptr : &pSplitter->m_rectLast;
    pDC->DrawDragRect(bErase ? &pSplitter->m_rectLast : &rect, size, pLast, pSplitter->m_sizeLast, pBrush, pBrush);
    if (bErase) {
        pSplitter->m_rectLast.SetRectEmpty();
        pSplitter->m_sizeLast = CSize(0, 0);
    } else {
        pSplitter->m_rectLast = rect;
        pSplitter->m_sizeLast = size;
    }
}

void TWKDockBar::TrackSplitter(Splitter* pSplitter, int x, int y)
{
    if (!pSplitter || ::GetCapture())
        return;
    CalcSplitterLimits(pSplitter);
    SetCapture();
    CFrameWnd* pFrame = GetDockingFrame();
    UpdateWindow();
    if (pFrame)
        pFrame->UpdateWindow();
    // Drawn on the frame (over its children) when there is one.
    HWND hWndDraw = pFrame ? pFrame->m_hWnd : m_hWnd;
    HDC hDC = ::GetDCEx(hWndDraw, nullptr, DCX_CACHE);
    CDC* pDC = CDC::FromHandle(hDC);
    CPoint ptOrigin(0, 0);
    ::MapWindowPoints(m_hWnd, hWndDraw, &ptOrigin, 1);

    const BOOL bVert = pSplitter->m_nOrientation == 1;
    auto lead = [bVert](const CRect& r) { return bVert ? (int)r.left : (int)r.top; };
    const CRect rectSave = pSplitter->m_rect;
    const int nOffset = (bVert ? x : y) - lead(rectSave);
    pSplitter->m_rectLast.SetRectEmpty();
    pSplitter->m_sizeLast = CSize(0, 0);
    pSplitter->m_bFinal = FALSE;
    DrawTracker(pSplitter, pDC, ptOrigin, FALSE);

    BOOL bMoved = FALSE, bCancel = FALSE, bQuit = FALSE;
    int nQuitCode = 0;
    for (BOOL bDone = FALSE; !bDone && ::GetCapture() == m_hWnd;) {
        MSG msg;
        BOOL r = ::GetMessageA(&msg, nullptr, 0, 0);
        if (r <= 0) {
            // WM_QUIT ends the drag as a cancel; the loop above gets it back.
            bQuit = r == 0;
            nQuitCode = (int)msg.wParam;
            bCancel = TRUE;
            break;
        }
        switch (msg.message) {
        case WM_KEYDOWN:
            if (msg.wParam == VK_ESCAPE)
                bCancel = bDone = TRUE;
            break;
        case WM_RBUTTONDOWN:
            bCancel = bDone = TRUE;
            break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: {
            CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            if (msg.hwnd && msg.hwnd != m_hWnd)
                ::MapWindowPoints(msg.hwnd, m_hWnd, &pt, 1);
            int nLead = std::max((bVert ? (int)pt.x : (int)pt.y) - nOffset, pSplitter->m_nMin);
            if (nLead + kSplitter > pSplitter->m_nMax)
                nLead = pSplitter->m_nMax - kSplitter;
            CRect rect = pSplitter->m_rect;
            if (bVert)
                rect.OffsetRect(nLead - rect.left, 0);
            else
                rect.OffsetRect(0, nLead - rect.top);
            if (msg.message == WM_LBUTTONUP) {
                if (bMoved)
                    pSplitter->m_rect = rect;
                pSplitter->m_bFinal = TRUE;
                bDone = TRUE;
            } else if (rect != pSplitter->m_rect) {
                pSplitter->m_rect = rect;
                DrawTracker(pSplitter, pDC, ptOrigin, FALSE);
                bMoved = TRUE;
            }
            break;
        }
        default:
            ::DispatchMessageA(&msg);
            break;
        }
    }
    // Whatever ended the drag (a release, a cancel, a capture taken away), the tracker goes.
    DrawTracker(pSplitter, pDC, ptOrigin, TRUE);
    ::ReleaseDC(hWndDraw, hDC);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (bCancel || !bMoved)
        pSplitter->m_rect = rectSave;
    int nDistance = lead(pSplitter->m_rect) - lead(rectSave);
    if (bQuit)
        ::PostQuitMessage(nQuitCode);
    if (nDistance != 0) {
        ApplySplitterDrag(pSplitter, nDistance);
        DelayRecalcFrame();
    }
}

void TWKDockBar::ApplySplitterDrag(Splitter* pSplitter, int nDistance)
{
    if (!pSplitter || nDistance == 0)
        return;
    m_bLayoutChanged = TRUE;
    int nFirst = RowStart(pSplitter->m_nIndex);
    std::vector<CControlBar*> bars;
    int nBefore = -1;   // the bar before a bar splitter, in the row's visible bars
    for (int i = nFirst; i < m_arrBars.GetSize() && m_arrBars[i] != nullptr; i++) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar && pBar->IsVisible()) {
            if (i == pSplitter->m_nIndex)
                nBefore = (int)bars.size();
            bars.push_back(pBar);
        }
    }
    if (bars.empty())
        return;
    InvalidateToolBarsInRow(bars.front());
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    if (pSplitter->m_nKind == 1) {
        if (nBefore < 0 || nBefore + 1 >= (int)bars.size())
            return;
        CRect rectWindow;
        GetWindowRect(&rectWindow);
        int nRowLength = (bHorz ? rectWindow.Width() : rectWindow.Height()) - kSplitter * ((int)bars.size() - 1);
        // One bar grows by the distance; the bars on the other side give it up in turn.
        int nGrow = nDistance > 0 ? nBefore : nBefore + 1;
        int nStep = nDistance > 0 ? 1 : -1;
        int nRest = std::abs(nDistance);
        ResizeBarInRow(bars[nGrow], nRest, nRowLength);
        int j = nDistance > 0 ? nBefore + 1 : nBefore;
        for (; nRest > 0 && j >= 0 && j < (int)bars.size(); j += nStep) {
            AddBarToRedraw(bars[j]);
            nRest = -ResizeBarInRow(bars[j], -nRest, nRowLength);
        }
        return;
    }
    // Dragging outwards thickens the row.
    int nChange = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) ? -nDistance : nDistance;
    for (CControlBar* pBar : bars) {
        DWORD dwMode = RowLayoutMode(pBar);
        if (dwMode & LM_HORZ)
            dwMode |= LM_LENGTHY;
        CSize size = pBar->CalcDynamicLayout(-1, dwMode);
        int nThickness = (dwMode & LM_VERTDOCK) ? size.cx : size.cy;
        pBar->CalcDynamicLayout(nThickness - nChange, dwMode | LM_COMMIT);
    }
}

// ---- docking feedback

CRect TWKDockBar::CalcDockingRect(CControlBar* pBar, const CRect& rectDrag, CPoint pt, int* pnLastRow,
                                  CRect* pRectLast, CPoint* pPtLast)
{
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    CRect rectClient = rectDrag;
    ScreenToClient(&rectClient);
    int nRowStart = FindInsertPos(rectClient, rectClient.CenterPoint());
    int n = (int)m_arrBars.GetSize();
    while (nRowStart > 0 && nRowStart - 1 < n && m_arrBars[nRowStart - 1] != nullptr)
        nRowStart--;

    // The row's other visible bars: their fractions and thickness.
    BOOL bHasOther = FALSE, bInRow = FALSE;
    float fSum = 0.0f;
    int nThickness = 0;
    for (int i = nRowStart; i < n && m_arrBars[i] != nullptr; i++) {
        CControlBar* p = GetDockedControlBar(i);
        if (p == pBar)
            bInRow = TRUE;
        if (!p || p == pBar || !p->IsVisible())
            continue;
        bHasOther = TRUE;
        if (TWKControlBar* pTWK = TWKAsControlBar(p))
            fSum += pTWK->m_fPctWidth;
        DWORD dwMode = RowLayoutMode(p);
        if (dwMode & LM_HORZ)
            dwMode |= LM_LENGTHY;
        nThickness = std::max(nThickness, Across(p->CalcDynamicLayout(-1, dwMode), bHorz));
    }

    CRect rect;
    if (bHasOther && pnLastRow && pRectLast && pPtLast && nRowStart == *pnLastRow) {
        // The same row as before: the rectangle follows the pointer.
        rect = *pRectLast;
        rect.OffsetRect(pt - *pPtLast);
    } else {
        rect = rectDrag;
        CRect rectWindow;
        GetWindowRect(&rectWindow);
        TWKControlBar* pTWK = TWKAsControlBar(pBar);
        // A fixed-size bar is shown as it is dragged.
        BOOL bFixed = pTWK && (pTWK->GetExBarStyle() & CBX_FIXEDSIZE);
        if (!bFixed && !bHasOther && !bInRow) {
            if (bHorz) {
                rect.left = rectWindow.left;
                rect.right = rectWindow.right;
            } else {
                rect.top = rectWindow.top;
                rect.bottom = rectWindow.bottom;
            }
        } else if (!bFixed && bHasOther && !bInRow) {
            // The share the bar would get in the row, around the pointer.
            float fPct = pTWK ? pTWK->m_fPctWidth : 1.0f;
            fSum += fPct;
            CSize sizeDocked = pBar->CalcDynamicLayout(-1, bHorz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK);
            nThickness = std::max(nThickness, Across(sizeDocked, bHorz));
            int nLength = fSum > 0.0f ? (int)((bHorz ? rectWindow.Width() : rectWindow.Height()) * fPct / fSum) : 0;
            CSize size = bHorz ? CSize(nLength, nThickness) : CSize(nThickness, nLength);
            int cx = std::max(1, (int)rectDrag.Width()), cy = std::max(1, (int)rectDrag.Height());
            rect.left = pt.x - ::MulDiv(pt.x - rectDrag.left, size.cx, cx);
            rect.top = pt.y - ::MulDiv(pt.y - rectDrag.top, size.cy, cy);
            rect.right = rect.left + size.cx;
            rect.bottom = rect.top + size.cy;
        }
    }
    if (pnLastRow)
        *pnLastRow = nRowStart;
    if (pRectLast)
        *pRectLast = rect;
    if (pPtLast)
        *pPtLast = pt;
    return rect;
}
