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

// Chain work shared by both table kinds; Table supplies Compare. A chain
// may carry several buckets: only nodes whose hash agrees with the wanted
// one under bucketMask belong to the bucket searched (0: every node does).

// The link that holds the bucket's node equal to the probe, or the chain's null end link.
template <class Table>
HashChainNode** FindLink(Table& table, HashChainNode** link, HashItem probe, UINT hash, UINT bucketMask)
{
    while (*link && ((((*link)->hash ^ hash) & bucketMask) != 0 || !table.Compare((*link)->item, probe)))
        link = &(*link)->next;
    return link;
}

// Appends the item unless an equal one is stored; returns the insertion status.
template <class Table>
WORD PutInChain(Table& table, C_BlockArena& nodes, HashChainNode** head, HashItem item, UINT hash,
                UINT bucketMask)
{
    HashChainNode** link = FindLink(table, head, item, hash, bucketMask);
    if (*link)
        return C_StLHashT::ALREADY_THERE;
    HashChainNode* node = static_cast<HashChainNode*>(nodes.Alloc(sizeof(HashChainNode)));
    if (!node)
        return C_StLHashT::NOT_INSERTED;
    *node = HashChainNode{item, nullptr, hash};
    *link = node;
    return C_StLHashT::INSERTED;
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

// Chains a new table starts with; more come as items do, up to its bucket count.
const UINT kFirstChains = 8;

} // namespace

C_StLHashT::C_StLHashT(UINT requested, WORD loadFactor, HashDestroyFn destroy)
    : m_chainMask(0), m_bucketCount(0), m_mask(0), m_itemCount(0), m_loadFactor(loadFactor), m_threshold(0),
      m_destroy(destroy), m_cursorBucket(0), m_cursorNode(nullptr)
{
    if (requested == 0)
        requested = 1;
    UINT count = 2;
    for (int i = 0; i < 29 && count < requested; ++i)
        count *= 2;
    UINT chains = count < kFirstChains ? count : kFirstChains;
    try {
        m_chains.assign(chains, nullptr);
    } catch (const std::bad_alloc&) {
        return;   // no buckets: every insertion fails
    }
    m_chainMask = chains - 1;
    m_bucketCount = count;
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

// The node itself or the first after it in its chain that belongs to the bucket.
HashChainNode* C_StLHashT::FirstInBucket(Node* node, UINT bucket) const
{
    while (node && (node->hash & m_mask) != bucket)
        node = node->next;
    return node;
}

HashItem C_StLHashT::Find(HashItem probe)
{
    if (m_bucketCount == 0)
        return nullptr;
    UINT hash = Hash(probe);
    Node* found = *FindLink(*this, &m_chains[hash & m_chainMask], probe, hash, m_mask);
    return found ? found->item : nullptr;
}

// Doubles the bucket count. The chains hold the buckets by their low bits,
// so nothing moves: each bucket's nodes keep their order.
bool C_StLHashT::Grow()
{
    if (m_bucketCount > kMaxBucketsBeforeGrowth)
        return false;
    m_mask = m_mask * 2 + 1;
    m_bucketCount *= 2;
    m_threshold = NextThreshold(m_threshold);
    return true;
}

// Doubles the chains; without memory for more, the chains only get longer.
void C_StLHashT::GrowChains()
{
    size_t n = m_chains.size();
    try {
        m_chains.resize(n * 2, nullptr);
    } catch (const std::bad_alloc&) {
        return;
    }
    m_chainMask = m_chainMask * 2 + 1;
    for (size_t i = 0; i < n; ++i)
        SplitChain(&m_chains[i], &m_chains[i + n], m_chainMask, static_cast<UINT>(i));
}

WORD C_StLHashT::Insert(HashItem item)
{
    if (m_bucketCount == 0)
        return NOT_INSERTED;
    if (m_itemCount > m_threshold && !Grow())
        return NOT_INSERTED;
    // About one node a chain: a lookup reads few nodes of other buckets.
    if (m_itemCount >= m_chains.size() && m_chains.size() < m_bucketCount)
        GrowChains();
    UINT hash = Hash(item);
    WORD status = PutInChain(*this, *m_nodeArena, &m_chains[hash & m_chainMask], item, hash, m_mask);
    if (status == INSERTED)
        ++m_itemCount;
    return status;
}

void C_StLHashT::ForEach(void (*fn)(HashItem item))
{
    if (!fn || m_itemCount == 0)
        return;
    for (UINT b = 0; b < m_bucketCount; ++b)
        for (Node* n = FirstInBucket(m_chains[b & m_chainMask], b); n; n = FirstInBucket(n->next, b))
            fn(n->item);
}

void C_StLHashT::SkipToNonEmpty()
{
    m_cursorNode = nullptr;
    if (m_itemCount == 0)
        return;
    for (; m_cursorBucket < m_bucketCount; ++m_cursorBucket) {
        m_cursorNode = FirstInBucket(m_chains[m_cursorBucket & m_chainMask], m_cursorBucket);
        if (m_cursorNode)
            return;
    }
}

HashItem C_StLHashT::GetFirst()
{
    m_cursorBucket = 0;
    SkipToNonEmpty();
    return m_cursorNode ? m_cursorNode->item : nullptr;
}

HashItem C_StLHashT::GetNext()
{
    if (!m_cursorNode)
        return nullptr;
    Node* next = FirstInBucket(m_cursorNode->next, m_cursorBucket);
    if (next) {
        m_cursorNode = next;
    } else {
        ++m_cursorBucket;
        SkipToNonEmpty();
    }
    return m_cursorNode ? m_cursorNode->item : nullptr;
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
    HashChainNode* found = *FindLink(*this, &Bucket(BucketOf(hash)), probe, hash, 0);
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
    WORD status = PutInChain(*this, m_nodes, &Bucket(b), item, hash, 0);
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
