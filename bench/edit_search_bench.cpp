// Search a generated 1,000,000-line text for a plain word and for a regular
// expression, and classify every line for colouring. The plain search is
// compared with a memchr/memcmp scan of the same bytes.
#include "editor/store/TWKEdit.h"
#include "editor/store/TWKEditColour.h"
#include "editor/store/TWKEditSearch.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Ms(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// The same bytes, line by line, with memchr and memcmp. Opaque to the
// optimiser, so that no scan is merged with another or moved off its timer.
__attribute__((noipa)) int ScanForNeedle(TWKEditLine* pFirst)
{
    for (TWKEditLine* p = pFirst; p; p = p->pNext)
    {
        const char* s = p->pText;
        const char* end = s + p->nLength;
        while (s < end && (s = (const char*)memchr(s, 'n', end - s)) != NULL)
        {
            if (end - s >= 6 && memcmp(s, "needle", 6) == 0)
                return p->nLineNo;
            ++s;
        }
    }
    return 0;
}

} // namespace

int main()
{
    const int kLines = 1000000;
    const char* words[] = { "mov", "add", "r1", "r2", "loop", "jmp", "0x1F", "call", "ret", "nop" };
    std::string text;
    text.reserve(kLines * 40);
    unsigned seed = 12345;
    for (int i = 0; i < kLines; ++i)
    {
        for (int w = 0; w < 5; ++w)
        {
            seed = seed * 1103515245u + 12345u;
            text += words[(seed >> 16) % 10];
            text += ' ';
        }
        if (i % 7 == 0)
            text += "; note \"q\"";
        text += "\r\n";
    }
    text += "needle here\r\n";   // the only match, on the last line

    // Keyword file and settings in a scratch folder.
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    std::string ini = std::string(tmp) + "vt_bench_keywords.ini";
    FILE* f = fopen(ini.c_str(), "wb");
    fputs("[Keywords]\r\nmov=1\r\nadd=1\r\njmp=2\r\ncall=2\r\nret=2\r\nnop=1\r\n[Colors]\r\n1=0,0,255\r\n2=128,0,0\r\n", f);
    fclose(f);

    TWKEdit e;
    TWKEdit::FreeLines(e.m_pFirstLine);
    e.m_pFirstLine = e.BuildLines(text.c_str());
    e.m_nLineCount = TWKEdit::RenumberLines(e.m_pFirstLine);
    e.m_strKeywordFile = ini.c_str();
    e.m_strKeywordsKey = "Keywords";
    strcpy(e.m_szCommentStart1, ";");
    e.m_bChroma = e.LoadKeywords();
    printf("lines %d, bytes %zu, keywords %s\n", e.m_nLineCount, text.size(), e.m_bChroma ? "loaded" : "MISSING");

    auto search = [&](DWORD flags, const char* what, int* line, int* off) {
        TWKEditPos pos = { e.GetFirstLine(), 0 };
        TWKEditSearchInfo info = { flags, 0, what, NULL, 0 };
        auto t0 = std::chrono::steady_clock::now();
        int r = e.Search(&pos, TWKEditPos{ NULL, 0 }, &info);
        double ms = Ms(t0);
        *line = r ? TWKEdit::GetLineNo(pos.pLine) : 0;
        *off = r ? pos.nOffset : -1;
        return ms;
    };

    auto scanLines = [&](int* found) {
        auto t0 = std::chrono::steady_clock::now();
        *found = ScanForNeedle(e.GetFirstLine());
        return Ms(t0);
    };

    // The scan runs between the searches, round by round, so that neither
    // is favoured by what ran before it; the best round of each counts.
    int line = 0, off = 0, scanLine = 0;
    double plainCase = 1e30, plainFold = 1e30, scan = 1e30;
    for (int round = 0; round < 7; ++round)
    {
        scan = std::min(scan, scanLines(&scanLine));
        plainCase = std::min(plainCase, search(SEARCH_FORWARD | SEARCH_MATCHCASE, "needle", &line, &off));
        scan = std::min(scan, scanLines(&scanLine));
        plainFold = std::min(plainFold, search(SEARCH_FORWARD, "Needle", &line, &off));
    }
    printf("plain, match case:   %8.1f ms (line %d)\n", plainCase, line);
    printf("plain, any case:     %8.1f ms (line %d)\n", plainFold, line);
    printf("memchr/memcmp scan:  %8.1f ms (line %d); plain search / scan = %.2f (match case), %.2f (any case)\n",
           scan, scanLine, plainCase / scan, plainFold / scan);
    printf("goal: plain search <= 1.50 x scan in both case modes: %s\n",
           plainCase / scan <= 1.5 && plainFold / scan <= 1.5 ? "met" : "MISSED");

    double re1 = search(SEARCH_FORWARD | SEARCH_REGEX | SEARCH_MATCHCASE, "ne+dle h[a-z]+$", &line, &off);
    printf("regex ne+dle h[a-z]+$: %6.1f ms (line %d)\n", re1, line);
    double re2 = search(SEARCH_FORWARD | SEARCH_REGEX, "(x|y)[0-9]+z", &line, &off);
    printf("regex (x|y)[0-9]+z:  %8.1f ms (line %d, no required text)\n", re2, line);

    std::vector<BYTE> cls(TWK_MAX_COLUMNS);
    auto t0 = std::chrono::steady_clock::now();
    long long keywordBytes = 0;
    for (TWKEditLine* p = e.GetFirstLine(); p; p = p->pNext)
    {
        int n = TWKEditClassifyLine(&e, p, cls.data(), TWK_MAX_COLUMNS);
        for (int i = 0; i < n; ++i)
            keywordBytes += (cls[i] & CLASS_KEYWORD) != 0;
    }
    printf("classify all lines:  %8.1f ms (%lld keyword bytes)\n", Ms(t0), keywordBytes);
    DeleteFileA(ini.c_str());
    return 0;
}
