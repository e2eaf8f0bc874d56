// The search step of the store and its text-finding helpers.
#include "editor/store/TWKEdit.h"
#include "editor/store/TWKEditSearch.h"
#include <cstdlib>
#include <climits>
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

LPSTR TWKEdit::FindFirstExact(LPCSTR pszPattern, LPCSTR pszText, int n)
{
    if (pszPattern == NULL || pszText == NULL || *pszPattern == '\0' || n <= 0)
        return NULL;
    size_t plen = strlen(pszPattern);
    size_t tlen = strnlen(pszText, (size_t)n);
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
    size_t tlen = strnlen(pszText, (size_t)n);
    for (size_t i = tlen; i-- > 0;)
        if (pszText[i] == pszPattern[0] && strncmp(pszText + i, pszPattern, plen) == 0)
            return (LPSTR)pszText + i;
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
        char* hit = NULL;
        int from = 0;
        if (bForward)
        {
            from = bFirst ? nStart : 0;
            char* text = part.Fill(pLine, from, INT_MAX, bFold);
            if (!bRegex)
            {
                int n = part.len;
                if (bFirst && bLimitHere)
                    n = limit.nOffset - from;
                hit = FindFirstExact(find.c_str(), text, n);
            }
            else
            {
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
            char* text = part.Fill(pLine, 0, end, bFold);
            if (!bRegex)
                hit = FindLastExact(find.c_str(), text, part.len);
            else
            {
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
            pPos->nOffset = from + (int)(hit - part.buf.data());
            if (!bRegex)
                pInfo->nMatchLen = (int)find.size();
            return 1;
        }
        pLine = bForward ? pLine->pNext : pLine->pPrev;
    }
    return 0;
}
