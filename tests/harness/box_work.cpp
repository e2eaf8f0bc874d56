#include "tests/harness/box_work.h"
#include <commctrl.h>
#include <vector>
#include "tests/harness/foreign_buffer.h"
#include "tests/harness/menu_step.h"

namespace vt {
namespace detail {
namespace {

// A step that waits longer than this gives up: the box lacks what the answer names.
const DWORD kStepLimit = 10000;
const char kAnsweredProp[] = "vt.answered";

std::string ClassOf(HWND hwnd)
{
    char cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    return cls;
}

bool IsClass(HWND hwnd, const char* name) { return lstrcmpiA(ClassOf(hwnd).c_str(), name) == 0; }

// Shown within its box, whether or not the box itself shows yet.
bool IsShown(HWND hwnd) { return (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

bool IsPushButton(HWND hwnd)
{
    if (!IsClass(hwnd, "Button"))
        return false;
    LONG type = GetWindowLongA(hwnd, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// The control with that id anywhere in the box (pages of a sheet included), a visible one first.
HWND FindControl(HWND box, int id)
{
    HWND hidden = nullptr;
    for (HWND h : Descendants(box)) {
        // A combo box's own edit has an id (1001) that is no control's of the box.
        if (GetDlgCtrlID(h) != id || IsClass(GetParent(h), "ComboBox"))
            continue;
        if (IsShown(h))
            return h;
        if (!hidden)
            hidden = h;
    }
    return hidden;
}

HWND FindClass(HWND parent, const char* name)
{
    for (HWND h : Descendants(parent))
        if (IsClass(h, name) && IsShown(h))
            return h;
    return nullptr;
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

void PostClick(HWND control)
{
    PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

} // namespace

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> Descendants(HWND root)
{
    std::vector<HWND> all;
    EnumChildWindows(root, CollectWindow, reinterpret_cast<LPARAM>(&all));
    return all;
}

bool BoxOwner::Owns(HWND hwnd) const
{
    DWORD pid = 0;
    DWORD tid = GetWindowThreadProcessId(hwnd, &pid);
    return pid == processId && (threadId == 0 || tid == threadId);
}

bool BoxOwner::MenuOpen() const
{
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND hwnd : windows)
        if (Owns(hwnd) && IsClass(hwnd, "#32768") && IsWindowVisible(hwnd))
            return true;
    return false;
}

std::string WindowText(HWND hwnd)
{
    LRESULT n = Send(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (n <= 0)
        return "";
    std::string text(static_cast<size_t>(n) + 1, '\0');
    n = Send(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

bool IsUnansweredBox(HWND hwnd)
{
    return IsClass(hwnd, "#32770") && !GetPropA(hwnd, kAnsweredProp);
}

ModalSeen ReadBox(HWND box)
{
    ModalSeen seen;
    seen.className = ClassOf(box);
    seen.caption = WindowText(box);
    for (HWND child : Descendants(box)) {
        // Boxes show their text in statics, the extended box in a rich-edit control.
        if (IsClass(child, "Static") || ClassOf(child).compare(0, 8, "RichEdit") == 0 ||
            IsClass(child, "RICHEDIT")) {
            std::string text = WindowText(child);
            if (text.empty())
                continue;
            if (!seen.text.empty())
                seen.text += '\n';
            seen.text += text;
        } else if (IsPushButton(child) && IsShown(child)) {
            seen.buttons.push_back(ShownText(WindowText(child).c_str()));
        }
    }
    return seen;
}

BoxWork::BoxWork(HWND box, const ModalAnswer& answer, const BoxOwner& owner)
    : m_box(box), m_answer(answer), m_owner(owner), m_stepStart(GetTickCount())
{
    SetPropA(box, kAnsweredProp, reinterpret_cast<HANDLE>(1));
    m_seen = ReadBox(box);
}

bool BoxWork::Step()
{
    if (!IsWindow(m_box))
        return true;
    for (;;) {
        bool last = m_next == m_answer.fills.size();
        Result r = last ? Press() : Fill(m_answer.fills[m_next]);
        if (r == kWait && GetTickCount() - m_stepStart < kStepLimit)
            return false;
        if (r != kDone && m_seen.error.empty())
            m_seen.error = last ? "no button \"" + m_answer.buttonText + "\""
                                : "fill " + std::to_string(m_next) + " (id " +
                                      std::to_string(m_answer.fills[m_next].id) + ", \"" +
                                      m_answer.fills[m_next].text + "\") failed";
        if (last)
            return true;
        ++m_next;
        m_opening = 0;
        m_stepStart = GetTickCount();
        m_lastHighlight = -2;
        // A click or a menu choice takes effect in the box's own loop: give it a turn first.
        ModalAnswer::Kind kind = m_answer.fills[m_next - 1].kind;
        if (kind == ModalAnswer::kClick || kind == ModalAnswer::kMenu || kind == ModalAnswer::kTab ||
            kind == ModalAnswer::kMousePress)
            return false;
    }
}

BoxWork::Result BoxWork::Fill(const ModalAnswer::Fill& fill)
{
    if (fill.kind == ModalAnswer::kTab)
        return ChooseTab(fill.text);
    if (fill.kind == ModalAnswer::kMenu) {
        int r = m_owner.menuStep(fill.text, &m_lastHighlight);
        if (r == 2) {
            // Closed from outside before the choice: the click that opened it opens it again
            // (the step's limit still bounds the tries).
            const ModalAnswer::Fill* opener = m_next > 0 ? &m_answer.fills[m_next - 1] : nullptr;
            HWND control = opener && opener->kind == ModalAnswer::kClick ? FindControl(m_box, opener->id) : nullptr;
            if (!control)
                return kFailed;
            // Another program's window took the foreground and with it the menu: the box
            // is brought forward, as the user would click it, before the menu opens again.
            SetForegroundWindow(m_box);
            PostClick(control);
            return kWait;
        }
        return r == 1 ? kDone : r == 0 ? kWait : kFailed;
    }
    HWND control = nullptr;
    if (fill.id == kFileNameBox) {
        // The explorer-style dialog's name box is a combo box, the older one's an edit.
        control = FindControl(m_box, 0x47C /* cmb13 */);
        if (!control)
            control = FindControl(m_box, 0x480 /* edt1 */);
    } else {
        control = FindControl(m_box, fill.id);
    }
    if (!control)
        return kWait;
    switch (fill.kind) {
    case ModalAnswer::kType:
        return TypeText(control, fill.text);
    case ModalAnswer::kCheck: {
        bool checked = Send(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (checked != fill.checked)
            PostMessageA(control, BM_CLICK, 0, 0);
        return kDone;
    }
    case ModalAnswer::kChoose:
        return Choose(control, fill.text);
    case ModalAnswer::kClick:
        PostClick(control);
        return kDone;
    case ModalAnswer::kMousePress: {
        RECT rc = {};
        GetClientRect(control, &rc);
        PostMessageA(control, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(rc.right / 2, rc.bottom / 2));
        return kDone;
    }
    case ModalAnswer::kCheckOpening:
        // The box it opens disables this one while it shows (its owner); it is done when
        // this box is enabled again.
        if (m_opening == 0) {
            PostMessageA(control, BM_CLICK, 0, 0);
            m_opening = 1;
            m_stepStart = GetTickCount();
            return kWait;
        }
        if (m_opening == 1) {
            if (IsWindowEnabled(m_box))
                return kWait;
            m_opening = 2;
            m_stepStart = GetTickCount();
            return kWait;
        }
        if (!IsWindowEnabled(m_box))
            return kWait;
        m_opening = 0;
        return kDone;
    default:
        return kFailed;
    }
}

BoxWork::Result BoxWork::TypeText(HWND control, const std::string& text)
{
    HWND edit = control;
    if (!IsClass(control, "Edit")) {
        edit = FindClass(control, "Edit");
        if (!edit)
            return kFailed;
    }
    return Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) == TRUE ? kDone : kFailed;
}

BoxWork::Result BoxWork::Choose(HWND control, const std::string& item)
{
    bool combo = IsClass(control, "ComboBox");
    if (!combo && !IsClass(control, "ListBox"))
        return kFailed;
    // The platform carries these texts to another process's control.
    LRESULT index = Send(control, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(item.c_str()));
    if (index < 0)
        return kWait;   // the list may be filled later
    WORD notify;
    if (combo) {
        Send(control, CB_SETCURSEL, index, 0);
        notify = CBN_SELCHANGE;
    } else {
        if (GetWindowLongA(control, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL))
            Send(control, LB_SETSEL, TRUE, index);
        else
            Send(control, LB_SETCURSEL, index, 0);
        notify = LBN_SELCHANGE;
    }
    PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), notify),
                 reinterpret_cast<LPARAM>(control));
    return kDone;
}

BoxWork::Result BoxWork::ChooseTab(const std::string& title)
{
    HWND tabs = FindClass(m_box, WC_TABCONTROLA);
    if (!tabs)
        return kWait;
    const size_t kText = 256;
    ForeignBuffer buffer(m_owner.process, sizeof(TCITEMA) + sizeof(RECT) + kText);
    int count = static_cast<int>(Send(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = buffer.At(sizeof(TCITEMA) + sizeof(RECT));
        item.cchTextMax = kText;
        char text[kText] = "";
        if (!buffer.Write(0, &item, sizeof item) || !Send(tabs, TCM_GETITEMA, i, reinterpret_cast<LPARAM>(buffer.At())) ||
            !buffer.Read(sizeof(TCITEMA) + sizeof(RECT), text, kText))
            return kFailed;
        text[kText - 1] = '\0';
        if (ShownText(text) != title)
            continue;
        RECT rc = {};
        if (!Send(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(buffer.At(sizeof(TCITEMA)))) ||
            !buffer.Read(sizeof(TCITEMA), &rc, sizeof rc))
            return kFailed;
        // A click, so the tab control tells its parent (a sheet then shows the page).
        LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        PostMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(tabs, WM_LBUTTONUP, 0, at);
        return kDone;
    }
    return kFailed;
}

BoxWork::Result BoxWork::Press()
{
    // A popup menu still open would take the button's click as its own end.
    if (m_owner.MenuOpen())
        return kWait;
    int id = m_answer.button;
    Result result = kDone;
    if (!m_answer.buttonText.empty()) {
        result = kFailed;
        for (HWND child : Descendants(m_box))
            if (IsPushButton(child) && ShownText(WindowText(child).c_str()) == m_answer.buttonText) {
                id = GetDlgCtrlID(child);
                result = kDone;
                break;
            }
    }
    m_seen.answer = id;
    PostMessageA(m_box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(m_box, id)));
    return result;
}

} // namespace detail
} // namespace vt
