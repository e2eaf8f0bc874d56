// One bar's record in a saved layout.
#include "framework/frames/TWKControlBarInfo.h"

TWKControlBarInfo::TWKControlBarInfo(TWKControlBarManager* pManager)
    : m_sizeMRUHorzDock(0, 0), m_sizeMRUVertDock(0, 0), m_sizeMRUFloat(0, 0), m_pManager(pManager)
{
    memset(&m_wpMDIChild, 0, sizeof m_wpMDIChild);
    m_wpMDIChild.length = sizeof m_wpMDIChild;
}

TWKControlBarInfo::~TWKControlBarInfo()
{
    delete m_pInfoEx;
}

IMPLEMENT_DYNCREATE(TWKControlBarInfoEx, CObject)

void TWKControlBarInfoEx::Serialize(CArchive&, TWKDockState*) {}
BOOL TWKControlBarInfoEx::LoadStateTree(TWKPersistentTreeNode* pNode) { return pNode != nullptr; }
BOOL TWKControlBarInfoEx::LoadState(LPCSTR, TWKDockState*) { return FALSE; }
BOOL TWKControlBarInfoEx::SaveStateTree(TWKPTNFactory*, TWKPersistentTreeNode* pNode) { return pNode != nullptr; }
BOOL TWKControlBarInfoEx::SaveState(LPCSTR) { return FALSE; }
