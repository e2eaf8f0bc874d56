// The debugger's windows on the simulated board: the sample program, built by
// the toy assembler into a private folder, debugged through the frame's own
// ICE manager and user-interface manager. The board's trace tells what reached it.
#include <gtest/gtest.h>
#include "components/ToyTarget/ToyTarget.h"
#include "ide/debugger/IDEDisAsmDoc.h"
#include "ide/debugger/IDEDisAsmView.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/debugger/IDEIceUIMgr.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "resources/ideres.h"
#include "ide/workbench/IDEEditorView.h"
#include "tests/ide/debugger/board_fixture.h"
#include "tests/ide/debugger/debugviews_fakes.h"
#include "tests/ide/workbench/mainframe_fixture.h"

namespace {

CAsmIDEApp* App()
{
    return dynamic_cast<CAsmIDEApp*>(AfxGetApp());
}

class DebugBoard : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.p);
        ui = vt::UseAsMainWindow(frame.p);
        ice = frame.p->GetIceMgr();
        ASSERT_TRUE(ice && ui);
    }
    void TearDown() override
    {
        if (ice && ice->IsDebugging())
            ice->CloseDebug();
        App()->CloseAllDocuments(TRUE);
        vt::PumpMessages();
        App()->m_pMainWnd = nullptr;
    }
    bool Start(const char* part)
    {
        CString strPart = part, strObj = board.Obj().c_str(), strSecond;
        return ice->Init() && ice->SelectPart(strPart) && ice->StartDebug(strPart, strObj, strSecond, 0xFFFF, 0, "USB");
    }
    // The board's stop message, handled as the frame hands it to the ICE manager.
    void WaitStop()
    {
        MSG msg;
        DWORD until = GetTickCount() + 20000;
        while (!PeekMessageA(&msg, frame.hWnd, ICE_WM_TARGET_STOPPED, ICE_WM_TARGET_STOPPED, PM_REMOVE)) {
            ASSERT_LT((int)(GetTickCount() - until), 0) << "the board did not stop";
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
        }
        ice->OnTargetStopped(0, 0);
        vt::PumpMessages();
    }
    std::string ArrowFile()
    {
        C_IDEEditorView* view = ui->GetArrowView();
        if (!view)
            return "";
        std::string path = (LPCSTR)view->GetDocument()->GetPathName();
        return path.substr(path.rfind('\\') + 1);
    }
    void Show(CControlBar* bar) { vt::ShowBar(frame.p, bar); }
    // Source lines with a breakpoint on the board.
    std::vector<int> Breakpoints(const char* file)
    {
        std::vector<int> lines;
        I_IceBreakpointList* list = ice->GetBreakpointList();
        if (list && list->StartListing(board.File(file).c_str()) == 0) {
            int line = 0;
            DWORD state = 0;
            while (list->GetNext(&line, &state) == 0)
                lines.push_back(line);
        }
        return lines;
    }

    // Code bytes that are no instruction: a data line of the listing.
    vt::BoardAndSample board{ "        .db 0x11, 0x22\r\n" };
    vt::MainFrame frame;
    C_IDEIceMgr* ice = nullptr;
    C_IDEIceUIMgr* ui = nullptr;
};

TEST_F(DebugBoard, StepIntoTheCallThenCallStackHistoryAndListing)
{
    ASSERT_TRUE(Start("KV61A-S28"));
    EXPECT_EQ("main.asm", ArrowFile()) << "the PC's source comes up on start";

    // Breakpoint on CALL PLAY, run, step into: the PC in PLAY, sound.asm line 4.
    ASSERT_EQ(0, ice->GetBreakpointList()->Add(board.File("main.asm").c_str(), 14));
    ASSERT_TRUE(ice->Run());
    WaitStop();
    ASSERT_TRUE(ice->StepInto());
    WaitStop();
    EXPECT_EQ("sound.asm", ArrowFile());
    DWORD a = 0, b = 0;
    char path[ICE_PATH_SIZE];
    int line = 0;
    ASSERT_TRUE(ice->GetPCAddress(&a, &b));
    ASSERT_TRUE(ice->AddressToSource(a, b, sizeof path, path, &line));
    EXPECT_EQ(4, line);

    // The call stack: two frames; the second is the caller on main.asm line 14.
    Show(ui->GetCallStackBar());
    ui->UpdateDebugWindows(TRUE, FALSE);
    C_IDEIceCallStackWnd* stack = ui->GetCallStackBar()->GetWnd();
    ASSERT_EQ(3, stack->GetEdit()->GetLineCount());
    EXPECT_EQ(1, stack->GetIndicatorLine());
    int h = stack->m_nLineHeight;
    vt::DoubleClick(stack, stack->m_nTextLeft + 4, h + h / 2);
    EXPECT_EQ(2, stack->GetIndicatorLine());
    EXPECT_EQ("main.asm", ArrowFile()) << "the caller's source";
    C_IDEEditorView* callerView = ui->GetArrowView();
    ASSERT_TRUE(callerView);
    auto* callerDoc = dynamic_cast<CAsmIDEDoc*>(callerView->GetDocument());
    ASSERT_TRUE(callerDoc);
    EXPECT_EQ(14, callerDoc->m_nCallerLine) << "the caller arrow on the CALL";
    EXPECT_EQ(14, callerView->m_nCaretLine);

    // History: "BB:AAAA" lines; a double click opens that line's source.
    Show(ui->GetHistoryBar());
    ui->ReloadHistory();
    C_IDEIceHistoryEdit* history = ui->GetHistoryBar()->GetEdit();
    CString text;
    history->GetWindowText(text);
    ASSERT_FALSE(text.IsEmpty());
    DWORD ha = 0, hb = 0;
    EXPECT_TRUE(ParseHistoryAddress(text, &ha, &hb, nullptr)) << (LPCSTR)text;
    ASSERT_TRUE(ice->AddressToSource(ha, hb, sizeof path, path, &line));
    history->SetSel(0, 0);
    history->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    vt::PumpMessages();
    CDocument* historyDoc = frame.p->FindOpenDocument(path);
    ASSERT_TRUE(historyDoc) << path;
    POSITION pos = historyDoc->GetFirstViewPosition();
    auto* historyView = dynamic_cast<TWKEditView*>(historyDoc->GetNextView(pos));
    ASSERT_TRUE(historyView);
    EXPECT_EQ(line, historyView->m_nCaretLine) << "the history line's source line";

    // View Disassembly on main.asm line 14: the listing with the PC arrow, instruction stepping.
    // (the source view's own command, on its caret line)
    callerView->GoToLine(14);
    callerView->SendMessage(WM_COMMAND, ID_DEBUG_VIEW_DISASSEMBLY);
    vt::PumpMessages();
    C_IDEDisAsmView* view = ui->GetDisAsmView();
    ASSERT_TRUE(view);
    EXPECT_NE(std::string::npos, board.Trace().find("50 SetSourceLevelStep 0"));
    C_IDEDisAsmDoc* doc = view->GetListingDoc();
    EXPECT_LT(0, doc->m_nPCLine);

    // A breakpoint toggled in the listing's gutter is the board's, on the source line.
    C_IDEEditCtrl& listing = view->GetListing();
    listing.GoToLine(1);
    std::vector<int> before = Breakpoints("main.asm");
    int lh = listing.GetLineHeight();
    vt::DoubleClick(&listing, 2, lh / 2);
    EXPECT_EQ(1, listing.GetCaretLine());
    EXPECT_EQ(2, doc->GetLineBreakState(1));
    CString source;
    int sourceLine = 0;
    {
        I_IceDisAsm* disasm = nullptr;
        ASSERT_TRUE(ice->GetInterface(ICE_IID_DISASM, (void**)&disasm));
        char p[ICE_PATH_SIZE];
        ASSERT_EQ(0, disasm->ListingToSource(1, p, &sourceLine));
    }
    std::vector<int> after = Breakpoints("main.asm");
    EXPECT_EQ(before.size() + 1, after.size());
    EXPECT_NE(after.end(), std::find(after.begin(), after.end(), sourceLine));
    // And a breakpoint set on the source shows in the listing.
    vt::DoubleClick(&listing, 2, lh / 2);
    EXPECT_EQ(0, doc->GetLineBreakState(1));
    ASSERT_EQ(0, ice->GetBreakpointList()->Add(board.File("main.asm").c_str(), sourceLine));
    ui->RefreshBreakpoints();
    EXPECT_EQ(2, doc->GetLineBreakState(1));

    // In-place editing on an instruction line: the listing line is replaced.
    listing.GoToLine(1);
    ASSERT_TRUE(view->CanModifySource());
    view->BeginModifySource();
    CEdit* edit = view->GetAttachEdit();
    ASSERT_TRUE(edit);
    edit->SetWindowText("LDI A, 9");
    edit->SendMessage(WM_KEYDOWN, VK_RETURN);
    EXPECT_NE(std::string::npos, board.Trace().find("25 EditListingLine"));
    CString replaced(listing.GetCaretLineNode()->pText);
    EXPECT_NE(-1, replaced.Find("LDI A, 9")) << (LPCSTR)replaced;
    EXPECT_NE(-1, replaced.Find("1009")) << "the new code";
    ASSERT_TRUE(view->GetAttachEdit()) << "the editor stays after Enter";
    view->GetAttachEdit()->SendMessage(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(nullptr, view->GetAttachEdit());

    // Page Down at the end asks the board for the next part and puts the caret on line 1.
    listing.GoToLine(listing.GetEdit()->GetLineCount());
    size_t traced = board.Trace().size();
    listing.SendMessage(WM_COMMAND, ID_TWK_PAGEDOWN);
    EXPECT_NE(std::string::npos, board.Trace().find("33 GetPCListingLine 3", traced));
    EXPECT_EQ(1, listing.GetCaretLine());

    // The go-to strip shows the listing at the address typed.
    view->GetGotoBar().SetDlgItemText(IDC_GOTO_SPACE, "0");
    view->GetGotoBar().SetDlgItemText(IDC_GOTO_ADDRESS, "10");
    view->GetGotoBar().SendMessage(WM_COMMAND, MAKEWPARAM(IDC_GOTO_GO, BN_CLICKED));
    EXPECT_NE(std::string::npos, board.Trace().find("32 AddressToListing 0 16", traced));

    // Lines that are not instructions cannot be edited in place.
    I_IceDisAsm* disasm = nullptr;
    ASSERT_TRUE(ice->GetInterface(ICE_IID_DISASM, (void**)&disasm));
    int refused = 0;
    for (int part = 0; part < 8 && refused == 0; part++) {
        for (int n = 1; n <= listing.GetEdit()->GetLineCount(); n++) {
            listing.GoToLine(n);
            int kind = -1;
            if (disasm->GetLineKind(n, &kind) == 0 && kind != ICE_LINE_INSTRUCTION) {
                EXPECT_FALSE(view->CanModifySource()) << n;
                refused++;
            }
        }
        ui->FindPCListingLine(ICE_LISTING_NEXT_PART, FALSE);
    }
    EXPECT_LT(0, refused) << "the .db line";

    // Closing the debugger restores the editing layout and closes the listing.
    ice->CloseDebug();
    vt::PumpMessages();
    EXPECT_EQ(nullptr, ui->GetDisAsmView());
    EXPECT_EQ(nullptr, App()->FindDocTemplate("DisAsm")->GetFirstDocPosition());
    EXPECT_FALSE(ui->GetCallStackBar()->IsVisible());
    EXPECT_FALSE(ui->GetHistoryBar()->IsVisible());
}

TEST_F(DebugBoard, WithoutSourceTheListingComesUpAndSteppingGoesByInstruction)
{
    ASSERT_TRUE(Start("KV61A-S28"));
    ASSERT_EQ(0, ice->GetBreakpointList()->Add(board.File("main.asm").c_str(), 14));
    // sound.asm is gone from the folder: the board still names it, the IDE cannot open it.
    ASSERT_TRUE(DeleteFileA(board.File("sound.asm").c_str()));
    ASSERT_TRUE(ice->Run());
    WaitStop();
    vt::ModalAnswerer answerer;   // the source document's own report of the missing file
    ASSERT_TRUE(ice->StepInto());
    WaitStop();
    C_IDEDisAsmView* view = ui->GetDisAsmView();
    ASSERT_TRUE(view) << "the listing at the PC";
    EXPECT_LT(0, view->GetListingDoc()->m_nPCLine);
    EXPECT_NE(std::string::npos, board.Trace().find("50 SetSourceLevelStep 0"));
    // Closing it (the part has breakpoints) detaches: stepping by source again.
    view->GetParentFrame()->SendMessage(WM_CLOSE);
    vt::PumpMessages();
    EXPECT_EQ(nullptr, ui->GetDisAsmView());
    EXPECT_NE(std::string::npos, board.Trace().find("50 SetSourceLevelStep 1"));
}

TEST_F(DebugBoard, PartsWithoutBreakpointsOrListingEditsKeepTheirWindow)
{
    struct {
        const char* part;
        bool asks, edits;
    } cases[] = { { "KV61A-Q44", true, true }, { "KQ83-L48", false, false } };
    for (auto& c : cases) {
        ASSERT_TRUE(Start(c.part)) << c.part;
        ui->ShowDisAsmForLine(board.File("main.asm").c_str(), 8);
        vt::PumpMessages();
        C_IDEDisAsmView* view = ui->GetDisAsmView();
        ASSERT_TRUE(view) << c.part;
        view->GetListing().GoToLine(1);
        EXPECT_EQ(c.edits, !!view->CanModifySource()) << c.part;
        vt::ModalAnswerer answerer(IDCANCEL);
        view->GetParentFrame()->SendMessage(WM_CLOSE);
        vt::PumpMessages();
        EXPECT_EQ(c.asks ? 1u : 0u, answerer.Count()) << c.part;
        EXPECT_EQ(c.asks, ui->GetDisAsmView() == view) << c.part << ": the window stays";
        if (answerer.Count())
            EXPECT_EQ("Warning: ", answerer.Last().caption);
        ice->CloseDebug();
        vt::PumpMessages();
    }
}

} // namespace
