// Saved bar layouts: the record's profile and archive forms, the state's
// sequences for collecting a frame's layout and for applying one to it.
#include "framework/frames/TWKDockState.h"
#include <climits>
#include <cstdlib>
#include "afx/afxres.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKControlBarManager.h"
#include "framework/frames/TWKDockBar.h"
#include "framework/frames/TWKDialogBar.h"
#include "framework/frames/TWKDockableFrame.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frames/TWKMiniDockFrameWnd.h"

namespace {

const UINT kUnsetMRUWidth = 32767;
const DWORD kPlaceHolderBit = 0x10000;

CString SectionName(LPCSTR lpszProfileName, int nIndex)
{
    CString s;
    s.Format("%s-Bar%d", lpszProfileName, nIndex);
    return s;
}

// A profile value that is absent reads as both defaults; a present one as itself.
BOOL ReadProfileInt(CWinApp* pApp, LPCSTR lpszSection, LPCSTR lpszEntry, int& nValue)
{
    int n0 = (int)pApp->GetProfileInt(lpszSection, lpszEntry, 0);
    if (n0 == 0 && (int)pApp->GetProfileInt(lpszSection, lpszEntry, 1) == 1)
        return FALSE;
    nValue = n0;
    return TRUE;
}

// Looks without creating: reading a missing registry section would make it.
BOOL ProfileSectionExists(CWinApp* pApp, LPCSTR lpszSection)
{
    if (!pApp->m_pszRegistryKey) {
        char buf[4];
        return ::GetPrivateProfileSectionA(lpszSection, buf, sizeof buf, pApp->m_pszProfileName) > 0;
    }
    HKEY hApp = pApp->GetAppRegistryKey();
    if (!hApp)
        return FALSE;
    HKEY hKey = nullptr;
    LONG r = ::RegOpenKeyExA(hApp, lpszSection, 0, KEY_READ, &hKey);
    if (r == ERROR_SUCCESS)
        ::RegCloseKey(hKey);
    ::RegCloseKey(hApp);
    return r == ERROR_SUCCESS;
}

int PositiveOrZero(UINT n)
{
    return (int)n < 1 ? 0 : (int)n;
}

BOOL IsDockBarID(UINT nID)
{
    return nID >= AFX_IDW_DOCKBAR_TOP && nID <= AFX_IDW_DOCKBAR_FLOAT;
}

// A loaded record's points follow the screen; the unset marker stays unset.
void ScaleLoadedPlace(TWKDockState* pDockState, TWKControlBarInfo* pInfo)
{
    if (!pDockState)
        return;
    if (pInfo->m_pointPos != CPoint(-1, -1))
        pDockState->ScalePoint(pInfo->m_pointPos);
    if (pInfo->m_bDocking) {
        pDockState->ScaleRectPos(pInfo->m_rectMRUDockPos);
        pDockState->ScalePoint(pInfo->m_ptMRUFloatPos);
    }
}


// A frame bar floating in its own frame (or that frame's dock bar): its
// document is not the layout's to bring back.
bool IsFloatingFrameBar(CControlBar* pBar)
{
    CWnd* pCandidate = pBar;
    if (pBar->IsDockBar()) {
        HWND hChild = pBar->m_hWnd ? ::GetWindow(pBar->m_hWnd, GW_CHILD) : nullptr;
        pCandidate = hChild ? CWnd::FromHandlePermanent(hChild) : nullptr;
    }
    if (!pCandidate || !pCandidate->IsKindOf(RUNTIME_CLASS(TWKFrameBar)))
        return false;
    CFrameWnd* pFrame = pCandidate->GetParentFrame();
    return pFrame && pFrame->IsKindOf(RUNTIME_CLASS(TWKMiniDockFrameWnd));
}
} // namespace

// ---------------------------------------------------------------------------
// The record's forms

BOOL TWKControlBarInfo::IsSkippedOnSave() const
{
    return m_bDockBar && m_bVisible && !m_bFloating && m_pointPos == CPoint(-1, -1) && m_arrBarID.GetSize() <= 1;
}

BOOL TWKControlBarInfo::SaveState(LPCSTR lpszProfileName, int nIndex)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || IsSkippedOnSave())
        return FALSE;
    CString strSection = SectionName(lpszProfileName, nIndex);
    LPCSTR s = strSection;
    pApp->WriteProfileString(s, nullptr, nullptr);

    pApp->WriteProfileInt(s, "BarID", (int)m_nBarID);
    if (!m_bVisible)
        pApp->WriteProfileInt(s, "Visible", 0);
    if (m_bFloating) {
        pApp->WriteProfileInt(s, "Horz", m_bHorz);
        pApp->WriteProfileInt(s, "Floating", 1);
    }
    if (m_pointPos.x != -1)
        pApp->WriteProfileInt(s, "XPos", m_pointPos.x);
    if (m_pointPos.y != -1)
        pApp->WriteProfileInt(s, "YPos", m_pointPos.y);
    if (m_nMRUWidth != kUnsetMRUWidth)
        pApp->WriteProfileInt(s, "MRUWidth", (int)m_nMRUWidth);
    if (m_bDocking) {
        pApp->WriteProfileInt(s, "Docking", 1);
        pApp->WriteProfileInt(s, "MRUDockID", (int)m_uMRUDockID);
        pApp->WriteProfileInt(s, "MRUDockLeftPos", m_rectMRUDockPos.left);
        pApp->WriteProfileInt(s, "MRUDockTopPos", m_rectMRUDockPos.top);
        pApp->WriteProfileInt(s, "MRUDockRightPos", m_rectMRUDockPos.right);
        pApp->WriteProfileInt(s, "MRUDockBottomPos", m_rectMRUDockPos.bottom);
        pApp->WriteProfileInt(s, "MRUFloatStyle", (int)m_dwMRUFloatStyle);
        pApp->WriteProfileInt(s, "MRUFloatXPos", m_ptMRUFloatPos.x);
        pApp->WriteProfileInt(s, "MRUFloatYPos", m_ptMRUFloatPos.y);
    }
    if (m_arrBarID.GetSize() > 1) {
        pApp->WriteProfileInt(s, "Bars", (int)m_arrBarID.GetSize());
        for (INT_PTR j = 0; j < m_arrBarID.GetSize(); j++) {
            CString strKey;
            strKey.Format("Bar#%d", (int)j);
            pApp->WriteProfileInt(s, strKey, (int)m_arrBarID[j]);
        }
    }
    pApp->WriteProfileInt(s, "Style", (int)m_dwStyle);
    pApp->WriteProfileInt(s, "ExStyle", (int)m_dwExStyle);
    pApp->WriteProfileInt(s, "PrevFloating", m_bPrevFloating);
    pApp->WriteProfileInt(s, "MDIChild", m_bMDIChild);
    if (m_bMDIChild) {
        WINDOWPLACEMENT wp = m_wpMDIChild;
        wp.length = sizeof wp;
        pApp->WriteProfileBinary(s, "MDIChildWindowPlacement", reinterpret_cast<LPBYTE>(&wp), sizeof wp);
    }
    CString strPct;
    strPct.Format("%d", TWKDockState::PctToMillionths(m_fPctWidth));
    pApp->WriteProfileString(s, "PctWidth", strPct);
    pApp->WriteProfileInt(s, "MRUFloatCX", m_sizeMRUFloat.cx);
    pApp->WriteProfileInt(s, "MRUFloatCY", m_sizeMRUFloat.cy);
    pApp->WriteProfileInt(s, "MRUHorzDockCX", m_sizeMRUHorzDock.cx);
    pApp->WriteProfileInt(s, "MRUHorzDockCY", m_sizeMRUHorzDock.cy);
    pApp->WriteProfileInt(s, "MRUVertDockCX", m_sizeMRUVertDock.cx);
    pApp->WriteProfileInt(s, "MRUVertDockCY", m_sizeMRUVertDock.cy);
    pApp->WriteProfileInt(s, "MRUDockingState", (int)m_dwMRUDockingState);
    pApp->WriteProfileInt(s, "DockingStyle", (int)m_dwDockStyle);
    pApp->WriteProfileInt(s, "TypeID", (int)m_nTypeID);
    pApp->WriteProfileString(s, "ClassName", m_strClassName);
    pApp->WriteProfileString(s, "WindowName", m_strWindowName);
    pApp->WriteProfileInt(s, "ResourceID", (int)m_nResourceID);
    if (m_pInfoEx)
        m_pInfoEx->SaveState(s);
    return TRUE;
}

BOOL TWKControlBarInfo::LoadState(LPCSTR lpszProfileName, int nIndex, TWKDockState* pDockState)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return FALSE;
    CString strSection = SectionName(lpszProfileName, nIndex);
    LPCSTR s = strSection;

    m_nBarID = pApp->GetProfileInt(s, "BarID", 0);
    m_bVisible = pApp->GetProfileInt(s, "Visible", 1) != 0;
    m_bHorz = pApp->GetProfileInt(s, "Horz", 1) != 0;
    m_bFloating = pApp->GetProfileInt(s, "Floating", 0) != 0;
    m_bDockBar = IsDockBarID(m_nBarID);
    m_pointPos.x = (int)pApp->GetProfileInt(s, "XPos", -1);
    m_pointPos.y = (int)pApp->GetProfileInt(s, "YPos", -1);
    m_nMRUWidth = pApp->GetProfileInt(s, "MRUWidth", (int)kUnsetMRUWidth);
    m_bDocking = pApp->GetProfileInt(s, "Docking", 0) != 0;
    if (m_bDocking) {
        m_uMRUDockID = pApp->GetProfileInt(s, "MRUDockID", 0);
        m_rectMRUDockPos.left = (int)pApp->GetProfileInt(s, "MRUDockLeftPos", 0);
        m_rectMRUDockPos.top = (int)pApp->GetProfileInt(s, "MRUDockTopPos", 0);
        m_rectMRUDockPos.right = (int)pApp->GetProfileInt(s, "MRUDockRightPos", 0);
        m_rectMRUDockPos.bottom = (int)pApp->GetProfileInt(s, "MRUDockBottomPos", 0);
        m_dwMRUFloatStyle = pApp->GetProfileInt(s, "MRUFloatStyle", 0);
        m_ptMRUFloatPos.x = (int)pApp->GetProfileInt(s, "MRUFloatXPos", 0);
        m_ptMRUFloatPos.y = (int)pApp->GetProfileInt(s, "MRUFloatYPos", 0);
    }
    ScaleLoadedPlace(pDockState, this);
    // A damaged count ends at the first id that is not there.
    m_arrBarID.RemoveAll();
    int nBars = (int)pApp->GetProfileInt(s, "Bars", 0);
    for (int j = 0; j < nBars; j++) {
        CString strKey;
        strKey.Format("Bar#%d", j);
        int nID;
        if (!ReadProfileInt(pApp, s, strKey, nID))
            break;
        m_arrBarID.Add((DWORD)nID);
    }

    m_dwStyle = pApp->GetProfileInt(s, "Style", 0);
    m_dwExStyle = pApp->GetProfileInt(s, "ExStyle", 0);
    m_bPrevFloating = pApp->GetProfileInt(s, "PrevFloating", 0) != 0;
    m_bMDIChild = pApp->GetProfileInt(s, "MDIChild", 0) != 0;
    m_wpMDIChild.length = 0;
    if (m_bMDIChild) {
        LPBYTE pData = nullptr;
        UINT nBytes = 0;
        if (pApp->GetProfileBinary(s, "MDIChildWindowPlacement", &pData, &nBytes) && nBytes == sizeof m_wpMDIChild) {
            memcpy(&m_wpMDIChild, pData, sizeof m_wpMDIChild);
            m_wpMDIChild.length = sizeof m_wpMDIChild;
        }
        delete[] pData;
    }
    m_fPctWidth = TWKDockState::MillionthsToPct(atoi(pApp->GetProfileString(s, "PctWidth", "")));
    m_sizeMRUFloat.cx = PositiveOrZero(pApp->GetProfileInt(s, "MRUFloatCX", 0));
    m_sizeMRUFloat.cy = PositiveOrZero(pApp->GetProfileInt(s, "MRUFloatCY", 0));
    m_sizeMRUHorzDock.cx = PositiveOrZero(pApp->GetProfileInt(s, "MRUHorzDockCX", 0));
    m_sizeMRUHorzDock.cy = PositiveOrZero(pApp->GetProfileInt(s, "MRUHorzDockCY", 0));
    m_sizeMRUVertDock.cx = PositiveOrZero(pApp->GetProfileInt(s, "MRUVertDockCX", 0));
    m_sizeMRUVertDock.cy = PositiveOrZero(pApp->GetProfileInt(s, "MRUVertDockCY", 0));
    m_dwMRUDockingState = pApp->GetProfileInt(s, "MRUDockingState", (int)m_dwMRUDockingState);
    m_dwDockStyle = pApp->GetProfileInt(s, "DockingStyle", (int)m_dwDockStyle);
    m_nTypeID = pApp->GetProfileInt(s, "TypeID", 0);
    m_strClassName = pApp->GetProfileString(s, "ClassName", "");
    m_strWindowName = pApp->GetProfileString(s, "WindowName", "");
    m_nResourceID = pApp->GetProfileInt(s, "ResourceID", (int)m_nResourceID);

    delete m_pInfoEx;
    m_pInfoEx = m_pManager ? m_pManager->CreateBarInfoEx(this) : nullptr;
    if (m_pInfoEx)
        m_pInfoEx->LoadState(s, pDockState);
    return m_nBarID != 0;
}

void TWKControlBarInfo::Serialize(CArchive& ar, TWKDockState* pDockState)
{
    SerializePlace(ar, pDockState);
    if (ar.IsStoring()) {
        ar << (DWORD)m_dwStyle << (DWORD)m_dwExStyle << (DWORD)m_bPrevFloating << (DWORD)m_bMDIChild;
        CString strPct;
        strPct.Format("%d", TWKDockState::PctToMillionths(m_fPctWidth));
        ar << strPct;
        ar << (LONG)m_sizeMRUFloat.cx << (LONG)m_sizeMRUFloat.cy << (LONG)m_sizeMRUHorzDock.cx
           << (LONG)m_sizeMRUHorzDock.cy << (LONG)m_sizeMRUVertDock.cx << (LONG)m_sizeMRUVertDock.cy;
        ar << (DWORD)m_dwMRUDockingState << (DWORD)m_dwDockStyle << (DWORD)m_nTypeID;
        if (m_pInfoEx)
            m_pInfoEx->Serialize(ar, pDockState);
        SerializeBarIDs(ar);
        return;
    }

    ScaleLoadedPlace(pDockState, this);
    DWORD dw;
    LONG x, y;
    ar >> dw; m_dwStyle = dw;
    ar >> dw; m_dwExStyle = dw;
    ar >> dw; m_bPrevFloating = dw != 0;
    ar >> dw; m_bMDIChild = dw != 0;
    m_wpMDIChild.length = 0;   // the archive keeps no placement
    CString strPct;
    ar >> strPct;
    m_fPctWidth = TWKDockState::MillionthsToPct(atoi(strPct));
    ar >> x >> y; m_sizeMRUFloat = CSize(x, y);
    ar >> x >> y; m_sizeMRUHorzDock = CSize(x, y);
    ar >> x >> y; m_sizeMRUVertDock = CSize(x, y);
    ar >> dw; m_dwMRUDockingState = dw;
    ar >> dw; m_dwDockStyle = dw;
    ar >> dw; m_nTypeID = dw;
    delete m_pInfoEx;
    m_pInfoEx = m_pManager ? m_pManager->CreateBarInfoEx(this) : nullptr;
    if (m_pInfoEx)
        m_pInfoEx->Serialize(ar, pDockState);
    SerializeBarIDs(ar);
}

// The tree form stands on the persistent tree and comes with it.
BOOL TWKControlBarInfo::LoadStateTree(TWKPersistentTreeNode*, TWKDockState*) { return FALSE; }
BOOL TWKControlBarInfo::SaveStateTree(TWKPTNFactory*, TWKPersistentTreeNode*, int) { return FALSE; }
BOOL TWKControlBarInfo::LoadBaseTree(TWKPersistentTreeNode*, TWKDockState*) { return FALSE; }
BOOL TWKControlBarInfo::LoadExTree(TWKPersistentTreeNode*) { return FALSE; }
BOOL TWKControlBarInfo::SaveBaseTree(TWKPTNFactory*, TWKPersistentTreeNode*) { return FALSE; }
BOOL TWKControlBarInfo::SaveExTree(TWKPTNFactory*, TWKPersistentTreeNode*) { return FALSE; }

// ---------------------------------------------------------------------------
// The state

IMPLEMENT_DYNCREATE(TWKDockState, CDockState)

TWKDockState::TWKDockState() : m_pManager(nullptr) {}

TWKDockState::TWKDockState(TWKControlBarManager* pManager) : m_pManager(pManager) {}

TWKDockState::~TWKDockState() = default;   // the base deletes the records

int TWKDockState::PctToMillionths(float fPct)
{
    // In double the product of a float and 1000000 is exact, so 0.95f gives 949999.
    double d = (double)fPct * (double)1000000.0f;
    if (!(d > (double)INT_MIN))
        return d != d ? 0 : INT_MIN;
    if (d >= (double)INT_MAX)
        return INT_MAX;
    return (int)d;
}

float TWKDockState::MillionthsToPct(int nMillionths)
{
    float f = (float)((double)nMillionths * (double)0.000001f);
    return f < 0.0f ? 0.0f : f;
}

TWKControlBarManager* TWKDockState::FrameManager(CFrameWnd* pFrame)
{
    if (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(TWKMDIFrameWnd)))
        return static_cast<TWKMDIFrameWnd*>(pFrame)->GetControlBarManager();
    return nullptr;
}

TWKControlBarInfo* TWKDockState::CreateBarInfo(TWKControlBarManager* pManager)
{
    return new TWKControlBarInfo(pManager);
}

CRuntimeClass* TWKDockState::FindRuntimeClass(LPCSTR lpszClassName)
{
    return CRuntimeClass::FromName(lpszClassName);
}

void TWKDockState::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (DWORD)m_dwVersion;
        if (m_dwVersion > 1) {
            CSize size = GetScreenSize();
            ar << (LONG)size.cx << (LONG)size.cy;
        }
        ar << (WORD)m_arrBarInfo.GetSize();
        for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++)
            GetInfo(i)->Serialize(ar, this);
        return;
    }
    Clear();
    DWORD dw;
    ar >> dw;
    m_dwVersion = dw;
    if (m_dwVersion > 1) {
        LONG cx, cy;
        ar >> cx >> cy;
        CSize size(cx, cy);
        SetScreenSize(size);
    }
    WORD n;
    ar >> n;
    for (WORD i = 0; i < n; i++) {
        TWKControlBarInfo* pInfo = CreateBarInfo(m_pManager);
        m_arrBarInfo.Add(pInfo);
        pInfo->Serialize(ar, this);
    }
    m_dwVersion = 2;
}

BOOL TWKDockState::SaveState(LPCSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszProfileName)
        return FALSE;
    int n = 0;
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++)
        if (GetInfo(i)->SaveState(lpszProfileName, n))
            n++;
    CString strSummary;
    strSummary.Format("%s-Summary", lpszProfileName);
    CSize size = GetScreenSize();
    pApp->WriteProfileInt(strSummary, "Bars", n);
    pApp->WriteProfileInt(strSummary, "ScreenCX", size.cx);
    pApp->WriteProfileInt(strSummary, "ScreenCY", size.cy);
    return TRUE;
}

BOOL TWKDockState::LoadState(LPCSTR lpszProfileName)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszProfileName)
        return FALSE;
    Clear();
    CString strSummary;
    strSummary.Format("%s-Summary", lpszProfileName);
    int nBars = (int)pApp->GetProfileInt(strSummary, "Bars", 0);
    CSize size((int)pApp->GetProfileInt(strSummary, "ScreenCX", 0), (int)pApp->GetProfileInt(strSummary, "ScreenCY", 0));
    SetScreenSize(size);
    // The sections are numbered without gaps: a damaged count ends at the first one missing.
    for (int i = 0; i < nBars && ProfileSectionExists(pApp, SectionName(lpszProfileName, i)); i++) {
        TWKControlBarInfo* pInfo = CreateBarInfo(m_pManager);
        m_arrBarInfo.Add(pInfo);
        pInfo->LoadState(lpszProfileName, i, this);
    }
    return TRUE;
}

BOOL TWKDockState::SaveStateTree(TWKPTNFactory*, TWKPersistentTreeNode*) { return FALSE; }
BOOL TWKDockState::LoadStateTree(TWKPersistentTreeNode*) { return FALSE; }

BOOL TWKDockState::GetDockState(CFrameWnd* pFrame)
{
    if (!pFrame)
        return FALSE;
    Clear();
    if (!m_pManager)
        m_pManager = FrameManager(pFrame);
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        if (!pBar->IsKindOf(RUNTIME_CLASS(TWKControlBar)) && !pBar->IsKindOf(RUNTIME_CLASS(TWKDockBar)))
            continue;
        if (IsFloatingFrameBar(pBar))
            continue;
        TWKControlBarInfo* pInfo = CreateBarInfo(m_pManager);
        pBar->GetBarInfo(pInfo);
        m_arrBarInfo.Add(pInfo);
    }
    return TRUE;
}

void TWKDockState::CleanBarIDs()
{
    INT_PTR nInfo = m_arrBarInfo.GetSize();
    // A bar's placeholder stays only in the dock bar it last docked in.
    for (INT_PTR i = 0; i < nInfo; i++) {
        TWKControlBarInfo* pBar = GetInfo(i);
        DWORD dwHolder = pBar->m_nBarID + kPlaceHolderBit;
        for (INT_PTR k = 0; k < nInfo; k++) {
            TWKControlBarInfo* pDock = GetInfo(k);
            if (pDock->m_nBarID == pBar->m_uMRUDockID)
                continue;
            for (INT_PTR j = 0; j + 1 < pDock->m_arrBarID.GetSize(); j++)
                if (pDock->m_arrBarID[j] == dwHolder)
                    pDock->m_arrBarID[j] = 0;
        }
    }
    for (INT_PTR k = 0; k < nInfo; k++) {
        CDWordArray& ids = GetInfo(k)->m_arrBarID;
        for (INT_PTR j = 0; j < ids.GetSize(); j++) {
            if (!ids[j])
                continue;
            for (INT_PTR l = j + 1; l < ids.GetSize(); l++)
                if (ids[l] == ids[j])
                    ids[l] = 0;
        }
        INT_PTR n = ids.GetSize();
        while (n > 0 && ids[n - 1] == 0)
            n--;
        ids.SetSize(n);
        if (n)
            ids.Add(0);
    }
}

void TWKDockState::SetDockState(CFrameWnd* pFrame)
{
    if (!pFrame)
        return;
    if (!m_pManager)
        m_pManager = FrameManager(pFrame);
    BOOL bMDIFrame = pFrame->IsKindOf(RUNTIME_CLASS(TWKMDIFrameWnd));
    ResolveBars(pFrame, bMDIFrame);
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++) {
        TWKControlBarInfo* pInfo = GetInfo(i);
        pInfo->m_pBar->SetBarInfo(pInfo, pFrame);
    }
    FinishBars();
    pFrame->RecalcLayout(TRUE);
    if (bMDIFrame)
        RestoreMDIPlacements(pFrame);
}

void TWKDockState::ResolveBars(CFrameWnd* pFrame, BOOL bMDIFrame)
{
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize();) {
        TWKControlBarInfo* pInfo = GetInfo(i);
        CControlBar* pBar = nullptr;
        if (pInfo->m_bFloating) {
            DWORD dwStyle = pInfo->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT;
            CDockBar* pDockBar = nullptr;
            if (pInfo->m_bMDIChild && bMDIFrame) {
                // A host that cannot be made takes its record with it.
                CFrameWnd* pHost = static_cast<TWKMDIFrameWnd*>(pFrame)->CreateMDIFloatingFrame(dwStyle, nullptr);
                CWnd* pWnd = pHost ? CWnd::FromHandlePermanent(::GetDlgItem(pHost->m_hWnd, AFX_IDW_DOCKBAR_FLOAT))
                                   : nullptr;
                if (pWnd && pWnd->IsKindOf(RUNTIME_CLASS(CDockBar)))
                    pDockBar = static_cast<CDockBar*>(pWnd);
                else if (pHost)
                    pHost->DestroyWindow();
            } else {
                CMiniDockFrameWnd* pMini = pFrame->CreateFloatingFrame(dwStyle);
                pDockBar = pMini ? pMini->GetDockBar() : nullptr;
            }
            if (pDockBar)
                pDockBar->m_pDockBar = nullptr;
            pBar = pDockBar;
        } else if (pInfo->m_nBarID) {
            pBar = pFrame->GetControlBar(pInfo->m_nBarID);
            if (!pBar && m_pManager)
                pBar = m_pManager->CreateBar(pInfo);
            if (!pBar)
                pBar = CreateBarFromInfo(pInfo->m_strClassName, pFrame, pInfo);
        }
        if (!pBar) {
            m_arrBarInfo.RemoveAt(i);
            delete pInfo;
            continue;
        }
        pInfo->m_pBar = pBar;
        i++;
    }
}

CControlBar* TWKDockState::CreateBarFromInfo(LPCSTR lpszClassName, CFrameWnd* pFrame, TWKControlBarInfo* pInfo)
{
    CRuntimeClass* pClass = FindRuntimeClass(lpszClassName);
    // Only bars are made from a saved name, whatever the file says.
    if (!pClass || !pClass->m_pfnCreateObject || !pClass->IsDerivedFrom(RUNTIME_CLASS(TWKControlBar)))
        return nullptr;
    auto* pBar = static_cast<TWKControlBar*>(pClass->CreateObject());
    if (!pBar)
        return nullptr;
    const DWORD dwStyle = WS_CHILD | (pInfo->m_dwStyle & CBRS_ALL);
    BOOL bCreated = pBar->IsKindOf(RUNTIME_CLASS(TWKDialogBar))
                        ? static_cast<TWKDialogBar*>(pBar)->Create(pFrame, MAKEINTRESOURCEA(pInfo->m_nResourceID), dwStyle,
                                                                   pInfo->m_dwExStyle, pInfo->m_nBarID)
                        : pBar->Create(pFrame, pInfo->m_strWindowName, dwStyle, pInfo->m_dwExStyle, pInfo->m_nBarID,
                                       nullptr);
    if (!bCreated) {
        delete pBar;
        return nullptr;
    }
    // The frame's list owns the bar; without one it goes with its window.
    if (m_pCreatedBars)
        m_pCreatedBars->AddTail(pBar);
    else
        pBar->m_bAutoDelete = TRUE;
    pBar->SetWindowText(pInfo->m_strWindowName);
    pBar->EnableDocking(CBRS_ALIGN_ANY);
    return pBar;
}

void TWKDockState::FinishBars()
{
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++) {
        TWKControlBarInfo* pInfo = GetInfo(i);
        if (TWKControlBar* pBar = TWKAsControlBar(pInfo->m_pBar))
            pBar->SetExBarStyle(pInfo->m_dwExStyle, FALSE);
        if (!pInfo->m_bFloating || !pInfo->m_pBar->IsDockBar())
            continue;
        auto* pDockBar = static_cast<CDockBar*>(pInfo->m_pBar);
        CFrameWnd* pFloatFrame = pDockBar->GetParentFrame();
        if (!pFloatFrame)
            continue;
        // The saved point is the client origin.
        CRect rect(pInfo->m_pointPos, CSize(10, 10));
        pFloatFrame->CalcWindowRect(&rect);
        pFloatFrame->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (pDockBar->GetDockedVisibleCount() > 0) {
            pFloatFrame->RecalcLayout(TRUE);
            pFloatFrame->ShowWindow(SW_SHOWNA);
        }
    }
}

void TWKDockState::RestoreMDIPlacements(CFrameWnd* pFrame)
{
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++) {
        TWKControlBarInfo* pInfo = GetInfo(i);
        if (!pInfo->m_bMDIChild || !pInfo->HasMDIPlacement())
            continue;
        CFrameWnd* pHost = pInfo->m_pBar->GetParentFrame();
        if (!pHost)
            continue;
        // A host around hidden bars stays hidden: the placement gives only its place.
        WINDOWPLACEMENT wp = pInfo->m_wpMDIChild;
        if (!pHost->IsWindowVisible())
            wp.showCmd = SW_HIDE;
        ::SetWindowPlacement(pHost->m_hWnd, &wp);
    }
    pFrame->DelayRecalcLayout(TRUE);
}
