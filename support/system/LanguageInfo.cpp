#include "support/system/LanguageInfo.h"
#include "support/config/CUPath.h"
#include "support/config/ProfileHelpers.h"
#include "support/text/TextHelpers.h"
#include "support/ui/CUMsgHandler.h"
#include "support/supportres.h"

BOOL C_LanguageInfo::Load(const char* folder, const char* specification)
{
    m_definitionFile = C_CUString(folder) + GetField(specification, 1);
    m_sourceFile = m_definitionFile;
    if (!FileExists(m_definitionFile)) {
        g_MsgHandler.SendRecord(CU_REC_HIGHLIGHT, IDS_CU_FILE_NOT_EXIST,
                                static_cast<const char*>(m_definitionFile));
        return FALSE;
    }
    for (int i = 2;; ++i) {
        C_CUString ext = GetField(specification, i);
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
    C_CUStringList ends;
    GetProfileList(file, "Comment", "Start", &starts, CU_PATH_PLAIN, CU_MSG_BOX);
    GetProfileList(file, "Comment", "End", &ends, CU_PATH_PLAIN, CU_MSG_BOX);
    d.m_commentStart1 = ";";
    d.m_commentEnd1 = "";
    d.m_commentStart2 = "";
    d.m_commentEnd2 = "";
    if (starts.GetCount() >= 1) {
        d.m_commentStart1 = starts.GetAt(0);
        if (ends.GetCount() >= 1)
            d.m_commentEnd1 = ends.GetAt(0);
    }
    if (starts.GetCount() >= 2) {
        d.m_commentStart2 = starts.GetAt(1);
        if (ends.GetCount() >= 2)
            d.m_commentEnd2 = ends.GetAt(1);
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
