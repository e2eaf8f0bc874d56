#include "tests/framework/frame_loader.h"
#include "tests/framework/frames/frames_fixture.h"
#include "framework/frameworkres.h"
#include "framework/frames/TWKControlBarInfo.h"
#include "framework/frames/TWKDialogBar.h"
#include <string>

namespace {

const UINT kBarID = 0xE750;
const char* const kProfile = "BarState\\DialogBarTest";

// A main frame whose command handling disables the bar's button.
class CDlgBarFrame : public vt::CTestMainFrame
{
public:
    int nUpdates = 0;
    afx_msg void OnUpdateGo(CCmdUI* pCmdUI)
    {
        nUpdates++;
        pCmdUI->Enable(FALSE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDlgBarFrame, vt::CTestMainFrame)
    ON_UPDATE_COMMAND_UI(IDC_TWK_TEST_DLGBAR_GO, OnUpdateGo)
END_MESSAGE_MAP()

struct DlgBarFrame {
    CDlgBarFrame* frame = new CDlgBarFrame;
    vt::MainFrame f{ Loaded(frame) };
    static vt::CTestMainFrame* Loaded(CDlgBarFrame* p)
    {
        if (!vt::LoadDockingFrame(p, vt::kTestFrameID))
            return nullptr;
        p->SetWindowPos(nullptr, 0, 0, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        return p;
    }
    TWKDialogBar* NewBar()
    {
        auto* pBar = new TWKDialogBar;
        pBar->m_bAutoDelete = TRUE;
        if (!pBar->Create(f.p, IDD_TWK_TEST_DIALOGBAR, WS_CHILD | WS_VISIBLE | CBRS_TOP, CBX_GRIPPER, kBarID)) {
            ADD_FAILURE() << "dialog bar not created";
            delete pBar;
            return nullptr;
        }
        pBar->EnableDocking(CBRS_ALIGN_ANY);
        return pBar;
    }
};

void DeleteProfile(const std::string& profile)
{
    CWinApp* pApp = AfxGetApp();
    pApp->WriteProfileString((profile + "-Summary").c_str(), nullptr, nullptr);
    for (int i = 0; i < 32; i++)
        pApp->WriteProfileString((profile + "-Bar" + std::to_string(i)).c_str(), nullptr, nullptr);
}

std::string ComboItem(CWnd* pBar, int i)
{
    char text[32] = {};
    pBar->SendDlgItemMessage(IDC_TWK_TEST_DLGBAR_COMBO, CB_GETLBTEXT, (WPARAM)i, (LPARAM)text);
    return text;
}

TEST(DialogBar, MadeFromATemplateWithItsDataSizeAndCommandState)
{
    DlgBarFrame w;
    ASSERT_NE(nullptr, w.f.p);
    TWKDialogBar* pBar = w.NewBar();
    ASSERT_NE(nullptr, pBar);
    EXPECT_EQ((int)kBarID, pBar->GetDlgCtrlID());
    EXPECT_EQ(pBar, w.f.p->GetControlBar(kBarID));
    EXPECT_EQ(0u, pBar->GetStyle() & WS_CAPTION);
    EXPECT_NE(0u, pBar->GetStyle() & WS_CLIPSIBLINGS);
    EXPECT_TRUE(pBar->IsWindowVisible());
    EXPECT_EQ((DWORD)CBRS_ALIGN_TOP, pBar->GetBarStyle() & CBRS_ALIGN_ANY);
    EXPECT_EQ((DWORD)CBX_GRIPPER, pBar->GetExBarStyle());
    // The dialog-init data filled the combo box.
    EXPECT_EQ(2, pBar->SendDlgItemMessage(IDC_TWK_TEST_DLGBAR_COMBO, CB_GETCOUNT));
    EXPECT_EQ("One", ComboItem(pBar, 0));
    EXPECT_EQ("Two", ComboItem(pBar, 1));

    // The default size is the dialog's, as the platform makes that dialog.
    CWnd plain;
    ASSERT_TRUE(AfxCreateDlgWnd(&plain, MAKEINTRESOURCEA(IDD_TWK_TEST_DIALOGBAR), w.f.p));
    CRect rcPlain;
    plain.GetWindowRect(&rcPlain);
    plain.DestroyWindow();
    EXPECT_EQ(rcPlain.Size(), pBar->m_sizeDefault);
    EXPECT_EQ(pBar->m_sizeDefault, pBar->m_sizeMRUFloat);
    EXPECT_EQ(pBar->m_sizeDefault, pBar->m_sizeMRUHorzDock);
    EXPECT_EQ(pBar->m_sizeDefault, pBar->m_sizeMRUVertDock);

    // Idle command updates reach the dialog's controls.
    CWnd* pGo = pBar->GetDlgItem(IDC_TWK_TEST_DLGBAR_GO);
    ASSERT_NE(nullptr, pGo);
    EXPECT_TRUE(pGo->IsWindowEnabled());
    w.f.p->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    EXPECT_GT(w.frame->nUpdates, 0);
    EXPECT_FALSE(pGo->IsWindowEnabled());

    // The record names the template; the control-site record is only kept.
    TWKControlBarInfo info;
    pBar->GetBarInfo(&info);
    EXPECT_EQ((UINT)IDD_TWK_TEST_DIALOGBAR, info.m_nResourceID);
    EXPECT_STREQ("TWKDialogBar", info.m_strClassName);
    int site = 0;
    EXPECT_TRUE(pBar->SetOccDialogInfo(&site));
    EXPECT_EQ(&site, pBar->m_pOccDialogInfo);
}

TEST(DialogBar, AMissingTemplateFailsButStaysRemembered)
{
    DlgBarFrame w;
    ASSERT_NE(nullptr, w.f.p);
    TWKDialogBar bar;
    EXPECT_FALSE(bar.Create(w.f.p, 0x7E4F, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0, kBarID));
    EXPECT_EQ(nullptr, bar.m_hWnd);
    EXPECT_EQ(MAKEINTRESOURCEA(0x7E4F), bar.m_lpszTemplateName);
    TWKControlBarInfo info;
    bar.GetBarInfo(&info);
    EXPECT_EQ(0x7E4Fu, info.m_nResourceID);
    // A template known by name has no id to save.
    EXPECT_FALSE(bar.Create(w.f.p, "NoSuchTemplate", WS_CHILD, 0, kBarID));
    bar.GetBarInfo(&info);
    EXPECT_EQ(0u, info.m_nResourceID);
}

TEST(DialogBar, ALoadedLayoutMakesTheBarAgainFromItsRecord)
{
    DeleteProfile(kProfile);
    {
        DlgBarFrame w;
        ASSERT_NE(nullptr, w.f.p);
        TWKDialogBar* pBar = w.NewBar();
        ASSERT_NE(nullptr, pBar);
        pBar->SetWindowText("Finder");
        w.f.p->DockControlBar(pBar, AFX_IDW_DOCKBAR_LEFT);
        w.f.p->RecalcLayout();
        w.f.p->SaveBarState(kProfile);

        // The record's section holds the class and the template.
        CWinApp* pApp = AfxGetApp();
        std::string section;
        for (int i = 0; i < 32 && section.empty(); i++) {
            std::string s = std::string(kProfile) + "-Bar" + std::to_string(i);
            if (pApp->GetProfileInt(s.c_str(), "BarID", 0) == (int)kBarID)
                section = s;
        }
        ASSERT_FALSE(section.empty());
        EXPECT_STREQ("TWKDialogBar", pApp->GetProfileString(section.c_str(), "ClassName"));
        EXPECT_EQ((int)IDD_TWK_TEST_DIALOGBAR, pApp->GetProfileInt(section.c_str(), "ResourceID", 0));

        // Gone from the frame, then back from the layout.
        pBar->DestroyWindow();
        w.f.p->RecalcLayout();
        ASSERT_EQ(nullptr, w.f.p->GetControlBar(kBarID));
        w.f.p->LoadBarState(kProfile);
        vt::PumpMessages();
        CControlBar* pAgain = w.f.p->GetControlBar(kBarID);
        ASSERT_NE(nullptr, pAgain);
        ASSERT_TRUE(pAgain->IsKindOf(RUNTIME_CLASS(TWKDialogBar)));
        auto* pDlgBar = static_cast<TWKDialogBar*>(pAgain);
        EXPECT_EQ(MAKEINTRESOURCEA(IDD_TWK_TEST_DIALOGBAR), pDlgBar->m_lpszTemplateName);
        EXPECT_EQ(2, pDlgBar->SendDlgItemMessage(IDC_TWK_TEST_DLGBAR_COMBO, CB_GETCOUNT));
        EXPECT_EQ(0u, pDlgBar->GetStyle() & WS_CAPTION);
        CString strText;
        pDlgBar->GetWindowText(strText);
        EXPECT_STREQ("Finder", strText);
        EXPECT_EQ(AFX_IDW_DOCKBAR_LEFT, (UINT)pDlgBar->m_pDockBar->GetDlgCtrlID());
        EXPECT_TRUE(pDlgBar->IsWindowVisible());
    }
    DeleteProfile(kProfile);
}

} // namespace
