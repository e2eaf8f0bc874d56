// A strip of owner-drawn column headings, and the painter that draws their faces and bevels.
#pragma once
#include <windows.h>
#include <functional>
#include "afx/wnd.h"
#include "afx/controls.h"
#include "afx/collections.h"
#include "afx/gdi.h"

class CImageList;

// Draws flat buttons with a one-pixel bevel computed from the face colour; colour arithmetic on
// the red, green and blue bytes, truncated and clamped to 0..255.
class C_ButtonPainter
{
public:
    C_ButtonPainter();

    void DrawButton(CDC* pDC, const CRect& rect, BOOL bPressed, int nBorderWidth, COLORREF crFace, LPCSTR lpszText);
    // Width above 0 raised, below 0 sunken.
    void DrawBevel(CDC* pDC, const CRect& rect, int nWidth, COLORREF crFace);
    void DrawTextInRect(CDC* pDC, LPCSTR lpszText, CRect rect);

    double SetContrast(double contrast);
    void SetTextColor(COLORREF cr) { m_crText = cr; }
    COLORREF GetTextColor() const { return m_crText; }
    void SetFormat(UINT nFormat) { m_nFormat = nFormat; }
    UINT GetFormat() const { return m_nFormat; }
    static CSize GetTextSize(CDC* pDC, LPCSTR lpszText);
    static CSize GetImageSize(CImageList* pImageList, int nIndex);

    static COLORREF Lighten(COLORREF cr, double f);
    static COLORREF Darken(COLORREF cr, double f);
    static COLORREF ScaleColor(COLORREF cr, double f);
    static COLORREF MixColors(COLORREF cr1, double f1, COLORREF cr2, double f2);
    static COLORREF AddColors(COLORREF cr1, COLORREF cr2);
    static COLORREF SubtractColors(COLORREF cr1, COLORREF cr2);
    static void SplitColor(COLORREF cr, double rgb[3]);
    static COLORREF ClampColor(const double rgb[3]);

private:
    DWORD m_dwReserved1 = 0;
    DWORD m_dwReserved2 = 2;
    UINT m_nFormat = DT_CENTER | DT_VCENTER;
    COLORREF m_crText = 0;
    DWORD m_dwReserved3 = 0;
    double m_dReserved = 120.0;
    double m_dContrast = 1.0;
};

class C_IDEHeadButton : public CButton
{
public:
    explicit C_IDEHeadButton(int nWidth) : m_nWidth(nWidth) {}

    int m_nWidth;
    BOOL m_bVisible = TRUE;
    COLORREF m_crFace = 0;   // 0: the drawing context's background colour

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    DECLARE_MESSAGE_MAP()
};

class C_IDEHeaderCtrl : public CWnd
{
public:
    enum { IDC_HEAD_BUTTON = 0xF000 };

    C_IDEHeaderCtrl();
    ~C_IDEHeaderCtrl() override;

    // Before the button at nIndex; at the end for a negative index or one past the last.
    // FALSE when the button's window cannot be made.
    BOOL InsertButton(int nIndex, LPCSTR lpszText, int nWidth);
    BOOL SetButtonWidth(int nIndex, int nWidth);
    BOOL ShowButton(int nIndex, BOOL bShow);
    BOOL SetButtonColor(int nIndex, COLORREF crFace);
    void RecalcLayout();
    int GetButtonCount() const { return (int)m_buttons.GetCount(); }
    C_IDEHeadButton* GetButton(int nIndex) const;

    // Owned by the owner; buttons inserted afterwards get it.
    CFont* m_pFont = nullptr;

protected:
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    // FALSE for an index outside the list; else the change, a new layout when asked, the strip invalidated.
    BOOL ChangeButton(int nIndex, bool bRelayout, const std::function<void(C_IDEHeadButton*)>& change);

    CObList m_buttons;
};
