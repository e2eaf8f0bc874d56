// Copy from the hex-edit control puts the raw bytes ("BinaryData") and the text of the
// column the caret is in on the clipboard, in address order whichever way the selection ran.
#include "tests/ide/debugger/memoryedit_fixture.h"
#include "afx/ole.h"
#include <string>

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

} // namespace
