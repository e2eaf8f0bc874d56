// Mouse feedback shared by every window of a thread: the one tool-tip control,
// fly-by status text of bars, and the wait cursor on WM_SETCURSOR.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CWnd;

// A copy of the text for TOOLINFO::lpszText that the machinery frees (malloc).
LPSTR AfxAllocToolTipText(LPCSTR lpszText);

// This thread's tool-tip control (NULL until a window with tips saw the mouse).
HWND AfxGetToolTipWindow();

// Hides the tip and ends the fly-by status text (the idle message goes out).
void AfxCancelToolTips();

// The window is going: tools and status text that refer to it are dropped.
void AfxForgetToolTipWindow(HWND hWnd);

// The command id a tool-tip text request (TTN_NEEDTEXT, A or W) is about: the
// control id when the tool is a window, else the tool id. (UINT)-1 when the
// notification is no such request.
UINT AfxGetToolTipCommandId(const NMHDR* pNMHDR);

// Puts text into a TTN_NEEDTEXT request's own buffer (cut to 79 characters).
void AfxSetToolTipText(NMHDR* pNMHDR, LPCSTR lpszText);

// Answers a TTN_NEEDTEXT request the way frames do: the tip part (after the
// '\n') of the command's string. FALSE when the id has no string or no tip
// part. *pResult becomes 0.
BOOL AfxAnswerToolTipText(NMHDR* pNMHDR, LRESULT* pResult);

// WM_SETCURSOR while a wait cursor is up: shows it and answers TRUE.
BOOL AfxHandleSetCursor(CWnd* pWnd, UINT nHitTest, UINT nMsg);
