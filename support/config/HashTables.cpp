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

UINT HashUpper(const char* key)
{
    std::string up(key ? key : "");
    if (!up.empty())
        CharUpperBuffA(&up[0], static_cast<DWORD>(up.size()));
    return HashString(up.c_str());
}

} // namespace

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

C_StLHashT::C_StLHashT(UINT requested, WORD loadFactor, HashDestroyFn destroy)
    : m_bucketCount(0), m_mask(0), m_itemCount(0), m_loadFactor(loadFactor), m_threshold(0),
      m_destroy(destroy), m_cursorBucket(0), m_cursorNode(nullptr)
{
    if (requested == 0)
        requested = 1;
    UINT count = 2;
    for (int i = 0; i < 29 && count < requested; ++i)
        count *= 2;
    try {
        m_buckets.assign(count, nullptr);
    } catch (const std::bad_alloc&) {
        return;   // no buckets: every insertion fails
    }
    m_bucketCount = count;
    m_mask = count - 1;
    // loadFactor x count, stopping short of 0xFFFFFFFF.
    UINT most = (0xFFFFFFFFu - 1) / count;
    m_threshold = (loadFactor < most ? loadFactor : most) * count;
}

C_StLHashT::~C_StLHashT()
{
    for (Node* head : m_buckets) {
        while (head) {
            Node* next = head->next;
            if (m_destroy)
                m_destroy(head->item);
            delete head;
            head = next;
        }
    }
}

HashItem C_StLHashT::Find(HashItem probe)
{
    if (m_bucketCount == 0)
        return nullptr;
    for (Node* n = m_buckets[Hash(probe) & m_mask]; n; n = n->next)
        if (Compare(n->item, probe))
            return n->item;
    return nullptr;
}

bool C_StLHashT::Grow()
{
    if (m_bucketCount > kMaxBucketsBeforeGrowth)
        return false;
    UINT n = m_bucketCount;
    try {
        m_buckets.resize(static_cast<size_t>(n) * 2, nullptr);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_mask = m_mask * 2 + 1;
    for (UINT i = 0; i < n; ++i) {
        Node** link = &m_buckets[i];
        Node** tail = &m_buckets[i + n];
        while (*link) {
            Node* node = *link;
            if ((Hash(node->item) & m_mask) != i) {
                *link = node->next;
                node->next = nullptr;
                *tail = node;
                tail = &node->next;
            } else {
                link = &node->next;
            }
        }
    }
    m_bucketCount = 2 * n;
    m_threshold = m_threshold >= kMaxBucketsBeforeGrowth ? kThresholdCap : m_threshold * 2;
    return true;
}

WORD C_StLHashT::Insert(HashItem item)
{
    if (m_bucketCount == 0)
        return NOT_INSERTED;
    if (m_itemCount > m_threshold && !Grow())
        return NOT_INSERTED;
    Node** link = &m_buckets[Hash(item) & m_mask];
    for (; *link; link = &(*link)->next)
        if (Compare((*link)->item, item))
            return ALREADY_THERE;
    Node* node = new (std::nothrow) Node{item, nullptr};
    if (!node)
        return NOT_INSERTED;
    *link = node;
    ++m_itemCount;
    return INSERTED;
}

void C_StLHashT::ForEach(void (*fn)(HashItem item))
{
    if (!fn)
        return;
    for (Node* head : m_buckets)
        for (Node* n = head; n; n = n->next)
            fn(n->item);
}

void C_StLHashT::SkipToNonEmpty()
{
    while (m_cursorBucket < m_bucketCount && !m_buckets[m_cursorBucket])
        ++m_cursorBucket;
    m_cursorNode = m_cursorBucket < m_bucketCount ? m_buckets[m_cursorBucket] : nullptr;
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
    if (m_cursorNode->next) {
        m_cursorNode = m_cursorNode->next;
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
    return lstrcmpiA(KeyOf(stored), KeyOf(probe)) == 0 ? 1 : 0;
}

UINT C_IniSymbolTab::Hash(HashItem item)
{
    return HashUpper(KeyOf(item));
}
