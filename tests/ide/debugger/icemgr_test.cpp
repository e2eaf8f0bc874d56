// The ICE manager and its board connector against the simulated board, in a private
// program folder: its own ZIDE.cfg, ZComSim.ini (with the trace) and a copy of the broker.
#include <gtest/gtest.h>
#include <string>
#include "ide/debugger/IDEIceMgr.h"
#include "ide/debugger/IDEIcePortDlg.h"
#include "ide/workbench/AsmIDE.h"
#include "resources/ideres.h"
#include "tests/harness/harness.h"

namespace {

// Records what the manager asks of its user interface.
class RecordingUIMgr final : public I_ZIceUIMgr {
public:
    void SetIceMgr(I_ZIceMgr* p) override { pMgr = p; }
    void ShowDebugWindows() override { calls += "show "; }
    void HideDebugWindows() override { calls += "hide "; }
    void SetDebugTarget(I_IceDebugTarget*, BOOL) override { calls += "target "; }
    void UpdateDebugWindows(BOOL, BOOL) override { calls += "update "; }
    BOOL ShowCurrentPC() override { return TRUE; }
    void SaveAndCloseDisAsm() override { calls += "saveclose "; }
    void ResetDisAsmMarks(const char*) override { calls += "marks "; }
    void RefreshBreakpoints() override { calls += "breakpoints "; }
    void CloseDisAsm() override { calls += "close "; }
    I_ZIceMgr* pMgr = nullptr;
    std::string calls;
};

// The program folder the manager sees, with a board configured by the test.
class BoardFolder {
public:
    explicit BoardFolder(const char* pszIcePath = "ZComBroker.dll")
    {
        lstrcpynA(m_saved, g_szAppDir, MAX_PATH);
        CopyFileA((vt::ProgramFolder() + ICE_BROKER_DLL_NAME).c_str(), m_dir.File(ICE_BROKER_DLL_NAME).c_str(), FALSE);
        CopyFileA((vt::ProgramFolder() + "ZComSim.ini").c_str(), Sim().c_str(), FALSE);
        WritePrivateProfileStringA("Trace", "Enable", "1", Sim().c_str());
        WritePrivateProfileStringA("Trace", "File", "trace.log", Sim().c_str());
        m_dir.Write("ZIDE.cfg", std::string("[ICE]\r\nPath=") + pszIcePath
                                    + "\r\n[IDESystem]\r\nCOMBrokerDll=ZComBroker.dll\r\n"
                                      "[Initial Comm Port]\r\nKV61=USB,COM\r\nKQ83=COM,LPT\r\n");
        lstrcpynA(g_szAppDir, (m_dir.Path() + "\\").c_str(), MAX_PATH);
    }
    ~BoardFolder() { lstrcpynA(g_szAppDir, m_saved, MAX_PATH); }
    std::string Sim() const { return m_dir.File("ZComSim.ini"); }
    std::string Trace() const { return vt::ReadFileBytes(m_dir.File("trace.log")); }
    std::string File(const char* name) const { return m_dir.File(name); }
    void Switch(const char* key, const char* value) const
    {
        WritePrivateProfileStringA("Switches", key, value, Sim().c_str());
    }

private:
    vt::TempDir m_dir;
    char m_saved[MAX_PATH];
};

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        n++;
    return n;
}

class IceMgrTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mgr.reset(new C_IDEIceMgr(nullptr, &ui));
        ASSERT_EQ(static_cast<I_ZIceMgr*>(mgr.get()), ui.pMgr);
    }
    BoardFolder board;
    RecordingUIMgr ui;
    std::unique_ptr<C_IDEIceMgr> mgr;
    CString part = "KV61A-S28";
};

TEST_F(IceMgrTest, InitWritesVersionsAndSelectPartMakesOneObject)
{
    AfxGetApp()->WriteProfileInt("ICE", "COMBrokerVer", 7);
    ASSERT_TRUE(mgr->Init());
    EXPECT_EQ(1200u, AfxGetApp()->GetProfileInt("ICE", "COMVersion", 0));
    // The board answers its own version, which differs from the stored one.
    EXPECT_NE(7u, AfxGetApp()->GetProfileInt("ICE", "COMBrokerVer", 7));
    EXPECT_NE(nullptr, mgr->GetBrokerModule());

    ASSERT_TRUE(mgr->SelectPart(part));
    EXPECT_TRUE(mgr->CanDebug());
    EXPECT_TRUE(mgr->SupportsBreakpoints());
    EXPECT_TRUE(mgr->SupportsStepOut());
    ASSERT_TRUE(mgr->LoadActionTable());
    EXPECT_EQ(2u, mgr->GetActionTable().nCount);
    EXPECT_EQ(62001u, mgr->GetActionTable().pIds[1]);
    std::string before = board.Trace();
    // The same part again: the calls are repeated, no new object is made.
    ASSERT_TRUE(mgr->SelectPart(part));
    std::string after = board.Trace().substr(before.size());
    EXPECT_EQ(std::string::npos, after.find("CreateIce")) << after;
    EXPECT_NE(std::string::npos, after.find("2 ")) << after;
    EXPECT_NE(std::string::npos, after.find("8 ")) << after;
    EXPECT_NE(std::string::npos, after.find("9 ")) << after;

    // An unlisted part leaves no object and every gate closed.
    CString unknown = "XX99";
    EXPECT_FALSE(mgr->SelectPart(unknown));
    EXPECT_FALSE(mgr->HasIce());
    EXPECT_FALSE(mgr->CanDebug());
    EXPECT_EQ(0u, mgr->GetActionTable().nCount);
}

TEST(IceMgrNoBoard, EmptyPathLoadsNothing)
{
    BoardFolder board("");
    RecordingUIMgr ui;
    AfxGetApp()->WriteProfileInt("ICE", "COMVersion", 5);
    C_IDEIceMgr mgr(nullptr, &ui);
    EXPECT_FALSE(mgr.Init());
    EXPECT_EQ(nullptr, mgr.GetBrokerModule());
    EXPECT_EQ(5u, AfxGetApp()->GetProfileInt("ICE", "COMVersion", 0));
    CString part = "KV61A-S28";
    EXPECT_FALSE(mgr.SelectPart(part));
    EXPECT_FALSE(mgr.CanDebug() || mgr.CanDownload() || mgr.CanWrite() || mgr.CanStop() || mgr.CanRestart()
                 || mgr.CanStepInto() || mgr.CanStepOver() || mgr.SupportsBreakpoints() || mgr.IsBusy());
    CString none;
    EXPECT_TRUE(mgr.CloseProject(none));
    int idle = 7, debug = 7, running = 7, writing = 7;
    mgr.GetActionState(0, &idle, &debug, &running, &writing);
    EXPECT_EQ(7, idle + debug + running + writing - 21);
}

TEST_F(IceMgrTest, ActionCountIsCappedAtTheTablesRoom)
{
    board.Switch("Actions", "300");
    ASSERT_TRUE(mgr->Init());
    ASSERT_TRUE(mgr->SelectPart(part));
    ASSERT_TRUE(mgr->LoadActionTable());
    EXPECT_EQ(255u, mgr->GetActionTable().nCount);
    EXPECT_EQ(62254u, mgr->GetActionTable().pIds[254]);
}

TEST_F(IceMgrTest, ConnectorPartBufferBeforeWritingAndTheLongPart)
{
    ASSERT_TRUE(mgr->Init());
    ASSERT_TRUE(mgr->SelectPart(part));
    mgr->SelectPort("COM3");
    C_IDEIceConnector& connector = mgr->GetConnector();
    BOOL changed = FALSE;
    ASSERT_TRUE(connector.OpenBoard(part, &changed, 1));
    EXPECT_TRUE(changed);
    EXPECT_NE(std::string::npos,
              board.Trace().find("3 OpenBoard COM3 KV61A-S28 bytes 4B563631412D53323800575452000000FFFF"));
    EXPECT_TRUE(connector.OpenBoard(part, &changed, 0));
    EXPECT_FALSE(changed);

    // A part that leaves no room for the mark is refused before the board sees it.
    // (Of the KV61 family, so that the remembered port stays and no dialog asks.)
    CString longPart(("KV61" + std::string(71, 'A')).c_str());
    size_t before = Count(board.Trace(), "3 OpenBoard");
    EXPECT_FALSE(connector.OpenBoard(longPart, &changed, 1));
    EXPECT_EQ(before, Count(board.Trace(), "3 OpenBoard"));
    CString fits(("KV61" + std::string(70, 'A')).c_str());
    connector.OpenBoard(fits, &changed, 1);
    EXPECT_EQ(before + 1, Count(board.Trace(), "3 OpenBoard"));

    // A port outside the part's families gives way to the first allowed one.
    mgr->SelectPort("LPT2");
    EXPECT_TRUE(connector.OpenBoard(part, &changed, 0));
    EXPECT_EQ(CString("USB"), connector.GetPort());
    // A failing port is forgotten, so the next opening asks again.
    CString lptPart = "KQ83-L48";
    ASSERT_TRUE(mgr->SelectPart(lptPart));
    mgr->SelectPort("LPT2");
    EXPECT_FALSE(connector.OpenBoard(lptPart, &changed, 0));
    EXPECT_TRUE(connector.GetPort().IsEmpty());
}

// Whether a part may be downloaded without debugging is the chip-information
// service's answer, which the manager asks for itself.
TEST_F(IceMgrTest, DownloadWithoutDebuggingFollowsTheChipInformation)
{
    ASSERT_TRUE(mgr->Init());
    CString downloadOnly = "KQ83-L48";
    ASSERT_TRUE(mgr->SelectPart(downloadOnly));
    EXPECT_TRUE(mgr->CanDownload());
    ASSERT_TRUE(mgr->SelectPart(part));
    EXPECT_FALSE(mgr->CanDownload());
}

TEST_F(IceMgrTest, RestartAndStopNeedTheirStatusBitsAndKeepTheDownload)
{
    ASSERT_TRUE(mgr->Init());
    ASSERT_TRUE(mgr->SelectPart(part));
    C_IDEIceConnector& connector = mgr->GetConnector();
    // Nothing downloaded: the board reports neither restart nor stop.
    connector.RefreshStatus();
    if (!(connector.GetStatus() & ICE_STATUS_RESTART)) {
        EXPECT_FALSE(connector.Restart());
        EXPECT_FALSE(mgr->CanRestart());
    }
    EXPECT_FALSE(mgr->CanStop());
    EXPECT_FALSE(mgr->Stop());
    EXPECT_TRUE(mgr->StopAll());
}

// The ports a test says the machine has.
BOOL FakeProbe(const char* name)
{
    std::string s = name;
    return s == "COM3" || s == "COM7" || s == "LPT1";
}

struct ProbeScope {
    ProbeScope() { old = SetIcePortProbe(FakeProbe); }
    ~ProbeScope() { SetIcePortProbe(old); }
    PFN_ICE_PORT_PROBE old;
};

TEST(IcePorts, ProbeAndDefaultPort)
{
    BoardFolder board;
    ProbeScope probe;
    CString none;
    C_IDEIcePortDlg dlg(none, nullptr);
    dlg.FillPorts(FALSE);
    ASSERT_EQ(2, dlg.GetComPorts().GetCount());
    EXPECT_EQ(CString("COM3"), dlg.GetComPorts().GetHead());
    EXPECT_EQ(CString("LPT1"), dlg.GetLptPorts().GetHead());
    struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"USB", "USB"}, {"COM7", "COM7"}, {"COM1", "COM3"}, {"COM", "COM3"}, {"lpt1", "lpt1"},
        {"LPT2", "LPT1"}, {"", "COM3"}, {"XYZ", "COM3"},
    };
    for (auto& c : cases) {
        CString port = c.in;
        dlg.ChooseDefaultPort(port);
        EXPECT_EQ(CString(c.out), port) << c.in;
    }
    struct {
        const char* port;
        int index;
    } indexes[] = {{"COM1", 0}, {"COM4", 3}, {"LPT1", 4}, {"LPT2", 5}, {"USB", 7}, {"X", -1}, {"1", -1}};
    for (auto& c : indexes) {
        CString port = c.port;
        EXPECT_EQ(c.index, C_IDEIcePortDlg(port, nullptr).GetPortIndex()) << c.port;
    }
}

TEST(IcePorts, ValidatePortKeepsAnAllowedFamilyOrTakesTheFirstPresentOne)
{
    BoardFolder board;
    ProbeScope probe;
    C_IDEIceConnector connector;
    struct {
        const char* port;
        const char* part;
        BOOL ok;
        const char* out;
    } cases[] = {
        {"", "KV61A-S28", FALSE, ""},
        {"COM9", "KV61A-S28", TRUE, "COM9"},   // the family is allowed: the port stays
        {"LPT1", "KV61A-S28", TRUE, "USB"},    // not allowed: the first family of the value
        {"USB", "KQ83-L48", TRUE, "COM3"},     // COM first: the first present serial port
        {"COM1", "XX99", FALSE, "COM1"},       // no entry for the part
    };
    for (auto& c : cases) {
        CString port = c.port;
        EXPECT_EQ(c.ok, connector.ValidatePort(port, c.part)) << c.port << " " << c.part;
        EXPECT_EQ(CString(c.out), port) << c.port << " " << c.part;
    }
    EXPECT_EQ(CString("USB"), IceFirstFamilyPort("COM,USB,LPT"));
    EXPECT_EQ(CString("LPT1"), IceFirstFamilyPort("COM,LPT"));
    EXPECT_EQ(CString("COM1"), IceFirstFamilyPort("com"));
    EXPECT_EQ(CString("LPT1"), IceFirstFamilyPort(""));
    EXPECT_EQ(CString("XYZ"), IceFirstFamilyPort("XYZ"));
    // A given port is taken as it is.
    EXPECT_TRUE(connector.SelectPort("COM5", nullptr));
    EXPECT_EQ(CString("COM5"), connector.GetPort());
}

} // namespace

namespace {

// The dialog as the connector shows it, answered by the harness: the radio buttons pick the
// list whose text becomes the port; Cancel keeps the old port.
TEST(IcePortDialog, ChoosesFromTheListOfTheCheckedKindAndCancelKeepsThePort)
{
    BoardFolder board;
    ProbeScope probe;
    C_IDEIceConnector connector;
    {
        vt::ModalAnswerer answerer;
        answerer.Queue(vt::ModalAnswer(IDOK).Check(IDC_ICE_PORT_PARALLEL).Choose(IDC_ICE_PORT_PARALLEL_LIST, "LPT1"));
        EXPECT_TRUE(connector.SelectPort(nullptr, "KQ83-L48"));
        ASSERT_EQ(1u, answerer.Count());
        EXPECT_EQ("Select Communication Port", answerer.Last().caption);
        EXPECT_EQ("", answerer.Last().error);
    }
    EXPECT_EQ(CString("LPT1"), connector.GetPort());
    {
        vt::ModalAnswerer answerer;
        answerer.Queue(vt::ModalAnswer(IDOK).Check(IDC_ICE_PORT_SERIAL).Choose(IDC_ICE_PORT_SERIAL_LIST, "COM7"));
        EXPECT_TRUE(connector.SelectPort(nullptr, "KQ83-L48"));
    }
    EXPECT_EQ(CString("COM7"), connector.GetPort());
    {
        vt::ModalAnswerer answerer(IDCANCEL);
        EXPECT_FALSE(connector.SelectPort(nullptr, "KQ83-L48"));
    }
    EXPECT_EQ(CString("COM7"), connector.GetPort());
}

} // namespace

namespace {

// A refused download of an other object file is a failure, and nothing runs.
TEST_F(IceMgrTest, ExecuteOtherObjReportsAFailedDownload)
{
    board.Switch("RefuseSlot", "7");
    ASSERT_TRUE(mgr->Init());
    mgr->SelectPort("USB");
    CString obj = board.File("other.obj").c_str(), second;
    EXPECT_FALSE(mgr->ExecuteOtherObj(part, obj, second, nullptr));
    EXPECT_FALSE(mgr->IsRunning());
    EXPECT_NE(std::string::npos, board.Trace().find("3 OpenBoard USB KV61A-S28"));
    CString unknown = "XX99";
    EXPECT_FALSE(mgr->ExecuteOtherObj(unknown, obj, second, nullptr));
    // An empty object path is refused with its message, before the board is asked.
    vt::ModalAnswerer answerer;
    CString empty;
    EXPECT_FALSE(mgr->Download(part, empty, second, 0xFFFF, 0, nullptr));
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Download file name is not specified !!", answerer.Last().text);
}

} // namespace
