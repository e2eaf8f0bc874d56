// A tree of named nodes carrying string key/value pairs, saved to and loaded from an
// ini file or the registry through a strategy.
#pragma once
#include "afx/object.h"
#include "afx/string.h"
#include "afx/collections.h"
#include <memory>
#include <string>

class TWKPersistentTreeNode;

// Owns the nodes it made; deletes them all with itself.
class TWKPTNFactory
{
public:
    TWKPTNFactory() = default;
    ~TWKPTNFactory();
    TWKPTNFactory(const TWKPTNFactory&) = delete;
    TWKPTNFactory& operator=(const TWKPTNFactory&) = delete;

    TWKPersistentTreeNode* CreateNode();
    void DeleteNode(TWKPersistentTreeNode* pNode);
    // A node made here and created as pParent's child; NULL (and nothing kept) on failure.
    TWKPersistentTreeNode* CreateChild(TWKPersistentTreeNode* pParent, const CString& strName);

private:
    CTypedPtrList<CPtrList, TWKPersistentTreeNode*> m_nodes;
};

// Where a tree is kept. A path lists the names from the node itself up to its root.
class TWKPTNStrategy
{
public:
    virtual ~TWKPTNStrategy() = default;
    virtual BOOL DeleteNode(const CStringList& path) = 0;
    virtual BOOL WriteValue(const CStringList& path, const CString& strKey, const CString& strValue) = 0;
    virtual BOOL WriteChildNames(const CStringList& path, const CStringList& names) = 0;
    virtual BOOL ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys,
                          CStringList& values) = 0;
    // Whether the form holds a node name, a key or a value so that it reads back the same;
    // a save asks before it writes anything.
    virtual BOOL CanHoldNodeName(const CString& strName) const { return !strName.IsEmpty(); }
    virtual BOOL CanHoldKey(const CString& strKey) const { return !strKey.IsEmpty(); }
    virtual BOOL CanHoldValue(const CString&) const { return TRUE; }
};

// One ini section per node: its names from the root down joined with ".". A value with blanks
// or a quote at either end is written between double quotes, which the reader takes off.
class TWKPTNStrategyProfile : public TWKPTNStrategy
{
public:
    explicit TWKPTNStrategyProfile(LPCSTR pszFile);
    ~TWKPTNStrategyProfile() override;
    TWKPTNStrategyProfile(const TWKPTNStrategyProfile&) = delete;
    TWKPTNStrategyProfile& operator=(const TWKPTNStrategyProfile&) = delete;
    BOOL DeleteNode(const CStringList& path) override;
    BOOL WriteValue(const CStringList& path, const CString& strKey, const CString& strValue) override;
    BOOL WriteChildNames(const CStringList& path, const CStringList& names) override;
    BOOL ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys,
                  CStringList& values) override;
    BOOL CanHoldNodeName(const CString& strName) const override;
    BOOL CanHoldKey(const CString& strKey) const override;
    BOOL CanHoldValue(const CString& strValue) const override;

    CString GetSection(const CStringList& path) const;

protected:
    CString m_strFile;
    CString m_strChildPrefix = "ptn_Child";
    CString m_strSeparator = ".";

private:
    // The file read once into its sections, while it stays as it was: a load costs time in
    // proportion to the file, not to the file times its sections.
    struct Parsed;
    const Parsed* ParsedFile();
    std::shared_ptr<Parsed> m_pParsed;
    bool m_bWritten = false;   // written through the platform since the file was read
    // The keys of the section DeleteNode emptied, written whole by FlushSection.
    BOOL FlushSection();
    CString m_strPendingSection;
    std::string m_strPendingKeys;   // "key=value" strings, each ended by a NUL
    bool m_bPending = false;
};

// One registry key per node below a base key; children are subkeys.
class TWKPTNStrategyRegistry : public TWKPTNStrategy
{
public:
    TWKPTNStrategyRegistry(LPCSTR pszBaseKey, HKEY hRoot);
    BOOL DeleteNode(const CStringList& path) override;
    BOOL WriteValue(const CStringList& path, const CString& strKey, const CString& strValue) override;
    BOOL WriteChildNames(const CStringList& path, const CStringList& names) override;
    BOOL ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys,
                  CStringList& values) override;
    BOOL CanHoldNodeName(const CString& strName) const override;
    BOOL CanHoldKey(const CString& strKey) const override;

    CString GetKey(const CStringList& path) const;

protected:
    CString m_strBaseKey;
    HKEY m_hRoot;
};

class TWKPersistentTreeNode : public CObject
{
    DECLARE_DYNCREATE(TWKPersistentTreeNode)
public:
    class TWKPersTreeNodeKeyValuePair : public CObject
    {
    public:
        CString strKey;
        CString strValue;
    };

    // Result codes; several may be combined.
    enum {
        PTN_OK = 0,
        PTN_ALREADY_CREATED = 1,
        PTN_NOT_CREATED = 2,
        PTN_NO_NAME = 4,
        PTN_NO_KEY = 8,
        PTN_KEY_EXISTS = 16,
        PTN_CHILD_EXISTS = 32,
        PTN_KEY_NOT_FOUND = 64,
        PTN_NO_DATA = 128,
        PTN_CANNOT_ENCODE = 256,
        PTN_FAILED = 0xFFFF,
    };

    TWKPersistentTreeNode() = default;
    ~TWKPersistentTreeNode() override;
    TWKPersistentTreeNode(const TWKPersistentTreeNode&) = delete;
    TWKPersistentTreeNode& operator=(const TWKPersistentTreeNode&) = delete;

    virtual UINT Create(const CString& strName, TWKPersistentTreeNode* pParent);
    virtual UINT SetValue(const CString& strKey, int nValue, BOOL bOverwrite);
    virtual UINT SetValue(const CString& strKey, const CString& strValue, BOOL bOverwrite);
    // BOOL is an int here, so the boolean forms take C++'s bool: "True" / "False".
    virtual UINT SetValue(const CString& strKey, bool bValue, BOOL bOverwrite);
    virtual UINT SetBinaryValue(const CString& strKey, const BYTE* pData, UINT nSize, BOOL bOverwrite);
    virtual UINT RemoveKey(const CString& strKey);
    virtual UINT GetValue(const CString& strKey, CString& strValue, CString strDefault);
    virtual UINT GetValue(const CString& strKey, int& nValue, int nDefault);
    virtual UINT GetValue(const CString& strKey, long& nValue, long nDefault);
    virtual UINT GetValue(const CString& strKey, UINT& nValue, UINT nDefault);
    virtual UINT GetValue(const CString& strKey, DWORD& nValue, DWORD nDefault);
    virtual UINT GetValue(const CString& strKey, bool& bValue, bool bDefault);
    // pData is a new buffer the caller frees with delete[].
    virtual UINT GetBinaryValue(const CString& strKey, BYTE*& pData, UINT& nSize);
    // FALSE, writing nothing, when the strategy cannot hold a name or value of the subtree or
    // two siblings (nodes, or keys of a node) differ only in case.
    virtual BOOL Save(TWKPTNStrategy* pStrategy);
    virtual BOOL Load(TWKPTNStrategy* pStrategy);
    virtual UINT AttachChild(TWKPersistentTreeNode* pChild);

    // A text literal is text, not a pointer turned boolean.
    UINT SetValue(const CString& strKey, LPCSTR pszValue, BOOL bOverwrite)
    {
        return SetValue(strKey, CString(pszValue), bOverwrite);
    }

    // The child is made by pFactory, or by this node's own factory when it is NULL.
    TWKPersistentTreeNode* AddChild(const CString& strName, TWKPTNFactory* pFactory = nullptr);
    TWKPersistentTreeNode* FindChild(const CString& strName) const;
    const CString& GetName() const { return strName; }
    TWKPersistentTreeNode* GetParent() const { return m_pParent; }
    BOOL IsCreated() const { return bCreated; }
    POSITION GetFirstKeyPosition() const { return m_pairs.GetHeadPosition(); }
    BOOL GetNextKey(POSITION& pos, CString& strKey, CString& strValue) const;
    POSITION GetFirstChildPosition() const { return m_children.GetHeadPosition(); }
    TWKPersistentTreeNode* GetNextChild(POSITION& pos) const { return m_children.GetNext(pos); }
    // The names from this node up to its root.
    void GetPath(CStringList& path) const;
    // n for a name that is strPrefix followed by n as "%d" writes it (0 .. 2^31 - 1), else -1.
    static long NumberAfter(const CString& strName, const CString& strPrefix);

    // Whether Save would write this subtree (see Save).
    BOOL CanSave(const TWKPTNStrategy* pStrategy) const;

protected:
    TWKPersTreeNodeKeyValuePair* FindPair(const CString& strKey) const;
    BOOL SaveSubtree(TWKPTNStrategy* pStrategy);
    template<class T> UINT GetNumber(const CString& strKey, T& value, T nDefault);

    CString strName;
    TWKPersistentTreeNode* m_pParent = nullptr;
    TWKPTNFactory m_factory;
    CTypedPtrList<CPtrList, TWKPersistentTreeNode*> m_children;
    CTypedPtrList<CPtrList, TWKPersTreeNodeKeyValuePair*> m_pairs;
    BOOL bCreated = FALSE;
};
