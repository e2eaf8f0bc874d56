#include <gtest/gtest.h>
#include "afx/afx.h"
#include "ide/workbench/FindInFiles.h"
#include "support/ui/CUMsgHandler.h"
#include "tests/harness/harness.h"
#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Rec {
    int kind;
    std::string file;
    int line;
    std::string text;
    bool operator==(const Rec& o) const
    {
        return kind == o.kind && file == o.file && line == o.line && text == o.text;
    }
};

std::string CurrentFolder()
{
    char sz[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, sz);
    return sz;
}

// A page that keeps every record it is sent, and what the current folder was then.
struct Collector {
    std::vector<Rec> recs;
    std::vector<std::string> folders;
    volatile BOOL* pStopAfterFirst = nullptr;
    int done = 0;   // completion requests (wParam 3)
    HWND hWnd = nullptr;

    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l)
    {
        if (msg == CU_WM_MESSAGE_RECORD && w == 0) {
            auto* self = reinterpret_cast<Collector*>(GetWindowLongPtrA(h, GWLP_USERDATA));
            auto* r = reinterpret_cast<tagMessageRecord*>(l);
            self->recs.push_back({ r->kind, r->fileName, r->line, r->text });
            self->folders.push_back(CurrentFolder());
            if (self->pStopAfterFirst)
                *self->pStopAfterFirst = TRUE;
            return 1;
        }
        if (msg == CU_WM_MESSAGE_RECORD && w == FIND_REQUEST_DONE)
            ++reinterpret_cast<Collector*>(GetWindowLongPtrA(h, GWLP_USERDATA))->done;
        return DefWindowProcA(h, msg, w, l);
    }
    Collector()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VtFindCollector";
        RegisterClassA(&wc);
        hWnd = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, (LONG_PTR)this);
    }
    ~Collector() { DestroyWindow(hWnd); }
    size_t IndexOf(const std::string& file) const
    {
        for (size_t i = 0; i < recs.size(); ++i)
            if (recs[i].file == file)
                return i;
        return (size_t)-1;
    }
};

struct Tree {
    vt::TempDir dir;
    std::string longLine = "gamma" + std::string(295, 'x');
    Tree()
    {
        dir.Write("a.txt", "alpha\nGAMMA upper\nthe gamma\n");
        dir.Write("crlf.txt", "one\r\ngamma two\r\n");
        dir.Write("long.txt", longLine + "\n");
        dir.Write("empty.txt", "");
        dir.Write("b.c", "gamma c\n");
        dir.Write("b.h", "gamma not searched\n");
        CreateDirectoryA(dir.File("sub").c_str(), nullptr);
        dir.Write("sub\\c.txt", "no\nxx gamma");   // last line without a line end
    }
    std::string Folder() const { return dir.Path() + "\\"; }
    std::string F(const char* name) const { return dir.File(name); }
};

TEST(FindInFiles, SearchFolderReportsEveryMatchingLineAsWrittenAndNeverChangesTheCurrentFolder)
{
    Tree t;
    const std::string before = CurrentFolder();
    struct Case {
        const char* types;
        const char* text;
        BOOL matchCase;
        BOOL subfolders;
        std::vector<Rec> want;   // in any order within one folder and pattern
    };
    const std::string cut = "(1) " + t.longLine.substr(0, 246) + "...";
    const std::vector<Case> cases = {
        // Two patterns, the second after a blank, an empty one between two ';'; folded case.
        { "*.txt;; *.c", "GAMMA", FALSE, TRUE,
          { { 2, t.F("a.txt"), 2, "(2) GAMMA upper" }, { 2, t.F("a.txt"), 3, "(3) the gamma" },
            { 2, t.F("crlf.txt"), 2, "(2) gamma two" }, { 2, t.F("long.txt"), 1, cut },
            { 2, t.F("b.c"), 1, "(1) gamma c" }, { 2, t.F("sub\\c.txt"), 2, "(2) xx gamma" } } },
        // Matched case, no subfolders.
        { "*.txt", "gamma", TRUE, FALSE,
          { { 2, t.F("a.txt"), 3, "(3) the gamma" }, { 2, t.F("crlf.txt"), 2, "(2) gamma two" },
            { 2, t.F("long.txt"), 1, cut } } },
        { "", "gamma", FALSE, TRUE, {} },
        { "*.txt", "nowhere", FALSE, TRUE, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.types) + " / " + c.text);
        Collector col;
        volatile BOOL stop = FALSE;
        UINT count = 0;
        BOOL found = SearchFolder(&stop, t.Folder().c_str(), c.types, c.text, c.matchCase, c.subfolders, col.hWnd,
                                  &count);
        EXPECT_EQ(found, !c.want.empty());
        EXPECT_EQ(count, c.want.size());
        ASSERT_EQ(col.recs.size(), c.want.size());
        for (const Rec& w : c.want)
            EXPECT_NE(std::find(col.recs.begin(), col.recs.end(), w), col.recs.end()) << w.file << " " << w.text;
        for (const std::string& f : col.folders)
            EXPECT_EQ(f, before);
        if (c.subfolders && !c.want.empty()) {
            // The first pattern's files come before the second's, and subfolders after both.
            EXPECT_LT(col.IndexOf(t.F("long.txt")), col.IndexOf(t.F("b.c")));
            EXPECT_LT(col.IndexOf(t.F("b.c")), col.IndexOf(t.F("sub\\c.txt")));
        }
    }
    EXPECT_EQ(CurrentFolder(), before);
    for (const char* text : { "a", "" }) {
        volatile BOOL stop = FALSE;
        UINT count = 0;
        Collector col;
        EXPECT_FALSE(SearchFolder(&stop, t.F("missing").c_str(), "*.*", text, FALSE, TRUE, col.hWnd, &count));
        EXPECT_EQ(count, 0u);
    }
}

TEST(FindInFiles, EveryFolderIsSearchedOnceWhateverThePatternsAndLinesAreCutFrom256Characters)
{
    // "(1) " and 251 characters make 255 and stay whole; one more is cut to 250 and "...".
    vt::TempDir dir;
    const std::string whole = "gamma" + std::string(246, 'y'), longer = "gamma" + std::string(247, 'z');
    dir.Write("x.log", whole + "\r\n" + longer + "\r\n");
    CreateDirectoryA(dir.File("sub").c_str(), nullptr);
    CreateDirectoryA(dir.File("sub\\d.log").c_str(), nullptr);   // a folder the pattern names
    dir.Write("sub\\y.txt", "gamma y\n");
    dir.Write("sub\\d.log\\z.log", "gamma z\n");
    const Rec first{ 2, dir.File("x.log"), 1, "(1) " + whole };
    const Rec second{ 2, dir.File("x.log"), 2, "(2) " + longer.substr(0, 246) + "..." };
    const Rec y{ 2, dir.File("sub\\y.txt"), 1, "(1) gamma y" };
    const Rec z{ 2, dir.File("sub\\d.log\\z.log"), 1, "(1) gamma z" };
    struct Case { const char* types; std::vector<Rec> want; };
    const Case cases[] = {
        { "*.*", { first, second, y, z } },
        { "*", { first, second, y, z } },
        { "*.log", { first, second, z } },
        // A file named by two patterns is searched for each, the folders once.
        { "*.log;*.*", { first, second, first, second, y, z, z } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.types);
        Collector col;
        volatile BOOL stop = FALSE;
        UINT count = 0;
        EXPECT_TRUE(SearchFolder(&stop, (dir.Path() + "\\").c_str(), c.types, "gamma", TRUE, TRUE, col.hWnd, &count));
        EXPECT_EQ(col.recs, c.want);
        EXPECT_EQ(count, c.want.size());
    }
}

TEST(FindInFiles, StopFlagSetMidSearchEndsItAfterTheCurrentLine)
{
    Tree t;
    Collector col;
    volatile BOOL stop = FALSE;
    col.pStopAfterFirst = &stop;
    UINT count = 0;
    EXPECT_TRUE(SearchFolder(&stop, t.Folder().c_str(), "*.*", "GAMMA", FALSE, TRUE, col.hWnd, &count));
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(col.recs.size(), 1u);
    stop = TRUE;
    count = 0;
    EXPECT_FALSE(SearchFolder(&stop, t.Folder().c_str(), "*.*", "GAMMA", FALSE, TRUE, col.hWnd, &count));
    EXPECT_EQ(count, 0u);
}

TEST(FindInFiles, ThreadSendsStartMatchesAndCountThenTheCompletionToTheFrame)
{
    Tree t;
    Collector page, frame;
    auto* p = new tagFindThreadParam();
    p->hFrame = frame.hWnd;
    p->hPage = page.hWnd;
    p->strFolder = t.Folder().c_str();
    p->strTypes = "*.c";
    volatile BOOL stop = FALSE;
    p->pStop = &stop;
    p->strText = "GAMMA C";
    p->bMatchCase = FALSE;
    HANDLE h = CreateThread(nullptr, 0, [](void* v) -> DWORD { return FindInFilesThread(v); }, p, 0, nullptr);
    EXPECT_EQ(AfxWaitPumping(h), AFX_WAIT_DONE);
    DWORD code = 0;
    GetExitCodeThread(h, &code);
    CloseHandle(h);
    EXPECT_EQ(code, 1u);
    ASSERT_EQ(page.recs.size(), 3u);
    EXPECT_EQ(page.recs[0], (Rec{ 1, "", 0, "Searching for 'GAMMA C'..." }));
    EXPECT_EQ(page.recs[1], (Rec{ 2, t.F("b.c"), 1, "(1) gamma c" }));
    EXPECT_EQ(page.recs[2], (Rec{ 1, "", 0, "1 occurance(s) have been found !" }));
    EXPECT_EQ(page.done, 0);
    EXPECT_EQ(frame.done, 1);
    EXPECT_TRUE(frame.recs.empty());
}

} // namespace
