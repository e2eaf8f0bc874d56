// Loading components with explained failures, and the system's version text.
#pragma once
#include <windows.h>
#include <string>

HMODULE LoadDllWithMessage(const char* path, const char* caption, HWND owner, BOOL show);
FARPROC GetProcAddressWithMessage(HMODULE module, const char* entry, const char* caption, HWND owner,
                                  BOOL show);
int GetOSVersionString(int* platformId, char* text, int size, int* major, int* minor);

// The one-line description of a version (GetOSVersionString's text); productType is the
// "ProductType" registry value of an NT system, or null when it cannot be read.
std::string DescribeOSVersion(int platformId, int major, int minor, const char* servicePack,
                              DWORD build, const char* productType);
