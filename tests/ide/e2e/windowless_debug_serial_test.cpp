// The real program's windowless road with /debug: it builds the sample, then downloads it
// to the simulated board on the named port and runs it, all without a window. The board's
// trace in a private copy of the program folder tells what reached it.
#include <gtest/gtest.h>
#include "tests/harness/harness.h"
#include "tests/harness/ide/ide_process.h"

namespace {

TEST(WindowlessDebug, BuildsDownloadsAndRunsOnTheNamedPort)
{
    vt::ProgramCopy copy;
    std::string sim = copy.Folder() + "ZComSim.ini";
    WritePrivateProfileStringA("Trace", "Enable", "1", sim.c_str());
    WritePrivateProfileStringA("Trace", "File", "trace.log", sim.c_str());
    vt::IdeProcess process(copy, std::string(vt::ProgramCopy::SampleProject()) + " /hide /debug:COM3");
    ASSERT_TRUE(process.Started());
    EXPECT_NE(-1, process.Wait());
    std::string lines = vt::ReadFileBytes(copy.Folder() + "ZideMsg.txt");
    EXPECT_NE(std::string::npos, lines.find("0 error(s), 1 warning(s)")) << lines;
    std::string trace = vt::ReadFileBytes(copy.Folder() + "trace.log");
    size_t open = trace.find("3 OpenBoard COM3 KV61A-S28");
    size_t download = trace.find("7 Download", open == std::string::npos ? 0 : open);
    size_t run = trace.find("10 Run", download == std::string::npos ? 0 : download);
    EXPECT_NE(std::string::npos, open) << trace;
    EXPECT_NE(std::string::npos, download) << trace;
    EXPECT_NE(std::string::npos, run) << trace;
}

} // namespace
