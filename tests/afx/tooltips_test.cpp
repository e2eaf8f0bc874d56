#include <gtest/gtest.h>
#include "afx/afx.h"
#include "afx/afxres.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

// Strings of the test resources.
const UINT ID_OPEN = 0x7F10;     // "Opens the thing\nOpen Thing"
const UINT ID_PROMPT = 0x7F11;   // "Only a prompt"
const UINT ID_EXTRA = 0x7F12;    // "Prompt\nTip\nExtra"

// Stands in for a frame: shows status text and answers tip requests.
class COwner : public CWnd
{
public:
    std::vector<WPARAM> status;
    std::vector<UINT> tipIds;
    std::string lastTip;

protected:
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM) { status.push_back(wParam); return 0; }
    afx_msg BOOL OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult)
    {
        tipIds.push_back(AfxGetToolTipCommandId(pNMHDR));
        BOOL ok = AfxAnswerToolTipText(pNMHDR, pResult);
        lastTip = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR)->lpszText;
        return ok;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwner, CWnd)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXT, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

// A bar with two tools side by side; unhandled notifications go to its owner.
class CBar : public CWnd
{
public:
    DWORD style = CBRS_TOOLTIPS | CBRS_FLYBY;
    bool ownText = false;
    static CRect ToolRect(int i) { return CRect(i * 40, 0, i * 40 + 30, 20); }

    DWORD GetToolTipStyle() const override { return style; }
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override
    {
        static const UINT ids[] = { ID_OPEN, ID_PROMPT };
        for (int i = 0; i < 2; i++) {
            CRect r = ToolRect(i);
            if (!r.PtInRect(point))
                continue;
            if (pTI) {
                pTI->hwnd = m_hWnd;
                pTI->uId = ids[i];
                pTI->rect = r;
                pTI->lpszText = ownText ? AfxAllocToolTipText("Own text") : LPSTR_TEXTCALLBACKA;
            }
            return ids[i];
        }
        return -1;
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        if (CWnd::OnNotify(wParam, lParam, pResult))
            return TRUE;
        *pResult = GetOwner()->SendMessage(WM_NOTIFY, wParam, lParam);
        return TRUE;
    }
};

class ToolTips : public ::testing::Test
{
protected:
    COwner owner;
    CBar bar;
    CWnd plain;   // a child without tips

    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW)), "Owner",
                                   WS_POPUP | WS_VISIBLE, 60, 60, 400, 200, nullptr, nullptr));
        ASSERT_TRUE(bar.Create(nullptr, "Bar", WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 40), &owner, 0xE800));
        ASSERT_TRUE(plain.Create(nullptr, "Plain", WS_CHILD | WS_VISIBLE, CRect(10, 100, 210, 140), &owner, 200));
        bar.EnableToolTips(TRUE);
        vt::PumpMessages();
    }
    void TearDown() override { AfxCancelToolTips(); }

    // The mouse message as the message loop would pre-translate it.
    static void Mouse(CWnd& wnd, int x, int y, UINT message = WM_MOUSEMOVE)
    {
        MSG msg = {};
        msg.hwnd = wnd.m_hWnd;
        msg.message = message;
        msg.lParam = MAKELPARAM(x, y);
        msg.time = ::GetTickCount();
        msg.pt = { x, y };
        ::ClientToScreen(wnd.m_hWnd, &msg.pt);
        AfxGetThread()->PreTranslateMessage(&msg);
    }
    static int ToolCount()
    {
        HWND h = AfxGetToolTipWindow();
        return h ? (int)::SendMessageA(h, TTM_GETTOOLCOUNT, 0, 0) : 0;
    }
};

TEST_F(ToolTips, FlyByShowsTheToolAndTheIdleTextWhenTheMouseMovesOff)
{
    Mouse(bar, 5, 5);
    Mouse(bar, 6, 7);                // the same tool: said once
    Mouse(bar, 45, 5);               // the next tool
    EXPECT_EQ(owner.status, (std::vector<WPARAM>{ ID_OPEN, ID_PROMPT }));

    Mouse(bar, 35, 5);               // between the tools
    ASSERT_EQ(owner.status.size(), 3u);
    EXPECT_EQ(owner.status.back(), (WPARAM)AFX_IDS_IDLEMESSAGE);

    Mouse(bar, 5, 5);
    Mouse(plain, 5, 5);              // a window without tips
    ASSERT_EQ(owner.status.size(), 5u);
    EXPECT_EQ(owner.status.back(), (WPARAM)AFX_IDS_IDLEMESSAGE);

    // The mouse leaving the window altogether ends it too.
    Mouse(bar, 5, 5);
    Mouse(bar, 0, 0, WM_MOUSELEAVE);
    ASSERT_EQ(owner.status.size(), 7u);
    EXPECT_EQ(owner.status.back(), (WPARAM)AFX_IDS_IDLEMESSAGE);
    EXPECT_EQ(ToolCount(), 0);

    // And so does the bar going away.
    Mouse(bar, 45, 5);
    bar.DestroyWindow();
    ASSERT_EQ(owner.status.size(), 9u);
    EXPECT_EQ(owner.status.back(), (WPARAM)AFX_IDS_IDLEMESSAGE);
}

TEST_F(ToolTips, OneControlHoldsTheToolUnderTheMouseWithoutFlyBy)
{
    bar.style = CBRS_TOOLTIPS;
    Mouse(bar, 45, 5);
    EXPECT_TRUE(owner.status.empty());
    HWND hTip = AfxGetToolTipWindow();
    ASSERT_NE(hTip, nullptr);
    ASSERT_EQ(ToolCount(), 1);
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ASSERT_TRUE(::SendMessageA(hTip, TTM_ENUMTOOLSA, 0, (LPARAM)&ti));
    EXPECT_EQ(ti.hwnd, bar.m_hWnd);
    EXPECT_EQ(ti.uId, (UINT_PTR)ID_PROMPT);
    EXPECT_EQ(CRect(ti.rect), CBar::ToolRect(1));

    Mouse(bar, 5, 5);                // another tool replaces it
    ASSERT_EQ(ToolCount(), 1);
    ASSERT_TRUE(::SendMessageA(hTip, TTM_ENUMTOOLSA, 0, (LPARAM)&ti));
    EXPECT_EQ(ti.uId, (UINT_PTR)ID_OPEN);

    Mouse(bar, 100, 5);              // no tool
    EXPECT_EQ(ToolCount(), 0);

    // Neither tips nor status text: nothing at all.
    bar.style = 0;
    Mouse(bar, 5, 5);
    EXPECT_EQ(ToolCount(), 0);
    EXPECT_TRUE(owner.status.empty());

    // A window with tips switched off shows none.
    bar.style = CBRS_TOOLTIPS | CBRS_FLYBY;
    bar.EnableToolTips(FALSE);
    Mouse(bar, 5, 5);
    EXPECT_EQ(ToolCount(), 0);
    EXPECT_TRUE(owner.status.empty());
}

TEST_F(ToolTips, TextTheHitTestAllocatedIsCopiedIntoTheTool)
{
    bar.ownText = true;
    Mouse(bar, 5, 5);
    Mouse(bar, 45, 5);
    Mouse(bar, 45, 6);   // each hit test made a copy; the machinery frees them
    ASSERT_EQ(ToolCount(), 1);
    char text[80] = "";
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.hwnd = bar.m_hWnd;
    ti.uId = ID_PROMPT;
    ti.lpszText = text;
    ::SendMessageA(AfxGetToolTipWindow(), TTM_GETTEXTA, 0, (LPARAM)&ti);
    EXPECT_STREQ(text, "Own text");
}

TEST_F(ToolTips, ShownTipAsksTheOwnerForTheTipPartOfTheString)
{
    bar.style = CBRS_TOOLTIPS;
    CPoint pt(5, 5);
    bar.ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    Mouse(bar, 5, 5);
    HWND hTip = AfxGetToolTipWindow();
    ASSERT_NE(hTip, nullptr);
    ::SendMessageA(hTip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
    for (int i = 0; i < 40 && owner.tipIds.empty(); i++) {
        Mouse(bar, 5, 5);
        vt::PumpMessages(25);
    }
    ASSERT_FALSE(owner.tipIds.empty());
    EXPECT_EQ(owner.tipIds[0], ID_OPEN);
    EXPECT_EQ(owner.lastTip, "Open Thing");
}

TEST(ToolTipText, AnswersWithTheTipPartOfTheCommandString)
{
    struct Case { UINT id; BOOL answered; const char* tip; };
    const Case cases[] = {
        { ID_OPEN, TRUE, "Open Thing" },
        { ID_EXTRA, TRUE, "Tip" },       // the tip ends at the next newline
        { ID_PROMPT, TRUE, "" },         // a prompt without a tip part
        { 0x7F1F, FALSE, "" },           // no string
    };
    for (const Case& c : cases) {
        NMTTDISPINFOA a = {};
        a.hdr.code = TTN_NEEDTEXTA;
        a.hdr.idFrom = c.id;
        LRESULT r = 7;
        EXPECT_EQ(AfxAnswerToolTipText(&a.hdr, &r), c.answered) << c.id;
        if (c.answered) {
            EXPECT_STREQ(a.lpszText, c.tip) << c.id;
            EXPECT_EQ(r, 0);
        }
    }
    NMTTDISPINFOW w = {};
    w.hdr.code = TTN_NEEDTEXTW;
    w.hdr.idFrom = ID_OPEN;
    LRESULT r = 0;
    ASSERT_TRUE(AfxAnswerToolTipText(&w.hdr, &r));
    EXPECT_EQ(std::wstring(w.lpszText), L"Open Thing");

    // Long texts are cut to the request's own buffer.
    NMTTDISPINFOA a = {};
    a.hdr.code = TTN_NEEDTEXTA;
    AfxSetToolTipText(&a.hdr, std::string(200, 'x').c_str());
    EXPECT_EQ(strlen(a.lpszText), 79u);

    NMHDR other = {};
    other.code = NM_CLICK;
    EXPECT_EQ(AfxGetToolTipCommandId(&other), (UINT)-1);
}

TEST_F(ToolTips, RequestForAToolThatIsAWindowIsRoutedByItsControlId)
{
    // CWnd's own hit test: a child control is the tool, named by its handle.
    owner.EnableToolTips(TRUE);
    ::SetWindowLongPtrA(plain.m_hWnd, GWLP_ID, ID_OPEN);
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    EXPECT_EQ(owner.OnToolHitTest(CPoint(20, 110), &ti), (INT_PTR)ID_OPEN);
    EXPECT_TRUE(ti.uFlags & TTF_IDISHWND);
    EXPECT_EQ(owner.OnToolHitTest(CPoint(300, 180), &ti), -1);

    NMTTDISPINFOA a = {};
    a.hdr.hwndFrom = AfxGetToolTipWindow();
    a.hdr.code = TTN_NEEDTEXTA;
    a.hdr.idFrom = ti.uId;
    a.uFlags = TTF_IDISHWND;
    owner.SendMessage(WM_NOTIFY, 0, (LPARAM)&a);
    ASSERT_EQ(owner.tipIds.size(), 1u);
    EXPECT_EQ(owner.tipIds[0], ID_OPEN);
    EXPECT_EQ(owner.lastTip, "Open Thing");
}

TEST_F(ToolTips, WaitCursorHoldsOnSetCursorUntilTheEnd)
{
    HCURSOR hWait = ::LoadCursor(nullptr, IDC_WAIT);
    HCURSOR hArrow = ::LoadCursor(nullptr, IDC_ARROW);
    const LPARAM lp = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);

    owner.BeginWaitCursor();
    ::SetCursor(hArrow);
    EXPECT_TRUE(plain.SendMessage(WM_SETCURSOR, (WPARAM)plain.m_hWnd, lp));
    EXPECT_EQ(::GetCursor(), hWait);

    ::SetCursor(hArrow);             // a message box or the like changed it
    owner.RestoreWaitCursor();
    EXPECT_EQ(::GetCursor(), hWait);

    {
        CWaitCursor nested;
        owner.EndWaitCursor();       // still one level up
        ::SetCursor(hArrow);
        owner.SendMessage(WM_SETCURSOR, (WPARAM)owner.m_hWnd, lp);
        EXPECT_EQ(::GetCursor(), hWait);
    }
    // Over: the window's own cursor again.
    owner.SendMessage(WM_SETCURSOR, (WPARAM)owner.m_hWnd, lp);
    EXPECT_EQ(::GetCursor(), hArrow);
}

} // namespace
