// The tree control's hierarchy: a general n-ary node, a level-skipping view over
// its links, and the item node whose address is a tree item's handle.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "afx/string.h"

// An n-ary node with four links. All navigation goes through the virtual getters,
// so a subclass can present another shape without touching the links.
class TWKTreeNode
{
public:
    TWKTreeNode();
    virtual ~TWKTreeNode();

    virtual TWKTreeNode* GetParent() const { return m_pParent; }
    virtual TWKTreeNode* GetNextSibling() const { return m_pNextSibling; }
    virtual TWKTreeNode* GetPrevSibling() const { return m_pPrevSibling; }
    virtual TWKTreeNode* GetFirstChild() const { return m_pFirstChild; }
    virtual BOOL IsMatch(LPARAM lKey, TWKTreeNode* pNode) const;
    virtual BOOL IsExpanded() const { return FALSE; }
    virtual void SetExpanded(BOOL bExpanded);

    WORD GetLevel() const;                 // ancestors through GetParent
    int GetDepth() const;                  // ancestors through the parent links
    TWKTreeNode* GetRootNode() const;
    TWKTreeNode* GetLastSibling() const;
    TWKTreeNode* GetLastChild() const;
    TWKTreeNode* GetFirstLeaf() const;
    TWKTreeNode* GetLastDescendant() const;
    TWKTreeNode* GetNextInOrder() const;   // pre-order successor
    TWKTreeNode* GetPrevInOrder() const;   // pre-order predecessor
    BOOL IsAncestorOf(const TWKTreeNode* pNode) const;
    BOOL IsDescendantOf(const TWKTreeNode* pNode) const;

    enum { ADD_FIRST = 0, ADD_LAST = 1, ADD_LAST2 = 2 };
    // nPos: ADD_FIRST, ADD_LAST (or 2), or the address of the child to follow.
    BOOL AddChild(TWKTreeNode* pNode, UINT_PTR nPos);
    void Unlink();
    void MoveUp();
    void DeleteAllChildren();

    TWKTreeNode* m_pParent;
    TWKTreeNode* m_pNextSibling;
    TWKTreeNode* m_pPrevSibling;
    TWKTreeNode* m_pFirstChild;

private:
    TWKTreeNode(const TWKTreeNode&);
    TWKTreeNode& operator=(const TWKTreeNode&);
};

// The same links seen with one level left out: with L the skipped level held by
// the root, the nodes at depth L vanish and the children of consecutive depth-L
// nodes appear as one run of siblings under their depth L-1 node.
class TWKTreeNodeX : public TWKTreeNode
{
public:
    TWKTreeNodeX();
    ~TWKTreeNodeX() override;

    TWKTreeNode* GetParent() const override;
    TWKTreeNode* GetNextSibling() const override;
    TWKTreeNode* GetPrevSibling() const override;
    TWKTreeNode* GetFirstChild() const override;

    WORD GetSkippedLevel() const;
    // Only the root's value counts; 0 shows the plain links.
    void SetSkippedLevel(WORD nLevel);

private:
    WORD m_nSkippedLevel;
    // Nodes holding a non-zero level; while there are none the getters skip the depth walk.
    static int s_nSkipping;
};

// The tree control's item node: one item record whose handle is the node itself.
class _Node : public TWKTreeNodeX
{
public:
    // Bits of the extra state; both count for the item's descendants too.
    enum { XS_DISABLED = 0x100, XS_HIDDEN = 0x200 };
    // Image value of an item without an image: no icon is drawn and no space kept.
    enum { NO_IMAGE = -12 };

    _Node();
    ~_Node() override;

    BOOL IsExpanded() const override;
    void SetExpanded(BOOL bExpanded) override;
    virtual LRESULT QueryNode(WPARAM wParam, LPARAM lParam);

    // Replaces the owned text by a copy of lpszText; LPSTR_TEXTCALLBACK and null are kept as they are.
    void SetText(LPCSTR lpszText);

    TVITEMA m_item;
    CString m_strFirst;
    CString m_strSecond;
    DWORD m_dwExState;
    int m_nRowHeight;       // 0: the list measures the row
    int m_nRowHint;         // the tree's last known list row of the item; checked before use

private:
    void FreeText();
};
