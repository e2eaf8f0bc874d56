// Fills a TWKTreeCtrl and the system's tree view (same styles, size and
// font) with the same items and times, on each: 100,000 children inserted
// under one collapsed item in random text order, sorting them, expanding
// and painting, jumping to the last item, collapsing, deleting everything,
// then 100,000 top-level items shown as they come; again with 10,000.
// Each control and size runs in a process of its own, so that none starts
// with heap memory another run left behind; the End and collapse steps are
// the median of several repetitions. The machine is shared: the runs go in
// rounds, ours and the system's side by side (in turn first), and each figure
// is the median over the rounds, a ratio the median of the rounds' ratios. The
// per-item growth compares each size's best round instead: a long step takes
// in more of the machine's other work than a short one, so their medians
// would show a growth that is only the load.
// Run: bench/tree_bench [larger count [rounds]].
#include "framework/controls/list/TWKTreeCtrl.h"
#include "afx/app.h"
#include "bench_support.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using bench::Now;
using bench::PaintNow;
using bench::PeakMemory;
using bench::Pump;

std::vector<std::string> MakeTexts(int n)
{
    std::mt19937 rng(12345);
    std::vector<int> order(n);
    for (int i = 0; i < n; ++i)
        order[i] = i;
    std::shuffle(order.begin(), order.end(), rng);
    std::vector<std::string> v;
    char buf[64];
    for (int i = 0; i < n; ++i)
    {
        sprintf(buf, "Item %06d", order[i]);
        v.push_back(buf);
    }
    return v;
}

enum { FILL, SORT, EXPAND, END, COLLAPSE, DELETEALL, TOPLEVEL, STEPS };
const char* const STEP_NAMES[STEPS] = { "fill children", "sort", "expand, paint", "End, paint",
                                         "collapse, paint", "delete all", "fill top level, paint" };

struct Result
{
    double t[STEPS];
    SIZE_T peak;
};

const DWORD TREE_STYLES = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
const int REPEATS = 5;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The median time of a step, each repetition after an untimed step that undoes it.
template <class Undo, class Step>
double MedianOf(Undo undo, Step step)
{
    std::vector<double> t;
    for (int i = 0; i < REPEATS; ++i)
    {
        undo();
        double t0 = Now();
        step();
        t.push_back(Now() - t0);
    }
    return Median(t);
}

Result RunOurs(CWnd& parent, const std::vector<std::string>& texts)
{
    Result r = {};
    int n = (int)texts.size();
    TWKTreeCtrl tree;
    tree.Create(WS_CHILD | WS_VISIBLE | TREE_STYLES, CRect(0, 0, 600, 400), &parent, 1);
    HTREEITEM hTop = tree.InsertItem("Top");
    double t0 = Now();
    for (int i = 0; i < n; ++i)
        tree.InsertItem(texts[i].c_str(), hTop, TVI_LAST);
    r.t[FILL] = Now() - t0;
    t0 = Now();
    tree.SortChildren(hTop);
    r.t[SORT] = Now() - t0;
    t0 = Now();
    tree.Expand(hTop, TVE_EXPAND);
    PaintNow(tree.m_hWnd);
    r.t[EXPAND] = Now() - t0;
    tree.SetFocus();
    r.t[END] = MedianOf(
        [&] {
            tree.SendMessage(WM_KEYDOWN, VK_HOME, 1);
            PaintNow(tree.m_hWnd);
        },
        [&] {
            tree.SendMessage(WM_KEYDOWN, VK_END, 1);
            PaintNow(tree.m_hWnd);
        });
    if (tree.GetSelectedItem() != tree.GetChildItem(hTop) && tree.GetNextSiblingItem(tree.GetSelectedItem()))
        printf("  (ours: End did not reach the last item)\n");
    r.t[COLLAPSE] = MedianOf(
        [&] {
            tree.Expand(hTop, TVE_EXPAND);
            PaintNow(tree.m_hWnd);
        },
        [&] {
            tree.Expand(hTop, TVE_COLLAPSE);
            PaintNow(tree.m_hWnd);
        });
    t0 = Now();
    tree.DeleteAllItems();
    PaintNow(tree.m_hWnd);
    r.t[DELETEALL] = Now() - t0;
    t0 = Now();
    for (int i = 0; i < n; ++i)
        tree.InsertItem(texts[i].c_str(), TVI_ROOT, TVI_LAST);
    PaintNow(tree.m_hWnd);
    r.t[TOPLEVEL] = Now() - t0;
    if (tree.GetItemCount() != n)
        printf("  (ours shows %d rows of %d)\n", tree.GetItemCount(), n);
    r.peak = PeakMemory();
    tree.DestroyWindow();
    Pump();
    return r;
}

HTREEITEM SysInsert(HWND hTree, const char* text, HTREEITEM hParent)
{
    TVINSERTSTRUCTA ins = {};
    ins.hParent = hParent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = (LPSTR)text;
    return (HTREEITEM)SendMessage(hTree, TVM_INSERTITEMA, 0, (LPARAM)&ins);
}

Result RunSystem(CWnd& parent, const std::vector<std::string>& texts)
{
    Result r = {};
    int n = (int)texts.size();
    HWND hTree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TREE_STYLES, 0, 0, 600, 400,
                                 parent.m_hWnd, (HMENU)2, AfxGetInstanceHandle(), NULL);
    SendMessage(hTree, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), TRUE);
    HTREEITEM hTop = SysInsert(hTree, "Top", TVI_ROOT);
    double t0 = Now();
    SendMessage(hTree, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < n; ++i)
        SysInsert(hTree, texts[i].c_str(), hTop);
    SendMessage(hTree, WM_SETREDRAW, TRUE, 0);
    r.t[FILL] = Now() - t0;
    t0 = Now();
    SendMessage(hTree, TVM_SORTCHILDREN, FALSE, (LPARAM)hTop);
    r.t[SORT] = Now() - t0;
    t0 = Now();
    SendMessage(hTree, TVM_EXPAND, TVE_EXPAND, (LPARAM)hTop);
    PaintNow(hTree);
    r.t[EXPAND] = Now() - t0;
    SetFocus(hTree);
    r.t[END] = MedianOf(
        [&] {
            SendMessage(hTree, WM_KEYDOWN, VK_HOME, 1);
            PaintNow(hTree);
        },
        [&] {
            SendMessage(hTree, WM_KEYDOWN, VK_END, 1);
            PaintNow(hTree);
        });
    r.t[COLLAPSE] = MedianOf(
        [&] {
            SendMessage(hTree, TVM_EXPAND, TVE_EXPAND, (LPARAM)hTop);
            PaintNow(hTree);
        },
        [&] {
            SendMessage(hTree, TVM_EXPAND, TVE_COLLAPSE, (LPARAM)hTop);
            PaintNow(hTree);
        });
    t0 = Now();
    SendMessage(hTree, TVM_DELETEITEM, 0, (LPARAM)TVI_ROOT);
    PaintNow(hTree);
    r.t[DELETEALL] = Now() - t0;
    t0 = Now();
    SendMessage(hTree, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < n; ++i)
        SysInsert(hTree, texts[i].c_str(), TVI_ROOT);
    SendMessage(hTree, WM_SETREDRAW, TRUE, 0);
    PaintNow(hTree);
    r.t[TOPLEVEL] = Now() - t0;
    r.peak = PeakMemory();
    DestroyWindow(hTree);
    Pump();
    return r;
}

// The median of the rounds' values of one figure.
template <class Value>
double MedianOver(const std::vector<Result>& ours, const std::vector<Result>& sys, Value value)
{
    std::vector<double> v;
    for (size_t r = 0; r < ours.size(); ++r)
        v.push_back(value(ours[r], sys[r]));
    return v.empty() ? 0.0 : Median(v);
}

double Ratio(double a, double b) { return b > 0 ? a / b : 0.0; }

void Report(int n, const std::vector<Result>& ours, const std::vector<Result>& sys)
{
    printf("%d items               ours (s)   system (s)   ratio\n", n);
    for (int i = 0; i < STEPS; ++i)
        printf("  %-22s %9.4f   %9.4f   %6.2f\n", STEP_NAMES[i],
               MedianOver(ours, sys, [i](const Result& a, const Result&) { return a.t[i]; }),
               MedianOver(ours, sys, [i](const Result&, const Result& b) { return b.t[i]; }),
               MedianOver(ours, sys, [i](const Result& a, const Result& b) { return Ratio(a.t[i], b.t[i]); }));
    printf("  peak working set after ours %.1f MB, after the system's %.1f MB\n",
           MedianOver(ours, sys, [](const Result& a, const Result&) { return (double)a.peak; }) / 1048576.0,
           MedianOver(ours, sys, [](const Result&, const Result& b) { return (double)b.peak; }) / 1048576.0);
}

// One control at one size in this process; the times go to a file the parent reads.
int RunOne(int n, bool bOurs, const char* pszOut)
{
    CWinApp app("bench_tree");
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_TREEVIEW_CLASSES };
    InitCommonControlsEx(&icc);
    CWnd parent;
    parent.CreateEx(0, AfxRegisterWndClass(0, LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)), "Tree bench",
                    WS_POPUP | WS_VISIBLE, 0, 0, 620, 420, NULL, NULL);
    std::vector<std::string> texts = MakeTexts(n);
    Result r = bOurs ? RunOurs(parent, texts) : RunSystem(parent, texts);
    parent.DestroyWindow();
    FILE* f = fopen(pszOut, "wb");
    if (!f)
        return 1;
    fwrite(&r, sizeof r, 1, f);
    fclose(f);
    return 0;
}

bool RunChild(int n, bool bOurs, Result* pResult)
{
    char szExe[MAX_PATH], szDir[MAX_PATH], szOut[MAX_PATH];
    GetModuleFileNameA(NULL, szExe, MAX_PATH);
    GetTempPathA(MAX_PATH, szDir);
    GetTempFileNameA(szDir, "tb", 0, szOut);
    char szCmd[3 * MAX_PATH];
    sprintf(szCmd, "\"%s\" --one %d %s \"%s\"", szExe, n, bOurs ? "ours" : "system", szOut);
    STARTUPINFOA si = { sizeof si };
    PROCESS_INFORMATION pi = {};
    bool bOk = false;
    if (CreateProcessA(NULL, szCmd, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
    {
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        FILE* f = fopen(szOut, "rb");
        if (f)
        {
            bOk = fread(pResult, sizeof *pResult, 1, f) == 1;
            fclose(f);
        }
    }
    DeleteFileA(szOut);
    if (!bOk)
        printf("  (the %s run with %d items gave no result)\n", bOurs ? "framework" : "system", n);
    return bOk;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && strcmp(argv[1], "--one") == 0)
        return RunOne(atoi(argv[2]), strcmp(argv[3], "ours") == 0, argv[4]);
    int sizes[2] = { 100000, 10000 };
    if (argc > 1)
        sizes[0] = atoi(argv[1]);
    int nRounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    std::vector<Result> ours[2], sys[2];
    for (int r = 0; r < nRounds; ++r)
    {
        for (int k = 0; k < 2; ++k)
        {
            Result a = {}, b = {};
            bool bOk = r % 2 == 0 ? RunChild(sizes[k], true, &a) && RunChild(sizes[k], false, &b)
                                  : RunChild(sizes[k], false, &b) && RunChild(sizes[k], true, &a);
            if (!bOk)
                return 1;
            ours[k].push_back(a);
            sys[k].push_back(b);
        }
    }
    printf("medians of %d rounds\n", nRounds);
    for (int k = 0; k < 2; ++k)
        Report(sizes[k], ours[k], sys[k]);
    // Time per item at the larger size over time per item at the smaller (about 1: nothing quadratic).
    printf("per-item growth, ours (%d vs %d items, best rounds):", sizes[0], sizes[1]);
    for (int i = 0; i < STEPS; ++i)
    {
        double best[2];
        for (int k = 0; k < 2; ++k)
        {
            best[k] = ours[k][0].t[i];
            for (const Result& r : ours[k])
                best[k] = std::min(best[k], r.t[i]);
        }
        printf(" %.2f", Ratio(best[0] / sizes[0], best[1] / sizes[1]));
    }
    printf("\n");
    printf("fill at %d: %.2f of the system's; collapse at %d: %.2f of the system's\n", sizes[0],
           MedianOver(ours[0], sys[0], [](const Result& a, const Result& b) { return Ratio(a.t[FILL], b.t[FILL]); }),
           sizes[1],
           MedianOver(ours[1], sys[1],
                      [](const Result& a, const Result& b) { return Ratio(a.t[COLLAPSE], b.t[COLLAPSE]); }));
    return 0;
}
