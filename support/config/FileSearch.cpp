#include "support/config/FileSearch.h"
#include "support/config/CUPath.h"
#include "support/text/TextHelpers.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mbstring.h>
#include <new>
#include <string>
#include <vector>

namespace {

C_CUString Join(const char* a, const char* b, const char* c = nullptr)
{
    C_CUString s(a);
    if (b)
        s += b;
    if (c)
        s += c;
    return s;
}

// Lists are read by index so that one list passed twice cannot upset a running walk.
int Count(I_CUStringList* list) { return list ? list->GetCount() : 0; }

// The list as comma text; empty when the list is empty or the text cannot be allocated.
std::string CommaText(I_CUStringList* list)
{
    try {
        std::vector<char> buf(StringListToCommaText(list, nullptr) + 1, 0);
        StringListToCommaText(list, buf.data());
        return buf.data();
    } catch (const std::bad_alloc&) {
        return std::string();
    }
}

} // namespace

BOOL FindFileInFolderFields(C_CUString& output, const char* folder, const char* name,
                            const char* extension, const char* fields)
{
    const C_CUString first = Join(folder, name, extension);
    output = first;
    for (int n = 1;; ++n) {
        if (FileExists(output))
            return TRUE;
        if (!fields)
            return FALSE;
        C_CUString field = GetField(fields, n);
        if (field.IsEmpty()) {
            // Nothing found: the caller gets the first candidate to create or report.
            output = first;
            return TRUE;
        }
        output = Join(field, name, extension);
    }
}

BOOL FindFileByExtensions(const char* name, const char* folder, I_CUStringList* extensions,
                          C_CUString& output)
{
    int count = Count(extensions);
    for (int i = 0; i < count; ++i) {
        output = Join(folder, name, extensions->GetAt(i));
        if (FileExists(output))
            return TRUE;
    }
    return FALSE;
}

BOOL FindFileByFolders(const char* title, I_CUStringList* folders, const char* extension,
                       C_CUString& output)
{
    int count = Count(folders);
    for (int i = 0; i < count; ++i) {
        output = Join(folders->GetAt(i), title, extension);
        if (FileExists(output))
            return TRUE;
    }
    return FALSE;
}

BOOL FindFileByLists(const char* name, I_CUStringList* folders, I_CUStringList* extensions,
                     C_CUString& output)
{
    C_CUPath split(name);
    if (!split.GetDrive().empty() || !split.GetDir().empty()) {
        output = name;
        return FileExists(output);
    }
    if (!split.GetExt().empty())
        return FindFileByFolders(split.GetFileTitle(), folders, split.GetExt(), output);
    int count = Count(folders);
    for (int i = 0; i < count; ++i)
        if (FindFileByExtensions(name, folders->GetAt(i), extensions, output))
            return TRUE;
    return FALSE;
}

bool FindFileInFolders(C_CUString& output, I_CUStringList* folders, const char* name)
{
    if (!name)
        return false;
    if (name[0] && name[1] == ':') {
        if (!FileExists(name))
            return false;
        output = name;
        return true;
    }
    int count = Count(folders);
    for (int i = 0; i < count; ++i) {
        C_CUString candidate = Join(folders->GetAt(i), name);
        if (FileExists(candidate)) {
            output = candidate;
            return true;
        }
    }
    return false;
}

bool MakeUniqueFileName(const char* path, char* output)
{
    if (!output)
        return false;
    output[0] = 0;
    if (!path)
        return false;
    // The bounded runtime forms: a part or a result too long fails instead of overflowing.
    char drive[_MAX_DRIVE], dir[_MAX_DIR], title[_MAX_FNAME], ext[_MAX_EXT];
    if (_splitpath_s(path, drive, sizeof drive, dir, sizeof dir, title, sizeof title,
                     ext, sizeof ext) != 0)
        return false;
    for (int n = 1; n <= 99; ++n) {
        char numbered[_MAX_FNAME + 8];
        snprintf(numbered, sizeof numbered, "%s[%d]", title, n);
        if (_makepath_s(output, MAX_PATH, drive, dir, numbered, ext) != 0) {
            output[0] = 0;
            return false;
        }
        if (!FileExists(output))
            return true;
    }
    return false;
}

bool IsElfFile(const char* path)
{
    if (!path)
        return false;
    FILE* f = fopen(path, "rb");
    if (!f)
        return false;
    unsigned char magic[4];
    size_t got = fread(magic, 1, sizeof magic, f);
    fclose(f);
    return got == 4 && magic[0] == 0x7F && magic[1] == 'E' && magic[2] == 'L' && magic[3] == 'F';
}

BOOL StringListsDiffer(I_CUStringList* a, I_CUStringList* b)
{
    std::string ta = CommaText(a), tb = CommaText(b);
    if (ta.empty() || tb.empty())
        return ta.empty() != tb.empty() ? TRUE : FALSE;
    _mbsupr(reinterpret_cast<unsigned char*>(&ta[0]));
    _mbsupr(reinterpret_cast<unsigned char*>(&tb[0]));
    return ta != tb ? TRUE : FALSE;
}
