#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/controls/dialogs/TWKUserToolsDlg.h"
#include "framework/frameworkres.h"
#include "tests/harness/harness.h"
#include <functional>
#include <string>
#include <vector>

namespace {

int g_deleted = 0;

// A caller's tool whose deletion the test can see.
class CountedTool : public TWKUserTool
{
public:
    ~CountedTool() override { ++g_deleted; }
};

CountedTool* Tool(const char* text, const char* args = "", const char* dir = "")
{
    auto* t = new CountedTool;
    t->strMenuText = text;
    t->strCommand = "prog.exe";
    t->strArguments = args;
    t->strInitialDir = dir;
    return t;
}

// Runs the dialog modally; once it is on screen, the script drives it and
// ends it. The harness' answerer leaves this dialog alone.
class ScriptedToolsDlg : public TWKUserToolsDlg
{
public:
    std::function<void(ScriptedToolsDlg&)> script;

    CListBox& List() { return m_list; }
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != 0; }
    std::string Text(int id) const
    {
        char buf[512] = "";
        ::GetWindowTextA(Item(id), buf, sizeof buf);
        return buf;
    }
    std::vector<std::string> Entries()
    {
        std::vector<std::string> v;
        for (int i = 0; i < m_list.GetCount(); ++i)
        {
            CString s;
            m_list.GetText(i, s);
            v.push_back((LPCSTR)s);
        }
        return v;
    }
    void Press(int id) { SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)Item(id)); }
    void Select(int index)
    {
        m_list.SetCurSel(index);
        SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TWK_TOOLS_LIST, LBN_SELCHANGE), (LPARAM)m_list.m_hWnd);
    }
    void Type(int id, const char* text) { ::SetWindowTextA(Item(id), text); }
    void End(int id) { PostMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)Item(id)); }

protected:
    BOOL OnInitDialog() override
    {
        BOOL r = TWKUserToolsDlg::OnInitDialog();
        ::SetPropA(m_hWnd, "vt.answered", (HANDLE)1);
        // A timer comes once the queue is empty: the dialog is up by then.
        SetTimer(29, 10);
        return r;
    }
    afx_msg void OnTimer(UINT_PTR id)
    {
        if (id != 29)
            return;
        KillTimer(29);
        if (script)
            script(*this);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(ScriptedToolsDlg, TWKUserToolsDlg)
    ON_WM_TIMER()
END_MESSAGE_MAP()

const int kFields[] = {
    IDC_TWK_TOOLS_COMMAND, IDC_TWK_TOOLS_COMMAND_LABEL, IDC_TWK_TOOLS_MENU_TEXT, IDC_TWK_TOOLS_ARGUMENTS,
    IDC_TWK_TOOLS_DIR, IDC_TWK_TOOLS_MENU_LABEL, IDC_TWK_TOOLS_ARGS_LABEL, IDC_TWK_TOOLS_DIR_LABEL,
};

} // namespace

TEST(UserToolsDlg, NineToolsDisableAddAndCancelLeavesTheArray)
{
    CObArray tools;
    for (int i = 0; i < 9; ++i)
        tools.Add(Tool(("Tool " + std::to_string(i)).c_str()));
    std::vector<CObject*> before(tools.GetData(), tools.GetData() + tools.GetSize());

    ScriptedToolsDlg dlg;
    dlg.pTools = &tools;
    bool ran = false;
    dlg.script = [&](ScriptedToolsDlg& d) {
        ran = true;
        char caption[64] = "";
        ::GetWindowTextA(d.m_hWnd, caption, sizeof caption);
        EXPECT_STREQ("Customize", caption);
        EXPECT_EQ(9u, d.Entries().size());
        EXPECT_EQ(0, d.List().GetCurSel());
        EXPECT_EQ("Tool 0", d.Text(IDC_TWK_TOOLS_MENU_TEXT));
        EXPECT_FALSE(d.Enabled(IDC_TWK_TOOLS_ADD));
        EXPECT_TRUE(d.Enabled(IDC_TWK_TOOLS_REMOVE));
        EXPECT_FALSE(d.Enabled(IDC_TWK_TOOLS_UP));
        EXPECT_TRUE(d.Enabled(IDC_TWK_TOOLS_DOWN));
        d.Press(IDC_TWK_TOOLS_ADD);   // refused as well
        EXPECT_EQ(9u, d.Entries().size());
        d.Select(8);
        EXPECT_TRUE(d.Enabled(IDC_TWK_TOOLS_UP));
        EXPECT_FALSE(d.Enabled(IDC_TWK_TOOLS_DOWN));
        // Changes that Cancel throws away.
        d.Type(IDC_TWK_TOOLS_MENU_TEXT, "Renamed");
        d.Type(IDC_TWK_TOOLS_ARGUMENTS, "-x");
        d.Press(IDC_TWK_TOOLS_UP);
        d.Press(IDC_TWK_TOOLS_REMOVE);
        d.End(IDCANCEL);
    };
    g_deleted = 0;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(ran);
    EXPECT_EQ(0, g_deleted);
    ASSERT_EQ(before, std::vector<CObject*>(tools.GetData(), tools.GetData() + tools.GetSize()));
    EXPECT_STREQ("Tool 8", static_cast<TWKUserTool*>(tools[8])->strMenuText);
    EXPECT_STREQ("", static_cast<TWKUserTool*>(tools[8])->strArguments);
    DeleteUserTools(&tools);
}

TEST(UserToolsDlg, WithoutToolsNothingIsSelectedAndTheFieldsAreDisabled)
{
    CObArray tools;
    ScriptedToolsDlg dlg;
    dlg.pTools = &tools;
    dlg.script = [&](ScriptedToolsDlg& d) {
        EXPECT_EQ(-1, d.List().GetCurSel());
        for (int id : kFields)
            EXPECT_FALSE(d.Enabled(id)) << id;
        EXPECT_TRUE(d.Enabled(IDC_TWK_TOOLS_ADD));
        EXPECT_FALSE(d.Enabled(IDC_TWK_TOOLS_REMOVE));
        EXPECT_FALSE(d.Enabled(IDC_TWK_TOOLS_UP));
        EXPECT_FALSE(d.Enabled(IDC_TWK_TOOLS_DOWN));
        // The browse buttons follow their edits.
        HWND hCommandButton = ::GetWindow(d.Item(IDC_TWK_TOOLS_COMMAND), GW_HWNDNEXT);
        EXPECT_FALSE(::IsWindowEnabled(hCommandButton));

        d.Press(IDC_TWK_TOOLS_ADD);
        EXPECT_EQ(std::vector<std::string>{"(new tool)"}, d.Entries());
        EXPECT_EQ(0, d.List().GetCurSel());
        for (int id : kFields)
            EXPECT_TRUE(d.Enabled(id)) << id;
        EXPECT_TRUE(::IsWindowEnabled(hCommandButton));
        EXPECT_EQ(d.Item(IDC_TWK_TOOLS_MENU_TEXT), ::GetFocus());
        DWORD sel = (DWORD)::SendMessageA(d.Item(IDC_TWK_TOOLS_MENU_TEXT), EM_GETSEL, 0, 0);
        EXPECT_EQ(0, LOWORD(sel));
        EXPECT_EQ(10, HIWORD(sel));
        d.Type(IDC_TWK_TOOLS_MENU_TEXT, "Calculator");
        d.Type(IDC_TWK_TOOLS_COMMAND, "calc.exe");
        d.End(IDOK);
    };
    EXPECT_EQ(IDOK, dlg.DoModal());
    ASSERT_EQ(1, tools.GetSize());
    auto* t = static_cast<TWKUserTool*>(tools[0]);
    EXPECT_STREQ("Calculator", t->strMenuText);
    EXPECT_STREQ("calc.exe", t->strCommand);
    EXPECT_EQ(1u, t->bWait);
    DeleteUserTools(&tools);
}

TEST(UserToolsDlg, EditingRemovingAndMovingThenOk)
{
    CObArray tools;
    tools.Add(Tool("A", "a-args", "a-dir"));
    tools.Add(Tool("B", "b-args", "b-dir"));
    tools.Add(Tool("C"));
    ScriptedToolsDlg dlg;
    dlg.pTools = &tools;
    dlg.script = [&](ScriptedToolsDlg& d) {
        // Typing a menu text changes the entry at once.
        d.Type(IDC_TWK_TOOLS_MENU_TEXT, "Alpha");
        EXPECT_EQ((std::vector<std::string>{"Alpha", "B", "C"}), d.Entries());
        EXPECT_EQ(0, d.List().GetCurSel());
        // Arguments and folder stay with their tool.
        d.Type(IDC_TWK_TOOLS_ARGUMENTS, "new-a");
        d.Type(IDC_TWK_TOOLS_DIR, "c:\\a");
        d.Select(1);
        EXPECT_EQ("b-args", d.Text(IDC_TWK_TOOLS_ARGUMENTS));
        EXPECT_EQ("b-dir", d.Text(IDC_TWK_TOOLS_DIR));
        d.Type(IDC_TWK_TOOLS_ARGUMENTS, "new-b");
        d.Select(0);
        EXPECT_EQ("new-a", d.Text(IDC_TWK_TOOLS_ARGUMENTS));
        EXPECT_EQ("c:\\a", d.Text(IDC_TWK_TOOLS_DIR));
        d.Select(1);
        EXPECT_EQ("new-b", d.Text(IDC_TWK_TOOLS_ARGUMENTS));

        // Removing the last entry selects the new last one.
        d.Select(2);
        d.Press(IDC_TWK_TOOLS_REMOVE);
        EXPECT_EQ((std::vector<std::string>{"Alpha", "B"}), d.Entries());
        EXPECT_EQ(1, d.List().GetCurSel());
        EXPECT_EQ("B", d.Text(IDC_TWK_TOOLS_MENU_TEXT));

        // Move up and down keep the tool with its entry.
        d.Press(IDC_TWK_TOOLS_UP);
        EXPECT_EQ((std::vector<std::string>{"B", "Alpha"}), d.Entries());
        EXPECT_EQ(0, d.List().GetCurSel());
        EXPECT_EQ("new-b", d.Text(IDC_TWK_TOOLS_ARGUMENTS));
        d.Press(IDC_TWK_TOOLS_DOWN);
        EXPECT_EQ((std::vector<std::string>{"Alpha", "B"}), d.Entries());
        EXPECT_EQ(1, d.List().GetCurSel());
        d.Press(IDC_TWK_TOOLS_DOWN);   // already last
        EXPECT_EQ(1, d.List().GetCurSel());
        d.Type(IDC_TWK_TOOLS_DIR, "c:\\b");   // stored by OK
        d.End(IDOK);
    };
    g_deleted = 0;
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(3, g_deleted);   // the caller's old tools
    ASSERT_EQ(2, tools.GetSize());
    auto* a = static_cast<TWKUserTool*>(tools[0]);
    auto* b = static_cast<TWKUserTool*>(tools[1]);
    EXPECT_STREQ("Alpha", a->strMenuText);
    EXPECT_STREQ("new-a", a->strArguments);
    EXPECT_STREQ("c:\\a", a->strInitialDir);
    EXPECT_STREQ("B", b->strMenuText);
    EXPECT_STREQ("new-b", b->strArguments);
    EXPECT_STREQ("c:\\b", b->strInitialDir);
    DeleteUserTools(&tools);
}

TEST(UserToolsDlg, BlankMenuTextIsReportedAndKeepsTheFocus)
{
    CObArray tools;
    tools.Add(Tool("A"));
    vt::ModalAnswerer answerer;
    ScriptedToolsDlg dlg;
    dlg.pTools = &tools;
    dlg.script = [&](ScriptedToolsDlg& d) {
        ::SetFocus(d.Item(IDC_TWK_TOOLS_MENU_TEXT));
        d.Type(IDC_TWK_TOOLS_MENU_TEXT, "");
        ::SetFocus(d.List().m_hWnd);
        EXPECT_EQ(d.Item(IDC_TWK_TOOLS_MENU_TEXT), ::GetFocus());
        // A text that is not blank lets the focus go.
        d.Type(IDC_TWK_TOOLS_MENU_TEXT, "x");
        ::SetFocus(d.List().m_hWnd);
        EXPECT_EQ(d.List().m_hWnd, ::GetFocus());
        d.End(IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("The menu text cannot be blank", answerer.Last().text);
    EXPECT_STREQ("A", static_cast<TWKUserTool*>(tools[0])->strMenuText);
    DeleteUserTools(&tools);
}
