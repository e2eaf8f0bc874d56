// The output window under a flood: 100,000 records posted to the main frame
// from another thread, as a build posts them (kinds 1-3 and others), taken
// until the last one is on its page, against the engine's store appending the
// same lines. A third thread sends the frame a message every few milliseconds
// during the flood and keeps the longest wait for its answer. Prints each run,
// the medians, ranges and the ratio.
#include "afx/afx.h"
#include "bench/ide_bench.h"
#include "editor/store/TWKEdit.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/MainFrm.h"
#include "tests/harness/harness.h"
#include "tests/harness/test_app.h"
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

int kRecords = 100000;
const int kRuns = 5;

std::vector<tagMessageRecord> MakeRecords()
{
    const int kinds[] = { 1, 2, 3, 0, 4, 5, 6, 2, 3, 1 };
    std::vector<tagMessageRecord> recs(kRecords);
    for (int i = 0; i < kRecords; i++) {
        tagMessageRecord& r = recs[i];
        r.kind = kinds[i % 10];
        sprintf(r.fileName, "C:\\project\\src\\module%d.asm", i % 37);
        r.line = i % 4000 + 1;
        sprintf(r.text, "line %d: operand out of range in instruction\tmov a,#0x%X", i, i & 0xFFF);
    }
    return recs;
}

double StoreAppend(const std::vector<tagMessageRecord>& recs)
{
    TWKEdit edit;
    edit.Initialize();
    double t0 = bench::Now();
    // The last line is followed from the one before, not found from the first
    // line each time: a walk over the whole text per line would make the
    // baseline grow with the square of the records.
    TWKEditLine* pLast = TWKEdit::GetLastLine(edit.m_pFirstLine);
    for (const tagMessageRecord& r : recs) {
        CString line = C_MessageCtrl::FormatLine(&r, 1) + "\r\n";
        pLast = TWKEdit::GetLastLine(pLast);
        TWKEditPos pos = { pLast, pLast->nLength };
        edit.InsertText(pos, line, line.GetLength(), FALSE);
    }
    double t = bench::Now() - t0;
    edit.FreeAll();
    return t;
}

struct FloodResult { double seconds; double maxAnswerMs; int answers; };

FloodResult Flood(CMainFrame* pFrame, std::vector<tagMessageRecord>& recs)
{
    HWND hFrame = pFrame->m_hWnd;
    std::atomic<int> posted{ 0 };
    std::atomic<bool> done{ false };
    double t0 = bench::Now();
    std::thread poster([&] {
        for (int i = 0; i < kRecords; i++) {
            while (!::PostMessageA(hFrame, WM_MAIN_REQUEST, 0, (LPARAM)&recs[i]))
                ::Sleep(0);   // the queue is full: the frame drains it
            posted = i + 1;
        }
        done = true;
    });
    double maxMs = 0;
    int answers = 0;
    std::thread asker([&] {
        while (!done) {
            double a = bench::Now();
            DWORD_PTR res = 0;
            ::SendMessageTimeoutA(hFrame, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &res);
            maxMs = std::max(maxMs, (bench::Now() - a) * 1000.0);
            answers++;
            ::Sleep(5);
        }
    });
    MSG msg;
    for (;;) {
        if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        } else if (done) {
            break;
        } else {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        }
    }
    double t = bench::Now() - t0;
    poster.join();
    asker.join();
    return { t, maxMs, answers };
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        kRecords = atoi(argv[1]);
    setvbuf(stdout, nullptr, _IONBF, 0);
    vt::PrepareTestProcess(&argc, argv);
    vt::TestApp<CAsmIDEApp> app;
    CMainFrame* pFrame = bench::MakeIdeFrame(1000, 700);
    if (!pFrame)
        return 1;

    std::vector<tagMessageRecord> recs = MakeRecords();
    std::vector<double> store, flood, ratio, answer;
    for (int run = 0; run < kRuns; run++) {
        for (C_MessageCtrl* p : { pFrame->GetMessageBar()->GetBuildPage(), pFrame->GetMessageBar()->GetResultPage() })
            p->Clear(TRUE);
        double s = StoreAppend(recs);
        FloodResult f = Flood(pFrame, recs);
        int nBuild = (int)pFrame->GetMessageBar()->GetBuildPage()->GetRecords().GetCount();
        int nResult = (int)pFrame->GetMessageBar()->GetResultPage()->GetRecords().GetCount();
        printf("run %d: store %.1f ms, flood %.1f ms, ratio %.2f, longest answer %.1f ms (%d asked), pages %d %d\n",
               run + 1, s * 1000, f.seconds * 1000, f.seconds / s, f.maxAnswerMs, f.answers, nBuild, nResult);
        store.push_back(s * 1000);
        flood.push_back(f.seconds * 1000);
        ratio.push_back(f.seconds / s);
        answer.push_back(f.maxAnswerMs);
    }
    auto range = [](const std::vector<double>& v) {
        return std::make_pair(*std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()));
    };
    printf("store   median %.1f ms (%.1f - %.1f)\n", Median(store), range(store).first, range(store).second);
    printf("flood   median %.1f ms (%.1f - %.1f)\n", Median(flood), range(flood).first, range(flood).second);
    printf("ratio   median %.2f (%.2f - %.2f)\n", Median(ratio), range(ratio).first, range(ratio).second);
    printf("answer  median of longest %.1f ms (%.1f - %.1f)\n", Median(answer), range(answer).first,
           range(answer).second);
    pFrame->DestroyWindow();
    return 0;
}
