// The disassembly listing of the "DisAsm" template: the listing file the
// emulator writes, its line colours and its breakpoint marks.
#pragma once
#include "afx/afx.h"
#include "ide/workbench/IDEEdit.h"
#include <vector>

class C_IDEDisAsmDoc : public CDocument
{
    DECLARE_DYNCREATE(C_IDEDisAsmDoc)
public:
    C_IDEDisAsmDoc();
    ~C_IDEDisAsmDoc() override;

    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    void ReloadListing(LPCSTR lpszPath, BOOL bClearColors);

    // Breakpoint marks by listing line.
    void ResetMarks();
    void RebuildBreakLineMap();
    void RefreshMarkers();
    void InsertBreakpoint(int nLine);
    void RemoveBreakpoint(int nLine);
    void ToggleBreakpointEnable(int nLine);
    // Every source document shows the emulator's breakpoints again.
    static void SyncSourceBreakpoints();
    // 0 none, 1 disabled, 2 enabled.
    int GetLineBreakState(int nLine) const;
    BOOL HasMarks() const { return m_bHasMarks; }

    C_IDEEdit m_Edit;
    int m_nPCLine = -1;
    BOOL m_bMarksEnabled = TRUE;

private:
    // The source line of a listing line, through the ICE; FALSE when it has none.
    BOOL ListingToSource(int nLine, CString& strPath, int& nSourceLine);
    // Through the emulator's store, on the listing line's source line.
    void ChangeBreakpoint(int nLine, BOOL bInsert);
    BOOL m_bHasMarks = FALSE;
    std::vector<BYTE> m_marks;   // per listing line
};
