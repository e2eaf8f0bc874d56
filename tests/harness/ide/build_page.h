// The real program's build as a user sees it: the output window's "Build" page
// read from the screen (its lines in the colours of their kinds), a line
// double-clicked, and the status bar's panes.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "tests/harness/box_work.h"
#include "tests/harness/foreign_buffer.h"

namespace vt {

// The MDI child whose title names the file.
inline HWND FindDocumentFrame(HWND frame, const std::string& fileName)
{
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    for (HWND child = client ? GetWindow(client, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string title = detail::WindowText(child);
        for (char& c : title)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        if (title.find(fileName) != std::string::npos)
            return child;
    }
    return nullptr;
}

// Colours of the page's lines by record kind, as the output window paints them.
const COLORREF kWarningColor = RGB(0, 128, 0);
const COLORREF kErrorColor = RGB(255, 0, 0);
// The "Build" page is the sibling of the "Find in Files" page (59649) with id
// 59648 (an id the tab windows of the frame's bars share).
inline HWND FindBuildPage(HWND frame)
{
    for (HWND hwnd : detail::Descendants(frame))
        if (GetDlgCtrlID(hwnd) == 59649)
            return GetDlgItem(GetParent(hwnd), 59648);
    return nullptr;
}

// The client area of a window as the screen shows it (it may belong to another process),
// row by row, 0x00RRGGBB; empty when the window is hidden or empty.
inline std::vector<DWORD> ScreenPixels(HWND hwnd, int* cx, int* cy)
{
    RECT rc;
    if (!IsWindowVisible(hwnd) || !GetClientRect(hwnd, &rc) || rc.right <= 0 || rc.bottom <= 0)
        return {};
    POINT origin = {0, 0};
    ClientToScreen(hwnd, &origin);
    HDC dc = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(mem, 0, 0, rc.right, rc.bottom, dc, origin.x, origin.y, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFOHEADER bih = {sizeof bih, rc.right, -rc.bottom, 1, 32, BI_RGB};
    std::vector<DWORD> bits(static_cast<size_t>(rc.right) * rc.bottom);
    bool read = GetDIBits(mem, bitmap, 0, rc.bottom, bits.data(), reinterpret_cast<BITMAPINFO*>(&bih),
                          DIB_RGB_COLORS) == rc.bottom;
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, dc);
    if (!read)
        return {};
    for (DWORD& pixel : bits)
        pixel &= 0xFFFFFF;
    *cx = rc.right;
    *cy = rc.bottom;
    return bits;
}

// A point in the window's client area on the first line painted in that
// colour; false when no pixel of the client area has it.
inline bool FindColoredLine(HWND hwnd, COLORREF color, POINT* at)
{
    int cx = 0, cy = 0;
    std::vector<DWORD> bits = ScreenPixels(hwnd, &cx, &cy);
    if (bits.empty())
        return false;
    // 32-bit DIB pixels are 0x00RRGGBB.
    DWORD want = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    int top = -1, bottom = -1, left = cx;
    for (int y = 0; y < cy; y++) {
        bool hit = false;
        for (int x = 0; x < cx; x++)
            if (bits[static_cast<size_t>(y) * cx + x] == want) {
                hit = true;
                if (top < 0 && x < left)
                    left = x;
            }
        if (hit && top < 0)
            top = y;
        if (top >= 0) {
            if (!hit)
                break;
            bottom = y;
        }
    }
    if (top < 0)
        return false;
    at->x = left + 1;
    at->y = (top + bottom) / 2;
    return true;
}

// The arrows the debugger paints: the caller arrow of the source views and the call stack,
// and the program-counter arrow of the disassembly listing, share one colour.
const COLORREF kCallerArrowColor = RGB(200, 200, 255);

// FindColoredLine on the window painted afresh (its arrows follow the debugger's state).
inline bool ShowsColor(HWND hwnd, COLORREF color, POINT* at = nullptr)
{
    POINT unused;
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return FindColoredLine(hwnd, color, at ? at : &unused);
}

// A double-click of the left button at a client point, as the window receives it.
inline void DoubleClick(HWND hwnd, POINT at)
{
    LPARAM pos = MAKELPARAM(at.x, at.y);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, pos);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, pos);
    SendMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, pos);
    SendMessageA(hwnd, WM_LBUTTONUP, 0, pos);
}

// The text of a status-bar pane of another process. The frame's bar draws its
// panes itself: the control then answers with the address of the pane's text
// in that process instead of copying it.
inline std::string StatusPaneText(HANDLE process, HWND status, int pane)
{
    ForeignBuffer buffer(process, 512);
    char text[512] = "";
    LRESULT r = SendMessageA(status, SB_GETTEXTA, pane, reinterpret_cast<LPARAM>(buffer.At()));
    buffer.Read(0, text, sizeof text - 1);
    if (!text[0] && r)
        ReadProcessMemory(process, reinterpret_cast<const void*>(r), text, 64, nullptr);
    text[sizeof text - 1] = 0;
    return text;
}

}  // namespace vt
