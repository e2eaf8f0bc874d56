// The real program builds from a private program-folder copy, seen from
// outside: the "Build" page's lines in their colours, a double-clicked
// warning or error opening its source at its line (also after lines were
// inserted above it), and the windowed /build start.
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <memory>
#include "resources/ideres.h"
#include "tests/harness/harness.h"
#include "tests/harness/ide/build_page.h"
#include "tests/harness/ide/ide_process.h"

namespace {

using vt::detail::Descendants;
using vt::detail::WindowText;

// Polls until the condition holds; false past the limit (which only guards against a hang).
bool WaitUntil(const std::function<bool()>& condition, DWORD ms = 60000)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > ms)
            return false;
        Sleep(50);
    }
    return true;
}

class BuildE2E : public ::testing::Test {
protected:
    void Start(const std::string& arguments)
    {
        // The pointer rests in the screen's far corner, away from the windows read.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        m_process.reset(new vt::IdeProcess(m_copy, arguments));
        ASSERT_TRUE(m_process->Started());
        m_answerer.reset(new vt::RemoteAnswerer(m_process->Id(), IDOK));
        m_frame = m_process->MainWindow();
        ASSERT_NE(nullptr, m_frame) << "the main window did not show";
        m_page = vt::FindBuildPage(m_frame);
        ASSERT_NE(nullptr, m_page);
        m_status = GetDlgItem(m_frame, 0xE801);
        ASSERT_NE(nullptr, m_status);
    }
    // Waits for a line of that colour on the "Build" page.
    bool WaitForLine(COLORREF color, POINT* at)
    {
        return WaitUntil([&] {
            RedrawWindow(m_page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            return vt::FindColoredLine(m_page, color, at);
        });
    }
    // The build's end, as the status bar shows it: its progress pane goes.
    bool WaitForBuildEnd()
    {
        HWND progress = GetDlgItem(m_status, ID_INDICATOR_PROGRESS);
        return progress && WaitUntil([&] { return !IsWindowVisible(progress); });
    }
    // Closes the program, answering No to its save questions (opened documents
    // mark the project modified); no other box may come.
    void CloseKeepingNothing()
    {
        m_answerer->SetDefault(IDNO);
        m_process->Close();
        EXPECT_NE(-1, m_process->Wait());
        for (const vt::ModalSeen& seen : m_answerer->Seen())
            EXPECT_TRUE(seen.text == "Save Current Project ?" || seen.text.find("Save changes") == 0) << seen.text;
    }
    std::string Pane(int n) { return vt::StatusPaneText(m_process->Handle(), m_status, n); }
    // Double-clicks the page's line and waits for the source's frame and its caret line.
    bool OpenAt(POINT at, const std::string& fileName, int line)
    {
        vt::DoubleClick(m_page, at);
        std::string want = "Ln " + std::to_string(line) + ",";
        return WaitUntil([&] {
            return vt::FindDocumentFrame(m_frame, fileName) && Pane(3).compare(0, want.size(), want) == 0;
        });
    }

    vt::ProgramCopy m_copy;
    std::unique_ptr<vt::IdeProcess> m_process;
    std::unique_ptr<vt::RemoteAnswerer> m_answerer;
    HWND m_frame = nullptr;
    HWND m_page = nullptr;
    HWND m_status = nullptr;
};

TEST_F(BuildE2E, TheSamplesWarningOpensItsLineAlsoAfterInsertedLines)
{
    Start(vt::ProgramCopy::SampleProject());
    PostMessageA(m_frame, WM_COMMAND, ID_PROJECT_BUILD, 0);
    POINT at = {};
    ASSERT_TRUE(WaitForLine(vt::kWarningColor, &at)) << "no warning on the Build page";
    // The build's end opens its listing in front: the double-click comes after it, on the
    // warning's place then (the page scrolls while the build adds lines).
    ASSERT_TRUE(WaitUntil([&] { return vt::FindDocumentFrame(m_frame, "sample.lst") != nullptr; }));
    RedrawWindow(m_page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_FALSE(vt::FindColoredLine(m_page, vt::kErrorColor, &at));
    ASSERT_TRUE(vt::FindColoredLine(m_page, vt::kWarningColor, &at));
    ASSERT_TRUE(OpenAt(at, "main.asm", 18)) << Pane(3);

    // Two lines inserted above the warning's line: the double-click follows it.
    HWND view = GetWindow(vt::FindDocumentFrame(m_frame, "main.asm"), GW_CHILD);
    ASSERT_NE(nullptr, view);
    // (At the end of the line above, so that the warning's line itself is not split.)
    SendMessageA(view, WM_KEYDOWN, VK_UP, 0);
    SendMessageA(view, WM_KEYDOWN, VK_END, 0);
    SendMessageA(view, WM_CHAR, '\r', 0);
    SendMessageA(view, WM_CHAR, '\r', 0);
    ASSERT_TRUE(WaitUntil([&] { return Pane(3).compare(0, 7, "Ln 19, ") == 0; })) << Pane(3);
    ASSERT_TRUE(vt::FindColoredLine(m_page, vt::kWarningColor, &at));
    EXPECT_TRUE(OpenAt(at, "main.asm", 20)) << Pane(3);
    CloseKeepingNothing();
}

TEST_F(BuildE2E, TheBrokenFixturesErrorsShowInRedAndOpenTheirLine)
{
    Start("sample\\fixtures\\Broken.wbi");
    PostMessageA(m_frame, WM_COMMAND, ID_PROJECT_BUILD, 0);
    POINT at = {};
    ASSERT_TRUE(WaitForLine(vt::kErrorColor, &at)) << "no error on the Build page";
    // The double-click comes after the build's end (its progress pane goes): until then the
    // page scrolls while the build adds lines, and the line seen may have moved.
    ASSERT_TRUE(WaitForBuildEnd());
    RedrawWindow(m_page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_TRUE(vt::FindColoredLine(m_page, vt::kErrorColor, &at));
    ASSERT_TRUE(OpenAt(at, "broken.asm", 3)) << Pane(3);
    CloseKeepingNothing();
}

TEST_F(BuildE2E, TheWindowedBuildRoadBuildsOnceAndKeepsRunning)
{
    Start(std::string(vt::ProgramCopy::SampleProject()) + " /build");
    POINT at = {};
    ASSERT_TRUE(WaitForLine(vt::kWarningColor, &at)) << "the start built nothing";
    // Closed after the build's end: a close during a build is refused with a message.
    ASSERT_TRUE(WaitForBuildEnd()) << "the build did not end";
    EXPECT_TRUE(m_process->Running());
    EXPECT_TRUE(IsWindowVisible(m_frame));
    CloseKeepingNothing();
}

}  // namespace
