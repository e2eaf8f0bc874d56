// A drop-down combo box that completes what is typed from its list and settles on an item when
// the edit part loses the focus or Enter is pressed.
#pragma once
#include <windows.h>
#include "afx/controls.h"
#include "afx/string.h"

// The combo's edit part: tells the combo when it loses the focus.
class CTypeAheadEdit : public CEdit
{
public:
    CTypeAheadEdit() {}

protected:
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()
};

class CTypeAheadCombo : public CComboBox
{
public:
    // The edit child of a drop-down combo box.
    enum { IDC_COMBO_EDIT = 1001 };

    CTypeAheadCombo() {}
    ~CTypeAheadCombo() override {}

    // Selects the first item the edit text begins with, else the last selection.
    virtual void SelectMatch();
    // Selects the item sharing the longest beginning with the text (from nStart; -1 the first)
    // and selects its completed remainder. FALSE for an empty text.
    virtual BOOL AutoComplete(int nStart, CString strText);

    int GetLastSelection() const { return m_nLastSel; }
    CTypeAheadEdit& GetEdit() { return m_edit; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void PreSubclassWindow() override;
    afx_msg void OnEditUpdate();
    afx_msg BOOL OnSelChange();
    afx_msg void OnEditKillFocus();
    DECLARE_MESSAGE_MAP()

    CTypeAheadEdit m_edit;
    UINT m_nLastKey = 0;
    int m_nLastSel = 0;
};
