// The program started with the sample project on its command line opens it.
#include <gtest/gtest.h>
#include "tests/harness/box_work.h"
#include "tests/harness/harness.h"
#include "tests/harness/ide/ide_process.h"
#include <memory>

namespace {

// A child of the window (at any depth) with the control id; NULL when none.
HWND FindById(HWND parent, int id)
{
    for (HWND hwnd : vt::detail::Descendants(parent))
        if (GetDlgCtrlID(hwnd) == id)
            return hwnd;
    return nullptr;
}

// Whether the window's part of the screen holds a pixel of the colour.
bool ShowsColor(HWND hwnd, COLORREF color)
{
    RECT rc;
    if (!GetWindowRect(hwnd, &rc) || rc.right <= rc.left || rc.bottom <= rc.top)
        return false;
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, cx, cy, screen, rc.left, rc.top, SRCCOPY);
    bool found = false;
    for (int y = 0; y < cy && !found; y++)
        for (int x = 0; x < cx && !found; x++)
            found = GetPixel(dc, x, y) == color;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return found;
}

TEST(OpenProject, TheCommandLineProjectOpensWithoutAMessage)
{
    vt::ProgramCopy copy;
    std::string project = copy.Folder() + vt::ProgramCopy::SampleProject();
    std::unique_ptr<vt::IdeProcess> process(new vt::IdeProcess(copy, vt::ProgramCopy::SampleProject()));
    ASSERT_TRUE(process->Started());
    vt::RemoteAnswerer answerer(process->Id(), IDNO);
    HWND frame = process->MainWindow();
    ASSERT_NE(nullptr, frame) << "the main window did not show";
    HWND bar = nullptr;
    for (HWND hwnd : vt::detail::Descendants(frame)) {
        char text[64] = "";
        GetWindowTextA(hwnd, text, sizeof text);
        if (std::string(text) == "Project Workspace")
            bar = hwnd;
    }
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(IsWindowVisible(bar));
    // The bar holds its tab window and, on the "Source Files" tab, the project's file tree.
    HWND tabs = FindById(bar, 0xE900);
    ASSERT_NE(nullptr, tabs);
    EXPECT_TRUE(IsWindowVisible(tabs));
    HWND tree = FindById(tabs, 0xE802);
    ASSERT_NE(nullptr, tree);
    EXPECT_TRUE(IsWindowVisible(tree));
    RECT rc = {};
    GetClientRect(tree, &rc);
    EXPECT_GT(rc.right, 0);
    EXPECT_GT(rc.bottom, 0);
    // The sample's active sub-folder is drawn red: the tree shows the project.
    SetForegroundWindow(frame);
    bool red = false;
    for (int i = 0; i < 200 && !red; i++) {
        red = ShowsColor(tree, RGB(255, 0, 0));
        if (!red)
            Sleep(100);
    }
    EXPECT_TRUE(red) << "no red label in the file tree";
    process->Close();
    EXPECT_NE(-1, process->Wait());
    EXPECT_EQ(0u, answerer.Count());
    std::string text;
    ASSERT_TRUE(copy.ReadProfileString("Recent Project List", "Project1", &text));
    EXPECT_EQ(project, text);
}

}  // namespace
