// The program started with the sample project on its command line opens it.
#include <gtest/gtest.h>
#include "tests/harness/box_work.h"
#include "tests/harness/harness.h"
#include "tests/harness/ide/ide_process.h"
#include <memory>

namespace {

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
    process->Close();
    EXPECT_NE(-1, process->Wait());
    EXPECT_EQ(0u, answerer.Count());
    std::string text;
    ASSERT_TRUE(copy.ReadProfileString("Recent Project List", "Project1", &text));
    EXPECT_EQ(project, text);
}

}  // namespace
