// Copies of the program folder's sample project, and the current folder held for a while.
#pragma once
#include <windows.h>
#include <string>
#include "tests/harness/harness.h"

namespace vt {

// Copies a folder with everything in it (the target folder is created).
void CopyTree(const std::string& from, const std::string& to);

// The sample project as shipped, beside the test executables (the program folder's sample\ may
// hold what an earlier run built there).
std::string ShippedSample();

// The shipped sample folder copied into a fresh temporary folder.
class SampleCopy {
public:
    SampleCopy();
    std::string Folder() const { return dir.Path() + "\\sample\\"; }
    std::string Project() const { return Folder() + "Sample.wbi"; }
    std::string Fixture(const char* name) const { return Folder() + "fixtures\\" + name; }
    TempDir dir;
};

// The process's current folder while it lives (a windowless build writes "ZideMsg.txt" there).
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder)
    {
        GetCurrentDirectoryA(MAX_PATH, m_previous);
        SetCurrentDirectoryA(folder.c_str());
    }
    ~CurrentFolder() { SetCurrentDirectoryA(m_previous); }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    char m_previous[MAX_PATH] = {0};
};

} // namespace vt
