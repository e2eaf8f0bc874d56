// The search step of the store and its text-finding helpers.
#include "editor/store/TWKEdit.h"
#include "editor/store/TWKEditSearch.h"
#include <cstdlib>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

LPSTR TWKEdit::RegexFind(TWKEditSearchInfo* pInfo, LPSTR pszText, TWKEditRegExp* pRegExp)
{
    if (pInfo == NULL || pszText == NULL || pRegExp == NULL)
        return NULL;
    const char* cr = strchr(pszText, '\r');
    int len = cr ? (int)(cr - pszText) : (int)strlen(pszText);
    int at = pRegExp->Exec(pszText, len);
    if (at < 0)
        return NULL;
    pInfo->nMatchLen = pRegExp->GetEnd(0) - pRegExp->GetStart(0);
    if (pInfo->pszReplaceText != NULL)
    {
        char* exp = pRegExp->Substitute(pInfo->pszReplaceText);
        size_t n = exp ? strlen(exp) : 0;
        if (exp == NULL || pInfo->nReplaceSize <= 0 || n >= (size_t)pInfo->nReplaceSize)
        {
            free(exp);
            pInfo->nMatchLen = -1;
            return NULL;
        }
        memcpy(pInfo->pszReplaceText, exp, n + 1);
        free(exp);
    }
    return pszText + at;
}

namespace {

// strnlen, a word at a time: the comment walk asks it for line after line.
// Only aligned words are read, so no read passes the end of the block that
// holds the NUL.
size_t BoundedLength(const char* p, size_t n)
{
    const size_t ones = (size_t)-1 / 255;
    const size_t highs = ones * 0x80;
    size_t i = 0;
    while (i < n && ((uintptr_t)(p + i) & (sizeof(size_t) - 1)) != 0)
    {
        if (!p[i])
            return i;
        ++i;
    }
    for (; i + sizeof(size_t) <= n; i += sizeof(size_t))
    {
        size_t w;
        memcpy(&w, p + i, sizeof(w));
        if ((w - ones) & ~w & highs)
            break;   // a NUL in this word
    }
    while (i < n && p[i])
        ++i;
    return i;
}

// The last byte c among the first n bytes of p, a word at a time; NULL for none.
const char* LastByte(const char* p, size_t n, char c)
{
    const size_t ones = (size_t)-1 / 255;
    const size_t highs = ones * 0x80;
    const size_t want = ones * (unsigned char)c;
    for (; n >= sizeof(size_t); n -= sizeof(size_t))
    {
        size_t w;
        memcpy(&w, p + n - sizeof(size_t), sizeof(w));
        size_t x = w ^ want;
        if ((x - ones) & ~x & highs)
            break;   // c is in this word
    }
    for (; n > 0; --n)
        if (p[n - 1] == c)
            return p + n - 1;
    return NULL;
}

} // namespace

LPSTR TWKEdit::FindFirstExact(LPCSTR pszPattern, LPCSTR pszText, int n)
{
    if (pszPattern == NULL || pszText == NULL || *pszPattern == '\0' || n <= 0)
        return NULL;
    size_t plen = strlen(pszPattern);
    size_t tlen = BoundedLength(pszText, (size_t)n);
    const char* p = pszText;
    const char* end = pszText + tlen;
    while (p < end)
    {
        p = (const char*)memchr(p, pszPattern[0], end - p);
        if (p == NULL)
            return NULL;
        if (strncmp(p, pszPattern, plen) == 0)
            return (LPSTR)p;
        ++p;
    }
    return NULL;
}

LPSTR TWKEdit::FindLastExact(LPCSTR pszPattern, LPCSTR pszText, int n)
{
    if (pszPattern == NULL || pszText == NULL || *pszPattern == '\0' || n <= 0)
        return NULL;
    size_t plen = strlen(pszPattern);
    size_t tlen = BoundedLength(pszText, (size_t)n);
    for (const char* q = LastByte(pszText, tlen, pszPattern[0]); q; q = LastByte(pszText, q - pszText, pszPattern[0]))
        if (strncmp(q, pszPattern, plen) == 0)
            return (LPSTR)q;
    return NULL;
}

int TWKEdit::HasRegexChars(LPCSTR pszText)
{
    return pszText != NULL && strpbrk(pszText, "$*+.?[\\]^") != NULL;
}

namespace {

void FoldLower(char* p, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (p[i] >= 'A' && p[i] <= 'Z')
            p[i] = (char)(p[i] - 'A' + 'a');
}

// The searched part of a line, copied and folded; the store is never changed.
struct PartBuffer
{
    std::vector<char> buf;
    int len = 0;
    char* Fill(const TWKEditLine* pLine, int from, int to, BOOL bFold)
    {
        const char* text = pLine->pText ? pLine->pText : "";
        int n = pLine->pText ? pLine->nLength : 0;
        if (to > n)
            to = n;
        if (from < 0)
            from = 0;
        len = to > from ? to - from : 0;
        buf.resize((size_t)len + 1);
        memcpy(buf.data(), text + from, len);
        buf[len] = '\0';
        if (bFold)
            FoldLower(buf.data(), len);
        return buf.data();
    }
};

inline char FoldChar(char c)
{
    return c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
}

// The first byte in [p, end) that is the lower-case letter or its capital,
// looked for a word at a time.
const char* FindEitherCase(const char* p, const char* end, char lower)
{
    const size_t ones = (size_t)-1 / 255;
    const size_t highs = ones * 0x80;
    const size_t want = ones * (unsigned char)lower;
    const size_t caseBit = ones * 0x20;
    for (;;)
    {
        while (end - p >= (ptrdiff_t)sizeof(size_t))
        {
            size_t w;
            memcpy(&w, p, sizeof(w));
            size_t x = (w | caseBit) ^ want;
            if ((x - ones) & ~x & highs)
                break;   // a byte of this word is the letter in either case
            p += sizeof(size_t);
        }
        const char* stop = end - p > (ptrdiff_t)sizeof(size_t) ? p + sizeof(size_t) : end;
        for (; p < stop; ++p)
            if ((*p | 0x20) == lower)
                return p;
        if (p >= end)
            return NULL;
    }
}

// Whether the pattern (lower case when folding) lies at p.
inline bool SameAt(const char* p, const char* pat, size_t plen, BOOL bFold)
{
    if (!bFold)
        return memcmp(p, pat, plen) == 0;
    for (size_t i = 0; i < plen; ++i)
        if (FoldChar(p[i]) != pat[i])
            return false;
    return true;
}

// The first match of the pattern in a line's own text that starts within the
// first nStarts bytes and ends within nLength; no copy of the line is made.
const char* FindForward(const char* pat, size_t plen, const char* text, int nLength, int nStarts, BOOL bFold)
{
    if (nLength < (int)plen || nStarts <= 0)
        return NULL;
    const char* end = text + nLength;
    const char* last = end - plen;
    const char* startsEnd = nStarts < nLength ? text + nStarts : end;
    const bool bEither = bFold && pat[0] >= 'a' && pat[0] <= 'z';
    for (const char* p = text; p < startsEnd && p <= last; ++p)
    {
        p = bEither ? FindEitherCase(p, startsEnd, pat[0])
                    : (const char*)memchr(p, pat[0], startsEnd - p);
        if (p == NULL || p > last)
            return NULL;
        if (SameAt(p, pat, plen, bFold))
            return p;
    }
    return NULL;
}

// The last match of the pattern that lies wholly within the first nLength bytes.
const char* FindBackward(const char* pat, size_t plen, const char* text, int nLength, BOOL bFold)
{
    for (int i = nLength - (int)plen; i >= 0; --i)
        if ((bFold ? FoldChar(text[i]) : text[i]) == pat[0] && SameAt(text + i, pat, plen, bFold))
            return text + i;
    return NULL;
}

} // namespace

int TWKEdit::Search(TWKEditPos* pPos, TWKEditPos limit, TWKEditSearchInfo* pInfo)
{
    if (pPos == NULL || pPos->pLine == NULL || pInfo == NULL || pInfo->pszFindText == NULL)
        return 0;
    const BOOL bFold = !(pInfo->dwFlags & SEARCH_MATCHCASE);
    const BOOL bForward = (pInfo->dwFlags & SEARCH_FORWARD) != 0;
    const BOOL bRegex = (pInfo->dwFlags & SEARCH_REGEX) != 0;

    std::string find(pInfo->pszFindText);
    if (bFold)
        FoldLower(&find[0], find.size());
    if (!bRegex && find.empty())
        return 0;

    TWKEditRegExp re;
    if (bRegex && !re.Compile(find.c_str()))
        return 0;

    TWKEditLine* pLine = pPos->pLine;
    int nStart = pPos->nOffset;
    int nLen = pLine->pText ? pLine->nLength : 0;
    if (nStart > nLen)
        nStart = nLen;
    if (nStart < 0)
        nStart = 0;

    PartBuffer part;
    TWKEditSearchInfo scan = *pInfo;   // finds without expanding the template
    scan.pszReplaceText = NULL;

    for (BOOL bFirst = TRUE; pLine != NULL; bFirst = FALSE)
    {
        const BOOL bLimitHere = (limit.pLine == pLine);
        const char* hit = NULL;
        const char* base = NULL;   // the text hit points into, which starts at offset from
        int from = 0;
        if (bForward)
        {
            from = bFirst ? nStart : 0;
            if (!bRegex)
            {
                // Plain text is found in the line itself.
                base = (pLine->pText ? pLine->pText : "") + from;
                int nLength = (pLine->pText ? pLine->nLength : 0) - from;
                int nStarts = bFirst && bLimitHere ? limit.nOffset - from : nLength;
                hit = FindForward(find.c_str(), find.size(), base, nLength, nStarts, bFold);
            }
            else
            {
                char* text = part.Fill(pLine, from, INT_MAX, bFold);
                base = text;
                pInfo->nMatchLen = 0;
                hit = RegexFind(pInfo, text, &re);
                if (hit == NULL && pInfo->nMatchLen < 0)
                    return 0;   // the replacement would not fit
            }
            if (hit == NULL && bLimitHere)
                return 0;
        }
        else
        {
            int end = INT_MAX;
            if (bFirst)
                end = bLimitHere ? limit.nOffset : nStart;
            if (!bRegex)
            {
                int nLength = pLine->pText ? pLine->nLength : 0;
                if (end < nLength)
                    nLength = end < 0 ? 0 : end;
                base = pLine->pText;
                hit = FindBackward(find.c_str(), find.size(), base, nLength, bFold);
            }
            else
            {
                char* text = part.Fill(pLine, 0, end, bFold);
                base = text;
                // The last match that ends at least one byte before the part's
                // end, each try starting one byte after the previous match.
                char* sub = text;
                char* lastSub = NULL;
                while (sub <= text + part.len)
                {
                    char* h = RegexFind(&scan, sub, &re);
                    if (h == NULL || (h - text) + scan.nMatchLen > part.len - 1)
                        break;
                    hit = h;
                    lastSub = sub;
                    sub = h + 1;
                }
                if (hit != NULL)
                {
                    // Again with the caller's template, to expand this match.
                    pInfo->nMatchLen = 0;
                    hit = RegexFind(pInfo, lastSub, &re);
                    if (hit == NULL)
                        return 0;   // the replacement would not fit
                }
            }
        }
        if (hit != NULL)
        {
            pPos->pLine = pLine;
            pPos->nOffset = from + (int)(hit - base);
            if (!bRegex)
                pInfo->nMatchLen = (int)find.size();
            return 1;
        }
        pLine = bForward ? pLine->pNext : pLine->pPrev;
    }
    return 0;
}
