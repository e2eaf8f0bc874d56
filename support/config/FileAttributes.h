// File times and lengths through the file-attribute component, or the platform's own functions.
#pragma once
#include <windows.h>
#include "support/text/CUStringList.h"

class C_FileAttributesLib {
public:
    C_FileAttributesLib();
    ~C_FileAttributesLib();
    C_FileAttributesLib(const C_FileAttributesLib&) = delete;
    C_FileAttributesLib& operator=(const C_FileAttributesLib&) = delete;

    BOOL GetFileTimes(const char* name, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite);
    LONG GetFileLen(const char* name);
    BOOL IsLoaded() const { return m_module != nullptr; }

    // Whether the component is loaded on this version of Windows (9x needs 98 or later).
    static BOOL VersionLoadsComponent(int platformId, int major, int minor);

private:
    HMODULE m_module;
};

extern C_FileAttributesLib g_FileAttributesLib;

BOOL QueryFileTimes(const char* name, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite);
LONG QueryFileLength(const char* name);
BOOL IsFileNewer(const char* nameA, const char* nameB);
BOOL IsAnyFileNewer(I_CUStringList* list, const char* name);
