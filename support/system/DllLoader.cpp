#include "support/system/DllLoader.h"
#include <cstdio>

namespace {

// The system's text for an error code; empty when it has none.
std::string SystemErrorText(DWORD code)
{
    char* text = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                             reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = (n && text) ? std::string(text, n) : std::string();
    if (text)
        LocalFree(text);
    return result;
}

} // namespace

HMODULE LoadDllWithMessage(const char* path, const char* caption, HWND owner, BOOL show)
{
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module && show) {
        DWORD code = GetLastError();
        std::string sys = SystemErrorText(code);
        char text[512];
        // Too long a path with a long system text is cut to the buffer.
        snprintf(text, sizeof(text), "Load '%s' failed !\r\nError Code %lu: %s", path ? path : "",
                 static_cast<unsigned long>(code), sys.c_str());
        MessageBoxA(owner, text, caption ? caption : "Load Dll Library", MB_OK);
    }
    return module;
}

FARPROC GetProcAddressWithMessage(HMODULE module, const char* entry, const char* caption, HWND owner,
                                  BOOL show)
{
    if (!module)
        return nullptr;
    FARPROC address = GetProcAddress(module, entry);
    if (!address && show) {
        DWORD code = GetLastError();
        char modulePath[MAX_PATH + 1] = {0};
        GetModuleFileNameA(module, modulePath, MAX_PATH);
        std::string sys = SystemErrorText(code);
        char text[512];
        snprintf(text, sizeof(text), "Get '%s()' address from '%s' failed !\r\nError Code %lu: %s",
                 entry ? entry : "", modulePath, static_cast<unsigned long>(code), sys.c_str());
        MessageBoxA(owner, text, caption ? caption : "Get Procedure Address", MB_OK);
    }
    return address;
}

std::string DescribeOSVersion(int platformId, int major, int minor, const char* servicePack,
                              DWORD build, const char* productType)
{
    std::string text;
    switch (platformId) {
    case VER_PLATFORM_WIN32s:
        text = "Microsoft Win32s ";
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (major > 4 || (major == 4 && minor > 0))
            text = "Microsoft Windows 98 ";
        else
            text = "Microsoft Windows 95 ";
        break;
    case VER_PLATFORM_WIN32_NT:
        if (major <= 4)
            text = "Microsoft Windows NT ";
        else if (major == 5)
            text = "Microsoft Windows 2000 ";
        if (productType) {
            if (lstrcmpiA(productType, "WINNT") == 0)
                text += "Workstation ";
            else if (lstrcmpiA(productType, "SERVERNT") == 0)
                text += "Server ";
        }
        break;
    default:
        break;
    }
    char line[256];
    snprintf(line, sizeof(line), "version %d.%d %s (Build %d)\n", major, minor,
             servicePack ? servicePack : "", static_cast<int>(LOWORD(build)));
    return text + line;
}

int GetOSVersionString(int* platformId, char* text, int size, int* major, int* minor)
{
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
            return 0;
    }
    char productType[80] = {0};
    bool haveType = false;
    if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0,
                          KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
            DWORD len = sizeof(productType);
            DWORD type = 0;
            if (RegQueryValueExA(key, "ProductType", nullptr, &type, reinterpret_cast<BYTE*>(productType),
                                 &len) == ERROR_SUCCESS) {
                productType[sizeof(productType) - 1] = '\0';
                haveType = true;
            }
            RegCloseKey(key);
        }
    }
    std::string line = DescribeOSVersion(static_cast<int>(info.dwPlatformId),
                                         static_cast<int>(info.dwMajorVersion),
                                         static_cast<int>(info.dwMinorVersion), info.szCSDVersion,
                                         info.dwBuildNumber, haveType ? productType : nullptr);
    *platformId = static_cast<int>(info.dwPlatformId);
    if (major)
        *major = static_cast<int>(info.dwMajorVersion);
    if (minor)
        *minor = static_cast<int>(info.dwMinorVersion);
    // Always terminated: at most size - 1 characters, the rest zero.
    if (text && size > 0) {
        size_t n = line.size() < static_cast<size_t>(size - 1) ? line.size() : static_cast<size_t>(size - 1);
        memcpy(text, line.data(), n);
        memset(text + n, 0, static_cast<size_t>(size) - n);
    }
    return 1;
}
