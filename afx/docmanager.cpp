// The application's templates and its file commands: New, Open, recent
// files, Print Setup and Exit.
#include "afx/docmanager.h"
#include "afx/app.h"
#include "afx/docview.h"
#include "afx/frame.h"
#include "afx/cmdline.h"
#include "afx/afxres.h"
#include <vector>

CDocManager::~CDocManager()
{
    POSITION pos = m_templateList.GetHeadPosition();
    while (pos) {
        auto* pTemplate = static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
        if (pTemplate->m_bAutoDelete)
            delete pTemplate;
    }
    m_templateList.RemoveAll();
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (!pTemplate || m_templateList.Find(pTemplate))
        return;
    pTemplate->LoadTemplate();
    m_templateList.AddTail(pTemplate);
}

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const
{
    return static_cast<CDocTemplate*>(m_templateList.GetNext(pos));
}

CDocument* CDocManager::OpenDocumentFile(LPCSTR lpszFileName)
{
    if (!lpszFileName || !*lpszFileName || m_templateList.IsEmpty())
        return nullptr;
    char full[MAX_PATH * 2];
    DWORD n = ::GetFullPathNameA(lpszFileName, sizeof full, full, nullptr);
    CString path = (n > 0 && n < sizeof full) ? CString(full) : CString(lpszFileName);

    CDocTemplate* pBest = nullptr;
    CDocTemplate::Confidence best = CDocTemplate::noAttempt;
    CDocument* pOpen = nullptr;
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        CDocument* pMatch = nullptr;
        CDocTemplate::Confidence c = pTemplate->MatchDocType(path, pMatch);
        if (c > best) {
            best = c;
            pBest = pTemplate;
            pOpen = pMatch;
        }
        if (c == CDocTemplate::yesAlreadyOpen)
            break;
    }
    if (best == CDocTemplate::yesAlreadyOpen && pOpen) {
        // Already open: bring its first view's frame forward.
        POSITION vpos = pOpen->GetFirstViewPosition();
        if (vpos) {
            CView* pView = pOpen->GetNextView(vpos);
            if (CFrameWnd* pFrame = pView->GetParentFrame())
                pFrame->ActivateFrame();
        }
        return pOpen;
    }
    if (!pBest)
        pBest = static_cast<CDocTemplate*>(m_templateList.GetHead());
    return pBest->OpenDocumentFile(path);
}

BOOL CDocManager::SaveAllModified()
{
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos)
        if (!GetNextDocTemplate(pos)->SaveAllModified())
            return FALSE;
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession)
{
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos)
        GetNextDocTemplate(pos)->CloseAllDocuments(bEndSession);
}

int CDocManager::GetOpenDocumentCount()
{
    int n = 0;
    POSITION pos = GetFirstDocTemplatePosition();
    while (pos) {
        CDocTemplate* pTemplate = GetNextDocTemplate(pos);
        POSITION dpos = pTemplate->GetFirstDocPosition();
        while (dpos) {
            pTemplate->GetNextDoc(dpos);
            ++n;
        }
    }
    return n;
}

// ---------------------------------------------------------------------------
// CWinApp: templates and documents.

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND(ID_FILE_NEW, OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
    ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
    ON_COMMAND_EX_RANGE(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, OnOpenRecentFile)
END_MESSAGE_MAP()

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate)
{
    if (!m_pDocManager)
        m_pDocManager = new CDocManager;
    m_pDocManager->AddDocTemplate(pTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return m_pDocManager ? m_pDocManager->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& pos) const
{
    return m_pDocManager ? m_pDocManager->GetNextDocTemplate(pos) : nullptr;
}

int CWinApp::GetOpenDocumentCount()
{
    return m_pDocManager ? m_pDocManager->GetOpenDocumentCount() : 0;
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName)
{
    return m_pDocManager ? m_pDocManager->OpenDocumentFile(lpszFileName) : nullptr;
}

BOOL CWinApp::SaveAllModified()
{
    return m_pDocManager ? m_pDocManager->SaveAllModified() : TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession)
{
    if (m_pDocManager)
        m_pDocManager->CloseAllDocuments(bEndSession);
}

void CWinApp::AddToRecentFileList(LPCSTR lpszPathName)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(lpszPathName);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU > 16)
        nMaxMRU = 16;
    if (nMaxMRU > 0) {
        m_pRecentFileList = new CRecentFileList(ID_FILE_MRU_FILE1, "Recent File List", "File%d", (int)nMaxMRU);
        m_pRecentFileList->ReadList();
    }
    m_nNumPreviewPages = GetProfileInt("Settings", "PreviewPages", 0);
}

void CWinApp::SaveStdProfileSettings()
{
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
}

void CWinApp::DestroyDocState()
{
    delete m_pDocManager;
    m_pDocManager = nullptr;
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (m_hDevMode)
        ::GlobalFree(m_hDevMode);
    if (m_hDevNames)
        ::GlobalFree(m_hDevNames);
    m_hDevMode = m_hDevNames = nullptr;
}

namespace {

// "Name (*.ext)\0*.ext\0" for every template with a filter, then all files.
std::string BuildFilter(CWinApp* pApp, CDocTemplate* pOnly)
{
    std::string filter;
    POSITION pos = pApp->GetFirstDocTemplatePosition();
    while (pos) {
        CDocTemplate* pTemplate = pApp->GetNextDocTemplate(pos);
        if (pOnly && pTemplate != pOnly)
            continue;
        CString name, ext;
        if (pTemplate->GetDocString(name, CDocTemplate::filterName) && !name.IsEmpty() &&
            pTemplate->GetDocString(ext, CDocTemplate::filterExt) && !ext.IsEmpty()) {
            CString pattern = ext[0] == '.' ? "*" + ext : ext;
            filter += (LPCSTR)name;
            filter += '\0';
            filter += (LPCSTR)pattern;
            filter += '\0';
        }
    }
    CString all;
    if (!all.LoadString(AfxGetResourceHandle(), AFX_IDS_ALLFILTER))
        all = "All Files (*.*)";
    filter += (LPCSTR)all;
    filter += '\0';
    filter += "*.*";
    filter += '\0';
    filter += '\0';
    return filter;
}

} // namespace

BOOL CWinApp::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate)
{
    std::string filter = BuildFilter(this, bOpenFileDialog ? nullptr : pTemplate);
    CString title;
    title.LoadString(AfxGetResourceHandle(), nIDSTitle);
    std::vector<char> buf(MAX_PATH * 4, 0);
    lstrcpynA(buf.data(), fileName, (int)buf.size());
    CString defExt;
    if (pTemplate && pTemplate->GetDocString(defExt, CDocTemplate::filterExt)) {
        int semi = defExt.Find(';');
        if (semi >= 0)
            defExt = defExt.Left(semi);
        while (!defExt.IsEmpty() && (defExt[0] == '*' || defExt[0] == '.'))
            defExt = defExt.Mid(1);
    }

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = buf.data();
    ofn.nMaxFile = (DWORD)buf.size();
    ofn.lpstrTitle = title.IsEmpty() ? nullptr : (LPCSTR)title;
    ofn.lpstrDefExt = defExt.IsEmpty() ? nullptr : (LPCSTR)defExt;
    ofn.Flags = lFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    BOOL ok = bOpenFileDialog ? ::GetOpenFileNameA(&ofn) : ::GetSaveFileNameA(&ofn);
    if (ok)
        fileName = buf.data();
    return ok;
}

void CWinApp::OnFileNew()
{
    if (!m_pDocManager || m_pDocManager->m_templateList.IsEmpty())
        return;
    // The first template makes the new document.
    auto* pTemplate = static_cast<CDocTemplate*>(m_pDocManager->m_templateList.GetHead());
    pTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen()
{
    CString name;
    if (!DoPromptFileName(name, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
        return;
    OpenDocumentFile(name);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd && m_pMainWnd->GetSafeHwnd())
        m_pMainWnd->SendMessage(WM_CLOSE);
}

BOOL CWinApp::OnOpenRecentFile(UINT nID)
{
    if (!m_pRecentFileList)
        return FALSE;
    int nIndex = (int)nID - ID_FILE_MRU_FILE1;
    if (nIndex < 0 || nIndex >= m_pRecentFileList->GetSize())
        return FALSE;
    CString path = (*m_pRecentFileList)[nIndex];
    if (path.IsEmpty())
        return TRUE;
    // A file that cannot be opened leaves the list.
    if (!OpenDocumentFile(path))
        m_pRecentFileList->Remove(nIndex);
    return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI)
{
    if (!m_pRecentFileList) {
        pCmdUI->Enable(FALSE);
        return;
    }
    m_pRecentFileList->UpdateMenu(pCmdUI);
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pPrintDlg)
{
    if (!m_hDevNames) {
        PRINTDLGA pd = {};
        pd.lStructSize = sizeof pd;
        pd.Flags = PD_RETURNDEFAULT;
        if (!::PrintDlgA(&pd))
            return FALSE;
        m_hDevMode = pd.hDevMode;
        m_hDevNames = pd.hDevNames;
    }
    pPrintDlg->hDevMode = m_hDevMode;
    pPrintDlg->hDevNames = m_hDevNames;
    return TRUE;
}

BOOL CWinApp::CreatePrinterDC(CDC& dc)
{
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof pd;
    if (!GetPrinterDeviceDefaults(&pd) || !pd.hDevNames)
        return FALSE;
    auto* pNames = static_cast<DEVNAMES*>(::GlobalLock(pd.hDevNames));
    if (!pNames)
        return FALSE;
    auto* pMode = pd.hDevMode ? static_cast<DEVMODEA*>(::GlobalLock(pd.hDevMode)) : nullptr;
    LPCSTR base = reinterpret_cast<LPCSTR>(pNames);
    HDC hdc = ::CreateDCA(base + pNames->wDriverOffset, base + pNames->wDeviceOffset,
                          nullptr, pMode);
    if (pMode)
        ::GlobalUnlock(pd.hDevMode);
    ::GlobalUnlock(pd.hDevNames);
    return hdc && dc.Attach(hdc);
}

void CWinApp::OnFilePrintSetup()
{
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof pd;
    pd.hwndOwner = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
    pd.Flags = PD_PRINTSETUP;
    GetPrinterDeviceDefaults(&pd);
    if (::PrintDlgA(&pd)) {
        // The dialog may hand back new blocks for the chosen printer.
        if (m_hDevMode && m_hDevMode != pd.hDevMode)
            ::GlobalFree(m_hDevMode);
        if (m_hDevNames && m_hDevNames != pd.hDevNames)
            ::GlobalFree(m_hDevNames);
        m_hDevMode = pd.hDevMode;
        m_hDevNames = pd.hDevNames;
    }
}
