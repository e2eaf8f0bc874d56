// A memory page's window: the go-to strip, a column header and the hex-edit control.
#pragma once
#include "afx/afx.h"
#include "afx/dialog.h"
#include "ide/debugger/IDEMemoryEdit.h"
#include "support/ui/IDEHeaderCtrl.h"

// Sent to the strip's parent when Go is pressed; answers 1.
#define WM_GOTO_PC (WM_USER + 563)

// The strip "PC: [space] : [address] Go". Exchanges no data with its controls; Go and Enter
// parse both boxes and tell the parent.
class C_GotoPCDlg : public CDialog
{
public:
    C_GotoPCDlg() = default;
    BOOL Create(CWnd* pParentWnd);

    DWORD m_nGotoSpace = 0;
    DWORD m_dwGotoAddress = 0;

    // Parses a hexadecimal text: leading blanks and a "0x" prefix are skipped, parsing stops
    // at the first other character.
    static DWORD ParseHex(LPCSTR lpsz);

protected:
    void Go();
    void OnOK() override { Go(); }
    void OnCancel() override {}
    afx_msg void OnGo() { Go(); }
    DECLARE_MESSAGE_MAP()
};

class C_IDEMemoryEditWnd : public CWnd
{
public:
    explicit C_IDEMemoryEditWnd(I_MemoryEditBridge* pBridge) : m_MemoryEdit(pBridge) {}

    // Header buttons: 0 "Address", 1..16 the digit columns, 17 "ASCII", 18 the filler.
    enum { kHeaderId = 0xF000, kAsciiButton = 17, kFillerButton = 18 };

    C_GotoPCDlg m_GotoDlg;
    C_IDEHeaderCtrl m_Header;
    C_IDEMemoryEdit m_MemoryEdit;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg LRESULT OnGotoPC(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
