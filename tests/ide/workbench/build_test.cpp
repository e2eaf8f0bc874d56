// The frame's build side on a real frame with the project-manager stand-in:
// the commands' enabling rules on real menu items, the progress protocol, the
// way of output records, the request codes, the step after a build, Clean and
// Stop Build, saving before a build and the gate before an action.
#include "tests/ide/workbench/mainframe_fixture.h"
#include "tests/harness/sample_copy.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "support/ui/MsgBoxEx.h"
#include <cstring>

namespace {

CAsmIDEApp* App()
{
    return dynamic_cast<CAsmIDEApp*>(AfxGetApp());
}

// Runs the queue until the build or compile has finished; the bound only
// guards against a hang.
bool WaitBuilt(CMainFrame* p)
{
    for (int i = 0; i < 2400 && ::IsWindow(p->m_hWnd) && p->m_bBuilding; i++)
        vt::PumpMessages(25);
    vt::PumpMessages();
    return !::IsWindow(p->m_hWnd) || !p->m_bBuilding;
}

std::vector<std::string> PageTexts(C_MessageRecordList* pList)
{
    std::vector<std::string> out;
    for (POSITION pos = pList->GetHeadPosition(); pos;)
        out.push_back(pList->GetNext(pos)->text);
    return out;
}

bool Has(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

const tagMessageRecord* FindRecord(C_MessageRecordList* pList, int nKind, const std::string& fileEnd)
{
    for (POSITION pos = pList->GetHeadPosition(); pos;) {
        const tagMessageRecord* pRec = pList->GetNext(pos);
        std::string file = pRec->fileName;
        if (pRec->kind == nKind && file.size() >= fileEnd.size()
            && _stricmp(file.c_str() + file.size() - fileEnd.size(), fileEnd.c_str()) == 0)
            return pRec;
    }
    return nullptr;
}

tagMessageRecord Record(int nKind, const char* text, const char* file = "", int line = 0)
{
    tagMessageRecord rec = {};
    rec.kind = nKind;
    lstrcpynA(rec.text, text, sizeof rec.text);
    lstrcpynA(rec.fileName, file, sizeof rec.fileName);
    rec.line = line;
    return rec;
}

void SetKey(const std::string& file, const char* section, const char* key, const char* value)
{
    WritePrivateProfileStringA(section, key, value, file.c_str());
}

// What the gate's action saw.
struct ActionLog {
    int calls = 0;
    DWORD arg = 0;
};
ActionLog g_action;
void RecordAction(CMainFrame*, DWORD dwArg)
{
    g_action.calls++;
    g_action.arg = dwArg;
}

class Build : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_action = {};
        ASSERT_TRUE(frame.p);
        if (!App()->FindDocTemplate("Text"))
            App()->RegisterDocTemplates();
        // Documents open in this frame.
        App()->m_pMainWnd = frame.p;
        ASSERT_TRUE(frame.p->InitProjectManager());
    }
    void TearDown() override
    {
        if (frame.p && ::IsWindow(frame.hWnd)) {
            WaitBuilt(frame.p);
            if (frame.p->m_bProjectOpen)
                frame.p->CloseProject(FALSE);
            App()->CloseAllDocuments(TRUE);
        }
        App()->m_pMainWnd = nullptr;
    }
    CMainFrame* Open(const std::string& path)
    {
        EXPECT_TRUE(frame.p->OpenProject(path.c_str()));
        return frame.p;
    }
    C_MessageRecordList* BuildPage() { return frame.p->m_pBuildRecords; }
    C_MessageRecordList* ResultPage()
    {
        return &frame.p->GetMessageBar()->m_wndTabs.m_wndResult.GetRecords();
    }
    CAsmIDEDoc* OpenDoc(const std::string& path)
    {
        return dynamic_cast<CAsmIDEDoc*>(App()->OpenNewDocument("Text", path.c_str()));
    }

    vt::ModalAnswerer answerer{ IDNO };
    vt::SampleCopy sample;
    vt::MainFrame frame;
};

// ---- enabling rules

struct MenuState {
    int build, rebuild, clean, compile, stop;   // 1 enabled, 0 grey, -1 untouched
};

MenuState ReadMenu(CMainFrame* p)
{
    const UINT ids[] = { ID_PROJECT_BUILD, ID_PROJECT_REBUILD_ALL, ID_PROJECT_CLEAN, ID_PROJECT_COMPILE,
                         ID_PROJECT_STOP_BUILD };
    CMenu menu;
    menu.CreatePopupMenu();
    for (UINT id : ids)
        menu.AppendMenu(MF_STRING | MF_GRAYED, id, "x");
    int state[5];
    for (int i = 0; i < 5; i++) {
        // A marker the handler must change: an untouched item keeps it.
        menu.CheckMenuItem(i, MF_BYPOSITION | MF_CHECKED);
        menu.EnableMenuItem(i, MF_BYPOSITION | MF_DISABLED);
        CCmdUI ui;
        ui.m_pMenu = &menu;
        ui.m_nIndex = i;
        ui.m_nIndexMax = 5;
        ui.m_nID = ids[i];
        ui.DoUpdate(p, FALSE);
        UINT s = menu.GetMenuState(i, MF_BYPOSITION);
        state[i] = (s & MF_GRAYED) ? 0 : (s & MF_DISABLED) ? -1 : 1;
    }
    return { state[0], state[1], state[2], state[3], state[4] };
}

TEST_F(Build, EnablingRulesOnRealMenuItems)
{
    CMainFrame* p = frame.p;
    std::string obj = sample.Folder() + "Obj.wbi";
    ASSERT_TRUE(CopyFileA(sample.Project().c_str(), obj.c_str(), FALSE));
    SetKey(obj, "Project", "Kind", "4");
    struct Row {
        const char* name;
        const char* project;   // "" none, "sample", "obj"
        BOOL building, modal, closing;
        MenuState want;
    };
    const Row rows[] = {
        { "empty workspace", "", FALSE, FALSE, FALSE, { 0, 0, 0, 0, 0 } },
        { "sample", "sample", FALSE, FALSE, FALSE, { 1, 1, 1, 0, 0 } },
        { "building", "sample", TRUE, FALSE, FALSE, { 0, 0, 0, 0, 1 } },
        { "modal build", "sample", FALSE, TRUE, FALSE, { 0, 0, 0, 0, 0 } },
        { "closing while building", "sample", TRUE, FALSE, TRUE, { -1, -1, -1, -1, 1 } },
        { "object-file project", "obj", FALSE, FALSE, FALSE, { 0, 0, 0, 0, 0 } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (p->m_bProjectOpen) {
            ASSERT_TRUE(p->CloseProject(FALSE));
        }
        if (std::string(row.project) == "sample")
            Open(sample.Project());
        else if (std::string(row.project) == "obj")
            Open(obj);
        p->m_bBuilding = row.building;
        p->m_bModalBuild = row.modal;
        p->m_bClosing = row.closing;
        p->m_strSelectedFile.Empty();
        MenuState got = ReadMenu(p);
        p->m_bBuilding = p->m_bModalBuild = p->m_bClosing = FALSE;
        EXPECT_EQ(row.want.build, got.build);
        EXPECT_EQ(row.want.rebuild, got.rebuild);
        EXPECT_EQ(row.want.clean, got.clean);
        EXPECT_EQ(row.want.compile, got.compile);
        EXPECT_EQ(row.want.stop, got.stop);
    }
}

// The frame keeps its own copy of the tree's selected path: the tree's string
// may be replaced or freed as soon as the selection changes.
TEST_F(Build, SelectedPathIsCopied)
{
    CMainFrame* p = Open(sample.Project());
    char* pszPath = new char[MAX_PATH];
    strcpy(pszPath, (sample.Folder() + "main.asm").c_str());
    p->SendMessage(WM_MAIN_REQUEST, 5, reinterpret_cast<LPARAM>(pszPath));
    memset(pszPath, 'x', MAX_PATH - 1);
    pszPath[MAX_PATH - 1] = 0;
    delete[] pszPath;
    EXPECT_EQ(sample.Folder() + "main.asm", (LPCSTR)p->m_strSelectedFile);
    // No source view is active: Compile follows the copy.
    EXPECT_EQ(1, ReadMenu(p).compile);
    p->SendMessage(WM_MAIN_REQUEST, 5, reinterpret_cast<LPARAM>((sample.Folder() + "readme.txt").c_str()));
    EXPECT_EQ(0, ReadMenu(p).compile);
}

// ---- progress pane

TEST_F(Build, ProgressProtocol)
{
    CMainFrame* p = frame.p;
    TWKProgressCtrl* pBar = p->GetProgressCtrl();
    // A text before any start changes the text of the hidden control only.
    p->SendMessage(WM_MAIN_PROGRESS, 4, reinterpret_cast<LPARAM>("Waiting"));
    EXPECT_STREQ("Waiting", pBar->GetText());
    EXPECT_FALSE(pBar->IsWindowVisible());
    EXPECT_FALSE(p->KillTimer(TIMER_MAIN_PROGRESS));

    p->SendMessage(WM_MAIN_PROGRESS, 3, reinterpret_cast<LPARAM>("Running..."));
    EXPECT_TRUE(pBar->IsWindowVisible());
    EXPECT_STREQ("Running...", pBar->GetText());
    EXPECT_EQ(0u, pBar->m_nLower);
    EXPECT_EQ(100u, pBar->m_nUpper);
    EXPECT_EQ(RGB(0, 0, 0x80), pBar->m_clrBar);
    UINT nStart = pBar->m_nPos;
    // The timer steps the bar by one, not while paused.
    p->SendMessage(WM_TIMER, TIMER_MAIN_PROGRESS);
    EXPECT_EQ(nStart + 1, pBar->m_nPos);
    p->SendMessage(WM_MAIN_PROGRESS, 1);
    p->SendMessage(WM_TIMER, TIMER_MAIN_PROGRESS);
    EXPECT_EQ(nStart + 1, pBar->m_nPos);
    p->SendMessage(WM_MAIN_PROGRESS, 0);
    p->SendMessage(WM_TIMER, TIMER_MAIN_PROGRESS);
    EXPECT_EQ(nStart + 2, pBar->m_nPos);
    p->SendMessage(WM_MAIN_PROGRESS, 4, reinterpret_cast<LPARAM>("Writing"));
    EXPECT_STREQ("Writing", pBar->GetText());
    // Codes outside 0 to 4 do nothing.
    p->SendMessage(WM_MAIN_PROGRESS, 9, reinterpret_cast<LPARAM>("no"));
    EXPECT_STREQ("Writing", pBar->GetText());

    p->SendMessage(WM_MAIN_PROGRESS, 2);
    EXPECT_FALSE(pBar->IsWindowVisible());
    EXPECT_EQ(pBar->m_nLower, pBar->m_nPos);
    EXPECT_FALSE(p->KillTimer(TIMER_MAIN_PROGRESS));
}

// ---- records and requests

TEST_F(Build, RecordsGoThroughTheFilterByKind)
{
    std::string path = sample.Folder() + "Few.wbi";
    ASSERT_TRUE(CopyFileA(sample.Project().c_str(), path.c_str(), FALSE));
    SetKey(path, "Project", "MaxErrors", "1");
    CMainFrame* p = Open(path);
    p->ShowControlBar(p->GetMessageBar(), FALSE, FALSE);
    ASSERT_FALSE(frame.Visible(p->GetMessageBar()->GetDlgCtrlID()));

    tagMessageRecord first = Record(CU_REC_ERROR, "error: first", "a.asm", 3);
    p->SendMessage(WM_MAIN_REQUEST, 0, reinterpret_cast<LPARAM>(&first));
    EXPECT_TRUE(p->m_bBuildError);
    EXPECT_TRUE(p->GetMessageBar()->IsVisible());
    // Beyond MaxErrors the stand-in drops the record; it still sets the flag and shows the bar.
    p->m_bBuildError = FALSE;
    p->ShowControlBar(p->GetMessageBar(), FALSE, FALSE);
    tagMessageRecord second = Record(CU_REC_ERROR, "error: second", "a.asm", 4);
    p->SendMessage(WM_MAIN_REQUEST, 0, reinterpret_cast<LPARAM>(&second));
    EXPECT_TRUE(p->m_bBuildError);
    EXPECT_TRUE(p->GetMessageBar()->IsVisible());
    // Other kinds go to the output window without the filter.
    tagMessageRecord highlight = Record(CU_REC_HIGHLIGHT, "highlighted");
    tagMessageRecord five = Record(5, "kind five");
    p->SendMessage(WM_MAIN_REQUEST, 0, reinterpret_cast<LPARAM>(&highlight));
    p->SendMessage(WM_MAIN_REQUEST, 0, reinterpret_cast<LPARAM>(&five));
    std::vector<std::string> build = PageTexts(BuildPage());
    EXPECT_TRUE(Has(build, "error: first"));
    EXPECT_FALSE(Has(build, "error: second"));
    std::vector<std::string> result = PageTexts(ResultPage());
    EXPECT_TRUE(Has(result, "highlighted"));
    EXPECT_TRUE(Has(result, "kind five"));

    // Fields that fill all 256 characters are cut at 255.
    tagMessageRecord full = Record(CU_REC_MESSAGE, "");
    memset(full.text, 't', sizeof full.text);
    memset(full.fileName, 'f', sizeof full.fileName);
    p->SendMessage(WM_MAIN_REQUEST, 0, reinterpret_cast<LPARAM>(&full));
    ASSERT_FALSE(BuildPage()->IsEmpty());
    EXPECT_EQ(255u, strlen(BuildPage()->GetTail()->text));
    EXPECT_EQ(255u, strlen(BuildPage()->GetTail()->fileName));
}

TEST_F(Build, RequestCodes)
{
    CMainFrame* p = Open(sample.Project());
    INT_PTR nBuild = BuildPage()->GetCount(), nResult = ResultPage()->GetCount();
    // 4 marks the project modified.
    p->GetProjectWnd()->SetProjectModified(FALSE);
    p->SendMessage(WM_MAIN_REQUEST, 4, 0);
    EXPECT_TRUE(p->GetProjectWnd()->IsProjectModified());
    // 3 ends the search state; 10 and 15 are requests, never records, whatever lParam holds.
    tagMessageRecord rec = Record(CU_REC_MESSAGE, "not a record here");
    p->m_bFinding = TRUE;
    p->SendMessage(WM_MAIN_REQUEST, 3, reinterpret_cast<LPARAM>(&rec));
    EXPECT_FALSE(p->m_bFinding);
    p->SendMessage(WM_MAIN_REQUEST, 10, reinterpret_cast<LPARAM>(&rec));
    p->SendMessage(WM_MAIN_REQUEST, 15, reinterpret_cast<LPARAM>(&rec));
    // 5 copies the selected path (see SelectedPathIsCopied).
    p->SendMessage(WM_MAIN_REQUEST, 5, reinterpret_cast<LPARAM>(rec.text));
    EXPECT_STREQ("not a record here", p->m_strSelectedFile);
    EXPECT_EQ(nBuild, BuildPage()->GetCount());
    EXPECT_EQ(nResult, ResultPage()->GetCount());
    // 15 gives every open source document its syntax again.
    CAsmIDEDoc* pDoc = OpenDoc(sample.Folder() + "main.asm");
    ASSERT_TRUE(pDoc);
    pDoc->m_Edit.SetProfileSection("Editor\\Nothing");
    p->SendMessage(WM_MAIN_REQUEST, 15, 0);
    EXPECT_STRNE("Editor\\Nothing", pDoc->m_Edit.m_strSection);
}

// ---- building

TEST_F(Build, BuildTheSampleTiesItsWarningAndClosesReportsAtTheNextStart)
{
    CMainFrame* p = Open(sample.Project());
    CAsmIDEDoc* pMain = OpenDoc(sample.Folder() + "main.asm");
    ASSERT_TRUE(pMain);
    p->SendMessage(WM_COMMAND, ID_PROJECT_BUILD);
    EXPECT_TRUE(p->m_bBuilding);
    EXPECT_TRUE(p->GetProgressCtrl()->IsWindowVisible());
    ASSERT_TRUE(WaitBuilt(p));
    EXPECT_FALSE(p->m_bBuildError);
    EXPECT_FALSE(p->GetProgressCtrl()->IsWindowVisible());
    EXPECT_FALSE(p->KillTimer(TIMER_MAIN_PROGRESS));
    const tagMessageRecord* pWarning = FindRecord(BuildPage(), CU_REC_WARNING, "\\main.asm");
    ASSERT_TRUE(pWarning);
    EXPECT_EQ(18, pWarning->line);
    // The warning is tied to line 18 of the open document.
    C_IDELineTies::Entry tie;
    ASSERT_TRUE(p->GetProjectWnd()->GetLineTies().Find(pWarning, &tie));
    EXPECT_EQ(&pMain->m_Edit, tie.pStore);
    EXPECT_EQ(pMain->m_Edit.GetLine(18), tie.pLine);
    EXPECT_EQ(0u, answerer.Count()) << answerer.Last().text;

    // The sample opens its report after a build; the next start closes it.
    std::vector<CDocument*> reports;
    for (CDocument* pDoc : p->GetProjectWnd()->m_pReportDocs)
        if (pDoc)
            reports.push_back(pDoc);
    ASSERT_FALSE(reports.empty());
    auto* pReport = dynamic_cast<CAsmIDEDoc*>(reports[0]);
    ASSERT_TRUE(pReport);
    EXPECT_TRUE(pReport->m_Edit.IsReadOnly());
    CString strReport = pReport->GetPathName();
    p->SendMessage(WM_COMMAND, ID_PROJECT_REBUILD_ALL);
    EXPECT_EQ(nullptr, p->FindOpenDocument(strReport));
    ASSERT_TRUE(WaitBuilt(p));
    EXPECT_NE(nullptr, p->FindOpenDocument(strReport));
}

TEST_F(Build, CompileTheActiveSource)
{
    CMainFrame* p = Open(sample.Project());
    CAsmIDEDoc* pMain = OpenDoc(sample.Folder() + "main.asm");
    ASSERT_TRUE(pMain);
    vt::PumpMessages();
    EXPECT_EQ(1, ReadMenu(p).compile);
    p->SendMessage(WM_COMMAND, ID_PROJECT_COMPILE);
    EXPECT_TRUE(p->m_bBuilding);
    EXPECT_EQ(0, ReadMenu(p).compile);
    ASSERT_TRUE(WaitBuilt(p));
    std::vector<std::string> texts = PageTexts(BuildPage());
    EXPECT_TRUE(Has(texts, "Compiling main.asm...")) << texts.size();
    EXPECT_FALSE(Has(texts, "Compiling sound.asm..."));
    EXPECT_FALSE(p->GetProgressCtrl()->IsWindowVisible());
    EXPECT_EQ(0u, answerer.Count()) << answerer.Last().text;
}

TEST_F(Build, DoubleClickedRecordOpensItsLine)
{
    CMainFrame* p = Open(sample.Project());
    p->SendMessage(WM_COMMAND, ID_PROJECT_BUILD);
    ASSERT_TRUE(WaitBuilt(p));
    const tagMessageRecord* pWarning = FindRecord(BuildPage(), CU_REC_WARNING, "\\main.asm");
    ASSERT_TRUE(pWarning);
    p->SendMessage(WM_OUTPUT_NAVIGATE, 1, reinterpret_cast<LPARAM>(pWarning));
    CDocument* pDoc = p->FindOpenDocument(pWarning->fileName);
    ASSERT_TRUE(pDoc);
    // Other codes do nothing.
    pDoc->OnCloseDocument();
    p->SendMessage(WM_OUTPUT_NAVIGATE, 2, reinterpret_cast<LPARAM>(pWarning));
    EXPECT_EQ(nullptr, p->FindOpenDocument(pWarning->fileName));
}

TEST_F(Build, CleanClearsOnlyTheResultPage)
{
    CMainFrame* p = Open(sample.Project());
    p->SendMessage(WM_COMMAND, ID_PROJECT_BUILD);
    ASSERT_TRUE(WaitBuilt(p));
    tagMessageRecord result = Record(CU_REC_HIGHLIGHT, "a result line");
    p->SendMessage(WM_MAIN_REQUEST, 0, reinterpret_cast<LPARAM>(&result));
    std::vector<std::string> build = PageTexts(BuildPage());
    ASSERT_FALSE(build.empty());
    ASSERT_FALSE(ResultPage()->IsEmpty());
    p->SendMessage(WM_COMMAND, ID_PROJECT_CLEAN);
    EXPECT_TRUE(ResultPage()->IsEmpty());
    EXPECT_EQ(build, PageTexts(BuildPage()));
    EXPECT_FALSE(p->m_bBuilding);
    EXPECT_FALSE(p->GetProgressCtrl()->IsWindowVisible());
    // The outputs are gone: a build is needed again.
    EXPECT_TRUE(p->GetProjectMgr()->IsBuildNeeded());
}

// Stops the build from the frame's thread while the build thread waits in
// the record that names the source: the build is inside its work.
HHOOK g_hStopHook = nullptr;
CMainFrame* g_pStopFrame = nullptr;
LRESULT CALLBACK StopOnCompiling(int nCode, WPARAM wParam, LPARAM lParam)
{
    auto* pMsg = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && g_pStopFrame && pMsg->hwnd == g_pStopFrame->m_hWnd && pMsg->message == WM_MAIN_REQUEST
        && pMsg->wParam == 0 && pMsg->lParam
        && strcmp(reinterpret_cast<tagMessageRecord*>(pMsg->lParam)->text, "Compiling broken.asm...") == 0)
        g_pStopFrame->SendMessage(WM_COMMAND, ID_PROJECT_STOP_BUILD);
    return CallNextHookEx(g_hStopHook, nCode, wParam, lParam);
}

TEST_F(Build, StopBuildShortensTheBuild)
{
    std::string big;
    for (int i = 0; i < 20000; ++i)
        big += "        NOP\r\n";
    big += "        HALT\r\n";
    vt::WriteFileBytes(sample.Fixture("broken.asm"), big);
    CMainFrame* p = Open(sample.Fixture("Broken.wbi"));
    g_pStopFrame = p;
    g_hStopHook = SetWindowsHookExA(WH_CALLWNDPROC, StopOnCompiling, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(g_hStopHook);
    p->SendMessage(WM_COMMAND, ID_PROJECT_REBUILD_ALL);
    bool built = WaitBuilt(p);
    UnhookWindowsHookEx(g_hStopHook);
    g_pStopFrame = nullptr;
    ASSERT_TRUE(built);
    std::vector<std::string> texts = PageTexts(BuildPage());
    EXPECT_TRUE(Has(texts, "Build stopped."));
    EXPECT_FALSE(Has(texts, "Compiling later.asm..."));
}

TEST_F(Build, CloseDuringABuildWaitsForIt)
{
    SetKey(sample.Project(), "Project", "AutoOpenReport", "0");
    CMainFrame* p = Open(sample.Project());
    // The completion is posted: until the queue runs the build is not over.
    p->SendMessage(WM_COMMAND, ID_PROJECT_REBUILD_ALL);
    ASSERT_TRUE(p->m_bBuilding);
    p->SendMessage(WM_COMMAND, ID_FILE_CLOSE_PROJECT);
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Wait for building processes terminated !!", answerer.Last().text);
    EXPECT_TRUE(p->m_bProjectOpen);
    // A second Close Project during that build does nothing.
    p->SendMessage(WM_COMMAND, ID_FILE_CLOSE_PROJECT);
    EXPECT_EQ(1u, answerer.Count());
    ASSERT_TRUE(WaitBuilt(p));
    vt::PumpMessages();
    EXPECT_FALSE(p->m_bProjectOpen);
    EXPECT_FALSE(p->m_bCloseProjectAfterBuild);

    // The frame itself: it closes right after the build.
    Open(sample.Project());
    p->SendMessage(WM_COMMAND, ID_PROJECT_REBUILD_ALL);
    ASSERT_TRUE(p->m_bBuilding);
    answerer.Clear();
    // The test process lives on after its frame.
    App()->m_pMainWnd = nullptr;
    p->SendMessage(WM_CLOSE);
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Wait for building or finding in files processes terminated !!", answerer.Last().text);
    EXPECT_TRUE(::IsWindow(frame.hWnd));
    for (int i = 0; i < 2400 && ::IsWindow(frame.hWnd); i++)
        vt::PumpMessages(25);
    EXPECT_FALSE(::IsWindow(frame.hWnd));
    frame.p = nullptr;
}

// ---- saving before a build

TEST_F(Build, SavingBeforeABuildTouchesOnlyProjectFiles)
{
    CMainFrame* p = Open(sample.Project());
    std::string outside = sample.dir.Write("outside.asm", "        NOP\r\n");
    CAsmIDEDoc* pMain = OpenDoc(sample.Folder() + "main.asm");
    CAsmIDEDoc* pOutside = OpenDoc(outside);
    ASSERT_TRUE(pMain && pOutside);
    pMain->m_Edit.SetModified(TRUE);
    pOutside->m_Edit.SetModified(TRUE);
    // The sample saves without asking.
    EXPECT_TRUE(p->SaveModifiedDocuments());
    EXPECT_EQ(0u, answerer.Count()) << answerer.Last().text;
    EXPECT_FALSE(pMain->m_Edit.IsModified());
    EXPECT_TRUE(pOutside->m_Edit.IsModified());

    // Asking: the project file's question, and Cancel refuses the build.
    ASSERT_TRUE(p->CloseProject(FALSE));
    SetKey(sample.Project(), "Project", "AutoSave", "0");
    Open(sample.Project());
    pMain = OpenDoc(sample.Folder() + "main.asm");
    ASSERT_TRUE(pMain);
    pMain->m_Edit.SetModified(TRUE);
    answerer.Clear();
    answerer.Queue(IDCANCEL);
    EXPECT_FALSE(p->SaveModifiedDocuments());
    EXPECT_EQ(1u, answerer.Count());
    EXPECT_TRUE(pMain->m_Edit.IsModified());
    pMain->m_Edit.SetModified(FALSE);
}

// ---- the gate before an action

TEST_F(Build, GateBeforeAnAction)
{
    struct Row {
        const char* name;
        bool ask;        // the project's question flag
        bool built;      // built before: IsBuildNeeded is FALSE
        int answer;      // 0: no question expected
        BOOL want;       // what the gate returns
        int calls;       // actions run once the build has ended
    };
    const Row rows[] = {
        { "question off", false, false, 0, TRUE, 0 },
        { "nothing to build", true, true, 0, TRUE, 0 },
        { "cancel", true, false, IDCANCEL, FALSE, 0 },
        { "no", true, false, IDNO, TRUE, 0 },
        { "yes", true, false, IDYES, FALSE, 1 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        vt::SampleCopy copy;
        SetKey(copy.Project(), "Project", "AutoCheckModification", row.ask ? "1" : "0");
        CMainFrame* p = Open(copy.Project());
        if (row.built) {
            p->SendMessage(WM_COMMAND, ID_PROJECT_BUILD);
            ASSERT_TRUE(WaitBuilt(p));
        }
        g_action = {};
        answerer.Clear();
        if (row.answer)
            answerer.Queue(row.answer);
        EXPECT_EQ(row.want, p->ConfirmBuildBeforeAction(RecordAction, 0x1234));
        ASSERT_EQ(row.answer ? 1u : 0u, answerer.Count());
        if (row.answer) {
            EXPECT_EQ("Source files or options of project changed! Build it now?", answerer.Last().text);
        }
        EXPECT_EQ(row.answer == IDYES, !!p->m_bBuilding);
        ASSERT_TRUE(WaitBuilt(p));
        EXPECT_EQ(row.calls, g_action.calls);
        if (row.calls) {
            EXPECT_EQ(0x1234u, g_action.arg);
        }
        EXPECT_EQ(0u, p->m_nPendingAction);
        ASSERT_TRUE(p->CloseProject(FALSE));
    }
}

TEST_F(Build, GateDropsTheActionAfterErrorsOrWhenNoBuildStarts)
{
    // Errors: the waiting action is dropped.
    SetKey(sample.Fixture("Broken.wbi"), "Project", "AutoCheckModification", "1");
    CMainFrame* p = Open(sample.Fixture("Broken.wbi"));
    answerer.Queue(IDYES);
    EXPECT_FALSE(p->ConfirmBuildBeforeAction(RecordAction, 7));
    EXPECT_TRUE(p->m_bBuilding);
    ASSERT_TRUE(WaitBuilt(p));
    EXPECT_TRUE(p->m_bBuildError);
    EXPECT_EQ(0, g_action.calls);
    EXPECT_EQ(0u, p->m_nPendingAction);
    ASSERT_TRUE(p->CloseProject(FALSE));

    // Settings incomplete: the build does not start, and the action is not
    // left armed for a later build.
    std::string path = sample.Folder() + "NoClock.wbi";
    ASSERT_TRUE(CopyFileA(sample.Project().c_str(), path.c_str(), FALSE));
    SetKey(path, "Device", nullptr, nullptr);
    Open(path);
    answerer.Clear();
    answerer.Queue(IDYES);
    answerer.Queue(IDCANCEL);   // the options dialog, opened on the page to complete
    EXPECT_FALSE(p->ConfirmBuildBeforeAction(RecordAction, 8));
    EXPECT_FALSE(p->m_bBuilding);
    EXPECT_EQ(0u, p->m_nPendingAction);
    EXPECT_EQ(nullptr, p->m_pfnPendingAction);
    // A later build runs nothing.
    SetKey(path, "Device", "Clock", "8");
    ASSERT_TRUE(p->CloseProject(FALSE));
    Open(path);
    p->SendMessage(WM_COMMAND, ID_PROJECT_BUILD);
    ASSERT_TRUE(WaitBuilt(p));
    EXPECT_EQ(0, g_action.calls);
}

}  // namespace
