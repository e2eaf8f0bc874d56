// A document read and written through an archive over its file.
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "tests/harness/harness.h"

namespace {

class CNoteDoc : public CDocument
{
public:
    CString m_text;
    int m_cleared = 0;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_text;
        else
            ar >> m_text;
    }
    void DeleteContents() override { m_text.Empty(); ++m_cleared; }
};

} // namespace

TEST(Document, SaveThenOpenRoundTripsThroughTheFile)
{
    vt::TempDir dir;
    std::string path = dir.File("note.bin");
    CNoteDoc saved;
    saved.m_text = "hello";
    saved.SetModifiedFlag(TRUE);
    ASSERT_TRUE(saved.OnSaveDocument(path.c_str()));
    EXPECT_FALSE(saved.IsModified());
    EXPECT_EQ(std::string("\x05hello", 6), vt::ReadFileBytes(path));

    CNoteDoc opened;
    opened.m_text = "old";
    ASSERT_TRUE(opened.OnOpenDocument(path.c_str()));
    EXPECT_STREQ("hello", opened.m_text);
    EXPECT_FALSE(opened.IsModified());
}

TEST(Document, FailedOpenReportsAndLeavesTheDocumentEmpty)
{
    vt::TempDir dir;
    vt::ModalAnswerer answers;
    CNoteDoc missing;
    EXPECT_FALSE(missing.OnOpenDocument(dir.File("none.bin").c_str()));
    EXPECT_EQ(1u, answers.Count());

    // A truncated file: the archive ends early, the contents are cleared again.
    std::string path = dir.Write("cut.bin", std::string("\x05he", 3));
    CNoteDoc cut;
    cut.m_text = "old";
    EXPECT_FALSE(cut.OnOpenDocument(path.c_str()));
    EXPECT_TRUE(cut.m_text.IsEmpty());
    EXPECT_EQ(2, cut.m_cleared);
    EXPECT_EQ(2u, answers.Count());
}
