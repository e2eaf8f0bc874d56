// Test harness: answering modal boxes, temporary folders and unique names.
#pragma once
#include <windows.h>
#include "tests/harness/printers.h"
#include <deque>
#include <string>
#include <vector>

namespace vt {

// What a modal box or dialog showed when the harness answered it.
struct ModalSeen {
    std::string className;   // "#32770" for message boxes and dialogs
    std::string caption;
    std::string text;        // the static (and rich-edit) texts of the box, joined by '\n'
    int answer = 0;          // the button id the harness pressed
};

// Answers every message box or dialog opened on this thread while it lives:
// records what it showed and presses a chosen button (queued answers first,
// then the default). Without one, a box in a test would hang the run.
// A box is read and answered from its own modal loop, once its texts are set;
// a window carrying the property "vt.answered" is left alone.
class ModalAnswerer {
public:
    explicit ModalAnswerer(int defaultButton = IDOK);
    ~ModalAnswerer();
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    void Queue(int button) { m_queue.push_back(button); }
    void SetDefault(int button) { m_default = button; }
    const std::vector<ModalSeen>& Seen() const { return m_seen; }
    size_t Count() const { return m_seen.size(); }
    const ModalSeen& Last() const { return m_seen.back(); }
    void Clear() { m_seen.clear(); }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK RelayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND hwnd);
    void Answer(HWND hwnd);

    HHOOK m_hook = nullptr;
    HWND m_relay = nullptr;
    ModalAnswerer* m_previous = nullptr;
    int m_default;
    std::deque<int> m_queue;
    std::vector<ModalSeen> m_seen;
};

// A fresh folder under the temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return m_path; }   // without a trailing backslash
    std::string File(const std::string& name) const { return m_path + "\\" + name; }
    // Writes bytes to a file in the folder and returns its full path.
    std::string Write(const std::string& name, const std::string& bytes) const;
private:
    std::string m_path;
};

std::string ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
void RemoveTree(const std::string& path);

// The folder of the running executable (the program folder), with a trailing backslash.
std::string ProgramFolder();

// A name unique to this process and test, for registry keys and shared objects.
std::string UniqueName(const char* prefix);

// Closes the top-level window of another process (WM_CLOSE) and waits for that process to
// end, ending it after `ms` when it does not.
void CloseProcessWindow(HWND hwnd, DWORD ms = 5000);

// What the test application's WinHelp was asked, oldest first.
struct HelpRequest {
    DWORD_PTR data;
    UINT command;
};
std::vector<HelpRequest>& HelpRequests();

// Runs the thread's message queue until it is empty (or `ms` passed when ms > 0).
void PumpMessages(DWORD ms = 0);

} // namespace vt
