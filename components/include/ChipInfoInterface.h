// The chip-information component's interfaces, shared by the component and its loader.
// Objects cross the DLL boundary: no virtual destructors (g++ would give them two
// slots), and every operation sits at a fixed slot with named fillers in between.
#pragma once
#include <windows.h>
#include "support/text/CUStringList.h"

class I_ChipItem {
public:
    virtual void Reserved0() = 0;
    virtual void Reserved1() = 0;
    virtual void Reserved2() = 0;
    virtual void Reserved3() = 0;
    virtual void Reserved4() = 0;
    virtual void Reserved5() = 0;
    virtual void Reserved6() = 0;
    virtual void Reserved7() = 0;
    virtual void Reserved8() = 0;
    virtual void Reserved9() = 0;
    virtual void Reserved10() = 0;
    virtual void Reserved11() = 0;
    virtual void Reserved12() = 0;
    virtual void Reserved13() = 0;
    virtual void Reserved14() = 0;
    virtual void Reserved15() = 0;
    virtual void Reserved16() = 0;
    virtual void Reserved17() = 0;
    virtual void Reserved18() = 0;
    virtual void Reserved19() = 0;
    virtual void Reserved20() = 0;
    // Slot 21: non-zero when the chip may be downloaded without debugging.
    virtual DWORD GetDownloadOnly() = 0;
protected:
    ~I_ChipItem() {}
};

class I_ChipInfo {
public:
    virtual void Reserved0() = 0;
    virtual void Release() = 0;                                   // slot 1
    virtual BOOL Initialize(const char* configFile) = 0;          // slot 2
    virtual I_ChipItem* GetChipItem(const char* name) = 0;        // slot 3; owned by the service
    virtual void Reserved4() = 0;
    virtual void Reserved5() = 0;
    virtual void Reserved6() = 0;
    virtual BOOL GetChipList(const char* name, I_CUStringList* list,
                             DWORD projectType, DWORD projectSubType) = 0;   // slot 7
protected:
    ~I_ChipInfo() {}
};

// The component's one export: interface number 1 gives an I_ChipInfo.
typedef BOOL(WINAPI* PFN_CreateServiceInstance)(DWORD interfaceId, I_ChipInfo** service);

#define CHIPINFO_DLL_NAME "ChipInfo.dll"
#define CHIPINFO_CFG_NAME "ChipInfo.cfg"
#define CHIPINFO_ENTRY_NAME "CreateServiceInstance"
