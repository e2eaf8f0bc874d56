// Where one part of a saved state keeps its values: a section of the
// application profile or a node of a persistent tree. A state's reader and
// writer are written once against this and serve both; only the store knows
// its own types (a flag is an integer in the profile, "True"/"False" in a tree).
#pragma once
#include "afx/afx.h"

class TWKPersistentTreeNode;

class TWKStateStore
{
public:
    virtual ~TWKStateStore() = default;

    virtual void WriteInt(LPCSTR lpszKey, int nValue) = 0;
    virtual void WriteFlag(LPCSTR lpszKey, BOOL bValue) = 0;
    virtual void WriteString(LPCSTR lpszKey, LPCSTR lpszValue) = 0;
    // Written also when empty (pData may then be NULL).
    virtual void WriteBinary(LPCSTR lpszKey, const BYTE* pData, UINT nBytes) = 0;

    // FALSE, with the value untouched, when the key is not there.
    virtual BOOL ReadInt(LPCSTR lpszKey, int& nValue) = 0;
    virtual BOOL ReadFlag(LPCSTR lpszKey, BOOL& bValue) = 0;
    virtual BOOL ReadString(LPCSTR lpszKey, CString& strValue) = 0;
    // pData is a new[] buffer the caller frees; FALSE when missing or unreadable.
    virtual BOOL ReadBinary(LPCSTR lpszKey, BYTE*& pData, UINT& nBytes) = 0;

    int GetInt(LPCSTR lpszKey, int nDefault)
    {
        ReadInt(lpszKey, nDefault);
        return nDefault;
    }
    BOOL GetFlag(LPCSTR lpszKey, BOOL bDefault)
    {
        ReadFlag(lpszKey, bDefault);
        return bDefault;
    }
    CString GetString(LPCSTR lpszKey, LPCSTR lpszDefault)
    {
        CString str(lpszDefault);
        ReadString(lpszKey, str);
        return str;
    }
};

// A section of the application profile (the registry or the program's ini file).
class TWKProfileStore : public TWKStateStore
{
public:
    TWKProfileStore(CWinApp* pApp, LPCSTR lpszSection) : m_pApp(pApp), m_strSection(lpszSection) {}

    // Deletes the whole section.
    void Clear();

    void WriteInt(LPCSTR lpszKey, int nValue) override;
    void WriteFlag(LPCSTR lpszKey, BOOL bValue) override;
    void WriteString(LPCSTR lpszKey, LPCSTR lpszValue) override;
    void WriteBinary(LPCSTR lpszKey, const BYTE* pData, UINT nBytes) override;
    BOOL ReadInt(LPCSTR lpszKey, int& nValue) override;
    BOOL ReadFlag(LPCSTR lpszKey, BOOL& bValue) override;
    BOOL ReadString(LPCSTR lpszKey, CString& strValue) override;
    BOOL ReadBinary(LPCSTR lpszKey, BYTE*& pData, UINT& nBytes) override;

private:
    CWinApp* m_pApp;
    CString m_strSection;
};

// A node of a persistent tree; every value overwrites one of the same key.
class TWKTreeStore : public TWKStateStore
{
public:
    explicit TWKTreeStore(TWKPersistentTreeNode* pNode) : m_pNode(pNode) {}

    void WriteInt(LPCSTR lpszKey, int nValue) override;
    void WriteFlag(LPCSTR lpszKey, BOOL bValue) override;
    void WriteString(LPCSTR lpszKey, LPCSTR lpszValue) override;
    void WriteBinary(LPCSTR lpszKey, const BYTE* pData, UINT nBytes) override;
    BOOL ReadInt(LPCSTR lpszKey, int& nValue) override;
    BOOL ReadFlag(LPCSTR lpszKey, BOOL& bValue) override;
    BOOL ReadString(LPCSTR lpszKey, CString& strValue) override;
    BOOL ReadBinary(LPCSTR lpszKey, BYTE*& pData, UINT& nBytes) override;

private:
    TWKPersistentTreeNode* m_pNode;
};
