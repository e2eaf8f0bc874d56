#include "framework/controls/dialogs/TWKBrowseEdit.h"
#include "framework/frames/TWKFileSystem.h"
#include "framework/frameworkres.h"
#include <dlgs.h>

namespace {
const int kButtonWidth = 25;   // the edit gives up one pixel more, as a gap

// The highest control id below 32768 that the dialog does not use yet.
UINT FreeControlId(CWnd* pParent)
{
    for (UINT id = 32767; id > 1; --id)
        if (!::GetDlgItem(pParent->GetSafeHwnd(), (int)id))
            return id;
    return 1;
}

CString LoadText(UINT nID)
{
    CString s;
    s.LoadString(nID);
    return s;
}
} // namespace

// ---------------------------------------------------------------------------
// TWKBrowseButton

BOOL TWKBrowseButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && LOWORD(wParam) == m_nID && HIWORD(wParam) == BN_CLICKED)
    {
        if (m_pEdit)
            m_pEdit->OnBrowse();
        if (pResult)
            *pResult = 0;
        return TRUE;
    }
    return FALSE;
}

void TWKBrowseButton::PostNcDestroy()
{
    delete this;
}

// ---------------------------------------------------------------------------
// TWKBrowseEditBase

BEGIN_MESSAGE_MAP(TWKBrowseEditBase, CEdit)
    ON_WM_ENABLE()
    ON_WM_SHOWWINDOW()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TWKBrowseEditBase::~TWKBrowseEditBase()
{
    if (m_pButton && ::IsWindow(m_pButton->m_hWnd))
        m_pButton->DestroyWindow();
}

BOOL TWKBrowseEditBase::Initialize(UINT nID, CWnd* pParent)
{
    HWND hEdit = ::GetDlgItem(pParent->GetSafeHwnd(), (int)nID);
    BOOL bEnabled = hEdit && ::IsWindowEnabled(hEdit);
    if (!SubclassDlgItem(nID, pParent))
        return FALSE;
    CreateButton();
    if (m_pButton)
        m_pButton->EnableWindow(bEnabled);
    return TRUE;
}

void TWKBrowseEditBase::CreateButton()
{
    CWnd* pParent = GetParent();
    if (!pParent)
        return;
    CRect rc;
    GetWindowRect(&rc);
    pParent->ScreenToClient(&rc);
    MoveWindow(rc.left, rc.top, rc.Width() - (kButtonWidth + 1), rc.Height());
    CRect rcButton(rc.right - kButtonWidth, rc.top, rc.right, rc.bottom);

    UINT nID = FreeControlId(pParent);
    auto* pButton = new TWKBrowseButton(this, nID);
    if (!pButton->Create("...", WS_CHILD | WS_VISIBLE | WS_TABSTOP, rcButton, pParent, nID))
    {
        delete pButton;
        return;
    }
    pButton->SetFont(GetFont(), FALSE);
    // Right after the edit in the tab order.
    pButton->SetWindowPos(this, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_pButton = pButton;
}

void TWKBrowseEditBase::OnEnable(BOOL bEnable)
{
    Default();
    if (m_pButton && ::IsWindow(m_pButton->m_hWnd))
        m_pButton->EnableWindow(bEnable);
}

void TWKBrowseEditBase::OnShowWindow(BOOL bShow, UINT nStatus)
{
    Default();
    if (m_pButton && ::IsWindow(m_pButton->m_hWnd))
        m_pButton->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void TWKBrowseEditBase::OnDestroy()
{
    if (m_pButton && ::IsWindow(m_pButton->m_hWnd))
        m_pButton->DestroyWindow();
    m_pButton = nullptr;
    Default();
}

BOOL TWKBrowseEditBase::IsFolder(CString& path)
{
    int n = path.GetLength();
    if (n > 0 && path[n - 1] == '\\')
        path = path.Left(n - 1);
    n = path.GetLength();
    if (n > 0 && path[n - 1] == ':')
        path += "\\*.*";
    // A drive's root is looked at as itself: "c:\*.*" names no single entry.
    DWORD attributes = ::GetFileAttributesA(FolderOf(path));
    return !path.IsEmpty() && attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CString TWKBrowseEditBase::FolderOf(const CString& tested)
{
    int n = tested.GetLength();
    if (n >= 4 && tested.Right(4) == "\\*.*")
        return tested.Left(n - 3);
    return tested;
}

// ---------------------------------------------------------------------------
// TWKBrowseDirEdit

TWKBrowseDirEdit::TWKBrowseDirEdit()
{
    m_strTitle = LoadText(IDS_TWK_BROWSE_DIR_TITLE);
}

void TWKBrowseDirEdit::OnBrowse()
{
    CString path;
    GetWindowText(path);
    if (!path.IsEmpty() && !IsFolder(path))
        path.Empty();
    TWKDirSelectDlg dlg(m_wDirStyle, m_strTitle, FolderOf(path), GetParent());
    if (dlg.DoModal() == IDOK)
    {
        CString chosen;
        dlg.GetPath(chosen);
        SetWindowText(chosen);
    }
}

// ---------------------------------------------------------------------------
// TWKBrowseFileEdit

TWKBrowseFileEdit::TWKBrowseFileEdit() : m_strFilter("All files (*.*)|*.*||")
{
    m_strTitle = LoadText(IDS_TWK_BROWSE_FILE_TITLE);
}

void TWKBrowseFileEdit::OnBrowse()
{
    TWKFileSystem fs;
    const bool keepFolder = (m_dwFlags & OFN_NOCHANGEDIR) != 0;
    CString saved;
    if (keepFolder)
        saved = fs.GetCurrentDirectory("");

    CString path = m_strInitialFile;
    if (path.IsEmpty())
        GetWindowText(path);
    if (!path.IsEmpty())
    {
        CString tested = path;
        if (IsFolder(tested))
        {
            // The dialog opens in the folder, with no name.
            fs.ChangeDirectory(FolderOf(tested));
            path.Empty();
        }
        else if (!fs.FileExists(path))
        {
            path.Empty();
        }
    }
    CFileDialog dlg(TRUE, m_strDefExt.IsEmpty() ? NULL : (LPCSTR)m_strDefExt, path, m_dwFlags, m_strFilter, this);
    dlg.m_ofn.lpstrTitle = m_strTitle.IsEmpty() ? NULL : (LPCSTR)m_strTitle;
    if (dlg.DoModal() == IDOK)
        SetWindowText(dlg.GetPathName());
    if (keepFolder && !saved.IsEmpty())
        fs.ChangeDirectory(saved);
}

// ---------------------------------------------------------------------------
// TWKDirSelectDlg

const DWORD TWKDirSelectDlg::s_dwDefaultFlags =
    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLETEMPLATE;
const char TWKDirSelectDlg::s_szFilter[] = "(nofiles)|NOFILES.$$$||";

TWKDirSelectDlg::TWKDirSelectDlg(LPCSTR lpszTitle, CWnd* pParent, LPCSTR lpszInitialDir)
    : CFileDialog(FALSE, NULL, NULL, s_dwDefaultFlags, s_szFilter, pParent)
{
    Construct(styleOldDialog, lpszTitle, lpszInitialDir, pParent);
}

TWKDirSelectDlg::TWKDirSelectDlg(WORD wDirStyle, LPCSTR lpszTitle, LPCSTR lpszInitialDir, CWnd* pParent)
    : CFileDialog(FALSE, NULL, NULL, s_dwDefaultFlags, s_szFilter, pParent)
{
    Construct(wDirStyle, lpszTitle, lpszInitialDir, pParent);
}

void TWKDirSelectDlg::Construct(WORD wDirStyle, LPCSTR lpszTitle, LPCSTR lpszInitialDir, CWnd* pParent)
{
    m_wDirStyle = wDirStyle;
    m_pParent = pParent;
    std::memset(m_szResult, 0, sizeof m_szResult);
    m_ofn.Flags &= ~OFN_EXPLORER;
    m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_TWK_DIRSELECT);
    m_ofn.lpstrFile = m_szResult;
    m_ofn.nMaxFile = sizeof m_szResult;
    SetTitle(lpszTitle);
    SetInitialDir(lpszInitialDir);
}

void TWKDirSelectDlg::SetTitle(LPCSTR lpszTitle)
{
    m_strTitle = lpszTitle ? lpszTitle : "";
    m_ofn.lpstrTitle = m_strTitle.IsEmpty() ? NULL : (LPCSTR)m_strTitle;
}

void TWKDirSelectDlg::SetInitialDir(LPCSTR lpszDir)
{
    m_strInitialDir = lpszDir ? lpszDir : "";
    m_ofn.lpstrInitialDir = m_strInitialDir.IsEmpty() ? NULL : (LPCSTR)m_strInitialDir;
}

WORD TWKDirSelectDlg::MergeDirStyle(WORD wCurrent, WORD wStyle)
{
    // Systems before version 4 have no folder browser.
    if (LOBYTE(LOWORD(::GetVersion())) < 4)
        return (WORD)((wCurrent & ~3) | styleOldDialog);
    return (WORD)((wCurrent & ~3) | wStyle);
}

WORD TWKDirSelectDlg::SetDirStyle(const WORD& wStyle)
{
    WORD old = m_wDirStyle;
    m_wDirStyle = MergeDirStyle(m_wDirStyle, wStyle);
    return old;
}

INT_PTR TWKDirSelectDlg::DoModal()
{
    if (m_wDirStyle & styleOldDialog)
        return CFileDialog::DoModal();
    CString path;
    if (!BrowseForFolder(path))
        return IDCANCEL;
    lstrcpynA(m_szResult, path, (int)sizeof m_szResult);
    m_ofn.nFileOffset = 0xFFFF;
    m_ofn.nFileExtension = 0xFFFF;
    return IDOK;
}

BOOL TWKDirSelectDlg::OnInitDialog()
{
    CFileDialog::OnInitDialog();
    static const int hidden[] = { stc3, edt1, lst1, stc2, cmb1 };
    for (int id : hidden)
        if (CWnd* pWnd = GetDlgItem(id))
            pWnd->ShowWindow(SW_HIDE);
    // With a name in the hidden field, OK ends the dialog in the chosen folder.
    SetDlgItemText(edt1, LoadText(IDS_TWK_DIRSELECT_NOCLOSE));
    if (CWnd* pList = GetDlgItem(lst2))
        pList->SetFocus();
    return FALSE;
}

void TWKDirSelectDlg::GetPath(CString& strPath) const
{
    strPath = m_szResult;
    if (m_ofn.nFileOffset != 0xFFFF && m_ofn.nFileOffset <= strPath.GetLength())
        strPath = strPath.Left(m_ofn.nFileOffset);
}

BOOL TWKDirSelectDlg::FolderPathFromItem(LPCITEMIDLIST pidl, CString& strPath)
{
    char path[MAX_PATH] = "";
    if (!pidl || !::SHGetPathFromIDListA(pidl, path) || !path[0])
        return FALSE;
    strPath = path;
    if (strPath[strPath.GetLength() - 1] != '\\')
        strPath += '\\';
    return TRUE;
}

int CALLBACK TWKDirSelectDlg::BrowseCallback(HWND hWnd, UINT uMsg, LPARAM, LPARAM lpData)
{
    if (uMsg == BFFM_INITIALIZED && lpData)
        ::SendMessageA(hWnd, BFFM_SETSELECTIONA, FALSE, lpData);
    return 0;
}

BOOL TWKDirSelectDlg::BrowseForFolder(CString& strPath)
{
    strPath = m_strInitialDir;
    IMalloc* pMalloc = nullptr;
    if (FAILED(::SHGetMalloc(&pMalloc)) || !pMalloc)
        return FALSE;
    IShellFolder* pDesktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&pDesktop)) || !pDesktop)
    {
        pMalloc->Release();
        return FALSE;
    }
    if (strPath.IsEmpty())
        strPath = TWKFileSystem().GetCurrentDirectory("");

    BOOL bResult = FALSE;
    WCHAR wide[MAX_PATH] = L"";
    LPITEMIDLIST pidlStart = nullptr;
    ULONG eaten = 0;
    if (::MultiByteToWideChar(CP_ACP, 0, strPath, -1, wide, MAX_PATH) > 0 &&
        SUCCEEDED(pDesktop->ParseDisplayName(NULL, NULL, wide, &eaten, &pidlStart, NULL)) && pidlStart)
    {
        char display[MAX_PATH] = "";
        BROWSEINFOA bi = {};
        bi.hwndOwner = m_pParent ? m_pParent->GetSafeHwnd() : NULL;
        bi.pidlRoot = NULL;
        bi.pszDisplayName = display;
        bi.lpszTitle = m_strTitle;
        bi.ulFlags = 0;
        bi.lpfn = &TWKDirSelectDlg::BrowseCallback;
        bi.lParam = (LPARAM)pidlStart;
        LPITEMIDLIST pidlChosen = ::SHBrowseForFolderA(&bi);
        if (pidlChosen)
        {
            bResult = FolderPathFromItem(pidlChosen, strPath);
            pMalloc->Free(pidlChosen);
        }
        pMalloc->Free(pidlStart);
    }
    pDesktop->Release();
    pMalloc->Release();
    return bResult;
}
