// Documents, views, document templates and the minimal splitter.
#include "afx/docview.h"
#include "afx/app.h"
#include "afx/frame.h"
#include "afx/print.h"
#include "afx/afxres.h"
#include "afx/archive.h"
#include "afx/cmdline.h"
#include <algorithm>
#include <vector>

namespace {

CString LoadFrameworkString(UINT nID, LPCSTR lpszFallback)
{
    CString s;
    if (!s.LoadString(AfxGetResourceHandle(), nID) || s.IsEmpty())
        s = lpszFallback;
    return s;
}

} // namespace


// ---------------------------------------------------------------------------
// CDocument

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_SAVE, OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
END_MESSAGE_MAP()

CDocument::CDocument()
{
}

CDocument::~CDocument()
{
    // Views that outlive the document must not point at it.
    POSITION pos = m_viewList.GetHeadPosition();
    while (pos)
        static_cast<CView*>(m_viewList.GetNext(pos))->m_pDocument = nullptr;
    m_viewList.RemoveAll();
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCSTR lpszTitle)
{
    m_strTitle = lpszTitle ? lpszTitle : "";
    // The frames show the title: let them update it.
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        CView* pView = GetNextView(pos);
        if (CFrameWnd* pFrame = pView->GetParentFrame())
            pFrame->OnUpdateFrameTitle(TRUE);
    }
}

void CDocument::SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU)
{
    char full[MAX_PATH * 2];
    LPSTR pName = nullptr;
    DWORD n = ::GetFullPathNameA(lpszPathName ? lpszPathName : "", sizeof full, full, &pName);
    if (n > 0 && n < sizeof full)
        m_strPathName = full;
    else
        m_strPathName = lpszPathName ? lpszPathName : "";
    // The title is the file name.
    CString title = m_strPathName;
    int slash = -1;
    for (int i = title.GetLength() - 1; i >= 0; --i)
        if (title[i] == '\\' || title[i] == '/' || title[i] == ':') { slash = i; break; }
    SetTitle(title.Mid(slash + 1));
    if (bAddToMRU)
        if (CWinApp* pApp = AfxGetApp())
            pApp->AddToRecentFileList(m_strPathName);
}

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    return static_cast<CView*>(m_viewList.GetNext(rPosition));
}

void CDocument::AddView(CView* pView)
{
    if (!pView || m_viewList.Find(pView))
        return;
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView)
{
    POSITION pos = pView ? m_viewList.Find(pView) : nullptr;
    if (!pos)
        return;   // not ours (a preview view may have left already)
    m_viewList.RemoveAt(pos);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        CView* pView = GetNextView(pos);
        if (pView != pSender)
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::OnChangedViewList()
{
    if (m_viewList.IsEmpty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    // Frames number their windows when a document has several.
    UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts()
{
    // Frames hidden (still being made) do not count; a frame with several
    // views of the document counts once.
    std::vector<CFrameWnd*> frames;
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        CView* pView = GetNextView(pos);
        if (!pView->GetSafeHwnd() || !pView->IsWindowVisible())
            continue;
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame && std::find(frames.begin(), frames.end(), pFrame) == frames.end())
            frames.push_back(pFrame);
    }
    int n = 0;
    for (CFrameWnd* pFrame : frames)
        pFrame->m_nWindow = frames.size() == 1 ? 0 : ++n;
    for (CFrameWnd* pFrame : frames)
        pFrame->OnUpdateFrameTitle(TRUE);
}

void CDocument::DeleteContents()
{
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

CFile* CDocument::GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    auto* pFile = new CFile;
    if (!pFile->Open(lpszFileName, nOpenFlags, pError)) {
        delete pFile;
        return nullptr;
    }
    return pFile;
}

void CDocument::ReleaseFile(CFile* pFile, BOOL bAbort)
{
    if (!pFile)
        return;
    if (bAbort)
        pFile->Abort();
    else
        pFile->Close();
    delete pFile;
}

BOOL CDocument::SerializeFile(LPCSTR lpszPathName, BOOL bSaving)
{
    const UINT nIDP = bSaving ? AFX_IDP_FAILED_TO_SAVE_DOC : AFX_IDP_FAILED_TO_OPEN_DOC;
    const UINT nFlags = bSaving ? CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive
                                : CFile::modeRead | CFile::shareDenyWrite;
    CFileException fe;
    CFile* pFile = GetFile(lpszPathName, nFlags, &fe);
    if (!pFile) {
        ReportSaveLoadException(lpszPathName, &fe, bSaving, nIDP);
        return FALSE;
    }
    if (!bSaving) {
        DeleteContents();
        SetModifiedFlag(TRUE);   // dirty while loading
    }
    try {
        CArchive ar(pFile, (bSaving ? CArchive::store : CArchive::load) | CArchive::bNoFlushOnDelete);
        CWaitCursor wait;
        Serialize(ar);
        ar.Close();
        ReleaseFile(pFile, FALSE);
    } catch (CException* e) {
        ReleaseFile(pFile, TRUE);
        if (!bSaving)
            DeleteContents();
        ReportSaveLoadException(lpszPathName, e, bSaving, nIDP);
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCSTR lpszPathName)
{
    return SerializeFile(lpszPathName, FALSE);
}

BOOL CDocument::OnSaveDocument(LPCSTR lpszPathName)
{
    return SerializeFile(lpszPathName, TRUE);
}

void CDocument::ReportSaveLoadException(LPCSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault)
{
    char msg[512] = "";
    if (e && e->GetErrorMessage(msg, sizeof msg) && msg[0]) {
        AfxMessageBox(msg, MB_ICONEXCLAMATION);
        return;
    }
    CString text = LoadFrameworkString(nIDPDefault, bSaving ? "Failed to save document." : "Failed to open document.");
    if (lpszPathName && *lpszPathName)
        text = CString(lpszPathName) + "\n" + text;
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

void CDocument::OnCloseDocument()
{
    // The frames go first; the document must not delete itself meanwhile.
    BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        CView* pView = static_cast<CView*>(m_viewList.GetHead());
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame) {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
        } else {
            pView->DestroyWindow();
        }
        // A view that did not leave (no window, not self-deleting) is let go here.
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == pView)
            RemoveView(pView);
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

void CDocument::PreCloseFrame(CFrameWnd* /*pFrame*/)
{
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrameArg)
{
    // Another frame still shows the document: no question.
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        CView* pView = GetNextView(pos);
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame && pFrame != pFrameArg)
            return TRUE;
    }
    return SaveModified();
}

BOOL CDocument::SaveModified()
{
    if (!IsModified())
        return TRUE;
    CString name = m_strPathName;
    if (name.IsEmpty())
        name = m_strTitle;
    if (name.IsEmpty())
        name = LoadFrameworkString(AFX_IDS_UNTITLED, "Untitled");
    CString prompt = LoadFrameworkString(AFX_IDP_ASK_TO_SAVE, "Save changes to %1?");
    int at = prompt.Find("%1");
    if (at >= 0)
        prompt = prompt.Left(at) + name + prompt.Mid(at + 2);
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONQUESTION, AFX_IDP_ASK_TO_SAVE)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::DoFileSave()
{
    // An untitled or read-only file goes through Save As.
    DWORD attr = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(m_strPathName);
    if (m_strPathName.IsEmpty() || (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_READONLY)))
        return DoSave(NULL);
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(LPCSTR lpszPathName, BOOL bReplace)
{
    CString newName = lpszPathName ? lpszPathName : "";
    if (newName.IsEmpty()) {
        newName = m_strPathName;
        if (newName.IsEmpty()) {
            newName = m_strTitle;
            CString ext;
            if (m_pDocTemplate && m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt) && !ext.IsEmpty()) {
                int semi = ext.Find(';');
                if (semi >= 0)
                    ext = ext.Left(semi);
                if (ext[0] == '*')
                    ext = ext.Mid(1);
                newName += ext;
            }
        }
        CWinApp* pApp = AfxGetApp();
        if (!pApp || !pApp->DoPromptFileName(newName, bReplace ? AFX_IDS_SAVEFILE : AFX_IDS_SAVEFILECOPY,
                                             OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT,
                                             FALSE, m_pDocTemplate))
            return FALSE;
    }
    CWaitCursor wait;
    if (!OnSaveDocument(newName))
        return FALSE;
    if (bReplace)
        SetPathName(newName);
    return TRUE;
}

void CDocument::OnFileSave()
{
    DoFileSave();
}

void CDocument::OnFileSaveAs()
{
    DoSave(NULL);
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---------------------------------------------------------------------------
// CView

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMsg)
    ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, OnFilePrint)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
END_MESSAGE_MAP()

CView::CView()
{
}

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                                           (HBRUSH)(COLOR_WINDOW + 1));
    return CWnd::PreCreateWindow(cs);
}

void CView::PostNcDestroy()
{
    // Views are made on the heap by their frames and go with their window.
    delete this;
}

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    auto* pContext = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (pContext && pContext->m_pCurrentDoc)
        pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    // The frame must not keep a view that is going.
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame && pFrame->GetActiveView() == this)
        pFrame->SetActiveView(nullptr, FALSE);
    CWnd::OnDestroy();
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;
    // A click makes this the active view of its frame.
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame && pFrame->GetActiveView() != this)
        pFrame->SetActiveView(this);
    return nResult;
}

LRESULT CView::OnInitialUpdateMsg(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CView::IsSelected(const CObject*) const { return FALSE; }
BOOL CView::OnScroll(UINT, UINT, BOOL) { return FALSE; }
BOOL CView::OnScrollBy(CSize, BOOL) { return FALSE; }
DROPEFFECT CView::OnDragEnter(COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
DROPEFFECT CView::OnDragOver(COleDataObject*, DWORD, CPoint) { return DROPEFFECT_NONE; }
void CView::OnDragLeave() {}
BOOL CView::OnDrop(COleDataObject*, DROPEFFECT, CPoint) { return FALSE; }
DROPEFFECT CView::OnDropEx(COleDataObject*, DROPEFFECT, DROPEFFECT, CPoint) { return (DROPEFFECT)-1; }

int CView::GetDragScrollInset() { return (int)::GetProfileIntA("windows", "DragScrollInset", 11); }
int CView::GetDragScrollDelay() { return (int)::GetProfileIntA("windows", "DragScrollDelay", 50); }
int CView::GetDragScrollInterval() { return (int)::GetProfileIntA("windows", "DragScrollInterval", 50); }

DROPEFFECT CView::OnDragScroll(DWORD dwKeyState, CPoint point)
{
    CRect rc;
    GetClientRect(&rc);
    CRect inner = rc;
    int inset = GetDragScrollInset();
    inner.DeflateRect(inset, inset);
    UINT code = 0xFFFF;
    if (rc.PtInRect(point) && !inner.PtInRect(point)) {
        UINT h = point.x < inner.left ? SB_LINEUP : point.x >= inner.right ? SB_LINEDOWN : 0xFF;
        UINT v = point.y < inner.top ? SB_LINEUP : point.y >= inner.bottom ? SB_LINEDOWN : 0xFF;
        code = MAKEWORD(h, v);
    }
    if (code != 0xFFFF && OnScroll(code, 0, FALSE)) {
        DWORD now = ::GetTickCount();
        if (code != m_nDragScrollCode) {
            m_dwDragScrollTick = now;
            m_dwDragScrollDelay = (DWORD)GetDragScrollDelay();
        }
        if (now - m_dwDragScrollTick > m_dwDragScrollDelay) {
            OnScroll(code, 0, TRUE);
            m_dwDragScrollTick = now;
            m_dwDragScrollDelay = (DWORD)GetDragScrollInterval();
        }
        if (m_nDragScrollCode == 0xFFFF)
            OnDragLeave();   // the drop feedback goes while scrolling
        m_nDragScrollCode = code;
        DROPEFFECT effect = DROPEFFECT_SCROLL;
        if ((dwKeyState & MK_CONTROL) && (dwKeyState & MK_SHIFT))
            effect |= DROPEFFECT_LINK;
        else if (dwKeyState & MK_CONTROL)
            effect |= DROPEFFECT_COPY;
        else
            effect |= DROPEFFECT_MOVE;
        return effect;
    }
    if (m_nDragScrollCode != 0xFFFF) {
        // Just left the border zone: the drag enters again.
        m_nDragScrollCode = 0xFFFF;
        OnDragEnter(m_pDragDataObject, dwKeyState, point);
    }
    return DROPEFFECT_NONE;
}

void CView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    (void)pDC;
    // An unknown page count prints one page unless the view says more.
    if (pInfo)
        pInfo->m_bContinuePrinting = pInfo->GetMaxPage() != 0xFFFF || pInfo->m_nCurPage == 1;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* /*pDeactiveView*/)
{
    if (bActivate && pActivateView == this) {
        // The view takes the focus while its top-level window is active.
        CWnd* pTop = GetTopLevelParent();
        if (pTop && ::GetActiveWindow() == pTop->m_hWnd)
            SetFocus();
    }
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }
void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CView::OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }
void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

CScrollBar* CView::GetScrollBarCtrl(int nBar) const
{
    CWnd* pParent = GetParent();
    if (auto* pSplitter = dynamic_cast<CSplitterWnd*>(pParent))
        return pSplitter->GetPaneScrollBar(const_cast<CView*>(this), nBar);
    return CWnd::GetScrollBarCtrl(nBar);
}

// ---------------------------------------------------------------------------
// CDocTemplate

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
    m_strDocStrings.LoadString(AfxGetResourceHandle(), nIDResource);
}

CDocTemplate::~CDocTemplate() = default;

BOOL CDocTemplate::GetDocString(CString& rString, enum DocStringIndex index) const
{
    return AfxExtractSubString(rString, m_strDocStrings, (int)index, '\n');
}

void CDocTemplate::LoadTemplate()
{
    if (m_strDocStrings.IsEmpty())
        m_strDocStrings.LoadString(AfxGetResourceHandle(), m_nIDResource);
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    if (!m_pDocClass)
        return nullptr;
    CObject* pObject = m_pDocClass->CreateObject();
    auto* pDoc = dynamic_cast<CDocument*>(pObject);
    if (!pDoc) {
        delete pObject;
        return nullptr;
    }
    AddDocument(pDoc);
    return pDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    if (!m_pFrameClass)
        return nullptr;
    CObject* pObject = m_pFrameClass->CreateObject();
    auto* pFrame = dynamic_cast<CFrameWnd*>(pObject);
    if (!pFrame) {
        delete pObject;
        return nullptr;
    }
    // A frame that fails to become a window has freed itself (PostNcDestroy).
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
    // The frame is visible now: it counts among the document's windows.
    if (pDoc)
        pDoc->UpdateFrameCounts();
}

BOOL CDocTemplate::SaveAllModified()
{
    POSITION pos = GetFirstDocPosition();
    while (pos)
        if (!GetNextDoc(pos)->SaveModified())
            return FALSE;
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL /*bEndSession*/)
{
    POSITION pos = GetFirstDocPosition();
    while (pos) {
        CDocument* pDoc = GetNextDoc(pos);
        pDoc->OnCloseDocument();
    }
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCSTR lpszPathName, CDocument*& rpDocMatch)
{
    rpDocMatch = nullptr;
    POSITION pos = GetFirstDocPosition();
    while (pos) {
        CDocument* pDoc = GetNextDoc(pos);
        if (pDoc->GetPathName().CompareNoCase(lpszPathName) == 0) {
            rpDocMatch = pDoc;
            return yesAlreadyOpen;
        }
    }
    CString ext;
    if (GetDocString(ext, filterExt) && !ext.IsEmpty()) {
        CString path = lpszPathName;
        int dot = path.ReverseFind('.');
        int slash = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
        if (dot > slash) {
            CString fileExt = path.Mid(dot);
            // "*.asm;*.inc" or ".asm"
            int start = 0;
            while (start < ext.GetLength()) {
                int semi = ext.Find(';', start);
                CString one = semi < 0 ? ext.Mid(start) : ext.Mid(start, semi - start);
                if (!one.IsEmpty() && one[0] == '*')
                    one = one.Mid(1);
                if (one.CompareNoCase(fileExt) == 0)
                    return yesAttemptNative;
                if (semi < 0)
                    break;
                start = semi + 1;
            }
        }
    }
    return yesAttemptForeign;
}

// ---------------------------------------------------------------------------
// CMultiDocTemplate

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                     CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass)
{
}

CMultiDocTemplate::~CMultiDocTemplate()
{
    // Documents left over lose their template (they are not deleted here).
    while (!m_docList.IsEmpty())
        RemoveDocument(static_cast<CDocument*>(m_docList.GetHead()));
    if (m_hMenuShared)
        ::DestroyMenu(m_hMenuShared);
    m_hMenuShared = nullptr;
}

void CMultiDocTemplate::LoadTemplate()
{
    CDocTemplate::LoadTemplate();
    HINSTANCE hInst = AfxGetResourceHandle();
    if (m_nIDResource && !m_hMenuShared)
        m_hMenuShared = ::LoadMenuA(hInst, MAKEINTRESOURCEA(m_nIDResource));
    if (m_nIDResource && !m_hAccelTable)
        m_hAccelTable = ::LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(m_nIDResource));
}

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const
{
    return static_cast<CDocument*>(m_docList.GetNext(rPos));
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc)
{
    CDocTemplate::AddDocument(pDoc);
    if (!m_docList.Find(pDoc))
        m_docList.AddTail(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc)
{
    CDocTemplate::RemoveDocument(pDoc);
    if (POSITION pos = m_docList.Find(pDoc))
        m_docList.RemoveAt(pos);
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString name;
    if (!GetDocString(name, docName) || name.IsEmpty())
        name = LoadFrameworkString(AFX_IDS_UNTITLED, "Untitled");
    CString title;
    title.Format("%s%u", (LPCSTR)name, m_nUntitledCount + 1);
    pDocument->SetTitle(title);
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible)
{
    CDocument* pDocument = CreateNewDocument();
    if (!pDocument) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        return nullptr;
    }
    // The document must survive a frame that fails half-way.
    BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE;
    CFrameWnd* pFrame = CreateNewFrame(pDocument, nullptr);
    pDocument->m_bAutoDelete = bAutoDelete;
    if (!pFrame) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC);
        delete pDocument;
        return nullptr;
    }
    if (!lpszPathName) {
        SetDefaultTitle(pDocument);
        if (!pDocument->OnNewDocument()) {
            pFrame->DestroyWindow();   // the document goes with its last view
            return nullptr;
        }
        ++m_nUntitledCount;
    } else {
        CWaitCursor wait;
        if (!pDocument->OnOpenDocument(lpszPathName)) {
            pFrame->DestroyWindow();
            return nullptr;
        }
        pDocument->SetPathName(lpszPathName);
    }
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}

// ---------------------------------------------------------------------------
// CSplitterWnd

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID)
{
    if (nRows < 1 || nCols < 1 || nRows > 16 || nCols > 16)
        return FALSE;
    m_nRows = nRows;
    m_nCols = nCols;
    CRect rc(0, 0, 0, 0);
    return CreateEx(0, AfxGetDefaultWndClass(), "", dwStyle | WS_CHILD | WS_CLIPCHILDREN, rc, pParentWnd, nID);
}

CWnd* CSplitterWnd::GetPane(int row, int col) const
{
    if (row < 0 || col < 0 || row >= m_nRows || col >= m_nCols)
        return nullptr;
    return GetDlgItem(AFX_IDW_PANE_FIRST + row * 16 + col);
}

BOOL CSplitterWnd::IsChildPane(CWnd* pWnd, int* pRow, int* pCol)
{
    if (!pWnd || ::GetParent(pWnd->m_hWnd) != m_hWnd)
        return FALSE;
    int id = pWnd->GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
    if (id < 0 || id / 16 >= m_nRows || id % 16 >= m_nCols)
        return FALSE;
    if (pRow)
        *pRow = id / 16;
    if (pCol)
        *pCol = id % 16;
    return TRUE;
}

CWnd* CSplitterWnd::GetActivePane(int* pRow, int* pCol)
{
    CWnd* pView = nullptr;
    if (CFrameWnd* pFrame = GetParentFrame())
        pView = pFrame->GetActiveView();
    if (!pView || !IsChildPane(pView, pRow, pCol)) {
        pView = GetFocus();
        if (!pView || !IsChildPane(pView, pRow, pCol))
            pView = nullptr;
    }
    return pView;
}

CScrollBar* CSplitterWnd::GetPaneScrollBar(CWnd* pPane, int nBar) const
{
    int row = 0, col = 0;
    if (!const_cast<CSplitterWnd*>(this)->IsChildPane(pPane, &row, &col))
        return nullptr;
    UINT id = nBar == SB_HORZ ? AFX_IDW_HSCROLL_FIRST + col : AFX_IDW_VSCROLL_FIRST + row;
    // The bar is a plain scroll-bar window; its wrapper adds no data.
    return reinterpret_cast<CScrollBar*>(GetDlgItem((int)id));
}
