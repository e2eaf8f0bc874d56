// A parent window for tree controls that records the TVN_ records and the
// end-of-edit message it gets and answers them as a test asks. Included by
// one test file per executable.
#pragma once
#include "afx/afx.h"
#include "framework/controls/list/TWKTreeCtrl.h"
#include "framework/controls/list/TWKListEdit.h"
#include "list_test_support.h"
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

class CTreeRecorder : public listtest::CRecorderBase<Notice>
{
public:
    std::function<void(NMTREEVIEWA*)> onExpanding;         // TVN_ITEMEXPANDING, before the answer
    std::function<void(NMTVDISPINFOA*)> onDispInfo;        // TVN_GETDISPINFO
    std::function<void(NMTVDISPINFOA*)> onEndEdit;         // TVN_ENDLABELEDIT, before the answer
    std::vector<std::pair<WPARAM, LPARAM>> edited;         // the registered end-of-edit message

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
        *pResult = Answer(code);
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

using listtest::Pt;
using listtest::Pump;
using listtest::Snapshot;

} // namespace treetest
