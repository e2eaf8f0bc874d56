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

// A program folder of its own for one test, holding a copy of one module of the real
// program folder as the component (or none).
class ComponentFolder {
public:
    explicit ComponentFolder(const char* pszModule)
    {
        if (pszModule)
            m_bCopied = CopyFileA((std::string(g_szAppDir) + pszModule).c_str(), Component().c_str(), FALSE) != 0;
        lstrcpynA(m_saved, g_szAppDir, MAX_PATH);
        lstrcpynA(g_szAppDir, (m_dir.Path() + "\\").c_str(), MAX_PATH);
    }
    ~ComponentFolder() { lstrcpynA(g_szAppDir, m_saved, MAX_PATH); }
    std::string Component() const { return m_dir.File("VeltaneProjectMgr.dll"); }
    bool m_bCopied = false;

private:
    vt::TempDir m_dir;
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

TEST(ProjectMgrPtr, FailuresAreReportedOncePerLoadExceptAMissingAgent)
{
    const struct {
        const char* module;    // copied in as the component; NULL: none there
        std::string message;   // how the one message of a load starts; empty: no message
        bool held;             // the module stays loaded for the next try
    } cases[] = {
        {nullptr, "Load '%s' failed !", false},
        {"FileAttributes.dll", "Get 'CreateProjectMgrInstance()' address from '", true},
        {"ide_testmodule.dll", "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.module ? c.module : "none");
        ComponentFolder folder(c.module);
        ASSERT_EQ(c.module != nullptr, folder.m_bCopied);
        std::string message = c.message;
        if (message.find("%s") != std::string::npos)
            message.replace(message.find("%s"), 2, folder.Component());
        const size_t nPerLoad = message.empty() ? 0 : 1;
        vt::ModalAnswerer answerer;
        C_ProjectMgrPtr holder;
        EXPECT_EQ(0, holder.Load(NULL));
        ASSERT_EQ(nPerLoad, answerer.Count());
        if (nPerLoad) {
            EXPECT_EQ("Project Agent", answerer.Last().caption);
            EXPECT_EQ(0u, answerer.Last().text.find(message)) << answerer.Last().text;
        }
        EXPECT_EQ(c.held, holder.GetModule() != nullptr);
        // Asking for the interface tries again: one more load, one more message.
        EXPECT_EQ(nullptr, holder.Get());
        EXPECT_EQ(2 * nPerLoad, answerer.Count());
    }
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
