#include "ide/workbench/IDEProjectWnd.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "ide/workbench/MainFrm.h"
#include "support/config/CStringHelpers.h"
#include <vector>

IMPLEMENT_DYNAMIC(C_IDEProjectWnd, TWKControlBar)

BEGIN_MESSAGE_MAP(C_IDEProjectWnd, TWKControlBar)
    ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

CString LoadText(UINT nID)
{
    CString s;
    s.LoadString(nID);
    return s;
}

// The "Text" documents of the application, in template order.
std::vector<CDocument*> TextDocuments()
{
    std::vector<CDocument*> docs;
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    CDocTemplate* pTemplate = pApp ? pApp->FindDocTemplate("Text") : nullptr;
    if (!pTemplate)
        return docs;
    POSITION pos = pTemplate->GetFirstDocPosition();
    while (pos)
        docs.push_back(pTemplate->GetNextDoc(pos));
    return docs;
}

// A Yes/No/Cancel question with the "Message:" caption.
int AskProjectQuestion(UINT nText)
{
    CWnd* pMain = AfxGetMainWnd();
    return ::MessageBoxA(pMain ? pMain->GetSafeHwnd() : nullptr, LoadText(nText), LoadText(IDS_CAPTION_MESSAGE),
                         MB_YESNOCANCEL);
}

void AddRecentProject(const CString& strPath)
{
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    if (pApp && pApp->m_pRecentProjectList)
        pApp->m_pRecentProjectList->Add(strPath);
}

}  // namespace

C_IDEProjectWnd::C_IDEProjectWnd() = default;
C_IDEProjectWnd::~C_IDEProjectWnd() = default;

int C_IDEProjectWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (TWKControlBar::OnCreate(lpcs) == -1)
        return -1;
    m_pFrame = dynamic_cast<CMainFrame*>(GetParentFrame());
    ReadKeywordFileTable();
    return 0;
}

void C_IDEProjectWnd::ReadKeywordFileTable()
{
    m_strConfigFile = CString(g_szAppDir) + "ZIDE.cfg";
    m_arrKeywordFiles.clear();
    for (int n = 0;; n++) {
        CString strKey;
        strKey.Format("ExtName%d", n);
        char szValue[100] = "";
        GetPrivateProfileStringA("Default_INI", strKey, "", szValue, sizeof szValue, m_strConfigFile);
        CString strValue(szValue);
        strValue.Remove(' ');
        if (strValue.IsEmpty())
            break;
        int nComma = strValue.Find(',');
        if (nComma < 0)
            m_arrKeywordFiles.emplace_back(strValue, CString());
        else
            m_arrKeywordFiles.emplace_back(strValue.Left(nComma), strValue.Mid(nComma + 1));
    }
}

I_ProjectMgr* C_IDEProjectWnd::GetProjectMgr() const
{
    return m_pFrame ? m_pFrame->GetProjectMgr() : nullptr;
}

BOOL C_IDEProjectWnd::LoadProject(LPCSTR lpszFolder, LPCSTR lpszFileName)
{
    m_strProjectFolder = lpszFolder;
    CString strName(lpszFileName);
    int nDot = strName.ReverseFind('.');
    m_strProjectName = nDot >= 0 ? strName.Left(nDot) : strName;
    I_ProjectMgr* pMgr = GetProjectMgr();
    m_pProjectTree = pMgr ? pMgr->GetProjectTree() : nullptr;
    if (!m_pProjectTree) {
        AfxMessageBox(IDS_LOAD_FILEINFO_FAILED, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    ReloadFileInfo();
    m_bModified = FALSE;
    return TRUE;
}

BOOL C_IDEProjectWnd::ReloadFileInfo()
{
    I_ProjectMgr* pMgr = GetProjectMgr();
    if (!pMgr || !pMgr->ReloadFileInfo()) {
        AfxMessageBox(IDS_LOAD_FILEINFO_FAILED, MB_OK | MB_ICONERROR);
        return FALSE;
    }
    return TRUE;
}

void C_IDEProjectWnd::CollectOpenPaths(CStringList& list, BOOL bAskSave, BOOL* pbRefused)
{
    for (CDocument* pDoc : TextDocuments()) {
        auto* pSource = dynamic_cast<CAsmIDEDoc*>(pDoc);
        if (pSource && pSource->m_Edit.IsReadOnly())
            continue;
        if (bAskSave && !pDoc->SaveModified()) {
            if (pbRefused)
                *pbRefused = TRUE;
            return;
        }
        if (!pDoc->GetPathName().IsEmpty())
            list.AddTail(pDoc->GetPathName());
    }
}

namespace {

// The paths as NUL-terminated strings with a final NUL; empty when there are none.
std::vector<char> MultiSz(CStringList& list)
{
    std::vector<char> buf;
    if (list.IsEmpty())
        return buf;
    buf.resize(CStringListToMultiSz(&list, nullptr) + 2);
    CStringListToMultiSz(&list, buf.data());
    return buf;
}

}  // namespace

void C_IDEProjectWnd::SaveProject()
{
    CStringList list;
    CollectOpenPaths(list, FALSE, nullptr);
    std::vector<char> buf = MultiSz(list);
    if (I_ProjectMgr* pMgr = GetProjectMgr())
        pMgr->SaveProject(buf.empty() ? nullptr : buf.data());
    m_bModified = FALSE;
    AddRecentProject(m_strProjectFolder + m_strProjectName + ".wbi");
}

BOOL C_IDEProjectWnd::CloseProject(BOOL bAsk)
{
    if (IsWorkspaceEmpty())
        return TRUE;
    CString strProject = m_strProjectFolder + m_strProjectName + ".wbi";
    BOOL bSave = FALSE;
    if (m_bModified) {
        int nAnswer = AskProjectQuestion(IDS_SAVE_CURRENT_PROJECT);
        if (nAnswer == IDCANCEL)
            return FALSE;
        if (nAnswer == IDYES) {
            bSave = TRUE;
            AddRecentProject(strProject);
        }
    }
    std::vector<CDocument*> docs = TextDocuments();
    CStringList list;
    if (!docs.empty()) {
        BOOL bKeep = FALSE;
        if (bAsk) {
            int nAnswer = AskProjectQuestion(IDS_CLOSE_ALL_DOCUMENTS);
            if (nAnswer == IDCANCEL)
                return FALSE;
            bKeep = nAnswer == IDNO;
        }
        BOOL bRefused = FALSE;
        CollectOpenPaths(list, !bKeep, &bRefused);
        if (bRefused)
            return FALSE;
        if (bKeep) {
            for (CDocument*& pReport : m_pReportDocs)
                if (pReport) {
                    CDocument* pDoc = pReport;
                    pReport = nullptr;
                    pDoc->OnCloseDocument();
                }
        } else {
            for (CDocument*& pReport : m_pReportDocs)
                pReport = nullptr;
            for (CDocument* pDoc : docs)
                pDoc->OnCloseDocument();
        }
    }
    DWORD dwAttr = GetFileAttributesA(strProject);
    BOOL bReadOnly = dwAttr != INVALID_FILE_ATTRIBUTES && (dwAttr & FILE_ATTRIBUTE_READONLY);
    if (bReadOnly && bSave
        && ::MessageBoxA(AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : nullptr,
                         "The project is read-only, do you want to save it?", "Warning",
                         MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES)
        SetFileAttributesA(strProject, FILE_ATTRIBUTE_NORMAL);
    std::vector<char> buf = MultiSz(list);
    if (I_ProjectMgr* pMgr = GetProjectMgr())
        pMgr->CloseProject(bSave, buf.empty() ? nullptr : buf.data());
    if (bReadOnly)
        SetFileAttributesA(strProject, dwAttr | FILE_ATTRIBUTE_READONLY);
    m_pProjectTree = nullptr;
    m_bModified = FALSE;
    if (m_pFrame) {
        for (int nPage = 0; nPage < 3; nPage++)
            m_pFrame->ClearOutputPage(nPage);
        m_pFrame->m_bProjectOpen = FALSE;
    }
    return TRUE;
}

CDocument* C_IDEProjectWnd::OpenSourceFile(LPCSTR lpszPath, int nLine, BOOL bReport, CWnd* pZOrder,
                                           BOOL bReportFailure)
{
    (void)nLine;
    (void)pZOrder;
    CDocument* pDoc = m_pFrame ? m_pFrame->FindOpenDocument(lpszPath) : nullptr;
    if (!pDoc) {
        auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
        pDoc = pApp ? pApp->OpenNewDocument("Text", lpszPath) : nullptr;
    }
    if (!pDoc) {
        if (bReportFailure) {
            CString strText;
            strText.Format(LoadText(IDS_OPEN_FILE_FAILED), lpszPath);
            ::MessageBoxA(AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : nullptr, strText,
                          LoadText(IDS_CAPTION_ERROR), MB_OK | MB_ICONERROR);
        }
        return nullptr;
    }
    if (bReport)
        if (auto* pSource = dynamic_cast<CAsmIDEDoc*>(pDoc))
            pSource->m_Edit.SetReadOnly(TRUE);
    return pDoc;
}

void C_IDEProjectWnd::ForgetReportDocument(CDocument* pDoc)
{
    for (CDocument*& pReport : m_pReportDocs)
        if (pReport == pDoc)
            pReport = nullptr;
}
