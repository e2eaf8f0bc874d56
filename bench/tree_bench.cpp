// Fills a TWKTreeCtrl and the system's tree view (same styles, size and
// font) with the same items and times, on each: 100,000 children inserted
// under one collapsed item in random text order, sorting them, expanding
// and painting, jumping to the last item, collapsing, deleting everything,
// then 100,000 top-level items shown as they come; again with 10,000.
// Run: bench/tree_bench.
#include "framework/controls/list/TWKTreeCtrl.h"
#include "afx/app.h"
#include "bench_support.h"
#include <cstdio>
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
    t0 = Now();
    tree.SendMessage(WM_KEYDOWN, VK_END, 1);
    PaintNow(tree.m_hWnd);
    r.t[END] = Now() - t0;
    if (tree.GetSelectedItem() != tree.GetChildItem(hTop) && tree.GetNextSiblingItem(tree.GetSelectedItem()))
        printf("  (ours: End did not reach the last item)\n");
    t0 = Now();
    tree.Expand(hTop, TVE_COLLAPSE);
    PaintNow(tree.m_hWnd);
    r.t[COLLAPSE] = Now() - t0;
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
    t0 = Now();
    SendMessage(hTree, WM_KEYDOWN, VK_END, 1);
    PaintNow(hTree);
    r.t[END] = Now() - t0;
    t0 = Now();
    SendMessage(hTree, TVM_EXPAND, TVE_COLLAPSE, (LPARAM)hTop);
    PaintNow(hTree);
    r.t[COLLAPSE] = Now() - t0;
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

void Report(int n, const Result& ours, const Result& sys)
{
    printf("%d items               ours (s)   system (s)   ratio\n", n);
    for (int i = 0; i < STEPS; ++i)
        printf("  %-22s %9.4f   %9.4f   %6.2f\n", STEP_NAMES[i], ours.t[i], sys.t[i],
               sys.t[i] > 0 ? ours.t[i] / sys.t[i] : 0.0);
    printf("  peak working set after ours %.1f MB, after the system's %.1f MB\n", ours.peak / 1048576.0,
           sys.peak / 1048576.0);
}

} // namespace

int main(int argc, char** argv)
{
    CWinApp app("bench_tree");
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_TREEVIEW_CLASSES };
    InitCommonControlsEx(&icc);
    CWnd parent;
    parent.CreateEx(0, AfxRegisterWndClass(0, LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)), "Tree bench",
                    WS_POPUP | WS_VISIBLE, 0, 0, 620, 420, NULL, NULL);
    int sizes[2] = { 100000, 10000 };
    if (argc > 1)
        sizes[0] = atoi(argv[1]);
    Result ours[2], sys[2];
    for (int k = 0; k < 2; ++k)
    {
        std::vector<std::string> texts = MakeTexts(sizes[k]);
        ours[k] = RunOurs(parent, texts);
        sys[k] = RunSystem(parent, texts);
        Report(sizes[k], ours[k], sys[k]);
    }
    // Time per item at the larger size over time per item at the smaller (about 1: nothing quadratic).
    printf("per-item growth, ours (%d vs %d items):", sizes[0], sizes[1]);
    for (int i = 0; i < STEPS; ++i)
    {
        double a = ours[0].t[i] / sizes[0], b = ours[1].t[i] / sizes[1];
        printf(" %.2f", b > 0 ? a / b : 0.0);
    }
    printf("\n");
    parent.DestroyWindow();
    return 0;
}
