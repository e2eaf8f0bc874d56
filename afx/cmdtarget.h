// Command targets, message maps and command-update objects.
//
// Each class with a map has a static, constant table of entries chained to
// its base class's table. An entry's handler is a small function template
// instantiated for the member function named in the map, so a handler with
// the wrong signature does not compile.
#pragma once
#include <windows.h>
#include <type_traits>
#include "afx/object.h"
#include "afx/string.h"

class CCmdTarget;
class CCmdUI;

// True when p is NULL, in a way the optimiser cannot fold away for `this`
// (GetSafeHwnd and friends are called through NULL pointers by design).
inline bool AfxIsNullThis(const void* p)
{
    asm("" : "+r"(p));
    return p == nullptr;
}

class CWnd;
class CMenu;
class CDC;
class CScrollBar;
struct AFX_MSGMAP_ENTRY;

// Command codes passed to OnCmdMsg.
#define CN_COMMAND              0
#define CN_UPDATE_COMMAND_UI    ((UINT)(-1))

// Reflected messages are looked up as WM_REFLECT_BASE + the original message.
#define WM_REFLECT_BASE         0xBC00

// Framework messages with fixed numbers.
#define WM_SETMESSAGESTRING     0x0362
#define WM_IDLEUPDATECMDUI      0x0363
#define WM_INITIALUPDATE        0x0364
// Help for the current context: lParam the help context, 0 for the frame to
// work it out (the tracked menu item, else its own). TRUE when handled.
#define WM_COMMANDHELP          0x0365
#define WM_SIZEPARENT           0x0361

// What OnCmdMsg passes along for a WM_NOTIFY (as its pExtra).
struct AFX_NOTIFY
{
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Filled by OnCmdMsg when asked only whether a handler exists.
struct AFX_CMDHANDLERINFO
{
    CCmdTarget* pTarget;
    const AFX_MSGMAP_ENTRY* pEntry;
};

// Everything a handler thunk may need from the message being dispatched.
struct AFX_MSG_ARGS
{
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT* pResult;     // window messages and notifications
    UINT nID;             // commands: the command id
    void* pExtra;         // CCmdUI* for updates, AFX_NOTIFY* for notifications
};

// Runs the handler; returns whether the message counts as handled (the
// "EX" forms let the handler decide).
typedef BOOL (*AFX_MSG_THUNK)(CCmdTarget* pTarget, const AFX_MSGMAP_ENTRY* pEntry, AFX_MSG_ARGS& args);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;              // window message, WM_COMMAND, WM_NOTIFY or reflected
    UINT nCode;                 // control notification or command code
    UINT nID;                   // first control/command id
    UINT nLastID;               // last id of a range (== nID otherwise)
    const UINT* pnRegistered;   // registered message: its id, read at dispatch time
    AFX_MSG_THUNK pfn;          // NULL ends the table
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Finds the first entry of the chain for (message, code, id); NULL when none.
// Plain window messages (code 0, id 0) are cached per (map, message).
const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID);

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

    // nCode: CN_COMMAND (or a control notification), CN_UPDATE_COMMAND_UI
    // (pExtra is the CCmdUI*), or MAKELONG(notify code, WM_NOTIFY) (pExtra is
    // an AFX_NOTIFY*). With pHandlerInfo only asks whether a handler exists
    // and fills it in; nothing runs.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // Wait cursor while a long operation runs (nests).
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

    // Runs the map entry for (nMessage, nCode, nID) of this object's map, if any.
    BOOL DispatchMapEntry(UINT nMessage, UINT nCode, UINT nID, AFX_MSG_ARGS& args);

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// Brief wait cursor over a scope.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore();
};

// Carries an update request for one menu item, control or button.
class CCmdUI
{
public:
    CCmdUI();
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;           // menu item position or bar index
    CMenu* m_pMenu = nullptr;    // the menu holding the item (NULL: not a menu)
    CMenu* m_pSubMenu = nullptr; // the popup the item opens, if any
    CMenu* m_pParentMenu = nullptr;
    CWnd* m_pOther = nullptr;    // a control or bar (NULL: a menu item)
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;
    UINT m_nIndexMax = 0;        // number of items being updated

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);   // 0 off, 1 on, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR lpszText);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Routes the request to pTarget; disables the item when nobody handles
    // the update and no command handler exists (bDisableIfNoHandler).
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler);
};

// The radio-item dot shown as a menu item's check mark by SetRadio. The layer
// owns the default; a replacement set here is used from then on (not owned).
HBITMAP AfxGetRadioDotBitmap();
void AfxSetRadioDotBitmap(HBITMAP hbm);

// ---------------------------------------------------------------------------
// Handler thunks.

template <class F> struct AfxMemFn;
template <class C, class R, class... A> struct AfxMemFn<R (C::*)(A...)>
{
    using Class = C;
    using Sig = R(A...);
};

// Checks the handler's signature, then lets Cracker unpack the message.
template <class T, auto PMF, class Cracker>
BOOL AfxMsgThunk(CCmdTarget* pTarget, const AFX_MSGMAP_ENTRY* pEntry, AFX_MSG_ARGS& a)
{
    static_assert(std::is_same<typename AfxMemFn<decltype(PMF)>::Sig, typename Cracker::Sig>::value,
                  "message-map handler has the wrong signature for its entry");
    return Cracker::Call(static_cast<T*>(pTarget), PMF, pEntry, a);
}

#define AFX_THUNK(cracker, memberFxn) \
    &AfxMsgThunk<ThisClass, &ThisClass::memberFxn, cracker>

namespace afxcrack {
struct Cmd {            // void f()
    using Sig = void();
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS&)
    { (p->*f)(); return TRUE; }
};
struct CmdRange {       // void f(UINT id)
    using Sig = void(UINT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)(a.nID); return TRUE; }
};
struct CmdEx {          // BOOL f(UINT id): FALSE lets routing go on
    using Sig = BOOL(UINT);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { return (p->*f)(a.nID); }
};
struct UpdateUI {       // void f(CCmdUI*)
    using Sig = void(CCmdUI*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { (p->*f)(static_cast<CCmdUI*>(a.pExtra)); return TRUE; }
};
struct Notify {         // void f(NMHDR*, LRESULT*)
    using Sig = void(NMHDR*, LRESULT*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { auto* n = static_cast<AFX_NOTIFY*>(a.pExtra); (p->*f)(n->pNMHDR, n->pResult); return TRUE; }
};
struct NotifyEx {       // BOOL f(NMHDR*, LRESULT*)
    using Sig = BOOL(NMHDR*, LRESULT*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { auto* n = static_cast<AFX_NOTIFY*>(a.pExtra); return (p->*f)(n->pNMHDR, n->pResult); }
};
struct NotifyRange {    // void f(UINT id, NMHDR*, LRESULT*)
    using Sig = void(UINT, NMHDR*, LRESULT*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { auto* n = static_cast<AFX_NOTIFY*>(a.pExtra); (p->*f)(a.nID, n->pNMHDR, n->pResult); return TRUE; }
};
struct NotifyRangeEx {  // BOOL f(UINT id, NMHDR*, LRESULT*)
    using Sig = BOOL(UINT, NMHDR*, LRESULT*);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { auto* n = static_cast<AFX_NOTIFY*>(a.pExtra); return (p->*f)(a.nID, n->pNMHDR, n->pResult); }
};
struct ReflectEx {      // BOOL f(): FALSE lets the parent see the notification too
    using Sig = BOOL();
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS&)
    { return (p->*f)(); }
};
struct Message {        // LRESULT f(WPARAM, LPARAM)
    using Sig = LRESULT(WPARAM, LPARAM);
    template <class T, class F> static BOOL Call(T* p, F f, const AFX_MSGMAP_ENTRY*, AFX_MSG_ARGS& a)
    { *a.pResult = (p->*f)(a.wParam, a.lParam); return TRUE; }
};
} // namespace afxcrack

// ---------------------------------------------------------------------------
// Map declaration.

#define DECLARE_MESSAGE_MAP()                                           \
public:                                                                 \
    static const AFX_MSGMAP* GetThisMessageMap();                       \
    const AFX_MSGMAP* GetMessageMap() const override;                   \
protected:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                          \
    const AFX_MSGMAP* theClass::GetMessageMap() const                   \
        { return GetThisMessageMap(); }                                 \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                     \
    {                                                                   \
        typedef theClass ThisClass;                                     \
        typedef baseClass TheBaseClass;                                 \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                               \
            { 0, 0, 0, 0, nullptr, nullptr }                            \
        };                                                              \
        static const AFX_MSGMAP messageMap =                            \
            { &TheBaseClass::GetThisMessageMap, &_messageEntries[0] };  \
        return &messageMap;                                             \
    }

// Commands and update requests.
#define ON_COMMAND(id, memberFxn) \
    { WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, AFX_THUNK(afxcrack::Cmd, memberFxn) },
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    { WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), nullptr, AFX_THUNK(afxcrack::CmdRange, memberFxn) },
#define ON_COMMAND_EX(id, memberFxn) \
    { WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id), nullptr, AFX_THUNK(afxcrack::CmdEx, memberFxn) },
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
    { WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(idLast), nullptr, AFX_THUNK(afxcrack::CmdEx, memberFxn) },
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    { WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(id), nullptr, AFX_THUNK(afxcrack::UpdateUI, memberFxn) },
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    { WM_COMMAND, CN_UPDATE_COMMAND_UI, (UINT)(id), (UINT)(idLast), nullptr, AFX_THUNK(afxcrack::UpdateUI, memberFxn) },

// Control notifications (WM_COMMAND with a notification code).
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    { WM_COMMAND, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr, AFX_THUNK(afxcrack::Cmd, memberFxn) },
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    { WM_COMMAND, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr, AFX_THUNK(afxcrack::CmdRange, memberFxn) },
#define ON_BN_CLICKED(id, memberFxn)        ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn)  ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn)         ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn)         ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn)       ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn)      ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn)     ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn)    ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn)      ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn)      ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn)       ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn)     ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn)     ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn)        ON_CONTROL(LBN_DBLCLK, id, memberFxn)
// The check-list box's "check changed" notification.
#define CLBN_CHKCHANGE                      40
#define ON_CLBN_CHKCHANGE(id, memberFxn)    ON_CONTROL(CLBN_CHKCHANGE, id, memberFxn)

// WM_NOTIFY.
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    { WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr, AFX_THUNK(afxcrack::Notify, memberFxn) },
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn) \
    { WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr, AFX_THUNK(afxcrack::NotifyRange, memberFxn) },
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn) \
    { WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr, AFX_THUNK(afxcrack::NotifyRangeEx, memberFxn) },
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, memberFxn) \
    { WM_NOTIFY, (UINT)(WORD)(wNotifyCode), (UINT)(id), (UINT)(idLast), nullptr, AFX_THUNK(afxcrack::NotifyRangeEx, memberFxn) },

// Reflection: the control's own object handles what its parent received.
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
    { WM_REFLECT_BASE + WM_COMMAND, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr, AFX_THUNK(afxcrack::Cmd, memberFxn) },
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
    { WM_REFLECT_BASE + WM_COMMAND, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr, AFX_THUNK(afxcrack::ReflectEx, memberFxn) },
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn) \
    { WM_REFLECT_BASE + WM_NOTIFY, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr, AFX_THUNK(afxcrack::Notify, memberFxn) },
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn) \
    { WM_REFLECT_BASE + WM_NOTIFY, (UINT)(WORD)(wNotifyCode), 0, 0, nullptr, AFX_THUNK(afxcrack::NotifyEx, memberFxn) },

// Any message by number: LRESULT f(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) \
    { (UINT)(message), 0, 0, 0, nullptr, AFX_THUNK(afxcrack::Message, memberFxn) },
// nMessageVariable is a UINT holding a RegisterWindowMessage id; it is read
// when a message arrives, so its initialisation order does not matter.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    { 0xC000, 0, 0, 0, &(nMessageVariable), AFX_THUNK(afxcrack::Message, memberFxn) },
