#include "support/ui/CUMsgHandler.h"
#include "support/supportres.h"
#include "support/text/CUString.h"
#include <cstdio>
#include <cstring>
#include <string>

HWND g_hMainWnd = nullptr;
C_CUMsgHandler g_MsgHandler;

namespace {

const size_t kTextBuffer = 512;
const size_t kTraceBuffer = 2048;
const size_t kFieldChars = 255;

// printf-style into a fixed buffer; longer results are cut, always terminated.
std::string FormatCut(const char* format, va_list args, size_t bufferSize)
{
    if (!format)
        return std::string();
    std::string buf(bufferSize, '\0');
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(&buf[0], bufferSize, format, copy);
    va_end(copy);
    if (n < 0)
        return std::string();
    buf.resize(static_cast<size_t>(n) < bufferSize ? static_cast<size_t>(n) : bufferSize - 1);
    return buf;
}

std::string LoadAndFormat(UINT textId, va_list args)
{
    C_CUString format;
    format.LoadString(textId);
    return FormatCut(format.c_str(), args, kTextBuffer);
}

std::string ProgramPath()
{
    char path[512] = {0};
    GetModuleFileNameA(nullptr, path, sizeof(path) - 1);
    return path;
}

// Caption of an id-based box: the text of the id, else the program file's path.
std::string LoadCaption(UINT captionId)
{
    C_CUString caption;
    if (caption.LoadString(captionId))
        return caption;
    return ProgramPath();
}

std::string KindPrefix(int kind)
{
    C_CUString prefix;
    if (kind == CU_REC_ERROR)
        prefix.LoadString(IDS_CU_ERROR);
    else if (kind == CU_REC_WARNING)
        prefix.LoadString(IDS_CU_WARNING);
    return prefix;
}

void CopyCut(char* field, const char* text)
{
    size_t len = text ? strlen(text) : 0;
    if (len > kFieldChars)
        len = kFieldChars;
    if (len)
        memcpy(field, text, len);
    field[len] = 0;
}

} // namespace

std::string FormatReportTextV(const char* format, va_list args)
{
    return FormatCut(format, args, kTextBuffer);
}

std::string LoadReportTextV(UINT textId, va_list args)
{
    return LoadAndFormat(textId, args);
}

int MessageBoxByIdV(HWND owner, UINT captionId, UINT textId, UINT style, va_list args)
{
    std::string text = LoadAndFormat(textId, args);
    std::string caption = LoadCaption(captionId);
    return MessageBoxA(owner, text.c_str(), caption.c_str(), style);
}

int MessageBoxById(HWND owner, UINT captionId, UINT textId, UINT style, ...)
{
    va_list args;
    va_start(args, style);
    int r = MessageBoxByIdV(owner, captionId, textId, style, args);
    va_end(args);
    return r;
}

int MessageBoxTextV(HWND owner, const char* caption, const char* format, UINT style, va_list args)
{
    std::string text = FormatCut(format, args, kTextBuffer);
    return MessageBoxA(owner, text.c_str(), caption, style);
}

int MessageBoxText(HWND owner, const char* caption, const char* format, UINT style, ...)
{
    va_list args;
    va_start(args, style);
    int r = MessageBoxTextV(owner, caption, format, style, args);
    va_end(args);
    return r;
}

int MainMessageBoxByIdV(UINT textId, UINT style, va_list args)
{
    std::string text = LoadAndFormat(textId, args);
    return MessageBoxA(g_hMainWnd, text.c_str(), ProgramPath().c_str(), style);
}

int MainMessageBoxById(UINT textId, UINT style, ...)
{
    va_list args;
    va_start(args, style);
    int r = MainMessageBoxByIdV(textId, style, args);
    va_end(args);
    return r;
}

int MainMessageBoxTextV(const char* format, UINT style, va_list args)
{
    std::string text = FormatCut(format, args, kTextBuffer);
    return MessageBoxA(g_hMainWnd, text.c_str(), ProgramPath().c_str(), style);
}

int MainMessageBoxText(const char* format, UINT style, ...)
{
    va_list args;
    va_start(args, style);
    int r = MainMessageBoxTextV(format, style, args);
    va_end(args);
    return r;
}

LRESULT SendMessageRecord(HWND hWnd, int kind, const char* text, const char* fileName, int line)
{
    tagMessageRecord record;
    memset(&record, 0, sizeof(record));
    record.kind = kind;
    CopyCut(record.fileName, fileName);
    record.line = line;
    std::string full = KindPrefix(kind) + (text ? text : "");
    CopyCut(record.text, full.c_str());
    // A missing window drops the record; the send simply fails.
    return SendMessageA(hWnd, CU_WM_MESSAGE_RECORD, 0, reinterpret_cast<LPARAM>(&record));
}

LRESULT SendMessageRecordByIdV(HWND hWnd, int kind, UINT textId, va_list args)
{
    std::string text;
    if (textId != 0)
        text = LoadAndFormat(textId, args);
    return SendMessageRecord(hWnd, kind, text.c_str(), nullptr, 0);
}

LRESULT SendMessageRecordById(HWND hWnd, int kind, UINT textId, ...)
{
    va_list args;
    va_start(args, textId);
    LRESULT r = SendMessageRecordByIdV(hWnd, kind, textId, args);
    va_end(args);
    return r;
}

BOOL PrintMessageText(UINT destination, const char* caption, const char* text, int kind)
{
    if (destination != CU_MSG_STDOUT)
        return FALSE;
    std::string full = KindPrefix(kind) + (text ? text : "");
    fwrite(full.data(), 1, full.size(), stdout);
    fflush(stdout);
    return TRUE;
}

void DebugTraceV(const char* format, va_list args)
{
    std::string text = FormatCut(format, args, kTraceBuffer);
    OutputDebugStringA(text.c_str());
}

void DebugTrace(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    DebugTraceV(format, args);
    va_end(args);
}

int C_CUMsgHandler::MessageBoxIdV(UINT captionId, UINT textId, UINT style, va_list args)
{
    return MessageBoxByIdV(m_hWnd, captionId, textId, style, args);
}

int C_CUMsgHandler::MessageBoxId(UINT captionId, UINT textId, UINT style, ...)
{
    va_list args;
    va_start(args, style);
    int r = MessageBoxIdV(captionId, textId, style, args);
    va_end(args);
    return r;
}

int C_CUMsgHandler::MessageBoxText(const char* caption, const char* format, UINT style, ...)
{
    va_list args;
    va_start(args, style);
    int r = MessageBoxTextV(m_hWnd, caption, format, style, args);
    va_end(args);
    return r;
}

LRESULT C_CUMsgHandler::SendRecordV(int kind, UINT textId, va_list args)
{
    return SendMessageRecordByIdV(m_hWnd, kind, textId, args);
}

LRESULT C_CUMsgHandler::SendRecord(int kind, UINT textId, ...)
{
    va_list args;
    va_start(args, textId);
    LRESULT r = SendRecordV(kind, textId, args);
    va_end(args);
    return r;
}

LRESULT C_CUMsgHandler::SendRecordTextV(int kind, const char* format, va_list args)
{
    std::string text = FormatCut(format, args, kTextBuffer);
    return SendMessageRecord(m_hWnd, kind, text.c_str(), nullptr, 0);
}

LRESULT C_CUMsgHandler::SendRecordText(int kind, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    LRESULT r = SendRecordTextV(kind, format, args);
    va_end(args);
    return r;
}

BOOL C_CUMsgHandler::PrintMessageV(UINT destination, UINT captionId, UINT textId, int kind, va_list args)
{
    std::string text = LoadAndFormat(textId, args);
    std::string caption = LoadCaption(captionId);
    return PrintMessageText(destination, caption.c_str(), text.c_str(), kind);
}

int C_CUMsgHandler::ShowMessage(UINT mode, UINT captionId, UINT textId, UINT styleOrKind, ...)
{
    va_list args;
    va_start(args, styleOrKind);
    int r = 0;
    switch (mode) {
    case CU_MSG_BOX:
        r = MessageBoxByIdV(m_hWnd, captionId, textId, styleOrKind, args);
        break;
    case CU_MSG_RECORD:
        r = static_cast<int>(SendMessageRecordByIdV(m_hWnd, static_cast<int>(styleOrKind), textId, args));
        break;
    case CU_MSG_STDOUT:
        r = PrintMessageV(CU_MSG_STDOUT, captionId, textId, static_cast<int>(styleOrKind), args);
        break;
    default:
        break;
    }
    va_end(args);
    return r;
}

int C_CUMsgHandler::ShowMessageText(UINT mode, const char* caption, const char* format, UINT styleOrKind, ...)
{
    va_list args;
    va_start(args, styleOrKind);
    int r = 0;
    switch (mode) {
    case CU_MSG_BOX:
        r = MessageBoxTextV(m_hWnd, caption, format, styleOrKind, args);
        break;
    case CU_MSG_RECORD:
        r = static_cast<int>(SendRecordTextV(static_cast<int>(styleOrKind), format, args));
        break;
    case CU_MSG_STDOUT: {
        std::string text = FormatCut(format, args, kTextBuffer);
        r = PrintMessageText(CU_MSG_STDOUT, caption, text.c_str(), static_cast<int>(styleOrKind));
        break;
    }
    default:
        break;
    }
    va_end(args);
    return r;
}
