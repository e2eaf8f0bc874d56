// Stand-in chip-information service: chips, their families and part numbers from
// "ChipInfo.cfg". Format: [Chips] Chip1, Chip2, ... name sections; each chip section
// holds Family, PartNumbers (separated by ',' or ';') and DownloadOnly (0 or 1).
#include "components/include/ChipInfoInterface.h"
#include <string>
#include <vector>

namespace {

std::string ReadValue(const char* file, const char* section, const char* key)
{
    char buf[1024] = {0};
    GetPrivateProfileStringA(section, key, "", buf, sizeof(buf), file);
    return buf;
}

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return std::string();
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool SameNoCase(const std::string& a, const char* b)
{
    return lstrcmpiA(a.c_str(), b) == 0;
}

class ChipItem : public I_ChipItem {
public:
    void Reserved0() override {}
    void Reserved1() override {}
    void Reserved2() override {}
    void Reserved3() override {}
    void Reserved4() override {}
    void Reserved5() override {}
    void Reserved6() override {}
    void Reserved7() override {}
    void Reserved8() override {}
    void Reserved9() override {}
    void Reserved10() override {}
    void Reserved11() override {}
    void Reserved12() override {}
    void Reserved13() override {}
    void Reserved14() override {}
    void Reserved15() override {}
    void Reserved16() override {}
    void Reserved17() override {}
    void Reserved18() override {}
    void Reserved19() override {}
    void Reserved20() override {}
    DWORD GetDownloadOnly() override { return downloadOnly; }

    bool Answers(const char* key) const
    {
        if (SameNoCase(name, key))
            return true;
        for (const std::string& p : parts)
            if (SameNoCase(p, key))
                return true;
        return false;
    }

    std::string name;
    std::string family;
    std::vector<std::string> parts;
    DWORD downloadOnly = 0;
};

class ChipInfoService : public I_ChipInfo {
public:
    virtual ~ChipInfoService() {}

    void Reserved0() override {}
    void Release() override { delete this; }

    BOOL Initialize(const char* configFile) override
    {
        m_chips.clear();
        if (!configFile || GetFileAttributesA(configFile) == INVALID_FILE_ATTRIBUTES)
            return FALSE;
        for (int i = 1;; ++i) {
            std::string key = "Chip" + std::to_string(i);
            std::string name = Trim(ReadValue(configFile, "Chips", key.c_str()));
            if (name.empty())
                break;
            ChipItem chip;
            chip.name = name;
            chip.family = Trim(ReadValue(configFile, name.c_str(), "Family"));
            chip.downloadOnly = GetPrivateProfileIntA(name.c_str(), "DownloadOnly", 0, configFile);
            std::string parts = ReadValue(configFile, name.c_str(), "PartNumbers");
            size_t start = 0;
            while (start <= parts.size()) {
                size_t end = parts.find_first_of(",;", start);
                if (end == std::string::npos)
                    end = parts.size();
                std::string part = Trim(parts.substr(start, end - start));
                if (!part.empty())
                    chip.parts.push_back(part);
                start = end + 1;
            }
            m_chips.push_back(chip);
        }
        return m_chips.empty() ? FALSE : TRUE;
    }

    I_ChipItem* GetChipItem(const char* name) override
    {
        if (!name || !*name)
            return nullptr;
        for (ChipItem& chip : m_chips)
            if (chip.Answers(name))
                return &chip;
        return nullptr;
    }

    void Reserved4() override {}
    void Reserved5() override {}
    void Reserved6() override {}

    // The part numbers of the named chip, or of every chip of the named family.
    BOOL GetChipList(const char* name, I_CUStringList* list, DWORD, DWORD) override
    {
        if (!name || !*name || !list)
            return FALSE;
        BOOL filled = FALSE;
        for (const ChipItem& chip : m_chips) {
            if (!SameNoCase(chip.name, name) && !SameNoCase(chip.family, name))
                continue;
            for (const std::string& p : chip.parts) {
                list->Add(p.c_str());
                filled = TRUE;
            }
        }
        return filled;
    }

private:
    std::vector<ChipItem> m_chips;
};

} // namespace

extern "C" BOOL WINAPI CreateServiceInstance(DWORD interfaceId, I_ChipInfo** service)
{
    if (!service)
        return FALSE;
    *service = nullptr;
    if (interfaceId != 1)
        return FALSE;
    *service = new (std::nothrow) ChipInfoService;
    return *service ? TRUE : FALSE;
}
