#include <gtest/gtest.h>
#include <commctrl.h>
#include "tests/harness/test_app.h"

std::vector<vt::HelpRequest>& vt::HelpRequests()
{
    static std::vector<HelpRequest> requests;
    return requests;
}

void vt::PrepareTestProcess(int* argc, char** argv)
{
    ::testing::InitGoogleTest(argc, argv);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    // A crash in code under test must fail the test, not open Wine's crash dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
}
