#include <gtest/gtest.h>
#include "support/config/FileAttributes.h"
#include "support/text/CUString.h"
#include "tests/harness/harness.h"
#include <string>

namespace {

// Sets a file's last-write time to a fixed day, so that comparisons do not hang on the clock.
void SetLastWrite(const std::string& path, int day)
{
    SYSTEMTIME st = {};
    st.wYear = 2004;
    st.wMonth = 3;
    st.wDay = static_cast<WORD>(day);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
}

// Points the program folder at a temporary one: a copy of a DLL there stands for the program.
class ProgramFolder {
public:
    explicit ProgramFolder(const vt::TempDir& dir, bool withComponent)
    {
        std::string anchor = dir.File("Anchor.dll");
        CopyFileA("FileAttributes.dll", anchor.c_str(), FALSE);
        if (withComponent)
            CopyFileA("FileAttributes.dll", dir.File("FileAttributes.dll").c_str(), FALSE);
        m_module = LoadLibraryA(anchor.c_str());
        g_hInstance = m_module;
    }
    ~ProgramFolder()
    {
        g_hInstance = nullptr;
        FreeLibrary(m_module);
    }
    bool Ok() const { return m_module != nullptr; }

private:
    HMODULE m_module;
};

TEST(FileAttributes, ComponentBesideTheProgramIsLoadedAtStart)
{
    // The test program sits in the bin folder, where the component is built.
    EXPECT_TRUE(g_FileAttributesLib.IsLoaded());
}

// The same answers through the component and through the platform.
class FileAttributesBoth : public ::testing::TestWithParam<bool> {};

TEST_P(FileAttributesBoth, TimesLengthAndNewer)
{
    vt::TempDir dir;
    std::string a = dir.Write("a.bin", std::string(1000, 'x'));
    std::string b = dir.Write("b.bin", "");
    std::string missing = dir.File("none.bin");
    SetLastWrite(a, 20);
    SetLastWrite(b, 10);
    C_FileAttributesLib* lib = &g_FileAttributesLib;
    ProgramFolder folder(dir, false);
    ASSERT_TRUE(folder.Ok());
    C_FileAttributesLib fallback;
    if (!GetParam()) {
        ASSERT_FALSE(fallback.IsLoaded());
        lib = &fallback;
    }
    EXPECT_EQ(lib->GetFileLen(a.c_str()), 1000);
    EXPECT_EQ(lib->GetFileLen(b.c_str()), 0);
    EXPECT_EQ(lib->GetFileLen(missing.c_str()), -1);

    FILETIME creation = {}, access = {}, write = {};
    EXPECT_TRUE(lib->GetFileTimes(a.c_str(), &creation, &access, &write));
    SYSTEMTIME st;
    FileTimeToSystemTime(&write, &st);
    EXPECT_EQ(st.wYear, 2004);
    EXPECT_EQ(st.wDay, 20);
    EXPECT_TRUE(lib->GetFileTimes(a.c_str(), nullptr, nullptr, nullptr));
    EXPECT_FALSE(lib->GetFileTimes(missing.c_str(), nullptr, nullptr, &write));
}

INSTANTIATE_TEST_SUITE_P(ComponentAndPlatform, FileAttributesBoth, ::testing::Values(true, false));

TEST(FileAttributes, FallbackReportsTimesThatCannotBeRead)
{
    // A pipe opens for reading but has no file times.
    std::string name = "\\\\.\\pipe\\" + vt::UniqueName("fa");
    HANDLE server = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 64, 64, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    vt::TempDir dir;
    ProgramFolder folder(dir, false);
    C_FileAttributesLib fallback;
    ASSERT_FALSE(fallback.IsLoaded());
    FILETIME ft = {};
    EXPECT_FALSE(fallback.GetFileTimes(name.c_str(), nullptr, nullptr, &ft));
    CloseHandle(server);
}

TEST(FileAttributes, ComponentLoadsFromTheProgramFolder)
{
    vt::TempDir dir;
    ProgramFolder folder(dir, true);
    C_FileAttributesLib lib;
    EXPECT_TRUE(lib.IsLoaded());
}

TEST(FileAttributes, VersionsThatLoadTheComponent)
{
    struct Case { int platform, major, minor; BOOL loads; };
    const Case cases[] = {
        {VER_PLATFORM_WIN32_NT, 4, 0, TRUE},   {VER_PLATFORM_WIN32_NT, 10, 0, TRUE},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, FALSE}, {VER_PLATFORM_WIN32_WINDOWS, 4, 10, TRUE},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 90, TRUE}, {VER_PLATFORM_WIN32s, 3, 10, FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(C_FileAttributesLib::VersionLoadsComponent(c.platform, c.major, c.minor), c.loads)
            << c.platform << " " << c.major << "." << c.minor;
}

TEST(FileAttributes, NewerComparesLastWrite)
{
    vt::TempDir dir;
    std::string older = dir.Write("older.asm", "a");
    std::string newer = dir.Write("newer.asm", "b");
    std::string missing = dir.File("missing.asm");
    SetLastWrite(older, 1);
    SetLastWrite(newer, 2);
    EXPECT_TRUE(IsFileNewer(newer.c_str(), older.c_str()));
    EXPECT_FALSE(IsFileNewer(older.c_str(), newer.c_str()));
    EXPECT_FALSE(IsFileNewer(older.c_str(), older.c_str()));
    EXPECT_FALSE(IsFileNewer(missing.c_str(), older.c_str()));
    EXPECT_TRUE(IsFileNewer(older.c_str(), missing.c_str()));

    C_CUStringList list;
    EXPECT_FALSE(IsAnyFileNewer(&list, older.c_str()));
    list.Add(missing.c_str());
    list.Add(older.c_str());
    EXPECT_FALSE(IsAnyFileNewer(&list, newer.c_str()));
    list.Add(newer.c_str());
    EXPECT_TRUE(IsAnyFileNewer(&list, older.c_str()));
}

} // namespace
