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
    std::vector<std::string> buttons;   // the push buttons' texts as shown ("&" marks removed)
    int answer = 0;          // the button id the harness pressed
    std::string error;       // a fill or button the answer named that the box did not have
};

// The id that names the system file dialog's file-name box in ModalAnswer::Type.
const int kFileNameBox = -2;

// How to answer one box: the button to press (by id, or by its text: "No To All"), and what to
// fill in before pressing it, in order. A step waits for its control (a property sheet makes a
// page's controls when the page is first shown) or for the popup menu to open.
struct ModalAnswer {
    ModalAnswer(int button = IDOK) : button(button) {}
    // By text; a box without that button gets the answerer's default (and records the error).
    ModalAnswer(const char* text) : button(0), buttonText(text) {}
    ModalAnswer(const std::string& text) : button(0), buttonText(text) {}

    // Types the text into the edit (or a combo box's edit) with that id, anywhere in the box.
    ModalAnswer& Type(int id, const std::string& text) { return Add(kType, id, text); }
    // Sets a check box (or radio button) with that id, as a click does.
    ModalAnswer& Check(int id, bool checked = true) { return Add(kCheck, id, "", checked); }
    // Chooses the item with that text in the combo box or list box with that id.
    ModalAnswer& Choose(int id, const std::string& item) { return Add(kChoose, id, item); }
    // Chooses the tab with that title (of the box's first tab control), as a click does.
    ModalAnswer& Tab(const std::string& title) { return Add(kTab, 0, title); }
    // Presses a button that leaves the box open (for example one that opens a popup menu).
    ModalAnswer& Click(int id) { return Add(kClick, id, ""); }
    // Chooses the item with that text of the popup menu the program opens.
    ModalAnswer& Menu(const std::string& item) { return Add(kMenu, 0, item); }
    // Presses a control with the mouse's right button: a press, which a button that reports
    // presses itself sees, where Click gives only the click notification a keyboard gives.
    ModalAnswer& MousePress(int id) { return Add(kMousePress, id, ""); }
    // Sets a check box whose click opens a box of its own (answered from the queue like any
    // other), and goes on once that box has closed.
    ModalAnswer& CheckOpening(int id) { return Add(kCheckOpening, id, ""); }

    enum Kind { kType, kCheck, kChoose, kTab, kClick, kMenu, kMousePress, kCheckOpening };
    struct Fill {
        Kind kind;
        int id;
        std::string text;
        bool checked;
    };
    int button = IDOK;        // 0: the answerer's default
    std::string buttonText;   // when set, the button pressed is the one showing this text
    std::vector<Fill> fills;

private:
    ModalAnswer& Add(Kind kind, int id, const std::string& text, bool checked = true)
    {
        fills.push_back({kind, id, text, checked});
        return *this;
    }
};

namespace detail {
class BoxWork;
}

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

    void Queue(const ModalAnswer& answer) { m_queue.push_back(answer); }
    void SetDefault(int button) { m_default = button; }
    const std::vector<ModalSeen>& Seen() const { return m_seen; }
    size_t Count() const { return m_seen.size(); }
    const ModalSeen& Last() const { return m_seen.back(); }
    void Clear() { m_seen.clear(); }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK RelayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnActivate(HWND hwnd);
    void Start(HWND hwnd);
    void Work();

    HHOOK m_hook = nullptr;
    HWND m_relay = nullptr;
    ModalAnswerer* m_previous = nullptr;
    int m_default;
    std::deque<ModalAnswer> m_queue;
    std::vector<ModalSeen> m_seen;
    std::vector<detail::BoxWork*> m_work;
};

// The same for the boxes of another process (an IDE started by an end-to-end test): a thread
// watches that process's top-level windows and answers each message box or modal dialog
// (one whose owner is disabled, or that has none). Seen, Count and Last give copies, since
// the boxes are answered while the test waits.
class RemoteAnswerer {
public:
    explicit RemoteAnswerer(DWORD processId, int defaultButton = IDOK);
    ~RemoteAnswerer();
    RemoteAnswerer(const RemoteAnswerer&) = delete;
    RemoteAnswerer& operator=(const RemoteAnswerer&) = delete;

    void Queue(const ModalAnswer& answer);
    void SetDefault(int button);
    std::vector<ModalSeen> Seen() const;
    size_t Count() const;
    ModalSeen Last() const;
    void Clear();
    // Waits until `count` boxes have been answered; false when that did not happen within `ms`
    // (the limit only guards against a hang).
    bool WaitForCount(size_t count, DWORD ms = 20000) const;

private:
    struct State;
    static DWORD WINAPI ThreadProc(LPVOID self);
    void Watch();

    State* m_state;
    HANDLE m_thread = nullptr;
};

// An item of a popup menu another process shows.
struct MenuItemSeen {
    std::string text;   // as shown: without "&" marks and the accelerator column
    UINT id;
    bool grayed;
    bool checked;
    bool submenu;
};

// The items of the popup menu that process shows on top now (menus of another process are
// read from inside it, by the answerer's agent); empty when none shows.
std::vector<MenuItemSeen> OpenPopupMenu(DWORD processId);
// Chooses the item with that text of the popup menu that process shows, as the keyboard does
// (an item with a submenu opens it); false when no such item showed (within `ms`, which only
// guards against a hang).
bool ChoosePopupMenuItem(DWORD processId, const std::string& text, DWORD ms = 20000);

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

// Sets a file's last write time to now plus the given seconds (an edit told
// apart by its time alone); false when the file cannot be changed.
bool SetWriteTimeFromNow(const std::string& path, int nSeconds);

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
