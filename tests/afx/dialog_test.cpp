#include <gtest/gtest.h>
#include "afx/afx.h"
#include "tests/harness/harness.h"
#include <atomic>
#include <string>
#include <thread>
#include <vector>

// Templates in resources/afx_dialogs_test.rc.
enum {
    IDD_DATA = 30100, IDC_TEXT = 1001, IDC_NUMBER = 1002, IDC_CHECK = 1003, IDC_RADIO1 = 1004,
    IDC_RADIO3 = 1006, IDC_COMBO = 1007, IDC_LIST = 1008, IDC_COMBOEDIT = 1009,
    IDD_CHILD = 30101, IDC_CHILDEDIT = 1101, IDC_CHILDGO = 1102,
    IDD_PAGE1 = 30102, IDD_PAGE2 = 30103, IDC_PAGE1EDIT = 1201,
};

namespace {

// A top-level window that owns the dialogs and counts idle notices.
class COwnerWnd : public CWnd
{
public:
    int enterIdle = 0;
    UINT idleReason = 99;
    HWND idleDialog = nullptr;
    BOOL CreateTop()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                        50, 50, 400, 300, nullptr, nullptr);
    }
protected:
    afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho)
    {
        ++enterIdle;
        idleReason = nWhy;
        idleDialog = pWho->GetSafeHwnd();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(COwnerWnd, CWnd)
    ON_WM_ENTERIDLE()
END_MESSAGE_MAP()

class CDataDlg : public CDialog
{
public:
    explicit CDataDlg(CWnd* pParent) : CDialog(IDD_DATA, pParent) {}
    CString m_text = "start";
    int m_number = 42;
    int m_check = 1;
    int m_radio = 1;
    int m_combo = 0;
    CString m_list = "Green";
    CString m_comboText = "typed";
    UINT m_unsigned = 7;

    // Seen while the dialog ran.
    BOOL ownerEnabled = TRUE;
    int comboCount = -1;
    CString loadedText, loadedNumber, loadedList, loadedComboEdit;
    int loadedRadio = -1;

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_TEXT, m_text);
        DDX_Text(pDX, IDC_NUMBER, m_number);
        DDX_Check(pDX, IDC_CHECK, m_check);
        DDX_Radio(pDX, IDC_RADIO1, m_radio);
        DDX_CBIndex(pDX, IDC_COMBO, m_combo);
        DDX_LBString(pDX, IDC_LIST, m_list);
        DDX_CBString(pDX, IDC_COMBOEDIT, m_comboText);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ownerEnabled = ::IsWindowEnabled(m_pParentWnd->m_hWnd);
        comboCount = (int)SendDlgItemMessage(IDC_COMBO, CB_GETCOUNT);
        GetDlgItemText(IDC_TEXT, loadedText);
        GetDlgItemText(IDC_NUMBER, loadedNumber);
        GetDlgItemText(IDC_COMBOEDIT, loadedComboEdit);
        loadedRadio = GetCheckedRadioButton(IDC_RADIO1, IDC_RADIO3);
        int sel = (int)SendDlgItemMessage(IDC_LIST, LB_GETCURSEL);
        char buf[64] = "";
        if (sel >= 0)
            SendDlgItemMessage(IDC_LIST, LB_GETTEXT, (WPARAM)sel, (LPARAM)buf);
        loadedList = buf;
        SetTimer(1, 30);   // timers come after idle
        return TRUE;
    }
protected:
    afx_msg void OnTimer(UINT_PTR)
    {
        // Edit only once the dialog went idle (a busy queue may come first).
        if (static_cast<COwnerWnd*>(m_pParentWnd)->enterIdle == 0)
            return;
        KillTimer(1);
        SetDlgItemText(IDC_TEXT, "edited");
        SetDlgItemText(IDC_NUMBER, " -17");
        CheckDlgButton(IDC_CHECK, 0);
        CheckRadioButton(IDC_RADIO1, IDC_RADIO3, IDC_RADIO3);
        SendDlgItemMessage(IDC_COMBO, CB_SETCURSEL, 2);
        SendDlgItemMessage(IDC_LIST, LB_SETCURSEL, 0);
        SetDlgItemText(IDC_COMBOEDIT, "other");
        PostMessage(WM_COMMAND, IDOK);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDataDlg, CDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(Dialog, ModalFromResourceExchangesDataBothWaysWithOwnerDisabled)
{
    COwnerWnd owner;
    ASSERT_TRUE(owner.CreateTop());
    CDataDlg dlg(&owner);
    EXPECT_EQ(IDOK, dlg.DoModal());

    // Members to controls at start, the dialog-init data filled the lists.
    EXPECT_FALSE(dlg.ownerEnabled);
    EXPECT_EQ(3, dlg.comboCount);
    EXPECT_STREQ("start", dlg.loadedText);
    EXPECT_STREQ("42", dlg.loadedNumber);
    EXPECT_STREQ("typed", dlg.loadedComboEdit);
    EXPECT_EQ(1005, dlg.loadedRadio);
    EXPECT_STREQ("Green", dlg.loadedList);
    // Controls to members on OK.
    EXPECT_STREQ("edited", dlg.m_text);
    EXPECT_EQ(-17, dlg.m_number);
    EXPECT_EQ(0, dlg.m_check);
    EXPECT_EQ(2, dlg.m_radio);
    EXPECT_EQ(2, dlg.m_combo);
    EXPECT_STREQ("Red", dlg.m_list);
    EXPECT_STREQ("other", dlg.m_comboText);
    // The owner heard of the idle dialog and is usable again.
    EXPECT_GE(owner.enterIdle, 1);
    EXPECT_EQ((UINT)MSGF_DIALOGBOX, owner.idleReason);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    owner.DestroyWindow();
}

// A bad number keeps the dialog open: the box names the problem, the focus
// goes to the edit and nothing is stored.
class CNumberDlg : public CDialog
{
public:
    CNumberDlg() : CDialog(IDD_DATA) {}
    int m_number = 5;
    UINT m_unsigned = 9;
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, IDC_NUMBER, m_number);
        DDX_Text(pDX, IDC_TEXT, m_unsigned);
    }
};

TEST(Dialog, BadNumbersFailTheExchangeAndKeepTheValues)
{
    CNumberDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_DATA));
    // The answerer must press buttons of the error boxes only, not of this dialog.
    ::SetPropA(dlg, "vt.answered", reinterpret_cast<HANDLE>(1));
    vt::ModalAnswerer answers;
    struct Case { const char* number; const char* unsignedText; BOOL ok; const char* box; };
    const Case cases[] = {
        {"12x", "1", FALSE, "Please enter an integer."},
        {"", "1", FALSE, "Please enter an integer."},
        {"99999999999", "1", FALSE, "Please enter an integer."},
        {"3", "-1", FALSE, "Please enter a positive integer."},
        {"3", "4294967296", FALSE, "Please enter a positive integer."},
        {" 8 ", "4294967295", TRUE, nullptr},
    };
    for (const Case& c : cases) {
        dlg.m_number = 5;
        answers.Clear();
        dlg.SetDlgItemText(IDC_NUMBER, c.number);
        dlg.SetDlgItemText(IDC_TEXT, c.unsignedText);
        EXPECT_EQ(c.ok, dlg.UpdateData(TRUE)) << c.number << " " << c.unsignedText;
        if (c.box) {
            ASSERT_EQ(1u, answers.Count());
            EXPECT_EQ(c.box, answers.Last().text);
        } else {
            EXPECT_EQ(0u, answers.Count());
            EXPECT_EQ(8, dlg.m_number);
            EXPECT_EQ(4294967295u, dlg.m_unsigned);
        }
    }
    dlg.DestroyWindow();
}

// An in-memory template: header, no menu, default class, title, one button.
std::vector<WORD> MakeTemplate()
{
    std::vector<WORD> t(sizeof(DLGTEMPLATE) / 2, 0);
    auto* dt = reinterpret_cast<DLGTEMPLATE*>(t.data());
    dt->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    dt->cdit = 1;
    dt->cx = 120;
    dt->cy = 60;
    t.push_back(0);   // menu
    t.push_back(0);   // class
    for (const char* p = "Memory"; *p; ++p)
        t.push_back((WORD)*p);
    t.push_back(0);
    if (t.size() % 2)
        t.push_back(0);   // items are DWORD aligned
    size_t at = t.size();
    t.resize(at + sizeof(DLGITEMTEMPLATE) / 2, 0);
    auto* it = reinterpret_cast<DLGITEMTEMPLATE*>(t.data() + at);
    it->style = WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON;
    it->x = 10; it->y = 10; it->cx = 50; it->cy = 14;
    it->id = IDOK;
    t.push_back(0xFFFF);
    t.push_back(0x0080);   // button
    for (const char* p = "OK"; *p; ++p)
        t.push_back((WORD)*p);
    t.push_back(0);
    t.push_back(0);   // no creation data
    return t;
}

class CMemoryDlg : public CDialog
{
public:
    std::atomic<DWORD> sentOnThread{0};
    LRESULT workerGot = 0;
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        // A worker thread's SendMessage must be served while the dialog runs.
        HWND hWnd = m_hWnd;
        std::thread([hWnd, this] {
            workerGot = ::SendMessageA(hWnd, WM_APP + 1, 5, 0);
            ::PostMessageA(hWnd, WM_COMMAND, IDOK, 0);
        }).detach();
        return TRUE;
    }
protected:
    afx_msg LRESULT OnFromWorker(WPARAM w, LPARAM)
    {
        sentOnThread = ::GetCurrentThreadId();
        return (LRESULT)w * 2;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CMemoryDlg, CDialog)
    ON_MESSAGE(WM_APP + 1, OnFromWorker)
END_MESSAGE_MAP()

TEST(Dialog, ModalFromMemoryTemplateServesSentMessages)
{
    std::vector<WORD> t = MakeTemplate();
    CMemoryDlg dlg;
    ASSERT_TRUE(dlg.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATE>(t.data())));
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(10, dlg.workerGot);
    EXPECT_EQ(::GetCurrentThreadId(), dlg.sentOnThread.load());
}

TEST(Dialog, EndingInInitDialogSkipsTheLoopAndMissingTemplateFails)
{
    class CQuickDlg : public CDialog
    {
    public:
        BOOL OnInitDialog() override { EndDialog(77); return TRUE; }
    };
    std::vector<WORD> t = MakeTemplate();
    CQuickDlg dlg;
    dlg.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATE>(t.data()));
    EXPECT_EQ(77, dlg.DoModal());

    CDialog missing(31999);
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_FALSE(missing.Create(31999));
}

class CChildDlg : public CDialog
{
public:
    int inits = 0;
    int clicks = 0;
    BOOL OnInitDialog() override { ++inits; return CDialog::OnInitDialog(); }
protected:
    afx_msg void OnGo() { ++clicks; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CChildDlg, CDialog)
    ON_BN_CLICKED(IDC_CHILDGO, OnGo)
END_MESSAGE_MAP()

TEST(Dialog, ModelessChildInsideAnotherWindow)
{
    COwnerWnd host;
    ASSERT_TRUE(host.CreateTop());
    CChildDlg child;
    ASSERT_TRUE(child.Create(IDD_CHILD, &host));
    EXPECT_EQ(1, child.inits);
    EXPECT_TRUE(host.IsChild(&child));
    EXPECT_TRUE(child.GetExStyle() & WS_EX_CONTROLPARENT);
    EXPECT_EQ(&child, CWnd::FromHandlePermanent(child.m_hWnd));

    // The button's click reaches the dialog's map.
    ::SendMessageA(::GetDlgItem(child, IDC_CHILDGO), BM_CLICK, 0, 0);
    EXPECT_EQ(1, child.clicks);

    // Dialog units follow the dialog's font: the edit is 80 x 12 units at (4, 4). The
    // wrapper must agree with the system's own mapping.
    CRect mapped(4, 4, 84, 16);
    child.MapDialogRect(&mapped);
    CRect system(4, 4, 84, 16);
    ASSERT_TRUE(::MapDialogRect(child, &system));
    EXPECT_EQ(system, mapped);
    // The dialog manager converts the position and the size each on its own (rounding
    // each); the edit may be a pixel taller still, since Wine grows a bordered edit to fit
    // its font, so its bottom is compared within one pixel.
    CRect position(4, 4, 0, 0), size(80, 12, 0, 0);
    child.MapDialogRect(&position);
    child.MapDialogRect(&size);
    CRect units(position.left, position.top, position.left + size.left, position.top + size.top);
    CRect edit;
    child.GetDlgItem(IDC_CHILDEDIT)->GetWindowRect(&edit);
    child.ScreenToClient(&edit);
    EXPECT_EQ(units.TopLeft(), edit.TopLeft());
    EXPECT_EQ(units.right, edit.right);
    EXPECT_LE(abs(edit.bottom - units.bottom), 1) << edit;

    // Keyboard navigation: NextDlgCtrl and GotoDlgCtrl move the focus.
    host.SetForegroundWindow();
    child.GotoDlgCtrl(child.GetDlgItem(IDC_CHILDEDIT));
    EXPECT_EQ(::GetDlgItem(child, IDC_CHILDEDIT), ::GetFocus());
    child.NextDlgCtrl();
    EXPECT_EQ(::GetDlgItem(child, IDC_CHILDGO), ::GetFocus());
    child.SetDefID(IDC_CHILDGO);
    EXPECT_EQ((DWORD)MAKELONG(IDC_CHILDGO, DC_HASDEFID), child.GetDefID());

    // A Tab key through the thread's pre-translation moves the focus too.
    child.GotoDlgCtrl(child.GetDlgItem(IDC_CHILDEDIT));
    MSG msg = {};
    msg.hwnd = ::GetDlgItem(child, IDC_CHILDEDIT);
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_TAB;
    EXPECT_TRUE(AfxGetThread()->PreTranslateMessage(&msg));
    EXPECT_EQ(::GetDlgItem(child, IDC_CHILDGO), ::GetFocus());

    // Any window's dialog navigation: input only.
    CWnd* pWnd = &child;
    msg.hwnd = ::GetDlgItem(child, IDC_CHILDGO);
    EXPECT_TRUE(pWnd->PreTranslateInput(&msg));
    EXPECT_EQ(::GetDlgItem(child, IDC_CHILDEDIT), ::GetFocus());
    msg.message = WM_TIMER;
    EXPECT_FALSE(pWnd->PreTranslateInput(&msg));
    EXPECT_EQ(::GetDlgItem(child, IDC_CHILDEDIT), ::GetFocus());

    host.DestroyWindow();
    EXPECT_EQ(nullptr, child.m_hWnd);
}

std::vector<std::string>& PageLog()
{
    static std::vector<std::string> log;
    return log;
}

class CLogPage : public CPropertyPage
{
public:
    CLogPage(UINT id, const char* name) : CPropertyPage(id), m_name(name) {}
    std::string m_name;
    CString m_text = "hello";
    BOOL OnInitDialog() override { PageLog().push_back(m_name + " init"); return CPropertyPage::OnInitDialog(); }
    BOOL OnSetActive() override
    {
        PageLog().push_back(m_name + " set");
        BOOL r = CPropertyPage::OnSetActive();
        HWND hSheet = ::GetParent(m_hWnd);
        if (m_name == "first") {
            SetDlgItemText(IDC_PAGE1EDIT, "changed");
            ::PostMessageA(hSheet, PSM_SETCURSEL, 1, 0);
        } else {
            ::PostMessageA(hSheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        }
        return r;
    }
    BOOL OnKillActive() override { PageLog().push_back(m_name + " kill"); return CPropertyPage::OnKillActive(); }
    void OnOK() override { PageLog().push_back(m_name + " ok"); }
    void DoDataExchange(CDataExchange* pDX) override
    {
        if (m_name == "first")
            DDX_Text(pDX, IDC_PAGE1EDIT, m_text);
    }
};

class CLogSheet : public CPropertySheet
{
public:
    CLogSheet() : CPropertySheet("Sheet") {}
    int activates = 0;
protected:
    afx_msg void OnActivate(UINT, CWnd*, BOOL) { ++activates; Default(); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CLogSheet, CPropertySheet)
    ON_WM_ACTIVATE()
END_MESSAGE_MAP()

TEST(Dialog, PropertySheetSwitchesPages)
{
    PageLog().clear();
    CLogPage first(IDD_PAGE1, "first"), second(IDD_PAGE2, "second");
    CLogSheet sheet;
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    EXPECT_EQ(2, sheet.GetPageCount());
    EXPECT_EQ(IDOK, sheet.DoModal());

    const std::vector<std::string> expected = {
        "first init", "first set", "first kill", "second init", "second set",
        "second kill", "first ok", "second ok"};
    EXPECT_EQ(expected, PageLog());
    EXPECT_STREQ("changed", first.m_text);
    EXPECT_EQ(nullptr, first.m_hWnd);
    EXPECT_EQ(nullptr, sheet.m_hWnd);
}

} // namespace
