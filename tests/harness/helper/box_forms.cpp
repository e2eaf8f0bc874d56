#include "tests/harness/helper/box_forms.h"
#include <commctrl.h>
#include <commdlg.h>
#include <prsht.h>
#include "tests/harness/helper/box_helper_ids.h"

namespace boxhelper {
namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

std::string Text(HWND hwnd)
{
    char buf[512] = "";
    GetWindowTextA(hwnd, buf, sizeof buf);
    return buf;
}

std::string ItemText(HWND dialog, int id)
{
    return Text(GetDlgItem(dialog, id));
}

void Line(std::string* values, const char* name, const std::string& value)
{
    *values += std::string(name) + "=" + value + "\n";
}

INT_PTR CALLBACK RichProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_INITDIALOG) {
        SetDlgItemTextA(hwnd, IDC_HELPER_RICH, "The rich text of the box.");
        return TRUE;
    }
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

struct Form {
    std::string* values;
    HWND page = nullptr;
    std::string menu;
    std::string pressed = "0";
    std::string asked;
};

// The press button notes a right-button press itself, as a button that reports presses does.
WNDPROC g_buttonProc = nullptr;
LRESULT CALLBACK PressProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_RBUTTONDOWN)
        if (auto* form = reinterpret_cast<Form*>(GetWindowLongPtrA(GetParent(hwnd), DWLP_USER)))
            form->pressed = "1";
    return CallWindowProcA(g_buttonProc, hwnd, msg, wParam, lParam);
}

INT_PTR CALLBACK PageProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

INT_PTR CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Form* form = reinterpret_cast<Form*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        form = reinterpret_cast<Form*>(lParam);
        g_buttonProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            GetDlgItem(hwnd, IDC_HELPER_PRESS), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PressProc)));
        for (const char* item : {"Alpha", "Beta", "Gamma"})
            SendDlgItemMessageA(hwnd, IDC_HELPER_LIST_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        for (const char* item : {"North", "South"})
            SendDlgItemMessageA(hwnd, IDC_HELPER_EDIT_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        for (const char* item : {"One", "Two", "Three"})
            SendDlgItemMessageA(hwnd, IDC_HELPER_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        HWND tabs = GetDlgItem(hwnd, IDC_HELPER_TABS);
        const char* titles[] = {"General", "&Details"};
        for (int i = 0; i < 2; ++i) {
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<char*>(titles[i]);
            SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        }
        // The page of the second tab: a child dialog over the tab control's display area.
        form->page = CreateDialogParamA(Module(), MAKEINTRESOURCEA(IDD_HELPER_PAGE), hwnd, PageProc, 0);
        RECT rc;
        GetWindowRect(tabs, &rc);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rc), 2);
        SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
        SetWindowPos(form->page, HWND_TOP, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_HIDEWINDOW);
        return TRUE;
    }
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr->idFrom == IDC_HELPER_TABS && hdr->code == TCN_SELCHANGE) {
            int tab = static_cast<int>(SendMessageA(hdr->hwndFrom, TCM_GETCURSEL, 0, 0));
            ShowWindow(form->page, tab == 1 ? SW_SHOW : SW_HIDE);
        }
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_HELPER_MENU && HIWORD(wParam) == BN_CLICKED) {
            HMENU menu = CreatePopupMenu();
            AppendMenuA(menu, MF_STRING, 1, "&Red");
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            AppendMenuA(menu, MF_STRING, 2, "&Green\tCtrl+G");
            AppendMenuA(menu, MF_STRING, 3, "&Blue");
            RECT rc;
            GetWindowRect(GetDlgItem(hwnd, IDC_HELPER_MENU), &rc);
            int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN, rc.left, rc.bottom, 0, hwnd, nullptr);
            char text[64] = "";
            if (chosen)
                GetMenuStringA(menu, chosen, text, sizeof text, MF_BYCOMMAND);
            form->menu = text;
            DestroyMenu(menu);
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_HELPER_ASK && HIWORD(wParam) == BN_CLICKED) {
            if (IsDlgButtonChecked(hwnd, IDC_HELPER_ASK))
                form->asked = std::to_string(
                    MessageBoxA(hwnd, "Asked by the check box.", "Helper Question", MB_OKCANCEL));
            return TRUE;
        }
        if (HIWORD(wParam) == BN_CLICKED &&
            (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDC_HELPER_LATER)) {
            std::string* v = form->values;
            Line(v, "edit", ItemText(hwnd, IDC_HELPER_EDIT));
            Line(v, "check", IsDlgButtonChecked(hwnd, IDC_HELPER_CHECK) ? "1" : "0");
            Line(v, "combo", ItemText(hwnd, IDC_HELPER_LIST_COMBO));
            Line(v, "combo-edit", ItemText(hwnd, IDC_HELPER_EDIT_COMBO));
            HWND list = GetDlgItem(hwnd, IDC_HELPER_LIST);
            char item[64] = "";
            int sel = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
            if (sel >= 0)
                SendMessageA(list, LB_GETTEXT, sel, reinterpret_cast<LPARAM>(item));
            Line(v, "list", item);
            Line(v, "tab", std::to_string(SendDlgItemMessageA(hwnd, IDC_HELPER_TABS, TCM_GETCURSEL, 0, 0)));
            Line(v, "page-shown", IsWindowVisible(form->page) ? "1" : "0");
            Line(v, "page-edit", ItemText(form->page, IDC_HELPER_PAGE_EDIT));
            Line(v, "menu", form->menu);
            Line(v, "pressed", form->pressed);
            Line(v, "asked", form->asked);
            EndDialog(hwnd, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

struct Sheet {
    std::string first, second, verify = "0";
};

INT_PTR CALLBACK SheetPageProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam)
{
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
        return TRUE;
    }
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(PSN_APPLY)) {
        auto* sheet = reinterpret_cast<Sheet*>(GetWindowLongPtrA(hwnd, DWLP_USER));
        if (HWND edit = GetDlgItem(hwnd, IDC_HELPER_SHEET1_EDIT))
            sheet->first = Text(edit);
        if (HWND edit = GetDlgItem(hwnd, IDC_HELPER_SHEET2_EDIT)) {
            sheet->second = Text(edit);
            sheet->verify = IsDlgButtonChecked(hwnd, IDC_HELPER_SHEET_CHECK) ? "1" : "0";
        }
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
    }
    return FALSE;
}

} // namespace

int ShowMessageBox()
{
    return MessageBoxA(nullptr, "The first line of the box.\nThe second line.", "Helper Box",
                       MB_YESNOCANCEL | MB_ICONQUESTION);
}

int ShowRichBox()
{
    LoadLibraryA("riched20.dll");
    return static_cast<int>(DialogBoxParamA(Module(), MAKEINTRESOURCEA(IDD_HELPER_RICH), nullptr, RichProc, 0));
}

int ShowForm(std::string* values)
{
    Form form{values};
    return static_cast<int>(DialogBoxParamA(Module(), MAKEINTRESOURCEA(IDD_HELPER_FORM), nullptr, FormProc,
                                            reinterpret_cast<LPARAM>(&form)));
}

int ShowSheet(std::string* values)
{
    Sheet sheet;
    PROPSHEETPAGEA pages[2] = {};
    int ids[2] = {IDD_HELPER_SHEET1, IDD_HELPER_SHEET2};
    for (int i = 0; i < 2; ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].hInstance = Module();
        pages[i].pszTemplate = MAKEINTRESOURCEA(ids[i]);
        pages[i].pfnDlgProc = SheetPageProc;
        pages[i].lParam = reinterpret_cast<LPARAM>(&sheet);
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hInstance = Module();
    header.pszCaption = "Helper Sheet";
    header.nPages = 2;
    header.ppsp = pages;
    INT_PTR r = PropertySheetA(&header);
    Line(values, "first", sheet.first);
    Line(values, "second", sheet.second);
    Line(values, "verify", sheet.verify);
    return r > 0 ? IDOK : IDCANCEL;
}

int ShowFileDialog(const std::string& folder, std::string* values)
{
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = "Text files (*.txt)\0*.txt\0All files\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrInitialDir = folder.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    BOOL ok = GetSaveFileNameA(&ofn);
    Line(values, "file", file);
    return ok ? IDOK : IDCANCEL;
}

} // namespace boxhelper
