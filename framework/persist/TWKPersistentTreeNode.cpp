#include "framework/persist/TWKPersistentTreeNode.h"
#include "framework/persist/TWKRegistry.h"
#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

IMPLEMENT_DYNCREATE(TWKPersistentTreeNode, CObject)

namespace {

const int kMaxPlainBinary = 250;
const char kBinCount[] = "_BinCount";
const char kBinVal[] = "_BinVal";

CString Encode(const BYTE* pData, UINT nSize)
{
    CString str;
    LPSTR p = str.GetBufferSetLength((int)(nSize * 2));
    for (UINT i = 0; i < nSize; ++i) {
        *p++ = (char)('A' + (pData[i] & 0x0F));
        *p++ = (char)('A' + (pData[i] >> 4));
    }
    return str;
}

bool Decode(const CString& str, std::vector<BYTE>& out)
{
    int n = str.GetLength();
    if (n == 0 || n % 2)
        return false;
    out.resize((size_t)n / 2);
    for (int i = 0; i < n; i += 2) {
        int lo = str[i] - 'A', hi = str[i + 1] - 'A';
        if (lo < 0 || lo > 15 || hi < 0 || hi > 15)
            return false;
        out[(size_t)i / 2] = (BYTE)(lo | (hi << 4));
    }
    return true;
}

} // namespace

// ---------------------------------------------------------------------------
// Factory

TWKPTNFactory::~TWKPTNFactory()
{
    while (!m_nodes.IsEmpty())
        delete m_nodes.RemoveHead();
}

TWKPersistentTreeNode* TWKPTNFactory::CreateNode()
{
    auto* pNode = new TWKPersistentTreeNode;
    m_nodes.AddTail(pNode);
    return pNode;
}

TWKPersistentTreeNode* TWKPTNFactory::CreateChild(TWKPersistentTreeNode* pParent, const CString& strName)
{
    TWKPersistentTreeNode* pNode = CreateNode();
    if (pNode->Create(strName, pParent) != TWKPersistentTreeNode::PTN_OK) {
        DeleteNode(pNode);
        return nullptr;
    }
    return pNode;
}

void TWKPTNFactory::DeleteNode(TWKPersistentTreeNode* pNode)
{
    if (POSITION pos = m_nodes.Find(pNode)) {
        m_nodes.RemoveAt(pos);
        delete pNode;
    }
}

// ---------------------------------------------------------------------------
// Node

TWKPersistentTreeNode::~TWKPersistentTreeNode()
{
    while (!m_pairs.IsEmpty())
        delete m_pairs.RemoveHead();
    // The factory member then deletes the children made through it.
}

UINT TWKPersistentTreeNode::Create(const CString& name, TWKPersistentTreeNode* pParent)
{
    if (bCreated)
        return PTN_ALREADY_CREATED;
    if (name.IsEmpty())
        return PTN_NO_NAME;
    strName = name;
    m_pParent = pParent;
    if (pParent) {
        UINT nCode = pParent->AttachChild(this);
        if (nCode != PTN_OK) {
            m_pParent = nullptr;
            return nCode == PTN_CHILD_EXISTS ? nCode : (UINT)PTN_FAILED;
        }
    }
    bCreated = TRUE;
    return PTN_OK;
}

UINT TWKPersistentTreeNode::SetValue(const CString& strKey, int nValue, BOOL bOverwrite)
{
    CString str;
    str.Format("%d", nValue);
    return SetValue(strKey, str, bOverwrite);
}

UINT TWKPersistentTreeNode::SetValue(const CString& strKey, const CString& strValue, BOOL bOverwrite)
{
    if (!bCreated)
        return PTN_NOT_CREATED;
    if (strKey.IsEmpty())
        return PTN_NO_KEY;
    TWKPersTreeNodeKeyValuePair* pPair = FindPair(strKey);
    if (pPair && !bOverwrite)
        return PTN_KEY_EXISTS;
    if (!pPair) {
        pPair = new TWKPersTreeNodeKeyValuePair;
        pPair->strKey = strKey;
        m_pairs.AddTail(pPair);
    }
    pPair->strValue = strValue;
    return PTN_OK;
}

UINT TWKPersistentTreeNode::SetValue(const CString& strKey, bool bValue, BOOL bOverwrite)
{
    return SetValue(strKey, CString(bValue ? "True" : "False"), bOverwrite);
}

UINT TWKPersistentTreeNode::SetBinaryValue(const CString& strKey, const BYTE* pData, UINT nSize,
                                           BOOL bOverwrite)
{
    if (!pData)
        return PTN_NO_DATA;
    CString text;
    try {
        if (nSize > 0x3FFFFFFF)
            return PTN_CANNOT_ENCODE;
        text = Encode(pData, nSize);
    } catch (const std::bad_alloc&) {
        return PTN_CANNOT_ENCODE;
    }
    if (text.GetLength() <= kMaxPlainBinary) {
        UINT nCode = SetValue(strKey, text, bOverwrite);
        // A count left from a longer value would be read before the plain key.
        if (nCode == PTN_OK)
            RemoveKey(strKey + kBinCount);
        return nCode;
    }
    int nPieces = (text.GetLength() + kMaxPlainBinary - 1) / kMaxPlainBinary;
    UINT nCode = SetValue(strKey + kBinCount, nPieces, TRUE);
    for (int i = 0; i < nPieces && nCode == PTN_OK; ++i) {
        CString pieceKey;
        pieceKey.Format("%s%s%d", (LPCSTR)strKey, kBinVal, i);
        nCode = SetValue(pieceKey, text.Mid(i * kMaxPlainBinary, kMaxPlainBinary), TRUE);
    }
    if (nCode == PTN_OK)
        RemoveKey(strKey);
    return nCode;
}

UINT TWKPersistentTreeNode::RemoveKey(const CString& strKey)
{
    UINT nCode = PTN_KEY_NOT_FOUND;
    POSITION pos = m_pairs.GetHeadPosition();
    while (pos) {
        POSITION here = pos;
        TWKPersTreeNodeKeyValuePair* pPair = m_pairs.GetNext(pos);
        if (pPair->strKey == strKey) {
            m_pairs.RemoveAt(here);
            delete pPair;
            nCode = PTN_OK;
        }
    }
    return nCode;
}

UINT TWKPersistentTreeNode::GetValue(const CString& strKey, CString& strValue, CString strDefault)
{
    if (TWKPersTreeNodeKeyValuePair* pPair = FindPair(strKey)) {
        strValue = pPair->strValue;
        return PTN_OK;
    }
    strValue = strDefault;
    return PTN_KEY_NOT_FOUND;
}

template<class T>
UINT TWKPersistentTreeNode::GetNumber(const CString& strKey, T& value, T nDefault)
{
    value = nDefault;
    TWKPersTreeNodeKeyValuePair* pPair = FindPair(strKey);
    if (!pPair)
        return PTN_KEY_NOT_FOUND;
    value = (T)strtol(pPair->strValue, nullptr, 10);
    return PTN_OK;
}

UINT TWKPersistentTreeNode::GetValue(const CString& strKey, int& nValue, int nDefault)
{
    return GetNumber(strKey, nValue, nDefault);
}

UINT TWKPersistentTreeNode::GetValue(const CString& strKey, long& nValue, long nDefault)
{
    return GetNumber(strKey, nValue, nDefault);
}

UINT TWKPersistentTreeNode::GetValue(const CString& strKey, UINT& nValue, UINT nDefault)
{
    return GetNumber(strKey, nValue, nDefault);
}

UINT TWKPersistentTreeNode::GetValue(const CString& strKey, DWORD& nValue, DWORD nDefault)
{
    return GetNumber(strKey, nValue, nDefault);
}

UINT TWKPersistentTreeNode::GetValue(const CString& strKey, bool& bValue, bool bDefault)
{
    bValue = bDefault;
    TWKPersTreeNodeKeyValuePair* pPair = FindPair(strKey);
    if (!pPair)
        return PTN_KEY_NOT_FOUND;
    CString upper = pPair->strValue;
    upper.MakeUpper();
    bValue = upper == "TRUE";
    return PTN_OK;
}

UINT TWKPersistentTreeNode::GetBinaryValue(const CString& strKey, BYTE*& pData, UINT& nSize)
{
    pData = nullptr;
    nSize = 0;
    CString text;
    if (TWKPersTreeNodeKeyValuePair* pCount = FindPair(strKey + kBinCount)) {
        // The pieces are taken from the pairs this node holds, never by counting up to a
        // stored number: a damaged count cannot make this loop.
        long nCount = strtol(pCount->strValue, nullptr, 10);
        CString prefix = strKey + kBinVal;
        std::vector<std::pair<long, const CString*>> pieces;
        POSITION pos = m_pairs.GetHeadPosition();
        while (pos) {
            TWKPersTreeNodeKeyValuePair* pPair = m_pairs.GetNext(pos);
            long n = NumberAfter(pPair->strKey, prefix);
            if (n >= 0 && n < nCount)
                pieces.emplace_back(n, &pPair->strValue);
        }
        std::stable_sort(pieces.begin(), pieces.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& piece : pieces)
            text += *piece.second;
    } else if (TWKPersTreeNodeKeyValuePair* pPair = FindPair(strKey)) {
        text = pPair->strValue;
    } else {
        return PTN_KEY_NOT_FOUND;
    }
    std::vector<BYTE> bytes;
    try {
        if (!Decode(text, bytes))
            return PTN_FAILED;
        pData = new BYTE[bytes.size()];
    } catch (const std::bad_alloc&) {
        return PTN_FAILED;
    }
    std::copy(bytes.begin(), bytes.end(), pData);
    nSize = (UINT)bytes.size();
    return PTN_OK;
}

void TWKPersistentTreeNode::GetPath(CStringList& path) const
{
    path.RemoveAll();
    for (const TWKPersistentTreeNode* p = this; p; p = p->m_pParent)
        path.AddTail(p->strName);
}

BOOL TWKPersistentTreeNode::Save(TWKPTNStrategy* pStrategy)
{
    if (!bCreated || !pStrategy)
        return FALSE;
    CStringList path, childNames;
    GetPath(path);
    for (POSITION pos = m_children.GetHeadPosition(); pos;)
        childNames.AddTail(m_children.GetNext(pos)->strName);
    pStrategy->DeleteNode(path);
    for (POSITION pos = m_pairs.GetHeadPosition(); pos;) {
        TWKPersTreeNodeKeyValuePair* pPair = m_pairs.GetNext(pos);
        pStrategy->WriteValue(path, pPair->strKey, pPair->strValue);
    }
    pStrategy->WriteChildNames(path, childNames);
    BOOL bOk = TRUE;
    for (POSITION pos = m_children.GetHeadPosition(); pos;)
        if (!m_children.GetNext(pos)->Save(pStrategy))
            bOk = FALSE;
    return bOk;
}

BOOL TWKPersistentTreeNode::Load(TWKPTNStrategy* pStrategy)
{
    if (!bCreated || !pStrategy)
        return FALSE;
    CStringList path, childNames, keys, values;
    GetPath(path);
    if (!pStrategy->ReadNode(path, childNames, keys, values))
        return FALSE;
    POSITION posValue = values.GetHeadPosition();
    for (POSITION pos = keys.GetHeadPosition(); pos && posValue;)
        SetValue(keys.GetNext(pos), values.GetNext(posValue), TRUE);
    for (POSITION pos = childNames.GetHeadPosition(); pos;)
        if (TWKPersistentTreeNode* pChild = AddChild(childNames.GetNext(pos)))
            pChild->Load(pStrategy);
    return TRUE;
}

UINT TWKPersistentTreeNode::AttachChild(TWKPersistentTreeNode* pChild)
{
    if (!bCreated)
        return PTN_NOT_CREATED;
    if (!pChild)
        return PTN_NO_NAME;
    if (FindChild(pChild->strName))
        return PTN_CHILD_EXISTS;
    m_children.AddTail(pChild);
    return PTN_OK;
}

TWKPersistentTreeNode* TWKPersistentTreeNode::AddChild(const CString& name, TWKPTNFactory* pFactory)
{
    return (pFactory ? pFactory : &m_factory)->CreateChild(this, name);
}

long TWKPersistentTreeNode::NumberAfter(const CString& strName, const CString& strPrefix)
{
    int nPrefix = strPrefix.GetLength();
    if (strName.GetLength() <= nPrefix || strName.Left(nPrefix) != strPrefix)
        return -1;
    CString digits = strName.Mid(nPrefix);
    if (digits.GetLength() > 10 || (digits.GetLength() > 1 && digits[0] == '0'))
        return -1;
    long long n = 0;
    for (int i = 0; i < digits.GetLength(); ++i) {
        if (digits[i] < '0' || digits[i] > '9')
            return -1;
        n = n * 10 + (digits[i] - '0');
    }
    return n > 0x7FFFFFFF ? -1 : (long)n;
}

TWKPersistentTreeNode* TWKPersistentTreeNode::FindChild(const CString& name) const
{
    if (name.IsEmpty())
        return nullptr;
    for (POSITION pos = m_children.GetHeadPosition(); pos;) {
        TWKPersistentTreeNode* pChild = m_children.GetNext(pos);
        if (pChild->strName == name)
            return pChild;
    }
    return nullptr;
}

BOOL TWKPersistentTreeNode::GetNextKey(POSITION& pos, CString& strKey, CString& strValue) const
{
    if (!pos)
        return FALSE;
    TWKPersTreeNodeKeyValuePair* pPair = m_pairs.GetNext(pos);
    strKey = pPair->strKey;
    strValue = pPair->strValue;
    return pos != nullptr;
}

TWKPersistentTreeNode::TWKPersTreeNodeKeyValuePair* TWKPersistentTreeNode::FindPair(const CString& strKey) const
{
    for (POSITION pos = m_pairs.GetHeadPosition(); pos;) {
        TWKPersTreeNodeKeyValuePair* pPair = m_pairs.GetNext(pos);
        if (pPair->strKey == strKey)
            return pPair;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Profile strategy

TWKPTNStrategyProfile::TWKPTNStrategyProfile(LPCSTR pszFile) : m_strFile(pszFile) {}

CString TWKPTNStrategyProfile::GetSection(const CStringList& path) const
{
    CString section;
    for (POSITION pos = path.GetTailPosition(); pos;) {
        const CString& name = path.GetPrev(pos);
        if (!section.IsEmpty())
            section += m_strSeparator;
        section += name;
    }
    return section;
}

BOOL TWKPTNStrategyProfile::DeleteNode(const CStringList& path)
{
    CString section = GetSection(path);
    if (section.IsEmpty())
        return FALSE;
    WritePrivateProfileStringA(section, NULL, NULL, m_strFile);
    return TRUE;
}

BOOL TWKPTNStrategyProfile::WriteValue(const CStringList& path, const CString& strKey, const CString& strValue)
{
    return WritePrivateProfileStringA(GetSection(path), strKey, strValue, m_strFile);
}

BOOL TWKPTNStrategyProfile::WriteChildNames(const CStringList& path, const CStringList& names)
{
    CString section = GetSection(path);
    BOOL bOk = TRUE;
    int n = 1;
    for (POSITION pos = names.GetHeadPosition(); pos; ++n) {
        CString key;
        key.Format("%s%d", (LPCSTR)m_strChildPrefix, n);
        if (!WritePrivateProfileStringA(section, key, names.GetNext(pos), m_strFile))
            bOk = FALSE;
    }
    return bOk;
}

BOOL TWKPTNStrategyProfile::ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys,
                                     CStringList& values)
{
    childNames.RemoveAll();
    keys.RemoveAll();
    values.RemoveAll();
    CString section = GetSection(path);
    // The key list grows until the platform no longer fills the buffer, up to the maximum.
    std::vector<char> buffer;
    DWORD dwSize = std::min<DWORD>(512, m_dwMaxKeyBuffer);
    DWORD dwRead = 0;
    for (;;) {
        buffer.assign(dwSize, '\0');
        dwRead = GetPrivateProfileStringA(section, NULL, "", buffer.data(), dwSize, m_strFile);
        if (dwRead < dwSize - 2 || dwSize >= m_dwMaxKeyBuffer)
            break;
        dwSize = std::min<DWORD>(dwSize * 2, m_dwMaxKeyBuffer);
    }
    if (dwRead == 0)
        return FALSE;
    for (DWORD pos = 0; pos < dwRead && buffer[pos];) {
        CString key(buffer.data() + pos);
        pos += (DWORD)key.GetLength() + 1;
        char value[256] = "";
        GetPrivateProfileStringA(section, key, "", value, 255, m_strFile);
        if (key.Left(m_strChildPrefix.GetLength()) == m_strChildPrefix) {
            childNames.AddTail(CString(value));
        } else {
            keys.AddTail(key);
            values.AddTail(CString(value));
        }
    }
    return TRUE;
}

// ---------------------------------------------------------------------------
// Registry strategy

TWKPTNStrategyRegistry::TWKPTNStrategyRegistry(LPCSTR pszBaseKey, HKEY hRoot)
    : m_strBaseKey(pszBaseKey), m_hRoot(hRoot)
{
    if (m_strBaseKey.IsEmpty() || m_strBaseKey[m_strBaseKey.GetLength() - 1] != '\\')
        m_strBaseKey += '\\';
}

CString TWKPTNStrategyRegistry::GetKey(const CStringList& path) const
{
    CString key = m_strBaseKey;
    for (POSITION pos = path.GetTailPosition(); pos;)
        key += path.GetPrev(pos) + "\\";
    return key;
}

BOOL TWKPTNStrategyRegistry::DeleteNode(const CStringList& path)
{
    TWKRegistry reg;
    return reg.Connect(m_hRoot, NULL, TRUE) && reg.DeleteKey(GetKey(path), TRUE);
}

BOOL TWKPTNStrategyRegistry::WriteValue(const CStringList& path, const CString& strKey, const CString& strValue)
{
    TWKRegistry reg;
    if (!reg.Connect(m_hRoot, NULL, TRUE))
        return FALSE;
    CString key = GetKey(path);
    if (!reg.Create(key, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS) || !reg.Open(key, KEY_ALL_ACCESS))
        return FALSE;
    return reg.SetStringValue(strKey, strValue);
}

BOOL TWKPTNStrategyRegistry::WriteChildNames(const CStringList&, const CStringList&)
{
    return TRUE;
}

BOOL TWKPTNStrategyRegistry::ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys,
                                      CStringList& values)
{
    childNames.RemoveAll();
    keys.RemoveAll();
    values.RemoveAll();
    TWKRegistry reg;
    if (!reg.Connect(m_hRoot, NULL, TRUE) || !reg.Open(GetKey(path), KEY_READ))
        return FALSE;
    CString name;
    for (DWORD i = 0; reg.EnumerateKeys(i, name); ++i)
        childNames.AddTail(name);
    for (DWORD i = 0; reg.EnumerateValues(i, name, NULL, NULL, NULL); ++i) {
        CString value;
        if (reg.GetStringValue(name, value)) {
            keys.AddTail(name);
            values.AddTail(value);
        }
    }
    return TRUE;
}
