// Memory in another process, for the control messages whose pointers the platform does not
// carry across processes (tab control, status bar). The current process works too.
#pragma once
#include <windows.h>

namespace vt {

class ForeignBuffer {
public:
    ForeignBuffer(HANDLE process, size_t size) : m_process(process)
    {
        m_at = static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    }
    ~ForeignBuffer()
    {
        if (m_at)
            VirtualFreeEx(m_process, m_at, 0, MEM_RELEASE);
    }
    ForeignBuffer(const ForeignBuffer&) = delete;
    ForeignBuffer& operator=(const ForeignBuffer&) = delete;
    // The address as the other process sees it.
    char* At(size_t offset = 0) const { return m_at + offset; }
    bool Write(size_t offset, const void* bytes, size_t n) const
    {
        return m_at && WriteProcessMemory(m_process, m_at + offset, bytes, n, nullptr);
    }
    bool Read(size_t offset, void* bytes, size_t n) const
    {
        return m_at && ReadProcessMemory(m_process, m_at + offset, bytes, n, nullptr);
    }

private:
    HANDLE m_process;
    char* m_at = nullptr;
};

} // namespace vt
