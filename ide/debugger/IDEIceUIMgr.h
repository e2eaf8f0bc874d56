// The one object that owns and drives the debugger's windows: the seven debug
// bars, the call-stack arrow in the sources and the disassembly window. The
// ICE manager reaches it through I_ZIceUIMgr; the views, the bars and the
// frame call its further operations directly.
#pragma once
#include "afx/afx.h"
#include "framework/controls/tabs/TWKTabWnd.h"
#include "framework/frames/TWKControlBar.h"
#include "ide/debugger/IDEIceBars.h"
#include "ide/debugger/ZIceMgr.h"
#include "ide/debugger/ZIceUIMgr.h"
#include <functional>

class CMainFrame;
class C_IDEDisAsmView;
class C_IDEEditorView;
class C_IDEIceUIMgr;
class I_IceDebugPage;

// The list bars, their tab windows and page trees.
#include "ide/debugger/IDEListTab.h"

// Page types and the list tab each goes to, with its page-id range.
struct ICE_PAGE_ROUTE {
    int nType;
    int nTab;        // index into the manager's tabs: Memory, Variable, Watch, Option, Stack
    UINT nFirstID;
    UINT nCount;     // the range's size; pages past it are not added
};
extern const ICE_PAGE_ROUTE g_IcePageRoutes[5];

// Walks a target's pages: each page of a routed type is offered (tab, page,
// page index, id); the tab's next id advances only when the offer is taken.
// The page index counts every page, routed or not.
void RouteDebugPages(I_IceDebugTarget* pTarget,
                     const std::function<BOOL(int nTab, I_IceDebugPage* pPage, int nIndex, UINT nID)>& offer);

class C_IDEIceUIMgr : public I_ZIceUIMgr
{
public:
    explicit C_IDEIceUIMgr(CMainFrame* pFrame);
    virtual ~C_IDEIceUIMgr();
    C_IDEIceUIMgr(const C_IDEIceUIMgr&) = delete;
    C_IDEIceUIMgr& operator=(const C_IDEIceUIMgr&) = delete;

    // I_ZIceUIMgr
    void SetIceMgr(I_ZIceMgr* pIceMgr) override { m_pIceMgr = pIceMgr; }
    void ShowDebugWindows() override;
    void HideDebugWindows() override;
    void SetDebugTarget(I_IceDebugTarget* pTarget, BOOL bRebuild) override;
    void UpdateDebugWindows(BOOL bStopped, BOOL bReloadHistory) override;
    BOOL ShowCurrentPC() override;
    void SaveAndCloseDisAsm() override;
    void ResetDisAsmMarks(const char* pszListing) override;
    void RefreshBreakpoints() override;
    void CloseDisAsm() override;

    BOOL CreateBars();
    void IgnoreSavedBarState() { m_bIgnoreSavedBarState = TRUE; }
    // NULL when none, or when its window went without telling.
    C_IDEDisAsmView* GetDisAsmView() const { return HasDisAsmWindow() ? m_pDisAsmView : nullptr; }
    BOOL BarHasPages(CWnd* pBar);
    void EditBreakpoints();
    void ShowDisAsmForLine(CString strPath, int nLine);
    void ShowListingAt(DWORD a, DWORD b);
    BOOL ShowSourceForListingLine(int nListingLine);
    int FindPCListingLine(int nRequest, BOOL bSetPC);
    void OnDisAsmViewClosed();
    void OnMemoryWritten(DWORD a, DWORD b);
    void ReloadHistory();
    void ClearHistory();
    void SelectCallStackFrame(int nIndex);
    BOOL ShowLocation(DWORD a, DWORD b, BOOL bFromCallStack);
    void SetFrameContext(int nIndex, DWORD a, DWORD b);
    void OpenListing(LPCSTR lpszPath);
    void ReloadListing(LPCSTR lpszPath);
    void ColorListingRanges();

    I_ZIceMgr* GetIceMgr() const { return m_pIceMgr; }
    CMainFrame* GetFrame() const { return m_pFrame; }
    C_IDEListBar* GetListBar(int i) { return &m_ListBars[i]; }
    C_IDEListTab* GetListTab(int i);
    C_IDEIceHistoryBar* GetHistoryBar() { return &m_HistoryBar; }
    C_IDEIceCallStackBar* GetCallStackBar() { return &m_CallStackBar; }
    // The editor view carrying the call-stack arrow, NULL when none or when its window went.
    C_IDEEditorView* GetArrowView() const;

    // The saved layout of the debug bars.
    static constexpr const char* kDebugBarState = "BarState\\DebugBarState";

private:
    // Interfaces of the ICE, NULL when it has none.
    template <class T> T* Interface(DWORD id) const;
    // The disassembly view's window still exists.
    BOOL HasDisAsmWindow() const;
    void ShowBar(CControlBar* pBar, BOOL bShow);
    // The caller arrow of a source view (-1: none).
    void SetCallerLine(C_IDEEditorView* pView, int nLine);
    C_IDEDisAsmView* OpenDisAsmView(LPCSTR lpszPath);
    void CloseAllDisAsm();

    CMainFrame* m_pFrame;
    I_ZIceMgr* m_pIceMgr = nullptr;
    C_IDEDisAsmView* m_pDisAsmView = nullptr;
    HWND m_hDisAsmView = nullptr;   // its window: a closed document has deleted the view
    C_IDEListBar m_ListBars[5];
    C_IDEIceHistoryBar m_HistoryBar;
    C_IDEIceCallStackBar m_CallStackBar;
    C_IDEVariableListTab m_VariableTab;
    C_IDEWatchListTab m_WatchTab;
    C_IDEOptionListTab m_OptionTab;
    C_IDEStackListTab m_StackTab;
    C_IDEMemoryListTab m_MemoryTab;
    BOOL m_bIgnoreSavedBarState = FALSE;
    BOOL m_bArrowShown = FALSE;   // ShowLocation has run: the arrow view belongs to this manager
};
