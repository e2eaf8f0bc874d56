#include "ide/workbench/IDETreeCtrl.h"
#include "ide/workbench/MainFrm.h"
#include "ide/workbench/ProjectMgrPtr.h"

using namespace IDETreeCode;

BEGIN_MESSAGE_MAP(C_IDETreeCtrl, TWKTreeCtrl)
    ON_WM_CREATE()
    ON_WM_CONTEXTMENU()
    ON_WM_MOUSEMOVE()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

C_IDETreeCtrl::C_IDETreeCtrl(I_IDETreeOwner* pOwner) : m_pOwner(pOwner) {}

C_IDETreeCtrl::~C_IDETreeCtrl()
{
    delete m_pLabelFont;
}

int C_IDETreeCtrl::OnCreate(LPCREATESTRUCT lpcs)
{
    if (TWKListBaseC::OnCreate(lpcs) == -1)
        return -1;
    m_pLabelFont = new CFont;
    if (!m_pLabelFont->CreateFont(-15, 0, 0, 0, 400, 0, 0, 0, 0, 5, 0, 0, 0, "System")) {
        delete m_pLabelFont;
        m_pLabelFont = NULL;
    } else {
        SetItemFont(m_pLabelFont);
    }
    EnableLabelTips(TRUE);
    return 0;
}

void C_IDETreeCtrl::InitImageList(UINT nBitmapID, int nCount, int nGrow)
{
    m_nImageBase = nCount;
    m_imageList.Create(23, 19, ILC_COLOR24 | ILC_MASK, nCount, nGrow);
    m_imageList.SetBkColor(::GetSysColor(COLOR_WINDOW));
    CBitmap bitmap;
    if (bitmap.LoadBitmap(nBitmapID))
        m_imageList.Add(&bitmap, RGB(255, 255, 255));
    SetImageList(&m_imageList, TVSIL_NORMAL);
}

int C_IDETreeCtrl::GetIconImageIndex(LPCSTR pszIconName)
{
    CString strName = pszIconName ? pszIconName : "";
    int k = 0;
    for (POSITION pos = m_iconNames.GetHeadPosition(); pos; ++k)
        if (m_iconNames.GetNext(pos) == strName)
            return m_nImageBase + k;
    CBitmap bitmap;
    // An unknown or unloadable bitmap is not remembered: the next request tries again.
    if (strName.IsEmpty() || !bitmap.LoadBitmap(strName) || m_imageList.Add(&bitmap, RGB(255, 255, 255)) < 0)
        return m_nImageBase - 1;
    int nIndex = m_nImageBase + (int)m_iconNames.GetCount();
    m_iconNames.AddTail(strName);
    return nIndex;
}

HTREEITEM C_IDETreeCtrl::InsertChildItem(HTREEITEM hParent, DWORD dwCode, LPCSTR pszText, int nImage, int nSelImage)
{
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, pszText, nImage, nSelImage, 0, 0,
                      (LPARAM)dwCode, hParent, TVI_LAST);
}

HTREEITEM C_IDETreeCtrl::InsertProjectItem(DWORD dwCode, LPCSTR pszText, int nImage, int nSelImage, HTREEITEM hAfter)
{
    return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM, pszText, nImage, nSelImage, 0, 0,
                      (LPARAM)dwCode, TVI_ROOT, hAfter);
}

static CString FileNameOf(const CString& strPath)
{
    return strPath.Mid(strPath.ReverseFind('\\') + 1);
}

void C_IDETreeCtrl::InsertFiles(HTREEITEM hParent, I_CUStringList* pFiles, DWORD dwParentCode)
{
    if (!pFiles)
        return;
    CMainFrame* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    int nCount = pFiles->GetCount();
    for (int nFile = 1; nFile <= nCount; ++nFile) {
        CString strPath = pFiles->GetAt(nFile - 1);
        CString strIcon;
        if (pFrame)
            pFrame->GetIconNameForFile(strIcon, strPath);
        int nImage = GetIconImageIndex(strIcon);
        InsertChildItem(hParent, dwParentCode | (DWORD)(nFile & 0xFFF), FileNameOf(strPath), nImage, nImage);
    }
}

void C_IDETreeCtrl::ShowProject(I_PMProjectTree* pTree)
{
    if (!pTree)
        return;
    int nRow = m_hContext ? GetItemIndex(m_hContext) : -1;
    m_hExpanded = NULL;
    m_hContext = NULL;

    CString strCaption = pTree->GetCaption() ? pTree->GetCaption() : "";
    CString strCaptionRest = strCaption.Mid(8);
    HTREEITEM hTop = GetRootItem();
    int nSlot = 0;
    for (; nSlot < IDETREE_MAX_PROJECTS && m_pProjects[nSlot]; ++nSlot, hTop = hTop ? GetNextSiblingItem(hTop) : NULL) {
        if (!hTop)
            continue;
        CString strName = FileNameOf(GetItemText(hTop).Mid(8));
        int nDot = strName.ReverseFind('.');
        CString strTitle = nDot >= 0 ? strName.Left(nDot) : strName;
        if (strCaptionRest.CompareNoCase(strTitle) == 0 || strCaptionRest.CompareNoCase(strName) == 0)
            break;
    }
    if (nSlot == IDETREE_MAX_PROJECTS)
        return;
    HTREEITEM hAfter = TVI_LAST;
    if (hTop) {
        HTREEITEM hPrev = GetPrevSiblingItem(hTop);
        DeleteItem(hTop);
        // The first node replaced stays first, so nodes and slots keep in step.
        hAfter = hPrev ? hPrev : TVI_FIRST;
    }
    int nProject = nSlot + 1;
    DWORD dwProject = Make(nProject, 0, 0, 0);
    HTREEITEM hProject = InsertProjectItem(dwProject, strCaption, IDETREE_IMAGE_PROJECT, IDETREE_IMAGE_PROJECT, hAfter);
    if (!hProject)
        return;

    pTree->ResetFolders();
    int nFolder = 0;
    while (I_PMFolder* pFolder = pTree->GetNextFolder()) {
        ++nFolder;
        if (!pFolder->IsVisible())
            continue;
        DWORD dwFolder = Make(nProject, nFolder, 0, 0);
        HTREEITEM hFolder =
            InsertChildItem(hProject, dwFolder, pFolder->GetName(), IDETREE_IMAGE_FOLDER, IDETREE_IMAGE_FOLDER);
        if (!hFolder)
            continue;
        C_CUStringList names;
        GetFolderFileList(pFolder, &names);
        I_CUElementList<I_CUStringList*>* pLists = pFolder->GetSubFolders();
        int nLists = pLists ? pLists->GetCount() : 0;
        int nSub = 1;
        for (int i = 0; i < names.GetCount() && i < nLists; ++i) {
            CString strName = names.GetAt(i);
            I_CUStringList* pFiles = NULL;
            if (!pLists->GetAt(i, &pFiles, NULL))
                continue;
            DWORD dwSub = dwFolder | Make(0, 0, nSub, 0);
            HTREEITEM hSub = InsertChildItem(hFolder, dwSub, strName, IDETREE_IMAGE_FOLDER, IDETREE_IMAGE_FOLDER);
            if (!hSub)
                continue;
            ++nSub;
            InsertFiles(hSub, pFiles, dwSub);
        }
        InsertFiles(hFolder, pFolder->GetFiles(), dwFolder);
    }
    I_CUStringList* pRoot = pTree->GetRootFiles();
    if (pRoot) {
        int nCount = pRoot->GetCount();
        for (int nFile = 1; nFile <= nCount; ++nFile) {
            CString strPath = pRoot->GetAt(nFile - 1);
            InsertChildItem(hProject, dwProject | (DWORD)(nFile & 0xFFF), FileNameOf(strPath),
                            IDETREE_IMAGE_ROOT_FILE, IDETREE_IMAGE_ROOT_FILE);
        }
    }
    ExpandAll(hProject);
    m_pProjects[nSlot] = pTree;
    m_hContext = nRow >= 0 ? GetItemAtIndex(nRow) : NULL;
}

void C_IDETreeCtrl::ClearTree()
{
    for (auto& p : m_pProjects)
        p = NULL;
    DeleteAllItems();
    m_hContext = m_hExpanded = NULL;
    m_strSavedLabel.Empty();
}

I_PMFolder* C_IDETreeCtrl::GetItemFolder(HTREEITEM hItem, int* pnSubFolder)
{
    DWORD dwCode = GetItemCode(hItem);
    if (!hItem || FolderOf(dwCode) == 0)
        return NULL;
    if (pnSubFolder)
        *pnSubFolder = SubFolderOf(dwCode) - 1;
    I_PMProjectTree* pTree = GetProjectTree(ProjectOf(dwCode) - 1);
    return pTree ? pTree->GetFolder(FolderOf(dwCode) - 1) : NULL;
}

CString C_IDETreeCtrl::GetItemPath(HTREEITEM hItem)
{
    char szPath[PM_PATH_SIZE] = "";
    DWORD dwCode = GetItemCode(hItem);
    int nSub = -1;
    if (I_PMFolder* pFolder = GetItemFolder(hItem, &nSub)) {
        pFolder->GetFilePath(nSub, FileOf(dwCode) - 1, szPath);
    } else if (hItem) {
        if (I_PMProjectTree* pTree = GetProjectTree(ProjectOf(dwCode) - 1))
            pTree->GetRootFilePath(FileOf(dwCode) - 1, szPath);
    }
    szPath[PM_PATH_SIZE - 1] = 0;
    return CString(szPath);
}

void C_IDETreeCtrl::RestoreExpandedLabel()
{
    if (m_hExpanded) {
        SetItemText(m_hExpanded, m_strSavedLabel);
        RedrawItem(m_hExpanded, FALSE, TRUE, FALSE, TRUE);
    }
    m_hExpanded = NULL;
}

void C_IDETreeCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    UINT nHit = 0;
    HTREEITEM hHit = HitTest(point.x, point.y, &nHit);
    if (!hHit || !(nHit & TVHT_ONITEMLABEL)) {
        RestoreExpandedLabel();
    } else if (hHit != m_hExpanded) {
        RestoreExpandedLabel();
        m_hExpanded = hHit;
        m_strSavedLabel = GetItemText(hHit);
        DWORD dwCode = GetItemCode(hHit);
        CString strLong;
        Kind kind = KindOf(dwCode);
        if (kind == File)
            strLong = GetItemPath(hHit);
        else if (kind == Project && m_pOwner)
            strLong.Format("Project %s%s.wbi", (LPCSTR)m_pOwner->GetProjectFolder(),
                           (LPCSTR)m_pOwner->GetProjectName());
        if (!strLong.IsEmpty() && strLong != m_strSavedLabel) {
            SetItemText(hHit, strLong);
            RedrawItem(hHit, FALSE, TRUE, FALSE, TRUE);
        }
    }
    m_hContext = hHit;
    TWKListBaseC::OnMouseMove(nFlags, point);
}

void C_IDETreeCtrl::OnContextMenu(CWnd*, CPoint)
{
    HTREEITEM hKeep = m_hContext;
    SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(0, 0));
    m_hContext = hKeep;
}

void C_IDETreeCtrl::OnVScroll(UINT nCode, UINT nPos, CScrollBar* pBar)
{
    if (pBar)
        TWKListBaseC::OnVScroll(nCode, nPos, pBar);
}

BOOL C_IDETreeCtrl::DestroyWindow()
{
    if (m_imageList.GetSafeHandle()) {
        m_imageList.Remove(-1);
        m_imageList.DeleteImageList();
    }
    m_iconNames.RemoveAll();
    return TWKTreeCtrl::DestroyWindow();
}
