#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/frames/TWKDocTemplateUtils.h"

namespace {

class CDocA : public CDocument { DECLARE_DYNCREATE(CDocA) };
IMPLEMENT_DYNCREATE(CDocA, CDocument)
class CDocB : public CDocument { DECLARE_DYNCREATE(CDocB) };
IMPLEMENT_DYNCREATE(CDocB, CDocument)
class CViewA : public CView
{
    DECLARE_DYNCREATE(CViewA)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CViewA, CView)
class CViewB : public CViewA { DECLARE_DYNCREATE(CViewB) };
IMPLEMENT_DYNCREATE(CViewB, CViewA)

// Three templates: two of the file type "Source" (resources 0x7D20, 0x7D21),
// and one of "Other" on resource 0x7D21 with another document class.
class DocTemplateUtils : public testing::Test
{
protected:
    CDocTemplate* t[3] = {};
    void SetUp() override
    {
        struct { UINT nID; CRuntimeClass* pDoc; const char* pszStrings; } defs[] = {
            { 0x7D20, RUNTIME_CLASS(CDocA), "\nSrc\nSrc\n\n\nVt.Source\nSource" },
            { 0x7D21, RUNTIME_CLASS(CDocA), "\nSrc2\nSrc2\n\n\nVt.Source2\nSource" },
            { 0x7D21, RUNTIME_CLASS(CDocB), "\nOth\nOth\n\n\nVt.Other\nOther" },
        };
        CWinApp* pApp = AfxGetApp();
        for (int i = 0; i < 3; i++) {
            t[i] = new CMultiDocTemplate(defs[i].nID, defs[i].pDoc, RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CViewA));
            pApp->AddDocTemplate(t[i]);
            t[i]->m_strDocStrings = defs[i].pszStrings;
        }
    }
};

TEST_F(DocTemplateUtils, ByNameAndPosition)
{
    TWKDocTemplateUtils utils;
    EXPECT_EQ(t[0], utils.FindTemplateByName("Source", 0));
    EXPECT_EQ(t[1], utils.FindTemplateByName("Source", 1));
    EXPECT_EQ(t[1], utils.FindTemplateByName("Source", 3));   // fewer: the last of them
    EXPECT_EQ(t[2], utils.FindTemplateByName("Other", 0));
    EXPECT_EQ(nullptr, utils.FindTemplateByName("None", 0));
    EXPECT_EQ(0, utils.GetTemplateIndex(t[0], "Source"));
    EXPECT_EQ(1, utils.GetTemplateIndex(t[1], "Source"));
    EXPECT_EQ(0, utils.GetTemplateIndex(t[2], "Other"));
    EXPECT_EQ(-1, utils.GetTemplateIndex(nullptr, "Source"));
}

TEST_F(DocTemplateUtils, FindTemplateNarrowsByViewFrameResourceAndDocument)
{
    TWKDocTemplateUtils utils;
    CDocA docA;
    CDocB docB;
    CViewA viewA;
    CViewB viewB;
    CMDIChildWnd frame;
    CFrameWnd otherFrame;
    otherFrame.m_nIDHelp = 0x7D20;

    struct Case { CDocument* pDoc; CView* pView; CFrameWnd* pFrame; UINT nFrameID; CDocTemplate* pExpected; };
    const Case cases[] = {
        { &docA, &viewA, &frame, 0x7D20, t[0] },        // the frame's resource leaves one
        { &docA, &viewA, &frame, 0x7D21, t[1] },        // the document class decides
        { &docB, &viewA, &frame, 0x7D21, t[2] },
        { &docA, &viewA, &frame, 0, nullptr },          // resource 0 matches only id 0
        { &docA, &viewB, &frame, 0x7D20, nullptr },     // no template has that view class
        { &docA, &viewA, &otherFrame, 0x7D20, nullptr },
        { nullptr, &viewA, &frame, 0x7D20, nullptr },
    };
    for (const Case& c : cases) {
        c.pFrame->m_nIDHelp = c.nFrameID;
        EXPECT_EQ(c.pExpected, utils.FindTemplate(c.pDoc, c.pView, c.pFrame)) << &c - cases;
    }

    TWKDocTemplateList list;
    CDocTemplate* pOne = t[0];
    EXPECT_TRUE(utils.GetSingleTemplate(&list, &pOne));
    EXPECT_EQ(nullptr, pOne);
    EXPECT_TRUE(utils.CollectTemplates(&list));
    EXPECT_FALSE(utils.GetSingleTemplate(&list, &pOne));
    EXPECT_FALSE(utils.FilterByDocClass(&list, nullptr));
    EXPECT_EQ(3, list.GetCount());
    EXPECT_EQ(0u, utils.GetFrameResourceID(nullptr));
    EXPECT_EQ(nullptr, utils.GetFrameClass(t[0], TRUE));
    EXPECT_EQ(RUNTIME_CLASS(CMDIChildWnd), utils.GetFrameClass(t[0], FALSE));
}

} // namespace
