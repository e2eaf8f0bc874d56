// Reporting texts as a message box, an output record or on the standard output.
#pragma once
#include <windows.h>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string>
#include "afx/printf.h"

// Owner of the main-window boxes; the main frame stores itself here when created.
extern HWND g_hMainWnd;

// Message modes: where a report goes.
enum {
    CU_MSG_NONE = 0,
    CU_MSG_BOX = 1,
    CU_MSG_RECORD = 2,
    CU_MSG_STDOUT = 3,
};

// Record kinds.
enum {
    CU_REC_PLAIN = 0,
    CU_REC_MESSAGE = 1,
    CU_REC_WARNING = 2,
    CU_REC_ERROR = 3,
    CU_REC_HIGHLIGHT = 6,
    CU_REC_START_LOG = 10,
    CU_REC_WRITE_LOG = 11,
};

// Sent with WM_USER+100 (wParam 0, lParam the record); the receiver copies it before returning.
#define CU_WM_MESSAGE_RECORD (WM_USER + 100)

struct tagMessageRecord {
    int32_t kind;
    char fileName[256];
    int32_t line;
    char text[256];
    uint32_t receiverWord;   // for the receiver's own use; senders leave it alone
};
static_assert(sizeof(tagMessageRecord) == 524, "output record is 524 bytes");
static_assert(offsetof(tagMessageRecord, line) == 260 && offsetof(tagMessageRecord, text) == 264 &&
              offsetof(tagMessageRecord, receiverWord) == 520, "output record layout");

class C_CUMsgHandler {
public:
    C_CUMsgHandler() : m_hWnd(nullptr) {}
    virtual ~C_CUMsgHandler() {}

    HWND SetWindow(HWND hWnd) { m_hWnd = hWnd; return hWnd; }

    int ShowMessage(UINT mode, UINT captionId, UINT textId, UINT styleOrKind, ...);
    int ShowMessageText(UINT mode, const char* caption, const char* format, UINT styleOrKind, ...) AFX_PRINTF(4, 6);
    int MessageBoxId(UINT captionId, UINT textId, UINT style, ...);
    int MessageBoxIdV(UINT captionId, UINT textId, UINT style, va_list args);
    int MessageBoxText(const char* caption, const char* format, UINT style, ...) AFX_PRINTF(3, 5);
    LRESULT SendRecord(int kind, UINT textId, ...);
    LRESULT SendRecordV(int kind, UINT textId, va_list args);
    LRESULT SendRecordText(int kind, const char* format, ...) AFX_PRINTF(3, 4);
    LRESULT SendRecordTextV(int kind, const char* format, va_list args) AFX_PRINTF(3, 0);
    BOOL PrintMessageV(UINT destination, UINT captionId, UINT textId, int kind, va_list args);

private:
    HWND m_hWnd;
};

extern C_CUMsgHandler g_MsgHandler;

int MessageBoxById(HWND owner, UINT captionId, UINT textId, UINT style, ...);
int MessageBoxByIdV(HWND owner, UINT captionId, UINT textId, UINT style, va_list args);
int MessageBoxText(HWND owner, const char* caption, const char* format, UINT style, ...) AFX_PRINTF(3, 5);
int MessageBoxTextV(HWND owner, const char* caption, const char* format, UINT style, va_list args) AFX_PRINTF(3, 0);
int MainMessageBoxById(UINT textId, UINT style, ...);
int MainMessageBoxByIdV(UINT textId, UINT style, va_list args);
int MainMessageBoxText(const char* format, UINT style, ...) AFX_PRINTF(1, 3);
int MainMessageBoxTextV(const char* format, UINT style, va_list args) AFX_PRINTF(1, 0);
LRESULT SendMessageRecordById(HWND hWnd, int kind, UINT textId, ...);
LRESULT SendMessageRecordByIdV(HWND hWnd, int kind, UINT textId, va_list args);
LRESULT SendMessageRecord(HWND hWnd, int kind, const char* text, const char* fileName, int line);
BOOL PrintMessageText(UINT destination, const char* caption, const char* text, int kind);
void DebugTrace(const char* format, ...) AFX_PRINTF(1, 2);

// A reporting text: formatted (from a format or the text of a string id) and cut at 511 characters.
std::string FormatReportTextV(const char* format, va_list args);
std::string LoadReportTextV(UINT textId, va_list args);
void DebugTraceV(const char* format, va_list args) AFX_PRINTF(1, 0);
