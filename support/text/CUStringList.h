// Ordered list of texts with a cursor and item ids.
#pragma once
#include <windows.h>
#include <string>
#include "support/text/CUList.h"

// Crosses into component DLLs: no virtual destructor, so the slots below are the
// whole table in this order (a virtual destructor would take two slots under g++).
class I_CUStringList {
public:
    virtual int GetCount() = 0;
    virtual void Reset() = 0;
    virtual void MoveToEnd() = 0;
    virtual const char* GetNext() = 0;
    virtual const char* GetPrev() = 0;
    virtual const char* GetAt(int index) = 0;
    virtual BOOL Add(const char* text) = 0;
    virtual void AddList(I_CUStringList* other) = 0;
protected:
    ~I_CUStringList() {}
};

class C_CUStringList : public I_CUStringList {
public:
    struct _String : public C_CUItem {
        _String(const char* t, C_CUStringList* o) : text(t ? t : ""), owner(o) {}
        std::string text;
        C_CUStringList* owner;
    };

    C_CUStringList() : m_separator(0) {}
    C_CUStringList(C_CUStringList& other);
    C_CUStringList(const C_CUStringList&) = delete;
    C_CUStringList& operator=(const C_CUStringList&) = delete;
    virtual ~C_CUStringList();

    int GetCount() override;
    void Reset() override;
    void MoveToEnd() override;
    const char* GetNext() override;
    const char* GetPrev() override;
    const char* GetAt(int index) override;
    BOOL Add(const char* text) override;
    void AddList(I_CUStringList* other) override;

    void RemoveAll();
    BOOL Remove(int index);
    BOOL Insert(int index, const char* text);
    C_CUStringList& Assign(I_CUStringList* other);
    void Sort(BOOL ascending);
    void SortNoCase(BOOL ascending);
    void SortBySuffix(char separator, BOOL ascending);
    void SortBySuffixNoCase(char separator, BOOL ascending);

private:
    template <class Less>
    void SortWith(Less less, BOOL ascending);

    C_CUList<_String, _String, 0> m_list;
    char m_separator;
};
