// The release of the chip-information service by its last holder. The
// library's own holder counts too: the test takes it away for a while.
#include "tests/support/system/chipinfo_fixture.h"
#include "support/text/CUStringList.h"
#include <new>

TEST_F(ChipInfo, TheLastHolderReleasesTheService)
{
    auto* first = new C_ChipInfoPtr;
    ASSERT_TRUE(first->Load(nullptr));
    HMODULE module = GetModuleHandleA("ChipInfo.dll");
    ASSERT_NE(nullptr, module);
    I_ChipItem* item = first->GetChipItem("KQ83");
    ASSERT_NE(nullptr, item);

    // Without the library's holder, the program's own holder is the last.
    g_ChipInfoHolder.~C_ChipInfoPtr();
    EXPECT_EQ(module, GetModuleHandleA("ChipInfo.dll"));
    EXPECT_EQ(item, first->GetChipItem("KQ83"));
    delete first;
    EXPECT_EQ(nullptr, GetModuleHandleA("ChipInfo.dll"));
    {
        C_ChipInfoPtr later;
        C_CUStringList list;
        EXPECT_EQ(nullptr, later.GetChipItem("KQ83"));
        EXPECT_FALSE(later.GetChipList("KQ83", &list, 0, 0));
        EXPECT_EQ(0, list.GetCount());
    }
    new (&g_ChipInfoHolder) C_ChipInfoPtr;
}
