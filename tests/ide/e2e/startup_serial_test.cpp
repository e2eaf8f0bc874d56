// The real program's windowed start and close, from a private program-folder copy with the
// sample project on its command line as ./run gives it. The program is looked at from outside,
// as a user sees it: its windows, their titles, ids and places, the status bar's parts, its
// boxes (answered by the cross-process answerer) and what it leaves in the registry.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include "afx/afxres.h"
#include "resources/ideres.h"
#include "tests/harness/box_work.h"
#include "tests/harness/foreign_buffer.h"
#include "tests/harness/harness.h"
#include "tests/harness/ide/ide_process.h"

namespace {

using vt::detail::Descendants;
using vt::detail::WindowText;

// Polls until the condition holds; false past the limit (which only guards against a hang).
bool WaitUntil(const std::function<bool()>& condition, DWORD ms = 30000)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > ms)
            return false;
        Sleep(20);
    }
    return true;
}

// Every window of the process, top-level (shown or not) and child.
std::vector<HWND> AllWindows(DWORD processId)
{
    std::vector<HWND> all;
    for (HWND top : vt::ProcessWindows(processId, false)) {
        all.push_back(top);
        for (HWND child : Descendants(top))
            all.push_back(child);
    }
    return all;
}

// The bar with that id and title (a floating bar's frame carries its title too).
HWND FindBar(DWORD processId, UINT id, const std::string& title)
{
    for (HWND hwnd : AllWindows(processId))
        if (static_cast<UINT>(GetDlgCtrlID(hwnd)) == id && WindowText(hwnd) == title)
            return hwnd;
    return nullptr;
}

std::string ClassOf(HWND hwnd)
{
    char cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    return cls;
}

HWND FindClassIn(HWND root, const char* cls)
{
    for (HWND hwnd : Descendants(root))
        if (lstrcmpiA(ClassOf(hwnd).c_str(), cls) == 0)
            return hwnd;
    return nullptr;
}

// The program started on the sample project, up to its main window.
class Startup : public ::testing::Test {
protected:
    void Start()
    {
        // The pointer rests in the screen's far corner: a popup menu that opens under it would
        // follow it instead of the keys the tests send.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        m_process.reset(new vt::IdeProcess(m_copy, vt::ProgramCopy::SampleProject()));
        ASSERT_TRUE(m_process->Started());
        m_frame = m_process->MainWindow();
        ASSERT_NE(nullptr, m_frame) << "the main window did not show";
    }
    DWORD Id() const { return m_process->Id(); }

    vt::ProgramCopy m_copy;
    std::unique_ptr<vt::IdeProcess> m_process;
    HWND m_frame = nullptr;
};

TEST_F(Startup, TheFrameComesUpWithItsToolbarsBarsAndStatusBar)
{
    Start();
    // The four default toolbars, shown, with the find box on the File toolbar.
    const std::pair<UINT, const char*> toolbars[] = {{IDW_FILE_TOOLBAR, "File"}, {IDW_BUILD_TOOLBAR, "Build"},
                                                     {IDW_DEBUG_TOOLBAR, "Debug"}, {IDW_TOOLS_TOOLBAR, "Tools"}};
    for (const auto& [id, title] : toolbars) {
        HWND bar = FindBar(Id(), id, title);
        ASSERT_NE(nullptr, bar) << title;
        EXPECT_TRUE(IsWindowVisible(bar)) << title;
        if (std::string(title) == "File") {
            HWND find = nullptr;
            for (HWND child : Descendants(bar))
                if (GetDlgCtrlID(child) == IDC_FIND_BOX)
                    find = child;
            ASSERT_NE(nullptr, find);
            EXPECT_EQ("ComboBox", ClassOf(find));
        }
    }

    // The docked bars in their dock bars; the preview bar floats, hidden.
    struct Place {
        UINT id;
        const char* title;
        UINT dockBar;   // 0: floating
        bool shown;
    };
    for (const Place& p : {Place{IDW_OUTPUT_BAR, "Output Window", 0xE81E, true},
                           Place{IDW_PROJECT_BAR, "Project Workspace", 0xE81C, true},
                           Place{IDW_PREVIEW_BAR, "Preview Resource", 0, false}}) {
        HWND bar = FindBar(Id(), p.id, p.title);
        ASSERT_NE(nullptr, bar) << p.title;
        EXPECT_EQ(p.shown, IsWindowVisible(bar) != FALSE) << p.title;
        if (p.dockBar)
            EXPECT_EQ(p.dockBar, static_cast<UINT>(GetDlgCtrlID(GetParent(bar)))) << p.title;
        else
            EXPECT_NE(m_frame, GetAncestor(bar, GA_ROOT)) << p.title;
    }

    // The status bar's seven panes; the progress control in pane 1, hidden until a build runs.
    HWND status = GetDlgItem(m_frame, 0xE801);
    ASSERT_NE(nullptr, status);
    EXPECT_EQ("msctls_statusbar32", ClassOf(status));
    EXPECT_EQ(7, SendMessageA(status, SB_GETPARTS, 0, 0));
    vt::ForeignBuffer buffer(m_process->Handle(), sizeof(RECT));
    RECT pane1 = {}, pane3 = {};
    ASSERT_TRUE(SendMessageA(status, SB_GETRECT, 1, reinterpret_cast<LPARAM>(buffer.At())));
    ASSERT_TRUE(buffer.Read(0, &pane1, sizeof pane1));
    ASSERT_TRUE(SendMessageA(status, SB_GETRECT, 3, reinterpret_cast<LPARAM>(buffer.At())));
    ASSERT_TRUE(buffer.Read(0, &pane3, sizeof pane3));
    EXPECT_GE(pane3.right - pane3.left, 150);
    HWND progress = FindClassIn(status, "msctls_progress32");
    ASSERT_NE(nullptr, progress);
    EXPECT_FALSE(IsWindowVisible(progress));
    RECT rc;
    GetWindowRect(progress, &rc);
    MapWindowPoints(nullptr, status, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_TRUE(rc.left >= pane1.left && rc.right <= pane1.right) << rc.left << ".." << rc.right;
}

TEST_F(Startup, TheWindowPositionIsRestoredFromTheProfile)
{
    const RECT saved = {40, 30, 700, 560};
    for (int maximized : {0, 1}) {
        SCOPED_TRACE(maximized);
        m_copy.WriteProfileInt("WindowPos", "Left", saved.left);
        m_copy.WriteProfileInt("WindowPos", "Top", saved.top);
        m_copy.WriteProfileInt("WindowPos", "Right", saved.right);
        m_copy.WriteProfileInt("WindowPos", "Bottom", saved.bottom);
        m_copy.WriteProfileInt("WindowPos", "IsMaximized", static_cast<DWORD>(maximized));
        Start();
        EXPECT_EQ(maximized != 0, IsZoomed(m_frame) != FALSE);
        // (The platform reports another process's normal position only as its window's.)
        if (IsZoomed(m_frame)) {
            // Sent: the restore is complete when the call returns.
            DWORD_PTR result = 0;
            ASSERT_TRUE(SendMessageTimeoutA(m_frame, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_NORMAL, 30000, &result));
            EXPECT_FALSE(IsZoomed(m_frame));
        }
        RECT rc = {};
        GetWindowRect(m_frame, &rc);
        EXPECT_EQ(saved.left, rc.left);
        EXPECT_EQ(saved.top, rc.top);
        EXPECT_EQ(saved.right, rc.right);
        EXPECT_EQ(saved.bottom, rc.bottom);
        m_process->Close();
        m_process.reset();
    }
}

TEST_F(Startup, TheAboutBoxShowsTheVersionOrUnknown)
{
    // The sample's "SDSVersion" encodes 1.00.001; the name is this copy's "SDSName".
    for (bool withVersion : {true, false}) {
        SCOPED_TRACE(withVersion);
        if (!withVersion)
            m_copy.SetConfig("IDESystem", "SDSVersion", nullptr);
        Start();
        vt::RemoteAnswerer answerer(Id());
        PostMessageA(m_frame, WM_COMMAND, ID_APP_ABOUT, 0);
        ASSERT_TRUE(answerer.WaitForCount(1));
        vt::ModalSeen about = answerer.Last();
        EXPECT_EQ("About Veltane Tool", about.caption);
        std::string line = m_copy.SdsName() + (withVersion ? " Ver. 1.00.001" : " Ver. (unknown)");
        EXPECT_NE(std::string::npos, about.text.find(line)) << about.text;
        EXPECT_EQ(IDOK, about.answer);
        m_process->Close();
        m_process.reset();
    }
}

TEST_F(Startup, CloseWritesThePositionLayoutAndLists)
{
    std::string project = m_copy.Folder() + vt::ProgramCopy::SampleProject();
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, (m_copy.ProfileKey() + "\\Recent Project List").c_str(), &key));
    RegSetValueExA(key, "Project1", 0, REG_SZ, reinterpret_cast<const BYTE*>(project.c_str()), project.size() + 1);
    Start();
    // What the program read at the start it writes back at the close.
    RegDeleteValueA(key, "Project1");
    RegCloseKey(key);
    WINDOWPLACEMENT wp = {sizeof wp};
    ASSERT_TRUE(GetWindowPlacement(m_frame, &wp));
    bool zoomed = IsZoomed(m_frame) != FALSE;
    m_process->Close();
    EXPECT_NE(-1, m_process->Wait());

    DWORD value = 0;
    const std::pair<const char*, LONG> position[] = {{"Left", wp.rcNormalPosition.left},
                                                     {"Top", wp.rcNormalPosition.top},
                                                     {"Right", wp.rcNormalPosition.right},
                                                     {"Bottom", wp.rcNormalPosition.bottom}};
    for (const auto& p : position) {
        ASSERT_TRUE(m_copy.ReadProfileInt("WindowPos", p.first, &value)) << p.first;
        EXPECT_EQ(p.second, static_cast<LONG>(value)) << p.first;
    }
    ASSERT_TRUE(m_copy.ReadProfileInt("WindowPos", "IsMaximized", &value));
    EXPECT_EQ(zoomed ? 1u : 0u, value);
    ASSERT_TRUE(m_copy.ReadProfileInt("", "NormalExitApp", &value));
    EXPECT_EQ(1u, value);
    std::string text;
    EXPECT_TRUE(m_copy.ReadProfileString("Directory", "Working", &text));
    EXPECT_TRUE(m_copy.HasProfileKey("BarState\\BarState-Summary"));
    ASSERT_TRUE(m_copy.ReadProfileString("Recent Project List", "Project1", &text));
    EXPECT_EQ(project, text);
}

} // namespace

namespace {

std::string Describe(const std::vector<vt::MenuItemSeen>& items)
{
    std::string text;
    for (const vt::MenuItemSeen& item : items)
        text += "[" + item.text + (item.grayed ? ", greyed" : "") + (item.submenu ? ", submenu" : "") + "] ";
    return text;
}

TEST_F(Startup, TheMenuBarShowsMenu128AndSwitchesTo129ForADocument)
{
    Start();
    // The seven popups of menu 128, each known by its first item (Tools: the built-in
    // Calculator comes before Customize).
    const std::pair<char, const char*> popups[] = {{'f', "New"},     {'e', "Copy"},           {'v', "Toolbar"},
                                                   {'p', "Build"},   {'d', "Start Debugger"}, {'t', "Calculator"},
                                                   {'h', "About Veltane Tool..."}};
    for (const auto& [key, first] : popups) {
        std::vector<vt::MenuItemSeen> items = vt::ReadMenuBarPopup(m_frame, Id(), key);
        ASSERT_FALSE(items.empty()) << key;
        EXPECT_EQ(first, items.front().text) << key;
    }
    // No Window popup: Alt+W opens nothing, so the next key's popup is Help's.
    PostMessageA(m_frame, WM_SYSCOMMAND, SC_KEYMENU, 'w');
    std::vector<vt::MenuItemSeen> next = vt::ReadMenuBarPopup(m_frame, Id(), 'h');
    ASSERT_FALSE(next.empty());
    EXPECT_EQ("About Veltane Tool...", next.front().text);

    // File/New opens the untitled source document "Text1", which brings menu 129 with its
    // Window popup.
    PostMessageA(m_frame, WM_COMMAND, ID_FILE_NEW, 0);
    HWND client = FindClassIn(m_frame, "MDIClient");
    ASSERT_NE(nullptr, client);
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND child = GetWindow(client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (WindowText(child) == "Text1")
                return true;
        return false;
    }));
    EXPECT_FALSE(vt::ReadMenuBarPopup(m_frame, Id(), 'w').empty());
}

TEST_F(Startup, TheRecentSubmenusAreGreyedOrFilled)
{
    std::string project = m_copy.Folder() + vt::ProgramCopy::SampleProject();
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CURRENT_USER, (m_copy.ProfileKey() + "\\Recent Project List").c_str(), &key));
    RegSetValueExA(key, "Project1", 0, REG_SZ, reinterpret_cast<const BYTE*>(project.c_str()), project.size() + 1);
    RegCloseKey(key);
    Start();
    // No recent file: the submenu's one item is greyed; the recent project is listed.
    for (bool files : {true, false}) {
        SCOPED_TRACE(files);
        PostMessageA(m_frame, WM_SYSCOMMAND, SC_KEYMENU, 'f');
        ASSERT_TRUE(vt::ChoosePopupMenuItem(Id(), files ? "Recent File" : "Recent Project"));
        std::vector<vt::MenuItemSeen> items;
        ASSERT_TRUE(WaitUntil([&] {
            items = vt::OpenPopupMenu(Id());
            return !items.empty() && items.front().text != "New";
        })) << Describe(items);
        vt::CloseMenus(m_frame, Id());
        if (files) {
            ASSERT_EQ(1u, items.size());
            EXPECT_TRUE(items.front().grayed);
        } else {
            ASSERT_FALSE(items.empty());
            EXPECT_FALSE(items.front().grayed);
            EXPECT_NE(std::string::npos, items.front().text.find("Sample.wbi")) << items.front().text;
        }
    }
}

} // namespace
