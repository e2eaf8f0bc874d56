// Load an ini file of 100,000 keys in 1,000 sections and look every key up.
#include "support/config/CUIniFile.h"
#include "support/ui/CUMsgHandler.h"
#include <chrono>
#include <cstdio>
#include <string>

namespace {

double Ms(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
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

    auto t0 = std::chrono::steady_clock::now();
    C_CUIniFile ini(path.c_str());
    if (!ini.Load())
        return 1;
    double loadMs = Ms(t0);

    t0 = std::chrono::steady_clock::now();
    int found = 0;
    char section[32], key[32];
    for (int s = 0; s < kSections; ++s) {
        snprintf(section, sizeof(section), "SECTION%d", s);
        for (int k = 0; k < kKeys; ++k) {
            snprintf(key, sizeof(key), "key%d", k);
            if (ini.GetString(section, key, 0, CU_MSG_NONE))
                ++found;
        }
    }
    double queryMs = Ms(t0);
    DeleteFileA(path.c_str());
    printf("load %d keys in %d sections: %.1f ms\n", kSections * kKeys, kSections, loadMs);
    printf("query every key (%d found): %.1f ms\n", found, queryMs);
    return found == kSections * kKeys ? 0 : 1;
}
