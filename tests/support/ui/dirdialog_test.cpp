#include <gtest/gtest.h>
#include "support/ui/DirDialog.h"
#include "tests/harness/harness.h"
#include "tests/harness/dialog_driver.h"
#include <string>
#include <vector>

namespace {

using uitest::DialogDriver;

CRect RectInFrame(HWND frame, int id)
{
    CRect r;
    ::GetWindowRect(::GetDlgItem(frame, id), &r);
    ::MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = (char)tolower((unsigned char)c);
    return s;
}

std::string CurrentDirectory()
{
    char buf[MAX_PATH] = "";
    ::GetCurrentDirectoryA(sizeof buf, buf);
    return buf;
}

// The dialogs move the current directory; each test puts it back.
class FileDialogs : public ::testing::Test {
protected:
    void SetUp() override { saved = CurrentDirectory(); }
    void TearDown() override { ::SetCurrentDirectoryA(saved.c_str()); }
    std::string saved;
};

TEST_F(FileDialogs, InitialNameListsTheFoldersOfTheDirectory)
{
    struct Case { const char* dir; const char* name; const char* path; };
    const Case cases[] = {
        {"C:\\work\\proj", "C:\\work\\proj\\*..*", "C:\\work\\proj"},
        {"C:\\work\\proj\\", "C:\\work\\proj\\*..*", "C:\\work\\proj\\"},
        {nullptr, "\\*..*", ""},
        {"", "\\*..*", ""},
    };
    for (const Case& c : cases) {
        C_DirDialog dlg(c.dir);
        EXPECT_STREQ(c.name, dlg.m_ofn.lpstrFile);
        EXPECT_STREQ(c.path, dlg.GetPath());
        EXPECT_NE(0u, dlg.m_ofn.Flags & OFN_HIDEREADONLY);
        EXPECT_EQ(nullptr, dlg.m_ofn.lpstrFilter);
    }
}

TEST_F(FileDialogs, DirDialogLaysOutItsFrameAndSelectsTheFolderShown)
{
    vt::TempDir dir;
    ::CreateDirectoryA(dir.File("sub").c_str(), nullptr);
    struct Seen {
        std::vector<bool> visible;
        int present = 0;
        CRect ok, cancel, list;
        std::string okText, title;
    } seen;
    DialogDriver driver([&](HWND frame, int) {
        // The file name is an edit or a combo box, as the template has it.
        for (int id : {::GetDlgItem(frame, 0x480) ? 0x480 : 0x47C, 0x442, 0x470, 0x441}) {
            HWND h = ::GetDlgItem(frame, id);
            seen.visible.push_back(h && ::IsWindowVisible(h));
            seen.present += h != nullptr;
        }
        seen.ok = RectInFrame(frame, IDOK);
        seen.cancel = RectInFrame(frame, IDCANCEL);
        // The list the user sees: the shell's view, else the list itself.
        seen.list = RectInFrame(frame, ::GetDlgItem(frame, 0x461) ? 0x461 : 0x460);
        seen.okText = uitest::WindowText(::GetDlgItem(frame, IDOK));
        seen.title = uitest::WindowText(frame);
        ::PostMessageA(frame, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(frame, IDOK));
        return true;
    });
    C_DirDialog dlg(dir.File("sub").c_str());
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(Lower(dir.File("sub")), Lower((LPCSTR)dlg.GetPath()));
    EXPECT_EQ(Lower(dir.File("sub")), Lower(CurrentDirectory()));

    EXPECT_EQ(4, seen.present);
    EXPECT_EQ(std::vector<bool>(4, false), seen.visible);
    EXPECT_EQ(seen.cancel.left - 4, seen.ok.right);
    EXPECT_EQ(seen.cancel.top, seen.ok.top);
    EXPECT_EQ(seen.cancel.top - 4, seen.list.bottom);
    EXPECT_EQ("Select", seen.okText);
    EXPECT_EQ("Select Directory", seen.title);
}

TEST_F(FileDialogs, DirDialogDriveRootKeepsItsBackslashAndCancelKeepsThePath)
{
    DialogDriver driver([](HWND frame, int) {
        ::PostMessageA(frame, WM_COMMAND, IDOK, 0);   // Enter in the frame
        return true;
    });
    C_DirDialog root("C:\\");
    EXPECT_EQ(IDOK, root.DoModal());
    EXPECT_EQ("c:\\", Lower((LPCSTR)root.GetPath()));

    vt::TempDir dir;
    DialogDriver cancelling([](HWND frame, int) {
        ::PostMessageA(frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)::GetDlgItem(frame, IDCANCEL));
        return true;
    });
    C_DirDialog cancelled(dir.Path().c_str());
    EXPECT_EQ(IDCANCEL, cancelled.DoModal());
    EXPECT_EQ(dir.Path(), (LPCSTR)cancelled.GetPath());
}

// The list control of the shell's view inside the file dialog's frame.
HWND FileListView(HWND frame)
{
    HWND view = ::GetDlgItem(frame, 0x461);
    return view ? ::FindWindowExA(view, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
}

TEST_F(FileDialogs, SelectOnlyFileDialogTakesNamesFromTheListOnly)
{
    vt::TempDir dir;
    const std::string file = dir.Write("chosen.kel", "x");
    bool readOnly = false;
    std::string typed = "?", nameAfterPick;
    DialogDriver driver([&](HWND frame, int call) {
        HWND edit = C_SelectOnlyFileDialog::FileNameEdit(frame);
        if (call == 0) {
            readOnly = edit && (::GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
            ::SendMessageA(edit, WM_CHAR, 'q', 1);
            typed = uitest::WindowText(edit);
            HWND list = FileListView(frame);
            if (!list) {
                ::PostMessageA(frame, WM_COMMAND, IDCANCEL, 0);
                return true;
            }
            LVITEMA item = {};
            item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
            item.state = LVIS_SELECTED | LVIS_FOCUSED;
            ::SendMessageA(list, LVM_SETITEMSTATE, 0, (LPARAM)&item);
            return false;
        }
        nameAfterPick = uitest::WindowText(edit);
        ::PostMessageA(frame, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(frame, IDOK));
        return true;
    });
    C_SelectOnlyFileDialog dlg(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "Kel files (*.kel)|*.kel||");
    const std::string initial = dir.Path();
    dlg.m_ofn.lpstrInitialDir = initial.c_str();
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(readOnly);
    EXPECT_EQ("", typed);
    EXPECT_EQ("chosen.kel", nameAfterPick);
    EXPECT_EQ(Lower(file), Lower((LPCSTR)dlg.GetPathName()));
}

} // namespace
