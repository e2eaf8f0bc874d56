#include "ide/debugger/ResPreview.h"
#include "components/include/PreviewInterface.h"
#include "ide/workbench/AsmIDE.h"
#include "resources/ideres.h"
#include "support/config/CUPath.h"

BEGIN_MESSAGE_MAP(C_ResPreviewDlg, CDialog)
    ON_BN_CLICKED(IDC_PREVIEW_PLAY, OnPlay)
    ON_BN_CLICKED(IDC_PREVIEW_STOP, OnStop)
    ON_BN_CLICKED(IDC_PREVIEW_EDIT, OnEdit)
    ON_CBN_SELCHANGE(IDC_PREVIEW_RECENT, OnSelChange)
    ON_WM_HSCROLL()
    ON_MESSAGE(PREVIEW_WM_PROGRESS_1, OnProgress)
    ON_MESSAGE(PREVIEW_WM_PROGRESS_2, OnProgress)
    ON_MESSAGE(PREVIEW_WM_PROGRESS_3, OnProgress)
END_MESSAGE_MAP()

C_ResPreviewDlg::C_ResPreviewDlg(LPCSTR pszConfigPath)
    : m_strConfigPath(pszConfigPath), m_recent(0, "Recent Preview File List", "PreviewFile%d", 20, 30)
{
    m_recent.ReadList();
}

C_ResPreviewDlg::~C_ResPreviewDlg()
{
    m_recent.WriteList();
    delete m_pActions;
}

void C_ResPreviewDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_PREVIEW_RECENT, m_comboRecent);
    DDX_Control(pDX, IDC_PREVIEW_EDIT, m_btnEdit);
    DDX_Control(pDX, IDC_PREVIEW_PLAY, m_btnPlay);
    DDX_Control(pDX, IDC_PREVIEW_STOP, m_btnStop);
    DDX_Control(pDX, IDC_PREVIEW_SLIDER, m_slider);
    DDX_Control(pDX, IDC_PREVIEW_POSITION, m_textPos);
}

BOOL C_ResPreviewDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ReloadActions();
    m_bmpEdit.LoadBitmap(IDB_PREVIEW_EDIT);
    m_bmpPlay.LoadBitmap(IDB_PREVIEW_PLAY);
    m_bmpStop.LoadBitmap(IDB_PREVIEW_STOP);
    m_btnEdit.SetBitmap((HBITMAP)m_bmpEdit.GetSafeHandle());
    m_btnPlay.SetBitmap((HBITMAP)m_bmpPlay.GetSafeHandle());
    m_btnStop.SetBitmap((HBITMAP)m_bmpStop.GetSafeHandle());
    m_slider.SetRange(0, 100, FALSE);
    FillCombo();
    UpdateControls();
    return TRUE;
}

C_ResourceAction* C_ResPreviewDlg::Actions()
{
    if (!m_pActions)
        ReloadActions();
    return m_pActions;
}

void C_ResPreviewDlg::ReloadActions()
{
    delete m_pActions;   // stops a preview of its own first
    m_pActions = new C_ResourceAction(m_hWnd);
    m_pActions->Load(m_strConfigPath);
}

BOOL C_ResPreviewDlg::CanEdit(LPCSTR pszPath)
{
    return Actions()->CanEdit(pszPath);
}

BOOL C_ResPreviewDlg::CanPreview(LPCSTR pszPath)
{
    return Actions()->CanPreview(pszPath);
}

BOOL C_ResPreviewDlg::EditFile(LPCSTR pszPath)
{
    return Actions()->Edit(pszPath);
}

BOOL C_ResPreviewDlg::IsPreviewWindowHidden(LPCSTR pszPath)
{
    return Actions()->IsPreviewWindowHidden(pszPath);
}

void C_ResPreviewDlg::FillCombo()
{
    m_comboRecent.ResetContent();
    for (int i = 0; i < m_recent.GetSize(); ++i) {
        if (m_recent[i].IsEmpty())
            break;
        m_comboRecent.AddString((LPCSTR)C_CUPath(m_recent[i]).GetFileName());
    }
    if (m_comboRecent.GetCount() > 0)
        m_comboRecent.SetCurSel(0);
}

CString C_ResPreviewDlg::SelectedFile()
{
    int nSel = m_comboRecent.GetCurSel();
    return nSel >= 0 && nSel < m_recent.GetSize() ? m_recent[nSel] : CString();
}

void C_ResPreviewDlg::UpdateControls()
{
    CString strFile = SelectedFile();
    BOOL bSelected = !strFile.IsEmpty();
    m_btnEdit.EnableWindow(bSelected && Actions()->CanEdit(strFile));
    m_btnPlay.EnableWindow(bSelected && Actions()->CanPreview(strFile) && !m_bPlaying);
    m_btnStop.EnableWindow(m_bPlaying);
    m_slider.EnableWindow(!m_bPlaying);
    m_comboRecent.EnableWindow(!m_bPlaying);
}

void C_ResPreviewDlg::ShowPosition(int nPos)
{
    CString strText;
    strText.Format("%d%%", nPos);
    m_textPos.SetWindowText(strText);
}

BOOL C_ResPreviewDlg::PlayFile(LPCSTR pszPath, int nStart)
{
    BOOL bStarted = Actions()->Preview(pszPath, nStart);
    if (bStarted) {
        m_bPlaying = TRUE;
        m_recent.Add(pszPath);
        FillCombo();
        UpdateControls();
    }
    return bStarted;
}

void C_ResPreviewDlg::OnPlay()
{
    CString strFile = SelectedFile();
    if (strFile.IsEmpty())
        return;
    int nStart = m_slider.GetPos();
    PlayFile(strFile, nStart == 100 ? 0 : nStart);
}

void C_ResPreviewDlg::OnStop()
{
    Actions()->StopPreview();
    m_bPlaying = FALSE;
    UpdateControls();
}

void C_ResPreviewDlg::OnEdit()
{
    CString strFile = SelectedFile();
    if (strFile.IsEmpty())
        return;
    m_recent.Add(strFile);
    FillCombo();
    Actions()->Edit(strFile);
}

void C_ResPreviewDlg::OnSelChange()
{
    UpdateControls();
}

LRESULT C_ResPreviewDlg::OnProgress(WPARAM wParam, LPARAM lParam)
{
    if (wParam != PREVIEW_PROGRESS)
        return 0;
    int nPos = lParam > 100 ? 100 : (int)lParam;
    m_slider.SetPos(nPos);
    ShowPosition(nPos);
    if (nPos == 100) {
        m_bPlaying = FALSE;
        UpdateControls();
    }
    return 0;
}

void C_ResPreviewDlg::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (pScrollBar && pScrollBar->m_hWnd == m_slider.m_hWnd)
        ShowPosition(m_slider.GetPos());
    CDialog::OnHScroll(nSBCode, nPos, pScrollBar);
}

// ---- the bar

BEGIN_MESSAGE_MAP(C_IDEResPreviewBar, TWKControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

C_IDEResPreviewBar::C_IDEResPreviewBar() : m_dlg(CString(g_szAppDir) + "ZIDE.cfg") {}

int C_IDEResPreviewBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (TWKControlBar::OnCreate(lpcs) == -1)
        return -1;
    if (!m_dlg.Create(IDD_PREVIEW_RESOURCE, this))
        return -1;
    PlaceDialog();
    m_dlg.ShowWindow(SW_SHOW);
    return 0;
}

void C_IDEResPreviewBar::PlaceDialog()
{
    if (!::IsWindow(m_dlg.m_hWnd))
        return;
    CRect rc;
    GetInsideRect(rc);
    m_dlg.SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void C_IDEResPreviewBar::OnSize(UINT nType, int cx, int cy)
{
    PlaceDialog();
    TWKControlBar::OnSize(nType, cx, cy);
}

void C_IDEResPreviewBar::OnContextMenu(CWnd* pWnd, CPoint point)
{
    if (pWnd == this) {
        if (CWnd* pMain = AfxGetMainWnd())
            pMain->SendMessage(WM_CONTEXTMENU, (WPARAM)m_hWnd, MAKELPARAM(point.x, point.y));
        return;
    }
    TWKControlBar::OnContextMenu(pWnd, point);
}
