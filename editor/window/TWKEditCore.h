// The editing window: one class template over the framework's CWnd (the
// control flavour) and CView (the view flavour). It shows the text of one
// store, owns the caret, selection, scroll position, font and gutter brush,
// and paints everything itself. The member bodies live in
// TWKEditCoreImpl.h, compiled once per flavour; users include this header.
#pragma once
#include "afx/afx.h"
#include "editor/editorres.h"
#include "editor/store/TWKEdit.h"
#include "editor/window/OEPageSetupDlg.h"

class OEFindReplaceDlg;
struct TWKEditFindRequest;
struct TWKEditSearchInfo;

// The hint object of update hint 22590: the line the change concerns.
class TWKEditHint : public CObject
{
    DECLARE_DYNAMIC(TWKEditHint)
public:
    explicit TWKEditHint(TWKEditLine* pLine = NULL) : m_pLine(pLine) {}
    TWKEditLine* m_pLine;
};

// The drag of a selection started in this process: its editing window
// while the system's drag loop runs, else NULL.
struct TWKEditDragState
{
    CWnd* m_pSource = NULL;
};
TWKEditDragState& TWKEditGetDragState();

// Size of the painter's line and class buffers: the column limit and a NUL.
constexpr int TWK_LINE_BUFFER = TWK_MAX_COLUMNS + 1;

// Draws one expanded line at (x, y) from column nFirstCol, coloured by the
// store's rules when bColour is set (see TWKEditCore::DrawLineText). With
// prcRow (coloured only) the line's cells are drawn opaque to the row's
// height and the row's blank rest to its right edge, in the background colour.
int TWKEditDrawLineText(TWKEdit* pEdit, TWKEditLine* pLine, LPSTR pszText, int nLength, int nFirstCol,
                        int nMaxChars, BOOL bColour, CDC* pDC, int x, int y, const RECT* prcRow = NULL);

template <class Base>
class TWKEditCore : public Base
{
public:
    TWKEditCore();
    ~TWKEditCore() override;

    // --- members, in this order right after the base ---
    CSplitterWnd* m_pSplitter;         // view flavour: the dynamic splitter holding this pane
    int m_nSplitRow;
    int m_nSplitCol;
    BOOL m_bInScroll;                  // a scroll handler runs
    LPSTR m_pszFindSelection;          // owned (malloc)
    OEPageSetupDlg m_dlgPageSetup;
    TWKEditLine* m_pAnchorLine;
    int m_nAnchorCol;
    HACCEL m_hAccel;
    CBrush m_brGutter;
    BOOL m_bFound;
    TWKEditLine* m_pTopLine;
    TWKEditLine* m_pCaretLine;
    OEFindReplaceDlg* m_pFindDlg;      // not owned
    OEFindReplaceDlg* m_pReplaceDlg;   // not owned
    BOOL m_bFindDlgOpen;
    BOOL m_bReplaceDlgOpen;
    BOOL m_bWrapSearch;
    int m_nTopLine;
    int m_nCaretLine;
    int m_nCaretCol;
    int m_nFirstCol;
    int m_nSelMode;                    // 1 stream, 2 column
    BOOL m_bSelection;
    TWKEditLine* m_pSelStartLine;
    int m_nSelStartCol;
    TWKEditLine* m_pSelEndLine;
    int m_nSelEndCol;
    RECT m_rcClient;
    int m_nCharWidth;
    int m_nLineHeight;
    int m_nVScrollScale;
    BOOL m_bUpdate;
    BOOL m_bMouseSelecting;
    UINT_PTR m_nTimerID;
    BOOL m_bSkipTimerTick;
    POINT m_ptMouse;
    BOOL m_bCaretCreated;
    RECT m_rcAvoid;                    // screen coordinates
    CFont m_font;
    int m_nTextLeft;
    HFONT m_hPrinterFont;
    HFONT m_hOwnPrinterFont;
    int m_nPrintLinesPerPage;
    int m_nPrintLineHeight;
    CTime m_timeHeader;
    CTime m_timeFooter;
    BOOL m_bPrintSelection;

    // --- framework overrides ---
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    // --- the engine's virtual operations, in their order ---
    virtual COleDataSource* CreateDataSource();
    virtual BOOL DoDragDrop(COleDataSource* pSource, CLIPFORMAT cfFormat, HGLOBAL hGlobal);
    virtual CDocument* GetActiveDocument();
    virtual COLORREF GetGutterColor(COLORREF crBackground);
    virtual void EnsureCaretVisible();
    virtual void LoadFindSettings(OEFindReplaceDlg* pDlg);
    virtual int ReportErrorFormat(int nID, LPCSTR pszArg, BOOL bShow);
    virtual int ReportError(int nID, BOOL bShow);
    virtual void DrawGutterMarks(CDC* pDC, LPRECT pRect, TWKEditLine* pLine);
    virtual void OnDraw(CDC* pDC);
    virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
    virtual void UpdateViews(CWnd* pSender, LPARAM lHint, CObject* pHint);
    virtual BOOL BuildContextMenu(CMenu* pMenu);
    virtual void ShowContextMenu(CWnd* pWnd, CPoint point);
    virtual void ProcessChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave();
    virtual int InsertText(LPCSTR pszText, int nLength);
    virtual BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    virtual BOOL DragSelection();
    virtual TWKEdit* GetEdit();
    virtual int InitView();
    virtual void OnCaretMoved();
    virtual void PositionCaret();
    virtual void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    virtual int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
    virtual int GetScrollPos(int nBar);
    virtual void GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos);
    virtual int InsertNewLine(BOOL bRedraw, BOOL bUndo);
    virtual int ClearSelection(BOOL bRedraw);
    virtual int MoveCaretTo(TWKEditPos* pPos, int nSelectCols, BOOL bRedraw);
    virtual BOOL GetSelectionOrWord(CString& strText);

    // --- painting building blocks ---
    // Expands tabs ("Show tabs" from the store) into a buffer of
    // TWK_LINE_BUFFER bytes; stops at the buffer. 0 (nothing written) for 0.
    int ExpandTabs(LPCSTR pszSource, LPSTR pszDest, int nLength, int nTabSize, int nLineEndLen);
    int DrawLineText(TWKEdit* pEdit, TWKEditLine* pLine, LPSTR pszText, int nLength, int nFirstCol,
                     int nMaxChars, BOOL bColour, CDC* pDC, int x, int y)
    { return TWKEditDrawLineText(pEdit, pLine, pszText, nLength, nFirstCol, nMaxChars, bColour, pDC, x, y); }
    // 1 with the selected columns of the line (expanded length nLength).
    int GetLineSelection(TWKEditLine* pLine, int nLength, int* pnStart, int* pnCount);
    // The rows that meet rcPaint, as a paint draws them (into any DC).
    void PaintRows(CDC& dc, const RECT& rcPaint);
    // A line's own background and default text colour; FALSE keeps the store's colours.
    virtual BOOL GetLinePaintColors(TWKEditLine*, COLORREF*, COLORREF*) { return FALSE; }

    // --- font ---
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    void SetFontIndirect(const LOGFONTA* pLogFont);
    CFont* GetFont() { return &m_font; }

    // --- lines and scrolling ---
    void ValidateLines(TWKEditLine* pLine);
    int SetTopLine(int nLine, BOOL bRedraw);
    int UpdateLineCount();
    int ScrollLineUp(BOOL bRedraw);
    int ScrollLineDown(BOOL bRedraw);
    int ScrollPageUp(BOOL bRedraw);
    int ScrollPageDown(BOOL bRedraw);
    void CenterLine(TWKEditLine* pLine);
    int GetTextLength();
    void Refresh();
    int GetBookmarkCount();

    // --- caret movement: 0 or the string id of the edge reached (never shown) ---
    int MoveCaretDown(BOOL bRedraw);
    int MoveCaretUp(BOOL bRedraw);
    int MoveCaretLeft(BOOL bRedraw);
    int MoveCaretLineStart(BOOL bRedraw);
    int MoveCaretLineEnd(BOOL bRedraw);
    int MoveCaretPageUp(BOOL bRedraw);
    int MoveCaretPageDown(BOOL bRedraw);
    int MoveCaretToTop(BOOL bRedraw);
    int MoveCaretToBottom(BOOL bRedraw);
    int MoveCaretWordLeft(BOOL bRedraw);
    int MoveCaretWordRight(BOOL bRedraw);
    // Column c fitted to the caret line, and one step left or right of it.
    int ClampCaretColumn(int nCol);
    int PrevCaretColumn(int nCol);
    int NextCaretColumn(int nCol);
    // Caret to a line (clamped to the text) and column, scrolled into view.
    int GoToLine(int nLine);
    int GoToLineColumn(int nLine, int nCol);

    // --- selection ---
    int BeginSelection(int nMode, int nUnused);
    int ExtendSelection(BOOL bRedraw);
    void InvertSelection();
    int ClearSelectionMarks();
    int GetSelection(TWKEditPos* pStart, TWKEditPos* pEnd, BOOL* pbColumn);
    int SelectAll(BOOL bRedraw);
    // 1 when (pA, nColA) lies at or before (pB, nColB); also with a NULL line.
    int IsPosBefore(TWKEditLine* pA, int nColA, TWKEditLine* pB, int nColB);
    int SetSelection(TWKEditPos* pStart, TWKEditPos* pEnd, BOOL bColumn);
    int SelectWord(BOOL bRedraw);
    int SelectLeft(int nMode, BOOL bRedraw);
    int SelectRight(int nMode, BOOL bRedraw);
    int SelectEnd(int nMode, BOOL bRedraw);
    int SelectWordLeft(int nMode, BOOL bRedraw);
    int SelectWordRight(int nMode, BOOL bRedraw);
    int SelectPageUp(int nMode, BOOL bRedraw);
    int SelectPageDown(int nMode, BOOL bRedraw);
    int SelectToTop(int nMode, BOOL bRedraw);

    // --- typing and editing: 0 or a message id ---
    int DeleteSelection(BOOL bRedraw, BOOL bUndo);
    int DeleteColumnBlock(BOOL bRedraw, BOOL bUndo);
    int Delete(BOOL bRedraw, BOOL bUndo);
    int Backspace(BOOL bRedraw, BOOL bUndo);
    int JoinLines(BOOL bRedraw, BOOL bUndo);
    int Tab(BOOL bRedraw, BOOL bUndo);
    int BackTab(BOOL bRedraw, BOOL bUndo);
    // A command that changes the text: nothing on a read-only text, a refusal reported.
    void RunWritingCommand(int (TWKEditCore::*pfnCommand)(BOOL bRedraw, BOOL bUndo));
    int IndentLines(BOOL bUnindent, BOOL bRedraw, BOOL bUndo);
    int AdvanceCaret(BOOL bRedraw);
    // One column right, wrapping to the next line's start at the column limit.
    void StepCaretRight(BOOL bRedraw, BOOL bRedrawLineStep);
    void FindIndent(BOOL bUndo);
    static BOOL IsCommentDelimiterChar(TWKEdit* pEdit, char ch);
    // A one-line text at the caret, replacing the selection; the store's
    // refusal is returned and the caret then stays.
    int InsertString(LPCSTR pszText, BOOL bRedraw, BOOL bUndo);
    void SetText(LPCSTR pszText);
    int MergeFile(LPCSTR pszPath);

    // --- clipboard: 0 or a message id ---
    int CopyToClipboard(BOOL bUnused1 = TRUE, BOOL bUnused2 = TRUE);
    int CopyColumnBlock(BOOL bUnused1 = TRUE, BOOL bUnused2 = TRUE);
    int PasteClipboard(BOOL bRedraw, BOOL bUndo);
    int PasteColumnBlock(BOOL bRedraw, BOOL bUndo);
    BOOL InsertTextBlock(LPCSTR pszText, BOOL bColumn, BOOL bUndo);
    void GetSelectedText(CString& strText, BOOL* pbColumn);

    // --- mouse ---
    // Caret to the text under a client point; 22584 before InitView.
    int SetCaretFromPoint(int x, int y);
    // 1 when a client point lies on the selection.
    int IsPointInSelection(int x, int y);
    // Where a context menu opens, in screen coordinates: the menu key's
    // (-1, -1) opens it at the window's corner and leaves the caret; a click
    // puts the caret under the point first.
    CPoint PrepareContextMenu(CPoint point);
    // Set while a mouse move inside a window of this flavour is applied.
    static BOOL s_bInMouseMove;

    // --- find and replace ---
    // Finds the text from the caret as Find Next does (an empty text opens
    // the Find dialog); the text becomes the first of the find history.
    BOOL FindText(LPCSTR pszText, BOOL bMatchCase, BOOL bUnused = FALSE);
    // Bookmarks every line holding a match; the caret to the first one.
    void MarkAll(TWKEditSearchInfo* pInfo);
    void SaveFindDialogRect(OEFindReplaceDlg* pDlg);
    void SaveFindSettings(OEFindReplaceDlg* pDlg);
    void SaveReplaceHistory(OEFindReplaceDlg* pDlg);
    void AddFindHistory(CString strText);
    // An empty text becomes "<OE empty string>" in the caller's string.
    void AddReplaceHistory(CString& strText);
    // Replaces every match from the start of the text, each in an undo group
    // of its own, the caret after the last; the number of matches (0: the
    // caret stays where it was).
    int ReplaceAll(LPCSTR pszFind, LPCSTR pszReplace, DWORD dwFlags);

    // --- message handlers (the flavours' maps name them) ---
    afx_msg void OnEditFind();
    afx_msg void OnEditReplace();
    afx_msg void OnFindNext();
    afx_msg void OnUpdateEditFind(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditReplace(CCmdUI* pCmdUI);
    afx_msg void OnUpdateFindNext(CCmdUI* pCmdUI);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSelectUp();
    afx_msg void OnSelectLeft();
    afx_msg void OnSelectDown();
    afx_msg void OnSelectEnd();
    afx_msg void OnSelectHome();
    afx_msg void OnSelectPageDown();
    afx_msg void OnSelectWordLeft();
    afx_msg void OnSelectPageUp();
    afx_msg void OnSelectRight();
    afx_msg void OnSelectWordRight();
    afx_msg void OnSelectToBottom();
    afx_msg void OnSelectToTop();
    afx_msg void OnSelectAll();
    afx_msg void OnUpdateSelectAll(CCmdUI* pCmdUI);
    afx_msg void OnDown();
    afx_msg void OnUp();
    afx_msg void OnLeft();
    afx_msg void OnRight();
    afx_msg void OnPageUp();
    afx_msg void OnPageDown();
    afx_msg void OnHome();
    afx_msg void OnEnd();
    afx_msg void OnTopOfFile();
    afx_msg void OnBottomOfFile();
    afx_msg void OnWordLeft();
    afx_msg void OnWordRight();
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg LRESULT OnFindReplace(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPageSetup();
    afx_msg void OnUpdatePageSetup(CCmdUI* pCmdUI);
    afx_msg void OnEditClear();
    afx_msg void OnBackspace();
    afx_msg void OnTab();
    afx_msg void OnBackTab();
    afx_msg void OnToggleInsert();
    afx_msg void OnUpdateIndicatorOvr(CCmdUI* pCmdUI);
    afx_msg void OnEditUndo();
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    afx_msg void OnEditRedo();
    afx_msg void OnUpdateEditRedo(CCmdUI* pCmdUI);
    afx_msg void OnEditCut();
    afx_msg void OnUpdateEditCut(CCmdUI* pCmdUI);
    afx_msg void OnEditCopy();
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    afx_msg void OnEditPaste();
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnToggleBookmark();
    afx_msg void OnUpdateToggleBookmark(CCmdUI* pCmdUI);
    afx_msg void OnNextBookmark();
    afx_msg void OnUpdateNextBookmark(CCmdUI* pCmdUI);
    afx_msg void OnPrevBookmark();
    afx_msg void OnUpdatePrevBookmark(CCmdUI* pCmdUI);
    afx_msg void OnClearBookmarks();
    afx_msg void OnUpdateClearBookmarks(CCmdUI* pCmdUI);

protected:
    // Rows and columns wholly visible.
    int VisibleRows() const { return m_nLineHeight ? m_rcClient.bottom / m_nLineHeight : 0; }
    int VisibleCols() const { return m_nCharWidth ? m_rcClient.right / m_nCharWidth : 0; }
    // Sets the font and takes its metrics (line height = gutter width).
    void TakeFont(const LOGFONTA& lf);
    // Reads (bSet 0) or writes the info of a bar: the splitter's shared bar
    // standing in for it, else the window's own. The underlying call's result.
    int AccessBar(int nBar, SCROLLINFO* pInfo, BOOL bSet, BOOL bRedraw = FALSE);
    int BarScale(int nBar) const { return nBar == SB_VERT ? m_nVScrollScale : 1; }
    void ScrollHorizontalTo(int nFirstCol);
    // Moves the top line up to nLines lines down (negative: up); FALSE when
    // it could not move at all.
    BOOL MoveTopLine(int nLines);
    // One line up (-1) or down (1), moving the window's pixels.
    int ScrollOneLine(int nDirection, BOOL bRedraw);
    // Byte offset where a line's text ends (its line end left out), and
    // that offset's display column.
    int TextEnd(TWKEditLine* pLine);
    int LineEndColumn(TWKEditLine* pLine);
    BOOL IsWordByte(char ch);
    // The Down (1) or Up (-1) steps; announces.
    int StepCaretLine(int nDirection, BOOL bRedraw);
    int MoveCaretRight(BOOL bRedraw);
    // Caret and top line to the first line, or to the last line shown as the
    // bottom row; column and first column 0. Renumbers first.
    void PlaceAtFirstLine();
    void PlaceAtLastLine();
    void AnnounceScroll() { UpdateViews(this, TWK_HINT_SCROLL, NULL); }
    // A selection command: marks the old caret with dwMark, moves, marks the
    // new caret with the other mark, extends.
    void SelectMove(DWORD dwMark, int (TWKEditCore::*pfnMove)(BOOL), int nMode, BOOL bRedraw);
    // Ends a selection before a movement command.
    void EndSelectionForCommand() { if (m_bSelection) ClearSelection(m_bUpdate); }
    // Shows the selection's visible part inverted (focus lost: it goes away).
    void InvertSelection(CDC* pDC);

    // --- editing helpers ---
    TWKEditPos CaretPos();
    // Both ends set and apart (same line and column count as together).
    BOOL HasAnchoredRange() const;
    // The caret line's width as an insertion at the caret finds it: the
    // line end counted, and a caret right of the text filled up to first.
    int CaretLineWidth();
    static BOOL IsPrimaryButtonDown();
    void RepaintCaretLine(BOOL bUpdateNow);
    // After one character changed: all of the window when it may change
    // the colouring of other lines, else the caret line.
    void RepaintForChar(char ch, BOOL bUpdateNow);
    void InvalidateFromRow(int nRow);
    // A selection flag without anything anchored ends before typing.
    void EndEmptySelection();
    // The lines below the caret line are about to be joined to it: the top
    // line must not be the one that goes.
    void KeepTopLineForJoin();
    void AnnounceLines();
    // Caret to the start (Undo) or the end (Redo) of a change just replayed.
    void PlaceAfterReplay(const TWKEditUndoRecord* pRec, BOOL bRedo);
    // The selection as clipboard text (the column marker in front for a
    // column selection); NULL when there is no range or no memory.
    LPSTR MakeClipboardText(BOOL bColumn);
    static int PutOnClipboard(HWND hWnd, LPCSTR pszText);
    // Reads CF_TEXT: a heap copy, or NULL with *pnCode set.
    static LPSTR ReadClipboardText(HWND hWnd, int* pnCode);
    int PasteBlockText(LPCSTR pszBlock, int nLength, BOOL bRedraw, BOOL bUndo);
    int PasteLinesText(LPCSTR pszText, int nLength, BOOL bRedraw, BOOL bUndo);
    // Puts the caret on a line by number, scrolling as SetSelection does.
    void PlaceForSelection(TWKEditPos* pPos);
    void GoToBookmark(TWKEditLine* pLine);
    // The character cell under a client point, counted from the first
    // visible column and the top line.
    void PointToCell(int x, int y, int* pnCol, int* pnRow);
    void PlaceCaretAtPoint(int x, int y);
    // Line marks for the stretch the caret moved over; FALSE when it stayed.
    BOOL MarkCaretStep(TWKEditLine* pOldLine, int nOldLineNo, int nOldCol);
    // Capture, autoscroll timer and the first tick skipped.
    void StartMouseTracking();
    // Find steps: one position on (the next line at a line end; FALSE at
    // the end of the text); a search that passes over a match of length 0
    // where it started; a search from the caret that may wrap (2 when it
    // found after wrapping).
    BOOL StepPastPos(TWKEditPos* pPos);
    int FindStep(TWKEditPos* pPos, TWKEditPos limit, TWKEditSearchInfo* pInfo);
    int FindFromCaret(TWKEditSearchInfo* pInfo, BOOL bWrap, TWKEditPos* pFound);
    void SelectMatch(TWKEditPos pos, int nLen);
    void CaretToSelectionEnd(BOOL bForward);
    BOOL FindNextFromProfile(BOOL bFindText);
    void OpenFindDialog(BOOL bReplace);
    void CloseFindDialog();
    void BuildFindRequest(TWKEditFindRequest* pReq, LPCSTR pszFind, DWORD dwFlags);
    void BuildDialogRequest(OEFindReplaceDlg* pDlg, TWKEditFindRequest* pReq);
    LPSTR CopySelectionText();
    void DialogFindStep(OEFindReplaceDlg* pDlg, BOOL bReplaceAfter);
    void DialogReplaceStep(OEFindReplaceDlg* pDlg);
    void DialogReplaceAll(OEFindReplaceDlg* pDlg);
    void DeleteMatch(TWKEditPos pos, int nLen);
    // Whether a replacement of nInsert bytes keeps the line's width plus
    // the text below the column limit.
    BOOL ReplacementFits(TWKEditLine* pLine, int nInsert);
    int MarkMatches(TWKEditSearchInfo* pInfo);
    // A move drop from an editing window of this process.
    template <class SourceBase>
    void TakeMovedSelection(TWKEditCore<SourceBase>* pSource);
};

// Text of the column-block clipboard marker and the offset of its block.
constexpr char TWK_COLUMN_MARKER[] = "*TWKEdit Column Block*";
constexpr int TWK_COLUMN_MARKER_LEN = 22;
constexpr int TWK_COLUMN_BLOCK_START = 24;
// The text is a column block: at least the marker's 22 bytes, beginning with it.
BOOL TWKEditIsColumnBlock(LPCSTR pszText, int nLength);

// Message-map entries both flavours route to the core (after their own).
#define TWKEDIT_CORE_MESSAGES(nFindReplaceMsg)                                                    \
    ON_WM_PAINT()                                                                               \
    ON_WM_SIZE()                                                                                \
    ON_WM_VSCROLL()                                                                             \
    ON_WM_HSCROLL()                                                                             \
    ON_WM_CHAR()                                                                                \
    ON_WM_SETCURSOR()                                                                           \
    ON_WM_LBUTTONDOWN()                                                                         \
    ON_WM_LBUTTONUP()                                                                           \
    ON_WM_MOUSEMOVE()                                                                           \
    ON_WM_LBUTTONDBLCLK()                                                                       \
    ON_WM_TIMER()                                                                               \
    { WM_CONTEXTMENU, 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Sig_v_wnd_pt, ShowContextMenu) }, \
    ON_REGISTERED_MESSAGE(nFindReplaceMsg, OnFindReplace)                                       \
    ON_COMMAND(ID_EDIT_FIND, OnEditFind)                                                        \
    ON_COMMAND(ID_EDIT_REPLACE, OnEditReplace)                                                  \
    ON_COMMAND(ID_TWK_FINDNEXT, OnFindNext)                                                     \
    ON_UPDATE_COMMAND_UI(ID_EDIT_FIND, OnUpdateEditFind)                                        \
    ON_UPDATE_COMMAND_UI(ID_EDIT_REPLACE, OnUpdateEditReplace)                                  \
    ON_UPDATE_COMMAND_UI(ID_TWK_FINDNEXT, OnUpdateFindNext)                                     \
    ON_COMMAND(ID_TWK_PAGESETUP, OnPageSetup)                                                   \
    ON_COMMAND(ID_TWK_DOWN, OnDown)                                                             \
    ON_COMMAND(ID_TWK_UP, OnUp)                                                                 \
    ON_COMMAND(ID_TWK_LEFT, OnLeft)                                                             \
    ON_COMMAND(ID_TWK_RIGHT, OnRight)                                                           \
    ON_COMMAND(ID_TWK_PAGEUP, OnPageUp)                                                         \
    ON_COMMAND(ID_TWK_PAGEDOWN, OnPageDown)                                                     \
    ON_COMMAND(ID_TWK_HOME, OnHome)                                                             \
    ON_COMMAND(ID_TWK_END, OnEnd)                                                               \
    ON_COMMAND(ID_TWK_TOPOFFILE, OnTopOfFile)                                                   \
    ON_COMMAND(ID_TWK_BOTTOMOFFILE, OnBottomOfFile)                                             \
    ON_COMMAND(ID_TWK_WORDLEFT, OnWordLeft)                                                     \
    ON_COMMAND(ID_TWK_WORDRIGHT, OnWordRight)                                                   \
    ON_COMMAND(ID_TWK_SELECTUP, OnSelectUp)                                                     \
    ON_COMMAND(ID_TWK_SELECTLEFT, OnSelectLeft)                                                 \
    ON_COMMAND(ID_TWK_SELECTDOWN, OnSelectDown)                                                 \
    ON_COMMAND(ID_TWK_SELECTEND, OnSelectEnd)                                                   \
    ON_COMMAND(ID_TWK_SELECTHOME, OnSelectHome)                                                 \
    ON_COMMAND(ID_TWK_SELECTPAGEDOWN, OnSelectPageDown)                                         \
    ON_COMMAND(ID_TWK_SELECTWORDLEFT, OnSelectWordLeft)                                         \
    ON_COMMAND(ID_TWK_SELECTPAGEUP, OnSelectPageUp)                                             \
    ON_COMMAND(ID_TWK_SELECTRIGHT, OnSelectRight)                                               \
    ON_COMMAND(ID_TWK_SELECTWORDRIGHT, OnSelectWordRight)                                       \
    ON_COMMAND(ID_TWK_SELECTTOBOTTOM, OnSelectToBottom)                                         \
    ON_COMMAND(ID_TWK_SELECTTOTOP, OnSelectToTop)                                               \
    ON_COMMAND(ID_TWK_SELECTALL, OnSelectAll)                                                   \
    ON_UPDATE_COMMAND_UI(ID_TWK_SELECTALL, OnUpdateSelectAll)                                   \
    ON_UPDATE_COMMAND_UI(ID_TWK_PAGESETUP, OnUpdatePageSetup)                                   \
    ON_COMMAND(ID_EDIT_CLEAR, OnEditClear)                                                      \
    ON_COMMAND(ID_TWK_BACKSPACE, OnBackspace)                                                   \
    ON_COMMAND(ID_TWK_TAB, OnTab)                                                               \
    ON_COMMAND(ID_TWK_BACKTAB, OnBackTab)                                                       \
    ON_COMMAND(ID_INDICATOR_OVR, OnToggleInsert)                                                \
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_OVR, OnUpdateIndicatorOvr)                                \
    ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)                                                        \
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)                                        \
    ON_COMMAND(ID_EDIT_REDO, OnEditRedo)                                                        \
    ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)                                        \
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)                                                          \
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateEditCut)                                          \
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)                                                        \
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateEditCopy)                                        \
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)                                                      \
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)                                      \
    ON_COMMAND(ID_TWK_TOGGLEBOOKMARK, OnToggleBookmark)                                         \
    ON_UPDATE_COMMAND_UI(ID_TWK_TOGGLEBOOKMARK, OnUpdateToggleBookmark)                         \
    ON_COMMAND(ID_TWK_NEXTBOOKMARK, OnNextBookmark)                                             \
    ON_UPDATE_COMMAND_UI(ID_TWK_NEXTBOOKMARK, OnUpdateNextBookmark)                             \
    ON_COMMAND(ID_TWK_PREVBOOKMARK, OnPrevBookmark)                                             \
    ON_UPDATE_COMMAND_UI(ID_TWK_PREVBOOKMARK, OnUpdatePrevBookmark)                             \
    ON_COMMAND(ID_TWK_CLEARBOOKMARKS, OnClearBookmarks)                                         \
    ON_UPDATE_COMMAND_UI(ID_TWK_CLEARBOOKMARKS, OnUpdateClearBookmarks)

extern template class TWKEditCore<CWnd>;
extern template class TWKEditCore<CView>;
