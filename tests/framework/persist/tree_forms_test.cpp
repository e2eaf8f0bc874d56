// Saved layouts and toolbar state in a persistent tree: the same values as the
// profile form, a fresh frame loading them from an ini file and from the
// registry, damaged counts and missing nodes, and the manager's defaults.
#include "tests/framework/frame_loader.h"
#include "tests/framework/frames/layout_fixture.h"
#include "tests/framework/controls/toolbars/toolbar_fixture.h"
#include "framework/controls/toolbars/TWKCustomToolBarInfoEx.h"
#include "framework/controls/toolbars/TWKWndBtn.h"
#include "framework/frames/TWKDockState.h"
#include "framework/persist/TWKPersistentTreeNode.h"
#include <memory>
#include <set>

namespace {

using namespace vt::layout;
using Node = TWKPersistentTreeNode;

const UINT kNew = 57601, kSave = 57603, kPrint = 57607, kFind = 57636, kUndo = 57643;
const UINT kFileBar = 0xE800, kBuildBar = 0xE805;
const UINT kFileIDs[] = { kNew, kSave, 0, kUndo, 0, kFind, kPrint };
const UINT kBuildIDs[] = { 32821, 32826, 0, 32854 };
const TWKBtnMapEntry kMap[] = {
    { BUTTON_CLASS(TWKComboBtn), kFind, TWK_TBBS_NOAUTODISABLE | TWK_TBBS_VCENTER,
      { 61847, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 150 + 70 * 65536, 150 } },
    { nullptr, 0, 0, {} },
};
const char* const kProfile = "BarState\\TreeFormsTest";
const char* const kBoolKeys[] = { "Visible", "Horz", "Floating", "Docking", "PrevFloating", "MDIChild",
                                  "ToolTips", "CoolLook", "LargeButtons" };

// The saved-layout frame with the toolbar manager, its map and two default
// toolbars (none made yet).
struct TreeFrame {
    std::unique_ptr<TWKToolBarManager> mgr;
    std::unique_ptr<LayoutFrame> lf;
    TreeFrame()
    {
        auto* p = new vt::CTestMainFrame;
        mgr.reset(new TWKToolBarManager(p, nullptr));
        p->SetControlBarManager(mgr.get());
        p = vt::LoadDockingFrame(p, vt::kTestFrameID);
        if (p)
            p->SetWindowPos(nullptr, 0, 0, 1000, 700, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        lf = std::make_unique<LayoutFrame>(p);
        EXPECT_TRUE(mgr->LoadToolBarResource(IDR_TWK_TEST_TOOLBAR, 0));
        mgr->SetButtonMap(kMap);
        mgr->DefineDefaultToolBar(kFileBar, "File", 7, kFileIDs, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, TRUE, TRUE);
        mgr->DefineDefaultToolBar(kBuildBar, "Build", 4, kBuildIDs, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, TRUE,
                                  TRUE);
    }
    ~TreeFrame()
    {
        lf.reset();    // the toolbars go with the frame; the manager after them
        mgr.reset();
    }
    vt::CTestMainFrame* Frame() const { return lf->f.p; }

    // What a loaded layout must give back: the layout, each toolbar's title,
    // buttons and combo width, and the manager's options.
    struct Seen {
        LayoutFrame::Seen layout;
        std::map<UINT, std::string> toolbars;
        std::string options;
        bool operator==(const Seen& o) const
        {
            return layout == o.layout && toolbars == o.toolbars && options == o.options;
        }
    };
    Seen Look()
    {
        Seen s;
        for (UINT nID : { kFileBar, kBuildBar, (UINT)TWK_IDW_FIRSTUSERBAR }) {
            TWKCustomToolBar* pBar = mgr->GetToolBar(nID);
            if (!pBar) {
                s.toolbars[nID] = "(none)";
                continue;
            }
            lf->names[pBar] = "T" + std::to_string(nID);
            CString strTitle;
            pBar->GetWindowText(strTitle);
            std::string text = std::string(strTitle) + ": " + vt::Buttons(pBar);
            int i = pBar->CommandToIndex(kFind);
            if (auto* pCombo = i < 0 ? nullptr : dynamic_cast<TWKComboBtn*>(pBar->GetButton(i)))
                text += " combo " + std::to_string(pCombo->m_nWidth);
            s.toolbars[nID] = text + (pBar->IsVisible() ? "" : " hidden");
        }
        s.layout = lf->Look();
        // The maximized position is the system's to give after a placement is set.
        s.layout.hostPlacement.replace(2 * offsetof(WINDOWPLACEMENT, ptMaxPosition), 16, 16, 'x');
        s.options = Options();
        return s;
    }
    std::string Options() const
    {
        return "tips " + std::to_string(mgr->IsToolTips()) + " cool " + std::to_string(mgr->IsCoolLook())
               + " large " + std::to_string(mgr->IsLargeBtns());
    }

    // The IDE's order: the manager's options, then the layout.
    void LoadProfile()
    {
        mgr->LoadState(kProfile);
        Frame()->LoadBarState(kProfile);
        Frame()->RecalcLayout();
        vt::PumpMessages();
    }
    BOOL LoadTree(Node* pRoot)
    {
        mgr->LoadStateTree(pRoot);
        TWKDockState state(mgr.get());
        state.m_pCreatedBars = &Frame()->m_listBarInfo;
        if (!state.LoadStateTree(pRoot))
            return FALSE;
        state.SetDockState(Frame());
        Frame()->RecalcLayout();
        vt::PumpMessages();
        return TRUE;
    }
};

void PrintTo(const TreeFrame::Seen& s, std::ostream* os)
{
    PrintTo(s.layout, os);
    for (const auto& t : s.toolbars)
        *os << "; " << std::hex << t.first << std::dec << " " << t.second;
    *os << "; " << s.options;
}

void DeleteProfile()
{
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileString(std::string(kProfile).append("-Summary").c_str(), nullptr, nullptr);
    pApp->WriteProfileString(std::string(kProfile).append("-ToolBarManager").c_str(), nullptr, nullptr);
    for (int i = 0; i < 40; i++)
        pApp->WriteProfileString((std::string(kProfile) + "-Bar" + std::to_string(i)).c_str(), nullptr, nullptr);
}

using Values = std::map<std::string, std::string>;

// A profile section's values: numbers in decimal, bytes in hex.
Values SectionValues(const std::string& section)
{
    Values values;
    HKEY hApp = AfxGetApp()->GetAppRegistryKey();
    HKEY hKey = nullptr;
    LONG r = RegOpenKeyExA(hApp, section.c_str(), 0, KEY_READ, &hKey);
    RegCloseKey(hApp);
    if (r != ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; i++) {
        char name[256];
        BYTE data[1024];
        DWORD cch = sizeof name, type = 0, cb = sizeof data;
        if (RegEnumValueA(hKey, i, name, &cch, nullptr, &type, data, &cb) != ERROR_SUCCESS)
            break;
        if (type == REG_DWORD)
            values[name] = std::to_string((int)*reinterpret_cast<DWORD*>(data));
        else if (type == REG_SZ)
            values[name] = std::string(reinterpret_cast<char*>(data), strnlen(reinterpret_cast<char*>(data), cb));
        else
            values[name] = Hex(data, cb);
    }
    RegCloseKey(hKey);
    return values;
}

// A tree node's values the same way: the flags, which must be "True" or
// "False", as 1 or 0, byte data decoded.
Values NodeValues(Node* pNode)
{
    Values values;
    if (!pNode)
        return values;
    CString key, value;
    for (POSITION pos = pNode->GetFirstKeyPosition(); pos;) {
        pNode->GetNextKey(pos, key, value);
        std::string k(key), v(value);
        bool bFlag = std::any_of(std::begin(kBoolKeys), std::end(kBoolKeys), [&](const char* b) { return k == b; });
        if (bFlag) {
            EXPECT_TRUE(v == "True" || v == "False") << k << "=" << v;
            v = v == "True" ? "1" : "0";
        } else if (k == "MDIChildWindowPlacement" || k == "Buttons") {
            BYTE* pData = nullptr;
            UINT nBytes = 0;
            if (!v.empty() && pNode->GetBinaryValue(key, pData, nBytes) == 0) {
                v = Hex(pData, nBytes);
                delete[] pData;
            }
        }
        values[k] = v;
    }
    return values;
}

// A tree as the strategies keep it: saved, then read back into a new root.
struct Stores {
    vt::TempDir dir;
    std::string strKey = "Software\\VeltaneToolTests\\" + vt::UniqueName("tree");
    TWKPTNStrategyProfile ini{ dir.File("layout.ini").c_str() };
    TWKPTNStrategyRegistry registry{ strKey.c_str(), HKEY_CURRENT_USER };
    ~Stores() { ::RegDeleteTreeA(HKEY_CURRENT_USER, strKey.c_str()); }
};

std::unique_ptr<Node> ReadBack(TWKPTNStrategy* pStrategy)
{
    auto root = std::make_unique<Node>();
    root->Create("Layout", nullptr);
    EXPECT_TRUE(root->Load(pStrategy));
    return root;
}

TEST(TreeForms, LayoutAndToolBarsLoadFromBothStoresAsFromTheProfile)
{
    DeleteProfile();
    Stores stores;
    TreeFrame::Seen before;
    {
        TreeFrame tf;
        ASSERT_TRUE(tf.Frame());
        tf.mgr->InitToolBars();
        TWKCustomToolBar* pFile = tf.mgr->GetToolBar(kFileBar);
        ASSERT_TRUE(pFile && tf.mgr->GetToolBar(kBuildBar));
        // Customised: Print first, Save gone, the combo 120 wide; a user toolbar.
        pFile->RemoveButton(pFile->CommandToIndex(kPrint));
        pFile->InsertButton(0, kPrint, FALSE);
        pFile->RemoveButton(pFile->CommandToIndex(kSave));
        const BYTE width120[2] = { 120, 0 };
        pFile->GetButton(pFile->CommandToIndex(kFind))->SetBtnInfo(2, width120);
        TWKCustomToolBar* pUser = tf.mgr->CreateUserToolBar();
        ASSERT_TRUE(pUser);
        const UINT userIDs[] = { 32854, 0, kUndo };
        pUser->SetButtons(userIDs, 3);
        tf.Frame()->DockControlBar(pUser, AFX_IDW_DOCKBAR_BOTTOM, nullptr);
        tf.mgr->EnableToolTips(FALSE);
        tf.mgr->EnableCoolLook(TRUE);
        tf.lf->Arrange();
        before = tf.Look();
        ASSERT_EQ("File: 57607 57601 | 57643 | 57636 combo 120", before.toolbars[kFileBar]);

        tf.mgr->SaveState(kProfile);
        tf.Frame()->SaveBarState(kProfile);
        TWKPTNFactory factory;
        Node root;
        root.Create("Layout", nullptr);
        TWKDockState state(tf.mgr.get());
        ASSERT_TRUE(state.GetDockState(tf.Frame()));
        state.CleanBarIDs();
        ASSERT_TRUE(state.SaveStateTree(&factory, &root));
        ASSERT_TRUE(tf.mgr->SaveStateTree(&factory, &root));
        ASSERT_TRUE(root.Save(&stores.ini));
        ASSERT_TRUE(root.Save(&stores.registry));
    }

    // Every record node holds its profile section's keys and values, flags as
    // "True"/"False"; a toolbar's title and buttons in its "ToolBarInfoEx".
    int nBars = std::stoi(SectionValues(std::string(kProfile) + "-Summary")["Bars"]);
    EXPECT_GT(nBars, 14);
    for (TWKPTNStrategy* pStrategy : { (TWKPTNStrategy*)&stores.ini, (TWKPTNStrategy*)&stores.registry }) {
        std::unique_ptr<Node> root = ReadBack(pStrategy);
        Node* pDockState = root->FindChild("DockState");
        ASSERT_TRUE(pDockState);
        EXPECT_EQ(SectionValues(std::string(kProfile) + "-Summary"), NodeValues(pDockState));
        EXPECT_EQ(SectionValues(std::string(kProfile) + "-ToolBarManager"), NodeValues(root->FindChild("ToolBarMgr")));
        int nToolBars = 0;
        for (int n = 0; n < nBars; n++) {
            Node* pBar = pDockState->FindChild(("Bar-" + std::to_string(n)).c_str());
            ASSERT_TRUE(pBar) << n;
            Values tree = NodeValues(pBar);
            if (Node* pEx = pBar->FindChild("ToolBarInfoEx")) {
                nToolBars++;
                for (const auto& v : NodeValues(pEx))
                    tree.insert(v);
            }
            EXPECT_EQ(SectionValues(std::string(kProfile) + "-Bar" + std::to_string(n)), tree) << n;
        }
        EXPECT_EQ(3, nToolBars);
    }

    // A fresh frame loading the profile, the ini file or the registry comes back as it was.
    TreeFrame::Seen fromProfile;
    {
        TreeFrame tf;
        ASSERT_TRUE(tf.Frame());
        tf.lf->Defaults();
        tf.LoadProfile();
        fromProfile = tf.Look();
    }
    EXPECT_EQ(before, fromProfile);
    for (TWKPTNStrategy* pStrategy : { (TWKPTNStrategy*)&stores.ini, (TWKPTNStrategy*)&stores.registry }) {
        std::unique_ptr<Node> root = ReadBack(pStrategy);
        TreeFrame tf;
        ASSERT_TRUE(tf.Frame());
        tf.lf->Defaults();
        ASSERT_TRUE(tf.LoadTree(root.get()));
        EXPECT_EQ(fromProfile, tf.Look()) << (pStrategy == &stores.ini ? "ini" : "registry");
        EXPECT_FALSE(tf.lf->bars[kHidden]->IsWindowVisible());
    }
    DeleteProfile();
}

// A hand-made "DockState" node with the given "Bars" and one record node per
// number, each with its number plus 1 as bar id.
std::unique_ptr<Node> DockStateTree(const char* pszBars, std::initializer_list<const char*> names)
{
    auto root = std::make_unique<Node>();
    root->Create("Layout", nullptr);
    Node* pDock = root->AddChild("DockState");
    if (pszBars)
        pDock->SetValue("Bars", pszBars, TRUE);
    for (const char* name : names)
        if (Node* pBar = pDock->AddChild(name))
            pBar->SetValue("BarID", (int)strtol(name + 4, nullptr, 10) + 1, TRUE);
    return root;
}

std::string LoadedIDs(Node* pRoot)
{
    TWKDockState state;
    if (!state.LoadStateTree(pRoot))
        return "FALSE";
    std::string ids;
    for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); i++)
        ids += (i ? " " : "") + std::to_string(state.GetInfo(i)->m_nBarID);
    return ids;
}

TEST(TreeForms, RecordNodesThatExistBelowTheCountLoadInNumberOrder)
{
    const auto nodes = { "Bar-2", "Bar-0", "Bar-10", "Bar-5", "Bar-07", "Bar-x", "Bar--1", "Other" };
    const struct { const char* bars; const char* ids; } cases[] = {
        { "11", "1 3 6 11" },
        { "6", "1 3 6" },            // Bar-1, Bar-3 and Bar-4 are missing: skipped
        { "1", "1" },
        { "0", "" },
        { "-3", "" },                // a negative count is 0
        { nullptr, "" },
        { "2147483648", "1 3 6 11" },   // damaged: answers at once with the nodes there
        { "99999999999", "1 3 6 11" },
    };
    for (const auto& c : cases) {
        std::unique_ptr<Node> root = DockStateTree(c.bars, nodes);
        EXPECT_EQ(c.ids, LoadedIDs(root.get())) << (c.bars ? c.bars : "(no Bars)");
    }

    // No "DockState" node, or no node at all.
    Node empty;
    empty.Create("Layout", nullptr);
    empty.AddChild("ToolBarMgr");
    EXPECT_EQ("FALSE", LoadedIDs(&empty));
    EXPECT_EQ("FALSE", LoadedIDs(nullptr));

    // A record's own damaged "Bars" takes the ids that are there.
    std::unique_ptr<Node> root = DockStateTree("1", { "Bar-0" });
    Node* pBar = root->FindChild("DockState")->FindChild("Bar-0");
    pBar->SetValue("Bars", "2147483648", TRUE);
    pBar->SetValue("Bar#0", (int)AFX_IDW_DOCKBAR_TOP, TRUE);
    pBar->SetValue("Bar#1", 0, TRUE);
    pBar->SetValue("Bar#3", 5, TRUE);
    TWKDockState state;
    ASSERT_TRUE(state.LoadStateTree(root.get()));
    ASSERT_EQ(1, state.m_arrBarInfo.GetSize());
    const CDWordArray& ids = state.GetInfo(0)->m_arrBarID;
    ASSERT_EQ(2, ids.GetSize());
    EXPECT_EQ((DWORD)AFX_IDW_DOCKBAR_TOP, ids[0]);
    EXPECT_EQ(0u, ids[1]);
}

TEST(TreeForms, RecordKeysDefaultsAndSkippedRecords)
{
    // A node with nothing but its id reads the profile form's defaults.
    std::unique_ptr<Node> root = DockStateTree("1", { "Bar-0" });
    Node* pNode = root->FindChild("DockState")->FindChild("Bar-0");
    TWKControlBarInfo info;
    info.m_dwMRUDockingState = 7;
    info.m_dwDockStyle = 8;
    info.m_nResourceID = 9;
    ASSERT_TRUE(info.LoadStateTree(pNode, nullptr));
    EXPECT_TRUE(info.m_bVisible);
    EXPECT_TRUE(info.m_bHorz);
    EXPECT_FALSE(info.m_bFloating);
    EXPECT_EQ(CPoint(-1, -1), info.m_pointPos);
    EXPECT_EQ(32767u, info.m_nMRUWidth);
    EXPECT_EQ(0, info.m_arrBarID.GetSize());
    EXPECT_EQ(7u, info.m_dwMRUDockingState);
    EXPECT_EQ(8u, info.m_dwDockStyle);
    EXPECT_EQ(9u, info.m_nResourceID);
    EXPECT_FALSE(info.HasMDIPlacement());
    EXPECT_EQ(nullptr, info.m_pInfoEx);
    pNode->SetValue("BarID", 0, TRUE);
    EXPECT_FALSE(info.LoadStateTree(pNode, nullptr));   // a record without an id
    EXPECT_FALSE(info.LoadStateTree(nullptr, nullptr));

    // An empty edge dock bar is not written and not counted.
    TWKPTNFactory factory;
    Node parent;
    parent.Create("DockState", nullptr);
    TWKControlBarInfo edge;
    edge.m_nBarID = AFX_IDW_DOCKBAR_RIGHT;
    edge.m_bDockBar = TRUE;
    edge.m_bVisible = TRUE;
    EXPECT_FALSE(edge.SaveStateTree(&factory, &parent, 0));
    EXPECT_EQ(nullptr, parent.GetFirstChildPosition());
    EXPECT_FALSE(info.SaveStateTree(&factory, nullptr, 0));
}

TEST(TreeForms, ToolBarRecordAndManagerOptions)
{
    // The toolbar's part: a child "ToolBarInfoEx"; without it the load fails.
    TWKPTNFactory factory;
    Node bar;
    bar.Create("Bar-0", nullptr);
    TWKCustomToolBarInfoEx saved;
    saved.m_strTitle = "Mine";
    const BYTE width[2] = { 90, 0 };
    saved.m_arrButtons.Add(new TWKBtnInfo(kFind, 2, width));
    saved.m_arrButtons.Add(new TWKBtnInfo(0, 0, nullptr));
    ASSERT_TRUE(saved.SaveStateTree(&factory, &bar));
    EXPECT_FALSE(saved.SaveStateTree(&factory, nullptr));
    TWKCustomToolBarInfoEx loaded;
    ASSERT_TRUE(loaded.LoadStateTree(&bar));
    EXPECT_EQ(CString("Mine"), loaded.m_strTitle);
    ASSERT_EQ(2, loaded.m_arrButtons.GetSize());
    EXPECT_EQ(kFind, loaded.m_arrButtons[0]->m_nID);
    EXPECT_EQ(Hex(width, 2), Hex(loaded.m_arrButtons[0]->m_pData, loaded.m_arrButtons[0]->m_nSize));
    EXPECT_EQ(0u, loaded.m_arrButtons[1]->m_nID);
    Node bare;
    bare.Create("Bar-1", nullptr);
    EXPECT_FALSE(loaded.LoadStateTree(&bare));
    EXPECT_FALSE(loaded.LoadStateTree(nullptr));
    // An empty toolbar keeps no buttons and no title.
    TWKCustomToolBarInfoEx empty;
    ASSERT_TRUE(empty.SaveStateTree(&factory, &bare));
    EXPECT_TRUE(loaded.LoadStateTree(&bare));
    EXPECT_EQ(CString(""), loaded.m_strTitle);
    EXPECT_EQ(0, loaded.m_arrButtons.GetSize());

    // The manager: no node fails; a node without "ToolBarMgr" sets large
    // buttons 0, tool tips 1 and cool look 1 without touching the bars.
    TreeFrame tf;
    ASSERT_TRUE(tf.Frame());
    tf.mgr->InitToolBars();
    TWKCustomToolBar* pFile = tf.mgr->GetToolBar(kFileBar);
    ASSERT_TRUE(pFile);
    tf.mgr->EnableToolTips(FALSE);
    EXPECT_FALSE(tf.mgr->LoadStateTree(nullptr));
    Node root;
    root.Create("Layout", nullptr);
    ASSERT_TRUE(tf.mgr->LoadStateTree(&root));
    EXPECT_EQ("tips 1 cool 1 large 0", tf.Options());
    EXPECT_EQ(0u, pFile->GetBarStyle() & CBRS_TOOLTIPS);
    EXPECT_EQ(0u, pFile->GetExBarStyle() & (CBX_COOLLOOK | CBX_GRIPPER));

    // With the node the stored options are applied ("junk" is FALSE); a
    // missing one keeps the present value.
    Node* pOptions = root.AddChild("ToolBarMgr");
    pOptions->SetValue("CoolLook", false, TRUE);
    pOptions->SetValue("ToolTips", "junk", TRUE);
    ASSERT_TRUE(tf.mgr->LoadStateTree(&root));
    EXPECT_EQ("tips 0 cool 0 large 0", tf.Options());
    pOptions->SetValue("CoolLook", true, TRUE);
    pOptions->SetValue("ToolTips", true, TRUE);
    ASSERT_TRUE(tf.mgr->LoadStateTree(&root));
    EXPECT_EQ("tips 1 cool 1 large 0", tf.Options());
    EXPECT_EQ((DWORD)CBRS_TOOLTIPS, pFile->GetBarStyle() & CBRS_TOOLTIPS);
    EXPECT_EQ((DWORD)(CBX_COOLLOOK | CBX_GRIPPER), pFile->GetExBarStyle() & (CBX_COOLLOOK | CBX_GRIPPER));
    pOptions->RemoveKey("CoolLook");
    pOptions->SetValue("ToolTips", false, TRUE);
    ASSERT_TRUE(tf.mgr->LoadStateTree(&root));
    EXPECT_EQ("tips 0 cool 1 large 0", tf.Options());
    EXPECT_TRUE(tf.mgr->GetToolBar(kBuildBar));

    // Saving adds "ToolBarMgr" with three flags; a second one under the same node is refused.
    Node out;
    out.Create("Layout", nullptr);
    ASSERT_TRUE(tf.mgr->SaveStateTree(&factory, &out));
    Values expected = { { "CoolLook", "1" }, { "LargeButtons", "0" }, { "ToolTips", "0" } };
    EXPECT_EQ(expected, NodeValues(out.FindChild("ToolBarMgr")));
    EXPECT_FALSE(tf.mgr->SaveStateTree(&factory, &out));
    EXPECT_FALSE(tf.mgr->SaveStateTree(&factory, nullptr));
}

} // namespace
