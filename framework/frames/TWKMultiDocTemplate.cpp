// The document template with dockable views.
#include "framework/frames/TWKMultiDocTemplate.h"
#include "afx/afxres.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frames/TWKCreateObject.h"
#include "framework/frames/TWKDockableFrame.h"
#include "framework/frames/TWKMDIChildWnd.h"
#include "framework/frames/TWKMDIFrameWnd.h"

namespace {
const DWORD kDefaultCaptionStyles = 7;
const DWORD kDockedFrameStyle = WS_CHILD | WS_CAPTION | WS_SYSMENU | FWS_ADDTOTITLE;   // 0x40C88000
const TWKDockSize kDefaultDockSize = { 1.0f, 150, 0 };

TWKMDIFrameWnd* MainTWKMDIFrame()
{
    CWnd* pMain = AfxGetMainWnd();
    return (pMain && pMain->IsKindOf(RUNTIME_CLASS(TWKMDIFrameWnd))) ? static_cast<TWKMDIFrameWnd*>(pMain) : nullptr;
}

// Puts a value in place for one operation and back on every way out.
template <class T>
struct Swap
{
    T& ref;
    T saved;
    Swap(T& r, T value) : ref(r), saved(r) { ref = value; }
    ~Swap() { ref = saved; }
};

CView* FirstChildView(CFrameWnd* pFrame)
{
    for (HWND h = ::GetWindow(pFrame->m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        CWnd* p = CWnd::FromHandlePermanent(h);
        if (p && p->IsKindOf(RUNTIME_CLASS(CView)))
            return static_cast<CView*>(p);
    }
    return nullptr;
}
} // namespace

// ---------------------------------------------------------------------------
// TWKVwDockFeedBackOleImp

void TWKVwDockFeedBackOleImp::CloseActiveItem()
{
    auto* pView = dynamic_cast<CView*>(this);
    auto* pDoc = pView ? dynamic_cast<COleDocument*>(pView->GetDocument()) : nullptr;
    if (!pDoc)
        return;
    for (POSITION pos = pDoc->GetStartPosition(); pos;) {
        COleClientItem* pItem = pDoc->GetNextClientItem(pos);
        if (!pItem)
            continue;
        UINT nState = pItem->GetItemState();
        if (nState == COleClientItem::activeState || nState == COleClientItem::activeUIState) {
            pItem->Close(OLECLOSE_SAVEIFDIRTY);
            m_pClosedItem = pItem;
            return;
        }
    }
}

void TWKVwDockFeedBackOleImp::ReactivateItem()
{
    if (!m_pClosedItem)
        return;
    COleClientItem* pItem = m_pClosedItem;
    m_pClosedItem = nullptr;
    pItem->DoVerb(OLEIVERB_SHOW, dynamic_cast<CView*>(this), nullptr);
}

// ---------------------------------------------------------------------------
// TWKMultiDocTemplate

IMPLEMENT_DYNAMIC(TWKMultiDocTemplate, CMultiDocTemplate)

TWKMultiDocTemplate::TWKMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                         CRuntimeClass* pViewClass, UINT nIDDockedResource,
                                         CRuntimeClass* pDockableFrameClass, CRuntimeClass* pFrameBarClass,
                                         DWORD dwCaptionStyles)
    : CMultiDocTemplate(nIDResource, pDocClass, pFrameClass ? pFrameClass : RUNTIME_CLASS(TWKMDIChildWnd), pViewClass),
      m_pDockableFrameClass(pDockableFrameClass ? pDockableFrameClass : RUNTIME_CLASS(TWKDockableFrame)),
      m_pFrameBarClass(pFrameBarClass ? pFrameBarClass : RUNTIME_CLASS(TWKFrameBar)),
      m_nIDDockedResource(nIDDockedResource ? nIDDockedResource : nIDResource),
      m_dwMDIChildCaptionStyles(dwCaptionStyles == (DWORD)-1 ? kDefaultCaptionStyles : dwCaptionStyles),
      m_dwDockedCaptionStyles(m_dwMDIChildCaptionStyles)
{
}

TWKMultiDocTemplate::TWKMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pViewClass,
                                         DWORD dwCaptionStyles)
    : TWKMultiDocTemplate(nIDResource, pDocClass, nullptr, pViewClass, 0, nullptr, nullptr, dwCaptionStyles)
{
}

TWKMultiDocTemplate::~TWKMultiDocTemplate()
{
    if (m_hMenuDocked)
        ::DestroyMenu(m_hMenuDocked);
}

void TWKMultiDocTemplate::LoadTemplate()
{
    CMultiDocTemplate::LoadTemplate();
    if (m_nIDDockedResource && !m_hMenuDocked) {
        HINSTANCE hInst = AfxGetResourceHandle();
        m_hMenuDocked = ::LoadMenuA(hInst, MAKEINTRESOURCEA(m_nIDDockedResource));
        m_hAccelDocked = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(m_nIDDockedResource));
    }
}

CDocument* TWKMultiDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible, BOOL bDocked, UINT nBarID)
{
    m_bCreateDocked = bDocked;
    if (bDocked)
        m_nNextBarID = nBarID;
    CDocument* pDoc = CMultiDocTemplate::OpenDocumentFile(lpszPathName, bMakeVisible);
    m_bCreateDocked = FALSE;
    m_nNextBarID = 0;
    if (bDocked && pDoc) {
        POSITION pos = pDoc->GetFirstViewPosition();
        CView* pView = pos ? pDoc->GetNextView(pos) : nullptr;
        if (pView)
            ActivateDocFrame(pView->GetParentFrame());
    }
    return pDoc;
}

CFrameWnd* TWKMultiDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    return CreateNewFrameEx(pDoc, pOther, m_bCreateDocked, m_nNextBarID);
}

CFrameWnd* TWKMultiDocTemplate::CreateNewFrameEx(CDocument* pDoc, CFrameWnd* pOther, BOOL bDocked, UINT nBarID)
{
    CFrameWnd* pFrame = nullptr;
    if (bDocked) {
        UINT nDockBarID = 0;
        TWKDockPos pos = { 0, 0, 0 };
        TWKDockSize size = kDefaultDockSize;
        if (TWKMDIFrameWnd* pMain = MainTWKMDIFrame()) {
            pMain->GetNextDefaultDockPos(&nDockBarID, &pos, &size);
            m_nNextBarID = nBarID;
            pFrame = CreateDockedFrame(pDoc, pOther, nDockBarID, &pos, &size);
        }
    } else {
        pFrame = CMultiDocTemplate::CreateNewFrame(pDoc, pOther);
        if (pFrame)
            SetCaptionStyles(pFrame, m_dwMDIChildCaptionStyles);
    }
    m_bCreateDocked = FALSE;
    m_nNextBarID = 0;
    return pFrame;
}

CFrameWnd* TWKMultiDocTemplate::CreateDockedFrame(CDocument* pDoc, CFrameWnd* pOther, UINT nDockBarID,
                                                  TWKDockPos* pPos, TWKDockSize* pSize)
{
    TWKMDIFrameWnd* pMain = MainTWKMDIFrame();
    if (!pMain)
        return nullptr;
    // Docked frames are made from the docked resources.
    Swap<UINT> resource(m_nIDResource, m_nIDDockedResource);
    Swap<HMENU> menu(m_hMenuShared, m_hMenuDocked ? m_hMenuDocked : m_hMenuShared);
    Swap<HACCEL> accel(m_hAccelTable, m_hAccelDocked ? m_hAccelDocked : m_hAccelTable);
    UINT nNextBarID = m_nNextBarID;
    m_nNextBarID = 0;

    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewDocTemplate = this;
    context.m_pCurrentFrame = pOther;

    auto* pBar = TWKCreateObject<TWKControlBar>(m_pFrameBarClass ? m_pFrameBarClass : RUNTIME_CLASS(TWKControlBar),
                                                RUNTIME_CLASS(TWKControlBar));
    if (!pBar)
        return nullptr;
    pBar->m_bAutoDelete = TRUE;

    TWKDockSize size = kDefaultDockSize;
    TWKDockPos pos = { 0, 0, 0 };
    if (!nDockBarID || !pPos || !pSize) {
        UINT nDefaultID = 0;
        pMain->GetNextDefaultDockPos(&nDefaultID, &pos, &size);
        if (!nDockBarID)
            nDockBarID = nDefaultID;
    }
    if (pPos)
        pos = *pPos;
    if (pSize)
        size = *pSize;

    DWORD dwAlign = 0;
    switch (nDockBarID) {
    case AFX_IDW_DOCKBAR_TOP: dwAlign = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM; break;
    case AFX_IDW_DOCKBAR_LEFT: dwAlign = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT; break;
    case AFX_IDW_DOCKBAR_RIGHT: dwAlign = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT; break;
    case AFX_IDW_DOCKBAR_BOTTOM: dwAlign = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP; break;
    default: break;
    }
    UINT nBarID = nNextBarID > 0 ? nNextBarID : TWKControlBar::GetFreeBarID(pMain, 256);

    CString strTitle = pDoc ? pDoc->GetTitle() : CString();
    // A bar whose window fails to come is freed by its own last message.
    if (!pBar->CreateEx(nullptr, strTitle, nBarID, dwAlign | WS_CHILD | WS_VISIBLE | CBRS_SIZE_DYNAMIC, CBX_FILLCHILD,
                        CRect(0, 0, 0, 0), pMain))
        return nullptr;
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    pMain->DockControlBarAt(pBar, &pos, nDockBarID, &size);

    auto* pFrame = TWKCreateObject<CFrameWnd>(m_pDockableFrameClass, RUNTIME_CLASS(CFrameWnd));
    // A frame whose window fails to come is freed by its own last message.
    if (!pFrame || !pFrame->LoadFrame(m_nIDDockedResource, kDockedFrameStyle, pBar, &context)) {
        // No empty bar stays on the edge.
        pBar->DestroyWindow();
        pMain->RecalcLayout();
        return nullptr;
    }
    SetCaptionStyles(pFrame, m_dwDockedCaptionStyles);
    return pFrame;
}

BOOL TWKMultiDocTemplate::IsDockableFrame(CFrameWnd* pFrame)
{
    return pFrame && pFrame->IsKindOf(RUNTIME_CLASS(TWKDockableFrame));
}

int TWKMultiDocTemplate::GetDockSide(CFrameWnd* pFrame)
{
    if (!IsDockableFrame(pFrame) || !pFrame->m_hWnd)
        return -1;
    HWND hBar = ::GetParent(pFrame->m_hWnd);
    HWND hDockBar = hBar ? ::GetParent(hBar) : nullptr;
    if (!hDockBar)
        return -1;
    switch (::GetDlgCtrlID(hDockBar)) {
    case AFX_IDW_DOCKBAR_TOP: return 0;
    case AFX_IDW_DOCKBAR_LEFT: return 1;
    case AFX_IDW_DOCKBAR_BOTTOM: return 2;
    case AFX_IDW_DOCKBAR_RIGHT: return 3;
    default: return static_cast<TWKDockableFrame*>(pFrame)->IsBarFloating() ? 4 : -1;
    }
}

CFrameWnd* TWKMultiDocTemplate::DockFrame(CFrameWnd* pFrame, UINT nDockBarID, TWKDockPos* pPos, TWKDockSize* pSize)
{
    if (!pFrame || !pFrame->m_hWnd || IsDockableFrame(pFrame))
        return nullptr;
    CDocument* pDoc = pFrame->GetActiveDocument();
    if (!pDoc)
        return nullptr;
    TWKDockSize size = kDefaultDockSize;
    TWKDockPos pos = { 0, 0, 0 };
    if (!nDockBarID) {
        if (TWKMDIFrameWnd* pMain = MainTWKMDIFrame())
            pMain->GetNextDefaultDockPos(&nDockBarID, &pos, &size);
    } else if (nDockBarID == AFX_IDW_DOCKBAR_TOP || nDockBarID == AFX_IDW_DOCKBAR_LEFT) {
        pos = { 1, 0, TWKDP_FROMLAST | TWKDP_COLFROMEND };
    } else if (nDockBarID == AFX_IDW_DOCKBAR_RIGHT || nDockBarID == AFX_IDW_DOCKBAR_BOTTOM) {
        pos = { 0, 0, TWKDP_NEWROW };
    }
    if (pPos)
        pos = *pPos;
    if (pSize)
        size = *pSize;

    CFrameWnd* pNew;
    {
        // The view moves over: the new frame makes none of its own.
        Swap<CRuntimeClass*> viewClass(m_pViewClass, nullptr);
        pNew = CreateDockedFrame(pDoc, nullptr, nDockBarID, &pos, &size);
    }
    if (!pNew)
        return nullptr;
    return FinishMove(pFrame, pNew, TRUE);
}

CFrameWnd* TWKMultiDocTemplate::DockFrameDefault(CFrameWnd* pFrame)
{
    return DockFrame(pFrame, 0, nullptr, nullptr);
}

CFrameWnd* TWKMultiDocTemplate::UndockFrame(CFrameWnd* pFrame)
{
    if (!pFrame || !pFrame->m_hWnd || !IsDockableFrame(pFrame))
        return nullptr;
    CDocument* pDoc = pFrame->GetActiveDocument();
    if (!pDoc)
        return nullptr;
    CFrameWnd* pNew;
    {
        Swap<CRuntimeClass*> viewClass(m_pViewClass, nullptr);
        pNew = CreateNewFrame(pDoc, nullptr);
    }
    if (!pNew)
        return nullptr;
    FinishMove(pFrame, pNew, FALSE);
    // The view is laid out in its new frame.
    pNew->SendMessage(WM_SIZE, 0, 0);
    return pNew;
}

CFrameWnd* TWKMultiDocTemplate::FinishMove(CFrameWnd* pOld, CFrameWnd* pNew, BOOL bDock)
{
    MoveChildren(pOld, pNew);
    ITWKVwDockFeedBack* pFeedBack = GetDockFeedBack(pOld->GetActiveView());
    if (pFeedBack) {
        if (bDock)
            pFeedBack->OnBeforeDock(pOld, pNew);
        else
            pFeedBack->OnBeforeUndock(pOld, pNew);
    }
    // The view is no longer the old frame's: its end must not touch it.
    pOld->SetActiveView(nullptr, FALSE);
    pOld->DestroyWindow();
    if (!pNew->GetActiveView())
        if (CView* pView = FirstChildView(pNew))
            pNew->SetActiveView(pView, FALSE);
    if (bDock)
        pNew->RecalcLayout();
    ActivateDocFrame(pNew);
    if (pFeedBack) {
        if (bDock)
            pFeedBack->OnAfterDock(pNew);
        else
            pFeedBack->OnAfterUndock(pNew);
    }
    return pNew;
}

CFrameWnd* TWKMultiDocTemplate::ToggleDocking(CFrameWnd* pFrame)
{
    return IsDockableFrame(pFrame) ? UndockFrame(pFrame) : DockFrameDefault(pFrame);
}

void TWKMultiDocTemplate::MoveChildren(CFrameWnd* pFrom, CFrameWnd* pTo)
{
    if (!pFrom || !pTo || !pFrom->m_hWnd || !pTo->m_hWnd)
        return;
    // Collected first: moving a child changes the sibling chain being walked.
    CArray<HWND, HWND> children;
    for (HWND h = ::GetWindow(pFrom->m_hWnd, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
        children.Add(h);
    for (INT_PTR i = 0; i < children.GetSize(); i++) {
        HWND h = children[i];
        CWnd* p = CWnd::FromHandlePermanent(h);
        // The view draws its own edge: the frame's would double it.
        if (p && p->IsKindOf(RUNTIME_CLASS(CView)) && (::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)
            && twkAuxData.bWin4)
            pTo->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
        ::SetParent(h, pTo->m_hWnd);
    }
}

BOOL TWKMultiDocTemplate::ActivateDocFrame(CFrameWnd* pFrame)
{
    if (!pFrame)
        return FALSE;
    pFrame->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    CWinApp* pApp = AfxGetApp();
    if (pApp && pFrame == pApp->m_pMainWnd) {
        pFrame->ActivateFrame(pApp->m_nCmdShow);
        pApp->m_nCmdShow = -1;
    } else {
        pFrame->ActivateFrame(-1);
    }
    pFrame->OnUpdateFrameTitle(TRUE);
    return TRUE;
}

void TWKMultiDocTemplate::SetCaptionStyles(CFrameWnd* pFrame, DWORD dwStyles)
{
    if (!pFrame)
        return;
    if (pFrame->IsKindOf(RUNTIME_CLASS(TWKDockableFrame)))
        static_cast<TWKDockableFrame*>(pFrame)->EnableCaptionControls(dwStyles);
    else if (pFrame->IsKindOf(RUNTIME_CLASS(TWKMDIChildWnd)))
        static_cast<TWKMDIChildWnd*>(pFrame)->EnableCaptionControls(dwStyles);
}

void TWKMultiDocTemplate::EnableCaptionButton(BOOL bEnable, BOOL bApply)
{
    if (bEnable && !HasCaptionButton())
        ModifyCaptionStyles(TWKCS_NOBUTTON, TWKCS_EXTENSION, bApply);
    else if (!bEnable && HasCaptionButton())
        ModifyCaptionStyles(0, TWKCS_NOBUTTON, bApply);
}

void TWKMultiDocTemplate::EnableDblClkToggle(BOOL bEnable, BOOL bApply)
{
    // The right double click and the context menu exclude each other.
    if (bEnable && !HasDblClkToggle())
        ModifyCaptionStyles(TWKCS_NODBLCLK, TWKCS_EXTENSION | TWKCS_NOCONTEXTMENU, bApply);
    else if (!bEnable && HasDblClkToggle())
        ModifyCaptionStyles(0, TWKCS_NODBLCLK, bApply);
}

void TWKMultiDocTemplate::EnableContextMenu(BOOL bEnable, BOOL bApply)
{
    if (bEnable && !HasContextMenu())
        ModifyCaptionStyles(TWKCS_NOCONTEXTMENU, TWKCS_EXTENSION | TWKCS_NODBLCLK, bApply);
    else if (!bEnable && HasContextMenu())
        ModifyCaptionStyles(0, TWKCS_NOCONTEXTMENU, bApply);
}

BOOL TWKMultiDocTemplate::HasCaptionButton() const
{
    return !(m_dwMDIChildCaptionStyles & TWKCS_NOBUTTON);
}

BOOL TWKMultiDocTemplate::HasDblClkToggle() const
{
    return !(m_dwMDIChildCaptionStyles & TWKCS_NODBLCLK);
}

BOOL TWKMultiDocTemplate::HasContextMenu() const
{
    return !(m_dwMDIChildCaptionStyles & TWKCS_NOCONTEXTMENU);
}

void TWKMultiDocTemplate::ModifyCaptionStyles(DWORD dwRemove, DWORD dwAdd, BOOL bApply)
{
    m_dwMDIChildCaptionStyles = (m_dwMDIChildCaptionStyles & ~dwRemove) | dwAdd;
    m_dwDockedCaptionStyles = (m_dwDockedCaptionStyles & ~dwRemove) | dwAdd;
    if (bApply && (dwRemove || dwAdd))
        ApplyCaptionStyles();
}

void TWKMultiDocTemplate::ApplyCaptionStyles()
{
    CFrameWnd* pLast = nullptr;
    BOOL bMaximized = FALSE;
    for (POSITION posD = GetFirstDocPosition(); posD;) {
        CDocument* pDoc = GetNextDoc(posD);
        for (POSITION posV = pDoc->GetFirstViewPosition(); posV;) {
            CView* pView = pDoc->GetNextView(posV);
            CFrameWnd* pFrame = pView ? pView->GetParentFrame() : nullptr;
            if (!pFrame || pFrame == pLast)
                continue;
            pLast = pFrame;
            if (pFrame->IsKindOf(RUNTIME_CLASS(TWKDockableFrame)))
                static_cast<TWKDockableFrame*>(pFrame)->EnableCaptionControls(m_dwDockedCaptionStyles);
            else if (pFrame->IsKindOf(RUNTIME_CLASS(TWKMDIChildWnd)))
                static_cast<TWKMDIChildWnd*>(pFrame)->EnableCaptionControls(m_dwMDIChildCaptionStyles);
            else
                continue;
            pFrame->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
            if (pFrame->IsZoomed())
                bMaximized = TRUE;
        }
    }
    if (bMaximized)
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->DrawMenuBar();
}

ITWKVwDockFeedBack* TWKMultiDocTemplate::GetDockFeedBack(CView* pView)
{
    return dynamic_cast<ITWKVwDockFeedBack*>(pView);
}
