#include "ide/debugger/IDEMemoryEdit.h"
#include "afx/menu.h"
#include "afx/ole.h"
#include "framework/frames/TWKOffscreenDC.h"
#include "resources/ideres.h"
#include <algorithm>
#include <cctype>

namespace {

const COLORREF kAddressBack = 0xC8C8C8;
const COLORREF kDataBack = 0xC8FFFF;
const COLORREF kTextBack = 0xFFC8FF;
const int kAddressCells = 10;

bool IsDigitPart(int nPart) { return nPart >= MEMPART_DIGIT2 && nPart <= MEMPART_DIGIT5; }

char TextChar(BYTE b) { return (b >= 0x20 && b < 0x7F) ? (char)b : '.'; }

int HexValue(UINT ch)
{
    if (ch >= '0' && ch <= '9') return (int)(ch - '0');
    if (ch >= 'a' && ch <= 'f') return (int)(ch - 'a' + 10);
    if (ch >= 'A' && ch <= 'F') return (int)(ch - 'A' + 10);
    return -1;
}

bool KeyDown(int vk) { return ::GetKeyState(vk) < 0; }

} // namespace

// ---- Blocks

BOOL C_MemoryBlock::PositionToAddress(DWORD nPos, DWORD& nSpace, DWORD& dwAddress)
{
    DWORD k = nPos - GetStart();
    nSpace = m_nSpace;
    if (m_nUnit == MEMUNIT_NIBBLE)
        dwAddress = m_dwAddress + 2 * k;
    else if (m_nUnit == MEMUNIT_WORD)
        dwAddress = m_dwAddress + k / 2;
    else
        dwAddress = m_dwAddress + k;
    return TRUE;
}

DWORD C_MemoryBlock::GetLastAddress() const
{
    if (m_nUnit == MEMUNIT_NIBBLE)
        return m_dwAddress + 2 * m_nLength - 1;
    if (m_nUnit == MEMUNIT_WORD)
        return m_dwAddress + m_nLength / 2 - 1;
    return m_dwAddress + m_nLength - 1;
}

BYTE* C_MemoryBlock::GetData(DWORD nPos)
{
    DWORD nSpace = 0, dwAddress = 0;
    PositionToAddress(nPos, nSpace, dwAddress);
    if (m_pOwner)
        m_pOwner->ReadMemory(nSpace, dwAddress);
    DWORD k = nPos - GetStart();
    if (k >= m_nLength)
        k = m_nLength ? m_nLength - 1 : 0;
    return m_pData ? m_pData + k : nullptr;
}

BOOL C_MemoryBlock::Write(DWORD nPos, int nOffset, int nSent, BYTE byNew)
{
    DWORD k = nPos - GetStart();
    if (k >= m_nLength || !m_pData)
        return FALSE;
    if (m_pData[k] == byNew)
        return TRUE;
    DWORD nSpace = 0, dwAddress = 0;
    PositionToAddress(nPos, nSpace, dwAddress);
    if (!m_pOwner || !m_pOwner->WriteMemory(nSpace, dwAddress, m_nItem, nOffset, nSent))
        return FALSE;
    m_pData[k] = byNew;
    return TRUE;
}

BOOL C_MemoryBlock::WriteHighNibble(DWORD nPos, int nValue)
{
    DWORD k = nPos - GetStart();
    if (k >= m_nLength || !m_pData)
        return FALSE;
    BYTE byNew = (BYTE)((m_pData[k] & 0x0F) | ((nValue & 0x0F) << 4));
    if (m_nUnit == MEMUNIT_NIBBLE)
        return Write(nPos, (int)(2 * k + 1), nValue & 0x0F, byNew);
    return Write(nPos, (int)k, byNew, byNew);
}

BOOL C_MemoryBlock::WriteLowNibble(DWORD nPos, int nValue)
{
    DWORD k = nPos - GetStart();
    if (k >= m_nLength || !m_pData)
        return FALSE;
    BYTE byNew = (BYTE)((m_pData[k] & 0xF0) | (nValue & 0x0F));
    return Write(nPos, (int)(m_nUnit == MEMUNIT_NIBBLE ? 2 * k : k), byNew, byNew);
}

BOOL C_MemoryBlock::WriteByte(DWORD nPos, int nValue)
{
    if (m_nUnit == MEMUNIT_NIBBLE)
        return WriteLowNibble(nPos, nValue & 0x0F) && WriteHighNibble(nPos, (nValue >> 4) & 0x0F);
    DWORD k = nPos - GetStart();
    if (k >= m_nLength)
        return FALSE;
    return Write(nPos, (int)k, nValue & 0xFF, (BYTE)nValue);
}

BOOL C_MemoryBlock::AddressToPosition(DWORD nSpace, DWORD dwAddress, DWORD& nPos)
{
    if (nSpace != m_nSpace || dwAddress < m_dwAddress || dwAddress > GetLastAddress())
        return FALSE;
    DWORD off = dwAddress - m_dwAddress;
    if (m_nUnit == MEMUNIT_NIBBLE)
        off /= 2;
    else if (m_nUnit == MEMUNIT_WORD)
        off *= 2;
    nPos = GetStart() + off;
    return TRUE;
}

// ---- The map

I_MemoryBlock* C_MemoryMap::FindBlock(DWORD nPos)
{
    for (POSITION p = GetHeadPosition(); p;) {
        C_MemoryBlock* pBlock = BlockAt(p);
        if (pBlock->m_nEnd > nPos)
            return pBlock;
    }
    return nullptr;
}

BOOL C_MemoryMap::PositionToAddress(DWORD nPos, DWORD& nSpace, DWORD& dwAddress)
{
    I_MemoryBlock* pBlock = FindBlock(nPos);
    return pBlock ? pBlock->PositionToAddress(nPos, nSpace, dwAddress) : FALSE;
}

DWORD C_MemoryMap::GetLength()
{
    return IsEmpty() ? 0 : static_cast<C_MemoryBlock*>(GetTail())->m_nEnd;
}

BOOL C_MemoryMap::AddressToPosition(DWORD nSpace, DWORD dwAddress, DWORD& nPos)
{
    for (POSITION p = GetHeadPosition(); p;) {
        C_MemoryBlock* pBlock = BlockAt(p);
        if (pBlock->m_nSpace == nSpace && dwAddress >= pBlock->m_dwAddress && dwAddress <= pBlock->GetLastAddress())
            return pBlock->AddressToPosition(nSpace, dwAddress, nPos);
    }
    return FALSE;
}

C_MemoryBlock* C_MemoryMap::AddBlock(C_IDEMemoryEdit* pOwner, DWORD nSpace, DWORD dwAddress, DWORD nLength,
                                     BYTE* pData, int nUnit, int nItem)
{
    C_MemoryBlock* pBlock = new C_MemoryBlock;
    pBlock->m_pOwner = pOwner;
    pBlock->m_nSpace = nSpace;
    pBlock->m_dwAddress = dwAddress;
    pBlock->m_nLength = nLength;
    pBlock->m_pData = pData;
    pBlock->m_nEnd = GetLength() + nLength;
    pBlock->m_nUnit = nUnit;
    pBlock->m_nItem = nItem;
    AddTail(pBlock);
    return pBlock;
}

void C_MemoryMap::RemoveAll()
{
    while (!IsEmpty())
        delete static_cast<C_MemoryBlock*>(RemoveHead());
}

// ---- The control

BEGIN_MESSAGE_MAP(C_MemoryEdit, CEdit)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_GETDLGCODE()
    ON_WM_CONTEXTMENU()
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
    ON_COMMAND(ID_EDIT_CLEAR, OnEditNothing)
    ON_COMMAND(ID_EDIT_CUT, OnEditNothing)
    ON_COMMAND(ID_EDIT_PASTE, OnEditNothing)
    ON_COMMAND(ID_EDIT_UNDO, OnEditNothing)
END_MESSAGE_MAP()

C_MemoryEdit::C_MemoryEdit()
{
    m_font.CreateFont(-15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Courier New");
}

C_MemoryEdit::~C_MemoryEdit()
{
    m_font.DeleteObject();
}

BOOL C_MemoryEdit::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_VSCROLL;
    return CEdit::PreCreateWindow(cs);
}

BOOL C_MemoryEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CEdit::Create(dwStyle | WS_VSCROLL, rect, pParentWnd, nID))
        return FALSE;
    SendMessage(WM_SETFONT, (WPARAM)(HFONT)m_font, FALSE);
    MeasureFont();
    m_nCaretPart = MEMPART_DIGIT2;
    m_nCaret = 0;
    PlaceCaret();
    return TRUE;
}

void C_MemoryEdit::MeasureFont()
{
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(&m_font);
    CSize size = dc.GetTextExtent("0", 1);
    dc.SelectObject(pOld);
    m_nCharWidth = std::max(1, (int)size.cx);
    m_nLineHeight = std::max(1, (int)size.cy);
}

int C_MemoryEdit::BytesPerLineForCells(int nCells) const
{
    int n;
    if (m_nDisplayMode == MEMMODE_WORD)
        n = (2 * nCells - 20) / 7;
    else if (m_nDisplayMode == MEMMODE_NIBBLE)
        n = (nCells - 10) / 5;
    else
        n = (nCells - 10) / 4;
    int nBytes = n >= 16 ? 16 : n >= 8 ? 8 : n >= 4 ? 4 : 2;
    if (m_nDisplayMode == MEMMODE_NIBBLE)
        nBytes = std::min(nBytes, 8);
    return nBytes;
}

void C_MemoryEdit::UpdateLayout()
{
    if (!m_hWnd)
        return;
    MeasureFont();
    int nDataCells = m_nDisplayMode == MEMMODE_WORD ? m_nBytesPerLine / 2 * 5
                   : m_nDisplayMode == MEMMODE_NIBBLE ? m_nBytesPerLine * 4 : m_nBytesPerLine * 3;
    m_nDataX = kAddressCells * m_nCharWidth;
    m_nTextX = m_nDataX + nDataCells * m_nCharWidth;
    CRect rc;
    GetClientRect(&rc);
    m_nLinesPerPage = std::max(1, rc.Height() / m_nLineHeight);
    m_bPartialLine = FALSE;
    if ((DWORD)(m_nLinesPerPage * m_nBytesPerLine) > m_nLength) {
        m_nLinesPerPage = (int)((m_nLength + m_nBytesPerLine / 2) / m_nBytesPerLine);
        if (m_nLength % m_nBytesPerLine) {
            ++m_nLinesPerPage;
            m_bPartialLine = TRUE;
        }
        m_nLinesPerPage = std::max(1, m_nLinesPerPage);
    }
    m_bLayoutDirty = FALSE;
    UpdateScrollBar();
}

void C_MemoryEdit::UpdateScrollBar()
{
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = std::max(0, (int)(m_nLength / m_nBytesPerLine) - 1);
    si.nPage = (UINT)m_nLinesPerPage;
    si.nPos = m_nTop / m_nBytesPerLine;
    SetScrollInfo(SB_VERT, &si, TRUE);
    ::EnableScrollBar(m_hWnd, SB_VERT, si.nMax >= m_nLinesPerPage ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
}

int C_MemoryEdit::LastTop() const
{
    int nLines = (int)((m_nLength + m_nBytesPerLine - 1) / m_nBytesPerLine);
    return std::max(0, nLines - m_nLinesPerPage) * m_nBytesPerLine;
}

CString C_MemoryEdit::AddressText(int nPos)
{
    DWORD nSpace = 0, dwAddress = 0;
    if (!m_pMemoryMap || !m_pMemoryMap->PositionToAddress((DWORD)nPos, nSpace, dwAddress))
        return CString();
    CString s;
    s.Format("%04lX:%04lX ", (unsigned long)nSpace, (unsigned long)dwAddress);
    return s;
}

CString C_MemoryEdit::DataText(const BYTE* pBytes, int nCount, int nFirstPos) const
{
    CString s;
    char sz[8];
    if (m_nDisplayMode == MEMMODE_WORD) {
        // Words pair even positions with the next byte.
        int i = 0;
        if (nFirstPos & 1) {
            sprintf(sz, "  %02X ", pBytes[0]);
            s += sz;
            i = 1;
        }
        for (; i < nCount; i += 2) {
            unsigned v = pBytes[i] + (i + 1 < nCount ? 256u * pBytes[i + 1] : 0u);
            sprintf(sz, "%04X ", v);
            s += sz;
        }
    } else {
        for (int i = 0; i < nCount; ++i) {
            if (m_nDisplayMode == MEMMODE_NIBBLE)
                sprintf(sz, "%X %X ", pBytes[i] & 0x0F, pBytes[i] >> 4);
            else
                sprintf(sz, "%02X ", pBytes[i]);
            s += sz;
        }
    }
    return s;
}

// Gathers nCount bytes from nStart, asking each block met for its data once.
static bool GatherBytes(I_MemoryMap* pMap, int nStart, int nCount, std::vector<BYTE>& out)
{
    out.clear();
    int nPos = nStart;
    while ((int)out.size() < nCount) {
        I_MemoryBlock* pBlock = pMap->FindBlock((DWORD)nPos);
        if (!pBlock)
            return false;
        const BYTE* p = pBlock->GetData((DWORD)nPos);
        int n = std::min(nCount - (int)out.size(), (int)pBlock->GetEnd() - nPos);
        if (p)
            out.insert(out.end(), p, p + n);
        else
            out.insert(out.end(), (size_t)n, 0);   // a block without a buffer shows zeros
        nPos += n;
    }
    return true;
}

void C_MemoryEdit::OnPaint()
{
    CPaintDC paint(this);
    if (m_bLayoutDirty)
        UpdateLayout();
    CRect rc;
    GetClientRect(&rc);
    TWKOffscreenDC dc(&paint, rc.left, rc.top, rc.right, rc.bottom);
    dc.FillSolidRect(&rc, 0xFFFFFF);
    if (!m_pMemoryMap)
        return;
    CFont* pOld = dc.SelectObject(&m_font);
    const int cw = m_nCharWidth, lh = m_nLineHeight, bpl = m_nBytesPerLine;
    int nLines = (rc.Height() + lh - 1) / lh;
    int nEnd = std::min((int)m_nLength, m_nTop + nLines * bpl);
    std::vector<BYTE> bytes;
    if (nEnd > m_nTop && !GatherBytes(m_pMemoryMap, m_nTop, nEnd - m_nTop, bytes))
        bytes.resize(nEnd - m_nTop, 0);
    int nSelLo = std::min(m_nSelStart, m_nSelEnd), nSelHi = std::max(m_nSelStart, m_nSelEnd);
    bool bSel = m_nSelStart >= 0 && m_nSelEnd >= 0 && nSelLo != nSelHi;
    int nBytesCells = m_nDisplayMode == MEMMODE_NIBBLE ? 4 : 3;
    // Every character in its own cell, whatever the font's advances.
    std::vector<INT> dx(std::max(bpl * 4, 16), cw);
    auto cells = [&](int x, int y, int right, const char* psz, int n) {
        CRect r(x, y, right, y + lh);
        dc.ExtTextOut(x, y, ETO_OPAQUE | ETO_CLIPPED, &r, psz, (UINT)n, dx.data());
    };
    dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    for (int line = 0, pos = m_nTop; pos < nEnd; ++line, pos += bpl) {
        int y = line * lh;
        int n = std::min(bpl, nEnd - pos);
        const BYTE* p = bytes.data() + (pos - m_nTop);
        CString addr = AddressText(pos);
        dc.SetBkColor(kAddressBack);
        cells(0, y, m_nDataX, addr, addr.GetLength());
        CString data = DataText(p, n, pos);
        dc.SetBkColor(kDataBack);
        cells(m_nDataX, y, m_nTextX, data, data.GetLength());
        CString text;
        for (int i = 0; i < n; ++i)
            text += TextChar(p[i]);
        dc.SetBkColor(kTextBack);
        cells(m_nTextX, y, m_nTextX + bpl * cw, text, text.GetLength());
        if (!bSel || (m_nCaretPart != MEMPART_TEXT && !IsDigitPart(m_nCaretPart)))
            continue;
        // The selection over the column the caret is in.
        dc.SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
        dc.SetBkColor(::GetSysColor(COLOR_HIGHLIGHT));
        for (int i = 0; i < n; ++i) {
            int b = pos + i;
            if (b < nSelLo || b >= nSelHi)
                continue;
            if (m_nCaretPart == MEMPART_TEXT) {
                char c = TextChar(p[i]);
                cells(m_nTextX + i * cw, y, m_nTextX + (i + 1) * cw, &c, 1);
            } else if (m_nDisplayMode == MEMMODE_WORD) {
                int first = i & ~1;
                CString cell = DataText(p + first, std::min(2, n - first), pos + first);
                int x = m_nDataX + (i / 2) * 5 * cw;
                cells(x, y, x + 4 * cw, cell, 4);
            } else {
                CString cell = DataText(p + i, 1, b);
                int x = m_nDataX + i * nBytesCells * cw;
                cells(x, y, x + (nBytesCells - 1) * cw, cell, nBytesCells - 1);
            }
        }
        dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    }
    dc.SelectObject(pOld);
}

BOOL C_MemoryEdit::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void C_MemoryEdit::OnSize(UINT, int cx, int)
{
    if (m_nCharWidth <= 0)
        MeasureFont();
    int nBytes = BytesPerLineForCells(cx / m_nCharWidth);
    if (nBytes != m_nBytesPerLine) {
        m_nBytesPerLine = nBytes;
        m_nTop -= m_nTop % nBytes;
    }
    m_bLayoutDirty = TRUE;
    UpdateLayout();
    m_nTop = std::min(m_nTop, LastTop());
    PlaceCaret();
}

int C_MemoryEdit::DigitOffset(int nColumn, int nPart) const
{
    switch (m_nDisplayMode) {
    case MEMMODE_WORD: {
        static const int kCell[6] = {0, 0, 0, 3, 1, 2};
        return (nColumn / 2) * 5 + kCell[nPart];
    }
    case MEMMODE_NIBBLE:
        return 4 * nColumn + (nPart == MEMPART_DIGIT2 ? 2 : 0);
    default:
        return 3 * nColumn + (nPart == MEMPART_DIGIT3 ? 1 : 0);
    }
}

void C_MemoryEdit::PlaceCaret()
{
    if (!m_hWnd || m_nBytesPerLine <= 0)
        return;
    if (m_nCharWidth <= 0)
        MeasureFont();
    const int cw = m_nCharWidth, lh = m_nLineHeight;
    int rel = m_nCaret - m_nTop;
    int line = rel >= 0 ? rel / m_nBytesPerLine : -1 - (-rel - 1) / m_nBytesPerLine;
    int c = ((rel % m_nBytesPerLine) + m_nBytesPerLine) % m_nBytesPerLine;
    int x = 0, w = cw;
    if (m_nCaretPart == MEMPART_ADDRESS)
        w = 9 * cw;
    else if (m_nCaretPart == MEMPART_TEXT)
        x = m_nTextX + c * cw;
    else
        x = m_nDataX + DigitOffset(c, m_nCaretPart) * cw;
    m_ptCaret = CPoint(x, line * lh);
    if (!m_bFocused)
        return;
    CRect rc;
    GetClientRect(&rc);
    if (m_bCaretCreated)
        ::DestroyCaret();
    m_bCaretCreated = FALSE;
    if (m_bMouseSelecting || !m_pMemoryMap || m_ptCaret.y < 0 || m_ptCaret.y >= rc.bottom || x >= rc.right)
        return;
    int h = std::min(lh, (int)(rc.bottom - m_ptCaret.y));
    CreateSolidCaret(w, h);
    m_bCaretCreated = TRUE;
    SetCaretPos(m_ptCaret);
    ShowCaret();
}

void C_MemoryEdit::OnSetFocus(CWnd*)
{
    m_bFocused = TRUE;
    if (m_pMemoryMap && m_nSelStart < 0)
        PlaceCaret();
}

void C_MemoryEdit::OnKillFocus(CWnd*)
{
    m_bFocused = FALSE;
    if (m_bCaretCreated)
        ::DestroyCaret();
    m_bCaretCreated = FALSE;
}

void C_MemoryEdit::ScrollTo(int nTop, BOOL bKeepCaretLine)
{
    nTop = std::max(0, std::min(nTop, LastTop()));
    nTop -= nTop % m_nBytesPerLine;
    int nOld = m_nTop;
    m_nTop = nTop;
    if (bKeepCaretLine && !m_bKeyScroll && m_nLength)
        m_nCaret = std::max(0, std::min(m_nCaret + nTop - nOld, (int)m_nLength - 1));
    UpdateScrollBar();
    PlaceCaret();
    if (nOld != nTop)
        Invalidate(FALSE);
}

void C_MemoryEdit::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    if (!m_pMemoryMap)
        return;
    if (m_bLayoutDirty)
        UpdateLayout();
    const int page = m_nLinesPerPage * m_nBytesPerLine;
    int nTop = m_nTop;
    switch (nSBCode) {
    case SB_LINEUP: if (m_nTop > 0) nTop -= m_nBytesPerLine; break;
    case SB_PAGEUP: if (m_nTop > 0) nTop -= page; break;
    case SB_LINEDOWN: if (m_nTop < LastTop()) nTop += m_nBytesPerLine; break;
    case SB_PAGEDOWN: if (m_nTop < LastTop()) nTop += page; break;
    case SB_THUMBTRACK: nTop = (int)nPos * m_nBytesPerLine; break;
    default: return;
    }
    ScrollTo(nTop, TRUE);
}

void C_MemoryEdit::OnHScroll(UINT, UINT, CScrollBar*)
{
}

BOOL C_MemoryEdit::OnMouseWheel(UINT, short zDelta, CPoint)
{
    if (!m_pMemoryMap)
        return TRUE;
    if (m_bLayoutDirty)
        UpdateLayout();
    ScrollTo(m_nTop - (zDelta / WHEEL_DELTA) * m_nBytesPerLine, TRUE);
    return TRUE;
}

BOOL C_MemoryEdit::HitTest(CPoint pt, int& nPos, int& nPart) const
{
    if (!m_pMemoryMap || m_nCharWidth <= 0 || m_nLineHeight <= 0 || pt.x < 0 || pt.y < 0)
        return FALSE;
    int k = pt.x / m_nCharWidth + 1;
    int nLineStart = m_nTop + (pt.y / m_nLineHeight) * m_nBytesPerLine;
    if (nLineStart >= (int)m_nLength)
        return FALSE;
    int nDataCell = m_nDataX / m_nCharWidth, nTextCell = m_nTextX / m_nCharWidth;
    if (k <= 9) {
        nPos = nLineStart;
        nPart = MEMPART_ADDRESS;
        return TRUE;
    }
    int d = k - 1 - nDataCell;
    if (d >= 0 && k - 1 < nTextCell) {
        int c = 0;
        switch (m_nDisplayMode) {
        case MEMMODE_WORD: {
            static const int kPart[4] = {MEMPART_DIGIT2, MEMPART_DIGIT4, MEMPART_DIGIT5, MEMPART_DIGIT3};
            int w = d / 5, r = d % 5;
            c = r == 4 ? 2 * w + 2 : 2 * w + (r >= 2);
            nPart = r == 4 ? MEMPART_DIGIT2 : kPart[r];
            break;
        }
        case MEMMODE_NIBBLE:
            c = d / 4;
            nPart = d % 4 < 2 ? MEMPART_DIGIT3 : MEMPART_DIGIT2;
            break;
        default:
            c = d / 3 + (d % 3 == 2);
            nPart = d % 3 == 1 ? MEMPART_DIGIT3 : MEMPART_DIGIT2;
            break;
        }
        nPos = nLineStart + c;
        return nPos < (int)m_nLength;
    }
    int t = k - 1 - nTextCell;
    if (t >= 0 && t < m_nBytesPerLine && nLineStart + t < (int)m_nLength) {
        nPos = nLineStart + t;
        nPart = MEMPART_TEXT;
        return TRUE;
    }
    return FALSE;
}

int C_MemoryEdit::SelectionEndFor(int nPos, int nPart) const
{
    return (nPart == MEMPART_DIGIT2 || nPart == MEMPART_DIGIT3) ? nPos + 1 : nPos;
}

void C_MemoryEdit::ClearSelection()
{
    m_nSelStart = m_nSelEnd = -1;
}

// The system's drag test on the queued mouse input: a move beyond the drag rectangle, or the
// button held past the drag delay, starts a drag; a release or another press does not.
static BOOL DragStarts(HWND hWnd, CPoint pt)
{
    const int cx = ::GetSystemMetrics(SM_CXDRAG), cy = ::GetSystemMetrics(SM_CYDRAG);
    const DWORD dwDelay = (DWORD)::GetProfileIntA("windows", "DragDelay", 200);
    const DWORD dwStart = ::GetTickCount();
    for (;;) {
        MSG msg;
        if (::PeekMessageA(&msg, hWnd, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) {
            if (msg.message == WM_MOUSEMOVE) {
                ::PeekMessageA(&msg, hWnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE);
                int x = (short)LOWORD(msg.lParam), y = (short)HIWORD(msg.lParam);
                if (abs(x - pt.x) > cx || abs(y - pt.y) > cy) {
                    ::PostMessageA(hWnd, WM_MOUSEMOVE, msg.wParam, msg.lParam);
                    return TRUE;
                }
                continue;
            }
            return FALSE;   // a release or press comes first: a click
        }
        DWORD dwPassed = ::GetTickCount() - dwStart;
        if (dwPassed >= dwDelay)
            return (::GetKeyState(VK_LBUTTON) < 0 || ::GetAsyncKeyState(VK_LBUTTON) < 0);
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, dwDelay - dwPassed, QS_MOUSE);
    }
}

void C_MemoryEdit::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    if (!m_pMemoryMap)
        return;
    BOOL bShift = (nFlags & MK_SHIFT) != 0;
    if (bShift && m_nSelStart < 0)
        m_nSelStart = m_nCaret;
    int nPos = 0, nPart = 0;
    if (!HitTest(point, nPos, nPart))
        return;
    m_nCaret = nPos;
    m_nCaretPart = nPart;
    if (bShift) {
        m_nSelEnd = SelectionEndFor(nPos, nPart);
    } else if (DragStarts(m_hWnd, point)) {
        m_nSelStart = m_nSelEnd = m_nCaret;
        m_bMouseSelecting = TRUE;
        SetCapture();
    } else {
        ClearSelection();
    }
    PlaceCaret();
    Invalidate(FALSE);
}

void C_MemoryEdit::OnLButtonDblClk(UINT, CPoint)
{
}

void C_MemoryEdit::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!(nFlags & MK_LBUTTON) || m_nSelStart < 0 || !m_pMemoryMap)
        return;
    CRect rc;
    GetClientRect(&rc);
    if (point.y < rc.top) {
        ScrollTo(m_nTop - m_nBytesPerLine, FALSE);
        point.y = rc.top;
    } else if (point.y >= rc.bottom) {
        ScrollTo(m_nTop + m_nBytesPerLine, FALSE);
        point.y = std::min((int)rc.bottom - 1, (m_nLinesPerPage - 1) * m_nLineHeight);
    }
    int nPos = 0, nPart = 0;
    if (!HitTest(point, nPos, nPart))
        return;
    int nEnd = SelectionEndFor(nPos, nPart);
    m_nCaret = nPos;
    if (nEnd != m_nSelEnd) {
        m_nSelEnd = nEnd;
        Invalidate(FALSE);
    }
}

void C_MemoryEdit::OnLButtonUp(UINT, CPoint)
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (m_bMouseSelecting) {
        m_bMouseSelecting = FALSE;
        PlaceCaret();
    }
}

// Digits in display order: the index of a (position, part) pair and back.
static int DigitIndex(int nMode, int nPos, int nPart)
{
    if (nMode == MEMMODE_WORD) {
        static const int kOrder[6] = {0, 0, 0, 3, 1, 2};
        return (nPos / 2) * 4 + kOrder[nPart];
    }
    if (nMode == MEMMODE_NIBBLE)
        return nPos * 2 + (nPart == MEMPART_DIGIT2);
    return nPos * 2 + (nPart == MEMPART_DIGIT3);
}

static void FromDigitIndex(int nMode, int nIndex, int& nPos, int& nPart)
{
    if (nMode == MEMMODE_WORD) {
        static const int kPart[4] = {MEMPART_DIGIT2, MEMPART_DIGIT4, MEMPART_DIGIT5, MEMPART_DIGIT3};
        int w = nIndex >> 2, r = nIndex & 3;   // floor for negative indexes too
        nPos = 2 * w + (r >= 2);
        nPart = kPart[r];
        return;
    }
    int b = nIndex >> 1;
    bool second = (nIndex & 1) != 0;
    nPos = b;
    nPart = nMode == MEMMODE_NIBBLE ? (second ? MEMPART_DIGIT2 : MEMPART_DIGIT3)
                                    : (second ? MEMPART_DIGIT3 : MEMPART_DIGIT2);
}

void C_MemoryEdit::MoveCaret(int dx, int nLines)
{
    if (m_nCaretPart == MEMPART_ADDRESS || !m_pMemoryMap)
        return;
    int nOld = m_nCaret, nPos = m_nCaret, nPart = m_nCaretPart;
    if (nPart == MEMPART_TEXT) {
        nPos += nLines * m_nBytesPerLine + dx;
    } else {
        FromDigitIndex(m_nDisplayMode, DigitIndex(m_nDisplayMode, nPos, nPart) + dx, nPos, nPart);
        nPos += nLines * m_nBytesPerLine;
    }
    if (nPos < 0) {
        nPos = 0;
        if (nPart != MEMPART_TEXT)
            nPart = m_nDisplayMode == MEMMODE_NIBBLE ? MEMPART_DIGIT3 : MEMPART_DIGIT2;
    } else if (nPos >= (int)m_nLength) {
        nPos = nOld;
        if (nPart != MEMPART_TEXT)
            nPart = m_nDisplayMode == MEMMODE_NIBBLE ? MEMPART_DIGIT2 : MEMPART_DIGIT3;
    }
    m_nCaret = nPos;
    m_nCaretPart = nPart;
    if (m_nCaret < m_nTop) {
        BOOL bOld = m_bKeyScroll;
        m_bKeyScroll = TRUE;
        ScrollTo(m_nTop - m_nBytesPerLine, FALSE);
        m_bKeyScroll = bOld;
    } else if (m_nCaret >= m_nTop + m_nLinesPerPage * m_nBytesPerLine) {
        BOOL bOld = m_bKeyScroll;
        m_bKeyScroll = TRUE;
        ScrollTo(m_nTop + m_nBytesPerLine, FALSE);
        m_bKeyScroll = bOld;
    }
    PlaceCaret();
}

void C_MemoryEdit::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (!m_pMemoryMap)
        return;
    if (m_bLayoutDirty)
        UpdateLayout();
    m_bKeyScroll = TRUE;
    const bool bShift = KeyDown(VK_SHIFT), bCtrl = KeyDown(VK_CONTROL);
    const int bpl = m_nBytesPerLine, page = m_nLinesPerPage * bpl, nLast = std::max(0, (int)m_nLength - 1);
    bool bMove = nChar == VK_PRIOR || nChar == VK_NEXT || nChar == VK_HOME || nChar == VK_END || nChar == VK_LEFT ||
                 nChar == VK_RIGHT || nChar == VK_UP || nChar == VK_DOWN;
    if (bMove) {
        if (bShift && m_nSelStart < 0)
            m_nSelStart = m_nCaret;
        else if (!bShift && m_nSelStart >= 0) {
            ClearSelection();
            Invalidate(FALSE);
        }
    }
    switch (nChar) {
    case VK_TAB:
        if (m_nCaretPart == MEMPART_ADDRESS) {
            m_nCaretPart = MEMPART_DIGIT2;
        } else if (m_nCaretPart == MEMPART_TEXT) {
            if (m_nDisplayMode == MEMMODE_WORD && !(m_nCaret & 1) && m_nCaret + 1 < (int)m_nLength) {
                ++m_nCaret;
                m_nCaretPart = MEMPART_DIGIT5;
            } else if (m_nDisplayMode == MEMMODE_WORD && (m_nCaret & 1)) {
                --m_nCaret;
                m_nCaretPart = MEMPART_DIGIT2;
            } else {
                m_nCaretPart = MEMPART_DIGIT2;
            }
        } else {
            if (m_nDisplayMode == MEMMODE_WORD)
                m_nCaret = (m_nCaret & 1) ? m_nCaret - 1 : std::min(m_nCaret + 1, nLast);
            m_nCaretPart = MEMPART_TEXT;
        }
        PlaceCaret();
        Invalidate(FALSE);
        break;
    case VK_PRIOR:
        ScrollTo(m_nTop - page, FALSE);
        m_nCaret = std::max(0, m_nCaret - page);
        PlaceCaret();
        break;
    case VK_NEXT:
        ScrollTo(m_nTop + page, FALSE);
        if (m_nCaret + page <= nLast)
            m_nCaret += page;
        PlaceCaret();
        break;
    case VK_HOME:
        if (bCtrl) {
            m_nCaret = 0;
            ScrollTo(0, FALSE);
        } else {
            m_nCaret -= m_nCaret % bpl;
        }
        PlaceCaret();
        break;
    case VK_END:
        if (bCtrl) {
            m_nCaret = nLast;
            int nTopLine = (int)((m_nLength + bpl / 2) / bpl) - m_nLinesPerPage;
            ScrollTo(std::max(0, nTopLine) * bpl, FALSE);
        } else {
            m_nCaret = std::min(m_nCaret - m_nCaret % bpl + bpl - 1, nLast);
        }
        PlaceCaret();
        break;
    case VK_LEFT: MoveCaret(-1, 0); break;
    case VK_RIGHT: MoveCaret(1, 0); break;
    case VK_UP: MoveCaret(0, -1); break;
    case VK_DOWN: MoveCaret(0, 1); break;
    default: break;
    }
    if (bMove && bShift) {
        bool bAfter = (nChar == VK_RIGHT || nChar == VK_DOWN);
        m_nSelEnd = bAfter ? SelectionEndFor(m_nCaret, m_nCaretPart) : m_nCaret;
        Invalidate(FALSE);
    }
    m_bKeyScroll = FALSE;
}

void C_MemoryEdit::WriteChar(UINT nChar)
{
    I_MemoryBlock* pBlock = m_pMemoryMap->FindBlock((DWORD)m_nCaret);
    if (!pBlock)
        return;
    BOOL bDone = FALSE;
    if (m_nCaretPart == MEMPART_TEXT) {
        bDone = pBlock->WriteByte((DWORD)m_nCaret, (int)(nChar & 0xFF));
        if (bDone && m_nCaret + 1 < (int)m_nLength)
            ++m_nCaret;
        if (bDone)
            PlaceCaret();
        return;
    }
    int v = HexValue(nChar);
    if (!IsDigitPart(m_nCaretPart) || v < 0)
        return;
    int nPos = m_nCaret;
    if (m_nDisplayMode == MEMMODE_WORD)
        nPos += (m_nCaretPart == MEMPART_DIGIT2 || m_nCaretPart == MEMPART_DIGIT4) ? 1 : -1;
    if (nPos < 0 || nPos >= (int)m_nLength)
        return;
    pBlock = m_pMemoryMap->FindBlock((DWORD)nPos);
    if (!pBlock)
        return;
    bool bHigh = m_nCaretPart == MEMPART_DIGIT2 || m_nCaretPart == MEMPART_DIGIT5;
    bDone = bHigh ? pBlock->WriteHighNibble((DWORD)nPos, v) : pBlock->WriteLowNibble((DWORD)nPos, v);
    if (bDone)
        MoveCaret(1, 0);
}

void C_MemoryEdit::OnChar(UINT nChar, UINT, UINT)
{
    if (nChar == '\t' || !m_pMemoryMap)
        return;
    if (KeyDown(VK_CONTROL)) {
        if (nChar == 3 && m_nSelStart >= 0)
            Copy();
        else if (nChar == 22 || nChar == 24 || nChar == 26)
            OnEditNothing();
        return;
    }
    ClearSelection();
    WriteChar(nChar);
    Invalidate(FALSE);
}

UINT C_MemoryEdit::OnGetDlgCode()
{
    return DLGC_WANTALLKEYS;
}

void C_MemoryEdit::SelectAll()
{
    if (!m_pMemoryMap)
        return;
    m_nSelStart = 0;
    m_nSelEnd = (int)m_nLength;
    if (m_bCaretCreated)
        HideCaret();
    Invalidate(FALSE);
}

BOOL C_MemoryEdit::GetSelectionData(std::string& text, std::string& raw)
{
    if (!m_pMemoryMap || m_nSelStart < 0 || m_nSelEnd < 0)
        return FALSE;
    // A selection made leftwards or upwards copies in address order too.
    int nFrom = std::min(m_nSelStart, m_nSelEnd), nTo = std::max(m_nSelStart, m_nSelEnd);
    nTo = std::min(nTo, (int)m_nLength);
    if (nTo <= nFrom)
        return FALSE;
    std::vector<BYTE> bytes;
    if (!GatherBytes(m_pMemoryMap, nFrom, nTo - nFrom, bytes))
        return FALSE;
    raw.assign(bytes.begin(), bytes.end());
    if (m_nCaretPart == MEMPART_TEXT) {
        text.clear();
        for (BYTE b : bytes)
            text += TextChar(b);
    } else {
        // Words pair the selection's bytes from its first one.
        text = (LPCSTR)DataText(bytes.data(), (int)bytes.size(), 0);
    }
    return TRUE;
}

static HGLOBAL GlobalOf(const void* p, size_t n)
{
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, n ? n : 1);
    if (!h)
        return nullptr;
    memcpy(::GlobalLock(h), p, n);
    ::GlobalUnlock(h);
    return h;
}

void C_MemoryEdit::Copy()
{
    std::string text, raw;
    if (!GetSelectionData(text, raw))
        return;
    HGLOBAL hRaw = GlobalOf(raw.data(), raw.size());
    HGLOBAL hText = GlobalOf(text.c_str(), text.size() + 1);
    if (!hRaw || !hText) {
        if (hRaw) ::GlobalFree(hRaw);
        if (hText) ::GlobalFree(hText);
        return;
    }
    COleDataSource source;
    source.CacheGlobalData((CLIPFORMAT)::RegisterClipboardFormatA("BinaryData"), hRaw);
    source.CacheGlobalData(CF_TEXT, hText);
    source.SetClipboard();
    // The source flushes its data onto the clipboard as it goes.
}

void C_MemoryEdit::OnEditCopy()
{
    Copy();
}

void C_MemoryEdit::OnEditSelectAll()
{
    SelectAll();
}

void C_MemoryEdit::OnEditNothing()
{
}

void C_MemoryEdit::OnContextMenu(CWnd*, CPoint point)
{
    if (point.x == -1 && point.y == -1) {
        point = CPoint(5, 5);
        ClientToScreen(&point);
    }
    CMenu menu;
    if (!menu.LoadMenu(IDR_MEMORY_EDIT_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup)
        return;
    if (m_nSelStart < 0 || m_nSelStart == m_nSelEnd)
        pPopup->EnableMenuItem(ID_EDIT_COPY, MF_BYCOMMAND | MF_GRAYED);
    AddContextCommands(pPopup);
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

// ---- The IDE's control

C_IDEMemoryEdit::~C_IDEMemoryEdit()
{
    m_MemoryMap.RemoveAll();
}

void C_IDEMemoryEdit::AddBlock(DWORD nSpace, DWORD dwAddress, DWORD nLength, BYTE* pData, int nUnit, int nItem)
{
    m_MemoryMap.AddBlock(this, nSpace, dwAddress, nLength, pData, nUnit, nItem);
    m_pMemoryMap = &m_MemoryMap;
    m_nLength = m_MemoryMap.GetLength();
    m_nDisplayMode = nUnit == MEMUNIT_NIBBLE ? MEMMODE_NIBBLE : nUnit == MEMUNIT_WORD ? MEMMODE_WORD : MEMMODE_BYTE;
    m_bLayoutDirty = TRUE;
}

BOOL C_IDEMemoryEdit::AddCommand(LPCSTR lpszText, UINT nID, PFN_MemoryCommand pfn, LPARAM lArg)
{
    m_Commands.push_back(Command{lpszText, nID, pfn, lArg});
    return TRUE;
}

void C_IDEMemoryEdit::ResetMemory()
{
    m_nTop = 0;
    m_nLength = 0;
    m_pMemoryMap = nullptr;
    m_MemoryMap.RemoveAll();
    m_bLayoutDirty = TRUE;
}

void C_IDEMemoryEdit::UpdateBlock(int nItem, DWORD nSpace, DWORD dwAddress, BYTE* pData)
{
    for (POSITION p = m_MemoryMap.GetHeadPosition(); p;) {
        C_MemoryBlock* pBlock = m_MemoryMap.BlockAt(p);
        if (pBlock->m_nItem == nItem && (pBlock->m_nSpace != nSpace || pBlock->m_dwAddress != dwAddress)) {
            pBlock->m_nSpace = nSpace;
            pBlock->m_dwAddress = dwAddress;
            pBlock->m_pData = pData;
            if (m_hWnd)
                Invalidate(FALSE);
            return;
        }
    }
}

void C_IDEMemoryEdit::ReadMemory(DWORD nSpace, DWORD dwAddress)
{
    if (m_pBridge)
        m_pBridge->ReadMemory(nSpace, dwAddress);
}

BOOL C_IDEMemoryEdit::WriteMemory(DWORD nSpace, DWORD dwAddress, int nItem, int nOffset, int nValue)
{
    return m_pBridge ? m_pBridge->WriteMemory(nSpace, dwAddress, nItem, nOffset, nValue) : FALSE;
}

BOOL C_IDEMemoryEdit::GotoAddress(DWORD nSpace, DWORD dwAddress)
{
    DWORD nPos = 0;
    if (!m_MemoryMap.AddressToPosition(nSpace, dwAddress, nPos))
        return FALSE;
    if (m_bLayoutDirty)
        UpdateLayout();
    if (m_nCaretPart == MEMPART_ADDRESS)
        m_nCaretPart = MEMPART_DIGIT3;
    if (m_nDisplayMode == MEMMODE_NIBBLE && IsDigitPart(m_nCaretPart))
        m_nCaretPart = (dwAddress & 1) ? MEMPART_DIGIT2 : MEMPART_DIGIT3;
    m_nCaret = (int)nPos;
    const int page = m_nLinesPerPage * m_nBytesPerLine;
    if (m_nCaret < m_nTop || m_nCaret >= m_nTop + page) {
        int line = m_nCaret / m_nBytesPerLine;
        m_nTop = std::max(0, (line - m_nLinesPerPage / 3) * m_nBytesPerLine);
        UpdateScrollBar();
        Invalidate(FALSE);
    }
    PlaceCaret();
    SetFocus();
    return TRUE;
}

BOOL C_IDEMemoryEdit::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nCode == CN_COMMAND && !pHandlerInfo) {
        for (const Command& c : m_Commands) {
            if (c.nID == nID) {
                if (c.pfn)
                    c.pfn(this, c.lArg);
                return TRUE;
            }
        }
    }
    return C_MemoryEdit::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void C_IDEMemoryEdit::AddContextCommands(CMenu* pPopup)
{
    for (const Command& c : m_Commands)
        pPopup->AppendMenu(MF_STRING, c.nID, c.strText);
}
