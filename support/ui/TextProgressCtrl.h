// A progress bar that paints itself: bar, empty part and a centred text in colours of its own.
#pragma once
#include <windows.h>
#include "afx/controls.h"
#include "afx/gdi.h"
#include "afx/string.h"

// An off-screen drawing context: drawing goes to a bitmap that is copied to the target in one
// step when the object goes. A printing target is drawn into directly.
class CMemDC : public CDC
{
public:
    explicit CMemDC(CDC* pDC);
    ~CMemDC() override;
    CMemDC* operator->() { return this; }

private:
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
    CDC* m_pDC;
    CRect m_rect;
    BOOL m_bMemDC;
};

class CTextProgressCtrl : public CProgressCtrl
{
public:
    CTextProgressCtrl();
    ~CTextProgressCtrl() override;

    void SetShowText(BOOL bShow);
    void SetRange(int nLower, int nUpper);
    // The previous position; -1 (nothing changed) before the window exists.
    int SetPos(int nPos);
    int StepIt() { return SetPos(m_nPos + m_nStepSize); }
    int OffsetPos(int nPos) { return SetPos(m_nPos + nPos); }
    int SetStep(int nStep);
    int GetPos() const { return m_nPos; }

    void SetBarColor(COLORREF cr) { m_crBar = cr; }
    COLORREF GetBarColor() const { return m_crBar; }
    void SetBackColor(COLORREF cr) { m_crBack = cr; }
    COLORREF GetBackColor() const { return m_crBack; }
    void SetTextColor(COLORREF cr) { m_crText = cr; }
    COLORREF GetTextColor() const { return m_crText; }
    void SetBarTextColor(COLORREF cr) { m_crBarText = cr; }
    COLORREF GetBarTextColor() const { return m_crBarText; }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    int m_nPos = 0;
    int m_nStepSize = 1;
    int m_nMax = 100;
    int m_nMin = 0;
    CString m_strText;
    BOOL m_bShowText = TRUE;
    int m_nBarWidth = -1;
    COLORREF m_crBar;
    COLORREF m_crBack;
    COLORREF m_crText;
    COLORREF m_crBarText;
};
