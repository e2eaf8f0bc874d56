// A frame's tree of message filters.
#include "framework/frames/TWKMsgFilter.h"
#include "framework/frames/TWKCreateObject.h"

IMPLEMENT_DYNCREATE(TWKMsgFilter, CObject)
IMPLEMENT_DYNCREATE(TWKNcMsgFilter, TWKMsgFilter)

TWKMsgFilter::DescriptorTable::~DescriptorTable()
{
    for (INT_PTR i = 0; i < GetSize(); i++)
        delete GetAt(i);
    RemoveAll();
}

TWKMsgFilter::TWKMsgFilter(CWnd* pWnd, int nID) : m_nID(nID), m_pWnd(pWnd)
{
}

TWKMsgFilter::TWKMsgFilter(const TWKMsgFilter& src)
    : CObject(), m_nID(src.m_nID), m_bEnabled(src.m_bEnabled), m_pWnd(src.m_pWnd)
{
    for (INT_PTR i = 0; i < src.m_arrChildren.GetSize(); i++) {
        TWKMsgFilter* pChild = src.m_arrChildren[i];
        m_arrChildren.Add(pChild ? pChild->Clone() : nullptr);
    }
    SetWnd(m_pWnd, TRUE);
}

TWKMsgFilter::~TWKMsgFilter()
{
    if (m_bOwnsChildren)
        for (INT_PTR i = 0; i < m_arrChildren.GetSize(); i++)
            delete m_arrChildren[i];
    m_arrChildren.RemoveAll();
}

TWKMsgFilter* TWKMsgFilter::Clone() const
{
    return new TWKMsgFilter(*this);
}

void TWKMsgFilter::SetWnd(CWnd* pWnd, BOOL bChildren)
{
    m_pWnd = pWnd;
    if (bChildren)
        for (INT_PTR i = 0; i < m_arrChildren.GetSize(); i++)
            if (TWKMsgFilter* pChild = m_arrChildren[i])
                pChild->SetWnd(pWnd, TRUE);
}

DWORD TWKMsgFilter::FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (!m_bEnabled)
        return 0;
    return OnMessage(message, wParam, lParam, pResult);
}

DWORD TWKMsgFilter::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return PassToChildren(message, wParam, lParam, pResult);
}

DWORD TWKMsgFilter::PassToChildren(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    DWORD dwResult = 0;
    if (!m_bEnabled)
        return 0;
    for (INT_PTR i = 0; i < m_arrChildren.GetSize(); i++) {
        TWKMsgFilter* pChild = m_arrChildren[i];
        if (!pChild || !pChild->m_bEnabled)
            continue;
        dwResult |= pChild->FilterMessage(message, wParam, lParam, pResult);
        if (dwResult & resultStop)
            break;
    }
    return dwResult;
}

TWKMsgFilter* TWKMsgFilter::FindFilter(int nID, CRuntimeClass* pClass, int nDepth)
{
    for (INT_PTR i = 0; i < m_arrChildren.GetSize(); i++)
        if (m_arrChildren[i] && m_arrChildren[i]->m_nID == nID)
            return m_arrChildren[i];
    if (nDepth != 0)
        for (INT_PTR i = 0; i < m_arrChildren.GetSize(); i++)
            if (TWKMsgFilter* pChild = m_arrChildren[i])
                if (TWKMsgFilter* pFound = pChild->FindFilter(nID, nullptr, nDepth - 1))
                    return pFound;
    if (!pClass)
        return nullptr;
    TWKMsgFilter* pFilter = TWKCreateObject<TWKMsgFilter>(pClass, RUNTIME_CLASS(TWKMsgFilter));
    if (!pFilter)
        return nullptr;
    pFilter->SetWnd(m_pWnd, TRUE);
    pFilter->m_nID = nID;
    m_arrChildren.Add(pFilter);
    return pFilter;
}

TWKMsgFilter* TWKMsgFilter::ApplyDescriptor(const Descriptor* pDescriptor, BOOL bEnable)
{
    if (!pDescriptor)
        return nullptr;
    TWKMsgFilter* pParent = pDescriptor->m_nParentID == -1 ? this : FindFilter(pDescriptor->m_nParentID, nullptr, -1);
    if (!pParent)
        return nullptr;
    // A disable never creates a filter.
    TWKMsgFilter* pFilter = pParent->FindFilter(pDescriptor->m_nFilterID, bEnable ? pDescriptor->m_pClass : nullptr, -1);
    if (!pFilter)
        return nullptr;
    if (!bEnable && (pDescriptor->m_dwFlags & Descriptor::flagNeverDisable))
        return pFilter;
    pFilter->m_bEnabled = bEnable;
    return pFilter;
}

void TWKMsgFilter::ApplyDescriptorTable(const DescriptorTable* pTable, const BOOL* pEnable)
{
    if (!pTable || !pEnable)
        return;
    for (INT_PTR i = 0; i < pTable->GetSize(); i++)
        if (const Descriptor* p = pTable->GetAt(i))
            ApplyDescriptor(p, pEnable[i]);
}

void TWKMsgFilter::EnableDescriptorTable(const DescriptorTable* pTable, BOOL bEnable)
{
    if (!pTable)
        return;
    for (INT_PTR i = 0; i < pTable->GetSize(); i++)
        if (const Descriptor* p = pTable->GetAt(i))
            ApplyDescriptor(p, bEnable);
}

DWORD TWKMsgFilter::ProcessMessage(const MSG* pMsg, LRESULT* pResult)
{
    if (!pMsg)
        pMsg = CWnd::GetCurrentMessage();
    if (!pMsg)
        return 0;
    return FilterMessage(pMsg->message, pMsg->wParam, pMsg->lParam, pResult);
}
