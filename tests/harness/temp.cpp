#include "tests/harness/harness.h"
#include <gtest/gtest.h>
#include <atomic>
#include <fstream>
#include <sstream>

namespace vt {

std::string UniqueName(const char* prefix) {
    static std::atomic<int> counter{0};
    std::string name = prefix ? prefix : "vt";
    if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
        name += "_";
        name += info->test_suite_name();
        name += "_";
        name += info->name();
    }
    for (char& c : name)
        if (c == '/' || c == '\\') c = '_';
    name += "_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
    return name;
}

bool SetWriteTimeFromNow(const std::string& path, int nSeconds) {
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    ULARGE_INTEGER t;
    t.LowPart = ft.dwLowDateTime;
    t.HighPart = ft.dwHighDateTime;
    t.QuadPart += (ULONGLONG)(LONGLONG)nSeconds * 10000000;
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = t.HighPart;
    bool ok = SetFileTime(h, nullptr, nullptr, &ft) != FALSE;
    CloseHandle(h);
    return ok;
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {0};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.rfind('\\') + 1);
}

TempDir::TempDir() {
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    m_path = std::string(base) + UniqueName("vt");
    if (!m_path.empty() && m_path.size() > 200) m_path.resize(200);
    CreateDirectoryA(m_path.c_str(), nullptr);
}

TempDir::~TempDir() { RemoveTree(m_path); }

std::string TempDir::Write(const std::string& name, const std::string& bytes) const {
    std::string path = File(name);
    WriteFileBytes(path, bytes);
    return path;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = path + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
            else DeleteFileA(full.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

void CloseProcessWindow(HWND hwnd, DWORD ms) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    if (process) {
        if (WaitForSingleObject(process, ms) != WAIT_OBJECT_0)
            TerminateProcess(process, 1);
        CloseHandle(process);
    }
}

} // namespace vt
