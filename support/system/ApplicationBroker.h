// Opening files in other programs through the shared request table "ApBrokerMappingFile".
#pragma once
#include <windows.h>
#include <cstddef>
#include <cstdint>
#include "afx/collections.h"
#include "support/text/CUString.h"
#include "support/text/CUStringList.h"

#define AP_BROKER_SIGNATURE "ApBrokerMappingFile"
#define AP_BROKER_MUTEX "ApBrokerMutex"
#define AP_BROKER_SLOTS 10
#define AP_BROKER_WM_REQUEST (WM_USER + 12321)   // wParam: slot number
#define AP_BROKER_WM_OPENFILE (WM_USER + 96)     // wParam 1: read "OpenFile.ini"

// One request as it lies in a slot of the shared table; other programs read the same bytes,
// so every field has a fixed width (window handles are kept in 32 bits).
struct tagApBrokerRequest {
    char signature[32];
    uint32_t size;
    char senderName[64];
    uint32_t senderWindow;
    char targetName[64];
    uint32_t targetWindow;
    char projectPath[260];
    char filePath[260];
    char reserved[516];
};
static_assert(sizeof(tagApBrokerRequest) == 1208, "a broker request is 1208 bytes");
static_assert(offsetof(tagApBrokerRequest, size) == 32 && offsetof(tagApBrokerRequest, senderName) == 36 &&
              offsetof(tagApBrokerRequest, senderWindow) == 100 &&
              offsetof(tagApBrokerRequest, targetName) == 104 &&
              offsetof(tagApBrokerRequest, targetWindow) == 168 &&
              offsetof(tagApBrokerRequest, projectPath) == 172 &&
              offsetof(tagApBrokerRequest, filePath) == 432 && offsetof(tagApBrokerRequest, reserved) == 692,
              "broker request layout");

#define AP_BROKER_TABLE_SIZE (AP_BROKER_SLOTS * sizeof(tagApBrokerRequest))
static_assert(AP_BROKER_TABLE_SIZE == 12080, "the shared table is 12080 bytes");

// Request modes of Open.
enum {
    AP_OPEN_BY_NAME = 0,
    AP_OPEN_POST_ONLY = 1,
    AP_OPEN_BY_EXTENSION = 2,
    AP_OPEN_BY_NAME_3 = 3,
    AP_OPEN_NO_POST = 4,
};

// Ways of handing a file over.
enum {
    AP_KIND_COMMAND_LINE = 0,
    AP_KIND_TABLE = 1,
    AP_KIND_OPENFILE_INI = 2,
};

class I_Application {
public:
    virtual void Release() = 0;
    virtual int CompareName(const char* text) = 0;
    virtual BOOL HasExtension(const char* extension) = 0;
    virtual const char* GetPath() = 0;
    virtual const char* GetName() = 0;
    virtual UINT GetKind() = 0;
    virtual BYTE GetFlag() = 0;
    virtual I_CUStringList* GetExtensions() = 0;
    virtual ~I_Application() {}
};

class C_Application : public I_Application {
public:
    C_Application(const char* path, const char* name, UINT kind, BYTE flag);
    ~C_Application() override {}

    void Release() override;
    int CompareName(const char* text) override;
    BOOL HasExtension(const char* extension) override;
    const char* GetPath() override { return m_path; }
    const char* GetName() override { return m_name; }
    UINT GetKind() override { return m_kind; }
    BYTE GetFlag() override { return m_flag; }
    I_CUStringList* GetExtensions() override { return &m_extensions; }

    void AddExtension(const char* extension) { m_extensions.Add(extension); }

private:
    C_CUString m_name;
    C_CUString m_path;
    UINT m_kind;
    BYTE m_flag;
    C_CUStringList m_extensions;
};

class I_ApplicationBroker {
public:
    virtual ~I_ApplicationBroker() {}
    virtual void Release() = 0;
    virtual BOOL AddApplication(const char* program, const char* name, UINT kind, BYTE flag) = 0;
    virtual BOOL Load(const char* iniFile, const char* section, const char* prefix) = 0;
    virtual BOOL Open(tagApBrokerRequest* request, int mode) = 0;
    virtual BOOL TakeRequest(tagApBrokerRequest* request, WPARAM slot) = 0;
    virtual CPtrArray& GetApplications() = 0;
};

class C_ApplicationBroker : public I_ApplicationBroker {
public:
    C_ApplicationBroker();
    ~C_ApplicationBroker() override;
    C_ApplicationBroker(const C_ApplicationBroker&) = delete;
    C_ApplicationBroker& operator=(const C_ApplicationBroker&) = delete;

    void Release() override;
    BOOL AddApplication(const char* program, const char* name, UINT kind, BYTE flag) override;
    BOOL Load(const char* iniFile, const char* section, const char* prefix) override;
    BOOL Open(tagApBrokerRequest* request, int mode) override;
    BOOL TakeRequest(tagApBrokerRequest* request, WPARAM slot) override;
    CPtrArray& GetApplications() override { return m_applications; }

private:
    BOOL Deliver(tagApBrokerRequest* request, I_Application* application, int mode);
    BOOL QueueRequest(tagApBrokerRequest* request, int* slot);
    int FindFreeSlot(BYTE* table);
    BOOL LaunchApplication(tagApBrokerRequest* request, I_Application* application, int slot, int mode);
    BOOL PostToApplication(tagApBrokerRequest* request, I_Application* application, int slot);
    BOOL HoldMutex();

    HANDLE m_mapping;
    HANDLE m_mutex;
    CPtrArray m_applications;
};

BOOL IsValidBrokerRequest(const BYTE* slot);
// Cuts every text field of a request at its last byte, so texts from another program end.
void TerminateBrokerRequest(tagApBrokerRequest* request);
