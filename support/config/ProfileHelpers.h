// Reading and writing configuration values and numbered lists in ini-format files.
#pragma once
#include <windows.h>
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
