// Value fields, string-list conversions, number notations and wildcard matching.
#pragma once
#include <windows.h>
#include "support/text/CUString.h"
#include "support/text/CUStringList.h"

C_CUString GetField(const char* text, int n);
void SplitToStringList(const char* text, C_CUStringList* list);
UINT StringListToMultiSz(I_CUStringList* list, char* buffer);
BOOL MultiSzToStringList(const char* multiSz, C_CUStringList* list);
UINT StringListToCommaText(I_CUStringList* list, char* buffer);
int IndexInStringList(const char* text, I_CUStringList* list);
int IndexInStringListNoCase(const char* text, I_CUStringList* list);
BOOL IsInStringList(const char* text, I_CUStringList* list);
BOOL IsInStringListNoCase(const char* text, I_CUStringList* list);
BOOL StringListContainsNoCase(const char* text, I_CUStringList* list);
bool ParseNumber(const char* text, UINT* value);
bool ParseDecimalNumber(const char* text, UINT* value);
bool ParseHexNumber(const char* text, UINT* value);
bool ParseBinaryNumber(const char* text, UINT* value);
bool ExpandTabsInString(C_CUString* str, int tabSize);
const char* FormatBinary(UINT value, int bits);
BOOL WildcardMatch(const char* pattern, const char* text);
