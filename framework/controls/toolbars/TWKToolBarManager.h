// The object through which a frame owns its customisable toolbars: the
// shared images, button maps and drawing context, the default toolbars and
// user toolbars, the look of all toolbars at once, configuration mode and
// bar notifications.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKControlBarManager.h"
#include "framework/controls/toolbars/TWKStdBtn.h"

class TWKBmpMgr;
class TWKCustomToolBar;
class TWKMenuBar;

// Sent to the windows registered with a manager: wParam the bar's control
// id, lParam the code (TWK_BARNOTIFY_*).
extern const UINT WM_BARNOTIFY;
enum { TWK_BARNOTIFY_SHOWN = 0, TWK_BARNOTIFY_HIDDEN = 1, TWK_BARNOTIFY_CREATED = 2, TWK_BARNOTIFY_DESTROYED = 3,
       TWK_BARNOTIFY_SELCHANGE = 4 };

// Bar types of the saved layout.
#define TWK_BARTYPE_TOOLBAR     14946
#define TWK_BARTYPE_MENUBAR     14947

// User toolbars take the ids from here up to 0xE8FF.
#define TWK_IDW_FIRSTUSERBAR    0xE820
#define TWK_IDW_LASTUSERBAR     0xE8FF

class TWKToolBarManager : public TWKControlBarManager
{
    DECLARE_DYNAMIC(TWKToolBarManager)
public:
    // One toolbar of the default layout; the ids are the caller's and must live
    // as long as the manager.
    struct DefaultToolBar
    {
        UINT nID;
        CString strTitle;
        int nCount;
        const UINT* pIDs;             // 0 = separator
        DWORD dwAlign;                // for EnableDocking
        UINT nDockBarID;
        UINT nDockNextToID;           // 0: none
        BOOL bDocked;
        BOOL bVisible;
    };

    TWKToolBarManager(CFrameWnd* pFrame, CWnd* pOwner = NULL);
    ~TWKToolBarManager() override;

    CPtrArray m_arrDisabledWnds;      // HWNDs EnterConfigMode disabled
    CPtrArray m_arrDefaultToolBars;   // DefaultToolBar*, owned
    CPtrArray m_arrNotifyWnds;        // HWNDs that get WM_BARNOTIFY
    CWnd* m_pNoDropWnd = nullptr;
    BOOL m_bFrameConfigMode = FALSE;
    BOOL m_bToolBarsConfigMode = FALSE;
    BOOL m_bToolTips = TRUE;
    BOOL m_bFlyBy = TRUE;
    BOOL m_bCoolLook = FALSE;
    BOOL m_bLargeBtns = FALSE;
    const void* m_pButtonMap = nullptr;
    void* m_pButtonMap2 = nullptr;    // owned: an array of TWKBtnMapEntry made with new[]
    TWKCustomToolBar* m_pSelectedBar = nullptr;
    UINT* m_pMenuIDs = nullptr;       // owned
    int m_nMenuIDs = 0;
    TWKBmpMgr* m_pBmpMgr;
    TWKBtnDrawData m_drawData;
    CWnd* m_pOwnerWnd;
    CRuntimeClass* m_pToolBarClass;

    // Layout persistence. The options section is "<profile>-ToolBarManager";
    // loading it ends with InitToolBars.
    BOOL LoadStateTree(TWKPersistentTreeNode* pNode) override;
    void LoadState(LPCSTR lpszProfileName) override;
    BOOL SaveStateTree(TWKPTNFactory* pFactory, TWKPersistentTreeNode* pParent) override;
    void SaveState(LPCSTR lpszProfileName) override;
    UINT GetBarTypeID(CControlBar* pBar) override;
    TWKControlBarInfoEx* CreateBarInfoEx(TWKControlBarInfo* pInfo) override;
    CControlBar* CreateBar(TWKControlBarInfo* pInfo) override;

    // New virtual operations, in slot order.
    virtual TWKCustomToolBar* FindToolBarAt(LPCRECT lpRect);
    virtual TWKCustomToolBar* GetToolBar(UINT nID);
    virtual void SetDefaultDockState();
    virtual BOOL UpdateLargeButtons();
    virtual void InitToolBars();

    void DefineDefaultToolBar(UINT nID, LPCSTR lpszTitle, int nCount, const UINT* pIDs, DWORD dwAlign,
                              UINT nDockBarID, UINT nDockNextToID, BOOL bDocked, BOOL bVisible);
    // Reads every item of toolbar resource nResourceID into a new[] array that
    // the caller keeps alive and frees; FALSE when the resource is unreadable.
    BOOL DefineDefaultToolBar(UINT nID, LPCSTR lpszTitle, UINT nResourceID, int* pnCount, UINT** ppIDs,
                              DWORD dwAlign, UINT nDockBarID, UINT nDockNextToID, BOOL bDocked, BOOL bVisible);
    BOOL LoadToolBarResource(UINT nID, UINT nLargeID);
    void SetButtonMap(const void* pMap) { m_pButtonMap = pMap; }
    const void* GetButtonMap() const { return m_pButtonMap; }
    const void* GetButtonMap2() const { return m_pButtonMap2; }
    TWKBmpMgr* GetBmpMgr() const { return m_pBmpMgr; }
    TWKBtnDrawData* GetDrawData() { return &m_drawData; }
    CWnd* GetOwnerWnd() const { return m_pOwnerWnd; }

    void EnableCoolLook(BOOL bEnable, DWORD dwExStyle = CBX_COOLLOOK | CBX_GRIPPER);
    void EnableToolTips(BOOL bEnable);
    void EnableLargeBtns(BOOL bEnable);
    BOOL IsCoolLook() const { return m_bCoolLook; }
    BOOL IsToolTips() const { return m_bToolTips; }
    BOOL IsFlyBy() const { return m_bFlyBy; }
    BOOL IsLargeBtns() const { return m_bLargeBtns; }

    BOOL GetDefaultToolBarButtons(UINT nID, int* pnCount, const UINT** ppIDs) const;
    void SetMenuIDs(int nCount, const UINT* pIDs);
    void GetMenuInfo(int* pnCount, const UINT** ppIDs) const;
    // The menu buttons of nCount menu resources (the ids follow) for the
    // frame's menu bar; FALSE without a menu bar or when no menu has an item.
    BOOL SetMenuInfo(int nCount, UINT nIDMenu, ...);
    // nCount (menu id, bit) pairs replace the menu bar's bits.
    void SetMenuBitMap(const UINT* pPairs, int nCount);
    // The frame's menu bar, NULL when it has none.
    TWKMenuBar* GetFrameMenuBar() const;

    // NULL when the ids are used up or the bar cannot be made.
    TWKCustomToolBar* CreateUserToolBar(LPCSTR lpszTitle = NULL);

    void EnterConfigMode();
    void ExitConfigMode();
    BOOL InConfigMode() const { return m_bFrameConfigMode; }
    void SetToolBarsConfigMode(BOOL bOn);

    void AddNotifyWnd(CWnd* pWnd);
    void RemoveNotifyWnd(CWnd* pWnd);
    void SendBarNotify(UINT nBarID, UINT nCode);

    void SetNoDropWnd(CWnd* pWnd) { m_pNoDropWnd = pWnd; }
    BOOL GetNoDropRect(LPRECT lpRect) const;

    void SetButtonStyleById(UINT nID, UINT nCode, void* pData);
    void SetBarImageSize(TWKCustomToolBar* pBar);

    // Every TWKCustomToolBar among the frame's control bars.
    void GetToolBars(CPtrArray& arr) const;

    // Runs the Toolbars dialog over the frame: IDOK, IDCANCEL, or 43099 when
    // the user asked for the customisation sheet.
    INT_PTR RunToolBarsDialog();

protected:
    // A new toolbar made the manager's way; NULL when it cannot be made.
    TWKCustomToolBar* NewToolBar(UINT nID, LPCSTR lpszTitle);
    // The frame's menu bar given this manager, its window created when missing.
    TWKMenuBar* CreateMenuBar(UINT nID, LPCSTR lpszTitle);
};
