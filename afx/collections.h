// Arrays, lists and maps of the framework layer.
#pragma once
#include <windows.h>
#include <algorithm>
#include <new>
#include <utility>
#include <vector>
#include "afx/object.h"
#include "afx/string.h"

class CArchive;

// An opaque place in a list or map.
struct __POSITION {};
typedef __POSITION* POSITION;

// ---------------------------------------------------------------------------
// Arrays

template<class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject
{
public:
    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;

    INT_PTR GetSize() const { return (INT_PTR)m_data.size(); }
    INT_PTR GetCount() const { return (INT_PTR)m_data.size(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return (INT_PTR)m_data.size() - 1; }

    // New elements are value-initialised (zero for numbers and pointers).
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        if (nGrowBy >= 0)
            m_nGrowBy = nGrowBy;
        if (nNewSize < 0)
            nNewSize = 0;
        Reserve(nNewSize);
        m_data.resize((size_t)nNewSize);
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    const TYPE& GetAt(INT_PTR nIndex) const { return m_data[(size_t)nIndex]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_data[(size_t)nIndex]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_data[(size_t)nIndex] = newElement; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_data[(size_t)nIndex]; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_data[(size_t)nIndex]; }
    const TYPE& operator[](INT_PTR nIndex) const { return m_data[(size_t)nIndex]; }
    TYPE& operator[](INT_PTR nIndex) { return m_data[(size_t)nIndex]; }
    // NULL when empty.
    const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
    TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }

    // Grows the array as needed; a negative index is ignored.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0)
            return;
        if (nIndex >= GetSize())
        {
            TYPE copy(newElement);      // newElement may live in this array
            SetSize(nIndex + 1);
            m_data[(size_t)nIndex] = std::move(copy);
        }
        else
            m_data[(size_t)nIndex] = newElement;
    }
    INT_PTR Add(ARG_TYPE newElement)
    {
        TYPE copy(newElement);
        Reserve(GetSize() + 1);
        m_data.push_back(std::move(copy));
        return GetSize() - 1;
    }
    // Index of the first appended element.
    INT_PTR Append(const CArray& src)
    {
        INT_PTR nOld = GetSize();
        if (&src == this)
        {
            std::vector<TYPE> copy(m_data);
            m_data.insert(m_data.end(), copy.begin(), copy.end());
        }
        else
            m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
        return nOld;
    }
    void Copy(const CArray& src)
    {
        if (&src != this)
            m_data = src.m_data;
    }

    // Past the end: the array grows to reach nIndex first.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0)
            return;
        TYPE copy(newElement);
        if (nIndex > GetSize())
            SetSize(nIndex);
        Reserve(GetSize() + nCount);
        m_data.insert(m_data.begin() + nIndex, (size_t)nCount, copy);
    }
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
    {
        if (nStartIndex < 0 || !pNewArray || pNewArray->IsEmpty())
            return;
        std::vector<TYPE> copy(pNewArray->m_data);
        if (nStartIndex > GetSize())
            SetSize(nStartIndex);
        m_data.insert(m_data.begin() + nStartIndex, copy.begin(), copy.end());
    }
    // Out-of-range parts of the span are ignored.
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0 || nIndex >= GetSize())
            return;
        if (nCount > GetSize() - nIndex)
            nCount = GetSize() - nIndex;
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
    }

protected:
    void Reserve(INT_PTR nSize)
    {
        if ((size_t)nSize <= m_data.capacity())
            return;
        size_t grow = m_nGrowBy > 0 ? (size_t)m_nGrowBy : std::max<size_t>(4, m_data.size() / 2);
        m_data.reserve(std::max((size_t)nSize, m_data.size() + grow));
    }

    std::vector<TYPE> m_data;
    INT_PTR m_nGrowBy = 0;      // 0: grow geometrically
};

class CPtrArray : public CArray<void*, void*> {};
class CDWordArray : public CArray<DWORD, DWORD> {};
class CByteArray : public CArray<BYTE, BYTE> {};
class CUIntArray : public CArray<UINT, UINT> {};
class CStringArray : public CArray<CString, const CString&> {};

// Elements are not owned: deleting them is the owner's business.
class CObArray : public CArray<CObject*, CObject*>
{
public:
    // The count as a WORD below 0xFFFF, else 0xFFFF and a DWORD; then each
    // object. Loading replaces the contents with the objects read.
    void Serialize(CArchive& ar) override;
};

// A pointer array over CPtrArray or CObArray that hands out TYPE.
template<class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS
{
public:
    TYPE GetAt(INT_PTR nIndex) const { return (TYPE)BASE_CLASS::GetAt(nIndex); }
    TYPE& ElementAt(INT_PTR nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
    void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAtGrow(nIndex, ptr); }
    INT_PTR Add(TYPE ptr) { return BASE_CLASS::Add(ptr); }
    void InsertAt(INT_PTR nIndex, TYPE ptr, INT_PTR nCount = 1) { BASE_CLASS::InsertAt(nIndex, ptr, nCount); }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
    TYPE* GetData() { return reinterpret_cast<TYPE*>(BASE_CLASS::GetData()); }
    const TYPE* GetData() const { return reinterpret_cast<const TYPE*>(BASE_CLASS::GetData()); }
};

// ---------------------------------------------------------------------------
// Lists, walked by POSITION

template<class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject
{
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
        template<class A> CNode(CNode* n, CNode* p, A&& d) : pNext(n), pPrev(p), data(std::forward<A>(d)) {}
    };
    static CNode* N(POSITION pos) { return reinterpret_cast<CNode*>(pos); }
    static POSITION P(CNode* node) { return reinterpret_cast<POSITION>(node); }

public:
    // The block size is a hint for allocation only.
    explicit CList(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize) {}
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return m_pHead->data; }
    const TYPE& GetHead() const { return m_pHead->data; }
    TYPE& GetTail() { return m_pTail->data; }
    const TYPE& GetTail() const { return m_pTail->data; }

    TYPE RemoveHead()
    {
        CNode* node = m_pHead;
        TYPE ret(std::move(node->data));
        Unlink(node);
        return ret;
    }
    TYPE RemoveTail()
    {
        CNode* node = m_pTail;
        TYPE ret(std::move(node->data));
        Unlink(node);
        return ret;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertNode(nullptr, m_pHead, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertNode(m_pTail, nullptr, newElement); }
    void AddHead(const CList* pNewList)
    {
        if (!pNewList || pNewList == this)
            return;
        for (CNode* n = pNewList->m_pTail; n; n = n->pPrev)
            AddHead(n->data);
    }
    void AddTail(const CList* pNewList)
    {
        if (!pNewList || pNewList == this)
            return;
        for (CNode* n = pNewList->m_pHead; n; n = n->pNext)
            AddTail(n->data);
    }

    void RemoveAll()
    {
        CNode* n = m_pHead;
        while (n)
        {
            CNode* next = n->pNext;
            delete n;
            n = next;
        }
        m_pHead = m_pTail = nullptr;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const { return P(m_pHead); }
    POSITION GetTailPosition() const { return P(m_pTail); }
    // Returns the element at rPosition and moves rPosition on (NULL after the last).
    TYPE& GetNext(POSITION& rPosition) { CNode* n = N(rPosition); rPosition = P(n->pNext); return n->data; }
    const TYPE& GetNext(POSITION& rPosition) const { CNode* n = N(rPosition); rPosition = P(n->pNext); return n->data; }
    TYPE& GetPrev(POSITION& rPosition) { CNode* n = N(rPosition); rPosition = P(n->pPrev); return n->data; }
    const TYPE& GetPrev(POSITION& rPosition) const { CNode* n = N(rPosition); rPosition = P(n->pPrev); return n->data; }

    TYPE& GetAt(POSITION position) { return N(position)->data; }
    const TYPE& GetAt(POSITION position) const { return N(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { N(pos)->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(N(position)); }

    // NULL position: at the head (InsertBefore) or tail (InsertAfter).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        if (!position)
            return AddHead(newElement);
        CNode* n = N(position);
        return InsertNode(n->pPrev, n, newElement);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        if (!position)
            return AddTail(newElement);
        CNode* n = N(position);
        return InsertNode(n, n->pNext, newElement);
    }

    // NULL when out of range.
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        CNode* n = m_pHead;
        while (nIndex--)
            n = n->pNext;
        return P(n);
    }
    // Searches after startAfter (from the head when NULL); NULL when not found.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        CNode* n = startAfter ? N(startAfter)->pNext : m_pHead;
        for (; n; n = n->pNext)
            if (n->data == searchValue)
                return P(n);
        return nullptr;
    }

private:
    POSITION InsertNode(CNode* prev, CNode* next, ARG_TYPE value)
    {
        CNode* n = new CNode(next, prev, value);
        (prev ? prev->pNext : m_pHead) = n;
        (next ? next->pPrev : m_pTail) = n;
        ++m_nCount;
        return P(n);
    }
    void Unlink(CNode* n)
    {
        (n->pPrev ? n->pPrev->pNext : m_pHead) = n->pNext;
        (n->pNext ? n->pNext->pPrev : m_pTail) = n->pPrev;
        delete n;
        --m_nCount;
    }

    CNode* m_pHead = nullptr;
    CNode* m_pTail = nullptr;
    INT_PTR m_nCount = 0;
    INT_PTR m_nBlockSize;
};

class CPtrList : public CList<void*, void*>
{
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

// Elements are not owned.
class CObList : public CList<CObject*, CObject*>
{
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

class CStringList : public CList<CString, const CString&>
{
public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

// A pointer list over CPtrList or CObList that hands out TYPE.
template<class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS
{
public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
    TYPE GetHead() const { return (TYPE)BASE_CLASS::GetHead(); }
    TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
    TYPE GetTail() const { return (TYPE)BASE_CLASS::GetTail(); }
    TYPE RemoveHead() { return (TYPE)BASE_CLASS::RemoveHead(); }
    TYPE RemoveTail() { return (TYPE)BASE_CLASS::RemoveTail(); }
    TYPE& GetNext(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition)); }
    TYPE GetNext(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetNext(rPosition); }
    TYPE& GetPrev(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE GetPrev(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetPrev(rPosition); }
    TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
    TYPE GetAt(POSITION position) const { return (TYPE)BASE_CLASS::GetAt(position); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    POSITION InsertBefore(POSITION pos, TYPE newElement) { return BASE_CLASS::InsertBefore(pos, newElement); }
    POSITION InsertAfter(POSITION pos, TYPE newElement) { return BASE_CLASS::InsertAfter(pos, newElement); }
    POSITION Find(TYPE searchValue, POSITION startAfter = nullptr) const { return BASE_CLASS::Find(searchValue, startAfter); }
};

// ---------------------------------------------------------------------------
// Maps

// Hash values for map keys: integers and pointers by value, text by its characters.
template<class ARG_KEY>
inline UINT HashKey(ARG_KEY key)
{
    DWORD_PTR v = (DWORD_PTR)key;
#ifdef _WIN64
    v ^= v >> 32;
#endif
    return (UINT)(v ^ (v >> 4));
}
inline UINT HashKeyText(LPCSTR psz)
{
    UINT h = 0;
    if (psz)
        while (*psz)
            h = (h << 5) + h + (BYTE)*psz++;
    return h;
}
template<> inline UINT HashKey<LPCSTR>(LPCSTR key) { return HashKeyText(key); }
template<> inline UINT HashKey<LPSTR>(LPSTR key) { return HashKeyText(key); }
template<> inline UINT HashKey<const CString&>(const CString& key) { return HashKeyText(key); }
template<> inline UINT HashKey<CString>(CString key) { return HashKeyText(key); }

template<class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject
{
    struct CAssoc
    {
        CAssoc* pNext;
        UINT nHashValue;
        KEY key;
        VALUE value;
    };
    static CAssoc* A(POSITION pos) { return reinterpret_cast<CAssoc*>(pos); }
    static POSITION P(CAssoc* a) { return reinterpret_cast<POSITION>(a); }

public:
    // The block size is a hint for allocation only.
    explicit CMap(INT_PTR nBlockSize = 10) : m_nBlockSize(nBlockSize) {}
    CMap(const CMap&) = delete;
    CMap& operator=(const CMap&) = delete;
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return m_nHashTableSize; }

    // Sets the bucket count; only while the map is empty.
    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE)
    {
        if (m_nCount != 0 || nHashSize == 0)
            return;
        m_nHashTableSize = nHashSize;
        m_buckets.clear();
        if (bAllocNow)
            m_buckets.assign(nHashSize, nullptr);
    }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        UINT h;
        CAssoc* a = GetAssocAt(key, h);
        if (!a)
            return FALSE;
        rValue = a->value;
        return TRUE;
    }
    // The value for key, added (value-initialised) when missing.
    VALUE& operator[](ARG_KEY key)
    {
        UINT h;
        CAssoc* a = GetAssocAt(key, h);
        if (!a)
        {
            if (m_buckets.empty())
                m_buckets.assign(m_nHashTableSize, nullptr);
            a = new CAssoc{ nullptr, h, KEY(key), VALUE() };
            UINT b = h % m_nHashTableSize;
            a->pNext = m_buckets[b];
            m_buckets[b] = a;
            ++m_nCount;
            if ((UINT_PTR)m_nCount > (UINT_PTR)m_nHashTableSize * 2)
                Grow();
        }
        return a->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    BOOL RemoveKey(ARG_KEY key)
    {
        if (m_buckets.empty())
            return FALSE;
        UINT h = HashKey<ARG_KEY>(key);
        for (CAssoc** pp = &m_buckets[h % m_nHashTableSize]; *pp; pp = &(*pp)->pNext)
        {
            if ((*pp)->nHashValue == h && (*pp)->key == key)
            {
                CAssoc* a = *pp;
                *pp = a->pNext;
                delete a;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        for (CAssoc*& head : m_buckets)
        {
            while (head)
            {
                CAssoc* next = head->pNext;
                delete head;
                head = next;
            }
        }
        m_buckets.clear();
        m_nCount = 0;
    }

    // NULL for an empty map. The order is the map's own.
    POSITION GetStartPosition() const
    {
        for (CAssoc* a : m_buckets)
            if (a)
                return P(a);
        return nullptr;
    }
    // The association at rNextPosition; rNextPosition moves on (NULL after the
    // last). Removing the returned key while walking is allowed.
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        CAssoc* a = A(rNextPosition);
        rKey = a->key;
        rValue = a->value;
        CAssoc* next = a->pNext;
        for (UINT b = a->nHashValue % m_nHashTableSize + 1; !next && b < m_nHashTableSize; ++b)
            next = m_buckets[b];
        rNextPosition = P(next);
    }

private:
    // The first table size is a hint too: the table grows as the map fills,
    // so lookups stay short however many keys come.
    void Grow()
    {
        UINT nNewSize = m_nHashTableSize * 2 + 1;
        std::vector<CAssoc*> buckets(nNewSize, nullptr);
        for (CAssoc* head : m_buckets)
        {
            while (head)
            {
                CAssoc* next = head->pNext;
                UINT b = head->nHashValue % nNewSize;
                head->pNext = buckets[b];
                buckets[b] = head;
                head = next;
            }
        }
        m_buckets.swap(buckets);
        m_nHashTableSize = nNewSize;
    }

    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHash) const
    {
        nHash = HashKey<ARG_KEY>(key);
        if (m_buckets.empty())
            return nullptr;
        for (CAssoc* a = m_buckets[nHash % m_nHashTableSize]; a; a = a->pNext)
            if (a->nHashValue == nHash && a->key == key)
                return a;
        return nullptr;
    }

    std::vector<CAssoc*> m_buckets;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
    INT_PTR m_nBlockSize;
};
