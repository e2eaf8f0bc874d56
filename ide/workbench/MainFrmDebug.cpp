// The frame's debug side: entering and leaving debug mode, the Debug menu's
// commands with the rules that enable them, the emulator's actions in the
// menu, on the Debug toolbar and as accelerators, the project commands' steps
// on the emulator, the emulator's stop message and another program's request
// to open a project.
#include "ide/workbench/MainFrm.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "ide/workbench/ChildFrm.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/debugger/IDEIceUIMgr.h"
#include "ide/debugger/IDEDisAsmView.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "support/config/CStringHelpers.h"
#include "support/ui/CUMsgHandler.h"
#include <vector>

namespace {

// Project kinds that can be debugged and downloaded: a normal project and one made around an object file.
BOOL IsDebuggableKind(DWORD dwKind)
{
    return dwKind == 1 || dwKind == 4;
}

} // namespace

// One Debug command: the enforce bit that keeps it off, its enabling rule and
// what it does: a frame operation, or an emulator operation that runs once the
// build-before-action gate lets it (with the argument for after a build). With
// neither, the views run it.
struct CMainFrame::DebugCommand {
    UINT nID;
    DWORD dwEnforce;
    BOOL (CMainFrame::*pfnEnabled)();
    void (CMainFrame::*pfnRun)();
    BOOL (C_IDEIceMgr::*pfnIce)() = nullptr;
    int nGateArg = 0;
};

const CMainFrame::DebugCommand CMainFrame::s_debugCommands[] = {
    { ID_DEBUG_START, 0x1, &CMainFrame::CanStartDebug, &CMainFrame::OnDebugStart },
    { ID_DEBUG_RELOAD, 0, &CMainFrame::CanRunDebug, &CMainFrame::OnDebugStart },
    { ID_DEBUG_RESET_ICE, 0x40, &CMainFrame::CanStartDebug, &CMainFrame::OnDebugResetIce },
    { ID_DEBUG_EXECUTE, 0x2, &CMainFrame::CanExecute, &CMainFrame::OnDebugExecute },
    { ID_DEBUG_DOWNLOAD, 0x100, &CMainFrame::CanDownload, &CMainFrame::OnDebugDownload },
    { ID_DEBUG_CLOSE, 0, &CMainFrame::CanCloseDebug, &CMainFrame::OnCloseDebugger },
    { ID_DEBUG_RUN, 0, &CMainFrame::CanRunDebug, nullptr, &C_IDEIceMgr::Run, 1 },
    { ID_DEBUG_RESTART, 0, &CMainFrame::CanRestart, nullptr, &C_IDEIceMgr::Restart },
    { ID_DEBUG_STEP_INTO, 0, &CMainFrame::CanStepInto, nullptr, &C_IDEIceMgr::StepInto },
    { ID_DEBUG_STEP_OVER, 0, &CMainFrame::CanStepOver, nullptr, &C_IDEIceMgr::StepOver },
    { ID_DEBUG_RUN_TO_CURSOR, 0, &CMainFrame::CanStepOver, nullptr },
    { ID_DEBUG_STEP_OUT, 0, &CMainFrame::CanStepOut, nullptr, &C_IDEIceMgr::StepOut },
    { ID_DEBUG_STOP, 0x8, &CMainFrame::CanStop, &CMainFrame::OnDebugStop },
    { ID_DEBUG_BREAKPOINTS, 0x10, &CMainFrame::CanEditBreakpoints, &CMainFrame::OnDebugBreakpoints },
    { ID_DEBUG_SET_PORT, 0x80, &CMainFrame::CanChooseOther, &CMainFrame::OnDebugSetPort },
    { ID_DEBUG_EXECUTE_OTHER, 0x4, &CMainFrame::CanChooseOther, &CMainFrame::OnDebugExecuteOther },
    { ID_DEBUG_DOWNLOAD_OTHER, 0, &CMainFrame::CanDownloadOther, &CMainFrame::OnDebugDownloadOther },
    { ID_DEBUG_WRITE_OTHER, 0x800, &CMainFrame::CanWriteOther, &CMainFrame::OnDebugWriteOther },
    { ID_DEBUG_STOP_WRITING, 0x1000, &CMainFrame::CanStopWriting, &CMainFrame::OnDebugStopWriting },
    { ID_DEBUG_DIAGNOSE, 0x20, &CMainFrame::CanDiagnose, &CMainFrame::OnDebugDiagnose },
    { ID_DEBUG_CONFIGURATION, 0x2000, &CMainFrame::CanShowConfiguration, &CMainFrame::OnDebugConfiguration },
    { ID_VIEW_DEBUG_REGISTER, 0, &CMainFrame::CanShowDebugBar, &CMainFrame::OnViewDebugWindow },
    { ID_VIEW_DEBUG_WATCH, 0, &CMainFrame::CanShowDebugBar, &CMainFrame::OnViewDebugWindow },
    { ID_VIEW_DEBUG_MEMORY, 0, &CMainFrame::CanShowDebugBar, &CMainFrame::OnViewDebugWindow },
    { ID_VIEW_DEBUG_OPTION, 0, &CMainFrame::CanShowDebugBar, &CMainFrame::OnViewDebugWindow },
    { ID_VIEW_DEBUG_STACK, 0, &CMainFrame::CanShowDebugBar, &CMainFrame::OnViewDebugWindow },
    { ID_VIEW_DEBUG_HISTORY, 0x20000, &CMainFrame::CanShowDebugBar, &CMainFrame::OnViewDebugWindow },
    { ID_VIEW_DEBUG_CALLSTACK, 0x10000, &CMainFrame::CanShowDebugBar, &CMainFrame::OnViewDebugWindow },
};

// ---- routing

BOOL CMainFrame::OnDebugCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    for (const DebugCommand& cmd : s_debugCommands) {
        if (cmd.nID != nID)
            continue;
        if (nCode == (int)CN_UPDATE_COMMAND_UI) {
            if (pHandlerInfo)
                return TRUE;
            auto* pCmdUI = static_cast<CCmdUI*>(pExtra);
            // Past the close's point of no return nothing is touched.
            if (m_bClosing)
                return TRUE;
            m_nDebugUpdateID = nID;
            pCmdUI->Enable(!(m_dwEnforceDisable & cmd.dwEnforce) && m_pIceMgr && (this->*cmd.pfnEnabled)());
            if (nID >= ID_VIEW_DEBUG_REGISTER && nID <= ID_VIEW_DEBUG_CALLSTACK) {
                CControlBar* pBar = GetControlBar(nID + 0x6625);
                pCmdUI->SetCheck(pBar && pBar->IsVisible());
            }
            return TRUE;
        }
        if (nCode != CN_COMMAND || (!cmd.pfnRun && !cmd.pfnIce))
            return FALSE;
        if (pHandlerInfo)
            return TRUE;
        m_nDebugUpdateID = nID;
        if (cmd.pfnRun)
            (this->*cmd.pfnRun)();
        else if (m_pIceMgr && GateDebugAction(&CMainFrame::RunDebugAction, cmd.nGateArg))
            (m_pIceMgr->*cmd.pfnIce)();
        return TRUE;
    }
    return FALSE;
}

// ---- enabling rules

BOOL CMainFrame::HasDebuggableProject()
{
    if (!m_pProjectMgr || m_wndProjectWnd.IsWorkspaceEmpty())
        return FALSE;
    I_PMProject* pProject = m_pProjectMgr->GetProject();
    return pProject && IsDebuggableKind(pProject->GetProjectKind());
}

BOOL CMainFrame::CanStartDebug()
{
    return m_pIceMgr->CanDebug() && HasDebuggableProject() && !IsDebugging() && !m_bBuilding && !m_bModalBuild;
}

BOOL CMainFrame::CanExecute()
{
    return CanStartDebug() && !m_pIceMgr->IsBusy();
}

BOOL CMainFrame::CanDownload()
{
    return HasDebuggableProject() && !IsDebugging() && !m_bBuilding && m_pIceMgr->CanDownload() && !m_bModalBuild;
}

BOOL CMainFrame::CanCloseDebug()
{
    return !m_bBuilding && IsDebugging();
}

BOOL CMainFrame::CanRunDebug()
{
    return CanCloseDebug() && !m_pIceMgr->IsBusy();
}

BOOL CMainFrame::CanRestart()
{
    return CanCloseDebug() && m_pIceMgr->CanRestart();
}

BOOL CMainFrame::CanStepInto()
{
    return CanRunDebug() && m_pIceMgr->CanStepInto();
}

BOOL CMainFrame::CanStepOver()
{
    return CanRunDebug() && m_pIceMgr->CanStepOver();
}

BOOL CMainFrame::CanStepOut()
{
    return CanRunDebug() && m_pIceMgr->SupportsStepOut();
}

BOOL CMainFrame::CanStop()
{
    // Also outside debug mode, for a target that Execute started.
    return !m_bBuilding && m_pIceMgr->CanStop();
}

BOOL CMainFrame::CanEditBreakpoints()
{
    return m_pIceMgr->SupportsBreakpointDialog() && !m_bBuilding && !m_pIceMgr->IsBusy() && m_bProjectOpen
        && (m_pIceMgr->SupportsBreakpoints() || IsDebugging());
}

BOOL CMainFrame::CanChooseOther()
{
    return !m_bBuilding && !IsDebugging() && !m_pIceMgr->IsBusy() && !m_bModalBuild;
}

BOOL CMainFrame::CanDownloadOther()
{
    return !m_bBuilding && m_pIceMgr->CanDownload() && !m_bModalBuild;
}

BOOL CMainFrame::CanWriteOther()
{
    return !m_bBuilding && m_pIceMgr->CanWrite() && !m_bModalBuild;
}

BOOL CMainFrame::CanStopWriting()
{
    return !m_bBuilding && m_pIceMgr->IsWriting();
}

BOOL CMainFrame::CanDiagnose()
{
    return !m_bBuilding && m_pIceMgr->SupportsDiagnose() && !IsDebugging();
}

BOOL CMainFrame::CanShowConfiguration()
{
    return !m_bBuilding && m_pIceMgr->SupportsConfiguration() && IsDebugging() && !m_pIceMgr->IsBusy();
}

BOOL CMainFrame::CanShowDebugBar()
{
    UINT nID = m_nDebugUpdateID;
    CControlBar* pBar = GetControlBar(nID + 0x6625);
    if (!pBar || !IsDebugging())
        return FALSE;
    if (nID == ID_VIEW_DEBUG_HISTORY)
        return m_pIceMgr->IsHistoryAvailable();
    if (nID == ID_VIEW_DEBUG_CALLSTACK)
        return m_pIceMgr->IsCallStackAllowed();
    // A list bar is worth showing only once the board gave it pages.
    auto* pUIMgr = dynamic_cast<C_IDEIceUIMgr*>(m_pIceUIMgr);
    return pUIMgr && pUIMgr->BarHasPages(pBar);
}

// ---- the build-before-action gate

BOOL CMainFrame::GateDebugAction(DebugAction pfnAction, int nArg)
{
    // The gate keeps a plain function and a number: the member to run waits beside it.
    m_pfnGatedDebugAction = pfnAction;
    return ConfirmBuildBeforeAction(
        [](CMainFrame* pFrame, DWORD dwArg) {
            if (DebugAction pfn = pFrame->m_pfnGatedDebugAction)
                (pFrame->*pfn)(static_cast<int>(dwArg));
        },
        static_cast<DWORD>(nArg));
}

// ---- commands

void CMainFrame::OnDebugStart()
{
    if (GateDebugAction(&CMainFrame::RunStartDebug, 0))
        StartDebug(nullptr);
}

void CMainFrame::RunStartDebug(int)
{
    StartDebug(nullptr);
}

void CMainFrame::OnDebugStop()
{
    if (m_pIceMgr->IsBusy())
        m_pIceMgr->Stop();
}

void CMainFrame::RunToCursor(const char* pszFile, int nLine)
{
    if (m_pIceMgr && GateDebugAction(&CMainFrame::RunDebugAction, 0))
        m_pIceMgr->RunTo(pszFile, nLine);
}

void CMainFrame::OnDebugBreakpoints()
{
    if (IsDebugging() && !GateDebugAction(&CMainFrame::RunDebugAction, 2))
        return;
    m_pIceMgr->EditBreakpoints();
}

void CMainFrame::OnDebugSetPort()
{
    m_pIceMgr->SelectPortByDialog();
}

void CMainFrame::OnDebugExecute()
{
    if (GateDebugAction(&CMainFrame::DoExecute, 0))
        DoExecute(0);
}

void CMainFrame::OnDebugDownload()
{
    if (GateDebugAction(&CMainFrame::DoDownload, 0))
        DoDownload(0);
}

void CMainFrame::OnDebugResetIce()
{
    m_pIceMgr->ResetIce();
}

void CMainFrame::OnDebugExecuteOther()
{
    CString strPart, strObj, strSecond;
    if (!ChooseOtherObj(strPart, strObj, strSecond))
        return;
    if (!m_pIceMgr->ExecuteOtherObj(strPart, strObj, strSecond, nullptr))
        MessageBoxById(m_hWnd, IDS_CAPTION_ERROR, IDS_ICE_PART_NOT_SUPPORTED, MB_OK | MB_ICONEXCLAMATION,
                       (LPCSTR)strPart);
}

void CMainFrame::OnDebugDownloadOther()
{
    CString strPart, strObj, strSecond;
    if (ChooseOtherObj(strPart, strObj, strSecond))
        m_pIceMgr->DownloadOtherObj(strPart, strObj, strSecond, nullptr);
}

void CMainFrame::OnDebugWriteOther()
{
    CString strPart, strObj, strSecond;
    if (!ChooseOtherObj(strPart, strObj, strSecond))
        return;
    SetIcePortForTarget(strPart);
    m_pIceMgr->WriteOtherObj(strPart, strObj, strSecond);
}

void CMainFrame::OnDebugStopWriting()
{
    m_pIceMgr->StopWriting();
}

void CMainFrame::OnDebugDiagnose()
{
    if (!m_pIceMgr->SupportsDiagnose() || IsDebugging())
        return;
    CString strPart = ProjectPart();
    m_pIceMgr->Diagnose(strPart);
}

void CMainFrame::OnDebugConfiguration()
{
    if (m_pIceMgr->SupportsConfiguration() && IsDebugging())
        m_pIceMgr->ShowConfiguration();
}

void CMainFrame::OnViewDebugWindow()
{
    if (CControlBar* pBar = GetControlBar(m_nDebugUpdateID + 0x6625))
        ShowControlBar(pBar, !pBar->IsVisible(), FALSE);
}

// ---- the project's side of a download

CString CMainFrame::ProjectPart()
{
    I_PMProject* pProject = m_pProjectMgr ? m_pProjectMgr->GetProject() : nullptr;
    const char* pszPart = pProject ? pProject->GetPartNumber() : nullptr;
    return pszPart ? pszPart : "";
}

DWORD CMainFrame::ProjectIncremental()
{
    I_PMProject* pProject = m_pProjectMgr ? m_pProjectMgr->GetProject() : nullptr;
    return pProject ? pProject->GetIncrementalDownload() : 0;
}

BOOL CMainFrame::GetDownloadFiles(CString& strObj, CString& strSecond, WORD* pFlags, BOOL bPrepare)
{
    if (!m_pProjectMgr)
        return FALSE;
    char szPath[PM_PATH_SIZE] = "";
    strObj = m_pProjectMgr->GetOutputFile(szPath) ? szPath : "";
    if (bPrepare) {
        DWORD dwDownloaded = m_pIceMgr ? m_pIceMgr->GetDownloadFlags() : 0;
        CString strPart = ProjectPart();
        if (m_pIceMgr && m_pIceMgr->IsDownloadNeeded(strPart, strObj))
            dwDownloaded = 0;
        if (!m_pProjectMgr->PrepareDownload(pFlags, dwDownloaded))
            return FALSE;
    }
    szPath[0] = '\0';
    strSecond = m_pProjectMgr->GetSecondOutputFile(szPath) ? szPath : "";
    return TRUE;
}

BOOL CMainFrame::StartDebug(LPCSTR lpszPort)
{
    if (!m_pIceMgr)
        return FALSE;
    CString strObj, strSecond;
    WORD wFlags = 0;
    if (!GetDownloadFiles(strObj, strSecond, &wFlags, TRUE))
        return FALSE;
    CString strPart = ProjectPart();
    if (IsDebugging())
        return m_pIceMgr->ReloadDebug(strPart, strObj, strSecond, wFlags, ProjectIncremental());
    SaveBarState(MAINFRAME_BARSTATE);
    BOOL bStarted = m_pIceMgr->StartDebug(strPart, strObj, strSecond, wFlags, ProjectIncremental(), lpszPort);
    if (bStarted) {
        AfxGetApp()->WriteProfileInt("", "EnteredDebug", 1);
        // The frame's swap gives the debug menu while debugging.
        SwapMenu(IsChildFrameActive() ? IDR_TEXTTYPE : IDR_MAINFRAME);
        UpdateDefaultTool();
        ICE_ACTION_TABLE table = m_pIceMgr->GetActionTable();
        if (table.nCount) {
            AppendMenuItems("Debug", 0, nullptr, nullptr, nullptr);
            AppendMenuItems("Debug", (int)table.nCount, table.pIds, table.pNames, table.pAccels);
        }
    }
    // A new debugging session starts without a history position, started or not.
    CAsmIDEDoc::MoveHistoryMarker(nullptr, 0);
    return bStarted;
}

void CMainFrame::OnCloseDebugger()
{
    if (m_pIceMgr)
        m_pIceMgr->CloseDebug();
    SwapMenu(IsChildFrameActive() ? IDR_TEXTTYPE : IDR_MAINFRAME);
    m_bAskBuild = TRUE;
    AfxGetApp()->WriteProfileInt("", "EnteredDebug", 0);
}

BOOL CMainFrame::IsChildFrameActive()
{
    CMDIChildWnd* pChild = MDIGetActive();
    return pChild && pChild->IsKindOf(RUNTIME_CLASS(CChildFrame));
}

void CMainFrame::RunDebugAction(int nWhat)
{
    StartDebug(nullptr);
    if (!m_pIceMgr)
        return;
    if (nWhat == 1)
        m_pIceMgr->Run();
    else if (nWhat == 2 && m_pIceMgr->HasIce())
        m_pIceMgr->EditBreakpoints();
}

void CMainFrame::DoExecute(int)
{
    DownloadBuild(&C_IDEIceMgr::DownloadAndRun);
}

void CMainFrame::DoDownload(int)
{
    DownloadBuild(&C_IDEIceMgr::Download);
}

void CMainFrame::DownloadBuild(DownloadOperation pfnDownload)
{
    CString strObj, strSecond;
    WORD wFlags = 0;
    if (!m_pIceMgr || !GetDownloadFiles(strObj, strSecond, &wFlags, TRUE))
        return;
    CString strPart = ProjectPart();
    (m_pIceMgr->*pfnDownload)(strPart, strObj, strSecond, wFlags, ProjectIncremental(), nullptr);
}

BOOL CMainFrame::ChooseOtherObj(CString& strPart, CString& strObj, CString& strSecond)
{
    if (!m_pProjectMgr)
        return FALSE;
    C_CUStringList exts;
    GetExecutableFileExts(m_pProjectMgr, &exts);
    CString strPattern;
    BuildFilterPattern(&exts, strPattern);
    CString strFilter;
    strFilter.Format("Executable File (%s)|%s||", (LPCSTR)strPattern, (LPCSTR)strPattern);
    CFileDialog dlg(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, strFilter, this);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    strObj = dlg.GetPathName();
    char szPart[PM_PATH_SIZE] = "";
    if (!m_pProjectMgr->CheckObjFile(strObj, szPart)) {
        MessageBoxById(m_hWnd, IDS_CAPTION_ERROR, IDS_INVALID_OBJ_FILE, MB_OK | MB_ICONEXCLAMATION, (LPCSTR)strObj);
        return FALSE;
    }
    int nDot = strObj.ReverseFind('.');
    int nSlash = strObj.ReverseFind('\\');
    strSecond = (nDot > nSlash ? strObj.Left(nDot) : strObj) + ".os2";
    strPart = szPart;
    return TRUE;
}

// ---- services for the emulator's user interface

void CMainFrame::HideWorkspaceBars()
{
    if (m_wndProjectWnd.m_hWnd)
        ShowControlBar(&m_wndProjectWnd, FALSE, FALSE);
    if (m_wndMessageBar.m_hWnd)
        ShowControlBar(&m_wndMessageBar, FALSE, FALSE);
}

void CMainFrame::RestoreEditLayout()
{
    StopProgress();
    RestoreBarState(MAINFRAME_BARSTATE);
    UpdateDefaultTool();
}

C_IDEDisAsmView* CMainFrame::OpenDisAsmView(const char* pszPath)
{
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    CDocument* pDoc = pApp ? pApp->OpenNewDocument("DisAsm", pszPath) : nullptr;
    if (!pDoc)
        return nullptr;
    POSITION pos = pDoc->GetFirstViewPosition();
    return pos ? dynamic_cast<C_IDEDisAsmView*>(pDoc->GetNextView(pos)) : nullptr;
}

// ---- messages

LRESULT CMainFrame::OnIceTargetStopped(WPARAM wParam, LPARAM lParam)
{
    if (m_pIceMgr)
        m_pIceMgr->OnTargetStopped(wParam, lParam);
    return 0;
}

void CMainFrame::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hMenu)
{
    // The base first: it keeps the status text of every menu item.
    TWKMDIFrameWnd::OnMenuSelect(nItemID, nFlags, hMenu);
    if (!hMenu || (nFlags & MF_POPUP) || !C_IDEProjectWnd::IsPopupFileCommand(nItemID) || !m_wndProjectWnd.m_hWnd)
        return;
    POINT pt;
    ::GetCursorPos(&pt);
    int nPos = ::MenuItemFromPoint(m_hWnd, hMenu, pt);
    m_wndProjectWnd.OnPopupFileSelect(CMenu::FromHandle(hMenu), nItemID, nPos);
}

LRESULT CMainFrame::OnBrokerRequest(WPARAM wParam, LPARAM)
{
    tagApBrokerRequest request = {};
    if (!m_appBroker.TakeRequest(&request, LOWORD(wParam)))
        return 0;
    // Senders fill one of the two paths: the project path, else the file path.
    request.projectPath[sizeof request.projectPath - 1] = '\0';
    request.filePath[sizeof request.filePath - 1] = '\0';
    const char* pszPath = request.projectPath[0] ? request.projectPath : request.filePath;
    if (*pszPath)
        OpenProject(pszPath);
    return 0;
}

// ---- the emulator's actions

BOOL CMainFrame::GetIceAction(UINT nID, CString* pstrName, ACCEL* pAccel) const
{
    if (!m_pIceMgr || nID < ID_ICE_ACTION_FIRST)
        return FALSE;
    ICE_ACTION_TABLE table = m_pIceMgr->GetActionTable();
    UINT i = nID - ID_ICE_ACTION_FIRST;
    if (i >= table.nCount)
        return FALSE;
    if (pstrName)
        *pstrName = table.pNames[i] ? table.pNames[i] : "";
    if (pAccel)
        *pAccel = table.pAccels[i];
    return TRUE;
}

void CMainFrame::ShowIceActions()
{
    ICE_ACTION_TABLE table = {};
    if (m_pIceMgr)
        table = m_pIceMgr->GetActionTable();
    if (!table.nCount) {
        RemoveIceActionMenuItems();
        return;
    }
    AppendMenuItems("Debug", 0, nullptr, nullptr, nullptr);
    AppendMenuItems("Debug", (int)table.nCount, table.pIds, table.pNames, table.pAccels);
    int nCount = 0;
    if (AddToolBarButton(nullptr, 0, IDW_DEBUG_TOOLBAR, 0, &nCount)) {
        m_mapProjectButtons.SetAt(IDW_DEBUG_TOOLBAR, (DWORD)(nCount - 1));
        TWKCustomToolBar* pBar = m_pToolBarMgr->GetToolBar(IDW_DEBUG_TOOLBAR);
        TWKBmpMgr* pBmpMgr = pBar->GetBmpMgr();
        for (UINT i = 0; i < table.nCount; i++) {
            // An action shown before keeps the image its command got then.
            if (pBmpMgr && pBmpMgr->GetBitmap(table.pIds[i], nullptr, nullptr)) {
                pBar->InsertButton(pBar->GetButtonCount(), table.pIds[i], FALSE);
                continue;
            }
            AddToolBarButton(m_pIceMgr->GetBrokerModule(), table.pImages[i], IDW_DEBUG_TOOLBAR, table.pIds[i],
                             nullptr);
        }
        RecalcLayout();
        pBar->Invalidate();
    }
    // The actions' keys, each bound to its action's command.
    std::vector<ACCEL> accels;
    for (UINT i = 0; i < table.nCount; i++)
        if (table.pAccels[i].key) {
            ACCEL accel = table.pAccels[i];
            accel.cmd = (WORD)table.pIds[i];
            accels.push_back(accel);
        }
    if (m_hProjectAccel)
        ::DestroyAcceleratorTable(m_hProjectAccel);
    m_hProjectAccel = accels.empty() ? nullptr : ::CreateAcceleratorTableA(accels.data(), (int)accels.size());
}

void CMainFrame::RemoveProjectButtons()
{
    for (POSITION pos = m_mapProjectButtons.GetStartPosition(); pos;) {
        DWORD dwBar = 0, dwCount = 0;
        m_mapProjectButtons.GetNextAssoc(pos, dwBar, dwCount);
        TWKCustomToolBar* pBar = m_pToolBarMgr ? m_pToolBarMgr->GetToolBar(dwBar) : nullptr;
        if (!pBar || !::IsWindow(pBar->m_hWnd))
            continue;
        while (pBar->GetButtonCount() > (int)dwCount)
            pBar->RemoveButton(pBar->GetButtonCount() - 1);
        pBar->Invalidate();
    }
    m_mapProjectButtons.RemoveAll();
    RecalcLayout();
}

// ---- the project commands' steps on the emulator

void CMainFrame::StopTarget()
{
    if (m_pIceMgr && m_pIceMgr->IsBusy())
        m_pIceMgr->StopAll();
}

void CMainFrame::IceOpenProject(LPCSTR lpszPath)
{
    if (!m_pIceMgr)
        return;
    CString strPath = lpszPath;
    CString strPart = ProjectPart();
    m_pIceMgr->OpenProject(strPath, strPart);
}

void CMainFrame::IceProjectOpened()
{
    SetIcePortForTarget(ProjectPart());
    ShowIceActions();
}

void CMainFrame::IceNewObjProject(LPCSTR lpszPath, LPCSTR lpszPart)
{
    if (m_pIceMgr) {
        CString strPath = lpszPath;
        CString strPart = lpszPart;
        m_pIceMgr->NewProject(strPath, strPart);
    }
    ShowIceActions();
}

BOOL CMainFrame::LeaveDebugForClose()
{
    if (!IsDebugging())
        return TRUE;
    if (MessageBoxById(m_hWnd, IDS_CAPTION_WARNING, IDS_LEAVE_DEBUGGING, MB_OKCANCEL | MB_ICONWARNING) != IDOK)
        return FALSE;
    OnCloseDebugger();
    return TRUE;
}

BOOL CMainFrame::IceCloseProject()
{
    RemoveProjectButtons();
    if (!m_pIceMgr)
        return TRUE;
    // The project manager may have let the project go: the part is the emulator's.
    CString strPart = m_pIceMgr->GetPart();
    if (!m_pIceMgr->CloseProject(m_strProjectPath))
        return FALSE;
    if (!strPart.IsEmpty()) {
        const char* pszPort = m_pIceMgr->GetPort();
        CString strKey;
        strKey.Format("ICE Port - %s", (LPCSTR)strPart.Left(4));
        AfxGetApp()->WriteProfileString("ICE", strKey, pszPort ? pszPort : "");
    }
    return TRUE;
}
