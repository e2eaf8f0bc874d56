// The project-manager holder: loading the component from the program folder, the failures it
// reports once per load, and the readers of the component's string lists.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/ProjectMgrPtr.h"
#include "tests/harness/harness.h"
#include "tests/harness/sample_copy.h"

namespace {

// The program folder as the holder sees it, for one test.
class ProgramFolderAt {
public:
    explicit ProgramFolderAt(const std::string& folder)
    {
        lstrcpynA(m_saved, g_szAppDir, MAX_PATH);
        lstrcpynA(g_szAppDir, (folder + "\\").c_str(), MAX_PATH);
    }
    ~ProgramFolderAt() { lstrcpynA(g_szAppDir, m_saved, MAX_PATH); }

private:
    char m_saved[MAX_PATH];
};

std::vector<std::string> Texts(C_CUStringList& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetCount(); ++i)
        texts.push_back(list.GetAt(i));
    return texts;
}

using Texts_t = std::vector<std::string>;

TEST(ProjectMgrPtr, LoadsTheProgramFoldersComponentAndReadsItsLists)
{
    vt::ModalAnswerer answerer;
    C_ProjectMgrPtr holder;
    EXPECT_EQ(nullptr, holder.GetModule());
    ASSERT_NE(0, holder.Load(NULL));
    I_ProjectMgr* pMgr = holder.Get();
    ASSERT_NE(nullptr, pMgr);
    EXPECT_EQ(pMgr, holder.Get());
    ASSERT_TRUE(pMgr->Init(1));

    C_CUStringList list;
    GetSourceFileExts(pMgr, &list);
    EXPECT_EQ(Texts_t({".asm", ".inc"}), Texts(list));
    GetExecutableFileExts(pMgr, &list);
    EXPECT_EQ(Texts_t({".obj"}), Texts(list));
    GetProjectBuildTargets(pMgr, &list);
    EXPECT_EQ(Texts_t({"Debug", "Release"}), Texts(list));

    vt::SampleCopy sample;
    ASSERT_TRUE(pMgr->OpenProject(sample.Project().c_str()));
    I_PMProjectTree* pTree = pMgr->GetProjectTree();
    ASSERT_NE(nullptr, pTree);
    I_PMFolder* pGraphics = nullptr;
    pTree->ResetFolders();
    while (I_PMFolder* p = pTree->GetNextFolder())
        if (strcmp(p->GetName(), "GraphicData") == 0)
            pGraphics = p;
    ASSERT_NE(nullptr, pGraphics);
    GetFolderFileList(pGraphics, &list);
    EXPECT_EQ(Texts_t({"Main", "Icons"}), Texts(list));
    pMgr->CloseProject(FALSE, nullptr);

    EXPECT_EQ(0u, answerer.Count());
    holder.Unload();
    EXPECT_EQ(nullptr, holder.GetModule());
}

TEST(ProjectMgrPtr, AMissingComponentIsReportedOncePerLoad)
{
    vt::TempDir dir;
    ProgramFolderAt folder(dir.Path());
    vt::ModalAnswerer answerer;
    C_ProjectMgrPtr holder;
    EXPECT_EQ(0, holder.Load(NULL));
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Project Agent", answerer.Last().caption);
    EXPECT_EQ(0u, answerer.Last().text.find("Load '" + dir.File("VeltaneProjectMgr.dll") + "' failed !"))
        << answerer.Last().text;
    // Each further try is one more load and one more message.
    EXPECT_EQ(nullptr, holder.Get());
    EXPECT_EQ(2u, answerer.Count());
    EXPECT_EQ(0, holder.Reload());
    EXPECT_EQ(3u, answerer.Count());
}

TEST(ProjectMgrPtr, AModuleWithoutTheEntryIsReportedAndKeptUntilTheNextTry)
{
    vt::TempDir dir;
    ASSERT_TRUE(CopyFileA((std::string(g_szAppDir) + "FileAttributes.dll").c_str(),
                          dir.File("VeltaneProjectMgr.dll").c_str(), FALSE));
    ProgramFolderAt folder(dir.Path());
    vt::ModalAnswerer answerer;
    C_ProjectMgrPtr holder;
    EXPECT_EQ(0, holder.Load(NULL));
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Project Agent", answerer.Last().caption);
    EXPECT_EQ(0u, answerer.Last().text.find("Get 'CreateProjectMgrInstance()' address from '"))
        << answerer.Last().text;
    EXPECT_NE(nullptr, holder.GetModule());
    EXPECT_EQ(nullptr, holder.Get());
    EXPECT_EQ(2u, answerer.Count());
}

TEST(ProjectMgrPtr, AnEntryThatYieldsNoAgentFailsWithoutAMessage)
{
    vt::TempDir dir;
    ASSERT_TRUE(CopyFileA((std::string(g_szAppDir) + "ide_testmodule.dll").c_str(),
                          dir.File("VeltaneProjectMgr.dll").c_str(), FALSE));
    ProgramFolderAt folder(dir.Path());
    vt::ModalAnswerer answerer;
    C_ProjectMgrPtr holder;
    EXPECT_EQ(0, holder.Load(NULL));
    EXPECT_EQ(nullptr, holder.Get());
    EXPECT_EQ(0u, answerer.Count());
}

// A component whose lists are the texts given; everything else answers nothing.
class FakeProjectMgr : public I_ProjectMgr {
public:
    std::string block;   // the two-call answer: NUL-separated texts and the final NUL; empty: size 0
    int nCalls = 0;

    int Answer(char* buffer)
    {
        ++nCalls;
        if (buffer)
            memcpy(buffer, block.data(), block.size());
        return (int)block.size();
    }
    void Release() override {}
    int GetFilesToOpen(const char*, char* buffer) override { return Answer(buffer); }
    int GetSourceExts(char* buffer) override { return Answer(buffer); }
    int GetExecutableExts(char* buffer) override { return Answer(buffer); }
    int GetReportFiles(char* buffer) override { return Answer(buffer); }
    int GetBuildTargets(char* buffer) override { return Answer(buffer); }
    BOOL Init(DWORD mode) override { return {}; }
    I_PMProject* GetProject() override { return {}; }
    I_PMProjectTree* GetProjectTree() override { return {}; }
    BOOL ReloadFileInfo() override { return {}; }
    I_PMLanguage* GetLanguage(const char* path) override { return {}; }
    BOOL CreateObjProject(const char* objFile, const char* partNumber) override { return {}; }
    BOOL CreateProject(const char* folder, const char* name, const char* partNumber, DWORD kind) override { return {}; }
    BOOL OpenProject(const char* path) override { return {}; }
    BOOL SaveProject(const char* openFiles) override { return {}; }
    BOOL CloseProject(BOOL save, const char* openFiles) override { return {}; }
    BOOL DuplicateProject(const char* folder) override { return {}; }
    BOOL CheckObjFile(const char* path, char* partNumber) override { return {}; }
    BOOL CanCompile(const char* path) override { return {}; }
    BOOL IsProjectFile(const char* path) override { return {}; }
    BOOL EndSettingsEdit(BOOL commit) override { return {}; }
    BOOL GetPartNumbersOfKind(DWORD kind, I_CUStringList* list) override { return {}; }
    BOOL GetIncludedFiles(const char* path, I_CUStringList* list) override { return {}; }
    BOOL GetEmbeddedFiles(const char* path, I_CUStringList* list) override { return {}; }
    BOOL GetOutputFile(char* buffer) override { return {}; }
    BOOL GetSecondOutputFile(char* buffer) override { return {}; }
    BOOL GetDefaultTool(char* listFile, char* section) override { return {}; }
    DWORD GetBuiltObjectCount() override { return {}; }
    BOOL Clean(DWORD what) override { return {}; }
    BOOL AcceptOutputRecord(tagMessageRecord* record) override { return {}; }
    BOOL IsBuildNeeded() override { return {}; }
    BOOL Compile(const char* folder, const char* path) override { return {}; }
    BOOL Build(BOOL rebuild) override { return {}; }
    void StopBuild() override { }
    BOOL AddNewFile(I_CUStringList* path, int folder, int subFolder) override { return {}; }
    BOOL AddFiles(I_CUStringList* paths, const char* folder, const char* subFolder) override { return {}; }
    BOOL RemoveFiles(I_CUStringList* paths, int folder, int subFolder) override { return {}; }
    BOOL IsReadyToBuild() override { return {}; }
    BOOL SetChip(const char* partNumber) override { return {}; }
    BOOL AreSettingsComplete(int* page) override { return {}; }
    BOOL HasMaskOptions() override { return {}; }
    int GetExtraOptionPageCount() override { return {}; }
    BOOL CreateExtraOptionPage(HWND parent, HWND* pages, char* labels) override { return {}; }
    BOOL ApplyOptions(I_PMProjectOptions* options) override { return {}; }
    BOOL RunFileAction(const char* folder, const char* path, int action) override { return {}; }
    BOOL PrepareDownload(WORD* flags, DWORD downloaded) override { return {}; }
    I_PMFileObjects* GetFileObjects() override { return {}; }
    BOOL AddSubFolder(const char* folder, const char* name) override { return {}; }
    BOOL DeleteSubFolder(const char* folder, const char* name) override { return {}; }
    BOOL SetActiveSubFolder(const char* folder, const char* name) override { return {}; }
    BOOL RunFolderAction(const char* folder, const char* subFolder, int action, I_CUStringList* filesToOpen) override { return {}; }
    BOOL RenameSubFolder(const char* folder, const char* oldName, const char* newName) override { return {}; }
    BOOL IsWizardAvailable(DWORD kind) override { return {}; }
    BOOL RunWizard(DWORD kind, void* record, DWORD size) override { return {}; }
    BOOL SaveAsTemplate(const char* path, DWORD a, DWORD b, DWORD c) override { return {}; }
    BOOL CreateFromTemplate(const char* folder, const char* name, const char* partNumber, DWORD kind, const char* templatePath) override { return {}; }
};

using ListReader = void (*)(I_ProjectMgr*, C_CUStringList*);
const ListReader kReaders[] = {
    GetSourceFileExts, GetExecutableFileExts, GetProjectReportFiles, GetProjectBuildTargets,
    [](I_ProjectMgr* p, C_CUStringList* l) { GetProjectFilesToOpen(p, "main.asm", l); },
};

TEST(ProjectMgrLists, ASizeOfZeroLeavesTheCallersListAlone)
{
    FakeProjectMgr mgr;
    for (ListReader read : kReaders) {
        C_CUStringList list;
        list.Add("kept");
        mgr.nCalls = 0;
        read(&mgr, &list);
        EXPECT_EQ(1, mgr.nCalls) << "asked for the size only";
        EXPECT_EQ(Texts_t({"kept"}), Texts(list));
    }
}

TEST(ProjectMgrLists, AnswersReplaceTheListAndBuildTargetsSplitAtCommasAndSemicolons)
{
    FakeProjectMgr mgr;
    mgr.block = std::string("a.lst\0b.map\0", 12) + '\0';
    for (size_t i = 0; i < 3; ++i) {
        C_CUStringList list;
        list.Add("old");
        kReaders[i](&mgr, &list);
        EXPECT_EQ(Texts_t({"a.lst", "b.map"}), Texts(list)) << i;
    }
    const struct {
        const char* text;
        Texts_t targets;
    } cases[] = {
        {"Debug", {"Debug"}},
        {"Debug,Release", {"Debug", "Release"}},
        {"Debug; Release ;Final", {"Debug", "Release", "Final"}},
        {"Debug,,Final", {"Debug"}},
    };
    for (const auto& c : cases) {
        mgr.block = std::string(c.text) + '\0' + '\0';
        C_CUStringList list;
        list.Add("old");
        GetProjectBuildTargets(&mgr, &list);
        EXPECT_EQ(c.targets, Texts(list)) << c.text;
    }
}

} // namespace
