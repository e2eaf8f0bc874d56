// The real program's debug bars, looked at from outside: made with the main window, hidden
// outside debugging, and their layout saved. (Starting the debugger from the Debug menu comes
// with the debug commands; the bars' behaviour while debugging is driven in-process.)
#include <gtest/gtest.h>
#include <windows.h>
#include "tests/harness/box_work.h"
#include "tests/harness/harness.h"
#include "tests/harness/ide/ide_process.h"

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

} // namespace
