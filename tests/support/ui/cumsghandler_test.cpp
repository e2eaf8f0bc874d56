#include <gtest/gtest.h>
#include "support/ui/CUMsgHandler.h"
#include "support/text/CUString.h"
#include "support/supportres.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

std::vector<tagMessageRecord> g_received;

// Stands in for the output window: copies each record before the send returns.
LRESULT CALLBACK ReceiverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == CU_WM_MESSAGE_RECORD && wParam == 0) {
        g_received.push_back(*reinterpret_cast<const tagMessageRecord*>(lParam));
        return 1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::string ProgramPath()
{
    char path[MAX_PATH * 2] = {0};
    GetModuleFileNameA(nullptr, path, sizeof(path) - 1);
    return path;
}

// What the answerer saw, for failure messages.
std::string Describe(const vt::ModalAnswerer& answerer)
{
    std::string out;
    for (const vt::ModalSeen& seen : answerer.Seen())
        out += "[" + seen.className + " | " + seen.caption + " | " + seen.text + "] ";
    return out;
}

class MsgHandler : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hInstance = GetModuleHandleA(nullptr);
        g_received.clear();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ReceiverProc;
        wc.hInstance = g_hInstance;
        wc.lpszClassName = "VtRecordReceiver";
        RegisterClassA(&wc);
        receiver = CreateWindowA("VtRecordReceiver", "", 0, 0, 0, 10, 10, nullptr, nullptr,
                                 g_hInstance, nullptr);
        ASSERT_NE(nullptr, receiver);
        handler.SetWindow(receiver);
    }
    void TearDown() override
    {
        DestroyWindow(receiver);
        g_hInstance = nullptr;
    }

    HWND receiver = nullptr;
    C_CUMsgHandler handler;
};

TEST_F(MsgHandler, BoxModeShowsCaptionAndFormattedText)
{
    handler.SetWindow(nullptr);
    vt::ModalAnswerer answerer;
    handler.ShowMessage(CU_MSG_BOX, IDS_CU_ERROR, IDS_CU_FILE_NOT_EXIST, MB_OK, "c:\\a\\main.asm");
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Error: ", answerer.Last().caption);
    EXPECT_EQ("File [c:\\a\\main.asm] does not exist.", answerer.Last().text);

    // A caption id without text: the program file's path.
    handler.ShowMessage(CU_MSG_BOX, 0xA0FF, IDS_CU_DIR_NOT_EXIST, MB_OK, "d");
    ASSERT_EQ(2u, answerer.Count()) << Describe(answerer);
    EXPECT_EQ(ProgramPath(), answerer.Last().caption);
    EXPECT_EQ("Directory [d] does not exist.", answerer.Last().text);

    handler.ShowMessageText(CU_MSG_BOX, "Cap", "%d%%", MB_OK, 50);
    ASSERT_EQ(3u, answerer.Count());
    EXPECT_EQ("Cap", answerer.Last().caption);
    EXPECT_EQ("50%", answerer.Last().text);
}

TEST_F(MsgHandler, MainBoxesAreCaptionedWithTheProgramPath)
{
    vt::ModalAnswerer answerer(IDNO);
    EXPECT_EQ(IDNO, MainMessageBoxText("Build %s?", MB_YESNO, "now"));
    EXPECT_EQ(IDNO, MainMessageBoxById(IDS_CU_MAKE_DIR_FAILED, MB_YESNO, "x"));
    ASSERT_EQ(2u, answerer.Count());
    EXPECT_EQ(ProgramPath(), answerer.Seen()[0].caption);
    EXPECT_EQ("Build now?", answerer.Seen()[0].text);
    EXPECT_EQ("Fail to make directory [x].", answerer.Seen()[1].text);
}

TEST_F(MsgHandler, SilentModesShowNothing)
{
    vt::ModalAnswerer answerer;
    testing::internal::CaptureStdout();
    for (UINT mode : {0u, 4u, 99u}) {
        EXPECT_EQ(0, handler.ShowMessage(mode, IDS_CU_ERROR, IDS_CU_FILE_NOT_EXIST, 3, "f"));
        EXPECT_EQ(0, handler.ShowMessageText(mode, "c", "t", 3));
    }
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_EQ(0u, answerer.Count());
    EXPECT_TRUE(g_received.empty());
}

TEST_F(MsgHandler, RecordModeSendsPrefixedRecords)
{
    struct Case { int kind; const char* text; };
    const Case cases[] = {
        {3, "Error: boom"}, {2, "Warning: boom"}, {0, "boom"}, {1, "boom"},
        {6, "boom"}, {10, "boom"}, {11, "boom"},
    };
    for (const Case& c : cases)
        SendMessageRecord(receiver, c.kind, "boom", "main.asm", 12);
    ASSERT_EQ(std::size(cases), g_received.size());
    for (size_t i = 0; i < g_received.size(); ++i) {
        EXPECT_EQ(cases[i].kind, g_received[i].kind);
        EXPECT_STREQ(cases[i].text, g_received[i].text);
        EXPECT_STREQ("main.asm", g_received[i].fileName);
        EXPECT_EQ(12, g_received[i].line);
    }

    g_received.clear();
    handler.ShowMessage(CU_MSG_RECORD, IDS_CU_ERROR, IDS_CU_FILE_NOT_EXIST, 3, "f.inc");
    handler.ShowMessageText(CU_MSG_RECORD, "ignored", "%s-%d", 2, "x", 7);
    SendMessageRecordById(receiver, 1, 0);
    ASSERT_EQ(3u, g_received.size());
    EXPECT_STREQ("Error: File [f.inc] does not exist.", g_received[0].text);
    EXPECT_STREQ("", g_received[0].fileName);
    EXPECT_EQ(0, g_received[0].line);
    EXPECT_STREQ("Warning: x-7", g_received[1].text);
    EXPECT_STREQ("", g_received[2].text);
}

TEST_F(MsgHandler, RecordFieldsAreCutAt255)
{
    std::string longText(300, 't');
    std::string longName(300, 'n');
    SendMessageRecord(receiver, 3, longText.c_str(), longName.c_str(), 1);
    ASSERT_EQ(1u, g_received.size());
    const tagMessageRecord& r = g_received[0];
    ASSERT_EQ('\0', r.text[255]);
    ASSERT_EQ('\0', r.fileName[255]);
    EXPECT_EQ("Error: " + std::string(248, 't'), std::string(r.text));
    EXPECT_EQ(std::string(255, 'n'), std::string(r.fileName));
}

TEST_F(MsgHandler, RecordToNoWindowIsDropped)
{
    handler.SetWindow(nullptr);
    handler.ShowMessage(CU_MSG_RECORD, IDS_CU_ERROR, IDS_CU_FILE_NOT_EXIST, 6, "f");
    EXPECT_TRUE(g_received.empty());
}

TEST_F(MsgHandler, StandardOutputMode)
{
    testing::internal::CaptureStdout();
    handler.ShowMessage(CU_MSG_STDOUT, IDS_CU_ERROR, IDS_CU_FILE_NOT_EXIST, 3, "a.asm");
    handler.ShowMessageText(CU_MSG_STDOUT, "caption", "|%d", 2, 5);
    EXPECT_TRUE(PrintMessageText(CU_MSG_STDOUT, "caption", "|100% %s", 1));
    EXPECT_FALSE(PrintMessageText(2, "caption", "never", 3));
    EXPECT_EQ("Error: File [a.asm] does not exist.Warning: |5|100% %s",
              testing::internal::GetCapturedStdout());
}

TEST_F(MsgHandler, FormattedTextsAreCutAt511)
{
    std::string big(1000, 'x');
    testing::internal::CaptureStdout();
    handler.ShowMessageText(CU_MSG_STDOUT, "c", "%s", 0, big.c_str());
    EXPECT_EQ(std::string(511, 'x'), testing::internal::GetCapturedStdout());

    vt::ModalAnswerer answerer;
    MessageBoxText(nullptr, "c", "%s", MB_OK, big.c_str());
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ(511u, answerer.Last().text.size());
}

TEST(MsgHandlerNoModule, TextsAreEmptyAndCaptionIsTheProgramPath)
{
    g_hInstance = nullptr;
    vt::ModalAnswerer answerer;
    MessageBoxById(nullptr, IDS_CU_ERROR, IDS_CU_FILE_NOT_EXIST, MB_OK, "f");
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ(ProgramPath(), answerer.Last().caption);
    EXPECT_EQ("", answerer.Last().text);
}

} // namespace
