#include <gtest/gtest.h>
#include "afx/afx.h"
#include "afx/afxres.h"
#include "tests/harness/harness.h"

namespace {

std::string AppKeyPath()
{
    CWinApp* app = AfxGetApp();
    return std::string("Software\\") + app->m_pszRegistryKey + "\\" + app->m_pszProfileName;
}

bool KeyExists(const std::string& path)
{
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}

TEST(App, TestAppHasItsOwnRegistryKey)
{
    CWinApp* app = AfxGetApp();
    ASSERT_NE(app, nullptr);
    EXPECT_STREQ(app->m_pszRegistryKey, "VeltaneToolTests");
    EXPECT_STREQ(app->m_pszAppName, "Veltane Tool");
    EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandleA(nullptr));
    EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandleA(nullptr));
    EXPECT_EQ(AfxGetThread(), app);
}

TEST(App, NameDefaultsToTheTitleString)
{
    CWinApp other;   // not the application: the first object stays it
    EXPECT_STREQ(other.m_pszAppName, "Veltane Tool");
    CWinApp named("Other");
    EXPECT_STREQ(named.m_pszAppName, "Other");
    EXPECT_NE(AfxGetApp(), &other);
}

TEST(App, ProfileRoundTripThroughTheRegistry)
{
    CWinApp* app = AfxGetApp();
    const std::string sec = vt::UniqueName("Sec");
    const std::string nested = sec + "\\BarState-Bar3";

    EXPECT_TRUE(app->WriteProfileInt(sec.c_str(), "Int", -42));
    EXPECT_TRUE(app->WriteProfileString(sec.c_str(), "Str", "hello world"));
    EXPECT_TRUE(app->WriteProfileInt(nested.c_str(), "BarID", 59393));
    BYTE blob[] = {0, 1, 0xFE, 0xFF, 0x80};
    EXPECT_TRUE(app->WriteProfileBinary(nested.c_str(), "Blob", blob, sizeof blob));

    EXPECT_EQ((int)app->GetProfileInt(sec.c_str(), "Int", 7), -42);
    EXPECT_EQ(app->GetProfileString(sec.c_str(), "Str"), CString("hello world"));
    EXPECT_EQ(app->GetProfileInt(nested.c_str(), "BarID", 0), 59393u);
    LPBYTE data = nullptr;
    UINT n = 0;
    ASSERT_TRUE(app->GetProfileBinary(nested.c_str(), "Blob", &data, &n));
    ASSERT_EQ(n, sizeof blob);
    EXPECT_EQ(memcmp(data, blob, n), 0);
    delete[] data;

    // Stored where the registry layout says: nested keys below the app key.
    EXPECT_TRUE(KeyExists(AppKeyPath() + "\\" + sec + "\\BarState-Bar3"));

    // Defaults for what is missing or of another type.
    EXPECT_EQ(app->GetProfileInt(sec.c_str(), "Missing", 5), 5u);
    EXPECT_EQ(app->GetProfileInt(sec.c_str(), "Str", 9), 9u);
    EXPECT_EQ(app->GetProfileString(sec.c_str(), "Missing", "dflt"), CString("dflt"));
    EXPECT_EQ(app->GetProfileString(sec.c_str(), "Missing"), CString(""));
    EXPECT_FALSE(app->GetProfileBinary(sec.c_str(), "Missing", &data, &n));
    EXPECT_EQ(data, nullptr);

    // A NULL value deletes one entry.
    EXPECT_TRUE(app->WriteProfileString(sec.c_str(), "Str", nullptr));
    EXPECT_EQ(app->GetProfileString(sec.c_str(), "Str", "gone"), CString("gone"));

    // A NULL entry deletes the section with its nested keys.
    EXPECT_TRUE(app->WriteProfileString(sec.c_str(), nullptr, nullptr));
    EXPECT_FALSE(KeyExists(AppKeyPath() + "\\" + sec));
    EXPECT_EQ(app->GetProfileInt(nested.c_str(), "BarID", 1), 1u);
    // Deleting it again is no failure.
    EXPECT_TRUE(app->WriteProfileString(sec.c_str(), nullptr, nullptr));
}

// The app may keep a section's key open between calls: what another program
// writes or deletes meanwhile is what it reads, and a write after a deletion
// makes the key again.
TEST(App, ASectionChangedOrDeletedFromOutsideIsReadAsItIsNow)
{
    CWinApp* app = AfxGetApp();
    const std::string sec = vt::UniqueName("Outside");
    const std::string path = AppKeyPath() + "\\" + sec;
    auto setOutside = [&](DWORD v) {
        HKEY h = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExA(h, "Int", 0, REG_DWORD, (const BYTE*)&v, sizeof v), ERROR_SUCCESS);
        RegCloseKey(h);
    };

    ASSERT_TRUE(app->WriteProfileInt(sec.c_str(), "Int", 1));
    EXPECT_EQ(app->GetProfileInt(sec.c_str(), "Int", 0), 1u);
    setOutside(2);
    EXPECT_EQ(app->GetProfileInt(sec.c_str(), "Int", 0), 2u);

    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()), ERROR_SUCCESS);
    EXPECT_EQ(app->GetProfileInt(sec.c_str(), "Int", 7), 7u);
    ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()), ERROR_SUCCESS);
    EXPECT_TRUE(app->WriteProfileString(sec.c_str(), "Str", "again"));
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &h), ERROR_SUCCESS);
    char buf[16] = "";
    DWORD cb = sizeof buf, type = 0;
    EXPECT_EQ(RegQueryValueExA(h, "Str", nullptr, &type, (LPBYTE)buf, &cb), ERROR_SUCCESS);
    RegCloseKey(h);
    EXPECT_STREQ(buf, "again");
    EXPECT_TRUE(app->WriteProfileString(sec.c_str(), nullptr, nullptr));
}

TEST(App, EmptySectionIsTheAppKeyItself)
{
    CWinApp* app = AfxGetApp();
    EXPECT_TRUE(app->WriteProfileInt("", "NormalExitApp", 1));
    EXPECT_EQ(app->GetProfileInt("", "NormalExitApp", 0), 1u);
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, AppKeyPath().c_str(), 0, KEY_READ, &h), ERROR_SUCCESS);
    DWORD v = 0, cb = sizeof v, type = 0;
    EXPECT_EQ(RegQueryValueExA(h, "NormalExitApp", nullptr, &type, (LPBYTE)&v, &cb), ERROR_SUCCESS);
    RegCloseKey(h);
    EXPECT_EQ(type, (DWORD)REG_DWORD);
    EXPECT_EQ(v, 1u);
    EXPECT_TRUE(app->WriteProfileString("", "NormalExitApp", nullptr));
    EXPECT_EQ(app->GetProfileInt("", "NormalExitApp", 0), 0u);
}

TEST(App, BadArgumentsLoseNothing)
{
    CWinApp* app = AfxGetApp();
    EXPECT_FALSE(app->WriteProfileInt(nullptr, "x", 1));
    EXPECT_FALSE(app->WriteProfileString(nullptr, "x", "y"));
    EXPECT_EQ(app->GetProfileInt(nullptr, "x", 3), 3u);
    EXPECT_EQ(app->GetProfileString("s", nullptr, "d"), CString("d"));
    EXPECT_FALSE(app->GetProfileBinary("s", "x", nullptr, nullptr));
}

// Without a registry key the profile is a private-profile file.
TEST(App, ProfileInAPrivateProfileFile)
{
    vt::TempDir dir;
    CWinApp app("Ini App");
    EXPECT_EQ(app.m_pszRegistryKey, nullptr);
    std::string file = dir.File("Ini App.ini");
    app.SetProfileName(file.c_str());

    EXPECT_TRUE(app.WriteProfileInt("Main", "Count", 12));
    EXPECT_TRUE(app.WriteProfileString("Editor\\Default Files", "Ext", "asm"));
    BYTE blob[] = {0xAB, 0x01};
    EXPECT_TRUE(app.WriteProfileBinary("Main", "Blob", blob, 2));
    EXPECT_EQ(app.GetProfileInt("Main", "Count", 0), 12u);
    EXPECT_EQ(app.GetProfileString("Editor\\Default Files", "Ext"), CString("asm"));
    LPBYTE data = nullptr;
    UINT n = 0;
    ASSERT_TRUE(app.GetProfileBinary("Main", "Blob", &data, &n));
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(data[0], 0xAB);
    delete[] data;
    std::string text = vt::ReadFileBytes(file);
    EXPECT_NE(text.find("[Main]"), std::string::npos);
    EXPECT_TRUE(app.WriteProfileString("Main", nullptr, nullptr));
    EXPECT_EQ(app.GetProfileInt("Main", "Count", 4), 4u);
}

TEST(App, MessageBoxCaptionIsTheAppName)
{
    vt::ModalAnswerer answerer(IDNO);
    EXPECT_EQ(AfxMessageBox("Save changes?", MB_YESNO), IDNO);
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(answerer.Last().caption, "Veltane Tool");
    EXPECT_NE(answerer.Last().text.find("Save changes?"), std::string::npos);

    // By string id.
    answerer.SetDefault(IDOK);
    EXPECT_EQ(AfxMessageBox(AFX_IDS_IDLEMESSAGE), IDOK);
    EXPECT_NE(answerer.Last().text.find("Press F1 for Help"), std::string::npos);
}

TEST(App, LoadsItsOwnAndTheSystemsCursors)
{
    CWinApp* app = AfxGetApp();
    HCURSOR hCursor = app->LoadCursor(30900);
    ASSERT_NE(nullptr, hCursor);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(hCursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(16u, info.xHotspot);
    EXPECT_EQ(16u, info.yHotspot);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    EXPECT_EQ(hCursor, app->LoadCursor(30900)) << "one shared handle";
    EXPECT_EQ(nullptr, app->LoadCursor(30901)) << "no such cursor";

    EXPECT_EQ(::LoadCursor(NULL, IDC_ARROW), app->LoadStandardCursor(IDC_ARROW));
    EXPECT_EQ(::LoadCursor(NULL, IDC_IBEAM), app->LoadStandardCursor(IDC_IBEAM));
    EXPECT_NE(app->LoadStandardCursor(IDC_ARROW), app->LoadStandardCursor(IDC_IBEAM));
}

} // namespace
