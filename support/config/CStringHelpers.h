// Profile lists, text-file extensions, filter patterns and multi-text blocks over framework strings.
#pragma once
#include <windows.h>
#include "afx/string.h"
#include "afx/collections.h"
#include "support/text/CUStringList.h"

// The application's message-box texts used by WriteProfileCStringList.
enum {
    IDS_APP_ERROR = 10003,
    IDS_APP_WRITE_FILENAME_FAILED = 10005,
    IDS_APP_CLEAN_FILENAME_FAILED = 10006,
};

// The process's copy of the "Text File Ext" entries; made by the first IsTextFileExtension.
extern C_CUStringList* g_TextFileExtensions;

bool GetProfileCStringList(const char* file, const char* section, const char* prefix, CStringList& list,
                           int pathMode, UINT msgMode);
bool WriteProfileCStringList(const CString& file, const CString& section, const CString& prefix,
                             CStringList& list, BOOL relative);
bool IsTextFileExtension(const CString& name, int* tabSize);
void BuildFilterPattern(I_CUStringList* extensions, CString& output);
int CStringListToMultiSz(const CStringList* list, char* buffer);
