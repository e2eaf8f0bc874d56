// The real program's Output window: its three pages, and Find in Files run on the sample
// folder, its dialog answered from outside, its lines read back through the frame's Select
// All and Copy and the clipboard.
#include <gtest/gtest.h>
#include <windows.h>
#include <functional>
#include <sstream>
#include "afx/afxres.h"
#include "resources/ideres.h"
#include "tests/harness/box_work.h"
#include "tests/harness/harness.h"
#include "tests/harness/ide/ide_process.h"

namespace {

using vt::detail::Descendants;
using vt::detail::WindowText;

// The pages of the output bar's tab window (which carries the first page's id too).
const UINT kPageIds[3] = { 59648, 59649, 59650 };   // "Build", "Find in Files", "Result"

bool WaitUntil(const std::function<bool()>& condition, DWORD ms = 30000)
{
    for (DWORD start = GetTickCount(); !condition(); Sleep(50))
        if (GetTickCount() - start > ms)
            return false;
    return true;
}

HWND OutputBar(HWND frame)
{
    for (HWND hwnd : Descendants(frame))
        if (static_cast<UINT>(GetDlgCtrlID(hwnd)) == IDW_OUTPUT_BAR && WindowText(hwnd) == "Output Window")
            return hwnd;
    return nullptr;
}

// A direct child with that id.
HWND ChildById(HWND parent, UINT id)
{
    for (HWND hwnd : Descendants(parent))
        if (GetParent(hwnd) == parent && static_cast<UINT>(GetDlgCtrlID(hwnd)) == id)
            return hwnd;
    return nullptr;
}

std::string ClipboardText()
{
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE h = GetClipboardData(CF_TEXT))
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    CloseClipboard();
    return text;
}

void EmptyTheClipboard()
{
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The focus given to a window of the program, as a click would (its thread's input is
// joined for the call).
bool FocusIn(HWND hwnd)
{
    DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
    if (!AttachThreadInput(GetCurrentThreadId(), thread, TRUE))
        return false;
    SetFocus(hwnd);
    bool ok = GetFocus() == hwnd;
    AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
    return ok;
}

class OutputEndToEnd : public ::testing::Test {
protected:
    void Start()
    {
        m_process.reset(new vt::IdeProcess(m_copy, vt::ProgramCopy::SampleProject()));
        ASSERT_TRUE(m_process->Started());
        m_frame = m_process->MainWindow();
        ASSERT_NE(nullptr, m_frame) << "the main window did not show";
        m_bar = OutputBar(m_frame);
        ASSERT_NE(nullptr, m_bar);
        m_tabs = ChildById(m_bar, kPageIds[0]);
        ASSERT_NE(nullptr, m_tabs);
        for (int i = 0; i < 3; i++) {
            m_pages[i] = ChildById(m_tabs, kPageIds[i]);
            ASSERT_NE(nullptr, m_pages[i]) << i;
        }
    }
    // Which pages show, as 0/1 per page.
    std::vector<int> Shown() const
    {
        std::vector<int> v;
        for (HWND page : m_pages)
            v.push_back(IsWindowVisible(page) != FALSE);
        return v;
    }

    vt::ProgramCopy m_copy;
    std::unique_ptr<vt::IdeProcess> m_process;
    HWND m_frame = nullptr;
    HWND m_bar = nullptr;
    HWND m_tabs = nullptr;
    HWND m_pages[3] = {};
};

TEST_F(OutputEndToEnd, FindInFilesFillsItsPageWithTheSampleLines)
{
    // The sample folder is the newest of the dialog's folders.
    const std::string folder = m_copy.Folder() + "sample\\";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, (m_copy.ProfileKey() + "\\Settings\\Find").c_str(), 0,
                                             nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
    RegSetValueExA(key, "FindDir1", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>(folder.size() + 1));
    RegCloseKey(key);

    Start();
    // Three pages in the bar's tab window, one of them in front (the sample's opening
    // has written to "Result").
    std::vector<int> shown = Shown();
    EXPECT_EQ(1, shown[0] + shown[1] + shown[2]);
    EXPECT_EQ(0, shown[1]);

    vt::RemoteAnswerer answerer(m_process->Id());
    answerer.Queue(vt::ModalAnswer(IDOK)
                       .Type(IDC_FIND_TEXT, "LED_PORT")
                       .Type(IDC_FIND_TYPES, "*.asm;*.inc")
                       .Check(IDC_FIND_SUBFOLDERS, true));
    PostMessageA(m_frame, WM_COMMAND, ID_EDIT_FIND_IN_FILES, 0);
    ASSERT_TRUE(answerer.WaitForCount(1));
    EXPECT_EQ("Find in Files", answerer.Last().caption);
    EXPECT_EQ("", answerer.Last().error);

    // The page comes to the front and takes the lines; Select All and Copy of the frame
    // act on it while it has the focus.
    const std::vector<std::string> expected = {
        "Searching for 'LED_PORT'...",
        folder + "main.asm : (11)         OUT LED_PORT, A",
        folder + "defs.inc : (2) .equ LED_PORT, 3",
        "2 occurance(s) have been found !",
    };
    std::vector<std::string> lines;
    bool done = WaitUntil([&] {
        EmptyTheClipboard();
        if (!FocusIn(m_pages[1]))
            return false;
        SendMessageA(m_frame, WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
        SendMessageA(m_frame, WM_COMMAND, ID_EDIT_COPY, 0);
        lines = Lines(ClipboardText());
        return !lines.empty() && lines.back().find("have been found") != std::string::npos;
    });
    ASSERT_TRUE(done) << "the search did not end; lines: " << lines.size();
    EXPECT_EQ(expected, lines);
    EXPECT_EQ((std::vector<int>{ 0, 1, 0 }), Shown());
    m_process->Close();
}

} // namespace
