// An ini-format file held in memory: sections of case-blind keys, typed and path lookups.
#pragma once
#include <windows.h>
#include <vector>
#include "support/config/HashTables.h"
#include "support/text/CUString.h"
#include "support/text/CUStringList.h"

// Error codes of the last lookup.
enum {
    CU_INI_OK = 0,
    CU_INI_NO_SECTION = 1,
    CU_INI_NO_KEY = 2,
    CU_INI_NOT_A_FILE = 3,
    CU_INI_NOT_A_FOLDER = 4,
};

// A key record lives in its file's arena with its key text and first value
// text right behind it; a value set later is a heap copy of its own.
struct tagIniKey {
    char* key;     // first: the symbol table hashes and compares it
    char* value;   // null after DeleteKey
};
// Frees what a record holds outside its file's arena (a later value).
void FreeIniKey(HashItem item);

struct tagIniSection {
    explicit tagIniSection(const char* n) : name(n), keys(FreeIniKey), keyCount(0) {}
    C_CUString name;
    C_IniSymbolTab keys;
    WORD keyCount;   // records in the table, deleted keys included
};

// Crosses module boundaries: no virtual destructor, so the slots below keep their order.
class I_CUIniFile {
public:
    virtual const char* GetFileName() = 0;
    virtual const char* GetString(const char* section, const char* key, int pathMode, UINT msgMode) = 0;
    virtual I_CUStringList* GetList(const char* section, const char* prefix, int pathMode, UINT msgMode) = 0;
    virtual int GetInt(const char* section, const char* key, int def) = 0;
    virtual double GetDouble(const char* section, const char* key, double def) = 0;
    virtual BOOL SetString(const char* section, const char* key, const char* value, BOOL create,
                           BOOL relative, UINT msgMode) = 0;
    virtual BOOL SetList(const char* section, const char* prefix, I_CUStringList* list, BOOL create,
                         BOOL relative, UINT msgMode) = 0;
    virtual BOOL SetInt(const char* section, const char* key, int value, BOOL create) = 0;
    virtual BOOL SetDouble(const char* section, const char* key, double value, BOOL create) = 0;
    virtual UINT GetError() = 0;
    virtual const char* GetErrorText() = 0;
    virtual int GetSectionCount() = 0;
    virtual const char* GetSectionName(int index) = 0;
    virtual BOOL DeleteKey(const char* section, const char* key) = 0;
    virtual BOOL DeleteSection(const char* section) = 0;
    virtual const char* GetKeyName(const char* section, int index) = 0;
protected:
    ~I_CUIniFile() {}
};

class C_CUIniFile : public I_CUIniFile {
public:
    C_CUIniFile();
    explicit C_CUIniFile(const char* fileName);
    virtual ~C_CUIniFile();
    C_CUIniFile(const C_CUIniFile&) = delete;
    C_CUIniFile& operator=(const C_CUIniFile&) = delete;

    const char* GetFileName() override;
    const char* GetString(const char* section, const char* key, int pathMode, UINT msgMode) override;
    I_CUStringList* GetList(const char* section, const char* prefix, int pathMode, UINT msgMode) override;
    int GetInt(const char* section, const char* key, int def) override;
    double GetDouble(const char* section, const char* key, double def) override;
    BOOL SetString(const char* section, const char* key, const char* value, BOOL create,
                   BOOL relative, UINT msgMode) override;
    BOOL SetList(const char* section, const char* prefix, I_CUStringList* list, BOOL create,
                 BOOL relative, UINT msgMode) override;
    BOOL SetInt(const char* section, const char* key, int value, BOOL create) override;
    BOOL SetDouble(const char* section, const char* key, double value, BOOL create) override;
    UINT GetError() override { return m_error; }
    const char* GetErrorText() override;
    int GetSectionCount() override { return static_cast<int>(m_sections.size()); }
    const char* GetSectionName(int index) override;
    BOOL DeleteKey(const char* section, const char* key) override;
    BOOL DeleteSection(const char* section) override;
    const char* GetKeyName(const char* section, int index) override;

    void SetFileName(const char* fileName) { m_fileName = fileName; }
    BOOL Load();
    BOOL Load(const char* fileName);
    BOOL Save();
    BOOL GetValue(const char* section, const char* key, C_CUString& output, int pathMode, UINT msgMode);
    int FindSection(const char* name);
    int AddSection(const char* name);
    tagIniKey* FindKey(int sectionIndex, const char* key);
    int GetKeyCount(const char* section);
    BOOL ReadList(const char* section, const char* prefix, C_CUStringList* list, int pathMode, UINT msgMode);

private:
    void ReportFailure(UINT msgMode);
    BOOL StoreValue(int sectionIndex, const char* key, const char* value);
    BOOL LoadValue(int sectionIndex, const char* key, const char* value);

    UINT m_error;
    C_CUString m_errorText;
    C_CUString m_failedSection;
    C_CUString m_failedKey;
    C_CUString m_failedValue;
    C_CUString m_fileName;
    C_BlockArena m_records;   // the key records; outlives the sections
    std::vector<tagIniSection*> m_sections;
    C_CUString m_valueBuffer;
    C_CUStringList m_listBuffer;
    // Case-blind index of the sections: open addressing on the hash of the
    // upper-cased name; equal hashes follow one another in file order.
    struct SectionSlot {
        UINT hash;
        int index;   // -1: free
    };
    void IndexSections();
    void IndexSection(UINT hash, int index);
    std::vector<SectionSlot> m_sectionSlots;
};
