// The output window: the docked "Output Window" bar (C_MessageBar) holding a
// tab window (C_MessageWnd) with the pages "Build", "Find in Files" and
// "Result" (C_MessageCtrl), one line per output record, coloured by kind.
#pragma once
#include "afx/afx.h"
#include "framework/controls/tabs/TWKTabWnd.h"
#include "framework/frames/TWKControlBar.h"
#include "ide/output/IndicatorEditCtrl.h"
#include "support/ui/CUMsgHandler.h"

// A page asks the main window to open a record's file at its line (wParam 1,
// lParam the page's record).
#define WM_OUTPUT_NAVIGATE (WM_USER + 8737)

// Child ids.
#define IDW_OUTPUT_TABS          0xE900
#define IDW_OUTPUT_BUILD         59648
#define IDW_OUTPUT_FINDINFILES   59649
#define IDW_OUTPUT_RESULT        59650

// Pages of the tab window, as flag bits and as tab indexes.
enum { OUTPUT_PAGE_BUILD = 0, OUTPUT_PAGE_FINDINFILES = 1, OUTPUT_PAGE_RESULT = 2 };
enum { OUTPUT_PAGES_ALL = 7 };

// A page keeps at most this many lines.
constexpr int OUTPUT_MAX_LINES = 8192;

// The records of one page, one per line, in line order; owned by the page.
typedef CTypedPtrList<CPtrList, tagMessageRecord*> C_MessageRecordList;

// Told of each record a page drops (its line limit, Clear) that carries a
// receiver word, so that what the receiver keeps for it goes too; may be NULL.
extern void (*g_pfnOutputRecordDropped)(tagMessageRecord* pRecord);

// The log of every line added on any page since the last kind-10 record.
extern CString g_strMessageLog;
extern BOOL g_bMessageLog;

class C_MessageWnd;

class C_MessageCtrl : public C_IndicatorEditCtrl
{
    DECLARE_DYNAMIC(C_MessageCtrl)
public:
    // Colour of each line: entry n-1 belongs to line n. Kept as a ring, so
    // that dropping the oldest line moves nothing.
    class C_IDEEditLineColorList
    {
    public:
        struct Entry { BOOL bSet; COLORREF cr; };
        C_IDEEditLineColorList();
        virtual ~C_IDEEditLineColorList();
        COLORREF m_crDefault = RGB(0, 0, 0);
        int m_nSize = OUTPUT_MAX_LINES;
        // Line nLine's entry (1 to the size).
        Entry& At(int nLine) { return m_pEntries[(m_nFirst + nLine - 1) % m_nSize]; }
        // The colour line nLine is painted in.
        COLORREF Color(int nLine) { return nLine < 1 || nLine > m_nSize || !At(nLine).bSet ? m_crDefault : At(nLine).cr; }
        // Every line takes the colour of the line after it; the last is free.
        void DropFirst();
        void Reset();
    private:
        Entry* m_pEntries;
        int m_nFirst = 0;
    };

    explicit C_MessageCtrl(C_MessageWnd* pOwner = nullptr);
    ~C_MessageCtrl() override;

    BOOL Create(CWnd* pParent, UINT nID);

    // Text of a line: with mode 1 "file : text" (not for kind 1 or without a file), else the text.
    static CString FormatLine(const tagMessageRecord* pRec, int nMode);
    // Colour of a kind's lines.
    static COLORREF KindColor(int nKind);

    void Clear(BOOL bEmptyText);
    BOOL HasSelection();
    BOOL IsEmpty() const { return m_records.IsEmpty(); }
    int GetLineCountShown() const { return m_nLines; }
    C_MessageRecordList& GetRecords() { return m_records; }
    C_IDEEditLineColorList& GetColors() { return m_colors; }
    // The text of line nLine (from 1) without its line end; empty outside the text.
    CString GetLineText(int nLine);
    // The engine's select all and copy, for the frame's commands.
    void SelectAllText() { SelectAll(TRUE); }
    int CopySelection() { return CopyToClipboard(); }
    // Searches the text from the caret as the engine's Find Next does.
    BOOL FindTextFromCaret(LPCSTR pszText, BOOL bMatchCase) { return FindText(pszText, bMatchCase); }

    // Engine operations.
    void ShowContextMenu(CWnd* pWnd, CPoint point) override;
    void OnCaretMoved() override;
    CScrollBar* GetScrollBarCtrl(int nBar) const override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    HWND m_hNotify = nullptr;

protected:
    C_MessageWnd* m_pOwner;
    C_MessageRecordList m_records{ 10 };
    int m_nLines = 0;
    CString m_strLogPath;
    C_IDEEditLineColorList m_colors;
    // Line numbers are behind after the oldest line went; made current
    // before anything reads them.
    BOOL m_bRenumber = FALSE;
    TWKEditLine* m_pLastLine = nullptr;   // the newest record's line
    // A flood of records invalidates the page once until its paint.
    BOOL m_bPaintPending = FALSE;
public:
    // Within a run of records the caret and its status pane follow once, at
    // the run's end: each update asks the window system several times.
    void DeferCaret(BOOL bDefer);
protected:
    BOOL m_bDeferCaret = FALSE;
    BOOL m_bCaretPending = FALSE;

    void AddRecord(const tagMessageRecord* pRec);
    void WriteLog();
    void DropOldestLine();
    void AppendLine(const CString& strLine, BOOL bFirst);
    void UpdateVertBar();
    void PaintLines(CDC* pDC);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg LRESULT OnAddMessage(WPARAM wParam, LPARAM lParam);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnClear();
    DECLARE_MESSAGE_MAP()
};

class C_MessageWnd : public TWKTabWnd
{
    DECLARE_DYNAMIC(C_MessageWnd)
public:
    explicit C_MessageWnd(DWORD dwPageFlags = OUTPUT_PAGES_ALL);
    ~C_MessageWnd() override;

    C_MessageCtrl m_wndBuild;
    C_MessageCtrl m_wndFindInFiles;
    C_MessageCtrl m_wndResult;
    DWORD m_nPageFlags;

    // Tabs, fonts and the first page shown, after the window exists.
    void InitTabs();
    void RefreshLayout();
    void SetPageScrollInfo(int nBar, CWnd* pPage, SCROLLINFO* pInfo, BOOL bRedraw);
    C_MessageCtrl* GetActivePage() const;
    // The page with tab index nPage; NULL when it has no window.
    C_MessageCtrl* GetPageByIndex(int nPage);
    void ShowPage(C_MessageCtrl* pPage);
    // Between these, records reach their pages but only the last one's page
    // comes to the front, at the end: a run of records switches tabs once.
    void BeginRecordBatch();
    void EndRecordBatch();

protected:
    CFont m_fontTabs;
    int m_nBatch = 0;
    C_MessageCtrl* m_pBatchPage = nullptr;   // the page to show when the batch ends

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg LRESULT OnRecord(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNavigate(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnWindowPosChanging(WINDOWPOS* pPos);
    void FocusActivePage();
    DECLARE_MESSAGE_MAP()
};

class C_MessageBar : public TWKControlBar
{
    DECLARE_DYNAMIC(C_MessageBar)
public:
    explicit C_MessageBar(DWORD dwPageFlags = OUTPUT_PAGES_ALL);
    ~C_MessageBar() override;

    C_MessageWnd m_wndTabs;

    // The active page's operations, for the frame's Copy and Select All.
    void Copy();
    void SelectAll();
    BOOL HasFocus();
    BOOL IsActivePageEmpty();
    BOOL HasActiveSelection();
    C_MessageRecordList* GetBuildRecordList() { return &m_wndTabs.m_wndBuild.GetRecords(); }

    C_MessageCtrl* GetBuildPage() { return &m_wndTabs.m_wndBuild; }
    C_MessageCtrl* GetFindInFilesPage() { return &m_wndTabs.m_wndFindInFiles; }
    C_MessageCtrl* GetResultPage() { return &m_wndTabs.m_wndResult; }
    C_MessageCtrl* GetActivePage() const { return m_wndTabs.GetActivePage(); }
    void ActivatePage(int nPage);
    void ActivatePage(CWnd* pPage);
    void ScrollToPage(int nPage) { m_wndTabs.ScrollToTab(nPage); }
    void RefreshLayout() { m_wndTabs.RefreshLayout(); }
    void BeginRecordBatch() { m_wndTabs.BeginRecordBatch(); }
    void EndRecordBatch() { m_wndTabs.EndRecordBatch(); }

    void AddContextMenuItems(CMenu*) override {}
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnRecord(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnNavigate(WPARAM wParam, LPARAM lParam);
    afx_msg void OnClear();
    DECLARE_MESSAGE_MAP()
};
