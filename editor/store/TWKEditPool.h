// Small blocks carved from large zero-filled chunks: no heap call and no heap
// overhead for each. A chunk is given back once every block in it is freed.
// Internal to the store.
#pragma once
#include <windows.h>
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

template <size_t kChunkBytes, size_t kAlign>
class TWKEditBlockPool
{
public:
    static constexpr size_t kHeader = 16;   // a chunk's own bookkeeping, in front

    TWKEditBlockPool() = default;
    TWKEditBlockPool(const TWKEditBlockPool&) = delete;
    TWKEditBlockPool& operator=(const TWKEditBlockPool&) = delete;

    // Largest block handed out.
    static constexpr size_t kMaxBlock = kChunkBytes - kHeader;

    // A zero-filled block, NULL when memory runs out or nBytes is too large.
    void* Alloc(size_t nBytes)
    {
        nBytes = (nBytes + kAlign - 1) & ~(kAlign - 1);
        if (nBytes > kMaxBlock)
            return NULL;
        Lock();
        void* p = NULL;
        if ((m_pCurrent && Header(m_pCurrent)->nUsed + nBytes <= kChunkBytes) || NewChunk())
        {
            ChunkHeader* h = Header(m_pCurrent);
            p = m_pCurrent + h->nUsed;
            h->nUsed += nBytes;
            h->nLive++;
        }
        Unlock();
        return p;
    }

    // p must come from Alloc.
    void Free(void* p)
    {
        Lock();
        // The chunk that holds the block: the last one starting at or before it.
        FreeIn(std::upper_bound(m_chunks.begin(), m_chunks.end(), (char*)p) - 1);
        Unlock();
    }

    // Frees p when it lies in a block of this pool; FALSE (nothing done) otherwise.
    bool FreeIfOwned(const void* p)
    {
        char* q = (char*)p;
        FreeOwned(&q, 1);
        return p && !q;
    }

    // FreeIfOwned for n blocks under one lock: those of this pool are freed
    // and their pointers set to NULL; the others are left to the caller.
    void FreeOwned(char** pp, size_t n)
    {
        Lock();
        for (size_t i = 0; i < n; i++)
            if (pp[i])
            {
                auto it = std::upper_bound(m_chunks.begin(), m_chunks.end(), pp[i]);
                if (it != m_chunks.begin() && pp[i] < *(it - 1) + kChunkBytes)
                {
                    FreeIn(it - 1);
                    pp[i] = NULL;
                }
            }
        Unlock();
    }

private:
    struct ChunkHeader
    {
        size_t nUsed;    // bytes handed out, header included
        size_t nLive;    // blocks in use
    };
    static_assert(sizeof(ChunkHeader) <= kHeader, "chunk header too large");

    static ChunkHeader* Header(char* pChunk) { return (ChunkHeader*)pChunk; }

    // The pool is used from one thread at a time nearly always: a spin on a
    // flag costs far less than a system lock each time.
    void Lock()
    {
        while (m_lock.test_and_set(std::memory_order_acquire))
            SwitchToThread();
    }
    void Unlock() { m_lock.clear(std::memory_order_release); }

    // One block less in the chunk at it (locked).
    void FreeIn(typename std::vector<char*>::iterator it)
    {
        char* pChunk = *it;
        ChunkHeader* h = Header(pChunk);
        if (--h->nLive == 0)
        {
            if (pChunk != m_pCurrent)
            {
                m_chunks.erase(it);
                free(pChunk);
            }
            else
            {
                // Handed out again from the start: it must be zero-filled again.
                memset(pChunk + kHeader, 0, h->nUsed - kHeader);
                h->nUsed = kHeader;
            }
        }
    }

    bool NewChunk()
    {
        char* pChunk = (char*)calloc(kChunkBytes, 1);
        if (!pChunk)
            return false;
        try
        {
            m_chunks.insert(std::upper_bound(m_chunks.begin(), m_chunks.end(), pChunk), pChunk);
        }
        catch (const std::bad_alloc&)
        {
            free(pChunk);
            return false;
        }
        // The chunk left behind goes once it is empty.
        if (m_pCurrent && Header(m_pCurrent)->nLive == 0)
        {
            m_chunks.erase(std::lower_bound(m_chunks.begin(), m_chunks.end(), m_pCurrent));
            free(m_pCurrent);
        }
        m_pCurrent = pChunk;
        Header(pChunk)->nUsed = kHeader;
        return true;
    }

    std::atomic_flag m_lock = ATOMIC_FLAG_INIT;
    std::vector<char*> m_chunks;   // sorted by address
    char* m_pCurrent = NULL;
};
