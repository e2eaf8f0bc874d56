// The frame's debug side on a real frame with the simulated board: the enabling
// rules of the Debug commands, entering and leaving debug mode, the emulator's
// actions in the menu, on the Debug toolbar and as accelerators, and running
// and stepping with the board's stop message.
#include "tests/ide/workbench/mainframe_fixture.h"
#include "tests/harness/sample_copy.h"
#include "ide/debugger/IDEDisAsmDoc.h"
#include "ide/debugger/IDEDisAsmView.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "ide/workbench/IDEEditorView.h"
#include "ide/workbench/ProjectMgrPtr.h"
#include "support/ui/MsgBoxEx.h"

namespace {

// The sample copy built as the windowless road builds it, so that there is something to download.
// Its program loops where it would halt, so that a run lasts until it is stopped.
bool BuildSample(const vt::SampleCopy& sample)
{
    std::string main = vt::ReadFileBytes(sample.Folder() + "main.asm");
    size_t at = main.find("        HALT");
    if (at == std::string::npos)
        return false;
    main.replace(at, 12, "halt:   JMP halt");
    vt::WriteFileBytes(sample.Folder() + "main.asm", main);
    vt::CurrentFolder folder(sample.Folder());
    C_ProjectMgrPtr holder;
    if (!holder.Load(nullptr))
        return false;
    I_ProjectMgr* pMgr = holder.Get();
    return pMgr && pMgr->Init(1) && pMgr->OpenProject(sample.Project().c_str()) && pMgr->Build(FALSE);
}

bool HasItem(HMENU hMenu, UINT nID)
{
    return hMenu && ::GetMenuState(hMenu, nID, MF_BYCOMMAND) != (UINT)-1;
}

// The board the frame loads, from a private folder whose "ZComSim.ini" turns its trace on.
class TracedBoard {
public:
    TracedBoard()
    {
        for (const char* name : { ICE_BROKER_DLL_NAME, "ZComSim.ini", "ZIDE.cfg" })
            CopyFileA((vt::ProgramFolder() + name).c_str(), m_dir.File(name).c_str(), FALSE);
        std::string sim = m_dir.File("ZComSim.ini");
        WritePrivateProfileStringA("Trace", "Enable", "1", sim.c_str());
        WritePrivateProfileStringA("Trace", "File", "trace.log", sim.c_str());
    }
    // The manager starts its board from this folder; everything else stays the program folder's.
    bool Start(C_IDEIceMgr* pIce) const
    {
        char saved[MAX_PATH];
        lstrcpynA(saved, g_szAppDir, MAX_PATH);
        lstrcpynA(g_szAppDir, (m_dir.Path() + "\\").c_str(), MAX_PATH);
        BOOL bStarted = pIce && pIce->Init();
        lstrcpynA(g_szAppDir, saved, MAX_PATH);
        return bStarted != FALSE;
    }
    std::string Trace() const { return vt::ReadFileBytes(m_dir.File("trace.log")); }

private:
    vt::TempDir m_dir;
};

class DebugMode : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(BuildSample(sample));
        ASSERT_TRUE(frame.p);
        // The menus of the two document kinds, the debugging one among them.
        if (!g_pTextTemplate)
            static_cast<CAsmIDEApp*>(AfxGetApp())->RegisterDocTemplates();
        // Debugging opens the source at the stop: its child frames need the main window.
        AfxGetApp()->m_pMainWnd = frame.p;
        ASSERT_TRUE(board.Start(frame.p->GetIceMgr()));
        ASSERT_TRUE(frame.p->InitProjectManager());
        ASSERT_TRUE(frame.p->OpenProject(sample.Project().c_str()));
        ice = frame.p->GetIceMgr();
        ASSERT_TRUE(ice && ice->HasIce());
    }
    void TearDown() override
    {
        answerer.SetDefault(IDNO);
        static_cast<CAsmIDEApp*>(AfxGetApp())->CloseAllDocuments(FALSE);
        vt::PumpMessages();
        if (frame.p && frame.p->IsDebugging())
            frame.p->OnCloseDebugger();
        if (frame.p && frame.p->m_bProjectOpen)
            frame.p->CloseProject(FALSE);
        AfxGetApp()->m_pMainWnd = nullptr;
    }
    // 1 enabled, 0 disabled, -1 untouched.
    int Enabled(UINT nID) { return vt::Update(frame.p, nID).nEnabled; }
    // Until the board's stop message has come and told the status of a stopped target.
    void WaitStopped()
    {
        for (int i = 0; i < 500 && (ice->IsRunning() || !(ice->GetConnector().GetStatus() & ICE_STATUS_STEP)); i++) {
            vt::PumpMessages();
            ::Sleep(10);
        }
    }

    // The trace from a point on (a size taken before).
    std::string TraceFrom(size_t at) const
    {
        std::string trace = board.Trace();
        return at < trace.size() ? trace.substr(at) : std::string();
    }

    vt::ModalAnswerer answerer{IDOK};
    vt::SampleCopy sample;
    TracedBoard board;
    vt::MainFrame frame;
    C_IDEIceMgr* ice = nullptr;
};

const UINT kOutside[] = { ID_DEBUG_START, ID_DEBUG_RESET_ICE, ID_DEBUG_EXECUTE, ID_DEBUG_SET_PORT,
                          ID_DEBUG_EXECUTE_OTHER };
const UINT kInside[] = { ID_DEBUG_CLOSE,     ID_DEBUG_RUN,          ID_DEBUG_RELOAD,   ID_DEBUG_STEP_INTO,
                         ID_DEBUG_STEP_OVER, ID_DEBUG_RUN_TO_CURSOR, ID_DEBUG_STEP_OUT, ID_DEBUG_CONFIGURATION };

TEST_F(DebugMode, CommandsFollowBuildingModalBuildDebuggingAndTheEnforceBits)
{
    CMainFrame* p = frame.p;
    for (UINT nID : kOutside)
        EXPECT_EQ(1, Enabled(nID)) << nID;
    for (UINT nID : kInside)
        EXPECT_EQ(0, Enabled(nID)) << nID;
    EXPECT_EQ(0, Enabled(ID_DEBUG_STOP)) << "nothing runs";
    // The board of the sample's part diagnoses and writes; the part is not downloaded without debugging.
    for (UINT nID : { ID_DEBUG_DIAGNOSE, ID_DEBUG_WRITE_OTHER, ID_DEBUG_BREAKPOINTS })
        EXPECT_EQ(1, Enabled(nID)) << nID;
    for (UINT nID : { ID_DEBUG_STOP_WRITING, ID_DEBUG_DOWNLOAD, ID_DEBUG_DOWNLOAD_OTHER })
        EXPECT_EQ(0, Enabled(nID)) << nID;

    // Each enforce bit keeps its command off whatever else holds.
    struct Bit {
        DWORD dwBit;
        UINT nID;
    };
    const Bit kBits[] = { { 0x1, ID_DEBUG_START },           { 0x2, ID_DEBUG_EXECUTE },
                          { 0x4, ID_DEBUG_EXECUTE_OTHER },   { 0x10, ID_DEBUG_BREAKPOINTS },
                          { 0x20, ID_DEBUG_DIAGNOSE },       { 0x40, ID_DEBUG_RESET_ICE },
                          { 0x80, ID_DEBUG_SET_PORT },       { 0x800, ID_DEBUG_WRITE_OTHER } };
    for (const Bit& bit : kBits) {
        p->m_dwEnforceDisable = bit.dwBit;
        EXPECT_EQ(0, Enabled(bit.nID)) << std::hex << bit.dwBit;
        p->m_dwEnforceDisable = 0;
        EXPECT_EQ(1, Enabled(bit.nID)) << std::hex << bit.dwBit;
    }

    // A build or a modal build keeps them off.
    p->m_bBuilding = TRUE;
    for (UINT nID : kOutside)
        EXPECT_EQ(0, Enabled(nID)) << nID;
    p->m_bBuilding = FALSE;
    p->m_bModalBuild = TRUE;
    for (UINT nID : kOutside)
        EXPECT_EQ(0, Enabled(nID)) << nID;
    p->m_bModalBuild = FALSE;

    // Debugging turns the two sets round.
    ASSERT_TRUE(p->StartDebug(nullptr));
    for (UINT nID : kOutside)
        EXPECT_EQ(0, Enabled(nID)) << nID;
    for (UINT nID : kInside)
        EXPECT_EQ(1, Enabled(nID)) << nID;
    EXPECT_EQ(0, Enabled(ID_DEBUG_DIAGNOSE));
    p->m_bBuilding = TRUE;
    for (UINT nID : kInside)
        EXPECT_EQ(0, Enabled(nID)) << nID;
    p->m_bBuilding = FALSE;

    // Past the close's point of no return nothing is touched.
    p->m_bClosing = TRUE;
    EXPECT_EQ(-1, Enabled(ID_DEBUG_RUN));
    EXPECT_EQ(-1, Enabled(ID_DEBUG_START));
    p->m_bClosing = FALSE;
    // The board gives every list bar pages while debugging; outside it no debug window is offered.
    for (UINT nID : { ID_VIEW_DEBUG_REGISTER, ID_VIEW_DEBUG_WATCH, ID_VIEW_DEBUG_MEMORY, ID_VIEW_DEBUG_OPTION,
                      ID_VIEW_DEBUG_STACK })
        EXPECT_EQ(1, Enabled(nID)) << nID;
    p->OnCloseDebugger();
    for (UINT nID = ID_VIEW_DEBUG_REGISTER; nID <= ID_VIEW_DEBUG_CALLSTACK; nID++)
        EXPECT_EQ(0, Enabled(nID)) << nID;
}

TEST_F(DebugMode, StartAndCloseSwapMenusWriteTheProfileAndShowTheActions)
{
    CMainFrame* p = frame.p;
    // The project brought the board's two actions: Debug menu, Debug toolbar and keys.
    ICE_ACTION_TABLE table = ice->GetActionTable();
    ASSERT_EQ(2u, table.nCount);
    TWKCustomToolBar* pDebugBar = frame.ToolBar(IDW_DEBUG_TOOLBAR);
    ASSERT_TRUE(pDebugBar);
    EXPECT_GE(pDebugBar->CommandToIndex(ID_ICE_ACTION_FIRST), 0);
    EXPECT_GE(pDebugBar->CommandToIndex(ID_ICE_ACTION_FIRST + 1), 0);
    ASSERT_TRUE(p->m_hProjectAccel);
    ACCEL accels[4] = {};
    ASSERT_EQ(1, ::CopyAcceleratorTableA(p->m_hProjectAccel, accels, 4));
    EXPECT_EQ(ID_ICE_ACTION_FIRST, accels[0].cmd);
    EXPECT_EQ('R', accels[0].key);
    EXPECT_EQ(FVIRTKEY | FCONTROL | FSHIFT, accels[0].fVirt & (FVIRTKEY | FCONTROL | FSHIFT));

    AfxGetApp()->WriteProfileInt("", "EnteredDebug", 0);
    frame.Command(ID_DEBUG_START);
    ASSERT_TRUE(p->IsDebugging());
    EXPECT_EQ(1, vt::ProfileInt("", "EnteredDebug"));
    HMENU hMenu = p->GetCurrentMenu();
    EXPECT_TRUE(HasItem(hMenu, ID_DEBUG_CLOSE)) << "the debugging menu is up";
    EXPECT_TRUE(HasItem(hMenu, ID_ICE_ACTION_FIRST));
    EXPECT_TRUE(HasItem(hMenu, ID_ICE_ACTION_FIRST + 1));
    CString strStatus;
    p->GetMessageString(ID_ICE_ACTION_FIRST + 1, strStatus);
    EXPECT_STREQ("Execute Toggle LED action", strStatus);

    // Start again reloads and keeps debug mode.
    AfxGetApp()->WriteProfileInt("", "EnteredDebug", 7);
    frame.Command(ID_DEBUG_RELOAD);
    EXPECT_TRUE(p->IsDebugging());
    EXPECT_EQ(7, vt::ProfileInt("", "EnteredDebug"));

    p->m_bAskBuild = FALSE;
    frame.Command(ID_DEBUG_CLOSE);
    EXPECT_FALSE(p->IsDebugging());
    EXPECT_EQ(0, vt::ProfileInt("", "EnteredDebug"));
    EXPECT_TRUE(p->m_bAskBuild);
    hMenu = p->GetCurrentMenu();
    EXPECT_FALSE(HasItem(hMenu, ID_DEBUG_CLOSE));
    EXPECT_TRUE(HasItem(hMenu, ID_DEBUG_START));
}

TEST_F(DebugMode, TheBuildQuestionComesFirstAndNoToAllLastsUntilCloseDebugger)
{
    CMainFrame* p = frame.p;
    // A source written again is newer than the object: a build is due.
    const std::string strMain = sample.Folder() + "main.asm";
    ::Sleep(20);
    vt::WriteFileBytes(strMain, vt::ReadFileBytes(strMain));

    // Outside debugging: No starts the debugger without a build.
    answerer.Queue(vt::ModalAnswer(IDNO));
    frame.Command(ID_DEBUG_START);
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Source files or options of project changed! Build it now?", answerer.Last().text);
    EXPECT_TRUE(p->IsDebugging());
    EXPECT_FALSE(p->m_bBuilding);

    // While debugging the box offers "No To All": it keeps the question away until Close Debugger.
    answerer.Queue(vt::ModalAnswer(CU_IDNOTOALL));
    frame.Command(ID_DEBUG_RELOAD);
    ASSERT_EQ(2u, answerer.Count());
    EXPECT_FALSE(p->m_bAskBuild);
    EXPECT_TRUE(p->IsDebugging());
    frame.Command(ID_DEBUG_RELOAD);
    EXPECT_EQ(2u, answerer.Count());
    frame.Command(ID_DEBUG_CLOSE);
    EXPECT_TRUE(p->m_bAskBuild);
}

TEST_F(DebugMode, RunStepAndStopEndWithTheBoardsStopMessage)
{
    CMainFrame* p = frame.p;
    frame.Command(ID_DEBUG_START);
    ASSERT_TRUE(p->IsDebugging());
    frame.Command(ID_DEBUG_RUN);
    EXPECT_TRUE(ice->IsRunning());
    EXPECT_EQ(1, Enabled(ID_DEBUG_STOP));
    EXPECT_EQ(0, Enabled(ID_DEBUG_RUN));
    EXPECT_EQ(0, Enabled(ID_DEBUG_STEP_OVER));
    EXPECT_TRUE(p->GetProgressCtrl()->IsWindowVisible()) << "Running... shows";
    frame.Command(ID_DEBUG_STOP);
    WaitStopped();
    EXPECT_FALSE(ice->IsRunning());
    EXPECT_FALSE(p->GetProgressCtrl()->IsWindowVisible());
    for (UINT nID : { ID_DEBUG_STEP_OVER, ID_DEBUG_STEP_INTO, ID_DEBUG_STEP_OUT, ID_DEBUG_RESTART }) {
        ASSERT_EQ(1, Enabled(nID)) << nID;
        frame.Command(nID);
        WaitStopped();
        EXPECT_FALSE(ice->IsRunning()) << nID;
        EXPECT_TRUE(p->IsDebugging()) << nID;
    }
}

TEST_F(DebugMode, ExecuteOutsideDebugModeEnablesStop)
{
    CMainFrame* p = frame.p;
    frame.Command(ID_DEBUG_EXECUTE);
    EXPECT_FALSE(p->IsDebugging());
    EXPECT_TRUE(ice->IsRunning());
    EXPECT_EQ(1, Enabled(ID_DEBUG_STOP));
    EXPECT_EQ(0, Enabled(ID_DEBUG_EXECUTE)) << "busy";
    frame.Command(ID_DEBUG_STOP);
    WaitStopped();
    EXPECT_FALSE(ice->IsRunning());
}

TEST_F(DebugMode, ClosingTheProjectWritesThePortAndTakesTheActionsAway)
{
    CMainFrame* p = frame.p;
    std::string port = ice->GetPort() ? ice->GetPort() : "";
    ASSERT_FALSE(port.empty());
    TWKCustomToolBar* pDebugBar = frame.ToolBar(IDW_DEBUG_TOOLBAR);
    ASSERT_TRUE(p->CloseProject(FALSE));
    EXPECT_EQ(port, vt::ProfileString("ICE", "ICE Port - KV61"));
    EXPECT_LT(pDebugBar->CommandToIndex(ID_ICE_ACTION_FIRST), 0);
    EXPECT_EQ(nullptr, p->m_hProjectAccel);
    // Opened again, the actions come back with their images.
    ASSERT_TRUE(p->OpenProject(sample.Project().c_str()));
    EXPECT_GE(pDebugBar->CommandToIndex(ID_ICE_ACTION_FIRST), 0);
    EXPECT_GE(pDebugBar->CommandToIndex(ID_ICE_ACTION_FIRST + 1), 0);
}

TEST_F(DebugMode, OtherObjectFilesAreChosenInTheFileDialog)
{
    CMainFrame* p = frame.p;
    CString strObj, strSecond;
    WORD wFlags = 0;
    ASSERT_TRUE(p->GetDownloadFiles(strObj, strSecond, &wFlags, FALSE));
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(strObj)) << (LPCSTR)strObj;

    // Execute Other OBJ runs the chosen file; Stop ends it on the project's part.
    answerer.Queue(vt::ModalAnswer(IDOK).Type(vt::kFileNameBox, (LPCSTR)strObj));
    frame.Command(ID_DEBUG_EXECUTE_OTHER);
    EXPECT_TRUE(ice->IsRunning());
    EXPECT_EQ(1, Enabled(ID_DEBUG_STOP));
    frame.Command(ID_DEBUG_STOP);
    WaitStopped();
    EXPECT_STREQ("KV61A-S28", ice->GetPart());
    EXPECT_EQ(1u, answerer.Count()) << "only the file dialog";

    // A file the project manager refuses is named in the message, and nothing runs.
    answerer.Clear();
    std::string text = sample.Folder() + "readme.txt";
    answerer.Queue(vt::ModalAnswer(IDOK).Type(vt::kFileNameBox, text));
    frame.Command(ID_DEBUG_EXECUTE_OTHER);
    ASSERT_EQ(2u, answerer.Count());
    EXPECT_NE(std::string::npos, answerer.Last().text.find("Invalid OBJ file " + text + "!!")) << answerer.Last().text;
    EXPECT_FALSE(ice->IsRunning());

    // Cancel chooses nothing.
    answerer.Clear();
    answerer.Queue(vt::ModalAnswer(IDCANCEL));
    CString strPart;
    EXPECT_FALSE(p->ChooseOtherObj(strPart, strObj, strSecond));
    EXPECT_EQ(1u, answerer.Count());
}

TEST_F(DebugMode, ClosingTheProjectWhileDebuggingAsksFirst)
{
    CMainFrame* p = frame.p;
    ASSERT_TRUE(p->StartDebug(nullptr));
    answerer.Queue(vt::ModalAnswer(IDCANCEL));
    frame.Command(ID_FILE_CLOSE_PROJECT);
    std::string seen;
    for (const auto& box : answerer.Seen())
        seen += box.text + " | ";
    ASSERT_EQ(1u, answerer.Count()) << seen;
    EXPECT_NE(std::string::npos, answerer.Last().text.find("This action will leave debugging environment !"));
    EXPECT_TRUE(p->IsDebugging());
    EXPECT_TRUE(p->m_bProjectOpen);
    answerer.Queue(vt::ModalAnswer(IDOK));
    frame.Command(ID_FILE_CLOSE_PROJECT);
    EXPECT_FALSE(p->IsDebugging());
    EXPECT_FALSE(p->m_bProjectOpen);
    EXPECT_EQ(0, vt::ProfileInt("", "EnteredDebug"));
}

TEST_F(DebugMode, CloseDebuggerWithADocumentActiveBringsItsMenu)
{
    CMainFrame* p = frame.p;
    auto* pApp = static_cast<CAsmIDEApp*>(AfxGetApp());
    pApp->m_pMainWnd = p;
    CDocument* pDoc = pApp->OpenNewDocument("Text", nullptr);
    ASSERT_TRUE(pDoc);
    ASSERT_TRUE(p->StartDebug(nullptr));
    EXPECT_EQ((UINT)IDR_DISASMTYPE, p->GetMenuBar()->GetCurMenuID());
    p->OnCloseDebugger();
    EXPECT_EQ((UINT)IDR_TEXTTYPE, p->GetMenuBar()->GetCurMenuID());
    pDoc->OnCloseDocument();
    pApp->m_pMainWnd = nullptr;
}

TEST_F(DebugMode, SetPortShowsThePortDialog)
{
    answerer.Queue(vt::ModalAnswer(IDCANCEL));
    std::string port = ice->GetPort() ? ice->GetPort() : "";
    frame.Command(ID_DEBUG_SET_PORT);
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ(port, ice->GetPort() ? ice->GetPort() : "") << "Cancel keeps the port";
}

TEST_F(DebugMode, WriteOtherObjEndsWithTheBoardsMessage)
{
    CMainFrame* p = frame.p;
    CString strObj, strSecond;
    WORD wFlags = 0;
    ASSERT_TRUE(p->GetDownloadFiles(strObj, strSecond, &wFlags, FALSE));
    ASSERT_EQ(1, Enabled(ID_DEBUG_WRITE_OTHER));
    answerer.Queue(vt::ModalAnswer(IDOK).Type(vt::kFileNameBox, (LPCSTR)strObj));
    frame.Command(ID_DEBUG_WRITE_OTHER);
    EXPECT_EQ(1u, answerer.Count());
    ASSERT_TRUE(ice->IsWriting());
    EXPECT_EQ(1, Enabled(ID_DEBUG_STOP_WRITING));
    // The board's "writing ended" request reaches the manager through the frame.
    for (int i = 0; i < 500 && ice->IsWriting(); i++) {
        vt::PumpMessages();
        ::Sleep(10);
    }
    EXPECT_FALSE(ice->IsWriting());
    EXPECT_EQ(0, Enabled(ID_DEBUG_STOP_WRITING));
}

TEST_F(DebugMode, ServicesForTheEmulatorsUserInterface)
{
    CMainFrame* p = frame.p;
    ASSERT_TRUE(frame.Visible(IDW_PROJECT_BAR));
    ASSERT_TRUE(frame.Visible(IDW_OUTPUT_BAR));
    p->SaveBarState(MAINFRAME_BARSTATE);
    // The debug layout starts without the workspace bars; the editing layout brings them back.
    p->HideWorkspaceBars();
    EXPECT_FALSE(frame.Visible(IDW_PROJECT_BAR));
    EXPECT_FALSE(frame.Visible(IDW_OUTPUT_BAR));
    p->RestoreEditLayout();
    EXPECT_TRUE(frame.Visible(IDW_PROJECT_BAR));
    EXPECT_TRUE(frame.Visible(IDW_OUTPUT_BAR));

    // A listing opens as a disassembly document; a missing one gives no view.
    auto* pApp = static_cast<CAsmIDEApp*>(AfxGetApp());
    pApp->m_pMainWnd = p;
    std::string listing = sample.dir.Write("Sample.lst", "0000 10 05    LDI A, COUNT\r\n");
    C_IDEDisAsmView* pView = p->OpenDisAsmView(listing.c_str());
    ASSERT_TRUE(pView);
    EXPECT_TRUE(pView->GetDocument()->IsKindOf(RUNTIME_CLASS(C_IDEDisAsmDoc)));
    pView->GetDocument()->OnCloseDocument();
    EXPECT_EQ(nullptr, p->OpenDisAsmView(sample.dir.File("none.lst").c_str()));
    pApp->m_pMainWnd = nullptr;
}

// Runs the queue until the build has ended; the bound only guards against a hang.
bool BuildEnded(CMainFrame* p)
{
    for (int i = 0; i < 2400 && p->m_bBuilding; i++)
        vt::PumpMessages(25);
    vt::PumpMessages();
    return !p->m_bBuilding;
}

TEST_F(DebugMode, YesToTheBuildQuestionRunsTheCommandOnceTheBuildHasEndedWithoutErrors)
{
    CMainFrame* p = frame.p;
    ASSERT_TRUE(p->StartDebug(nullptr));
    const std::string strMain = sample.Folder() + "main.asm";
    const std::string text = vt::ReadFileBytes(strMain);
    ::Sleep(20);
    vt::WriteFileBytes(strMain, text);

    // Yes: the build starts and Run waits for its end; then the new build is downloaded and run.
    // The source the stop opened was written again: after the build it is reloaded.
    size_t at = board.Trace().size();
    answerer.Queue(vt::ModalAnswer(IDYES));
    answerer.Queue(vt::ModalAnswer(IDYES));
    frame.Command(ID_DEBUG_RUN);
    ASSERT_LE(1u, answerer.Count());
    EXPECT_EQ("Source files or options of project changed! Build it now?", answerer.Seen()[0].text);
    EXPECT_TRUE(p->m_bBuilding);
    EXPECT_FALSE(ice->IsRunning()) << "nothing runs before the build has ended";
    ASSERT_TRUE(BuildEnded(p));
    EXPECT_FALSE(p->m_bBuildError);
    EXPECT_TRUE(ice->IsRunning());
    std::string trace = TraceFrom(at);
    size_t download = trace.find("7 Download");
    ASSERT_NE(std::string::npos, download) << trace;
    EXPECT_NE(std::string::npos, trace.find("10 Run", download)) << trace;
    frame.Command(ID_DEBUG_STOP);
    WaitStopped();

    // A build with errors drops the command.
    ::Sleep(20);
    vt::WriteFileBytes(strMain, text + "        BOGUS A\r\n");
    at = board.Trace().size();
    answerer.Queue(vt::ModalAnswer(IDYES));
    answerer.Queue(vt::ModalAnswer(IDYES));
    frame.Command(ID_DEBUG_RUN);
    EXPECT_TRUE(p->m_bBuilding);
    ASSERT_TRUE(BuildEnded(p));
    EXPECT_TRUE(p->m_bBuildError);
    EXPECT_FALSE(ice->IsRunning());
    EXPECT_EQ(0u, p->m_nPendingAction);
    trace = TraceFrom(at);
    EXPECT_EQ(std::string::npos, trace.find("10 Run")) << trace;
    EXPECT_TRUE(p->IsDebugging());
}

// main.asm opened in a view while the board is connected: its breakpoints live in the board's store.
class DebugSource : public DebugMode {
protected:
    void SetUp() override
    {
        DebugMode::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        path = sample.Folder() + "main.asm";
        doc = dynamic_cast<CAsmIDEDoc*>(static_cast<CAsmIDEApp*>(AfxGetApp())->OpenNewDocument("Text", path.c_str()));
        ASSERT_TRUE(doc);
        POSITION pos = doc->GetFirstViewPosition();
        view = pos ? dynamic_cast<C_IDEEditorView*>(doc->GetNextView(pos)) : nullptr;
        ASSERT_TRUE(view);
        vt::PumpMessages();
    }
    // The board's breakpoints of main.asm, line and state.
    std::vector<std::pair<int, int>> BoardBreakpoints()
    {
        std::vector<std::pair<int, int>> out;
        I_IceBreakpointList* pStore = ice->GetBreakpointList();
        if (!pStore || pStore->StartListing(path.c_str()) != 0)
            return out;
        int nLine = 0;
        DWORD dwState = 0;
        while (pStore->GetNext(&nLine, &dwState) == 0)
            out.emplace_back(nLine, (int)(dwState & 0xFFFF));
        return out;
    }
    // The lines whose nodes carry a breakpoint mark, with their states.
    std::vector<std::pair<int, int>> Marks()
    {
        std::vector<std::pair<int, int>> out;
        for (TWKEditLine* pLine = doc->m_Edit.GetFirstLine(); pLine; pLine = pLine->pNext)
            if (int nState = GetLineBreakState(pLine))
                out.emplace_back(pLine->nLineNo, nState);
        return out;
    }
    int ViewUpdate(UINT nID)
    {
        vt::CTestCmdUI ui;
        ui.m_nID = nID;
        ui.DoUpdate(view, FALSE);
        return ui.nEnabled;
    }
    void Repaint()
    {
        view->Invalidate(FALSE);
        view->UpdateWindow();
    }
    void CommandAt(int nLine, UINT nID)
    {
        view->GoToLine(nLine);
        view->SendMessage(WM_COMMAND, nID);
    }
    // The line taken out with its line end before it (from the end of the line above to its own
    // end), so that its node leaves the text; nothing repaints.
    void DeleteLine(int nLine)
    {
        TWKEdit& edit = doc->m_Edit;
        TWKEditPos from = { edit.GetLine(nLine - 1), edit.VisibleEnd(edit.GetLine(nLine - 1)) };
        TWKEditPos to = { edit.GetLine(nLine), edit.VisibleEnd(edit.GetLine(nLine)) };
        view->SetSelection(&from, &to, FALSE);
        view->DeleteSelection(FALSE, TRUE);
    }
    void InsertLines(int nAbove, int nCount)
    {
        view->GoToLineColumn(nAbove, 0);
        std::string lines;
        for (int i = 0; i < nCount; i++)
            lines += "; more\r\n";
        view->InsertTextBlock(lines.c_str(), FALSE, TRUE);
    }
    using Marked = std::vector<std::pair<int, int>>;

    std::string path;
    CAsmIDEDoc* doc = nullptr;
    C_IDEEditorView* view = nullptr;
};

TEST_F(DebugSource, TheViewsCommandsAndTheGutterSetBreakpointsInTheBoardsStore)
{
    // Toggle Breakpoint on the caret line, then Disable and Enable it.
    ASSERT_EQ(1, ViewUpdate(ID_DEBUG_TOGGLE_BREAKPOINT));
    CommandAt(14, ID_DEBUG_TOGGLE_BREAKPOINT);
    EXPECT_EQ(Marked({ { 14, 2 } }), BoardBreakpoints());
    EXPECT_EQ(Marked({ { 14, 2 } }), Marks());
    CommandAt(14, ID_DEBUG_ENABLE_BREAKPOINT);
    EXPECT_EQ(Marked({ { 14, 1 } }), BoardBreakpoints());
    EXPECT_EQ(Marked({ { 14, 1 } }), Marks());
    CommandAt(14, ID_DEBUG_ENABLE_BREAKPOINT);
    EXPECT_EQ(Marked({ { 14, 2 } }), Marks());
    EXPECT_NE(std::string::npos, board.Trace().find("bp 14 Enable " + path + " 14 1")) << board.Trace();
    CommandAt(14, ID_DEBUG_TOGGLE_BREAKPOINT);
    EXPECT_TRUE(BoardBreakpoints().empty());
    EXPECT_TRUE(Marks().empty());
    // Enable/Disable on a line without a breakpoint is off.
    EXPECT_EQ(0, ViewUpdate(ID_DEBUG_ENABLE_BREAKPOINT));

    // A double click in the gutter toggles the line clicked, also on the bottom row, which the
    // press before it (selecting the line) scrolls up.
    for (bool bBottom : { false, true }) {
        SCOPED_TRACE(bBottom ? "bottom row" : "middle row");
        int nRows = view->m_nLineHeight ? view->m_rcClient.bottom / view->m_nLineHeight : 0;
        ASSERT_GT(nRows, 2);
        int nTop = bBottom ? 16 - nRows + 1 : 16 - nRows / 2;
        view->SetTopLine(nTop > 1 ? nTop : 1, TRUE);
        Repaint();
        int y = (16 - view->m_nTopLine) * view->m_nLineHeight + view->m_nLineHeight / 2;
        ASSERT_LT(y, view->m_rcClient.bottom);
        auto doubleClick = [&] {
            const LPARAM lParam = MAKELPARAM(view->m_nTextLeft / 4, y);
            view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lParam);
            view->SendMessage(WM_LBUTTONUP, 0, lParam);
            view->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, lParam);
            view->SendMessage(WM_LBUTTONUP, 0, lParam);
        };
        doubleClick();
        EXPECT_EQ(Marked({ { 16, 2 } }), BoardBreakpoints());
        EXPECT_EQ(Marked({ { 16, 2 } }), Marks());
        doubleClick();
        EXPECT_TRUE(BoardBreakpoints().empty());
        EXPECT_TRUE(Marks().empty());
    }
}

TEST_F(DebugSource, ABreakpointFollowsItsLineAtTheNextRepaint)
{
    struct Case {
        const char* name;
        int inserted;   // lines put in above line 1 (negative: the breakpoint's line deleted)
        const char* told;   // what the board is told
        Marked after;
    };
    const Case cases[] = {
        { "one line above", 1, "bp 13 Move %s 14 15", { { 15, 2 } } },
        { "fifty lines above", 50, "bp 13 Move %s 14 64", { { 64, 2 } } },
        { "sixty lines above: dropped", 60, "bp 5 Remove %s 14", {} },
        { "its line deleted", -1, "bp 5 Remove %s 14", {} },
    };
    const std::string original = vt::ReadFileBytes(path);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc->ReloadFromDisk(path.c_str());
        ASSERT_EQ(Marked(), BoardBreakpoints());
        CommandAt(14, ID_DEBUG_TOGGLE_BREAKPOINT);
        ASSERT_EQ(Marked({ { 14, 2 } }), BoardBreakpoints());
        size_t at = board.Trace().size();
        if (c.inserted > 0)
            InsertLines(1, c.inserted);
        else
            DeleteLine(14);
        Repaint();
        char told[MAX_PATH + 64];
        snprintf(told, sizeof told, c.told, path.c_str());
        EXPECT_NE(std::string::npos, TraceFrom(at).find(told)) << TraceFrom(at);
        EXPECT_EQ(c.after, BoardBreakpoints());
        EXPECT_EQ(c.after, Marks());
        // What the board kept is gone for the next case.
        for (const auto& bp : BoardBreakpoints())
            ice->GetBreakpointList()->Remove(path.c_str(), bp.first);
    }
    vt::WriteFileBytes(path, original);
}

TEST_F(DebugSource, ABreakpointPastTheEndMarksTheLastLine)
{
    const int nLast = doc->m_Edit.GetLineCount();
    ASSERT_EQ(0, ice->GetBreakpointList()->Add(path.c_str(), nLast + 30));
    doc->RebuildBreakLineMap();
    EXPECT_EQ(Marked({ { nLast, 2 } }), Marks());
}

// Save, reload and close right after a marked line was deleted, before any repaint: the marks
// of the other lines stay on their lines, and no line gains a mark it was not given.
TEST_F(DebugSource, SaveReloadAndCloseRightAfterAMarkedLineWasDeleted)
{
    auto markThree = [&] {
        for (const auto& bp : BoardBreakpoints())
            ice->GetBreakpointList()->Remove(path.c_str(), bp.first);
        doc->RebuildBreakLineMap();
        Repaint();
        for (int nLine : { 10, 14, 16 })
            CommandAt(nLine, ID_DEBUG_TOGGLE_BREAKPOINT);
        ASSERT_EQ(Marked({ { 10, 2 }, { 14, 2 }, { 16, 2 } }), Marks());
        DeleteLine(14);
    };

    // Saved: the board follows the saved text.
    markThree();
    ASSERT_TRUE(doc->DoFileSave());
    EXPECT_EQ(Marked({ { 10, 2 }, { 15, 2 } }), BoardBreakpoints());
    EXPECT_EQ(Marked({ { 10, 2 }, { 15, 2 } }), Marks());
    Repaint();
    EXPECT_EQ(Marked({ { 10, 2 }, { 15, 2 } }), BoardBreakpoints());

    // Reloaded: the edit is thrown away, and so are its moves.
    markThree();
    doc->ReloadFromDisk(path.c_str());
    EXPECT_EQ(Marked({ { 10, 2 }, { 14, 2 }, { 16, 2 } }), Marks());
    Repaint();
    EXPECT_EQ(Marked({ { 10, 2 }, { 14, 2 }, { 16, 2 } }), BoardBreakpoints());

    // Closed without saving: the file keeps its lines, and the board its breakpoints.
    markThree();
    doc->OnCloseDocument();
    doc = nullptr;
    view = nullptr;
    vt::PumpMessages();
    EXPECT_EQ(Marked({ { 10, 2 }, { 14, 2 }, { 16, 2 } }), BoardBreakpoints());
}

TEST_F(DebugSource, TheDataTipShowsAWatchSymbolsValueWhileDebugging)
{
    CToolTipCtrl& tip = view->m_ToolTip;
    auto tipText = [&] {
        if (!tip.m_hWnd)
            return std::string();
        TOOLINFOA ti;
        tip.FillInToolInfo(ti, view, 0);
        char text[256] = "";
        ti.lpszText = text;
        tip.SendMessage(TTM_GETTEXTA, sizeof text, (LPARAM)&ti);
        return std::string(text);
    };
    // The middle of a column on line 8, "        LDI A, COUNT".
    view->GoToLine(1);
    Repaint();
    auto at = [&](int nCol) {
        int x = view->m_nTextLeft + (nCol - view->m_nFirstCol) * view->m_nCharWidth + view->m_nCharWidth / 2;
        int y = (8 - view->m_nTopLine) * view->m_nLineHeight + view->m_nLineHeight / 2;
        return MAKELPARAM(x, y);
    };
    const int kCount = 15, kMnemonic = 8;

    // Outside debug mode nothing is evaluated.
    size_t from = board.Trace().size();
    view->SendMessage(WM_MOUSEMOVE, 0, at(kCount));
    EXPECT_EQ("", tipText());
    EXPECT_EQ(std::string::npos, TraceFrom(from).find("watch 4 Add")) << TraceFrom(from);

    ASSERT_TRUE(frame.p->StartDebug(nullptr));
    vt::PumpMessages();
    view->SendMessage(WM_MOUSEMOVE, 0, at(kCount + 2));
    ASSERT_TRUE(tip.m_hWnd);
    EXPECT_EQ("COUNT = 0x5", tipText());
    EXPECT_NE(std::string::npos, TraceFrom(from).find("watch 4 Add COUNT")) << TraceFrom(from);
    // The same point again is not evaluated again.
    from = board.Trace().size();
    view->SendMessage(WM_MOUSEMOVE, 0, at(kCount + 2));
    EXPECT_EQ(std::string::npos, TraceFrom(from).find("watch 4 Add")) << TraceFrom(from);
    // A name the watch refuses shows nothing.
    view->SendMessage(WM_MOUSEMOVE, 0, at(kMnemonic));
    EXPECT_NE(std::string::npos, TraceFrom(from).find("watch 4 Add LDI")) << TraceFrom(from);
    EXPECT_EQ("", tipText());
}

TEST_F(DebugSource, AnActionCommandReachesTheBoardThroughTheActiveSourceView)
{
    frame.p->MDIActivate(view->GetParentFrame());
    vt::PumpMessages();
    ASSERT_EQ(view, frame.p->GetActiveFrame()->GetActiveView());
    ASSERT_TRUE(frame.p->StartDebug(nullptr));
    vt::PumpMessages();
    // The view's own handling answers first: enabled while the target is stopped.
    EXPECT_EQ(1, ViewUpdate(ID_ICE_ACTION_FIRST + 1));
    size_t at = board.Trace().size();
    frame.Command(ID_ICE_ACTION_FIRST + 1);
    EXPECT_NE(std::string::npos, TraceFrom(at).find("action 6 Execute 1")) << TraceFrom(at);
    EXPECT_NE(std::string::npos, TraceFrom(at).find("LED port now")) << TraceFrom(at);
}

} // namespace
