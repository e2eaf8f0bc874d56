#include "support/system/InstanceRegistry.h"
#include "support/config/CUPath.h"
#include "support/text/TextHelpers.h"
#include <cstring>
#include <vector>

C_InstanceRegistry::C_InstanceRegistry() : m_hMapping(nullptr), m_hMutex(nullptr)
{
    m_hMutex = CreateMutexA(nullptr, FALSE, INSTINFO_MUTEX_NAME);
}

C_InstanceRegistry::~C_InstanceRegistry()
{
    if (m_hMapping)
        CloseHandle(m_hMapping);
    if (m_hMutex)
        CloseHandle(m_hMutex);
}

// Opens the shared table, creating and formatting it when asked and it does not exist.
bool C_InstanceRegistry::OpenTable(bool create)
{
    if (m_hMapping)
        return true;
    m_hMapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, INSTINFO_MAPPING_NAME);
    if (m_hMapping || !create || !m_hMutex)
        return m_hMapping != nullptr;
    HANDLE h = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(tagInstInfoTable),
                                  INSTINFO_MAPPING_NAME);
    if (!h)
        return false;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Made by another program meanwhile: use it as it is.
        m_hMapping = h;
        return true;
    }
    void* view = MapViewOfFile(h, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(tagInstInfoTable));
    if (!view) {
        CloseHandle(h);
        return false;
    }
    tagInstInfoTable* table = static_cast<tagInstInfoTable*>(view);
    memset(table, 0, sizeof(*table));
    memcpy(table->header.magic, "ZIDEInst", 8);
    table->header.headerSize = sizeof(tagInstInfoHeader);
    table->header.version = INSTINFO_VERSION;
    table->header.recordCount = INSTINFO_RECORDS;
    table->header.recordSize = sizeof(tagInstInfoEntry);
    table->header.liveRecords = 0;
    UnmapViewOfFile(view);
    m_hMapping = h;
    return true;
}

// Maps exactly the table's size: an object of the same name made smaller by another
// program fails here rather than being read past its end.
tagInstInfoTable* C_InstanceRegistry::MapTable()
{
    return static_cast<tagInstInfoTable*>(MapViewOfFile(m_hMapping, FILE_MAP_ALL_ACCESS, 0, 0,
                                                        sizeof(tagInstInfoTable)));
}

namespace {

// The live count as stored, unless another program left one the table cannot hold:
// then the records in use are counted.
uint32_t SaneLiveCount(const tagInstInfoTable* table)
{
    if (table->header.liveRecords <= INSTINFO_RECORDS)
        return table->header.liveRecords;
    uint32_t n = 0;
    for (int i = 0; i < INSTINFO_RECORDS; ++i)
        if (table->entries[i].flags & INSTINFO_IN_USE)
            ++n;
    return n;
}

} // namespace

tagInstInfoEntry* C_InstanceRegistry::FindFreeEntry(tagInstInfoTable* table)
{
    for (int i = 0; i < INSTINFO_RECORDS; ++i)
        if (!(table->entries[i].flags & INSTINFO_IN_USE))
            return &table->entries[i];
    return nullptr;
}

tagInstInfoEntry* C_InstanceRegistry::FindEntry(tagInstInfoTable* table, DWORD processId)
{
    for (int i = 0; i < INSTINFO_RECORDS; ++i)
        if ((table->entries[i].flags & INSTINFO_IN_USE) && table->entries[i].processId == processId)
            return &table->entries[i];
    return nullptr;
}

BOOL C_InstanceRegistry::Register(DWORD processId, DWORD invokerId, DWORD invokerWindow)
{
    WaitForSingleObject(m_hMutex, INFINITE);
    BOOL ok = FALSE;
    if (OpenTable(true)) {
        if (tagInstInfoTable* table = MapTable()) {
            if (tagInstInfoEntry* entry = FindFreeEntry(table)) {
                uint32_t live = SaneLiveCount(table);
                memset(entry, 0, sizeof(*entry));
                entry->processId = processId;
                entry->flags = INSTINFO_IN_USE;
                entry->invokerId = invokerId;
                entry->invokerWindow = invokerWindow;
                table->header.liveRecords = live < (uint32_t)INSTINFO_RECORDS ? live + 1 : (uint32_t)INSTINFO_RECORDS;
                ok = TRUE;
            }
            UnmapViewOfFile(table);
        }
    }
    ReleaseMutex(m_hMutex);
    return ok;
}

BOOL C_InstanceRegistry::Unregister(DWORD processId)
{
    WaitForSingleObject(m_hMutex, INFINITE);
    BOOL ok = FALSE;
    if (OpenTable(false)) {
        if (tagInstInfoTable* table = MapTable()) {
            if (tagInstInfoEntry* entry = FindEntry(table, processId)) {
                uint32_t live = SaneLiveCount(table);
                memset(entry, 0, sizeof(*entry));
                table->header.liveRecords = live > 0 ? live - 1 : 0;
                ok = TRUE;
            }
            UnmapViewOfFile(table);
        }
    }
    ReleaseMutex(m_hMutex);
    return ok;
}

BOOL C_InstanceRegistry::SetMainWindow(DWORD processId, DWORD window)
{
    WaitForSingleObject(m_hMutex, INFINITE);
    BOOL ok = FALSE;
    if (OpenTable(false)) {
        if (tagInstInfoTable* table = MapTable()) {
            if (tagInstInfoEntry* entry = FindEntry(table, processId)) {
                entry->mainWindow = window;
                ok = TRUE;
            }
            UnmapViewOfFile(table);
        }
    }
    ReleaseMutex(m_hMutex);
    return ok;
}

UINT C_InstanceRegistry::GetCount()
{
    WaitForSingleObject(m_hMutex, INFINITE);
    UINT count = 0;
    if (OpenTable(false)) {
        if (tagInstInfoTable* table = MapTable()) {
            count = SaneLiveCount(table);
            UnmapViewOfFile(table);
        }
    }
    ReleaseMutex(m_hMutex);
    return count;
}

BOOL ParseVersionHex(const char* text, UINT* value)
{
    UINT v = 0xFFFFFFFFu;
    for (const char* p = text ? text : ""; *p; ++p) {
        UINT digit;
        if (*p >= '0' && *p <= '9')
            digit = static_cast<UINT>(*p - '0');
        else if (*p >= 'A' && *p <= 'F')
            digit = static_cast<UINT>(*p - 'A' + 10);
        else
            return FALSE;
        v = v * 16u + digit;
    }
    *value = v;
    return TRUE;
}

BOOL ReadVersionValue(const char* file, const char* section, const char* key, UINT* major, UINT* minor,
                      UINT* build)
{
    if (!FileExists(file))
        return FALSE;
    char buf[128] = {0};
    if (GetPrivateProfileStringA(section, key, "", buf, sizeof(buf), file) == 0)
        return FALSE;
    CharUpperBuffA(buf, 40);
    UINT values[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        C_CUString field = GetField(buf, i + 1);
        if (field.empty() || !ParseVersionHex(field, &values[i]))
            return FALSE;
    }
    if (((values[0] + values[1] + values[2] + values[3]) & 0xFFu) != 0)
        return FALSE;
    *major = ~values[0];
    *minor = ~values[1];
    *build = ~values[2];
    return TRUE;
}

C_CUString GetComponentVersionText(const C_CUString& fileName, const C_CUString& section,
                                   const C_CUString& displayName)
{
    C_CUString path = GetAppDirectory(TRUE) + fileName;
    UINT major = 0, minor = 0, build = 0;
    C_CUString version;
    if (ReadVersionValue(path, section, "Version", &major, &minor, &build))
        version.Format("%X.%02X.%03X", major, minor, build);
    else
        version = "Unknown";
    C_CUString result;
    result.Format("%s Ver. %s", static_cast<const char*>(displayName), static_cast<const char*>(version));
    return result;
}

// The buffer's size is given: a description longer than it is cut and terminated.
void GetProgramDescription(char* buffer, int size)
{
    if (!buffer || size <= 0)
        return;
    buffer[0] = '\0';
    char path[MAX_PATH + 1] = {0};
    GetModuleFileNameA(g_hInstance, path, MAX_PATH);
    DWORD dummy = 0;
    DWORD len = GetFileVersionInfoSizeA(path, &dummy);
    if (!len)
        return;
    std::vector<char> data(len);
    if (!GetFileVersionInfoA(path, 0, len, data.data()))
        return;
    void* value = nullptr;
    UINT valueLen = 0;
    if (!VerQueryValueA(data.data(), "\\StringFileInfo\\040904b0\\FileDescription", &value, &valueLen) ||
        !value)
        return;
    lstrcpynA(buffer, static_cast<const char*>(value), size);
}
