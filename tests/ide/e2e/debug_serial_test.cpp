// The real program in debug mode on the simulated board: the sample is opened, debug mode
// entered from the Debug menu's command, the target run, stopped and stepped, and debug mode
// left; the sample's scenario stops on the lines it names; the windowed /debug road enters
// debug mode on the named port. The board's trace in a private copy of the program folder
// tells what reached it.
#include <gtest/gtest.h>
#include "resources/ideres.h"
#include "tests/harness/box_work.h"
#include "tests/harness/harness.h"
#include "tests/harness/ide/build_page.h"
#include "tests/harness/ide/ide_process.h"
#include <functional>
#include <memory>

namespace {

bool WaitUntil(const std::function<bool()>& done, DWORD ms = 30000)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > ms)
            return false;
    return true;
}

// One program copy with the board's trace on and the sample built by the windowless road. The
// sample's program loops where it would halt, so that a run lasts until it is stopped.
class DebugRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string source = copy.Folder() + "sample\\main.asm";
        std::string text = vt::ReadFileBytes(source);
        size_t halt = text.find("        HALT");
        ASSERT_NE(std::string::npos, halt);
        vt::WriteFileBytes(source, text.replace(halt, 12, "halt:   JMP halt"));
        std::string sim = copy.Folder() + "ZComSim.ini";
        WritePrivateProfileStringA("Trace", "Enable", "1", sim.c_str());
        WritePrivateProfileStringA("Trace", "File", "trace.log", sim.c_str());
        vt::IdeProcess build(copy, std::string(vt::ProgramCopy::SampleProject()) + " /hide /build");
        ASSERT_TRUE(build.Started());
        ASSERT_NE(-1, build.Wait());
        std::string lines = vt::ReadFileBytes(copy.Folder() + "ZideMsg.txt");
        ASSERT_NE(std::string::npos, lines.find("0 error(s)")) << lines;
    }
    std::string Trace() const { return vt::ReadFileBytes(copy.Folder() + "trace.log"); }
    bool TraceHas(const std::string& text, size_t from = 0) const
    {
        return WaitUntil([&] { return Trace().find(text, from) != std::string::npos; });
    }
    // The item by its text; the board's actions are shown indented.
    static const vt::MenuItemSeen* Find(const std::vector<vt::MenuItemSeen>& items, const std::string& text)
    {
        for (const vt::MenuItemSeen& item : items)
            if (item.text == text || item.text == "  " + text)
                return &item;
        return nullptr;
    }
    static std::string Describe(const std::vector<vt::MenuItemSeen>& items)
    {
        std::string text;
        for (const vt::MenuItemSeen& item : items)
            text += "[" + item.text + (item.grayed ? ", greyed" : "") + "] ";
        return text;
    }

    vt::ProgramCopy copy;
};

TEST_F(DebugRun, EnterRunStepActionAndLeaveDebugMode)
{
    std::unique_ptr<vt::IdeProcess> process(new vt::IdeProcess(copy, vt::ProgramCopy::SampleProject()));
    ASSERT_TRUE(process->Started());
    vt::RemoteAnswerer answerer(process->Id(), IDOK);
    HWND frame = process->MainWindow();
    ASSERT_NE(nullptr, frame);
    DWORD id = process->Id();

    // Outside debug mode the Debug popup offers Start Debugger and the board's actions.
    std::vector<vt::MenuItemSeen> items = vt::ReadMenuBarPopup(frame, id, 'd');
    const vt::MenuItemSeen* start = Find(items, "Start Debugger");
    ASSERT_TRUE(start) << Describe(items);
    EXPECT_FALSE(start->grayed) << Describe(items);

    PostMessageA(frame, WM_COMMAND, ID_DEBUG_START, 0);
    ASSERT_TRUE(TraceHas("43 EnterDebugMode")) << Trace();
    EXPECT_TRUE(TraceHas("7 Download")) << Trace();
    DWORD entered = 0;
    EXPECT_TRUE(WaitUntil([&] { return copy.ReadProfileInt("", "EnteredDebug", &entered) && entered == 1; }));

    // The debugging menu with the actions; Run and the steps are on, Start Debugger is gone.
    items = vt::ReadMenuBarPopup(frame, id, 'd');
    for (const char* text : { "Close Debugger", "Run", "Step Over", "Step Into" }) {
        const vt::MenuItemSeen* item = Find(items, text);
        ASSERT_TRUE(item) << text << ": " << Describe(items);
        EXPECT_FALSE(item->grayed) << text << ": " << Describe(items);
    }
    EXPECT_TRUE(Find(items, "Reset Board")) << Describe(items);
    EXPECT_TRUE(Find(items, "Toggle LED")) << Describe(items);
    EXPECT_FALSE(Find(items, "Start Debugger")) << Describe(items);

    // Run, Stop, the steps and Restart reach the board; the stop message ends each.
    size_t at = Trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_RUN, 0);
    ASSERT_TRUE(TraceHas("10 Run", at)) << Trace();
    // The status bar's progress pane says so while the target runs, and Stop is on.
    HWND progress = nullptr;
    for (HWND hwnd : vt::detail::Descendants(frame)) {
        char cls[64] = "";
        GetClassNameA(hwnd, cls, sizeof cls);
        if (std::string(cls) == "msctls_progress32")
            progress = hwnd;
    }
    ASSERT_NE(nullptr, progress);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(progress) != FALSE; }));
    char text[64] = "";
    GetWindowTextA(progress, text, sizeof text);
    EXPECT_STREQ("Running...", text);
    items = vt::ReadMenuBarPopup(frame, id, 'd');
    ASSERT_TRUE(Find(items, "Stop")) << Describe(items);
    EXPECT_FALSE(Find(items, "Stop")->grayed) << Describe(items);
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_STOP, 0);
    ASSERT_TRUE(TraceHas("11 Stop", at)) << Trace();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(progress); }));
    const std::pair<UINT, const char*> steps[] = { { ID_DEBUG_RESTART, "17 Restart" },
                                                   { ID_DEBUG_STEP_INTO, "12 StepInto" },
                                                   { ID_DEBUG_STEP_OVER, "18 StepOver" },
                                                   { ID_DEBUG_STEP_OUT, "26 StepOut" } };
    for (const auto& [cmd, line] : steps) {
        at = Trace().size();
        // A step is taken once the previous one has stopped.
        WaitUntil([&] {
            std::vector<vt::MenuItemSeen> now = vt::ReadMenuBarPopup(frame, id, 'd');
            const vt::MenuItemSeen* run = Find(now, "Run");
            return run && !run->grayed;
        });
        PostMessageA(frame, WM_COMMAND, cmd, 0);
        EXPECT_TRUE(TraceHas(line, at)) << line << "\n" << Trace();
    }

    PostMessageA(frame, WM_COMMAND, ID_DEBUG_CLOSE, 0);
    EXPECT_TRUE(TraceHas("44 LeaveDebugMode")) << Trace();
    EXPECT_TRUE(WaitUntil([&] { return copy.ReadProfileInt("", "EnteredDebug", &entered) && entered == 0; }));
    items = vt::ReadMenuBarPopup(frame, id, 'd');
    EXPECT_TRUE(Find(items, "Start Debugger")) << Describe(items);
    EXPECT_FALSE(Find(items, "Close Debugger")) << Describe(items);

    process->Close();
    EXPECT_NE(-1, process->Wait());
    // The source opened at the stop joins the project's open documents: only the save question may come.
    for (const vt::ModalSeen& seen : answerer.Seen())
        if (seen.text.find("Save Current Project ?") == std::string::npos)
            ADD_FAILURE() << "a box showed: " << seen.text;
}

TEST_F(DebugRun, TheDebugSwitchEntersDebugModeOnTheNamedPort)
{
    std::unique_ptr<vt::IdeProcess> process(
        new vt::IdeProcess(copy, std::string(vt::ProgramCopy::SampleProject()) + " /Debug:com3"));
    ASSERT_TRUE(process->Started());
    vt::RemoteAnswerer answerer(process->Id(), IDOK);
    ASSERT_NE(nullptr, process->MainWindow());
    EXPECT_TRUE(TraceHas("3 OpenBoard COM3 KV61A-S28")) << Trace();
    EXPECT_TRUE(TraceHas("43 EnterDebugMode")) << Trace();
    DWORD entered = 0;
    EXPECT_TRUE(WaitUntil([&] { return copy.ReadProfileInt("", "EnteredDebug", &entered) && entered == 1; }));
    process->Close();
    EXPECT_NE(-1, process->Wait());
}

// The sample's own scenario: the build question answered Yes, a breakpoint on main.asm line 14,
// Run, the steps into sound.asm and back, Run to Cursor, Restart and an action from the Debug
// menu, and Close Debugger. Each stop is read from the caret the PC moves (the status bar's
// caret pane) in the active source, and from the board's trace.
TEST_F(DebugRun, TheSampleStopsOnTheLinesOfItsScenario)
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    const std::string main = copy.Folder() + "sample\\main.asm";
    // Written again after the build: the build is due.
    Sleep(50);
    vt::WriteFileBytes(main, vt::ReadFileBytes(main));

    vt::IdeProcess process(copy, vt::ProgramCopy::SampleProject());
    ASSERT_TRUE(process.Started());
    vt::RemoteAnswerer answerer(process.Id(), IDOK);
    HWND frame = process.MainWindow();
    ASSERT_NE(nullptr, frame);
    DWORD id = process.Id();
    HWND status = GetDlgItem(frame, 0xE801);
    ASSERT_NE(nullptr, status);
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    ASSERT_NE(nullptr, client);
    auto caretPane = [&] { return vt::StatusPaneText(process.Handle(), status, 3); };
    auto activeIs = [&](const char* file) {
        HWND active = reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
        return active && active == vt::FindDocumentFrame(frame, file);
    };
    auto runEnabled = [&] {
        const vt::MenuItemSeen* run = nullptr;
        std::vector<vt::MenuItemSeen> items = vt::ReadMenuBarPopup(frame, id, 'd');
        run = Find(items, "Run");
        return run && !run->grayed;
    };
    // Stopped in that file on that line.
    auto stoppedAt = [&](const char* file, int line) {
        std::string want = "Ln " + std::to_string(line) + ",";
        return WaitUntil([&] { return runEnabled() && activeIs(file) && caretPane().rfind(want, 0) == 0; });
    };
    // The caret of the active view moved to a line with the arrow keys.
    auto caretTo = [&](HWND view, int line) {
        int now = atoi(caretPane().c_str() + 3);
        for (; now < line; now++)
            SendMessageA(view, WM_KEYDOWN, VK_DOWN, 0);
        for (; now > line; now--)
            SendMessageA(view, WM_KEYDOWN, VK_UP, 0);
        std::string want = "Ln " + std::to_string(line) + ",";
        return WaitUntil([&] { return caretPane().rfind(want, 0) == 0; });
    };

    // 1. Start Debugger asks for the build; Yes builds and then enters debug mode (the build's
    // warning is read from the Build page once Close Debugger has brought the output back).
    answerer.Queue(vt::ModalAnswer(IDYES));
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_START, 0);
    ASSERT_TRUE(TraceHas("43 EnterDebugMode")) << Trace();
    ASSERT_LE(1u, answerer.Count());
    EXPECT_EQ("Source files or options of project changed! Build it now?", answerer.Seen()[0].text);
    std::vector<vt::MenuItemSeen> items = vt::ReadMenuBarPopup(frame, id, 'd');
    for (const char* text : { "Close Debugger", "Reset Board", "Toggle LED" })
        EXPECT_TRUE(Find(items, text)) << text << ": " << Describe(items);

    // The download shows the program's first instruction: main.asm line 8.
    ASSERT_TRUE(stoppedAt("main.asm", 8)) << caretPane() << "\n" << Trace();
    HWND view = GetWindow(vt::FindDocumentFrame(frame, "main.asm"), GW_CHILD);
    ASSERT_NE(nullptr, view);
    // Nothing in the source is painted in the breakpoint's red yet.
    POINT at = {};
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_FALSE(vt::FindColoredLine(view, RGB(255, 0, 0), &at));

    // 2. A breakpoint on line 14 (CALL PLAY); Run stops there.
    ASSERT_TRUE(caretTo(view, 14)) << caretPane();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_TOGGLE_BREAKPOINT, 0);
    ASSERT_TRUE(TraceHas("bp 3 Add " + main + " 14")) << Trace();
    size_t from = Trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_RUN, 0);
    ASSERT_TRUE(TraceHas("10 Run", from)) << Trace();
    ASSERT_TRUE(TraceHas("13 GetPC", from)) << Trace();
    EXPECT_TRUE(stoppedAt("main.asm", 14)) << caretPane();

    // 3. Into the player, out again, over the next line, and on to the line of the caret.
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_STEP_INTO, 0);
    EXPECT_TRUE(stoppedAt("sound.asm", 4)) << caretPane() << "\n" << Trace();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_STEP_OUT, 0);
    EXPECT_TRUE(stoppedAt("main.asm", 15)) << caretPane() << "\n" << Trace();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_STEP_OVER, 0);
    EXPECT_TRUE(stoppedAt("main.asm", 16)) << caretPane() << "\n" << Trace();
    ASSERT_TRUE(caretTo(view, 17)) << caretPane();
    from = Trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_RUN_TO_CURSOR, 0);
    ASSERT_TRUE(TraceHas("20 RunTo", from)) << Trace();
    EXPECT_TRUE(TraceHas("13 GetPC", Trace().find("20 RunTo", from))) << Trace();
    EXPECT_TRUE(stoppedAt("main.asm", 17)) << caretPane();

    // 4. Restart: the PC is back on line 8. "Toggle LED" from the Debug menu reaches the board.
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_RESTART, 0);
    EXPECT_TRUE(stoppedAt("main.asm", 8)) << caretPane() << "\n" << Trace();
    from = Trace().size();
    items = vt::ReadMenuBarPopup(frame, id, 'd');
    const vt::MenuItemSeen* led = Find(items, "Toggle LED");
    ASSERT_TRUE(led) << Describe(items);
    PostMessageA(frame, WM_SYSCOMMAND, SC_KEYMENU, 'd');
    ASSERT_TRUE(vt::ChoosePopupMenuItem(id, led->text));
    EXPECT_TRUE(TraceHas("action 6 Execute 1", from)) << Trace();

    // 5. Close Debugger: the menu of the active source, "EnteredDebug" 0, and the dot stays.
    from = Trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_CLOSE, 0);
    ASSERT_TRUE(TraceHas("44 LeaveDebugMode", from)) << Trace();
    DWORD entered = 1;
    EXPECT_TRUE(WaitUntil([&] { return copy.ReadProfileInt("", "EnteredDebug", &entered) && entered == 0; }));
    items = vt::ReadMenuBarPopup(frame, id, 'd');
    EXPECT_TRUE(Find(items, "Start Debugger")) << Describe(items);
    EXPECT_TRUE(Find(items, "Toggle Breakpoint")) << "the source's menu: " << Describe(items);
    EXPECT_EQ(std::string::npos, Trace().find("bp 5 Remove", from)) << Trace();
    SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(vt::FindDocumentFrame(frame, "main.asm")), 0);
    EXPECT_TRUE(WaitUntil([&] {
        RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return vt::FindColoredLine(view, RGB(255, 0, 0), &at);
    })) << "no breakpoint dot";
    // The editing layout is back, with the Build page of step 1: its one warning and no error.
    HWND page = vt::FindBuildPage(frame);
    ASSERT_NE(nullptr, page);
    EXPECT_TRUE(WaitUntil([&] {
        RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return vt::FindColoredLine(page, vt::kWarningColor, &at);
    })) << "no warning on the Build page";
    EXPECT_FALSE(vt::FindColoredLine(page, vt::kErrorColor, &at));

    process.Close();
    EXPECT_NE(-1, process.Wait());
    for (const vt::ModalSeen& seen : answerer.Seen())
        EXPECT_TRUE(seen.text == answerer.Seen()[0].text || seen.text == "Save Current Project ?" ||
                    seen.text.find("Save changes") == 0)
            << seen.text;
}

} // namespace
