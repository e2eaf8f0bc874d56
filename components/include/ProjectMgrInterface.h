// The project-manager component "VeltaneProjectMgr.dll": keeps the project file, compiles and
// builds. Shared by the component and the IDE. Objects cross the DLL boundary: no virtual
// destructors, every operation at a fixed slot, named fillers where a slot is unused.
//
// Lists come in three forms:
// - two calls (GetSourceExts, GetSubFolderNames ...): a NULL buffer gives the size in bytes,
//   then the buffer gets NUL-terminated strings and one more NUL; 0 means an empty list;
// - I_CUStringList objects the component owns (folder files, extensions, action names), valid
//   until the next ReloadFileInfo or change of the tree;
// - I_CUStringList objects the caller passes in, which the component fills or reads.
// Buffers: paths 260 bytes (PM_PATH_SIZE), default-tool texts 256, option-page labels 20 per page.
#pragma once
#include <windows.h>
#include "components/include/PMLanguageInterface.h"
#include "support/text/CUElementList.h"
#include "support/text/CUStringList.h"
#include "support/ui/CUMsgHandler.h"

#define PROJECTMGR_DLL_NAME "VeltaneProjectMgr.dll"
#define PROJECTMGR_ENTRY_NAME "CreateProjectMgrInstance"
#define PROJECTMGR_INTERFACE_ID 2

#define PM_PATH_SIZE 260
#define PM_TOOL_TEXT_SIZE 256
#define PM_PAGE_LABEL_SIZE 20

// To the owner window: wParam a request code below, or 0 with lParam a tagMessageRecord that
// stays valid until SendMessage returns.
#define PM_WM_NOTIFY (WM_USER + 100)
enum {
    PM_REQUEST_MODIFIED = 4,        // mark the project modified
    PM_REQUEST_APPLY_SYNTAX = 15,   // apply the editor syntax to the open documents again
    PM_REQUEST_PREVIEW = 25,        // preview the file whose path is lParam
    PM_REQUEST_EDIT_RESOURCE = 26,  // open that file in its resource editor
};
// From the options dialog to an option page: wParam 0 asks the page to accept (0 refuses).
#define PM_WM_OPTION_PAGE (WM_USER + 102)

// Project kinds (I_PMProject slot 12).
enum { PM_KIND_NORMAL = 1, PM_KIND_OBJ = 4 };

// The record of a file action offered in the file tree's menu: RunWizard (3, record, size).
// Five pointer-sized fields: 20 bytes in the 32-bit program, 40 in a 64-bit build.
struct tagPMFileActionRecord {
    UINT_PTR menu;          // address of the IDE's menu object: opaque to the component
    UINT_PTR commandId;
    UINT_PTR folderName;    // address of the folder name text
    UINT_PTR filePath;      // address of the file path text
    UINT_PTR actionIndex;   // from 0
};
static_assert(sizeof(tagPMFileActionRecord) == 5 * sizeof(void*), "the file action record is five words");

// A place in a source that refers to an embedded file or an audio equation.
struct tagPMReference {
    const char* file;   // full path of the source
    const char* text;   // what the menu shows (the source's file name)
    int line;           // from 1
};

class I_PMProjectOptions {
public:
    virtual void Reserved0() = 0;
    virtual void Reserved1() = 0;
    virtual void Reserved2() = 0;
    virtual BOOL GetAutoSave() = 0;                         // 3
    virtual BOOL GetAutoOpenReport() = 0;                   // 4
    virtual BOOL GetManualModuleSelect() = 0;               // 5
    virtual void SetAutoSave(BOOL value) = 0;               // 6
    virtual void SetAutoOpenReport(BOOL value) = 0;         // 7
    virtual void SetManualModuleSelect(BOOL value) = 0;     // 8
    virtual void Reserved9() = 0;
    virtual const char* GetOutputName() = 0;                // 10
    virtual void Reserved11() = 0;
    virtual void Reserved12() = 0;
    virtual int GetBuildTargetIndex() = 0;                  // 13
    virtual int GetMaxErrors() = 0;                         // 14
    virtual int GetMaxWarnings() = 0;                       // 15
    virtual void Reserved16() = 0;
    virtual void SetOutputName(const char* name) = 0;       // 17
    virtual void Reserved18() = 0;
    virtual void Reserved19() = 0;
    virtual void SetBuildTargetIndex(int index) = 0;        // 20
    virtual void SetMaxErrors(int count) = 0;               // 21: kept at 1 or more
    virtual void SetMaxWarnings(int count) = 0;             // 22: kept at 1 or more
    virtual void Reserved23() = 0;
    virtual void Reserved24() = 0;
    virtual void Reserved25() = 0;
    virtual void Reserved26() = 0;
    virtual void Reserved27() = 0;
    virtual void Reserved28() = 0;
    virtual BOOL GetAutoCheckModification() = 0;            // 29
    virtual void SetAutoCheckModification(BOOL value) = 0;  // 30
    virtual void Release() = 0;                             // 31
protected:
    ~I_PMProjectOptions() {}
};

// The open project (one object for the component's life, never NULL).
class I_PMProject {
public:
    virtual I_PMProjectOptions* GetOptions() = 0;       // 0: a copy, freed by its Release
    virtual void Reserved1() = 0;
    virtual void Reserved2() = 0;
    virtual void Reserved3() = 0;
    virtual void Reserved4() = 0;
    virtual DWORD GetIncrementalDownload() = 0;         // 5: non-zero: download changed parts only
    virtual void Reserved6() = 0;
    virtual void Reserved7() = 0;
    virtual void Reserved8() = 0;
    virtual const char* GetPartNumber() = 0;            // 9: "" when no project is open
    virtual void Reserved10() = 0;
    virtual void Reserved11() = 0;
    virtual DWORD GetProjectKind() = 0;                 // 12: PM_KIND_NORMAL or PM_KIND_OBJ
    virtual void Reserved13() = 0;
    virtual void Reserved14() = 0;
    virtual void Reserved15() = 0;
    virtual void Reserved16() = 0;
    virtual void Reserved17() = 0;
    virtual void Reserved18() = 0;
    virtual void Reserved19() = 0;
    virtual void PrepareTemplateBuild(DWORD reserved) = 0;  // 20: before Save As Template's build
    virtual BOOL GetSaveWithoutAsking() = 0;            // 21: save sources before a build unasked
    virtual BOOL GetOpenReportsAfterBuild() = 0;        // 22
    virtual BOOL GetAskBuildFirst() = 0;                // 23: ask whether to build before an action
    virtual void Reserved24() = 0;
    virtual void Reserved25() = 0;
    virtual void Reserved26() = 0;
    virtual void Reserved27() = 0;
    virtual void Reserved28() = 0;
    virtual void Reserved29() = 0;
    virtual void Reserved30() = 0;
    virtual void Reserved31() = 0;
    virtual DWORD GetScriptMode() = 0;                  // 32: 2 offers wizard 1
protected:
    ~I_PMProject() {}
};

// One folder of the project tree. Sub-folder and file indices count from 0; -1 means none.
class I_PMFolder {
public:
    virtual const char* GetName() = 0;                              // 0
    virtual DWORD IsVisible() = 0;                                  // 1
    virtual I_CUStringList* GetFiles() = 0;                         // 2: files outside sub-folders
    virtual I_CUStringList* GetAllFiles() = 0;                      // 3: with the sub-folders' files
    virtual int GetSubFolderNames(char* buffer) = 0;                // 4: two calls
    virtual I_CUElementList<I_CUStringList*>* GetSubFolders() = 0;  // 5: file lists, in name order
    virtual const char* GetSubFolderName(int index) = 0;            // 6: "" when none
    virtual I_CUStringList* GetSubFolder(int index) = 0;            // 7: NULL when none
    virtual int GetActiveSubFolder() = 0;                           // 8
    virtual BOOL HasSubFolders() = 0;                               // 9: files may lie in sub-folders
    virtual BOOL RequiresSubFolder() = 0;                           // 10: files only in sub-folders
    virtual BOOL CanHaveSubFolders() = 0;                           // 11: the user may add them
    virtual int GetFixedSubFolderCount() = 0;                       // 12: the first n stay
    virtual I_CUStringList* GetSourceExts() = 0;                    // 13: with dots; ".*" any
    virtual const char* GetDefaultExt() = 0;                        // 14
    virtual const char* GetTargetExt() = 0;                         // 15: "" when none
    virtual BOOL AcceptsTarget() = 0;                               // 16
    virtual int GetMaxFiles() = 0;                                  // 17: 0 = no limit
    virtual int GetMaxFilesPerSubFolder() = 0;                      // 18: 0 = no limit
    virtual BOOL CheckCapacity(int added, int subFolder) = 0;       // 19
    virtual BOOL CanCompile() = 0;                                  // 20
    virtual BOOL GetFilePath(int subFolder, int file, char* buffer) = 0;   // 21: PM_PATH_SIZE
    virtual I_CUStringList* GetFileActions() = 0;                   // 22
    virtual I_CUStringList* GetSubFolderActions() = 0;              // 23
    virtual I_CUStringList* GetFolderActions() = 0;                 // 24
protected:
    ~I_PMFolder() {}
};

class I_PMProjectTree {
public:
    virtual const char* GetCaption() = 0;                   // 0: "Project " and the project's name
    virtual void ResetFolders() = 0;                        // 1
    virtual I_PMFolder* GetNextFolder() = 0;                // 2: NULL after the last
    virtual I_PMFolder* GetFolder(int index) = 0;           // 3
    virtual I_CUStringList* GetRootFiles() = 0;             // 4: files directly under the project
    virtual BOOL GetRootFilePath(int index, char* buffer) = 0;   // 5: PM_PATH_SIZE
    virtual DWORD GetProjectKind() = 0;                     // 6
protected:
    ~I_PMProjectTree() {}
};

// An embedded file and the places that embed it.
class I_PMSourceFile {
public:
    virtual const char* GetPath() = 0;                                  // 0
    virtual I_CUElementList<tagPMReference*>* GetReferences() = 0;      // 1
protected:
    ~I_PMSourceFile() {}
};

// One audio equation and the places that use it.
class I_PMEquation {
public:
    virtual const char* GetName() = 0;                                  // 0
    virtual I_CUElementList<tagPMReference*>* GetReferences() = 0;      // 1
protected:
    ~I_PMEquation() {}
};

// The audio equations declared by one source (with its includes).
class I_PMEquationSet {
public:
    virtual const char* GetPath() = 0;                                  // 0
    virtual I_CUElementList<I_PMEquation*>* GetElements() = 0;          // 1
protected:
    ~I_PMEquationSet() {}
};

// What the sources' directives name, as of the last ReloadFileInfo, compile or build.
class I_PMFileObjects {
public:
    virtual I_PMSourceFile* GetSourceFile(const char* path) = 0;    // 0: NULL when not embedded
    virtual I_PMEquationSet* GetEquations(const char* path) = 0;    // 1: NULL when none
protected:
    ~I_PMFileObjects() {}
};

class I_ProjectMgr {
public:
    virtual void Release() = 0;                                                        // 0
    virtual BOOL Init(DWORD mode) = 0;                                                 // 1
    virtual I_PMProject* GetProject() = 0;                                             // 2
    virtual I_PMProjectTree* GetProjectTree() = 0;                                     // 3
    virtual BOOL ReloadFileInfo() = 0;                                                 // 4
    virtual I_PMLanguage* GetLanguage(const char* path) = 0;                           // 5
    virtual BOOL CreateObjProject(const char* objFile, const char* partNumber) = 0;    // 6
    virtual BOOL CreateProject(const char* folder, const char* name, const char* partNumber,
                               DWORD kind) = 0;                                        // 7
    virtual BOOL OpenProject(const char* path) = 0;                                    // 8
    virtual BOOL SaveProject(const char* openFiles) = 0;                               // 9: multi-string or NULL
    virtual BOOL CloseProject(BOOL save, const char* openFiles) = 0;                   // 10
    virtual BOOL DuplicateProject(const char* folder) = 0;                             // 11
    virtual BOOL CheckObjFile(const char* path, char* partNumber) = 0;                 // 12: PM_PATH_SIZE
    virtual BOOL CanCompile(const char* path) = 0;                                     // 13
    virtual BOOL IsProjectFile(const char* path) = 0;                                  // 14
    virtual BOOL EndSettingsEdit(BOOL commit) = 0;                                     // 15
    virtual int GetFilesToOpen(const char* text, char* buffer) = 0;                    // 16: two calls
    virtual int GetSourceExts(char* buffer) = 0;                                       // 17: two calls
    virtual int GetExecutableExts(char* buffer) = 0;                                   // 18: two calls
    virtual int GetReportFiles(char* buffer) = 0;                                      // 19: two calls
    virtual int GetBuildTargets(char* buffer) = 0;                                     // 20: two calls, one text
    virtual BOOL GetPartNumbersOfKind(DWORD kind, I_CUStringList* list) = 0;           // 21
    virtual BOOL GetIncludedFiles(const char* path, I_CUStringList* list) = 0;         // 22
    virtual BOOL GetEmbeddedFiles(const char* path, I_CUStringList* list) = 0;         // 23
    virtual BOOL GetOutputFile(char* buffer) = 0;                                      // 24: PM_PATH_SIZE
    virtual BOOL GetSecondOutputFile(char* buffer) = 0;                                // 25: PM_PATH_SIZE
    virtual BOOL GetDefaultTool(char* listFile, char* section) = 0;                    // 26: 256 each
    virtual DWORD GetBuiltObjectCount() = 0;                                           // 27: a bit per part
    virtual BOOL Clean(DWORD what) = 0;                                                // 28
    virtual BOOL AcceptOutputRecord(tagMessageRecord* record) = 0;                     // 29
    virtual BOOL IsBuildNeeded() = 0;                                                  // 30
    virtual BOOL Compile(const char* folder, const char* path) = 0;                    // 31
    virtual BOOL Build(BOOL rebuild) = 0;                                              // 32
    virtual void StopBuild() = 0;                                                      // 33
    virtual BOOL AddNewFile(I_CUStringList* path, int folder, int subFolder) = 0;      // 34
    virtual BOOL AddFiles(I_CUStringList* paths, const char* folder, const char* subFolder) = 0;   // 35
    virtual BOOL RemoveFiles(I_CUStringList* paths, int folder, int subFolder) = 0;    // 36
    virtual BOOL IsReadyToBuild() = 0;                                                 // 37
    virtual BOOL SetChip(const char* partNumber) = 0;                                  // 38
    virtual BOOL AreSettingsComplete(int* page) = 0;                                   // 39
    virtual BOOL HasMaskOptions() = 0;                                                 // 40
    virtual int GetExtraOptionPageCount() = 0;                                         // 41
    virtual BOOL CreateExtraOptionPage(HWND parent, HWND* pages, char* labels) = 0;    // 42
    virtual BOOL ApplyOptions(I_PMProjectOptions* options) = 0;                        // 43
    virtual BOOL RunFileAction(const char* folder, const char* path, int action) = 0;  // 44
    virtual BOOL PrepareDownload(WORD* flags, DWORD downloaded) = 0;                   // 45
    virtual I_PMFileObjects* GetFileObjects() = 0;                                     // 46
    virtual BOOL AddSubFolder(const char* folder, const char* name) = 0;               // 47
    virtual BOOL DeleteSubFolder(const char* folder, const char* name) = 0;            // 48
    virtual BOOL SetActiveSubFolder(const char* folder, const char* name) = 0;         // 49
    virtual BOOL RunFolderAction(const char* folder, const char* subFolder, int action,
                                 I_CUStringList* filesToOpen) = 0;                     // 50
    virtual BOOL RenameSubFolder(const char* folder, const char* oldName, const char* newName) = 0;  // 51
    virtual BOOL IsWizardAvailable(DWORD kind) = 0;                                    // 52
    virtual BOOL RunWizard(DWORD kind, void* record, DWORD size) = 0;                  // 53
    virtual BOOL SaveAsTemplate(const char* path, DWORD a, DWORD b, DWORD c) = 0;      // 54
    virtual BOOL CreateFromTemplate(const char* folder, const char* name, const char* partNumber,
                                    DWORD kind, const char* templatePath) = 0;         // 55
protected:
    ~I_ProjectMgr() {}
};

class I_ProjectAgent {
public:
    // Interface PROJECTMGR_INTERFACE_ID gives the I_ProjectMgr; 1 means given.
    virtual DWORD GetInterface(DWORD id, I_ProjectMgr** manager) = 0;   // 0
protected:
    ~I_ProjectAgent() {}
};

// The entry: non-zero with the agent (a static object the caller neither keeps nor releases).
typedef BOOL(__stdcall* PFN_CreateProjectMgrInstance)(HWND owner, I_ProjectAgent** agent);
