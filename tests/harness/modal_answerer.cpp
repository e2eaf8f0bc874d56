#include "tests/harness/harness.h"
#include "tests/harness/box_work.h"
#include "tests/harness/menu_step.h"

namespace vt {
namespace {
thread_local ModalAnswerer* t_current = nullptr;
const UINT kAnswerMsg = WM_APP + 0x3A1;
const char kRelayClass[] = "VtModalAnswererRelay";
const UINT_PTR kWorkTimer = 1;

// The boxes are this thread's, and its popup menus are read right here.
detail::BoxOwner& ThisThread()
{
    thread_local detail::BoxOwner owner;
    owner.processId = GetCurrentProcessId();
    owner.threadId = GetCurrentThreadId();
    owner.process = GetCurrentProcess();
    owner.menuStep = [](const std::string& text, int* lastHighlight) {
        return detail::MenuStep(text.c_str(), lastHighlight);
    };
    return owner;
}
} // namespace

ModalAnswerer::ModalAnswerer(int defaultButton) : m_default(defaultButton) {
    m_previous = t_current;
    t_current = this;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RelayProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kRelayClass;
    RegisterClassA(&wc);
    m_relay = CreateWindowA(kRelayClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(m_relay, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_hook = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

ModalAnswerer::~ModalAnswerer() {
    if (m_hook) UnhookWindowsHookEx(m_hook);
    if (m_relay) DestroyWindow(m_relay);
    for (detail::BoxWork* work : m_work) delete work;
    t_current = m_previous;
}

LRESULT CALLBACK ModalAnswerer::RelayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ModalAnswerer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == kAnswerMsg) {
        if (self) self->Start(reinterpret_cast<HWND>(wParam));
        return 0;
    }
    if (msg == WM_TIMER && wParam == kWorkTimer) {
        if (self) self->Work();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK ModalAnswerer::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && t_current)
        t_current->OnActivate(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ModalAnswerer::OnActivate(HWND hwnd) {
    // Under Wine the hook may be told of another process's window taking the focus on the
    // shared display: only this thread's boxes are ours to answer.
    if (GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) return;
    // Activation repeats when focus comes back to a box: take each box once.
    if (!detail::IsUnansweredBox(hwnd) || GetPropA(hwnd, "vt.seen")) return;
    SetPropA(hwnd, "vt.seen", reinterpret_cast<HANDLE>(1));
    // The box may be activated before its texts are set: read and answer it
    // from its modal loop instead.
    PostMessageA(m_relay, kAnswerMsg, reinterpret_cast<WPARAM>(hwnd), 0);
}

void ModalAnswerer::Start(HWND hwnd) {
    if (!IsWindow(hwnd) || !detail::IsUnansweredBox(hwnd)) return;
    ModalAnswer answer(m_default);
    if (!m_queue.empty()) {
        answer = m_queue.front();
        m_queue.pop_front();
    }
    if (!answer.button) answer.button = m_default;
    m_work.push_back(new detail::BoxWork(hwnd, answer, ThisThread()));
    Work();
}

// Steps every box being answered; the ones still waiting (for a page, a menu) go on from a
// timer, which the boxes' and menus' own loops serve.
void ModalAnswerer::Work() {
    for (size_t i = 0; i < m_work.size();) {
        detail::BoxWork* work = m_work[i];
        if (!work->Step()) {
            ++i;
            continue;
        }
        m_seen.push_back(work->Seen());
        delete work;
        m_work.erase(m_work.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (m_work.empty())
        KillTimer(m_relay, kWorkTimer);
    else
        SetTimer(m_relay, kWorkTimer, 20, nullptr);
}

void PumpMessages(DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (ms == 0 || GetTickCount() - start >= ms) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

} // namespace vt
