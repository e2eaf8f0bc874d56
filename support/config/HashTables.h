// Chained hash tables of one-word items, and the case-blind symbol tables over them.
#pragma once
#include <windows.h>
#include <vector>

typedef void* HashItem;
typedef void (*HashDestroyFn)(HashItem item);

UINT HashString(const char* text);

class C_StLHashT {
public:
    enum : WORD { INSERTED = 0xFFFF, ALREADY_THERE = 1, NOT_INSERTED = 0 };

    C_StLHashT(UINT requested, WORD loadFactor, HashDestroyFn destroy);
    virtual UINT Hash(HashItem item) = 0;
    virtual BYTE Compare(HashItem stored, HashItem probe) = 0;
    virtual ~C_StLHashT();

    HashItem Find(HashItem probe);
    WORD Insert(HashItem item);
    void ForEach(void (*fn)(HashItem item));
    HashItem GetFirst();
    HashItem GetNext();

    UINT GetBucketCount() const { return m_bucketCount; }
    UINT GetItemCount() const { return m_itemCount; }
    UINT GetThreshold() const { return m_threshold; }

    C_StLHashT(const C_StLHashT&) = delete;
    C_StLHashT& operator=(const C_StLHashT&) = delete;

private:
    struct Node {
        HashItem item;
        Node* next;
    };
    bool Grow();
    void SkipToNonEmpty();

    std::vector<Node*> m_buckets;
    UINT m_bucketCount;
    UINT m_mask;
    UINT m_itemCount;
    WORD m_loadFactor;
    UINT m_threshold;
    HashDestroyFn m_destroy;
    UINT m_cursorBucket;
    Node* m_cursorNode;
};

// Items are records whose first field points at a NUL-terminated key; keys ignore case.
class C_SymbolTab : public C_StLHashT {
public:
    C_SymbolTab(UINT requested, WORD loadFactor, HashDestroyFn destroy)
        : C_StLHashT(requested, loadFactor, destroy) {}
    UINT Hash(HashItem item) override;
    BYTE Compare(HashItem stored, HashItem probe) override;
    ~C_SymbolTab() override {}
protected:
    static const char* KeyOf(HashItem item) { return *static_cast<const char* const*>(item); }
};

// The key table of one ini-file section.
class C_IniSymbolTab : public C_SymbolTab {
public:
    explicit C_IniSymbolTab(HashDestroyFn destroy) : C_SymbolTab(1000, 2, destroy) {}
    UINT Hash(HashItem item) override;
    ~C_IniSymbolTab() override {}
};
