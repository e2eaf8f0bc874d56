// The real program on a private copy of the program folder: the project
// manager's property wizard and the resource editor selection, Project
// Options with the project manager's page, Save As Template and New Project
// from the template, and the file tree's Preview and Edit on resource files.
#include <gtest/gtest.h>
#include "tests/harness/harness.h"
#include "tests/harness/ide/ide_process.h"
#include "tests/harness/ide/build_page.h"
#include "tests/harness/box_work.h"
#include "resources/ideres.h"
#include <commctrl.h>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The clock edit of the project manager's "Device" page.
const int kClockEdit = 1001;

std::string Value(const std::string& file, const char* section, const char* key)
{
    char buf[512] = "";
    GetPrivateProfileStringA(section, key, "(none)", buf, sizeof buf, file.c_str());
    return buf;
}

// The real program started on a private copy of the program folder, its
// boxes answered from outside (No unless queued).
class Options : public ::testing::Test {
protected:
    void Start(const std::string& arguments)
    {
        process.reset(new vt::IdeProcess(copy, arguments));
        ASSERT_TRUE(process->Started());
        answerer.reset(new vt::RemoteAnswerer(process->Id(), IDNO));
        frame = process->MainWindow();
        ASSERT_NE(nullptr, frame) << "the main window did not show";
    }
    vt::ProgramCopy copy;
    std::unique_ptr<vt::IdeProcess> process;
    std::unique_ptr<vt::RemoteAnswerer> answerer;
    HWND frame = nullptr;
};

TEST_F(Options, WizardAndEditorSelectionInTheRunningProgram)
{
    std::string project = copy.Folder() + vt::ProgramCopy::SampleProject();
    ASSERT_NO_FATAL_FAILURE(Start(vt::ProgramCopy::SampleProject()));

    // Pinweave: the wizard's value lands in the project file.
    vt::ModalAnswer pins(IDOK);
    pins.Type(1003, "P0:LED");
    answerer->Queue(pins);
    PostMessageA(frame, WM_COMMAND, ID_PROJECT_WIZARD4, 0);
    ASSERT_TRUE(answerer->WaitForCount(1));
    EXPECT_EQ("Pinweave Property Setting", answerer->Last().caption);
    EXPECT_EQ("", answerer->Last().error);

    // The editor selection: Cancel writes nothing, OK keeps every configured editor first of its type.
    std::string before = vt::ReadFileBytes(copy.Config());
    answerer->Queue(vt::ModalAnswer(IDCANCEL));
    PostMessageA(frame, WM_COMMAND, ID_TOOLS_RESOURCE_OPTIONS, 0);
    ASSERT_TRUE(answerer->WaitForCount(2));
    EXPECT_EQ("Tool Selection", answerer->Last().caption);
    EXPECT_EQ(before, vt::ReadFileBytes(copy.Config()));
    answerer->Queue(vt::ModalAnswer(IDOK));
    PostMessageA(frame, WM_COMMAND, ID_TOOLS_RESOURCE_OPTIONS, 0);
    ASSERT_TRUE(answerer->WaitForCount(3));
    process->Close();
    EXPECT_NE(-1, process->Wait());
    EXPECT_EQ("P0:LED", Value(project, "Wizards", "PinMap"));
    EXPECT_EQ("WaveDesk.exe, WaveDesk, 1, 1, .wav", Value(copy.Config(), "Resource Editor", "Editor1"));
    EXPECT_EQ("Pixmere.exe, Pixmere, 1, 1, .bmp", Value(copy.Config(), "Resource Editor", "Editor4"));
    EXPECT_EQ("0", Value(copy.Config(), "Resource Editor List", "Pixmere.exe, Pixmere, 1, 1, .bmp"));
}

// The window of that id among the descendants of the process's windows.
HWND FindInProcess(DWORD processId, int id)
{
    for (HWND top : vt::ProcessWindows(processId, false))
        for (HWND hwnd : vt::detail::Descendants(top))
            if (GetDlgCtrlID(hwnd) == id)
                return hwnd;
    return nullptr;
}

// The project bar's file tree: the tree (0xE802) on the bar's tab window (0xE900).
HWND FindFileTree(HWND frame)
{
    for (HWND hwnd : vt::detail::Descendants(frame))
        if (GetDlgCtrlID(hwnd) == 0xE802 && GetDlgCtrlID(GetParent(hwnd)) == 0xE900)
            return hwnd;
    return nullptr;
}

// The screen points of the rows a window shows, top to bottom: each row is a band of
// lines holding text-coloured pixels, the point at the band's first such pixel.
std::vector<POINT> TextRows(HWND hwnd)
{
    std::vector<POINT> rows;
    int cx = 0, cy = 0;
    std::vector<DWORD> bits = vt::ScreenPixels(hwnd, &cx, &cy);
    if (bits.empty())
        return rows;
    const RECT rc = {0, 0, cx, cy};
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    COLORREF color = GetSysColor(COLOR_WINDOWTEXT);
    DWORD text = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    int top = -1, left = 0;
    for (int y = 0; y <= rc.bottom; y++) {
        int first = -1;
        for (int x = 0; y < rc.bottom && x < rc.right && first < 0; x++)
            if ((bits[static_cast<size_t>(y) * rc.right + x] & 0xFFFFFF) == text)
                first = x;
        if (first >= 0 && top < 0) {
            top = y;
            left = first;
        } else if (first >= 0) {
            left = std::min(left, first);
        } else if (top >= 0) {
            rows.push_back({origin.x + left + 2, origin.y + (top + y) / 2});
            top = -1;
        }
    }
    // A row's text may break into bands (a button's marks, descenders): bands closer than
    // half the usual row distance belong to the row above them.
    std::vector<LONG> gaps;
    for (size_t i = 1; i < rows.size(); i++)
        gaps.push_back(rows[i].y - rows[i - 1].y);
    if (gaps.empty())
        return rows;
    std::sort(gaps.begin(), gaps.end());
    LONG usual = gaps[gaps.size() / 2];
    std::vector<POINT> merged;
    for (POINT row : rows)
        if (merged.empty() || row.y - merged.back().y >= usual / 2)
            merged.push_back(row);
    return merged;
}

// Waits until the condition holds; false past the limit (which only guards against a hang).
template <class F>
bool WaitUntil(F condition, DWORD ms = 60000)
{
    for (DWORD start = GetTickCount(); !condition();) {
        if (GetTickCount() - start > ms)
            return false;
        Sleep(50);
    }
    return true;
}

// The file's lines without blank ones: the project manager writes the
// project in its own line format when the build saves it.
std::string Lines(const std::string& text)
{
    std::string out;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            out += line + "\n";
        start = end + 1;
    }
    return out;
}

// Save As Template on the sample: a clean build, then the template named in
// the dialog is written beside the project, whose own file stays as it was.
// New Project from that template: the part number chosen from its group's
// menu, the project made in a new folder with the template's files, opened
// with the board's actions in the Debug menu.
TEST_F(Options, SaveAsTemplateThenNewProjectFromIt)
{
    std::string folder = copy.Folder() + "sample\\";
    std::string project = copy.Folder() + vt::ProgramCopy::SampleProject();
    std::string before = Lines(vt::ReadFileBytes(project));
    ASSERT_NO_FATAL_FAILURE(Start(vt::ProgramCopy::SampleProject()));
    vt::ModalAnswer names(IDOK);
    names.Type(IDC_NEWPRJ_NAME, "Kit.wbt").Type(IDC_NEWPRJ_LOCATION, folder);
    answerer->Queue(names);
    PostMessageA(frame, WM_COMMAND, ID_FILE_SAVEAS_TEMPLATE, 0);
    ASSERT_TRUE(answerer->WaitForCount(1, 90000)) << "the template's dialog did not come";
    EXPECT_EQ("Save As Template Project", answerer->Last().caption) << answerer->Last().text;
    EXPECT_EQ("", answerer->Last().error);
    process->Close();
    EXPECT_NE(-1, process->Wait());
    std::string kit = folder + "Kit.wbt";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(kit.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + "Kit.wbi").c_str()));
    EXPECT_EQ(before, Lines(vt::ReadFileBytes(project)));
    EXPECT_NE(std::string::npos, vt::ReadFileBytes(kit).find("[Project]"));

    // Another part number first, so that the menu's choice shows; then the template,
    // whose part numbers hold the chosen one (no mismatch question).
    ASSERT_NO_FATAL_FAILURE(Start(""));
    std::string where = copy.Folder() + "made\\Kitted\\";
    vt::ModalAnswer made(IDOK);
    made.Choose(IDC_NEWPRJ_PART, "KQ83-L64")
        .MousePress(IDC_NEWPRJ_PART_MENU)
        .Menu("KV61 family")
        .Menu("KV61A-S28")
        .CheckOpening(IDC_NEWPRJ_TEMPLATE_CHECK)
        .Type(IDC_NEWPRJ_NAME, "Kitted.wbi")
        .Type(IDC_NEWPRJ_LOCATION, where);
    answerer->Queue(made);
    vt::ModalAnswer open(IDOK);
    open.Type(vt::kFileNameBox, kit);
    answerer->Queue(open);
    answerer->Queue(vt::ModalAnswer(IDOK));   // the new folder is created
    PostMessageA(frame, WM_COMMAND, ID_FILE_NEW_PROJECT, 0);
    ASSERT_TRUE(answerer->WaitForCount(3));
    std::vector<vt::ModalSeen> seen = answerer->Seen();
    EXPECT_EQ("Open template projects", seen[0].caption) << seen[0].text;
    EXPECT_EQ("", seen[0].error);
    EXPECT_EQ("New Project", seen[1].caption) << seen[1].text;
    EXPECT_EQ("", seen[1].error);
    EXPECT_EQ(0u, seen[2].text.find("Directory ")) << seen[2].text;

    std::string made_path = where + "Kitted.wbi";
    EXPECT_TRUE(WaitUntil([&] { return Value(made_path, "Project", "PartNumber") == "KV61A-S28"; }))
        << Value(made_path, "Project", "PartNumber");
    EXPECT_EQ("main.asm", Value(made_path, "Files.Application", "File1"));
    // The project file is written before the template's files are copied beside it.
    EXPECT_TRUE(WaitUntil([&] { return GetFileAttributesA((where + "main.asm").c_str()) != INVALID_FILE_ATTRIBUTES; }));
    // The board's actions (shown indented) follow the project into the Debug menu.
    std::vector<vt::MenuItemSeen> items;
    EXPECT_TRUE(WaitUntil([&] {
        items = vt::ReadMenuBarPopup(frame, process->Id(), 'd');
        for (const vt::MenuItemSeen& item : items)
            if (item.text == "  Toggle LED")
                return true;
        return false;
    })) << items.size() << " items in the Debug menu";
    process->Close();
    EXPECT_NE(-1, process->Wait());
}

// New Project on the running program: the dialog's project is made in a new
// folder by the project manager and opened.
TEST_F(Options, NewProjectMakesAProjectThatOpens)
{
    ASSERT_NO_FATAL_FAILURE(Start(""));
    // The location follows the name: a new folder named after the project.
    vt::ModalAnswer names(IDOK);
    names.Type(IDC_NEWPRJ_NAME, "Made.wbi");
    answerer->Queue(names);
    answerer->Queue(vt::ModalAnswer(IDOK));   // the new folder is created
    PostMessageA(frame, WM_COMMAND, ID_FILE_NEW_PROJECT, 0);
    ASSERT_TRUE(answerer->WaitForCount(2));
    EXPECT_EQ("New Project", answerer->Seen()[0].caption);
    EXPECT_EQ("", answerer->Seen()[0].error);
    std::string question = answerer->Seen()[1].text;
    size_t from = question.find("Directory "), to = question.find(" does not exist");
    ASSERT_TRUE(from == 0 && to != std::string::npos) << question;
    std::string where = question.substr(10, to - 10);
    EXPECT_NE(std::string::npos, where.find("Made")) << where;
    std::shared_ptr<void> cleanup(nullptr, [&](void*) {
        DeleteFileA((where + "Made.wbi").c_str());
        RemoveDirectoryA(where.c_str());
    });
    // Made by the project manager: the project's part number is written in it.
    char part[64] = "";
    std::string made = where + "Made.wbi";
    DWORD start = GetTickCount();
    while (!GetPrivateProfileStringA("Project", "PartNumber", "", part, sizeof part, made.c_str())
           && GetTickCount() - start < 60000)
        Sleep(50);
    EXPECT_STRNE("", part);
    process->Close();
    EXPECT_NE(-1, process->Wait());
}

// The program's dialog of that caption has closed (the command behind it has gone on).
bool WaitClosed(const char* caption)
{
    for (DWORD start = GetTickCount(); FindWindowA("#32770", caption);) {
        if (GetTickCount() - start > 20000)
            return false;
        Sleep(20);
    }
    return true;
}

// The file tree's popup on the project's resource files: Preview plays
// tone.wav in the "Preview Resource" bar up to 100; Edit hands logo.bmp to
// "Pixmere" and marks the project modified (closing asks to save it).
TEST_F(Options, PreviewAndEditFromTheFileTree)
{
    ASSERT_NO_FATAL_FAILURE(Start(vt::ProgramCopy::SampleProject()));
    HWND tree = FindFileTree(frame);
    ASSERT_NE(nullptr, tree);
    SetForegroundWindow(frame);
    // The tree's rows whose popup offers the resource actions, in the tree's order:
    // the sample's "Resource" folder holds tone.wav, then logo.bmp.
    std::vector<POINT> rows;
    EXPECT_TRUE(WaitUntil([&] { return (rows = TextRows(tree)).size() > 8; })) << rows.size() << " rows";
    std::vector<POINT> resources;
    for (POINT row : rows) {
        PostMessageA(tree, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree), MAKELPARAM(row.x, row.y));
        std::vector<vt::MenuItemSeen> items;
        WaitUntil([&] { return !(items = vt::OpenPopupMenu(process->Id())).empty(); }, 3000);
        vt::CloseMenus(frame, process->Id());
        for (const vt::MenuItemSeen& item : items)
            if (item.text == "Preview")
                resources.push_back(row);
    }
    ASSERT_EQ(2u, resources.size()) << rows.size() << " rows";
    auto choose = [&](POINT row, const char* item) {
        PostMessageA(tree, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree), MAKELPARAM(row.x, row.y));
        return vt::ChoosePopupMenuItem(process->Id(), item);
    };

    ASSERT_TRUE(choose(resources[0], "Preview"));
    HWND slider = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
        slider = FindInProcess(process->Id(), IDC_PREVIEW_SLIDER);
        return slider && IsWindowVisible(slider) && SendMessageA(slider, TBM_GETPOS, 0, 0) == 100;
    })) << "the preview did not reach 100";
    // The recent list's first entry is the file played (read as wide text: the platform
    // carries that across processes).
    wchar_t shown[MAX_PATH] = L"";
    HWND recent = slider ? GetDlgItem(GetParent(slider), IDC_PREVIEW_RECENT) : nullptr;
    if (recent && SendMessageW(recent, CB_GETLBTEXTLEN, 0, 0) < MAX_PATH)
        SendMessageW(recent, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(shown));
    EXPECT_STREQ(L"tone.wav", shown);
    EXPECT_EQ(0u, answerer->Count()) << answerer->Last().text;

    ASSERT_TRUE(choose(resources[1], "Edit"));
    std::string log = copy.Folder() + "Pixmere.log";
    EXPECT_TRUE(WaitUntil([&] { return vt::ReadFileBytes(log).find("logo.bmp") != std::string::npos; }))
        << vt::ReadFileBytes(log);
    process->Close();
    EXPECT_NE(-1, process->Wait());
    bool asked = false;
    for (const vt::ModalSeen& seen : answerer->Seen())
        asked = asked || seen.text == "Save Current Project ?";
    EXPECT_TRUE(asked) << "closing did not ask to save the modified project";
}

// Project Options on the sample: Cancel changes nothing in the project file;
// the output name changed on "General" and the clock on the project manager's
// "Device" page, confirmed with OK, are in the project file once it is saved.
TEST_F(Options, ProjectOptionsOkReachesTheSavedProject)
{
    std::string project = copy.Folder() + vt::ProgramCopy::SampleProject();
    std::string before = Lines(vt::ReadFileBytes(project));
    ASSERT_NO_FATAL_FAILURE(Start(vt::ProgramCopy::SampleProject()));
    auto save = [&]() {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(frame, WM_COMMAND, ID_FILE_SAVE_PROJECT, 0, SMTO_NORMAL, 60000, &result) != 0;
    };
    // The dialog with both values typed, ended with that button; then the project saved.
    auto options = [&](int button, const char* name, const char* clock, size_t count) {
        vt::ModalAnswer answer(button);
        answer.Type(IDC_OPTIONS_OUTPUT_NAME, name).Type(kClockEdit, clock);
        answerer->Queue(answer);
        PostMessageA(frame, WM_COMMAND, ID_PROJECT_OPTIONS, 0);
        EXPECT_TRUE(answerer->WaitForCount(count));
        EXPECT_EQ("Project Options", answerer->Last().caption);
        EXPECT_EQ("", answerer->Last().error);
        EXPECT_TRUE(WaitClosed("Project Options"));
        EXPECT_TRUE(save());
    };
    options(IDCANCEL, "Cancelled", "99", 1);
    EXPECT_EQ(before, Lines(vt::ReadFileBytes(project)));
    options(IDOK, "Renamed", "12", 2);
    EXPECT_EQ("Renamed", Value(project, "Project", "OutputName"));
    EXPECT_EQ("12", Value(project, "Device", "Clock"));
    process->Close();
    EXPECT_NE(-1, process->Wait());
}

}  // namespace
