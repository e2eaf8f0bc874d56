// The custom caption as both main frames have it: a frame class that counts
// its caption draws, and the checks of the switch and the messages that draw.
#pragma once
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "tests/harness/harness.h"
#include <string>

namespace vt {

// Counts the caption draws and keeps the real painting.
template <class Frame>
class CCaptionCounter : public Frame
{
public:
    int m_nDraws = 0;
    void DrawCaption() override
    {
        ++m_nDraws;
        Frame::DrawCaption();
    }
};

// On a loaded, shown frame: the caption is off after construction and refused
// without Windows 4; off, nothing reaches the painter; on, WM_NCACTIVATE,
// WM_NCPAINT and WM_SETTEXT each draw once and leave WS_VISIBLE as it was; a
// disabled frame draws its caption inactive. The caption is left on.
template <class Frame>
void ExpectCustomCaptionMessages(CCaptionCounter<Frame>* p)
{
    EXPECT_FALSE(p->m_bCustomCaption);
    BOOL bWin4 = p->m_bWin4;
    ASSERT_TRUE(bWin4);   // the platform reports version 4 or later
    p->m_bWin4 = FALSE;
    EXPECT_FALSE(p->EnableCustomCaption(TRUE, FALSE));
    EXPECT_FALSE(p->m_bCustomCaption);
    p->m_bWin4 = bWin4;

    struct Case { const char* what; UINT msg; WPARAM wParam; };
    const Case cases[] = { { "activate", WM_NCACTIVATE, TRUE }, { "paint all", WM_NCPAINT, 1 },
                           { "set text", WM_SETTEXT, 0 } };
    for (BOOL bOn : { FALSE, TRUE }) {
        EXPECT_FALSE(p->EnableCustomCaption(bOn, FALSE));   // it was off
        EXPECT_EQ(bOn, p->m_bCustomCaption);
        PumpMessages();
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (bOn ? " on" : " off"));
            p->m_nDraws = 0;
            LRESULT r = c.msg == WM_SETTEXT ? p->SendMessage(WM_SETTEXT, 0, (LPARAM) "Kelbray - doc.c")
                                            : p->SendMessage(c.msg, c.wParam);
            EXPECT_EQ(bOn ? 1 : 0, p->m_nDraws);
            EXPECT_TRUE(p->GetStyle() & WS_VISIBLE);
            if (c.msg == WM_SETTEXT) {
                EXPECT_EQ(TRUE, r);
                CString title;
                p->GetWindowText(title);
                EXPECT_STREQ("Kelbray - doc.c", title);
            }
        }
    }
    p->EnableWindow(FALSE);
    p->SendMessage(WM_NCACTIVATE, TRUE);
    EXPECT_FALSE(p->m_bCaptionActive);
    p->EnableWindow(TRUE);
    p->SendMessage(WM_NCACTIVATE, TRUE);
    EXPECT_TRUE(p->m_bCaptionActive);
}

} // namespace vt
