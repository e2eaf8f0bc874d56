// Preview modules ("TonePreview.dll", "PixPreview.dll"): play a resource file in the IDE's process.
// "Preview" (owner window, path, int* start percent 0-99) is non-zero when playback started;
// "StopPreview" (owner window) is non-zero when it stopped. While playing, the module posts
// one of the progress messages to the owner with wParam PREVIEW_PROGRESS and lParam the percent;
// 100 means finished.
#pragma once
#include <windows.h>

#define PREVIEW_ENTRY_NAME "Preview"
#define PREVIEW_STOP_ENTRY_NAME "StopPreview"
#define TONE_PREVIEW_DLL_NAME "TonePreview.dll"
#define PIX_PREVIEW_DLL_NAME "PixPreview.dll"

#define PREVIEW_WM_PROGRESS_1 (WM_USER + 1382)
#define PREVIEW_WM_PROGRESS_2 (WM_USER + 1383)
#define PREVIEW_WM_PROGRESS_3 (WM_USER + 1416)
#define PREVIEW_PROGRESS 1

extern "C" {
typedef BOOL(__stdcall* PFN_Preview)(HWND owner, const char* path, int* start);
typedef BOOL(__stdcall* PFN_StopPreview)(HWND owner);
}
