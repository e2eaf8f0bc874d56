// The split button.
#include "framework/controls/toolbars/TWKTwoPartBtn.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"

IMPLEMENT_BUTTON_CLASS(TWKTwoPartBtn)

TWKTwoPartBtn::TWKTwoPartBtn()
{
    m_nType = TWK_BTN_TWOPART;
    m_cx = 23 + cxArrow - 1;
}

int TWKTwoPartBtn::MainWidth() const
{
    return m_pToolBar ? m_pToolBar->GetButtonWidth() : 23;
}

void TWKTwoPartBtn::SetMode(BOOL bVertical)
{
    m_bTwoPart = !bVertical;
    m_cx = m_bTwoPart ? MainWidth() + cxArrow - 1 : MainWidth();
}

void TWKTwoPartBtn::Init(TWKCustomToolBar* pToolBar, const UINT_PTR* pParams)
{
    TWKStdBtn::Init(pToolBar, pParams);
    m_nArrowImageID = pParams ? (UINT)pParams[0] : 0;
    m_nArrowImage = pToolBar ? pToolBar->GetImageIndex(m_nArrowImageID, nullptr) : 0;
    m_nArrowID = (pParams && pParams[1]) ? (UINT)pParams[1] : m_nArrowImageID;
    AdjustSize();
}

void TWKTwoPartBtn::AdjustSize()
{
    if (!m_pToolBar)
        return;
    int bw = MainWidth();
    m_pToolBar->RaiseMaxButtonWidth(bw + cxArrow - 1);
    m_cx = m_bTwoPart ? bw + cxArrow - 1 : bw;
    m_cy = m_pToolBar->GetButtonHeight();
}

void TWKTwoPartBtn::Paint(CDC* pDC, TWKBtnDrawData& data)
{
    if (!m_bTwoPart || !m_pToolBar) {
        TWKStdBtn::Paint(pDC, data);
        return;
    }
    RECT rect;
    GetRect(&rect);
    if (!pDC->RectVisible(&rect))
        return;
    int bw = MainWidth();
    int nImageWidth = m_pToolBar->GetImageWidth();

    PrepareImage(data);
    DrawFaceAndState(data, 0, 0, m_pToolBar->IsCoolLook() ? bw - 1 : bw, m_cy, nImageWidth);

    // The arrow: the left part of its command's image, pressed on its own.
    int nImage = m_nImage;
    DWORD dwStyle = m_dwStyle;
    HBITMAP hBitmap = nullptr;
    int nIndex = 0;
    if (m_pToolBar->GetBmpMgr()->GetBitmap(m_nArrowImageID, &hBitmap, &nIndex, FALSE))
        data.SelectImage(hBitmap);
    else
        data.SelectImage(nullptr);
    m_nImage = m_nArrowImage;
    m_dwStyle &= ~(TBBS_CHECKED | TBBS_PRESSED);
    if (dwStyle & TWK_TBBS_ARROWPRESSED)
        m_dwStyle |= TBBS_PRESSED;
    DrawFaceAndState(data, bw - 1, 0, cxArrow, m_cy, nImageWidth + cxArrow - bw);
    m_nImage = nImage;
    m_dwStyle = dwStyle;

    DrawTransparent(pDC, data);
    if (m_dwStyle & TWK_TBBS_SELECTED)
        DrawSelectedFrame(data);
    BlitToDC(pDC, data);
}

BOOL TWKTwoPartBtn::LButtonDown(int px, int py)
{
    if (!m_bTwoPart)
        return TWKStdBtn::LButtonDown(px, py);
    if (GetStyle() & TBBS_DISABLED)
        return FALSE;
    if (px >= m_x + MainWidth()) {
        if (GetStyle() & TBSTYLE_DROPDOWN) {
            DropDown(TWK_TBBS_ARROWPRESSED);
            return FALSE;
        }
        SetStyle(GetStyle() | TWK_TBBS_ARROWPRESSED | TWK_TBBS_ARROWTRACKING);
        return TRUE;
    }
    SetStyle((GetStyle() | TBBS_PRESSED) & ~TWK_TBBS_ARROWTRACKING);
    return TRUE;
}

void TWKTwoPartBtn::MouseMove(int px, int py)
{
    if (!m_bTwoPart) {
        TWKStdBtn::MouseMove(px, py);
        return;
    }
    int bw = MainWidth();
    DWORD dwStyle = GetStyle();
    if (dwStyle & TWK_TBBS_ARROWTRACKING) {
        BOOL bIn = PtIn(px, py, m_x + bw, m_x + m_cx);
        SetStyle(bIn ? (dwStyle | TWK_TBBS_ARROWPRESSED) : (dwStyle & ~TWK_TBBS_ARROWPRESSED));
    } else {
        BOOL bIn = PtIn(px, py, m_x, m_x + bw);
        SetStyle(bIn ? (dwStyle | TBBS_PRESSED) : (dwStyle & ~TBBS_PRESSED));
    }
}

void TWKTwoPartBtn::CancelMode()
{
    if (!m_bTwoPart) {
        TWKStdBtn::CancelMode();
        return;
    }
    SetStyle(GetStyle() & ~(TBBS_PRESSED | TWK_TBBS_ARROWPRESSED | TWK_TBBS_ARROWTRACKING));
}

UINT TWKTwoPartBtn::LButtonUp(int px, int py)
{
    if (!m_bTwoPart)
        return TWKStdBtn::LButtonUp(px, py);
    int bw = MainWidth();
    DWORD dwStyle = GetStyle() & ~(TBBS_PRESSED | TWK_TBBS_ARROWPRESSED);
    if (dwStyle & TWK_TBBS_ARROWTRACKING) {
        SetStyle(dwStyle & ~TWK_TBBS_ARROWTRACKING);
        return PtIn(px, py, m_x + bw, m_x + m_cx) ? m_nArrowID : 0;
    }
    if (!PtIn(px, py, m_x, m_x + bw)) {
        SetStyle(dwStyle);
        return 0;
    }
    // Only this button toggles, not the others of its command.
    if (!(dwStyle & TBBS_DISABLED) && (dwStyle & TBBS_CHECKBOX))
        dwStyle = (dwStyle ^ TBBS_CHECKED) & ~TBBS_INDETERMINATE;
    SetStyle(dwStyle);
    return m_nID;
}
