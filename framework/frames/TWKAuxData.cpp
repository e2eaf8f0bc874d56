// The window framework's shared colours, border sizes and cursors.
#include "framework/frames/TWKAuxData.h"
#include "framework/frameworkres.h"

TWKAuxData twkAuxData;
BOOL twkWorkbookMode = FALSE;

TWKAuxData::TWKAuxData()
{
    bWin4 = LOBYTE(LOWORD(::GetVersion())) >= 4;
    UpdateSysColors();
    hcurArrow = ::LoadCursor(nullptr, IDC_ARROW);
    cxBorder = cyBorder = bWin4 ? 2 : 1;
}

void TWKAuxData::UpdateSysColors()
{
    clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
    clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    clrBtnHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    clrWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    clr3DLight = ::GetSysColor(COLOR_3DLIGHT);
    clr3DDkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    clrWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    clrWindow = ::GetSysColor(COLOR_WINDOW);
    clrHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    clrHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
}

void TWKAuxData::LoadSplitCursors()
{
    if (hcurHSplit)
        return;
    HINSTANCE hInst = AfxGetResourceHandle();
    hcurHSplit = ::LoadCursorA(hInst, MAKEINTRESOURCEA(IDC_TWK_HSPLITBAR));
    hcurVSplit = ::LoadCursorA(hInst, MAKEINTRESOURCEA(IDC_TWK_VSPLITBAR));
}
