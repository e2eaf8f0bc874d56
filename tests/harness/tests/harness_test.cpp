#include "tests/harness/harness.h"
#include <gtest/gtest.h>

TEST(Harness, AnswersMessageBoxAndRecordsItsText) {
    vt::ModalAnswerer answerer(IDOK);
    answerer.Queue(IDNO);
    int r = MessageBoxA(nullptr, "File [a.asm] does not exist.", "Error: ", MB_YESNO);
    EXPECT_EQ(IDNO, r);
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("Error: ", answerer.Last().caption);
    EXPECT_NE(std::string::npos, answerer.Last().text.find("File [a.asm] does not exist."));
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, "second", "Message:", MB_OK));
    EXPECT_EQ(2u, answerer.Count());
}

namespace {
UINT g_seen = 0;
LRESULT CALLBACK ProbeProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_USER + 1) { g_seen = static_cast<UINT>(w); return 42; }
    return DefWindowProcA(h, m, w, l);
}
} // namespace

TEST(Harness, RealWindowReceivesMessages) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VtHarnessProbe";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowA("VtHarnessProbe", "probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              10, 10, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(42, SendMessageA(hwnd, WM_USER + 1, 7, 0));
    EXPECT_EQ(7u, g_seen);
    RECT rc;
    GetClientRect(hwnd, &rc);
    EXPECT_GT(rc.right, 0);
    DestroyWindow(hwnd);
}

TEST(Harness, TempDirIsRemoved) {
    std::string path;
    {
        vt::TempDir dir;
        path = dir.Path();
        vt::TempDir().Path();
        EXPECT_EQ("abc", vt::ReadFileBytes(dir.Write("x.txt", "abc")));
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
}

TEST(Harness, PrintsTheLayersValueTypes) {
    EXPECT_EQ("CRect(1, 2, 3, 4)", testing::PrintToString(CRect(1, 2, 3, 4)));
    EXPECT_EQ("CPoint(-5, 6)", testing::PrintToString(CPoint(-5, 6)));
    EXPECT_EQ("CSize(7, 8)", testing::PrintToString(CSize(7, 8)));
    EXPECT_EQ("\"text\"", testing::PrintToString(CString("text")));
}
