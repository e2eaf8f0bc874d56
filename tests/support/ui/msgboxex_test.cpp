#include <gtest/gtest.h>
#include "support/ui/MsgBoxEx.h"
#include "support/text/CUString.h"
#include "support/supportres.h"
#include "tests/harness/harness.h"
#include "tests/harness/dialog_driver.h"
#include <string>
#include <vector>

namespace {

using uitest::Buttons;
using uitest::DialogDriver;

HWND MessageControl(HWND box)
{
    return ::GetDlgItem(box, 0xFFFF);
}

CRect ChildRect(HWND box, HWND child)
{
    CRect r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string WithoutCR(std::string s)
{
    s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
    return s;
}

class MsgBoxEx : public ::testing::Test {
protected:
    void SetUp() override { g_hInstance = ::GetModuleHandleA(nullptr); }
    void TearDown() override { g_hInstance = nullptr; }
};

TEST_F(MsgBoxEx, FlagsGiveButtonsInOrderAndEachEndsWithItsId)
{
    struct Case { UINT flags; std::vector<std::string> labels; std::vector<int> results; };
    const std::vector<Case> cases = {
        {0xE, {"Yes", "No", "Cancel"}, {IDYES, IDNO, IDCANCEL}},
        {0x20E, {"Yes", "No", "No To All", "Cancel"}, {IDYES, IDNO, 512, IDCANCEL}},
        {0x1, {"Ok"}, {IDOK}},
        {0x102, {"Yes", "Yes To All"}, {IDYES, 256}},
        {0x30F, {"Ok", "Yes", "Yes To All", "No", "No To All", "Cancel"}, {1, 6, 256, 7, 512, 2}},
    };
    for (const Case& c : cases) {
        // Every button of the full set is pressed once; of the others, the last.
        const size_t first = c.flags == 0x30F ? 0 : c.labels.size() - 1;
        for (size_t press = first; press < c.labels.size(); ++press) {
            std::vector<std::string> labels;
            std::string caption;
            DialogDriver driver([&](HWND box, int) {
                caption = uitest::WindowText(box);
                std::vector<HWND> buttons = Buttons(box);
                for (HWND b : buttons)
                    labels.push_back(uitest::WindowText(b));
                if (press < buttons.size())
                    ::PostMessageA(buttons[press], BM_CLICK, 0, 0);
                return true;
            });
            int r = AppMessageBox(nullptr, IDS_APPMSG_MESSAGE, IDS_CU_FILE_NOT_EXIST, c.flags, "a.c");
            EXPECT_EQ(c.labels, labels) << std::hex << c.flags;
            EXPECT_EQ(c.results[press], r) << std::hex << c.flags << " button " << press;
            EXPECT_EQ("Veltane Tool", caption);
        }
    }
}

TEST_F(MsgBoxEx, KeysEndTheBoxByItsEscapeAndDefaultButtons)
{
    // Escape with a Cancel button.
    {
        DialogDriver driver([](HWND box, int) {
            uitest::PostKey(Buttons(box)[0], VK_ESCAPE);
            return true;
        });
        EXPECT_EQ(IDCANCEL, AppMessageBox(nullptr, IDS_APPMSG_MESSAGE, IDS_CU_FILE_NOT_EXIST, 0xE, "a"));
    }
    // Ok only: no close box; Escape and WM_CLOSE are swallowed.
    {
        LONG style = 0;
        bool openAfterKeys = false;
        DialogDriver driver([&](HWND box, int call) {
            if (call == 0) {
                style = ::GetWindowLongA(box, GWL_STYLE);
                uitest::PostKey(Buttons(box)[0], VK_ESCAPE);
                uitest::PostKey(Buttons(box)[0], VK_CANCEL);
                ::PostMessageA(box, WM_CLOSE, 0, 0);
                return false;
            }
            openAfterKeys = ::IsWindowVisible(box) != FALSE;
            ::PostMessageA(Buttons(box)[0], BM_CLICK, 0, 0);
            return true;
        });
        EXPECT_EQ(IDOK, AppMessageBox(nullptr, IDS_APPMSG_MESSAGE, IDS_CU_FILE_NOT_EXIST, 0x1, "a"));
        EXPECT_EQ(0, style & WS_SYSMENU);
        EXPECT_TRUE(openAfterKeys);
    }
    // No buttons: Escape does nothing, Enter ends with -1.
    {
        DialogDriver driver([](HWND box, int call) {
            uitest::PostKey(box, call == 0 ? VK_ESCAPE : VK_RETURN);
            return call == 1;
        });
        EXPECT_EQ(-1, AppMessageBox(nullptr, IDS_APPMSG_MESSAGE, IDS_CU_FILE_NOT_EXIST, 0, "a"));
    }
    // Enter on the focused or the default button: msgboxex_serial_test.cpp (the focus is the display's).
}

TEST_F(MsgBoxEx, CategoriesPutTheirTextAroundTheMessage)
{
    struct Case { UINT category; bool withInstance; std::string text; };
    const std::vector<Case> cases = {
        {IDS_APPMSG_MESSAGE, true, "File [a.c] does not exist."},
        {IDS_APPMSG_WARNING, true, "Warning: File [a.c] does not exist."},
        {IDS_APPMSG_ERROR, true, "Error: File [a.c] does not exist."},
        {IDS_APPMSG_FATAL_ERROR, true, "File [a.c] does not exist.\nQuit and modify system config file!"},
        {0xA003, true, "File [a.c] does not exist."},
        {12345, true, "File [a.c] does not exist."},
        // No texts at all: the warning prefix falls back to "Error: ".
        {IDS_APPMSG_WARNING, false, "Error: "},
    };
    for (const Case& c : cases) {
        g_hInstance = c.withInstance ? ::GetModuleHandleA(nullptr) : nullptr;
        vt::ModalAnswerer answerer;
        EXPECT_EQ(IDOK, AppMessageBox(nullptr, c.category, IDS_CU_FILE_NOT_EXIST, 0x1, "a.c"));
        ASSERT_EQ(1u, answerer.Count());
        EXPECT_EQ(c.text, WithoutCR(answerer.Last().text)) << c.category;
        EXPECT_EQ("Veltane Tool", answerer.Last().caption);
    }
    g_hInstance = ::GetModuleHandleA(nullptr);

    // The library's categories.
    vt::ModalAnswerer answerer;
    LibMessageBox(nullptr, IDS_CU_WARNING, IDS_CU_FILE_NOT_EXIST, 0x1, "b");
    LibMessageBox(nullptr, IDS_CU_FATAL_ERROR, IDS_CU_FILE_NOT_EXIST, 0x1, "b");
    ASSERT_EQ(2u, answerer.Count());
    EXPECT_EQ("Warning: File [b] does not exist.", WithoutCR(answerer.Seen()[0].text));
    EXPECT_EQ("File [b] does not exist.", WithoutCR(answerer.Seen()[1].text));
}

TEST_F(MsgBoxEx, FormattedTextIsCutAt511Characters)
{
    vt::ModalAnswerer answerer;
    std::string name(600, 'n');
    AppMessageBox(nullptr, IDS_APPMSG_MESSAGE, IDS_CU_FILE_NOT_EXIST, 0x1, name.c_str());
    ASSERT_EQ(1u, answerer.Count());
    std::string expected = ("File [" + name).substr(0, 511);
    EXPECT_EQ(expected, answerer.Last().text);

    // Setters: a missing format id leaves the text as it was.
    C_MsgBoxEx box;
    box.SetMessage("kept");
    EXPECT_FALSE(box.FormatMessage(0x7ABC, 1));
    EXPECT_STREQ("kept", box.GetMessageText());
    EXPECT_TRUE(box.FormatMessage(IDS_CU_FILE_NOT_EXIST, "x"));
    EXPECT_STREQ("File [x] does not exist.", box.GetMessageText());
    EXPECT_TRUE(box.FormatMessage("%d-%s", 7, "y"));
    EXPECT_STREQ("7-y", box.GetMessageText());
    EXPECT_FALSE(box.SetMessageFromResource("NO_SUCH_TEXT", "TEXT"));
}

// Height the text needs at a width, asked of a rich-edit control of our own with the box's font.
class CHeightProbe : public CWnd
{
public:
    CRichEditCtrl edit;
    int height = 0;
    CFont font;
    CHeightProbe(const LOGFONTA& lf, const std::string& text)
    {
        font.CreateFontIndirect(&lf);
        CreateEx(0, AfxRegisterWndClass(0), "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
        edit.Create(WS_CHILD | ES_MULTILINE | ES_READONLY, CRect(0, 0, 0, 0), this, 1);
        edit.SetFont(font);
        edit.SetWindowText(text.c_str());
        edit.SetEventMask(ENM_REQUESTRESIZE);
    }
    ~CHeightProbe() override { DestroyWindow(); }
    int At(int width)
    {
        edit.MoveWindow(0, 0, width, 1, FALSE);
        CRect r(0, 0, width, 1);
        edit.SetRect(&r);
        edit.RequestResize();
        return height;
    }
protected:
    BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) override
    {
        auto* req = reinterpret_cast<REQRESIZE*>(lParam);
        if (req->nmhdr.code == EN_REQUESTRESIZE)
            height = req->rc.bottom - req->rc.top;
        *pResult = 0;
        return TRUE;
    }
};

TEST_F(MsgBoxEx, LayoutFitsTheTextAndCentresOneSizeOfButtons)
{
    std::string longText;
    for (int i = 0; i < 60; ++i)
        longText += "word" + std::to_string(i) + " ";
    struct Case { std::string text; UINT flags; bool longText; };
    const std::vector<Case> cases = {{longText, 0xE, true}, {"Hi", 0x20E, false}};
    for (const Case& c : cases) {
        CRect client, text, units(0, 0, 1000, 1000);
        std::vector<CRect> buttons;
        LOGFONTA font = {};
        std::string shown;
        DialogDriver driver([&](HWND box, int) {
            ::GetClientRect(box, &client);
            ::MapDialogRect(box, &units);
            HWND msg = MessageControl(box);
            text = ChildRect(box, msg);
            // The box's font goes with the box: keep its description.
            ::GetObjectA((HFONT)::SendMessageA(box, WM_GETFONT, 0, 0), sizeof font, &font);
            shown = WithoutCR(uitest::WindowText(msg));
            for (HWND b : Buttons(box))
                buttons.push_back(ChildRect(box, b));
            ::PostMessageA(Buttons(box).back(), BM_CLICK, 0, 0);
            return true;
        });
        C_MsgBoxEx box;
        for (UINT f : {0x2u, 0x4u, 0x200u, 0x8u})
            if (c.flags & f)
                box.AddButton(f, FALSE, FALSE, f == 0x200 ? "No To All" : "Button");
        box.SetMessage(c.text.c_str());
        box.DoModal();
        ASSERT_FALSE(buttons.empty());
        EXPECT_EQ(c.text, shown);

        // Buttons: one size, one row, centred, under the text.
        for (const CRect& b : buttons) {
            EXPECT_EQ(buttons[0].Size(), b.Size());
            EXPECT_EQ(buttons[0].top, b.top);
            EXPECT_GT(b.top, text.bottom);
        }
        const int rowLeft = buttons.front().left, rowRight = buttons.back().right;
        EXPECT_LE(std::abs(rowLeft - (client.right - rowRight)), 1);

        const int margin = units.Width() * 10 / 1000;   // left and right margins: 10 dialog units
        CHeightProbe probe(font, c.text);
        const int textWidth = text.Width() - 2;
        EXPECT_EQ(probe.At(textWidth), text.Height());   // all of the text is shown
        if (c.longText) {
            const int reference = probe.At(::GetSystemMetrics(SM_CXSCREEN) / 2);
            int lo = 1, hi = ::GetSystemMetrics(SM_CXSCREEN) / 2;
            while (lo < hi) {
                int mid = (lo + hi) / 2;
                if (probe.At(mid) <= reference)
                    hi = mid;
                else
                    lo = mid + 1;
            }
            EXPECT_LE(textWidth, lo);
            EXPECT_GT(textWidth, lo / 2);
            EXPECT_EQ(client.Width(), textWidth + margin * 2);
        } else {
            EXPECT_EQ(client.Width(), rowRight - rowLeft + margin * 2);
        }
    }
}

} // namespace

namespace {

TEST_F(MsgBoxEx, IconStandsLeftOfTheText)
{
    CRect icon, text, units(0, 0, 1000, 1000);
    bool hasIcon = false;
    DialogDriver driver([&](HWND box, int) {
        ::MapDialogRect(box, &units);
        for (HWND h = ::GetWindow(box, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
            char cls[32] = "";
            ::GetClassNameA(h, cls, sizeof cls);
            if (lstrcmpiA(cls, "Static") == 0 && (::GetWindowLongA(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                hasIcon = ::SendMessageA(h, STM_GETICON, 0, 0) != 0;
                icon = ChildRect(box, h);
            }
        }
        text = ChildRect(box, MessageControl(box));
        ::PostMessageA(Buttons(box)[0], BM_CLICK, 0, 0);
        return true;
    });
    C_MsgBoxEx box;
    box.AddButton(IDOK, FALSE, TRUE, "Ok");
    box.SetMessage("A text wider than the single button under it, so that it sets the width.");
    box.SetStandardIcon(IDI_HAND);
    EXPECT_EQ(IDOK, box.DoModal());
    ASSERT_TRUE(hasIcon);
    const int left = units.Width() * 10 / 1000, top = units.Height() * 10 / 1000;
    const int iconGap = units.Width() * 10 / 1000;
    EXPECT_EQ(CPoint(left, top), icon.TopLeft());
    EXPECT_EQ(CSize(::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)), icon.Size());
    EXPECT_EQ(icon.right + iconGap - 1, text.left);
    EXPECT_EQ(top, text.top);
}

} // namespace
