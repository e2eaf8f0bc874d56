// Item ids and the list templates over item pointers, with a cursor.
#pragma once
#include <windows.h>
#include <vector>

class C_CUStringList;

// Base of every list item: the id its list hands out.
class C_CUItem {
public:
    C_CUItem() : m_id(0) {}
    void SetID(UINT id) { m_id = id; }
    UINT GetID() const { return m_id; }
private:
    UINT m_id;
};

// Hands out ids from 1 and reuses released ones, the most recent first.
class C_UniqueIDGenerator {
public:
    C_UniqueIDGenerator() : m_next(1) {}
    virtual ~C_UniqueIDGenerator() {}
    UINT GetNextID();
    void Release(UINT id);
    BOOL Reserve(UINT id);
    void Reset();
private:
    UINT m_next;
    std::vector<UINT> m_free;
};

template <class TItem>
class I_CUList {
public:
    virtual int GetCount() = 0;
    virtual void Reset() = 0;
    virtual void MoveToEnd() = 0;
    virtual TItem* GetNext() = 0;
    virtual TItem* GetPrev() = 0;
    virtual TItem* GetAt(int index) = 0;
    virtual TItem* Find(UINT id) = 0;
    virtual void AddRef() = 0;
    virtual void Release() = 0;
};

template <class TInterface, class TItem, class TItem2, int owns>
class C_CUCustomList : public C_CUItem, public TInterface {
public:
    C_CUCustomList() : m_refs(1), m_owns(owns ? TRUE : FALSE), m_cursor(0) {}
    virtual ~C_CUCustomList() { RemoveAll(); }

    int GetCount() override { return static_cast<int>(m_items.size()); }
    void Reset() override { m_cursor = -1; }
    void MoveToEnd() override { m_cursor = GetCount(); }

    TItem* GetNext() override
    {
        if (m_cursor >= GetCount() - 1)
            return nullptr;
        m_cursor = m_cursor < 0 ? 0 : m_cursor + 1;
        return m_items[static_cast<size_t>(m_cursor)];
    }

    TItem* GetPrev() override
    {
        // Before the first Reset of a fresh list the index may exceed the count.
        if (m_cursor < 1 || m_cursor > GetCount())
            return nullptr;
        --m_cursor;
        return m_items[static_cast<size_t>(m_cursor)];
    }

    TItem* GetAt(int index) override
    {
        if (index < 0 || index >= GetCount())
            return nullptr;
        return m_items[static_cast<size_t>(index)];
    }

    TItem* Find(UINT id) override
    {
        for (TItem* item : m_items)
            if (static_cast<C_CUItem*>(item)->GetID() == id)
                return item;
        return nullptr;
    }

    void AddRef() override { ++m_refs; }

    void Release() override
    {
        if (--m_refs <= 0)
            delete this;
    }

    BOOL Add(TItem* item)
    {
        m_items.push_back(item);
        static_cast<C_CUItem*>(item)->SetID(m_ids.GetNextID());
        return TRUE;
    }

    void RemoveAll()
    {
        if (m_owns) {
            Reset();
            while (TItem* item = GetNext())
                delete item;
        }
        m_items.clear();
        m_ids.Reset();
    }

protected:
    friend class C_CUStringList;
    LONG m_refs;
    BOOL m_owns;
    std::vector<TItem*> m_items;
    int m_cursor;
    C_UniqueIDGenerator m_ids;
};

template <class TItem, class TItem2, int owns>
class C_CUList : public C_CUCustomList<I_CUList<TItem>, TItem, TItem2, owns> {
public:
    C_CUList() {}
    ~C_CUList() override {}
};
