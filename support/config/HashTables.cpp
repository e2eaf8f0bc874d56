#include "support/config/HashTables.h"
#include <cstring>
#include <new>
#include <string>

namespace {

const UINT kMaxBucketsBeforeGrowth = 0x1000000;
const UINT kThresholdCap = 0x10000000;

inline void Mix(UINT& a, UINT& b, UINT& c)
{
    a -= b; a -= c; a ^= (c >> 13);
    b -= c; b -= a; b ^= (a << 8);
    c -= a; c -= b; c ^= (b >> 13);
    a -= b; a -= c; a ^= (c >> 12);
    b -= c; b -= a; b ^= (a << 16);
    c -= a; c -= b; c ^= (b >> 5);
    a -= b; a -= c; a ^= (c >> 3);
    b -= c; b -= a; b ^= (a << 10);
    c -= a; c -= b; c ^= (b >> 15);
}

// Bytes are read signed, as the stored tables have always hashed them.
inline UINT K(const char* k, int i) { return static_cast<UINT>(static_cast<int>(static_cast<signed char>(k[i]))); }

// Plain ASCII letters, digits and punctuation: the platform's case-blind
// comparison gives such texts no other equality than by letter case. Control
// characters, hyphen and apostrophe are weighed specially and left to it.
inline bool IsPlainAscii(unsigned char c)
{
    return c >= 0x20 && c < 0x7F && c != '-' && c != '\'';
}

inline char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

UINT HashUpper(const char* key)
{
    // Short ASCII keys are upper-cased on the stack: the platform's
    // upper-casing changes nothing else in them.
    const char* k = key ? key : "";
    char buf[256];
    size_t n = 0;
    for (; k[n] && n < sizeof(buf) - 1; ++n) {
        if (static_cast<unsigned char>(k[n]) >= 0x80)
            break;
        buf[n] = UpperAscii(k[n]);
    }
    if (k[n] == 0) {
        buf[n] = 0;
        return HashString(buf);
    }
    std::string up(k);
    CharUpperBuffA(&up[0], static_cast<DWORD>(up.size()));
    return HashString(up.c_str());
}

BOOL EqualNoCase(const char* a, const char* b)
{
    a = a ? a : "";
    b = b ? b : "";
    const char* p = a;
    const char* q = b;
    for (; IsPlainAscii(static_cast<unsigned char>(*p)) && IsPlainAscii(static_cast<unsigned char>(*q)); ++p, ++q) {
        if (UpperAscii(*p) != UpperAscii(*q))
            break;
    }
    if (*p == 0 && *q == 0)
        return TRUE;
    // Both plain to the end, and they differ in more than case.
    bool plainA = true, plainB = true;
    for (const char* r = p; *r && plainA; ++r)
        plainA = IsPlainAscii(static_cast<unsigned char>(*r));
    for (const char* r = q; *r && plainB; ++r)
        plainB = IsPlainAscii(static_cast<unsigned char>(*r));
    if (plainA && plainB)
        return FALSE;
    return lstrcmpiA(a, b) == 0 ? TRUE : FALSE;
}

namespace {

// Chain work of the linear-hashing table; Table supplies Compare.

// The link that holds the node equal to the probe, or the chain's null end link.
template <class Table>
HashChainNode** FindLink(Table& table, HashChainNode** link, HashItem probe)
{
    while (*link && !table.Compare((*link)->item, probe))
        link = &(*link)->next;
    return link;
}

// Appends the item unless an equal one is stored; returns the insertion status.
template <class Table>
WORD PutInChain(Table& table, C_BlockArena& nodes, HashChainNode** head, HashItem item, UINT hash)
{
    HashChainNode** link = FindLink(table, head, item);
    if (*link)
        return Table::ALREADY_THERE;
    HashChainNode* node = static_cast<HashChainNode*>(nodes.Alloc(sizeof(HashChainNode)));
    if (!node)
        return Table::NOT_INSERTED;
    *node = HashChainNode{item, nullptr, hash};
    *link = node;
    return Table::INSERTED;
}

// Moves every node whose (hash AND mask) is not `keep` to the end of `to`; both chains
// keep their order. Returns the number of nodes moved.
UINT SplitChain(HashChainNode** from, HashChainNode** to, UINT mask, UINT keep)
{
    while (*to)
        to = &(*to)->next;
    UINT moved = 0;
    while (*from) {
        HashChainNode* node = *from;
        if ((node->hash & mask) != keep) {
            *from = node->next;
            node->next = nullptr;
            *to = node;
            to = &node->next;
            ++moved;
        } else {
            from = &node->next;
        }
    }
    return moved;
}

// The nodes themselves go with their table's arena.
void FreeChain(HashChainNode* head, HashDestroyFn destroy)
{
    for (; head && destroy; head = head->next)
        destroy(head->item);
}

void VisitChain(const HashChainNode* head, void (*fn)(HashItem item))
{
    for (; head; head = head->next)
        fn(head->item);
}

UINT NextThreshold(UINT threshold)
{
    return threshold >= kMaxBucketsBeforeGrowth ? kThresholdCap : threshold * 2;
}

} // namespace

C_BlockArena::~C_BlockArena()
{
    for (char* block : m_blocks)
        delete[] block;
}

void* C_BlockArena::Alloc(size_t bytes)
{
    bytes = (bytes + sizeof(void*) - 1) & ~(sizeof(void*) - 1);
    if (bytes > m_left) {
        size_t size = bytes > m_blockSize ? bytes : m_blockSize;
        char* block = new (std::nothrow) char[size];
        if (!block)
            return nullptr;
        try {
            m_blocks.push_back(block);
        } catch (const std::bad_alloc&) {
            delete[] block;
            return nullptr;
        }
        m_next = block;
        m_left = size;
        // Blocks grow with the arena, up to 64 KB.
        if (m_blockSize < 64 * 1024)
            m_blockSize *= 2;
    }
    void* p = m_next;
    m_next += bytes;
    m_left -= bytes;
    return p;
}

UINT HashString(const char* text)
{
    const char* k = text ? text : "";
    UINT length = static_cast<UINT>(strlen(k));
    UINT a = 0x9e3779b9, b = 0x9e3779b9, c = 0x12345678;
    UINT len = length;
    while (len >= 12) {
        a += K(k, 0) + (K(k, 1) << 8) + (K(k, 2) << 16) + (K(k, 3) << 24);
        b += K(k, 4) + (K(k, 5) << 8) + (K(k, 6) << 16) + (K(k, 7) << 24);
        c += K(k, 8) + (K(k, 9) << 8) + (K(k, 10) << 16) + (K(k, 11) << 24);
        Mix(a, b, c);
        k += 12;
        len -= 12;
    }
    c += length;
    switch (len) {
    case 11: c += K(k, 10) << 24; // fall through
    case 10: c += K(k, 9) << 16;  // fall through
    case 9: c += K(k, 8) << 8;    // fall through
    case 8: b += K(k, 7) << 24;   // fall through
    case 7: b += K(k, 6) << 16;   // fall through
    case 6: b += K(k, 5) << 8;    // fall through
    case 5: b += K(k, 4);         // fall through
    case 4: a += K(k, 3) << 24;   // fall through
    case 3: a += K(k, 2) << 16;   // fall through
    case 2: a += K(k, 1) << 8;    // fall through
    case 1: a += K(k, 0);
    default: break;
    }
    Mix(a, b, c);
    return c;
}

namespace {

// Homes a table starts with; more come as items do.
const UINT kFirstSlotBits = 3;

// The log2 of a power of two.
UINT BitsOf(UINT powerOfTwo)
{
    UINT bits = 0;
    while ((1u << bits) < powerOfTwo)
        ++bits;
    return bits;
}

// Slots the array holds for that many homes: a run may reach past the last.
size_t SlotsFor(UINT slotBits)
{
    size_t homes = size_t(1) << slotBits;
    return homes + homes / 8 + 4;
}

} // namespace

C_StLHashT::C_StLHashT(UINT requested, WORD loadFactor, HashDestroyFn destroy)
    : m_slotBits(0), m_bucketBits(0), m_bucketCount(0), m_mask(0), m_itemCount(0), m_loadFactor(loadFactor),
      m_threshold(0), m_destroy(destroy), m_cursor(0), m_cursorItem(nullptr)
{
    if (requested == 0)
        requested = 1;
    UINT count = 2;
    for (int i = 0; i < 29 && count < requested; ++i)
        count *= 2;
    m_bucketCount = count;
    m_bucketBits = BitsOf(count);
    m_mask = count - 1;
    // loadFactor x count, stopping short of 0xFFFFFFFF.
    UINT most = (0xFFFFFFFFu - 1) / count;
    m_threshold = (loadFactor < most ? loadFactor : most) * count;
}

C_StLHashT::~C_StLHashT()
{
    if (m_destroy)
        ForEach(m_destroy);
}

// The first slot a bucket's run may take: buckets in order map to homes in order.
size_t C_StLHashT::Home(UINT bucket) const
{
    return static_cast<size_t>((static_cast<unsigned long long>(bucket) << m_slotBits) >> m_bucketBits);
}

// Reads the probe's bucket run. True with *at on the equal item; false
// with *at where the probe would go, after the rest of its bucket.
bool C_StLHashT::Locate(UINT hash, HashItem probe, size_t* at)
{
    UINT bucket = hash & m_mask;
    size_t i = Home(bucket);
    for (; i < m_slots.size() && m_slots[i].Item(); ++i) {
        UINT b = BucketOf(m_slots[i], m_mask, m_bucketBits);
        if (b > bucket)
            break;
        if (b == bucket && Compare(m_slots[i].Item(), probe)) {
            *at = i;
            return true;
        }
    }
    *at = i;
    return false;
}

HashItem C_StLHashT::Find(HashItem probe)
{
    if (m_itemCount == 0)
        return nullptr;
    size_t at = 0;
    return Locate(Hash(probe), probe, &at) ? m_slots[at].Item() : nullptr;
}

// Lays the items out anew for 2^slotBits homes and the given mask (the
// present one or the next wider). The array is in bucket order; a wider
// mask splits each bucket by its new bit, and the items whose new bit is
// clear come first, which keeps every bucket's order. All or nothing.
bool C_StLHashT::Rebuild(UINT slotBits, UINT mask)
{
    UINT newBit = mask & ~m_mask;
    UINT bucketBits = BitsOf(mask + 1);
    for (;; ++slotBits) {
        std::vector<Slot> fresh;
        try {
            fresh.assign(SlotsFor(slotBits), Slot());
        } catch (const std::bad_alloc&) {
            return false;
        }
        size_t next = 0;
        bool fits = true;
        for (int pass = 0; pass < (newBit ? 2 : 1) && fits; ++pass) {
            for (const Slot& slot : m_slots) {
                if (!slot.Item())
                    continue;
                UINT bucket = BucketOf(slot, mask, bucketBits);
                if (newBit && ((bucket & newBit) != 0) != (pass == 1))
                    continue;
                size_t home = static_cast<size_t>((static_cast<unsigned long long>(bucket) << slotBits) >> bucketBits);
                size_t at = home > next ? home : next;
                if (at >= fresh.size()) {
                    fits = false;
                    break;
                }
                fresh[at] = slot;
                next = at + 1;
            }
        }
        if (fits) {
            m_slots.swap(fresh);
            m_slotBits = slotBits;
            return true;
        }
    }
}

// Doubles the bucket count; false without memory to reorder the items.
bool C_StLHashT::Grow()
{
    if (m_bucketCount > kMaxBucketsBeforeGrowth)
        return false;
    UINT mask = m_mask * 2 + 1;
    if (!m_slots.empty() && !Rebuild(m_slotBits, mask))
        return false;
    m_mask = mask;
    m_bucketCount *= 2;
    ++m_bucketBits;
    m_threshold = NextThreshold(m_threshold);
    return true;
}

WORD C_StLHashT::Insert(HashItem item)
{
    // An item a slot cannot hold (not a user-mode address) is refused.
    if (m_bucketCount == 0 || !item || Slot::Make(0, item).Item() != item)
        return NOT_INSERTED;
    if (m_itemCount > m_threshold && !Grow())
        return NOT_INSERTED;
    UINT hash = Hash(item);
    size_t at = 0;
    if (Locate(hash, item, &at))
        return ALREADY_THERE;
    // At most seven homes in eight in use, and a free slot at or after the
    // place, so that the runs stay short; else more homes.
    for (;;) {
        size_t free = at;
        while (free < m_slots.size() && m_slots[free].Item())
            ++free;
        size_t homes = size_t(1) << m_slotBits;
        if (free < m_slots.size() && m_itemCount < homes - homes / 8)
            break;
        if (!Rebuild(m_slots.empty() ? kFirstSlotBits : m_slotBits + 1, m_mask))
            return NOT_INSERTED;
        Locate(hash, item, &at);
    }
    size_t free = at;
    while (m_slots[free].Item())
        ++free;
    for (; free > at; --free)
        m_slots[free] = m_slots[free - 1];
    m_slots[at] = Slot::Make(hash, item);
    ++m_itemCount;
    return INSERTED;
}

void C_StLHashT::ForEach(void (*fn)(HashItem item))
{
    if (!fn)
        return;
    for (const Slot& slot : m_slots)
        if (slot.Item())
            fn(slot.Item());
}

// The item at the cursor or the first after it.
HashItem C_StLHashT::VisitFromCursor()
{
    while (m_cursor < m_slots.size() && !m_slots[m_cursor].Item())
        ++m_cursor;
    if (m_cursor >= m_slots.size()) {
        m_cursorItem = nullptr;
        return nullptr;
    }
    m_cursorItem = m_slots[m_cursor].Item();
    return m_cursorItem;
}

HashItem C_StLHashT::GetFirst()
{
    m_cursor = 0;
    return VisitFromCursor();
}

HashItem C_StLHashT::GetNext()
{
    if (!m_cursorItem)
        return nullptr;
    // An insertion since may have moved the current item: find it again in its bucket.
    if (m_cursor >= m_slots.size() || m_slots[m_cursor].Item() != m_cursorItem) {
        size_t i = Home(Hash(m_cursorItem) & m_mask);
        while (i < m_slots.size() && m_slots[i].Item() != m_cursorItem)
            ++i;
        m_cursor = i;
    }
    ++m_cursor;
    return VisitFromCursor();
}

UINT C_SymbolTab::Hash(HashItem item)
{
    return HashUpper(KeyOf(item));
}

BYTE C_SymbolTab::Compare(HashItem stored, HashItem probe)
{
    return EqualNoCase(KeyOf(stored), KeyOf(probe)) ? 1 : 0;
}

UINT C_IniSymbolTab::Hash(HashItem item)
{
    return HashUpper(KeyOf(item));
}

C_DyLHashT::C_DyLHashT(UINT segments, UINT levelSize, UINT threshold, UINT maxBuckets,
                       HashDestroyFn destroy)
    : m_directory(), m_segmentCount(0), m_bucketsProvided(0), m_levelSize(1), m_lowMask(0),
      m_levelNeed(2), m_highMask(1), m_segmentShift(8), m_segmentMask(SEGMENT_SIZE - 1),
      m_splitPointer(0), m_lowerCount(0), m_upperCount(0), m_threshold(threshold),
      m_maxBuckets(maxBuckets < MAX_BUCKETS ? maxBuckets : MAX_BUCKETS), m_destroy(destroy)
{
    // The masks need a power of two, and the whole current level must be provided.
    while (m_levelSize < levelSize && m_levelSize < MAX_BUCKETS)
        m_levelSize *= 2;
    m_lowMask = m_levelSize - 1;
    m_levelNeed = m_levelSize * 2;
    m_highMask = m_levelNeed - 1;
    UINT least = (m_levelSize + SEGMENT_SIZE - 1) / SEGMENT_SIZE;
    if (segments < least)
        segments = least;
    if (segments > DIRECTORY_SIZE)
        segments = DIRECTORY_SIZE;
    for (UINT i = 0; i < segments; ++i) {
        m_directory[i] = new (std::nothrow) HashChainNode*[SEGMENT_SIZE]();
        if (!m_directory[i]) {   // no buckets at all: every insertion fails
            for (UINT j = 0; j < i; ++j) {
                delete[] m_directory[j];
                m_directory[j] = nullptr;
            }
            return;
        }
    }
    m_segmentCount = static_cast<WORD>(segments);
    m_bucketsProvided = segments * SEGMENT_SIZE;
}

C_DyLHashT::~C_DyLHashT()
{
    for (UINT s = 0; s < m_segmentCount; ++s) {
        for (UINT i = 0; i < SEGMENT_SIZE; ++i)
            FreeChain(m_directory[s][i], m_destroy);
        delete[] m_directory[s];
    }
}

UINT C_DyLHashT::BucketOf(UINT hash) const
{
    UINT b = hash & m_lowMask;
    return b < m_splitPointer ? hash & m_highMask : b;
}

HashItem C_DyLHashT::Find(HashItem probe)
{
    if (m_bucketsProvided == 0)
        return nullptr;
    UINT hash = Hash(probe);
    HashChainNode* found = *FindLink(*this, &Bucket(BucketOf(hash)), probe);
    return found ? found->item : nullptr;
}

// Doubles the segment count (up to the directory's size); all or nothing.
bool C_DyLHashT::AddSegments()
{
    UINT target = m_segmentCount * 2u;
    if (target > DIRECTORY_SIZE)
        target = DIRECTORY_SIZE;
    for (UINT s = m_segmentCount; s < target; ++s) {
        m_directory[s] = new (std::nothrow) HashChainNode*[SEGMENT_SIZE]();
        if (!m_directory[s]) {
            for (UINT j = m_segmentCount; j < s; ++j) {
                delete[] m_directory[j];
                m_directory[j] = nullptr;
            }
            return false;
        }
    }
    m_segmentCount = static_cast<WORD>(target);
    m_bucketsProvided = target * SEGMENT_SIZE;
    return true;
}

void C_DyLHashT::SplitNext()
{
    UINT moved = SplitChain(&Bucket(m_splitPointer), &Bucket(m_splitPointer + m_levelSize), m_highMask,
                            m_splitPointer);
    m_lowerCount -= moved;
    m_upperCount += moved;
    if (++m_splitPointer == m_levelSize) {
        m_lowMask = m_highMask;
        m_levelSize *= 2;
        m_highMask = m_highMask * 2 + 1;
        m_levelNeed *= 2;
        m_threshold = NextThreshold(m_threshold);
        m_lowerCount += m_upperCount;
        m_upperCount = 0;
        m_splitPointer = 0;
    }
}

WORD C_DyLHashT::Insert(HashItem item)
{
    if (m_bucketsProvided == 0)
        return NOT_INSERTED;
    // A table that must grow but may not (past its largest bucket count, or
    // without memory for more segments) takes nothing more.
    if (m_lowerCount > m_threshold) {
        if (m_levelNeed > m_maxBuckets)
            return NOT_INSERTED;
        if (m_bucketsProvided < m_levelNeed && !AddSegments())
            return NOT_INSERTED;
        SplitNext();
    }
    UINT hash = Hash(item);
    UINT b = BucketOf(hash);
    WORD status = PutInChain(*this, m_nodes, &Bucket(b), item, hash);
    if (status == INSERTED)
        ++(b >= m_levelSize ? m_upperCount : m_lowerCount);
    return status;
}

void C_DyLHashT::ForEach(void (*fn)(HashItem item))
{
    if (!fn)
        return;
    for (UINT s = 0; s < m_segmentCount; ++s)
        for (UINT i = 0; i < SEGMENT_SIZE; ++i)
            VisitChain(m_directory[s][i], fn);
}
