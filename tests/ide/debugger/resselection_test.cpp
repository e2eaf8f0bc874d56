// "Select Custom Resource Editor" on a private configuration file: the two
// sections in and out, the list editor's additions, refusals, deletions and
// moves, Cancel, and a list longer than one read buffer.
#include <gtest/gtest.h>
#include "afx/afx.h"
#include "ide/debugger/ResToolSelection.h"
#include "resources/ideres.h"
#include "tests/harness/harness.h"

namespace {

const char kConfig[] =
    "[Resource Editor]\r\n"
    "Editor1=WaveDesk.exe, WaveDesk, 1, 1, .wav\r\n"
    "Editor2=Pixmere.exe, Pixmere, 1, 1, .bmp\r\n"
    "Editor3=Kept.exe, Kept, 0, 0, .xyz\r\n"
    "[Resource Editor List]\r\n"
    "WaveDesk.exe, WaveDesk, 1, 1, .wav=0\r\n"
    "ToneSift.exe, Kelbray Tone Sift, 0, 0, .wav=1\r\n"
    "Pixmere.exe, Pixmere, 1, 1, .bmp=0\r\n"
    "Other.exe, Other, 0, 0, .WAV=0\r\n";

std::string Value(const std::string& file, const char* section, const std::string& key)
{
    char buf[1024] = "";
    GetPrivateProfileStringA(section, key.c_str(), "(none)", buf, sizeof buf, file.c_str());
    return buf;
}

class ResSelection : public ::testing::Test {
protected:
    void SetUp() override { cfg = dir.Write("ZIDE.cfg", kConfig); }
    void Show()
    {
        dlg.reset(new C_ResToolSelection(cfg.c_str(), "ToneSift.exe, WaveDesk.exe, VoiceForge.exe", nullptr));
        ASSERT_TRUE(dlg->Create(IDD_RESOURCE_EDITORS, nullptr));
        SetPropA(dlg->m_hWnd, "vt.answered", (HANDLE)1);
        dlg->ShowWindow(SW_SHOW);
        vt::PumpMessages();
    }
    std::vector<std::string> Lines()
    {
        std::vector<std::string> out;
        CListBox* list = dlg->m_listEditor.GetListBoxPtr();
        for (int i = 0; i < list->GetCount(); ++i) {
            CString s;
            list->GetText(i, s);
            out.push_back((LPCSTR)s);
        }
        return out;
    }
    void Add(const std::string& path)
    {
        ASSERT_TRUE(dlg->m_listEditor.OnNewItem());
        TWKListBoxEdit* edit = dlg->m_listEditor.GetEdit();
        ASSERT_TRUE(edit);
        edit->SetWindowText(path.c_str());
        edit->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
        vt::PumpMessages();
    }
    void Select(int i) { dlg->m_listEditor.GetListBoxPtr()->SetCurSel(i); }

    vt::ModalAnswerer box{IDOK};
    vt::TempDir dir;
    std::string cfg;
    std::unique_ptr<C_ResToolSelection> dlg;
};

TEST_F(ResSelection, SectionsInAndOut)
{
    Show();
    std::vector<std::string> types;
    for (int i = 0; i < dlg->m_comboType.GetCount(); ++i) {
        CString s;
        dlg->m_comboType.GetLBText(i, s);
        types.push_back((LPCSTR)s);
    }
    EXPECT_EQ(std::vector<std::string>({".wav", ".bmp"}), types);   // ".WAV" is the same type
    EXPECT_EQ(std::vector<std::string>({"WaveDesk.exe", "ToneSift.exe", ""}), Lines());
    char caption[64] = "";
    GetWindowTextA(dlg->m_hWnd, caption, sizeof caption);
    EXPECT_STREQ("Tool Selection", caption);
    dlg->SendMessage(WM_COMMAND, IDOK);
    EXPECT_TRUE(dlg->IsModified());
    EXPECT_EQ("WaveDesk.exe, WaveDesk, 1, 1, .wav", Value(cfg, "Resource Editor", "Editor1"));
    EXPECT_EQ("Pixmere.exe, Pixmere, 1, 1, .bmp", Value(cfg, "Resource Editor", "Editor2"));
    EXPECT_EQ("Kept.exe, Kept, 0, 0, .xyz", Value(cfg, "Resource Editor", "Editor3"));
    EXPECT_EQ("1", Value(cfg, "Resource Editor List", "ToneSift.exe, Kelbray Tone Sift, 0, 0, .wav"));
    EXPECT_EQ("0", Value(cfg, "Resource Editor List", "Other.exe, Other, 0, 0, .WAV"));
    EXPECT_EQ(0u, box.Count());
}

TEST_F(ResSelection, AddRefuseDeleteAndMove)
{
    Show();
    // The same program again, in another case: refused, the list as it was.
    Add("wavedesk.EXE");
    ASSERT_EQ(1u, box.Count());
    EXPECT_EQ("Item has existed!", box.Last().text);
    EXPECT_EQ("Error", box.Last().caption);
    EXPECT_EQ(std::vector<std::string>({"WaveDesk.exe", "ToneSift.exe", ""}), Lines());
    // A system default cannot be deleted.
    box.Clear();
    Select(1);
    EXPECT_FALSE(dlg->m_listEditor.OnDeleteItem());
    ASSERT_EQ(1u, box.Count());
    EXPECT_EQ("You can not delete a system default resource editror!", box.Last().text);
    EXPECT_EQ(3u, Lines().size());

    box.Clear();
    Add("C:\\Tools\\Wave2.exe");
    Add("C:\\Tools\\Wave3.exe");
    EXPECT_EQ(0u, box.Count()) << box.Last().text;
    EXPECT_EQ(std::vector<std::string>({"WaveDesk.exe", "ToneSift.exe", "C:\\Tools\\Wave2.exe", "C:\\Tools\\Wave3.exe",
                                        ""}),
              Lines());
    // Deleting a user-added line moves the lines below it up one place.
    Select(2);
    EXPECT_TRUE(dlg->m_listEditor.OnDeleteItem());
    // Moved to the top, the added editor becomes the type's default.
    Select(2);
    EXPECT_TRUE(dlg->m_listEditor.OnMoveItemUp());
    EXPECT_TRUE(dlg->m_listEditor.OnMoveItemUp());
    EXPECT_EQ(std::vector<std::string>({"C:\\Tools\\Wave3.exe", "WaveDesk.exe", "ToneSift.exe", ""}), Lines());
    dlg->SendMessage(WM_COMMAND, IDOK);
    EXPECT_EQ("C:\\Tools\\Wave3.exe, Wave3.exe, 0, 0, .wav", Value(cfg, "Resource Editor", "Editor1"));
    EXPECT_EQ("0", Value(cfg, "Resource Editor List", "C:\\Tools\\Wave3.exe, Wave3.exe, 0, 0, .wav"));
    EXPECT_EQ("1", Value(cfg, "Resource Editor List", "WaveDesk.exe, WaveDesk, 1, 1, .wav"));
    EXPECT_EQ("2", Value(cfg, "Resource Editor List", "ToneSift.exe, Kelbray Tone Sift, 0, 0, .wav"));
    EXPECT_EQ("(none)", Value(cfg, "Resource Editor List", "C:\\Tools\\Wave2.exe, Wave2.exe, 0, 0, .wav"));
}

TEST_F(ResSelection, CancelWritesNothing)
{
    std::string before = vt::ReadFileBytes(cfg);
    Show();
    Add("C:\\Tools\\Wave2.exe");
    Select(2);
    dlg->m_listEditor.OnMoveItemUp();
    dlg->SendMessage(WM_COMMAND, IDCANCEL);
    EXPECT_FALSE(dlg->IsModified());
    EXPECT_EQ(before, vt::ReadFileBytes(cfg));
}

TEST_F(ResSelection, ListLongerThanOneBufferSurvivesOk)
{
    std::string text = "[Resource Editor List]\r\n";
    for (int i = 0; i < 300; ++i)
        text += "C:\\Some\\Long\\Folder\\Editor" + std::to_string(i) + ".exe, Editor" + std::to_string(i) +
                ".exe, 0, 0, .t" + std::to_string(i % 7) + "=" + std::to_string(i / 7) + "\r\n";
    ASSERT_GT(text.size(), 16384u);
    cfg = dir.Write("ZIDE.cfg", text);
    Show();
    EXPECT_EQ(7, dlg->m_comboType.GetCount());
    dlg->SendMessage(WM_COMMAND, IDOK);
    for (int i : {0, 150, 299})
        EXPECT_EQ(std::to_string(i / 7), Value(cfg, "Resource Editor List",
                                               "C:\\Some\\Long\\Folder\\Editor" + std::to_string(i) + ".exe, Editor" +
                                                   std::to_string(i) + ".exe, 0, 0, .t" + std::to_string(i % 7)))
            << i;
    EXPECT_EQ("C:\\Some\\Long\\Folder\\Editor0.exe, Editor0.exe, 0, 0, .t0", Value(cfg, "Resource Editor", "Editor1"));
}

}  // namespace
