#include "tests/harness/ide/ide_process.h"
#include "support/system/InstanceRegistry.h"
#include "tests/harness/box_work.h"
#include "tests/harness/sample_copy.h"
#include <functional>

namespace vt {
namespace {

// Executables of the program folder have plain names; the build's test and helper programs
// carry an '_' (prefix_name.exe, vt_...). What earlier runs left there (./run's build lines, logs)
// stays behind.
bool IsProgramFile(const std::string& name)
{
    if (lstrcmpiA(name.c_str(), "ZideMsg.txt") == 0)
        return false;
    size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? "" : name.substr(dot);
    if (lstrcmpiA(ext.c_str(), ".exe") == 0)
        return name.find('_') == std::string::npos;
    return lstrcmpiA(ext.c_str(), ".log") != 0;
}

HKEY OpenKey(const std::string& path, bool create)
{
    HKEY key = nullptr;
    LONG r = create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                      nullptr)
                    : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key);
    return r == ERROR_SUCCESS ? key : nullptr;
}

} // namespace

std::string ProgramCopy::SectionKey(const std::string& section) const
{
    return section.empty() ? ProfileKey() : ProfileKey() + "\\" + section;
}

ProgramCopy::ProgramCopy() : m_sdsName(UniqueName("VtIde"))
{
    std::string from = ProgramFolder();
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((from + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsProgramFile(name))
                CopyFileA((from + name).c_str(), (Folder() + name).c_str(), FALSE);
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    CopyTree(ShippedSample(), Folder() + "sample");
    SetConfig("IDESystem", "SDSName", m_sdsName.c_str());
}

ProgramCopy::~ProgramCopy()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_sdsName).c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, ("Software\\" + m_sdsName).c_str());
}

void ProgramCopy::SetConfig(const char* section, const char* key, const char* value) const
{
    WritePrivateProfileStringA(section, key, value, Config().c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, Config().c_str());   // flush
}

bool ProgramCopy::WriteProfileInt(const std::string& section, const char* name, DWORD value) const
{
    HKEY key = OpenKey(SectionKey(section), true);
    if (!key)
        return false;
    bool ok = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
              ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool ProgramCopy::ReadProfileInt(const std::string& section, const char* name, DWORD* value) const
{
    HKEY key = OpenKey(SectionKey(section), false);
    if (!key)
        return false;
    DWORD type = 0, size = sizeof *value;
    bool ok = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
              type == REG_DWORD;
    RegCloseKey(key);
    return ok;
}

bool ProgramCopy::ReadProfileString(const std::string& section, const char* name, std::string* value) const
{
    HKEY key = OpenKey(SectionKey(section), false);
    if (!key)
        return false;
    char buf[4096] = "";
    DWORD type = 0, size = sizeof buf - 1;
    bool ok = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) == ERROR_SUCCESS &&
              (type == REG_SZ || type == REG_EXPAND_SZ);
    RegCloseKey(key);
    if (ok)
        *value = buf;
    return ok;
}

bool ProgramCopy::HasProfileKey(const std::string& section) const
{
    HKEY key = OpenKey(SectionKey(section), false);
    if (key)
        RegCloseKey(key);
    return key != nullptr;
}

bool FindInstance(DWORD processId, DWORD* mainWindow)
{
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, INSTINFO_MAPPING_NAME);
    if (!mapping)
        return false;
    auto* table = static_cast<tagInstInfoTable*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(tagInstInfoTable)));
    bool found = false;
    if (table) {
        if (tagInstInfoEntry* entry = C_InstanceRegistry::FindEntry(table, processId)) {
            found = true;
            if (mainWindow)
                *mainWindow = entry->mainWindow;
        }
        UnmapViewOfFile(table);
    }
    CloseHandle(mapping);
    return found;
}

IdeProcess::IdeProcess(const ProgramCopy& copy, const std::string& arguments, const std::string& folder,
                       const char* program)
{
    std::string command = "\"" + copy.Program(program) + "\" " + arguments;
    std::string current = folder.empty() ? copy.Folder() : folder;
    STARTUPINFOA si = {sizeof si};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, current.c_str(), &si, &m_pi))
        m_pi = {};
}

IdeProcess::~IdeProcess()
{
    if (!Started())
        return;
    if (Running()) {
        if (m_main && IsWindow(m_main))
            CloseProcessWindow(m_main);
        if (Running())
            TerminateProcess(m_pi.hProcess, 1);
        WaitForSingleObject(m_pi.hProcess, 5000);
    }
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
}

HWND IdeProcess::MainWindow(DWORD ms)
{
    if (m_main && IsWindow(m_main))
        return m_main;
    DWORD start = GetTickCount();
    while (Running() && GetTickCount() - start < ms) {
        DWORD window = 0;
        HWND hwnd = FindInstance(Id(), &window) ? reinterpret_cast<HWND>(static_cast<uintptr_t>(window)) : nullptr;
        if (hwnd && IsWindowVisible(hwnd)) {
            m_main = hwnd;
            return hwnd;
        }
        Sleep(20);
    }
    return nullptr;
}

int IdeProcess::Wait(DWORD ms)
{
    if (!Started() || WaitForSingleObject(m_pi.hProcess, ms) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(m_pi.hProcess, &code);
    return static_cast<int>(code);
}

void IdeProcess::Close()
{
    if (HWND hwnd = MainWindow(0))
        CloseProcessWindow(hwnd, 30000);
}

std::vector<HWND> ProcessWindows(DWORD processId, bool shownOnly)
{
    std::vector<HWND> all, windows;
    EnumWindows(detail::CollectWindow, reinterpret_cast<LPARAM>(&all));
    for (HWND hwnd : all) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == processId && (!shownOnly || IsWindowVisible(hwnd)))
            windows.push_back(hwnd);
    }
    return windows;
}

namespace {

bool WaitFor(const std::function<bool()>& condition, DWORD ms = 30000)
{
    for (DWORD start = GetTickCount(); !condition(); Sleep(20))
        if (GetTickCount() - start > ms)
            return false;
    return true;
}

} // namespace

void CloseMenus(HWND frame, DWORD processId)
{
    // One level per Escape: a submenu first, then its parent.
    for (;;) {
        HWND top = nullptr;
        for (HWND hwnd : ProcessWindows(processId)) {
            char cls[16] = "";
            GetClassNameA(hwnd, cls, sizeof cls);
            if (!top && lstrcmpA(cls, "#32768") == 0)
                top = hwnd;
        }
        if (!top)
            break;
        PostMessageA(top, WM_KEYDOWN, VK_ESCAPE, 1);
        if (!WaitFor([&] { return !IsWindowVisible(top); }))
            break;
    }
    PostMessageA(frame, WM_CANCELMODE, 0, 0);
}

std::vector<MenuItemSeen> ReadMenuBarPopup(HWND frame, DWORD processId, char mnemonic)
{
    PostMessageA(frame, WM_SYSCOMMAND, SC_KEYMENU, mnemonic);
    std::vector<MenuItemSeen> items;
    WaitFor([&] {
        items = OpenPopupMenu(processId);
        return !items.empty();
    });
    CloseMenus(frame, processId);
    return items;
}

} // namespace vt
