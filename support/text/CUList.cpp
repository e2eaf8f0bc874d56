#include "support/text/CUList.h"
#include <algorithm>

UINT C_UniqueIDGenerator::GetNextID()
{
    if (!m_free.empty()) {
        UINT id = m_free.back();
        m_free.pop_back();
        return id;
    }
    return m_next++;
}

void C_UniqueIDGenerator::Release(UINT id)
{
    // 0 is never handed out; ids not yet handed out are not ours to free.
    if (id == 0 || id >= m_next)
        return;
    if (std::find(m_free.begin(), m_free.end(), id) != m_free.end())
        return;
    m_free.push_back(id);
}

BOOL C_UniqueIDGenerator::Reserve(UINT id)
{
    if (id == 0)
        return FALSE;
    if (id >= m_next) {
        for (UINT i = m_next; i < id; ++i)
            m_free.push_back(i);
        m_next = id + 1;
        return TRUE;
    }
    auto it = std::find(m_free.begin(), m_free.end(), id);
    if (it == m_free.end())
        return FALSE;
    m_free.erase(it);
    return TRUE;
}

void C_UniqueIDGenerator::Reset()
{
    m_free.clear();
    m_next = 1;
}
