#include "tests/components/pmtesting.h"
#include "support/system/ApplicationBroker.h"
#include "support/system/InstanceRegistry.h"
#include "support/text/TextHelpers.h"
#include <shellapi.h>

using namespace pmt;

namespace {

std::string Bin(const std::string& name)
{
    return vt::ProgramFolder() + name;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Cfg(const char* section, const char* key)
{
    return ReadKey(Bin("ZIDE.cfg"), section, key);
}

std::vector<std::string> Numbered(const std::string& file, const char* section, const char* prefix, int from = 1)
{
    std::vector<std::string> out;
    for (int i = from;; ++i) {
        std::string v = ReadKey(file, section, (prefix + std::to_string(i)).c_str());
        if (v.empty())
            return out;
        out.push_back(v);
    }
}

TEST(ProgramFolder, EveryFileLandsWithTheBuild)
{
    for (const char* f : {"ZIDE.cfg", "ChipInfo.cfg", "usbubp.ini", "writerTool.ini", "UserBootProgram_USB.bin",
                          "ImageWriter_NAND.bin", "Default.ini", "ToyAsm.ini", "VeltaneProjectMgr.ini", "PMTools.ini",
                          "VeltaneProjectMgr.dll", "calc.exe", "WaveDesk.exe", "ToneSift.exe", "VoiceForge.exe",
                          "Pixmere.exe", "sample\\Sample.wbi", "sample\\main.asm", "sample\\tone.wav", "sample\\logo.bmp",
                          "sample\\fixtures\\SampleOld.wbi", "sample\\fixtures\\Sample.wbt", "sample\\fixtures\\Broken.wbi",
                          "sample\\fixtures\\NoDevice.wbi"})
        EXPECT_TRUE(Exists(Bin(f))) << f;
    // ./test installs the calculator where the Tools toolbar looks for it.
    char windows[MAX_PATH], system[MAX_PATH];
    GetWindowsDirectoryA(windows, MAX_PATH);
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_TRUE(Exists(std::string(windows) + "\\calc.exe") || Exists(std::string(system) + "\\calc.exe"));
    HICON icon = ExtractIconA(GetModuleHandleA(nullptr), Bin("calc.exe").c_str(), 0);
    EXPECT_TRUE(icon != nullptr && icon != reinterpret_cast<HICON>(1));
    if (icon)
        DestroyIcon(icon);
}

TEST(ProgramFolder, ConfigurationTheIdeReads)
{
    for (const char* section : {"CFG", "IDESystem", "ICE", "EnforeFunc", "Icon", "Fatal Error Define", "Text File Ext",
                                "Default_INI", "Project Target", "Body Group", "Resource Editor", "Initial Comm Port"}) {
        char buf[4096] = {0};
        EXPECT_GT(GetPrivateProfileSectionA(section, buf, sizeof(buf), Bin("ZIDE.cfg").c_str()), 0u) << section;
    }
    EXPECT_EQ("Veltane Tool", Cfg("IDESystem", "SDSName"));
    UINT major = 0, minor = 0, build = 0;
    ASSERT_TRUE(ReadVersionValue(Bin("ZIDE.cfg").c_str(), "IDESystem", "SDSVersion", &major, &minor, &build));
    EXPECT_EQ(1u, major);
    EXPECT_EQ(0u, minor);
    EXPECT_EQ(1u, build);
    EXPECT_EQ("1", Cfg("IDESystem", "TemplateProject"));
    EXPECT_FALSE(Cfg("ICE", "Path").empty());
    EXPECT_EQ("1", Cfg("Resource Editor", "UserDefinedEditor"));

    // Part numbers: the component's, the groups' prefixes, the default and the ports follow "ChipInfo.cfg".
    Component pm(nullptr);
    C_CUStringList parts;
    ASSERT_TRUE(pm->GetPartNumbersOfKind(1, &parts));
    std::vector<std::string> groups = Numbered(Bin("ZIDE.cfg"), "Body Group", "Group");
    ASSERT_EQ(2u, groups.size());
    bool defaultListed = false;
    for (int i = 0; i < parts.GetCount(); ++i) {
        std::string part = parts.GetAt(i);
        defaultListed = defaultListed || part == Cfg("Body Group", "DefaultBody");
        bool grouped = false;
        for (const std::string& g : groups)
            grouped = grouped || part.compare(0, std::string(GetField(g.c_str(), 2)).size(), GetField(g.c_str(), 2)) == 0;
        EXPECT_TRUE(grouped) << part;
        EXPECT_FALSE(Cfg("Initial Comm Port", part.substr(0, 4).c_str()).empty()) << part;
    }
    EXPECT_TRUE(defaultListed);
    for (const std::string& target : Numbered(Bin("ZIDE.cfg"), "Project Target", "Target")) {
        DWORD kind = static_cast<DWORD>(atoi(GetField(target.c_str(), 2)) * 65536 + atoi(GetField(target.c_str(), 1)));
        C_CUStringList ofKind;
        EXPECT_TRUE(pm->GetPartNumbersOfKind(kind, &ofKind)) << target;
    }

    // Keyword files, editors with their windows' titles, the writer's files.
    for (const std::string& e : Numbered(Bin("ZIDE.cfg"), "Default_INI", "ExtName", 0))
        EXPECT_TRUE(Exists(Bin(std::string(GetField(e.c_str(), 2))))) << e;
    std::vector<std::string> editors = Numbered(Bin("ZIDE.cfg"), "Resource Editor", "Editor");
    ASSERT_EQ(4u, editors.size());
    for (const std::string& e : editors) {
        std::string program = std::string(GetField(e.c_str(), 1));
        EXPECT_TRUE(Exists(Bin(program))) << e;
        std::string ini = Bin(program.substr(0, program.size() - 4) + ".ini");
        EXPECT_EQ(std::string(GetField(e.c_str(), 2)), ReadKey(ini, "Receiver", "Title"));
    }
    EXPECT_FALSE(ReadKey(Bin("usbubp.ini"), "USBUBP_DEF", "ADDRESS").empty());
    bool noStorageType = false;
    for (const char* list : {"USB_UBP", "Writer"}) {
        char keys[4096] = {0};
        GetPrivateProfileSectionA(list, keys, sizeof(keys), Bin("usbubp.ini").c_str());
        for (const char* p = keys; *p; p += strlen(p) + 1) {
            std::string entry = strchr(p, '=') + 1;
            EXPECT_TRUE(Exists(Bin(ReadKey(Bin("usbubp.ini"), entry.c_str(), "File_name")))) << entry;
            noStorageType = noStorageType || ReadKey(Bin("usbubp.ini"), entry.c_str(), "Property") == "-1";
        }
    }
    EXPECT_TRUE(noStorageType);
    EXPECT_EQ("1", ReadKey(Bin("sample\\Sample.wbi"), "VeltaneTool", "HASSYSDISK"));
    EXPECT_FALSE(ReadKey(Bin("sample\\Sample.wbi"), "Project", "MessageDump").empty());
    EXPECT_EQ("", ReadKey(Bin("sample\\fixtures\\SampleOld.wbi"), "VeltaneTool", "Version"));
    EXPECT_EQ("KV61A", ReadKey(Bin("sample\\fixtures\\Sample.wbt"), "Project", "BodyName"));
}

// The editors the sample configures take files of every hand-over kind.
TEST(ProgramFolder, EditorsTakeEveryHandOverKind)
{
    vt::TempDir dir;
    for (const char* f : {"ZIDE.cfg", "WaveDesk.exe", "WaveDesk.ini", "ToneSift.exe", "ToneSift.ini",
                          "VoiceForge.exe", "VoiceForge.ini"})
        ASSERT_TRUE(CopyFileA(Bin(f).c_str(), dir.File(f).c_str(), FALSE)) << f;
    C_ApplicationBroker broker;
    ASSERT_TRUE(broker.Load(dir.File("ZIDE.cfg").c_str(), "Resource Editor", "Editor"));
    struct Case {
        const char* program;
        const char* name;
        const char* logged;
    };
    const Case cases[] = {
        {"WaveDesk", "WaveDesk", "TAKE "},                // kind 1: the request table
        {"ToneSift", "Kelbray Tone Sift", "ARG "},        // kind 0: the command line
        {"VoiceForge", "Kelbray Voice Forge", "INI "},    // kind 2: "OpenFile.ini"
    };
    std::string file = dir.Write("sound file.wav", "RIFF");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        tagApBrokerRequest request;
        memset(&request, 0, sizeof(request));
        strcpy(request.senderName, "Kelbray IDE");
        strcpy(request.targetName, c.name);
        lstrcpynA(request.filePath, file.c_str(), sizeof(request.filePath));
        EXPECT_TRUE(broker.Open(&request, AP_OPEN_BY_NAME_3));
        std::string log = dir.File(std::string(c.program) + ".log");
        bool seen = false;
        for (int waited = 0; waited < 15000 && !seen; waited += 100) {
            seen = vt::ReadFileBytes(log).find(c.logged) != std::string::npos;
            if (!seen)
                Sleep(100);
        }
        EXPECT_TRUE(seen) << vt::ReadFileBytes(log);
        HWND window = FindWindowA(nullptr, c.name);
        if (window)
            vt::CloseProcessWindow(window);
    }
}

} // namespace
