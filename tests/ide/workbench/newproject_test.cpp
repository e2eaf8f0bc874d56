// The "New Project" and "Save As Template Project" dialogs on a real frame,
// with a private configuration and a private copy of the project-manager
// stand-in: the name rule, the OK checks, the part-number groups and menu and
// the template's part numbers.
#include "tests/ide/workbench/mainframe_fixture.h"
#include "tests/ide/workbench/private_projectmgr.h"
#include "tests/harness/sample_copy.h"
#include "ide/workbench/IDEPrjNameDlg.h"
#include "support/system/ChipInfo.h"

namespace {

const char kParts[] = "[PartNumbers]\r\nKind1=KV61A-S28,KV61A-Q44,KV61B-S28,KQ83-L48,KQ83-L64,KQ83-D\r\n";
const char kTargets[] = "[Project Target]\r\nTarget1=1,0,Application\r\nTarget2=1,1,Library\r\n";

class NewProject : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.p);
        pm.reset(new vt::PrivateProjectMgr(frame.hWnd, kParts));
        Config("[Body Group]\r\nGroup1=KV61 family,KV61\r\nGroup2=KQ8 family,KQ8\r\nDefaultBody=KQ83-L64\r\n");
    }
    void Config(const std::string& groups) { cfg = dir.Write("ZIDE.cfg", std::string(kTargets) + groups); }
    // The dialog made modeless on the frame, looked at here rather than answered.
    std::unique_ptr<C_IDEPrjNameDlg> Show(bool newProject = true, int rules = 0)
    {
        std::unique_ptr<C_IDEPrjNameDlg> dlg(newProject ? new C_IDEPrjNameDlg(pm->mgr, frame.p)
                                                        : new C_IDEPrjNameDlg());
        dlg->m_strConfigPath = cfg.c_str();
        dlg->m_strLocation = (dir.Path() + "\\").c_str();
        dlg->m_nNameRules = rules;
        dlg->m_nImageBitmap = IDB_PROJECT_TARGETS;
        dlg->m_nImageCount = 5;
        EXPECT_TRUE(dlg->Create(newProject ? IDD_NEW_PROJECT : IDD_SAVE_AS_TEMPLATE, frame.p));
        SetPropA(dlg->m_hWnd, "vt.answered", (HANDLE)1);
        dlg->ShowWindow(SW_SHOW);
        vt::PumpMessages();
        return dlg;
    }
    static std::string Text(CWnd* dlg, int id)
    {
        char buf[600] = "";
        GetDlgItemTextA(dlg->m_hWnd, id, buf, sizeof buf);
        return buf;
    }
    static bool Enabled(CWnd* dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg->m_hWnd, id)) != FALSE; }
    // Types the characters at the caret of the name edit.
    static void Type(CWnd* dlg, const std::string& text)
    {
        HWND edit = GetDlgItem(dlg->m_hWnd, IDC_NEWPRJ_NAME);
        for (char c : text)
            SendMessageA(edit, WM_CHAR, (unsigned char)c, 1);
    }

    vt::ModalAnswerer box{IDOK};
    vt::TempDir dir;
    std::string cfg;
    vt::MainFrame frame;
    std::unique_ptr<vt::PrivateProjectMgr> pm;
};

TEST(NewProjectName, Rule)
{
    struct Case {
        const char* text;
        const char* ext;
        bool accepted;
    };
    const Case cases[] = {
        {".wbi", ".wbi", true},  {"demo.wbi", ".wbi", true}, {"my demo.wbi", ".wbi", true},
        {"a\\b.wbi", ".wbi", false}, {" demo.wbi", ".wbi", false}, {"demo", ".wbi", false},
        {"demo.WBI", ".wbi", false}, {"demo.wbi", ".wbt", false}, {"demo.wbt", ".wbt", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.accepted, C_IDEPrjNameDlg::IsNameAccepted(c.text, c.ext) != FALSE) << c.text << " " << c.ext;
}

TEST_F(NewProject, TypingANameProposesTheLocation)
{
    auto dlg = Show();
    EXPECT_EQ(".wbi", Text(dlg.get(), IDC_NEWPRJ_NAME));
    EXPECT_FALSE(Enabled(dlg.get(), IDOK));
    EXPECT_EQ("KQ83-L64", Text(dlg.get(), IDC_NEWPRJ_PART));   // "DefaultBody"
    Type(dlg.get(), "de");
    EXPECT_EQ("de.wbi", Text(dlg.get(), IDC_NEWPRJ_NAME));
    EXPECT_EQ(dir.Path() + "\\de", Text(dlg.get(), IDC_NEWPRJ_LOCATION));
    EXPECT_TRUE(Enabled(dlg.get(), IDOK));
    // Removing the extension's dot brings the previous text back.
    HWND edit = GetDlgItem(dlg->m_hWnd, IDC_NEWPRJ_NAME);
    SendMessageA(edit, EM_SETSEL, 3, 3);
    SendMessageA(edit, WM_CHAR, VK_BACK, 1);
    EXPECT_EQ("de.wbi", Text(dlg.get(), IDC_NEWPRJ_NAME));
    // A leading blank is refused too.
    SendMessageA(edit, EM_SETSEL, 0, 0);
    SendMessageA(edit, WM_CHAR, ' ', 1);
    EXPECT_EQ("de.wbi", Text(dlg.get(), IDC_NEWPRJ_NAME));
}

TEST_F(NewProject, OkChecksAndTheirMessages)
{
    std::string where = dir.Path() + "\\work\\demo\\";
    struct Case {
        int rules;
        std::string name;
        std::string location;
        std::vector<int> answers;
        std::vector<std::string> messages;
        bool closed;
    };
    const std::string longFolder = dir.Path() + "\\" + std::string(250, 'x') + "\\";
    const Case cases[] = {
        {1, "my demo.wbi", where, {}, {"Space in filename unsupported!"}, false},
        {0, "demo.wbi", longFolder, {}, {"File with full pathname can not exceed system limits(255 chars)"}, false},
        {0, "demo.wbi", where, {IDCANCEL}, {"Directory " + where + " does not exist. Create it ?"}, false},
        {0, "demo.wbi", where, {IDOK}, {"Directory " + where + " does not exist. Create it ?"}, true},
        {0, "demo.wbi", where, {IDCANCEL}, {"File " + where + "demo.wbi exist. Overwrite it ?"}, false},
        {0, "my demo.wbi", where, {IDOK}, {}, true},
    };
    for (const Case& c : cases) {
        auto dlg = Show(true, c.rules);
        SetDlgItemTextA(dlg->m_hWnd, IDC_NEWPRJ_NAME, c.name.c_str());
        SetDlgItemTextA(dlg->m_hWnd, IDC_NEWPRJ_LOCATION, c.location.c_str());
        box.Clear();
        for (int a : c.answers)
            box.Queue(a);
        dlg->SendMessage(WM_COMMAND, IDOK);
        std::vector<std::string> seen;
        for (const vt::ModalSeen& s : box.Seen())
            seen.push_back(s.text);
        EXPECT_EQ(c.messages, seen) << c.name;
        EXPECT_EQ(!c.closed, dlg->IsWindowVisible() != FALSE) << c.name;
        if (c.closed) {
            EXPECT_EQ(where, (LPCSTR)dlg->m_strLocation);
            EXPECT_EQ(where + (LPCSTR)dlg->m_strProjectName + ".wbi", (LPCSTR)dlg->m_strProjectPath);
            EXPECT_EQ("", vt::ReadFileBytes((LPCSTR)dlg->m_strProjectPath));
            EXPECT_EQ(1, dlg->m_nKind);
            EXPECT_EQ("KQ83-L64", std::string(dlg->m_strPartNumber));
            EXPECT_EQ(dir.Path() + "\\work\\", vt::ProfileString("Directory", "NewProject"));
        }
    }
    // Confirming the overwrite empties the existing file.
    ASSERT_TRUE(vt::WriteFileBytes(where + "demo.wbi", "[Project]\r\n"));
    auto dlg = Show();
    SetDlgItemTextA(dlg->m_hWnd, IDC_NEWPRJ_NAME, "demo.wbi");
    SetDlgItemTextA(dlg->m_hWnd, IDC_NEWPRJ_LOCATION, where.c_str());
    box.Queue(IDOK);
    dlg->SendMessage(WM_COMMAND, IDOK);
    EXPECT_FALSE(dlg->IsWindowVisible());
    EXPECT_EQ("", vt::ReadFileBytes(where + "demo.wbi"));
}

TEST_F(NewProject, TemplateModeNamesTheTemplateAndLeavesTheProjectAlone)
{
    std::string where = dir.Path() + "\\";
    ASSERT_TRUE(vt::WriteFileBytes(where + "demo.wbi", "[Project]\r\nKind=1\r\n"));
    auto dlg = Show(false);
    EXPECT_EQ(".wbt", Text(dlg.get(), IDC_NEWPRJ_NAME));
    Type(dlg.get(), "demo");
    EXPECT_TRUE(Enabled(dlg.get(), IDOK));
    EXPECT_EQ(where + "demo", Text(dlg.get(), IDC_NEWPRJ_LOCATION));
    SetDlgItemTextA(dlg->m_hWnd, IDC_NEWPRJ_LOCATION, where.c_str());   // beside the project
    dlg->SendMessage(WM_COMMAND, IDOK);
    EXPECT_FALSE(dlg->IsWindowVisible());
    EXPECT_EQ(0u, box.Count()) << box.Last().text;
    EXPECT_EQ(where + "demo.wbt", (LPCSTR)dlg->m_strProjectPath);
    EXPECT_EQ("[Project]\r\nKind=1\r\n", vt::ReadFileBytes(where + "demo.wbi"));
}

// The menu's items: a submenu as "title: item item ...", a separator as "-".
std::vector<std::string> MenuItems(CMenu& menu)
{
    std::vector<std::string> out;
    for (int i = 0; i < (int)menu.GetMenuItemCount(); ++i) {
        char text[100] = "";
        GetMenuStringA(menu.m_hMenu, i, text, sizeof text, MF_BYPOSITION);
        HMENU sub = GetSubMenu(menu.m_hMenu, i);
        std::string item = *text ? text : "-";
        for (int k = 0; sub && k < GetMenuItemCount(sub); ++k) {
            GetMenuStringA(sub, k, text, sizeof text, MF_BYPOSITION);
            item += (k ? " " : ": ") + std::string(text);
        }
        out.push_back(item);
    }
    return out;
}

TEST_F(NewProject, PartNumberMenu)
{
    struct Case {
        const char* groups;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"Group1=KV61 family,KV61\r\nGroup2=KQ8 family,KQ8\r\n",
         {"KV61 family: KV61A-Q44 KV61A-S28 KV61B-S28", "KQ8 family: KQ83-D KQ83-L48 KQ83-L64"}},
        {"Group1=KV family,KV\r\nGroup2=KV61A only,KV61A\r\n",
         {"KV family: KV61A-Q44 KV61A-S28 KV61B-S28", "-", "KQ83-D", "KQ83-L48", "KQ83-L64"}},
        {"Group1=Odd family,zz;KV61B\r\n",
         {"Odd family: KV61B-S28", "-", "KQ83-D", "KQ83-L48", "KQ83-L64", "KV61A-Q44", "KV61A-S28"}},
        {"", {"KQ83-D", "KQ83-L48", "KQ83-L64", "KV61A-Q44", "KV61A-S28", "KV61B-S28"}},
    };
    for (const Case& c : cases) {
        Config(std::string("[Body Group]\r\n") + c.groups);
        auto dlg = Show();
        CMenu menu;
        ASSERT_TRUE(dlg->BuildPartMenu(menu));
        EXPECT_EQ(c.items, MenuItems(menu)) << c.groups;
    }
    // A command of the menu selects its part number: group 1's second item, the third of no group.
    Config("[Body Group]\r\nGroup1=KV61 family,KV61\r\n");
    auto dlg = Show();
    dlg->SendMessage(WM_COMMAND, ID_NEWPRJ_PART_FIRST + 0x100 + 1);
    EXPECT_EQ("KV61A-S28", Text(dlg.get(), IDC_NEWPRJ_PART));
    dlg->SendMessage(WM_COMMAND, ID_NEWPRJ_PART_FIRST + 2);
    EXPECT_EQ("KQ83-L64", Text(dlg.get(), IDC_NEWPRJ_PART));
}

// Whether a popup menu opened while the timer ran; the menu is closed at once.
bool g_menuSeen = false;
void CALLBACK EndAnyMenu(HWND, UINT, UINT_PTR, DWORD)
{
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu)) {
        g_menuSeen = true;
        EndMenu();
    }
}

TEST_F(NewProject, OnlyMousePressesOpenTheMenu)
{
    auto dlg = Show();
    HWND button = GetDlgItem(dlg->m_hWnd, IDC_NEWPRJ_PART_MENU);
    UINT_PTR timer = SetTimer(nullptr, 0, 20, EndAnyMenu);
    g_menuSeen = false;
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_NEWPRJ_PART_MENU, BN_CLICKED), (LPARAM)button);
    EXPECT_FALSE(g_menuSeen);
    SendMessageA(button, WM_RBUTTONDOWN, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(g_menuSeen);
    KillTimer(nullptr, timer);
}

TEST_F(NewProject, TemplatePartNumbersFromTheChipService)
{
    // The dialog loads the chip-information service itself, as the running program has it.
    frame.p->m_bTemplateProject = TRUE;
    vt::SampleCopy sample;
    auto dlg = Show();
    ASSERT_TRUE(IsWindowVisible(GetDlgItem(dlg->m_hWnd, IDC_NEWPRJ_TEMPLATE_CHECK)));
    // The template's chip KV61A does not offer the chosen KQ83-L64: the question, refused.
    vt::ModalAnswer open(IDOK);
    open.Type(vt::kFileNameBox, sample.Fixture("Sample.wbt"));
    box.Queue(open);
    box.Queue(IDNO);
    SendMessageA(GetDlgItem(dlg->m_hWnd, IDC_NEWPRJ_TEMPLATE_CHECK), BM_CLICK, 0, 0);
    ASSERT_EQ(2u, box.Count());
    EXPECT_EQ("The selected chip item KQ83-L64 does not match the template.\nDo you want to use this template?",
              box.Last().text);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dlg->m_hWnd, IDC_NEWPRJ_TEMPLATE_CHECK));
    EXPECT_EQ("KQ83-L64", Text(dlg.get(), IDC_NEWPRJ_PART));

    // Accepted: the combo holds the template's part numbers, and OK takes the template's kind.
    box.Clear();
    box.Queue(open);
    box.Queue(IDYES);
    SendMessageA(GetDlgItem(dlg->m_hWnd, IDC_NEWPRJ_TEMPLATE_CHECK), BM_CLICK, 0, 0);
    ASSERT_EQ(2u, box.Count());
    EXPECT_EQ(2, dlg->m_comboPart.GetCount());
    EXPECT_EQ(sample.Fixture("Sample.wbt"), Text(dlg.get(), IDC_NEWPRJ_TEMPLATE_PATH));
    CMenu menu;
    ASSERT_TRUE(dlg->BuildPartMenu(menu));
    EXPECT_EQ(std::vector<std::string>({"KV61A-S28", "KV61A-Q44"}), MenuItems(menu));
    Type(dlg.get(), "t");
    SetDlgItemTextA(dlg->m_hWnd, IDC_NEWPRJ_LOCATION, (dir.Path() + "\\t\\").c_str());
    box.Queue(IDOK);
    dlg->SendMessage(WM_COMMAND, IDOK);
    EXPECT_FALSE(dlg->IsWindowVisible());
    EXPECT_TRUE(dlg->m_bTemplate);
    EXPECT_EQ(1, dlg->m_nKind);
    EXPECT_EQ(sample.Fixture("Sample.wbt"), std::string(dlg->m_strTemplatePath));
}

// The menu's command: the dialog, then the project made through the project
// window in the folder chosen, its tree shown and the frame set up for it.
TEST_F(NewProject, TheCommandMakesTheProjectThroughTheProjectWindow)
{
    frame.p->m_pProjectMgr = pm->mgr;
    // The location the name proposes: the stored parent folder and the name.
    AfxGetApp()->WriteProfileString("Directory", "NewProject", (dir.Path() + "\\").c_str());
    std::string where = dir.Path() + "\\demo\\";
    vt::ModalAnswer names(IDOK);
    names.Type(IDC_NEWPRJ_NAME, "demo.wbi");
    box.Queue(names);
    box.Queue(IDOK);   // the missing folder is created
    frame.Command(ID_FILE_NEW_PROJECT);
    ASSERT_EQ(2u, box.Count()) << box.Last().text;
    EXPECT_EQ("New Project", box.Seen()[0].caption);
    for (int kind = 1; kind <= 5; ++kind)
        EXPECT_LE(1, pm->Calls("GetPartNumbersOfKind " + std::to_string(kind))) << kind;
    std::string part = (LPCSTR)pm->mgr->GetProject()->GetPartNumber();
    EXPECT_FALSE(part.empty());
    EXPECT_EQ(1, pm->Calls("CreateProject " + where + " demo " + part + " 1"));
    EXPECT_TRUE(frame.p->m_bProjectOpen);
    EXPECT_EQ(where + "demo.wbi", (LPCSTR)frame.p->m_strProjectPath);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((where + "demo.wbi").c_str()));
    EXPECT_FALSE(frame.p->GetProjectWnd()->IsWorkspaceEmpty());
    EXPECT_LE(1, pm->Calls("GetFilesToOpen " + where + "demo.wbi size"));
    ASSERT_FALSE(frame.p->m_listFindDir.IsEmpty());
    EXPECT_EQ(where.substr(0, where.size() - 1), (LPCSTR)frame.p->m_listFindDir.GetHead());

    // Cancelled, with a project open: the project is closed first and nothing is made.
    box.Clear();
    box.Queue(IDNO);   // the open project is not saved
    box.Queue(IDCANCEL);
    frame.Command(ID_FILE_NEW_PROJECT);
    ASSERT_EQ(2u, box.Count());
    EXPECT_EQ("New Project", box.Last().caption);
    EXPECT_FALSE(frame.p->m_bProjectOpen);
    EXPECT_EQ(1, pm->Calls("CreateProject " + where + " demo " + part + " 1"));
    frame.p->m_pProjectMgr = nullptr;
}

}  // namespace
