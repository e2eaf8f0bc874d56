#include "afx/commdlg.h"
#include "afx/app.h"
#include "afx/module.h"
#include <cstring>
#include <dlgs.h>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)
IMPLEMENT_DYNAMIC(CFindReplaceDialog, CDialog)

namespace {
// The dialog being started on this thread, for hooks whose lParam does not
// lead back to it.
thread_local CDialog* t_pDlgInit = nullptr;

CDialog* AttachHooked(HWND hWnd, CDialog* pDlg)
{
    if (!pDlg)
        pDlg = t_pDlgInit;
    if (!pDlg)
        return nullptr;
    t_pDlgInit = nullptr;
    if (!pDlg->m_hWnd)
        pDlg->SubclassWindow(hWnd);
    return pDlg;
}

void CopyText(char* dst, size_t size, LPCSTR src)
{
    if (!src)
        src = "";
    std::strncpy(dst, src, size - 1);
    dst[size - 1] = 0;
}
} // namespace

// ---------------------------------------------------------------------------
// CFileDialog

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog)
{
    m_pParentWnd = pParentWnd;
    std::memset(&m_ofn, 0, sizeof m_ofn);
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.Flags = dwFlags | OFN_ENABLEHOOK | OFN_EXPLORER;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.lpfnHook = &CFileDialog::HookProc;
    m_ofn.lCustData = (LPARAM)this;
    if (lpszDefExt) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    CopyText(m_szFileName, sizeof m_szFileName, lpszFileName);
    if (lpszFilter) {
        // "a|b|c|d||" becomes "a\0b\0c\0d\0\0".
        m_strFilter = lpszFilter;
        for (char& c : m_strFilter)
            if (c == '|')
                c = '\0';
        m_strFilter.push_back('\0');
        m_strFilter.push_back('\0');
        m_ofn.lpstrFilter = m_strFilter.c_str();
    }
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return 0;
    auto* pofn = reinterpret_cast<OPENFILENAMEA*>(lParam);
    CDialog* pDlg = nullptr;
    if (pofn && pofn->lpfnHook == &CFileDialog::HookProc)
        pDlg = reinterpret_cast<CFileDialog*>(pofn->lCustData);
    pDlg = AttachHooked(hWnd, pDlg);
    return pDlg ? (UINT_PTR)pDlg->HandleInitDialog() : TRUE;
}

INT_PTR CFileDialog::DoModal()
{
    if (m_hWnd)
        return -1;
    m_ofn.hwndOwner = GetModalOwner();
    m_ofn.Flags |= OFN_ENABLEHOOK;
    m_ofn.lpfnHook = &CFileDialog::HookProc;
    m_ofn.lCustData = (LPARAM)this;
    if (m_ofn.lpstrFileTitle)
        m_ofn.lpstrFileTitle[0] = 0;

    CDialog* pOld = t_pDlgInit;
    t_pDlgInit = this;
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    t_pDlgInit = pOld;
    if (m_hWnd && !::IsWindow(m_hWnd))
        Detach();
    return ok ? IDOK : IDCANCEL;
}

BOOL CFileDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
        return FALSE;
    return CDialog::OnCommand(wParam, lParam);
}

BOOL CFileDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* pNotify = reinterpret_cast<OFNOTIFYA*>(lParam);
    LONG_PTR r = 0;
    switch (pNotify->hdr.code) {
    case CDN_INITDONE:
        OnInitDone();
        break;
    case CDN_SELCHANGE:
        OnFileNameChange();
        break;
    case CDN_FOLDERCHANGE:
        OnFolderChange();
        break;
    case CDN_TYPECHANGE:
        OnTypeChange();
        break;
    case CDN_FILEOK:
        r = OnFileNameOK();
        break;
    default:
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
    // The window is subclassed, so what this message returns is the answer
    // (a nonzero CDN_FILEOK answer keeps the dialog open); the result slot
    // gets it too, for readers that look there.
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, r);
    *pResult = r;
    return TRUE;
}

void CFileDialog::OnInitDone() {}
void CFileDialog::OnFileNameChange() {}
void CFileDialog::OnFolderChange() {}
void CFileDialog::OnTypeChange() {}
BOOL CFileDialog::OnFileNameOK() { return FALSE; }

CString CFileDialog::GetPathName() const
{
    return CString(m_ofn.lpstrFile ? m_ofn.lpstrFile : "");
}

CString CFileDialog::GetFileName() const
{
    CString path = GetPathName();
    int i = path.ReverseFind('\\');
    int j = path.ReverseFind('/');
    if (j > i)
        i = j;
    return i >= 0 ? path.Mid(i + 1) : path;
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int i = name.ReverseFind('.');
    return i >= 0 ? name.Mid(i + 1) : CString();
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int i = name.ReverseFind('.');
    return i >= 0 ? name.Left(i) : name;
}

POSITION CFileDialog::GetStartPosition() const
{
    if (!m_ofn.lpstrFile || !m_ofn.lpstrFile[0])
        return nullptr;
    return reinterpret_cast<POSITION>(m_ofn.lpstrFile);
}

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    const char* buf = m_ofn.lpstrFile;
    const char* p = reinterpret_cast<const char*>(pos);
    if (!buf || !p) {
        pos = nullptr;
        return CString();
    }
    // Explorer style: the folder, then each name, NUL-separated, ending in
    // two NULs. The old style separates them with spaces (its names are
    // short names, without spaces).
    const bool explorer = (m_ofn.Flags & OFN_EXPLORER) != 0;
    const size_t len = std::strlen(buf);
    const size_t dirLen = explorer ? len : std::strcspn(buf, " ");
    bool multi = false;
    if (m_ofn.Flags & OFN_ALLOWMULTISELECT) {
        if (explorer)
            multi = dirLen + 1 < m_ofn.nMaxFile && buf[dirLen + 1] != 0;
        else
            multi = buf[dirLen + std::strspn(buf + dirLen, " ")] != 0;
    }
    if (!multi) {
        // One file: the buffer holds its full path.
        pos = nullptr;
        return CString(buf);
    }
    if (p == buf)
        p = buf + dirLen + 1;   // the folder comes first; names follow
    const char* next;
    CString name;
    if (explorer) {
        name = p;
        next = p + std::strlen(p) + 1;
    } else {
        p += std::strspn(p, " ");
        size_t n = std::strcspn(p, " ");
        name = CString(p, (int)n);
        next = p + n;
        next += std::strspn(next, " ");
    }
    pos = *next ? reinterpret_cast<POSITION>(const_cast<char*>(next)) : nullptr;
    CString path(buf, (int)dirLen);
    if (path.GetLength() && path[path.GetLength() - 1] != '\\')
        path += '\\';
    return path + name;
}

// ---------------------------------------------------------------------------
// CFindReplaceDialog

UINT AfxGetFindReplaceMessage()
{
    static UINT msg = ::RegisterWindowMessageA(FINDMSGSTRINGA);
    return msg;
}

CFindReplaceDialog::CFindReplaceDialog()
{
    std::memset(&m_fr, 0, sizeof m_fr);
    m_fr.lStructSize = sizeof m_fr;
    m_fr.hInstance = AfxGetResourceHandle();
}

namespace {
// A template may hide the standard find and replace edits and take the texts
// in controls of its own; the system reads only its edits (and sends nothing
// while the find edit is empty), so they get the texts of the first and
// second visible edit or combo box before a button is handled.
void FillHiddenFindEdits(HWND hDlg)
{
    HWND hEdits[2] = {::GetDlgItem(hDlg, edt1), ::GetDlgItem(hDlg, edt2)};
    int nSource = 0;
    for (HWND h = ::GetWindow(hDlg, GW_CHILD); h && nSource < 2; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (h == hEdits[0] || h == hEdits[1] || !(::GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE))
            continue;
        char cls[16] = "";
        ::GetClassNameA(h, cls, sizeof cls);
        if (lstrcmpiA(cls, "Edit") != 0 && lstrcmpiA(cls, "ComboBox") != 0)
            continue;
        HWND hTarget = hEdits[nSource++];
        if (!hTarget || (::GetWindowLongA(hTarget, GWL_STYLE) & WS_VISIBLE))
            continue;
        int n = ::GetWindowTextLengthA(h);
        std::string text(n + 1, '\0');
        ::GetWindowTextA(h, &text[0], n + 1);
        ::SetWindowTextA(hTarget, text.c_str());
    }
}
} // namespace

UINT_PTR CALLBACK CFindReplaceDialog::HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        (LOWORD(wParam) == IDOK || LOWORD(wParam) == psh1 || LOWORD(wParam) == psh2)) {
        FillHiddenFindEdits(hWnd);
        return 0;   // the system's procedure handles the button
    }
    if (message != WM_INITDIALOG)
        return 0;
    auto* pfr = reinterpret_cast<FINDREPLACEA*>(lParam);
    CDialog* pDlg = nullptr;
    if (pfr && pfr->lpfnHook == &CFindReplaceDialog::HookProc)
        pDlg = reinterpret_cast<CFindReplaceDialog*>(pfr->lCustData);
    pDlg = AttachHooked(hWnd, pDlg);
    return pDlg ? (UINT_PTR)pDlg->HandleInitDialog() : TRUE;
}

BOOL CFindReplaceDialog::Create(BOOL bFindDialogOnly, LPCSTR lpszFindWhat, LPCSTR lpszReplaceWith,
                                DWORD dwFlags, CWnd* pParentWnd)
{
    if (m_hWnd)
        return FALSE;
    AfxGetFindReplaceMessage();
    m_pParentWnd = pParentWnd;
    m_fr.lStructSize = sizeof m_fr;
    m_fr.Flags |= dwFlags | FR_ENABLEHOOK;
    m_fr.lpfnHook = &CFindReplaceDialog::HookProc;
    m_fr.lCustData = (LPARAM)this;
    CopyText(m_szFindWhat, sizeof m_szFindWhat, lpszFindWhat);
    CopyText(m_szReplaceWith, sizeof m_szReplaceWith, lpszReplaceWith);
    m_fr.lpstrFindWhat = m_szFindWhat;
    m_fr.wFindWhatLen = sizeof m_szFindWhat;
    m_fr.lpstrReplaceWith = m_szReplaceWith;
    m_fr.wReplaceWithLen = sizeof m_szReplaceWith;
    if (!m_fr.hInstance)
        m_fr.hInstance = AfxGetResourceHandle();
    m_fr.hwndOwner = pParentWnd->GetSafeHwnd();
    if (!m_fr.hwndOwner)
        m_fr.hwndOwner = AfxGetMainWnd()->GetSafeHwnd();
    if (!m_fr.hwndOwner)
        return FALSE;   // the notifications would have nowhere to go

    CDialog* pOld = t_pDlgInit;
    t_pDlgInit = this;
    HWND hWnd = bFindDialogOnly ? ::FindTextA(&m_fr) : ::ReplaceTextA(&m_fr);
    t_pDlgInit = pOld;
    if (hWnd && !m_hWnd)
        SubclassWindow(hWnd);
    return hWnd != nullptr;
}

CFindReplaceDialog* CFindReplaceDialog::GetNotifier(LPARAM lParam)
{
    auto* pfr = reinterpret_cast<FINDREPLACEA*>(lParam);
    if (!pfr || pfr->lpfnHook != &CFindReplaceDialog::HookProc)
        return nullptr;
    return reinterpret_cast<CFindReplaceDialog*>(pfr->lCustData);
}

BOOL CFindReplaceDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
        return FALSE;
    return CDialog::OnCommand(wParam, lParam);
}

void CFindReplaceDialog::PostNcDestroy()
{
    delete this;
}
