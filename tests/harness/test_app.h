// The application object of a test process, over any application class: its registry key
// is this process's own, so that test processes running side by side never share profile
// values, and it is removed at exit. Help requests are recorded (the program ships no help file).
#pragma once
#include <windows.h>
#include <string>
#include <utility>
#include "afx/afx.h"
#include "tests/harness/harness.h"

namespace vt {

template <class App>
class TestApp : public App
{
public:
    template <class... Args>
    explicit TestApp(Args&&... args) : App(std::forward<Args>(args)...)
    {
        this->SetRegistryKey("VeltaneToolTests");
        m_strKey = "Veltane Tool " + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount());
        this->SetProfileName(m_strKey.c_str());
    }
    ~TestApp() override
    {
        this->WriteProfileString("", nullptr, nullptr);   // the whole key tree
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\VeltaneToolTests");   // only when empty
    }

    void WinHelp(DWORD_PTR dwData, UINT nCmd) override { HelpRequests().push_back({dwData, nCmd}); }

private:
    std::string m_strKey;
};

// What every test process's main does around its application object.
void PrepareTestProcess(int* argc, char** argv);

} // namespace vt
