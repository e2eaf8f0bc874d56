// List of plain values (numbers or pointers it does not own) with a cursor and item ids.
#pragma once
#include <windows.h>
#include <utility>
#include <vector>
#include "support/text/CUList.h"

template <class T>
class I_CUElementList {
public:
    virtual int GetCount() = 0;
    virtual void Reset() = 0;
    virtual void MoveToEnd() = 0;
    virtual BOOL GetNext(T* value, UINT* id) = 0;
    virtual BOOL GetPrev(T* value, UINT* id) = 0;
    virtual BOOL GetAt(int index, T* value, UINT* id) = 0;
    virtual BOOL Add(T value, UINT* id) = 0;
    virtual void AddList(I_CUElementList<T>* other) = 0;
protected:
    ~I_CUElementList() {}
};

template <class T>
class C_CUElementList : public I_CUElementList<T> {
public:
    C_CUElementList() : m_cursor(0) {}
    virtual ~C_CUElementList() { RemoveAll(); }

    int GetCount() override { return static_cast<int>(m_elements.size()); }
    void Reset() override { m_cursor = -1; }
    void MoveToEnd() override { m_cursor = GetCount(); }

    BOOL GetNext(T* value, UINT* id) override
    {
        if (!value || m_cursor >= GetCount() - 1)
            return FALSE;
        m_cursor = m_cursor < 0 ? 0 : m_cursor + 1;
        Read(m_cursor, value, id);
        return TRUE;
    }

    BOOL GetPrev(T* value, UINT* id) override
    {
        // Before the first Reset of a fresh list the index may exceed the count.
        if (!value || m_cursor < 1 || m_cursor > GetCount())
            return FALSE;
        --m_cursor;
        Read(m_cursor, value, id);
        return TRUE;
    }

    BOOL GetAt(int index, T* value, UINT* id) override
    {
        if (!value || index < 0 || index >= GetCount())
            return FALSE;
        Read(index, value, id);
        return TRUE;
    }

    BOOL Add(T value, UINT* id) override
    {
        UINT newId = m_ids.GetNextID();
        m_elements.emplace_back(newId, value);
        if (id)
            *id = newId;
        return TRUE;
    }

    void AddList(I_CUElementList<T>* other) override
    {
        if (!other || other == this)
            return;
        int count = other->GetCount();
        for (int i = 0; i < count; ++i) {
            T value;
            if (other->GetAt(i, &value, nullptr))
                Add(value, nullptr);
        }
    }

    int IndexOf(T value)
    {
        for (size_t i = 0; i < m_elements.size(); ++i)
            if (m_elements[i].second == value)
                return static_cast<int>(i);
        return -1;
    }

    // The cursor keeps its index (at the end when that is now past the last element).
    BOOL RemoveAt(int index, T* value)
    {
        if (index < 0 || index >= GetCount())
            return FALSE;
        if (value)
            *value = m_elements[static_cast<size_t>(index)].second;
        UINT id = m_elements[static_cast<size_t>(index)].first;
        m_elements.erase(m_elements.begin() + index);
        m_ids.Release(id);
        if (m_cursor >= GetCount())
            MoveToEnd();
        return TRUE;
    }

    void RemoveAll()
    {
        m_elements.clear();
        m_ids.Reset();
    }

private:
    void Read(int index, T* value, UINT* id)
    {
        *value = m_elements[static_cast<size_t>(index)].second;
        if (id)
            *id = m_elements[static_cast<size_t>(index)].first;
    }

    std::vector<std::pair<UINT, T>> m_elements;
    int m_cursor;
    C_UniqueIDGenerator m_ids;
};
