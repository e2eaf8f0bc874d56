// The editable list box: a header strip with picture buttons over a dialog's
// list box, in-place editing of items, reordering by buttons, keys or drag.
#pragma once
#include <windows.h>
#include "afx/afx.h"

// Creation flags.
enum
{
    LBE_BROWSE = 0x01,         // the in-place edit gets a "..." button; F2 opens the edit
    LBE_AUTOEDIT = 0x02,       // a typed character opens the edit with it
    LBE_BUTTONS = 0x04,        // picture buttons in the header
    LBE_TOOLTIPS = 0x08,       // tips for them (with LBE_BUTTONS)
    LBE_SHORTCUTS = 0x10,      // Insert, Delete, Alt+Up, Alt+Down
    LBE_DRAGNDROP = 0x20,      // reorder by dragging
    LBE_NOTRAILBLANK = 0x40,   // no empty item kept at the end
    LBE_NEWBUTTON = 0x100,
    LBE_DELBUTTON = 0x200,
    LBE_UPBUTTON = 0x400,
    LBE_DOWNBUTTON = 0x800,
};

// WM_COMMAND notification codes to the editor's parent (besides LBN_SELCHANGE).
enum
{
    LBEN_ITEMDELETED = 10,   // index in GetLastIndex()
    LBEN_ITEMMOVED = 11,     // indexes in GetLastIndex(), GetLastNewIndex()
};

class TWKListBoxEditor;

// Subclasses the edited list box for the editor.
class TWKListBoxEditorHelper : public CListBox
{
public:
    explicit TWKListBoxEditorHelper(TWKListBoxEditor* pEditor) : m_pEditor(pEditor) {}
    BOOL bFocusLost = FALSE;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnEditEnd(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnSetCancelled(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    TWKListBoxEditor* m_pEditor;
};

// The in-place edit laid over an item (control 100, a child of the list box).
class TWKListBoxEdit : public CEdit
{
public:
    TWKListBoxEdit(TWKListBoxEditor* pEditor, int nIndex, BOOL bNewItem, UINT nBrowseID, int nOldSel);
    int GetIndex() const { return m_nIndex; }
    // Puts the text into the item (as Enter does); the caller then ends the edit.
    void Commit();
    BOOL m_bEnding = FALSE;   // the edit is closing: focus changes do nothing more

protected:
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

private:
    // Tells the list that the edit is done; the edit is deleted by it.
    void SendEnd();
    void EndAndTab(BOOL bBackward);

    TWKListBoxEditor* m_pEditor;
    int m_nIndex;
    BOOL m_bNewItem;
    UINT m_nBrowseID;
    int m_nOldSel;
    BOOL m_bSpaceAdvance;
    int m_nSpaceAdvanceCount;
};

// Tracks one press of a header button.
class TWKFakeButton : public CWnd
{
public:
    // TRUE when the button was released inside rcButton (screen coordinates).
    BOOL Track(CWnd* pOwner, const CRect& rcButton, HBITMAP hNormal, HBITMAP hPressed);
};

// Tracks one drag of an item.
class TWKListBoxDragWnd : public CWnd
{
public:
    // Refuses a minimum above the initial delay or a step larger than their difference.
    BOOL SetScrollDelays(UINT nInitial, UINT nMinimum, UINT nStep);
    UINT GetInitialDelay() const { return m_nInitialDelay; }
    UINT GetMinimumDelay() const { return m_nMinimumDelay; }
    UINT GetDelayStep() const { return m_nDelayStep; }

    // TRUE when an item moved: from and to are its old and new index.
    BOOL Track(CListBox* pList, BOOL bTrailBlank, int& nFrom, int& nTo);

    static const UINT nMinDragTime = 250;   // ms between press and release

private:
    void DrawLine(CListBox* pList, int y);
    UINT m_nInitialDelay = 300;
    UINT m_nMinimumDelay = 50;
    UINT m_nDelayStep = 50;
};

class TWKListBoxEditor : public CWnd
{
public:
    TWKListBoxEditor();
    ~TWKListBoxEditor() override;

    CListBox* GetListBoxPtr() const { return m_pHelper; }
    int GetLastIndex() const { return nLastIndex; }
    int GetLastNewIndex() const { return nLastNewIndex; }
    TWKListBoxEdit* GetEdit() const { return m_pEdit; }
    // A header button's rectangle (client coordinates; empty when it has none).
    CRect GetButtonRect(int nButton) const { return m_rcButtons[nButton]; }
    int GetHeaderHeight() const { return nHeaderHeight; }
    DWORD GetFlags() const { return dwFlags; }
    CToolTipCtrl& GetToolTip() { return m_toolTip; }

    virtual BOOL Initialize(UINT nID, CWnd* pParent, DWORD dwFlags);
    virtual BOOL Initialize(CWnd* pParent, UINT nID, DWORD dwFlags);
    virtual void SetSpaceAdvance(BOOL bSpaceAdvance);
    virtual void EndEdit();
    virtual void OnEditingStarted();
    virtual void OnEditingStopped();
    virtual void OnItemRenamed(int nIndex, CString strOldText, CString strNewText);
    virtual void OnItemAdded(int nIndex, CString strText);
    virtual void OnItemMoved(int nOldIndex, int nNewIndex, CString strText, BOOL bDragged);
    virtual BOOL OnItemDelete(int nIndex, CString strText);
    virtual BOOL OnNewItem();
    virtual BOOL OnDeleteItem();
    virtual BOOL OnMoveItemDown();
    virtual BOOL OnMoveItemUp();
    virtual BOOL OnEditKey(UINT nChar);
    virtual int CalcHeaderHeight();
    virtual void LayoutButtons();
    virtual void UpdateToolTips();
    virtual void RecalcLayout();
    virtual BOOL SetButtons(DWORD dwFlags);
    virtual BOOL StartEdit(int nIndex, BOOL bNewItem, LPCSTR pszInitialText);
    virtual void ShiftItemUp(int nIndex);
    virtual BOOL DeleteItem(int nIndex);
    virtual void SetSpaceAdvanceCount(int nCount);
    virtual void OnBrowse();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    void PlaceWindows(HWND hList, const CRect& rc, HWND hInsertAfter);
    // A browse form's answer into the edit (still open?), which gets the focus back.
    void TakeBrowsed(TWKListBoxEdit* pEdit, BOOL bChosen, const CString& strChosen);
    bool IsMultiSel() const;
    bool IsTrailing(int nIndex) const;   // the empty item kept at the end
    void Select(int nIndex);
    int SingleSelection() const;   // the one selected item, else -1
    void PostSelChange();
    void SendNotify(UINT nCode);
    HBITMAP ButtonBitmap(int nButton);
    HBITMAP PressedBitmap(int nButton);

    friend class TWKListBoxEditorHelper;
    friend class TWKListBoxEdit;

    TWKListBoxEdit* m_pEdit = nullptr;
    TWKListBoxEditorHelper* m_pHelper = nullptr;
    CButton m_browseButton;
    CToolTipCtrl m_toolTip;
    DWORD dwFlags = 0;
    BOOL m_bButtons[4] = { TRUE, TRUE, TRUE, TRUE };
    CRect m_rcButtons[4];
    BOOL bInitialized = FALSE;
    int nHeaderHeight = 0;
    BOOL bNewItem = FALSE;
    CString strOldText;
    BOOL bCancelled = FALSE;
    int nLastIndex = -1;
    int nLastNewIndex = -1;
    BOOL bSpaceAdvance = FALSE;
    int nSpaceAdvanceCount = 1;
    UINT m_nListID = 0;
    HBITMAP m_hBitmaps[4] = {};
};

// The two browse forms: both Initialize forms add LBE_BROWSE.
class TWKListBoxBrowseEditor : public TWKListBoxEditor
{
public:
    BOOL Initialize(UINT nID, CWnd* pParent, DWORD dwFlags) override;
    BOOL Initialize(CWnd* pParent, UINT nID, DWORD dwFlags) override;
};

// The folder form: "..." opens the folder picker.
class TWKListBoxDirEditor : public TWKListBoxBrowseEditor
{
public:
    void OnBrowse() override;
};

// The file form: "..." opens the open-file dialog.
class TWKListBoxFileEditor : public TWKListBoxBrowseEditor
{
public:
    void OnBrowse() override;

    CString m_strTitle;
    CString m_strFilter;
    CString m_strInitialFile;
    CString m_strDefExt;
};
