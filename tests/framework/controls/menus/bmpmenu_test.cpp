#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/controls/menus/TWKBmpMenuPlugIn.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/frameworkres.h"
#include "tests/framework/frames/picture_fixture.h"
#include "tests/harness/harness.h"
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

const UINT kNoImageID = 0x7D70;   // a command without a toolbar image
const UINT kForeignID = 0x7D71;   // drawn by other code

// A window with a bitmap-menu plug-in fed with built messages, the images of
// the test toolbar (A B | C D E, 16 x 15) as its source.
struct BmpMenuTest : ::testing::Test {
    CWnd wnd;
    TWKBmpMenuPlugIn* pPlugIn = nullptr;
    HMENU hPopup = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        pPlugIn = new TWKBmpMenuPlugIn(TRUE);
        TWKBmpMgr* pMgr = new TWKBmpMgr;
        ASSERT_TRUE(pMgr->LoadToolBar(IDR_TWK_TEST_TOOLBAR));
        pPlugIn->SetBmpMgr(pMgr);
        pMgr->Release();   // the plug-in keeps its own reference
        ASSERT_TRUE(pPlugIn->PlugInTo(&wnd));
        hPopup = ::CreatePopupMenu();
    }
    void TearDown() override
    {
        delete pPlugIn;
        if (::IsMenu(hPopup))
            ::DestroyMenu(hPopup);
        if (wnd.m_hWnd)
            wnd.DestroyWindow();
    }

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam, BOOL* pbHandled = nullptr)
    {
        LRESULT lResult = 0;
        pPlugIn->OnWndMsg(message, wParam, lParam, &lResult);
        if (pbHandled)
            *pbHandled = pPlugIn->m_bHandled;
        pPlugIn->m_bHandled = FALSE;
        return lResult;
    }
    void Convert(HMENU hMenu, BOOL bSysMenu = FALSE) { Send(WM_INITMENUPOPUP, (WPARAM)hMenu, MAKELPARAM(0, bSysMenu)); }
    MENUITEMINFOA Item(HMENU hMenu, int nPos, char* pText = nullptr)
    {
        MENUITEMINFOA mii = { sizeof(mii), MIIM_TYPE | MIIM_ID | MIIM_DATA | MIIM_STATE };
        mii.dwTypeData = pText;
        mii.cch = pText ? 256 : 0;
        ::GetMenuItemInfoA(hMenu, nPos, TRUE, &mii);
        return mii;
    }
    TWKBmpMenuItemInfo* Record(int nPos)
    {
        return reinterpret_cast<TWKBmpMenuItemInfo*>(Item(hPopup, nPos).dwItemData);
    }
    // Draws item nPos of the popup into a fresh picture.
    void Draw(vt::Picture& pic, int nPos, UINT nState)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_MENU;
        dis.itemID = Item(hPopup, nPos).wID;
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = nState;
        dis.hwndItem = (HWND)hPopup;
        dis.hDC = pic.dc.m_hDC;
        dis.rcItem = { 0, 0, pic.cx, pic.cy };
        dis.itemData = Item(hPopup, nPos).dwItemData;
        BOOL bHandled = FALSE;
        Send(WM_DRAWITEM, 0, (LPARAM)&dis, &bHandled);
        EXPECT_TRUE(bHandled);
    }
};

TEST_F(BmpMenuTest, ConvertsStringItemsAndLeavesSystemAndForeignItemsAlone)
{
    ::AppendMenuA(hPopup, MF_STRING, ID_TWK_TEST_A, "&Alpha\tCtrl+A");
    ::AppendMenuA(hPopup, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(hPopup, MF_STRING, SC_CLOSE, "&Close");
    ::AppendMenuA(hPopup, MF_OWNERDRAW, kForeignID, reinterpret_cast<LPCSTR>(1234));
    ::AppendMenuA(hPopup, MF_STRING, kNoImageID, "&None");

    Convert(hPopup, TRUE);   // as a system menu: nothing
    EXPECT_FALSE(Item(hPopup, 0).fType & MFT_OWNERDRAW);
    EXPECT_EQ(nullptr, pPlugIn->GetMenuInfo(hPopup));

    Convert(hPopup);
    Convert(hPopup);   // a second opening adds nothing
    TWKBmpMenuInfo* pInfo = pPlugIn->GetMenuInfo(hPopup);
    ASSERT_NE(nullptr, pInfo);
    EXPECT_EQ(2, pInfo->m_listItems.GetCount());
    for (int nPos : { 0, 4 }) {
        MENUITEMINFOA mii = Item(hPopup, nPos);
        EXPECT_TRUE(mii.fType & MFT_OWNERDRAW) << nPos;
        EXPECT_TRUE(pInfo->Contains(reinterpret_cast<TWKBmpMenuItemInfo*>(mii.dwItemData))) << nPos;
    }
    EXPECT_EQ(ID_TWK_TEST_A, Record(0)->m_nID);
    EXPECT_STREQ("&Alpha\tCtrl+A", Record(0)->m_strText);
    EXPECT_EQ('A', Record(0)->m_chMnemonic);
    EXPECT_EQ('N', Record(4)->m_chMnemonic);
    EXPECT_TRUE(Item(hPopup, 1).fType & MFT_SEPARATOR);
    EXPECT_FALSE(Item(hPopup, 2).fType & MFT_OWNERDRAW);
    EXPECT_EQ(1234u, Item(hPopup, 3).dwItemData);
    EXPECT_TRUE(pPlugIn->IsForeignID(kForeignID));

    // The other owner's item is neither measured nor drawn here.
    MEASUREITEMSTRUCT mis = { ODT_MENU, 0, kForeignID, 0, 0, 1234 };
    BOOL bHandled = TRUE;
    Send(WM_MEASUREITEM, 0, (LPARAM)&mis, &bHandled);
    EXPECT_FALSE(bHandled);
}

TEST_F(BmpMenuTest, MeasuresByMenuFontAndImageSize)
{
    ::AppendMenuA(hPopup, MF_STRING, ID_TWK_TEST_A, "&Alpha\tCtrl+A");
    ::AppendMenuA(hPopup, MF_STRING, ID_TWK_TEST_B, "&Beta\tCtrl+Shift+B");
    ::AppendMenuA(hPopup, MF_STRING, ID_TWK_TEST_C, "&Gamma");
    Convert(hPopup);
    auto measure = [&](int nPos) {
        MEASUREITEMSTRUCT mis = { ODT_MENU, 0, Item(hPopup, nPos).wID, 0, 0, (ULONG_PTR)Record(nPos) };
        BOOL bHandled = FALSE;
        EXPECT_EQ(1, Send(WM_MEASUREITEM, 0, (LPARAM)&mis, &bHandled));
        EXPECT_TRUE(bHandled);
        return mis;
    };

    CClientDC dc(nullptr);
    CFont* pOld = dc.SelectObject(pPlugIn->GetMenuFont());
    auto width = [&](const char* psz) {
        RECT r = { 0, 0, 0, 0 };
        ::DrawTextA(dc.m_hDC, psz, -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
        return (UINT)r.right;
    };
    RECT r = { 0, 0, 0, 0 };
    ::DrawTextA(dc.m_hDC, "&Alpha", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
    TEXTMETRICA tm = {};
    dc.GetTextMetrics(&tm);
    // The label, a gap of two characters and the popup's widest accelerator.
    const UINT cxColumn = std::max(width("Ctrl+A"), width("Ctrl+Shift+B"));
    const UINT cxImageAndMargins = 16 + 30;
    const UINT expected[] = { width("&Alpha") + 2 * tm.tmAveCharWidth + cxColumn + cxImageAndMargins,
                              width("&Beta") + 2 * tm.tmAveCharWidth + cxColumn + cxImageAndMargins,
                              width("&Gamma") + cxImageAndMargins };
    dc.SelectObject(pOld);
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(expected[i], measure(i).itemWidth) << i;
    UINT nMin = (UINT)std::max(::GetSystemMetrics(SM_CYMENU), 15 + 4);
    EXPECT_EQ(std::max((UINT)r.bottom, nMin), measure(0).itemHeight);
}

// Every state draws the accelerator as a glyph run of its own, right-aligned
// to the popup's one edge: no glyph (the tab's) between label and accelerator.
TEST_F(BmpMenuTest, AcceleratorsStandRightAlignedInAColumnOfTheirOwn)
{
    struct Entry { UINT nID; const char *pszText, *pszLabel, *pszAccel; };
    const Entry entries[] = { { ID_TWK_TEST_A, "&Alpha\tCtrl+N", "Alpha", "Ctrl+N" },
                              { ID_TWK_TEST_B, "B&eta\tF7", "Beta", "F7" },
                              { kNoImageID, "&Gamma\tCtrl+Shift+F7", "Gamma", "Ctrl+Shift+F7" } };
    for (const Entry& e : entries)
        ::AppendMenuA(hPopup, MF_STRING, e.nID, e.pszText);
    Convert(hPopup);
    UINT cxMenu = 0;
    for (int i = 0; i < 3; i++) {
        MEASUREITEMSTRUCT mis = { ODT_MENU, 0, entries[i].nID, 0, 0, (ULONG_PTR)Record(i) };
        Send(WM_MEASUREITEM, 0, (LPARAM)&mis);
        cxMenu = std::max(cxMenu, mis.itemWidth);
    }
    CClientDC screen(nullptr);
    CFont* pOld = screen.SelectObject(pPlugIn->GetMenuFont());
    auto extent = [&](const char* psz) { return (int)screen.GetTextExtent(psz, (int)strlen(psz)).cx; };

    struct State { const char* name; UINT nState; int nColour; };
    const State states[] = { { "normal", 0, COLOR_MENUTEXT },
                             { "selected", ODS_SELECTED, COLOR_HIGHLIGHTTEXT },
                             { "greyed", ODS_GRAYED, COLOR_GRAYTEXT } };
    const int cy = 22;
    for (const State& st : states) {
        int nRight = -1;
        for (int i = 0; i < 3; i++) {
            SCOPED_TRACE(std::string(st.name) + " " + entries[i].pszText);
            vt::Picture pic((int)cxMenu, cy);
            Draw(pic, i, st.nState);
            const COLORREF clr = ::GetSysColor(st.nColour);
            // Right of the image column (x 1..20), where only text is drawn.
            std::pair<int, int> cols(pic.cx, -1);
            for (int x = 22; x < pic.cx; x++)
                for (int y = 0; y < cy; y++)
                    if (pic.At(x, y) == clr) {
                        cols.first = std::min(cols.first, x);
                        cols.second = std::max(cols.second, x);
                    }
            ASSERT_LT(cols.first, cols.second);
            // The text run ends at one edge for every item of the popup.
            if (nRight < 0)
                nRight = cols.second;
            EXPECT_EQ(nRight, cols.second);
            // Between the label's end and the accelerator's start: nothing.
            int xLabelEnd = cols.first + extent(entries[i].pszLabel);
            int xAccel = cols.second + 1 - extent(entries[i].pszAccel);
            ASSERT_LT(xLabelEnd + 1, xAccel - 1);
            int nStray = 0;
            for (int x = xLabelEnd + 1; x < xAccel - 1; x++)
                for (int y = 0; y < cy; y++)
                    nStray += pic.At(x, y) == clr;
            EXPECT_EQ(0, nStray);
        }
    }
    screen.SelectObject(pOld);
}

// The leftmost column holding the menu text colour at or right of x.
int FirstTextColumn(const vt::Picture& pic, int x, COLORREF clr)
{
    for (; x < pic.cx; x++)
        for (int y = 0; y < pic.cy; y++)
            if (pic.At(x, y) == clr)
                return x;
    return -1;
}

TEST_F(BmpMenuTest, DrawsImageColumnCheckedDisabledAndAccelerator)
{
    ::AppendMenuA(hPopup, MF_STRING, ID_TWK_TEST_A, "Alpha\tCtrl+A");
    ::AppendMenuA(hPopup, MF_STRING, kNoImageID, "Alpha");
    Convert(hPopup);
    const COLORREF clrMenu = ::GetSysColor(COLOR_MENU), clrText = ::GetSysColor(COLOR_MENUTEXT);
    const COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE), clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW), kRed = RGB(255, 0, 0);
    const int cy = 22;
    // Image column x 1..20; the box from y 1, the image at (3, 3); its red
    // block at columns and rows 3..11 of the image.
    auto countIn = [](const vt::Picture& p, int x0, int y0, int x1, int y1, COLORREF clr) {
        int n = 0;
        for (int y = y0; y <= y1; y++)
            for (int x = x0; x <= x1; x++)
                n += p.At(x, y) == clr;
        return n;
    };

    // Without an image the text still starts after an image column.
    vt::Picture plain(200, cy), noImage(200, cy), noImageSel(200, cy);
    Draw(plain, 0, 0);
    Draw(noImage, 1, 0);
    Draw(noImageSel, 1, ODS_SELECTED);
    int xText = FirstTextColumn(plain, 22, clrText);
    EXPECT_GT(xText, 21);
    EXPECT_EQ(xText, FirstTextColumn(noImage, 0, clrText));
    EXPECT_EQ(20 * cy, countIn(noImage, 1, 0, 20, cy - 1, clrMenu));
    EXPECT_EQ(20 * cy, countIn(noImageSel, 1, 0, 20, cy - 1, ::GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_EQ(81, countIn(plain, 6, 6, 14, 14, kRed));

    // Checked: a sunken box, the image's background dithered; selected, no dither.
    vt::Picture checked(200, cy), checkedSel(200, cy);
    Draw(checked, 0, ODS_CHECKED);
    Draw(checkedSel, 0, ODS_CHECKED | ODS_SELECTED);
    EXPECT_EQ(clrShadow, checked.At(1, 1));
    EXPECT_EQ(clrShadow, checkedSel.At(1, 1));
    EXPECT_EQ(81, countIn(checked, 6, 6, 14, 14, kRed));
    if (clrFace != clrHilite) {
        EXPECT_GT(countIn(checked, 3, 3, 18, 17, clrHilite), 0);
        EXPECT_EQ(0, countIn(checkedSel, 3, 3, 18, 17, clrHilite));
    }

    // Disabled: embossed, no colour left.
    vt::Picture disabled(200, cy);
    Draw(disabled, 0, ODS_DISABLED);
    EXPECT_EQ(0, countIn(disabled, 3, 3, 18, 17, kRed));
    EXPECT_EQ(clrShadow, disabled.At(6, 6));
    EXPECT_EQ(clrHilite, disabled.At(15, 15));

    // The accelerator ends 23 pixels before the right edge, right-aligned as
    // the platform draws it there.
    vt::Picture ref(200, cy);
    ref.dc.FillSolidRect(0, 0, 200, cy, clrMenu);
    CFont* pOld = ref.dc.SelectObject(pPlugIn->GetMenuFont());
    ref.dc.SetTextColor(clrText);
    ref.dc.SetBkMode(TRANSPARENT);
    RECT r = { 100, 0, 200 - 23, cy };
    ::DrawTextA(ref.dc.m_hDC, "Ctrl+A", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    ref.dc.SelectObject(pOld);
    EXPECT_EQ(ref.Columns(clrText).second, plain.Columns(clrText).second);
    EXPECT_GE(plain.Columns(clrText).second, 150);
}

TEST_F(BmpMenuTest, MenuCharExecutesOneMatchAndSelectsTheNextOfSeveral)
{
    ::AppendMenuA(hPopup, MF_STRING, 0x7D80, "&Open");
    ::AppendMenuA(hPopup, MF_STRING, 0x7D81, "&Close");
    ::AppendMenuA(hPopup, MF_STRING, 0x7D82, "O&ther");
    ::AppendMenuA(hPopup, MF_STRING, 0x7D83, "&\xE9t\xE9");
    Convert(hPopup);
    struct Case { char ch; int nHilite; LRESULT lExpected; } cases[] = {
        { 'c', -1, MAKELRESULT(1, MNC_EXECUTE) },
        { 'C', -1, MAKELRESULT(1, MNC_EXECUTE) },
        { 'o', -1, MAKELRESULT(0, MNC_EXECUTE) },   // "O&ther" answers 't'
        { 't', -1, MAKELRESULT(2, MNC_EXECUTE) },
        { 'x', -1, 0 },
        { '\xE9', -1, MAKELRESULT(3, MNC_EXECUTE) },   // above 127: folded as unsigned
    };
    for (const Case& c : cases) {
        BOOL bHandled = FALSE;
        EXPECT_EQ(c.lExpected, Send(WM_MENUCHAR, MAKEWPARAM((BYTE)c.ch, MF_POPUP), (LPARAM)hPopup, &bHandled))
            << c.ch;
        EXPECT_EQ(c.lExpected != 0, bHandled) << c.ch;
    }
    // With "&Open" highlighted the next 'O' item is selected, and after the
    // last the first again.
    ::AppendMenuA(hPopup, MF_STRING, 0x7D84, "&Other");
    Convert(hPopup);
    for (auto [nHilite, nExpected] : { std::pair<int, int>{ 0, 4 }, { 4, 0 } }) {
        for (int i = 0; i < ::GetMenuItemCount(hPopup); i++) {
            MENUITEMINFOA mii = { sizeof(mii), MIIM_STATE };
            mii.fState = i == nHilite ? MFS_HILITE : 0;
            ::SetMenuItemInfoA(hPopup, i, TRUE, &mii);
        }
        EXPECT_EQ(MAKELRESULT(nExpected, MNC_SELECT), Send(WM_MENUCHAR, MAKEWPARAM('o', MF_POPUP), (LPARAM)hPopup));
    }
}

TEST(BmpMenuMnemonic, LeadBytesGiveNoMnemonic)
{
    // Shift-JIS: 0x82 leads a double-byte character.
    EXPECT_EQ(0, TWKFindMnemonic("&\x82\xA0x", 932));
    EXPECT_EQ(0, TWKFoldMnemonic('\x82', 932));
    EXPECT_EQ('Y', TWKFindMnemonic("\x82&x&y", 932));   // that '&' is a trail byte
    EXPECT_EQ('Y', TWKFindMnemonic("\x82&&y", 932));
    EXPECT_EQ('A', TWKFindMnemonic("a&&b&a"));
    EXPECT_EQ('A', TWKFoldMnemonic('a', 1252));
    EXPECT_EQ(0, TWKFindMnemonic("no mnemonic\t&Ctrl"));
}

TEST_F(BmpMenuTest, IdlePurgesRecordsOfRemovedItemsAndDestroyedMenus)
{
    HMENU hOther = ::CreatePopupMenu();
    ::AppendMenuA(hOther, MF_STRING, ID_TWK_TEST_B, "&Beta");
    ::AppendMenuA(hPopup, MF_STRING, ID_TWK_TEST_A, "&Alpha");
    ::AppendMenuA(hPopup, MF_STRING, ID_TWK_TEST_C, "&Gamma");
    Convert(hPopup);
    Convert(hOther);
    ASSERT_NE(nullptr, pPlugIn->GetMenuInfo(hOther));
    ::DestroyMenu(hOther);
    ::DeleteMenu(hPopup, 0, MF_BYPOSITION);
    Send(WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(nullptr, pPlugIn->GetMenuInfo(hOther));
    TWKBmpMenuInfo* pInfo = pPlugIn->GetMenuInfo(hPopup);
    ASSERT_NE(nullptr, pInfo);
    ASSERT_EQ(1, pInfo->m_listItems.GetCount());
    EXPECT_EQ((UINT)ID_TWK_TEST_C, static_cast<TWKBmpMenuItemInfo*>(pInfo->m_listItems.GetHead())->m_nID);
}

TEST_F(BmpMenuTest, DestroyingThePlugInRestoresStringItems)
{
    ::AppendMenuA(hPopup, MF_STRING, ID_TWK_TEST_A, "&Alpha\tCtrl+A");
    ::AppendMenuA(hPopup, MF_STRING | MF_CHECKED, ID_TWK_TEST_B, "&Beta");
    Convert(hPopup);
    delete pPlugIn;
    pPlugIn = nullptr;
    const char* texts[] = { "&Alpha\tCtrl+A", "&Beta" };
    for (int i = 0; i < 2; i++) {
        char sz[256] = "";
        MENUITEMINFOA mii = Item(hPopup, i, sz);
        EXPECT_FALSE(mii.fType & MFT_OWNERDRAW) << i;
        EXPECT_STREQ(texts[i], sz);
    }
    EXPECT_TRUE(Item(hPopup, 1).fState & MFS_CHECKED);
}

TEST_F(BmpMenuTest, RadioItemsShowTheReplacedDot)
{
    HBITMAP hDot = AfxGetRadioDotBitmap();
    BITMAP bm = {};
    ASSERT_TRUE(::GetObjectA(hDot, sizeof(bm), &bm));
    EXPECT_EQ(16, bm.bmWidth);
    EXPECT_EQ(15, bm.bmHeight);
    EXPECT_EQ(1, bm.bmBitsPixel);
    BYTE bits[30] = {};
    ASSERT_EQ(30, ::GetBitmapBits(hDot, sizeof(bits), bits));
    const WORD rows[15] = { 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFE7F, 0xFC3F, 0xFC3F, 0xFC3F, 0xFE7F,
                            0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF };
    for (int r = 0; r < 15; r++)
        EXPECT_EQ(rows[r], (WORD)((bits[r * 2] << 8) | bits[r * 2 + 1])) << r;

    ::AppendMenuA(hPopup, MF_STRING, kNoImageID, "&Radio");
    CCmdUI ui;
    ui.m_nID = kNoImageID;
    ui.m_nIndex = 0;
    ui.m_nIndexMax = 1;
    ui.m_pMenu = CMenu::FromHandle(hPopup);
    ui.SetRadio(TRUE);
    Convert(hPopup);
    vt::Picture pic(200, 22);
    Draw(pic, 0, ODS_CHECKED);
    // The dot's centre (column 7, row 6 of the mark drawn at 3, 3) in the text colour.
    EXPECT_EQ(::GetSysColor(COLOR_MENUTEXT), pic.At(3 + 7, 3 + 6));
    EXPECT_NE(::GetSysColor(COLOR_MENUTEXT), pic.At(3 + 2, 3 + 6));
}

} // namespace
