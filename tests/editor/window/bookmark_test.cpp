// Bookmarks on a real control: toggling, Next and Previous with their wrap
// and the placement of an out-of-view line, a stale count, the selection
// kept, Clear All and the update handlers.
#include "tests/editor/window/window_fixture.h"

namespace {

using MarkCtrl = vt::TestCtrl;

struct EnableProbe : CCmdUI
{
    int enabled = -1;
    void Enable(BOOL bOn) override { enabled = bOn; }
};

// A control showing exactly `rows` whole rows of 300 numbered lines.
struct Host
{
    MarkCtrl ctrl;
    vt::CtrlHost host{&ctrl, 400, 300};
    TWKEdit* e;
    explicit Host(int rows = 40)
    {
        e = ctrl.GetEdit();
        host.SetText(vt::NumberedLines(300));
        CRect rcWnd, rcClient;
        ctrl.GetWindowRect(&rcWnd);
        ctrl.GetClientRect(&rcClient);
        ctrl.MoveWindow(0, 0, rcWnd.Width(), rows * ctrl.m_nLineHeight + rcWnd.Height() - rcClient.Height());
        vt::PumpMessages();
    }
    void Cmd(UINT nID) { ctrl.SendMessage(WM_COMMAND, nID, 0); }
    void Mark(int line)
    {
        ctrl.PutCaret(line, 3);
        Cmd(ID_TWK_TOGGLEBOOKMARK);
    }
    int Enabled(UINT nID)
    {
        EnableProbe probe;
        probe.m_nID = nID;
        probe.DoUpdate(&ctrl, FALSE);
        return probe.enabled;
    }
};

} // namespace

TEST(Bookmark, EdgeCases)
{
    struct Step { UINT cmd; int line; int top; };   // top 0: not checked
    struct Case
    {
        const char* name;
        std::vector<int> marks;
        int caret;
        int top;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"wrap both ways", {10, 50}, 60, 41,
         {{ID_TWK_NEXTBOOKMARK, 10, 0}, {ID_TWK_PREVBOOKMARK, 50, 0}, {ID_TWK_NEXTBOOKMARK, 10, 0}}},
        {"one mark on the caret line", {7}, 7, 1, {{ID_TWK_NEXTBOOKMARK, 7, 1}, {ID_TWK_PREVBOOKMARK, 7, 1}}},
        {"out of view comes to the middle", {200}, 5, 1, {{ID_TWK_NEXTBOOKMARK, 200, 180}}},
        {"near the start it stands higher", {5}, 110, 100, {{ID_TWK_NEXTBOOKMARK, 5, 1}}},
        {"in view nothing scrolls", {20}, 30, 1, {{ID_TWK_PREVBOOKMARK, 20, 1}}},
    };
    for (const Case& c : cases)
    {
        Host h;
        ASSERT_EQ(40, h.ctrl.Rows());
        for (int m : c.marks)
            h.Mark(m);
        EXPECT_EQ((int)c.marks.size(), h.e->m_nBookmarkCount) << c.name;
        h.ctrl.PutTop(c.top);
        h.ctrl.PutCaret(c.caret, 4);
        int i = 0;
        for (const Step& s : c.steps)
        {
            h.Cmd(s.cmd);
            EXPECT_EQ(s.line, h.ctrl.m_nCaretLine) << c.name << " step " << i;
            EXPECT_EQ(h.e->GetLine(s.line), h.ctrl.m_pCaretLine) << c.name << " step " << i;
            EXPECT_EQ(0, h.ctrl.m_nCaretCol) << c.name << " step " << i;
            if (s.top)
            {
                EXPECT_EQ(s.top, h.ctrl.m_nTopLine) << c.name << " step " << i;
                EXPECT_EQ(h.e->GetLine(s.top), h.ctrl.m_pTopLine) << c.name << " step " << i;
            }
            i++;
        }
    }
}

TEST(Bookmark, ToggleTwiceCountsAndHandlers)
{
    Host h;
    EXPECT_EQ(1, h.Enabled(ID_TWK_TOGGLEBOOKMARK));
    for (UINT id : {ID_TWK_NEXTBOOKMARK, ID_TWK_PREVBOOKMARK, ID_TWK_CLEARBOOKMARKS})
        EXPECT_EQ(0, h.Enabled(id)) << id;
    h.Mark(12);
    EXPECT_TRUE(h.e->GetLine(12)->dwFlags & LINE_BOOKMARK);
    for (UINT id : {ID_TWK_NEXTBOOKMARK, ID_TWK_PREVBOOKMARK, ID_TWK_CLEARBOOKMARKS})
        EXPECT_EQ(1, h.Enabled(id)) << id;
    h.Mark(12);
    EXPECT_FALSE(h.e->GetLine(12)->dwFlags & LINE_BOOKMARK);
    EXPECT_EQ(0, h.e->m_nBookmarkCount);
    EXPECT_EQ(12, h.ctrl.m_nCaretLine);
    EXPECT_EQ(3, h.ctrl.m_nCaretCol);   // toggling leaves the caret

    // A count above the marks left (as Mark All leaves it): Next stays
    // enabled and finds nothing.
    h.Mark(30);
    h.e->m_nBookmarkCount = 3;
    h.Mark(30);
    EXPECT_EQ(2, h.e->m_nBookmarkCount);
    EXPECT_EQ(1, h.Enabled(ID_TWK_NEXTBOOKMARK));
    h.ctrl.PutCaret(8, 2);
    h.Cmd(ID_TWK_NEXTBOOKMARK);
    h.Cmd(ID_TWK_PREVBOOKMARK);
    EXPECT_EQ(8, h.ctrl.m_nCaretLine);
    EXPECT_EQ(2, h.ctrl.m_nCaretCol);

    // Clear All takes every mark and the count.
    h.Mark(3);
    h.Mark(250);
    h.Cmd(ID_TWK_CLEARBOOKMARKS);
    EXPECT_EQ(0, h.e->m_nBookmarkCount);
    EXPECT_EQ(0, h.ctrl.GetBookmarkCount());
    EXPECT_EQ(0, h.Enabled(ID_TWK_NEXTBOOKMARK));
}

TEST(Bookmark, NextKeepsTheSelection)
{
    Host h;
    h.Mark(20);
    TWKEditPos a = {h.e->GetLine(2), 1}, b = {h.e->GetLine(3), 2};
    h.ctrl.SetSelection(&a, &b, FALSE);
    h.Cmd(ID_TWK_NEXTBOOKMARK);
    EXPECT_EQ(20, h.ctrl.m_nCaretLine);
    EXPECT_TRUE(h.ctrl.m_bSelection);
    EXPECT_EQ(h.e->GetLine(2), h.ctrl.m_pSelStartLine);
    EXPECT_EQ(h.e->GetLine(3), h.ctrl.m_pSelEndLine);
}
