// The print loop and the document's save question.
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "afx/afxres.h"
#include "tests/harness/harness.h"

namespace {

class CRecordingView : public CView
{
public:
    std::vector<std::string> calls;
    UINT maxPage = 3, stopAfter = 0;
    void OnDraw(CDC*) override {}
    void OnBeginPrinting(CDC*, CPrintInfo* p) override { calls.push_back("begin"); p->SetMaxPage(maxPage); }
    void OnPrepareDC(CDC* pDC, CPrintInfo* p) override
    {
        CView::OnPrepareDC(pDC, p);
        calls.push_back("prepare" + std::to_string(p->m_nCurPage));
    }
    void OnPrint(CDC*, CPrintInfo* p) override
    {
        calls.push_back("print" + std::to_string(p->m_nCurPage));
        if (p->m_nCurPage == stopAfter)
            p->m_bContinuePrinting = FALSE;
    }
    void OnEndPrinting(CDC*, CPrintInfo*) override { calls.push_back("end"); }
};

TEST(PrintLoop, RunsTheVirtualsInOrderUpToTheMaximumPage)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CRecordingView view;
    CPrintInfo info;
    ASSERT_TRUE(view.PrintTo(&dc, &info));
    std::vector<std::string> want = {"begin", "prepare1", "print1", "prepare2", "print2",
                                     "prepare3", "print3", "end"};
    EXPECT_EQ(want, view.calls);
    EXPECT_FALSE(info.m_rectDraw.IsRectEmpty());
}

TEST(PrintLoop, StopsWhenThePrintAsksAndAnUnknownCountPrintsOnePage)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    CRecordingView stop;
    stop.stopAfter = 2;
    CPrintInfo info;
    stop.PrintTo(&dc, &info);
    EXPECT_EQ((std::vector<std::string>{"begin", "prepare1", "print1", "prepare2", "print2", "end"}), stop.calls);

    CRecordingView unknown;
    unknown.maxPage = 0xFFFF;
    CPrintInfo info2;
    unknown.PrintTo(&dc, &info2);
    EXPECT_EQ((std::vector<std::string>{"begin", "prepare1", "print1", "prepare2", "end"}), unknown.calls);
}

class CSavingDoc : public CDocument
{
public:
    int saves = 0;
    BOOL OnSaveDocument(LPCSTR) override { ++saves; SetModifiedFlag(FALSE); return TRUE; }
};

TEST(SaveModified, AsksWithTheNameAndFollowsTheAnswer)
{
    vt::TempDir dir;
    std::string path = dir.Write("prog.asm", "x");
    CSavingDoc doc;
    doc.m_bAutoDelete = FALSE;
    doc.SetPathName(path.c_str(), FALSE);
    EXPECT_STREQ("prog.asm", doc.GetTitle());

    vt::ModalAnswerer answerer(IDNO);
    EXPECT_TRUE(doc.SaveModified());   // not modified: no question
    EXPECT_EQ(0u, answerer.Count());

    doc.SetModifiedFlag();
    EXPECT_TRUE(doc.SaveModified());
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_NE(std::string::npos, answerer.Last().text.find("Save changes to " + path + "?"));
    EXPECT_EQ(0, doc.saves);

    answerer.Queue(IDCANCEL);
    EXPECT_FALSE(doc.SaveModified());
    EXPECT_EQ(0, doc.saves);

    answerer.Queue(IDYES);
    EXPECT_TRUE(doc.SaveModified());
    EXPECT_EQ(1, doc.saves);
    EXPECT_FALSE(doc.IsModified());
}

} // namespace
