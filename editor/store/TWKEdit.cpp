// The text store: line list, positions and columns, settings.
#include "editor/store/TWKEdit.h"
#include "editor/store/TWKEditPool.h"
#include "afx/app.h"
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

// Key names live in the string table; the literal is used when the
// resources are not linked in.
CString KeyName(UINT nID, LPCSTR pszFallback)
{
    CString s;
    if (!s.LoadString(nID) || s.IsEmpty())
        s = pszFallback;
    return s;
}

inline int BufferSize(int n) { return (n + 31) & ~15; }

} // namespace

// The application's profile; its defaults when there is no application.
int TWKEdit::ProfileInt(LPCSTR pszSection, LPCSTR pszKey, int nDefault)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? (int)pApp->GetProfileInt(pszSection, pszKey, nDefault) : nDefault;
}

CString TWKEdit::ProfileString(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszDefault)
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->GetProfileString(pszSection, pszKey, pszDefault) : CString(pszDefault);
}

TWKEdit::TWKEdit()
    : m_pFirstLine(NULL), m_pUndo(NULL), m_bAutoIndent(TRUE), m_nBookmarkCount(0),
      m_nUndoPos(0), m_dwUndoGroup(0), m_nUndoCount(0), m_hLockedFile(NULL),
      m_nLineEndLen(2), m_bInComment(FALSE), m_nLineCount(0), m_bModified(FALSE),
      m_bReadOnly(FALSE), m_bWordWrap(FALSE), m_nTabSize(4), m_bKeepTabs(TRUE),
      m_bShowTabs(FALSE), m_bInsertMode(TRUE), m_bLockFiles(FALSE), m_nLineEndType(0),
      m_nFontSize(9), m_nFontWeight(FW_NORMAL), m_bFontItalic(FALSE), m_nCharSet(0),
      m_bChroma(FALSE), m_bCaseSensitive(FALSE), m_crKeyword(RGB(0, 0, 255)),
      m_crQuote(RGB(255, 0, 0)), m_crComment(RGB(0, 128, 0)), m_crDefaultText(RGB(0, 0, 0)),
      m_crBackground(RGB(255, 255, 255)), m_pFocusWnd(NULL), m_pFoldBuffer(NULL),
      m_pKeywordTable(NULL), m_nSavedUndoPos(0), m_nChangeDepth(0), m_bTextChanged(FALSE),
      m_bReplaying(FALSE), m_nRecordsAdded(0), m_nScopeRecords(0), m_pReplayLine(NULL), m_nReplayLineNo(0),
      m_nMarkedLines(0)
{
    strcpy(m_szLineEnd, "\r\n");
    m_ftLoadedWrite = FILETIME();
    memset(m_ExtraWordChars, 0, sizeof(m_ExtraWordChars));
    memset(m_TerminatorChars, 0, sizeof(m_TerminatorChars));
    memset(m_StartChars, 0, sizeof(m_StartChars));
    m_szCommentStart1[0] = m_szCommentEnd1[0] = 0;
    m_szCommentStart2[0] = m_szCommentEnd2[0] = 0;
    Initialize();
}

TWKEdit::~TWKEdit()
{
    FreeAll();
    for (INT_PTR i = 0; i < m_arrCommentPairs.GetSize(); i++)
        delete (TWKEditCommentPair*)m_arrCommentPairs.GetAt(i);
    m_arrCommentPairs.RemoveAll();
}

void TWKEdit::CloseLockedFile()
{
    if (m_hLockedFile)
    {
        CloseHandle(m_hLockedFile);
        m_hLockedFile = NULL;
    }
}

void TWKEdit::Initialize()
{
    m_pKeywordTable = NULL;
    m_pFoldBuffer = NULL;
    // A lock still held here belongs to a text that is being discarded.
    CloseLockedFile();
    m_pFirstLine = NewLine(64);
    m_pUndo = (TWKEditUndoRecord*)AllocZeroed(sizeof(TWKEditUndoRecord) * TWK_UNDO_SIZE);
    SetModified(FALSE);
    SetReadOnly(FALSE);
    ResetUndo();
    m_nLineCount = 1;
    m_strSection.Empty();
    LoadSettings();
    SetLineEndType(ProfileInt(m_strSection, KeyName(IDS_TWK_KEY_LINEEND, "Line end type"), 0));
}

void TWKEdit::FreeAll()
{
    FreeLines(m_pFirstLine);
    m_pFirstLine = NULL;
    m_nMarkedLines = 0;
    FreeUndo();
    free(m_pUndo);
    m_pUndo = NULL;
    free(m_pKeywordTable);
    m_pKeywordTable = NULL;
    free(m_pFoldBuffer);
    m_pFoldBuffer = NULL;
    CloseLockedFile();
}

int TWKEdit::LoadSettings()
{
    LoadChromaSettings();
    LPCSTR s = m_strSection;
    SetTabSize(ProfileInt(s, KeyName(IDS_TWK_KEY_TABSIZE, "Tab size"), 3));
    m_bKeepTabs = ProfileInt(s, KeyName(IDS_TWK_KEY_KEEPTABS, "Keep tabs"), 1);
    m_bShowTabs = ProfileInt(s, KeyName(IDS_TWK_KEY_SHOWTABS, "Show tabs"), 0);
    m_strFontName = ProfileString(s, KeyName(IDS_TWK_KEY_FONTNAME, "Font name"), "Courier New");
    m_nFontSize = ProfileInt(s, KeyName(IDS_TWK_KEY_FONTSIZE, "Font size"), 9);
    m_nCharSet = ProfileInt(s, KeyName(IDS_TWK_KEY_CHARSET, "CharSet"), 0);
    m_nFontWeight = ProfileInt(s, KeyName(IDS_TWK_KEY_FONTWEIGHT, "Font weight"), 400);
    m_bFontItalic = ProfileInt(s, KeyName(IDS_TWK_KEY_FONTITALIC, "Font Italic"), 0);
    m_bWordWrap = ProfileInt(s, KeyName(IDS_TWK_KEY_WORDWRAP, "Word wrap"), 0);
    m_bInsertMode = ProfileInt(s, KeyName(IDS_TWK_KEY_INSERT, "Insert"), 1);
    m_bLockFiles = ProfileInt(s, KeyName(IDS_TWK_KEY_LOCKFILES, "Lock files"), 0);
    // SetTabSize is virtual; the settings must never leave a tab size below 1.
    if (m_nTabSize < 1)
        m_nTabSize = 4;
    return 0;
}

void TWKEdit::SetLineEndType(int nType)
{
    m_nLineEndType = nType;
    switch (nType)
    {
    case 0: strcpy(m_szLineEnd, "\r\n"); m_nLineEndLen = 2; break;
    case 1: strcpy(m_szLineEnd, "\n\r"); m_nLineEndLen = 2; break;
    case 2: strcpy(m_szLineEnd, "\n"); m_nLineEndLen = 1; break;
    case 3: strcpy(m_szLineEnd, "\r"); m_nLineEndLen = 1; break;
    default: break;
    }
}

// ---------------------------------------------------------------- line list

void* TWKEdit::AllocZeroed(size_t nBytes)
{
    return calloc(nBytes ? nBytes : 1, 1);
}

namespace {

// Line nodes come from a pool of large zero-filled chunks, each short line
// with its first buffer right behind its node: one block per line and no
// heap overhead for it. A line that outgrows that buffer gets one of its own
// from the heap. Node alignment only: a 16-byte grain would add a word to
// every short line.
typedef TWKEditBlockPool<64 * 1024, alignof(TWKEditLine)> LinePool;
const size_t kMaxPooledText = 464;     // larger first buffers come from the heap

LinePool& Pool()
{
    static LinePool* s_pPool = new LinePool;   // never destroyed: lines may outlive static objects
    return *s_pPool;
}

inline bool HasInlineText(const TWKEditLine* pLine)
{
    return pLine->pText == (LPCSTR)(pLine + 1);
}

} // namespace

TWKEditLine* TWKEdit::NewLine(int nSize)
{
    if (nSize > TWK_MAX_LINE_SIZE)
        return NULL;
    int nCap = nSize > 0 ? BufferSize(nSize) : 0;
    bool bInline = nCap > 0 && (size_t)nCap <= kMaxPooledText;
    TWKEditLine* pLine = (TWKEditLine*)Pool().Alloc(sizeof(TWKEditLine) + (bInline ? nCap : 0));
    if (!pLine)
        return NULL;
    if (nCap > 0)
    {
        pLine->pText = bInline ? (LPSTR)(pLine + 1) : (LPSTR)AllocZeroed(nCap);
        if (!pLine->pText)
        {
            Pool().Free(pLine);
            return NULL;
        }
        pLine->nCapacity = (WORD)nCap;
        pLine->nLineNo = 1;
    }
    return pLine;
}

int TWKEdit::FreeLine(TWKEditLine* pLine)
{
    if (!pLine)
        return -1;
    if (!HasInlineText(pLine))
        free(pLine->pText);
    Pool().Free(pLine);
    return 0;
}

int TWKEdit::FreeLines(TWKEditLine* pLine)
{
    if (!pLine)
        return -1;
    pLine = GetFirstLine(pLine);
    while (pLine)
    {
        TWKEditLine* pNext = pLine->pNext;
        FreeLine(pLine);
        pLine = pNext;
    }
    return 0;
}

int TWKEdit::InsertLineAfter(TWKEditLine* pNew, TWKEditLine* pAfter)
{
    if (!pNew || !pAfter)
        return -1;
    TWKEditLine* pOld = pAfter->pNext;
    if (pOld)
        pOld->pPrev = pNew;
    pNew->pPrev = pAfter;
    pNew->pNext = pOld;
    pAfter->pNext = pNew;
    // A bookmarked line split at its start: the mark stays with the text.
    if (pAfter->nLength == 2 && pAfter->pText && pAfter->pText[0] == '\r' &&
        pAfter->pText[1] == '\n' && (pAfter->dwFlags & LINE_BOOKMARK))
    {
        pAfter->dwFlags &= ~LINE_BOOKMARK;
        pNew->dwFlags |= LINE_BOOKMARK;
    }
    return 0;
}

// Links one line after pLast (NULL: the line starts a new chain).
void TWKEdit::Link(TWKEditLine* pLast, TWKEditLine* pNew)
{
    if (pLast)
    {
        pNew->pNext = pLast->pNext;
        if (pLast->pNext)
            pLast->pNext->pPrev = pNew;
        pLast->pNext = pNew;
    }
    pNew->pPrev = pLast;
}

// Appends a whole chain after the last line of another.
void TWKEdit::LinkChain(TWKEditLine* pTail, TWKEditLine* pChain)
{
    pTail->pNext = pChain;
    pChain->pPrev = pTail;
}

int TWKEdit::InsertLineBefore(TWKEditLine* pNew, TWKEditLine* pBefore)
{
    if (!pNew || !pBefore)
        return -1;
    TWKEditLine* pPrev = pBefore->pPrev;
    if (pPrev)
        pPrev->pNext = pNew;
    pNew->pPrev = pPrev;
    pNew->pNext = pBefore;
    pBefore->pPrev = pNew;
    return 0;
}

int TWKEdit::UnlinkLine(TWKEditLine* pLine)
{
    if (!pLine)
        return -1;
    if (pLine->pPrev)
        pLine->pPrev->pNext = pLine->pNext;
    if (pLine->pNext)
        pLine->pNext->pPrev = pLine->pPrev;
    return 0;
}

TWKEditLine* TWKEdit::GetFirstLine(TWKEditLine* pLine, int* pnIndex)
{
    if (!pLine)
        return NULL;
    int n = 1;
    while (pLine->pPrev)
    {
        pLine = pLine->pPrev;
        n++;
    }
    if (pnIndex)
        *pnIndex = n;
    return pLine;
}

TWKEditLine* TWKEdit::GetLastLine(TWKEditLine* pLine)
{
    if (!pLine)
        return NULL;
    while (pLine->pNext)
        pLine = pLine->pNext;
    return pLine;
}

TWKEditLine* TWKEdit::GetLine(int nLine)
{
    TWKEditLine* pLine = GetFirstLine(m_pFirstLine);
    if (!pLine)
        return NULL;
    if (nLine <= 0)
        return GetLastLine(pLine);
    while (--nLine > 0 && pLine->pNext)
        pLine = pLine->pNext;
    return pLine;
}

namespace {

// Numbers the lines from pLine on, starting with n + 1. A number that is
// right already is not written again: most of a renumbering finds them
// right, and a node left clean need not go back to memory.
int NumberFrom(TWKEditLine* pLine, int n)
{
    for (; pLine; pLine = pLine->pNext)
        if (pLine->nLineNo != ++n)
            pLine->nLineNo = n;
    return n;
}

} // namespace

int TWKEdit::RenumberLines(TWKEditLine* pLine)
{
    return NumberFrom(GetFirstLine(pLine), 0);
}

int TWKEdit::RenumberFrom(TWKEditLine* pLine)
{
    return NumberFrom(pLine, pLine && pLine->pPrev ? pLine->pPrev->nLineNo : 0);
}

int TWKEdit::GrowLine(TWKEditLine* pLine, int nSize)
{
    if (!pLine || nSize < 0 || nSize > TWK_MAX_LINE_SIZE)
        return 0;
    if (pLine->pText && pLine->nCapacity > nSize)
        return 1;
    int nCap = BufferSize(nSize);
    LPSTR pNew = (LPSTR)AllocZeroed(nCap);
    if (!pNew)
        return 0;
    if (pLine->pText)
    {
        size_t n = strnlen(pLine->pText, pLine->nCapacity);
        memcpy(pNew, pLine->pText, n);
        if (!HasInlineText(pLine))
            free(pLine->pText);
    }
    pLine->pText = pNew;
    pLine->nCapacity = (WORD)nCap;
    return 1;
}

// ---------------------------------------------------------- selection marks

namespace {
const WORD kSelectionMarks = (WORD)(LINE_SELSTART | LINE_SELEND);

inline bool HasSelectionMark(const TWKEditLine* p)
{
    return (p->dwFlags & kSelectionMarks) || p->dwSelCols;
}
} // namespace

void TWKEdit::SetSelectionMark(TWKEditLine* pLine, WORD wMark, int nCol)
{
    if (!pLine || !(wMark & kSelectionMarks))
        return;
    if (!HasSelectionMark(pLine))
        m_nMarkedLines++;
    pLine->dwFlags |= wMark & kSelectionMarks;
    if (wMark & LINE_SELSTART)
        pLine->nSelStartCol = (WORD)nCol;
    if (wMark & LINE_SELEND)
        pLine->nSelEndCol = (WORD)nCol;
}

void TWKEdit::ClearLineSelectionMarks(TWKEditLine* pLine)
{
    if (!pLine || !HasSelectionMark(pLine))
        return;
    pLine->dwFlags &= (WORD)~kSelectionMarks;
    pLine->dwSelCols = 0;
    if (m_nMarkedLines > 0)
        m_nMarkedLines--;
}

void TWKEdit::ClearAllSelectionMarks()
{
    // Lines already clear are not written: a node left clean need not go
    // back to memory.
    for (TWKEditLine* p = GetFirstLine(); p && m_nMarkedLines > 0; p = p->pNext)
        if (HasSelectionMark(p))
        {
            p->dwFlags &= (WORD)~kSelectionMarks;
            p->dwSelCols = 0;
            m_nMarkedLines--;
        }
    m_nMarkedLines = 0;   // counted lines that were freed meanwhile
}

// -------------------------------------------------------- positions, columns

int TWKEdit::OffsetToColumn(TWKEditLine* pLine, int nOffset)
{
    if (!pLine)
        return 0;
    if (!pLine->pText)
        return nOffset;
    if (nOffset < 1)
        return 0;
    int nText = nOffset < pLine->nLength ? nOffset : pLine->nLength;
    return CountColumns(pLine->pText, nText) + (nOffset - nText);
}

int TWKEdit::ColumnToOffset(TWKEditLine* pLine, int nColumn)
{
    if (!pLine)
        return 0;
    if (!pLine->pText)
        return nColumn;
    if (nColumn < 0)
        return 0;
    const char* p = pLine->pText;
    int col = 0;
    for (int i = 0; i < pLine->nLength; i++)
    {
        col += p[i] == '\t' ? m_nTabSize - col % m_nTabSize : 1;
        if (col > nColumn)
            return i;
    }
    return pLine->nLength + (nColumn - col);
}

int TWKEdit::CountColumns(LPCSTR pszText, int nCount)
{
    if (!pszText)
        return nCount;
    if (nCount < 1)
        return 0;
    int col = 0;
    for (int i = 0; i < nCount; i++)
    {
        char c = pszText[i];
        if (c == 0)
            return col + (nCount - i);
        col += c == '\t' ? m_nTabSize - col % m_nTabSize : 1;
    }
    return col;
}

int TWKEdit::GetFitLength(LPCSTR pszText)
{
    const int nLimit = TWK_MAX_COLUMNS - m_nLineEndLen;
    int col = 0, n = 0;
    for (const char* p = pszText; *p; p++)
    {
        if (col >= nLimit)
            break;
        col += *p == '\t' ? m_nTabSize - col % m_nTabSize : 1;
        n++;
    }
    return col <= nLimit ? n : n - 1;
}

int TWKEdit::IsPosAtOrBefore(TWKEditPos a, TWKEditPos b)
{
    if (!a.pLine || !b.pLine)
        return 0;
    if (a.pLine == b.pLine)
        return a.nOffset <= b.nOffset ? 1 : 0;
    for (TWKEditLine* p = a.pLine->pNext; p; p = p->pNext)
        if (p == b.pLine)
            return 1;
    return 0;
}

int TWKEdit::IsWordChar(UINT ch)
{
    // The system's answer for each byte, asked once: the colouring asks
    // for every byte of every line it paints.
    static const std::array<bool, 256> s_alnum = [] {
        std::array<bool, 256> v = {};
        for (int c = 0; c < 256; c++)
            v[c] = IsCharAlphaNumericA((CHAR)c) != FALSE;
        return v;
    }();
    if (s_alnum[ch & 0xFF] || m_ExtraWordChars[ch & 0xFF] != 0)
        return 1;
    return 0;
}
