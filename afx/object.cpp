#include "afx/object.h"
#include "afx/string.h"
#include "afx/afxres.h"
#include "afx/app.h"
#include <cstring>
#include <mutex>
#include <new>

namespace {
// Constant-initialised, so registration during any static initialiser is safe.
CRuntimeClass* g_pFirstClass = nullptr;

std::recursive_mutex& GlobalsLock()
{
    static std::recursive_mutex m;
    return m;
}

void CopyMessage(LPCSTR text, LPSTR out, UINT nMax)
{
    if (!out || nMax == 0)
        return;
    lstrcpynA(out, text ? text : "", (int)nMax);
}
} // namespace

void AfxLockGlobals() { GlobalsLock().lock(); }
void AfxUnlockGlobals() { GlobalsLock().unlock(); }

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass)
{
    AfxLockGlobals();
    pNewClass->m_pNextClass = g_pFirstClass;
    g_pFirstClass = pNewClass;
    AfxUnlockGlobals();
}

CObject* CRuntimeClass::CreateObject() const
{
    if (!m_pfnCreateObject)
        return nullptr;
    try
    {
        return m_pfnCreateObject();
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
        if (p == pBaseClass)
            return TRUE;
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (!lpszClassName)
        return nullptr;
    CRuntimeClass* found = nullptr;
    AfxLockGlobals();
    for (CRuntimeClass* p = g_pFirstClass; p; p = p->m_pNextClass)
        if (strcmp(p->m_lpszClassName, lpszClassName) == 0)
        {
            found = p;
            break;
        }
    AfxUnlockGlobals();
    return found;
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    CRuntimeClass* p = FromName(lpszClassName);
    return p ? p->CreateObject() : nullptr;
}

CRuntimeClass* CRuntimeClass::GetFirstClass()
{
    return g_pFirstClass;
}

// CObject has no base; its record is written out by hand.
CRuntimeClass CObject::classCObject = { "CObject", (int)sizeof(CObject), 0xFFFF, nullptr, nullptr, nullptr };
static const AFX_CLASSINIT _init_CObject(&CObject::classCObject);

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->IsSerializable();
}

void CObject::Serialize(CArchive&)
{
}

// ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    CopyMessage("", lpszError, nMaxError);
    return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID) const
{
    char text[512];
    CString message;
    if (GetErrorMessage(text, sizeof text))
        message = text;
    else if (nMessageID == 0 || !message.LoadString(nMessageID))
        message = "An unsupported operation was attempted.";
    return AfxMessageBox(message, nType);
}

void AfxReportException(CException* e)
{
    if (!e)
        return;
    e->ReportError(MB_OK | MB_ICONEXCLAMATION);
    e->Delete();
}

void AfxReportOutOfMemory()
{
    CMemoryException e(FALSE);
    e.ReportError(MB_OK | MB_ICONEXCLAMATION);
}

BOOL CMemoryException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    CopyMessage("Out of memory.", lpszError, nMaxError);
    return TRUE;
}

BOOL CResourceException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    CopyMessage("A required resource was unavailable.", lpszError, nMaxError);
    return TRUE;
}

// ---------------------------------------------------------------------------

CFileException::CFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName)
{
}

CString CFileException::GetCauseMessage(int cause, LPCSTR lpszFileName)
{
    static const char* const messages[] = {
        "No error occurred.",
        "An unknown error occurred while accessing %1.",
        "%1 was not found.",
        "%1 contains an incorrect path.",
        "%1 could not be opened because there are too many open files.",
        "Access to %1 was denied.",
        "An incorrect file handle was associated with %1.",
        "%1 could not be removed because it is the current directory.",
        "%1 could not be created because the directory is full.",
        "Seek failed on %1.",
        "A hardware I/O error was reported while accessing %1.",
        "A sharing violation occurred while accessing %1.",
        "A locking violation occurred while accessing %1.",
        "Disk full while accessing %1.",
        "An attempt was made to access %1 past its end.",
    };
    if (cause < 0 || cause >= (int)(sizeof messages / sizeof messages[0]))
        cause = genericException;
    CString text(messages[cause]);
    CString name(lpszFileName && *lpszFileName ? lpszFileName : "an unnamed file");
    text.Replace("%1", name);
    return text;
}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    CopyMessage(GetCauseMessage(m_cause, m_strFileName), lpszError, nMaxError);
    return TRUE;
}

int CFileException::OsErrorToException(LONG lOsError)
{
    switch (lOsError)
    {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_FILENAME_EXCED_RANGE: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
    }
}

void CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName)
{
    if (lOsError != 0)
        AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

// ---------------------------------------------------------------------------

CArchiveException::CArchiveException(int cause, LPCSTR lpszArchiveName)
    : m_cause(cause), m_strFileName(lpszArchiveName)
{
}

BOOL CArchiveException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    static const char* const messages[] = {
        "No error occurred.",
        "An unexpected error occurred while reading %1.",
        "Tried to write to %1 while reading.",
        "Unexpected end of file while reading %1.",
        "Tried to read from %1 while writing.",
        "%1 has an incorrect format.",
        "%1 contains an unexpected object.",
        "%1 contains an incorrect schema.",
    };
    int cause = (m_cause < 0 || m_cause >= (int)(sizeof messages / sizeof messages[0])) ? genericException : m_cause;
    CString text(messages[cause]);
    text.Replace("%1", m_strFileName.IsEmpty() ? "an unnamed file" : (LPCSTR)m_strFileName);
    CopyMessage(text, lpszError, nMaxError);
    return TRUE;
}

// ---------------------------------------------------------------------------

void AfxThrowMemoryException()
{
    // Out of memory may leave no room for the exception itself.
    static CMemoryException s_spare(FALSE);
    CMemoryException* e = new (std::nothrow) CMemoryException;
    throw e ? e : &s_spare;
}

void AfxThrowResourceException()
{
    throw new CResourceException;
}

void AfxThrowUserException()
{
    throw new CUserException;
}

void AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}
