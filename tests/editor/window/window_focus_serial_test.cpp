// The editing window and the keyboard focus. The focus belongs to the active window of the
// display, which another program's window can take at any moment: these run alone.
#include "tests/editor/window/window_fixture.h"

namespace {

// A control showing another window's store.
class SharedCtrl : public TWKEditCtrl
{
public:
    TWKEdit* pShared = nullptr;
    TWKEdit* GetEdit() override { return pShared; }
};

TEST(WindowCore, FocusShowsTheCaretAndTheLastFocusedWindowOwnsTheSelection)
{
    // Both in one top-level window: moving the focus needs no activation.
    TWKEditCtrl first;
    vt::CtrlHost host(&first, 200, 150);
    host.SetText("alpha\r\nbeta");
    SharedCtrl second;
    second.pShared = first.GetEdit();
    ASSERT_TRUE(second.Create(NULL, "TWKEdit", WS_CHILD | WS_VISIBLE, CRect(210, 0, 390, 150), &host.host, 101));
    second.InitView();
    host.host.SetForegroundWindow();
    first.SetFocus();
    vt::PumpMessages();
    EXPECT_EQ(first.GetEdit()->m_pFocusWnd, &first);
    EXPECT_TRUE(first.m_bCaretCreated);
    GUITHREADINFO gui = {sizeof gui};
    ASSERT_TRUE(::GetGUIThreadInfo(::GetCurrentThreadId(), &gui));   // this thread, not the foreground one
    EXPECT_EQ(first.m_hWnd, gui.hwndCaret);
    EXPECT_EQ(2, gui.rcCaret.right - gui.rcCaret.left);
    EXPECT_EQ(first.m_nLineHeight, gui.rcCaret.bottom - gui.rcCaret.top);

    second.SetFocus();
    vt::PumpMessages();
    EXPECT_FALSE(first.m_bCaretCreated);
    EXPECT_EQ(first.GetEdit()->m_pFocusWnd, &second);

    // Only the window that got the focus last paints the selection.
    for (TWKEditCtrl* p : {(TWKEditCtrl*)&first, (TWKEditCtrl*)&second})
    {
        p->m_bSelection = TRUE;
        p->m_pSelStartLine = p->m_pSelEndLine = p->GetEdit()->GetFirstLine();
        p->m_nSelStartCol = 0;
        p->m_nSelEndCol = 3;
        p->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    auto background = [&](CWnd& w) {
        HDC hdc = ::GetDC(w.m_hWnd);
        // Top right corner of the third cell: no glyph and no caret reach it.
        COLORREF c = ::GetPixel(hdc, first.m_nTextLeft + 3 * first.m_nCharWidth - 1, 0);
        ::ReleaseDC(w.m_hWnd, hdc);
        return c;
    };
    EXPECT_EQ(first.GetEdit()->m_crBackground, background(first));
    EXPECT_NE(first.GetEdit()->m_crBackground, background(second));
    for (TWKEditCtrl* p : {(TWKEditCtrl*)&first, (TWKEditCtrl*)&second})
        p->m_bSelection = FALSE, p->m_pSelStartLine = p->m_pSelEndLine = NULL;
}

} // namespace
