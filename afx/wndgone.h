// Inside the layer: parts that keep something per window learn here when a
// window of the layer's own procedure goes, without the window code knowing
// them. Called with WM_NCDESTROY's window before the window handles it.
#pragma once
#include <windows.h>
#include <atomic>

extern std::atomic<void (*)(HWND hWnd)> g_pfnAfxWindowGone;
