// Menu mnemonics in a code page with double-byte characters: the build runs
// this program under a Japanese locale.
#include <gtest/gtest.h>
#include "tests/framework/controls/menus/menutracking_fixture.h"

namespace {

using namespace menutracking;

// A '&' before a lead byte gives no mnemonic: the key finds no menu and is
// swallowed, while plain letters work as before.
TEST(MenuMnemonicDBCS, ALeadByteAfterTheAmpersandGivesNoMnemonic)
{
    BYTE bLead = 0;
    for (int b = 0x81; b <= 0xFE && !bLead; b++)
        if (::IsDBCSLeadByte((BYTE)b))
            bLead = (BYTE)b;
    ASSERT_NE(0, bLead) << "code page " << ::GetACP() << " has no lead bytes: run under a double-byte locale";
    TrackFrame f;
    ASSERT_TRUE(f.p);
    TWKMenuBar& bar = f.Bar();
    auto* pView = static_cast<TWKTBMenuBtn*>(bar.GetButton(f.ButtonOf("&View")));
    const char szText[] = { '&', (char)bLead, '\x40', 0 };
    pView->m_strText = szText;
    pView->UpdateMnemonic();
    {
        Steps steps({});
        EXPECT_TRUE(f.KeyMenu((char)bLead));
        EXPECT_TRUE(f.p->m_popups.empty());
        EXPECT_EQ(-1, bar.FindMnemonicButton((char)bLead));
    }
    Steps steps({});
    EXPECT_TRUE(f.KeyMenu('f'));
    ASSERT_EQ(1u, f.p->m_popups.size());
    EXPECT_EQ(f.Popup(0), f.p->m_popups[0]);
}

} // namespace
