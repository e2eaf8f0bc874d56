#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/controls/dialogs/TWKBrowseEdit.h"
#include "framework/frameworkres.h"
#include "tests/framework/controls/dialogs/test_dialog.h"
#include "tests/harness/harness.h"
#include <dlgs.h>
#include <string>

namespace {

const WORD kFileEdit = 1001;
const WORD kDirEdit = 1002;
const WORD kTaken = 32767;   // so the button takes the next free id down

std::string CurrentFolder()
{
    char buf[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, buf);
    return buf;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = (char)tolower((unsigned char)c);
    return s;
}

std::string Text(HWND hWnd)
{
    char buf[1024] = "";
    ::GetWindowTextA(hWnd, buf, sizeof buf);
    return buf;
}

CRect RectIn(HWND hWnd, HWND hParent)
{
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    ::MapWindowPoints(NULL, hParent, reinterpret_cast<LPPOINT>(&rc), 2);
    return rc;
}

// A modeless dialog with a file edit, a folder edit and a control holding id 32767.
class BrowseDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        tmpl.Add("EDIT", "", kFileEdit, 10, 10, 120, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP)
            .Add("EDIT", "", kDirEdit, 10, 30, 120, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP)
            .Add("BUTTON", "OK", IDOK, 150, 10, 40, 14, BS_DEFPUSHBUTTON | WS_TABSTOP)
            .Add("STATIC", "taken", kTaken, 150, 30, 40, 10, 0);
        ASSERT_TRUE(dlg.CreateIndirect(tmpl.Get(), NULL));
        dlg.ShowWindow(SW_SHOW);
    }
    void TearDown() override
    {
        if (dlg.m_hWnd)
            dlg.DestroyWindow();
    }
    // Presses the browse button the way a click does.
    void Click(TWKBrowseEditBase& edit)
    {
        ASSERT_NE(nullptr, edit.GetBrowseButton());
        HWND hButton = edit.GetBrowseButton()->m_hWnd;
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hButton), BN_CLICKED), (LPARAM)hButton);
    }

    vt::DialogTemplate tmpl{"Browse", 200, 60, WS_POPUP | WS_CAPTION | DS_SETFONT};
    CDialog dlg;
};

} // namespace

TEST_F(BrowseDialog, ButtonTakesTheEditsRightEndAndFollowsIt)
{
    HWND hEdit = ::GetDlgItem(dlg, kFileEdit);
    const CRect before = RectIn(hEdit, dlg);
    TWKBrowseFileEdit edit;
    ASSERT_TRUE(edit.Initialize(kFileEdit, &dlg));
    TWKBrowseButton* pButton = edit.GetBrowseButton();
    ASSERT_NE(nullptr, pButton);
    HWND hButton = pButton->m_hWnd;

    const CRect after = RectIn(hEdit, dlg);
    const CRect button = RectIn(hButton, dlg);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
    EXPECT_EQ(before.Height(), after.Height());
    EXPECT_EQ(before.Width() - 26, after.Width());
    EXPECT_EQ(25, button.Width());
    EXPECT_EQ(before.right, button.right);
    EXPECT_EQ(before.top, button.top);
    EXPECT_EQ(before.bottom, button.bottom);
    EXPECT_EQ(kTaken - 1, ::GetDlgCtrlID(hButton));
    EXPECT_EQ("...", Text(hButton));
    EXPECT_EQ((DWORD)(WS_CHILD | WS_VISIBLE | WS_TABSTOP), ::GetWindowLongA(hButton, GWL_STYLE) & 0xFFFF0000);
    EXPECT_EQ(hButton, ::GetWindow(hEdit, GW_HWNDNEXT));
    EXPECT_TRUE(::IsWindowEnabled(hButton));

    edit.EnableWindow(FALSE);
    EXPECT_FALSE(::IsWindowEnabled(hButton));
    edit.EnableWindow(TRUE);
    EXPECT_TRUE(::IsWindowEnabled(hButton));
    edit.ShowWindow(SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(hButton));
    edit.ShowWindow(SW_SHOW);
    EXPECT_TRUE(::IsWindowVisible(hButton));

    edit.DestroyWindow();
    EXPECT_FALSE(::IsWindow(hButton));
    EXPECT_EQ(nullptr, edit.GetBrowseButton());
}

TEST_F(BrowseDialog, DisabledEditGetsADisabledButtonAndAMissingEditFails)
{
    ::EnableWindow(::GetDlgItem(dlg, kDirEdit), FALSE);
    TWKBrowseDirEdit edit;
    ASSERT_TRUE(edit.Initialize(kDirEdit, &dlg));
    ASSERT_NE(nullptr, edit.GetBrowseButton());
    EXPECT_FALSE(edit.GetBrowseButton()->IsWindowEnabled());

    TWKBrowseDirEdit missing;
    EXPECT_FALSE(missing.Initialize(4711, &dlg));
    EXPECT_EQ(nullptr, missing.GetBrowseButton());
}

TEST(BrowseFolderTest, TrailingBackslashDriveFileAndMissingPath)
{
    vt::TempDir dir;
    std::string file = dir.Write("a.txt", "x");
    std::string drive = CurrentFolder().substr(0, 2);
    struct Case { std::string path; std::string after; bool folder; };
    const Case cases[] = {
        {dir.Path() + "\\", dir.Path(), true},
        {dir.Path(), dir.Path(), true},
        {drive, drive + "\\*.*", true},
        {drive + "\\", drive + "\\*.*", true},
        {file, file, false},
        {dir.File("missing"), dir.File("missing"), false},
        {"", "", false},
    };
    for (const Case& c : cases)
    {
        CString path = c.path.c_str();
        EXPECT_EQ(c.folder, !!TWKBrowseEditBase::IsFolder(path)) << c.path;
        EXPECT_STREQ(c.after.c_str(), path) << c.path;
    }
    EXPECT_STREQ((drive + "\\").c_str(), TWKBrowseEditBase::FolderOf((drive + "\\*.*").c_str()));
    EXPECT_STREQ(dir.Path().c_str(), TWKBrowseEditBase::FolderOf(dir.Path().c_str()));
}

TEST_F(BrowseDialog, OldStylePickerShowsOnlyFoldersAndGivesTheFolderWithABackslash)
{
    vt::TempDir dir;
    ASSERT_TRUE(::CreateDirectoryA(dir.File("sub").c_str(), NULL));
    TWKBrowseDirEdit edit;
    ASSERT_TRUE(edit.Initialize(kDirEdit, &dlg));
    EXPECT_EQ(1, edit.GetDirStyle());
    EXPECT_EQ(1, edit.SetDirStyle(0x12));   // bits 0 and 1 replaced, as the picker's
    EXPECT_EQ(0x12, edit.GetDirStyle());
    edit.SetDirStyle(TWKDirSelectDlg::styleOldDialog);
    EXPECT_EQ(0x11, edit.GetDirStyle());
    edit.m_wDirStyle = TWKDirSelectDlg::styleOldDialog;
    const std::string here = CurrentFolder();

    struct Seen { std::string caption; bool hidden[5]; bool folders, drives; std::string name; int focus; };
    Seen seen = {};
    vt::DialogWatcher watcher([&](HWND hDlg) {
        seen.caption = Text(hDlg);
        const int ids[] = { stc3, edt1, lst1, stc2, cmb1 };
        for (int i = 0; i < 5; ++i)
            seen.hidden[i] = !::IsWindowVisible(::GetDlgItem(hDlg, ids[i]));
        seen.folders = ::IsWindowVisible(::GetDlgItem(hDlg, lst2));
        seen.drives = ::IsWindowVisible(::GetDlgItem(hDlg, cmb2));
        seen.name = Text(::GetDlgItem(hDlg, edt1));
        // Other programs on the shared screen may have taken the activation
        // while the loop ran; an activated dialog gives the focus back to
        // the control that had it.
        ::SetActiveWindow(hDlg);
        seen.focus = ::GetDlgCtrlID(::GetFocus());
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(hDlg, IDOK));
    });

    // A folder: the picker opens in it and OK gives it back.
    edit.SetWindowText((dir.Path() + "\\").c_str());
    Click(edit);
    ASSERT_EQ(1, watcher.Count());
    EXPECT_EQ("Select Directory", seen.caption);
    for (bool h : seen.hidden)
        EXPECT_TRUE(h);
    EXPECT_TRUE(seen.folders);
    EXPECT_TRUE(seen.drives);
    EXPECT_EQ("noclose", seen.name);
    EXPECT_EQ(lst2, seen.focus);
    CString chosen;
    edit.GetWindowText(chosen);
    EXPECT_EQ(Lower(dir.Path() + "\\"), Lower((LPCSTR)chosen));

    // A drive's root comes back as letter, colon, backslash.
    std::string root = here.substr(0, 3);
    edit.SetWindowText(root.c_str());
    Click(edit);
    ASSERT_EQ(2, watcher.Count());
    edit.GetWindowText(chosen);
    EXPECT_EQ(Lower(root), Lower((LPCSTR)chosen));
    // The old-style dialog moves the process into the chosen folder.
    ::SetCurrentDirectoryA(here.c_str());
}

TEST(DirSelectDlg, PathIsCutAtTheFileNameOffset)
{
    struct Case { const char* buffer; WORD offset; const char* path; };
    const Case cases[] = {
        {"C:\\work\\noclose", 8, "C:\\work\\"},
        {"C:\\noclose", 3, "C:\\"},
        {"C:\\work\\", 0xFFFF, "C:\\work\\"},   // from the folder browser: whole buffer
        {"C:\\w", 40, "C:\\w"},                 // an offset past the text cuts nothing
    };
    for (const Case& c : cases)
    {
        TWKDirSelectDlg dlg("Pick", NULL, NULL);
        lstrcpyA(dlg.m_ofn.lpstrFile, c.buffer);
        dlg.m_ofn.nFileOffset = c.offset;
        CString path;
        dlg.GetPath(path);
        EXPECT_STREQ(c.path, path) << c.buffer;
    }
    TWKDirSelectDlg dlg(0, "Pick", "C:\\", NULL);
    EXPECT_EQ(0u, dlg.m_ofn.Flags & OFN_EXPLORER);
    EXPECT_TRUE(dlg.m_ofn.Flags & OFN_ENABLETEMPLATE);
    EXPECT_EQ(MAKEINTRESOURCEA(IDD_TWK_DIRSELECT), dlg.m_ofn.lpTemplateName);
    EXPECT_EQ(260u, dlg.m_ofn.nMaxFile);
    EXPECT_EQ(0, dlg.SetDirStyle(TWKDirSelectDlg::styleOldDialog | 0x10));
    EXPECT_EQ(TWKDirSelectDlg::styleOldDialog | 0x10, dlg.GetDirStyle());
    EXPECT_EQ(TWKDirSelectDlg::styleOldDialog | 0x10, dlg.SetDirStyle(2));
    EXPECT_EQ(2 | 0x10, dlg.GetDirStyle());
}

TEST(DirSelectDlg, ShellItemsBecomePathsWithABackslash)
{
    vt::TempDir dir;
    IShellFolder* pDesktop = nullptr;
    ASSERT_TRUE(SUCCEEDED(::SHGetDesktopFolder(&pDesktop)));
    std::string root = CurrentFolder().substr(0, 3);
    for (const std::string& path : { dir.Path(), dir.Path() + "\\", root })
    {
        WCHAR wide[MAX_PATH];
        ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        LPITEMIDLIST pidl = nullptr;
        ULONG eaten = 0;
        ASSERT_TRUE(SUCCEEDED(pDesktop->ParseDisplayName(NULL, NULL, wide, &eaten, &pidl, NULL))) << path;
        CString folder;
        EXPECT_TRUE(TWKDirSelectDlg::FolderPathFromItem(pidl, folder));
        std::string expected = path.back() == '\\' ? path : path + "\\";
        EXPECT_EQ(Lower(expected), Lower((LPCSTR)folder));
        ::CoTaskMemFree(pidl);
    }
    CString untouched = "x";
    EXPECT_FALSE(TWKDirSelectDlg::FolderPathFromItem(NULL, untouched));
    EXPECT_STREQ("x", untouched);
    pDesktop->Release();
}

// Wine's folder browser moves to the initial selection only now and then
// (some runs end on the desktop), so this checks what our code hands the
// browser and what it makes of the answer; the item-to-path step is checked
// on its own above.
TEST(DirSelectDlg, FolderBrowserShowsTheTitleAndAnswersAFolderWithABackslash)
{
    vt::TempDir dir;
    int answer = IDOK;
    std::string shown = "|";
    vt::DialogWatcher watcher([&](HWND hDlg) {
        for (HWND h = ::GetWindow(hDlg, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT))
            shown += Text(h) + "|";
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), (LPARAM)::GetDlgItem(hDlg, answer));
    });
    TWKDirSelectDlg dlg(0, "Pick a folder", dir.Path().c_str(), NULL);
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(1, watcher.Count());
    EXPECT_NE(std::string::npos, shown.find("|Pick a folder|"));
    EXPECT_EQ(0xFFFF, dlg.m_ofn.nFileOffset);
    CString path;
    dlg.GetPath(path);
    ASSERT_FALSE(path.IsEmpty());
    EXPECT_EQ('\\', path[path.GetLength() - 1]);
    EXPECT_TRUE(::GetFileAttributesA(path) & FILE_ATTRIBUTE_DIRECTORY);

    answer = IDCANCEL;
    TWKDirSelectDlg cancelled(0, "Pick a folder", NULL, NULL);
    EXPECT_EQ(IDCANCEL, cancelled.DoModal());
    EXPECT_EQ(2, watcher.Count());
}

TEST_F(BrowseDialog, FileDialogOpensInAFolderWithAnEmptyNameAndKeepsTheProcessFolder)
{
    vt::TempDir dir;
    std::string file = dir.Write("tool.exe", "MZ");
    TWKBrowseFileEdit edit;
    ASSERT_TRUE(edit.Initialize(kFileEdit, &dlg));
    EXPECT_EQ((DWORD)(OFN_NOCHANGEDIR | OFN_HIDEREADONLY), edit.m_dwFlags);
    EXPECT_STREQ("Select File", edit.m_strTitle);
    const std::string here = CurrentFolder();

    struct Seen { std::string caption, folder, name; };
    Seen seen;
    std::string typeName;
    vt::DialogWatcher watcher([&](HWND hDlg) {
        char buf[MAX_PATH] = "";
        seen.caption = Text(hDlg);
        ::SendMessageA(hDlg, CDM_GETFOLDERPATH, sizeof buf, (LPARAM)buf);
        seen.folder = buf;
        buf[0] = 0;
        ::SendMessageA(hDlg, CDM_GETSPEC, sizeof buf, (LPARAM)buf);
        seen.name = buf;
        if (typeName.empty())
        {
            ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
        }
        else
        {
            ::SendMessageA(hDlg, CDM_SETCONTROLTEXT, cmb13, (LPARAM)typeName.c_str());
            ::SendMessageA(hDlg, CDM_SETCONTROLTEXT, edt1, (LPARAM)typeName.c_str());
            ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(hDlg, IDOK));
        }
    });

    // A folder: the dialog opens there with no name; a cancel keeps the text.
    edit.SetWindowText(dir.Path().c_str());
    Click(edit);
    ASSERT_EQ(1, watcher.Count());
    EXPECT_EQ("Select File", seen.caption);
    EXPECT_EQ(Lower(dir.Path()), Lower(seen.folder));
    EXPECT_EQ("", seen.name);
    EXPECT_EQ(here, CurrentFolder());
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ(dir.Path().c_str(), text);

    // A missing file: no name either.
    edit.SetWindowText(dir.File("gone.exe").c_str());
    Click(edit);
    ASSERT_EQ(2, watcher.Count());
    EXPECT_EQ("", seen.name);
    EXPECT_EQ(here, CurrentFolder());

    // An existing file is offered by name; OK takes the full path.
    edit.SetWindowText(file.c_str());
    typeName = file;
    Click(edit);
    ASSERT_EQ(3, watcher.Count());
    EXPECT_EQ("tool.exe", seen.name);
    edit.GetWindowText(text);
    EXPECT_EQ(Lower(file), Lower((LPCSTR)text));
    EXPECT_EQ(here, CurrentFolder());
}
