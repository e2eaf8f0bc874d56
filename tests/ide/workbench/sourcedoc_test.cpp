// Source documents on a real frame: open, new, save with CR LF line ends and
// the reload that follows, a failed save, the file time, the report table,
// the project's modified mark and the line-colour lists.
#include "tests/ide/workbench/sourcedoc_fixture.h"
#include "support/config/CStringHelpers.h"

namespace {

using Source = vt::SourceFixture;

// The lines as the view shows them, without their line ends.
std::string Shown(TWKEdit& edit)
{
    std::string s;
    for (TWKEditLine* p = edit.GetFirstLine(); p; p = p->pNext) {
        std::string t(p->pText ? p->pText : "");
        while (!t.empty() && (t.back() == '\r' || t.back() == '\n'))
            t.pop_back();
        s += t + "|";
    }
    return s;
}

TEST_F(Source, OpenTakesTheTabSizeOfItsExtensionAndTheFrameIcon)
{
    int nTab = 0;
    ASSERT_TRUE(IsTextFileExtension(CString("a.asm"), &nTab));   // the program folder's "Text File Ext"
    frame.p->m_listIcon.RemoveAll();
    frame.p->m_listIcon.AddTail("asm,ICON_ASM");

    CAsmIDEDoc* pAsm = Open(dir.Write("main.asm", "\tnop\r\n"));
    ASSERT_TRUE(pAsm);
    EXPECT_EQ(nTab, pAsm->m_Edit.GetTabSize());
    EXPECT_EQ(dir.File("main.asm"), (LPCSTR)pAsm->m_strPath);
    EXPECT_STREQ("main.asm", pAsm->m_strFileName);
    EXPECT_FALSE(pAsm->IsModified());
    EXPECT_NE(0, ViewOf(pAsm)->GetParentFrame()->SendMessage(WM_GETICON, ICON_SMALL));

    CAsmIDEDoc* pOther = Open(dir.Write("data.xyz", "x\r\n"));
    ASSERT_TRUE(pOther);
    EXPECT_EQ(0, ViewOf(pOther)->GetParentFrame()->SendMessage(WM_GETICON, ICON_SMALL));

    // A file that cannot be read opens nothing and says nothing itself.
    EXPECT_EQ(nullptr, Open(dir.File("missing.asm")));
}

// A source without a project language takes the program folder's definition
// file; it is kept between opens and read again once the file is edited.
TEST_F(Source, AnEditedLanguageDefinitionIsReadAgain)
{
    C_IDEProjectWnd* pWnd = frame.p->GetProjectWnd();
    const std::string name = vt::UniqueName("Lang");
    auto savedFiles = pWnd->m_arrKeywordFiles;
    char savedDir[MAX_PATH];
    lstrcpynA(savedDir, g_szAppDir, MAX_PATH);
    lstrcpynA(g_szAppDir, (dir.Path() + "\\").c_str(), MAX_PATH);
    pWnd->m_arrKeywordFiles.emplace_back("lng", CString((name + ".ini").c_str()));
    auto define = [&](const char* start, int nSecondsLater) {
        std::string path = dir.Write(name + ".ini", std::string("[Comment]\r\nStart1=") + start +
                                                         "\r\n[OtherControls]\r\nTabSize=4\r\n");
        ASSERT_TRUE(vt::SetWriteTimeFromNow(path, nSecondsLater));
    };

    define("#", 0);
    CAsmIDEDoc* pFirst = Open(dir.Write("a.lng", "x\r\n"));
    ASSERT_TRUE(pFirst);
    EXPECT_STREQ("#", pFirst->m_Edit.m_szCommentStart1);
    define("!", 5);   // the same size: told apart by the time
    CAsmIDEDoc* pSecond = Open(dir.Write("b.lng", "x\r\n"));
    ASSERT_TRUE(pSecond);
    EXPECT_STREQ("!", pSecond->m_Edit.m_szCommentStart1);

    lstrcpynA(g_szAppDir, savedDir, MAX_PATH);
    pWnd->m_arrKeywordFiles = savedFiles;
    vt::IdeApp()->WriteProfileString(("Editor\\" + name + " Files").c_str(), nullptr, nullptr);
}

TEST_F(Source, OpenNewAndCloseMarkTheProjectModified)
{
    C_IDEProjectWnd* pProject = frame.p->GetProjectWnd();
    pProject->SetProjectModified(FALSE);
    CAsmIDEDoc* pNew = New();
    ASSERT_TRUE(pNew);
    EXPECT_TRUE(pProject->IsProjectModified());
    EXPECT_STREQ("Text1", pNew->GetTitle());
    EXPECT_STREQ("Text1", pNew->m_strFileName);
    EXPECT_TRUE(pNew->m_strPath.IsEmpty());
    EXPECT_EQ(nullptr, pNew->m_pBreakLineMapList);

    pProject->SetProjectModified(FALSE);
    CAsmIDEDoc* pDoc = Open(dir.Write("a.txt", "a\r\n"));
    ASSERT_TRUE(pDoc);
    EXPECT_TRUE(pProject->IsProjectModified());
    EXPECT_NE(nullptr, pDoc->m_pBreakLineMapList);

    pProject->SetProjectModified(FALSE);
    pDoc->OnCloseDocument();
    EXPECT_TRUE(pProject->IsProjectModified());
}

TEST_F(Source, ClosingAReportDocumentTakesItOutOfTheReportTable)
{
    CAsmIDEDoc* pDoc = Open(dir.Write("Sample.map", "map\r\n"));
    ASSERT_TRUE(pDoc);
    pDoc->m_bReportDoc = TRUE;
    C_IDEProjectWnd* pProject = frame.p->GetProjectWnd();
    pProject->m_pReportDocs[3] = pDoc;
    pDoc->OnCloseDocument();
    EXPECT_EQ(nullptr, pProject->m_pReportDocs[3]);
}

// Every line is saved with one CR LF, whatever it ended in; the document
// reloads once, and a second save writes the same bytes without reloading.
TEST_F(Source, SavingWritesCrLfAfterEveryLineAndReloadsOnce)
{
    struct Case {
        const char* name;
        std::string in;
        const char* out;
        bool changed;
    };
    const Case cases[] = {
        {"lf", "one\ntwo\n", "one\r\ntwo\r\n", true},
        // CR CR LF is one line end: the stray CR goes, no line is added.
        {"crcrlf", "one\r\r\ntwo\r\r\n", "one\r\ntwo\r\n", true},
        {"nofinal", "one\r\ntwo", "one\r\ntwo\r\n", true},
        {"crlf", "one\r\n\r\nthree\r\n", "one\r\n\r\nthree\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir.Write(std::string(c.name) + ".txt", c.in);
        CAsmIDEDoc* pDoc = Open(path);
        ASSERT_TRUE(pDoc);
        C_IDEEditorView* pView = ViewOf(pDoc);
        ASSERT_TRUE(pView);
        TWKEditLine* pFirstBefore = pDoc->m_Edit.GetFirstLine();
        std::string shown = Shown(pDoc->m_Edit);
        ASSERT_TRUE(pDoc->DoFileSave());
        std::string out = vt::ReadFileBytes(path);
        EXPECT_EQ(c.out, out);
        EXPECT_EQ(shown, Shown(pDoc->m_Edit));
        EXPECT_EQ(c.changed, !!pDoc->m_Edit.m_bLineEndsChanged);
        // A reload builds new lines: the view's caret now lies on one of them.
        EXPECT_EQ(c.changed, pDoc->m_Edit.GetFirstLine() != pFirstBefore);
        EXPECT_EQ(pDoc->m_Edit.GetFirstLine(), pView->m_pTopLine);
        EXPECT_FALSE(pDoc->IsModified());
        EXPECT_EQ(TWK_LINEEND_CRLF, pDoc->m_Edit.GetLineEndType());

        TWKEditLine* pFirstAfter = pDoc->m_Edit.GetFirstLine();
        ASSERT_TRUE(pDoc->DoFileSave());
        EXPECT_EQ(out, vt::ReadFileBytes(path));
        EXPECT_FALSE(pDoc->m_Edit.m_bLineEndsChanged);
        EXPECT_EQ(pFirstAfter, pDoc->m_Edit.GetFirstLine());
        pDoc->OnCloseDocument();
    }
    EXPECT_EQ(0u, answerer.Count());
}

TEST_F(Source, AFailedSaveKeepsPathAndFileTime)
{
    std::string path = dir.Write("locked.txt", "a\r\n");
    CAsmIDEDoc* pDoc = Open(path);
    ASSERT_TRUE(pDoc);
    C_IDEEditorView* pView = ViewOf(pDoc);
    vt::SourceFixture::Type(pView, "x");
    ASSERT_TRUE(pDoc->IsModified());
    CTime before = pDoc->m_timeFile;
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    answerer.SetDefault(IDOK);
    size_t nBoxes = answerer.Count();
    EXPECT_FALSE(pDoc->OnSaveDocument(path.c_str()));
    EXPECT_EQ(nBoxes + 1, answerer.Count());   // the failure is reported
    EXPECT_EQ(path, (LPCSTR)pDoc->m_strPath);
    EXPECT_TRUE(pDoc->m_timeFile == before);
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_EQ("a\r\n", vt::ReadFileBytes(path));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(Source, AnOutsideChangeIsSeenOnceAndAReloadShowsIt)
{
    std::string path = dir.Write("out.txt", "old\r\n");
    CAsmIDEDoc* pDoc = Open(path);
    ASSERT_TRUE(pDoc);
    EXPECT_FALSE(pDoc->HasFileChanged());
    dir.Write("out.txt", "new text\r\nline two\r\n");
    // Move the write time well away, whatever the file system's resolution.
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    FILETIME ft = {};
    GetFileTime(h, nullptr, nullptr, &ft);
    ULARGE_INTEGER t = {{ft.dwLowDateTime, ft.dwHighDateTime}};
    t.QuadPart += 10ull * 10000000ull;
    ft.dwLowDateTime = t.LowPart;
    ft.dwHighDateTime = t.HighPart;
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);

    EXPECT_TRUE(pDoc->HasFileChanged());
    pDoc->RecordFileTime();
    EXPECT_FALSE(pDoc->HasFileChanged());
    pDoc->ReloadFromDisk(path.c_str());
    EXPECT_EQ(2, pDoc->m_Edit.GetLineCount());
    EXPECT_STREQ("new text\r\n", pDoc->m_Edit.GetFirstLine()->pText);
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_EQ(pDoc->m_Edit.GetFirstLine(), ViewOf(pDoc)->m_pCaretLine);

    // A file that cannot be opened counts as unchanged.
    DeleteFileA(path.c_str());
    EXPECT_FALSE(pDoc->HasFileChanged());
}

TEST(LineColors, LinesOutsideTheListGiveTheDefault)
{
    C_IDEEdit edit;
    edit.Initialize();
    edit.ResetLineColors();
    EXPECT_EQ(edit.GetLineCount(), edit.m_BackColors.GetCount());
    edit.m_BackColors.SetSize(3);
    edit.m_TextColors.SetSize(3);
    struct Case {
        int line;
        bool inside;
    };
    for (Case c : {Case{0, false}, Case{1, true}, Case{3, true}, Case{4, false}, Case{-1, false}}) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(0u, edit.SetLineBackColor(c.line, RGB(1, 2, 3)));
        EXPECT_EQ(c.inside, !!edit.HasLineBackColor(c.line));
        EXPECT_EQ(c.inside ? RGB(1, 2, 3) : RGB(255, 255, 255), edit.GetLineBackColor(c.line));
        EXPECT_FALSE(edit.HasLineTextColor(c.line));
        EXPECT_EQ(0u, edit.GetLineTextColor(c.line));
    }
    EXPECT_EQ(RGB(1, 2, 3), edit.SetLineBackColor(1, RGB(9, 9, 9)));
    edit.ClearLineColors();
    EXPECT_FALSE(edit.HasLineBackColor(1));
    EXPECT_EQ(3, edit.m_BackColors.GetCount());
}

} // namespace

namespace {

// A save that rewrote line ends reloads the text: build records tied to the
// old lines are cut, not left pointing at freed lines.
TEST_F(Source, AReloadCutsTheBuildRecordsTiedToTheOldLines)
{
    std::string path = dir.Write("tied.asm", "one\ntwo\n");
    CAsmIDEDoc* pDoc = Open(path);
    ASSERT_TRUE(pDoc);
    tagMessageRecord rec = {};
    C_IDELineTies& ties = frame.p->GetProjectWnd()->GetLineTies();
    ties.Tie(&rec, &pDoc->m_Edit, pDoc->m_Edit.GetLine(2));
    C_IDELineTies::Entry tie;
    ASSERT_TRUE(ties.Find(&rec, &tie));
    ASSERT_TRUE(pDoc->DoFileSave());
    EXPECT_FALSE(ties.Find(&rec, &tie));
}

// A marked line that editing took out of the store is forgotten: its node
// is not written (here it is kept alive to see that), the others are cleared.
TEST(BreakMarks, AMarkWhoseLineLeftTheStoreIsForgottenUntouched)
{
    vt::TempDir dir;
    C_IDEEdit edit;
    edit.Initialize();
    ASSERT_EQ(0, edit.LoadFile(dir.Write("m.asm", "a\r\nb\r\nc\r\n").c_str()));
    C_IDEBreakLineMapList list(&edit, nullptr, "m.asm");
    TWKEditLine* p1 = edit.GetLine(1);
    TWKEditLine* p2 = edit.GetLine(2);
    list.AddMark(1, p1, 2);
    list.AddMark(2, p2, 1);
    EXPECT_EQ(2, GetLineBreakState(p1));
    EXPECT_EQ(1, GetLineBreakState(p2));
    EXPECT_TRUE(list.FindMark(2, nullptr));

    TWKEdit::UnlinkLine(p2);
    TWKEdit::RenumberLines(edit.GetFirstLine());
    p2->dwFlags |= LINE_BOOKMARK;
    WORD wFlags = p2->dwFlags;
    EXPECT_FALSE(list.ToggleBreakpointEnable(2));   // no emulator: nothing changes
    list.RemoveAllMarks();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(0, GetLineBreakState(p1));
    EXPECT_EQ(wFlags, p2->dwFlags);
    TWKEdit::FreeLine(p2);

    // Setting a state keeps the other flag bits.
    p1->dwFlags = LINE_BOOKMARK;
    SetLineBreakState(p1, 3);
    EXPECT_EQ(3, GetLineBreakState(p1));
    SetLineBreakState(p1, 0);
    EXPECT_EQ((WORD)LINE_BOOKMARK, p1->dwFlags);
}

} // namespace
