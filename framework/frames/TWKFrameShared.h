// What the framework's MDI and SDI main frames do alike: their edge dock bars,
// floating, the layout's redraw and persistence, the custom caption, the menu
// and frame plug-ins, the toolbar-customisation rules and the workspace
// commands. The templates work on either frame class: both name these members
// alike (m_bCustomCaption, m_pMenuPlugIn, m_pControlBarManager, ...).
#pragma once
#include "afx/afx.h"
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/frames/TWKCaptionPainter.h"

class TWKBmpMenuPlugIn;
class TWKControlBarManager;
class TWKMiniDockFrameWnd;
class TWKToolBarManager;
class TWKWndPlugIn;

// The edge dock bars in the order that decides which takes a bar.
struct TWKEdgeDockBar {
    UINT nID;
    DWORD dwStyle;
};
extern const TWKEdgeDockBar twkEdgeDockBars[4];

// Creates the edge dock bars of the sides asked for that the frame lacks,
// each made by pfnCreate (a frame's CreateDockBar); a failure raises the
// resource exception.
void TWKCreateEdgeDockBars(CFrameWnd* pFrame, DWORD dwDockStyle, DWORD dwExtra,
                          CDockBar* (*pfnCreate)(CFrameWnd* pFrame));
// The dock bar with that child id; NULL for 0 or any other bar.
CDockBar* TWKGetDockBar(CFrameWnd* pFrame, UINT nDockBarID);
// The edge dock bar whose alignment is exactly dwAlign's.
CDockBar* TWKFindDockBarForAlign(CFrameWnd* pFrame, DWORD dwAlign);
// The edge dock bar that still holds the bar's place.
CDockBar* TWKFindPlaceHolder(CFrameWnd* pFrame, CControlBar* pBar);
// After the base layout: a full redraw the first time, later only the bars
// the dock bars marked; then the area the bars leave free is recorded.
void TWKRedrawAfterLayout(CFrameWnd* pFrame, CRect& rectLastInside);
// Print preview ended: the whole frame is drawn again.
void TWKRedrawAfterPreview(CFrameWnd* pFrame, BOOL bPreview);

// ---- showing and floating bars

// The platform's show or hide; the bar then anchors its dock bar's row.
void TWKShowControlBar(CFrameWnd* pFrame, CControlBar* pBar, BOOL bShow, BOOL bDelay);

// A frame's dockable frames held by bars: the MDI frame has them, the SDI frame none.
class TWKEmbeddedFrames
{
public:
    virtual CFrameWnd* GetEmbeddedFrame(CControlBar* pBar) = 0;
    virtual void SetEmbeddedFrameStyle(CFrameWnd* pFrame, BOOL bFloating) = 0;
    virtual void FitEmbeddedFrame(CFrameWnd* pFrame) = 0;

protected:
    ~TWKEmbeddedFrames() = default;
};

// Floats a bar at a screen point: a bar alone in a floating frame of that
// alignment only moves it (no notification); any other goes into a new one.
void TWKFloatControlBar(CFrameWnd* pFrame, CControlBar* pBar, CPoint point, DWORD dwStyle,
                        TWKEmbeddedFrames* pEmbedded);
// Floats a bar in a new floating frame between its before- and after-float
// hooks; with bReFloat the bar returns to its placeholder there and the frame
// is always shown.
void TWKFloatInNewFrame(CFrameWnd* pFrame, CControlBar* pBar, CPoint point, DWORD dwStyle, BOOL bReFloat,
                        TWKEmbeddedFrames* pEmbedded);
// The floating frame of the bar when it sits alone in one (not in an MDI host)
// whose alignment shares a bit with dwStyle.
TWKMiniDockFrameWnd* TWKLoneFloatingFrame(CControlBar* pBar, DWORD dwStyle);
// A dynamic bar floats in a frame that sizes it; its frame lies across.
DWORD TWKFloatingStyle(CControlBar* pBar, DWORD dwStyle);

// ---- saved layouts

// Loads a layout for the frame; the bars it creates go to pCreatedBars.
void TWKLoadBarState(CFrameWnd* pFrame, TWKControlBarManager* pManager, CPtrList* pCreatedBars,
                     LPCSTR lpszProfileName);
void TWKSaveBarState(CFrameWnd* pFrame, TWKControlBarManager* pManager, LPCSTR lpszProfileName);
// The framework's dock state applied to or read from the frame; other states are left alone.
void TWKSetDockState(CFrameWnd* pFrame, CDockState& state);
void TWKGetDockState(CFrameWnd* pFrame, CDockState& state);
// Deletes every object in the list and empties it.
void TWKDeleteObjects(CPtrList& list);

// ---- the toolbar manager's rules

// The toolbar manager while the toolbars are being customised, else NULL.
TWKToolBarManager* TWKConfigModeManager(TWKControlBarManager* pManager);
// WM_ENTERIDLE: the customisation dialog's loop runs no idle layout, so a
// pending one runs at once.
void TWKIdleLayoutWhileCustomising(CFrameWnd* pFrame, TWKControlBarManager* pManager, UINT nWhy);
// WM_SYSCOLORCHANGE: framework colours, the default handling, toolbar images.
void TWKFrameSysColorChange(CFrameWnd* pFrame);

// ---- plug-ins

// The platform reports version 4 or later: the custom caption may be used.
BOOL TWKIsWindows4();
TWKBmpMenuPlugIn* TWKAsBmpMenuPlugIn(TWKWndPlugIn* pPlugIn);
// Installs the menu plug-in a frame's creation makes: with a menu bar its
// feature, else with bitmap menus on the bitmap-menu plug-in; a bitmap-menu
// plug-in gets the toolbar manager's images.
void TWKInstallMenuPlugIn(CFrameWnd* pFrame, TWKMenuBar* pMenuBar, BOOL bBmpMenus, TWKControlBarManager* pManager,
                          TWKWndPlugIn*& rpMenuPlugIn);
// The menu plug-in sees the frame's messages first: TRUE when it took this
// one (its result in *pResult). The plug-in goes before the window does.
BOOL TWKMenuPlugInTakes(TWKWndPlugIn*& rpMenuPlugIn, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
// After the frame's own processing: a popup the frame has updated is drawn with images.
void TWKMenuPlugInAfter(TWKWndPlugIn* pMenuPlugIn, BOOL bBmpMenus, UINT message, WPARAM wParam, LPARAM lParam);
// A frame's WindowProc with its menu plug-in; base() runs the frame class's own.
template <class Base>
LRESULT TWKMenuPlugInWindowProc(TWKWndPlugIn*& rpMenuPlugIn, BOOL bBmpMenus, UINT message, WPARAM wParam,
                                LPARAM lParam, Base base)
{
    LRESULT lResult = 0;
    if (TWKMenuPlugInTakes(rpMenuPlugIn, message, wParam, lParam, &lResult))
        return lResult;
    lResult = base();
    TWKMenuPlugInAfter(rpMenuPlugIn, bBmpMenus, message, wParam, lParam);
    return lResult;
}
// TRUE when the menu plug-in took the message or it is a close while the
// toolbars are being customised.
BOOL TWKMenuPlugInPreTranslate(TWKWndPlugIn* pMenuPlugIn, TWKControlBarManager* pManager, MSG* pMsg);
// The menu bar shows the frame's menu: the window keeps none of its own, and
// the menu resource is loaded for the bar in place of rhMenuBarMenu.
void TWKLoadMenuBarMenu(CFrameWnd* pFrame, UINT nIDResource, HMENU& rhMenuBarMenu);
// Makes the frame plug-in of that class: NULL for no class or a plug-in that
// does not attach (then deleted).
TWKWndPlugIn* TWKCreateFramePlugIn(CWnd* pFrame, TWKWndPlugIn*& rpPlugIn, DWORD dwValue1, DWORD dwValue2,
                                   CRuntimeClass* pClass, DWORD dwValue3);
// Offers a command to the frame plug-in: TRUE when it took it (its result in *pbResult).
BOOL TWKFramePlugInCmdMsg(TWKWndPlugIn* pPlugIn, UINT nID, int nCode, void* pExtra,
                          AFX_CMDHANDLERINFO* pHandlerInfo, BOOL* pbResult);

// ---- the custom caption

template <class F>
void TWKDrawCaption(F* pFrame)
{
    if (!pFrame->m_bCustomCaption || !pFrame->m_hWnd)
        return;
    CFont fontItalic, fontNormal;
    pFrame->CreateItalicCaptionFont(&fontItalic);
    pFrame->CreateCaptionFont(&fontNormal);
    // Without memory for the image the system paints the caption again.
    if (!TWKCaption::Paint(pFrame, pFrame->m_bWin4, pFrame->m_bCaptionActive, pFrame->m_nCaptionTextAlign,
                           fontItalic.GetSafeHandle() ? &fontItalic : nullptr,
                           fontNormal.GetSafeHandle() ? &fontNormal : nullptr))
        pFrame->EnableCustomCaption(FALSE, TRUE);
}

// Answers the previous setting; refused (FALSE, nothing changed) before Windows 4.
template <class F>
BOOL TWKEnableCustomCaption(F* pFrame, BOOL bOn, BOOL bRedraw)
{
    if (!pFrame->m_bWin4)
        return FALSE;
    BOOL bPrevious = pFrame->m_bCustomCaption;
    pFrame->m_bCustomCaption = bOn;
    if (pFrame->m_hWnd && ::IsWindow(pFrame->m_hWnd)) {
        if (bRedraw)
            pFrame->SendMessage(WM_NCPAINT, 1, 0);
        pFrame->PostMessage(WM_NCACTIVATE, 0, 0);
    }
    return bPrevious;
}

template <class F>
void TWKSetCaptionTextAlign(F* pFrame, int nAlign, BOOL bRedraw)
{
    pFrame->m_nCaptionTextAlign = nAlign;
    if (bRedraw && pFrame->m_hWnd)
        pFrame->SendMessage(WM_NCPAINT, 1, 0);
}

// WM_SETTEXT with the custom caption: the system sets the text unseen.
template <class F>
void TWKCaptionSetText(F* pFrame, WPARAM wParam, LPARAM lParam)
{
    TWKCaption::DefaultHidden(pFrame, WM_SETTEXT, wParam, lParam);
    pFrame->DrawCaption();
}

// WM_NCPAINT with the custom caption: the system paints around the caption.
template <class F>
void TWKCaptionNcPaint(F* pFrame, WPARAM wParam)
{
    if (TWKCaption::NcPaintAroundCaption(pFrame, pFrame->m_bWin4, wParam))
        pFrame->DrawCaption();
}

// WM_NCACTIVATE with the custom caption: a frame kept active or disabled
// decides the caption's state; the active frame inside follows it.
template <class F>
BOOL TWKCaptionNcActivate(F* pFrame, BOOL bActive)
{
    BOOL bDraw = (pFrame->m_nFrameFlags & WF_STAYACTIVE) ? TRUE : bActive;
    if (!pFrame->IsWindowEnabled())
        bDraw = FALSE;
    pFrame->m_bCaptionActive = bDraw;
    CFrameWnd* pActive = pFrame->GetActiveFrame();
    if (pActive && pActive != pFrame && ::IsWindow(pActive->m_hWnd)) {
        pActive->SendMessage(WM_NCACTIVATE, bDraw);
        pActive->SendMessage(WM_NCPAINT, 1);
    }
    LRESULT lResult = TWKCaption::DefaultHidden(pFrame, WM_NCACTIVATE, bDraw, 0);
    pFrame->SendMessage(WM_NCPAINT, 1);
    return (BOOL)lResult;
}

// ---- menus

// With a menu bar the menu of its current id (a bar host's id shows the
// frame's own menu); without one the window's menu.
template <class F>
HMENU TWKGetCurrentMenu(F* pFrame)
{
    if (!pFrame->HasMenuBar())
        return ::GetMenu(pFrame->m_hWnd);
    UINT nID = pFrame->m_pMenuBar->GetCurMenuID();
    HMENU hMenu = pFrame->GetMenuByID(nID);
    if (!hMenu && nID == TWK_IDR_BARHOST_MENU)
        hMenu = pFrame->m_hMenuBarMenu;
    return hMenu;
}

// The workspace commands: their handlers do nothing and leave their items as they are.
#define TWK_WORKSPACE_COMMANDS()                                        \
    ON_COMMAND(43007, OnWorkspaceCommand)                               \
    ON_COMMAND(43008, OnWorkspaceCommand)                               \
    ON_COMMAND(43009, OnWorkspaceCommand)                               \
    ON_COMMAND(43012, OnWorkspaceCommand)                               \
    ON_COMMAND(43013, OnWorkspaceCommand)                               \
    ON_COMMAND(43014, OnWorkspaceCommand)                               \
    ON_COMMAND_EX_RANGE(43031, 43039, OnWorkspaceOpen)                  \
    ON_UPDATE_COMMAND_UI(43007, OnUpdateWorkspaceCommand)               \
    ON_UPDATE_COMMAND_UI(43008, OnUpdateWorkspaceCommand)               \
    ON_UPDATE_COMMAND_UI(43009, OnUpdateWorkspaceCommand)               \
    ON_UPDATE_COMMAND_UI(43012, OnUpdateWorkspaceCommand)               \
    ON_UPDATE_COMMAND_UI(43013, OnUpdateWorkspaceCommand)               \
    ON_UPDATE_COMMAND_UI(43014, OnUpdateWorkspaceCommand)               \
    ON_UPDATE_COMMAND_UI_RANGE(43031, 43039, OnUpdateWorkspaceCommand)
