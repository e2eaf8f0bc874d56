// A chip's language definition read from its definition file, with the extensions it serves.
#pragma once
#include <windows.h>
#include "components/include/PMLanguageInterface.h"
#include "support/text/CUString.h"
#include "support/text/CUStringList.h"

class C_LanguageDefinition : public I_PMLanguage {
public:
    C_LanguageDefinition() : m_caseSensitive(0), m_tabSize(0) {}

    const char* GetName() override { return m_name; }
    const char* GetKeywordFile() override { return m_keywordFile; }
    const char* GetExtraChars() override { return m_extraChars; }
    const char* GetCommentStart1() override { return m_commentStart1; }
    const char* GetCommentEnd1() override { return m_commentEnd1; }
    const char* GetCommentStart2() override { return m_commentStart2; }
    const char* GetCommentEnd2() override { return m_commentEnd2; }
    DWORD IsCaseSensitive() override { return m_caseSensitive; }
    DWORD GetTabSize() override { return m_tabSize; }
    const char* GetQuoteColor() override { return m_quoteColor; }

    C_CUString m_name;
    C_CUString m_keywordFile;
    C_CUString m_extraChars;
    C_CUString m_commentStart1;
    C_CUString m_commentEnd1;
    C_CUString m_commentStart2;
    C_CUString m_commentEnd2;
    DWORD m_caseSensitive;
    DWORD m_tabSize;
    C_CUString m_quoteColor;
};

class C_LanguageInfo {
public:
    C_LanguageInfo() {}
    virtual ~C_LanguageInfo() {}
    C_LanguageInfo(const C_LanguageInfo&) = delete;
    C_LanguageInfo& operator=(const C_LanguageInfo&) = delete;

    // languageFields: the definition file name, then its extensions, separated by commas.
    BOOL Load(const char* folder, const char* languageFields);
    I_PMLanguage* HasExtension(const char* extension);
    void ReadDefinition();
    void LoadCopy(const char* target);

private:
    C_CUString m_definitionFile;
    C_CUString m_sourceFile;
    C_CUStringList m_extensions;
    C_LanguageDefinition m_definition;
};
