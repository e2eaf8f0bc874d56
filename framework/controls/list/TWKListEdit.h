// Companions of the list control: the in-place label edit, the label tip that
// shows a cut-off cell's whole text, and the tree's store of sub-item texts.
#pragma once
#include "afx/afx.h"
#include "framework/controls/list/TWKListCtrl.h"

class TWKListEdit : public CEdit
{
public:
    explicit TWKListEdit(TWKListClient* pClient) : m_pClient(pClient) {}

protected:
    TWKListClient* m_pClient;

    afx_msg UINT OnGetDlgCode();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()
};

class TWKListTip : public CWnd
{
public:
    explicit TWKListTip(TWKListClient* pClient);
    ~TWKListTip() override;

    virtual void Hide();
    virtual BOOL Show(UINT nHitFlags, int nRow, int nColumn, int x, int y);
    void SetText(LPCSTR lpszText) { m_strText = lpszText; }
    void Refresh();
    static void ClampToScreen(LPRECT lpRect);

    BOOL IsShowing() const { return m_nRow != -1; }
    int GetRow() const { return m_nRow; }
    int GetColumn() const { return m_nColumn; }

protected:
    int m_nRow;
    int m_nColumn;
    TWKListClient* m_pClient;
    CString m_strText;
    CRect m_rcCell;
    BOOL m_bCapturing;

    afx_msg void OnPaint();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};

// Sub-item texts per tree item, kept outside the list rows.
class TWKSubItemTextStorage
{
public:
    TWKSubItemTextStorage();
    virtual ~TWKSubItemTextStorage();

    // Copies at most nCapacity bytes with the terminator, never half a
    // double-byte character; FALSE and an empty text when there is none.
    virtual BOOL Lookup(void* hItem, int nSubItem, LPSTR lpszBuffer, int nCapacity);
    virtual BOOL SetText(void* hItem, int nSubItem, LPCSTR lpszText);
    virtual BOOL MoveText(void* hItem, int nFrom, int nTo);
    virtual void RemoveItem(void* hItem);

protected:
    CMap<void*, void*, CStringArray*, CStringArray*> m_map;
};

// Copies lpszText into a buffer of nCapacity bytes (terminator included),
// cutting at a character boundary of the current code page. The bytes copied.
int TWKCopyTextCut(LPSTR lpszBuffer, int nCapacity, LPCSTR lpszText);
