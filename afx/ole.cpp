#include "afx/ole.h"
#include "afx/wnd.h"
#include "afx/docview.h"
#include "afx/wndgone.h"
#include <shlobj.h>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

namespace {
struct OleState {
    bool bInit = false;
    ~OleState() { if (bInit) ::OleUninitialize(); }
};
OleState& State()
{
    static OleState s;
    return s;
}

HGLOBAL CopyGlobal(HGLOBAL hSrc)
{
    SIZE_T n = ::GlobalSize(hSrc);
    HGLOBAL hDst = ::GlobalAlloc(GMEM_MOVEABLE, n ? n : 1);
    if (!hDst)
        return nullptr;
    void* s = ::GlobalLock(hSrc);
    void* d = ::GlobalLock(hDst);
    if (s && d && n)
        std::memcpy(d, s, n);
    if (s) ::GlobalUnlock(hSrc);
    if (d) ::GlobalUnlock(hDst);
    return hDst;
}

FORMATETC MakeFormat(CLIPFORMAT cf, LPFORMATETC lpFormatEtc)
{
    if (lpFormatEtc)
        return *lpFormatEtc;
    FORMATETC f = { cf, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL };
    return f;
}
} // namespace

BOOL AfxOleInit()
{
    OleState& s = State();
    if (s.bInit)
        return TRUE;
    HRESULT hr = ::OleInitialize(nullptr);
    if (FAILED(hr))
        return FALSE;
    s.bInit = true;
    return TRUE;
}

void AfxEnableControlContainer() {}
BOOL Enable3dControlsStatic() { return TRUE; }

// ---------------------------------------------------------------------------

COleDropSource::COleDropSource() { m_xDropSource.m_pThis = this; }
COleDropSource::~COleDropSource() = default;

SCODE COleDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState)
{
    if (bEscapePressed || (dwKeyState & MK_RBUTTON))
        return DRAGDROP_S_CANCEL;
    if (!(dwKeyState & MK_LBUTTON))
        return DRAGDROP_S_DROP;
    return S_OK;
}

SCODE COleDropSource::GiveFeedback(DROPEFFECT)
{
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

BOOL COleDropSource::OnBeginDrag(CWnd* pWnd)
{
    RECT rcStart = m_rectStartDrag;
    if (::IsRectEmpty(&rcStart)) {
        POINT pt = {};
        ::GetCursorPos(&pt);
        int cx = ::GetSystemMetrics(SM_CXDRAG), cy = ::GetSystemMetrics(SM_CYDRAG);
        ::SetRect(&rcStart, pt.x - cx, pt.y - cy, pt.x + cx + 1, pt.y + cy + 1);
    }
    const DWORD dwDelay = (DWORD)::GetProfileIntA("windows", "DragDelay", 200);
    HWND hWnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (hWnd)
        ::SetCapture(hWnd);
    const DWORD dwStart = ::GetTickCount();
    BOOL bStarted = FALSE;
    for (;;) {
        if (hWnd && ::GetCapture() != hWnd)
            break;   // someone took the mouse away: no drag
        MSG msg;
        if (::PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
            ::PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
            if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONUP || msg.message == WM_LBUTTONDOWN ||
                msg.message == WM_RBUTTONDOWN || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
                break;
            if (msg.message == WM_MOUSEMOVE && !::PtInRect(&rcStart, msg.pt)) {
                bStarted = TRUE;
                break;
            }
            continue;
        }
        DWORD dwPassed = ::GetTickCount() - dwStart;
        if (dwPassed >= dwDelay) {
            bStarted = TRUE;   // held long enough
            break;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, dwDelay - dwPassed, QS_MOUSE | QS_KEY | QS_POSTMESSAGE);
    }
    if (hWnd && ::GetCapture() == hWnd)
        ::ReleaseCapture();
    return bStarted;
}

STDMETHODIMP COleDropSource::XDropSource::QueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IUnknown || riid == IID_IDropSource) {
        *ppv = static_cast<IDropSource*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}
STDMETHODIMP COleDropSource::XDropSource::QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState)
{
    return m_pThis->QueryContinueDrag(fEscapePressed, grfKeyState);
}
STDMETHODIMP COleDropSource::XDropSource::GiveFeedback(DWORD dwEffect)
{
    return m_pThis->GiveFeedback(dwEffect);
}

// ---------------------------------------------------------------------------

COleDataSource::COleDataSource() { m_xDataObject.m_pThis = this; }

COleDataSource::~COleDataSource()
{
    // Leave no clipboard pointing at us.
    if (::OleIsCurrentClipboard(&m_xDataObject) == S_OK)
        ::OleFlushClipboard();
    Empty();
}

void COleDataSource::Empty()
{
    for (Entry& e : m_entries)
        ::GlobalFree(e.hGlobal);
    m_entries.clear();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc)
{
    if (!hGlobal)
        return;
    FORMATETC f = MakeFormat(cfFormat, lpFormatEtc);
    f.tymed = TYMED_HGLOBAL;
    for (Entry& e : m_entries) {
        if (e.fmt.cfFormat == f.cfFormat && e.fmt.dwAspect == f.dwAspect) {
            ::GlobalFree(e.hGlobal);
            e.hGlobal = hGlobal;
            return;
        }
    }
    m_entries.push_back({f, hGlobal});
}

const COleDataSource::Entry* COleDataSource::Find(const FORMATETC* pFmt) const
{
    for (const Entry& e : m_entries)
        if (e.fmt.cfFormat == pFmt->cfFormat && (pFmt->tymed & TYMED_HGLOBAL) && e.fmt.dwAspect == pFmt->dwAspect)
            return &e;
    return nullptr;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT lpRectStartDrag, COleDropSource* pDropSource)
{
    COleDropSource defaultSource;
    if (!pDropSource)
        pDropSource = &defaultSource;
    if (lpRectStartDrag)
        pDropSource->m_rectStartDrag = *lpRectStartDrag;
    HWND hHolder = ::GetCapture() ? ::GetCapture() : ::GetFocus();
    CWnd* pWnd = hHolder ? CWnd::FromHandle(hHolder) : nullptr;
    if (!pDropSource->OnBeginDrag(pWnd))
        return DROPEFFECT_NONE;
    DWORD effect = DROPEFFECT_NONE;
    HRESULT hr = ::DoDragDrop(&m_xDataObject, pDropSource->GetInterface(), dwEffects, &effect);
    return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

void COleDataSource::SetClipboard()
{
    ::OleSetClipboard(&m_xDataObject);
}

STDMETHODIMP COleDataSource::XDataObject::QueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IUnknown || riid == IID_IDataObject) {
        *ppv = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP COleDataSource::XDataObject::GetData(FORMATETC* pFmt, STGMEDIUM* pMedium)
{
    if (!pFmt || !pMedium)
        return E_INVALIDARG;
    const Entry* e = m_pThis->Find(pFmt);
    if (!e)
        return DV_E_FORMATETC;
    HGLOBAL h = CopyGlobal(e->hGlobal);
    if (!h)
        return E_OUTOFMEMORY;
    pMedium->tymed = TYMED_HGLOBAL;
    pMedium->hGlobal = h;
    pMedium->pUnkForRelease = nullptr;
    return S_OK;
}

STDMETHODIMP COleDataSource::XDataObject::QueryGetData(FORMATETC* pFmt)
{
    return pFmt && m_pThis->Find(pFmt) ? S_OK : DV_E_FORMATETC;
}

STDMETHODIMP COleDataSource::XDataObject::EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppenum)
{
    if (dwDirection != DATADIR_GET)
        return E_NOTIMPL;
    std::vector<FORMATETC> fmts;
    for (const Entry& e : m_pThis->m_entries)
        fmts.push_back(e.fmt);
    return ::SHCreateStdEnumFmtEtc((UINT)fmts.size(), fmts.data(), ppenum);
}

// ---------------------------------------------------------------------------

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease)
{
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach()
{
    LPDATAOBJECT p = m_lpDataObject;
    m_lpDataObject = nullptr;
    return p;
}

void COleDataObject::Release()
{
    if (m_lpDataObject && m_bAutoRelease)
        m_lpDataObject->Release();
    m_lpDataObject = nullptr;
}

BOOL COleDataObject::AttachClipboard()
{
    LPDATAOBJECT p = nullptr;
    if (FAILED(::OleGetClipboard(&p)) || !p)
        return FALSE;
    Attach(p, TRUE);
    return TRUE;
}

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    if (!m_lpDataObject)
        return FALSE;
    FORMATETC f = MakeFormat(cfFormat, lpFormatEtc);
    return m_lpDataObject->QueryGetData(&f) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc)
{
    if (!m_lpDataObject || !lpStgMedium)
        return FALSE;
    FORMATETC f = MakeFormat(cfFormat, lpFormatEtc);
    return SUCCEEDED(m_lpDataObject->GetData(&f, lpStgMedium));
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc)
{
    STGMEDIUM stg = {};
    FORMATETC f = MakeFormat(cfFormat, lpFormatEtc);
    f.tymed = TYMED_HGLOBAL;
    if (!GetData(cfFormat, &stg, &f))
        return nullptr;
    if (stg.tymed != TYMED_HGLOBAL) {
        ::ReleaseStgMedium(&stg);
        return nullptr;
    }
    if (stg.pUnkForRelease) {
        // Someone else owns it: hand out a copy.
        HGLOBAL h = CopyGlobal(stg.hGlobal);
        ::ReleaseStgMedium(&stg);
        return h;
    }
    return stg.hGlobal;
}

// ---------------------------------------------------------------------------

namespace {

// Targets on windows of the layer's own procedure, revoked when it reports
// the window gone. Other windows are subclassed for that instead: a
// subclassed window pays a property lookup on every message it gets.
std::mutex g_dropLock;
std::vector<std::pair<HWND, COleDropTarget*>> g_dropTargets;

void RevokeOnWindowGone(HWND hWnd)
{
    COleDropTarget* pTarget = nullptr;
    {
        std::lock_guard<std::mutex> guard(g_dropLock);
        for (const auto& entry : g_dropTargets)
            if (entry.first == hWnd)
                pTarget = entry.second;
    }
    if (pTarget)
        pTarget->Revoke();
}

// The window the target was listed with, taken off the list; NULL when it
// was not listed.
HWND Unlist(COleDropTarget* pTarget)
{
    std::lock_guard<std::mutex> guard(g_dropLock);
    for (auto it = g_dropTargets.begin(); it != g_dropTargets.end(); ++it)
        if (it->second == pTarget) {
            HWND hWnd = it->first;
            g_dropTargets.erase(it);
            return hWnd;
        }
    return nullptr;
}

} // namespace

COleDropTarget::COleDropTarget() { m_xDropTarget.m_pThis = this; }

COleDropTarget::~COleDropTarget()
{
    Revoke();
}

int COleDropTarget::GetScrollInset() { return (int)::GetProfileIntA("windows", "DragScrollInset", 11); }
int COleDropTarget::GetScrollDelay() { return (int)::GetProfileIntA("windows", "DragScrollDelay", 50); }
int COleDropTarget::GetScrollInterval() { return (int)::GetProfileIntA("windows", "DragScrollInterval", 50); }

LRESULT CALLBACK COleDropTarget::SubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR dwRefData)
{
    if (message == WM_NCDESTROY)
        reinterpret_cast<COleDropTarget*>(dwRefData)->Revoke();
    return ::DefSubclassProc(hWnd, message, wParam, lParam);
}

BOOL COleDropTarget::Register(CWnd* pWnd)
{
    if (!pWnd || !pWnd->m_hWnd || m_pWnd)
        return FALSE;
    if (FAILED(::RegisterDragDrop(pWnd->m_hWnd, &m_xDropTarget)))
        return FALSE;
    m_pWnd = pWnd;
    HWND hWnd = pWnd->m_hWnd;
    if (CWnd::FromHandlePermanent(hWnd) == pWnd &&
        ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&AfxWndProc)) {
        g_pfnAfxWindowGone = &RevokeOnWindowGone;
        std::lock_guard<std::mutex> guard(g_dropLock);
        g_dropTargets.emplace_back(hWnd, this);
    } else {
        ::SetWindowSubclass(hWnd, &COleDropTarget::SubclassProc, 0x4F4C45, (DWORD_PTR)this);
    }
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (!m_pWnd)
        return;
    HWND hListed = Unlist(this);
    HWND hWnd = hListed ? hListed : m_pWnd->m_hWnd;
    m_pWnd = nullptr;
    m_dataObject.Release();
    if (hWnd && ::IsWindow(hWnd)) {
        ::RevokeDragDrop(hWnd);
        if (!hListed)
            ::RemoveWindowSubclass(hWnd, &COleDropTarget::SubclassProc, 0x4F4C45);
    }
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    if (auto* pView = dynamic_cast<CView*>(pWnd))
        return pView->OnDragEnter(pDataObject, dwKeyState, point);
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point)
{
    if (auto* pView = dynamic_cast<CView*>(pWnd))
        return pView->OnDragOver(pDataObject, dwKeyState, point);
    return DROPEFFECT_NONE;
}

BOOL COleDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point)
{
    if (auto* pView = dynamic_cast<CView*>(pWnd))
        return pView->OnDrop(pDataObject, dropEffect, point);
    return FALSE;
}

DROPEFFECT COleDropTarget::OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                    DROPEFFECT dropList, CPoint point)
{
    if (auto* pView = dynamic_cast<CView*>(pWnd))
        return pView->OnDropEx(pDataObject, dropDefault, dropList, point);
    return (DROPEFFECT)-1;
}

void COleDropTarget::OnDragLeave(CWnd* pWnd)
{
    if (auto* pView = dynamic_cast<CView*>(pWnd))
        pView->OnDragLeave();
}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point)
{
    if (auto* pView = dynamic_cast<CView*>(pWnd))
        return pView->OnDragScroll(dwKeyState, point);
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::Over(DWORD dwKeyState, POINTL pt, DWORD dwAllowed, bool bEnter)
{
    if (!m_pWnd)
        return DROPEFFECT_NONE;
    CPoint point(pt.x, pt.y);
    m_pWnd->ScreenToClient(&point);
    DROPEFFECT effect = OnDragScroll(m_pWnd, dwKeyState, point);
    if (!(effect & DROPEFFECT_SCROLL))
        effect = bEnter ? OnDragEnter(m_pWnd, &m_dataObject, dwKeyState, point)
                        : OnDragOver(m_pWnd, &m_dataObject, dwKeyState, point);
    // Only what the source allows (scrolling is always allowed).
    return effect & (dwAllowed | DROPEFFECT_SCROLL);
}

STDMETHODIMP COleDropTarget::XDropTarget::QueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
        *ppv = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP COleDropTarget::XDropTarget::DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    if (!pdwEffect)
        return E_INVALIDARG;
    if (pDataObj)
        pDataObj->AddRef();
    m_pThis->m_dataObject.Attach(pDataObj, TRUE);
    *pdwEffect = m_pThis->Over(grfKeyState, pt, *pdwEffect, true);
    return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    if (!pdwEffect)
        return E_INVALIDARG;
    *pdwEffect = m_pThis->Over(grfKeyState, pt, *pdwEffect, false);
    return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::DragLeave()
{
    if (m_pThis->m_pWnd)
        m_pThis->OnDragLeave(m_pThis->m_pWnd);
    m_pThis->m_dataObject.Release();
    return S_OK;
}

STDMETHODIMP COleDropTarget::XDropTarget::Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect)
{
    if (!pdwEffect)
        return E_INVALIDARG;
    COleDropTarget* t = m_pThis;
    if (pDataObj)
        pDataObj->AddRef();
    t->m_dataObject.Attach(pDataObj, TRUE);
    DWORD allowed = *pdwEffect;
    DROPEFFECT effect = t->Over(grfKeyState, pt, allowed, false) & ~DROPEFFECT_SCROLL;
    DROPEFFECT result = DROPEFFECT_NONE;
    if (t->m_pWnd) {
        CPoint point(pt.x, pt.y);
        t->m_pWnd->ScreenToClient(&point);
        result = t->OnDropEx(t->m_pWnd, &t->m_dataObject, effect, allowed, point);
        if (result == (DROPEFFECT)-1)
            result = effect != DROPEFFECT_NONE && t->OnDrop(t->m_pWnd, &t->m_dataObject, effect, point)
                         ? effect : DROPEFFECT_NONE;
        if (result == DROPEFFECT_NONE)
            t->OnDragLeave(t->m_pWnd);
    }
    t->m_dataObject.Release();
    *pdwEffect = result;
    return S_OK;
}

// ---------------------------------------------------------------------------
// COleClientItem, COleDocument

IMPLEMENT_DYNAMIC(COleClientItem, CObject)

COleClientItem::COleClientItem(COleDocument* pContainerDoc)
{
    if (pContainerDoc)
        pContainerDoc->AddItem(this);
}

COleClientItem::~COleClientItem()
{
    if (m_pDocument)
        m_pDocument->RemoveItem(this);
}

void COleClientItem::Close(OLECLOSE)
{
    if (m_nItemState > loadedState)
        m_nItemState = loadedState;
}

BOOL COleClientItem::DoVerb(LONG, CView*, LPMSG)
{
    return FALSE;
}

IMPLEMENT_DYNAMIC(COleDocument, CDocument)

COleDocument::~COleDocument()
{
    while (!m_docItemList.IsEmpty())
        delete static_cast<COleClientItem*>(m_docItemList.GetHead());
}

void COleDocument::AddItem(COleClientItem* pItem)
{
    if (!pItem || m_docItemList.Find(pItem))
        return;
    if (pItem->m_pDocument)
        pItem->m_pDocument->RemoveItem(pItem);
    m_docItemList.AddTail(pItem);
    pItem->m_pDocument = this;
}

void COleDocument::RemoveItem(COleClientItem* pItem)
{
    if (!pItem)
        return;
    if (POSITION pos = m_docItemList.Find(pItem))
        m_docItemList.RemoveAt(pos);
    if (pItem->m_pDocument == this)
        pItem->m_pDocument = nullptr;
}

COleClientItem* COleDocument::GetNextClientItem(POSITION& pos) const
{
    return pos ? static_cast<COleClientItem*>(m_docItemList.GetNext(pos)) : nullptr;
}
