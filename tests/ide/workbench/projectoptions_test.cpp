// The "Project Options" dialog on a real frame with a private copy of the
// project-manager stand-in: its pages, the output-name rule, the OK protocol
// over the page message and its two callers.
#include "tests/ide/workbench/mainframe_fixture.h"
#include "tests/harness/sample_copy.h"
#include "ide/workbench/IDEOptionDlg.h"
#include "tests/ide/workbench/private_projectmgr.h"
#include "resources/ideres.h"

namespace {

// Options with values the stand-in would not keep.
struct TestOptions final : public I_PMProjectOptions {
    void Reserved0() override {}
    void Reserved1() override {}
    void Reserved2() override {}
    BOOL GetAutoSave() override { return TRUE; }
    BOOL GetAutoOpenReport() override { return FALSE; }
    BOOL GetManualModuleSelect() override { return FALSE; }
    void SetAutoSave(BOOL) override {}
    void SetAutoOpenReport(BOOL) override {}
    void SetManualModuleSelect(BOOL) override {}
    void Reserved9() override {}
    const char* GetOutputName() override { return name.c_str(); }
    void Reserved11() override {}
    void Reserved12() override {}
    int GetBuildTargetIndex() override { return target; }
    int GetMaxErrors() override { return maxErrors; }
    int GetMaxWarnings() override { return 10; }
    void Reserved16() override {}
    void SetOutputName(const char* n) override { name = n; }
    void Reserved18() override {}
    void Reserved19() override {}
    void SetBuildTargetIndex(int i) override { target = i; }
    void SetMaxErrors(int n) override { maxErrors = n; }
    void SetMaxWarnings(int) override {}
    void Reserved23() override {}
    void Reserved24() override {}
    void Reserved25() override {}
    void Reserved26() override {}
    void Reserved27() override {}
    void Reserved28() override {}
    BOOL GetAutoCheckModification() override { return FALSE; }
    void SetAutoCheckModification(BOOL) override {}
    void Release() override { ++released; }
    std::string name = "Out";
    int target = 0;
    int maxErrors = 100;
    int released = 0;
};

class ProjectOptions : public ::testing::Test {
protected:
    void Open(const std::string& ini, const std::string& project = "")
    {
        ASSERT_TRUE(frame.p);
        pm.reset(new vt::PrivateProjectMgr(frame.hWnd, ini));
        ASSERT_TRUE(pm->mgr);
        frame.p->m_pProjectMgr = pm->mgr;
        std::string path = project.empty() ? sample.Project() : project;
        ASSERT_TRUE(pm->mgr->OpenProject(path.c_str()));
        frame.p->GetProjectWnd()->m_strProjectFolder = path.substr(0, path.rfind('\\') + 1).c_str();
    }
    void TearDown() override
    {
        if (frame.p)
            frame.p->m_pProjectMgr = nullptr;
    }
    // The dialog made modeless on the frame, as DoModal would show it.
    // With options of the test's own in place of the project manager's.
    std::unique_ptr<C_IDEOptionDlg> Show(int nPage, TestOptions* options = nullptr)
    {
        std::unique_ptr<C_IDEOptionDlg> dlg(new C_IDEOptionDlg(frame.p, nPage));
        if (options) {
            dlg->m_pOptions->Release();
            dlg->m_pOptions = options;
        }
        EXPECT_TRUE(dlg->Create(IDD_PROJECT_OPTIONS, frame.p));
        SetPropA(dlg->m_hWnd, "vt.answered", (HANDLE)1);   // looked at here, not answered
        dlg->ShowWindow(SW_SHOW);
        vt::PumpMessages();
        return dlg;
    }
    static std::vector<std::string> Labels(C_IDEOptionDlg& dlg)
    {
        std::vector<std::string> out;
        for (int i = 0; i < dlg.m_wndTab.GetTabCount(); ++i) {
            LPCTSTR label = nullptr;
            BOOL sel = FALSE;
            CWnd* wnd = nullptr;
            void* extra = nullptr;
            dlg.m_wndTab.GetTabInfo(i, label, sel, wnd, extra);
            out.push_back(label ? label : "");
        }
        return out;
    }
    static int Active(C_IDEOptionDlg& dlg)
    {
        int n = -1;
        dlg.m_wndTab.GetActiveTabIndex(n);
        return n;
    }
    static std::string Text(CWnd* page, int id)
    {
        char buf[300] = "";
        GetDlgItemTextA(page->m_hWnd, id, buf, sizeof buf);
        return buf;
    }

    std::unique_ptr<vt::ModalAnswerer> box{new vt::ModalAnswerer(IDOK)};
    vt::SampleCopy sample;
    vt::MainFrame frame;
    std::unique_ptr<vt::PrivateProjectMgr> pm;
};

TEST_F(ProjectOptions, PagesAndThePageIndex)
{
    Open("[Testing]\r\nExtraOptionPages=0\r\n");
    EXPECT_EQ(std::vector<std::string>({"General"}), Labels(*Show(0)));
    EXPECT_EQ(0, Active(*Show(3)));   // no page behind the index

    Open("[Testing]\r\nExtraOptionPages=2\r\n");
    struct Case {
        int page;
        int tab;
    };
    for (Case c : {Case{0, 0}, Case{1, 0}, Case{-1, 0}, Case{2, 1}, Case{3, 2}, Case{4, 0}}) {
        auto dlg = Show(c.page);
        EXPECT_EQ(std::vector<std::string>({"General", "Device", "Memory"}), Labels(*dlg));
        EXPECT_EQ(c.tab, Active(*dlg)) << c.page;
    }
    EXPECT_EQ(0u, box->Count());
}

TEST_F(ProjectOptions, OutputNameRefusesAFullStop)
{
    Open("");
    auto dlg = Show(0);
    CWnd* edit = dlg->m_pGeneralPage->GetDlgItem(IDC_OPTIONS_OUTPUT_NAME);
    ASSERT_TRUE(edit);
    edit->SetWindowText("");
    edit->SetFocus();
    int start = -1, end = -1;
    for (char c : std::string("a.")) {
        edit->SendMessage(WM_CHAR, c, 1);
        ((CEdit*)edit)->GetSel(start, end);
    }
    EXPECT_EQ("a", Text(dlg->m_pGeneralPage, IDC_OPTIONS_OUTPUT_NAME));
    EXPECT_EQ(1, start);
    EXPECT_EQ(1, end);
    edit->SendMessage(WM_CHAR, 'b', 1);
    EXPECT_EQ("ab", Text(dlg->m_pGeneralPage, IDC_OPTIONS_OUTPUT_NAME));
}

TEST_F(ProjectOptions, RefusalsKeepTheDialogOpen)
{
    Open("");
    struct Case {
        const char* name;
        const char* errors;
        const char* warnings;
        const char* message;
    };
    const std::string longName(250, 'n');
    const Case cases[] = {
        {"", "5", "5", "Output target file name should not be empty !!"},
        {"x", "0", "5", "MaxError must be greater than zero!!"},
        {"x", "5", "0", "MaxWarning must be greater than zero!!"},
        {longName.c_str(), "5", "5", "File with full pathname can not exceed system limits(255 chars)"},
    };
    for (const Case& c : cases) {
        auto dlg = Show(0);
        SetDlgItemTextA(dlg->m_pGeneralPage->m_hWnd, IDC_OPTIONS_OUTPUT_NAME, c.name);
        SetDlgItemTextA(dlg->m_pGeneralPage->m_hWnd, IDC_OPTIONS_MAX_ERRORS, c.errors);
        SetDlgItemTextA(dlg->m_pGeneralPage->m_hWnd, IDC_OPTIONS_MAX_WARNINGS, c.warnings);
        box->Clear();
        dlg->SendMessage(WM_COMMAND, IDOK);
        ASSERT_EQ(1u, box->Count()) << c.message;
        EXPECT_EQ(c.message, box->Last().text);
        EXPECT_EQ("Error: ", box->Last().caption);
        EXPECT_TRUE(dlg->IsWindowVisible()) << c.message;
        EXPECT_EQ(0, Active(*dlg));
    }
    EXPECT_EQ(0, pm->Calls("ApplyOptions"));

    // Zero maximum errors from the options object: only Cancel leaves.
    TestOptions options;
    options.maxErrors = 0;
    auto dlg = Show(0, &options);
    box->Clear();
    dlg->SendMessage(WM_COMMAND, IDOK);
    EXPECT_EQ("MaxError must be greater than zero!!", box->Last().text);
    EXPECT_TRUE(dlg->IsWindowVisible());
    dlg->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_FALSE(dlg->IsWindowVisible());
    dlg.reset();
    EXPECT_EQ(1, options.released);
}

TEST_F(ProjectOptions, BuildTargets)
{
    Open("[Testing]\r\nSingleBuildTarget=1\r\n");
    {
        auto dlg = Show(0);
        EXPECT_EQ(1, dlg->m_pGeneralPage->m_comboTarget.GetCount());
        EXPECT_EQ(0, dlg->m_pGeneralPage->m_comboTarget.GetCurSel());
        EXPECT_FALSE(dlg->m_pGeneralPage->m_comboTarget.IsWindowEnabled());
    }
    Open("");
    TestOptions options;
    options.target = 5;
    auto dlg = Show(0, &options);
    EXPECT_TRUE(dlg->m_pGeneralPage->m_comboTarget.IsWindowEnabled());
    EXPECT_EQ(1, dlg->m_pGeneralPage->m_comboTarget.GetCurSel());
    // The page stores every field back, the target among them (asked as OK asks it; the
    // project manager itself is not handed options of the test's own).
    EXPECT_EQ(1, dlg->m_pGeneralPage->SendMessage(PM_WM_OPTION_PAGE, 0, 0));
    EXPECT_EQ(1, options.target);
    EXPECT_EQ("Out", options.name);
}

TEST_F(ProjectOptions, RefusingExtraPageKeepsTheDialogOnIt)
{
    Open("", sample.Fixture("NoDevice.wbi"));
    auto dlg = Show(0);
    dlg->SendMessage(WM_COMMAND, IDOK);
    EXPECT_TRUE(dlg->IsWindowVisible());
    EXPECT_EQ(1, Active(*dlg));
    EXPECT_EQ(0, pm->Calls("ApplyOptions"));
    EXPECT_EQ(0u, box->Count());
    // The clock entered, Enter inside a page acts as OK.
    SetDlgItemTextA(dlg->m_pExtraPages[0].m_hWnd, 1001, "16");
    dlg->m_pGeneralPage->SendMessage(WM_COMMAND, IDOK);
    EXPECT_FALSE(dlg->IsWindowVisible());
    EXPECT_EQ(1, pm->Calls("ApplyOptions"));
}

TEST_F(ProjectOptions, CommandEndsTheSettingsEdit)
{
    Open("");
    EXPECT_EQ(IDOK, RunProjectOptionsCommand(frame.p));
    EXPECT_EQ(1, pm->Calls("EndSettingsEdit 1"));
    EXPECT_TRUE(frame.p->GetProjectWnd()->IsProjectModified());
    frame.p->GetProjectWnd()->SetProjectModified(FALSE);
    box->SetDefault(IDCANCEL);
    EXPECT_EQ(IDCANCEL, RunProjectOptionsCommand(frame.p));
    EXPECT_EQ(1, pm->Calls("EndSettingsEdit 0"));
    EXPECT_FALSE(frame.p->GetProjectWnd()->IsProjectModified());
    EXPECT_EQ(1, pm->Calls("ApplyOptions"));
}

// The pre-check's dialog looked at from inside its modal loop.
int g_activeTab = -2;
void CALLBACK LookAndCancel(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND hDlg = FindWindowA(nullptr, "Project Options");
    auto* dlg = dynamic_cast<C_IDEOptionDlg*>(CWnd::FromHandlePermanent(hDlg));
    if (!dlg)
        return;
    KillTimer(nullptr, id);
    dlg->m_wndTab.GetActiveTabIndex(g_activeTab);
    dlg->PostMessage(WM_COMMAND, IDCANCEL);
}

TEST_F(ProjectOptions, PreCheckOpensThePageTheProjectManagerNames)
{
    Open("", sample.Fixture("NoDevice.wbi"));
    box.reset();   // the dialog is looked at and cancelled by the timer
    UINT_PTR timer = SetTimer(nullptr, 0, 10, LookAndCancel);
    EXPECT_FALSE(CheckProjectSettings(frame.p));
    KillTimer(nullptr, timer);
    EXPECT_EQ(1, g_activeTab);

    Open("");
    EXPECT_TRUE(CheckProjectSettings(frame.p));
}

}  // namespace
