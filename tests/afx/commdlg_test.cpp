#include <gtest/gtest.h>
#include "afx/afx.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

// The test ends the Explorer dialog from OnInitDone: by typing a name and
// pressing OK, or by cancelling.
class CEndingFileDialog : public CFileDialog
{
public:
    using CFileDialog::CFileDialog;
    std::string typeName;          // empty: cancel
    int initDone = 0;
    std::string frameClass;
    BOOL frameHasOk = FALSE;
    void OnInitDone() override
    {
        ++initDone;
        CWnd* pFrame = GetParent();
        char cls[64] = "";
        ::GetClassNameA(pFrame->GetSafeHwnd(), cls, sizeof cls);
        frameClass = cls;
        frameHasOk = pFrame->GetDlgItem(IDOK) != nullptr;
        if (typeName.empty()) {
            pFrame->PostMessage(WM_COMMAND, IDCANCEL);
        } else {
            // The name field: cmb13 in the system's template, edt1 in older ones.
            pFrame->SendMessage(CDM_SETCONTROLTEXT, 0x47C, (LPARAM)typeName.c_str());
            pFrame->SendMessage(CDM_SETCONTROLTEXT, 0x480, (LPARAM)typeName.c_str());
            pFrame->PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)pFrame->GetDlgItem(IDOK)->GetSafeHwnd());
        }
    }
    // Rejecting the name keeps the dialog open: the test then cancels it.
    BOOL rejectName = FALSE;
    int fileOk = 0;
    BOOL OnFileNameOK() override
    {
        ++fileOk;
        if (rejectName)
            GetParent()->PostMessage(WM_COMMAND, IDCANCEL);
        return rejectName;
    }
};

TEST(CommonDialog, ExplorerFileDialogReachesInitDoneAndIsEndedByTheTest)
{
    vt::TempDir dir;
    std::string file = dir.Write("notes.kel", "x");

    CEndingFileDialog cancel(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "Kel files (*.kel)|*.kel|All (*.*)|*.*||");
    EXPECT_EQ(IDCANCEL, cancel.DoModal());
    EXPECT_EQ(1, cancel.initDone);
    EXPECT_EQ("#32770", cancel.frameClass);
    EXPECT_TRUE(cancel.frameHasOk);
    EXPECT_EQ(nullptr, cancel.m_hWnd);

    CEndingFileDialog ok(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "Kel files (*.kel)|*.kel|All (*.*)|*.*||");
    ok.m_ofn.lpstrInitialDir = dir.Path().c_str();
    ok.typeName = "notes.kel";
    EXPECT_EQ(IDOK, ok.DoModal());
    EXPECT_EQ(1, ok.fileOk);
    EXPECT_STREQ(file.c_str(), ok.GetPathName());

    CEndingFileDialog rejected(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "Kel files (*.kel)|*.kel||");
    rejected.m_ofn.lpstrInitialDir = dir.Path().c_str();
    rejected.typeName = "notes.kel";
    rejected.rejectName = TRUE;
    EXPECT_EQ(IDCANCEL, rejected.DoModal());
    EXPECT_EQ(1, rejected.fileOk);


    // The name parts of a chosen file.
    CFileDialog chosen(TRUE);
    lstrcpyA(chosen.m_ofn.lpstrFile, file.c_str());
    EXPECT_STREQ(file.c_str(), chosen.GetPathName());
    EXPECT_STREQ("notes.kel", chosen.GetFileName());
    EXPECT_STREQ("kel", chosen.GetFileExt());
    EXPECT_STREQ("notes", chosen.GetFileTitle());
}

TEST(CommonDialog, MultipleSelectionPathsFromTheBuffer)
{
    struct Case { std::string buffer; DWORD flags; std::vector<std::string> paths; bool oldStyle = false; };
    const std::vector<Case> cases = {
        {std::string("C:\\dir\0a.c\0b.h\0\0", 16), OFN_ALLOWMULTISELECT, {"C:\\dir\\a.c", "C:\\dir\\b.h"}},
        {std::string("C:\\\0a.c\0\0", 9), OFN_ALLOWMULTISELECT, {"C:\\a.c"}},
        {std::string("C:\\dir\\one.c\0\0", 14), OFN_ALLOWMULTISELECT, {"C:\\dir\\one.c"}},
        {std::string("C:\\dir\\one.c\0", 13), 0, {"C:\\dir\\one.c"}},
        {std::string("\0\0", 2), OFN_ALLOWMULTISELECT, {}},
        // The old style separates the folder and the names with spaces.
        {"C:\\DIR A.C B.H", OFN_ALLOWMULTISELECT, {"C:\\DIR\\A.C", "C:\\DIR\\B.H"}, true},
        {"C:\\ A.C  B.H ", OFN_ALLOWMULTISELECT, {"C:\\A.C", "C:\\B.H"}, true},
        {"C:\\DIR\\ONE.C", OFN_ALLOWMULTISELECT, {"C:\\DIR\\ONE.C"}, true},
        {"C:\\My Dir\\one.c", 0, {"C:\\My Dir\\one.c"}, true},
    };
    for (const Case& c : cases) {
        CFileDialog dlg(TRUE);
        std::vector<char> buf(65536, 0);
        std::copy(c.buffer.begin(), c.buffer.end(), buf.begin());
        dlg.m_ofn.lpstrFile = buf.data();
        dlg.m_ofn.nMaxFile = (DWORD)buf.size();
        dlg.m_ofn.Flags |= c.flags;
        if (c.oldStyle)
            dlg.m_ofn.Flags &= ~OFN_EXPLORER;
        std::vector<std::string> got;
        for (POSITION pos = dlg.GetStartPosition(); pos;)
            got.push_back((LPCSTR)dlg.GetNextPathName(pos));
        EXPECT_EQ(c.paths, got);
    }
}

int g_deleted = 0;

class CCountedFind : public CFindReplaceDialog
{
public:
    ~CCountedFind() override { ++g_deleted; }
};

class CFindOwner : public CWnd
{
public:
    std::vector<std::string> events;
    CFindReplaceDialog* notifier = nullptr;
protected:
    afx_msg LRESULT OnFindReplace(WPARAM, LPARAM lParam)
    {
        CFindReplaceDialog* p = CFindReplaceDialog::GetNotifier(lParam);
        notifier = p;
        if (!p)
            events.push_back("no notifier");
        else if (p->IsTerminating())
            events.push_back("term");
        else if (p->FindNext())
            events.push_back(std::string("next ") + (LPCSTR)p->GetFindString() + (p->SearchDown() ? " down" : " up") +
                             (p->MatchCase() ? " case" : ""));
        else if (p->ReplaceCurrent())
            events.push_back(std::string("replace ") + (LPCSTR)p->GetReplaceString());
        else if (p->ReplaceAll())
            events.push_back("all");
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
UINT g_findMsg = ::RegisterWindowMessageA("commdlg_FindReplace");
BEGIN_MESSAGE_MAP(CFindOwner, CWnd)
    ON_REGISTERED_MESSAGE(g_findMsg, OnFindReplace)
END_MESSAGE_MAP()

TEST(CommonDialog, FindDialogNotifiesThroughTheRegisteredMessageAndDeletesItself)
{
    CFindOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               0, 0, 300, 200, nullptr, nullptr));
    g_deleted = 0;
    auto* pFind = new CCountedFind;
    ASSERT_TRUE(pFind->Create(TRUE, "needle", NULL, FR_DOWN | FR_MATCHCASE, &owner));
    EXPECT_EQ(pFind, CWnd::FromHandlePermanent(pFind->m_hWnd));
    HWND hDlg = pFind->m_hWnd;

    ::SendMessageA(::GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);   // Find Next
    vt::PumpMessages();
    ::SendMessageA(::GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0);
    vt::PumpMessages();

    const std::vector<std::string> expected = {"next needle down case", "term"};
    EXPECT_EQ(expected, owner.events);
    EXPECT_EQ(pFind, owner.notifier);
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_EQ(1, g_deleted);

    auto* pReplace = new CCountedFind;
    ASSERT_TRUE(pReplace->Create(FALSE, "old", "new", FR_DOWN, &owner));
    owner.events.clear();
    ::SendMessageA(::GetDlgItem(pReplace->m_hWnd, 1024 /* psh1: Replace */), BM_CLICK, 0, 0);
    vt::PumpMessages();
    ::SendMessageA(::GetDlgItem(pReplace->m_hWnd, 1025 /* psh2: Replace All */), BM_CLICK, 0, 0);
    vt::PumpMessages();
    const std::vector<std::string> replaced = {"replace new", "all"};
    EXPECT_EQ(replaced, owner.events);
    pReplace->DestroyWindow();
    EXPECT_EQ(2, g_deleted);
    owner.DestroyWindow();
}

// Templates that hide the standard edits and take the texts in combo boxes
// of their own still deliver their buttons, with those texts.
TEST(CommonDialog, FindDialogsWithHiddenStandardEditsDeliverTheirButtons)
{
    CFindOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               0, 0, 300, 200, nullptr, nullptr));
    struct Case { BOOL findOnly; UINT idTemplate; int idButton; const char* expected; };
    const Case cases[] = {
        {TRUE, 30110, IDOK, "next needle down case"},
        {FALSE, 30111, IDOK, "next needle down case"},
        {FALSE, 30111, 1024, "replace pin"},
        {FALSE, 30111, 1025, "all"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        auto* pDlg = new CFindReplaceDialog;
        pDlg->m_fr.lpTemplateName = MAKEINTRESOURCEA(c.idTemplate);
        ASSERT_TRUE(pDlg->Create(c.findOnly, "", "", FR_DOWN | FR_ENABLETEMPLATE, &owner));
        ASSERT_FALSE(::IsWindowVisible(::GetDlgItem(pDlg->m_hWnd, 1152)));
        pDlg->SetDlgItemText(103, "needle");
        if (!c.findOnly)
            pDlg->SetDlgItemText(106, "pin");
        pDlg->CheckDlgButton(1041, BST_CHECKED);
        // The system disables its buttons while its own edit is empty.
        for (int id : {IDOK, 1024, 1025})
            if (CWnd* pButton = pDlg->GetDlgItem(id))
                pButton->EnableWindow(TRUE);
        owner.events.clear();
        pDlg->GetDlgItem(c.idButton)->SendMessage(BM_CLICK);
        vt::PumpMessages();
        EXPECT_EQ(std::vector<std::string>{c.expected}, owner.events);
        pDlg->DestroyWindow();
    }
    owner.DestroyWindow();
}

TEST(CommonDialog, FindDialogWithoutAnyOwnerFails)
{
    CFindReplaceDialog dlg;   // never shown: stays on the stack
    EXPECT_FALSE(dlg.Create(TRUE, "x"));
}

} // namespace
