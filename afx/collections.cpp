#include "afx/collections.h"
#include "afx/archive.h"

void CObArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar.WriteCount((DWORD)GetSize());
        for (CObject* pOb : m_data)
            ar << pOb;
        return;
    }

    DWORD nCount = ar.ReadCount();
    // Grow as objects arrive: a count the file cannot back costs nothing up front.
    RemoveAll();
    Reserve(std::min<DWORD>(nCount, 1024));
    for (DWORD i = 0; i < nCount; ++i)
    {
        CObject* pOb;
        ar >> pOb;
        Add(pOb);
    }
}
