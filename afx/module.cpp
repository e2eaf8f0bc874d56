#include "afx/module.h"

namespace {
HINSTANCE& ResourceHandle()
{
    static HINSTANCE h = nullptr;
    return h;
}
}

HINSTANCE AfxGetResourceHandle()
{
    HINSTANCE h = ResourceHandle();
    return h ? h : GetModuleHandleA(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    ResourceHandle() = hInstResource;
}
