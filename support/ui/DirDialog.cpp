#include "support/ui/DirDialog.h"
#include <commctrl.h>
#include <dlgs.h>

IMPLEMENT_DYNAMIC(C_DirDialog, CFileDialog)
IMPLEMENT_DYNAMIC(C_SelectOnlyFileDialog, CFileDialog)

BEGIN_MESSAGE_MAP(C_DirDialog, CFileDialog)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(C_SelectOnlyFileDialog, CFileDialog)
END_MESSAGE_MAP()

namespace {

// Control ids of the system's Explorer-style open dialog.
// The file name is an edit (0x480) in older templates, a combo box (0x47C) in newer ones; the
// list (0x460) is a placeholder for the shell's view (0x461) where there is one.
const int kFileNameEdit = 0x480;
const int kFileNameCombo = 0x47C;
const int kFileNameLabel = 0x442;
const int kFileTypeCombo = 0x470;
const int kFileTypeLabel = 0x441;
const int kFileList = 0x460;
const int kShellView = 0x461;

// The frame's procedure before ours; one folder chooser is open at a time.
WNDPROC g_pfnDirDialogFrameProc = nullptr;

// "*..*" matches no ordinary name, so the list shows only folders.
C_CUString InitialName(LPCSTR lpszDirectory)
{
    C_CUString dir(lpszDirectory);
    if (!dir.empty() && dir[dir.size() - 1] == '\\')
        return dir + "*..*";
    return dir + "\\*..*";
}

CRect ChildRectInFrame(HWND hFrame, int id)
{
    CRect r;
    HWND h = ::GetDlgItem(hFrame, id);
    if (h) {
        ::GetWindowRect(h, &r);
        ::MapWindowPoints(nullptr, hFrame, reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
}

} // namespace

C_DirDialog::C_DirDialog(LPCSTR lpszDirectory)
    : CFileDialog(TRUE, NULL, InitialName(lpszDirectory).c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, NULL,
                  NULL),
      m_strPath(lpszDirectory)
{
}

C_DirDialog::~C_DirDialog() {}

void C_DirDialog::OnInitDone()
{
    CWnd* pFrame = GetParent();
    if (!pFrame)
        return;
    HWND hFrame = pFrame->m_hWnd;
    for (int id : {kFileNameEdit, kFileNameCombo, kFileNameLabel, kFileTypeCombo, kFileTypeLabel})
        if (::GetDlgItem(hFrame, id))
            ::SendMessageA(hFrame, CDM_HIDECONTROL, (WPARAM)id, 0);

    CRect cancel = ChildRectInFrame(hFrame, IDCANCEL);
    CRect ok = ChildRectInFrame(hFrame, IDOK);
    if (HWND hOk = ::GetDlgItem(hFrame, IDOK))
        ::SetWindowPos(hOk, nullptr, cancel.left - ok.Width() - 4, cancel.top, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The list reaches down to 4 pixels above the buttons: the placeholder and the view shown.
    for (int id : {kFileList, kShellView}) {
        CRect list = ChildRectInFrame(hFrame, id);
        if (HWND hList = ::GetDlgItem(hFrame, id))
            ::SetWindowPos(hList, nullptr, 0, 0, list.Width(), std::abs(list.top - cancel.top + 4),
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    ::SendMessageA(hFrame, CDM_SETCONTROLTEXT, IDOK, (LPARAM) "Select");
    ::SetWindowTextA(hFrame, "Select Directory");

    g_pfnDirDialogFrameProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hFrame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&C_DirDialog::DirDialogFrameProc)));
}

LRESULT CALLBACK C_DirDialog::DirDialogFrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == 0 && LOWORD(wParam) == IDOK) {
        // The folder shown, asked of the dialog itself: the current directory does not follow it
        // everywhere. (A place that is no folder, such as My Computer, leaves the current one.)
        char folder[MAX_PATH + 1] = "";
        LRESULT n = ::SendMessageA(hWnd, CDM_GETFOLDERPATH, sizeof folder, (LPARAM)folder);
        if (n <= 0 || n > (LRESULT)sizeof folder)
            ::GetCurrentDirectoryA(MAX_PATH, folder);
        C_CUString path(folder);
        // A drive root keeps its backslash ("C:\"), other folders have none.
        if (path.size() > 3 && path[path.size() - 1] == '\\')
            path.erase(path.size() - 1);
        else if (path.size() == 2 && path[1] == ':')
            path += "\\";
        ::SetCurrentDirectoryA(path.c_str());
        // The framework's dialog is the frame's child that carries a C_DirDialog.
        for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
            CWnd* pWnd = CWnd::FromHandlePermanent(hChild);
            if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(C_DirDialog))) {
                static_cast<C_DirDialog*>(pWnd)->m_strPath = path;
                break;
            }
        }
        ::EndDialog(hWnd, IDOK);
        return 0;
    }
    return ::CallWindowProcA(g_pfnDirDialogFrameProc, hWnd, message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// C_SelectOnlyFileDialog

C_SelectOnlyFileDialog::C_SelectOnlyFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName,
                                               DWORD dwFlags, LPCSTR lpszFilter, CWnd* pParentWnd)
    : CFileDialog(bOpenFileDialog, lpszDefExt, lpszFileName, dwFlags, lpszFilter, pParentWnd)
{
}

C_SelectOnlyFileDialog::~C_SelectOnlyFileDialog() {}

// The edit in which the file name is typed, in either kind of template.
HWND C_SelectOnlyFileDialog::FileNameEdit(HWND hFrame)
{
    if (HWND hEdit = ::GetDlgItem(hFrame, kFileNameEdit))
        return hEdit;
    HWND hCombo = ::GetDlgItem(hFrame, kFileNameCombo);
    if (!hCombo)
        return nullptr;
    if (HWND hEdit = (HWND)::SendMessageA(hCombo, CBEM_GETEDITCONTROL, 0, 0))
        return hEdit;
    return ::FindWindowExA(hCombo, nullptr, "Edit", nullptr);
}

void C_SelectOnlyFileDialog::OnInitDone()
{
    CWnd* pFrame = GetParent();
    HWND hEdit = pFrame ? FileNameEdit(pFrame->m_hWnd) : nullptr;
    if (hEdit)
        ::SendMessageA(hEdit, EM_SETREADONLY, TRUE, 0);
}

void C_SelectOnlyFileDialog::Reserved() {}
