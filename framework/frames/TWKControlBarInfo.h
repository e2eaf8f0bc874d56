// One bar's record in a saved layout, with the framework's fields, and the
// hook through which a control-bar manager adds data of its own.
#pragma once
#include "afx/afx.h"

class TWKDockState;
class TWKPersistentTreeNode;
class TWKPTNFactory;
class TWKControlBarInfoEx;
class TWKControlBarManager;

class TWKControlBarInfo : public CControlBarInfo
{
public:
    explicit TWKControlBarInfo(TWKControlBarManager* pManager = NULL);

    // The saved forms, in slot order. The profile form writes the section
    // "<profile>-Bar<n>", the tree form the node "Bar-<n>" with the same keys;
    // both save forms answer FALSE for a record they skip.
    virtual BOOL LoadStateTree(TWKPersistentTreeNode* pNode, TWKDockState* pDockState);
    virtual BOOL LoadState(LPCSTR lpszProfileName, int nIndex, TWKDockState* pDockState);
    virtual BOOL SaveStateTree(TWKPTNFactory* pFactory, TWKPersistentTreeNode* pParent, int nIndex);
    virtual BOOL SaveState(LPCSTR lpszProfileName, int nIndex);
    ~TWKControlBarInfo() override;
    virtual BOOL LoadBaseTree(TWKPersistentTreeNode* pNode, TWKDockState* pDockState);
    virtual BOOL LoadExTree(TWKPersistentTreeNode* pNode);
    virtual BOOL SaveBaseTree(TWKPTNFactory* pFactory, TWKPersistentTreeNode* pNode);
    virtual BOOL SaveExTree(TWKPTNFactory* pFactory, TWKPersistentTreeNode* pNode);
    // The archive form (no placement, names or resource id in it).
    void Serialize(CArchive& ar, TWKDockState* pDockState);

    // An edge dock bar that is visible, empty and in its place: not written.
    BOOL IsSkippedOnSave() const;
    // A placement read from a saved layout is applied; one that was not read is not.
    BOOL HasMDIPlacement() const { return m_wpMDIChild.length == sizeof(WINDOWPLACEMENT); }
    TWKControlBarInfo(const TWKControlBarInfo&) = delete;
    TWKControlBarInfo& operator=(const TWKControlBarInfo&) = delete;

    CSize m_sizeMRUHorzDock;
    CSize m_sizeMRUVertDock;
    CSize m_sizeMRUFloat;
    DWORD m_dwMRUDockingState = 0;
    DWORD m_dwDockStyle = 0;
    float m_fPctWidth = 0.0f;
    DWORD m_dwStyle = 0;
    DWORD m_dwExStyle = 0;
    BOOL m_bPrevFloating = FALSE;
    BOOL m_bMDIChild = FALSE;
    WINDOWPLACEMENT m_wpMDIChild;
    CString m_strClassName;
    CString m_strWindowName;
    UINT m_nResourceID = 0;
    TWKControlBarInfoEx* m_pInfoEx = nullptr;   // owned
    UINT m_nTypeID = 0;
    TWKControlBarManager* m_pManager;           // not owned
};

// The placement is stored as it lies in memory; both builds agree on its size.
static_assert(sizeof(WINDOWPLACEMENT) == 44, "saved MDI placements are 44 bytes");

class TWKControlBarInfoEx : public CObject
{
    DECLARE_DYNCREATE(TWKControlBarInfoEx)
public:
    TWKControlBarInfoEx() = default;

    virtual void Serialize(CArchive& ar, TWKDockState* pDockState);
    virtual BOOL LoadStateTree(TWKPersistentTreeNode* pNode);
    virtual BOOL LoadState(LPCSTR lpszSection, TWKDockState* pDockState);
    virtual BOOL SaveStateTree(TWKPTNFactory* pFactory, TWKPersistentTreeNode* pNode);
    virtual BOOL SaveState(LPCSTR lpszSection);
    using CObject::Serialize;
};
