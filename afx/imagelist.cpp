#include "afx/imagelist.h"
#include "afx/archive.h"
#include "afx/file.h"
#include "afx/gdi.h"
#include "afx/module.h"
#include "afx/wnd.h"
#include "afx/handlemap.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

namespace {

// Image lists are tied to the thread that attached them.
CHandleMap<HIMAGELIST, CImageList>& Lists()
{
    thread_local CHandleMap<HIMAGELIST, CImageList> m;
    return m;
}
void SetListHandle(CImageList* p, HIMAGELIST h) { p->m_hImageList = h; }

// The image-list functions read and write a stream: this one is the archive,
// so that the bytes land at the archive's place among its other data.
class CArchiveStream final : public IStream
{
public:
    explicit CArchiveStream(CArchive* pArchive) : m_pArchive(pArchive) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ISequentialStream) ||
            IsEqualIID(riid, IID_IStream)) {
            *ppv = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the caller's stack: counting only.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_nRefs; }

    HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override
    {
        if (pcbRead)
            *pcbRead = 0;
        if (!pv || !m_pArchive->IsLoading())
            return STG_E_INVALIDPOINTER;
        try {
            UINT n = m_pArchive->Read(pv, cb);
            if (pcbRead)
                *pcbRead = n;
            return n == cb ? S_OK : S_FALSE;
        } catch (CException* e) {
            e->Delete();
            return STG_E_READFAULT;
        }
    }
    HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override
    {
        if (pcbWritten)
            *pcbWritten = 0;
        if (!pv || !m_pArchive->IsStoring())
            return STG_E_INVALIDPOINTER;
        try {
            m_pArchive->Write(pv, cb);
            if (pcbWritten)
                *pcbWritten = cb;
            return S_OK;
        } catch (CException* e) {
            e->Delete();
            return STG_E_WRITEFAULT;
        }
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) override
    {
        CFile* pFile = m_pArchive->GetFile();
        if (!pFile || dwOrigin > STREAM_SEEK_END)
            return STG_E_INVALIDFUNCTION;
        try {
            // The archive's buffer first, so that the file is where the stream is.
            m_pArchive->Flush();
            ULONGLONG pos = pFile->Seek(dlibMove.QuadPart, (UINT)dwOrigin);
            if (plibNewPosition)
                plibNewPosition->QuadPart = pos;
            return S_OK;
        } catch (CException* e) {
            e->Delete();
            return STG_E_SEEKERROR;
        }
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override
        { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IStream**) override { return E_NOTIMPL; }

private:
    CArchive* m_pArchive;
    ULONG m_nRefs = 1;
};

HBITMAP BitmapHandle(CBitmap* p)
{
    return p ? static_cast<HBITMAP>(p->GetSafeHandle()) : nullptr;
}

} // namespace

CImageList::~CImageList()
{
    DeleteImageList();
}

HIMAGELIST CImageList::GetSafeHandle() const
{
    return AfxIsNullThis(this) ? nullptr : m_hImageList;
}

CImageList* CImageList::FromHandlePermanent(HIMAGELIST hImageList)
{
    return Lists().LookupPermanent(hImageList);
}

// A temporary wrapper is not in the permanent map: it never destroys the list.
AFX_IMPLEMENT_HANDLE_WRAPPER(CImageList, HIMAGELIST, Lists, m_hImageList, SetListHandle)

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    bool bOwned = FromHandlePermanent(m_hImageList) == this;
    HIMAGELIST h = Detach();
    return bOwned ? ImageList_Destroy(h) : TRUE;
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    if (m_hImageList)
        return FALSE;   // holds a list already: nothing is thrown away
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    return Create(MAKEINTRESOURCEA(nBitmapID), cx, nGrow, crMask);
}

BOOL CImageList::Create(LPCSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask)
{
    if (m_hImageList)
        return FALSE;
    return Attach(ImageList_LoadImageA(AfxGetResourceHandle(), lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP, 0));
}

BOOL CImageList::Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy)
{
    if (m_hImageList)
        return FALSE;
    return Attach(ImageList_Merge(imagelist1.m_hImageList, nImage1, imagelist2.m_hImageList, nImage2, dx, dy));
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask)
{
    if (!m_hImageList || !BitmapHandle(pbmImage))
        return -1;
    return ImageList_Add(m_hImageList, BitmapHandle(pbmImage), BitmapHandle(pbmMask));
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask)
{
    if (!m_hImageList || !BitmapHandle(pbmImage))
        return -1;
    return ImageList_AddMasked(m_hImageList, BitmapHandle(pbmImage), crMask);
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask)
{
    if (!m_hImageList || !BitmapHandle(pbmImage))
        return FALSE;
    return ImageList_Replace(m_hImageList, nImage, BitmapHandle(pbmImage), BitmapHandle(pbmMask));
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
{
    HDC hDC = pDC ? pDC->GetSafeHdc() : nullptr;
    if (!m_hImageList || !hDC)
        return FALSE;
    return ImageList_Draw(m_hImageList, nImage, hDC, pt.x, pt.y, nStyle);
}

BOOL CImageList::BeginDrag(int nImage, CPoint ptHotSpot)
{
    return m_hImageList && ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
}

void PASCAL CImageList::EndDrag()
{
    ImageList_EndDrag();
}

BOOL PASCAL CImageList::DragMove(CPoint pt)
{
    return ImageList_DragMove(pt.x, pt.y);
}

BOOL CImageList::SetDragCursorImage(int nDrag, CPoint ptHotSpot)
{
    return m_hImageList && ImageList_SetDragCursorImage(m_hImageList, nDrag, ptHotSpot.x, ptHotSpot.y);
}

BOOL PASCAL CImageList::DragShowNolock(BOOL bShow)
{
    return ImageList_DragShowNolock(bShow);
}

CImageList* PASCAL CImageList::GetDragImage(LPPOINT lpPoint, LPPOINT lpPointHotSpot)
{
    POINT pt = {}, hot = {};
    HIMAGELIST h = ImageList_GetDragImage(lpPoint ? lpPoint : &pt, lpPointHotSpot ? lpPointHotSpot : &hot);
    return FromHandle(h);
}

BOOL PASCAL CImageList::DragEnter(CWnd* pWndLock, CPoint point)
{
    return ImageList_DragEnter(pWndLock->GetSafeHwnd(), point.x, point.y);
}

BOOL PASCAL CImageList::DragLeave(CWnd* pWndLock)
{
    return ImageList_DragLeave(pWndLock->GetSafeHwnd());
}

BOOL CImageList::Read(CArchive* pArchive)
{
    if (!pArchive || !pArchive->IsLoading())
        return FALSE;
    CArchiveStream stream(pArchive);
    HIMAGELIST h = ImageList_Read(&stream);
    if (!h)
        return FALSE;
    DeleteImageList();
    return Attach(h);
}

BOOL CImageList::Write(CArchive* pArchive)
{
    if (!pArchive || !pArchive->IsStoring() || !m_hImageList)
        return FALSE;
    CArchiveStream stream(pArchive);
    return ImageList_Write(m_hImageList, &stream);
}
