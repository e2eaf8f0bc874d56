// A parent window for list controls that records the WM_NOTIFY records it
// gets and answers them as a test asks. Included by one test file per executable.
#pragma once
#include "afx/afx.h"
#include "framework/controls/list/TWKListCtrl.h"
#include "framework/controls/list/TWKListEdit.h"
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace listtest {

struct Notice {
    int code;
    int item;
    int subItem;
    UINT mask;
    std::string text;   // LVN_ENDLABELEDIT's text, when there is one
    bool hasText;
    WORD key;
};

// A top-level parent that keeps the notices it gets (each with a code) and the answers to give.
template<class TNotice> class CRecorderBase : public CWnd
{
public:
    std::vector<TNotice> notices;
    std::map<int, LRESULT> answers;                      // by code

    BOOL CreateTop(int cx, int cy)
    {
        return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                               (HBRUSH)(COLOR_BTNFACE + 1)),
                        "List", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, cx, cy, nullptr, nullptr);
    }
    std::vector<int> Codes() const
    {
        std::vector<int> v;
        for (const TNotice& n : notices)
            v.push_back(n.code);
        return v;
    }
    int Count(int code) const
    {
        int c = 0;
        for (const TNotice& n : notices)
            c += n.code == code;
        return c;
    }
    const TNotice* Last(int code) const
    {
        for (auto it = notices.rbegin(); it != notices.rend(); ++it)
            if (it->code == code)
                return &*it;
        return nullptr;
    }
    LRESULT Answer(int code) const
    {
        auto it = answers.find(code);
        return it != answers.end() ? it->second : 0;
    }
};

class CRecorder : public CRecorderBase<Notice>
{
public:
    std::function<void(NMLVDISPINFOA*)> onDispInfo;      // LVN_GETDISPINFO
    std::function<void(NMLVDISPINFOA*)> onEndEdit;       // LVN_ENDLABELEDIT, before the answer
    int nCommands = 0;
    int nNextDlgCtl = 0;

protected:
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) override
    {
        NMHDR* pHdr = reinterpret_cast<NMHDR*>(lParam);
        int code = (int)pHdr->code;
        Notice n = { code, -1, -1, 0, std::string(), false, 0 };
        switch (code)
        {
        case (int)LVN_BEGINLABELEDITA:
        case (int)LVN_ENDLABELEDITA:
        case (int)LVN_GETDISPINFOA:
        {
            NMLVDISPINFOA* p = reinterpret_cast<NMLVDISPINFOA*>(lParam);
            n.item = p->item.iItem;
            n.subItem = p->item.iSubItem;
            n.mask = p->item.mask;
            if (code == (int)LVN_ENDLABELEDITA && p->item.pszText)
            {
                n.hasText = true;
                n.text = p->item.pszText;
                if (onEndEdit)
                    onEndEdit(p);
            }
            if (code == (int)LVN_GETDISPINFOA && onDispInfo)
                onDispInfo(p);
            break;
        }
        case (int)LVN_DELETEITEM:
        case (int)LVN_INSERTITEM:
        case (int)LVN_COLUMNCLICK:
        {
            NMLISTVIEW* p = reinterpret_cast<NMLISTVIEW*>(lParam);
            n.item = p->iItem;
            n.subItem = p->iSubItem;
            break;
        }
        case (int)LVN_KEYDOWN:
            n.key = reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey;
            break;
        default:
            break;
        }
        notices.push_back(n);
        *pResult = Answer(code);
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (LOWORD(wParam) == IDCANCEL && lParam == 0)
        {
            nCommands++;
            return TRUE;
        }
        return CWnd::OnCommand(wParam, lParam);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NEXTDLGCTL)
        {
            nNextDlgCtl++;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A report list of three columns in a recording parent.
struct ListFixture
{
    CRecorder parent;
    TWKListCtrl list;

    explicit ListFixture(DWORD dwStyle = LVS_REPORT, int cx = 300, int cy = 200, DWORD dwExStyle = 0)
    {
        EXPECT_TRUE(parent.CreateTop(cx + 20, cy + 20));
        EXPECT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | dwStyle, dwExStyle, CRect(0, 0, cx, cy), &parent, 100));
    }
    void AddRows(int n, const char* prefix = "Row")
    {
        for (int i = 0; i < n; ++i)
        {
            CString s;
            s.Format("%s %d", prefix, i);
            list.InsertItem(list.GetItemCount(), s);
        }
    }
    std::vector<int> Selection()
    {
        std::vector<int> v;
        for (int i = list.GetNextItem(-1, LVNI_SELECTED); i >= 0; i = list.GetNextItem(i, LVNI_SELECTED))
            v.push_back(i);
        return v;
    }
};

// Pumps what is waiting.
inline void Pump()
{
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

// Pumps for at least ms milliseconds (timers run).
inline void PumpFor(DWORD ms)
{
    DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms)
    {
        Pump();
        ::Sleep(5);
    }
    Pump();
}

inline LPARAM Pt(int x, int y) { return MAKELPARAM(x, y); }

// The list's client picture in a memory DC, for sampling pixels.
struct Snapshot
{
    CDC dc;
    CBitmap bitmap;
    explicit Snapshot(TWKListBaseC& list)
    {
        CRect rc;
        list.GetClientRect(&rc);
        CClientDC screen(&list);
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(&screen, rc.Width(), rc.Height());
        dc.SelectObject(&bitmap);
        list.DrawList(&dc);
    }
    COLORREF At(int x, int y) { return dc.GetPixel(x, y); }
    int CountNot(const CRect& rc, COLORREF cr)
    {
        int n = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                n += dc.GetPixel(x, y) != cr;
        return n;
    }
    bool Has(const CRect& rc, COLORREF cr)
    {
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x)
                if (dc.GetPixel(x, y) == cr)
                    return true;
        return false;
    }
};

} // namespace listtest
