// The two preview modules, loaded from a copy of the program folder as the IDE loads them.
#include "tests/components/pmtesting.h"
#include "components/include/PreviewInterface.h"

using namespace pmt;

namespace {

struct Module {
    Module(const vt::TempDir& dir, const char* name)
    {
        std::string ini = std::string(name).replace(std::string(name).size() - 4, 4, ".ini");
        EXPECT_TRUE(CopyFileA((vt::ProgramFolder() + name).c_str(), dir.File(name).c_str(), FALSE));
        EXPECT_TRUE(CopyFileA((vt::ProgramFolder() + ini).c_str(), dir.File(ini).c_str(), FALSE));
        config = dir.File(ini);
        handle = LoadLibraryExA(dir.File(name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
        preview = reinterpret_cast<PFN_Preview>(reinterpret_cast<void (*)()>(GetProcAddress(handle, PREVIEW_ENTRY_NAME)));
        stop = reinterpret_cast<PFN_StopPreview>(reinterpret_cast<void (*)()>(GetProcAddress(handle, PREVIEW_STOP_ENTRY_NAME)));
    }
    ~Module()
    {
        if (handle)
            FreeLibrary(handle);
    }
    std::string config;
    HMODULE handle = nullptr;
    PFN_Preview preview = nullptr;
    PFN_StopPreview stop = nullptr;
};

// The percents posted with message until 100.
std::vector<int> Progress(PostSink& sink, UINT message)
{
    std::vector<int> out;
    MSG m;
    while (sink.WaitFor(message, PREVIEW_PROGRESS, false, &m)) {
        out.push_back(static_cast<int>(m.lParam));
        if (m.lParam >= 100)
            break;
    }
    return out;
}

TEST(Preview, BothModulesRunToHundredWithTheirMessages)
{
    vt::TempDir dir;
    std::string file = dir.Write("tone.wav", "RIFF");
    struct { const char* dll; UINT message; bool use1416; } cases[] = {
        {TONE_PREVIEW_DLL_NAME, PREVIEW_WM_PROGRESS_1, false},
        {PIX_PREVIEW_DLL_NAME, PREVIEW_WM_PROGRESS_2, false},
        {PIX_PREVIEW_DLL_NAME, PREVIEW_WM_PROGRESS_3, true},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.dll);
        Module module(dir, c.dll);
        ASSERT_TRUE(module.preview && module.stop);
        if (c.use1416)
            WritePrivateProfileStringA("Switches", "UseMessage1416", "1", module.config.c_str());
        PostSink sink;
        int start = 35;
        ASSERT_TRUE(module.preview(sink.hwnd, file.c_str(), &start));
        std::vector<int> got = Progress(sink, c.message);
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(35, got.front());
        EXPECT_EQ(100, got.back());
        EXPECT_TRUE(std::is_sorted(got.begin(), got.end()));
        EXPECT_TRUE(module.stop(sink.hwnd));
        EXPECT_FALSE(module.preview(sink.hwnd, dir.File("missing.wav").c_str(), &start));
    }
}

TEST(Preview, RefusalSwitchAndFreeWhilePlaying)
{
    vt::TempDir dir;
    std::string file = dir.Write("tone.wav", "RIFF");
    {
        Module module(dir, TONE_PREVIEW_DLL_NAME);
        WritePrivateProfileStringA("Switches", "RefuseStop", "1", module.config.c_str());
        PostSink sink;
        int start = 0;
        ASSERT_TRUE(module.preview(sink.hwnd, file.c_str(), &start));
        EXPECT_FALSE(module.stop(sink.hwnd));
        WritePrivateProfileStringA("Switches", "RefuseStop", "0", module.config.c_str());
        EXPECT_TRUE(module.stop(sink.hwnd));
        // Freed while it plays: the worker keeps the module until it ends.
        ASSERT_TRUE(module.preview(sink.hwnd, file.c_str(), &start));
    }
    vt::PumpMessages(300);
}

} // namespace
