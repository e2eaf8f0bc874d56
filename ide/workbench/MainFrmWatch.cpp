// The fatal-error watchdog: error windows that components inside the process show when
// they fail, described in "ZIDE.cfg", taken into the frame with the offer to close the IDE.
#include "ide/workbench/MainFrm.h"
#include <cstring>

static const char kSection[] = "Fatal Error Define";
static const UINT kWatchdogPeriod = 500;

void CMainFrame::FreeFatalErrorDefinitions()
{
    while (!m_listFatalError.IsEmpty())
        delete m_listFatalError.RemoveHead();
}

void CMainFrame::LoadFatalErrorDefinitions(LPCSTR lpszConfigPath)
{
    FreeFatalErrorDefinitions();
    m_bEnableAutoClose = GetPrivateProfileIntA(kSection, "EnableAutoClose", 0, lpszConfigPath) != 0;
    if (!m_bEnableAutoClose)
        return;
    for (int n = 0;; ++n) {
        char key[32];
        wsprintfA(key, "Error%d", n);
        char section[260] = "";
        GetPrivateProfileStringA(kSection, key, "", section, sizeof section, lpszConfigPath);
        if (!section[0])
            break;
        char text[1040] = "";
        GetPrivateProfileStringA(section, "WindowText", "", text, sizeof text, lpszConfigPath);
        if (!text[0])
            continue;
        // A definition without its module or its text ends the list.
        tagFatalError* pDef = new tagFatalError;
        pDef->WindowText = text;
        GetPrivateProfileStringA(section, "ModuleName", "", text, sizeof text, lpszConfigPath);
        pDef->ModuleName = text;
        GetPrivateProfileStringA(section, "IncludeText", "", text, sizeof text, lpszConfigPath);
        pDef->IncludeText = text;
        if (pDef->ModuleName.IsEmpty() || pDef->IncludeText.IsEmpty()) {
            delete pDef;
            break;
        }
        m_listFatalError.AddTail(pDef);
    }
}

BOOL CMainFrame::IsFatalErrorWindow(HWND hWnd)
{
    char caption[200] = "";
    if (::GetWindowTextA(hWnd, caption, sizeof caption) <= 1)
        return FALSE;
    // Only the first definition of a caption counts.
    tagFatalError* pDef = nullptr;
    for (POSITION pos = m_listFatalError.GetHeadPosition(); pos && !pDef;) {
        tagFatalError* p = m_listFatalError.GetNext(pos);
        if (p->WindowText.CompareNoCase(caption) == 0)
            pDef = p;
    }
    if (!pDef)
        return FALSE;
    char module[MAX_PATH] = "";
    if (!::GetWindowModuleFileNameA(hWnd, module, sizeof module))
        return FALSE;
    const char* pszName = module;
    for (const char* p = module; *p; ++p)
        if (*p == '\\' || *p == '/')
            pszName = p + 1;
    if (pDef->ModuleName.CompareNoCase(pszName) != 0)
        return FALSE;
    for (HWND hChild = ::GetWindow(hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        char text[200] = "";
        ::GetWindowTextA(hChild, text, sizeof text);
        if (strstr(text, pDef->IncludeText))
            return TRUE;
    }
    return FALSE;
}

namespace {

struct FatalWindowSearch {
    CMainFrame* pFrame;
    DWORD dwProcessId;
    HWND hFound;
};

BOOL CALLBACK FindFatalErrorWindow(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<FatalWindowSearch*>(lParam);
    DWORD dwProcessId = 0;
    ::GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId != pSearch->dwProcessId || !pSearch->pFrame->IsFatalErrorWindow(hWnd))
        return TRUE;
    pSearch->hFound = hWnd;
    return FALSE;
}

} // namespace

void CMainFrame::CheckFatalErrorWindows()
{
    FatalWindowSearch search = {this, ::GetCurrentProcessId(), nullptr};
    ::EnumWindows(FindFatalErrorWindow, reinterpret_cast<LPARAM>(&search));
    if (!search.hFound)
        return;
    ::SetParent(search.hFound, m_hWnd);
    PostMessage(WM_MAIN_FATALERROR);
}

LRESULT CMainFrame::OnFatalErrorFound(WPARAM, LPARAM)
{
    if (!m_bEnableAutoClose)
        return 0;
    KillTimer(TIMER_MAIN_WATCHDOG);
    if (MessageBox("An fatal error occured! Please close the ZIDE.(Y/N)", "Kelbray IDE",
                   MB_YESNO | MB_ICONERROR) == IDYES)
        PostMessage(WM_CLOSE);
    else
        SetTimer(TIMER_MAIN_WATCHDOG, kWatchdogPeriod, nullptr);
    return 0;
}
