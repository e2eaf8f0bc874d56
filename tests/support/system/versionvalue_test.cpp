#include <gtest/gtest.h>
#include "support/system/InstanceRegistry.h"
#include "support/text/CUString.h"
#include "tests/harness/harness.h"
#include <string>

namespace {

} // namespace

TEST(VersionValue, HexFieldsPaddedWithF)
{
    struct Case {
        const char* text;
        BOOL ok;
        UINT value;
    } cases[] = {
        {"1", TRUE, 0xFFFFFFF1u},     {"00000001", TRUE, 1u}, {"123456789", TRUE, 0x23456789u},
        {"", TRUE, 0xFFFFFFFFu},      {"FE", TRUE, 0xFFFFFFFEu}, {"a", FALSE, 0},
        {"1G", FALSE, 0},             {"1 2", FALSE, 0},
    };
    for (const Case& c : cases) {
        UINT value = 0x5A5A5A5A;
        EXPECT_EQ(c.ok, ParseVersionHex(c.text, &value)) << c.text;
        if (c.ok) {
            EXPECT_EQ(c.value, value) << c.text;
        }
    }
}

TEST(VersionValue, ReadCheckedAndComplemented)
{
    vt::TempDir dir;
    struct Case {
        const char* value;
        BOOL ok;
    } cases[] = {
        {"FE,FF,FB,08", TRUE},
        {"fe,ff,fb,08", TRUE},                 // upper-cased before parsing
        {" FE ; FF ; FB ; 08", TRUE},          // ';' separates too, fields trimmed
        {"FE,FF,FB,09", FALSE},                // check sum
        {"FE,FF,FB", FALSE},                   // fourth field missing
        {"FE,,FB,08", FALSE},                  // empty field
        {"FE,FG,FB,08", FALSE},
        // Only the first 40 characters are upper-cased: the 'a' beyond them is refused.
        {"FE,FF,FB,0000000000000000000000000000000a08", FALSE},
        {"FE,FF,FB,0000000000000000000000000000000A08", TRUE},
    };
    std::string file = dir.File("ver.cfg");
    for (const Case& c : cases) {
        WritePrivateProfileStringA("IDE", "Version", c.value, file.c_str());
        UINT major = 7, minor = 7, build = 7;
        ASSERT_EQ(c.ok, ReadVersionValue(file.c_str(), "IDE", "Version", &major, &minor, &build)) << c.value;
        if (c.ok) {
            EXPECT_EQ(1u, major);
            EXPECT_EQ(0u, minor);
            EXPECT_EQ(4u, build);
        }
    }
    UINT a, b, c;
    EXPECT_FALSE(ReadVersionValue(file.c_str(), "IDE", "Missing", &a, &b, &c));
    EXPECT_FALSE(ReadVersionValue(dir.File("none.cfg").c_str(), "IDE", "Version", &a, &b, &c));
}

TEST(VersionValue, ComponentVersionTextFromTheProgramFolder)
{
    g_hInstance = GetModuleHandleA(nullptr);
    std::string name = vt::UniqueName("ver") + ".cfg";
    std::string path = vt::ProgramFolder() + name;
    WritePrivateProfileStringA("Writer", "Version", "FE,FF,FB,08", path.c_str());
    WritePrivateProfileStringA("Bad", "Version", "FE,FF,FB,09", path.c_str());
    EXPECT_EQ("Writer Ver. 1.00.004",
              std::string(GetComponentVersionText(C_CUString(name.c_str()), "Writer", "Writer")));
    EXPECT_EQ("Other Ver. Unknown", std::string(GetComponentVersionText(C_CUString(name.c_str()), "Bad", "Other")));
    DeleteFileA(path.c_str());
    g_hInstance = nullptr;
}

TEST(VersionValue, ProgramDescriptionCutToTheBuffer)
{
    HMODULE component = LoadLibraryA((vt::ProgramFolder() + "ChipInfo.dll").c_str());
    ASSERT_NE(nullptr, component);
    g_hInstance = component;
    char buf[64];
    memset(buf, 'x', sizeof(buf));
    GetProgramDescription(buf, sizeof(buf));
    EXPECT_STREQ("Kelbray chip information service", buf);
    memset(buf, 'x', sizeof(buf));
    GetProgramDescription(buf, 8);
    EXPECT_STREQ("Kelbray", buf);
    EXPECT_EQ('x', buf[8]);

    // A program without a version resource: empty.
    g_hInstance = GetModuleHandleA(nullptr);
    GetProgramDescription(buf, sizeof(buf));
    EXPECT_STREQ("", buf);
    g_hInstance = nullptr;
    FreeLibrary(component);
}
