// Running out of memory while building lines or converting line ends fails
// cleanly with "Out of memory." and leaves the store usable.
#include "tests/editor/store/store_fixture.h"

using namespace storetest;

namespace {

// The n-th zero-filled allocation after arming fails once.
int s_nFailAt = 0;

} // namespace

extern "C" void* calloc(size_t n, size_t size)
{
    if (s_nFailAt > 0 && --s_nFailAt == 0)
        return NULL;
    size_t total = n * size;
    void* p = malloc(total ? total : 1);
    if (p)
        memset(p, 0, total);
    return p;
}

// Short lines share pooled blocks; lines this long take a heap buffer each.
std::string LongLine(char c)
{
    return std::string(500, c) + "\r\n";
}

TEST(EditNoMemory, BuildLinesFailsWithOutOfMemory)
{
    TWKEdit e;
    std::string text = LongLine('a') + LongLine('b') + LongLine('c');
    for (int at = 1; at <= 3; at++)
    {
        int err = -1;
        s_nFailAt = at;
        TWKEditLine* p = e.BuildLines(text.c_str(), &err);
        s_nFailAt = 0;
        EXPECT_EQ(p, nullptr) << "allocation " << at;
        EXPECT_EQ(err, 22579) << "allocation " << at;
    }
    int err = -1;
    TWKEditLine* p = e.BuildLines("one\r\ntwo", &err);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(err, 0);
    TWKEdit::FreeLines(p);
}

TEST(EditNoMemory, LoadFileFailsAndLeavesOneEmptyLine)
{
    vt::TempDir dir;
    std::string bytes;
    for (int i = 0; i < 3000; i++)
        bytes += LongLine((char)('a' + i % 26));          // many chunks
    std::string path = dir.Write("big.txt", bytes);
    for (int at : {2, 50, 2500, 2990})
    {
        TWKEdit e;
        s_nFailAt = at;
        int rc = e.LoadFile(path.c_str());
        s_nFailAt = 0;
        EXPECT_EQ(rc, 22579) << "allocation " << at;
        EXPECT_EQ(Text(e), "") << "allocation " << at;
        EXPECT_EQ(e.m_nLineCount, 1);
        ASSERT_EQ(e.LoadFile(path.c_str()), 0);           // and it still loads afterwards
        EXPECT_EQ(e.m_nLineCount, 3000);
    }
}

TEST(EditNoMemory, ConvertLineEndsAndInsertText)
{
    LPSTR buf = (LPSTR)malloc(16);
    strcpy(buf, "a\nb\nc");
    s_nFailAt = 1;
    EXPECT_EQ(TWKEdit::ConvertLineEnds(&buf, 5, 0), -1);
    s_nFailAt = 0;
    EXPECT_STREQ(buf, "a\nb\nc");
    free(buf);

    TWKEdit e;
    SetText(e, "xy\r\n");
    TWKEditPos p = Pos(e, 1, 1);
    s_nFailAt = 1;
    EXPECT_EQ(e.InsertText(p, "1\n2\n", 4, TRUE), 22579);
    s_nFailAt = 0;
    EXPECT_EQ(Text(e), "xy\r\n");
    EXPECT_EQ(e.GetUndoCount(), 0);
}
