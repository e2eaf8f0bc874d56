// One search request of the editor engine (TWKEdit::Search). The replacement
// template is expanded in place only when the expansion fits in nReplaceSize
// bytes; otherwise the match is refused and the buffer left as it was.
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
