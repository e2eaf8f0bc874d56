// Toolbar layout on button arrays: row breaking at separators, balancing,
// the vertical width search, insets, hidden and centred buttons, caching.
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include <sstream>
#include <string>
#include <vector>

namespace {

// A toolbar without a window whose buttons are described by a text:
// "B" a 23 x 22 button, "|" a separator, "W150" a button 150 wide,
// "T40" a button 40 high, "V21" a vertically centred button 21 high,
// "H" a hidden button. Images are the default 16 x 15, so buttons are
// 23 x 22 and separators 8 wide.
struct LayoutBar : TWKCustomToolBar {
    explicit LayoutBar(const std::string& buttons, DWORD dwStyle = CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC)
    {
        m_dwStyle = dwStyle;
        std::istringstream in(buttons);
        std::string tok;
        while (in >> tok) {
            auto* pBtn = new TWKStdBtn;
            pBtn->m_cx = 23;
            pBtn->m_cy = 22;
            int n = tok.size() > 1 ? std::stoi(tok.substr(1)) : 0;
            switch (tok[0]) {
            case '|': pBtn->m_dwStyle = TBBS_SEPARATOR; pBtn->m_cx = 8; break;
            case 'W': pBtn->m_cx = n; break;
            case 'T': pBtn->m_cy = n; break;
            case 'V': pBtn->m_cy = n; pBtn->m_dwStyle = TWK_TBBS_VCENTER; break;
            case 'H': pBtn->m_dwStyle = TBBS_HIDDEN; pBtn->SetPos(-77, -88); break;
            }
            pBtn->m_nID = 100 + (UINT)m_arrButtons.GetSize();
            pBtn->m_pToolBar = this;
            m_arrButtons.Add(pBtn);
        }
    }
    CSize Insets(BOOL bHorz)
    {
        CRect rect(0, 0, 0, 0);
        CalcInsideRect(rect, bHorz, !bHorz);
        return CSize(-rect.Width(), -rect.Height());
    }
    CPoint Origin(BOOL bHorz)
    {
        CRect rect(0, 0, 0, 0);
        CalcInsideRect(rect, bHorz, !bHorz);
        return rect.TopLeft();
    }
    std::vector<int> Wrapped()
    {
        std::vector<int> v;
        for (int i = 0; i < GetButtonCount(); i++)
            if (m_arrButtons[i]->m_dwStyle & TBBS_WRAPPED)
                v.push_back(i);
        return v;
    }
    std::string Rows(int nWidth)
    {
        TWKToolBarRow rows[64] = {};
        int n = CalcRows(nWidth, rows);
        std::ostringstream out;
        for (int r = 0; r < n; r++)
            out << (r ? " " : "") << rows[r].nLast << (rows[r].bSepEnd ? "s" : "") << ":" << rows[r].cx;
        return out.str();
    }
};

std::string Group(int n)
{
    std::string s;
    for (int i = 0; i < n; i++)
        s += "B ";
    return s;
}

TEST(ToolBarLayout, RowBreaksAsTable)
{
    // Rows as "last index[s when ended at a separator]:width".
    struct Case {
        const char* name;
        std::string buttons;
        int nWidth;
        const char* rows;
    } cases[] = {
        // The break comes at the separator after the eighth button; its gap is not counted.
        { "two groups of eight, room for ten", Group(8) + "| " + Group(8), 230, "8s:184 16:184" },
        // Without a separator the group breaks before the button that does not fit.
        { "group broader than the row", Group(6), 100, "3:92 5:46" },
        // A lone button broader than the row stays with the buttons after it.
        { "single button broader than the row", "B W150 B B", 100, "0:23 3:196" },
        { "everything fits", "B | B", 1000, "2:54" },
        // Two pixels of tolerance at the row's end.
        { "tolerance of two pixels", Group(4), 90, "3:92" },
        { "no buttons", "", 100, "" },
    };
    for (const Case& c : cases) {
        LayoutBar bar(c.buttons);
        EXPECT_EQ(c.rows, bar.Rows(c.nWidth)) << c.name;
    }
}

TEST(ToolBarLayout, HorizontalDockWithRoomForTenBreaksAfterTheEighth)
{
    LayoutBar bar(Group(8) + "| " + Group(8));
    CSize ins = bar.Insets(TRUE);
    CPoint org = bar.Origin(TRUE);
    CSize size = bar.CalcDynamicLayout(10 * 23 + ins.cx, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    EXPECT_EQ(std::vector<int>{ 8 }, bar.Wrapped());
    // Two rows of eight buttons and the gap after a wrapped separator (2 x 8 / 3).
    EXPECT_EQ(CSize(8 * 23 + ins.cx, 22 + 5 + 22 + ins.cy), size);
    EXPECT_EQ(org.x, bar.m_arrButtons[9]->m_x);
    EXPECT_EQ(org.y + 22 + 5, bar.m_arrButtons[9]->m_y);
    EXPECT_EQ(org.x + 7 * 23, bar.m_arrButtons[7]->m_x);
    EXPECT_EQ(org.y, bar.m_arrButtons[7]->m_y);
}

TEST(ToolBarLayout, BalancingMovesButtonsToTheShorterRow)
{
    // Six buttons broken 4 + 2 are balanced to 3 + 3.
    LayoutBar bar(Group(6));
    SIZE size;
    bar.WrapButtons(&size, 100, FALSE);
    EXPECT_EQ(std::vector<int>{ 2 }, bar.Wrapped());
    EXPECT_EQ(CSize(69, 44), CSize(size));

    // A group moves down whole when the row above is broader than both.
    LayoutBar groups("B B | B B | B");
    groups.WrapButtons(&size, 2 * 23 + 8 + 2 * 23, FALSE);
    EXPECT_EQ(std::vector<int>{ 2 }, groups.Wrapped());
}

TEST(ToolBarLayout, BarWithoutButtonsMeasuresOneButtonAndInsets)
{
    LayoutBar bar("");
    CSize ins = bar.Insets(TRUE);
    EXPECT_EQ(CSize(23 + ins.cx, 22 + ins.cy), bar.CalcDynamicLayout(500, LM_HORZ | LM_HORZDOCK | LM_COMMIT));
    EXPECT_EQ(CSize(23 + ins.cx, 22 + ins.cy), bar.CalcFixedLayout(FALSE, TRUE));
}

TEST(ToolBarLayout, HiddenButtonsTakeNoRoomAndKeepTheirPlaces)
{
    LayoutBar bar("B H B");
    CSize ins = bar.Insets(TRUE);
    CPoint org = bar.Origin(TRUE);
    CSize size = bar.CalcDynamicLayout(1000, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    EXPECT_EQ(CSize(2 * 23 + ins.cx, 22 + ins.cy), size);
    EXPECT_EQ(org.x + 23, bar.m_arrButtons[2]->m_x);
    EXPECT_EQ(CPoint(-77, -88), CPoint(bar.m_arrButtons[1]->m_x, bar.m_arrButtons[1]->m_y));
    ASSERT_EQ(3, bar.GetButtonCount());
    EXPECT_EQ(101u, bar.m_arrButtons[1]->m_nID);
}

TEST(ToolBarLayout, FloatingBarReportsTwoPixelsLessEachWay)
{
    LayoutBar bar(Group(4), CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC | CBRS_FLOATING);
    CSize size = bar.CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    CSize ins = bar.Insets(TRUE);
    EXPECT_EQ(CSize(4 * 23 + ins.cx, 22 + ins.cy), bar.m_sizeFloat);
    EXPECT_EQ(bar.m_sizeFloat - CSize(2, 2), size);
}

TEST(ToolBarLayout, CentredButtonInATallerRowUsesIntegerHalving)
{
    LayoutBar bar("B T40 V21 V40");
    CPoint org = bar.Origin(TRUE);
    bar.CalcDynamicLayout(1000, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    EXPECT_EQ(org.y, bar.m_arrButtons[0]->m_y);           // not centred
    EXPECT_EQ(org.y + (40 - 21) / 2, bar.m_arrButtons[2]->m_y);
    EXPECT_EQ(org.y, bar.m_arrButtons[3]->m_y);           // already the row's height
}

TEST(ToolBarLayout, VerticalDockFindsTheNarrowestWidthThatFits)
{
    struct Case {
        const char* buttons;
        int nHeight;
        CSize expected;   // of the rows, without insets
    } cases[] = {
        // Four rows of two fit 100 pixels; one column of eight would not.
        { "B B B B B B B B", 100, CSize(46, 88) },
        // Room for all in one column.
        { "B B B B", 200, CSize(23, 88) },
        // Less than a button's height: one row.
        { "B B B", 10, CSize(69, 22) },
        // Buttons taller than the bar's button height in a frame too short
        // for a single row: the search ends with one row.
        { "T40 T40 T40 T40 T40 T40", 30, CSize(138, 40) },
        { "T40 T40 T40 T40 T40 T40", 70, CSize(138, 40) },
    };
    for (const Case& c : cases) {
        LayoutBar bar(c.buttons);
        SIZE size;
        bar.WrapButtons(&size, c.nHeight, TRUE);
        EXPECT_EQ(c.expected, CSize(size)) << c.buttons << " in " << c.nHeight;
    }
}

TEST(ToolBarLayout, CommittedLayoutsAreCachedPerState)
{
    LayoutBar bar(Group(3), CBRS_ALIGN_LEFT | CBRS_SIZE_DYNAMIC);
    CSize insH = bar.Insets(TRUE);
    // A new bar is dirty: the first question lays it out.
    CSize sizeHorz = bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    EXPECT_EQ(CSize(3 * 23 + insH.cx, 22 + insH.cy), sizeHorz);
    EXPECT_FALSE(bar.m_bDirtyHorz);
    CSize sizeVert = bar.CalcDynamicLayout(-1, LM_VERTDOCK);
    EXPECT_FALSE(bar.m_bDirtyVert);
    // Later questions without LM_COMMIT do not lay out again.
    bar.m_arrButtons[0]->m_cx = 100;
    EXPECT_EQ(sizeHorz, bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK));
    EXPECT_EQ(sizeHorz, bar.CalcFixedLayout(FALSE, TRUE));
    EXPECT_EQ(sizeVert, bar.CalcDynamicLayout(-1, LM_VERTDOCK));
    // Changing the images marks every state dirty again.
    bar.OnImageSizeChanged(16, 15);
    EXPECT_TRUE(bar.m_bDirtyHorz && bar.m_bDirtyVert && bar.m_bDirtyMRU);
}

} // namespace
