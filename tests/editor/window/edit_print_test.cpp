// Printing from the view flavour: pagination, header and footer texts,
// printing a selection and the Page Setup command. The print loop runs on a
// memory DC; each page is recorded in a metafile and its texts read back.
#include "tests/editor/window/window_fixture.h"
#include <algorithm>
#include <vector>

class CPrintTestDoc : public CDocument
{
    DECLARE_DYNCREATE(CPrintTestDoc)
public:
    TWKEdit m_edit;
};
IMPLEMENT_DYNCREATE(CPrintTestDoc, CDocument)

namespace {

struct Text
{
    int y;
    std::string s;
};
using Page = std::vector<Text>;

int CALLBACK CollectTexts(HDC, HANDLETABLE*, const ENHMETARECORD* pRec, int, LPARAM lParam)
{
    Page& page = *reinterpret_cast<Page*>(lParam);
    if (pRec->iType == EMR_EXTTEXTOUTW)
    {
        auto* r = reinterpret_cast<const EMREXTTEXTOUTW*>(pRec);
        auto* w = reinterpret_cast<const WCHAR*>(reinterpret_cast<const BYTE*>(r) + r->emrtext.offString);
        std::string s;
        for (DWORD i = 0; i < r->emrtext.nChars; i++)
            s += (char)w[i];
        page.push_back({r->emrtext.ptlReference.y, s});
    }
    else if (pRec->iType == EMR_EXTTEXTOUTA)
    {
        auto* r = reinterpret_cast<const EMREXTTEXTOUTA*>(pRec);
        auto* a = reinterpret_cast<const char*>(r) + r->emrtext.offString;
        page.push_back({r->emrtext.ptlReference.y, std::string(a, r->emrtext.nChars)});
    }
    return 1;
}

// A view of its document's store that records what each page printed.
class CPrintTestView : public TWKEditView
{
public:
    std::vector<Page> pages;
    TWKEdit* GetEdit() override
    {
        CPrintTestDoc* pDoc = static_cast<CPrintTestDoc*>(GetDocument());
        return pDoc ? &pDoc->m_edit : NULL;
    }
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override
    {
        HDC hEmf = ::CreateEnhMetaFileA(pDC->m_hDC, NULL, NULL, NULL);
        CDC dc;
        dc.Attach(hEmf);
        TWKEditView::OnPrint(&dc, pInfo);
        dc.Detach();
        HENHMETAFILE h = ::CloseEnhMetaFile(hEmf);
        Page page;
        ::EnumEnhMetaFile(NULL, h, CollectTexts, &page, NULL);
        ::DeleteEnhMetaFile(h);
        std::stable_sort(page.begin(), page.end(), [](const Text& a, const Text& b) { return a.y < b.y; });
        pages.push_back(page);
    }
};

void SetPageSetup(const char* header, const char* footer, int headerTime = 0, int footerTime = 0)
{
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileString("PageSetup", "Header", header);
    pApp->WriteProfileString("PageSetup", "Footer", footer);
    pApp->WriteProfileInt("PageSetup", "HeaderTime", headerTime);
    pApp->WriteProfileInt("PageSetup", "FooterTime", footerTime);
}

class EditPrint : public ::testing::Test
{
protected:
    CWnd host;
    CPrintTestDoc* pDoc = nullptr;
    CPrintTestView* pView = nullptr;
    CDC dc;

    void SetUp() override
    {
        SetPageSetup("", "");
        host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400, NULL, NULL);
        pDoc = new CPrintTestDoc;
        pDoc->m_bAutoDelete = FALSE;
        pDoc->m_edit.m_strFontName = "Courier New";
        pDoc->m_edit.m_nFontSize = 10;
        CCreateContext ctx;
        ctx.m_pCurrentDoc = pDoc;
        pView = new CPrintTestView;
        ASSERT_TRUE(pView->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &host, AFX_IDW_PANE_FIRST, &ctx));
        pView->OnInitialUpdate();
        ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
    }
    void TearDown() override
    {
        host.DestroyWindow();   // the view goes with it
        delete pDoc;
    }
    void SetText(const std::string& text)
    {
        vt::SetStoreText(&pDoc->m_edit, text);
        pView->InitView();
    }
    // Runs the print loop; returns the page count it announced.
    UINT Print()
    {
        pView->pages.clear();
        CPrintInfo info;
        pView->PrintTo(&dc, &info);
        return info.GetMaxPage();
    }
    int CharsPerRow()
    {
        HGDIOBJ old = ::SelectObject(dc.m_hDC, pView->GetFont()->GetSafeHandle());
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(dc.m_hDC, &tm);
        ::SelectObject(dc.m_hDC, old);
        return ::GetDeviceCaps(dc.m_hDC, HORZRES) / tm.tmAveCharWidth - 1;
    }
    // Lines per page for the current settings (from a one-line run).
    int LinesPerPage()
    {
        SetText("x");
        Print();
        return pView->m_nPrintLinesPerPage;
    }
    static std::vector<std::string> Body(const Page& page, bool header, bool footer)
    {
        std::vector<std::string> out;
        for (size_t i = header ? 1 : 0; i + (footer ? 1 : 0) < page.size(); i++)
            out.push_back(page[i].s);
        return out;
    }
};

std::string Lines(int from, int to)
{
    std::string s;
    for (int i = from; i <= to; i++)
        s += "line " + std::to_string(i) + (i < to ? "\r\n" : "");
    return s;
}

TEST_F(EditPrint, PaginationPlacesLinesRowsAndLongLines)
{
    const int lpp = LinesPerPage();
    const int cpr = CharsPerRow();
    ASSERT_GT(lpp, 4);

    // Short lines: full pages.
    SetText(Lines(1, 2 * lpp + 3));
    EXPECT_EQ(3u, Print());
    ASSERT_EQ(3u, pView->pages.size());
    EXPECT_EQ((std::vector<UINT>{1, (UINT)lpp + 1, 2 * (UINT)lpp + 1}),
              std::vector<UINT>(pView->m_arrPageStarts.GetData(), pView->m_arrPageStarts.GetData() + 3));
    EXPECT_EQ("line 1", pView->pages[0][0].s);
    EXPECT_EQ((size_t)lpp, pView->pages[0].size());
    EXPECT_EQ("line " + std::to_string(2 * lpp + 3), pView->pages[2].back().s);

    // A line of two rows on the last row of page 1 moves to page 2.
    std::string text = Lines(1, lpp - 1) + "\r\n" + std::string(cpr + 5, 'w') + "\r\nafter";
    SetText(text);
    EXPECT_EQ(2u, Print());
    EXPECT_EQ((UINT)lpp, pView->m_arrPageStarts[1]);
    ASSERT_EQ(2u, pView->pages.size());
    EXPECT_EQ((size_t)lpp - 1, pView->pages[0].size());
    EXPECT_EQ((std::vector<std::string>{std::string(cpr, 'w'), "wwwww", "after"}), Body(pView->pages[1], false, false));

    // A line longer than a page goes on over the next pages.
    std::string longLine;
    for (int r = 0; r < lpp + 3; r++)
        longLine += std::string(cpr, (char)('A' + r % 26));
    SetText("first\r\n" + longLine + "\r\nlast");
    EXPECT_EQ(3u, Print());
    ASSERT_EQ(3u, pView->pages.size());
    EXPECT_EQ((std::vector<std::string>{"first"}), Body(pView->pages[0], false, false));
    EXPECT_EQ((size_t)lpp, pView->pages[1].size());
    EXPECT_EQ(std::string(cpr, 'A'), pView->pages[1][0].s);
    EXPECT_EQ(std::string(cpr, (char)('A' + lpp % 26)), pView->pages[2][0].s) << "page 3 starts inside the line";
    EXPECT_EQ(4u, pView->pages[2].size());
    EXPECT_EQ("last", pView->pages[2].back().s);
    EXPECT_EQ((UINT)lpp, pView->m_arrPageRows[2]);
}

TEST_F(EditPrint, HeaderAndFooterTakeTheirRowsAndTinyPagesPrintNothing)
{
    const int bare = LinesPerPage();
    SetPageSetup("head", "Page: &p");
    const int framed = LinesPerPage();
    int h = pView->m_nPrintLineHeight;
    const int height = ::GetDeviceCaps(dc.m_hDC, VERTRES);
    EXPECT_EQ(height / h, bare);
    EXPECT_EQ((height - 2 * (h + 2 * (h / 4))) / h, framed) << "a margin each";
    SetText(Lines(1, framed + 1));
    EXPECT_EQ(2u, Print());
    ASSERT_EQ(2u, pView->pages.size());
    EXPECT_EQ("head", pView->pages[1].front().s);
    EXPECT_EQ("Page: 2", pView->pages[1].back().s);
    EXPECT_EQ((std::vector<std::string>{"line " + std::to_string(framed + 1)}), Body(pView->pages[1], true, true));

    // Fewer than one line per page: no page at all.
    pDoc->m_edit.m_nFontSize = 600;
    SetText(Lines(1, 3));
    ASSERT_GT(pView->m_nLineHeight, ::GetDeviceCaps(dc.m_hDC, VERTRES) / 2);
    EXPECT_EQ(0u, Print());
    EXPECT_EQ(0, pView->m_nPrintLinesPerPage);
    EXPECT_TRUE(pView->pages.empty());
}

TEST_F(EditPrint, TheSystemFontPaginatesWithThePrintersFont)
{
    LOGFONTA lf = {};
    ::GetObjectA(::GetStockObject(SYSTEM_FONT), sizeof lf, &lf);
    pDoc->m_edit.m_strFontName = lf.lfFaceName;
    SetText(Lines(1, 5));
    EXPECT_EQ(1u, Print());
    EXPECT_EQ(nullptr, pView->m_hPrinterFont);
    TEXTMETRICA tm = {};
    ::GetTextMetricsA(dc.m_hDC, &tm);
    EXPECT_EQ(tm.tmHeight + tm.tmExternalLeading, pView->m_nPrintLineHeight);
    ASSERT_EQ(1u, pView->pages.size());
    EXPECT_EQ(5u, pView->pages[0].size());
}

TEST_F(EditPrint, HeaderAndFooterTexts)
{
    vt::TempDir dir;
    std::string path = dir.Write("a.asm", "x");
    // Saved yesterday at noon.
    SYSTEMTIME st = {};
    ::GetLocalTime(&st);
    CTime noon(st.wYear, st.wMonth, st.wDay, 12, 0, 0);
    CTime yesterday(noon.GetTime() - 24 * 3600);
    FILETIME ftLocal = {}, ft = {};
    SYSTEMTIME sy = {};
    yesterday.GetAsSystemTime(sy);
    ::SystemTimeToFileTime(&sy, &ftLocal);
    ::LocalFileTimeToFileTime(&ftLocal, &ft);
    HANDLE hf = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ::SetFileTime(hf, NULL, NULL, &ft);
    ::CloseHandle(hf);

    pDoc->SetPathName(path.c_str(), FALSE);
    SetText(Lines(1, 3));
    SetPageSetup("&f %c", "Page: &p", 0, 1);
    Print();
    ASSERT_EQ(1u, pView->pages.size());
    EXPECT_EQ(yesterday.GetTime(), pView->m_timeHeader.GetTime()) << "file time";
    EXPECT_EQ(path + " " + (LPCSTR)yesterday.Format("%c"), pView->pages[0].front().s);
    EXPECT_LE(std::abs((long long)(pView->m_timeFooter.GetTime() - CTime::GetCurrentTime().GetTime())), 5) << "system time";

    SetPageSetup("&f %c", "", 1, 0);
    Print();
    EXPECT_LE(std::abs((long long)(pView->m_timeHeader.GetTime() - CTime::GetCurrentTime().GetTime())), 5);
    EXPECT_EQ(path + " " + (LPCSTR)pView->m_timeHeader.Format("%c"), pView->pages[0].front().s);

    // The templates on their own.
    OEPageSetupDlg& d = pView->m_dlgPageSetup;
    struct Case { const char* what; const char* tmpl; const char* path; int page; std::string want; } cases[] = {
        {"page number", "Page: &p", "C:\\a.asm", 3, "Page: 3"},
        {"only the first &p", "&p of &p", "C:\\a.asm", 3, "3 of &p"},
        {"only the first &f", "&f|&f", "C:\\a.asm", 1, "C:\\a.asm|&f"},
        {"untitled: nothing for &f", "[&f]", NULL, 1, "[]"},
        {"a path holding %", "&f %Y", "C:\\100%done\\a%d.asm", 1,
         std::string("C:\\100%done\\a%d.asm ") + (LPCSTR)noon.Format("%Y")},
    };
    for (const Case& c : cases)
    {
        d.m_strHeader = c.tmpl;
        CString got;
        d.GetHeaderText(got, noon, c.path, c.page);
        EXPECT_EQ(c.want, (LPCSTR)got) << c.what;
        d.m_strFooter = c.tmpl;
        d.GetFooterText(got, noon, c.path, c.page);
        EXPECT_EQ(c.want, (LPCSTR)got) << c.what;
    }

    // An untitled document prints its title and the current time.
    CPrintTestDoc untitled;
    untitled.m_bAutoDelete = FALSE;
    untitled.SetTitle("Text7");
    pView->m_pDocument = &untitled;
    vt::SetStoreText(&untitled.m_edit, "x");
    pView->InitView();
    SetPageSetup("&f", "");
    Print();
    pView->m_pDocument = pDoc;
    pView->InitView();
    ASSERT_EQ(1u, pView->pages.size());
    EXPECT_EQ("Text7", pView->pages[0].front().s);
    EXPECT_LE(std::abs((long long)(pView->m_timeHeader.GetTime() - CTime::GetCurrentTime().GetTime())), 5);
}

TEST_F(EditPrint, ASelectionIsOfferedAndPrintsUpToItsEnd)
{
    SetText(Lines(1, 10));
    TWKEdit& e = pDoc->m_edit;
    pView->m_bSelection = TRUE;
    pView->m_pSelStartLine = e.GetLine(3);
    pView->m_nSelStartCol = 2;
    pView->m_pSelEndLine = e.GetLine(5);
    pView->m_nSelEndCol = 2;
    {
        vt::ModalAnswerer answerer(IDCANCEL);
        CPrintInfo info;
        pView->OnPreparePrinting(&info);
        EXPECT_FALSE(info.m_pPD->m_pd.Flags & PD_NOSELECTION);
        EXPECT_TRUE(info.m_pPD->m_pd.Flags & PD_SELECTION);
    }
    pView->m_bPrintSelection = TRUE;
    EXPECT_EQ(1u, Print());
    ASSERT_EQ(1u, pView->pages.size());
    EXPECT_EQ((std::vector<std::string>{"line 3", "line 4", "line 5"}), Body(pView->pages[0], false, false));

    // A gutter click selects to column 0 of the next line: one line prints.
    pView->m_pSelStartLine = e.GetLine(3);
    pView->m_nSelStartCol = 0;
    pView->m_pSelEndLine = e.GetLine(4);
    pView->m_nSelEndCol = 0;
    pView->m_bPrintSelection = TRUE;
    Print();
    ASSERT_EQ(1u, pView->pages.size());
    EXPECT_EQ((std::vector<std::string>{"line 3"}), Body(pView->pages[0], false, false));

    // Choosing All prints every line.
    pView->m_bPrintSelection = FALSE;
    Print();
    EXPECT_EQ(10u, pView->pages[0].size());
    pView->m_bSelection = FALSE;
    pView->m_pSelStartLine = pView->m_pSelEndLine = NULL;
}

struct EnableProbe : CCmdUI
{
    int enabled = -1;
    void Enable(BOOL bOn) override { enabled = bOn; }
};

TEST_F(EditPrint, PageSetupCommandWritesTheSettingsOnOkOnly)
{
    TWKEditCtrl ctrl;
    vt::CtrlHost ctrlHost(&ctrl);
    for (CWnd* pWnd : {(CWnd*)pView, (CWnd*)&ctrl})
    {
        SCOPED_TRACE(pWnd == pView ? "view" : "control");
        EnableProbe probe;
        probe.m_nID = ID_TWK_PAGESETUP;
        probe.DoUpdate(pWnd, FALSE);
        EXPECT_EQ(1, probe.enabled);

        CWinApp* pApp = AfxGetApp();
        pApp->WriteProfileString("PageSetup", "Header", NULL);
        vt::ModalAnswerer answerer(IDCANCEL);
        pWnd->SendMessage(WM_COMMAND, ID_TWK_PAGESETUP);
        ASSERT_EQ(1u, answerer.Count());
        EXPECT_EQ("Page Setup", answerer.Last().caption);
        EXPECT_STREQ("<none>", pApp->GetProfileString("PageSetup", "Header", "<none>"));

        answerer.Queue(IDOK);
        pWnd->SendMessage(WM_COMMAND, ID_TWK_PAGESETUP);
        ASSERT_EQ(2u, answerer.Count());
        EXPECT_EQ(IDOK, answerer.Last().answer);
        EXPECT_STREQ("&f %c", pApp->GetProfileString("PageSetup", "Header", "<none>"));
    }
}

} // namespace
