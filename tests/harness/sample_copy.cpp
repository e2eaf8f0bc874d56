#include "tests/harness/sample_copy.h"

namespace vt {

void CopyTree(const std::string& from, const std::string& to)
{
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((from + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + "\\" + name, to + "\\" + name);
        else
            CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

std::string ShippedSample()
{
    return ProgramFolder() + "vt_sample";
}

SampleCopy::SampleCopy()
{
    CopyTree(ShippedSample(), dir.Path() + "\\sample");
}

} // namespace vt
