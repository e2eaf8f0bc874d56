#include <gtest/gtest.h>
#include "support/system/DllLoader.h"
#include "tests/harness/harness.h"
#include <string>

namespace {

std::string SystemText(DWORD code)
{
    char buf[512] = {0};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buf, sizeof(buf), nullptr);
    std::string s(buf);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.pop_back();
    return s;
}

std::string ProgramFolderFile(const char* name)
{
    char path[MAX_PATH] = {0};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.rfind('\\') + 1) + name;
}

} // namespace

TEST(LoadDll, MissingLibraryExplainedWithSystemText)
{
    vt::ModalAnswerer answerer;
    SetLastError(0);
    EXPECT_EQ(nullptr, LoadDllWithMessage("C:\\X\\none.dll", nullptr, nullptr, TRUE));
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Load Dll Library", answerer.Last().caption);
    const std::string& text = answerer.Last().text;
    EXPECT_EQ(0u, text.find("Load 'C:\\X\\none.dll' failed !\r\nError Code 126: ")) << text;
    EXPECT_NE(std::string::npos, text.find(SystemText(126))) << text;

    EXPECT_EQ(nullptr, LoadDllWithMessage("C:\\X\\none.dll", "Project Agent", nullptr, TRUE));
    ASSERT_EQ(2u, answerer.Count());
    EXPECT_EQ("Project Agent", answerer.Last().caption);

    EXPECT_EQ(nullptr, LoadDllWithMessage("C:\\X\\none.dll", "Project Agent", nullptr, FALSE));
    EXPECT_EQ(2u, answerer.Count());
}

TEST(LoadDll, EntryLookupAndMissingEntryBox)
{
    vt::ModalAnswerer answerer;
    std::string path = ProgramFolderFile("ChipInfo.dll");
    HMODULE module = LoadDllWithMessage(path.c_str(), nullptr, nullptr, TRUE);
    ASSERT_NE(nullptr, module);
    EXPECT_NE(nullptr, GetProcAddressWithMessage(module, "CreateServiceInstance", "X", nullptr, TRUE));
    EXPECT_EQ(0u, answerer.Count());

    EXPECT_EQ(nullptr, GetProcAddressWithMessage(module, "NoSuchEntry", "File Attributes", nullptr, TRUE));
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("File Attributes", answerer.Last().caption);
    char modulePath[MAX_PATH] = {0};
    GetModuleFileNameA(module, modulePath, MAX_PATH);
    std::string expected = std::string("Get 'NoSuchEntry()' address from '") + modulePath +
                           "' failed !\r\nError Code 127: ";
    EXPECT_EQ(0u, answerer.Last().text.find(expected)) << answerer.Last().text;
    EXPECT_NE(std::string::npos, answerer.Last().text.find(SystemText(127)));

    EXPECT_EQ(nullptr, GetProcAddressWithMessage(module, "NoSuchEntry", nullptr, nullptr, TRUE));
    ASSERT_EQ(2u, answerer.Count());
    EXPECT_EQ("Get Procedure Address", answerer.Last().caption);

    // No module: null at once, no box; show flag off: no box.
    EXPECT_EQ(nullptr, GetProcAddressWithMessage(nullptr, "NoSuchEntry", nullptr, nullptr, TRUE));
    EXPECT_EQ(nullptr, GetProcAddressWithMessage(module, "NoSuchEntry", nullptr, nullptr, FALSE));
    EXPECT_EQ(2u, answerer.Count());
    FreeLibrary(module);
}

TEST(OSVersion, DescriptionByPlatformAndVersion)
{
    struct Case {
        int platform, major, minor;
        const char* sp;
        DWORD build;
        const char* type;
        const char* expected;
    } cases[] = {
        {2, 5, 0, "Service Pack 4", 2195, "WinNT",
         "Microsoft Windows 2000 Workstation version 5.0 Service Pack 4 (Build 2195)\n"},
        {1, 4, 90, "", 0x045A0BB8, nullptr, "Microsoft Windows 98 version 4.90  (Build 3000)\n"},
        {1, 4, 0, "", 950, nullptr, "Microsoft Windows 95 version 4.0  (Build 950)\n"},
        {2, 5, 1, "", 2600, "winnt", "Microsoft Windows 2000 Workstation version 5.1  (Build 2600)\n"},
        {2, 6, 0, "", 6000, "ServerNT", "Server version 6.0  (Build 6000)\n"},
        {2, 4, 0, "", 1381, "LanmanNT", "Microsoft Windows NT version 4.0  (Build 1381)\n"},
        {2, 10, 0, "", 19045, nullptr, "version 10.0  (Build 19045)\n"},
        {0, 3, 11, "", 0, nullptr, "Microsoft Win32s version 3.11  (Build 0)\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, DescribeOSVersion(c.platform, c.major, c.minor, c.sp, c.build, c.type));
}

TEST(OSVersion, ReadsTheRunningSystemAndAlwaysTerminates)
{
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    ASSERT_TRUE(GetVersionExA(&info));

    int platform = -1, major = -1, minor = -1;
    char text[256];
    memset(text, 'x', sizeof(text));
    ASSERT_EQ(1, GetOSVersionString(&platform, text, sizeof(text), &major, &minor));
    EXPECT_EQ(static_cast<int>(info.dwPlatformId), platform);
    EXPECT_EQ(static_cast<int>(info.dwMajorVersion), major);
    EXPECT_EQ(static_cast<int>(info.dwMinorVersion), minor);
    std::string full(text);
    char tail[64];
    snprintf(tail, sizeof(tail), "(Build %d)\n", static_cast<int>(LOWORD(info.dwBuildNumber)));
    ASSERT_GT(full.size(), strlen(tail));
    EXPECT_EQ(tail, full.substr(full.size() - strlen(tail))) << full;
    char versionPart[64];
    snprintf(versionPart, sizeof(versionPart), "version %d.%d ", major, minor);
    EXPECT_NE(std::string::npos, full.find(versionPart)) << full;
    EXPECT_EQ('\0', text[sizeof(text) - 1]);

    // A short buffer: size - 1 characters and a terminator, never an open end.
    char small[10];
    memset(small, 'x', sizeof(small));
    ASSERT_EQ(1, GetOSVersionString(&platform, small, sizeof(small), nullptr, nullptr));
    EXPECT_EQ(full.substr(0, 9), std::string(small));

    // No buffer: only the numbers.
    EXPECT_EQ(1, GetOSVersionString(&platform, nullptr, 0, nullptr, nullptr));
}
