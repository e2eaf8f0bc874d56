// A module the IDE's tests load in place of a component: its project-manager entry yields
// no agent, and it makes top-level windows of its own, as a failing component shows its
// error box.
#include <windows.h>

static HINSTANCE g_hModule;

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH)
        g_hModule = hInstance;
    return TRUE;
}

// The project-manager entry of a component that cannot make its agent.
extern "C" BOOL __stdcall CreateProjectMgrInstance(HWND, void** ppAgent)
{
    if (ppAgent)
        *ppAgent = nullptr;
    return FALSE;
}

// A top-level window of this module with the caption and one static child with the text;
// the caller destroys it.
extern "C" HWND MakeErrorWindow(const char* pszCaption, const char* pszChildText, BOOL bVisible)
{
    static const char kClass[] = "VtTestModuleErrorBox";
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = g_hModule;
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);   // a second call finds the class registered
    HWND hWnd = CreateWindowExA(0, kClass, pszCaption, WS_OVERLAPPED | WS_CAPTION | (bVisible ? WS_VISIBLE : 0), 50, 50, 300, 120,
                                nullptr, nullptr, g_hModule, nullptr);
    if (hWnd)
        CreateWindowExA(0, "STATIC", pszChildText, WS_CHILD | WS_VISIBLE, 10, 10, 260, 20, hWnd, nullptr, g_hModule,
                        nullptr);
    return hWnd;
}
