// A message box made as a dialog of its own: any set of labelled buttons, sized to its text.
#pragma once
#include <windows.h>
#include <cstdarg>
#include <vector>
#include "afx/dialog.h"
#include "afx/controls.h"
#include "afx/string.h"

// Button flags of AppMessageBox, added in this order: Ok, Yes, Yes To All, No, No To All, Cancel.
enum {
    CU_MBX_OK = 0x1,
    CU_MBX_YES = 0x2,
    CU_MBX_NO = 0x4,
    CU_MBX_CANCEL = 0x8,
    CU_MBX_YESTOALL = 0x100,
    CU_MBX_NOTOALL = 0x200,
};

// Command ids of the buttons beyond the platform's.
enum {
    CU_IDYESTOALL = 256,
    CU_IDNOTOALL = 512,
};

// Application message box: category 10001 to 10030 (see supportres.h), a string-table text
// formatted with the arguments, buttons by flags. The owner is not used (the main window owns it).
// The command id of the chosen button.
int AppMessageBox(HWND owner, UINT category, UINT textId, UINT flags, ...);
int AppMessageBoxV(HWND owner, UINT category, UINT textId, UINT flags, va_list args);
// The same with the library's categories 0xA000 to 0xA004.
int LibMessageBox(HWND owner, UINT category, UINT textId, UINT flags, ...);
int LibMessageBoxV(HWND owner, UINT category, UINT textId, UINT flags, va_list args);

// The bytes of a resource of the framework's resource module as a text.
BOOL LoadResourceText(LPCSTR lpszName, LPCSTR lpszType, CString& text);

class C_MsgBoxEx : public CDialog
{
public:
    struct BTNDATA {
        UINT nID;
        CString strText;
    };

    explicit C_MsgBoxEx(CWnd* pParentWnd = NULL);
    ~C_MsgBoxEx() override;

    void AddButton(UINT nID, BOOL bDefault, BOOL bEscape, LPCSTR lpszText);
    // nIDText -1: the text whose string id is the command id.
    void AddButton(UINT nID, BOOL bDefault, BOOL bEscape, UINT nIDText);

    BOOL SetMessage(UINT nIDText);
    BOOL SetMessage(LPCSTR lpszText);
    BOOL SetMessageFromResource(LPCSTR lpszName, LPCSTR lpszType);
    // (The platform's macro renames these to FormatMessageA in every unit alike.)
    BOOL FormatMessage(LPCSTR lpszFormat, ...);
    BOOL FormatMessage(UINT nIDFormat, ...);
    BOOL FormatMessageFromResource(LPCSTR lpszName, LPCSTR lpszType, ...);
    BOOL FormatMessageV(LPCSTR lpszFormat, va_list args);

    // NULL clears the icon.
    void SetIcon(HICON hIcon);
    void SetIcon(UINT nIDResource);
    void SetStandardIcon(LPCSTR lpszIconName);

    // Hands the text to the control as RTF rather than plain text.
    void SetRtf(BOOL bRtf) { m_bRtf = bRtf; }

    const CString& GetMessageText() const { return m_strMessage; }

    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    void CreateMessageControl();
    void CreateIconControl();
    void CreateButtons();
    void LayoutControls();
    int DluX(int units) const { return m_nScaleX * units / 1000; }
    int DluY(int units) const { return m_nScaleY * units / 1000; }
    bool IsOwnButton(HWND hWnd) const;

    // Margins in dialog units.
    int m_nLeftMargin, m_nRightMargin, m_nTopMargin, m_nBottomMargin;
    int m_nIconGap, m_nTextGap;
    int m_nButtonMarginX, m_nButtonMarginY, m_nButtonGap, m_nMinButtonWidth;

    CSize m_sizeText;
    CSize m_sizeButton;
    CSize m_sizeIcon;
    int m_nScaleX = 0;
    int m_nScaleY = 0;
    int m_nDefaultId = -1;
    int m_nEscapeId = -1;
    CStatic m_wndIcon;
    CRichEditCtrl m_wndMessage;
    std::vector<BTNDATA> m_buttons;
    BOOL m_bRtf = FALSE;
    HICON m_hIcon = nullptr;
    CString m_strMessage;
    CString m_strCaption;
};
