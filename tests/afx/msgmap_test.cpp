#include <gtest/gtest.h>
#include "afx/afx.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

// Records every handler call as text.
class CBaseTarget : public CCmdTarget
{
public:
    std::vector<std::string> calls;
    BOOL exResult = FALSE;

    void Log(const std::string& s) { calls.push_back(s); }
    void OnBaseOnly() { Log("base-only"); }
    void OnShared() { Log("base-shared"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTarget, CCmdTarget)
    ON_COMMAND(10, OnBaseOnly)
    ON_COMMAND(11, OnShared)
END_MESSAGE_MAP()

class CDerivedTarget : public CBaseTarget
{
public:
    void OnShared() { Log("derived-shared"); }
    void OnRange(UINT id) { Log("range " + std::to_string(id)); }
    BOOL OnEx(UINT id) { Log("ex " + std::to_string(id)); return exResult; }
    void OnUpdate(CCmdUI* pCmdUI) { Log("update " + std::to_string(pCmdUI->m_nID)); pCmdUI->Enable(FALSE); }
    void OnUpdateRange(CCmdUI* pCmdUI) { Log("update-range " + std::to_string(pCmdUI->m_nID)); pCmdUI->SetCheck(1); }
    void OnUpdatePassOn(CCmdUI* pCmdUI) { pCmdUI->ContinueRouting(); }
    void OnTip(UINT id, NMHDR* pNMHDR, LRESULT* pResult)
    {
        Log("tip " + std::to_string(id) + " code " + std::to_string((int)pNMHDR->code));
        *pResult = 77;
    }
    void OnClicked() { Log("clicked"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
    ON_COMMAND(11, OnShared)
    ON_COMMAND_RANGE(20, 29, OnRange)
    ON_COMMAND_EX(30, OnEx)
    ON_COMMAND_EX_RANGE(31, 32, OnEx)
    ON_UPDATE_COMMAND_UI(10, OnUpdate)
    ON_UPDATE_COMMAND_UI_RANGE(20, 25, OnUpdateRange)
    ON_UPDATE_COMMAND_UI(40, OnUpdatePassOn)
    ON_NOTIFY_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnTip)
    ON_BN_CLICKED(50, OnClicked)
END_MESSAGE_MAP()

// Update requests as a menu or bar would see them.
class CRecordingCmdUI : public CCmdUI
{
public:
    int enabled = -1, checked = -1;
    void Enable(BOOL bOn) override { enabled = bOn; m_bEnableChanged = TRUE; }
    void SetCheck(int n) override { checked = n; }
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR) override {}
};

TEST(MsgMap, CommandsRouteThroughTheChain)
{
    CDerivedTarget t;
    struct { UINT id; BOOL handled; const char* call; } cases[] = {
        {10, TRUE, "base-only"},          // found in the base map
        {11, TRUE, "derived-shared"},     // the derived entry wins
        {20, TRUE, "range 20"},
        {29, TRUE, "range 29"},
        {30, FALSE, "ex 30"},             // the handler said "not mine"
        {32, FALSE, "ex 32"},
        {50, TRUE, "clicked"},            // BN_CLICKED is a plain command
        {33, FALSE, nullptr},
    };
    for (const auto& c : cases) {
        t.calls.clear();
        EXPECT_EQ(t.OnCmdMsg(c.id, CN_COMMAND, nullptr, nullptr), c.handled) << c.id;
        if (c.call) {
            ASSERT_EQ(t.calls.size(), 1u) << c.id;
            EXPECT_EQ(t.calls[0], c.call);
        } else {
            EXPECT_TRUE(t.calls.empty());
        }
    }
    t.exResult = TRUE;
    EXPECT_TRUE(t.OnCmdMsg(31, CN_COMMAND, nullptr, nullptr));
}

TEST(MsgMap, UpdateRequestsAndHandlerInfo)
{
    CDerivedTarget t;
    CRecordingCmdUI ui;
    ui.m_nID = 10;
    EXPECT_TRUE(t.OnCmdMsg(10, (int)CN_UPDATE_COMMAND_UI, &ui, nullptr));
    EXPECT_EQ(ui.enabled, 0);

    CRecordingCmdUI ui2;
    ui2.m_nID = 24;
    EXPECT_TRUE(t.OnCmdMsg(24, (int)CN_UPDATE_COMMAND_UI, &ui2, nullptr));
    EXPECT_EQ(ui2.checked, 1);

    // ContinueRouting: handled but routing goes on.
    CRecordingCmdUI ui3;
    ui3.m_nID = 40;
    EXPECT_FALSE(t.OnCmdMsg(40, (int)CN_UPDATE_COMMAND_UI, &ui3, nullptr));

    // Handler info: answers without running anything.
    t.calls.clear();
    AFX_CMDHANDLERINFO info = {};
    EXPECT_TRUE(t.OnCmdMsg(20, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(info.pTarget, &t);
    EXPECT_NE(info.pEntry, nullptr);
    EXPECT_FALSE(t.OnCmdMsg(99, CN_COMMAND, nullptr, &info));
    EXPECT_TRUE(t.calls.empty());
}

TEST(MsgMap, DoUpdateDisablesOnlyWithoutAnyHandler)
{
    CDerivedTarget t;
    struct { UINT id; int enabled; } cases[] = {
        {10, 0},    // the update handler disables
        {11, 1},    // command handler, no update handler: enabled
        {26, 1},    // range command handler
        {99, 0},    // nothing at all: disabled
    };
    for (const auto& c : cases) {
        CRecordingCmdUI ui;
        ui.m_nID = c.id;
        ui.DoUpdate(&t, TRUE);
        EXPECT_EQ(ui.enabled, c.enabled) << c.id;
    }
    CRecordingCmdUI ui;
    ui.m_nID = 99;
    ui.DoUpdate(&t, FALSE);
    EXPECT_EQ(ui.enabled, -1);
}

TEST(MsgMap, NotifyRangeGetsIdCodeAndResult)
{
    CDerivedTarget t;
    NMHDR nm = {};
    nm.idFrom = 60000;
    nm.code = TTN_NEEDTEXTA;
    LRESULT result = 0;
    AFX_NOTIFY notify = { &result, &nm };
    EXPECT_TRUE(t.OnCmdMsg(60000, (int)MAKELONG((WORD)TTN_NEEDTEXTA, WM_NOTIFY), &notify, nullptr));
    ASSERT_EQ(t.calls.size(), 1u);
    EXPECT_EQ(t.calls[0], "tip 60000 code " + std::to_string((int)TTN_NEEDTEXTA));
    EXPECT_EQ(result, 77);
    // Another code finds nothing.
    EXPECT_FALSE(t.OnCmdMsg(5, (int)MAKELONG((WORD)NM_CLICK, WM_NOTIFY), &notify, nullptr));
}

} // namespace
