// A program that takes files from the application broker and writes down what it got.
// Beside "<name>.exe" it reads "<name>.ini" (section "Receiver": "Title" of its window,
// "Delay" in ms before the window appears) and appends to "<name>.log".
#include <windows.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "support/system/ApplicationBroker.h"

namespace {

std::string g_folder;
std::string g_log;

void Log(const std::string& line)
{
    HANDLE file = CreateFileA(g_log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

void TakeFromTable(WPARAM slot)
{
    // A fresh broker for each request: nothing of the table stays held between requests.
    C_ApplicationBroker broker;
    tagApBrokerRequest request;
    memset(&request, 0, sizeof(request));
    BOOL ok = broker.TakeRequest(&request, slot);
    char head[64];
    snprintf(head, sizeof(head), "TAKE %u %d ", static_cast<unsigned>(slot), ok ? 1 : 0);
    if (!ok) {
        Log(head);
        return;
    }
    Log(std::string(head) + request.filePath + "|" + request.targetName + "|" + request.senderName + "|" +
        request.projectPath);
}

void ReadOpenFileIni(WPARAM wParam)
{
    std::string text;
    HANDLE file = CreateFileA((g_folder + "OpenFile.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        char buf[1024];
        DWORD n = 0;
        if (ReadFile(file, buf, sizeof(buf), &n, nullptr))
            text.assign(buf, n);
        CloseHandle(file);
    }
    Log("INI " + std::to_string(static_cast<unsigned>(wParam)) + " " + text);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case AP_BROKER_WM_REQUEST:
        TakeFromTable(wParam);
        return 0;
    case AP_BROKER_WM_OPENFILE:
        ReadOpenFileIni(wParam);
        return 0;
    case WM_TIMER:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        Log("END");
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string path(module);
    size_t slash = path.find_last_of('\\');
    g_folder = path.substr(0, slash + 1);
    std::string title = path.substr(slash + 1);
    if (title.size() > 4 && _stricmp(title.c_str() + title.size() - 4, ".exe") == 0)
        title.resize(title.size() - 4);
    std::string ini = g_folder + title + ".ini";
    g_log = g_folder + title + ".log";

    char value[256];
    GetPrivateProfileStringA("Receiver", "Title", title.c_str(), value, sizeof(value), ini.c_str());
    std::string windowTitle = value;
    UINT delay = GetPrivateProfileIntA("Receiver", "Delay", 0, ini.c_str());

    Log("START " + std::to_string(__argc - 1));
    for (int i = 1; i < __argc; ++i)
        Log(std::string("ARG ") + __argv[i]);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = "VtBrokerReceiver";
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);

    // A late window: the program already waits for input (so its starter goes on) but
    // cannot be found by its title until the delay has passed.
    UINT_PTR lateTimer = delay ? SetTimer(nullptr, 0, delay, nullptr) : 0;
    HWND hwnd = nullptr;
    auto createWindow = [&]() {
        hwnd = CreateWindowA("VtBrokerReceiver", windowTitle.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                             CW_USEDEFAULT, 300, 120, nullptr, nullptr, instance, nullptr);
        if (!hwnd)
            return false;
        ShowWindow(hwnd, show);
        // Never outlive a test that forgot to close us.
        SetTimer(hwnd, 1, 60000, nullptr);
        Log("READY");
        return true;
    };
    if (!lateTimer && !createWindow())
        return 1;

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!msg.hwnd && msg.message == WM_TIMER && msg.wParam == lateTimer && !hwnd) {
            KillTimer(nullptr, lateTimer);
            if (!createWindow())
                return 1;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
