// What the framework's MDI and SDI main frames do alike.
#include "framework/frames/TWKFrameShared.h"
#include "afx/afxres.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKCreateObject.h"
#include "framework/frames/TWKDockBar.h"
#include "framework/frames/TWKDockState.h"
#include "framework/frames/TWKMiniDockFrameWnd.h"
#include "framework/frames/TWKWndPlugIn.h"
#include "framework/controls/menus/TWKBmpMenuPlugIn.h"
#include "framework/controls/menus/TWKMenuBarFeature.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"

namespace {
TWKDockBar* AsTWKDockBar(CDockBar* pDockBar)
{
    return (pDockBar && pDockBar->IsKindOf(RUNTIME_CLASS(TWKDockBar))) ? static_cast<TWKDockBar*>(pDockBar) : nullptr;
}

CFrameWnd* EmbeddedFrameOf(TWKEmbeddedFrames* pEmbedded, CControlBar* pBar)
{
    return pEmbedded ? pEmbedded->GetEmbeddedFrame(pBar) : nullptr;
}

void FitEmbedded(TWKEmbeddedFrames* pEmbedded, CFrameWnd* pFrame)
{
    if (pEmbedded && pFrame)
        pEmbedded->FitEmbeddedFrame(pFrame);
}
} // namespace

const TWKEdgeDockBar twkEdgeDockBars[4] = {
    { AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM },
    { AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP },
    { AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT },
    { AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT },
};

void TWKCreateEdgeDockBars(CFrameWnd* pFrame, DWORD dwDockStyle, DWORD dwExtra,
                          CDockBar* (*pfnCreate)(CFrameWnd* pFrame))
{
    for (const auto& d : twkEdgeDockBars) {
        if (!(d.dwStyle & dwDockStyle & CBRS_ALIGN_ANY) || pFrame->GetControlBar(d.nID))
            continue;
        CDockBar* pDockBar = pfnCreate(pFrame);
        if (!pDockBar)
            AfxThrowResourceException();
        pDockBar->m_bAutoDelete = TRUE;
        DWORD dwStyle = d.dwStyle | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        TWKDockBar* pTWK = pDockBar->IsKindOf(RUNTIME_CLASS(TWKDockBar)) ? static_cast<TWKDockBar*>(pDockBar) : nullptr;
        BOOL bCreated = pTWK ? pTWK->Create(pFrame, dwStyle, dwExtra, d.nID) : pDockBar->Create(pFrame, dwStyle, d.nID);
        // An auto-deleting bar that fails to become a window has freed itself.
        if (!bCreated)
            AfxThrowResourceException();
    }
}

CDockBar* TWKGetDockBar(CFrameWnd* pFrame, UINT nDockBarID)
{
    CControlBar* p = nDockBarID ? pFrame->GetControlBar(nDockBarID) : nullptr;
    return (p && p->IsDockBar()) ? static_cast<CDockBar*>(p) : nullptr;
}

CDockBar* TWKFindDockBarForAlign(CFrameWnd* pFrame, DWORD dwAlign)
{
    for (const auto& d : twkEdgeDockBars)
        if ((d.dwStyle & CBRS_ALIGN_ANY) == (dwAlign & CBRS_ALIGN_ANY))
            if (CDockBar* p = TWKGetDockBar(pFrame, d.nID))
                return p;
    return nullptr;
}

CDockBar* TWKFindPlaceHolder(CFrameWnd* pFrame, CControlBar* pBar)
{
    if (!pBar->m_hWnd)
        return nullptr;
    auto* pHolder = reinterpret_cast<CControlBar*>((UINT_PTR)LOWORD(::GetDlgCtrlID(pBar->m_hWnd)));
    if (!pHolder)
        return nullptr;
    for (const auto& d : twkEdgeDockBars) {
        CDockBar* p = TWKGetDockBar(pFrame, d.nID);
        if (p && p->FindBar(pHolder) > 0)
            return p;
    }
    return nullptr;
}

void TWKRedrawAfterLayout(CFrameWnd* pFrame, CRect& rectLastInside)
{
    HWND hWnd = pFrame->m_hWnd;
    if (rectLastInside.Width() > 0 && rectLastInside.Height() > 0) {
        // Later layouts redraw only what the dock bars marked.
        for (HWND hChild = ::GetTopWindow(hWnd); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
            CWnd* p = CWnd::FromHandlePermanent(hChild);
            if (p && p->IsKindOf(RUNTIME_CLASS(TWKDockBar)))
                static_cast<TWKDockBar*>(p)->RedrawPendingBars();
        }
    } else {
        ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
    CRect rect;
    pFrame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CFrameWnd::reposQuery, &rect, nullptr, TRUE);
    rectLastInside = rect;
}

void TWKRedrawAfterPreview(CFrameWnd* pFrame, BOOL bPreview)
{
    if (!bPreview && pFrame->m_hWnd)
        ::RedrawWindow(pFrame->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// ---- showing and floating bars

void TWKShowControlBar(CFrameWnd* pFrame, CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    pFrame->CFrameWnd::ShowControlBar(pBar, bShow, bDelay);
    if (pBar)
        if (TWKDockBar* pDockBar = AsTWKDockBar(pBar->m_pDockBar))
            pDockBar->SetAnchorBar(pBar);
}

TWKMiniDockFrameWnd* TWKLoneFloatingFrame(CControlBar* pBar, DWORD dwStyle)
{
    CDockBar* pDockBar = pBar->m_pDockBar;
    if (!pBar->m_pDockSite || !pDockBar || !pDockBar->m_bFloating || pDockBar->GetDockedCount() != 1
        || !(pDockBar->m_dwStyle & dwStyle & CBRS_ALIGN_ANY))
        return nullptr;
    CWnd* pFrame = pDockBar->GetParent();
    return (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(TWKMiniDockFrameWnd))) ? static_cast<TWKMiniDockFrameWnd*>(pFrame)
                                                                            : nullptr;
}

DWORD TWKFloatingStyle(CControlBar* pBar, DWORD dwStyle)
{
    if (pBar->GetBarStyle() & CBRS_SIZE_DYNAMIC) {
        dwStyle |= CBRS_SIZE_DYNAMIC;
        if (dwStyle & CBRS_ORIENT_VERT)
            dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
    }
    return dwStyle;
}

void TWKFloatControlBar(CFrameWnd* pFrame, CControlBar* pBar, CPoint point, DWORD dwStyle,
                        TWKEmbeddedFrames* pEmbedded)
{
    if (!pBar)
        return;
    // Already alone in a floating frame of that kind: a pure move, no notification.
    if (TWKMiniDockFrameWnd* pFloat = TWKLoneFloatingFrame(pBar, dwStyle)) {
        pFloat->RecalcLayoutAt(point.x, point.y, TRUE);
        FitEmbedded(pEmbedded, EmbeddedFrameOf(pEmbedded, pBar));
        pFloat->UpdateWindow();
        return;
    }
    TWKFloatInNewFrame(pFrame, pBar, point, dwStyle, FALSE, pEmbedded);
}

void TWKFloatInNewFrame(CFrameWnd* pFrame, CControlBar* pBar, CPoint point, DWORD dwStyle, BOOL bReFloat,
                        TWKEmbeddedFrames* pEmbedded)
{
    TWKControlBar* pTWK = TWKAsControlBar(pBar);
    if (pTWK)
        pTWK->NotifyBeforeFloat();
    dwStyle = TWKFloatingStyle(pBar, dwStyle);
    CMiniDockFrameWnd* pFloat = pFrame->CreateFloatingFrame(dwStyle);
    if (!pFloat->GetOwner())
        pFloat->SetOwner(pBar);
    CDockBar* pDockBar = pFloat->GetDockBar();
    if (TWKDockBar* pTWKDockBar = AsTWKDockBar(pDockBar)) {
        if (bReFloat)
            pTWKDockBar->ReDockControlBar(pBar, nullptr);
        else
            pTWKDockBar->DockControlBar(pBar, nullptr);
    } else if (bReFloat) {
        pDockBar->CDockBar::ReDockControlBar(pBar, nullptr);
    } else {
        pDockBar->CDockBar::DockControlBar(pBar, nullptr);
    }
    if (pTWK && !(pTWK->GetExBarStyle() & CBX_FIXEDSIZE))
        pFloat->ModifyStyle(MFS_4THICKFRAME, MFS_THICKFRAME | WS_THICKFRAME, SWP_NOSIZE | SWP_NOMOVE);
    CFrameWnd* pEmbeddedFrame = EmbeddedFrameOf(pEmbedded, pBar);
    if (pEmbeddedFrame)
        pEmbedded->SetEmbeddedFrameStyle(pEmbeddedFrame, TRUE);
    if (pFloat->IsKindOf(RUNTIME_CLASS(TWKMiniDockFrameWnd)))
        static_cast<TWKMiniDockFrameWnd*>(pFloat)->RecalcLayoutAt(point.x, point.y, TRUE);
    else
        pFloat->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (bReFloat || (pBar->GetStyle() & WS_VISIBLE)) {
        pFloat->ShowWindow(SW_SHOWNA);
        pFloat->UpdateWindow();
    }
    FitEmbedded(pEmbedded, pEmbeddedFrame);
    if (pTWK)
        pTWK->OnAfterFloat();
}

// ---- saved layouts

void TWKLoadBarState(CFrameWnd* pFrame, TWKControlBarManager* pManager, CPtrList* pCreatedBars,
                     LPCSTR lpszProfileName)
{
    TWKDockState state(pManager);
    state.m_pCreatedBars = pCreatedBars;
    // Bars re-created while loading look for their main window.
    if (CWinThread* pThread = AfxGetThread())
        if (!pThread->m_pMainWnd)
            pThread->m_pMainWnd = pFrame;
    state.LoadState(lpszProfileName);
    state.SetDockState(pFrame);
}

void TWKSaveBarState(CFrameWnd* pFrame, TWKControlBarManager* pManager, LPCSTR lpszProfileName)
{
    TWKDockState state(pManager);
    if (state.GetDockState(pFrame)) {
        state.CleanBarIDs();
        state.SaveState(lpszProfileName);
    }
}

void TWKSetDockState(CFrameWnd* pFrame, CDockState& state)
{
    if (auto* pState = dynamic_cast<TWKDockState*>(&state))
        pState->SetDockState(pFrame);
}

void TWKGetDockState(CFrameWnd* pFrame, CDockState& state)
{
    if (auto* pState = dynamic_cast<TWKDockState*>(&state))
        pState->GetDockState(pFrame);
}

void TWKDeleteObjects(CPtrList& list)
{
    for (POSITION pos = list.GetHeadPosition(); pos;)
        delete static_cast<CObject*>(list.GetNext(pos));
    list.RemoveAll();
}

// ---- the toolbar manager's rules

TWKToolBarManager* TWKConfigModeManager(TWKControlBarManager* pManager)
{
    auto* pToolBars = dynamic_cast<TWKToolBarManager*>(pManager);
    return (pToolBars && pToolBars->InConfigMode()) ? pToolBars : nullptr;
}

void TWKIdleLayoutWhileCustomising(CFrameWnd* pFrame, TWKControlBarManager* pManager, UINT nWhy)
{
    if (nWhy == MSGF_DIALOGBOX && (pFrame->m_nIdleFlags & CFrameWnd::idleLayout) && TWKConfigModeManager(pManager)) {
        pFrame->RecalcLayout((pFrame->m_nIdleFlags & CFrameWnd::idleNotify) != 0);
        pFrame->UpdateWindow();
    }
}

void TWKFrameSysColorChange(CFrameWnd* pFrame)
{
    twkAuxData.UpdateSysColors();
    pFrame->Default();
    // Toolbar images are mapped to the button colours: load them in the new ones.
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        if (pBar->IsKindOf(RUNTIME_CLASS(TWKCustomToolBar)))
            static_cast<TWKCustomToolBar*>(pBar)->GetBmpMgr()->ReloadBitmaps(TRUE);
    }
}

// ---- plug-ins

BOOL TWKIsWindows4()
{
    return LOBYTE(LOWORD(::GetVersion())) >= 4;
}

TWKBmpMenuPlugIn* TWKAsBmpMenuPlugIn(TWKWndPlugIn* pPlugIn)
{
    return (pPlugIn && pPlugIn->IsKindOf(RUNTIME_CLASS(TWKBmpMenuPlugIn))) ? static_cast<TWKBmpMenuPlugIn*>(pPlugIn)
                                                                           : nullptr;
}

void TWKInstallMenuPlugIn(CFrameWnd* pFrame, TWKMenuBar* pMenuBar, BOOL bBmpMenus, TWKControlBarManager* pManager,
                          TWKWndPlugIn*& rpMenuPlugIn)
{
    if (rpMenuPlugIn)
        return;
    if (pMenuBar) {
        rpMenuPlugIn = TWKInstallMenuBarFeature(pFrame, pMenuBar);
        if (!rpMenuPlugIn)
            return;
    } else if (bBmpMenus) {
        auto* pPlugIn = new TWKBmpMenuPlugIn(TRUE);
        if (!pPlugIn->PlugInTo(pFrame)) {
            delete pPlugIn;
            return;
        }
        rpMenuPlugIn = pPlugIn;
    }
    TWKBmpMenuPlugIn* pBmpPlugIn = TWKAsBmpMenuPlugIn(rpMenuPlugIn);
    if (pBmpPlugIn && bBmpMenus && pManager && pManager->IsKindOf(RUNTIME_CLASS(TWKToolBarManager)))
        pBmpPlugIn->SetBmpMgr(static_cast<TWKToolBarManager*>(pManager)->GetBmpMgr());
}

void TWKLoadMenuBarMenu(CFrameWnd* pFrame, UINT nIDResource, HMENU& rhMenuBarMenu)
{
    if (HMENU hMenu = ::GetMenu(pFrame->m_hWnd)) {
        ::SetMenu(pFrame->m_hWnd, nullptr);
        ::DestroyMenu(hMenu);
    }
    pFrame->m_hMenuDefault = nullptr;
    if (rhMenuBarMenu)
        ::DestroyMenu(rhMenuBarMenu);
    rhMenuBarMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

BOOL TWKMenuPlugInTakes(TWKWndPlugIn*& rpMenuPlugIn, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DESTROY) {
        // The menu plug-in must not see the frame's last messages.
        delete rpMenuPlugIn;
        rpMenuPlugIn = nullptr;
    }
    if (!rpMenuPlugIn)
        return FALSE;
    *pResult = 0;
    rpMenuPlugIn->OnWndMsg(message, wParam, lParam, pResult);
    if (!rpMenuPlugIn->m_bHandled)
        return FALSE;
    rpMenuPlugIn->m_bHandled = FALSE;
    return TRUE;
}

void TWKMenuPlugInAfter(TWKWndPlugIn* pMenuPlugIn, BOOL bBmpMenus, UINT message, WPARAM wParam, LPARAM lParam)
{
    // The frame has updated the popup's commands: draw them with images.
    if (message == WM_INITMENUPOPUP && bBmpMenus)
        if (TWKBmpMenuPlugIn* pPlugIn = TWKAsBmpMenuPlugIn(pMenuPlugIn))
            pPlugIn->HandleInitMenuPopup((HMENU)wParam, lParam);
}

BOOL TWKMenuPlugInPreTranslate(TWKWndPlugIn* pMenuPlugIn, TWKControlBarManager* pManager, MSG* pMsg)
{
    if (pMenuPlugIn && pMenuPlugIn->PreTranslateMessage(pMsg))
        return TRUE;
    // The frame stays while its toolbars are being customised.
    return pMsg->message == WM_SYSCOMMAND && (pMsg->wParam & 0xFFF0) == SC_CLOSE && TWKConfigModeManager(pManager);
}

TWKWndPlugIn* TWKCreateFramePlugIn(CWnd* pFrame, TWKWndPlugIn*& rpPlugIn, DWORD dwValue1, DWORD dwValue2,
                                   CRuntimeClass* pClass, DWORD dwValue3)
{
    TWKWndPlugIn* pPlugIn = TWKCreateObject<TWKWndPlugIn>(pClass, RUNTIME_CLASS(TWKWndPlugIn));
    if (!pPlugIn)
        return nullptr;
    delete rpPlugIn;
    rpPlugIn = pPlugIn;
    if (pPlugIn->IsKindOf(RUNTIME_CLASS(TWKFramePlugIn)))
        static_cast<TWKFramePlugIn*>(pPlugIn)->OnCreatePlugIn(dwValue1, dwValue2, 0x80000001, dwValue3);
    if (!rpPlugIn->PlugInTo(pFrame)) {
        delete rpPlugIn;
        rpPlugIn = nullptr;
    }
    return rpPlugIn;
}

BOOL TWKFramePlugInCmdMsg(TWKWndPlugIn* pPlugIn, UINT nID, int nCode, void* pExtra,
                          AFX_CMDHANDLERINFO* pHandlerInfo, BOOL* pbResult)
{
    if (!pPlugIn)
        return FALSE;
    BOOL bResult = pPlugIn->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    if (!pPlugIn->m_bHandled)
        return FALSE;
    pPlugIn->m_bHandled = FALSE;
    *pbResult = bResult;
    return TRUE;
}
