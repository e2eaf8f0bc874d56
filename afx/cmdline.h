// Start-up helpers: the parsed command line and the recent-file list.
#pragma once
#include <windows.h>
#include "afx/object.h"
#include "afx/string.h"

class CCmdUI;

// The command line as the application's start-up sees it. ParseParam gets
// every token (see CWinApp::ParseCommandLine); derived classes look at their
// own switches and pass every token on.
class CCommandLineInfo : public CObject
{
public:
    CCommandLineInfo() = default;
    ~CCommandLineInfo() override = default;

    // bFlag: the token came after "/" or "-" (which is stripped); bLast: the
    // last token of the line. A plain token names the file to open.
    virtual void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast);

    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 };
    int m_nShellCommand = FileNew;
    CString m_strFileName;
    BOOL m_bShowSplash = TRUE;
};

// Length recent-file names are shortened to by default.
#define AFX_ABBREV_FILENAME_LEN 30

// The most recently used files, kept in a profile section as numbered
// entries ("File1", "File2" ...), most recent first.
class CRecentFileList
{
public:
    // nStart: the command id of the first entry's menu item.
    CRecentFileList(UINT nStart, LPCSTR lpszSection, LPCSTR lpszEntryFormat, int nSize,
                    int nMaxDispLen = AFX_ABBREV_FILENAME_LEN);
    virtual ~CRecentFileList();
    CRecentFileList(const CRecentFileList&) = delete;
    CRecentFileList& operator=(const CRecentFileList&) = delete;

    int GetSize() const { return m_nSize; }
    // Index 0 is the most recent; an empty string marks an unused entry.
    CString& operator[](int nIndex);

    // Full path to the top; a name already listed (any case) moves up
    // instead of appearing twice; the oldest drops off a full list.
    virtual void Add(LPCSTR lpszPathName);
    virtual void Remove(int nIndex);
    // The entry as shown in a menu: without the folder when it is
    // lpszCurDir, shortened to the display length. FALSE for an empty entry.
    virtual BOOL GetDisplayName(CString& strName, int nIndex, LPCSTR lpszCurDir, int nCurDir,
                                BOOL bAtLeastName = TRUE) const;
    // Replaces the menu items from the CCmdUI's item on with one item per
    // entry ("&1 name" ...), ids from the CCmdUI's id. An empty list keeps
    // one disabled item.
    virtual void UpdateMenu(CCmdUI* pCmdUI);
    virtual void ReadList();
    virtual void WriteList();

    int m_nSize;
    CString* m_arrNames;
    CString m_strSectionName;
    CString m_strEntryFormat;
    UINT m_nStart;
    int m_nMaxDisplayLength;
    CString m_strOriginal;   // the item's text before the list replaced it
};

// Shortens a path to at most nMaxLength characters: "C:\...\name.ext";
// the file name alone when even that is too long (or bAtLeastName is FALSE
// and nothing fits).
void AfxAbbreviateName(CString& strName, int nMaxLength, BOOL bAtLeastName = TRUE);
