// The project-manager stand-in loaded from a folder of its own, so that its
// test keys and its trace belong to one test.
#pragma once
#include <gtest/gtest.h>
#include "components/include/ProjectMgrInterface.h"
#include "tests/harness/harness.h"
#include <string>

namespace vt {

// The stand-in loaded from a folder of its own, so that its test keys and its
// trace belong to this test.
struct PrivateProjectMgr {
    explicit PrivateProjectMgr(HWND owner, const std::string& ini)
    {
        std::string dll = dir.File(PROJECTMGR_DLL_NAME);
        EXPECT_TRUE(CopyFileA((vt::ProgramFolder() + PROJECTMGR_DLL_NAME).c_str(), dll.c_str(), FALSE));
        vt::WriteFileBytes(dir.File("VeltaneProjectMgr.ini"), "[Trace]\r\nEnable=1\r\nFile=" + Trace() + "\r\n" + ini);
        module = LoadLibraryA(dll.c_str());
        // Through the generic function type: no cast between unrelated function types.
        auto create = module ? reinterpret_cast<PFN_CreateProjectMgrInstance>(reinterpret_cast<void (*)()>(
                                   GetProcAddress(module, PROJECTMGR_ENTRY_NAME)))
                             : nullptr;
        I_ProjectAgent* agent = nullptr;
        if (create && create(owner, &agent) && agent)
            agent->GetInterface(PROJECTMGR_INTERFACE_ID, &mgr);
        EXPECT_TRUE(mgr);
        if (mgr)
            mgr->Init(1);
    }
    ~PrivateProjectMgr()
    {
        if (mgr)
            mgr->Release();
        if (module)
            FreeLibrary(module);
    }
    std::string Trace() const { return dir.File("trace.log"); }
    int Calls(const std::string& line) const
    {
        std::string text = vt::ReadFileBytes(Trace());
        int n = 0;
        for (size_t p = text.find(line + "\r\n"); p != std::string::npos; p = text.find(line + "\r\n", p + 1))
            n += p == 0 || text[p - 1] == '\n';
        return n;
    }
    vt::TempDir dir;
    HMODULE module = nullptr;
    I_ProjectMgr* mgr = nullptr;
};

}  // namespace vt
