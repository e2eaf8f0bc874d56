// Bitmap menus: a plug-in that makes a frame's popup items owner-drawn and
// shows beside each command the toolbar image of the same id.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKWndPlugIn.h"
#include "framework/frameworkres.h"

class TWKBmpMgr;

// A mnemonic character upper-cased as a menu compares it: 0 for no character
// and for the lead byte of a double-byte character, which is no letter.
char TWKFoldMnemonic(char ch, UINT nCodePage = CP_ACP);
// The folded character after the first '&' of a menu text (a "&&" pair is a
// literal ampersand), 0 when there is none.
char TWKFindMnemonic(LPCSTR lpszText, UINT nCodePage = CP_ACP);

// One converted item; the item's data points at it.
class TWKBmpMenuItemInfo : public CObject
{
    DECLARE_DYNAMIC(TWKBmpMenuItemInfo)
public:
    UINT m_nID = 0;
    CString m_strText;       // with the accelerator part after a tab
    char m_chMnemonic = 0;
};

// The converted items of one popup.
class TWKBmpMenuInfo
{
public:
    explicit TWKBmpMenuInfo(HMENU hMenu) : m_hMenu(hMenu), m_listItems(10) {}
    ~TWKBmpMenuInfo();
    BOOL Contains(const TWKBmpMenuItemInfo* pItem) const;

    HMENU m_hMenu;
    CPtrList m_listItems;    // TWKBmpMenuItemInfo*, owned
};

class TWKBmpMenuPlugIn : public TWKWndPlugIn
{
    DECLARE_DYNAMIC(TWKBmpMenuPlugIn)
public:
    explicit TWKBmpMenuPlugIn(BOOL bFrameworkCheck);
    ~TWKBmpMenuPlugIn() override;

    void SetBmpMgr(TWKBmpMgr* pMgr);
    TWKBmpMgr* GetBmpMgr() const { return m_pBmpMgr; }
    void HandleInitMenuPopup(HMENU hPopup, LPARAM lParam);
    CFont* GetMenuFont();
    CFont* GetMenuFontBold();
    // The record of a converted popup, NULL when none.
    TWKBmpMenuInfo* GetMenuInfo(HMENU hMenu) const;
    BOOL IsForeignID(UINT nID) const;

    // New virtual operations, in slot order.
    virtual void PurgeMenuInfo();
    virtual void CreateMenuFont();
    virtual void CreateMenuFontBold();
    virtual BOOL CreateImageMask(CDC* pSrcDC, CDC* pMaskDC, CBitmap* pMask, HBITMAP* phOld, int cx, int cy, int xSrc);
    virtual void DrawCheckedImage(CDC* pDC, int x, int y, int cx, int cy, CDC* pSrcDC, int xSrc);
    virtual void DrawDisabledImage(CDC* pDC, int x, int y, int cx, int cy, CDC* pSrcDC, int xSrc);
    virtual void DrawItemImage(DRAWITEMSTRUCT* pDIS, CDC* pDC, RECT* pRect, CBitmap* pBitmap, int nImage, int cx,
                               int cy);

protected:
    CMap<HMENU, HMENU, TWKBmpMenuInfo*, TWKBmpMenuInfo*> m_mapMenuInfo;
    CMap<UINT, UINT, UINT, UINT> m_mapForeignIDs;
    BOOL m_bFrameworkCheck;
    TWKBmpMgr* m_pBmpMgr;
    CFont m_fontMenu;
    CFont m_fontMenuBold;
    HBRUSH m_hDitherBrush = nullptr;

    void ConvertPopup(HMENU hPopup);
    void RemeasureItems();
    void DrawMenuItem(DRAWITEMSTRUCT* pDIS);

    afx_msg LRESULT OnInitMenuPopupMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMeasureItemMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDrawItemMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMenuCharMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSysColorChangeMsg(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSettingChangeMsg(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
