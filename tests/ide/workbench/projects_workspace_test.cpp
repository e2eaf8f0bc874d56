// The project bar on a real frame with the project-manager stand-in: the
// "Source Files" tab, editor syntax, opening source files and following a
// record's line, the tree's popup command ranges, and the frame's project
// commands around them (object-file projects, duplicate, wizard items).
#include "tests/ide/workbench/mainframe_fixture.h"
#include "tests/harness/sample_copy.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

CAsmIDEApp* App() { return dynamic_cast<CAsmIDEApp*>(AfxGetApp()); }

std::vector<CDocument*> TextDocs()
{
    std::vector<CDocument*> docs;
    CDocTemplate* pTemplate = App()->FindDocTemplate("Text");
    for (POSITION pos = pTemplate ? pTemplate->GetFirstDocPosition() : nullptr; pos;)
        docs.push_back(pTemplate->GetNextDoc(pos));
    return docs;
}

void CloseAllDocs()
{
    for (CDocument* pDoc : TextDocs()) {
        if (auto* pSource = dynamic_cast<CAsmIDEDoc*>(pDoc))
            pSource->m_Edit.SetReadOnly(FALSE);
        pDoc->SetModifiedFlag(FALSE);
        pDoc->OnCloseDocument();
    }
}

// The node with the label under the parent (NULL: the whole tree), depth first.
HTREEITEM FindNode(C_IDEFileView& view, const char* label, HTREEITEM hParent = nullptr)
{
    for (HTREEITEM h = hParent ? view.GetChildItem(hParent) : view.GetRootItem(); h; h = view.GetNextSiblingItem(h)) {
        if (view.GetItemText(h) == label)
            return h;
        if (HTREEITEM hFound = FindNode(view, label, h))
            return hFound;
    }
    return nullptr;
}

int CountNodes(C_IDEFileView& view, HTREEITEM hParent = nullptr)
{
    int n = 0;
    for (HTREEITEM h = hParent ? view.GetChildItem(hParent) : view.GetRootItem(); h; h = view.GetNextSiblingItem(h))
        n += 1 + CountNodes(view, h);
    return n;
}

// A store whose profile section can be read back.
struct SectionStore : TWKEdit {
    CString Section() const { return m_strSection; }
};

class Workspace : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.p);
        ASSERT_TRUE(frame.p->InitProjectManager());
        wnd = frame.p->GetProjectWnd();
        App()->m_pMainWnd = frame.p;
        if (!g_pTextTemplate)
            App()->RegisterDocTemplates();
        if (!App()->m_pRecentProjectList)
            App()->LoadStdProfileSettings(4);
    }
    void TearDown() override
    {
        CloseAllDocs();
        if (frame.p && frame.p->m_bProjectOpen)
            frame.p->CloseProject(FALSE);
        vt::PumpMessages();
        App()->m_pMainWnd = nullptr;
    }
    void Open()
    {
        ASSERT_TRUE(frame.p->OpenProject(sample.Project().c_str()));
        vt::PumpMessages();
    }
    vt::ModalAnswerer answerer{IDNO};
    vt::SampleCopy sample;
    vt::MainFrame frame;
    C_IDEProjectWnd* wnd = nullptr;
};

TEST_F(Workspace, SourceFilesTabShowsTheProjectTree)
{
    ASSERT_TRUE(::IsWindow(wnd->m_wndTabs.m_hWnd));
    ASSERT_EQ(1, wnd->m_wndTabs.GetTabCount());
    LPCTSTR label = nullptr;
    BOOL bSelected = FALSE;
    CWnd* pPage = nullptr;
    void* pExtra = nullptr;
    ASSERT_TRUE(wnd->m_wndTabs.GetTabInfo(0, label, bSelected, pPage, pExtra));
    EXPECT_STREQ("Source Files", label);
    EXPECT_EQ(&wnd->GetFileView(), pPage);
    EXPECT_TRUE(wnd->IsWorkspaceEmpty());

    Open();
    C_IDEFileView& view = wnd->GetFileView();
    EXPECT_FALSE(wnd->IsWorkspaceEmpty());
    EXPECT_TRUE(view.IsWindowVisible());
    ASSERT_TRUE(view.GetRootItem());
    EXPECT_EQ("Project Sample", std::string(view.GetItemText(view.GetRootItem())));
    for (const char* node : {"Application", "main.asm", "GraphicData", "Icons", "icon.bmp", "readme.txt"})
        EXPECT_TRUE(FindNode(view, node)) << node;
    // The tree fills the bar's inside: it has a size of its own.
    CRect rc;
    view.GetClientRect(&rc);
    EXPECT_GT(rc.Width(), 0);
    EXPECT_GT(rc.Height(), 0);
    // Select All reaches the focused tree.
    view.SetFocus();
    vt::CTestCmdUI ui;
    ui.m_nID = ID_EDIT_SELECT_ALL;
    frame.p->OnUpdateEditSelectAll(&ui);
    EXPECT_EQ(1, ui.nEnabled);
    frame.p->EditSelectAll();
    int nSelected = 0;
    for (HTREEITEM h = view.GetFirstSelectedItem(); h; h = view.GetNextSelectedItem(h))
        nSelected++;
    EXPECT_LT(1, nSelected);
    // Reloading shows the same project in place.
    int nNodes = CountNodes(view);
    EXPECT_TRUE(wnd->ReloadFileInfo());
    EXPECT_EQ(nNodes, CountNodes(view));

    ASSERT_TRUE(frame.p->CloseProject(FALSE));
    EXPECT_TRUE(wnd->IsWorkspaceEmpty());
    EXPECT_FALSE(view.GetRootItem());
    EXPECT_EQ(0u, answerer.Count()) << answerer.Last().text;
}

TEST_F(Workspace, NewProjectsAreShownAndMarkedModified)
{
    for (BOOL bTemplate : {FALSE, TRUE}) {
        SCOPED_TRACE(bTemplate ? "from the template" : "plain");
        std::string folder = sample.dir.Path() + (bTemplate ? "\\fromtemplate\\" : "\\plain\\");
        CreateDirectoryA(folder.c_str(), nullptr);
        frame.p->m_listOutputRequests.RemoveAll();
        wnd->NewProject(folder.c_str(), "Fresh.wbi", "KV61A-S28", PM_KIND_NORMAL, bTemplate,
                        sample.Fixture("Sample.wbt").c_str());
        EXPECT_EQ("clear 2", std::string(frame.p->m_listOutputRequests.GetHead()));
        EXPECT_STREQ("Fresh", wnd->m_strProjectName);
        EXPECT_EQ(folder, (LPCSTR)wnd->m_strProjectFolder);
        EXPECT_TRUE(frame.p->m_bProjectOpen);
        EXPECT_TRUE(wnd->IsProjectModified());
        EXPECT_FALSE(wnd->IsWorkspaceEmpty());
        answerer.Queue(IDNO);
        ASSERT_TRUE(frame.p->CloseProject(FALSE));
    }
    // Each new project was modified: its close asked to save it, and nothing else was asked.
    ASSERT_EQ(2u, answerer.Count());
    for (const auto& seen : answerer.Seen())
        EXPECT_EQ("Save Current Project ?", seen.text);
}

TEST_F(Workspace, EditorSyntaxComesFromTheLanguageOrTheKeywordFile)
{
    Open();
    I_PMLanguage* pLanguage = frame.p->GetProjectMgr()->GetLanguage((sample.Folder() + "main.asm").c_str());
    ASSERT_TRUE(pLanguage);
    SectionStore store;
    EXPECT_TRUE(wnd->SetEditorSyntax(&store, (sample.Folder() + "main.asm").c_str()));
    std::string section = std::string("Editor\\") + pLanguage->GetName() + " Files";
    EXPECT_EQ(section, (LPCSTR)store.Section());
    EXPECT_EQ(1, vt::ProfileInt(section.c_str(), "Chroma"));
    EXPECT_EQ(pLanguage->GetKeywordFile(), vt::ProfileString(section.c_str(), "Keywords"));
    EXPECT_EQ(pLanguage->GetExtraChars(), vt::ProfileString(section.c_str(), "Extra word chars"));
    EXPECT_EQ(pLanguage->GetCommentStart1(), vt::ProfileString(section.c_str(), "Comment Start 1"));
    EXPECT_EQ(pLanguage->GetQuoteColor(), vt::ProfileString(section.c_str(), "Quote"));
    EXPECT_EQ((int)pLanguage->GetTabSize(), vt::ProfileInt(section.c_str(), "Tab size"));
    EXPECT_EQ((int)pLanguage->IsCaseSensitive(), vt::ProfileInt(section.c_str(), "Case"));
    EXPECT_EQ(store.GetTabSize(), (int)pLanguage->GetTabSize());

    // Applied again to every open document, each one's flag set from the result.
    auto* pDoc = dynamic_cast<CAsmIDEDoc*>(wnd->OpenSourceFile((sample.Folder() + "main.asm").c_str(), 0, FALSE,
                                                               &CWnd::wndTop, TRUE));
    ASSERT_TRUE(pDoc);
    pDoc->m_bSyntaxApplied = FALSE;
    wnd->ApplySyntaxToDocuments();
    EXPECT_TRUE(pDoc->m_bSyntaxApplied);

    // A type neither the project manager nor "Default_INI" knows takes "Default.ini".
    SectionStore other;
    EXPECT_TRUE(wnd->SetEditorSyntax(&other, (sample.Folder() + "notes.zzz").c_str()));
    EXPECT_STREQ("Editor\\Default Files", other.Section());
    EXPECT_EQ(";", vt::ProfileString("Editor\\Default Files", "Comment Start 1"));
}

TEST_F(Workspace, OpenSourceFileFindsOrOpensAndReportsAreReadOnly)
{
    Open();
    std::string path = sample.Folder() + "readme.txt";
    CDocument* pDoc = wnd->OpenSourceFile(path.c_str(), 0, FALSE, &CWnd::wndTop, TRUE);
    ASSERT_TRUE(pDoc);
    EXPECT_EQ(pDoc, wnd->OpenSourceFile(path.c_str(), 0, FALSE, &CWnd::wndTop, TRUE));
    EXPECT_EQ(1u, TextDocs().size());
    auto* pSource = dynamic_cast<CAsmIDEDoc*>(pDoc);
    ASSERT_TRUE(pSource);
    EXPECT_FALSE(pSource->m_Edit.IsReadOnly());
    EXPECT_EQ(pDoc, wnd->OpenSourceFile(path.c_str(), 0, TRUE, nullptr, TRUE));
    EXPECT_TRUE(pSource->m_Edit.IsReadOnly());

    // The window brought to the top is the active child.
    std::string other = sample.Folder() + "notes.txt";
    CDocument* pOther = wnd->OpenSourceFile(other.c_str(), 0, FALSE, &CWnd::wndTop, TRUE);
    ASSERT_TRUE(pOther);
    wnd->OpenSourceFile(path.c_str(), 0, FALSE, &CWnd::wndTop, TRUE);
    CMDIChildWnd* pActive = frame.p->MDIGetActive();
    ASSERT_TRUE(pActive);
    EXPECT_EQ(pDoc, pActive->GetActiveDocument());

    // A file that cannot be opened: the message only when asked for.
    std::string missing = sample.Folder() + "missing.asm";
    answerer.Clear();
    EXPECT_EQ(nullptr, wnd->OpenSourceFile(missing.c_str(), 0, FALSE, &CWnd::wndTop, FALSE));
    EXPECT_EQ(0u, answerer.Count());
    EXPECT_EQ(nullptr, wnd->OpenSourceFile(missing.c_str(), 0, FALSE, &CWnd::wndTop, TRUE));
    ASSERT_LE(1u, answerer.Count());
    EXPECT_EQ("Open file " + missing + " failed !!", answerer.Seen().back().text);
}

// A store of numbered lines "line 1" ... "line n".
void FillStore(TWKEdit& store, int nLines, const std::string& path)
{
    std::string text;
    for (int i = 1; i <= nLines; i++)
        text += "line " + std::to_string(i) + "\r\n";
    vt::WriteFileBytes(path, text);
    ASSERT_EQ(0, store.LoadFile(path.c_str()));
}

TEST_F(Workspace, ARecordFollowsItsLineWhileItMovedLessThanFiftyLines)
{
    const struct {
        const char* name;
        int inserted;   // lines put in above the record's line (negative: removed)
        int recordLine;
        int expected;
    } cases[] = {
        {"unmoved", 0, 100, 100},
        {"moved down by 10", 10, 100, 110},
        {"moved down by 49", 49, 100, 149},
        {"moved down by 60: the record's number", 60, 100, 100},
        {"moved up by 20", -20, 100, 80},
        {"past the end: the last line", 0, 500, 200},
    };
    std::string path = sample.dir.Path() + "\\lines.txt";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TWKEdit store;
        FillStore(store, 200, path);
        tagMessageRecord record = {};
        record.line = c.recordLine;
        EXPECT_EQ(c.recordLine > 200 ? 200 : c.recordLine, wnd->FollowRecordLine(store, &record));
        EXPECT_EQ(c.recordLine <= 200, record.receiverWord != 0);
        TWKEditPos top = {store.GetFirstLine(), 0};
        if (c.inserted > 0) {
            std::string more;
            for (int i = 0; i < c.inserted; i++)
                more += "new\r\n";
            store.InsertText(top, more.c_str(), (int)more.size(), FALSE);
        } else if (c.inserted < 0) {
            TWKEditPos end = {store.GetLine(1 - c.inserted), 0};
            store.DeleteRange(top, end, FALSE);
        }
        EXPECT_EQ(c.expected, wnd->FollowRecordLine(store, &record));
        wnd->GetLineTies().Release(&record);
    }
    EXPECT_EQ(0, wnd->GetLineTies().GetCount());
}

TEST_F(Workspace, AGoneLineOrDocumentIsNeverFollowed)
{
    Open();
    std::string path = sample.dir.Path() + "\\ties.txt";
    std::string text;
    for (int i = 1; i <= 30; i++)
        text += "line " + std::to_string(i) + "\r\n";
    vt::WriteFileBytes(path, text);
    tagMessageRecord record = {};
    record.line = 10;
    auto* pDoc = dynamic_cast<CAsmIDEDoc*>(wnd->OpenFileAtRecord(path.c_str(), &record, FALSE));
    ASSERT_TRUE(pDoc);
    C_IDELineTies::Entry tie;
    ASSERT_TRUE(wnd->GetLineTies().Find(&record, &tie));
    EXPECT_EQ(&pDoc->m_Edit, tie.pStore);
    EXPECT_EQ(pDoc->m_Edit.GetLine(10), tie.pLine);
    EXPECT_EQ(10, pDoc->m_nPCLine);

    // The tied line deleted: the record's own number is used.
    TWKEditPos from = {pDoc->m_Edit.GetLine(9), 0}, to = {pDoc->m_Edit.GetLine(11), 0};
    pDoc->m_Edit.DeleteRange(from, to, FALSE);
    EXPECT_EQ(10, wnd->FollowRecordLine(pDoc->m_Edit, &record));

    // The document closed: its ties are cut; opening again ties the new store.
    ASSERT_TRUE(wnd->GetLineTies().Find(&record, nullptr));
    pDoc->SetModifiedFlag(FALSE);
    pDoc->m_Edit.ResetUndo();
    wnd->ForgetDocument(pDoc);
    EXPECT_FALSE(wnd->GetLineTies().Find(&record, nullptr));
    CloseAllDocs();
    ASSERT_TRUE(wnd->OpenFileAtRecord(path.c_str(), &record, FALSE));
    EXPECT_TRUE(wnd->GetLineTies().Find(&record, nullptr));

    // Clearing the "Build" page empties the table.
    frame.p->ClearOutputPage(0);
    EXPECT_EQ(0, wnd->GetLineTies().GetCount());
    EXPECT_FALSE(wnd->GetLineTies().Find(&record, nullptr));
    // A page that drops its record (here its own Clear) releases the record's tie.
    tagMessageRecord error = {};
    error.kind = CU_REC_ERROR;
    strcpy(error.fileName, path.c_str());
    error.line = 5;
    strcpy(error.text, "an error");
    frame.p->GetMessageBar()->m_wndTabs.SendMessage(CU_WM_MESSAGE_RECORD, 0, (LPARAM)&error);
    C_MessageRecordList* pRecords = frame.p->GetMessageBar()->GetBuildRecordList();
    ASSERT_FALSE(pRecords->IsEmpty());
    ASSERT_TRUE(wnd->OpenFileAtRecord(path.c_str(), pRecords->GetTail(), FALSE));
    EXPECT_EQ(1, wnd->GetLineTies().GetCount());
    frame.p->GetMessageBar()->GetBuildPage()->Clear(TRUE);
    EXPECT_EQ(0, wnd->GetLineTies().GetCount());
    // Not a source file: nothing opens.
    EXPECT_EQ(nullptr, wnd->OpenFileAtRecord((sample.Folder() + "none.asm").c_str(), &record, FALSE));
}

// Writes the file and moves its write time on by the given seconds from the last one.
void Rewrite(const std::string& path, const std::string& text, int nSeconds)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME ft = {};
    GetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
    vt::WriteFileBytes(path, text);
    ULARGE_INTEGER t = {{ft.dwLowDateTime, ft.dwHighDateTime}};
    t.QuadPart += (ULONGLONG)nSeconds * 10000000ULL;
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = t.HighPart;
    h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
}

TEST_F(Workspace, DocumentsChangedOutsideAreReloadedOnYesAndAskedOnce)
{
    std::string path = sample.dir.Path() + "\\outside.txt";
    vt::WriteFileBytes(path, "first\r\n");
    auto* pDoc = dynamic_cast<CAsmIDEDoc*>(wnd->OpenSourceFile(path.c_str(), 0, FALSE, &CWnd::wndTop, TRUE));
    ASSERT_TRUE(pDoc);
    answerer.Clear();
    frame.p->RefreshDocuments();
    EXPECT_EQ(0u, answerer.Count());

    Rewrite(path, "second\r\n", 10);
    answerer.Queue(IDNO);
    frame.p->RefreshDocuments();
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("File " + path + " has been modified outside IDE, reload it ?", answerer.Last().text);
    EXPECT_EQ(0, strncmp(pDoc->m_Edit.GetFirstLine()->pText, "first", 5));
    frame.p->RefreshDocuments();
    EXPECT_EQ(1u, answerer.Count());

    Rewrite(path, "third\r\n", 10);
    answerer.Queue(IDYES);
    frame.p->RefreshDocuments();
    EXPECT_EQ(2u, answerer.Count());
    EXPECT_EQ(0, strncmp(pDoc->m_Edit.GetFirstLine()->pText, "third", 5));
}

TEST_F(Workspace, CancelAtCloseAllOrASaveQuestionKeepsTheProjectOpen)
{
    Open();
    CDocument* pDoc = wnd->OpenSourceFile((sample.Folder() + "readme.txt").c_str(), 0, FALSE, &CWnd::wndTop, TRUE);
    ASSERT_TRUE(pDoc);
    wnd->SetProjectModified(FALSE);
    answerer.Clear();
    answerer.Queue(IDCANCEL);
    EXPECT_FALSE(frame.p->CloseProject(TRUE));
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Close all documents ?", answerer.Last().text);
    EXPECT_TRUE(frame.p->m_bProjectOpen);
    EXPECT_FALSE(wnd->IsWorkspaceEmpty());

    // Yes to closing them all, Cancel at the modified document's own question.
    auto* pSource = dynamic_cast<CAsmIDEDoc*>(pDoc);
    ASSERT_TRUE(pSource);
    TWKEditPos top = {pSource->m_Edit.GetFirstLine(), 0};
    pSource->m_Edit.InsertText(top, "changed\r\n", 9, TRUE);
    pDoc->SetModifiedFlag(TRUE);
    wnd->SetProjectModified(FALSE);
    answerer.Clear();
    answerer.Queue(IDYES);
    answerer.Queue(IDCANCEL);
    EXPECT_FALSE(frame.p->CloseProject(TRUE));
    EXPECT_EQ(2u, answerer.Count());
    EXPECT_TRUE(frame.p->m_bProjectOpen);
    EXPECT_EQ(1u, TextDocs().size());
    // No keeps the documents and closes the project.
    wnd->SetProjectModified(FALSE);
    answerer.Clear();
    answerer.Queue(IDNO);
    EXPECT_TRUE(frame.p->CloseProject(TRUE));
    EXPECT_FALSE(frame.p->m_bProjectOpen);
    EXPECT_EQ(1u, TextDocs().size());
}

TEST_F(Workspace, PopupCommandRangesOpenIncludesAndRunActions)
{
    Open();
    C_IDEFileView& view = wnd->GetFileView();
    // Included files of main.asm: the menu is built for the node, then its entry chosen.
    HTREEITEM hMain = FindNode(view, "main.asm");
    ASSERT_TRUE(hMain);
    view.SetContextItem(hMain);
    delete view.BuildContextMenu(hMain);
    ASSERT_LT(0, view.GetIncludedList().GetCount());
    frame.Command(ID_FILEVIEW_INCLUDED_FIRST);
    ASSERT_EQ(1u, TextDocs().size());
    EXPECT_EQ(std::string(view.GetIncludedList().GetAt(0)), (LPCSTR)TextDocs()[0]->GetPathName());

    // A file action that may change the file marks the project modified.
    HTREEITEM hTone = FindNode(view, "tone.wav");
    ASSERT_TRUE(hTone);
    view.SetContextItem(hTone);
    wnd->SetProjectModified(FALSE);
    frame.Command(ID_FILEVIEW_FILE_ACTION_FIRST + 1);
    EXPECT_TRUE(wnd->IsProjectModified());

    // A sub-folder action opens the files it hands back.
    HTREEITEM hIcons = FindNode(view, "Icons");
    ASSERT_TRUE(hIcons);
    view.SetContextItem(hIcons);
    frame.Command(ID_FILEVIEW_SUBFOLDER_ACTION_FIRST);
    ASSERT_EQ(2u, TextDocs().size());
    EXPECT_NE(std::string::npos, std::string(TextDocs()[1]->GetPathName()).find("GraphicData_Icons.txt"));

    // Clear (28672) is swallowed; the ranges are the project window's.
    EXPECT_TRUE(C_IDEProjectWnd::IsOwnCommand(ID_FILEVIEW_INCLUDED_FIRST));
    EXPECT_TRUE(C_IDEProjectWnd::IsOwnCommand(ID_FILEVIEW_FOLDER_ACTION_LAST));
    EXPECT_TRUE(C_IDEProjectWnd::IsOwnCommand(ID_FILEVIEW_RENAME_SUBFOLDER));
    EXPECT_FALSE(C_IDEProjectWnd::IsOwnCommand(40016));
    EXPECT_FALSE(C_IDEProjectWnd::IsOwnCommand(ID_OUTPUT_CLEAR));
    EXPECT_FALSE(C_IDEProjectWnd::IsOwnCommand(ID_FILEVIEW_FOLDER_ACTION_LAST + 1));
    EXPECT_TRUE(C_IDEProjectWnd::IsPopupFileCommand(ID_FILEVIEW_EMBEDDED_FIRST));
    EXPECT_FALSE(C_IDEProjectWnd::IsPopupFileCommand(ID_FILEVIEW_INCLUDED_LAST));
    wnd->OnPopupFileSelect(nullptr, ID_FILEVIEW_EMBEDDED_FIRST, 3);
    EXPECT_EQ(2, wnd->m_nEmbeddedPos);
    wnd->OnPopupFileSelect(nullptr, ID_FILEVIEW_EQUATION_FIRST, 3);
    EXPECT_EQ(3, wnd->m_nEquationPos);
    EXPECT_EQ(0u, answerer.Count()) << answerer.Last().text;
}

TEST_F(Workspace, ReadOnlyProjectFileAsksOnOpenAndOnSave)
{
    std::string path = sample.Project();
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    answerer.Queue(IDNO);
    Open();
    ASSERT_LE(1u, answerer.Count());
    EXPECT_EQ("File " + path + " is readonly.\nDo you want to change it writable?(Y/N)", answerer.Seen()[0].text);
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);

    answerer.Clear();
    answerer.Queue(IDYES);
    frame.p->OnFileSaveProject();
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("The project is read-only, do you want to save it?", answerer.Last().text);
    EXPECT_EQ("Warning", answerer.Last().caption);
    EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(wnd->IsProjectModified());
    ASSERT_TRUE(frame.p->CloseProject(FALSE));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    // Yes makes it writable.
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    answerer.Clear();
    answerer.Queue(IDYES);
    Open();
    EXPECT_FALSE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(Workspace, GarbledProjectFilesNeverCrash)
{
    std::string whole = ReadAll(sample.Project());
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"truncated", whole.substr(0, whole.size() / 3)},
        {"binary", std::string("\x00\xff\x13[Project\x00]\r\nKind=\xff\xff", 22) + std::string(4000, '\x01')},
        {"no sections", "just text without any section\r\nFile1=main.asm\r\n"},
        {"huge line", "[Project]\r\nPartNumber=" + std::string(70000, 'K') + "\r\n"},
        {"old format, cut", "[UserDefine_Sys]\r\n1=Application\r\n[System Disk - Application]\r\nFile1=ma"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = sample.Folder() + "Garbled.wbi";
        vt::WriteFileBytes(path, c.bytes);
        answerer.Clear();
        BOOL bOpened = frame.p->OpenProject(path.c_str());
        vt::PumpMessages();
        if (!bOpened) {
            ASSERT_LE(1u, answerer.Count());
            EXPECT_EQ("Unable to open project " + path + " !!", answerer.Last().text);
            EXPECT_FALSE(frame.p->m_bProjectOpen);
        } else {
            EXPECT_TRUE(frame.p->m_bProjectOpen);
            frame.p->CloseProject(FALSE);
        }
        // A converted file keeps its original bytes in the copy.
        if (GetFileAttributesA((path + ".old").c_str()) != INVALID_FILE_ATTRIBUTES) {
            EXPECT_EQ(c.bytes, ReadAll(path + ".old"));
            DeleteFileA((path + ".old").c_str());
        }
    }
}

TEST_F(Workspace, RecentProjectsListAndSubmenu)
{
    CRecentFileList* pList = App()->m_pRecentProjectList;
    ASSERT_TRUE(pList);
    Open();
    ASSERT_TRUE(frame.p->CloseProject(FALSE));
    EXPECT_STREQ(sample.Project().c_str(), (*pList)[0]);

    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_FILE_MRU_PROJECT1, "Recent");
    CCmdUI ui;
    ui.m_pMenu = &menu;
    ui.m_nIndex = 0;
    ui.m_nIndexMax = menu.GetMenuItemCount();
    ui.m_nID = ID_FILE_MRU_PROJECT1;
    ui.DoUpdate(App(), FALSE);
    CString strItem;
    menu.GetMenuString(ID_FILE_MRU_PROJECT1, strItem, MF_BYCOMMAND);
    EXPECT_NE(-1, strItem.Find("Sample.wbi")) << (LPCSTR)strItem;
}

TEST_F(Workspace, ObjectFileMakesAnObjectProject)
{
    Open();
    I_ProjectMgr* pMgr = frame.p->GetProjectMgr();
    ASSERT_TRUE(pMgr->Build(FALSE));
    char szObj[PM_PATH_SIZE] = "";
    ASSERT_TRUE(pMgr->GetOutputFile(szObj));
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(szObj));
    ASSERT_TRUE(frame.p->CloseProject(FALSE));

    answerer.Clear();
    answerer.Queue(IDOK);
    EXPECT_TRUE(frame.p->OpenObjFile(szObj));
    ASSERT_LE(1u, answerer.Count());
    EXPECT_EQ(std::string("Create a new project for OBJ file ") + szObj + "?", answerer.Seen()[0].text);
    EXPECT_EQ("Message:", answerer.Seen()[0].caption);
    EXPECT_TRUE(frame.p->m_bProjectOpen);
    EXPECT_TRUE(frame.p->m_strProjectPath.IsEmpty());
    EXPECT_EQ((DWORD)PM_KIND_OBJ, pMgr->GetProject()->GetProjectKind());
    EXPECT_FALSE(wnd->IsWorkspaceEmpty());
    // Options are not offered for an object-file project.
    vt::CTestCmdUI ui;
    ui.m_nID = ID_PROJECT_OPTIONS;
    frame.p->OnCmdMsg(ID_PROJECT_OPTIONS, CN_UPDATE_COMMAND_UI, &ui, nullptr);
    EXPECT_EQ(0, ui.nEnabled);
}

TEST_F(Workspace, DuplicateIntoTheProjectsOwnFolderIsRefused)
{
    Open();
    answerer.Clear();
    EXPECT_FALSE(frame.p->DuplicateProjectTo(sample.Folder().c_str()));
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Source folder and destination folder can not be the same!!", answerer.Last().text);
    std::string target = sample.dir.Path() + "\\copy";
    CreateDirectoryA(target.c_str(), nullptr);
    answerer.Clear();
    EXPECT_TRUE(frame.p->DuplicateProjectTo(target.c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((target + "\\Sample.wbi").c_str()));
}

// The command ids of a popup of the current menu.
std::vector<UINT> PopupIds(CMainFrame* p, const char* title)
{
    std::vector<UINT> ids;
    HMENU hMenu = p->GetCurrentMenu();
    for (int i = 0; hMenu && i < ::GetMenuItemCount(hMenu); i++) {
        HMENU hPopup = ::GetSubMenu(hMenu, i);
        char sz[64] = "";
        ::GetMenuStringA(hMenu, i, sz, sizeof sz, MF_BYPOSITION);
        if (!hPopup || lstrcmpiA(sz, title) != 0)
            continue;
        for (int k = 0; k < ::GetMenuItemCount(hPopup); k++)
            ids.push_back(::GetMenuItemID(hPopup, k));
    }
    return ids;
}

TEST_F(Workspace, WizardItemsComeWithTheProjectAndGoWithIt)
{
    const UINT wizards[] = {ID_PROJECT_WIZARD1, ID_PROJECT_WIZARD2, ID_PROJECT_WIZARD4};
    auto has = [](const std::vector<UINT>& ids, UINT id) { return std::find(ids.begin(), ids.end(), id) != ids.end(); };
    std::vector<UINT> before = PopupIds(frame.p, "&Project");
    ASSERT_FALSE(before.empty());
    for (UINT id : wizards)
        EXPECT_FALSE(has(before, id));

    Open();
    std::vector<UINT> open = PopupIds(frame.p, "&Project");
    auto options = std::find(open.begin(), open.end(), (UINT)ID_PROJECT_OPTIONS);
    ASSERT_NE(open.end(), options);
    for (size_t i = 0; i < 3; i++) {
        ASSERT_LT(options - open.begin() + 1 + i, open.size());
        EXPECT_EQ(wizards[i], options[1 + i]);
    }
    TWKCustomToolBar* pFile = frame.ToolBar(IDW_FILE_TOOLBAR);
    ASSERT_TRUE(pFile);
    for (UINT id : wizards)
        EXPECT_LE(0, pFile->CommandToIndex(id)) << id;
    frame.p->ModifyMenuItem("File", "SaveAs Template", CMainFrame::MENUITEM_ENSURE, 4, ID_FILE_SAVEAS_TEMPLATE);
    EXPECT_TRUE(has(PopupIds(frame.p, "&File"), ID_FILE_SAVEAS_TEMPLATE));

    ASSERT_TRUE(frame.p->CloseProject(FALSE));
    std::vector<UINT> closed = PopupIds(frame.p, "&Project");
    for (UINT id : wizards) {
        EXPECT_FALSE(has(closed, id));
        EXPECT_GT(0, pFile->CommandToIndex(id)) << id;
    }
    EXPECT_FALSE(has(PopupIds(frame.p, "&File"), ID_FILE_SAVEAS_TEMPLATE));
}

}  // namespace
