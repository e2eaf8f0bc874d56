#include "support/config/CUPath.h"
#include "support/supportres.h"
#include "support/ui/CUMsgHandler.h"
#include <direct.h>
#include <mbstring.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Length of the character at p: 2 for a lead byte followed by a trail byte.
size_t CharLen(const char* p)
{
    return (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1]) ? 2 : 1;
}

// Copies at most 255 bytes, never splitting a double-byte character; always terminated.
void CopyPart(char* part, const char* from, size_t len)
{
    size_t n = 0;
    while (n < len) {
        size_t c = CharLen(from + n);
        if (n + c > len || n + c > C_CUPath::PART - 1)
            break;
        n += c;
    }
    memcpy(part, from, n);
    part[n] = 0;
}

size_t LastBackslash(const std::string& s)
{
    size_t last = std::string::npos;
    for (size_t i = 0; i < s.size(); i += CharLen(s.c_str() + i))
        if (s[i] == '\\')
            last = i;
    return last;
}

size_t FirstBackslash(const std::string& s)
{
    for (size_t i = 0; i < s.size(); i += CharLen(s.c_str() + i))
        if (s[i] == '\\')
            return i;
    return std::string::npos;
}

bool SameComponent(const std::string& a, const std::string& b)
{
    return _mbsicmp(reinterpret_cast<const unsigned char*>(a.c_str()),
                    reinterpret_cast<const unsigned char*>(b.c_str())) == 0;
}

void Report(UINT msgMode, UINT textId, const char* text)
{
    g_MsgHandler.ShowMessage(msgMode, IDS_CU_ERROR, textId, 0, text);
}

std::string CurrentDirectory()
{
    char buf[MAX_PATH + 1] = {0};
    if (!_getcwd(buf, sizeof(buf) - 1))
        buf[0] = 0;
    std::string dir(buf);
    if (dir.empty() || dir.back() != '\\')
        dir += '\\';
    return dir;
}

} // namespace

C_CUPath::C_CUPath(const char* path)
{
    SetPath(path);
}

void C_CUPath::Split(const char* text)
{
    m_drive[0] = m_dir[0] = m_title[0] = m_ext[0] = 0;
    const char* p = text;
    if (p[0] && p[1] == ':' && !IsDBCSLeadByte(static_cast<BYTE>(p[0]))) {
        CopyPart(m_drive, p, 2);
        p += 2;
    }
    // Directory: up to and including the last separator; extension: from the last dot after it.
    const char* name = p;
    for (const char* q = p; *q; q += CharLen(q))
        if (*q == '\\' || *q == '/')
            name = q + 1;
    CopyPart(m_dir, p, static_cast<size_t>(name - p));
    const char* dot = nullptr;
    for (const char* q = name; *q; q += CharLen(q))
        if (*q == '.')
            dot = q;
    const char* end = name + strlen(name);
    if (!dot)
        dot = end;
    CopyPart(m_title, name, static_cast<size_t>(dot - name));
    CopyPart(m_ext, dot, static_cast<size_t>(end - dot));
}

void C_CUPath::SetPath(const char* path)
{
    m_path = path;
    if (m_path.empty()) {
        m_drive[0] = m_dir[0] = m_title[0] = m_ext[0] = 0;
        return;
    }
    Split(m_path.c_str());
    if (m_drive[0])
        return;
    // A device or volume name before a colon ('LPT1:', 'NET:\pub') is the drive.
    const char* colon = strchr(m_path.c_str(), ':');
    if (!colon)
        return;
    Split(colon + 1);
    CopyPart(m_drive, m_path.c_str(), static_cast<size_t>(colon - m_path.c_str()) + 1);
}

C_CUString C_CUPath::GetFileName() const
{
    return C_CUString(m_title) + m_ext;
}

C_CUString C_CUPath::GetFolder() const
{
    return C_CUString(m_drive) + m_dir;
}

signed char C_CUPath::GetDriveNumber() const
{
    char c = m_drive[0] ? m_drive[0] : '#';
    char up[2] = {c, 0};
    CharUpperA(up);
    return static_cast<signed char>(up[0] - 'A');
}

BOOL ResolvePath(const char* base, C_CUString& path, int pathMode, UINT msgMode)
{
    if (pathMode < 0 || pathMode > 6)
        pathMode = CU_PATH_PLAIN;
    C_CUPath split(path);
    C_CUPath baseSplit(base);
    C_CUString folder = baseSplit.GetFolder();
    if (split.GetDrive().empty()) {
        if (path.empty()) {
            if (pathMode == CU_PATH_EMPTY_IS_BASE) {
                path = folder;
                return TRUE;
            }
            if (pathMode != CU_PATH_FOLDER && pathMode != CU_PATH_FOLDER_DROP)
                return FALSE;
            path = folder;
        } else {
            const C_CUString entry(path);
            std::string w = folder;
            std::string rest = path;
            while (rest.size() >= 2 && rest[0] == '.' && rest[1] == '.') {
                size_t cut = w.empty() ? std::string::npos : LastBackslash(w.substr(0, w.size() - 1));
                if (cut == std::string::npos) {
                    path = entry;
                    Report(msgMode, IDS_CU_FULLPATH_FAILED, entry);
                    return FALSE;
                }
                w.erase(cut + 1);
                rest.erase(0, 3);
            }
            path = w + rest;
        }
    }
    if ((pathMode == CU_PATH_FOLDER || pathMode == CU_PATH_FOLDER_DROP)) {
        if (!DirectoryExists(path)) {
            Report(msgMode, IDS_CU_DIR_NOT_EXIST, path);
            return FALSE;
        }
    } else if (pathMode == CU_PATH_FILE || pathMode == CU_PATH_FILE_DROP) {
        if (!FileExists(path)) {
            Report(msgMode, IDS_CU_FILE_NOT_EXIST, path);
            return FALSE;
        }
    }
    return TRUE;
}

BOOL ResolvePathList(const char* base, I_CUStringList* source, C_CUStringList* dest, int pathMode)
{
    if (!dest)
        return FALSE;
    dest->RemoveAll();
    if (!source)
        return FALSE;
    source->Reset();
    while (const char* text = source->GetNext()) {
        C_CUString path(text);
        ResolvePath(base, path, pathMode, CU_MSG_BOX);
        dest->Add(path);
    }
    return dest->GetCount() > 0;
}

void MakeRelativePath(const char* base, C_CUString& path)
{
    std::string b = base ? base : "";
    std::string p = path;
    size_t bi = FirstBackslash(b);
    size_t pi = FirstBackslash(p);
    if (bi == std::string::npos || bi != pi || !SameComponent(b.substr(0, bi), p.substr(0, pi)))
        return;
    b.erase(0, bi + 1);
    p.erase(0, pi + 1);
    for (;;) {
        bi = FirstBackslash(b);
        if (bi == std::string::npos) {
            path = p;
            return;
        }
        pi = FirstBackslash(p);
        if (pi != bi || !SameComponent(b.substr(0, bi), p.substr(0, pi)))
            break;
        b.erase(0, bi + 1);
        p.erase(0, pi + 1);
    }
    std::string result;
    for (size_t i = 0; i < b.size(); i += CharLen(b.c_str() + i))
        if (b[i] == '\\')
            result += "..\\";
    path = result + p;
}

void MakeRelativePathList(const char* base, I_CUStringList* source, C_CUStringList* dest)
{
    if (!dest)
        return;
    dest->RemoveAll();
    if (!source)
        return;
    int count = source->GetCount();
    for (int i = 0; i < count; ++i) {
        C_CUString path(source->GetAt(i));
        MakeRelativePath(base, path);
        dest->Add(path);
    }
}

C_CUString GetAppDirectory(BOOL keepBackslash)
{
    char module[MAX_PATH + 1] = {0};
    GetModuleFileNameA(g_hInstance, module, MAX_PATH);
    C_CUString text(module);
    text.MakeUpper();
    C_CUPath split(text);
    C_CUString result = split.GetDrive();
    C_CUString dir = split.GetDir();
    if (dir.empty())
        return result + "\\";
    if (dir[0] != '\\')
        result += "\\";
    result += dir;
    bool trailing = !result.empty() && result.back() == '\\';
    if (keepBackslash == TRUE && !trailing)
        result += "\\";
    else if (keepBackslash == FALSE && trailing)
        result.pop_back();
    return result;
}

BOOL FileExists(const char* fileName)
{
    if (!fileName || !*fileName)
        return FALSE;
    HANDLE h = CreateFileA(fileName, 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return FALSE;
    CloseHandle(h);
    return TRUE;
}

int DeleteFileIfExists(const char* fileName)
{
    try {
        if (!fileName || !*fileName)
            return 0;
        if (!FileExists(fileName))
            return 2;
        DeleteFileA(fileName);
        return 1;
    } catch (...) {
        return -1;
    }
}

BOOL IsAbsolutePath(const char* path)
{
    C_CUPath split(path);
    C_CUString dir = split.GetDir();
    return !split.GetDrive().empty() || (!dir.empty() && (dir[0] == '\\' || dir[0] == '/'));
}

BOOL DirectoryExists(const char* path)
{
    if (!path)
        return FALSE;
    std::string cwd = CurrentDirectory();
    C_CUPath split(path);
    std::string full;
    if (!split.GetDrive().empty())
        full = path;
    else if (path[0] == '\\')
        full = cwd.substr(0, 2) + path;
    else
        full = cwd + path;
    if (full.size() == 2)
        full += '\\';
    DWORD attr = GetFileAttributesA(full.c_str());
    return (attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY)) ? TRUE : FALSE;
}

C_CUString GetLeadingPath(const char* path, int count)
{
    if (!path || count < 1)
        return C_CUString();
    std::vector<std::string> parts;
    std::string current;
    for (const char* p = path; *p;) {
        size_t len = CharLen(p);
        if (*p == '\\') {
            parts.push_back(current);
            current.clear();
        } else {
            current.append(p, len);
        }
        p += len;
    }
    if (!current.empty())
        parts.push_back(current);
    if (static_cast<size_t>(count) > parts.size())
        return C_CUString();
    std::string result = parts[0];
    for (int i = 1; i < count; ++i)
        result += "\\" + parts[static_cast<size_t>(i)];
    if (result.size() == 2)
        result += "\\";
    return C_CUString(result);
}

BOOL CreateDirectoryPath(const char* path)
{
    if (!path || !*path)
        return FALSE;
    if (path[0] && path[1] == ':') {
        std::string root(path, 2);
        if (!DirectoryExists((root + "\\").c_str()))
            return FALSE;
    }
    if (DirectoryExists(path))
        return FALSE;
    UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    BOOL made = FALSE;
    for (int count = 2;; ++count) {
        C_CUString level = GetLeadingPath(path, count);
        if (level.empty())
            break;
        if (_mkdir(level) != 0 && !DirectoryExists(level)) {
            made = FALSE;
            break;
        }
        made = TRUE;
    }
    SetErrorMode(oldMode);
    return made;
}

BOOL EnsureDirectory(const char* path)
{
    if (DirectoryExists(path) || CreateDirectoryPath(path))
        return TRUE;
    g_MsgHandler.MessageBoxId(IDS_CU_ERROR, IDS_CU_MAKE_DIR_FAILED, 0, path ? path : "");
    return FALSE;
}

BOOL FindSystemProgram(const char* program, char* output)
{
    char folder[MAX_PATH + 1];
    auto candidate = [&](UINT len) {
        std::string s(folder, len < MAX_PATH ? len : 0);
        if (s.empty() || s.back() != '\\')
            s += '\\';
        s += program;
        lstrcpynA(output, s.c_str(), MAX_PATH);
        return FileExists(output);
    };
    if (candidate(GetWindowsDirectoryA(folder, MAX_PATH)))
        return TRUE;
    if (candidate(GetSystemDirectoryA(folder, MAX_PATH)))
        return TRUE;
    C_CUPath split(output);
    std::string s = std::string(split.GetDrive()) + "\\Program Files\\Accessories\\" + program;
    lstrcpynA(output, s.c_str(), MAX_PATH);
    return FileExists(output);
}
