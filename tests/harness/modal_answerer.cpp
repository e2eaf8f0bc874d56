#include "tests/harness/harness.h"

namespace vt {
namespace {
thread_local ModalAnswerer* t_current = nullptr;

BOOL CALLBACK CollectText(HWND child, LPARAM lParam) {
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0) return TRUE;
    char buf[4096] = "";
    GetWindowTextA(child, buf, sizeof buf);
    if (!buf[0]) return TRUE;
    auto* text = reinterpret_cast<std::string*>(lParam);
    if (!text->empty()) *text += '\n';
    *text += buf;
    return TRUE;
}
} // namespace

ModalAnswerer::ModalAnswerer(int defaultButton) : m_default(defaultButton) {
    m_previous = t_current;
    t_current = this;
    m_hook = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

ModalAnswerer::~ModalAnswerer() {
    if (m_hook) UnhookWindowsHookEx(m_hook);
    t_current = m_previous;
}

LRESULT CALLBACK ModalAnswerer::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && t_current)
        t_current->OnActivate(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ModalAnswerer::OnActivate(HWND hwnd) {
    char cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpA(cls, "#32770") != 0) return;
    // Activation repeats when focus comes back to a box: answer each box once.
    if (GetPropA(hwnd, "vt.answered")) return;
    SetPropA(hwnd, "vt.answered", reinterpret_cast<HANDLE>(1));
    ModalSeen seen;
    seen.className = cls;
    char buf[1024] = "";
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
