// Reading and writing configuration values and numbered lists in ini-format files.
#pragma once
#include <windows.h>
#include <functional>
#include "support/text/CUString.h"
#include "support/text/CUStringList.h"

BOOL GetProfileValue(const char* file, const char* section, const char* key, C_CUString& output,
                     int pathMode, UINT msgMode);
BOOL GetProfileList(const char* file, const char* section, const char* prefix, I_CUStringList* list,
                    int pathMode, UINT msgMode);
BOOL WriteProfileValue(const char* file, const char* section, const char* key, const char* value,
                       BOOL relative, UINT msgMode);
BOOL WriteProfileList(const char* file, const char* section, const char* prefix, I_CUStringList* list,
                      BOOL relative, UINT msgMode);

// Shared with the ini file:
// the key of the n-th entry of a numbered list, prefix followed by n;
C_CUString NumberedKey(const char* prefix, int n);
// reading a "relative,absolute" pair: the first field that resolves, else the
// second as ResolvePath left it (reported in msgMode); FALSE when neither resolves;
BOOL ResolvePathPair(const char* folder, const char* value, C_CUString& output, int pathMode, UINT msgMode);
// writing it: the value relative to the file's folder, a comma, the value itself.
C_CUString PathPairForm(const char* file, const char* value);

// The numbered-list writing both list kinds share: next() gives the values in order (NULL
// after the last); they are stored as prefix1, prefix2 ... ("relative,absolute" pairs when
// relative is set) and the keys left over from a longer list are deleted. Returns
// PROFILE_LIST_WRITTEN, or what failed with the value concerned in failed; the caller says so.
enum { PROFILE_LIST_WRITTEN, PROFILE_LIST_WRITE_FAILED, PROFILE_LIST_CLEAN_FAILED };
int WriteNumberedProfileList(const char* file, const char* section, const char* prefix,
                             const std::function<const char*()>& next, BOOL relative, C_CUString& failed);
