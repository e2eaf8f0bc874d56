// The project as the stand-in keeps it: folders with their rules, settings, and the project file.
#pragma once
#include "components/VeltaneProjectMgr/PmLists.h"
#include <memory>

namespace pm {

std::string Upper(std::string s);
bool SameText(const std::string& a, const std::string& b);
std::string ExtOf(const std::string& path);      // with its dot, "" when none
std::string FolderOf(const std::string& path);   // with its trailing backslash
std::string NameOf(const std::string& path);     // after the last backslash
std::string TitleOf(const std::string& path);    // name without extension
bool FileExists(const std::string& path);
bool CopyText(char* buffer, size_t size, const std::string& text);

// What a folder accepts and offers; fixed by the component.
struct FolderRule {
    const char* name;
    bool visible;
    std::vector<std::string> exts;
    const char* defaultExt;
    const char* targetExt;
    bool acceptsTarget;
    int maxFiles;
    int maxPerSubFolder;
    bool hasSubFolders;
    bool requiresSubFolder;
    bool canHaveSubFolders;
    std::vector<std::string> fixedSubFolders;
    bool compile;
    std::vector<std::string> fileActions;
    std::vector<std::string> subFolderActions;
    std::vector<std::string> folderActions;
};
const std::vector<FolderRule>& FolderRules();

class Folder : public I_PMFolder {
public:
    explicit Folder(const FolderRule& rule);

    const char* GetName() override { return m_rule.name; }
    DWORD IsVisible() override { return m_rule.visible ? 1 : 0; }
    I_CUStringList* GetFiles() override { return &files; }
    I_CUStringList* GetAllFiles() override;
    int GetSubFolderNames(char* buffer) override { return CopyMultiString(subNames, buffer); }
    I_CUElementList<I_CUStringList*>* GetSubFolders() override;
    const char* GetSubFolderName(int index) override;
    I_CUStringList* GetSubFolder(int index) override;
    int GetActiveSubFolder() override { return subNames.empty() ? -1 : active; }
    BOOL HasSubFolders() override { return m_rule.hasSubFolders; }
    BOOL RequiresSubFolder() override { return m_rule.requiresSubFolder; }
    BOOL CanHaveSubFolders() override { return m_rule.canHaveSubFolders; }
    int GetFixedSubFolderCount() override { return static_cast<int>(m_rule.fixedSubFolders.size()); }
    I_CUStringList* GetSourceExts() override { return &m_exts; }
    const char* GetDefaultExt() override { return m_rule.defaultExt; }
    const char* GetTargetExt() override { return m_rule.targetExt; }
    BOOL AcceptsTarget() override { return m_rule.acceptsTarget; }
    int GetMaxFiles() override { return m_rule.maxFiles; }
    int GetMaxFilesPerSubFolder() override { return m_rule.maxPerSubFolder; }
    BOOL CheckCapacity(int added, int subFolder) override;
    BOOL CanCompile() override { return m_rule.compile; }
    BOOL GetFilePath(int subFolder, int file, char* buffer) override;
    I_CUStringList* GetFileActions() override { return &m_fileActions; }
    I_CUStringList* GetSubFolderActions() override { return &m_subActions; }
    I_CUStringList* GetFolderActions() override { return &m_folderActions; }

    const FolderRule& Rule() const { return m_rule; }
    int FindSubFolder(const std::string& name) const;
    int TotalFiles() const;
    // Refusal text, "" when the files may be added: extension, target and limit rules.
    std::string CheckAdd(const std::vector<std::string>& paths, int subFolder) const;
    bool Contains(const std::string& path) const;
    bool Remove(const std::string& path, int subFolder);

    StringList files;
    std::vector<std::string> subNames;
    std::vector<std::unique_ptr<StringList>> subFiles;
    int active = 0;

private:
    const FolderRule& m_rule;
    StringList m_all;
    ElementList<I_CUStringList*> m_subLists;
    StringList m_exts, m_fileActions, m_subActions, m_folderActions;
};

// Options of a project; the options object and the pending settings edit are copies.
struct Settings {
    std::string partNumber;
    DWORD kind = PM_KIND_NORMAL;
    DWORD subType = 0;
    std::string outputName;
    int buildTarget = 0;
    int maxErrors = 100;
    int maxWarnings = 100;
    BOOL autoSave = TRUE;
    BOOL autoOpenReport = TRUE;
    BOOL manualModuleSelect = FALSE;
    BOOL autoCheckModification = TRUE;
    DWORD incremental = 1;
    DWORD scriptMode = 0;
    std::string clock;   // the extra page's setting
};

// A folder holds at most this many sub-folders, each name shorter than kMaxSubFolderName.
const size_t kMaxSubFolders = 32;
const size_t kMaxSubFolderName = 64;

struct Project {
    bool open = false;
    std::string error;    // why the last Load refused the file, "" when it did not say
    std::string path;     // the project file
    std::string folder;   // with its trailing backslash
    std::string name;     // file title
    Settings settings;
    std::vector<std::unique_ptr<Folder>> folders;
    StringList rootFiles;
    std::vector<std::string> openFiles;

    void Reset();
    // Reads the component's keys; FALSE when the file is missing or no project file.
    bool Load(const std::string& file);
    // Writes the component's keys only, so the IDE's keys stay as they are.
    bool Save(const std::string& file) const;
    std::string Relative(const std::string& full) const;
    std::string Absolute(const std::string& stored) const;
    Folder* FindFolder(const std::string& name) const;
    // Every file the project lists, folders and root.
    std::vector<std::string> AllFiles() const;
};

extern const char* const kBuildTargets[2];

} // namespace pm
