#include "framework/frames/TWKFileSystem.h"
#include "afx/file.h"
#include <cctype>
#include <cstring>

namespace {
// Critical-error boxes ("drive not ready") stay away while drives are asked.
class QuietDrives
{
public:
    QuietDrives() { ::SetErrorMode(SEM_FAILCRITICALERRORS); }
    ~QuietDrives() { ::SetErrorMode(0); }
};

// One field of the file status; FALSE (and value untouched) without a status.
template<class T>
BOOL ReadStatusField(const CString& path, T CFileStatus::*field, T& value)
{
    CFileStatus status;
    if (!CFile::GetStatus(path, status))
        return FALSE;
    value = status.*field;
    return TRUE;
}

int LastSeparator(const CString& path)
{
    int back = path.ReverseFind('\\');
    int fwd = path.ReverseFind('/');
    return back > fwd ? back : fwd;
}
} // namespace

TWKFileSystem::TWKFileSystem() : m_hFind(INVALID_HANDLE_VALUE), m_nMaxPath(1024)
{
    std::memset(&m_findData, 0, sizeof m_findData);
}

TWKFileSystem::~TWKFileSystem()
{
    EndWalk();
}

CString TWKFileSystem::GetFileName(const CString& path) const
{
    int i = LastSeparator(path);
    return i < 0 ? path : path.Mid(i + 1);
}

CString TWKFileSystem::GetPath(const CString& path, BOOL bIncludeDrive) const
{
    int i = LastSeparator(path);
    if (i < 0)
        return CString();
    CString folder = path.Left(i + 1);
    if (!bIncludeDrive)
    {
        int colon = folder.Find(':');
        if (colon >= 0)
            folder = folder.Mid(colon + 1);
    }
    return folder;
}

BOOL TWKFileSystem::FileExists(const CString& path) const
{
    CFileStatus status;
    return CFile::GetStatus(path, status);
}

BOOL TWKFileSystem::DirectoryExists(const CString& path) const
{
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL TWKFileSystem::GetFileCreationTime(const CString& path, CTime& time) const
{
    return ReadStatusField(path, &CFileStatus::m_ctime, time);
}

BOOL TWKFileSystem::GetFileModifyTime(const CString& path, CTime& time) const
{
    return ReadStatusField(path, &CFileStatus::m_mtime, time);
}

BOOL TWKFileSystem::GetFileAccessTime(const CString& path, CTime& time) const
{
    return ReadStatusField(path, &CFileStatus::m_atime, time);
}

BOOL TWKFileSystem::GetFileSize(const CString& path, LONG& size) const
{
    CFileStatus status;
    // A size a LONG cannot hold is no answer (it would read as negative).
    if (!CFile::GetStatus(path, status) || status.m_size > 0x7FFFFFFF)
        return FALSE;
    size = (LONG)status.m_size;
    return TRUE;
}

BOOL TWKFileSystem::GetFileAttribute(const CString& path, BYTE& attribute) const
{
    return ReadStatusField(path, &CFileStatus::m_attribute, attribute);
}

CString TWKFileSystem::GetCurrentDirectory(const CString& drive) const
{
    QuietDrives quiet;
    // The whole folder is remembered, not just its drive: going back to the
    // drive alone would leave the process at the drive's root.
    CString previous;
    if (!drive.IsEmpty())
    {
        DWORD n = ::GetCurrentDirectoryA((DWORD)m_nMaxPath, previous.GetBuffer(m_nMaxPath));
        previous.ReleaseBuffer(n > 0 && n < (DWORD)m_nMaxPath ? (int)n : 0);
        if (previous.IsEmpty() || !ChangeDirectory(drive))
            return CString();
    }
    CString folder;
    DWORD n = ::GetCurrentDirectoryA((DWORD)m_nMaxPath, folder.GetBuffer(m_nMaxPath));
    folder.ReleaseBuffer(n > 0 && n < (DWORD)m_nMaxPath ? (int)n : 0);
    if (!drive.IsEmpty())
        ChangeDirectory(previous);
    return folder;
}

BOOL TWKFileSystem::ChangeDirectory(const CString& path) const
{
    return ::SetCurrentDirectoryA(path);
}

BOOL TWKFileSystem::MakeDirectory(const CString& path) const
{
    SECURITY_ATTRIBUTES sa = { sizeof sa, NULL, TRUE };
    return ::CreateDirectoryA(path, &sa);
}

CString TWKFileSystem::GetCurrentDrive() const
{
    char folder[MAX_PATH] = "";
    DWORD n = ::GetCurrentDirectoryA(MAX_PATH, folder);
    if (n < 2 || n >= MAX_PATH || folder[1] != ':')
        return CString();
    CString drive;
    drive.Format("%c:\\", (char)std::tolower((unsigned char)folder[0]));
    return drive;
}

DWORD TWKFileSystem::SpaceProduct(DWORD sectorsPerCluster, DWORD bytesPerSector, DWORD clusters)
{
    // 0xFFFFFFFF is the failure answer, so a size that large is capped below it.
    unsigned long long bytes = (unsigned long long)sectorsPerCluster * bytesPerSector;
    if (bytes != 0 && clusters > 0xFFFFFFFEull / bytes)
        return 0xFFFFFFFE;
    bytes *= clusters;
    return bytes > 0xFFFFFFFEull ? 0xFFFFFFFE : (DWORD)bytes;
}

DWORD TWKFileSystem::QuerySpace(const CString& root, bool free) const
{
    QuietDrives quiet;
    DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
    if (!::GetDiskFreeSpaceA(root.IsEmpty() ? NULL : (LPCSTR)root, &sectors, &bytes, &freeClusters, &totalClusters))
        return 0xFFFFFFFF;
    return SpaceProduct(sectors, bytes, free ? freeClusters : totalClusters);
}

DWORD TWKFileSystem::GetFreeSpace(const CString& root) const
{
    return QuerySpace(root, true);
}

DWORD TWKFileSystem::GetTotalSpace(const CString& root) const
{
    return QuerySpace(root, false);
}

void TWKFileSystem::EndWalk()
{
    if (m_hFind != INVALID_HANDLE_VALUE)
        ::FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
}

// Filters: 0 or FILE_ATTRIBUTE_NORMAL pass plain entries (none of hidden,
// system, directory, 0x8, 0x40; with 0x80 the entry must carry 0x80 too);
// 0xFFFFFFFF passes everything; any other filter passes entries that share
// a bit with it. A passed-over entry answers TRUE with an empty name, so a
// caller walks until FALSE and skips empty names.
BOOL TWKFileSystem::GetDirectoryEntry(CString& name, const CString& pattern, DWORD filter)
{
    name.Empty();
    BOOL found;
    if (!pattern.IsEmpty())
    {
        EndWalk();
        m_hFind = ::FindFirstFileA(pattern, &m_findData);
        found = m_hFind != INVALID_HANDLE_VALUE;
    }
    else
    {
        found = m_hFind != INVALID_HANDLE_VALUE && ::FindNextFileA(m_hFind, &m_findData);
    }
    if (!found)
    {
        EndWalk();
        return FALSE;
    }
    const DWORD attributes = m_findData.dwFileAttributes;
    bool pass;
    if (filter == 0 || filter == FILE_ATTRIBUTE_NORMAL)
    {
        pass = (attributes & 0x5E) == 0;
        if (filter == FILE_ATTRIBUTE_NORMAL)
            pass = pass && (attributes & FILE_ATTRIBUTE_NORMAL);
    }
    else if (filter == 0xFFFFFFFF)
        pass = true;
    else
        pass = (attributes & filter) != 0;
    if (pass)
        name = m_findData.cFileName;
    return TRUE;
}
