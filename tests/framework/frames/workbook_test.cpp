#include "tests/framework/frames/frames_fixture.h"
#include "tests/framework/frames/picture_fixture.h"
#include "framework/frames/TWKAuxData.h"
#include "framework/frames/TWKWorkbook.h"
#include <cstdlib>
#include <vector>

namespace {

// A workbook that counts what its paint draws.
class CCountingWorkbook : public TWKWorkbook
{
public:
    int nTabs = 0;
    int nBorders = 0;
    void DrawTab(CDC* pDC, TWKSheet* pSheet) override
    {
        nTabs++;
        TWKWorkbook::DrawTab(pDC, pSheet);
    }
    void DrawWorkbookBorder(CDC* pDC) override
    {
        nBorders++;
        TWKWorkbook::DrawWorkbookBorder(pDC);
    }
};

class Workbook : public testing::Test
{
protected:
    CCountingWorkbook* book = nullptr;

    void SetUp() override
    {
        book = new CCountingWorkbook;
        ASSERT_TRUE(book->LoadFrame(vt::kTestFrameID));
        book->EnableDocking(CBRS_ALIGN_ANY);
        book->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        AfxGetApp()->m_pMainWnd = book;
        ASSERT_NE(nullptr, book->m_pClient);
    }
    void TearDown() override
    {
        AfxGetApp()->m_pMainWnd = nullptr;
        if (book && ::IsWindow(book->m_hWnd))
            book->DestroyWindow();
        twkWorkbookMode = FALSE;
    }
    TWKWorksheet* Sheet(const char* pszTitle = nullptr)
    {
        auto* p = new TWKWorksheet;
        EXPECT_TRUE(p->LoadFrame(vt::kTestFrameID, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, book));
        book->MDIActivate(p);
        if (pszTitle)
            p->SetWindowText(pszTitle);
        return p;
    }
    // A point well inside the sheet's tab.
    CPoint TabPoint(TWKSheet* pSheet)
    {
        POINT pts[TWKWorkbook::kTabPoints];
        book->GetTabPolygon(pSheet, pts);
        return CPoint((pts[0].x + pts[5].x) / 2, (pts[0].y + pts[2].y) / 2);
    }
    CRect Query()
    {
        CRect rect;
        book->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, CFrameWnd::reposQuery, &rect, nullptr, TRUE);
        return rect;
    }
};

TEST_F(Workbook, TheTabWidthSharesTheClientUpToTheMaximum)
{
    // Size the frame so that the MDI client is 600 pixels wide.
    CRect rectWnd, rectClient;
    book->GetWindowRect(&rectWnd);
    book->GetClientRect(&rectClient);
    book->SetWindowPos(nullptr, 0, 0, 600 + rectWnd.Width() - rectClient.Width(), 600, SWP_NOZORDER | SWP_NOACTIVATE);
    book->RecalcLayout();
    ASSERT_EQ(600, book->GetClientWndRect().Width());

    struct Case {
        int nSheets;
        int nWidth;
    } const cases[] = {{20, 30}, {2, 90}, {1, 90}};
    for (const Case& c : cases) {
        std::vector<TWKWorksheet*> sheets;
        for (int i = 0; i < c.nSheets; i++)
            sheets.push_back(Sheet());
        EXPECT_EQ(c.nWidth, book->m_nTabWidth) << c.nSheets;
        for (int i = 0; i < c.nSheets; i++)
            EXPECT_EQ(i, sheets[i]->m_nIndex);
        for (TWKWorksheet* p : sheets)
            p->DestroyWindow();
        EXPECT_EQ(0, book->m_arrSheets.GetSize());
    }
}

TEST_F(Workbook, TabPolygonsOfActiveAndInactiveSheetsAndHiddenSheetsTakeNoPlace)
{
    book->SetWorkbookMode(TRUE);
    TWKWorksheet* first = Sheet();
    TWKWorksheet* second = Sheet();
    TWKWorksheet* third = Sheet();
    ASSERT_EQ(third, book->MDIGetActive());
    const int W = book->m_nTabWidth, H = 23, S = 2;
    CRect rc = book->GetClientWndRect();
    int y0 = rc.bottom + 4;

    struct Case {
        TWKWorksheet* pSheet;
        int x0, a;
    } const cases[] = {
        {first, rc.left, 0},
        {second, rc.left + W, 0},
        {third, rc.left + 2 * W - 2, 1},   // active: wider and taller, half of it on the left
    };
    for (const Case& c : cases) {
        POINT p[TWKWorkbook::kTabPoints];
        ASSERT_EQ(7, book->GetTabPolygon(c.pSheet, p));
        const POINT want[7] = {{c.x0, y0},
                               {c.x0, y0 + H - S},
                               {c.x0 + S, y0 + H + c.a * 2},
                               {c.x0 + W + c.a * 4 - S, y0 + H + c.a * 2},
                               {c.x0 + W + c.a * 4, y0 + H - S},
                               {c.x0 + W + c.a * 4, y0},
                               {c.x0, y0}};
        for (int i = 0; i < 7; i++) {
            EXPECT_EQ(want[i].x, p[i].x) << c.pSheet->m_nIndex << " point " << i;
            EXPECT_EQ(want[i].y, p[i].y) << c.pSheet->m_nIndex << " point " << i;
        }
    }

    // A hidden sheet takes no tab place: the ones after it move left.
    POINT before[7], after[7];
    book->GetTabPolygon(second, before);
    second->ShowWindow(SW_HIDE);
    book->MDIActivate(first);
    book->GetTabPolygon(third, after);
    EXPECT_EQ(before[0].x, after[0].x);
    EXPECT_EQ(2, third->m_nIndex);
}

TEST_F(Workbook, ALongTitleIsCutOnTheTabAndShownWholeInTheTip)
{
    book->SetWorkbookMode(TRUE);
    TWKWorksheet* shortOne = Sheet("A");
    std::string strLong(60, 'W');
    TWKWorksheet* longOne = Sheet(strLong.c_str());
    book->MDIActivate(shortOne);

    EXPECT_TRUE(book->IsTitleFit(shortOne));
    EXPECT_FALSE(book->IsTitleFit(longOne));
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    EXPECT_EQ(-1, book->OnToolHitTest(TabPoint(shortOne), &ti));
    ASSERT_EQ(2, book->OnToolHitTest(TabPoint(longOne), &ti));
    EXPECT_EQ(book->m_hWnd, ti.hwnd);
    EXPECT_EQ(2u, ti.uId);
    ASSERT_NE(nullptr, ti.lpszText);
    EXPECT_STREQ(strLong.c_str(), ti.lpszText);
    std::free(ti.lpszText);
    EXPECT_EQ(-1, book->OnToolHitTest(CPoint(2, 2), &ti));

    // On the tab the title is cut, character by character, to end in dots.
    POINT p[7];
    book->GetTabPolygon(longOne, p);
    CRect rect;
    book->GetTabTextRect(p, 16, &rect);
    CClientDC dc(book);
    CFont* pOld = dc.SelectObject(&book->m_fontTab);
    CString strShown = TWKWorkbook::FitTitle(&dc, strLong.c_str(), rect.Width());
    EXPECT_EQ("...", strShown.Right(3));
    EXPECT_LE(dc.GetTextExtent(strShown, strShown.GetLength()).cx, rect.Width());
    CString strOneMore = strLong.substr(0, strShown.GetLength() - 2).c_str();
    strOneMore += "...";
    EXPECT_GT(dc.GetTextExtent(strOneMore, strOneMore.GetLength()).cx, rect.Width());
    EXPECT_EQ("A", TWKWorkbook::FitTitle(&dc, "A", rect.Width()));
    EXPECT_EQ("...", TWKWorkbook::FitTitle(&dc, "WWWW", 0));
    dc.SelectObject(pOld);
    CRect rectNone;
    book->GetTabTextRect(nullptr, 16, &rectNone);
    EXPECT_TRUE(rectNone.IsRectEmpty());
}

TEST_F(Workbook, AClickOnAnInactiveTabActivatesItsSheet)
{
    book->SetWorkbookMode(TRUE);
    TWKWorksheet* first = Sheet();
    TWKWorksheet* second = Sheet();
    ASSERT_EQ(second, book->MDIGetActive());
    CPoint pt = TabPoint(first);
    book->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(first, book->MDIGetActive());
    EXPECT_TRUE(first->m_bPressed);
    book->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_FALSE(first->m_bPressed);

    // The active sheet's tab: nothing but the default.
    book->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(first, book->MDIGetActive());
    EXPECT_FALSE(first->m_bPressed);
    book->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));

    // Out of workbook mode the tabs take no clicks.
    book->SetWorkbookMode(FALSE);
    pt = TabPoint(second);
    book->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(first, book->MDIGetActive());
}

TEST_F(Workbook, WorkbookModeInsetsTheClientAndPaintsBorderAndTabs)
{
    TWKWorksheet* first = Sheet();
    Sheet();
    int l, r, t, b;
    book->m_pClient->SetMargins(1, 2, 3, 4);
    EXPECT_EQ(1, book->m_pClient->m_nLeft);
    EXPECT_EQ(2, book->m_pClient->m_nRight);
    EXPECT_EQ(3, book->m_pClient->m_nTop);
    EXPECT_EQ(4, book->m_pClient->m_nBottom);

    for (BOOL bOn : {TRUE, FALSE}) {
        book->SetWorkbookMode(bOn);
        EXPECT_EQ(bOn, twkWorkbookMode);
        book->m_pClient->GetMargins(l, r, t, b);
        int m = bOn ? 13 : 0;
        EXPECT_EQ(m, l);
        EXPECT_EQ(m, r);
        EXPECT_EQ(m, t);
        EXPECT_EQ(bOn ? 33 : 0, b);
        CRect rectFree = Query();
        CRect rectClient = book->GetClientWndRect();
        EXPECT_EQ(rectFree.left + m, rectClient.left) << bOn;
        EXPECT_EQ(rectFree.top + m, rectClient.top) << bOn;
        EXPECT_EQ(rectFree.right - m, rectClient.right) << bOn;
        EXPECT_EQ(rectFree.bottom - (bOn ? 33 : 0), rectClient.bottom) << bOn;
        CRect rectArea;
        book->GetTabAreaRect(&rectArea);
        EXPECT_EQ(rectFree, rectArea);

        book->nTabs = book->nBorders = 0;
        book->Invalidate();
        book->UpdateWindow();
        // Both tabs, and the active one once more on top.
        EXPECT_EQ(bOn ? 3 : 0, book->nTabs) << bOn;
        EXPECT_EQ(bOn ? 1 : 0, book->nBorders) << bOn;
    }

    // A hidden sheet draws no tab.
    book->SetWorkbookMode(TRUE);
    first->ShowWindow(SW_HIDE);
    book->nTabs = 0;
    book->Invalidate();
    book->UpdateWindow();
    EXPECT_EQ(2, book->nTabs);
}

TEST_F(Workbook, TabAndBorderAreDrawnWithTheirPens)
{
    book->SetWorkbookMode(TRUE);
    TWKWorksheet* first = Sheet();
    Sheet();
    POINT p[7];
    book->GetTabPolygon(first, p);
    CRect rc = book->GetClientWndRect();
    vt::Picture pic(rc.right + 40, p[2].y + 10);
    book->DrawTab(&pic.dc, first);
    auto color = [&pic](int n) { return ::GetNearestColor(pic.dc.m_hDC, ::GetSysColor(n)); };
    EXPECT_EQ(color(COLOR_BTNFACE), pic.At((p[0].x + p[5].x) / 2, p[0].y + 5));
    EXPECT_EQ(color(COLOR_BTNHIGHLIGHT), pic.At(p[0].x, p[0].y + 2));
    EXPECT_EQ(RGB(0, 0, 0), pic.At((p[2].x + p[3].x) / 2, p[2].y - 1));
    EXPECT_EQ(color(COLOR_BTNSHADOW), pic.At((p[2].x + p[3].x) / 2, p[2].y - 2));
    EXPECT_EQ(vt::kPictureMarker, pic.At(p[5].x + 3, p[0].y + 5));

    vt::Picture border(rc.right + 40, rc.bottom + 40);
    book->DrawWorkbookBorder(&border.dc);
    CRect r = rc;
    r.InflateRect(5, 5);
    EXPECT_EQ(color(COLOR_BTNHIGHLIGHT), border.At(r.left, (r.top + r.bottom) / 2));
    EXPECT_EQ(color(COLOR_BTNSHADOW), border.At((r.left + r.right) / 2, r.bottom - 1));
    EXPECT_EQ(RGB(0, 0, 0), border.At((r.left + r.right) / 2, r.bottom));
    EXPECT_EQ(color(COLOR_BTNSHADOW), border.At((r.left + r.right) / 2, rc.top - 13));
}

TEST_F(Workbook, ABarFloatedInTheMainWindowBecomesAWorksheetWithTheBarsIcon)
{
    book->SetWorkbookMode(TRUE);
    auto* bar = new TWKControlBar;
    bar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bar->Create(book, "Floated", WS_CHILD | WS_VISIBLE | CBRS_TOP, vt::kIdeExStyle, 0xE720));
    bar->EnableDocking(CBRS_ALIGN_ANY);
    book->DockControlBar(bar);
    HICON hIcon = ::CopyIcon(::LoadIcon(nullptr, IDI_APPLICATION));
    bar->SendMessage(WM_SETICON, ICON_BIG, (LPARAM)hIcon);
    book->FloatControlBarAsMDIChild(bar, CPoint(-1, -1), CBRS_ALIGN_TOP);
    CFrameWnd* host = bar->GetParentFrame();
    ASSERT_NE(nullptr, host);
    ASSERT_TRUE(host->IsKindOf(RUNTIME_CLASS(TWKControlBarWorksheet)));
    auto* sheet = static_cast<TWKControlBarWorksheet*>(host);
    ASSERT_EQ(1, book->m_arrSheets.GetSize());
    EXPECT_EQ(static_cast<TWKSheet*>(sheet), book->GetSheet(0));
    EXPECT_EQ(hIcon, sheet->m_hIcon);
    EXPECT_EQ(hIcon, book->GetSheetIcon(sheet));
    book->SetShowIcons(FALSE);
    EXPECT_EQ(nullptr, book->GetSheetIcon(sheet));
    // The tab shows the bar's title.
    EXPECT_STREQ("Floated", book->GetSheetTitle(sheet));

    // The bar's icon stays the bar's when the sheet goes.
    HWND hHost = host->m_hWnd;
    book->DockControlBar(bar, AFX_IDW_DOCKBAR_TOP);
    vt::PumpMessages();
    if (::IsWindow(hHost))
        ::DestroyWindow(hHost);
    EXPECT_EQ(0, book->m_arrSheets.GetSize());
    ICONINFO ii = {};
    EXPECT_TRUE(::GetIconInfo(hIcon, &ii));
    if (ii.hbmColor)
        ::DeleteObject(ii.hbmColor);
    if (ii.hbmMask)
        ::DeleteObject(ii.hbmMask);
    book->DestroyWindow();
    ::DestroyIcon(hIcon);
}

TEST_F(Workbook, TabRefreshFollowsTheActiveSheetAndTheViewCommandsToggleBars)
{
    book->SetWorkbookMode(TRUE);
    TWKWorksheet* first = Sheet();
    TWKWorksheet* second = Sheet();
    book->SendMessage(WM_TWK_TABREFRESH);
    EXPECT_EQ(1, book->m_nLastActive);
    book->UpdateWindow();
    book->MDIActivate(first);
    book->UpdateWindow();
    // The client's menu message, even one that sets no menu, refreshes the tabs.
    ::SendMessageA(book->m_hWndMDIClient, WM_TWK_CLIENTSETMENU, (WPARAM)-1, (LPARAM)-1);
    EXPECT_EQ(0, book->m_nLastActive);
    book->ValidateRect(nullptr);
    book->MDIActivate(second);
    book->ValidateRect(nullptr);
    book->nTabs = 0;
    book->SendMessage(WM_TWK_TABREFRESH);
    EXPECT_EQ(1, book->m_nLastActive);
    // The old and the new active tab repainted at once.
    EXPECT_EQ(3, book->nTabs);

    auto* toolbar = new TWKControlBar;
    toolbar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(toolbar->Create(book, "Tools", WS_CHILD | WS_VISIBLE | CBRS_TOP, vt::kIdeExStyle, AFX_IDW_TOOLBAR));
    auto* status = new TWKControlBar;
    status->m_bAutoDelete = TRUE;
    ASSERT_TRUE(status->Create(book, "Status", WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, vt::kIdeExStyle,
                               AFX_IDW_STATUS_BAR));
    for (CControlBar* pBar : {static_cast<CControlBar*>(toolbar), static_cast<CControlBar*>(status)}) {
        UINT nCmd = pBar == toolbar ? 59392 : 59393;
        ASSERT_TRUE(pBar->IsVisible());
        book->SendMessage(WM_COMMAND, nCmd);
        EXPECT_FALSE(pBar->IsVisible()) << nCmd;
        book->SendMessage(WM_COMMAND, nCmd);
        EXPECT_TRUE(pBar->IsVisible()) << nCmd;
    }
}

} // namespace
