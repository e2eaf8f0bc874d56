// The table of running IDE processes shared with other programs, and version values.
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include "support/text/CUString.h"

#define INSTINFO_MAPPING_NAME "ZIDEInstInfo"
#define INSTINFO_MUTEX_NAME "ZIDEInstInfoMutex"

enum {
    INSTINFO_RECORDS = 256,
    INSTINFO_VERSION = 0x10000,
    INSTINFO_IN_USE = 1,
};

// Other programs read this table: fixed 32-bit fields, window handles as 32-bit values.
#pragma pack(push, 4)
struct tagInstInfoHeader {
    char magic[8];           // "ZIDEInst", no terminator
    uint32_t headerSize;     // 40
    uint32_t version;        // 0x10000
    uint32_t recordCount;    // 256
    uint32_t recordSize;     // 40
    uint32_t liveRecords;
    uint32_t reserved[3];
};

struct tagInstInfoEntry {
    uint32_t flags;          // bit 0: in use
    uint32_t processId;
    uint32_t reserved1;
    uint32_t mainWindow;
    uint32_t reserved2;
    uint32_t invokerId;
    uint32_t invokerWindow;
    uint32_t reserved3[3];
};

struct tagInstInfoTable {
    tagInstInfoHeader header;
    tagInstInfoEntry entries[INSTINFO_RECORDS];
};
#pragma pack(pop)

static_assert(sizeof(tagInstInfoHeader) == 40, "instance table header is 40 bytes");
static_assert(sizeof(tagInstInfoEntry) == 40, "instance record is 40 bytes");
static_assert(sizeof(tagInstInfoTable) == 10280, "instance table is 10,280 bytes");
static_assert(offsetof(tagInstInfoHeader, liveRecords) == 24, "live count at 24");
static_assert(offsetof(tagInstInfoEntry, mainWindow) == 12 && offsetof(tagInstInfoEntry, invokerId) == 20 &&
              offsetof(tagInstInfoEntry, invokerWindow) == 24, "instance record layout");

class C_InstanceRegistry {
public:
    C_InstanceRegistry();
    virtual ~C_InstanceRegistry();
    C_InstanceRegistry(const C_InstanceRegistry&) = delete;
    C_InstanceRegistry& operator=(const C_InstanceRegistry&) = delete;

    BOOL Register(DWORD processId, DWORD invokerId, DWORD invokerWindow);
    BOOL Unregister(DWORD processId);
    BOOL SetMainWindow(DWORD processId, DWORD window);
    UINT GetCount();

    static tagInstInfoEntry* FindFreeEntry(tagInstInfoTable* table);
    static tagInstInfoEntry* FindEntry(tagInstInfoTable* table, DWORD processId);

private:
    bool OpenTable(bool create);
    tagInstInfoTable* MapTable();

    HANDLE m_hMapping;
    HANDLE m_hMutex;
};

BOOL ReadVersionValue(const char* file, const char* section, const char* key, UINT* major, UINT* minor,
                      UINT* build);
BOOL ParseVersionHex(const char* text, UINT* value);
C_CUString GetComponentVersionText(const C_CUString& fileName, const C_CUString& section,
                                   const C_CUString& displayName);
void GetProgramDescription(char* buffer, int size);
