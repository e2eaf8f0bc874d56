#include "support/system/LanguageInfo.h"
#include "support/config/CUPath.h"
#include "support/config/ProfileHelpers.h"
#include "support/text/TextHelpers.h"
#include "support/ui/CUMsgHandler.h"
#include "support/supportres.h"

namespace {

// "End<n>" as written (';' allowed, as in the numbered lists).
C_CUString ReadCommentEnd(const char* file, int n)
{
    char key[16];
    wsprintfA(key, "End%d", n);
    char buf[520] = {0};
    GetPrivateProfileStringA("Comment", key, "", buf, sizeof(buf), file);
    return C_CUString(buf);
}

} // namespace

BOOL C_LanguageInfo::Load(const char* folder, const char* languageFields)
{
    m_definitionFile = C_CUString(folder) + GetField(languageFields, 1);
    m_sourceFile = m_definitionFile;
    if (!FileExists(m_definitionFile)) {
        g_MsgHandler.SendRecord(CU_REC_HIGHLIGHT, IDS_CU_FILE_NOT_EXIST,
                                static_cast<const char*>(m_definitionFile));
        return FALSE;
    }
    for (int i = 2;; ++i) {
        C_CUString ext = GetField(languageFields, i);
        if (ext.empty())
            break;
        m_extensions.Add(ext);
    }
    if (m_extensions.GetCount() == 0)
        return FALSE;
    ReadDefinition();
    return TRUE;
}

I_PMLanguage* C_LanguageInfo::HasExtension(const char* extension)
{
    return IsInStringListNoCase(extension, &m_extensions) ? &m_definition : nullptr;
}

void C_LanguageInfo::ReadDefinition()
{
    C_LanguageDefinition& d = m_definition;
    const char* file = m_definitionFile;
    GetProfileValue(file, "Comment", "ExtraChars", d.m_extraChars, CU_PATH_PLAIN, CU_MSG_NONE);
    if (d.m_extraChars.empty())
        d.m_extraChars = "#@";

    C_CUStringList starts;
    GetProfileList(file, "Comment", "Start", &starts, CU_PATH_PLAIN, CU_MSG_BOX);
    d.m_commentStart1 = ";";
    d.m_commentEnd1 = "";
    d.m_commentStart2 = "";
    d.m_commentEnd2 = "";
    // A closer belongs to its opener by number: a line comment in pair 1 (no "End1")
    // must not cost pair 2 its closer.
    if (starts.GetCount() >= 1) {
        d.m_commentStart1 = starts.GetAt(0);
        d.m_commentEnd1 = ReadCommentEnd(file, 1);
    }
    if (starts.GetCount() >= 2) {
        d.m_commentStart2 = starts.GetAt(1);
        d.m_commentEnd2 = ReadCommentEnd(file, 2);
    }

    C_CUPath path(file);
    d.m_name = path.GetFileTitle();
    d.m_keywordFile = m_definitionFile;
    d.m_caseSensitive = static_cast<DWORD>(GetPrivateProfileIntA("OtherControls", "CaseSensitive", 0, file));
    d.m_tabSize = static_cast<DWORD>(GetPrivateProfileIntA("OtherControls", "TabSize", 4, file));
    d.m_quoteColor.Format("%d,%d,%d", 120, 120, 120);
}

void C_LanguageInfo::LoadCopy(const char* target)
{
    C_CUPath targetPath(target);
    C_CUPath source(m_sourceFile);
    m_definitionFile = targetPath.GetFolder() + source.GetFileName();
    if (!FileExists(m_definitionFile))
        CopyFileA(m_sourceFile, m_definitionFile, FALSE);
    ReadDefinition();
}
