#include "afx/collections.h"
#include "afx/archive.h"

void CObArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        DWORD nCount = (DWORD)GetSize();
        if (nCount < 0xFFFF)
            ar << (WORD)nCount;
        else
        {
            ar << (WORD)0xFFFF;
            ar << nCount;
        }
        for (CObject* pOb : m_data)
            ar << pOb;
        return;
    }

    WORD wCount;
    ar >> wCount;
    DWORD nCount = wCount;
    if (wCount == 0xFFFF)
        ar >> nCount;
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
