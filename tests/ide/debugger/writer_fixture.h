// A private program folder with the writer component, its boot-program and writer files and
// "usbubp.ini", the component tracing every call; the IDE's program folder points there.
#pragma once
#include <gtest/gtest.h>
#include "ide/debugger/IDEWriter.h"
#include "ide/workbench/AsmIDE.h"
#include "tests/harness/harness.h"
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vt {

struct WriterFolder {
    TempDir dir;
    std::string saved;

    WriterFolder()
    {
        saved = g_szAppDir;
        for (const char* name : {"Z61QK83Writer.dll", "usbubp.ini", "UserBootProgram_USB.bin", "ImageWriter_NAND.bin"})
            EXPECT_TRUE(::CopyFileA((ProgramFolder() + name).c_str(), dir.File(name).c_str(), FALSE)) << name;
        SetFail(-1);
        lstrcpynA(g_szAppDir, (dir.Path() + "\\").c_str(), MAX_PATH);
    }
    ~WriterFolder() { lstrcpynA(g_szAppDir, saved.c_str(), MAX_PATH); }
    std::string Path() const { return dir.Path() + "\\"; }
    void SetFail(int op)
    {
        dir.Write("Z61QK83Writer.ini", "[Storage]\r\nFile=WriterStorage.bin\r\nCapacity=163840\r\n[Test]\r\nFailOperation=" +
                                           std::to_string(op) + "\r\n[Trace]\r\nEnable=1\r\nFile=WriterTrace.log\r\n");
    }
    // Each traced call's thirteen arguments as the component printed them (the window left out).
    std::vector<std::vector<std::string>> Calls() const
    {
        std::vector<std::vector<std::string>> calls;
        std::istringstream in(ReadFileBytes(dir.File("WriterTrace.log")));
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            std::vector<std::string> f;
            size_t at = 0;
            for (;;) {
                size_t sp = line.find(' ', at);
                f.push_back(line.substr(at, sp == std::string::npos ? std::string::npos : sp - at));
                if (sp == std::string::npos)
                    break;
                at = sp + 1;
            }
            if (f.size() == 14 && f[0] == "Write") {
                f.erase(f.begin() + 9);   // the window
                f.erase(f.begin());
                calls.push_back(f);
            }
        }
        return calls;
    }
    std::string Storage() const { return ReadFileBytes(dir.File("WriterStorage.bin")); }
};

inline std::string Hex(unsigned long v)
{
    char sz[16];
    sprintf(sz, "0x%lX", v);
    return sz;
}

// The arguments as the component's trace prints them, the window left out.
inline std::vector<std::string> Fields(const WriterArgs& a)
{
    return {std::to_string(a.nStorageType), a.strText2, a.strText3, a.strImage1, std::to_string(a.nSectors1),
            a.bImage2Null ? "(null)" : a.strImage2, std::to_string(a.nSectors2), std::to_string(a.nStartSector),
            Hex((unsigned long)a.nOperation), Hex(a.dwAppStart), Hex(a.dwUbpAddress), std::to_string(a.nFlag)};
}

} // namespace vt
