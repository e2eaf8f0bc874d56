// The undo and redo history lists: the names built from the store's log, the
// list under its split button, and a press, drag and release that undo or redo
// that many actions in the active editor. Serial: the list closes when it
// loses the focus.
#include "tests/ide/workbench/mainframe_fixture.h"
#include "editor/store/TWKEdit.h"
#include "editor/window/TWKEditView.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/IDEUndoRedoDlg.h"

using namespace vt;

namespace {

struct Rec {
    int nType;
    int nLine;
    DWORD dwGroup;
};

std::vector<std::string> Names(const TWKEdit& e, BOOL bUndo)
{
    CStringList list;
    BuildUndoRedoNames(&e, bUndo, list);
    std::vector<std::string> v;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        v.push_back((LPCSTR)list.GetNext(pos));
    return v;
}

TEST(UndoRedoList, NamesOneEntryPerUndoCommand)
{
    struct Case {
        const char* name;
        std::vector<Rec> recs;               // oldest first
        std::vector<std::string> undo;       // newest first
        std::vector<std::string> redo;       // all undone: oldest first
    };
    const Case cases[] = {
        { "empty log", {}, {}, {} },
        { "typing on one line is one action",
          { { UNDO_CHAR_INSERTED, 1, 0 }, { UNDO_CHAR_INSERTED, 1, 0 }, { UNDO_CHAR_INSERTED, 1, 0 } }, { "Insert" }, { "Insert" } },
        { "typing on the next line is another",
          { { UNDO_CHAR_INSERTED, 1, 0 }, { UNDO_CHAR_INSERTED, 2, 0 } }, { "Insert", "Insert" }, { "Insert", "Insert" } },
        { "deleting and overwriting runs",
          { { UNDO_CHAR_DELETED, 3, 0 }, { UNDO_CHAR_DELETED, 3, 0 }, { UNDO_CHAR_OVERWRITTEN, 3, 0 },
            { UNDO_CHAR_OVERWRITTEN, 3, 0 } },
          { "Overwrite", "Delete" }, { "Delete", "Overwrite" } },
        { "kinds other than the one-character ones never run",
          { { UNDO_LINE_SPLIT, 1, 0 }, { UNDO_LINE_SPLIT, 1, 0 }, { UNDO_TEXT_DELETED, 1, 0 } },
          { "Cut", "New Line", "New Line" }, { "New Line", "New Line", "Cut" } },
        { "a group is named after the first record met",
          { { UNDO_TEXT_INSERTED, 1, 0 }, { UNDO_TEXT_DELETED, 1, 7 }, { UNDO_LINES_JOINED, 1, 7 },
            { UNDO_COLUMN_INSERTED, 1, 7 } },
          { "Column Paste", "Paste" }, { "Paste", "Cut" } },
        { "group then a run on one line chain on",
          { { UNDO_CHAR_INSERTED, 4, 0 }, { UNDO_CHAR_INSERTED, 4, 9 }, { UNDO_CHAR_INSERTED, 4, 9 } }, { "Insert" }, { "Insert" } },
        { "every named kind",
          { { UNDO_COLUMN_DELETED, 1, 0 }, { UNDO_FILE_INSERTED, 1, 0 }, { UNDO_LINES_JOINED, 1, 0 } },
          { "Join Line", "Paste", "Column Cut" }, { "Column Cut", "Paste", "Join Line" } },
    };
    for (const Case& c : cases) {
        TWKEdit e;
        for (const Rec& r : c.recs) {
            TWKEditUndoRecord rec = {};
            rec.nType = r.nType;
            rec.nStartLine = r.nLine;
            e.m_dwUndoGroup = r.dwGroup;
            ASSERT_EQ(1, e.AddUndoRecord(&rec, "x")) << c.name;
        }
        e.m_dwUndoGroup = 0;
        EXPECT_EQ(c.undo, Names(e, TRUE)) << c.name;
        EXPECT_TRUE(Names(e, FALSE).empty()) << c.name;

        // All undone: the same actions, the next one first, each named
        // after its first record met.
        e.m_nUndoPos = 0;
        EXPECT_TRUE(Names(e, TRUE).empty()) << c.name;
        EXPECT_EQ(c.redo, Names(e, FALSE)) << c.name;
    }
}

// The frame with a "Text" document whose view is the active one.
struct EditorFrame {
    MainFrame f;
    CDocument* pDoc = nullptr;
    TWKEditView* pView = nullptr;
    EditorFrame()
    {
        auto* pApp = static_cast<CAsmIDEApp*>(AfxGetApp());
        if (!g_pTextTemplate)
            pApp->RegisterDocTemplates();
        pApp->m_pMainWnd = f.p;
        pDoc = pApp->OpenNewDocument("Text", nullptr);
        CMDIChildWnd* pChild = pDoc ? f.p->MDIGetActive() : nullptr;
        pView = dynamic_cast<TWKEditView*>(pChild ? pChild->GetActiveView() : nullptr);
        PumpMessages();
    }
    ~EditorFrame()
    {
        if (pDoc)
            pDoc->OnCloseDocument();
        AfxGetApp()->m_pMainWnd = nullptr;
    }
    std::string Text() const
    {
        std::string s;
        for (TWKEditLine* p = pView->GetEdit()->m_pFirstLine; p; p = p->pNext)
            s.append(p->pText ? p->pText : "", p->nLength);
        return s;
    }
    void Type(const char* psz)
    {
        for (; *psz; psz++)
            pView->ProcessChar((BYTE)*psz, 1, 0);
    }
    C_IDEUndoRedoDlg* Open(UINT nID)
    {
        pView->SetFocus();
        f.Command(nID);
        return static_cast<C_IDEUndoRedoDlg*>(f.p->m_pUndoRedoDlg);
    }
};

std::vector<std::string> ListItems(C_IDEUndoRedoDlg* pDlg)
{
    std::vector<std::string> v;
    for (int i = 0; i < pDlg->m_wndList.GetCount(); i++) {
        CString s;
        pDlg->m_wndList.GetText(i, s);
        v.push_back((LPCSTR)s);
    }
    return v;
}

std::string StatusText(C_IDEUndoRedoDlg* pDlg)
{
    CString s;
    pDlg->GetDlgItemText(IDC_UNDO_REDO_STATUS, s);
    return (LPCSTR)s;
}

CPoint ItemCentre(CListBox& list, int n)
{
    CRect rc;
    list.GetItemRect(n, &rc);
    return rc.CenterPoint();
}

void Mouse(CWnd& wnd, UINT msg, CPoint pt)
{
    wnd.SendMessage(msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
}

// Selected items of the list, as 0/1 per item.
std::vector<int> Selection(C_IDEUndoRedoDlg* pDlg)
{
    std::vector<int> v;
    for (int i = 0; i < pDlg->m_wndList.GetCount(); i++)
        v.push_back(pDlg->m_wndList.GetSel(i) > 0);
    return v;
}

TEST(UndoRedoList, OpensUnderItsButtonAndUndoesTheDraggedActions)
{
    EditorFrame e;
    ASSERT_TRUE(e.pView);
    e.Type("ab\r");
    const std::string strBefore = e.Text();
    e.Type("cd\r");
    const std::string strMiddle = e.Text();
    e.Type("ef");
    const std::string strAll = e.Text();

    C_IDEUndoRedoDlg* pDlg = e.Open(ID_EDIT_UNDO_LIST);
    ASSERT_TRUE(pDlg);
    HWND hDlg = pDlg->m_hWnd;
    EXPECT_TRUE(::IsWindowVisible(hDlg));
    EXPECT_EQ((std::vector<std::string>{ "Insert", "New Line", "Insert", "New Line", "Insert" }), ListItems(pDlg));
    EXPECT_EQ("Undo 1 action", StatusText(pDlg));
    EXPECT_EQ((std::vector<int>{ 1, 0, 0, 0, 0 }), Selection(pDlg));

    // Its top-left corner sits at the Undo button's bottom-left corner.
    TWKCustomToolBar* pBar = e.f.ToolBar(IDW_FILE_TOOLBAR);
    CRect rcButton, rcDlg;
    pBar->GetItemRect(pBar->CommandToIndex(ID_EDIT_UNDO), &rcButton);
    pBar->ClientToScreen(&rcButton);
    pDlg->GetWindowRect(&rcDlg);
    EXPECT_EQ(rcButton.left, rcDlg.left);
    EXPECT_EQ(rcButton.bottom, rcDlg.top);
    EXPECT_TRUE(::GetWindowLongA(hDlg, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Press on the first, drag past the fourth and back to the third, release there.
    CListBox& list = pDlg->m_wndList;
    Mouse(list, WM_LBUTTONDOWN, ItemCentre(list, 0));
    EXPECT_EQ("Undo 1 Action", StatusText(pDlg));
    Mouse(list, WM_MOUSEMOVE, ItemCentre(list, 3));
    EXPECT_EQ("Undo 4 Actions", StatusText(pDlg));
    Mouse(list, WM_MOUSEMOVE, CPoint(-5, -5));
    EXPECT_EQ("Cancel", StatusText(pDlg));
    Mouse(list, WM_MOUSEMOVE, ItemCentre(list, 2));
    EXPECT_EQ("Undo 3 Actions", StatusText(pDlg));
    EXPECT_EQ((std::vector<int>{ 1, 1, 1, 0, 0 }), Selection(pDlg));
    Mouse(list, WM_LBUTTONUP, ItemCentre(list, 2));
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_EQ(nullptr, e.f.p->m_pUndoRedoDlg);
    EXPECT_EQ(strBefore, e.Text());

    // The Redo list offers the three undone actions, the next one first;
    // two of them come back.
    pDlg = e.Open(ID_EDIT_REDO_LIST);
    ASSERT_TRUE(pDlg);
    hDlg = pDlg->m_hWnd;
    EXPECT_EQ((std::vector<std::string>{ "Insert", "New Line", "Insert" }), ListItems(pDlg));
    EXPECT_EQ("Redo 1 action", StatusText(pDlg));
    pBar->GetItemRect(pBar->CommandToIndex(ID_EDIT_REDO), &rcButton);
    pBar->ClientToScreen(&rcButton);
    pDlg->GetWindowRect(&rcDlg);
    EXPECT_EQ(rcButton.left, rcDlg.left);
    EXPECT_EQ(rcButton.bottom, rcDlg.top);
    CListBox& redo = pDlg->m_wndList;
    Mouse(redo, WM_LBUTTONDOWN, ItemCentre(redo, 1));
    EXPECT_EQ("Redo 2 Actions", StatusText(pDlg));
    Mouse(redo, WM_LBUTTONUP, ItemCentre(redo, 1));
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_EQ(strMiddle, e.Text());
    // The last one by the Redo list again brings the whole text back.
    pDlg = e.Open(ID_EDIT_REDO_LIST);
    ASSERT_TRUE(pDlg);
    Mouse(pDlg->m_wndList, WM_LBUTTONDOWN, ItemCentre(pDlg->m_wndList, 0));
    Mouse(pDlg->m_wndList, WM_LBUTTONUP, ItemCentre(pDlg->m_wndList, 0));
    PumpMessages();
    EXPECT_EQ(strAll, e.Text());
}

TEST(UndoRedoList, ReleaseOffTheItemsOnlyCloses)
{
    EditorFrame e;
    ASSERT_TRUE(e.pView);
    // An empty log: the list opens empty, and a release changes nothing.
    C_IDEUndoRedoDlg* pDlg = e.Open(ID_EDIT_UNDO_LIST);
    ASSERT_TRUE(pDlg);
    HWND hDlg = pDlg->m_hWnd;
    EXPECT_EQ(0, pDlg->m_wndList.GetCount());
    EXPECT_EQ("Undo 1 action", StatusText(pDlg));
    Mouse(pDlg->m_wndList, WM_LBUTTONDOWN, CPoint(5, 5));
    Mouse(pDlg->m_wndList, WM_LBUTTONUP, CPoint(5, 5));
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hDlg));

    e.Type("one\rtwo");
    const std::string strAll = e.Text();
    pDlg = e.Open(ID_EDIT_UNDO_LIST);
    ASSERT_TRUE(pDlg);
    hDlg = pDlg->m_hWnd;
    CListBox& list = pDlg->m_wndList;
    Mouse(list, WM_LBUTTONDOWN, ItemCentre(list, 0));
    Mouse(list, WM_MOUSEMOVE, ItemCentre(list, 2));
    CRect rc;
    list.GetClientRect(&rc);
    Mouse(list, WM_LBUTTONUP, CPoint(rc.right + 20, rc.bottom + 20));
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_EQ(strAll, e.Text());

    // A click on the frame takes the focus from the list, which closes it.
    pDlg = e.Open(ID_EDIT_UNDO_LIST);
    ASSERT_TRUE(pDlg);
    hDlg = pDlg->m_hWnd;
    e.pView->SetFocus();
    PumpMessages();
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_EQ(strAll, e.Text());
}

} // namespace
