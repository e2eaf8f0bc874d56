// File load and save: line ends, chunks, wrapping, failures, the lock.
#include "tests/editor/store/store_fixture.h"

using namespace storetest;

namespace {

// Equal bytes, or where they first differ (the texts are too long to print).
::testing::AssertionResult SameBytes(const std::string& a, const std::string& b)
{
    if (a == b)
        return ::testing::AssertionSuccess();
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        i++;
    return ::testing::AssertionFailure() << "sizes " << a.size() << " and " << b.size()
                                         << ", first difference at " << i;
}

std::vector<std::string> Lines(TWKEdit& e)
{
    std::vector<std::string> v;
    for (TWKEditLine* p = e.GetFirstLine(); p; p = p->pNext)
        v.push_back(p->pText ? std::string(p->pText, p->nLength) : std::string());
    return v;
}

// Loads bytes through a file and saves them back to another.
struct RoundTrip
{
    vt::TempDir dir;
    TWKEdit e;
    int Load(const std::string& bytes)
    {
        App();
        return e.LoadFile(dir.Write("in.txt", bytes).c_str());
    }
    std::string Save()
    {
        std::string out = dir.File("out.txt");
        EXPECT_EQ(e.SaveFile(out.c_str()), 0);
        return vt::ReadFileBytes(out);
    }
};

} // namespace

TEST(EditLoad, EachLineEndTypeIsDetectedAndSavedBack)
{
    struct Case { const char* name; std::string bytes; int type; std::vector<std::string> lines; };
    const Case cases[] = {
        {"CR LF", "a\r\nb", 0, {"a\r\n", "b"}},
        {"LF CR", "a\n\rbc\n\r", 1, {"a\n\r", "bc\n\r"}},
        {"LF", "a\n\nb\n", 2, {"a\n", "\n", "b\n"}},
        {"CR", "a\rb\r\rc", 3, {"a\r", "b\r", "\r", "c"}},
        {"CR LF, later LF LF is one line end", "a\r\nb\n\nc", 0, {"a\r\n", "b\r\n", "c"}},
        {"no line end", "abc", 0, {"abc"}},
    };
    for (const Case& c : cases)
    {
        RoundTrip t;
        ASSERT_EQ(t.Load(c.bytes), 0) << c.name;
        EXPECT_EQ(t.e.GetLineEndType(), c.type) << c.name;
        EXPECT_EQ(Lines(t.e), c.lines) << c.name;
        EXPECT_EQ(t.e.m_nLineCount, (int)c.lines.size()) << c.name;
        EXPECT_EQ(TWKEdit::GetLastLine(t.e.m_pFirstLine)->nLineNo, (int)c.lines.size()) << c.name;
        std::string back = t.Save();
        if (std::string(c.name).find("LF LF") == std::string::npos)
            EXPECT_EQ(back, c.bytes) << c.name;
        else
            EXPECT_EQ(back, "a\r\nb\r\nc");
    }
}

TEST(EditLoad, EmptyFileAndCtrlZ)
{
    RoundTrip empty;
    ASSERT_EQ(empty.Load(""), 0);
    ASSERT_EQ(Lines(empty.e), std::vector<std::string>{""});
    EXPECT_EQ(empty.e.m_nLineCount, 1);

    RoundTrip eof;
    ASSERT_EQ(eof.Load("ab\r\ncd\x1a"), 0);
    EXPECT_EQ(Lines(eof.e), (std::vector<std::string>{"ab\r\n", "cd"}));
    EXPECT_EQ(eof.Save(), "ab\r\ncd");

    RoundTrip only;
    EXPECT_EQ(only.Load("\x1a"), 22577);
    EXPECT_EQ(Lines(only.e), std::vector<std::string>{""});
}

TEST(EditLoad, RefusedFilesLeaveOneEmptyLine)
{
    std::string late(40000, 'x');
    for (size_t i = 60; i < late.size(); i += 61)
        late[i] = '\n';
    late[35000] = 0;
    struct { const char* name; std::string bytes; int code; } cases[] = {
        {"NUL in first chunk", std::string("ab\r\nc\0d", 7), 22609},
        {"NUL only later", late, 22577},
        {"16384 bytes without a line end", std::string(16384, 'x'), 22578},
    };
    for (auto& c : cases)
    {
        RoundTrip t;
        t.e.SetModified(TRUE);
        EXPECT_EQ(t.Load(c.bytes), c.code) << c.name;
        EXPECT_EQ(Lines(t.e), std::vector<std::string>{""}) << c.name;
        EXPECT_TRUE(t.e.IsModified()) << c.name;      // loading leaves the flag alone
    }
    RoundTrip shorter;
    ASSERT_EQ(shorter.Load(std::string(16000, 'x')), 0);
    EXPECT_EQ(shorter.e.m_nLineCount, 1);
    EXPECT_EQ(shorter.e.GetLineEndType(), 0);
}

TEST(EditLoad, FailedOpenLeavesTheText)
{
    RoundTrip t;
    ASSERT_EQ(t.Load("keep\r\n"), 0);
    EXPECT_EQ(t.e.LoadFile(t.dir.File("missing.txt").c_str()), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Text(t.e), "keep\r\n");
}

TEST(EditLoad, OverlongLineIsWrappedOnceAndSavedWhole)
{
    vt::ModalAnswerer boxes;
    RoundTrip t;
    t.e.SetTabSize(4);
    std::string bytes = std::string(20000, 'q') + "\r\n" + std::string(30000, 'r') + "\r\nend";
    ASSERT_EQ(t.Load(bytes), 0);
    std::vector<std::string> v = Lines(t.e);
    ASSERT_GE(v.size(), 3u);
    EXPECT_EQ(v[0].size(), 16382u);
    EXPECT_TRUE(v[1] == std::string(3618, 'q') + "\r\n") << v[1].size();
    EXPECT_EQ(boxes.Count(), 1u);
    if (boxes.Count()) {
        EXPECT_EQ(boxes.Last().text, "This file contains lines longer than the 16384 character maximum.\r\n"
                                     "The lines will be wrapped.");
    }
    for (const std::string& s : v)
        EXPECT_LE(t.e.CountColumns(s.c_str(), (int)s.size()), TWK_MAX_COLUMNS);
    EXPECT_TRUE(SameBytes(t.Save(), bytes));
}

TEST(EditLoad, LargeFileAcrossChunksRoundTrips)
{
    // 528 lines of 62 bytes and one of 30 letters: byte 32767 is the CR of
    // a line end, its LF the first byte of the next chunk.
    std::string bytes;
    for (int i = 0; i < 528; i++)
        bytes += std::string(60, (char)('a' + i % 26)) + "\r\n";
    bytes += std::string(30, 'k') + "\r\n";
    ASSERT_EQ(bytes[32766], '\r');
    for (int i = 0; bytes.size() < 200000; i++)
        bytes += std::string(i % 97, (char)('a' + i % 26)) + "\r\n";
    bytes += "tail";
    RoundTrip t;
    ASSERT_EQ(t.Load(bytes), 0);
    for (TWKEditLine* p = t.e.GetFirstLine(); p->pNext; p = p->pNext)
    {
        std::string s(p->pText, p->nLength);
        ASSERT_EQ(s.find_first_of("\r\n"), s.size() - 2) << "line " << p->nLineNo;
    }
    EXPECT_STREQ(t.e.GetLine(529)->pText, (std::string(30, 'k') + "\r\n").c_str());
    EXPECT_EQ(t.e.GetLine(530)->nLength, 2);           // the empty line after it is still there
    EXPECT_TRUE(SameBytes(t.Save(), bytes));
}

TEST(EditLoad, LineJoinedAcrossChunksKeepsTheColumnLimit)
{
    vt::ModalAnswerer boxes;
    // A long line that starts in the first chunk and ends in the second,
    // each part short enough not to be cut on its own.
    std::string bytes = std::string(25000, 'a') + "\r\n" + std::string(2000, 'b') + "\r\n";
    bytes = std::string(20000, 'x') + "\r\n" + bytes;   // the long line straddles 32767
    RoundTrip t;
    t.e.SetTabSize(4);
    ASSERT_EQ(t.Load(bytes), 0);
    for (TWKEditLine* p = t.e.GetFirstLine(); p; p = p->pNext)
        EXPECT_LE(t.e.CountColumns(p->pText, p->nLength), TWK_MAX_COLUMNS) << "line " << p->nLineNo;
    EXPECT_TRUE(SameBytes(t.Save(), bytes));
}

TEST(EditLoad, ReadOnlyFileLoadsReadOnlyAndIsNotSaved)
{
    RoundTrip t;
    std::string path = t.dir.Write("ro.txt", "old\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    App();
    ASSERT_EQ(t.e.LoadFile(path.c_str()), 0);
    EXPECT_TRUE(t.e.IsReadOnly());
    t.e.SetReadOnly(FALSE);
    EXPECT_EQ(t.e.InsertChar(Pos(t.e, 1, 0), 'x', TRUE, FALSE), 0);
    t.e.SetModified(TRUE);
    EXPECT_EQ(t.e.SaveFile(path.c_str()), 22575);
    EXPECT_EQ(vt::ReadFileBytes(path), "old\r\n");
    EXPECT_TRUE(t.e.IsModified());
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(EditLoad, SaveToALockedTargetFailsAndKeepsTheOldFile)
{
    RoundTrip t;
    std::string path = t.dir.Write("locked.txt", "old contents\r\n");
    ASSERT_EQ(t.Load("new\r\n"), 0);
    t.e.SetModified(TRUE);
    HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    int rc = t.e.SaveFile(path.c_str());
    CloseHandle(other);
    EXPECT_NE(rc, 0);
    EXPECT_NE(rc, 22575);
    EXPECT_TRUE(t.e.IsModified());
    EXPECT_EQ(vt::ReadFileBytes(path), "old contents\r\n");
    // Nothing is left beside it.
    WIN32_FIND_DATAA fd;
    HANDLE f = FindFirstFileA((t.dir.Path() + "\\*.tmp").c_str(), &fd);
    EXPECT_EQ(f, INVALID_HANDLE_VALUE);
    if (f != INVALID_HANDLE_VALUE)
        FindClose(f);
}

TEST(EditLoad, SaveReplacesTheFileAndKeepsItsAttributes)
{
    RoundTrip t;
    std::string path = t.dir.Write("h.txt", "old\r\n");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_EQ(t.Load("brand new\r\nlines"), 0);
    t.e.SetModified(TRUE);
    ASSERT_EQ(t.e.SaveFile(path.c_str()), 0);
    EXPECT_FALSE(t.e.IsModified());
    EXPECT_EQ(vt::ReadFileBytes(path), "brand new\r\nlines");
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(EditLoad, LockedFileIsReleasedByLoadFreeAllAndDestruction)
{
    vt::TempDir dir;
    std::string a = dir.Write("a.txt", "a\r\n"), b = dir.Write("b.txt", "b\r\n");
    auto writable = [](const std::string& p) {
        HANDLE h = CreateFileA(p.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(h);
        return true;
    };
    App();
    TWKEdit* e = new TWKEdit;
    e->SetLockFiles(TRUE);
    ASSERT_EQ(e->LoadFile(a.c_str()), 0);
    EXPECT_NE(e->m_hLockedFile, (HANDLE)NULL);
    EXPECT_FALSE(writable(a));
    ASSERT_EQ(e->LoadFile(b.c_str()), 0);
    EXPECT_TRUE(writable(a));
    EXPECT_FALSE(writable(b));
    e->FreeAll();
    e->Initialize();
    EXPECT_EQ(e->m_hLockedFile, (HANDLE)NULL);
    EXPECT_TRUE(writable(b));
    e->SetLockFiles(TRUE);
    ASSERT_EQ(e->LoadFile(a.c_str()), 0);
    ASSERT_EQ(e->SaveFile(b.c_str()), 0);          // the lock follows the saved file
    EXPECT_TRUE(writable(a));
    EXPECT_FALSE(writable(b));
    delete e;
    EXPECT_TRUE(writable(b));
}

TEST(EditLoad, ConvertLineEndsKeepsEveryOtherByte)
{
    struct { const char* in; int type; const char* out; } cases[] = {
        {"a\r\nb\r\n", 2, "a\nb\n"},
        {"a\nb\n", 0, "a\r\nb\r\n"},
        {"a\nb", 1, "a\n\rb"},
        {"no ends", 2, "no ends"},
        {"a\r\nb\rc\nd", 2, "a\nb\nc\nd"},     // mixed: no letter lost
        {"a\rb\r\nc", 0, "a\r\nb\r\n\r\nc"},
    };
    for (auto& c : cases)
    {
        LPSTR buf = (LPSTR)malloc(strlen(c.in) + 1);
        strcpy(buf, c.in);
        int n = TWKEdit::ConvertLineEnds(&buf, (int)strlen(c.in), c.type);
        EXPECT_STREQ(buf, c.out) << c.in;
        EXPECT_EQ(n, (int)strlen(c.out)) << c.in;
        free(buf);
    }
    char t[] = "x\n\ry";
    EXPECT_EQ(TWKEdit::DetectLineEndType(t, 4), 1);
    EXPECT_EQ(TWKEdit::DetectLineEndType(t, 2), 2);     // the CR lies beyond the count
    EXPECT_EQ(TWKEdit::DetectLineEndType(t, 1), -1);
}

// Reads the bytes through ReadLines in chunks of the given size, as LoadFile
// does with its own size, and gives the lines.
static std::vector<std::string> ReadInChunks(TWKEdit& e, vt::TempDir& dir, const std::string& bytes, int nChunk)
{
    std::string path = dir.Write("chunks.txt", bytes);
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    std::vector<char> buffer(nChunk + 1);
    TWKEdit::FreeLines(e.m_pFirstLine);
    e.m_pFirstLine = NULL;
    int rc = e.ReadLines(h, buffer.data(), nChunk);
    CloseHandle(h);
    EXPECT_EQ(rc, 0) << "chunk " << nChunk;
    if (!e.m_pFirstLine)
        e.m_pFirstLine = TWKEdit::NewLine(32);
    e.m_nLineCount = TWKEdit::RenumberLines(e.m_pFirstLine);
    return Lines(e);
}

TEST(EditLoad, LineEndSplitByAChunkIsOneLineEndAtEveryBoundary)
{
    // Each type, with the text ending in a line end or not: whatever chunk
    // size cuts it, the lines are those of the whole text read at once and
    // saving gives the bytes back.
    const char* ends[] = { "\r\n", "\n\r", "\n", "\r" };
    for (const char* eol : ends)
    {
        for (const char* tail : { "", "z" })
        {
            std::string bytes = std::string("ab") + eol + "c" + eol + eol + "de" + eol + tail;
            RoundTrip whole;
            ASSERT_EQ(whole.Load(bytes), 0);
            std::vector<std::string> expected = Lines(whole.e);
            for (int nChunk = 3; nChunk <= (int)bytes.size() + 1; nChunk++)
            {
                RoundTrip t;
                App();
                EXPECT_EQ(ReadInChunks(t.e, t.dir, bytes, nChunk), expected)
                    << "type " << whole.e.GetLineEndType() << " chunk " << nChunk << " tail '" << tail << "'";
                EXPECT_TRUE(SameBytes(t.Save(), bytes)) << "chunk " << nChunk;
            }
        }
    }
}

TEST(EditLoad, CrCrLfIsOneCrLfLineEndWithTheFirstCrKeptAtEveryBoundary)
{
    // A CR LF text written once more in text mode: the first CR stays a byte
    // of its line, so saving gives the bytes back. CR CR before anything else
    // is still one line end.
    struct Case { std::string bytes; std::vector<std::string> lines; };
    const Case cases[] = {
        {"one\r\r\ntwo\r\r\n", {"one\r\r\n", "two\r\r\n"}},
        {"a\r\nb\r\r\nc", {"a\r\n", "b\r\r\n", "c"}},
        {"a\r\nb\r\rc\r\n", {"a\r\n", "b\r\n", "c\r\n"}},
    };
    for (const Case& c : cases)
    {
        RoundTrip whole;
        ASSERT_EQ(whole.Load(c.bytes), 0);
        EXPECT_EQ(whole.e.GetLineEndType(), TWK_LINEEND_CRLF);
        EXPECT_EQ(Lines(whole.e), c.lines);
        if (c.bytes.find("\r\rc") == std::string::npos) {
            EXPECT_TRUE(SameBytes(whole.Save(), c.bytes));
        }
        for (int nChunk = 3; nChunk <= (int)c.bytes.size() + 1; nChunk++)
        {
            RoundTrip t;
            App();
            t.e.SetLineEndType(TWK_LINEEND_CRLF);
            EXPECT_EQ(ReadInChunks(t.e, t.dir, c.bytes, nChunk), c.lines) << "chunk " << nChunk;
        }
    }
}

TEST(EditLoad, LineEndSplitAtTheFirstOrLastChunkBoundaryIsOneLineEnd)
{
    // A file that ends with a line end whose second byte is the first byte
    // past 32767, and one whose first line end the first chunk ends inside
    // (that line is long and wrapped).
    vt::ModalAnswerer boxes;
    for (const char* eol : { "\r\n", "\n\r" })
    {
        struct Case { std::string bytes; int nLineEnds; };
        const Case cases[] = { { std::string(100, 'x') + eol + std::string(32664, 'a') + eol, 2 },
                               { std::string(32766, 'b') + eol + "c", 1 } };
        for (const Case& c : cases)
        {
            RoundTrip t;
            t.e.SetTabSize(4);
            ASSERT_EQ(t.Load(c.bytes), 0);
            EXPECT_EQ(t.e.GetLineEndType(), eol[0] == '\r' ? 0 : 1);
            int nLineEnds = 0;
            for (const std::string& s : Lines(t.e))
            {
                size_t at = s.find_first_of("\r\n");
                if (at == std::string::npos)
                    continue;
                EXPECT_EQ(s.substr(at), eol);
                nLineEnds++;
            }
            EXPECT_EQ(nLineEnds, c.nLineEnds);
            EXPECT_TRUE(SameBytes(t.Save(), c.bytes));
        }
    }
}

TEST(EditLoad, SaveIntoAMissingFolderGivesTheCreateCode)
{
    RoundTrip t;
    ASSERT_EQ(t.Load("text\r\n"), 0);
    t.e.SetModified(TRUE);
    std::string path = t.dir.File("missing\\out.txt");
    EXPECT_EQ(t.e.SaveFile(path.c_str()), ERROR_PATH_NOT_FOUND);
    EXPECT_TRUE(t.e.IsModified());
    EXPECT_EQ(GetFileAttributesA(t.dir.File("missing").c_str()), INVALID_FILE_ATTRIBUTES);
}
