#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/frames/TWKFileSystem.h"
#include "tests/harness/harness.h"
#include <set>
#include <string>

namespace {

std::string CurrentFolder()
{
    char buf[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, buf);
    return buf;
}

// The process's error mode, read without changing it.
UINT ErrorMode()
{
    UINT mode = ::SetErrorMode(0);
    ::SetErrorMode(mode);
    return mode;
}

// Puts the process's folder (and error mode) back as the test found them.
class KeepProcessState
{
public:
    KeepProcessState() : m_folder(CurrentFolder()), m_mode(ErrorMode()) {}
    ~KeepProcessState()
    {
        ::SetCurrentDirectoryA(m_folder.c_str());
        ::SetErrorMode(m_mode);
    }
private:
    std::string m_folder;
    UINT m_mode;
};

// A drive letter with no drive behind it ("q:"), or empty when all are taken.
std::string MissingDrive()
{
    DWORD drives = ::GetLogicalDrives();
    for (char c = 'Z'; c >= 'D'; --c)
        if (!(drives & (1u << (c - 'A'))))
            return std::string(1, c) + ":";
    return std::string();
}

} // namespace

TEST(FileSystem, NameAndFolderPartsOfPaths)
{
    struct Case { const char* path; const char* name; const char* withDrive; const char* withoutDrive; };
    const Case cases[] = {
        {"dir/sub\\file.txt", "file.txt", "dir/sub\\", "dir/sub\\"},
        {"c:\\dir\\file.txt", "file.txt", "c:\\dir\\", "\\dir\\"},
        {"c:/dir\\sub/file.txt", "file.txt", "c:/dir\\sub/", "/dir\\sub/"},
        {"file.txt", "file.txt", "", ""},
        {"c:file.txt", "c:file.txt", "", ""},
        {"c:\\dir\\", "", "c:\\dir\\", "\\dir\\"},
        {"dir/", "", "dir/", "dir/"},
        {"", "", "", ""},
    };
    TWKFileSystem fs;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.path);
        EXPECT_STREQ(c.name, fs.GetFileName(c.path));
        EXPECT_STREQ(c.withDrive, fs.GetPath(c.path, TRUE));
        EXPECT_STREQ(c.withoutDrive, fs.GetPath(c.path, FALSE));
    }
}

TEST(FileSystem, ExistenceAndStatusOfAFileAFolderAndAMissingPath)
{
    vt::TempDir dir;
    std::string file = dir.Write("data.bin", std::string(1234, 'x'));
    ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    std::string missing = dir.File("nothing.here");
    TWKFileSystem fs;

    EXPECT_TRUE(fs.FileExists(file.c_str()));
    EXPECT_FALSE(fs.DirectoryExists(file.c_str()));
    EXPECT_TRUE(fs.FileExists(dir.Path().c_str()));
    EXPECT_TRUE(fs.DirectoryExists(dir.Path().c_str()));
    EXPECT_FALSE(fs.FileExists(missing.c_str()));
    EXPECT_FALSE(fs.DirectoryExists(missing.c_str()));

    LONG size = -1;
    EXPECT_TRUE(fs.GetFileSize(file.c_str(), size));
    EXPECT_EQ(1234, size);
    BYTE attribute = 0;
    EXPECT_TRUE(fs.GetFileAttribute(file.c_str(), attribute));
    EXPECT_TRUE(attribute & CFile::readOnly);
    EXPECT_TRUE(fs.GetFileAttribute(dir.Path().c_str(), attribute));
    EXPECT_TRUE(attribute & CFile::directory);

    CTime created, modified, accessed;
    EXPECT_TRUE(fs.GetFileCreationTime(file.c_str(), created));
    EXPECT_TRUE(fs.GetFileModifyTime(file.c_str(), modified));
    EXPECT_TRUE(fs.GetFileAccessTime(file.c_str(), accessed));
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(file.c_str(), status));
    EXPECT_TRUE(status.m_mtime == modified);
    EXPECT_TRUE(status.m_ctime == created);
    EXPECT_GT(modified.GetTime(), 0);

    // A missing path answers FALSE and leaves the outputs alone.
    size = 77;
    attribute = 0x55;
    CTime untouched = modified;
    EXPECT_FALSE(fs.GetFileSize(missing.c_str(), size));
    EXPECT_EQ(77, size);
    EXPECT_FALSE(fs.GetFileAttribute(missing.c_str(), attribute));
    EXPECT_EQ(0x55, attribute);
    EXPECT_FALSE(fs.GetFileCreationTime(missing.c_str(), untouched));
    EXPECT_FALSE(fs.GetFileModifyTime(missing.c_str(), untouched));
    EXPECT_FALSE(fs.GetFileAccessTime(missing.c_str(), untouched));
    EXPECT_TRUE(untouched == modified);
    ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileSystem, SizeBeyondALongIsNoAnswer)
{
    vt::TempDir dir;
    std::string big = dir.File("big.bin");
    HANDLE h = ::CreateFileA(big.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    LARGE_INTEGER at;
    at.QuadPart = 0x90000000LL;   // 2.25 GB, mostly a hole
    ASSERT_TRUE(::SetFilePointerEx(h, at, NULL, FILE_BEGIN));
    ASSERT_TRUE(::SetEndOfFile(h));
    ::CloseHandle(h);

    TWKFileSystem fs;
    LONG size = 5;
    EXPECT_FALSE(fs.GetFileSize(big.c_str(), size));
    EXPECT_EQ(5, size);
}

TEST(FileSystem, CurrentFolderOfADriveLeavesTheProcessWhereItWas)
{
    KeepProcessState keep;
    vt::TempDir dir;
    std::string inner = dir.File("inner");
    ASSERT_TRUE(::CreateDirectoryA(inner.c_str(), NULL));
    ASSERT_TRUE(::SetCurrentDirectoryA(inner.c_str()));
    const std::string here = CurrentFolder();
    TWKFileSystem fs;

    EXPECT_STREQ(here.c_str(), fs.GetCurrentDirectory(""));
    // The process's own drive: its folder there is this one, and the
    // process stays in it (not at the drive's root).
    std::string drive = here.substr(0, 2);
    EXPECT_STREQ(here.c_str(), fs.GetCurrentDirectory(drive.c_str()));
    EXPECT_EQ(here, CurrentFolder());
    // A folder given for the drive: answered, and the process stays here.
    EXPECT_STREQ(dir.Path().c_str(), fs.GetCurrentDirectory(dir.Path().c_str()));
    EXPECT_EQ(here, CurrentFolder());
    EXPECT_EQ(0u, ErrorMode());

    std::string drivePart = (LPCSTR)fs.GetCurrentDrive();
    ASSERT_EQ(3u, drivePart.size());
    EXPECT_EQ((char)tolower((unsigned char)here[0]), drivePart[0]);
    EXPECT_EQ(":\\", drivePart.substr(1));
}

TEST(FileSystem, CurrentFolderOfADriveThatIsNotReady)
{
    KeepProcessState keep;
    std::string drive = MissingDrive();
    if (drive.empty())
        GTEST_SKIP() << "every drive letter is taken";
    const std::string here = CurrentFolder();
    ::SetErrorMode(SEM_NOGPFAULTERRORBOX);
    vt::ModalAnswerer answerer;
    TWKFileSystem fs;
    EXPECT_STREQ("", fs.GetCurrentDirectory(drive.c_str()));
    EXPECT_EQ(0u, answerer.Count());
    EXPECT_EQ(0u, ErrorMode());
    EXPECT_EQ(here, CurrentFolder());
}

TEST(FileSystem, MakeDirectory)
{
    vt::TempDir dir;
    std::string folder = dir.File("made");
    TWKFileSystem fs;
    EXPECT_TRUE(fs.MakeDirectory(folder.c_str()));
    EXPECT_TRUE(fs.DirectoryExists(folder.c_str()));
    EXPECT_FALSE(fs.MakeDirectory(folder.c_str()));
    EXPECT_FALSE(fs.MakeDirectory(dir.File("no\\such\\parent").c_str()));
}

TEST(FileSystem, DirectoryWalkByFilter)
{
    vt::TempDir dir;
    std::string plain = dir.Write("plain.txt", "a");
    std::string hidden = dir.Write("hidden.txt", "b");
    ASSERT_TRUE(::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::CreateDirectoryA(dir.File("sub").c_str(), NULL));
    const DWORD plainAttributes = ::GetFileAttributesA(plain.c_str());

    auto walk = [&](DWORD filter, int* entries) {
        TWKFileSystem fs;
        std::set<std::string> names;
        CString name;
        int n = 0;
        for (BOOL more = fs.GetDirectoryEntry(name, (dir.Path() + "\\*.*").c_str(), filter); more;
             more = fs.GetDirectoryEntry(name, "", filter))
        {
            ++n;
            if (!name.IsEmpty())
                names.insert((LPCSTR)name);
        }
        // Once the walk has ended it stays ended.
        name = "x";
        EXPECT_FALSE(fs.GetDirectoryEntry(name, "", filter));
        EXPECT_STREQ("", name);
        *entries = n;
        return names;
    };
    using Names = std::set<std::string>;
    int entries = 0;
    // Plain entries only: no folder (nor "." and ".."), nothing hidden.
    EXPECT_EQ(Names({"plain.txt"}), walk(0, &entries));
    EXPECT_EQ(5, entries);   // ".", "..", two files, one folder: each answers TRUE
    EXPECT_EQ((plainAttributes & FILE_ATTRIBUTE_NORMAL) ? Names({"plain.txt"}) : Names(),
              walk(FILE_ATTRIBUTE_NORMAL, &entries));
    EXPECT_EQ(Names({".", "..", "plain.txt", "hidden.txt", "sub"}), walk(0xFFFFFFFF, &entries));
    EXPECT_EQ(Names({".", "..", "sub"}), walk(FILE_ATTRIBUTE_DIRECTORY, &entries));
    EXPECT_EQ(Names({"hidden.txt"}), walk(FILE_ATTRIBUTE_HIDDEN, &entries));

    // Nothing matching: FALSE at once with an empty name.
    TWKFileSystem fs;
    CString name = "x";
    EXPECT_FALSE(fs.GetDirectoryEntry(name, (dir.Path() + "\\*.none").c_str(), 0xFFFFFFFF));
    EXPECT_STREQ("", name);
    // A new walk can start while one is still open.
    EXPECT_TRUE(fs.GetDirectoryEntry(name, (dir.Path() + "\\plain.txt").c_str(), 0xFFFFFFFF));
    EXPECT_TRUE(fs.GetDirectoryEntry(name, (dir.Path() + "\\hidden.txt").c_str(), 0xFFFFFFFF));
    EXPECT_STREQ("hidden.txt", name);
    EXPECT_FALSE(fs.GetDirectoryEntry(name, "", 0xFFFFFFFF));
    ::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileSystem, SpaceArithmeticBeyondThirtyTwoBits)
{
    struct Case { DWORD sectors, bytes, clusters, expected; };
    const Case cases[] = {
        {8, 512, 1000, 4096000},
        {8, 512, 0, 0},
        {0, 512, 1000, 0},
        {8, 512, 0x0FFFFF, 0xFFFFF000},
        // 5 GB free reads as "more than 32 bits", not as the 1 GB left over.
        {8, 512, 1310720, 0xFFFFFFFE},
        {64, 4096, 0xFFFFFFFF, 0xFFFFFFFE},
        {1, 1, 0xFFFFFFFF, 0xFFFFFFFE},   // never the failure value
        {1, 1, 0xFFFFFFFE, 0xFFFFFFFE},
        {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, TWKFileSystem::SpaceProduct(c.sectors, c.bytes, c.clusters))
            << c.sectors << " x " << c.bytes << " x " << c.clusters;

    KeepProcessState keep;
    TWKFileSystem fs;
    std::string root = (LPCSTR)fs.GetCurrentDrive();
    const DWORD total = fs.GetTotalSpace(root.c_str());
    const DWORD free = fs.GetFreeSpace(root.c_str());
    EXPECT_NE(0xFFFFFFFFu, total);
    EXPECT_NE(0xFFFFFFFFu, free);
    EXPECT_TRUE(free <= total || total == 0xFFFFFFFE);
    std::string missing = MissingDrive();
    if (!missing.empty())
    {
        EXPECT_EQ(0xFFFFFFFFu, fs.GetFreeSpace((missing + "\\").c_str()));
        EXPECT_EQ(0xFFFFFFFFu, fs.GetTotalSpace((missing + "\\").c_str()));
    }
    EXPECT_EQ(0u, ErrorMode());
}
