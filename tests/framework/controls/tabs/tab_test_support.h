// A parent window for tab controls and tab windows that records their messages.
// Included by one test file per executable (it defines the message map).
#pragma once
#include "afx/afx.h"
#include "framework/controls/tabs/TWKTabControl.h"
#include <gtest/gtest.h>
#include <vector>

namespace tabtest {

struct Notice {
    UINT message;
    WPARAM wParam;
    bool hasRecord;
    TWKTabActivateInfo record;   // a copy: the original lives only while the message is sent
};

class CRecorder : public CWnd
{
public:
    std::vector<Notice> notices;

    BOOL CreateTop(int cx, int cy, DWORD dwExStyle = 0)
    {
        return CreateEx(dwExStyle, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                                       (HBRUSH)(COLOR_BTNFACE + 1)),
                        "Tabs", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, cx, cy, nullptr, nullptr);
    }
    std::vector<UINT> Messages() const
    {
        std::vector<UINT> v;
        for (const Notice& n : notices)
            v.push_back(n.message);
        return v;
    }

protected:
    LRESULT Record(UINT message, WPARAM wParam, LPARAM lParam)
    {
        Notice n = { message, wParam, lParam != 0, {} };
        if (lParam)
            n.record = *reinterpret_cast<TWKTabActivateInfo*>(lParam);
        notices.push_back(n);
        return 0;
    }
    afx_msg LRESULT OnActivate1000(WPARAM w, LPARAM l) { return Record(TWKTCN_ACTIVATE, w, l); }
    afx_msg LRESULT OnDblClk1001(WPARAM w, LPARAM l) { return Record(TWKTCN_DBLCLK, w, l); }
    afx_msg LRESULT OnClear1002(WPARAM w, LPARAM l) { return Record(TWKTCN_CLEARSELECTION, w, l); }
    afx_msg LRESULT OnClicked1003(WPARAM w, LPARAM l) { return Record(TWKTCN_ACTIVETABCLICKED, w, l); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecorder, CWnd)
    ON_MESSAGE(TWKTCN_ACTIVATE, OnActivate1000)
    ON_MESSAGE(TWKTCN_DBLCLK, OnDblClk1001)
    ON_MESSAGE(TWKTCN_CLEARSELECTION, OnClear1002)
    ON_MESSAGE(TWKTCN_ACTIVETABCLICKED, OnClicked1003)
END_MESSAGE_MAP()

// An activation notice with its record, checked field by field.
inline void ExpectActivation(const Notice& n, int nCtrlId, int nNew, int nOld, const CObject* pNew,
                             const CObject* pOld)
{
    EXPECT_EQ(n.message, (UINT)TWKTCN_ACTIVATE);
    EXPECT_EQ(n.wParam, (WPARAM)nNew);
    ASSERT_TRUE(n.hasRecord);
    EXPECT_EQ(n.record.nCtrlId, nCtrlId);
    EXPECT_EQ(n.record.nNewTab, nNew);
    EXPECT_EQ(n.record.nOldTab, nOld);
    EXPECT_EQ(n.record.pNewClient, pNew);
    EXPECT_EQ(n.record.pOldClient, pOld);
}

// A child's rectangle in its parent's client coordinates.
inline CRect ChildRect(CWnd& parentWnd, CWnd* pChild)
{
    CRect rc;
    pChild->GetWindowRect(&rc);
    parentWnd.ScreenToClient(&rc);
    return rc;
}

// A mouse message as the system would send it (client coordinates).
inline LRESULT Mouse(CWnd& wnd, UINT message, CPoint pt, WPARAM flags = 0)
{
    return wnd.SendMessage(message, flags, MAKELPARAM(pt.x, pt.y));
}

// A memory DC with a bitmap compatible with the screen, for sampling drawing.
class CMemCanvas
{
public:
    CDC dc;
    CBitmap bmp;
    CMemCanvas(int cx, int cy, COLORREF clrFill)
    {
        CClientDC screen(nullptr);
        dc.CreateCompatibleDC(&screen);
        bmp.CreateCompatibleBitmap(&screen, cx, cy);
        m_pOld = dc.SelectObject(&bmp);
        dc.FillSolidRect(0, 0, cx, cy, clrFill);
    }
    ~CMemCanvas() { dc.SelectObject(m_pOld); }
    COLORREF At(int x, int y) { return dc.GetPixel(x, y); }
private:
    CBitmap* m_pOld;
};

} // namespace tabtest
