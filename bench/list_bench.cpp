// Fills a three-column report TWKListCtrl and the system's list view with the
// same rows (same size, font and texts in random order), then on each paints
// the first screen, jumps to the last row (End), selects every row and deletes
// every row. Times each step for 100,000 and 10,000 rows (End: the median of
// five, each from the first row). Run: bench/list_bench.
#include "framework/controls/list/TWKListCtrl.h"
#include "afx/app.h"
#include "bench_support.h"
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using bench::Now;
using bench::PaintNow;
using bench::PeakMemory;
using bench::Pump;

struct Texts
{
    std::vector<std::string> cells[3];
};

Texts MakeTexts(int nRows)
{
    Texts t;
    std::mt19937 rng(12345);
    std::vector<int> order(nRows);
    for (int i = 0; i < nRows; ++i)
        order[i] = i;
    std::shuffle(order.begin(), order.end(), rng);
    char buf[64];
    for (int i = 0; i < nRows; ++i)
    {
        sprintf(buf, "Item %06d", order[i]);
        t.cells[0].push_back(buf);
        sprintf(buf, "0x%08X", (unsigned)(order[i] * 2654435761u));
        t.cells[1].push_back(buf);
        sprintf(buf, "%d", order[i] % 977);
        t.cells[2].push_back(buf);
    }
    return t;
}

struct Steps
{
    double fill, paint, end, selectAll, deleteAll;
    SIZE_T peak;
};


// The End step's time: the median of several, each after Home and a paint.
template <class Home, class End>
double MedianEnd(Home home, End end, HWND hWnd)
{
    std::vector<double> t;
    for (int i = 0; i < 5; ++i)
    {
        home();
        PaintNow(hWnd);
        double t0 = Now();
        end();
        PaintNow(hWnd);
        t.push_back(Now() - t0);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

Steps RunOurs(CWnd& parent, const Texts& t, int nRows)
{
    Steps s = {};
    TWKListCtrl list;
    list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(0, 0, 600, 400), &parent, 1);
    list.AddColumn("Name", LVCFMT_LEFT, 200);
    list.AddColumn("Value", LVCFMT_LEFT, 200);
    list.AddColumn("Count", LVCFMT_LEFT, 150);
    double t0 = Now();
    for (int i = 0; i < nRows; ++i)
    {
        list.InsertItem(i, t.cells[0][i].c_str());
        list.SetItemText(i, 1, t.cells[1][i].c_str());
        list.SetItemText(i, 2, t.cells[2][i].c_str());
    }
    list.RecalcLayout();
    s.fill = Now() - t0;
    t0 = Now();
    PaintNow(list.m_hWnd);
    s.paint = Now() - t0;
    list.SetFocus();
    s.end = MedianEnd([&] { list.SendMessage(WM_KEYDOWN, VK_HOME, 1); }, [&] { list.SendMessage(WM_KEYDOWN, VK_END, 1); },
                      list.m_hWnd);
    // Shift+End from row 0.
    list.SendMessage(WM_KEYDOWN, VK_HOME, 1);
    PaintNow(list.m_hWnd);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    t0 = Now();
    list.SendMessage(WM_KEYDOWN, VK_END, 1);
    PaintNow(list.m_hWnd);
    s.selectAll = Now() - t0;
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    if (list.GetSelectedCount() != nRows)
        printf("  (ours selected %d of %d rows)\n", list.GetSelectedCount(), nRows);
    t0 = Now();
    list.DeleteAllItems();
    PaintNow(list.m_hWnd);
    s.deleteAll = Now() - t0;
    s.peak = PeakMemory();
    list.DestroyWindow();
    Pump();
    return s;
}

Steps RunSystem(CWnd& parent, const Texts& t, int nRows)
{
    Steps s = {};
    HWND hList = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, 0, 0,
                                 600, 400, parent.m_hWnd, (HMENU)2, AfxGetInstanceHandle(), NULL);
    SendMessage(hList, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), TRUE);
    const char* captions[3] = { "Name", "Value", "Count" };
    const int widths[3] = { 200, 200, 150 };
    for (int c = 0; c < 3; ++c)
    {
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.pszText = (LPSTR)captions[c];
        col.cx = widths[c];
        col.iSubItem = c;
        SendMessage(hList, LVM_INSERTCOLUMNA, c, (LPARAM)&col);
    }
    double t0 = Now();
    SendMessage(hList, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < nRows; ++i)
    {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = (LPSTR)t.cells[0][i].c_str();
        SendMessage(hList, LVM_INSERTITEMA, 0, (LPARAM)&item);
        for (int c = 1; c < 3; ++c)
        {
            item.iSubItem = c;
            item.pszText = (LPSTR)t.cells[c][i].c_str();
            SendMessage(hList, LVM_SETITEMTEXTA, i, (LPARAM)&item);
        }
    }
    SendMessage(hList, WM_SETREDRAW, TRUE, 0);
    s.fill = Now() - t0;
    t0 = Now();
    PaintNow(hList);
    s.paint = Now() - t0;
    SetFocus(hList);
    s.end = MedianEnd([&] { SendMessage(hList, WM_KEYDOWN, VK_HOME, 1); },
                      [&] { SendMessage(hList, WM_KEYDOWN, VK_END, 1); }, hList);
    t0 = Now();
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    for (int i = 0; i < nRows; ++i)
        SendMessage(hList, LVM_SETITEMSTATE, i, (LPARAM)&state);
    PaintNow(hList);
    s.selectAll = Now() - t0;
    t0 = Now();
    SendMessage(hList, LVM_DELETEALLITEMS, 0, 0);
    PaintNow(hList);
    s.deleteAll = Now() - t0;
    s.peak = PeakMemory();
    DestroyWindow(hList);
    Pump();
    return s;
}

void Report(int nRows, const Steps& ours, const Steps& sys)
{
    printf("%d rows            ours (s)   system (s)   ratio\n", nRows);
    const char* names[5] = { "fill", "paint first screen", "End, paint", "select all", "delete all" };
    const double a[5] = { ours.fill, ours.paint, ours.end, ours.selectAll, ours.deleteAll };
    const double b[5] = { sys.fill, sys.paint, sys.end, sys.selectAll, sys.deleteAll };
    (void)names;
    for (int i = 0; i < 5; ++i)
        printf("  %-20s %9.4f   %9.4f   %6.2f\n", names[i], a[i], b[i], b[i] > 0 ? a[i] / b[i] : 0.0);
    printf("  peak working set after ours %.1f MB, after the system's %.1f MB\n", ours.peak / 1048576.0,
           sys.peak / 1048576.0);
}

} // namespace

int main(int argc, char** argv)
{
    CWinApp app("bench_list");
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_LISTVIEW_CLASSES };
    InitCommonControlsEx(&icc);
    CWnd parent;
    parent.CreateEx(0, AfxRegisterWndClass(0, LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)), "List bench",
                    WS_POPUP | WS_VISIBLE, 0, 0, 620, 420, NULL, NULL);
    int sizes[2] = { 100000, 10000 };
    if (argc > 1)
        sizes[0] = atoi(argv[1]);
    Steps ours[2], sys[2];
    for (int k = 0; k < 2; ++k)
    {
        Texts t = MakeTexts(sizes[k]);
        ours[k] = RunOurs(parent, t, sizes[k]);
        sys[k] = RunSystem(parent, t, sizes[k]);
        Report(sizes[k], ours[k], sys[k]);
    }
    // Time per row at the larger size over time per row at the smaller.
    printf("per-row growth, ours (%d vs %d rows):", sizes[0], sizes[1]);
    auto times = [](const Steps& st) { return std::vector<double>{ st.fill, st.paint, st.end, st.selectAll, st.deleteAll }; };
    std::vector<double> a0 = times(ours[0]), a1 = times(ours[1]);
    for (int i = 0; i < 5; ++i)
        printf(" %.2f", (a0[i] / sizes[0]) / (a1[i] / sizes[1] > 0 ? a1[i] / sizes[1] : 1e-12));
    printf("\n");
    parent.DestroyWindow();
    return 0;
}
