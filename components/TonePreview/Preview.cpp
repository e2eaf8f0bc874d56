// Stand-in preview module: "plays" a file by reporting progress from the start position to 100
// on a worker thread. Built twice: TonePreview.dll and PixPreview.dll (PREVIEW_NAME,
// PREVIEW_MESSAGE). Configuration "<name>.ini" beside the DLL: [Switches] RefuseStop=1 makes
// StopPreview refuse; UseMessage1416=1 reports with WM_USER+1416; [Trace] Enable, File.
#include "components/include/PreviewInterface.h"
#include "components/StandinTrace.h"
#include <atomic>
#include <cstdio>
#include <string>

#ifndef PREVIEW_NAME
#error PREVIEW_NAME names the module
#endif

namespace {

HINSTANCE g_module = nullptr;
HANDLE g_worker = nullptr;
std::atomic<bool> g_stop{false};
HWND g_owner = nullptr;
int g_start = 0;
UINT g_message = PREVIEW_MESSAGE;

std::string ConfigFile()
{
    return standin::ModuleFolder(g_module) + PREVIEW_NAME ".ini";
}

void Trace(const std::string& line)
{
    if (!GetPrivateProfileIntA("Trace", "Enable", 0, ConfigFile().c_str()))
        return;
    char file[MAX_PATH] = {0};
    GetPrivateProfileStringA("Trace", "File", PREVIEW_NAME "Trace.log", file, sizeof(file), ConfigFile().c_str());
    standin::AppendLine(standin::ModuleFolder(g_module) + file, line);
}

void Report()
{
    for (int percent = g_start;; percent = percent + 10 > 100 ? 100 : percent + 10) {
        if (g_stop)
            return;
        PostMessageA(g_owner, g_message, PREVIEW_PROGRESS, percent);
        if (percent >= 100)
            return;
        Sleep(10);
    }
}

// The thread holds its own reference on the module, so the IDE may free it while playing.
DWORD WINAPI Play(void* self)
{
    Report();
    FreeLibraryAndExitThread(static_cast<HMODULE>(self), 0);
}

void EndPlayback()
{
    if (!g_worker)
        return;
    g_stop = true;
    WaitForSingleObject(g_worker, INFINITE);
    CloseHandle(g_worker);
    g_worker = nullptr;
}

} // namespace

extern "C" BOOL __stdcall Preview(HWND owner, const char* path, int* start)
{
    Trace(std::string("Preview ") + (path ? path : "(null)") + " " + std::to_string(start ? *start : -1));
    if (!owner || !path || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    EndPlayback();
    g_owner = owner;
    g_start = start && *start > 0 && *start < 100 ? *start : 0;
    g_message = GetPrivateProfileIntA("Switches", "UseMessage1416", 0, ConfigFile().c_str()) ? PREVIEW_WM_PROGRESS_3
                                                                                                  : PREVIEW_MESSAGE;
    g_stop = false;
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&g_stop), &self))
        return FALSE;
    g_worker = CreateThread(nullptr, 0, Play, self, 0, nullptr);
    if (!g_worker)
        FreeLibrary(self);
    return g_worker ? TRUE : FALSE;
}

extern "C" BOOL __stdcall StopPreview(HWND owner)
{
    Trace("StopPreview");
    if (GetPrivateProfileIntA("Switches", "RefuseStop", 0, ConfigFile().c_str()))
        return FALSE;
    EndPlayback();
    return TRUE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
