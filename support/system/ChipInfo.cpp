#include "support/system/ChipInfo.h"
#include "support/system/DllLoader.h"
#include "support/config/CUPath.h"

namespace {

UINT s_holders = 0;
HMODULE s_module = nullptr;
I_ChipInfo* s_service = nullptr;

const char kCaption[] = "ChipInfo Loader";

} // namespace

// Defined here, beside the holder's constructor, so that every program that
// uses a holder has this one too and the service, once loaded, stays loaded.
C_ChipInfoPtr g_ChipInfoHolder;

C_ChipInfoPtr::C_ChipInfoPtr()
{
    ++s_holders;
}

C_ChipInfoPtr::~C_ChipInfoPtr()
{
    if (s_holders > 0)
        --s_holders;
    if (s_holders != 0)
        return;
    if (s_service) {
        s_service->Release();
        s_service = nullptr;
    }
    if (s_module) {
        FreeLibrary(s_module);
        s_module = nullptr;
    }
}

BOOL C_ChipInfoPtr::Load(HWND owner)
{
    if (s_service)
        return TRUE;
    C_CUString folder = GetAppDirectory(TRUE);
    if (!s_module) {
        C_CUString path = folder + CHIPINFO_DLL_NAME;
        s_module = LoadDllWithMessage(path, kCaption, owner, TRUE);
        if (!s_module)
            return FALSE;
    }
    // Through the generic function type: no object pointer in between.
    PFN_CreateServiceInstance create = reinterpret_cast<PFN_CreateServiceInstance>(
        reinterpret_cast<void (*)()>(GetProcAddressWithMessage(s_module, CHIPINFO_ENTRY_NAME, kCaption, owner, TRUE)));
    if (!create)
        return FALSE;
    I_ChipInfo* service = nullptr;
    if (!create(1, &service) || !service)
        return FALSE;
    s_service = service;
    // The service stays whatever its initialisation says.
    C_CUString config = folder + CHIPINFO_CFG_NAME;
    return s_service->Initialize(config) ? TRUE : FALSE;
}

I_ChipItem* C_ChipInfoPtr::GetChipItem(const char* name)
{
    return s_service ? s_service->GetChipItem(name) : nullptr;
}

BOOL C_ChipInfoPtr::GetChipList(const char* name, I_CUStringList* list, DWORD projectType, DWORD projectSubType)
{
    return s_service ? s_service->GetChipList(name, list, projectType, projectSubType) : FALSE;
}

DWORD QueryObjectValue(I_CUValueObject* object, DWORD number)
{
    if (!object)
        return 0;
    DWORD value = 0;
    return object->QueryValue(number, &value) ? value : 0;
}

DWORD QueryValue3(I_CUValueObject* object) { return QueryObjectValue(object, 3); }
DWORD QueryValue4(I_CUValueObject* object) { return QueryObjectValue(object, 4); }
DWORD QueryValue7(I_CUValueObject* object) { return QueryObjectValue(object, 7); }
