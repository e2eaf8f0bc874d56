// The real program's roads without a window: /hide /build builds a project through the
// project-manager component and ends; /hide alone ends at once. Each run uses a private copy
// of the program folder, started as ./run starts it (from the program folder, the sample
// project named relative to it).
#include <gtest/gtest.h>
#include "tests/harness/harness.h"
#include "tests/harness/ide/ide_process.h"

namespace {

size_t CountOf(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Runs the program to its end, noting whether any window of it showed meanwhile (the ends
// of a run are looked at as often as the platform lets a test: a window that flashes may
// escape, a window that stays is always seen).
struct Outcome {
    int exitCode = -1;
    bool windowShown = false;
};

Outcome RunToEnd(vt::IdeProcess& process)
{
    Outcome run;
    while (process.Running()) {
        if (!vt::ProcessWindows(process.Id()).empty())
            run.windowShown = true;
        Sleep(5);
    }
    run.exitCode = process.Wait();
    return run;
}

TEST(WindowlessStart, HideBuildBuildsTheSampleWritingItsLinesToZideMsg)
{
    vt::ProgramCopy copy;
    vt::IdeProcess process(copy, std::string(vt::ProgramCopy::SampleProject()) + " /hide /build");
    ASSERT_TRUE(process.Started());
    Outcome run = RunToEnd(process);
    EXPECT_EQ(0, run.exitCode);
    EXPECT_FALSE(run.windowShown);
    std::string lines = vt::ReadFileBytes(copy.Folder() + "ZideMsg.txt");
    EXPECT_EQ(1u, CountOf(lines, "warning:")) << lines;
    EXPECT_NE(std::string::npos, lines.find(copy.Folder() + "sample\\main.asm(18): warning:")) << lines;
    EXPECT_NE(std::string::npos, lines.find("0 error(s), 1 warning(s)")) << lines;
    EXPECT_FALSE(vt::FindInstance(process.Id()));
}

TEST(WindowlessStart, OtherRoadsBuildNothingAndShowNoWindow)
{
    struct Case {
        const char* arguments;
        int exitCode;   // -1: any (the process ended)
    };
    const Case cases[] = {
        {"sample\\notes.txt /hide /build", 1},   // not a project: the windowless build fails at once
        {"/hide", -1},                           // ends at once
        {"sample\\Sample.wbi /hide", -1},        // a project without build: ends at once as well
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        vt::ProgramCopy copy;
        vt::IdeProcess process(copy, c.arguments);
        ASSERT_TRUE(process.Started());
        Outcome run = RunToEnd(process);
        EXPECT_NE(-1, run.exitCode);
        if (c.exitCode != -1) {
            EXPECT_EQ(c.exitCode, run.exitCode);
        }
        EXPECT_FALSE(run.windowShown);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((copy.Folder() + "ZideMsg.txt").c_str()));
        EXPECT_FALSE(vt::FindInstance(process.Id()));
    }
}

// A program folder without the project-manager component holds the windowless build at the
// loader's message, long enough to look at the instance registry while the process runs.
TEST(WindowlessStart, TheInstanceRegistryHoldsTheEntryWhileTheProcessRuns)
{
    vt::ProgramCopy copy;
    ASSERT_TRUE(DeleteFileA(copy.Program("VeltaneProjectMgr.dll").c_str()));
    vt::IdeProcess process(copy, std::string(vt::ProgramCopy::SampleProject()) + " /hide /build");
    ASSERT_TRUE(process.Started());
    while (process.Running() && vt::ProcessWindows(process.Id()).empty())
        Sleep(10);
    ASSERT_TRUE(process.Running());
    DWORD mainWindow = 1;
    EXPECT_TRUE(vt::FindInstance(process.Id(), &mainWindow));
    EXPECT_EQ(0u, mainWindow);   // the windowless road has no main window to record

    vt::RemoteAnswerer answerer(process.Id());
    ASSERT_TRUE(answerer.WaitForCount(1));
    EXPECT_NE(std::string::npos, answerer.Last().text.find("VeltaneProjectMgr.dll")) << answerer.Last().text;
    EXPECT_NE(-1, process.Wait());
    EXPECT_FALSE(vt::FindInstance(process.Id()));
}

} // namespace
