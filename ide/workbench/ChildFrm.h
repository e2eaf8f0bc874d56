// The MDI child frame of the "Text" and "DisAsm" documents.
#pragma once
#include "framework/frames/TWKMDIChildWnd.h"

class CChildFrame : public TWKMDIChildWnd
{
    DECLARE_DYNCREATE(CChildFrame)
public:
    CChildFrame();
    ~CChildFrame() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    // A disassembly view may keep its window (while debugging it may ask to leave debugging first).
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()
};
