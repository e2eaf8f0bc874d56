// Documents, views, document templates and the minimal splitter.
#pragma once
#include <windows.h>
#include "afx/wnd.h"
#include "afx/collections.h"
#include "afx/file.h"

class CDocument;
class CDocTemplate;
class CView;
class CFrameWnd;
class CPrintInfo;
class CPreviewView;
class COleDataObject;   // the OLE layer's data object
class CSplitterWnd;
struct CCreateContext;

// The OLE drop effect (DROPEFFECT_* values).
typedef DWORD DROPEFFECT;

// Pane ids: the first pane (and the MDI client), splitter panes by row and
// column, the splitter's shared scroll bars.
#define AFX_IDW_PANE_FIRST      0xE900
#define AFX_IDW_PANE_LAST       0xE9FF
#define AFX_IDW_HSCROLL_FIRST   0xEA00
#define AFX_IDW_VSCROLL_FIRST   0xEA10
#define AFX_WS_DEFAULT_VIEW     (WS_CHILD | WS_VISIBLE | WS_BORDER)

class CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    // Leaves its template's list; views still attached lose their document.
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    // Also updates the titles of the frames showing the document.
    virtual void SetTitle(LPCSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // The full path; the title becomes the file name; bAddToMRU puts the
    // path into the application's recent-file list.
    virtual void SetPathName(LPCSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    virtual POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    virtual CView* GetNextView(POSITION& rPosition) const;
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    // OnUpdate of every view except pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = NULL);
    // Called when views come and go: the last view gone closes an
    // auto-deleting document.
    virtual void OnChangedViewList();
    // Numbers the visible frames showing the document (":1", ":2" in their
    // titles; no number when there is one) and updates their titles.
    void UpdateFrameCounts();

    virtual void DeleteContents();
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCSTR lpszPathName);
    // Destroys the frames, empties the document and deletes it (auto-delete).
    virtual void OnCloseDocument();
    virtual void ReportSaveLoadException(LPCSTR lpszPathName, CException* e, BOOL bSaving, UINT nIDPDefault);
    // The file the document reads or writes; NULL (pError filled) on failure.
    virtual CFile* GetFile(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError);
    virtual void ReleaseFile(CFile* pFile, BOOL bAbort);
    // Reads or writes the whole document through an archive over the file.
    BOOL SerializeFile(LPCSTR lpszPathName, BOOL bSaving);

    // "Save changes to %1?" when modified: Yes saves (Save As for an
    // untitled document), No goes on, Cancel returns FALSE.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    // lpszPathName NULL asks for a name; bReplace makes it the document's.
    virtual BOOL DoSave(LPCSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    CPtrList m_viewList;
    BOOL m_bModified = FALSE;
    BOOL m_bAutoDelete = TRUE;
    BOOL m_bEmbedded = FALSE;

protected:
    void OnFileSave();
    void OnFileSaveAs();
    DECLARE_MESSAGE_MAP()
};

class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)
protected:
    CView();
public:
    // Leaves its document.
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    // The view's own virtuals, in this order (the editor's window template
    // overrides them by these exact signatures).
    virtual BOOL IsSelected(const CObject* pDocItem) const;
    virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);
    virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);
    virtual DROPEFFECT OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave();
    virtual BOOL OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    virtual DROPEFFECT OnDropEx(COleDataObject* pDataObject, DROPEFFECT dropDefault, DROPEFFECT dropList,
                                CPoint point);
    // Scrolls one line while the point stays within the border zone (the
    // inset), after a first delay and then once per interval.
    virtual DROPEFFECT OnDragScroll(DWORD dwKeyState, CPoint point);
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL);
    virtual void OnInitialUpdate();
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC) = 0;
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CPreviewView* pView);

    // Runs the print dialog (unless m_bDirect or preview); FALSE when cancelled.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    // The print loop behind File Print and Print Direct, on the given
    // printer DC (a NULL DC: the one the print dialog chose).
    BOOL PrintTo(CDC* pDC, CPrintInfo* pInfo);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // A splitter pane reaches the splitter's shared bars.
    CScrollBar* GetScrollBarCtrl(int nBar) const override;

    // Drag scrolling: the border zone and timing (system values 11/50/50).
    static int GetDragScrollInset();
    static int GetDragScrollDelay();
    static int GetDragScrollInterval();

    CDocument* m_pDocument = nullptr;
    // The data object of the drag in progress, set by the drop target so
    // that leaving the scroll zone can enter the drag again.
    COleDataObject* m_pDragDataObject = nullptr;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnInitialUpdateMsg(WPARAM, LPARAM);
    afx_msg void OnFilePrint();
    afx_msg void OnFilePrintPreview();
    DECLARE_MESSAGE_MAP()

    UINT m_nDragScrollCode = 0xFFFF;   // 0xFFFF: outside the border zone
    DWORD m_dwDragScrollTick = 0;
    DWORD m_dwDragScrollDelay = 0;

    friend class CDocument;
};

class CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)
protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);
public:
    ~CDocTemplate() override;

    // The seven '\n' fields of string nIDResource.
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };
    virtual BOOL GetDocString(CString& rString, enum DocStringIndex index) const;

    // Loads the document string and the shared resources (AddDocTemplate).
    virtual void LoadTemplate();
    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);
    virtual CDocument* CreateNewDocument();
    // A frame of the frame class loaded with the template's resource id,
    // whose client is a view of the view class showing pDoc.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    // NULL: a new untitled document ("<doc name><n>"). NULL on failure.
    virtual CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;

    enum Confidence { noAttempt, maybeAttemptForeign, maybeAttemptNative, yesAttemptForeign, yesAttemptNative, yesAlreadyOpen };
    // Already open, matching extension, or maybe.
    virtual Confidence MatchDocType(LPCSTR lpszPathName, CDocument*& rpDocMatch);

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
    BOOL m_bAutoDelete = TRUE;
};

class CMultiDocTemplate : public CDocTemplate
{
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass);
    // Closes nothing; destroys the shared menu.
    ~CMultiDocTemplate() override;

    void LoadTemplate() override;
    POSITION GetFirstDocPosition() const override { return m_docList.GetHeadPosition(); }
    CDocument* GetNextDoc(POSITION& rPos) const override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* OpenDocumentFile(LPCSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;

    HMENU m_hMenuShared = nullptr;
    HACCEL m_hAccelTable = nullptr;
    CPtrList m_docList;
    UINT m_nUntitledCount = 0;
};

// Only what panes rely on: the type, the dynamic style, pane lookup and the
// shared scroll bars (ids AFX_IDW_HSCROLL_FIRST + column, _VSCROLL_ + row).
#define SPLS_DYNAMIC_SPLIT 0x0001

class CSplitterWnd : public CWnd
{
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    CSplitterWnd() = default;

    // Pane (row, col) is the child with id AFX_IDW_PANE_FIRST + row * 16 + col.
    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols,
                      DWORD dwStyle = WS_CHILD | WS_VISIBLE, UINT nID = AFX_IDW_PANE_FIRST);
    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    CWnd* GetPane(int row, int col) const;
    BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol);
    // The pane with the focus, else the frame's active view when it is a pane.
    virtual CWnd* GetActivePane(int* pRow = NULL, int* pCol = NULL);
    // The shared bar for a pane's column (SB_HORZ) or row (SB_VERT); NULL when none.
    CScrollBar* GetPaneScrollBar(CWnd* pPane, int nBar) const;

    int m_nRows = 1, m_nCols = 1;
};
