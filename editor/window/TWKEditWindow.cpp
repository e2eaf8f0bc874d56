// What both flavours of the editing window share outside the template: the
// hint object, the per-process OLE set-up and the coloured line drawing.
#include "editor/window/TWKEditCore.h"
#include "editor/store/TWKEditColour.h"
#include <ole2.h>
#include <cstring>
#include <utility>
#include <vector>

IMPLEMENT_DYNAMIC(TWKEditHint, CObject)

TWKEditDragState& TWKEditGetDragState()
{
    static TWKEditDragState state;
    return state;
}

BOOL TWKEditIsColumnBlock(LPCSTR pszText, int nLength)
{
    return pszText && nLength >= TWK_COLUMN_MARKER_LEN && memcmp(pszText, TWK_COLUMN_MARKER, TWK_COLUMN_MARKER_LEN) == 0;
}

namespace {

// OLE for drag and drop, initialised at program start and undone at exit
// when the start succeeded.
class TWKEditOleInit
{
public:
    TWKEditOleInit() : m_hr(::OleInitialize(NULL)) {}
    ~TWKEditOleInit()
    {
        if (SUCCEEDED(m_hr))
            ::OleUninitialize();
    }

private:
    HRESULT m_hr;
};

TWKEditOleInit s_oleInit;

// Widths of characters as the attribute context measures them. With a
// fixed-pitch font every character is one cell wide, so the line's runs are
// placed without asking the font for each one.
struct TextMeasure
{
    HDC hAttrib;
    int nCell;   // the cell width of a fixed-pitch font, 0 otherwise

    explicit TextMeasure(HDC h) : hAttrib(h), nCell(0)
    {
        TEXTMETRICA tm = {};
        // TMPF_FIXED_PITCH set means a variable pitch.
        if (::GetTextMetricsA(h, &tm) && !(tm.tmPitchAndFamily & TMPF_FIXED_PITCH) && tm.tmOverhang == 0)
            nCell = tm.tmAveCharWidth;
    }
    int Width(LPCSTR pszText, int nCount) const
    {
        if (nCount <= 0)
            return 0;
        if (nCell > 0)
            return nCount * nCell;
        SIZE size = {};
        ::GetTextExtentPoint32A(hAttrib, pszText, nCount, &size);
        return size.cx;
    }
};

struct KeywordRun
{
    int nStart, nEnd;
    COLORREF cr;
};

// Keeps each keyword run with its colour as the store reports it.
void NoteKeywordRun(void* pContext, int nStart, int nEnd)
{
    auto& k = *static_cast<std::pair<TWKEdit*, std::vector<KeywordRun>*>*>(pContext);
    k.second->push_back({nStart, nEnd, k.first->m_crKeyword});
}

} // namespace

int TWKEditDrawLineText(TWKEdit* pEdit, TWKEditLine* pLine, LPSTR pszText, int nLength, int nFirstCol,
                        int nMaxChars, BOOL bColour, CDC* pDC, int x, int y, const RECT* prcRow)
{
    HDC hDC = pDC->m_hDC;
    HDC hAttrib = pDC->m_hAttribDC ? pDC->m_hAttribDC : hDC;
    if (nFirstCol < 0)
        nFirstCol = 0;
    if (nMaxChars < 0)
        nMaxChars = 0;
    if (nLength > TWK_MAX_COLUMNS)
        nLength = TWK_MAX_COLUMNS;
    if (!bColour)
    {
        int n = nLength - nFirstCol;
        if (n > nMaxChars)
            n = nMaxChars;
        return n > 0 ? ::TextOutA(hDC, x, y, pszText + nFirstCol, n) : 0;
    }

    // The keyword runs, kept for the colours (one list per thread, grown
    // once, so a paint does no heap work).
    BYTE classes[TWK_LINE_BUFFER];
    thread_local std::vector<KeywordRun> keywords;
    keywords.clear();
    std::pair<TWKEdit*, std::vector<KeywordRun>*> context(pEdit, &keywords);
    TWKEditClassifyText(pEdit, pLine, pszText, nLength, classes, NoteKeywordRun, &context);

    // A comment shows in its colour, then a quoted string, then a keyword;
    // a line ending in keywords shows them all in the last one's colour.
    int nTail = nLength;
    if (nLength > 0 && (classes[nLength - 1] & (CLASS_KEYWORD | CLASS_COMMENT | CLASS_QUOTE)) == CLASS_KEYWORD)
        while (nTail > 0 && classes[nTail - 1] == classes[nLength - 1])
            nTail--;
    const COLORREF crTail = pEdit->m_crKeyword;
    size_t k = 0;
    auto colourAt = [&](int i) {
        BYTE c = classes[i];
        if (c & CLASS_COMMENT)
            return pEdit->m_crComment;
        if (c & CLASS_QUOTE)
            return pEdit->m_crQuote;
        if (!(c & CLASS_KEYWORD))
            return pEdit->m_crDefaultText;
        if (i >= nTail)
            return crTail;
        while (k < keywords.size() && keywords[k].nEnd <= i)
            k++;
        return k < keywords.size() && keywords[k].nStart <= i ? keywords[k].cr : pEdit->m_crDefaultText;
    };

    // Runs of one colour, left to right, one output each. With a fixed-pitch
    // font a blank joins the run beside it whatever its colour (it shows
    // only the background), so a row costs one call per change of colour
    // among its letters. Characters past the last whole visible column and
    // the one the edge cuts are not drawn. With prcRow each run fills its
    // cells to the row's height and the last one the row to its right end,
    // so the row needs no other fill.
    TextMeasure measure(hAttrib);
    const BOOL bFixed = measure.nCell > 0;
    int nStop = nMaxChars < nLength - nFirstCol ? nFirstCol + nMaxChars + 1 : nLength;
    if (nStop > nLength)
        nStop = nLength;
    COLORREF crCurrent = CLR_INVALID;
    int xRun = prcRow ? prcRow->left : x;
    for (int i = nFirstCol; i < nStop;)
    {
        int nRun = i;
        COLORREF cr = CLR_INVALID;   // none yet: the run is blanks so far
        for (; i < nStop; i++)
        {
            if (bFixed && pszText[i] == ' ')
                continue;
            COLORREF crHere = colourAt(i);
            if (cr == CLR_INVALID && (bFixed || i == nRun))
                cr = crHere;
            else if (crHere != cr)
                break;
        }
        if (cr == CLR_INVALID)
            cr = crCurrent != CLR_INVALID ? crCurrent : colourAt(nRun);
        if (cr != crCurrent)
            ::SetTextColor(hDC, crCurrent = cr);
        int xText = x + measure.Width(pszText + nFirstCol, nRun - nFirstCol);
        if (prcRow)
        {
            int xEnd = i < nStop ? x + measure.Width(pszText + nFirstCol, i - nFirstCol) : prcRow->right;
            RECT rc = {xRun, prcRow->top, xEnd > xRun ? xEnd : xRun, prcRow->bottom};
            ::ExtTextOutA(hDC, xText, y, ETO_OPAQUE, &rc, pszText + nRun, i - nRun, NULL);
            xRun = rc.right;
        }
        else
            ::ExtTextOutA(hDC, xText, y, 0, NULL, pszText + nRun, i - nRun, NULL);
    }
    if (prcRow && nStop <= nFirstCol)
        ::ExtTextOutA(hDC, xRun, prcRow->top, ETO_OPAQUE, prcRow, NULL, 0, NULL);
    ::SetTextColor(hDC, pEdit->m_crDefaultText);
    return 1;
}
