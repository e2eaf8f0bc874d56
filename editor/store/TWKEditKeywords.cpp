// Keyword colouring: settings, the keyword file and its hashed table, word
// boundaries, comment delimiters and quoted strings.
#include "editor/store/TWKEdit.h"
#include "editor/store/TWKEditColour.h"
#include "afx/app.h"
#include "afx/file.h"
#include "support/system/FileStamp.h"
#include <climits>
#include <mutex>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const int kKeyListSize = 39321;
const int kFoldBufferSize = 16416;
const int kMaxKeywordLen = 23;          // longer names are not kept in the table
const int kMaxSlotsUsed = TWK_KEYWORD_SLOTS - 1;   // one slot always stays free

// Copies at most nSize - 1 characters: a longer setting is cut.
void CopyCut(char* pDest, LPCSTR pszSrc, size_t nSize)
{
    size_t n = strlen(pszSrc);
    if (n >= nSize)
        n = nSize - 1;
    memcpy(pDest, pszSrc, n);
    pDest[n] = '\0';
}

void UpperAscii(char* p, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (p[i] >= 'a' && p[i] <= 'z')
            p[i] = (char)(p[i] - 'a' + 'A');
}

BOOL IsQuoteMark(char c) { return c == '"' || c == '\''; }

std::string PrivateString(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszDefault, LPCSTR pszFile)
{
    char buf[512];
    GetPrivateProfileStringA(pszSection, pszKey, pszDefault, buf, sizeof buf, pszFile);
    return buf;
}

} // namespace

int TWKEdit::LoadChromaSettings()
{
    FreeKeywords();
    LPCSTR s = m_strSection;
    m_strKeywordsKey = "Keywords";
    m_strKeywordFile = ProfileString(s, m_strKeywordsKey, "Default.ini");

    CFileStatus st;
    if (!m_strKeywordFile.IsEmpty() && CFile::GetStatus(m_strKeywordFile, st))
        m_strKeywordFile = st.m_szFullName;
    else
    {
        char szModule[MAX_PATH];
        DWORD n = GetModuleFileNameA(NULL, szModule, MAX_PATH);
        if (n >= MAX_PATH)
            n = 0;
        szModule[n] = '\0';
        char* slash = strrchr(szModule, '\\');
        CString folder(szModule, slash ? (int)(slash - szModule) + 1 : 0);
        m_strKeywordFile = folder + m_strKeywordFile;
    }

    m_bChroma = ProfileInt(s, "Chroma", 0);
    m_crComment = ParseColor(ProfileString(s, "Comment", "0,128,0"));
    m_crKeyword = ParseColor(ProfileString(s, "Keyword", "0,0,255"));
    m_crQuote = ParseColor(ProfileString(s, "Quote", "255,0,0"));
    m_crDefaultText = ParseColor(ProfileString(s, "Default Text", "0,0,0"));
    m_crBackground = ParseColor(ProfileString(s, "Background", "255,255,255"));

    CopyCut(m_szCommentStart1, ProfileString(s, "Comment Start 1", ""), sizeof m_szCommentStart1);
    CopyCut(m_szCommentStart2, ProfileString(s, "Comment Start 2", ""), sizeof m_szCommentStart2);
    CopyCut(m_szCommentEnd1, ProfileString(s, "Comment End 1", ""), sizeof m_szCommentEnd1);
    CopyCut(m_szCommentEnd2, ProfileString(s, "Comment End 2", ""), sizeof m_szCommentEnd2);

    m_bAutoIndent = ProfileInt(s, "Autoindent", 1);
    m_bCaseSensitive = ProfileInt(s, "Case", 0);

    LoadCharTables();
    LoadKeywords();
    return 0;
}

void TWKEdit::LoadCharTables()
{
    memset(m_ExtraWordChars, 0, sizeof m_ExtraWordChars);
    memset(m_TerminatorChars, 0, sizeof m_TerminatorChars);
    memset(m_StartChars, 0, sizeof m_StartChars);
    if (m_strSection.IsEmpty())
        return;
    struct { LPCSTR key; DWORD* table; } lists[] = {
        { "Extra word chars", m_ExtraWordChars },
        { "Terminator chars", m_TerminatorChars },
        { "Start chars", m_StartChars },
    };
    for (auto& l : lists)
    {
        char buf[256];
        CopyCut(buf, ProfileString(m_strSection, l.key, ""), sizeof buf);
        for (const unsigned char* p = (const unsigned char*)buf; *p; ++p)
            l.table[*p] = *p;
    }
}

COLORREF TWKEdit::ParseColor(LPCSTR pszColor)
{
    unsigned int part[3] = { 0, 0, 0 };
    const char* p = pszColor ? pszColor : "";
    for (int i = 0; i < 3; ++i)
    {
        // Leading blanks and a sign as in atoi; the digits wrap in 32 bits.
        const char* q = p;
        while (*q == ' ' || *q == '\t')
            ++q;
        BOOL bNeg = FALSE;
        if (*q == '-' || *q == '+')
            bNeg = (*q++ == '-');
        unsigned int v = 0;
        while (*q >= '0' && *q <= '9')
            v = v * 10u + (unsigned)(*q++ - '0');
        part[i] = (bNeg ? 0u - v : v) & 0xFF;
        const char* comma = strchr(p, ',');
        if (comma == NULL)
            break;
        p = comma + 1;
    }
    return RGB(part[0], part[1], part[2]);
}

void TWKEdit::FormatColor(COLORREF cr, LPSTR pszBuffer)
{
    sprintf(pszBuffer, "%d,%d,%d", GetRValue(cr), GetGValue(cr), GetBValue(cr));
}

void TWKEdit::FreeKeywords()
{
    free(m_pKeywordTable);
    m_pKeywordTable = NULL;
    free(m_pFoldBuffer);
    m_pFoldBuffer = NULL;
}

int TWKEdit::HashKeyword(LPCSTR pszWord, int nLength)
{
    unsigned int h = 0;
    int n = nLength < 259 ? nLength : 259;
    for (int i = 0; i < n; ++i)
        h = h * 33u + (unsigned int)(int)(signed char)pszWord[i];
    return (int)(h & 0xFFF);
}

namespace {

// The word list of a keyword file as last read, kept while the file keeps
// its time and size: every store of a file type (each open source) reads
// the same file.
struct KeywordListCache
{
    std::mutex lock;
    std::string strFile, strSection;
    C_FileStamp stamp;
    std::vector<char> keys;
};

KeywordListCache& KeywordLists()
{
    static auto* p = new KeywordListCache;   // never destroyed: stores may outlive static objects
    return *p;
}

// The keys of the section, or of the section named like the file when that
// one is empty, as a double-zero-ended list; FALSE when both are empty.
BOOL ReadKeysOfFile(LPCSTR pszFile, LPCSTR pszSection, std::vector<char>& keys)
{
    keys.assign(kKeyListSize, '\0');
    DWORD n = GetPrivateProfileStringA(pszSection, NULL, "", keys.data(), kKeyListSize, pszFile);
    if (n == 0 || keys[0] == '\0')
    {
        // A file without the keyword section may list its words in a
        // section named like the file.
        char szBase[_MAX_FNAME];
        _splitpath(pszFile, NULL, NULL, szBase, NULL);
        n = GetPrivateProfileStringA(szBase, NULL, "", keys.data(), kKeyListSize, pszFile);
        if (n == 0 || keys[0] == '\0')
            return FALSE;
    }
    keys.resize(n + 2);   // the list and its closing zeros
    keys[n] = keys[n + 1] = '\0';
    return TRUE;
}

BOOL ReadKeywordList(LPCSTR pszFile, LPCSTR pszSection, std::vector<char>& keys)
{
    KeywordListCache& cache = KeywordLists();
    C_FileStamp stamp = C_FileStamp::Of(pszFile);
    {
        std::lock_guard<std::mutex> guard(cache.lock);
        if (stamp.Same(cache.stamp) && cache.strFile == pszFile && cache.strSection == pszSection)
        {
            keys = cache.keys;
            return !keys.empty();
        }
    }
    BOOL bOK = ReadKeysOfFile(pszFile, pszSection, keys);
    if (!bOK)
        keys.clear();
    std::lock_guard<std::mutex> guard(cache.lock);
    cache.strFile = pszFile;
    cache.strSection = pszSection;
    cache.stamp = stamp;
    cache.keys = keys;
    return bOK;
}

} // namespace

int TWKEdit::LoadKeywords()
{
    free(m_pKeywordTable);
    m_pKeywordTable = NULL;

    HANDLE h = CreateFileA(m_strKeywordFile, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
    {
        m_bChroma = FALSE;
        return 0;
    }
    CloseHandle(h);

    std::vector<char> keys;
    if (!ReadKeywordList(m_strKeywordFile, m_strKeywordsKey, keys))
    {
        m_bChroma = FALSE;
        return 0;
    }

    m_pKeywordTable = (TWKEditKeywordSlot*)calloc(TWK_KEYWORD_SLOTS, sizeof(TWKEditKeywordSlot));
    if (m_pKeywordTable == NULL)
    {
        m_bChroma = FALSE;
        return 0;
    }
    return BuildKeywordTable(m_pKeywordTable, keys.data());
}

int TWKEdit::BuildKeywordTable(TWKEditKeywordSlot* pTable, LPCSTR pszKeyList)
{
    if (pTable == NULL || pszKeyList == NULL)
        return 0;
    int nUsed = 0;
    for (LPCSTR p = pszKeyList; *p; p += strlen(p) + 1)
    {
        int len = (int)strlen(p);
        if (len > kMaxKeywordLen)
            continue;
        // Probing assumes a free slot: the table never fills up.
        if (nUsed >= kMaxSlotsUsed)
            break;
        char word[kMaxKeywordLen + 1];
        memcpy(word, p, len + 1);
        if (!m_bCaseSensitive)
            UpperAscii(word, len);
        int slot = HashKeyword(word, len);
        while (pTable[slot].szWord[0] != '\0')
            slot = (slot + 1) & (TWK_KEYWORD_SLOTS - 1);
        memcpy(pTable[slot].szWord, word, len + 1);
        pTable[slot].nWordLen = len;
        pTable[slot].crColor = 0xFFFFFFFF;
        ++nUsed;
    }
    return 1;
}

LPSTR TWKEdit::GetNextWord(LPSTR pszText, int* pnLength)
{
    if (pnLength)
        *pnLength = 0;
    if (pszText == NULL)
        return NULL;
    size_t total = strlen(pszText);
    if (total < 2)
        return NULL;
    const char* end = pszText + total;
    size_t le = strlen(m_szLineEnd);
    if (le > 0 && total >= le && memcmp(end - le, m_szLineEnd, le) == 0)
        end -= le;

    auto isWord = [this](char c) { return c == '_' || IsWordChar((unsigned char)c); };
    char* p = pszText;
    while (p < end && !isWord(*p))
        ++p;
    if (p >= end)
        return NULL;
    char* w = p;
    while (p < end && isWord(*p))
    {
        if (p > w && m_StartChars[(unsigned char)*p])
            break;
        BOOL bTerm = m_TerminatorChars[(unsigned char)*p] != 0;
        ++p;
        if (bTerm)
            break;
    }
    if (pnLength)
        *pnLength = (int)(p - w);
    return w;
}

COLORREF TWKEdit::GetKeywordColor(LPCSTR pszWord)
{
    std::string group = PrivateString(m_strKeywordsKey, pszWord, "1", m_strKeywordFile);
    if (group.empty())
        group = "1";
    std::string colour = PrivateString("Colors", group.c_str(), "godzilla", m_strKeywordFile);
    if (colour == "godzilla")
        return m_crKeyword;
    return ParseColor(colour.c_str());
}

int TWKEdit::GetNextColorRun(LPSTR* ppScan, int* pnStart, int* pnEnd)
{
    if (ppScan == NULL || *ppScan == NULL)
        return 0;
    if (m_pKeywordTable == NULL && !LoadKeywords())
        return 0;
    char* scan = *ppScan;
    char* p = scan;
    for (;;)
    {
        int len = 0;
        char* w = GetNextWord(p, &len);
        if (w == NULL)
            return 0;
        char copy[260];
        int nCopy = len < 259 ? len : 259;
        memcpy(copy, w, nCopy);
        copy[nCopy] = '\0';
        if (!m_bCaseSensitive)
            UpperAscii(copy, nCopy);

        COLORREF cr = 0;
        BOOL bKeyword = FALSE;
        if (len < kMaxKeywordLen)
        {
            int slot = HashKeyword(copy, len);
            for (int probes = 0; probes < TWK_KEYWORD_SLOTS; ++probes)
            {
                TWKEditKeywordSlot& s = m_pKeywordTable[slot];
                if (s.szWord[0] == '\0')
                    break;
                if (s.nWordLen == len && (m_bCaseSensitive ? strcmp(s.szWord, copy) == 0
                                                           : _stricmp(s.szWord, copy) == 0))
                {
                    if (s.crColor == 0xFFFFFFFF)
                        s.crColor = GetKeywordColor(copy);
                    cr = s.crColor;
                    bKeyword = TRUE;
                    break;
                }
                slot = (slot + 1) & (TWK_KEYWORD_SLOTS - 1);
            }
        }
        else if (!PrivateString(m_strKeywordsKey, copy, "", m_strKeywordFile).empty())
        {
            cr = GetKeywordColor(copy);
            bKeyword = TRUE;
        }

        if (bKeyword)
        {
            if (pnStart)
                *pnStart = (int)(w - scan);
            if (pnEnd)
                *pnEnd = (int)(w - scan) + len;
            *ppScan = w;
            m_crKeyword = cr;
            return 1;
        }
        p = w + len;
        if (*p == '\0')
            return 0;
    }
}

LPSTR TWKEdit::FindString(LPSTR pszPattern, LPSTR pszText, int nCount)
{
    if (pszPattern == NULL || pszText == NULL || *pszPattern == '\0' || nCount <= 0)
        return NULL;
    // A pattern without letters is found the same in the text as folded.
    BOOL bLetters = FALSE;
    for (LPCSTR p = pszPattern; *p && !bLetters; ++p)
        bLetters = (*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z');
    if (m_bCaseSensitive || !bLetters)
        return FindFirstExact(pszPattern, pszText, nCount);

    // Fold scratch copies; the caller's pattern and text stay as they are.
    size_t plen = strlen(pszPattern);
    size_t tlen = strnlen(pszText, (size_t)nCount + plen);
    if (tlen >= (size_t)INT_MAX)
        return NULL;
    std::string pat(pszPattern, plen);
    UpperAscii(&pat[0], plen);
    std::vector<char> big;
    char* fold;
    if (tlen < (size_t)kFoldBufferSize)
    {
        if (m_pFoldBuffer == NULL)
            m_pFoldBuffer = (LPSTR)calloc(kFoldBufferSize, 1);
        fold = m_pFoldBuffer;
    }
    else
        fold = NULL;
    if (fold == NULL)
    {
        big.resize(tlen + 1);
        fold = big.data();
    }
    memcpy(fold, pszText, tlen);
    fold[tlen] = '\0';
    UpperAscii(fold, tlen);
    LPSTR hit = FindFirstExact(pat.c_str(), fold, nCount);
    return hit ? pszText + (hit - fold) : NULL;
}

LPSTR TWKEdit::FindLastString(LPCSTR pszPattern, LPCSTR pszText, int nCount)
{
    return FindLastExact(pszPattern, pszText, nCount);
}

int TWKEdit::IsInQuotes(LPCSTR pszText, LPCSTR pszPos)
{
    if (pszText == NULL || pszPos == NULL || pszPos < pszText)
        return 0;
    int count = 0;
    for (LPCSTR p = pszText; p < pszPos && *p; ++p)
    {
        if (!IsQuoteMark(*p))
            continue;
        if (count > 0 && p > pszText && p[-1] == '\\')
            continue;
        ++count;
    }
    if ((count & 1) == 0)
        return 0;
    for (LPCSTR p = pszPos; *p; ++p)
        if (IsQuoteMark(*p) && !(p > pszText && p[-1] == '\\'))
            return 1;
    return 0;
}

int TWKEdit::AddCommentPair(CString strOpen, CString strClose)
{
    if (strOpen.IsEmpty() || strOpen == m_szCommentStart1 || strOpen == m_szCommentStart2)
        return -1;
    for (INT_PTR i = 0; i < m_arrCommentPairs.GetSize(); ++i)
        if (((TWKEditCommentPair*)m_arrCommentPairs.GetAt(i))->strOpen == strOpen)
            return -1;
    TWKEditCommentPair* pPair = new TWKEditCommentPair;
    pPair->strOpen = strOpen;
    pPair->strClose = strClose;
    return 3 + (int)m_arrCommentPairs.Add(pPair);
}

int TWKEdit::FindCommentStart(LPSTR pszText, int nCount, int* pnPair)
{
    if (pszText == NULL)
        return -1;
    LPSTR best = NULL;
    int nPair = 0;
    LPSTR p1 = m_szCommentStart1[0] ? FindString(m_szCommentStart1, pszText, nCount) : NULL;
    LPSTR p2 = m_szCommentStart2[0] ? FindString(m_szCommentStart2, pszText, nCount) : NULL;
    if (p2 && (!p1 || p2 <= p1))
    {
        best = p2;
        nPair = 2;
    }
    else if (p1)
    {
        best = p1;
        nPair = 1;
    }
    if (best == NULL && m_arrCommentPairs.GetSize() == 0)
        return -1;

    LPSTR extra = NULL;
    int nExtra = 0;
    for (INT_PTR i = 0; i < m_arrCommentPairs.GetSize(); ++i)
    {
        TWKEditCommentPair* pPair = (TWKEditCommentPair*)m_arrCommentPairs.GetAt(i);
        if (pPair->strOpen.IsEmpty())
            continue;
        LPSTR pe = FindString((LPSTR)(LPCSTR)pPair->strOpen, pszText, nCount);
        if (pe && (!extra || pe < extra))
        {
            extra = pe;
            nExtra = 3 + (int)i;
        }
    }
    if (extra && (!best || extra < best))
    {
        best = extra;
        nPair = nExtra;
    }
    if (best == NULL || IsInQuotes(pszText, best))
        return -1;
    if (pnPair)
        *pnPair = nPair;
    return (int)(best - pszText);
}

int TWKEdit::FindCommentEnd(LPSTR pszText, int nCount, int nPair)
{
    LPCSTR closer;
    if (nPair == 1)
        closer = m_szCommentEnd1;
    else if (nPair == 2)
        closer = m_szCommentEnd2;
    else if (nPair >= 3 && nPair - 3 < m_arrCommentPairs.GetSize())
        closer = ((TWKEditCommentPair*)m_arrCommentPairs.GetAt(nPair - 3))->strClose;
    else
        return 0;

    int len = (int)strlen(closer);
    if (len == 0)
    {
        m_bInComment = FALSE;
        return nCount;
    }
    if (len > nCount || pszText == NULL)
    {
        m_bInComment = TRUE;
        return nCount;
    }
    LPSTR hit = FindString((LPSTR)closer, pszText, nCount);
    if (hit == NULL || (nPair == 2 && IsInQuotes(pszText, hit)))
    {
        m_bInComment = TRUE;
        return nCount;
    }
    m_bInComment = FALSE;
    return (int)(hit - pszText) + len;
}

int TWKEdit::IsInComment(TWKEditLine* pLine, int* pnPair)
{
    if (pLine == NULL)
        return 0;
    LPSTR x1 = m_szCommentEnd2[0] == '\0' ? m_szCommentStart2 : NULL;
    if (IsInCommentPair(pLine, m_szCommentStart1, m_szCommentEnd1, x1))
    {
        if (pnPair)
            *pnPair = 1;
        return 1;
    }
    LPSTR x2 = m_szCommentEnd1[0] == '\0' ? m_szCommentStart1 : NULL;
    if (IsInCommentPair(pLine, m_szCommentStart2, m_szCommentEnd2, x2))
    {
        if (pnPair)
            *pnPair = 2;
        return 1;
    }
    for (INT_PTR i = 0; i < m_arrCommentPairs.GetSize(); ++i)
    {
        TWKEditCommentPair* pPair = (TWKEditCommentPair*)m_arrCommentPairs.GetAt(i);
        if (IsInCommentPair(pLine, (LPSTR)(LPCSTR)pPair->strOpen, (LPSTR)(LPCSTR)pPair->strClose, NULL))
        {
            if (pnPair)
                *pnPair = 3 + (int)i;
            return 1;
        }
    }
    return 0;
}

namespace {

// The answers of the last comment walks, kept only while a
// TWKEditCommentMemo lives (a paint: the text does not change meanwhile).
struct CommentMemo
{
    const TWKEdit* pEdit;
    LPCSTR pszOpen, pszClose, pszOther;
    TWKEditLine* pLine;   // the line last asked about, NULL for none
    int nResult;
};
thread_local int t_nMemoDepth = 0;
thread_local CommentMemo t_memos[4];
thread_local int t_nMemoNext = 0;

CommentMemo* FindCommentMemo(const TWKEdit* pEdit, LPCSTR pszOpen, LPCSTR pszClose, LPCSTR pszOther)
{
    if (t_nMemoDepth == 0)
        return NULL;
    for (CommentMemo& m : t_memos)
        if (m.pEdit == pEdit && m.pszOpen == pszOpen && m.pszClose == pszClose && m.pszOther == pszOther)
            return &m;
    CommentMemo& m = t_memos[t_nMemoNext++ % 4];
    m = {pEdit, pszOpen, pszClose, pszOther, NULL, 0};
    return &m;
}

} // namespace

TWKEditCommentMemo::TWKEditCommentMemo()
{
    if (t_nMemoDepth++ == 0)
        for (CommentMemo& m : t_memos)
            m = {};
}

TWKEditCommentMemo::~TWKEditCommentMemo()
{
    if (--t_nMemoDepth == 0)
        for (CommentMemo& m : t_memos)
            m = {};
}

int TWKEdit::IsInCommentPair(TWKEditLine* pLine, LPSTR pszOpen, LPSTR pszClose, LPSTR pszOther)
{
    if (pLine == NULL || pszOpen == NULL || pszClose == NULL || !*pszOpen || !*pszClose)
        return 0;

    // The openers of line comments, which void an opener after them (one
    // list per thread, reused: a paint asks once per row).
    thread_local std::vector<LPCSTR> lineOpeners;
    lineOpeners.clear();
    if (m_arrCommentPairs.GetSize() == 0)
    {
        if (pszOther && *pszOther)
            lineOpeners.push_back(pszOther);
    }
    else
    {
        if (m_szCommentStart1[0] && !m_szCommentEnd1[0])
            lineOpeners.push_back(m_szCommentStart1);
        if (m_szCommentStart2[0] && !m_szCommentEnd2[0])
            lineOpeners.push_back(m_szCommentStart2);
        for (INT_PTR i = 0; i < m_arrCommentPairs.GetSize(); ++i)
        {
            TWKEditCommentPair* pPair = (TWKEditCommentPair*)m_arrCommentPairs.GetAt(i);
            if (!pPair->strOpen.IsEmpty() && pPair->strClose.IsEmpty())
                lineOpeners.push_back(pPair->strOpen);
        }
    }

    // The last unquoted opener of line p that no line-comment opener voids.
    auto lastOpener = [&](TWKEditLine* p) -> LPCSTR {
        LPCSTR text = p->pText;
        LPCSTR q = FindLastString(pszOpen, text, p->nLength);
        while (q != NULL)
        {
            if (IsInQuotes(text, q))
            {
                q = FindLastString(pszOpen, text, (int)(q - text));
                continue;
            }
            // The earliest unquoted line-comment opener at or before q.
            LPCSTR lc = NULL;
            for (LPCSTR o : lineOpeners)
            {
                LPCSTR r = FindLastString(o, text, (int)(q - text) + 1);
                while (r && IsInQuotes(text, r))
                    r = FindLastString(o, text, (int)(r - text));
                if (r && (!lc || r < lc))
                    lc = r;
            }
            if (lc == NULL)
                break;
            q = FindLastString(pszOpen, text, (int)(lc - text));
        }
        return q;
    };
    // The opener's own line may close it again; the closer is looked for
    // from the opener's place, so "(*)" opens and closes at once.
    auto closedAfter = [&](TWKEditLine* p, LPCSTR q) {
        int rest = p->nLength - (int)(q - p->pText);
        LPSTR c = rest > 0 ? FindString(pszClose, (LPSTR)q, rest) : NULL;
        return c && !IsInQuotes(p->pText, c);
    };
    auto closes = [&](TWKEditLine* m) {
        LPSTR c2 = FindString(pszClose, m->pText, m->nLength);
        return c2 && !IsInQuotes(m->pText, c2);
    };
    auto isEmpty = [](TWKEditLine* p) { return p->pText == NULL || p->nLength == 0; };

    // While a paint runs, a line a little below the last one asked about
    // needs only the lines from that one down looked at: the rest of its
    // walk is that line's walk. (Rows the painter skips, empty ones, leave
    // such gaps.)
    CommentMemo* pMemo = FindCommentMemo(this, pszOpen, pszClose, pszOther);
    TWKEditLine* pKnown = NULL;
    if (pMemo && pMemo->pLine)
    {
        const int kReach = 256;
        TWKEditLine* p = pLine;
        for (int k = 0; p && k <= kReach && !pKnown; k++, p = p->pPrev)
            if (p == pMemo->pLine)
                pKnown = p;
    }
    int nResult = 0;
    if (pKnown)
    {
        // The state of each line from the one after pKnown down to pLine,
        // from the state of the line above it.
        nResult = pMemo->nResult;
        for (TWKEditLine* p = pKnown; p != pLine; p = p->pNext)
        {
            if (isEmpty(p))
                nResult = 0;
            else if (LPCSTR q = lastOpener(p))
                nResult = closedAfter(p, q) ? 0 : 1;
            else
                nResult = nResult && !closes(p) ? 1 : 0;
        }
    }
    else
    {
        for (TWKEditLine* p = pLine->pPrev; p != NULL; p = p->pPrev)
        {
            if (isEmpty(p))
                break;
            LPCSTR q = lastOpener(p);
            if (q == NULL)
                continue;
            nResult = closedAfter(p, q) ? 0 : 1;
            for (TWKEditLine* m = p->pNext; nResult && m != NULL && m != pLine; m = m->pNext)
                if (isEmpty(m) || closes(m))
                    nResult = 0;
            break;
        }
    }
    if (pMemo)
    {
        pMemo->pLine = pLine;
        pMemo->nResult = nResult;
    }
    return nResult;
}

int TWKEditClassifyLine(TWKEdit* pEdit, TWKEditLine* pLine, BYTE* pClasses, int nSize)
{
    if (pEdit == NULL || pLine == NULL || pClasses == NULL || nSize <= 0)
        return 0;
    LPSTR text = pLine->pText ? pLine->pText : (LPSTR)"";
    int len = pLine->pText ? pLine->nLength : 0;
    if (len > nSize)
        len = nSize;
    return TWKEditClassifyText(pEdit, pLine, text, len, pClasses);
}

int TWKEditClassifyText(TWKEdit* pEdit, TWKEditLine* pLine, LPSTR text, int len, BYTE* pClasses,
                        TWKEditKeywordRunFn pfnKeyword, void* pContext)
{
    if (pEdit == NULL || pClasses == NULL || len <= 0)
        return 0;
    memset(pClasses, CLASS_TEXT, len);

    // Keywords.
    LPSTR scan = text;
    int a = 0, b = 0;
    while (pEdit->GetNextColorRun(&scan, &a, &b))
    {
        int from = (int)(scan - text);
        if (from >= len)
            break;
        int to = from + (b - a) < len ? from + (b - a) : len;
        for (int i = from; i < to; ++i)
            pClasses[i] |= CLASS_KEYWORD;
        if (pfnKeyword)
            pfnKeyword(pContext, from, to);
        scan += b - a;
        if (*scan == '\0')
            break;
    }

    // Comments: the first may be one running on from the lines above.
    int nPair = 0;
    BOOL bContinued = pLine ? pEdit->IsInComment(pLine, &nPair) : FALSE;
    int start = bContinued ? 0 : pEdit->FindCommentStart(text, len, &nPair);
    while (start >= 0 && start < len)
    {
        // The closer is looked for from the opener's place, as the line
        // state does: "(*)" opens and closes at once.
        int end = start + pEdit->FindCommentEnd(text + start, len - start, nPair);
        if (end <= start)
            end = len;
        for (int i = start; i < end && i < len; ++i)
            pClasses[i] |= CLASS_COMMENT;
        if (end >= len)
            break;
        int r = pEdit->FindCommentStart(text + end, len - end, &nPair);
        start = r < 0 ? -1 : end + r;
    }

    // Quoted strings, outside comments; the closing mark must match the opening one.
    for (int i = 0; i < len; ++i)
    {
        if ((pClasses[i] & CLASS_COMMENT) || !IsQuoteMark(text[i]))
            continue;
        char q = text[i];
        int j = i + 1;
        for (; j < len; ++j)
        {
            if (pClasses[j] & CLASS_COMMENT)
                continue;
            if (text[j] == '\\')
                ++j;
            else if (text[j] == q)
                break;
        }
        if (j >= len)
            break;   // an unterminated quote colours nothing and ends the pass
        for (int k = i + 1; k < j; ++k)
            pClasses[k] |= CLASS_QUOTE;
        i = j;
    }
    return len;
}

int TWKEditExpandTabs(LPCSTR pszSource, int nCount, int nTabSize, int nLineEndLen, BOOL bShowTabs,
                      LPSTR pszDest, int nCapacity)
{
    if (nTabSize < 1)
        nTabSize = 4;
    int k = 0;
    int col = 0;
    for (int i = 0; i < nCount && k < nCapacity;)
    {
        char c = pszSource[i];
        if (c == '\t')
        {
            int w = nTabSize - col % nTabSize;
            for (int j = 0; j < w && k < nCapacity; ++j, ++k)
                if (pszDest)
                    pszDest[k] = (j == 0 && bShowTabs) ? '\'' : ' ';
            col += w;
            i++;
        }
        else if (c == '\r' || c == '\n')
        {
            for (int j = 0; j < nLineEndLen && i < nCount && k < nCapacity; j++, i++, k++)
                if (pszDest)
                    pszDest[k] = pszSource[i];
            col = 0;
        }
        else
        {
            if (pszDest)
                pszDest[k] = c;
            k++;
            col++;
            i++;
        }
    }
    return k;
}
