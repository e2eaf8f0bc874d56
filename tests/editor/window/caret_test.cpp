// Caret movement commands, sent as WM_COMMAND to a real control: the column
// rules, the paging and word steps, going to a line, and the scroll
// announcements each command makes.
#include "tests/editor/window/window_fixture.h"
#include <vector>

namespace {

// Counts the scroll announcements.
class CaretCtrl : public vt::TestCtrl
{
public:
    int announced = 0;
    void UpdateViews(CWnd* pSender, LPARAM lHint, CObject* pHint) override
    {
        if (lHint == TWK_HINT_SCROLL)
            announced++;
        TWKEditCtrl::UpdateViews(pSender, lHint, pHint);
    }
};

// A control whose text area shows exactly `rows` whole rows.
struct CaretHost
{
    CaretCtrl ctrl;
    vt::CtrlHost host{&ctrl, 400, 300};

    CaretHost(const std::string& text, int rows, int nLineEndType = 0)
    {
        ctrl.GetEdit()->SetLineEndType(nLineEndType);
        ctrl.GetEdit()->SetTabSize(4);
        host.SetText(text);
        CRect rcWnd, rcClient;
        ctrl.GetWindowRect(&rcWnd);
        ctrl.GetClientRect(&rcClient);
        ctrl.MoveWindow(0, 0, rcWnd.Width(), rows * ctrl.m_nLineHeight + rcWnd.Height() - rcClient.Height());
        vt::PumpMessages();
    }
    void Send(UINT nID, int times = 1)
    {
        for (int i = 0; i < times; i++)
            ctrl.SendMessage(WM_COMMAND, nID, 0);
    }
};

struct Step { UINT id; int line; int col; int announced; };

// Runs steps from a start, checking caret, node and the announcements of each.
void RunSteps(CaretHost& h, const char* name, int line, int col, std::initializer_list<Step> steps)
{
    h.ctrl.PutCaret(line, col);
    int i = 0;
    for (const Step& s : steps)
    {
        h.ctrl.announced = 0;
        h.Send(s.id);
        EXPECT_EQ(s.line, h.ctrl.m_nCaretLine) << name << " step " << i;
        EXPECT_EQ(s.col, h.ctrl.m_nCaretCol) << name << " step " << i;
        EXPECT_EQ(h.ctrl.GetEdit()->GetLine(s.line), h.ctrl.m_pCaretLine) << name << " step " << i;
        EXPECT_EQ(s.announced, h.ctrl.announced) << name << " step " << i;
        i++;
    }
}

TEST(Caret, ColumnRulesOfCrLfLines)
{
    CaretHost h("abcdef\r\nab\r\nabcdef\r\n\tx\r\nabcdefgh", 20);
    RunSteps(h, "no goal column", 1, 5, {{ID_TWK_DOWN, 2, 2, 1}, {ID_TWK_DOWN, 3, 2, 1}});
    RunSteps(h, "left wraps to the previous line's end", 2, 0, {{ID_TWK_LEFT, 1, 6, 1}});
    RunSteps(h, "right at the text end wraps", 1, 6, {{ID_TWK_RIGHT, 2, 0, 2}});
    RunSteps(h, "tab steps", 4, 0, {{ID_TWK_RIGHT, 4, 4, 1}, {ID_TWK_LEFT, 4, 0, 1}});
    RunSteps(h, "down onto a tab snaps to its start", 5, 2, {{ID_TWK_UP, 4, 0, 1}});
    RunSteps(h, "edges", 1, 0, {{ID_TWK_UP, 1, 0, 0}, {ID_TWK_LEFT, 1, 0, 0}});
    RunSteps(h, "last line without a line end", 5, 8,
             {{ID_TWK_RIGHT, 5, 9, 1}, {ID_TWK_RIGHT, 5, 10, 1}, {ID_TWK_END, 5, 8, 0}, {ID_TWK_DOWN, 5, 8, 0}});
    RunSteps(h, "home and end", 3, 3, {{ID_TWK_HOME, 3, 0, 0}, {ID_TWK_END, 3, 6, 0}});
}

TEST(Caret, LfLinesLetTheCaretStandRightOfTheText)
{
    CaretHost h("abcdef\nab\nabcdef\n", 20, 2);
    RunSteps(h, "down keeps the column", 1, 5, {{ID_TWK_DOWN, 2, 5, 1}, {ID_TWK_RIGHT, 2, 6, 1}});
    h.ctrl.PutCaret(2, TWK_MAX_COLUMNS - 1);
    h.Send(ID_TWK_RIGHT, 3);
    EXPECT_EQ(TWK_MAX_COLUMNS, h.ctrl.m_nCaretCol);
    EXPECT_EQ(2, h.ctrl.m_nCaretLine);
}

// A last line without a line end is all text, however short: Right goes past
// its end and Down keeps the column, in CR LF and LF stores alike.
TEST(Caret, ShortLastLineWithoutALineEnd)
{
    CaretHost h("", 20);
    for (int type : { TWK_LINEEND_CRLF, TWK_LINEEND_LF })
        for (const char* last : { "a", "ab", "abc" })
        {
            std::string eol = type == TWK_LINEEND_CRLF ? "\r\n" : "\n";
            h.ctrl.GetEdit()->SetLineEndType(type);
            h.host.SetText("abcdef" + eol + last);
            ASSERT_EQ(h.ctrl.GetEdit()->GetLineEndType(), type);
            int n = (int)strlen(last);
            std::string name = std::string(last) + (type == TWK_LINEEND_CRLF ? " crlf" : " lf");
            RunSteps(h, (name + " right").c_str(), 2, n, {{ID_TWK_RIGHT, 2, n + 1, 1}});
            RunSteps(h, (name + " down").c_str(), 1, n, {{ID_TWK_DOWN, 2, n, 1}});
        }
}

TEST(Caret, WordSteps)
{
    CaretHost h("x\r\n    foo\r\nfoo bar\r\nq a.b_c d", 20);
    RunSteps(h, "word right from a word and from a blank", 3, 0, {{ID_TWK_WORDRIGHT, 3, 4, 0}});
    RunSteps(h, "word right from the blank", 3, 3, {{ID_TWK_WORDRIGHT, 3, 4, 0}});
    RunSteps(h, "word right past the end goes down", 3, 4, {{ID_TWK_WORDRIGHT, 4, 0, 1}});
    RunSteps(h, "a.b_c is one word", 4, 2, {{ID_TWK_WORDRIGHT, 4, 8, 0}, {ID_TWK_WORDLEFT, 4, 2, 0}});
    RunSteps(h, "word right in the last word of the last line stays", 4, 8, {{ID_TWK_WORDRIGHT, 4, 8, 0}});
    RunSteps(h, "word right right of the text comes back", 4, 12, {{ID_TWK_WORDRIGHT, 4, 9, 0}});
    RunSteps(h, "word left over leading blanks", 2, 4, {{ID_TWK_WORDLEFT, 1, 1, 1}});
    RunSteps(h, "word left to the line start", 3, 4, {{ID_TWK_WORDLEFT, 3, 0, 0}});
    RunSteps(h, "word left at column 0 goes up", 3, 0, {{ID_TWK_WORDLEFT, 2, 4, 1}});
}

TEST(Caret, PagesAndTextEnds)
{
    CaretHost h(vt::NumberedLines(100), 20);
    ASSERT_EQ(20, h.ctrl.Rows());
    struct Case { const char* name; int top; int line; UINT id; int wantTop; int wantLine; int wantCol; int announced; } cases[] = {
        {"page down near the end", 90, 95, ID_TWK_PAGEDOWN, 95, 100, 0, 1},
        {"page down on the last line", 81, 100, ID_TWK_PAGEDOWN, 81, 100, 0, 0},
        {"page up near the start", 3, 22, ID_TWK_PAGEUP, 1, 2, 0, 1},
        {"bottom of file", 1, 1, ID_TWK_BOTTOMOFFILE, 81, 100, 8, 0},
        {"top of file", 50, 60, ID_TWK_TOPOFFILE, 1, 1, 0, 0},
    };
    for (const Case& c : cases)
    {
        h.ctrl.PutTop(c.top);
        h.ctrl.PutCaret(c.line, 0);
        h.ctrl.announced = 0;
        h.Send(c.id);
        EXPECT_EQ(c.wantTop, h.ctrl.m_nTopLine) << c.name;
        EXPECT_EQ(h.ctrl.GetEdit()->GetLine(c.wantTop), h.ctrl.m_pTopLine) << c.name;
        EXPECT_EQ(c.wantLine, h.ctrl.m_nCaretLine) << c.name;
        EXPECT_EQ(h.ctrl.GetEdit()->GetLine(c.wantLine), h.ctrl.m_pCaretLine) << c.name;
        EXPECT_EQ(c.wantCol, h.ctrl.m_nCaretCol) << c.name;
        EXPECT_EQ(c.announced, h.ctrl.announced) << c.name;
    }
}

TEST(Caret, DownOffTheLastRowScrollsOneLine)
{
    CaretHost h(vt::NumberedLines(100), 20);
    h.ctrl.PutCaret(20, 0);
    h.Send(ID_TWK_DOWN);
    EXPECT_EQ(2, h.ctrl.m_nTopLine);
    EXPECT_EQ(h.ctrl.GetEdit()->GetLine(2), h.ctrl.m_pTopLine);
    h.ctrl.PutCaret(2, 0);
    h.Send(ID_TWK_UP);
    EXPECT_EQ(1, h.ctrl.m_nTopLine);
    EXPECT_EQ(1, h.ctrl.m_nCaretLine);
}

TEST(Caret, GoToLineScrollsOnlyWhenNeededAndClampsItsArguments)
{
    CaretHost h(vt::NumberedLines(100), 20);
    struct Case { const char* name; int top; int line; int col; int wantTop; int wantLine; int wantCol; } cases[] = {
        {"below the window", 1, 50, 0, 31, 50, 0},
        {"inside the window", 20, 25, 0, 20, 25, 0},
        {"above the window", 60, 10, 3, 10, 10, 3},
        {"line 0", 50, 0, 0, 1, 1, 0},
        {"beyond the end", 1, 250, 0, 81, 100, 0},
        {"negative column", 1, 5, -7, 1, 5, 0},
    };
    for (const Case& c : cases)
    {
        h.ctrl.PutTop(c.top);
        h.ctrl.PutCaret(1, 0);
        h.ctrl.announced = 0;
        h.ctrl.GoToLineColumn(c.line, c.col);
        EXPECT_EQ(c.wantTop, h.ctrl.m_nTopLine) << c.name;
        EXPECT_EQ(h.ctrl.GetEdit()->GetLine(c.wantTop), h.ctrl.m_pTopLine) << c.name;
        EXPECT_EQ(c.wantLine, h.ctrl.m_nCaretLine) << c.name;
        EXPECT_EQ(h.ctrl.GetEdit()->GetLine(c.wantLine), h.ctrl.m_pCaretLine) << c.name;
        EXPECT_EQ(c.wantCol, h.ctrl.m_nCaretCol) << c.name;
        EXPECT_EQ(0, h.ctrl.announced) << c.name;
    }
}

TEST(Caret, MovementCommandsEndASelection)
{
    CaretHost h(vt::NumberedLines(10), 20);
    h.ctrl.PutCaret(2, 0);
    h.ctrl.m_bSelection = TRUE;
    h.ctrl.m_pSelStartLine = h.ctrl.m_pSelEndLine = h.ctrl.m_pCaretLine;
    h.ctrl.m_nSelEndCol = 3;
    h.Send(ID_TWK_DOWN);
    EXPECT_FALSE(h.ctrl.m_bSelection);
    EXPECT_EQ(3, h.ctrl.m_nCaretLine);
}

} // namespace
