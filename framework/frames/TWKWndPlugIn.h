// A plug-in: borrows another window's handle so that its own message map sees
// that window's messages before the window's class does.
#pragma once
#include "afx/afx.h"

class TWKWndPlugIn : public CWnd
{
    DECLARE_DYNCREATE(TWKWndPlugIn)
public:
    TWKWndPlugIn();
    ~TWKWndPlugIn() override;

    // Set by a handler that dealt with the message; read and cleared by the
    // window that feeds the plug-in.
    BOOL m_bHandled = FALSE;
    // Set by a handler that wants the window's default processing.
    BOOL m_bCallDefault = FALSE;

    virtual void SetResult(LRESULT lResult);
    virtual BOOL PlugInTo(CWnd* pWnd);
    virtual void UnPlug();
    virtual BOOL IsPluggedIn() const { return m_bPluggedIn; }

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    BOOL m_bResultSet = FALSE;
    LRESULT m_lResult = 0;
    BOOL m_bPluggedIn = FALSE;

    DECLARE_MESSAGE_MAP()
};

// A plug-in a frame makes by class (TWKMDIFrameWnd::CreateFramePlugIn): the
// frame calls its creation hook before plugging it in.
class TWKFramePlugIn : public TWKWndPlugIn
{
    DECLARE_DYNCREATE(TWKFramePlugIn)
public:
    virtual void OnCreatePlugIn(DWORD dwValue1, DWORD dwValue2, DWORD dwStyle, DWORD dwValue3) {}
};
