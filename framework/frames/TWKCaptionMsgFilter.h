// Push buttons drawn into a frame's caption that behave like the system's own:
// the caption geometry, a list that lays its buttons out from the right, one
// button, and the hidden window that times a press-and-hold.
#pragma once
#include "framework/frames/TWKMsgFilter.h"

class TWKCaptionMsgFilter : public TWKNcMsgFilter
{
    DECLARE_DYNCREATE(TWKCaptionMsgFilter)
public:
    TWKCaptionMsgFilter() = default;
    TWKMsgFilter* Clone() const override { return new TWKCaptionMsgFilter(*this); }

    // The caption bar in window coordinates.
    virtual void GetCaptionRect(RECT* pRect);
    virtual void CalcButtonSize(SIZE* pSize, int nWidthMetric, int nHeightMetric);
    virtual void GetButtonSize(SIZE* pSize);
    // The top-left corner of the rightmost button.
    virtual void GetFirstButtonPos(POINT* pPos, const RECT& rcCaption, const SIZE& size);
};

class TWKCaptionControlListMsgFilter : public TWKCaptionMsgFilter
{
    DECLARE_DYNCREATE(TWKCaptionControlListMsgFilter)
public:
    TWKCaptionControlListMsgFilter();
    TWKCaptionControlListMsgFilter(const TWKCaptionControlListMsgFilter& src);
    TWKMsgFilter* Clone() const override { return new TWKCaptionControlListMsgFilter(*this); }

    DWORD OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    virtual void LayoutControls();

    // The five standard buttons: close, maximize, restore, minimize, help.
    TWKMsgFilter::DescriptorTable m_tableControls;
};

// The MDI frame's list: its buttons sit in the menu-bar row of a maximized child.
class TWKCapConLstMDIMaxChildMsgFilter : public TWKCaptionControlListMsgFilter
{
    DECLARE_DYNCREATE(TWKCapConLstMDIMaxChildMsgFilter)
public:
    TWKCapConLstMDIMaxChildMsgFilter() = default;
    TWKMsgFilter* Clone() const override { return new TWKCapConLstMDIMaxChildMsgFilter(*this); }
    void GetButtonSize(SIZE* pSize) override;
    void GetFirstButtonPos(POINT* pPos, const RECT& rcCaption, const SIZE& size) override;
};

class TWKCaptionControlMsgFilterTimer;

class TWKCaptionControlMsgFilter : public TWKCaptionMsgFilter
{
    DECLARE_DYNCREATE(TWKCaptionControlMsgFilter)
public:
    // Kinds of FireCommand.
    enum { fireClick = 0, fireRightPress = 1, fireHold = 2 };

    explicit TWKCaptionControlMsgFilter(CWnd* pOwner = NULL, int nID = -1, UINT nState = 0,
                                        UINT nType = DFC_CAPTION);
    TWKCaptionControlMsgFilter(const TWKCaptionControlMsgFilter& src);
    ~TWKCaptionControlMsgFilter() override;
    TWKMsgFilter* Clone() const override { return new TWKCaptionControlMsgFilter(*this); }

    DWORD OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    virtual void Draw();
    virtual BOOL HitTest(int x, int y);
    virtual void OnLButtonDown(int x, int y);
    virtual void OnLButtonUp(int x, int y);
    virtual void OnHold(int x, int y);
    virtual void OnTrackMove(int x, int y);
    virtual void FireCommand(int nKind, int x, int y);
    virtual BOOL GetCommandMessage(int nKind, int x, int y, HWND* pWnd, UINT* pMessage, WPARAM* pWParam,
                                   LPARAM* pLParam);
    virtual void BeginTracking(BOOL bPress, BOOL bRedraw);
    virtual void EndTracking(BOOL bRelease, BOOL bRedraw);
    virtual void StopHoldTimer();
    virtual void StartHoldTimer(int x, int y);
    virtual BOOL IsVisible(BOOL* pInactive);

    // The filter id when it names a standard caption kind (0..4095), else -1.
    int GetControlType() const { return m_nID >= 0 && m_nID < 4096 ? m_nID : -1; }

    CRect m_rect;                 // window coordinates; empty when not shown
    UINT m_nType;
    UINT m_nState;
    BOOL m_bTracking = FALSE;
    int m_nHoldDelay = -1;        // ms; -1 none, 0 at the press
    TWKCaptionControlMsgFilterTimer* m_pHoldTimer = nullptr;
};

class TWKCaptionControlMsgFilterTimer : public CWnd
{
public:
    TWKCaptionControlMsgFilterTimer(TWKCaptionControlMsgFilter* pOwner, int nDelay, int x, int y)
        : m_pOwner(pOwner), m_nDelay(nDelay), m_x(x), m_y(y) {}

    TWKCaptionControlMsgFilter* m_pOwner;
    int m_nDelay;
    BOOL m_bTimerStarted = FALSE;
    BOOL m_bFired = FALSE;
    int m_x, m_y;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

// The system-command extension's filters, which the frames declare beside these.
#include "framework/frames/SysCommandEx.h"
