#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/frames/TWKMsgFilter.h"
#include <vector>

namespace {

// Records what it sees and answers a set result.
class CRecordingFilter : public TWKMsgFilter
{
    DECLARE_DYNCREATE(CRecordingFilter)
public:
    CRecordingFilter() = default;
    TWKMsgFilter* Clone() const override { return new CRecordingFilter(*this); }
    DWORD OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        seen.push_back({ message, wParam, lParam });
        return answer | PassToChildren(message, wParam, lParam, pResult);
    }
    struct Seen { UINT message; WPARAM wParam; LPARAM lParam; };
    std::vector<Seen> seen;
    DWORD answer = 0;
};
IMPLEMENT_DYNCREATE(CRecordingFilter, TWKMsgFilter)

CRecordingFilter* Add(TWKMsgFilter& parent, int nID, DWORD answer = 0)
{
    auto* p = static_cast<CRecordingFilter*>(parent.FindFilter(nID, RUNTIME_CLASS(CRecordingFilter), 0));
    p->answer = answer;
    return p;
}

TEST(MsgFilter, DescriptorsCreateOnEnableOnlyAndKeepFlaggedFiltersOn)
{
    CWnd owner;
    TWKMsgFilter root(&owner, -1);
    TWKMsgFilter::DescriptorTable table;
    table.Add(new TWKMsgFilter::Descriptor(256, -1, RUNTIME_CLASS(CRecordingFilter), 1));
    table.Add(new TWKMsgFilter::Descriptor(258, 256, RUNTIME_CLASS(CRecordingFilter)));
    table.Add(new TWKMsgFilter::Descriptor(259, -1, RUNTIME_CLASS(CRecordingFilter)));
    table.Add(new TWKMsgFilter::Descriptor(300, 999, RUNTIME_CLASS(CRecordingFilter)));   // no such parent

    // A disable never creates.
    EXPECT_EQ(nullptr, root.ApplyDescriptor(table[2], FALSE));
    EXPECT_EQ(0, root.m_arrChildren.GetSize());

    const BOOL enable[] = { TRUE, TRUE, FALSE, TRUE };
    root.ApplyDescriptorTable(&table, enable);
    ASSERT_EQ(1, root.m_arrChildren.GetSize());   // 259 disabled: not made; 300: parent missing
    TWKMsgFilter* pList = root.FindFilter(256, nullptr, -1);
    TWKMsgFilter* pButton = root.FindFilter(258, nullptr, -1);
    ASSERT_NE(nullptr, pList);
    ASSERT_NE(nullptr, pButton);
    EXPECT_EQ(pList, root.m_arrChildren[0]);
    EXPECT_EQ(pButton, pList->m_arrChildren[0]);
    EXPECT_EQ(&owner, pButton->GetWnd());
    EXPECT_EQ(258, pButton->m_nID);
    EXPECT_EQ(nullptr, root.FindFilter(258, nullptr, 0));   // depth 0: children only

    // Flag 1 keeps the list on; its button goes off; enabling again reuses it.
    root.EnableDescriptorTable(&table, FALSE);
    EXPECT_TRUE(pList->m_bEnabled);
    EXPECT_FALSE(pButton->m_bEnabled);
    EXPECT_EQ(pButton, root.ApplyDescriptor(table[1], TRUE));
    EXPECT_TRUE(pButton->m_bEnabled);
}

TEST(MsgFilter, FirstOfEqualIdsWinsAndStopBitEndsTheSiblings)
{
    TWKMsgFilter root;
    CRecordingFilter* pFirst = Add(root, 5, TWKMsgFilter::resultHandled);
    CRecordingFilter* pSecond = static_cast<CRecordingFilter*>(RUNTIME_CLASS(CRecordingFilter)->CreateObject());
    pSecond->m_nID = 5;
    root.m_arrChildren.Add(pSecond);
    root.m_arrChildren.Add(nullptr);   // skipped everywhere
    CRecordingFilter* pThird = Add(root, 7);
    EXPECT_EQ(pFirst, root.FindFilter(5, nullptr, -1));

    struct Case { DWORD second; DWORD expected; size_t thirdSees; };
    const Case cases[] = {
        { 0, 1, 1 },
        { 2, 3, 2 },
        { 8 | 4, 1 | 8 | 4, 2 },   // stop: the third sees nothing, the bits still come back
    };
    for (const Case& c : cases) {
        pSecond->answer = c.second;
        EXPECT_EQ(c.expected, root.FilterMessage(WM_NCLBUTTONDOWN, 1, 2, nullptr)) << c.second;
        EXPECT_EQ(c.thirdSees, pThird->seen.size()) << c.second;
    }
    // A disabled filter and its children see nothing.
    root.m_bEnabled = FALSE;
    EXPECT_EQ(0u, root.FilterMessage(WM_NCLBUTTONDOWN, 1, 2, nullptr));
    EXPECT_EQ(3u, pFirst->seen.size());
}

TEST(MsgFilter, CloneIsAnIndependentSubtree)
{
    CWnd owner;
    auto* pOriginal = new TWKMsgFilter(&owner, 1);
    CRecordingFilter* pChild = Add(*pOriginal, 2, 1);
    Add(*pChild, 3, 8);
    TWKMsgFilter* pClone = pOriginal->Clone();
    ASSERT_EQ(1, pClone->m_arrChildren.GetSize());
    auto* pChildCopy = dynamic_cast<CRecordingFilter*>(pClone->m_arrChildren[0]);
    ASSERT_NE(nullptr, pChildCopy);
    EXPECT_NE(pChild, pChildCopy);
    EXPECT_EQ(1u, pChildCopy->answer);
    EXPECT_EQ(&owner, pChildCopy->GetWnd());
    TWKMsgFilter* pGrandCopy = pClone->FindFilter(3, nullptr, -1);
    ASSERT_NE(nullptr, pGrandCopy);
    EXPECT_NE(pChild->FindFilter(3, nullptr, -1), pGrandCopy);
    EXPECT_EQ(9u, pClone->FilterMessage(WM_MOUSEMOVE, 0, 0, nullptr));
    delete pClone;
    // The original still works after its clone is gone.
    EXPECT_EQ(9u, pOriginal->FilterMessage(WM_MOUSEMOVE, 0, 0, nullptr));
    EXPECT_EQ(1u, pChild->seen.size());
    delete pOriginal;
}

// A window whose handler asks the filters about the message being handled.
class CFilteredWnd : public CWnd
{
public:
    TWKMsgFilter m_root;
    DWORD m_dwResult = 0;
protected:
    LRESULT OnTest(WPARAM, LPARAM)
    {
        m_dwResult = m_root.ProcessMessage(NULL, NULL);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFilteredWnd, CWnd)
    ON_MESSAGE(WM_USER + 40, OnTest)
END_MESSAGE_MAP()

TEST(MsgFilter, ProcessMessageSeesTheMessageBeingHandled)
{
    CFilteredWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxGetDefaultWndClass(), "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    CRecordingFilter* p = Add(wnd.m_root, 1, 1);
    wnd.SendMessage(WM_USER + 40, 0x1234, 0x5678);
    ASSERT_EQ(1u, p->seen.size());
    EXPECT_EQ((UINT)(WM_USER + 40), p->seen[0].message);
    EXPECT_EQ((WPARAM)0x1234, p->seen[0].wParam);
    EXPECT_EQ((LPARAM)0x5678, p->seen[0].lParam);
    EXPECT_EQ(1u, wnd.m_dwResult);
    wnd.DestroyWindow();
}

} // namespace
