// Painting: tab expansion, the selected columns of a line, coloured line
// drawing and the paint handler's rows, gutter and marks.
#include "tests/editor/window/window_fixture.h"
#include "editor/store/TWKEditColour.h"
#include <map>
#include <set>
#include <vector>

namespace {

const COLORREF kKeyword = RGB(0, 0, 255), kJump = RGB(128, 0, 128), kComment = RGB(0, 128, 0), kQuote = RGB(255, 0, 0);
const COLORREF kText = RGB(0, 0, 0), kBack = RGB(255, 255, 255);

// Colouring from a keyword file and comment delimiters of its own section.
void ConfigureColouring(TWKEdit* pEdit, const vt::TempDir& dir)
{
    static int s_n = 0;
    std::string section = "Editor\\paint" + std::to_string(++s_n) + " Files";
    std::string keywords = dir.Write("kw.ini", "[Keywords]\r\nmov=1\r\nadd=1\r\njmp=2\r\n[Colors]\r\n1=0,0,255\r\n2=128,0,128\r\n");
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileString(section.c_str(), "Keywords", keywords.c_str());
    pApp->WriteProfileInt(section.c_str(), "Chroma", 1);
    pApp->WriteProfileString(section.c_str(), "Comment Start 1", "/*");
    pApp->WriteProfileString(section.c_str(), "Comment End 1", "*/");
    pApp->WriteProfileString(section.c_str(), "Comment Start 2", ";");
    pEdit->SetProfileSection(section.c_str());
    pEdit->LoadSettings();
}

TEST(WindowPaint, ExpandTabsFollowsTheTabStopsAndStopsAtTheBuffer)
{
    TWKEditCtrl ctrl;
    ctrl.GetEdit()->m_bShowTabs = TRUE;
    struct Case { const char* what; std::string source; std::string want; } cases[] = {
        {"tab at column 0", "\tx", "'   x"},
        {"tab at column 2", "ab\tx", "ab' x"},
        {"no tab: copied with the line end", "abc\r\n", "abc\r\n"},
        {"CR LF restarts the column", "a\r\n\tb", "a\r\n'   b"},
    };
    for (const Case& c : cases)
    {
        std::vector<char> buf(TWK_LINE_BUFFER, '#');
        int n = ctrl.ExpandTabs(c.source.data(), buf.data(), (int)c.source.size(), 4, 2);
        EXPECT_EQ((int)c.want.size(), n) << c.what;
        EXPECT_EQ(c.want, std::string(buf.data())) << c.what;
    }

    char untouched[4] = "###";
    EXPECT_EQ(0, ctrl.ExpandTabs("abc", untouched, 0, 4, 2));
    EXPECT_STREQ("###", untouched) << "length 0 writes nothing";

    // A line of 20,000 columns: the expansion ends at the buffer.
    for (const char* fill : {"x", "\t"})
    {
        std::string wide(fill[0] == 'x' ? 20000 : 5000, fill[0]);
        std::vector<char> buf(TWK_LINE_BUFFER + 64, '#');
        EXPECT_EQ(TWK_MAX_COLUMNS, ctrl.ExpandTabs(wide.data(), buf.data(), (int)wide.size(), 4, 2)) << fill;
        EXPECT_EQ('\0', buf[TWK_MAX_COLUMNS]);
        EXPECT_EQ('#', buf[TWK_MAX_COLUMNS + 1]) << "nothing written past the buffer";
    }
}

TEST(WindowPaint, GetLineSelectionGivesTheSelectedColumnsOfALine)
{
    TWKEditCtrl ctrl;
    vt::CtrlHost host(&ctrl);
    host.SetText("zero\r\none one\r\ntwo\r\nthree\r\nfour");
    TWKEdit* e = ctrl.GetEdit();
    auto L = [&](int n) { return e->GetLine(n); };
    struct Case {
        const char* what;
        int mode, startLine, startCol, endLine, endCol;
        int line, len;
        int wantResult, wantStart, wantCount;
    } cases[] = {
        {"stream: start line", 1, 2, 4, 4, 2, 2, 7, 1, 4, 3},
        {"stream: end line", 1, 2, 4, 4, 2, 4, 5, 1, 0, 2},
        {"stream: inner line", 1, 2, 4, 4, 2, 3, 3, 1, 0, 3},
        {"stream: outside line", 1, 2, 4, 4, 2, 5, 4, 0, 0, 0},
        {"stream: above the selection", 1, 2, 4, 4, 2, 1, 4, 0, 0, 0},
        {"stream: one line, cut to its length", 1, 2, 3, 2, 30, 2, 7, 1, 3, 4},
        {"column: past a short line's end", 2, 2, 5, 4, 9, 3, 3, 1, 5, 4},
        {"column: ends given bottom first", 2, 4, 9, 2, 5, 3, 3, 1, 5, 4},
        {"column: outside", 2, 2, 5, 4, 9, 5, 4, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        ctrl.m_nSelMode = c.mode;
        ctrl.m_pSelStartLine = L(c.startLine);
        ctrl.m_nSelStartCol = c.startCol;
        ctrl.m_pSelEndLine = L(c.endLine);
        ctrl.m_nSelEndCol = c.endCol;
        int start = 0, count = 0;
        EXPECT_EQ(c.wantResult, ctrl.GetLineSelection(L(c.line), c.len, &start, &count)) << c.what;
        if (c.wantResult)
        {
            EXPECT_EQ(c.wantStart, start) << c.what;
            EXPECT_EQ(c.wantCount, count) << c.what;
        }
    }
    ctrl.m_pSelEndLine = NULL;
    EXPECT_EQ(0, ctrl.GetLineSelection(L(2), 7, NULL, NULL)) << "a NULL end selects nothing";
    ctrl.m_pSelStartLine = NULL;
}

// The ink colour of each character cell ('.' for none) of one line drawn
// from column nFirstCol. With bRow the line is drawn with its row rectangle
// (3 pixels taller than the font) over stale pixels: "!" is added when the
// row keeps a stale pixel or one outside it changed.
std::string CellColours(const std::map<COLORREF, char>& names, TWKEdit* pEdit, const char* text, int nFirstCol = 0,
                        bool bRow = false)
{
    const COLORREF kStale = RGB(1, 2, 3);
    const int cx = 800, cy = 40;
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC hdc = ::CreateCompatibleDC(NULL);
    HBITMAP hbm = ::CreateDIBSection(hdc, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ oldBmp = ::SelectObject(hdc, hbm);
    LOGFONTA lf = {};
    lf.lfHeight = -16;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpyA(lf.lfFaceName, "Courier New");
    HFONT font = ::CreateFontIndirectA(&lf);
    HGDIOBJ oldFont = ::SelectObject(hdc, font);
    ::SetBkColor(hdc, bRow ? kStale : kBack);
    RECT rc = {0, 0, cx, cy};
    ::ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
    ::SetBkColor(hdc, kBack);
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(hdc, &tm);
    const RECT rcRow = {0, 0, cx, tm.tmHeight + 3};

    vt::SetStoreText(pEdit, text);
    TWKEditLine* pLine = pEdit->GetFirstLine();
    CDC dc;
    dc.Attach(hdc);
    char buf[TWK_LINE_BUFFER];
    int len = (int)strlen(text);
    memcpy(buf, text, len + 1);
    EXPECT_EQ(1, TWKEditDrawLineText(pEdit, pLine, buf, len, nFirstCol, 200, TRUE, &dc, 0, 0, bRow ? &rcRow : NULL));
    dc.Detach();

    std::string out;
    for (int i = 0; i < len - nFirstCol; i++)
    {
        char name = '.';
        for (int x = i * tm.tmAveCharWidth; x < (i + 1) * tm.tmAveCharWidth && name == '.'; x++)
            for (int y = 0; y < tm.tmHeight && name == '.'; y++)
            {
                COLORREF c = ::GetPixel(hdc, x, y);
                if (c != kBack)
                {
                    auto it = names.find(c);
                    name = it == names.end() ? '?' : it->second;
                }
            }
        out += name;
    }
    if (bRow)
    {
        bool bFault = false;
        for (int y = 0; y < cy && !bFault; y++)
            for (int x = 0; x < cx && !bFault; x++)
                bFault = (::GetPixel(hdc, x, y) == kStale) == (y < rcRow.bottom);
        if (bFault)
            out += "!";
    }
    ::SelectObject(hdc, oldFont);
    ::SelectObject(hdc, oldBmp);
    ::DeleteObject(font);
    ::DeleteObject(hbm);
    ::DeleteDC(hdc);
    return out;
}

TEST(WindowPaint, DrawLineTextColoursKeywordsCommentsAndQuotes)
{
    vt::TempDir dir;
    TWKEdit edit;
    ConfigureColouring(&edit, dir);
    ASSERT_EQ(kKeyword, RGB(0, 0, 255));
    std::map<COLORREF, char> names = {{kKeyword, 'k'}, {kJump, 'j'}, {kComment, 'c'}, {kQuote, 'q'}, {kText, 't'}};
    struct Case { const char* what; const char* text; int first; const char* want; } cases[] = {
        {"keyword", "mov r1", 0, "kkk.tt"},
        {"keyword in a comment", "x /* mov */", 0, "t.cc.ccc.cc"},
        {"keyword in quotes", "\"mov\" x", 0, "tqqqt.t"},
        {"line comment", "add ; mov", 0, "kkk.c.ccc"},
        {"unterminated quote", "\"mov x", 0, "tkkk.t"},
        // The store finds no opener on a line once one lies inside quotes.
        {"comment opener inside quotes", "\"a/*b\" c /* x */", 0, "tqqqqt.t.tt.t.tt"},
        // Blanks between runs, which the drawing may join to either side.
        {"blanks between keywords of two colours", "mov  jmp", 0, "kkk..jjj"},
        {"blanks between keywords of one colour", "mov  add", 0, "kkk..kkk"},
        {"blanks before the first keyword", "  jmp x", 0, "..jjj.t"},
        {"a line ending in a keyword", "x, jmp", 0, "tt.jjj"},
        {"blanks and a keyword in a comment", "x ; jmp  y", 0, "t.c.ccc..c"},
        {"scrolled into the blanks", "mov  jmp", 2, "k..jjj"},
        {"scrolled past the text", "mov", 5, ""},
    };
    for (bool bRow : {false, true})
        for (const Case& c : cases)
            EXPECT_EQ(c.want, CellColours(names, &edit, c.text, c.first, bRow))
                << c.what << ": " << c.text << (bRow ? ", drawn with its row" : "");
}

// The comment state of every line from pFrom down: 10 * in-comment + pair.
std::vector<int> CommentStates(TWKEdit& e, TWKEditLine* pFrom)
{
    std::vector<int> out;
    for (TWKEditLine* p = pFrom; p; p = p->pNext)
    {
        int pair = 0;
        int in = e.IsInComment(p, &pair);
        out.push_back(10 * in + (in ? pair : 0));
    }
    return out;
}

TEST(WindowPaint, ThePaintsCommentMemoAnswersAsTheWalkAfterRandomEdits)
{
    vt::TempDir dir;
    TWKEdit e;
    ConfigureColouring(&e, dir);
    const char* pieces[] = {"/*", "*/", ";", "\"", "'", "x", " ", "mov", "\\", "/", "*"};
    unsigned seed = 2024;
    auto rnd = [&](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    std::string text;
    for (int i = 0; i < 60; i++)
    {
        for (int k = rnd(6); k > 0; k--)
            text += pieces[rnd(11)];
        text += i < 59 ? "\r\n" : "";
    }
    vt::SetStoreText(&e, text);
    int checked = 0;
    for (int round = 0; round < 400; round++)
    {
        int lines = TWKEdit::RenumberLines(e.GetFirstLine());
        TWKEditLine* p = e.GetLine(1 + (int)rnd(lines));
        TWKEditPos pos = {p, (int)rnd(e.VisibleEnd(p) + 1)};
        switch (rnd(4))
        {
        case 0:
        case 1:
            e.InsertString(pos, pieces[rnd(11)], TRUE, FALSE);
            break;
        case 2:
            if (pos.nOffset < e.VisibleEnd(p))
                e.DeleteChar(pos, FALSE);
            else if (p->pNext)
                e.JoinLine(pos, FALSE);
            break;
        default:
            e.SplitLine(pos, FALSE);
            break;
        }
        std::vector<int> walk = CommentStates(e, e.GetFirstLine());
        TWKEditLine* pMiddle = e.GetLine(1 + (int)rnd((unsigned)walk.size()));
        int middle = 0;
        for (TWKEditLine* q = e.GetFirstLine(); q != pMiddle; q = q->pNext)
            middle++;
        {
            TWKEditCommentMemo memo;
            ASSERT_EQ(walk, CommentStates(e, e.GetFirstLine())) << "round " << round;
        }
        {
            TWKEditCommentMemo memo;   // a paint starting lower down
            ASSERT_EQ(std::vector<int>(walk.begin() + middle, walk.end()), CommentStates(e, pMiddle)) << round;
        }
        for (int w : walk)
            checked += w != 0;
    }
    EXPECT_GT(checked, 400) << "the edits made comments to check";
}

// Pixels of the control as painted on its window.
struct Painted
{
    HWND hWnd;
    HDC hdc;
    explicit Painted(CWnd& w) : hWnd(w.m_hWnd)
    {
        w.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        hdc = ::GetDC(hWnd);
    }
    ~Painted() { ::ReleaseDC(hWnd, hdc); }
    COLORREF At(int x, int y) const { return ::GetPixel(hdc, x, y); }
    std::set<COLORREF> In(int left, int top, int right, int bottom) const
    {
        std::set<COLORREF> s;
        for (int y = top; y < bottom; y++)
            for (int x = left; x < right; x++)
                s.insert(At(x, y));
        return s;
    }
};

TEST(WindowPaint, PaintDrawsTheGutterPatternMarksAndBackgroundRows)
{
    TWKEditCtrl ctrl;
    vt::CtrlHost host(&ctrl);
    host.SetText("abc\r\nbookmarked\r\nlast");
    ctrl.GetEdit()->GetLine(2)->dwFlags |= LINE_BOOKMARK;
    const int h = ctrl.m_nLineHeight, g = ctrl.m_nTextLeft;
    ctrl.GetEdit()->m_crBackground = RGB(255, 255, 200);
    const COLORREF gutter = ::GetSysColor(COLOR_SCROLLBAR), back = ctrl.GetEdit()->m_crBackground;
    ASSERT_NE(gutter, back);
    {
        Painted p(ctrl);
        // The checkerboard: neighbours differ, diagonals agree, two colours.
        for (int row : {0, 4})
        {
            int y = row * h + 2;
            EXPECT_NE(p.At(2, y), p.At(3, y));
            EXPECT_EQ(p.At(2, y), p.At(3, y + 1));
            EXPECT_EQ((std::set<COLORREF>{gutter, back}), p.In(0, row * h, 4, row * h + 4)) << "row " << row;
        }
        // The bookmark dot: blue at the cell's middle, none in other cells.
        EXPECT_EQ(RGB(0, 0, 255), p.At(g / 2, h + h / 2));
        EXPECT_EQ(0u, p.In(0, 0, g, h).count(RGB(0, 0, 255)));
        EXPECT_EQ(0u, p.In(g, h, ctrl.m_rcClient.right, 2 * h).count(RGB(0, 0, 255)));
        // Rows after the last line: pattern, background, no marks.
        EXPECT_EQ((std::set<COLORREF>{gutter, back}), p.In(0, 5 * h, g, 6 * h));
        EXPECT_EQ((std::set<COLORREF>{back}), p.In(g, 5 * h, ctrl.m_rcClient.right, 6 * h));
    }
    // Scrolled past the end of "abc": the row shows background only.
    ctrl.m_nFirstCol = 5;
    ctrl.m_bSelection = TRUE;
    ctrl.m_pSelStartLine = ctrl.m_pSelEndLine = ctrl.GetEdit()->GetFirstLine();
    ctrl.m_nSelEndCol = 3;
    ctrl.GetEdit()->m_pFocusWnd = &ctrl;
    {
        Painted p(ctrl);
        EXPECT_EQ((std::set<COLORREF>{back}), p.In(g, 0, ctrl.m_rcClient.right, h));
    }
    ctrl.m_bSelection = FALSE;
    ctrl.m_pSelStartLine = ctrl.m_pSelEndLine = NULL;
}

} // namespace
