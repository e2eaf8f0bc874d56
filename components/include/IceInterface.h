// The emulator (ICE) component: a broker library that makes one emulator object per part number.
// Shared by the component and the IDE. Objects cross the DLL boundary: no virtual destructors,
// every operation at a fixed slot, named fillers (ReservedN) where a slot is unused.
//
// Results are int: 0 for success, 1 and negative values for failures, unless said otherwise.
// An address is a pair (bank, offset): the listing shows it as "BB:AAAA".
// Source and listing lines count from 1, except I_IceDevice::EditListingLine (from 0).
#pragma once
#include <windows.h>

#define ICE_BROKER_DLL_NAME "ZComBroker.dll"
#define ICE_VERSION_ENTRY_NAME "DllCheckVersion"
#define ICE_CREATE_ENTRY_NAME "CreateServiceInstance"

// To the notify window (I_IceDevice::SetNotifyWindow), posted.
#define ICE_WM_TARGET_STOPPED (WM_USER + 560)   // (0, 0): stopped after a run, a step or a run-to
#define ICE_WM_NOTIFY (WM_USER + 100)
#define ICE_NOTIFY_WRITE_ENDED 11               // wParam of ICE_WM_NOTIFY: writing into storage ended

// GetInterface ids.
#define ICE_IID_ACTION_TABLE 0x100
#define ICE_IID_DISASM 0x10000000
#define ICE_IID_WATCH 0x10000002
#define ICE_IID_CALL_STACK 0x10000003
#define ICE_INTERFACE_GIVEN 1   // GetInterface's answer when it gives the interface

// Status word (GetStatus).
#define ICE_STATUS_STOP 0x4
#define ICE_STATUS_STEP_OVER 0x8
#define ICE_STATUS_STEP 0x20
#define ICE_STATUS_RESTART 0x80
#define ICE_STATUS_HISTORY_CLEAR 0x200
#define ICE_STATUS_HISTORY 0x400
#define ICE_STATUS_WRITE 0x2000

// Capability word (GetCapabilities).
#define ICE_CAP_BREAKPOINTS 0x1
#define ICE_CAP_STEP_OUT 0x2
#define ICE_CAP_BREAKPOINT_DIALOG 0x4
#define ICE_CAP_CONFIGURATION 0x8
#define ICE_CAP_DIAGNOSE 0x10
#define ICE_CAP_NO_LISTING_EDIT 0x20   // in-place listing edits are forbidden
#define ICE_CAP_WRITE 0x40
#define ICE_CAP_WRITE_WHILE_DEBUGGING 0x80
#define ICE_CAP_CALL_STACK 0x100
#define ICE_CAP_CALL_STACK_WITHHELD 0x20000
#define ICE_CAP_DEBUG 0x10000000

// Page types (I_IceDebugPage::GetType).
enum { ICE_PAGE_MEMORY = 2, ICE_PAGE_REGISTERS = 3, ICE_PAGE_OPTIONS = 4, ICE_PAGE_STACK = 5, ICE_PAGE_WATCH = 6 };
// Item kinds (I_IceDebugItem::GetKind): the value is width bits (0), width 4-bit cells (1),
// width bytes (2), width 16-bit words (3) or 32 bits (4).
enum { ICE_KIND_BITS = 0, ICE_KIND_NIBBLES = 1, ICE_KIND_BYTES = 2, ICE_KIND_WORDS = 3, ICE_KIND_DWORD = 4 };
#define ICE_ACCESS_WRITABLE 0x1
#define ICE_ACCESS_NO_VALUE 3
// Item display formats (slots 20, 21); the watch interface numbers them the other way round.
enum { ICE_FORMAT_HEX = 0, ICE_FORMAT_DEC = 1, ICE_FORMAT_BIN = 2 };
enum { ICE_WATCH_FORMAT_BIN = 0, ICE_WATCH_FORMAT_DEC = 1, ICE_WATCH_FORMAT_HEX = 2 };
// I_IceDebugItem::GetObject requests.
enum { ICE_ITEM_CHILDREN = 1, ICE_ITEM_SETTER = 2 };
// Listing ranges (I_IceDisAsm::GetNextRange) and line kinds (GetLineKind).
enum { ICE_RANGE_EXECUTED = 0, ICE_RANGE_DATA = 2 };
#define ICE_LINE_INSTRUCTION 2
// GetPCListingLine's reload word on the way in: a request.
enum { ICE_LISTING_SHOW = 0, ICE_LISTING_AFTER_WRITE = 1, ICE_LISTING_NEXT_PART = 3, ICE_LISTING_PREVIOUS_PART = 4 };
// Watch handles start here; item handles below it; an item without a handle yet has this one.
#define ICE_WATCH_HANDLE_BASE 0x80000000u
#define ICE_NO_HANDLE 0xFFFFFFFFu

#define ICE_PAGE_NAME_MAX 39      // page names fit the IDE's 40-byte buffer
#define ICE_OPEN_TEXT_SIZE 81
#define ICE_LISTING_TEXT_SIZE 256
#define ICE_PATH_SIZE 260
#define ICE_ITEM_NAME_SIZE 260

class I_IceMemoryBlock;   // the block an item shows in a memory view
class I_IceDebugItem;

// The children of an item (item slot 17 with ICE_ITEM_CHILDREN).
class I_IceChildList {
public:
    virtual void Reserved0() = 0;
    virtual int Start() = 0;                         // 1
    virtual void Reserved2() = 0;
    virtual I_IceDebugItem* GetNext() = 0;           // 3: NULL at the end
    virtual void Reserved4() = 0;
    virtual I_IceDebugItem* GetAt(int index) = 0;    // 5
};

// Writes an item's value (item slot 17 with ICE_ITEM_SETTER).
class I_IceValueSetter {
public:
    virtual int SetValue(DWORD value) = 0;           // 0
};

class I_IceMemoryBlock {
public:
    virtual void Reserved0() = 0;
    virtual DWORD GetSpace() = 0;                    // 1
    virtual DWORD GetAddress() = 0;                  // 2
    virtual DWORD GetLength() = 0;                   // 3: in units of the item's kind
    virtual void Reserved4() = 0;
    virtual void Reserved5() = 0;
    virtual void* GetData() = 0;                     // 6: inside the page's buffer
};

class I_IceDebugItem {
public:
    virtual I_IceMemoryBlock* GetMemoryBlock() = 0;  // 0
    virtual void Reserved1() = 0;
    virtual DWORD GetHandle() = 0;                   // 2
    virtual int GetName(char* buffer) = 0;           // 3: up to ICE_ITEM_NAME_SIZE bytes
    virtual void Reserved4() = 0;
    virtual int GetKind() = 0;                       // 5
    virtual void Reserved6() = 0;
    virtual int GetWidth() = 0;                      // 7
    virtual int GetAccess() = 0;                     // 8
    virtual DWORD GetValue() = 0;                    // 9
    virtual void Reserved10() = 0;
    virtual void Reserved11() = 0;
    virtual void Reserved12() = 0;
    virtual void Reserved13() = 0;
    virtual int IsShown() = 0;                       // 14
    virtual void Reserved15() = 0;
    virtual void Reserved16() = 0;
    virtual int GetObject(int what, void** object) = 0;   // 17: non-zero when given
    virtual void Reserved18() = 0;
    virtual void Reserved19() = 0;
    virtual int SetFormat(int format) = 0;           // 20
    virtual int GetFormat() = 0;                     // 21
    virtual void Reserved22() = 0;
    virtual int GetDisplayName(char* buffer) = 0;    // 23: empty when the name serves
};

class I_IceDebugPage {
public:
    virtual int GetItemCount() = 0;                  // 0
    virtual void* GetFirstPosition() = 0;            // 1: NULL when empty
    virtual void* GetPositionOf(int index) = 0;      // 2
    virtual I_IceDebugItem* GetNext(void** position) = 0;   // 3: the item, the position advances
    virtual I_IceDebugItem* GetAt(void** position) = 0;     // 4
    virtual int GetType() = 0;                       // 5
    virtual int GetName(char* buffer) = 0;           // 6: at most ICE_PAGE_NAME_MAX characters
    virtual void* GetBuffer() = 0;                   // 7: the memory page's buffer
    virtual void Reserved8() = 0;
    virtual int IsShown() = 0;                       // 9
};

class I_IceDebugPageList {
public:
    virtual void* GetFirstPosition() = 0;            // 0: NULL when empty
    virtual void Reserved1() = 0;
    virtual I_IceDebugPage* GetNext(void** position) = 0;   // 2: NULL after the last
};

class I_IceDebugTarget {
public:
    virtual void Reserved0() = 0;
    virtual void Reserved1() = 0;
    virtual void Reserved2() = 0;
    virtual int LoadImage(const char* path) = 0;     // 3: the ".wim" image (watch list, options)
    virtual void Reserved4() = 0;
    virtual void Reserved5() = 0;
    virtual int MoveItem(int page, int from, int to) = 0;                 // 6
    virtual int CopyItem(int fromPage, int from, int toPage, int to) = 0; // 7: to -1 = the end
    virtual int SaveImage(const char* path) = 0;     // 8
    virtual int GetPageList(I_IceDebugPageList** list) = 0;   // 9
    virtual void Reserved10() = 0;
    virtual int DeleteItem(int page, int index) = 0;                      // 11
    virtual int InsertItem(const char* text, int page, int index) = 0;    // 12: index -1 = the end
};

class I_IceBreakpointList {
public:
    virtual void Reserved0() = 0;
    virtual void Reserved1() = 0;
    virtual void Reserved2() = 0;
    virtual int Add(const char* file, int line) = 0;                      // 3: enabled
    virtual void Reserved4() = 0;
    virtual int Remove(const char* file, int line) = 0;                   // 5
    virtual void Reserved6() = 0;
    virtual void Reserved7() = 0;
    virtual void Reserved8() = 0;
    virtual void Reserved9() = 0;
    virtual void Reserved10() = 0;
    virtual int StartListing(const char* file) = 0;  // 11: NULL = the listing's breakpoints
    virtual int GetNext(int* line, DWORD* state) = 0;   // 12: state 1 disabled, 2 enabled
    virtual int Move(const char* file, int oldLine, int newLine) = 0;     // 13
    virtual int Enable(const char* file, int line, BOOL enable) = 0;      // 14
    virtual int EnableAt(DWORD bank, DWORD offset, BOOL enable) = 0;      // 15
};
enum { ICE_BREAKPOINT_DISABLED = 1, ICE_BREAKPOINT_ENABLED = 2 };

class I_IceActionTable {
public:
    virtual int GetCount() = 0;                      // 0
    virtual const char* GetName(int i) = 0;          // 1
    virtual int GetAccelerator(int i, WORD* flags, WORD* key, WORD* command) = 0;   // 2: an ACCEL entry
    virtual int GetImage(int i, DWORD* image, DWORD* style) = 0;   // 3: icon id in the broker DLL
    virtual int GetState(int i, int* idle, int* debug, int* running, int* writing) = 0;   // 4
    virtual int EndAction() = 0;                     // 5
    virtual int Execute(int i, HWND window) = 0;     // 6
};

typedef void* ICE_WATCH_NODE;

class I_IceWatch {
public:
    virtual void Reserved0() = 0;
    virtual void Reserved1() = 0;
    virtual void Reserved2() = 0;
    virtual int SetContext(DWORD bank, DWORD offset, DWORD c, DWORD d) = 0;   // 3
    virtual int Add(const char* text, DWORD* handle) = 0;                     // 4
    virtual int Check(ICE_WATCH_NODE node, DWORD* a, DWORD* b) = 0;           // 5
    virtual int GetKind(DWORD handle, int* kind, DWORD* extra) = 0;           // 6: kind 1 has members
    // 7: texts owned by the component, valid until the next call for the node.
    virtual int GetText(ICE_WATCH_NODE node, int format, const char** value, const char** address) = 0;
    virtual void Reserved8() = 0;
    virtual int SetText(ICE_WATCH_NODE node, const char* text) = 0;           // 9
    virtual void Reserved10() = 0;
    virtual ICE_WATCH_NODE GetRoot(DWORD handle) = 0;                         // 11
    virtual int GetMemberCount(ICE_WATCH_NODE node, int* count) = 0;          // 12
    virtual int GetMember(ICE_WATCH_NODE node, int index, const char** name, ICE_WATCH_NODE* member) = 0;   // 13
    virtual int IsClosed(ICE_WATCH_NODE node) = 0;   // 14: non-zero = not to be expanded
    virtual void Reserved15() = 0;
    virtual int IsReadOnly(ICE_WATCH_NODE node) = 0; // 16: 0 = the value may be edited
    virtual void Reserved17() = 0;
    virtual int Release(DWORD handle) = 0;           // 18
};
enum { ICE_WATCH_SIMPLE = 0, ICE_WATCH_MEMBERS = 1 };

class I_IceCallStack {
public:
    virtual void Reserved0() = 0;
    virtual void Reserved1() = 0;
    virtual void Reserved2() = 0;
    virtual int GetContext(int frame, DWORD* c, DWORD* d) = 0;          // 3
    virtual int GetTopFrame(int zero, DWORD* bank, DWORD* offset) = 0;  // 4: frame 0
    virtual int GetFrame(int index, DWORD* bank, DWORD* offset) = 0;    // 5: frame index + 1
    virtual void Reserved6() = 0;
    virtual int StartLines() = 0;                    // 7
    virtual int GetNextLine(const char** text) = 0;  // 8: 0 while lines remain
};

class I_IceDisAsm {
public:
    virtual void Reserved0() = 0;
    virtual void Reserved1() = 0;
    virtual void Reserved2() = 0;
    virtual void Reserved3() = 0;
    virtual void Reserved4() = 0;
    virtual void Reserved5() = 0;
    virtual int StartRanges() = 0;                                   // 6
    virtual int GetNextRange(int* first, int* last, int* kind) = 0;  // 7: 0 while ranges remain
    virtual int ListingToSource(int line, char* path, int* sourceLine) = 0;   // 8: path of ICE_PATH_SIZE
    virtual int GetLineKind(int line, int* kind) = 0;                // 9
};

class I_IceDevice {
public:
    virtual void Release() = 0;                                          // 0
    virtual int GetInterface(DWORD id, void** object) = 0;              // 1: ICE_INTERFACE_GIVEN
    virtual int SelectPart(const char* part) = 0;                        // 2
    // 3: opens the board; text is ICE_OPEN_TEXT_SIZE bytes. Before writing the part buffer holds
    // the part number, its NUL and "WTR" with three NULs, the rest 0xFF.
    virtual int OpenBoard(const char* port, const char* part, char* text, DWORD* word) = 0;
    virtual int GetDebugTarget(I_IceDebugTarget** target) = 0;          // 4
    virtual int GetBreakpointList(I_IceBreakpointList** list) = 0;      // 5
    virtual int WriteListing(const char* obj, char* listing) = 0;       // 6: listing path in/out, ICE_PATH_SIZE
    // 7: files is a list of NUL-ended paths with a closing NUL (object, second file).
    virtual int Download(HWND window, const char* files, const char* map, BYTE flags, BOOL listing, int mode) = 0;
    virtual int SetNotifyWindow(HWND window) = 0;                        // 8
    virtual int GetStatus(DWORD* status) = 0;                            // 9
    virtual int Run(int how, int reserved) = 0;                          // 10: (6, 0)
    virtual int Stop() = 0;                                              // 11
    virtual int StepInto() = 0;                                          // 12
    virtual int GetPC(DWORD* bank, DWORD* offset) = 0;                   // 13
    virtual int AddressToSource(DWORD bank, DWORD offset, int size, char* path, int* line) = 0;   // 14
    virtual int SourceToAddress(const char* path, int line, DWORD* bank, DWORD* offset) = 0;     // 15
    virtual void Reserved16() = 0;
    virtual int Restart() = 0;                                           // 17
    virtual int StepOver() = 0;                                          // 18
    virtual int BeforeDownload(HWND window) = 0;                         // 19
    virtual int RunTo(DWORD bank, DWORD offset) = 0;                     // 20
    virtual void Reserved21() = 0;
    virtual int ResetHistory() = 0;                                      // 22
    virtual int ClearHistory() = 0;                                      // 23
    virtual int GetHistory(DWORD* word, HGLOBAL* text) = 0;             // 24: the handle stays the component's
    virtual int EditListingLine(const char* listing, int line, char* text) = 0;   // 25: text ICE_LISTING_TEXT_SIZE
    virtual int StepOut() = 0;                                           // 26
    virtual void Reserved27() = 0;
    virtual void Reserved28() = 0;
    virtual int WriteStorage(const char* part, const char* port, const char* files) = 0;   // 29
    virtual int EndWriting() = 0;                                        // 30
    virtual int StopWriting() = 0;                                       // 31
    virtual int AddressToListing(DWORD bank, DWORD offset, char* path, int* line, int* reload) = 0;   // 32
    virtual int GetPCListingLine(char* path, int* line, int* reload) = 0;   // 33: reload in = request
    virtual int GetCapabilities(DWORD* capabilities) = 0;                // 34
    virtual void Reserved35() = 0;
    virtual void Reserved36() = 0;
    virtual void Reserved37() = 0;
    virtual void Reserved38() = 0;
    virtual int NewProject(const char* path) = 0;                        // 39
    virtual int OpenProject(const char* path) = 0;                       // 40
    virtual int SaveProject(const char* path) = 0;                       // 41
    virtual int CloseProject(const char* path) = 0;                      // 42
    virtual int EnterDebugMode() = 0;                                    // 43
    virtual int LeaveDebugMode() = 0;                                    // 44
    virtual int EditBreakpoints() = 0;                                   // 45: 0 when something changed
    virtual int Diagnose(const char* part, const char* port, DWORD* word) = 0;   // 46
    virtual int WriteMemory(int page, int item, int offset, int value) = 0;      // 47
    virtual int ReadMemory(DWORD space, DWORD address, void* buffer) = 0;        // 48
    virtual int AfterMemoryWrite(DWORD bank, DWORD offset) = 0;          // 49
    virtual int SetSourceLevelStep(BOOL source) = 0;                     // 50
    virtual void Reserved51() = 0;
    virtual int ConfigDialog() = 0;                                      // 52
};

class I_ComBroker {
public:
    virtual void Release() = 0;                                          // 0
    virtual int Init(const char* programFolder) = 0;                     // 1: once
    virtual int CreateIce(int a, int b, const char* part, I_IceDevice** ice) = 0;   // 2: (1, 1, ...)
};

extern "C" {
// The stored version goes in; a result of 0 or more with a changed value is to be stored.
typedef int(__stdcall* PFN_ICE_CHECK_VERSION)(DWORD* version);
// (1, &broker): non-zero with a broker on success.
typedef int(__stdcall* PFN_ICE_CREATE_SERVICE)(int kind, I_ComBroker** broker);
}
