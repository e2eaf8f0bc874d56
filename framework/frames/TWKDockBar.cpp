// The framework's dock bar: rows, docking at a place, fractions, redraws.
#include "framework/frames/TWKDockBar.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKControlBarInfo.h"
#include "framework/frames/TWKMiniDockFrameWnd.h"

namespace {
bool IsPlaceHolder(void* p) { return p && reinterpret_cast<UINT_PTR>(p) < 0x10000; }

TWKControlBar* AsTWKBar(CControlBar* pBar) { return TWKAsControlBar(pBar); }

void* PlaceHolderOf(CControlBar* pBar)
{
    UINT nID = pBar->m_hWnd ? (UINT)LOWORD(::GetDlgCtrlID(pBar->m_hWnd)) : 0;
    return reinterpret_cast<void*>((UINT_PTR)nID);
}

const float kMaxAnchorPct = 0.95f;
const int kMinBarLength = 18;
} // namespace

TWKControlBar* TWKAsControlBar(CControlBar* pBar)
{
    return (pBar && pBar->IsKindOf(RUNTIME_CLASS(TWKControlBar))) ? static_cast<TWKControlBar*>(pBar) : nullptr;
}

BOOL TWKIsCustomToolBar(const CControlBar* pBar)
{
    // By name: the toolbar classes build on the dock bar, not the other way round.
    static CRuntimeClass* pClass = CRuntimeClass::FromName("TWKCustomToolBar");
    return pClass && pBar && pBar->IsKindOf(pClass);
}

DWORD TWKGetExBarStyle(const CControlBar* pBar)
{
    return (pBar && pBar->IsKindOf(RUNTIME_CLASS(TWKControlBar))) ? static_cast<const TWKControlBar*>(pBar)->GetExBarStyle()
                                                                   : 0;
}

IMPLEMENT_DYNCREATE(TWKDockBar, CDockBar)

BEGIN_MESSAGE_MAP(TWKDockBar, CDockBar)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

TWKDockBar::TWKDockBar(BOOL bFloating, BOOL bMDIChild) : CDockBar(bFloating), m_bMDIChild(bMDIChild)
{
}

TWKDockBar::~TWKDockBar()
{
    DeleteLayoutObjects();
}

void TWKDockBar::DeleteLayoutObjects()
{
    for (INT_PTR i = 0; i < m_arrSplitters.GetSize(); i++)
        delete static_cast<Splitter*>(m_arrSplitters[i]);
    for (INT_PTR i = 0; i < m_arrClientEdges.GetSize(); i++)
        delete static_cast<ClientEdge*>(m_arrClientEdges[i]);
    m_arrSplitters.RemoveAll();
    m_arrClientEdges.RemoveAll();
}

BOOL TWKDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExtra, UINT nID)
{
    m_dwExtra = dwExtra;
    if (!CDockBar::Create(pParentWnd, dwStyle, nID))
        return FALSE;
    m_dwStyle = dwStyle & CBRS_ALL;
    return TRUE;
}

int TWKDockBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CDockBar::OnCreate(lpcs) == -1)
        return -1;
    twkAuxData.LoadSplitCursors();
    return 0;
}

void TWKDockBar::OnDestroy()
{
    DeleteLayoutObjects();
    CDockBar::OnDestroy();
}

BOOL TWKDockBar::PreTranslateMessage(MSG* pMsg)
{
    // Alt+key in a docked bar opens the frame's menu.
    if (pMsg->message == WM_SYSCHAR)
        if (CFrameWnd* pFrame = GetParentFrame())
            pFrame->PostMessage(WM_SYSCOMMAND, SC_KEYMENU, pMsg->wParam);
    return CDockBar::PreTranslateMessage(pMsg);
}

int TWKDockBar::GetDockedVisibleCount() const
{
    int n = 0;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); i++)
        if (CControlBar* pBar = GetDockedControlBar((int)i))
            if (pBar->m_hWnd && pBar->IsVisible())
                n++;
    return n;
}

CControlBar* TWKDockBar::GetFirstBar() const
{
    return m_arrBars.GetSize() < 2 ? nullptr : GetDockedControlBar(1);
}

// ---- rows

int TWKDockBar::RowStart(int nPos) const
{
    while (nPos > 1 && m_arrBars[nPos - 1] != nullptr)
        nPos--;
    return nPos;
}

BOOL TWKDockBar::IsAloneInRow(int nPos) const
{
    for (int i = RowStart(nPos); i < m_arrBars.GetSize() && m_arrBars[i] != nullptr; i++)
        if (i != nPos && GetDockedControlBar(i))
            return FALSE;
    return TRUE;
}

BOOL TWKDockBar::GetBarsInRow(CPtrList* pList, CControlBar* pBar)
{
    pList->RemoveAll();
    if (!pBar)
        return FALSE;
    int nPos = FindBar(pBar);
    if (nPos <= 0)
        return TRUE;
    for (int i = nPos - 1; i > 0 && m_arrBars[i] != nullptr; i--)
        if (CControlBar* p = GetDockedControlBar(i))
            pList->AddHead(p);
    pList->AddTail(pBar);
    for (int i = nPos + 1; i < m_arrBars.GetSize() && m_arrBars[i] != nullptr; i++)
        if (CControlBar* p = GetDockedControlBar(i))
            pList->AddTail(p);
    return TRUE;
}

BOOL TWKDockBar::IsOnlyVisibleBarInRow(CControlBar* pBar)
{
    CPtrList list;
    if (!GetBarsInRow(&list, pBar))
        return FALSE;
    if (list.GetCount() == 1)
        return TRUE;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        auto* p = static_cast<CControlBar*>(list.GetNext(pos));
        if (p != pBar && p->IsVisible())
            return FALSE;
    }
    return TRUE;
}

DWORD TWKDockBar::RowLayoutMode(CControlBar* pBar) const
{
    DWORD dwStyle = pBar->GetBarStyle();
    // Floating, a framework bar takes its floating size, never a docked one.
    BOOL bFloatSize = (dwStyle & CBRS_SIZE_DYNAMIC) || (TWKAsControlBar(pBar) && !TWKIsCustomToolBar(pBar));
    if ((dwStyle & CBRS_FLOATING) && bFloatSize)
        return LM_HORZ | LM_MRUWIDTH;
    if (dwStyle & CBRS_ORIENT_HORZ)
        return LM_HORZ | LM_HORZDOCK;
    return LM_VERTDOCK;
}

BOOL TWKDockBar::GetBarRowCol(CControlBar* pBar, int* pnRow, int* pnCol, int* pnThickness)
{
    *pnRow = 0;
    *pnCol = 0;
    if (!pBar || !pBar->IsVisible())
        return FALSE;
    BOOL bSeenBar = FALSE;
    int nRowStart = 1;
    for (int i = 1; i < m_arrBars.GetSize(); i++) {
        void* p = m_arrBars[i];
        if (p == pBar) {
            if (pnThickness)
                *pnThickness = GetRowThickness(nRowStart);
            return TRUE;
        }
        if (!p) {
            if (bSeenBar)
                (*pnRow)++;
            *pnCol = 0;
            nRowStart = i + 1;
        } else if (!IsPlaceHolder(p)) {
            bSeenBar = TRUE;
            (*pnCol)++;
        }
    }
    return FALSE;
}

// ---- fractions

void TWKDockBar::CalcMinFraction()
{
    m_fMinPctWidth = 0.05f;
    if (!m_hWnd)
        return;
    CRect rect;
    GetClientRect(&rect);
    int nLength = (m_dwStyle & CBRS_ORIENT_HORZ) ? rect.Width() : rect.Height();
    if (nLength > 0)
        m_fMinPctWidth = std::min(1.0f, std::max(0.0f, (float)kMinBarLength / (float)nLength));
}

void TWKDockBar::NormalizeRow(int nFirst, CControlBar* pAnchor, int* pnSizable, int* pnFixed)
{
    CalcMinFraction();
    TWKControlBar* pAnchorBar = AsTWKBar(pAnchor);
    if (pAnchorBar && pAnchorBar->IsVisible() && pAnchorBar->m_fPctWidth > kMaxAnchorPct)
        pAnchorBar = nullptr;
    float F = 0.0f, O = 0.0f;
    int nSizable = 0, nFixed = 0;
    for (int i = nFirst; i < m_arrBars.GetSize() && m_arrBars[i] != nullptr; i++) {
        TWKControlBar* pBar = AsTWKBar(GetDockedControlBar(i));
        if (!pBar || !pBar->IsVisible())
            continue;
        if (pBar == pAnchorBar) {
            pBar->m_fPctWidth = std::min(std::max(pBar->m_fPctWidth, m_fMinPctWidth), kMaxAnchorPct);
            F += pBar->m_fPctWidth;
        } else {
            O += pBar->m_fPctWidth;
        }
        if (pBar->GetExBarStyle() & CBX_FIXEDSIZE)
            nFixed++;
        else
            nSizable++;
    }
    if (F > 0.0f && pAnchorBar) {
        float fScale;
        if (O <= 0.0f) {
            fScale = 1.0f / F;
        } else {
            F = std::min(F, kMaxAnchorPct);
            fScale = (O == F) ? 1.0f : O / (O - F);
        }
        pAnchorBar->m_fPctWidth = std::max(m_fMinPctWidth, pAnchorBar->m_fPctWidth * fScale);
        O += pAnchorBar->m_fPctWidth;
    }
    if (O > 0.0f) {
        for (int i = nFirst; i < m_arrBars.GetSize() && m_arrBars[i] != nullptr; i++) {
            TWKControlBar* pBar = AsTWKBar(GetDockedControlBar(i));
            if (pBar && pBar->IsVisible())
                pBar->m_fPctWidth = std::max(m_fMinPctWidth, pBar->m_fPctWidth / O);
        }
    }
    if (pnSizable)
        *pnSizable = nSizable;
    if (pnFixed)
        *pnFixed = nFixed;
}

float TWKDockBar::AdjustFraction(float fDelta, CControlBar* pBar)
{
    TWKControlBar* p = AsTWKBar(pBar);
    if (!p)
        return fDelta;
    p->m_fPctWidth += fDelta;
    if (p->m_fPctWidth < m_fMinPctWidth) {
        float fRest = p->m_fPctWidth - m_fMinPctWidth;
        p->m_fPctWidth = m_fMinPctWidth;
        return fRest;
    }
    return 0.0f;
}

BOOL TWKDockBar::IsBarExpanded(CControlBar* pBar)
{
    CPtrList list;
    if (!GetBarsInRow(&list, pBar))
        return FALSE;
    int nAbove = 0;
    BOOL bBarAbove = FALSE;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        TWKControlBar* p = AsTWKBar(static_cast<CControlBar*>(list.GetNext(pos)));
        if (p && p->IsVisible() && p->m_fPctWidth > m_fMinPctWidth) {
            nAbove++;
            if (p == pBar)
                bBarAbove = TRUE;
        }
    }
    return nAbove < 2 && bBarAbove;
}

// ---- redraw bookkeeping

void TWKDockBar::AddBarToRedraw(CControlBar* pBar)
{
    if (pBar)
        m_arrRedraw.Add(pBar);
}

void TWKDockBar::AddBarToRedraw(int nIndex)
{
    AddBarToRedraw(GetDockedControlBar(nIndex));
}

void TWKDockBar::MarkBarsForRedraw(int nIndex)
{
    // Rows after a change move on left and top edges, rows before it on the others.
    if (!(m_dwStyle & (CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM))) {
        for (INT_PTR i = std::max(nIndex, 0); i < m_arrBars.GetSize(); i++)
            AddBarToRedraw((int)i);
    } else {
        for (INT_PTR i = 0; i < nIndex && i < m_arrBars.GetSize(); i++)
            AddBarToRedraw((int)i);
    }
}

void TWKDockBar::SetAnchorBar(CControlBar* pBar)
{
    int nPos = pBar ? FindBar(pBar) : -1;
    if (nPos > 0 && IsAloneInRow(nPos))
        MarkBarsForRedraw(nPos);
    AddBarToRedraw(pBar);
    m_pAnchorBar = pBar;
}

void TWKDockBar::RedrawPendingBars()
{
    m_bRedrawing = TRUE;
    if (m_arrRedraw.GetSize() > 0 && m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
    m_bRedrawing = FALSE;
}

void TWKDockBar::DelayRecalcFrame()
{
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->DelayRecalcLayout(TRUE);
}

// ---- inserting

int TWKDockBar::InsertBarAtIndex(int nIndex, CControlBar* pBar)
{
    m_arrBars.InsertAt(nIndex, pBar);
    CControlBar* pNext = GetDockedControlBar(nIndex + 1);
    CControlBar* pPrev = nIndex > 0 ? GetDockedControlBar(nIndex - 1) : nullptr;
    BOOL bOwnRow = (TWKGetExBarStyle(pBar) & CBX_OWNROW) != 0;
    if (pNext && (bOwnRow || (TWKGetExBarStyle(pNext) & CBX_OWNROW)))
        m_arrBars.InsertAt(nIndex + 1, (void*)nullptr);
    if (pPrev && (bOwnRow || (TWKGetExBarStyle(pPrev) & CBX_OWNROW))) {
        m_arrBars.InsertAt(nIndex, (void*)nullptr);
        nIndex++;
    }
    return nIndex;
}

int TWKDockBar::InsertAsFirstRow(CControlBar* pBar)
{
    if (m_arrBars.GetSize() == 0) {
        m_arrBars.Add(pBar);
        return 0;
    }
    for (int i = 0; i < m_arrBars.GetSize(); i++) {
        if (m_arrBars[i] != nullptr) {
            m_arrBars.InsertAt(i, (void*)nullptr);
            m_arrBars.InsertAt(i, pBar);
            return i;
        }
    }
    return (int)m_arrBars.Add(pBar);
}

int TWKDockBar::InsertBarAt(CControlBar* pBar, int nCol, int nRow)
{
    TWKDockPos pos = { nRow, nCol, 0 };
    return InsertBarAt(pBar, &pos);
}

int TWKDockBar::InsertBarAt(CControlBar* pBar, const TWKDockPos* pPos)
{
    int n = (int)m_arrBars.GetSize();
    if (n <= 1) {
        if (n == 0)
            m_arrBars.Add(nullptr);
        AddBarToRedraw(pBar);
        m_arrBars.Add(pBar);
        m_arrBars.Add(nullptr);
        return 1;
    }
    int nRow = pPos->nRow;
    DWORD dwFlags = pPos->dwFlags;
    int nStart = -1;
    if (!(dwFlags & TWKDP_FROMLAST)) {
        if (nRow < 0) {
            AddBarToRedraw(pBar);
            AddBarToRedraw(1);
            int p = InsertBarAtIndex(1, pBar);
            for (int i = 0; i < -1 - nRow; i++)
                m_arrBars.InsertAt(p + 1, (void*)nullptr);
            return p;
        }
        int nSkip = nRow;
        for (int i = 1; i < n; i++) {
            if (nSkip == 0) {
                nStart = i;
                break;
            }
            if (m_arrBars[i] == nullptr)
                nSkip--;
        }
        if (nStart < 0) {
            TWKDockPos after = { nSkip + 1, 0, TWKDP_FROMLAST };
            return InsertBarAt(pBar, &after);
        }
    } else {
        if (nRow > 0) {
            for (int i = 0; i < nRow - 1; i++)
                m_arrBars.Add(nullptr);
            AddBarToRedraw(pBar);
            int p = (int)m_arrBars.Add(pBar);
            m_arrBars.Add(nullptr);
            return p;
        }
        // Backwards from the end; the last entry ends the last row.
        int nSkip = -nRow;
        int i = n - 1;
        if (m_arrBars[i] == nullptr)
            i--;
        for (; i >= 1; i--) {
            if (m_arrBars[i] == nullptr) {
                if (nSkip == 0) {
                    nStart = i + 1;
                    break;
                }
                nSkip--;
            }
        }
        if (nStart < 0) {
            if (nSkip == 0) {
                nStart = 1;
            } else {
                TWKDockPos before = { -1 - nSkip, 0, 0 };
                return InsertBarAt(pBar, &before);
            }
        }
    }

    int nEnd = nStart;
    while (nEnd < n && m_arrBars[nEnd] != nullptr)
        nEnd++;
    int nCol = pPos->nCol;
    int nTarget;
    if (dwFlags & TWKDP_NEWROW) {
        AddBarToRedraw(pBar);
        AddBarToRedraw(nStart);
        m_arrBars.InsertAt(nStart, (void*)nullptr);
        m_arrBars.InsertAt(nStart, pBar);
        return nStart;
    }
    if (nStart == nEnd || (!(dwFlags & TWKDP_COLFROMEND) && nCol <= 0)) {
        nTarget = nStart;
    } else if (!(dwFlags & TWKDP_COLFROMEND)) {
        nTarget = nEnd;
        int nVisible = 0;
        for (int i = nStart; i < nEnd; i++) {
            CControlBar* p = GetDockedControlBar(i);
            if (p && p->IsVisible() && nVisible++ == nCol) {
                nTarget = i;
                break;
            }
        }
    } else if (nCol > 0) {
        nTarget = nEnd;
    } else {
        nTarget = nStart;
        int nVisible = 0;
        for (int i = nEnd - 1; i >= nStart; i--) {
            CControlBar* p = GetDockedControlBar(i);
            if (p && p->IsVisible() && nVisible++ == -nCol) {
                nTarget = i;
                break;
            }
        }
    }
    AddBarToRedraw(pBar);
    AddBarToRedraw(nTarget);
    return InsertBarAtIndex(nTarget, pBar);
}

int TWKDockBar::InsertBarAtPoint(CControlBar* pBar, const CRect& rect, CPoint ptMid)
{
    AddBarToRedraw(pBar);
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    for (int i = 0; i < m_arrBars.GetSize(); i++) {
        CControlBar* pOther = GetDockedControlBar(i);
        if (!pOther || pOther == pBar || !pOther->IsVisible())
            continue;
        CRect r;
        pOther->GetWindowRect(&r);
        ScreenToClient(&r);
        if (bHorz ? ptMid.y > r.bottom : ptMid.x > r.right)
            continue;
        if (bHorz ? ptMid.y < r.top : ptMid.x < r.left)
            return InsertAsFirstRow(pBar);
        if (bHorz ? rect.left < r.left : rect.top < r.top) {
            MarkBarsForRedraw(i);
            return InsertBarAtIndex(i, pBar);
        }
        if (!GetDockedControlBar(i + 1)) {
            MarkBarsForRedraw(i + 1);
            return InsertBarAtIndex(i + 1, pBar);
        }
    }
    // Below every row: a new last row; placeholders after the last bar go.
    int nLast = -1;
    for (int i = 0; i < m_arrBars.GetSize(); i++)
        if (GetDockedControlBar(i))
            nLast = i;
    MarkBarsForRedraw(nLast + 2);
    m_arrBars.SetSize(nLast + 5);
    m_arrBars[nLast + 1] = nullptr;
    m_arrBars[nLast + 2] = pBar;
    m_arrBars[nLast + 3] = nullptr;
    m_arrBars[nLast + 4] = nullptr;
    m_bLayoutChanged = TRUE;
    return nLast + 2;
}

int TWKDockBar::FindInsertPos(const CRect& rect, CPoint ptMid)
{
    BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int nTotal = 0, nWidth = 0, nCandidate = 0;
    for (int i = 0; i < m_arrBars.GetSize(); i++) {
        CControlBar* pBar = GetDockedControlBar(i);
        if (pBar && pBar->IsVisible()) {
            CRect r;
            pBar->GetWindowRect(&r);
            ScreenToClient(&r);
            nWidth = std::max(nWidth, bHorz ? (int)r.Height() : (int)r.Width() - 1);
            if (bHorz ? rect.left > r.left : rect.top > r.top)
                nCandidate = i;
        } else if (!pBar) {
            nTotal += nWidth - twkAuxData.cyBorder;
            nWidth = 0;
            if ((bHorz ? ptMid.y : ptMid.x) < nTotal)
                return i == 0 ? 0 : nCandidate + 1;
            nCandidate = i;
        }
    }
    return nCandidate + 1;
}

// ---- docking

void TWKDockBar::AdoptBar(CControlBar* pBar)
{
    if (m_bFloating && (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI))
        m_dwStyle |= CBRS_FLOAT_MULTI;
    m_dwStyle = (m_dwStyle & ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC))
                | (pBar->GetBarStyle() & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC));
    if (!(m_dwStyle & CBRS_FLOAT_MULTI) && m_hWnd && pBar->m_hWnd) {
        char szTitle[261];
        ::GetWindowTextA(pBar->m_hWnd, szTitle, sizeof szTitle);
        ::SetWindowTextA(m_hWnd, szTitle);
    }
    DWORD dwStyle = (pBar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | (m_dwStyle & CBRS_ALIGN_ANY)
                    | CBRS_BORDER_ANY | (m_bFloating ? CBRS_FLOATING : 0);
    pBar->SetBarStyle(dwStyle);
}

void TWKDockBar::TakeOver(CControlBar* pBar, int nNewPos)
{
    if (pBar->m_hWnd && ::GetParent(pBar->m_hWnd) != m_hWnd)
        pBar->SetParent(this);
    CDockBar* pOld = pBar->m_pDockBar;
    if (pOld == this)
        RemoveControlBar(pBar, nNewPos, 0);
    else if (pOld && pOld->IsKindOf(RUNTIME_CLASS(TWKDockBar)))
        static_cast<TWKDockBar*>(pOld)->RemoveControlBar(pBar, -1, 0);
    else if (pOld)
        pOld->CDockBar::RemoveControlBar(pBar, -1, 0);
    pBar->m_pDockBar = this;
    RemovePlaceHolder(pBar);
}

void TWKDockBar::DockControlBarAt(CControlBar* pBar, int nCol, int nRow)
{
    TWKDockPos pos = { nRow, nCol, 0 };
    DockControlBarAt(pBar, &pos);
}

void TWKDockBar::DockControlBarAt(CControlBar* pBar, const TWKDockPos* pPos)
{
    if (!pBar || !pPos)
        return;
    AdoptBar(pBar);
    int nPos = InsertBarAt(pBar, pPos);
    TakeOver(pBar, nPos);
    int nNow = FindBar(pBar);
    if (nNow > 0)
        NormalizeRow(RowStart(nNow), pBar);
    DelayRecalcFrame();
}

void TWKDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    if (!pBar)
        return;
    CRect rect;
    CPoint ptMid;
    if (lpRect) {
        rect = *lpRect;
        ScreenToClient(&rect);
        ptMid = rect.CenterPoint();
    }
    if (pBar->m_pDockBar == this && FindBar(pBar) > 0) {
        CRect rectWindow;
        pBar->GetWindowRect(&rectWindow);
        if (!(TWKGetExBarStyle(pBar) & CBX_FIXEDSIZE)) {
            if (lpRect) {
                int nPos = FindBar(pBar);
                int nInsert = FindInsertPos(rect, ptMid);
                if (rectWindow == *lpRect || nInsert == nPos || nInsert == nPos + 1)
                    return;
            }
        } else if (!lpRect || rectWindow == *lpRect) {
            return;
        }
    }
    if (pBar->m_pDockBar && pBar->m_hWnd) {
        CRect rectOld;
        pBar->GetWindowRect(&rectOld);
        pBar->m_pDockBar->ScreenToClient(&rectOld);
        pBar->m_pDockBar->InvalidateRect(&rectOld);
    }
    AdoptBar(pBar);
    int nPos;
    CPoint ptMove;
    if (!lpRect) {
        if (m_arrBars.GetSize() == 0 || m_arrBars[m_arrBars.GetSize() - 1] != nullptr)
            m_arrBars.Add(nullptr);
        nPos = (int)m_arrBars.Add(pBar);
        m_arrBars.Add(nullptr);
        ptMove = CPoint(-twkAuxData.cxBorder, -twkAuxData.cyBorder);
    } else {
        nPos = InsertBarAtPoint(pBar, rect, ptMid);
        ptMove = rect.TopLeft();
    }
    if (pBar->m_hWnd)
        pBar->SetWindowPos(nullptr, ptMove.x, ptMove.y, 0, 0, SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    TakeOver(pBar, nPos);
    DelayRecalcFrame();
}

void TWKDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    if (!pBar)
        return;
    if (pBar->m_pDockBar == this) {
        CRect rectWindow;
        if (pBar->m_hWnd)
            pBar->GetWindowRect(&rectWindow);
        if (!lpRect || rectWindow == *lpRect)
            return;
    }
    AdoptBar(pBar);
    int nPos = -1;
    void* pHolder = PlaceHolderOf(pBar);
    if (pHolder) {
        nPos = FindBar(static_cast<CControlBar*>(pHolder));
        if (nPos > 0)
            m_arrBars[nPos] = pBar;
    }
    BOOL bVisible = pBar->m_hWnd && (pBar->GetStyle() & WS_VISIBLE);
    UINT nHide = bVisible ? SWP_HIDEWINDOW : 0;
    if (lpRect) {
        CRect rect = *lpRect;
        ScreenToClient(&rect);
        if (nPos <= 0)
            nPos = InsertBarAtPoint(pBar, rect, rect.CenterPoint());
        pBar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width() + 1, rect.Height(),
                           nHide | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        if (nPos <= 0) {
            if (m_arrBars.GetSize() == 0 || m_arrBars[m_arrBars.GetSize() - 1] != nullptr)
                m_arrBars.Add(nullptr);
            nPos = (int)m_arrBars.Add(pBar);
            m_arrBars.Add(nullptr);
        }
        pBar->SetWindowPos(nullptr, -twkAuxData.cxBorder, -twkAuxData.cyBorder, 0, 0,
                           nHide | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (bVisible)
        pBar->DelayShow(TRUE);
    if (::GetParent(pBar->m_hWnd) != m_hWnd)
        pBar->SetParent(this);
    CDockBar* pOld = pBar->m_pDockBar;
    if (pOld && pOld != this) {
        // The removal may destroy a floating frame and the dock bar with it.
        HWND hOld = pOld->m_hWnd;
        if (pOld->IsKindOf(RUNTIME_CLASS(TWKDockBar)))
            static_cast<TWKDockBar*>(pOld)->RemoveControlBar(pBar, -1, 0);
        else
            pOld->CDockBar::RemoveControlBar(pBar, -1, 0);
        if (hOld && ::IsWindow(hOld) && CWnd::FromHandlePermanent(hOld) == pOld)
            pOld->RemovePlaceHolder(pBar);
    } else if (pOld == this) {
        RemoveControlBar(pBar, nPos, 0);
        RemovePlaceHolder(pBar);
    }
    pBar->m_pDockBar = this;
    DelayRecalcFrame();
    m_pAnchorBar = pBar;
}

void TWKDockBar::RemoveEntry(int nPos)
{
    m_arrBars.RemoveAt(nPos);
    // No empty row is left behind.
    if (nPos > 0 && nPos < m_arrBars.GetSize() && m_arrBars[nPos - 1] == nullptr && m_arrBars[nPos] == nullptr)
        m_arrBars.RemoveAt(nPos);
}

BOOL TWKDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int)
{
    int nPos = FindBar(pBar, nPosExclude);
    // A bar this dock bar does not hold (it left when its window was destroyed) changes nothing.
    if (nPos <= 0)
        return FALSE;
    if (IsAloneInRow(nPos)) {
        MarkBarsForRedraw(nPos);
        m_bLayoutChanged = TRUE;
    }
    void* pHolder = PlaceHolderOf(pBar);
    if (pHolder) {
        m_arrBars[nPos] = pHolder;
        if (FindBar(static_cast<CControlBar*>(pHolder), nPos) > 0)
            RemoveEntry(nPos);
    } else {
        RemoveEntry(nPos);
    }
    for (INT_PTR i = m_arrRedraw.GetSize() - 1; i >= 0; i--)
        if (m_arrRedraw[i] == pBar)
            m_arrRedraw.RemoveAt(i);
    if (m_pAnchorBar == pBar)
        m_pAnchorBar = nullptr;
    if (!pBar->m_pDockContext || !m_hWnd)
        return FALSE;
    CFrameWnd* pFrame = GetDockingFrame();
    if (!pFrame)
        return FALSE;
    if (m_bFloating && GetDockedVisibleCount() == 0) {
        if (GetDockedCount() == 0) {
            // The floating frame deletes this dock bar with it: nothing of it is touched after.
            TWKDestroyFloatingFrame(pFrame);
            return TRUE;
        }
        pFrame->ShowWindow(SW_HIDE);
        return FALSE;
    }
    pFrame->RecalcLayout(TRUE);
    return FALSE;
}

// ---- layout

LRESULT TWKDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    AFX_SIZEPARENTPARAMS* pOldLayout = m_pLayoutParams;
    m_pLayoutParams = pLayout;
    BOOL bOldRedraw = TWKControlBar::s_bRedrawOptimized;
    if (bOldRedraw)
        TWKControlBar::s_bRedrawOptimized = m_bLayoutChanged;
    LRESULT lResult = CDockBar::OnSizeParent(wParam, lParam);
    TWKControlBar::s_bRedrawOptimized = bOldRedraw;
    m_pLayoutParams = pOldLayout;
    return lResult;
}

void TWKDockBar::GetBarInfo(CControlBarInfo* pBaseInfo)
{
    CDockBar::GetBarInfo(pBaseInfo);
    auto* pInfo = dynamic_cast<TWKControlBarInfo*>(pBaseInfo);
    if (!pInfo)
        return;
    pInfo->m_bMDIChild = m_bMDIChild;
    if (m_bMDIChild) {
        pInfo->m_pointPos = CPoint(0, 0);
        if (CFrameWnd* pFrame = GetParentFrame())
            ::GetWindowPlacement(pFrame->m_hWnd, &pInfo->m_wpMDIChild);
    }
}
