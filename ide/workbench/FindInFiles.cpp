#include "ide/workbench/FindInFiles.h"
#include "ide/workbench/MainFrm.h"
#include "framework/frames/TWKFileSystem.h"
#include "support/config/CUPath.h"
#include "support/ui/CUMsgHandler.h"
#include "support/ui/DirDialog.h"
#include <cstdio>
#include <cstring>
#include <array>
#include <memory>
#include <new>
#include <vector>

namespace {

constexpr int kHistoryMax = 20;
constexpr char kFindSection[] = "Settings\\Find";

// The case folding of the search: ASCII letters only, as the C locale does.
inline char Fold(char c) { return (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c; }

void FoldInPlace(char* p, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        p[i] = Fold(p[i]);
}

void FoldCopy(char* dst, const char* src, size_t n)
{
    static const auto table = [] {
        std::array<unsigned char, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[i] = (unsigned char)Fold((char)i);
        return t;
    }();
    for (size_t i = 0; i < n; ++i)
        dst[i] = (char)table[(unsigned char)src[i]];
}

void SendRecord(HWND hPage, int kind, LPCSTR lpszFile, int nLine, LPCSTR lpszText)
{
    tagMessageRecord rec = {};
    rec.kind = kind;
    lstrcpynA(rec.fileName, lpszFile ? lpszFile : "", sizeof rec.fileName);
    rec.line = nLine;
    lstrcpynA(rec.text, lpszText, sizeof rec.text);
    ::SendMessageA(hPage, CU_WM_MESSAGE_RECORD, 0, (LPARAM)&rec);
}

// First occurrence of the n bytes of pat in [p, end), or nullptr.
const char* FindBytes(const char* p, const char* end, const char* pat, size_t n)
{
    if (n == 0)
        return p;
    const char first = pat[0];
    while ((size_t)(end - p) >= n) {
        p = static_cast<const char*>(memchr(p, first, (size_t)(end - p) - n + 1));
        if (!p)
            return nullptr;
        if (memcmp(p + 1, pat + 1, n - 1) == 0)
            return p;
        ++p;
    }
    return nullptr;
}

// Reads the file whole into buf (kept between files); FALSE when it cannot be
// opened or read, or is empty. The size the folder listing gave is a hint
// only: a file that grew since is read to its end all the same.
bool ReadWholeFile(LPCSTR lpszPath, ULONGLONG nSizeHint, std::vector<char>& buf, size_t& size)
{
    const size_t kMaxFile = 0x7FFF0000;
    if (nSizeHint >= kMaxFile)
        return false;
    HANDLE h = ::CreateFileA(lpszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    size = 0;
    bool ok = true;
    // One byte more than the hint: a read that stops short of it is the end.
    size_t want = (size_t)nSizeHint + 1;
    for (;;) {
        try {
            if (buf.size() < size + want + 1)
                buf.resize(size + want + 1);
        } catch (const std::bad_alloc&) {
            ok = false;
            break;
        }
        DWORD got = 0;
        if (!::ReadFile(h, buf.data() + size, (DWORD)want, &got, nullptr)) {
            ok = false;
            break;
        }
        size += got;
        if (got < want)
            break;
        if (size >= kMaxFile) {
            ok = false;
            break;
        }
        want = size < 0x100000 ? 0x100000 : size;
        if (want > kMaxFile - size)
            want = kMaxFile - size;
    }
    ::CloseHandle(h);
    return ok && size > 0;
}

// "(<line>) " at p, as wsprintf's "(%d) " gives it; its length.
int LineHead(char* p, int nLine)
{
    return std::snprintf(p, 16, "(%d) ", nLine);
}

// One file, read as the text-mode line reader sees it: lines end at '\n' (a
// '\r' before it is not part of the line), Ctrl+Z ends the text, and a line
// ends for the search at its first NUL.
bool SearchFile(volatile BOOL* pStop, LPCSTR lpszPath, ULONGLONG nSizeHint, const CString& strText, BOOL bMatchCase,
                HWND hPage, UINT* pnCount)
{
    // One buffer for the text and one for its folded copy, kept for the
    // thread's later files.
    thread_local std::vector<char> data, folded;
    size_t size = 0;
    if (!ReadWholeFile(lpszPath, nSizeHint, data, size))
        return false;
    if (const void* eof = memchr(data.data(), 0x1A, size))
        size = (size_t)(static_cast<const char*>(eof) - data.data());
    if (size == 0)
        return false;
    const char* hay = data.data();
    if (!bMatchCase) {
        try {
            if (folded.size() < size)
                folded.resize(size);
        } catch (const std::bad_alloc&) {
            return false;
        }
        FoldCopy(folded.data(), data.data(), size);
        hay = folded.data();
    }
    const char* const base = data.data();
    const size_t nPathLen = strnlen(lpszPath, sizeof(tagMessageRecord::fileName) - 1);
    const size_t n = (size_t)strText.GetLength();
    const char* const end = hay + size;
    const char* lineStart = hay;
    int nLine = 1;
    bool matched = false;
    while (lineStart < end) {
        const char* m = FindBytes(lineStart, end, strText, n);
        if (!m)
            break;
        // Lines passed over on the way to the match.
        for (const char* nl; (nl = static_cast<const char*>(memchr(lineStart, '\n', (size_t)(m - lineStart))));) {
            lineStart = nl + 1;
            ++nLine;
        }
        const char* nl = static_cast<const char*>(memchr(m, '\n', (size_t)(end - m)));
        const char* lineEnd = nl ? nl : end;
        const size_t off = (size_t)(lineStart - hay);
        size_t len = (size_t)(lineEnd - lineStart);
        if (nl && len && lineStart[len - 1] == '\r')
            --len;
        if (const void* z = memchr(base + off, 0, len))
            len = (size_t)(static_cast<const char*>(z) - (base + off));
        if ((size_t)(m - lineStart) + n <= len) {
            // "(line) text", cut to 250 characters and "..." when it would
            // reach 256.
            tagMessageRecord rec = {};
            rec.kind = 2;
            memcpy(rec.fileName, lpszPath, nPathLen);
            rec.line = nLine;
            const size_t nHead = (size_t)LineHead(rec.text, nLine);
            if (nHead + len >= 256) {
                memcpy(rec.text + nHead, base + off, 250 - nHead);
                memcpy(rec.text + 250, "...", 4);
            } else {
                memcpy(rec.text + nHead, base + off, len);
            }
            ::SendMessageA(hPage, CU_WM_MESSAGE_RECORD, 0, (LPARAM)&rec);
            ++*pnCount;
            matched = true;
        }
        if (*pStop || !nl)
            break;
        lineStart = nl + 1;
        ++nLine;
    }
    return matched;
}

} // namespace

namespace {

bool MatchesAll(const CString& strPattern)
{
    return strPattern == "*.*" || strPattern == "*";
}

bool IsSubfolder(const WIN32_FIND_DATAA& fd)
{
    return (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && strcmp(fd.cFileName, ".") && strcmp(fd.cFileName, "..");
}

// strFolder ends with a backslash; strText is folded already when the case
// does not count.
BOOL SearchIn(volatile BOOL* pStop, const CString& strFolder, const std::vector<CString>& patterns,
              const CString& strText, BOOL bMatchCase, BOOL bSubfolders, HWND hPage, UINT* pnCount)
{
    BOOL bFound = FALSE;
    // The subfolders, in the order a listing of "*.*" gives them: the first
    // such pattern's listing serves, so that the folder is listed once.
    std::vector<CString> subfolders;
    bool bListed = false;
    for (const CString& strPattern : patterns) {
        const bool bCollect = bSubfolders && !bListed && MatchesAll(strPattern);
        WIN32_FIND_DATAA fd;
        HANDLE hFind = ::FindFirstFileA(strFolder + strPattern, &fd);
        if (hFind == INVALID_HANDLE_VALUE)
            continue;
        do {
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (bCollect && IsSubfolder(fd))
                    subfolders.push_back(fd.cFileName);
                continue;
            }
            const ULONGLONG nSize = ((ULONGLONG)fd.nFileSizeHigh << 32) | fd.nFileSizeLow;
            if (SearchFile(pStop, strFolder + fd.cFileName, nSize, strText, bMatchCase, hPage, pnCount))
                bFound = TRUE;
        } while (!*pStop && ::FindNextFileA(hFind, &fd));
        ::FindClose(hFind);
        if (*pStop)
            return bFound;
        bListed = bListed || bCollect;
    }

    if (!bSubfolders)
        return bFound;
    if (!bListed) {
        WIN32_FIND_DATAA fd;
        HANDLE hFind = ::FindFirstFileA(strFolder + "*.*", &fd);
        if (hFind == INVALID_HANDLE_VALUE)
            return bFound;
        do {
            if (IsSubfolder(fd))
                subfolders.push_back(fd.cFileName);
        } while (::FindNextFileA(hFind, &fd));
        ::FindClose(hFind);
    }
    for (const CString& strName : subfolders) {
        if (*pStop)
            break;
        if (SearchIn(pStop, strFolder + strName + "\\", patterns, strText, bMatchCase, TRUE, hPage, pnCount))
            bFound = TRUE;
    }
    return bFound;
}

} // namespace

BOOL SearchFolder(volatile BOOL* pStop, LPCSTR lpszFolder, LPCSTR lpszTypes, LPCSTR lpszText, BOOL bMatchCase,
                  BOOL bSubfolders, HWND hPage, UINT* pnCount)
{
    if (*pStop)
        return FALSE;
    CString strFolder = lpszFolder;
    if (strFolder.IsEmpty())
        return FALSE;
    if (strFolder[strFolder.GetLength() - 1] != '\\' && strFolder[strFolder.GetLength() - 1] != '/')
        strFolder += '\\';
    const DWORD attr = ::GetFileAttributesA(strFolder);
    if (attr == INVALID_FILE_ATTRIBUTES || !(attr & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    CString strText = lpszText;
    if (!bMatchCase)
        FoldInPlace(strText.GetBuffer(strText.GetLength()), (size_t)strText.GetLength()), strText.ReleaseBuffer();

    // The patterns: separated by ';', blanks after a ';' ignored, empty ones skipped.
    std::vector<CString> patterns;
    CString strRest = lpszTypes;
    while (!strRest.IsEmpty()) {
        CString strPattern;
        const int nSemi = strRest.Find(';');
        if (nSemi >= 0) {
            strPattern = strRest.Left(nSemi);
            strRest = strRest.Mid(nSemi + 1);
            strRest.TrimLeft();
        } else {
            strPattern = strRest;
            strRest.Empty();
        }
        if (!strPattern.IsEmpty())
            patterns.push_back(strPattern);
    }
    return SearchIn(pStop, strFolder, patterns, strText, bMatchCase, bSubfolders, hPage, pnCount);
}

UINT FindInFilesThread(LPVOID pParam)
{
    std::unique_ptr<tagFindThreadParam> p(static_cast<tagFindThreadParam*>(pParam));
    CString strStart;
    if (p->strText.GetLength() >= 236)
        strStart.Format("Searching for '%s...'...", (LPCSTR)p->strText.Left(233));
    else
        strStart.Format("Searching for '%s'...", (LPCSTR)p->strText);
    SendRecord(p->hPage, 1, "", 0, strStart);

    UINT nCount = 0;
    HWND hFrame = p->hFrame;
    if (!SearchFolder(p->pStop, p->strFolder, p->strTypes, p->strText, p->bMatchCase, p->bSubfolders, p->hPage,
                      &nCount))
        MessageBoxById(hFrame, IDS_FIND_CAPTION, IDS_FIND_NOT_FOUND, MB_OK);

    CString strCount;
    strCount.Format("%u occurance(s) have been found !", nCount);
    SendRecord(p->hPage, 1, "", 0, strCount);
    ::MessageBeep(0xFFFFFFFF);
    if (hFrame)
        ::SendMessageA(hFrame, WM_USER + 100, FIND_REQUEST_DONE, 0);
    return 1;
}

// ---- the dialog

BEGIN_MESSAGE_MAP(C_IDEFindInFilesDlg, CDialog)
    ON_CBN_EDITCHANGE(IDC_FIND_TEXT, OnEditChangeFind)
    ON_BN_CLICKED(IDC_FIND_BROWSE, OnBrowse)
END_MESSAGE_MAP()

C_IDEFindInFilesDlg::C_IDEFindInFilesDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

void C_IDEFindInFilesDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FIND_TEXT, m_cbFind);
    DDX_Control(pDX, IDC_FIND_TYPES, m_cbTypes);
    DDX_Control(pDX, IDC_FIND_FOLDER, m_cbFolder);
    DDX_Control(pDX, IDC_FIND_BROWSE, m_btnBrowse);
    DDX_CBString(pDX, IDC_FIND_TYPES, m_strTypes);
    DDX_CBString(pDX, IDC_FIND_TEXT, m_strFindText);
    DDX_CBString(pDX, IDC_FIND_FOLDER, m_strFolder);
    DDX_Check(pDX, IDC_FIND_MATCH_CASE, m_bMatchCase);
    DDX_Check(pDX, IDC_FIND_SUBFOLDERS, m_bSubfolders);
}

BOOL C_IDEFindInFilesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CWinApp* pApp = AfxGetApp();
    CString strTypes = pApp->GetProfileString(kFindSection, "LastFileList", "");
    if (strTypes.IsEmpty())
        pApp->WriteProfileString(kFindSection, "LastFileList", "*.*");
    else
        m_cbTypes.SetWindowText(strTypes);

    if (m_pFindHistory)
        for (POSITION pos = m_pFindHistory->GetHeadPosition(); pos;)
            m_cbFind.AddString(m_pFindHistory->GetNext(pos));
    if (!m_strInitialText.IsEmpty())
        m_cbFind.SetWindowText(m_strInitialText);
    else if (m_cbFind.GetCount() > 0)
        m_cbFind.SetCurSel(0);
    else
        GetDlgItem(IDOK)->EnableWindow(FALSE);

    if (m_pFolderHistory && !m_pFolderHistory->IsEmpty()) {
        for (POSITION pos = m_pFolderHistory->GetHeadPosition(); pos;)
            m_cbFolder.AddString(m_pFolderHistory->GetNext(pos));
    } else {
        m_cbFolder.AddString(GetAppDirectory(TRUE).c_str());
    }
    m_cbFolder.SetCurSel(0);
    return TRUE;
}

void C_IDEFindInFilesDlg::OnEditChangeFind()
{
    GetDlgItem(IDOK)->EnableWindow(m_cbFind.GetWindowTextLength() > 0);
}

void C_IDEFindInFilesDlg::OnBrowse()
{
    UpdateData(TRUE);
    while (!m_strFolder.IsEmpty() && m_strFolder[m_strFolder.GetLength() - 1] == '\\')
        m_strFolder = m_strFolder.Left(m_strFolder.GetLength() - 1);
    TWKFileSystem fs;
    CString strStart = fs.DirectoryExists(m_strFolder) ? m_strFolder : CString();
    C_DirDialog dlg(strStart);
    if (dlg.DoModal() != IDOK)
        return;
    m_strFolder = dlg.GetPath().c_str();
    m_cbFolder.SetWindowText(m_strFolder);
}

void C_IDEFindInFilesDlg::AddToHistory(CStringList& list, const CString& strValue, LPCSTR lpszPrefix)
{
    if (!strValue.IsEmpty()) {
        if (POSITION pos = list.Find(strValue))
            list.RemoveAt(pos);
        else if (list.GetCount() >= kHistoryMax)
            list.RemoveTail();
        list.AddHead(strValue);
    }
    CWinApp* pApp = AfxGetApp();
    int i = 1;
    for (POSITION pos = list.GetHeadPosition(); pos; ++i) {
        CString strKey;
        strKey.Format("%s%d", lpszPrefix, i);
        pApp->WriteProfileString(kFindSection, strKey, list.GetNext(pos));
    }
}

void C_IDEFindInFilesDlg::OnOK()
{
    CDialog::OnOK();
    UpdateData(TRUE);
    AfxGetApp()->WriteProfileString(kFindSection, "LastFileList", m_strTypes);
    if (m_pFolderHistory)
        AddToHistory(*m_pFolderHistory, m_strFolder, "FindDir");
    if (m_pFindHistory)
        AddToHistory(*m_pFindHistory, m_strFindText, "Find");
}
