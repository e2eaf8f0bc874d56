#include "ide/debugger/IDEIceUIMgr.h"
#include "components/include/IceInterface.h"
#include "ide/debugger/IDEDisAsmDoc.h"
#include "ide/debugger/IDEDisAsmView.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/IDEEditorView.h"
#include "ide/workbench/MainFrm.h"
#include "resources/ideres.h"
#include "support/ui/CUMsgHandler.h"

// ---- page routing

// Memory, Variable, Watch, Option, Stack: the manager's tab order.
enum { TAB_MEMORY, TAB_VARIABLE, TAB_WATCH, TAB_OPTION, TAB_STACK };

const ICE_PAGE_ROUTE g_IcePageRoutes[5] = {
    { ICE_PAGE_MEMORY, TAB_MEMORY, 0xE910, 16 },  { ICE_PAGE_REGISTERS, TAB_VARIABLE, 0xE920, 64 },
    { ICE_PAGE_WATCH, TAB_WATCH, 0xE960, 16 },    { ICE_PAGE_OPTIONS, TAB_OPTION, 0xE970, 16 },
    { ICE_PAGE_STACK, TAB_STACK, 0xE980, 16 },
};

void RouteDebugPages(I_IceDebugTarget* pTarget,
                     const std::function<BOOL(int nTab, I_IceDebugPage* pPage, int nIndex, UINT nID)>& offer)
{
    I_IceDebugPageList* pList = nullptr;
    if (!pTarget || pTarget->GetPageList(&pList) != 0 || !pList)
        return;
    UINT nNext[5];
    for (const ICE_PAGE_ROUTE& r : g_IcePageRoutes)
        nNext[r.nTab] = r.nFirstID;
    void* pos = pList->GetFirstPosition();
    for (int nIndex = 0; pos; nIndex++) {
        I_IceDebugPage* pPage = pList->GetNext(&pos);
        if (!pPage)
            break;
        int nType = pPage->GetType();
        for (const ICE_PAGE_ROUTE& r : g_IcePageRoutes) {
            if (r.nType != nType)
                continue;
            // A full range stops: the next id belongs to the next tab's pages.
            if (nNext[r.nTab] < r.nFirstID + r.nCount && offer(r.nTab, pPage, nIndex, nNext[r.nTab]))
                nNext[r.nTab]++;
            break;
        }
    }
}

// ---- the manager

namespace {

// The bars' table: titles, ids, dock places.
struct BarPlace {
    const char* pszTitle;
    UINT nID;
    DWORD dwAlign;
    UINT nDockBar;
    int nCol;
    int nLength;
};
const BarPlace kListBars[5] = {
    { "Register Window", 0xE710, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT, AFX_IDW_DOCKBAR_LEFT, 1, 220 },
    { "Watch Window", 0xE711, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT, AFX_IDW_DOCKBAR_LEFT, 2, 220 },
    { "Memory Window", 0xE712, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP, AFX_IDW_DOCKBAR_BOTTOM, 1, 130 },
    { "Option Window", 0xE713, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP, AFX_IDW_DOCKBAR_BOTTOM, 2, 130 },
    { "Stack Window", 0xE714, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP, AFX_IDW_DOCKBAR_BOTTOM, 3, 130 },
};
const BarPlace kCallStackBar = { "Call Stack Window", 0xE716, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP,
                                 AFX_IDW_DOCKBAR_BOTTOM, 4, 130 };
const BarPlace kHistoryBar = { "History Window", 0xE715, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP, AFX_IDW_DOCKBAR_BOTTOM,
                               5, 130 };
const DWORD kDebugBarExStyle = CBX_CONTEXTMENU | CBX_MARGINS | CBX_MDIFLOAT | CBX_COOLLOOK | CBX_GRIPPER
                               | CBX_CLOSEBUTTON | CBX_EXPANDBUTTON;
static_assert(kDebugBarExStyle == 0xF31, "the debug bars' extended style");
const DWORD kTabStyle = 0x50000001;
const UINT kTabID = 0xE900;
const DWORD kEnforceNoCallStack = 0x10000;
const DWORD kEnforceNoHistory = 0x20000;

// The editor view carrying the call-stack arrow, shared by the whole program.
// Its window handle is kept beside it: a closed document has deleted the view.
struct ArrowView {
    C_IDEEditorView* pView = nullptr;
    HWND hWnd = nullptr;
};
ArrowView s_arrow;

BOOL CreateBar(TWKControlBar& bar, CMainFrame* pFrame, const BarPlace& place)
{
    if (!bar.Create(pFrame, place.pszTitle, WS_CHILD | WS_VISIBLE | place.dwAlign | CBRS_SIZE_DYNAMIC,
                    kDebugBarExStyle, place.nID))
        return FALSE;
    bar.EnableDocking(CBRS_ALIGN_ANY);
    return TRUE;
}

void DockBar(TWKControlBar& bar, CMainFrame* pFrame, const BarPlace& place)
{
    pFrame->DockControlBarAt(&bar, place.nDockBar, place.nCol, 0, 0.5f, place.nLength);
}

} // namespace

C_IDEIceUIMgr::C_IDEIceUIMgr(CMainFrame* pFrame)
    : m_pFrame(pFrame), m_HistoryBar(this), m_CallStackBar(this), m_VariableTab(this), m_WatchTab(this),
      m_OptionTab(this), m_StackTab(this), m_MemoryTab(this)
{
}

C_IDEIceUIMgr::~C_IDEIceUIMgr()
{
    // The arrow view is forgotten with the manager that set it.
    if (m_bArrowShown)
        s_arrow = ArrowView();
    C_IDEListTab* tabs[5] = { &m_MemoryTab, &m_StackTab, &m_OptionTab, &m_WatchTab, &m_VariableTab };
    for (C_IDEListTab* pTab : tabs)
        if (pTab->GetSafeHwnd())
            pTab->DestroyWindow();
}

C_IDEListTab* C_IDEIceUIMgr::GetListTab(int i)
{
    // In the order of the list bars: Register, Watch, Memory, Option, Stack.
    C_IDEListTab* tabs[5] = { &m_VariableTab, &m_WatchTab, &m_MemoryTab, &m_OptionTab, &m_StackTab };
    return i >= 0 && i < 5 ? tabs[i] : nullptr;
}

template <class T>
T* C_IDEIceUIMgr::Interface(DWORD id) const
{
    void* p = nullptr;
    if (!m_pIceMgr || !m_pIceMgr->GetInterface(id, &p))
        return nullptr;
    return static_cast<T*>(p);
}

BOOL C_IDEIceUIMgr::CreateBars()
{
    for (int i = 0; i < 5; i++)
        if (!CreateBar(m_ListBars[i], m_pFrame, kListBars[i]))
            return FALSE;
    if (!CreateBar(m_CallStackBar, m_pFrame, kCallStackBar) || !CreateBar(m_HistoryBar, m_pFrame, kHistoryBar))
        return FALSE;
    for (int i = 0; i < 5; i++) {
        DockBar(m_ListBars[i], m_pFrame, kListBars[i]);
        C_IDEListTab* pTab = GetListTab(i);
        if (!pTab->Create(&m_ListBars[i], kTabStyle, kTabID) || !m_ListBars[i].SetTab(pTab))
            return FALSE;
    }
    DockBar(m_CallStackBar, m_pFrame, kCallStackBar);
    DockBar(m_HistoryBar, m_pFrame, kHistoryBar);
    return TRUE;
}

void C_IDEIceUIMgr::ShowBar(CControlBar* pBar, BOOL bShow)
{
    if (pBar->GetSafeHwnd())
        m_pFrame->ShowControlBar(pBar, bShow, FALSE);
}

BOOL C_IDEIceUIMgr::BarHasPages(CWnd* pBar)
{
    auto* pListBar = dynamic_cast<C_IDEListBar*>(pBar);
    return pListBar && pListBar->m_pTab && pListBar->m_pTab->GetPageCount() > 0;
}

void C_IDEIceUIMgr::ShowDebugWindows()
{
    if (!m_bIgnoreSavedBarState && m_pFrame->RestoreBarState(kDebugBarState)) {
        for (C_IDEListBar& bar : m_ListBars)
            if (!BarHasPages(&bar))
                ShowBar(&bar, FALSE);
        if (!m_pIceMgr || !m_pIceMgr->IsHistoryAvailable() || (m_pFrame->m_dwEnforceDisable & kEnforceNoHistory))
            ShowBar(&m_HistoryBar, FALSE);
        if (!m_pIceMgr || !m_pIceMgr->SupportsCallStack() || (m_pFrame->m_dwEnforceDisable & kEnforceNoCallStack)
            || !m_pIceMgr->IsCallStackAllowed())
            ShowBar(&m_CallStackBar, FALSE);
        return;
    }
    // The default debug layout: the workspace and the output make room.
    ShowBar(m_pFrame->GetProjectWnd(), FALSE);
    ShowBar(m_pFrame->GetMessageBar(), FALSE);
    for (int i = 0; i < 3; i++)
        ShowBar(&m_ListBars[i], BarHasPages(&m_ListBars[i]));
    m_bIgnoreSavedBarState = FALSE;
}

void C_IDEIceUIMgr::HideDebugWindows()
{
    m_pFrame->SaveBarState(kDebugBarState);
    for (C_IDEListBar& bar : m_ListBars)
        ShowBar(&bar, FALSE);
    ShowBar(&m_HistoryBar, FALSE);
    ShowBar(&m_CallStackBar, FALSE);
}

void C_IDEIceUIMgr::SetDebugTarget(I_IceDebugTarget* pTarget, BOOL bRebuild)
{
    C_IDEListTab* tabs[5] = { &m_MemoryTab, &m_VariableTab, &m_WatchTab, &m_OptionTab, &m_StackTab };
    if (bRebuild) {
        for (C_IDEListTab* pTab : tabs)
            pTab->RemoveAllPages();
        RouteDebugPages(pTarget, [&](int nTab, I_IceDebugPage* pPage, int nIndex, UINT nID) {
            return tabs[nTab]->AddPage(pTarget, pPage, nIndex, nID);
        });
    }
    for (C_IDEListTab* pTab : tabs)
        if (pTab->GetPageCount() > 0)
            pTab->ActivateFirstPage();
}

void C_IDEIceUIMgr::UpdateDebugWindows(BOOL bStopped, BOOL bReloadHistory)
{
    if (!m_pIceMgr || m_pIceMgr->IsBusy())
        return;
    if (bReloadHistory && m_HistoryBar.IsAutoReload())
        ReloadHistory();
    if (bStopped) {
        ShowCurrentPC();
        if (m_CallStackBar.GetSafeHwnd() && m_CallStackBar.IsVisible())
            m_CallStackBar.Refresh();
        DWORD a = 0, b = 0;
        if (m_pIceMgr->GetPCAddress(&a, &b))
            SetFrameContext(0, a, b);
        m_WatchTab.RefreshWatch();
    }
    for (int i = 0; i < 5; i++) {
        C_IDEListTab* pTab = GetListTab(i);
        if (pTab->GetSafeHwnd() && (i < 3 || pTab->GetPageCount() > 0)) {
            pTab->Invalidate(TRUE);
            pTab->UpdateWindow();
        }
    }
    m_MemoryTab.Reload();
}

BOOL C_IDEIceUIMgr::ShowCurrentPC()
{
    DWORD a = 0, b = 0;
    if (!m_pIceMgr || !m_pIceMgr->GetPCAddress(&a, &b))
        return FALSE;
    return ShowLocation(a, b, FALSE);
}

C_IDEEditorView* C_IDEIceUIMgr::GetArrowView() const
{
    if (!s_arrow.pView || !::IsWindow(s_arrow.hWnd) || CWnd::FromHandlePermanent(s_arrow.hWnd) != s_arrow.pView)
        return nullptr;
    return s_arrow.pView;
}

void C_IDEIceUIMgr::SetCallerLine(C_IDEEditorView* pView, int nLine)
{
    if (pView && ::IsWindow(pView->m_hWnd))
        pView->SetCallerLine(nLine);
}

BOOL C_IDEIceUIMgr::HasDisAsmWindow() const
{
    return m_pDisAsmView && ::IsWindow(m_hDisAsmView) && CWnd::FromHandlePermanent(m_hDisAsmView) == m_pDisAsmView;
}

BOOL C_IDEIceUIMgr::ShowLocation(DWORD a, DWORD b, BOOL bFromCallStack)
{
    m_bArrowShown = TRUE;
    CFrameWnd* pChild = m_pFrame->GetActiveFrame();
    if (C_IDEEditorView* pOld = GetArrowView())
        if (pChild && pChild->GetActiveView())
            SetCallerLine(pOld, -1);
    if (!m_pIceMgr)
        return FALSE;

    char szPath[ICE_PATH_SIZE] = {};
    int nLine = 0;
    BOOL bFound = FALSE;
    if (m_pIceMgr->AddressToSource(a, b, sizeof szPath, szPath, &nLine)) {
        CWnd* pZOrder = const_cast<CWnd*>(&CWnd::wndTop);
        if (HasDisAsmWindow())
            pZOrder = m_pDisAsmView->GetParentFrame();
        CDocument* pDoc = m_pFrame->GetProjectWnd()->OpenSourceFile(szPath, -1, FALSE, pZOrder, FALSE);
        if (pDoc) {
            POSITION pos = pDoc->GetFirstViewPosition();
            CView* pView = pDoc->GetNextView(pos);
            s_arrow.pView = dynamic_cast<C_IDEEditorView*>(pView);
            s_arrow.hWnd = s_arrow.pView ? s_arrow.pView->m_hWnd : nullptr;
            if (s_arrow.pView)
                SetCallerLine(s_arrow.pView, nLine);
            bFound = TRUE;
        }
    }

    if (!HasDisAsmWindow()) {
        if (bFound)
            return TRUE;
        char szListing[ICE_PATH_SIZE] = {};
        int nListingLine = 0, nReload = 0;
        if (!m_pIceMgr->AddressToListing(a, b, szListing, &nListingLine, &nReload))
            return FALSE;
        if (::GetFileAttributesA(szListing) == INVALID_FILE_ATTRIBUTES) {
            MessageBoxById(m_pFrame->GetSafeHwnd(), IDS_CAPTION_ERROR, IDS_DISASM_FILE_MISSING, MB_OK | MB_ICONERROR,
                           szListing);
            return FALSE;
        }
        OpenListing(szListing);
        if (!HasDisAsmWindow())
            return FALSE;
        m_pDisAsmView->SetPCLine(nListingLine);
        m_pDisAsmView->GetParentFrame()->BringWindowToTop();
        m_pDisAsmView->SetFocus();
        return TRUE;
    }
    if (bFromCallStack) {
        ShowListingAt(a, b);
        return TRUE;
    }
    int nPCLine = FindPCListingLine(ICE_LISTING_SHOW, TRUE);
    if (HasDisAsmWindow()) {
        m_pDisAsmView->SetPCLine(nPCLine);
        m_pDisAsmView->GetParentFrame()->BringWindowToTop();
        m_pDisAsmView->SetFocus();
    }
    return TRUE;
}

void C_IDEIceUIMgr::ShowListingAt(DWORD a, DWORD b)
{
    char szPath[ICE_PATH_SIZE] = {};
    int nLine = 0, nReload = 0;
    if (!m_pIceMgr || !m_pIceMgr->AddressToListing(a, b, szPath, &nLine, &nReload))
        return;
    if (HasDisAsmWindow()) {
        if (nReload == 1)
            ReloadListing(szPath);
        m_pDisAsmView->GetParentFrame()->BringWindowToTop();
    } else
        OpenListing(szPath);
    if (HasDisAsmWindow())
        m_pDisAsmView->SetPCLine(nLine);
}

void C_IDEIceUIMgr::ShowDisAsmForLine(CString strPath, int nLine)
{
    if (!m_pIceMgr)
        return;
    DWORD a = 0, b = 0;
    if (!m_pIceMgr->SourceToAddress(strPath, nLine, &a, &b)) {
        MessageBoxById(m_pFrame->GetSafeHwnd(), IDS_CAPTION_WARNING, IDS_DISASM_NO_MAPPING, MB_OK | MB_ICONWARNING);
        return;
    }
    ShowListingAt(a, b);
}

BOOL C_IDEIceUIMgr::ShowSourceForListingLine(int nListingLine)
{
    auto* pDisAsm = Interface<I_IceDisAsm>(ICE_IID_DISASM);
    char szPath[ICE_PATH_SIZE] = {};
    int nLine = 0;
    if (!pDisAsm || pDisAsm->ListingToSource(nListingLine, szPath, &nLine) != 0)
        return FALSE;
    m_pFrame->GetProjectWnd()->OpenSourceFile(szPath, nLine, FALSE, const_cast<CWnd*>(&CWnd::wndTop), TRUE);
    return TRUE;
}

C_IDEDisAsmView* C_IDEIceUIMgr::OpenDisAsmView(LPCSTR lpszPath)
{
    C_IDEDisAsmView* pView = m_pFrame->OpenDisAsmView(lpszPath);
    if (pView)
        pView->GetParentFrame()->ActivateFrame();
    return pView;
}

void C_IDEIceUIMgr::OpenListing(LPCSTR lpszPath)
{
    m_pDisAsmView = OpenDisAsmView(lpszPath);
    m_hDisAsmView = m_pDisAsmView ? m_pDisAsmView->m_hWnd : nullptr;
    if (!m_pDisAsmView)
        return;
    ColorListingRanges();
    if (m_pIceMgr)
        m_pIceMgr->SetSourceLevelStep(FALSE);
}

void C_IDEIceUIMgr::ReloadListing(LPCSTR lpszPath)
{
    if (!HasDisAsmWindow())
        return;
    C_IDEDisAsmDoc* pDoc = m_pDisAsmView->GetListingDoc();
    if (!pDoc)
        return;
    pDoc->m_Edit.ClearLineColors();
    pDoc->ReloadListing(lpszPath, TRUE);
    ColorListingRanges();
    pDoc->UpdateAllViews(nullptr);
    m_pDisAsmView->GetListing().Invalidate(FALSE);
}

void C_IDEIceUIMgr::ColorListingRanges()
{
    auto* pDisAsm = Interface<I_IceDisAsm>(ICE_IID_DISASM);
    C_IDEDisAsmDoc* pDoc = HasDisAsmWindow() ? m_pDisAsmView->GetListingDoc() : nullptr;
    if (!pDoc || !pDisAsm || pDisAsm->StartRanges() != 0)
        return;
    int nFirst = 0, nLast = 0, nKind = 0;
    while (pDisAsm->GetNextRange(&nFirst, &nLast, &nKind) == 0) {
        COLORREF crText, crBack;
        if (nKind == ICE_RANGE_EXECUTED)
            crText = 0x008000, crBack = 0xC8FFC8;
        else if (nKind == ICE_RANGE_DATA)
            crText = 0x808080, crBack = 0xFFE1E1;
        else
            continue;
        for (int n = nFirst; n <= nLast && n <= pDoc->m_Edit.GetLineCount(); n++) {
            pDoc->m_Edit.SetLineBackColor(n, crBack);
            pDoc->m_Edit.SetLineTextColor(n, crText);
        }
    }
}

int C_IDEIceUIMgr::FindPCListingLine(int nRequest, BOOL bSetPC)
{
    if (!HasDisAsmWindow())
        return -1;
    char szPath[ICE_PATH_SIZE] = {};
    int nLine = 0, nReload = nRequest;
    if (!m_pIceMgr || !m_pIceMgr->GetPCListingLine(szPath, &nLine, &nReload))
        return 0;
    if (nReload != 0)
        ReloadListing(szPath);
    if (bSetPC && HasDisAsmWindow())
        m_pDisAsmView->SetPCLine(nLine);
    return nLine;
}

void C_IDEIceUIMgr::OnDisAsmViewClosed()
{
    m_pDisAsmView = nullptr;
    m_hDisAsmView = nullptr;
    if (m_pIceMgr)
        m_pIceMgr->SetSourceLevelStep(TRUE);
    if (m_bArrowShown) {
        if (C_IDEEditorView* pView = GetArrowView())
            SetCallerLine(pView, -1);
        s_arrow = ArrowView();
    }
    m_bArrowShown = FALSE;
}

void C_IDEIceUIMgr::SelectCallStackFrame(int nIndex)
{
    auto* pStack = Interface<I_IceCallStack>(ICE_IID_CALL_STACK);
    if (!pStack)
        return;
    DWORD a = 0, b = 0;
    int nResult = nIndex == 0 ? pStack->GetTopFrame(0, &a, &b) : pStack->GetFrame(nIndex - 1, &a, &b);
    if (nResult != 0)
        return;
    SetFrameContext(nIndex, a, b);
    ShowLocation(a, b, TRUE);
    m_WatchTab.RefreshWatch();
    UpdateDebugWindows(FALSE, FALSE);
}

void C_IDEIceUIMgr::SetFrameContext(int nIndex, DWORD a, DWORD b)
{
    auto* pStack = Interface<I_IceCallStack>(ICE_IID_CALL_STACK);
    auto* pWatch = Interface<I_IceWatch>(ICE_IID_WATCH);
    if (!pStack || !pWatch)
        return;
    DWORD c = 0, d = 0;
    if (pStack->GetContext(nIndex, &c, &d) != 0 || pWatch->SetContext(a, b, c, d) != 0)
        return;
    m_CallStackBar.SetIndicatorLine(nIndex);
}

void C_IDEIceUIMgr::OnMemoryWritten(DWORD a, DWORD b)
{
    m_WatchTab.RefreshWatch();
    UpdateDebugWindows(FALSE, FALSE);
    if (HasDisAsmWindow() && m_pIceMgr && m_pIceMgr->UpdateDisAsmListing(a, b))
        FindPCListingLine(ICE_LISTING_AFTER_WRITE, TRUE);
}

void C_IDEIceUIMgr::ReloadHistory()
{
    if (!m_pIceMgr || !m_HistoryBar.GetSafeHwnd() || !m_HistoryBar.IsVisible())
        return;
    char* pszText = nullptr;
    if (m_pIceMgr->GetHistoryText(&pszText))
        m_HistoryBar.SetHistoryText(pszText);
}

void C_IDEIceUIMgr::ClearHistory()
{
    if (!m_pIceMgr)
        return;
    m_pIceMgr->ClearHistory();
    ReloadHistory();
}

void C_IDEIceUIMgr::RefreshBreakpoints()
{
    if (HasDisAsmWindow())
        if (C_IDEDisAsmDoc* pDoc = m_pDisAsmView->GetListingDoc()) {
            pDoc->RebuildBreakLineMap();
            pDoc->RefreshMarkers();
        }
    // The source documents repaint their marks from the emulator's store.
    C_IDEDisAsmDoc::SyncSourceBreakpoints();
}

void C_IDEIceUIMgr::EditBreakpoints()
{
    if (m_pIceMgr && m_pIceMgr->EditBreakpoints())
        RefreshBreakpoints();
}

void C_IDEIceUIMgr::ResetDisAsmMarks(const char* pszListing)
{
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    CDocument* pDoc = pApp && pszListing ? pApp->OpenNewDocument("DisAsm", pszListing) : nullptr;
    if (auto* pListing = dynamic_cast<C_IDEDisAsmDoc*>(pDoc))
        pListing->ResetMarks();
}

void C_IDEIceUIMgr::CloseAllDisAsm()
{
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    if (CDocTemplate* pTemplate = pApp ? pApp->FindDocTemplate("DisAsm") : nullptr)
        pTemplate->CloseAllDocuments(TRUE);
}

void C_IDEIceUIMgr::CloseDisAsm()
{
    CloseAllDisAsm();
    OnDisAsmViewClosed();
}

void C_IDEIceUIMgr::SaveAndCloseDisAsm()
{
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    if (CDocTemplate* pTemplate = pApp ? pApp->FindDocTemplate("DisAsm") : nullptr) {
        POSITION pos = pTemplate->GetFirstDocPosition();
        if (CDocument* pDoc = pos ? pTemplate->GetNextDoc(pos) : nullptr) {
            POSITION vpos = pDoc->GetFirstViewPosition();
            if (CView* pView = pDoc->GetNextView(vpos))
                pView->GetParentFrame()->BringWindowToTop();
        }
    }
    OnDisAsmViewClosed();
    m_pFrame->RestoreBarState(MAINFRAME_BARSTATE);
    CloseAllDisAsm();
}
