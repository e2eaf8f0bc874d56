#include "support/config/CUIniFile.h"
#include "support/config/CUPath.h"
#include "support/config/ProfileHelpers.h"
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


} // namespace

namespace {

// The value text stored right behind the record and its key.
const char* FirstValue(const tagIniKey* rec)
{
    return reinterpret_cast<const char*>(rec + 1) + strlen(rec->key) + 1;
}

// A new record with copies of the key and the value, in the arena.
tagIniKey* NewKeyRecord(C_BlockArena& records, const char* key, const char* value)
{
    size_t keyLen = strlen(key), valueLen = strlen(value);
    char* p = static_cast<char*>(records.Alloc(sizeof(tagIniKey) + keyLen + valueLen + 2));
    if (!p)
        return nullptr;
    tagIniKey* rec = reinterpret_cast<tagIniKey*>(p);
    rec->key = p + sizeof(tagIniKey);
    memcpy(rec->key, key, keyLen + 1);
    rec->value = rec->key + keyLen + 1;
    memcpy(rec->value, value, valueLen + 1);
    return rec;
}

// Gives the record another value (a heap copy, or null), freeing the old
// one unless it is the one stored with the record.
void ReplaceValue(tagIniKey* rec, char* value)
{
    if (rec->value != FirstValue(rec))
        delete[] rec->value;
    rec->value = value;
}

} // namespace

void FreeIniKey(HashItem item)
{
    tagIniKey* rec = static_cast<tagIniKey*>(item);
    if (rec)
        ReplaceValue(rec, nullptr);
}

C_CUIniFile::C_CUIniFile() : m_error(CU_INI_OK) {}

C_CUIniFile::C_CUIniFile(const char* fileName) : m_error(CU_INI_OK), m_fileName(fileName) {}

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

namespace {

const char kBlanks[] = " \t\n";

// One line as the grammar sees it: cut at the first ';' and trimmed of
// blanks, tabs and newlines at both ends; *pEnd gets its end.
char* TrimmedLine(char* line, char** pEnd)
{
    char* comment = strchr(line, ';');
    char* end = comment ? comment : line + strlen(line);
    while (line < end && strchr(kBlanks, *line))
        ++line;
    while (end > line && strchr(kBlanks, end[-1]))
        --end;
    *end = 0;
    *pEnd = end;
    return line;
}

// A "[name]" line gives its name: all leading '[' and trailing ']' go.
bool SectionName(char* line, char* end, C_CUString& name)
{
    if (end - line < 2 || *line != '[' || end[-1] != ']')
        return false;
    while (line < end && *line == '[')
        ++line;
    while (end > line && end[-1] == ']')
        --end;
    name.assign(line, end);
    return true;
}

// A key line: the key before the first '=' (trailing blanks trimmed), the
// value after it (leading blanks trimmed); without '=' the key is empty.
void SplitKeyLine(char* line, char* end, const char** pKey, const char** pValue)
{
    char* eq = strchr(line, '=');
    if (!eq) {
        *pKey = "";
        *pValue = line;
        return;
    }
    char* keyEnd = eq;
    while (keyEnd > line && strchr(kBlanks, keyEnd[-1]))
        --keyEnd;
    *keyEnd = 0;
    char* value = eq + 1;
    while (value < end && strchr(kBlanks, *value))
        ++value;
    *pKey = line;
    *pValue = value;
}

} // namespace

BOOL C_CUIniFile::Load(const char* fileName)
{
    FILE* f = fopen(Safe(fileName), "rt");
    if (!f)
        return FALSE;
    C_CUString current;
    int section = -1;   // made when its first key comes
    char buf[kLineBuffer];
    while (fgets(buf, sizeof(buf), f)) {
        char* end = nullptr;
        char* line = TrimmedLine(buf, &end);
        if (line == end)
            continue;
        if (SectionName(line, end, current)) {
            section = AddSection(current);
            continue;
        }
        const char* key = nullptr;
        const char* value = nullptr;
        SplitKeyLine(line, end, &key, &value);
        if (section < 0)
            section = AddSection(current);
        if (LoadValue(section, key, value))
            m_error = CU_INI_OK;
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
    // Names that compare equal hash alike: the slots give the candidates in
    // file order, and the first that compares equal is the answer.
    if (!m_sectionSlots.empty()) {
        const unsigned char* wanted = reinterpret_cast<const unsigned char*>(Safe(name));
        UINT hash = HashUpper(Safe(name));
        size_t mask = m_sectionSlots.size() - 1;
        for (size_t i = hash & mask; m_sectionSlots[i].index >= 0; i = (i + 1) & mask) {
            const SectionSlot& slot = m_sectionSlots[i];
            const unsigned char* have =
                reinterpret_cast<const unsigned char*>(m_sections[static_cast<size_t>(slot.index)]->name.c_str());
            if (slot.hash == hash && _mbsicmp(have, wanted) == 0) {
                m_error = CU_INI_OK;
                return slot.index;
            }
        }
    }
    m_error = CU_INI_NO_SECTION;
    m_failedSection = Safe(name);
    return -1;
}

// Adds one section to the slots, which stay at most half full.
void C_CUIniFile::IndexSection(UINT hash, int index)
{
    if (m_sectionSlots.size() < 2 * m_sections.size()) {
        IndexSections();
        return;
    }
    size_t mask = m_sectionSlots.size() - 1;
    size_t i = hash & mask;
    while (m_sectionSlots[i].index >= 0)
        i = (i + 1) & mask;
    m_sectionSlots[i] = SectionSlot{hash, index};
}

// Builds the slots anew for all sections, in order.
void C_CUIniFile::IndexSections()
{
    size_t size = 64;
    while (size < 2 * m_sections.size())
        size *= 2;
    m_sectionSlots.assign(size, SectionSlot{0, -1});
    for (size_t n = 0; n < m_sections.size(); ++n)
        IndexSection(HashUpper(m_sections[n]->name.c_str()), static_cast<int>(n));
}

int C_CUIniFile::AddSection(const char* name)
{
    int index = FindSection(name);
    if (index >= 0)
        return index;
    m_sections.push_back(new tagIniSection(Safe(name)));
    IndexSection(HashUpper(Safe(name)), static_cast<int>(m_sections.size()) - 1);
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
    C_CUString resolved;
    if (ResolvePathPair(C_CUPath(m_fileName).GetFolder(), value, resolved, pathMode, msgMode)) {
        output = resolved;
        m_error = CU_INI_OK;
        return TRUE;
    }
    // Neither field resolved: resolved holds field 2 as ResolvePath left it.
    if (pathMode == CU_PATH_FILE_DROP || pathMode == CU_PATH_FOLDER_DROP) {
        m_error = pathMode == CU_PATH_FILE_DROP ? CU_INI_NOT_A_FILE : CU_INI_NOT_A_FOLDER;
        m_failedSection = Safe(section);
        m_failedKey = Safe(key);
        m_failedValue = resolved;
        return FALSE;
    }
    output = resolved;
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
    C_CUString text = relative ? PathPairForm(m_fileName, Safe(value)) : C_CUString(value);
    tagIniKey* rec = FindKey(index, key);
    if (!rec && !create)
        return FALSE;
    if (!StoreValue(index, key, text)) {
        // A new key not stored: say so, and leave the error as it was.
        if (!rec)
            m_error = before;
        return FALSE;
    }
    m_error = CU_INI_OK;
    return TRUE;
}

// Replaces the value of the key in the section, or adds the key.
BOOL C_CUIniFile::StoreValue(int sectionIndex, const char* key, const char* value)
{
    tagIniSection* s = m_sections[static_cast<size_t>(sectionIndex)];
    tagIniKey probe{const_cast<char*>(Safe(key)), nullptr};
    tagIniKey* rec = static_cast<tagIniKey*>(s->keys.Find(&probe));
    if (rec) {
        char* copy = CopyText(value);
        if (!copy)
            return FALSE;
        ReplaceValue(rec, copy);
        return TRUE;
    }
    if (s->keyCount >= kMaxKeys)
        return FALSE;
    // A record the table refuses stays unused in the arena until the file goes.
    tagIniKey* fresh = NewKeyRecord(m_records, Safe(key), Safe(value));
    if (!fresh || s->keys.Insert(fresh) != C_StLHashT::INSERTED)
        return FALSE;
    ++s->keyCount;
    return TRUE;
}

// As StoreValue, for a key read from the file: most are new, so the
// record is offered to the table first, which hashes the key once. A
// repeated key leaves that record unused in the arena until the file goes.
BOOL C_CUIniFile::LoadValue(int sectionIndex, const char* key, const char* value)
{
    tagIniSection* s = m_sections[static_cast<size_t>(sectionIndex)];
    if (s->keyCount < kMaxKeys) {
        tagIniKey* fresh = NewKeyRecord(m_records, Safe(key), Safe(value));
        if (!fresh)
            return FALSE;
        WORD status = s->keys.Insert(fresh);
        if (status == C_StLHashT::INSERTED) {
            ++s->keyCount;
            return TRUE;
        }
        if (status != C_StLHashT::ALREADY_THERE)
            return FALSE;
    }
    return StoreValue(sectionIndex, key, value);
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
    ReplaceValue(rec, nullptr);
    return TRUE;
}

BOOL C_CUIniFile::DeleteSection(const char* section)
{
    int index = FindSection(section);
    if (index < 0)
        return FALSE;
    delete m_sections[static_cast<size_t>(index)];
    m_sections.erase(m_sections.begin() + index);
    IndexSections();
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
