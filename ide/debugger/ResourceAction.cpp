#include "ide/debugger/ResourceAction.h"
#include "components/include/PreviewInterface.h"
#include "support/config/CUPath.h"
#include "support/config/ProfileHelpers.h"
#include "support/text/TextHelpers.h"

C_ResourceEditor::C_ResourceEditor(C_ApplicationBroker* pBroker, I_Application* pApplication, const char* pszPath)
    : m_strPath(pszPath), m_pBroker(pBroker), m_pApplication(pApplication)
{
}

BYTE C_ResourceEditor::Run(HWND hOwner, const char* pszFile, void*)
{
    if (!m_pBroker || !m_pApplication)
        return FALSE;
    tagApBrokerRequest request;
    memset(&request, 0, sizeof request);
    request.senderWindow = (uint32_t)(UINT_PTR)hOwner;
    lstrcpynA(request.senderName, "Kelbray IDE", sizeof request.senderName);
    lstrcpynA(request.targetName, m_pApplication->GetName(), sizeof request.targetName);
    lstrcpynA(request.filePath, pszFile ? pszFile : "", sizeof request.filePath);
    int nMode = AP_OPEN_NO_POST;
    for (const char* pszTitle : {"Kelbray Tone Sift", "WaveDesk", "Kelbray Voice Forge", "Pixmere"})
        if (lstrcmpiA(m_pApplication->GetName(), pszTitle) == 0)
            nMode = AP_OPEN_BY_NAME_3;
    if (m_pBroker->Open(&request, nMode))
        return TRUE;
    return m_pBroker->Open(&request, AP_OPEN_BY_NAME) ? TRUE : FALSE;
}

C_ResourcePreview* C_ResourcePreview::s_pCurrent = nullptr;

C_ResourcePreview::C_ResourcePreview(C_ApplicationBroker* pBroker, I_Application* pApplication, const char* pszPath)
    : C_ResourceEditor(pBroker, pApplication, pszPath)
{
    m_hModule = ::LoadLibraryA(pszPath);
}

C_ResourcePreview::~C_ResourcePreview()
{
    if (s_pCurrent == this)
        s_pCurrent = nullptr;
    if (m_hModule)
        ::FreeLibrary(m_hModule);
}

BOOL C_ResourcePreview::Stop(HWND hOwner)
{
    auto pfnStop = m_hModule ? reinterpret_cast<PFN_StopPreview>(
                                   reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, PREVIEW_STOP_ENTRY_NAME)))
                             : nullptr;
    return pfnStop ? pfnStop(hOwner) : FALSE;
}

BYTE C_ResourcePreview::Run(HWND hOwner, const char* pszFile, void* pExtra)
{
    if (s_pCurrent) {
        if (!s_pCurrent->Stop(hOwner))
            return FALSE;
        s_pCurrent = nullptr;
    }
    auto pfnPreview = m_hModule ? reinterpret_cast<PFN_Preview>(
                                      reinterpret_cast<void (*)()>(::GetProcAddress(m_hModule, PREVIEW_ENTRY_NAME)))
                                : nullptr;
    if (!pfnPreview)
        return FALSE;
    BOOL bStarted = pfnPreview(hOwner, pszFile, static_cast<int*>(pExtra));
    if (bStarted)
        s_pCurrent = this;
    return bStarted ? TRUE : FALSE;
}

C_ResourceAction::C_ResourceAction(HWND hOwner) : m_hOwner(hOwner) {}

C_ResourceAction::~C_ResourceAction()
{
    // The running preview is stopped before its previewer goes.
    for (POSITION pos = m_previews.GetHeadPosition(); pos;)
        if (static_cast<C_ResourcePreview*>(m_previews.GetNext(pos)) == C_ResourcePreview::s_pCurrent)
            StopPreview();
    for (CObList* pList : {&m_editors, &m_previews})
        for (POSITION pos = pList->GetHeadPosition(); pos;)
            delete pList->GetNext(pos);
}

BOOL C_ResourceAction::Load(const char* pszConfigPath)
{
    if (::GetFileAttributesA(pszConfigPath) == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    m_editorBroker.Load(pszConfigPath, "Resource Editor", "Editor");
    CPtrArray& editors = m_editorBroker.GetApplications();
    for (INT_PTR i = 0; i < editors.GetSize(); ++i) {
        I_Application* pApp = static_cast<I_Application*>(editors[i]);
        m_editors.AddTail(new C_ResourceEditor(&m_editorBroker, pApp, pApp->GetPath()));
    }
    m_previewBroker.Load(pszConfigPath, "Resource Editor", "Preview");
    CPtrArray& previews = m_previewBroker.GetApplications();
    for (INT_PTR i = 0; i < previews.GetSize(); ++i) {
        I_Application* pApp = static_cast<I_Application*>(previews[i]);
        m_previews.AddTail(new C_ResourcePreview(&m_previewBroker, pApp, pApp->GetPath()));
    }
    C_CUString strHidden;
    GetProfileValue(pszConfigPath, "Resource Editor", "HidePreviewWindow", strHidden, 0, 0);
    for (int f = 1;; ++f) {
        C_CUString field = GetField(strHidden, f);
        if (field.IsEmpty())
            break;
        m_hidden.push_back(atoi(field));
    }
    return TRUE;
}

C_ResourceEditor* C_ResourceAction::FindIn(CObList& list, const char* pszFile, int* pnNumber)
{
    C_CUString ext = C_CUPath(pszFile ? pszFile : "").GetExt();
    int n = 1;
    for (POSITION pos = list.GetHeadPosition(); pos; ++n) {
        C_ResourceEditor* pEntry = static_cast<C_ResourceEditor*>(list.GetNext(pos));
        if (pEntry->HandlesExtension(ext)) {
            if (pnNumber)
                *pnNumber = n;
            return pEntry;
        }
    }
    if (pnNumber)
        *pnNumber = -1;
    return nullptr;
}

C_ResourceEditor* C_ResourceAction::FindEditor(const char* pszFile, int* pnNumber)
{
    return FindIn(m_editors, pszFile, pnNumber);
}

C_ResourcePreview* C_ResourceAction::FindPreview(const char* pszFile, int* pnNumber)
{
    return static_cast<C_ResourcePreview*>(FindIn(m_previews, pszFile, pnNumber));
}

BOOL C_ResourceAction::Edit(const char* pszFile)
{
    C_ResourceEditor* pEditor = FindEditor(pszFile);
    return pEditor ? pEditor->Run(m_hOwner, pszFile, nullptr) : FALSE;
}

BOOL C_ResourceAction::Preview(const char* pszFile, int nStart)
{
    C_ResourcePreview* pPreview = FindPreview(pszFile);
    return pPreview ? pPreview->Run(m_hOwner, pszFile, &nStart) : FALSE;
}

BOOL C_ResourceAction::IsPreviewWindowHidden(const char* pszFile)
{
    int nNumber = -1;
    if (!FindPreview(pszFile, &nNumber))
        return FALSE;
    for (int h : m_hidden)
        if (h == nNumber)
            return TRUE;
    return FALSE;
}

BOOL C_ResourceAction::StopPreview()
{
    C_ResourcePreview* pCurrent = C_ResourcePreview::s_pCurrent;
    if (!pCurrent)
        return FALSE;
    BOOL bStopped = pCurrent->Stop(m_hOwner);
    C_ResourcePreview::s_pCurrent = nullptr;
    return bStopped;
}
