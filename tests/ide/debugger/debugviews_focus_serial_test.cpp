// Focus between the debug bars and the document windows (process-wide: run alone).
#include <gtest/gtest.h>
#include "ide/debugger/IDEDisAsmView.h"
#include "ide/debugger/IDEIceMgr.h"
#include "ide/debugger/IDEIceUIMgr.h"
#include "ide/workbench/AsmIDE.h"
#include "tests/ide/debugger/debugviews_fakes.h"
#include "tests/ide/workbench/mainframe_fixture.h"

namespace {

TEST(DebugBarFocus, EscapeInTheHistoryGivesTheFocusBackToTheDocument)
{
    auto* app = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    vt::MainFrame frame;
    ASSERT_TRUE(frame.p);
    auto* ui = vt::UseAsMainWindow(frame.p);
    vt::FakeIce ice;
    ui->SetIceMgr(&ice);
    vt::TempDir dir;
    ice.listing = dir.Write("focus.dis", "00:0010        1005     LDI A, 5\r\n");
    ui->OpenListing(ice.listing.c_str());
    C_IDEDisAsmView* view = ui->GetDisAsmView();
    ASSERT_TRUE(view);
    frame.p->ShowControlBar(ui->GetHistoryBar(), TRUE, FALSE);
    frame.p->RecalcLayout();
    ::SetForegroundWindow(frame.hWnd);
    vt::PumpMessages();

    C_IDEIceHistoryEdit* history = ui->GetHistoryBar()->GetEdit();
    history->SetFocus();
    ASSERT_EQ(history->m_hWnd, ::GetFocus());
    history->SendMessage(WM_KEYDOWN, VK_ESCAPE);
    vt::PumpMessages();
    EXPECT_EQ(view->GetListing().m_hWnd, ::GetFocus());
    // Another key stays the rich edit's.
    history->SetFocus();
    history->SendMessage(WM_KEYDOWN, VK_DOWN);
    vt::PumpMessages();
    EXPECT_EQ(history->m_hWnd, ::GetFocus());

    ui->SetIceMgr(frame.p->GetIceMgr());
    app->CloseAllDocuments(TRUE);
    vt::PumpMessages();
    app->m_pMainWnd = nullptr;
}

} // namespace
