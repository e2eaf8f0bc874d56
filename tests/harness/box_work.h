// Reading a box and carrying out one answer to it, shared by the in-process and the
// cross-process answerers.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>
#include "tests/harness/harness.h"

namespace vt {
namespace detail {

// Where the boxes live: their process (and thread, for the in-process answerer), a handle
// through which the tab control's items are read, and how a popup menu item is chosen there
// (MenuStep's answers: 1 chosen, 0 again later, -1 no such item, 2 closed before the choice).
struct BoxOwner {
    DWORD processId = 0;
    DWORD threadId = 0;   // 0: any thread of the process
    HANDLE process = nullptr;
    std::function<int(const std::string& text, int* lastHighlight)> menuStep;

    bool Owns(HWND hwnd) const;
    bool MenuOpen() const;   // a popup menu of the program shows
};

// Adds the window to the std::vector<HWND> at lParam (for the platform's window walks).
BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam);
// Every window below that one (children, theirs, ...).
std::vector<HWND> Descendants(HWND root);
// A window's text, also of another process's window (asked with WM_GETTEXT).
std::string WindowText(HWND hwnd);
// "#32770" windows the owner shows that the harness has not taken yet.
bool IsUnansweredBox(HWND hwnd);
ModalSeen ReadBox(HWND box);

// One answer being carried out: its fills one by one, each waiting for what it needs, then
// the button. Each step is short; the caller calls Step again until it answers true.
class BoxWork {
public:
    BoxWork(HWND box, const ModalAnswer& answer, const BoxOwner& owner);
    bool Step();
    HWND Box() const { return m_box; }
    const ModalSeen& Seen() const { return m_seen; }

private:
    enum Result { kDone, kWait, kFailed };
    Result Fill(const ModalAnswer::Fill& fill);
    Result Press();
    Result TypeText(HWND control, const std::string& text);
    Result Choose(HWND control, const std::string& item);
    Result ChooseTab(const std::string& title);

    HWND m_box;
    ModalAnswer m_answer;
    const BoxOwner& m_owner;
    ModalSeen m_seen;
    size_t m_next = 0;
    DWORD m_stepStart;
    int m_lastHighlight = -2;
    int m_opening = 0;   // kCheckOpening: 1 once clicked, 2 once its box has shown
};

} // namespace detail
} // namespace vt
