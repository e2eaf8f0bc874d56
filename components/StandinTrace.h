// Line files of the stand-in components (traces, logs): each line appended on its own, the file
// shared between threads and processes.
#pragma once
#include <windows.h>
#include <string>

namespace standin {

inline void AppendLine(const std::string& file, const std::string& line)
{
    if (file.empty())
        return;
    HANDLE h = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
}

// The folder of a module, with its trailing backslash.
inline std::string ModuleFolder(HMODULE module)
{
    char path[MAX_PATH] = {0};
    GetModuleFileNameA(module, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

} // namespace standin
