// The main frame's commands and message routing: menus that change with the
// project and debugging, tooltips, the find box and its history, the edit
// commands for the output and debug windows, toolbar switches, page setup and
// the mouse-wheel hook.
#include "ide/workbench/MainFrm.h"
#include "support/config/CUPath.h"
#include "support/ui/CUMsgHandler.h"
#include "framework/controls/dialogs/TWKUserTool.h"
#include "ide/debugger/IDEToolsMgr.h"
#include "ide/workbench/FindInFiles.h"
#include "editor/window/OEPageSetupDlg.h"
#include "editor/window/TWKEditView.h"
#include "framework/controls/menus/TWKBmpMenuPlugIn.h"
#include "framework/controls/menus/TWKMenuBar.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/controls/toolbars/TWKCustomToolBar.h"
#include "framework/controls/toolbars/TWKToolBarManager.h"
#include "framework/controls/toolbars/TWKWndBtn.h"
#include "ide/debugger/IDEDisAsmView.h"
#include "support/text/TextHelpers.h"

namespace {

const char kFindSection[] = "Settings\\Find";

// A menu item's text: the bitmap menus keep it in their own record once the
// item is theirs.
CString MenuItemText(TWKBmpMenuPlugIn* pPlugIn, HMENU hMenu, int nPos)
{
    char szText[256] = "";
    MENUITEMINFOA mii = { sizeof(mii), MIIM_TYPE | MIIM_DATA };
    mii.dwTypeData = szText;
    mii.cch = sizeof szText;
    if (!::GetMenuItemInfoA(hMenu, nPos, TRUE, &mii))
        return CString();
    if (!(mii.fType & MFT_OWNERDRAW))
        return CString(szText);
    TWKBmpMenuInfo* pInfo = pPlugIn ? pPlugIn->GetMenuInfo(hMenu) : nullptr;
    auto* pItem = reinterpret_cast<TWKBmpMenuItemInfo*>(mii.dwItemData);
    if (pInfo && pItem && pInfo->Contains(pItem))
        return pItem->m_strText;
    return CString();
}

CString WithoutAmpersands(CString str)
{
    str.Remove('&');
    return str;
}

// The text up to the first tab, leading blanks removed.
CString ItemName(const CString& strText)
{
    int nTab = strText.Find('\t');
    CString str = nTab >= 0 ? strText.Left(nTab) : strText;
    str.TrimLeft(' ');
    return str;
}

int FindItemByName(TWKBmpMenuPlugIn* pPlugIn, HMENU hMenu, LPCSTR lpszName)
{
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; i++)
        if (ItemName(MenuItemText(pPlugIn, hMenu, i)).CompareNoCase(lpszName) == 0)
            return i;
    return -1;
}

void RemoveTrailingSeparator(HMENU hMenu)
{
    int nCount = ::GetMenuItemCount(hMenu);
    if (nCount > 0 && (::GetMenuState(hMenu, nCount - 1, MF_BYPOSITION) & MF_SEPARATOR))
        ::DeleteMenu(hMenu, nCount - 1, MF_BYPOSITION);
}

BOOL IsLiveWindow(CWnd* pWnd)
{
    return pWnd && ::IsWindow(pWnd->m_hWnd);
}

// The focus lies in the bar or is the bar.
BOOL HasFocusIn(CWnd& wnd)
{
    HWND hFocus = ::GetFocus();
    return hFocus && wnd.m_hWnd && (hFocus == wnd.m_hWnd || ::IsChild(wnd.m_hWnd, hFocus));
}

// The wizard commands of the Project popup by wizard kind.
struct Wizard {
    UINT nID;
    DWORD dwKind;
};
const Wizard kWizards[] = { { ID_PROJECT_WIZARD1, 1 }, { ID_PROJECT_WIZARD2, 2 }, { ID_PROJECT_WIZARD4, 4 } };

} // namespace

// ---- framework overrides

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The file tree's commands and popup ranges belong to the project window.
    if (C_IDEProjectWnd::IsOwnCommand(nID) && m_wndProjectWnd.m_hWnd
        && m_wndProjectWnd.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (TWKMDIFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return OnDebugCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    if (m_hProjectAccel && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST
        && ::TranslateAcceleratorA(m_hWnd, m_hProjectAccel, pMsg))
        return TRUE;
    return TWKMDIFrameWnd::PreTranslateMessage(pMsg);
}

void CMainFrame::GetMessageString(UINT nID, CString& rMessage) const
{
    if (nID >= ID_ICE_ACTION_FIRST && nID <= ID_ICE_ACTION_LAST + 1) {
        CString strName;
        rMessage.Empty();
        if (GetIceAction(nID, &strName, nullptr))
            rMessage.Format("Execute %s action", (LPCSTR)strName);
        return;
    }
    TWKMDIFrameWnd::GetMessageString(nID, rMessage);
}

BOOL CMainFrame::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
{
    UINT nID = AfxGetToolTipCommandId(pNMHDR);
    CString strName;
    ACCEL accel = {};
    if (nID >= ID_ICE_ACTION_FIRST && nID <= ID_ICE_ACTION_LAST && GetIceAction(nID, &strName, &accel)) {
        CString strAccel;
        GetAccelText(accel, strAccel);
        if (!strAccel.IsEmpty())
            strName += " (" + strAccel + ")";
        AfxSetToolTipText(pNMHDR, strName.Left(79));
        *pResult = 0;
        return TRUE;
    }
    if (m_pToolsMgr && m_pToolsMgr->GetToolTipText(nID, pNMHDR, pResult))
        return TRUE;
    return CFrameWnd::OnToolTipText(nID, pNMHDR, pResult);
}

void CMainFrame::SwapMenu(UINT nID)
{
    if (IsDebugging())
        nID = IDR_DISASMTYPE;
    TWKMDIFrameWnd::SwapMenu(nID);

    CMenu* pProject = FindPopup("&Project", TRUE, TRUE);
    BOOL bWanted[_countof(kWizards)] = {};
    for (size_t i = 0; i < _countof(kWizards); i++)
        bWanted[i] = m_pProjectMgr && m_bProjectOpen && m_pProjectMgr->IsWizardAvailable(kWizards[i].dwKind);

    if (pProject) {
        HMENU hPopup = pProject->m_hMenu;
        TWKBmpMenuPlugIn* pPlugIn = GetBmpMenuPlugIn();
        // Texts from the frame's menu resource, else the string table.
        HMENU hResource = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
        HMENU hResProject = nullptr;
        for (int i = 0; hResource && i < ::GetMenuItemCount(hResource); i++) {
            char sz[64] = "";
            ::GetMenuStringA(hResource, i, sz, sizeof sz, MF_BYPOSITION);
            if (lstrcmpiA(sz, "&Project") == 0)
                hResProject = ::GetSubMenu(hResource, i);
        }
        for (size_t i = 0; i < _countof(kWizards); i++) {
            UINT nCmd = kWizards[i].nID;
            BOOL bPresent = ::GetMenuState(hPopup, nCmd, MF_BYCOMMAND) != (UINT)-1;
            if (!bWanted[i] && bPresent) {
                ::DeleteMenu(hPopup, nCmd, MF_BYCOMMAND);
            } else if (bWanted[i] && !bPresent) {
                // After "&Options..." and the wizard items already there.
                int nPos = FindItemByName(pPlugIn, hPopup, "&Options...");
                if (nPos < 0)
                    nPos = ::GetMenuItemCount(hPopup) - 1;
                while (nPos + 1 < ::GetMenuItemCount(hPopup)) {
                    UINT nNext = ::GetMenuItemID(hPopup, nPos + 1);
                    BOOL bWizard = FALSE;
                    for (const Wizard& w : kWizards)
                        bWizard |= w.nID == nNext;
                    if (!bWizard)
                        break;
                    nPos++;
                }
                char sz[128] = "";
                CString strText;
                if (hResProject && ::GetMenuStringA(hResProject, nCmd, sz, sizeof sz, MF_BYCOMMAND) > 0) {
                    strText = sz;
                } else {
                    strText.LoadString(nCmd);
                    int nNewLine = strText.Find('\n');
                    if (nNewLine >= 0)
                        strText = strText.Mid(nNewLine + 1);
                }
                ::InsertMenuA(hPopup, nPos + 1, MF_BYPOSITION | MF_STRING, nCmd, strText);
            }
        }
        if (hResource)
            ::DestroyMenu(hResource);
    }

    // The File toolbar follows the menu.
    TWKCustomToolBar* pFile = m_pToolBarMgr ? m_pToolBarMgr->GetToolBar(IDW_FILE_TOOLBAR) : nullptr;
    if (pFile && ::IsWindow(pFile->m_hWnd)) {
        BOOL bChanged = FALSE;
        for (size_t i = 0; i < _countof(kWizards); i++) {
            int nIndex = pFile->CommandToIndex(kWizards[i].nID);
            if (bWanted[i] && nIndex < 0) {
                pFile->InsertButton(pFile->GetButtonCount(), kWizards[i].nID, FALSE);
                bChanged = TRUE;
            } else if (!bWanted[i] && nIndex >= 0) {
                pFile->RemoveButton(nIndex);
                bChanged = TRUE;
            }
        }
        if (bChanged)
            RecalcLayout();
    }
}

// ---- menus

CMenu* CMainFrame::FindPopup(LPCSTR lpszTitle, BOOL bNoCase, BOOL bKeepAmpersands)
{
    HMENU hMenu = GetCurrentMenu();
    if (!hMenu)
        return nullptr;
    TWKBmpMenuPlugIn* pPlugIn = GetBmpMenuPlugIn();
    int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; i++) {
        HMENU hPopup = ::GetSubMenu(hMenu, i);
        if (!hPopup)
            continue;
        CString strText = MenuItemText(pPlugIn, hMenu, i);
        if (!bKeepAmpersands)
            strText = WithoutAmpersands(strText);
        if (bNoCase ? strText.CompareNoCase(lpszTitle) == 0 : strText == lpszTitle)
            return CMenu::FromHandle(hPopup);
    }
    return nullptr;
}

void CMainFrame::RedrawMenuBar()
{
    if (m_pMenuBar && ::IsWindow(m_pMenuBar->m_hWnd))
        m_pMenuBar->Invalidate();
    else if (::GetMenu(m_hWnd))
        DrawMenuBar();
}

void CMainFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    TWKMDIFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
    if (bSysMenu)
        return;
    // The Tools popup shows the tool set of this moment.
    if (m_pToolsMgr)
        m_pToolsMgr->BuildToolsMenu(pPopupMenu, nIndex, bSysMenu);
    if (m_bUserDefinedEditor) {
        HMENU hMenu = GetCurrentMenu();
        TWKBmpMenuPlugIn* pPlugIn = GetBmpMenuPlugIn();
        for (int i = 0; hMenu && i < ::GetMenuItemCount(hMenu); i++) {
            HMENU hPopup = ::GetSubMenu(hMenu, i);
            if (!hPopup || MenuItemText(pPlugIn, hMenu, i).Find("Tool") < 0)
                continue;
            // Without a rebuild of the popup the item may be there already.
            if (::GetMenuState(hPopup, ID_TOOLS_RESOURCE_OPTIONS, MF_BYCOMMAND) == (UINT)-1)
                ::AppendMenuA(hPopup, MF_STRING, ID_TOOLS_RESOURCE_OPTIONS, "Resource &Options");
            RedrawMenuBar();
            break;
        }
    }
    if (m_bTemplateProject && !m_strProjectPath.IsEmpty())
        ModifyMenuItem("File", "SaveAs Template", MENUITEM_ENSURE, 4, ID_FILE_SAVEAS_TEMPLATE);
}

void CMainFrame::OnContextMenu(CWnd* pWnd, CPoint point)
{
    BOOL bBar = pWnd && (pWnd->IsKindOf(RUNTIME_CLASS(CDockBar)) || pWnd->IsKindOf(RUNTIME_CLASS(CControlBar)));
    if (!bBar) {
        Default();
        return;
    }
    HMENU hMenu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    HMENU hView = hMenu ? ::GetSubMenu(hMenu, 2) : nullptr;
    if (hView)
        ::TrackPopupMenu(hView, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, 0, m_hWnd, nullptr);
    if (hMenu)
        ::DestroyMenu(hMenu);
}

BOOL CMainFrame::AppendMenuItems(LPCSTR lpszPopup, int nCount, const UINT* pIDs, LPCSTR const* ppszNames,
                                 const ACCEL* pAccels)
{
    CMenu* pPopup = FindPopup(lpszPopup, FALSE);
    if (!pPopup)
        return FALSE;
    HMENU hPopup = pPopup->m_hMenu;
    if (nCount == 0) {
        ::AppendMenuA(hPopup, MF_SEPARATOR, 0, nullptr);
        RedrawMenuBar();
        return TRUE;
    }
    TWKBmpMenuPlugIn* pPlugIn = GetBmpMenuPlugIn();
    for (int i = 0; i < nCount; i++) {
        CString strText = CString("  ") + ppszNames[i];
        if (pAccels) {
            CString strAccel;
            GetAccelText(pAccels[i], strAccel);
            strText += "\t" + strAccel;
        }
        if (FindItemByName(pPlugIn, hPopup, ppszNames[i]) < 0)
            ::AppendMenuA(hPopup, MF_STRING, pIDs[i], strText);
    }
    RedrawMenuBar();
    RemoveTrailingSeparator(hPopup);
    RedrawMenuBar();
    return TRUE;
}

void CMainFrame::RemoveIceActionMenuItems()
{
    CMenu* pDebug = FindPopup("Debug", TRUE);
    if (!pDebug)
        return;
    for (UINT nID = ID_ICE_ACTION_FIRST; nID <= ID_ICE_ACTION_LAST; nID++)
        if (!::DeleteMenu(pDebug->m_hMenu, nID, MF_BYCOMMAND))
            break;
    RemoveTrailingSeparator(pDebug->m_hMenu);
}

BOOL CMainFrame::ModifyMenuItem(LPCSTR lpszPopup, LPCSTR lpszItem, int nAction, int nInsertPos, UINT nID)
{
    CMenu* pPopup = FindPopup(lpszPopup, FALSE);
    if (!pPopup)
        return FALSE;
    HMENU hPopup = pPopup->m_hMenu;
    int nPos = FindItemByName(GetBmpMenuPlugIn(), hPopup, lpszItem);
    BOOL bResult = nPos >= 0;
    if (nPos >= 0) {
        switch (nAction) {
        case MENUITEM_REMOVE:
            ::DeleteMenu(hPopup, nPos, MF_BYPOSITION);
            break;
        case MENUITEM_ENABLE:
            ::EnableMenuItem(hPopup, nPos, MF_BYPOSITION | MF_ENABLED);
            break;
        case MENUITEM_DISABLE:
            ::EnableMenuItem(hPopup, nPos, MF_BYPOSITION | MF_DISABLED);
            break;
        case MENUITEM_GREY:
            ::EnableMenuItem(hPopup, nPos, MF_BYPOSITION | MF_GRAYED);
            break;
        default:
            break;
        }
    } else if (nAction == MENUITEM_ENSURE && nInsertPos >= 0) {
        bResult = ::InsertMenuA(hPopup, nInsertPos, MF_BYPOSITION | MF_STRING, nID, lpszItem);
    }
    RedrawMenuBar();
    return bResult;
}

BOOL CMainFrame::GetAccelText(const ACCEL& accel, CString& strText)
{
    strText.Empty();
    if (accel.fVirt & FCONTROL)
        strText += "Ctrl+";
    if (accel.fVirt & FALT)
        strText += "Alt+";
    if (accel.fVirt & FSHIFT)
        strText += "Shift+";
    if (accel.fVirt & FVIRTKEY) {
        CString strKey;
        if (!m_mapKeyNames.Lookup(accel.key, strKey)) {
            strText.Empty();
            return FALSE;
        }
        strText += strKey;
    } else {
        strText += (char)accel.key;
    }
    return TRUE;
}

// ---- toolbars

BOOL CMainFrame::AddToolBarButton(HMODULE hModule, UINT nIconID, UINT nToolBarID, UINT nID, int* pnCount)
{
    TWKCustomToolBar* pBar = m_pToolBarMgr ? m_pToolBarMgr->GetToolBar(nToolBarID) : nullptr;
    if (!pBar || !::IsWindow(pBar->m_hWnd))
        return FALSE;
    if (!hModule || !nIconID) {
        pBar->InsertButton(pBar->GetButtonCount(), 0, TRUE);
    } else {
        TWKBmpMgr* pBmpMgr = pBar->GetBmpMgr();
        HBITMAP hHas = nullptr;
        int nHas = 0;
        HICON hIcon = pBmpMgr && !pBmpMgr->GetBitmap(nID, &hHas, &nHas)
                          ? (HICON)::LoadImageA(hModule, MAKEINTRESOURCEA(nIconID), IMAGE_ICON, 16, 16, 0)
                          : nullptr;
        if (!hIcon) {
            if (pnCount)
                *pnCount = pBar->GetButtonCount();
            return FALSE;
        }
        // The icon on the menu colour in a bitmap of its own.
        CClientDC dcScreen(nullptr);
        CDC dc;
        dc.CreateCompatibleDC(&dcScreen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(&dcScreen, 16, 16);
        CBitmap* pOld = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, 16, 16, ::GetSysColor(COLOR_MENU));
        ::DrawIconEx(dc.m_hDC, 0, 0, hIcon, 16, 16, 0, nullptr, DI_NORMAL);
        dc.SelectObject(pOld);
        ::DestroyIcon(hIcon);
        if (!pBmpMgr->AddBitmap((HBITMAP)bitmap.m_hObject, nullptr, &nID, 1))
            return FALSE;
        // The manager draws from the bitmap for the frame's life: the command keeps its image.
        bitmap.Detach();
        pBar->InsertButton(pBar->GetButtonCount(), nID, FALSE);
        for (int i = 0; i < pBar->GetButtonCount(); i++)
            if (pBar->GetItemID(i) == nID)
                pBar->InvalidateButton(i);
    }
    if (pnCount)
        *pnCount = pBar->GetButtonCount();
    RecalcLayout();
    pBar->Invalidate();
    return TRUE;
}

void CMainFrame::UpdateDefaultTool()
{
    // The Tools toolbar's default tool belongs to the user-tools manager.
    if (!m_pToolsMgr)
        return;
    char szList[256] = "", szSection[256] = "";
    if (m_pProjectMgr && m_pProjectMgr->GetDefaultTool(szList, szSection))
        m_pToolsMgr->RefreshToolBar(szList, szSection, "DefaultTool");
    else
        m_pToolsMgr->RefreshToolBar();
    if (TWKComboBtn* pBox = GetFindBox()) {
        CString strText;
        pBox->GetWindowText(strText);
        pBox->SetWindowText(strText);
    }
}

BOOL CMainFrame::OnViewToolBar(UINT nID)
{
    CControlBar* pBar = GetControlBar(IDW_BUILD_TOOLBAR + (nID - ID_VIEW_BUILD_TOOLBAR));
    if (!pBar)
        return FALSE;
    ShowControlBar(pBar, !pBar->IsVisible(), FALSE);
    return TRUE;
}

void CMainFrame::OnUpdateViewToolBar(CCmdUI* pCmdUI)
{
    CControlBar* pBar = GetControlBar(IDW_BUILD_TOOLBAR + (pCmdUI->m_nID - ID_VIEW_BUILD_TOOLBAR));
    if (!pBar) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck(pBar->IsVisible());
}

void CMainFrame::OnViewLargeButtons()
{
    m_pToolBarMgr->EnableLargeBtns(TRUE);
    RecalcLayout();
}

void CMainFrame::OnViewNormalButtons()
{
    m_pToolBarMgr->EnableLargeBtns(FALSE);
    RecalcLayout();
}

void CMainFrame::OnUpdateViewLargeButtons(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_pToolBarMgr->IsLargeBtns());
}

void CMainFrame::OnUpdateViewNormalButtons(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pToolBarMgr->IsLargeBtns());
}

// ---- find box and histories

void CMainFrame::ReadHistory(CStringList& list, LPCSTR lpszPrefix)
{
    list.RemoveAll();
    CWinApp* pApp = AfxGetApp();
    for (int i = 1;; i++) {
        CString strKey;
        strKey.Format("%s%d", lpszPrefix, i);
        CString strValue = pApp->GetProfileString(kFindSection, strKey, "");
        if (strValue.IsEmpty())
            break;
        list.AddTail(strValue);
    }
}

void CMainFrame::LoadFindHistory()
{
    ReadHistory(m_listFind, "Find");
    TWKComboBtn* pBox = GetFindBox();
    if (!pBox)
        return;
    pBox->ResetContent();
    for (POSITION pos = m_listFind.GetHeadPosition(); pos;)
        pBox->AddString(m_listFind.GetNext(pos));
    pBox->SetCurSel(0);
}

void CMainFrame::LoadFindDirHistory()
{
    ReadHistory(m_listFindDir, "FindDir");
}

void CMainFrame::SearchActiveView(const CString& strText)
{
    CFrameWnd* pFrame = GetActiveFrame();
    CView* pView = pFrame ? pFrame->GetActiveView() : nullptr;
    if (!pView)
        return;
    BOOL bMatchCase = AfxGetApp()->GetProfileInt(kFindSection, "Match case", 0) != 0;
    pView->SetFocus();
    if (auto* pEdit = dynamic_cast<TWKEditView*>(pView))
        pEdit->FindText(strText, bMatchCase);
}

LRESULT CMainFrame::OnToolBarWndNotify(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != IDC_FIND_BOX || HIWORD(wParam) != TWK_WNDNOTIFY_RETURN)
        return 0;
    HWND hBox = reinterpret_cast<HWND>(lParam);
    char szText[1024] = "";
    if (!hBox || !::GetWindowTextA(hBox, szText, sizeof szText))
        return 0;
    CString strText = szText;

    C_IDEFindInFilesDlg::AddToHistory(m_listFind, strText, "Find");

    CComboBox* pBox = static_cast<CComboBox*>(CWnd::FromHandle(hBox));
    pBox->ResetContent();
    for (POSITION p = m_listFind.GetHeadPosition(); p;)
        pBox->AddString(m_listFind.GetNext(p));

    SearchActiveView(strText);
    pBox->SetCurSel(0);
    pBox->SetFocus();
    return 0;
}

BOOL CMainFrame::IsFindBoxFocused()
{
    TWKComboBtn* pBox = GetFindBox();
    HWND hFocus = ::GetFocus();
    return pBox && hFocus && ::GetParent(hFocus) == pBox->m_hWnd;
}

void CMainFrame::PasteToFindBox()
{
    if (IsFindBoxFocused())
        ::SendMessageA(::GetFocus(), WM_PASTE, 0, 0);
}

void CMainFrame::OnEditFindNext()
{
    TWKComboBtn* pBox = GetFindBox();
    if (!pBox)
        return;
    CString strText;
    pBox->GetWindowText(strText);
    if (m_wndMessageBar.HasFocus()) {
        // The page with a selection: "Result" first, then "Find in Files", else "Build".
        C_MessageCtrl* pPage = nullptr;
        for (C_MessageCtrl* p : { m_wndMessageBar.GetResultPage(), m_wndMessageBar.GetFindInFilesPage() })
            if (!pPage && p->m_hWnd && p->HasSelection())
                pPage = p;
        if (!pPage)
            pPage = m_wndMessageBar.GetBuildPage();
        if (!pPage->m_hWnd)
            return;
        if (pPage->HasSelection()) {
            BOOL bColumn = FALSE;
            pPage->GetSelectedText(strText, &bColumn);
            pBox->SetWindowText(strText);
        }
        pPage->SetFocus();
        if (!strText.IsEmpty())
            pPage->FindTextFromCaret(strText, AfxGetApp()->GetProfileInt("Settings\\Find", "Match case", 0));
        return;
    }
    CFrameWnd* pFrame = GetActiveFrame();
    auto* pEdit = dynamic_cast<TWKEditView*>(pFrame ? pFrame->GetActiveView() : nullptr);
    if (pEdit && pEdit->m_bSelection) {
        BOOL bColumn = FALSE;
        pEdit->GetSelectedText(strText, &bColumn);
        pBox->SetWindowText(strText);
    }
    if (!strText.IsEmpty())
        SearchActiveView(strText);
}

// ---- edit commands for the output and debug windows

void CMainFrame::OnEditCopy()
{
    if (m_wndMessageBar.HasFocus()) {
        m_wndMessageBar.Copy();
        return;
    }
    if (IsLiveWindow(m_pEditWnd))
        m_pEditWnd->SendMessage(WM_COPY);
}

void CMainFrame::OnEditSelectAll()
{
    if (m_wndMessageBar.HasFocus())
        m_wndMessageBar.SelectAll();
    if (m_wndProjectWnd.IsFocusOnTree())
        m_wndProjectWnd.SelectAllInTree();
    if (IsLiveWindow(m_pEditWnd)) {
        m_pEditWnd->SendMessage(EM_SETSEL, 0, -1);
        char szClass[32] = "";
        ::GetClassNameA(m_pEditWnd->m_hWnd, szClass, sizeof szClass);
        if (lstrcmpiA(szClass, "Edit") == 0)
            m_pEditWnd->SendMessage(EM_SCROLLCARET);
    }
}

void CMainFrame::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    if (m_bClosing)
        return;
    if (HasFocusIn(m_wndProjectWnd))
        pCmdUI->Enable(FALSE);
    else if (m_wndMessageBar.HasFocus())
        pCmdUI->Enable(m_wndMessageBar.HasActiveSelection());
    else if (IsLiveWindow(m_pEditWnd))
        pCmdUI->Enable(::GetFocus() == m_pEditWnd->m_hWnd);
    else
        pCmdUI->Enable(FALSE);
}

void CMainFrame::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    if (m_bClosing)
        return;
    if (m_wndProjectWnd.IsFocusOnTree() && !m_wndProjectWnd.IsWorkspaceEmpty())
        pCmdUI->Enable(TRUE);
    else if (m_wndMessageBar.HasFocus() && !m_wndMessageBar.IsActivePageEmpty())
        pCmdUI->Enable(TRUE);
    else if (IsLiveWindow(m_pEditWnd))
        pCmdUI->Enable(::GetFocus() == m_pEditWnd->m_hWnd);
    else
        pCmdUI->Enable(FALSE);
}

void CMainFrame::OnEditClear()
{
    if (::IsWindow(m_wndMessageBar.m_hWnd))
        m_wndMessageBar.SendMessage(WM_COMMAND, ID_OUTPUT_CLEAR);
}

void CMainFrame::OnUpdateEditClear(CCmdUI* pCmdUI)
{
    if (m_bClosing)
        return;
    pCmdUI->Enable(::IsWindow(m_wndMessageBar.m_hWnd) && !m_wndMessageBar.IsActivePageEmpty());
}

// ---- other commands

void CMainFrame::OnFilePageSetup()
{
    OEPageSetupDlg dlg(this);
    dlg.LoadSettings();
    dlg.DoModal();
    dlg.SaveSettings();
}

void CMainFrame::OnToolsCommand(UINT nID)
{
    if (!m_pToolsMgr)
        return;
    if (nID >= ID_TOOLS_PREDEFINED_FIRST && nID <= ID_TOOLS_PREDEFINED_LAST) {
        m_pToolsMgr->RunTool((int)(nID - ID_TOOLS_PREDEFINED_FIRST));
    } else if (nID == ID_TOOLS_CUSTOMIZE) {
        m_pToolsMgr->Customize();
    } else if (!m_pToolsMgr->ExecuteUserTool(nID)) {
        CObArray& tools = m_pToolsMgr->GetUserTools();
        INT_PTR n = (INT_PTR)(nID - ID_TOOLS_USER_FIRST);
        CString strName = n < tools.GetSize() ? static_cast<TWKUserTool*>(tools[n])->strMenuText : CString();
        MessageBoxById(m_hWnd, IDS_CAPTION_ERROR, IDS_TOOL_EXECUTE_FAILED, MB_OK | MB_ICONEXCLAMATION,
                       (LPCSTR)strName);
    }
}

void CMainFrame::OnUpdateToolsCommand(CCmdUI* pCmdUI)
{
    // The tools belong to the user-tools manager; without one they do nothing.
    pCmdUI->Enable(m_pToolsMgr != nullptr);
}

void CMainFrame::GetIconNameForFile(CString& strName, LPCSTR lpszFileName)
{
    strName.Empty();
    CString strFile = lpszFileName ? lpszFileName : "";
    int nDot = strFile.ReverseFind('.');
    CString strExt = nDot >= 0 ? strFile.Mid(nDot + 1) : CString();
    for (POSITION pos = m_listIcon.GetHeadPosition(); pos;) {
        const CString& strEntry = m_listIcon.GetNext(pos);
        if (strExt.CompareNoCase(GetField(strEntry, 1).c_str()) == 0) {
            strName = GetField(strEntry, 2).c_str();
            return;
        }
    }
}

// ---- the mouse wheel

LRESULT CALLBACK CMainFrame::WheelHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    auto* pMsg = reinterpret_cast<MSG*>(lParam);
    // Only a message taken off the queue counts: a peek that leaves it is seen again.
    // The focus is asked for the wheel alone: every message passes here.
    HWND hFocus = nullptr;
    if (nCode == HC_ACTION && wParam == PM_REMOVE && pMsg->message == WM_MOUSEWHEEL && (hFocus = ::GetFocus())) {
        short nDelta = (short)HIWORD(pMsg->wParam);
        HWND hTarget = hFocus;
        // The disassembly view moves by the position alone.
        CWnd* pFocus = CWnd::FromHandlePermanent(hFocus);
        BOOL bPositionOnly = pFocus && pFocus->IsKindOf(RUNTIME_CLASS(C_IDEDisAsmView));
        SCROLLINFO si = { sizeof si, SIF_ALL };
        if (!::GetScrollInfo(hTarget, SB_VERT, &si))
            si = SCROLLINFO{ sizeof si };
        int nPos;
        if (nDelta > 0) {
            nPos = si.nPos - 3 < 0 ? 0 : si.nPos - 3;
            if (nPos > 0 && !bPositionOnly)
                ::PostMessageA(hTarget, WM_VSCROLL, SB_LINEUP, 0);
        } else {
            nPos = si.nPos + 3 > si.nMax ? si.nMax : si.nPos + 3;
            if (nPos < si.nMax - (int)si.nPage && !bPositionOnly)
                ::PostMessageA(hTarget, WM_VSCROLL, SB_LINEDOWN, 0);
        }
        ::PostMessageA(hTarget, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, nPos), 0);
    }
    return ::CallNextHookEx(s_hWheelHook, nCode, wParam, lParam);
}
