// The resource-action table and the preview dialog, on a private folder with
// copies of the preview modules: which entry handles a file, the playing
// state from the modules' progress, one preview per process, and the recent list.
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "ide/debugger/ResPreview.h"
#include "components/include/PreviewInterface.h"
#include "resources/ideres.h"
#include "tests/harness/harness.h"

namespace {

const char kConfig[] =
    "[Resource Editor]\r\n"
    "Editor1=WaveDesk.exe, WaveDesk, 1, 1, .wav\r\n"
    "Editor2=Pixmere.exe, Pixmere, 1, 1, .bmp; .wav\r\n"
    "Preview1=TonePreview.dll, TonePreview, 0, 0, .wav\r\n"
    "Preview2=PixPreview.dll, PixPreview, 0, 0, .bmp\r\n"
    "HidePreviewWindow=2\r\n";

class ResPreview : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* m : {"TonePreview", "PixPreview"}) {
            std::string dll = std::string(m) + ".dll";
            ASSERT_TRUE(CopyFileA((vt::ProgramFolder() + dll).c_str(), dir.File(dll).c_str(), FALSE));
            Switches(m, "");
        }
        cfg = dir.Write("ZIDE.cfg", kConfig);
        wav = dir.Write("tone.wav", "RIFF");
        bmp = dir.Write("logo.bmp", "BM");
        ASSERT_TRUE(owner.CreateEx(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr));
    }
    void TearDown() override
    {
        dlg.reset();   // stops what plays before the modules go
        owner.DestroyWindow();
    }
    void Switches(const char* module, const std::string& lines)
    {
        dir.Write(std::string(module) + ".ini",
                  "[Trace]\r\nEnable=1\r\nFile=" + std::string(module) + ".log\r\n[Switches]\r\n" + lines);
    }
    std::string Log(const char* module) { return vt::ReadFileBytes(dir.File(std::string(module) + ".log")); }
    void Show()
    {
        dlg.reset(new C_ResPreviewDlg(cfg.c_str()));
        ASSERT_TRUE(dlg->Create(IDD_PREVIEW_RESOURCE, &owner));
        dlg->ShowWindow(SW_SHOW);
    }
    // Serves the modules' progress until the dialog's playing state ends.
    void WaitUntilPlayed()
    {
        for (int i = 0; i < 2000 && dlg->IsPlaying(); ++i)
            vt::PumpMessages(5);
        ASSERT_FALSE(dlg->IsPlaying());
    }
    std::string Position()
    {
        CString s;
        dlg->m_textPos.GetWindowText(s);
        return (LPCSTR)s;
    }

    vt::ModalAnswerer box{IDOK};
    vt::TempDir dir;
    std::string cfg, wav, bmp;
    CWnd owner;
    std::unique_ptr<C_ResPreviewDlg> dlg;
};

TEST_F(ResPreview, ActionTableFromTheConfiguration)
{
    C_ResourceAction table(owner.m_hWnd);
    EXPECT_FALSE(table.Load(dir.File("missing.cfg").c_str()));
    ASSERT_TRUE(table.Load(cfg.c_str()));
    struct Case {
        const char* file;
        bool edit, preview, hidden;
    };
    for (Case c : {Case{"a.wav", true, true, false}, Case{"b.BMP", true, true, true}, Case{"c.txt", false, false, false}}) {
        EXPECT_EQ(c.edit, table.CanEdit(c.file) != FALSE) << c.file;
        EXPECT_EQ(c.preview, table.CanPreview(c.file) != FALSE) << c.file;
        EXPECT_EQ(c.hidden, table.IsPreviewWindowHidden(c.file) != FALSE) << c.file;
    }
    EXPECT_EQ(2, table.m_editors.GetCount());
}

TEST_F(ResPreview, PlayRunsToTheEndAndTheProgressMessages)
{
    Show();
    EXPECT_FALSE(dlg->m_btnPlay.IsWindowEnabled());   // nothing selected yet
    ASSERT_TRUE(dlg->PlayFile(wav.c_str(), 0));
    EXPECT_TRUE(dlg->IsPlaying());
    EXPECT_TRUE(dlg->m_btnStop.IsWindowEnabled());
    EXPECT_FALSE(dlg->m_btnPlay.IsWindowEnabled());
    WaitUntilPlayed();
    EXPECT_EQ(100, dlg->m_slider.GetPos());
    EXPECT_EQ("100%", Position());
    EXPECT_TRUE(dlg->m_btnPlay.IsWindowEnabled());
    EXPECT_TRUE(dlg->m_btnEdit.IsWindowEnabled());

    // Play with the slider at 100 starts from 0.
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PREVIEW_PLAY, BN_CLICKED), (LPARAM)dlg->m_btnPlay.m_hWnd);
    WaitUntilPlayed();
    EXPECT_NE(std::string::npos, Log("TonePreview").find("Preview " + wav + " 0\r\n"));

    // The three progress messages alike; a position past 100 is shown as 100 and ends the playing state.
    for (UINT msg : {PREVIEW_WM_PROGRESS_1, PREVIEW_WM_PROGRESS_2, PREVIEW_WM_PROGRESS_3}) {
        dlg->m_bPlaying = TRUE;
        dlg->SendMessage(msg, PREVIEW_PROGRESS, 40);
        EXPECT_EQ(40, dlg->m_slider.GetPos()) << msg;
        EXPECT_EQ("40%", Position());
        EXPECT_TRUE(dlg->IsPlaying());
        dlg->SendMessage(msg, 2, 70);   // not a progress report
        EXPECT_EQ(40, dlg->m_slider.GetPos());
        dlg->SendMessage(msg, PREVIEW_PROGRESS, 150);
        EXPECT_EQ(100, dlg->m_slider.GetPos());
        EXPECT_EQ("100%", Position());
        EXPECT_FALSE(dlg->IsPlaying()) << msg;
    }
}

TEST_F(ResPreview, ASecondPreviewStopsTheFirstUnlessItRefuses)
{
    Show();
    ASSERT_TRUE(dlg->PlayFile(wav.c_str(), 0));
    ASSERT_TRUE(dlg->PlayFile(bmp.c_str(), 0));
    EXPECT_NE(std::string::npos, Log("TonePreview").find("StopPreview"));
    EXPECT_NE(std::string::npos, Log("PixPreview").find("Preview " + bmp));
    WaitUntilPlayed();

    Switches("PixPreview", "RefuseStop=1\r\n");
    EXPECT_FALSE(dlg->PlayFile(wav.c_str(), 0));
    EXPECT_EQ(1u, std::count(Log("TonePreview").begin(), Log("TonePreview").end(), '\n'))
        << "no second Preview for tone.wav: " << Log("TonePreview");
    Switches("PixPreview", "");
}

TEST_F(ResPreview, RecentListKeepsTwentyAndSurvivesARestart)
{
    Show();
    for (int i = 1; i <= 21; ++i) {
        std::string file = dir.Write("t" + std::to_string(i) + ".wav", "RIFF");
        ASSERT_TRUE(dlg->PlayFile(file.c_str(), 0)) << i;
    }
    EXPECT_EQ(20, dlg->m_comboRecent.GetCount());
    CString first;
    dlg->m_comboRecent.GetLBText(0, first);
    EXPECT_STREQ("t21.wav", first);
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PREVIEW_STOP, BN_CLICKED));
    dlg.reset();   // writes the list
    Show();        // reads it
    ASSERT_EQ(20, dlg->m_comboRecent.GetCount());
    CString last;
    dlg->m_comboRecent.GetLBText(19, last);
    EXPECT_STREQ("t2.wav", last);
    EXPECT_EQ(dir.File("t21.wav"), std::string(dlg->m_recent[0]));
}

}  // namespace
