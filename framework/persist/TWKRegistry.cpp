#include "framework/persist/TWKRegistry.h"
#include <algorithm>
#include <new>
#include <vector>

IMPLEMENT_DYNAMIC(TWKRegistry, CObject)

namespace {

const struct { HKEY hKey; LPCSTR pszName; } kRoots[] = {
    { HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT" },
    { HKEY_CURRENT_USER, "HKEY_CURRENT_USER" },
    { HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE" },
    { HKEY_USERS, "HKEY_USERS" },
    { HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG" },
    { HKEY_DYN_DATA, "HKEY_DYN_DATA" },
};

bool IsPredefined(HKEY hKey)
{
    for (const auto& root : kRoots)
        if (root.hKey == hKey)
            return true;
    return false;
}

// Key names given by callers may end in one backslash.
CString WithoutTrailingBackslash(LPCSTR pszName)
{
    CString str(pszName);
    if (!str.IsEmpty() && str[str.GetLength() - 1] == '\\')
        str = str.Left(str.GetLength() - 1);
    return str;
}

} // namespace

TWKRegistry::TWKRegistry()
{
    Initialize();
}

TWKRegistry::~TWKRegistry()
{
    if (hKey || hRootKey)
        Close();
}

void TWKRegistry::Initialize()
{
    strClassName.Empty();
    strComputerName.Empty();
    strKeyName.Empty();
    strRegistryName.Empty();
    lErrorCode = ERROR_SUCCESS;
    hKey = NULL;
    hRootKey = NULL;
    dwLongestSubkeyNameLength = dwLongestClassNameLength = 0;
    dwLongestValueNameLength = dwLongestValueDataLength = 0;
    dwSecurityDescriptorLength = 0;
    fileTimeLastWrite = FILETIME{};
    dwNumberOfSubkeys = dwNumberOfValues = 0;
    timeLastWrite = CTime();
    bRemote = FALSE;
    bCloseRoot = TRUE;
}

CString TWKRegistry::GetRootKeyName(HKEY hRoot)
{
    for (const auto& root : kRoots)
        if (root.hKey == hRoot)
            return root.pszName;
    return CString();
}

HKEY TWKRegistry::GetRootKeyFromName(LPCSTR pszName)
{
    if (pszName)
        for (const auto& root : kRoots)
            if (lstrcmpA(root.pszName, pszName) == 0)
                return root.hKey;
    return NULL;
}

CString TWKRegistry::JoinKeyNames(const CString& strParent, const CString& strChild)
{
    CString parent = WithoutTrailingBackslash(strParent);
    CString child = WithoutTrailingBackslash(strChild);
    if (!child.IsEmpty() && child[0] == '\\')
        child = child.Mid(1);
    return parent + "\\" + child;
}

BOOL TWKRegistry::CloseOpenKey()
{
    LONG lCode = ERROR_SUCCESS;
    if (hKey && hKey != hRootKey)
        lCode = RegCloseKey(hKey);
    hKey = NULL;
    return Done(lCode);
}

BOOL TWKRegistry::Create(LPCSTR pszName, LPSTR pszClass, DWORD dwOptions, REGSAM sam,
                         LPSECURITY_ATTRIBUTES pSa, DWORD* pDisposition)
{
    if (!pszName)
        return Refuse();
    CloseOpenKey();
    CString name = WithoutTrailingBackslash(pszName);
    char empty[1] = "";
    DWORD dwDisposition = 0;
    HKEY hNew = NULL;
    if (!Done(RegCreateKeyExA(hRootKey, name, 0, pszClass ? pszClass : empty, dwOptions, sam, pSa,
                              &hNew, &dwDisposition)))
        return FALSE;
    hKey = hNew;
    m_samOpen = sam;
    if (pDisposition)
        *pDisposition = dwDisposition;
    strKeyName = name;
    return TRUE;
}

BOOL TWKRegistry::Close()
{
    BOOL bOk = CloseOpenKey();
    LONG lCode = lErrorCode;
    if (hRootKey && bCloseRoot) {
        LONG lRoot = RegCloseKey(hRootKey);
        if (lCode == ERROR_SUCCESS)
            lCode = lRoot;
        bOk = bOk && lRoot == ERROR_SUCCESS;
    }
    Initialize();
    lErrorCode = lCode;
    return bOk;
}

BOOL TWKRegistry::Connect(HKEY hRoot, LPCSTR pszMachine, BOOL bClose)
{
    if (hKey || hRootKey)
        Close();
    BOOL bPreviousClose = bCloseRoot;
    bCloseRoot = bClose;
    bRemote = pszMachine && *pszMachine;
    HKEY hConnected = NULL;
    if (hRoot == HKEY_CLASSES_ROOT || hRoot == HKEY_CURRENT_USER) {
        if (bRemote) {
            bCloseRoot = bPreviousClose;
            return Done(ERROR_INVALID_HANDLE);
        }
        hConnected = hRoot;
        lErrorCode = ERROR_SUCCESS;
    } else if (!Done(RegConnectRegistryA(bRemote ? pszMachine : NULL, hRoot, &hConnected))) {
        bCloseRoot = bPreviousClose;
        return FALSE;
    }
    hRootKey = hConnected;
    if (bRemote) {
        strComputerName = pszMachine;
    } else {
        char szName[MAX_COMPUTERNAME_LENGTH + 1] = "";
        DWORD dwSize = sizeof(szName);
        if (GetComputerNameA(szName, &dwSize))
            strComputerName = szName;
    }
    strRegistryName = GetRootKeyName(hRoot);
    return TRUE;
}

BOOL TWKRegistry::DeleteTree(const CString& strKey)
{
    // Subkeys first, depth first, always the first one until none is left; a subkey that
    // cannot be deleted ends the walk instead of looping on it.
    TWKRegistry walker;
    walker.hRootKey = hRootKey;
    walker.bCloseRoot = FALSE;
    if (!walker.Open(strKey, KEY_ALL_ACCESS))
        return Done(walker.lErrorCode);
    CString child;
    while (walker.EnumerateKeys(0, child)) {
        if (!DeleteTree(JoinKeyNames(strKey, child)))
            return FALSE;
    }
    walker.Close();
    return Done(RegDeleteKeyA(hRootKey, strKey));
}

BOOL TWKRegistry::DeleteKey(LPCSTR pszName, BOOL bRecursive)
{
    if (!pszName)
        return Refuse();
    CString name = WithoutTrailingBackslash(pszName);
    if (bRecursive && name.IsEmpty() && IsPredefined(hRootKey))
        return Refuse();
    BOOL bOk = bRecursive ? DeleteTree(name) : Done(RegDeleteKeyA(hRootKey, name));
    // Our own key may have been below the deleted one: open it again when it still exists.
    if (hKey && hKey != hRootKey && !strKeyName.IsEmpty()) {
        LONG lCode = lErrorCode;
        CString own = strKeyName;
        RegCloseKey(hKey);
        hKey = NULL;
        HKEY hReopened = NULL;
        if (RegOpenKeyExA(hRootKey, own, 0, m_samOpen, &hReopened) == ERROR_SUCCESS)
            hKey = hReopened;
        lErrorCode = lCode;
    }
    return bOk && lErrorCode == ERROR_SUCCESS;
}

BOOL TWKRegistry::DeleteValue(LPCSTR pszName)
{
    return Done(RegDeleteValueA(hKey, pszName));
}

LONG TWKRegistry::EnumKey(DWORD dwIndex, LPSTR pszName, DWORD* pNameSize, LPSTR pszClass,
                          DWORD* pClassSize)
{
    lErrorCode = RegEnumKeyExA(hKey, dwIndex, pszName, pNameSize, NULL, pszClass, pClassSize,
                               &fileTimeLastWrite);
    return lErrorCode;
}

BOOL TWKRegistry::EnumerateKeys(DWORD dwIndex, CString& strName, CString& strClass)
{
    char szName[2048] = "";
    char szClass[2048] = "";
    DWORD dwName = 2047, dwClass = 2047;
    LONG lCode = EnumKey(dwIndex, szName, &dwName, szClass, &dwClass);
    if (lCode != ERROR_SUCCESS && lCode != ERROR_MORE_DATA)
        return FALSE;
    strName = CString(szName, (int)std::min<DWORD>(dwName, 2047));
    strClass = CString(szClass, (int)std::min<DWORD>(dwClass, 2047));
    return TRUE;
}

BOOL TWKRegistry::EnumerateKeys(DWORD dwIndex, CString& strName)
{
    CString strClass;
    return EnumerateKeys(dwIndex, strName, strClass);
}

BOOL TWKRegistry::EnumValue(DWORD dwIndex, CString& strName, DWORD* pType)
{
    return EnumValue(dwIndex, strName, pType, NULL, NULL);
}

BOOL TWKRegistry::EnumValue(DWORD dwIndex, CString& strName, DWORD* pType, BYTE* pData, DWORD* pSize)
{
    return EnumerateValues(dwIndex, strName, pType, pData, pSize);
}

BOOL TWKRegistry::EnumerateValues(DWORD dwIndex, CString& strName, DWORD* pType, BYTE* pData,
                                  DWORD* pSize)
{
    // Value names run to 16,383 characters: the buffer holds the longest, so none is cut.
    std::vector<char> name(16384 + 1, '\0');
    DWORD dwName = 16384;
    LONG lCode = lErrorCode = RegEnumValueA(hKey, dwIndex, name.data(), &dwName, NULL, pType, pData, pSize);
    if (lCode != ERROR_SUCCESS && lCode != ERROR_MORE_DATA)
        return FALSE;
    strName = CString(name.data(), (int)std::min<DWORD>(dwName, 16384));
    return TRUE;
}

BOOL TWKRegistry::Flush()
{
    return Done(RegFlushKey(hKey));
}

BOOL TWKRegistry::QueryValue(LPCSTR pszName, DWORD* pType, BYTE* pData, DWORD* pSize)
{
    DWORD dwExpected = pType ? *pType : REG_NONE;
    DWORD dwFound = REG_NONE;
    if (!Done(RegQueryValueExA(hKey, pszName, NULL, &dwFound, pData, pSize)))
        return FALSE;
    if (pType)
        *pType = dwFound;
    if (dwExpected != REG_NONE && dwFound != dwExpected)
        return Done(ERROR_INVALID_DATATYPE);
    return TRUE;
}

BOOL TWKRegistry::GetBinaryValue(LPCSTR pszName, CByteArray& data)
{
    // Sized by the value itself: a key made by Create has no key information read.
    DWORD dwSize = 0;
    if (RegQueryValueExA(hKey, pszName, NULL, NULL, NULL, &dwSize) != ERROR_SUCCESS)
        dwSize = dwLongestValueDataLength;
    std::vector<BYTE> buffer;
    try {
        buffer.resize(dwSize + 1);
    } catch (const std::bad_alloc&) {
        return Done(ERROR_NOT_ENOUGH_MEMORY);
    }
    DWORD dwType = REG_BINARY;
    if (!QueryValue(pszName, &dwType, buffer.data(), &dwSize))
        return FALSE;
    data.SetSize((INT_PTR)dwSize);
    for (DWORD i = 0; i < dwSize; ++i)
        data[(INT_PTR)i] = buffer[i];
    return TRUE;
}

BOOL TWKRegistry::GetDoubleWordValue(LPCSTR pszName, DWORD& dwValue)
{
    DWORD dwType = REG_DWORD, dwSize = sizeof(DWORD), dwRead = 0;
    if (!QueryValue(pszName, &dwType, reinterpret_cast<BYTE*>(&dwRead), &dwSize))
        return FALSE;
    dwValue = dwRead;
    return TRUE;
}

BOOL TWKRegistry::GetSecurity(SECURITY_INFORMATION si, PSECURITY_DESCRIPTOR pSd, DWORD* pSize)
{
    if (!pSd)
        return Refuse();
    return Done(RegGetKeySecurity(hKey, si, pSd, pSize));
}

BOOL TWKRegistry::GetStringValue(LPCSTR pszName, CString& strValue)
{
    // Read whole whatever its length: sized by the value, again while it grows meanwhile. The
    // text is bounded by the size the registry gave: a value without a terminator must not
    // run past it.
    strValue.Empty();
    std::vector<char> buffer;
    DWORD dwSize = 2048;
    for (int attempt = 0; attempt < 8; ++attempt) {
        try {
            buffer.assign((size_t)dwSize + 1, '\0');
        } catch (const std::bad_alloc&) {
            return Done(ERROR_NOT_ENOUGH_MEMORY);
        }
        DWORD dwType = REG_SZ;
        DWORD dwGot = dwSize;
        if (QueryValue(pszName, &dwType, reinterpret_cast<BYTE*>(buffer.data()), &dwGot)) {
            DWORD n = 0;
            while (n < dwGot && buffer[n])
                ++n;
            strValue = CString(buffer.data(), (int)n);
            return TRUE;
        }
        if (lErrorCode != ERROR_MORE_DATA || dwGot <= dwSize)
            return FALSE;
        dwSize = dwGot;
    }
    return FALSE;
}

BOOL TWKRegistry::GetStringArrayValue(LPCSTR pszName, CStringArray& values)
{
    values.RemoveAll();
    DWORD dwType = REG_MULTI_SZ, dwSize = 0;
    if (!QueryValue(pszName, &dwType, NULL, &dwSize))
        return FALSE;
    std::vector<char> buffer;
    try {
        buffer.resize(dwSize + 2);
    } catch (const std::bad_alloc&) {
        return Done(ERROR_NOT_ENOUGH_MEMORY);
    }
    if (!QueryValue(pszName, &dwType, reinterpret_cast<BYTE*>(buffer.data()), &dwSize))
        return FALSE;
    // Split within the returned size: data without its final empty string still ends there.
    DWORD pos = 0;
    while (pos < dwSize) {
        DWORD end = pos;
        while (end < dwSize && buffer[end])
            ++end;
        if (end == pos)
            break;
        values.Add(CString(buffer.data() + pos, (int)(end - pos)));
        pos = end + 1;
    }
    return TRUE;
}

BOOL TWKRegistry::GetValue(LPCSTR pszName, CString& strValue)
{
    return pszName ? GetStringValue(pszName, strValue) : Refuse();
}

BOOL TWKRegistry::GetValue(LPCSTR pszName, CStringArray& values)
{
    return pszName ? GetStringArrayValue(pszName, values) : Refuse();
}

BOOL TWKRegistry::GetValue(LPCSTR pszName, DWORD& dwValue)
{
    return pszName ? GetDoubleWordValue(pszName, dwValue) : Refuse();
}

BOOL TWKRegistry::GetValue(LPCSTR pszName, CByteArray& data)
{
    return pszName ? GetBinaryValue(pszName, data) : Refuse();
}

BOOL TWKRegistry::LoadKey(LPCSTR pszSubKey, LPCSTR pszFile)
{
    if (!pszSubKey || !pszFile)
        return Refuse();
    return Done(RegLoadKeyA(hRootKey, pszSubKey, pszFile));
}

BOOL TWKRegistry::NotifyChange(HANDLE hEvent, DWORD dwFilter, BOOL bWatchSubtree, BOOL bAsync)
{
    return Done(RegNotifyChangeKeyValue(hKey, bWatchSubtree, dwFilter, hEvent, bAsync));
}

BOOL TWKRegistry::Open(LPCSTR pszName, REGSAM sam)
{
    if (!hRootKey)
        hRootKey = HKEY_CLASSES_ROOT;
    CloseOpenKey();
    CString name = WithoutTrailingBackslash(pszName);
    HKEY hOpened = NULL;
    if (!Done(RegOpenKeyExA(hRootKey, name, 0, sam, &hOpened)))
        return FALSE;
    hKey = hOpened;
    m_samOpen = sam;
    QueryInfo();
    strKeyName = name;
    lErrorCode = ERROR_SUCCESS;
    return TRUE;
}

BOOL TWKRegistry::QueryInfo()
{
    char szClass[2048] = "";
    DWORD dwClass = 2047;
    if (!Done(RegQueryInfoKeyA(hKey, szClass, &dwClass, NULL, &dwNumberOfSubkeys,
                               &dwLongestSubkeyNameLength, &dwLongestClassNameLength,
                               &dwNumberOfValues, &dwLongestValueNameLength,
                               &dwLongestValueDataLength, &dwSecurityDescriptorLength,
                               &fileTimeLastWrite)))
        return FALSE;
    strClassName = CString(szClass, (int)std::min<DWORD>(dwClass, 2047));
    timeLastWrite = CTime(fileTimeLastWrite);
    return TRUE;
}

BOOL TWKRegistry::ReplaceKey(LPCSTR pszSubKey, LPCSTR pszNewFile, LPCSTR pszOldFile)
{
    return Done(RegReplaceKeyA(hKey, pszSubKey, pszNewFile, pszOldFile));
}

BOOL TWKRegistry::RestoreKey(LPCSTR pszFile, DWORD dwFlags)
{
    return Done(RegRestoreKeyA(hKey, pszFile, dwFlags));
}

BOOL TWKRegistry::SaveKey(LPCSTR pszFile, LPSECURITY_ATTRIBUTES pSa)
{
    return Done(RegSaveKeyA(hKey, pszFile, pSa));
}

BOOL TWKRegistry::SetBinaryValue(LPCSTR pszName, const CByteArray& data)
{
    return SetValue(pszName, REG_BINARY, data.GetData() ? data.GetData() : reinterpret_cast<const BYTE*>(""),
                    (DWORD)data.GetSize());
}

BOOL TWKRegistry::SetDoubleWordValue(LPCSTR pszName, DWORD dwValue)
{
    return SetValue(pszName, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof(DWORD));
}

BOOL TWKRegistry::SetSecurity(SECURITY_INFORMATION* pSi, PSECURITY_DESCRIPTOR pSd)
{
    if (!pSi || !pSd)
        return Refuse();
    return Done(RegSetKeySecurity(hKey, *pSi, pSd));
}

BOOL TWKRegistry::SetStringValue(LPCSTR pszName, const CString& strValue)
{
    return SetValue(pszName, REG_SZ, reinterpret_cast<const BYTE*>((LPCSTR)strValue),
                    (DWORD)strValue.GetLength() + 1);
}

BOOL TWKRegistry::SetStringArrayValue(LPCSTR pszName, const CStringArray& values)
{
    std::vector<char> data;
    for (INT_PTR i = 0; i < values.GetSize(); ++i) {
        const CString& str = values[i];
        data.insert(data.end(), (LPCSTR)str, (LPCSTR)str + str.GetLength());
        data.push_back('\0');
    }
    data.push_back('\0');
    return SetValue(pszName, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()), (DWORD)data.size());
}

BOOL TWKRegistry::SetValue(LPCSTR pszName, DWORD dwType, const BYTE* pData, DWORD dwSize)
{
    if (!pszName || !pData)
        return Refuse();
    return Done(RegSetValueExA(hKey, pszName, 0, dwType, pData, dwSize));
}

BOOL TWKRegistry::SetValue(LPCSTR pszName, const CString& strValue)
{
    return pszName ? SetStringValue(pszName, strValue) : Refuse();
}

BOOL TWKRegistry::SetValue(LPCSTR pszName, const CStringArray& values)
{
    return pszName ? SetStringArrayValue(pszName, values) : Refuse();
}

BOOL TWKRegistry::SetValue(LPCSTR pszName, DWORD dwValue)
{
    return pszName ? SetDoubleWordValue(pszName, dwValue) : Refuse();
}

BOOL TWKRegistry::SetValue(LPCSTR pszName, const CByteArray& data)
{
    return pszName ? SetBinaryValue(pszName, data) : Refuse();
}

BOOL TWKRegistry::UnLoadKey(LPCSTR pszSubKey)
{
    if (!pszSubKey)
        return Refuse();
    return Done(RegUnLoadKeyA(hRootKey, pszSubKey));
}
