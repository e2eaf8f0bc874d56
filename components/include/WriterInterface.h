// The writer component "Z61QK83Writer.dll": writes storage images to the target and reads them
// back. One export, "Write", with thirteen arguments; 0 is success.
//
// Progress goes to the window of argument 9 as WRITER_WM_PROGRESS, posted (the Write File
// dialog calls "Write" again from its finished handler): wParam points to a text that the
// component keeps for its lifetime, lParam is a percent, WRITER_PROGRESS_FAILED or
// WRITER_PROGRESS_DONE.
#pragma once
#include <windows.h>

#define WRITER_DLL_NAME "Z61QK83Writer.dll"
#define WRITER_ENTRY_NAME "Write"

#define WRITER_WM_PROGRESS (WM_USER + 292)
#define WRITER_PROGRESS_FAILED (-1)
#define WRITER_PROGRESS_DONE (-2)

#define WRITER_SECTOR_SIZE 512

// Operation codes (argument 10).
enum {
    WRITER_OP_WRITE = 0x01,          // image 1 at the start sector, image 2 right after it
    WRITER_OP_UPLOAD = 0x02,         // both images back into the two upload files (arguments 2, 3)
    WRITER_OP_VERIFY = 0x03,         // the backups (arguments 4, 6) against the storage
    WRITER_OP_SIZED_UPLOAD = 0x12,   // the given sizes into the upload files (arguments 4, 6)
    WRITER_OP_WRITE_FILE = 0x81,     // the input file (argument 4) at the start sector
    WRITER_OP_VERIFY_FILE = 0x83,    // the input file against the storage
};

extern "C" {
typedef int(__stdcall* PFN_WriterWrite)(int storageType,         // 1
                                        const char* text2,       // 2: boot-program file, or upload file
                                        const char* text3,       // 3: writer file, or upload file
                                        const char* image1,      // 4
                                        DWORD sectors1,          // 5
                                        const char* image2,      // 6: may be NULL or empty
                                        DWORD sectors2,          // 7
                                        DWORD startSector,       // 8
                                        HWND window,             // 9
                                        int operation,           // 10
                                        DWORD appStart,          // 11
                                        DWORD ubpAddress,        // 12
                                        int flag);               // 13
}
