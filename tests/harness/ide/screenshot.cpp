// Starts VeltaneTool.exe on the sample project from a private program-folder copy, as ./run
// does, and writes its main window as it first comes up to a 24-bit BMP file:
//   vt_screenshot.exe out.bmp
// (scripts/screenshot turns it into the README's PNG.) With "build" (or "debug", which then starts the debugger) after the file name the
// sample is built first and the "Build" page's warning double-clicked, so that the picture
// shows the warning and its source line.
#include "resources/ideres.h"
#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>
#include "tests/harness/ide/build_page.h"
#include "tests/harness/ide/ide_process.h"

namespace {

bool WriteBmp(const char* path, HWND hwnd)
{
    RECT rc;
    GetWindowRect(hwnd, &rc);
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
    HGDIOBJ old = SelectObject(mem, bitmap);
    BitBlt(mem, 0, 0, cx, cy, screen, rc.left, rc.top, SRCCOPY);
    SelectObject(mem, old);
    BITMAPINFOHEADER bih = {sizeof bih, cx, cy, 1, 24, BI_RGB};
    int stride = (cx * 3 + 3) & ~3;
    std::vector<BYTE> bits(static_cast<size_t>(stride) * cy);
    bool ok = GetDIBits(mem, bitmap, 0, cy, bits.data(), reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS) == cy;
    DeleteObject(bitmap);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    if (!ok)
        return false;
    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof bfh + sizeof bih;
    bfh.bfSize = static_cast<DWORD>(bfh.bfOffBits + bits.size());
    FILE* f = fopen(path, "wb");
    if (!f)
        return false;
    fwrite(&bfh, sizeof bfh, 1, f);
    fwrite(&bih, sizeof bih, 1, f);
    fwrite(bits.data(), 1, bits.size(), f);
    return fclose(f) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::printf("usage: vt_screenshot out.bmp\n");
        return 2;
    }
    vt::ProgramCopy copy;
    vt::IdeProcess process(copy, vt::ProgramCopy::SampleProject());
    HWND main = process.MainWindow();
    if (!main) {
        std::printf("the main window did not show\n");
        return 1;
    }
    // Its start-up done and its windows painted.
    WaitForInputIdle(process.Handle(), 30000);
    SetForegroundWindow(main);
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(1000);
    const std::string mode = argc > 2 ? argv[2] : "";
    if (mode == "build" || mode == "debug") {
        HWND page = vt::FindBuildPage(main);
        PostMessageA(main, WM_COMMAND, 32821, 0);   // Project/Build
        POINT at = {};
        for (int i = 0; i < 600 && !(page && vt::FindColoredLine(page, vt::kWarningColor, &at)); i++)
            Sleep(100);
        if (at.y)
            vt::DoubleClick(page, at);
        Sleep(2000);
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(500);
    }
    if (mode == "debug") {
        PostMessageA(main, WM_COMMAND, ID_DEBUG_START, 0);   // the debug bars fill from the board
        Sleep(8000);
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(500);
    }
    bool ok = WriteBmp(argv[1], main);
    process.Close();
    return ok ? 0 : 1;
}
