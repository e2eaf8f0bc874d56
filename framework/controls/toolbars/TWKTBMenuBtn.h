// The text button that drops a menu (the menu bar's item button), and the
// helpers that walk classic MENU resource templates.
#pragma once
#include "afx/afx.h"
#include "framework/controls/toolbars/TWKStdBtn.h"

class TWKTBMenuBtn : public TWKStdBtn
{
    DECLARE_BUTTON_CLASS(TWKTBMenuBtn)
public:
    TWKTBMenuBtn();
    ~TWKTBMenuBtn() override = default;

    CString m_strText;                // the item's text with its '&' prefix
    HMENU m_hMenu = nullptr;          // p0: the menu to drop
    UINT_PTR m_nDropValue = 0;        // p1: passed on when the menu drops
    int m_nMnemonic = 0;              // upper-cased character after the first '&'; 0 when none
    UINT_PTR m_nParam3 = 0;           // p3, kept

    // p0 menu, p1 drop value, p2 text (LPCSTR), p3 kept.
    void Init(TWKCustomToolBar* pToolBar, const UINT_PTR* pParams) override;
    BOOL LButtonDown(int px, int py) override;
    void AdjustSize() override;
    void DrawFace(TWKBtnDrawData& data, BOOL bNoState, int& x, int& y, int& cx, int& cy, int nImageWidth) override;
    // A text button: no image.
    BOOL PrepareImage(TWKBtnDrawData& data) override;

    virtual LRESULT DropMenu();
    virtual void UpdateMnemonic();
};

// A MENU template's items follow its two-word header: a flag word, a command
// id unless the item is a pop-up, a zero-terminated wide text; MF_END marks a
// level's last item and a pop-up item is followed by its own level.

// A new pop-up menu of the items of one level; the pointer moves past them.
// NULL (nothing left over) when a menu cannot be made.
HMENU TWKMenuTemplateLoadPopup(const WORD** ppItem);
// Moves the pointer to the nIndex-th item of a level (from 0); FALSE when the
// level ends first.
BOOL TWKMenuTemplateFindItem(const WORD** ppItem, int nIndex);
// Moves the pointer past every item of a level, sub-levels included.
void TWKMenuTemplateSkipPopup(const WORD** ppItem);
// The address of an item's text.
LPCWSTR TWKMenuTemplateItemText(const WORD* pItem);
