// Entry point of every test executable.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <string>
#include "afx/afx.h"
#include "tests/harness/harness.h"

namespace {

// The application object of a test process. Its name (message-box captions)
// is the product's; its registry key is this process's own, so that test
// processes running side by side never share profile values, and it is
// removed at exit.
class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp("Veltane Tool")
    {
        SetRegistryKey("VeltaneToolTests");
        m_strKey = "Veltane Tool " + std::to_string(GetCurrentProcessId()) + "-" +
                   std::to_string(GetTickCount());
        SetProfileName(m_strKey.c_str());
    }
    ~CTestApp() override
    {
        WriteProfileString("", nullptr, nullptr);   // the whole key tree
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VeltaneToolTests");   // only when empty
    }

    // The program ships no help file: the tests see the requests instead.
    void WinHelp(DWORD_PTR dwData, UINT nCmd) override { vt::HelpRequests().push_back({dwData, nCmd}); }

private:
    std::string m_strKey;
};

} // namespace

std::vector<vt::HelpRequest>& vt::HelpRequests()
{
    static std::vector<HelpRequest> requests;
    return requests;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    // A crash in code under test must fail the test, not open Wine's crash dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    CTestApp app;
    return RUN_ALL_TESTS();
}
