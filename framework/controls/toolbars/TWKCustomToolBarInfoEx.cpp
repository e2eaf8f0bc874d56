// A toolbar's title and buttons in the profile, tree and archive forms of a saved layout.
#include "framework/controls/toolbars/TWKCustomToolBarInfoEx.h"
#include "framework/persist/TWKPersistentTreeNode.h"
#include "framework/persist/TWKStateStore.h"
#include <cstring>
#include <new>

TWKBtnInfo::TWKBtnInfo(UINT nID, BYTE nSize, const BYTE* pData) : m_nID(nID)
{
    if (nSize && pData) {
        m_nSize = nSize;
        m_pData = new BYTE[nSize];
        memcpy(m_pData, pData, nSize);
    }
}

void TWKBtnInfoArray::RemoveAllInfos()
{
    for (INT_PTR i = 0; i < GetSize(); i++)
        delete GetAt(i);
    RemoveAll();
}

IMPLEMENT_DYNCREATE(TWKCustomToolBarInfoEx, TWKControlBarInfoEx)

BOOL TWKCustomToolBarInfoEx::BuildButtonsBlob(BYTE** ppBlob, UINT* pnBytes) const
{
    *ppBlob = nullptr;
    *pnBytes = 0;
    UINT nTotal = 0;
    for (INT_PTR i = 0; i < m_arrButtons.GetSize(); i++)
        nTotal += TWK_BTNINFO_HEADER + m_arrButtons[i]->m_nSize;
    if (nTotal == 0)
        return TRUE;
    BYTE* pBlob = new (std::nothrow) BYTE[nTotal];
    if (!pBlob)
        return FALSE;
    BYTE* p = pBlob;
    for (INT_PTR i = 0; i < m_arrButtons.GetSize(); i++) {
        const TWKBtnInfo* pInfo = m_arrButtons[i];
        UINT nID = pInfo->m_nID;
        for (int b = 0; b < 4; b++)
            *p++ = (BYTE)(nID >> (8 * b));
        *p++ = pInfo->m_nSize;
        if (pInfo->m_nSize)
            memcpy(p, pInfo->m_pData, pInfo->m_nSize);
        p += pInfo->m_nSize;
    }
    *ppBlob = pBlob;
    *pnBytes = nTotal;
    return TRUE;
}

BOOL TWKCustomToolBarInfoEx::ParseButtonsBlob(const BYTE* pBlob, UINT nBytes)
{
    if (!pBlob)
        return TRUE;
    // The value may have been truncated or edited: only whole records count.
    UINT nPos = 0;
    while (nBytes - nPos >= (UINT)TWK_BTNINFO_HEADER) {
        const BYTE* p = pBlob + nPos;
        UINT nID = p[0] | (p[1] << 8) | (p[2] << 16) | ((UINT)p[3] << 24);
        BYTE nSize = p[4];
        if (nSize > nBytes - nPos - TWK_BTNINFO_HEADER)
            break;
        if (m_arrButtons.GetSize() >= TWK_MAX_TOOLBAR_BUTTONS) {
            m_arrButtons.RemoveAllInfos();
            return FALSE;
        }
        m_arrButtons.Add(new TWKBtnInfo(nID, nSize, p + TWK_BTNINFO_HEADER));
        nPos += TWK_BTNINFO_HEADER + nSize;
    }
    return TRUE;
}

// "Title" and "Buttons", one writer and one reader for the bar's profile
// section and for its tree node "ToolBarInfoEx".
void TWKCustomToolBarInfoEx::WriteValues(TWKStateStore& store) const
{
    if (!m_strTitle.IsEmpty())
        store.WriteString("Title", m_strTitle);
    BYTE* pBlob = nullptr;
    UINT nBytes = 0;
    if (BuildButtonsBlob(&pBlob, &nBytes)) {
        // Written also when empty: an empty toolbar stays empty on reload.
        store.WriteBinary("Buttons", pBlob, nBytes);
        delete[] pBlob;
    }
}

void TWKCustomToolBarInfoEx::ReadValues(TWKStateStore& store)
{
    m_strTitle = store.GetString("Title", "");
    m_arrButtons.RemoveAllInfos();
    m_bRefused = FALSE;
    BYTE* pBlob = nullptr;
    UINT nBytes = 0;
    if (store.ReadBinary("Buttons", pBlob, nBytes)) {
        m_bRefused = !ParseButtonsBlob(pBlob, nBytes);
        delete[] pBlob;
    }
}

BOOL TWKCustomToolBarInfoEx::SaveState(LPCSTR lpszSection)
{
    TWKProfileStore store(AfxGetApp(), lpszSection);
    WriteValues(store);
    return TRUE;
}

BOOL TWKCustomToolBarInfoEx::LoadState(LPCSTR lpszSection, TWKDockState*)
{
    TWKProfileStore store(AfxGetApp(), lpszSection);
    ReadValues(store);
    return TRUE;
}

BOOL TWKCustomToolBarInfoEx::SaveStateTree(TWKPTNFactory* pFactory, TWKPersistentTreeNode* pNode)
{
    if (!TWKControlBarInfoEx::SaveStateTree(pFactory, pNode))
        return FALSE;
    TWKPersistentTreeNode* pChild = pNode->AddChild("ToolBarInfoEx", pFactory);
    if (!pChild)
        return FALSE;
    TWKTreeStore store(pChild);
    WriteValues(store);
    return TRUE;
}

BOOL TWKCustomToolBarInfoEx::LoadStateTree(TWKPersistentTreeNode* pNode)
{
    if (!TWKControlBarInfoEx::LoadStateTree(pNode))
        return FALSE;
    TWKPersistentTreeNode* pChild = pNode->FindChild("ToolBarInfoEx");
    if (!pChild)
        return FALSE;
    TWKTreeStore store(pChild);
    ReadValues(store);
    return TRUE;
}

void TWKCustomToolBarInfoEx::Serialize(CArchive& ar, TWKDockState*)
{
    if (ar.IsStoring()) {
        ar << m_strTitle;
        ar << (DWORD)m_arrButtons.GetSize();
        for (INT_PTR i = 0; i < m_arrButtons.GetSize(); i++) {
            const TWKBtnInfo* pInfo = m_arrButtons[i];
            ar << (DWORD)pInfo->m_nID << pInfo->m_nSize;
            for (int b = 0; b < pInfo->m_nSize; b++)
                ar << pInfo->m_pData[b];
        }
        return;
    }
    ar >> m_strTitle;
    m_arrButtons.RemoveAllInfos();
    m_bRefused = FALSE;
    DWORD nCount = 0;
    ar >> nCount;
    // More buttons than a toolbar holds: the archive is damaged.
    if (nCount > (DWORD)TWK_MAX_TOOLBAR_BUTTONS)
        AfxThrowArchiveException(CArchiveException::badIndex);
    // Records are read one at a time: a count larger than the archive ends in
    // the archive's own end-of-file error, not in a huge allocation.
    for (DWORD i = 0; i < nCount; i++) {
        DWORD nID = 0;
        BYTE nSize = 0;
        ar >> nID >> nSize;
        BYTE data[255];
        for (int b = 0; b < nSize; b++)
            ar >> data[b];
        m_arrButtons.Add(new TWKBtnInfo(nID, nSize, data));
    }
}
