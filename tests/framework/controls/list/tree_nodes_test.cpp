#include <gtest/gtest.h>
#include "framework/controls/list/TWKTreeNode.h"
#include <map>
#include <string>
#include <vector>

namespace {

// A named node that counts the live ones, so leaks and double deletes show.
class CNamed : public _Node
{
public:
    explicit CNamed(const char* pszName) { SetText(pszName); s_nLive++; }
    ~CNamed() override { s_nLive--; }
    static int s_nLive;
};
int CNamed::s_nLive = 0;

std::string Name(const TWKTreeNode* p)
{
    if (p == NULL)
        return "-";
    const _Node* pNode = static_cast<const _Node*>(p);
    return pNode->m_item.pszText != NULL ? pNode->m_item.pszText : "?";
}

// The children as "a b c", after checking every link between them.
std::string Children(const TWKTreeNode* pParent)
{
    std::string s;
    const TWKTreeNode* pPrev = NULL;
    for (const TWKTreeNode* p = pParent->m_pFirstChild; p != NULL; p = p->m_pNextSibling)
    {
        EXPECT_EQ(p->m_pParent, pParent) << Name(p);
        EXPECT_EQ(p->m_pPrevSibling, pPrev) << Name(p);
        s += (s.empty() ? "" : " ") + Name(p);
        pPrev = p;
    }
    return s;
}

// A tree built from (name, parent name) pairs in order; the root is "R".
typedef std::vector<std::pair<const char*, const char*>> Links;

class CTree
{
public:
    explicit CTree(const Links& links)
    {
        m_pRoot = new CNamed("R");
        m_nodes["R"] = m_pRoot;
        for (const auto& l : links)
        {
            CNamed* p = new CNamed(l.first);
            m_nodes[l.first] = p;
            EXPECT_TRUE(m_nodes[l.second]->AddChild(p, TWKTreeNode::ADD_LAST));
        }
    }
    ~CTree() { delete m_pRoot; }
    CTree(const CTree&) = delete;
    CTree& operator=(const CTree&) = delete;
    CNamed* operator[](const std::string& s) { return m_nodes.at(s); }
    CNamed* m_pRoot;
    std::map<std::string, CNamed*> m_nodes;
};

// R ( A ( A1 ( A1a ) A2 ) B C ( C1 ) )
const Links kShape = {
    {"A", "R"}, {"A1", "A"}, {"A1a", "A1"}, {"A2", "A"}, {"B", "R"}, {"C", "R"}, {"C1", "C"}};

TEST(TreeNodeLinks, AddChildPositionsKeepEveryLink)
{
    struct Case { const char* name; const char* after; const char* expected; };
    // after: "first", "last", "two" (position 2) or the name of the child to follow.
    const Case cases[] = {
        {"a", "after-missing", "a"},   // into no children any position is taken as the first
        {"b", "last", "a b"},
        {"c", "two", "a b c"},
        {"d", "first", "d a b c"},
        {"e", "a", "d a e b c"},
        {"f", "c", "d a e b c f"},
        {"g", "d", "d g a e b c f"},
    };
    CNamed root("R");
    std::map<std::string, CNamed*> nodes;
    for (const Case& c : cases)
    {
        CNamed* p = new CNamed(c.name);
        nodes[c.name] = p;
        std::string after = c.after;
        UINT_PTR nPos = after == "first" ? (UINT_PTR)TWKTreeNode::ADD_FIRST
                      : after == "last" ? (UINT_PTR)TWKTreeNode::ADD_LAST
                      : after == "two" ? (UINT_PTR)TWKTreeNode::ADD_LAST2
                      : nodes.count(after) ? (UINT_PTR)nodes[after] : (UINT_PTR)&root;
        EXPECT_TRUE(root.AddChild(p, nPos)) << c.name;
        EXPECT_EQ(Children(&root), c.expected) << c.name;
    }
    EXPECT_EQ(Name(root.GetLastChild()), "f");
    EXPECT_EQ(root.GetLastChild()->m_pNextSibling, nullptr);
}

TEST(TreeNodeLinks, AddChildAfterAStrangerFailsAndLinksNothing)
{
    CTree t(Links{{"a", "R"}, {"b", "R"}, {"x", "a"}});
    CNamed* pNew = new CNamed("n");
    // x is a grandchild, not a child of R; R itself is no child either.
    EXPECT_FALSE(t.m_pRoot->AddChild(pNew, (UINT_PTR)t["x"]));
    EXPECT_FALSE(t.m_pRoot->AddChild(pNew, (UINT_PTR)t.m_pRoot));
    EXPECT_EQ(Children(t.m_pRoot), "a b");
    EXPECT_EQ(Children(t["a"]), "x");
    EXPECT_EQ(pNew->m_pParent, nullptr);   // not left claiming a parent that does not list it
    delete pNew;
    EXPECT_EQ(Children(t.m_pRoot), "a b");
}

TEST(TreeNodeNavigation, InOrderNeighboursBothWays)
{
    CTree t(kShape);
    const char* order[] = {"R", "A", "A1", "A1a", "A2", "B", "C", "C1"};
    const int n = sizeof(order) / sizeof(order[0]);
    for (int i = 0; i < n; i++)
    {
        EXPECT_EQ(Name(t[order[i]]->GetNextInOrder()), i + 1 < n ? order[i + 1] : "-") << order[i];
        EXPECT_EQ(Name(t[order[i]]->GetPrevInOrder()), i > 0 ? order[i - 1] : "-") << order[i];
    }
}

TEST(TreeNodeNavigation, RelativesTable)
{
    CTree t(kShape);
    struct Case { const char* node; const char* parent; const char* lastSibling; const char* lastChild;
                  const char* firstLeaf; const char* lastDescendant; int level; const char* root; };
    const Case cases[] = {
        {"R",   "-", "R",  "C",  "A1a", "C1",  0, "R"},
        {"A",   "R", "C",  "A2", "A1a", "A2",  1, "R"},
        {"A1",  "A", "A2", "A1a", "A1a", "A1a", 2, "R"},
        {"A1a", "A1", "A1a", "-", "-",  "A1a", 3, "R"},   // a leaf is its own last descendant
        {"B",   "R", "C",  "-",  "-",   "B",   1, "R"},
        {"C",   "R", "C",  "C1", "C1",  "C1",  1, "R"},
    };
    for (const Case& c : cases)
    {
        TWKTreeNode* p = t[c.node];
        EXPECT_EQ(Name(p->GetParent()), c.parent) << c.node;
        EXPECT_EQ(Name(p->GetLastSibling()), c.lastSibling) << c.node;
        EXPECT_EQ(Name(p->GetLastChild()), c.lastChild) << c.node;
        EXPECT_EQ(Name(p->GetFirstLeaf()), c.firstLeaf) << c.node;
        EXPECT_EQ(Name(p->GetLastDescendant()), c.lastDescendant) << c.node;
        EXPECT_EQ(p->GetLevel(), c.level) << c.node;
        EXPECT_EQ(p->GetDepth(), c.level) << c.node;
        EXPECT_EQ(Name(p->GetRootNode()), c.root) << c.node;
    }
}

TEST(TreeNodeNavigation, AncestryIsStrict)
{
    CTree t(kShape);
    struct Case { const char* a; const char* b; bool ancestor; };
    const Case cases[] = {
        {"R", "A1a", true}, {"A", "A1a", true}, {"A1", "A1a", true}, {"A", "C1", false},
        {"A1a", "A", false}, {"B", "B", false}, {"R", "R", false}, {"C", "B", false},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(t[c.a]->IsAncestorOf(t[c.b]) != FALSE, c.ancestor) << c.a << " " << c.b;
        EXPECT_EQ(t[c.b]->IsDescendantOf(t[c.a]) != FALSE, c.ancestor) << c.a << " " << c.b;
    }
    EXPECT_FALSE(t["A"]->IsAncestorOf(nullptr));
    EXPECT_FALSE(t["A"]->IsDescendantOf(nullptr));
}

TEST(TreeNodeLinks, UnlinkMendsSiblingsAndKeepsChildren)
{
    struct Case { const char* node; const char* left; };
    const Case cases[] = {{"a", "b c"}, {"b", "a c"}, {"c", "a b"}};
    for (const Case& c : cases)
    {
        CTree t(Links{{"a", "R"}, {"b", "R"}, {"c", "R"}, {"x", "a"}, {"y", "b"}, {"z", "c"}});
        CNamed* p = t[c.node];
        p->Unlink();
        EXPECT_EQ(Children(t.m_pRoot), c.left) << c.node;
        EXPECT_EQ(p->m_pParent, nullptr);
        EXPECT_EQ(p->m_pNextSibling, nullptr);
        EXPECT_EQ(p->m_pPrevSibling, nullptr);
        EXPECT_EQ(Children(p).size(), 1u) << c.node;   // its own child stays with it
        delete p;
    }
    CTree t(Links{{"only", "R"}});
    t["only"]->Unlink();
    EXPECT_EQ(t.m_pRoot->m_pFirstChild, nullptr);
    delete t["only"];
}

TEST(TreeNodeLinks, MoveUpSwapsWithThePreviousSibling)
{
    struct Case { const char* node; const char* expected; };
    const Case cases[] = {{"b", "b a c d"}, {"c", "a c b d"}, {"d", "a b d c"}, {"a", "a b c d"}};
    for (const Case& c : cases)
    {
        CTree t(Links{{"a", "R"}, {"b", "R"}, {"c", "R"}, {"d", "R"}});
        t[c.node]->MoveUp();
        EXPECT_EQ(Children(t.m_pRoot), c.expected) << c.node;
        EXPECT_EQ(t.m_pRoot->GetLastChild()->m_pNextSibling, nullptr) << c.node;
    }
}

TEST(TreeNodeDelete, DeepAndWideSubtreesGoWithoutRecursion)
{
    int nBefore = CNamed::s_nLive;
    {
        // A chain deep enough to overflow the stack if each level recursed.
        CNamed* pRoot = new CNamed("R");
        TWKTreeNode* pTip = pRoot;
        for (int i = 0; i < 200000; i++)
        {
            CNamed* p = new CNamed("n");
            pTip->AddChild(p, TWKTreeNode::ADD_LAST);
            pTip = p;
        }
        // And a wide fan with grandchildren beside it.
        for (int i = 0; i < 1000; i++)
        {
            CNamed* p = new CNamed("w");
            pRoot->AddChild(p, TWKTreeNode::ADD_LAST);
            p->AddChild(new CNamed("g"), TWKTreeNode::ADD_LAST);
        }
        EXPECT_EQ(CNamed::s_nLive - nBefore, 1 + 200000 + 2000);
        pRoot->m_pFirstChild->m_pFirstChild->DeleteAllChildren();
        EXPECT_EQ(CNamed::s_nLive - nBefore, 1 + 2 + 2000);
        delete pRoot;
    }
    EXPECT_EQ(CNamed::s_nLive, nBefore);
}

TEST(TreeNodeDelete, DeletingALinkedNodeLeavesNoDanglingLink)
{
    CTree t(Links{{"a", "R"}, {"b", "R"}, {"c", "R"}, {"x", "b"}});
    delete t["b"];
    EXPECT_EQ(Children(t.m_pRoot), "a c");
    delete t["a"];
    EXPECT_EQ(Children(t.m_pRoot), "c");
}

TEST(TreeNodeItem, MadeWithTheItemDefaults)
{
    _Node node;
    EXPECT_EQ(node.m_item.hItem, reinterpret_cast<HTREEITEM>(&node));
    EXPECT_EQ(node.m_item.mask, 0u);
    EXPECT_EQ(node.m_item.state, 0u);
    EXPECT_EQ(node.m_item.stateMask, 0u);
    EXPECT_EQ(node.m_item.pszText, nullptr);
    EXPECT_EQ(node.m_item.cchTextMax, 0);
    EXPECT_EQ(node.m_item.iImage, -12);
    EXPECT_EQ(node.m_item.iSelectedImage, -12);
    EXPECT_EQ(node.m_item.cChildren, 0);
    EXPECT_EQ(node.m_item.lParam, 0);
    EXPECT_TRUE(node.m_strFirst.IsEmpty());
    EXPECT_TRUE(node.m_strSecond.IsEmpty());
    EXPECT_EQ(node.m_dwExState, 0u);
    EXPECT_EQ(node.m_nRowHeight, 0);
    EXPECT_EQ(node.GetSkippedLevel(), 0);
    EXPECT_EQ(node.QueryNode(1, 2), 0);
    EXPECT_FALSE(node.IsMatch(0, &node));
}

TEST(TreeNodeItem, ExpandedBitLivesInTheItemState)
{
    _Node node;
    node.m_item.state = TVIS_BOLD;
    node.SetExpanded(TRUE);
    EXPECT_TRUE(node.IsExpanded());
    EXPECT_EQ(node.m_item.state, (UINT)(TVIS_BOLD | TVIS_EXPANDED));
    node.SetExpanded(FALSE);
    EXPECT_FALSE(node.IsExpanded());
    EXPECT_EQ(node.m_item.state, (UINT)TVIS_BOLD);

    // The plain node has no state to keep.
    TWKTreeNode plain;
    plain.SetExpanded(TRUE);
    EXPECT_FALSE(plain.IsExpanded());
}

TEST(TreeNodeItem, TextIsOwnedButACallbackTextIsNeverFreed)
{
    char buf[] = "label";
    _Node* p = new _Node;
    p->SetText(buf);
    ASSERT_NE(p->m_item.pszText, buf);   // a copy
    EXPECT_STREQ(p->m_item.pszText, "label");
    buf[0] = 'X';
    EXPECT_STREQ(p->m_item.pszText, "label");
    p->SetText(LPSTR_TEXTCALLBACKA);
    EXPECT_EQ(p->m_item.pszText, LPSTR_TEXTCALLBACKA);
    delete p;   // freeing -1 would fault here
    _Node* q = new _Node;
    q->m_item.pszText = LPSTR_TEXTCALLBACKA;   // set directly, as the tree control may
    delete q;
}

// The level-skipping view, with the skipped level set on the root by the test.
class TreeNodeSkipView : public ::testing::Test
{
protected:
    // R ( A ( a1 a2 ) E B ( b1 ( b1x ) ) )
    CTree t{Links{{"A", "R"}, {"a1", "A"}, {"a2", "A"}, {"E", "R"}, {"B", "R"}, {"b1", "B"}, {"b1x", "b1"}}};
    std::string PreOrder()
    {
        std::string s;
        for (TWKTreeNode* p = t.m_pRoot; p != NULL; p = p->GetNextInOrder())
            s += (s.empty() ? "" : " ") + Name(p);
        return s;
    }
};

TEST_F(TreeNodeSkipView, LevelZeroShowsThePlainLinks)
{
    EXPECT_EQ(PreOrder(), "R A a1 a2 E B b1 b1x");
    EXPECT_EQ(t["a1"]->GetSkippedLevel(), 0);
}

TEST_F(TreeNodeSkipView, SkippedLevelJoinsTheGrandchildrenIntoOneRun)
{
    t.m_pRoot->SetSkippedLevel(1);
    EXPECT_EQ(t["b1x"]->GetSkippedLevel(), 1);   // every node reads the root's value
    EXPECT_EQ(PreOrder(), "R a1 a2 b1 b1x");
    EXPECT_EQ(Name(t.m_pRoot->GetFirstChild()), "a1");
    EXPECT_EQ(Name(t["a2"]->GetNextSibling()), "b1");   // the childless E adds nothing
    EXPECT_EQ(Name(t["b1"]->GetPrevSibling()), "a2");
    EXPECT_EQ(Name(t["a1"]->GetPrevSibling()), "-");
    EXPECT_EQ(Name(t["b1"]->GetNextSibling()), "-");
    EXPECT_EQ(Name(t["b1"]->GetParent()), "R");
    EXPECT_EQ(Name(t["b1x"]->GetParent()), "b1");
    EXPECT_EQ(t["b1"]->GetLevel(), 1);
    EXPECT_EQ(t["b1"]->GetDepth(), 2);                 // the links themselves are untouched
    EXPECT_EQ(Name(t.m_pRoot->GetLastChild()), "b1");
    EXPECT_EQ(Name(t["b1x"]->GetPrevInOrder()), "b1");
    EXPECT_EQ(Name(t["b1"]->GetPrevInOrder()), "a2");
    EXPECT_TRUE(t.m_pRoot->IsAncestorOf(t["a1"]));
    EXPECT_FALSE(t["A"]->IsAncestorOf(t["a1"]));

    t.m_pRoot->SetSkippedLevel(2);   // now a1, a2 and b1 vanish: only b1x shows, under B
    EXPECT_EQ(PreOrder(), "R A E B b1x");
    EXPECT_EQ(Name(t["b1x"]->GetParent()), "B");
    EXPECT_EQ(t["b1x"]->GetLevel(), 2);
    t.m_pRoot->SetSkippedLevel(0);
    EXPECT_EQ(PreOrder(), "R A a1 a2 E B b1 b1x");
}

TEST_F(TreeNodeSkipView, OnlyTheRootsValueCounts)
{
    t["A"]->SetSkippedLevel(1);
    EXPECT_EQ(PreOrder(), "R A a1 a2 E B b1 b1x");
    EXPECT_EQ(t["a1"]->GetSkippedLevel(), 0);
    t["A"]->SetSkippedLevel(0);
}

}  // namespace

// ---- The tree's style words and their mapping onto the list's

#include "tree_test_support.h"

TEST(TreeStyles, CreationTakesTheTreeBitsOutOfTheWindowStyle)
{
    treetest::TreeFixture f(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT);
    EXPECT_EQ(0u, f.tree.GetStyle() & 0x7);
    EXPECT_EQ(0x7u, f.tree.GetTreeStyle());
    // Without extended bits: single selection, single-line labels, no header, no label tips.
    DWORD dwList = f.tree.GetListStyle(), dwListEx = f.tree.GetListStyleEx();
    for (DWORD bit : { (DWORD)LVS_SINGLESEL, (DWORD)LVS_NOLABELWRAP, (DWORD)LVS_NOCOLUMNHEADER,
                       (DWORD)LVS_NOSORTHEADER })
        EXPECT_TRUE(dwList & bit) << std::hex << bit;
    EXPECT_EQ(0u, dwListEx & (TWKLVS_EX_HEADERDRAGDROP | TWKLVS_EX_LABELTIPS));
    EXPECT_EQ(0u, f.tree.GetTreeStyleEx());
}

TEST(TreeStyles, ExtendedBitsMapOntoTheList)
{
    struct Case { DWORD ex; DWORD listSet, listClear, listExSet, listExClear; };
    const Case cases[] = {
        { TWKTVS_EX_MULTISELECT, 0, LVS_SINGLESEL, 0, 0 },
        { TWKTVS_EX_LABELWRAP, 0, LVS_NOLABELWRAP, 0, 0 },
        { TWKTVS_EX_HEADER, LVS_NOSORTHEADER, LVS_NOCOLUMNHEADER, 0, 0 },
        { TWKTVS_EX_HEADERBUTTONS, LVS_NOSORTHEADER | LVS_NOCOLUMNHEADER, 0, 0, 0 },
        { TWKTVS_EX_HEADER | TWKTVS_EX_HEADERBUTTONS, 0, LVS_NOSORTHEADER | LVS_NOCOLUMNHEADER, 0,
          TWKLVS_EX_HEADERDRAGDROP },
        { TWKTVS_EX_HEADER | TWKTVS_EX_HEADERBUTTONS | TWKTVS_EX_HEADERDRAGDROP, 0, LVS_NOSORTHEADER, 
          TWKLVS_EX_HEADERDRAGDROP, 0 },
        { TWKTVS_EX_LABELTIPS, LVS_SINGLESEL, 0, TWKLVS_EX_LABELTIPS, 0 },
    };
    treetest::TreeFixture f;
    for (const Case& k : cases)
    {
        EXPECT_TRUE(f.tree.SetTreeStyleEx(k.ex));
        EXPECT_EQ(k.ex, f.tree.GetTreeStyleEx());
        DWORD dwList = f.tree.GetListStyle(), dwListEx = f.tree.GetListStyleEx();
        EXPECT_EQ(k.listSet, dwList & k.listSet) << std::hex << k.ex;
        EXPECT_EQ(0u, dwList & k.listClear) << std::hex << k.ex;
        EXPECT_EQ(k.listExSet, dwListEx & k.listExSet) << std::hex << k.ex;
        EXPECT_EQ(0u, dwListEx & k.listExClear) << std::hex << k.ex;
    }
    // The list's single-flag setters keep the tree word in step.
    f.tree.SetTreeStyleEx(TWKTVS_EX_LABELTIPS);
    EXPECT_TRUE(f.tree.IsLabelTipsEnabled());
    f.tree.EnableLabelTips(FALSE);
    EXPECT_EQ(0u, f.tree.GetTreeStyleEx() & TWKTVS_EX_LABELTIPS);
    EXPECT_FALSE(f.tree.IsLabelTipsEnabled());
    f.tree.ShowHeader(TRUE, TRUE);
    EXPECT_EQ(TWKTVS_EX_HEADER | TWKTVS_EX_HEADERBUTTONS, f.tree.GetTreeStyleEx());
    f.tree.EnableMultiSelect(TRUE);
    f.tree.EnableLabelWrap(TRUE);
    EXPECT_EQ(TWKTVS_EX_HEADER | TWKTVS_EX_HEADERBUTTONS | TWKTVS_EX_MULTISELECT | TWKTVS_EX_LABELWRAP,
              f.tree.GetTreeStyleEx());
    EXPECT_TRUE(f.tree.IsMultiSelect());
}

TEST(TreeStyles, EditLabelsStyleLetsF2Edit)
{
    treetest::TreeFixture f(TVS_HASBUTTONS);
    HTREEITEM h = f.Add("label");
    f.tree.SetFocus();
    f.tree.SelectItem(h);
    f.tree.SendMessage(WM_KEYDOWN, VK_F2, 1);
    EXPECT_EQ(NULL, f.tree.GetEditControl()->GetSafeHwnd());
    EXPECT_TRUE(f.tree.SetTreeStyle(TVS_HASBUTTONS | TVS_EDITLABELS | TVS_SHOWSELALWAYS));
    EXPECT_TRUE(f.tree.GetListStyle() & LVS_EDITLABELS);
    EXPECT_EQ((DWORD)(TVS_HASBUTTONS | TVS_EDITLABELS | TVS_SHOWSELALWAYS), f.tree.GetTreeStyle());
    f.tree.SendMessage(WM_KEYDOWN, VK_F2, 1);
    EXPECT_NE(nullptr, f.tree.GetEditControl()->GetSafeHwnd());
    f.tree.EndLabelEdit(FALSE);
    EXPECT_TRUE(f.tree.ModifyTreeStyle(TVS_EDITLABELS, TVS_DISABLEDRAGDROP));
    EXPECT_EQ((DWORD)(TVS_HASBUTTONS | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP), f.tree.GetTreeStyle());
    EXPECT_FALSE(f.tree.GetListStyle() & LVS_EDITLABELS);
}
