// The start-up benchmark's baseline: the least a program of this framework shows, an empty
// MDI frame of the program's frame resource, found the way the IDE is found (the instance
// registry records its window).
#include "afx/afx.h"
#include "framework/frames/TWKMDIFrameWnd.h"
#include "support/system/InstanceRegistry.h"

namespace {

const UINT kFrameID = 128;   // the program's frame resource

class CEmptyFrameApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        m_registry.Register(GetCurrentProcessId(), 0, 0);
        auto* pFrame = new TWKMDIFrameWnd;
        if (!pFrame->LoadFrame(kFrameID)) {
            m_registry.Unregister(GetCurrentProcessId());
            return FALSE;
        }
        m_pMainWnd = pFrame;
        m_registry.SetMainWindow(GetCurrentProcessId(), static_cast<DWORD>(reinterpret_cast<uintptr_t>(pFrame->m_hWnd)));
        pFrame->ShowWindow(m_nCmdShow);
        pFrame->UpdateWindow();
        return TRUE;
    }
    int ExitInstance() override
    {
        m_registry.Unregister(GetCurrentProcessId());
        return CWinApp::ExitInstance();
    }

private:
    C_InstanceRegistry m_registry;
};

CEmptyFrameApp theApp;

} // namespace
