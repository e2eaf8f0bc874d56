// The real program in debug mode on the simulated board: the sample is opened, debug mode
// entered from the Debug menu's command, the target run, stopped and stepped, and debug mode
// left; the windowed /debug road enters debug mode on the named port. The
// board's trace in a private copy of the program folder tells what reached it.
#include <gtest/gtest.h>
#include "resources/ideres.h"
#include "tests/harness/box_work.h"
#include "tests/harness/harness.h"
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

} // namespace
