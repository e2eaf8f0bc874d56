#include "tests/components/pmtesting.h"
#include "components/ToyTarget/ToyTarget.h"
#include <algorithm>

using namespace pmt;

namespace {

std::string Name(const std::string& path)
{
    return path.substr(path.find_last_of('\\') + 1);
}

std::vector<std::string> Names(const std::vector<std::string>& paths)
{
    std::vector<std::string> out;
    for (const std::string& p : paths)
        out.push_back(Name(p));
    return out;
}

I_PMFolder* FolderNamed(I_ProjectMgr* mgr, const char* name)
{
    I_PMProjectTree* tree = mgr->GetProjectTree();
    if (!tree)
        return nullptr;
    tree->ResetFolders();
    while (I_PMFolder* f = tree->GetNextFolder())
        if (std::string(f->GetName()) == name)
            return f;
    return nullptr;
}

C_CUStringList ListOf(std::initializer_list<std::string> items)
{
    C_CUStringList list;
    for (const std::string& i : items)
        list.Add(i.c_str());
    return list;
}

// The sample project copied and opened, with a window as the component's owner.
class SampleOpen : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(pm->OpenProject(sample.Project().c_str())); }
    SampleCopy sample;
    OwnerWindow owner;
    Component pm{owner.hwnd};
};

TEST(ProjectMgr, TwoCallLists)
{
    SampleCopy sample;
    OwnerWindow owner;
    Component pm(owner.hwnd);
    EXPECT_EQ(std::vector<std::string>({".asm", ".inc"}), TwoCall([&](char* b) { return pm->GetSourceExts(b); }));
    EXPECT_EQ(std::vector<std::string>({".obj"}), TwoCall([&](char* b) { return pm->GetExecutableExts(b); }));
    EXPECT_EQ(std::vector<std::string>({"Debug,Release"}), TwoCall([&](char* b) { return pm->GetBuildTargets(b); }));
    // Size 0 answers: nothing open, nothing built, a folder without sub-folders.
    EXPECT_EQ(0, pm->GetFilesToOpen(sample.Project().c_str(), nullptr));
    ASSERT_TRUE(pm->OpenProject(sample.Project().c_str()));
    EXPECT_EQ(0, pm->GetReportFiles(nullptr));
    EXPECT_EQ(0, FolderNamed(pm.mgr, "Application")->GetSubFolderNames(nullptr));
    I_PMFolder* graphic = FolderNamed(pm.mgr, "GraphicData");
    EXPECT_EQ(std::vector<std::string>({"Main", "Icons"}), TwoCall([&](char* b) { return graphic->GetSubFolderNames(b); }));

    std::string open = sample.Folder() + "main.asm";
    open += '\0';
    open += sample.Folder() + "gone.asm";
    open += '\0';
    ASSERT_TRUE(pm->SaveProject(open.c_str()));
    EXPECT_EQ(std::vector<std::string>({sample.Folder() + "main.asm"}),
              TwoCall([&](char* b) { return pm->GetFilesToOpen(sample.Project().c_str(), b); }));
    EXPECT_EQ(0, pm->GetFilesToOpen("C:\\other.wbi", nullptr));
}

TEST(ProjectMgr, TreeWalk)
{
    SampleCopy sample;
    OwnerWindow owner;
    Component pm(owner.hwnd);
    EXPECT_TRUE(pm->GetProjectTree() == nullptr);
    ASSERT_TRUE(pm->OpenProject(sample.Project().c_str()));
    I_PMProjectTree* tree = pm->GetProjectTree();
    ASSERT_TRUE(tree != nullptr);
    EXPECT_STREQ("Project Sample", tree->GetCaption());
    EXPECT_EQ(1u, tree->GetProjectKind());
    EXPECT_STREQ("KV61A-S28", pm->GetProject()->GetPartNumber());
    EXPECT_EQ(1u, pm->GetProject()->GetProjectKind());
    EXPECT_EQ(2u, pm->GetProject()->GetScriptMode());

    std::vector<std::string> names;
    std::vector<DWORD> visible;
    tree->ResetFolders();
    while (I_PMFolder* f = tree->GetNextFolder()) {
        names.push_back(f->GetName());
        visible.push_back(f->IsVisible());
    }
    EXPECT_EQ(std::vector<std::string>({"Application", "GraphicData", "AudioData", "Resource", "Other", "Target", "Library"}),
              names);
    EXPECT_EQ(std::vector<DWORD>({1, 1, 1, 1, 1, 1, 0}), visible);
    EXPECT_TRUE(tree->GetFolder(7) == nullptr);

    I_PMFolder* app = tree->GetFolder(0);
    EXPECT_EQ(std::vector<std::string>({"main.asm", "sound.asm", "defs.inc"}), Names(Items(app->GetFiles())));
    EXPECT_TRUE(app->CanCompile());
    EXPECT_STREQ(".asm", app->GetDefaultExt());
    char path[PM_PATH_SIZE];
    ASSERT_TRUE(app->GetFilePath(-1, 1, path));
    EXPECT_EQ(sample.Folder() + "sound.asm", path);
    EXPECT_FALSE(app->GetFilePath(-1, 3, path));

    I_PMFolder* graphic = tree->GetFolder(1);
    EXPECT_TRUE(graphic->HasSubFolders() && graphic->RequiresSubFolder() && graphic->CanHaveSubFolders());
    EXPECT_EQ(1, graphic->GetFixedSubFolderCount());
    EXPECT_EQ(1, graphic->GetActiveSubFolder());
    EXPECT_STREQ("Icons", graphic->GetSubFolderName(1));
    EXPECT_STREQ("", graphic->GetSubFolderName(2));
    I_CUElementList<I_CUStringList*>* subs = graphic->GetSubFolders();
    ASSERT_EQ(2, subs->GetCount());
    I_CUStringList* icons = nullptr;
    ASSERT_TRUE(subs->GetAt(1, &icons, nullptr));
    EXPECT_EQ(std::vector<std::string>({"icon.bmp"}), Names(Items(icons)));
    ASSERT_TRUE(graphic->GetFilePath(1, 0, path));
    EXPECT_EQ(sample.Folder() + "icon.bmp", path);
    EXPECT_EQ(std::vector<std::string>({"icon.bmp"}), Names(Items(graphic->GetAllFiles())));
    EXPECT_EQ(std::vector<std::string>({"List Files"}), Items(graphic->GetSubFolderActions()));
    EXPECT_EQ(std::vector<std::string>({"Sort Files"}), Items(graphic->GetFolderActions()));
    EXPECT_EQ(std::vector<std::string>({"Preview", "Edit"}), Items(tree->GetFolder(3)->GetFileActions()));
    EXPECT_EQ(std::vector<std::string>({".*"}), Items(tree->GetFolder(4)->GetSourceExts()));
    I_PMFolder* target = tree->GetFolder(5);
    EXPECT_STREQ(".bin", target->GetTargetExt());
    EXPECT_TRUE(target->AcceptsTarget());
    EXPECT_EQ(1, target->GetMaxFiles());

    EXPECT_EQ(std::vector<std::string>({"notes.txt"}), Names(Items(tree->GetRootFiles())));
    ASSERT_TRUE(tree->GetRootFilePath(0, path));
    EXPECT_EQ(sample.Folder() + "notes.txt", path);
    EXPECT_FALSE(tree->GetRootFilePath(1, path));
}

TEST_F(SampleOpen, TreeEditsAndRefusals)
{
    std::string f = sample.Folder();
    struct Edit {
        const char* what;
        std::function<BOOL()> run;
        BOOL expected;
    };
    const Edit edits[] = {
        {"text file into the assembler folder", [&] { C_CUStringList l = ListOf({f + "a.txt"}); return pm->AddFiles(&l, "Application", nullptr); }, FALSE},
        {"source into the assembler folder", [&] { C_CUStringList l = ListOf({f + "extra.asm"}); return pm->AddFiles(&l, "Application", nullptr); }, TRUE},
        {"the same file again", [&] { C_CUStringList l = ListOf({f + "extra.asm"}); return pm->AddFiles(&l, "Application", nullptr); }, FALSE},
        {"any extension into Other", [&] { C_CUStringList l = ListOf({f + "data.xyz"}); return pm->AddFiles(&l, "Other", nullptr); }, TRUE},
        {"no extension into Other", [&] { C_CUStringList l = ListOf({f + "README"}); return pm->AddFiles(&l, "Other", nullptr); }, FALSE},
        {"over the folder limit", [&] { C_CUStringList l = ListOf({f + "1.wav", f + "2.wav", f + "3.wav", f + "4.wav"}); return pm->AddFiles(&l, "AudioData", nullptr); }, FALSE},
        {"up to the folder limit", [&] { C_CUStringList l = ListOf({f + "1.wav", f + "2.wav", f + "3.wav"}); return pm->AddFiles(&l, "AudioData", nullptr); }, TRUE},
        {"two target files", [&] { C_CUStringList l = ListOf({f + "a.bin", f + "b.bin"}); return pm->AddFiles(&l, "Target", nullptr); }, FALSE},
        {"one target file", [&] { C_CUStringList l = ListOf({f + "a.bin"}); return pm->AddFiles(&l, "Target", nullptr); }, TRUE},
        {"a second target file", [&] { C_CUStringList l = ListOf({f + "b.bin"}); return pm->AddFiles(&l, "Target", nullptr); }, FALSE},
        {"into the active sub-folder", [&] { C_CUStringList l = ListOf({f + "x1.bmp", f + "x2.bmp", f + "x3.bmp"}); return pm->AddFiles(&l, "GraphicData", nullptr); }, TRUE},
        {"over the sub-folder limit", [&] { C_CUStringList l = ListOf({f + "x4.bmp"}); return pm->AddFiles(&l, "GraphicData", "Icons"); }, FALSE},
        {"into another sub-folder", [&] { C_CUStringList l = ListOf({f + "x4.bmp"}); return pm->AddFiles(&l, "GraphicData", "Main"); }, TRUE},
        {"into an unknown sub-folder", [&] { C_CUStringList l = ListOf({f + "x5.bmp"}); return pm->AddFiles(&l, "GraphicData", "Nope"); }, FALSE},
        {"a new file by index", [&] { C_CUStringList l = ListOf({f + "new.inc"}); return pm->AddNewFile(&l, 0, -1); }, TRUE},
        {"a root file", [&] { C_CUStringList l = ListOf({f + "loose.doc"}); return pm->AddFiles(&l, "", nullptr); }, TRUE},
        {"a duplicate sub-folder name", [&] { return pm->AddSubFolder("GraphicData", "icons"); }, FALSE},
        {"a sub-folder where none may be", [&] { return pm->AddSubFolder("Application", "Sub"); }, FALSE},
        {"a new sub-folder", [&] { return pm->AddSubFolder("GraphicData", "Extra"); }, TRUE},
        {"rename onto an existing name", [&] { return pm->RenameSubFolder("GraphicData", "Extra", "Icons"); }, FALSE},
        {"rename the fixed sub-folder", [&] { return pm->RenameSubFolder("GraphicData", "Main", "Other"); }, FALSE},
        {"rename", [&] { return pm->RenameSubFolder("GraphicData", "Extra", "Spare"); }, TRUE},
        {"delete the fixed sub-folder", [&] { return pm->DeleteSubFolder("GraphicData", "Main"); }, FALSE},
        {"activate", [&] { return pm->SetActiveSubFolder("GraphicData", "Spare"); }, TRUE},
        {"a file into it", [&] { C_CUStringList l = ListOf({f + "s.bmp"}); return pm->AddFiles(&l, "GraphicData", nullptr); }, TRUE},
        {"saved with it", [&] { return pm->SaveProject(nullptr); }, TRUE},
        {"delete", [&] { return pm->DeleteSubFolder("GraphicData", "Spare"); }, TRUE},
        {"remove a file", [&] { C_CUStringList l = ListOf({f + "extra.asm"}); return pm->RemoveFiles(&l, 0, -1); }, TRUE},
        {"remove it again", [&] { C_CUStringList l = ListOf({f + "extra.asm"}); return pm->RemoveFiles(&l, 0, -1); }, FALSE},
        {"unknown folder", [&] { C_CUStringList l = ListOf({f + "z.asm"}); return pm->AddFiles(&l, "Nowhere", nullptr); }, FALSE},
    };
    for (const Edit& e : edits)
        EXPECT_EQ(e.expected, e.run()) << e.what;
    // Each accepted addition asked the owner to mark the project modified.
    EXPECT_EQ(9, owner.CountRequests(PM_REQUEST_MODIFIED));
    I_PMFolder* graphic = FolderNamed(pm.mgr, "GraphicData");
    EXPECT_EQ(0, graphic->GetActiveSubFolder());
    EXPECT_EQ(std::vector<std::string>({"icon.bmp", "x1.bmp", "x2.bmp", "x3.bmp"}), Names(Items(graphic->GetSubFolder(1))));
    EXPECT_FALSE(graphic->CheckCapacity(1, 1));
    EXPECT_TRUE(graphic->CheckCapacity(1, 0));

    // The edits survive a save and a fresh open; a deleted sub-folder leaves nothing behind.
    ASSERT_TRUE(pm->SaveProject(nullptr));
    char sections[8192] = {0};
    GetPrivateProfileSectionNamesA(sections, sizeof(sections), sample.Project().c_str());
    for (const char* n = sections; *n; n += strlen(n) + 1)
        EXPECT_EQ(nullptr, strstr(n, "Spare")) << n;
    Component again(owner.hwnd);
    ASSERT_TRUE(again->OpenProject(sample.Project().c_str()));
    EXPECT_EQ(std::vector<std::string>({"x4.bmp"}), Names(Items(FolderNamed(again.mgr, "GraphicData")->GetSubFolder(0))));
    EXPECT_EQ(std::vector<std::string>({"main.asm", "sound.asm", "defs.inc", "new.inc"}),
              Names(Items(FolderNamed(again.mgr, "Application")->GetFiles())));
    EXPECT_EQ(std::vector<std::string>({"notes.txt", "loose.doc"}), Names(Items(again->GetProjectTree()->GetRootFiles())));
}

TEST(ProjectMgr, CreateOpenSaveCloseAndCopies)
{
    SampleCopy sample;
    OwnerWindow owner;
    Component pm(owner.hwnd);
    std::string folder = sample.dir.Path() + "\\made\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    vt::WriteFileBytes(folder + "Made.wbi", "");   // the New Project dialog leaves an empty file
    ASSERT_TRUE(pm->CreateProject(folder.c_str(), "Made", "KQ83-L48", 65537));
    ASSERT_TRUE(pm->GetProjectTree() != nullptr);
    EXPECT_STREQ("KQ83-L48", pm->GetProject()->GetPartNumber());
    EXPECT_EQ("1", ReadKey(folder + "Made.wbi", "Project", "SubType"));
    EXPECT_TRUE(pm->CloseProject(TRUE, nullptr));
    EXPECT_TRUE(pm->GetProjectTree() == nullptr);
    EXPECT_STREQ("", pm->GetProject()->GetPartNumber());

    // Saving keeps the IDE's keys.
    ASSERT_TRUE(pm->OpenProject(sample.Project().c_str()));
    ASSERT_TRUE(pm->SaveProject(nullptr));
    EXPECT_EQ("2.00", ReadKey(sample.Project(), "VeltaneTool", "Version"));
    EXPECT_EQ("1", ReadKey(sample.Project(), "VeltaneTool", "HASSYSDISK"));
    EXPECT_EQ("Sample.log", ReadKey(sample.Project(), "Project", "MessageDump"));

    // Duplicate: the project and its files in another folder.
    std::string dup = sample.dir.Path() + "\\dup\\";
    EXPECT_FALSE(pm->DuplicateProject(sample.Folder().c_str()));
    ASSERT_TRUE(pm->DuplicateProject(dup.c_str()));
    for (const char* file : {"Sample.wbi", "main.asm", "defs.inc", "tone.wav", "voice.sil", "icon.bmp", "notes.txt"})
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dup + file).c_str())) << file;
    EXPECT_EQ("Sample.log", ReadKey(dup + "Sample.wbi", "Project", "MessageDump"));

    // Save as template: the IDE's ".wbi.wbt" name becomes ".wbt".
    std::string tfolder = sample.dir.Path() + "\\tmpl\\";
    CreateDirectoryA(tfolder.c_str(), nullptr);
    ASSERT_TRUE(pm->SaveAsTemplate((tfolder + "Mine.wbi.wbt").c_str(), 1, 1, 0));
    std::string wbt = tfolder + "Mine.wbt";
    EXPECT_EQ("KV61A", ReadKey(wbt, "Project", "BodyName"));
    EXPECT_EQ("1", ReadKey(wbt, "Project", "ProjectType"));
    EXPECT_EQ("0", ReadKey(wbt, "Project", "ProjectSubType"));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((tfolder + "main.asm").c_str()));

    // Create from a template: its files come along, the template keys do not.
    std::string nfolder = sample.dir.Path() + "\\fromtmpl\\";
    ASSERT_TRUE(pm->CreateFromTemplate(nfolder.c_str(), "Fresh", "KV61B-S28", 1, sample.Fixture("Sample.wbt").c_str()));
    EXPECT_STREQ("KV61B-S28", pm->GetProject()->GetPartNumber());
    EXPECT_EQ(std::vector<std::string>({nfolder + "template.asm"}),
              Items(FolderNamed(pm.mgr, "Application")->GetFiles()));
    EXPECT_EQ("", ReadKey(nfolder + "Fresh.wbi", "Project", "BodyName"));
    EXPECT_EQ("Fresh", ReadKey(nfolder + "Fresh.wbi", "Project", "OutputName"));
}

TEST(ProjectMgr, LanguagesPartNumbersAndTools)
{
    SampleCopy sample;
    Component pm(nullptr);
    I_PMLanguage* asmLanguage = pm->GetLanguage("x\\a.ASM");
    ASSERT_TRUE(asmLanguage != nullptr);
    EXPECT_TRUE(asmLanguage == pm->GetLanguage("b.inc"));
    EXPECT_TRUE(pm->GetLanguage("notes.txt") == nullptr);
    EXPECT_STREQ(";", asmLanguage->GetCommentStart1());
    int r = -1, g = -1, b = -1;
    EXPECT_EQ(3, sscanf(asmLanguage->GetQuoteColor(), "%d,%d,%d", &r, &g, &b));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(asmLanguage->GetKeywordFile()));

    // The part numbers are those of "ChipInfo.cfg".
    C_CUStringList kind1;
    ASSERT_TRUE(pm->GetPartNumbersOfKind(1, &kind1));
    std::string chipCfg = vt::ProgramFolder() + "ChipInfo.cfg";
    std::vector<std::string> listed;
    for (const char* chip : {"KV61A", "KV61B", "KQ83"}) {
        std::string parts = ReadKey(chipCfg, chip, "PartNumbers");
        for (char& c : parts)
            c = c == ';' ? ',' : c;
        size_t at = 0;
        while (at <= parts.size()) {
            size_t end = parts.find(',', at);
            listed.push_back(parts.substr(at, end == std::string::npos ? std::string::npos : end - at));
            at = end == std::string::npos ? parts.size() + 1 : end + 1;
        }
    }
    EXPECT_EQ(listed, Items(&kind1));
    C_CUStringList none;
    EXPECT_FALSE(pm->GetPartNumbersOfKind(3, &none));
    EXPECT_EQ(0, none.GetCount());

    // Default tools only with a project; every tool is a program that exists.
    char list[PM_TOOL_TEXT_SIZE], section[PM_TOOL_TEXT_SIZE];
    EXPECT_FALSE(pm->GetDefaultTool(list, section));
    ASSERT_TRUE(pm->OpenProject(sample.Project().c_str()));
    ASSERT_TRUE(pm->GetDefaultTool(list, section));
    std::string first = ReadKey(list, section, "DefaultTool1");
    ASSERT_FALSE(first.empty());
    for (int i = 1;; ++i) {
        std::string tool = ReadKey(list, section, ("DefaultTool" + std::to_string(i)).c_str());
        if (tool.empty())
            break;
        std::string program = tool.substr(0, tool.find(','));
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(program.c_str())) << program;
    }
}

TEST_F(SampleOpen, FileObjectsFromDirectives)
{
    std::string main = sample.Folder() + "main.asm";
    C_CUStringList included, embedded;
    ASSERT_TRUE(pm->GetIncludedFiles(main.c_str(), &included));
    EXPECT_EQ(std::vector<std::string>({sample.Folder() + "defs.inc"}), Items(&included));
    ASSERT_TRUE(pm->GetEmbeddedFiles(main.c_str(), &embedded));
    EXPECT_EQ(std::vector<std::string>({"tone.wav", "logo.bmp", "voice.sil"}), Names(Items(&embedded)));
    EXPECT_TRUE(pm->CanCompile(main.c_str()));
    EXPECT_FALSE(pm->CanCompile((sample.Folder() + "tone.wav").c_str()));
    EXPECT_TRUE(pm->IsProjectFile((sample.Folder() + "DEFS.INC").c_str()));
    EXPECT_FALSE(pm->IsProjectFile((sample.Folder() + "other.asm").c_str()));

    ASSERT_TRUE(pm->ReloadFileInfo());
    I_PMFileObjects* objects = pm->GetFileObjects();
    ASSERT_TRUE(objects != nullptr);
    I_PMSourceFile* tone = objects->GetSourceFile((sample.Folder() + "tone.wav").c_str());
    ASSERT_TRUE(tone != nullptr);
    tagPMReference* ref = nullptr;
    ASSERT_TRUE(tone->GetReferences()->GetAt(0, &ref, nullptr));
    EXPECT_EQ(main, ref->file);
    EXPECT_STREQ("main.asm", ref->text);
    EXPECT_EQ(3, ref->line);
    EXPECT_TRUE(objects->GetSourceFile(main.c_str()) == nullptr);

    I_PMEquationSet* equations = objects->GetEquations(main.c_str());
    ASSERT_TRUE(equations != nullptr);
    ASSERT_EQ(1, equations->GetElements()->GetCount());
    I_PMEquation* beep = nullptr;
    ASSERT_TRUE(equations->GetElements()->GetAt(0, &beep, nullptr));
    EXPECT_STREQ("Beep", beep->GetName());
    ASSERT_EQ(1, beep->GetReferences()->GetCount());
    ASSERT_TRUE(beep->GetReferences()->GetAt(0, &ref, nullptr));
    EXPECT_EQ(13, ref->line);
    EXPECT_TRUE(objects->GetEquations((sample.Folder() + "sound.asm").c_str()) == nullptr);
}

TEST_F(SampleOpen, BuildOnWorkerThreadAndItsOutputs)
{
    EXPECT_TRUE(pm->IsReadyToBuild());
    int page = -1;
    EXPECT_TRUE(pm->AreSettingsComplete(&page));
    EXPECT_TRUE(pm->IsBuildNeeded());
    WORD flags = 0;
    EXPECT_FALSE(pm->PrepareDownload(&flags, 0));   // nothing built yet

    // Records arrive while the UI thread reads the project, as the IDE's frame does.
    owner.onRecord = [&](const tagMessageRecord& r) {
        EXPECT_STREQ("KV61A-S28", pm->GetProject()->GetPartNumber());
        tagMessageRecord copy = r;
        pm->AcceptOutputRecord(&copy);
    };
    ASSERT_TRUE(RunOnWorker([&] { return pm->Build(FALSE); }));
    EXPECT_TRUE(owner.HasText("Compiling main.asm..."));
    EXPECT_TRUE(owner.HasText("Compiling sound.asm..."));
    EXPECT_TRUE(owner.HasText("Sample.obj - 0 error(s), 1 warning(s)"));
    EXPECT_TRUE(owner.Records(CU_REC_ERROR).empty());
    std::vector<tagMessageRecord> warnings = owner.Records(CU_REC_WARNING);
    ASSERT_EQ(1u, warnings.size());
    EXPECT_EQ(sample.Folder() + "main.asm", warnings[0].fileName);
    EXPECT_EQ(18, warnings[0].line);
    EXPECT_STREQ("warning: label 'spare' is never used", warnings[0].text);

    // The outputs under their names.
    char out[PM_PATH_SIZE], second[PM_PATH_SIZE], part[PM_PATH_SIZE];
    ASSERT_TRUE(pm->GetOutputFile(out));
    ASSERT_TRUE(pm->GetSecondOutputFile(second));
    std::string base = sample.Folder() + "Debug\\Sample";
    EXPECT_EQ(base + ".obj", out);
    EXPECT_EQ(base + ".os2", second);
    for (const char* suffix : {".obj", ".os2", ".map", ".lst", "_user.fsf", "_sys.fsf"})
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((base + suffix).c_str())) << suffix;
    EXPECT_EQ(std::vector<std::string>({base + ".lst"}), TwoCall([&](char* b) { return pm->GetReportFiles(b); }));
    ASSERT_TRUE(pm->CheckObjFile(out, part));
    EXPECT_STREQ("KV61A-S28", part);
    EXPECT_FALSE(pm->CheckObjFile((sample.Folder() + "main.asm").c_str(), part));

    // The object runs on the toy CPU.
    toy::ObjectFile code, data;
    ASSERT_TRUE(toy::ReadObjectFile(out, code));
    ASSERT_TRUE(toy::ReadObjectFile(second, data));
    toy::Cpu cpu;
    cpu.Load(code.segments);
    cpu.Load(data.segments);
    cpu.Run(1000);
    EXPECT_TRUE(cpu.halted);
    EXPECT_EQ(0x34, cpu.ram[0x10]);
    EXPECT_EQ(0, cpu.io[1]);

    EXPECT_EQ(0xFu, pm->GetBuiltObjectCount());
    ASSERT_TRUE(pm->PrepareDownload(&flags, 0));
    EXPECT_EQ(0xFFFF, flags);
    ASSERT_TRUE(pm->PrepareDownload(&flags, 0x3));
    EXPECT_EQ(0xC, flags);
    ASSERT_TRUE(pm->PrepareDownload(&flags, 0xF));
    EXPECT_EQ(0, flags);

    // File times decide whether a build is needed; an unchanged rebuild changes no part.
    EXPECT_FALSE(pm->IsBuildNeeded());
    Sleep(20);
    HANDLE h = CreateFileA((sample.Folder() + "defs.inc").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME later;
    GetSystemTimeAsFileTime(&later);
    ULARGE_INTEGER t;
    t.LowPart = later.dwLowDateTime;
    t.HighPart = later.dwHighDateTime;
    t.QuadPart += 10000000ULL * 60;
    later.dwLowDateTime = t.LowPart;
    later.dwHighDateTime = t.HighPart;
    SetFileTime(h, nullptr, nullptr, &later);
    CloseHandle(h);
    EXPECT_TRUE(pm->IsBuildNeeded());
    owner.sent.clear();
    ASSERT_TRUE(RunOnWorker([&] { return pm->Build(FALSE); }));
    EXPECT_EQ(0u, pm->GetBuiltObjectCount());

    // Clean deletes the outputs.
    ASSERT_TRUE(pm->Clean(3));
    for (const char* suffix : {".obj", ".os2", ".map", ".lst", "_user.fsf", "_sys.fsf"})
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((base + suffix).c_str())) << suffix;
    EXPECT_EQ(0, pm->GetReportFiles(nullptr));
}

TEST(ProjectMgr, ExtraReportFilesSwitch)
{
    // A copy of the component whose configuration asks for 20 more report files per build.
    vt::TempDir dir;
    std::string dll = dir.File(PROJECTMGR_DLL_NAME);
    ASSERT_TRUE(CopyFileA((vt::ProgramFolder() + PROJECTMGR_DLL_NAME).c_str(), dll.c_str(), FALSE));
    vt::WriteFileBytes(dir.File("VeltaneProjectMgr.ini"), "[Testing]\r\nExtraReportFiles=20\r\n");
    SampleCopy sample;
    OwnerWindow owner;
    Component pm(owner.hwnd, dll);
    ASSERT_TRUE(pm->OpenProject(sample.Project().c_str()));
    ASSERT_TRUE(RunOnWorker([&] { return pm->Build(TRUE); }));
    std::vector<std::string> reports = TwoCall([&](char* b) { return pm->GetReportFiles(b); });
    ASSERT_EQ(21u, reports.size());
    std::string base = sample.Folder() + "Debug\\Sample";
    EXPECT_EQ(base + ".lst", reports[0]);
    EXPECT_EQ(base + "_report01.txt", reports[1]);
    EXPECT_EQ(base + "_report20.txt", reports[20]);
    for (const std::string& r : reports)
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(r.c_str())) << r;
    // A report file deleted since the build is no longer named.
    ASSERT_TRUE(DeleteFileA(reports[5].c_str()));
    EXPECT_EQ(20u, TwoCall([&](char* b) { return pm->GetReportFiles(b); }).size());
}

TEST(ProjectMgr, CompileReportsErrorsWithFilesAndLines)
{
    SampleCopy sample;
    OwnerWindow owner;
    Component pm(owner.hwnd);
    ASSERT_TRUE(pm->OpenProject(sample.Fixture("Broken.wbi").c_str()));
    std::string broken = sample.Folder() + "fixtures\\broken.asm";
    ASSERT_FALSE(RunOnWorker([&] { return pm->Compile("Application", broken.c_str()); }));
    std::vector<tagMessageRecord> errors = owner.Records(CU_REC_ERROR);
    ASSERT_EQ(2u, errors.size());
    EXPECT_EQ(broken, errors[0].fileName);
    EXPECT_EQ(3, errors[0].line);
    EXPECT_STREQ("error: unknown mnemonic 'FROB'", errors[0].text);
    EXPECT_EQ(4, errors[1].line);
    EXPECT_STREQ("error: undefined label 'nowhere'", errors[1].text);
    EXPECT_TRUE(owner.HasText("broken.asm - 2 error(s), 0 warning(s)"));

    // A failed build writes no output; the maximum of errors drops further records.
    owner.sent.clear();
    int accepted = 0;
    owner.onRecord = [&](const tagMessageRecord& r) {
        tagMessageRecord copy = r;
        accepted += r.kind == CU_REC_ERROR && pm->AcceptOutputRecord(&copy) ? 1 : 0;
    };
    I_PMProjectOptions* options = pm->GetProject()->GetOptions();
    options->SetMaxErrors(1);
    ASSERT_TRUE(pm->ApplyOptions(options));
    options->Release();
    ASSERT_TRUE(pm->EndSettingsEdit(TRUE));
    ASSERT_FALSE(RunOnWorker([&] { return pm->Build(TRUE); }));
    EXPECT_EQ(2u, owner.Records(CU_REC_ERROR).size());
    EXPECT_EQ(1, accepted);
    char out[PM_PATH_SIZE];
    ASSERT_TRUE(pm->GetOutputFile(out));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(out));
}

TEST(ProjectMgr, StopBuildInTheMiddle)
{
    SampleCopy sample;
    std::string big;
    for (int i = 0; i < 20000; ++i)
        big += "        NOP\r\n";
    big += "        HALT\r\n";
    vt::WriteFileBytes(sample.Folder() + "fixtures\\broken.asm", big);
    OwnerWindow owner;
    Component pm(owner.hwnd);
    ASSERT_TRUE(pm->OpenProject(sample.Fixture("Broken.wbi").c_str()));
    // Stop from the UI thread while the worker waits in its first record: the worker is
    // inside the build, the flag alone must end it.
    owner.onRecord = [&](const tagMessageRecord& r) {
        if (std::string(r.text) == "Compiling broken.asm...")
            pm->StopBuild();
    };
    EXPECT_FALSE(RunOnWorker([&] { return pm->Build(TRUE); }));
    EXPECT_TRUE(owner.HasText("Build stopped."));
    EXPECT_FALSE(owner.HasText("Compiling later.asm..."));
    char out[PM_PATH_SIZE];
    ASSERT_TRUE(pm->GetOutputFile(out));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(out));

    // The next build starts with the flag cleared.
    owner.onRecord = nullptr;
    owner.sent.clear();
    EXPECT_TRUE(RunOnWorker([&] { return pm->Build(TRUE); }));
    EXPECT_TRUE(owner.HasText("Compiling later.asm..."));
}

TEST(ProjectMgr, WindowlessBuildWritesZideMsg)
{
    SampleCopy sample;
    CurrentFolder current(sample.dir.Path());
    std::string msgFile = sample.dir.File("ZideMsg.txt");
    {
        Component pm(nullptr);
        ASSERT_TRUE(pm->OpenProject(sample.Project().c_str()));
        ASSERT_TRUE(pm->Build(TRUE));
        std::string first = vt::ReadFileBytes(msgFile);
        EXPECT_NE(std::string::npos, first.find("Compiling main.asm...\r\n"));
        EXPECT_NE(std::string::npos,
                  first.find(sample.Folder() + "main.asm(18): warning: label 'spare' is never used\r\n"));
        EXPECT_NE(std::string::npos, first.find("Sample.obj - 0 error(s), 1 warning(s)\r\n"));
        ASSERT_TRUE(pm->Build(TRUE));
        EXPECT_EQ(first, vt::ReadFileBytes(msgFile));   // afresh, not appended
    }
}

TEST_F(SampleOpen, RequestsToTheOwner)
{
    std::string wav = sample.Folder() + "tone.wav";
    EXPECT_FALSE(pm->RunFileAction("Resource", wav.c_str(), 0));   // preview changes nothing
    EXPECT_TRUE(pm->RunFileAction("Resource", wav.c_str(), 1));
    EXPECT_FALSE(pm->RunFileAction("Resource", wav.c_str(), 2));
    EXPECT_FALSE(pm->RunFileAction("Application", wav.c_str(), 0));
    ASSERT_EQ(2u, owner.sent.size());
    EXPECT_EQ(static_cast<WPARAM>(PM_REQUEST_PREVIEW), owner.sent[0].code);
    EXPECT_EQ(wav, owner.sent[0].path);
    EXPECT_EQ(static_cast<WPARAM>(PM_REQUEST_EDIT_RESOURCE), owner.sent[1].code);
    EXPECT_EQ(wav, owner.sent[1].path);

    I_PMProjectOptions* options = pm->GetProject()->GetOptions();
    EXPECT_TRUE(pm->ApplyOptions(options));
    options->Release();
    EXPECT_EQ(1, owner.CountRequests(PM_REQUEST_APPLY_SYNTAX));
    pm->EndSettingsEdit(FALSE);

    // Folder actions: a sub-folder's list handed back to be opened, and a sort.
    C_CUStringList open;
    ASSERT_TRUE(pm->RunFolderAction("GraphicData", "Icons", 0, &open));
    ASSERT_EQ(1, open.GetCount());
    EXPECT_NE(std::string::npos, vt::ReadFileBytes(open.GetAt(0)).find("icon.bmp"));
    EXPECT_TRUE(pm->RunFolderAction("GraphicData", nullptr, 0, nullptr));
    EXPECT_FALSE(pm->RunFolderAction("Application", nullptr, 0, nullptr));
    EXPECT_EQ(1, owner.CountRequests(PM_REQUEST_MODIFIED));
}

TEST(ProjectMgr, OptionsAndTheExtraPage)
{
    SampleCopy sample;
    OwnerWindow owner;
    Component pm(owner.hwnd);
    ASSERT_TRUE(pm->OpenProject(sample.Fixture("NoDevice.wbi").c_str()));
    int page = -1;
    EXPECT_FALSE(pm->AreSettingsComplete(&page));
    EXPECT_EQ(0, page);
    EXPECT_TRUE(pm->IsReadyToBuild());
    EXPECT_FALSE(pm->SetChip("XX99"));

    I_PMProjectOptions* options = pm->GetProject()->GetOptions();
    EXPECT_STREQ("NoDevice", options->GetOutputName());
    options->SetMaxErrors(0);
    options->SetMaxWarnings(-5);
    EXPECT_EQ(1, options->GetMaxErrors());
    EXPECT_EQ(1, options->GetMaxWarnings());
    options->SetOutputName("bad.name");
    EXPECT_STREQ("NoDevice", options->GetOutputName());
    options->SetOutputName("Renamed");
    options->SetBuildTargetIndex(1);
    options->SetAutoSave(FALSE);

    ASSERT_EQ(1, pm->GetExtraOptionPageCount());
    HWND pages[1] = {nullptr};
    char labels[PM_PAGE_LABEL_SIZE * 1];
    ASSERT_TRUE(pm->CreateExtraOptionPage(owner.hwnd, pages, labels));
    EXPECT_STREQ("Device", labels);
    ASSERT_TRUE(IsWindow(pages[0]));
    EXPECT_EQ(0, SendMessageA(pages[0], PM_WM_OPTION_PAGE, 0, 0));   // the edit is empty
    SetDlgItemTextA(pages[0], 1001, "12");
    EXPECT_EQ(1, SendMessageA(pages[0], PM_WM_OPTION_PAGE, 0, 0));
    ASSERT_TRUE(pm->ApplyOptions(options));
    options->Release();
    DestroyWindow(pages[0]);

    // Nothing changes until the edit is committed; a rolled-back edit changes nothing.
    EXPECT_TRUE(pm->GetProject()->GetSaveWithoutAsking());
    EXPECT_FALSE(pm->AreSettingsComplete(&page));
    ASSERT_TRUE(pm->EndSettingsEdit(TRUE));
    EXPECT_TRUE(pm->AreSettingsComplete(&page));
    EXPECT_FALSE(pm->GetProject()->GetSaveWithoutAsking());
    char out[PM_PATH_SIZE];
    ASSERT_TRUE(pm->GetOutputFile(out));
    EXPECT_EQ(sample.Folder() + "fixtures\\Release\\Renamed.obj", out);
    ASSERT_TRUE(pm->SetChip("KQ83-L64"));
    ASSERT_TRUE(pm->EndSettingsEdit(FALSE));
    EXPECT_STREQ("KQ83-L48", pm->GetProject()->GetPartNumber());
}

TEST(ProjectMgr, TestingKeysForPagesAndTargets)
{
    struct Case {
        const char* ini;
        int pages;
        const char* labels;
        std::vector<std::string> targets;
    };
    const Case cases[] = {
        {"", 1, "Device", {"Debug,Release"}},
        {"[Testing]\r\nExtraOptionPages=0\r\n", 0, "", {"Debug,Release"}},
        {"[Testing]\r\nExtraOptionPages=2\r\nSingleBuildTarget=1\r\n", 2, "Device,Memory", {"Debug"}},
    };
    for (const Case& c : cases) {
        vt::TempDir dir;
        std::string dll = dir.File(PROJECTMGR_DLL_NAME);
        ASSERT_TRUE(CopyFileA((vt::ProgramFolder() + PROJECTMGR_DLL_NAME).c_str(), dll.c_str(), FALSE));
        vt::WriteFileBytes(dir.File("VeltaneProjectMgr.ini"), c.ini);
        SampleCopy sample;
        OwnerWindow owner;
        Component pm(owner.hwnd, dll);
        ASSERT_TRUE(pm->OpenProject(sample.Project().c_str()));
        EXPECT_EQ(c.targets, TwoCall([&](char* b) { return pm->GetBuildTargets(b); })) << c.ini;
        ASSERT_EQ(c.pages, pm->GetExtraOptionPageCount()) << c.ini;
        if (c.pages == 0)
            continue;
        HWND pages[2] = {nullptr, nullptr};
        char labels[PM_PAGE_LABEL_SIZE * 2] = "";
        ASSERT_TRUE(pm->CreateExtraOptionPage(owner.hwnd, pages, labels));
        EXPECT_STREQ(c.labels, labels);
        for (int k = 0; k < c.pages; ++k)
            EXPECT_TRUE(IsWindow(pages[k])) << k;
        if (c.pages == 2)
            EXPECT_EQ(1, SendMessageA(pages[1], PM_WM_OPTION_PAGE, 0, 0));
        for (HWND h : pages)
            if (h)
                DestroyWindow(h);
    }
}

TEST(ProjectMgr, WizardsAndTheFileActionRecord)
{
    // A copy of the component with its trace switched on.
    vt::TempDir dir;
    std::string dll = dir.File(PROJECTMGR_DLL_NAME);
    ASSERT_TRUE(CopyFileA((vt::ProgramFolder() + PROJECTMGR_DLL_NAME).c_str(), dll.c_str(), FALSE));
    vt::WriteFileBytes(dir.File("VeltaneProjectMgr.ini"), "[Trace]\r\nEnable=1\r\nFile=trace.log\r\n");
    SampleCopy sample;
    OwnerWindow owner;
    Component pm(owner.hwnd, dll);
    EXPECT_FALSE(pm->IsWizardAvailable(1));
    ASSERT_TRUE(pm->OpenProject(sample.Project().c_str()));
    for (DWORD kind : {1u, 2u, 4u})
        EXPECT_TRUE(pm->IsWizardAvailable(kind)) << kind;
    EXPECT_FALSE(pm->IsWizardAvailable(3));

    std::string folder = "Resource", file = sample.Folder() + "tone.wav";
    tagPMFileActionRecord record = {0x1234, 39002, reinterpret_cast<UINT_PTR>(folder.c_str()),
                                    reinterpret_cast<UINT_PTR>(file.c_str()), 1};
    EXPECT_TRUE(pm->RunWizard(3, &record, sizeof(record)));
    EXPECT_FALSE(pm->RunWizard(3, &record, 12));
    std::string trace = vt::ReadFileBytes(dir.File("trace.log"));
    EXPECT_NE(std::string::npos, trace.find("FileActionEntry command=39002 folder=Resource file=" + file + " action=1"));
    EXPECT_NE(std::string::npos, trace.find("OpenProject " + sample.Project()));

    // Wizard 1: a one-field dialog that writes its key when confirmed.
    vt::ModalAnswerer answerer(IDOK);
    EXPECT_TRUE(pm->RunWizard(1, nullptr, 0));
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Scriptlane Property Setting", answerer.Last().caption);
    answerer.SetDefault(IDCANCEL);
    EXPECT_FALSE(pm->RunWizard(4, nullptr, 0));
    EXPECT_EQ("", ReadKey(sample.Project(), "Wizards", "PinMap"));

    Component plain(owner.hwnd);
    ASSERT_TRUE(plain->OpenProject(sample.Fixture("NoDevice.wbi").c_str()));
    EXPECT_FALSE(plain->IsWizardAvailable(1));   // script mode is not 2
    EXPECT_TRUE(plain->IsWizardAvailable(2));
}

TEST_F(SampleOpen, ProjectAroundAnObjectFile)
{
    ASSERT_TRUE(RunOnWorker([&] { return pm->Build(TRUE); }));
    std::string obj = sample.Folder() + "Debug\\Sample.obj";
    ASSERT_TRUE(pm->CloseProject(FALSE, nullptr));
    EXPECT_FALSE(pm->CreateObjProject((sample.Folder() + "main.asm").c_str(), "KV61A-S28"));
    ASSERT_TRUE(pm->CreateObjProject(obj.c_str(), "KV61A-S28"));
    EXPECT_EQ(4u, pm->GetProject()->GetProjectKind());
    EXPECT_EQ(4u, pm->GetProjectTree()->GetProjectKind());
    char out[PM_PATH_SIZE], second[PM_PATH_SIZE];
    ASSERT_TRUE(pm->GetOutputFile(out));
    ASSERT_TRUE(pm->GetSecondOutputFile(second));
    EXPECT_EQ(obj, out);
    EXPECT_EQ(sample.Folder() + "Debug\\Sample.os2", second);
    EXPECT_FALSE(RunOnWorker([&] { return pm->Build(FALSE); }));
    EXPECT_FALSE(pm->IsWizardAvailable(2));
}

} // namespace
