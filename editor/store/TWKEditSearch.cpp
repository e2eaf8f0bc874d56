// Text-finding helpers of the search step.
#include "editor/store/TWKEditSearch.h"
#include <cstdlib>
#include <cstring>

LPSTR RegexFind(TWKEditSearchInfo* pInfo, LPSTR pszText, TWKEditRegExp* pRegExp)
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

LPSTR FindFirstExact(LPCSTR pszPattern, LPSTR pszText, int n)
{
    if (pszPattern == NULL || pszText == NULL || *pszPattern == '\0' || n <= 0)
        return NULL;
    size_t plen = strlen(pszPattern);
    size_t tlen = strnlen(pszText, (size_t)n);
    char* p = pszText;
    char* end = pszText + tlen;
    while (p < end)
    {
        p = (char*)memchr(p, pszPattern[0], end - p);
        if (p == NULL)
            return NULL;
        if (strncmp(p, pszPattern, plen) == 0)
            return p;
        ++p;
    }
    return NULL;
}

LPSTR FindLastExact(LPCSTR pszPattern, LPSTR pszText, int n)
{
    if (pszPattern == NULL || pszText == NULL || *pszPattern == '\0' || n <= 0)
        return NULL;
    size_t plen = strlen(pszPattern);
    size_t tlen = strnlen(pszText, (size_t)n);
    for (size_t i = tlen; i-- > 0;)
        if (pszText[i] == pszPattern[0] && strncmp(pszText + i, pszPattern, plen) == 0)
            return pszText + i;
    return NULL;
}

int HasRegexChars(LPCSTR pszText)
{
    return pszText != NULL && strpbrk(pszText, "$*+.?[\\]^") != NULL;
}
