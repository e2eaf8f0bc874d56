// A toolbar's own part of a saved bar layout: its title and its buttons,
// each as a command id (0 for a separator) with the button's private data.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKControlBarInfo.h"

class TWKStateStore;

class TWKBtnInfo
{
public:
    TWKBtnInfo() = default;
    TWKBtnInfo(UINT nID, BYTE nSize, const BYTE* pData);
    virtual ~TWKBtnInfo() { delete[] m_pData; }
    TWKBtnInfo(const TWKBtnInfo&) = delete;
    TWKBtnInfo& operator=(const TWKBtnInfo&) = delete;

    UINT m_nID = 0;
    BYTE m_nSize = 0;
    BYTE* m_pData = nullptr;    // owned; NULL when the size is 0
};

// Owns its records.
class TWKBtnInfoArray : public CPtrArray
{
public:
    TWKBtnInfoArray() = default;
    ~TWKBtnInfoArray() { RemoveAllInfos(); }
    TWKBtnInfoArray(const TWKBtnInfoArray&) = delete;
    TWKBtnInfoArray& operator=(const TWKBtnInfoArray&) = delete;

    TWKBtnInfo* GetAt(INT_PTR i) const { return static_cast<TWKBtnInfo*>(CPtrArray::GetAt(i)); }
    TWKBtnInfo* operator[](INT_PTR i) const { return GetAt(i); }
    void RemoveAllInfos();
};

// Each record stored as: command id (4 bytes), data size (1 byte), the data.
const int TWK_BTNINFO_HEADER = 5;
// More buttons than any toolbar holds (the largest, the Debug toolbar, holds
// 13 of its own and up to 255 emulator actions): a stored list beyond this is
// damaged and refused.
const int TWK_MAX_TOOLBAR_BUTTONS = 512;

class TWKCustomToolBarInfoEx : public TWKControlBarInfoEx
{
    DECLARE_DYNCREATE(TWKCustomToolBarInfoEx)
public:
    TWKCustomToolBarInfoEx() = default;

    CString m_strTitle;
    TWKBtnInfoArray m_arrButtons;
    // The stored button list was refused: the toolbar keeps the buttons it has.
    BOOL m_bRefused = FALSE;

    void Serialize(CArchive& ar, TWKDockState* pDockState) override;
    BOOL LoadStateTree(TWKPersistentTreeNode* pNode) override;
    BOOL LoadState(LPCSTR lpszSection, TWKDockState* pDockState) override;
    BOOL SaveStateTree(TWKPTNFactory* pFactory, TWKPersistentTreeNode* pNode) override;
    BOOL SaveState(LPCSTR lpszSection) override;
    using CObject::Serialize;

    // The records concatenated, in a new[] buffer (NULL when empty or when it
    // cannot be allocated: see the result).
    BOOL BuildButtonsBlob(BYTE** ppBlob, UINT* pnBytes) const;
    // Appends every whole record of a stored blob; a tail too short for its
    // header or its stated data is ignored. A blob of more records than
    // TWK_MAX_TOOLBAR_BUTTONS leaves no records and answers FALSE.
    BOOL ParseButtonsBlob(const BYTE* pBlob, UINT nBytes);

protected:
    // "Title" (only when not empty) and "Buttons" in a profile section or a tree node.
    void WriteValues(TWKStateStore& store) const;
    void ReadValues(TWKStateStore& store);
};
