// Paints of a visible 1024 x 768 editing control over a generated
// 1,000,000-line assembler source with colouring on: a full screen at the
// top, in the middle and at the end, and dragging the thumb to the end;
// once with an empty line every 20 lines and once without any (the comment
// walk goes back to the previous empty line, so that is the worst case).
// The floor of a paint is the drawing the display must do anyway: the same
// rows' colour runs (worked out beforehand), each one ExtTextOut in its
// colours, with the same font and the same gutter, taken in turn with the
// window's paint; goal: paint within 1.5 times the floor. Beside it the
// same drawing with the runs joined as the window joins them (blanks go
// with a neighbour, neighbours of one colour are one run). Each time is the
// median of 20, measured to the end of the paint. Beside them, a paint that
// draws nothing, and the same right after the floor: the floor's pixels go
// on to the display only at the window's next paint, a cost every paint of
// the window carries and the floor leaves to it. Then what users feel while
// editing line 500,000 of the coloured text: a typed character, Enter,
// Backspace at column 0 (a join), five typed characters taken back by one
// Undo, and Bottom of File from the top, each from sending the message to
// the end of the paint, taken in turn with the same steps on a 100-line text
// of the same lines; goal: Undo, and Enter and join without scroll-bar
// updates, within 2 times the 100-line figure, or, where the lines must be
// renumbered, what lies beyond it within 1.5 walks over the lines. Then Mark
// All and Replace All of a word on every tenth line of 1,000,000 (100,000
// matches), against the store's plain search stepping from match to match
// over the same text (median of 5); goal: Replace All within 2 times the
// search. Beside it, the one redraw of the scroll bar Replace All ends with.
// Run by hand under Xvfb.
#include "afx/afx.h"
#include "editor/window/TWKEditCtrl.h"
#include "editor/store/TWKEditSearch.h"
#include "editor/store/TWKEditColour.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

class CBenchApp : public CWinApp
{
public:
    CBenchApp() : CWinApp("Veltane Tool Bench") { SetRegistryKey("VeltaneToolBench"); }
    ~CBenchApp() override
    {
        WriteProfileString("", nullptr, nullptr);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VeltaneToolBench");
    }
};
CBenchApp theApp;

double Median(int n, const std::function<void()>& prepare, const std::function<void()>& run)
{
    std::vector<double> t;
    for (int i = 0; i < n; i++)
    {
        prepare();
        auto t0 = std::chrono::steady_clock::now();
        run();
        ::GdiFlush();
        t.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// Runs taken in turn, n times each, so that all see the same machine; the
// medians of each.
std::vector<double> MedianSet(int n, const std::vector<std::function<void()>>& runs)
{
    std::vector<std::vector<double>> t(runs.size());
    for (int i = 0; i < n; i++)
        for (size_t k = 0; k < runs.size(); k++)
        {
            auto t0 = std::chrono::steady_clock::now();
            runs[k]();
            ::GdiFlush();
            t[k].push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        }
    std::vector<double> out;
    for (auto& v : t)
    {
        std::sort(v.begin(), v.end());
        out.push_back(v[v.size() / 2]);
    }
    return out;
}

std::pair<double, double> MedianPair(int n, const std::function<void()>& a, const std::function<void()>& b)
{
    std::vector<double> m = MedianSet(n, {a, b});
    return {m[0], m[1]};
}

// One run of a row in one colour, as the display must draw it.
struct ColourRun
{
    int nStart, nCount;
    COLORREF cr;
};

// The colour runs of the rows from pTop, computed once: keywords each in
// their own colour, then every other stretch of one class.
std::vector<std::pair<std::string, std::vector<ColourRun>>> ColourRuns(TWKEdit* e, TWKEditLine* pTop, int rows)
{
    std::vector<std::pair<std::string, std::vector<ColourRun>>> out;
    TWKEditCommentMemo memo;
    for (TWKEditLine* p = pTop; p && (int)out.size() < rows; p = p->pNext)
    {
        char buf[TWK_MAX_COLUMNS + 64];
        int n = TWKEditExpandTabs(p->pText, p->nLength, e->m_nTabSize, e->m_nLineEndLen, FALSE, buf, sizeof buf);
        if (n >= e->m_nLineEndLen && n > 0 && buf[n - e->m_nLineEndLen] == e->m_szLineEnd[0])
            n -= e->m_nLineEndLen;
        std::vector<BYTE> cls(n + 1);
        std::vector<ColourRun> runs;
        TWKEditClassifyText(e, p, buf, n, cls.data());
        for (int i = 0, j; i < n; i = j)
        {
            for (j = i + 1; j < n && cls[j] == cls[i]; j++)
                ;
            BYTE c = cls[i];
            COLORREF cr = (c & CLASS_COMMENT) ? e->m_crComment : (c & CLASS_QUOTE) ? e->m_crQuote
                        : (c & CLASS_KEYWORD) ? e->GetKeywordColor(std::string(buf + i, j - i).c_str())
                                              : e->m_crDefaultText;
            runs.push_back({i, j - i, cr});
        }
        out.push_back({std::string(buf, n), runs});
    }
    return out;
}

// The same runs joined as the window joins them: blanks show only the
// background, so a run of them goes with the run before it (at the row's
// start, with the one after it), and neighbours of one colour are one run.
std::vector<ColourRun> JoinedRuns(const std::string& text, const std::vector<ColourRun>& runs)
{
    std::vector<ColourRun> out;
    bool bBlankOnly = false;   // the last run so far holds blanks only
    for (const ColourRun& r : runs)
    {
        bool bBlank = text.find_first_not_of(' ', r.nStart) >= (size_t)(r.nStart + r.nCount);
        if (!out.empty() && (bBlank || r.cr == out.back().cr || bBlankOnly))
        {
            out.back().nCount += r.nCount;
            if (bBlankOnly && !bBlank)
                out.back().cr = r.cr;
            bBlankOnly = bBlankOnly && bBlank;
            continue;
        }
        out.push_back(r);
        bBlankOnly = bBlank;
    }
    return out;
}

std::string Source(int nLines, bool bEmptyLines)
{
    const char* ops[] = {"mov", "add", "sub", "jmp", "call", "ret", "nop", "cmp"};
    const char* regs[] = {"r0", "r1", "r2", "r3", "acc", "sp"};
    std::string s;
    s.reserve((size_t)nLines * 40);
    unsigned seed = 4711;
    for (int i = 0; i < nLines; i++)
    {
        seed = seed * 1103515245u + 12345u;
        unsigned r = seed >> 8;
        if (bEmptyLines && i % 20 == 19)
            ;   // the line ends below make it an empty line
        else if (i % 5000 == 100)
            s += "/* block comment";   // closed three lines down
        else if (i % 5000 == 103)
            s += "   end of block */\tnop";
        else if (i % 7 == 0)
            s += "label" + std::to_string(i) + ":\t; entry \"" + std::to_string(r % 1000) + "\"";
        else
        {
            s += '\t';
            s += ops[r % 8];
            s += '\t';
            s += regs[(r >> 4) % 6];
            s += ", ";
            s += (r & 1) ? "'x'" : regs[(r >> 8) % 6];
            if (r % 3 == 0)
                s += "\t\t; note \"quoted\" text";
        }
        if (i + 1 < nLines)
            s += "\r\n";
    }
    return s;
}

// One editing step on two windows: the edit at line 500,000 of the large
// text and the same edit on the small one, taken in turn (each window shown
// while its step runs), 20 times; the medians of each.
struct Pair
{
    double big, small;
};

struct EditBench
{
    TWKEditCtrl& big;
    TWKEditCtrl& small;
    int nBigLine, nSmallLine;

    Pair Run(const std::function<void(TWKEditCtrl&, int)>& prepare, const std::function<void(TWKEditCtrl&)>& step)
    {
        std::vector<double> t[2];
        for (int i = 0; i < 20; i++)
            for (int k = 0; k < 2; k++)
            {
                TWKEditCtrl& c = k ? small : big;
                (k ? big : small).ShowWindow(SW_HIDE);
                c.ShowWindow(SW_SHOW);
                c.UpdateWindow();
                prepare(c, k ? nSmallLine : nBigLine);
                auto t0 = std::chrono::steady_clock::now();
                step(c);
                ::GdiFlush();
                t[k].push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
                c.m_bUpdate = TRUE;
            }
        for (auto& v : t)
            std::sort(v.begin(), v.end());
        return {t[0][10], t[1][10]};
    }
};

void Send(TWKEditCtrl& c, UINT msg, WPARAM w)
{
    c.SendMessage(msg, w, 0);
    c.UpdateWindow();
}

void Place(TWKEditCtrl& c, int nLine, int nCol)
{
    c.GoToLineColumn(nLine, nCol);
    c.UpdateWindow();
}

} // namespace

int main()
{
    const int kLines = 1000000;
    char tmp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, tmp);
    std::string ini = std::string(tmp) + "vt_bench_window_keywords.ini";
    FILE* f = fopen(ini.c_str(), "wb");
    fputs("[Keywords]\r\nmov=1\r\nadd=1\r\nsub=1\r\njmp=2\r\ncall=2\r\nret=2\r\nnop=1\r\ncmp=1\r\n"
          "r0=3\r\nr1=3\r\nr2=3\r\nr3=3\r\nacc=3\r\nsp=3\r\n[Colors]\r\n1=0,0,255\r\n2=128,0,0\r\n3=0,128,128\r\n",
          f);
    fclose(f);

    CWnd host;
    host.CreateEx(0, AfxRegisterWndClass(0), "bench", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768, NULL, NULL);
    for (bool bEmpty : {true, false})
    {
        TWKEditCtrl ctrl;
        ctrl.Create(NULL, "TWKEdit", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1024, 768), &host, 1);
        TWKEdit* e = ctrl.GetEdit();
        std::string text = Source(kLines, bEmpty);
        TWKEdit::FreeLines(e->m_pFirstLine);
        e->m_pFirstLine = e->BuildLines(text.c_str());
        e->m_nLineCount = TWKEdit::RenumberLines(e->m_pFirstLine);
        e->m_strKeywordFile = ini.c_str();
        e->m_strKeywordsKey = "Keywords";
        strcpy(e->m_szCommentStart1, "/*");
        strcpy(e->m_szCommentEnd1, "*/");
        strcpy(e->m_szCommentStart2, ";");
        e->m_szCommentEnd2[0] = 0;
        e->m_strFontName = "Courier New";
        e->m_nFontSize = 10;
        e->m_bChroma = e->LoadKeywords();
        ctrl.InitView();
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
        int rows = ctrl.m_rcClient.bottom / ctrl.m_nLineHeight + 1;
        printf("%s: lines %d, colouring %s, %d rows\n", bEmpty ? "empty line every 20" : "no empty lines",
               e->m_nLineCount, e->m_bChroma ? "on" : "MISSING", rows);

        auto paint = [&] {
            ctrl.Invalidate(FALSE);
            ctrl.UpdateWindow();
        };
        // The floor: the drawing the display must do anyway. The same rows'
        // colour runs, each one ExtTextOut in its colours, the same font and
        // the same gutter, the rest of each row cleared; the runs themselves
        // are worked out beforehand.
        std::vector<std::pair<std::string, std::vector<ColourRun>>> runs;
        auto drawRows = [&](auto&& drawText) {
            HDC hdc = ::GetDC(ctrl.m_hWnd);
            HGDIOBJ old = ::SelectObject(hdc, ctrl.GetFont()->GetSafeHandle());
            ::SetBkColor(hdc, e->m_crBackground);
            int left = ctrl.m_nTextLeft, h = ctrl.m_nLineHeight;
            for (int r = 0; r < rows; r++)
            {
                RECT rcGutter = {0, r * h, left, (r + 1) * h};
                ::FillRect(hdc, &rcGutter, (HBRUSH)ctrl.m_brGutter.GetSafeHandle());
                RECT rc = {left, r * h, 1024, (r + 1) * h};
                drawText(hdc, r, rc);
            }
            ::SelectObject(hdc, old);
            ::ReleaseDC(ctrl.m_hWnd, hdc);
        };
        const int cw = ctrl.m_nCharWidth;
        auto floor = [&] {
            drawRows([&](HDC hdc, int r, RECT& rc) {
                if (r < (int)runs.size())
                {
                    const std::string& text = runs[r].first;
                    for (const ColourRun& run : runs[r].second)
                    {
                        ::SetTextColor(hdc, run.cr);
                        ::ExtTextOutA(hdc, rc.left + run.nStart * cw, rc.top, 0, NULL, text.data() + run.nStart,
                                      run.nCount, NULL);
                    }
                    rc.left += (int)text.size() * cw;
                }
                ::ExtTextOutA(hdc, rc.left, rc.top, ETO_OPAQUE, &rc, NULL, 0, NULL);
            });
        };
        // The same drawing with the runs joined as the window joins them,
        // each run opaque to the row's height and the last one to the right
        // edge, as the window draws them: the floor of the window's own way.
        std::vector<std::vector<ColourRun>> joined;
        auto floorJoined = [&] {
            drawRows([&](HDC hdc, int r, RECT& rc) {
                if (r >= (int)joined.size() || joined[r].empty())
                {
                    ::ExtTextOutA(hdc, rc.left, rc.top, ETO_OPAQUE, &rc, NULL, 0, NULL);
                    return;
                }
                const std::vector<ColourRun>& row = joined[r];
                const int left = rc.left;
                for (size_t k = 0; k < row.size(); k++)
                {
                    rc.right = k + 1 < row.size() ? left + row[k + 1].nStart * cw : 1024;
                    ::SetTextColor(hdc, row[k].cr);
                    ::ExtTextOutA(hdc, left + row[k].nStart * cw, rc.top, ETO_OPAQUE, &rc,
                                  runs[r].first.data() + row[k].nStart, row[k].nCount, NULL);
                    rc.left = rc.right;
                }
            });
        };
        double dFloor = 0;
        const char* where[] = {"top", "middle", "end"};
        int tops[] = {1, kLines / 2, kLines - rows + 2};
        for (int i = 0; i < 3; i++)
        {
            ctrl.SetTopLine(tops[i], FALSE);
            runs = ColourRuns(e, ctrl.m_pTopLine, rows);
            size_t nRuns = 0, nJoined = 0;
            joined.clear();
            for (auto& row : runs)
            {
                nRuns += row.second.size();
                joined.push_back(JoinedRuns(row.first, row.second));
                nJoined += joined.back().size();
            }
            // Each floor right after a paint: the first drawing after a paint
            // waits for the display to take the paint's pixels.
            std::vector<double> pf = MedianSet(20, {paint, floor, paint, floorJoined});
            double dPaint = pf[0], dFl = pf[1];
            dFloor = std::max(dFloor, dFl);
            // Where the time goes: the comment walk alone for the same rows.
            double dWalkRows = Median(20, [] {}, [&] {
                int pair = 0;
                TWKEditLine* p = ctrl.m_pTopLine;
                for (int r = 0; r < rows && p; r++, p = p->pNext)
                    e->IsInComment(p, &pair);
            });
            // And the window's paint with colouring off: what the paint costs
            // beyond the runs' drawing without working out any colour.
            e->m_bChroma = FALSE;
            double dPlain = Median(20, [] {}, paint);
            e->m_bChroma = TRUE;
            printf("  full paint at the %-6s %8.2f ms   floor (%zu runs) %6.2f ms   paint/floor %5.2f (goal 1.5)   "
                   "runs joined (%zu) %6.2f ms   paint/that %5.2f   uncoloured paint %6.2f ms   comment walk %6.2f ms\n",
                   where[i], dPaint, nRuns, dFl, dPaint / dFl, nJoined, pf[3], dPaint / pf[3], dPlain, dWalkRows);
        }
        // What no drawing of the window's own avoids: the paint machinery
        // with nothing drawn, and a one-pixel paint right after the floor,
        // which is when the floor's pixels are handed on to the display.
        {
            TWKEditLine* pTop = ctrl.m_pTopLine;
            ctrl.m_pTopLine = NULL;   // the window then draws nothing
            auto tiny = [&] {
                RECT rc = {0, 0, 1, 1};
                ctrl.InvalidateRect(&rc, FALSE);
                ctrl.UpdateWindow();
            };
            double dEmpty = Median(20, [] {}, tiny);
            double dAfterFloor = Median(20, floor, tiny);
            ctrl.m_pTopLine = pTop;
            printf("  paint drawing nothing %8.2f ms   the same right after the floor %6.2f ms\n", dEmpty, dAfterFloor);
        }
        double dWalk = Median(20, [] {}, [&] {
            volatile int n = 0;
            for (TWKEditLine* p = e->GetFirstLine(); p; p = p->pNext)
                n++;
        });
        SCROLLINFO si = {sizeof si, SIF_RANGE};
        ::GetScrollInfo(ctrl.m_hWnd, SB_VERT, &si);
        double dThumb = Median(20, [&] { ctrl.SetTopLine(1, FALSE); },
                               [&] { ctrl.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, si.nMax), 0); });
        // The same step without its paint: the walk to the thumb's line.
        ctrl.m_bUpdate = FALSE;
        double dThumbOnly = Median(20, [&] { ctrl.SetTopLine(1, FALSE); },
                                   [&] { ctrl.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, si.nMax), 0); });
        ctrl.m_bUpdate = TRUE;
        double dEndPaint = Median(20, [] {}, paint);
        printf("  walk over the lines   %8.2f ms\n", dWalk);
        printf("  thumb step unpainted  %8.2f ms   paint there %6.2f ms\n", dThumbOnly, dEndPaint);
        printf("  thumb to the end      %8.2f ms   thumb/(walk+floor) %5.1f\n", dThumb, dThumb / (dWalk + dFloor));
        if (bEmpty)
        {
            // Editing, against the same steps on a 100-line text of the same lines.
            TWKEditCtrl small;
            small.Create(NULL, "TWKEdit", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1024, 768), &host, 2);
            TWKEdit* es = small.GetEdit();
            std::string head = Source(100, bEmpty);
            TWKEdit::FreeLines(es->m_pFirstLine);
            es->m_pFirstLine = es->BuildLines(head.c_str());
            es->m_nLineCount = TWKEdit::RenumberLines(es->m_pFirstLine);
            es->m_strKeywordFile = e->m_strKeywordFile;
            es->m_strKeywordsKey = e->m_strKeywordsKey;
            strcpy(es->m_szCommentStart1, "/*");
            strcpy(es->m_szCommentEnd1, "*/");
            strcpy(es->m_szCommentStart2, ";");
            es->m_szCommentEnd2[0] = 0;
            es->m_strFontName = e->m_strFontName;
            es->m_nFontSize = e->m_nFontSize;
            es->m_bChroma = es->LoadKeywords();
            small.InitView();
            small.ShowWindow(SW_HIDE);
            EditBench eb{ctrl, small, kLines / 2, 50};
            Pair ch = eb.Run([](TWKEditCtrl& c, int n) { Place(c, n, 5); }, [](TWKEditCtrl& c) { Send(c, WM_CHAR, 'x'); });
            Pair enter = eb.Run([](TWKEditCtrl& c, int n) { Place(c, n, 5); },
                                [](TWKEditCtrl& c) { Send(c, WM_CHAR, '\r'); });
            Pair join = eb.Run([](TWKEditCtrl& c, int n) { Place(c, n, 0); },
                               [](TWKEditCtrl& c) { Send(c, WM_COMMAND, ID_TWK_BACKSPACE); });
            Pair undo = eb.Run(
                [](TWKEditCtrl& c, int n) {
                    Place(c, n, 5);
                    for (char k : std::string("abcde"))
                        Send(c, WM_CHAR, (BYTE)k);
                },
                [](TWKEditCtrl& c) { Send(c, WM_COMMAND, ID_EDIT_UNDO); });
            Pair bottom = eb.Run([](TWKEditCtrl& c, int) { Send(c, WM_COMMAND, ID_TWK_TOPOFFILE); },
                                 [](TWKEditCtrl& c) { Send(c, WM_COMMAND, ID_TWK_BOTTOMOFFILE); });
            // Without the scroll bars: the line work, the renumbering and the paint.
            Pair enterQuiet = eb.Run([](TWKEditCtrl& c, int n) { Place(c, n, 5); c.m_bUpdate = FALSE; },
                                     [](TWKEditCtrl& c) { Send(c, WM_CHAR, '\r'); });
            Pair joinQuiet = eb.Run([](TWKEditCtrl& c, int n) { Place(c, n, 0); c.m_bUpdate = FALSE; },
                                    [](TWKEditCtrl& c) { c.Backspace(TRUE, TRUE); c.UpdateWindow(); });
            small.DestroyWindow();
            ctrl.ShowWindow(SW_SHOW);
            // The renumbering a change of lines needs, against a walk over them.
            std::pair<double, double> rw = MedianPair(20, [&] { TWKEdit::RenumberLines(e->GetFirstLine()); }, [&] {
                volatile int n = 0;
                for (TWKEditLine* p = e->GetFirstLine(); p; p = p->pNext)
                    n++;
            });
            struct Row { const char* name; Pair p; double goal; };
            for (const Row& r : {Row{"typed character", ch, 0}, Row{"Enter", enter, 0}, Row{"Backspace join", join, 0},
                                 Row{"Undo of five characters", undo, 2}, Row{"Bottom of File", bottom, 0},
                                 Row{"Enter, no scroll bars", enterQuiet, 2}, Row{"join, no scroll bars", joinQuiet, 2}})
            {
                printf("  %-24s %8.2f ms   100 lines %6.2f ms   ratio %5.2f", r.name, r.p.big, r.p.small,
                       r.p.big / r.p.small);
                if (r.goal > 0)
                    printf(" (goal %.0f)   beyond the 100-line figure: %5.2f walks", r.goal,
                           (r.p.big - r.p.small) / rw.second);
                printf("\n");
            }
            printf("  renumbering all lines  %8.2f ms   walk %6.2f ms   renumbering/walk %5.2f (goal 1.5)\n", rw.first,
                   rw.second, rw.first / rw.second);
        }
        ctrl.DestroyWindow();
    }

    // Mark All and Replace All against the plain search they are made of.
    {
        TWKEditCtrl ctrl;
        ctrl.Create(NULL, "TWKEdit", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1024, 768), &host, 1);
        TWKEdit* e = ctrl.GetEdit();
        std::string text;
        text.reserve((size_t)kLines * 24);
        for (int i = 0; i < kLines; i++)
        {
            text += i % 10 == 5 ? "\tmov\tneedle, r1" : "\tadd\tr0, r2";
            if (i + 1 < kLines)
                text += "\r\n";
        }
        auto fresh = [&] {
            TWKEdit::FreeLines(e->m_pFirstLine);
            e->m_pFirstLine = e->BuildLines(text.c_str());
            e->m_nLineCount = TWKEdit::RenumberLines(e->m_pFirstLine);
            e->m_nBookmarkCount = 0;
            e->ResetUndo();
            ctrl.InitView();
        };
        fresh();
        int nFound = 0;
        double dSearch = Median(5, [] {}, [&] {
            TWKEditSearchInfo info = {};
            info.dwFlags = SEARCH_FORWARD | SEARCH_MATCHCASE;
            info.pszFindText = "needle";
            TWKEditPos pos = {e->GetFirstLine(), 0}, none = {NULL, 0};
            nFound = 0;
            while (e->Search(&pos, none, &info))
                nFound++, pos.nOffset += info.nMatchLen;
        });
        int nMarked = 0;
        double dMark = Median(5, [&] { fresh(); }, [&] {
            TWKEditSearchInfo info = {};
            info.dwFlags = SEARCH_MATCHCASE;
            info.pszFindText = "needle";
            ctrl.MarkAll(&info);
            nMarked = e->m_nBookmarkCount;
        });
        int nReplaced = 0;
        double dReplace = Median(5, [&] { fresh(); },
                                 [&] { nReplaced = ctrl.ReplaceAll("needle", "pin", SEARCH_MATCHCASE); });
        // What the platform takes of it: the one move of the scroll bar's
        // thumb at the end (EnsureCaretVisible, drawn at once).
        double dBar = Median(5, [&] { ctrl.SetScrollPos(SB_VERT, 0, FALSE); },
                             [&] { ctrl.SetScrollPos(SB_VERT, ctrl.m_nTopLine - 1, TRUE); });
        printf("find on every tenth line: %d matches, %d marked, %d replaced\n", nFound, nMarked, nReplaced);
        printf("  plain search          %8.2f ms\n", dSearch);
        printf("  Mark All              %8.2f ms   Mark All/search %5.2f\n", dMark, dMark / dSearch);
        printf("  Replace All           %8.2f ms   Replace All/search %5.2f (goal 2)\n", dReplace, dReplace / dSearch);
        printf("  of which the scroll bar's move %5.2f ms   the rest/search %5.2f\n", dBar, (dReplace - dBar) / dSearch);
        ctrl.DestroyWindow();
    }
    host.DestroyWindow();
    ::DeleteFileA(ini.c_str());
    return 0;
}
