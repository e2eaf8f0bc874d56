// The editor engine's text store: a doubly linked list of lines, the editor
// settings, the undo log, the keyword-colouring state and the file lock.
// Operations return 0 or the string-table id of a message (editor/editorres.h)
// and never throw. Heap texts handed out by the store come from malloc and
// are released with free().
#pragma once
#include <windows.h>
#include "afx/string.h"
#include "afx/collections.h"
#include "editor/editorres.h"

class CWnd;
class TWKEditRegExp;
struct TWKEditSearchInfo;

// Column limit of a line, tabs expanded, line-end bytes one column each.
constexpr int TWK_MAX_COLUMNS = 16384;

// Line flags (TWKEditLine::dwFlags).
enum : DWORD
{
    LINE_BOOKMARK = 0x4,
    LINE_APPMARK1 = 0x8,     // free for the application
    LINE_APPMARK2 = 0x10,    // free for the application
    LINE_SELSTART = 0x800,
    LINE_SELEND = 0x1000,
};

// Line-end types: 0 CR LF, 1 LF CR, 2 LF, 3 CR.
enum
{
    TWK_LINEEND_CRLF = 0,
    TWK_LINEEND_LFCR = 1,
    TWK_LINEEND_LF = 2,
    TWK_LINEEND_CR = 3,
};

// Longest text a line buffer holds: its capacity must fit in 16 bits. A line
// never comes near it (TWK_MAX_COLUMNS); asking for more fails as out of memory.
constexpr int TWK_MAX_LINE_SIZE = 0xFFFF - 31;

// One line; allocated zero-filled. pText holds the line's own line-end bytes.
// The capacity and the flags take 16 bits each, so that a node is five
// pointers long on 64-bit Windows: a million short lines cost a node each.
struct TWKEditLine
{
    TWKEditLine* pNext;
    TWKEditLine* pPrev;
    LPSTR pText;            // NUL-terminated; NULL only in a node made with size 0
    int nLength;            // bytes in pText, line end included
    WORD nCapacity;         // always greater than nLength
    WORD dwFlags;           // LINE_* bits
    int nLineNo;            // 1-based; valid after RenumberLines
    union
    {
        struct
        {
            WORD nSelStartCol;   // valid with LINE_SELSTART
            WORD nSelEndCol;     // valid with LINE_SELEND
        };
        DWORD dwSelCols;         // 0 clears both
    };
};
static_assert(sizeof(TWKEditLine) == 3 * sizeof(void*) + 16, "a line node is three pointers and four words");
static_assert((LINE_BOOKMARK | LINE_APPMARK1 | LINE_APPMARK2 | LINE_SELSTART | LINE_SELEND) <= 0xFFFF,
              "line flags fit in 16 bits");
static_assert(((TWK_MAX_LINE_SIZE + 31) & ~15) <= 0xFFFF, "the largest capacity fits in 16 bits");

// A position: a line and a byte offset (may lie right of the text).
struct TWKEditPos
{
    TWKEditLine* pLine;
    int nOffset;
};

// Undo record types (TWKEditUndoRecord::nType); there is no type 5.
enum TWKEditUndoType
{
    UNDO_CHAR_INSERTED = 1,
    UNDO_CHAR_DELETED = 2,
    UNDO_TEXT_DELETED = 3,
    UNDO_TEXT_INSERTED = 4,
    UNDO_LINE_SPLIT = 6,
    UNDO_LINES_JOINED = 7,
    UNDO_CHAR_OVERWRITTEN = 8,
    UNDO_COLUMN_DELETED = 9,
    UNDO_COLUMN_INSERTED = 10,
    UNDO_FILE_INSERTED = 11,
};

// One undo-log entry; nType is a TWKEditUndoType.
struct TWKEditUndoRecord
{
    int nType;
    int nStartLine;
    int nStartOffset;
    int nEndLine;
    int nEndOffset;
    BYTE chNew;
    BYTE chOld;
    DWORD dwGroup;
    LPSTR pszText;          // owned (malloc)
};

constexpr int TWK_UNDO_SIZE = 2048;
constexpr int TWK_UNDO_DROP = 512;

// Keyword table slot (4096 of them, open addressing).
struct TWKEditKeywordSlot
{
    char szWord[24];        // empty first byte: free slot
    int nWordLen;
    COLORREF crColor;       // 0xFFFFFFFF until looked up
};

constexpr int TWK_KEYWORD_SLOTS = 4096;

// An extra comment delimiter pair (an element of m_arrCommentPairs).
struct TWKEditCommentPair
{
    CString strOpen;
    CString strClose;
};

class TWKEdit
{
public:
    TWKEdit();
    virtual ~TWKEdit();

    // --- virtual operations, slot order ---
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModified(BOOL bModified) { m_bModified = bModified; }
    virtual void SetLockFiles(BOOL bLock) { m_bLockFiles = bLock; }
    virtual BOOL GetLockFiles() { return m_bLockFiles; }
    virtual void SetReadOnly(BOOL bReadOnly) { m_bReadOnly = bReadOnly; }
    virtual BOOL IsReadOnly() { return m_bReadOnly; }
    virtual void SetWordWrap(BOOL bWrap) { m_bWordWrap = bWrap; }
    virtual BOOL GetWordWrap() { return m_bWordWrap; }
    virtual void SetInsertMode(BOOL bInsert) { m_bInsertMode = bInsert; }
    virtual BOOL GetInsertMode() { return m_bInsertMode; }
    // A tab size below 1 would divide by zero in every column computation.
    virtual void SetTabSize(int nTabSize) { m_nTabSize = nTabSize < 1 ? 4 : nTabSize; }
    virtual int GetTabSize() { return m_nTabSize; }
    // Keyword colouring (defined with the colouring code).
    virtual int FindCommentStart(LPSTR pszText, int nCount, int* pnPair);
    virtual int FindCommentEnd(LPSTR pszText, int nCount, int nPair);
    virtual int GetNextColorRun(LPSTR* ppScan, int* pnStart, int* pnEnd);
    virtual int LoadKeywords();
    virtual int IsInCommentPair(TWKEditLine* pLine, LPSTR pszOpen, LPSTR pszClose, LPSTR pszOther);
    virtual int IsInComment(TWKEditLine* pLine, int* pnPair);
    virtual int LoadChromaSettings();

    // --- construction and settings ---
    void Initialize();
    void FreeAll();
    void SetProfileSection(CString strSection) { m_strSection = strSection; }
    int LoadSettings();
    void SetLineEndType(int nType);
    int GetLineEndType() const { return m_nLineEndType; }
    int GetLineEndLength() const { return m_nLineEndLen; }

    // --- line list (no undo, no modified flag, no m_nLineCount) ---
    static TWKEditLine* NewLine(int nSize);
    static int FreeLine(TWKEditLine* pLine);
    static int FreeLines(TWKEditLine* pLine);
    int InsertLineAfter(TWKEditLine* pNew, TWKEditLine* pAfter);
    int InsertLineBefore(TWKEditLine* pNew, TWKEditLine* pBefore);
    static int UnlinkLine(TWKEditLine* pLine);
    static TWKEditLine* GetFirstLine(TWKEditLine* pLine, int* pnIndex = NULL);
    static TWKEditLine* GetLastLine(TWKEditLine* pLine);
    TWKEditLine* GetFirstLine() { return GetFirstLine(m_pFirstLine); }
    TWKEditLine* GetLine(int nLine);
    static int GetLineNo(TWKEditLine* pLine) { return pLine ? pLine->nLineNo : 0; }
    static int RenumberLines(TWKEditLine* pLine);
    // Numbers the line and those after it, going on from the line before
    // (whose number must be right); returns the last number. The primitives
    // that add or remove lines renumber only from where they changed them.
    static int RenumberFrom(TWKEditLine* pLine);
    static int GrowLine(TWKEditLine* pLine, int nSize);
    static void* AllocZeroed(size_t nBytes);
    int GetLineCount() const { return m_nLineCount; }

    // --- selection marks (LINE_SELSTART, LINE_SELEND and their columns) ---
    // The window sets and clears them only through these, so that the store
    // knows how many lines may still carry one: clearing them all stops
    // after the last of them and walks nothing when there is none. A marked
    // line that an edit frees stays counted: at worst one walk to the end.
    void SetSelectionMark(TWKEditLine* pLine, WORD wMark, int nCol);
    void ClearLineSelectionMarks(TWKEditLine* pLine);
    void ClearAllSelectionMarks();
    int GetMarkedLineCount() const { return m_nMarkedLines; }

    // --- positions and columns ---
    int OffsetToColumn(TWKEditLine* pLine, int nOffset);
    int ColumnToOffset(TWKEditLine* pLine, int nColumn);
    int CountColumns(LPCSTR pszText, int nCount);
    int GetFitLength(LPCSTR pszText);
    static int IsPosAtOrBefore(TWKEditPos a, TWKEditPos b);
    int IsWordChar(UINT ch);
    // nLength less the line end when the line ends with the store's sequence
    // (inline: every edit of a line asks).
    int VisibleEnd(TWKEditLine* pLine)
    {
        if (!pLine || !pLine->pText)
            return 0;
        int n = pLine->nLength;
        if (n >= m_nLineEndLen && pLine->pText[n - m_nLineEndLen] == m_szLineEnd[0])
            return n - m_nLineEndLen;
        return n;
    }

    // --- file load and save ---
    int LoadFile(LPCSTR pszPath);
    int SaveFile(LPCSTR pszPath);
    int RenameFile(LPCSTR pszOldPath, LPCSTR pszNewPath);
    int ReadLines(HANDLE hFile, LPSTR pBuffer, int nChunkSize);
    // NULL for an empty text; *pnError (when given) gets 22579 when memory ran out.
    TWKEditLine* BuildLines(LPCSTR pszText, int* pnError = NULL);
    static int DetectLineEndType(LPSTR pszText, int nCount);
    // Returns the new length, or -1 (buffer untouched) when memory runs out.
    static int ConvertLineEnds(LPSTR* ppBuffer, int nCount, int nType);
    static int CheckNulls(LPCSTR pszText, int nCount, int nPrevious);

    // --- editing primitives ---
    int InsertChar(TWKEditPos pos, char ch, BOOL bInsert, BOOL bUndo);
    int DeleteChar(TWKEditPos pos, BOOL bUndo);
    int DeleteChars(TWKEditPos pos, int nCount, BOOL bUndo);
    int InsertString(TWKEditPos pos, LPCSTR pszText, BOOL bInsert, BOOL bUndo);
    int InsertText(TWKEditPos pos, LPCSTR pszText, int nLength, BOOL bUndo, int* pnOutLength = NULL);
    int InsertColumnText(TWKEditPos pos, LPCSTR pszText, int nLength, BOOL bUndo);
    int DeleteRange(TWKEditPos from, TWKEditPos to, BOOL bUndo);
    int DeleteColumn(TWKEditPos a, TWKEditPos b, BOOL bUndo);
    int SplitLine(TWKEditPos pos, BOOL bUndo);
    int JoinLine(TWKEditPos pos, BOOL bUndo);
    int PadToPosition(TWKEditPos* pPos, BOOL bUndo);
    int InsertFile(TWKEditPos* pPos, LPCSTR pszPath, BOOL bUndo);
    LPSTR CopyRange(TWKEditPos from, TWKEditPos to);
    LPSTR CopyColumn(TWKEditPos a, TWKEditPos b);
    static LPSTR ExpandTabsCopy(LPCSTR pszText, int nCount, int nTabSize, int nLineEndLen, int* pnOutLength);
    // Display width of a line after nCount bytes are put in at nOffset (the
    // line filled up to it first): the part before, the text and, with
    // bWithRest, the line's bytes from the offset on. A NULL line is empty.
    int WidthWithInsert(TWKEditLine* pLine, int nOffset, LPCSTR pszText, int nCount, BOOL bWithRest);
    int AdvanceColumns(int nColumn, LPCSTR pszText, int nCount);
    // 22578 when a text in the store's line ends, put in at the position,
    // would make a line wider than the column limit.
    int CheckInsertWidth(TWKEditPos pos, LPCSTR pszText, int nLength);

    // --- undo log ---
    int AddUndoRecord(const TWKEditUndoRecord* pRec, LPCSTR pszText);
    void SetUndoGroup(BOOL bOpen);
    DWORD GetUndoGroup() const { return m_dwUndoGroup; }
    // A group id that no neighbouring record carries, so that two groups
    // opened within one clock tick are still undone one at a time.
    DWORD NewUndoGroupId();
    int Undo();
    int Redo();
    // TRUE when one Undo or Redo takes the neighbouring records a and b
    // together: the same non-zero group, or a run of one-character records
    // of one kind on one line.
    static BOOL IsUndoChained(const TWKEditUndoRecord& a, const TWKEditUndoRecord& b);
    // The line numbered nLine on which the last Undo or Redo replayed its
    // last record, when that record kept the lines as they were (what
    // GetLine(nLine) gives then, without the walk); NULL otherwise. Known
    // until the text changes again.
    TWKEditLine* GetReplayedLine(int nLine) const;
    void ResetUndo();
    void FreeUndo();
    int GetUndoPos() const { return m_nUndoPos; }
    int GetUndoCount() const { return m_nUndoCount; }
    const TWKEditUndoRecord* GetUndoRecord(int nIndex) const
    { return nIndex >= 0 && nIndex < TWK_UNDO_SIZE && m_pUndo ? &m_pUndo[nIndex] : NULL; }

    // --- keyword colouring (defined with the colouring code) ---
    int AddCommentPair(CString strOpen, CString strClose);
    void LoadCharTables();
    int BuildKeywordTable(TWKEditKeywordSlot* pTable, LPCSTR pszKeyList);
    void FreeKeywords();
    static int HashKeyword(LPCSTR pszWord, int nLength);
    LPSTR GetNextWord(LPSTR pszText, int* pnLength);
    COLORREF GetKeywordColor(LPCSTR pszWord);
    static COLORREF ParseColor(LPCSTR pszColor);
    static void FormatColor(COLORREF cr, LPSTR pszBuffer);
    LPSTR FindString(LPSTR pszPattern, LPSTR pszText, int nCount);
    static LPSTR FindLastString(LPCSTR pszPattern, LPCSTR pszText, int nCount);
    static int IsInQuotes(LPCSTR pszText, LPCSTR pszPos);

    // --- text search (defined with the search code) ---
    int Search(TWKEditPos* pPos, TWKEditPos limit, TWKEditSearchInfo* pInfo);
    LPSTR RegexFind(TWKEditSearchInfo* pInfo, LPSTR pszText, TWKEditRegExp* pRegExp);
    static LPSTR FindFirstExact(LPCSTR pszPattern, LPCSTR pszText, int nCount);
    static LPSTR FindLastExact(LPCSTR pszPattern, LPCSTR pszText, int nCount);
    static int HasRegexChars(LPCSTR pszText);

private:
    // Settings from the application's profile (defaults without an application).
    static int ProfileInt(LPCSTR pszSection, LPCSTR pszKey, int nDefault);
    static CString ProfileString(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszDefault);
    TWKEditLine* BuildLinesEx(LPCSTR pszText, int nLength, BOOL* pbNoticeShown, int* pnError,
                              TWKEditLine** ppLast);
    int WrapLongLine(TWKEditLine* pLine, BOOL* pbNoticeShown, TWKEditLine** ppLast);
    // Reading a file in chunks (ReadLines).
    static int ReadChunk(HANDLE hFile, LPSTR pBuffer, int nChunkSize, int* pnRead);
    int SetTypeFromFirstChunk(HANDLE hFile, LPSTR pBuffer, int nRead, BOOL bFull);
    int MendSplitLineEnd(TWKEditLine* pLine, LPCSTR pszNext, int* pnUsed);
    int JoinChainTo(TWKEditLine* pLine, TWKEditLine* pChain, TWKEditLine** ppLast, BOOL* pbNotice);
    int AppendChunk(TWKEditLine** ppLast, LPCSTR pszText, int nLength, BOOL* pbNotice);
    DWORD WriteLines(HANDLE h);
    void CloseLockedFile();
    // A column block deleted by its columns (what a selection shows), or by
    // the byte width a column insert put in (its undo).
    int DeleteBlock(TWKEditPos a, TWKEditPos b, BOOL bUndo, BOOL bByteWidth);
    // Line chains (defined with the line list).
    static void Link(TWKEditLine* pLast, TWKEditLine* pNew);
    static void LinkChain(TWKEditLine* pTail, TWKEditLine* pChain);
    // Pieces of InsertText.
    int FillForInsert(TWKEditPos* pPos, int* pnFillFrom, LPSTR* ppszFill);
    int SpliceChain(TWKEditPos pos, TWKEditLine* pChain, TWKEditLine* pLast, BOOL bLastHasEnd);
    void RecordInsertedText(int nLine, int nFillFrom, LPCSTR pszFill, int nTextOffset, LPCSTR pszText,
                            int nLastLength, int nChainLines, BOOL bLastHasEnd);
    // AddUndoRecord taking pszOwned (malloc'd, freed here in any case) as the
    // record's text instead of a copy of pszText.
    int AddUndoRecordEx(const TWKEditUndoRecord* pRec, LPCSTR pszText, LPSTR pszOwned);
    // Puts a record whose text is owned already at the undo position.
    void StoreUndoRecord(const TWKEditUndoRecord& r);
    // A column insert's record holds the texts of the lines it changed,
    // before and after (line images).
    static size_t LineImageSize(TWKEditLine* pLine, int nLines);
    static size_t WriteLineImage(LPSTR pOut, TWKEditLine* pLine, int nLines);
    void ReplaceWithLineImage(int nStartLine, int nLines, LPCSTR pImage);
    void ReplayUndo(const TWKEditUndoRecord& rec);
    void ReplayRedo(const TWKEditUndoRecord& rec);
    // While Undo or Redo replays records that keep the lines as they are, a
    // run of them on one line finds it once.
    TWKEditPos PosOf(int nLine, int nOffset);
    // A copy of nLength bytes of the text (up to a NUL) with this store's line
    // ends; *pnLength gets the copy's length. 0 or IDS_TWK_NOMEMORY.
    int CopyWithStoreLineEnds(LPCSTR pszText, int* pnLength, LPSTR* ppszCopy);
    // Ends a copy of nLength bytes and gives it CR LF line ends; frees it and
    // returns NULL when memory runs out.
    LPSTR FinishCopy(LPSTR pszOut, size_t nLength);
    int CheckColumnWidth(TWKEditPos pos, TWKEditLine* pBlock, int nWidth);
    void EndWithLineEnd(TWKEditLine* pLine);
    // Marks a change of the text; a change no record describes (outside
    // Undo and Redo) makes the save point unreachable.
    void NoteChange();

public:
    CPtrArray m_arrCommentPairs;          // TWKEditCommentPair*, owned
    TWKEditLine* m_pFirstLine;
    TWKEditUndoRecord* m_pUndo;           // TWK_UNDO_SIZE records, owned
    BOOL m_bAutoIndent;
    int m_nBookmarkCount;
    int m_nUndoPos;
    DWORD m_dwUndoGroup;
    int m_nUndoCount;
    HANDLE m_hLockedFile;                 // NULL when no lock is held
    // Last write time of the file LoadFile read, taken from its handle before
    // the first byte (a change made during the load counts as one); zero when unknown.
    FILETIME m_ftLoadedWrite;
    int m_nLineEndLen;
    char m_szLineEnd[3];
    BOOL m_bInComment;
    int m_nLineCount;
    BOOL m_bModified;
    BOOL m_bReadOnly;
    BOOL m_bWordWrap;
    int m_nTabSize;
    BOOL m_bKeepTabs;
    BOOL m_bShowTabs;
    BOOL m_bInsertMode;
    BOOL m_bLockFiles;
    int m_nLineEndType;
    CString m_strFontName;
    int m_nFontSize;
    int m_nFontWeight;
    BOOL m_bFontItalic;
    int m_nCharSet;
    BOOL m_bChroma;
    BOOL m_bCaseSensitive;
    COLORREF m_crKeyword;
    COLORREF m_crQuote;
    COLORREF m_crComment;
    COLORREF m_crDefaultText;
    COLORREF m_crBackground;
    CString m_strSection;
    CString m_strKeywordFile;
    CWnd* m_pFocusWnd;                    // not owned
    DWORD m_ExtraWordChars[256];
    DWORD m_TerminatorChars[256];
    DWORD m_StartChars[256];
    LPSTR m_pFoldBuffer;                  // owned
    TWKEditKeywordSlot* m_pKeywordTable;  // TWK_KEYWORD_SLOTS slots, owned
    char m_szCommentStart1[16];
    char m_szCommentEnd1[16];
    char m_szCommentStart2[16];
    char m_szCommentEnd2[16];
    CString m_strKeywordsKey;
    // The undo position at which the text equals the file; -1 when no
    // position does any more.
    int m_nSavedUndoPos;

private:
    // Change tracking of the outermost primitive that runs.
    friend class TWKEditChangeScope;
    int m_nChangeDepth;
    BOOL m_bTextChanged;
    BOOL m_bReplaying;
    int m_nRecordsAdded;
    int m_nScopeRecords;
    TWKEditLine* m_pReplayLine;
    int m_nReplayLineNo;
    int m_nMarkedLines;   // lines that may carry a selection mark
};
