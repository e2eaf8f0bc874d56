// A document frame that lives inside a docking bar instead of an MDI child
// frame, and the bar that hosts it. The frame takes its menu and accelerators
// from its document template, keeps an MDI child's caption filters and hands
// caption clicks to its bar, so that the user drags and toggles it like a bar.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKFrameWnd.h"
#include "framework/frames/TWKMDIChildWnd.h"   // IsAnotherMDIChildVisible, IsWindowShown, ActivateNextDockableFrame
#include "framework/frames/TWKMsgFilter.h"

class TWKMDIFrameWnd;

// The control bar around a dockable frame.
class TWKFrameBar : public TWKControlBar
{
    DECLARE_DYNCREATE(TWKFrameBar)
public:
    TWKFrameBar() = default;

    // The frame's keys are its own: no bar pre-translation.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};

class TWKDockableFrame : public TWKFrameWnd
{
    DECLARE_DYNCREATE(TWKDockableFrame)
public:
    TWKDockableFrame();
    ~TWKDockableFrame() override;

    // Filter ids of the frame's descriptor table (an MDI child's).
    enum {
        filterSysCommand = 257, filterCaptionList = 256, filterButton = 258, filterCaptionDblClk = 259,
        filterContextMenu = 262
    };

    HMENU m_hMenuShared = nullptr;   // the template's menu; not owned
    TWKMsgFilter* m_pFilterRoot;
    TWKMsgFilter::DescriptorTable m_filterTable;

    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = NULL, LPCSTR lpszMenuName = NULL,
                DWORD dwExStyle = 0, CCreateContext* pContext = NULL) override;
    BOOL DestroyWindow() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_CAPTION | WS_SYSMENU | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;
    virtual void OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt);
    using TWKFrameWnd::OnUpdateFrameMenu;

    // New virtual operations, in slot order.
    virtual BOOL IsBarFloating();
    // Bit 0 switches the caption extension on; bits 1, 2 and 3 leave out the
    // caption button, the right double click and the caption context menu.
    virtual void EnableCaptionControls(DWORD dwFlags);

    // The bar around the frame, or NULL.
    CControlBar* GetFrameBar() const;
    // The MDI frame this frame belongs to: its parent frame when that is one,
    // else the application's main window when that is one.
    TWKMDIFrameWnd* GetMDIFrameOf() const;

protected:
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg LRESULT OnNcLButtonDownMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcLButtonDblClkMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFilteredMouse(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFilteredAfterDefault(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNcPaintMsg(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
