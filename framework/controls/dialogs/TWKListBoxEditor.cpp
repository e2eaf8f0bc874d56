#include "framework/controls/dialogs/TWKListBoxEditor.h"
#include "framework/controls/dialogs/TWKBrowseEdit.h"
#include "framework/frameworkres.h"
#include <functional>

namespace {
const UINT kEditID = 100;
const UINT kBrowseID = 101;
const UINT kEditEnd = 1000;                 // WM_NOTIFY code: the edit is done
const UINT WM_LBE_SETCANCELLED = WM_USER + 256;
const UINT kBitmaps[4] = { IDB_TWK_LBE_NEW, IDB_TWK_LBE_DELETE, IDB_TWK_LBE_UP, IDB_TWK_LBE_DOWN };
const UINT kTips[4] = { IDS_TWK_LBE_NEW, IDS_TWK_LBE_DELETE, IDS_TWK_LBE_UP, IDS_TWK_LBE_DOWN };

CString ItemText(CListBox* pList, int nIndex)
{
    CString s;
    if (nIndex >= 0 && nIndex < pList->GetCount())
        pList->GetText(nIndex, s);
    return s;
}

bool IsBlank(CString s)
{
    s.TrimRight();
    return s.IsEmpty();
}

// Handles one message the way the main loop does (the application's
// pre-translation, translation, dispatch), then the idle calls.
void DispatchWithIdle(MSG& msg)
{
    CWinThread* pThread = AfxGetThread();
    if (!pThread || !pThread->PreTranslateMessage(&msg))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (pThread)
    {
        pThread->OnIdle(0);
        pThread->OnIdle(1);
    }
}

// The modal loop of a tracker: mouse and key messages of the thread go to
// onInput (false ends the loop), everything else is handled as usual.
// onIdle runs while the queue is empty: false ends the loop, else it sets
// how long to wait at most. A quit request ends the loop and is posted
// again with its code.
void RunTracking(const std::function<bool(const MSG&)>& onInput, const std::function<bool(DWORD&)>& onIdle)
{
    for (;;)
    {
        MSG msg;
        if (!::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        {
            DWORD wait = INFINITE;
            if (!onIdle(wait))
                return;
            ::MsgWaitForMultipleObjects(0, NULL, FALSE, wait, QS_ALLINPUT);
            continue;
        }
        if (msg.message == WM_QUIT)
        {
            ::PostQuitMessage((int)msg.wParam);
            return;
        }
        bool input = (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
                     (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST);
        if (input)
        {
            if (!onInput(msg))
                return;
            continue;
        }
        DispatchWithIdle(msg);
    }
}

// A mouse message's point in the given window's client coordinates.
CPoint PointIn(const MSG& msg, HWND hWnd)
{
    POINT pt = { (short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam) };
    if (msg.hwnd != hWnd)
        ::MapWindowPoints(msg.hwnd, hWnd, &pt, 1);
    return CPoint(pt);
}
} // namespace

// ---------------------------------------------------------------------------
// TWKFakeButton

BOOL TWKFakeButton::Track(CWnd* pOwner, const CRect& rcButton, HBITMAP hNormal, HBITMAP hPressed)
{
    if (::GetCapture() && ::GetCapture() != pOwner->GetSafeHwnd())
        return FALSE;
    if (!CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 0, 0, NULL, NULL))
        return FALSE;
    SetCapture();
    bool inside = true;
    BOOL bReleasedInside = FALSE;
    auto draw = [&](bool pressed) {
        HBITMAP hbm = pressed ? hPressed : hNormal;
        if (!hbm)
            return;
        HDC hdc = ::GetDC(NULL);
        HDC hMem = ::CreateCompatibleDC(hdc);
        HGDIOBJ old = ::SelectObject(hMem, hbm);
        ::BitBlt(hdc, rcButton.left, rcButton.top, rcButton.Width(), rcButton.Height(), hMem, 0, 0, SRCCOPY);
        ::SelectObject(hMem, old);
        ::DeleteDC(hMem);
        ::ReleaseDC(NULL, hdc);
    };
    draw(true);
    RunTracking(
        [&](const MSG& msg) {
            if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP)
            {
                CPoint pt = PointIn(msg, NULL);   // screen
                bool now = rcButton.PtInRect(pt) != 0;
                if (now != inside)
                    draw(now);
                inside = now;
                if (msg.message == WM_LBUTTONUP)
                {
                    bReleasedInside = now;
                    return false;
                }
                return true;
            }
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                return false;
            return ::GetCapture() == m_hWnd;
        },
        [&](DWORD&) { return ::GetCapture() == m_hWnd; });
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    DestroyWindow();
    pOwner->Invalidate();
    return bReleasedInside;
}

// ---------------------------------------------------------------------------
// TWKListBoxDragWnd

BOOL TWKListBoxDragWnd::SetScrollDelays(UINT nInitial, UINT nMinimum, UINT nStep)
{
    if (nMinimum > nInitial || nStep > nInitial - nMinimum)
        return FALSE;
    m_nInitialDelay = nInitial;
    m_nMinimumDelay = nMinimum;
    m_nDelayStep = nStep;
    return TRUE;
}

void TWKListBoxDragWnd::DrawLine(CListBox* pList, int y)
{
    CRect rc;
    pList->GetClientRect(&rc);
    HDC hdc = ::GetDC(pList->m_hWnd);
    HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    HGDIOBJ old = ::SelectObject(hdc, pen);
    int rop = ::SetROP2(hdc, R2_NOTXORPEN);
    ::MoveToEx(hdc, rc.left + 2, y + 1, NULL);
    ::LineTo(hdc, rc.right + 1, y + 1);
    ::SetROP2(hdc, rop);
    ::SelectObject(hdc, old);
    ::DeleteObject(pen);
    ::ReleaseDC(pList->m_hWnd, hdc);
}

BOOL TWKListBoxDragWnd::Track(CListBox* pList, BOOL bTrailBlank, int& nFrom, int& nTo)
{
    const int source = pList->GetCurSel();
    const int count = pList->GetCount();
    const int trailing = bTrailBlank ? count - 1 : -2;
    if (source < 0 || source == trailing)
        return FALSE;
    if (::GetCapture() && ::GetCapture() != pList->m_hWnd)
        return FALSE;
    static const char* kClass = [] {
        WNDCLASSA wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
        wc.hbrBackground = (HBRUSH)::GetStockObject(WHITE_BRUSH);
        wc.lpszClassName = "TWKListBoxDragWnd";
        AfxRegisterClass(&wc);
        return "TWKListBoxDragWnd";
    }();
    if (!CreateEx(0, kClass, "", WS_POPUP, 0, 0, 0, 0, NULL, NULL))
        return FALSE;
    SetCapture();

    const DWORD startTime = (DWORD)::GetMessageTime();
    const DWORD startPos = ::GetMessagePos();
    CPoint start((short)LOWORD(startPos), (short)HIWORD(startPos));
    ::ScreenToClient(pList->m_hWnd, &start);
    const int cxDbl = ::GetSystemMetrics(SM_CXDOUBLECLK), cyDbl = ::GetSystemMetrics(SM_CYDOUBLECLK);
    bool started = false, cancelled = false, tooQuick = true;
    int target = -2;         // none; -1 is the end
    int lineY = INT_MIN;     // the insertion line drawn, if any
    UINT outside = 0;        // 1 left, 2 above, 4 right, 8 below
    UINT delay = m_nInitialDelay;
    DWORD lastScroll = ::GetTickCount();

    auto showLine = [&](int y) {
        if (y == lineY)
            return;
        if (lineY != INT_MIN)
            DrawLine(pList, lineY);
        lineY = y;
        if (lineY != INT_MIN)
            DrawLine(pList, lineY);
    };
    auto lastItem = [&]() { return bTrailBlank ? pList->GetCount() - 2 : pList->GetCount() - 1; };
    auto edgeOf = [&](int index, bool bottom) {
        CRect rc;
        pList->GetItemRect(index, &rc);
        return bottom ? rc.bottom : rc.top;
    };
    // The target and the insertion line for a point in the list.
    auto aim = [&](CPoint pt) {
        BOOL bOutside = FALSE;
        int item = (int)(short)LOWORD(pList->ItemFromPoint(pt, bOutside));
        const int last = lastItem();
        if (last < 0)
            return;
        if (item > last || item < 0)
        {
            target = -1;
            showLine(edgeOf(last, true));
            return;
        }
        CRect rc;
        pList->GetItemRect(item, &rc);
        if (pt.y < rc.top + rc.Height() / 2)
        {
            target = item;
            showLine(rc.top);
        }
        else
        {
            target = item + 1 > last ? -1 : item + 1;
            showLine(rc.bottom);
        }
    };
    auto scrollLine = [&](bool down) {
        int top = pList->GetTopIndex();
        CRect client;
        pList->GetClientRect(&client);
        if (!down && top <= 0)
            return;
        if (down)
        {
            CRect rcLast;
            pList->GetItemRect(pList->GetCount() - 1, &rcLast);
            if (rcLast.bottom <= client.bottom)
                return;
        }
        showLine(INT_MIN);
        pList->SetTopIndex(top + (down ? 1 : -1));
        int edge = down ? pList->GetTopIndex() + (client.Height() / std::max(1, pList->GetItemHeight(0))) - 1
                        : pList->GetTopIndex();
        edge = std::min(edge, lastItem());
        if (edge >= 0)
        {
            target = down ? (edge + 1 > lastItem() ? -1 : edge + 1) : edge;
            showLine(edgeOf(edge, down));
        }
    };

    RunTracking(
        [&](const MSG& msg) {
            if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP || msg.message == WM_SYSKEYDOWN ||
                msg.message == WM_SYSKEYUP || msg.message == WM_CHAR)
            {
                if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                {
                    cancelled = true;
                    return false;
                }
                return true;
            }
            if (msg.message == WM_LBUTTONUP)
            {
                tooQuick = msg.time - startTime <= nMinDragTime;
                return false;
            }
            if (msg.message != WM_MOUSEMOVE)
                return ::GetCapture() == m_hWnd;
            CPoint pt = PointIn(msg, pList->m_hWnd);
            if (!started)
            {
                int dx = pt.x - start.x, dy = pt.y - start.y;
                if (dx * dx + dy * dy <= cxDbl * cxDbl + cyDbl * cyDbl)
                    return true;
                started = true;
            }
            CRect client;
            pList->GetClientRect(&client);
            UINT now = 0;
            if (msg.time - startTime > nMinDragTime)
            {
                now |= pt.x < client.left ? 1 : 0;
                now |= pt.y < client.top ? 2 : 0;
                now |= pt.x >= client.right ? 4 : 0;
                now |= pt.y >= client.bottom ? 8 : 0;
            }
            if (now && !outside)
            {
                delay = m_nInitialDelay;
                lastScroll = ::GetTickCount();
            }
            outside = now;
            if (!outside)
                aim(pt);
            return true;
        },
        [&](DWORD& wait) {
            if (::GetCapture() != m_hWnd)
            {
                cancelled = true;   // someone else took the mouse
                return false;
            }
            if (!(outside & (2 | 8)))
                return true;
            DWORD elapsed = ::GetTickCount() - lastScroll;
            if (elapsed < delay)
            {
                wait = delay - elapsed;
                return true;
            }
            scrollLine((outside & 8) != 0);
            lastScroll = ::GetTickCount();
            delay = std::max(m_nMinimumDelay, delay > m_nDelayStep ? delay - m_nDelayStep : 0);
            wait = delay;
            return true;
        });
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    showLine(INT_MIN);
    DestroyWindow();

    if (cancelled || !started || tooQuick || target == -2 || target == source)
        return FALSE;
    int to = target;
    if (to > source)
        --to;
    if (to == source)
        return FALSE;   // dropped just below itself: nothing moves

    const int top = pList->GetTopIndex();
    CString text = ItemText(pList, source);
    DWORD_PTR data = pList->GetItemData(source);
    pList->SendMessage(WM_SETREDRAW, FALSE);
    pList->DeleteString((UINT)source);
    if (to == -1 && bTrailBlank)
        to = pList->GetCount() - 1;
    int index = pList->InsertString(to, text);
    pList->SetItemData(index, data);
    if (pList->GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL))
    {
        pList->SetSel(-1, FALSE);
        pList->SetSel(index, TRUE);
    }
    else
    {
        pList->SetCurSel(index);
    }
    pList->SetTopIndex(top);
    pList->SendMessage(WM_SETREDRAW, TRUE);
    pList->Invalidate();
    nFrom = source;
    nTo = index;
    return TRUE;
}

// ---------------------------------------------------------------------------
// TWKListBoxEditor

BEGIN_MESSAGE_MAP(TWKListBoxEditor, CWnd)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_NCHITTEST()
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TWKListBoxEditor::TWKListBoxEditor() = default;

TWKListBoxEditor::~TWKListBoxEditor()
{
    if (m_pEdit)
    {
        TWKListBoxEdit* pEdit = m_pEdit;
        m_pEdit = nullptr;
        pEdit->m_bEnding = TRUE;
        if (pEdit->m_hWnd)
            pEdit->DestroyWindow();
        delete pEdit;
    }
    if (m_browseButton.m_hWnd)
        m_browseButton.DestroyWindow();
    if (m_toolTip.m_hWnd)
        m_toolTip.DestroyWindow();
    if (m_pHelper)
    {
        if (m_pHelper->m_hWnd)
            m_pHelper->UnsubclassWindow();
        delete m_pHelper;
    }
    for (HBITMAP& hbm : m_hBitmaps)
        if (hbm)
            ::DeleteObject(hbm);
}

BOOL TWKListBoxEditor::Initialize(UINT nID, CWnd* pParent, DWORD dwFlagsIn)
{
    return Initialize(pParent, nID, dwFlagsIn);
}

BOOL TWKListBoxEditor::Initialize(CWnd* pParent, UINT nID, DWORD dwFlagsIn)
{
    HWND hList = pParent ? ::GetDlgItem(pParent->m_hWnd, (int)nID) : NULL;
    if (!hList || m_hWnd)
        return FALSE;
    dwFlags = dwFlagsIn;
    m_nListID = nID;
    UINT nEditorID = 1;
    for (UINT id = 32767; id > 1; --id)
        if (!::GetDlgItem(pParent->m_hWnd, (int)id))
        {
            nEditorID = id;
            break;
        }
    if (!CreateEx(0, "static", "", WS_CHILD | SS_SUNKEN, CRect(0, 0, 0, 0), pParent, nEditorID))
        return FALSE;
    SetFont(pParent->GetFont(), FALSE);
    for (int i = 0; i < 4; ++i)
        ButtonBitmap(i);
    nHeaderHeight = CalcHeaderHeight();

    CRect rc;
    ::GetWindowRect(hList, &rc);
    pParent->ScreenToClient(&rc);
    HWND hPrev = ::GetWindow(hList, GW_HWNDPREV);
    PlaceWindows(hList, rc, hPrev ? hPrev : HWND_TOP);

    SetButtons(dwFlags);
    m_pHelper = new TWKListBoxEditorHelper(this);
    if (!m_pHelper->SubclassWindow(hList))
    {
        delete m_pHelper;
        m_pHelper = nullptr;
        DestroyWindow();
        return FALSE;
    }
    LayoutButtons();
    if ((dwFlags & LBE_BUTTONS) && (dwFlags & LBE_TOOLTIPS) && m_toolTip.Create(this, TTS_ALWAYSTIP))
    {
        for (int i = 0; i < 4; ++i)
            if (m_bButtons[i])
                m_toolTip.AddTool(this, kTips[i], &m_rcButtons[i], kTips[i]);
        m_toolTip.Activate(TRUE);
    }
    if (!(dwFlags & LBE_NOTRAILBLANK))
    {
        int count = m_pHelper->GetCount();
        if (count == 0 || !ItemText(m_pHelper, count - 1).IsEmpty())
            m_pHelper->AddString("");
    }
    PostSelChange();
    ShowWindow(SW_SHOW);
    bInitialized = TRUE;
    return TRUE;
}

void TWKListBoxEditor::PlaceWindows(HWND hList, const CRect& rc, HWND hInsertAfter)
{
    // The header takes the top; the list the rest, below a small gap. The
    // list follows the header in the tab order.
    const int top = rc.top + nHeaderHeight + 2 * ::GetSystemMetrics(SM_CYBORDER);
    ::SetWindowPos(m_hWnd, hInsertAfter, rc.left, rc.top, rc.Width(), nHeaderHeight, SWP_NOACTIVATE);
    ::SetWindowPos(hList, m_hWnd, rc.left, top, rc.Width(), std::max(0, (int)rc.bottom - top), SWP_NOACTIVATE);
}

void TWKListBoxEditor::SetSpaceAdvance(BOOL b)
{
    bSpaceAdvance = b;
}

void TWKListBoxEditor::SetSpaceAdvanceCount(int nCount)
{
    nSpaceAdvanceCount = nCount;
}

bool TWKListBoxEditor::IsMultiSel() const
{
    return m_pHelper && (m_pHelper->GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

bool TWKListBoxEditor::IsTrailing(int nIndex) const
{
    return !(dwFlags & LBE_NOTRAILBLANK) && nIndex >= 0 && nIndex == m_pHelper->GetCount() - 1 &&
           m_pHelper->GetTextLen(nIndex) == 0;
}

void TWKListBoxEditor::Select(int nIndex)
{
    if (IsMultiSel())
        m_pHelper->SetSel(nIndex, TRUE);
    else
        m_pHelper->SetCurSel(nIndex);
}

int TWKListBoxEditor::SingleSelection() const
{
    if (!IsMultiSel())
        return m_pHelper->GetCurSel();
    if (m_pHelper->GetSelCount() != 1)
        return -1;
    int index = -1;
    m_pHelper->GetSelItems(1, &index);
    return index;
}

void TWKListBoxEditor::PostSelChange()
{
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(WM_COMMAND, MAKEWPARAM(m_nListID, LBN_SELCHANGE), (LPARAM)m_pHelper->m_hWnd);
}

void TWKListBoxEditor::SendNotify(UINT nCode)
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(m_nListID, nCode), (LPARAM)m_pHelper->m_hWnd);
}

void TWKListBoxEditor::OnEditingStarted()
{
    PostSelChange();
}

void TWKListBoxEditor::OnEditingStopped()
{
    if (IsMultiSel() ? m_pHelper->GetSelCount() == 0 : m_pHelper->GetCurSel() < 0)
        Select(m_pHelper->GetCount() - 1);
    PostSelChange();
}

void TWKListBoxEditor::OnItemRenamed(int nIndex, CString, CString strNewText)
{
    if (IsBlank(strNewText))
        DeleteItem(nIndex);
    else if (nIndex == m_pHelper->GetCount() - 1 && !(dwFlags & LBE_NOTRAILBLANK))
        m_pHelper->AddString("");
}

void TWKListBoxEditor::OnItemAdded(int nIndex, CString strText)
{
    if (!IsBlank(strText))
        return;
    const bool trailing = !(dwFlags & LBE_NOTRAILBLANK) && nIndex == m_pHelper->GetCount() - 1;
    DeleteItem(nIndex);
    // White space alone typed into the trailing item: the list still ends
    // with one empty item.
    const int count = m_pHelper->GetCount();
    if (trailing && (count == 0 || m_pHelper->GetTextLen(count - 1) != 0))
        m_pHelper->AddString("");
}

void TWKListBoxEditor::OnItemMoved(int nOldIndex, int nNewIndex, CString, BOOL)
{
    nLastIndex = nOldIndex;
    nLastNewIndex = nNewIndex;
    SendNotify(LBEN_ITEMMOVED);
}

BOOL TWKListBoxEditor::OnItemDelete(int, CString)
{
    return TRUE;
}

BOOL TWKListBoxEditor::OnNewItem()
{
    int count = m_pHelper->GetCount();
    if (count == 0 || !ItemText(m_pHelper, count - 1).IsEmpty())
        m_pHelper->AddString("");
    int index;
    if (!(dwFlags & LBE_NOTRAILBLANK))
    {
        m_pHelper->AddString("");
        index = m_pHelper->GetCount() - 2;
    }
    else
    {
        index = m_pHelper->GetCount() - 1;
    }
    StartEdit(index, TRUE, NULL);
    bNewItem = TRUE;
    return TRUE;
}

BOOL TWKListBoxEditor::OnDeleteItem()
{
    if (!IsMultiSel())
        return DeleteItem(m_pHelper->GetCurSel());
    BOOL bResult = FALSE;
    while (m_pHelper->GetSelCount() > 0)
    {
        int index = -1;
        m_pHelper->GetSelItems(1, &index);
        bResult = DeleteItem(index);
        if (!bResult)
            break;
    }
    return bResult;
}

BOOL TWKListBoxEditor::OnMoveItemUp()
{
    int index = SingleSelection();
    int limit = m_pHelper->GetCount() - ((dwFlags & LBE_NOTRAILBLANK) ? 0 : 1);
    if (!(index > 0 && index < limit))
        return FALSE;
    m_pHelper->SendMessage(WM_SETREDRAW, FALSE);
    ShiftItemUp(index);
    if (IsMultiSel())
        m_pHelper->SetSel(-1, FALSE);
    Select(index - 1);
    m_pHelper->SendMessage(WM_SETREDRAW, TRUE);
    m_pHelper->Invalidate();
    OnItemMoved(index, index - 1, ItemText(m_pHelper, index - 1), FALSE);
    return TRUE;
}

BOOL TWKListBoxEditor::OnMoveItemDown()
{
    int index = SingleSelection();
    int limit = m_pHelper->GetCount() - ((dwFlags & LBE_NOTRAILBLANK) ? 0 : 1);
    if (!(index > -1 && index < limit - 1))
        return FALSE;
    m_pHelper->SendMessage(WM_SETREDRAW, FALSE);
    ShiftItemUp(index + 1);
    if (IsMultiSel())
        m_pHelper->SetSel(-1, FALSE);
    Select(index + 1);
    m_pHelper->SendMessage(WM_SETREDRAW, TRUE);
    m_pHelper->Invalidate();
    OnItemMoved(index, index + 1, ItemText(m_pHelper, index + 1), FALSE);
    return TRUE;
}

BOOL TWKListBoxEditor::OnEditKey(UINT nChar)
{
    if (nChar == ' ' || nChar == VK_BACK)
    {
        if (bSpaceAdvance)
        {
            CWnd* pDlg = GetParent();
            HWND hNext = ::GetNextDlgTabItem(pDlg->m_hWnd, m_pHelper->m_hWnd, nChar == VK_BACK);
            if (hNext)
            {
                ::SetFocus(hNext);
                char cls[16] = "";
                ::GetClassNameA(hNext, cls, sizeof cls);
                if (lstrcmpiA(cls, "Edit") == 0)
                {
                    ::SendMessageA(hNext, EM_SETSEL, 0, -1);
                    ::SendMessageA(hNext, EM_SCROLLCARET, 0, 0);
                }
            }
            return FALSE;
        }
        nChar = 0;
    }
    int sel = IsMultiSel() ? m_pHelper->GetCaretIndex() : m_pHelper->GetCurSel();
    if (sel < 0 || (IsMultiSel() && !m_pHelper->GetSel(sel)))
        return FALSE;
    strOldText = ItemText(m_pHelper, sel);
    char initial[2] = { (char)nChar, 0 };
    return StartEdit(sel, FALSE, nChar ? initial : NULL);
}

int TWKListBoxEditor::CalcHeaderHeight()
{
    int height = 0;
    HDC hdc = ::GetDC(m_hWnd);
    HGDIOBJ old = ::SelectObject(hdc, GetFont() ? (HGDIOBJ)GetFont() : ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm;
    if (::GetTextMetricsA(hdc, &tm))
        height = tm.tmHeight;
    ::SelectObject(hdc, old);
    ::ReleaseDC(m_hWnd, hdc);
    height += 4 * ::GetSystemMetrics(SM_CYBORDER);
    for (int i = 0; i < 4; ++i)
    {
        BITMAP bm;
        if (HBITMAP hbm = ButtonBitmap(i); hbm && ::GetObjectA(hbm, sizeof bm, &bm))
            height = std::max(height, (int)(bm.bmHeight + 2));
    }
    return height;
}

void TWKListBoxEditor::LayoutButtons()
{
    CRect client;
    GetClientRect(&client);
    int x = client.right;
    for (int i = 3; i >= 0; --i)
    {
        m_rcButtons[i].SetRectEmpty();
        BITMAP bm;
        HBITMAP hbm = ButtonBitmap(i);
        if (!m_bButtons[i] || !hbm || !::GetObjectA(hbm, sizeof bm, &bm))
            continue;
        m_rcButtons[i] = CRect(x - bm.bmWidth, 0, x, nHeaderHeight);
        x -= bm.bmWidth;
    }
}

void TWKListBoxEditor::UpdateToolTips()
{
    if (!(dwFlags & LBE_BUTTONS) || !(dwFlags & LBE_TOOLTIPS) || !m_toolTip.m_hWnd)
        return;
    for (int i = 0; i < 4; ++i)
    {
        m_toolTip.DelTool(this, kTips[i]);
        m_toolTip.AddTool(this, kTips[i], &m_rcButtons[i], kTips[i]);
    }
    m_toolTip.Activate(TRUE);
}

void TWKListBoxEditor::RecalcLayout()
{
    CRect rc;
    GetWindowRect(&rc);
    if (rc.Height() <= nHeaderHeight || !m_pHelper)
        return;
    // The editor was given the whole area: the header keeps its top.
    GetParent()->ScreenToClient(&rc);
    PlaceWindows(m_pHelper->m_hWnd, rc, HWND_TOP);
    LayoutButtons();
    UpdateToolTips();
    Invalidate();
    m_pHelper->Invalidate();
}

BOOL TWKListBoxEditor::SetButtons(DWORD dwButtons)
{
    for (int i = 0; i < 4; ++i)
        m_bButtons[i] = (dwButtons & (LBE_NEWBUTTON << i)) != 0;
    return TRUE;
}

BOOL TWKListBoxEditor::StartEdit(int nIndex, BOOL bNew, LPCSTR pszInitialText)
{
    OnEditingStarted();
    int oldSel = m_pHelper->GetCurSel();
    Select(nIndex);
    CRect rc;
    m_pHelper->GetItemRect(nIndex, &rc);
    rc.InflateRect(0, 2);
    UINT nBrowse = (dwFlags & LBE_BROWSE) ? kBrowseID : 0;
    m_pEdit = new TWKListBoxEdit(this, nIndex, bNew, nBrowse, oldSel);
    CRect rcEdit = rc;
    int browseWidth = 0;
    if (nBrowse)
    {
        HDC hdc = ::GetDC(m_pHelper->m_hWnd);
        HGDIOBJ old = ::SelectObject(hdc, m_pHelper->GetFont() ? (HGDIOBJ)m_pHelper->GetFont()
                                                                 : ::GetStockObject(DEFAULT_GUI_FONT));
        SIZE dots = {}, space = {};
        ::GetTextExtentPoint32A(hdc, "...", 3, &dots);
        ::GetTextExtentPoint32A(hdc, " ", 1, &space);
        ::SelectObject(hdc, old);
        ::ReleaseDC(m_pHelper->m_hWnd, hdc);
        browseWidth = dots.cx + 2 * (space.cx + ::GetSystemMetrics(SM_CXBORDER));
        rcEdit.right -= browseWidth;
    }
    if (!m_pEdit->Create(WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, rcEdit, m_pHelper, kEditID))
    {
        delete m_pEdit;
        m_pEdit = nullptr;
        return FALSE;
    }
    m_pEdit->SetFont(m_pHelper->GetFont(), FALSE);
    if (pszInitialText)
    {
        m_pEdit->SetWindowText(pszInitialText);
        int len = lstrlenA(pszInitialText);
        m_pEdit->SetSel(len, len);
    }
    else
    {
        m_pEdit->SetWindowText(ItemText(m_pHelper, nIndex));
        m_pEdit->SetSel(0, -1);
    }
    m_pEdit->SendMessage(EM_SCROLLCARET);
    if (nBrowse)
    {
        CRect rcButton(rcEdit.right, rc.top, rc.right, rc.bottom);
        if (m_browseButton.Create("...", WS_CHILD | WS_VISIBLE, rcButton, m_pHelper, kBrowseID))
            m_browseButton.SetFont(m_pHelper->GetFont(), FALSE);
    }
    m_pEdit->ShowWindow(SW_SHOW);
    m_pEdit->SetFocus();
    return TRUE;
}

void TWKListBoxEditor::EndEdit()
{
    if (m_browseButton.m_hWnd)
        m_browseButton.DestroyWindow();
    if (m_pEdit)
    {
        TWKListBoxEdit* pEdit = m_pEdit;
        m_pEdit = nullptr;
        pEdit->m_bEnding = TRUE;
        // The list keeps the keyboard when its edit goes.
        if (::GetFocus() == pEdit->m_hWnd)
            m_pHelper->SetFocus();
        pEdit->DestroyWindow();
        delete pEdit;
    }
    const int count = m_pHelper->GetCount();
    const int cur = IsMultiSel() ? m_pHelper->GetCaretIndex() : m_pHelper->GetCurSel();
    const bool last = cur >= 0 && cur == count - 1;
    const bool trail = last && !(dwFlags & LBE_NOTRAILBLANK);
    if (cur != -1 && !bCancelled)
    {
        CString text = ItemText(m_pHelper, cur);
        if (last && !strOldText.IsEmpty() && strOldText != text)
        {
            OnItemRenamed(cur, strOldText, text);
        }
        else if (bNewItem || trail)
        {
            OnItemAdded(cur, text);
            CString rest = text;
            rest.TrimLeft();
            if (trail && !rest.IsEmpty())
                m_pHelper->AddString("");
        }
        else if (text != strOldText)
        {
            OnItemRenamed(cur, strOldText, text);
        }
    }
    strOldText.Empty();
    bNewItem = FALSE;
    OnEditingStopped();
}

void TWKListBoxEditor::ShiftItemUp(int nIndex)
{
    if (nIndex <= 0 || nIndex >= m_pHelper->GetCount())
        return;
    CString text = ItemText(m_pHelper, nIndex);
    DWORD_PTR data = m_pHelper->GetItemData(nIndex);
    m_pHelper->DeleteString((UINT)nIndex);
    m_pHelper->InsertString(nIndex - 1, text);
    m_pHelper->SetItemData(nIndex - 1, data);
}

BOOL TWKListBoxEditor::DeleteItem(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_pHelper->GetCount() || IsTrailing(nIndex))
        return FALSE;
    if (!OnItemDelete(nIndex, ItemText(m_pHelper, nIndex)))
        return FALSE;
    m_pHelper->SendMessage(WM_SETREDRAW, FALSE);
    m_pHelper->DeleteString((UINT)nIndex);
    if (!IsMultiSel())
        m_pHelper->SetCurSel(nIndex);
    m_pHelper->SendMessage(WM_SETREDRAW, TRUE);
    m_pHelper->Invalidate();
    nLastIndex = nIndex;
    SendNotify(LBEN_ITEMDELETED);
    return TRUE;
}

void TWKListBoxEditor::OnBrowse() {}

void TWKListBoxEditor::TakeBrowsed(TWKListBoxEdit* pEdit, BOOL bChosen, const CString& strChosen)
{
    // The edit may have closed while the dialog ran.
    if (!pEdit || GetEdit() != pEdit)
        return;
    if (bChosen)
    {
        pEdit->SetWindowText(strChosen);
        pEdit->SetSel(0, -1);
        pEdit->SendMessage(EM_SCROLLCARET);
    }
    pEdit->SetFocus();
}

BOOL TWKListBoxEditor::PreTranslateMessage(MSG* pMsg)
{
    if ((dwFlags & LBE_TOOLTIPS) && m_toolTip.m_hWnd && pMsg->message == WM_MOUSEMOVE)
        m_toolTip.RelayEvent(pMsg);
    return CWnd::PreTranslateMessage(pMsg);
}

HBITMAP TWKListBoxEditor::ButtonBitmap(int nButton)
{
    HBITMAP& hbm = m_hBitmaps[nButton];
    if (hbm)
        return hbm;
    hbm = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kBitmaps[nButton]), IMAGE_BITMAP, 0, 0,
                                LR_LOADMAP3DCOLORS);
    BITMAP bm;
    if (!hbm || !::GetObjectA(hbm, sizeof bm, &bm))
        return hbm;
    // A highlight along the left and top edges.
    HDC hdc = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(hdc, hbm);
    HPEN pen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ oldPen = ::SelectObject(hdc, pen);
    ::MoveToEx(hdc, 0, bm.bmHeight - 2, NULL);
    ::LineTo(hdc, 0, 0);
    ::LineTo(hdc, bm.bmWidth - 1, 0);
    ::SelectObject(hdc, oldPen);
    ::DeleteObject(pen);
    ::SelectObject(hdc, old);
    ::DeleteDC(hdc);
    return hbm;
}

HBITMAP TWKListBoxEditor::PressedBitmap(int nButton)
{
    HBITMAP hNormal = ButtonBitmap(nButton);
    BITMAP bm;
    if (!hNormal || !::GetObjectA(hNormal, sizeof bm, &bm))
        return NULL;
    HDC hScreen = ::GetDC(NULL);
    HBITMAP hPressed = ::CreateCompatibleBitmap(hScreen, bm.bmWidth, bm.bmHeight);
    HDC hSrc = ::CreateCompatibleDC(hScreen);
    HDC hDst = ::CreateCompatibleDC(hScreen);
    ::ReleaseDC(NULL, hScreen);
    HGDIOBJ oldSrc = ::SelectObject(hSrc, hNormal);
    HGDIOBJ oldDst = ::SelectObject(hDst, hPressed);
    const int w = bm.bmWidth, h = bm.bmHeight;
    RECT all = { 0, 0, w, h };
    ::FillRect(hDst, &all, ::GetSysColorBrush(COLOR_BTNFACE));
    ::BitBlt(hDst, 1, 1, w - 1, h - 1, hSrc, 0, 0, SRCCOPY);
    auto frame = [hDst](RECT r, int topLeft, int bottomRight) {
        HBRUSH tl = ::GetSysColorBrush(topLeft), br = ::GetSysColorBrush(bottomRight);
        RECT t = { r.left, r.top, r.right, r.top + 1 }, l = { r.left, r.top, r.left + 1, r.bottom };
        RECT b = { r.left, r.bottom - 1, r.right, r.bottom }, rr = { r.right - 1, r.top, r.right, r.bottom };
        ::FillRect(hDst, &b, br);
        ::FillRect(hDst, &rr, br);
        ::FillRect(hDst, &t, tl);
        ::FillRect(hDst, &l, tl);
    };
    frame(all, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT);
    frame({ 1, 1, w - 1, h - 1 }, COLOR_BTNSHADOW, COLOR_BTNFACE);
    ::SelectObject(hSrc, oldSrc);
    ::SelectObject(hDst, oldDst);
    ::DeleteDC(hSrc);
    ::DeleteDC(hDst);
    return hPressed;
}

void TWKListBoxEditor::OnPaint()
{
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    CRect client;
    GetClientRect(&client);
    RECT header = { client.left, client.top, client.right, client.top + nHeaderHeight - 2 };
    ::FillRect(hdc, &header, ::GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldFont = ::SelectObject(hdc, GetFont() ? (HGDIOBJ)GetFont() : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetTextColor(hdc, ::GetSysColor(COLOR_WINDOWTEXT));
    ::SetBkMode(hdc, TRANSPARENT);
    CString title;
    GetWindowText(title);
    RECT text = { client.left + 2 * ::GetSystemMetrics(SM_CXBORDER), client.top, client.right, client.top + nHeaderHeight };
    ::DrawTextA(hdc, title, title.GetLength(), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    ::SelectObject(hdc, oldFont);
    if (dwFlags & LBE_BUTTONS)
    {
        HDC hMem = ::CreateCompatibleDC(hdc);
        for (int i = 0; i < 4; ++i)
        {
            HBITMAP hbm = m_hBitmaps[i];
            if (!m_bButtons[i] || !hbm || m_rcButtons[i].IsRectEmpty())
                continue;
            HGDIOBJ old = ::SelectObject(hMem, hbm);
            BITMAP bm;
            ::GetObjectA(hbm, sizeof bm, &bm);
            ::BitBlt(hdc, m_rcButtons[i].left, m_rcButtons[i].top, bm.bmWidth, bm.bmHeight, hMem, 0, 0, SRCCOPY);
            ::SelectObject(hMem, old);
        }
        ::DeleteDC(hMem);
    }
    ::EndPaint(m_hWnd, &ps);
}

void TWKListBoxEditor::OnLButtonDown(UINT, CPoint point)
{
    if (!(dwFlags & LBE_BUTTONS) || m_pEdit)
        return;
    for (int i = 0; i < 4; ++i)
    {
        if (!m_bButtons[i] || !m_rcButtons[i].PtInRect(point))
            continue;
        CRect rcScreen = m_rcButtons[i];
        ClientToScreen(&rcScreen);
        HBITMAP hPressed = PressedBitmap(i);
        TWKFakeButton tracker;
        BOOL bReleased = tracker.Track(this, rcScreen, m_hBitmaps[i], hPressed);
        if (hPressed)
            ::DeleteObject(hPressed);
        if (!bReleased)
            return;
        switch (i)
        {
        case 0: OnNewItem(); break;
        case 1: OnDeleteItem(); break;
        case 2: OnMoveItemUp(); break;
        default: OnMoveItemDown(); break;
        }
        return;
    }
}

LRESULT TWKListBoxEditor::OnNcHitTest(CPoint)
{
    return HTCLIENT;
}

void TWKListBoxEditor::OnSize(UINT, int, int)
{
    Default();
    if (bInitialized)
        RecalcLayout();
}

void TWKListBoxEditor::OnMove(int, int)
{
    Default();
    if (bInitialized)
        RecalcLayout();
}

void TWKListBoxEditor::OnDestroy()
{
    if (m_toolTip.m_hWnd)
        m_toolTip.DestroyWindow();
    Default();
}

// ---------------------------------------------------------------------------
// TWKListBoxEdit

BEGIN_MESSAGE_MAP(TWKListBoxEdit, CEdit)
    ON_WM_GETDLGCODE()
    ON_WM_KEYDOWN()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

TWKListBoxEdit::TWKListBoxEdit(TWKListBoxEditor* pEditor, int nIndex, BOOL bNewItem, UINT nBrowseID, int nOldSel)
    : m_pEditor(pEditor),
      m_nIndex(nIndex),
      m_bNewItem(bNewItem),
      m_nBrowseID(nBrowseID),
      m_nOldSel(nOldSel),
      m_bSpaceAdvance(pEditor->bSpaceAdvance),
      m_nSpaceAdvanceCount(pEditor->nSpaceAdvanceCount)
{
}

UINT TWKListBoxEdit::OnGetDlgCode()
{
    return DLGC_WANTALLKEYS;
}

void TWKListBoxEdit::Commit()
{
    CListBox* pList = m_pEditor->GetListBoxPtr();
    CString text;
    GetWindowText(text);
    DWORD_PTR data = pList->GetItemData(m_nIndex);
    pList->SendMessage(WM_SETREDRAW, FALSE);
    pList->InsertString(m_nIndex, text);
    pList->SetItemData(m_nIndex, data);
    pList->DeleteString((UINT)m_nIndex + 1);
    if (!m_pEditor->IsMultiSel() && m_nOldSel >= 0)
        pList->SetCurSel(m_nOldSel);
    pList->SendMessage(WM_SETREDRAW, TRUE);
    m_pEditor->Select(m_nIndex);
    pList->Invalidate();
}

void TWKListBoxEdit::SendEnd()
{
    m_bEnding = TRUE;
    NMHDR nm = { m_hWnd, kEditID, kEditEnd };
    // The editor deletes this object while handling it.
    m_pEditor->GetListBoxPtr()->SendMessage(WM_NOTIFY, kEditID, (LPARAM)&nm);
}

void TWKListBoxEdit::EndAndTab(BOOL bBackward)
{
    CListBox* pList = m_pEditor->GetListBoxPtr();
    HWND hList = pList->m_hWnd;
    Commit();
    SendEnd();
    // This object is gone now.
    HWND hDlg = ::GetParent(hList);
    HWND hNext = hDlg ? ::GetNextDlgTabItem(hDlg, hList, bBackward) : NULL;
    if (!hNext)
        return;
    ::SetFocus(hNext);
    char cls[16] = "";
    ::GetClassNameA(hNext, cls, sizeof cls);
    if (lstrcmpiA(cls, "Edit") == 0)
    {
        ::SendMessageA(hNext, EM_SETSEL, 0, -1);
        ::SendMessageA(hNext, EM_SCROLLCARET, 0, 0);
    }
}

void TWKListBoxEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CListBox* pList = m_pEditor->GetListBoxPtr();
    pList->SendMessage(WM_LBE_SETCANCELLED, 0);
    switch (nChar)
    {
    case VK_RETURN:
        Commit();
        SendEnd();
        return;
    case VK_ESCAPE:
        if (m_bNewItem)
        {
            if (!m_pEditor->IsMultiSel() && m_nOldSel >= 0 && m_nOldSel != m_nIndex)
                pList->SetCurSel(m_nOldSel);
            pList->DeleteString((UINT)m_nIndex);
        }
        pList->SendMessage(WM_LBE_SETCANCELLED, 1);
        SendEnd();
        return;
    case VK_F2:
        if (m_nBrowseID)
        {
            if (CWnd* pButton = pList->GetDlgItem((int)m_nBrowseID))
                pButton->SetFocus();
            pList->PostMessage(WM_COMMAND, m_nBrowseID);
            return;
        }
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
    {
        const MSG* pMsg = GetCurrentMessage();
        LPARAM lParam = pMsg ? pMsg->lParam : 0;
        HWND hList = pList->m_hWnd;
        Commit();
        SendEnd();
        ::PostMessageA(hList, WM_KEYDOWN, nChar, lParam);
        return;
    }
    case VK_TAB:
        EndAndTab(::GetKeyState(VK_SHIFT) < 0);
        return;
    case VK_SPACE:
        if (m_bSpaceAdvance)
        {
            int start = 0, end = 0;
            GetSel(start, end);
            CString text;
            GetWindowText(text);
            text.TrimRight();
            if (start == end && start - text.GetLength() + 1 >= m_nSpaceAdvanceCount)
            {
                EndAndTab(FALSE);
                return;
            }
        }
        break;
    default:
        break;
    }
    Default();
}

void TWKListBoxEdit::OnKillFocus(CWnd* pNewWnd)
{
    Default();
    if (m_bEnding || !pNewWnd || !IsWindowVisible())
        return;
    if (m_nBrowseID && ::GetDlgCtrlID(pNewWnd->m_hWnd) == (int)m_nBrowseID && ::GetParent(pNewWnd->m_hWnd) == GetParent()->m_hWnd)
        return;
    Commit();
    SendEnd();
}

// ---------------------------------------------------------------------------
// TWKListBoxEditorHelper

BEGIN_MESSAGE_MAP(TWKListBoxEditorHelper, CListBox)
    ON_WM_CHAR()
    ON_WM_KEYDOWN()
    ON_WM_SYSKEYDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_NOTIFY(kEditEnd, kEditID, OnEditEnd)
    ON_MESSAGE(WM_LBE_SETCANCELLED, OnSetCancelled)
END_MESSAGE_MAP()

BOOL TWKListBoxEditorHelper::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == kBrowseID)
    {
        m_pEditor->OnBrowse();
        return TRUE;
    }
    return CListBox::OnCommand(wParam, lParam);
}

void TWKListBoxEditorHelper::OnChar(UINT nChar, UINT, UINT)
{
    if ((m_pEditor->dwFlags & LBE_AUTOEDIT) && ::GetKeyState(VK_CONTROL) >= 0)
        m_pEditor->OnEditKey(nChar);
    else
        Default();
}

void TWKListBoxEditorHelper::OnKeyDown(UINT nChar, UINT, UINT)
{
    const DWORD flags = m_pEditor->dwFlags;
    if (nChar == VK_INSERT && (flags & LBE_SHORTCUTS))
        m_pEditor->OnNewItem();
    else if (nChar == VK_DELETE && (flags & LBE_SHORTCUTS))
        m_pEditor->OnDeleteItem();
    else if (nChar == VK_F2 && (flags & LBE_BROWSE))
        m_pEditor->OnEditKey(0);
    else
        Default();
}

void TWKListBoxEditorHelper::OnSysKeyDown(UINT nChar, UINT, UINT)
{
    const DWORD flags = m_pEditor->dwFlags;
    if (nChar == VK_UP && (flags & LBE_SHORTCUTS))
        m_pEditor->OnMoveItemUp();
    else if (nChar == VK_DOWN && (flags & LBE_SHORTCUTS))
        m_pEditor->OnMoveItemDown();
    else
        Default();
}

void TWKListBoxEditorHelper::OnLButtonDblClk(UINT, CPoint)
{
    m_pEditor->OnEditKey(0);
}

void TWKListBoxEditorHelper::OnLButtonDown(UINT, CPoint)
{
    bFocusLost = FALSE;
    int remembered = -2;
    if (TWKListBoxEdit* pEdit = m_pEditor->m_pEdit)
        pEdit->SendMessage(WM_KEYDOWN, pEdit->GetWindowTextLength() ? VK_RETURN : VK_ESCAPE);
    else
        remembered = GetCurSel();
    if (bFocusLost)
        return;
    Default();
    if (m_pEditor->dwFlags & LBE_DRAGNDROP)
    {
        TWKListBoxDragWnd drag;
        int from = -1, to = -1;
        if (drag.Track(this, !(m_pEditor->dwFlags & LBE_NOTRAILBLANK), from, to))
            m_pEditor->OnItemMoved(from, to, [&] { CString s; GetText(to, s); return s; }(), TRUE);
    }
    int now = GetCurSel();
    if (remembered != -2 && now != remembered && now != -1)
        m_pEditor->PostSelChange();
}

void TWKListBoxEditorHelper::OnSetFocus(CWnd* pOldWnd)
{
    Default();
    const MSG* pMsg = GetCurrentMessage();
    m_pEditor->SendMessage(WM_SETFOCUS, pMsg ? pMsg->wParam : 0, pMsg ? pMsg->lParam : 0);
}

void TWKListBoxEditorHelper::OnKillFocus(CWnd* pNewWnd)
{
    Default();
    bFocusLost = TRUE;
    const MSG* pMsg = GetCurrentMessage();
    m_pEditor->SendMessage(WM_KILLFOCUS, pMsg ? pMsg->wParam : 0, pMsg ? pMsg->lParam : 0);
}

void TWKListBoxEditorHelper::OnEditEnd(NMHDR*, LRESULT* pResult)
{
    m_pEditor->EndEdit();
    *pResult = 0;
}

LRESULT TWKListBoxEditorHelper::OnSetCancelled(WPARAM wParam, LPARAM)
{
    m_pEditor->bCancelled = (BOOL)wParam;
    return 0;
}

// ---------------------------------------------------------------------------
// The browse forms

BOOL TWKListBoxBrowseEditor::Initialize(UINT nID, CWnd* pParent, DWORD dwFlagsIn)
{
    return TWKListBoxEditor::Initialize(nID, pParent, dwFlagsIn | LBE_BROWSE);
}

BOOL TWKListBoxBrowseEditor::Initialize(CWnd* pParent, UINT nID, DWORD dwFlagsIn)
{
    return TWKListBoxEditor::Initialize(pParent, nID, dwFlagsIn | LBE_BROWSE);
}

void TWKListBoxDirEditor::OnBrowse()
{
    TWKListBoxEdit* pEdit = GetEdit();
    if (!pEdit)
        return;
    CString title, text;
    title.LoadString(IDS_TWK_LBE_DIR_TITLE);
    pEdit->GetWindowText(text);
    TWKDirSelectDlg dlg(title, NULL, text);
    CString path;
    BOOL bChosen = dlg.DoModal() == IDOK;
    if (bChosen)
        dlg.GetPath(path);
    TakeBrowsed(pEdit, bChosen, path);
}

void TWKListBoxFileEditor::OnBrowse()
{
    TWKListBoxEdit* pEdit = GetEdit();
    if (!pEdit)
        return;
    CString name = m_strInitialFile;
    if (name.IsEmpty())
        pEdit->GetWindowText(name);
    CFileDialog dlg(TRUE, m_strDefExt.IsEmpty() ? NULL : (LPCSTR)m_strDefExt, name, OFN_HIDEREADONLY,
                    m_strFilter.IsEmpty() ? NULL : (LPCSTR)m_strFilter, this);
    dlg.m_ofn.lpstrTitle = m_strTitle.IsEmpty() ? NULL : (LPCSTR)m_strTitle;
    BOOL bChosen = dlg.DoModal() == IDOK;
    TakeBrowsed(pEdit, bChosen, bChosen ? dlg.GetPathName() : CString());
}
