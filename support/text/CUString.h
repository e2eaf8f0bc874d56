// The support library's string: an ANSI text with value semantics.
#pragma once
#include <windows.h>
#include <string>
#include "afx/printf.h"

// Module whose string table the library reads; set by the application at start-up.
extern HINSTANCE g_hInstance;

class C_CUString : public std::string {
public:
    C_CUString() {}
    C_CUString(const char* text) : std::string(text ? text : "") {}
    C_CUString(char ch) : std::string(1, ch) {}
    C_CUString(const std::string& text) : std::string(text) {}
    C_CUString(const C_CUString& other) : std::string(other) {}
    virtual ~C_CUString() {}

    C_CUString& operator=(const char* text);
    C_CUString& operator=(const C_CUString& other);
    void Empty() { clear(); }
    operator const char*() const { return c_str(); }

    // Both forms, so that s[i] is not ambiguous with the pointer conversion.
    using std::string::operator[];
    char& operator[](int index) { return std::string::operator[](static_cast<size_t>(index)); }
    const char& operator[](int index) const { return std::string::operator[](static_cast<size_t>(index)); }

    int GetLength() const { return static_cast<int>(size()); }
    BOOL IsEmpty() const { return empty() ? TRUE : FALSE; }
    char& GetAt(UINT index);
    int Find(const char* text) const;
    int FindFrom(const char* text, int start) const;
    int ReverseFind(char ch) const;
    int Compare(const char* text) const;
    C_CUString Left(int count) const;
    C_CUString Right(int count) const;
    C_CUString Mid(int first, int count) const;
    C_CUString Mid(int first) const;

    void TrimLeft();
    void TrimLeft(const char* set);
    void TrimLeft(char ch);
    void TrimRight();
    void TrimRight(const char* set);
    void TrimRight(char ch);
    void MakeUpper();
    void MakeLower();
    void AnsiToOem();
    void OemToAnsi();
    int Replace(const char* oldText, const char* newText);
    void Format(const char* format, ...) AFX_PRINTF(2, 3);
    void FormatV(const char* format, va_list args) AFX_PRINTF(2, 0);
    BOOL LoadString(UINT id);
};

C_CUString operator+(const C_CUString& a, const C_CUString& b);
C_CUString operator+(const C_CUString& a, const char* b);
C_CUString operator+(const char* a, const C_CUString& b);
C_CUString operator+(const C_CUString& a, char b);
C_CUString operator+(char a, const C_CUString& b);
