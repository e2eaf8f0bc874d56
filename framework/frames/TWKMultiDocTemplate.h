// A document template whose views live in MDI child frames or in dockable
// frames docked on an edge of the main frame (or floating), and move between
// the two without being re-created.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKDockBar.h"

class TWKDockableFrame;
class COleClientItem;

// Told by a view before and after it moves between frames.
class ITWKVwDockFeedBack
{
public:
    virtual void OnBeforeDock(CFrameWnd* pOldFrame, CFrameWnd* pNewFrame) = 0;
    virtual void OnAfterDock(CFrameWnd* pNewFrame) = 0;
    virtual void OnBeforeUndock(CFrameWnd* pOldFrame, CFrameWnd* pNewFrame) = 0;
    virtual void OnAfterUndock(CFrameWnd* pNewFrame) = 0;

protected:
    ~ITWKVwDockFeedBack() = default;
};

// For views that show in-place OLE items: the active item is closed before
// the move and shown again afterwards. A second base of a CView class.
class TWKVwDockFeedBackOleImp : public ITWKVwDockFeedBack
{
public:
    COleClientItem* m_pClosedItem = nullptr;

    void OnBeforeDock(CFrameWnd*, CFrameWnd*) override { CloseActiveItem(); }
    void OnAfterDock(CFrameWnd*) override { ReactivateItem(); }
    void OnBeforeUndock(CFrameWnd*, CFrameWnd*) override { CloseActiveItem(); }
    void OnAfterUndock(CFrameWnd*) override { ReactivateItem(); }

    virtual void CloseActiveItem();
    virtual void ReactivateItem();

protected:
    virtual ~TWKVwDockFeedBackOleImp() = default;
};

// Caption style bits (the frames' EnableCaptionControls argument).
enum {
    TWKCS_EXTENSION = 0x1,      // caption extension on
    TWKCS_NOBUTTON = 0x2,       // no caption button
    TWKCS_NODBLCLK = 0x4,       // no right double click on the caption
    TWKCS_NOCONTEXTMENU = 0x8   // no caption context menu
};

class TWKMultiDocTemplate : public CMultiDocTemplate
{
    DECLARE_DYNAMIC(TWKMultiDocTemplate)
public:
    // NULL frame class: TWKMDIChildWnd; docked resource 0: nIDResource; NULL
    // classes: TWKDockableFrame and TWKFrameBar; caption styles -1: 7.
    TWKMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                        CRuntimeClass* pViewClass, UINT nIDDockedResource = 0,
                        CRuntimeClass* pDockableFrameClass = NULL, CRuntimeClass* pFrameBarClass = NULL,
                        DWORD dwCaptionStyles = (DWORD)-1);
    TWKMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pViewClass,
                        DWORD dwCaptionStyles = (DWORD)-1);
    // Destroys the docked menu.
    ~TWKMultiDocTemplate() override;

    CRuntimeClass* m_pDockableFrameClass;
    CRuntimeClass* m_pFrameBarClass;      // NULL at creation time: TWKControlBar
    UINT m_nIDDockedResource;
    DWORD m_dwMDIChildCaptionStyles;
    DWORD m_dwDockedCaptionStyles;
    BOOL m_bCreateDocked = FALSE;         // only while a docked frame is being made
    UINT m_nNextBarID = 0;                // 0: the first free id from 256
    HMENU m_hMenuDocked = nullptr;
    HACCEL m_hAccelDocked = nullptr;

    void LoadTemplate() override;
    CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) override;
    using CMultiDocTemplate::OpenDocumentFile;

    // New virtual operations, in slot order.
    virtual CFrameWnd* CreateNewFrameEx(CDocument* pDoc, CFrameWnd* pOther, BOOL bDocked, UINT nBarID);
    virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible, BOOL bDocked, UINT nBarID = 0);
    virtual CFrameWnd* ToggleDocking(CFrameWnd* pFrame);
    virtual CFrameWnd* CreateDockedFrame(CDocument* pDoc, CFrameWnd* pOther, UINT nDockBarID, TWKDockPos* pPos,
                                         TWKDockSize* pSize);
    virtual BOOL IsDockableFrame(CFrameWnd* pFrame);
    // -1 not docked; 0 top, 1 left, 2 bottom, 3 right, 4 floating.
    virtual int GetDockSide(CFrameWnd* pFrame);
    virtual CFrameWnd* DockFrame(CFrameWnd* pFrame, UINT nDockBarID = 0, TWKDockPos* pPos = NULL,
                                 TWKDockSize* pSize = NULL);
    virtual CFrameWnd* DockFrameDefault(CFrameWnd* pFrame);
    virtual CFrameWnd* UndockFrame(CFrameWnd* pFrame);
    virtual void MoveChildren(CFrameWnd* pFrom, CFrameWnd* pTo);
    virtual BOOL ActivateDocFrame(CFrameWnd* pFrame);
    virtual void SetCaptionStyles(CFrameWnd* pFrame, DWORD dwStyles);
    virtual void EnableCaptionButton(BOOL bEnable, BOOL bApply = TRUE);
    virtual void EnableDblClkToggle(BOOL bEnable, BOOL bApply = TRUE);
    virtual void EnableContextMenu(BOOL bEnable, BOOL bApply = TRUE);
    virtual BOOL HasCaptionButton() const;
    virtual BOOL HasDblClkToggle() const;
    virtual BOOL HasContextMenu() const;
    virtual void ModifyCaptionStyles(DWORD dwRemove, DWORD dwAdd, BOOL bApply = TRUE);
    virtual void ApplyCaptionStyles();
    virtual ITWKVwDockFeedBack* GetDockFeedBack(CView* pView);

protected:
    // The second half of a move: the view goes over, the old frame goes, the
    // new one is activated, with the view told before and after.
    CFrameWnd* FinishMove(CFrameWnd* pOld, CFrameWnd* pNew, BOOL bDock);
};
