// The real program's debug bars, looked at from outside: made with the main window, hidden
// outside debugging, and their layout saved; on the simulated board, the call stack and the
// execution history of a stop in the sample's subroutine, with the source views' arrows and
// history marker read from the screen.
#include <gtest/gtest.h>
#include <windows.h>
#include "editor/editorres.h"
#include "resources/ideres.h"
#include "tests/harness/box_work.h"
#include "tests/harness/harness.h"
#include "tests/harness/ide/build_page.h"
#include "tests/harness/ide/ide_process.h"
#include <cctype>
#include <functional>

namespace {

using vt::detail::Descendants;
using vt::detail::WindowText;

HWND FindChild(HWND root, UINT id, const char* title)
{
    for (HWND hwnd : Descendants(root))
        if (static_cast<UINT>(GetDlgCtrlID(hwnd)) == id && (!title || WindowText(hwnd) == title))
            return hwnd;
    return nullptr;
}

TEST(DebugViewsE2E, TheSevenDebugBarsComeHiddenAndTheirLayoutIsSaved)
{
    vt::ProgramCopy copy;
    vt::IdeProcess process(copy, vt::ProgramCopy::SampleProject());
    ASSERT_TRUE(process.Started());
    HWND frame = process.MainWindow();
    ASSERT_NE(nullptr, frame);
    struct {
        UINT id;
        const char* title;
        UINT inner;   // the window inside the bar
    } bars[] = { { 0xE710, "Register Window", 0xE900 }, { 0xE711, "Watch Window", 0xE900 },
                 { 0xE712, "Memory Window", 0xE900 },   { 0xE713, "Option Window", 0xE900 },
                 { 0xE714, "Stack Window", 0xE900 },    { 0xE716, "Call Stack Window", 0xE991 },
                 { 0xE715, "History Window", 0xE990 } };
    for (auto& b : bars) {
        HWND bar = FindChild(frame, b.id, b.title);
        ASSERT_NE(nullptr, bar) << b.title;
        EXPECT_FALSE(IsWindowVisible(bar)) << b.title << ": hidden outside debugging";
        EXPECT_NE(nullptr, FindChild(bar, b.inner, nullptr)) << b.title;
    }
    process.Close();
    EXPECT_NE(-1, process.Wait());
    EXPECT_TRUE(copy.HasProfileKey("BarState\\DebugBarState-Summary")) << "the debug layout";
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms = 30000)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(50))
        if (GetTickCount() - start > ms)
            return false;
    return true;
}

// The caller arrow and the history marker, as the source views and the call-stack window paint them.
const COLORREF kCallerArrow = RGB(200, 200, 255);
const COLORREF kHistoryMarker = RGB(0, 255, 0);

// The MDI child frame that holds the window.
HWND GetAncestorFrame(HWND hwnd, HWND client)
{
    while (hwnd && GetParent(hwnd) != client)
        hwnd = GetParent(hwnd);
    return hwnd;
}

bool Shows(HWND hwnd, COLORREF color, POINT* at = nullptr)
{
    POINT unused;
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return vt::FindColoredLine(hwnd, color, at ? at : &unused);
}

TEST(DebugViewsE2E, CallStackAndHistoryOfAStopInTheSubroutine)
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    vt::ProgramCopy copy;
    const std::string folder = copy.Folder(), source = folder + "sample\\main.asm";
    const std::string sim = folder + "ZComSim.ini";
    WritePrivateProfileStringA("Trace", "Enable", "1", sim.c_str());
    WritePrivateProfileStringA("Trace", "File", "trace.log", sim.c_str());
    {
        vt::IdeProcess build(copy, std::string(vt::ProgramCopy::SampleProject()) + " /hide /build");
        ASSERT_TRUE(build.Started());
        ASSERT_NE(-1, build.Wait());
    }
    auto trace = [&] { return vt::ReadFileBytes(folder + "trace.log"); };
    auto traceHas = [&](const std::string& line, size_t from) {
        return WaitUntil([&] { return trace().find(line, from) != std::string::npos; });
    };
    vt::IdeProcess process(copy, vt::ProgramCopy::SampleProject());
    ASSERT_TRUE(process.Started());
    vt::RemoteAnswerer answerer(process.Id(), IDOK);
    HWND frame = process.MainWindow();
    ASSERT_NE(nullptr, frame);
    HWND status = GetDlgItem(frame, 0xE801);
    ASSERT_NE(nullptr, status);
    auto caretLine = [&] {
        std::string pane = vt::StatusPaneText(process.Handle(), status, 3);
        return pane.rfind("Ln ", 0) == 0 ? atoi(pane.c_str() + 3) : 0;
    };
    auto runEnabled = [&] {
        for (const vt::MenuItemSeen& item : vt::ReadMenuBarPopup(frame, process.Id(), 'd'))
            if (item.text.rfind("Run", 0) == 0 && item.text.find("Cursor") == std::string::npos)
                return !item.grayed;
        return false;
    };
    auto viewOf = [&](const char* file) {
        HWND child = vt::FindDocumentFrame(frame, file);
        return child ? GetWindow(child, GW_CHILD) : nullptr;
    };

    // Start Debugger: the debug layout with the bars that have pages; the PC's source comes up.
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_START, 0);
    ASSERT_TRUE(traceHas("43 EnterDebugMode", 0)) << trace();
    for (UINT bar : { 0xE710, 0xE711, 0xE712 })   // Register, Watch, Memory
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(FindChild(frame, bar, nullptr)) != FALSE; })) << bar;
    PostMessageA(frame, WM_COMMAND, ID_VIEW_DEBUG_CALLSTACK, 0);
    PostMessageA(frame, WM_COMMAND, ID_VIEW_DEBUG_HISTORY, 0);
    HWND stackBar = FindChild(frame, 0xE716, "Call Stack Window"), historyBar = FindChild(frame, 0xE715, "History Window");
    ASSERT_TRUE(stackBar && historyBar);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(stackBar) && IsWindowVisible(historyBar); }));
    ASSERT_TRUE(WaitUntil([&] { return viewOf("main.asm") && caretLine() > 0; })) << "main.asm at the PC";
    HWND mainView = viewOf("main.asm");

    // Run to the breakpoint, then Step Into; the trace's length before the step.
    auto RunThenStepInto = [&] {
        size_t at = trace().size();
        PostMessageA(frame, WM_COMMAND, ID_DEBUG_RUN, 0);
        EXPECT_TRUE(traceHas("10 Run", at)) << trace();
        EXPECT_TRUE(WaitUntil([&] { return runEnabled() && trace().find("13 GetPC", at) != std::string::npos; }));
        at = trace().size();
        PostMessageA(frame, WM_COMMAND, ID_DEBUG_STEP_INTO, 0);
        EXPECT_TRUE(traceHas("12 StepInto", at)) << trace();
        return at;
    };
    // The caret of the active source view to a line, by the arrow keys.
    auto caretTo = [&](HWND view, int target) {
        for (int i = 0; i < 60 && caretLine() != target; i++) {
            int line = caretLine();
            SendMessageA(view, WM_KEYDOWN, line < target ? VK_DOWN : VK_UP, 0);
            WaitUntil([&] { return caretLine() != line; }, 2000);
        }
        return caretLine() == target;
    };

    // A breakpoint on line 14 (CALL PLAY), Run to it, Step Into: PLAY, sound.asm line 4.
    ASSERT_TRUE(caretTo(mainView, 14)) << caretLine();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_TOGGLE_BREAKPOINT, 0);
    ASSERT_TRUE(traceHas("bp 3 Add " + source + " 14", 0)) << trace();
    ASSERT_TRUE(WaitUntil(runEnabled));
    size_t from = RunThenStepInto();
    ASSERT_TRUE(WaitUntil([&] { return viewOf("sound.asm") && caretLine() == 4; })) << caretLine();
    ASSERT_TRUE(WaitUntil(runEnabled));

    // The call stack: the arrow on the first of its two lines; the second is the caller, main.asm line 14.
    HWND stack = FindChild(frame, 0xE991, nullptr);
    ASSERT_NE(nullptr, stack);
    POINT first = {};
    ASSERT_TRUE(WaitUntil([&] { return Shows(stack, kCallerArrow, &first); }));
    vt::DoubleClick(stack, POINT{ first.x + 40, first.y * 3 });
    POINT second = {};
    EXPECT_TRUE(WaitUntil([&] { return Shows(stack, kCallerArrow, &second) && second.y > first.y; }))
        << "the arrow on the second line";
    EXPECT_TRUE(WaitUntil([&] { return caretLine() == 14 && Shows(mainView, kCallerArrow); }))
        << "the caller arrow in main.asm: " << caretLine();

    // The history: reloaded, its lines start with the address "BB:AAAA"; a double-click opens
    // that address's source with the history marker.
    HWND history = FindChild(frame, 0xE990, nullptr);
    ASSERT_NE(nullptr, history);
    SendMessageA(historyBar, WM_COMMAND, ID_DEBUG_RELOAD_HISTORY, 0);
    char text[4096] = "";
    SendMessageA(history, WM_GETTEXT, sizeof text, (LPARAM)text);
    std::string head(text, strnlen(text, 7));
    ASSERT_EQ(7u, head.size()) << text;
    for (int i : { 0, 1, 3, 4, 5, 6 })
        EXPECT_TRUE(isxdigit((unsigned char)head[i])) << head;
    for (HWND view : { viewOf("main.asm"), viewOf("sound.asm") })
        EXPECT_FALSE(Shows(view, kHistoryMarker));
    vt::DoubleClick(history, POINT{ 2, 2 });
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    HWND marked = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        HWND active = (HWND)SendMessageA(client, WM_MDIGETACTIVE, 0, 0);
        marked = active ? GetWindow(active, GW_CHILD) : nullptr;
        return marked && Shows(marked, kHistoryMarker);
    })) << "the history marker in the source of " << head;

    // Close Debugger: the bars go and the marker with them.
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_CLOSE, 0);
    ASSERT_TRUE(traceHas("44 LeaveDebugMode", 0)) << trace();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(historyBar) && !IsWindowVisible(stackBar); }));
    EXPECT_TRUE(WaitUntil([&] { return !Shows(marked, kHistoryMarker); }));
    // Debugging again starts without a history position.
    from = trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_START, 0);
    ASSERT_TRUE(traceHas("43 EnterDebugMode", from)) << trace();
    ASSERT_TRUE(WaitUntil(runEnabled));
    SendMessageA(client, WM_MDIACTIVATE, (WPARAM)GetParent(marked), 0);
    EXPECT_FALSE(Shows(marked, kHistoryMarker));

    // View Disassembly on main.asm line 14: the listing, by instruction; its gutter toggles the
    // board's breakpoint of the source line; Page Down pages it; the go-to strip jumps.
    ASSERT_TRUE(WaitUntil([&] { return viewOf("main.asm") != nullptr; }));
    mainView = viewOf("main.asm");
    SendMessageA(client, WM_MDIACTIVATE, (WPARAM)GetParent(mainView), 0);
    ASSERT_TRUE(caretTo(mainView, 14)) << caretLine();
    from = trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_VIEW_DISASSEMBLY, 0);
    HWND listing = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        listing = FindChild(client, IDC_DISASM_LISTING, nullptr);
        return listing && IsWindowVisible(listing);
    }));
    EXPECT_TRUE(traceHas("50 SetSourceLevelStep 0", from)) << trace();
    GUITHREADINFO gui = { sizeof gui };
    ASSERT_TRUE(WaitUntil([&] {
        return GetGUIThreadInfo(GetWindowThreadProcessId(frame, nullptr), &gui) && gui.hwndCaret == listing;
    })) << "the listing's caret";
    // The listing gets its caret on its first line when it opens and is moved to the line in the
    // same command: read the caret again once the frame has finished that command.
    ASSERT_TRUE(SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr));
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(frame, nullptr), &gui) && gui.hwndCaret == listing);
    const POINT gutter = { 2, (gui.rcCaret.top + gui.rcCaret.bottom) / 2 };
    from = trace().size();
    vt::DoubleClick(listing, gutter);
    EXPECT_TRUE(traceHas("bp 5 Remove " + source + " 14", from)) << trace();
    from = trace().size();
    vt::DoubleClick(listing, gutter);
    EXPECT_TRUE(traceHas("bp 3 Add " + source + " 14", from)) << trace();
    from = trace().size();
    for (int i = 0; i < 40 && trace().find("33 GetPCListingLine 3", from) == std::string::npos; i++)
        SendMessageA(listing, WM_COMMAND, ID_TWK_PAGEDOWN, 0);
    EXPECT_NE(std::string::npos, trace().find("33 GetPCListingLine 3", from)) << "the next part";
    HWND space = FindChild(client, IDC_GOTO_SPACE, nullptr), address = FindChild(client, IDC_GOTO_ADDRESS, nullptr);
    ASSERT_TRUE(space && address);
    SendMessageA(space, WM_SETTEXT, 0, (LPARAM) "0");
    SendMessageA(address, WM_SETTEXT, 0, (LPARAM) "10");
    SendMessageA(GetParent(address), WM_COMMAND, MAKEWPARAM(IDC_GOTO_GO, BN_CLICKED),
                 (LPARAM)FindChild(client, IDC_GOTO_GO, nullptr));
    EXPECT_TRUE(traceHas("32 AddressToListing 0 16", from)) << trace();
    // Closing it goes back to source stepping.
    from = trace().size();
    PostMessageA(GetAncestorFrame(listing, client), WM_CLOSE, 0, 0);
    EXPECT_TRUE(traceHas("50 SetSourceLevelStep 1", from)) << trace();
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(listing); }));

    // Without sound.asm: Restart, Run to the breakpoint, Step Into: the listing comes up at
    // the PC and stepping goes by instruction.
    if (HWND sound = vt::FindDocumentFrame(frame, "sound.asm"))
        SendMessageA(sound, WM_CLOSE, 0, 0);
    ASSERT_TRUE(DeleteFileA((folder + "sample\\sound.asm").c_str()));
    ASSERT_TRUE(WaitUntil(runEnabled));
    from = trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_RESTART, 0);
    ASSERT_TRUE(traceHas("17 Restart", from)) << trace();
    ASSERT_TRUE(WaitUntil(runEnabled));
    from = RunThenStepInto();
    EXPECT_TRUE(traceHas("50 SetSourceLevelStep 0", from)) << trace();
    EXPECT_TRUE(WaitUntil([&] {
        listing = FindChild(client, IDC_DISASM_LISTING, nullptr);
        return listing && IsWindowVisible(listing);
    })) << "the listing at the PC";
    EXPECT_FALSE(vt::FindDocumentFrame(frame, "sound.asm"));

    // Close Debugger closes the listing.
    from = trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_CLOSE, 0);
    ASSERT_TRUE(traceHas("44 LeaveDebugMode", from)) << trace();
    EXPECT_TRUE(WaitUntil([&] { return FindChild(client, IDC_DISASM_LISTING, nullptr) == nullptr; }));

    process.Close();
    EXPECT_NE(-1, process.Wait());
    for (const vt::ModalSeen& seen : answerer.Seen())
        EXPECT_TRUE(seen.text == "Save Current Project ?" || seen.text.find("Save changes") == 0) << seen.text;
}

} // namespace
