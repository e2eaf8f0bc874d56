// Finding files under candidate folders and extensions, free numbered names, ELF
// recognition and string-list comparison. Folders are prefixes (end them with '\'),
// extensions are suffixes (with their dot).
#pragma once
#include <windows.h>
#include "support/text/CUString.h"
#include "support/text/CUStringList.h"

BOOL FindFileInFolderFields(C_CUString& output, const char* folder, const char* name,
                            const char* extension, const char* fields);
BOOL FindFileByLists(const char* name, I_CUStringList* folders, I_CUStringList* extensions,
                     C_CUString& output);
BOOL FindFileByExtensions(const char* name, const char* folder, I_CUStringList* extensions,
                          C_CUString& output);
BOOL FindFileByFolders(const char* title, I_CUStringList* folders, const char* extension,
                       C_CUString& output);
bool FindFileInFolders(C_CUString& output, I_CUStringList* folders, const char* name);
bool MakeUniqueFileName(const char* path, char* output);   // output: MAX_PATH characters
bool IsElfFile(const char* path);
BOOL StringListsDiffer(I_CUStringList* a, I_CUStringList* b);
