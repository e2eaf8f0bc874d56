// The cross-process answerer against a helper program's boxes, and the in-process answerer
// against the same boxes shown here.
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include "tests/harness/harness.h"
#include "tests/harness/helper/box_forms.h"
#include "tests/harness/helper/box_helper_ids.h"

namespace {

std::map<std::string, std::string> Values(const std::string& lines)
{
    std::map<std::string, std::string> values;
    std::istringstream in(lines);
    std::string line;
    while (std::getline(in, line)) {
        size_t eq = line.find('=');
        if (eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

// The helper program, started suspended so that its box appears only after the answerer
// watches; ends with the pressed button's id and leaves the filled-in values in a file.
class Helper {
public:
    explicit Helper(const std::string& mode) : m_values(m_dir.File("values.txt"))
    {
        std::string command = "\"" + vt::ProgramFolder() + "vt_box_helper.exe\" " + mode + " \"" + m_values + "\"";
        STARTUPINFOA si = {sizeof si};
        m_started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                   m_dir.Path().c_str(), &si, &m_pi) != FALSE;
    }
    ~Helper()
    {
        if (!m_started)
            return;
        if (WaitForSingleObject(m_pi.hProcess, 0) != WAIT_OBJECT_0)
            TerminateProcess(m_pi.hProcess, 1);
        CloseHandle(m_pi.hThread);
        CloseHandle(m_pi.hProcess);
    }
    bool Started() const { return m_started; }
    DWORD Id() const { return m_pi.dwProcessId; }
    void Resume() { ResumeThread(m_pi.hThread); }
    // The exit code (the button id); -1 when the helper did not end (the limit only guards
    // against a hang).
    int Result()
    {
        if (WaitForSingleObject(m_pi.hProcess, 60000) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        GetExitCodeProcess(m_pi.hProcess, &code);
        return static_cast<int>(code);
    }
    std::map<std::string, std::string> Filled() const { return Values(vt::ReadFileBytes(m_values)); }
    const vt::TempDir& Dir() const { return m_dir; }

private:
    vt::TempDir m_dir;
    std::string m_values;
    PROCESS_INFORMATION m_pi = {};
    bool m_started = false;
};

struct BoxCase {
    const char* mode;
    const char* caption;
    const char* text;   // a part of the box's text
    std::vector<std::string> buttons;
};

const BoxCase kMessageBox = {"msgbox", "Helper Box", "The second line.", {"Yes", "No", "Cancel"}};
const BoxCase kRichBox = {"rich", "Helper Rich Box", "The rich text of the box.", {"Yes", "No To All", "Cancel"}};
const BoxCase kForm = {"form", "Helper Dialog", "Fill in the form.", {"Colour...", "Press", "OK", "Cancel", "Apply Later"}};

// Each box is read, then answered by a button id, by a button's text, or by the default.
struct AnswerCase {
    int defaultButton;
    bool queue;
    vt::ModalAnswer answer;
    int pressed;
};

void ReadAndAnswer(const BoxCase& box, const std::vector<AnswerCase>& cases)
{
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(std::string(box.mode) + " pressing " + std::to_string(c.pressed));
        Helper helper(box.mode);
        ASSERT_TRUE(helper.Started());
        vt::RemoteAnswerer answerer(helper.Id(), c.defaultButton);
        if (c.queue)
            answerer.Queue(c.answer);
        helper.Resume();
        EXPECT_EQ(c.pressed, helper.Result());
        ASSERT_EQ(1u, answerer.Count());
        vt::ModalSeen seen = answerer.Last();
        EXPECT_EQ("#32770", seen.className);
        EXPECT_EQ(box.caption, seen.caption);
        EXPECT_NE(std::string::npos, seen.text.find(box.text)) << seen.text;
        EXPECT_EQ(box.buttons, seen.buttons);
        EXPECT_EQ(c.pressed, seen.answer);
        EXPECT_EQ("", seen.error);
    }
}

TEST(RemoteAnswerer, ReadsAndAnswersAMessageBox)
{
    ReadAndAnswer(kMessageBox, {{IDOK, true, IDNO, IDNO}, {IDOK, true, "Cancel", IDCANCEL}, {IDYES, false, {}, IDYES}});
}

TEST(RemoteAnswerer, ReadsAndAnswersABoxWithItsTextInARichEdit)
{
    ReadAndAnswer(kRichBox, {{IDOK, true, IDYES, IDYES}, {IDOK, true, "No To All", 512}, {IDCANCEL, false, {}, IDCANCEL}});
}

TEST(RemoteAnswerer, ReadsAndAnswersADialog)
{
    ReadAndAnswer(kForm, {{IDOK, true, IDCANCEL, IDCANCEL},
                          {IDOK, true, "Apply Later", IDC_HELPER_LATER},
                          {IDOK, false, {}, IDOK}});
}

// Every kind of fill, on the dialog; the tab's page control exists but shows only on its tab.
vt::ModalAnswer FormAnswer()
{
    return vt::ModalAnswer(IDOK)
        .Type(IDC_HELPER_EDIT, "typed text")
        .Check(IDC_HELPER_CHECK)
        .Choose(IDC_HELPER_LIST_COMBO, "Beta")
        .Type(IDC_HELPER_EDIT_COMBO, "in the combo")
        .Choose(IDC_HELPER_LIST, "Three")
        .Tab("Details")
        .Type(IDC_HELPER_PAGE_EDIT, "on the page")
        .Click(IDC_HELPER_MENU)
        .Menu("Green");
}

void ExpectFormFilled(const std::map<std::string, std::string>& filled)
{
    EXPECT_EQ("typed text", filled.at("edit"));
    EXPECT_EQ("1", filled.at("check"));
    EXPECT_EQ("Beta", filled.at("combo"));
    EXPECT_EQ("in the combo", filled.at("combo-edit"));
    EXPECT_EQ("Three", filled.at("list"));
    EXPECT_EQ("1", filled.at("tab"));
    EXPECT_EQ("1", filled.at("page-shown"));
    EXPECT_EQ("on the page", filled.at("page-edit"));
    EXPECT_EQ("&Green\tCtrl+G", filled.at("menu"));
}

TEST(RemoteAnswerer, FillsTheDialogBeforePressingItsButton)
{
    Helper helper("form");
    ASSERT_TRUE(helper.Started());
    vt::RemoteAnswerer answerer(helper.Id());
    answerer.Queue(FormAnswer());
    helper.Resume();
    EXPECT_EQ(IDOK, helper.Result());
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("", answerer.Last().error);
    ExpectFormFilled(helper.Filled());
}

// A mouse press reaches the button that notes presses; the box a check box opens is
// answered from the queue before the dialog goes on to its own button.
TEST(RemoteAnswerer, PressesAndWaitsForTheBoxACheckBoxOpens)
{
    Helper helper("form");
    ASSERT_TRUE(helper.Started());
    vt::RemoteAnswerer answerer(helper.Id());
    answerer.Queue(vt::ModalAnswer(IDOK).MousePress(IDC_HELPER_PRESS).CheckOpening(IDC_HELPER_ASK).Type(
        IDC_HELPER_EDIT, "after the question"));
    answerer.Queue(vt::ModalAnswer(IDCANCEL));
    helper.Resume();
    EXPECT_EQ(IDOK, helper.Result());
    ASSERT_EQ(2u, answerer.Count());
    std::vector<vt::ModalSeen> seen = answerer.Seen();
    EXPECT_EQ("Helper Question", seen[0].caption);
    EXPECT_EQ("Helper Dialog", seen[1].caption);
    EXPECT_EQ("", seen[1].error);
    std::map<std::string, std::string> filled = helper.Filled();
    EXPECT_EQ("1", filled.at("pressed"));
    EXPECT_EQ(std::to_string(IDCANCEL), filled.at("asked"));
    EXPECT_EQ("after the question", filled.at("edit"));
    EXPECT_EQ("", filled.at("combo-edit"));
}

TEST(RemoteAnswerer, FillsAPropertySheetPageMadeWhenItsTabIsChosen)
{
    Helper helper("sheet");
    ASSERT_TRUE(helper.Started());
    vt::RemoteAnswerer answerer(helper.Id());
    answerer.Queue(vt::ModalAnswer(IDOK)
                       .Type(IDC_HELPER_SHEET1_EDIT, "first page")
                       .Tab("Second")
                       .Type(IDC_HELPER_SHEET2_EDIT, "second page")
                       .Check(IDC_HELPER_SHEET_CHECK));
    helper.Resume();
    EXPECT_EQ(IDOK, helper.Result());
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ("", answerer.Last().error);
    auto filled = helper.Filled();
    EXPECT_EQ("first page", filled["first"]);
    EXPECT_EQ("second page", filled["second"]);
    EXPECT_EQ("1", filled["verify"]);
}

TEST(RemoteAnswerer, TypesIntoTheFileDialogsNameBox)
{
    Helper helper("file");
    ASSERT_TRUE(helper.Started());
    std::string target = helper.Dir().File("chosen.txt");
    vt::RemoteAnswerer answerer(helper.Id());
    answerer.Queue(vt::ModalAnswer(IDOK).Type(vt::kFileNameBox, target));
    helper.Resume();
    EXPECT_EQ(IDOK, helper.Result());
    EXPECT_EQ("", answerer.Last().error);
    EXPECT_EQ(target, helper.Filled()["file"]);
}

TEST(RemoteAnswerer, AButtonTheBoxLacksIsReportedAndTheDefaultPressed)
{
    Helper helper("msgbox");
    ASSERT_TRUE(helper.Started());
    vt::RemoteAnswerer answerer(helper.Id(), IDNO);
    answerer.Queue(vt::ModalAnswer("Maybe"));
    helper.Resume();
    // The missing button is reported; the default answers in its place.
    EXPECT_EQ(IDNO, helper.Result());
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_NE(std::string::npos, answerer.Last().error.find("Maybe"));
}

TEST(ModalAnswerer, ReadsAndFillsTheSameBoxesInProcess)
{
    vt::ModalAnswerer answerer(IDOK);
    answerer.Queue("No To All");
    EXPECT_EQ(512, boxhelper::ShowRichBox());
    ASSERT_EQ(1u, answerer.Count());
    EXPECT_EQ(kRichBox.buttons, answerer.Last().buttons);
    EXPECT_NE(std::string::npos, answerer.Last().text.find(kRichBox.text));

    std::string values;
    answerer.Queue(FormAnswer());
    EXPECT_EQ(IDOK, boxhelper::ShowForm(&values));
    ASSERT_EQ(2u, answerer.Count());
    EXPECT_EQ("", answerer.Last().error);
    ExpectFormFilled(Values(values));
}

} // namespace
