// The system-command extension's filters.
#include "framework/frames/SysCommandEx.h"
#include "afx/afxres.h"
#include "framework/frameworkres.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKMDIChildWnd.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frames/TWKDockableFrame.h"
#include "framework/frames/TWKMultiDocTemplate.h"
#include <algorithm>
#include <memory>

namespace nsSysCommandEx {

IMPLEMENT_DYNCREATE(ScxMsgFilter, TWKMsgFilter)
IMPLEMENT_DYNCREATE(ScxButtonMsgFilter, TWKCaptionControlMsgFilter)
IMPLEMENT_DYNCREATE(ScxButtonMDIChildMsgFilter, ScxButtonMsgFilter)
IMPLEMENT_DYNCREATE(ScxButtonMDIMaxChildMsgFilter, ScxButtonMsgFilter)
IMPLEMENT_DYNCREATE(ScxCaptionNCRDBLClkFilter, TWKCaptionMsgFilter)
IMPLEMENT_DYNCREATE(ScxNCRDBLClkMDIMaxChildMsgFilter, TWKNcMsgFilter)
IMPLEMENT_DYNCREATE(ScxContextMenuFilter, TWKMsgFilter)

namespace {

// Filter ids of a child frame's own button and right double click.
const int kChildButtonID = 258;
const int kChildDblClkID = 259;

const DWORD kConsumed = 15;

HWND OwnerWindow(const TWKMsgFilter* pFilter)
{
    CWnd* pWnd = pFilter->GetWnd();
    HWND hwnd = pWnd ? pWnd->GetSafeHwnd() : NULL;
    return hwnd && ::IsWindow(hwnd) ? hwnd : NULL;
}

CFrameWnd* FrameOf(HWND hwnd)
{
    CWnd* pWnd = hwnd ? CWnd::FromHandlePermanent(hwnd) : nullptr;
    return pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(pWnd) : nullptr;
}

BOOL IsDockableFrame(CWnd* pWnd)
{
    return pWnd && pWnd->IsKindOf(RUNTIME_CLASS(TWKDockableFrame));
}

// The maximized active child of an MDI frame when it is a framework child
// whose filter with the id is there and switched on.
TWKMDIChildWnd* MaximizedChildWithFilter(CWnd* pOwner, int nFilterID)
{
    if (!pOwner || !pOwner->GetSafeHwnd() || !pOwner->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        return nullptr;
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pChild = static_cast<CMDIFrameWnd*>(pOwner)->MDIGetActive(&bMaximized);
    if (!pChild || !bMaximized || !pChild->IsKindOf(RUNTIME_CLASS(TWKMDIChildWnd)))
        return nullptr;
    auto* pTWKChild = static_cast<TWKMDIChildWnd*>(pChild);
    TWKMsgFilter* pFilter = pTWKChild->m_pFilterRoot->FindFilter(nFilterID, nullptr, -1);
    return pFilter && pFilter->m_bEnabled ? pTWKChild : nullptr;
}

// Sends a toggle or a menu request for the window.
void SendSimpleRequest(HWND hwnd, UINT nCode, int x, int y)
{
    SCXREQUEST request = {};
    request.hWnd = hwnd;
    request.x = x;
    request.y = y;
    request.nNewState = SCXS_TOGGLE;
    SendRequest(nCode, request);
}

CString LoadText(UINT nID)
{
    CString str;
    str.LoadString(AfxGetResourceHandle(), nID);
    return str;
}

// Moves and sizes a window by the record's position and size, where given.
void PlaceByRequest(CWnd* pWnd, const SCXREQUEST* pRequest, int x, int y)
{
    if (!(pRequest->dwFlags & (SCXF_POS | SCXF_SIZE)))
        return;
    UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!(pRequest->dwFlags & SCXF_POS))
        nFlags |= SWP_NOMOVE;
    if (!(pRequest->dwFlags & SCXF_SIZE))
        nFlags |= SWP_NOSIZE;
    pWnd->SetWindowPos(nullptr, x, y, pRequest->cx, pRequest->cy, nFlags);
}

// The main window's update lock, taken when it can be had and released by its taker.
class UpdateLock
{
public:
    explicit UpdateLock(BOOL bTake)
    {
        CWnd* pMain = AfxGetMainWnd();
        if (bTake && pMain && pMain->GetSafeHwnd())
            m_bLocked = ::LockWindowUpdate(pMain->m_hWnd);
    }
    ~UpdateLock()
    {
        if (m_bLocked)
            ::LockWindowUpdate(NULL);
    }
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;

private:
    BOOL m_bLocked = FALSE;
};

} // namespace

UINT GetSysCommandExMessage()
{
    static UINT s_nMessage = 0;
    if (!s_nMessage)
        s_nMessage = ::RegisterWindowMessageA("Tarnwick::WM_SYSCOMMANDEX");
    return s_nMessage;
}

LRESULT SendRequest(UINT nCode, SCXREQUEST& request)
{
    if (!request.hWnd || !::IsWindow(request.hWnd))
        return 0;
    return ::SendMessageA(request.hWnd, GetSysCommandExMessage(), nCode, (LPARAM)&request);
}

// ---------------------------------------------------------------------------
// ScxMsgFilter

DWORD ScxMsgFilter::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* pRequest = reinterpret_cast<SCXREQUEST*>(lParam);
    if (message != GetSysCommandExMessage() || !pRequest)
        return 0;
    const UINT nCode = (UINT)(wParam & 0xFFF0);
    if (!m_bIsCopy && IsCopiedCommand(nCode, pRequest)) {
        // A move destroys the frame and its filters, this one among them:
        // a copy does the work, and nothing here is touched afterwards.
        std::unique_ptr<ScxMsgFilter> pCopy(static_cast<ScxMsgFilter*>(Clone()));
        pCopy->m_bIsCopy = TRUE;
        DWORD dwResult = pCopy->OnMessage(message, wParam, lParam, pResult);
        return (dwResult & resultHandled) ? dwResult | resultStop : dwResult;
    }
    CWnd* pWnd = pRequest->hWnd ? CWnd::FromHandlePermanent(pRequest->hWnd) : nullptr;
    if (!pWnd)
        return 0;
    HWND hRepaint = NULL;
    if (pRequest->dwFlags & SCXF_POS) {
        hRepaint = pRequest->hWnd;
        if (pWnd->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)) && ::IsZoomed(hRepaint))
            if (CFrameWnd* pParent = static_cast<CMDIChildWnd*>(pWnd)->GetMDIFrame())
                hRepaint = pParent->m_hWnd;
    }
    LRESULT lDummy = 0;
    if (!pResult)
        pResult = &lDummy;
    DWORD dwResult = 0;
    switch (nCode) {
    case SCX_CHANGESTATE:
        dwResult = OnChangeState(pRequest, pResult);
        break;
    case SCX_BUILDMENU:
        dwResult = OnBuildMenu(pRequest, pResult);
        break;
    case SCX_DROPMENU:
        dwResult = OnDropMenu(pRequest, pResult);
        break;
    }
    // Clears the pressed look of a button whose hold opened the menu.
    if (hRepaint && ::IsWindow(hRepaint))
        ::SendMessageA(hRepaint, WM_NCPAINT, 0, 0);
    return dwResult;
}

BOOL ScxMsgFilter::IsCopiedCommand(UINT nCode, SCXREQUEST*)
{
    return nCode == SCX_CHANGESTATE || nCode == SCX_DROPMENU;
}

DWORD ScxMsgFilter::OnChangeState(SCXREQUEST* pRequest, LRESULT* pResult)
{
    auto* pTemplate = static_cast<TWKMultiDocTemplate*>(FindDocTemplate(pRequest, RUNTIME_CLASS(TWKMultiDocTemplate)));
    CFrameWnd* pFrame = FrameOf(pRequest->hWnd);
    if (!pTemplate || !pFrame)
        return 0;
    int nCurrent = GetFrameState(pFrame, pTemplate, pRequest);
    int nTarget = pRequest->nNewState == SCXS_TOGGLE ? GetToggleState(pFrame, nCurrent, pRequest) : pRequest->nNewState;
    CFrameWnd* pNew = nullptr;
    switch (GetStateClass(nTarget)) {
    case SCXS_MDICHILD:
        pNew = MakeMDIChild(pFrame, nCurrent, nTarget, pTemplate, pRequest);
        break;
    case SCXS_DOCKED:
        pNew = MakeDocked(pFrame, nCurrent, nTarget, pTemplate, pRequest);
        break;
    case SCXS_FLOATING:
        pNew = MakeFloating(pFrame, nCurrent, nTarget, pTemplate, pRequest);
        break;
    default:
        return 0;
    }
    *pResult = pNew != nullptr;
    return kConsumed;
}

DWORD ScxMsgFilter::OnBuildMenu(SCXREQUEST* pRequest, LRESULT* pResult)
{
    pRequest->hMenu = CreateStateMenu(pRequest);
    *pResult = pRequest->hMenu != NULL;
    return kConsumed;
}

DWORD ScxMsgFilter::OnDropMenu(SCXREQUEST* pRequest, LRESULT* pResult)
{
    if (HMENU hMenu = GetStateMenu(pRequest)) {
        RequestState(TrackStateMenu(hMenu, pRequest), pRequest);
        ::DestroyMenu(hMenu);
        if (pRequest->hMenu == hMenu)
            pRequest->hMenu = NULL;
    }
    *pResult = 0;
    return kConsumed;
}

HMENU ScxMsgFilter::GetStateMenu(SCXREQUEST* pRequest)
{
    if (pRequest->hMenu)
        return pRequest->hMenu;
    SCXREQUEST request = *pRequest;
    request.dwFlags &= ~SCXF_POS;
    if (SendRequest(SCX_BUILDMENU, request))
        return request.hMenu;
    // A menu built while the answer says none is nobody's.
    if (request.hMenu && ::IsMenu(request.hMenu))
        ::DestroyMenu(request.hMenu);
    return NULL;
}

int ScxMsgFilter::TrackStateMenu(HMENU hMenu, SCXREQUEST* pRequest)
{
    POINT pt = { pRequest->x, pRequest->y };
    if (pt.x < 0) {
        RECT rc = {};
        ::GetClientRect(pRequest->hWnd, &rc);
        pt.x = rc.right / 2;
        pt.y = rc.bottom / 2;
        ::ClientToScreen(pRequest->hWnd, &pt);
    }
    return (int)::TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, pt.x, pt.y, 0,
                                 pRequest->hWnd, nullptr);
}

BOOL ScxMsgFilter::RequestState(int nState, SCXREQUEST* pRequest)
{
    if (nState == 0)
        return FALSE;
    SCXREQUEST request = *pRequest;
    request.dwFlags &= ~SCXF_POS;
    request.nNewState = nState;
    SendRequest(SCX_CHANGESTATE, request);
    return TRUE;
}

HMENU ScxMsgFilter::CreateStateMenu(SCXREQUEST* pRequest)
{
    auto* pTemplate = static_cast<TWKMultiDocTemplate*>(FindDocTemplate(pRequest, RUNTIME_CLASS(TWKMultiDocTemplate)));
    CFrameWnd* pFrame = FrameOf(pRequest->hWnd);
    if (!pTemplate || !pFrame)
        return NULL;
    return BuildStateMenu(pFrame, GetFrameState(pFrame, pTemplate, pRequest), pRequest);
}

HMENU ScxMsgFilter::BuildStateMenu(CFrameWnd*, int nState, SCXREQUEST*)
{
    struct Item { int nState; UINT nText; };
    const Item kClasses[] = { { SCXS_DOCKED, IDS_TWK_SCX_DOCKED }, { SCXS_FLOATING, IDS_TWK_SCX_FLOATING },
                              { SCXS_MDICHILD, IDS_TWK_SCX_MDICHILD } };
    const Item kSides[] = { { SCXS_TOP, IDS_TWK_SCX_TOP }, { SCXS_LEFT, IDS_TWK_SCX_LEFT },
                            { SCXS_BOTTOM, IDS_TWK_SCX_BOTTOM }, { SCXS_RIGHT, IDS_TWK_SCX_RIGHT } };
    const Item kChildStates[] = { { SCXS_MINIMIZED, IDS_TWK_SCX_MINIMIZED }, { SCXS_MAXIMIZED, IDS_TWK_SCX_MAXIMIZED },
                                  { SCXS_RESTORED, IDS_TWK_SCX_RESTORED } };
    HMENU hMenu = ::CreatePopupMenu();
    if (!hMenu)
        return NULL;
    const int nClass = GetStateClass(nState);
    for (const Item& item : kClasses)
        ::AppendMenuA(hMenu, MF_STRING | (nClass == item.nState ? MF_CHECKED : 0), (UINT_PTR)item.nState,
                      LoadText(item.nText));
    ::AppendMenuA(hMenu, MF_SEPARATOR, 0, nullptr);
    auto appendSubmenu = [&](const Item* pItems, int nCount, UINT nTitle) {
        HMENU hSub = ::CreatePopupMenu();
        if (!hSub)
            return;
        for (int i = 0; i < nCount; i++)
            ::AppendMenuA(hSub, MF_STRING | (nState == pItems[i].nState ? MF_CHECKED : 0), (UINT_PTR)pItems[i].nState,
                          LoadText(pItems[i].nText));
        ::AppendMenuA(hMenu, MF_POPUP, (UINT_PTR)hSub, LoadText(nTitle));
    };
    appendSubmenu(kSides, 4, IDS_TWK_SCX_DOCKEDTO);
    appendSubmenu(kChildStates, 3, IDS_TWK_SCX_MDICHILDAS);
    return hMenu;
}

int ScxMsgFilter::GetStateClass(int nState)
{
    if (nState >= SCXS_MDICHILD && nState <= SCXS_RESTORED)
        return SCXS_MDICHILD;
    if (nState >= SCXS_DOCKED && nState <= SCXS_BOTTOM)
        return SCXS_DOCKED;
    return nState == SCXS_FLOATING ? SCXS_FLOATING : SCXS_NONE;
}

int ScxMsgFilter::GetToggleState(CFrameWnd*, int nState, SCXREQUEST*)
{
    return GetStateClass(nState) == SCXS_MDICHILD ? SCXS_DOCKED : SCXS_MDICHILD;
}

int ScxMsgFilter::GetFrameState(CFrameWnd* pFrame, TWKMultiDocTemplate* pTemplate, SCXREQUEST*)
{
    if (!pFrame)
        return SCXS_NONE;
    if (pFrame->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))) {
        if (::IsZoomed(pFrame->m_hWnd))
            return SCXS_MAXIMIZED;
        return ::IsIconic(pFrame->m_hWnd) ? SCXS_MINIMIZED : SCXS_RESTORED;
    }
    if (IsDockableFrame(pFrame) && pTemplate) {
        switch (pTemplate->GetDockSide(pFrame)) {
        case 0: return SCXS_TOP;
        case 1: return SCXS_LEFT;
        case 2: return SCXS_BOTTOM;
        case 3: return SCXS_RIGHT;
        case 4: return SCXS_FLOATING;
        }
    }
    return SCXS_NONE;
}

CDocTemplate* ScxMsgFilter::FindDocTemplate(SCXREQUEST* pRequest, CRuntimeClass* pClass)
{
    CFrameWnd* pFrame = FrameOf(pRequest ? pRequest->hWnd : NULL);
    CView* pView = pFrame ? pFrame->GetActiveView() : nullptr;
    CDocument* pDoc = pView ? pView->GetDocument() : nullptr;
    CWinApp* pApp = AfxGetApp();
    if (!pDoc || !pApp)
        return nullptr;
    for (POSITION pos = pApp->GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* pTemplate = pApp->GetNextDocTemplate(pos);
        if (!pTemplate || (pClass && !pTemplate->IsKindOf(pClass)))
            continue;
        for (POSITION posDoc = pTemplate->GetFirstDocPosition(); posDoc;)
            if (pTemplate->GetNextDoc(posDoc) == pDoc)
                return pTemplate;
    }
    return nullptr;
}

CFrameWnd* ScxMsgFilter::ToggleFrameDocking(CFrameWnd* pFrame, TWKMultiDocTemplate* pTemplate, SCXREQUEST*)
{
    return pTemplate->ToggleDocking(pFrame);
}

CFrameWnd* ScxMsgFilter::DockFrameAt(CFrameWnd* pFrame, UINT nDockBarID, TWKDockPos* pPos, TWKDockSize* pSize,
                                     TWKMultiDocTemplate* pTemplate, SCXREQUEST*)
{
    return pTemplate->DockFrame(pFrame, nDockBarID, pPos, pSize);
}

void ScxMsgFilter::ToggleBarDocking(CFrameWnd* pFrame, TWKMultiDocTemplate*, SCXREQUEST* pRequest)
{
    CWnd* pParent = pFrame ? pFrame->GetParent() : nullptr;
    if (!pParent || !pParent->IsKindOf(RUNTIME_CLASS(TWKControlBar)))
        return;
    auto* pBar = static_cast<TWKControlBar*>(pParent);
    CDockContext* pContext = pBar->m_pDockContext;
    if (!pContext)
        return;
    const CPoint ptOld = pContext->m_ptMRUFloatPos;
    if (pRequest->dwFlags & SCXF_POS)
        pContext->m_ptMRUFloatPos = CPoint(pRequest->x, pRequest->y);
    if (pRequest->dwFlags & SCXF_SIZE)
        pBar->m_sizeMRUFloat = CSize(pRequest->cx, pRequest->cy);
    pContext->ToggleDocking();
    if (pRequest->dwFlags & SCXF_POS)
        pContext->m_ptMRUFloatPos = ptOld;
}

CFrameWnd* ScxMsgFilter::MakeMDIChild(CFrameWnd* pFrame, int nCurrent, int nTarget, TWKMultiDocTemplate* pTemplate,
                                      SCXREQUEST* pRequest)
{
    // The view outlives the frames it moves between.
    CView* pView = pFrame->GetActiveView();
    if (!pView)
        return nullptr;
    UpdateLock lock(GetStateClass(nCurrent) != SCXS_MDICHILD);
    if (nTarget == SCXS_NONE) {
        switch (GetStateClass(nCurrent)) {
        case SCXS_MDICHILD:
            break;
        case SCXS_DOCKED:
        case SCXS_FLOATING:
            if (!ToggleFrameDocking(pFrame, pTemplate, pRequest))
                return nullptr;
            break;
        default:
            return nullptr;
        }
        return pView->GetParentFrame();
    }
    CFrameWnd* pNew = MakeMDIChild(pFrame, nCurrent, SCXS_NONE, pTemplate, pRequest);
    if (!pNew)
        return nullptr;
    int nState = GetFrameState(pNew, pTemplate, pRequest);
    if (GetStateClass(nState) != SCXS_MDICHILD)
        return nullptr;
    if (nState != nTarget) {
        switch (nTarget) {
        case SCXS_MINIMIZED: pNew->ShowWindow(SW_SHOWMINIMIZED); break;
        case SCXS_MAXIMIZED: pNew->ShowWindow(SW_SHOWMAXIMIZED); break;
        case SCXS_RESTORED: pNew->ShowWindow(SW_SHOWNORMAL); break;
        }
    }
    if (nTarget != SCXS_MAXIMIZED) {
        // The record holds screen coordinates; a child is placed in its MDI client's.
        POINT pt = { pRequest->x, pRequest->y };
        if (HWND hParent = ::GetParent(pNew->m_hWnd))
            ::ScreenToClient(hParent, &pt);
        PlaceByRequest(pNew, pRequest, pt.x, pt.y);
    }
    if (::IsZoomed(pNew->m_hWnd)) {
        // The maximized child fits the client again.
        CWnd* pMain = AfxGetMainWnd();
        HWND hClient = (pMain && pMain->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
                           ? static_cast<CMDIFrameWnd*>(pMain)->m_hWndMDIClient : NULL;
        if (hClient && ::IsWindow(hClient)) {
            RECT rc;
            ::GetClientRect(hClient, &rc);
            ::PostMessageA(hClient, WM_SIZE, 0, 0);
            ::PostMessageA(hClient, WM_SIZE, 0, MAKELPARAM(rc.right, rc.bottom));
        }
    }
    return pView->GetParentFrame();
}

CFrameWnd* ScxMsgFilter::MakeDocked(CFrameWnd* pFrame, int nCurrent, int nTarget, TWKMultiDocTemplate* pTemplate,
                                    SCXREQUEST* pRequest)
{
    if (!pFrame->GetActiveView())
        return nullptr;
    const int nClass = GetStateClass(nCurrent);
    if ((nTarget == SCXS_NONE || nTarget == SCXS_DOCKED) && !(pRequest->dwFlags & (SCXF_POS | SCXF_SIZE))) {
        if (nClass == SCXS_MDICHILD)
            return ToggleFrameDocking(pFrame, pTemplate, pRequest);
        if (nClass == SCXS_FLOATING)
            ToggleBarDocking(pFrame, pTemplate, pRequest);
        return nullptr;
    }
    TWKDockPos* pPos = (pRequest->dwFlags & SCXF_POS) ? pRequest->pPos : nullptr;
    TWKDockSize* pSize = (pRequest->dwFlags & SCXF_SIZE) ? pRequest->pSize : nullptr;
    UINT nDockBarID = 0;
    DWORD dwAlign = 0;
    switch (nTarget) {
    case SCXS_LEFT: nDockBarID = AFX_IDW_DOCKBAR_LEFT; dwAlign = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT; break;
    case SCXS_TOP: nDockBarID = AFX_IDW_DOCKBAR_TOP; dwAlign = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM; break;
    case SCXS_RIGHT: nDockBarID = AFX_IDW_DOCKBAR_RIGHT; dwAlign = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT; break;
    case SCXS_BOTTOM: nDockBarID = AFX_IDW_DOCKBAR_BOTTOM; dwAlign = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP; break;
    }
    if (nClass == SCXS_MDICHILD)
        return DockFrameAt(pFrame, nDockBarID, pPos, pSize, pTemplate, pRequest);
    if (nClass != SCXS_DOCKED && nClass != SCXS_FLOATING)
        return nullptr;
    CWnd* pMain = AfxGetMainWnd();
    CWnd* pParent = pFrame->GetParent();
    if (!pMain || !pMain->IsKindOf(RUNTIME_CLASS(TWKMDIFrameWnd)) || !pParent ||
        !pParent->IsKindOf(RUNTIME_CLASS(CControlBar)))
        return nullptr;
    auto* pBar = static_cast<CControlBar*>(pParent);
    TWKDockSize size = { 1.0f, 150, 0 };
    TWKDockPos pos = { 0, 0, 0 };
    if (nTarget == SCXS_TOP || nTarget == SCXS_LEFT)
        pos = { 1, 0, TWKDP_FROMLAST | TWKDP_COLFROMEND };
    else if (nTarget == SCXS_RIGHT || nTarget == SCXS_BOTTOM)
        pos = { 0, 0, TWKDP_NEWROW };
    pBar->SetBarStyle((pBar->GetBarStyle() & ~CBRS_ALIGN_ANY) | dwAlign);
    auto* pMainFrame = static_cast<TWKMDIFrameWnd*>(pMain);
    pMainFrame->DockControlBarAt(pBar, pPos ? pPos : &pos, nDockBarID, pSize ? pSize : &size);
    pMainFrame->RecalcLayout(TRUE);
    return nullptr;
}

CFrameWnd* ScxMsgFilter::MakeFloating(CFrameWnd* pFrame, int nCurrent, int nTarget, TWKMultiDocTemplate* pTemplate,
                                      SCXREQUEST* pRequest)
{
    if (nTarget != SCXS_NONE && GetStateClass(nTarget) != SCXS_FLOATING)
        return nullptr;
    CView* pView = pFrame->GetActiveView();
    if (!pView)
        return nullptr;
    switch (GetStateClass(nCurrent)) {
    case SCXS_FLOATING:
        if (CFrameWnd* pFloating = pFrame->GetParentFrame())
            PlaceByRequest(pFloating, pRequest, pRequest->x, pRequest->y);
        break;
    case SCXS_DOCKED:
        ToggleBarDocking(pFrame, pTemplate, pRequest);
        break;
    case SCXS_MDICHILD: {
        if (pFrame->IsIconic())
            pFrame->ShowWindow(SW_SHOWNORMAL);
        CRect rcOld;
        pFrame->GetWindowRect(&rcOld);
        CFrameWnd* pDocked = MakeDocked(pFrame, nCurrent, SCXS_NONE, pTemplate, pRequest);
        if (!pDocked)
            return nullptr;
        int nDocked = GetFrameState(pDocked, pTemplate, pRequest);
        if (GetStateClass(nDocked) != SCXS_DOCKED)
            return nullptr;
        // Floats where the child was, with its size.
        SCXREQUEST request = *pRequest;
        if (!(request.dwFlags & SCXF_POS)) {
            request.x = rcOld.left;
            request.y = rcOld.top;
        }
        if (!(request.dwFlags & SCXF_SIZE)) {
            request.cx = rcOld.Width();
            request.cy = rcOld.Height();
        }
        request.dwFlags |= SCXF_POS | SCXF_SIZE;
        if (!MakeFloating(pDocked, nDocked, SCXS_NONE, pTemplate, &request))
            return nullptr;
        break;
    }
    default:
        return nullptr;
    }
    return pView->GetParentFrame();
}

// ---------------------------------------------------------------------------
// The caption button

ScxButtonMsgFilter::ScxButtonMsgFilter() : TWKCaptionControlMsgFilter(NULL, defaultID, 2, DFC_SCROLL)
{
    m_nHoldDelay = holdDelay;
}

BOOL ScxButtonMsgFilter::IsVisible(BOOL* pInactive)
{
    if (pInactive)
        *pInactive = FALSE;
    return TRUE;
}

DWORD ScxButtonMsgFilter::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // The request a press or release sends may delete this filter: only locals after it.
    DWORD dwResult = TWKCaptionControlMsgFilter::OnMessage(message, wParam, lParam, pResult);
    if ((message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN || message == WM_LBUTTONUP) &&
        (dwResult & resultHandled))
        dwResult |= resultStop;
    return dwResult;
}

void ScxButtonMsgFilter::Draw()
{
    HWND hwnd = OwnerWindow(this);
    if (!hwnd || m_rect.IsRectEmpty())
        return;
    HDC hdc = ::GetWindowDC(hwnd);
    if (!hdc)
        return;
    DrawButton(hdc, m_rect, (m_nState & DFCS_PUSHED) != 0, IsDockableFrame(GetWnd()));
    ::ReleaseDC(hwnd, hdc);
}

void ScxButtonMsgFilter::DrawButton(HDC hdc, const RECT& rect, BOOL bPushed, BOOL bDockableOwner)
{
    auto fill = [hdc](int x, int y, int cx, int cy, COLORREF clr) {
        if (cx <= 0 || cy <= 0)
            return;
        RECT rc = { x, y, x + cx, y + cy };
        ::SetBkColor(hdc, clr);
        ::ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
    };
    auto frame = [&](const RECT& rc, COLORREF clrTopLeft, COLORREF clrBottomRight) {
        const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
        fill(rc.left, rc.top, cx - 1, 1, clrTopLeft);
        fill(rc.left, rc.top, 1, cy - 1, clrTopLeft);
        fill(rc.right - 1, rc.top, 1, cy, clrBottomRight);
        fill(rc.left, rc.bottom - 1, cx, 1, clrBottomRight);
    };
    const COLORREF clrOldBk = ::GetBkColor(hdc);
    RECT rc = rect;
    const COLORREF clrHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT), clrDark = ::GetSysColor(COLOR_3DDKSHADOW);
    frame(rc, bPushed ? clrDark : clrHighlight, bPushed ? clrHighlight : clrDark);
    ::InflateRect(&rc, -1, -1);
    if (bPushed)
        frame(rc, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNFACE));
    else
        frame(rc, ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    ::InflateRect(&rc, -1, -1);
    fill(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, ::GetSysColor(COLOR_BTNFACE));

    // A diamond of 9-unit strokes in a 98 by 96 design, scaled to the button.
    const int W = rect.right - rect.left, H = rect.bottom - rect.top;
    const int sx = std::max(2, ::MulDiv(9, 100 * W, 9800));
    const int sy = std::max(1, ::MulDiv(9, 100 * H, 9600));
    int a = (int)(0.6 * H);
    if ((a - sy) % 2 == 0)
        a++;
    const int n = (a - sy + 1) / 2;
    const int width = sx + 2 * n - 2;
    int x0 = rect.left + (W - width) / 2;
    int y0 = rect.top + (H - a) / 2;
    if (sy == 1) {
        x0--;
        y0--;
    }
    if (bPushed) {
        x0++;
        y0++;
    }
    if (bDockableOwner)
        y0++;
    const COLORREF clrText = ::GetSysColor(COLOR_BTNTEXT);
    const int xApex = x0 + n - 1;
    const int yBottom = y0 + a - sy + (bDockableOwner ? 0 : 1);
    fill(xApex, y0, sx + 1, sy, clrText);
    fill(xApex, yBottom, sx + 1, sy, clrText);
    for (int i = 1; i < n; i++) {
        fill(xApex - i, y0 + i, sx, sy, clrText);
        fill(xApex + 1 + i, y0 + i, sx, sy, clrText);
        fill(xApex - i, yBottom - i, sx, sy, clrText);
        fill(xApex + 1 + i, yBottom - i, sx, sy, clrText);
    }
    if (!bDockableOwner && n > 0) {
        // The lower half closes the middle row.
        fill(xApex - n + 1, yBottom - n, sx - 1, sy, clrText);
        fill(xApex + 1 + n, yBottom - n, sx - 1, sy, clrText);
    }
    ::SetBkColor(hdc, clrOldBk);
}

BOOL ScxButtonMsgFilter::GetCommandMessage(int nKind, int, int, HWND* pWnd, UINT* pMessage, WPARAM* pWParam,
                                           LPARAM* pLParam)
{
    HWND hwnd = OwnerWindow(this);
    if (!hwnd)
        return FALSE;
    *pWnd = hwnd;
    *pMessage = GetSysCommandExMessage();
    *pWParam = nKind == fireClick ? SCX_CHANGESTATE : SCX_DROPMENU;
    *pLParam = 0;
    return TRUE;
}

void ScxButtonMsgFilter::FireCommand(int nKind, int x, int y)
{
    HWND hTarget = NULL;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    HWND hOwner = OwnerWindow(this);
    if (!hOwner || !GetCommandMessage(nKind, x, y, &hTarget, &message, &wParam, &lParam) || !hTarget)
        return;
    SCXREQUEST request = {};
    request.hWnd = hTarget;
    request.nNewState = SCXS_TOGGLE;
    RECT rcWindow;
    ::GetWindowRect(hOwner, &rcWindow);
    request.rcButton = m_rect;
    ::OffsetRect(&request.rcButton, rcWindow.left, rcWindow.top);
    if (nKind == fireClick) {
        request.x = x;
        request.y = y;
    } else {
        // The menu drops at the button's lower-left corner.
        request.x = request.rcButton.left;
        request.y = request.rcButton.bottom;
        if (nKind == fireHold)
            request.dwFlags = SCXF_POS;
    }
    ::SendMessageA(hTarget, message, wParam, (LPARAM)&request);
}

BOOL ScxButtonMDIChildMsgFilter::IsVisible(BOOL* pInactive)
{
    if (pInactive)
        *pInactive = FALSE;
    HWND hwnd = OwnerWindow(this);
    if (hwnd && ::IsZoomed(hwnd))
        return FALSE;
    return ScxButtonMsgFilter::IsVisible(pInactive);
}

DWORD ScxButtonMDIChildMsgFilter::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // Maximized, the MDI frame's button acts for this one.
    HWND hwnd = OwnerWindow(this);
    if (hwnd && ::IsZoomed(hwnd))
        return 0;
    return ScxButtonMsgFilter::OnMessage(message, wParam, lParam, pResult);
}

CMDIChildWnd* ScxButtonMDIMaxChildMsgFilter::GetMaximizedChild()
{
    CWnd* pOwner = GetWnd();
    if (!pOwner || !pOwner->GetSafeHwnd() || !pOwner->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        return nullptr;
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pChild = static_cast<CMDIFrameWnd*>(pOwner)->MDIGetActive(&bMaximized);
    return bMaximized ? pChild : nullptr;
}

BOOL ScxButtonMDIMaxChildMsgFilter::IsVisible(BOOL* pInactive)
{
    if (pInactive)
        *pInactive = FALSE;
    return GetMaximizedChild() != nullptr;
}

DWORD ScxButtonMDIMaxChildMsgFilter::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (!MaximizedChildWithFilter(GetWnd(), kChildButtonID))
        return 0;
    // In the menu row a press acts as a caption button's press on the caption.
    if ((message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN) && wParam == HTMENU)
        return TWKCaptionControlMsgFilter::OnMessage(message, HTCAPTION, lParam, pResult);
    return ScxButtonMsgFilter::OnMessage(message, wParam, lParam, pResult);
}

BOOL ScxButtonMDIMaxChildMsgFilter::GetCommandMessage(int nKind, int x, int y, HWND* pWnd, UINT* pMessage,
                                                      WPARAM* pWParam, LPARAM* pLParam)
{
    CMDIChildWnd* pChild = GetMaximizedChild();
    if (!pChild || !ScxButtonMsgFilter::GetCommandMessage(nKind, x, y, pWnd, pMessage, pWParam, pLParam))
        return FALSE;
    *pWnd = pChild->m_hWnd;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Right clicks on the caption

DWORD ScxCaptionNCRDBLClkFilter::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_NCRBUTTONDBLCLK && wParam == HTCAPTION) {
        if (HWND hwnd = OwnerWindow(this))
            SendSimpleRequest(hwnd, SCX_CHANGESTATE, 0, 0);
        return kConsumed;
    }
    return PassToChildren(message, wParam, lParam, pResult);
}

DWORD ScxNCRDBLClkMDIMaxChildMsgFilter::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_NCRBUTTONDBLCLK)
        return 0;
    TWKMDIChildWnd* pChild = MaximizedChildWithFilter(GetWnd(), kChildDblClkID);
    if (!pChild)
        return 0;
    if (wParam == HTMENU) {
        SendSimpleRequest(pChild->m_hWnd, SCX_CHANGESTATE, 0, 0);
        return kConsumed;
    }
    return PassToChildren(message, wParam, lParam, pResult);
}

DWORD ScxContextMenuFilter::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_NCRBUTTONUP && wParam == HTCAPTION) {
        if (HWND hwnd = OwnerWindow(this))
            SendSimpleRequest(hwnd, SCX_DROPMENU, (short)LOWORD(lParam), (short)HIWORD(lParam));
        return kConsumed;
    }
    return PassToChildren(message, wParam, lParam, pResult);
}

} // namespace nsSysCommandEx
