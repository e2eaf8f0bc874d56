#include <gtest/gtest.h>
#include "support/system/LanguageInfo.h"
#include "support/ui/CUMsgHandler.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

std::vector<tagMessageRecord> g_records;

LRESULT CALLBACK ReceiverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == CU_WM_MESSAGE_RECORD && wParam == 0) {
        g_records.push_back(*reinterpret_cast<const tagMessageRecord*>(lParam));
        return 1;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

struct Values {
    std::string name, keywords, extra, start1, end1, start2, end2;
    DWORD caseSensitive, tabSize;
    std::string quote;
};

Values Read(I_PMLanguage* l)
{
    return {l->GetName(),       l->GetKeywordFile(),    l->GetExtraChars(),
            l->GetCommentStart1(), l->GetCommentEnd1(), l->GetCommentStart2(),
            l->GetCommentEnd2(),   l->IsCaseSensitive(), l->GetTabSize(),
            l->GetQuoteColor()};
}

class LanguageInfo : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hInstance = GetModuleHandleA(nullptr);
        g_records.clear();
        folder = dir.Path() + "\\";
    }
    void TearDown() override { g_hInstance = nullptr; }

    vt::TempDir dir;
    vt::ModalAnswerer answerer;
    std::string folder;
};

} // namespace

TEST_F(LanguageInfo, DefaultsAndTheFileTitle)
{
    dir.Write("asm.ini", "[OtherControls]\r\nTabSize=8\r\n");
    C_LanguageInfo info;
    ASSERT_TRUE(info.Load(folder.c_str(), "asm.ini,ChipBody"));
    I_PMLanguage* l = info.HasExtension("chipbody");
    ASSERT_NE(nullptr, l);
    Values v = Read(l);
    EXPECT_EQ("asm", v.name);
    EXPECT_EQ(folder + "asm.ini", v.keywords);
    EXPECT_EQ("#@", v.extra);
    EXPECT_EQ(";", v.start1);
    EXPECT_EQ("", v.end1);
    EXPECT_EQ("", v.start2);
    EXPECT_EQ("", v.end2);
    EXPECT_EQ(0u, v.caseSensitive);
    EXPECT_EQ(8u, v.tabSize);
    EXPECT_EQ("120,120,120", v.quote);
    EXPECT_EQ(nullptr, info.HasExtension("ASM"));
    EXPECT_EQ(0u, answerer.Count());
}

TEST_F(LanguageInfo, CommentPairsCaseAndExtraCharacters)
{
    struct Case {
        const char* comment;
        const char* start1;
        const char* end1;
        const char* start2;
        const char* end2;
    } cases[] = {
        {"Start1=//\r\nStart2=/*\r\nEnd2=*/\r\n", "//", "", "/*", "*/"},
        {"End1=x\r\n", ";", "", "", ""},
        {"Start1=(*\r\nEnd1=*)\r\nStart2=;\r\nStart3=#\r\n", "(*", "*)", ";", ""},
    };
    for (const Case& c : cases) {
        std::string file = dir.Write("c.def", std::string("[Comment]\r\nExtraChars=_$ ; word characters\r\n") +
                                                 c.comment +
                                                 "[OtherControls]\r\nCaseSensitive=1\r\n");
        C_LanguageInfo info;
        ASSERT_TRUE(info.Load(folder.c_str(), " c.def ; s ; inc "));
        I_PMLanguage* l = info.HasExtension("INC");
        ASSERT_NE(nullptr, l);
        EXPECT_EQ(l, info.HasExtension("s"));
        Values v = Read(l);
        EXPECT_EQ(c.start1, v.start1) << c.comment;
        EXPECT_EQ(c.end1, v.end1) << c.comment;
        EXPECT_EQ(c.start2, v.start2) << c.comment;
        EXPECT_EQ(c.end2, v.end2) << c.comment;
        EXPECT_EQ("_$", v.extra);
        EXPECT_EQ(1u, v.caseSensitive);
        EXPECT_EQ(4u, v.tabSize);
    }
}

TEST_F(LanguageInfo, MissingFileAndMissingExtensions)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ReceiverProc;
    wc.hInstance = g_hInstance;
    wc.lpszClassName = "VtLanguageReceiver";
    RegisterClassA(&wc);
    HWND receiver = CreateWindowA("VtLanguageReceiver", "", 0, 0, 0, 10, 10, nullptr, nullptr, g_hInstance, nullptr);
    ASSERT_NE(nullptr, receiver);
    g_MsgHandler.SetWindow(receiver);

    C_LanguageInfo missing;
    EXPECT_FALSE(missing.Load(folder.c_str(), "none.ini,ChipBody"));
    ASSERT_EQ(1u, g_records.size());
    EXPECT_EQ(CU_REC_HIGHLIGHT, g_records[0].kind);
    EXPECT_EQ("File [" + folder + "none.ini] does not exist.", std::string(g_records[0].text));
    EXPECT_EQ(nullptr, missing.HasExtension("ChipBody"));

    // No extensions: nothing read, no message.
    dir.Write("asm.ini", "[OtherControls]\r\nTabSize=8\r\n");
    C_LanguageInfo bare;
    EXPECT_FALSE(bare.Load(folder.c_str(), "asm.ini"));
    EXPECT_EQ(1u, g_records.size());
    EXPECT_EQ(0u, answerer.Count());

    g_MsgHandler.SetWindow(nullptr);
    DestroyWindow(receiver);
}

TEST_F(LanguageInfo, CopyPlacedBesideTheTargetUnlessPresent)
{
    dir.Write("asm.ini", "[OtherControls]\r\nTabSize=8\r\n");
    CreateDirectoryA(dir.File("prj").c_str(), nullptr);
    C_LanguageInfo info;
    ASSERT_TRUE(info.Load(folder.c_str(), "asm.ini,ChipBody"));

    info.LoadCopy(dir.File("prj\\main.asm").c_str());
    EXPECT_EQ("[OtherControls]\r\nTabSize=8\r\n", vt::ReadFileBytes(dir.File("prj\\asm.ini")));
    I_PMLanguage* l = info.HasExtension("ChipBody");
    ASSERT_NE(nullptr, l);
    EXPECT_EQ(dir.File("prj\\asm.ini"), std::string(l->GetKeywordFile()));
    EXPECT_EQ(8u, l->GetTabSize());

    // A copy already there is kept and read.
    vt::WriteFileBytes(dir.File("prj\\asm.ini"), "[OtherControls]\r\nTabSize=2\r\n");
    info.LoadCopy(dir.File("prj\\other.asm").c_str());
    EXPECT_EQ(2u, l->GetTabSize());
}
