// Loading the project-manager component as the IDE does, a window that receives what it sends,
// and copies of the sample project.
#pragma once
#include <gtest/gtest.h>
#include "components/include/ProjectMgrInterface.h"
#include "support/text/CUStringList.h"
#include "tests/harness/harness.h"
#include "tests/harness/sample_copy.h"
#include <functional>
#include <string>
#include <vector>

namespace pmt {

struct Sent {
    WPARAM code = 0;
    std::string path;          // requests 25 and 26
    tagMessageRecord record;   // output records (code 0)
};

// A top-level window that keeps a copy of every WM_USER+100 it gets; onRecord runs inside the
// handler (the sender is blocked there).
class OwnerWindow {
public:
    OwnerWindow();
    ~OwnerWindow();
    HWND hwnd = nullptr;
    std::vector<Sent> sent;
    std::function<void(const tagMessageRecord&)> onRecord;

    std::vector<tagMessageRecord> Records(int kind = -1) const;
    int CountRequests(WPARAM code) const;
    bool HasText(const std::string& text) const;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

// A window that keeps every WM_USER-or-later message posted to it (the components post progress
// and notifications).
class PostSink {
public:
    PostSink();
    ~PostSink();
    PostSink(const PostSink&) = delete;
    PostSink& operator=(const PostSink&) = delete;
    // Pumps until a message of that number (and wParam, unless any) has come; takes it out of
    // got. The limit only guards against a hang.
    bool WaitFor(UINT message, WPARAM wParam, bool anyWParam = false, MSG* taken = nullptr);
    HWND hwnd = nullptr;
    std::vector<MSG> got;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

class Component {
public:
    explicit Component(HWND owner, const std::string& dll = vt::ProgramFolder() + PROJECTMGR_DLL_NAME);
    ~Component();
    I_ProjectMgr* operator->() const { return mgr; }
    HMODULE module = nullptr;
    I_ProjectMgr* mgr = nullptr;
};

// The sample copies and the current folder are the harness's.
using vt::CopyTree;
using vt::CurrentFolder;
using vt::SampleCopy;

// Runs f on another thread while this one serves the messages sent to its windows.
BOOL RunOnWorker(const std::function<BOOL()>& f);
// The two-call protocol: the strings, with a check that size and contents agree.
std::vector<std::string> TwoCall(const std::function<int(char*)>& call);
std::vector<std::string> Items(I_CUStringList* list);
std::string ReadKey(const std::string& file, const char* section, const char* key);

} // namespace pmt
