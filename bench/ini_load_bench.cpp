// Load an ini file of 100,000 keys in 1,000 sections, against reading the
// same file line by line, and look every key up, in section order and shuffled.
#include "support/config/CUIniFile.h"
#include "support/ui/CUMsgHandler.h"
#include <psapi.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

double Ms(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// Reads the file as the ini file does, line by line, and does nothing more.
__attribute__((noipa)) size_t ReadLines(const char* path)
{
    FILE* f = fopen(path, "rt");
    if (!f)
        return 0;
    char buf[2048];
    size_t n = 0;
    while (fgets(buf, sizeof(buf), f))
        n += buf[0] != 0;
    fclose(f);
    return n;
}

__attribute__((noipa)) int QueryAll(C_CUIniFile& ini, const std::vector<std::pair<std::string, std::string>>& keys)
{
    int found = 0;
    for (const auto& k : keys)
        if (ini.GetString(k.first.c_str(), k.second.c_str(), 0, CU_MSG_NONE))
            ++found;
    return found;
}

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof(pmc);
    K32GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
    return pmc.PagefileUsage;
}

// Commits and first touches that many bytes of new memory: what the memory
// a load takes costs by itself on this machine.
double TouchNewMemory(SIZE_T bytes)
{
    auto t0 = std::chrono::steady_clock::now();
    volatile char* p = static_cast<char*>(VirtualAlloc(NULL, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!p)
        return 0;
    for (SIZE_T i = 0; i < bytes; i += 4096)
        p[i] = 1;
    double ms = Ms(t0);
    VirtualFree(const_cast<char*>(p), 0, MEM_RELEASE);
    return ms;
}

} // namespace

int main()
{
    const int kSections = 1000;
    const int kKeys = 100;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string path = std::string(temp) + "vt_ini_bench.ini";
    {
        std::string text;
        text.reserve(kSections * kKeys * 32);
        for (int s = 0; s < kSections; ++s) {
            text += "[Section" + std::to_string(s) + "]\n";
            for (int k = 0; k < kKeys; ++k)
                text += "Key" + std::to_string(k) + " = value " + std::to_string(s * kKeys + k) + " ; note\n";
        }
        FILE* f = fopen(path.c_str(), "wb");
        if (!f)
            return 1;
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
    }

    // Section order, and the same names shuffled (fixed seed); the names'
    // case differs from the file's.
    std::vector<std::pair<std::string, std::string>> ordered;
    for (int s = 0; s < kSections; ++s)
        for (int k = 0; k < kKeys; ++k)
            ordered.emplace_back("SECTION" + std::to_string(s), "key" + std::to_string(k));
    std::vector<std::pair<std::string, std::string>> shuffled = ordered;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(20261210u));

    // Best of a few rounds each, the plain read between the loads.
    double plainMs = 1e30, loadMs = 1e30, orderedMs = 1e30, shuffledMs = 1e30;
    int foundOrdered = 0, foundShuffled = 0;
    SIZE_T loadBytes = 0;
    for (int round = 0; round < 5; ++round) {
        auto t0 = std::chrono::steady_clock::now();
        size_t lines = ReadLines(path.c_str());
        plainMs = std::min(plainMs, Ms(t0));
        if (lines == 0)
            return 1;

        SIZE_T before = PrivateBytes();
        t0 = std::chrono::steady_clock::now();
        C_CUIniFile ini(path.c_str());
        if (!ini.Load())
            return 1;
        loadMs = std::min(loadMs, Ms(t0));
        loadBytes = std::max(loadBytes, PrivateBytes() - before);

        t0 = std::chrono::steady_clock::now();
        foundOrdered = QueryAll(ini, ordered);
        orderedMs = std::min(orderedMs, Ms(t0));
        t0 = std::chrono::steady_clock::now();
        foundShuffled = QueryAll(ini, shuffled);
        shuffledMs = std::min(shuffledMs, Ms(t0));
    }
    DeleteFileA(path.c_str());
    double touchMs = 1e30;
    for (int round = 0; round < 3; ++round)
        touchMs = std::min(touchMs, TouchNewMemory(loadBytes));
    printf("read the file line by line: %.1f ms\n", plainMs);
    printf("load %d keys in %d sections: %.1f ms (%.2f x the line read; goal <= 10)\n", kSections * kKeys,
           kSections, loadMs, loadMs / plainMs);
    printf("the load takes %.1f MB of new memory; first touching that much alone takes %.1f ms here "
           "(the load less that: %.2f x the line read)\n",
           loadBytes / 1048576.0, touchMs, (loadMs - touchMs) / plainMs);
    printf("query every key in section order (%d found): %.1f ms\n", foundOrdered, orderedMs);
    printf("query every key shuffled (%d found): %.1f ms (%.2f x in order; goal <= 2)\n", foundShuffled,
           shuffledMs, shuffledMs / orderedMs);
    return foundOrdered == kSections * kKeys && foundShuffled == kSections * kKeys ? 0 : 1;
}
