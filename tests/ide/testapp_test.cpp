// The IDE's test executables run with the IDE's own application class: start-up skipped, a
// profile key of this process alone, help requests recorded.
#include <gtest/gtest.h>
#include "ide/workbench/AsmIDE.h"
#include "tests/harness/harness.h"

TEST(IdeTestApp, IsTheIdesApplicationWithStartUpSkipped)
{
    auto* app = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    ASSERT_NE(nullptr, app);
    EXPECT_EQ(nullptr, app->m_pMainWnd);
    EXPECT_EQ(nullptr, app->m_pRecentProjectList);
    // Start-up's first step only: the program folder.
    EXPECT_EQ(vt::ProgramFolder(), g_szAppDir);
}

TEST(IdeTestApp, KeepsItsProfileUnderAKeyOfThisProcess)
{
    CWinApp* app = AfxGetApp();
    EXPECT_STREQ("VeltaneToolTests", app->m_pszRegistryKey);
    std::string name = app->m_pszProfileName;
    EXPECT_EQ(0u, name.find("Veltane Tool " + std::to_string(GetCurrentProcessId()) + "-")) << name;
    ASSERT_TRUE(app->WriteProfileInt("Settings", "Probe", 7));
    HKEY key = nullptr;
    std::string path = "Software\\VeltaneToolTests\\" + name + "\\Settings";
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key));
    RegCloseKey(key);
    EXPECT_EQ(7u, app->GetProfileInt("Settings", "Probe", 0));
}

TEST(IdeTestApp, RecordsHelpRequests)
{
    vt::HelpRequests().clear();
    AfxGetApp()->WinHelp(0x20001, HELP_CONTEXT);
    ASSERT_EQ(1u, vt::HelpRequests().size());
    EXPECT_EQ(0x20001u, vt::HelpRequests()[0].data);
    EXPECT_EQ(static_cast<UINT>(HELP_CONTEXT), vt::HelpRequests()[0].command);
}
