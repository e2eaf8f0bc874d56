// Bitmap menus: popup items become owner-drawn, each command showing its
// toolbar image in a column left of its text.
#include "framework/controls/menus/TWKBmpMenuPlugIn.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKStdBtn.h"
#include <algorithm>

// System bitmaps (declared by the platform headers only with OEMRESOURCE).
#ifndef OBM_CHECK
#define OBM_CHECK   32760
#endif
#ifndef OBM_MNARROW
#define OBM_MNARROW 32739
#endif

IMPLEMENT_DYNAMIC(TWKBmpMenuItemInfo, CObject)
IMPLEMENT_DYNAMIC(TWKBmpMenuPlugIn, TWKWndPlugIn)

namespace {

// The colours every bitmap menu draws with; read again on a colour change.
struct MenuColours
{
    COLORREF clrBtnFace, clrBtnHilite, clrBtnHilite2, clrBtnShadow;
    COLORREF clrHighlight, clrMenu, clrGrayText, clrHighlightText, clrMenuText;

    void Read()
    {
        clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
        clrBtnHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
        clrBtnHilite2 = ::GetSysColor(COLOR_BTNHIGHLIGHT);
        clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
        clrHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
        clrMenu = ::GetSysColor(COLOR_MENU);
        clrGrayText = ::GetSysColor(COLOR_GRAYTEXT);
        clrHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        clrMenuText = ::GetSysColor(COLOR_MENUTEXT);
    }
};
MenuColours g_colours;

// The radio-item dot this layer shows in place of the framework's default.
HBITMAP g_hRadioDot = nullptr;

// A menu item's text: the label, and the accelerator after the first tab
// (the tab itself is no glyph of either).
void SplitMenuText(const CString& strText, CString& strLabel, CString& strAccel)
{
    int nTab = strText.Find('\t');
    strLabel = nTab < 0 ? strText : strText.Left(nTab);
    strAccel = nTab < 0 ? CString() : strText.Mid(nTab + 1);
}

// The size a single-line text takes in the DC's font, as DrawText lays it out.
CSize MenuTextSize(HDC hDC, const CString& strText)
{
    RECT rect = { 0, 0, 0, 0 };
    ::DrawTextA(hDC, strText, strText.GetLength(), &rect, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
    return CSize(rect.right - rect.left, rect.bottom - rect.top);
}

void RebuildRadioDot()
{
    // 16 x 15, white but for a round dot in rows 4 to 8; rows are words, the
    // leftmost pixel in the high bit.
    static const WORD kRowMasks[5] = { 0x6, 0xF, 0xF, 0xF, 0x6 };
    BYTE bits[15 * 2];
    for (int row = 0; row < 15; row++) {
        WORD w = 0xFFFF;
        if (row >= 4 && row <= 8)
            w = (WORD)~(kRowMasks[row - 4] << 6);
        bits[row * 2] = HIBYTE(w);
        bits[row * 2 + 1] = LOBYTE(w);
    }
    HBITMAP hNew = ::CreateBitmap(16, 15, 1, 1, bits);
    if (!hNew)
        hNew = ::LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_MNARROW));
    AfxSetRadioDotBitmap(hNew);
    if (g_hRadioDot)
        ::DeleteObject(g_hRadioDot);
    g_hRadioDot = hNew;
}

void FillRect(HDC hDC, const RECT& rect, COLORREF clr)
{
    COLORREF clrOld = ::SetBkColor(hDC, clr);
    ::ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(hDC, clrOld);
}

const UINT kMaxMenuText = 256;

} // namespace

// ---- mnemonics

char TWKFoldMnemonic(char ch, UINT nCodePage)
{
    BYTE b = (BYTE)ch;
    if (!b || ::IsDBCSLeadByteEx(nCodePage, b))
        return 0;
    // CharUpper takes a single character in the low word of its argument.
    return (char)(BYTE)(UINT_PTR)::CharUpperA((LPSTR)(UINT_PTR)b);
}

char TWKFindMnemonic(LPCSTR lpszText, UINT nCodePage)
{
    if (!lpszText)
        return 0;
    for (const char* p = lpszText; *p; p++) {
        if (*p == '\t')
            return 0;
        if (*p == '&') {
            if (p[1] == '&') {
                p++;
                continue;
            }
            return TWKFoldMnemonic(p[1], nCodePage);
        }
        // The trail byte of a double-byte character is no '&'.
        if (::IsDBCSLeadByteEx(nCodePage, (BYTE)*p) && p[1])
            p++;
    }
    return 0;
}

// ---- records

TWKBmpMenuInfo::~TWKBmpMenuInfo()
{
    for (POSITION pos = m_listItems.GetHeadPosition(); pos;)
        delete static_cast<TWKBmpMenuItemInfo*>(m_listItems.GetNext(pos));
    m_listItems.RemoveAll();
}

BOOL TWKBmpMenuInfo::Contains(const TWKBmpMenuItemInfo* pItem) const
{
    return pItem && m_listItems.Find(const_cast<TWKBmpMenuItemInfo*>(pItem)) != nullptr;
}

// ---- the plug-in

BEGIN_MESSAGE_MAP(TWKBmpMenuPlugIn, TWKWndPlugIn)
    ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopupMsg)
    ON_MESSAGE(WM_MEASUREITEM, OnMeasureItemMsg)
    ON_MESSAGE(WM_DRAWITEM, OnDrawItemMsg)
    ON_MESSAGE(WM_MENUCHAR, OnMenuCharMsg)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChangeMsg)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChangeMsg)
END_MESSAGE_MAP()

TWKBmpMenuPlugIn::TWKBmpMenuPlugIn(BOOL bFrameworkCheck) : m_bFrameworkCheck(bFrameworkCheck)
{
    m_mapMenuInfo.InitHashTable(17);
    m_mapForeignIDs.InitHashTable(17);
    g_colours.Read();
    if (bFrameworkCheck)
        RebuildRadioDot();
    m_pBmpMgr = new TWKBmpMgr;
    m_pBmpMgr->SetKeepSmall(TRUE);
}

TWKBmpMenuPlugIn::~TWKBmpMenuPlugIn()
{
    // Converted items that outlive us become plain string items again.
    for (POSITION pos = m_mapMenuInfo.GetStartPosition(); pos;) {
        HMENU hMenu;
        TWKBmpMenuInfo* pInfo;
        m_mapMenuInfo.GetNextAssoc(pos, hMenu, pInfo);
        if (::IsMenu(hMenu)) {
            int nCount = ::GetMenuItemCount(hMenu);
            for (int i = 0; i < nCount; i++) {
                MENUITEMINFOA mii = { sizeof(mii), MIIM_TYPE | MIIM_DATA };
                if (!::GetMenuItemInfoA(hMenu, i, TRUE, &mii) || !(mii.fType & MFT_OWNERDRAW))
                    continue;
                auto* pItem = reinterpret_cast<TWKBmpMenuItemInfo*>(mii.dwItemData);
                if (!pInfo->Contains(pItem))
                    continue;
                MENUITEMINFOA set = { sizeof(set), MIIM_TYPE | MIIM_DATA };
                set.fType = mii.fType & ~MFT_OWNERDRAW;
                set.dwTypeData = const_cast<LPSTR>((LPCSTR)pItem->m_strText);
                set.dwItemData = 0;
                ::SetMenuItemInfoA(hMenu, i, TRUE, &set);
            }
        }
        delete pInfo;
    }
    m_mapMenuInfo.RemoveAll();
    m_pBmpMgr->Release();
    if (m_hDitherBrush)
        ::DeleteObject(m_hDitherBrush);
}

void TWKBmpMenuPlugIn::SetBmpMgr(TWKBmpMgr* pMgr)
{
    if (!pMgr || pMgr == m_pBmpMgr)
        return;
    pMgr->AddRef();
    m_pBmpMgr->Release();
    m_pBmpMgr = pMgr;
    m_pBmpMgr->SetKeepSmall(TRUE);
}

CFont* TWKBmpMenuPlugIn::GetMenuFont()
{
    if (!m_fontMenu.m_hObject)
        CreateMenuFont();
    return &m_fontMenu;
}

CFont* TWKBmpMenuPlugIn::GetMenuFontBold()
{
    if (!m_fontMenuBold.m_hObject)
        CreateMenuFontBold();
    return &m_fontMenuBold;
}

static BOOL ReadMenuLogFont(LOGFONTA* pLogFont)
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        return ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTA), pLogFont) != 0;
    *pLogFont = ncm.lfMenuFont;
    return TRUE;
}

void TWKBmpMenuPlugIn::CreateMenuFont()
{
    m_fontMenu.DeleteObject();
    LOGFONTA lf;
    if (ReadMenuLogFont(&lf))
        m_fontMenu.CreateFontIndirect(&lf);
}

void TWKBmpMenuPlugIn::CreateMenuFontBold()
{
    m_fontMenuBold.DeleteObject();
    LOGFONTA lf;
    if (ReadMenuLogFont(&lf)) {
        lf.lfWeight = FW_BOLD;
        m_fontMenuBold.CreateFontIndirect(&lf);
    }
}

TWKBmpMenuInfo* TWKBmpMenuPlugIn::GetMenuInfo(HMENU hMenu) const
{
    TWKBmpMenuInfo* pInfo = nullptr;
    return m_mapMenuInfo.Lookup(hMenu, pInfo) ? pInfo : nullptr;
}

BOOL TWKBmpMenuPlugIn::IsForeignID(UINT nID) const
{
    UINT nDummy;
    return m_mapForeignIDs.Lookup(nID, nDummy);
}

// ---- converting

void TWKBmpMenuPlugIn::HandleInitMenuPopup(HMENU hPopup, LPARAM lParam)
{
    if (hPopup && !HIWORD(lParam))
        ConvertPopup(hPopup);
}

LRESULT TWKBmpMenuPlugIn::OnInitMenuPopupMsg(WPARAM wParam, LPARAM lParam)
{
    // Not marked handled: the frame still updates the popup's commands.
    HandleInitMenuPopup((HMENU)wParam, lParam);
    return 0;
}

void TWKBmpMenuPlugIn::ConvertPopup(HMENU hPopup)
{
    if (!::IsMenu(hPopup))
        return;
    TWKBmpMenuInfo* pInfo = GetMenuInfo(hPopup);
    if (!pInfo) {
        pInfo = new TWKBmpMenuInfo(hPopup);
        m_mapMenuInfo.SetAt(hPopup, pInfo);
    }
    int nCount = ::GetMenuItemCount(hPopup);
    for (int i = 0; i < nCount; i++) {
        char szText[kMaxMenuText] = "";
        MENUITEMINFOA mii = { sizeof(mii), MIIM_TYPE | MIIM_ID };
        mii.dwTypeData = szText;
        mii.cch = kMaxMenuText;
        if (!::GetMenuItemInfoA(hPopup, i, TRUE, &mii))
            continue;
        szText[kMaxMenuText - 1] = 0;
        if (IsForeignID(mii.wID))
            continue;
        if (mii.fType & MFT_OWNERDRAW) {
            // Drawn by somebody else unless it is one of this popup's records.
            BOOL bOurs = FALSE;
            for (POSITION pos = pInfo->m_listItems.GetHeadPosition(); pos && !bOurs;)
                bOurs = static_cast<TWKBmpMenuItemInfo*>(pInfo->m_listItems.GetNext(pos))->m_nID == mii.wID;
            if (!bOurs)
                m_mapForeignIDs.SetAt(mii.wID, mii.wID);
            continue;
        }
        if (mii.fType & (MFT_BITMAP | MFT_SEPARATOR))
            continue;
        if (mii.wID >= 0xF000 && mii.wID < 0xFF00)
            continue;
        auto* pItem = new TWKBmpMenuItemInfo;
        pItem->m_nID = mii.wID;
        pItem->m_strText = szText;
        pItem->m_chMnemonic = TWKFindMnemonic(szText);
        MENUITEMINFOA set = { sizeof(set), MIIM_TYPE | MIIM_DATA };
        set.fType = mii.fType | MFT_OWNERDRAW;
        set.dwItemData = (ULONG_PTR)pItem;
        if (!::SetMenuItemInfoA(hPopup, i, TRUE, &set)) {
            delete pItem;
            continue;
        }
        pInfo->m_listItems.AddTail(pItem);
    }
}

// ---- measuring and drawing

LRESULT TWKBmpMenuPlugIn::OnMeasureItemMsg(WPARAM, LPARAM lParam)
{
    auto* pMIS = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (!pMIS || pMIS->CtlType != ODT_MENU || IsForeignID(pMIS->itemID))
        return 0;
    // Only our own records: another owner's item data is not ours to read.
    auto* pItem = reinterpret_cast<TWKBmpMenuItemInfo*>(pMIS->itemData);
    TWKBmpMenuInfo* pOwner = nullptr;
    for (POSITION pos = m_mapMenuInfo.GetStartPosition(); pos && !pOwner;) {
        HMENU hMenu;
        TWKBmpMenuInfo* pInfo;
        m_mapMenuInfo.GetNextAssoc(pos, hMenu, pInfo);
        if (pInfo->Contains(pItem))
            pOwner = pInfo;
    }
    if (!pOwner)
        return 0;
    HDC hDC = ::GetDC(nullptr);
    HGDIOBJ hOldFont = ::SelectObject(hDC, GetMenuFont()->m_hObject);
    CString strLabel, strAccel;
    SplitMenuText(pItem->m_strText, strLabel, strAccel);
    CSize sizeLabel = MenuTextSize(hDC, strLabel);
    int cxText = sizeLabel.cx;
    // The widest accelerator of the popup sets the column every accelerator
    // is right-aligned in; the label keeps a gap of two characters from it.
    if (!strAccel.IsEmpty()) {
        int cxColumn = 0;
        for (POSITION pos = pOwner->m_listItems.GetHeadPosition(); pos;) {
            auto* pOther = static_cast<TWKBmpMenuItemInfo*>(pOwner->m_listItems.GetNext(pos));
            CString strOtherLabel, strOtherAccel;
            SplitMenuText(pOther->m_strText, strOtherLabel, strOtherAccel);
            if (!strOtherAccel.IsEmpty())
                cxColumn = std::max(cxColumn, (int)MenuTextSize(hDC, strOtherAccel).cx);
        }
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(hDC, &tm);
        cxText += 2 * tm.tmAveCharWidth + cxColumn;
    }
    ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(nullptr, hDC);
    CSize sizeImage = m_pBmpMgr->GetSmallImageSize();
    int nTextHeight = sizeLabel.cy;
    int nMinHeight = std::max(::GetSystemMetrics(SM_CYMENU), (int)sizeImage.cy + 4);
    pMIS->itemWidth = cxText + sizeImage.cx + 30;
    pMIS->itemHeight = nTextHeight > nMinHeight ? nTextHeight : nMinHeight;
    m_bHandled = TRUE;
    return 1;
}

LRESULT TWKBmpMenuPlugIn::OnDrawItemMsg(WPARAM, LPARAM lParam)
{
    auto* pDIS = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    if (!pDIS || pDIS->CtlType != ODT_MENU || IsForeignID(pDIS->itemID))
        return 0;
    HMENU hMenu = (HMENU)pDIS->hwndItem;
    TWKBmpMenuInfo* pInfo = ::IsMenu(hMenu) ? GetMenuInfo(hMenu) : nullptr;
    if (!pInfo || !pInfo->Contains(reinterpret_cast<TWKBmpMenuItemInfo*>(pDIS->itemData)))
        return 0;
    DrawMenuItem(pDIS);
    m_bHandled = TRUE;
    return 1;
}

void TWKBmpMenuPlugIn::DrawMenuItem(DRAWITEMSTRUCT* pDIS)
{
    auto* pItem = reinterpret_cast<TWKBmpMenuItemInfo*>(pDIS->itemData);
    CDC* pDC = CDC::FromHandle(pDIS->hDC);
    HDC hDC = pDIS->hDC;
    BOOL bSelected = (pDIS->itemState & ODS_SELECTED) != 0;
    BOOL bDisabled = (pDIS->itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    BOOL bChecked = (pDIS->itemState & ODS_CHECKED) != 0;

    CString strLabel, strAccel;
    SplitMenuText(pItem->m_strText, strLabel, strAccel);

    HBITMAP hImages = nullptr;
    int nImage = -1;
    if (!m_pBmpMgr->GetBitmap(pItem->m_nID, &hImages, &nImage, TRUE))
        nImage = -1;

    CFont* pFont = (pDIS->itemState & ODS_DEFAULT) ? GetMenuFontBold() : GetMenuFont();
    HGDIOBJ hOldFont = ::SelectObject(hDC, pFont->m_hObject);
    COLORREF clrOldText = ::SetTextColor(hDC, g_colours.clrMenuText);
    COLORREF clrOldBk = ::SetBkColor(hDC, g_colours.clrMenu);
    RECT rect = pDIS->rcItem;
    rect.left += 1;

    CSize sizeImage = m_pBmpMgr->GetSmallImageSize();
    BOOL bImage = nImage != -1 && hImages;
    if (bImage) {
        CBitmap* pBitmap = CBitmap::FromHandle(hImages);
        DrawItemImage(pDIS, pDC, &rect, pBitmap, nImage, sizeImage.cx, sizeImage.cy);
    } else {
        MENUITEMINFOA mii = { sizeof(mii), MIIM_CHECKMARKS };
        ::GetMenuItemInfoA((HMENU)pDIS->hwndItem, pItem->m_nID, FALSE, &mii);
        HBITMAP hMark = bChecked ? mii.hbmpChecked : mii.hbmpUnchecked;
        BOOL bOwnMark = FALSE;
        if (bChecked && !hMark) {
            if (m_bFrameworkCheck)
                hMark = ::CreateMappedBitmap(AfxGetResourceHandle(), IDB_TWK_MENUCHECK, 0, nullptr, 0);
            if (!hMark)
                hMark = ::LoadBitmapA(nullptr, MAKEINTRESOURCEA(OBM_CHECK));
            bOwnMark = hMark != nullptr;
        }
        BITMAP bm = {};
        if (hMark && ::GetObjectA(hMark, sizeof(bm), &bm)) {
            DrawItemImage(pDIS, pDC, &rect, CBitmap::FromHandle(hMark), 0, bm.bmWidth, bm.bmHeight);
        } else {
            DrawItemImage(pDIS, pDC, &rect, nullptr, -1, sizeImage.cx, sizeImage.cy);
        }
        if (bOwnMark)
            ::DeleteObject(hMark);
    }

    // A one-pixel gap between the image column and the text.
    RECT rectGap = { rect.left, rect.top, rect.left + 1, rect.bottom };
    FillRect(hDC, rectGap, (bSelected && !bImage) ? g_colours.clrHighlight : g_colours.clrMenu);
    rect.left += 1;

    FillRect(hDC, rect, bSelected ? g_colours.clrHighlight : g_colours.clrMenu);
    int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    rect.left += 1;
    rect.right -= 23;
    const UINT nLabelFlags = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    const UINT nAccelFlags = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
    auto drawTexts = [&](const RECT& r, COLORREF clr) {
        RECT rl = r, ra = r;
        ::SetTextColor(hDC, clr);
        ::DrawTextA(hDC, strLabel, strLabel.GetLength(), &rl, nLabelFlags);
        if (!strAccel.IsEmpty())
            ::DrawTextA(hDC, strAccel, strAccel.GetLength(), &ra, nAccelFlags);
    };
    if (!bDisabled) {
        drawTexts(rect, bSelected ? g_colours.clrHighlightText : g_colours.clrMenuText);
    } else if (!bSelected) {
        RECT rectEmboss = rect;
        ::OffsetRect(&rectEmboss, 1, 1);
        drawTexts(rectEmboss, g_colours.clrBtnHilite);
        drawTexts(rect, g_colours.clrGrayText);
    } else {
        drawTexts(rect, g_colours.clrMenu);
    }
    ::SetBkMode(hDC, nOldMode);
    ::SetTextColor(hDC, clrOldText);
    ::SetBkColor(hDC, clrOldBk);
    ::SelectObject(hDC, hOldFont);
}

void TWKBmpMenuPlugIn::DrawItemImage(DRAWITEMSTRUCT* pDIS, CDC* pDC, RECT* pRect, CBitmap* pBitmap, int nImage,
                                     int cx, int cy)
{
    HDC hDC = pDC->m_hDC;
    RECT column = *pRect;
    column.right = column.left + cx + 4;
    pRect->left = column.right;
    BOOL bSelected = (pDIS->itemState & ODS_SELECTED) != 0;
    BOOL bDisabled = (pDIS->itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    BOOL bChecked = (pDIS->itemState & ODS_CHECKED) != 0;
    if (nImage == -1 || !pBitmap) {
        FillRect(hDC, column, bSelected ? g_colours.clrHighlight : g_colours.clrMenu);
        return;
    }
    FillRect(hDC, column, g_colours.clrMenu);
    RECT box = column;
    box.top = column.top + ((column.bottom - column.top) - (cy + 4)) / 2;
    box.bottom = box.top + cy + 4;
    if (bChecked)
        ::DrawEdge(hDC, &box, BDR_SUNKENOUTER, BF_RECT);
    else if (bSelected && !bDisabled)
        ::DrawEdge(hDC, &box, BDR_RAISEDINNER, BF_RECT);
    ::InflateRect(&box, -1, -1);
    int x = box.left + 1, y = box.top + 1;
    CDC dcSrc;
    if (!dcSrc.CreateCompatibleDC(pDC))
        return;
    HGDIOBJ hOld = ::SelectObject(dcSrc.m_hDC, pBitmap->m_hObject);
    int xSrc = nImage * cx;
    if (bDisabled) {
        DrawDisabledImage(pDC, x, y, cx, cy, &dcSrc, xSrc);
    } else {
        ::BitBlt(hDC, x, y, cx, cy, dcSrc.m_hDC, xSrc, 0, SRCCOPY);
        if (bChecked && !bSelected)
            DrawCheckedImage(pDC, x, y, cx, cy, &dcSrc, xSrc);
    }
    ::SelectObject(dcSrc.m_hDC, hOld);
}

BOOL TWKBmpMenuPlugIn::CreateImageMask(CDC* pSrcDC, CDC* pMaskDC, CBitmap* pMask, HBITMAP* phOld, int cx, int cy,
                                       int xSrc)
{
    if (!pMaskDC->CreateCompatibleDC(pSrcDC))
        return FALSE;
    if (!pMask->CreateBitmap(cx, cy, 1, 1, nullptr)) {
        pMaskDC->DeleteDC();
        return FALSE;
    }
    *phOld = (HBITMAP)::SelectObject(pMaskDC->m_hDC, pMask->m_hObject);
    ::PatBlt(pMaskDC->m_hDC, 0, 0, cx, cy, WHITENESS);
    // A colour-to-mono copy turns the background colour white, all else black.
    COLORREF clrOld = ::SetBkColor(pSrcDC->m_hDC, g_colours.clrBtnFace);
    ::BitBlt(pMaskDC->m_hDC, 0, 0, cx, cy, pSrcDC->m_hDC, xSrc, 0, SRCCOPY);
    ::SetBkColor(pSrcDC->m_hDC, g_colours.clrBtnHilite);
    ::BitBlt(pMaskDC->m_hDC, 0, 0, cx, cy, pSrcDC->m_hDC, xSrc, 0, SRCPAINT);
    ::SetBkColor(pSrcDC->m_hDC, clrOld);
    return TRUE;
}

void TWKBmpMenuPlugIn::DrawCheckedImage(CDC* pDC, int x, int y, int cx, int cy, CDC* pSrcDC, int xSrc)
{
    CDC dcMask;
    CBitmap bmMask;
    HBITMAP hOld = nullptr;
    if (!CreateImageMask(pSrcDC, &dcMask, &bmMask, &hOld, cx, cy, xSrc))
        return;
    if (!m_hDitherBrush)
        m_hDitherBrush = TWKCreateDitherBrush();
    HDC hDC = pDC->m_hDC;
    COLORREF clrText = ::SetTextColor(hDC, RGB(0, 0, 0));
    COLORREF clrBk = ::SetBkColor(hDC, RGB(255, 255, 255));
    HGDIOBJ hOldBrush = ::SelectObject(hDC, m_hDitherBrush);
    ::BitBlt(hDC, x, y, cx, cy, dcMask.m_hDC, 0, 0, 0x00E20746);   // DSPDxax
    ::SelectObject(hDC, hOldBrush);
    ::SetTextColor(hDC, clrText);
    ::SetBkColor(hDC, clrBk);
    ::SelectObject(dcMask.m_hDC, hOld);
}

void TWKBmpMenuPlugIn::DrawDisabledImage(CDC* pDC, int x, int y, int cx, int cy, CDC* pSrcDC, int xSrc)
{
    CDC dcMask;
    CBitmap bmMask;
    HBITMAP hOld = nullptr;
    if (!CreateImageMask(pSrcDC, &dcMask, &bmMask, &hOld, cx, cy, xSrc))
        return;
    HDC hDC = pDC->m_hDC;
    COLORREF clrText = ::SetTextColor(hDC, RGB(0, 0, 0));
    COLORREF clrBk = ::SetBkColor(hDC, RGB(255, 255, 255));
    HBRUSH hHilite = ::CreateSolidBrush(g_colours.clrBtnHilite);
    HBRUSH hShadow = ::CreateSolidBrush(g_colours.clrBtnShadow);
    HGDIOBJ hOldBrush = ::SelectObject(hDC, hHilite);
    ::BitBlt(hDC, x + 1, y + 1, cx, cy, dcMask.m_hDC, 0, 0, 0x00B8074A);   // PSDPxax
    ::SelectObject(hDC, hShadow);
    ::BitBlt(hDC, x, y, cx, cy, dcMask.m_hDC, 0, 0, 0x00B8074A);
    ::SelectObject(hDC, hOldBrush);
    ::DeleteObject(hHilite);
    ::DeleteObject(hShadow);
    ::SetTextColor(hDC, clrText);
    ::SetBkColor(hDC, clrBk);
    ::SelectObject(dcMask.m_hDC, hOld);
}

// ---- mnemonics, idle and settings

LRESULT TWKBmpMenuPlugIn::OnMenuCharMsg(WPARAM wParam, LPARAM lParam)
{
    char ch = TWKFoldMnemonic((char)LOBYTE(LOWORD(wParam)));
    HMENU hMenu = (HMENU)lParam;
    if (!ch || !::IsMenu(hMenu))
        return 0;
    TWKBmpMenuInfo* pInfo = GetMenuInfo(hMenu);
    int nCount = ::GetMenuItemCount(hMenu);
    int nHilite = -1;
    CArray<int, int> matches;
    for (int i = 0; i < nCount; i++) {
        MENUITEMINFOA mii = { sizeof(mii), MIIM_STATE | MIIM_ID | MIIM_TYPE | MIIM_DATA };
        if (!::GetMenuItemInfoA(hMenu, i, TRUE, &mii))
            continue;
        if (mii.fState & MFS_HILITE)
            nHilite = i;
        if (!(mii.fType & MFT_OWNERDRAW) || !mii.dwItemData || IsForeignID(mii.wID))
            continue;
        auto* pItem = reinterpret_cast<TWKBmpMenuItemInfo*>(mii.dwItemData);
        if (pInfo && pInfo->Contains(pItem) && pItem->m_chMnemonic == ch)
            matches.Add(i);
    }
    if (matches.GetSize() == 0)
        return 0;
    m_bHandled = TRUE;
    if (matches.GetSize() == 1)
        return MAKELRESULT(matches[0], MNC_EXECUTE);
    int nSelect = matches[0];
    for (INT_PTR k = 0; k < matches.GetSize(); k++)
        if (matches[k] > nHilite) {
            nSelect = matches[k];
            break;
        }
    return MAKELRESULT(nSelect, MNC_SELECT);
}

void TWKBmpMenuPlugIn::PurgeMenuInfo()
{
    for (POSITION pos = m_mapMenuInfo.GetStartPosition(); pos;) {
        HMENU hMenu;
        TWKBmpMenuInfo* pInfo;
        m_mapMenuInfo.GetNextAssoc(pos, hMenu, pInfo);
        if (!::IsMenu(hMenu)) {
            m_mapMenuInfo.RemoveKey(hMenu);
            delete pInfo;
            continue;
        }
        CPtrList listLive;
        int nCount = ::GetMenuItemCount(hMenu);
        for (int i = 0; i < nCount; i++) {
            MENUITEMINFOA mii = { sizeof(mii), MIIM_TYPE | MIIM_ID | MIIM_DATA };
            if (::GetMenuItemInfoA(hMenu, i, TRUE, &mii) && (mii.fType & MFT_OWNERDRAW) && !IsForeignID(mii.wID))
                listLive.AddTail(reinterpret_cast<void*>(mii.dwItemData));
        }
        for (POSITION posItem = pInfo->m_listItems.GetHeadPosition(); posItem;) {
            POSITION posThis = posItem;
            void* pItem = pInfo->m_listItems.GetNext(posItem);
            if (!listLive.Find(pItem)) {
                pInfo->m_listItems.RemoveAt(posThis);
                delete static_cast<TWKBmpMenuItemInfo*>(pItem);
            }
        }
    }
}

LRESULT TWKBmpMenuPlugIn::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    // Not marked handled: the frame's own idle update goes on.
    PurgeMenuInfo();
    return 0;
}

LRESULT TWKBmpMenuPlugIn::OnSysColorChangeMsg(WPARAM, LPARAM)
{
    g_colours.Read();
    if (m_hDitherBrush) {
        ::DeleteObject(m_hDitherBrush);
        m_hDitherBrush = nullptr;
    }
    m_pBmpMgr->ReloadBitmaps(TRUE);
    return 0;
}

LRESULT TWKBmpMenuPlugIn::OnSettingChangeMsg(WPARAM, LPARAM)
{
    m_fontMenu.DeleteObject();
    m_fontMenuBold.DeleteObject();
    m_pBmpMgr->ReloadBitmaps(TRUE);
    PurgeMenuInfo();
    RemeasureItems();
    return 0;
}

void TWKBmpMenuPlugIn::RemeasureItems()
{
    for (POSITION pos = m_mapMenuInfo.GetStartPosition(); pos;) {
        HMENU hMenu;
        TWKBmpMenuInfo* pInfo;
        m_mapMenuInfo.GetNextAssoc(pos, hMenu, pInfo);
        int nCount = ::GetMenuItemCount(hMenu);
        for (int i = 0; i < nCount; i++) {
            MENUITEMINFOA mii = { sizeof(mii), MIIM_TYPE | MIIM_DATA };
            if (!::GetMenuItemInfoA(hMenu, i, TRUE, &mii) || !(mii.fType & MFT_OWNERDRAW)
                || !pInfo->Contains(reinterpret_cast<TWKBmpMenuItemInfo*>(mii.dwItemData)))
                continue;
            // The system measures an item again only when its type changes.
            MENUITEMINFOA set = { sizeof(set), MIIM_TYPE };
            set.fType = mii.fType & ~MFT_OWNERDRAW;
            set.dwTypeData = const_cast<LPSTR>("");
            ::SetMenuItemInfoA(hMenu, i, TRUE, &set);
            set.fMask = MIIM_TYPE | MIIM_DATA;
            set.fType = mii.fType;
            set.dwTypeData = nullptr;
            set.dwItemData = mii.dwItemData;
            ::SetMenuItemInfoA(hMenu, i, TRUE, &set);
        }
    }
}
