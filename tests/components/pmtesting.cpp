#include "tests/components/pmtesting.h"

namespace pmt {

OwnerWindow::OwnerWindow()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VtProjectMgrOwner";
    RegisterClassA(&wc);
    hwnd = CreateWindowA("VtProjectMgrOwner", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                         wc.hInstance, nullptr);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

OwnerWindow::~OwnerWindow()
{
    DestroyWindow(hwnd);
}

LRESULT CALLBACK OwnerWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    OwnerWindow* self = reinterpret_cast<OwnerWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == PM_WM_NOTIFY && self) {
        Sent s;
        s.code = wParam;
        memset(&s.record, 0, sizeof(s.record));
        if (wParam == PM_REQUEST_PREVIEW || wParam == PM_REQUEST_EDIT_RESOURCE) {
            s.path = lParam ? reinterpret_cast<const char*>(lParam) : "";
        } else if (wParam == 0 && lParam) {
            s.record = *reinterpret_cast<const tagMessageRecord*>(lParam);
            if (self->onRecord)
                self->onRecord(s.record);
        }
        self->sent.push_back(s);
        return 1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

std::vector<tagMessageRecord> OwnerWindow::Records(int kind) const
{
    std::vector<tagMessageRecord> out;
    for (const Sent& s : sent)
        if (s.code == 0 && (kind < 0 || s.record.kind == kind))
            out.push_back(s.record);
    return out;
}

int OwnerWindow::CountRequests(WPARAM code) const
{
    int n = 0;
    for (const Sent& s : sent)
        n += s.code == code ? 1 : 0;
    return n;
}

bool OwnerWindow::HasText(const std::string& text) const
{
    for (const tagMessageRecord& r : Records())
        if (text == r.text)
            return true;
    return false;
}

Component::Component(HWND owner, const std::string& dll)
{
    module = LoadLibraryExA(dll.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    EXPECT_TRUE(module != nullptr) << dll;
    auto create = reinterpret_cast<PFN_CreateProjectMgrInstance>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, PROJECTMGR_ENTRY_NAME)));
    EXPECT_TRUE(create != nullptr);
    I_ProjectAgent* agent = nullptr;
    if (create && create(owner, &agent) && agent)
        EXPECT_EQ(1u, agent->GetInterface(PROJECTMGR_INTERFACE_ID, &mgr));
    if (mgr)
        EXPECT_TRUE(mgr->Init(1));
}

Component::~Component()
{
    if (mgr)
        mgr->Release();
    if (module)
        FreeLibrary(module);
}

PostSink::PostSink()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PmtPostSink";
    RegisterClassA(&wc);
    hwnd = CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

PostSink::~PostSink()
{
    DestroyWindow(hwnd);
}

bool PostSink::WaitFor(UINT message, WPARAM wParam, bool anyWParam, MSG* taken)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 20000) {
        for (size_t i = 0; i < got.size(); ++i)
            if (got[i].message == message && (anyWParam || got[i].wParam == wParam)) {
                if (taken)
                    *taken = got[i];
                got.erase(got.begin() + static_cast<std::ptrdiff_t>(i));
                return true;
            }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        vt::PumpMessages();
    }
    return false;
}

LRESULT CALLBACK PostSink::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    PostSink* self = reinterpret_cast<PostSink*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && msg >= WM_USER && msg < 0x8000) {
        MSG m = {};
        m.hwnd = hwnd;
        m.message = msg;
        m.wParam = wParam;
        m.lParam = lParam;
        self->got.push_back(m);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

namespace {
struct Job {
    const std::function<BOOL()>* f;
    BOOL result;
};
DWORD WINAPI JobProc(LPVOID p)
{
    Job* job = static_cast<Job*>(p);
    job->result = (*job->f)();
    return 0;
}
} // namespace

BOOL RunOnWorker(const std::function<BOOL()>& f)
{
    Job job{&f, FALSE};
    HANDLE thread = CreateThread(nullptr, 0, JobProc, &job, 0, nullptr);
    if (!thread)
        return FALSE;
    DWORD start = GetTickCount();
    for (;;) {
        DWORD w = MsgWaitForMultipleObjects(1, &thread, FALSE, 1000, QS_ALLINPUT);
        if (w == WAIT_OBJECT_0)
            break;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (GetTickCount() - start > 90000) {
            ADD_FAILURE() << "worker did not end";
            break;
        }
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return job.result;
}

std::vector<std::string> TwoCall(const std::function<int(char*)>& call)
{
    int size = call(nullptr);
    std::vector<std::string> out;
    if (size <= 0)
        return out;
    std::vector<char> buf(static_cast<size_t>(size) + 8, 'x');
    EXPECT_EQ(size, call(buf.data()));
    size_t at = 0;
    while (at < static_cast<size_t>(size) && buf[at]) {
        out.push_back(&buf[at]);
        at += out.back().size() + 1;
    }
    EXPECT_EQ(static_cast<size_t>(size), at + 1) << "size and strings disagree";
    EXPECT_EQ('\0', buf[at]);
    EXPECT_EQ('x', buf[static_cast<size_t>(size)]) << "written past the size";
    return out;
}

std::vector<std::string> Items(I_CUStringList* list)
{
    std::vector<std::string> out;
    for (int i = 0; list && i < list->GetCount(); ++i)
        out.push_back(list->GetAt(i));
    return out;
}

std::string ReadKey(const std::string& file, const char* section, const char* key)
{
    char buf[1024] = {0};
    GetPrivateProfileStringA(section, key, "", buf, sizeof(buf), file.c_str());
    return buf;
}

} // namespace pmt
