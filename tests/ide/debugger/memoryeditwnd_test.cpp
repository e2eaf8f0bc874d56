// The memory edit window: its column header by display mode and the go-to strip.
#include "tests/ide/debugger/memoryedit_fixture.h"
#include "ide/debugger/IDEMemoryEditWnd.h"
#include "resources/ideres.h"
#include <string>

using namespace vt;

namespace {

struct MemoryWndFixture : ::testing::Test {
    RecordingBridge bridge;
    CWnd owner;
    C_IDEMemoryEditWnd wnd{&bridge};
    std::vector<BYTE> data = std::vector<BYTE>(1024);
    int cw = 0;

    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "memory", WS_POPUP | WS_VISIBLE, 0, 0,
                                   900, 600, nullptr, nullptr));
        ASSERT_TRUE(wnd.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &owner, 1));
        cw = wnd.m_MemoryEdit.m_nCharWidth;
        ASSERT_GT(cw, 0);
    }
    // The edit control's client area nCells wide.
    void SizeForCells(int nCells)
    {
        CRect rw, rc;
        wnd.m_MemoryEdit.GetWindowRect(&rw);
        wnd.m_MemoryEdit.GetClientRect(&rc);
        int extra = rw.Width() - rc.Width();
        for (int i = 0; i < 2; ++i)
            wnd.SetWindowPos(nullptr, 0, 0, nCells * cw + extra, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Each header button as "text:width", hidden ones left out.
    std::vector<std::string> Header()
    {
        std::vector<std::string> out;
        for (int i = 0; i < wnd.m_Header.GetButtonCount(); ++i) {
            C_IDEHeadButton* b = wnd.m_Header.GetButton(i);
            if (!b->m_bVisible || i == C_IDEMemoryEditWnd::kFillerButton)
                continue;
            CString text;
            b->GetWindowText(text);
            out.push_back(std::string(text) + ":" + std::to_string(b->m_nWidth / cw));
        }
        return out;
    }
};

TEST_F(MemoryWndFixture, HeaderColumnsFollowTheDisplayMode)
{
    ASSERT_EQ(19, wnd.m_Header.GetButtonCount());
    EXPECT_EQ(0xC8FFFFu, wnd.m_Header.GetButton(1)->m_crFace);
    EXPECT_EQ(0xFFC8FFu, wnd.m_Header.GetButton(17)->m_crFace);
    EXPECT_EQ((UINT)C_IDEMemoryEditWnd::kHeaderId, (UINT)wnd.m_Header.GetDlgCtrlID());

    wnd.m_MemoryEdit.AddBlock(0, 0x100, 256, data.data(), MEMUNIT_BYTE, 0);
    SizeForCells(60);
    ASSERT_EQ(8, wnd.m_MemoryEdit.m_nBytesPerLine);
    std::vector<std::string> bytes = {"Address:10", "0:3", "1:3", "2:3", "3:3", "4:3", "5:3", "6:3", "7:3", "ASCII:8"};
    EXPECT_EQ(bytes, Header());

    wnd.m_MemoryEdit.ResetMemory();
    wnd.m_MemoryEdit.AddBlock(0, 0x100, 256, data.data(), MEMUNIT_NIBBLE, 0);
    SizeForCells(60);
    ASSERT_EQ(8, wnd.m_MemoryEdit.m_nBytesPerLine);
    std::vector<std::string> nibbles = {"Address:10"};
    for (int i = 0; i < 16; ++i) {
        char sz[8];
        sprintf(sz, "%X:2", i);
        nibbles.push_back(sz);
    }
    nibbles.push_back("ASCII:8");
    EXPECT_EQ(nibbles, Header());

    // The strip on top, the header under it, the control below.
    CRect rStrip, rEdit;
    wnd.m_GotoDlg.GetWindowRect(&rStrip);
    wnd.m_MemoryEdit.GetWindowRect(&rEdit);
    wnd.ScreenToClient(&rStrip);
    wnd.ScreenToClient(&rEdit);
    EXPECT_EQ(CRect(0, 0, rStrip.right, 24), rStrip);
    EXPECT_EQ(44, rEdit.top);
}

TEST_F(MemoryWndFixture, GoToStripMovesTheCaretOnlyWithBothBoxesFilled)
{
    wnd.m_MemoryEdit.AddBlock(0, 0x100, 1024, data.data(), MEMUNIT_BYTE, 0);
    SizeForCells(80);
    C_GotoPCDlg& strip = wnd.m_GotoDlg;
    strip.SetDlgItemText(IDC_GOTO_SPACE, "0");
    strip.SetDlgItemText(IDC_GOTO_ADDRESS, "");
    strip.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_GOTO_GO, BN_CLICKED), (LPARAM)strip.GetDlgItem(IDC_GOTO_GO)->m_hWnd);
    EXPECT_EQ(0, wnd.m_MemoryEdit.m_nCaret);

    strip.SetDlgItemText(IDC_GOTO_ADDRESS, "1A0");
    strip.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_GOTO_GO, BN_CLICKED), (LPARAM)strip.GetDlgItem(IDC_GOTO_GO)->m_hWnd);
    EXPECT_EQ(0xA0, wnd.m_MemoryEdit.m_nCaret);   // address 0x1A0 of a block at 0x100
    EXPECT_EQ(0u, strip.m_nGotoSpace);
    EXPECT_EQ(0x1A0u, strip.m_dwGotoAddress);

    // Escape does nothing; Enter goes like the button.
    strip.SetDlgItemText(IDC_GOTO_ADDRESS, " 0x1B0");
    strip.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(0xA0, wnd.m_MemoryEdit.m_nCaret);
    EXPECT_TRUE(::IsWindow(strip.m_hWnd));
    strip.SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_EQ(0xB0, wnd.m_MemoryEdit.m_nCaret);

    EXPECT_EQ(1, (int)wnd.SendMessage(WM_GOTO_PC));

    struct { const char* text; DWORD value; } hex[] = {{"1A0", 0x1A0}, {"  0x7fz", 0x7F}, {"G1", 0}, {"0X10", 0x10}};
    for (auto& h : hex)
        EXPECT_EQ(h.value, C_GotoPCDlg::ParseHex(h.text)) << h.text;
}

} // namespace
