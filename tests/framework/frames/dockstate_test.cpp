#include "tests/framework/frames/layout_fixture.h"
#include "framework/frames/TWKControlBarManager.h"
#include "framework/frames/TWKDockContext.h"
#include "framework/frames/TWKDockState.h"
#include "framework/frames/TWKMDIChildWnd.h"
#include "framework/frames/TWKMiniDockFrameWnd.h"
#include "framework/frames/TWKStatusBar.h"
#include <algorithm>
#include <cstring>
#include <iomanip>
#include <string>
#include <vector>

namespace {

using namespace vt::layout;

// One line per section written under a profile name, in section order
// ("-Bar0", "-Bar1", ..., "-Summary"), each value as name:type=value in name
// order (d a DWORD, s a string, b bytes in hex); the profile name is left out.
std::vector<std::string> Dump(const std::string& profile)
{
    std::vector<std::string> lines;
    size_t slash = profile.rfind('\\');
    std::string parent = profile.substr(0, slash), stem = profile.substr(slash + 1) + "-";
    HKEY hApp = AfxGetApp()->GetAppRegistryKey();
    HKEY hParent = nullptr;
    LONG r = RegOpenKeyExA(hApp, parent.c_str(), 0, KEY_READ, &hParent);
    RegCloseKey(hApp);
    if (r != ERROR_SUCCESS)
        return lines;
    std::vector<std::pair<int, std::string>> sections;
    char name[256];
    for (DWORD i = 0;; i++) {
        DWORD cch = sizeof name;
        if (RegEnumKeyExA(hParent, i, name, &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        std::string s(name);
        if (s.compare(0, stem.size(), stem) != 0)
            continue;
        std::string rest = s.substr(stem.size());
        int order = rest.compare(0, 3, "Bar") == 0 ? atoi(rest.c_str() + 3) : 1 << 30;
        sections.push_back({order, s});
    }
    std::sort(sections.begin(), sections.end());
    for (const auto& section : sections) {
        HKEY hKey = nullptr;
        if (RegOpenKeyExA(hParent, section.second.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            continue;
        std::vector<std::string> values;
        for (DWORD i = 0;; i++) {
            DWORD cch = sizeof name, type = 0, cb = 512;
            BYTE data[512];
            if (RegEnumValueA(hKey, i, name, &cch, nullptr, &type, data, &cb) != ERROR_SUCCESS)
                break;
            std::string v = std::string(name) + ":";
            if (type == REG_DWORD && cb == 4)
                v += "d=" + std::to_string((int)*reinterpret_cast<DWORD*>(data));
            else if (type == REG_SZ)
                v += "s=" + std::string(reinterpret_cast<char*>(data), cb ? strnlen((char*)data, cb) : 0);
            else
                v += "b=" + Hex(data, cb);
            values.push_back(v);
        }
        RegCloseKey(hKey);
        std::sort(values.begin(), values.end());
        std::string line = section.second.substr(stem.size() - 1);
        for (const std::string& v : values)
            line += " " + v;
        lines.push_back(line);
    }
    RegCloseKey(hParent);
    return lines;
}

// A dump line against a golden one, token by token; "*" after '=' takes any value.
bool Matches(const std::string& line, const std::string& golden)
{
    std::istringstream a(line), b(golden);
    std::string x, y;
    for (;;) {
        bool bx = (bool)(a >> x), by = (bool)(b >> y);
        if (bx != by)
            return false;
        if (!bx)
            return true;
        if (y.size() >= 2 && y.compare(y.size() - 2, 2, "=*") == 0) {
            if (x.compare(0, y.size() - 1, y, 0, y.size() - 1) != 0)
                return false;
        } else if (x != y) {
            return false;
        }
    }
}

// A profile name of this process's own: one test may run in several
// processes at once, all on one registry.
std::string ProfileOf(const char* name)
{
    return std::string("BarState\\") + name + "." + std::to_string(::GetCurrentProcessId());
}

void DeleteProfile(const std::string& profile)
{
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileString((profile + "-Summary").c_str(), nullptr, nullptr);
    for (int i = 0; i < 32; i++)
        pApp->WriteProfileString((profile + "-Bar" + std::to_string(i)).c_str(), nullptr, nullptr);
}

void WriteInts(const std::string& section, std::initializer_list<std::pair<const char*, int>> values)
{
    for (const auto& v : values)
        AfxGetApp()->WriteProfileInt(section.c_str(), v.first, v.second);
}

const std::string kProfile = ProfileOf("LayoutTest");

// What the saved sections hold, the summary apart (it names the screen);
// "=*" values are positions and lengths the platform's metrics decide.
const char* const kGolden[] = {
    "-Bar0 Bar#0:d=59152 Bar#10:d=0 Bar#1:d=0 Bar#2:d=124689 Bar#3:d=0 Bar#4:d=124690 Bar#5:d=0 "
    "Bar#6:d=59155 Bar#7:d=0 Bar#8:d=0 Bar#9:d=59156 BarID:d=59419 Bars:d=11 ClassName:s= "
    "DockingStyle:d=0 ExStyle:d=0 MDIChild:d=0 MRUDockingState:d=0 MRUFloatCX:d=0 MRUFloatCY:d=0 "
    "MRUHorzDockCX:d=0 MRUHorzDockCY:d=0 MRUVertDockCX:d=0 MRUVertDockCY:d=0 PctWidth:s=0 "
    "PrevFloating:d=0 ResourceID:d=0 Style:d=0 TypeID:d=0 WindowName:s=",
    "-Bar1 Bar#0:d=59140 Bar#1:d=0 BarID:d=59422 Bars:d=2 ClassName:s= DockingStyle:d=0 ExStyle:d=0 "
    "MDIChild:d=0 MRUDockingState:d=0 MRUFloatCX:d=0 MRUFloatCY:d=0 MRUHorzDockCX:d=0 MRUHorzDockCY:d=0 "
    "MRUVertDockCX:d=0 MRUVertDockCY:d=0 PctWidth:s=0 PrevFloating:d=0 ResourceID:d=0 Style:d=0 "
    "TypeID:d=0 WindowName:s=",
    "-Bar2 Bar#0:d=59139 Bar#1:d=59141 Bar#2:d=0 BarID:d=59420 Bars:d=3 ClassName:s= DockingStyle:d=0 "
    "ExStyle:d=0 MDIChild:d=0 MRUDockingState:d=0 MRUFloatCX:d=0 MRUFloatCY:d=0 MRUHorzDockCX:d=0 "
    "MRUHorzDockCY:d=0 MRUVertDockCX:d=0 MRUVertDockCY:d=0 PctWidth:s=0 PrevFloating:d=0 ResourceID:d=0 "
    "Style:d=0 TypeID:d=0 WindowName:s=",
    "-Bar3 BarID:d=59393 ClassName:s=TWKCustomStatusBar DockingStyle:d=0 ExStyle:d=0 MDIChild:d=0 "
    "MRUDockingState:d=0 MRUFloatCX:d=0 MRUFloatCY:d=0 MRUHorzDockCX:d=0 MRUHorzDockCY:d=0 "
    "MRUVertDockCX:d=0 MRUVertDockCY:d=0 PctWidth:s=1000000 PrevFloating:d=0 ResourceID:d=0 Style:d=32768 "
    "TypeID:d=0 WindowName:s=Press F1 for Help",
    "-Bar4 BarID:d=59140 ClassName:s=TWKControlBar Docking:d=1 DockingStyle:d=61440 ExStyle:d=3889 "
    "MDIChild:d=0 MRUDockBottomPos:d=* MRUDockID:d=59422 MRUDockLeftPos:d=* MRUDockRightPos:d=* "
    "MRUDockTopPos:d=* MRUDockingState:d=0 MRUFloatCX:d=300 MRUFloatCY:d=180 MRUFloatStyle:d=0 "
    "MRUFloatXPos:d=-1 MRUFloatYPos:d=-1 MRUHorzDockCX:d=* MRUHorzDockCY:d=130 MRUVertDockCX:d=300 "
    "MRUVertDockCY:d=180 PctWidth:s=1000000 PrevFloating:d=0 ResourceID:d=0 Style:d=36624 TypeID:d=0 "
    "WindowName:s=Bar XPos:d=* YPos:d=*",
    "-Bar5 BarID:d=59139 ClassName:s=TWKControlBar Docking:d=1 DockingStyle:d=61440 ExStyle:d=3889 "
    "MDIChild:d=0 MRUDockBottomPos:d=* MRUDockID:d=59420 MRUDockLeftPos:d=* MRUDockRightPos:d=* "
    "MRUDockTopPos:d=* MRUDockingState:d=0 MRUFloatCX:d=300 MRUFloatCY:d=180 MRUFloatStyle:d=0 "
    "MRUFloatXPos:d=-1 MRUFloatYPos:d=-1 MRUHorzDockCX:d=300 MRUHorzDockCY:d=180 MRUVertDockCX:d=240 "
    "MRUVertDockCY:d=* PctWidth:s=750000 PrevFloating:d=0 ResourceID:d=0 Style:d=7952 TypeID:d=0 "
    "WindowName:s=Bar XPos:d=* YPos:d=*",
    "-Bar6 BarID:d=59141 ClassName:s=TWKControlBar Docking:d=1 DockingStyle:d=61440 ExStyle:d=3889 "
    "MDIChild:d=0 MRUDockBottomPos:d=* MRUDockID:d=59420 MRUDockLeftPos:d=* MRUDockRightPos:d=* "
    "MRUDockTopPos:d=* MRUDockingState:d=0 MRUFloatCX:d=300 MRUFloatCY:d=180 MRUFloatStyle:d=0 "
    "MRUFloatXPos:d=-1 MRUFloatYPos:d=-1 MRUHorzDockCX:d=300 MRUHorzDockCY:d=180 MRUVertDockCX:d=240 "
    "MRUVertDockCY:d=* PctWidth:s=250000 PrevFloating:d=0 ResourceID:d=0 Style:d=7952 TypeID:d=0 "
    "WindowName:s=Bar XPos:d=* YPos:d=*",
    "-Bar7 BarID:d=59152 ClassName:s=TWKControlBar Docking:d=1 DockingStyle:d=61440 ExStyle:d=3889 "
    "MDIChild:d=0 MRUDockBottomPos:d=* MRUDockID:d=59419 MRUDockLeftPos:d=* MRUDockRightPos:d=* "
    "MRUDockTopPos:d=* MRUDockingState:d=0 MRUFloatCX:d=300 MRUFloatCY:d=180 MRUFloatStyle:d=0 "
    "MRUFloatXPos:d=-1 MRUFloatYPos:d=-1 MRUHorzDockCX:d=* MRUHorzDockCY:d=40 MRUVertDockCX:d=300 "
    "MRUVertDockCY:d=180 PctWidth:s=1000000 PrevFloating:d=0 ResourceID:d=0 Style:d=12048 TypeID:d=0 "
    "Visible:d=0 WindowName:s=Bar XPos:d=* YPos:d=*",
    "-Bar8 BarID:d=59153 ClassName:s=TWKControlBar Docking:d=1 DockingStyle:d=61440 ExStyle:d=3889 "
    "MDIChild:d=0 MRUDockBottomPos:d=* MRUDockID:d=59419 MRUDockLeftPos:d=* MRUDockRightPos:d=* "
    "MRUDockTopPos:d=* MRUDockingState:d=0 MRUFloatCX:d=300 MRUFloatCY:d=180 MRUFloatStyle:d=0 "
    "MRUFloatXPos:d=-1 MRUFloatYPos:d=-1 MRUHorzDockCX:d=* MRUHorzDockCY:d=40 MRUVertDockCX:d=300 "
    "MRUVertDockCY:d=180 PctWidth:s=1000000 PrevFloating:d=0 ResourceID:d=0 Style:d=12049 TypeID:d=0 "
    "WindowName:s=Bar XPos:d=* YPos:d=*",
    "-Bar9 BarID:d=59154 ClassName:s=TWKControlBar Docking:d=1 DockingStyle:d=61440 ExStyle:d=3889 "
    "MDIChild:d=0 MRUDockBottomPos:d=* MRUDockID:d=59419 MRUDockLeftPos:d=* MRUDockRightPos:d=* "
    "MRUDockTopPos:d=* MRUDockingState:d=0 MRUFloatCX:d=300 MRUFloatCY:d=180 MRUFloatStyle:d=0 "
    "MRUFloatXPos:d=* MRUFloatYPos:d=* MRUHorzDockCX:d=* MRUHorzDockCY:d=40 MRUVertDockCX:d=300 "
    "MRUVertDockCY:d=180 PctWidth:s=1000000 PrevFloating:d=0 ResourceID:d=0 Style:d=7953 TypeID:d=0 "
    "WindowName:s=Bar XPos:d=* YPos:d=*",
    "-Bar10 BarID:d=59155 ClassName:s=TWKControlBar Docking:d=1 DockingStyle:d=61440 ExStyle:d=3889 "
    "MDIChild:d=0 MRUDockBottomPos:d=* MRUDockID:d=59419 MRUDockLeftPos:d=* MRUDockRightPos:d=* "
    "MRUDockTopPos:d=* MRUDockingState:d=0 MRUFloatCX:d=300 MRUFloatCY:d=180 MRUFloatStyle:d=0 "
    "MRUFloatXPos:d=-1 MRUFloatYPos:d=-1 MRUHorzDockCX:d=* MRUHorzDockCY:d=40 MRUVertDockCX:d=300 "
    "MRUVertDockCY:d=180 PctWidth:s=1000000 PrevFloating:d=0 ResourceID:d=0 Style:d=12048 TypeID:d=0 "
    "WindowName:s=Bar XPos:d=* YPos:d=*",
    "-Bar11 BarID:d=59156 ClassName:s=TWKControlBar Docking:d=1 DockingStyle:d=61440 ExStyle:d=3889 "
    "MDIChild:d=0 MRUDockBottomPos:d=* MRUDockID:d=59419 MRUDockLeftPos:d=* MRUDockRightPos:d=* "
    "MRUDockTopPos:d=* MRUDockingState:d=0 MRUFloatCX:d=300 MRUFloatCY:d=180 MRUFloatStyle:d=0 "
    "MRUFloatXPos:d=-1 MRUFloatYPos:d=-1 MRUHorzDockCX:d=* MRUHorzDockCY:d=40 MRUVertDockCX:d=300 "
    "MRUVertDockCY:d=180 PctWidth:s=1000000 PrevFloating:d=0 ResourceID:d=0 Style:d=12048 TypeID:d=0 "
    "WindowName:s=Bar XPos:d=* YPos:d=*",
    "-Bar12 Bar#0:d=59153 Bar#1:d=0 BarID:d=59423 Bars:d=2 ClassName:s= DockingStyle:d=0 ExStyle:d=0 "
    "Floating:d=1 Horz:d=1 MDIChild:d=0 MRUDockingState:d=0 MRUFloatCX:d=0 MRUFloatCY:d=0 "
    "MRUHorzDockCX:d=0 MRUHorzDockCY:d=0 MRUVertDockCX:d=0 MRUVertDockCY:d=0 PctWidth:s=0 "
    "PrevFloating:d=0 ResourceID:d=0 Style:d=0 TypeID:d=0 WindowName:s= XPos:d=* YPos:d=*",
    "-Bar13 Bar#0:d=59154 Bar#1:d=0 BarID:d=59423 Bars:d=2 ClassName:s= DockingStyle:d=0 ExStyle:d=0 "
    "Floating:d=1 Horz:d=0 MDIChild:d=1 MDIChildWindowPlacement:b=* MRUDockingState:d=0 MRUFloatCX:d=0 "
    "MRUFloatCY:d=0 MRUHorzDockCX:d=0 MRUHorzDockCY:d=0 MRUVertDockCX:d=0 MRUVertDockCY:d=0 PctWidth:s=0 "
    "PrevFloating:d=0 ResourceID:d=0 Style:d=0 TypeID:d=0 WindowName:s= XPos:d=* YPos:d=*",

};

TEST(SavedLayout, MainFrameWritesItsBarsAsPinned)
{
    LayoutFrame lf;
    ASSERT_NE(nullptr, lf.f.p);
    lf.Arrange();
    DeleteProfile(kProfile);
    lf.f.p->SaveBarState(kProfile.c_str());
    std::vector<std::string> dump = Dump(kProfile);

    std::vector<std::string> golden(std::begin(kGolden), std::end(kGolden));
    golden.push_back("-Summary Bars:d=14 ScreenCX:d=" + std::to_string(::GetSystemMetrics(SM_CXSCREEN))
                     + " ScreenCY:d=" + std::to_string(::GetSystemMetrics(SM_CYSCREEN)));
    ASSERT_EQ(golden.size(), dump.size());
    for (size_t i = 0; i < dump.size(); i++)
        EXPECT_TRUE(Matches(dump[i], golden[i])) << "\n   got: " << dump[i] << "\nwanted: " << golden[i];

    // The floating dock bar's point is its own corner, the floating frame's client origin.
    CPoint pt(0, 0);
    ::ClientToScreen(lf.FloatFrame(kFloat)->m_hWnd, &pt);
    EXPECT_NE(std::string::npos, dump[12].find(" XPos:d=" + std::to_string(pt.x) + " YPos:d=" + std::to_string(pt.y)));
    // The host's placement as the system gives it, 44 bytes.
    WINDOWPLACEMENT wp = { sizeof wp };
    ASSERT_TRUE(::GetWindowPlacement(lf.FloatFrame(kInMain)->m_hWnd, &wp));
    EXPECT_NE(std::string::npos, dump[13].find("MDIChildWindowPlacement:b=" + Hex((BYTE*)&wp, 44) + " "));
    DeleteProfile(kProfile);
}

// The maximized position of a placement is the system's: one set through
// SetWindowPlacement may come back other than the (-1, -1) of a window never
// placed. Everything else of the placement must survive.
std::vector<std::string> WithoutMaxPosition(std::vector<std::string> dump)
{
    for (std::string& line : dump) {
        size_t at = line.find("MDIChildWindowPlacement:b=");
        if (at != std::string::npos)
            line.replace(at + 26 + 2 * offsetof(WINDOWPLACEMENT, ptMaxPosition), 16, 16, 'x');
    }
    return dump;
}

TEST(SavedLayout, FreshFrameLoadsTheLayoutBackAndSavesItByteForByte)
{
    const std::string kRoundTrip = ProfileOf("LayoutRoundTrip");
    std::vector<std::string> first;
    LayoutFrame::Seen before;
    // A bar floated by the user and one floated by the loader get the same frame.
    const DWORD kFrameStyles = WS_THICKFRAME | MFS_THICKFRAME | MFS_4THICKFRAME;
    DWORD frameStyle = 0;
    {
        LayoutFrame lf;
        ASSERT_NE(nullptr, lf.f.p);
        lf.Arrange();
        DeleteProfile(kRoundTrip);
        lf.f.p->SaveBarState(kRoundTrip.c_str());
        first = Dump(kRoundTrip);
        before = lf.Look();
        frameStyle = lf.FloatFrame(kFloat)->GetStyle() & kFrameStyles;
    }
    LayoutFrame lf;
    ASSERT_NE(nullptr, lf.f.p);
    lf.Defaults();
    lf.f.p->LoadBarState(kRoundTrip.c_str());
    vt::PumpMessages();
    LayoutFrame::Seen after = lf.Look();
    auto masked = [](std::string s) { return s.replace(2 * offsetof(WINDOWPLACEMENT, ptMaxPosition), 16, 16, 'x'); };
    before.hostPlacement = masked(before.hostPlacement);
    after.hostPlacement = masked(after.hostPlacement);
    EXPECT_EQ(before, after);
    EXPECT_TRUE(lf.FloatFrame(kFloat)->IsKindOf(RUNTIME_CLASS(TWKMiniDockFrameWnd)));
    EXPECT_TRUE(lf.FloatFrame(kFloat)->IsWindowVisible());
    EXPECT_EQ(frameStyle, lf.FloatFrame(kFloat)->GetStyle() & kFrameStyles);
    EXPECT_TRUE(lf.FloatFrame(kInMain)->IsKindOf(RUNTIME_CLASS(TWKControlBarMDIChildWnd)));
    EXPECT_TRUE(lf.FloatFrame(kInMain)->IsWindowVisible());
    EXPECT_FALSE(lf.bars[kHidden]->IsWindowVisible());
    EXPECT_EQ(vt::kIdeExStyle, lf.bars[0xE703]->GetExBarStyle());

    const std::string again = ProfileOf("LayoutAgain");
    DeleteProfile(again);
    lf.f.p->SaveBarState(again.c_str());
    EXPECT_EQ(WithoutMaxPosition(first), WithoutMaxPosition(Dump(again)));
    DeleteProfile(kRoundTrip);
    DeleteProfile(again);
}

// Every window of this thread, top-level and child.
int ThreadWindowCount()
{
    int n = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            int& count = *reinterpret_cast<int*>(lParam);
            count++;
            ::EnumChildWindows(
                hWnd, [](HWND, LPARAM l) -> BOOL { ++*reinterpret_cast<int*>(l); return TRUE; }, lParam);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

TEST(SavedLayout, LoadingALayoutAgainReplacesTheOneBefore)
{
    const std::string kReload = ProfileOf("LayoutReload");
    LayoutFrame lf;
    ASSERT_NE(nullptr, lf.f.p);
    lf.Arrange();
    DeleteProfile(kReload);
    lf.f.p->SaveBarState(kReload.c_str());
    lf.f.p->LoadBarState(kReload.c_str());
    vt::PumpMessages();
    const int nOnce = ThreadWindowCount();
    const LayoutFrame::Seen once = lf.Look();
    for (int nLoads = 2; nLoads <= 5; nLoads++) {
        lf.f.p->LoadBarState(kReload.c_str());
        vt::PumpMessages();
        EXPECT_EQ(nOnce, ThreadWindowCount()) << "after " << nLoads << " loads";
    }
    EXPECT_EQ(once, lf.Look());
    EXPECT_TRUE(lf.FloatFrame(kFloat)->IsWindowVisible());
    EXPECT_TRUE(lf.FloatFrame(kInMain)->IsWindowVisible());
    DeleteProfile(kReload);
}

// A record saved and loaded alone.
struct Record {
    static const std::string& Profile()
    {
        static const std::string profile = ProfileOf("PctTest");
        return profile;
    }
    static std::string Pct(float f)
    {
        TWKControlBarInfo info;
        info.m_nBarID = 0xE710;
        info.m_fPctWidth = f;
        EXPECT_TRUE(info.SaveState(Profile().c_str(), 0));
        return std::string(AfxGetApp()->GetProfileString((Profile() + "-Bar0").c_str(), "PctWidth"));
    }
    static float Load(const char* pszPct)
    {
        AfxGetApp()->WriteProfileString((Profile() + "-Bar0").c_str(), "PctWidth", pszPct);
        TWKControlBarInfo info;
        TWKDockState state;
        info.LoadState(Profile().c_str(), 0, &state);
        return info.m_fPctWidth;
    }
};

TEST(SavedLayout, PctWidthIsMillionthsReadBackToTheNearestFloatAndWrittenBackUnchanged)
{
    struct { float f; const char* written; } writes[] = {
        { 0.5f, "500000" }, { 0.95f, "950000" }, { 1.0f / 3, "333333" }, { 0.75f, "750000" }, { 0.25f, "250000" },
        { 1.0f, "1000000" }, { 0.0f, "0" },
    };
    for (auto& c : writes)
        EXPECT_EQ(c.written, Record::Pct(c.f)) << c.f;
    struct { const char* stored; float f; } reads[] = {
        { "500000", 0.5f }, { "333333", 0.333333f }, { "-250000", 0.0f }, { "", 0.0f }, { "abc", 0.0f },
        { "12abc", 0.000012f },
    };
    for (auto& c : reads)
        EXPECT_EQ(c.f, Record::Load(c.stored)) << c.stored;
    // Load then save gives the stored text back, however often: no drift.
    for (const char* stored : { "99", "1", "333333", "949999", "999999", "500001", "1000000", "123457" }) {
        std::string s = stored;
        for (int save = 0; save < 3; save++)
            s = Record::Pct(Record::Load(s.c_str()));
        EXPECT_EQ(stored, s);
    }
    // Every millionth of the whole range comes back as it went in.
    int nDrifting = 0;
    for (int n = 0; n <= 1000000; n++)
        if (TWKDockState::PctToMillionths(TWKDockState::MillionthsToPct(n)) != n)
            nDrifting++;
    EXPECT_EQ(0, nDrifting);
    DeleteProfile(Record::Profile());
}

TEST(SavedLayout, CleanBarIDsKeepsPlaceholdersOnlyInTheLastDockBar)
{
    const DWORD top = AFX_IDW_DOCKBAR_TOP, left = AFX_IDW_DOCKBAR_LEFT, P = 0x10000;
    struct Case {
        const char* what;
        UINT nMRUDockID;                       // of bar 0xE710
        std::vector<DWORD> top, left;          // before
        std::vector<DWORD> topAfter, leftAfter;
    } cases[] = {
        { "placeholder outside the last dock bar becomes a break, then trimmed", top,
          { 0xE703, 0, 0xE710 + P, 0 }, { 0xE710 + P, 0, 0xE704, 0 },
          { 0xE703, 0, 0xE710 + P, 0 }, { 0, 0, 0xE704, 0 } },
        { "the last entry is left alone", top,
          { 0xE703, 0 }, { 0xE704, 0xE710 + P },
          { 0xE703, 0 }, { 0xE704, 0xE710 + P, 0 } },
        { "without a last dock bar every placeholder goes", 0,
          { 0xE710 + P, 0xE703, 0 }, { 0xE704, 0, 0xE710 + P, 0 },
          { 0, 0xE703, 0 }, { 0xE704, 0 } },
        { "later duplicates become breaks", top,
          { 0xE703, 0xE704, 0, 0xE703, 0, 0xE704 }, {},
          { 0xE703, 0xE704, 0 }, {} },
        { "trailing breaks trimmed to one, a list of breaks to none", top,
          { 0xE703, 0, 0, 0 }, { 0, 0, 0 },
          { 0xE703, 0 }, {} },
    };
    for (const Case& c : cases) {
        TWKDockState state;
        auto* pBar = new TWKControlBarInfo;
        pBar->m_nBarID = 0xE710;
        pBar->m_uMRUDockID = c.nMRUDockID;
        auto* pTop = new TWKControlBarInfo;
        pTop->m_nBarID = top;
        auto* pLeft = new TWKControlBarInfo;
        pLeft->m_nBarID = left;
        for (DWORD id : c.top)
            pTop->m_arrBarID.Add(id);
        for (DWORD id : c.left)
            pLeft->m_arrBarID.Add(id);
        state.m_arrBarInfo.Add(pTop);
        state.m_arrBarInfo.Add(pBar);
        state.m_arrBarInfo.Add(pLeft);
        state.CleanBarIDs();
        auto ids = [](TWKControlBarInfo* p) {
            return std::vector<DWORD>(p->m_arrBarID.GetData(), p->m_arrBarID.GetData() + p->m_arrBarID.GetSize());
        };
        EXPECT_EQ(c.topAfter, ids(pTop)) << c.what;
        EXPECT_EQ(c.leftAfter, ids(pLeft)) << c.what;
        EXPECT_TRUE(ids(pBar).empty()) << c.what;
    }
}

TEST(SavedLayout, LoadedPointsFollowTheScreenAndStayOnIt)
{
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    const CPoint clip(cx - ::GetSystemMetrics(SM_CXICON), cy - ::GetSystemMetrics(SM_CYICON));
    const std::string profile = ProfileOf("ScaleTest");
    struct Case {
        const char* what;
        int savedCX, savedCY;          // 0: not written
        CPoint pos, floatPos;
        CRect dock;
        CPoint posAfter, floatPosAfter;
        CRect dockAfter;
    } cases[] = {
        { "saved on 1024 x 768", 1024, 768, {512, 384}, {100, 60}, {256, 0, 356, 40},
          {::MulDiv(512, cx, 1024), ::MulDiv(384, cy, 768)}, {::MulDiv(100, cx, 1024), ::MulDiv(60, cy, 768)},
          {::MulDiv(256, cx, 1024), 0, ::MulDiv(256, cx, 1024) + 100, 40} },
        { "no screen size saved", 0, 0, {512, 384}, {100, 60}, {256, 0, 356, 40},
          {512, 384}, {100, 60}, {256, 0, 356, 40} },
        { "only the width saved", 1024, 0, {512, 384}, {100, 60}, {256, 0, 356, 40},
          {512, 384}, {100, 60}, {256, 0, 356, 40} },
        { "beyond the screen", cx, cy, {cx + 100, cy + 50}, {cx, 10}, {cx + 10, cy + 20, cx + 60, cy + 60},
          {clip.x, clip.y}, {clip.x, 10}, {clip.x, clip.y, clip.x + 50, clip.y + 40} },
        { "unset stays unset", 1024, 768, {-1, -1}, {0, 0}, {0, 0, 0, 0},
          {-1, -1}, {0, 0}, {0, 0, 0, 0} },
    };
    for (const Case& c : cases) {
        DeleteProfile(profile);
        std::string summary = profile + "-Summary", bar = profile + "-Bar0";
        WriteInts(summary, { {"Bars", 1} });
        if (c.savedCX)
            WriteInts(summary, { {"ScreenCX", c.savedCX} });
        if (c.savedCY)
            WriteInts(summary, { {"ScreenCY", c.savedCY} });
        WriteInts(bar, { {"BarID", 0xE710}, {"XPos", c.pos.x}, {"YPos", c.pos.y}, {"Docking", 1},
                         {"MRUDockLeftPos", c.dock.left}, {"MRUDockTopPos", c.dock.top},
                         {"MRUDockRightPos", c.dock.right}, {"MRUDockBottomPos", c.dock.bottom},
                         {"MRUFloatXPos", c.floatPos.x}, {"MRUFloatYPos", c.floatPos.y} });
        TWKDockState state;
        ASSERT_TRUE(state.LoadState(profile.c_str()));
        ASSERT_EQ(1, state.m_arrBarInfo.GetSize()) << c.what;
        TWKControlBarInfo* p = state.GetInfo(0);
        EXPECT_EQ(c.posAfter, p->m_pointPos) << c.what;
        EXPECT_EQ(c.floatPosAfter, p->m_ptMRUFloatPos) << c.what;
        EXPECT_EQ(c.dockAfter, p->m_rectMRUDockPos) << c.what;
    }
    DeleteProfile(profile);
}

TEST(SavedLayout, FloatingFrameSavedOnASmallerScreenLandsScaled)
{
    LayoutFrame lf;
    ASSERT_NE(nullptr, lf.f.p);
    lf.Defaults();
    const std::string profile = ProfileOf("ScaleFrame");
    DeleteProfile(profile);
    WriteInts(profile + "-Summary", { {"Bars", 1}, {"ScreenCX", 1024}, {"ScreenCY", 768} });
    WriteInts(profile + "-Bar0", { {"BarID", AFX_IDW_DOCKBAR_FLOAT}, {"Floating", 1}, {"Horz", 1}, {"XPos", 512},
                                   {"YPos", 384}, {"Bars", 2}, {"Bar#0", (int)kFloat}, {"Bar#1", 0} });
    lf.f.p->LoadBarState(profile.c_str());
    ASSERT_TRUE(lf.bars[kFloat]->IsFloating());
    CPoint pt(0, 0);
    ::ClientToScreen(lf.FloatFrame(kFloat)->m_hWnd, &pt);
    const int cx = ::GetSystemMetrics(SM_CXSCREEN), cy = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(CPoint(::MulDiv(512, cx, 1024), ::MulDiv(384, cy, 768)), pt);   // (640, 512) on 1280 x 1024
    EXPECT_TRUE(lf.FloatFrame(kFloat)->IsWindowVisible());
    EXPECT_EQ(-1, lf.f.Dock(AFX_IDW_DOCKBAR_TOP)->FindBar(lf.bars[kFloat]));
    DeleteProfile(profile);
}

// A frame whose MDI hosts cannot be made.
class CNoHostFrame : public vt::CTestMainFrame
{
public:
    int m_nAsked = 0;
    CFrameWnd* CreateMDIFloatingFrame(DWORD, CControlBar*) override
    {
        m_nAsked++;
        return nullptr;
    }
};

TEST(SavedLayout, RecordsWhoseBarsCannotBeFoundOrMadeAreDropped)
{
    LayoutFrame lf;
    ASSERT_NE(nullptr, lf.f.p);
    lf.Defaults();
    const std::string profile = ProfileOf("ClassTest");
    DeleteProfile(profile);
    struct { UINT nID; const char* cls; } records[] = {
        { 0xE720, "TWKNoSuchBar" },          // the module has no such class
        { 0xE721, "TWKControlBarInfoEx" },   // creatable, but no bar
        { 0xE722, "twkcontrolbar" },         // names are compared exactly
        { 0xE723, "TWKControlBar" },         // made again
    };
    int n = 0;
    for (auto& r : records) {
        std::string section = profile + "-Bar" + std::to_string(n++);
        WriteInts(section, { {"BarID", (int)r.nID}, {"Style", CBRS_ALIGN_TOP | CBRS_TOOLTIPS},
                             {"ExStyle", (int)vt::kIdeExStyle}, {"DockingStyle", CBRS_ORIENT_HORZ} });
        AfxGetApp()->WriteProfileString(section.c_str(), "ClassName", r.cls);
        AfxGetApp()->WriteProfileString(section.c_str(), "WindowName", "Made");
    }
    WriteInts(profile + "-Bar4", { {"BarID", AFX_IDW_DOCKBAR_TOP}, {"Bars", 8}, {"Bar#0", 0xE720}, {"Bar#1", 0},
                                   {"Bar#2", 0xE721}, {"Bar#3", 0}, {"Bar#4", 0xE723}, {"Bar#5", 0},
                                   {"Bar#6", 0xE722}, {"Bar#7", 0} });
    WriteInts(profile + "-Summary", { {"Bars", 5} });
    lf.f.p->LoadBarState(profile.c_str());

    for (UINT nID : { 0xE720u, 0xE721u, 0xE722u })
        EXPECT_EQ(nullptr, lf.f.p->GetControlBar(nID)) << std::hex << nID;
    CControlBar* pMade = lf.f.p->GetControlBar(0xE723);
    ASSERT_NE(nullptr, pMade);
    ASSERT_EQ(1, lf.f.p->m_listBarInfo.GetCount());
    EXPECT_EQ(pMade, lf.f.p->m_listBarInfo.GetHead());
    EXPECT_TRUE(pMade->IsKindOf(RUNTIME_CLASS(TWKControlBar)));
    EXPECT_EQ(WS_CHILD, pMade->GetStyle() & (WS_CHILD | WS_POPUP));
    CString strText;
    pMade->GetWindowText(strText);
    EXPECT_EQ(CString("Made"), strText);
    EXPECT_NE(nullptr, pMade->m_pDockContext);   // docking enabled when made
    EXPECT_EQ((DWORD)CBRS_ORIENT_HORZ, pMade->m_dwDockStyle);   // then the record's sides
    EXPECT_EQ(vt::kIdeExStyle, static_cast<TWKControlBar*>(pMade)->GetExBarStyle());
    lf.names[pMade] = "made";
    // The rows of the bars that are gone went with them.
    EXPECT_EQ("0 made 0", vt::ArrayText(lf.f.Dock(AFX_IDW_DOCKBAR_TOP), lf.names));
    DeleteProfile(profile);
}

TEST(SavedLayout, FloatingRecordWhoseHostCannotBeMadeIsDropped)
{
    auto* pFrame = new CNoHostFrame;
    ASSERT_TRUE(pFrame->LoadFrame(vt::kTestFrameID));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    pFrame->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    vt::MainFrame f(pFrame);
    TWKControlBar* pInMain = f.Bar(kInMain);
    TWKControlBar* pFloat = f.Bar(kFloat);
    pFrame->DockControlBar(pInMain, AFX_IDW_DOCKBAR_TOP);
    pFrame->DockControlBar(pFloat, AFX_IDW_DOCKBAR_TOP);
    const std::string profile = ProfileOf("HostTest");
    DeleteProfile(profile);
    WriteInts(profile + "-Bar0", { {"BarID", AFX_IDW_DOCKBAR_FLOAT}, {"Floating", 1}, {"MDIChild", 1}, {"XPos", 0},
                                   {"YPos", 0}, {"Bars", 2}, {"Bar#0", (int)kInMain}, {"Bar#1", 0} });
    WriteInts(profile + "-Bar1", { {"BarID", AFX_IDW_DOCKBAR_FLOAT}, {"Floating", 1}, {"XPos", 200},
                                   {"YPos", 200}, {"Bars", 2}, {"Bar#0", (int)kFloat}, {"Bar#1", 0} });
    WriteInts(profile + "-Summary", { {"Bars", 2} });
    pFrame->LoadBarState(profile.c_str());
    EXPECT_EQ(1, pFrame->m_nAsked);
    // The bar stays where it was; the other record still applies.
    EXPECT_EQ(f.Dock(AFX_IDW_DOCKBAR_TOP), pInMain->m_pDockBar);
    EXPECT_FALSE(pInMain->IsFloating());
    EXPECT_TRUE(pFloat->IsFloating());
    EXPECT_EQ(nullptr, ::GetWindow(pFrame->m_hWndMDIClient, GW_CHILD));
    DeleteProfile(profile);
}

TEST(SavedLayout, HostOfAHiddenBarComesBackHidden)
{
    const std::string profile = ProfileOf("HiddenHost");
    DeleteProfile(profile);
    WINDOWPLACEMENT saved = { sizeof saved };
    {
        LayoutFrame lf;
        ASSERT_NE(nullptr, lf.f.p);
        lf.Defaults();
        lf.f.p->FloatControlBarAsMDIChild(lf.bars[kInMain], CPoint(-1, -1));
        lf.f.p->ShowControlBar(lf.bars[kInMain], FALSE, FALSE);
        ASSERT_FALSE(lf.FloatFrame(kInMain)->IsWindowVisible());
        ::GetWindowPlacement(lf.FloatFrame(kInMain)->m_hWnd, &saved);
        lf.f.p->SaveBarState(profile.c_str());
    }
    LayoutFrame lf;
    ASSERT_NE(nullptr, lf.f.p);
    lf.Defaults();
    lf.f.p->LoadBarState(profile.c_str());
    CWnd* pHost = lf.FloatFrame(kInMain);
    ASSERT_TRUE(pHost->IsKindOf(RUNTIME_CLASS(TWKControlBarMDIChildWnd)));
    EXPECT_FALSE(lf.bars[kInMain]->IsVisible());
    EXPECT_FALSE(pHost->IsWindowVisible());
    WINDOWPLACEMENT wp = { sizeof wp };
    ::GetWindowPlacement(pHost->m_hWnd, &wp);
    // In its place; its size follows the bar when the bar is shown again.
    EXPECT_EQ(CRect(saved.rcNormalPosition).TopLeft(), CRect(wp.rcNormalPosition).TopLeft());
    DeleteProfile(profile);
}

TEST(SavedLayout, DamagedCountsEndAtTheFirstMissingEntry)
{
    const std::string profile = ProfileOf("CountTest");
    CWinApp* pApp = AfxGetApp();
    struct Case {
        const char* what;
        int nBars, nIds;                       // counts written
        int nSections, nIdKeys;                // what exists
        int nRecords, nIdsRead;                // what is loaded
    } cases[] = {
        { "as written", 2, 3, 2, 3, 2, 3 },
        { "huge counts", 0x7FFFFFFF, 0x7FFFFFFF, 2, 3, 2, 3 },
        { "counts above what is there", 9, 7, 2, 3, 2, 3 },
        { "negative counts", -5, -3, 2, 3, 0, 0 },
        { "negative id count", 2, -3, 2, 3, 2, 0 },
    };
    for (const Case& c : cases) {
        DeleteProfile(profile);
        WriteInts(profile + "-Summary", { {"Bars", c.nBars} });
        for (int i = 0; i < c.nSections; i++) {
            std::string section = profile + "-Bar" + std::to_string(i);
            WriteInts(section, { {"BarID", AFX_IDW_DOCKBAR_TOP + i}, {"Bars", c.nIds} });
            for (int j = 0; j < c.nIdKeys; j++)
                WriteInts(section, { {("Bar#" + std::to_string(j)).c_str(), 0xE710 + j} });
        }
        TWKDockState state;
        ASSERT_TRUE(state.LoadState(profile.c_str()));
        ASSERT_EQ(c.nRecords, state.m_arrBarInfo.GetSize()) << c.what;
        for (INT_PTR i = 0; i < state.m_arrBarInfo.GetSize(); i++)
            EXPECT_EQ(c.nIdsRead, state.GetInfo(i)->m_arrBarID.GetSize()) << c.what;
        // Looking for the end made no section of its own.
        HKEY hApp = pApp->GetAppRegistryKey(), hKey = nullptr;
        EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExA(hApp, (profile + "-Bar2").c_str(), 0, KEY_READ, &hKey)) << c.what;
        if (hKey)
            RegCloseKey(hKey);
        RegCloseKey(hApp);
    }
    DeleteProfile(profile);
}

TEST(SavedLayout, OnlyAFortyFourBytePlacementIsTaken)
{
    const std::string profile = ProfileOf("PlacementTest");
    WINDOWPLACEMENT wp = { sizeof wp, 0, SW_SHOWNORMAL, {-1, -1}, {-1, -1}, {30, 40, 330, 240} };
    struct { const char* what; UINT nBytes; BOOL bMDIChild; BOOL bTaken; } cases[] = {
        { "44 bytes", 44, TRUE, TRUE },
        { "40 bytes", 40, TRUE, FALSE },
        { "48 bytes", 48, TRUE, FALSE },
        { "none", 0, TRUE, FALSE },
        { "not an MDI child", 44, FALSE, FALSE },
    };
    for (auto& c : cases) {
        DeleteProfile(profile);
        std::string section = profile + "-Bar0";
        WriteInts(section, { {"BarID", AFX_IDW_DOCKBAR_FLOAT}, {"Floating", 1}, {"MDIChild", c.bMDIChild} });
        BYTE bytes[48] = {};
        memcpy(bytes, &wp, sizeof wp);
        if (c.nBytes)
            AfxGetApp()->WriteProfileBinary(section.c_str(), "MDIChildWindowPlacement", bytes, c.nBytes);
        TWKControlBarInfo info;
        TWKDockState state;
        info.LoadState(profile.c_str(), 0, &state);
        EXPECT_EQ(c.bTaken, info.HasMDIPlacement()) << c.what;
        if (c.bTaken) {
            EXPECT_EQ(CRect(30, 40, 330, 240), CRect(info.m_wpMDIChild.rcNormalPosition)) << c.what;
        }
    }

    // A host whose record has no placement keeps the one it has.
    LayoutFrame lf;
    ASSERT_NE(nullptr, lf.f.p);
    lf.Defaults();
    DeleteProfile(profile);
    WriteInts(profile + "-Bar0", { {"BarID", AFX_IDW_DOCKBAR_FLOAT}, {"Floating", 1}, {"MDIChild", 1}, {"Bars", 2},
                                   {"Bar#0", (int)kInMain}, {"Bar#1", 0} });
    AfxGetApp()->WriteProfileBinary((profile + "-Bar0").c_str(), "MDIChildWindowPlacement", (LPBYTE)&wp, 40);
    WriteInts(profile + "-Summary", { {"Bars", 1} });
    lf.f.p->LoadBarState(profile.c_str());
    CWnd* pHost = lf.FloatFrame(kInMain);
    ASSERT_TRUE(pHost->IsKindOf(RUNTIME_CLASS(TWKControlBarMDIChildWnd)));
    EXPECT_TRUE(pHost->IsWindowVisible());
    CRect rect;
    pHost->GetWindowRect(&rect);
    EXPECT_FALSE(rect.IsRectEmpty());
    DeleteProfile(profile);
}

TEST(SavedLayout, ArchiveFormStoresWhatItLoads)
{
    LayoutFrame lf;
    ASSERT_NE(nullptr, lf.f.p);
    lf.Arrange();
    TWKDockState state;
    ASSERT_TRUE(state.GetDockState(lf.f.p));
    state.CleanBarIDs();
    ASSERT_EQ(15, state.m_arrBarInfo.GetSize());   // the empty right edge has a record too

    auto store = [](TWKDockState& s) {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            s.Serialize(ar);
        }
        std::string bytes((size_t)file.GetLength(), '\0');
        file.SeekToBegin();
        file.Read(&bytes[0], (UINT)bytes.size());
        return bytes;
    };
    // Fractions as a saved layout gives them: stored back without drifting.
    state.GetInfo(7)->m_fPctWidth = TWKDockState::MillionthsToPct(99);
    state.GetInfo(8)->m_fPctWidth = TWKDockState::MillionthsToPct(1);
    std::string first = store(state);
    ASSERT_GE(first.size(), 14u);
    DWORD dwVersion;
    LONG cx, cy;
    WORD nRecords;
    memcpy(&dwVersion, &first[0], 4);
    memcpy(&cx, &first[4], 4);
    memcpy(&cy, &first[8], 4);
    memcpy(&nRecords, &first[12], 2);
    EXPECT_EQ(2u, dwVersion);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), cx);
    EXPECT_EQ(::GetSystemMetrics(SM_CYSCREEN), cy);
    EXPECT_EQ(15, nRecords);
    // The first record: the top dock bar, id, visible, not floating, horizontal, no position.
    DWORD first4[4];
    LONG pos[2];
    memcpy(first4, &first[14], 16);
    memcpy(pos, &first[30], 8);
    EXPECT_EQ((DWORD)AFX_IDW_DOCKBAR_TOP, first4[0]);
    EXPECT_EQ(1u, first4[1]);
    EXPECT_EQ(0u, first4[2]);
    EXPECT_EQ(1u, first4[3]);
    EXPECT_EQ(-1, pos[0]);
    EXPECT_EQ(-1, pos[1]);

    TWKDockState loaded;
    CMemFile in((BYTE*)&first[0], (UINT)first.size());
    {
        CArchive ar(&in, CArchive::load);
        loaded.Serialize(ar);
    }
    ASSERT_EQ(15, loaded.m_arrBarInfo.GetSize());
    EXPECT_EQ(2u, loaded.m_dwVersion);
    EXPECT_EQ((UINT)0xE703, loaded.GetInfo(6)->m_nBarID);
    EXPECT_EQ(0.75f, loaded.GetInfo(6)->m_fPctWidth);
    EXPECT_EQ(first, store(loaded));
}

} // namespace
