// Find in Files over a generated folder tree: the IDE's search with a page that
// only counts records, in both case modes. Usage:
//   bench_find_in_files make <folder>     writes the tree
//   bench_find_in_files run <folder>      prints "case <s> nocase <s> records <n> <n>"
// (the script find_in_files_bench times grep -r beside it and prints the ratios).
#include "afx/afx.h"
#include "bench/bench_support.h"
#include "ide/workbench/FindInFiles.h"
#include "support/ui/CUMsgHandler.h"
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

UINT g_records = 0;

LRESULT CALLBACK CountProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    if (msg == CU_WM_MESSAGE_RECORD && w == 0) {
        ++g_records;
        return 1;
    }
    return DefWindowProcA(h, msg, w, l);
}

// Some 3000 files of text in three levels of folders, about 30 MB; "Zorblat"
// is on one line in 400, "the" on most lines.
void MakeTree(const std::string& root)
{
    const char* words[] = { "the", "speech", "sample", "buffer", "Volume", "register", "LOOP", "timer", "port",
                            "mov", "a,", "#0x3F", "call", "ret", "; comment", "THE", "data" };
    unsigned seed = 12345;
    auto rnd = [&seed]() { seed = seed * 1103515245u + 12345u; return (seed >> 16) & 0x7FFF; };
    CreateDirectoryA(root.c_str(), nullptr);
    int file = 0;
    for (int a = 0; a < 10; ++a) {
        std::string da = root + "\\mod" + std::to_string(a);
        CreateDirectoryA(da.c_str(), nullptr);
        for (int b = 0; b < 10; ++b) {
            std::string db = da + "\\part" + std::to_string(b);
            CreateDirectoryA(db.c_str(), nullptr);
            for (int c = 0; c < 30; ++c, ++file) {
                std::string text;
                int lines = 150 + (int)(rnd() % 200);
                for (int l = 0; l < lines; ++l) {
                    int nw = 4 + (int)(rnd() % 10);
                    for (int w = 0; w < nw; ++w) {
                        text += words[rnd() % (sizeof words / sizeof *words)];
                        text += (rnd() % 5) ? ' ' : '\t';
                    }
                    if (rnd() % 400 == 0)
                        text += "Zorblat";
                    text += "\r\n";
                }
                std::string path = db + "\\f" + std::to_string(file) + (c % 3 ? ".asm" : ".inc");
                FILE* f = fopen(path.c_str(), "wb");
                if (f) {
                    fwrite(text.data(), 1, text.size(), f);
                    fclose(f);
                }
            }
        }
    }
}

double Search(HWND hPage, const std::string& root, const char* text, BOOL bMatchCase)
{
    volatile BOOL stop = FALSE;
    UINT count = 0;
    g_records = 0;
    double t0 = bench::Now();
    SearchFolder(&stop, (root + "\\").c_str(), "*.*", text, bMatchCase, TRUE, hPage, &count);
    return bench::Now() - t0;
}

double Median3(HWND hPage, const std::string& root, const char* text, BOOL bMatchCase)
{
    Search(hPage, root, text, bMatchCase);   // warm
    std::vector<double> t;
    for (int i = 0; i < 3; ++i)
        t.push_back(Search(hPage, root, text, bMatchCase));
    std::sort(t.begin(), t.end());
    return t[1];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: bench_find_in_files make|run <folder>\n");
        return 2;
    }
    std::string mode = argv[1], root = argv[2];
    if (mode == "make") {
        MakeTree(root);
        return 0;
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BenchFindPage";
    RegisterClassA(&wc);
    HWND hPage = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
    // The rare word with the case matched, the common word without.
    double tCase = Median3(hPage, root, "Zorblat", TRUE);
    UINT nCase = g_records;
    double tNoCase = Median3(hPage, root, "THE", FALSE);
    UINT nNoCase = g_records;
    printf("case %.4f nocase %.4f records %u %u\n", tCase, tNoCase, nCase, nNoCase);
    DestroyWindow(hPage);
    return 0;
}
