// TWKRegistry: one connection to a registry root and one open key of it.
// Every operation keeps the platform's code of its last call in lErrorCode.
#pragma once
#include "afx/object.h"
#include "afx/string.h"
#include "afx/collections.h"
#include "afx/time.h"

class TWKRegistry : public CObject
{
    DECLARE_DYNAMIC(TWKRegistry)
public:
    TWKRegistry();
    ~TWKRegistry() override;
    TWKRegistry(const TWKRegistry&) = delete;
    TWKRegistry& operator=(const TWKRegistry&) = delete;

    virtual void Initialize();
    virtual BOOL Create(LPCSTR pszName, LPSTR pszClass = NULL, DWORD dwOptions = REG_OPTION_NON_VOLATILE,
                        REGSAM sam = KEY_ALL_ACCESS, LPSECURITY_ATTRIBUTES pSa = NULL,
                        DWORD* pDisposition = NULL);
    virtual BOOL Close();
    virtual BOOL Connect(HKEY hRoot = HKEY_CURRENT_USER, LPCSTR pszMachine = NULL, BOOL bCloseRoot = TRUE);
    virtual BOOL DeleteKey(LPCSTR pszName, BOOL bRecursive = FALSE);
    virtual BOOL DeleteValue(LPCSTR pszName);
    virtual LONG EnumKey(DWORD dwIndex, LPSTR pszName, DWORD* pNameSize, LPSTR pszClass = NULL,
                         DWORD* pClassSize = NULL);
    virtual BOOL EnumerateKeys(DWORD dwIndex, CString& strName, CString& strClass);
    virtual BOOL EnumerateKeys(DWORD dwIndex, CString& strName);
    virtual BOOL EnumValue(DWORD dwIndex, CString& strName, DWORD* pType = NULL);
    virtual BOOL EnumValue(DWORD dwIndex, CString& strName, DWORD* pType, BYTE* pData, DWORD* pSize);
    virtual BOOL EnumerateValues(DWORD dwIndex, CString& strName, DWORD* pType, BYTE* pData, DWORD* pSize);
    virtual BOOL Flush();
    virtual BOOL GetBinaryValue(LPCSTR pszName, CByteArray& data);
    virtual BOOL GetDoubleWordValue(LPCSTR pszName, DWORD& dwValue);
    virtual BOOL GetSecurity(SECURITY_INFORMATION si, PSECURITY_DESCRIPTOR pSd, DWORD* pSize);
    virtual BOOL GetStringValue(LPCSTR pszName, CString& strValue);
    virtual BOOL GetStringArrayValue(LPCSTR pszName, CStringArray& values);
    virtual BOOL GetValue(LPCSTR pszName, CString& strValue);
    virtual BOOL GetValue(LPCSTR pszName, CStringArray& values);
    virtual BOOL GetValue(LPCSTR pszName, DWORD& dwValue);
    virtual BOOL GetValue(LPCSTR pszName, CByteArray& data);
    virtual BOOL LoadKey(LPCSTR pszSubKey, LPCSTR pszFile);
    virtual BOOL NotifyChange(HANDLE hEvent, DWORD dwFilter = REG_NOTIFY_CHANGE_LAST_SET,
                              BOOL bWatchSubtree = TRUE, BOOL bAsync = TRUE);
    virtual BOOL Open(LPCSTR pszName, REGSAM sam = KEY_READ);
    virtual BOOL QueryInfo();
    virtual BOOL QueryValue(LPCSTR pszName, DWORD* pType, BYTE* pData, DWORD* pSize);
    virtual BOOL ReplaceKey(LPCSTR pszSubKey, LPCSTR pszNewFile, LPCSTR pszOldFile);
    virtual BOOL RestoreKey(LPCSTR pszFile, DWORD dwFlags = 0);
    virtual BOOL SaveKey(LPCSTR pszFile, LPSECURITY_ATTRIBUTES pSa = NULL);
    virtual BOOL SetBinaryValue(LPCSTR pszName, const CByteArray& data);
    virtual BOOL SetDoubleWordValue(LPCSTR pszName, DWORD dwValue);
    virtual BOOL SetSecurity(SECURITY_INFORMATION* pSi, PSECURITY_DESCRIPTOR pSd);
    virtual BOOL SetStringValue(LPCSTR pszName, const CString& strValue);
    virtual BOOL SetStringArrayValue(LPCSTR pszName, const CStringArray& values);
    virtual BOOL SetValue(LPCSTR pszName, DWORD dwType, const BYTE* pData, DWORD dwSize);
    virtual BOOL SetValue(LPCSTR pszName, const CString& strValue);
    virtual BOOL SetValue(LPCSTR pszName, const CStringArray& values);
    virtual BOOL SetValue(LPCSTR pszName, DWORD dwValue);
    virtual BOOL SetValue(LPCSTR pszName, const CByteArray& data);
    virtual BOOL UnLoadKey(LPCSTR pszSubKey);

    // "HKEY_CURRENT_USER" and the other predefined roots; empty for any other key.
    static CString GetRootKeyName(HKEY hRoot);
    // The reverse: an exact root name gives its key, any other text 0.
    static HKEY GetRootKeyFromName(LPCSTR pszName);
    // parent + "\" + child, without doubled backslashes at the seam.
    static CString JoinKeyNames(const CString& strParent, const CString& strChild);

    LONG lErrorCode;
    HKEY hKey;
    HKEY hRootKey;
    DWORD dwLongestSubkeyNameLength;
    DWORD dwLongestClassNameLength;
    DWORD dwLongestValueNameLength;
    DWORD dwLongestValueDataLength;
    DWORD dwSecurityDescriptorLength;
    FILETIME fileTimeLastWrite;
    DWORD dwNumberOfSubkeys;
    DWORD dwNumberOfValues;
    CTime timeLastWrite;
    CString strClassName;
    CString strComputerName;
    CString strKeyName;
    CString strRegistryName;
    BOOL bRemote;
    BOOL bCloseRoot;

private:
    BOOL Done(LONG lCode) { lErrorCode = lCode; return lCode == ERROR_SUCCESS; }
    BOOL Refuse() { return Done(ERROR_INVALID_PARAMETER); }
    BOOL CloseOpenKey();
    BOOL DeleteTree(const CString& strKey);
    REGSAM m_samOpen = KEY_READ;
};
