#include "framework/controls/list/TWKTreeNode.h"

// ---- TWKTreeNode ----

TWKTreeNode::TWKTreeNode()
    : m_pParent(NULL), m_pNextSibling(NULL), m_pPrevSibling(NULL), m_pFirstChild(NULL)
{
}

TWKTreeNode::~TWKTreeNode()
{
    DeleteAllChildren();
    // A node deleted while still linked would leave its parent and siblings pointing at freed memory.
    if (m_pParent != NULL || m_pPrevSibling != NULL || m_pNextSibling != NULL)
        Unlink();
}

BOOL TWKTreeNode::IsMatch(LPARAM, TWKTreeNode*) const
{
    return FALSE;
}

void TWKTreeNode::SetExpanded(BOOL)
{
}

WORD TWKTreeNode::GetLevel() const
{
    WORD nLevel = 0;
    for (const TWKTreeNode* p = GetParent(); p != NULL; p = p->GetParent())
        nLevel++;
    return nLevel;
}

int TWKTreeNode::GetDepth() const
{
    int nDepth = 0;
    for (const TWKTreeNode* p = m_pParent; p != NULL; p = p->m_pParent)
        nDepth++;
    return nDepth;
}

TWKTreeNode* TWKTreeNode::GetRootNode() const
{
    const TWKTreeNode* p = this;
    while (p->m_pParent != NULL)
        p = p->m_pParent;
    return const_cast<TWKTreeNode*>(p);
}

TWKTreeNode* TWKTreeNode::GetLastSibling() const
{
    const TWKTreeNode* p = this;
    for (TWKTreeNode* pNext = p->GetNextSibling(); pNext != NULL; pNext = p->GetNextSibling())
        p = pNext;
    return const_cast<TWKTreeNode*>(p);
}

TWKTreeNode* TWKTreeNode::GetLastChild() const
{
    TWKTreeNode* pChild = GetFirstChild();
    return pChild != NULL ? pChild->GetLastSibling() : NULL;
}

TWKTreeNode* TWKTreeNode::GetFirstLeaf() const
{
    TWKTreeNode* p = m_pFirstChild;
    if (p == NULL)
        return NULL;
    for (TWKTreeNode* pChild = p->GetFirstChild(); pChild != NULL; pChild = p->GetFirstChild())
        p = pChild;
    return p;
}

TWKTreeNode* TWKTreeNode::GetLastDescendant() const
{
    const TWKTreeNode* p = this;
    for (TWKTreeNode* pChild = p->GetLastChild(); pChild != NULL; pChild = p->GetLastChild())
        p = pChild;
    return const_cast<TWKTreeNode*>(p);
}

TWKTreeNode* TWKTreeNode::GetNextInOrder() const
{
    if (TWKTreeNode* pChild = GetFirstChild())
        return pChild;
    for (const TWKTreeNode* p = this; p != NULL; p = p->GetParent())
    {
        if (TWKTreeNode* pNext = p->GetNextSibling())
            return pNext;
    }
    return NULL;
}

TWKTreeNode* TWKTreeNode::GetPrevInOrder() const
{
    if (TWKTreeNode* pPrev = GetPrevSibling())
        return pPrev->GetLastDescendant();
    return GetParent();
}

BOOL TWKTreeNode::IsAncestorOf(const TWKTreeNode* pNode) const
{
    if (pNode == NULL)
        return FALSE;
    for (const TWKTreeNode* p = pNode->GetParent(); p != NULL; p = p->GetParent())
    {
        if (p == this)
            return TRUE;
    }
    return FALSE;
}

BOOL TWKTreeNode::IsDescendantOf(const TWKTreeNode* pNode) const
{
    return pNode != NULL && pNode->IsAncestorOf(this);
}

BOOL TWKTreeNode::AddChild(TWKTreeNode* pNode, UINT_PTR nPos)
{
    if (nPos == ADD_LAST2)
        nPos = ADD_LAST;
    TWKTreeNode* pAfter = NULL;
    if (m_pFirstChild != NULL && nPos != ADD_FIRST && nPos != ADD_LAST)
    {
        // Look the child up before touching the node, so a failed call leaves it unlinked and parentless.
        for (pAfter = m_pFirstChild; pAfter != NULL; pAfter = pAfter->m_pNextSibling)
        {
            if ((UINT_PTR)pAfter == nPos)
                break;
        }
        if (pAfter == NULL)
            return FALSE;
    }
    pNode->m_pParent = this;
    if (m_pFirstChild == NULL)
    {
        pNode->m_pPrevSibling = pNode->m_pNextSibling = NULL;
        m_pFirstChild = pNode;
    }
    else if (nPos == ADD_LAST)
    {
        TWKTreeNode* pLast = m_pFirstChild;
        while (pLast->m_pNextSibling != NULL)
            pLast = pLast->m_pNextSibling;
        pLast->m_pNextSibling = pNode;
        pNode->m_pPrevSibling = pLast;
        pNode->m_pNextSibling = NULL;
    }
    else if (nPos == ADD_FIRST)
    {
        pNode->m_pPrevSibling = NULL;
        pNode->m_pNextSibling = m_pFirstChild;
        m_pFirstChild->m_pPrevSibling = pNode;
        m_pFirstChild = pNode;
    }
    else
    {
        pNode->m_pPrevSibling = pAfter;
        pNode->m_pNextSibling = pAfter->m_pNextSibling;
        if (pAfter->m_pNextSibling != NULL)
            pAfter->m_pNextSibling->m_pPrevSibling = pNode;
        pAfter->m_pNextSibling = pNode;
    }
    return TRUE;
}

void TWKTreeNode::Unlink()
{
    if (m_pPrevSibling != NULL)
        m_pPrevSibling->m_pNextSibling = m_pNextSibling;
    else if (m_pParent != NULL && m_pParent->m_pFirstChild == this)
        m_pParent->m_pFirstChild = m_pNextSibling;
    if (m_pNextSibling != NULL)
        m_pNextSibling->m_pPrevSibling = m_pPrevSibling;
    m_pParent = m_pPrevSibling = m_pNextSibling = NULL;
}

void TWKTreeNode::MoveUp()
{
    TWKTreeNode* pPrev = m_pPrevSibling;
    if (pPrev == NULL)
        return;
    TWKTreeNode* pNext = m_pNextSibling;
    if (pPrev->m_pPrevSibling != NULL)
        pPrev->m_pPrevSibling->m_pNextSibling = this;
    m_pPrevSibling = pPrev->m_pPrevSibling;
    m_pNextSibling = pPrev;
    pPrev->m_pPrevSibling = this;
    pPrev->m_pNextSibling = pNext;
    if (pNext != NULL)
        pNext->m_pPrevSibling = pPrev;
    if (m_pParent != NULL && m_pParent->m_pFirstChild == pPrev)
        m_pParent->m_pFirstChild = this;
}

void TWKTreeNode::DeleteAllChildren()
{
    // Always a leaf is deleted, so no deletion recurses however deep the subtree. The next
    // leaf lies below the deleted one's parent, so the walk never starts over from the top.
    TWKTreeNode* pFrom = NULL;
    while (m_pFirstChild != NULL)
    {
        TWKTreeNode* pLeaf;
        if (pFrom == NULL)
            pLeaf = GetFirstLeaf();
        else
        {
            pLeaf = pFrom;
            for (TWKTreeNode* pChild = pLeaf->GetFirstChild(); pChild != NULL; pChild = pLeaf->GetFirstChild())
                pLeaf = pChild;
        }
        pFrom = pLeaf->m_pParent != this ? pLeaf->m_pParent : NULL;
        pLeaf->Unlink();
        delete pLeaf;
    }
}

// ---- TWKTreeNodeX ----

int TWKTreeNodeX::s_nSkipping = 0;

TWKTreeNodeX::TWKTreeNodeX() : m_nSkippedLevel(0)
{
}

TWKTreeNodeX::~TWKTreeNodeX()
{
    SetSkippedLevel(0);
}

void TWKTreeNodeX::SetSkippedLevel(WORD nLevel)
{
    if ((m_nSkippedLevel != 0) != (nLevel != 0))
        s_nSkipping += nLevel != 0 ? 1 : -1;
    m_nSkippedLevel = nLevel;
}

WORD TWKTreeNodeX::GetSkippedLevel() const
{
    if (s_nSkipping == 0)
        return 0;
    const TWKTreeNodeX* pRoot = dynamic_cast<const TWKTreeNodeX*>(GetRootNode());
    return pRoot != NULL ? pRoot->m_nSkippedLevel : 0;
}

TWKTreeNode* TWKTreeNodeX::GetParent() const
{
    WORD nSkip = GetSkippedLevel();
    if (nSkip != 0 && GetDepth() == nSkip + 1)
        return m_pParent->m_pParent;
    return m_pParent;
}

TWKTreeNode* TWKTreeNodeX::GetFirstChild() const
{
    WORD nSkip = GetSkippedLevel();
    if (nSkip == 0 || GetDepth() != nSkip - 1)
        return m_pFirstChild;
    // Depth-L nodes without children add nothing to the run.
    for (TWKTreeNode* p = m_pFirstChild; p != NULL; p = p->m_pNextSibling)
    {
        if (p->m_pFirstChild != NULL)
            return p->m_pFirstChild;
    }
    return NULL;
}

TWKTreeNode* TWKTreeNodeX::GetNextSibling() const
{
    WORD nSkip = GetSkippedLevel();
    if (m_pNextSibling != NULL || nSkip == 0 || GetDepth() != nSkip + 1)
        return m_pNextSibling;
    for (TWKTreeNode* p = m_pParent->m_pNextSibling; p != NULL; p = p->m_pNextSibling)
    {
        if (p->m_pFirstChild != NULL)
            return p->m_pFirstChild;
    }
    return NULL;
}

TWKTreeNode* TWKTreeNodeX::GetPrevSibling() const
{
    WORD nSkip = GetSkippedLevel();
    if (m_pPrevSibling != NULL || nSkip == 0 || GetDepth() != nSkip + 1)
        return m_pPrevSibling;
    for (TWKTreeNode* p = m_pParent->m_pPrevSibling; p != NULL; p = p->m_pPrevSibling)
    {
        if (TWKTreeNode* pLast = p->m_pFirstChild)
        {
            while (pLast->m_pNextSibling != NULL)
                pLast = pLast->m_pNextSibling;
            return pLast;
        }
    }
    return NULL;
}

// ---- _Node ----

_Node::_Node() : m_dwExState(0), m_nRowHeight(0), m_nRowHint(-1)
{
    memset(&m_item, 0, sizeof(m_item));
    m_item.hItem = reinterpret_cast<HTREEITEM>(this);
    m_item.iImage = NO_IMAGE;
    m_item.iSelectedImage = NO_IMAGE;
}

_Node::~_Node()
{
    FreeText();
}

BOOL _Node::IsExpanded() const
{
    return (m_item.state & TVIS_EXPANDED) != 0;
}

void _Node::SetExpanded(BOOL bExpanded)
{
    if (bExpanded)
        m_item.state |= TVIS_EXPANDED;
    else
        m_item.state &= ~(UINT)TVIS_EXPANDED;
}

LRESULT _Node::QueryNode(WPARAM, LPARAM)
{
    return 0;
}

void _Node::FreeText()
{
    if (m_item.pszText != NULL && m_item.pszText != LPSTR_TEXTCALLBACKA)
        delete[] m_item.pszText;
    m_item.pszText = NULL;
    m_item.cchTextMax = 0;
}

void _Node::SetText(LPCSTR lpszText)
{
    FreeText();
    if (lpszText == NULL || lpszText == LPSTR_TEXTCALLBACKA)
    {
        m_item.pszText = const_cast<LPSTR>(lpszText);
        return;
    }
    size_t nLen = strlen(lpszText) + 1;
    m_item.pszText = new char[nLen];
    memcpy(m_item.pszText, lpszText, nLen);
    m_item.cchTextMax = (int)nLen;
}
