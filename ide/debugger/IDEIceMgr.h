// The one object through which the workbench drives the emulator: the part's
// emulator object, the projects on its side, downloads, debug mode, running
// and stepping, writing into the target's storage and the emulator's actions.
// It draws nothing: the user-interface manager and messages to the main
// window show what happens.
#pragma once
#include "afx/afx.h"
#include "ide/debugger/IDEIceConnector.h"
#include "ide/debugger/ZIceMgr.h"
#include "ide/debugger/ZIceUIMgr.h"

#define ICE_MAX_ACTIONS 255
#define ICE_ACTION_FIRST_ID 62000
// The main window's progress message: wParam 3 with a text starts, 2 ends.
#define ICE_WM_PROGRESS (WM_USER + 101)

// The action table handed out for menus, toolbar buttons, accelerators and routing.
struct ICE_ACTION_TABLE {
    UINT nCount;
    const UINT* pIds;
    const char* const* pNames;
    const DWORD* pImages;
    const DWORD* pStyles;
    const ACCEL* pAccels;
};

class C_IDEIceMgr : public I_ZIceMgr {
public:
    C_IDEIceMgr(HWND hMainWnd, I_ZIceUIMgr* pUIMgr);
    virtual ~C_IDEIceMgr();
    C_IDEIceMgr(const C_IDEIceMgr&) = delete;
    C_IDEIceMgr& operator=(const C_IDEIceMgr&) = delete;

    // I_ZIceMgr
    BOOL GetPCAddress(DWORD* a, DWORD* b) override;
    BOOL AddressToSource(DWORD a, DWORD b, int size, char* path, int* line) override;
    BOOL SourceToAddress(const char* path, int line, DWORD* a, DWORD* b) override;
    BOOL AddressToListing(DWORD a, DWORD b, char* path, int* line, int* reload) override;
    BOOL GetPCListingLine(char* path, int* line, int* reload) override;
    BOOL UpdateDisAsmListing(DWORD a, DWORD b) override;
    BOOL SetSourceLevelStep(BOOL bSource) override;
    BOOL EditBreakpoints() override;
    BOOL GetHistoryText(char** text) override;
    void ClearHistory() override;
    const char* GetDownloadedFile() override;
    BOOL IsBusy() override;
    BOOL WriteMemory(int page, int item, int offset, int value) override;
    BOOL ReadMemory(DWORD space, DWORD address, void* buffer) override;
    BOOL IsHistoryAvailable() override;
    BOOL IsStatus200() override;
    BOOL SupportsCallStack() override;
    BOOL IsCallStackAllowed() override;
    BOOL GetInterface(DWORD id, void** out) override;

    // Operations of emulators beyond the contract's slots: this board has none.
    virtual BOOL ShowConfiguration();
    virtual BOOL IceOperation37(DWORD a, DWORD b);
    virtual void GetItemTexts(DWORD id, CString& strFirst, CString& strSecond, DWORD word);
    virtual BOOL SetItemText(DWORD word, CString strText);
    virtual BOOL IceOperation38(DWORD word);
    virtual const char* GetPort();
    virtual void SelectPort(const char* pszPort);

    // Life.
    BOOL Init();

    // Part and projects.
    BOOL SelectPart(CString& strPart);
    BOOL NewProject(CString& strPath, CString& strPart);
    BOOL OpenProject(CString& strPath, CString& strPart);
    BOOL SaveProject(CString& strPath);
    BOOL CloseProject(CString& strPath);
    void UpdateChipInfoFlag(const char* pszKey);

    // Debugging.
    BOOL StartDebug(CString& strPart, CString& strObj, CString& strSecond, WORD wFlags, DWORD dwIncremental,
                    const char* pszPort);
    BOOL ReloadDebug(CString& strPart, CString& strObj, CString& strSecond, WORD wFlags, DWORD dwIncremental);
    void CloseDebug();
    BOOL IsDebugging() const { return m_bDebugging; }
    BOOL IsRunning() const { return m_bRunning; }
    BOOL IsWriting() const { return m_bWriting; }

    // Execution.
    BOOL Run();
    BOOL Restart();
    BOOL StepInto();
    BOOL StepOver();
    BOOL StepOut();
    BOOL Stop();
    BOOL RunTo(const char* pszFile, int nLine);
    BOOL OnTargetStopped(WPARAM wParam, LPARAM lParam);
    BOOL StopAll();

    // Download and writing.
    BOOL Download(CString& strPart, CString& strObj, CString& strSecond, WORD wFlags, DWORD dwIncremental,
                  const char* pszPort);
    BOOL DownloadAndRun(CString& strPart, CString& strObj, CString& strSecond, WORD wFlags, DWORD dwIncremental,
                        const char* pszPort);
    BOOL DownloadOtherObj(CString& strPart, CString& strObj, CString& strSecond, const char* pszPort);
    BOOL ExecuteOtherObj(CString& strPart, CString& strObj, CString& strSecond, const char* pszPort);
    BOOL WriteObj(CString& strPart, CString& strObj, CString& strSecond, WORD wFlags, DWORD dwIncremental);
    BOOL WriteOtherObj(CString& strPart, CString& strObj, CString& strSecond);
    BOOL OnWriteFinished();
    BOOL StopWriting();
    BOOL ResetIce();
    BOOL Diagnose(CString& strPart);

    // Download bookkeeping.
    BOOL IsDownloadNeeded(CString& strPart, CString& strObj);
    DWORD GetDownloadFlags() const { return m_Connector.GetDownloadFlags(); }
    void ClearDownloadFlags(DWORD dwMask) { m_Connector.ClearDownloadFlags(dwMask); }

    // Gates.
    BOOL CanStepInto();
    BOOL CanStepOver();
    BOOL CanRestart();
    BOOL CanStop();
    BOOL CanWrite();
    BOOL CanDebug();
    BOOL CanDownload();
    BOOL SupportsBreakpoints() const { return (m_dwCaps & ICE_CAP_BREAKPOINTS) != 0; }
    BOOL SupportsBreakpointDialog() const { return (m_dwCaps & ICE_CAP_BREAKPOINT_DIALOG) != 0; }
    BOOL SupportsStepOut() const { return (m_dwCaps & ICE_CAP_STEP_OUT) != 0; }
    BOOL SupportsDiagnose() const { return (m_dwCaps & ICE_CAP_DIAGNOSE) != 0; }
    BOOL SupportsConfiguration() const { return (m_dwCaps & ICE_CAP_CONFIGURATION) != 0; }
    BOOL ForbidsListingEdit() const { return (m_dwCaps & ICE_CAP_NO_LISTING_EDIT) != 0; }

    // Actions.
    BOOL LoadActionTable();
    ICE_ACTION_TABLE GetActionTable() const;
    void GetActionState(UINT i, int* pIdle, int* pDebug, int* pRunning, int* pWriting);
    BOOL ExecuteAction(UINT i, HWND hMainWnd);
    BOOL EndAction();

    // Listing and ports.
    BOOL EditListingLine(int nLine, CString& strIn, CString& strOut);
    I_IceBreakpointList* GetBreakpointList() { return m_Connector.GetBreakpointList(); }
    void SelectPortByDialog();

    // What tests and the frame read.
    const CString& GetPart() const { return m_strPart; }
    HMODULE GetBrokerModule() const { return m_Broker.GetModule(); }
    BOOL HasIce() const { return m_pIce != nullptr; }
    C_IDEIceConnector& GetConnector() { return m_Connector; }
    DWORD GetRebuild() const { return m_nRebuild; }

private:
    BOOL LoadTarget(CString& strPart, CString& strObj, CString& strSecond, WORD wFlags, DWORD dwIncremental,
                    BOOL bListing, int nMode);
    // A new or opened project, told to the part's emulator object.
    BOOL TellProject(CString& strPath, CString& strPart, int (I_IceDevice::*pfnTell)(const char*));
    void PassDebugTarget();
    void ForgetIce();
    void ForgetActions();
    BOOL Step(int (I_IceDevice::*pfnStep)(), BOOL bAllowed);
    void ReturnToSavedPart();
    void PostProgress(WPARAM wParam, const char* pszText);
    // Switches to an other OBJ's part; the project's paths are kept by the caller.
    BOOL SwitchToOtherPart(CString& strPart);

    BOOL m_bRunning = FALSE;
    BOOL m_bWriting = FALSE;
    BOOL m_bDebugging = FALSE;
    BOOL m_bLoadImage = TRUE;
    DWORD m_nRebuild = 1;
    BOOL m_bOtherRun = FALSE;
    HWND m_hMainWnd;
    C_ComBrokerPtr m_Broker;
    I_IceDevice* m_pIce = nullptr;
    I_ZIceUIMgr* m_pUIMgr;
    I_IceActionTable* m_pActions = nullptr;
    DWORD m_dwCaps = 0;
    DWORD m_dwOptions = 0x11111111;
    CString m_strImagePath;
    CString m_strPart;
    CString m_strSavedPart;
    CString m_strProjectPath;
    C_IDEIceConnector m_Connector;
    char* m_pHistory = nullptr;
    UINT m_nActions = 0;
    UINT m_ActionIds[ICE_MAX_ACTIONS] = {};
    const char* m_ActionNames[ICE_MAX_ACTIONS] = {};
    DWORD m_ActionImages[ICE_MAX_ACTIONS] = {};
    DWORD m_ActionStyles[ICE_MAX_ACTIONS] = {};
    WORD m_ActionWords[ICE_MAX_ACTIONS][3] = {};
};
static_assert(sizeof(ACCEL) == 3 * sizeof(WORD), "an action's accelerator words are an ACCEL entry");
