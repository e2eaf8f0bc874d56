// The menu button and the menu-template helpers.
#include "framework/controls/toolbars/TWKTBMenuBtn.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/frames/TWKAuxData.h"
#include <cctype>

IMPLEMENT_BUTTON_CLASS(TWKTBMenuBtn)

TWKTBMenuBtn::TWKTBMenuBtn()
{
    m_nType = TWK_BTN_TBMENU;
}

void TWKTBMenuBtn::Init(TWKCustomToolBar* pToolBar, const UINT_PTR* pParams)
{
    SetToolBar(pToolBar);
    if (pParams) {
        m_hMenu = reinterpret_cast<HMENU>(pParams[0]);
        m_nDropValue = pParams[1];
        m_strText = pParams[2] ? reinterpret_cast<LPCSTR>(pParams[2]) : "";
        m_nParam3 = pParams[3];
        UpdateMnemonic();
    }
    AdjustSize();
}

void TWKTBMenuBtn::UpdateMnemonic()
{
    m_nMnemonic = 0;
    int nAmp = m_strText.Find('&');
    if (nAmp == -1 || nAmp + 1 >= m_strText.GetLength())
        return;
    // A byte above 127 is negative as a char; a lead byte starts no letter.
    unsigned char ch = (unsigned char)m_strText[nAmp + 1];
    if (::IsDBCSLeadByte(ch))
        return;
    m_nMnemonic = std::toupper(ch);
}

void TWKTBMenuBtn::AdjustSize()
{
    if (!m_pToolBar)
        return;
    HFONT hFont = m_pToolBar->GetMenuFont();
    if (!hFont)
        hFont = m_pToolBar->GetFont();
    HDC hDC = ::GetDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    RECT rect = { 0, 0, 0, 0 };
    ::DrawTextA(hDC, m_strText, m_strText.GetLength(), &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(nullptr, hDC);
    m_cx = rect.right - rect.left + 10;
    m_cy = rect.bottom - rect.top + 6;
    m_pToolBar->RaiseMaxButtonWidth(m_cx);
}

BOOL TWKTBMenuBtn::LButtonDown(int, int)
{
    if (GetStyle() & TBBS_DISABLED)
        return FALSE;
    SetStyle(GetStyle() | TBBS_PRESSED);
    Invalidate(FALSE);
    DropMenu();
    // The menu tracks itself; the toolbar does not.
    return FALSE;
}

LRESULT TWKTBMenuBtn::DropMenu()
{
    if (!m_pToolBar)
        return 0;
    return m_pToolBar->DropMenu(this, (int)(INT_PTR)m_hMenu, (int)m_nDropValue);
}

BOOL TWKTBMenuBtn::PrepareImage(TWKBtnDrawData& data)
{
    data.SelectImage(nullptr);
    return FALSE;
}

void TWKTBMenuBtn::DrawFace(TWKBtnDrawData& data, BOOL bNoState, int& x, int& y, int& cx, int& cy,
                            int nImageWidth)
{
    int nShift = ((GetStyle() & (TBBS_CHECKED | TBBS_PRESSED)) && !bNoState) ? 1 : 0;
    int xText = x + 4 + nShift, yText = y + 3 + nShift;
    // The border only: the draw data holds no image.
    TWKStdBtn::DrawFace(data, bNoState, x, y, cx, cy, nImageWidth);
    CRect rect(xText, yText, x + cx, y + cy);
    CDC& dc = data.m_dcCompose;
    HFONT hFont = m_pToolBar->GetMenuFont();
    if (!hFont)
        hFont = m_pToolBar->GetFont();
    dc.SetBkColor(twkAuxData.clrBtnFace);
    COLORREF clrOld = dc.SetTextColor(::GetSysColor(COLOR_MENUTEXT));
    HGDIOBJ hOld = dc.SelectObject((HGDIOBJ)hFont);
    int nOldMode = dc.SetBkMode(TRANSPARENT);
    dc.DrawText(m_strText, m_strText.GetLength(), &rect, DT_SINGLELINE);
    dc.SetBkMode(nOldMode);
    dc.SelectObject(hOld);
    dc.SetTextColor(clrOld);
}

// ---------------------------------------------------------------------------
// Menu templates

namespace {
// Reads one item and moves past it (not past its sub-level).
void ReadItem(const WORD** ppItem, WORD* pFlags, UINT* pID, LPCWSTR* ppText)
{
    const WORD* p = *ppItem;
    *pFlags = *p++;
    *pID = 0;
    if (!(*pFlags & MF_POPUP))
        *pID = *p++;
    *ppText = reinterpret_cast<LPCWSTR>(p);
    while (*p)
        p++;
    *ppItem = p + 1;
}
} // namespace

LPCWSTR TWKMenuTemplateItemText(const WORD* pItem)
{
    return reinterpret_cast<LPCWSTR>(pItem + ((*pItem & MF_POPUP) ? 1 : 2));
}

BOOL TWKMenuTemplateFindItem(const WORD** ppItem, int nIndex)
{
    for (int i = 0;; i++) {
        if (i == nIndex)
            return TRUE;
        WORD wFlags;
        UINT nID;
        LPCWSTR pText;
        ReadItem(ppItem, &wFlags, &nID, &pText);
        if (wFlags & MF_POPUP)
            TWKMenuTemplateSkipPopup(ppItem);
        if (wFlags & MF_END)
            return FALSE;
    }
}

void TWKMenuTemplateSkipPopup(const WORD** ppItem)
{
    // No item has the index -1: the walk ends past the level's last item.
    TWKMenuTemplateFindItem(ppItem, -1);
}

HMENU TWKMenuTemplateLoadPopup(const WORD** ppItem)
{
    HMENU hMenu = ::CreatePopupMenu();
    if (!hMenu)
        return nullptr;
    for (;;) {
        WORD wFlags;
        UINT nID;
        LPCWSTR pText;
        ReadItem(ppItem, &wFlags, &nID, &pText);
        UINT nFlags = wFlags & ~MF_END;
        UINT_PTR nItem = nID;
        HMENU hSub = nullptr;
        if (wFlags & MF_POPUP) {
            hSub = TWKMenuTemplateLoadPopup(ppItem);
            if (!hSub) {
                ::DestroyMenu(hMenu);
                return nullptr;
            }
            nItem = reinterpret_cast<UINT_PTR>(hSub);
        }
        int nLen = ::WideCharToMultiByte(CP_ACP, 0, pText, -1, nullptr, 0, nullptr, nullptr);
        CString strText;
        if (nLen > 1) {
            ::WideCharToMultiByte(CP_ACP, 0, pText, -1, strText.GetBuffer(nLen), nLen, nullptr, nullptr);
            strText.ReleaseBuffer();
        }
        BOOL bAppended;
        if (nFlags == 0 && nID == 0 && strText.IsEmpty())
            bAppended = ::AppendMenuA(hMenu, MF_SEPARATOR, 0, nullptr);
        else
            bAppended = ::AppendMenuA(hMenu, nFlags, nItem, strText);
        if (!bAppended) {
            if (hSub)
                ::DestroyMenu(hSub);
            ::DestroyMenu(hMenu);
            return nullptr;
        }
        if (wFlags & MF_END)
            return hMenu;
    }
}
