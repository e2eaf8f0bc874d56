// The ICE manager as the debug windows see it: operations in this slot
// order, no data and no destructor slot.
#pragma once
#include <windows.h>

class I_ZIceMgr {
public:
    virtual BOOL GetPCAddress(DWORD* a, DWORD* b) = 0;
    virtual BOOL AddressToSource(DWORD a, DWORD b, int size, char* path, int* line) = 0;
    virtual BOOL SourceToAddress(const char* path, int line, DWORD* a, DWORD* b) = 0;
    virtual BOOL AddressToListing(DWORD a, DWORD b, char* path, int* line, int* reload) = 0;
    virtual BOOL GetPCListingLine(char* path, int* line, int* reload) = 0;
    virtual BOOL UpdateDisAsmListing(DWORD a, DWORD b) = 0;
    virtual BOOL SetSourceLevelStep(BOOL bSource) = 0;
    virtual BOOL EditBreakpoints() = 0;
    virtual BOOL GetHistoryText(char** text) = 0;
    virtual void ClearHistory() = 0;
    virtual const char* GetDownloadedFile() = 0;
    virtual BOOL IsBusy() = 0;
    virtual BOOL WriteMemory(int page, int item, int offset, int value) = 0;
    virtual BOOL ReadMemory(DWORD space, DWORD address, void* buffer) = 0;
    virtual BOOL IsHistoryAvailable() = 0;
    virtual BOOL IsStatus200() = 0;
    virtual BOOL SupportsCallStack() = 0;
    virtual BOOL IsCallStackAllowed() = 0;
    virtual BOOL GetInterface(DWORD id, void** out) = 0;

protected:
    ~I_ZIceMgr() = default;
};
