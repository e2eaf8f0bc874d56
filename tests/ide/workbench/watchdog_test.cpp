// The fatal-error watchdog: its definitions in the configuration, the windows it takes, and
// the question it asks inside a real main frame.
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "ide/workbench/AsmIDE.h"
#include "tests/harness/harness.h"
#include "tests/ide/workbench/mainframe_fixture.h"

namespace {

const char kQuestion[] = "An fatal error occured! Please close the ZIDE.(Y/N)";

std::vector<std::string> Captions(CMainFrame* p)
{
    std::vector<std::string> captions;
    for (POSITION pos = p->m_listFatalError.GetHeadPosition(); pos;)
        captions.push_back((LPCSTR)p->m_listFatalError.GetNext(pos)->WindowText);
    return captions;
}

// The test module stands in for a component that shows its own error box.
class ErrorWindows {
public:
    ErrorWindows()
    {
        m_hModule = LoadLibraryA((std::string(g_szAppDir) + "ide_testmodule.dll").c_str());
        m_pfnMake = reinterpret_cast<HWND (*)(const char*, const char*, BOOL)>(
            reinterpret_cast<void (*)()>(GetProcAddress(m_hModule, "MakeErrorWindow")));
    }
    ~ErrorWindows()
    {
        for (HWND hWnd : m_windows)
            if (::IsWindow(hWnd))
                ::DestroyWindow(hWnd);
        if (m_hModule)
            FreeLibrary(m_hModule);
    }
    bool Loaded() const { return m_pfnMake != nullptr; }
    // A window of the test module (hidden ones are destroyed faster, and found all the same).
    HWND Make(const char* caption, const char* childText, bool visible = true)
    {
        return Keep(m_pfnMake(caption, childText, visible));
    }
    // The same kind of window made by the test program itself.
    HWND MakeOwn(const char* caption, const char* childText, bool visible = true)
    {
        // Not a dialog class: the answerer would take it for a box to answer.
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VtOwnErrorBox";
        RegisterClassA(&wc);
        HWND hWnd = ::CreateWindowExA(0, "VtOwnErrorBox", caption,
                                      WS_OVERLAPPED | WS_CAPTION | (visible ? WS_VISIBLE : 0), 60, 60, 300, 120,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ::CreateWindowExA(0, "STATIC", childText, WS_CHILD | WS_VISIBLE, 10, 10, 260, 20, hWnd, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
        return Keep(hWnd);
    }

private:
    HWND Keep(HWND hWnd)
    {
        m_windows.push_back(hWnd);
        return hWnd;
    }
    HMODULE m_hModule = nullptr;
    HWND (*m_pfnMake)(const char*, const char*, BOOL) = nullptr;
    std::vector<HWND> m_windows;
};

// The window it lives in (the desktop for a top-level window), whatever its style says.
HWND Parent(HWND hWnd)
{
    return ::GetAncestor(hWnd, GA_PARENT);
}

// Pumps until the condition holds; the limit only guards against a hang.
bool PumpUntil(const std::function<bool()>& done)
{
    for (int i = 0; i < 400 && !done(); ++i)
        vt::PumpMessages(50);
    return done();
}

class Watchdog : public ::testing::Test {
protected:
    std::string Config(const std::string& text) { return m_dir.Write("ZIDE.cfg", text); }
    // One definition: the test module's "Assertion Failed" box saying "Assertion ...".
    void LoadAssertBox(CMainFrame* p, int nEnable)
    {
        p->LoadFatalErrorDefinitions(
            Config("[Fatal Error Define]\r\nEnableAutoClose=" + std::to_string(nEnable) +
                   "\r\nError0=A\r\n[A]\r\nWindowText=Assertion Failed\r\nModuleName=ide_testmodule.dll\r\n"
                   "IncludeText=Assertion\r\n")
                .c_str());
    }
    vt::TempDir m_dir;
};

TEST_F(Watchdog, DefinitionsAreReadUpToTheFirstIncompleteOne)
{
    const std::string kA = "[A]\r\nWindowText=Alpha\r\nModuleName=a.dll\r\nIncludeText=a\r\n";
    const std::string kB = "[B]\r\nWindowText=Beta\r\nModuleName=b.dll\r\nIncludeText=b\r\n";
    const struct {
        std::string config;
        BOOL enabled;
        std::vector<std::string> captions;
    } cases[] = {
        {"[Fatal Error Define]\r\nEnableAutoClose=0\r\nError0=A\r\n" + kA, FALSE, {}},
        {kA, FALSE, {}},
        {"[Fatal Error Define]\r\nEnableAutoClose=1\r\nError0=A\r\nError1=B\r\n" + kA + kB, TRUE, {"Alpha", "Beta"}},
        // No caption: that number is skipped.
        {"[Fatal Error Define]\r\nEnableAutoClose=1\r\nError0=X\r\nError1=B\r\n[X]\r\nModuleName=x.dll\r\n" + kB, TRUE,
         {"Beta"}},
        // No module or no text: the list ends there.
        {"[Fatal Error Define]\r\nEnableAutoClose=1\r\nError0=A\r\nError1=X\r\nError2=B\r\n"
         "[X]\r\nWindowText=X\r\nIncludeText=x\r\n" + kA + kB, TRUE, {"Alpha"}},
        {"[Fatal Error Define]\r\nEnableAutoClose=1\r\nError0=A\r\nError1=X\r\nError2=B\r\n"
         "[X]\r\nWindowText=X\r\nModuleName=x.dll\r\n" + kA + kB, TRUE, {"Alpha"}},
        // A missing or empty number ends the reading.
        {"[Fatal Error Define]\r\nEnableAutoClose=1\r\nError0=A\r\nError2=B\r\n" + kA + kB, TRUE, {"Alpha"}},
        {"[Fatal Error Define]\r\nEnableAutoClose=1\r\nError0=\r\nError1=B\r\n" + kB, TRUE, {}},
    };
    vt::MainFrame frame;
    ASSERT_NE(nullptr, frame.p);
    for (const auto& c : cases) {
        frame.p->LoadFatalErrorDefinitions(Config(c.config).c_str());
        EXPECT_EQ(c.enabled, frame.p->m_bEnableAutoClose) << c.config;
        EXPECT_EQ(c.captions, Captions(frame.p)) << c.config;
    }
    // Loading again replaces what was read.
    const std::string both = cases[2].config;
    frame.p->LoadFatalErrorDefinitions(Config(both).c_str());
    frame.p->LoadFatalErrorDefinitions(Config(both).c_str());
    EXPECT_EQ(cases[2].captions, Captions(frame.p));
}

TEST_F(Watchdog, AWindowMatchesByCaptionModuleAndChildText)
{
    ErrorWindows windows;
    ASSERT_TRUE(windows.Loaded());
    vt::MainFrame frame;
    ASSERT_NE(nullptr, frame.p);
    frame.p->LoadFatalErrorDefinitions(Config("[Fatal Error Define]\r\nEnableAutoClose=1\r\n"
                                              "Error0=A\r\nError1=Own\r\nError2=C\r\nError3=D\r\n"
                                              "[A]\r\nWindowText=Assertion Failed\r\nModuleName=ide_testmodule.dll\r\nIncludeText=Assertion\r\n"
                                              "[Own]\r\nWindowText=Assertion Failed\r\nModuleName=ide_watchdog.exe\r\nIncludeText=Assertion\r\n"
                                              "[C]\r\nWindowText=Fatal\r\nModuleName=IDE_TESTMODULE.DLL\r\nIncludeText=crash\r\n"
                                              "[D]\r\nWindowText=X\r\nModuleName=ide_testmodule.dll\r\nIncludeText=x\r\n")
                                           .c_str());
    ASSERT_EQ(4u, Captions(frame.p).size());
    const struct {
        bool own;   // made by the test program rather than the module
        const char* caption;
        const char* child;
        BOOL match;
    } cases[] = {
        {false, "Assertion Failed", "Assertion x > 0 failed", TRUE},
        {false, "ASSERTION failed", "Assertion", TRUE},
        {false, "Assertion Failed", "assertion in lower case", FALSE},
        {false, "Assertion Failed!", "Assertion", FALSE},
        // Only the first definition of a caption is tried.
        {true, "Assertion Failed", "Assertion", FALSE},
        {false, "Fatal", "a crash here", TRUE},
        {true, "Fatal", "a crash here", FALSE},
        // A caption of one character never matches.
        {false, "X", "x", FALSE},
    };
    for (const auto& c : cases) {
        HWND hWnd = c.own ? windows.MakeOwn(c.caption, c.child, false) : windows.Make(c.caption, c.child, false);
        ASSERT_NE(nullptr, hWnd);
        EXPECT_EQ(c.match, frame.p->IsFatalErrorWindow(hWnd)) << c.caption << " / " << c.child << " / " << c.own;
        ::DestroyWindow(hWnd);
    }
}

TEST_F(Watchdog, TakesTheWindowAsksAndResumesOnNoClosesOnYes)
{
    ErrorWindows windows;
    ASSERT_TRUE(windows.Loaded());
    vt::MainFrame frame;
    ASSERT_NE(nullptr, frame.p);
    LoadAssertBox(frame.p, 1);
    ASSERT_TRUE(frame.p->m_bEnableAutoClose);
    // The frame starts its watch when it is made with the watchdog on.
    frame.p->SetTimer(TIMER_MAIN_WATCHDOG, 500, nullptr);
    vt::ModalAnswerer answerer(IDNO);
    HWND hDecoy = windows.MakeOwn("Assertion Failed", "Assertion");
    HWND hError = windows.Make("Assertion Failed", "Assertion x > 0 failed");

    ASSERT_TRUE(PumpUntil([&] { return answerer.Count() == 1; }));
    EXPECT_EQ("Kelbray IDE", answerer.Last().caption);
    EXPECT_NE(std::string::npos, answerer.Last().text.find(kQuestion)) << answerer.Last().text;
    EXPECT_EQ(std::vector<std::string>({"Yes", "No"}), answerer.Last().buttons);
    EXPECT_EQ(frame.hWnd, Parent(hError)) << "taken into the frame";
    EXPECT_EQ(::GetDesktopWindow(), Parent(hDecoy));
    EXPECT_TRUE(::IsWindow(frame.hWnd));

    // No: the watch goes on and finds the next one; Yes closes the frame as the user does,
    // and the windows it took go with it.
    answerer.Queue(IDYES);
    HWND hSecond = windows.Make("Assertion Failed", "Assertion again");
    ASSERT_TRUE(PumpUntil([&] { return answerer.Count() == 2; }));
    EXPECT_EQ("Kelbray IDE", answerer.Last().caption);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(frame.hWnd); }));
    frame.p = nullptr;
    EXPECT_FALSE(::IsWindow(hSecond));
    EXPECT_FALSE(::IsWindow(hError));
    EXPECT_TRUE(::IsWindow(hDecoy));
}

TEST_F(Watchdog, SwitchedOffItTakesNothingAndAsksNothing)
{
    ErrorWindows windows;
    ASSERT_TRUE(windows.Loaded());
    vt::MainFrame frame;
    ASSERT_NE(nullptr, frame.p);
    LoadAssertBox(frame.p, 0);
    vt::ModalAnswerer answerer(IDYES);
    HWND hError = windows.Make("Assertion Failed", "Assertion x > 0 failed");
    EXPECT_FALSE(frame.p->IsFatalErrorWindow(hError));
    frame.p->CheckFatalErrorWindows();
    frame.p->PostMessage(WM_MAIN_FATALERROR);
    vt::PumpMessages();
    EXPECT_EQ(0u, answerer.Count());
    EXPECT_EQ(::GetDesktopWindow(), Parent(hError));
    EXPECT_TRUE(::IsWindow(frame.hWnd));
}

} // namespace
