#include "support/ui/MsgBoxEx.h"
#include "support/ui/CUMsgHandler.h"
#include "support/text/CUString.h"
#include "support/supportres.h"
#include "afx/app.h"
#include "afx/module.h"
#include <cstring>

namespace {

const UINT kMessageCtrlId = 0xFFFF;

// The box's template: an extended dialog without controls; title and size are set when it opens.
constexpr DWORD kStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
constexpr DWORD kExStyle = WS_EX_APPWINDOW;
alignas(4) const WORD kTemplate[] = {
    1, 0xFFFF,                                  // version, extended signature
    0, 0,                                       // help id
    LOWORD(kExStyle), HIWORD(kExStyle),
    LOWORD(kStyle), HIWORD(kStyle),
    0,                                          // no controls
    0, 0, 185, 92,                              // x, y, cx, cy
    0,                                          // no menu
    0,                                          // default class
    '.', 0,                                     // title
    8, 0,                                       // point size, weight
    0x0100,                                     // not italic, character set 1
    'M', 'S', ' ', 'S', 'a', 'n', 's', ' ', 'S', 'e', 'r', 'i', 'f', 0,
};

BOOL LoadText(UINT id, CString& text)
{
    C_CUString s;
    if (!s.LoadString(id))
        return FALSE;
    text = s.c_str();
    return TRUE;
}

struct StreamSource {
    const CString* text;
    BOOL done;
};

// Hands the whole text over in one block, cut to what the control asks for.
DWORD CALLBACK MsgBoxStreamCallback(DWORD_PTR cookie, LPBYTE buffer, LONG cb, LONG* pcb)
{
    auto* src = reinterpret_cast<StreamSource*>(cookie);
    LONG n = 0;
    if (!src->done) {
        n = src->text->GetLength();
        if (n > cb)
            n = cb;
        memcpy(buffer, (LPCSTR)*src->text, (size_t)n);
        src->done = TRUE;
    }
    *pcb = n;
    return 0;
}

struct FlagButton {
    UINT flag;
    const char* label;
    UINT id;
};
const FlagButton kFlagButtons[] = {
    {CU_MBX_OK, "Ok", IDOK},
    {CU_MBX_YES, "Yes", IDYES},
    {CU_MBX_YESTOALL, "Yes To All", CU_IDYESTOALL},
    {CU_MBX_NO, "No", IDNO},
    {CU_MBX_NOTOALL, "No To All", CU_IDNOTOALL},
    {CU_MBX_CANCEL, "Cancel", IDCANCEL},
};

// prefixA/prefixB put their own text in front ("Error: " when it is missing); suffixCategory
// appends the text of suffixId.
int RunMessageBox(UINT category, UINT textId, UINT flags, va_list args, UINT prefixA, UINT prefixB,
                  UINT suffixCategory, UINT suffixId)
{
    CString message = LoadReportTextV(textId, args).c_str();
    if (category == prefixA || category == prefixB) {
        CString prefix;
        if (!LoadText(category, prefix))
            prefix = "Error: ";
        message = prefix + message;
    }
    if (suffixCategory && category == suffixCategory) {
        CString suffix;
        LoadText(suffixId, suffix);
        message += suffix;
    }
    C_MsgBoxEx box(NULL);
    for (const FlagButton& b : kFlagButtons)
        if (flags & b.flag)
            box.AddButton(b.id, FALSE, b.id == IDCANCEL, b.label);
    box.SetMessage((LPCSTR)message);
    return (int)box.DoModal();
}

} // namespace

int AppMessageBoxV(HWND, UINT category, UINT textId, UINT flags, va_list args)
{
    return RunMessageBox(category, textId, flags, args, IDS_APPMSG_WARNING, IDS_APPMSG_ERROR,
                         IDS_APPMSG_FATAL_ERROR, IDS_APPMSG_QUIT_MODIFY_CONFIG);
}

int AppMessageBox(HWND owner, UINT category, UINT textId, UINT flags, ...)
{
    va_list args;
    va_start(args, flags);
    int r = AppMessageBoxV(owner, category, textId, flags, args);
    va_end(args);
    return r;
}

int LibMessageBoxV(HWND, UINT category, UINT textId, UINT flags, va_list args)
{
    return RunMessageBox(category, textId, flags, args, IDS_CU_ERROR, IDS_CU_WARNING, 0, 0);
}

int LibMessageBox(HWND owner, UINT category, UINT textId, UINT flags, ...)
{
    va_list args;
    va_start(args, flags);
    int r = LibMessageBoxV(owner, category, textId, flags, args);
    va_end(args);
    return r;
}

BOOL LoadResourceText(LPCSTR lpszName, LPCSTR lpszType, CString& text)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    if (!hInst)
        return FALSE;
    HRSRC hRes = ::FindResourceA(hInst, lpszName, lpszType);
    if (!hRes)
        return FALSE;
    HGLOBAL hData = ::LoadResource(hInst, hRes);
    const void* p = hData ? ::LockResource(hData) : nullptr;
    if (!p)
        return FALSE;
    text = CString(static_cast<LPCSTR>(p), (int)::SizeofResource(hInst, hRes));
    return TRUE;
}

// ---------------------------------------------------------------------------
// C_MsgBoxEx

C_MsgBoxEx::C_MsgBoxEx(CWnd* pParentWnd)
    : m_nLeftMargin(10), m_nRightMargin(10), m_nTopMargin(10), m_nBottomMargin(7),
      m_nIconGap(10), m_nTextGap(7),
      m_nButtonMarginX(7), m_nButtonMarginY(4), m_nButtonGap(7), m_nMinButtonWidth(40)
{
    m_pParentWnd = pParentWnd;
    m_strCaption = AfxGetAppName();
}

C_MsgBoxEx::~C_MsgBoxEx() {}

void C_MsgBoxEx::AddButton(UINT nID, BOOL bDefault, BOOL bEscape, LPCSTR lpszText)
{
    m_buttons.push_back(BTNDATA{nID, CString(lpszText)});
    if (bDefault)
        m_nDefaultId = (int)nID;
    if (bEscape)
        m_nEscapeId = (int)nID;
}

void C_MsgBoxEx::AddButton(UINT nID, BOOL bDefault, BOOL bEscape, UINT nIDText)
{
    CString text;
    LoadText(nIDText == (UINT)-1 ? nID : nIDText, text);
    AddButton(nID, bDefault, bEscape, (LPCSTR)text);
}

BOOL C_MsgBoxEx::SetMessage(UINT nIDText)
{
    m_strMessage.Empty();
    return LoadText(nIDText, m_strMessage);
}

BOOL C_MsgBoxEx::SetMessage(LPCSTR lpszText)
{
    m_strMessage = lpszText;
    return TRUE;
}

BOOL C_MsgBoxEx::SetMessageFromResource(LPCSTR lpszName, LPCSTR lpszType)
{
    m_strMessage.Empty();
    return LoadResourceText(lpszName, lpszType, m_strMessage);
}

BOOL C_MsgBoxEx::FormatMessageV(LPCSTR lpszFormat, va_list args)
{
    m_strMessage.FormatV(lpszFormat ? lpszFormat : "", args);
    return TRUE;
}

BOOL C_MsgBoxEx::FormatMessage(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    BOOL r = FormatMessageV(lpszFormat, args);
    va_end(args);
    return r;
}

BOOL C_MsgBoxEx::FormatMessage(UINT nIDFormat, ...)
{
    CString format;
    if (!LoadText(nIDFormat, format))
        return FALSE;
    va_list args;
    va_start(args, nIDFormat);
    BOOL r = FormatMessageV(format, args);
    va_end(args);
    return r;
}

BOOL C_MsgBoxEx::FormatMessageFromResource(LPCSTR lpszName, LPCSTR lpszType, ...)
{
    CString format;
    if (!LoadResourceText(lpszName, lpszType, format))
        return FALSE;
    va_list args;
    va_start(args, lpszType);
    BOOL r = FormatMessageV(format, args);
    va_end(args);
    return r;
}

void C_MsgBoxEx::SetIcon(HICON hIcon)
{
    m_hIcon = hIcon;
    m_sizeIcon = CSize(0, 0);
    ICONINFO info = {};
    if (!hIcon || !::GetIconInfo(hIcon, &info))
        return;
    BITMAP bm = {};
    if (info.hbmColor && ::GetObjectA(info.hbmColor, sizeof bm, &bm))
        m_sizeIcon = CSize(bm.bmWidth, bm.bmHeight);
    else if (info.hbmMask && ::GetObjectA(info.hbmMask, sizeof bm, &bm))
        m_sizeIcon = CSize(bm.bmWidth, bm.bmHeight / 2);   // monochrome: mask over image
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
}

void C_MsgBoxEx::SetIcon(UINT nIDResource)
{
    SetIcon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource)));
}

void C_MsgBoxEx::SetStandardIcon(LPCSTR lpszIconName)
{
    SetIcon(::LoadIconA(nullptr, lpszIconName));
}

INT_PTR C_MsgBoxEx::DoModal()
{
    InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATE>(kTemplate), m_pParentWnd);
    ::MessageBeep(MB_ICONHAND);
    return CDialog::DoModal();
}

BOOL C_MsgBoxEx::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_strCaption);

    CRect units(0, 0, 1000, 1000);
    MapDialogRect(&units);
    m_nScaleX = units.Width();
    m_nScaleY = units.Height();

    CreateMessageControl();
    if (m_hIcon)
        CreateIconControl();
    CreateButtons();
    LayoutControls();

    if (m_nEscapeId == -1)
        ModifyStyle(WS_SYSMENU, 0, SWP_FRAMECHANGED);
    if (m_nDefaultId != -1) {
        if (HWND hDefault = ::GetDlgItem(m_hWnd, m_nDefaultId))
            ::SetFocus(hDefault);
        SetDefID((UINT)m_nDefaultId);
        return FALSE;
    }
    return TRUE;
}

void C_MsgBoxEx::CreateMessageControl()
{
    m_wndMessage.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, CRect(0, 0, 0, 0), this, kMessageCtrlId);
    if (!m_wndMessage.m_hWnd)
        return;
    m_wndMessage.SetBackgroundColor(FALSE, ::GetSysColor(COLOR_BTNFACE));
    m_wndMessage.SetFont(GetFont());
    if (m_bRtf) {
        StreamSource src = {&m_strMessage, FALSE};
        EDITSTREAM es = {};
        es.dwCookie = reinterpret_cast<DWORD_PTR>(&src);
        es.pfnCallback = MsgBoxStreamCallback;
        m_wndMessage.StreamIn(SF_RTF, es);
    } else {
        m_wndMessage.SetWindowText(m_strMessage);
    }
    m_wndMessage.SetEventMask(ENM_REQUESTRESIZE);

    // The narrowest width at which the text is no taller than at half the screen width.
    int low = 0;
    int high = ::GetSystemMetrics(SM_CXSCREEN);
    int reference = -1;
    while (low < high) {
        int middle = (low + high) / 2;
        m_wndMessage.MoveWindow(0, 0, middle, 1, FALSE);
        CRect format(0, 0, middle, 1);
        m_wndMessage.SetRect(&format);
        m_wndMessage.RequestResize();
        if (reference < 0)
            reference = m_sizeText.cy;
        if (m_sizeText.cy <= reference)
            high = middle - 1;
        else
            low = middle + 1;
    }
}

void C_MsgBoxEx::CreateIconControl()
{
    m_wndIcon.Create(NULL, WS_CHILD | WS_VISIBLE | WS_DISABLED | SS_ICON, CRect(0, 0, 0, 0), this, kMessageCtrlId);
    m_wndIcon.SetIcon(m_hIcon);
}

void C_MsgBoxEx::CreateButtons()
{
    HFONT hFont = GetFont();
    HDC hDC = ::GetDC(m_hWnd);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    int width = DluX(m_nMinButtonWidth);
    int height = 0;
    for (const BTNDATA& b : m_buttons) {
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(hDC, b.strText, b.strText.GetLength(), &size);
        width = std::max(width, (int)size.cx);
        height = std::max(height, (int)size.cy);
        HWND hButton = ::CreateWindowExA(0, "BUTTON", b.strText, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 0, 0,
                                         m_hWnd, (HMENU)(UINT_PTR)b.nID, AfxGetInstanceHandle(), nullptr);
        if (hButton)
            ::SendMessageA(hButton, WM_SETFONT, (WPARAM)hFont, FALSE);
    }
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(m_hWnd, hDC);
    m_sizeButton = CSize(width + 2 * DluX(m_nButtonMarginX), height + 2 * DluY(m_nButtonMarginY));
}

void C_MsgBoxEx::LayoutControls()
{
    const int left = DluX(m_nLeftMargin), right = DluX(m_nRightMargin);
    const int top = DluY(m_nTopMargin), bottom = DluY(m_nBottomMargin);
    const int buttonGap = DluX(m_nButtonGap);

    int areaWidth = m_sizeText.cx;
    int areaHeight = m_sizeText.cy;
    int iconPart = 0;
    if (m_hIcon) {
        iconPart = DluX(m_nIconGap) + m_sizeIcon.cx;
        areaWidth += iconPart;
        areaHeight = std::max(areaHeight, (int)m_sizeIcon.cy);
    }
    const int count = (int)m_buttons.size();
    const int rowWidth = count * m_sizeButton.cx + (count > 0 ? (count - 1) * buttonGap : 0);
    const int clientWidth = std::max(areaWidth, rowWidth) + left + right;
    const int clientHeight = areaHeight + top + DluY(m_nTextGap) + m_sizeButton.cy + bottom;

    CRect window(0, 0, clientWidth, clientHeight);
    CalcWindowRect(&window);
    SetWindowPos(NULL, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow();

    if (m_wndIcon.m_hWnd)
        m_wndIcon.MoveWindow(left, top, m_sizeIcon.cx, m_sizeIcon.cy);
    if (m_wndMessage.m_hWnd) {
        int x = (clientWidth - (m_sizeText.cx + 2) - right + left + iconPart) / 2;
        m_wndMessage.MoveWindow(x, top, m_sizeText.cx + 2, m_sizeText.cy);
    }
    int x = (clientWidth - rowWidth) / 2;
    const int y = clientHeight - m_sizeButton.cy - bottom;
    for (const BTNDATA& b : m_buttons) {
        if (HWND hButton = ::GetDlgItem(m_hWnd, (int)b.nID))
            ::MoveWindow(hButton, x, y, m_sizeButton.cx, m_sizeButton.cy, TRUE);
        x += m_sizeButton.cx + buttonGap;
    }
}

bool C_MsgBoxEx::IsOwnButton(HWND hWnd) const
{
    if (!hWnd || ::GetParent(hWnd) != m_hWnd)
        return false;
    UINT id = (UINT)::GetDlgCtrlID(hWnd);
    for (const BTNDATA& b : m_buttons)
        if (b.nID == id)
            return true;
    return false;
}

BOOL C_MsgBoxEx::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && m_hWnd && (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        switch (pMsg->wParam) {
        case VK_RETURN: {
            HWND hFocus = ::GetFocus();
            if (IsOwnButton(hFocus))
                m_nDefaultId = ::GetDlgCtrlID(hFocus);
            EndDialog(m_nDefaultId);
            return TRUE;
        }
        case VK_ESCAPE:
        case VK_CANCEL:
            if (m_nEscapeId != -1)
                EndDialog(m_nEscapeId);
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}

BOOL C_MsgBoxEx::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_COMMAND: {
        // A control's command ends the box with its id; commands that come from no control
        // (the dialog manager's own IDCANCEL) count only for the box's buttons.
        UINT id = LOWORD(wParam);
        bool own = false;
        for (const BTNDATA& b : m_buttons)
            own = own || b.nID == id;
        if (id != kMessageCtrlId && (lParam != 0 || own)) {
            EndDialog((int)id);
            *pResult = 0;
            return TRUE;
        }
        break;
    }
    case WM_CLOSE:
        if (m_nEscapeId != -1)
            EndDialog(m_nEscapeId);
        *pResult = 0;
        return TRUE;
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr && hdr->idFrom == kMessageCtrlId && hdr->code == EN_REQUESTRESIZE) {
            const RECT& rc = reinterpret_cast<REQRESIZE*>(lParam)->rc;
            m_sizeText = CSize(rc.right - rc.left, rc.bottom - rc.top);
            *pResult = 0;
            return TRUE;
        }
        break;
    }
    default:
        break;
    }
    return CDialog::OnWndMsg(message, wParam, lParam, pResult);
}
