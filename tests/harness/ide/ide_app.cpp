// Entry point of the IDE's test executables: the application object is the IDE's own class,
// its start-up skipped (each test makes the frames and documents it needs). Only start-up's
// first step is taken, the globals every part of the IDE reads: the module and program folder.
#include <gtest/gtest.h>
#include "ide/workbench/AsmIDE.h"
#include "tests/harness/test_app.h"

int main(int argc, char** argv)
{
    vt::PrepareTestProcess(&argc, argv);
    vt::TestApp<CAsmIDEApp> app;
    g_hInstance = GetModuleHandleA(nullptr);
    lstrcpynA(g_szAppDir, vt::ProgramFolder().c_str(), MAX_PATH);
    return RUN_ALL_TESTS();
}
