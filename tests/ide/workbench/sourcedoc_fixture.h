// A main frame with the application's templates, and source documents
// opened in it as the user opens them: real MDI children and views.
#pragma once
#include "tests/ide/workbench/mainframe_fixture.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/AsmIDEDoc.h"
#include "ide/workbench/IDEEditorView.h"

namespace vt {

inline CAsmIDEApp* IdeApp()
{
    return static_cast<CAsmIDEApp*>(AfxGetApp());
}

class SourceFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(frame.p);
        IdeApp()->m_pMainWnd = frame.p;
        if (!g_pTextTemplate)
            IdeApp()->RegisterDocTemplates();
    }
    void TearDown() override
    {
        answerer.SetDefault(IDNO);
        IdeApp()->CloseAllDocuments(FALSE);
        PumpMessages();
        IdeApp()->m_pMainWnd = nullptr;
    }
    CAsmIDEDoc* Open(const std::string& path)
    {
        auto* pDoc = dynamic_cast<CAsmIDEDoc*>(IdeApp()->OpenNewDocument("Text", path.c_str()));
        PumpMessages();
        return pDoc;
    }
    CAsmIDEDoc* New()
    {
        auto* pDoc = dynamic_cast<CAsmIDEDoc*>(IdeApp()->OpenNewDocument("Text", nullptr));
        PumpMessages();
        return pDoc;
    }
    static C_IDEEditorView* ViewOf(CDocument* pDoc)
    {
        POSITION pos = pDoc ? pDoc->GetFirstViewPosition() : nullptr;
        return pos ? dynamic_cast<C_IDEEditorView*>(pDoc->GetNextView(pos)) : nullptr;
    }
    static void Type(CWnd* pView, const char* text)
    {
        for (const char* p = text; *p; p++)
            pView->SendMessage(WM_CHAR, (WPARAM)(BYTE)*p, 1);
    }

    ModalAnswerer answerer{IDNO};
    TempDir dir;
    MainFrame frame;
};

} // namespace vt
