#include "tests/ide/workbench/mainframe_fixture.h"
#include "ide/workbench/FindInFiles.h"
#include "support/ui/CUMsgHandler.h"
#include <algorithm>

namespace {

using vt::MainFrame;

// The records the "Find in Files" page is sent, seen on their way in.
struct PageWatch {
    static inline HWND hPage = nullptr;
    static inline std::vector<std::pair<int, std::string>> recs;
    // At the first match, the frame gets this message (the command again, or a close).
    static inline CMainFrame* pFrame = nullptr;
    static inline UINT nMsg = 0;
    static inline WPARAM wMsg = 0;
    HHOOK hHook;
    explicit PageWatch(HWND h)
    {
        hPage = h;
        recs.clear();
        hHook = SetWindowsHookExA(WH_CALLWNDPROC, Proc, nullptr, GetCurrentThreadId());
    }
    ~PageWatch() { UnhookWindowsHookEx(hHook); }
    static LRESULT CALLBACK Proc(int code, WPARAM w, LPARAM l)
    {
        auto* cw = reinterpret_cast<CWPSTRUCT*>(l);
        if (code == HC_ACTION && cw->hwnd == hPage && cw->message == CU_WM_MESSAGE_RECORD && cw->wParam == 0) {
            auto* r = reinterpret_cast<tagMessageRecord*>(cw->lParam);
            recs.push_back({ r->kind, r->text });
            if (r->kind == 2 && pFrame) {
                CMainFrame* p = pFrame;
                pFrame = nullptr;
                if (nMsg == WM_CLOSE)
                    p->PostMessage(nMsg, wMsg);   // as a user's close comes: not inside a record
                else
                    p->SendMessage(nMsg, wMsg);
            }
        }
        return CallNextHookEx(nullptr, code, w, l);
    }
    static bool Ended()
    {
        return !recs.empty() && recs.back().second.find("occurance(s) have been found !") != std::string::npos;
    }
};

struct TextCmdUI : CCmdUI {
    std::string text;
    void Enable(BOOL) override {}
    void SetText(LPCSTR s) override { text = s; }
};

std::string ItemText(CMainFrame* p)
{
    TextCmdUI ui;
    ui.m_nID = ID_EDIT_FIND_IN_FILES;
    ui.DoUpdate(p, FALSE);
    return ui.text;
}

DWORD FindButtonStyle(MainFrame& f)
{
    TWKCustomToolBar* pBar = f.ToolBar(IDW_FILE_TOOLBAR);
    return pBar->GetButtonStyle(pBar->CommandToIndex(ID_EDIT_FIND_IN_FILES));
}

// A tree whose every file matches on its first line, big enough to be stopped.
void WriteTree(vt::TempDir& dir)
{
    std::string text = "needle first\n" + std::string(2000, 'x') + "\n";
    for (int i = 0; i < 300; ++i)
        dir.Write("f" + std::to_string(i) + ".txt", text);
}

vt::ModalAnswer FindAnswer(const vt::TempDir& dir)
{
    return vt::ModalAnswer(IDOK)
        .Type(IDC_FIND_TEXT, "NEEDLE")
        .Type(IDC_FIND_TYPES, "*.txt")
        .Type(IDC_FIND_FOLDER, dir.Path());
}

TEST(FindInFilesFrame, CommandStopsARunningSearchAndShowsItsStateAndTheFolderStays)
{
    vt::TempDir dir;
    WriteTree(dir);
    MainFrame f;
    PageWatch watch(f.p->GetMessageBar()->GetFindInFilesPage()->m_hWnd);
    const std::string folder = [] { char s[MAX_PATH]; GetCurrentDirectoryA(MAX_PATH, s); return std::string(s); }();
    EXPECT_EQ(ItemText(f.p), "Find in Files...");
    vt::ModalAnswerer answerer;
    answerer.Queue(FindAnswer(dir));
    f.Command(ID_EDIT_FIND_IN_FILES);
    ASSERT_EQ(answerer.Count(), 1u);
    EXPECT_EQ(answerer.Last().caption, "Find in Files");
    // The thread waits for this thread to take its first record.
    EXPECT_EQ(ItemText(f.p), "Stop Find in Files");
    EXPECT_EQ(FindButtonStyle(f), 0x20000u);
    // The command again at the first match stops the search; no dialog.
    PageWatch::pFrame = f.p;
    PageWatch::nMsg = WM_COMMAND;
    PageWatch::wMsg = ID_EDIT_FIND_IN_FILES;
    auto finished = [](void* p) -> BOOL { return !static_cast<CMainFrame*>(p)->m_bFinding; };
    ASSERT_EQ(AfxWaitPumping(nullptr, finished, f.p, 20000), AFX_WAIT_DONE);
    EXPECT_EQ(answerer.Count(), 1u);
    EXPECT_TRUE(PageWatch::Ended());
    size_t matches = std::count_if(PageWatch::recs.begin(), PageWatch::recs.end(),
                                   [](auto& r) { return r.first == 2; });
    EXPECT_EQ(matches, 1u);   // the stop is seen after the line that matched
    EXPECT_EQ(ItemText(f.p), "Find in Files...");
    EXPECT_EQ(FindButtonStyle(f), 0u);
    char now[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, now);
    EXPECT_EQ(folder, now);
    // The dialog wrote its histories.
    EXPECT_EQ(vt::ProfileString("Settings\\Find", "Find1"), "NEEDLE");
    EXPECT_EQ(vt::ProfileString("Settings\\Find", "FindDir1"), dir.Path());
    EXPECT_EQ(vt::ProfileString("Settings\\Find", "LastFileList"), "*.txt");
}

TEST(FindInFilesFrame, CloseDuringASearchWaitsForTheThreadsLastRecords)
{
    vt::TempDir dir;
    WriteTree(dir);
    MainFrame f;
    PageWatch watch(f.p->GetMessageBar()->GetFindInFilesPage()->m_hWnd);
    vt::ModalAnswerer answerer;
    answerer.Queue(FindAnswer(dir));
    PageWatch::pFrame = f.p;
    PageWatch::nMsg = WM_CLOSE;
    PageWatch::wMsg = 0;
    HWND hFrame = f.hWnd;
    f.Command(ID_EDIT_FIND_IN_FILES);
    // The close ("Wait for ... terminated !!" answered) waits for the thread's last records.
    auto gone = [](void* h) -> BOOL { return !IsWindow((HWND)h); };
    ASSERT_EQ(AfxWaitPumping(nullptr, gone, hFrame, 20000), AFX_WAIT_DONE);
    f.p = nullptr;
    EXPECT_TRUE(PageWatch::Ended());
    ASSERT_GE(answerer.Count(), 2u);
    EXPECT_EQ(answerer.Seen()[1].caption, "Wait");
}

TEST(FindInFilesFrame, DialogHistoriesAndFindButton)
{
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileString("Settings\\Find", "LastFileList", "");
    CStringList texts, folders;
    for (int i = 20; i >= 1; --i) {
        CString s;
        s.Format("text%d", i);
        texts.AddTail(s);
        s.Format("C:\\dir%d", i);
        folders.AddTail(s);
    }
    // Nothing to find yet: "&Find" is off until text is typed.
    {
        CStringList none, noFolders;
        C_IDEFindInFilesDlg dlg;
        dlg.SetHistoryLists(&none, &noFolders);
        // Made modeless here, so that its controls can be read as it opens.
        ASSERT_TRUE(dlg.Create(IDD_FIND_IN_FILES));
        HWND box = dlg.m_hWnd;
        bool disabled = !IsWindowEnabled(GetDlgItem(box, IDOK));
        HWND hCombo = GetDlgItem(box, IDC_FIND_TEXT);
        SetWindowTextA(hCombo, "x");
        SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_FIND_TEXT, CBN_EDITCHANGE), (LPARAM)hCombo);
        bool enabledAfterTyping = IsWindowEnabled(GetDlgItem(box, IDOK));
        dlg.DestroyWindow();
        EXPECT_TRUE(disabled);
        EXPECT_TRUE(enabledAfterTyping);
        EXPECT_EQ(vt::ProfileString("Settings\\Find", "LastFileList"), "*.*");
    }
    // A 21st text and folder push the oldest out; an earlier one moves to the top.
    C_IDEFindInFilesDlg::AddToHistory(texts, "text21", "Find");
    C_IDEFindInFilesDlg::AddToHistory(folders, "C:\\dir5", "FindDir");
    EXPECT_EQ(texts.GetCount(), 20);
    EXPECT_EQ(texts.GetHead(), "text21");
    EXPECT_EQ(texts.GetTail(), "text2");
    EXPECT_EQ(folders.GetCount(), 20);
    EXPECT_EQ(folders.GetHead(), "C:\\dir5");
    EXPECT_EQ(folders.GetTail(), "C:\\dir1");
    EXPECT_EQ(vt::ProfileString("Settings\\Find", "Find20"), "text2");
    EXPECT_EQ(vt::ProfileString("Settings\\Find", "FindDir2"), "C:\\dir20");
}

} // namespace
