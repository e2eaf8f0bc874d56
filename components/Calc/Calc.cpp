// "calc.exe": a tiny calculator window. The IDE's Tools toolbar offers a calculator found in the
// Windows folder; Wine ships none, so ./run and ./test install this one there.
#include <windows.h>
#include <cstdio>
#include <cstdlib>

namespace {

const int kDisplayId = 100;
const int kInputId = 101;
const int kAddId = 102;
const int kClearId = 103;
long long g_sum = 0;

void ShowSum(HWND hwnd)
{
    char text[32];
    snprintf(text, sizeof(text), "%lld", g_sum);
    SetDlgItemTextA(hwnd, kDisplayId, text);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        HINSTANCE instance = reinterpret_cast<LPCREATESTRUCTA>(lParam)->hInstance;
        CreateWindowA("STATIC", "0", WS_CHILD | WS_VISIBLE | SS_RIGHT | WS_BORDER, 10, 10, 200, 22, hwnd,
                      reinterpret_cast<HMENU>(kDisplayId), instance, nullptr);
        CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_NUMBER, 10, 40, 100, 22, hwnd,
                        reinterpret_cast<HMENU>(kInputId), instance, nullptr);
        CreateWindowA("BUTTON", "+", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 120, 40, 40, 22, hwnd,
                      reinterpret_cast<HMENU>(kAddId), instance, nullptr);
        CreateWindowA("BUTTON", "C", WS_CHILD | WS_VISIBLE, 170, 40, 40, 22, hwnd,
                      reinterpret_cast<HMENU>(kClearId), instance, nullptr);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kAddId) {
            char text[32] = {0};
            GetDlgItemTextA(hwnd, kInputId, text, sizeof(text));
            g_sum += atoll(text);
            SetDlgItemTextA(hwnd, kInputId, "");
            ShowSum(hwnd);
        } else if (LOWORD(wParam) == kClearId) {
            g_sum = 0;
            ShowSum(hwnd);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "VtCalculator";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA("VtCalculator", "Calculator", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                              CW_USEDEFAULT, CW_USEDEFAULT, 240, 110, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    ShowWindow(hwnd, show);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return 0;
}
