// Paths split into drive, directory, title and extension; resolving and relating paths.
#pragma once
#include <windows.h>
#include "support/text/CUString.h"
#include "support/text/CUStringList.h"

// Path modes of ResolvePath and the helpers built on it.
enum {
    CU_PATH_PLAIN = 0,          // absolute, no check; empty fails
    CU_PATH_ABSOLUTE = 1,       // the same
    CU_PATH_EMPTY_IS_BASE = 2,  // absolute, no check; empty is the base folder
    CU_PATH_FILE = 3,           // the file must exist
    CU_PATH_FOLDER = 4,         // the folder must exist; empty is the base folder
    CU_PATH_FILE_DROP = 5,      // as 3; list readers drop a failing entry
    CU_PATH_FOLDER_DROP = 6,    // as 4; list readers drop a failing entry
};

class C_CUPath {
public:
    enum { PART = 256 };

    C_CUPath(const char* path = nullptr);
    ~C_CUPath() {}

    void SetPath(const char* path);
    C_CUString GetPath() const { return m_path; }
    C_CUString GetDrive() const { return m_drive; }
    C_CUString GetDir() const { return m_dir; }
    C_CUString GetFileTitle() const { return m_title; }
    C_CUString GetExt() const { return m_ext; }
    C_CUString GetFileName() const;
    C_CUString GetFolder() const;
    signed char GetDriveNumber() const;

private:
    void Split(const char* text);

    C_CUString m_path;
    char m_drive[PART];
    char m_dir[PART];
    char m_title[PART];
    char m_ext[PART];
};

BOOL ResolvePath(const char* base, C_CUString& path, int pathMode, UINT msgMode);
BOOL ResolvePathList(const char* base, I_CUStringList* source, C_CUStringList* dest, int pathMode);
void MakeRelativePath(const char* base, C_CUString& path);
void MakeRelativePathList(const char* base, I_CUStringList* source, C_CUStringList* dest);
C_CUString GetAppDirectory(BOOL keepBackslash);
BOOL FileExists(const char* fileName);
int DeleteFileIfExists(const char* fileName);
BOOL IsAbsolutePath(const char* path);
BOOL DirectoryExists(const char* path);
C_CUString GetLeadingPath(const char* path, int count);
BOOL CreateDirectoryPath(const char* path);
BOOL EnsureDirectory(const char* path);
BOOL FindSystemProgram(const char* program, char* output);
