// The debugger's windows in a real main frame: the user-interface manager's
// bars, page routing and layouts, the call-stack and history windows, the
// listing control and the disassembly view, driven through a scripted ICE.
#include <gtest/gtest.h>
#include "ide/debugger/IDEDisAsmDoc.h"
#include "ide/debugger/IDEDisAsmView.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/debugger/IDEIceUIMgr.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "ide/workbench/IDEEditorView.h"
#include "tests/ide/debugger/debugviews_fakes.h"
#include "tests/ide/workbench/mainframe_fixture.h"

namespace {

// ---- page routing, as a table over page types

struct FakePage final : I_IceDebugPage {
    explicit FakePage(int t) : type(t) {}
    int GetItemCount() override { return 0; }
    void* GetFirstPosition() override { return nullptr; }
    void* GetPositionOf(int) override { return nullptr; }
    I_IceDebugItem* GetNext(void**) override { return nullptr; }
    I_IceDebugItem* GetAt(void**) override { return nullptr; }
    int GetType() override { return type; }
    int GetName(char* b) override { return *b = 0; }
    void* GetBuffer() override { return nullptr; }
    void Reserved8() override {}
    int IsShown() override { return 1; }
    int type;
};

struct FakeTarget final : I_IceDebugTarget, I_IceDebugPageList {
    void Reserved0() override {}
    void Reserved1() override {}
    void Reserved2() override {}
    int LoadImage(const char*) override { return 0; }
    void Reserved4() override {}
    void Reserved5() override {}
    int MoveItem(int, int, int) override { return -1; }
    int CopyItem(int, int, int, int) override { return -1; }
    int SaveImage(const char*) override { return 0; }
    int GetPageList(I_IceDebugPageList** list) override
    {
        *list = this;
        return 0;
    }
    void Reserved10() override {}
    int DeleteItem(int, int) override { return -1; }
    int InsertItem(const char*, int, int) override { return -1; }
    void* GetFirstPosition() override { return pages.empty() ? nullptr : (void*)1; }
    I_IceDebugPage* GetNext(void** pos) override
    {
        size_t i = (size_t)*pos - 1;
        *pos = i + 1 < pages.size() ? (void*)(i + 2) : nullptr;
        return &pages[i];
    }
    void Reserved1b() {}
    std::vector<FakePage> pages;
};

TEST(DebugPages, RoutingGivesIdsPerTabAndStopsAtAFullRange)
{
    struct Case {
        const char* what;
        std::vector<int> types;
        std::vector<int> refuse;   // page indexes whose offer is refused
        std::string want;          // "tab:index:id" of the offers taken
    } cases[] = {
        { "each type to its tab", { 3, 2, 6, 4, 5 }, {},
          "1:0:E920 0:1:E910 2:2:E960 3:3:E970 4:4:E980 " },
        { "another type takes no id but counts", { 3, 7, 3 }, {}, "1:0:E920 1:2:E921 " },
        { "a refused page leaves the id", { 2, 2 }, { 0 }, "0:1:E910 " },
    };
    for (const Case& c : cases) {
        FakeTarget target;
        for (int t : c.types)
            target.pages.emplace_back(t);
        std::string got;
        RouteDebugPages(&target, [&](int tab, I_IceDebugPage*, int index, UINT id) {
            if (std::find(c.refuse.begin(), c.refuse.end(), index) != c.refuse.end())
                return FALSE;
            char s[32];
            sprintf(s, "%d:%d:%X ", tab, index, id);
            got += s;
            return TRUE;
        });
        EXPECT_EQ(c.want, got) << c.what;
    }
    // A full range stops adding: 16 memory pages, 64 variable pages.
    for (int type : { ICE_PAGE_MEMORY, ICE_PAGE_REGISTERS }) {
        FakeTarget target;
        for (int i = 0; i < 70; i++)
            target.pages.emplace_back(type);
        UINT last = 0;
        int count = 0;
        RouteDebugPages(&target, [&](int, I_IceDebugPage*, int, UINT id) {
            last = id, count++;
            return TRUE;
        });
        EXPECT_EQ(type == ICE_PAGE_MEMORY ? 16 : 64, count) << type;
        EXPECT_EQ(type == ICE_PAGE_MEMORY ? 0xE91Fu : 0xE95Fu, last) << "no id of the next range";
    }
}

// ---- texts

TEST(ListingLines, SourcePartStartsAtDisplayColumn24)
{
    struct Case {
        const char* line;
        const char* want;
    } cases[] = {
        { "00:0010        10 05    LDI A, COUNT\r\n", "LDI A, COUNT" },
        { "00:0010        10 05    LDI A, COUNT", "LDI A, COUNT" },
        { "00:0010        10 05", "" },                       // shorter than 25 columns
        { "00:0010        10 05    ", "" },                   // ends at column 24
        { " 0:0010        10 05    LDI A, 1", "" },           // leading blank
        { "\t0:0010       10 05    LDI A, 1", "" },           // leading tab
        { "00:0010\t\t10 05\t\tSUB A, B\n", "SUB A, B" },    // tabs to multiples of 4: 7->8->12, 17->20->24
        { "00:0010\t\t10 05\tSUB A, B", "A, B" },           // one tab fewer: column 24 falls later
        { "", "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.want), ListingLineSource(c.line, (int)strlen(c.line))) << c.line;
}

TEST(HistoryLines, AddressIsTwoAndFourHexDigits)
{
    struct Case {
        const char* line;
        bool ok;
        DWORD a, b;
        const char* text;
    } cases[] = {
        { "00:0012 LDI A,0x05", true, 0, 0x12, "00:0012" },
        { "1F-ABCD", true, 0x1F, 0xABCD, "1F:ABCD" },
        { "G0:0012 x", false },   // not hexadecimal
        { "0G:0012 x", false },
        { "00:12", false },       // short line
        { "00:12 x y", false },   // short address part
        { "00: 012 x", false },   // a blank strtoul would skip
        { "00:+012 x", false },   // a sign strtoul would take
        { "", false },
    };
    for (const Case& c : cases) {
        DWORD a = 99, b = 99;
        CString text;
        EXPECT_EQ(c.ok, !!ParseHistoryAddress(c.line, &a, &b, &text)) << c.line;
        if (c.ok) {
            EXPECT_EQ(c.a, a) << c.line;
            EXPECT_EQ(c.b, b) << c.line;
            EXPECT_EQ(CString(c.text), text) << c.line;
        }
    }
}

// ---- the frame with its manager

CAsmIDEApp* App()
{
    return dynamic_cast<CAsmIDEApp*>(AfxGetApp());
}

// A listing in the board's layout: n lines of address, code and source.
std::string ListingText(int n)
{
    std::string text;
    for (int i = 1; i <= n; i++) {
        char line[80];
        sprintf(line, "00:%04X        10 %02X    LDI A, %d\r\n", 0x10 + i, i, i);
        text += line;
    }
    return text;
}

class DebugViews : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.p);
        ui = vt::UseAsMainWindow(frame.p);
        ASSERT_TRUE(ui);
        ui->SetIceMgr(&ice);
    }
    void TearDown() override
    {
        if (ui)
            ui->SetIceMgr(frame.p->GetIceMgr());
        App()->CloseAllDocuments(TRUE);
        vt::PumpMessages();
        App()->m_pMainWnd = nullptr;
    }
    C_IDEDisAsmView* OpenListing(int nLines)
    {
        ice.listing = dir.Write("sample.dis", ListingText(nLines));
        ui->OpenListing(ice.listing.c_str());
        vt::PumpMessages();
        return ui->GetDisAsmView();
    }
    void Show(CControlBar* bar) { vt::ShowBar(frame.p, bar); }

    vt::MainFrame frame;
    vt::TempDir dir;
    vt::FakeIce ice;
    C_IDEIceUIMgr* ui = nullptr;
};

TEST_F(DebugViews, SevenBarsAtTheirPlacesAndListBarsWithoutPagesStayHidden)
{
    struct {
        UINT id;
        const char* title;
        UINT dock;
    } bars[] = { { 0xE710, "Register Window", AFX_IDW_DOCKBAR_LEFT },
                 { 0xE711, "Watch Window", AFX_IDW_DOCKBAR_LEFT },
                 { 0xE712, "Memory Window", AFX_IDW_DOCKBAR_BOTTOM },
                 { 0xE713, "Option Window", AFX_IDW_DOCKBAR_BOTTOM },
                 { 0xE714, "Stack Window", AFX_IDW_DOCKBAR_BOTTOM },
                 { 0xE716, "Call Stack Window", AFX_IDW_DOCKBAR_BOTTOM },
                 { 0xE715, "History Window", AFX_IDW_DOCKBAR_BOTTOM } };
    for (auto& b : bars) {
        auto* bar = dynamic_cast<TWKControlBar*>(frame.p->GetControlBar(b.id));
        ASSERT_TRUE(bar) << b.title;
        CString title;
        bar->GetWindowText(title);
        EXPECT_EQ(CString(b.title), title);
        EXPECT_EQ(0xF31u, bar->GetExBarStyle()) << b.title;
        EXPECT_FALSE(bar->IsVisible()) << b.title << ": hidden outside debugging";
        ASSERT_TRUE(bar->m_pDockBar) << b.title;
        EXPECT_EQ(b.dock, (UINT)bar->m_pDockBar->GetDlgCtrlID()) << b.title;
    }
    EXPECT_EQ(0xE900, ui->GetListTab(0)->GetDlgCtrlID());
    EXPECT_FALSE(ui->BarHasPages(ui->GetListBar(0)));
    EXPECT_FALSE(ui->BarHasPages(ui->GetHistoryBar()));

    // The default debug layout: the workspace and output make room; no list bar has pages.
    ui->IgnoreSavedBarState();
    ui->ShowDebugWindows();
    EXPECT_FALSE(frame.Visible(IDW_PROJECT_BAR));
    EXPECT_FALSE(frame.Visible(IDW_OUTPUT_BAR));
    for (int i = 0; i < 5; i++)
        EXPECT_FALSE(ui->GetListBar(i)->IsVisible()) << i;

    // A saved layout that showed every bar: list bars without pages still stay hidden.
    for (int i = 0; i < 5; i++)
        Show(ui->GetListBar(i));
    Show(ui->GetHistoryBar());
    Show(ui->GetCallStackBar());
    ui->HideDebugWindows();
    EXPECT_LT(0, vt::ProfileInt("BarState\\DebugBarState-Summary", "Bars", 0)) << "the debug layout is saved";
    for (int i = 0; i < 5; i++)
        EXPECT_FALSE(ui->GetListBar(i)->IsVisible()) << i;

    // History and call stack follow the ICE and the enforce bits.
    struct {
        BOOL history, callStack, allowed;
        DWORD enforce;
        bool historyShown, callStackShown;
    } cases[] = {
        { TRUE, TRUE, TRUE, 0, true, true },
        { FALSE, TRUE, TRUE, 0, false, true },
        { TRUE, FALSE, TRUE, 0, true, false },
        { TRUE, TRUE, FALSE, 0, true, false },
        { TRUE, TRUE, TRUE, 0x20000, false, true },
        { TRUE, TRUE, TRUE, 0x10000, true, false },
    };
    for (auto& c : cases) {
        ice.historyAvailable = c.history;
        ice.callStack = c.callStack;
        ice.callStackAllowed = c.allowed;
        frame.p->m_dwEnforceDisable = c.enforce;
        ui->ShowDebugWindows();
        EXPECT_EQ(c.historyShown, !!ui->GetHistoryBar()->IsVisible()) << c.history << c.enforce;
        EXPECT_EQ(c.callStackShown, !!ui->GetCallStackBar()->IsVisible()) << c.callStack << c.allowed << c.enforce;
        for (int i = 0; i < 5; i++)
            EXPECT_FALSE(ui->GetListBar(i)->IsVisible()) << i;
    }
    frame.p->m_dwEnforceDisable = 0;
}

TEST_F(DebugViews, UpdateWhileTheTargetRunsChangesNothing)
{
    ice.stack.lines = { "main 00:0010" };
    ice.busy = TRUE;
    ui->UpdateDebugWindows(TRUE, TRUE);
    EXPECT_EQ("", ice.calls);
    EXPECT_TRUE(ice.watch.contexts.empty());
    ice.busy = FALSE;
    ui->UpdateDebugWindows(TRUE, FALSE);
    EXPECT_NE(std::string::npos, ice.calls.find("pc "));
    ASSERT_EQ(1u, ice.watch.contexts.size()) << "frame 0 becomes the watch context";
    EXPECT_EQ(100u, ice.watch.contexts[0][2]);
}

TEST_F(DebugViews, CallStackShownAtAStopAsksForItsLines)
{
    ice.stack.lines = { "PLAY   00:0040", "main   00:0016" };
    CControlBar* bar = ui->GetCallStackBar();
    TWKEdit* edit = ui->GetCallStackBar()->GetWnd()->GetEdit();
    // Shown while the target runs: nothing asked, nothing shown.
    ice.busy = TRUE;
    Show(bar);
    EXPECT_EQ(1, edit->GetLineCount());
    EXPECT_EQ(0, edit->GetLine(1)->nLength);
    frame.p->ShowControlBar(bar, FALSE, FALSE);
    // Shown at a stop: the stop's lines.
    ice.busy = FALSE;
    Show(bar);
    ASSERT_EQ(3, edit->GetLineCount());
    EXPECT_STREQ("main   00:0016\r\n", edit->GetLine(2)->pText);
}

TEST_F(DebugViews, CallStackLinesAndFrameSelection)
{
    ice.stack.lines = { "PLAY   00:0040", "main   00:0016", "start  00:0010" };
    Show(ui->GetCallStackBar());
    C_IDEIceCallStackWnd* wnd = ui->GetCallStackBar()->GetWnd();
    ui->GetCallStackBar()->Refresh();
    TWKEdit* edit = wnd->GetEdit();
    ASSERT_EQ(4, edit->GetLineCount()) << "the text ends with CR LF: an empty last line";
    EXPECT_STREQ("main   00:0016\r\n", edit->GetLine(2)->pText);
    EXPECT_EQ(0, edit->GetLine(4)->nLength);

    // Frame 3 of a deeper stack: slot 5 with index 2, slot 3 with index 3, the arrow on line 4.
    ice.stack.lines.push_back("outer  00:0008");
    ui->GetCallStackBar()->Refresh();
    ice.stack.asked.clear();
    ui->SelectCallStackFrame(3);
    EXPECT_EQ("frame2 ctx3 ", ice.stack.asked.substr(0, 12));
    EXPECT_EQ(4, wnd->GetIndicatorLine());

    // Double-clicking line 3 selects frame 2.
    int h = wnd->m_nLineHeight;
    ice.stack.asked.clear();
    vt::DoubleClick(wnd, wnd->m_nTextLeft + 4, 2 * h + h / 2);
    EXPECT_EQ("frame1 ctx2 ", ice.stack.asked.substr(0, 12));
    EXPECT_EQ(3, wnd->GetIndicatorLine());

    // The empty last line asks for one frame past the end; the refusal changes nothing else.
    size_t contexts = ice.watch.contexts.size();
    ice.stack.asked.clear();
    vt::DoubleClick(wnd, wnd->m_nTextLeft + 4, 4 * h + h / 2);
    EXPECT_EQ("frame3 ", ice.stack.asked);
    EXPECT_EQ(contexts, ice.watch.contexts.size());
}

TEST_F(DebugViews, HistoryMenuFollowsTheStatusAndTheTarget)
{
    C_IDEIceHistoryEdit* edit = ui->GetHistoryBar()->GetEdit();
    struct {
        BOOL status200, busy;
        int items;
        UINT reloadState, clearState;
    } cases[] = {
        { FALSE, FALSE, 2, MF_ENABLED, 0 },
        { TRUE, FALSE, 4, MF_ENABLED, MF_ENABLED },
        { TRUE, TRUE, 4, MF_GRAYED, MF_GRAYED },
    };
    for (auto& c : cases) {
        ice.history200 = c.status200;
        ice.busy = c.busy;
        CMenu menu;
        ASSERT_TRUE(edit->BuildContextMenu(menu));
        EXPECT_EQ(c.items, menu.GetMenuItemCount());
        EXPECT_EQ(c.reloadState, menu.GetMenuState(ID_DEBUG_RELOAD_HISTORY, MF_BYCOMMAND) & MF_GRAYED);
        if (c.items == 4)
            EXPECT_EQ(c.clearState, menu.GetMenuState(ID_DEBUG_CLEAR_HISTORY, MF_BYCOMMAND) & MF_GRAYED);
        else
            EXPECT_EQ((UINT)-1, menu.GetMenuState(ID_DEBUG_CLEAR_HISTORY, MF_BYCOMMAND));
        menu.DestroyMenu();
    }
    ice.busy = FALSE;
    // Auto Reload: the check follows the command.
    for (bool checked : { false, true }) {
        ui->GetHistoryBar()->SendMessage(WM_COMMAND, ID_DEBUG_AUTO_RELOAD);
        CMenu menu;
        edit->BuildContextMenu(menu);
        EXPECT_EQ(checked ? 0u + MF_CHECKED : 0u, menu.GetMenuState(ID_DEBUG_AUTO_RELOAD, MF_BYCOMMAND) & MF_CHECKED);
        EXPECT_EQ(checked, !!ui->GetHistoryBar()->IsAutoReload());
        menu.DestroyMenu();
    }
    // Reload and clear go through the ICE while the bar is shown.
    Show(ui->GetHistoryBar());
    ice.history = "00:0010 LDI A,5\r\n00:0012 LDI B,1\r\n";
    ui->GetHistoryBar()->SendMessage(WM_COMMAND, ID_DEBUG_RELOAD_HISTORY);
    EXPECT_EQ(2, edit->GetLineCount() - 1);
    ice.history.clear();
    ui->GetHistoryBar()->SendMessage(WM_COMMAND, ID_DEBUG_CLEAR_HISTORY);
    EXPECT_NE(std::string::npos, ice.calls.find("clear "));
    EXPECT_EQ(0, edit->GetWindowTextLength());
}

TEST_F(DebugViews, ListingOpensColouredAndInstructionStepping)
{
    ice.disasm.ranges = { { 2, 3, ICE_RANGE_EXECUTED }, { 5, 5, ICE_RANGE_DATA }, { 6, 6, 1 }, { 39, 45, 0 } };
    C_IDEDisAsmView* view = OpenListing(40);
    ASSERT_TRUE(view);
    EXPECT_NE(std::string::npos, ice.calls.find("instruction-step "));
    C_IDEDisAsmDoc* doc = view->GetListingDoc();
    struct {
        int line;
        bool set;
        COLORREF back, text;
    } lines[] = { { 1, false }, { 2, true, 0xC8FFC8, 0x008000 }, { 3, true, 0xC8FFC8, 0x008000 },
                  { 5, true, 0xFFE1E1, 0x808080 }, { 6, false }, { 40, true, 0xC8FFC8, 0x008000 } };
    for (auto& l : lines) {
        EXPECT_EQ(l.set, !!doc->m_Edit.HasLineBackColor(l.line)) << l.line;
        if (l.set) {
            EXPECT_EQ(l.back, doc->m_Edit.GetLineBackColor(l.line)) << l.line;
            EXPECT_EQ(l.text, doc->m_Edit.GetLineTextColor(l.line)) << l.line;
        }
    }

    // Painted: the line's background right of its text, and the PC arrow without debugging.
    view->SetPCLine(2);
    C_IDEEditCtrl& listing = view->GetListing();
    listing.GoToLine(1);
    CRect rc;
    listing.GetClientRect(&rc);
    HDC hdc = ::CreateCompatibleDC(nullptr);
    HBITMAP hbm = ::CreateBitmap(rc.Width(), rc.Height(), 1, 32, nullptr);
    HGDIOBJ old = ::SelectObject(hdc, hbm);
    CDC dc;
    dc.Attach(hdc);
    listing.PaintLines(&dc, rc);
    dc.Detach();
    int h = listing.GetLineHeight(), g = listing.GetGutterWidth();
    EXPECT_EQ(RGB(200, 200, 255), ::GetPixel(hdc, g - 5, h + h / 2)) << "the arrow on line 2";
    EXPECT_NE(RGB(200, 200, 255), ::GetPixel(hdc, g - 5, h / 2));
    EXPECT_EQ(0xC8FFC8u, ::GetPixel(hdc, rc.right - 2, h + h / 2)) << "line 2's background";
    EXPECT_EQ(0xFFE1E1u, ::GetPixel(hdc, rc.right - 2, 4 * h + h / 2)) << "line 5's background";
    ::SelectObject(hdc, old);
    ::DeleteObject(hbm);
    ::DeleteDC(hdc);

    // Closing the debugger's only listing while the emulator lacks breakpoints (no board here)
    // asks before leaving debugging and keeps the window.
    {
        vt::ModalAnswerer answerer(IDCANCEL);
        view->GetParentFrame()->SendMessage(WM_CLOSE);
        vt::PumpMessages();
        ASSERT_EQ(1u, answerer.Count());
        EXPECT_EQ("Warning: ", answerer.Last().caption);
        EXPECT_EQ(view, ui->GetDisAsmView());
    }
    // Closed by the debugger: stepping by source again.
    ice.calls.clear();
    ui->CloseDisAsm();
    vt::PumpMessages();
    EXPECT_EQ(nullptr, ui->GetDisAsmView());
    EXPECT_NE(std::string::npos, ice.calls.find("source-step "));
    EXPECT_EQ(nullptr, App()->FindDocTemplate("DisAsm")->GetFirstDocPosition());
}

TEST_F(DebugViews, PagingAtTheEndsAsksForAnotherPart)
{
    C_IDEDisAsmView* view = OpenListing(60);
    ASSERT_TRUE(view);
    C_IDEEditCtrl& listing = view->GetListing();
    auto press = [&](UINT id) {
        listing.SendMessage(WM_COMMAND, id);
        return ice.requests;
    };
    listing.GoToLine(1);
    EXPECT_EQ(std::vector<int>{ 4 }, press(ID_TWK_PAGEUP)) << "Page Up on the first page";
    EXPECT_EQ((std::vector<int>{ 4, 4 }), press(ID_TWK_PAGEUP)) << "once per key press";
    ice.requests.clear();
    EXPECT_TRUE(press(ID_TWK_PAGEDOWN).empty()) << "Page Down in the middle";
    listing.GoToLine(60);
    EXPECT_EQ(std::vector<int>{ 3 }, press(ID_TWK_PAGEDOWN)) << "Page Down on the last page";
    EXPECT_EQ(1, listing.GetCaretLine()) << "the caret on line 1 of the new part";
}

TEST_F(DebugViews, HeaderFollowsTheHorizontalScroll)
{
    C_IDEDisAsmView* view = OpenListing(10);
    ASSERT_TRUE(view);
    C_IDEHeaderCtrl& header = view->GetHeader();
    C_IDEEditCtrl& listing = view->GetListing();
    int w = listing.GetCharWidth();
    struct {
        int scrolled;
        bool address, code;
        int addressWidth, codeWidth;
    } cases[] = { { 0, true, true, 15, 9 }, { 14, true, true, 1, 9 }, { 15, false, true, 0, 9 },
                  { 20, false, true, 0, 4 }, { 24, false, false, 0, 0 } };
    for (auto& c : cases) {
        view->SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, c.scrolled));
        ASSERT_EQ(c.scrolled, listing.GetFirstColumn());
        EXPECT_EQ(listing.GetGutterWidth(), header.GetButton(0)->m_nWidth);
        EXPECT_EQ(c.address, !!header.GetButton(1)->m_bVisible) << c.scrolled;
        EXPECT_EQ(c.code, !!header.GetButton(2)->m_bVisible) << c.scrolled;
        if (c.address) {
            EXPECT_EQ(c.addressWidth * w, header.GetButton(1)->m_nWidth) << c.scrolled;
        }
        if (c.code) {
            EXPECT_EQ(c.codeWidth * w, header.GetButton(2)->m_nWidth) << c.scrolled;
        }
        EXPECT_TRUE(header.GetButton(3)->m_bVisible);
    }
}

TEST_F(DebugViews, ViewDisassemblyWithoutCodeWarnsAndOpensNothing)
{
    vt::ModalAnswerer answerer;
    ui->ShowDisAsmForLine("C:\\nowhere\\main.asm", 3);
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Warning: ", answerer.Last().caption);
    EXPECT_EQ("No disassembly code mapping on this line. Please select another line to perform this action.",
              answerer.Last().text);
    EXPECT_EQ(nullptr, ui->GetDisAsmView());
    EXPECT_EQ(nullptr, App()->FindDocTemplate("DisAsm")->GetFirstDocPosition());
}

TEST_F(DebugViews, ClosingTheArrowsDocumentThenSteppingIsSafe)
{
    ice.source = dir.Write("main.asm", "        NOP\r\n        HALT\r\n");
    ice.sourceLine = 2;
    ASSERT_TRUE(ui->ShowCurrentPC());
    ASSERT_TRUE(ui->GetArrowView());
    CDocument* doc = ui->GetArrowView()->GetDocument();
    doc->OnCloseDocument();
    vt::PumpMessages();
    EXPECT_EQ(nullptr, ui->GetArrowView()) << "the freed view is not read";
    EXPECT_TRUE(ui->ShowCurrentPC());
    EXPECT_TRUE(ui->GetArrowView());
}

TEST_F(DebugViews, HistoryDoubleClickMovesTheHistoryMarkerBetweenSources)
{
    std::string lines;
    for (int i = 1; i <= 40; i++)
        lines += "        NOP\r\n";
    const std::string a = dir.Write("a.asm", lines), b = dir.Write("b.asm", lines);
    Show(ui->GetHistoryBar());
    C_IDEIceHistoryEdit* history = ui->GetHistoryBar()->GetEdit();
    history->SetWindowText("00:0010 NOP\r\n");
    auto doubleClick = [&](const std::string& path, int line) {
        ice.source = path;
        ice.sourceLine = line;
        history->SetSel(0, 0);
        history->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
        vt::PumpMessages();
        return dynamic_cast<CAsmIDEDoc*>(frame.p->FindOpenDocument(path.c_str()));
    };
    CAsmIDEDoc* docA = doubleClick(a, 30);
    ASSERT_TRUE(docA);
    EXPECT_EQ(30, docA->m_nHistoryLine);
    POSITION pos = docA->GetFirstViewPosition();
    auto* viewA = dynamic_cast<C_IDEEditorView*>(docA->GetNextView(pos));
    ASSERT_TRUE(viewA);
    EXPECT_EQ(30, viewA->m_nCaretLine) << "scrolled to the line";

    // Another entry in the same source moves it; one in another source takes it away from here.
    EXPECT_EQ(docA, doubleClick(a, 12));
    EXPECT_EQ(12, docA->m_nHistoryLine);
    CAsmIDEDoc* docB = doubleClick(b, 7);
    ASSERT_TRUE(docB);
    EXPECT_EQ(7, docB->m_nHistoryLine);
    EXPECT_EQ(0, docA->m_nHistoryLine);

    // A new debugging session starts with none.
    CAsmIDEDoc::MoveHistoryMarker(nullptr, 0);
    EXPECT_EQ(0, docB->m_nHistoryLine);
    EXPECT_EQ(0, docA->m_nHistoryLine);
}

TEST_F(DebugViews, GoToRequestShowsTheListingAtTheAddress)
{
    C_IDEDisAsmView* view = OpenListing(30);
    ASSERT_TRUE(view);
    ice.listingLine = 17;
    EXPECT_EQ(TRUE, view->SendMessage(WM_DISASM_GOTO, 0, 0x20));
    EXPECT_EQ(17, view->GetListingDoc()->m_nPCLine);
    EXPECT_EQ(17, view->GetListing().GetCaretLine());
    // From the strip: Go with its two fields.
    ice.listingLine = 9;
    view->GetGotoBar().SetDlgItemText(IDC_GOTO_SPACE, "0");
    view->GetGotoBar().SetDlgItemText(IDC_GOTO_ADDRESS, "0x20");
    view->GetGotoBar().SendMessage(WM_COMMAND, MAKEWPARAM(IDC_GOTO_GO, BN_CLICKED));
    EXPECT_EQ(9, view->GetListingDoc()->m_nPCLine);
    EXPECT_EQ(0x20u, view->GetGotoBar().m_dwGotoAddress);
}

TEST_F(DebugViews, HistoryWithoutSourceSearchesTheActiveListing)
{
    C_IDEDisAsmView* view = OpenListing(20);
    ASSERT_TRUE(view);
    ASSERT_EQ(view, frame.p->GetActiveFrame()->GetActiveView());
    Show(ui->GetHistoryBar());
    C_IDEIceHistoryEdit* history = ui->GetHistoryBar()->GetEdit();
    // No source for any address: the go-to request, then the search for the line's address.
    ice.listingLine = 2;
    history->SetWindowText("00:0015 LDI A,5\r\n");
    history->SetSel(0, 0);
    history->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    vt::PumpMessages();
    EXPECT_EQ(2, view->GetListingDoc()->m_nPCLine) << "the go-to request";
    EXPECT_EQ(5, view->GetListing().GetCaretLine()) << "the listing line of 00:0015";
    // A line that does not start with an address does nothing.
    history->SetWindowText("no address here\r\n");
    view->GetListing().GoToLine(1);
    history->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    vt::PumpMessages();
    EXPECT_EQ(1, view->GetListing().GetCaretLine());
}

TEST_F(DebugViews, ListingMenuAndCaretPosition)
{
    C_IDEDisAsmView* view = OpenListing(12);
    ASSERT_TRUE(view);
    C_IDEEditCtrl& listing = view->GetListing();
    listing.GoToLineColumn(3, 5);
    listing.OnCaretMoved();
    EXPECT_EQ(CString("Ln 3, Col 5"), frame.p->GetStatusBar()->GetPaneText(3));

    // The "DisAsm" menu's Edit popup with the breakpoint and source items on top.
    CMenu bar;
    CMenu* popup = listing.BuildListingMenu(bar);
    ASSERT_TRUE(popup);
    std::vector<std::string> items;
    for (int i = 0; i < popup->GetMenuItemCount(); i++) {
        CString text;
        popup->GetMenuString(i, text, MF_BYPOSITION);
        items.push_back(text.IsEmpty() ? "-" : (LPCSTR)text);
    }
    std::vector<std::string> want = { "Toggle Breakpoint\tF9", "Enable Breakpoint", "-", "Modify Source", "-",
                                      "&Copy\tCtrl+C", "&Paste\tCtrl+V", "-", "Select &All\tCtrl+A", "-",
                                      "&Find...\tCtrl+F", "F&ind in Files..." };
    EXPECT_EQ(want, items);
    EXPECT_EQ(ID_DEBUG_ENABLE_BREAKPOINT, (int)popup->GetMenuItemID(1));
    bar.DestroyMenu();
}

TEST_F(DebugViews, StopReloadsTheShownHistoryWhenAutoReloadIsOn)
{
    Show(ui->GetHistoryBar());
    C_IDEIceHistoryEdit* edit = ui->GetHistoryBar()->GetEdit();
    ice.history = "00:0010 LDI A,5\r\n";
    ui->UpdateDebugWindows(TRUE, TRUE);
    EXPECT_EQ((int)ice.history.size(), edit->GetWindowTextLength());
    ui->GetHistoryBar()->SendMessage(WM_COMMAND, ID_DEBUG_AUTO_RELOAD);   // off
    ice.history = "00:0012 LDI B,1\r\n00:0014 SUB A,B\r\n";
    ui->UpdateDebugWindows(TRUE, TRUE);
    EXPECT_NE((int)ice.history.size(), edit->GetWindowTextLength()) << "kept without auto reload";
}

TEST_F(DebugViews, AnAddressWithoutSourceAndWithoutItsListingFileSaysSo)
{
    ice.listing = dir.File("gone.dis");
    vt::ModalAnswerer answerer;
    EXPECT_FALSE(ui->ShowCurrentPC());
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Error: ", answerer.Last().caption);
    EXPECT_EQ("Disassembled assembly file " + ice.listing + " does not exist !!", answerer.Last().text);
    EXPECT_EQ(nullptr, ui->GetDisAsmView());
}

TEST_F(DebugViews, AListingClosedBehindTheManagersBackIsNotTouched)
{
    C_IDEDisAsmView* view = OpenListing(10);
    ASSERT_TRUE(view);
    view->GetListingDoc()->OnCloseDocument();
    vt::PumpMessages();
    EXPECT_EQ(nullptr, ui->GetDisAsmView());
    EXPECT_EQ(-1, ui->FindPCListingLine(ICE_LISTING_SHOW, TRUE));
    ui->RefreshBreakpoints();
    ui->ColorListingRanges();
}

} // namespace
