// Save As Template and the property wizards on a real frame with a private
// copy of the project-manager stand-in.
#include "tests/ide/workbench/mainframe_fixture.h"
#include "tests/ide/workbench/private_projectmgr.h"
#include "tests/harness/sample_copy.h"
#include "ide/workbench/IDEPrjNameDlg.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include <memory>

namespace {

// How the test's build ends: the completion reaches a window of the thread
// other than the frame, as when the project bar floats.
enum BuildEnd { kFails, kSucceeds, kRealBuild };
BuildEnd g_end = kFails;
HWND g_completion = nullptr;
CMainFrame* g_frame = nullptr;
I_ProjectMgr* g_mgr = nullptr;
const UINT WM_TEST_BUILT = WM_APP + 7;

LRESULT CALLBACK CompletionProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TEST_BUILT) {
        g_frame->m_bBuildError = wParam ? FALSE : TRUE;
        g_frame->m_bModalBuildDone = TRUE;
        g_frame->m_bBuilding = FALSE;
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

DWORD WINAPI BuildThread(LPVOID)
{
    BOOL ok = g_end == kRealBuild ? g_mgr->Build(FALSE) : g_end == kSucceeds;
    PostMessageA(g_completion, WM_TEST_BUILT, ok, 0);
    return 0;
}

BOOL StartBuild(CMainFrame*)
{
    HANDLE h = CreateThread(nullptr, 0, BuildThread, nullptr, 0, nullptr);
    if (!h)
        return FALSE;
    CloseHandle(h);
    return TRUE;
}

BOOL RefuseToStart(CMainFrame*)
{
    return FALSE;
}

// A build side that notes whether the document was saved when the build was asked for.
CAsmIDEDoc* g_watched = nullptr;
int g_starts = 0;
bool g_savedAtStart = false;
BOOL NoteSavedAndRefuse(CMainFrame*)
{
    ++g_starts;
    g_savedAtStart = g_watched && !g_watched->m_Edit.IsModified();
    return FALSE;
}

class TemplateCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.p);
        pm.reset(new vt::PrivateProjectMgr(frame.hWnd, ""));
        frame.p->m_pProjectMgr = pm->mgr;
        ASSERT_TRUE(pm->mgr->OpenProject(sample.Project().c_str()));
        frame.p->m_bProjectOpen = TRUE;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = CompletionProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "vtTemplateCompletion";
        RegisterClassA(&wc);
        g_completion = CreateWindowA("vtTemplateCompletion", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        g_frame = frame.p;
        g_mgr = pm->mgr;
    }
    void TearDown() override
    {
        DestroyWindow(g_completion);
        if (frame.p) {
            frame.p->m_bProjectOpen = FALSE;
            frame.p->m_pProjectMgr = nullptr;
        }
    }
    vt::ModalAnswerer box{IDOK};
    vt::SampleCopy sample;
    vt::MainFrame frame;
    std::unique_ptr<vt::PrivateProjectMgr> pm;
};

TEST_F(TemplateCommands, BuildThatFailsOrDoesNotStart)
{
    g_end = kFails;
    RunSaveAsTemplate(frame.p, StartBuild);
    ASSERT_EQ(1u, box.Count());   // the message, no dialog
    EXPECT_EQ("Can not save as template due to build failed!", box.Last().text);
    EXPECT_EQ("Error: ", box.Last().caption);
    EXPECT_FALSE(frame.p->m_bModalBuild);

    box.Clear();
    RunSaveAsTemplate(frame.p, RefuseToStart);
    EXPECT_EQ(0u, box.Count());
    EXPECT_FALSE(frame.p->m_bModalBuild);
    EXPECT_FALSE(frame.p->m_bBuilding);
    // The command as the menu runs it ends at once too while no build side starts one.
    frame.Command(ID_FILE_SAVEAS_TEMPLATE);
    EXPECT_EQ(0u, box.Count());
    EXPECT_FALSE(frame.p->m_bModalBuild);
}

// The template is made of the sources as they are on screen: the project's
// modified sources are saved before the build; Cancel on the save question
// ends the command before any build.
TEST_F(TemplateCommands, ModifiedSourcesAreSavedBeforeTheBuild)
{
    auto* app = static_cast<CAsmIDEApp*>(AfxGetApp());
    app->m_pMainWnd = frame.p;
    if (!g_pTextTemplate)
        app->RegisterDocTemplates();
    std::shared_ptr<void> done(nullptr, [&](void*) {
        app->CloseAllDocuments(TRUE);
        app->m_pMainWnd = nullptr;
    });
    auto open = [&]() {
        return dynamic_cast<CAsmIDEDoc*>(app->OpenNewDocument("Text", (sample.Folder() + "main.asm").c_str()));
    };
    g_watched = open();
    ASSERT_TRUE(g_watched);
    g_watched->m_Edit.SetModified(TRUE);
    g_starts = 0;
    g_savedAtStart = false;
    // The sample saves without asking.
    RunSaveAsTemplate(frame.p, NoteSavedAndRefuse);
    EXPECT_EQ(1, g_starts);
    EXPECT_TRUE(g_savedAtStart);
    EXPECT_EQ(0u, box.Count()) << box.Last().text;
    EXPECT_EQ(1, pm->Calls("Project.PrepareTemplateBuild 0"));

    // Asking: Cancel keeps the source modified, starts no build and leaves no modal build behind.
    app->CloseAllDocuments(TRUE);
    pm->mgr->CloseProject(FALSE, nullptr);
    WritePrivateProfileStringA("Project", "AutoSave", "0", sample.Project().c_str());
    ASSERT_TRUE(pm->mgr->OpenProject(sample.Project().c_str()));
    g_watched = open();
    ASSERT_TRUE(g_watched);
    g_watched->m_Edit.SetModified(TRUE);
    box.Queue(vt::ModalAnswer(IDCANCEL));
    RunSaveAsTemplate(frame.p, NoteSavedAndRefuse);
    EXPECT_EQ(1u, box.Count());
    EXPECT_EQ(1, g_starts);
    EXPECT_TRUE(g_watched->m_Edit.IsModified());
    EXPECT_EQ(1, pm->Calls("Project.PrepareTemplateBuild 0"));
    EXPECT_FALSE(frame.p->m_bModalBuild);
    g_watched->m_Edit.SetModified(FALSE);
    g_watched = nullptr;
}

TEST_F(TemplateCommands, CleanBuildWritesTheTemplateBesideAnUnchangedProject)
{
    pm->mgr->SaveProject(nullptr);
    std::string before = vt::ReadFileBytes(sample.Project());
    g_end = kRealBuild;
    vt::ModalAnswer names(IDOK);
    names.Type(IDC_NEWPRJ_NAME, "Sample.wbt").Type(IDC_NEWPRJ_LOCATION, sample.Folder());
    box.Queue(names);
    RunSaveAsTemplate(frame.p, StartBuild);
    ASSERT_EQ(1u, box.Count()) << box.Last().text;
    EXPECT_EQ("Save As Template Project", box.Last().caption);
    std::string wbt = sample.Folder() + "Sample.wbt";
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(wbt.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((sample.Folder() + "Sample.wbi.wbt").c_str()));
    EXPECT_EQ(1, pm->Calls("SaveAsTemplate " + wbt + " 1 1 0"));
    char kind[16] = "";
    GetPrivateProfileStringA("Project", "ProjectType", "", kind, sizeof kind, wbt.c_str());
    EXPECT_STREQ("1", kind);
    EXPECT_EQ(before, vt::ReadFileBytes(sample.Project()));
    EXPECT_FALSE(frame.p->m_bModalBuild);
}

TEST_F(TemplateCommands, WizardsEnablingAndEffects)
{
    struct Case {
        UINT id;
        bool enabled;
    };
    for (Case c : {Case{ID_PROJECT_WIZARD1, true}, Case{ID_PROJECT_WIZARD2, true}, Case{ID_PROJECT_WIZARD4, true}})
        EXPECT_EQ(c.enabled, IsProjectWizardEnabled(frame.p, c.id) != FALSE) << c.id;
    frame.p->m_bBuilding = TRUE;
    for (UINT id : {ID_PROJECT_WIZARD1, ID_PROJECT_WIZARD2, ID_PROJECT_WIZARD4})
        EXPECT_FALSE(IsProjectWizardEnabled(frame.p, id)) << id;
    frame.p->m_bBuilding = FALSE;
    frame.p->m_bProjectOpen = FALSE;
    EXPECT_FALSE(IsProjectWizardEnabled(frame.p, ID_PROJECT_WIZARD4));
    frame.p->m_bProjectOpen = TRUE;

    // Pinweave: a change marks the project modified, a cancelled wizard does not.
    box.Queue(vt::ModalAnswer(IDCANCEL));
    frame.Command(ID_PROJECT_WIZARD4);
    EXPECT_FALSE(frame.p->GetProjectWnd()->IsProjectModified());
    vt::ModalAnswer pins(IDOK);
    pins.Type(1003, "P0=LED");
    box.Queue(pins);
    frame.Command(ID_PROJECT_WIZARD4);
    EXPECT_TRUE(frame.p->GetProjectWnd()->IsProjectModified());
    EXPECT_EQ(2u, box.Count());
    EXPECT_EQ("Pinweave Property Setting", box.Last().caption);

    // Scriptlane: the file information is reloaded, also after a cancelled wizard.
    int reloads = pm->Calls("ReloadFileInfo");
    box.Queue(vt::ModalAnswer(IDCANCEL));
    frame.Command(ID_PROJECT_WIZARD1);
    EXPECT_EQ(reloads + 1, pm->Calls("ReloadFileInfo"));
}

}  // namespace

namespace {

TEST_F(TemplateCommands, ResourceEditorSettingsAtStartUp)
{
    vt::TempDir dir;
    const char editors[] = "[Resource Editor]\r\nEditor1=WaveDesk.exe, WaveDesk, 1, 1, .wav\r\n"
                           "Editor2=Pixmere.exe, Pixmere, 1, 1, .bmp\r\n";
    std::string cfg = dir.Write("ZIDE.cfg", std::string(editors) + "UserDefinedEditor=1\r\n[IDESystem]\r\nTemplateProject=1\r\n");
    frame.p->LoadResourceEditorSettings(cfg.c_str());
    EXPECT_TRUE(frame.p->m_bUserDefinedEditor);
    EXPECT_TRUE(frame.p->m_bTemplateProject);
    char value[16] = "";
    GetPrivateProfileStringA("Resource Editor List", "Pixmere.exe, Pixmere, 1, 1, .bmp", "", value, sizeof value,
                             cfg.c_str());
    EXPECT_STREQ("0", value);

    cfg = dir.Write("ZIDE.cfg", editors);
    frame.p->LoadResourceEditorSettings(cfg.c_str());
    EXPECT_FALSE(frame.p->m_bUserDefinedEditor);
    EXPECT_FALSE(frame.p->m_bTemplateProject);
    EXPECT_EQ(editors, vt::ReadFileBytes(cfg));
}

}  // namespace

namespace {

TEST_F(TemplateCommands, ResourceRequestsOfTheProjectManager)
{
    C_IDEResPreviewBar* bar = frame.p->GetPreviewBar();
    ASSERT_TRUE(::IsWindow(bar->m_dlg.m_hWnd));
    frame.p->ShowControlBar(bar, FALSE, FALSE);
    std::string wav = sample.Folder() + "tone.wav";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(wav.c_str()));
    frame.p->SendMessage(WM_MAIN_REQUEST, PM_REQUEST_PREVIEW, (LPARAM)wav.c_str());
    EXPECT_TRUE(bar->IsVisible());
    EXPECT_EQ(wav, std::string(bar->m_dlg.m_recent[0]));
    for (int i = 0; i < 1000 && bar->m_dlg.IsPlaying(); ++i)
        vt::PumpMessages(5);
    EXPECT_FALSE(bar->m_dlg.IsPlaying());
    EXPECT_EQ(100, bar->m_dlg.m_slider.GetPos());
    EXPECT_FALSE(frame.p->GetProjectWnd()->IsProjectModified());

    // Editing marks the project modified (a type without an editor starts nothing).
    frame.p->SendMessage(WM_MAIN_REQUEST, PM_REQUEST_EDIT_RESOURCE, (LPARAM)(sample.Folder() + "Sample.txt").c_str());
    EXPECT_TRUE(frame.p->GetProjectWnd()->IsProjectModified());
    frame.p->GetProjectWnd()->SetProjectModified(FALSE);
    frame.p->SendMessage(WM_MAIN_REQUEST, PM_REQUEST_EDIT_RESOURCE, 0);
    EXPECT_FALSE(frame.p->GetProjectWnd()->IsProjectModified());
    EXPECT_EQ(0u, box.Count());
    EXPECT_FALSE(frame.p->PreviewResource(wav.c_str(), 2));
}

}  // namespace
