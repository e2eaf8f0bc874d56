#include "support/system/ApplicationBroker.h"
#include "support/config/CUPath.h"
#include "support/config/ProfileHelpers.h"
#include "support/text/TextHelpers.h"
#include <mbstring.h>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* const kMappingName = AP_BROKER_SIGNATURE;
const DWORD kRequestSize = sizeof(tagApBrokerRequest);

HWND ToWindow(uint32_t value) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(value))); }
uint32_t FromWindow(HWND hwnd) { return static_cast<uint32_t>(reinterpret_cast<ULONG_PTR>(hwnd)); }

HANDLE OpenBrokerMapping() { return OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kMappingName); }

HANDLE CreateBrokerMapping()
{
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        AP_BROKER_TABLE_SIZE, kMappingName);
    if (!mapping)
        return nullptr;
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, AP_BROKER_TABLE_SIZE);
    if (!view) {
        CloseHandle(mapping);
        return nullptr;
    }
    memset(view, 0, AP_BROKER_TABLE_SIZE);
    UnmapViewOfFile(view);
    return mapping;
}

// Leading decimal digits; 0 when there are none.
UINT LeadingNumber(const char* text)
{
    UINT value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + static_cast<UINT>(*p - '0');
    return value;
}

void CopyText(char* field, size_t width, const char* text)
{
    memset(field, 0, width);
    lstrcpynA(field, text ? text : "", static_cast<int>(width));
}

struct FindTarget {
    const char* name;
    HWND found;
};

BOOL CALLBACK FindTargetWindowProc(HWND hwnd, LPARAM lParam)
{
    FindTarget* find = reinterpret_cast<FindTarget*>(lParam);
    char title[63];
    int n = GetWindowTextA(hwnd, title, sizeof(title));
    if (n <= 0)
        return TRUE;
    title[sizeof(title) - 1] = 0;
    if (_mbsstr(reinterpret_cast<const unsigned char*>(title),
                reinterpret_cast<const unsigned char*>(find->name))) {
        find->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

BOOL IsValidBrokerRequest(const BYTE* slot)
{
    if (memcmp(slot, AP_BROKER_SIGNATURE, sizeof(AP_BROKER_SIGNATURE) - 1) != 0)
        return FALSE;
    uint32_t size;
    memcpy(&size, slot + offsetof(tagApBrokerRequest, size), sizeof(size));
    return size == kRequestSize;
}

void TerminateBrokerRequest(tagApBrokerRequest* request)
{
    request->signature[sizeof(request->signature) - 1] = 0;
    request->senderName[sizeof(request->senderName) - 1] = 0;
    request->targetName[sizeof(request->targetName) - 1] = 0;
    request->projectPath[sizeof(request->projectPath) - 1] = 0;
    request->filePath[sizeof(request->filePath) - 1] = 0;
}

// ---------------------------------------------------------------------------

C_Application::C_Application(const char* path, const char* name, UINT kind, BYTE flag)
    : m_name(name ? name : ""), m_path(path ? path : ""), m_kind(kind), m_flag(flag)
{
}

void C_Application::Release() { delete this; }

int C_Application::CompareName(const char* text) { return strcmp(m_name.c_str(), text ? text : ""); }

BOOL C_Application::HasExtension(const char* extension) { return IsInStringListNoCase(extension, &m_extensions); }

// ---------------------------------------------------------------------------

C_ApplicationBroker::C_ApplicationBroker() : m_mapping(nullptr), m_mutex(nullptr) {}

C_ApplicationBroker::~C_ApplicationBroker()
{
    for (INT_PTR i = 0; i < m_applications.GetSize(); ++i)
        static_cast<I_Application*>(m_applications[i])->Release();
    m_applications.RemoveAll();
    if (m_mapping)
        CloseHandle(m_mapping);
    if (m_mutex)
        CloseHandle(m_mutex);
}

void C_ApplicationBroker::Release() { delete this; }

BOOL C_ApplicationBroker::AddApplication(const char* program, const char* name, UINT kind, BYTE flag)
{
    char path[MAX_PATH + 1] = "";
    if (!program || !FindSystemProgram(program, path))
        return FALSE;
    m_applications.Add(new C_Application(path, name, kind, flag));
    return TRUE;
}

BOOL C_ApplicationBroker::Load(const char* iniFile, const char* section, const char* prefix)
{
    C_CUStringList values;
    GetProfileList(iniFile, section, prefix, &values, 0, 0);
    values.Reset();
    while (const char* value = values.GetNext()) {
        C_CUString program = GetField(value, 1);
        ResolvePath(iniFile, program, CU_PATH_ABSOLUTE, 0);
        C_Application* app = new C_Application(program, GetField(value, 2), LeadingNumber(GetField(value, 3)),
                                                strcmp(GetField(value, 4), "1") == 0 ? TRUE : FALSE);
        for (int n = 5;; ++n) {
            C_CUString ext = GetField(value, n);
            if (ext.empty())
                break;
            app->AddExtension(ext);
        }
        m_applications.Add(app);
    }
    if (!m_mutex)
        m_mutex = CreateMutexA(nullptr, FALSE, AP_BROKER_MUTEX);
    return TRUE;
}

BOOL C_ApplicationBroker::HoldMutex()
{
    // A broker that was never loaded still takes the table only under the common lock.
    if (!m_mutex)
        m_mutex = CreateMutexA(nullptr, FALSE, AP_BROKER_MUTEX);
    if (!m_mutex)
        return FALSE;
    DWORD wait = WaitForSingleObject(m_mutex, INFINITE);
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
}

BOOL C_ApplicationBroker::Open(tagApBrokerRequest* request, int mode)
{
    if (!request || m_applications.GetSize() == 0)
        return FALSE;
    TerminateBrokerRequest(request);
    I_Application* chosen = nullptr;
    if (mode == AP_OPEN_BY_EXTENSION) {
        C_CUString ext = C_CUPath(request->filePath).GetExt();
        for (INT_PTR i = 0; i < m_applications.GetSize() && !chosen; ++i) {
            I_Application* app = static_cast<I_Application*>(m_applications[i]);
            if (app->HasExtension(ext))
                chosen = app;
        }
        if (!chosen)
            return FALSE;
        CopyText(request->targetName, sizeof(request->targetName), chosen->GetName());
        mode = AP_OPEN_BY_NAME;
    } else {
        for (INT_PTR i = 0; i < m_applications.GetSize() && !chosen; ++i) {
            I_Application* app = static_cast<I_Application*>(m_applications[i]);
            if (app->CompareName(request->targetName) == 0)
                chosen = app;
        }
        if (!chosen)
            return FALSE;
    }
    return Deliver(request, chosen, mode);
}

BOOL C_ApplicationBroker::Deliver(tagApBrokerRequest* request, I_Application* application, int mode)
{
    if (!HoldMutex())
        return FALSE;
    int slot = 0;
    if (application->GetKind() == AP_KIND_TABLE) {
        if (!QueueRequest(request, &slot)) {
            ReleaseMutex(m_mutex);
            return FALSE;
        }
    } else if (application->GetKind() == AP_KIND_OPENFILE_INI) {
        C_CUString ini = C_CUPath(application->GetPath()).GetFolder() + "OpenFile.ini";
        HANDLE file = CreateFileA(ini, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            ReleaseMutex(m_mutex);
            return FALSE;
        }
        DWORD length = static_cast<DWORD>(strlen(request->filePath));
        DWORD written = 0;
        BOOL ok = WriteFile(file, request->filePath, length, &written, nullptr);
        CloseHandle(file);
        if (!ok || written < length) {
            ReleaseMutex(m_mutex);
            return FALSE;
        }
    }
    BOOL result = mode == AP_OPEN_POST_ONLY ? PostToApplication(request, application, slot)
                                            : LaunchApplication(request, application, slot, mode);
    ReleaseMutex(m_mutex);
    return result;
}

BOOL C_ApplicationBroker::QueueRequest(tagApBrokerRequest* request, int* slot)
{
    if (!m_mapping) {
        m_mapping = OpenBrokerMapping();
        if (!m_mapping)
            m_mapping = CreateBrokerMapping();
        if (!m_mapping)
            return FALSE;
    }
    BYTE* table = static_cast<BYTE*>(MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, AP_BROKER_TABLE_SIZE));
    if (!table)
        return FALSE;
    int free = FindFreeSlot(table);
    if (free < 0) {
        UnmapViewOfFile(table);
        return FALSE;
    }
    tagApBrokerRequest* entry = reinterpret_cast<tagApBrokerRequest*>(table + free * kRequestSize);
    memcpy(entry, request, kRequestSize);
    CopyText(entry->signature, sizeof(entry->signature), AP_BROKER_SIGNATURE);
    entry->size = kRequestSize;
    UnmapViewOfFile(table);
    *slot = free;
    return TRUE;
}

int C_ApplicationBroker::FindFreeSlot(BYTE* table)
{
    for (int i = 0; i < AP_BROKER_SLOTS; ++i)
        if (!IsValidBrokerRequest(table + i * kRequestSize))
            return i;
    return -1;
}

BOOL C_ApplicationBroker::LaunchApplication(tagApBrokerRequest* request, I_Application* application, int slot,
                                            int mode)
{
    // Quoted, so that blanks in either path cannot split the command line.
    std::string command = std::string("\"") + application->GetPath() + "\"";
    if (application->GetKind() == AP_KIND_COMMAND_LINE) {
        command += ' ';
        if (strchr(request->filePath, ' '))
            command += std::string("\"") + request->filePath + "\"";
        else
            command += request->filePath;
    }
    if (application->GetFlag() && PostToApplication(request, application, slot))
        return TRUE;
    if (WinExec(command.c_str(), SW_SHOWNORMAL) <= 31) {
        char text[1024];
        snprintf(text, sizeof(text), "Unable to execute application '%s' !!", command.c_str());
        MessageBoxA(ToWindow(request->senderWindow), text, "Application Broker", MB_OK);
        return FALSE;
    }
    if (mode == AP_OPEN_NO_POST)
        return TRUE;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (PostToApplication(request, application, slot))
            return TRUE;
        Sleep(500);
    }
    return FALSE;
}

BOOL C_ApplicationBroker::PostToApplication(tagApBrokerRequest* request, I_Application* application, int slot)
{
    request->targetWindow = 0;
    // An empty name is in every title: it would pick a stranger's window.
    if (!request->targetName[0])
        return FALSE;
    FindTarget find = {request->targetName, nullptr};
    EnumWindows(FindTargetWindowProc, reinterpret_cast<LPARAM>(&find));
    if (!find.found)
        return FALSE;
    request->targetWindow = FromWindow(find.found);
    if (_mbscmp(reinterpret_cast<const unsigned char*>(request->targetName),
                reinterpret_cast<const unsigned char*>(request->senderName)) != 0)
        SetWindowPos(find.found, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    if (application->GetKind() == AP_KIND_TABLE)
        PostMessageA(find.found, AP_BROKER_WM_REQUEST, static_cast<WPARAM>(slot), 0);
    else if (application->GetKind() == AP_KIND_OPENFILE_INI)
        PostMessageA(find.found, AP_BROKER_WM_OPENFILE, 1, 0);
    return TRUE;
}

BOOL C_ApplicationBroker::TakeRequest(tagApBrokerRequest* request, WPARAM slot)
{
    if (!request || !HoldMutex())
        return FALSE;
    if (!m_mapping)
        m_mapping = OpenBrokerMapping();
    if (!m_mapping) {
        ReleaseMutex(m_mutex);
        return FALSE;
    }
    BYTE* table = static_cast<BYTE*>(MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, AP_BROKER_TABLE_SIZE));
    if (!table) {
        ReleaseMutex(m_mutex);
        return FALSE;
    }
    UINT number = LOWORD(slot);
    BOOL taken = FALSE;
    if (number < AP_BROKER_SLOTS && IsValidBrokerRequest(table + number * kRequestSize)) {
        BYTE* entry = table + number * kRequestSize;
        memcpy(request, entry, kRequestSize);
        memset(entry, 0, kRequestSize);
        TerminateBrokerRequest(request);
        taken = TRUE;
    }
    UnmapViewOfFile(table);
    ReleaseMutex(m_mutex);
    return taken;
}
