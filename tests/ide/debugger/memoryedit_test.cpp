// The memory map and the hex-edit control: positions and addresses, block writes through the
// bridge, layout, keys, characters, the mouse, scrolling, Select All, command routing and
// going to an address.
#include "tests/ide/debugger/memoryedit_fixture.h"
#include <string>

using namespace vt;

namespace {

struct MapFixture : ::testing::Test {
    RecordingBridge bridge;
    C_IDEMemoryEdit edit{&bridge};
    BYTE a[16] = {}, b[8] = {}, c[8] = {};
    void SetUp() override
    {
        edit.AddBlock(0, 0x100, 16, a, MEMUNIT_BYTE, 0);
        edit.AddBlock(1, 0x200, 8, b, MEMUNIT_NIBBLE, 1);
        edit.AddBlock(2, 0x300, 8, c, MEMUNIT_WORD, 2);
    }
};

TEST_F(MapFixture, PositionsMapToAddressesByUnitAndBack)
{
    C_MemoryMap& map = edit.m_MemoryMap;
    EXPECT_EQ(32u, map.GetLength());
    EXPECT_EQ(32u, edit.m_nLength);
    struct { DWORD pos, space, address; } rows[] = {
        {0, 0, 0x100}, {15, 0, 0x10F},      // bytes
        {16, 1, 0x200}, {19, 1, 0x206},     // nibbles: two addresses a byte
        {24, 2, 0x300}, {27, 2, 0x301}, {31, 2, 0x303},   // words: two bytes an address
    };
    for (auto& r : rows) {
        DWORD space = 99, address = 99;
        ASSERT_TRUE(map.PositionToAddress(r.pos, space, address)) << r.pos;
        EXPECT_EQ(r.space, space) << r.pos;
        EXPECT_EQ(r.address, address) << r.pos;
    }
    DWORD space = 0, address = 0;
    EXPECT_FALSE(map.PositionToAddress(32, space, address));
    EXPECT_EQ(nullptr, map.FindBlock(32));
    ASSERT_NE(nullptr, map.FindBlock(16));
    EXPECT_EQ(24u, map.FindBlock(16)->GetEnd());
    EXPECT_EQ(16u, map.FindBlock(15)->GetEnd());

    struct { DWORD space, address; BOOL found; DWORD pos; } back[] = {
        {0, 0x105, TRUE, 5}, {1, 0x207, TRUE, 19}, {1, 0x206, TRUE, 19}, {2, 0x302, TRUE, 28},
        {1, 0x210, FALSE, 0}, {2, 0x304, FALSE, 0}, {3, 0x100, FALSE, 0}, {0, 0xFF, FALSE, 0},
    };
    for (auto& r : back) {
        DWORD pos = 12345;
        EXPECT_EQ(r.found, map.AddressToPosition(r.space, r.address, pos)) << r.space << ":" << r.address;
        if (r.found)
            EXPECT_EQ(r.pos, pos) << r.space << ":" << r.address;
    }
    // The last block decides the display mode.
    EXPECT_EQ(MEMMODE_WORD, edit.m_nDisplayMode);
    edit.ResetMemory();
    EXPECT_EQ(nullptr, edit.m_pMemoryMap);
    EXPECT_EQ(0u, edit.m_nLength);
    EXPECT_EQ(0u, map.GetLength());
}

TEST_F(MapFixture, BlockWritesSendOffsetsAndValuesByUnitAndChangeTheByteOnlyWhenAccepted)
{
    enum Op { High, Low, Byte };
    struct Sent { int offset, value; };
    struct Row { int block; Op op; int value; std::vector<Sent> sent; BYTE after; } rows[] = {
        {1, High, 0xA, {{5, 0xA}}, 0xA1},            // nibbles: the high digit at 2k+1, the digit alone
        {1, Low, 0x7, {{4, 0x27}}, 0x27},            // the low digit at 2k, the whole byte
        {1, Byte, 0x5C, {{4, 0x2C}, {5, 0x5}}, 0x5C},
        {0, High, 0xA, {{2, 0xA1}}, 0xA1},           // bytes: offset k, the whole byte
        {0, Low, 0x7, {{2, 0x27}}, 0x27},
        {0, Byte, 0x5C, {{2, 0x5C}}, 0x5C},
        {2, High, 0xA, {{2, 0xA1}}, 0xA1},           // words: likewise
        {2, Byte, 0x21, {}, 0x21},                   // unchanged: accepted without a call
    };
    BYTE* buffers[] = {a, b, c};
    DWORD starts[] = {0, 16, 24};
    for (auto& r : rows) {
        SCOPED_TRACE(testing::Message() << "block " << r.block << " op " << r.op);
        BYTE* buf = buffers[r.block];
        buf[2] = 0x21;
        bridge.writes.clear();
        bridge.accept = TRUE;
        I_MemoryBlock* block = edit.m_MemoryMap.FindBlock(starts[r.block]);
        DWORD pos = starts[r.block] + 2;
        BOOL ok = r.op == High ? block->WriteHighNibble(pos, r.value)
                : r.op == Low ? block->WriteLowNibble(pos, r.value) : block->WriteByte(pos, r.value);
        EXPECT_TRUE(ok);
        ASSERT_EQ(r.sent.size(), bridge.writes.size());
        for (size_t i = 0; i < r.sent.size(); ++i) {
            EXPECT_EQ(r.sent[i].offset, bridge.writes[i].offset);
            EXPECT_EQ(r.sent[i].value, bridge.writes[i].value);
            EXPECT_EQ(r.block, bridge.writes[i].item);
            EXPECT_EQ((DWORD)r.block, bridge.writes[i].space);
        }
        EXPECT_EQ(r.after, buf[2]);
        // Refused: the byte stays.
        buf[2] = 0x21;
        bridge.accept = FALSE;
        if (!r.sent.empty()) {
            EXPECT_FALSE(r.op == High ? block->WriteHighNibble(pos, r.value)
                         : r.op == Low ? block->WriteLowNibble(pos, r.value) : block->WriteByte(pos, r.value));
            EXPECT_EQ(0x21, buf[2]);
        }
    }
    // The address sent is that of the byte (nibble blocks: its low digit).
    bridge.accept = TRUE;
    bridge.writes.clear();
    edit.m_MemoryMap.FindBlock(16)->WriteByte(19, 0xFF);
    ASSERT_FALSE(bridge.writes.empty());
    EXPECT_EQ(0x206u, bridge.writes[0].address);
}

TEST_F(MemoryEditFixture, BytesPerLineFollowTheClientWidthInCells)
{
    struct { int unit, cells, bytes; } rows[] = {
        {MEMUNIT_BYTE, 200, 16}, {MEMUNIT_BYTE, 40, 4}, {MEMUNIT_BYTE, 60, 8}, {MEMUNIT_BYTE, 20, 2},
        {MEMUNIT_WORD, 200, 16}, {MEMUNIT_WORD, 40, 8}, {MEMUNIT_NIBBLE, 200, 8}, {MEMUNIT_NIBBLE, 40, 4},
    };
    for (auto& r : rows) {
        edit.ResetMemory();
        edit.AddBlock(0, 0x100, 256, data.data(), r.unit, 0);
        SizeCells(r.cells, 8);
        SizeCells(r.cells, 8);   // the scroll bar settled
        EXPECT_EQ(r.bytes, edit.m_nBytesPerLine) << r.unit << " " << r.cells;
        EXPECT_EQ(10 * edit.m_nCharWidth, edit.m_nDataX);
    }
}

TEST_F(MemoryEditFixture, LinesStartWithTheirAddressAndWordsShowMostSignificantFirst)
{
    struct { int unit; const char* second; } rows[] = {
        {MEMUNIT_BYTE, "0000:0110 "}, {MEMUNIT_WORD, "0000:0108 "}, {MEMUNIT_NIBBLE, "0000:0120 "},
    };
    for (auto& r : rows) {
        edit.ResetMemory();
        edit.AddBlock(0, 0x100, 64, data.data(), r.unit, 0);
        edit.m_nBytesPerLine = 16;
        EXPECT_STREQ("0000:0100 ", edit.AddressText(0));
        EXPECT_STREQ(r.second, edit.AddressText(16));
    }
    BYTE bytes[] = {0x34, 0x12, 0xAB};
    edit.m_nDisplayMode = MEMMODE_BYTE;
    EXPECT_STREQ("34 12 AB ", edit.DataText(bytes, 3, 0));
    edit.m_nDisplayMode = MEMMODE_NIBBLE;
    EXPECT_STREQ("4 3 2 1 ", edit.DataText(bytes, 2, 0));
    edit.m_nDisplayMode = MEMMODE_WORD;
    EXPECT_STREQ("1234 ", edit.DataText(bytes, 2, 0));
}

TEST_F(MemoryEditFixture, TypingOnTheFirstWordDigitWritesTheSecondBytesHighNibble)
{
    data[0] = 0x34;
    data[1] = 0x12;
    OneBlock(64, MEMUNIT_WORD);
    Caret(0, MEMPART_DIGIT2);
    Char('5');
    ASSERT_EQ(1u, bridge.writes.size());
    EXPECT_EQ(1, bridge.writes[0].offset);
    EXPECT_EQ(0x52, bridge.writes[0].value);
    EXPECT_EQ(0x100u, bridge.writes[0].address);
    EXPECT_EQ(7, bridge.writes[0].item);
    EXPECT_STREQ("5234 ", edit.DataText(data.data(), 2, 0));
    EXPECT_EQ(MEMPART_DIGIT4, edit.m_nCaretPart);   // one digit right
    EXPECT_EQ(0, edit.m_nCaret);
    // The last digit of the word is the low nibble of its first byte.
    Caret(1, MEMPART_DIGIT3);
    Char('f');
    EXPECT_EQ(0x3F, data[0]);
}

TEST_F(MemoryEditFixture, CharactersTakeHexDigitsOnlyAndARefusedWriteKeepsByteAndCaret)
{
    OneBlock();
    edit.m_nSelStart = 2;
    edit.m_nSelEnd = 4;
    Caret(5, MEMPART_DIGIT3);
    Char('g');
    EXPECT_TRUE(bridge.writes.empty());
    EXPECT_EQ(5, data[5]);
    EXPECT_EQ(-1, edit.m_nSelStart);   // only the selection went
    EXPECT_EQ(5, edit.m_nCaret);

    Char('A');
    ASSERT_EQ(1u, bridge.writes.size());
    EXPECT_EQ(0x0A, data[5]);
    EXPECT_EQ(6, edit.m_nCaret);       // on to the next byte's first digit
    EXPECT_EQ(MEMPART_DIGIT2, edit.m_nCaretPart);

    bridge.accept = FALSE;
    Char('9');
    EXPECT_EQ(6, data[6]);
    EXPECT_EQ(6, edit.m_nCaret);
    EXPECT_EQ(MEMPART_DIGIT2, edit.m_nCaretPart);

    // The text column writes the character itself.
    bridge.accept = TRUE;
    Caret(8, MEMPART_TEXT);
    Char('Z');
    EXPECT_EQ('Z', data[8]);
    EXPECT_EQ(9, edit.m_nCaret);
}

TEST_F(MemoryEditFixture, KeysMoveSelectAndPage)
{
    OneBlock();
    ASSERT_EQ(16, edit.m_nBytesPerLine);
    ASSERT_EQ(8, edit.m_nLinesPerPage);
    Caret(5, MEMPART_DIGIT2);
    {
        KeysDown shift{VK_SHIFT};
        Key(VK_RIGHT);
        EXPECT_EQ(5, edit.m_nSelStart);
        EXPECT_EQ(6, edit.m_nSelEnd);
        Key(VK_RIGHT);
        EXPECT_EQ(5, edit.m_nSelStart);
        EXPECT_EQ(7, edit.m_nSelEnd);
    }
    Key(VK_LEFT);   // without Shift the selection goes
    EXPECT_EQ(-1, edit.m_nSelStart);

    {
        KeysDown ctrl{VK_CONTROL};
        Key(VK_END);
        EXPECT_EQ(255, edit.m_nCaret);
        EXPECT_EQ(128, edit.m_nTop);   // the last page
        Key(VK_HOME);
        EXPECT_EQ(0, edit.m_nCaret);
        EXPECT_EQ(0, edit.m_nTop);
    }
    Caret(3, MEMPART_DIGIT2);
    Key(VK_NEXT);
    EXPECT_EQ(128, edit.m_nTop);
    EXPECT_EQ(131, edit.m_nCaret);
    Key(VK_PRIOR);
    EXPECT_EQ(0, edit.m_nTop);
    EXPECT_EQ(3, edit.m_nCaret);
    Key(VK_END);
    EXPECT_EQ(15, edit.m_nCaret);
    Key(VK_HOME);
    EXPECT_EQ(0, edit.m_nCaret);
    // Down past the page scrolls one line; before position 0 stays at the first digit.
    Caret(7 * 16 + 1, MEMPART_DIGIT3);
    Key(VK_DOWN);
    EXPECT_EQ(8 * 16 + 1, edit.m_nCaret);
    EXPECT_EQ(16, edit.m_nTop);
    Caret(1, MEMPART_DIGIT3);
    edit.m_nTop = 0;
    Key(VK_UP);
    EXPECT_EQ(0, edit.m_nCaret);
    EXPECT_EQ(MEMPART_DIGIT2, edit.m_nCaretPart);
    // Past the end: back where it was, at the last digit.
    Caret(255, MEMPART_DIGIT2);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    EXPECT_EQ(255, edit.m_nCaret);
    EXPECT_EQ(MEMPART_DIGIT3, edit.m_nCaretPart);
}

TEST_F(MemoryEditFixture, TabGoesBetweenTheColumns)
{
    struct { int unit, pos, part, toPos, toPart; } rows[] = {
        {MEMUNIT_BYTE, 5, MEMPART_ADDRESS, 5, MEMPART_DIGIT2},
        {MEMUNIT_BYTE, 5, MEMPART_DIGIT3, 5, MEMPART_TEXT},
        {MEMUNIT_BYTE, 5, MEMPART_TEXT, 5, MEMPART_DIGIT2},
        {MEMUNIT_WORD, 4, MEMPART_TEXT, 5, MEMPART_DIGIT5},
        {MEMUNIT_WORD, 5, MEMPART_TEXT, 4, MEMPART_DIGIT2},
        {MEMUNIT_WORD, 4, MEMPART_DIGIT4, 5, MEMPART_TEXT},
        {MEMUNIT_WORD, 5, MEMPART_DIGIT3, 4, MEMPART_TEXT},
    };
    for (auto& r : rows) {
        edit.ResetMemory();
        OneBlock(256, r.unit);
        edit.m_nSelStart = 1;
        edit.m_nSelEnd = 3;
        Caret(r.pos, r.part);
        Key(VK_TAB);
        EXPECT_EQ(r.toPos, edit.m_nCaret) << r.unit << " " << r.pos << " " << r.part;
        EXPECT_EQ(r.toPart, edit.m_nCaretPart) << r.unit << " " << r.pos << " " << r.part;
        EXPECT_EQ(1, edit.m_nSelStart);   // Tab leaves the selection
    }
}

TEST_F(MemoryEditFixture, ClicksHitDigitsBlanksAddressAndText)
{
    struct { int unit, cell, line, pos, part; } rows[] = {
        {MEMUNIT_BYTE, 17, 1, 18, MEMPART_DIGIT3},
        {MEMUNIT_BYTE, 18, 1, 19, MEMPART_DIGIT2},   // a blank: the next byte's first digit
        {MEMUNIT_BYTE, 3, 2, 32, MEMPART_ADDRESS},
        {MEMUNIT_BYTE, 58 + 4, 0, 4, MEMPART_TEXT},
        {MEMUNIT_WORD, 10, 0, 0, MEMPART_DIGIT2}, {MEMUNIT_WORD, 11, 0, 0, MEMPART_DIGIT4},
        {MEMUNIT_WORD, 12, 0, 1, MEMPART_DIGIT5}, {MEMUNIT_WORD, 13, 0, 1, MEMPART_DIGIT3},
        {MEMUNIT_WORD, 14, 0, 2, MEMPART_DIGIT2},
        {MEMUNIT_NIBBLE, 10, 0, 0, MEMPART_DIGIT3}, {MEMUNIT_NIBBLE, 12, 0, 0, MEMPART_DIGIT2},
        {MEMUNIT_NIBBLE, 15, 0, 1, MEMPART_DIGIT3},
    };
    for (auto& r : rows) {
        edit.ResetMemory();
        OneBlock(256, r.unit);
        CPoint pt = CellPoint(r.cell, r.line);
        // A release already queued: a click, not a drag.
        edit.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        edit.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        MSG msg;
        while (::PeekMessageA(&msg, edit.m_hWnd, 0, 0, PM_REMOVE))
            ::DispatchMessageA(&msg);
        EXPECT_EQ(r.pos, edit.m_nCaret) << r.unit << " cell " << r.cell;
        EXPECT_EQ(r.part, edit.m_nCaretPart) << r.unit << " cell " << r.cell;
        EXPECT_EQ(-1, edit.m_nSelStart);
    }
    // Shift extends from the caret.
    {
        KeysDown shift{VK_SHIFT};
        CPoint pt = CellPoint(10 + 3 * 5, 0);
        edit.ResetMemory();
        OneBlock();
        Caret(2, MEMPART_DIGIT2);
        edit.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(pt.x, pt.y));
        EXPECT_EQ(2, edit.m_nSelStart);
        EXPECT_EQ(6, edit.m_nSelEnd);
    }
}

TEST_F(MemoryEditFixture, DraggingSelectsAndScrollsAboveAndBelowTheWindow)
{
    OneBlock();
    edit.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 2), 0);
    ASSERT_EQ(32, edit.m_nTop);
    CPoint start = CellPoint(10 + 3 * 2, 1);   // byte 2 of the second line shown: 50
    // A move far away already queued: the drag test starts a drag.
    edit.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(start.x + 100, start.y + 100));
    edit.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
    EXPECT_EQ(edit.m_hWnd, ::GetCapture());
    EXPECT_EQ(50, edit.m_nSelStart);
    MSG msg;
    while (::PeekMessageA(&msg, edit.m_hWnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE))
        ;
    CPoint p = CellPoint(10 + 3 * 4, 2);
    edit.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(32 + 32 + 4 + 1, edit.m_nSelEnd);
    // Above the window: one line up, the top line.
    edit.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, (WORD)(short)-5));
    EXPECT_EQ(16, edit.m_nTop);
    EXPECT_EQ(16 + 4 + 1, edit.m_nSelEnd);
    // Below: one line down, the bottom line.
    CRect rc;
    edit.GetClientRect(&rc);
    edit.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, rc.bottom + 5));
    EXPECT_EQ(32, edit.m_nTop);
    EXPECT_EQ(32 + 7 * 16 + 4 + 1, edit.m_nSelEnd);
    EXPECT_EQ(50, edit.m_nSelStart);
    edit.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(MemoryEditFixture, WheelAndScrollBarKeepTheCaretOnItsScreenLine)
{
    OneBlock();
    Caret(20, MEMPART_DIGIT2);
    edit.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-240), 0);
    EXPECT_EQ(32, edit.m_nTop);
    EXPECT_EQ(52, edit.m_nCaret);
    edit.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(48, edit.m_nTop);
    EXPECT_EQ(68, edit.m_nCaret);
    SCROLLINFO si = {sizeof si, SIF_POS};
    ::GetScrollInfo(edit.m_hWnd, SB_VERT, &si);
    EXPECT_EQ(3, si.nPos);
    edit.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
    EXPECT_EQ(0, edit.m_nTop);
    EXPECT_EQ(20, edit.m_nCaret);
    edit.SendMessage(WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(0, edit.m_nTop);
    edit.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)(-120 * 100)), 0);
    EXPECT_EQ(128, edit.m_nTop);   // not past the last page
    edit.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(128, edit.m_nTop);
    edit.SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(0, edit.m_nTop);
}

void Dump(C_IDEMemoryEdit* pEdit, LPARAM lArg)
{
    pEdit->m_nSelStart = (int)lArg;   // leaves a mark the test can see
}

TEST_F(MemoryEditFixture, SelectAllAndExtraCommandsComeThroughCommandRouting)
{
    OneBlock();
    edit.SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
    EXPECT_EQ(0, edit.m_nSelStart);
    EXPECT_EQ(256, edit.m_nSelEnd);
    EXPECT_TRUE(edit.AddCommand("Dump", 2441, Dump, 42));
    edit.SendMessage(WM_COMMAND, 2441, 0);
    EXPECT_EQ(42, edit.m_nSelStart);
    // Asking for a handler does not run it.
    AFX_CMDHANDLERINFO info = {};
    edit.m_nSelStart = 0;
    edit.OnCmdMsg(2441, CN_COMMAND, nullptr, &info);
    EXPECT_EQ(0, edit.m_nSelStart);
    EXPECT_EQ((UINT)DLGC_WANTALLKEYS, (UINT)edit.SendMessage(WM_GETDLGCODE));
}

TEST_F(MemoryEditFixture, GotoAddressPutsTheLineAThirdOfAPageFromTheTop)
{
    edit.AddBlock(0, 0x100, 1024, data.data(), MEMUNIT_BYTE, 0);
    SizeCells(80, 9);
    ASSERT_EQ(9, edit.m_nLinesPerPage);
    Caret(0, MEMPART_ADDRESS);
    EXPECT_TRUE(edit.GotoAddress(0, 0x100 + 0x200));
    EXPECT_EQ(0x200, edit.m_nCaret);
    EXPECT_EQ(MEMPART_DIGIT3, edit.m_nCaretPart);
    EXPECT_EQ((0x200 / 16 - 3) * 16, edit.m_nTop);
    EXPECT_EQ(3 * edit.m_nLineHeight, edit.m_ptCaret.y);
    // Within the page: no scrolling.
    EXPECT_TRUE(edit.GotoAddress(0, 0x100 + 0x210));
    EXPECT_EQ((0x200 / 16 - 3) * 16, edit.m_nTop);
    // Nowhere: nothing changes.
    EXPECT_FALSE(edit.GotoAddress(1, 0x100));
    EXPECT_FALSE(edit.GotoAddress(0, 0x100 + 1024));
    EXPECT_EQ(0x210, edit.m_nCaret);
    // Nibble blocks: odd addresses are high digits.
    edit.ResetMemory();
    edit.AddBlock(0, 0x100, 64, data.data(), MEMUNIT_NIBBLE, 0);
    EXPECT_TRUE(edit.GotoAddress(0, 0x105));
    EXPECT_EQ(2, edit.m_nCaret);
    EXPECT_EQ(MEMPART_DIGIT2, edit.m_nCaretPart);
    EXPECT_TRUE(edit.GotoAddress(0, 0x104));
    EXPECT_EQ(MEMPART_DIGIT3, edit.m_nCaretPart);
}

TEST_F(MemoryEditFixture, PaintingAsksTheBridgeForEachVisibleBlock)
{
    OneBlock();
    edit.Invalidate(FALSE);
    bridge.reads = 0;
    edit.UpdateWindow();
    EXPECT_EQ(1, bridge.reads);
    edit.UpdateBlock(7, 0, 0x180, data.data() + 0x80);
    EXPECT_STREQ("0000:0180 ", edit.AddressText(0));
}

TEST_F(MemoryEditFixture, ABlockWithoutABufferShowsZerosAndTakesNoWrites)
{
    edit.AddBlock(0, 0x100, 32, nullptr, MEMUNIT_BYTE, 0);
    SizeCells(80, 4);
    edit.Invalidate(FALSE);
    edit.UpdateWindow();
    Caret(3, MEMPART_DIGIT2);
    Char('7');
    EXPECT_TRUE(bridge.writes.empty());
    EXPECT_EQ(3, edit.m_nCaret);
    edit.m_nSelStart = 0;
    edit.m_nSelEnd = 2;
    std::string text, raw;
    ASSERT_TRUE(edit.GetSelectionData(text, raw));
    EXPECT_EQ("00 00 ", text);
    EXPECT_EQ(std::string(2, '\0'), raw);
}

} // namespace
