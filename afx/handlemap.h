// Handle-to-wrapper maps for the classes that wrap system handles. A
// permanent wrapper is entered by its owner's Attach and looked up under a
// lock; a handle nobody wraps gets a temporary wrapper of its own, kept per
// thread and freed when the thread goes idle.
#pragma once
#include <windows.h>
#include <mutex>
#include <unordered_map>

template <class H, class T>
class CHandleMap
{
public:
    T* LookupPermanent(H h)
    {
        if (!h)
            return nullptr;
        std::lock_guard<std::mutex> guard(m_lock);
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }

    void SetPermanent(H h, T* p)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_permanent[h] = p;
    }

    // Only while h still names p: another wrapper may have taken it over.
    void RemovePermanent(H h, T* p)
    {
        if (!h)
            return;
        std::lock_guard<std::mutex> guard(m_lock);
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == p)
            m_permanent.erase(it);
    }

    // The permanent wrapper of h, else this thread's temporary one.
    template <class Make> T* FromHandle(H h, Make make)
    {
        if (!h)
            return nullptr;
        if (T* p = LookupPermanent(h))
            return p;
        return Temporary(h, make);
    }

    // This thread's temporary wrapper of h; make(h) builds it the first time.
    template <class Make> static T* Temporary(H h, Make make)
    {
        auto& temp = Temporaries();
        auto it = temp.find(h);
        if (it != temp.end())
            return it->second;
        T* p = make(h);
        temp.emplace(h, p);
        return p;
    }

    static bool HasTemporaries() { return !Temporaries().empty(); }

    // The wrapper class's own FromHandle, DeleteTempMap, Attach and Detach,
    // written once: set(p, h) stores the handle in the wrapper (NULL to let go).
    template <class Set> T* Wrap(H h, Set set)
    {
        return FromHandle(h, [&](H hNew) {
            T* p = new T;
            set(p, hNew);
            return p;
        });
    }
    template <class Set> static void DeleteTempMap(Set set)
    {
        DeleteTemporaries([&](T* p) { set(p, H()); });
    }
    template <class Set> BOOL Attach(T* p, H hCurrent, H h, Set set)
    {
        if (!h || hCurrent)
            return FALSE;
        set(p, h);
        SetPermanent(h, p);
        return TRUE;
    }
    template <class Set> H Detach(T* p, H h, Set set)
    {
        RemovePermanent(h, p);
        set(p, H());
        return h;
    }

    // The idle cleanup: release(p) lets go of the handle first, so that the
    // wrapper's destructor leaves a handle it does not own alone.
    template <class Release> static void DeleteTemporaries(Release release)
    {
        auto& temp = Temporaries();
        for (auto& e : temp) {
            release(e.second);
            delete e.second;
        }
        temp.clear();
    }

private:
    static std::unordered_map<H, T*>& Temporaries()
    {
        thread_local std::unordered_map<H, T*> m;
        return m;
    }

    std::mutex m_lock;
    std::unordered_map<H, T*> m_permanent;
};

// A wrapper class's FromHandle, DeleteTempMap, Attach and Detach over its map
// (Map() returns it), its handle member and the setter of that member.
#define AFX_IMPLEMENT_HANDLE_WRAPPER(T, H, Map, member, Set) \
    T* T::FromHandle(H h) { return Map().Wrap(h, Set); } \
    void T::DeleteTempMap() { CHandleMap<H, T>::DeleteTempMap(Set); } \
    BOOL T::Attach(H h) { return Map().Attach(this, member, h, Set); } \
    H T::Detach() { return Map().Detach(this, member, Set); }
