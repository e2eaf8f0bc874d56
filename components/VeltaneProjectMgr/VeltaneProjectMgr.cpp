// Stand-in project-manager component: keeps a project file of its own format beside the IDE's
// keys, builds the sources with the toy assembler and reports through output records.
// Configuration: "VeltaneProjectMgr.ini" beside the DLL ([Trace], [PartNumbers], [DefaultTool],
// [Language], [Testing]: "ExtraReportFiles", "ExtraOptionPages", "SingleBuildTarget").
#include "components/VeltaneProjectMgr/PmModel.h"
#include "components/VeltaneProjectMgr/resource.h"
#include "components/ToyTarget/ToyTarget.h"
#include "components/StandinTrace.h"
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <deque>
#include <map>

namespace pm {
namespace {

HINSTANCE g_module = nullptr;
HWND g_owner = nullptr;
std::string g_programFolder;   // the DLL's folder, with its trailing backslash
std::string g_configFile;
CRITICAL_SECTION g_traceLock;
bool g_traceOn = false;
std::string g_traceFile;

const char kConfigName[] = "VeltaneProjectMgr.ini";
const DWORD kAllParts = 0x000F;   // bit 0 object, 1 second output, 2 user image, 3 system image

std::string ConfigValue(const char* section, const char* key, const char* def = "")
{
    char buf[1024] = {0};
    GetPrivateProfileStringA(section, key, def, buf, sizeof(buf), g_configFile.c_str());
    return buf;
}

void ReadConfig()
{
    g_traceOn = GetPrivateProfileIntA("Trace", "Enable", 0, g_configFile.c_str()) != 0;
    std::string file = ConfigValue("Trace", "File", "ProjectMgrTrace.log");
    g_traceFile = file.find(':') == std::string::npos ? g_programFolder + file : file;
}

// "ExtraOptionPages" of [Testing]: 0, 1 (the default: "Device") or 2 ("Device" and "Memory").
int ExtraPageCount()
{
    int n = static_cast<int>(GetPrivateProfileIntA("Testing", "ExtraOptionPages", 1, g_configFile.c_str()));
    return n < 0 ? 0 : (n > 2 ? 2 : n);
}

// One line per call into the component, when the configuration switches it on.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Trace(const char* format, ...)
{
    if (!g_traceOn)
        return;
    char buf[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(buf, sizeof(buf), format, args);
    va_end(args);
    EnterCriticalSection(&g_traceLock);
    standin::AppendLine(g_traceFile, buf);
    LeaveCriticalSection(&g_traceLock);
}

const char* Str(const char* s)
{
    return s ? s : "(null)";
}

std::vector<std::string> SplitFields(const std::string& text)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : text + ",") {
        if (c == ',' || c == ';') {
            size_t b = cur.find_first_not_of(" \t");
            size_t e = cur.find_last_not_of(" \t");
            if (b != std::string::npos)
                out.push_back(cur.substr(b, e - b + 1));
            cur.clear();
        } else {
            cur += c;
        }
    }
    return out;
}

std::vector<std::string> ReadList(I_CUStringList* list)
{
    std::vector<std::string> out;
    if (!list)
        return out;
    for (int i = 0; i < list->GetCount(); ++i) {
        const char* s = list->GetAt(i);
        if (s && *s)
            out.push_back(s);
    }
    return out;
}

bool KnownPart(const std::string& part)
{
    char keys[4096] = {0};
    GetPrivateProfileSectionA("PartNumbers", keys, sizeof(keys), g_configFile.c_str());
    for (const char* p = keys; *p; p += strlen(p) + 1) {
        const char* eq = strchr(p, '=');
        if (!eq)
            continue;
        for (const std::string& n : SplitFields(eq + 1))
            if (SameText(n, part))
                return true;
    }
    return false;
}

bool GetFileTime64(const std::string& path, ULONGLONG& time)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    time = (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    return true;
}

// Every folder of the path exists afterwards (or could not be made).
void MakeFolders(const std::string& path)
{
    for (size_t i = 3; i < path.size(); ++i)
        if (path[i] == '\\' || path[i] == '/')
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}

// ---------------------------------------------------------------------------------------------

class Options final : public I_PMProjectOptions {
public:
    explicit Options(const Settings& s) : values(s) {}
    void Reserved0() override {}
    void Reserved1() override {}
    void Reserved2() override {}
    BOOL GetAutoSave() override { return values.autoSave; }
    BOOL GetAutoOpenReport() override { return values.autoOpenReport; }
    BOOL GetManualModuleSelect() override { return values.manualModuleSelect; }
    void SetAutoSave(BOOL v) override { values.autoSave = v ? TRUE : FALSE; }
    void SetAutoOpenReport(BOOL v) override { values.autoOpenReport = v ? TRUE : FALSE; }
    void SetManualModuleSelect(BOOL v) override { values.manualModuleSelect = v ? TRUE : FALSE; }
    void Reserved9() override {}
    const char* GetOutputName() override { return values.outputName.c_str(); }
    void Reserved11() override {}
    void Reserved12() override {}
    int GetBuildTargetIndex() override { return values.buildTarget; }
    int GetMaxErrors() override { return values.maxErrors; }
    int GetMaxWarnings() override { return values.maxWarnings; }
    void Reserved16() override {}
    void SetOutputName(const char* name) override
    {
        std::string n = name ? name : "";
        if (!n.empty() && n.size() < 64 && n.find_first_of("\\/:*?\"<>|.") == std::string::npos)
            values.outputName = n;
    }
    void Reserved18() override {}
    void Reserved19() override {}
    void SetBuildTargetIndex(int index) override
    {
        if (index >= 0 && index < 2)
            values.buildTarget = index;
    }
    void SetMaxErrors(int count) override { values.maxErrors = std::max(count, 1); }
    void SetMaxWarnings(int count) override { values.maxWarnings = std::max(count, 1); }
    void Reserved23() override {}
    void Reserved24() override {}
    void Reserved25() override {}
    void Reserved26() override {}
    void Reserved27() override {}
    void Reserved28() override {}
    BOOL GetAutoCheckModification() override { return values.autoCheckModification; }
    void SetAutoCheckModification(BOOL v) override { values.autoCheckModification = v ? TRUE : FALSE; }
    void Release() override
    {
        Trace("Options.Release");
        delete this;
    }

    Settings values;

private:
    ~Options() {}
};

class Language : public I_PMLanguage {
public:
    const char* GetName() override { return "ToyAsm"; }
    const char* GetKeywordFile() override { return keywordFile.c_str(); }
    const char* GetExtraChars() override { return "._"; }
    const char* GetCommentStart1() override { return ";"; }
    const char* GetCommentEnd1() override { return ""; }
    const char* GetCommentStart2() override { return ""; }
    const char* GetCommentEnd2() override { return ""; }
    DWORD IsCaseSensitive() override { return 0; }
    DWORD GetTabSize() override { return 8; }
    const char* GetQuoteColor() override { return quoteColor.c_str(); }

    std::string keywordFile;
    std::string quoteColor;
};
Language g_language;

// ---------------------------------------------------------------------------------------------
// What the sources' directives name.

struct ReferenceStore {
    std::deque<std::string> texts;
    std::deque<tagPMReference> refs;
    tagPMReference* Add(const std::string& file, int line)
    {
        texts.push_back(file);
        const char* f = texts.back().c_str();
        texts.push_back(NameOf(file));
        refs.push_back(tagPMReference{f, texts.back().c_str(), line});
        return &refs.back();
    }
};

class SourceFile : public I_PMSourceFile {
public:
    const char* GetPath() override { return path.c_str(); }
    I_CUElementList<tagPMReference*>* GetReferences() override { return &references; }
    std::string path;
    ElementList<tagPMReference*> references;
};

class EquationObject : public I_PMEquation {
public:
    const char* GetName() override { return name.c_str(); }
    I_CUElementList<tagPMReference*>* GetReferences() override { return &references; }
    std::string name;
    ElementList<tagPMReference*> references;
};

class EquationSet : public I_PMEquationSet {
public:
    const char* GetPath() override { return path.c_str(); }
    I_CUElementList<I_PMEquation*>* GetElements() override { return &elements; }
    std::string path;
    ElementList<I_PMEquation*> elements;
    std::deque<EquationObject> storage;
};

class FileObjects : public I_PMFileObjects {
public:
    I_PMSourceFile* GetSourceFile(const char* path) override
    {
        Trace("FileObjects.GetSourceFile %s", Str(path));
        for (SourceFile& s : sources)
            if (path && SameText(s.path, path))
                return &s;
        return nullptr;
    }
    I_PMEquationSet* GetEquations(const char* path) override
    {
        Trace("FileObjects.GetEquations %s", Str(path));
        for (EquationSet& e : equations)
            if (path && SameText(e.path, path))
                return &e;
        return nullptr;
    }

    void Clear()
    {
        sources.clear();
        equations.clear();
        refs = ReferenceStore();
    }

    void AddResult(const std::string& source, const toy::AssemblyResult& r)
    {
        for (const toy::Embedded& e : r.embedded) {
            SourceFile* file = nullptr;
            for (SourceFile& s : sources)
                if (SameText(s.path, e.path))
                    file = &s;
            if (!file) {
                sources.emplace_back();
                file = &sources.back();
                file->path = e.path;
            }
            for (const toy::Reference& ref : e.references)
                file->references.items.push_back(refs.Add(ref.file, ref.line));
        }
        if (r.equations.empty())
            return;
        equations.emplace_back();
        EquationSet& set = equations.back();
        set.path = source;
        for (const toy::Equation& eq : r.equations) {
            set.storage.emplace_back();
            EquationObject& obj = set.storage.back();
            obj.name = eq.name;
            for (const toy::Reference& ref : eq.references)
                obj.references.items.push_back(refs.Add(ref.file, ref.line));
            set.elements.items.push_back(&obj);
        }
    }

    std::deque<SourceFile> sources;
    std::deque<EquationSet> equations;
    ReferenceStore refs;
};

// ---------------------------------------------------------------------------------------------

class ProjectMgr;

class ProjectObject : public I_PMProject {
public:
    explicit ProjectObject(ProjectMgr& owner) : m_owner(owner) {}
    I_PMProjectOptions* GetOptions() override;
    void Reserved1() override {}
    void Reserved2() override {}
    void Reserved3() override {}
    void Reserved4() override {}
    DWORD GetIncrementalDownload() override;
    void Reserved6() override {}
    void Reserved7() override {}
    void Reserved8() override {}
    const char* GetPartNumber() override;
    void Reserved10() override {}
    void Reserved11() override {}
    DWORD GetProjectKind() override;
    void Reserved13() override {}
    void Reserved14() override {}
    void Reserved15() override {}
    void Reserved16() override {}
    void Reserved17() override {}
    void Reserved18() override {}
    void Reserved19() override {}
    void PrepareTemplateBuild(DWORD reserved) override { Trace("Project.PrepareTemplateBuild %lu", reserved); }
    BOOL GetSaveWithoutAsking() override;
    BOOL GetOpenReportsAfterBuild() override;
    BOOL GetAskBuildFirst() override;
    void Reserved24() override {}
    void Reserved25() override {}
    void Reserved26() override {}
    void Reserved27() override {}
    void Reserved28() override {}
    void Reserved29() override {}
    void Reserved30() override {}
    void Reserved31() override {}
    DWORD GetScriptMode() override;

private:
    ProjectMgr& m_owner;
};

class ProjectTree : public I_PMProjectTree {
public:
    explicit ProjectTree(Project& project) : m_project(project) {}
    const char* GetCaption() override
    {
        m_caption = "Project " + m_project.name;
        return m_caption.c_str();
    }
    void ResetFolders() override { m_next = 0; }
    I_PMFolder* GetNextFolder() override
    {
        if (m_next >= m_project.folders.size())
            return nullptr;
        return m_project.folders[m_next++].get();
    }
    I_PMFolder* GetFolder(int index) override
    {
        return index >= 0 && index < static_cast<int>(m_project.folders.size())
                   ? m_project.folders[static_cast<size_t>(index)].get()
                   : nullptr;
    }
    I_CUStringList* GetRootFiles() override { return &m_project.rootFiles; }
    BOOL GetRootFilePath(int index, char* buffer) override
    {
        const std::vector<std::string>& items = m_project.rootFiles.items;
        if (index < 0 || index >= static_cast<int>(items.size()))
            return FALSE;
        return CopyText(buffer, PM_PATH_SIZE, items[static_cast<size_t>(index)]) ? TRUE : FALSE;
    }
    DWORD GetProjectKind() override { return m_project.settings.kind; }

private:
    Project& m_project;
    size_t m_next = 0;
    std::string m_caption;
};

struct WizardInfo {
    DWORD kind;
    const char* caption;
    const char* prompt;
    const char* key;
};
const WizardInfo kWizards[] = {
    {1, "Scriptlane Property Setting", "Script &name:", "ScriptName"},
    {2, "Synthesis Library Property Setting", "Sample &rate:", "SampleRate"},
    {4, "Pinweave Property Setting", "&Pin map:", "PinMap"},
};

struct WizardDialogData {
    const WizardInfo* info;
    std::string value;
};

INT_PTR CALLBACK WizardProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WizardDialogData* data = reinterpret_cast<WizardDialogData*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        data = reinterpret_cast<WizardDialogData*>(lParam);
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        SetWindowTextA(hwnd, data->info->caption);
        SetDlgItemTextA(hwnd, IDC_PM_PROMPT, data->info->prompt);
        SetDlgItemTextA(hwnd, IDC_PM_VALUE, data->value.c_str());
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            char buf[256] = {0};
            GetDlgItemTextA(hwnd, IDC_PM_VALUE, buf, sizeof(buf));
            data->value = buf;
            EndDialog(hwnd, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------------------------

class ProjectMgr final : public I_ProjectMgr {
public:
    explicit ProjectMgr(HWND owner) : m_owner(owner), m_projectObject(*this), m_tree(m_project)
    {
        m_project.Reset();
    }

    const Settings& Current() const { return m_pending ? m_pendingSettings : m_project.settings; }
    Project& GetModel() { return m_project; }

    void Release() override
    {
        Trace("Release");
        delete this;
    }

    BOOL Init(DWORD mode) override
    {
        ReadConfig();
        Trace("Init %lu", mode);
        g_language.keywordFile = g_programFolder + ConfigValue("Language", "KeywordFile", "ToyAsm.ini");
        g_language.quoteColor = ConfigValue("Language", "QuoteColor", "0,128,0");
        return TRUE;
    }

    I_PMProject* GetProject() override { return &m_projectObject; }

    I_PMProjectTree* GetProjectTree() override
    {
        Trace("GetProjectTree");
        return m_project.open ? &m_tree : nullptr;
    }

    BOOL ReloadFileInfo() override
    {
        Trace("ReloadFileInfo");
        if (!m_project.open)
            return FALSE;
        m_objects.Clear();
        for (const std::string& source : Sources(false)) {
            toy::Assembler assembler;
            m_objects.AddResult(source, assembler.Assemble(source));
        }
        return TRUE;
    }

    I_PMLanguage* GetLanguage(const char* path) override
    {
        Trace("GetLanguage %s", Str(path));
        std::string ext = path ? ExtOf(path) : "";
        return SameText(ext, ".asm") || SameText(ext, ".inc") ? &g_language : nullptr;
    }

    BOOL CreateObjProject(const char* objFile, const char* partNumber) override
    {
        Trace("CreateObjProject %s %s", Str(objFile), Str(partNumber));
        char part[PM_PATH_SIZE];
        if (!objFile || !CheckObjFile(objFile, part))
            return FALSE;
        m_project.Reset();
        m_project.path = FolderOf(objFile) + TitleOf(objFile) + ".wbi";
        m_project.folder = FolderOf(objFile);
        m_project.name = TitleOf(objFile);
        m_project.settings.partNumber = partNumber && *partNumber ? partNumber : part;
        m_project.settings.kind = PM_KIND_OBJ;
        m_project.settings.outputName = m_project.name;
        m_project.rootFiles.items.push_back(objFile);
        m_project.open = true;
        m_objFile = objFile;
        return TRUE;
    }

    BOOL CreateProject(const char* folder, const char* name, const char* partNumber, DWORD kind) override
    {
        Trace("CreateProject %s %s %s %lu", Str(folder), Str(name), Str(partNumber), kind);
        std::string path;
        if (!NewProjectPath(folder, name, partNumber, path))
            return FALSE;
        DeleteFileA(path.c_str());
        Project p;
        p.Reset();
        p.path = path;
        p.folder = FolderOf(path);
        p.name = TitleOf(path);
        p.settings.partNumber = partNumber;
        p.settings.kind = (kind & 0xFFFF) == PM_KIND_OBJ ? PM_KIND_OBJ : PM_KIND_NORMAL;
        p.settings.subType = kind >> 16;
        p.settings.outputName = p.name;
        p.settings.clock = "8";
        if (!p.Save(path))
            return FALSE;
        return Open(path);
    }

    BOOL OpenProject(const char* path) override
    {
        Trace("OpenProject %s", Str(path));
        return path ? Open(path) : FALSE;
    }

    BOOL SaveProject(const char* openFiles) override
    {
        Trace("SaveProject");
        if (!m_project.open)
            return FALSE;
        m_project.openFiles.clear();
        for (const char* p = openFiles; p && *p; p += strlen(p) + 1)
            m_project.openFiles.push_back(p);
        if (m_project.settings.kind == PM_KIND_OBJ && !FileExists(m_project.path))
            return TRUE;   // a project around an object file lives in memory only
        return m_project.Save(m_project.path) ? TRUE : FALSE;
    }

    BOOL CloseProject(BOOL save, const char* openFiles) override
    {
        Trace("CloseProject %d", save);
        BOOL ok = TRUE;
        if (save && m_project.open)
            ok = SaveProject(openFiles);
        m_project.Reset();
        m_objects.Clear();
        m_pending = false;
        m_reports.clear();
        m_objFile.clear();
        m_builtParts = 0;
        return ok;
    }

    BOOL DuplicateProject(const char* folder) override
    {
        Trace("DuplicateProject %s", Str(folder));
        if (!m_project.open || !folder || !*folder)
            return FALSE;
        std::string target = folder;
        if (target.back() != '\\')
            target += '\\';
        if (SameText(target, m_project.folder))
            return FALSE;
        SaveProject(nullptr);
        return CopyProject(m_project.path, target + NameOf(m_project.path), nullptr) ? TRUE : FALSE;
    }

    BOOL CheckObjFile(const char* path, char* partNumber) override
    {
        Trace("CheckObjFile %s", Str(path));
        toy::ObjectFile object;
        if (!path || !partNumber || !toy::ReadObjectFile(path, object) || object.partNumber.empty())
            return FALSE;
        return CopyText(partNumber, PM_PATH_SIZE, object.partNumber) ? TRUE : FALSE;
    }

    BOOL CanCompile(const char* path) override
    {
        Trace("CanCompile %s", Str(path));
        if (!path || !m_project.open)
            return FALSE;
        for (const auto& f : m_project.folders)
            if (f->Rule().compile && f->Contains(path))
                return SameText(ExtOf(path), ".asm") || SameText(ExtOf(path), ".inc");
        return FALSE;
    }

    BOOL IsProjectFile(const char* path) override
    {
        Trace("IsProjectFile %s", Str(path));
        if (!path || !m_project.open)
            return FALSE;
        for (const std::string& f : m_project.AllFiles())
            if (SameText(f, path))
                return TRUE;
        for (const std::string& source : Sources(false)) {
            toy::Assembler assembler;
            for (const std::string& inc : assembler.Assemble(source).includes)
                if (SameText(inc, path))
                    return TRUE;
        }
        return FALSE;
    }

    BOOL EndSettingsEdit(BOOL commit) override
    {
        Trace("EndSettingsEdit %d", commit);
        if (m_pending && commit)
            m_project.settings = m_pendingSettings;
        m_pending = false;
        return TRUE;
    }

    int GetFilesToOpen(const char* text, char* buffer) override
    {
        Trace("GetFilesToOpen %s %s", Str(text), buffer ? "fill" : "size");
        std::vector<std::string> files;
        if (m_project.open && text && SameText(text, m_project.path))
            for (const std::string& f : m_project.openFiles)
                if (FileExists(f))
                    files.push_back(f);
        return CopyMultiString(files, buffer);
    }

    int GetSourceExts(char* buffer) override
    {
        Trace("GetSourceExts %s", buffer ? "fill" : "size");
        return CopyMultiString({".asm", ".inc"}, buffer);
    }

    int GetExecutableExts(char* buffer) override
    {
        Trace("GetExecutableExts %s", buffer ? "fill" : "size");
        return CopyMultiString({".obj"}, buffer);
    }

    int GetReportFiles(char* buffer) override
    {
        Trace("GetReportFiles %s", buffer ? "fill" : "size");
        std::vector<std::string> files;
        for (const std::string& r : m_reports)
            if (FileExists(r))
                files.push_back(r);
        return CopyMultiString(files, buffer);
    }

    int GetBuildTargets(char* buffer) override
    {
        Trace("GetBuildTargets %s", buffer ? "fill" : "size");
        if (GetPrivateProfileIntA("Testing", "SingleBuildTarget", 0, g_configFile.c_str()))
            return CopyMultiString({kBuildTargets[0]}, buffer);
        return CopyMultiString({std::string(kBuildTargets[0]) + "," + kBuildTargets[1]}, buffer);
    }

    BOOL GetPartNumbersOfKind(DWORD kind, I_CUStringList* list) override
    {
        Trace("GetPartNumbersOfKind %lu", kind);
        if (!list)
            return FALSE;
        std::string key = "Kind" + std::to_string(kind);
        std::vector<std::string> parts = SplitFields(ConfigValue("PartNumbers", key.c_str()));
        for (const std::string& p : parts)
            list->Add(p.c_str());
        return parts.empty() ? FALSE : TRUE;
    }

    BOOL GetIncludedFiles(const char* path, I_CUStringList* list) override
    {
        Trace("GetIncludedFiles %s", Str(path));
        if (!path || !list || !FileExists(path))
            return FALSE;
        toy::Assembler assembler;
        for (const std::string& inc : assembler.Assemble(path).includes)
            list->Add(inc.c_str());
        return TRUE;
    }

    BOOL GetEmbeddedFiles(const char* path, I_CUStringList* list) override
    {
        Trace("GetEmbeddedFiles %s", Str(path));
        if (!path || !list || !FileExists(path))
            return FALSE;
        toy::Assembler assembler;
        for (const toy::Embedded& e : assembler.Assemble(path).embedded)
            list->Add(e.path.c_str());
        return TRUE;
    }

    BOOL GetOutputFile(char* buffer) override
    {
        Trace("GetOutputFile");
        return m_project.open && CopyText(buffer, PM_PATH_SIZE, OutputBase() + ".obj") ? TRUE : FALSE;
    }

    BOOL GetSecondOutputFile(char* buffer) override
    {
        Trace("GetSecondOutputFile");
        return m_project.open && CopyText(buffer, PM_PATH_SIZE, OutputBase() + ".os2") ? TRUE : FALSE;
    }

    BOOL GetDefaultTool(char* listFile, char* section) override
    {
        Trace("GetDefaultTool");
        std::string list = ConfigValue("DefaultTool", "ListFile");
        std::string sec = ConfigValue("DefaultTool", "Section");
        if (!m_project.open || list.empty() || sec.empty())
            return FALSE;
        if (list.find(':') == std::string::npos)
            list = g_programFolder + list;
        if (!FileExists(list) || !CopyText(listFile, PM_TOOL_TEXT_SIZE, list) ||
            !CopyText(section, PM_TOOL_TEXT_SIZE, sec))
            return FALSE;
        return TRUE;
    }

    DWORD GetBuiltObjectCount() override
    {
        Trace("GetBuiltObjectCount");
        return m_builtParts;
    }

    BOOL Clean(DWORD what) override
    {
        Trace("Clean %lu", what);
        if (!m_project.open || m_project.settings.kind == PM_KIND_OBJ)
            return FALSE;
        for (const std::string& f : OutputFiles())
            DeleteFileA(f.c_str());
        m_reports.clear();
        return TRUE;
    }

    BOOL AcceptOutputRecord(tagMessageRecord* record) override
    {
        Trace("AcceptOutputRecord %d", record ? record->kind : -1);
        if (!record)
            return FALSE;
        if (record->kind == toy::MSG_ERROR)
            return InterlockedIncrement(&m_acceptedErrors) <= m_project.settings.maxErrors ? TRUE : FALSE;
        if (record->kind == toy::MSG_WARNING)
            return InterlockedIncrement(&m_acceptedWarnings) <= m_project.settings.maxWarnings ? TRUE : FALSE;
        return TRUE;
    }

    BOOL IsBuildNeeded() override
    {
        Trace("IsBuildNeeded");
        if (!m_project.open || m_project.settings.kind == PM_KIND_OBJ)
            return FALSE;
        ULONGLONG built = 0, t = 0;
        if (!GetFileTime64(OutputBase() + ".obj", built))
            return TRUE;
        std::vector<std::string> inputs = m_project.AllFiles();
        inputs.push_back(m_project.path);
        for (const std::string& source : Sources(false)) {
            toy::Assembler assembler;
            toy::AssemblyResult r = assembler.Assemble(source);
            inputs.insert(inputs.end(), r.includes.begin(), r.includes.end());
            for (const toy::Embedded& e : r.embedded)
                inputs.push_back(e.path);
        }
        for (const std::string& in : inputs)
            if (GetFileTime64(in, t) && t > built)
                return TRUE;
        return FALSE;
    }

    BOOL Compile(const char* folder, const char* path) override;
    BOOL Build(BOOL rebuild) override;

    void StopBuild() override
    {
        Trace("StopBuild");
        InterlockedExchange(&m_stop, 1);
    }

    BOOL AddNewFile(I_CUStringList* path, int folder, int subFolder) override
    {
        Trace("AddNewFile %d %d", folder, subFolder);
        std::vector<std::string> paths = ReadList(path);
        Folder* f = m_project.open && folder >= 0 && folder < static_cast<int>(m_project.folders.size())
                        ? m_project.folders[static_cast<size_t>(folder)].get()
                        : nullptr;
        if (paths.size() != 1 || !f)
            return FALSE;
        return AddTo(*f, paths, subFolder);
    }

    BOOL AddFiles(I_CUStringList* paths, const char* folder, const char* subFolder) override
    {
        Trace("AddFiles %s %s", Str(folder), Str(subFolder));
        std::vector<std::string> list = ReadList(paths);
        if (!m_project.open || list.empty() || !folder)
            return FALSE;
        if (!*folder) {
            bool added = false;
            for (const std::string& p : list)
                if (p.size() < PM_PATH_SIZE && !InProject(p)) {
                    m_project.rootFiles.items.push_back(p);
                    added = true;
                }
            if (added)
                Request(PM_REQUEST_MODIFIED, 0);
            return added ? TRUE : FALSE;
        }
        Folder* f = m_project.FindFolder(folder);
        if (!f)
            return FALSE;
        int sub = -1;
        if (subFolder && *subFolder) {
            sub = f->FindSubFolder(subFolder);
            if (sub < 0)
                return FALSE;
        }
        return AddTo(*f, list, sub);
    }

    BOOL RemoveFiles(I_CUStringList* paths, int folder, int subFolder) override
    {
        Trace("RemoveFiles %d %d", folder, subFolder);
        if (!m_project.open)
            return FALSE;
        BOOL removed = FALSE;
        for (const std::string& p : ReadList(paths)) {
            if (folder < 0) {
                for (auto it = m_project.rootFiles.items.begin(); it != m_project.rootFiles.items.end(); ++it)
                    if (SameText(*it, p)) {
                        m_project.rootFiles.items.erase(it);
                        removed = TRUE;
                        break;
                    }
            } else if (folder < static_cast<int>(m_project.folders.size()) &&
                       m_project.folders[static_cast<size_t>(folder)]->Remove(p, subFolder)) {
                removed = TRUE;
            }
        }
        return removed;
    }

    BOOL IsReadyToBuild() override
    {
        Trace("IsReadyToBuild");
        return m_project.open && KnownPart(m_project.settings.partNumber) ? TRUE : FALSE;
    }

    BOOL SetChip(const char* partNumber) override
    {
        Trace("SetChip %s", Str(partNumber));
        if (!m_project.open || !partNumber || !KnownPart(partNumber))
            return FALSE;
        BeginEdit();
        m_pendingSettings.partNumber = partNumber;
        return TRUE;
    }

    BOOL AreSettingsComplete(int* page) override
    {
        Trace("AreSettingsComplete");
        if (!m_project.open || !m_project.settings.clock.empty() || m_project.settings.kind == PM_KIND_OBJ)
            return TRUE;
        if (page)
            *page = 0;
        return FALSE;
    }

    BOOL HasMaskOptions() override
    {
        Trace("HasMaskOptions");
        return FALSE;
    }

    int GetExtraOptionPageCount() override
    {
        Trace("GetExtraOptionPageCount");
        return m_project.open ? ExtraPageCount() : 0;
    }

    BOOL CreateExtraOptionPage(HWND parent, HWND* pages, char* labels) override;

    BOOL ApplyOptions(I_PMProjectOptions* options) override
    {
        Trace("ApplyOptions");
        if (!m_project.open || !options)
            return FALSE;
        BeginEdit();
        Options* o = static_cast<Options*>(options);
        std::string clock = m_clockEdit.empty() ? m_pendingSettings.clock : m_clockEdit;
        std::string part = m_pendingSettings.partNumber;
        m_pendingSettings = o->values;
        m_pendingSettings.clock = clock;
        m_pendingSettings.partNumber = part;
        Request(PM_REQUEST_APPLY_SYNTAX, 0);
        return TRUE;
    }

    BOOL RunFileAction(const char* folder, const char* path, int action) override
    {
        Trace("RunFileAction %s %s %d", Str(folder), Str(path), action);
        Folder* f = m_project.open && folder ? m_project.FindFolder(folder) : nullptr;
        if (!f || !path || action < 0 || action >= static_cast<int>(f->Rule().fileActions.size()))
            return FALSE;
        // Preview changes nothing; Edit hands the file to its editor, which may change it.
        Request(action == 0 ? PM_REQUEST_PREVIEW : PM_REQUEST_EDIT_RESOURCE, reinterpret_cast<LPARAM>(path));
        return action == 1 ? TRUE : FALSE;
    }

    BOOL PrepareDownload(WORD* flags, DWORD downloaded) override
    {
        Trace("PrepareDownload %lu", downloaded);
        if (!flags || !m_project.open)
            return FALSE;
        std::vector<std::string> parts = PartFiles();
        if (!FileExists(parts[0]))
            return FALSE;
        if (downloaded == 0) {
            *flags = 0xFFFF;
            return TRUE;
        }
        DWORD present = 0;
        for (size_t i = 0; i < parts.size(); ++i)
            if (FileExists(parts[i]))
                present |= 1u << i;
        *flags = static_cast<WORD>(present & ~downloaded & kAllParts);
        return TRUE;
    }

    I_PMFileObjects* GetFileObjects() override
    {
        Trace("GetFileObjects");
        return m_project.open ? &m_objects : nullptr;
    }

    BOOL AddSubFolder(const char* folder, const char* name) override
    {
        Trace("AddSubFolder %s %s", Str(folder), Str(name));
        Folder* f = m_project.open && folder ? m_project.FindFolder(folder) : nullptr;
        if (!f || !f->Rule().canHaveSubFolders || !ValidSubFolderName(name) || f->FindSubFolder(name) >= 0 ||
            f->subNames.size() >= kMaxSubFolders)
            return FALSE;
        f->subNames.push_back(name);
        f->subFiles.emplace_back(new StringList);
        return TRUE;
    }

    BOOL DeleteSubFolder(const char* folder, const char* name) override
    {
        Trace("DeleteSubFolder %s %s", Str(folder), Str(name));
        Folder* f = m_project.open && folder ? m_project.FindFolder(folder) : nullptr;
        int index = f && name ? f->FindSubFolder(name) : -1;
        if (!f || index < 0 || index < f->GetFixedSubFolderCount())
            return FALSE;
        f->subNames.erase(f->subNames.begin() + index);
        f->subFiles.erase(f->subFiles.begin() + index);
        if (f->active == index)
            f->active = 0;
        else if (f->active > index)
            --f->active;
        return TRUE;
    }

    BOOL SetActiveSubFolder(const char* folder, const char* name) override
    {
        Trace("SetActiveSubFolder %s %s", Str(folder), Str(name));
        Folder* f = m_project.open && folder ? m_project.FindFolder(folder) : nullptr;
        int index = f && name ? f->FindSubFolder(name) : -1;
        if (index < 0)
            return FALSE;
        f->active = index;
        return TRUE;
    }

    BOOL RunFolderAction(const char* folder, const char* subFolder, int action, I_CUStringList* filesToOpen) override;

    BOOL RenameSubFolder(const char* folder, const char* oldName, const char* newName) override
    {
        Trace("RenameSubFolder %s %s %s", Str(folder), Str(oldName), Str(newName));
        Folder* f = m_project.open && folder ? m_project.FindFolder(folder) : nullptr;
        int index = f && oldName ? f->FindSubFolder(oldName) : -1;
        if (!f || index < 0 || index < f->GetFixedSubFolderCount() || !ValidSubFolderName(newName))
            return FALSE;
        int other = f->FindSubFolder(newName);
        if (other >= 0 && other != index)
            return FALSE;
        f->subNames[static_cast<size_t>(index)] = newName;
        return TRUE;
    }

    BOOL IsWizardAvailable(DWORD kind) override
    {
        Trace("IsWizardAvailable %lu", kind);
        if (!m_project.open)
            return FALSE;
        if (kind == 1)
            return m_project.settings.scriptMode == 2 ? TRUE : FALSE;
        if (kind == 2 || kind == 4)
            return m_project.settings.kind == PM_KIND_NORMAL ? TRUE : FALSE;
        return FALSE;
    }

    BOOL RunWizard(DWORD kind, void* record, DWORD size) override;
    BOOL SaveAsTemplate(const char* path, DWORD a, DWORD b, DWORD c) override;
    BOOL CreateFromTemplate(const char* folder, const char* name, const char* partNumber, DWORD kind,
                            const char* templatePath) override;

    std::string m_clockEdit;   // the extra page's text once it accepted
    HWND m_owner;

private:
    ~ProjectMgr() {}

    bool Open(const std::string& path)
    {
        CloseProject(FALSE, nullptr);
        if (!m_project.Load(path)) {
            if (!m_project.error.empty())
                Trace("OpenProject refused %s: %s", path.c_str(), m_project.error.c_str());
            m_project.Reset();
            return false;
        }
        if (m_project.settings.kind == PM_KIND_OBJ)
            m_objFile = m_project.rootFiles.items.empty() ? std::string() : m_project.rootFiles.items[0];
        return true;
    }

    static bool ValidSubFolderName(const char* name)
    {
        return name && *name && strlen(name) < kMaxSubFolderName && !strpbrk(name, "\\/:*?\"<>|,;=[]");
    }

    bool NewProjectPath(const char* folder, const char* name, const char* partNumber, std::string& path)
    {
        if (!folder || !*folder || !name || !*name || !partNumber || !*partNumber || strlen(partNumber) > 63 ||
            strpbrk(name, "\\/:*?\"<>|"))
            return false;
        path = folder;
        if (path.back() != '\\')
            path += '\\';
        path += name;
        if (!SameText(ExtOf(path), ".wbi"))
            path += ".wbi";
        return path.size() < PM_PATH_SIZE;
    }

    void BeginEdit()
    {
        if (!m_pending) {
            m_pendingSettings = m_project.settings;
            m_pending = true;
        }
    }

    bool InProject(const std::string& path) const
    {
        for (const std::string& f : m_project.AllFiles())
            if (SameText(f, path))
                return true;
        return false;
    }

    BOOL AddTo(Folder& f, const std::vector<std::string>& paths, int sub)
    {
        if (sub < 0 && f.Rule().requiresSubFolder && !f.subNames.empty())
            sub = f.active;
        std::vector<std::string> fresh;
        for (const std::string& p : paths)
            if (p.size() < PM_PATH_SIZE && !InProject(p))
                fresh.push_back(p);
        if (fresh.empty() || !f.CheckAdd(fresh, sub).empty())
            return FALSE;
        StringList& list = sub >= 0 ? *f.subFiles[static_cast<size_t>(sub)] : f.files;
        list.items.insert(list.items.end(), fresh.begin(), fresh.end());
        Request(PM_REQUEST_MODIFIED, 0);
        return TRUE;
    }

    void Request(WPARAM code, LPARAM lParam)
    {
        if (m_owner)
            SendMessageA(m_owner, PM_WM_NOTIFY, code, lParam);
    }

    // The sources that are assembled: ".asm" files of the compilable folders (with ".inc" too).
    std::vector<std::string> Sources(bool withIncludeFiles) const
    {
        std::vector<std::string> out;
        for (const auto& f : m_project.folders) {
            if (!f->Rule().compile)
                continue;
            for (const std::string& p : f->files.items)
                if (SameText(ExtOf(p), ".asm") || (withIncludeFiles && SameText(ExtOf(p), ".inc")))
                    out.push_back(p);
        }
        return out;
    }

    std::string OutputBase() const
    {
        if (m_project.settings.kind == PM_KIND_OBJ && !m_objFile.empty())
            return FolderOf(m_objFile) + TitleOf(m_objFile);
        const Settings& s = m_project.settings;
        return m_project.folder + kBuildTargets[s.buildTarget] + "\\" + s.outputName;
    }

    // The downloadable parts in bit order.
    std::vector<std::string> PartFiles() const
    {
        std::string base = OutputBase();
        return {base + ".obj", base + ".os2", base + "_user.fsf", base + "_sys.fsf"};
    }

    std::vector<std::string> OutputFiles() const
    {
        std::vector<std::string> files = PartFiles();
        files.push_back(OutputBase() + ".map");
        files.push_back(OutputBase() + ".lst");
        return files;
    }

    bool CopyProject(const std::string& source, const std::string& target, const char* templateNote);

    friend class BuildRun;

    Project m_project;
    ProjectObject m_projectObject;
    ProjectTree m_tree;
    FileObjects m_objects;
    bool m_pending = false;
    Settings m_pendingSettings;
    std::vector<std::string> m_reports;
    std::string m_objFile;
    DWORD m_builtParts = 0;
    volatile LONG m_stop = 0;
    volatile LONG m_acceptedErrors = 0;
    volatile LONG m_acceptedWarnings = 0;
};

I_PMProjectOptions* ProjectObject::GetOptions()
{
    Trace("Project.GetOptions");
    return new Options(m_owner.Current());
}
DWORD ProjectObject::GetIncrementalDownload()
{
    Trace("Project.GetIncrementalDownload");
    return m_owner.GetModel().settings.incremental;
}
const char* ProjectObject::GetPartNumber()
{
    Trace("Project.GetPartNumber");
    return m_owner.GetModel().settings.partNumber.c_str();
}
DWORD ProjectObject::GetProjectKind()
{
    Trace("Project.GetProjectKind");
    return m_owner.GetModel().settings.kind;
}
BOOL ProjectObject::GetSaveWithoutAsking()
{
    Trace("Project.GetSaveWithoutAsking");
    return m_owner.GetModel().settings.autoSave;
}
BOOL ProjectObject::GetOpenReportsAfterBuild()
{
    Trace("Project.GetOpenReportsAfterBuild");
    return m_owner.GetModel().settings.autoOpenReport;
}
BOOL ProjectObject::GetAskBuildFirst()
{
    Trace("Project.GetAskBuildFirst");
    return m_owner.GetModel().settings.autoCheckModification;
}
DWORD ProjectObject::GetScriptMode()
{
    Trace("Project.GetScriptMode");
    return m_owner.GetModel().settings.scriptMode;
}

// ---------------------------------------------------------------------------------------------
// Build and compile: run on the caller's thread and report through records.

class BuildRun {
public:
    BuildRun(ProjectMgr& mgr) : m_mgr(mgr)
    {
        InterlockedExchange(&mgr.m_stop, 0);
        InterlockedExchange(&mgr.m_acceptedErrors, 0);
        InterlockedExchange(&mgr.m_acceptedWarnings, 0);
        if (!mgr.m_owner) {
            m_messageFile = "ZideMsg.txt";
            DeleteFileA(m_messageFile.c_str());
        }
    }

    bool Stopped() const { return m_mgr.m_stop != 0; }

    // A record to the owner (sent: valid until SendMessage returns), or a line of ZideMsg.txt.
    void Emit(int kind, const std::string& file, int line, const std::string& text)
    {
        if (!m_mgr.m_owner) {
            std::string out = file.empty() ? text : file + "(" + std::to_string(line) + "): " + text;
            standin::AppendLine(m_messageFile, out);
            return;
        }
        tagMessageRecord record;
        memset(&record, 0, sizeof(record));
        record.kind = kind;
        lstrcpynA(record.fileName, file.c_str(), sizeof(record.fileName));
        record.line = line;
        lstrcpynA(record.text, text.c_str(), sizeof(record.text));
        SendMessageA(m_mgr.m_owner, PM_WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&record));
    }

    toy::AssemblyResult AssembleOne(const std::string& source)
    {
        Emit(CU_REC_MESSAGE, "", 0, "Compiling " + NameOf(source) + "...");
        toy::Assembler assembler;
        assembler.shouldStop = [this] { return Stopped(); };
        toy::AssemblyResult r = assembler.Assemble(source);
        for (const toy::Message& m : r.messages) {
            if (r.stopped)
                break;
            Report(m.kind, m.file, m.line, (m.kind == toy::MSG_ERROR ? "error: " : "warning: ") + m.text);
        }
        m_leftOut += r.messagesLeftOut;
        m_errors += r.errors;
        m_warnings += r.warnings;
        return r;
    }

    // An error or warning of the build; beyond the cap only counted, for one line at the end.
    void Report(int kind, const std::string& file, int line, const std::string& text)
    {
        if (m_reported >= static_cast<int>(toy::kMaxMessages)) {
            ++m_leftOut;
            return;
        }
        ++m_reported;
        Emit(kind, file, line, text);
    }

    void Summary(const std::string& what)
    {
        if (m_leftOut > 0)
            Emit(CU_REC_MESSAGE, "", 0, std::to_string(m_leftOut) + " more message(s) left out");
        char text[256];
        snprintf(text, sizeof(text), "%s - %d error(s), %d warning(s)", what.c_str(), m_errors, m_warnings);
        Emit(CU_REC_MESSAGE, "", 0, text);
    }

    int m_errors = 0;
    int m_warnings = 0;

private:
    int m_reported = 0;
    int m_leftOut = 0;
    ProjectMgr& m_mgr;
    std::string m_messageFile;
};

// The storage image: "VFSF", the entry count, then per entry a 32-byte name, its size and its
// bytes; padded to whole 512-byte sectors.
std::string MakeImage(const std::vector<std::string>& files)
{
    std::string image = "VFSF";
    std::string body;
    uint32_t count = 0;
    for (const std::string& f : files) {
        std::string bytes;
        if (!toy::ReadWholeFile(f, bytes))
            continue;
        std::string name = NameOf(f).substr(0, 31);
        name.resize(32, '\0');
        uint32_t size = static_cast<uint32_t>(bytes.size());
        body += name;
        body.append(reinterpret_cast<const char*>(&size), 4);
        body += bytes;
        ++count;
    }
    image.append(reinterpret_cast<const char*>(&count), 4);
    image += body;
    image.resize((image.size() + 511) / 512 * 512, '\0');
    return image;
}

BOOL ProjectMgr::Compile(const char* folder, const char* path)
{
    Trace("Compile %s %s", Str(folder), Str(path));
    BuildRun run(*this);
    if (!m_project.open || !path || !CanCompile(path)) {
        run.Emit(CU_REC_ERROR, "", 0, std::string("Cannot compile ") + (path ? NameOf(path) : "") + ".");
        return FALSE;
    }
    toy::AssemblyResult r = run.AssembleOne(path);
    if (r.stopped) {
        run.Emit(CU_REC_MESSAGE, "", 0, "Compile stopped.");
        return FALSE;
    }
    run.Summary(NameOf(path));
    return r.errors == 0 ? TRUE : FALSE;
}

BOOL ProjectMgr::Build(BOOL rebuild)
{
    Trace("Build %d", rebuild);
    BuildRun run(*this);
    m_builtParts = 0;
    if (!m_project.open || m_project.settings.kind == PM_KIND_OBJ) {
        run.Emit(CU_REC_ERROR, "", 0, "No project to build.");
        return FALSE;
    }
    const Settings& s = m_project.settings;
    run.Emit(CU_REC_MESSAGE, "", 0,
             std::string("------ ") + (rebuild ? "Rebuild" : "Build") + ": " + m_project.name + " - " +
                 kBuildTargets[s.buildTarget] + " ------");
    if (!rebuild && !IsBuildNeeded()) {
        run.Emit(CU_REC_MESSAGE, "", 0, m_project.name + " is up to date.");
        return TRUE;
    }
    std::vector<toy::Segment> code, data;
    std::vector<std::string> embedded;
    toy::AssemblyResult combined;
    for (const std::string& source : Sources(false)) {
        if (run.Stopped())
            break;
        toy::AssemblyResult r = run.AssembleOne(source);
        if (r.stopped)
            break;
        for (const toy::Segment& seg : r.segments)
            (seg.space == toy::SPACE_CODE ? code : data).push_back(seg);
        for (const toy::Embedded& e : r.embedded) {
            embedded.push_back(e.path);
            if (!FileExists(e.path)) {
                run.Report(CU_REC_ERROR, e.references[0].file, e.references[0].line,
                           "error: cannot read embedded file '" + NameOf(e.path) + "'");
                ++run.m_errors;
            }
        }
        combined.lines.insert(combined.lines.end(), r.lines.begin(), r.lines.end());
        combined.symbols.insert(combined.symbols.end(), r.symbols.begin(), r.symbols.end());
        combined.listing.insert(combined.listing.end(), r.listing.begin(), r.listing.end());
    }
    if (run.Stopped()) {
        run.Emit(CU_REC_MESSAGE, "", 0, "Build stopped.");
        return FALSE;
    }
    std::string base = OutputBase();
    run.Summary(s.outputName + ".obj");
    if (run.m_errors)
        return FALSE;

    MakeFolders(base);
    std::vector<std::string> parts = PartFiles();
    std::vector<std::string> before;
    for (const std::string& p : parts) {
        std::string bytes;
        before.push_back(toy::ReadWholeFile(p, bytes) ? bytes : std::string("\x01missing"));
    }
    toy::ObjectFile object;
    object.partNumber = s.partNumber;
    object.segments = code;
    toy::ObjectFile second;
    second.partNumber = s.partNumber;
    second.segments = data;
    bool ok = toy::WriteObjectFile(parts[0], object) && toy::WriteObjectFile(parts[1], second) &&
              toy::WriteMapFile(base + ".map", combined) && toy::WriteListingFile(base + ".lst", combined);
    std::vector<std::string> userFiles = {parts[0], parts[1]};
    userFiles.insert(userFiles.end(), embedded.begin(), embedded.end());
    ok = ok && toy::WriteWholeFile(parts[2], MakeImage(userFiles));
    if (GetPrivateProfileIntA("VeltaneTool", "HASSYSDISK", 0, m_project.path.c_str()) == 1)
        ok = ok && toy::WriteWholeFile(parts[3], MakeImage({parts[0]}));
    else
        DeleteFileA(parts[3].c_str());
    if (!ok) {
        run.Emit(CU_REC_ERROR, "", 0, "error: cannot write the output files in " + FolderOf(base));
        return FALSE;
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string bytes;
        if (toy::ReadWholeFile(parts[i], bytes) && (rebuild || bytes != before[i]))
            m_builtParts |= 1u << i;
    }
    m_reports = {base + ".lst"};
    // Test switch: a build names this many more report files, written beside the outputs.
    int extra = GetPrivateProfileIntA("Testing", "ExtraReportFiles", 0, g_configFile.c_str());
    for (int i = 1; i <= std::min(extra, 99); ++i) {
        char name[16];
        snprintf(name, sizeof(name), "_report%02d.txt", i);
        if (toy::WriteWholeFile(base + name, "Report " + std::to_string(i) + " of " + m_project.name + "\r\n"))
            m_reports.push_back(base + name);
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------

INT_PTR CALLBACK DevicePageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    ProjectMgr* mgr = reinterpret_cast<ProjectMgr*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        mgr = reinterpret_cast<ProjectMgr*>(lParam);
        SetDlgItemTextA(hwnd, IDC_PM_CLOCK, mgr->Current().clock.c_str());
        return TRUE;
    case PM_WM_OPTION_PAGE: {
        LRESULT answer = 1;
        if (wParam == 0) {
            char buf[64] = {0};
            GetDlgItemTextA(hwnd, IDC_PM_CLOCK, buf, sizeof(buf));
            answer = *buf ? 1 : 0;
            if (answer && mgr)
                mgr->m_clockEdit = buf;
        }
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, answer);
        return TRUE;
    }
    }
    return FALSE;
}

// A second page for the tests of several pages: it holds nothing and always accepts.
INT_PTR CALLBACK MemoryPageProc(HWND hwnd, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG)
        return TRUE;
    if (msg == PM_WM_OPTION_PAGE) {
        SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, 1);
        return TRUE;
    }
    return FALSE;
}

BOOL ProjectMgr::CreateExtraOptionPage(HWND parent, HWND* pages, char* labels)
{
    Trace("CreateExtraOptionPage");
    if (!m_project.open || !parent || !pages || !labels)
        return FALSE;
    BeginEdit();
    m_clockEdit = m_pendingSettings.clock;
    HWND page = CreateDialogParamA(g_module, MAKEINTRESOURCEA(IDD_PM_DEVICE_PAGE), parent, DevicePageProc,
                                   reinterpret_cast<LPARAM>(this));
    if (!page)
        return FALSE;
    pages[0] = page;
    lstrcpynA(labels, "Device", PM_PAGE_LABEL_SIZE);
    if (ExtraPageCount() < 2)
        return TRUE;
    pages[1] = CreateDialogParamA(g_module, MAKEINTRESOURCEA(IDD_PM_MEMORY_PAGE), parent, MemoryPageProc, 0);
    if (!pages[1]) {
        DestroyWindow(page);
        return FALSE;
    }
    lstrcatA(labels, ",Memory");
    return TRUE;
}

BOOL ProjectMgr::RunFolderAction(const char* folder, const char* subFolder, int action, I_CUStringList* filesToOpen)
{
    Trace("RunFolderAction %s %s %d", Str(folder), Str(subFolder), action);
    Folder* f = m_project.open && folder ? m_project.FindFolder(folder) : nullptr;
    if (!f || action != 0)
        return FALSE;
    if (subFolder && *subFolder) {
        // "List Files": a text file naming the sub-folder's files, handed back to be opened.
        int index = f->FindSubFolder(subFolder);
        if (index < 0 || f->Rule().subFolderActions.empty())
            return FALSE;
        std::string text;
        for (const std::string& p : f->subFiles[static_cast<size_t>(index)]->items)
            text += p + "\r\n";
        std::string list = m_project.folder + f->Rule().name + "_" + subFolder + ".txt";
        if (!toy::WriteWholeFile(list, text))
            return FALSE;
        if (filesToOpen)
            filesToOpen->Add(list.c_str());
        return TRUE;
    }
    if (f->Rule().folderActions.empty())
        return FALSE;
    // "Sort Files": every file list of the folder in name order.
    auto byName = [](const std::string& a, const std::string& b) { return lstrcmpiA(NameOf(a).c_str(), NameOf(b).c_str()) < 0; };
    std::sort(f->files.items.begin(), f->files.items.end(), byName);
    for (auto& sub : f->subFiles)
        std::sort(sub->items.begin(), sub->items.end(), byName);
    Request(PM_REQUEST_MODIFIED, 0);
    return TRUE;
}

BOOL ProjectMgr::RunWizard(DWORD kind, void* record, DWORD size)
{
    Trace("RunWizard %lu %lu", kind, size);
    if (kind == 3) {
        // A file action entering the file tree's menu: only recorded.
        if (!record || size != sizeof(tagPMFileActionRecord))
            return FALSE;
        const tagPMFileActionRecord* r = static_cast<const tagPMFileActionRecord*>(record);
        Trace("FileActionEntry command=%lu folder=%s file=%s action=%lu", static_cast<unsigned long>(r->commandId),
              Str(reinterpret_cast<const char*>(r->folderName)), Str(reinterpret_cast<const char*>(r->filePath)),
              static_cast<unsigned long>(r->actionIndex));
        return TRUE;
    }
    if (!IsWizardAvailable(kind))
        return FALSE;
    const WizardInfo* info = nullptr;
    for (const WizardInfo& w : kWizards)
        if (w.kind == kind)
            info = &w;
    if (!info)
        return FALSE;
    char current[256] = {0};
    GetPrivateProfileStringA("Wizards", info->key, "", current, sizeof(current), m_project.path.c_str());
    WizardDialogData data{info, current};
    if (DialogBoxParamA(g_module, MAKEINTRESOURCEA(IDD_PM_WIZARD), m_owner, WizardProc,
                        reinterpret_cast<LPARAM>(&data)) != IDOK)
        return FALSE;
    WritePrivateProfileStringA("Wizards", info->key, data.value.c_str(), m_project.path.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_project.path.c_str());
    return TRUE;
}

// Copies a project file with the files it lists that lie in its folder; other files stay where
// they are, named by their full paths. The IDE's keys travel with the copy.
bool ProjectMgr::CopyProject(const std::string& source, const std::string& target, const char* templateNote)
{
    Project from;
    if (!from.Load(source))
        return false;
    std::string targetFolder = FolderOf(target);
    MakeFolders(target);
    if (!CopyFileA(source.c_str(), target.c_str(), FALSE))
        return false;
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::vector<std::string> files = from.AllFiles();
    for (const std::string& s : files) {
        toy::Assembler assembler;
        if (!SameText(ExtOf(s), ".asm"))
            continue;
        toy::AssemblyResult r = assembler.Assemble(s);
        files.insert(files.end(), r.includes.begin(), r.includes.end());
        for (const toy::Embedded& e : r.embedded)
            files.push_back(e.path);
    }
    for (const std::string& f : files) {
        std::string rel = from.Relative(f);
        if (rel == f)
            continue;
        MakeFolders(targetFolder + rel);
        CopyFileA(f.c_str(), (targetFolder + rel).c_str(), FALSE);
    }
    if (templateNote)
        Trace("%s %s", templateNote, target.c_str());
    return true;
}

BOOL ProjectMgr::SaveAsTemplate(const char* path, DWORD a, DWORD b, DWORD c)
{
    Trace("SaveAsTemplate %s %lu %lu %lu", Str(path), a, b, c);
    if (!m_project.open || !path || !*path || m_project.settings.kind == PM_KIND_OBJ)
        return FALSE;
    // The IDE names the template after its project path: "x.wbi.wbt" becomes "x.wbt".
    std::string target = path;
    if (target.size() > 8 && SameText(target.substr(target.size() - 8), ".wbi.wbt"))
        target.erase(target.size() - 8, 4);
    if (!SameText(ExtOf(target), ".wbt"))
        target += ".wbt";
    SaveProject(nullptr);
    if (!CopyProject(m_project.path, target, "Template"))
        return FALSE;
    std::string part = m_project.settings.partNumber;
    std::string chip = part.substr(0, part.find('-'));
    WritePrivateProfileStringA("Project", "BodyName", chip.c_str(), target.c_str());
    WritePrivateProfileStringA("Project", "ProjectType", std::to_string(m_project.settings.kind).c_str(),
                               target.c_str());
    WritePrivateProfileStringA("Project", "ProjectSubType", std::to_string(m_project.settings.subType).c_str(),
                               target.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, target.c_str());
    return TRUE;
}

BOOL ProjectMgr::CreateFromTemplate(const char* folder, const char* name, const char* partNumber, DWORD kind,
                                    const char* templatePath)
{
    Trace("CreateFromTemplate %s %s %s %lu %s", Str(folder), Str(name), Str(partNumber), kind, Str(templatePath));
    std::string path;
    if (!templatePath || !NewProjectPath(folder, name, partNumber, path))
        return FALSE;
    if (!CopyProject(templatePath, path, nullptr))
        return FALSE;
    for (const char* key : {"BodyName", "ProjectType", "ProjectSubType"})
        WritePrivateProfileStringA("Project", key, nullptr, path.c_str());
    WritePrivateProfileStringA("Project", "PartNumber", partNumber, path.c_str());
    WritePrivateProfileStringA("Project", "OutputName", TitleOf(path).c_str(), path.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
    return Open(path) ? TRUE : FALSE;
}

class Agent : public I_ProjectAgent {
public:
    DWORD GetInterface(DWORD id, I_ProjectMgr** manager) override
    {
        Trace("GetInterface %lu", id);
        if (!manager)
            return 0;
        *manager = nullptr;
        if (id != PROJECTMGR_INTERFACE_ID)
            return 0;
        *manager = new (std::nothrow) ProjectMgr(g_owner);
        return *manager ? 1 : 0;
    }
};
Agent g_agent;

} // namespace
} // namespace pm

extern "C" BOOL WINAPI CreateProjectMgrInstance(HWND owner, I_ProjectAgent** agent)
{
    if (!agent)
        return FALSE;
    pm::g_owner = owner;
    *agent = &pm::g_agent;
    pm::ReadConfig();
    pm::Trace("CreateProjectMgrInstance %p", static_cast<void*>(owner));
    return TRUE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        pm::g_module = instance;
        char path[MAX_PATH] = {0};
        GetModuleFileNameA(instance, path, MAX_PATH);
        pm::g_programFolder = pm::FolderOf(path);
        pm::g_configFile = pm::g_programFolder + pm::kConfigName;
        InitializeCriticalSection(&pm::g_traceLock);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        DeleteCriticalSection(&pm::g_traceLock);
    }
    return TRUE;
}
