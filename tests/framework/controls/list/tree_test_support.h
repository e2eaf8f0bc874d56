// A parent window for tree controls that records the TVN_ records and the
// end-of-edit message it gets and answers them as a test asks. Included by
// one test file per executable.
#pragma once
#include "afx/afx.h"
#include "framework/controls/list/TWKTreeCtrl.h"
#include "framework/controls/list/TWKListEdit.h"
#include <gtest/gtest.h>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace treetest {

struct Notice {
    int code;
    HTREEITEM itemNew;
    HTREEITEM itemOld;
    UINT action;
    UINT mask;
    UINT state;
    std::string text;   // TVN_ENDLABELEDIT / TVN_SETDISPINFO text, when there is one
    bool hasText;
};

class CTreeRecorder : public CWnd
{
public:
    std::vector<Notice> notices;
    std::map<int, LRESULT> answers;                        // by code
    std::function<void(NMTREEVIEWA*)> onExpanding;         // TVN_ITEMEXPANDING, before the answer
    std::function<void(NMTVDISPINFOA*)> onDispInfo;        // TVN_GETDISPINFO
    std::function<void(NMTVDISPINFOA*)> onEndEdit;         // TVN_ENDLABELEDIT, before the answer
    std::vector<std::pair<WPARAM, LPARAM>> edited;         // the registered end-of-edit message

    BOOL CreateTop(int cx, int cy)
    {
        return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                               (HBRUSH)(COLOR_BTNFACE + 1)),
                        "Tree", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10, cx, cy, nullptr, nullptr);
    }
    std::vector<int> Codes() const
    {
        std::vector<int> v;
        for (const Notice& n : notices)
            v.push_back(n.code);
        return v;
    }
    int Count(int code) const
    {
        int c = 0;
        for (const Notice& n : notices)
            c += n.code == code;
        return c;
    }
    const Notice* Last(int code) const
    {
        for (auto it = notices.rbegin(); it != notices.rend(); ++it)
            if (it->code == code)
                return &*it;
        return nullptr;
    }

protected:
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) override
    {
        NMHDR* pHdr = reinterpret_cast<NMHDR*>(lParam);
        int code = (int)pHdr->code;
        Notice n = { code, nullptr, nullptr, 0, 0, 0, std::string(), false };
        switch (code)
        {
        case (int)TVN_SELCHANGINGA:
        case (int)TVN_SELCHANGEDA:
        case (int)TVN_ITEMEXPANDINGA:
        case (int)TVN_ITEMEXPANDEDA:
        case (int)TVN_BEGINDRAGA:
        case (int)TVN_DELETEITEMA:
        {
            NMTREEVIEWA* p = reinterpret_cast<NMTREEVIEWA*>(lParam);
            n.itemNew = p->itemNew.hItem;
            n.itemOld = p->itemOld.hItem;
            n.action = p->action;
            n.state = p->itemNew.state;
            if (code == (int)TVN_ITEMEXPANDINGA && onExpanding)
                onExpanding(p);
            break;
        }
        case (int)TVN_GETDISPINFOA:
        case (int)TVN_SETDISPINFOA:
        case (int)TVN_BEGINLABELEDITA:
        case (int)TVN_ENDLABELEDITA:
        {
            NMTVDISPINFOA* p = reinterpret_cast<NMTVDISPINFOA*>(lParam);
            n.itemNew = p->item.hItem;
            n.mask = p->item.mask;
            if (code != (int)TVN_GETDISPINFOA && p->item.pszText && p->item.pszText != LPSTR_TEXTCALLBACKA)
            {
                n.hasText = true;
                n.text = p->item.pszText;
            }
            if (code == (int)TVN_GETDISPINFOA && onDispInfo)
                onDispInfo(p);
            if (code == (int)TVN_ENDLABELEDITA && onEndEdit)
                onEndEdit(p);
            break;
        }
        default:
            break;
        }
        notices.push_back(n);
        auto it = answers.find(code);
        *pResult = it != answers.end() ? it->second : 0;
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == TWK_WM_TREEENDLABELEDIT)
        {
            edited.push_back({ wParam, lParam });
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A tree in a recording parent.
struct TreeFixture
{
    CTreeRecorder parent;
    TWKTreeCtrl tree;

    explicit TreeFixture(DWORD dwStyle = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, int cx = 300,
                         int cy = 200, DWORD dwExStyle = 0)
    {
        EXPECT_TRUE(parent.CreateTop(cx + 20, cy + 20));
        EXPECT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | dwStyle, dwExStyle, CRect(0, 0, cx, cy), &parent, 100));
    }
    HTREEITEM Add(const char* text, HTREEITEM parentItem = TVI_ROOT, HTREEITEM after = TVI_LAST)
    {
        return tree.InsertItem(text, parentItem, after);
    }
    // The labels of the rows in display order, "a b c".
    std::string Rows()
    {
        std::string s;
        for (int r = 0; r < tree.GetItemCount(); ++r)
            s += (r ? " " : "") + std::string(tree.GetItemText(tree.GetItemAtIndex(r)));
        return s;
    }
    // The labels of the children, "a b c".
    std::string Children(HTREEITEM h)
    {
        std::string s;
        for (HTREEITEM c = tree.GetChildItem(h); c; c = tree.GetNextSiblingItem(c))
            s += (s.empty() ? "" : " ") + std::string(tree.GetItemText(c));
        return s;
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

inline LPARAM Pt(int x, int y) { return MAKELPARAM(x, y); }

// The tree's client picture in a memory DC, for sampling pixels.
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
};

} // namespace treetest
