// End-to-end runs of the real program: a private copy of the program folder whose own
// "ZIDE.cfg" names a registry key of its own, and the program started from it.
#pragma once
#include <windows.h>
#include <string>
#include "tests/harness/harness.h"

namespace vt {

// The build's program folder (bin\ with sample\) copied into a fresh temporary folder, the
// test executables left out and the sample as shipped. Its "ZIDE.cfg" gets an "SDSName" made
// by UniqueName, so the program's settings live in a registry key of this copy alone; the
// folder and the key are removed with the object.
class ProgramCopy {
public:
    ProgramCopy();
    ~ProgramCopy();
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

    std::string Folder() const { return m_dir.Path() + "\\"; }   // with a trailing backslash
    std::string Program(const char* name = "VeltaneTool.exe") const { return Folder() + name; }
    std::string Config() const { return Folder() + "ZIDE.cfg"; }
    // The project as ./run names it, relative to the program folder.
    static const char* SampleProject() { return "sample\\Sample.wbi"; }
    const std::string& SdsName() const { return m_sdsName; }
    // The program's profile key under HKEY_CURRENT_USER: Software\<SDSName>\<title>.
    std::string ProfileKey() const { return "Software\\" + m_sdsName + "\\Veltane Tool"; }
    // Writes (or with a null value removes) a value of "ZIDE.cfg".
    void SetConfig(const char* section, const char* key, const char* value) const;

    // The program's profile values (the section is a key below ProfileKey(); "" is that key).
    bool WriteProfileInt(const std::string& section, const char* name, DWORD value) const;
    // false when the value is missing.
    bool ReadProfileInt(const std::string& section, const char* name, DWORD* value) const;
    bool ReadProfileString(const std::string& section, const char* name, std::string* value) const;
    bool HasProfileKey(const std::string& section) const;

private:
    std::string SectionKey(const std::string& section) const;

    TempDir m_dir;
    std::string m_sdsName;
};

// The instance registry's entry of a process: its main window (0 before the window exists).
// false when the registry holds no entry for it.
bool FindInstance(DWORD processId, DWORD* mainWindow = nullptr);

// The program started from a program-folder copy, with the arguments given after its name;
// the current folder is `folder`, the copy's folder when empty. Ended (its main window closed,
// else the process) with the object. `program` names another executable of the copy.
class IdeProcess {
public:
    IdeProcess(const ProgramCopy& copy, const std::string& arguments, const std::string& folder = "",
               const char* program = "VeltaneTool.exe");
    ~IdeProcess();
    IdeProcess(const IdeProcess&) = delete;
    IdeProcess& operator=(const IdeProcess&) = delete;

    bool Started() const { return m_pi.hProcess != nullptr; }
    DWORD Id() const { return m_pi.dwProcessId; }
    HANDLE Handle() const { return m_pi.hProcess; }
    bool Running() const { return Started() && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT; }
    // The main window the instance registry records for the process, once it shows; null
    // when the process ends first (the limit only guards against a hang).
    HWND MainWindow(DWORD ms = 60000);
    // Waits for the process's end: its exit code, or -1 past the limit.
    int Wait(DWORD ms = 60000);
    // Closes the main window as a user does and waits for the end (CloseProcessWindow).
    void Close();

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_main = nullptr;
};

// The top-level windows of a process: the shown ones, or all.
std::vector<HWND> ProcessWindows(DWORD processId, bool shownOnly = true);

// Closes every popup menu the process shows (Escape in each), and the frame's menu mode.
void CloseMenus(HWND frame, DWORD processId);
// Opens the frame's menu-bar popup of that mnemonic as Alt+key does, reads it and closes it again.
std::vector<MenuItemSeen> ReadMenuBarPopup(HWND frame, DWORD processId, char mnemonic);

} // namespace vt
