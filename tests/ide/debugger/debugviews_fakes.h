// A scripted ICE for the debugger's windows, and the gestures the tests use on them: the ICE manager's operations and
// the ICE's call-stack, watch and listing interfaces, recording what is asked.
#pragma once
#include "afx/afx.h"
#include "components/include/IceInterface.h"
#include "ide/debugger/IDEIceUIMgr.h"
#include "ide/debugger/ZIceMgr.h"
#include "ide/workbench/AsmIDE.h"
#include "ide/workbench/MainFrm.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace vt {

struct FakeCallStack final : I_IceCallStack {
    void Reserved0() override {}
    void Reserved1() override {}
    void Reserved2() override {}
    void Reserved6() override {}
    int GetContext(int frame, DWORD* c, DWORD* d) override
    {
        asked += "ctx" + std::to_string(frame) + " ";
        *c = 100 + frame, *d = 0;
        return frame < (int)lines.size() ? 0 : -1;
    }
    int GetTopFrame(int, DWORD* a, DWORD* b) override
    {
        asked += "top ";
        *a = 0, *b = 0x10;
        return lines.empty() ? -1 : 0;
    }
    int GetFrame(int index, DWORD* a, DWORD* b) override
    {
        asked += "frame" + std::to_string(index) + " ";
        *a = 0, *b = 0x20 + index;
        return index + 1 < (int)lines.size() ? 0 : -1;
    }
    int StartLines() override
    {
        next = 0;
        return 0;
    }
    int GetNextLine(const char** text) override
    {
        if (next >= lines.size())
            return -1;
        *text = lines[next++].c_str();
        return 0;
    }
    std::vector<std::string> lines;
    size_t next = 0;
    std::string asked;
};

struct FakeWatch final : I_IceWatch {
    void Reserved0() override {}
    void Reserved1() override {}
    void Reserved2() override {}
    int SetContext(DWORD a, DWORD b, DWORD c, DWORD d) override
    {
        contexts.push_back({ a, b, c, d });
        return 0;
    }
    int Add(const char*, DWORD*) override { return -1; }
    int Check(ICE_WATCH_NODE, DWORD*, DWORD*) override { return -1; }
    int GetKind(DWORD, int*, DWORD*) override { return -1; }
    int GetText(ICE_WATCH_NODE, int, const char**, const char**) override { return -1; }
    void Reserved8() override {}
    int SetText(ICE_WATCH_NODE, const char*) override { return -1; }
    void Reserved10() override {}
    ICE_WATCH_NODE GetRoot(DWORD) override { return nullptr; }
    int GetMemberCount(ICE_WATCH_NODE, int*) override { return -1; }
    int GetMember(ICE_WATCH_NODE, int, const char**, ICE_WATCH_NODE*) override { return -1; }
    int IsClosed(ICE_WATCH_NODE) override { return 1; }
    void Reserved15() override {}
    int IsReadOnly(ICE_WATCH_NODE) override { return 1; }
    void Reserved17() override {}
    int Release(DWORD) override { return 0; }
    std::vector<std::vector<DWORD>> contexts;
};

struct FakeDisAsm final : I_IceDisAsm {
    void Reserved0() override {}
    void Reserved1() override {}
    void Reserved2() override {}
    void Reserved3() override {}
    void Reserved4() override {}
    void Reserved5() override {}
    int StartRanges() override
    {
        next = 0;
        return 0;
    }
    int GetNextRange(int* first, int* last, int* kind) override
    {
        if (next >= ranges.size())
            return -1;
        *first = ranges[next][0], *last = ranges[next][1], *kind = ranges[next][2];
        next++;
        return 0;
    }
    int ListingToSource(int, char*, int*) override { return -1; }
    int GetLineKind(int, int* kind) override
    {
        *kind = ICE_LINE_INSTRUCTION;
        return 0;
    }
    std::vector<std::vector<int>> ranges;
    size_t next = 0;
};

struct FakeIce final : I_ZIceMgr {
    BOOL GetPCAddress(DWORD* a, DWORD* b) override
    {
        calls += "pc ";
        *a = 0, *b = 0x10;
        return TRUE;
    }
    BOOL AddressToSource(DWORD, DWORD, int size, char* path, int* line) override
    {
        if (source.empty())
            return FALSE;
        lstrcpynA(path, source.c_str(), size);
        *line = sourceLine;
        return TRUE;
    }
    BOOL SourceToAddress(const char*, int, DWORD*, DWORD*) override { return FALSE; }
    BOOL AddressToListing(DWORD, DWORD, char* path, int* line, int* reload) override
    {
        if (listing.empty())
            return FALSE;
        lstrcpynA(path, listing.c_str(), ICE_PATH_SIZE);
        *line = listingLine, *reload = 0;
        return TRUE;
    }
    BOOL GetPCListingLine(char* path, int* line, int* reload) override
    {
        requests.push_back(*reload);
        lstrcpynA(path, listing.c_str(), ICE_PATH_SIZE);
        *line = listingLine, *reload = 0;
        return TRUE;
    }
    BOOL UpdateDisAsmListing(DWORD, DWORD) override { return FALSE; }
    BOOL SetSourceLevelStep(BOOL bSource) override
    {
        calls += bSource ? "source-step " : "instruction-step ";
        return TRUE;
    }
    BOOL EditBreakpoints() override { return FALSE; }
    BOOL GetHistoryText(char** text) override
    {
        *text = const_cast<char*>(history.c_str());
        return TRUE;
    }
    void ClearHistory() override { calls += "clear "; }
    const char* GetDownloadedFile() override { return ""; }
    BOOL IsBusy() override { return busy; }
    BOOL WriteMemory(int, int, int, int) override { return FALSE; }
    BOOL ReadMemory(DWORD, DWORD, void*) override { return FALSE; }
    BOOL IsHistoryAvailable() override { return history200 || historyAvailable; }
    BOOL IsStatus200() override { return history200; }
    BOOL SupportsCallStack() override { return callStack; }
    BOOL IsCallStackAllowed() override { return callStackAllowed; }
    BOOL GetInterface(DWORD id, void** out) override
    {
        *out = id == ICE_IID_CALL_STACK ? (void*)&stack : id == ICE_IID_WATCH ? (void*)&watch
                                                          : id == ICE_IID_DISASM ? (void*)&disasm : nullptr;
        return *out != nullptr;
    }

    BOOL busy = FALSE, historyAvailable = TRUE, history200 = FALSE, callStack = TRUE, callStackAllowed = TRUE;
    std::string source, listing, history;
    int sourceLine = 1, listingLine = 1;
    std::vector<int> requests;
    std::string calls;
    FakeCallStack stack;
    FakeWatch watch;
    FakeDisAsm disasm;
};

// The frame becomes the application's main window, with the document templates; its manager.
inline C_IDEIceUIMgr* UseAsMainWindow(CMainFrame* pFrame)
{
    auto* pApp = dynamic_cast<CAsmIDEApp*>(AfxGetApp());
    if (!pApp->FindDocTemplate("DisAsm"))
        pApp->RegisterDocTemplates();
    pApp->m_pMainWnd = pFrame;
    return dynamic_cast<C_IDEIceUIMgr*>(pFrame->GetIceUIMgr());
}

// A bar shown in the frame's layout.
inline void ShowBar(CFrameWnd* pFrame, CControlBar* pBar)
{
    pFrame->ShowControlBar(pBar, TRUE, FALSE);
    pFrame->RecalcLayout();
    PumpMessages();
}

// A click and a double click at a client point, as the mouse sends them.
inline void DoubleClick(CWnd* pWnd, int x, int y)
{
    LPARAM at = MAKELPARAM(x, y);
    pWnd->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    pWnd->SendMessage(WM_LBUTTONUP, 0, at);
    pWnd->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    pWnd->SendMessage(WM_LBUTTONUP, 0, at);
}

} // namespace vt
