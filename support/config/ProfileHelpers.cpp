#include "support/config/ProfileHelpers.h"
#include "support/config/CUPath.h"
#include "support/supportres.h"
#include "support/text/TextHelpers.h"
#include "support/ui/CUMsgHandler.h"
#include <string>

C_CUString NumberedKey(const char* prefix, int n)
{
    C_CUString key;
    key.Format("%s%d", prefix ? prefix : "", n);
    return key;
}

BOOL ResolvePathPair(const char* folder, const char* value, C_CUString& output, int pathMode, UINT msgMode)
{
    C_CUString first = GetField(value, 1);
    if (ResolvePath(folder, first, pathMode, CU_MSG_NONE)) {
        output = first;
        return TRUE;
    }
    C_CUString second = GetField(value, 2);
    BOOL ok = ResolvePath(folder, second, pathMode, msgMode);
    output = second;
    return ok;
}

C_CUString PathPairForm(const char* file, const char* value)
{
    C_CUString rel(value);
    MakeRelativePath(C_CUPath(file).GetFolder(), rel);
    return rel + "," + value;
}

namespace {

C_CUString StoredForm(const char* file, const char* value, BOOL relative)
{
    return relative ? PathPairForm(file, value) : C_CUString(value);
}

void Report(UINT msgMode, UINT textId, const char* text)
{
    g_MsgHandler.ShowMessage(msgMode, IDS_CU_ERROR, textId, 0, text);
}

} // namespace

BOOL GetProfileValue(const char* file, const char* section, const char* key, C_CUString& output,
                     int pathMode, UINT msgMode)
{
    char buf[512];
    DWORD n = GetPrivateProfileStringA(section, key, "", buf, sizeof(buf), file);
    if (n == 0) {
        output.Empty();
        return FALSE;
    }
    C_CUString value(std::string(buf, n));
    int semicolon = value.Find(";");
    if (semicolon >= 0) {
        value = value.Left(semicolon);
        value.TrimRight(" \t");
    }
    if (pathMode == 0) {
        output = value;
        return TRUE;
    }
    ResolvePathPair(C_CUPath(file).GetFolder(), value, output, pathMode, msgMode);
    return TRUE;
}

BOOL GetProfileList(const char* file, const char* section, const char* prefix, I_CUStringList* list,
                    int pathMode, UINT msgMode)
{
    if (!list)
        return TRUE;
    C_CUString folder = C_CUPath(file).GetFolder();
    for (int n = 1;; ++n) {
        char buf[520];
        DWORD len = GetPrivateProfileStringA(section, NumberedKey(prefix, n), "", buf, sizeof(buf), file);
        if (len == 0)
            return TRUE;
        std::string value(buf, len);
        if (pathMode == 0) {
            list->Add(value.c_str());
            continue;
        }
        C_CUString entry;
        BOOL ok = ResolvePathPair(folder, value.c_str(), entry, pathMode, msgMode);
        if (!ok && (pathMode == CU_PATH_FILE_DROP || pathMode == CU_PATH_FOLDER_DROP))
            continue;
        list->Add(entry);
    }
}

BOOL WriteProfileValue(const char* file, const char* section, const char* key, const char* value,
                       BOOL relative, UINT msgMode)
{
    C_CUString stored = StoredForm(file, value ? value : "", relative);
    if (!WritePrivateProfileStringA(section, key, stored, file)) {
        Report(msgMode, IDS_CU_WRITE_FILENAME_FAILED, value ? value : "");
        return FALSE;
    }
    return TRUE;
}

int WriteNumberedProfileList(const char* file, const char* section, const char* prefix,
                             const std::function<const char*()>& next, BOOL relative, C_CUString& failed)
{
    int n = 0;
    while (const char* text = next()) {
        ++n;
        C_CUString stored = StoredForm(file, text, relative);
        if (!WritePrivateProfileStringA(section, NumberedKey(prefix, n), stored, file)) {
            failed = stored;
            return PROFILE_LIST_WRITE_FAILED;
        }
    }
    for (int m = n + 1;; ++m) {
        C_CUString key = NumberedKey(prefix, m);
        char buf[512];
        DWORD len = GetPrivateProfileStringA(section, key, "", buf, sizeof(buf), file);
        if (len == 0)
            return PROFILE_LIST_WRITTEN;
        if (!WritePrivateProfileStringA(section, key, nullptr, file)) {
            failed = C_CUString(std::string(buf, len));
            return PROFILE_LIST_CLEAN_FAILED;
        }
    }
}

BOOL WriteProfileList(const char* file, const char* section, const char* prefix, I_CUStringList* list,
                      BOOL relative, UINT msgMode)
{
    if (list)
        list->Reset();
    C_CUString failed;
    int rc = WriteNumberedProfileList(
        file, section, prefix, [list]() { return list ? list->GetNext() : nullptr; }, relative, failed);
    if (rc == PROFILE_LIST_WRITTEN)
        return TRUE;
    Report(msgMode, rc == PROFILE_LIST_WRITE_FAILED ? IDS_CU_WRITE_FILENAME_FAILED : IDS_CU_CLEAN_FILENAME_FAILED,
           failed);
    return FALSE;
}
