// A hex-edit control in a real window over blocks of a local buffer, with a bridge that
// records every read and write and answers writes as told.
#pragma once
#include <gtest/gtest.h>
#include "ide/debugger/IDEMemoryEdit.h"
#include <vector>

namespace vt {

struct RecordingBridge : I_MemoryEditBridge {
    struct Write { DWORD space, address; int item, offset, value; };
    std::vector<Write> writes;
    int reads = 0;
    BOOL accept = TRUE;
    BOOL WriteMemory(DWORD nSpace, DWORD dwAddress, int nItem, int nOffset, int nValue) override
    {
        writes.push_back({nSpace, dwAddress, nItem, nOffset, nValue});
        return accept;
    }
    void ReadMemory(DWORD, DWORD) override { ++reads; }
};

// Holds keys down (through the thread's keyboard state) while it lives.
struct KeysDown {
    explicit KeysDown(std::initializer_list<int> vks)
    {
        BYTE keys[256] = {};
        for (int vk : vks)
            keys[vk] = 0x80;
        ::SetKeyboardState(keys);
    }
    ~KeysDown()
    {
        BYTE none[256] = {};
        ::SetKeyboardState(none);
    }
};

struct MemoryEditFixture : ::testing::Test {
    RecordingBridge bridge;
    CWnd owner;
    C_IDEMemoryEdit edit{&bridge};
    std::vector<BYTE> data = std::vector<BYTE>(1024);

    void SetUp() override
    {
        for (size_t i = 0; i < data.size(); ++i)
            data[i] = (BYTE)i;
        ASSERT_TRUE(owner.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "memory", WS_POPUP | WS_VISIBLE, 0, 0,
                                   900, 600, nullptr, nullptr));
        ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &owner, 1));
    }
    void TearDown() override { BYTE none[256] = {}; ::SetKeyboardState(none); }

    // Client area of nCells character cells by nLines lines.
    void SizeCells(int nCells, int nLines)
    {
        CRect rw, rc;
        edit.GetWindowRect(&rw);
        edit.GetClientRect(&rc);
        int extraX = rw.Width() - rc.Width(), extraY = rw.Height() - rc.Height();
        edit.SetWindowPos(nullptr, 0, 0, nCells * edit.m_nCharWidth + extraX, nLines * edit.m_nLineHeight + extraY,
                          SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // One block of n bytes of the buffer at space 0, address 0x100, shown 16 (or 8) to a line.
    void OneBlock(DWORD n = 256, int unit = MEMUNIT_BYTE, int nLines = 8)
    {
        edit.AddBlock(0, 0x100, n, data.data(), unit, 7);
        SizeCells(unit == MEMUNIT_NIBBLE ? 60 : 80, nLines);
    }
    void Key(UINT vk) { edit.SendMessage(WM_KEYDOWN, vk, 1); }
    void Char(UINT ch) { edit.SendMessage(WM_CHAR, ch, 1); }
    CPoint CellPoint(int nCell, int nLine) const
    {
        return CPoint(nCell * edit.m_nCharWidth + edit.m_nCharWidth / 2, nLine * edit.m_nLineHeight + 1);
    }
    void Caret(int pos, int part) { edit.m_nCaret = pos; edit.m_nCaretPart = part; }
};

} // namespace vt
