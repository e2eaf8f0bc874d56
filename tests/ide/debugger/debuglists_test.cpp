// The debug list bars on the simulated board: registers, watches, memory,
// options and stack pages as trees and hex-edit windows, the bars' menus and
// formats, and the memory dump. The board's trace tells what reached it.
#include <gtest/gtest.h>
#include "components/ToyTarget/ToyTarget.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/debugger/IDEIceTreeCtrl.h"
#include "ide/debugger/IDEIceUIMgr.h"
#include "ide/debugger/IDEListTab.h"
#include "ide/debugger/IDEMemoryDumpDlg.h"
#include "ide/debugger/IDEMemoryEditWnd.h"
#include "ide/workbench/AsmIDE.h"
#include "resources/ideres.h"
#include "tests/ide/debugger/board_fixture.h"
#include "tests/ide/debugger/debugviews_fakes.h"
#include "tests/ide/workbench/mainframe_fixture.h"

namespace {

enum { BAR_REGISTER, BAR_WATCH, BAR_MEMORY, BAR_OPTION, BAR_STACK };

TEST(DebugTreeText, ValuesInEachFormat)
{
    struct Case {
        DWORD value;
        int bits;
        int format;
        const char* text;
    } cases[] = {
        { 5, 8, ICETREE_FORMAT_BIN, "00000101b" },   { 0xABC, 12, ICETREE_FORMAT_HEX, "0xABC" },
        { 0x1, 16, ICETREE_FORMAT_HEX, "0x0001" },   { 0, 0, ICETREE_FORMAT_HEX, "0x0" },
        { 200, 8, ICETREE_FORMAT_DEC, "200" },       { 0xFFFFFFFF, 32, ICETREE_FORMAT_DEC, "4294967295" },
        { 3, 4, 7, "" },
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.text, (LPCSTR)IceFormatValue(c.value, c.bits, c.format)) << c.value << " " << c.format;
    EXPECT_EQ(12, IceValueBits(ICE_KIND_NIBBLES, 3));
    EXPECT_EQ(32, IceValueBits(ICE_KIND_DWORD, 1));
    EXPECT_EQ(0, IceValueBits(9, 1));
}

TEST(DebugTreeText, DroppedTextLosesOuterTabsThenBlanks)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        { "\tCOUNT\t", "COUNT" },
        { "  COUNT  ", "COUNT" },
        { " \tCOUNT", "\tCOUNT" },   // a tab inside leading blanks stays
        { "\t \t", "" },
        { std::string(255, 'A'), std::string(255, 'A') },
        { std::string(256, 'A'), "" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.out, (LPCSTR)C_IDEIceWatchTreeCtrl::CleanDroppedText(c.in.c_str())) << c.in.size();
}

TEST(MemoryDumpText, LinesOfBytesAndWords)
{
    BYTE data[16];
    for (int i = 0; i < 16; i++)
        data[i] = (BYTE)(0x41 + i);
    data[0] = 0x12, data[1] = 0x34, data[2] = 0x7F, data[3] = 0x80;
    CString full = C_IDEMemoryDumpDlg::FormatLine(1, 0x100, data, 16, 16, 1, FALSE);
    EXPECT_STREQ("01:000100\t12 34 7F 80 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50\t\t.4\x7F.EFGHIJKLMNOP\n", (LPCSTR)full);
    CString shortLine = C_IDEMemoryDumpDlg::FormatLine(0, 0x110, data + 4, 4, 16, 1, FALSE);
    EXPECT_EQ(std::string("00:000110\t45 46 47 48") + std::string(36, ' ') + "\t\tEFGH" + std::string(12, ' ') + "\n",
              (LPCSTR)shortLine);
    CString words = C_IDEMemoryDumpDlg::FormatLine(0, 0x100, data, 16, 16, 1, TRUE);
    EXPECT_EQ(0, std::string((LPCSTR)words).find("00:000100\t1234 7F80 4546")) << (LPCSTR)words;
    CString shortWords = C_IDEMemoryDumpDlg::FormatLine(0, 0x100, data, 4, 16, 1, TRUE);
    EXPECT_NE(std::string::npos, std::string((LPCSTR)shortWords).find("1234 7F80" + std::string(30, ' ') + "\t\t"));
    EXPECT_EQ(MEMUNIT_NIBBLE, C_IDEMemoryEditAgent::UnitOfKind(ICE_KIND_NIBBLES));
    EXPECT_EQ(MEMUNIT_WORD, C_IDEMemoryEditAgent::UnitOfKind(ICE_KIND_WORDS));
    EXPECT_EQ(MEMUNIT_BYTE, C_IDEMemoryEditAgent::UnitOfKind(ICE_KIND_BYTES));
    EXPECT_EQ(MEMUNIT_BYTE, C_IDEMemoryEditAgent::UnitOfKind(ICE_KIND_BITS));
}

class DebugLists : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.p);
        ui = vt::UseAsMainWindow(frame.p);
        ice = frame.p->GetIceMgr();
        ASSERT_TRUE(ice && ui);
        CString strPart = "KV61A-S28", strObj = board.Obj().c_str(), strSecond;
        ASSERT_TRUE(ice->Init() && ice->SelectPart(strPart)
                    && ice->StartDebug(strPart, strObj, strSecond, 0xFFFF, 0, "USB"));
        for (int i = 0; i < 3; i++)
            vt::ShowBar(frame.p, ui->GetListBar(i));
    }
    void TearDown() override
    {
        if (ice && ice->IsDebugging())
            ice->CloseDebug();
        AfxGetApp()->CloseAllDocuments(TRUE);
        vt::PumpMessages();
        AfxGetApp()->m_pMainWnd = nullptr;
    }
    void WaitStop()
    {
        MSG msg;
        DWORD until = GetTickCount() + 20000;
        while (!PeekMessageA(&msg, frame.hWnd, ICE_WM_TARGET_STOPPED, ICE_WM_TARGET_STOPPED, PM_REMOVE)) {
            ASSERT_LT((int)(GetTickCount() - until), 0) << "the board did not stop";
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
        }
        ice->OnTargetStopped(0, 0);
        vt::PumpMessages();
    }
    C_IDEIceTreeCtrl* Tree(int bar) { return ui->GetListTab(bar)->GetPageTree(0); }
    int RowOf(C_IDEIceTreeCtrl* tree, const char* name)
    {
        for (int r = 0; r < tree->GetItemCount(); r++)
            if (tree->GetItemText(tree->RowItem(r)) == name)
                return r;
        return -1;
    }
    // A cell's text as the list paints it: asked of the tab.
    std::string Cell(C_IDEIceTreeCtrl* tree, int row, int column)
    {
        char sz[256] = "";
        tree->TWKListCtrl::GetItemText(row, column, sz, sizeof sz);
        return sz;
    }
    std::vector<std::pair<UINT, std::string>> MenuOf(int bar)
    {
        CMenu menu;
        menu.CreatePopupMenu();
        ui->GetListBar(bar)->AddContextMenuItems(&menu);
        std::vector<std::pair<UINT, std::string>> items;
        for (int i = 0; i < (int)menu.GetMenuItemCount(); i++) {
            char sz[64] = "";
            menu.GetMenuString(i, sz, sizeof sz, MF_BYPOSITION);
            items.push_back({ menu.GetMenuItemID(i), sz });
        }
        menu.DestroyMenu();
        return items;
    }

    vt::BoardAndSample board;
    vt::MainFrame frame;
    C_IDEIceMgr* ice = nullptr;
    C_IDEIceUIMgr* ui = nullptr;
};

TEST_F(DebugLists, PagesGoToTheirBarsAndShowValues)
{
    int pages[5] = { 1, 1, 3, 1, 1 };
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(pages[i], ui->GetListTab(i)->GetPageCount()) << i;
    C_IDEIceTreeCtrl* regs = Tree(BAR_REGISTER);
    ASSERT_TRUE(regs);
    EXPECT_EQ(80, regs->GetColumnWidth(1)) << "no saved widths: every shown column 80";
    int timer = RowOf(regs, "Timer"), b = RowOf(regs, "B"), a = RowOf(regs, "A");
    ASSERT_GE(timer, 0);
    ASSERT_GE(b, 0);
    EXPECT_EQ("----", Cell(regs, timer, 1));
    EXPECT_FALSE(regs->CanEditCell(timer, 1));
    EXPECT_TRUE(regs->CanEditCell(b, 1));
    EXPECT_FALSE(regs->CanEditCell(b, 0));
    EXPECT_EQ(regs->GetItemCountKept(), 7);
    (void)a;

    // Values typed in any notation give the same number; the same value again writes nothing.
    for (const char* text : { "12h", "0x12", "18" }) {
        EXPECT_TRUE(regs->SetCellText(b, 1, text)) << text;
        EXPECT_EQ("0x12", Cell(regs, b, 1)) << text;
    }
    EXPECT_EQ(1u, board.Count("register 1 = 0x12"));
    EXPECT_FALSE(regs->SetCellText(b, 1, "twelve"));

    // The bar's format commands act on the selected row of the active page.
    regs->SelectItem(regs->RowItem(b));
    ui->GetListBar(BAR_REGISTER)->SendMessage(WM_COMMAND, ID_DEBUG_DISPLAY_BINARY);
    EXPECT_EQ("00010010b", Cell(regs, b, 1));
    EXPECT_EQ(ICETREE_FORMAT_BIN, ui->GetListTab(BAR_REGISTER)->GetDisplayFormat());
    ui->GetListBar(BAR_REGISTER)->SendMessage(WM_COMMAND, ID_DEBUG_DISPLAY_DECIMAL);
    EXPECT_EQ("18", Cell(regs, b, 1));

    // The menus: formats with the current one checked, "Delete" only in the watch bar, nothing for memory.
    auto regMenu = MenuOf(BAR_REGISTER);
    ASSERT_EQ(4u, regMenu.size());
    EXPECT_EQ((UINT)ID_DEBUG_DISPLAY_DECIMAL, regMenu[0].first);
    EXPECT_EQ("Hexadecimal Display", regMenu[1].second);
    EXPECT_EQ((UINT)ID_DEBUG_DISPLAY_BINARY, regMenu[2].first);
    auto watchMenu = MenuOf(BAR_WATCH);
    ASSERT_EQ(6u, watchMenu.size());
    EXPECT_EQ("Delete", watchMenu[0].second);
    EXPECT_TRUE(MenuOf(BAR_MEMORY).empty());

    // Column widths are kept per page name across a rebuild.
    regs->SetColumnWidth(1, 123);
    ui->SetDebugTarget(regs->m_pTarget, TRUE);
    EXPECT_EQ(123, Tree(BAR_REGISTER)->GetColumnWidth(1));
    EXPECT_EQ(80, Tree(BAR_STACK)->GetColumnWidth(1));
}

// A page the ICE says is not to be shown.
struct HiddenPage final : I_IceDebugPage {
    int GetItemCount() override { return 0; }
    void* GetFirstPosition() override { return nullptr; }
    void* GetPositionOf(int) override { return nullptr; }
    I_IceDebugItem* GetNext(void**) override { return nullptr; }
    I_IceDebugItem* GetAt(void**) override { return nullptr; }
    int GetType() override { return ICE_PAGE_REGISTERS; }
    int GetName(char* buffer) override { return lstrcpyA(buffer, "Hidden") ? 0 : -1; }
    void* GetBuffer() override { return nullptr; }
    void Reserved8() override {}
    int IsShown() override { return 0; }
};

TEST_F(DebugLists, NameColoursAndHiddenPages)
{
    C_IDEIceTreeCtrl* regs = Tree(BAR_REGISTER);
    CClientDC dc(regs);
    auto colours = [&](int row, int column) {
        TWKListPaintContext ctx(&dc);
        ctx.m_item.iItem = row;
        ctx.m_nColumn = column;
        regs->PickItemColors(&ctx);
        return ctx.m_crText;
    };
    EXPECT_EQ(RGB(0, 0, 255), colours(RowOf(regs, "B"), 0)) << "editable: blue";
    EXPECT_EQ(RGB(255, 0, 0), colours(RowOf(regs, "Timer"), 0)) << "no value: red";
    EXPECT_EQ(RGB(0, 0, 0), colours(RowOf(regs, "B"), 1));
    ASSERT_TRUE(ice->Run());
    EXPECT_EQ(RGB(0x7F, 0x7F, 0x7F), colours(RowOf(regs, "B"), 1)) << "busy: grey";
    WaitStop();

    HiddenPage hidden;
    C_IDEListTab* tab = ui->GetListTab(BAR_REGISTER);
    EXPECT_FALSE(tab->AddPage(regs->m_pTarget, &hidden, 9, 0xE930));
    EXPECT_EQ(1, tab->GetPageCount());
}

TEST_F(DebugLists, EditsRefusedWhileRunningAndWithoutText)
{
    C_IDEIceTreeCtrl* regs = Tree(BAR_REGISTER);
    int b = RowOf(regs, "B");
    NMLVDISPINFOA info;
    memset(&info, 0, sizeof info);
    info.hdr.hwndFrom = regs->GetSafeHwnd();
    info.hdr.idFrom = regs->GetDlgCtrlID();
    info.hdr.code = LVN_BEGINLABELEDITA;
    info.item.iItem = b;
    info.item.iSubItem = 1;
    CWnd* tab = ui->GetListTab(BAR_REGISTER);
    EXPECT_EQ(0, tab->SendMessage(WM_NOTIFY, info.hdr.idFrom, (LPARAM)&info)) << "stopped: the value may be edited";
    info.item.iSubItem = 0;
    EXPECT_EQ(1, tab->SendMessage(WM_NOTIFY, info.hdr.idFrom, (LPARAM)&info)) << "names are not edited";
    info.hdr.code = LVN_ENDLABELEDITA;
    info.item.iSubItem = 1;
    info.item.pszText = nullptr;
    size_t before = board.Count("register 1 =");
    EXPECT_EQ(0, tab->SendMessage(WM_NOTIFY, info.hdr.idFrom, (LPARAM)&info));
    EXPECT_EQ(before, board.Count("register 1 ="));

    ASSERT_TRUE(ice->Run());
    info.hdr.code = LVN_BEGINLABELEDITA;
    EXPECT_EQ(1, tab->SendMessage(WM_NOTIFY, info.hdr.idFrom, (LPARAM)&info)) << "running: refused";
    EXPECT_EQ(nullptr, regs->EditLabel(b, 1));
    WaitStop();
}

TEST_F(DebugLists, WatchExpressionsMembersValuesAndDeletion)
{
    auto* watch = dynamic_cast<C_IDEIceWatchTreeCtrl*>(Tree(BAR_WATCH));
    ASSERT_TRUE(watch);
    ASSERT_TRUE(watch->m_hEntryRow);
    EXPECT_EQ(watch, (CWnd*)watch->m_DropTarget.m_pTree);
    int entry = watch->ItemRow(watch->m_hEntryRow);
    EXPECT_EQ(0, entry);
    EXPECT_TRUE(watch->CanEditCell(entry, 0));
    EXPECT_FALSE(watch->CanEditCell(entry, 1));
    EXPECT_FALSE(watch->SetCellText(entry, 0, "   "));

    ASSERT_TRUE(watch->SetCellText(entry, 0, "COUNT"));
    EXPECT_EQ(1, watch->m_nEntryIndex);
    EXPECT_EQ(1, watch->ItemRow(watch->m_hEntryRow)) << "a new entry row follows";
    HTREEITEM count = watch->RowItem(0);
    EXPECT_STREQ("COUNT", (LPCSTR)watch->GetItemText(count));
    HTREEITEM low = watch->GetChildItem(count);
    ASSERT_TRUE(low);
    EXPECT_STREQ("low", (LPCSTR)watch->GetItemText(low));
    EXPECT_STREQ("high", (LPCSTR)watch->GetItemText(watch->GetNextSiblingItem(low)));
    std::string value = Cell(watch, 0, 1);
    EXPECT_FALSE(value.empty());
    EXPECT_EQ(std::string::npos, value.find("0X")) << value;
    for (char c : value.substr(value.find("0x") == 0 ? 2 : 0))
        EXPECT_FALSE(islower((unsigned char)c)) << value;

    // A member's value is written through the watch interface.
    watch->Expand(count, TVE_EXPAND);
    int lowRow = watch->ItemRow(low);
    ASSERT_TRUE(watch->CanEditCell(lowRow, 1));
    EXPECT_TRUE(watch->SetCellText(lowRow, 1, " 5 "));
    EXPECT_EQ(1u, board.Count("watch 9 SetText"));
    EXPECT_TRUE(ui->GetListTab(BAR_WATCH));
    static_cast<C_IDEWatchListTab*>(ui->GetListTab(BAR_WATCH))->RefreshWatch();
    EXPECT_TRUE(watch->GetChildItem(watch->RowItem(0))) << "members again after a refresh";

    // The entry row is neither deleted nor dragged; a watch's deletion releases its handle.
    watch->SelectItem(watch->m_hEntryRow);
    EXPECT_FALSE(watch->DeleteSelected());
    EXPECT_FALSE(ui->GetListTab(BAR_WATCH)->CanDragItem(watch->GetDlgCtrlID(), watch->m_hEntryRow));
    EXPECT_TRUE(ui->GetListTab(BAR_WATCH)->CanDragItem(watch->GetDlgCtrlID(), watch->RowItem(0)));
    EXPECT_FALSE(ui->GetListTab(BAR_OPTION)->CanDragItem(0, watch->RowItem(0)));
    watch->SelectItem(watch->RowItem(lowRow));
    watch->SendMessage(WM_KEYDOWN, VK_DELETE, 0x530001);
    EXPECT_EQ(1u, board.Count("watch 18 Release"));
    EXPECT_EQ(0, watch->ItemRow(watch->m_hEntryRow));
    EXPECT_EQ(0, watch->m_nEntryIndex);
}

TEST_F(DebugLists, RowsDraggedBetweenPagesAndWithinOne)
{
    auto* watch = dynamic_cast<C_IDEIceWatchTreeCtrl*>(Tree(BAR_WATCH));
    C_IDEIceTreeCtrl* regs = Tree(BAR_REGISTER);
    HTREEITEM b = regs->RowItem(RowOf(regs, "B"));
    // Dropped on the entry row: a copy appended at the end.
    ASSERT_TRUE(watch->DropItem(regs, b, watch->m_hEntryRow));
    EXPECT_EQ(1u, board.Count("target 7 CopyItem 0 1 1 -1"));
    EXPECT_STREQ("B", (LPCSTR)watch->GetItemText(watch->RowItem(0)));
    // Dropped on a watch row: inserted before it.
    HTREEITEM c = regs->RowItem(RowOf(regs, "C"));
    ASSERT_TRUE(watch->DropItem(regs, c, watch->RowItem(0)));
    EXPECT_EQ(1u, board.Count("target 7 CopyItem 0 2 1 0"));
    EXPECT_STREQ("C", (LPCSTR)watch->GetItemText(watch->RowItem(0)));
    EXPECT_EQ(2, watch->m_nEntryIndex);
    // Moved within one tree: target slot 6; onto itself: nothing.
    EXPECT_FALSE(watch->MoveItem(watch->RowItem(0), watch->RowItem(0)));
    ASSERT_TRUE(watch->MoveItem(watch->RowItem(0), watch->m_hEntryRow));
    EXPECT_EQ(1u, board.Count("target 6 MoveItem 1 0 -1"));
    EXPECT_STREQ("B", (LPCSTR)watch->GetItemText(watch->RowItem(0)));
    EXPECT_STREQ("C", (LPCSTR)watch->GetItemText(watch->RowItem(1)));
    // A child row drags its top-level item.
    EXPECT_EQ(watch->RowItem(0), watch->TopLevelOf(watch->RowItem(0)));
    // Text dropped from an editor on the entry row becomes a watch.
    CRect rc;
    watch->GetItemRect(watch->m_hEntryRow, &rc, LVIR_LABEL);
    CString text = "\t COUNT \t";
    POINT pt = { rc.left + 2, rc.top + 2 };
    watch->SendMessage(WM_ICE_WATCH_TEXT_DROPPED, (WPARAM)&text, (LPARAM)&pt);
    EXPECT_STREQ("COUNT", (LPCSTR)watch->GetItemText(watch->RowItem(2)));
    EXPECT_EQ(3, watch->m_nEntryIndex);
}

TEST_F(DebugLists, MemoryPagesWriteReadAndFollowTheShowFlag)
{
    auto* memory = static_cast<C_IDEMemoryListTab*>(ui->GetListTab(BAR_MEMORY));
    ASSERT_EQ(3, memory->GetAgentCount());
    C_IDEMemoryEditAgent* ram = memory->GetAgent(2);
    EXPECT_FALSE(ram->HasChanged());
    EXPECT_EQ(1, (int)ram->GetWindow()->m_MemoryEdit.m_Commands.size()) << "the Dump command";
    EXPECT_EQ((UINT)ID_MEMORY_DUMP, ram->GetWindow()->m_MemoryEdit.m_Commands[0].nID);

    EXPECT_TRUE(ram->WriteMemory(toy::SPACE_RAM, 0x10, 0, 0x10, 0x5A));
    EXPECT_EQ(1u, board.Count("47 WriteMemory 4 0 16 90"));
    ram->ReadMemory(toy::SPACE_RAM, 0);
    EXPECT_LE(1u, board.Count("48 ReadMemory"));
    EXPECT_EQ(0x5A, static_cast<BYTE*>(ram->GetPage()->GetBuffer())[0x10]);

    // Inside the subroutine the bytes page goes: the activation moves to its left neighbour.
    memory->ActivateTab(2);
    ASSERT_EQ(0, ice->GetBreakpointList()->Add(board.File("main.asm").c_str(), 14));
    ASSERT_TRUE(ice->Run());
    WaitStop();
    ASSERT_TRUE(ice->StepInto());
    WaitStop();
    ui->UpdateDebugWindows(TRUE, FALSE);
    EXPECT_EQ(2, memory->GetPageCount());
    int active = -1;
    ASSERT_TRUE(memory->GetActiveTabIndex(active));
    EXPECT_EQ(1, active);
    ASSERT_TRUE(ice->StepOut());
    WaitStop();
    ui->UpdateDebugWindows(TRUE, FALSE);
    ASSERT_EQ(3, memory->GetPageCount());
    int at = -1;
    EXPECT_TRUE(memory->FindTab(ram->GetWindow(), at));
    EXPECT_EQ(2, at) << "back at its list position";
}

// The dump dialog on the board's bytes page, made modeless so each step can be checked.
class DumpDialog : public DebugLists {
protected:
    void SetUp() override
    {
        DebugLists::SetUp();
        auto* memory = static_cast<C_IDEMemoryListTab*>(ui->GetListTab(BAR_MEMORY));
        ASSERT_TRUE(memory && memory->GetAgentCount() == 3);
        agent = memory->GetAgent(2);
        BYTE* bytes = static_cast<BYTE*>(agent->GetPage()->GetBuffer());
        for (int i = 0; i < 0x20; i++)
            ASSERT_TRUE(agent->WriteMemory(toy::SPACE_RAM, (DWORD)i, 0, i, 0x41 + i));
        (void)bytes;
        AfxGetApp()->WriteProfileString(C_IDEMemoryDumpDlg::kSection, nullptr, nullptr);
    }
    void TearDown() override
    {
        AfxGetApp()->WriteProfileString(C_IDEMemoryDumpDlg::kSection, nullptr, nullptr);
        DebugLists::TearDown();
    }
    std::unique_ptr<C_IDEMemoryDumpDlg> Open()
    {
        auto dlg = std::make_unique<C_IDEMemoryDumpDlg>(&agent->GetWindow()->m_MemoryEdit, agent->GetPage());
        EXPECT_TRUE(dlg->Create(IDD_MEMORY_DUMP, &agent->GetWindow()->m_MemoryEdit));
        return dlg;
    }
    void Set(C_IDEMemoryDumpDlg& dlg, const char* start, const char* end, const std::string& file)
    {
        dlg.SetDlgItemText(IDC_DUMP_START, start);
        dlg.SetDlgItemText(IDC_DUMP_END, end);
        dlg.SetDlgItemText(IDC_DUMP_FILE, file.c_str());
    }
    static void Click(C_IDEMemoryDumpDlg& dlg, int id, bool checked)
    {
        dlg.CheckDlgButton(id, checked ? BST_CHECKED : BST_UNCHECKED);
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)dlg.GetDlgItem(id)->GetSafeHwnd());
    }

    C_IDEMemoryEditAgent* agent = nullptr;
    vt::TempDir out;
};

TEST_F(DumpDialog, TextAndRawFilesAppendAndOverwrite)
{
    auto dlg = Open();
    EXPECT_STREQ("0", (LPCSTR)[&] { CString s; dlg->GetDlgItemText(IDC_DUMP_START, s); return s; }());
    std::string file = out.File("dump.txt");
    Set(*dlg, "0", "13", file);
    dlg->OnOK();
    std::string text = vt::ReadFileBytes(file);
    EXPECT_EQ(0u, text.find("Region:RAM Bytes, Bank:")) << text;
    EXPECT_NE(std::string::npos, text.find("================================\r\n"));
    EXPECT_NE(std::string::npos, text.find(":000000\t41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50\t\tABCDEFGHIJKLMNOP\r\n"));
    EXPECT_NE(std::string::npos, text.find(":000010\t51 52 53 54" + std::string(36, ' ') + "\t\tQRST"));
    EXPECT_NE(std::string::npos, text.find("Dump End" + std::string(72, '=') + "\r\n"));
    EXPECT_STREQ(file.c_str(), (LPCSTR)AfxGetApp()->GetProfileString(C_IDEMemoryDumpDlg::kSection, "FilePathName"));

    // Append keeps the first dump; overwrite leaves only the second.
    dlg = Open();
    EXPECT_STREQ(file.c_str(), (LPCSTR)[&] { CString s; dlg->GetDlgItemText(IDC_DUMP_FILE, s); return s; }());
    Click(*dlg, IDC_DUMP_APPEND, true);
    Click(*dlg, IDC_DUMP_OVERWRITE, false);
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DUMP_APPEND, BN_CLICKED), 0);
    dlg->OnOK();
    std::string twice = vt::ReadFileBytes(file);
    EXPECT_EQ(text.size() * 2, twice.size());
    EXPECT_EQ(DUMP_APPEND, (int)AfxGetApp()->GetProfileInt(C_IDEMemoryDumpDlg::kSection, "File Output", 0));

    // Raw: the bytes and nothing else.
    dlg = Open();
    Click(*dlg, IDC_DUMP_OVERWRITE, true);
    Click(*dlg, IDC_DUMP_APPEND, false);
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DUMP_OVERWRITE, BN_CLICKED), 0);
    Click(*dlg, IDC_DUMP_BINARY, true);
    Set(*dlg, "2", "5", file);
    dlg->OnOK();
    EXPECT_EQ("CDEF", vt::ReadFileBytes(file));
    EXPECT_EQ(DUMP_RAW, (int)AfxGetApp()->GetProfileInt(C_IDEMemoryDumpDlg::kSection, "Dump As Binary", 0));
}

TEST_F(DumpDialog, RefusedDumpsSayWhyAndLeaveTheFile)
{
    std::string file = out.Write("keep.txt", "precious");
    struct Case {
        const char* start;
        const char* end;
        const char* name;
        bool word;
        const char* message;
    } cases[] = {
        { "0", "4", "", false, "FileName can not be empty!" },
        { "FFFFF", "4", "keep", false, "StartAddress out of range!" },
        { "0", "FFFFF", "keep", false, "End Address out of range!" },
        { "8", "4", "keep", false, "Start Address is greater than End Address!" },
        { "0", "4", "keep", true, "Dumping Range must be even when selecting word format!" },
    };
    for (const Case& c : cases) {
        auto dlg = Open();
        vt::ModalAnswerer boxes;
        Set(*dlg, c.start, c.end, *c.name ? file : std::string());
        if (c.word) {
            Click(*dlg, IDC_DUMP_BYTE, false);
            Click(*dlg, IDC_DUMP_WORD, true);
        }
        EXPECT_FALSE(dlg->Dump()) << c.message;
        ASSERT_EQ(1u, boxes.Count()) << c.message;
        EXPECT_NE(std::string::npos, boxes.Last().text.find(c.message)) << boxes.Last().text;
        EXPECT_EQ("precious", vt::ReadFileBytes(file)) << c.message;
        dlg->DestroyWindow();
    }
    // A word dump of an even range: 0x41 and 0x42 give 4142.
    auto dlg = Open();
    Set(*dlg, "0", "F", file);
    Click(*dlg, IDC_DUMP_BYTE, false);
    Click(*dlg, IDC_DUMP_WORD, true);
    dlg->OnOK();
    EXPECT_NE(std::string::npos, vt::ReadFileBytes(file).find(":000000\t4142 4344 4546"));
}

TEST_F(DumpDialog, SavedStartOutsideTheFirstItemIsReplaced)
{
    AfxGetApp()->WriteProfileString(C_IDEMemoryDumpDlg::kSection, "Start Address", "FFFF");
    AfxGetApp()->WriteProfileString(C_IDEMemoryDumpDlg::kSection, "End Address", "1F");
    AfxGetApp()->WriteProfileInt(C_IDEMemoryDumpDlg::kSection, "Dump All Banks", 1);
    auto dlg = Open();
    CString start, end;
    dlg->GetDlgItemText(IDC_DUMP_START, start);
    dlg->GetDlgItemText(IDC_DUMP_END, end);
    EXPECT_STREQ("0", (LPCSTR)start);
    EXPECT_STREQ("1F", (LPCSTR)end);
    EXPECT_TRUE(dlg->IsDlgButtonChecked(IDC_DUMP_ALL_BANKS));
    EXPECT_FALSE(dlg->GetDlgItem(IDC_DUMP_START)->IsWindowEnabled());
    EXPECT_EQ(DUMP_OVERWRITE, dlg->m_nFileOutput);
    EXPECT_EQ(DUMP_BYTE, dlg->m_nFormat);
}

} // namespace
