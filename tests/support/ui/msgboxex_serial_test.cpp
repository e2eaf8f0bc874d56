// Enter and the keyboard focus in a message box. The focus belongs to the active window of the
// display, which another program's window can take at any moment: these run alone.
#include <gtest/gtest.h>
#include "support/ui/MsgBoxEx.h"
#include "support/text/CUString.h"
#include "support/supportres.h"
#include "tests/harness/dialog_driver.h"
#include <string>

namespace {

using uitest::Buttons;
using uitest::DialogDriver;

class MsgBoxExFocus : public ::testing::Test {
protected:
    void SetUp() override { g_hInstance = ::GetModuleHandleA(nullptr); }
    void TearDown() override { g_hInstance = nullptr; }
};

TEST_F(MsgBoxExFocus, EnterEndsTheBoxWithTheFocusedOrTheDefaultButton)
{
    // Enter on a focused button ends with that button.
    {
        HWND focused = nullptr, no = nullptr;
        DialogDriver driver([&](HWND box, int) {
            no = Buttons(box)[1];
            ::SetFocus(no);
            focused = ::GetFocus();
            uitest::PostKey(no, VK_RETURN);
            return true;
        });
        EXPECT_EQ(IDNO, AppMessageBox(nullptr, IDS_APPMSG_MESSAGE, IDS_CU_FILE_NOT_EXIST, 0xE, "a"));
        EXPECT_EQ(no, focused);
    }
    // A default button takes the focus and Enter. The key goes to the box, so that it ends
    // even where the focus is not.
    {
        C_MsgBoxEx box;
        box.AddButton(100, FALSE, FALSE, "First");
        box.AddButton(101, TRUE, FALSE, "Second");
        box.SetMessage("Which?");
        std::string focusedText;
        DialogDriver driver([&](HWND hBox, int) {
            focusedText = uitest::WindowText(::GetFocus());
            uitest::PostKey(hBox, VK_RETURN);
            return true;
        });
        EXPECT_EQ(101, box.DoModal());
        EXPECT_EQ("Second", focusedText);
    }
}

} // namespace
