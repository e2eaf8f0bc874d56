#include <gtest/gtest.h>
#include "afx/afx.h"
#include "tests/harness/harness.h"

namespace {

const COLORREF RED = RGB(255, 0, 0), BLUE = RGB(0, 0, 255), GREEN = RGB(0, 255, 0), WHITE = RGB(255, 255, 255);

// A 32-bit memory DC of w x h filled with one colour.
struct MemDC {
    CDC dc;
    CBitmap bm;
    CBitmap* pOld = nullptr;
    MemDC(int w, int h, COLORREF fill)
    {
        dc.CreateCompatibleDC(nullptr);
        BITMAPINFO bi = {};
        bi.bmiHeader = { sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB };
        void* bits = nullptr;
        bm.Attach(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
        pOld = dc.SelectObject(&bm);
        dc.FillSolidRect(0, 0, w, h, fill);
    }
    ~MemDC() { dc.SelectObject(pOld); }
    COLORREF At(int x, int y) { return dc.GetPixel(x, y) & 0xFFFFFF; }
};

// Two 16 x 16 images: red, and blue with a white (transparent) left half.
void MakeStrip(CBitmap& strip)
{
    BITMAPINFO bi = {};
    bi.bmiHeader = { sizeof(BITMAPINFOHEADER), 32, -16, 1, 32, BI_RGB };
    void* bits = nullptr;
    HBITMAP h = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, h);
    dc.FillSolidRect(0, 0, 16, 16, RED);
    dc.FillSolidRect(16, 0, 16, 16, BLUE);
    dc.FillSolidRect(16, 0, 8, 16, WHITE);
    ::SelectObject(dc.m_hDC, old);
    strip.Attach(h);
}

class ImageList : public ::testing::Test
{
protected:
    CImageList list;
    void SetUp() override
    {
        ASSERT_TRUE(list.Create(16, 16, ILC_COLOR24 | ILC_MASK, 0, 4));
        CBitmap strip;
        MakeStrip(strip);
        ASSERT_EQ(list.Add(&strip, WHITE), 0);
        ASSERT_EQ(list.GetImageCount(), 2);
    }
    // Image nImage drawn over green with the style; the pixel at (x, 8).
    static COLORREF Drawn(CImageList& il, int nImage, UINT nStyle, int x)
    {
        MemDC dst(16, 16, GREEN);
        EXPECT_TRUE(il.Draw(&dst.dc, nImage, CPoint(0, 0), nStyle));
        return dst.At(x, 8);
    }
};

TEST_F(ImageList, DrawsImagesThroughTheirMask)
{
    IMAGEINFO info = {};
    ASSERT_TRUE(list.GetImageInfo(1, &info));
    EXPECT_EQ(CRect(info.rcImage).Width(), 16);
    EXPECT_NE(info.hbmMask, nullptr);

    EXPECT_EQ(Drawn(list, 0, ILD_NORMAL, 4), RED);
    EXPECT_EQ(Drawn(list, 1, ILD_NORMAL, 12), BLUE);
    EXPECT_EQ(Drawn(list, 1, ILD_NORMAL, 4), GREEN);    // the mask colour is transparent

    // Selected: the blend with the highlight is the system's; it draws.
    Drawn(list, 1, ILD_SELECTED, 12);

    // Image 0 as overlay 1 drawn over image 1 paints its transparent half.
    ASSERT_TRUE(list.SetOverlayImage(0, 1));
    COLORREF overlaid = Drawn(list, 1, ILD_NORMAL | INDEXTOOVERLAYMASK(1), 4);
    EXPECT_EQ(GetRValue(overlaid), 255);
    EXPECT_EQ(GetBValue(overlaid), 0);

    // A background colour fills what the mask leaves out.
    EXPECT_EQ(list.SetBkColor(RGB(0, 0, 0)), CLR_NONE);
    EXPECT_EQ(list.GetBkColor(), RGB(0, 0, 0));
    EXPECT_EQ(Drawn(list, 1, ILD_NORMAL, 4), RGB(0, 0, 0));

    // Out of range and empty objects fail without harm.
    MemDC dst(16, 16, GREEN);
    CImageList empty;
    EXPECT_FALSE(empty.Draw(&dst.dc, 0, CPoint(0, 0), ILD_NORMAL));
    EXPECT_EQ(empty.GetSafeHandle(), nullptr);
    EXPECT_EQ(empty.Add(nullptr, WHITE), -1);
    EXPECT_FALSE(list.Create(8, 8, ILC_COLOR24, 0, 1));   // holds one already: kept
    EXPECT_EQ(list.GetImageCount(), 2);
    EXPECT_FALSE(empty.Create(0x7F7F, 16, 1, WHITE));     // no such bitmap
}

TEST_F(ImageList, RemoveMergeAttachAndDetach)
{
    CImageList merged;
    ASSERT_TRUE(merged.Create(list, 1, list, 0, 8, 0));   // red moved right over the blue image
    EXPECT_EQ(merged.GetImageCount(), 1);
    EXPECT_EQ(Drawn(merged, 0, ILD_NORMAL, 12), RED);

    HIMAGELIST h = list.m_hImageList;
    EXPECT_EQ(CImageList::FromHandle(h), &list);
    EXPECT_EQ(list.Detach(), h);
    CImageList* pTemp = CImageList::FromHandle(h);
    ASSERT_NE(pTemp, nullptr);
    EXPECT_NE(pTemp, &list);
    CImageList::DeleteTempMap();                          // wrappers go, the list stays
    EXPECT_EQ(ImageList_GetImageCount(h), 2);

    CImageList other;
    ASSERT_TRUE(other.Attach(h));
    EXPECT_TRUE(other.Remove(0));
    EXPECT_EQ(other.GetImageCount(), 1);
    EXPECT_TRUE(other.Remove(-1));
    EXPECT_EQ(other.GetImageCount(), 0);
    EXPECT_TRUE(other.DeleteImageList());
    EXPECT_EQ(other.m_hImageList, nullptr);
    EXPECT_FALSE(other.DeleteImageList());
}

TEST_F(ImageList, DragFunctionsRunOverAWindow)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "Drag", WS_POPUP | WS_VISIBLE, 50, 50, 200, 150, nullptr,
                             nullptr));
    ASSERT_TRUE(list.BeginDrag(1, CPoint(2, 2)));
    EXPECT_TRUE(CImageList::DragEnter(&wnd, CPoint(10, 10)));
    EXPECT_TRUE(CImageList::DragMove(CPoint(40, 30)));
    EXPECT_TRUE(CImageList::DragShowNolock(FALSE));
    EXPECT_TRUE(CImageList::DragShowNolock(TRUE));
    CPoint pt, hot;
    CImageList* pDrag = CImageList::GetDragImage(&pt, &hot);
    ASSERT_NE(pDrag, nullptr);
    EXPECT_EQ(pDrag->GetImageCount(), 1);
    EXPECT_TRUE(CImageList::DragLeave(&wnd));
    CImageList::EndDrag();
    CImageList::DeleteTempMap();
    vt::PumpMessages();
}

TEST_F(ImageList, CopiesThroughAMemoryArchiveAmongOtherData)
{
    list.SetBkColor(CLR_NONE);
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store, 4096);
        ar << (DWORD)0x12345678;
        ASSERT_TRUE(list.Write(&ar));
        ar << CString("after");
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load, 4096);
    DWORD marker = 0;
    ar >> marker;
    EXPECT_EQ(marker, 0x12345678u);
    CImageList copy;
    ASSERT_TRUE(copy.Read(&ar));
    CString after;
    ar >> after;
    EXPECT_EQ(after, "after");

    EXPECT_EQ(copy.GetImageCount(), 2);
    IMAGEINFO info = {};
    ASSERT_TRUE(copy.GetImageInfo(1, &info));
    EXPECT_EQ(CRect(info.rcImage).Width(), 16);
    EXPECT_EQ(Drawn(copy, 0, ILD_NORMAL, 4), RED);
    EXPECT_EQ(Drawn(copy, 1, ILD_NORMAL, 12), BLUE);
    EXPECT_EQ(Drawn(copy, 1, ILD_NORMAL, 4), GREEN);
}

TEST_F(ImageList, ReadingSomethingElseFailsAndKeepsTheList)
{
    const char junk[] = "this is not an image list at all, just some text";
    CMemFile file(1024);
    file.Write(junk, sizeof junk);
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load, 4096);
    EXPECT_FALSE(list.Read(&ar));
    EXPECT_EQ(list.GetImageCount(), 2);

    CMemFile empty(1024);
    CArchive ar2(&empty, CArchive::load, 4096);
    EXPECT_FALSE(list.Read(&ar2));
    EXPECT_FALSE(list.Write(&ar2));   // a loading archive cannot be written
}

} // namespace
