// What the framework's MDI and SDI main frames do alike: their edge dock bars,
// the layout's redraw and the workspace commands.
#pragma once
#include "afx/afx.h"

// The edge dock bars in the order that decides which takes a bar.
struct TWKEdgeDockBar {
    UINT nID;
    DWORD dwStyle;
};
extern const TWKEdgeDockBar twkEdgeDockBars[4];

// Creates the edge dock bars of the sides asked for that the frame lacks,
// each made by pfnCreate (a frame's CreateDockBar); a failure raises the
// resource exception.
void TWKCreateEdgeDockBars(CFrameWnd* pFrame, DWORD dwDockStyle, DWORD dwExtra,
                          CDockBar* (*pfnCreate)(CFrameWnd* pFrame));
// The dock bar with that child id; NULL for 0 or any other bar.
CDockBar* TWKGetDockBar(CFrameWnd* pFrame, UINT nDockBarID);
// The edge dock bar whose alignment is exactly dwAlign's.
CDockBar* TWKFindDockBarForAlign(CFrameWnd* pFrame, DWORD dwAlign);
// The edge dock bar that still holds the bar's place.
CDockBar* TWKFindPlaceHolder(CFrameWnd* pFrame, CControlBar* pBar);
// After the base layout: a full redraw the first time, later only the bars
// the dock bars marked; then the area the bars leave free is recorded.
void TWKRedrawAfterLayout(CFrameWnd* pFrame, CRect& rectLastInside);
// Print preview ended: the whole frame is drawn again.
void TWKRedrawAfterPreview(CFrameWnd* pFrame, BOOL bPreview);

// The workspace commands: their handlers do nothing and leave their items as they are.
#define TWK_WORKSPACE_COMMANDS()                                        \
    ON_COMMAND(43007, OnWorkspaceCommand)                               \
    ON_COMMAND(43008, OnWorkspaceCommand)                               \
    ON_COMMAND(43009, OnWorkspaceCommand)                               \
    ON_COMMAND(43012, OnWorkspaceCommand)                               \
    ON_COMMAND(43013, OnWorkspaceCommand)                               \
    ON_COMMAND(43014, OnWorkspaceCommand)                               \
    ON_COMMAND_EX_RANGE(43031, 43039, OnWorkspaceOpen)                  \
    ON_UPDATE_COMMAND_UI(43007, OnUpdateWorkspaceCommand)               \
    ON_UPDATE_COMMAND_UI(43008, OnUpdateWorkspaceCommand)               \
    ON_UPDATE_COMMAND_UI(43009, OnUpdateWorkspaceCommand)               \
    ON_UPDATE_COMMAND_UI(43012, OnUpdateWorkspaceCommand)               \
    ON_UPDATE_COMMAND_UI(43013, OnUpdateWorkspaceCommand)               \
    ON_UPDATE_COMMAND_UI(43014, OnUpdateWorkspaceCommand)               \
    ON_UPDATE_COMMAND_UI_RANGE(43031, 43039, OnUpdateWorkspaceCommand)
