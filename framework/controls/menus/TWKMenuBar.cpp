// The menu bar: one text button per top-level menu item, tagged with its
// menu's bit; the bits of the active menu decide which buttons show.
#include "framework/controls/menus/TWKMenuBar.h"
#include <cstdarg>
#include <new>
#include "framework/controls/menus/TWKBmpMenuPlugIn.h"
#include "framework/controls/toolbars/TWKTBMenuBtn.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/frames/TWKDocTemplateUtils.h"
#include "framework/frames/TWKFrameWnd.h"
#include "framework/frames/TWKMDIFrameWnd.h"

IMPLEMENT_DYNCREATE(TWKMenuBar, TWKCustomToolBar)

BEGIN_MESSAGE_MAP(TWKMenuBar, TWKCustomToolBar)
    ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

namespace {

HFONT CreateMenuFont()
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        return nullptr;
    return ::CreateFontIndirectA(&ncm.lfMenuFont);
}

// Walks the top-level items of a MENU template that ends at pEnd: a damaged
// template stops the walk at the resource's end instead of reading past it.
// pfnItem gets each item's index and text; returns the count.
class MenuTemplateWalker
{
public:
    MenuTemplateWalker(const void* pData, DWORD cbData)
        : m_p(static_cast<const WORD*>(pData)), m_pEnd(static_cast<const WORD*>(pData) + cbData / sizeof(WORD))
    {
        // Version and header-size words, then the header itself.
        if (m_pEnd - m_p < 2) {
            m_p = m_pEnd;
            return;
        }
        WORD cbHeader = m_p[1];
        m_p += 2;
        m_p = (m_pEnd - m_p) * (INT_PTR)sizeof(WORD) < cbHeader ? m_pEnd : m_p + cbHeader / sizeof(WORD);
    }
    // The next top-level item: FALSE at the level's end or when the template
    // is cut short.
    BOOL Next(LPCWSTR* ppText)
    {
        if (m_bDone || m_p >= m_pEnd)
            return FALSE;
        WORD wFlags;
        if (!ReadItem(&wFlags, ppText))
            return m_bDone = TRUE, FALSE;
        if ((wFlags & MF_POPUP) && !SkipLevel())
            return m_bDone = TRUE, FALSE;
        if (wFlags & MF_END)
            m_bDone = TRUE;
        return TRUE;
    }

private:
    const WORD* m_p;
    const WORD* m_pEnd;
    BOOL m_bDone = FALSE;

    BOOL ReadItem(WORD* pFlags, LPCWSTR* ppText)
    {
        if (m_p >= m_pEnd)
            return FALSE;
        *pFlags = *m_p++;
        if (!(*pFlags & MF_POPUP)) {
            if (m_p >= m_pEnd)
                return FALSE;
            m_p++;
        }
        const WORD* pText = m_p;
        while (m_p < m_pEnd && *m_p)
            m_p++;
        if (m_p >= m_pEnd)
            return FALSE;
        m_p++;
        if (ppText)
            *ppText = reinterpret_cast<LPCWSTR>(pText);
        return TRUE;
    }
    // Steps over one level and the levels inside it; the depth is bounded
    // by the template's size.
    BOOL SkipLevel()
    {
        for (;;) {
            WORD wFlags;
            if (!ReadItem(&wFlags, nullptr))
                return FALSE;
            if ((wFlags & MF_POPUP) && !SkipLevel())
                return FALSE;
            if (wFlags & MF_END)
                return TRUE;
        }
    }
};

// Locks a menu resource; NULL when it is missing.
const void* LockMenuResource(UINT nID, DWORD* pcb)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceA(hInst, MAKEINTRESOURCEA(nID), RT_MENU);
    if (!hRes)
        return nullptr;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRes);
    *pcb = ::SizeofResource(hInst, hRes);
    return hGlobal ? ::LockResource(hGlobal) : nullptr;
}

} // namespace

TWKMenuBar::TWKMenuBar()
{
    m_mapMenuBits.InitHashTable(17);
    m_hMenuFont = CreateMenuFont();
}

TWKMenuBar::~TWKMenuBar()
{
    delete[] static_cast<TWKBtnMapEntry*>(m_pButtonMap2);
    m_pButtonMap2 = nullptr;
    if (m_hMenuFont)
        ::DeleteObject(m_hMenuFont);
}

TWKBtnMapEntry* TWKMenuBar::BuildMenuTable(TWKMenuBar* pBar, int nCount, const UINT* pIDs, int* pnEntries)
{
    *pnEntries = 0;
    pBar->m_arrMenuText.RemoveAll();
    pBar->m_mapMenuBits.RemoveAll();
    // Texts first: the entries point into the finished array.
    struct Item { UINT nMenuID; int nIndex; DWORD dwBit; };
    CArray<Item, const Item&> items;
    DWORD dwBit = 1;
    for (int m = 0; m < nCount; m++) {
        DWORD cb = 0;
        const void* pData = LockMenuResource(pIDs[m], &cb);
        if (!pData)
            continue;
        MenuTemplateWalker walker(pData, cb);
        LPCWSTR pText = nullptr;
        int nIndex = 0;
        while (walker.Next(&pText)) {
            char szText[256] = "";
            ::WideCharToMultiByte(CP_ACP, 0, pText, -1, szText, sizeof(szText), nullptr, nullptr);
            szText[sizeof(szText) - 1] = 0;
            pBar->m_arrMenuText.Add(szText);
            items.Add(Item{ pIDs[m], nIndex++, dwBit });
        }
        if (nIndex > 0) {
            pBar->m_mapMenuBits.SetAt(pIDs[m], dwBit);
            dwBit <<= 1;
        }
    }
    int nEntries = (int)items.GetSize();
    if (!nEntries)
        return nullptr;
    auto* pTable = new (std::nothrow) TWKBtnMapEntry[nEntries + 1]();
    if (!pTable)
        return nullptr;
    for (int i = 0; i < nEntries; i++) {
        TWKBtnMapEntry& e = pTable[i];
        e.pClass = BUTTON_CLASS(TWKTBMenuBtn);
        e.nID = TWK_MENUBTN_FIRSTID + (UINT)i;
        e.dwStyle = TWK_MENUBTN_STYLE;
        e.params[0] = items[i].nMenuID;
        e.params[1] = (UINT_PTR)items[i].nIndex;
        e.params[2] = (UINT_PTR)(LPCSTR)pBar->m_arrMenuText[i];
        e.params[3] = items[i].dwBit;
        e.params[4] = 0;
    }
    *pnEntries = nEntries;
    return pTable;
}

// The menu ids of a variable argument list (nCount ids, the first given),
// the table built from them and the command ids of its entries.
static TWKBtnMapEntry* BuildTableFromArgs(TWKMenuBar* pBar, int nCount, UINT nIDMenu, va_list args,
                                          CArray<UINT, UINT>& btnIDs)
{
    CArray<UINT, UINT> ids;
    if (nCount > 0)
        ids.Add(nIDMenu);
    for (int i = 1; i < nCount; i++)
        ids.Add(va_arg(args, UINT));
    int nEntries = 0;
    TWKBtnMapEntry* pTable = TWKMenuBar::BuildMenuTable(pBar, nCount, ids.GetData(), &nEntries);
    for (int i = 0; pTable && i < nEntries; i++)
        btnIDs.Add(pTable[i].nID);
    return pTable;
}

BOOL TWKMenuBar::SetMenuInfo(int nCount, UINT nIDMenu, ...)
{
    delete[] static_cast<TWKBtnMapEntry*>(m_pButtonMap2);
    m_pButtonMap2 = nullptr;
    CArray<UINT, UINT> btnIDs;
    va_list args;
    va_start(args, nIDMenu);
    TWKBtnMapEntry* pTable = BuildTableFromArgs(this, nCount, nIDMenu, args, btnIDs);
    va_end(args);
    if (!pTable)
        return FALSE;
    m_pButtonMap2 = pTable;
    SetButtons(btnIDs.GetData(), (int)btnIDs.GetSize());
    return TRUE;
}

DWORD TWKMenuBar::GetButtonMenuBit(const TWKStdBtn* pBtn)
{
    if (!pBtn || pBtn->m_nType != TWK_BTN_TBMENU)
        return 0;
    return (DWORD) static_cast<const TWKTBMenuBtn*>(pBtn)->m_nParam3;
}

int TWKMenuBar::FindMnemonicButton(char ch)
{
    int nChar = (BYTE)ch;
    for (int i = 0; i < GetButtonCount(); i++) {
        TWKStdBtn* pBtn = m_arrButtons[i];
        if (pBtn->m_nType == TWK_BTN_TBMENU && !(pBtn->GetStyle() & TBBS_HIDDEN)
            && (BYTE)TWKFoldMnemonic((char)static_cast<TWKTBMenuBtn*>(pBtn)->m_nMnemonic) == nChar && nChar)
            return i;
    }
    return -1;
}

void TWKMenuBar::SetMenuBits(DWORD dwBits, BOOL bRedraw)
{
    m_dwMenuBits = dwBits;
    for (int i = 0; i < GetButtonCount(); i++) {
        TWKStdBtn* pBtn = m_arrButtons[i];
        if (pBtn->m_nType == TWK_BTN_TBMENU)
            HideButton(i, (GetButtonMenuBit(pBtn) & dwBits) == 0);
    }
    if (bRedraw)
        RelayoutFrame();
}

void TWKMenuBar::RelayoutFrame()
{
    if (CFrameWnd* pFrame = GetParentFrame())
        pFrame->RecalcLayout();
    if (m_hWnd) {
        Invalidate(TRUE);
        UpdateWindow();
    }
}

void TWKMenuBar::ResetMenus(BOOL bNoRedraw)
{
    RemoveAllButtons();
    if (TWKToolBarManager* pMgr = GetManager()) {
        int nCount = 0;
        const UINT* pIDs = nullptr;
        pMgr->GetMenuInfo(&nCount, &pIDs);
        if (nCount && pIDs)
            SetButtons(pIDs, nCount);
    } else if (auto* pTable = static_cast<const TWKBtnMapEntry*>(m_pButtonMap2)) {
        CArray<UINT, UINT> ids;
        for (const TWKBtnMapEntry* e = pTable; e->pClass; e++)
            ids.Add(e->nID);
        SetButtons(ids.GetData(), (int)ids.GetSize());
    }
    SetMenuBits(m_dwMenuBits, FALSE);
    if (!bNoRedraw) {
        if (CFrameWnd* pFrame = GetDockingFrame())
            pFrame->RecalcLayout();
        if (m_hWnd)
            Invalidate(TRUE);
    }
}

BOOL TWKMenuBar::ActivateMenu(UINT nIDMenu)
{
    DWORD dwBit = 0;
    if (m_mapMenuBits.Lookup(nIDMenu, dwBit)) {
        SetMenuBits(dwBit, FALSE);
        m_nCurMenuID = nIDMenu;
        return TRUE;
    }
    if (nIDMenu == TWK_IDR_BARHOST_MENU) {
        // A host of a floated bar has no menu: the main frame's own shows.
        CWnd* pMain = AfxGetMainWnd();
        TWKDocTemplateUtils utils;
        UINT nMainID = (pMain && pMain->IsKindOf(RUNTIME_CLASS(CFrameWnd)))
                           ? utils.GetFrameResourceID(static_cast<CFrameWnd*>(pMain))
                           : 0;
        if (nMainID && m_mapMenuBits.Lookup(nMainID, dwBit)) {
            SetMenuBits(dwBit, FALSE);
            m_nCurMenuID = nIDMenu;
            return TRUE;
        }
    }
    return FALSE;
}

void TWKMenuBar::InsertButton(int nIndex, UINT nID, BOOL bSeparator, BOOL bNoUpdate)
{
    TWKCustomToolBar::InsertButton(nIndex, nID, bSeparator, TRUE);
    SetMenuBits(m_dwMenuBits, FALSE);
    if (!bNoUpdate)
        RelayoutFrame();
}

BOOL TWKMenuBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle)
{
    return Create(0, pParentWnd, dwStyle, nID, lpszTitle);
}

BOOL TWKMenuBar::Create(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle)
{
    // A full-length bar that hides in place.
    return TWKCustomToolBar::Create(dwExStyle | 0x80, pParentWnd, dwStyle | CBRS_HIDE_INPLACE, nID, lpszTitle);
}

void TWKMenuBar::DelayShow(BOOL bShow)
{
    if (m_bIgnoreNextHide && !bShow) {
        m_bIgnoreNextHide = FALSE;
        return;
    }
    TWKCustomToolBar::DelayShow(bShow);
}

DWORD TWKMenuBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout)
{
    if (m_bRemoveSysMenu) {
        CWnd* pFrame = GetParentFrame();
        if (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)) && (pFrame->GetStyle() & WS_SYSMENU)) {
            pFrame->ModifyStyle(WS_SYSMENU, 0, SWP_FRAMECHANGED);
        }
        m_bRemoveSysMenu = FALSE;
    }
    return TWKCustomToolBar::RecalcDelayShow(lpLayout);
}

void TWKMenuBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
    TWKCustomToolBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
    // A floating menu bar has no close box.
    if ((dwNewStyle & CBRS_FLOATING) && !(dwOldStyle & CBRS_FLOATING))
        m_bRemoveSysMenu = TRUE;
}

void TWKMenuBar::OnSettingChange(UINT, LPCSTR)
{
    if (HFONT hFont = CreateMenuFont()) {
        if (m_hMenuFont)
            ::DeleteObject(m_hMenuFont);
        m_hMenuFont = hFont;
    }
    for (int i = 0; i < GetButtonCount(); i++)
        m_arrButtons[i]->AdjustSize();
    InvalidateLayout();
    if (CFrameWnd* pFrame = GetDockingFrame())
        pFrame->RecalcLayout();
    Invalidate(TRUE);
    Default();
}

void TWKMenuBar::DropSystemMenu()
{
    if (m_nDroppedBtn != -1)
        CancelMenuButton();
    TWKTBNotify nm = {};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = GetDlgCtrlID();
    nm.hdr.code = (UINT)TWK_TBN_DROPMENU;
    nm.nIndex = -1;
    nm.a = 0;
    nm.b = -1;
    SendMessage(WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

void TWKMenuBar::OpenSelectedMenu()
{
    if (!IsInMenuMode())
        return;
    int nSel = m_nDroppedBtn;
    ExitMenuMode();
    if (nSel != -1)
        PressMenuButton(nSel);
    else
        DropSystemMenu();
}

void TWKMenuBar::GoToAdjacentMenu(BOOL bForward)
{
    int nNext = GetNextMenuButton(bForward);
    if (IsInMenuMode())
        SetMenuSelection(nNext);
    else if (nNext != -1)
        PressMenuButton(nNext);
    else
        DropSystemMenu();
}

// ---- the toolbar manager's menu-bar part

TWKMenuBar* TWKToolBarManager::GetFrameMenuBar() const
{
    if (auto* pFrame = dynamic_cast<TWKMDIFrameWnd*>(m_pFrameWnd))
        return pFrame->GetMenuBar();
    if (auto* pFrame = dynamic_cast<TWKFrameWnd*>(m_pFrameWnd))
        return pFrame->GetMenuBar();
    return nullptr;
}

BOOL TWKToolBarManager::SetMenuInfo(int nCount, UINT nIDMenu, ...)
{
    TWKMenuBar* pBar = GetFrameMenuBar();
    if (!pBar)
        return FALSE;
    delete[] static_cast<TWKBtnMapEntry*>(m_pButtonMap2);
    m_pButtonMap2 = nullptr;
    CArray<UINT, UINT> btnIDs;
    va_list args;
    va_start(args, nIDMenu);
    TWKBtnMapEntry* pTable = BuildTableFromArgs(pBar, nCount, nIDMenu, args, btnIDs);
    va_end(args);
    if (!pTable)
        return FALSE;
    m_pButtonMap2 = pTable;
    SetMenuIDs((int)btnIDs.GetSize(), btnIDs.GetData());
    return TRUE;
}

void TWKToolBarManager::SetMenuBitMap(const UINT* pPairs, int nCount)
{
    TWKMenuBar* pBar = GetFrameMenuBar();
    if (!pBar)
        return;
    pBar->m_mapMenuBits.RemoveAll();
    for (int i = 0; i < nCount; i++)
        pBar->m_mapMenuBits.SetAt(pPairs[2 * i], pPairs[2 * i + 1]);
}

TWKMenuBar* TWKToolBarManager::CreateMenuBar(UINT nID, LPCSTR lpszTitle)
{
    TWKMenuBar* pBar = GetFrameMenuBar();
    if (!pBar)
        return nullptr;
    // The frame owns its menu bar: no owner window, no auto-delete; a saved
    // layout is restored into this one object.
    pBar->m_pControlBarManager = this;
    pBar->SetBmpMgr(m_pBmpMgr);
    if (!pBar->m_hWnd) {
        DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_SIZE_DYNAMIC;
        if (m_bFlyBy)
            dwStyle |= CBRS_FLYBY;
        if (m_bToolTips)
            dwStyle |= CBRS_TOOLTIPS;
        if (!pBar->Create(m_bCoolLook ? (CBX_COOLLOOK | CBX_GRIPPER) : 0, m_pFrameWnd, dwStyle, nID, lpszTitle))
            return nullptr;
    }
    SetBarImageSize(pBar);
    if (m_pMenuIDs && m_nMenuIDs)
        pBar->SetButtons(m_pMenuIDs, m_nMenuIDs);
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    return pBar;
}
