// Character classes of a line for colouring, one byte per byte of the line.
#pragma once
#include <windows.h>

class TWKEdit;
struct TWKEditLine;

enum
{
    CLASS_TEXT = 2,      // every byte starts with it
    CLASS_KEYWORD = 4,   // part of a keyword
    CLASS_QUOTE = 8,     // between two matching quote marks
    CLASS_COMMENT = 16,  // part of a comment, delimiters included
};

// Fills the classes of the line's first nSize bytes the way the painter
// colours them: keywords, then comments, then quoted strings outside
// comments. Returns the number of bytes classified.
int TWKEditClassifyLine(TWKEdit* pEdit, TWKEditLine* pLine, BYTE* pClasses, int nSize);

// The same passes over a text of nLength bytes standing for pLine (the raw
// line, or its expansion as the painter shows it). pfnKeyword, when given,
// is called for each keyword run [start, end) while the store's m_crKeyword
// holds the keyword's colour.
typedef void (*TWKEditKeywordRunFn)(void* pContext, int nStart, int nEnd);
int TWKEditClassifyText(TWKEdit* pEdit, TWKEditLine* pLine, LPSTR pszText, int nLength, BYTE* pClasses,
                        TWKEditKeywordRunFn pfnKeyword = NULL, void* pContext = NULL);

// Tab expansion, one rule for every user: a tab fills to the next multiple of
// nTabSize (with bShowTabs its first cell is "'"); a CR or LF copies the
// nLineEndLen line-end bytes and restarts the column. Writes at most nCapacity
// bytes to pszDest (no NUL; NULL only measures) and returns the count written.
int TWKEditExpandTabs(LPCSTR pszSource, int nCount, int nTabSize, int nLineEndLen, BOOL bShowTabs,
                      LPSTR pszDest, int nCapacity);

// While one lives, the store answers IsInComment for the line after the one
// it was last asked about from that answer instead of walking up again.
// Only for spans in which no text changes (a paint, top to bottom).
class TWKEditCommentMemo
{
public:
    TWKEditCommentMemo();
    ~TWKEditCommentMemo();
    TWKEditCommentMemo(const TWKEditCommentMemo&) = delete;
    TWKEditCommentMemo& operator=(const TWKEditCommentMemo&) = delete;
};
