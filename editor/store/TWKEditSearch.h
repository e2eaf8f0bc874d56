// One search request of the editor engine and the text-finding helpers
// behind TWKEdit::Search.
#pragma once
#include <windows.h>
#include "editor/store/TWKEditRegExp.h"

#define SEARCH_MATCHCASE 0x4
#define SEARCH_FORWARD   0x8
#define SEARCH_REGEX     0x40

struct TWKEditSearchInfo
{
    DWORD dwFlags;          // SEARCH_MATCHCASE, SEARCH_FORWARD, SEARCH_REGEX
    int nMatchLen;          // out: length of the match; -1 when a regular
                            // expression matched but its replacement did not fit
    LPCSTR pszFindText;     // text or pattern to find
    LPSTR pszReplaceText;   // replacement template, expanded in place on a
                            // match; NULL for none
    int nReplaceSize;       // bytes available at pszReplaceText, NUL included
};

// Cuts the text before its first CR and matches it. On a match: nMatchLen,
// the template expanded into pszReplaceText (an expansion longer than
// nReplaceSize - 1 is refused: the buffer stays as it was and the result is
// NULL), and a pointer to the match in the text. NULL when nothing matches.
LPSTR RegexFind(TWKEditSearchInfo* pInfo, LPSTR pszText, TWKEditRegExp* pRegExp);

// First / last case-exact occurrence of the pattern starting within the first
// n bytes of the text (the comparison may run on to the text's NUL), or NULL.
LPSTR FindFirstExact(LPCSTR pszPattern, LPSTR pszText, int n);
LPSTR FindLastExact(LPCSTR pszPattern, LPSTR pszText, int n);

// 1 when the text holds one of $ * + . ? [ \ ] ^.
int HasRegexChars(LPCSTR pszText);
