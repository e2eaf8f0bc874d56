// A file's last write time and size: what was read from a file still holds
// while both stay the same.
#pragma once
#include <windows.h>
#include <cstring>

struct C_FileStamp {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    BOOL bValid = FALSE;   // FALSE: the file could not be looked at

    static C_FileStamp Of(const char* pszPath)
    {
        C_FileStamp s;
        s.bValid = pszPath && ::GetFileAttributesExA(pszPath, GetFileExInfoStandard, &s.data);
        return s;
    }

    // Two valid stamps of the same time and size.
    BOOL Same(const C_FileStamp& other) const
    {
        return bValid && other.bValid &&
               memcmp(&data.ftLastWriteTime, &other.data.ftLastWriteTime, sizeof(FILETIME)) == 0 &&
               data.nFileSizeHigh == other.data.nFileSizeHigh && data.nFileSizeLow == other.data.nFileSizeLow;
    }
};
