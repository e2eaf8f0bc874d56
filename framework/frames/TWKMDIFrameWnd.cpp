// The framework's MDI main frame.
#include "framework/frames/TWKMDIFrameWnd.h"
#include <algorithm>
#include "framework/frames/TWKCaptionPainter.h"
#include "afx/afxres.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKCreateObject.h"
#include "framework/frames/TWKDocTemplateUtils.h"
#include "framework/frames/TWKDockState.h"
#include "framework/frames/TWKDockableFrame.h"
#include "framework/frames/TWKFrameShared.h"
#include "framework/frames/TWKFrameWnd.h"
#include "framework/frames/TWKMDIChildWnd.h"
#include "framework/frames/TWKMiniDockFrameWnd.h"
#include "framework/frames/TWKMultiDocTemplate.h"
#include "framework/frames/TWKWndPlugIn.h"
#include "framework/frameworkres.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/controls/menus/TWKBmpMenuPlugIn.h"

namespace {
TWKControlBar* AsTWKBar(CControlBar* pBar)
{
    return (pBar && pBar->IsKindOf(RUNTIME_CLASS(TWKControlBar))) ? static_cast<TWKControlBar*>(pBar) : nullptr;
}

TWKDockBar* AsTWKDockBar(CDockBar* pDockBar)
{
    return (pDockBar && pDockBar->IsKindOf(RUNTIME_CLASS(TWKDockBar))) ? static_cast<TWKDockBar*>(pDockBar) : nullptr;
}

BOOL IsFocusIn(CView* pView)
{
    CWnd* pWnd = pView;
    HWND hFocus = ::GetFocus();
    return pWnd && hFocus && (hFocus == pWnd->m_hWnd || ::IsChild(pWnd->m_hWnd, hFocus));
}

void ActivateView(CView* pView, BOOL bActivate)
{
    if (pView)
        pView->OnActivateView(bActivate, pView, pView);
}

// The MDI frame's dockable frames held by bars, for the shared float.
class MDIEmbeddedFrames : public TWKEmbeddedFrames
{
public:
    explicit MDIEmbeddedFrames(TWKMDIFrameWnd* pFrame) : m_pFrame(pFrame) {}
    CFrameWnd* GetEmbeddedFrame(CControlBar* pBar) override { return m_pFrame->GetEmbeddedFrame(pBar); }
    void SetEmbeddedFrameStyle(CFrameWnd* pFrame, BOOL bFloating) override
    {
        m_pFrame->SetEmbeddedFrameStyle(pFrame, bFloating);
    }
    void FitEmbeddedFrame(CFrameWnd* pFrame) override { m_pFrame->FitEmbeddedFrame(pFrame); }

private:
    TWKMDIFrameWnd* m_pFrame;
};

// Whether the application registered a template with dockable views.
BOOL HasDockableViewTemplate()
{
    CWinApp* pApp = AfxGetApp();
    CDocManager* pManager = pApp ? pApp->m_pDocManager : nullptr;
    if (!pManager)
        return FALSE;
    for (POSITION pos = pManager->GetFirstDocTemplatePosition(); pos;)
        if (pManager->GetNextDocTemplate(pos)->IsKindOf(RUNTIME_CLASS(TWKMultiDocTemplate)))
            return TRUE;
    return FALSE;
}

const char kPreFloatStyle[] = "TWKDockableFrame PreFloat Docked Style";
const char kPreFloatExStyle[] = "TWKDockableFrame PreFloat Docked ExStyle";
} // namespace

IMPLEMENT_DYNCREATE(TWKMDIFrameWnd, CMDIFrameWnd)

BEGIN_MESSAGE_MAP(TWKMDIFrameWnd, CMDIFrameWnd)
    ON_WM_SYSCOLORCHANGE()
    ON_MESSAGE(WM_TWK_BARCONTEXTMENU, OnBarContextMenu)
    ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
    ON_MESSAGE(WM_SETTEXT, OnCaptionSetText)
    ON_MESSAGE(WM_NCPAINT, OnCaptionNcPaint)
    ON_WM_NCACTIVATE()
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnFilteredMouse)
    ON_MESSAGE(WM_NCRBUTTONDOWN, OnFilteredMouse)
    ON_MESSAGE(WM_NCRBUTTONDBLCLK, OnFilteredMouse)
    ON_MESSAGE(WM_LBUTTONUP, OnFilteredMouse)
    ON_MESSAGE(WM_MOUSEMOVE, OnFilteredMouse)
    ON_WM_ACTIVATEAPP()
    ON_WM_ACTIVATE()
    ON_WM_ENTERIDLE()
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_REGISTERED_MESSAGE(WM_TWKGETMENU, OnGetMenu)
    TWK_WORKSPACE_COMMANDS()
    ON_WM_NCHITTEST()
    ON_WM_ENABLE()
END_MESSAGE_MAP()

TWKMDIFrameWnd::TWKMDIFrameWnd() : m_ptCascade(30, 30)
{
    using namespace nsSysCommandEx;
    m_rectLastInside.SetRectEmpty();
    m_pFilterRoot = new TWKMsgFilter(this, -1);
    m_filterTable.Add(new TWKMsgFilter::Descriptor(filterSysCommand, -1, RUNTIME_CLASS(ScxMsgFilter)));
    m_pCaptionListDescriptor =
        new TWKMsgFilter::Descriptor(filterCaptionList, -1, RUNTIME_CLASS(TWKCapConLstMDIMaxChildMsgFilter));
    m_filterTable.Add(m_pCaptionListDescriptor);
    m_filterTable.Add(new TWKMsgFilter::Descriptor(filterMaxChildButton, filterCaptionList,
                                                   RUNTIME_CLASS(ScxButtonMDIMaxChildMsgFilter)));
    m_filterTable.Add(new TWKMsgFilter::Descriptor(filterMaxChildDblClk, -1,
                                                   RUNTIME_CLASS(ScxNCRDBLClkMDIMaxChildMsgFilter)));
    // The system-command filter exists only beside dockable-view templates.
    EnableCaptionControls(HasDockableViewTemplate());
    m_bWin4 = TWKIsWindows4();
    SetDockOrder();
}

TWKMDIFrameWnd::~TWKMDIFrameWnd()
{
    if (m_hMenuBarMenu)
        ::DestroyMenu(m_hMenuBarMenu);
    delete m_pMenuPlugIn;
    delete m_pFramePlugIn;
    TWKDeleteObjects(m_listBarInfo);
    for (POSITION pos = m_mapMenus.GetStartPosition(); pos;) {
        UINT nID;
        HMENU hMenu;
        m_mapMenus.GetNextAssoc(pos, nID, hMenu);
        ::DestroyMenu(hMenu);
    }
    delete m_pFilterRoot;
}

void TWKMDIFrameWnd::SetDockOrder()
{
    for (int i = 0; i < 6; i++) {
        if (i % 3 == 0)
            m_arrDockOrder.Add(0);
        m_arrDockOrder.Add(AFX_IDW_DOCKBAR_BOTTOM);
        if (i % 2 == 0)
            m_arrDockOrder.Add(0);
        m_arrDockOrder.Add(AFX_IDW_DOCKBAR_LEFT);
        if (i % 2 == 0)
            m_arrDockOrder.Add(0);
        m_arrDockOrder.Add(AFX_IDW_DOCKBAR_RIGHT);
    }
}

int TWKMDIFrameWnd::GetNextDefaultDockPos(UINT* pnDockBarID, TWKDockPos* pPos, TWKDockSize* pSize)
{
    pSize->fPctWidth = 1.0f;
    pSize->nLength = 150;
    int n = (int)m_arrDockOrder.GetSize();
    for (int k = 0; k < n; k++) {
        int i = (m_nDockOrderIndex + k) % n;
        UINT nID = m_arrDockOrder[i];
        if (!nID)
            continue;
        *pnDockBarID = nID;
        pPos->nRow = 0;
        pPos->nCol = 1;
        pPos->dwFlags = (nID == AFX_IDW_DOCKBAR_TOP || nID == AFX_IDW_DOCKBAR_LEFT) ? 3 : 2;
        if (m_arrDockOrder[(i + n - 1) % n] == 0) {
            pPos->dwFlags |= TWKDP_NEWROW;
            if (pPos->dwFlags & TWKDP_FROMLAST)
                pPos->nRow = 1;
        }
        m_nDockOrderIndex = (i + 1) % n;
        return 0;
    }
    *pnDockBarID = AFX_IDW_DOCKBAR_BOTTOM;
    pPos->nRow = 0;
    pPos->nCol = 0;
    pPos->dwFlags = TWKDP_NEWROW;
    return 0;
}

// ---- creation

BOOL TWKMDIFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nDefaultMenuID = m_nFrameMenuID = nIDResource;
    if (!CMDIFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    if (HasMenuBar())
        AttachMenuBarMenu(nIDResource);
    return TRUE;
}

int TWKMDIFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CMDIFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    InstallMenuPlugIn();
    // The menu bar shows the maximised child's buttons itself.
    if (HasMenuBar())
        m_pFilterRoot->ApplyDescriptor(m_pCaptionListDescriptor, FALSE);
    return 0;
}

void TWKMDIFrameWnd::OnClose()
{
    CMDIFrameWnd::OnClose();
}

void TWKMDIFrameWnd::EnableCaptionControls(BOOL bEnable)
{
    const BOOL enable[] = { (bEnable & 1) != 0, TRUE, TRUE, TRUE };
    m_pFilterRoot->ApplyDescriptorTable(&m_filterTable, enable);
}

// ---- docking

CDockBar* TWKMDIFrameWnd::CreateDockBar()
{
    return TWKCreateObject<CDockBar>(m_pDockBarClass, RUNTIME_CLASS(CDockBar));
}

void TWKMDIFrameWnd::EnableDocking(DWORD dwDockStyle, DWORD dwExtra)
{
    // The layer's frame starts with its own floating frame class: that one counts as unset.
    if (!m_pFloatingFrameClass || m_pFloatingFrameClass == RUNTIME_CLASS(CMiniDockFrameWnd))
        m_pFloatingFrameClass = RUNTIME_CLASS(TWKMiniDockFrameWnd);
    if (!m_pMDIHostClass)
        m_pMDIHostClass = RUNTIME_CLASS(TWKControlBarMDIChildWnd);
    if (!m_pDockBarClass)
        m_pDockBarClass = RUNTIME_CLASS(TWKDockBar);
    TWKCreateEdgeDockBars(this, dwDockStyle, dwExtra,
                          [](CFrameWnd* p) { return static_cast<TWKMDIFrameWnd*>(p)->CreateDockBar(); });
}

CDockBar* TWKMDIFrameWnd::FindDockBarForAlign(DWORD dwAlign)
{
    return TWKFindDockBarForAlign(this, dwAlign);
}

void TWKMDIFrameWnd::NotifyBeforeDock(CControlBar* pBar)
{
    if (TWKControlBar* p = AsTWKBar(pBar))
        p->NotifyBeforeDock();
}

void TWKMDIFrameWnd::NotifyAfterDock(CControlBar* pBar)
{
    if (TWKControlBar* p = AsTWKBar(pBar))
        p->OnAfterDock();
}

void TWKMDIFrameWnd::EmbeddedFrameDocks(CControlBar* pBar)
{
    if (pBar->IsFloating())
        if (CFrameWnd* pFrame = GetEmbeddedFrame(pBar))
            SetEmbeddedFrameStyle(pFrame, FALSE);
}

void TWKMDIFrameWnd::DockControlBarAt(CControlBar* pBar, UINT nDockBarID, int nCol, int nRow, float fPctWidth,
                                      int nLength)
{
    TWKDockPos pos = { nRow, nCol, 0 };
    TWKDockSize size = { fPctWidth, nLength, 0 };
    DockControlBarAt(pBar, &pos, nDockBarID, &size);
}

void TWKMDIFrameWnd::DockControlBarAt(CControlBar* pBar, const TWKDockPos* pPos, UINT nDockBarID,
                                      const TWKDockSize* pSize)
{
    if (!pBar || !pPos || !pSize)
        return;
    NotifyBeforeDock(pBar);
    CDockBar* pDockBar = nullptr;
    if (nDockBarID) {
        CControlBar* p = GetControlBar(nDockBarID);
        if (p && p->IsDockBar())
            pDockBar = static_cast<CDockBar*>(p);
    }
    if (!pDockBar)
        pDockBar = FindDockBarForAlign(pBar->GetBarStyle());
    if (!pDockBar)
        return;
    if (TWKControlBar* p = AsTWKBar(pBar))
        p->m_fPctWidth = pSize->fPctWidth;
    DWORD dwMode;
    if (nDockBarID == AFX_IDW_DOCKBAR_TOP || nDockBarID == AFX_IDW_DOCKBAR_BOTTOM)
        dwMode = LM_HORZ | LM_HORZDOCK | LM_LENGTHY;
    else if (nDockBarID == AFX_IDW_DOCKBAR_LEFT || nDockBarID == AFX_IDW_DOCKBAR_RIGHT)
        dwMode = LM_VERTDOCK;
    else
        dwMode = LM_HORZ | LM_MRUWIDTH | LM_LENGTHY;
    EmbeddedFrameDocks(pBar);
    pBar->CalcDynamicLayout(pSize->nLength, dwMode | LM_COMMIT);
    if (TWKDockBar* pTWK = AsTWKDockBar(pDockBar))
        pTWK->DockControlBarAt(pBar, pPos);
    else
        pDockBar->DockControlBar(pBar);
    NotifyAfterDock(pBar);
}

void TWKMDIFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    CControlBar* p = nDockBarID ? GetControlBar(nDockBarID) : nullptr;
    if (nDockBarID && !(p && p->IsDockBar()))
        return;
    DockControlBar(pBar, static_cast<CDockBar*>(p), lpRect);
}

void TWKMDIFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (!pBar)
        return;
    NotifyBeforeDock(pBar);
    if (!pDockBar)
        pDockBar = FindDockBarForAlign(pBar->GetBarStyle());
    if (!pDockBar)
        return;
    EmbeddedFrameDocks(pBar);
    if (TWKDockBar* pTWK = AsTWKDockBar(pDockBar))
        pTWK->DockControlBar(pBar, lpRect);
    else
        pDockBar->DockControlBar(pBar, lpRect);
    NotifyAfterDock(pBar);
}

void TWKMDIFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (!pBar)
        return;
    NotifyBeforeDock(pBar);
    if (!pDockBar)
        pDockBar = TWKFindPlaceHolder(this, pBar);
    if (!pDockBar)
        pDockBar = FindDockBarForAlign(pBar->GetBarStyle());
    if (!pDockBar)
        return;
    EmbeddedFrameDocks(pBar);
    pDockBar->ReDockControlBar(pBar, lpRect);
    NotifyAfterDock(pBar);
}

void TWKMDIFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    MDIEmbeddedFrames embedded(this);
    TWKFloatControlBar(this, pBar, point, dwStyle, &embedded);
}

void TWKMDIFrameWnd::ReFloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    if (pBar)
        FloatInNewFrame(pBar, point, dwStyle, TRUE);
}

void TWKMDIFrameWnd::FloatInNewFrame(CControlBar* pBar, CPoint point, DWORD dwStyle, BOOL bReFloat)
{
    MDIEmbeddedFrames embedded(this);
    TWKFloatInNewFrame(this, pBar, point, dwStyle, bReFloat, &embedded);
}

void TWKMDIFrameWnd::FloatControlBarAsMDIChild(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    if (!pBar || !m_hWndMDIClient)
        return;
    TWKControlBar* pTWK = AsTWKBar(pBar);
    if (pTWK)
        pTWK->NotifyBeforeMDIFloat();
    CRect rectClient;
    ::GetWindowRect(m_hWndMDIClient, &rectClient);
    int cx = rectClient.Width(), cy = rectClient.Height();
    if (point.x < 0 || point.y < 0) {
        // Successive hosts without a place cascade over the client area.
        point = m_ptCascade;
        m_ptCascade.Offset(20, 23);
        if (m_ptCascade.x > cx - 30)
            m_ptCascade.x = 30;
        if (m_ptCascade.y > cy - 30)
            m_ptCascade.y = 30;
    } else {
        ::ScreenToClient(m_hWndMDIClient, &point);
    }
    // The host's caption stays reachable inside the client area.
    point.x = std::max(0, std::min((int)point.x, cx));
    point.y = std::max(0, std::min((int)point.y, cy - 30));

    TWKDockBar* pDockBar = AsTWKDockBar(pBar->m_pDockBar);
    if (pDockBar && pDockBar->m_bFloating && pDockBar->m_bMDIChild && pDockBar->GetDockedCount() == 1
        && (pDockBar->m_dwStyle & dwStyle & CBRS_ALIGN_ANY)) {
        // Already alone in a host of that kind: only the host moves.
        if (CFrameWnd* pHost = pDockBar->GetParentFrame()) {
            pHost->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            pHost->RecalcLayout(TRUE);
            pHost->UpdateWindow();
        }
        return;
    }
    dwStyle = TWKFloatingStyle(pBar, dwStyle);
    CFrameWnd* pHost = CreateMDIFloatingFrame(dwStyle, pBar);
    if (!pHost)
        return;
    if (!pHost->GetOwner())
        pHost->SetOwner(pBar);
    CWnd* pHostDock = CWnd::FromHandlePermanent(::GetDlgItem(pHost->m_hWnd, AFX_IDW_DOCKBAR_FLOAT));
    if (TWKDockBar* pHostDockBar = (pHostDock && pHostDock->IsKindOf(RUNTIME_CLASS(TWKDockBar)))
                                       ? static_cast<TWKDockBar*>(pHostDock) : nullptr)
        pHostDockBar->DockControlBar(pBar, nullptr);
    pHost->RecalcLayout(TRUE);
    pHost->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE);
    pHost->ShowWindow(SW_SHOWNA);
    pHost->UpdateWindow();
    if (HICON hIcon = (HICON)pBar->SendMessage(WM_GETICON, ICON_BIG))
        pHost->SendMessage(WM_SETICON, ICON_BIG, (LPARAM)hIcon);
    if (pTWK)
        pTWK->OnAfterMDIFloat();
}

CFrameWnd* TWKMDIFrameWnd::CreateMDIFloatingFrame(DWORD, CControlBar*)
{
    CRuntimeClass* pClass = m_pMDIHostClass ? m_pMDIHostClass : RUNTIME_CLASS(TWKControlBarMDIChildWnd);
    CObject* pObject = pClass->CreateObject();
    if (!pObject)
        AfxThrowMemoryException();
    if (!pObject->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        delete pObject;
        return nullptr;
    }
    auto* pFrame = static_cast<CFrameWnd*>(pObject);
    // A frame that fails to become a window has freed itself (PostNcDestroy).
    if (!pFrame->LoadFrame(IDR_TWK_BARHOST, 0x42CFA000, this, nullptr))
        return nullptr;
    return pFrame;
}

void TWKMDIFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    TWKShowControlBar(this, pBar, bShow, bDelay);
}

CFrameWnd* TWKMDIFrameWnd::GetEmbeddedFrame(CControlBar* pBar)
{
    // A frame bar holds its dockable frame as its first child.
    HWND hChild = (pBar && pBar->m_hWnd) ? ::GetWindow(pBar->m_hWnd, GW_CHILD) : nullptr;
    CWnd* pChild = hChild ? CWnd::FromHandlePermanent(hChild) : nullptr;
    return (pChild && pChild->IsKindOf(RUNTIME_CLASS(TWKFrameWnd))) ? static_cast<CFrameWnd*>(pChild) : nullptr;
}

void TWKMDIFrameWnd::SetEmbeddedFrameStyle(CFrameWnd* pFrame, BOOL bFloating)
{
    if (!pFrame || !pFrame->m_hWnd)
        return;
    HWND hWnd = pFrame->m_hWnd;
    if (bFloating) {
        ::SetPropA(hWnd, kPreFloatStyle, reinterpret_cast<HANDLE>((UINT_PTR)pFrame->GetStyle()));
        ::SetPropA(hWnd, kPreFloatExStyle, reinterpret_cast<HANDLE>((UINT_PTR)pFrame->GetExStyle()));
        if (CFrameWnd* pParentFrame = pFrame->GetParentFrame()) {
            pParentFrame->ModifyStyle(GetStyle(), WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
            pParentFrame->ModifyStyleEx(GetExStyle(), 0);
        }
        pFrame->ModifyStyle(0, (GetStyle() & 0x10CFFFFF) | WS_CAPTION);
        pFrame->ModifyStyleEx(0, GetExStyle() & 0x203A9, SWP_FRAMECHANGED);
    } else {
        ::SetWindowLongA(hWnd, GWL_STYLE, (LONG)(UINT_PTR)::GetPropA(hWnd, kPreFloatStyle));
        ::SetWindowLongA(hWnd, GWL_EXSTYLE, (LONG)(UINT_PTR)::GetPropA(hWnd, kPreFloatExStyle));
    }
}

void TWKMDIFrameWnd::FitEmbeddedFrame(CFrameWnd* pFrame)
{
    if (!pFrame || !pFrame->m_hWnd)
        return;
    CFrameWnd* pParentFrame = pFrame->GetParentFrame();
    if (!pParentFrame)
        return;
    CRect rect;
    pParentFrame->GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, ::GetParent(pFrame->m_hWnd), reinterpret_cast<LPPOINT>(&rect), 2);
    pFrame->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
}

// ---- layout

void TWKMDIFrameWnd::RecalcLayout(BOOL bNotify)
{
    if (m_bInRecalcLayout || !m_hWnd) {
        CMDIFrameWnd::RecalcLayout(bNotify);
        return;
    }
    CMDIFrameWnd::RecalcLayout(bNotify);
    TWKRedrawAfterLayout(this, m_rectLastInside);
}

void TWKMDIFrameWnd::OnSetPreviewMode(BOOL bPreview, CPrintPreviewState* pState)
{
    CMDIFrameWnd::OnSetPreviewMode(bPreview, pState);
    TWKRedrawAfterPreview(this, bPreview);
}

// ---- layout persistence

void TWKMDIFrameWnd::LoadBarState(LPCSTR lpszProfileName)
{
    TWKLoadBarState(this, m_pControlBarManager, &m_listBarInfo, lpszProfileName);
}

void TWKMDIFrameWnd::SaveBarState(LPCSTR lpszProfileName)
{
    TWKSaveBarState(this, m_pControlBarManager, lpszProfileName);
}

void TWKMDIFrameWnd::SetDockState(CDockState& state)
{
    TWKSetDockState(this, state);
}

void TWKMDIFrameWnd::GetDockState(CDockState& state)
{
    TWKGetDockState(this, state);
}

// ---- caption painting

BOOL TWKMDIFrameWnd::CreateItalicCaptionFont(CFont* pFont)
{
    return TWKCaption::CreateFont(pFont, TRUE);
}

BOOL TWKMDIFrameWnd::CreateCaptionFont(CFont* pFont)
{
    return TWKCaption::CreateFont(pFont, FALSE);
}

void TWKMDIFrameWnd::DrawCaption()
{
    TWKDrawCaption(this);
}

BOOL TWKMDIFrameWnd::EnableCustomCaption(BOOL bOn, BOOL bRedraw)
{
    return TWKEnableCustomCaption(this, bOn, bRedraw);
}

void TWKMDIFrameWnd::SetCaptionTextAlign(int nAlign, BOOL bRedraw)
{
    TWKSetCaptionTextAlign(this, nAlign, bRedraw);
}

LRESULT TWKMDIFrameWnd::OnCaptionSetText(WPARAM wParam, LPARAM lParam)
{
    if (!m_bCustomCaption)
        return OnFilteredAfterDefault(wParam, lParam);
    TWKCaptionSetText(this, wParam, lParam);
    m_pFilterRoot->ProcessMessage(nullptr, nullptr);
    return TRUE;
}

LRESULT TWKMDIFrameWnd::OnCaptionNcPaint(WPARAM wParam, LPARAM lParam)
{
    if (!m_bCustomCaption)
        return OnFilteredAfterDefault(wParam, lParam);
    TWKCaptionNcPaint(this, wParam);
    m_pFilterRoot->ProcessMessage(nullptr, nullptr);
    return 0;
}

// ---- plug-ins

TWKWndPlugIn* TWKMDIFrameWnd::CreateFramePlugIn(DWORD dwValue1, DWORD dwValue2, CRuntimeClass* pClass, DWORD dwValue3)
{
    return TWKCreateFramePlugIn(this, m_pFramePlugIn, dwValue1, dwValue2, pClass, dwValue3);
}

// ---- activation and routing

CFrameWnd* TWKMDIFrameWnd::GetActiveFrame()
{
    return m_pActiveDockableFrame ? m_pActiveDockableFrame : CMDIFrameWnd::GetActiveFrame();
}

void TWKMDIFrameWnd::DeactivateDockableFrame(BOOL bReactivateMDI)
{
    if (CFrameWnd* pFrame = m_pActiveDockableFrame) {
        ActivateView(pFrame->GetActiveView(), FALSE);
        pFrame->SendMessage(WM_NCACTIVATE, FALSE);
        m_pActiveDockableFrame = nullptr;
        ::SetFocus(nullptr);
    }
    if (bReactivateMDI && m_hWndMDIClient) {
        ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
        ::SendMessageA(m_hWndMDIClient, WM_NCACTIVATE, TRUE, 0);
    }
}

void TWKMDIFrameWnd::ActivateDockableFrame(CFrameWnd* pFrame)
{
    if (pFrame == m_pActiveDockableFrame)
        return;
    DeactivateDockableFrame(pFrame == nullptr);
    CFrameWnd* pActive = GetActiveFrame();
    if (pActive == this)
        pActive = nullptr;
    CView* pOldView = pActive ? pActive->GetActiveView() : nullptr;
    if (pOldView && IsFocusIn(pOldView))
        ActivateView(pOldView, FALSE);
    if (pFrame) {
        pFrame->SendMessage(WM_NCACTIVATE, TRUE);
        m_pActiveDockableFrame = pFrame;
        if (m_hWndMDIClient) {
            ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
            ::SendMessageA(m_hWndMDIClient, WM_NCACTIVATE, FALSE, 0);
        }
    }
    if (pFrame || pActive) {
        CFrameWnd* pNow = GetActiveFrame();
        CView* pView = pNow ? pNow->GetActiveView() : nullptr;
        if (pView && !IsFocusIn(pView))
            ActivateView(pView, TRUE);
    }
    OnUpdateFrameTitle(TRUE);
    if (!HasMenuBar()) {
        OnUpdateFrameMenu(nullptr);
        DrawMenuBar();
    } else {
        TWKDocTemplateUtils utils;
        UINT nID = utils.GetFrameResourceID(GetActiveFrame());
        SwapMenu(nID ? nID : (UINT)-1);
    }
}

void TWKMDIFrameWnd::NotifyViewOfActivation(UINT nState, CWnd*, BOOL)
{
    if (m_bInViewActivation)
        return;
    CView* pView = GetActiveView();
    if (!pView)
        if (CFrameWnd* pFrame = GetActiveFrame())
            pView = pFrame->GetActiveView();
    if (!pView)
        return;
    HWND hForeground = ::GetForegroundWindow();
    pView->OnActivateFrame(nState, this);
    // The view's answer may have moved the foreground; it goes back.
    if (::GetForegroundWindow() != hForeground) {
        m_bInViewActivation = TRUE;
        HWND hBack = hForeground ? hForeground : (::IsWindow(m_hWnd) ? m_hWnd : nullptr);
        if (hBack) {
            ::SetActiveWindow(hBack);
            ::SetForegroundWindow(hBack);
        }
        m_bInViewActivation = FALSE;
    }
}

void TWKMDIFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CMDIFrameWnd::OnActivate(nState, pWndOther, bMinimized);
    NotifyViewOfActivation(nState, pWndOther, bMinimized);
}

void TWKMDIFrameWnd::OnActivateApp(BOOL bActive, DWORD)
{
    if (m_pActiveDockableFrame) {
        if (m_hWndMDIClient) {
            ::PostMessageA(m_hWndMDIClient, WM_MDIACTIVATE, 0, 0);
            ::PostMessageA(m_hWndMDIClient, WM_NCACTIVATE, FALSE, 0);
        }
        m_pActiveDockableFrame->PostMessage(WM_NCACTIVATE, bActive);
    }
    Default();
}

BOOL TWKMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    CFrameWnd* pActive = m_pActiveDockableFrame ? m_pActiveDockableFrame : MDIGetActive();
    if (pActive && pActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    BOOL bResult = FALSE;
    if (TWKFramePlugInCmdMsg(m_pFramePlugIn, nID, nCode, pExtra, pHandlerInfo, &bResult))
        return bResult;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL TWKMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    CFrameWnd* pActive = m_pActiveDockableFrame ? m_pActiveDockableFrame : MDIGetActive();
    if (pActive && pActive->OnCommand(wParam, lParam))
        return TRUE;
    return CMDIFrameWnd::OnCommand(wParam, lParam);
}

BOOL TWKMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (TWKMenuPlugInPreTranslate(m_pMenuPlugIn, m_pControlBarManager, pMsg))
        return TRUE;
    return CMDIFrameWnd::PreTranslateMessage(pMsg);
}

LRESULT TWKMDIFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return TWKMenuPlugInWindowProc(m_pMenuPlugIn, m_bBmpMenus, message, wParam, lParam,
                                   [&] { return CMDIFrameWnd::WindowProc(message, wParam, lParam); });
}

LRESULT TWKMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    static UINT s_nSysCommandEx = 0;
    if (!s_nSysCommandEx)
        s_nSysCommandEx = ::RegisterWindowMessageA("Tarnwick::WM_SYSCOMMANDEX");
    if (message == s_nSysCommandEx) {
        LRESULT lResult = 0;
        m_pFilterRoot->FilterMessage(message, wParam, lParam, &lResult);
        return lResult;
    }
    return CMDIFrameWnd::DefWindowProc(message, wParam, lParam);
}

void TWKMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE))
        return;
    CFrameWnd* pActive = GetActiveFrame();
    if (pActive == this)
        pActive = nullptr;
    BOOL bMaximized = pActive && ::IsZoomed(pActive->m_hWnd);
    CDocument* pDoc = pActive ? pActive->GetActiveDocument() : nullptr;
    if (bAddToTitle && pActive && !bMaximized && pDoc) {
        CString strDoc = pDoc->GetTitle();
        UpdateFrameTitleForDocument(strDoc);
        return;
    }
    CString strTitle;
    if (pActive && !bMaximized)
        strTitle = pActive->GetTitle();
    UpdateFrameTitleForDocument(strTitle.IsEmpty() ? nullptr : (LPCSTR)strTitle);
}

// ---- messages

void TWKMDIFrameWnd::OnEnterIdle(UINT nWhy, CWnd* pWho)
{
    TWKIdleLayoutWhileCustomising(this, m_pControlBarManager, nWhy);
    CMDIFrameWnd::OnEnterIdle(nWhy, pWho);
}

void TWKMDIFrameWnd::OnSysColorChange()
{
    TWKFrameSysColorChange(this);
}

LRESULT TWKMDIFrameWnd::OnNcHitTest(CPoint point)
{
    if (TWKConfigModeManager(m_pControlBarManager))
        return HTERROR;
    return CMDIFrameWnd::OnNcHitTest(point);
}

void TWKMDIFrameWnd::OnEnable(BOOL bEnable)
{
    if (TWKConfigModeManager(m_pControlBarManager))
        m_nFrameFlags &= ~WF_STAYACTIVE;
    CMDIFrameWnd::OnEnable(bEnable);
}

LRESULT TWKMDIFrameWnd::OnBarContextMenu(WPARAM wParam, LPARAM lParam)
{
    TWKControlBar* pBar = AsTWKBar(reinterpret_cast<CControlBar*>(wParam));
    auto* pMenu = reinterpret_cast<CMenu*>(lParam);
    if (!pBar || !pMenu)
        return 0;
    BOOL bMDIChild = pBar->IsInMDIChildFrame();
    if (bMDIChild)
        pMenu->EnableMenuItem(ID_TWK_ALLOWDOCKING, MF_BYCOMMAND | MF_GRAYED);
    if (pBar->GetExBarStyle() & CBX_MDIFLOAT) {
        CString str;
        str.LoadString(AfxGetResourceHandle(), ID_TWK_FLOATINMDI);
        pMenu->AppendMenu(MF_SEPARATOR);
        pMenu->AppendMenu(MF_STRING | (bMDIChild ? MF_CHECKED : 0), ID_TWK_FLOATINMDI, str);
    }
    return 0;
}

LRESULT TWKMDIFrameWnd::OnFilteredAfterDefault(WPARAM, LPARAM)
{
    // The filters paint over the fresh caption.
    LRESULT lResult = Default();
    m_pFilterRoot->ProcessMessage(nullptr, nullptr);
    return lResult;
}

LRESULT TWKMDIFrameWnd::OnFilteredMouse(WPARAM, LPARAM)
{
    DWORD dwResult = m_pFilterRoot->ProcessMessage(nullptr, nullptr);
    if (dwResult & TWKMsgFilter::resultHandled)
        return dwResult;
    return Default();
}

BOOL TWKMDIFrameWnd::OnNcActivate(BOOL bActive)
{
    if (TWKConfigModeManager(m_pControlBarManager))
        m_nFrameFlags &= ~WF_STAYACTIVE;
    if (m_pActiveDockableFrame) {
        HWND hForeground = ::GetForegroundWindow();
        CWnd* pForeground = hForeground ? CWnd::FromHandle(hForeground) : nullptr;
        if (hForeground == m_hWnd || (pForeground && pForeground->GetTopLevelFrame() == this))
            m_nFrameFlags |= WF_STAYACTIVE;
    }
    if (m_bCustomCaption)
        return TWKCaptionNcActivate(this, bActive);
    BOOL bResult = CMDIFrameWnd::OnNcActivate(bActive);
    m_pFilterRoot->ProcessMessage(nullptr, nullptr);
    return bResult;
}

void TWKMDIFrameWnd::OnWorkspaceCommand() {}

BOOL TWKMDIFrameWnd::OnWorkspaceOpen(UINT)
{
    return TRUE;
}

void TWKMDIFrameWnd::OnUpdateWorkspaceCommand(CCmdUI*) {}

// Help: a tracked menu item names the context; the active frame (a dockable
// frame or the MDI child) answers first, then the frame's own handling.
LRESULT TWKMDIFrameWnd::OnCommandHelp(WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0 && IsTracking())
        lParam = HID_BASE_COMMAND + m_nIDTracking;
    CFrameWnd* pActive = GetActiveFrame();
    if (pActive && pActive != this && ::IsWindow(pActive->m_hWnd) &&
        pActive->SendMessage(WM_COMMANDHELP, wParam, lParam))
        return TRUE;
    if (CMDIFrameWnd::OnCommandHelp(wParam, lParam))
        return TRUE;
    if (lParam == 0)
        return FALSE;
    if (CWinApp* pApp = AfxGetApp())
        pApp->WinHelp((DWORD_PTR)lParam, HELP_CONTEXT);
    return TRUE;
}
