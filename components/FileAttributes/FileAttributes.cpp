// Stand-in for the file-attribute component: the platform's own file functions.
#define FILEATTRIBUTES_BUILD
#include "components/include/FileAttributesInterface.h"

namespace {

HANDLE OpenForReading(const char* name)
{
    if (!name)
        return INVALID_HANDLE_VALUE;
    return CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                       nullptr);
}

} // namespace

extern "C" BOOL __stdcall GetFileTimes(const char* name, FILETIME* creation, FILETIME* lastAccess,
                                       FILETIME* lastWrite)
{
    HANDLE file = OpenForReading(name);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL ok = GetFileTime(file, creation, lastAccess, lastWrite);
    CloseHandle(file);
    return ok;
}

extern "C" LONG __stdcall GetFileLen(const char* name)
{
    HANDLE file = OpenForReading(name);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    DWORD high = 0;
    DWORD low = GetFileSize(file, &high);
    CloseHandle(file);
    // A length that does not fit the signed 32-bit answer is a failure, not a wrapped number.
    if (low == INVALID_FILE_SIZE || high != 0 || low > 0x7FFFFFFF)
        return -1;
    return static_cast<LONG>(low);
}
