// The frame's project side on a real frame and the project-manager stand-in:
// open, close and reopen, the conversion of old project files, the log order
// and the writer state kept when a close is cancelled.
#include "tests/ide/workbench/mainframe_fixture.h"
#include "tests/harness/sample_copy.h"
#include "ide/workbench/AsmIDE.h"
#include <fstream>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Value(const std::string& path, const char* section, const char* key)
{
    char buf[512] = "";
    GetPrivateProfileStringA(section, key, "", buf, sizeof buf, path.c_str());
    return buf;
}

std::vector<std::string> Requests(CMainFrame* p)
{
    std::vector<std::string> out;
    for (POSITION pos = p->m_listOutputRequests.GetHeadPosition(); pos;)
        out.push_back((LPCSTR)p->m_listOutputRequests.GetNext(pos));
    return out;
}

class Projects : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.p);
        ASSERT_TRUE(frame.p->InitProjectManager());
    }
    void TearDown() override
    {
        if (frame.p && frame.p->m_bProjectOpen)
            frame.p->CloseProject(FALSE);
    }
    vt::ModalAnswerer answerer{IDNO};
    vt::SampleCopy sample;
    vt::MainFrame frame;
};

TEST_F(Projects, OpenCloseAndReopenTheSample)
{
    CMainFrame* p = frame.p;
    ASSERT_TRUE(p->OpenProject(sample.Project().c_str()));
    EXPECT_TRUE(p->m_bProjectOpen);
    EXPECT_EQ(sample.Project(), (LPCSTR)p->m_strProjectPath);
    EXPECT_STREQ("Sample", p->GetProjectWnd()->m_strProjectName);
    EXPECT_EQ(sample.Folder(), (LPCSTR)p->GetProjectWnd()->m_strProjectFolder);
    EXPECT_FALSE(p->GetProjectWnd()->IsWorkspaceEmpty());
    ASSERT_FALSE(p->m_listFindDir.IsEmpty());
    EXPECT_EQ(sample.Folder(), std::string(p->m_listFindDir.GetHead()) + "\\");
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    if (pApp && pApp->m_pRecentProjectList)
        EXPECT_STREQ(sample.Project().c_str(), (*pApp->m_pRecentProjectList)[0]);

    // The same project again: the "Result" page is cleared and the log named again, nothing reopens.
    p->m_listOutputRequests.RemoveAll();
    ASSERT_TRUE(p->OpenProject(sample.Project().c_str()));
    EXPECT_EQ(std::vector<std::string>({"clear 2", "log " + Value(sample.Project(), "Project", "MessageDump")}),
              Requests(p));

    ASSERT_TRUE(p->CloseProject(TRUE));
    EXPECT_FALSE(p->m_bProjectOpen);
    EXPECT_TRUE(p->m_strProjectPath.IsEmpty());
    EXPECT_TRUE(p->GetProjectWnd()->IsWorkspaceEmpty());
    EXPECT_EQ("2.00", Value(sample.Project(), "VeltaneTool", "Version"));
    ASSERT_TRUE(p->OpenProject(sample.Project().c_str()));
    EXPECT_TRUE(p->m_bProjectOpen);
    EXPECT_EQ(0u, answerer.Count()) << answerer.Last().text;
}

TEST_F(Projects, MissingFileGivesItsMessage)
{
    std::string missing = sample.Folder() + "Nothing.wbi";
    EXPECT_FALSE(frame.p->OpenProject(missing.c_str()));
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Unable to open project " + missing + " !!", answerer.Last().text);
    EXPECT_FALSE(frame.p->m_bProjectOpen);
}

TEST_F(Projects, OldProjectFileIsConvertedOnceWithAnExactCopy)
{
    std::string path = sample.Folder() + "Old.wbi";
    ASSERT_TRUE(CopyFileA(sample.Fixture("SampleOld.wbi").c_str(), path.c_str(), FALSE));
    std::string original = ReadAll(path);
    ASSERT_EQ("", Value(path, "VeltaneTool", "Version"));
    frame.p->ConvertProjectFile(path.c_str());
    EXPECT_EQ(original, ReadAll(path + ".old"));
    // Every old folder section's files are in the new one, and each folder is listed once.
    for (const char* side : {"Sys", "User"}) {
        std::string section = std::string("UserDefine_") + side;
        std::string disk = side == std::string("Sys") ? "System Disk" : "User Disk";
        for (const char* folder : {"Application", "GraphicData", "AudioData", "Resource", "Other"}) {
            std::string oldSection = disk + " - " + folder;
            if (Value(path, oldSection.c_str(), "File1").empty())
                continue;
            int listed = 0;
            for (int i = 1; i <= 255; i++)
                listed += Value(path, section.c_str(), std::to_string(i).c_str()) == folder;
            EXPECT_EQ(1, listed) << section << " " << folder;
            std::vector<std::string> newFiles;
            std::string newSection = section + " - " + folder;
            for (int k = 1; !Value(path, newSection.c_str(), ("File" + std::to_string(k)).c_str()).empty(); k++)
                newFiles.push_back(Value(path, newSection.c_str(), ("File" + std::to_string(k)).c_str()));
            for (int i = 1; !Value(path, oldSection.c_str(), ("File" + std::to_string(i)).c_str()).empty(); i++) {
                std::string file = Value(path, oldSection.c_str(), ("File" + std::to_string(i)).c_str());
                EXPECT_NE(newFiles.end(), std::find(newFiles.begin(), newFiles.end(), file)) << file;
            }
        }
    }
}

TEST_F(Projects, AListedFolderGetsItsOldFilesAppended)
{
    std::string path = sample.dir.Path() + "\\Listed.wbi";
    vt::WriteFileBytes(path, "[UserDefine_Sys]\r\n1=Application\r\n"
                             "[UserDefine_Sys - Application]\r\nFile1=a.asm\r\nFile2=b.asm\r\n"
                             "[System Disk - Application]\r\nFile1=c.asm\r\n"
                             "[System Disk - Resource]\r\nFile1=tone.wav\r\n"
                             "[User Boot Program]\r\nFile1=ubp.bin\r\n");
    frame.p->ConvertProjectFile(path.c_str());
    EXPECT_EQ("a.asm", Value(path, "UserDefine_Sys - Application", "File1"));
    EXPECT_EQ("b.asm", Value(path, "UserDefine_Sys - Application", "File2"));
    EXPECT_EQ("c.asm", Value(path, "UserDefine_Sys - Application", "File3"));
    EXPECT_EQ("Resource", Value(path, "UserDefine_Sys", "2"));
    EXPECT_EQ("", Value(path, "UserDefine_Sys", "3"));
    EXPECT_EQ("tone.wav", Value(path, "UserDefine_Sys - Resource", "File1"));
    EXPECT_EQ("ubp.bin", Value(path, "Console UBP", "File1"));
}

TEST_F(Projects, TheNewLogIsNamedAfterThePreviousProjectIsClosed)
{
    CMainFrame* p = frame.p;
    std::string a = sample.Project();
    std::string b = sample.Folder() + "B.wbi";
    ASSERT_TRUE(CopyFileA(a.c_str(), b.c_str(), FALSE));
    WritePrivateProfileStringA("Project", "MessageDump", (sample.Folder() + "A.log").c_str(), a.c_str());
    WritePrivateProfileStringA("Project", "MessageDump", (sample.Folder() + "B.log").c_str(), b.c_str());
    ASSERT_TRUE(p->OpenProject(a.c_str()));
    p->m_listOutputRequests.RemoveAll();
    ASSERT_TRUE(p->OpenProject(b.c_str()));
    std::vector<std::string> seen = Requests(p);
    auto write = std::find(seen.begin(), seen.end(), "write log");
    auto log = std::find(seen.begin(), seen.end(), "log " + sample.Folder() + "B.log");
    ASSERT_NE(seen.end(), write);
    ASSERT_NE(seen.end(), log);
    EXPECT_LT(write - seen.begin(), log - seen.begin());
    // Reopening the open project names its log again.
    p->m_listOutputRequests.RemoveAll();
    ASSERT_TRUE(p->OpenProject(b.c_str()));
    EXPECT_EQ(std::vector<std::string>({"clear 2", "log " + sample.Folder() + "B.log"}), Requests(p));
}

TEST_F(Projects, CancelledCloseKeepsTheWriterState)
{
    CMainFrame* p = frame.p;
    ASSERT_TRUE(p->OpenProject(sample.Project().c_str()));
    std::string user = sample.dir.Path() + "\\user.tmp", sys = sample.dir.Path() + "\\sys.tmp";
    vt::WriteFileBytes(user, "u");
    vt::WriteFileBytes(sys, "s");
    p->m_bImageWritten = TRUE;
    p->m_strTempUserImage = user.c_str();
    p->m_strTempSysImage = sys.c_str();
    p->GetProjectWnd()->SetProjectModified(TRUE);
    answerer.Queue(IDCANCEL);
    EXPECT_FALSE(p->CloseProject(TRUE));
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Save Current Project ?", answerer.Last().text);
    EXPECT_TRUE(p->m_bProjectOpen);
    EXPECT_TRUE(p->m_bImageWritten);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(user.c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(sys.c_str()));
    // A close that goes through drops them.
    answerer.Queue(IDNO);
    EXPECT_TRUE(p->CloseProject(TRUE));
    EXPECT_FALSE(p->m_bImageWritten);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(user.c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(sys.c_str()));
}

TEST_F(Projects, ViewTogglesShowAndHideTheBars)
{
    for (UINT nID : {ID_VIEW_PROJECT_BAR, ID_VIEW_OUTPUT_BAR, ID_VIEW_PREVIEW_BAR}) {
        SCOPED_TRACE(nID);
        bool before = frame.Visible(nID + 19134);
        frame.Command(nID);
        vt::PumpMessages();
        EXPECT_NE(before, frame.Visible(nID + 19134));
        frame.Command(nID);
        vt::PumpMessages();
        EXPECT_EQ(before, frame.Visible(nID + 19134));
    }
}

TEST_F(Projects, OpenFilterAndDispatchByExtension)
{
    CMainFrame* p = frame.p;
    EXPECT_STREQ("Project Files (*.wbi)|*.wbi|Executable Files (*.obj)|*.obj|"
                 "Source files (*.asm;*.inc)|*.asm;*.inc|"
                 "Text files (*.asm;*.inc;*.txt;*.lst;*.map;*.ini)|*.asm;*.inc;*.txt;*.lst;*.map;*.ini|"
                 "All Files (*.*)|*.*||",
                 p->BuildOpenFilter());
    const struct {
        std::string path;
        DWORD noSpace;
        std::string message;   // empty: none
        bool projectOpen;
    } cases[] = {
        {"C:\\" + std::string(260, 'a') + ".wbi", 0, "File with full pathname can not exceed system limits(255 chars)", false},
        {sample.Folder() + "My Sample.wbi", 1, "Space in filename unsupported!", false},
        {sample.Folder() + "garbage.obj", 0, "Invalid OBJ file " + sample.Folder() + "garbage.obj!!", false},
        {sample.Project(), 1, "", true},
    };
    vt::WriteFileBytes(sample.Folder() + "garbage.obj", "not an object");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.substr(0, 60));
        answerer.Clear();
        p->m_dwNameWithoutSpace = c.noSpace;
        p->OpenChosenFile(c.path.c_str());
        if (c.message.empty()) {
            EXPECT_EQ(0u, answerer.Count());
        } else {
            ASSERT_EQ(1u, answerer.Count());
            EXPECT_EQ(c.message, answerer.Last().text);
            EXPECT_EQ("Error: ", answerer.Last().caption);
        }
        EXPECT_EQ(c.projectOpen, p->m_bProjectOpen != FALSE);
    }
}

TEST_F(Projects, KeywordFileTableIsReadFromTheConfiguration)
{
    C_IDEProjectWnd* pWnd = frame.p->GetProjectWnd();
    ASSERT_EQ(2u, pWnd->m_arrKeywordFiles.size());
    EXPECT_STREQ("txt", pWnd->m_arrKeywordFiles[0].first);
    EXPECT_STREQ("Default.ini", pWnd->m_arrKeywordFiles[0].second);
    EXPECT_STREQ("ini", pWnd->m_arrKeywordFiles[1].first);
    EXPECT_EQ(CString(g_szAppDir) + "ZIDE.cfg", pWnd->m_strConfigFile);
}

}  // namespace
