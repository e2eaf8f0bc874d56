#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/controls/toolbars/TWKBmpMgr.h"
#include "framework/frameworkres.h"
#include <vector>

namespace {

// The block colours of the test strips' images (light grey around them).
const COLORREF kStrip16[] = { RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0), RGB(255, 0, 255) };
const COLORREF kStrip20[] = { RGB(0, 255, 255), RGB(255, 0x80, 0) };

CSize BitmapSize(HBITMAP hBitmap)
{
    BITMAP bm = {};
    if (!hBitmap || !::GetObjectA(hBitmap, sizeof bm, &bm))
        return CSize(0, 0);
    return CSize(bm.bmWidth, bm.bmHeight);
}

bool IsBitmap(HBITMAP hBitmap)
{
    return hBitmap && ::GetObjectType(hBitmap) == OBJ_BITMAP;
}

COLORREF PixelOf(HBITMAP hBitmap, int x, int y)
{
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
    COLORREF clr = ::GetPixel(hDC, x, y);
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    return clr;
}

// The centre and the corner of every image of a strip.
void ExpectImages(HBITMAP hBitmap, CSize sizeImage, const COLORREF* pColours, int nCount)
{
    ASSERT_TRUE(IsBitmap(hBitmap));
    EXPECT_EQ(CSize(sizeImage.cx * nCount, sizeImage.cy), BitmapSize(hBitmap));
    for (int i = 0; i < nCount; i++) {
        int x = i * sizeImage.cx;
        EXPECT_EQ(pColours[i], PixelOf(hBitmap, x + sizeImage.cx / 2, sizeImage.cy / 2)) << "image " << i;
        EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), PixelOf(hBitmap, x, 0)) << "image " << i;
    }
}

TEST(BmpMgrResource, ReadsItemsWithAndWithoutSeparators)
{
    const struct {
        BOOL bSeparators;
        std::vector<UINT> ids;
    } cases[] = {
        { TRUE, { ID_TWK_TEST_A, ID_TWK_TEST_B, 0, ID_TWK_TEST_C, ID_TWK_TEST_D, ID_TWK_TEST_E } },
        { FALSE, { ID_TWK_TEST_A, ID_TWK_TEST_B, ID_TWK_TEST_C, ID_TWK_TEST_D, ID_TWK_TEST_E } },
    };
    for (const auto& c : cases) {
        UINT* pIDs = nullptr;
        int nCount = -1, cx = 0, cy = 0;
        ASSERT_TRUE(TWKBmpMgr::ReadToolBarResource(IDR_TWK_TEST_TOOLBAR, &pIDs, &nCount, &cx, &cy, c.bSeparators));
        EXPECT_EQ(c.ids, std::vector<UINT>(pIDs, pIDs + nCount)) << c.bSeparators;
        EXPECT_EQ(16, cx);
        EXPECT_EQ(15, cy);
        delete[] pIDs;
    }
    // Only the sizes, by name.
    int cx = 0, cy = 0;
    EXPECT_TRUE(TWKBmpMgr::ReadToolBarResource(MAKEINTRESOURCEA(IDR_TWK_TEST_TOOLBAR_LARGE), nullptr, nullptr,
                                               &cx, &cy, FALSE));
    EXPECT_EQ(CSize(24, 23), CSize(cx, cy));
}

TEST(BmpMgrResource, RefusesMissingAndTruncatedResources)
{
    for (UINT nID : { (UINT)IDR_TWK_TEST_TOOLBAR_CUT, 0x7DFFu }) {
        UINT* pIDs = nullptr;
        int nCount = -1, cx = -1, cy = -1;
        EXPECT_FALSE(TWKBmpMgr::ReadToolBarResource(nID, &pIDs, &nCount, &cx, &cy, TRUE)) << nID;
        EXPECT_EQ(nullptr, pIDs);
        EXPECT_EQ(-1, nCount);
        TWKBmpMgr mgr;
        EXPECT_FALSE(mgr.LoadToolBar(nID, 0, TRUE)) << nID;
        EXPECT_EQ(0, mgr.GetStripCount());
        EXPECT_FALSE(mgr.GetBitmap(ID_TWK_TEST_A, nullptr, nullptr));
        EXPECT_EQ(CSize(16, 15), mgr.GetSmallImageSize());
    }
}

TEST(BmpMgr, FirstStripFixesSizesAndKeepsItsImages)
{
    TWKBmpMgr mgr;
    EXPECT_EQ(CSize(16, 15), mgr.GetSmallImageSize());
    EXPECT_EQ(CSize(22, 24), mgr.GetLargeImageSize());
    ASSERT_TRUE(mgr.LoadToolBar(IDR_TWK_TEST_TOOLBAR, IDR_TWK_TEST_TOOLBAR_LARGE, TRUE));
    EXPECT_EQ(CSize(24, 23), mgr.GetLargeImageSize());
    // Another image size later changes nothing; C stays with the first strip.
    ASSERT_TRUE(mgr.LoadToolBar(IDR_TWK_TEST_TOOLBAR2, 0, TRUE));
    EXPECT_EQ(CSize(16, 15), mgr.GetSmallImageSize());
    EXPECT_EQ(CSize(24, 23), mgr.GetLargeImageSize());
    EXPECT_EQ(CSize(16, 15), mgr.GetImageSize());

    const struct { UINT nID; int nStrip; int nIndex; } cases[] = {
        { ID_TWK_TEST_A, 0, 0 }, { ID_TWK_TEST_B, 0, 1 }, { ID_TWK_TEST_C, 0, 2 },
        { ID_TWK_TEST_E, 0, 4 }, { ID_TWK_TEST_F, 1, 1 },
    };
    for (const auto& c : cases) {
        HBITMAP hBitmap = nullptr;
        int nIndex = -1;
        ASSERT_TRUE(mgr.GetBitmap(c.nID, &hBitmap, &nIndex)) << c.nID;
        EXPECT_EQ(mgr.GetStrip(c.nStrip)->hSmall, hBitmap) << c.nID;
        EXPECT_EQ(c.nIndex, nIndex) << c.nID;
    }
    ExpectImages(mgr.GetStrip(0)->hSmall, CSize(16, 15), kStrip16, 5);
    ExpectImages(mgr.GetStrip(1)->hSmall, CSize(20, 18), kStrip20, 2);

    // A command without an image leaves the outputs alone.
    HBITMAP hBitmap = reinterpret_cast<HBITMAP>(0x1234);
    int nIndex = 77;
    EXPECT_FALSE(mgr.GetBitmap(0x7D7F, &hBitmap, &nIndex));
    EXPECT_EQ(reinterpret_cast<HBITMAP>(0x1234), hBitmap);
    EXPECT_EQ(77, nIndex);
}

TEST(BmpMgr, LargeImagesComeFromTheLargeResourceOrAreStretched)
{
    // With a large resource its images are used; without one each small
    // image is stretched to the (default) large size.
    const struct { UINT nLargeID; CSize size; } cases[] = {
        { IDR_TWK_TEST_TOOLBAR_LARGE, CSize(24, 23) },
        { 0, CSize(22, 24) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nLargeID);
        TWKBmpMgr mgr;
        ASSERT_TRUE(mgr.LoadToolBar(IDR_TWK_TEST_TOOLBAR, c.nLargeID, TRUE));
        mgr.SetSmallImages(FALSE);
        EXPECT_EQ(c.size, mgr.GetImageSize());
        const TWKBmpMgr::BmpInfo* pInfo = mgr.GetStrip(0);
        EXPECT_EQ(nullptr, pInfo->hSmall);   // not kept without keep-small
        HBITMAP hBitmap = nullptr;
        int nIndex = -1;
        ASSERT_TRUE(mgr.GetBitmap(ID_TWK_TEST_D, &hBitmap, &nIndex));
        EXPECT_EQ(pInfo->hLarge, hBitmap);
        EXPECT_EQ(3, nIndex);
        ExpectImages(pInfo->hLarge, c.size, kStrip16, 5);

        // Back to small: the large bitmaps go.
        HBITMAP hLarge = pInfo->hLarge;
        mgr.SetSmallImages(TRUE);
        EXPECT_EQ(nullptr, pInfo->hLarge);
        EXPECT_FALSE(IsBitmap(hLarge));
        ExpectImages(pInfo->hSmall, CSize(16, 15), kStrip16, 5);
    }
}

TEST(BmpMgr, KeepSmallKeepsTheSmallBitmapsBesideTheLargeOnes)
{
    TWKBmpMgr mgr;
    ASSERT_TRUE(mgr.LoadToolBar(IDR_TWK_TEST_TOOLBAR, IDR_TWK_TEST_TOOLBAR_LARGE, TRUE));
    const TWKBmpMgr::BmpInfo* pInfo = mgr.GetStrip(0);
    HBITMAP hSmall = pInfo->hSmall;
    mgr.SetKeepSmall(TRUE);
    EXPECT_EQ(hSmall, pInfo->hSmall);   // no reload of what is there
    mgr.SetSmallImages(FALSE);
    ASSERT_TRUE(IsBitmap(pInfo->hLarge));
    ASSERT_TRUE(IsBitmap(pInfo->hSmall));
    HBITMAP hBitmap = nullptr;
    ASSERT_TRUE(mgr.GetBitmap(ID_TWK_TEST_A, &hBitmap, nullptr, TRUE));
    EXPECT_EQ(pInfo->hSmall, hBitmap);
    ASSERT_TRUE(mgr.GetBitmap(ID_TWK_TEST_A, &hBitmap, nullptr, FALSE));
    EXPECT_EQ(pInfo->hLarge, hBitmap);
    // Keep-small off while large: the small ones go.
    mgr.SetKeepSmall(FALSE);
    EXPECT_EQ(nullptr, pInfo->hSmall);
    EXPECT_TRUE(IsBitmap(pInfo->hLarge));
}

TEST(BmpMgr, CallerOwnedBitmapsSurviveReloadsAndTheManager)
{
    CClientDC screen(nullptr);
    HBITMAP hSmall = ::CreateCompatibleBitmap(screen.m_hDC, 32, 15);
    HBITMAP hLarge = ::CreateCompatibleBitmap(screen.m_hDC, 44, 24);
    HBITMAP hOnlySmall = ::CreateCompatibleBitmap(screen.m_hDC, 16, 15);
    const UINT ids[] = { ID_TWK_TEST_A, ID_TWK_TEST_F };
    const UINT idOnly[] = { 0x7D70 };
    auto* pMgr = new TWKBmpMgr;
    ASSERT_TRUE(pMgr->AddBitmap(hSmall, hLarge, ids, 2));
    ASSERT_TRUE(pMgr->AddBitmap(hOnlySmall, nullptr, idOnly, 1));
    pMgr->ReloadBitmaps(TRUE);
    pMgr->SetSmallImages(FALSE);
    HBITMAP hBitmap = nullptr;
    ASSERT_TRUE(pMgr->GetBitmap(ID_TWK_TEST_F, &hBitmap, nullptr));
    EXPECT_EQ(hLarge, hBitmap);
    // A strip given without a large bitmap gets a stretched one of its own.
    ASSERT_TRUE(pMgr->GetBitmap(0x7D70, &hBitmap, nullptr));
    EXPECT_EQ(CSize(22, 24), BitmapSize(hBitmap));
    HBITMAP hStretched = hBitmap;
    pMgr->SetSmallImages(TRUE);
    ASSERT_TRUE(pMgr->GetBitmap(0x7D70, &hBitmap, nullptr));
    EXPECT_EQ(hOnlySmall, hBitmap);
    // The manager's own stretched strip goes with it; the caller's stay.
    pMgr->Release();
    EXPECT_FALSE(IsBitmap(hStretched));
    for (HBITMAP h : { hSmall, hLarge, hOnlySmall }) {
        EXPECT_TRUE(IsBitmap(h));
        ::DeleteObject(h);
    }
}

TEST(BmpMgr, ReferenceCountingDeletesWithTheLastOwner)
{
    static int s_nDeleted;
    struct CountedMgr : TWKBmpMgr {
        ~CountedMgr() override { s_nDeleted++; }
    };
    s_nDeleted = 0;
    auto* pMgr = new CountedMgr;
    EXPECT_EQ(1, pMgr->GetRefCount());
    pMgr->AddRef();   // a second owner
    EXPECT_EQ(2, pMgr->GetRefCount());
    pMgr->Release();
    EXPECT_EQ(0, s_nDeleted);
    EXPECT_EQ(1, pMgr->GetRefCount());
    pMgr->Release();
    EXPECT_EQ(1, s_nDeleted);
}

TEST(BmpMgr, AStripWhoseBitmapFailsStaysRegistered)
{
    TWKBmpMgr mgr;
    EXPECT_FALSE(mgr.LoadToolBar(IDR_TWK_TEST_TOOLBAR_NOBMP, 0, TRUE));
    ASSERT_EQ(1, mgr.GetStripCount());
    HBITMAP hBitmap = reinterpret_cast<HBITMAP>(0x1234);
    int nIndex = -1;
    ASSERT_TRUE(mgr.GetBitmap(ID_TWK_TEST_F, &hBitmap, &nIndex));
    EXPECT_EQ(nullptr, hBitmap);
    EXPECT_EQ(1, nIndex);
    // Switching sizes with a strip that cannot load does not fail the rest.
    ASSERT_TRUE(mgr.LoadToolBar(IDR_TWK_TEST_TOOLBAR, 0, TRUE));
    mgr.SetSmallImages(FALSE);
    EXPECT_EQ(nullptr, mgr.GetStrip(0)->hLarge);
    EXPECT_TRUE(IsBitmap(mgr.GetStrip(1)->hLarge));
}

} // namespace
