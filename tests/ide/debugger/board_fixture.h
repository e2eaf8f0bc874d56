// A private program folder with the simulated board (its trace on) and the sample built in
// it as the project manager builds it: every source, one object, one map. The IDE's program
// folder points there while the object lives.
#pragma once
#include <gtest/gtest.h>
#include "components/ToyTarget/ToyTarget.h"
#include "components/include/IceInterface.h"
#include "ide/workbench/AsmIDE.h"
#include "tests/harness/harness.h"
#include <string>

namespace vt {

class BoardAndSample {
public:
    // `mainTail` is appended to main.asm before the build.
    explicit BoardAndSample(const std::string& mainTail = "")
    {
        lstrcpynA(m_saved, g_szAppDir, MAX_PATH);
        std::string bin = ProgramFolder();
        CopyFileA((bin + ICE_BROKER_DLL_NAME).c_str(), m_dir.File(ICE_BROKER_DLL_NAME).c_str(), FALSE);
        CopyFileA((bin + "ZComSim.ini").c_str(), Sim().c_str(), FALSE);
        WritePrivateProfileStringA("Trace", "Enable", "1", Sim().c_str());
        WritePrivateProfileStringA("Trace", "File", "trace.log", Sim().c_str());
        m_dir.Write("ZIDE.cfg", "[ICE]\r\nPath=ZComBroker.dll\r\n[IDESystem]\r\nCOMBrokerDll=ZComBroker.dll\r\n"
                                "[Initial Comm Port]\r\nKV61=USB,COM\r\nKQ83=USB,COM\r\n");
        lstrcpynA(g_szAppDir, (m_dir.Path() + "\\").c_str(), MAX_PATH);
        for (const char* f : { "main.asm", "sound.asm", "defs.inc", "tone.wav", "logo.bmp", "voice.sil" })
            CopyFileA((bin + "vt_sample\\" + f).c_str(), m_dir.File(f).c_str(), FALSE);
        if (!mainTail.empty())
            m_dir.Write("main.asm", ReadFileBytes(m_dir.File("main.asm")) + mainTail);
        toy::AssemblyResult all;
        for (const char* f : { "main.asm", "sound.asm" }) {
            toy::AssemblyResult r = toy::Assembler().Assemble(m_dir.File(f));
            EXPECT_EQ(0, r.errors) << f;
            all.segments.insert(all.segments.end(), r.segments.begin(), r.segments.end());
            all.lines.insert(all.lines.end(), r.lines.begin(), r.lines.end());
            all.symbols.insert(all.symbols.end(), r.symbols.begin(), r.symbols.end());
            all.listing.insert(all.listing.end(), r.listing.begin(), r.listing.end());
        }
        toy::ObjectFile object;
        object.partNumber = "KV61A-S28";
        object.segments = all.segments;
        EXPECT_TRUE(toy::WriteObjectFile(Obj(), object));
        EXPECT_TRUE(toy::WriteMapFile(m_dir.File("Sample.map"), all));
    }
    ~BoardAndSample() { lstrcpynA(g_szAppDir, m_saved, MAX_PATH); }
    BoardAndSample(const BoardAndSample&) = delete;
    BoardAndSample& operator=(const BoardAndSample&) = delete;

    std::string Sim() const { return m_dir.File("ZComSim.ini"); }
    std::string Obj() const { return m_dir.File("Sample.obj"); }
    std::string File(const char* f) const { return m_dir.File(f); }
    std::string Trace() const { return ReadFileBytes(m_dir.File("trace.log")); }
    // How often the trace holds that text.
    size_t Count(const std::string& what) const
    {
        std::string t = Trace();
        size_t n = 0;
        for (size_t at = t.find(what); at != std::string::npos; at = t.find(what, at + 1))
            n++;
        return n;
    }

private:
    TempDir m_dir;
    char m_saved[MAX_PATH];
};

} // namespace vt
