// The window framework's shared colours, border sizes and cursors.
#pragma once
#include "afx/afx.h"

class TWKAuxData
{
public:
    TWKAuxData();

    int cxBorder;
    int cyBorder;
    COLORREF clrBtnFace;
    COLORREF clrBtnShadow;
    COLORREF clrBtnHilite;
    COLORREF clrWindowFrame;
    COLORREF clr3DLight;
    COLORREF clr3DDkShadow;
    COLORREF clrWindowText;
    COLORREF clrWindow;
    COLORREF clrHighlight;
    COLORREF clrHighlightText;
    HCURSOR hcurArrow;
    HCURSOR hcurHSplit = nullptr;   // loaded with the first dock bar
    HCURSOR hcurVSplit = nullptr;
    BOOL bWin4;

    // Reads the ten colours again (the frames call it on WM_SYSCOLORCHANGE).
    void UpdateSysColors();
    // The split cursors from the framework's resources, once.
    void LoadSplitCursors();
};

// Made before the program's own code runs; never destroyed explicitly.
extern TWKAuxData twkAuxData;

// Shared by all framework windows: a workbook shows its worksheets as tabs.
// The dock bars' row layout reads it; FALSE until a workbook switches it on.
extern BOOL twkWorkbookMode;
