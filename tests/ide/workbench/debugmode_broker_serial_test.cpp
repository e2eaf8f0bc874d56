// Another program's request to open a project reaches the frame through the support library's
// broker (its shared request table and message): the project path or, when that is empty, the
// file path opens; an empty request opens nothing. Alone: the broker's table is machine-wide.
#include "tests/ide/workbench/mainframe_fixture.h"
#include "tests/harness/sample_copy.h"
#include "support/system/ApplicationBroker.h"

namespace {

TEST(BrokerRequest, ThePathOfEitherFieldOpensTheProject)
{
    vt::ModalAnswerer answerer(IDNO);
    vt::SampleCopy sample;
    vt::MainFrame frame;
    ASSERT_TRUE(frame.p);
    ASSERT_TRUE(frame.p->InitProjectManager());
    // The broker finds its target by the first 62 characters of a window title.
    std::string title = "VtDebugFrame " + std::to_string(::GetCurrentProcessId());
    frame.p->SetWindowText(title.c_str());
    // A program of the system's to name; the request is only posted, nothing is started.
    C_ApplicationBroker sender;
    ASSERT_TRUE(sender.AddApplication("notepad.exe", title.c_str(), AP_KIND_TABLE, 0));

    struct Case {
        const char* name;
        bool bProjectField;
        bool bFileField;
        bool bOpens;
    };
    const Case kCases[] = { { "project path", true, false, true },
                            { "file path only", false, true, true },
                            { "both", true, true, true },
                            { "empty", false, false, false } };
    for (const Case& c : kCases) {
        if (frame.p->m_bProjectOpen)
            ASSERT_TRUE(frame.p->CloseProject(FALSE));
        frame.p->SetWindowText(title.c_str());
        tagApBrokerRequest request = {};
        lstrcpynA(request.targetName, title.c_str(), sizeof request.targetName);
        lstrcpynA(request.senderName, "Kelbray IDE test", sizeof request.senderName);
        if (c.bProjectField)
            lstrcpynA(request.projectPath, sample.Project().c_str(), sizeof request.projectPath);
        if (c.bFileField)
            lstrcpynA(request.filePath, sample.Project().c_str(), sizeof request.filePath);
        ASSERT_TRUE(sender.Open(&request, AP_OPEN_POST_ONLY)) << c.name;
        vt::PumpMessages();
        EXPECT_EQ(c.bOpens, frame.p->m_bProjectOpen != FALSE) << c.name;
        if (c.bOpens)
            EXPECT_STREQ(sample.Project().c_str(), frame.p->m_strProjectPath) << c.name;
    }
    EXPECT_EQ(0u, answerer.Count()) << answerer.Last().text;
}

} // namespace
