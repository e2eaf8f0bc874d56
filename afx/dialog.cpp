#include "afx/dialog.h"
#include "afx/app.h"
#include "afx/module.h"
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <string>

IMPLEMENT_DYNAMIC(CDialog, CWnd)
IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

// ---------------------------------------------------------------------------
// Data exchange

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWnd = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
    if (!hWnd) {
        // A template without the control: nothing sensible can be exchanged.
        m_hWndLastControl = nullptr;
        throw new CUserException();
    }
    m_hWndLastControl = hWnd;
    m_bEditLastControl = FALSE;
    return hWnd;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWnd = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWnd;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    throw new CUserException();
}

namespace {

CString WindowText(HWND hWnd)
{
    int n = ::GetWindowTextLengthA(hWnd);
    std::string buf((size_t)n + 1, '\0');
    ::GetWindowTextA(hWnd, &buf[0], n + 1);
    return CString(buf.c_str());
}

bool IsBlank(const char* p)
{
    while (*p == ' ' || *p == '\t')
        ++p;
    return *p == 0;
}

// A whole decimal number of type T in the edit (blanks around it allowed);
// anything else shows the prompt and fails the exchange.
template <class T>
void DDX_Number(CDataExchange* pDX, int nIDC, T& value, LPCSTR lpszPrompt)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextA(hWnd, std::to_string(value).c_str());
        return;
    }
    CString text = WindowText(hWnd);
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(p, &end, 10);
    bool bNegative = *p == '-';
    if (end == p || !IsBlank(end) || errno == ERANGE || (bNegative && std::numeric_limits<T>::min() == 0) ||
        v < (long long)std::numeric_limits<T>::min() || v > (long long)std::numeric_limits<T>::max()) {
        AfxMessageBox(lpszPrompt, MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    value = (T)v;
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = WindowText(hWnd);
    else
        ::SetWindowTextA(hWnd, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    DDX_Number(pDX, nIDC, value, "Please enter an integer.");
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    DDX_Number(pDX, nIDC, value, "Please enter a positive integer.");
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = (int)::SendMessageA(hWnd, BM_GETCHECK, 0, 0);
    } else {
        int v = value < 0 || value > 2 ? 0 : value;
        ::SendMessageA(hWnd, BM_SETCHECK, (WPARAM)v, 0);
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    for (HWND h = hWnd; h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (h != hWnd && (::GetWindowLongA(h, GWL_STYLE) & WS_GROUP))
            break;
        if (!(::SendMessageA(h, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON))
            continue;
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessageA(h, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(hWnd, CB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(hWnd, CB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = WindowText(hWnd);
    } else if (::SendMessageA(hWnd, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCSTR)value) == CB_ERR) {
        // Not in the list: the text goes to the edit part (when there is one).
        ::SetWindowTextA(hWnd, value);
    }
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int i = (int)::SendMessageA(hWnd, LB_GETCURSEL, 0, 0);
        if (i == LB_ERR) {
            value.Empty();
        } else {
            int n = (int)::SendMessageA(hWnd, LB_GETTEXTLEN, (WPARAM)i, 0);
            std::string buf((size_t)(n < 0 ? 0 : n) + 1, '\0');
            ::SendMessageA(hWnd, LB_GETTEXT, (WPARAM)i, (LPARAM)&buf[0]);
            value = buf.c_str();
        }
    } else if (::SendMessageA(hWnd, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCSTR)value) == LB_ERR) {
        ::SendMessageA(hWnd, LB_SETCURSEL, (WPARAM)-1, 0);
    }
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(hWnd, LB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(hWnd, LB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWnd))
        pDX->Fail();
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            CString msg;
            msg.Format("Please enter no more than %d characters.", nChars);
            AfxMessageBox(msg, MB_ICONEXCLAMATION);
            pDX->Fail();
        }
    } else if (pDX->m_hWndLastControl && pDX->m_bEditLastControl) {
        ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, (WPARAM)nChars, 0);
    }
}

// ---------------------------------------------------------------------------
// Dialog-init data: records of { WORD control id, WORD message, DWORD length,
// bytes }, ended by a zero id. Messages may carry their 16-bit numbers.

BOOL AfxExecuteDlgInit(HWND hWnd, LPVOID lpResource)
{
    if (!lpResource)
        return TRUE;
    const BYTE* p = static_cast<const BYTE*>(lpResource);
    for (;;) {
        WORD nID;
        std::memcpy(&nID, p, 2);
        if (nID == 0)
            break;
        WORD nMsg;
        DWORD len;
        std::memcpy(&nMsg, p + 2, 2);
        std::memcpy(&len, p + 4, 4);
        const BYTE* data = p + 8;
        UINT msg = nMsg;
        if (msg == 0x0401)
            msg = LB_ADDSTRING;
        else if (msg == 0x0403)
            msg = CB_ADDSTRING;
        if (msg == LB_ADDSTRING || msg == CB_ADDSTRING) {
            // The text need not be terminated within the record.
            std::string text(reinterpret_cast<const char*>(data), len);
            text.resize(std::strlen(text.c_str()));
            LRESULT r = ::SendDlgItemMessageA(hWnd, nID, msg, 0, (LPARAM)text.c_str());
            if (r == LB_ERR || r == LB_ERRSPACE)
                return FALSE;
        }
        p = data + len;
    }
    return TRUE;
}

BOOL AfxExecuteDlgInit(HWND hWnd, LPCSTR lpszResourceName)
{
    if (!lpszResourceName)
        return TRUE;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, RT_DLGINIT);
    if (!hRsrc)
        return TRUE;
    HGLOBAL hRes = ::LoadResource(hInst, hRsrc);
    if (!hRes)
        return FALSE;
    return AfxExecuteDlgInit(hWnd, ::LockResource(hRes));
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        if (auto* pDlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd)))
            return AfxCallGuarded<INT_PTR>(FALSE, [&] { return (INT_PTR)pDlg->HandleInitDialog(); });
        return TRUE;
    }
    return FALSE;
}

namespace {
// Steps over a name-or-ordinal field of a dialog template; `out` gets the
// class it names (an atom for an ordinal).
const WORD* SkipSzOrOrd(const WORD* p, std::string* out = nullptr)
{
    if (*p == 0xFFFF)
        return p + 2;
    const WORD* q = p;
    while (*q)
        ++q;
    if (out) {
        int n = ::WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(p), (int)(q - p), nullptr, 0, nullptr, nullptr);
        out->assign((size_t)n, 0);
        ::WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<LPCWSTR>(p), (int)(q - p), &(*out)[0], n, nullptr, nullptr);
    }
    return q + 1;
}

// The window class a dialog template makes: its own class field, else the
// system's dialog class. Keeps name storage in `buf`.
LPCSTR DialogTemplateClass(LPCDLGTEMPLATE lpTemplate, std::string& buf)
{
    const WORD* p = reinterpret_cast<const WORD*>(lpTemplate);
    bool bEx = p[0] == 1 && p[1] == 0xFFFF;
    p += bEx ? 13 : 9;           // the fixed header (26 or 18 bytes)
    p = SkipSzOrOrd(p);          // menu
    if (*p == 0)
        return "#32770";
    if (*p == 0xFFFF)
        return MAKEINTATOM(p[1]);
    SkipSzOrOrd(p, &buf);
    return buf.c_str();
}
} // namespace

BOOL AfxCreateDlgWndIndirect(CWnd* pWnd, LPCDLGTEMPLATE lpTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    if (!lpTemplate)
        return FALSE;
    std::string cls;
    AfxHookWindowCreate(pWnd, DialogTemplateClass(lpTemplate, cls));
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpTemplate, pParentWnd->GetSafeHwnd(), &AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (!hWnd)
        return FALSE;
    // Child dialogs take part in their parent's keyboard navigation.
    if (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)
        CWnd::ModifyStyleEx(hWnd, 0, WS_EX_CONTROLPARENT, 0);
    return TRUE;
}

BOOL AfxCreateDlgWnd(CWnd* pWnd, LPCSTR lpszTemplateName, CWnd* pParentWnd)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceA(hInst, lpszTemplateName, RT_DIALOG);
    if (!hRsrc)
        return FALSE;
    HGLOBAL hRes = ::LoadResource(hInst, hRsrc);
    if (!hRes)
        return FALSE;
    return AfxCreateDlgWndIndirect(pWnd, static_cast<LPCDLGTEMPLATE>(::LockResource(hRes)), pParentWnd, hInst);
}

// ---------------------------------------------------------------------------
// CDialog

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_pParentWnd(pParentWnd)
{
}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd)
{
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = (UINT)(UINT_PTR)lpszTemplateName;
}

CDialog::~CDialog() = default;

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = lpDialogTemplate;
    m_lpszTemplateName = nullptr;
    m_hDialogTemplate = nullptr;
    m_pParentWnd = pParentWnd;
    return lpDialogTemplate != nullptr;
}

BOOL CDialog::InitModalIndirect(HGLOBAL hDialogTemplate, CWnd* pParentWnd)
{
    m_hDialogTemplate = hDialogTemplate;
    m_lpszTemplateName = nullptr;
    m_lpDialogTemplate = nullptr;
    m_pParentWnd = pParentWnd;
    return hDialogTemplate != nullptr;
}

LPCDLGTEMPLATE CDialog::LockTemplate(HINSTANCE& hInst) const
{
    hInst = AfxGetResourceHandle();
    if (m_lpszTemplateName) {
        HRSRC hRsrc = ::FindResourceA(hInst, m_lpszTemplateName, RT_DIALOG);
        HGLOBAL hRes = hRsrc ? ::LoadResource(hInst, hRsrc) : nullptr;
        return hRes ? static_cast<LPCDLGTEMPLATE>(::LockResource(hRes)) : nullptr;
    }
    if (m_hDialogTemplate)
        return static_cast<LPCDLGTEMPLATE>(::GlobalLock(m_hDialogTemplate));
    return m_lpDialogTemplate;
}

HWND CDialog::GetModalOwner() const
{
    HWND hWnd = m_pParentWnd->GetSafeHwnd();
    if (!hWnd) {
        CWnd* pMain = AfxGetMainWnd();
        hWnd = pMain->GetSafeHwnd();
    }
    // Only a top-level window can own a dialog.
    while (hWnd && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    if (hWnd && !::IsWindow(hWnd))
        hWnd = nullptr;
    return hWnd;
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATE lpTemplate = LockTemplate(hInst);
    if (!lpTemplate)
        return -1;

    HWND hWndOwner = GetModalOwner();
    BOOL bEnableOwner = FALSE;
    if (hWndOwner && ::IsWindowEnabled(hWndOwner)) {
        ::EnableWindow(hWndOwner, FALSE);
        bEnableOwner = TRUE;
    }

    m_bModal = TRUE;
    m_bContinueModal = TRUE;
    m_nModalResult = -1;
    std::string cls;
    AfxHookWindowCreate(this, DialogTemplateClass(lpTemplate, cls));
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpTemplate, hWndOwner, &AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (m_hDialogTemplate)
        ::GlobalUnlock(m_hDialogTemplate);

    if (hWnd && m_bContinueModal) {
        // Templates without WS_VISIBLE still show.
        if (!(::GetWindowLongA(hWnd, GWL_STYLE) & WS_VISIBLE))
            ::ShowWindow(hWnd, SW_SHOWNORMAL);
        RunModalLoop();
    }
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, TRUE);
    if (hWndOwner && m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndOwner);
    if (m_hWnd)
        DestroyWindow();
    m_bModal = FALSE;
    return m_nModalResult;
}

int CDialog::RunModalLoop()
{
    HWND hWndOwner = GetModalOwner();
    BOOL bIdle = TRUE;
    while (m_bContinueModal) {
        MSG msg;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (bIdle) {
                // Idle: the owner may lay itself out; our controls update.
                if (hWndOwner)
                    ::SendMessageA(hWndOwner, WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)m_hWnd);
                if (m_hWnd)
                    SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
                AfxRunIdle();
                bIdle = FALSE;
                continue;
            }
            // Sent messages (from worker threads too) are handled while waiting.
            ::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            continue;
        }
        if (!AfxPumpMessage()) {
            // WM_QUIT: it was posted again for the outer loop; end here.
            m_bContinueModal = FALSE;
            break;
        }
        if (msg.message != WM_TIMER && msg.message != 0x0118 /* WM_SYSTIMER */)
            bIdle = TRUE;
        if (!m_hWnd)
            break;   // destroyed from inside
    }
    return m_nModalResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && !m_nIDHelp)
        m_nIDHelp = (UINT)(UINT_PTR)lpszTemplateName;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    m_bModal = FALSE;
    return AfxCreateDlgWnd(this, lpszTemplateName, pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    m_bModal = FALSE;
    return AfxCreateDlgWndIndirect(this, lpDialogTemplate, pParentWnd, AfxGetResourceHandle());
}

BOOL CDialog::HandleInitDialog()
{
    PreInitDialog();
    if (m_lpszTemplateName && !AfxExecuteDlgInit(m_hWnd, m_lpszTemplateName))
        return FALSE;
    return OnInitDialog();
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*)
{
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    if (m_bModal) {
        if (m_bContinueModal) {
            m_bContinueModal = FALSE;
            ::PostMessageA(m_hWnd, WM_NULL, 0, 0);   // wakes the loop
        }
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, nResult);   // hides a modeless dialog
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

void CDialog::NextDlgCtrl() const
{
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const
{
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl && pWndCtrl->m_hWnd)
        ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, (WPARAM)pWndCtrl->m_hWnd, 1);
}

void CDialog::MapDialogRect(LPRECT lpRect) const
{
    ::MapDialogRect(m_hWnd, lpRect);
}

void CDialog::SetDefID(UINT nID)
{
    ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const
{
    return (DWORD)::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0);
}

BOOL CDialog::ExecuteDlgInit(LPCSTR lpszResourceName)
{
    return AfxExecuteDlgInit(m_hWnd, lpszResourceName);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (!m_hWnd)
        return FALSE;
    // Dialogs inside other windows leave navigation to the top-level dialog
    // (IsDialogMessage there walks into child dialogs with WS_EX_CONTROLPARENT)
    // unless the parent is not a dialog at all.
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
        return ::IsDialogMessageA(m_hWnd, pMsg);
    return FALSE;
}

// ---------------------------------------------------------------------------
// CPropertyPage

CPropertyPage::CPropertyPage()
{
    CommonConstruct(nullptr, 0);
}

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
{
    CommonConstruct(MAKEINTRESOURCEA(nIDTemplate), nIDCaption);
    m_nIDHelp = nIDTemplate;
}

CPropertyPage::CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption)
{
    CommonConstruct(lpszTemplateName, nIDCaption);
}

void CPropertyPage::CommonConstruct(LPCSTR lpszTemplateName, UINT nIDCaption)
{
    std::memset(&m_psp, 0, sizeof m_psp);
    m_psp.dwSize = sizeof m_psp;
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.pszTemplate = lpszTemplateName;
    m_lpszTemplateName = lpszTemplateName;
    if (nIDCaption && m_strCaption.LoadString(nIDCaption)) {
        m_psp.dwFlags |= PSP_USETITLE;
    }
}

INT_PTR CALLBACK CPropertyPage::PageDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* psp = reinterpret_cast<PROPSHEETPAGEA*>(lParam);
        auto* pPage = psp ? reinterpret_cast<CPropertyPage*>(psp->lParam) : nullptr;
        if (!pPage)
            return TRUE;
        if (!pPage->m_hWnd)
            pPage->SubclassWindow(hWnd);
        pPage->m_bFirstSetActive = TRUE;
        return pPage->HandleInitDialog();
    }
    return FALSE;
}

BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset()
{
    OnCancel();
}

BOOL CPropertyPage::OnQueryCancel()
{
    return TRUE;
}

void CPropertyPage::OnOK()
{
}

void CPropertyPage::OnCancel()
{
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    HWND hSheet = ::GetParent(m_hWnd);
    if (hSheet)
        ::SendMessageA(hSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

CPropertySheet* CPropertyPage::GetSheet() const
{
    return dynamic_cast<CPropertySheet*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    LRESULT r = 0;
    bool handled = true;
    switch (pNMHDR->code) {
    case PSN_SETACTIVE:
        r = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        r = OnKillActive() ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        r = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        break;
    case PSN_RESET:
        OnReset();
        break;
    case PSN_QUERYCANCEL:
        r = OnQueryCancel() ? FALSE : TRUE;
        break;
    default:
        handled = false;
    }
    if (!handled)
        return CDialog::OnNotify(wParam, lParam, pResult);
    // The sheet reads the answer either way.
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, r);
    *pResult = r;
    return TRUE;
}

// ---------------------------------------------------------------------------
// CPropertySheet

namespace {
thread_local CPropertySheet* t_pSheetInit = nullptr;
}

CPropertySheet::CPropertySheet()
{
    CommonConstruct(nullptr, 0);
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    m_strCaption.LoadString(nIDCaption);
    CommonConstruct(pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    m_strCaption = pszCaption ? pszCaption : "";
    CommonConstruct(pParentWnd, iSelectPage);
}

void CPropertySheet::CommonConstruct(CWnd* pParentWnd, UINT iSelectPage)
{
    std::memset(&m_psh, 0, sizeof m_psh);
    m_psh.dwSize = sizeof m_psh;
    m_psh.dwFlags = PSH_NOAPPLYNOW;
    m_psh.nStartPage = iSelectPage;
    m_pParentWnd = pParentWnd;
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (!pPage)
        return;
    m_pages.push_back(pPage);
    if (m_hWnd) {
        PROPSHEETPAGEA psp = pPage->m_psp;
        psp.hInstance = AfxGetResourceHandle();
        psp.pfnDlgProc = &CPropertyPage::PageDlgProc;
        psp.lParam = (LPARAM)pPage;
        if (psp.dwFlags & PSP_USETITLE)
            psp.pszTitle = pPage->m_strCaption;
        if (HPROPSHEETPAGE h = ::CreatePropertySheetPageA(&psp))
            SendMessage(PSM_ADDPAGE, 0, (LPARAM)h);
    }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage)
{
    int i = GetPageIndex(pPage);
    if (i < 0)
        return;
    if (m_hWnd)
        SendMessage(PSM_REMOVEPAGE, (WPARAM)i, 0);
    m_pages.erase(m_pages.begin() + i);
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const
{
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i] == pPage)
            return (int)i;
    return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    int i = GetActiveIndex();
    return i >= 0 && i < (int)m_pages.size() ? m_pages[(size_t)i] : nullptr;
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd)
        return (int)m_psh.nStartPage;
    HWND hTab = (HWND)::SendMessageA(m_hWnd, PSM_GETTABCONTROL, 0, 0);
    return hTab ? (int)::SendMessageA(hTab, TCM_GETCURSEL, 0, 0) : -1;
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (!m_hWnd) {
        m_psh.nStartPage = (UINT)nPage;
        return TRUE;
    }
    return (BOOL)SendMessage(PSM_SETCURSEL, (WPARAM)nPage, 0);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage)
{
    int i = GetPageIndex(pPage);
    return i >= 0 && SetActivePage(i);
}

void CPropertySheet::SetTitle(LPCSTR lpszText)
{
    m_strCaption = lpszText ? lpszText : "";
    if (m_hWnd)
        SendMessage(PSM_SETTITLEA, 0, (LPARAM)(LPCSTR)m_strCaption);
}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT message, LPARAM)
{
    if (message == PSCB_INITIALIZED && t_pSheetInit) {
        CPropertySheet* pSheet = t_pSheetInit;
        t_pSheetInit = nullptr;
        pSheet->SubclassWindow(hWnd);
    }
    return 0;
}

INT_PTR CPropertySheet::DoModal()
{
    if (m_pages.empty() || m_hWnd)
        return -1;
    std::vector<PROPSHEETPAGEA> psp;
    for (CPropertyPage* pPage : m_pages) {
        PROPSHEETPAGEA p = pPage->m_psp;
        p.hInstance = AfxGetResourceHandle();
        p.pfnDlgProc = &CPropertyPage::PageDlgProc;
        p.lParam = (LPARAM)pPage;
        if (p.dwFlags & PSP_USETITLE)
            p.pszTitle = pPage->m_strCaption;
        psp.push_back(p);
    }
    PROPSHEETHEADERA psh = m_psh;
    psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    psh.dwFlags &= ~(DWORD)PSH_MODELESS;
    psh.pfnCallback = &CPropertySheet::SheetCallback;
    psh.hInstance = AfxGetResourceHandle();
    psh.pszCaption = m_strCaption;
    psh.nPages = (UINT)psp.size();
    psh.ppsp = psp.data();
    if (psh.nStartPage >= psh.nPages)
        psh.nStartPage = 0;
    HWND hWndOwner = m_pParentWnd->GetSafeHwnd();
    if (!hWndOwner)
        hWndOwner = AfxGetMainWnd()->GetSafeHwnd();
    while (hWndOwner && (::GetWindowLongA(hWndOwner, GWL_STYLE) & WS_CHILD))
        hWndOwner = ::GetParent(hWndOwner);
    psh.hwndParent = hWndOwner;

    CPropertySheet* pOld = t_pSheetInit;
    t_pSheetInit = this;
    INT_PTR r = ::PropertySheetA(&psh);
    t_pSheetInit = pOld;
    if (m_hWnd && !::IsWindow(m_hWnd))
        Detach();
    if (r < 0)
        return -1;
    return r > 0 ? IDOK : IDCANCEL;
}

void CPropertySheet::EndDialog(int nEndID)
{
    if (m_hWnd)
        ::PostMessageA(m_hWnd, WM_COMMAND, (WPARAM)(nEndID == IDOK ? IDOK : IDCANCEL), 0);
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWnd && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)))
        return (BOOL)::SendMessageA(m_hWnd, PSM_ISDIALOGMESSAGE, 0, (LPARAM)pMsg);
    return FALSE;
}
