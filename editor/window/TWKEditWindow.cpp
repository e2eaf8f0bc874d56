// What both flavours of the editing window share outside the template: the
// hint object, the per-process OLE set-up and the coloured line drawing.
#include "editor/window/TWKEditCore.h"
#include "editor/store/TWKEditColour.h"
#include <ole2.h>
#include <cstring>

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

struct KeywordPainter
{
    TWKEdit* pEdit;
    HDC hDC;
    const TextMeasure* pMeasure;
    LPSTR pszText;
    int nFirstCol;
    int x;
    int y;
};

// Draws a keyword run in its colour as soon as the store reports it.
void DrawKeywordRun(void* pContext, int nStart, int nEnd)
{
    KeywordPainter& k = *static_cast<KeywordPainter*>(pContext);
    int nFrom = nStart > k.nFirstCol ? nStart : k.nFirstCol;
    if (nEnd <= nFrom)
        return;
    ::SetTextColor(k.hDC, k.pEdit->m_crKeyword);
    int x = k.x + k.pMeasure->Width(k.pszText + k.nFirstCol, nFrom - k.nFirstCol);
    ::TextOutA(k.hDC, x, k.y, k.pszText + nFrom, nEnd - nFrom);
}

} // namespace

int TWKEditDrawLineText(TWKEdit* pEdit, TWKEditLine* pLine, LPSTR pszText, int nLength, int nFirstCol,
                        int nMaxChars, BOOL bColour, CDC* pDC, int x, int y)
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

    BYTE classes[TWK_LINE_BUFFER];
    TextMeasure measure(hAttrib);
    KeywordPainter painter = {pEdit, hDC, &measure, pszText, nFirstCol, x, y};
    TWKEditClassifyText(pEdit, pLine, pszText, nLength, classes, DrawKeywordRun, &painter);

    // Segments of one class, left to right; keywords were drawn above.
    int xSeg = x;
    int nSeg = nFirstCol;
    for (int i = nFirstCol; i <= nLength; ++i)
    {
        if (i < nLength && classes[i] == classes[nSeg])
            continue;
        if (i > nSeg)
        {
            BYTE c = classes[nSeg];
            int nCount = i - nSeg;
            int nDraw = nCount < nMaxChars ? nCount : nMaxChars;
            COLORREF cr = CLR_INVALID;
            if (c & CLASS_COMMENT)
                cr = pEdit->m_crComment;
            else if (c & CLASS_QUOTE)
                cr = pEdit->m_crQuote;
            else if (!(c & CLASS_KEYWORD))
                cr = pEdit->m_crDefaultText;
            else if (i == nLength)
                cr = pEdit->m_crKeyword;
            if (cr != CLR_INVALID && nDraw > 0)
            {
                ::SetTextColor(hDC, cr);
                ::TextOutA(hDC, xSeg, y, pszText + nSeg, nDraw);
            }
            xSeg += measure.Width(pszText + nSeg, nCount);
        }
        nSeg = i;
    }
    ::SetTextColor(hDC, pEdit->m_crDefaultText);
    return 1;
}
