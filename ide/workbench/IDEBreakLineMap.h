// Breakpoint marks: the emulator's breakpoints of one file (or of the
// disassembly listing) mirrored onto two flag bits of the text store's line
// nodes, where the views paint them.
#pragma once
#include "afx/afx.h"
#include "editor/store/TWKEdit.h"

class C_IDEIceMgr;

// Flag bits of a line node: an enabled and a disabled breakpoint.
enum : WORD { LINE_BREAK_ENABLED = LINE_APPMARK2, LINE_BREAK_DISABLED = LINE_APPMARK1 };

// 0 none, 1 disabled, 2 enabled, 3 both.
int GetLineBreakState(const TWKEditLine* pLine);
void SetLineBreakState(TWKEditLine* pLine, int nState);

class C_IDEBreakLineMap : public CObject
{
public:
    C_IDEBreakLineMap(int nLine, TWKEditLine* pLine) : m_nLine(nLine), m_pLine(pLine) {}
    int m_nLine;              // the line the debugger knows the breakpoint by
    TWKEditLine* m_pLine;     // the node carrying the mark; not owned
};

class C_IDEBreakLineMapList : public CObList
{
public:
    // pszPath is borrowed (the owning document's path); NULL for the listing.
    C_IDEBreakLineMapList(TWKEdit* pEdit, C_IDEIceMgr* pIceMgr, const char* pszPath);
    ~C_IDEBreakLineMapList();
    C_IDEBreakLineMapList(const C_IDEBreakLineMapList&) = delete;
    C_IDEBreakLineMapList& operator=(const C_IDEBreakLineMapList&) = delete;

    void Load();
    BOOL InsertBreakpoint(int nLine);
    BOOL RemoveBreakpoint(int nLine);
    BOOL ToggleBreakpointEnable(int nLine);
    // Makes the debugger follow marked lines that editing moved or deleted.
    void ResyncBreakpoints(TWKEditLine* pHint);

    void RemoveAllMarks();
    POSITION FindMark(int nLine, C_IDEBreakLineMap** ppMark);
    void AddMark(int nLine, TWKEditLine* pLine, int nState);
    BOOL RemoveMark(int nLine);
    BOOL GetMarkAt(POSITION& pos, int* pnLine, TWKEditLine** ppLine);
    BOOL FindMovedLine(TWKEditLine* pHint, TWKEditLine* pLine, int nLine, int* pnNewLine);

    TWKEdit* m_pEdit;
    C_IDEIceMgr* m_pIceMgr;
    const char* m_pszPath;

protected:
    // A mark's node may have been deleted by an edit since the last resync:
    // only a node still in the store may be written.
    BOOL IsLinked(const TWKEditLine* pLine) const;
    // The marks whose nodes are gone leave the list (the debugger is not told).
    void ForgetUnlinkedMarks();
};
