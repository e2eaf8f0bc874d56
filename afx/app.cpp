#include "afx/app.h"
#include "afx/afxres.h"
#include "afx/module.h"
#include "afx/wnd.h"
#include "afx/imagelist.h"
#include <process.h>
#include <mutex>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

// The entry point lives in winmain.cpp; this reference links it into every
// program that has an application object.
extern "C" int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);
extern int (WINAPI* const g_afxWinMainEntry)(HINSTANCE, HINSTANCE, LPSTR, int);
int (WINAPI* const g_afxWinMainEntry)(HINSTANCE, HINSTANCE, LPSTR, int) = &WinMain;
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

CWinApp*& AppPointer()
{
    static CWinApp* p = nullptr;
    return p;
}

CWinThread*& CurrentThread()
{
    thread_local CWinThread* p = nullptr;
    return p;
}

std::string ExeTitle()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s = path;
    size_t slash = s.find_last_of("\\/:");
    if (slash != std::string::npos)
        s.erase(0, slash + 1);
    size_t dot = s.rfind('.');
    if (dot != std::string::npos)
        s.erase(dot);
    return s;
}

// Deletes a key with everything below it.
LONG DeleteKeyTree(HKEY hParent, LPCSTR lpszSubKey)
{
    HKEY hKey = nullptr;
    LONG r = RegOpenKeyExA(hParent, lpszSubKey, 0, KEY_READ | KEY_WRITE, &hKey);
    if (r != ERROR_SUCCESS)
        return r;
    char name[256];
    for (;;) {
        DWORD cch = sizeof name;
        if (RegEnumKeyExA(hKey, 0, name, &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (DeleteKeyTree(hKey, name) != ERROR_SUCCESS)
            break;
    }
    RegCloseKey(hKey);
    return RegDeleteKeyA(hParent, lpszSubKey);
}

} // namespace

// ---------------------------------------------------------------------------
// CWinThread

CWinThread::CWinThread()
{
}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam)
{
}

CWinThread::~CWinThread()
{
    if (m_hThread && m_pfnThreadProc)
        CloseHandle(m_hThread);
    if (CurrentThread() == this)
        CurrentThread() = nullptr;
}

unsigned __stdcall CWinThread::ThreadEntry(void* p)
{
    auto* pThread = static_cast<CWinThread*>(p);
    CurrentThread() = pThread;
    // What escapes the thread's work is reported; the thread then ends with
    // a failure code and the process lives on.
    UINT nResult = AfxCallGuarded<UINT>(AFX_THREAD_FAILED, [&]() -> UINT {
        if (pThread->m_pfnThreadProc)
            return pThread->m_pfnThreadProc(pThread->m_pThreadParams);
        if (pThread->InitInstance())
            return (UINT)pThread->Run();
        return (UINT)pThread->ExitInstance();
    });
    AfxEndThread(nResult, TRUE);
    return nResult;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    unsigned id = 0;
    uintptr_t h = _beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this,
                                 CREATE_SUSPENDED, &id);
    if (!h)
        return FALSE;
    m_hThread = reinterpret_cast<HANDLE>(h);
    m_nThreadID = id;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

CWnd* CWinThread::GetMainWnd()
{
    if (m_pActiveWnd)
        return m_pActiveWnd;
    return m_pMainWnd;
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return (int)m_msgCur.wParam;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    // Mouse moves to the same place and the caret's blink say nothing new.
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        if (m_nMsgLast == pMsg->message && m_ptCursorLast.x == pMsg->pt.x && m_ptCursorLast.y == pMsg->pt.y)
            return FALSE;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118 /* WM_SYSTIMER */;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    if (!pMsg->hwnd)
        return FALSE;
    CWnd* pMainWnd = GetMainWnd();
    return CWnd::WalkPreTranslateTree(pMainWnd ? pMainWnd->GetSafeHwnd() : nullptr, pMsg);
}

namespace {
// Waits for one message and handles it: the thread's pre-translation, then
// translation and dispatch, behind the exception barrier. FALSE on WM_QUIT.
BOOL PumpInto(CWinThread* pThread, MSG& msg)
{
    BOOL r = ::GetMessageA(&msg, nullptr, 0, 0);
    if (r == -1)
        return TRUE;
    if (r == 0)
        return FALSE;
    AfxCallGuarded<int>(0, [&] {
        if (!pThread || !pThread->PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        return 0;
    });
    return TRUE;
}
} // namespace

BOOL CWinThread::PumpMessage()
{
    return PumpInto(this, m_msgCur);
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd && ::IsWindow(pMainWnd->GetSafeHwnd()))
            CWnd::SendIdleUpdate(pMainWnd);
        return TRUE;
    }
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CImageList::DeleteTempMap();
    return FALSE;
}

int CWinThread::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        while (bIdle && !::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

// ---------------------------------------------------------------------------
// CWinApp

CWinApp::CWinApp(LPCSTR lpszAppName)
{
    // The first application object is the application (tests may make more).
    if (!AppPointer())
        AppPointer() = this;
    if (!CurrentThread())
        CurrentThread() = this;
    m_hThread = ::GetCurrentThread();
    m_nThreadID = ::GetCurrentThreadId();
    m_bAutoDelete = FALSE;
    m_hInstance = GetModuleHandleA(nullptr);

    m_strExeName = ExeTitle();
    m_pszExeName = m_strExeName.c_str();
    if (lpszAppName) {
        m_strAppName = lpszAppName;
    } else {
        CString title;
        if (title.LoadString(AfxGetResourceHandle(), AFX_IDS_APP_TITLE))
            m_strAppName = (LPCSTR)title;
        else
            m_strAppName = m_strExeName;
    }
    m_pszAppName = m_strAppName.c_str();
    m_strProfileName = m_strExeName + ".INI";
    m_pszProfileName = m_strProfileName.c_str();
}

CWinApp::~CWinApp()
{
    DestroyDocState();
    if (AppPointer() == this)
        AppPointer() = nullptr;
    if (CurrentThread() == this)
        CurrentThread() = nullptr;
    m_hThread = nullptr;
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey ? lpszRegistryKey : "";
    m_pszRegistryKey = m_strRegistryKey.c_str();
    m_strProfileName = m_strAppName;
    m_pszProfileName = m_strProfileName.c_str();
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString key;
    key.LoadString(nIDRegistryKey);
    SetRegistryKey((LPCSTR)key);
}

void CWinApp::SetProfileName(LPCSTR lpszProfileName)
{
    m_strProfileName = lpszProfileName ? lpszProfileName : "";
    m_pszProfileName = m_strProfileName.c_str();
}

namespace {

// HKEY_CURRENT_USER\Software\<key>\<application>[\<section>], made when missing.
HKEY CreateProfileKey(LPCSTR lpszRegistryKey, LPCSTR lpszProfileName, LPCSTR lpszSection)
{
    std::string path = std::string("Software\\") + lpszRegistryKey + "\\" + lpszProfileName;
    if (lpszSection && *lpszSection)
        path += std::string("\\") + lpszSection;
    HKEY hKey = nullptr;
    DWORD disp = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &hKey, &disp) != ERROR_SUCCESS)
        return nullptr;
    return hKey;
}

// The section used last stays open: a run of reads or writes in one section
// (an editor store's settings are some 25 values) opens its key once instead
// of once per value. A key deleted meanwhile, by this process or another,
// answers ERROR_KEY_DELETED: it is opened (made) again and the call repeated.
class SectionKeyCache {
public:
    template <class Fn>
    LONG Use(LPCSTR lpszRegistryKey, LPCSTR lpszProfileName, LPCSTR lpszSection, Fn fn)
    {
        std::string id = std::string(lpszRegistryKey) + '\0' + lpszProfileName + '\0' + lpszSection;
        std::lock_guard<std::mutex> guard(m_lock);
        for (int nTry = 0; nTry < 2; nTry++) {
            if (!m_hKey || id != m_strId) {
                DropLocked();
                m_hKey = CreateProfileKey(lpszRegistryKey, lpszProfileName, lpszSection);
                if (!m_hKey)
                    return ERROR_FILE_NOT_FOUND;
                m_strId = id;
            }
            LONG r = fn(m_hKey);
            if (r != ERROR_KEY_DELETED)
                return r;
            DropLocked();
        }
        return ERROR_KEY_DELETED;
    }

    void Drop()
    {
        std::lock_guard<std::mutex> guard(m_lock);
        DropLocked();
    }

private:
    void DropLocked()
    {
        if (m_hKey)
            RegCloseKey(m_hKey);
        m_hKey = nullptr;
        m_strId.clear();
    }

    std::mutex m_lock;
    HKEY m_hKey = nullptr;
    std::string m_strId;
};

SectionKeyCache& SectionKeys()
{
    static auto* p = new SectionKeyCache;   // never destroyed: profile calls may come late in the exit
    return *p;
}

} // namespace

HKEY CWinApp::GetAppRegistryKey()
{
    if (!m_pszRegistryKey || !m_pszProfileName)
        return nullptr;
    return CreateProfileKey(m_pszRegistryKey, m_pszProfileName, nullptr);
}

HKEY CWinApp::GetSectionKey(LPCSTR lpszSection)
{
    // One call from the user's root: every profile access goes through here.
    if (!m_pszRegistryKey || !m_pszProfileName)
        return nullptr;
    return CreateProfileKey(m_pszRegistryKey, m_pszProfileName, lpszSection);
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    if (!lpszSection || !lpszEntry)
        return (UINT)nDefault;
    if (!m_pszRegistryKey)
        return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
    if (!m_pszProfileName)
        return (UINT)nDefault;
    DWORD type = 0, value = 0, cb = sizeof value;
    LONG r = SectionKeys().Use(m_pszRegistryKey, m_pszProfileName, lpszSection, [&](HKEY hKey) {
        cb = sizeof value;
        return RegQueryValueExA(hKey, lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &cb);
    });
    if (r != ERROR_SUCCESS || type != REG_DWORD || cb != sizeof value)
        return (UINT)nDefault;
    return value;
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    CString strDefault(lpszDefault);
    if (!lpszSection || !lpszEntry)
        return strDefault;
    if (!m_pszRegistryKey) {
        std::vector<char> buf(256);
        for (;;) {
            DWORD n = ::GetPrivateProfileStringA(lpszSection, lpszEntry, strDefault, buf.data(),
                                                 (DWORD)buf.size(), m_pszProfileName);
            if (n + 1 < buf.size())
                return CString(buf.data(), (int)n);
            buf.resize(buf.size() * 4);
        }
    }
    if (!m_pszProfileName)
        return strDefault;
    // Most values fit the first buffer: one query; a longer one is read again at its size.
    std::vector<char> buf;
    DWORD type = 0, cb = 0;
    LONG r = SectionKeys().Use(m_pszRegistryKey, m_pszProfileName, lpszSection, [&](HKEY hKey) {
        buf.assign(256, '\0');
        cb = (DWORD)buf.size() - 1;
        LONG rq = RegQueryValueExA(hKey, lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(buf.data()), &cb);
        if (rq == ERROR_MORE_DATA) {
            buf.assign(cb + 1, '\0');
            rq = RegQueryValueExA(hKey, lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(buf.data()), &cb);
        }
        return rq;
    });
    if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
        return strDefault;
    buf[cb < buf.size() ? cb : buf.size() - 1] = '\0';
    return CString(buf.data());
}

BOOL CWinApp::GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes)
{
    if (!ppData || !pBytes)
        return FALSE;
    *ppData = nullptr;
    *pBytes = 0;
    if (!lpszSection || !lpszEntry)
        return FALSE;
    if (!m_pszRegistryKey) {
        // Stored as two hex digits per byte.
        CString hex = GetProfileString(lpszSection, lpszEntry, nullptr);
        int n = hex.GetLength() / 2;
        if (n == 0)
            return FALSE;
        auto* p = new BYTE[n];
        for (int i = 0; i < n; i++) {
            char pair[3] = { hex[2 * i], hex[2 * i + 1], 0 };
            p[i] = (BYTE)strtoul(pair, nullptr, 16);
        }
        *ppData = p;
        *pBytes = (UINT)n;
        return TRUE;
    }
    HKEY hKey = GetSectionKey(lpszSection);
    if (!hKey)
        return FALSE;
    DWORD type = 0, cb = 0;
    BOOL ok = FALSE;
    if (RegQueryValueExA(hKey, lpszEntry, nullptr, &type, nullptr, &cb) == ERROR_SUCCESS && type == REG_BINARY) {
        auto* p = new BYTE[cb ? cb : 1];
        if (RegQueryValueExA(hKey, lpszEntry, nullptr, &type, p, &cb) == ERROR_SUCCESS) {
            *ppData = p;
            *pBytes = cb;
            ok = TRUE;
        } else {
            delete[] p;
        }
    }
    RegCloseKey(hKey);
    return ok;
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    if (!lpszSection || !lpszEntry)
        return FALSE;
    if (!m_pszRegistryKey) {
        char buf[16];
        wsprintfA(buf, "%d", nValue);
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, buf, m_pszProfileName);
    }
    if (!m_pszProfileName)
        return FALSE;
    DWORD value = (DWORD)nValue;
    LONG r = SectionKeys().Use(m_pszRegistryKey, m_pszProfileName, lpszSection, [&](HKEY hKey) {
        return RegSetValueExA(hKey, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    });
    return r == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (!lpszSection)
        return FALSE;
    if (!m_pszRegistryKey)
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
    if (!lpszEntry) {
        // The whole section goes, nested keys included; a missing one is gone already.
        SectionKeys().Drop();
        HKEY hApp = GetAppRegistryKey();
        if (!hApp)
            return FALSE;
        LONG r;
        if (*lpszSection) {
            r = DeleteKeyTree(hApp, lpszSection);
            RegCloseKey(hApp);
        } else {
            RegCloseKey(hApp);
            std::string path = std::string("Software\\") + m_pszRegistryKey + "\\" + m_pszProfileName;
            r = DeleteKeyTree(HKEY_CURRENT_USER, path.c_str());
        }
        return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
    }
    if (!m_pszProfileName)
        return FALSE;
    LONG r = SectionKeys().Use(m_pszRegistryKey, m_pszProfileName, lpszSection, [&](HKEY hKey) {
        if (lpszValue)
            return RegSetValueExA(hKey, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                                  (DWORD)strlen(lpszValue) + 1);
        LONG rd = RegDeleteValueA(hKey, lpszEntry);
        return rd == ERROR_FILE_NOT_FOUND ? (LONG)ERROR_SUCCESS : rd;
    });
    return r == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    if (!lpszSection || !lpszEntry || (!pData && nBytes))
        return FALSE;
    if (!m_pszRegistryKey) {
        std::string hex;
        static const char digits[] = "0123456789ABCDEF";
        for (UINT i = 0; i < nBytes; i++) {
            hex += digits[pData[i] >> 4];
            hex += digits[pData[i] & 15];
        }
        return WriteProfileString(lpszSection, lpszEntry, hex.c_str());
    }
    HKEY hKey = GetSectionKey(lpszSection);
    if (!hKey)
        return FALSE;
    LONG r = RegSetValueExA(hKey, lpszEntry, 0, REG_BINARY, pData, nBytes);
    RegCloseKey(hKey);
    return r == ERROR_SUCCESS;
}

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT /*nIDPrompt*/)
{
    HWND hOwner = nullptr;
    if (CWnd* pMain = m_pMainWnd) {
        hOwner = pMain->GetSafeHwnd();
        if (hOwner && ::IsWindow(hOwner))
            hOwner = ::GetLastActivePopup(hOwner);
        else
            hOwner = nullptr;
    }
    DoWaitCursor(0);
    return ::MessageBoxA(hOwner, lpszPrompt ? lpszPrompt : "", m_pszAppName, nType);
}

void CWinApp::WinHelp(DWORD_PTR, UINT)
{
}

void CWinApp::DoWaitCursor(int nCode)
{
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount > 0) {
        HCURSOR hPrev = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
        if (nCode > 0 && m_nWaitCursorCount == 1)
            m_hcurWaitCursorRestore = hPrev;
    } else {
        m_nWaitCursorCount = 0;
        ::SetCursor(m_hcurWaitCursorRestore ? m_hcurWaitCursorRestore : ::LoadCursor(nullptr, IDC_ARROW));
    }
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

HCURSOR CWinApp::LoadStandardCursor(LPCSTR lpszCursorName) const
{
    return ::LoadCursorA(nullptr, lpszCursorName);
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    return CWinThread::PreTranslateMessage(pMsg);
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    CWinThread::OnIdle(lCount);
    return lCount < 1;
}

int CWinApp::ExitInstance()
{
    SaveStdProfileSettings();
    return CWinThread::ExitInstance();
}

// ---------------------------------------------------------------------------
// Globals

CWinApp* AfxGetApp()
{
    return AppPointer();
}

CWinThread* AfxGetThread()
{
    CWinThread* p = CurrentThread();
    return p ? p : AppPointer();
}

HINSTANCE AfxGetInstanceHandle()
{
    CWinApp* pApp = AppPointer();
    return pApp && pApp->m_hInstance ? pApp->m_hInstance : GetModuleHandleA(nullptr);
}

LPCSTR AfxGetAppName()
{
    CWinApp* pApp = AppPointer();
    return pApp ? pApp->m_pszAppName : "";
}

CWnd* AfxGetMainWnd()
{
    CWinThread* p = AfxGetThread();
    return p ? p->GetMainWnd() : nullptr;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pfnThreadProc)
        return nullptr;
    auto* pThread = new CWinThread(pfnThreadProc, pParam);
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        delete pThread;
        return nullptr;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

void AfxEndThread(UINT /*nExitCode*/, BOOL bDelete)
{
    CWinThread* p = CurrentThread();
    CurrentThread() = nullptr;
    if (p && bDelete && p != AppPointer())
        p->Delete();
}

BOOL AfxPumpPendingMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        if (!AfxPumpMessage())
            return FALSE;
        if (CWinThread* pThread = AfxGetThread()) {
            pThread->OnIdle(0);
            pThread->OnIdle(1);
        }
    }
    return TRUE;
}

AfxWaitResult AfxWaitPumping(HANDLE hObject, BOOL (*pfnDone)(void*), void* pParam, DWORD dwTimeout,
                             BOOL bThroughQuit, DWORD dwStep)
{
    const DWORD start = ::GetTickCount();
    bool quit = false;
    int quitCode = 0;
    AfxWaitResult result = AFX_WAIT_TIMEOUT;
    for (;;) {
        MSG msg;
        if (quit) {
            // Only the messages other threads send: a peek delivers them.
            ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        } else if (!AfxPumpPendingMessages()) {
            // The pump posted the quit again; it is kept off until the wait ends.
            if (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
                quitCode = (int)msg.wParam;
            if (!bThroughQuit) {
                ::PostQuitMessage(quitCode);
                return AFX_WAIT_QUIT;
            }
            quit = true;
        }
        if (pfnDone && pfnDone(pParam)) {
            result = AFX_WAIT_DONE;
            break;
        }
        const DWORD elapsed = ::GetTickCount() - start;
        DWORD slice = dwTimeout == INFINITE ? INFINITE : (elapsed >= dwTimeout ? 0 : dwTimeout - elapsed);
        if (pfnDone && slice > dwStep)
            slice = dwStep;
        const DWORD r = ::MsgWaitForMultipleObjectsEx(hObject ? 1 : 0, hObject ? &hObject : nullptr, slice,
                                                      quit ? QS_SENDMESSAGE : QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (hObject && (r == WAIT_OBJECT_0 || r == WAIT_ABANDONED_0)) {
            result = AFX_WAIT_DONE;
            break;
        }
        if (r == WAIT_FAILED) {
            result = AFX_WAIT_FAILED;
            break;
        }
        if (r == WAIT_TIMEOUT && dwTimeout != INFINITE && ::GetTickCount() - start >= dwTimeout) {
            if (pfnDone && pfnDone(pParam))
                result = AFX_WAIT_DONE;
            break;
        }
    }
    if (quit)
        ::PostQuitMessage(quitCode);
    return result;
}

BOOL AfxPumpMessage()
{
    // The thread's own pump (the one Run uses); the outer loop sees WM_QUIT too.
    CWinThread* pThread = AfxGetThread();
    MSG local;
    MSG& msg = pThread ? pThread->m_msgCur : local;
    if (pThread ? pThread->PumpMessage() : PumpInto(nullptr, msg))
        return TRUE;
    ::PostQuitMessage((int)msg.wParam);
    return FALSE;
}

void AfxRunIdle()
{
    CWinThread* pThread = AfxGetThread();
    if (!pThread)
        return;
    MSG msg;
    for (LONG n = 0; pThread->OnIdle(n) && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE); ++n) {
    }
}

void AfxPostQuitMessage(int nExitCode)
{
    ::PostQuitMessage(nExitCode);
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    if (CWinApp* pApp = AfxGetApp())
        return pApp->DoMessageBox(lpszText, nType, nIDHelp);
    return ::MessageBoxA(nullptr, lpszText ? lpszText : "", ExeTitle().c_str(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadString(AfxGetResourceHandle(), nIDPrompt);
    if (nIDHelp == (UINT)-1)
        nIDHelp = nIDPrompt;
    return AfxMessageBox((LPCSTR)text, nType, nIDHelp);
}

void AfxDoWaitCursor(int nCode)
{
    if (CWinApp* pApp = AfxGetApp()) {
        pApp->DoWaitCursor(nCode);
        return;
    }
    ::SetCursor(::LoadCursor(nullptr, nCode > 0 ? IDC_WAIT : IDC_ARROW));
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE /*hPrevInstance*/, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    int nResult;
    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd && ::IsWindow(pApp->m_pMainWnd->GetSafeHwnd()))
            pApp->m_pMainWnd->DestroyWindow();
        nResult = pApp->ExitInstance();
    } else {
        nResult = pApp->Run();   // ends with ExitInstance
    }
    return nResult;
}
