// A container document's client items: membership, walking, state.
#include <gtest/gtest.h>
#include "afx/afx.h"

namespace {

// Counts its own deletion.
class CCountedItem : public COleClientItem
{
public:
    CCountedItem(COleDocument* pDoc, int* pDeleted) : COleClientItem(pDoc), m_pDeleted(pDeleted) {}
    ~CCountedItem() override { ++*m_pDeleted; }
    int* m_pDeleted;
};

TEST(OleDocument, ItemsJoinWalkInOrderAndLeave)
{
    int nDeleted = 0;
    auto* pDoc = new COleDocument;
    EXPECT_EQ(nullptr, pDoc->GetStartPosition());
    auto* a = new CCountedItem(pDoc, &nDeleted);
    auto* b = new CCountedItem(pDoc, &nDeleted);
    auto* c = new CCountedItem(nullptr, &nDeleted);
    EXPECT_EQ(pDoc, a->GetDocument());
    EXPECT_EQ(nullptr, c->GetDocument());
    pDoc->AddItem(c);
    pDoc->AddItem(c);   // once only
    std::vector<COleClientItem*> walked;
    for (POSITION pos = pDoc->GetStartPosition(); pos;)
        walked.push_back(pDoc->GetNextClientItem(pos));
    EXPECT_EQ((std::vector<COleClientItem*>{ a, b, c }), walked);
    POSITION end = nullptr;
    EXPECT_EQ(nullptr, pDoc->GetNextClientItem(end));

    // A deleted item leaves the list; the document deletes the rest.
    delete b;
    EXPECT_EQ(2, (int)pDoc->m_docItemList.GetCount());
    EXPECT_EQ(1, nDeleted);
    delete pDoc;
    EXPECT_EQ(3, nDeleted);
}

TEST(OleDocument, CloseTakesAnOpenOrActiveItemBackToLoadedAndAVerbHasNothingToRun)
{
    struct { UINT nState; UINT nAfter; } cases[] = {
        { COleClientItem::emptyState, COleClientItem::emptyState },
        { COleClientItem::loadedState, COleClientItem::loadedState },
        { COleClientItem::openState, COleClientItem::loadedState },
        { COleClientItem::activeState, COleClientItem::loadedState },
        { COleClientItem::activeUIState, COleClientItem::loadedState },
    };
    for (const auto& c : cases) {
        COleClientItem item;
        EXPECT_EQ((UINT)COleClientItem::loadedState, item.GetItemState());
        item.m_nItemState = c.nState;
        item.Close(OLECLOSE_SAVEIFDIRTY);
        EXPECT_EQ(c.nAfter, item.GetItemState()) << c.nState;
        EXPECT_FALSE(item.DoVerb(OLEIVERB_SHOW, nullptr));
        EXPECT_EQ(c.nAfter, item.GetItemState());
    }
}

} // namespace
