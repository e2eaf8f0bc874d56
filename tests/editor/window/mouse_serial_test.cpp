// The editing window and the desktop's real cursor and clipboard: cursor
// shapes over the gutter, the selection and the text, autoscroll ticks
// while the cursor stays below the window, and Paste in the context menu.
#include "tests/editor/window/window_fixture.h"

namespace {

struct SerialHost
{
    TWKEditCtrl ctrl;
    vt::CtrlHost host{&ctrl, 400, 200};
    explicit SerialHost(const std::string& text)
    {
        host.SetText(text);
        host.TakeFocus();
    }
    ~SerialHost() { ::ReleaseCapture(); }
    CPoint Cell(int row, int col) { return vt::CellPoint(ctrl, row, col); }
    void CursorTo(CPoint client)
    {
        ctrl.ClientToScreen(&client);
        ::SetCursorPos(client.x, client.y);
    }
    // The cursor the window sets for a point of its client area.
    HCURSOR CursorAt(CPoint client)
    {
        CursorTo(client);
        ::SetCursor(NULL);
        ctrl.SendMessage(WM_SETCURSOR, (WPARAM)ctrl.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return ::GetCursor();
    }
};

TEST(MouseSerial, CursorShapes)
{
    SerialHost h("alpha beta gamma\r\nsecond\r\n");
    h.ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(h.Cell(0, 6).x, h.Cell(0, 6).y));
    h.ctrl.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(h.Cell(0, 10).x, h.Cell(0, 10).y));
    h.ctrl.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(h.Cell(0, 10).x, h.Cell(0, 10).y));
    ASSERT_TRUE(h.ctrl.m_bSelection);

    HCURSOR hGutter = AfxGetApp()->LoadCursor(IDC_TWK_GUTTER);
    ASSERT_NE(nullptr, hGutter);
    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(hGutter, &info));
    EXPECT_EQ(12u, info.xHotspot) << "the arrow's tip";
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);

    EXPECT_EQ(hGutter, h.CursorAt(CPoint(1, h.Cell(1, 0).y))) << "over the gutter";
    EXPECT_EQ(::LoadCursor(NULL, IDC_ARROW), h.CursorAt(h.Cell(0, 8))) << "over the selection";
    HCURSOR hArrow = ::LoadCursor(NULL, IDC_ARROW), hBeam = ::LoadCursor(NULL, IDC_IBEAM);
    EXPECT_EQ(hBeam, h.CursorAt(h.Cell(1, 3))) << "over the text; arrow " << hArrow << ", class "
                                               << (HCURSOR)::GetClassLongPtrA(h.ctrl.m_hWnd, GCLP_HCURSOR);
    EXPECT_EQ(hBeam, h.CursorAt(h.Cell(0, 12))) << "right of the selection";
}

TEST(MouseSerial, AutoscrollOneLinePerTickBelowTheWindow)
{
    SerialHost h(vt::NumberedLines(60));
    const int nRows = h.ctrl.m_rcClient.bottom / h.ctrl.m_nLineHeight;
    ASSERT_GT(nRows, 2);
    CPoint start = h.Cell(nRows - 1, 2);
    h.ctrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(start.x, start.y));
    ASSERT_TRUE(h.ctrl.m_bMouseSelecting);
    h.CursorTo(CPoint(start.x, h.ctrl.m_rcClient.bottom + 20));

    // The ticks are sent here, so no timing decides the outcome.
    h.ctrl.SendMessage(WM_TIMER, 6, 0);
    EXPECT_EQ(nRows, h.ctrl.m_nCaretLine) << "the first tick is ignored";
    for (int i = 1; i <= 3; i++)
    {
        h.ctrl.SendMessage(WM_TIMER, 6, 0);
        EXPECT_EQ(nRows + i, h.ctrl.m_nCaretLine) << "tick " << i;
        EXPECT_EQ(1 + i, h.ctrl.m_nTopLine) << "scrolled with it, tick " << i;
    }
    h.ctrl.SendMessage(WM_TIMER, 7, 0);
    EXPECT_EQ(nRows + 3, h.ctrl.m_nCaretLine) << "another timer does nothing";

    // Back inside and still: nothing more.
    CPoint inside = h.Cell(2, 2);
    h.CursorTo(inside);
    h.ctrl.SendMessage(WM_TIMER, 6, 0);
    int nLine = h.ctrl.m_nCaretLine;
    h.ctrl.SendMessage(WM_TIMER, 6, 0);
    EXPECT_EQ(nLine, h.ctrl.m_nCaretLine);

    h.ctrl.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(inside.x, inside.y));
    EXPECT_FALSE(h.ctrl.m_bMouseSelecting);
    EXPECT_EQ(0u, h.ctrl.m_nTimerID);
    EXPECT_TRUE(h.ctrl.m_bSelection);
    EXPECT_EQ(h.ctrl.GetEdit()->GetLine(nRows), h.ctrl.m_pSelEndLine) << "the anchor";
}

TEST(MouseSerial, PasteIsGreyedWithoutTextOnTheClipboard)
{
    SerialHost h("text\r\n");
    for (bool withText : {false, true})
    {
        ASSERT_TRUE(::OpenClipboard(h.ctrl.m_hWnd));
        ::EmptyClipboard();
        if (withText)
        {
            HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, 5);
            memcpy(::GlobalLock(hText), "clip", 5);
            ::GlobalUnlock(hText);
            ::SetClipboardData(CF_TEXT, hText);
        }
        ::CloseClipboard();
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        h.ctrl.BuildContextMenu(&menu);
        EXPECT_EQ(!withText, (::GetMenuState(menu.m_hMenu, ID_EDIT_PASTE, MF_BYCOMMAND) & MF_GRAYED) != 0);
    }
}

} // namespace
