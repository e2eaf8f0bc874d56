#include "support/text/TextHelpers.h"
#include <mbstring.h>
#include <cstring>
#include <string>

namespace {

bool IsSeparator(char c) { return c == ',' || c == ';'; }

// Both conversions write this for a missing or empty list: the empty multi-string.
const UINT kEmptyListSize = 2;

UINT WriteEmpty(char* buffer)
{
    if (buffer) {
        buffer[0] = 0;
        buffer[1] = 0;
    }
    return kEmptyListSize;
}

// The texts joined with `joint` after each but the last, and a final NUL (multi-string:
// joint NUL, so every text keeps its own NUL and one more follows).
UINT JoinList(I_CUStringList* list, char* buffer, char joint, bool multiSz)
{
    if (!list || list->GetCount() < 1)
        return WriteEmpty(buffer);
    UINT size = 0;
    list->Reset();
    while (const char* text = list->GetNext())
        size += static_cast<UINT>(strlen(text)) + 1;
    if (multiSz)
        size += 1;
    if (size < kEmptyListSize)      // a list of one empty text
        size = kEmptyListSize;
    if (!buffer)
        return size;
    UINT pos = 0;
    bool first = true;
    list->Reset();
    while (const char* text = list->GetNext()) {
        if (!multiSz && !first)
            buffer[pos++] = joint;
        first = false;
        size_t len = strlen(text);
        memcpy(buffer + pos, text, len);
        pos += static_cast<UINT>(len);
        if (multiSz)
            buffer[pos++] = 0;
    }
    while (pos < size)
        buffer[pos++] = 0;
    return size;
}

int IndexIn(const char* text, I_CUStringList* list, bool noCase)
{
    if (!list || !text)
        return -1;
    int count = list->GetCount();
    const unsigned char* t = reinterpret_cast<const unsigned char*>(text);
    for (int i = 0; i < count; ++i) {
        const unsigned char* item = reinterpret_cast<const unsigned char*>(list->GetAt(i));
        if (!item)
            continue;
        if ((noCase ? _mbsicmp(t, item) : _mbscmp(t, item)) == 0)
            return i;
    }
    return -1;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

C_CUString GetField(const char* text, int n)
{
    if (!text)
        return C_CUString();
    C_CUString field;
    if (n < 1) {
        field = text;
        field.TrimLeft();
        field.TrimRight();
        return field;
    }
    int counter = 1;
    const char* p = text;
    for (; *p; ++p) {
        if (!IsSeparator(*p)) {
            field.push_back(*p);
            continue;
        }
        if (counter == n)
            break;
        field.clear();
        ++counter;
    }
    if (counter != n)
        return C_CUString();
    field.TrimLeft();
    field.TrimRight();
    return field;
}

void SplitToStringList(const char* text, C_CUStringList* list)
{
    if (!text || !list)
        return;
    list->RemoveAll();
    for (int n = 1;; ++n) {
        C_CUString field = GetField(text, n);
        if (field.IsEmpty())
            break;
        list->Add(field);
    }
}

UINT StringListToMultiSz(I_CUStringList* list, char* buffer)
{
    return JoinList(list, buffer, 0, true);
}

UINT StringListToCommaText(I_CUStringList* list, char* buffer)
{
    return JoinList(list, buffer, ',', false);
}

BOOL MultiSzToStringList(const char* multiSz, C_CUStringList* list)
{
    if (!list)
        return FALSE;
    list->RemoveAll();
    if (!multiSz)
        return TRUE;
    for (const char* p = multiSz; *p; p += strlen(p) + 1)
        list->Add(p);
    return list->GetCount() > 0 ? TRUE : FALSE;
}

int IndexInStringList(const char* text, I_CUStringList* list) { return IndexIn(text, list, false); }
int IndexInStringListNoCase(const char* text, I_CUStringList* list) { return IndexIn(text, list, true); }
BOOL IsInStringList(const char* text, I_CUStringList* list) { return IndexInStringList(text, list) >= 0; }
BOOL IsInStringListNoCase(const char* text, I_CUStringList* list) { return IndexInStringListNoCase(text, list) >= 0; }
BOOL StringListContainsNoCase(const char* text, I_CUStringList* list) { return IsInStringListNoCase(text, list); }

bool ParseDecimalNumber(const char* text, UINT* value)
{
    *value = 0;
    if (!*text)
        return false;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        *value = *value * 10 + static_cast<UINT>(*p - '0');
    }
    return true;
}

bool ParseHexNumber(const char* text, UINT* value)
{
    *value = 0;
    size_t len = strlen(text);
    const char* first;
    const char* last;
    if (len >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        first = text + 2;
        last = text + len;
    } else if (len >= 1 && (text[len - 1] == 'h' || text[len - 1] == 'H')) {
        first = text;
        last = text + len - 1;
    } else {
        return false;
    }
    for (const char* p = first; p < last; ++p) {
        int d = HexDigit(*p);
        if (d < 0)
            return false;
        *value = *value * 16 + static_cast<UINT>(d);
    }
    return true;
}

bool ParseBinaryNumber(const char* text, UINT* value)
{
    *value = 0;
    size_t len = strlen(text);
    if (len < 1 || (text[len - 1] != 'b' && text[len - 1] != 'B'))
        return false;
    for (size_t i = 0; i + 1 < len; ++i) {
        if (text[i] != '0' && text[i] != '1')
            return false;
        *value = *value * 2 + static_cast<UINT>(text[i] - '0');
    }
    return true;
}

bool ParseNumber(const char* text, UINT* value)
{
    return ParseDecimalNumber(text, value) || ParseHexNumber(text, value) ||
           ParseBinaryNumber(text, value);
}

bool ExpandTabsInString(C_CUString* str, int tabSize)
{
    if (!str || str->find('\t') == std::string::npos)
        return false;
    if (tabSize < 1)
        tabSize = 1;
    std::string out;
    out.reserve(str->size() + 16);
    for (char c : *str) {
        if (c != '\t') {
            out.push_back(c);
            continue;
        }
        size_t blanks = static_cast<size_t>(tabSize) - out.size() % static_cast<size_t>(tabSize);
        out.append(blanks, ' ');
    }
    str->assign(out);
    return true;
}

const char* FormatBinary(UINT value, int bits)
{
    // Shared by every caller; the next call overwrites it.
    static char s_buffer[33];
    int total = (bits > 0 ? bits : 0) + 1;   // the digits and the 'B'
    int shown = total < 32 ? total : 32;
    for (int k = 0; k < shown; ++k) {
        if (k >= bits) {
            s_buffer[k] = 'B';
            continue;
        }
        int bit = bits - 1 - k;
        s_buffer[k] = (bit < 32 && ((value >> bit) & 1u)) ? '1' : '0';
    }
    s_buffer[shown] = 0;
    return s_buffer;
}

BOOL WildcardMatch(const char* pattern, const char* text)
{
    const char* p = pattern;
    const char* t = text;
    const char* star = nullptr;   // pattern position after the last '*'
    const char* retry = nullptr;  // text position that '*' will absorb next
    while (*t) {
        if (*p == '*') {
            star = ++p;
            retry = t;
        } else if (*p && (*p == '?' || *p == *t)) {
            ++p;
            ++t;
        } else if (star) {
            p = star;
            t = ++retry;
        } else {
            return FALSE;
        }
    }
    while (*p == '*')
        ++p;
    return *p == 0 ? TRUE : FALSE;
}
