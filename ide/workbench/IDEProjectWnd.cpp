#include "ide/workbench/IDEProjectWnd.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "ide/workbench/IDEEditView.h"
#include "ide/workbench/MainFrm.h"
#include "ide/output/MessageBar.h"
#include "support/config/CStringHelpers.h"
#include "support/system/LanguageInfo.h"
#include <vector>

IMPLEMENT_DYNAMIC(C_IDEProjectWnd, TWKControlBar)

BEGIN_MESSAGE_MAP(C_IDEProjectWnd, TWKControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_CONTEXTMENU()
    ON_COMMAND(ID_OUTPUT_CLEAR, OnClearSwallowed)
    ON_MESSAGE(WM_PROJECTWND_DONE, OnThreadDone)
    ON_COMMAND_RANGE(ID_FILEVIEW_INCLUDED_FIRST, ID_FILEVIEW_EMBEDDED_FIRST - 1, OnIncludedFile)
    ON_COMMAND_RANGE(ID_FILEVIEW_EMBEDDED_FIRST, ID_FILEVIEW_EQUATION_FIRST - 1, OnEmbeddedFile)
    ON_COMMAND_RANGE(ID_FILEVIEW_EQUATION_FIRST, ID_FILEVIEW_EQUATION_LAST, OnEquationFile)
    ON_COMMAND_RANGE(ID_FILEVIEW_FILE_ACTION_FIRST, ID_FILEVIEW_SUBFOLDER_ACTION_FIRST - 1, OnFileAction)
    ON_COMMAND_RANGE(ID_FILEVIEW_SUBFOLDER_ACTION_FIRST, ID_FILEVIEW_FOLDER_ACTION_FIRST - 1, OnSubFolderAction)
    ON_COMMAND_RANGE(ID_FILEVIEW_FOLDER_ACTION_FIRST, ID_FILEVIEW_FOLDER_ACTION_LAST, OnFolderAction)
END_MESSAGE_MAP()

namespace {

CString LoadText(UINT nID)
{
    CString s;
    s.LoadString(nID);
    return s;
}

HWND MainHwnd()
{
    CWnd* pMain = AfxGetMainWnd();
    return pMain ? pMain->GetSafeHwnd() : nullptr;
}

// A Yes/No/Cancel question with the "Message:" caption.
int AskProjectQuestion(UINT nText)
{
    return ::MessageBoxA(MainHwnd(), LoadText(nText), LoadText(IDS_CAPTION_MESSAGE), MB_YESNOCANCEL);
}

void AddRecentProject(const CString& strPath)
{
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    if (pApp && pApp->m_pRecentProjectList)
        pApp->m_pRecentProjectList->Add(strPath);
}

void ShowError(UINT nText, LPCSTR lpszArg = nullptr)
{
    CString strText = LoadText(nText);
    if (lpszArg) {
        CString strFormat = strText;
        strText.Format(strFormat, lpszArg);
    }
    ::MessageBoxA(MainHwnd(), strText, LoadText(IDS_CAPTION_ERROR), MB_OK | MB_ICONERROR);
}

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

// The store's line node at a 1-based number, NULL outside the text.
TWKEditLine* LineAt(TWKEdit& store, int nLine)
{
    return nLine >= 1 && nLine <= store.GetLineCount() ? store.GetLine(nLine) : nullptr;
}

}  // namespace

std::vector<CDocument*> C_IDEProjectWnd::GetTextDocuments()
{
    std::vector<CDocument*> docs;
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    CDocTemplate* pTemplate = pApp ? pApp->FindDocTemplate("Text") : nullptr;
    for (POSITION pos = pTemplate ? pTemplate->GetFirstDocPosition() : nullptr; pos;)
        docs.push_back(pTemplate->GetNextDoc(pos));
    return docs;
}

// ---------------------------------------------------------------- line ties

DWORD C_IDELineTies::Tie(tagMessageRecord* pRecord, TWKEdit* pStore, TWKEditLine* pLine)
{
    if (!pRecord)
        return 0;
    Release(pRecord);
    if (!pStore || !pLine)
        return 0;
    DWORD dwKey = m_dwNextKey++;
    if (m_dwNextKey == 0)
        m_dwNextKey = 1;
    m_ties[dwKey] = { pStore, pLine };
    pRecord->receiverWord = dwKey;
    return dwKey;
}

BOOL C_IDELineTies::Find(const tagMessageRecord* pRecord, Entry* pTie) const
{
    auto it = pRecord && pRecord->receiverWord ? m_ties.find(pRecord->receiverWord) : m_ties.end();
    if (it == m_ties.end())
        return FALSE;
    if (pTie)
        *pTie = it->second;
    return TRUE;
}

void C_IDELineTies::ReleaseKey(DWORD dwKey)
{
    m_ties.erase(dwKey);
}

void C_IDELineTies::Release(tagMessageRecord* pRecord)
{
    if (!pRecord)
        return;
    ReleaseKey(pRecord->receiverWord);
    pRecord->receiverWord = 0;
}

void C_IDELineTies::CutStore(TWKEdit* pStore)
{
    for (auto it = m_ties.begin(); it != m_ties.end();)
        it = it->second.pStore == pStore ? m_ties.erase(it) : std::next(it);
}

void C_IDELineTies::CutLine(TWKEditLine* pLine)
{
    for (auto it = m_ties.begin(); it != m_ties.end();)
        it = it->second.pLine == pLine ? m_ties.erase(it) : std::next(it);
}

void C_IDELineTies::Clear()
{
    m_ties.clear();
}

int C_IDELineTies::GetCount() const
{
    return (int)m_ties.size();
}

// ---------------------------------------------------------------- the bar

C_IDEProjectWnd* C_IDEProjectWnd::s_pTieOwner = nullptr;

C_IDEProjectWnd::C_IDEProjectWnd() = default;

C_IDEProjectWnd::~C_IDEProjectWnd()
{
    if (s_pTieOwner == this) {
        s_pTieOwner = nullptr;
        g_pfnOutputRecordDropped = nullptr;
    }
}

void C_IDEProjectWnd::OnOutputRecordDropped(tagMessageRecord* pRecord)
{
    if (s_pTieOwner)
        s_pTieOwner->m_lineTies.Release(pRecord);
}

int C_IDEProjectWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (TWKControlBar::OnCreate(lpcs) == -1)
        return -1;
    m_pFrame = dynamic_cast<CMainFrame*>(GetParentFrame());
    // The output window's records hold keys into this window's line ties.
    s_pTieOwner = this;
    g_pfnOutputRecordDropped = OnOutputRecordDropped;
    if (m_wndTabs.Create(this, WS_CHILD | WS_VISIBLE | 0x10, 0xE900)
        && m_wndFileView.Create(WS_CHILD | WS_VISIBLE | 7, TWKTVS_EX_MULTISELECT, CRect(0, 0, 0, 0), &m_wndTabs,
                                0xE802)) {
        m_wndFileView.SetIndent(24);
        m_wndTabs.AddTab(&m_wndFileView, "Source Files");
        m_wndTabs.SetTabIcon(0, IDI_PROJECT_TAB, 16, 16);
        if (m_fontTabs.CreateFont(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, OUT_TT_ONLY_PRECIS, 0, 0, 0,
                                  "System")) {
            m_wndTabs.SetActiveTabFont(&m_fontTabs, FALSE);
            m_wndTabs.SetTabFont(&m_fontTabs, FALSE);
        }
        m_wndTabs.ActivateTab(0);
    }
    ReadKeywordFileTable();
    return 0;
}

void C_IDEProjectWnd::OnSize(UINT nType, int cx, int cy)
{
    if (m_wndTabs.m_hWnd) {
        int nActive = 0;
        m_wndTabs.GetActiveTabIndex(nActive);
        for (int i = 0; i < m_wndTabs.GetTabCount(); i++)
            m_wndTabs.ActivateTab(i);
        if (m_wndTabs.GetTabCount() > 0)
            m_wndTabs.ActivateTab(nActive);
        CRect rc;
        GetInsideRect(rc);
        m_wndTabs.SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    TWKControlBar::OnSize(nType, cx, cy);
}

void C_IDEProjectWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    CWnd* pActive = nullptr;
    if (m_wndTabs.m_hWnd && m_wndTabs.GetActiveTabWnd(pActive) && pActive)
        pActive->SetFocus();
    TWKControlBar::OnLButtonDown(nFlags, point);
}

void C_IDEProjectWnd::OnContextMenu(CWnd* pWnd, CPoint point)
{
    if (pWnd == this && m_pFrame) {
        m_pFrame->SendMessage(WM_CONTEXTMENU, (WPARAM)pWnd->GetSafeHwnd(), MAKELPARAM(point.x, point.y));
        return;
    }
    TWKControlBar::OnContextMenu(pWnd, point);
}

void C_IDEProjectWnd::OnClearSwallowed() {}

BOOL C_IDEProjectWnd::IsOwnCommand(UINT nID)
{
    // Clear lies inside the popup range but is the output window's: the bar
    // would swallow it and the frame's Clear would never reach the page.
    if (nID == ID_OUTPUT_CLEAR)
        return FALSE;
    return (nID >= 40011 && nID <= 40015) || (nID >= 40018 && nID <= 40022)
           || (nID >= ID_FILEVIEW_FILE_ACTION_FIRST && nID <= ID_FILEVIEW_FOLDER_ACTION_LAST)
           || (nID >= ID_FILEVIEW_INCLUDED_FIRST && nID <= ID_FILEVIEW_EQUATION_LAST);
}

BOOL C_IDEProjectWnd::IsPopupFileCommand(UINT nID)
{
    return nID >= ID_FILEVIEW_EMBEDDED_FIRST && nID <= ID_FILEVIEW_EQUATION_LAST;
}

void C_IDEProjectWnd::OnPopupFileSelect(CMenu*, UINT nID, int nPos)
{
    if (nID >= ID_FILEVIEW_EMBEDDED_FIRST && nID <= ID_FILEVIEW_EMBEDDED_LAST)
        m_nEmbeddedPos = nPos >= 2 ? nPos - 1 : nPos;
    else if (nID >= ID_FILEVIEW_EQUATION_FIRST && nID <= ID_FILEVIEW_EQUATION_LAST)
        m_nEquationPos = nPos;
}

BOOL C_IDEProjectWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    BOOL bTree = (nID >= 40011 && nID <= 40015) || (nID >= 40018 && nID <= 40022);
    if (bTree && m_wndFileView.m_hWnd && m_wndFileView.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return TWKControlBar::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL C_IDEProjectWnd::IsFocusOnTree()
{
    return m_wndFileView.m_hWnd && ::GetFocus() == m_wndFileView.m_hWnd;
}

void C_IDEProjectWnd::SelectAllInTree()
{
    m_wndFileView.SelectAll();
}

void C_IDEProjectWnd::SetProjectModified(BOOL bModified)
{
    m_wndFileView.SetModified(bModified);
}

BOOL C_IDEProjectWnd::IsProjectModified() const
{
    return m_wndFileView.IsModified();
}

BOOL C_IDEProjectWnd::IsWorkspaceEmpty() const
{
    return m_wndFileView.IsEmpty();
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

// ---------------------------------------------------------------- new, load, reload, save, close

void C_IDEProjectWnd::NewProject(LPCSTR lpszFolder, LPCSTR lpszName, LPCSTR lpszPart, int nKind, BOOL bTemplate,
                                 LPCSTR lpszTemplate)
{
    if (m_pFrame)
        m_pFrame->ClearOutputPage(2);
    m_strProjectFolder = lpszFolder;
    CString strName(lpszName);
    int nDot = strName.Find('.');
    m_strProjectName = nDot >= 0 ? strName.Left(nDot) : strName;
    I_ProjectMgr* pMgr = GetProjectMgr();
    if (!pMgr)
        return;
    BOOL bOk;
    if (nKind == PM_KIND_OBJ)
        bOk = pMgr->CreateObjProject(CString(lpszFolder) + lpszName, lpszPart);
    else if (bTemplate)
        bOk = pMgr->CreateFromTemplate(lpszFolder, lpszName, lpszPart, (DWORD)nKind, lpszTemplate);
    else
        bOk = pMgr->CreateProject(lpszFolder, lpszName, lpszPart, (DWORD)nKind);
    if (!bOk)
        return;
    m_pProjectTree = pMgr->GetProjectTree();
    if (!m_pProjectTree) {
        ShowError(IDS_LOAD_FILEINFO_FAILED);
        return;
    }
    ReloadFileInfo();
    SetProjectModified(TRUE);
    if (m_pFrame)
        m_pFrame->m_bProjectOpen = TRUE;
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
        ShowError(IDS_LOAD_FILEINFO_FAILED);
        return FALSE;
    }
    ApplySyntaxToDocuments();
    ReloadFileInfo();
    SetProjectModified(FALSE);
    return TRUE;
}

BOOL C_IDEProjectWnd::ReloadFileInfo()
{
    if (m_wndFileView.m_hWnd && m_pProjectTree)
        m_wndFileView.ShowProject(m_pProjectTree);
    if (m_pFrame)
        m_wndFileView.SetOptions(m_pFrame->m_dwNameWithoutSpace);
    I_ProjectMgr* pMgr = GetProjectMgr();
    if (!pMgr || !pMgr->ReloadFileInfo()) {
        ShowError(IDS_LOAD_FILEINFO_FAILED);
        return FALSE;
    }
    return TRUE;
}

void C_IDEProjectWnd::CollectOpenPaths(CStringList& list, BOOL bAskSave, BOOL* pbRefused)
{
    for (CDocument* pDoc : GetTextDocuments()) {
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

void C_IDEProjectWnd::SaveProject()
{
    CStringList list;
    CollectOpenPaths(list, FALSE, nullptr);
    std::vector<char> buf = MultiSz(list);
    if (I_ProjectMgr* pMgr = GetProjectMgr())
        pMgr->SaveProject(buf.empty() ? nullptr : buf.data());
    SetProjectModified(FALSE);
    AddRecentProject(m_strProjectFolder + m_strProjectName + ".wbi");
}

BOOL C_IDEProjectWnd::CloseProject(BOOL bAsk)
{
    if (IsWorkspaceEmpty() && !m_pProjectTree)
        return TRUE;
    CString strProject = m_strProjectFolder + m_strProjectName + ".wbi";
    BOOL bSave = FALSE;
    if (IsProjectModified()) {
        int nAnswer = AskProjectQuestion(IDS_SAVE_CURRENT_PROJECT);
        if (nAnswer == IDCANCEL)
            return FALSE;
        if (nAnswer == IDYES) {
            bSave = TRUE;
            AddRecentProject(strProject);
        }
    }
    std::vector<CDocument*> docs = GetTextDocuments();
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
            CloseReportDocuments();
        } else {
            for (CDocument*& pReport : m_pReportDocs)
                pReport = nullptr;
            for (CDocument* pDoc : docs) {
                ForgetDocument(pDoc);
                pDoc->OnCloseDocument();
            }
        }
    }
    DWORD dwAttr = GetFileAttributesA(strProject);
    BOOL bReadOnly = dwAttr != INVALID_FILE_ATTRIBUTES && (dwAttr & FILE_ATTRIBUTE_READONLY);
    if (bReadOnly && bSave
        && ::MessageBoxA(MainHwnd(), "The project is read-only, do you want to save it?", "Warning",
                         MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES)
        SetFileAttributesA(strProject, FILE_ATTRIBUTE_NORMAL);
    std::vector<char> buf = MultiSz(list);
    if (I_ProjectMgr* pMgr = GetProjectMgr())
        pMgr->CloseProject(bSave, buf.empty() ? nullptr : buf.data());
    if (bReadOnly)
        SetFileAttributesA(strProject, dwAttr | FILE_ATTRIBUTE_READONLY);
    m_pProjectTree = nullptr;
    if (m_wndFileView.m_hWnd)
        m_wndFileView.Reset();
    else
        m_wndFileView.SetModified(FALSE);
    if (m_pFrame) {
        for (int nPage = 0; nPage < 3; nPage++)
            m_pFrame->ClearOutputPage(nPage);
        m_pFrame->m_bProjectOpen = FALSE;
    }
    m_lineTies.Clear();
    return TRUE;
}

void C_IDEProjectWnd::CloseReportDocuments()
{
    for (CDocument*& pReport : m_pReportDocs)
        if (pReport) {
            CDocument* pDoc = pReport;
            pReport = nullptr;
            ForgetDocument(pDoc);
            pDoc->OnCloseDocument();
        }
}

// ---------------------------------------------------------------- documents

CDocument* C_IDEProjectWnd::FindOrOpenDocument(LPCSTR lpszPath, BOOL bReportFailure)
{
    CDocument* pDoc = m_pFrame ? m_pFrame->FindOpenDocument(lpszPath) : nullptr;
    if (pDoc)
        return pDoc;
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    pDoc = pApp && lpszPath && *lpszPath ? pApp->OpenNewDocument("Text", lpszPath) : nullptr;
    if (!pDoc) {
        if (bReportFailure)
            ShowError(IDS_OPEN_FILE_FAILED, lpszPath);
        return nullptr;
    }
    if (m_pFrame)
        m_pFrame->MarkErrorsInDocuments(pDoc);
    return pDoc;
}

CDocument* C_IDEProjectWnd::OpenSourceFile(LPCSTR lpszPath, int nLine, BOOL bReport, const CWnd* pZOrder,
                                           BOOL bReportFailure)
{
    CDocument* pDoc = FindOrOpenDocument(lpszPath, bReportFailure);
    if (!pDoc)
        return nullptr;
    CView* pView = ChooseView(pDoc);
    if (!pView)
        return nullptr;
    if (pZOrder) {
        CFrameWnd* pChild = pView->GetParentFrame();
        if (pZOrder == &CWnd::wndTop) {
            if (auto* pMDIChild = dynamic_cast<CMDIChildWnd*>(pChild)) {
                pMDIChild->MDIActivate();
                if (pMDIChild->IsIconic())
                    pMDIChild->MDIRestore();
            }
        } else if (pChild) {
            pChild->SetWindowPos(pZOrder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    SetExecutionLine(pView, nLine);
    if (bReport)
        MarkReport(pDoc);
    return pDoc;
}

BOOL C_IDEProjectWnd::OpenSourceFile(LPCSTR pszPath)
{
    return OpenSourceFile(pszPath, 0, FALSE, &CWnd::wndTop, TRUE) != nullptr;
}

CDocument* C_IDEProjectWnd::OpenFileAtRecord(LPCSTR pszPath, tagMessageRecord* pRecord, BOOL bReport)
{
    auto* pSource = dynamic_cast<CAsmIDEDoc*>(FindOrOpenDocument(pszPath, TRUE));
    if (!pSource)
        return nullptr;
    int nLine = pRecord ? FollowRecordLine(pSource->m_Edit, pRecord) : -1;
    return OpenSourceFile(pszPath, nLine, bReport, &CWnd::wndTop, TRUE);
}

int C_IDEProjectWnd::FollowRecordLine(TWKEdit& store, tagMessageRecord* pRecord)
{
    int nCount = store.GetLineCount();
    int nLine = pRecord->line;
    // Numbers are read only when current; the store's own commands keep them so.
    TWKEdit::RenumberLines(store.GetFirstLine());
    C_IDELineTies::Entry tie;
    if (m_lineTies.Find(pRecord, &tie) && tie.pStore == &store) {
        // The tied node is compared with live lines only: a node that went away is never read.
        TWKEditLine* pDown = LineAt(store, nLine < 1 ? 1 : (nLine > nCount ? nCount : nLine));
        TWKEditLine* pUp = pDown;
        for (int nStep = 0; nStep <= 50 && (pDown || pUp); nStep++) {
            if (pDown == tie.pLine || pUp == tie.pLine) {
                nLine = TWKEdit::GetLineNo(pDown == tie.pLine ? pDown : pUp);
                break;
            }
            pDown = pDown ? pDown->pNext : nullptr;
            pUp = pUp ? pUp->pPrev : nullptr;
        }
    } else {
        if (m_lineTies.Find(pRecord, nullptr))
            m_lineTies.Release(pRecord);   // tied to another store: that document went
        if (TWKEditLine* pLine = LineAt(store, nLine))
            m_lineTies.Tie(pRecord, &store, pLine);
    }
    if (nLine > nCount)
        nLine = nCount;
    return nLine;
}

void C_IDEProjectWnd::ForgetReportDocument(CDocument* pDoc)
{
    for (CDocument*& pReport : m_pReportDocs)
        if (pReport == pDoc)
            pReport = nullptr;
}

void C_IDEProjectWnd::ForgetDocument(CDocument* pDoc)
{
    ForgetReportDocument(pDoc);
    if (auto* pSource = dynamic_cast<CAsmIDEDoc*>(pDoc))
        m_lineTies.CutStore(&pSource->m_Edit);
}

CView* C_IDEProjectWnd::ChooseView(CDocument* pDoc)
{
    CView* pLast = nullptr;
    POSITION pos = pDoc->GetFirstViewPosition();
    while (pos) {
        CView* pView = pDoc->GetNextView(pos);
        auto* pEdit = dynamic_cast<C_IDEEditView*>(pView);
        if (pEdit && pEdit->IsActive())
            return pView;
        pLast = pView;
    }
    return pLast;
}

void C_IDEProjectWnd::SetExecutionLine(CView* pView, int nLine)
{
    if (auto* pEdit = dynamic_cast<C_IDEEditView*>(pView))
        pEdit->SetPCLine(nLine);
}

void C_IDEProjectWnd::MarkReport(CDocument* pDoc)
{
    if (auto* pSource = dynamic_cast<CAsmIDEDoc*>(pDoc)) {
        pSource->m_bReportDoc = TRUE;
        pSource->m_Edit.SetReadOnly(TRUE);
    }
}

void C_IDEProjectWnd::NoteSyntaxApplied(CDocument* pDoc, BOOL bApplied)
{
    if (auto* pSource = dynamic_cast<CAsmIDEDoc*>(pDoc))
        pSource->m_bSyntaxApplied = bApplied;
}

// ---------------------------------------------------------------- editor syntax

BOOL C_IDEProjectWnd::SetEditorSyntax(TWKEdit* pStore, LPCSTR lpszPath)
{
    if (!pStore)
        return FALSE;
    I_ProjectMgr* pMgr = GetProjectMgr();
    I_PMLanguage* pLanguage = pMgr && lpszPath ? pMgr->GetLanguage(lpszPath) : nullptr;
    std::shared_ptr<C_LanguageInfo> pInfo;
    if (!pLanguage) {
        CString strPath(lpszPath ? lpszPath : "");
        int nDot = strPath.ReverseFind('.');
        CString strExt = nDot >= 0 ? strPath.Mid(nDot + 1) : CString();
        CString strKeywordFile = "Default.ini";
        for (const auto& entry : m_arrKeywordFiles)
            if (!strExt.IsEmpty() && entry.first.CompareNoCase(strExt) == 0 && !entry.second.IsEmpty()) {
                strKeywordFile = entry.second;
                break;
            }
        CString strFile = CString(g_szAppDir) + strKeywordFile;
        C_FileStamp stamp = C_FileStamp::Of(strFile);
        BOOL bKept = m_pFolderLanguage && stamp.Same(m_stampFolderLanguage) &&
                     m_strFolderLanguageFile.CompareNoCase(strFile) == 0;
        if (bKept) {
            pInfo = m_pFolderLanguage;
        } else {
            pInfo = std::make_shared<C_LanguageInfo>();
            bKept = pInfo->Load(g_szAppDir, strKeywordFile + ",ChipBody");
            m_pFolderLanguage = bKept ? pInfo : nullptr;
            m_strFolderLanguageFile = strFile;
            m_stampFolderLanguage = stamp;
        }
        if (bKept)
            pLanguage = pInfo->HasExtension("ChipBody");
    }
    CWinApp* pApp = AfxGetApp();
    if (pLanguage && pApp) {
        CString strSection;
        strSection.Format("Editor\\%s Files", pLanguage->GetName());
        pApp->WriteProfileInt(strSection, "Chroma", 1);
        pApp->WriteProfileString(strSection, "Keywords", pLanguage->GetKeywordFile());
        pApp->WriteProfileString(strSection, "Extra word chars", pLanguage->GetExtraChars());
        pApp->WriteProfileString(strSection, "Comment Start 1", pLanguage->GetCommentStart1());
        pApp->WriteProfileString(strSection, "Comment End 1", pLanguage->GetCommentEnd1());
        pApp->WriteProfileString(strSection, "Quote", pLanguage->GetQuoteColor());
        if (*pLanguage->GetCommentStart2()) {
            pApp->WriteProfileString(strSection, "Comment Start 2", pLanguage->GetCommentStart2());
            pApp->WriteProfileString(strSection, "Comment End 2", pLanguage->GetCommentEnd2());
        }
        pApp->WriteProfileInt(strSection, "Case", (int)pLanguage->IsCaseSensitive());
        pApp->WriteProfileInt(strSection, "Tab size", (int)pLanguage->GetTabSize());
        pStore->SetProfileSection(strSection);
    }
    pStore->LoadSettings();
    return pLanguage != nullptr;
}

void C_IDEProjectWnd::ApplySyntaxToDocuments()
{
    for (CDocument* pDoc : GetTextDocuments()) {
        auto* pSource = dynamic_cast<CAsmIDEDoc*>(pDoc);
        if (!pSource)
            continue;
        BOOL bApplied = SetEditorSyntax(&pSource->m_Edit, pDoc->GetPathName());
        NoteSyntaxApplied(pSource, bApplied);
        pDoc->UpdateAllViews(nullptr);
        POSITION pos = pDoc->GetFirstViewPosition();
        while (pos)
            if (CView* pView = pDoc->GetNextView(pos))
                pView->Invalidate();
    }
}

// ---------------------------------------------------------------- the tree's requests

BOOL C_IDEProjectWnd::RemoveFileFromProject(LPCSTR pszPath, int nFolder, int nSubFolder)
{
    I_ProjectMgr* pMgr = GetProjectMgr();
    if (!pMgr)
        return FALSE;
    C_CUStringList one;
    one.Add(pszPath);
    return pMgr->RemoveFiles(&one, nFolder, nSubFolder);
}

BOOL C_IDEProjectWnd::AddFilesToProject(I_CUStringList* pPaths, LPCSTR pszFolder, LPCSTR pszSubFolder)
{
    I_ProjectMgr* pMgr = GetProjectMgr();
    if (!pMgr || !pPaths)
        return FALSE;
    C_CUStringList copy;
    for (int i = 0; i < pPaths->GetCount(); i++)
        copy.Add(pPaths->GetAt(i));
    return pMgr->AddFiles(&copy, pszFolder, pszSubFolder);
}

void C_IDEProjectWnd::GetIncludedFiles(LPCSTR pszPath, C_CUStringList* pList)
{
    if (I_ProjectMgr* pMgr = GetProjectMgr())
        pMgr->GetIncludedFiles(pszPath, pList);
}

void C_IDEProjectWnd::GetEmbeddedFiles(LPCSTR pszPath, C_CUStringList* pList)
{
    if (I_ProjectMgr* pMgr = GetProjectMgr())
        pMgr->GetEmbeddedFiles(pszPath, pList);
}

I_PMSourceFile* C_IDEProjectWnd::GetSourceFileObject(LPCSTR pszPath)
{
    I_ProjectMgr* pMgr = GetProjectMgr();
    I_PMFileObjects* pObjects = pMgr ? pMgr->GetFileObjects() : nullptr;
    return pObjects ? pObjects->GetSourceFile(pszPath) : nullptr;
}

I_PMEquationSet* C_IDEProjectWnd::GetEquationObject(LPCSTR pszPath)
{
    I_ProjectMgr* pMgr = GetProjectMgr();
    I_PMFileObjects* pObjects = pMgr ? pMgr->GetFileObjects() : nullptr;
    return pObjects ? pObjects->GetEquations(pszPath) : nullptr;
}

void C_IDEProjectWnd::NotifyMenuEntry(CMenu* pMenu, UINT nID, LPCSTR pszFolder, LPCSTR pszPath, int nAction)
{
    I_ProjectMgr* pMgr = GetProjectMgr();
    if (!pMgr)
        return;
    tagPMFileActionRecord record = { (UINT_PTR)pMenu, nID, (UINT_PTR)pszFolder, (UINT_PTR)pszPath, (UINT_PTR)nAction };
    pMgr->RunWizard(3, &record, sizeof record);
}

BOOL C_IDEProjectWnd::CanEditResource(LPCSTR pszExt)
{
    // The tree asks by extension; the preview bar's action table matches file names.
    if (!m_pFrame || !pszExt)
        return FALSE;
    CString strName = pszExt[0] == '.' ? CString("a") + pszExt : CString("a.") + pszExt;
    return m_pFrame->GetPreviewBar()->CanEdit(strName);
}

// ---------------------------------------------------------------- popup commands

void C_IDEProjectWnd::OnIncludedFile(UINT nID)
{
    m_wndFileView.OpenIncludedFile((int)(nID - ID_FILEVIEW_INCLUDED_FIRST));
}

void C_IDEProjectWnd::OpenReference(I_CUElementList<tagPMReference*>* pRefs, int nIndex)
{
    tagPMReference* pRef = nullptr;
    if (pRefs && nIndex >= 0 && nIndex < pRefs->GetCount() && pRefs->GetAt(nIndex, &pRef, nullptr) && pRef
        && pRef->file)
        OpenSourceFile(pRef->file, pRef->line, FALSE, &CWnd::wndTop, TRUE);
}

void C_IDEProjectWnd::OnEmbeddedFile(UINT nID)
{
    CString strFolder, strSub, strPath;
    m_wndFileView.GetContextItemLocation(strFolder, strSub, strPath);
    C_CUStringList embedded;
    GetEmbeddedFiles(strPath, &embedded);
    int n = (int)(nID - ID_FILEVIEW_EMBEDDED_FIRST);
    if (n >= embedded.GetCount())
        return;
    I_PMSourceFile* pSource = GetSourceFileObject(embedded.GetAt(n));
    if (!pSource)
        return;
    if (m_nEmbeddedPos < 2)
        OpenResource(pSource->GetPath(), m_nEmbeddedPos);
    else
        OpenReference(pSource->GetReferences(), m_nEmbeddedPos - 2);
}

void C_IDEProjectWnd::OnEquationFile(UINT nID)
{
    CString strFolder, strSub, strPath;
    m_wndFileView.GetContextItemLocation(strFolder, strSub, strPath);
    I_PMEquationSet* pSet = GetEquationObject(strPath);
    I_CUElementList<I_PMEquation*>* pElements = pSet ? pSet->GetElements() : nullptr;
    int n = (int)(nID - ID_FILEVIEW_EQUATION_FIRST);
    I_PMEquation* pEquation = nullptr;
    if (!pElements || n >= pElements->GetCount() || !pElements->GetAt(n, &pEquation, nullptr) || !pEquation)
        return;
    OpenReference(pEquation->GetReferences(), m_nEquationPos);
}

void C_IDEProjectWnd::OpenResource(LPCSTR lpszPath, int nMode)
{
    if (m_pFrame && lpszPath)
        m_pFrame->PreviewResource(lpszPath, nMode);
}

void C_IDEProjectWnd::OnFileAction(UINT nID)
{
    CString strFolder, strSub, strPath;
    m_wndFileView.GetContextItemLocation(strFolder, strSub, strPath);
    I_ProjectMgr* pMgr = GetProjectMgr();
    if (pMgr && pMgr->RunFileAction(strFolder, strPath, (int)(nID - ID_FILEVIEW_FILE_ACTION_FIRST)))
        SetProjectModified(TRUE);
}

void C_IDEProjectWnd::OpenTextFiles(I_CUStringList* pList)
{
    for (int i = 0; pList && i < pList->GetCount(); i++)
        OpenSourceFile(pList->GetAt(i));
}

void C_IDEProjectWnd::OnSubFolderAction(UINT nID)
{
    RunFolderAction(TRUE, (int)(nID - ID_FILEVIEW_SUBFOLDER_ACTION_FIRST));
}

void C_IDEProjectWnd::OnFolderAction(UINT nID)
{
    RunFolderAction(FALSE, (int)(nID - ID_FILEVIEW_FOLDER_ACTION_FIRST));
}

void C_IDEProjectWnd::RunFolderAction(BOOL bSubFolder, int nAction)
{
    CString strFolder, strSub;
    m_wndFileView.GetContextFolderNames(strFolder, strSub);
    I_ProjectMgr* pMgr = GetProjectMgr();
    if (!pMgr)
        return;
    C_CUStringList files;
    pMgr->RunFolderAction(strFolder, bSubFolder ? (LPCSTR)strSub : nullptr, nAction, &files);
    // A folder's action may change its files: the tree shows them again.
    if (!bSubFolder)
        ReloadFileInfo();
    OpenTextFiles(&files);
}
