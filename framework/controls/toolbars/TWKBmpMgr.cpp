// The toolbar images by command id.
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/frames/TWKOffscreenDC.h"

IMPLEMENT_DYNAMIC(TWKBmpMgr, CObject)

TWKBmpMgr::TWKBmpMgr() : m_sizeSmall(16, 15), m_sizeLarge(22, 24)
{
}

TWKBmpMgr::~TWKBmpMgr()
{
    for (INT_PTR i = 0; i < m_arrBmps.GetSize(); i++) {
        BmpInfo* pInfo = m_arrBmps[i];
        if (pInfo->hSmall && !pInfo->bCallerSmall)
            ::DeleteObject(pInfo->hSmall);
        if (pInfo->hLarge && !pInfo->bCallerLarge)
            ::DeleteObject(pInfo->hLarge);
        delete pInfo;
    }
    m_arrBmps.RemoveAll();
    POSITION pos = m_mapItems.GetStartPosition();
    while (pos) {
        UINT nID;
        BmpItem* pItem;
        m_mapItems.GetNextAssoc(pos, nID, pItem);
        delete pItem;
    }
    m_mapItems.RemoveAll();
}

void TWKBmpMgr::Release()
{
    if (--m_nRefCount <= 0)
        delete this;
}

// ---------------------------------------------------------------------------
// Toolbar resources

BOOL TWKBmpMgr::ReadToolBarResource(UINT nID, UINT** ppIDs, int* pnCount, int* pcx, int* pcy, BOOL bSeparators)
{
    return ReadToolBarResource(MAKEINTRESOURCEA(nID), ppIDs, pnCount, pcx, pcy, bSeparators);
}

BOOL TWKBmpMgr::ReadToolBarResource(LPCSTR lpszResourceName, UINT** ppIDs, int* pnCount, int* pcx, int* pcy,
                                    BOOL bSeparators)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, RT_TOOLBAR);
    if (!hRsrc)
        return FALSE;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    const BYTE* pData = hGlobal ? static_cast<const BYTE*>(::LockResource(hGlobal)) : nullptr;
    if (!pData)
        return FALSE;
    // The item count comes from the resource itself: a resource shorter than
    // its count says is refused rather than read past its end.
    size_t nWords = ::SizeofResource(hInst, hRsrc) / sizeof(WORD);
    if (nWords < 4)
        return FALSE;
    WORD header[4];
    memcpy(header, pData, sizeof(header));
    size_t nItems = header[3];
    if (nItems > nWords - 4)
        return FALSE;
    const BYTE* pItems = pData + sizeof(header);

    if (ppIDs || pnCount) {
        UINT* pIDs = new UINT[nItems ? nItems : 1];
        int n = 0;
        for (size_t i = 0; i < nItems; i++) {
            WORD w;
            memcpy(&w, pItems + i * sizeof(WORD), sizeof(WORD));
            if (w || bSeparators)
                pIDs[n++] = w;
        }
        if (ppIDs)
            *ppIDs = pIDs;
        else
            delete[] pIDs;
        if (pnCount)
            *pnCount = n;
    }
    if (pcx)
        *pcx = header[1];
    if (pcy)
        *pcy = header[2];
    return TRUE;
}

BOOL TWKBmpMgr::LoadToolBar(UINT nID, UINT nLargeID, BOOL bSysColor)
{
    UINT* pIDs = nullptr;
    int nCount = 0, cx = 0, cy = 0;
    if (!ReadToolBarResource(nID, &pIDs, &nCount, &cx, &cy, FALSE))
        return FALSE;
    // The first strip fixes the image sizes; later ones must share them.
    if (m_arrBmps.GetSize() == 0) {
        if (nLargeID) {
            int cxLarge = 0, cyLarge = 0;
            if (!ReadToolBarResource(nLargeID, nullptr, nullptr, &cxLarge, &cyLarge, FALSE)) {
                delete[] pIDs;
                return FALSE;
            }
            m_sizeLarge = CSize(cxLarge, cyLarge);
        }
        m_sizeSmall = CSize(cx, cy);
    }
    BOOL bResult = AddBitmapRes(nID, nLargeID, pIDs, nCount, bSysColor);
    delete[] pIDs;
    return bResult;
}

// ---------------------------------------------------------------------------
// Strips

BOOL TWKBmpMgr::AddStrip(BmpInfo* pInfo, const UINT* pIDs, int nCount)
{
    int nStrip = (int)m_arrBmps.Add(pInfo);
    for (int i = 0; i < nCount; i++) {
        BmpItem* pItem;
        if (m_mapItems.Lookup(pIDs[i], pItem))
            continue;   // the first strip that lists a command keeps it
        m_mapItems[pIDs[i]] = new BmpItem{ nStrip, i };
    }
    return LoadBitmaps(pInfo, TRUE);
}

BOOL TWKBmpMgr::AddBitmapRes(UINT nID, UINT nLargeID, const UINT* pIDs, int nCount, BOOL bSysColor)
{
    auto* pInfo = new BmpInfo;
    pInfo->nSmallID = nID;
    pInfo->nLargeID = nLargeID;
    pInfo->nCount = nCount;
    pInfo->bSysColor = bSysColor;
    return AddStrip(pInfo, pIDs, nCount);
}

BOOL TWKBmpMgr::AddBitmap(HBITMAP hSmall, HBITMAP hLarge, const UINT* pIDs, int nCount)
{
    auto* pInfo = new BmpInfo;
    pInfo->hSmall = hSmall;
    pInfo->hLarge = hLarge;
    pInfo->bCallerSmall = hSmall != nullptr;
    pInfo->bCallerLarge = hLarge != nullptr;
    pInfo->nCount = nCount;
    pInfo->bSysColor = FALSE;
    return AddStrip(pInfo, pIDs, nCount);
}

BOOL TWKBmpMgr::ReloadBitmaps(BOOL bReload)
{
    for (INT_PTR i = 0; i < m_arrBmps.GetSize(); i++)
        LoadBitmaps(m_arrBmps[i], bReload);
    return TRUE;
}

BOOL TWKBmpMgr::GetBitmap(UINT nID, HBITMAP* phBitmap, int* pnIndex, BOOL bSmallOnly) const
{
    BmpItem* pItem;
    if (!m_mapItems.Lookup(nID, pItem))
        return FALSE;
    const BmpInfo* pInfo = m_arrBmps[pItem->nBmp];
    if (phBitmap)
        *phBitmap = (!bSmallOnly && !m_bSmallImages) ? pInfo->hLarge : pInfo->hSmall;
    if (pnIndex)
        *pnIndex = pItem->nIndex;
    return TRUE;
}

namespace {
// Stores a flag; true when it changed.
bool ChangeFlag(BOOL& bFlag, BOOL bNew)
{
    bNew = bNew ? TRUE : FALSE;
    if (bNew == bFlag)
        return false;
    bFlag = bNew;
    return true;
}
} // namespace

void TWKBmpMgr::SetSmallImages(BOOL bSmall)
{
    if (ChangeFlag(m_bSmallImages, bSmall))
        ReloadBitmaps(TRUE);
}

void TWKBmpMgr::SetKeepSmall(BOOL bKeep)
{
    if (ChangeFlag(m_bKeepSmall, bKeep))
        ReloadBitmaps(FALSE);
}

// ---------------------------------------------------------------------------
// Loading

BOOL TWKBmpMgr::LoadBitmaps(BmpInfo* pInfo, BOOL bReload)
{
    if (!pInfo->bCallerSmall && (m_bSmallImages || m_bKeepSmall)) {
        if (m_bSmallImages && !m_bKeepSmall && pInfo->hLarge && !pInfo->bCallerLarge) {
            ::DeleteObject(pInfo->hLarge);
            pInfo->hLarge = nullptr;
        }
        if (bReload && pInfo->hSmall) {
            ::DeleteObject(pInfo->hSmall);
            pInfo->hSmall = nullptr;
        }
        if (!pInfo->hSmall && !LoadSmall(pInfo))
            return FALSE;
    }
    if (pInfo->bCallerLarge || m_bSmallImages)
        return TRUE;

    if (!m_bKeepSmall && pInfo->hSmall && !pInfo->bCallerSmall) {
        ::DeleteObject(pInfo->hSmall);
        pInfo->hSmall = nullptr;
    }
    if (bReload && pInfo->hLarge) {
        ::DeleteObject(pInfo->hLarge);
        pInfo->hLarge = nullptr;
    }
    if (pInfo->hLarge)
        return TRUE;
    return LoadLarge(pInfo);
}

HBITMAP TWKBmpMgr::LoadResourceBitmap(UINT nID, BOOL bSysColor) const
{
    CBitmap bitmap;
    if (bSysColor ? !TWKLoadSysColorBitmap(&bitmap, MAKEINTRESOURCEA(nID)) : !bitmap.LoadBitmap(nID))
        return nullptr;
    return (HBITMAP)bitmap.Detach();
}

BOOL TWKBmpMgr::LoadSmall(BmpInfo* pInfo)
{
    if (pInfo->bCallerSmall)
        return TRUE;
    pInfo->hSmall = LoadResourceBitmap(pInfo->nSmallID, pInfo->bSysColor);
    return pInfo->hSmall != nullptr;
}

BOOL TWKBmpMgr::LoadLarge(BmpInfo* pInfo)
{
    if (pInfo->bCallerLarge)
        return TRUE;
    if (pInfo->nLargeID) {
        pInfo->hLarge = LoadResourceBitmap(pInfo->nLargeID, pInfo->bSysColor);
        return pInfo->hLarge != nullptr;
    }

    // No large resource: the small strip stretched image by image.
    BOOL bLoadedHere = FALSE;
    if (!pInfo->hSmall) {
        if (!LoadSmall(pInfo) || !pInfo->hSmall)
            return FALSE;
        bLoadedHere = TRUE;
    }
    BOOL bResult = FALSE;
    HDC hScreen = ::GetDC(nullptr);
    HDC hSrc = ::CreateCompatibleDC(hScreen);
    HDC hDst = ::CreateCompatibleDC(hScreen);
    int cxLarge = m_sizeLarge.cx, cyLarge = m_sizeLarge.cy;
    int cxSmall = m_sizeSmall.cx, cySmall = m_sizeSmall.cy;
    HBITMAP hLarge = nullptr;
    if (hSrc && hDst && pInfo->nCount > 0)
        hLarge = ::CreateCompatibleBitmap(hScreen, cxLarge * pInfo->nCount, cyLarge);
    if (hLarge) {
        HGDIOBJ hOldSrc = ::SelectObject(hSrc, pInfo->hSmall);
        HGDIOBJ hOldDst = ::SelectObject(hDst, hLarge);
        ::SetStretchBltMode(hDst, COLORONCOLOR);
        for (int i = 0; i < pInfo->nCount; i++)
            ::StretchBlt(hDst, i * cxLarge, 0, cxLarge, cyLarge, hSrc, i * cxSmall, 0, cxSmall, cySmall, SRCCOPY);
        ::SelectObject(hSrc, hOldSrc);
        ::SelectObject(hDst, hOldDst);
        pInfo->hLarge = hLarge;
        bResult = TRUE;
    }
    if (hSrc)
        ::DeleteDC(hSrc);
    if (hDst)
        ::DeleteDC(hDst);
    ::ReleaseDC(nullptr, hScreen);
    if (bLoadedHere) {
        ::DeleteObject(pInfo->hSmall);
        pInfo->hSmall = nullptr;
    }
    return bResult;
}
