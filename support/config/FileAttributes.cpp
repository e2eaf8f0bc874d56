#include "support/config/FileAttributes.h"
#include "components/include/FileAttributesInterface.h"
#include "support/config/CUPath.h"
#include "support/system/DllLoader.h"

// Loaded during static initialisation; it needs nothing but the platform and g_hInstance,
// which is constant-initialised.
C_FileAttributesLib g_FileAttributesLib;

namespace {

const char* const kCaption = "File Attributes";

HANDLE OpenForReading(const char* name)
{
    return CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

} // namespace

BOOL C_FileAttributesLib::VersionLoadsComponent(int platformId, int major, int minor)
{
    if (platformId == VER_PLATFORM_WIN32_NT)
        return TRUE;
    if (platformId == VER_PLATFORM_WIN32_WINDOWS)
        return major > 4 || (major == 4 && minor > 0);
    return FALSE;
}

C_FileAttributesLib::C_FileAttributesLib() : m_module(nullptr)
{
    int platformId = 0, major = 0, minor = 0;
    char text[100];
    if (!GetOSVersionString(&platformId, text, sizeof(text), &major, &minor))
        return;
    if (!VersionLoadsComponent(platformId, major, minor))
        return;
    C_CUString path = GetAppDirectory(TRUE) + FILEATTRIBUTES_DLL;
    m_module = LoadDllWithMessage(path, nullptr, nullptr, FALSE);
}

C_FileAttributesLib::~C_FileAttributesLib()
{
    if (m_module) {
        FreeLibrary(m_module);
        m_module = nullptr;
    }
}

BOOL C_FileAttributesLib::GetFileTimes(const char* name, FILETIME* creation, FILETIME* lastAccess,
                                       FILETIME* lastWrite)
{
    if (m_module) {
        auto entry = reinterpret_cast<PFN_GetFileTimes>(reinterpret_cast<void (*)()>(
            GetProcAddressWithMessage(m_module, "GetFileTimes", kCaption, nullptr, TRUE)));
        if (!entry)
            return FALSE;
        return entry(name, creation, lastAccess, lastWrite);
    }
    HANDLE file = OpenForReading(name);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    // Times that could not be read must not pass for read ones.
    BOOL ok = GetFileTime(file, creation, lastAccess, lastWrite);
    CloseHandle(file);
    return ok ? TRUE : FALSE;
}

LONG C_FileAttributesLib::GetFileLen(const char* name)
{
    if (m_module) {
        auto entry = reinterpret_cast<PFN_GetFileLen>(reinterpret_cast<void (*)()>(
            GetProcAddressWithMessage(m_module, "GetFileLen", kCaption, nullptr, TRUE)));
        if (!entry)
            return -1;
        return entry(name);
    }
    HANDLE file = OpenForReading(name);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    LONG length = static_cast<LONG>(GetFileSize(file, nullptr));
    CloseHandle(file);
    return length;
}

BOOL QueryFileTimes(const char* name, FILETIME* creation, FILETIME* lastAccess, FILETIME* lastWrite)
{
    return g_FileAttributesLib.GetFileTimes(name, creation, lastAccess, lastWrite);
}

LONG QueryFileLength(const char* name) { return g_FileAttributesLib.GetFileLen(name); }

BOOL IsFileNewer(const char* nameA, const char* nameB)
{
    FILETIME a, b;
    if (!QueryFileTimes(nameA, nullptr, nullptr, &a))
        return FALSE;
    if (!QueryFileTimes(nameB, nullptr, nullptr, &b))
        return TRUE;
    return CompareFileTime(&a, &b) == 1 ? TRUE : FALSE;
}

BOOL IsAnyFileNewer(I_CUStringList* list, const char* name)
{
    if (!list)
        return FALSE;
    list->Reset();
    while (const char* entry = list->GetNext())
        if (IsFileNewer(entry, name))
            return TRUE;
    return FALSE;
}
