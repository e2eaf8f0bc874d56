// Loads and saves a generated million-line source file through the text store,
// then moves the same bytes with plain ReadFile/WriteFile, and compares.
#include "editor/store/TWKEdit.h"
#include "afx/app.h"
#include <psapi.h>
#include <cstdio>
#include <string>

namespace {

double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return (double)c.QuadPart / (double)f.QuadPart;
}

PROCESS_MEMORY_COUNTERS Memory()
{
    PROCESS_MEMORY_COUNTERS pmc = {};
    pmc.cb = sizeof(pmc);
    K32GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
    return pmc;
}

bool WriteAll(const char* path, const std::string& bytes)
{
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    BOOL ok = WriteFile(h, bytes.data(), (DWORD)bytes.size(), &n, NULL) && n == bytes.size();
    CloseHandle(h);
    return ok;
}

// Plain copy in 32767-byte reads, the store's chunk size.
double PlainCopy(const char* from, const char* to)
{
    double t0 = Now();
    HANDLE in = CreateFileA(from, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    std::string all;
    all.reserve(GetFileSize(in, NULL));
    static char buf[32768];
    DWORD n = 0;
    while (ReadFile(in, buf, 32767, &n, NULL) && n)
        all.append(buf, n);
    CloseHandle(in);
    HANDLE out = CreateFileA(to, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    DWORD w = 0;
    for (size_t off = 0; off < all.size(); off += 65536)
    {
        DWORD len = (DWORD)std::min<size_t>(65536, all.size() - off);
        WriteFile(out, all.data() + off, len, &w, NULL);
    }
    CloseHandle(out);
    return Now() - t0;
}

} // namespace

int main(int argc, char** argv)
{
    const int nLines = argc > 1 ? atoi(argv[1]) : 1000000;
    CWinApp app("bench_edit_store");
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string src = std::string(dir) + "edit_store_bench_src.asm";
    std::string dstStore = std::string(dir) + "edit_store_bench_store.asm";
    std::string dstPlain = std::string(dir) + "edit_store_bench_plain.asm";

    // 1,000,000 lines of assembler, about 50 bytes each.
    std::string bytes;
    bytes.reserve(52 * 1000000);
    const char* hex = "0123456789ABCDEF";
    for (int i = 0; i < nLines; i++)
    {
        char num[7];
        for (int k = 5, v = i; k >= 0; k--, v /= 10)
            num[k] = (char)('0' + v % 10);
        num[6] = 0;
        unsigned x = (unsigned)(i * 7919) & 0xFFFF;
        char imm[5] = {hex[x >> 12], hex[(x >> 8) & 15], hex[(x >> 4) & 15], hex[x & 15], 0};
        bytes += 'L';
        bytes += num;
        bytes += ":\tmov\tr";
        bytes += hex[i % 16];
        bytes += ", #0x";
        bytes += imm;
        bytes += "\t; step ";
        bytes += num + 3;
        bytes += " of the loop\r\n";
    }
    if (!WriteAll(src.c_str(), bytes))
    {
        printf("cannot write %s\n", src.c_str());
        return 1;
    }

    PROCESS_MEMORY_COUNTERS before = Memory();
    TWKEdit* e = new TWKEdit;
    double t0 = Now();
    int rcLoad = e->LoadFile(src.c_str());
    double tLoad = Now() - t0;
    PROCESS_MEMORY_COUNTERS loaded = Memory();
    t0 = Now();
    int rcSave = e->SaveFile(dstStore.c_str());
    double tSave = Now() - t0;
    PROCESS_MEMORY_COUNTERS peak = Memory();
    int nStoreLines = e->m_nLineCount;
    t0 = Now();
    delete e;
    double tFree = Now() - t0;

    double tPlain = PlainCopy(src.c_str(), dstPlain.c_str());
    std::string a, b;
    {
        HANDLE h1 = CreateFileA(dstStore.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        DWORD n1 = GetFileSize(h1, NULL);
        a.resize(n1);
        ReadFile(h1, &a[0], n1, &n1, NULL);
        CloseHandle(h1);
    }
    bool same = a == bytes;

    double mb = bytes.size() / 1048576.0;
    printf("file: %zu bytes (%.1f MB), %d lines in the store, load %d save %d, saved copy %s\n", bytes.size(), mb,
           nStoreLines, rcLoad, rcSave, same ? "identical" : "DIFFERENT");
    printf("store: load %.3f s, save %.3f s, total %.3f s (free %.3f s)\n", tLoad, tSave, tLoad + tSave, tFree);
    printf("plain: read+write %.3f s\n", tPlain);
    printf("ratio store/plain: %.2f\n", (tLoad + tSave) / tPlain);
    printf("memory: loaded text %.1f MB private (%.2f x file), peak %.1f MB private during load+save\n",
           (loaded.PagefileUsage - before.PagefileUsage) / 1048576.0,
           (double)(loaded.PagefileUsage - before.PagefileUsage) / bytes.size(),
           (peak.PeakPagefileUsage - before.PagefileUsage) / 1048576.0);
    // The least a line can take: its node and a buffer by the capacity rule.
    double perLine = (double)bytes.size() / nLines;
    int nCapacity = ((int)perLine + 31) & ~15;
    printf("goal: memory <= 2.50 x file; measured %.2f x; node %d + buffer %d bytes for a %.0f-byte line "
           "allow no less than %.2f x\n",
           (double)(loaded.PagefileUsage - before.PagefileUsage) / bytes.size(), (int)sizeof(TWKEditLine),
           nCapacity, perLine, (sizeof(TWKEditLine) + nCapacity) / perLine);
    DeleteFileA(src.c_str());
    DeleteFileA(dstStore.c_str());
    DeleteFileA(dstPlain.c_str());
    return same && !rcLoad && !rcSave ? 0 : 1;
}
