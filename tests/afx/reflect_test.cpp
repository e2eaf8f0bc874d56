#include <gtest/gtest.h>
#include "afx/afx.h"
#include "tests/harness/harness.h"

namespace {

// An owner-drawn control class: draws and measures itself through virtuals.
class COwnerDrawn : public CWnd
{
public:
    int drawn = 0;
    UINT drawType = 0;
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS)
    {
        drawn++;
        drawType = lpDIS->CtlType;
    }
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) { lpMIS->itemHeight = 33; }

protected:
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnerDrawn, CWnd)
    ON_WM_DRAWITEM_REFLECT()
    ON_WM_MEASUREITEM_REFLECT()
END_MESSAGE_MAP()

// A derived class overriding only DrawItem, as application buttons do.
class CRedButton : public COwnerDrawn
{
public:
    int redDrawn = 0;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override
    {
        redDrawn++;
        HBRUSH hbr = ::CreateSolidBrush(RGB(255, 0, 0));
        ::FillRect(lpDIS->hDC, &lpDIS->rcItem, hbr);
        ::DeleteObject(hbr);
    }
};

class CParent : public CWnd
{
public:
    int parentDrawn = 0;
    int parentMeasured = 0;

protected:
    afx_msg void OnDrawItem(int, LPDRAWITEMSTRUCT) { parentDrawn++; }
    afx_msg void OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMIS)
    {
        parentMeasured++;
        lpMIS->itemHeight = 11;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CParent, CWnd)
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
END_MESSAGE_MAP()

class Reflect : public ::testing::Test
{
protected:
    CParent parent;
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "Parent", WS_POPUP | WS_VISIBLE, 40, 40, 300,
                                    200, nullptr, nullptr));
    }
};

TEST_F(Reflect, OwnerDrawButtonDrawsItselfThroughItsVirtualDrawItem)
{
    CRedButton button;
    ASSERT_TRUE(button.Create("BUTTON", "Go", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 60, 40),
                              &parent, 101));
    button.Invalidate();
    button.UpdateWindow();
    EXPECT_GE(button.redDrawn, 1);
    EXPECT_EQ(button.drawn, 0);
    EXPECT_EQ(parent.parentDrawn, 0);

    // Drawn into a memory DC: the control's own drawing reaches the pixels.
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(nullptr));
    CBitmap bm;
    ASSERT_TRUE(bm.CreateBitmap(20, 20, 1, 32, nullptr));
    CBitmap* pOld = mem.SelectObject(&bm);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = 101;
    dis.hwndItem = button.m_hWnd;
    dis.hDC = mem.m_hDC;
    dis.rcItem = { 0, 0, 20, 20 };
    EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, 101, (LPARAM)&dis), TRUE);
    EXPECT_EQ(mem.GetPixel(10, 10) & 0xFFFFFF, RGB(255, 0, 0));
    mem.SelectObject(pOld);
}

TEST_F(Reflect, OwnerDrawListMeasuresItselfAndMenusStayWithTheParent)
{
    COwnerDrawn list;
    ASSERT_TRUE(list.Create("LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                            CRect(10, 50, 200, 150), &parent, 102));
    EXPECT_EQ(list.SendMessage(LB_GETITEMHEIGHT, 0, 0), 33);
    EXPECT_EQ(parent.parentMeasured, 0);
    list.SendMessage(LB_ADDSTRING, 0, (LPARAM)"one");
    list.UpdateWindow();
    EXPECT_GE(list.drawn, 1);
    EXPECT_EQ(list.drawType, (UINT)ODT_LISTBOX);

    // Owner-drawn menu items belong to the window owning the menu.
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.CtlID = 102;   // the same number as the list: must not reach it
    parent.SendMessage(WM_MEASUREITEM, 0, (LPARAM)&mis);
    EXPECT_EQ(parent.parentMeasured, 1);
    EXPECT_EQ(mis.itemHeight, 11u);
}

TEST_F(Reflect, ControlWithoutReflectionLeavesOwnerDrawToTheParent)
{
    CWnd button;
    ASSERT_TRUE(button.Create("BUTTON", "Go", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 60, 40),
                              &parent, 103));
    button.Invalidate();
    button.UpdateWindow();
    EXPECT_GE(parent.parentDrawn, 1);
}

} // namespace
