#include "afx/afx.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <map>
#include <string>
#include "tests/harness/harness.h"

namespace {

// The cause of the CFileException f throws; -1 when it throws none.
template<class F>
int FileCause(F f)
{
    try
    {
        f();
    }
    catch (CFileException* e)
    {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

} // namespace

TEST(FileCFile, OpenModesOfTheToolsFile)
{
    vt::TempDir dir;
    std::string path = dir.Write("t.bin", "old contents");

    // 0x1011: create (truncating), write, exclusive.
    CFile out;
    ASSERT_TRUE(out.Open(path.c_str(), 0x1011));
    EXPECT_EQ(0u, out.GetLength());
    CFileException e;
    CFile other;
    EXPECT_FALSE(other.Open(path.c_str(), 0x40, &e));   // exclusive keeps readers out
    EXPECT_EQ(CFileException::sharingViolation, e.m_cause);
    out.Write("abc", 3);
    out.Close();

    // 0x40: read, deny none: two readers at once.
    CFile r1, r2;
    ASSERT_TRUE(r1.Open(path.c_str(), 0x40));
    ASSERT_TRUE(r2.Open(path.c_str(), 0x40));
    char buf[8] = {};
    EXPECT_EQ(3u, r2.Read(buf, sizeof(buf)));
    EXPECT_STREQ("abc", buf);
    EXPECT_NE(-1, FileCause([&] { r1.Write("x", 1); }));
}

TEST(FileCFile, ReadWriteSeekLength)
{
    vt::TempDir dir;
    std::string path = dir.File("data.bin");
    CFile f(path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
    EXPECT_STREQ(path.c_str(), f.GetFilePath());
    EXPECT_STREQ("data.bin", f.GetFileName());
    EXPECT_STREQ("data", f.GetFileTitle());
    f.Write("0123456789", 10);
    EXPECT_EQ(10u, f.GetPosition());
    EXPECT_EQ(10u, f.GetLength());
    EXPECT_EQ(4u, f.Seek(-6, CFile::current));
    char buf[16] = {};
    EXPECT_EQ(3u, f.Read(buf, 3));
    EXPECT_STREQ("456", buf);
    EXPECT_EQ(10u, f.SeekToEnd());
    EXPECT_EQ(0u, f.Read(buf, sizeof(buf)));       // at the end: nothing, no error
    f.SetLength(4);
    EXPECT_EQ(4u, f.GetLength());
    f.SeekToBegin();
    EXPECT_EQ(4u, f.Read(buf, sizeof(buf)));
    EXPECT_NE(-1, FileCause([&] { f.Seek(-1, CFile::begin); }));
    f.Flush();
    f.Close();
    EXPECT_EQ(CFile::hFileNull, f.m_hFile);
    EXPECT_EQ("0123", vt::ReadFileBytes(path));

    // Writing through a handle opened for reading fails loudly.
    CFile ro(path.c_str(), CFile::modeRead);
    EXPECT_NE(-1, FileCause([&] { ro.Write("x", 1); }));
    ro.Abort();
    EXPECT_EQ("0123", vt::ReadFileBytes(path));
}

TEST(FileCFile, MissingFilesReportTheirCause)
{
    vt::TempDir dir;
    std::string missing = dir.File("none.txt");
    CFile f;
    CFileException e;
    EXPECT_FALSE(f.Open(missing.c_str(), CFile::modeRead, &e));
    EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
    EXPECT_STREQ(missing.c_str(), e.m_strFileName);
    EXPECT_EQ(CFileException::fileNotFound, FileCause([&] { CFile g(missing.c_str(), CFile::modeRead); }));
    EXPECT_EQ(CFileException::fileNotFound, FileCause([&] { CFile::Remove(missing.c_str()); }));
    EXPECT_EQ(CFileException::fileNotFound,
              FileCause([&] { CFile::Rename(missing.c_str(), dir.File("x").c_str()); }));

    std::string from = dir.Write("a.txt", "a");
    CFile::Rename(from.c_str(), dir.File("b.txt").c_str());
    CFileStatus st;
    EXPECT_FALSE(CFile::GetStatus(from.c_str(), st));
    CFile::Remove(dir.File("b.txt").c_str());
    EXPECT_FALSE(CFile::GetStatus(dir.File("b.txt").c_str(), st));
}

TEST(FileCFile, GetStatus)
{
    vt::TempDir dir;
    std::string path = dir.Write("status.txt", "12345");
    CTime before(CTime::GetCurrentTime().GetTime() - 120);

    CFileStatus st;
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), st));
    EXPECT_EQ(5u, st.m_size);
    EXPECT_STREQ(path.c_str(), st.m_szFullName);
    EXPECT_GT(st.m_mtime, before);
    EXPECT_GT(st.m_ctime, before);
    EXPECT_EQ(0, st.m_attribute & CFile::directory);

    // A relative name gives the full path.
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    SetCurrentDirectoryA(dir.Path().c_str());
    CFileStatus rel;
    EXPECT_TRUE(CFile::GetStatus("status.txt", rel));
    SetCurrentDirectoryA(cwd);
    EXPECT_STREQ(path.c_str(), rel.m_szFullName);

    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), st));
    EXPECT_EQ(CFile::readOnly, st.m_attribute & CFile::readOnly);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    ASSERT_TRUE(CFile::GetStatus(dir.Path().c_str(), st));
    EXPECT_EQ(CFile::directory, st.m_attribute & CFile::directory);

    CFile open(path.c_str(), CFile::modeRead);
    CFileStatus byHandle;
    ASSERT_TRUE(open.GetStatus(byHandle));
    EXPECT_EQ(5u, byHandle.m_size);
    EXPECT_TRUE(st.m_mtime == byHandle.m_mtime);

    for (const char* bad : { "*.txt", "no such file.txt" })
        EXPECT_FALSE(CFile::GetStatus(dir.File(bad).c_str(), st)) << bad;
    EXPECT_FALSE(CFile::GetStatus(NULL, st));
    EXPECT_FALSE(CFile::GetStatus("", st));
}

TEST(FileStdio, TextModeLines)
{
    vt::TempDir dir;
    std::string path = dir.File("lines.txt");
    {
        CStdioFile out(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        out.WriteString("one\ntwo\n");
        out.WriteString(std::string(300, 'x').c_str());
        out.WriteString("\n\nlast");
    }
    std::string raw = vt::ReadFileBytes(path);
    EXPECT_EQ("one\r\ntwo\r\n" + std::string(300, 'x') + "\r\n\r\nlast", raw);

    CStdioFile in;
    ASSERT_TRUE(in.Open(path.c_str(), CFile::modeRead | CFile::typeText));
    EXPECT_EQ(raw.size(), in.GetLength());
    CString line;
    EXPECT_TRUE(in.ReadString(line));
    EXPECT_STREQ("one", line);
    char buf[64];
    EXPECT_STREQ("two\n", in.ReadString(buf, sizeof(buf)));   // keeps its line feed
    EXPECT_TRUE(in.ReadString(line));
    EXPECT_EQ(CString('x', 300), line);                        // longer than any chunk
    EXPECT_TRUE(in.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
    EXPECT_STREQ("last", in.ReadString(buf, sizeof(buf)));    // last line without one
    EXPECT_FALSE(in.ReadString(line));
    EXPECT_EQ(nullptr, in.ReadString(buf, sizeof(buf)));
    in.Close();

    // Binary mode keeps "\r\n"; the CString form still drops the line end.
    CStdioFile bin(path.c_str(), CFile::modeRead | CFile::typeBinary);
    EXPECT_STREQ("one\r\n", bin.ReadString(buf, sizeof(buf)));
    EXPECT_TRUE(bin.ReadString(line));
    EXPECT_STREQ("two", line);

    CStdioFile missing;
    CFileException e;
    EXPECT_FALSE(missing.Open(dir.File("none.txt").c_str(), CFile::modeRead, &e));
    EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
}

TEST(FileMem, GrowSeekAttachDetach)
{
    CMemFile m(16);
    char buf[64] = {};
    EXPECT_EQ(0u, m.Read(buf, 4));
    m.Write("hello world, and more than sixteen", 34);
    EXPECT_EQ(34u, m.GetLength());
    m.Seek(6, CFile::begin);
    EXPECT_EQ(5u, m.Read(buf, 5));
    EXPECT_STREQ("world", buf);
    m.Seek(40, CFile::begin);                      // past the end: the gap reads as zeros
    m.Write("!", 1);
    EXPECT_EQ(41u, m.GetLength());
    m.Seek(34, CFile::begin);
    EXPECT_EQ(7u, m.Read(buf, sizeof(buf)));
    EXPECT_EQ(std::string(6, '\0') + "!", std::string(buf, 7));
    EXPECT_NE(-1, FileCause([&] { m.Seek(-1, CFile::begin); }));
    m.SetLength(5);
    EXPECT_EQ(5u, m.GetPosition());
    BYTE* p = m.Detach();
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(0, memcmp(p, "hello", 5));
    free(p);
    EXPECT_EQ(0u, m.GetLength());

    // A caller's buffer of fixed size: the file is the whole buffer and cannot grow.
    BYTE fixed[4] = { 'a', 'b', 'c', 'd' };
    CMemFile f(fixed, sizeof(fixed));
    EXPECT_EQ(4u, f.GetLength());
    f.Write("XY", 2);
    EXPECT_EQ('X', fixed[0]);
    bool threw = false;
    try
    {
        f.Write("123", 3);
    }
    catch (CMemoryException* e)
    {
        threw = true;
        e->Delete();
    }
    EXPECT_TRUE(threw);
    EXPECT_EQ(fixed, f.Detach());

    // A caller's buffer that may grow moves to our memory and leaves the caller's alone.
    BYTE small[2] = { 0, 0 };
    CMemFile g;
    g.Attach(small, sizeof(small), 8);
    EXPECT_EQ(0u, g.GetLength());
    g.Write("abcdef", 6);
    EXPECT_EQ(6u, g.GetLength());
    EXPECT_EQ(0, small[0] | small[1]);
}

TEST(FileFind, ListsAFolder)
{
    vt::TempDir dir;
    dir.Write("a.txt", "123");
    dir.Write("b.log", "");
    dir.Write("c.txt", "1");
    CreateDirectoryA(dir.File("sub").c_str(), NULL);

    std::map<std::string, std::string> seen;      // name -> kind
    CFileFind ff;
    BOOL more = ff.FindFile((dir.Path() + "\\*.*").c_str());
    ASSERT_TRUE(more);
    while (more)
    {
        more = ff.FindNextFile();
        std::string name = (LPCSTR)ff.GetFileName();
        EXPECT_STREQ((dir.Path() + "\\" + name).c_str(), ff.GetFilePath());
        seen[name] = ff.IsDots() ? "dots" : ff.IsDirectory() ? "dir" : "file";
        if (name == "a.txt")
        {
            EXPECT_EQ(3u, ff.GetLength());
            EXPECT_STREQ("a", ff.GetFileTitle());
        }
    }
    EXPECT_EQ("file", seen["a.txt"]);
    EXPECT_EQ("file", seen["b.log"]);
    EXPECT_EQ("dir", seen["sub"]);
    if (seen.count("."))
    {
        EXPECT_EQ("dots", seen["."]);
    }
    EXPECT_EQ(seen.count(".") ? 6u : 4u, seen.size());
    ff.Close();

    // One match: FindNextFile returns FALSE on it, and it is still there to read.
    ASSERT_TRUE(ff.FindFile((dir.Path() + "\\b.*").c_str()));
    EXPECT_FALSE(ff.FindNextFile());
    EXPECT_STREQ("b.log", ff.GetFileName());
    EXPECT_FALSE(ff.FindNextFile());

    // The current folder by default.
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    SetCurrentDirectoryA(dir.File("sub").c_str());
    CFileFind here;
    EXPECT_FALSE(here.FindFile("*.txt"));
    SetCurrentDirectoryA(dir.Path().c_str());
    int txt = 0;
    for (BOOL m = here.FindFile("*.txt"); m;)
    {
        m = here.FindNextFile();
        EXPECT_STREQ((dir.Path() + "\\" + (LPCSTR)here.GetFileName()).c_str(), here.GetFilePath());
        ++txt;
    }
    SetCurrentDirectoryA(cwd);
    EXPECT_EQ(2, txt);
}
