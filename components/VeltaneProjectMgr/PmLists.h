// Lists the component hands across the boundary, kept on the component's own heap.
#pragma once
#include "components/include/ProjectMgrInterface.h"
#include <string>
#include <vector>

namespace pm {

class StringList : public I_CUStringList {
public:
    int GetCount() override { return static_cast<int>(items.size()); }
    void Reset() override { m_cursor = -1; }
    void MoveToEnd() override { m_cursor = GetCount(); }
    const char* GetNext() override
    {
        if (m_cursor + 1 >= GetCount())
            return nullptr;
        return items[static_cast<size_t>(++m_cursor)].c_str();
    }
    const char* GetPrev() override
    {
        if (m_cursor <= 0 || m_cursor > GetCount())
            return nullptr;
        return items[static_cast<size_t>(--m_cursor)].c_str();
    }
    const char* GetAt(int index) override
    {
        return index >= 0 && index < GetCount() ? items[static_cast<size_t>(index)].c_str() : nullptr;
    }
    BOOL Add(const char* text) override
    {
        items.push_back(text ? text : "");
        return TRUE;
    }
    void AddList(I_CUStringList* other) override
    {
        if (!other)
            return;
        for (int i = 0; i < other->GetCount(); ++i)
            Add(other->GetAt(i));
    }

    std::vector<std::string> items;

private:
    int m_cursor = -1;
};

// Plain values (pointers the list does not own); ids are positions + 1.
template <class T>
class ElementList : public I_CUElementList<T> {
public:
    int GetCount() override { return static_cast<int>(items.size()); }
    void Reset() override { m_cursor = -1; }
    void MoveToEnd() override { m_cursor = GetCount(); }
    BOOL GetNext(T* value, UINT* id) override
    {
        if (!value || m_cursor + 1 >= GetCount())
            return FALSE;
        return GetAt(++m_cursor, value, id);
    }
    BOOL GetPrev(T* value, UINT* id) override
    {
        if (!value || m_cursor <= 0 || m_cursor > GetCount())
            return FALSE;
        return GetAt(--m_cursor, value, id);
    }
    BOOL GetAt(int index, T* value, UINT* id) override
    {
        if (!value || index < 0 || index >= GetCount())
            return FALSE;
        *value = items[static_cast<size_t>(index)];
        if (id)
            *id = static_cast<UINT>(index + 1);
        return TRUE;
    }
    BOOL Add(T value, UINT* id) override
    {
        items.push_back(value);
        if (id)
            *id = static_cast<UINT>(items.size());
        return TRUE;
    }
    void AddList(I_CUElementList<T>* other) override
    {
        if (!other)
            return;
        T value;
        for (int i = 0; other->GetAt(i, &value, nullptr); ++i)
            Add(value, nullptr);
    }

    std::vector<T> items;

private:
    int m_cursor = -1;
};

// The two-call protocol: the byte size of the strings with their NULs and one more NUL, and the
// strings into the buffer when one is given. An empty list answers 0 and writes nothing.
inline int CopyMultiString(const std::vector<std::string>& items, char* buffer)
{
    if (items.empty())
        return 0;
    size_t size = 1;
    for (const std::string& s : items)
        size += s.size() + 1;
    if (buffer) {
        char* p = buffer;
        for (const std::string& s : items) {
            memcpy(p, s.c_str(), s.size() + 1);
            p += s.size() + 1;
        }
        *p = '\0';
    }
    return static_cast<int>(size);
}

} // namespace pm
