// The editing window core: start state, fonts, hints, errors, keys and the page-setup values
// (the focus: window_focus_serial_test.cpp).
#include "tests/editor/window/window_fixture.h"
#include "editor/window/OEFindReplaceDlg.h"
#include <vector>

namespace {

// A control that records the commands it receives.
class RecordingCtrl : public TWKEditCtrl
{
public:
    std::vector<UINT> commands;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (lParam == 0)
            commands.push_back(LOWORD(wParam));
        return TWKEditCtrl::OnCommand(wParam, lParam);
    }
};

// The application's own message step: pre-translation walk, then dispatch.
void PumpWithPreTranslate()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE))
        AfxPumpMessage();
}

void PostKey(HWND hWnd, UINT vk, bool ctrl = false)
{
    BYTE keys[256] = {};
    if (ctrl)
        keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    ::PostMessageA(hWnd, WM_KEYDOWN, vk, 1);
    PumpWithPreTranslate();
    ::PostMessageA(hWnd, WM_KEYUP, vk, 0xC0000001);
    PumpWithPreTranslate();
    BYTE none[256] = {};
    ::SetKeyboardState(none);
}

// The icon of the last message box activated while it lives.
struct IconSpy
{
    static HICON s_icon;
    HHOOK hook;
    // Read when the box has made its controls, not at its activation: a box need not be
    // activated while another program on the display holds the foreground.
    IconSpy() { s_icon = NULL; hook = ::SetWindowsHookExA(WH_CALLWNDPROCRET, Proc, NULL, ::GetCurrentThreadId()); }
    ~IconSpy() { ::UnhookWindowsHookEx(hook); }
    static BOOL CALLBACK Child(HWND h, LPARAM)
    {
        if ((::GetWindowLongA(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            s_icon = (HICON)::SendMessageA(h, STM_GETICON, 0, 0);
        return TRUE;
    }
    static LRESULT CALLBACK Proc(int code, WPARAM w, LPARAM l)
    {
        const CWPRETSTRUCT* p = reinterpret_cast<const CWPRETSTRUCT*>(l);
        if (code == HC_ACTION && p->message == WM_INITDIALOG)
            ::EnumChildWindows(p->hwnd, Child, 0);
        return ::CallNextHookEx(NULL, code, w, l);
    }
};
HICON IconSpy::s_icon = NULL;

SCROLLINFO BarInfo(HWND hWnd, int nBar)
{
    SCROLLINFO si = {sizeof si, SIF_ALL};
    ::GetScrollInfo(hWnd, nBar, &si);
    return si;
}

TEST(WindowCore, InitViewStartsOverAndForgetsFindDialogs)
{
    TWKEditCtrl ctrl;
    vt::CtrlHost host(&ctrl);
    host.SetText(vt::NumberedLines(50));
    TWKEdit* pEdit = ctrl.GetEdit();
    pEdit->GetLine(3)->dwFlags |= LINE_BOOKMARK;
    pEdit->GetLine(7)->dwFlags |= LINE_BOOKMARK;
    pEdit->m_nBookmarkCount = 9;

    // Scrolled, a selection, an open Find dialog.
    ctrl.m_pCaretLine = pEdit->GetLine(20);
    ctrl.m_nCaretLine = 20;
    ctrl.m_nCaretCol = 4;
    ctrl.m_nFirstCol = 8;
    ctrl.SetTopLine(18, FALSE);
    ctrl.m_bSelection = TRUE;
    ctrl.m_nSelMode = 2;
    ctrl.m_pSelStartLine = pEdit->GetLine(19);
    ctrl.m_pSelEndLine = pEdit->GetLine(20);
    ctrl.m_bUpdate = FALSE;
    OEFindReplaceDlg find;
    ASSERT_TRUE(find.CreateEx(0, "STATIC", "find", WS_POPUP, 0, 0, 10, 10, NULL, NULL));
    ctrl.m_pFindDlg = &find;
    ctrl.m_bFindDlgOpen = TRUE;

    EXPECT_EQ(0, ctrl.InitView());
    struct { const char* what; long long got, want; } cases[] = {
        {"top line", ctrl.m_nTopLine, 1},
        {"top node", (long long)(INT_PTR)ctrl.m_pTopLine, (long long)(INT_PTR)pEdit->GetFirstLine()},
        {"caret line", ctrl.m_nCaretLine, 1},
        {"caret node", (long long)(INT_PTR)ctrl.m_pCaretLine, (long long)(INT_PTR)pEdit->GetFirstLine()},
        {"caret column", ctrl.m_nCaretCol, 0},
        {"first column", ctrl.m_nFirstCol, 0},
        {"selection", ctrl.m_bSelection, 0},
        {"selection mode", ctrl.m_nSelMode, 1},
        {"selection start", (long long)(INT_PTR)ctrl.m_pSelStartLine, 0},
        {"bookmarks", pEdit->m_nBookmarkCount, 2},
        {"update flag", ctrl.m_bUpdate, 1},
        {"find dialog", (long long)(INT_PTR)ctrl.m_pFindDlg, 0},
        {"find open", ctrl.m_bFindDlgOpen, 0},
        {"find window alive", ::IsWindow(find.m_hWnd), 1},
        {"vertical max", BarInfo(ctrl.m_hWnd, SB_VERT).nMax, 49},
        {"horizontal max", BarInfo(ctrl.m_hWnd, SB_HORZ).nMax, TWK_MAX_COLUMNS},
        {"horizontal page", BarInfo(ctrl.m_hWnd, SB_HORZ).nPage, 32},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.want, c.got) << c.what;

    // A window that goes while its dialog is open closes the dialog.
    {
        TWKEditCtrl other;
        other.m_pFindDlg = &find;
        other.m_bFindDlgOpen = TRUE;
    }
    EXPECT_FALSE(::IsWindow(find.m_hWnd));
}

TEST(WindowCore, FontsAreFixedPitchAndSetTheMetrics)
{
    TWKEditCtrl ctrl;
    ctrl.GetEdit()->m_strFontName = "Arial";
    vt::CtrlHost host(&ctrl);
    LOGFONTA lf = {};
    ctrl.GetFont()->GetLogFont(&lf);
    EXPECT_EQ(FIXED_PITCH, lf.lfPitchAndFamily & 3) << "a proportional face still asks for fixed pitch";

    ctrl.GetEdit()->m_strFontName = CString('x', 40);
    ctrl.InitView();
    ctrl.GetFont()->GetLogFont(&lf);
    EXPECT_EQ(31, (int)strlen(lf.lfFaceName));

    CFont font;
    LOGFONTA big = {};
    big.lfHeight = -24;
    lstrcpyA(big.lfFaceName, "Courier New");
    ASSERT_TRUE(font.CreateFontIndirect(&big));
    ctrl.SetFont(&font, TRUE);
    HDC hdc = ::GetDC(ctrl.m_hWnd);
    HGDIOBJ hOld = ::SelectObject(hdc, ctrl.GetFont()->GetSafeHandle());
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(hdc, &tm);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(ctrl.m_hWnd, hdc);
    EXPECT_EQ(tm.tmHeight + tm.tmExternalLeading, ctrl.m_nLineHeight);
    EXPECT_EQ(ctrl.m_nLineHeight, ctrl.m_nTextLeft);
    EXPECT_EQ(tm.tmAveCharWidth, ctrl.m_nCharWidth);
    EXPECT_GT(ctrl.m_nLineHeight, 20);
}

TEST(WindowCore, HintDeleteLineMakesTheLinePointersValid)
{
    struct Case {
        const char* what;
        int caretLine;       // caret before the change
        int topLine;
        int keepLines;       // lines the text has after it
        bool caretStays;     // the caret's node is still in the list
        int wantCaret, wantTop;
    } cases[] = {
        {"caret line still listed, top above it", 30, 25, 40, true, 30, 25},
        {"caret line gone: the line with its number", 30, 25, 40, false, 30, 30},
        {"text now shorter than the caret number", 30, 25, 12, false, 12, 12},
    };
    for (const Case& c : cases)
    {
        TWKEditCtrl ctrl;
        vt::CtrlHost host(&ctrl);
        host.SetText(vt::NumberedLines(40));
        TWKEdit* pEdit = ctrl.GetEdit();
        ctrl.m_pCaretLine = pEdit->GetLine(c.caretLine);
        ctrl.m_nCaretLine = c.caretLine;
        ctrl.SetTopLine(c.topLine, FALSE);
        if (!c.caretStays)
            vt::SetStoreText(pEdit, vt::NumberedLines(c.keepLines));   // every old node is gone
        TWKEditHint hint(pEdit->GetFirstLine());
        ctrl.UpdateViews(NULL, IDS_TWK_DELETELINE, &hint);
        EXPECT_EQ(c.wantCaret, ctrl.m_nCaretLine) << c.what;
        EXPECT_EQ(c.wantTop, ctrl.m_nTopLine) << c.what;
        EXPECT_EQ(pEdit->GetLine(c.wantCaret), ctrl.m_pCaretLine) << c.what;
        EXPECT_EQ(pEdit->GetLine(c.wantTop), ctrl.m_pTopLine) << c.what;
    }
}

TEST(WindowCore, ReportErrorShowsOnlyWhenAskedWithTheExclamationIcon)
{
    TWKEditCtrl ctrl;
    vt::CtrlHost host(&ctrl);
    vt::ModalAnswerer answerer;
    EXPECT_EQ(IDS_TWK_READONLY, ctrl.ReportError(IDS_TWK_READONLY, FALSE));
    EXPECT_EQ(0u, answerer.Count());

    {
        IconSpy spy;
        EXPECT_EQ(IDS_TWK_READONLY, ctrl.ReportError(IDS_TWK_READONLY, TRUE));
        EXPECT_EQ(::LoadIconA(NULL, IDI_EXCLAMATION), IconSpy::s_icon);
    }
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_NE(std::string::npos, answerer.Last().text.find("The file is read only."));

    EXPECT_EQ(IDS_TWK_NOTFOUND, ctrl.ReportErrorFormat(IDS_TWK_NOTFOUND, "needle", TRUE));
    ASSERT_EQ(2u, answerer.Count());
    EXPECT_NE(std::string::npos, answerer.Last().text.find("The string 'needle' was not found."));
    EXPECT_EQ(12345, ctrl.ReportError(12345, TRUE)) << "an unknown id shows nothing";
    EXPECT_EQ(2u, answerer.Count());
}

TEST(WindowCore, EngineKeysReachTheWindowInADialogAndInAFrame)
{
    // In a dialog: the dialog's navigation hands every key to the control.
    CDialog dlg;
    struct {
        DLGTEMPLATE t;
        WORD menu, cls, title;
    } tmpl = {{WS_POPUP | WS_VISIBLE | DS_SETFONT * 0, 0, 0, 0, 0, 200, 100}, 0, 0, 0};
    ASSERT_TRUE(dlg.CreateIndirect(&tmpl.t, NULL));
    RecordingCtrl inDialog;
    ASSERT_TRUE(inDialog.Create(NULL, "TWKEdit", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(0, 0, 150, 80), &dlg, 101));
    inDialog.SetFocus();
    PostKey(inDialog.m_hWnd, 'A', true);
    PostKey(inDialog.m_hWnd, VK_DOWN);
    EXPECT_EQ((std::vector<UINT>{ID_TWK_SELECTALL, ID_TWK_DOWN}), inDialog.commands);
    inDialog.DestroyWindow();
    dlg.DestroyWindow();

    // In a frame: its own table wins for its keys, the engine's gets the rest.
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "frame"));
    ACCEL accel = {FVIRTKEY | FCONTROL, 'A', 0x7123};
    pFrame->m_hAccelTable = ::CreateAcceleratorTableA(&accel, 1);
    RecordingCtrl inFrame;
    ASSERT_TRUE(inFrame.Create(NULL, "TWKEdit", WS_CHILD | WS_VISIBLE, CRect(0, 0, 150, 80), pFrame, 102));
    pFrame->ShowWindow(SW_SHOW);
    inFrame.SetFocus();
    PostKey(inFrame.m_hWnd, 'A', true);
    PostKey(inFrame.m_hWnd, VK_F3);
    PostKey(inFrame.m_hWnd, 'C', true);
    EXPECT_EQ((std::vector<UINT>{ID_TWK_FINDNEXT, ID_EDIT_COPY}), inFrame.commands);
    inFrame.DestroyWindow();
    ::DestroyAcceleratorTable(pFrame->m_hAccelTable);
    pFrame->m_hAccelTable = NULL;
    pFrame->DestroyWindow();
}

TEST(WindowCore, PageSetupIsReadAtConstructionAndWrittenAtDestruction)
{
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileString("PageSetup", "Header", "H &p");
    pApp->WriteProfileInt("PageSetup", "FooterTime", 1);
    {
        TWKEditCtrl ctrl;
        EXPECT_STREQ("H &p", ctrl.m_dlgPageSetup.m_strHeader);
        EXPECT_STREQ("Page: &p", ctrl.m_dlgPageSetup.m_strFooter);
        EXPECT_EQ(1, ctrl.m_dlgPageSetup.m_nFooterTime);
        ctrl.m_dlgPageSetup.m_strFooter = "F";
        ctrl.m_dlgPageSetup.m_nHeaderTime = 1;
    }
    EXPECT_STREQ("F", pApp->GetProfileString("PageSetup", "Footer"));
    EXPECT_EQ(1u, pApp->GetProfileInt("PageSetup", "HeaderTime", 0));
    EXPECT_STREQ("H &p", pApp->GetProfileString("PageSetup", "Header"));
}

} // namespace
