// Time from process start to the main window shown, for VeltaneTool.exe on the sample project
// and for the empty framework frame beside it, each started from a fresh program-folder copy
// and found through the instance registry. Prints each run, the medians and their ratio.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "bench_support.h"
#include "tests/harness/ide/ide_process.h"

namespace {

const char kIde[] = "VeltaneTool.exe";
const char kEmpty[] = "EmptyFrame.exe";

// Milliseconds until the main window shows; negative when it never did.
double StartOnce(const char* program)
{
    vt::ProgramCopy copy;
    std::string arguments = program == std::string(kIde) ? vt::ProgramCopy::SampleProject() : "";
    double t0 = bench::Now();
    vt::IdeProcess process(copy, arguments, "", program);
    HWND main = process.MainWindow();
    double ms = (bench::Now() - t0) * 1000.0;
    if (!main) {
        std::printf("%s: no main window (exit code %d)\n", program, process.Wait(0));
        return -1;
    }
    process.Close();
    return ms;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    // One start of each first: the files and DLLs come into the cache, Wine's server is warm.
    StartOnce(kEmpty);
    StartOnce(kIde);
    std::vector<double> ide, empty;
    for (int i = 0; i < runs; ++i) {
        // Alternating, so that neither program always starts right after the other.
        double e = StartOnce(kEmpty);
        double d = StartOnce(kIde);
        if (e < 0 || d < 0) {
            std::printf("run %d: a main window did not appear (empty %.0f, IDE %.0f)\n", i + 1, e, d);
            return 1;
        }
        std::printf("run %d: empty frame %7.1f ms   VeltaneTool %7.1f ms\n", i + 1, e, d);
        empty.push_back(e);
        ide.push_back(d);
    }
    double me = Median(empty), mi = Median(ide);
    std::printf("median of %d: empty frame %.1f ms, VeltaneTool %.1f ms, ratio %.2f (goal: 1.5 or less)\n", runs, me,
                mi, mi / me);
    return 0;
}
