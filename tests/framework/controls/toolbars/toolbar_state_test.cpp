// A toolbar's title and buttons and the manager's options in saved layouts:
// the stored bytes, a fresh frame loading them as the IDE does, rebuilding by
// today's button map, damaged values, and the archive form.
#include "tests/framework/controls/toolbars/toolbar_fixture.h"
#include "framework/controls/toolbars/TWKCustomToolBarInfoEx.h"
#include "framework/controls/toolbars/TWKTwoPartBtn.h"
#include "framework/controls/toolbars/TWKWndBtn.h"
#include "framework/frames/TWKControlBarInfo.h"
#include <algorithm>
#include <iomanip>
#include <map>

using namespace vt;

namespace {

const UINT kUndo = 57643, kRedo = 57644, kFind = 57636, kNew = 57601, kSave = 57603, kPrint = 57607;
const UINT kBuild1 = 32821, kBuild2 = 32826, kBuild3 = 32854, kTool1 = 32901, kTool2 = 32902;
const UINT kFileBar = 0xE800, kBuildBar = 0xE805, kToolsBar = 0xE807;

// The IDE's split and combo buttons.
const TWKBtnMapEntry kIdeMap[] = {
    { BUTTON_CLASS(TWKTwoPartBtn), kUndo, 0, { 0x802B, 0x8028 } },
    { BUTTON_CLASS(TWKTwoPartBtn), kRedo, 0, { 0x802B, 0x8029 } },
    { BUTTON_CLASS(TWKComboBtn), kFind, TWK_TBBS_NOAUTODISABLE | TWK_TBBS_VCENTER,
      { 61847, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 150 + 70 * 65536, 150 } },
    { nullptr, 0, 0, {} },
};
// The same commands, Find now a split button and Undo a plain one.
const TWKBtnMapEntry kOtherMap[] = {
    { BUTTON_CLASS(TWKTwoPartBtn), kFind, 0, { 0x802B, 0x8028 } },
    { BUTTON_CLASS(TWKTwoPartBtn), kRedo, 0, { 0x802B, 0x8029 } },
    { nullptr, 0, 0, {} },
};

const UINT kFileIDs[] = { kNew, kSave, 0, kUndo, kRedo, 0, kFind, kPrint };
const UINT kBuildIDs[] = { kBuild1, kBuild2, 0, kBuild3 };
const UINT kToolsIDs[] = { kTool1, kTool2 };

const char* const kProfile = "BarState\\ToolBarStateTest";

std::string Hex(const BYTE* p, size_t n)
{
    std::ostringstream out;
    for (size_t i = 0; i < n; i++)
        out << std::hex << std::setw(2) << std::setfill('0') << (int)p[i];
    return out.str();
}

std::string NoSpaces(std::string s)
{
    s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
    return s;
}

// Every value of a profile section as name=value lines (binary in hex), in name order.
std::string SectionValues(const std::string& section)
{
    HKEY hApp = AfxGetApp()->GetAppRegistryKey();
    HKEY hKey = nullptr;
    LONG r = RegOpenKeyExA(hApp, section.c_str(), 0, KEY_READ, &hKey);
    RegCloseKey(hApp);
    if (r != ERROR_SUCCESS)
        return "(none)";
    std::vector<std::string> values;
    for (DWORD i = 0;; i++) {
        char name[256];
        BYTE data[1024];
        DWORD cch = sizeof name, type = 0, cb = sizeof data;
        if (RegEnumValueA(hKey, i, name, &cch, nullptr, &type, data, &cb) != ERROR_SUCCESS)
            break;
        std::string v = std::string(name) + "=";
        if (type == REG_DWORD)
            v += std::to_string(*reinterpret_cast<DWORD*>(data));
        else if (type == REG_SZ)
            v += std::string(reinterpret_cast<char*>(data), strnlen(reinterpret_cast<char*>(data), cb));
        else
            v += "b:" + Hex(data, cb);
        values.push_back(v);
    }
    RegCloseKey(hKey);
    std::sort(values.begin(), values.end());
    std::string out;
    for (const auto& v : values)
        out += v + "\n";
    return out;
}

void DeleteSection(const std::string& section)
{
    AfxGetApp()->WriteProfileString(section.c_str(), nullptr, nullptr);
}

void DeleteProfile(const std::string& profile)
{
    DeleteSection(profile + "-Summary");
    DeleteSection(profile + "-ToolBarManager");
    for (int i = 0; i < 32; i++)
        DeleteSection(profile + "-Bar" + std::to_string(i));
}

struct SavedBar {
    bool bTitle = false;
    std::string strTitle;
    bool bButtons = false;
    std::string strButtons;   // hex
    std::string strAll;       // every value of the section
};

// The saved toolbars of a layout by bar id (the dock bars left out).
std::map<UINT, SavedBar> SavedBars(const std::string& profile)
{
    std::map<UINT, SavedBar> bars;
    CWinApp* pApp = AfxGetApp();
    for (int i = 0; i < 32; i++) {
        std::string section = profile + "-Bar" + std::to_string(i);
        UINT nID = pApp->GetProfileInt(section.c_str(), "BarID", 0);
        if (!nID || pApp->GetProfileInt(section.c_str(), "TypeID", 0) != TWK_BARTYPE_TOOLBAR)
            continue;
        SavedBar bar;
        CString strTitle = pApp->GetProfileString(section.c_str(), "Title", "\x01");
        bar.bTitle = strTitle != "\x01";
        bar.strTitle = bar.bTitle ? (LPCSTR)strTitle : "";
        LPBYTE pData = nullptr;
        UINT nBytes = 0;
        // An empty binary value reads as absent through the profile: look at the registry.
        bar.strAll = SectionValues(section);
        bar.bButtons = bar.strAll.find("Buttons=b:") != std::string::npos;
        if (pApp->GetProfileBinary(section.c_str(), "Buttons", &pData, &nBytes)) {
            bar.strButtons = Hex(pData, nBytes);
            delete[] pData;
        }
        bars[nID] = bar;
    }
    return bars;
}

// Button classes of a bar as text, one letter each: s plain, t split, c combo, | separator.
std::string Classes(TWKCustomToolBar* pBar)
{
    std::string s;
    for (int i = 0; i < pBar->GetButtonCount(); i++) {
        TWKStdBtn* pBtn = pBar->GetButton(i);
        if (pBtn->m_dwStyle & TBBS_SEPARATOR)
            s += '|';
        else if (pBtn->m_nType == TWK_BTN_COMBO)
            s += dynamic_cast<TWKComboBtn*>(pBtn) ? 'c' : '?';
        else if (pBtn->m_nType == TWK_BTN_TWOPART)
            s += dynamic_cast<TWKTwoPartBtn*>(pBtn) ? 't' : '?';
        else
            s += 's';
    }
    return s;
}

TWKComboBtn* FindCombo(TWKCustomToolBar* pBar)
{
    int i = pBar->CommandToIndex(kFind);
    return i < 0 ? nullptr : dynamic_cast<TWKComboBtn*>(pBar->GetButton(i));
}

// A main frame set up as the IDE's: its map, images and default toolbars,
// none of them made yet.
struct IdeFrame {
    ToolBarFrame f{ TRUE, 1000, 600 };
    TWKToolBarManager* pMgr = nullptr;
    explicit IdeFrame(const TWKBtnMapEntry* pMap = kIdeMap)
    {
        if (!f.p)
            return;
        pMgr = f.pMgr;
        EXPECT_TRUE(pMgr->LoadToolBarResource(IDR_TWK_TEST_TOOLBAR, 0));
        pMgr->SetButtonMap(pMap);
        pMgr->DefineDefaultToolBar(kFileBar, "File", 8, kFileIDs, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, TRUE, TRUE);
        pMgr->DefineDefaultToolBar(kBuildBar, "Build", 4, kBuildIDs, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, 0, TRUE,
                                   TRUE);
        pMgr->DefineDefaultToolBar(kToolsBar, "Tools", 2, kToolsIDs, CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP, kBuildBar,
                                   TRUE, TRUE);
    }
    // What the IDE does when it starts: the manager's section, then the layout.
    void Load(const char* profile)
    {
        pMgr->LoadState(profile);
        f.p->LoadBarState(profile);
        f.p->RecalcLayout();
    }
    void Save(const char* profile)
    {
        pMgr->SaveState(profile);
        f.p->SaveBarState(profile);
    }
};

TEST(ToolBarState, SavedBytesReloadIntoTheSameBarsAndSaveAgainIdentically)
{
    DeleteProfile(kProfile);
    std::map<UINT, SavedBar> first;
    std::string strManager;
    {
        IdeFrame ide;
        ASSERT_TRUE(ide.f.p);
        ide.pMgr->InitToolBars();
        TWKCustomToolBar* pFile = ide.pMgr->GetToolBar(kFileBar);
        TWKCustomToolBar* pBuild = ide.pMgr->GetToolBar(kBuildBar);
        TWKCustomToolBar* pTools = ide.pMgr->GetToolBar(kToolsBar);
        ASSERT_TRUE(pFile && pBuild && pTools);
        // Customised: Print moved to the front, Save removed, the combo sized to 120.
        pFile->RemoveButton(pFile->CommandToIndex(kPrint));
        pFile->InsertButton(0, kPrint, FALSE);
        pFile->RemoveButton(pFile->CommandToIndex(kSave));
        const BYTE width120[2] = { 120, 0 };
        ASSERT_TRUE(FindCombo(pFile));
        FindCombo(pFile)->SetBtnInfo(2, width120);
        pTools->RemoveAllButtons();
        TWKCustomToolBar* pUser = ide.pMgr->CreateUserToolBar();
        ASSERT_TRUE(pUser);
        const UINT userIDs[] = { kBuild3, 0, kRedo };
        pUser->SetButtons(userIDs, 3);
        ide.f.p->DockControlBar(pUser, AFX_IDW_DOCKBAR_BOTTOM, nullptr);
        ide.pMgr->EnableCoolLook(TRUE);
        ide.f.p->RecalcLayout();
        ASSERT_EQ(std::string("57607 57601 | 57643 57644 | 57636"), Buttons(pFile));

        ide.Save(kProfile);
        first = SavedBars(kProfile);
        strManager = SectionValues(std::string(kProfile) + "-ToolBarManager");
    }
    EXPECT_EQ("CoolLook=1\nLargeButtons=0\nToolTips=1\n", strManager);
    ASSERT_EQ(4u, first.size());
    struct Golden {
        UINT nID;
        const char* title;
        const char* buttons;
    } golden[] = {
        { kFileBar, "File",
          "07e1000000 01e1000000 0000000000 2be1000000 2ce1000000 0000000000 24e1000002 7800" },
        { kBuildBar, "Build", "35800000 00 3a80000000 0000000000 5680000000" },
        { kToolsBar, "Tools", "" },
        { TWK_IDW_FIRSTUSERBAR, "ToolBar1", "5680000000 0000000000 2ce1000000" },
    };
    for (const Golden& g : golden) {
        SCOPED_TRACE(g.title);
        const SavedBar& bar = first[g.nID];
        EXPECT_TRUE(bar.bTitle);
        EXPECT_EQ(g.title, bar.strTitle);
        EXPECT_TRUE(bar.bButtons);
        EXPECT_EQ(NoSpaces(g.buttons), bar.strButtons);
    }

    IdeFrame ide;
    ASSERT_TRUE(ide.f.p);
    EXPECT_FALSE(ide.pMgr->IsCoolLook());
    ide.Load(kProfile);
    EXPECT_TRUE(ide.pMgr->IsCoolLook());
    EXPECT_TRUE(ide.pMgr->IsToolTips());
    EXPECT_FALSE(ide.pMgr->IsLargeBtns());
    struct Rebuilt {
        UINT nID;
        const char* buttons;
        const char* classes;
    } rebuilt[] = {
        { kFileBar, "57607 57601 | 57643 57644 | 57636", "ss|tt|c" },
        { kBuildBar, "32821 32826 | 32854", "ss|s" },
        { kToolsBar, "", "" },
        { TWK_IDW_FIRSTUSERBAR, "32854 | 57644", "s|t" },
    };
    for (const Rebuilt& r : rebuilt) {
        TWKCustomToolBar* pBar = ide.pMgr->GetToolBar(r.nID);
        ASSERT_TRUE(pBar) << r.nID;
        EXPECT_EQ(r.buttons, Buttons(pBar)) << r.nID;
        EXPECT_EQ(r.classes, Classes(pBar)) << r.nID;
    }
    TWKCustomToolBar* pUser = ide.pMgr->GetToolBar(TWK_IDW_FIRSTUSERBAR);
    CString strTitle;
    pUser->GetWindowText(strTitle);
    EXPECT_EQ(CString("ToolBar1"), strTitle);
    TWKComboBtn* pCombo = FindCombo(ide.pMgr->GetToolBar(kFileBar));
    ASSERT_TRUE(pCombo);
    EXPECT_EQ(120, pCombo->m_nWidth);
    EXPECT_EQ(120, pCombo->m_cx);
    CRect rect;
    pCombo->GetWindowRect(&rect);
    EXPECT_EQ(120, rect.Width());

    const std::string again = std::string(kProfile) + "Again";
    DeleteProfile(again);
    ide.Save(again.c_str());
    std::map<UINT, SavedBar> second = SavedBars(again);
    ASSERT_EQ(first.size(), second.size());
    for (const auto& bar : first) {
        EXPECT_EQ(bar.second.strAll, second[bar.first].strAll) << bar.first;
    }
    EXPECT_EQ(strManager, SectionValues(again + "-ToolBarManager"));
    DeleteProfile(kProfile);
    DeleteProfile(again);
}

TEST(ToolBarState, AButtonListLongerThanAnyToolBarIsRefusedAndTheBarKeepsItsButtons)
{
    const std::string profile = std::string(kProfile) + "Hostile";
    DeleteProfile(profile);
    {
        IdeFrame ide;
        ASSERT_TRUE(ide.f.p);
        ide.pMgr->InitToolBars();
        ide.Save(profile.c_str());
    }
    // The combo button's command 1,000 times in each toolbar: 5,000 bytes.
    std::vector<BYTE> hostile;
    for (int i = 0; i < 1000; i++)
        hostile.insert(hostile.end(), { (BYTE)(kFind & 0xFF), (BYTE)(kFind >> 8), 0, 0, 0 });
    int nToolBars = 0;
    for (int i = 0; i < 32; i++) {
        std::string section = profile + "-Bar" + std::to_string(i);
        if (AfxGetApp()->GetProfileInt(section.c_str(), "TypeID", 0) != TWK_BARTYPE_TOOLBAR)
            continue;
        AfxGetApp()->WriteProfileBinary(section.c_str(), "Buttons", hostile.data(), (UINT)hostile.size());
        nToolBars++;
    }
    ASSERT_EQ(3, nToolBars);

    IdeFrame ide;
    ASSERT_TRUE(ide.f.p);
    ide.Load(profile.c_str());
    struct Kept {
        UINT nID;
        const char* title;
        const char* buttons;
    } kept[] = {
        { kFileBar, "File", "57601 57603 | 57643 57644 | 57636 57607" },
        { kBuildBar, "Build", "32821 32826 | 32854" },
        { kToolsBar, "Tools", "32901 32902" },
    };
    for (const Kept& k : kept) {
        TWKCustomToolBar* pBar = ide.pMgr->GetToolBar(k.nID);
        ASSERT_TRUE(pBar) << k.nID;
        EXPECT_EQ(k.buttons, Buttons(pBar)) << k.nID;
        CString strTitle;
        pBar->GetWindowText(strTitle);
        EXPECT_EQ(CString(k.title), strTitle);
    }
    DeleteProfile(profile);
}

// The record's profile form on its own section.
struct ToolBarStateRecord : ::testing::Test {
    const std::string section = "BarState\\ToolBarRecordTest-Bar0";
    void SetUp() override { DeleteSection(section); }
    void TearDown() override { DeleteSection(section); }
    void WriteButtons(const std::vector<BYTE>& bytes)
    {
        static BYTE none = 0;
        AfxGetApp()->WriteProfileBinary(section.c_str(), "Buttons", bytes.empty() ? &none : (LPBYTE)bytes.data(),
                                        (UINT)bytes.size());
    }
    static std::string Records(const TWKCustomToolBarInfoEx& info)
    {
        std::ostringstream out;
        for (INT_PTR i = 0; i < info.m_arrButtons.GetSize(); i++) {
            const TWKBtnInfo* p = info.m_arrButtons[i];
            out << (i ? " " : "") << p->m_nID;
            if (p->m_nSize)
                out << ":" << Hex(p->m_pData, p->m_nSize);
        }
        return out.str();
    }
};

TEST_F(ToolBarStateRecord, TitleOnlyWhenNotEmptyAndButtonsAlsoWhenEmpty)
{
    TWKCustomToolBarInfoEx info;
    EXPECT_TRUE(info.SaveState(section.c_str()));
    EXPECT_EQ("Buttons=b:\n", SectionValues(section));

    info.m_strTitle = "Mine";
    info.m_arrButtons.Add(new TWKBtnInfo(0x12345678, 0, nullptr));
    const BYTE data[3] = { 1, 2, 3 };
    info.m_arrButtons.Add(new TWKBtnInfo(0, 3, data));
    EXPECT_TRUE(info.SaveState(section.c_str()));
    EXPECT_EQ("Buttons=b:78563412000000000003010203\nTitle=Mine\n", SectionValues(section));

    TWKCustomToolBarInfoEx back;
    back.m_strTitle = "stale";
    EXPECT_TRUE(back.LoadState(section.c_str(), nullptr));
    EXPECT_EQ(CString("Mine"), back.m_strTitle);
    EXPECT_EQ("305419896 0:010203", Records(back));
}

// Only whole records are taken from a damaged value; the rest is ignored.
TEST_F(ToolBarStateRecord, TruncatedAndLyingButtonsLoadTheWholeRecordsOnly)
{
    const std::vector<BYTE> a = { 0x24, 0xE1, 0, 0, 2, 0x78, 0x00 };
    const std::vector<BYTE> sep = { 0, 0, 0, 0, 0 };
    auto cat = [](std::vector<BYTE> x, const std::vector<BYTE>& y) {
        x.insert(x.end(), y.begin(), y.end());
        return x;
    };
    struct Case {
        const char* what;
        std::vector<BYTE> bytes;
        const char* records;
    } cases[] = {
        { "whole", cat(a, sep), "57636:7800 0" },
        { "empty", {}, "" },
        { "header cut", cat(cat(a, sep), { 1, 0, 0, 0 }), "57636:7800 0" },
        { "data cut", cat(sep, { 0x24, 0xE1, 0, 0, 2, 0x78 }), "0" },
        { "size lies", cat(a, { 9, 0, 0, 0, 0xFF, 1, 2 }), "57636:7800" },
        { "first lies", { 9, 0, 0, 0, 6, 1, 2, 3, 4, 5 }, "" },
        { "too short", { 1, 2, 3 }, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteButtons(c.bytes);
        TWKCustomToolBarInfoEx info;
        EXPECT_TRUE(info.LoadState(section.c_str(), nullptr));
        EXPECT_EQ(c.records, Records(info));
        EXPECT_TRUE(info.m_strTitle.IsEmpty());
    }
}

TEST_F(ToolBarStateRecord, AListUpToTheLimitLoadsAndOneBeyondIsRefused)
{
    for (int n : { TWK_MAX_TOOLBAR_BUTTONS, TWK_MAX_TOOLBAR_BUTTONS + 1 }) {
        std::vector<BYTE> bytes((size_t)n * TWK_BTNINFO_HEADER, 0);   // separators
        WriteButtons(bytes);
        TWKCustomToolBarInfoEx info;
        info.LoadState(section.c_str(), nullptr);
        bool bBeyond = n > TWK_MAX_TOOLBAR_BUTTONS;
        EXPECT_EQ(bBeyond, (bool)info.m_bRefused) << n;
        EXPECT_EQ(bBeyond ? 0 : n, (int)info.m_arrButtons.GetSize()) << n;

        // The archive form: a count beyond the limit is a damaged archive.
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar << CString("T") << (DWORD)n;
            for (int i = 0; i < n; i++)
                ar << (DWORD)0 << (BYTE)0;
        }
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load);
        TWKCustomToolBarInfoEx back;
        bool bThrown = false;
        try {
            back.Serialize(ar, nullptr);
        } catch (CArchiveException* e) {
            bThrown = true;
            e->Delete();
        }
        EXPECT_EQ(bBeyond, bThrown) << n;
        EXPECT_EQ(bBeyond ? 0 : n, (int)back.m_arrButtons.GetSize()) << n;
    }
}

TEST_F(ToolBarStateRecord, ArchiveFormRoundTripsAndHoldsTheDocumentedLayout)
{
    TWKCustomToolBarInfoEx info;
    info.m_strTitle = "Find";
    const BYTE width[2] = { 0x2C, 0x01 };
    info.m_arrButtons.Add(new TWKBtnInfo(kFind, 2, width));
    info.m_arrButtons.Add(new TWKBtnInfo(0, 0, nullptr));
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        info.Serialize(ar, nullptr);
    }
    UINT nLen = (UINT)file.GetLength();
    BYTE* pBytes = file.Detach();
    // The title as the archive writes strings (a length byte here), a 32-bit
    // count, then id, size and data per record.
    EXPECT_EQ("0446696e64" "02000000" "24e10000" "02" "2c01" "00000000" "00", Hex(pBytes, nLen));

    CMemFile in(pBytes, nLen);
    TWKCustomToolBarInfoEx back;
    {
        CArchive ar(&in, CArchive::load);
        back.Serialize(ar, nullptr);
    }
    EXPECT_EQ(CString("Find"), back.m_strTitle);
    EXPECT_EQ("57636:2c01 0", Records(back));
    free(pBytes);
}

struct ToolBarStateInfo : ::testing::Test {
    IdeFrame ide;
    TWKCustomToolBar* pBar = nullptr;
    void SetUp() override
    {
        ASSERT_TRUE(ide.f.p);
        pBar = ide.f.NewBar(kFileBar);
        ASSERT_TRUE(pBar);
        pBar->SetWindowText("Created");
    }
    // Hands a record of these buttons to the bar as a layout restore does.
    void Restore(const char* title, std::initializer_list<std::pair<UINT, std::vector<BYTE>>> buttons)
    {
        TWKControlBarInfo info;
        auto* pEx = new TWKCustomToolBarInfoEx;
        pEx->m_strTitle = title;
        for (const auto& b : buttons)
            pEx->m_arrButtons.Add(new TWKBtnInfo(b.first, (BYTE)b.second.size(), b.second.data()));
        info.m_pInfoEx = pEx;
        pBar->SetBarInfoEx(&info, ide.f.p);
        ide.f.p->RecalcLayout();
    }
};

TEST_F(ToolBarStateInfo, TheCurrentMapDecidesTheClassAndOnlyAPlausibleWidthIsTaken)
{
    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    const int cxTooWide = cxScreen + 1;
    struct Case {
        const char* what;
        std::vector<BYTE> data;
        int nWidth;
    } cases[] = {
        { "sized", { 100, 0 }, 100 },
        { "smallest", { 70, 0 }, 70 },
        { "below smallest", { 69, 0 }, 150 },
        { "zero", { 0, 0 }, 150 },
        { "wider than the screen", { (BYTE)(cxTooWide & 0xFF), (BYTE)(cxTooWide >> 8) }, 150 },
        { "no data", {}, 150 },
        { "wrong size", { 100, 0, 0 }, 150 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Restore("", { { kFind, c.data } });
        TWKComboBtn* pCombo = FindCombo(pBar);
        ASSERT_TRUE(pCombo);
        EXPECT_EQ(c.nWidth, pCombo->m_nWidth);
        EXPECT_EQ(c.nWidth, pCombo->m_cx);
    }
    CString strTitle;
    pBar->GetWindowText(strTitle);
    EXPECT_EQ(CString("Created"), strTitle);

    // Saved under one map, restored under another: the classes of today.
    Restore("Renamed", { { kFind, { 100, 0 } }, { 0, {} }, { kUndo, {} }, { kRedo, {} } });
    EXPECT_EQ("c|tt", Classes(pBar));
    pBar->GetWindowText(strTitle);
    EXPECT_EQ(CString("Renamed"), strTitle);
    ide.pMgr->SetButtonMap(kOtherMap);
    Restore("", { { kFind, { 100, 0 } }, { 0, {} }, { kUndo, {} }, { kRedo, {} } });
    EXPECT_EQ("57636 | 57643 57644", Buttons(pBar));
    EXPECT_EQ("t|st", Classes(pBar));
    EXPECT_EQ(nullptr, FindCombo(pBar));

    // And the record the bar gives back holds what it shows.
    TWKControlBarInfo info;
    pBar->GetBarInfoEx(&info);
    auto* pEx = dynamic_cast<TWKCustomToolBarInfoEx*>(info.m_pInfoEx);
    ASSERT_TRUE(pEx);
    EXPECT_EQ(CString("Renamed"), pEx->m_strTitle);
    EXPECT_EQ("57636 0 57643 57644", ToolBarStateRecord::Records(*pEx));
}

TEST(ToolBarStateManager, OptionsSectionAndBarTypes)
{
    const std::string profile = "BarState\\ManagerOptionsTest";
    DeleteProfile(profile);
    IdeFrame ide;
    ASSERT_TRUE(ide.f.p);
    // Before any load; a missing section keeps them and still builds the defaults.
    EXPECT_TRUE(ide.pMgr->IsToolTips());
    EXPECT_FALSE(ide.pMgr->IsCoolLook());
    EXPECT_FALSE(ide.pMgr->IsLargeBtns());
    ide.pMgr->EnableLargeBtns(TRUE);
    ide.pMgr->LoadState(profile.c_str());
    EXPECT_TRUE(ide.pMgr->IsToolTips());
    EXPECT_FALSE(ide.pMgr->IsCoolLook());
    EXPECT_TRUE(ide.pMgr->IsLargeBtns());
    TWKCustomToolBar* pFile = ide.pMgr->GetToolBar(kFileBar);
    ASSERT_TRUE(pFile);
    EXPECT_TRUE(ide.pMgr->GetToolBar(kToolsBar));

    // A stored section is applied to the bars.
    const std::string section = profile + "-ToolBarManager";
    AfxGetApp()->WriteProfileInt(section.c_str(), "ToolTips", 0);
    AfxGetApp()->WriteProfileInt(section.c_str(), "CoolLook", 1);
    AfxGetApp()->WriteProfileInt(section.c_str(), "LargeButtons", 0);
    ide.pMgr->LoadState(profile.c_str());
    EXPECT_FALSE(ide.pMgr->IsToolTips());
    EXPECT_TRUE(ide.pMgr->IsCoolLook());
    EXPECT_FALSE(ide.pMgr->IsLargeBtns());
    EXPECT_EQ(0u, pFile->GetBarStyle() & CBRS_TOOLTIPS);
    EXPECT_EQ((DWORD)(CBX_COOLLOOK | CBX_GRIPPER), pFile->GetExBarStyle() & (CBX_COOLLOOK | CBX_GRIPPER));
    ide.pMgr->SaveState(profile.c_str());
    EXPECT_EQ("CoolLook=1\nLargeButtons=0\nToolTips=0\n", SectionValues(section));
    DeleteProfile(profile);

    struct { UINT nType; bool bEx; } types[] = {
        { TWK_BARTYPE_TOOLBAR, true }, { TWK_BARTYPE_MENUBAR, true }, { 0, false }, { 14945, false } };
    for (const auto& t : types) {
        TWKControlBarInfo info;
        info.m_nTypeID = t.nType;
        TWKControlBarInfoEx* pEx = ide.pMgr->CreateBarInfoEx(&info);
        EXPECT_EQ(t.bEx, dynamic_cast<TWKCustomToolBarInfoEx*>(pEx) != nullptr) << t.nType;
        delete pEx;
    }
}

} // namespace
