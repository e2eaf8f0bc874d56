// CImageList: the system image list wrapped, with drag images and reading
// and writing through an archive.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "afx/object.h"
#include "afx/geometry.h"

class CArchive;
class CBitmap;
class CDC;
class CWnd;

class CImageList : public CObject
{
    DECLARE_DYNCREATE(CImageList)
public:
    CImageList() = default;
    ~CImageList() override;   // deletes the list it holds
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList = nullptr;

    operator HIMAGELIST() const { return m_hImageList; }
    // Safe on a NULL pointer.
    HIMAGELIST GetSafeHandle() const;

    // A temporary wrapper (freed at idle) unless a permanent object holds the list.
    static CImageList* FromHandle(HIMAGELIST hImageList);
    static CImageList* FromHandlePermanent(HIMAGELIST hImageList);
    static void DeleteTempMap();
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    // nFlags: ILC_COLOR* | ILC_MASK ...
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // Images cx wide cut from a bitmap resource; crMask is transparent
    // (CLR_NONE: no mask).
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(LPCSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
    // Merge: image 2 drawn over image 1, offset by (dx, dy).
    BOOL Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy);

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL SetImageCount(UINT uNewCount) { return ImageList_SetImageCount(m_hImageList, uNewCount); }
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const
        { return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo); }
    COLORREF GetBkColor() const { return ImageList_GetBkColor(m_hImageList); }
    COLORREF SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }

    // The index of the first image added, -1 on failure.
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, -1, hIcon); }
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    int Replace(int nImage, HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
    // -1 removes every image.
    BOOL Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }
    HICON ExtractIcon(int nImage) { return ImageList_ExtractIcon(nullptr, m_hImageList, nImage); }

    // nStyle: ILD_NORMAL, ILD_TRANSPARENT, ILD_SELECTED / ILD_FOCUS, INDEXTOOVERLAYMASK(n) ...
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    // Image nImage becomes overlay nOverlay (1 to 15) for INDEXTOOVERLAYMASK.
    BOOL SetOverlayImage(int nImage, int nOverlay) { return ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay); }

    // Drag images: one drag at a time per thread.
    BOOL BeginDrag(int nImage, CPoint ptHotSpot);
    static void PASCAL EndDrag();
    static BOOL PASCAL DragMove(CPoint pt);
    BOOL SetDragCursorImage(int nDrag, CPoint ptHotSpot);
    static BOOL PASCAL DragShowNolock(BOOL bShow);
    static CImageList* PASCAL GetDragImage(LPPOINT lpPoint, LPPOINT lpPointHotSpot);
    // pWndLock NULL: the desktop; pt in its window coordinates.
    static BOOL PASCAL DragEnter(CWnd* pWndLock, CPoint point);
    static BOOL PASCAL DragLeave(CWnd* pWndLock);

    // The system's image-list stream format, written at the archive's
    // position. Read replaces the list held; FALSE when the data is not an
    // image list (the archive is then at an unknown place).
    BOOL Read(CArchive* pArchive);
    BOOL Write(CArchive* pArchive);
};
