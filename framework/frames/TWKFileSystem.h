// Questions about paths, files, folders and drives, asked on the stack.
#pragma once
#include <windows.h>
#include "afx/string.h"
#include "afx/time.h"

// A Win16 leftover in the system headers; the name is ours here.
#ifdef GetFreeSpace
#undef GetFreeSpace
#endif

class TWKFileSystem
{
public:
    TWKFileSystem();
    virtual ~TWKFileSystem();
    TWKFileSystem(const TWKFileSystem&) = delete;
    TWKFileSystem& operator=(const TWKFileSystem&) = delete;

    // The part after the last '\' or '/'; the whole path without either.
    CString GetFileName(const CString& path) const;
    // Up to and including the last separator (empty without one); without
    // the drive, everything up to the first ':' goes too.
    CString GetPath(const CString& path, BOOL bIncludeDrive = TRUE) const;

    BOOL FileExists(const CString& path) const;
    BOOL DirectoryExists(const CString& path) const;
    BOOL GetFileCreationTime(const CString& path, CTime& time) const;
    BOOL GetFileModifyTime(const CString& path, CTime& time) const;
    BOOL GetFileAccessTime(const CString& path, CTime& time) const;
    // FALSE too for a file too large for a LONG.
    BOOL GetFileSize(const CString& path, LONG& size) const;
    BOOL GetFileAttribute(const CString& path, BYTE& attribute) const;

    // The current folder of the given drive ("d:"), or of the process when
    // empty; empty when the drive cannot be read. The process's own current
    // folder is the same afterwards, and no system error box shows.
    CString GetCurrentDirectory(const CString& drive) const;
    BOOL ChangeDirectory(const CString& path) const;
    BOOL MakeDirectory(const CString& path) const;
    // The current drive as "c:\".
    CString GetCurrentDrive() const;

    // Bytes free or in all of the volume; 0xFFFFFFFF when the query fails,
    // 0xFFFFFFFE for a size beyond 32 bits.
    DWORD GetFreeSpace(const CString& root) const;
    DWORD GetTotalSpace(const CString& root) const;
    // The byte count of a volume query, clamped as above.
    static DWORD SpaceProduct(DWORD sectorsPerCluster, DWORD bytesPerSector, DWORD clusters);

    // A folder walk: a pattern starts it, an empty pattern continues it.
    // FALSE when no entry came; otherwise name is the entry's name, or empty
    // when the filter passes it over (see the .cpp).
    BOOL GetDirectoryEntry(CString& name, const CString& pattern, DWORD filter);

private:
    DWORD QuerySpace(const CString& root, bool free) const;
    void EndWalk();

    WIN32_FIND_DATAA m_findData;
    HANDLE m_hFind;
    int m_nMaxPath;
};
