// Device contexts and GDI objects.
#pragma once
#include <windows.h>
#include "afx/object.h"
#include "afx/geometry.h"

class CWnd;

// A device context: output goes to m_hDC, measuring asks m_hAttribDC
// (they differ while printing or previewing).
class CDC : public CObject
{
    DECLARE_DYNCREATE(CDC)
public:
    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const;
    BOOL IsPrinting() const { return m_bPrinting; }

    // A temporary wrapper (freed at idle) unless the DC is attached to one.
    static CDC* FromHandle(HDC hDC);
    static void DeleteTempMap();
    BOOL Attach(HDC hDC);
    HDC Detach();
    virtual void SetAttribDC(HDC hDC) { m_hAttribDC = hDC; }
    virtual void SetOutputDC(HDC hDC) { m_hDC = hDC; }
    virtual void ReleaseAttribDC() { m_hAttribDC = nullptr; }
    virtual void ReleaseOutputDC() { m_hDC = nullptr; }
    BOOL DeleteDC();

    COLORREF SetTextColor(COLORREF cr) { return ::SetTextColor(m_hDC, cr); }
    COLORREF SetBkColor(COLORREF cr) { return ::SetBkColor(m_hDC, cr); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
};

class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps = {};
protected:
    HWND m_hWnd = nullptr;
};

class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;
protected:
    HWND m_hWnd = nullptr;
};

class CWindowDC : public CDC
{
public:
    explicit CWindowDC(CWnd* pWnd);   // NULL: the whole screen
    ~CWindowDC() override;
protected:
    HWND m_hWnd = nullptr;
};
