// The real program's Tools toolbar: its Calculator button starts calc.exe.
#include <gtest/gtest.h>
#include <tlhelp32.h>
#include <set>
#include "resources/ideres.h"
#include "tests/harness/harness.h"
#include "tests/harness/ide/ide_process.h"

namespace {

std::set<DWORD> CalcProcesses()
{
    std::set<DWORD> ids;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 pe = { sizeof pe };
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe))
        if (lstrcmpiA(pe.szExeFile, "calc.exe") == 0)
            ids.insert(pe.th32ProcessID);
    CloseHandle(snap);
    return ids;
}

TEST(ToolsEndToEnd, CalculatorButtonStartsCalc)
{
    vt::ProgramCopy copy;
    vt::IdeProcess ide(copy, vt::ProgramCopy::SampleProject());
    ASSERT_TRUE(ide.Started());
    HWND frame = ide.MainWindow();
    ASSERT_NE(frame, nullptr);
    const std::set<DWORD> before = CalcProcesses();
    // The button sends the command the Calculator has on the Tools toolbar.
    PostMessageA(frame, WM_COMMAND, ID_TOOLS_PREDEFINED_FIRST, 0);
    DWORD started = 0;
    for (DWORD t0 = GetTickCount(); !started && GetTickCount() - t0 < 30000; Sleep(50))
        for (DWORD id : CalcProcesses())
            if (!before.count(id))
                started = id;
    ASSERT_NE(started, 0u) << "calc.exe did not start";
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, started);
    ASSERT_NE(h, nullptr);
    TerminateProcess(h, 0);
    WaitForSingleObject(h, 10000);
    CloseHandle(h);
    ide.Close();
}

} // namespace
