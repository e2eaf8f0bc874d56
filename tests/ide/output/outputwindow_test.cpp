// The output window inside a real main frame: routing of records to pages,
// line texts and colours, the line cap, logging, navigation, the context
// menu's Clear and the caret position in the status bar.
#include "tests/ide/workbench/mainframe_fixture.h"
#include "ide/output/MessageBar.h"
#include <cstdio>
#include <fstream>
#include <sstream>

using namespace vt;

namespace {

tagMessageRecord Record(int kind, const char* text, const char* file = "", int line = 0)
{
    tagMessageRecord r = {};
    r.kind = kind;
    lstrcpynA(r.fileName, file, sizeof r.fileName);
    r.line = line;
    lstrcpynA(r.text, text, sizeof r.text);
    return r;
}

struct OutputFixture : ::testing::Test {
    MainFrame f;
    C_MessageBar* bar() { return f.p->GetMessageBar(); }
    LRESULT Send(tagMessageRecord r) { return f.p->SendMessage(WM_MAIN_REQUEST, 0, (LPARAM)&r); }
    void SetUp() override
    {
        ASSERT_TRUE(f.p);
        // The pages report to the application's main window.
        AfxGetApp()->m_pMainWnd = f.p;
        for (C_MessageCtrl* p : { bar()->GetBuildPage(), bar()->GetFindInFilesPage(), bar()->GetResultPage() })
            p->Clear(TRUE);
        g_strMessageLog.Empty();
        g_bMessageLog = FALSE;
    }
    void TearDown() override
    {
        g_bMessageLog = FALSE;
        AfxGetApp()->m_pMainWnd = nullptr;
    }
};

std::string ReadFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// A window that records the navigation requests sent to it.
struct NavigationSink : CWnd {
    std::vector<tagMessageRecord> got;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_OUTPUT_NAVIGATE && wParam == 1)
            got.push_back(*reinterpret_cast<tagMessageRecord*>(lParam));
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A double-click on line nLine of a page, as the mouse gives it.
void DoubleClickLine(C_MessageCtrl* page, int nLine)
{
    int y = (nLine - page->m_nTopLine) * page->m_nLineHeight + page->m_nLineHeight / 2;
    int x = page->m_nTextLeft + 2 * page->m_nCharWidth;
    page->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    page->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    page->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    page->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

} // namespace

TEST_F(OutputFixture, ShowsThreePagesWithTheirLabelsAndIds)
{
    C_MessageWnd& tabs = bar()->m_wndTabs;
    ASSERT_EQ(3, tabs.GetTabCount());
    const char* labels[3] = { "Build", "Find in Files", "Result" };
    const int ids[3] = { IDW_OUTPUT_BUILD, IDW_OUTPUT_FINDINFILES, IDW_OUTPUT_RESULT };
    for (int i = 0; i < 3; i++) {
        LPCTSTR label = nullptr;
        BOOL sel = FALSE;
        CWnd* page = nullptr;
        void* extra = nullptr;
        ASSERT_TRUE(tabs.GetTabInfo(i, label, sel, page, extra));
        EXPECT_STREQ(labels[i], label);
        EXPECT_EQ(ids[i], page->GetDlgCtrlID());
    }
    EXPECT_EQ(bar()->GetBuildRecordList(), f.p->m_pBuildRecords);
}

TEST_F(OutputFixture, RoutesRecordsByKindToTheirPage)
{
    struct Case { int kind; const char* text; int page; };   // page -1: dropped
    const Case cases[] = {
        { 1, "message", OUTPUT_PAGE_BUILD },  { 2, "warning", OUTPUT_PAGE_BUILD }, { 3, "error", OUTPUT_PAGE_BUILD },
        { 0, "plain", OUTPUT_PAGE_RESULT },   { -4, "negative", OUTPUT_PAGE_RESULT },
        { 4, "four", OUTPUT_PAGE_RESULT },    { 6, "high", OUTPUT_PAGE_RESULT },   { 12, "twelve", OUTPUT_PAGE_RESULT },
        { 2, "", -1 },                        { 5, "", -1 },
    };
    C_MessageCtrl* pages[3] = { bar()->GetBuildPage(), bar()->GetFindInFilesPage(), bar()->GetResultPage() };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        SCOPED_TRACE(c.text);
        bar()->ActivatePage(OUTPUT_PAGE_FINDINFILES);
        int before[3];
        for (int i = 0; i < 3; i++)
            before[i] = (int)pages[i]->GetRecords().GetCount();
        EXPECT_EQ(1, Send(Record(c.kind, c.text)));
        for (int i = 0; i < 3; i++)
            EXPECT_EQ(before[i] + (i == c.page ? 1 : 0), (int)pages[i]->GetRecords().GetCount()) << "page " << i;
        // The page that took it comes to the front; a dropped record changes no tab.
        EXPECT_EQ(c.page < 0 ? pages[OUTPUT_PAGE_FINDINFILES] : pages[c.page], bar()->GetActivePage());
        if (c.page >= 0)
            EXPECT_STREQ(c.text, (LPCSTR)pages[c.page]->GetLineText(pages[c.page]->GetLineCountShown()));
    }
    // Log records carry no text and show nothing.
    bar()->ActivatePage(OUTPUT_PAGE_BUILD);
    Send(Record(CU_REC_START_LOG, "", "unused.log"));
    EXPECT_TRUE(g_bMessageLog);
    EXPECT_EQ(3, bar()->GetBuildPage()->GetLineCountShown());
    EXPECT_EQ(5, bar()->GetResultPage()->GetLineCountShown());
}

TEST_F(OutputFixture, FormatsLinesWithAndWithoutAFileInTheKindsColour)
{
    tagMessageRecord warn = Record(2, "unused label", "C:\\src\\main.asm", 12);
    tagMessageRecord msg = Record(1, "unused label", "C:\\src\\main.asm", 12);
    EXPECT_STREQ("C:\\src\\main.asm : unused label", (LPCSTR)C_MessageCtrl::FormatLine(&warn, 1));
    EXPECT_STREQ("unused label", (LPCSTR)C_MessageCtrl::FormatLine(&warn, 2));
    EXPECT_STREQ("unused label", (LPCSTR)C_MessageCtrl::FormatLine(&msg, 1));
    tagMessageRecord nofile = Record(3, "no file");
    EXPECT_STREQ("no file", (LPCSTR)C_MessageCtrl::FormatLine(&nofile, 1));

    struct Case { int kind; COLORREF cr; };
    const Case cases[] = { { 1, RGB(0, 0, 128) }, { 2, RGB(0, 128, 0) }, { 3, RGB(255, 0, 0) },
                           { 6, RGB(128, 0, 0) }, { 4, RGB(0, 0, 0) },   { 0, RGB(0, 0, 0) } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Send(Record(c.kind, "text\twith a tab", "file.asm", 3));
        C_MessageCtrl* page = c.kind >= 1 && c.kind <= 3 ? bar()->GetBuildPage() : bar()->GetResultPage();
        int n = page->GetLineCountShown();
        EXPECT_TRUE(page->GetColors().At(n).bSet);
        EXPECT_EQ(c.cr, page->GetColors().Color(n));
        // Tabs in the text are expanded to columns of 4 in the copy and the line.
        std::string expect = c.kind == 1 ? "text    with a tab" : "file.asm : text    with a tab";
        EXPECT_STREQ(expect.c_str(), (LPCSTR)page->GetLineText(n));
    }
}

TEST_F(OutputFixture, TheLineAfterTheCapDropsTheFirstAndKeepsColoursNumbersAndNavigation)
{
    C_MessageCtrl* page = bar()->GetBuildPage();
    char text[32];
    for (int i = 1; i <= OUTPUT_MAX_LINES; i++) {
        sprintf(text, "line %d", i);
        Send(Record(i % 2 ? 2 : 3, text, "f.asm", i));
    }
    EXPECT_EQ(OUTPUT_MAX_LINES, page->GetLineCountShown());
    Send(Record(1, "line 8193", "f.asm", 8193));
    EXPECT_EQ(OUTPUT_MAX_LINES, page->GetLineCountShown());
    EXPECT_EQ(OUTPUT_MAX_LINES, (int)page->GetRecords().GetCount());
    EXPECT_EQ(OUTPUT_MAX_LINES, page->GetEdit()->m_nLineCount);
    EXPECT_STREQ("f.asm : line 2", (LPCSTR)page->GetLineText(1));
    EXPECT_EQ(2, page->GetRecords().GetHead()->line);
    // Line 1 was record 2 (an error), line 2 record 3 (a warning), the last the message.
    EXPECT_EQ(RGB(255, 0, 0), page->GetColors().Color(1));
    EXPECT_EQ(RGB(0, 128, 0), page->GetColors().Color(2));
    EXPECT_EQ(RGB(0, 0, 128), page->GetColors().Color(OUTPUT_MAX_LINES));

    // After the drop, a double-click on the page's third line opens record 4 and marks that line.
    NavigationSink sink;
    ASSERT_TRUE(sink.CreateEx(0, AfxRegisterWndClass(0), "sink", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0));
    page->m_hNotify = sink.m_hWnd;
    page->GoToLine(3);
    page->UpdateWindow();
    DoubleClickLine(page, 3);
    ASSERT_EQ(1u, sink.got.size());
    EXPECT_EQ(4, sink.got[0].line);
    EXPECT_EQ(3, page->GetIndicatorLine());
    EXPECT_EQ(3, page->GetEdit()->GetLine(3)->nLineNo);
    page->m_hNotify = bar()->m_wndTabs.m_hWnd;
    sink.DestroyWindow();
}

TEST_F(OutputFixture, DoubleClickSendsTheRecordToTheFrameOnlyForLinesWithAPlace)
{
    struct Case { int kind; int line; bool sends; };
    const Case cases[] = { { 3, 17, true }, { 2, 4, true }, { 1, 17, false }, { 3, 0, false } };
    C_MessageCtrl* page = bar()->GetBuildPage();
    NavigationSink sink;
    ASSERT_TRUE(sink.CreateEx(0, AfxRegisterWndClass(0), "sink", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0));
    page->m_hNotify = sink.m_hWnd;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        SCOPED_TRACE(c.line);
        page->Clear(TRUE);
        Send(Record(c.kind, "word here", "src\\a.asm", c.line));
        page->UpdateWindow();
        sink.got.clear();
        DoubleClickLine(page, 1);
        ASSERT_EQ(c.sends ? 1u : 0u, sink.got.size());
        EXPECT_EQ(c.sends ? 1 : -1, page->GetIndicatorLine());
        if (c.sends) {
            EXPECT_STREQ("src\\a.asm", sink.got[0].fileName);
            EXPECT_EQ(c.line, sink.got[0].line);
            EXPECT_STREQ("word here", f.p->GetStatusBar()->GetPaneText(0));
        } else {
            // The engine's word selection alone.
            EXPECT_TRUE(page->HasSelection());
        }
    }
    page->m_hNotify = bar()->m_wndTabs.m_hWnd;
    sink.DestroyWindow();
}

TEST_F(OutputFixture, TheFrameReceivesNavigationThroughTabsAndBar)
{
    // The tab window and the bar pass the request on unchanged to the main window,
    // which opens the record's file: "a.asm" is missing here and says so.
    vt::ModalAnswerer answerer{IDOK};
    tagMessageRecord r = Record(3, "x", "a.asm", 2);
    EXPECT_EQ(1, bar()->m_wndTabs.SendMessage(WM_OUTPUT_NAVIGATE, 1, (LPARAM)&r));
}

TEST_F(OutputFixture, LogsLinesFromKind10AndWritesThemAtKind11)
{
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    std::string log1 = std::string(folder) + "vt_output_log1.txt";
    std::string log2 = std::string(folder) + "vt_output_log2.txt";
    ::DeleteFileA(log1.c_str());
    ::DeleteFileA(log2.c_str());

    Send(Record(3, "before the log"));
    Send(Record(CU_REC_START_LOG, "", log1.c_str()));
    Send(Record(2, "warn", "a.asm", 1));
    Send(Record(5, "result line"));
    bar()->GetFindInFilesPage()->SendMessage(CU_WM_MESSAGE_RECORD, 0, (LPARAM)&static_cast<const tagMessageRecord&>(Record(0, "found", "b.asm", 2)));
    Send(Record(CU_REC_WRITE_LOG, ""));
    EXPECT_EQ("a.asm : warn\r\nresult line\r\nb.asm : found\r\n", ReadFile(log1.c_str()));
    // A second write gives the same lines again plus the newer ones.
    Send(Record(1, "later"));
    Send(Record(CU_REC_WRITE_LOG, ""));
    EXPECT_EQ("a.asm : warn\r\nresult line\r\nb.asm : found\r\nlater\r\n", ReadFile(log1.c_str()));

    // The next project's log starts empty: none of the first project's lines.
    Send(Record(CU_REC_START_LOG, "", log2.c_str()));
    Send(Record(1, "second project"));
    Send(Record(CU_REC_WRITE_LOG, ""));
    EXPECT_EQ("second project\r\n", ReadFile(log2.c_str()));
    ::DeleteFileA(log1.c_str());
    ::DeleteFileA(log2.c_str());
}

TEST_F(OutputFixture, ALogThatCannotBeCreatedGoesToZideMsg)
{
    ::DeleteFileA("ZideMsg.txt");
    Send(Record(CU_REC_START_LOG, "", "Z:\\no\\such\\folder\\at\\all\\x.log"));
    Send(Record(3, "kept anyway"));
    Send(Record(CU_REC_WRITE_LOG, ""));
    EXPECT_EQ("kept anyway\r\n", ReadFile("ZideMsg.txt"));
    ::DeleteFileA("ZideMsg.txt");
}

TEST_F(OutputFixture, ClearEmptiesThePageAndRemovesTheIndicator)
{
    C_MessageCtrl* page = bar()->GetResultPage();
    Send(Record(4, "one", "a.asm", 1));
    Send(Record(4, "two", "a.asm", 2));
    page->SetIndicatorLine(2);
    // Clear from the page's context menu reaches the page as its command.
    page->SendMessage(WM_COMMAND, ID_OUTPUT_CLEAR);
    EXPECT_TRUE(page->IsEmpty());
    EXPECT_EQ(0, page->GetLineCountShown());
    EXPECT_EQ(-1, page->GetIndicatorLine());
    EXPECT_EQ(1, page->GetEdit()->m_nLineCount);
    EXPECT_STREQ("", (LPCSTR)page->GetLineText(1));
    // The page goes on taking records.
    Send(Record(4, "three"));
    EXPECT_STREQ("three", (LPCSTR)page->GetLineText(1));
}

TEST_F(OutputFixture, ContextMenuHoldsCopySelectAllAndClear)
{
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_OUTPUT_MENU));
    EXPECT_EQ((std::vector<int>{ ID_EDIT_COPY, ID_EDIT_SELECT_ALL, 0, ID_OUTPUT_CLEAR }),
              MenuIDs(menu.GetSubMenu(0)->m_hMenu));
}

TEST_F(OutputFixture, CaretMovesShowLineAndColumnInPane3)
{
    C_MessageCtrl* page = bar()->GetBuildPage();
    Send(Record(3, "first line"));
    Send(Record(3, "second line"));
    page->SetFocus();
    page->GoToLineColumn(1, 4);
    CString pane = f.p->GetStatusBar()->GetPaneText(3);
    EXPECT_STREQ("Ln 1, Col 5", (LPCSTR)pane);
    page->SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    page->SendMessage(WM_KEYUP, VK_DOWN, 0);
    page->SendMessage(WM_COMMAND, ID_TWK_DOWN);
    pane = f.p->GetStatusBar()->GetPaneText(3);
    EXPECT_EQ(0, strncmp("Ln 2, Col", pane, 9)) << (LPCSTR)pane;

    // Records arriving on the focused page take the caret and the pane to the last line.
    Send(Record(3, "third line"));
    Send(Record(3, "fourth line"));
    pane = f.p->GetStatusBar()->GetPaneText(3);
    EXPECT_STREQ("Ln 4, Col 1", (LPCSTR)pane);
    POINT pt = {};
    ASSERT_TRUE(::GetCaretPos(&pt));
    EXPECT_EQ((4 - page->m_nTopLine) * page->m_nLineHeight, pt.y);

    // A run of queued records, taken in one go, leaves them at its last line too.
    tagMessageRecord run[3] = { Record(3, "fifth"), Record(2, "sixth", "f.asm", 6), Record(3, "seventh") };
    for (tagMessageRecord& r : run)
        f.p->PostMessage(WM_MAIN_REQUEST, 0, (LPARAM)&r);
    vt::PumpMessages();
    pane = f.p->GetStatusBar()->GetPaneText(3);
    EXPECT_STREQ("Ln 7, Col 1", (LPCSTR)pane);
    ASSERT_TRUE(::GetCaretPos(&pt));
    EXPECT_EQ((7 - page->m_nTopLine) * page->m_nLineHeight, pt.y);
}

TEST_F(OutputFixture, FrameCommandsWorkOnTheFocusedPages)
{
    C_MessageCtrl* build = bar()->GetBuildPage();
    C_MessageCtrl* result = bar()->GetResultPage();
    Send(Record(3, "alpha error", "a.asm", 1));
    Send(Record(3, "beta error", "a.asm", 2));
    Send(Record(4, "gamma result"));
    bar()->ActivatePage(OUTPUT_PAGE_BUILD);
    build->SetFocus();
    // Select All and Copy through the frame bring the page's lines to the clipboard.
    EXPECT_EQ(1, Update(f.p, ID_OUTPUT_CLEAR).nEnabled);
    f.Command(ID_EDIT_SELECT_ALL);
    EXPECT_TRUE(build->HasSelection());
    CTestCmdUI copy;
    copy.m_nID = ID_EDIT_COPY;
    f.p->OnUpdateEditCopy(&copy);
    EXPECT_EQ(1, copy.nEnabled);
    f.Command(ID_EDIT_COPY);
    ASSERT_TRUE(::OpenClipboard(f.hWnd));
    HANDLE h = ::GetClipboardData(CF_TEXT);
    std::string clip = h ? (const char*)::GlobalLock(h) : "";
    if (h)
        ::GlobalUnlock(h);
    ::CloseClipboard();
    EXPECT_NE(std::string::npos, clip.find("a.asm : alpha error")) << clip;
    EXPECT_NE(std::string::npos, clip.find("a.asm : beta error")) << clip;

    // Find Next: with selections on two pages the "Result" page wins.
    bar()->ActivatePage(OUTPUT_PAGE_RESULT);
    result->SetFocus();
    result->GoToLineColumn(1, 0);
    result->SelectWord(TRUE);
    ASSERT_TRUE(result->HasSelection());
    build->SelectAll(FALSE);
    f.Command(ID_EDIT_FIND_NEXT);
    CString box;
    f.p->GetFindBox()->GetWindowText(box);
    EXPECT_STREQ("gamma", (LPCSTR)box);
    EXPECT_EQ(result->m_hWnd, ::GetFocus());

    // Clear through the frame empties the active page only.
    f.Command(ID_OUTPUT_CLEAR);
    EXPECT_TRUE(result->IsEmpty());
    EXPECT_FALSE(build->IsEmpty());
    EXPECT_EQ(0, Update(f.p, ID_OUTPUT_CLEAR).nEnabled);
}

TEST_F(OutputFixture, ErrorRecordsSetTheErrorFlagAndShowTheHiddenBar)
{
    f.p->ShowControlBar(bar(), FALSE, FALSE);
    f.p->m_bBuildError = FALSE;
    Send(Record(2, "a warning"));
    EXPECT_FALSE(f.p->m_bBuildError);
    EXPECT_FALSE(bar()->IsVisible());
    Send(Record(3, "an error"));
    EXPECT_TRUE(f.p->m_bBuildError);
    EXPECT_TRUE(bar()->IsVisible());
    // A too long text is cut at 255 characters on its way.
    tagMessageRecord r = Record(4, "");
    memset(r.text, 'x', sizeof r.text);
    f.p->SendMessage(WM_MAIN_REQUEST, 0, (LPARAM)&r);
    EXPECT_EQ(255, bar()->GetResultPage()->GetLineText(1).GetLength());
}
