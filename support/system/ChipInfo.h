// Holder of the chip-information service: one module and one service per process,
// loaded on first use and released when the last holder goes.
#pragma once
#include <windows.h>
#include "components/include/ChipInfoInterface.h"

class C_ChipInfoPtr {
public:
    C_ChipInfoPtr();
    virtual ~C_ChipInfoPtr();
    C_ChipInfoPtr(const C_ChipInfoPtr&) = delete;
    C_ChipInfoPtr& operator=(const C_ChipInfoPtr&) = delete;

    BOOL Load(HWND owner);
    I_ChipItem* GetChipItem(const char* name);
    BOOL GetChipList(const char* name, I_CUStringList* list, DWORD projectType, DWORD projectSubType);
};

// The library's own holder, alive for the whole run of every program that uses
// holders, so that the service loads once and lives until the process ends.
extern C_ChipInfoPtr g_ChipInfoHolder;

// An object answering numbered values through its slot 1.
class I_CUValueObject {
public:
    virtual void Reserved0() = 0;
    virtual BOOL QueryValue(DWORD number, DWORD* value) = 0;   // slot 1
protected:
    ~I_CUValueObject() {}
};

DWORD QueryObjectValue(I_CUValueObject* object, DWORD number);
DWORD QueryValue3(I_CUValueObject* object);
DWORD QueryValue4(I_CUValueObject* object);
DWORD QueryValue7(I_CUValueObject* object);
