// The clipboard of the editing window (runs alone: the clipboard belongs to
// the whole desktop): stream and column copies, column pastes, the caret and
// the scroll after a paste, the refusals, Cut when the clipboard is held by
// another program, and a fuzz run of texts inserted and taken back.
#include "tests/editor/window/window_fixture.h"
#include <random>
#include <vector>

namespace {

const std::string kMarker = "*TWKEdit Column Block*";

std::string Text(TWKEdit* pEdit)
{
    return vt::StoreText(pEdit);
}

void PutClipboard(const std::string& text)
{
    ASSERT_TRUE(::OpenClipboard(NULL));
    ::EmptyClipboard();
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(::GlobalLock(h), text.c_str(), text.size() + 1);
    ::GlobalUnlock(h);
    ::SetClipboardData(CF_TEXT, h);
    ::CloseClipboard();
}

std::string GetClipboard()
{
    std::string s = "<none>";
    if (::OpenClipboard(NULL))
    {
        if (HANDLE h = ::GetClipboardData(CF_TEXT))
        {
            s = (LPCSTR)::GlobalLock(h);
            ::GlobalUnlock(h);
        }
        ::CloseClipboard();
    }
    return s;
}

// Holds the clipboard open from another thread until it goes.
class ClipboardHolder
{
public:
    ClipboardHolder()
    {
        m_hReady = ::CreateEventA(NULL, TRUE, FALSE, NULL);
        m_hRelease = ::CreateEventA(NULL, TRUE, FALSE, NULL);
        m_hThread = ::CreateThread(NULL, 0, &ClipboardHolder::Run, this, 0, NULL);
        ::WaitForSingleObject(m_hReady, 10000);
    }
    ~ClipboardHolder()
    {
        ::SetEvent(m_hRelease);
        ::WaitForSingleObject(m_hThread, 10000);
        ::CloseHandle(m_hThread);
        ::CloseHandle(m_hReady);
        ::CloseHandle(m_hRelease);
    }
    BOOL opened = FALSE;

private:
    static DWORD WINAPI Run(LPVOID p)
    {
        ClipboardHolder* self = static_cast<ClipboardHolder*>(p);
        HWND hWnd = ::CreateWindowA("STATIC", "holder", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
        self->opened = ::OpenClipboard(hWnd);
        ::SetEvent(self->m_hReady);
        ::WaitForSingleObject(self->m_hRelease, 30000);
        if (self->opened)
            ::CloseClipboard();
        ::DestroyWindow(hWnd);
        return 0;
    }
    HANDLE m_hReady, m_hRelease, m_hThread;
};

using ClipCtrl = vt::TestCtrl;

struct Host
{
    ClipCtrl ctrl;
    vt::CtrlHost host{&ctrl, 400, 300};
    TWKEdit* e;
    explicit Host(const std::string& text, int nLineEndType = 0)
    {
        e = ctrl.GetEdit();
        e->SetLineEndType(nLineEndType);
        e->SetTabSize(4);
        e->m_bKeepTabs = FALSE;
        e->SetInsertMode(TRUE);
        host.SetText(text);
        e->ResetUndo();
    }
    void Cmd(UINT nID) { ctrl.SendMessage(WM_COMMAND, nID, 0); }
    void Select(int l1, int c1, int l2, int c2, BOOL bColumn = FALSE)
    {
        TWKEditPos a = {e->GetLine(l1), e->ColumnToOffset(e->GetLine(l1), c1)};
        TWKEditPos b = {e->GetLine(l2), e->ColumnToOffset(e->GetLine(l2), c2)};
        ctrl.SetSelection(&a, &b, bColumn);
    }
};

std::string Lines(int n, const char* prefix = "line ")
{
    std::string s;
    for (int i = 1; i <= n; i++)
        s += prefix + std::to_string(i) + "\r\n";
    return s;
}

} // namespace

TEST(ClipboardSerial, CopiesStreamAndColumnText)
{
    struct Case { const char* name; const char* text; int lineEnd; int l1, c1, l2, c2; BOOL column; std::string expected; };
    const Case cases[] = {
        {"LF store gives CR LF", "ab\ncd\nef", 2, 1, 1, 3, 1, FALSE, "b\r\ncd\r\ne"},
        {"column over a short line", "abcdef\r\na\r\n", 0, 1, 1, 2, 4, TRUE, kMarker + "\r\nbcd\r\n   "},
        {"column over a tab", "a\tbcdef\r\nxyz12345\r\n", 0, 1, 0, 2, 6, TRUE, kMarker + "\r\na   bc\r\nxyz123"},
        {"column drawn upwards", "abcdef\r\nghijkl\r\n", 0, 2, 4, 1, 1, TRUE, kMarker + "\r\nbcd\r\nhij"},
    };
    for (const Case& c : cases)
    {
        Host h(c.text, c.lineEnd);
        h.Select(c.l1, c.c1, c.l2, c.c2, c.column);
        PutClipboard("old");
        h.Cmd(ID_EDIT_COPY);
        EXPECT_EQ(c.expected, GetClipboard()) << c.name;
        EXPECT_TRUE(h.ctrl.m_bSelection) << c.name;   // Copy keeps it
        CString str;
        BOOL bColumn = -1;
        h.ctrl.GetSelectedText(str, &bColumn);
        EXPECT_EQ(c.column, bColumn) << c.name;
        std::string plain = c.column ? c.expected.substr(24) : c.expected;
        EXPECT_EQ(plain, std::string(str)) << c.name;
    }
    Host h("abc");
    CString str = "x";
    BOOL bColumn = TRUE;
    h.ctrl.GetSelectedText(str, &bColumn);
    EXPECT_TRUE(str.IsEmpty());
    EXPECT_FALSE(bColumn);
}

TEST(ClipboardSerial, PastesColumnBlocks)
{
    struct Case { const char* name; std::string clip; std::string line10; std::string line11; int caretCol; };
    const Case cases[] = {
        {"two rows pad a short line", kMarker + "\r\nXYZ\r\nUVW", "01234XYZ56789\r\n", "ab   UVW\r\n", 5},
        {"one row is a string", kMarker + "\r\nQR", "01234QR56789\r\n", "ab\r\n", 7},
        {"other bytes after the marker", kMarker + "xyAB\r\nCD", "01234AB56789\r\n", "ab   CD\r\n", 5},
        {"the marker alone", kMarker, "0123456789\r\n", "ab\r\n", 5},
        {"the marker and one byte", kMarker + "\r", "0123456789\r\n", "ab\r\n", 5},
    };
    for (const Case& c : cases)
    {
        Host h(Lines(9) + "0123456789\r\nab\r\nend");
        h.ctrl.PutCaret(10, 5);
        PutClipboard(c.clip);
        h.Cmd(ID_EDIT_PASTE);
        TWKEditLine* p10 = h.e->GetLine(10);
        EXPECT_EQ(c.line10, std::string(p10->pText, p10->nLength)) << c.name;
        EXPECT_EQ(c.line11, std::string(p10->pNext->pText, p10->pNext->nLength)) << c.name;
        EXPECT_EQ(10, h.ctrl.m_nCaretLine) << c.name;
        EXPECT_EQ(c.caretCol, h.ctrl.m_nCaretCol) << c.name;
        // One Undo takes the whole paste back.
        h.Cmd(ID_EDIT_UNDO);
        EXPECT_EQ(Lines(9) + "0123456789\r\nab\r\nend", Text(h.e)) << c.name;
    }
}

TEST(ClipboardSerial, CaretAndScrollAfterPastingLines)
{
    struct Case { const char* name; const char* clip; int lineAdd; int col; };
    const Case cases[] = {
        {"ending with a line end", "a\r\nb\r\n", 2, 0},
        {"ending without", "a\r\nbc", 1, 2},
        {"LF line ends", "a\nb\nc", 2, 1},
    };
    for (const Case& c : cases)
    {
        Host h(Lines(60));
        int rows = h.ctrl.Rows();
        ASSERT_GT(rows, 3);
        // Caret on the bottom row: the paste scrolls it to stay the last full row.
        h.ctrl.PutCaret(rows, 0);
        PutClipboard(c.clip);
        h.Cmd(ID_EDIT_PASTE);
        EXPECT_EQ(rows + c.lineAdd, h.ctrl.m_nCaretLine) << c.name;
        EXPECT_EQ(h.e->GetLine(rows + c.lineAdd), h.ctrl.m_pCaretLine) << c.name;
        EXPECT_EQ(c.col, h.ctrl.m_nCaretCol) << c.name;
        EXPECT_EQ(rows + c.lineAdd - (rows - 1), h.ctrl.m_nTopLine) << c.name;
        EXPECT_EQ(h.e->GetLine(h.ctrl.m_nTopLine), h.ctrl.m_pTopLine) << c.name;
        // Inside the window nothing scrolls.
        Host in(Lines(60));
        in.ctrl.PutCaret(2, 0);
        PutClipboard(c.clip);
        in.Cmd(ID_EDIT_PASTE);
        EXPECT_EQ(2 + c.lineAdd, in.ctrl.m_nCaretLine) << c.name;
        EXPECT_EQ(1, in.ctrl.m_nTopLine) << c.name;
    }
}

TEST(ClipboardSerial, Refusals)
{
    // A one-line paste that would pass the column limit changes nothing.
    {
        Host h(std::string(TWK_MAX_COLUMNS - 8, 'a') + "\r\nz");
        h.ctrl.PutCaret(1, 0);
        PutClipboard("0123456789");
        EXPECT_EQ(IDS_TWK_LINETOOLONG, h.ctrl.PasteClipboard(TRUE, TRUE));
        EXPECT_EQ(std::string(TWK_MAX_COLUMNS - 8, 'a') + "\r\nz", Text(h.e));
        EXPECT_EQ(0, h.e->GetUndoCount());
    }
    // An empty clipboard: nothing changes, the selection stays.
    {
        Host h("abc\r\ndef");
        h.Select(1, 1, 2, 1);
        ASSERT_TRUE(::OpenClipboard(NULL));
        ::EmptyClipboard();
        ::CloseClipboard();
        EXPECT_EQ(IDS_TWK_CLIPEMPTY, h.ctrl.PasteClipboard(TRUE, TRUE));
        EXPECT_EQ("abc\r\ndef", Text(h.e));
        EXPECT_TRUE(h.ctrl.m_bSelection);
        EXPECT_EQ(h.e->GetLine(1), h.ctrl.m_pSelStartLine);
    }
    // Cut on a read-only text copies only.
    {
        Host h("abc\r\ndef");
        h.Select(1, 1, 1, 3);
        h.e->SetReadOnly(TRUE);
        PutClipboard("old");
        h.ctrl.OnEditCut();
        EXPECT_EQ("bc", GetClipboard());
        EXPECT_EQ("abc\r\ndef", Text(h.e));
    }
}

TEST(ClipboardSerial, CutWithTheClipboardHeldKeepsTheText)
{
    Host h("abc\r\ndef");
    h.Select(1, 1, 2, 2);
    PutClipboard("old");
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.opened);
        vt::ModalAnswerer answerer;
        h.Cmd(ID_EDIT_CUT);
        ASSERT_EQ(1u, answerer.Count());
        EXPECT_NE(std::string::npos, answerer.Last().text.find("Out of memory."));
        EXPECT_EQ(IDS_TWK_NOMEMORY, h.ctrl.CopyToClipboard());
        answerer.Clear();
        h.Cmd(ID_EDIT_COPY);
        EXPECT_EQ(1u, answerer.Count());
    }
    EXPECT_EQ("abc\r\ndef", Text(h.e));
    EXPECT_TRUE(h.ctrl.m_bSelection);
    EXPECT_EQ("old", GetClipboard());
    // Once the clipboard is free the cut goes through, and Undo brings it back.
    h.Cmd(ID_EDIT_CUT);
    EXPECT_EQ("bc\r\nde", GetClipboard());
    EXPECT_EQ("af", Text(h.e));
    h.Cmd(ID_EDIT_UNDO);
    EXPECT_EQ("abc\r\ndef", Text(h.e));
}

// Random texts, with and without the marker, with and without line ends,
// short and long, go in at random places of a small text; each is taken back
// by Undo and the text must be as it was.
TEST(ClipboardSerial, FuzzInsertAndUndo)
{
    std::mt19937 rng(20261211);
    auto pick = [&](int n) { return (int)(rng() % (unsigned)n); };
    const char alphabet[] = "ab \t\r\n\r\n;\"'x_.\xe4\xfc";
    auto randomText = [&]() {
        std::string s;
        int kind = pick(10);
        if (kind < 2)
            s = kMarker + (pick(2) ? "\r\n" : std::string(1, (char)('A' + pick(3))));
        int n = kind == 9 ? 15000 + pick(3000) : pick(40);
        for (int i = 0; i < n; i++)
            s += alphabet[pick((int)sizeof(alphabet) - 1)];
        if (pick(3) == 0)
            s += "\r\n";
        return s;
    };
    const std::string base = "first line\r\n\tsecond\r\n\r\n  fourth  \r\nlast\r\n";
    Host h(base);
    for (int i = 0; i < 3000; i++)
    {
        std::string before = Text(h.e);
        int line = 1 + pick(h.e->GetLineCount() > 1 ? h.e->GetLineCount() - 1 : 1);
        h.ctrl.PutCaret(line, pick(20));
        h.ctrl.m_pTopLine = h.ctrl.m_pCaretLine;
        h.ctrl.m_nTopLine = line;
        std::string t = randomText();
        int undoPos = h.e->GetUndoPos();
        h.e->SetUndoGroup(TRUE);
        int rc = h.ctrl.InsertText(t.c_str(), (int)t.size());
        h.e->SetUndoGroup(FALSE);
        ASSERT_TRUE(rc == 0 || rc == IDS_TWK_LINETOOLONG) << i << " rc " << rc;
        if (rc == 0 && h.e->GetUndoPos() != undoPos)
        {
            ASSERT_EQ(1, h.e->Undo()) << i;
        }
        std::string recs;
        for (int k = 0; k < h.e->GetUndoCount(); k++)
        {
            const TWKEditUndoRecord* r = h.e->GetUndoRecord(k);
            recs += " t" + std::to_string(r->nType) + " " + std::to_string(r->nStartLine) + "," +
                    std::to_string(r->nStartOffset) + "-" + std::to_string(r->nEndLine) + "," +
                    std::to_string(r->nEndOffset) + " g" + std::to_string(r->dwGroup);
        }
        ASSERT_EQ(before, Text(h.e)) << i << " at " << line << "," << h.ctrl.m_nCaretCol << " rc " << rc << recs
                                     << " text " << t.substr(0, 60);
        ASSERT_EQ(undoPos, h.e->GetUndoPos()) << i;
    }
    for (int i = 0; i < 300; i++)
    {
        std::string before = Text(h.e);
        h.ctrl.InitView();
        int line = 1 + pick(h.e->GetLineCount() > 1 ? h.e->GetLineCount() - 1 : 1);
        h.ctrl.PutCaret(line, pick(20));
        std::string t = randomText();
        if (t.size() > 2000)
            t.resize(2000);
        PutClipboard(t);
        int undoPos = h.e->GetUndoPos();
        int rc = h.ctrl.PasteClipboard(TRUE, TRUE);
        ASSERT_TRUE(rc == 0 || rc == IDS_TWK_LINETOOLONG) << i << " rc " << rc;
        if (h.e->GetUndoPos() != undoPos)
            h.Cmd(ID_EDIT_UNDO);
        ASSERT_EQ(before, Text(h.e)) << i << " text " << t.substr(0, 60);
    }
}
