// The table of resource editors (other programs, reached through the
// application broker) and previewers (modules loaded into the IDE that play a
// file), chosen by a file's extension; both come from the configuration file's
// section "Resource Editor".
#pragma once
#include "afx/afx.h"
#include "afx/collections.h"
#include "support/system/ApplicationBroker.h"
#include "support/text/CUString.h"
#include <vector>

class C_ResourceEditor : public CObject
{
public:
    C_ResourceEditor(C_ApplicationBroker* pBroker, I_Application* pApplication, const char* pszPath);
    ~C_ResourceEditor() override {}
    BOOL HandlesExtension(const char* pszExt) { return m_pApplication && m_pApplication->HasExtension(pszExt); }
    // Hands the file to the editor: "WaveDesk" and the maker's sibling tools in
    // mode 3, others in mode 4, each once more in mode 0 when refused.
    virtual BYTE Run(HWND hOwner, const char* pszFile, void* pExtra);

    C_CUString m_strPath;
    C_ApplicationBroker* m_pBroker;
    I_Application* m_pApplication;
};

class C_ResourcePreview : public C_ResourceEditor
{
public:
    C_ResourcePreview(C_ApplicationBroker* pBroker, I_Application* pApplication, const char* pszPath);
    ~C_ResourcePreview() override;
    // Plays the file from *pExtra percent; one preview runs in the whole process.
    BYTE Run(HWND hOwner, const char* pszFile, void* pExtra) override;
    BOOL Stop(HWND hOwner);

    HMODULE m_hModule = nullptr;
    // The previewer playing now, if any.
    static C_ResourcePreview* s_pCurrent;
};

class C_ResourceAction
{
public:
    explicit C_ResourceAction(HWND hOwner);
    virtual ~C_ResourceAction();
    C_ResourceAction(const C_ResourceAction&) = delete;
    C_ResourceAction& operator=(const C_ResourceAction&) = delete;

    // FALSE when the configuration file does not exist.
    BOOL Load(const char* pszConfigPath);
    BOOL CanEdit(const char* pszFile) { return FindEditor(pszFile) != nullptr; }
    BOOL CanPreview(const char* pszFile) { return FindPreview(pszFile) != nullptr; }
    BOOL Edit(const char* pszFile);
    BOOL Preview(const char* pszFile, int nStart);
    BOOL IsPreviewWindowHidden(const char* pszFile);
    BOOL StopPreview();

    HWND m_hOwner;
    CObList m_editors{ 10 };
    CObList m_previews{ 10 };
    std::vector<int> m_hidden;   // previewer numbers, from 1
    C_ApplicationBroker m_editorBroker;
    C_ApplicationBroker m_previewBroker;

protected:
    C_ResourceEditor* FindEditor(const char* pszFile, int* pnNumber = nullptr);
    C_ResourcePreview* FindPreview(const char* pszFile, int* pnNumber = nullptr);
    C_ResourceEditor* FindIn(CObList& list, const char* pszFile, int* pnNumber);
};
