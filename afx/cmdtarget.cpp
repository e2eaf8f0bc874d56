#include "afx/cmdtarget.h"
#include "afx/app.h"
#include <map>
#include <utility>

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = { { 0, 0, 0, 0, nullptr, nullptr } };
    static const AFX_MSGMAP map = { nullptr, &entries[0] };
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

namespace {

const AFX_MSGMAP_ENTRY* WalkChain(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID)
{
    for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e->pfn; ++e) {
            UINT msg = e->nMessage;
            if (e->pnRegistered) {
                msg = *e->pnRegistered;
                if (msg == 0)
                    continue;   // not registered (yet)
            }
            if (msg == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID)
                return e;
        }
    }
    return nullptr;
}

} // namespace

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID)
{
    if (!pMap)
        return nullptr;
    // Registered ids are not constant across maps' lifetimes: no cache for them.
    if (nCode != 0 || nID != 0 || nMessage >= 0xC000)
        return WalkChain(pMap, nMessage, nCode, nID);
    thread_local std::map<std::pair<const AFX_MSGMAP*, UINT>, const AFX_MSGMAP_ENTRY*> cache;
    auto key = std::make_pair(pMap, nMessage);
    auto it = cache.find(key);
    if (it != cache.end())
        return it->second;
    const AFX_MSGMAP_ENTRY* e = WalkChain(pMap, nMessage, 0, 0);
    cache.emplace(key, e);
    return e;
}

BOOL CCmdTarget::DispatchMapEntry(UINT nMessage, UINT nCode, UINT nID, AFX_MSG_ARGS& args)
{
    const AFX_MSGMAP_ENTRY* e = AfxFindMessageEntry(GetMessageMap(), nMessage, nCode, nID);
    if (!e)
        return FALSE;
    return e->pfn(this, e, args);
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    UINT nMsg = WM_COMMAND;
    UINT code = (UINT)nCode;
    if (code != CN_UPDATE_COMMAND_UI) {
        if (HIWORD(code) != 0)
            nMsg = HIWORD(code);    // WM_NOTIFY or a reflected message
        code = LOWORD(code);
    }
    const AFX_MSGMAP_ENTRY* e = AfxFindMessageEntry(GetMessageMap(), nMsg, code, nID);
    if (!e)
        return FALSE;
    if (pHandlerInfo) {
        pHandlerInfo->pTarget = this;
        pHandlerInfo->pEntry = e;
        return TRUE;
    }
    AFX_MSG_ARGS a = {};
    a.message = nMsg;
    a.nID = nID;
    a.pExtra = pExtra;
    if (code == CN_UPDATE_COMMAND_UI) {
        auto* pCmdUI = static_cast<CCmdUI*>(pExtra);
        if (!pCmdUI)
            return FALSE;
        pCmdUI->m_bContinueRouting = FALSE;
        e->pfn(this, e, a);
        return !pCmdUI->m_bContinueRouting;
    }
    if (nMsg == WM_NOTIFY || nMsg == WM_REFLECT_BASE + WM_NOTIFY) {
        auto* pNotify = static_cast<AFX_NOTIFY*>(pExtra);
        if (!pNotify)
            return FALSE;
        a.pResult = pNotify->pResult;
    }
    return e->pfn(this, e, a);
}

void CCmdTarget::BeginWaitCursor()
{
    AfxDoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    AfxDoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor()
{
    AfxDoWaitCursor(0);
}

CWaitCursor::CWaitCursor()
{
    AfxDoWaitCursor(1);
}

CWaitCursor::~CWaitCursor()
{
    AfxDoWaitCursor(-1);
}

void CWaitCursor::Restore()
{
    AfxDoWaitCursor(0);
}
