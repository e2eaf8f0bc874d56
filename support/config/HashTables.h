// Chained hash tables of one-word items, and the case-blind symbol tables over them.
#pragma once
#include <windows.h>
#include <vector>

typedef void* HashItem;
typedef void (*HashDestroyFn)(HashItem item);

UINT HashString(const char* text);
// The hash of the text upper-cased as the platform does it (CharUpperBuff).
UINT HashUpper(const char* key);
// Equal without regard to case, as the platform's lstrcmpi compares.
BOOL EqualNoCase(const char* a, const char* b);

// One link of a linear-hashing bucket chain. The item's hash is kept with
// it, so that splits need not compute it again.
struct HashChainNode {
    HashItem item;
    HashChainNode* next;
    UINT hash;
};

// Hands out many small pieces of memory from a few growing blocks, all freed
// together when the arena goes: for records that are never freed one by one.
class C_BlockArena {
public:
    C_BlockArena() {}
    ~C_BlockArena();
    C_BlockArena(const C_BlockArena&) = delete;
    C_BlockArena& operator=(const C_BlockArena&) = delete;
    // Pointer-aligned, not zero-filled; null when memory runs out.
    void* Alloc(size_t bytes);

private:
    std::vector<char*> m_blocks;
    char* m_next = nullptr;
    size_t m_left = 0;
    size_t m_blockSize = 512;
};

class C_StLHashT {
public:
    enum : WORD { INSERTED = 0xFFFF, ALREADY_THERE = 1, NOT_INSERTED = 0 };

    C_StLHashT(UINT requested, WORD loadFactor, HashDestroyFn destroy);
    virtual UINT Hash(HashItem item) = 0;
    virtual BYTE Compare(HashItem stored, HashItem probe) = 0;
    virtual ~C_StLHashT();

    HashItem Find(HashItem probe);
    // A null item is never stored: it could not be told from "not found".
    // Nor, on 64-bit, one beyond the 48 bits of a user-mode address.
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
    // Eight bytes on both builds. On 32-bit, the item and its hash; on
    // 64-bit, the item in the low 48 bits (all a user-mode address needs)
    // and the low 16 bits of its hash in the top 16, which tell its bucket
    // while the table has at most 65,536 buckets. Zero: a free slot.
#ifdef _WIN64
    enum : UINT { SLOT_HASH_BITS = 16 };
    struct Slot {
        UINT64 bits;
        HashItem Item() const
        {
            return reinterpret_cast<HashItem>(static_cast<INT_PTR>(static_cast<INT64>(bits << 16) >> 16));
        }
        UINT Hash() const { return static_cast<UINT>(bits >> 48); }
        static Slot Make(UINT hash, HashItem item)
        {
            return Slot{(static_cast<UINT64>(hash & 0xFFFF) << 48) |
                        (static_cast<UINT64>(reinterpret_cast<UINT_PTR>(item)) & 0xFFFFFFFFFFFFull)};
        }
    };
#else
    enum : UINT { SLOT_HASH_BITS = 32 };
    struct Slot {
        UINT hash;
        HashItem item;
        HashItem Item() const { return item; }
        UINT Hash() const { return hash; }
        static Slot Make(UINT h, HashItem i) { return Slot{h, i}; }
    };
#endif
    static_assert(sizeof(Slot) == 8, "a slot is two 32-bit words or one 64-bit one");
    // The slot's bucket under that mask; a mask wider than the slot's hash
    // bits asks the item's hash again.
    UINT BucketOf(const Slot& slot, UINT mask, UINT bucketBits)
    {
        return (bucketBits <= SLOT_HASH_BITS ? slot.Hash() : Hash(slot.Item())) & mask;
    }
    bool Grow();
    size_t Home(UINT bucket) const;
    bool Locate(UINT hash, HashItem probe, size_t* at);
    bool Rebuild(UINT slotBits, UINT mask);
    HashItem VisitFromCursor();

    // The buckets are what the growth rule makes them (count, mask and
    // threshold as callers see them); their items lie in one array of
    // slots sorted by bucket, each bucket's items in the order they came.
    // A bucket's run starts at or after its home slot, the bucket number
    // scaled to the slot count (a power of two sized to the items, not to
    // the buckets), so a lookup reads a slot or two and then its item: no
    // chain node between, and no memory for empty buckets.
    std::vector<Slot> m_slots;   // the homes, and a little room past the last
    UINT m_slotBits;
    UINT m_bucketBits;
    UINT m_bucketCount;
    UINT m_mask;
    UINT m_itemCount;
    WORD m_loadFactor;
    UINT m_threshold;
    HashDestroyFn m_destroy;
    size_t m_cursor;
    HashItem m_cursorItem;
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

// Linear hashing: grows one bucket at a time through a directory of 256 segments of
// 256 buckets each, so it never holds more than 65,536 buckets.
class C_DyLHashT {
public:
    enum : WORD { INSERTED = 0xFFFF, ALREADY_THERE = 1, NOT_INSERTED = 0 };
    enum : UINT { DIRECTORY_SIZE = 256, SEGMENT_SIZE = 256, MAX_BUCKETS = DIRECTORY_SIZE * SEGMENT_SIZE };

    virtual UINT Hash(HashItem item) = 0;
    virtual BYTE Compare(HashItem stored, HashItem probe) = 0;
    virtual ~C_DyLHashT();

    HashItem Find(HashItem probe);
    WORD Insert(HashItem item);
    void ForEach(void (*fn)(HashItem item));

    UINT GetBucketCount() const { return m_bucketsProvided ? m_levelSize + m_splitPointer : 0; }
    UINT GetBucketsProvided() const { return m_bucketsProvided; }
    UINT GetLevelSize() const { return m_levelSize; }
    UINT GetSplitPointer() const { return m_splitPointer; }
    UINT GetThreshold() const { return m_threshold; }
    UINT GetMaxBuckets() const { return m_maxBuckets; }
    UINT GetItemCount() const { return m_lowerCount + m_upperCount; }

    C_DyLHashT(const C_DyLHashT&) = delete;
    C_DyLHashT& operator=(const C_DyLHashT&) = delete;

protected:
    // The level size is rounded up to a power of two (1 to 65,536); the segment count
    // is kept within 1 to 256 and raised to cover the level; the largest bucket count
    // is cut to the directory's 65,536.
    C_DyLHashT(UINT segments, UINT levelSize, UINT threshold, UINT maxBuckets, HashDestroyFn destroy);

private:
    HashChainNode*& Bucket(UINT b) { return m_directory[b >> m_segmentShift][b & m_segmentMask]; }
    UINT BucketOf(UINT hash) const;
    bool AddSegments();
    void SplitNext();

    HashChainNode** m_directory[DIRECTORY_SIZE];
    WORD m_segmentCount;
    UINT m_bucketsProvided;
    UINT m_levelSize;
    UINT m_lowMask;
    UINT m_levelNeed;
    UINT m_highMask;
    BYTE m_segmentShift;
    UINT m_segmentMask;
    UINT m_splitPointer;
    UINT m_lowerCount;
    UINT m_upperCount;
    UINT m_threshold;
    UINT m_maxBuckets;
    HashDestroyFn m_destroy;
    C_BlockArena m_nodes;   // the chain nodes, which live as long as the table
};
