// The toolbar images by command id: strips of images (one per command, side
// by side) in a small and a large size, shared by toolbars and bitmap menus.
#pragma once
#include "afx/afx.h"

#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCEA(241)
#endif

class TWKBmpMgr : public CObject
{
    DECLARE_DYNAMIC(TWKBmpMgr)
public:
    // Where a command's image is.
    struct BmpItem
    {
        int nBmp;     // index of the strip
        int nIndex;   // index of the image within the strip
    };

    // One strip.
    struct BmpInfo
    {
        UINT nSmallID = 0;          // 0 when given by handle
        UINT nLargeID = 0;          // 0 when none
        HBITMAP hSmall = nullptr;
        HBITMAP hLarge = nullptr;
        int nCount = 0;
        BOOL bSysColor = TRUE;      // resources loaded in the button colours
        BOOL bCallerSmall = FALSE;  // the caller owns hSmall: never deleted here
        BOOL bCallerLarge = FALSE;
    };

    TWKBmpMgr();
    ~TWKBmpMgr() override;

    virtual BOOL LoadBitmaps(BmpInfo* pInfo, BOOL bReload);
    virtual BOOL LoadSmall(BmpInfo* pInfo);
    virtual BOOL LoadLarge(BmpInfo* pInfo);

    void AddRef() { m_nRefCount++; }
    // Deletes the manager when this was the last reference.
    void Release();
    int GetRefCount() const { return m_nRefCount; }

    // Adds the strip of toolbar resource nID (nLargeID: its large variant, 0
    // for none); 0 when a resource cannot be read or a bitmap not loaded.
    BOOL LoadToolBar(UINT nID, UINT nLargeID = 0, BOOL bSysColor = TRUE);
    BOOL AddBitmapRes(UINT nID, UINT nLargeID, const UINT* pIDs, int nCount, BOOL bSysColor = TRUE);
    // Bitmaps the caller owns (either may be NULL).
    BOOL AddBitmap(HBITMAP hSmall, HBITMAP hLarge, const UINT* pIDs, int nCount);
    BOOL ReloadBitmaps(BOOL bReload);
    // FALSE when the command has no image (the outputs are left alone).
    BOOL GetBitmap(UINT nID, HBITMAP* phBitmap, int* pnIndex, BOOL bSmallOnly = FALSE) const;

    void SetSmallImages(BOOL bSmall);
    BOOL IsSmallImages() const { return m_bSmallImages; }
    void SetKeepSmall(BOOL bKeep);
    BOOL IsKeepSmall() const { return m_bKeepSmall; }
    CSize GetSmallImageSize() const { return m_sizeSmall; }
    CSize GetLargeImageSize() const { return m_sizeLarge; }
    // The size now in use.
    CSize GetImageSize() const { return m_bSmallImages ? m_sizeSmall : m_sizeLarge; }
    int GetStripCount() const { return (int)m_arrBmps.GetSize(); }
    const BmpInfo* GetStrip(int nIndex) const { return m_arrBmps[nIndex]; }

    // Reads a toolbar resource (type 241: words version, width, height,
    // count, then the ids, 0 for a separator). *ppIDs gets an array made
    // with new[] (all items with bSeparators, the non-zero ones otherwise)
    // that the caller frees with delete[]; any output pointer may be NULL.
    // FALSE when the resource is missing or shorter than its count says.
    static BOOL ReadToolBarResource(UINT nID, UINT** ppIDs, int* pnCount, int* pcx, int* pcy, BOOL bSeparators);
    static BOOL ReadToolBarResource(LPCSTR lpszResourceName, UINT** ppIDs, int* pnCount, int* pcx, int* pcy,
                                    BOOL bSeparators);

protected:
    CMap<UINT, UINT, BmpItem*, BmpItem*> m_mapItems;
    CTypedPtrArray<CPtrArray, BmpInfo*> m_arrBmps;
    CSize m_sizeSmall;
    CSize m_sizeLarge;
    BOOL m_bSmallImages = TRUE;
    BOOL m_bKeepSmall = FALSE;
    int m_nRefCount = 1;

    BOOL AddStrip(BmpInfo* pInfo, const UINT* pIDs, int nCount);
    HBITMAP LoadResourceBitmap(UINT nID, BOOL bSysColor) const;
};
