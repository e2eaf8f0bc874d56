// A language definition as the project-manager component hands it out, and as the
// support library's language reader gives it. Crosses DLL boundaries: no virtual
// destructor, ten operations in this slot order. Texts are never null ("" when unset).
#pragma once
#include <windows.h>

class I_PMLanguage {
public:
    virtual const char* GetName() = 0;           // 0
    virtual const char* GetKeywordFile() = 0;    // 1
    virtual const char* GetExtraChars() = 0;     // 2
    virtual const char* GetCommentStart1() = 0;  // 3
    virtual const char* GetCommentEnd1() = 0;    // 4
    virtual const char* GetCommentStart2() = 0;  // 5
    virtual const char* GetCommentEnd2() = 0;    // 6
    virtual DWORD IsCaseSensitive() = 0;         // 7
    virtual DWORD GetTabSize() = 0;              // 8
    virtual const char* GetQuoteColor() = 0;     // 9: "r,g,b"
protected:
    ~I_PMLanguage() {}
};
