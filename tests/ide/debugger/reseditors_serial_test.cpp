// Resource editors started through the application broker, on a private folder
// with copies of the editor stand-ins (serial: the broker's request table and
// the editors' window titles are shared by the whole machine).
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "ide/debugger/ResourceAction.h"
#include "tests/harness/harness.h"

namespace {

class ResEditors : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* e : {"WaveDesk", "Paint"}) {
            std::string from = vt::ProgramFolder() + (std::string(e) == "Paint" ? "BrokerReceiver" : e) + ".exe";
            ASSERT_TRUE(CopyFileA(from.c_str(), dir.File(std::string(e) + ".exe").c_str(), FALSE)) << from;
            dir.Write(std::string(e) + ".ini", std::string("[Receiver]\r\nTitle=") + e + "\r\n");
        }
        cfg = dir.Write("ZIDE.cfg", "[Resource Editor]\r\n"
                                    "Editor1=WaveDesk.exe, WaveDesk, 1, 1, .wav\r\n"
                                    "Editor2=Paint.exe, Paint, 1, 1, .bmp\r\n"
                                    "Editor3=Missing.exe, Missing, 1, 1, .vfp\r\n");
        ASSERT_TRUE(owner.CreateEx(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    }
    void TearDown() override
    {
        for (const char* title : {"WaveDesk", "Paint"})
            if (HWND h = FindWindowA("VtBrokerReceiver", title))
                PostMessageA(h, WM_CLOSE, 0, 0);
        owner.DestroyWindow();
    }
    // The stand-in's log once it holds the text (the guard only stops a hang).
    std::string WaitForLog(const char* editor, const std::string& text)
    {
        std::string log;
        for (int i = 0; i < 1000; ++i) {
            log = vt::ReadFileBytes(dir.File(std::string(editor) + ".log"));
            if (log.find(text) != std::string::npos)
                break;
            vt::PumpMessages(10);
        }
        return log;
    }

    vt::ModalAnswerer box{IDOK};
    vt::TempDir dir;
    std::string cfg;
    CWnd owner;
};

TEST_F(ResEditors, SiblingToolsGetTheRequestOthersAreOnlyStarted)
{
    C_ResourceAction table(owner.m_hWnd);
    ASSERT_TRUE(table.Load(cfg.c_str()));
    std::string wav = dir.Write("tone.wav", "RIFF");
    std::string bmp = dir.Write("logo.bmp", "BM");

    // "WaveDesk" is asked in mode 3: started, then handed the request.
    ASSERT_TRUE(table.Edit(wav.c_str()));
    std::string log = WaitForLog("WaveDesk", "TAKE");
    EXPECT_NE(std::string::npos, log.find("|WaveDesk|Kelbray IDE|")) << log;
    EXPECT_NE(std::string::npos, log.find(wav)) << log;

    // Any other name in mode 4: started, no request posted.
    ASSERT_TRUE(table.Edit(bmp.c_str()));
    log = WaitForLog("Paint", "READY");
    EXPECT_NE(std::string::npos, log.find("START")) << log;
    EXPECT_EQ(std::string::npos, log.find("TAKE")) << log;

    // A program that cannot be started is tried once more in mode 0.
    EXPECT_FALSE(table.Edit(dir.File("voice.vfp").c_str()));
    ASSERT_EQ(2u, box.Count());
    for (const vt::ModalSeen& s : box.Seen())
        EXPECT_NE(std::string::npos, s.text.find("Unable to execute application")) << s.text;
    EXPECT_FALSE(table.Edit(dir.File("notes.txt").c_str()));
    EXPECT_EQ(2u, box.Count());
}

}  // namespace
