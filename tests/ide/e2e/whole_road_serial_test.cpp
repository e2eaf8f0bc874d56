// A user's whole road through the real program on the simulated board: open the
// sample, build it (its one warning), open main.asm from the warning, debug (the
// list bars fill from the board), set and clear a breakpoint, run, stop and step,
// leave debug mode and close. Each stop is read from the board's trace and the
// windows seen from outside.
#include <gtest/gtest.h>
#include <windows.h>
#include "resources/ideres.h"
#include "tests/harness/box_work.h"
#include "tests/harness/harness.h"
#include "tests/harness/ide/build_page.h"
#include "tests/harness/ide/ide_process.h"
#include <functional>
#include <memory>

namespace {

using vt::detail::Descendants;
using vt::detail::WindowText;

bool WaitUntil(const std::function<bool()>& done, DWORD ms = 60000)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > ms)
            return false;
    return true;
}

// A visible window of the frame with that caption (the debug bars carry their names).
HWND VisibleBar(HWND frame, const char* caption)
{
    for (HWND hwnd : Descendants(frame))
        if (WindowText(hwnd) == caption && IsWindowVisible(hwnd))
            return hwnd;
    return nullptr;
}

TEST(WholeRoad, OpenBuildDebugWriteAndClose)
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    vt::ProgramCopy copy;
    const std::string folder = copy.Folder();
    // The program loops where it would halt, so that a run lasts until it is stopped.
    std::string source = folder + "sample\\main.asm";
    std::string text = vt::ReadFileBytes(source);
    size_t halt = text.find("        HALT");
    ASSERT_NE(std::string::npos, halt);
    vt::WriteFileBytes(source, text.replace(halt, 12, "halt:   JMP halt"));
    std::string sim = folder + "ZComSim.ini";
    WritePrivateProfileStringA("Trace", "Enable", "1", sim.c_str());
    WritePrivateProfileStringA("Trace", "File", "trace.log", sim.c_str());
    WritePrivateProfileStringA("Trace", "Enable", "1", (folder + "Z61QK83Writer.ini").c_str());
    auto trace = [&] { return vt::ReadFileBytes(folder + "trace.log"); };
    auto traceHas = [&](const std::string& line, size_t from) {
        return WaitUntil([&] { return trace().find(line, from) != std::string::npos; });
    };

    vt::IdeProcess process(copy, vt::ProgramCopy::SampleProject());
    ASSERT_TRUE(process.Started());
    std::unique_ptr<vt::RemoteAnswerer> answerer(new vt::RemoteAnswerer(process.Id(), IDNO));
    HWND frame = process.MainWindow();
    ASSERT_NE(nullptr, frame);
    HWND page = vt::FindBuildPage(frame);
    ASSERT_NE(nullptr, page);
    HWND status = GetDlgItem(frame, 0xE801);
    ASSERT_NE(nullptr, status);
    auto caretPane = [&] { return vt::StatusPaneText(process.Handle(), status, 3); };
    DWORD id = process.Id();
    auto runEnabled = [&] {
        std::vector<vt::MenuItemSeen> items = vt::ReadMenuBarPopup(frame, id, 'd');
        for (const vt::MenuItemSeen& item : items)
            if (item.text == "Run" || item.text == "Run\tF5")
                return !item.grayed;
        return false;
    };

    // Build: the one warning; its double-click opens main.asm on line 18.
    PostMessageA(frame, WM_COMMAND, ID_PROJECT_BUILD, 0);
    POINT at = {};
    ASSERT_TRUE(WaitUntil([&] {
        RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return vt::FindColoredLine(page, vt::kWarningColor, &at);
    })) << "no warning on the Build page";
    EXPECT_FALSE(vt::FindColoredLine(page, vt::kErrorColor, &at));
    ASSERT_TRUE(vt::FindColoredLine(page, vt::kWarningColor, &at));
    // The build's end opens its listing in front: the double-click comes after it.
    ASSERT_TRUE(WaitUntil([&] { return vt::FindDocumentFrame(frame, "sample.lst") != nullptr; }));
    vt::DoubleClick(page, at);
    ASSERT_TRUE(WaitUntil([&] { return vt::FindDocumentFrame(frame, "main.asm") && caretPane().rfind("Ln 18,", 0) == 0; }))
        << caretPane();

    // The caret on line 14 (CALL PLAY), for its breakpoint in debug mode.
    HWND view = GetWindow(vt::FindDocumentFrame(frame, "main.asm"), GW_CHILD);
    ASSERT_NE(nullptr, view);
    for (int i = 0; i < 4; i++)
        SendMessageA(view, WM_KEYDOWN, VK_UP, 0);
    ASSERT_TRUE(WaitUntil([&] { return caretPane().rfind("Ln 14,", 0) == 0; })) << caretPane();

    // A breakpoint set before debug mode: the board keeps it until the download places it.
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_TOGGLE_BREAKPOINT, 0);
    ASSERT_TRUE(traceHas("bp 3 Add " + source + " 14", 0)) << trace();

    // Start Debugger: the register, watch and memory bars come up with the board's pages
    // (a bar without pages stays hidden).
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_START, 0);
    ASSERT_TRUE(traceHas("43 EnterDebugMode", 0)) << trace();
    EXPECT_TRUE(traceHas("target 9 GetPageList", 0)) << trace();
    for (const char* bar : { "Register Window", "Watch Window", "Memory Window" })
        EXPECT_TRUE(WaitUntil([&] { return VisibleBar(frame, bar) != nullptr; }, 20000)) << bar;
    EXPECT_TRUE(traceHas("48 ReadMemory", 0)) << "the memory page reads the board\n" << trace();
    ASSERT_TRUE(WaitUntil(runEnabled));

    // Run to the breakpoint: the board stops by itself and the caret shows the PC's line.
    size_t from = trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_RUN, 0);
    ASSERT_TRUE(traceHas("10 Run", from)) << trace();
    ASSERT_TRUE(WaitUntil([&] { return runEnabled() && caretPane().rfind("Ln 14,", 0) == 0; }))
        << caretPane() << "\n" << trace();
    EXPECT_EQ(std::string::npos, trace().find("11 Stop", from)) << trace();
    EXPECT_TRUE(traceHas("13 GetPC", from)) << trace();

    // Off, on and off again at the caret in debug mode: the run below lasts until it is stopped.
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_TOGGLE_BREAKPOINT, 0);
    ASSERT_TRUE(traceHas("bp 5 Remove " + source + " 14", from)) << trace();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_TOGGLE_BREAKPOINT, 0);
    ASSERT_TRUE(traceHas("bp 3 Add " + source + " 14", from)) << trace();
    from = trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_TOGGLE_BREAKPOINT, 0);
    ASSERT_TRUE(traceHas("bp 5 Remove " + source + " 14", from)) << trace();

    // Run, stop, then step.
    from = trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_RUN, 0);
    ASSERT_TRUE(traceHas("10 Run", from)) << trace();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_STOP, 0);
    ASSERT_TRUE(traceHas("11 Stop", from)) << trace();
    ASSERT_TRUE(WaitUntil(runEnabled));
    from = trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_STEP_INTO, 0);
    ASSERT_TRUE(traceHas("12 StepInto", from)) << trace();
    ASSERT_TRUE(WaitUntil(runEnabled));

    // Close Debugger: the debug bars go.
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_CLOSE, 0);
    ASSERT_TRUE(traceHas("44 LeaveDebugMode", 0)) << trace();
    EXPECT_TRUE(WaitUntil([&] { return !VisibleBar(frame, "Register Window"); }, 20000));

    // Write: the built images go into the writer's storage.
    DWORD_PTR result = 0;
    ASSERT_NE(0, SendMessageTimeoutA(frame, WM_COMMAND, ID_PROJECT_WRITE, 0, SMTO_NORMAL, 60000, &result));
    std::string seenText;
    for (const vt::ModalSeen& seen : answerer->Seen())
        seenText += seen.text + "\n";
    EXPECT_FALSE(vt::ReadFileBytes(folder + "WriterStorage.bin").empty())
        << seenText << vt::ReadFileBytes(folder + "WriterTrace.log");

    // Close, keeping nothing: only the save questions may come.
    process.Close();
    EXPECT_NE(-1, process.Wait());
    for (const vt::ModalSeen& seen : answerer->Seen())
        EXPECT_TRUE(seen.text == "Save Current Project ?" || seen.text.find("Save changes") == 0) << seen.text;
}

} // namespace
