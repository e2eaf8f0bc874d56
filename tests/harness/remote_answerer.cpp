#include "tests/harness/harness.h"
#include <psapi.h>
#include <algorithm>
#include <memory>
#include <mutex>
#include "tests/harness/box_work.h"
#include "tests/harness/remote_menu.h"

namespace vt {
namespace {

// Runs one menu step inside the program: the agent DLL is loaded there once (a thread of
// the program runs LoadLibrary), then each step is a thread of the program at the agent's
// entry, found at the same offset from the module's base as in this process.
class MenuAgent {
public:
    explicit MenuAgent(HANDLE process) : m_process(process) {}

    int Step(const std::string& text, int* lastHighlight)
    {
        detail::MenuRequest request = {};
        request.mode = detail::kChoose;
        request.lastHighlight = *lastHighlight;
        lstrcpynA(request.text, text.c_str(), sizeof request.text);
        int result = Call(&request);
        *lastHighlight = request.lastHighlight;
        return result;
    }

    std::vector<MenuItemSeen> Describe()
    {
        std::unique_ptr<detail::MenuRequest> request(new detail::MenuRequest());
        request->mode = detail::kDescribe;
        request->count = -1;
        std::vector<MenuItemSeen> items;
        if (Call(request.get()) < 0)
            return items;
        for (int i = 0; i < request->count; ++i) {
            const detail::MenuItemRecord& r = request->items[i];
            items.push_back({r.text, r.id, (r.state & MFS_GRAYED) != 0, (r.state & MFS_CHECKED) != 0, r.popup != 0});
        }
        return items;
    }

private:
    // The request goes to the agent and comes back filled in; the agent's answer less one.
    int Call(detail::MenuRequest* request)
    {
        LPTHREAD_START_ROUTINE entry = Entry();
        if (!entry)
            return -1;
        void* at = VirtualAllocEx(m_process, nullptr, sizeof *request, MEM_COMMIT, PAGE_READWRITE);
        DWORD result = 0;
        if (at && WriteProcessMemory(m_process, at, request, sizeof *request, nullptr) && Run(entry, at, &result))
            ReadProcessMemory(m_process, at, request, sizeof *request, nullptr);
        if (at)
            VirtualFreeEx(m_process, at, 0, MEM_RELEASE);
        return static_cast<int>(result) - 1;
    }


    bool Run(LPTHREAD_START_ROUTINE entry, void* param, DWORD* result)
    {
        HANDLE thread = CreateRemoteThread(m_process, nullptr, 0, entry, param, 0, nullptr);
        if (!thread)
            return false;
        bool ended = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0;
        if (ended)
            GetExitCodeThread(thread, result);
        CloseHandle(thread);
        return ended;
    }

    HMODULE RemoteModule(const std::string& path)
    {
        HMODULE modules[1024];
        DWORD bytes = 0;
        if (!K32EnumProcessModules(m_process, modules, sizeof modules, &bytes))
            return nullptr;
        for (DWORD i = 0; i < bytes / sizeof(HMODULE); ++i) {
            char name[MAX_PATH] = "";
            K32GetModuleFileNameExA(m_process, modules[i], name, MAX_PATH);
            if (lstrcmpiA(name, path.c_str()) == 0)
                return modules[i];
        }
        return nullptr;
    }

    LPTHREAD_START_ROUTINE Entry()
    {
        if (m_entry || m_failed)
            return m_entry;
        m_failed = true;
        std::string path = ProgramFolder() + detail::kMenuAgentDll;
        HMODULE local = LoadLibraryA(path.c_str());
        FARPROC localEntry = local ? GetProcAddress(local, detail::kMenuAgentEntry) : nullptr;
        if (!localEntry)
            return nullptr;
        HMODULE remote = RemoteModule(path);
        if (!remote) {
            void* at = VirtualAllocEx(m_process, nullptr, path.size() + 1, MEM_COMMIT, PAGE_READWRITE);
            DWORD loaded = 0;
            // kernel32 lies at the same address in every process of the session.
            auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
                reinterpret_cast<uintptr_t>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
            if (at && WriteProcessMemory(m_process, at, path.c_str(), path.size() + 1, nullptr))
                Run(load, at, &loaded);
            if (at)
                VirtualFreeEx(m_process, at, 0, MEM_RELEASE);
            remote = RemoteModule(path);
        }
        if (!remote)
            return nullptr;
        uintptr_t offset = reinterpret_cast<uintptr_t>(localEntry) - reinterpret_cast<uintptr_t>(local);
        m_entry = reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<uintptr_t>(remote) + offset);
        m_failed = false;
        return m_entry;
    }

    HANDLE m_process;
    LPTHREAD_START_ROUTINE m_entry = nullptr;
    bool m_failed = false;
};

} // namespace

// What the answerer does in another process: read its memory, run its threads.
HANDLE OpenForAgent(DWORD processId)
{
    return OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION | PROCESS_VM_READ |
                           PROCESS_VM_WRITE | SYNCHRONIZE,
                       FALSE, processId);
}

std::vector<MenuItemSeen> OpenPopupMenu(DWORD processId)
{
    HANDLE process = OpenForAgent(processId);
    if (!process)
        return {};
    std::vector<MenuItemSeen> items = MenuAgent(process).Describe();
    CloseHandle(process);
    return items;
}

bool ChoosePopupMenuItem(DWORD processId, const std::string& text, DWORD ms)
{
    HANDLE process = OpenForAgent(processId);
    if (!process)
        return false;
    MenuAgent agent(process);
    int lastHighlight = -2, result = 0;
    DWORD start = GetTickCount();
    while ((result = agent.Step(text, &lastHighlight)) == 0 && GetTickCount() - start < ms)
        Sleep(20);
    CloseHandle(process);
    return result > 0;
}

struct RemoteAnswerer::State {
    mutable std::mutex lock;
    std::deque<ModalAnswer> queue;
    int defaultButton = IDOK;
    std::vector<ModalSeen> seen;
    HANDLE stop = nullptr;
    HANDLE answered = nullptr;   // set whenever a box has been answered
    detail::BoxOwner owner;
    std::unique_ptr<MenuAgent> agent;
    std::vector<std::unique_ptr<detail::BoxWork>> work;
};

RemoteAnswerer::RemoteAnswerer(DWORD processId, int defaultButton) : m_state(new State)
{
    m_state->defaultButton = defaultButton;
    m_state->stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_state->answered = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_state->owner.processId = processId;
    m_state->owner.process = OpenForAgent(processId);
    m_state->agent.reset(new MenuAgent(m_state->owner.process));
    MenuAgent* agent = m_state->agent.get();
    m_state->owner.menuStep = [agent](const std::string& text, int* lastHighlight) {
        return agent->Step(text, lastHighlight);
    };
    m_thread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
}

RemoteAnswerer::~RemoteAnswerer()
{
    SetEvent(m_state->stop);
    if (m_thread) {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
    }
    m_state->work.clear();
    if (m_state->owner.process)
        CloseHandle(m_state->owner.process);
    CloseHandle(m_state->stop);
    CloseHandle(m_state->answered);
    delete m_state;
}

void RemoteAnswerer::Queue(const ModalAnswer& answer)
{
    std::lock_guard<std::mutex> hold(m_state->lock);
    m_state->queue.push_back(answer);
}

void RemoteAnswerer::SetDefault(int button)
{
    std::lock_guard<std::mutex> hold(m_state->lock);
    m_state->defaultButton = button;
}

std::vector<ModalSeen> RemoteAnswerer::Seen() const
{
    std::lock_guard<std::mutex> hold(m_state->lock);
    return m_state->seen;
}

size_t RemoteAnswerer::Count() const
{
    std::lock_guard<std::mutex> hold(m_state->lock);
    return m_state->seen.size();
}

ModalSeen RemoteAnswerer::Last() const
{
    std::lock_guard<std::mutex> hold(m_state->lock);
    return m_state->seen.empty() ? ModalSeen() : m_state->seen.back();
}

void RemoteAnswerer::Clear()
{
    std::lock_guard<std::mutex> hold(m_state->lock);
    m_state->seen.clear();
}

bool RemoteAnswerer::WaitForCount(size_t count, DWORD ms) const
{
    DWORD start = GetTickCount();
    while (Count() < count) {
        DWORD spent = GetTickCount() - start;
        if (spent >= ms)
            return false;
        WaitForSingleObject(m_state->answered, std::min<DWORD>(ms - spent, 50));
    }
    return true;
}

DWORD WINAPI RemoteAnswerer::ThreadProc(LPVOID self)
{
    static_cast<RemoteAnswerer*>(self)->Watch();
    return 0;
}

// Every 20 ms: take the process's new boxes, and step the ones being answered.
void RemoteAnswerer::Watch()
{
    State& s = *m_state;
    while (WaitForSingleObject(s.stop, 20) == WAIT_TIMEOUT) {
        std::vector<HWND> windows, boxes;
        EnumWindows(detail::CollectWindow, reinterpret_cast<LPARAM>(&windows));
        for (HWND hwnd : windows) {
            if (!s.owner.Owns(hwnd) || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd) ||
                !detail::IsUnansweredBox(hwnd))
                continue;
            // A modal box has disabled its owner; a modeless dialog is not a box to answer.
            HWND owner = GetWindow(hwnd, GW_OWNER);
            if (!owner || !IsWindowEnabled(owner))
                boxes.push_back(hwnd);
        }
        for (HWND box : boxes) {
            ModalAnswer answer;
            {
                std::lock_guard<std::mutex> hold(s.lock);
                answer = ModalAnswer(s.defaultButton);
                if (!s.queue.empty()) {
                    answer = s.queue.front();
                    s.queue.pop_front();
                }
                if (!answer.button)
                    answer.button = s.defaultButton;
            }
            s.work.emplace_back(new detail::BoxWork(box, answer, s.owner));
        }
        for (size_t i = 0; i < s.work.size();) {
            if (!s.work[i]->Step()) {
                ++i;
                continue;
            }
            {
                std::lock_guard<std::mutex> hold(s.lock);
                s.seen.push_back(s.work[i]->Seen());
            }
            s.work.erase(s.work.begin() + static_cast<std::ptrdiff_t>(i));
            SetEvent(s.answered);
        }
    }
}

} // namespace vt
