#include "framework/persist/TWKPersistentTreeNode.h"
#include "framework/persist/TWKRegistry.h"
#include "afx/file.h"
#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>
#include <unordered_map>
#include <unordered_set>
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

// Names the stores compare without case compare equal here.
std::string Folded(const CString& str)
{
    std::string s((LPCSTR)str, (size_t)str.GetLength());
    if (!s.empty())
        CharUpperBuffA(&s[0], (DWORD)s.size());
    return s;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
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
    if (!bCreated)
        return PTN_NOT_CREATED;
    if (!bOverwrite && (FindPair(strKey) || FindPair(strKey + kBinCount)))
        return PTN_KEY_EXISTS;
    // Pieces of an earlier, longer value go: they are no part of this one.
    const CString piecePrefix = strKey + kBinVal;
    for (POSITION pos = m_pairs.GetHeadPosition(); pos;) {
        POSITION here = pos;
        TWKPersTreeNodeKeyValuePair* pPair = m_pairs.GetNext(pos);
        if (NumberAfter(pPair->strKey, piecePrefix) >= 0) {
            m_pairs.RemoveAt(here);
            delete pPair;
        }
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
        // Every piece up to the count, each once and whole (all but the last full length), or
        // failure. The pieces are taken from the pairs this node holds, never by counting up to
        // a stored number: a damaged count cannot make this loop.
        long nCount = NumberAfter(pCount->strValue, "");
        if (nCount <= 0 || nCount > (long)m_pairs.GetCount())
            return PTN_FAILED;
        std::vector<const CString*> pieces((size_t)nCount, nullptr);
        const CString prefix = strKey + kBinVal;
        for (POSITION pos = m_pairs.GetHeadPosition(); pos;) {
            TWKPersTreeNodeKeyValuePair* pPair = m_pairs.GetNext(pos);
            long n = NumberAfter(pPair->strKey, prefix);
            if (n >= 0 && n < nCount) {
                if (pieces[(size_t)n])
                    return PTN_FAILED;
                pieces[(size_t)n] = &pPair->strValue;
            }
        }
        for (size_t i = 0; i < pieces.size(); ++i) {
            const bool last = i + 1 == pieces.size();
            if (!pieces[i] || (last ? pieces[i]->IsEmpty() || pieces[i]->GetLength() > kMaxPlainBinary
                                    : pieces[i]->GetLength() != kMaxPlainBinary))
                return PTN_FAILED;
        }
        try {
            for (const CString* piece : pieces)
                text += *piece;
        } catch (const std::bad_alloc&) {
            return PTN_FAILED;
        }
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

BOOL TWKPersistentTreeNode::CanSave(const TWKPTNStrategy* pStrategy) const
{
    if (!bCreated || !pStrategy || !pStrategy->CanHoldNodeName(strName))
        return FALSE;
    std::unordered_set<std::string> seen;
    for (POSITION pos = m_pairs.GetHeadPosition(); pos;) {
        const TWKPersTreeNodeKeyValuePair* pPair = m_pairs.GetNext(pos);
        if (!pStrategy->CanHoldKey(pPair->strKey) || !pStrategy->CanHoldValue(pPair->strValue) ||
            !seen.insert(Folded(pPair->strKey)).second)
            return FALSE;
    }
    seen.clear();
    for (POSITION pos = m_children.GetHeadPosition(); pos;) {
        const TWKPersistentTreeNode* pChild = m_children.GetNext(pos);
        if (!seen.insert(Folded(pChild->strName)).second || !pChild->CanSave(pStrategy))
            return FALSE;
    }
    return TRUE;
}

BOOL TWKPersistentTreeNode::Save(TWKPTNStrategy* pStrategy)
{
    if (!CanSave(pStrategy))
        return FALSE;
    return SaveSubtree(pStrategy);
}

BOOL TWKPersistentTreeNode::SaveSubtree(TWKPTNStrategy* pStrategy)
{
    BOOL bOk = TRUE;
    {
        // The path goes before the children are saved: kept down a deep tree it would cost
        // memory in the square of the depth.
        CStringList path, childNames;
        GetPath(path);
        for (POSITION pos = m_children.GetHeadPosition(); pos;)
            childNames.AddTail(m_children.GetNext(pos)->strName);
        pStrategy->DeleteNode(path);
        for (POSITION pos = m_pairs.GetHeadPosition(); pos;) {
            TWKPersTreeNodeKeyValuePair* pPair = m_pairs.GetNext(pos);
            if (!pStrategy->WriteValue(path, pPair->strKey, pPair->strValue))
                bOk = FALSE;
        }
        if (!pStrategy->WriteChildNames(path, childNames))
            bOk = FALSE;
    }
    for (POSITION pos = m_children.GetHeadPosition(); pos;)
        if (!m_children.GetNext(pos)->SaveSubtree(pStrategy))
            bOk = FALSE;
    return bOk;
}

BOOL TWKPersistentTreeNode::Load(TWKPTNStrategy* pStrategy)
{
    if (!bCreated || !pStrategy)
        return FALSE;
    CStringList childNames;
    {
        // As in saving: nothing but the child names is kept while the children load.
        CStringList path, keys, values;
        GetPath(path);
        if (!pStrategy->ReadNode(path, childNames, keys, values))
            return FALSE;
        POSITION posValue = values.GetHeadPosition();
        for (POSITION pos = keys.GetHeadPosition(); pos && posValue;)
            SetValue(keys.GetNext(pos), values.GetNext(posValue), TRUE);
    }
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

struct TWKPTNStrategyProfile::Parsed
{
    // Sections by their folded name (the first of a name counts); each its keys and values
    // in file order, values with their quotes taken off.
    std::unordered_map<std::string, std::vector<std::pair<CString, CString>>> sections;
    WIN32_FILE_ATTRIBUTE_DATA stamp = {};
};

namespace {

bool SameStamp(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b)
{
    return a.nFileSizeLow == b.nFileSizeLow && a.nFileSizeHigh == b.nFileSizeHigh &&
           CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

// Text between blanks, as the profile reader takes a name or a value.
void Trim(const char*& begin, const char*& end)
{
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
}

bool NeedsQuotes(const CString& str)
{
    if (str.IsEmpty())
        return false;
    const char first = str[0], last = str[str.GetLength() - 1];
    return IsBlank(first) || IsBlank(last) || first == '"' || first == '\'' || last == '"' || last == '\'';
}

} // namespace

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

BOOL TWKPTNStrategyProfile::CanHoldNodeName(const CString& strName) const
{
    // The name is part of section names: no separator (child "a.b" would be child "b" of
    // "a"), no brackets, no line breaks, no blanks the reader would take off.
    if (strName.IsEmpty() || IsBlank(strName[0]) || IsBlank(strName[strName.GetLength() - 1]))
        return FALSE;
    return strName.Find(m_strSeparator) < 0 && strName.FindOneOf("[]\r\n") < 0;
}

BOOL TWKPTNStrategyProfile::CanHoldKey(const CString& strKey) const
{
    // A key starting like a comment or a section line, holding "=", or named like the child
    // entries would not come back as this key.
    if (strKey.IsEmpty() || IsBlank(strKey[0]) || IsBlank(strKey[strKey.GetLength() - 1]) || strKey[0] == ';' ||
        strKey[0] == '[' || strKey.FindOneOf("=\r\n") >= 0)
        return FALSE;
    return Folded(strKey.Left(m_strChildPrefix.GetLength())) != Folded(m_strChildPrefix);
}

BOOL TWKPTNStrategyProfile::CanHoldValue(const CString& strValue) const
{
    return strValue.FindOneOf("\r\n") < 0;
}

TWKPTNStrategyProfile::~TWKPTNStrategyProfile()
{
    FlushSection();
}

BOOL TWKPTNStrategyProfile::FlushSection()
{
    if (!m_bPending)
        return TRUE;
    m_bPending = false;
    if (m_strPendingKeys.empty())
        return TRUE;
    m_strPendingKeys += '\0';
    m_pParsed.reset();
    m_bWritten = true;
    BOOL bOk = WritePrivateProfileSectionA(m_strPendingSection, m_strPendingKeys.c_str(), m_strFile);
    m_strPendingKeys.clear();
    return bOk;
}

BOOL TWKPTNStrategyProfile::DeleteNode(const CStringList& path)
{
    CString section = GetSection(path);
    BOOL bOk = FlushSection();
    if (section.IsEmpty())
        return FALSE;
    m_pParsed.reset();
    m_bWritten = true;
    WritePrivateProfileStringA(section, NULL, NULL, m_strFile);
    // The emptied section's keys are written in one go once its child names come: a key at a
    // time would rewrite the file once per key.
    m_strPendingSection = section;
    m_bPending = true;
    return bOk;
}

BOOL TWKPTNStrategyProfile::WriteValue(const CStringList& path, const CString& strKey, const CString& strValue)
{
    if (!CanHoldKey(strKey) || !CanHoldValue(strValue))
        return FALSE;
    // Values that need none keep the plain form.
    CString stored = NeedsQuotes(strValue) ? "\"" + strValue + "\"" : strValue;
    CString section = GetSection(path);
    if (m_bPending && section == m_strPendingSection) {
        m_strPendingKeys.append((LPCSTR)strKey, (size_t)strKey.GetLength());
        m_strPendingKeys += '=';
        m_strPendingKeys.append((LPCSTR)stored, (size_t)stored.GetLength());
        m_strPendingKeys += '\0';
        return TRUE;
    }
    BOOL bOk = FlushSection();
    m_pParsed.reset();
    m_bWritten = true;
    return WritePrivateProfileStringA(section, strKey, stored, m_strFile) && bOk;
}

BOOL TWKPTNStrategyProfile::WriteChildNames(const CStringList& path, const CStringList& names)
{
    CString section = GetSection(path);
    if (!(m_bPending && section == m_strPendingSection) && !FlushSection())
        return FALSE;
    const bool bPending = m_bPending;
    m_pParsed.reset();
    m_bWritten = true;
    BOOL bOk = TRUE;
    int n = 1;
    for (POSITION pos = names.GetHeadPosition(); pos; ++n) {
        CString key;
        key.Format("%s%d", (LPCSTR)m_strChildPrefix, n);
        const CString& name = names.GetNext(pos);
        const CString stored = NeedsQuotes(name) ? "\"" + name + "\"" : name;
        if (bPending) {
            m_strPendingKeys += std::string(key) + "=" + std::string((LPCSTR)stored, (size_t)stored.GetLength());
            m_strPendingKeys += '\0';
        } else if (!WritePrivateProfileStringA(section, key, stored, m_strFile)) {
            bOk = FALSE;
        }
    }
    // The node's section is complete.
    return FlushSection() && bOk;
}

const TWKPTNStrategyProfile::Parsed* TWKPTNStrategyProfile::ParsedFile()
{
    // Our writes still held or in the platform's profile cache go to the file first.
    FlushSection();
    if (m_bWritten) {
        WritePrivateProfileStringA(NULL, NULL, NULL, m_strFile);
        m_bWritten = false;
    }
    WIN32_FILE_ATTRIBUTE_DATA stamp = {};
    if (!GetFileAttributesExA(m_strFile, GetFileExInfoStandard, &stamp) ||
        (stamp.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        m_pParsed.reset();
        return nullptr;
    }
    if (m_pParsed && SameStamp(m_pParsed->stamp, stamp))
        return m_pParsed.get();
    m_pParsed.reset();
    auto parsed = std::make_shared<Parsed>();
    parsed->stamp = stamp;
    std::string text;
    try {
        CFile file(m_strFile, CFile::modeRead | CFile::shareDenyNone);
        ULONGLONG length = file.GetLength();
        if (length > 0x7FFFFFFF)
            return nullptr;
        text.resize((size_t)length);
        if (length && file.Read(&text[0], (UINT)length) != (UINT)length)
            return nullptr;
    } catch (CException* e) {
        e->Delete();
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    std::vector<std::pair<CString, CString>>* pSection = nullptr;
    const char* p = text.data();
    const char* const end = p + text.size();
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        p += 3;   // a UTF-8 mark an editor may have put in front
    while (p < end) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r')
            ++lineEnd;
        const char* b = p;
        const char* e = lineEnd;
        p = lineEnd < end ? lineEnd + 1 : end;
        Trim(b, e);
        if (b == e || *b == ';')
            continue;
        if (*b == '[') {
            const char* close = e;
            while (close > b && close[-1] != ']')
                --close;
            const char* nb = b + 1;
            const char* ne = close > b ? close - 1 : e;
            Trim(nb, ne);
            std::string name(nb, (size_t)(ne - nb));
            if (!name.empty())
                CharUpperBuffA(&name[0], (DWORD)name.size());
            auto inserted = parsed->sections.emplace(std::move(name), std::vector<std::pair<CString, CString>>());
            // A second section of the same name is not read: the first one counts.
            pSection = inserted.second ? &inserted.first->second : nullptr;
            continue;
        }
        if (!pSection)
            continue;
        const char* eq = b;
        while (eq < e && *eq != '=')
            ++eq;
        const char* kb = b;
        const char* ke = eq;
        Trim(kb, ke);
        const char* vb = eq < e ? eq + 1 : e;
        const char* ve = e;
        Trim(vb, ve);
        if (ve - vb >= 2 && (*vb == '"' || *vb == '\'') && ve[-1] == *vb) {
            ++vb;
            --ve;
        }
        pSection->emplace_back(CString(kb, (int)(ke - kb)), CString(vb, (int)(ve - vb)));
    }
    m_pParsed = parsed;
    return m_pParsed.get();
}

BOOL TWKPTNStrategyProfile::ReadNode(const CStringList& path, CStringList& childNames, CStringList& keys,
                                     CStringList& values)
{
    childNames.RemoveAll();
    keys.RemoveAll();
    values.RemoveAll();
    const Parsed* pParsed = ParsedFile();
    if (!pParsed)
        return FALSE;
    auto found = pParsed->sections.find(Folded(GetSection(path)));
    if (found == pParsed->sections.end() || found->second.empty())
        return FALSE;
    // Every key and value whole, whatever its length; a key twice gives its first value.
    std::unordered_set<std::string> seen;
    for (const auto& entry : found->second) {
        if (entry.first.IsEmpty() || !seen.insert(Folded(entry.first)).second)
            continue;
        if (entry.first.Left(m_strChildPrefix.GetLength()) == m_strChildPrefix) {
            childNames.AddTail(entry.second);
        } else {
            keys.AddTail(entry.first);
            values.AddTail(entry.second);
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
    // Create opens the key as well.
    if (!reg.Create(key, NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS))
        return FALSE;
    return reg.SetStringValue(strKey, strValue);
}

BOOL TWKPTNStrategyRegistry::WriteChildNames(const CStringList& path, const CStringList&)
{
    // The node's key exists even when it holds no value: a child without values is a child.
    TWKRegistry reg;
    return reg.Connect(m_hRoot, NULL, TRUE) && reg.Create(GetKey(path), NULL, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS);
}

BOOL TWKPTNStrategyRegistry::CanHoldNodeName(const CString& strName) const
{
    // A backslash would make nested keys; key names are at most 255 characters.
    return !strName.IsEmpty() && strName.GetLength() <= 255 && strName.Find('\\') < 0;
}

BOOL TWKPTNStrategyRegistry::CanHoldKey(const CString& strKey) const
{
    return !strKey.IsEmpty() && strKey.GetLength() <= 16383;
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
