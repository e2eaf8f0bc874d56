// The debugger's user-interface side as the ICE manager drives it, and the
// do-nothing implementation the windowless build hands to its ICE manager.
#pragma once
#include <windows.h>

class I_ZIceMgr;
class I_IceDebugTarget;

// Ten operations in this slot order and no destructor slot: the manager
// that owns the windows adds its own (deleting) destructor after them.
class I_ZIceUIMgr {
public:
    virtual void SetIceMgr(I_ZIceMgr* pIceMgr) = 0;                           // 0
    virtual void ShowDebugWindows() = 0;                                      // 1
    virtual void HideDebugWindows() = 0;                                      // 2
    virtual void SetDebugTarget(I_IceDebugTarget* pTarget, BOOL bRebuild) = 0;   // 3
    virtual void UpdateDebugWindows(BOOL bStopped, BOOL bReloadHistory) = 0;  // 4
    virtual BOOL ShowCurrentPC() = 0;                                         // 5
    virtual void SaveAndCloseDisAsm() = 0;                                    // 6
    virtual void ResetDisAsmMarks(const char* pszListing) = 0;                // 7
    virtual void RefreshBreakpoints() = 0;                                    // 8
    virtual void CloseDisAsm() = 0;                                           // 9

protected:
    ~I_ZIceUIMgr() = default;
};

// No windows, no state: lives on the stack of the windowless build.
class C_IDEDummyIceUIMgr final : public I_ZIceUIMgr {
public:
    void SetIceMgr(I_ZIceMgr*) override {}
    void ShowDebugWindows() override {}
    void HideDebugWindows() override {}
    void SetDebugTarget(I_IceDebugTarget*, BOOL) override {}
    void UpdateDebugWindows(BOOL, BOOL) override {}
    BOOL ShowCurrentPC() override { return TRUE; }
    void SaveAndCloseDisAsm() override {}
    void ResetDisAsmMarks(const char*) override {}
    void RefreshBreakpoints() override {}
    void CloseDisAsm() override {}
};
