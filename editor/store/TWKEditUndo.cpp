// The text store: editing primitives, copies and the undo log.
#include "editor/store/TWKEdit.h"
#include "editor/store/TWKEditColour.h"
#include "editor/store/TWKEditPool.h"
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Open undo groups, one counter for every store of the process.
int s_nOpenUndoGroups = 0;

LPSTR CopyText(LPCSTR pszText, int nLength)
{
    LPSTR p = (LPSTR)malloc((size_t)nLength + 1);
    if (p)
    {
        memcpy(p, pszText, nLength);
        p[nLength] = 0;
    }
    return p;
}

// Texts of undo records: short ones from a pool, since a Replace All writes
// two records a match; long ones, and texts handed over, from the heap.
typedef TWKEditBlockPool<16 * 1024, 8> RecordTextPool;
const size_t kMaxPooledRecordText = 256;

RecordTextPool& TextPool()
{
    static RecordTextPool* s_pPool = new RecordTextPool;   // never destroyed: stores may outlive static objects
    return *s_pPool;
}

LPSTR RecordText(LPCSTR pszText, int nLength)
{
    if ((size_t)nLength < kMaxPooledRecordText)
        if (LPSTR p = (LPSTR)TextPool().Alloc((size_t)nLength + 1))
        {
            memcpy(p, pszText, nLength);
            p[nLength] = 0;
            return p;
        }
    return CopyText(pszText, nLength);
}

// Frees a record's text, whichever way it was made.
void FreeRecordText(LPSTR p)
{
    if (p && !TextPool().FreeIfOwned(p))
        free(p);
}

// The texts of n records, freed with one turn of the pool's lock for each
// batch (the log drops its oldest quarter at once).
void FreeRecordTexts(TWKEditUndoRecord* pRecs, int n)
{
    const int kBatch = 64;
    char* texts[kBatch];
    for (int i = 0; i < n; i += kBatch)
    {
        int k = n - i < kBatch ? n - i : kBatch;
        for (int j = 0; j < k; j++)
            texts[j] = pRecs[i + j].pszText;
        TextPool().FreeOwned(texts, (size_t)k);
        for (int j = 0; j < k; j++)
            free(texts[j]);   // the heap's texts; NULL for the pool's
    }
}

inline bool IsGroupedType(int nType)
{
    return nType == UNDO_CHAR_INSERTED || nType == UNDO_CHAR_DELETED || nType == UNDO_CHAR_OVERWRITTEN;
}

// Whether replaying the record, either way, leaves every line node in place
// with its number: the one-character records, and a text on one line with
// no line-end byte in it.
inline bool KeepsLines(const TWKEditUndoRecord& r)
{
    if (IsGroupedType(r.nType))
        return true;
    if (r.nType != UNDO_TEXT_INSERTED && r.nType != UNDO_TEXT_DELETED)
        return false;
    return r.nStartLine == r.nEndLine && (!r.pszText || !strpbrk(r.pszText, "\r\n"));
}

inline bool Chained(const TWKEditUndoRecord& a, const TWKEditUndoRecord& b)
{
    return TWKEdit::IsUndoChained(a, b) != FALSE;
}

TWKEditUndoRecord MakeRecord(int nType, int nLine, int nOffset, int nEndLine = 0, int nEndOffset = 0)
{
    TWKEditUndoRecord r;
    memset(&r, 0, sizeof(r));
    r.nType = nType;
    r.nStartLine = nLine;
    r.nStartOffset = nOffset;
    r.nEndLine = nEndLine;
    r.nEndOffset = nEndOffset;
    return r;
}

// Line pieces of a text as the line builder cuts them: the bytes before a
// line end, and whether a line end follows.
template <class F>
void ForEachPiece(LPCSTR pszText, int nLength, int nLineEndLen, F f)
{
    const char* cur = pszText;
    int remaining = nLength;
    while (remaining > 0)
    {
        int n = 0;
        while (n < remaining && cur[n] != '\r' && cur[n] != '\n')
            n++;
        bool bEnd = n < remaining;
        if (bEnd && nLineEndLen == 2 && n == remaining - 1)
        {
            n = remaining;
            bEnd = false;
        }
        if (!f(cur, n, bEnd, n + (bEnd ? 1 : 0) >= remaining))
            return;
        cur += n;
        remaining -= n;
        if (bEnd)
        {
            cur++;
            remaining--;
            if (nLineEndLen == 2 && remaining > 0 && (*cur == '\r' || *cur == '\n'))
                cur++, remaining--;
        }
    }
}

// The bytes of a line image (see WriteLineImage).
size_t LineImageLength(LPCSTR pImage)
{
    int nLines;
    memcpy(&nLines, pImage, sizeof(int));
    size_t n = sizeof(int);
    for (int i = 0; i < nLines; i++)
    {
        int nLength;
        memcpy(&nLength, pImage + n, sizeof(int));
        n += sizeof(int) + nLength;
    }
    return n;
}

} // namespace

// Wraps the outermost primitive of a change: when it changed the text and
// wrote no record, outside Undo and Redo, no undo position gives the saved
// text any more.
class TWKEditChangeScope
{
public:
    explicit TWKEditChangeScope(TWKEdit* pEdit) : m_pEdit(pEdit)
    {
        if (m_pEdit->m_nChangeDepth++ == 0)
        {
            if (!m_pEdit->m_bReplaying)
                m_pEdit->m_pReplayLine = NULL;   // a change of its own: the replayed line may go
            m_pEdit->m_bTextChanged = FALSE;
            m_pEdit->m_nScopeRecords = m_pEdit->m_nRecordsAdded;
        }
    }
    ~TWKEditChangeScope()
    {
        if (--m_pEdit->m_nChangeDepth == 0 && m_pEdit->m_bTextChanged && !m_pEdit->m_bReplaying &&
            m_pEdit->m_nRecordsAdded == m_pEdit->m_nScopeRecords)
            m_pEdit->m_nSavedUndoPos = -1;
    }

private:
    TWKEdit* m_pEdit;
};

void TWKEdit::NoteChange()
{
    m_bTextChanged = TRUE;
    SetModified(TRUE);
}

// ------------------------------------------------------------ column limit

int TWKEdit::AdvanceColumns(int nColumn, LPCSTR pszText, int nCount)
{
    for (int i = 0; i < nCount; i++)
        nColumn += pszText[i] == '\t' ? m_nTabSize - nColumn % m_nTabSize : 1;
    return nColumn;
}

int TWKEdit::WidthWithInsert(TWKEditLine* pLine, int nOffset, LPCSTR pszText, int nCount, BOOL bWithRest)
{
    if (nOffset < 0)
        nOffset = 0;
    bool bText = pLine && pLine->pText;
    int nVisible = bText ? VisibleEnd(pLine) : 0;
    int nCol = !bText ? nOffset
                      : nOffset <= nVisible ? CountColumns(pLine->pText, nOffset)
                                            : CountColumns(pLine->pText, nVisible) + nOffset - nVisible;
    nCol = AdvanceColumns(nCol, pszText, nCount);
    if (bWithRest && bText)
    {
        int r = nOffset <= nVisible ? nOffset : nVisible;
        nCol = AdvanceColumns(nCol, pLine->pText + r, pLine->nLength - r);
    }
    return nCol;
}

int TWKEdit::CheckInsertWidth(TWKEditPos pos, LPCSTR pszText, int nLength)
{
    bool bTooWide = false;
    bool bFirst = true;
    const int nLimit = TWK_MAX_COLUMNS;
    ForEachPiece(pszText, nLength, m_nLineEndLen, [&](LPCSTR p, int n, bool bEnd, bool bLast) {
        // A piece alone wider than the limit would be cut by the line builder.
        int w = AdvanceColumns(0, p, n);
        if (w > nLimit - m_nLineEndLen)
            bTooWide = true;
        else if (bFirst)
            bTooWide = (bEnd ? WidthWithInsert(pos.pLine, pos.nOffset, p, n, FALSE) + m_nLineEndLen
                             : WidthWithInsert(pos.pLine, pos.nOffset, p, n, TRUE)) > nLimit;
        else if (bLast && !bEnd && pos.pLine && pos.pLine->pText)
        {
            int nVisible = VisibleEnd(pos.pLine);
            int r = pos.nOffset < 0 ? 0 : pos.nOffset <= nVisible ? pos.nOffset : nVisible;
            bTooWide = AdvanceColumns(w, pos.pLine->pText + r, pos.pLine->nLength - r) > nLimit;
        }
        bFirst = false;
        return !bTooWide;
    });
    return bTooWide ? IDS_TWK_LINETOOLONG : 0;
}

int TWKEdit::CheckColumnWidth(TWKEditPos pos, TWKEditLine* pBlock, int nWidth)
{
    int nColumn = OffsetToColumn(pos.pLine, pos.nOffset);
    TWKEditLine* pCur = pos.pLine;
    for (TWKEditLine* b = pBlock; b; b = b->pNext, pCur = pCur ? pCur->pNext : NULL)
    {
        int nHave = VisibleEnd(b);
        nHave = nHave > nWidth ? nWidth : nHave;
        int nOffset = pCur ? ColumnToOffset(pCur, nColumn) : nColumn;
        int w = WidthWithInsert(pCur, nOffset, b->pText, nHave, TRUE) + (nWidth - nHave);
        if (!pCur || VisibleEnd(pCur) == pCur->nLength)
            w += m_nLineEndLen;
        if (w > TWK_MAX_COLUMNS)
            return IDS_TWK_LINETOOLONG;
    }
    return 0;
}

// ------------------------------------------------------------------ helpers

int TWKEdit::PadToPosition(TWKEditPos* pPos, BOOL bUndo)
{
    TWKEditChangeScope scope(this);
    TWKEditLine* pLine = pPos ? pPos->pLine : NULL;
    if (!pLine)
        return 0;
    int nVisible = VisibleEnd(pLine);
    int nGap = pPos->nOffset - nVisible;
    if (nGap <= 0)
        return 0;
    if (!GrowLine(pLine, pPos->nOffset + m_nLineEndLen))
        return IDS_TWK_NOMEMORY;

    int nTabs = 0, nSpaces = nGap;
    if (m_bKeepTabs)
    {
        int nStartCol = OffsetToColumn(pLine, nVisible);
        int nEndCol = nStartCol + nGap;
        nTabs = nGap / m_nTabSize;
        if (nTabs > 0)
            nSpaces = nEndCol - (nStartCol / m_nTabSize + nTabs) * m_nTabSize;
    }
    int nFill = nTabs + nSpaces;
    LPSTR p = pLine->pText;
    memmove(p + nVisible + nFill, p + nVisible, pLine->nLength - nVisible + 1);
    memset(p + nVisible, '\t', nTabs);
    memset(p + nVisible + nTabs, ' ', nSpaces);
    pLine->nLength += nFill;
    EndWithLineEnd(pLine);
    NoteChange();
    if (bUndo)
    {
        TWKEditUndoRecord r = MakeRecord(UNDO_TEXT_INSERTED, pLine->nLineNo, nVisible, pLine->nLineNo,
                                         nVisible + nFill);
        LPSTR pszFill = CopyText(p + nVisible, nFill);
        if (pszFill)
        {
            AddUndoRecord(&r, pszFill);
            free(pszFill);
        }
    }
    pPos->nOffset = nVisible + nFill;
    return 0;
}

// A line without the line-end sequence gets it (the room is there); the
// text ends with a NUL.
void TWKEdit::EndWithLineEnd(TWKEditLine* pLine)
{
    if (VisibleEnd(pLine) == pLine->nLength)
    {
        memcpy(pLine->pText + pLine->nLength, m_szLineEnd, m_nLineEndLen);
        pLine->nLength += m_nLineEndLen;
    }
    pLine->pText[pLine->nLength] = 0;
}

int TWKEdit::CopyWithStoreLineEnds(LPCSTR pszText, int* pnLength, LPSTR* ppszCopy)
{
    int nLength = pszText && *pnLength > 0 ? *pnLength : 0;
    LPSTR pszCopy = CopyText(pszText ? pszText : "", nLength);
    if (!pszCopy)
        return IDS_TWK_NOMEMORY;
    nLength = (int)strlen(pszCopy);
    if (DetectLineEndType(pszCopy, nLength) != m_nLineEndType)
    {
        int n = ConvertLineEnds(&pszCopy, nLength, m_nLineEndType);
        if (n < 0)
        {
            free(pszCopy);
            return IDS_TWK_NOMEMORY;
        }
        nLength = n;
    }
    *ppszCopy = pszCopy;
    *pnLength = nLength;
    return 0;
}

LPSTR TWKEdit::FinishCopy(LPSTR pszOut, size_t nLength)
{
    pszOut[nLength] = 0;
    if (m_nLineEndType != 0 && ConvertLineEnds(&pszOut, (int)nLength, 0) < 0)
    {
        free(pszOut);
        return NULL;
    }
    return pszOut;
}

// ---------------------------------------------------------- one character

int TWKEdit::InsertChar(TWKEditPos pos, char ch, BOOL bInsert, BOOL bUndo)
{
    TWKEditChangeScope scope(this);
    if (m_bReadOnly)
        return IDS_TWK_READONLY;
    if (!pos.pLine)
        return IDS_TWK_NOTEXT;
    TWKEditPos p = pos;
    if (p.nOffset < 0)
        p.nOffset = 0;
    int rc = PadToPosition(&p, bUndo);
    if (rc)
        return rc;
    TWKEditLine* pLine = p.pLine;
    if (!GrowLine(pLine, m_nLineEndLen + pLine->nLength + 1))
        return IDS_TWK_NOMEMORY;
    int nVisible = VisibleEnd(pLine);
    bool bHasEnd = nVisible != pLine->nLength;
    int off = p.nOffset;
    LPSTR t = pLine->pText;
    if (bUndo)
    {
        TWKEditUndoRecord r = MakeRecord(bInsert ? UNDO_CHAR_INSERTED : UNDO_CHAR_OVERWRITTEN, pLine->nLineNo, off);
        r.chNew = (BYTE)ch;
        if (!bInsert)
            r.chOld = off < nVisible ? (BYTE)t[off] : off == nVisible ? (bHasEnd ? (BYTE)t[off] : 0) : ' ';
        AddUndoRecord(&r, NULL);
    }
    if (bInsert || off >= nVisible)
    {
        memmove(t + off + 1, t + off, pLine->nLength - off + 1);
        pLine->nLength++;
    }
    t[off] = ch;
    NoteChange();
    EndWithLineEnd(pLine);
    return 0;
}

int TWKEdit::DeleteChar(TWKEditPos pos, BOOL bUndo)
{
    TWKEditChangeScope scope(this);
    if (m_bReadOnly)
        return IDS_TWK_READONLY;
    TWKEditLine* pLine = pos.pLine;
    if (!pLine || !pLine->pText)
        return 0;
    int off = pos.nOffset;
    if (off < 0 || off >= VisibleEnd(pLine))
        return IDS_TWK_JOINLINE;
    if (bUndo)
    {
        TWKEditUndoRecord r = MakeRecord(UNDO_CHAR_DELETED, pLine->nLineNo, off);
        r.chNew = (BYTE)pLine->pText[off];
        AddUndoRecord(&r, NULL);
    }
    NoteChange();
    memmove(pLine->pText + off, pLine->pText + off + 1, pLine->nLength - off);
    pLine->nLength--;
    return 0;
}

int TWKEdit::DeleteChars(TWKEditPos pos, int nCount, BOOL bUndo)
{
    TWKEditChangeScope scope(this);
    if (nCount == 1)
        return DeleteChar(pos, bUndo);
    if (m_bReadOnly)
        return IDS_TWK_READONLY;
    if (nCount < 1 || !pos.pLine)
        return 0;
    LPSTR pszCopy = NULL;
    if (bUndo)
    {
        // The record holds what is really there: never past the visible end.
        int nAvail = VisibleEnd(pos.pLine) - pos.nOffset;
        nAvail = nAvail < 0 ? 0 : nAvail > nCount ? nCount : nAvail;
        pszCopy = CopyText(pos.pLine->pText ? pos.pLine->pText + pos.nOffset : "", nAvail);
        if (!pszCopy)
            return IDS_TWK_NOMEMORY;
    }
    // What DeleteChar count times would take: the bytes up to the visible
    // end, in one move.
    int nTake = pos.pLine->pText && pos.nOffset >= 0 ? VisibleEnd(pos.pLine) - pos.nOffset : 0;
    nTake = nTake > nCount ? nCount : nTake;
    if (nTake > 0)
    {
        LPSTR t = pos.pLine->pText + pos.nOffset;
        memmove(t, t + nTake, pos.pLine->nLength - pos.nOffset - nTake + 1);
        pos.pLine->nLength -= nTake;
        NoteChange();
    }
    if (bUndo)
    {
        TWKEditUndoRecord r = MakeRecord(UNDO_TEXT_DELETED, pos.pLine->nLineNo, pos.nOffset, pos.pLine->nLineNo,
                                         pos.nOffset + nCount);
        AddUndoRecord(&r, pszCopy);
        free(pszCopy);
    }
    return 0;
}

// ------------------------------------------------------------------ strings

int TWKEdit::InsertString(TWKEditPos pos, LPCSTR pszText, BOOL bInsert, BOOL bUndo)
{
    TWKEditChangeScope scope(this);
    if (m_bReadOnly)
        return IDS_TWK_READONLY;
    if (!pos.pLine)
        return IDS_TWK_NOTEXT;
    if (!pszText)
        pszText = "";
    int nLen = (int)strlen(pszText);

    // Overwriting records the bytes it replaces, in one group with the
    // insertion, so that Undo brings them back.
    bool bGroup = bUndo && !bInsert;
    DWORD dwSavedGroup = m_dwUndoGroup;
    if (bGroup)
    {
        SetUndoGroup(TRUE);
        if (!m_dwUndoGroup)
            m_dwUndoGroup = NewUndoGroupId();
    }
    TWKEditPos p = pos;
    int rc = PadToPosition(&p, bUndo);
    if (bGroup && !rc)
    {
        int nVisible = VisibleEnd(p.pLine);
        int nOld = nVisible - p.nOffset;
        nOld = nOld < 0 ? 0 : nOld > nLen ? nLen : nOld;
        if (nOld > 0)
        {
            TWKEditUndoRecord r = MakeRecord(UNDO_TEXT_DELETED, p.pLine->nLineNo, p.nOffset, p.pLine->nLineNo,
                                             p.nOffset + nOld);
            LPSTR pszOld = CopyText(p.pLine->pText + p.nOffset, nOld);
            if (!pszOld)
                rc = IDS_TWK_NOMEMORY;
            else
            {
                AddUndoRecord(&r, pszOld);
                free(pszOld);
            }
        }
    }
    if (!rc && bInsert && nLen > 0 && !memchr(pszText, '\r', nLen) && !memchr(pszText, '\n', nLen))
    {
        // Inserted at once: what the bytes one by one would give, a line
        // end appended to a line without one.
        TWKEditLine* pLine = p.pLine;
        if (!GrowLine(pLine, pLine->nLength + nLen + m_nLineEndLen + 1))
            rc = IDS_TWK_NOMEMORY;
        else
        {
            LPSTR t = pLine->pText;
            memmove(t + p.nOffset + nLen, t + p.nOffset, pLine->nLength - p.nOffset + 1);
            memcpy(t + p.nOffset, pszText, nLen);
            pLine->nLength += nLen;
            EndWithLineEnd(pLine);
            NoteChange();
        }
    }
    else
        for (int i = 0; i < nLen && !rc; i++)
        {
            TWKEditPos q = { p.pLine, p.nOffset + i };
            rc = InsertChar(q, pszText[i], bInsert, FALSE);
        }
    if (!rc && bUndo)
    {
        TWKEditUndoRecord r = MakeRecord(UNDO_TEXT_INSERTED, p.pLine->nLineNo, p.nOffset, p.pLine->nLineNo,
                                         p.nOffset + nLen);
        AddUndoRecord(&r, pszText);
    }
    if (bGroup)
    {
        SetUndoGroup(FALSE);
        m_dwUndoGroup = s_nOpenUndoGroups ? dwSavedGroup : 0;
    }
    return rc;
}

// Fills the line up to the position without a record of its own; the fill,
// copied for the caller's record, is NULL when there was none.
int TWKEdit::FillForInsert(TWKEditPos* pPos, int* pnFillFrom, LPSTR* ppszFill)
{
    *ppszFill = NULL;
    int nVisible = VisibleEnd(pPos->pLine);
    *pnFillFrom = pPos->nOffset > nVisible ? nVisible : pPos->nOffset;
    int rc = PadToPosition(pPos, FALSE);
    if (rc || pPos->nOffset == *pnFillFrom)
        return rc;
    *ppszFill = CopyText(pPos->pLine->pText + *pnFillFrom, pPos->nOffset - *pnFillFrom);
    return *ppszFill ? 0 : IDS_TWK_NOMEMORY;
}

// Puts a chain of new lines into the text at the position: the line is
// split there, the chain's first line joins the first half and, when the
// chain's last line has no line end, the second half joins it.
int TWKEdit::SpliceChain(TWKEditPos pos, TWKEditLine* pChain, TWKEditLine* pLast, BOOL bLastHasEnd)
{
    int rc = SplitLine(pos, FALSE);
    if (rc)
    {
        FreeLines(pChain);
        return rc;
    }
    TWKEditLine* pLine = pos.pLine;
    TWKEditLine* pRest = pLine->pNext;
    LinkChain(pLine, pChain);
    if (pRest)
        LinkChain(pLast, pRest);
    // After the first join a one-line chain is part of the position's line.
    TWKEditLine* pLastInserted = pChain == pLast ? pLine : pLast;
    rc = JoinLine(pos, FALSE);
    if (!rc && !bLastHasEnd)
    {
        TWKEditPos q = { pLastInserted, pLastInserted->nLength };
        rc = JoinLine(q, FALSE);
        if (rc == IDS_TWK_ENDOFFILE)
            rc = 0;
    }
    return rc;
}

// The type-4 record of an inserted text (with the fill before it, if any).
void TWKEdit::RecordInsertedText(int nLine, int nFillFrom, LPCSTR pszFill, int nTextOffset, LPCSTR pszText,
                                 int nLastLength, int nChainLines, BOOL bLastHasEnd)
{
    int nEndLine = nLine + nChainLines - 1;
    int nEndOffset = nChainLines > 1 ? nLastLength : nTextOffset + nLastLength;
    if (bLastHasEnd)
    {
        nEndLine++;
        nEndOffset = 0;
    }
    TWKEditUndoRecord r = MakeRecord(UNDO_TEXT_INSERTED, nLine, nFillFrom, nEndLine, nEndOffset);
    if (!pszFill)
    {
        AddUndoRecord(&r, pszText);
        return;
    }
    size_t nFill = strlen(pszFill), nText = strlen(pszText);
    LPSTR pszBoth = (LPSTR)malloc(nFill + nText + 1);
    if (!pszBoth)
        return;
    memcpy(pszBoth, pszFill, nFill);
    memcpy(pszBoth + nFill, pszText, nText + 1);
    AddUndoRecord(&r, pszBoth);
    free(pszBoth);
}

int TWKEdit::InsertText(TWKEditPos pos, LPCSTR pszText, int nLength, BOOL bUndo, int* pnOutLength)
{
    TWKEditChangeScope scope(this);
    if (m_bReadOnly)
        return IDS_TWK_READONLY;
    if (!pos.pLine)
        return IDS_TWK_NOTEXT;
    LPSTR pszCopy = NULL;
    int rc = CopyWithStoreLineEnds(pszText, &nLength, &pszCopy);
    if (rc)
        return rc;
    // Refused before anything changes: stopping half-way would leave a
    // change that no record describes.
    rc = CheckInsertWidth(pos, pszCopy, nLength);
    if (rc)
    {
        free(pszCopy);
        return rc;
    }
    // The fill right of the text goes into the text's own record, so that
    // one Undo takes both back.
    int nFillFrom = 0;
    LPSTR pszFill = NULL;
    rc = FillForInsert(&pos, &nFillFrom, &pszFill);
    if (!rc && pnOutLength)
        *pnOutLength = nLength;
    BOOL bNotice = FALSE;
    TWKEditLine* pLast = NULL;
    TWKEditLine* pChain = rc ? NULL : BuildLinesEx(pszCopy, nLength, &bNotice, &rc, &pLast);
    if (pChain)
    {
        int nChainLines = RenumberLines(pChain);
        BOOL bLastHasEnd = pLast->nLength >= m_nLineEndLen &&
                           memcmp(pLast->pText + pLast->nLength - m_nLineEndLen, m_szLineEnd, m_nLineEndLen) == 0;
        // The chain's last line may be joined away: the record needs its length only.
        int nLastLength = pLast->nLength;
        int nLine = pos.pLine->nLineNo;
        rc = SpliceChain(pos, pChain, pLast, bLastHasEnd);
        m_nLineCount = RenumberFrom(pos.pLine);
        if (!rc && bUndo)
            RecordInsertedText(nLine, nFillFrom, pszFill, pos.nOffset, pszCopy, nLastLength, nChainLines,
                               bLastHasEnd);
    }
    else if (!rc && pszFill && bUndo)
    {
        // Nothing to insert, but the line was filled: that alone is recorded.
        TWKEditUndoRecord r = MakeRecord(UNDO_TEXT_INSERTED, pos.pLine->nLineNo, nFillFrom, pos.pLine->nLineNo,
                                         pos.nOffset);
        AddUndoRecord(&r, pszFill);
    }
    free(pszFill);
    free(pszCopy);
    return rc;
}

int TWKEdit::InsertColumnText(TWKEditPos pos, LPCSTR pszText, int nLength, BOOL bUndo)
{
    TWKEditChangeScope scope(this);
    if (m_bReadOnly)
        return IDS_TWK_READONLY;
    if (!pos.pLine)
        return IDS_TWK_NOTEXT;
    LPSTR pszCopy = NULL;
    int rcCopy = CopyWithStoreLineEnds(pszText, &nLength, &pszCopy);
    if (rcCopy)
        return rcCopy;
    // Every row is tested before the first one goes in.
    int rc = 0;
    ForEachPiece(pszCopy, nLength, m_nLineEndLen, [&](LPCSTR p, int n, bool, bool) {
        if (AdvanceColumns(0, p, n) > TWK_MAX_COLUMNS - m_nLineEndLen)
            rc = IDS_TWK_LINETOOLONG;
        return rc == 0;
    });
    BOOL bNotice = FALSE;
    TWKEditLine* pChain = rc ? NULL : BuildLinesEx(pszCopy, nLength, &bNotice, &rc, NULL);
    const int nWidth = pChain ? VisibleEnd(pChain) : 0;
    if (pChain)
        rc = CheckColumnWidth(pos, pChain, nWidth);
    if (!pChain || rc)
    {
        FreeLines(pChain);
        free(pszCopy);
        return rc;
    }
    NoteChange();
    LPSTR pszPiece = (LPSTR)malloc((size_t)nWidth + 1);
    if (!pszPiece)
    {
        FreeLines(pChain);
        free(pszCopy);
        return IDS_TWK_NOMEMORY;
    }

    // The lines the block needs below the end of the text, and one empty
    // line after it, are added first. Replaying a column delete's undo finds
    // them there already.
    int nRows = 0, nLines = 0;
    for (TWKEditLine* b = pChain; b; b = b->pNext)
        nRows++;
    for (TWKEditLine* p = pos.pLine; p; p = p->pNext)
        nLines++;
    const int nTarget = nRows + (m_bReplaying ? 0 : 1);
    const int nColumn = OffsetToColumn(pos.pLine, pos.nOffset);

    // One record takes the whole insert back and forth: the texts of the
    // lines it changes, before and after. However many rows the block has,
    // Undo restores the text byte for byte, and Redo writes exactly what the
    // paste wrote. The room for both images is taken before anything changes.
    const int nBefore = nLines < nTarget ? nLines : nRows;
    const int nAfter = nLines < nTarget ? nTarget : nRows;
    LPSTR pImage = NULL;
    size_t nBeforeSize = 0;
    if (bUndo)
    {
        nBeforeSize = LineImageSize(pos.pLine, nBefore);
        size_t nRowGrowth = (size_t)nColumn + nWidth + m_nLineEndLen;
        size_t nBound = nBeforeSize * 2 + nRowGrowth * nAfter + sizeof(int) * (nAfter - nBefore);
        pImage = (LPSTR)malloc(nBound);
        if (!pImage)
        {
            free(pszPiece);
            FreeLines(pChain);
            free(pszCopy);
            return IDS_TWK_NOMEMORY;
        }
        WriteLineImage(pImage, pos.pLine, nBefore);
    }
    for (; nLines < nTarget && !rc; nLines++)
    {
        TWKEditLine* pLast = GetLastLine(pos.pLine);
        TWKEditPos e = { pLast, VisibleEnd(pLast) };
        rc = SplitLine(e, FALSE);
    }

    int nStartOffset = pos.nOffset;
    int nBlockLines = 0;
    TWKEditLine* pCur = pos.pLine;
    for (TWKEditLine* b = pChain; b && pCur && !rc; b = b->pNext)
    {
        TWKEditPos p = { pCur, ColumnToOffset(pCur, nColumn) };
        rc = PadToPosition(&p, FALSE);
        if (rc)
            break;
        if (b == pChain)
            nStartOffset = p.nOffset;
        // Every block line is exactly the first line's width; a short one
        // is filled with blanks rather than taking its line end.
        int nHave = VisibleEnd(b);
        nHave = nHave > nWidth ? nWidth : nHave;
        memcpy(pszPiece, b->pText, nHave);
        memset(pszPiece + nHave, ' ', nWidth - nHave);
        pszPiece[nWidth] = 0;
        rc = InsertString(p, pszPiece, TRUE, FALSE);
        if (rc)
            break;
        nBlockLines++;
        pCur = pCur->pNext;
    }
    m_nLineCount = RenumberFrom(pos.pLine);
    if (!rc && bUndo)
    {
        WriteLineImage(pImage + nBeforeSize, pos.pLine, nAfter);
        TWKEditUndoRecord r = MakeRecord(UNDO_COLUMN_INSERTED, pos.pLine->nLineNo, nStartOffset,
                                         pos.pLine->nLineNo + nBlockLines, nStartOffset + nWidth);
        r.dwGroup = m_dwUndoGroup;
        r.pszText = pImage;
        pImage = NULL;
        StoreUndoRecord(r);
    }
    free(pImage);
    free(pszPiece);
    FreeLines(pChain);
    free(pszCopy);
    return rc;
}

// ------------------------------------------------------------- line images

// An image is the count of lines, then each line's length and bytes (line
// end included; a NUL among them is kept).
size_t TWKEdit::LineImageSize(TWKEditLine* pLine, int nLines)
{
    size_t n = sizeof(int);
    for (int i = 0; i < nLines && pLine; i++, pLine = pLine->pNext)
        n += sizeof(int) + pLine->nLength;
    return n;
}

size_t TWKEdit::WriteLineImage(LPSTR pOut, TWKEditLine* pLine, int nLines)
{
    LPSTR p = pOut + sizeof(int);
    int nWritten = 0;
    for (; nWritten < nLines && pLine; nWritten++, pLine = pLine->pNext)
    {
        memcpy(p, &pLine->nLength, sizeof(int));
        memcpy(p + sizeof(int), pLine->pText, pLine->nLength);
        p += sizeof(int) + pLine->nLength;
    }
    memcpy(pOut, &nWritten, sizeof(int));
    return (size_t)(p - pOut);
}

// The lines of an image take the place of nLines lines from nStartLine: the
// nodes there keep their marks and take the texts, nodes are added or
// removed after them as the counts differ.
void TWKEdit::ReplaceWithLineImage(int nStartLine, int nLines, LPCSTR pImage)
{
    int nNew;
    memcpy(&nNew, pImage, sizeof(int));
    LPCSTR p = pImage + sizeof(int);
    TWKEditLine* pLine = GetLine(nStartLine);
    TWKEditLine* pPrev = pLine ? pLine->pPrev : NULL;
    TWKEditLine* pFirst = pLine;
    for (int i = 0; i < nNew; i++)
    {
        int nLength;
        memcpy(&nLength, p, sizeof(int));
        p += sizeof(int);
        if (i >= nLines || !pLine)
        {
            TWKEditLine* pNew = pPrev ? NewLine(nLength + 1) : NULL;
            if (!pNew)
                break;
            pNew->pPrev = pPrev;
            pNew->pNext = pPrev->pNext;
            if (pNew->pNext)
                pNew->pNext->pPrev = pNew;
            pPrev->pNext = pNew;
            pLine = pNew;
        }
        else if (!GrowLine(pLine, nLength + 1))
            break;
        memcpy(pLine->pText, p, nLength);
        pLine->pText[nLength] = 0;
        pLine->nLength = nLength;
        p += nLength;
        pPrev = pLine;
        pLine = i + 1 < nLines ? pLine->pNext : NULL;
    }
    // Lines the image has no text for go.
    for (int i = nNew; i < nLines && pPrev && pPrev->pNext; i++)
    {
        TWKEditLine* pGone = pPrev->pNext;
        UnlinkLine(pGone);
        FreeLine(pGone);
    }
    NoteChange();
    m_nLineCount = RenumberFrom(pFirst);
}

// ----------------------------------------------------------- ranges, blocks

int TWKEdit::DeleteRange(TWKEditPos from, TWKEditPos to, BOOL bUndo)
{
    TWKEditChangeScope scope(this);
    if (m_bReadOnly)
        return IDS_TWK_READONLY;
    if (!from.pLine || !to.pLine || (from.pLine == to.pLine && from.nOffset == to.nOffset))
        return IDS_TWK_NOSELECTION;
    TWKEditUndoRecord r = MakeRecord(UNDO_TEXT_DELETED, from.pLine->nLineNo, from.nOffset, to.pLine->nLineNo,
                                     to.nOffset);
    LPSTR pszCopy = NULL;
    if (bUndo)
    {
        // A part of one line needs no line ends converted: it goes into
        // the record as it stands.
        if (from.pLine == to.pLine && m_nLineEndType == 0)
        {
            int nVisible = VisibleEnd(from.pLine);
            int a = from.nOffset < 0 ? 0 : from.nOffset > nVisible ? nVisible : from.nOffset;
            int b = to.nOffset < 0 ? 0 : to.nOffset > nVisible ? nVisible : to.nOffset;
            pszCopy = RecordText(from.pLine->pText ? from.pLine->pText + a : "", b > a ? b - a : 0);
        }
        else
            pszCopy = CopyRange(from, to);
        if (!pszCopy)
            return IDS_TWK_NOMEMORY;
    }
    int rc = 0;
    if (from.pLine == to.pLine)
    {
        rc = DeleteChars(from, to.nOffset - from.nOffset, FALSE);
        if (rc == IDS_TWK_JOINLINE)
            rc = 0;
    }
    else
    {
        TWKEditLine* pFrom = from.pLine;
        TWKEditLine* pTo = to.pLine;
        if (pFrom->pText && from.nOffset >= 0 && from.nOffset < VisibleEnd(pFrom))
        {
            pFrom->nLength = from.nOffset;
            pFrom->pText[from.nOffset] = 0;
        }
        // Never cut into the line end of the last line of the range.
        int nToVisible = VisibleEnd(pTo);
        if (to.nOffset > nToVisible)
        {
            to.nOffset = nToVisible;
            r.nEndOffset = nToVisible;
        }
        if (to.nOffset > 0)
        {
            TWKEditPos s = { pTo, 0 };
            rc = DeleteChars(s, to.nOffset, FALSE);
            if (rc == IDS_TWK_JOINLINE)
                rc = 0;
        }
        if (!rc)
        {
            TWKEditLine* p = pFrom->pNext;
            while (p && p != pTo)
            {
                TWKEditLine* pNext = p->pNext;
                UnlinkLine(p);
                if (m_pFirstLine == p)
                    m_pFirstLine = pFrom;
                FreeLine(p);
                m_nLineCount--;
                p = pNext;
            }
            rc = JoinLine(from, FALSE);
            if (rc == IDS_TWK_ENDOFFILE)
                rc = 0;
        }
    }
    if (!rc)
    {
        if (bUndo)
            AddUndoRecordEx(&r, NULL, pszCopy), pszCopy = NULL;
        NoteChange();
    }
    FreeRecordText(pszCopy);
    return rc;
}

int TWKEdit::DeleteColumn(TWKEditPos a, TWKEditPos b, BOOL bUndo)
{
    return DeleteBlock(a, b, bUndo, FALSE);
}

int TWKEdit::DeleteBlock(TWKEditPos a, TWKEditPos b, BOOL bUndo, BOOL bByteWidth)
{
    TWKEditChangeScope scope(this);
    if (m_bReadOnly)
        return IDS_TWK_READONLY;
    if (!a.pLine || !b.pLine)
        return IDS_TWK_NOSELECTION;
    TWKEditPos top = a, bottom = b;
    if (!IsPosAtOrBefore(a, b))
    {
        top = b;
        bottom = a;
    }
    // The block is the same whichever corner the positions name.
    if (top.nOffset > bottom.nOffset)
    {
        int n = top.nOffset;
        top.nOffset = bottom.nOffset;
        bottom.nOffset = n;
    }
    LPSTR pszCopy = NULL;
    if (bUndo)
    {
        pszCopy = CopyColumn(top, bottom);
        if (!pszCopy)
            return IDS_TWK_NOMEMORY;
    }
    // A selected block is a range of columns, read on each corner's own line
    // as the copy reads it: each line loses the bytes in those columns, so a
    // tab on one line does not make another lose the wrong bytes. A column
    // insert put the same number of bytes on every line, whatever their width.
    int nColA = OffsetToColumn(a.pLine, a.nOffset), nColB = OffsetToColumn(b.pLine, b.nOffset);
    int nStartCol = nColA < nColB ? nColA : nColB;
    int nEndCol = nColA < nColB ? nColB : nColA;
    if (bByteWidth)
    {
        nStartCol = OffsetToColumn(top.pLine, top.nOffset);
        nEndCol = -1;
    }
    int rc = 0;
    for (TWKEditLine* p = top.pLine; p; p = p->pNext)
    {
        TWKEditPos q = { p, ColumnToOffset(p, nStartCol) };
        int nWidth = bByteWidth ? bottom.nOffset - top.nOffset : ColumnToOffset(p, nEndCol) - q.nOffset;
        rc = nWidth > 0 ? DeleteChars(q, nWidth, FALSE) : 0;
        if (rc == IDS_TWK_JOINLINE)
            rc = 0;
        if (p == bottom.pLine)
            break;
    }
    if (!rc)
    {
        NoteChange();
        if (bUndo)
        {
            TWKEditUndoRecord r = MakeRecord(UNDO_COLUMN_DELETED, top.pLine->nLineNo, top.nOffset, bottom.pLine->nLineNo,
                                             bottom.nOffset);
            AddUndoRecord(&r, pszCopy);
        }
    }
    free(pszCopy);
    return rc;
}

// -------------------------------------------------------------------- lines

int TWKEdit::SplitLine(TWKEditPos pos, BOOL bUndo)
{
    TWKEditChangeScope scope(this);
    if (m_bReadOnly)
        return IDS_TWK_READONLY;
    TWKEditLine* pLine = pos.pLine;
    if (!pLine)
        return IDS_TWK_NOTEXT;
    int off = pos.nOffset < 0 ? 0 : pos.nOffset;
    int nVisible = VisibleEnd(pLine);
    bool bHasEnd = nVisible != pLine->nLength;
    TWKEditLine* pNew;
    if (off <= nVisible)
    {
        int nRest = pLine->nLength - off;
        pNew = NewLine(nRest + m_nLineEndLen);
        if (!pNew || !GrowLine(pLine, off + m_nLineEndLen))
        {
            FreeLine(pNew);
            return IDS_TWK_NOMEMORY;
        }
        if (nRest > 0)
            memcpy(pNew->pText, pLine->pText + off, nRest);
        pNew->nLength = nRest;
        memcpy(pLine->pText + off, m_szLineEnd, m_nLineEndLen);
        pLine->nLength = off + m_nLineEndLen;
        pLine->pText[pLine->nLength] = 0;
    }
    else
    {
        pNew = NewLine(m_nLineEndLen);
        if (!pNew)
            return IDS_TWK_NOMEMORY;
        if (bHasEnd)
        {
            memcpy(pNew->pText, m_szLineEnd, m_nLineEndLen);
            pNew->nLength = m_nLineEndLen;
        }
        else
        {
            // The last line without a line end: it takes one and the new
            // last line stays without, so the text keeps its shape.
            if (!GrowLine(pLine, pLine->nLength + m_nLineEndLen))
            {
                FreeLine(pNew);
                return IDS_TWK_NOMEMORY;
            }
            memcpy(pLine->pText + pLine->nLength, m_szLineEnd, m_nLineEndLen);
            pLine->nLength += m_nLineEndLen;
            pLine->pText[pLine->nLength] = 0;
        }
    }
    InsertLineAfter(pNew, pLine);
    m_nLineCount = RenumberFrom(pNew);
    if (bUndo)
    {
        TWKEditUndoRecord r = MakeRecord(UNDO_LINE_SPLIT, pLine->nLineNo, off);
        AddUndoRecord(&r, NULL);
    }
    NoteChange();
    return 0;
}

int TWKEdit::JoinLine(TWKEditPos pos, BOOL bUndo)
{
    TWKEditChangeScope scope(this);
    if (m_bReadOnly)
        return IDS_TWK_READONLY;
    TWKEditLine* pLine = pos.pLine;
    if (!pLine)
        return IDS_TWK_NOTEXT;
    TWKEditLine* pNext = pLine->pNext;
    if (!pNext)
        return IDS_TWK_ENDOFFILE;
    int nFirst = OffsetToColumn(pLine, pLine->nLength > pos.nOffset ? pLine->nLength : pos.nOffset);
    if (nFirst + OffsetToColumn(pNext, pNext->nLength) > TWK_MAX_COLUMNS)
        return IDS_TWK_LINETOOLONG;

    SetUndoGroup(TRUE);
    TWKEditPos p = pos;
    int rc = PadToPosition(&p, bUndo);
    if (!rc && (pNext->dwFlags & LINE_BOOKMARK) && pLine->nLength == 2 && pLine->pText[0] == '\r' &&
        pLine->pText[1] == '\n')
        pLine->dwFlags |= LINE_BOOKMARK;
    int nVisible = VisibleEnd(pLine);
    if (!rc && !GrowLine(pLine, nVisible + pNext->nLength))
        rc = IDS_TWK_NOMEMORY;
    if (rc)
    {
        SetUndoGroup(FALSE);
        return rc;
    }
    if (pNext->nLength > 0 && pNext->pText)
        memcpy(pLine->pText + nVisible, pNext->pText, pNext->nLength);
    pLine->nLength = nVisible + (pNext->pText ? pNext->nLength : 0);
    pLine->pText[pLine->nLength] = 0;
    pLine->pNext = pNext->pNext;
    if (pNext->pNext)
        pNext->pNext->pPrev = pLine;
    if (m_pFirstLine == pNext)
        m_pFirstLine = pLine;
    FreeLine(pNext);
    m_nLineCount--;
    if (pLine->pNext)
        RenumberFrom(pLine->pNext);
    NoteChange();
    if (bUndo)
    {
        TWKEditUndoRecord r = MakeRecord(UNDO_LINES_JOINED, pLine->nLineNo, p.nOffset);
        AddUndoRecord(&r, NULL);
    }
    SetUndoGroup(FALSE);
    return 0;
}

int TWKEdit::InsertFile(TWKEditPos* pPos, LPCSTR pszPath, BOOL bUndo)
{
    TWKEditChangeScope scope(this);
    if (m_bReadOnly)
        return IDS_TWK_READONLY;
    if (!pPos || !pPos->pLine)
        return IDS_TWK_NOTEXT;
    if (pPos->nOffset > 0)
        pPos->nOffset = 0;
    TWKEdit* pTemp = new (std::nothrow) TWKEdit;
    if (!pTemp)
        return IDS_TWK_NOMEMORY;
    pTemp->SetTabSize(m_nTabSize);
    int rc = pTemp->LoadFile(pszPath);
    if (rc)
    {
        delete pTemp;
        return rc;
    }
    TWKEditLine* pHead = GetFirstLine(pTemp->m_pFirstLine);
    int nLines = pTemp->m_nLineCount;
    if (nLines == 1 && pHead->nLength == 0)
    {
        delete pTemp;   // an empty file inserts nothing
        return 0;
    }
    // The file's lines take this store's line end; its last line gets one.
    for (TWKEditLine* p = pHead; p; p = p->pNext)
    {
        int nVisible = pTemp->VisibleEnd(p);
        bool bHasEnd = nVisible != p->nLength;
        if (!bHasEnd && p->pNext)
            continue;   // a piece of a wrapped line
        if (bHasEnd && pTemp->m_nLineEndType == m_nLineEndType)
            continue;
        if (!GrowLine(p, nVisible + m_nLineEndLen))
        {
            delete pTemp;
            return IDS_TWK_NOMEMORY;
        }
        memcpy(p->pText + nVisible, m_szLineEnd, m_nLineEndLen);
        p->nLength = nVisible + m_nLineEndLen;
        p->pText[p->nLength] = 0;
    }
    pTemp->m_pFirstLine = NULL;
    delete pTemp;

    TWKEditLine* pTail = GetLastLine(pHead);
    TWKEditLine* pLine = pPos->pLine;
    if (pLine->pPrev)
        pLine->pPrev->pNext = pHead;
    pHead->pPrev = pLine->pPrev;
    pTail->pNext = pLine;
    pLine->pPrev = pTail;
    pPos->pLine = pHead;
    m_nLineCount = RenumberLines(m_pFirstLine);
    if (bUndo)
    {
        TWKEditUndoRecord r = MakeRecord(UNDO_FILE_INSERTED, pHead->nLineNo, 0, pHead->nLineNo + nLines, 0);
        AddUndoRecord(&r, pszPath);
    }
    NoteChange();
    return 0;
}

// ------------------------------------------------------------------- copies

LPSTR TWKEdit::CopyRange(TWKEditPos from, TWKEditPos to)
{
    if (!from.pLine || !to.pLine)
        return NULL;
    auto clamp = [](int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; };
    size_t nTotal = 0;
    if (from.pLine == to.pLine)
    {
        int ve = VisibleEnd(from.pLine);
        int a = clamp(from.nOffset, 0, ve), b = clamp(to.nOffset, 0, ve);
        nTotal = b > a ? b - a : 0;
    }
    else
    {
        int a = clamp(from.nOffset, 0, VisibleEnd(from.pLine));
        nTotal = from.pLine->nLength - a;
        TWKEditLine* p = from.pLine->pNext;
        for (; p && p != to.pLine; p = p->pNext)
            nTotal += p->nLength;
        if (p)
            nTotal += clamp(to.nOffset, 0, VisibleEnd(p));
    }
    if (nTotal > (size_t)INT_MAX - 64)
        return NULL;
    LPSTR pszOut = (LPSTR)AllocZeroed(nTotal + 16);
    if (!pszOut)
        return NULL;
    size_t k = 0;
    if (from.pLine == to.pLine)
    {
        if (nTotal)
            memcpy(pszOut, from.pLine->pText + clamp(from.nOffset, 0, VisibleEnd(from.pLine)), nTotal);
        k = nTotal;
    }
    else
    {
        int a = clamp(from.nOffset, 0, VisibleEnd(from.pLine));
        memcpy(pszOut, from.pLine->pText + a, from.pLine->nLength - a);
        k = from.pLine->nLength - a;
        TWKEditLine* p = from.pLine->pNext;
        for (; p && p != to.pLine; p = p->pNext)
        {
            if (p->pText)
                memcpy(pszOut + k, p->pText, p->nLength);
            k += p->nLength;
        }
        if (p)
        {
            int b = clamp(to.nOffset, 0, VisibleEnd(p));
            memcpy(pszOut + k, p->pText, b);
            k += b;
        }
    }
    return FinishCopy(pszOut, k);
}

LPSTR TWKEdit::ExpandTabsCopy(LPCSTR pszText, int nCount, int nTabSize, int nLineEndLen, int* pnOutLength)
{
    if (nTabSize < 1)
        nTabSize = 4;
    if (nCount < 0)
        nCount = 0;
    if (!memchr(pszText, '\t', nCount))
    {
        if (pnOutLength)
            *pnOutLength = nCount;
        return CopyText(pszText, nCount);
    }
    int nOut = TWKEditExpandTabs(pszText, nCount, nTabSize, nLineEndLen, FALSE, NULL, INT_MAX);
    LPSTR pszOut = (LPSTR)malloc((size_t)nOut + 1);
    if (!pszOut)
        return NULL;
    TWKEditExpandTabs(pszText, nCount, nTabSize, nLineEndLen, FALSE, pszOut, nOut);
    pszOut[nOut] = 0;
    if (pnOutLength)
        *pnOutLength = (int)nOut;
    return pszOut;
}

LPSTR TWKEdit::CopyColumn(TWKEditPos a, TWKEditPos b)
{
    if (!a.pLine || !b.pLine)
        return NULL;
    TWKEditPos top = a, bottom = b;
    if (!IsPosAtOrBefore(a, b))
    {
        top = b;
        bottom = a;
    }
    // Each position's column on its own line: with a tab before one of them
    // its byte offset means another column on the other line.
    int nColA = OffsetToColumn(a.pLine, a.nOffset), nColB = OffsetToColumn(b.pLine, b.nOffset);
    int nStartCol = nColA < nColB ? nColA : nColB;
    int nEndCol = nColA < nColB ? nColB : nColA;
    int nWidth = nEndCol - nStartCol;

    int nLines = 0;
    for (TWKEditLine* p = top.pLine; p; p = p->pNext)
    {
        nLines++;
        if (p == bottom.pLine)
            break;
    }
    size_t nTotal = (size_t)nLines * (nWidth + m_nLineEndLen);
    LPSTR pszOut = (LPSTR)AllocZeroed(nTotal + 16);
    if (!pszOut)
        return NULL;
    size_t k = 0;
    for (TWKEditLine* p = top.pLine; p; p = p->pNext)
    {
        int nExp = 0;
        LPSTR pszExp = p->pText ? ExpandTabsCopy(p->pText, VisibleEnd(p), m_nTabSize, m_nLineEndLen, &nExp)
                                : CopyText("", 0);
        if (!pszExp)
        {
            free(pszOut);
            return NULL;
        }
        if (nExp >= nEndCol)
            memcpy(pszOut + k, pszExp + nStartCol, nWidth);
        else if (nExp <= nStartCol)
            memset(pszOut + k, ' ', nWidth);
        else
        {
            memcpy(pszOut + k, pszExp + nStartCol, nExp - nStartCol);
            memset(pszOut + k + (nExp - nStartCol), ' ', nEndCol - nExp);
        }
        free(pszExp);
        k += nWidth;
        if (p == bottom.pLine)
            break;
        memcpy(pszOut + k, m_szLineEnd, m_nLineEndLen);
        k += m_nLineEndLen;
    }
    return FinishCopy(pszOut, k);
}

// ----------------------------------------------------------------- undo log

void TWKEdit::ResetUndo()
{
    m_nSavedUndoPos = 0;
    m_nUndoPos = 0;
    m_dwUndoGroup = 0;
    m_nUndoCount = 0;
    m_pReplayLine = NULL;
}

void TWKEdit::FreeUndo()
{
    if (m_pUndo)
    {
        FreeRecordTexts(m_pUndo, TWK_UNDO_SIZE);
        memset(m_pUndo, 0, sizeof(TWKEditUndoRecord) * TWK_UNDO_SIZE);
    }
    ResetUndo();
}

int TWKEdit::AddUndoRecord(const TWKEditUndoRecord* pRec, LPCSTR pszText)
{
    return AddUndoRecordEx(pRec, pszText, NULL);
}

int TWKEdit::AddUndoRecordEx(const TWKEditUndoRecord* pRec, LPCSTR pszText, LPSTR pszOwned)
{
    if (!m_pUndo || !pRec)
    {
        FreeRecordText(pszOwned);
        return 0;
    }
    TWKEditUndoRecord r;
    memset(&r, 0, sizeof(r));
    r.nType = pRec->nType;
    r.nStartLine = pRec->nStartLine;
    r.nStartOffset = pRec->nStartOffset;
    r.dwGroup = m_dwUndoGroup;
    switch (pRec->nType)
    {
    case UNDO_CHAR_INSERTED:
    case UNDO_CHAR_DELETED:
        r.chNew = pRec->chNew;
        break;
    case UNDO_CHAR_OVERWRITTEN:
        r.chNew = pRec->chNew;
        r.chOld = pRec->chOld;
        break;
    case UNDO_TEXT_DELETED:
    case UNDO_TEXT_INSERTED:
    case UNDO_COLUMN_DELETED:
    case UNDO_COLUMN_INSERTED:
    case UNDO_FILE_INSERTED:
        r.nEndLine = pRec->nEndLine;
        r.nEndOffset = pRec->nEndOffset;
        if (pszOwned && !(r.nEndLine == r.nStartLine && r.nEndOffset == r.nStartOffset))
            r.pszText = pszOwned, pszOwned = NULL;
        else if (pszText && !(r.nEndLine == r.nStartLine && r.nEndOffset == r.nStartOffset))
        {
            r.pszText = RecordText(pszText, (int)strlen(pszText));
            if (!r.pszText)
            {
                m_nSavedUndoPos = -1;   // a change without its record
                return 0;
            }
        }
        if (r.nStartLine > r.nEndLine)
        {
            int n = r.nStartLine; r.nStartLine = r.nEndLine; r.nEndLine = n;
            n = r.nStartOffset; r.nStartOffset = r.nEndOffset; r.nEndOffset = n;
        }
        break;
    default:
        break;
    }
    FreeRecordText(pszOwned);
    StoreUndoRecord(r);
    return 1;
}

void TWKEdit::StoreUndoRecord(const TWKEditUndoRecord& r)
{
    if (!m_pUndo)
    {
        FreeRecordText(r.pszText);
        return;
    }
    // A new record discards what could be redone; only a log full up to
    // the position itself drops its oldest quarter.
    if (m_nUndoCount > m_nUndoPos)
    {
        FreeRecordTexts(m_pUndo + m_nUndoPos, m_nUndoCount - m_nUndoPos);
        memset(m_pUndo + m_nUndoPos, 0, sizeof(TWKEditUndoRecord) * (m_nUndoCount - m_nUndoPos));
    }
    m_nUndoCount = m_nUndoPos;
    if (m_nSavedUndoPos > m_nUndoPos)
        m_nSavedUndoPos = -1;   // the saved text lay among the discarded records
    if (m_nUndoPos >= TWK_UNDO_SIZE)
    {
        m_nSavedUndoPos = m_nSavedUndoPos >= TWK_UNDO_DROP ? m_nSavedUndoPos - TWK_UNDO_DROP : -1;
        FreeRecordTexts(m_pUndo, TWK_UNDO_DROP);
        memmove(m_pUndo, m_pUndo + TWK_UNDO_DROP, sizeof(TWKEditUndoRecord) * (TWK_UNDO_SIZE - TWK_UNDO_DROP));
        memset(m_pUndo + TWK_UNDO_SIZE - TWK_UNDO_DROP, 0, sizeof(TWKEditUndoRecord) * TWK_UNDO_DROP);
        m_nUndoPos -= TWK_UNDO_DROP;
        m_nUndoCount -= TWK_UNDO_DROP;
    }
    FreeRecordText(m_pUndo[m_nUndoPos].pszText);
    m_pUndo[m_nUndoPos] = r;
    m_nUndoPos++;
    m_nUndoCount = m_nUndoPos;
    m_nRecordsAdded++;
}

void TWKEdit::SetUndoGroup(BOOL bOpen)
{
    if (bOpen)
    {
        if (s_nOpenUndoGroups == 0)
            m_dwUndoGroup = NewUndoGroupId();
        s_nOpenUndoGroups++;
    }
    else if (s_nOpenUndoGroups > 0)
    {
        if (--s_nOpenUndoGroups == 0)
            m_dwUndoGroup = 0;
    }
}

DWORD TWKEdit::NewUndoGroupId()
{
    // Undo and Redo chain neighbours only; new records follow m_nUndoPos - 1.
    DWORD dwPrevious = m_pUndo && m_nUndoPos > 0 ? m_pUndo[m_nUndoPos - 1].dwGroup : 0;
    DWORD dwId = GetTickCount();
    while (dwId == 0 || dwId == dwPrevious)
        dwId++;
    return dwId;
}

void TWKEdit::ReplayUndo(const TWKEditUndoRecord& rec)
{
    TWKEditPos start = PosOf(rec.nStartLine, rec.nStartOffset);
    switch (rec.nType)
    {
    case UNDO_CHAR_INSERTED:
        DeleteChar(start, FALSE);
        break;
    case UNDO_CHAR_DELETED:
        InsertChar(start, (char)rec.chNew, TRUE, FALSE);
        break;
    case UNDO_TEXT_DELETED:
        if (rec.pszText)
            InsertText(start, rec.pszText, (int)strlen(rec.pszText), FALSE);
        break;
    case UNDO_TEXT_INSERTED:
    case UNDO_FILE_INSERTED:
        DeleteRange(start, PosOf(rec.nEndLine, rec.nEndOffset), FALSE);
        break;
    case UNDO_LINE_SPLIT:
        JoinLine(start, FALSE);
        break;
    case UNDO_LINES_JOINED:
        SplitLine(start, FALSE);
        break;
    case UNDO_CHAR_OVERWRITTEN:
        if (rec.chOld == (BYTE)m_szLineEnd[0] || rec.chOld == 0)
            DeleteChar(start, FALSE);
        else
            InsertChar(start, (char)rec.chOld, FALSE, FALSE);
        break;
    case UNDO_COLUMN_DELETED:
        if (rec.pszText)
            InsertColumnText(start, rec.pszText, (int)strlen(rec.pszText), FALSE);
        break;
    case UNDO_COLUMN_INSERTED:
        if (rec.pszText)
        {
            LPCSTR pAfter = rec.pszText + LineImageLength(rec.pszText);
            int nAfter;
            memcpy(&nAfter, pAfter, sizeof(int));
            ReplaceWithLineImage(rec.nStartLine, nAfter, rec.pszText);
        }
        break;
    default:
        break;
    }
}

void TWKEdit::ReplayRedo(const TWKEditUndoRecord& rec)
{
    TWKEditPos start = PosOf(rec.nStartLine, rec.nStartOffset);
    switch (rec.nType)
    {
    case UNDO_CHAR_INSERTED:
        InsertChar(start, (char)rec.chNew, TRUE, FALSE);
        break;
    case UNDO_CHAR_DELETED:
        DeleteChar(start, FALSE);
        break;
    case UNDO_TEXT_DELETED:
        DeleteRange(start, PosOf(rec.nEndLine, rec.nEndOffset), FALSE);
        break;
    case UNDO_TEXT_INSERTED:
        if (rec.pszText)
            InsertText(start, rec.pszText, (int)strlen(rec.pszText), FALSE);
        break;
    case UNDO_LINE_SPLIT:
        SplitLine(start, FALSE);
        break;
    case UNDO_LINES_JOINED:
        JoinLine(start, FALSE);
        break;
    case UNDO_CHAR_OVERWRITTEN:
        InsertChar(start, (char)rec.chNew, FALSE, FALSE);
        break;
    case UNDO_COLUMN_DELETED:
        DeleteColumn(start, PosOf(rec.nEndLine, rec.nEndOffset), FALSE);
        break;
    case UNDO_COLUMN_INSERTED:
        if (rec.pszText)
        {
            int nBefore;
            memcpy(&nBefore, rec.pszText, sizeof(int));
            ReplaceWithLineImage(rec.nStartLine, nBefore, rec.pszText + LineImageLength(rec.pszText));
        }
        break;
    case UNDO_FILE_INSERTED:
        if (rec.pszText)
            InsertFile(&start, rec.pszText, FALSE);
        break;
    default:
        break;
    }
}

TWKEditLine* TWKEdit::GetReplayedLine(int nLine) const
{
    return m_pReplayLine && nLine == m_nReplayLineNo ? m_pReplayLine : NULL;
}

TWKEditPos TWKEdit::PosOf(int nLine, int nOffset)
{
    TWKEditPos p = { NULL, nOffset };
    if (m_bReplaying && m_pReplayLine && nLine == m_nReplayLineNo)
        p.pLine = m_pReplayLine;
    else
        p.pLine = GetLine(nLine);
    m_pReplayLine = m_bReplaying ? p.pLine : NULL;
    m_nReplayLineNo = nLine;
    return p;
}

BOOL TWKEdit::IsUndoChained(const TWKEditUndoRecord& a, const TWKEditUndoRecord& b)
{
    if (a.dwGroup != 0 && a.dwGroup == b.dwGroup)
        return TRUE;
    return a.nType == b.nType && IsGroupedType(a.nType) && a.nStartLine == b.nStartLine;
}

int TWKEdit::Undo()
{
    if (!m_pUndo || m_nUndoPos <= 0)
        return 0;
    m_bReplaying = TRUE;
    m_pReplayLine = NULL;
    bool bLines = false;
    for (;;)
    {
        TWKEditUndoRecord rec = m_pUndo[m_nUndoPos - 1];
        ReplayUndo(rec);
        if (!KeepsLines(rec))
            bLines = true, m_pReplayLine = NULL;
        m_nUndoPos--;
        if (m_nUndoPos == 0 || !Chained(rec, m_pUndo[m_nUndoPos - 1]))
            break;
    }
    // The line of the last record stays known when that record kept the lines.
    m_bReplaying = FALSE;
    if (bLines)
        m_nLineCount = RenumberLines(m_pFirstLine);
    return 1;
}

int TWKEdit::Redo()
{
    if (!m_pUndo || m_nUndoCount == 0 || m_nUndoPos + 1 > m_nUndoCount)
        return 0;
    m_bReplaying = TRUE;
    m_pReplayLine = NULL;
    bool bLines = false;
    for (;;)
    {
        TWKEditUndoRecord rec = m_pUndo[m_nUndoPos];
        ReplayRedo(rec);
        if (!KeepsLines(rec))
            bLines = true, m_pReplayLine = NULL;
        m_nUndoPos++;
        if (m_nUndoPos >= m_nUndoCount || !Chained(rec, m_pUndo[m_nUndoPos]))
            break;
    }
    // The line of the last record stays known when that record kept the lines.
    m_bReplaying = FALSE;
    if (bLines)
        m_nLineCount = RenumberLines(m_pFirstLine);
    return 1;
}
