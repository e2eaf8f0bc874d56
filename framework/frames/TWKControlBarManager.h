// The base through which the layout persistence asks a manager to identify,
// recreate and save the bars it owns.
#pragma once
#include "afx/afx.h"

class TWKControlBarInfo;
class TWKControlBarInfoEx;
class TWKPersistentTreeNode;
class TWKPTNFactory;

class TWKControlBarManager : public CObject
{
    DECLARE_DYNAMIC(TWKControlBarManager)
public:
    explicit TWKControlBarManager(CFrameWnd* pFrame) : m_pFrameWnd(pFrame) {}

    virtual CFrameWnd* GetFrameWnd() const { return m_pFrameWnd; }
    virtual BOOL LoadStateTree(TWKPersistentTreeNode* pNode) { return pNode != nullptr; }
    virtual void LoadState(LPCSTR) {}
    virtual BOOL SaveStateTree(TWKPTNFactory*, TWKPersistentTreeNode* pParent) { return pParent != nullptr; }
    virtual void SaveState(LPCSTR) {}
    // The bar's type in a saved layout; 0 for bars the manager does not know.
    virtual UINT GetBarTypeID(CControlBar*) { return 0; }
    virtual TWKControlBarInfoEx* CreateBarInfoEx(TWKControlBarInfo*) { return nullptr; }
    virtual CControlBar* CreateBar(TWKControlBarInfo*) { return nullptr; }

protected:
    CFrameWnd* m_pFrameWnd;
};
