#include "support/config/CUIniFile.h"
#include "support/config/CUPath.h"
#include "support/text/TextHelpers.h"
#include "support/ui/CUMsgHandler.h"
#include <mbstring.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

const size_t kLineBuffer = 2048;
const WORD kMaxKeys = 0xFFFF;

const char* Safe(const char* text) { return text ? text : ""; }

char* CopyText(const char* text)
{
    size_t len = strlen(Safe(text));
    char* copy = new (std::nothrow) char[len + 1];
    if (copy)
        memcpy(copy, Safe(text), len + 1);
    return copy;
}

C_CUString NumberedKey(const char* prefix, int n)
{
    C_CUString key;
    key.Format("%s%d", Safe(prefix), n);
    return key;
}

} // namespace

void FreeIniKey(HashItem item)
{
    tagIniKey* rec = static_cast<tagIniKey*>(item);
    if (!rec)
        return;
    delete[] rec->key;
    delete[] rec->value;
    delete rec;
}

C_CUIniFile::C_CUIniFile() : m_error(CU_INI_OK), m_lastSection(0) {}

C_CUIniFile::C_CUIniFile(const char* fileName)
    : m_error(CU_INI_OK), m_fileName(fileName), m_lastSection(0) {}

C_CUIniFile::~C_CUIniFile()
{
    for (tagIniSection* s : m_sections)
        delete s;
}

const char* C_CUIniFile::GetFileName()
{
    return m_fileName.c_str();
}

BOOL C_CUIniFile::Load()
{
    return Load(m_fileName);
}

BOOL C_CUIniFile::Load(const char* fileName)
{
    FILE* f = fopen(Safe(fileName), "rt");
    if (!f)
        return FALSE;
    C_CUString current;
    char buf[kLineBuffer];
    while (fgets(buf, sizeof(buf), f)) {
        C_CUString line(buf);
        int semicolon = line.Find(";");
        if (semicolon >= 0)
            line.erase(static_cast<size_t>(semicolon));
        line.TrimLeft();
        line.TrimRight();
        if (line.empty())
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            size_t first = line.find_first_not_of('[');
            size_t last = line.find_last_not_of(']');
            current = (first == std::string::npos || last == std::string::npos || last < first)
                          ? C_CUString() : C_CUString(line.substr(first, last - first + 1));
            AddSection(current);
            continue;
        }
        C_CUString key, value;
        int eq = line.Find("=");
        if (eq < 0) {
            value = line;
        } else {
            key = line.Left(eq);
            key.TrimRight();
            value = line.Mid(eq + 1);
            value.TrimLeft();
        }
        SetString(current, key, value, TRUE, FALSE, CU_MSG_NONE);
    }
    fclose(f);
    return TRUE;
}

BOOL C_CUIniFile::Save()
{
    FILE* f = fopen(m_fileName.c_str(), "wt");
    if (!f)
        return FALSE;
    for (tagIniSection* s : m_sections) {
        fprintf(f, "[%s]\n", s->name.c_str());
        if (s->keyCount == 0)
            continue;
        for (HashItem it = s->keys.GetFirst(); it; it = s->keys.GetNext()) {
            const tagIniKey* rec = static_cast<const tagIniKey*>(it);
            if (rec->value)
                fprintf(f, "%s = %s\n", rec->key, rec->value);
        }
        fputs("\n", f);
    }
    bool ok = ferror(f) == 0;
    if (fclose(f) != 0)
        ok = false;
    return ok ? TRUE : FALSE;
}

int C_CUIniFile::FindSection(const char* name)
{
    const unsigned char* wanted = reinterpret_cast<const unsigned char*>(Safe(name));
    // Names are unique, so the section hit last is the answer when it matches: lines and
    // lookups mostly come section by section.
    if (m_lastSection < m_sections.size() &&
        _mbsicmp(reinterpret_cast<const unsigned char*>(m_sections[m_lastSection]->name.c_str()), wanted) == 0) {
        m_error = CU_INI_OK;
        return static_cast<int>(m_lastSection);
    }
    for (size_t i = 0; i < m_sections.size(); ++i) {
        if (_mbsicmp(reinterpret_cast<const unsigned char*>(m_sections[i]->name.c_str()), wanted) == 0) {
            m_error = CU_INI_OK;
            m_lastSection = i;
            return static_cast<int>(i);
        }
    }
    m_error = CU_INI_NO_SECTION;
    m_failedSection = Safe(name);
    return -1;
}

int C_CUIniFile::AddSection(const char* name)
{
    int index = FindSection(name);
    if (index >= 0)
        return index;
    m_sections.push_back(new tagIniSection(Safe(name)));
    return static_cast<int>(m_sections.size()) - 1;
}

tagIniKey* C_CUIniFile::FindKey(int sectionIndex, const char* key)
{
    if (sectionIndex < 0 || sectionIndex >= GetSectionCount()) {
        m_error = CU_INI_NO_SECTION;
        m_failedSection.Format("Section Index(%d)", sectionIndex);
        return nullptr;
    }
    tagIniSection* s = m_sections[static_cast<size_t>(sectionIndex)];
    tagIniKey probe{const_cast<char*>(Safe(key)), nullptr};
    tagIniKey* rec = static_cast<tagIniKey*>(s->keys.Find(&probe));
    if (!rec) {
        m_error = CU_INI_NO_KEY;
        m_failedSection = s->name;
        m_failedKey = Safe(key);
        return nullptr;
    }
    m_error = CU_INI_OK;
    return rec;
}

int C_CUIniFile::GetKeyCount(const char* section)
{
    int index = FindSection(section);
    return index < 0 ? -1 : m_sections[static_cast<size_t>(index)]->keyCount;
}

void C_CUIniFile::ReportFailure(UINT msgMode)
{
    // The text goes out as built: a '%' in a file name is shown, not interpreted.
    g_MsgHandler.ShowMessageText(msgMode, "Error", "%s", 0, GetErrorText());
}

BOOL C_CUIniFile::GetValue(const char* section, const char* key, C_CUString& output, int pathMode,
                           UINT msgMode)
{
    output.Empty();
    int index = FindSection(section);
    if (index < 0) {
        ReportFailure(msgMode);
        return FALSE;
    }
    tagIniKey* rec = FindKey(index, key);
    if (!rec) {
        ReportFailure(msgMode);
        return FALSE;
    }
    const char* value = Safe(rec->value);
    if (pathMode == 0) {
        output = value;
        m_error = CU_INI_OK;
        return TRUE;
    }
    C_CUString folder = C_CUPath(m_fileName).GetFolder();
    C_CUString first = GetField(value, 1);
    if (ResolvePath(folder, first, pathMode, CU_MSG_NONE)) {
        output = first;
        m_error = CU_INI_OK;
        return TRUE;
    }
    C_CUString second = GetField(value, 2);
    if (ResolvePath(folder, second, pathMode, msgMode)) {
        output = second;
        m_error = CU_INI_OK;
        return TRUE;
    }
    if (pathMode == CU_PATH_FILE_DROP || pathMode == CU_PATH_FOLDER_DROP) {
        m_error = pathMode == CU_PATH_FILE_DROP ? CU_INI_NOT_A_FILE : CU_INI_NOT_A_FOLDER;
        m_failedSection = Safe(section);
        m_failedKey = Safe(key);
        m_failedValue = second;
        return FALSE;
    }
    output = second;
    m_error = CU_INI_OK;
    return TRUE;
}

const char* C_CUIniFile::GetString(const char* section, const char* key, int pathMode, UINT msgMode)
{
    if (!GetValue(section, key, m_valueBuffer, pathMode, msgMode))
        return nullptr;
    return m_valueBuffer.c_str();
}

BOOL C_CUIniFile::ReadList(const char* section, const char* prefix, C_CUStringList* list, int pathMode,
                           UINT msgMode)
{
    if (!list)
        return TRUE;
    list->RemoveAll();
    for (int n = 1;; ++n) {
        C_CUString key = NumberedKey(prefix, n);
        // A deleted key ends the list as a missing one does.
        int index = FindSection(section);
        tagIniKey* rec = index >= 0 ? FindKey(index, key) : nullptr;
        if (!rec || !rec->value)
            return TRUE;
        C_CUString text;
        if (GetValue(section, key, text, pathMode, CU_MSG_NONE)) {
            list->Add(text);
            continue;
        }
        if (m_error == CU_INI_NO_SECTION || m_error == CU_INI_NO_KEY)
            return TRUE;
        ReportFailure(msgMode);
    }
}

I_CUStringList* C_CUIniFile::GetList(const char* section, const char* prefix, int pathMode, UINT msgMode)
{
    ReadList(section, prefix, &m_listBuffer, pathMode, msgMode);
    return &m_listBuffer;
}

int C_CUIniFile::GetInt(const char* section, const char* key, int def)
{
    C_CUString text;
    if (!GetValue(section, key, text, 0, CU_MSG_NONE))
        return def;
    return atoi(text);
}

double C_CUIniFile::GetDouble(const char* section, const char* key, double def)
{
    C_CUString text;
    if (!GetValue(section, key, text, 0, CU_MSG_NONE))
        return def;
    return atof(text);
}

BOOL C_CUIniFile::SetString(const char* section, const char* key, const char* value, BOOL create,
                            BOOL relative, UINT msgMode)
{
    const UINT before = m_error;
    int index = FindSection(section);
    if (index < 0) {
        if (!create)
            return FALSE;
        index = AddSection(section);
    }
    C_CUString text(value);
    if (relative) {
        C_CUString rel(value);
        MakeRelativePath(C_CUPath(m_fileName).GetFolder(), rel);
        text = rel + "," + Safe(value);
    }
    tagIniKey* rec = FindKey(index, key);
    if (rec) {
        char* copy = CopyText(text);
        if (!copy)
            return FALSE;
        delete[] rec->value;
        rec->value = copy;
        m_error = CU_INI_OK;
        return TRUE;
    }
    if (!create)
        return FALSE;
    tagIniSection* s = m_sections[static_cast<size_t>(index)];
    if (s->keyCount >= kMaxKeys) {
        m_error = before;
        return FALSE;
    }
    tagIniKey* fresh = new (std::nothrow) tagIniKey{CopyText(key), CopyText(text)};
    if (!fresh || !fresh->key || !fresh->value || s->keys.Insert(fresh) != C_StLHashT::INSERTED) {
        // Not stored: say so, and leave the error as it was.
        FreeIniKey(fresh);
        m_error = before;
        return FALSE;
    }
    ++s->keyCount;
    m_error = CU_INI_OK;
    return TRUE;
}

BOOL C_CUIniFile::SetList(const char* section, const char* prefix, I_CUStringList* list, BOOL create,
                          BOOL relative, UINT msgMode)
{
    int k = 0;
    if (list) {
        list->Reset();
        while (const char* text = list->GetNext()) {
            ++k;
            if (!SetString(section, NumberedKey(prefix, k), text, create, relative, msgMode))
                return FALSE;
        }
    }
    while (DeleteKey(section, NumberedKey(prefix, ++k))) {
    }
    m_error = CU_INI_OK;
    return TRUE;
}

BOOL C_CUIniFile::SetInt(const char* section, const char* key, int value, BOOL create)
{
    C_CUString text;
    text.Format("%d", value);
    return SetString(section, key, text, create, FALSE, CU_MSG_BOX);
}

BOOL C_CUIniFile::SetDouble(const char* section, const char* key, double value, BOOL create)
{
    C_CUString text;
    text.Format("%e", value);
    return SetString(section, key, text, create, FALSE, CU_MSG_BOX);
}

const char* C_CUIniFile::GetErrorText()
{
    switch (m_error) {
    case CU_INI_OK:
        m_errorText = "No error.";
        break;
    case CU_INI_NO_SECTION:
        m_errorText.Format("Unable to locate specified section [%s]\nin file '%s'",
                           m_failedSection.c_str(), m_fileName.c_str());
        break;
    case CU_INI_NO_KEY:
        m_errorText.Format("Unable to locate specified label '%s' of section [%s]\nin file '%s'",
                           m_failedKey.c_str(), m_failedSection.c_str(), m_fileName.c_str());
        break;
    case CU_INI_NOT_A_FILE:
        m_errorText.Format("Key value is not an existing file: '%s:[%s][%s]=%s'", m_fileName.c_str(),
                           m_failedSection.c_str(), m_failedKey.c_str(), m_failedValue.c_str());
        break;
    case CU_INI_NOT_A_FOLDER:
        m_errorText.Format("Key value is not an existing directory: '%s:[%s][%s]=%s'",
                           m_fileName.c_str(), m_failedSection.c_str(), m_failedKey.c_str(),
                           m_failedValue.c_str());
        break;
    default:
        m_errorText.Empty();
        break;
    }
    return m_errorText.c_str();
}

const char* C_CUIniFile::GetSectionName(int index)
{
    if (index < 0 || index >= GetSectionCount())
        return nullptr;
    return m_sections[static_cast<size_t>(index)]->name.c_str();
}

BOOL C_CUIniFile::DeleteKey(const char* section, const char* key)
{
    int index = FindSection(section);
    if (index < 0)
        return FALSE;
    tagIniKey* rec = FindKey(index, key);
    if (!rec)
        return FALSE;
    delete[] rec->value;
    rec->value = nullptr;
    return TRUE;
}

BOOL C_CUIniFile::DeleteSection(const char* section)
{
    int index = FindSection(section);
    if (index < 0)
        return FALSE;
    delete m_sections[static_cast<size_t>(index)];
    m_sections.erase(m_sections.begin() + index);
    m_lastSection = 0;
    return TRUE;
}

const char* C_CUIniFile::GetKeyName(const char* section, int index)
{
    int s = FindSection(section);
    if (s < 0)
        return nullptr;
    int n = m_sections[static_cast<size_t>(s)]->keyCount;
    if (n < 1 || index < 0 || index >= n)
        return nullptr;
    C_IniSymbolTab& keys = m_sections[static_cast<size_t>(s)]->keys;
    HashItem it = keys.GetFirst();
    for (int i = 0; i < index && it; ++i)
        it = keys.GetNext();
    return it ? static_cast<const tagIniKey*>(it)->key : nullptr;
}
