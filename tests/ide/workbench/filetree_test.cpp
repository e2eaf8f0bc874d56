// The project tree and file view on the sample project: item codes, nodes, images, long
// labels, menus, colours, removing and adding files, sub-folders and the folder-name test.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/IDEFileView.h"
#include "ide/workbench/IDEInputNameDlg.h"
#include "ide/workbench/ProjectMgrPtr.h"
#include "framework/controls/list/TWKListEdit.h"
#include "resources/ideres.h"
#include "tests/harness/harness.h"
#include "tests/harness/sample_copy.h"

using namespace IDETreeCode;

namespace {

// A top-level window that plays the main window: it records the requests the view sends.
class MainStandIn : public CWnd {
public:
    std::vector<std::string> requests5;
    BOOL CreateTop()
    {
        return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)),
                        "Main", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, 420, 560, nullptr, nullptr);
    }
protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_USER + 100 && wParam == 5)
            requests5.push_back((const char*)lParam);
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

// What the project window gives the view, on the real stand-in and the sample copy.
struct Fixture : public I_IDETreeOwner {
    vt::ModalAnswerer answerer;
    vt::SampleCopy sample;
    C_ProjectMgrPtr holder;
    I_ProjectMgr* pMgr = nullptr;
    MainStandIn main;
    CWnd* pSavedMain = nullptr;
    C_IDEFileView view{this};
    std::vector<std::string> opened, removed;
    bool ok = false;

    Fixture()
    {
        EXPECT_NE(0, holder.Load(NULL));
        pMgr = holder.Get();
        ok = pMgr && pMgr->Init(1) && pMgr->OpenProject(sample.Project().c_str()) && pMgr->GetProjectTree();
        EXPECT_TRUE(ok);
        if (!ok)
            return;
        EXPECT_TRUE(main.CreateTop());
        pSavedMain = AfxGetApp()->m_pMainWnd;
        AfxGetApp()->m_pMainWnd = &main;
        EXPECT_TRUE(view.Create(WS_CHILD | WS_VISIBLE | 7, CRect(0, 0, 400, 540), &main, 0xE802));
        view.ShowProject(pMgr->GetProjectTree());
    }
    ~Fixture()
    {
        view.DestroyWindow();
        main.DestroyWindow();
        AfxGetApp()->m_pMainWnd = pSavedMain;
        if (ok)
            pMgr->CloseProject(FALSE, NULL);
    }
    HTREEITEM Find(const char* label, HTREEITEM hFrom = NULL)
    {
        for (HTREEITEM h = hFrom ? view.GetChildItem(hFrom) : view.GetRootItem(); h; h = view.GetNextSiblingItem(h)) {
            if (view.GetItemText(h) == label)
                return h;
            if (HTREEITEM hIn = Find(label, h))
                return hIn;
        }
        return NULL;
    }
    std::vector<std::string> MenuTexts(CMenu* pMenu)
    {
        std::vector<std::string> texts;
        for (UINT i = 0; pMenu && i < pMenu->GetMenuItemCount(); ++i) {
            CString s;
            pMenu->GetMenuString(i, s, MF_BYPOSITION);
            texts.push_back(s.IsEmpty() ? "-" : (LPCSTR)s);
        }
        return texts;
    }
    CPoint LabelPoint(HTREEITEM h)
    {
        CRect rc;
        view.GetItemRect(h, &rc, LVIR_LABEL);
        return rc.CenterPoint();
    }

    // The project window's side.
    CString GetProjectFolder() override { return sample.Folder().c_str(); }
    CString GetProjectName() override { return "Sample"; }
    I_ProjectMgr* GetTreeProjectMgr() override { return pMgr; }
    BOOL ReloadFileInfo() override
    {
        BOOL bOk = pMgr->ReloadFileInfo();
        view.ShowProject(pMgr->GetProjectTree());
        return bOk;
    }
    CDocument* OpenFileAtRecord(LPCSTR path, tagMessageRecord*, BOOL) override
    {
        opened.push_back(path);
        return NULL;
    }
    BOOL OpenSourceFile(LPCSTR path) override
    {
        opened.push_back(path);
        return TRUE;
    }
    BOOL RemoveFileFromProject(LPCSTR path, int folder, int sub) override
    {
        removed.push_back(path);
        C_CUStringList one;
        one.Add(path);
        return pMgr->RemoveFiles(&one, folder, sub);
    }
    BOOL AddFilesToProject(I_CUStringList* paths, LPCSTR folder, LPCSTR sub) override
    {
        return pMgr->AddFiles(paths, folder, sub);
    }
    void GetIncludedFiles(LPCSTR path, C_CUStringList* list) override { pMgr->GetIncludedFiles(path, list); }
    void GetEmbeddedFiles(LPCSTR path, C_CUStringList* list) override { pMgr->GetEmbeddedFiles(path, list); }
    I_PMSourceFile* GetSourceFileObject(LPCSTR) override { return NULL; }
    I_PMEquationSet* GetEquationObject(LPCSTR) override { return NULL; }
    void NotifyMenuEntry(CMenu*, UINT, LPCSTR, LPCSTR, int) override {}
    BOOL CanEditResource(LPCSTR) override { return FALSE; }
};

int CountNodes(C_IDETreeCtrl& tree, HTREEITEM hFrom = NULL)
{
    int n = 0;
    for (HTREEITEM h = hFrom ? tree.GetChildItem(hFrom) : tree.GetRootItem(); h; h = tree.GetNextSiblingItem(h))
        n += 1 + CountNodes(tree, h);
    return n;
}

}  // namespace

TEST(FileTree, ItemCodeEncodesAndDecodes)
{
    struct Case { int project, folder, sub, file; Kind kind; DWORD code; };
    const Case cases[] = {
        {1, 0, 0, 0, Project, 0x10000000},
        {15, 0, 0, 4095, File, 0xF0000FFF},
        {2, 3, 0, 0, Folder, 0x20300000},
        {1, 255, 7, 0, SubFolder, 0x1FF07000},
        {1, 2, 1, 3, File, 0x10201003},
    };
    for (const Case& c : cases) {
        DWORD dw = Make(c.project, c.folder, c.sub, c.file);
        EXPECT_EQ(c.code, dw);
        EXPECT_EQ(c.project, ProjectOf(dw));
        EXPECT_EQ(c.folder, FolderOf(dw));
        EXPECT_EQ(c.sub, SubFolderOf(dw));
        EXPECT_EQ(c.file, FileOf(dw));
        EXPECT_EQ(c.kind, KindOf(dw));
    }
}

TEST(FileTree, ShowsTheSampleAndShowsItAgainInPlace)
{
    Fixture f;
    ASSERT_TRUE(f.ok);
    HTREEITEM hProject = f.view.GetRootItem();
    ASSERT_NE(nullptr, hProject);
    EXPECT_EQ(0x10000000u, f.view.GetItemCode(hProject));
    EXPECT_FALSE(f.view.IsEmpty());
    HTREEITEM hMain = f.Find("main.asm");
    ASSERT_NE(nullptr, hMain);
    EXPECT_EQ(File, KindOf(f.view.GetItemCode(hMain)));
    EXPECT_STREQ((f.sample.Folder() + "main.asm").c_str(), f.view.GetItemPath(hMain));
    HTREEITEM hIcon = f.Find("icon.bmp");
    ASSERT_NE(nullptr, hIcon);
    EXPECT_EQ(2, SubFolderOf(f.view.GetItemCode(hIcon)));
    HTREEITEM hNotes = f.Find("notes.txt");
    ASSERT_NE(nullptr, hNotes);
    int nImage = -1, nSel = -1;
    f.view.GetItemImage(hNotes, nImage, nSel);
    EXPECT_EQ(IDETREE_IMAGE_ROOT_FILE, nImage);
    EXPECT_STREQ((f.sample.Folder() + "notes.txt").c_str(), f.view.GetItemPath(hNotes));

    // Folder numbers are positions in the project's folder list, shown or not.
    I_PMProjectTree* pTree = f.pMgr->GetProjectTree();
    for (HTREEITEM h = f.view.GetChildItem(hProject); h; h = f.view.GetNextSiblingItem(h)) {
        DWORD dw = f.view.GetItemCode(h);
        if (KindOf(dw) == Folder) {
            EXPECT_STREQ(pTree->GetFolder(FolderOf(dw) - 1)->GetName(), f.view.GetItemText(h));
        }
    }

    int nNodes = CountNodes(f.view);
    int nRow = f.view.GetItemIndex(hIcon);
    f.view.SetContextItem(hIcon);
    f.view.ShowProject(pTree);
    EXPECT_EQ(nNodes, CountNodes(f.view));
    EXPECT_EQ(1, (int)(f.view.GetNextSiblingItem(f.view.GetRootItem()) == NULL));
    EXPECT_EQ(nRow, f.view.GetItemIndex(f.view.GetContextItem()));
    EXPECT_EQ("icon.bmp", std::string(f.view.GetItemText(f.view.GetContextItem())));
}

TEST(FileTree, MissingIconBitmapGivesImageNineAndIsTriedAgain)
{
    Fixture f;
    ASSERT_TRUE(f.ok);
    EXPECT_EQ(9, f.view.GetIconImageIndex("NO_SUCH_BITMAP"));
    EXPECT_EQ(9, f.view.GetIconImageIndex(""));
    int nCount = f.view.GetTreeImageList()->GetImageCount();
    EXPECT_EQ(9, f.view.GetIconImageIndex("NO_SUCH_BITMAP"));
    EXPECT_EQ(nCount, f.view.GetTreeImageList()->GetImageCount());
    int nAsm = f.view.GetIconImageIndex("ICON_ASM");
    EXPECT_GE(nAsm, 10);
    EXPECT_EQ(nAsm, f.view.GetIconImageIndex("ICON_ASM"));
}

TEST(FileTree, LongLabelSwapsOnHoverAndComesBack)
{
    Fixture f;
    ASSERT_TRUE(f.ok);
    HTREEITEM hMain = f.Find("main.asm");
    HTREEITEM hSound = f.Find("sound.asm");
    CPoint pt = f.LabelPoint(hMain);
    f.view.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_STREQ((f.sample.Folder() + "main.asm").c_str(), f.view.GetItemText(hMain));
    EXPECT_EQ(hMain, f.view.GetContextItem());
    pt = f.LabelPoint(hSound);
    f.view.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_STREQ("main.asm", f.view.GetItemText(hMain));
    EXPECT_STREQ((f.sample.Folder() + "sound.asm").c_str(), f.view.GetItemText(hSound));
    pt = f.LabelPoint(f.view.GetRootItem());
    f.view.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_STREQ(("Project " + f.sample.Folder() + "Sample.wbi").c_str(), f.view.GetItemText(f.view.GetRootItem()));
    f.view.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(399, 530));
    EXPECT_STREQ("sound.asm", f.view.GetItemText(hSound));
    EXPECT_EQ(0, strncmp(f.view.GetItemText(f.view.GetRootItem()), "Project ", 8));
    EXPECT_EQ(nullptr, f.view.GetExpandedItem());
}

TEST(FileTree, VerticalScrollWithoutScrollBarControlIsIgnored)
{
    Fixture f;
    ASSERT_TRUE(f.ok);
    f.view.MoveWindow(0, 0, 200, 60);
    EXPECT_EQ(0, f.view.GetTopIndex());
    f.view.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(0, f.view.GetTopIndex());
}

TEST(FileView, EachNodeKindGetsItsMenu)
{
    Fixture f;
    ASSERT_TRUE(f.ok);
    struct Case { const char* label; std::vector<std::string> first; };
    const Case cases[] = {
        {"main.asm", {"&Open", "Com&pile"}},
        {"notes.txt", {"&Open"}},
        {"Icons", {"Add &Files", "-", "Delete", "Rename"}},
        {"GraphicData", {"Add &Files", "-", "Add Sub-Folder ..."}},
    };
    for (const Case& c : cases) {
        HTREEITEM h = f.Find(c.label);
        ASSERT_NE(nullptr, h) << c.label;
        CMenu* pMenu = f.view.BuildContextMenu(h);
        ASSERT_NE(nullptr, pMenu) << c.label;
        std::vector<std::string> texts = f.MenuTexts(pMenu);
        ASSERT_GE(texts.size(), c.first.size()) << c.label;
        EXPECT_EQ(c.first, std::vector<std::string>(texts.begin(), texts.begin() + c.first.size())) << c.label;
        if (std::string(c.label) == "main.asm") {
            EXPECT_EQ("&Remove From Project", texts.back());
        }
        if (std::string(c.label) == "notes.txt") {
            EXPECT_EQ(1u, texts.size());
        }
        pMenu->DestroyMenu();
        delete pMenu;
    }
    CMenu* pProject = f.view.BuildContextMenu(f.view.GetRootItem());
    ASSERT_NE(nullptr, pProject);
    std::vector<std::string> texts = f.MenuTexts(pProject);
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ((std::vector<std::string>{"-", "Save &Project", "&Close project", "&Duplicate project"}),
              std::vector<std::string>(texts.end() - 4, texts.end()));
    pProject->DestroyMenu();
    delete pProject;
    EXPECT_EQ(nullptr, f.view.BuildContextMenu(NULL));
}

TEST(FileView, ActiveSubFolderIsDrawnRed)
{
    Fixture f;
    ASSERT_TRUE(f.ok);
    struct Probe : C_IDEFileView {
        using C_IDEFileView::PickItemColors;
    };
    HTREEITEM hIcons = f.Find("Icons");
    HTREEITEM hMainSub = f.Find("Main", f.Find("GraphicData"));
    ASSERT_TRUE(hIcons && hMainSub);
    CClientDC dc(&f.view);
    TWKListPaintContext ctx(&dc);
    ctx.m_nColumn = 0;
    ctx.m_item.iItem = f.view.GetItemIndex(hIcons);
    ctx.m_item.state = 0;
    (f.view.*(&Probe::PickItemColors))(&ctx);
    EXPECT_EQ(RGB(255, 0, 0), ctx.m_crText);
    ctx.m_item.iItem = f.view.GetItemIndex(hMainSub);
    (f.view.*(&Probe::PickItemColors))(&ctx);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), ctx.m_crText);
}

TEST(FileView, ClickSendsRequestFiveAndDoubleClickOpensATextFile)
{
    Fixture f;
    ASSERT_TRUE(f.ok);
    HTREEITEM hMain = f.Find("main.asm");
    CPoint pt = f.LabelPoint(hMain);
    f.view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    f.view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    ASSERT_EQ(1u, f.main.requests5.size());
    EXPECT_EQ(f.sample.Folder() + "main.asm", f.main.requests5[0]);
    EXPECT_STREQ(f.main.requests5[0].c_str(), f.view.GetSelectedPath());
    HTREEITEM hReadme = f.Find("notes.txt");
    pt = f.LabelPoint(hReadme);
    f.view.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    ASSERT_EQ(1u, f.opened.size());
    EXPECT_EQ(f.sample.Folder() + "notes.txt", f.opened[0]);
}

TEST(FileView, RemovingAFolderAndTwoFilesRemovesExactlyTheTwoFiles)
{
    Fixture f;
    ASSERT_TRUE(f.ok);
    f.view.EnableMultiSelect(TRUE);
    HTREEITEM hFolder = f.view.GetParentItem(f.Find("main.asm"));
    f.view.SetItemState(hFolder, TVIS_SELECTED, TVIS_SELECTED);
    f.view.SetItemState(f.Find("main.asm"), TVIS_SELECTED, TVIS_SELECTED);
    f.view.SetItemState(f.Find("defs.inc"), TVIS_SELECTED, TVIS_SELECTED);
    int nNodes = CountNodes(f.view);
    f.view.OnRemoveFiles();
    EXPECT_EQ((std::vector<std::string>{f.sample.Folder() + "main.asm", f.sample.Folder() + "defs.inc"}), f.removed);
    EXPECT_EQ(nNodes - 2, CountNodes(f.view));
    EXPECT_EQ(nullptr, f.Find("main.asm"));
    EXPECT_NE(nullptr, f.Find("sound.asm"));
    EXPECT_TRUE(f.view.IsModified());
}

TEST(FileView, DeleteKeyRemovesAndNothingHappensWithoutASelection)
{
    Fixture f;
    ASSERT_TRUE(f.ok);
    f.view.SendMessage(WM_KEYDOWN, VK_DELETE, MAKELPARAM(1, 0x53));
    EXPECT_TRUE(f.removed.empty());
    f.view.SelectItem(f.Find("sound.asm"));
    f.view.SendMessage(WM_KEYDOWN, VK_DELETE, MAKELPARAM(1, 0x53));
    EXPECT_EQ((std::vector<std::string>{f.sample.Folder() + "sound.asm"}), f.removed);
}

TEST(FileView, AddFilesToFolderSortsByExtensionAndKeepsLimits)
{
    Fixture f;
    ASSERT_TRUE(f.ok);
    I_PMProjectTree* pTree = f.pMgr->GetProjectTree();
    I_PMFolder* pApp = f.view.GetItemFolder(f.view.GetParentItem(f.Find("main.asm")), NULL);
    ASSERT_NE(nullptr, pApp);
    CStringList paths;
    paths.AddTail(CString(f.sample.Folder().c_str()) + "new.asm");
    paths.AddTail(CString(f.sample.Folder().c_str()) + "data.bin");
    paths.AddTail(CString(f.sample.Folder().c_str()) + "noext");
    EXPECT_TRUE(f.view.AddFilesToFolder(paths, pApp, -1));
    EXPECT_EQ(2, (int)paths.GetCount());
    EXPECT_EQ(CString(f.sample.Folder().c_str()) + "data.bin", paths.GetHead());
    CStringList none;
    none.AddTail("x.zzz");
    EXPECT_FALSE(f.view.AddFilesToFolder(none, pApp, -1));
    EXPECT_EQ(1, (int)none.GetCount());
    EXPECT_FALSE(f.view.CanAddFiles(NULL, -1));
    EXPECT_TRUE(f.view.CanAddFiles(pApp, -1));
    (void)pTree;
}

TEST(FileView, FilterTextsAreBuiltWithoutLimit)
{
    Fixture f;
    ASSERT_TRUE(f.ok);
    I_PMFolder* pApp = f.view.GetItemFolder(f.view.GetParentItem(f.Find("main.asm")), NULL);
    ASSERT_NE(nullptr, pApp);
    CString strPattern = C_IDEFileView::FolderPattern(pApp);
    EXPECT_EQ(0, strPattern.Find("*.asm"));
    CString strFolder = C_IDEFileView::BuildFolderFilter(pApp);
    EXPECT_EQ(0, strFolder.Find("Source Files (" + strPattern + ")|" + strPattern + "|"));
    CString strProject = f.view.BuildProjectFilter(f.pMgr->GetProjectTree());
    EXPECT_EQ(strProject.GetLength() - 21, strProject.Find("All files (*.*)|*.*||"));
    EXPECT_EQ(0, strProject.Find("All source files ("));
    EXPECT_EQ("All files (*.*)|*.*||", std::string(f.view.BuildProjectFilter(NULL)));
    CString strNew = C_IDEFileView::BuildNewFileFilter(pApp);
    EXPECT_EQ(0, strNew.Find("Source File (.asm)|*.asm|"));
}

TEST(FileView, NewFileNameGetsTheFilterExtensionOrItsMessage)
{
    Fixture f;
    ASSERT_TRUE(f.ok);
    I_PMFolder* pApp = f.view.GetItemFolder(f.view.GetParentItem(f.Find("main.asm")), NULL);
    ASSERT_NE(nullptr, pApp);
    EXPECT_EQ("c:\\p\\a.asm", std::string(f.view.CheckNewFileName(pApp, "c:\\p\\a", 1)));
    EXPECT_EQ("c:\\p\\a.ASM", std::string(f.view.CheckNewFileName(pApp, "c:\\p\\a.ASM", 1)));
    f.answerer.Clear();
    EXPECT_EQ("", std::string(f.view.CheckNewFileName(pApp, "c:\\p\\a.zzz", 1)));
    ASSERT_EQ(1u, f.answerer.Count());
    EXPECT_EQ("Invalid file extension (.zzz).", f.answerer.Last().text);
    f.view.SetOptions(IDEFILEVIEW_OPT_NO_BLANK);
    EXPECT_EQ("", std::string(f.view.CheckNewFileName(pApp, "c:\\p\\a b.asm", 1)));
    EXPECT_EQ("Space in filename unsupported!", f.answerer.Last().text);
    f.view.SetOptions(0);
    EXPECT_EQ("c:\\p\\a b.asm", std::string(f.view.CheckNewFileName(pApp, "c:\\p\\a b.asm", 1)));
}

TEST(FileView, SubFolderAddRenameActivateDeleteThroughTheNameDialog)
{
    Fixture f;
    ASSERT_TRUE(f.ok);
    HTREEITEM hGraphic = f.Find("GraphicData");
    ASSERT_NE(nullptr, hGraphic);
    f.view.SetContextItem(hGraphic);
    f.answerer.Queue(vt::ModalAnswer(IDOK).Type(IDC_INPUT_NAME_EDIT, "  Extra\t"));
    f.view.OnAddSubFolder();
    HTREEITEM hExtra = f.Find("Extra");
    ASSERT_NE(nullptr, hExtra);
    EXPECT_TRUE(f.view.IsModified());

    f.view.SetContextItem(f.Find("Extra"));
    f.answerer.Queue(vt::ModalAnswer(IDOK).Type(IDC_INPUT_NAME_EDIT, "Renamed"));
    f.view.OnRenameSubFolder();
    EXPECT_EQ(nullptr, f.Find("Extra"));
    HTREEITEM hRenamed = f.Find("Renamed");
    ASSERT_NE(nullptr, hRenamed);

    f.view.SetContextItem(hRenamed);
    f.view.OnActivateSubFolder();
    int nSub = -1;
    I_PMFolder* pFolder = f.view.GetItemFolder(hRenamed, &nSub);
    ASSERT_NE(nullptr, pFolder);
    EXPECT_EQ(nSub, pFolder->GetActiveSubFolder());

    f.view.SetContextItem(hRenamed);
    f.answerer.Queue(vt::ModalAnswer(IDOK));
    f.view.OnDeleteSubFolder();
    EXPECT_EQ(nullptr, f.Find("Renamed"));
}

TEST(InputNameDlg, FolderNamesAreProbedInsideTheirOwnFolderOnly)
{
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    // A user's empty folder that "..\" names would reach from the old trial folder.
    std::string keep = std::string(szTemp) + "VtKeepProbeTest";
    CreateDirectoryA(keep.c_str(), NULL);
    struct Case { const char* name; BOOL valid; };
    const Case cases[] = {
        {"\\", TRUE}, {"Sounds", TRUE}, {"a\\b", TRUE}, {"\\abc", TRUE}, {"My Folder", TRUE},
        {"..", FALSE}, {"..\\VtKeepProbeTest", FALSE}, {"a\\..\\..\\x", FALSE}, {"a:b", FALSE},
        {"c:\\x", FALSE}, {"a/b", FALSE}, {"a*", FALSE}, {"a?", FALSE}, {"\"q\"", FALSE},
        {"<a>", FALSE}, {"a|b", FALSE}, {"tab\there", FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.valid, C_IDEInputNameDlg::IsValidFolderName(c.name)) << c.name;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(keep.c_str()));
    RemoveDirectoryA(keep.c_str());
    // Nothing of the probes is left behind.
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((std::string(szTemp) + "VtNameProbe_*").c_str(), &fd);
    EXPECT_EQ(INVALID_HANDLE_VALUE, h);
    if (h != INVALID_HANDLE_VALUE)
        FindClose(h);
}
