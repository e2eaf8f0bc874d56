// A progress bar that paints itself: bar and background in two colours, an
// optional two-tone text (percentage or own text), four fill directions and
// an automatic step timer. With TWKPS_NATIVE the system control paints.
#pragma once
#include "afx/afx.h"

// Style bits (the control's own, kept apart from the window style).
#define TWKPS_VERTICAL      0x00001L   // fills along the height
#define TWKPS_FROMRIGHT     0x00010L   // horizontal bar fills from the right
#define TWKPS_FROMTOP       0x00020L   // vertical bar fills from the top (else from the bottom)
#define TWKPS_PERCENT       0x00100L   // shows "%d %"
#define TWKPS_TEXT          0x00200L   // shows the own text when TWKPS_PERCENT is not set
#define TWKPS_TEXTLEFT      0x01000L
#define TWKPS_TEXTRIGHT     0x02000L   // when TWKPS_TEXTLEFT is not set; neither: centred
#define TWKPS_RESERVED      0x04000L   // no effect; part of the default style
#define TWKPS_NATIVE        0x10000L   // the system control paints
#define TWKPS_DEFAULT       (TWKPS_RESERVED | TWKPS_PERCENT)

class TWKProgressCtrl : public CProgressCtrl
{
    DECLARE_DYNAMIC(TWKProgressCtrl)
public:
    TWKProgressCtrl();
    ~TWKProgressCtrl() override;

    UINT m_nPos = 0;
    int m_nStep = 10;
    UINT m_nLower = 0;
    UINT m_nUpper = 100;
    COLORREF m_clrBar = RGB(0, 0, 0x80);        // also the text colour over the background
    COLORREF m_clrBackground = RGB(255, 255, 255);   // also the text colour over the bar
    CFont* m_pTextFont = nullptr;               // not owned
    BOOL m_bVisible = TRUE;
    BOOL m_bCreated = FALSE;
    CString m_strText;
    DWORD m_dwProgressStyle = TWKPS_DEFAULT;
    CRect m_rectClient;
    UINT_PTR m_nTimerID = 256;

    DWORD GetProgressStyle() const { return m_dwProgressStyle; }
    void SetStyle(DWORD dwStyle);

    // New virtual operations, in slot order.
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                        DWORD dwProgressStyle = TWKPS_DEFAULT);
    virtual BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    virtual LRESULT SetRange(UINT nLower, UINT nUpper);
    // With bUpdateNow the paints waiting in the queue run before it returns.
    virtual UINT SetPos(UINT nPos, BOOL bUpdateNow = FALSE);
    virtual UINT OffsetPos(int nDelta, BOOL bUpdateNow = FALSE);
    virtual int SetStep(int nStep);
    virtual void SetColors(COLORREF clrBar, COLORREF clrBackground);
    virtual void SetTextFont(CFont* pFont, BOOL bRedraw = TRUE);
    virtual void SetText(const CString& strText);
    virtual CString GetText() const;
    virtual UINT StepIt(BOOL bUpdateNow = FALSE);
    virtual void Reset();
    // Steps every nMilliseconds until upper; 0 stops. FALSE at upper or without a timer.
    virtual BOOL SetAutoStep(UINT nMilliseconds);
    virtual BOOL UpdateRect();
    virtual void DrawBar(CDC* pDC, const RECT& rect);
    virtual void DrawBackground(CDC* pDC, const RECT& rect);
    virtual void DrawProgress(CDC* pDC, float fPercent, const RECT& rectBackground, const RECT& rectBar);
    virtual void OnDrawText(CString& strText) {}
    virtual void Paint(CDC* pDC);
    virtual BOOL CalcRects(float fPercent, RECT& rectBar, RECT& rectBackground);
    virtual BOOL DrawOffscreen(float fPercent, const RECT& rectBar, const RECT& rectBackground, CDC* pDC);
    virtual double GetPercent();

protected:
    BOOL IsNative() const { return (m_dwProgressStyle & TWKPS_NATIVE) != 0; }

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()
};
