#include "components/VeltaneProjectMgr/PmModel.h"
#include <algorithm>
#include <cstdio>

namespace pm {

const char* const kBuildTargets[2] = {"Debug", "Release"};

std::string Upper(std::string s)
{
    CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

bool SameText(const std::string& a, const std::string& b)
{
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::string NameOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtOf(const std::string& path)
{
    std::string name = NameOf(path);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string TitleOf(const std::string& path)
{
    std::string name = NameOf(path);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyText(char* buffer, size_t size, const std::string& text)
{
    if (!buffer || text.size() >= size)
        return false;
    memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

const std::vector<FolderRule>& FolderRules()
{
    static const std::vector<FolderRule> rules = {
        // name, visible, exts, default, target, accepts target, max, max per sub,
        // has subs, requires sub, can have subs, fixed subs, compile, file/sub/folder actions
        {"Application", true, {".asm", ".inc"}, ".asm", "", false, 0, 0, false, false, false, {}, true, {}, {}, {}},
        {"GraphicData", true, {".bmp"}, ".bmp", "", false, 0, 4, true, true, true, {"Main"}, false, {},
         {"List Files"}, {"Sort Files"}},
        {"AudioData", true, {".wav", ".sil"}, ".wav", "", false, 4, 0, false, false, false, {}, false, {}, {}, {}},
        {"Resource", true, {".wav", ".bmp"}, "", "", false, 0, 0, false, false, false, {}, false,
         {"Preview", "Edit"}, {}, {}},
        {"Other", true, {".*"}, "", "", false, 0, 0, false, false, false, {}, false, {}, {}, {}},
        {"Target", true, {}, "", ".bin", true, 1, 0, false, false, false, {}, false, {}, {}, {}},
        {"Library", false, {".lib"}, ".lib", "", false, 0, 0, false, false, false, {}, false, {}, {}, {}},
    };
    return rules;
}

Folder::Folder(const FolderRule& rule) : m_rule(rule)
{
    for (const std::string& e : rule.exts)
        m_exts.Add(e.c_str());
    for (const std::string& a : rule.fileActions)
        m_fileActions.Add(a.c_str());
    for (const std::string& a : rule.subFolderActions)
        m_subActions.Add(a.c_str());
    for (const std::string& a : rule.folderActions)
        m_folderActions.Add(a.c_str());
    for (const std::string& s : rule.fixedSubFolders) {
        subNames.push_back(s);
        subFiles.emplace_back(new StringList);
    }
}

I_CUStringList* Folder::GetAllFiles()
{
    m_all.items = files.items;
    for (const auto& sub : subFiles)
        m_all.items.insert(m_all.items.end(), sub->items.begin(), sub->items.end());
    return &m_all;
}

I_CUElementList<I_CUStringList*>* Folder::GetSubFolders()
{
    m_subLists.items.clear();
    for (const auto& sub : subFiles)
        m_subLists.items.push_back(sub.get());
    return &m_subLists;
}

const char* Folder::GetSubFolderName(int index)
{
    return index >= 0 && index < static_cast<int>(subNames.size()) ? subNames[static_cast<size_t>(index)].c_str() : "";
}

I_CUStringList* Folder::GetSubFolder(int index)
{
    return index >= 0 && index < static_cast<int>(subFiles.size()) ? subFiles[static_cast<size_t>(index)].get()
                                                                   : nullptr;
}

int Folder::FindSubFolder(const std::string& name) const
{
    for (size_t i = 0; i < subNames.size(); ++i)
        if (SameText(subNames[i], name))
            return static_cast<int>(i);
    return -1;
}

int Folder::TotalFiles() const
{
    int n = static_cast<int>(files.items.size());
    for (const auto& sub : subFiles)
        n += static_cast<int>(sub->items.size());
    return n;
}

BOOL Folder::CheckCapacity(int added, int subFolder)
{
    if (added < 0)
        return FALSE;
    if (m_rule.maxFiles > 0 && TotalFiles() + added > m_rule.maxFiles)
        return FALSE;
    if (subFolder >= 0 && m_rule.maxPerSubFolder > 0) {
        if (subFolder >= static_cast<int>(subFiles.size()))
            return FALSE;
        if (static_cast<int>(subFiles[static_cast<size_t>(subFolder)]->items.size()) + added > m_rule.maxPerSubFolder)
            return FALSE;
    }
    return TRUE;
}

BOOL Folder::GetFilePath(int subFolder, int file, char* buffer)
{
    const StringList* list = &files;
    if (subFolder >= 0) {
        if (subFolder >= static_cast<int>(subFiles.size()))
            return FALSE;
        list = subFiles[static_cast<size_t>(subFolder)].get();
    }
    if (file < 0 || file >= static_cast<int>(list->items.size()))
        return FALSE;
    return CopyText(buffer, PM_PATH_SIZE, list->items[static_cast<size_t>(file)]) ? TRUE : FALSE;
}

bool Folder::Contains(const std::string& path) const
{
    for (const std::string& f : files.items)
        if (SameText(f, path))
            return true;
    for (const auto& sub : subFiles)
        for (const std::string& f : sub->items)
            if (SameText(f, path))
                return true;
    return false;
}

bool Folder::Remove(const std::string& path, int subFolder)
{
    std::vector<std::string>* list = &files.items;
    if (subFolder >= 0) {
        if (subFolder >= static_cast<int>(subFiles.size()))
            return false;
        list = &subFiles[static_cast<size_t>(subFolder)]->items;
    }
    for (auto it = list->begin(); it != list->end(); ++it)
        if (SameText(*it, path)) {
            list->erase(it);
            return true;
        }
    return false;
}

std::string Folder::CheckAdd(const std::vector<std::string>& paths, int subFolder) const
{
    int sources = 0, targets = 0;
    for (const std::string& p : paths) {
        std::string ext = ExtOf(p);
        if (ext.empty())
            return "a file without extension";
        bool source = SameText(ext, m_rule.defaultExt);
        for (const std::string& e : m_rule.exts)
            source = source || e == ".*" || SameText(e, ext);
        if (source)
            ++sources;
        else if (*m_rule.targetExt && SameText(ext, m_rule.targetExt))
            ++targets;
        else
            return "extension " + ext + " not accepted";
    }
    int present = TotalFiles();
    if (targets) {
        if (!m_rule.acceptsTarget || sources || targets > 1 || present > 0)
            return "one target file only, alone";
    } else {
        for (const std::string& f : files.items)
            if (*m_rule.targetExt && SameText(ExtOf(f), m_rule.targetExt))
                return "the folder holds its target file";
    }
    if (m_rule.requiresSubFolder && subFolder < 0)
        return "a sub-folder is needed";
    if (subFolder >= static_cast<int>(subFiles.size()))
        return "no such sub-folder";
    if (m_rule.maxFiles > 0 && present + static_cast<int>(paths.size()) > m_rule.maxFiles)
        return "folder limit";
    if (subFolder >= 0 && m_rule.maxPerSubFolder > 0 &&
        static_cast<int>(subFiles[static_cast<size_t>(subFolder)]->items.size() + paths.size()) > m_rule.maxPerSubFolder)
        return "sub-folder limit";
    return std::string();
}

// ---------------------------------------------------------------------------------------------

namespace {

const char kProjectSection[] = "Project";

std::string ReadKey(const std::string& file, const char* section, const std::string& key, const char* def = "")
{
    char buf[1024] = {0};
    GetPrivateProfileStringA(section, key.c_str(), def, buf, sizeof(buf), file.c_str());
    return buf;
}

int ReadInt(const std::string& file, const char* section, const char* key, int def)
{
    std::string v = ReadKey(file, section, key);
    if (v.empty())
        return def;
    char* end = nullptr;
    long n = strtol(v.c_str(), &end, 10);
    return end && *end == '\0' ? static_cast<int>(n) : def;
}

// A double-null-terminated list from the profile API, read whole whatever its length: the API
// answers size - 2 when the list did not fit.
template <class Read>
std::vector<std::string> ReadList(Read read)
{
    std::vector<char> buf(4096);
    for (;;) {
        DWORD got = read(buf.data(), static_cast<DWORD>(buf.size()));
        if (got + 2 < buf.size())
            break;
        buf.assign(buf.size() * 2, '\0');
    }
    std::vector<std::string> items;
    for (const char* p = buf.data(); *p; p += strlen(p) + 1)
        items.emplace_back(p);
    return items;
}

// Every "<prefix><n>" key of the section in the order of n: gaps and empty values are skipped,
// nothing is dropped for its number.
std::vector<std::string> ReadNumbered(const std::string& file, const std::string& section, const char* prefix)
{
    const size_t length = strlen(prefix);
    std::vector<std::pair<unsigned long long, std::string>> numbered;
    for (const std::string& key : ReadList([&](char* b, DWORD n) {
             return GetPrivateProfileStringA(section.c_str(), nullptr, "", b, n, file.c_str());
         })) {
        if (key.size() <= length || key.size() > length + 18 || !SameText(key.substr(0, length), prefix) ||
            key.find_first_not_of("0123456789", length) != std::string::npos)
            continue;
        unsigned long long n = std::stoull(key.substr(length));
        std::string v = ReadKey(file, section.c_str(), key);
        if (n > 0 && !v.empty())
            numbered.emplace_back(n, v);
    }
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> values;
    for (auto& entry : numbered)
        values.push_back(std::move(entry.second));
    return values;
}

void WriteKey(const std::string& file, const char* section, const char* key, const std::string& value)
{
    WritePrivateProfileStringA(section, key, value.c_str(), file.c_str());
}

void WriteNumbered(const std::string& file, const std::string& section, const char* prefix,
                   const std::vector<std::string>& values)
{
    if (values.empty()) {
        WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str());
        return;
    }
    // The section in one write: a key at a time rewrites the file once per entry.
    std::string keys;
    for (size_t i = 0; i < values.size(); ++i) {
        keys += prefix + std::to_string(i + 1) + "=" + values[i];
        keys += '\0';
    }
    keys += '\0';
    WritePrivateProfileSectionA(section.c_str(), keys.c_str(), file.c_str());
}

std::string FilesSection(const Folder& f, int sub)
{
    std::string s = std::string("Files.") + f.Rule().name;
    if (sub >= 0)
        s += "." + f.subNames[static_cast<size_t>(sub)];
    return s;
}

} // namespace

void Project::Reset()
{
    open = false;
    error.clear();
    path.clear();
    folder.clear();
    name.clear();
    settings = Settings();
    folders.clear();
    for (const FolderRule& rule : FolderRules())
        folders.emplace_back(new Folder(rule));
    rootFiles.items.clear();
    openFiles.clear();
}

std::string Project::Relative(const std::string& full) const
{
    if (full.size() > folder.size() && SameText(full.substr(0, folder.size()), folder))
        return full.substr(folder.size());
    return full;
}

std::string Project::Absolute(const std::string& stored) const
{
    if ((stored.size() > 1 && stored[1] == ':') || (!stored.empty() && (stored[0] == '\\' || stored[0] == '/')))
        return stored;
    return folder + stored;
}

Folder* Project::FindFolder(const std::string& folderName) const
{
    for (const auto& f : folders)
        if (SameText(f->Rule().name, folderName))
            return f.get();
    return nullptr;
}

std::vector<std::string> Project::AllFiles() const
{
    std::vector<std::string> all = rootFiles.items;
    for (const auto& f : folders) {
        all.insert(all.end(), f->files.items.begin(), f->files.items.end());
        for (const auto& sub : f->subFiles)
            all.insert(all.end(), sub->items.begin(), sub->items.end());
    }
    return all;
}

bool Project::Load(const std::string& file)
{
    Reset();
    if (!FileExists(file) || file.size() >= PM_PATH_SIZE)
        return false;
    path = file;
    folder = FolderOf(file);
    name = TitleOf(file);
    Settings& s = settings;
    s.partNumber = ReadKey(file, kProjectSection, "PartNumber");
    if (s.partNumber.empty() || s.partNumber.size() > 63)
        return false;
    s.kind = static_cast<DWORD>(ReadInt(file, kProjectSection, "Kind", PM_KIND_NORMAL));
    if (s.kind != PM_KIND_NORMAL && s.kind != PM_KIND_OBJ)
        return false;
    s.subType = static_cast<DWORD>(ReadInt(file, kProjectSection, "SubType", 0));
    s.outputName = ReadKey(file, kProjectSection, "OutputName");
    if (s.outputName.empty() || s.outputName.size() > 64 || s.outputName.find_first_of("\\/:.") != std::string::npos)
        s.outputName = name;
    s.buildTarget = std::min(std::max(ReadInt(file, kProjectSection, "BuildTarget", 0), 0), 1);
    s.maxErrors = std::max(ReadInt(file, kProjectSection, "MaxErrors", 100), 1);
    s.maxWarnings = std::max(ReadInt(file, kProjectSection, "MaxWarnings", 100), 1);
    s.autoSave = ReadInt(file, kProjectSection, "AutoSave", 1) != 0;
    s.autoOpenReport = ReadInt(file, kProjectSection, "AutoOpenReport", 1) != 0;
    s.manualModuleSelect = ReadInt(file, kProjectSection, "ManualModuleSelect", 0) != 0;
    s.autoCheckModification = ReadInt(file, kProjectSection, "AutoCheckModification", 1) != 0;
    s.incremental = static_cast<DWORD>(ReadInt(file, kProjectSection, "Incremental", 1));
    s.scriptMode = static_cast<DWORD>(ReadInt(file, kProjectSection, "ScriptMode", 0));
    s.clock = ReadKey(file, "Device", "Clock");

    auto addAll = [this](StringList& list, const std::vector<std::string>& stored) {
        for (const std::string& v : stored) {
            std::string full = Absolute(v);
            if (full.size() < PM_PATH_SIZE)
                list.items.push_back(full);
        }
    };
    for (const auto& f : folders) {
        std::string subSection = std::string("SubFolders.") + f->Rule().name;
        if (f->Rule().canHaveSubFolders) {
            // Beyond the component's limits the file is refused: dropping a sub-folder would
            // drop its files at the next save.
            for (const std::string& sub : ReadNumbered(file, subSection, "Name")) {
                if (f->FindSubFolder(sub) >= 0)
                    continue;
                if (sub.size() >= kMaxSubFolderName || f->subNames.size() >= kMaxSubFolders) {
                    std::string reason = "more than " + std::to_string(kMaxSubFolders) + " sub-folders or a name of " +
                                         std::to_string(kMaxSubFolderName) + " characters or more in [" + subSection + "]";
                    Reset();
                    error = reason;
                    return false;
                }
                f->subNames.push_back(sub);
                f->subFiles.emplace_back(new StringList);
            }
            int active = ReadInt(file, subSection.c_str(), "Active", 0);
            f->active = active >= 0 && active < static_cast<int>(f->subNames.size()) ? active : 0;
        }
        addAll(f->files, ReadNumbered(file, FilesSection(*f, -1), "File"));
        for (size_t i = 0; i < f->subNames.size(); ++i)
            addAll(*f->subFiles[i], ReadNumbered(file, FilesSection(*f, static_cast<int>(i)), "File"));
    }
    addAll(rootFiles, ReadNumbered(file, "Files.Root", "File"));
    for (const std::string& v : ReadNumbered(file, "OpenFiles", "File"))
        openFiles.push_back(Absolute(v));
    open = true;
    return true;
}

bool Project::Save(const std::string& file) const
{
    const Settings& s = settings;
    WriteKey(file, kProjectSection, "PartNumber", s.partNumber);
    WriteKey(file, kProjectSection, "Kind", std::to_string(s.kind));
    WriteKey(file, kProjectSection, "SubType", std::to_string(s.subType));
    WriteKey(file, kProjectSection, "OutputName", s.outputName);
    WriteKey(file, kProjectSection, "BuildTarget", std::to_string(s.buildTarget));
    WriteKey(file, kProjectSection, "MaxErrors", std::to_string(s.maxErrors));
    WriteKey(file, kProjectSection, "MaxWarnings", std::to_string(s.maxWarnings));
    WriteKey(file, kProjectSection, "AutoSave", s.autoSave ? "1" : "0");
    WriteKey(file, kProjectSection, "AutoOpenReport", s.autoOpenReport ? "1" : "0");
    WriteKey(file, kProjectSection, "ManualModuleSelect", s.manualModuleSelect ? "1" : "0");
    WriteKey(file, kProjectSection, "AutoCheckModification", s.autoCheckModification ? "1" : "0");
    WriteKey(file, kProjectSection, "Incremental", std::to_string(s.incremental));
    WriteKey(file, kProjectSection, "ScriptMode", std::to_string(s.scriptMode));
    if (!s.clock.empty())
        WriteKey(file, "Device", "Clock", s.clock);
    auto relative = [this](const std::vector<std::string>& items) {
        std::vector<std::string> out;
        for (const std::string& i : items)
            out.push_back(Relative(i));
        return out;
    };
    // Sections of sub-folders deleted or renamed since the file was written go.
    for (const std::string& n : ReadList([&](char* b, DWORD size) {
             return GetPrivateProfileSectionNamesA(b, size, file.c_str());
         })) {
        for (const auto& f : folders) {
            std::string prefix = FilesSection(*f, -1) + ".";
            if (n.size() > prefix.size() && SameText(n.substr(0, prefix.size()), prefix) &&
                f->FindSubFolder(n.substr(prefix.size())) < 0)
                WritePrivateProfileStringA(n.c_str(), nullptr, nullptr, file.c_str());
        }
    }
    for (const auto& f : folders) {
        if (f->Rule().canHaveSubFolders) {
            std::string subSection = std::string("SubFolders.") + f->Rule().name;
            WriteNumbered(file, subSection, "Name", f->subNames);
            WriteKey(file, subSection.c_str(), "Active", std::to_string(f->active));
        }
        WriteNumbered(file, FilesSection(*f, -1), "File", relative(f->files.items));
        for (size_t i = 0; i < f->subNames.size(); ++i)
            WriteNumbered(file, FilesSection(*f, static_cast<int>(i)), "File", relative(f->subFiles[i]->items));
    }
    WriteNumbered(file, "Files.Root", "File", relative(rootFiles.items));
    WriteNumbered(file, "OpenFiles", "File", relative(openFiles));
    // Flush the profile cache so that copies of the file see every key.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
    return FileExists(file);
}

} // namespace pm
