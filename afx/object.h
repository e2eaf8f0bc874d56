// CObject, run-time class information and the framework's exceptions.
#pragma once
#include <windows.h>
#include "afx/string.h"
#include <new>

class CObject;
class CArchive;

// One record per class; every record sits in one process-wide list so that
// objects can be made from a stored class name.
struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                      // 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)();     // NULL: not creatable
    CRuntimeClass* m_pBaseClass;
    CRuntimeClass* m_pNextClass;         // process-wide list

    CObject* CreateObject() const;       // NULL when not creatable or out of memory
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    BOOL IsSerializable() const { return m_wSchema != 0xFFFF; }

    // Exact, case-sensitive name lookup; NULL when no class has that name.
    static CRuntimeClass* FromName(LPCSTR lpszClassName);
    static CObject* CreateObject(LPCSTR lpszClassName);

    // Head of the list of registered classes (walk with m_pNextClass).
    static CRuntimeClass* GetFirstClass();
};

// Links a class record into the list during static initialisation.
struct AFX_CLASSINIT
{
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

// Lock that guards the class list while it is walked.
void AfxLockGlobals();
void AfxUnlockGlobals();

class CObject
{
public:
    virtual ~CObject() = default;
    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;
    virtual void Serialize(CArchive& ar);

    static CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                    \
public:                                                                \
    static CRuntimeClass class##class_name;                            \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                  \
    DECLARE_DYNAMIC(class_name)                                        \
    static CObject* CreateObject();

// Reading "ar >> pObject" for a serialisable class is defined by
// IMPLEMENT_SERIAL through CArchive::ReadObject.
#define DECLARE_SERIAL(class_name)                                     \
    DECLARE_DYNCREATE(class_name)                                      \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew) \
    CRuntimeClass class_name::class##class_name = {                    \
        #class_name, (int)sizeof(class_name), (UINT)(wSchema), pfnNew, \
        RUNTIME_CLASS(base_class_name), nullptr };                     \
    static const AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name)); \
    CRuntimeClass* class_name::GetRuntimeClass() const                 \
        { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                 \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)               \
    CObject* class_name::CreateObject() { return new class_name; }     \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF,    \
        class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)         \
    CObject* class_name::CreateObject() { return new class_name; }     \
    AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema,   \
        class_name::CreateObject)                                      \
    CArchive& operator>>(CArchive& ar, class_name*& pOb)               \
    {                                                                  \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name))); \
        return ar;                                                     \
    }

// ---------------------------------------------------------------------------
// Exceptions: thrown as pointers ("throw new CFileException(...)"), caught as
// CException* and released with Delete().

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
    // Frees a heap exception; a static one (bAutoDelete FALSE) stays.
    void Delete();
    // Copies the message (truncated to nMaxError - 1 chars); FALSE when none.
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const;
    // Shows the message in a box; nMessageID is the fallback text when there is none.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0) const;

    BOOL m_bAutoDelete;
};

class CMemoryException : public CException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;
};

class CResourceException : public CException
{
    DECLARE_DYNAMIC(CResourceException)
public:
    explicit CResourceException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;
};

class CUserException : public CException
{
    DECLARE_DYNAMIC(CUserException)
public:
    explicit CUserException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
};

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszFileName = NULL);

    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    // The standard message for a cause, with "%1" replaced by the file name.
    static CString GetCauseMessage(int cause, LPCSTR lpszFileName);
    // Maps a Win32 error code (GetLastError) to a cause.
    static int OsErrorToException(LONG lOsError);
    static void ThrowOsError(LONG lOsError, LPCSTR lpszFileName = NULL);

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum
    {
        none,
        genericException,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };

    CArchiveException(int cause = none, LPCSTR lpszArchiveName = NULL);

    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowUserException();
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCSTR lpszFileName = NULL);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName = NULL);

// The exception barrier of window procedures, message loops and thread
// entries: an exception must not unwind through the system's frames (the
// 32-bit unwinder cannot cross them). What escapes is reported with its
// ReportError (through AfxMessageBox) and deleted; out of memory in `new`
// is reported as a CMemoryException.
void AfxReportException(CException* e);
void AfxReportOutOfMemory();

// Calls f(); when a CException* or std::bad_alloc escapes it, reports it and
// returns failValue instead. Other exceptions pass on.
template <class R, class F>
R AfxCallGuarded(R failValue, F&& f)
{
    try {
        return f();
    } catch (CException* e) {
        AfxReportException(e);
    } catch (const std::bad_alloc&) {
        AfxReportOutOfMemory();
    }
    return failValue;
}
