#include "tests/framework/frames/frames_fixture.h"

namespace {

using vt::ArrayText;
using vt::SetArray;

// Bars a, b, c, d (visible), h (hidden), o (own row) and x (the one inserted),
// on the top dock bar of a main frame.
class DockBarRows : public testing::Test
{
protected:
    vt::MainFrame frame;
    TWKDockBar* top = nullptr;
    std::map<std::string, CControlBar*> bars;
    std::map<const CControlBar*, std::string> names;

    void SetUp() override
    {
        ASSERT_NE(nullptr, frame.p);
        top = frame.Dock(AFX_IDW_DOCKBAR_TOP);
        ASSERT_NE(nullptr, top);
        UINT nID = 0xE700;
        for (const char* n : {"a", "b", "c", "d", "h", "o", "x"}) {
            DWORD ex = std::string(n) == "o" ? (vt::kIdeExStyle | CBX_OWNROW) : vt::kIdeExStyle;
            TWKControlBar* p = frame.Bar(nID++, ex);
            ASSERT_NE(nullptr, p);
            bars[n] = p;
            names[p] = n;
        }
        bars["h"]->ShowWindow(SW_HIDE);
    }
    std::string Text() const { return ArrayText(top, names); }
};

TEST_F(DockBarRows, InsertBarAtFollowsRowsColumnsAndFlags)
{
    struct Case { const char* before; TWKDockPos pos; const char* bar; const char* after; int nResult; };
    const Case cases[] = {
        { "0", { 5, 3, 7 }, "x", "0 x 0", 1 },                           // first dock: any place
        { "0 a b 0", { 0, 1, 3 }, "x", "0 a b x 0", 3 },                  // after the last row's last bar
        { "0 a b 0", { 1, 0, 1 }, "x", "0 a b 0 x 0", 4 },                // a new last row
        { "0 a b 0 c 0", { 0, 1, 7 }, "x", "0 a b 0 x 0 c 0", 4 },        // a new row in front of the last
        { "0 a 0", { 3, 0, 0 }, "x", "0 a 0 0 0 x 0", 5 },                // two empty rows, then the bar's
        { "0 a 0", { -1, 0, 0 }, "x", "0 x a 0", 1 },
        { "0 a 0", { -2, 0, 0 }, "x", "0 x 0 a 0", 1 },
        { "0 a 0", { -3, 0, 0 }, "x", "0 x 0 0 a 0", 1 },
        { "0 a b 0", { 0, 1, 0 }, "o", "0 a 0 o 0 b 0", 3 },              // an own-row bar splits the row
        { "0 o 0", { 0, 1, 0 }, "x", "0 o 0 x 0", 3 },                    // nor does anything join it
        { "0 a b c 0", { 0, 2, 0 }, "x", "0 a b x c 0", 3 },
        { "0 a b c 0", { 0, 9, 0 }, "x", "0 a b c x 0", 4 },
        { "0 a b c 0", { 0, 0, 2 }, "x", "0 a b x c 0", 3 },              // before the last visible bar
        { "0 a b c 0", { 0, -1, 2 }, "x", "0 a x b c 0", 2 },
        { "0 a b c 0", { 0, -9, 2 }, "x", "0 x a b c 0", 1 },
        { "0 a h b 0", { 0, 1, 0 }, "x", "0 a h x b 0", 3 },              // hidden bars are not counted
        { "0 a 0 b 0", { -1, 1, 3 }, "x", "0 a x 0 b 0", 2 },             // one row before the last
        { "0 a 0", { -2, 0, 1 }, "x", "0 x 0 0 a 0", 1 },                 // before the first: new rows
        { "0 a 200 0", { 0, 1, 3 }, "x", "0 a 200 x 0", 3 },              // placeholders stay in the row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.before << " {" << c.pos.nRow << "," << c.pos.nCol << ","
                                        << c.pos.dwFlags << "} " << c.bar);
        SetArray(top, c.before, bars);
        EXPECT_EQ(c.nResult, top->InsertBarAt(bars[c.bar], &c.pos));
        EXPECT_EQ(c.after, Text());
    }
}

TEST_F(DockBarRows, RowQueriesAndNormalisation)
{
    SetArray(top, "0 a h b 0 200 c 0", bars);
    CPtrList list;
    EXPECT_TRUE(top->GetBarsInRow(&list, bars["h"]));
    ASSERT_EQ(3, list.GetCount());
    EXPECT_EQ(bars["a"], list.GetHead());
    EXPECT_EQ(bars["b"], list.GetTail());
    EXPECT_FALSE(top->GetBarsInRow(&list, nullptr));
    EXPECT_TRUE(list.IsEmpty());

    EXPECT_FALSE(top->IsOnlyVisibleBarInRow(bars["a"]));
    EXPECT_TRUE(top->IsOnlyVisibleBarInRow(bars["c"]));    // the placeholder is no bar
    EXPECT_FALSE(top->IsOnlyVisibleBarInRow(nullptr));
    SetArray(top, "0 a h 0", bars);
    EXPECT_TRUE(top->IsOnlyVisibleBarInRow(bars["a"]));     // the other one is hidden

    SetArray(top, "0 a h b 0 200 c 0", bars);
    int nRow = -1, nCol = -1, nThickness = -1;
    EXPECT_TRUE(top->GetBarRowCol(bars["b"], &nRow, &nCol, &nThickness));
    EXPECT_EQ(0, nRow);
    EXPECT_EQ(2, nCol);
    EXPECT_EQ(180, nThickness);
    EXPECT_TRUE(top->GetBarRowCol(bars["c"], &nRow, &nCol, &nThickness));
    EXPECT_EQ(1, nRow);
    EXPECT_EQ(0, nCol);
    EXPECT_FALSE(top->GetBarRowCol(bars["h"], &nRow, &nCol, &nThickness));   // hidden
    EXPECT_FALSE(top->GetBarRowCol(bars["d"], &nRow, &nCol, &nThickness));   // not here

    // The anchor keeps its share, the others share the rest in their old proportions.
    SetArray(top, "0 a b x 0", bars);
    auto pct = [&](const char* n) -> float& { return static_cast<TWKControlBar*>(bars[n])->m_fPctWidth; };
    pct("a") = 0.5f;
    pct("b") = 0.5f;
    pct("x") = 0.2f;
    int nSizable = 0, nFixed = 0;
    top->NormalizeRow(1, bars["x"], &nSizable, &nFixed);
    EXPECT_NEAR(0.4f, pct("a"), 1e-6);
    EXPECT_NEAR(0.4f, pct("b"), 1e-6);
    EXPECT_NEAR(0.2f, pct("x"), 1e-6);
    EXPECT_EQ(3, nSizable);
    EXPECT_EQ(0, nFixed);
    // No fraction falls below the minimum (18 pixels of the row).
    pct("a") = 0.0f;
    top->NormalizeRow(1, nullptr);
    CRect rect;
    top->GetClientRect(&rect);
    EXPECT_NEAR(18.0f / rect.Width(), top->m_fMinPctWidth, 1e-6);
    EXPECT_GE(pct("a"), top->m_fMinPctWidth);

    // AdjustFraction gives back what the minimum keeps it from taking.
    pct("a") = 0.1f;
    EXPECT_FLOAT_EQ(0.0f, top->AdjustFraction(-0.05f, bars["a"]));
    EXPECT_NEAR(0.05f, pct("a"), 1e-6);
    EXPECT_NEAR(-top->m_fMinPctWidth, top->AdjustFraction(-0.05f, bars["a"]), 1e-6);
    EXPECT_FLOAT_EQ(top->m_fMinPctWidth, pct("a"));
    EXPECT_FLOAT_EQ(0.3f, top->AdjustFraction(0.3f, nullptr));
}

TEST_F(DockBarRows, RemovingLeavesThePlaceholderAndReDockingFindsIt)
{
    TWKDockBar* left = frame.Dock(AFX_IDW_DOCKBAR_LEFT);
    // Bar "p" has control id 200.
    TWKControlBar* p = frame.Bar(200);
    ASSERT_NE(nullptr, p);
    names[p] = "p";
    for (const char* n : {"a", "b"})
        top->DockControlBarAt(bars[n], 9, 0);
    top->DockControlBarAt(p, 1, 0);
    EXPECT_EQ("0 a p b 0", Text());
    EXPECT_EQ(top, p->m_pDockBar);

    left->DockControlBarAt(p, 0, 0);
    EXPECT_EQ("0 a 200 b 0", Text());
    EXPECT_EQ("0 p 0", ArrayText(left, names));
    EXPECT_EQ(left->m_hWnd, ::GetParent(p->m_hWnd));

    top->ReDockControlBar(p);
    EXPECT_EQ("0 a p b 0", Text());
    EXPECT_EQ("0", ArrayText(left, names));
    EXPECT_EQ(top, p->m_pDockBar);
    EXPECT_EQ(CBRS_ALIGN_TOP, p->GetBarStyle() & CBRS_ALIGN_ANY);

    // A bar the dock bar does not hold changes nothing: no placeholder anywhere.
    EXPECT_FALSE(left->RemoveControlBar(p, -1, 0));
    EXPECT_EQ("0", ArrayText(left, names));
    EXPECT_FALSE(top->RemoveControlBar(bars["d"], -1, 1));
    EXPECT_EQ("0 a p b 0", Text());
}

// Rows of known geometry: a and b in the first row, c in the second, each a
// fixed-size 100 x 40 (placed where they stand, as toolbars are).
class DockBarGeometry : public DockBarRows
{
protected:
    void SetUp() override
    {
        DockBarRows::SetUp();
        for (auto& kv : bars) {
            auto* p = static_cast<TWKControlBar*>(kv.second);
            p->m_sizeMRUHorzDock = CSize(100, 40);
            p->ModifyExBarStyle(0, CBX_FIXEDSIZE, FALSE);
        }
        top->DockControlBarAt(bars["a"], 0, 0);
        top->DockControlBarAt(bars["b"], 1, 0);
        top->DockControlBarAt(bars["c"], 0, 1);
        frame.p->RecalcLayout();
        ASSERT_EQ("0 a b 0 c 0", Text());
    }
    CRect ScreenRect(const CRect& client) const
    {
        CRect r = client;
        top->ClientToScreen(&r);
        return r;
    }
};

TEST_F(DockBarGeometry, FindInsertPosWalksTheRows)
{
    CRect rect;
    bars["a"]->GetWindowRect(&rect);
    top->ScreenToClient(&rect);
    ASSERT_EQ(CRect(0, -2, 100, 38), rect);   // over the dock bar's edge, as the row starts
    struct Case { int left; int midY; int expected; };
    const Case cases[] = {
        { 150, 10, 3 },    // after b
        { 50, 10, 2 },     // between a and b
        { -5, 50, 4 },     // c's place in the second row
        { 0, 500, 6 },     // below every row
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, top->FindInsertPos(CRect(c.left, c.midY - 5, c.left + 80, c.midY + 5),
                                                 CPoint(c.left + 40, c.midY)))
            << c.left << "," << c.midY;
}

TEST_F(DockBarGeometry, DroppingOnItsOwnPlaceMovesNothing)
{
    // Its own rectangle, its own place a little moved, and the place right after it.
    for (CRect r : {CRect(0, 0, 100, 40), CRect(3, 2, 103, 42), CRect(60, 0, 160, 40)}) {
        top->DockControlBar(bars["a"], ScreenRect(r));
        EXPECT_EQ("0 a b 0 c 0", Text()) << r.left;
    }
    // Dropped before c, it moves there and leaves no empty row.
    top->DockControlBar(bars["a"], ScreenRect(CRect(-5, 45, 95, 85)));
    EXPECT_EQ("0 b 0 a c 0", Text());
}

TEST_F(DockBarGeometry, InsertBarAtPointByRowsAndBelowAll)
{
    // Left of b in the first row.
    EXPECT_EQ(2, top->InsertBarAtPoint(bars["x"], CRect(60, 0, 160, 40), CPoint(80, 20)));
    EXPECT_EQ("0 a x b 0 c 0", Text());
    // Above every row: a new first row.
    SetArray(top, "0 a b 0 c 0", bars);
    EXPECT_EQ(1, top->InsertBarAtPoint(bars["x"], CRect(0, -40, 100, -30), CPoint(50, -35)));
    EXPECT_EQ("0 x 0 a b 0 c 0", Text());
    // Below every row: a new last row, and the placeholders after the last bar go.
    SetArray(top, "0 a b 0 c 0 300 0", bars);
    top->m_bLayoutChanged = FALSE;
    EXPECT_EQ(6, top->InsertBarAtPoint(bars["x"], CRect(0, 300, 100, 340), CPoint(50, 320)));
    EXPECT_EQ("0 a b 0 c 0 x 0 0", Text());
    EXPECT_TRUE(top->m_bLayoutChanged);
}

TEST_F(DockBarGeometry, AltKeyInADockedBarOpensTheFrameMenu)
{
    MSG msg = {};
    msg.hwnd = bars["a"]->m_hWnd;
    msg.message = WM_SYSCHAR;
    msg.wParam = 'f';
    msg.lParam = 0x20000000;
    CWnd::WalkPreTranslateTree(frame.p->m_hWnd, &msg);
    MSG posted = {};
    ASSERT_TRUE(::PeekMessageA(&posted, frame.p->m_hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
    EXPECT_EQ((WPARAM)SC_KEYMENU, posted.wParam);
    EXPECT_EQ((LPARAM)'f', posted.lParam);
}

} // namespace
