// "FileAttributes.dll": file times and length, exported undecorated with the standard calling convention.
#pragma once
#include <windows.h>

#define FILEATTRIBUTES_DLL "FileAttributes.dll"

typedef BOOL(__stdcall* PFN_GetFileTimes)(const char* name, FILETIME* creation, FILETIME* lastAccess,
                                          FILETIME* lastWrite);
typedef LONG(__stdcall* PFN_GetFileLen)(const char* name);

#ifdef FILEATTRIBUTES_BUILD
extern "C" {
// Non-zero when the times asked for (each pointer may be NULL) were filled.
BOOL __stdcall GetFileTimes(const char* name, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite);
// The length in bytes, -1 when the file cannot be read.
LONG __stdcall GetFileLen(const char* name);
}
#endif
