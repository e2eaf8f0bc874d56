// The system-command extension: moving a document view between an MDI child
// frame, a docked frame and a floating one. Requests travel as the registered
// message "Tarnwick::WM_SYSCOMMANDEX", sent to the frame whose view moves, with
// a record on the sender's stack; ScxMsgFilter carries them out, and the other
// filters turn caption clicks into requests.
#pragma once
#include "framework/frames/TWKCaptionMsgFilter.h"
#include "framework/frames/TWKDockBar.h"
#include <cstddef>

class TWKMultiDocTemplate;

namespace nsSysCommandEx {

// The registered message; registered with the platform on first use.
UINT GetSysCommandExMessage();

// Command codes (wParam AND 0xFFF0).
enum {
    SCX_CHANGESTATE = 0xC000,   // change the view's state to the record's new state
    SCX_BUILDMENU = 0xC010,     // build the state menu into the record
    SCX_DROPMENU = 0xC020       // drop the state menu at the record's point and carry out the choice
};

// Record flags.
enum {
    SCXF_POS = 0x1,    // x, y valid (and, docking, the position pointer)
    SCXF_SIZE = 0x2    // cx, cy valid (and, docking, the size pointer)
};

// View states; the menu's command ids are the same values.
enum {
    SCXS_TOGGLE = -1,
    SCXS_NONE = 0,
    SCXS_MDICHILD = 1,
    SCXS_MINIMIZED = 2,
    SCXS_MAXIMIZED = 3,
    SCXS_RESTORED = 4,
    SCXS_DOCKED = 5,
    SCXS_LEFT = 6,
    SCXS_TOP = 7,
    SCXS_RIGHT = 8,
    SCXS_BOTTOM = 9,
    SCXS_FLOATING = 10
};

// A request; the sender zeroes it before setting fields.
struct SCXREQUEST
{
    HWND hWnd;            // the frame whose view moves; the request is sent to it
    DWORD dwFlags;        // SCXF_*
    int x, y;             // screen point: the menu's place (x below 0: the client centre), or the new left-top
    int cx, cy;           // new frame size with SCXF_SIZE
    RECT rcButton;        // screen rectangle of the caption button that sent it, else empty
    HMENU hMenu;          // the state menu
    int nNewState;        // SCXS_*; -1 toggles
    TWKDockPos* pPos;     // docking with SCXF_POS
    TWKDockSize* pSize;   // docking with SCXF_SIZE
};
static_assert(offsetof(SCXREQUEST, x) == sizeof(HWND) + 4, "request layout");
static_assert(offsetof(SCXREQUEST, rcButton) == sizeof(HWND) + 20, "request layout");
static_assert(sizeof(void*) != 4 || sizeof(SCXREQUEST) == 56, "request layout");

// Sends a request with the code; the frame's answer (the record's result value).
LRESULT SendRequest(UINT nCode, SCXREQUEST& request);

// Carries out the requests that reach a frame.
class ScxMsgFilter : public TWKMsgFilter
{
    DECLARE_DYNCREATE(ScxMsgFilter)
public:
    ScxMsgFilter() = default;
    TWKMsgFilter* Clone() const override { return new ScxMsgFilter(*this); }

    BOOL m_bIsCopy = FALSE;   // the copy that carries out a command

    DWORD OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    virtual DWORD OnDropMenu(SCXREQUEST* pRequest, LRESULT* pResult);
    virtual DWORD OnBuildMenu(SCXREQUEST* pRequest, LRESULT* pResult);
    virtual DWORD OnChangeState(SCXREQUEST* pRequest, LRESULT* pResult);
    virtual HMENU GetStateMenu(SCXREQUEST* pRequest);
    // The chosen state, 0 when none.
    virtual int TrackStateMenu(HMENU hMenu, SCXREQUEST* pRequest);
    virtual BOOL RequestState(int nState, SCXREQUEST* pRequest);
    // The caller owns the menu.
    virtual HMENU BuildStateMenu(CFrameWnd* pFrame, int nState, SCXREQUEST* pRequest);
    virtual HMENU CreateStateMenu(SCXREQUEST* pRequest);
    // Each answers the view's frame after the move, or NULL.
    virtual CFrameWnd* MakeMDIChild(CFrameWnd* pFrame, int nCurrent, int nTarget, TWKMultiDocTemplate* pTemplate,
                                    SCXREQUEST* pRequest);
    virtual CFrameWnd* MakeDocked(CFrameWnd* pFrame, int nCurrent, int nTarget, TWKMultiDocTemplate* pTemplate,
                                  SCXREQUEST* pRequest);
    virtual CFrameWnd* MakeFloating(CFrameWnd* pFrame, int nCurrent, int nTarget, TWKMultiDocTemplate* pTemplate,
                                    SCXREQUEST* pRequest);
    virtual CFrameWnd* ToggleFrameDocking(CFrameWnd* pFrame, TWKMultiDocTemplate* pTemplate, SCXREQUEST* pRequest);
    virtual void ToggleBarDocking(CFrameWnd* pFrame, TWKMultiDocTemplate* pTemplate, SCXREQUEST* pRequest);
    virtual CFrameWnd* DockFrameAt(CFrameWnd* pFrame, UINT nDockBarID, TWKDockPos* pPos, TWKDockSize* pSize,
                                   TWKMultiDocTemplate* pTemplate, SCXREQUEST* pRequest);
    // 1 for the MDI-child states, 5 for the docked ones, 10 floating, else 0.
    virtual int GetStateClass(int nState);
    virtual int GetToggleState(CFrameWnd* pFrame, int nState, SCXREQUEST* pRequest);
    virtual int GetFrameState(CFrameWnd* pFrame, TWKMultiDocTemplate* pTemplate, SCXREQUEST* pRequest);
    // The first template holding the frame's document (of the class, when given).
    virtual CDocTemplate* FindDocTemplate(SCXREQUEST* pRequest, CRuntimeClass* pClass);
    virtual BOOL IsCopiedCommand(UINT nCode, SCXREQUEST* pRequest);
};

// The extra caption button: a click toggles, a hold or a right press drops the state menu.
class ScxButtonMsgFilter : public TWKCaptionControlMsgFilter
{
    DECLARE_DYNCREATE(ScxButtonMsgFilter)
public:
    enum { defaultID = 5120, holdDelay = 400 };
    ScxButtonMsgFilter();
    TWKMsgFilter* Clone() const override { return new ScxButtonMsgFilter(*this); }

    DWORD OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void Draw() override;
    // Sends the request with a record on this stack: the move may delete this button.
    void FireCommand(int nKind, int x, int y) override;
    // The target window (also the record's window), the message and the code; lParam is unused.
    BOOL GetCommandMessage(int nKind, int x, int y, HWND* pWnd, UINT* pMessage, WPARAM* pWParam,
                           LPARAM* pLParam) override;
    BOOL IsVisible(BOOL* pInactive) override;

    // The button's face and diamond in a rectangle of a device context.
    static void DrawButton(HDC hdc, const RECT& rect, BOOL bPushed, BOOL bDockableOwner);
};

// A child frame's button: the MDI frame's takes over while the child is maximized.
class ScxButtonMDIChildMsgFilter : public ScxButtonMsgFilter
{
    DECLARE_DYNCREATE(ScxButtonMDIChildMsgFilter)
public:
    ScxButtonMDIChildMsgFilter() = default;
    TWKMsgFilter* Clone() const override { return new ScxButtonMDIChildMsgFilter(*this); }
    DWORD OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL IsVisible(BOOL* pInactive) override;
};

// The MDI frame's button in the menu-bar row, acting for the maximized child.
class ScxButtonMDIMaxChildMsgFilter : public ScxButtonMsgFilter
{
    DECLARE_DYNCREATE(ScxButtonMDIMaxChildMsgFilter)
public:
    ScxButtonMDIMaxChildMsgFilter() = default;
    TWKMsgFilter* Clone() const override { return new ScxButtonMDIMaxChildMsgFilter(*this); }
    DWORD OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    BOOL GetCommandMessage(int nKind, int x, int y, HWND* pWnd, UINT* pMessage, WPARAM* pWParam,
                           LPARAM* pLParam) override;
    BOOL IsVisible(BOOL* pInactive) override;
    virtual CMDIChildWnd* GetMaximizedChild();
};

// A right double click on the caption toggles the view.
class ScxCaptionNCRDBLClkFilter : public TWKCaptionMsgFilter
{
    DECLARE_DYNCREATE(ScxCaptionNCRDBLClkFilter)
public:
    ScxCaptionNCRDBLClkFilter() = default;
    TWKMsgFilter* Clone() const override { return new ScxCaptionNCRDBLClkFilter(*this); }
    DWORD OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// The same on the MDI frame's menu row, for a maximized child.
class ScxNCRDBLClkMDIMaxChildMsgFilter : public TWKNcMsgFilter
{
    DECLARE_DYNCREATE(ScxNCRDBLClkMDIMaxChildMsgFilter)
public:
    ScxNCRDBLClkMDIMaxChildMsgFilter() = default;
    TWKMsgFilter* Clone() const override { return new ScxNCRDBLClkMDIMaxChildMsgFilter(*this); }
    DWORD OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// A right click on the caption drops the state menu.
class ScxContextMenuFilter : public TWKMsgFilter
{
    DECLARE_DYNCREATE(ScxContextMenuFilter)
public:
    ScxContextMenuFilter() = default;
    TWKMsgFilter* Clone() const override { return new ScxContextMenuFilter(*this); }
    DWORD OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

} // namespace nsSysCommandEx
