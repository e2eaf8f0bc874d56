// A user's whole road through the real program on the simulated board: open the
// sample and main.asm from its file tree, break and mend the build, debug (the list
// bars fill from the board; breakpoint, run, step into, call stack, history, step
// out, disassembly, run to the program's halt), leave debug mode, write the image
// and close. Each stop is read from the board's trace and the windows seen from outside.
#include <gtest/gtest.h>
#include <windows.h>
#include "afx/afxres.h"
#include "resources/ideres.h"
#include "tests/harness/box_work.h"
#include "tests/harness/harness.h"
#include "tests/harness/ide/build_page.h"
#include "tests/harness/ide/ide_process.h"
#include <algorithm>
#include <cctype>
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

// The window inside a debug bar (by its id), the bar shown from the View menu first when the
// window is hidden (the command shows and hides the bar in turn).
HWND ShownBarWindow(HWND frame, UINT command, int id)
{
    HWND inner = nullptr;
    for (HWND hwnd : Descendants(frame))
        if (GetDlgCtrlID(hwnd) == id)
            inner = hwnd;
    if (!inner)
        return nullptr;
    if (!IsWindowVisible(inner))
        PostMessageA(frame, WM_COMMAND, command, 0);
    return WaitUntil([&] { return IsWindowVisible(inner) != FALSE; }, 20000) ? inner : nullptr;
}

// Colours as smoothed text shows them (0x00RRGGBB): the names of a page's rows in blue
// (editable) or red, values in black.
int Red(DWORD c) { return (c >> 16) & 0xFF; }
int Green(DWORD c) { return (c >> 8) & 0xFF; }
int Blue(DWORD c) { return c & 0xFF; }
bool Dark(DWORD c) { return Red(c) < 0x50 && Green(c) < 0x50 && Blue(c) < 0x50; }
bool NameColor(DWORD c)
{
    return Green(c) < 0x60 && ((Blue(c) >= 0xC0 && Red(c) < 0x60) || (Red(c) >= 0xC0 && Blue(c) < 0x60));
}

// The rows of text painted in one of the colours, top down: each row's pixel rows and the
// left and right ends of its text in those colours.
struct TextRow {
    int top, bottom, left, right;
    int Middle() const { return (top + bottom) / 2; }
};
std::vector<TextRow> TextRows(HWND hwnd, const std::function<bool(DWORD)>& inColor, int fromX = 0)
{
    int cx = 0, cy = 0;
    std::vector<DWORD> bits = vt::ScreenPixels(hwnd, &cx, &cy);
    std::vector<TextRow> rows;
    int lastHit = -100;
    for (int y = 0; y < cy; y++) {
        int left = cx, right = -1;
        for (int x = fromX; x < cx; x++)
            if (inColor(bits[static_cast<size_t>(y) * cx + x])) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        if (right < 0)
            continue;
        // Smoothed letters leave pixel rows without a full colour: a gap of a few rows is
        // still the same row of text.
        if (y - lastHit > 3)
            rows.push_back({ y, y, left, right });
        lastHit = y;
        TextRow& row = rows.back();
        row.bottom = y;
        row.left = std::min(row.left, left);
        row.right = std::max(row.right, right);
    }
    return rows;
}

// The first dark pixel of a row right of x (a value cell's text), or -1.
int BlackRightOf(HWND hwnd, const TextRow& row, int x)
{
    int cx = 0, cy = 0;
    std::vector<DWORD> bits = vt::ScreenPixels(hwnd, &cx, &cy);
    int found = -1;
    for (int y = row.top; y <= row.bottom && y < cy; y++)
        for (int i = x + 1; i < cx; i++)
            if (Dark(bits[static_cast<size_t>(y) * cx + i])) {
                if (found < 0 || i < found)
                    found = i;
                break;
            }
    return found;
}

// The page a bar shows: the largest visible window inside its tab window that is no scroll
// bar, header or tab strip (the tab window's own children).
HWND BarPage(HWND bar)
{
    HWND best = nullptr;
    long area = 0;
    for (HWND hwnd : Descendants(bar)) {
        char cls[64] = "";
        GetClassNameA(hwnd, cls, sizeof cls);
        RECT rc;
        if (!IsWindowVisible(hwnd) || !lstrcmpiA(cls, "ScrollBar") || !lstrcmpiA(cls, "Edit")
            || GetDlgCtrlID(hwnd) == 0xE900 || GetDlgCtrlID(GetParent(hwnd)) != 0xE900 || !GetClientRect(hwnd, &rc))
            continue;
        if (rc.right * rc.bottom > area) {
            area = rc.right * rc.bottom;
            best = hwnd;
        }
    }
    return best;
}

// The in-place editor a page tree shows while a cell is edited.
HWND CellEditor(HWND tree)
{
    for (HWND hwnd = GetWindow(tree, GW_CHILD); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT)) {
        char cls[64] = "";
        GetClassNameA(hwnd, cls, sizeof cls);
        if (!lstrcmpiA(cls, "Edit") && IsWindowVisible(hwnd))
            return hwnd;
    }
    return nullptr;
}


TEST(WholeRoad, OpenBuildDebugWriteAndClose)
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    vt::ProgramCopy copy;
    const std::string folder = copy.Folder();
    const std::string source = folder + "sample\\main.asm";
    const std::string text = vt::ReadFileBytes(source);
    ASSERT_FALSE(text.empty());
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

    // The build has ended once Build is offered again (it is grayed while a build runs).
    auto buildEnded = [&] {
        for (const vt::MenuItemSeen& item : vt::ReadMenuBarPopup(frame, id, 'p'))
            if (item.text == "Build" || item.text.rfind("Build\t", 0) == 0)
                return !item.grayed;
        return false;
    };
    // A build run to its end (the command returns once it has begun); the page then holds
    // its lines where they stay (it scrolls while the build adds them).
    auto build = [&] {
        DWORD_PTR sent = 0;
        if (!SendMessageTimeoutA(frame, WM_COMMAND, ID_PROJECT_BUILD, 0, SMTO_NORMAL, 60000, &sent)
            || !WaitUntil(buildEnded))
            return false;
        RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return true;
    };
    auto doubleClickOpens = [&](POINT at, int line) {
        vt::DoubleClick(page, at);
        std::string want = "Ln " + std::to_string(line) + ",";
        return WaitUntil([&] {
            HWND child = vt::FindDocumentFrame(frame, "main.asm");
            HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
            return child && child == (HWND)SendMessageA(client, WM_MDIGETACTIVE, 0, 0)
                   && caretPane().rfind(want, 0) == 0;
        });
    };
    // Saved: the file holds those lines (whatever line ends the editor writes).
    auto withoutCR = [](std::string t) {
        t.erase(std::remove(t.begin(), t.end(), '\r'), t.end());
        return t;
    };
    auto saveMain = [&](const std::string& want) {
        DWORD_PTR done = 0;
        SendMessageTimeoutA(frame, WM_COMMAND, ID_FILE_SAVE, 0, SMTO_NORMAL, 60000, &done);
        return WaitUntil([&] { return withoutCR(vt::ReadFileBytes(source)) == withoutCR(want); });
    };

    // Open main.asm from the project's file tree: a click gives the tree the focus, the name
    // typed selects its row (shown in the selection's colour), a double-click on it opens it.
    HWND tree = nullptr;
    for (HWND hwnd : Descendants(frame))
        if (GetDlgCtrlID(hwnd) == 0xE802 && GetDlgCtrlID(GetParent(hwnd)) == 0xE900 && IsWindowVisible(hwnd))
            tree = hwnd;
    ASSERT_NE(nullptr, tree) << "the project's file tree";
    RECT treeRect;
    ASSERT_TRUE(GetClientRect(tree, &treeRect));
    const COLORREF selection = GetSysColor(COLOR_HIGHLIGHT);
    POINT row = {};
    ASSERT_TRUE(WaitUntil([&] {
        SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(treeRect.right / 2, treeRect.bottom - 2));
        SendMessageA(tree, WM_LBUTTONUP, 0, MAKELPARAM(treeRect.right / 2, treeRect.bottom - 2));
        for (char c : std::string("main.asm"))
            SendMessageA(tree, WM_CHAR, (unsigned char)c, 0);
        return WaitUntil([&] { return vt::ShowsColor(tree, selection, &row); }, 3000);
    }, 30000)) << "main.asm's row selected";
    vt::DoubleClick(tree, POINT{ row.x + 4, row.y });
    ASSERT_TRUE(WaitUntil([&] { return vt::FindDocumentFrame(frame, "main.asm") != nullptr; }));
    HWND view = GetWindow(vt::FindDocumentFrame(frame, "main.asm"), GW_CHILD);
    ASSERT_NE(nullptr, view);
    // Typed once the view has the focus (its frame is made before the view is ready).
    auto focused = [&] {
        GUITHREADINFO info = { sizeof info };
        return GetGUIThreadInfo(GetWindowThreadProcessId(frame, nullptr), &info) && info.hwndFocus == view;
    };
    ASSERT_TRUE(WaitUntil([&] { return focused() && caretPane().rfind("Ln 1,", 0) == 0; })) << caretPane();
    for (int i = 0; i < 8; i++)
        SendMessageA(view, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(view, WM_KEYDOWN, VK_END, 0);
    SendMessageA(view, WM_CHAR, '\r', 0);
    ASSERT_TRUE(WaitUntil([&] { return caretPane().rfind("Ln 10,", 0) == 0; })) << caretPane();
    std::string pane = caretPane();
    ASSERT_NE(std::string::npos, pane.find("Col ")) << pane;
    // The editor may indent the new line as the one above (with a tab).
    std::string indent = atoi(pane.c_str() + pane.find("Col ") + 4) == 1 ? "        " : "";
    for (char c : indent + "FROB A")
        SendMessageA(view, WM_CHAR, (unsigned char)c, 0);
    // Saved: line 10 is the indented line (blanks or the editor's tab), the rest as before.
    DWORD_PTR saved = 0;
    ASSERT_NE(0, SendMessageTimeoutA(frame, WM_COMMAND, ID_FILE_SAVE, 0, SMTO_NORMAL, 60000, &saved));
    std::string frobLine;
    ASSERT_TRUE(WaitUntil([&] {
        std::string saved = withoutCR(vt::ReadFileBytes(source)), original = withoutCR(text);
        size_t at = 0;
        for (int i = 0; i < 9 && at != std::string::npos; i++)
            at = saved.find('\n', at) + 1;
        size_t end = saved.find('\n', at);
        if (at == std::string::npos || end == std::string::npos)
            return false;
        frobLine = saved.substr(at, end - at);
        size_t lead = frobLine.find_first_not_of(" \t");
        return lead > 0 && lead != std::string::npos && frobLine.substr(lead) == "FROB A"
               && saved.substr(0, at) + saved.substr(end + 1) == original;
    }, 10000)) << vt::ReadFileBytes(source) << caretPane() << "\n" << (answerer->Count() ? answerer->Last().text : "");

    // Build: it fails, the error in red; its double-click brings main.asm forward on line 10.
    POINT at = {};
    ASSERT_TRUE(build());
    ASSERT_TRUE(vt::FindColoredLine(page, vt::kErrorColor, &at)) << "no error on the Build page";
    ASSERT_TRUE(doubleClickOpens(at, 10)) << caretPane();

    // Fix: the line goes (from the end of line 9 on), the file is as before.
    SendMessageA(view, WM_KEYDOWN, VK_UP, 0);
    SendMessageA(view, WM_KEYDOWN, VK_END, 0);
    for (size_t i = 0; i < 1 + frobLine.size(); i++)
        SendMessageA(view, WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_TRUE(saveMain(text)) << vt::ReadFileBytes(source);

    // Build again: no error, the one warning; its double-click opens main.asm on line 18.
    ASSERT_TRUE(build());
    EXPECT_FALSE(vt::FindColoredLine(page, vt::kErrorColor, &at));
    ASSERT_TRUE(vt::FindColoredLine(page, vt::kWarningColor, &at)) << "no warning on the Build page";
    // The build's end opens its listing in front: the double-click comes after it.
    ASSERT_TRUE(WaitUntil([&] { return vt::FindDocumentFrame(frame, "sample.lst") != nullptr; }));
    ASSERT_TRUE(doubleClickOpens(at, 18)) << caretPane();

    // The caret on line 14 (CALL PLAY), for its breakpoint in debug mode.
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

    // Registers, read through their value cells' editors (opened by a double-click, left with
    // Escape). The rows are found by their names' colours before any row is selected.
    HWND regs = BarPage(VisibleBar(frame, "Register Window"));
    ASSERT_NE(nullptr, regs);
    std::vector<TextRow> regRows;
    ASSERT_TRUE(WaitUntil([&] { return (regRows = TextRows(regs, NameColor)).size() >= 6; }, 20000))
        << regRows.size();   // A, B, C, D, PC, SP (and the timer)
    const int valueX = BlackRightOf(regs, regRows[1], regRows[1].right + 1);
    ASSERT_GT(valueX, 0) << "no value shown for B";
    auto cellText = [&](HWND tree, int y, int x) {
        vt::DoubleClick(tree, POINT{ x, y });
        HWND editor = nullptr;
        if (!WaitUntil([&] { return (editor = CellEditor(tree)) != nullptr; }, 10000))
            return std::string("(no editor)");
        std::string seen = WindowText(editor);
        PostMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitUntil([&] { return !IsWindow(editor) || !IsWindowVisible(editor); }, 10000);
        return seen;
    };
    auto regValue = [&](int row) { return cellText(regs, regRows[row].Middle(), valueX + 2); };
    std::string b = regValue(1), pcAtCall = regValue(4);
    EXPECT_EQ(1ul, strtoul(b.c_str(), nullptr, 0)) << b;
    EXPECT_FALSE(pcAtCall.empty());

    // Watch: "COUNT" typed on the entry row (the first row of the empty page) adds a watch.
    HWND watch = BarPage(VisibleBar(frame, "Watch Window"));
    ASSERT_NE(nullptr, watch);
    vt::DoubleClick(watch, POINT{ regRows[0].left + 2, regRows[0].Middle() });
    HWND entry = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (entry = CellEditor(watch)) != nullptr; }, 10000));
    SendMessageA(entry, WM_SETTEXT, 0, (LPARAM) "COUNT");
    PostMessageA(entry, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(traceHas("watch 4 Add COUNT", from)) << trace();
    EXPECT_TRUE(traceHas("target 12 InsertItem COUNT", from)) << trace();
    // The new row is selected (in the selection's colours); opened with the Right key it shows
    // its member rows "low" and "high" (RAM cells: their values and addresses in black), and a
    // member's value is read as a register's.
    PostMessageA(watch, WM_KEYDOWN, VK_RIGHT, 0);
    std::vector<TextRow> members;
    auto memberRows = [&] {
        members.clear();
        for (const TextRow& row : TextRows(watch, Dark, valueX))   // (the header's titles above)
            if (row.top > regRows[0].bottom + 2)
                members.push_back(row);
        return members.size() >= 2;
    };
    ASSERT_TRUE(WaitUntil(memberRows, 10000)) << members.size();
    std::string low = cellText(watch, members[0].Middle(), valueX + 2);
    EXPECT_EQ(0u, low.find("0x")) << low;

    // Memory: the bytes page ("RAM Bytes", the last tab) chosen with a click on its tab's title.
    HWND memoryBar = VisibleBar(frame, "Memory Window");
    ASSERT_NE(nullptr, memoryBar);
    HWND firstPage = BarPage(memoryBar), strip = nullptr;
    ASSERT_NE(nullptr, firstPage);
    for (HWND hwnd : Descendants(memoryBar))
        if (hwnd != firstPage && IsWindowVisible(hwnd) && GetDlgCtrlID(GetParent(hwnd)) == 0xE900) {
            char cls[64] = "";
            GetClassNameA(hwnd, cls, sizeof cls);
            if (lstrcmpiA(cls, "ScrollBar") && TextRows(hwnd, Dark).size() == 1)
                strip = hwnd;
        }
    ASSERT_NE(nullptr, strip) << "the memory bar's tab strip";
    // The titles' line: its last dark pixel is the last tab's slanted edge; the click goes
    // inside that tab's title, left of it.
    int cx = 0, cy = 0, lastEdge = -1;
    std::vector<DWORD> stripBits = vt::ScreenPixels(strip, &cx, &cy);
    for (int x = 0; x < cx; x++)
        if (Dark(stripBits[static_cast<size_t>(cy / 2) * cx + x]))
            lastEdge = x;
    ASSERT_GT(lastEdge, 30);
    LPARAM lastTab = MAKELPARAM(lastEdge - 25, cy / 2);
    SendMessageA(strip, WM_LBUTTONDOWN, MK_LBUTTON, lastTab);
    SendMessageA(strip, WM_LBUTTONUP, 0, lastTab);
    HWND ramPage = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (ramPage = BarPage(memoryBar)) != firstPage && ramPage; }, 10000));
    // Its hex editor: the largest window inside the page.
    HWND hex = nullptr;
    long hexArea = 0;
    for (HWND hwnd : Descendants(ramPage)) {
        RECT rc;
        if (IsWindowVisible(hwnd) && GetClientRect(hwnd, &rc) && rc.right * rc.bottom > hexArea) {
            hexArea = rc.right * rc.bottom;
            hex = hwnd;
        }
    }
    ASSERT_NE(nullptr, hex);
    // The first line's first byte: right of the first grey address cell, on the cells' light
    // background. Typed "5A", it is written into the board's memory and read back.
    auto grey = [](DWORD c) {
        return Red(c) == Green(c) && Green(c) == Blue(c) && Red(c) >= 0xA0 && Red(c) <= 0xD8;
    };
    std::vector<TextRow> addressCells;
    ASSERT_TRUE(WaitUntil([&] { return !(addressCells = TextRows(hex, grey)).empty(); }, 10000));
    // (The address cells of all lines make one grey column: the first line is at its top.)
    POINT byte0 = { addressCells[0].right + 6, addressCells[0].top + 4 };
    from = trace().size();
    SendMessageA(hex, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(byte0.x, byte0.y));
    SendMessageA(hex, WM_LBUTTONUP, 0, MAKELPARAM(byte0.x, byte0.y));
    SendMessageA(hex, WM_CHAR, '5', 0);
    SendMessageA(hex, WM_CHAR, 'A', 0);
    ASSERT_TRUE(traceHas("47 WriteMemory 4 0 0 90", from)) << trace();
    size_t written = trace().find("47 WriteMemory 4 0 0 90", from);
    EXPECT_TRUE(traceHas("48 ReadMemory", written)) << "a fresh read after the write\n" << trace();

    // Dump the page's first line to a text file (dialog 175, answered as a user fills it).
    const std::string dumpFile = folder + "dump.txt";
    answerer->Queue(vt::ModalAnswer(IDOK)
                        .Type(IDC_DUMP_START, "0")
                        .Type(IDC_DUMP_END, "F")
                        .Type(IDC_DUMP_FILE, dumpFile)
                        .Check(IDC_DUMP_OVERWRITE)
                        .Check(IDC_DUMP_BYTE));
    size_t boxes = answerer->Count();
    PostMessageA(hex, WM_CONTEXTMENU, (WPARAM)hex, MAKELPARAM(-1, -1));
    ASSERT_TRUE(vt::ChoosePopupMenuItem(id, "Dump"));
    ASSERT_TRUE(answerer->WaitForCount(boxes + 1));
    EXPECT_EQ("", answerer->Last().error);
    std::string dumped;
    EXPECT_TRUE(WaitUntil([&] { return (dumped = vt::ReadFileBytes(dumpFile)).find("\t5A ") != std::string::npos; }, 10000))
        << dumped << "\n" << answerer->Last().caption << ": " << answerer->Last().text;

    // History: its bar shown from the View menu, Reload History from its context menu; the
    // lines begin with the bank and the address ("BB:AAAA").
    HWND history = ShownBarWindow(frame, ID_VIEW_DEBUG_HISTORY, 0xE990);
    ASSERT_NE(nullptr, history);
    from = trace().size();
    PostMessageA(history, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(vt::ChoosePopupMenuItem(id, "Reload History"));
    ASSERT_TRUE(traceHas("24 GetHistory", from)) << trace();
    std::string lines;
    auto historyShown = [&] {
        lines = WindowText(history);
        return lines.size() >= 7 && isxdigit((unsigned char)lines[0]) && isxdigit((unsigned char)lines[1])
               && lines[2] == ':' && std::all_of(lines.begin() + 3, lines.begin() + 7, [](char c) {
                      return isxdigit((unsigned char)c) != 0;
                  });
    };
    EXPECT_TRUE(WaitUntil(historyShown, 10000)) << lines;

    // Step Into the call: the PC in PLAY, sound.asm line 4; the registers after the step: the
    // PC moved, A and B as the loop left them.
    from = trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_STEP_INTO, 0);
    ASSERT_TRUE(traceHas("12 StepInto", from)) << trace();
    ASSERT_TRUE(WaitUntil([&] {
        return runEnabled() && vt::FindDocumentFrame(frame, "sound.asm") && caretPane().rfind("Ln 4,", 0) == 0;
    })) << caretPane();
    std::string pcAfter = regValue(4);
    EXPECT_NE(pcAtCall, pcAfter);
    b = regValue(1);
    EXPECT_EQ(1ul, strtoul(b.c_str(), nullptr, 0)) << b;
    std::string a = regValue(0);
    EXPECT_EQ(0ul, strtoul(a.c_str(), nullptr, 0)) << a;
    EXPECT_NE(std::string::npos, a.find_first_of("0123456789")) << a;

    // Call stack: its bar shown from the View menu; two lines, the arrow on the first (PLAY).
    // A double-click on the second (the caller) puts the caller arrow on main.asm line 14.
    HWND stack = ShownBarWindow(frame, ID_VIEW_DEBUG_CALLSTACK, 0xE991);
    ASSERT_NE(nullptr, stack);
    // The lines' text right of the arrow (its outline is dark too).
    POINT first = {};
    int textX = 0;
    std::vector<TextRow> stackRows;
    auto stackShown = [&] {
        if (!vt::ShowsColor(stack, vt::kCallerArrowColor, &first))
            return false;
        int cx = 0, cy = 0;
        std::vector<DWORD> bits = vt::ScreenPixels(stack, &cx, &cy);
        const DWORD arrow = 0xC8C8FF;   // the caller arrow's colour as the screen gives it
        textX = first.x;
        for (int x = first.x; x < cx && first.y < cy; x++)
            if (bits[static_cast<size_t>(first.y) * cx + x] == arrow)
                textX = x;
        textX += 3;
        stackRows = TextRows(stack, Dark, textX);
        return stackRows.size() == 2;
    };
    ASSERT_TRUE(WaitUntil(stackShown, 20000)) << stackRows.size() << " lines";
    EXPECT_LT(first.y, stackRows[1].top) << "the arrow on the first line";
    vt::DoubleClick(stack, POINT{ stackRows[1].left + 2, stackRows[1].Middle() });
    POINT second = {};
    EXPECT_TRUE(WaitUntil([&] {
        return vt::ShowsColor(stack, vt::kCallerArrowColor, &second) && second.y >= stackRows[1].top;
    }, 20000)) << "the arrow on the second line";
    EXPECT_TRUE(WaitUntil([&] {
        return caretPane().rfind("Ln 14,", 0) == 0 && vt::ShowsColor(view, vt::kCallerArrowColor);
    }, 20000)) << "the caller arrow in main.asm: " << caretPane();

    // Step Out: back in main.asm after the call, line 15.
    from = trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_STEP_OUT, 0);
    ASSERT_TRUE(traceHas("26 StepOut", from)) << trace();
    ASSERT_TRUE(WaitUntil([&] { return runEnabled() && caretPane().rfind("Ln 15,", 0) == 0; })) << caretPane();

    // Off, on and off again on line 14 in debug mode: the run below goes to the program's end.
    // (The caret pane follows the window with the focus, here the call stack's: the trace
    // tells the line.)
    SendMessageA(view, WM_KEYDOWN, VK_UP, 0);
    from = trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_TOGGLE_BREAKPOINT, 0);
    ASSERT_TRUE(traceHas("bp 5 Remove " + source + " 14", from)) << trace();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_TOGGLE_BREAKPOINT, 0);
    ASSERT_TRUE(traceHas("bp 3 Add " + source + " 14", from)) << trace();
    from = trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_TOGGLE_BREAKPOINT, 0);
    ASSERT_TRUE(traceHas("bp 5 Remove " + source + " 14", from)) << trace();

    // View Disassembly on line 14: the listing with its caret and its PC arrow on the call's
    // instruction (the listing marks the place it was opened at).
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    from = trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_VIEW_DISASSEMBLY, 0);
    HWND listing = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        listing = nullptr;
        for (HWND hwnd : Descendants(client))
            if (GetDlgCtrlID(hwnd) == IDC_DISASM_LISTING)
                listing = hwnd;
        return listing && IsWindowVisible(listing);
    })) << "the listing";
    EXPECT_TRUE(traceHas("50 SetSourceLevelStep 0", from)) << trace();
    GUITHREADINFO gui = { sizeof gui };
    const DWORD thread = GetWindowThreadProcessId(frame, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return GetGUIThreadInfo(thread, &gui) && gui.hwndCaret == listing; }))
        << "the listing's caret";
    // The listing opens with its caret on its first line and moves it to the line in the same
    // command: the caret is read again once the frame has finished that command.
    ASSERT_TRUE(SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr));
    ASSERT_TRUE(GetGUIThreadInfo(thread, &gui) && gui.hwndCaret == listing);
    POINT pcArrow = {};
    ASSERT_TRUE(WaitUntil([&] { return vt::ShowsColor(listing, vt::kCallerArrowColor, &pcArrow); }, 20000))
        << "the PC arrow in the listing";
    EXPECT_TRUE(pcArrow.y >= gui.rcCaret.top && pcArrow.y <= gui.rcCaret.bottom)
        << "the arrow on the call's line: " << pcArrow.y << ", caret " << gui.rcCaret.top << "-" << gui.rcCaret.bottom;
    // Closing it goes back to source stepping.
    from = trace().size();
    HWND listingFrame = listing;
    while (listingFrame && GetParent(listingFrame) != client)
        listingFrame = GetParent(listingFrame);
    PostMessageA(listingFrame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(traceHas("50 SetSourceLevelStep 1", from)) << trace();
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(listing); }));

    // Run on: the program halts at its end (HALT, line 17) by itself; main.asm comes forward with
    // the caret and the arrow on that line.
    POINT haltArrow = {};
    from = trace().size();
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_RUN, 0);
    ASSERT_TRUE(traceHas("10 Run", from)) << trace();
    EXPECT_TRUE(WaitUntil([&] {
        return runEnabled() && trace().find("13 GetPC", from) != std::string::npos
               && caretPane().rfind("Ln 17,", 0) == 0 && vt::ShowsColor(view, vt::kCallerArrowColor, &haltArrow)
               && GetGUIThreadInfo(thread, &gui) && gui.hwndCaret == view && haltArrow.y >= gui.rcCaret.top
               && haltArrow.y <= gui.rcCaret.bottom;
    })) << caretPane() << " arrow at " << haltArrow.y << ", caret " << gui.rcCaret.top << "-" << gui.rcCaret.bottom
        << (gui.hwndCaret == view ? "" : " not in main.asm") << "\n" << trace().substr(from);
    EXPECT_EQ(std::string::npos, trace().find("11 Stop", from)) << "halted, not stopped\n" << trace();

    // Close Debugger: the debug bars go, the editing layout's file tree comes back.
    PostMessageA(frame, WM_COMMAND, ID_DEBUG_CLOSE, 0);
    ASSERT_TRUE(traceHas("44 LeaveDebugMode", 0)) << trace();
    EXPECT_TRUE(WaitUntil([&] { return !VisibleBar(frame, "Register Window"); }, 20000));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(tree) != FALSE; }, 20000)) << "the file tree";

    // Write: the built images go into the writer's storage.
    DWORD_PTR result = 0;
    ASSERT_NE(0, SendMessageTimeoutA(frame, WM_COMMAND, ID_PROJECT_WRITE, 0, SMTO_NORMAL, 60000, &result));
    std::string seenText;
    for (const vt::ModalSeen& seen : answerer->Seen())
        seenText += seen.text + "\n";
    EXPECT_FALSE(vt::ReadFileBytes(folder + "WriterStorage.bin").empty())
        << seenText << vt::ReadFileBytes(folder + "WriterTrace.log");
    // Verify and Upload: the upload files begin with the images.
    const std::string base = folder + "sample\\Debug\\Sample";
    const std::string user = vt::ReadFileBytes(base + "_user.fsf"), sys = vt::ReadFileBytes(base + "_sys.fsf");
    ASSERT_FALSE(user.empty());
    ASSERT_FALSE(sys.empty());
    std::string storage = vt::ReadFileBytes(folder + "WriterStorage.bin");
    EXPECT_EQ(user, storage.substr(0, user.size()));
    size_t seenBefore = answerer->Count();
    ASSERT_NE(0, SendMessageTimeoutA(frame, WM_COMMAND, ID_PROJECT_VERIFY, 0, SMTO_NORMAL, 60000, &result));
    EXPECT_NE(std::string::npos, vt::ReadFileBytes(folder + "WriterTrace.log").find(" 0x3 0x1 0x"));
    ASSERT_NE(0, SendMessageTimeoutA(frame, WM_COMMAND, ID_PROJECT_UPLOAD, 0, SMTO_NORMAL, 60000, &result));
    EXPECT_EQ(user, vt::ReadFileBytes(base + "_user_upload.bin").substr(0, user.size()));
    EXPECT_EQ(sys, vt::ReadFileBytes(base + "_sys_upload.bin").substr(0, sys.size()));
    EXPECT_EQ(seenBefore, answerer->Count()) << "Verify and Upload ask nothing: " << answerer->Last().text;

    // Close, keeping nothing: only the save questions may come.
    process.Close();
    EXPECT_NE(-1, process.Wait());
    // The instance registry keeps no entry for the closed IDE.
    EXPECT_FALSE(vt::FindInstance(id));
    for (const vt::ModalSeen& seen : answerer->Seen())
        EXPECT_TRUE(seen.text == "Save Current Project ?" || seen.text.find("Save changes") == 0
                    || seen.text.find("Start Address:") != std::string::npos)   // the dump dialog
            << seen.text;
}

} // namespace
