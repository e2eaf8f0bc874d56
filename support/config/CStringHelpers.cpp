#include "support/config/CStringHelpers.h"
#include "support/config/CUPath.h"
#include "support/config/ProfileHelpers.h"
#include "support/text/TextHelpers.h"
#include "support/ui/CUMsgHandler.h"
#include <mbstring.h>
#include <cstdlib>
#include <cstring>

C_CUStringList* g_TextFileExtensions = nullptr;

namespace {

void DestroyTextFileExtensions()
{
    delete g_TextFileExtensions;
    g_TextFileExtensions = nullptr;
}

} // namespace

bool GetProfileCStringList(const char* file, const char* section, const char* prefix, CStringList& list,
                           int pathMode, UINT msgMode)
{
    // Modes 5 and 6 check like 3 and 4; only the dropping of failed entries differs, and
    // this list keeps them.
    if (pathMode == CU_PATH_FILE_DROP)
        pathMode = CU_PATH_FILE;
    else if (pathMode == CU_PATH_FOLDER_DROP)
        pathMode = CU_PATH_FOLDER;
    C_CUStringList values;
    GetProfileList(file, section, prefix, &values, pathMode, msgMode);
    values.Reset();
    while (const char* text = values.GetNext())
        list.AddTail(CString(text));
    return true;
}

bool WriteProfileCStringList(const CString& file, const CString& section, const CString& prefix,
                             CStringList& list, BOOL relative)
{
    POSITION pos = list.GetHeadPosition();
    C_CUString failed;
    int rc = WriteNumberedProfileList(
        file, section, prefix, [&]() { return pos ? (const char*)list.GetNext(pos) : nullptr; }, relative,
        failed);
    if (rc == PROFILE_LIST_WRITTEN)
        return true;
    MessageBoxById(nullptr, IDS_APP_ERROR,
                   rc == PROFILE_LIST_WRITE_FAILED ? IDS_APP_WRITE_FILENAME_FAILED : IDS_APP_CLEAN_FILENAME_FAILED, 0,
                   failed.c_str());
    return false;
}

bool IsTextFileExtension(const CString& name, int* tabSize)
{
    if (!g_TextFileExtensions) {
        g_TextFileExtensions = new C_CUStringList;
        atexit(DestroyTextFileExtensions);
    }
    const unsigned char* text = reinterpret_cast<const unsigned char*>((const char*)name);
    const unsigned char* dot = _mbsrchr(text, '.');
    if (!dot)
        return false;
    if (g_TextFileExtensions->GetCount() == 0) {
        C_CUString config = GetAppDirectory(TRUE) + "ZIDE.CFG";
        GetProfileList(config, "Text File Ext", "Ext", g_TextFileExtensions, 0, CU_MSG_BOX);
    }
    const char* ext = reinterpret_cast<const char*>(dot + 1);
    g_TextFileExtensions->Reset();
    while (const char* entry = g_TextFileExtensions->GetNext()) {
        C_CUString field = GetField(entry, 1);
        if (_mbsicmp(reinterpret_cast<const unsigned char*>(field.c_str()),
                     reinterpret_cast<const unsigned char*>(ext)) != 0)
            continue;
        if (tabSize) {
            C_CUString size = GetField(entry, 2);
            *tabSize = size.empty() ? 4 : atoi(size.c_str());
        }
        return true;
    }
    return false;
}

void BuildFilterPattern(I_CUStringList* extensions, CString& output)
{
    C_CUStringList used;
    if (extensions) {
        extensions->Reset();
        while (const char* ext = extensions->GetNext()) {
            if (IsInStringList(ext, &used))
                continue;
            output += "*";
            output += ext;
            output += ";";
            used.Add(ext);
        }
    }
    if (!output.IsEmpty())
        output = output.Left(output.GetLength() - 1);
}

int CStringListToMultiSz(const CStringList* list, char* buffer)
{
    // A missing list is the empty block of two NULs; say so, so callers size for what we write.
    if (!list) {
        if (buffer) {
            buffer[0] = 0;
            buffer[1] = 0;
        }
        return 2;
    }
    int size = 1;
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        const CString& text = list->GetNext(pos);
        if (!text.IsEmpty())
            size += text.GetLength() + 1;
    }
    if (!buffer)
        return size;
    char* out = buffer;
    for (POSITION pos = list->GetHeadPosition(); pos;) {
        const CString& text = list->GetNext(pos);
        if (text.IsEmpty())
            continue;
        memcpy(out, (const char*)text, text.GetLength() + 1);
        out += text.GetLength() + 1;
    }
    *out = 0;
    return size;
}
