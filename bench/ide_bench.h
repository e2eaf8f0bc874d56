// What the benchmarks of the IDE's windows share: the main frame made as the
// program makes it, over the program folder of the build.
#pragma once
#include <cstdio>
#include "bench/bench_support.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/MainFrm.h"
#include "tests/harness/harness.h"

namespace bench {

// The application's main window at the given size, shown; NULL (said) when it cannot be made.
inline CMainFrame* MakeIdeFrame(int cx, int cy)
{
    g_hInstance = GetModuleHandleA(nullptr);
    lstrcpynA(g_szAppDir, vt::ProgramFolder().c_str(), MAX_PATH);
    auto* pFrame = new CMainFrame;
    if (!pFrame->LoadFrame(IDR_MAINFRAME)) {
        printf("the main frame could not be made\n");
        return nullptr;
    }
    AfxGetApp()->m_pMainWnd = pFrame;
    pFrame->SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_SHOWWINDOW);
    Pump();
    return pFrame;
}

} // namespace bench
