#include "tests/harness/harness.h"

namespace vt {
namespace {
thread_local ModalAnswerer* t_current = nullptr;

BOOL CALLBACK CollectText(HWND child, LPARAM lParam) {
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    // Boxes show their text in statics, some in a rich-edit control.
    if (lstrcmpiA(cls, "Static") != 0 && _strnicmp(cls, "RichEdit", 8) != 0)
        return TRUE;
    char buf[4096] = "";
    GetWindowTextA(child, buf, sizeof buf);
    if (!buf[0]) return TRUE;
    auto* text = reinterpret_cast<std::string*>(lParam);
    if (!text->empty()) *text += '\n';
    *text += buf;
    return TRUE;
}
} // namespace

const UINT kAnswerMsg = WM_APP + 0x3A1;
const char kRelayClass[] = "VtModalAnswererRelay";

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
    t_current = m_previous;
}

LRESULT CALLBACK ModalAnswerer::RelayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kAnswerMsg) {
        auto* self = reinterpret_cast<ModalAnswerer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self) self->Answer(reinterpret_cast<HWND>(wParam));
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
    char cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0) return;
    // Activation repeats when focus comes back to a box: take each box once.
    if (GetPropA(hwnd, "vt.answered") || GetPropA(hwnd, "vt.seen")) return;
    SetPropA(hwnd, "vt.seen", reinterpret_cast<HANDLE>(1));
    // The box may be activated before its texts are set: read and answer it
    // from its modal loop instead.
    PostMessageA(m_relay, kAnswerMsg, reinterpret_cast<WPARAM>(hwnd), 0);
}

void ModalAnswerer::Answer(HWND hwnd) {
    if (!IsWindow(hwnd) || GetPropA(hwnd, "vt.answered")) return;
    SetPropA(hwnd, "vt.answered", reinterpret_cast<HANDLE>(1));
    ModalSeen seen;
    char buf[1024] = "";
    GetClassNameA(hwnd, buf, sizeof buf);
    seen.className = buf;
    GetWindowTextA(hwnd, buf, sizeof buf);
    seen.caption = buf;
    EnumChildWindows(hwnd, CollectText, reinterpret_cast<LPARAM>(&seen.text));
    if (!m_queue.empty()) {
        seen.answer = m_queue.front();
        m_queue.pop_front();
    } else {
        seen.answer = m_default;
    }
    m_seen.push_back(seen);
    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(seen.answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hwnd, seen.answer)));
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
