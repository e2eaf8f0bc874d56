// The engine's document view adapted to the workbench: its own fixed-pitch
// font, the caret position in the status bar, the active flag the clipboard
// commands ask, gutter repainting, reset after a reload, and its own find and
// replace driver over the engine's dialogs.
#pragma once
#include "editor/window/TWKEditView.h"

class CAsmIDEDoc;
class CMainFrame;
class OEFindReplaceDlg;

// Shared by all source views: the match a dialog's find selected, which a
// following Replace replaces, and its replacement text.
extern BOOL g_bMatchPending;
extern CString g_strPendingReplace;

// Fits a path into the main window's width divided by nDivisor, with an
// ellipsis in the middle of the path.
void ShortenPathToWidth(CString& strPath, int nDivisor);

class C_IDEEditView : public TWKEditView
{
    DECLARE_DYNCREATE(C_IDEEditView)
public:
    C_IDEEditView();
    ~C_IDEEditView() override;

    // The font's character set for the system language ("0411" Japanese: 128).
    static BYTE CharSetForLanguage(LPCSTR lpszLanguage);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    void OnDraw(CDC* pDC) override;
    void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CPreviewView* pView) override;
    int InitView() override;
    void OnCaretMoved() override;

    void SetPCLine(int nLine);
    void InvalidateGutter();
    void ResetAfterReload();
    BOOL IsActive() const { return m_bActive; }

    CMainFrame* m_pMainFrame = nullptr;
    BOOL m_bActive = FALSE;
    CFont* m_pFont = nullptr;

    // Find and replace (IDEEditViewFind.cpp).
    afx_msg LRESULT OnFindReplace(WPARAM wParam, LPARAM lParam);
    afx_msg void OnFindNext();
    // Find Next with an empty history asks for a text: never disabled.
    afx_msg void OnUpdateFindNext(CCmdUI* pCmdUI);

protected:
    // A marker line of the document (<= 0: none), the caret to it, the gutter repainted.
    void SetMarkerLine(int CAsmIDEDoc::*pnDocLine, int nLine);
    // The search of the dialog's Find, Replace current and Replace All.
    void DialogFind(OEFindReplaceDlg* pDlg, TWKEditFindRequest* pReq, BOOL bReplaceAfter);
    void DialogReplace(OEFindReplaceDlg* pDlg, TWKEditFindRequest* pReq, BOOL bFromFind);
    void DialogReplaceAll(OEFindReplaceDlg* pDlg);
    // Every closing: both flags and pointers cleared, the window destroyed, no match pending.
    void CloseDialog();
    // The find-text box gets the focus; Replace and Replace All enabled or not.
    void EnableReplaceButtons(OEFindReplaceDlg* pDlg, BOOL bEnable);
    // A search step that gives up on a replacement too long for its buffer.
    BOOL SearchStep(TWKEditPos* pPos, TWKEditPos limit, TWKEditSearchInfo* pInfo);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()
};

// The find text as the reports show it, and the pattern a regular
// expression too long for the dialogs' search becomes.
CString FindReportText(LPCSTR pszFind);
void ApplyRegexLengthRule(TWKEditFindRequest* pReq);
