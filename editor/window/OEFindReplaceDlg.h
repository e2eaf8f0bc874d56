// The engine's modeless Find and Replace dialogs, on the system's find
// dialog with templates of their own: the texts are typed into combo boxes
// with the histories of "Settings\Find"; the system's own edits are there,
// hidden. The window keeps pointers to them and closes open ones when it
// goes.
#pragma once
#include "afx/afx.h"
#include "editor/editorres.h"
#include "editor/store/TWKEdit.h"
#include "editor/store/TWKEditSearch.h"
#include <cstring>
#include <string>
#include <vector>

// The profile section of the find options and histories.
#define TWK_FIND_SECTION "Settings\\Find"
// How an empty replacement is kept in the history.
#define TWK_EMPTY_REPLACE "<OE empty string>"

class OEFindReplaceDlg : public CFindReplaceDialog
{
public:
    OEFindReplaceDlg();
    ~OEFindReplaceDlg() override;

    BOOL m_bReplaceMode;               // template 22701
    BOOL m_bRegex;                     // 102
    BOOL m_bMatchCase;                 // 1041
    BOOL m_bMarkAll;                   // set by 101 before it finds
    CString m_strFind;                 // combo box 103
    int m_nDirection;                  // 1056 up (0) / 1057 down (1); -1 until set
    CString m_strReplace;              // combo box 106
    BOOL m_bWrap;                      // 108

    void FillFindHistory();
    void FillReplaceHistory();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnMarkAll();
    DECLARE_MESSAGE_MAP()

private:
    // Clear of the caret row of the window that opened the dialog.
    void PlaceClearOfCaret();
};

// Shared by every editing window of the process: a dialog find selected a
// match a following Replace may act on, and the replacement for that match.
extern BOOL g_bCanReplace;
extern CString s_strReplaceText;

// "Settings\Find" through the application's profile (defaults without one).
int TWKEditFindInt(LPCSTR pszKey, int nDefault);
CString TWKEditFindString(LPCSTR pszKey);
void TWKEditWriteFindInt(LPCSTR pszKey, int nValue);
// Puts a text first in the history "Find%d" or "Replace%d" (pszFormat),
// moving the others down; an empty text is ignored.
void TWKEditAddHistory(LPCSTR pszFormat, const CString& strText);

// A search request with the find text it points to and, for replacing with
// a regular expression, a template buffer as long as a line may be (the
// search refuses an expansion that does not fit).
struct TWKEditFindRequest
{
    TWKEditSearchInfo info = {};
    std::string strFind;
    std::string strTemplate;
    std::vector<char> buffer;

    void SetTemplate(LPCSTR pszTemplate)
    {
        strTemplate = pszTemplate ? pszTemplate : "";
        buffer.assign(TWK_MAX_COLUMNS + 1, '\0');
        Refill();
    }
    // The template again, before each step expands it in place.
    void Refill()
    {
        if (buffer.empty())
            return;
        size_t n = strTemplate.size() < buffer.size() - 1 ? strTemplate.size() : buffer.size() - 1;
        memcpy(buffer.data(), strTemplate.data(), n);
        buffer[n] = '\0';
        info.pszReplaceText = buffer.data();
        info.nReplaceSize = (int)buffer.size();
    }
};
