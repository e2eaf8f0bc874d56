// The framework's MDI child frames: the document child frame, which feeds
// caption-button filters, works with the main frame's active dockable frame
// and switches the menu bar's menu, and the host in which a bar floats inside
// the main window.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKDockBar.h"
#include "framework/frames/TWKMsgFilter.h"

class TWKMDIFrameWnd;

class TWKMDIChildWnd : public CMDIChildWnd
{
    DECLARE_DYNCREATE(TWKMDIChildWnd)
public:
    TWKMDIChildWnd();
    ~TWKMDIChildWnd() override;

    // Filter ids of the child's descriptor table.
    enum {
        filterSysCommand = 257, filterCaptionList = 256, filterChildButton = 258, filterCaptionDblClk = 259,
        filterContextMenu = 262
    };

    TWKMsgFilter* m_pFilterRoot;
    TWKMsgFilter::DescriptorTable m_filterTable;
    UINT m_nMenuID = 0;               // the menu the main frame's menu bar shows while this child is active
    BOOL m_bMenuBarMenu = FALSE;      // the menu id is used instead of a shared menu
    HMENU m_hMenuAlternative = nullptr;   // last given to OnUpdateFrameMenu

    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
    void OnUpdateFrameMenu(BOOL bActivate, CWnd* pActivateWnd, HMENU hMenuAlt) override;
    using CMDIChildWnd::OnUpdateFrameMenu;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // New virtual operations.
    virtual void ActivateFrameMenu(CWnd* pWnd);
    // Bit 0 switches the caption extension on; bits 1, 2 and 3 leave out the
    // caption button, the right double click and the caption context menu.
    virtual void EnableCaptionControls(DWORD dwFlags);

    // The framework main frame this child lives in (else the application's, if any).
    TWKMDIFrameWnd* GetTWKMDIFrame() const;

protected:
    // A click into the child makes it, its view and its menu the active ones.
    void ActivateFromClick(BOOL bFromParentNotify);

    afx_msg LRESULT OnFilteredMouse(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFilteredAfterDefault(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetCursorMsg(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnDestroy();
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnChildActivate(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()
};

// The MDI child in which one bar floats inside the main window: its size is
// the bar's floating size, its caption the bar's title, and closing it hides
// the bar.
class TWKControlBarMDIChildWnd : public TWKMDIChildWnd
{
    DECLARE_DYNCREATE(TWKControlBarMDIChildWnd)
public:
    TWKControlBarMDIChildWnd();

    // Floating and in an MDI child; a member of the host, never deleted by itself.
    TWKDockBar m_wndDockBar;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void OnUpdateFrameTitle(BOOL bAddToTitle) override;

protected:
    BOOL IsMultiBar() const { return (m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) != 0; }

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnClose();
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpWndPos);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    DECLARE_MESSAGE_MAP()
};

// Whether the main window's MDI client has a visible MDI child other than pExcluded.
BOOL IsAnotherMDIChildVisible(CWnd* pExcluded);
// Whether the window and every window above it is shown (a control bar counts
// by its own visibility, which allows for a pending delayed show or hide).
BOOL IsWindowShown(CWnd* pWnd);
// Activates another visible dockable frame of an open document; FALSE when
// there is none or the active frame already is one.
BOOL ActivateNextDockableFrame(CFrameWnd* pExcluded);

// A document frame's caption filters (an MDI child's or a dockable frame's):
// the five descriptor records, 258 of the given caption-button class, and
// their application for the caption style flags.
void TWKAddCaptionDescriptors(TWKMsgFilter::DescriptorTable& table, CRuntimeClass* pButtonClass);
void TWKApplyCaptionControls(TWKMsgFilter* pRoot, const TWKMsgFilter::DescriptorTable* pTable, DWORD dwFlags);
