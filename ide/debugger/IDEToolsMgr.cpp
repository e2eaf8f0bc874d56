#include "ide/debugger/IDEToolsMgr.h"
#include "framework/controls/dialogs/TWKUserTool.h"
#include "framework/controls/dialogs/TWKUserToolsDlg.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "support/config/CUPath.h"
#include "support/config/ProfileHelpers.h"
#include "support/text/TextHelpers.h"
#include <shellapi.h>

namespace {

// An icon drawn on the menu colour into a bitmap like the main window's.
HBITMAP IconBitmap(HICON hIcon, int cx)
{
    HWND hMain = AfxGetMainWnd() ? AfxGetMainWnd()->GetSafeHwnd() : nullptr;
    HDC hWndDC = ::GetDC(hMain);
    HDC hDC = ::CreateCompatibleDC(hWndDC);
    HBITMAP hBmp = ::CreateCompatibleBitmap(hWndDC, cx, cx);
    if (hBmp) {
        HGDIOBJ hOld = ::SelectObject(hDC, hBmp);
        RECT rc = { 0, 0, cx, cx };
        ::FillRect(hDC, &rc, ::GetSysColorBrush(COLOR_MENU));
        ::DrawIconEx(hDC, 0, 0, hIcon, cx, cx, 0, nullptr, DI_NORMAL);
        ::SelectObject(hDC, hOld);
    }
    ::DeleteDC(hDC);
    ::ReleaseDC(hMain, hWndDC);
    return hBmp;
}

} // namespace

// ---- C_IDEToolInfo

C_IDEToolInfo::~C_IDEToolInfo() { FreeBitmaps(); }

void C_IDEToolInfo::FreeBitmaps()
{
    if (m_hSmall)
        ::DeleteObject(m_hSmall);
    if (m_hLarge)
        ::DeleteObject(m_hLarge);
    m_hSmall = m_hLarge = nullptr;
}

BOOL C_IDEToolInfo::Init(UINT nCmdID, LPCSTR lpszProgram, LPCSTR lpszMenuText)
{
    if (!lpszProgram || !FileExists(lpszProgram))
        return FALSE;
    CString strOld = m_strProgram;
    m_strProgram = lpszProgram;
    if (!MakeBitmaps()) {
        m_strProgram = strOld;
        return FALSE;
    }
    m_nCmdID = nCmdID;
    m_strMenuText = lpszMenuText ? lpszMenuText : "";
    return TRUE;
}

BOOL C_IDEToolInfo::MakeBitmaps()
{
    FreeBitmaps();
    HICON hIcon = ::ExtractIconA(AfxGetInstanceHandle(), m_strProgram, 0);
    if (!hIcon || hIcon == (HICON)1)
        return FALSE;
    HICON hLargeIcon = nullptr;
    ::ExtractIconExA(m_strProgram, 0, &hLargeIcon, nullptr, 1);
    m_hSmall = IconBitmap(hIcon, 16);
    m_hLarge = IconBitmap(hLargeIcon ? hLargeIcon : hIcon, 24);
    ::DestroyIcon(hIcon);
    if (hLargeIcon)
        ::DestroyIcon(hLargeIcon);
    return m_hSmall && m_hLarge;
}

void C_IDEToolInfo::Run()
{
    if (::WinExec(m_strProgram, SW_SHOWNORMAL) < 32) {
        CString strText;
        strText.Format("Unable to execute application '%s' !!", (LPCSTR)m_strProgram);
        AfxMessageBox(strText);
    }
}

// ---- C_IDEToolsMgr

C_IDEToolsMgr::C_IDEToolsMgr(CFrameWnd* pFrame, TWKCustomToolBar* pToolBar, LPCSTR lpszToolsFile, UINT nFirstID,
                             UINT nLastID, UINT nFirstUserID, UINT nCustomizeID)
    : m_pFrame(pFrame), m_pToolBar(pToolBar), m_strToolsFile(lpszToolsFile ? lpszToolsFile : ""),
      m_nCommands((int)(nLastID - nFirstID + 1)), m_nFirstID(nFirstID), m_nLastID(nLastID),
      m_nFirstUserID(nFirstUserID), m_nCustomizeID(nCustomizeID)
{
    m_tools = new C_IDEToolInfo[m_nCommands];
}

C_IDEToolsMgr::~C_IDEToolsMgr()
{
    DeleteUserTools(&m_userTools);
    FreeMenuBitmaps();
    delete[] m_tools;
}

void C_IDEToolsMgr::FreeMenuBitmaps()
{
    for (HBITMAP& h : m_hMenuBitmaps) {
        if (h)
            ::DeleteObject(h);
        h = nullptr;
    }
}

BOOL C_IDEToolsMgr::InitSlot(int nSlot, LPCSTR lpszProgram, LPCSTR lpszMenuText)
{
    C_IDEToolInfo& tool = m_tools[nSlot];
    if (!tool.Init(m_nFirstID + (UINT)nSlot, lpszProgram, lpszMenuText))
        return FALSE;
    if (m_pToolBar && m_pToolBar->GetBmpMgr()) {
        UINT nID = tool.m_nCmdID;
        m_pToolBar->GetBmpMgr()->AddBitmap(tool.m_hSmall, tool.m_hLarge, &nID, 1);
    }
    return TRUE;
}

BOOL C_IDEToolsMgr::AddTool(LPCSTR lpszProgram, LPCSTR lpszMenuText)
{
    char szPath[MAX_PATH] = "";
    if (m_nBuiltIn >= m_nCommands || !FindSystemProgram(lpszProgram, szPath))
        return FALSE;
    if (InitSlot(m_nBuiltIn, szPath, lpszMenuText))
        ++m_nBuiltIn;
    return TRUE;
}

void C_IDEToolsMgr::LoadProjectTools(LPCSTR lpszListFile, LPCSTR lpszSection, LPCSTR lpszKeyPrefix)
{
    m_nProject = 0;
    if (!lpszListFile || !*lpszListFile || !lpszSection || !lpszKeyPrefix)
        return;
    C_CUStringList list;
    GetProfileList(lpszListFile, lpszSection, lpszKeyPrefix, &list, CU_PATH_PLAIN, 0);
    int nSlash = -1;
    for (int i = 0; i < (int)strlen(lpszListFile); ++i)
        if (lpszListFile[i] == '\\' || lpszListFile[i] == '/')
            nSlash = i;
    CString strBase = nSlash >= 0 ? CString(lpszListFile).Left(nSlash) : CString();
    for (int i = 0; i < list.GetCount() && m_nBuiltIn + m_nProject < m_nCommands - 1; ++i) {
        C_CUString strProgram = GetField(list.GetAt(i), 1);
        C_CUString strText = GetField(list.GetAt(i), 2);
        if (!ResolvePath(strBase, strProgram, CU_PATH_PLAIN, 0))
            continue;
        if (InitSlot(m_nBuiltIn + m_nProject, strProgram, strText))
            ++m_nProject;
    }
}

BOOL C_IDEToolsMgr::Load(LPCSTR lpszListFile, LPCSTR lpszSection, LPCSTR lpszKeyPrefix)
{
    if (!m_pToolBar)
        return FALSE;
    LoadProjectTools(lpszListFile, lpszSection, lpszKeyPrefix);
    LoadUserTools(m_strToolsFile, m_userTools);
    return TRUE;
}

void C_IDEToolsMgr::RefreshToolBar(LPCSTR lpszListFile, LPCSTR lpszSection, LPCSTR lpszKeyPrefix)
{
    if (!m_pToolBar)
        return;
    LoadProjectTools(lpszListFile, lpszSection, lpszKeyPrefix);
    const int nShown = GetToolCount();
    for (int i = 0; i < m_nCommands && i < m_pToolBar->GetButtonCount(); ++i)
        m_pToolBar->HideButton(i, i >= nShown);
    if (m_pFrame)
        m_pFrame->RecalcLayout();
    m_pToolBar->Invalidate();
}

void C_IDEToolsMgr::RunTool(int nIndex)
{
    if (nIndex >= 0 && nIndex < GetToolCount())
        m_tools[nIndex].Run();
}

void C_IDEToolsMgr::BuildToolsMenu(CMenu* /*pPopup*/, UINT /*nIndex*/, BOOL /*bSysMenu*/)
{
    // The frame's current menu: the menu bar's when it has one.
    auto* pMDI = dynamic_cast<TWKMDIFrameWnd*>(m_pFrame);
    HMENU hBar = pMDI ? pMDI->GetCurrentMenu() : (m_pFrame ? ::GetMenu(m_pFrame->m_hWnd) : nullptr);
    if (!hBar)
        return;
    HMENU hTools = nullptr;
    for (int i = 0; i < ::GetMenuItemCount(hBar); ++i) {
        char sz[64] = "";
        ::GetMenuStringA(hBar, (UINT)i, sz, sizeof sz, MF_BYPOSITION);
        if (strcmp(sz, "&Tools") == 0) {
            hTools = ::GetSubMenu(hBar, i);
            break;
        }
    }
    if (!hTools)
        return;
    while (::GetMenuItemCount(hTools) > 0)
        ::DeleteMenu(hTools, 0, MF_BYPOSITION);
    for (int i = 0; i < GetToolCount(); ++i) {
        ::AppendMenuA(hTools, MF_STRING, m_tools[i].m_nCmdID, m_tools[i].m_strMenuText);
        ::SetMenuItemBitmaps(hTools, m_tools[i].m_nCmdID, MF_BYCOMMAND, m_tools[i].m_hSmall, m_tools[i].m_hSmall);
    }
    if (GetToolCount() > 0)
        ::AppendMenuA(hTools, MF_SEPARATOR, 0, nullptr);
    // The first sixteen user tools have commands; later ones stay in the file only.
    CObArray shown;
    for (INT_PTR i = 0; i < m_userTools.GetSize() && i < MAX_USER_MENU_TOOLS; ++i)
        shown.Add(m_userTools[i]);
    CMenu* pTools = CMenu::FromHandle(hTools);
    AppendUserToolsToMenu(pTools, m_nFirstUserID, &shown);
    ::AppendMenuA(hTools, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(hTools, MF_STRING, m_nCustomizeID, "C&ustomize...");
    FreeMenuBitmaps();
    for (INT_PTR i = 0; i < shown.GetSize(); ++i) {
        auto* pTool = static_cast<TWKUserTool*>(shown[i]);
        HICON hIcon = ::ExtractIconA(AfxGetInstanceHandle(), pTool->strCommand, 0);
        if (!hIcon || hIcon == (HICON)1)
            continue;
        m_hMenuBitmaps[i] = IconBitmap(hIcon, 16);
        ::DestroyIcon(hIcon);
        UINT nID = m_nFirstUserID + (UINT)i;
        ::SetMenuItemBitmaps(hTools, nID, MF_BYCOMMAND, m_hMenuBitmaps[i], m_hMenuBitmaps[i]);
    }
}

BOOL C_IDEToolsMgr::GetToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult)
{
    if (nID < m_nFirstID || nID > m_nLastID || (int)(nID - m_nFirstID) >= GetToolCount())
        return FALSE;
    const CString& strText = m_tools[nID - m_nFirstID].m_strMenuText;
    if (pNMHDR->code == TTN_NEEDTEXTA)
        lstrcpynA(reinterpret_cast<NMTTDISPINFOA*>(pNMHDR)->szText, strText, 80);
    else
        ::MultiByteToWideChar(CP_ACP, 0, strText, -1, reinterpret_cast<NMTTDISPINFOW*>(pNMHDR)->szText, 80);
    *pResult = 0;
    return TRUE;
}

void C_IDEToolsMgr::Customize()
{
    TWKUserToolsDlg dlg(m_pFrame);
    dlg.pTools = &m_userTools;
    if (dlg.DoModal() != IDOK)
        return;
    if (m_userTools.GetSize() > 0)
        SaveUserTools(m_strToolsFile, m_userTools);
    else
        DeleteFileIfExists(m_strToolsFile);
}

BOOL C_IDEToolsMgr::ExecuteUserTool(UINT nID)
{
    if (nID < m_nFirstUserID || (INT_PTR)(nID - m_nFirstUserID) >= m_userTools.GetSize())
        return TRUE;
    CWaitCursor wait;
    return static_cast<TWKUserTool*>(m_userTools[nID - m_nFirstUserID])->Execute();
}
