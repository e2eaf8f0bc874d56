// The hex-edit control of the memory pages: blocks of emulator memory laid end to end,
// shown as an address column, hexadecimal digits (nibbles, bytes or 16-bit words) and
// text, edited in place. The bytes belong to the debug page; every read and write goes
// through the bridge of the page's memory tab.
#pragma once
#include "afx/afx.h"
#include "afx/controls.h"
#include "afx/collections.h"
#include "afx/gdi.h"
#include "afx/afxres.h"
#include <string>
#include <vector>

// Reads and writes target memory for a memory-edit control. Implemented by the memory
// tab's agent; the slots are these two and nothing else.
struct I_MemoryEditBridge {
    // The byte at the block-relative offset of a debug item becomes value; FALSE refused.
    virtual BOOL WriteMemory(DWORD nSpace, DWORD dwAddress, int nItem, int nOffset, int nValue) = 0;
    // Refreshes the page buffer from the target at that space and address.
    virtual void ReadMemory(DWORD nSpace, DWORD dwAddress) = 0;

protected:
    ~I_MemoryEditBridge() = default;
};

struct I_MemoryBlock {
    virtual DWORD GetLength() = 0;
    virtual DWORD GetEnd() = 0;
    virtual BOOL PositionToAddress(DWORD nPos, DWORD& nSpace, DWORD& dwAddress) = 0;
    virtual BYTE* GetData(DWORD nPos) = 0;
    virtual BOOL WriteHighNibble(DWORD nPos, int nValue) = 0;
    virtual BOOL WriteLowNibble(DWORD nPos, int nValue) = 0;
    virtual BOOL WriteByte(DWORD nPos, int nValue) = 0;

protected:
    ~I_MemoryBlock() = default;
};

struct I_MemoryMap {
    virtual I_MemoryBlock* FindBlock(DWORD nPos) = 0;
    virtual BOOL PositionToAddress(DWORD nPos, DWORD& nSpace, DWORD& dwAddress) = 0;
    virtual DWORD GetLength() = 0;

protected:
    ~I_MemoryMap() = default;
};

class C_IDEMemoryEdit;

// Unit codes of a block: how a byte offset maps to an address of its space.
enum { MEMUNIT_NIBBLE = 1, MEMUNIT_BYTE = 2, MEMUNIT_WORD = 3 };

class C_MemoryBlock : public CObject, public I_MemoryBlock
{
public:
    C_IDEMemoryEdit* m_pOwner = nullptr;
    DWORD m_nSpace = 0;
    DWORD m_dwAddress = 0;
    DWORD m_nLength = 0;
    BYTE* m_pData = nullptr;
    DWORD m_nEnd = 0;
    int m_nUnit = MEMUNIT_BYTE;
    int m_nItem = 0;

    DWORD GetLength() override { return m_nLength; }
    DWORD GetEnd() override { return m_nEnd; }
    BOOL PositionToAddress(DWORD nPos, DWORD& nSpace, DWORD& dwAddress) override;
    BYTE* GetData(DWORD nPos) override;
    BOOL WriteHighNibble(DWORD nPos, int nValue) override;
    BOOL WriteLowNibble(DWORD nPos, int nValue) override;
    BOOL WriteByte(DWORD nPos, int nValue) override;
    virtual BOOL AddressToPosition(DWORD nSpace, DWORD dwAddress, DWORD& nPos);

    DWORD GetStart() const { return m_nEnd - m_nLength; }
    // The last address the block holds, by its unit.
    DWORD GetLastAddress() const;

private:
    // The byte at nPos becomes value: unchanged values pass without a call; otherwise only
    // an accepted write changes the buffer.
    BOOL Write(DWORD nPos, int nOffset, int nSent, BYTE byNew);
};

class C_MemoryMap : public CObList, public I_MemoryMap
{
public:
    C_MemoryMap() : CObList(10) {}
    ~C_MemoryMap() override { RemoveAll(); }

    I_MemoryBlock* FindBlock(DWORD nPos) override;
    BOOL PositionToAddress(DWORD nPos, DWORD& nSpace, DWORD& dwAddress) override;
    DWORD GetLength() override;
    virtual BOOL AddressToPosition(DWORD nSpace, DWORD dwAddress, DWORD& nPos);

    C_MemoryBlock* AddBlock(C_IDEMemoryEdit* pOwner, DWORD nSpace, DWORD dwAddress, DWORD nLength, BYTE* pData,
                            int nUnit, int nItem);
    void RemoveAll();
    C_MemoryBlock* BlockAt(POSITION& pos) { return static_cast<C_MemoryBlock*>(GetNext(pos)); }
};

// Caret parts: where in a line the caret stands.
enum { MEMPART_ADDRESS = 0, MEMPART_TEXT = 1, MEMPART_DIGIT2 = 2, MEMPART_DIGIT3 = 3, MEMPART_DIGIT4 = 4,
       MEMPART_DIGIT5 = 5 };
// Display modes.
enum { MEMMODE_NIBBLE = 0, MEMMODE_BYTE = 1, MEMMODE_WORD = 2 };

class C_MemoryEdit : public CEdit
{
public:
    C_MemoryEdit();
    ~C_MemoryEdit() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    I_MemoryMap* m_pMemoryMap = nullptr;
    DWORD m_nLength = 0;
    int m_nTop = 0;
    int m_nCaret = 0;
    int m_nCaretPart = MEMPART_DIGIT3;
    int m_nSelStart = -1, m_nSelEnd = -1;
    int m_nBytesPerLine = 16;
    int m_nLinesPerPage = 1;
    BOOL m_bPartialLine = FALSE;
    BOOL m_bKeyScroll = FALSE;
    int m_nDisplayMode = MEMMODE_BYTE;
    CFont m_font;
    int m_nCharWidth = 0, m_nLineHeight = 0;
    int m_nDataX = 0, m_nTextX = 0;
    CPoint m_ptCaret;
    BOOL m_bLayoutDirty = TRUE;

    // The bytes per line a client width in character cells gives in the current mode.
    int BytesPerLineForCells(int nCells) const;
    // The line's address text ("%04lX:%04lX ") for the line starting at nPos.
    CString AddressText(int nPos);
    // The data column's text of one line (or of any run of bytes) as painted and copied.
    CString DataText(const BYTE* pBytes, int nCount, int nFirstPos) const;
    void MoveCaret(int dx, int nLines);
    void PlaceCaret();
    void UpdateLayout();
    void SelectAll();
    // The clipboard text and raw bytes of the selection; FALSE when nothing can be copied.
    BOOL GetSelectionData(std::string& text, std::string& bytes);
    void Copy();
    // The caret part and position a client point hits; FALSE outside the data.
    BOOL HitTest(CPoint pt, int& nPos, int& nPart) const;

protected:
    BOOL m_bMouseSelecting = FALSE;
    BOOL m_bCaretCreated = FALSE;
    BOOL m_bFocused = FALSE;

    void MeasureFont();
    void UpdateScrollBar();
    void ScrollTo(int nTop, BOOL bKeepCaretLine);
    int LastTop() const;
    int DigitOffset(int nColumn, int nPart) const;   // cells from the data column's left edge
    void ExtendSelection(int nEnd);
    void ClearSelection();
    int SelectionEndFor(int nPos, int nPart) const;
    void WriteChar(UINT nChar);
    virtual void AddContextCommands(CMenu* /*pPopup*/) {}

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnEditCopy();
    afx_msg void OnEditSelectAll();
    afx_msg void OnEditNothing();
    DECLARE_MESSAGE_MAP()
};

class C_IDEMemoryEdit : public C_MemoryEdit
{
public:
    typedef void (*PFN_MemoryCommand)(C_IDEMemoryEdit* pEdit, LPARAM lArg);
    struct Command {
        CString strText;
        UINT nID;
        PFN_MemoryCommand pfn;
        LPARAM lArg;
    };

    explicit C_IDEMemoryEdit(I_MemoryEditBridge* pBridge) : m_pBridge(pBridge) {}
    ~C_IDEMemoryEdit() override;

    virtual void AddBlock(DWORD nSpace, DWORD dwAddress, DWORD nLength, BYTE* pData, int nUnit, int nItem);
    virtual BOOL AddCommand(LPCSTR lpszText, UINT nID, PFN_MemoryCommand pfn, LPARAM lArg);

    void ResetMemory();
    void UpdateBlock(int nItem, DWORD nSpace, DWORD dwAddress, BYTE* pData);
    void ReadMemory(DWORD nSpace, DWORD dwAddress);
    BOOL WriteMemory(DWORD nSpace, DWORD dwAddress, int nItem, int nOffset, int nValue);
    BOOL GotoAddress(DWORD nSpace, DWORD dwAddress);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    I_MemoryEditBridge* m_pBridge;
    C_MemoryMap m_MemoryMap;
    std::vector<Command> m_Commands;

protected:
    void AddContextCommands(CMenu* pPopup) override;
};
