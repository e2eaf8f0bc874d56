// Stand-in writer component: the target's storage is a file under the program folder.
// Configuration "Z61QK83Writer.ini" beside the DLL: [Storage] File, Capacity (sectors);
// [Test] FailOperation (an operation code that fails); [Trace] Enable, File.
#include "components/include/WriterInterface.h"
#include "components/StandinTrace.h"
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace {

HINSTANCE g_module = nullptr;
std::mutex g_textLock;
std::deque<std::string>* g_texts = nullptr;   // every progress text, kept for the process

std::string Folder()
{
    return standin::ModuleFolder(g_module);
}

std::string ConfigFile()
{
    return Folder() + "Z61QK83Writer.ini";
}

std::string ConfigValue(const char* section, const char* key, const char* def)
{
    char buf[MAX_PATH] = {0};
    GetPrivateProfileStringA(section, key, def, buf, sizeof(buf), ConfigFile().c_str());
    return buf;
}

std::string InFolder(const std::string& name)
{
    return name.find(':') == std::string::npos && name.compare(0, 2, "\\\\") != 0 ? Folder() + name : name;
}

const char* Str(const char* s)
{
    return s ? s : "(null)";
}

// A text that outlives the posted message that points to it.
const char* Keep(const std::string& text)
{
    std::lock_guard<std::mutex> lock(g_textLock);
    g_texts->push_back(text);
    return g_texts->back().c_str();
}

void Progress(HWND window, const std::string& text, int percent)
{
    if (window)
        PostMessageA(window, WRITER_WM_PROGRESS, reinterpret_cast<WPARAM>(Keep(text)), percent);
}

int Fail(HWND window, const std::string& text)
{
    Progress(window, text, WRITER_PROGRESS_FAILED);
    return -1;
}

bool ReadFileBytes(const std::string& path, std::string& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = GetFileSize(h, nullptr);
    bytes.assign(size, '\0');
    DWORD read = 0;
    bool ok = size == 0 || (ReadFile(h, &bytes[0], size, &read, nullptr) && read == size);
    CloseHandle(h);
    return ok;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = bytes.empty() || (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                                written == bytes.size());
    CloseHandle(h);
    return ok;
}

// The simulated storage: sectors never written read as 0xFF.
class Storage {
public:
    Storage() : m_path(InFolder(ConfigValue("Storage", "File", "WriterStorage.bin")))
    {
        m_capacity = strtoul(ConfigValue("Storage", "Capacity", "163840").c_str(), nullptr, 0);
        ReadFileBytes(m_path, m_bytes);
    }
    DWORD Capacity() const { return m_capacity; }
    std::string Read(DWORD sector, DWORD sectors) const
    {
        std::string out(static_cast<size_t>(sectors) * WRITER_SECTOR_SIZE, '\xFF');
        size_t at = static_cast<size_t>(sector) * WRITER_SECTOR_SIZE;
        if (at < m_bytes.size())
            out.replace(0, std::min(out.size(), m_bytes.size() - at), m_bytes, at, out.size());
        return out;
    }
    void Put(DWORD sector, const std::string& bytes)
    {
        size_t at = static_cast<size_t>(sector) * WRITER_SECTOR_SIZE;
        if (m_bytes.size() < at + bytes.size())
            m_bytes.resize(at + bytes.size(), '\xFF');
        m_bytes.replace(at, bytes.size(), bytes);
    }
    bool Save() const { return WriteFileBytes(m_path, m_bytes); }

private:
    std::string m_path;
    std::string m_bytes;
    DWORD m_capacity = 0;
};

DWORD Sectors(size_t bytes)
{
    return static_cast<DWORD>((bytes + WRITER_SECTOR_SIZE - 1) / WRITER_SECTOR_SIZE);
}

bool Present(const char* name)
{
    return name && *name && GetFileAttributesA(InFolder(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Given(const char* path)
{
    return path && *path;
}

// Writes the images in order from the start sector; each must fit its size.
int WriteImages(Storage& storage, HWND window, DWORD start, const std::vector<std::pair<const char*, DWORD>>& images)
{
    DWORD total = 0;
    for (auto& i : images)
        total += i.second;
    if (start > storage.Capacity() || total > storage.Capacity() - start)
        return Fail(window, "The image is larger than the storage.");
    DWORD at = start;
    int done = 0;
    for (auto& i : images) {
        std::string bytes;
        if (!ReadFileBytes(i.first, bytes))
            return Fail(window, std::string("Cannot read ") + i.first + ".");
        if (Sectors(bytes.size()) > i.second)
            return Fail(window, std::string(i.first) + " is larger than its size.");
        bytes.resize(static_cast<size_t>(i.second) * WRITER_SECTOR_SIZE, '\xFF');
        storage.Put(at, bytes);
        at += i.second;
        Progress(window, "Writing...", 90 * ++done / static_cast<int>(images.size()));
    }
    if (!storage.Save())
        return Fail(window, "Cannot write the storage.");
    return 0;
}

int ReadImages(const Storage& storage, HWND window, DWORD start, const std::vector<std::pair<const char*, DWORD>>& images)
{
    DWORD at = start;
    for (auto& i : images) {
        if (!WriteFileBytes(i.first, storage.Read(at, i.second)))
            return Fail(window, std::string("Cannot write ") + i.first + ".");
        at += i.second;
    }
    return 0;
}

// Each file's bytes against the storage (the padding of the last sector is not compared).
int CompareImages(const Storage& storage, HWND window, DWORD start, const std::vector<std::pair<const char*, DWORD>>& images)
{
    DWORD at = start;
    for (auto& i : images) {
        std::string bytes;
        if (!ReadFileBytes(i.first, bytes))
            return Fail(window, std::string("Cannot read ") + i.first + ".");
        if (storage.Read(at, Sectors(bytes.size())).compare(0, bytes.size(), bytes) != 0)
            return Fail(window, "Verify failed: the storage differs from " + std::string(i.first) + ".");
        at += i.second ? i.second : Sectors(bytes.size());
    }
    return 0;
}

} // namespace

extern "C" int __stdcall Write(int storageType, const char* text2, const char* text3, const char* image1,
                               DWORD sectors1, const char* image2, DWORD sectors2, DWORD startSector, HWND window,
                               int operation, DWORD appStart, DWORD ubpAddress, int flag)
{
    if (GetPrivateProfileIntA("Trace", "Enable", 0, ConfigFile().c_str())) {
        char line[2048];
        snprintf(line, sizeof(line), "Write %d %s %s %s %lu %s %lu %lu %p 0x%X 0x%lX 0x%lX %d", storageType, Str(text2),
                 Str(text3), Str(image1), sectors1, Str(image2), sectors2, startSector, static_cast<void*>(window),
                 static_cast<unsigned>(operation), appStart, ubpAddress, flag);
        standin::AppendLine(InFolder(ConfigValue("Trace", "File", "WriterTrace.log")), line);
    }
    if (strtol(ConfigValue("Test", "FailOperation", "-1").c_str(), nullptr, 0) == operation)
        return Fail(window, "The writer refused the operation.");
    if (operation == WRITER_OP_WRITE || operation == WRITER_OP_SIZED_UPLOAD || operation == WRITER_OP_WRITE_FILE) {
        if (!Present(text2))
            return Fail(window, std::string("The boot program ") + Str(text2) + " is missing.");
        if (!Present(text3))
            return Fail(window, std::string("The writer file ") + Str(text3) + " is missing.");
    }
    Progress(window, "Connecting...", 0);
    Storage storage;
    std::vector<std::pair<const char*, DWORD>> images;
    switch (operation) {
    case WRITER_OP_WRITE:
    case WRITER_OP_VERIFY:
    case WRITER_OP_UPLOAD:
    case WRITER_OP_SIZED_UPLOAD:
        if (!Given(image1))
            return Fail(window, "No image file.");
        if (operation == WRITER_OP_UPLOAD) {
            // The upload files are arguments 2 and 3; the backups only give the sizes.
            images.push_back({text2, sectors1});
            if (Given(image2) && Given(text3))
                images.push_back({text3, sectors2});
        } else {
            images.push_back({image1, sectors1});
            if (Given(image2))
                images.push_back({image2, sectors2});
        }
        break;
    case WRITER_OP_WRITE_FILE:
    case WRITER_OP_VERIFY_FILE: {
        std::string bytes;
        if (!Given(image1) || !ReadFileBytes(image1, bytes))
            return Fail(window, std::string("Cannot read ") + Str(image1) + ".");
        DWORD sectors = Sectors(bytes.size());
        if (sectors1 && sectors > sectors1)
            return Fail(window, "The file is larger than the storage.");
        images.push_back({image1, sectors});
        break;
    }
    default:
        return Fail(window, "Unknown operation.");
    }
    int result;
    const char* done;
    if (operation == WRITER_OP_WRITE || operation == WRITER_OP_WRITE_FILE) {
        result = WriteImages(storage, window, startSector, images);
        done = "Write completed.";
    } else if (operation == WRITER_OP_VERIFY || operation == WRITER_OP_VERIFY_FILE) {
        result = CompareImages(storage, window, startSector, images);
        done = "Verify completed.";
    } else {
        result = ReadImages(storage, window, startSector, images);
        done = "Upload completed.";
    }
    if (result == 0) {
        Progress(window, done, 100);
        Progress(window, done, WRITER_PROGRESS_DONE);
    }
    return result;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        g_texts = new std::deque<std::string>;
        DisableThreadLibraryCalls(instance);
    }
    // The texts stay when the DLL is freed: a progress message may still be queued.
    return TRUE;
}
