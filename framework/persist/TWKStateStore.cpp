// The two stores of saved states: a profile section and a persistent-tree node.
#include "framework/persist/TWKStateStore.h"
#include "framework/persist/TWKPersistentTreeNode.h"

namespace {
// Stands in for the data of an empty value: the writers want a pointer.
BYTE g_noData = 0;
}

// ---------------------------------------------------------------------------
// Profile section

void TWKProfileStore::Clear()
{
    m_pApp->WriteProfileString(m_strSection, nullptr, nullptr);
}

void TWKProfileStore::WriteInt(LPCSTR lpszKey, int nValue)
{
    m_pApp->WriteProfileInt(m_strSection, lpszKey, nValue);
}

void TWKProfileStore::WriteFlag(LPCSTR lpszKey, BOOL bValue)
{
    m_pApp->WriteProfileInt(m_strSection, lpszKey, bValue ? 1 : 0);
}

void TWKProfileStore::WriteString(LPCSTR lpszKey, LPCSTR lpszValue)
{
    m_pApp->WriteProfileString(m_strSection, lpszKey, lpszValue);
}

void TWKProfileStore::WriteBinary(LPCSTR lpszKey, const BYTE* pData, UINT nBytes)
{
    m_pApp->WriteProfileBinary(m_strSection, lpszKey, const_cast<LPBYTE>(pData ? pData : &g_noData), nBytes);
}

// The profile answers a missing value with the default: one that reads as
// both of two defaults is not there.
BOOL TWKProfileStore::ReadInt(LPCSTR lpszKey, int& nValue)
{
    int n0 = (int)m_pApp->GetProfileInt(m_strSection, lpszKey, 0);
    if (n0 == 0 && (int)m_pApp->GetProfileInt(m_strSection, lpszKey, 1) == 1)
        return FALSE;
    nValue = n0;
    return TRUE;
}

BOOL TWKProfileStore::ReadFlag(LPCSTR lpszKey, BOOL& bValue)
{
    int n = 0;
    if (!ReadInt(lpszKey, n))
        return FALSE;
    bValue = n != 0;
    return TRUE;
}

BOOL TWKProfileStore::ReadString(LPCSTR lpszKey, CString& strValue)
{
    CString str = m_pApp->GetProfileString(m_strSection, lpszKey, "");
    if (str.IsEmpty() && m_pApp->GetProfileString(m_strSection, lpszKey, "-") == "-")
        return FALSE;
    strValue = str;
    return TRUE;
}

BOOL TWKProfileStore::ReadBinary(LPCSTR lpszKey, BYTE*& pData, UINT& nBytes)
{
    pData = nullptr;
    nBytes = 0;
    return m_pApp->GetProfileBinary(m_strSection, lpszKey, &pData, &nBytes);
}

// ---------------------------------------------------------------------------
// Tree node

void TWKTreeStore::WriteInt(LPCSTR lpszKey, int nValue)
{
    m_pNode->SetValue(lpszKey, nValue, TRUE);
}

void TWKTreeStore::WriteFlag(LPCSTR lpszKey, BOOL bValue)
{
    m_pNode->SetValue(lpszKey, bValue != FALSE, TRUE);
}

void TWKTreeStore::WriteString(LPCSTR lpszKey, LPCSTR lpszValue)
{
    m_pNode->SetValue(lpszKey, CString(lpszValue), TRUE);
}

void TWKTreeStore::WriteBinary(LPCSTR lpszKey, const BYTE* pData, UINT nBytes)
{
    m_pNode->SetBinaryValue(lpszKey, pData ? pData : &g_noData, nBytes, TRUE);
}

BOOL TWKTreeStore::ReadInt(LPCSTR lpszKey, int& nValue)
{
    return m_pNode->GetValue(lpszKey, nValue, nValue) == TWKPersistentTreeNode::PTN_OK;
}

BOOL TWKTreeStore::ReadFlag(LPCSTR lpszKey, BOOL& bValue)
{
    bool b = false;
    if (m_pNode->GetValue(lpszKey, b, false) != TWKPersistentTreeNode::PTN_OK)
        return FALSE;
    bValue = b;
    return TRUE;
}

BOOL TWKTreeStore::ReadString(LPCSTR lpszKey, CString& strValue)
{
    return m_pNode->GetValue(lpszKey, strValue, strValue) == TWKPersistentTreeNode::PTN_OK;
}

BOOL TWKTreeStore::ReadBinary(LPCSTR lpszKey, BYTE*& pData, UINT& nBytes)
{
    return m_pNode->GetBinaryValue(lpszKey, pData, nBytes) == TWKPersistentTreeNode::PTN_OK;
}
