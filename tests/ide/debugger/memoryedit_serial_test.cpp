// The hex-edit control's use of process-wide things: Copy puts the raw bytes ("BinaryData")
// and the text of the column the caret is in on the clipboard, in address order whichever way
// the selection ran; the context menu pops up with its extra commands.
#include "tests/ide/debugger/memoryedit_fixture.h"
#include "afx/ole.h"
#include "tests/harness/harness.h"
#include "ide/debugger/IDEMemoryEditWnd.h"
#include <string>
#include <thread>

using namespace vt;

namespace {

std::string ClipboardData(UINT format)
{
    std::string out;
    if (!::OpenClipboard(nullptr))
        return "<no clipboard>";
    if (HANDLE h = ::GetClipboardData(format)) {
        const char* p = static_cast<const char*>(::GlobalLock(h));
        out.assign(p, ::GlobalSize(h));
        ::GlobalUnlock(h);
    }
    ::CloseClipboard();
    return out;
}

TEST_F(MemoryEditFixture, CopyGivesTextOfTheCaretsColumnAndTheRawBytes)
{
    ASSERT_TRUE(AfxOleInit());
    data[0x10] = 0x41;
    data[0x11] = 0x42;
    OneBlock();
    const UINT binary = ::RegisterClipboardFormatA("BinaryData");
    struct { int start, end, part; const char* text; } rows[] = {
        {0x10, 0x12, MEMPART_DIGIT2, "41 42 "},
        {0x10, 0x12, MEMPART_TEXT, "AB"},
        {0x12, 0x10, MEMPART_DIGIT3, "41 42 "},   // made leftwards: the same text
        {0x12, 0x10, MEMPART_TEXT, "AB"},
    };
    for (auto& r : rows) {
        ::OpenClipboard(nullptr);
        ::EmptyClipboard();
        ::CloseClipboard();
        edit.m_nSelStart = r.start;
        edit.m_nSelEnd = r.end;
        edit.m_nCaretPart = r.part;
        edit.SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
        std::string text = ClipboardData(CF_TEXT);
        EXPECT_STREQ(r.text, text.c_str()) << r.start << "-" << r.end;
        EXPECT_EQ(std::string("AB"), ClipboardData(binary).substr(0, 2));
    }
    // Word and nibble texts.
    data[0] = 0x34;
    data[1] = 0x12;
    edit.ResetMemory();
    OneBlock(64, MEMUNIT_WORD);
    edit.m_nSelStart = 0;
    edit.m_nSelEnd = 2;
    edit.m_nCaretPart = MEMPART_DIGIT2;
    {
        KeysDown ctrl{VK_CONTROL};
        Char(3);   // Ctrl+C
    }
    EXPECT_STREQ("1234 ", ClipboardData(CF_TEXT).c_str());
    // Nothing selected: the clipboard keeps what it had.
    edit.m_nSelStart = edit.m_nSelEnd = -1;
    edit.SendMessage(WM_COMMAND, ID_EDIT_COPY, 0);
    EXPECT_STREQ("1234 ", ClipboardData(CF_TEXT).c_str());
}

int g_dumped = 0;
void Dump(C_IDEMemoryEdit*, LPARAM lArg)
{
    g_dumped = (int)lArg;
}

TEST_F(MemoryEditFixture, TheContextMenuOffersCopySelectAllAndTheExtraCommands)
{
    OneBlock();
    edit.AddCommand("Dump", 2441, Dump, 7);
    std::vector<vt::MenuItemSeen> items;
    bool chosen = false;
    std::thread user([&] {
        for (DWORD start = GetTickCount(); items.empty() && GetTickCount() - start < 20000; Sleep(20))
            items = vt::OpenPopupMenu(GetCurrentProcessId());
        chosen = vt::ChoosePopupMenuItem(GetCurrentProcessId(), "Dump");
    });
    edit.SendMessage(WM_CONTEXTMENU, (WPARAM)edit.m_hWnd, MAKELPARAM(-1, -1));   // from the keyboard
    user.join();
    ASSERT_EQ(3u, items.size());
    EXPECT_EQ("Copy", items[0].text);
    EXPECT_TRUE(items[0].grayed);   // nothing selected
    EXPECT_EQ("Select All", items[1].text);
    EXPECT_EQ("Dump", items[2].text);
    EXPECT_EQ(2441u, items[2].id);
    EXPECT_TRUE(chosen);
    vt::PumpMessages();
    EXPECT_EQ(7, g_dumped);
}

TEST_F(MemoryEditFixture, GoingToAnAddressTakesTheFocusAndShowsTheCaret)
{
    OneBlock();
    owner.SetForegroundWindow();
    owner.SetFocus();
    ASSERT_TRUE(edit.GotoAddress(0, 0x105));
    EXPECT_EQ(edit.m_hWnd, ::GetFocus());
    POINT pt = {};
    ::GetCaretPos(&pt);
    EXPECT_EQ(edit.m_ptCaret.x, pt.x);
    EXPECT_EQ(edit.m_ptCaret.y, pt.y);
    // The window around the control passes the focus on.
    C_IDEMemoryEditWnd wnd(&bridge);
    ASSERT_TRUE(wnd.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), &owner, 2));
    wnd.SetFocus();
    EXPECT_EQ(wnd.m_MemoryEdit.m_hWnd, ::GetFocus());
}

} // namespace
