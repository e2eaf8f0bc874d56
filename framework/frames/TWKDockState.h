// A frame's saved bar layout: the records of all its bars, written to and
// read from the application profile, a persistent tree or an archive, and
// applied to a frame.
#pragma once
#include "afx/afx.h"
#include "framework/frames/TWKControlBarInfo.h"

class TWKControlBarManager;
class TWKPersistentTreeNode;
class TWKPTNFactory;

class TWKDockState : public CDockState
{
    DECLARE_DYNCREATE(TWKDockState)
public:
    TWKDockState();
    explicit TWKDockState(TWKControlBarManager* pManager);
    ~TWKDockState() override;

    TWKControlBarManager* m_pManager;    // given to every new record; not owned
    CPtrList* m_pCreatedBars = nullptr;  // receives the bars the loader creates

    // Version, screen size, then the records; reading replaces the records.
    void Serialize(CArchive& ar) override;

    // New virtual operations, in slot order.
    virtual BOOL SaveStateTree(TWKPTNFactory* pFactory, TWKPersistentTreeNode* pParent);
    virtual BOOL SaveState(LPCSTR lpszProfileName);
    virtual BOOL LoadStateTree(TWKPersistentTreeNode* pParent);
    virtual BOOL LoadState(LPCSTR lpszProfileName);
    virtual BOOL GetDockState(CFrameWnd* pFrame);
    virtual void SetDockState(CFrameWnd* pFrame);
    virtual TWKControlBarInfo* CreateBarInfo(TWKControlBarManager* pManager);
    virtual void ResolveBars(CFrameWnd* pFrame, BOOL bMDIFrame);
    virtual void FinishBars();
    virtual void RestoreMDIPlacements(CFrameWnd* pFrame);
    virtual CControlBar* CreateBarFromInfo(LPCSTR lpszClassName, CFrameWnd* pFrame, TWKControlBarInfo* pInfo);
    virtual CRuntimeClass* FindRuntimeClass(LPCSTR lpszClassName);

    // Drops placeholders outside a bar's last dock bar and duplicate ids, and
    // ends every non-empty id list with exactly one row break.
    void CleanBarIDs();

    TWKControlBarInfo* GetInfo(INT_PTR i) const { return static_cast<TWKControlBarInfo*>(m_arrBarInfo[i]); }

    // The frame's control-bar manager; NULL for frames that have none.
    static TWKControlBarManager* FrameManager(CFrameWnd* pFrame);
    // "PctWidth" both ways: the fraction in millionths, rounded to nearest; and
    // back, to the nearest float (a negative value reads as 0). A value read is
    // written back as it was.
    static int PctToMillionths(float fPct);
    static float MillionthsToPct(int nMillionths);
};
