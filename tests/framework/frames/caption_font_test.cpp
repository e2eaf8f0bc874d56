// The gripper's close and expand buttons are drawn by the platform in its symbol font: the
// font they ask for must be the one the platform gives, or the buttons show letters.
#include "tests/framework/frames/frames_fixture.h"
#include <set>
#include <string>

namespace {

// The face names of the fonts a drawing asked for, read back from a metafile of it.
int CALLBACK CollectFaces(HDC, HANDLETABLE*, const ENHMETARECORD* pRecord, int, LPARAM lParam)
{
    if (pRecord->iType == EMR_EXTCREATEFONTINDIRECTW) {
        const auto* p = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(pRecord);
        char face[LF_FACESIZE] = "";
        ::WideCharToMultiByte(CP_ACP, 0, p->elfw.elfLogFont.lfFaceName, -1, face, sizeof face, nullptr, nullptr);
        reinterpret_cast<std::set<std::string>*>(lParam)->insert(face);
    }
    return 1;
}

// The face the platform selects for a face name asked with the symbol character set.
std::string SelectedFace(const std::string& face)
{
    LOGFONTA lf = {};
    lf.lfHeight = -12;
    lf.lfCharSet = SYMBOL_CHARSET;
    lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    HFONT hFont = ::CreateFontIndirectA(&lf);
    HDC hdc = ::GetDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hdc, hFont);
    char got[LF_FACESIZE] = "";
    ::GetTextFaceA(hdc, sizeof got, got);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(nullptr, hdc);
    ::DeleteObject(hFont);
    return got;
}

TEST(GripperButtons, AreDrawnInMarlettAndThePlatformHasIt)
{
    vt::MainFrame frame;
    ASSERT_NE(nullptr, frame.p);
    TWKControlBar* pBar = frame.Bar(0xE740);
    ASSERT_NE(nullptr, pBar);
    for (BOOL bHorz : { TRUE, FALSE }) {
        SCOPED_TRACE(bHorz ? "horizontal" : "vertical");
        HDC hdcRef = ::GetDC(nullptr);
        HDC hdcMeta = ::CreateEnhMetaFileA(hdcRef, nullptr, nullptr, nullptr);
        ::ReleaseDC(nullptr, hdcRef);
        ASSERT_NE(nullptr, hdcMeta);
        CDC dc;
        dc.Attach(hdcMeta);
        CRect rect(0, 0, 120, 120);
        pBar->DrawCloseButton(&dc, rect, bHorz);
        pBar->DrawExpandButton(&dc, rect, bHorz);
        dc.Detach();
        HENHMETAFILE hMeta = ::CloseEnhMetaFile(hdcMeta);
        std::set<std::string> faces;
        ::EnumEnhMetaFile(nullptr, hMeta, CollectFaces, &faces, nullptr);
        ::DeleteEnhMetaFile(hMeta);
        EXPECT_EQ(std::set<std::string>{ "Marlett" }, faces);
        for (const std::string& face : faces)
            EXPECT_EQ(face, SelectedFace(face));
    }
}

} // namespace
