// Entry point of every test executable.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    // A crash in code under test must fail the test, not open Wine's crash dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    return RUN_ALL_TESTS();
}
