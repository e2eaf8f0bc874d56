// The framework's toolbar: a docking control bar holding button objects
// (not a common-control toolbar), built from command-id lists, painted in a
// plain or a flat hot-tracked look, laid out in rows that wrap at
// separators, updated through command UI, and customisable.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/controls/toolbars/TWKStdBtn.h"

class TWKBmpMgr;
class TWKToolBarManager;

// Toolbars only: with CBX_COOLLOOK a cool look through which the bar's
// background shows.
#define CBX_TRANSPARENT     0x1000L

// Posted to a floating bar whose hiding waits while toolbars are customised.
extern const UINT WM_NODELAYHIDE;

// The hot-tracking poll timer.
#define TWK_TIMER_HOTTRACK  0xE002

// One row of the wrapping layout.
struct TWKToolBarRow
{
    int nLast;     // index of the row's last button
    int bSepEnd;   // 1: ended at a separator (the last button, not counted in the size)
    int cx;
    int cy;
};
static_assert(sizeof(TWKToolBarRow) == 16, "a row record is four 32-bit values");

class TWKCustomToolBar : public TWKControlBar
{
    DECLARE_DYNCREATE(TWKCustomToolBar)
public:
    // The buttons; the array does not delete them, RemoveAllButtons does.
    class TWKBtnArray : public CPtrArray
    {
    public:
        TWKStdBtn* GetAt(INT_PTR i) const { return static_cast<TWKStdBtn*>(CPtrArray::GetAt(i)); }
        TWKStdBtn* operator[](INT_PTR i) const { return GetAt(i); }
    };

    TWKCustomToolBar();
    ~TWKCustomToolBar() override;

    TWKBmpMgr* m_pBmpMgr;
    int m_nSepWidth = 8;              // the gap after a wrapped separator is 2/3 of it
    int m_nCurBtn = -1;               // pressed, or selected for customisation
    int m_nHotBtn = -1;               // raised in the cool look
    int m_nDroppedBtn = -1;           // menu button whose menu is dropped; also the menu selection
    BOOL m_bConfigMode = FALSE;
    TWKBtnDrawData* m_pDrawData = nullptr;   // own, when the bar has no manager
    BOOL m_bVertical = FALSE;         // orientation last passed to the buttons
    BOOL m_bDirtyMRU = TRUE;          // layouts to recompute
    BOOL m_bDirtyHorz = TRUE;
    BOOL m_bDirtyVert = TRUE;
    CSize m_sizeHorz;                 // committed layouts
    CSize m_sizeVert;
    CSize m_sizeFloat;
    BYTE m_bOptions = 0;              // bit 0: dragged buttons may only return to this bar
    HFONT m_hFont;
    const void* m_pButtonMap = nullptr;    // used when the bar has no manager
    void* m_pButtonMap2 = nullptr;         // owned (an array of TWKBtnMapEntry made with new[])
    BOOL m_bMenuMode = FALSE;
    int m_nMaxBtnWidth = 0;           // raised by the buttons' AdjustSize
    TWKBtnArray m_arrButtons;

    // Set while a button sends TBN_DROPDOWN; set while an Alt-drag runs.
    static BOOL s_bDropDownActive;
    static BOOL s_bAltDrag;

    // New virtual operations, in slot order.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle = NULL);
    virtual BOOL Create(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCSTR lpszTitle = NULL);
    // FALSE when no button remains (or the index is outside the array).
    virtual BOOL RemoveButton(int nIndex, BOOL bNoUpdate = FALSE);
    virtual void InsertButton(int nIndex, UINT nID, BOOL bSeparator, BOOL bNoUpdate = FALSE);
    virtual int GetImageIndex(UINT nID, UINT* pFoundID);
    virtual void OnImageSizeChanged(int cx, int cy);
    virtual BOOL SetButtons(const UINT* pIDs, int nCount);
    virtual void SizeToParent();
    virtual LRESULT DropMenu(TWKStdBtn* pBtn, int a, int b);
    virtual void PressMenuButton(int nIndex);
    virtual void SetMenuSelection(int nIndex);
    virtual void SetMenuSelectionAt(POINT* pt);
    virtual void ExitMenuMode();
    virtual BOOL IsInMenuMode() const { return m_bMenuMode; }
    virtual int GetFirstMenuButton() const;
    virtual int GetLastMenuButton() const;
    virtual int GetFirstTBMenuButton() const;
    virtual int GetNextMenuButton(BOOL bForward) const;
    virtual HFONT GetFont() const { return m_hFont; }
    virtual HFONT GetMenuFont() const { return m_hFont; }
    virtual void BalanceRows(int nRows, TWKToolBarRow* pRows);
    virtual BOOL IsCopyKeyDown() const { return ::GetKeyState(VK_CONTROL) < 0; }
    virtual BOOL CanAcceptDrop() const { return TRUE; }
    virtual void RemoveAllButtons();
    virtual BOOL IsCoolLook() const { return (m_dwExStyle & CBX_COOLLOOK) != 0; }
    virtual int GetImageWidth() const;
    virtual int GetImageHeight() const;
    virtual int GetButtonWidth() const { return GetImageWidth() + 7; }
    virtual int GetButtonHeight() const { return GetImageHeight() + 7; }
    virtual int GetSeparatorWidth() const { return (GetImageWidth() + 8) / 3; }
    virtual int GetSeparatorHeight() const { return GetImageHeight() + 7; }
    virtual BOOL OnMenuMouseMsg(MSG* pMsg);
    virtual void CancelMenuButton();
    // A customisation drag of button nIndex from the point (client
    // coordinates); FALSE when this bar no longer exists afterwards.
    virtual BOOL DragButton(int nIndex, int x, int y);
    virtual void UpdateRebarBand(CWnd* pParent, SIZE* pSize);
    virtual int CalcRows(int nWidth, TWKToolBarRow* pRows);
    virtual void WrapButtons(SIZE* pSize, int nLength, BOOL bVert);
    virtual void CalcLayout(SIZE* pSize, int nLength, DWORD dwMode);
    virtual void InvalidateButton(int nIndex);
    virtual int HitTest(int x, int y, LPRECT pRect) const;
    virtual void UpdateButton(int nIndex);
    // Inserts a dropped button (pRect in client coordinates); FALSE when the
    // source bar removed its last button and destroyed itself.
    virtual BOOL DropButton(LPRECT pRect, TWKStdBtn* pBtn, BOOL bCopy, BOOL bNoUpdate);
    virtual TWKStdBtn* CreateButton(UINT nID, TWKCustomToolBar* pBar);
    virtual TWKStdBtn* CreateSeparator(TWKCustomToolBar* pBar);

    // Platform and control-bar operations.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    void DelayShow(BOOL bShow) override;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    void DoPaint(CDC* pDC) override;
    BOOL CreateEx(LPCSTR lpszClassName, LPCSTR lpszWindowName, UINT nID, DWORD dwStyle, DWORD dwExStyle,
                  const RECT& rect, CWnd* pParentWnd, CCreateContext* pContext = NULL) override;
    void DrawBorders(CDC* pDC, CRect& rect) override;
    int AdjustRectForGripper(CRect& rect, BOOL bHorz) override;
    // The title and the buttons in a saved layout. Restoring does not lay the
    // bar out: the layout restore that calls it does.
    void GetBarInfoEx(TWKControlBarInfo* pInfo) override;
    void SetBarInfoEx(TWKControlBarInfo* pInfo, CFrameWnd* pFrame) override;

    // The IDE's view of a toolbar.
    int GetButtonCount() const { return (int)m_arrButtons.GetSize(); }
    TWKStdBtn* GetButton(int nIndex) const { return m_arrButtons[nIndex]; }
    TWKBmpMgr* GetBmpMgr() const { return m_pBmpMgr; }
    TWKToolBarManager* GetManager() const;

    int CommandToIndex(UINT nID) const;
    int IndexOf(const TWKStdBtn* pBtn) const;
    UINT GetItemID(int nIndex) const { return m_arrButtons[nIndex]->m_nID; }
    int GetCurrentIndex() const { return m_nCurBtn; }
    void SetButtonStyle(int nIndex, DWORD dwStyle);
    DWORD GetButtonStyle(int nIndex) const { return m_arrButtons[nIndex]->GetStyle(); }
    // Sets or clears TBBS_HIDDEN only; the caller lays the frame out.
    void HideButton(int nIndex, BOOL bHide);
    void GetItemRect(int nIndex, LPRECT lpRect) const { m_arrButtons[nIndex]->GetRect(lpRect); }
    // OnBtnNotify for every button with that command, in this bar or (bAllBars)
    // in every toolbar of the manager.
    void SetButtonStyleById(UINT nID, UINT nCode, void* pData, BOOL bAllBars);
    void SetBmpMgr(TWKBmpMgr* pMgr);
    void SetButtonMap(const void* pMap) { m_pButtonMap = pMap; }
    const void* GetButtonMap() const { return m_pButtonMap; }
    BOOL LoadToolBar(LPCSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCEA(nIDResource)); }
    BOOL LoadToolBar(UINT nBitmapID, const UINT* pIDs, int nCount);
    void SetConfigMode(BOOL bOn);
    BOOL GetConfigMode() const { return m_bConfigMode; }
    // The customisation selection, shared by the bars of a manager.
    void SelectButton(int nIndex, BOOL bRedraw);
    void SelectButton(TWKStdBtn* pBtn, BOOL bRedraw);
    void ClearSelection(BOOL bRedraw);
    void UpdateHotButton(BOOL bUpdateNow);
    TWKBtnDrawData* GetDrawData();
    void NotifyManager(UINT nCode);
    // The width of a new button; the largest so far sizes the compose bitmap.
    void RaiseMaxButtonWidth(int cx)
    {
        if (m_nMaxBtnWidth < cx)
            m_nMaxBtnWidth = cx;
    }
    static void SetDropDownActive(BOOL bActive) { s_bDropDownActive = bActive; }

    // Drag customisation. x, y in pWnd's client coordinates; pSrcBar NULL for
    // a button from the customisation dialog. FALSE when the source bar no
    // longer exists after the drag.
    static BOOL DoDragButton(TWKToolBarManager* pMgr, TWKStdBtn* pBtn, int nIndex, int x, int y,
                             TWKCustomToolBar* pSrcBar, CWnd* pWnd, BOOL bCopy);
    // The toolbar at a screen point, also through a floating frame.
    static TWKCustomToolBar* ToolBarFromPoint(int x, int y);
    // A new floating user toolbar (at screen x, y) holding a button of pBtn's command.
    static TWKCustomToolBar* NewToolBarFromDrop(int x, int y, TWKStdBtn* pBtn, TWKToolBarManager* pMgr,
                                                BOOL bNoSelect);
    // The buttons of the row that a drop's vertical middle falls into,
    // trailing separators left out.
    void GetRowRange(LPCRECT pClient, LPCRECT pDrop, int* pFirst, int* pLast);
    // A drop over the selected button's own edges opens or closes a gap
    // between groups; FALSE when the drop is not such a one.
    BOOL AdjustGroupByDrop(LPCRECT pDrop, int nFirst, int nLast, BOOL bCopy, BOOL bNoUpdate);
    static BOOL LoadToolBarBitmap(LPCSTR lpszResourceName, CBitmap* pBitmap, UINT** ppIDs, int* pnCount, int* pcx,
                                  int* pcy, int* pnItems = NULL, UINT** ppItems = NULL);
    // Every item of a toolbar resource (0 = separator) in a new[] array.
    static BOOL ReadToolBarIDs(LPCSTR lpszResourceName, UINT** ppIDs, int* pnCount);

protected:
    // The cached layouts no longer hold (buttons or their sizes changed).
    void InvalidateLayout();
    BOOL HoldsSelection() const;
    void RelayoutNow();
    void UpdateOneButton(CCmdTarget* pTarget, int nIndex, BOOL bDisableIfNoHndler);
    void PressButton(int nIndex, CPoint point);
    // Every button of arrAll (the hidden ones too) learns the orientation.
    void SetButtonsMode(BOOL bVertical, const CPtrArray& arrAll);
    int FirstMenuButton(BOOL bForward, int nType) const;
    void SendMessageString(WPARAM wParam);
    // WM_NOTIFY to the owner with the button index -1.
    LRESULT NotifyOwner(int nCode, UINT nCmd);

    afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnSysColorChange();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnCancelMode();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnNoDelayHide(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnAddButtons(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDeleteButton(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// Command UI of one toolbar button: m_pOther the toolbar, m_nIndex the button.
class TWKCustomToolCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
    void SetText(LPCSTR) override {}
};
