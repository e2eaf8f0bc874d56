// Saved bar layouts: the record's profile, tree and archive forms, the state's
// sequences for collecting a frame's layout and for applying one to it.
#include "framework/frames/TWKDockState.h"
#include <climits>
#include <cmath>
#include <cstdlib>
#include "afx/afxres.h"
#include "framework/frames/TWKControlBar.h"
#include "framework/frames/TWKControlBarManager.h"
#include "framework/frames/TWKDockBar.h"
#include "framework/frames/TWKDialogBar.h"
#include "framework/frames/TWKDockableFrame.h"
#include "framework/frames/TWKFrameWnd.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "framework/frames/TWKMiniDockFrameWnd.h"
#include "framework/persist/TWKPersistentTreeNode.h"
#include "framework/persist/TWKStateStore.h"
#include <algorithm>
#include <utility>
#include <vector>

namespace {

const UINT kUnsetMRUWidth = 32767;
const DWORD kPlaceHolderBit = 0x10000;

CString SectionName(LPCSTR lpszProfileName, int nIndex)
{
    CString s;
    s.Format("%s-Bar%d", lpszProfileName, nIndex);
    return s;
}

CString NodeName(int nIndex)
{
    CString s;
    s.Format("Bar-%d", nIndex);
    return s;
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
// The frames of the floating dock bars a frame has now: floating frames and
// the MDI children that host floating bars.
std::vector<HWND> FloatingHosts(CFrameWnd* pFrame)
{
    std::vector<HWND> hosts;
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* pBar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        if (!pBar->IsDockBar() || !static_cast<CDockBar*>(pBar)->m_bFloating)
            continue;
        if (CFrameWnd* pHost = pBar->GetParentFrame())
            if (pHost != pFrame && pHost->m_hWnd)
                hosts.push_back(pHost->m_hWnd);
    }
    return hosts;
}

// A layout applied over another moves the bars into frames of its own: the
// frames from before that it left without a bar go, or every load would add
// empty frames to the screen.
void DestroyEmptyHosts(const std::vector<HWND>& hosts)
{
    for (HWND hHost : hosts) {
        if (!::IsWindow(hHost))
            continue;
        CWnd* pDock = CWnd::FromHandlePermanent(::GetDlgItem(hHost, AFX_IDW_DOCKBAR_FLOAT));
        auto* pHost = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(hHost));
        if (pHost && pDock && pDock->IsKindOf(RUNTIME_CLASS(CDockBar))
            && static_cast<CDockBar*>(pDock)->GetDockedCount() == 0)
            pHost->DestroyWindow();
    }
}

// The record's keys, one writer and one reader for the profile section and the
// tree node: the platform record's keys first, then the framework's.
void WriteBaseKeys(const TWKControlBarInfo& info, TWKStateStore& st)
{
    st.WriteInt("BarID", (int)info.m_nBarID);
    if (!info.m_bVisible)
        st.WriteFlag("Visible", FALSE);
    if (info.m_bFloating) {
        st.WriteFlag("Horz", info.m_bHorz);
        st.WriteFlag("Floating", TRUE);
    }
    if (info.m_pointPos.x != -1)
        st.WriteInt("XPos", info.m_pointPos.x);
    if (info.m_pointPos.y != -1)
        st.WriteInt("YPos", info.m_pointPos.y);
    if (info.m_nMRUWidth != kUnsetMRUWidth)
        st.WriteInt("MRUWidth", (int)info.m_nMRUWidth);
    if (info.m_bDocking) {
        st.WriteFlag("Docking", TRUE);
        st.WriteInt("MRUDockID", (int)info.m_uMRUDockID);
        st.WriteInt("MRUDockLeftPos", info.m_rectMRUDockPos.left);
        st.WriteInt("MRUDockTopPos", info.m_rectMRUDockPos.top);
        st.WriteInt("MRUDockRightPos", info.m_rectMRUDockPos.right);
        st.WriteInt("MRUDockBottomPos", info.m_rectMRUDockPos.bottom);
        st.WriteInt("MRUFloatStyle", (int)info.m_dwMRUFloatStyle);
        st.WriteInt("MRUFloatXPos", info.m_ptMRUFloatPos.x);
        st.WriteInt("MRUFloatYPos", info.m_ptMRUFloatPos.y);
    }
    if (info.m_arrBarID.GetSize() > 1) {
        st.WriteInt("Bars", (int)info.m_arrBarID.GetSize());
        for (INT_PTR j = 0; j < info.m_arrBarID.GetSize(); j++) {
            CString strKey;
            strKey.Format("Bar#%d", (int)j);
            st.WriteInt(strKey, (int)info.m_arrBarID[j]);
        }
    }
}

void WriteExKeys(const TWKControlBarInfo& info, TWKStateStore& st)
{
    st.WriteInt("Style", (int)info.m_dwStyle);
    st.WriteInt("ExStyle", (int)info.m_dwExStyle);
    st.WriteFlag("PrevFloating", info.m_bPrevFloating);
    st.WriteFlag("MDIChild", info.m_bMDIChild);
    if (info.m_bMDIChild) {
        WINDOWPLACEMENT wp = info.m_wpMDIChild;
        wp.length = sizeof wp;
        st.WriteBinary("MDIChildWindowPlacement", reinterpret_cast<const BYTE*>(&wp), sizeof wp);
    }
    CString strPct;
    strPct.Format("%d", TWKDockState::PctToMillionths(info.m_fPctWidth));
    st.WriteString("PctWidth", strPct);
    st.WriteInt("MRUFloatCX", info.m_sizeMRUFloat.cx);
    st.WriteInt("MRUFloatCY", info.m_sizeMRUFloat.cy);
    st.WriteInt("MRUHorzDockCX", info.m_sizeMRUHorzDock.cx);
    st.WriteInt("MRUHorzDockCY", info.m_sizeMRUHorzDock.cy);
    st.WriteInt("MRUVertDockCX", info.m_sizeMRUVertDock.cx);
    st.WriteInt("MRUVertDockCY", info.m_sizeMRUVertDock.cy);
    st.WriteInt("MRUDockingState", (int)info.m_dwMRUDockingState);
    st.WriteInt("DockingStyle", (int)info.m_dwDockStyle);
    st.WriteInt("TypeID", (int)info.m_nTypeID);
    st.WriteString("ClassName", info.m_strClassName);
    st.WriteString("WindowName", info.m_strWindowName);
    st.WriteInt("ResourceID", (int)info.m_nResourceID);
}

// A record whose id is 0 answers FALSE.
BOOL ReadBaseKeys(TWKControlBarInfo& info, TWKStateStore& st, TWKDockState* pDockState)
{
    info.m_nBarID = (UINT)st.GetInt("BarID", 0);
    info.m_bVisible = st.GetFlag("Visible", TRUE);
    info.m_bHorz = st.GetFlag("Horz", TRUE);
    info.m_bFloating = st.GetFlag("Floating", FALSE);
    info.m_bDockBar = IsDockBarID(info.m_nBarID);
    info.m_pointPos.x = st.GetInt("XPos", -1);
    info.m_pointPos.y = st.GetInt("YPos", -1);
    info.m_nMRUWidth = (UINT)st.GetInt("MRUWidth", (int)kUnsetMRUWidth);
    info.m_bDocking = st.GetFlag("Docking", FALSE);
    if (info.m_bDocking) {
        info.m_uMRUDockID = (UINT)st.GetInt("MRUDockID", 0);
        info.m_rectMRUDockPos.left = st.GetInt("MRUDockLeftPos", 0);
        info.m_rectMRUDockPos.top = st.GetInt("MRUDockTopPos", 0);
        info.m_rectMRUDockPos.right = st.GetInt("MRUDockRightPos", 0);
        info.m_rectMRUDockPos.bottom = st.GetInt("MRUDockBottomPos", 0);
        info.m_dwMRUFloatStyle = (DWORD)st.GetInt("MRUFloatStyle", 0);
        info.m_ptMRUFloatPos.x = st.GetInt("MRUFloatXPos", 0);
        info.m_ptMRUFloatPos.y = st.GetInt("MRUFloatYPos", 0);
    }
    ScaleLoadedPlace(pDockState, &info);
    // A damaged count ends at the first id that is not there.
    info.m_arrBarID.RemoveAll();
    int nBars = st.GetInt("Bars", 0);
    for (int j = 0; j < nBars; j++) {
        CString strKey;
        strKey.Format("Bar#%d", j);
        int nID;
        if (!st.ReadInt(strKey, nID))
            break;
        info.m_arrBarID.Add((DWORD)nID);
    }
    return info.m_nBarID != 0;
}

void ReadExKeys(TWKControlBarInfo& info, TWKStateStore& st)
{
    info.m_dwStyle = (DWORD)st.GetInt("Style", 0);
    info.m_dwExStyle = (DWORD)st.GetInt("ExStyle", 0);
    info.m_bPrevFloating = st.GetFlag("PrevFloating", FALSE);
    info.m_bMDIChild = st.GetFlag("MDIChild", FALSE);
    info.m_wpMDIChild.length = 0;
    if (info.m_bMDIChild) {
        BYTE* pData = nullptr;
        UINT nBytes = 0;
        if (st.ReadBinary("MDIChildWindowPlacement", pData, nBytes) && nBytes == sizeof info.m_wpMDIChild) {
            memcpy(&info.m_wpMDIChild, pData, sizeof info.m_wpMDIChild);
            info.m_wpMDIChild.length = sizeof info.m_wpMDIChild;
        }
        delete[] pData;
    }
    info.m_fPctWidth = TWKDockState::MillionthsToPct(atoi(st.GetString("PctWidth", "")));
    info.m_sizeMRUFloat.cx = PositiveOrZero((UINT)st.GetInt("MRUFloatCX", 0));
    info.m_sizeMRUFloat.cy = PositiveOrZero((UINT)st.GetInt("MRUFloatCY", 0));
    info.m_sizeMRUHorzDock.cx = PositiveOrZero((UINT)st.GetInt("MRUHorzDockCX", 0));
    info.m_sizeMRUHorzDock.cy = PositiveOrZero((UINT)st.GetInt("MRUHorzDockCY", 0));
    info.m_sizeMRUVertDock.cx = PositiveOrZero((UINT)st.GetInt("MRUVertDockCX", 0));
    info.m_sizeMRUVertDock.cy = PositiveOrZero((UINT)st.GetInt("MRUVertDockCY", 0));
    info.m_dwMRUDockingState = (DWORD)st.GetInt("MRUDockingState", (int)info.m_dwMRUDockingState);
    info.m_dwDockStyle = (DWORD)st.GetInt("DockingStyle", (int)info.m_dwDockStyle);
    info.m_nTypeID = (UINT)st.GetInt("TypeID", 0);
    info.m_strClassName = st.GetString("ClassName", "");
    info.m_strWindowName = st.GetString("WindowName", "");
    info.m_nResourceID = (UINT)st.GetInt("ResourceID", (int)info.m_nResourceID);
}

// The summary: how many records were written and the screen they were written on.
void WriteSummary(TWKDockState& state, TWKStateStore& st, int nBars)
{
    CSize size = state.GetScreenSize();
    st.WriteInt("Bars", nBars);
    st.WriteInt("ScreenCX", size.cx);
    st.WriteInt("ScreenCY", size.cy);
}

// Sets the saved screen size and answers the record count (a negative one is 0).
int ReadSummary(TWKDockState& state, TWKStateStore& st)
{
    int nBars = st.GetInt("Bars", 0);
    CSize size(st.GetInt("ScreenCX", 0), st.GetInt("ScreenCY", 0));
    state.SetScreenSize(size);
    return nBars < 0 ? 0 : nBars;
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
    TWKProfileStore store(pApp, strSection);
    store.Clear();
    WriteBaseKeys(*this, store);
    WriteExKeys(*this, store);
    if (m_pInfoEx)
        m_pInfoEx->SaveState(strSection);
    return TRUE;
}

BOOL TWKControlBarInfo::LoadState(LPCSTR lpszProfileName, int nIndex, TWKDockState* pDockState)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return FALSE;
    CString strSection = SectionName(lpszProfileName, nIndex);
    TWKProfileStore store(pApp, strSection);
    BOOL bOk = ReadBaseKeys(*this, store, pDockState);
    ReadExKeys(*this, store);
    delete m_pInfoEx;
    m_pInfoEx = m_pManager ? m_pManager->CreateBarInfoEx(this) : nullptr;
    if (m_pInfoEx)
        m_pInfoEx->LoadState(strSection, pDockState);
    return bOk;
}

BOOL TWKControlBarInfo::SaveStateTree(TWKPTNFactory* pFactory, TWKPersistentTreeNode* pParent, int nIndex)
{
    if (!pParent || IsSkippedOnSave())
        return FALSE;
    TWKPersistentTreeNode* pNode = pParent->AddChild(NodeName(nIndex), pFactory);
    if (!pNode)
        return FALSE;
    SaveBaseTree(pFactory, pNode);
    SaveExTree(pFactory, pNode);
    if (m_pInfoEx)
        m_pInfoEx->SaveStateTree(pFactory, pNode);
    return TRUE;
}

BOOL TWKControlBarInfo::LoadStateTree(TWKPersistentTreeNode* pNode, TWKDockState* pDockState)
{
    if (!pNode)
        return FALSE;
    BOOL bOk = LoadBaseTree(pNode, pDockState);
    LoadExTree(pNode);
    delete m_pInfoEx;
    m_pInfoEx = m_pManager ? m_pManager->CreateBarInfoEx(this) : nullptr;
    if (m_pInfoEx)
        m_pInfoEx->LoadStateTree(pNode);
    return bOk;
}

BOOL TWKControlBarInfo::SaveBaseTree(TWKPTNFactory*, TWKPersistentTreeNode* pNode)
{
    if (!pNode)
        return FALSE;
    TWKTreeStore store(pNode);
    WriteBaseKeys(*this, store);
    return TRUE;
}

BOOL TWKControlBarInfo::SaveExTree(TWKPTNFactory*, TWKPersistentTreeNode* pNode)
{
    if (!pNode)
        return FALSE;
    TWKTreeStore store(pNode);
    WriteExKeys(*this, store);
    return TRUE;
}

BOOL TWKControlBarInfo::LoadBaseTree(TWKPersistentTreeNode* pNode, TWKDockState* pDockState)
{
    if (!pNode)
        return FALSE;
    TWKTreeStore store(pNode);
    return ReadBaseKeys(*this, store, pDockState);
}

BOOL TWKControlBarInfo::LoadExTree(TWKPersistentTreeNode* pNode)
{
    if (!pNode)
        return FALSE;
    TWKTreeStore store(pNode);
    ReadExKeys(*this, store);
    return TRUE;
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

// ---------------------------------------------------------------------------
// The state

IMPLEMENT_DYNCREATE(TWKDockState, CDockState)

TWKDockState::TWKDockState() : m_pManager(nullptr) {}

TWKDockState::TWKDockState(TWKControlBarManager* pManager) : m_pManager(pManager) {}

TWKDockState::~TWKDockState() = default;   // the base deletes the records

int TWKDockState::PctToMillionths(float fPct)
{
    // Rounded to nearest: a value read back from millionths is written back unchanged
    // (truncation lost one millionth per save).
    double d = std::floor((double)fPct * (double)1000000.0f + 0.5);
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
    if (pFrame && pFrame->IsKindOf(RUNTIME_CLASS(TWKFrameWnd)))
        return static_cast<TWKFrameWnd*>(pFrame)->GetControlBarManager();
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
    TWKProfileStore summary(pApp, strSummary);
    WriteSummary(*this, summary, n);
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
    TWKProfileStore summary(pApp, strSummary);
    int nBars = ReadSummary(*this, summary);
    // The sections are numbered without gaps: a damaged count ends at the first one missing.
    for (int i = 0; i < nBars && ProfileSectionExists(pApp, SectionName(lpszProfileName, i)); i++) {
        TWKControlBarInfo* pInfo = CreateBarInfo(m_pManager);
        m_arrBarInfo.Add(pInfo);
        pInfo->LoadState(lpszProfileName, i, this);
    }
    return TRUE;
}

BOOL TWKDockState::SaveStateTree(TWKPTNFactory* pFactory, TWKPersistentTreeNode* pParent)
{
    TWKPersistentTreeNode* pNode = pParent ? pParent->AddChild("DockState", pFactory) : nullptr;
    if (!pNode)
        return FALSE;
    int n = 0;
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++)
        if (GetInfo(i)->SaveStateTree(pFactory, pNode, n))
            n++;
    TWKTreeStore summary(pNode);
    WriteSummary(*this, summary, n);
    return TRUE;
}

BOOL TWKDockState::LoadStateTree(TWKPersistentTreeNode* pParent)
{
    TWKPersistentTreeNode* pNode = pParent ? pParent->FindChild("DockState") : nullptr;
    if (!pNode)
        return FALSE;
    Clear();
    TWKTreeStore summary(pNode);
    int nBars = ReadSummary(*this, summary);
    // The record nodes the tree holds with a number below the count, in number
    // order: a damaged count cannot make this look up names that are not there.
    std::vector<std::pair<long, TWKPersistentTreeNode*>> records;
    for (POSITION pos = pNode->GetFirstChildPosition(); pos;) {
        TWKPersistentTreeNode* pChild = pNode->GetNextChild(pos);
        long n = TWKPersistentTreeNode::NumberAfter(pChild->GetName(), "Bar-");
        if (n >= 0 && n < nBars)
            records.emplace_back(n, pChild);
    }
    std::sort(records.begin(), records.end());
    for (const auto& record : records) {
        TWKControlBarInfo* pInfo = CreateBarInfo(m_pManager);
        m_arrBarInfo.Add(pInfo);
        pInfo->LoadStateTree(record.second, this);
    }
    return TRUE;
}

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
    const std::vector<HWND> hostsBefore = FloatingHosts(pFrame);
    ResolveBars(pFrame, bMDIFrame);
    for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); i++) {
        TWKControlBarInfo* pInfo = GetInfo(i);
        pInfo->m_pBar->SetBarInfo(pInfo, pFrame);
    }
    DestroyEmptyHosts(hostsBefore);
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
    // A frame bar comes only with its document's frame: made here it would stay empty.
    if (pClass->IsDerivedFrom(RUNTIME_CLASS(TWKFrameBar)))
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
