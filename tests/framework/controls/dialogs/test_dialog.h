// In-memory dialog templates for the dialog-control tests, and a watcher
// that lets a test look at (and end) a system dialog from its modal loop.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

namespace vt {

// Builds a DLGTEMPLATE (dialog units, "MS Sans Serif" 8) control by control.
class DialogTemplate
{
public:
    DialogTemplate(const char* caption, short cx, short cy,
                   DWORD style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT)
    {
        Align(4);
        Put<DWORD>(style | DS_SETFONT);
        Put<DWORD>(0);
        m_countAt = m_bytes.size();
        Put<WORD>(0);
        Put<short>(0); Put<short>(0); Put<short>(cx); Put<short>(cy);
        Put<WORD>(0);           // no menu
        Put<WORD>(0);           // default class
        Text(caption);
        Put<WORD>(8);
        Text("MS Sans Serif");
    }
    // cls: "BUTTON", "EDIT", "STATIC", "LISTBOX", "COMBOBOX".
    DialogTemplate& Add(const char* cls, const char* text, WORD id, short x, short y, short cx, short cy, DWORD style)
    {
        Align(4);
        Put<DWORD>(style | WS_CHILD | WS_VISIBLE);
        Put<DWORD>(0);
        Put<short>(x); Put<short>(y); Put<short>(cx); Put<short>(cy);
        Put<WORD>(id);
        Text(cls);
        Text(text);
        Put<WORD>(0);
        WORD n;
        std::memcpy(&n, &m_bytes[m_countAt], sizeof n);
        ++n;
        std::memcpy(&m_bytes[m_countAt], &n, sizeof n);
        return *this;
    }
    LPCDLGTEMPLATE Get() const { return reinterpret_cast<LPCDLGTEMPLATE>(m_bytes.data()); }

private:
    template<class T> void Put(T v)
    {
        const BYTE* p = reinterpret_cast<const BYTE*>(&v);
        m_bytes.insert(m_bytes.end(), p, p + sizeof v);
    }
    void Text(const char* s)
    {
        Align(2);
        WCHAR w[256] = L"";
        int n = MultiByteToWideChar(CP_ACP, 0, s, -1, w, 256);
        for (int i = 0; i < n; ++i)
            Put<WCHAR>(w[i]);
    }
    void Align(size_t a) { while (m_bytes.size() % a) m_bytes.push_back(0); }
    std::vector<BYTE> m_bytes;
    size_t m_countAt = 0;
};

// While it lives, each dialog (#32770) that this thread creates is handed to
// `onDialog` from the dialog's own modal loop, once the dialog is on screen.
class DialogWatcher
{
public:
    explicit DialogWatcher(std::function<void(HWND)> onDialog) : m_onDialog(std::move(onDialog))
    {
        s_current = this;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &DialogWatcher::RelayProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VtDialogWatcherRelay";
        RegisterClassA(&wc);
        m_relay = CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        m_hook = SetWindowsHookExA(WH_CBT, &DialogWatcher::CbtProc, nullptr, GetCurrentThreadId());
        // Timers come only when the queue is empty, so a modal dialog has been shown by then.
        SetTimer(m_relay, 1, 20, nullptr);
    }
    ~DialogWatcher()
    {
        UnhookWindowsHookEx(m_hook);
        DestroyWindow(m_relay);
        s_current = nullptr;
    }
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;
    int Count() const { return m_count; }

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && s_current)
        {
            auto* cbt = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
            // The dialog class is the atom 0x8002.
            if (cbt->lpcs && HIWORD((ULONG_PTR)cbt->lpcs->lpszClass) == 0 &&
                LOWORD((ULONG_PTR)cbt->lpcs->lpszClass) == 0x8002 && !(cbt->lpcs->style & WS_CHILD))
                s_current->m_pending.push_back(reinterpret_cast<HWND>(wParam));
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK RelayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_TIMER && s_current)
        {
            auto& pending = s_current->m_pending;
            for (size_t i = 0; i < pending.size(); ++i)
            {
                HWND hDlg = pending[i];
                if (!IsWindow(hDlg))
                {
                    pending.erase(pending.begin() + (long)i--);
                }
                else if (IsWindowVisible(hDlg))
                {
                    pending.erase(pending.begin() + (long)i--);
                    ++s_current->m_count;
                    s_current->m_onDialog(hDlg);
                }
            }
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    static inline DialogWatcher* s_current = nullptr;
    std::function<void(HWND)> m_onDialog;
    std::vector<HWND> m_pending;
    HWND m_relay = nullptr;
    HHOOK m_hook = nullptr;
    int m_count = 0;
};

} // namespace vt
