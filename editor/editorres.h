// Resource ids of the editor engine (shared with .rc files: macros only).
#pragma once

// Messages: operations return 0 or one of these ids.
#define IDS_TWK_READONLY        22575
#define IDS_TWK_CLIPEMPTY       22576
#define IDS_TWK_CANTREAD        22577
#define IDS_TWK_LINETOOLONG     22578
#define IDS_TWK_NOMEMORY        22579
#define IDS_TWK_ENDOFFILE       22580
#define IDS_TWK_NOSELECTION     22581
#define IDS_TWK_UNTITLED        22582
#define IDS_TWK_TOPOFFILE       22583
#define IDS_TWK_NOTEXT          22584
#define IDS_TWK_STREAMONLY      22585
#define IDS_TWK_NOTFOUND        22586
#define IDS_TWK_WRAPPED         22587
#define IDS_TWK_FINISHED        22588
#define IDS_TWK_JOINLINE        22589
#define IDS_TWK_DELETELINE      22590
#define IDS_TWK_NULLS           22609
#define IDS_TWK_LONGLINES       22610

// Profile key names of the editor settings.
#define IDS_TWK_KEY_TABSIZE     22591
#define IDS_TWK_KEY_KEEPTABS    22592
#define IDS_TWK_KEY_SHOWTABS    22593
#define IDS_TWK_KEY_FONTNAME    22594
#define IDS_TWK_KEY_FONTSIZE    22595
#define IDS_TWK_KEY_WORDWRAP    22596
#define IDS_TWK_KEY_INSERT      22597
#define IDS_TWK_KEY_LOCKFILES   22598
#define IDS_TWK_KEY_LINEEND     22599
#define IDS_TWK_KEY_FONTWEIGHT  22611
#define IDS_TWK_KEY_FONTITALIC  22612
#define IDS_TWK_KEY_CHARSET     22613

// The editing window's resources.
#define IDR_TWK_ACCEL           22500
#define IDB_TWK_GUTTER          22501
#define IDC_TWK_GUTTER          22502
#define IDD_TWK_FIND            22700
#define IDD_TWK_REPLACE         22701
#define IDD_TWK_PAGESETUP       22702
// Controls of the Find and Replace dialogs besides the system's own.
#define IDC_TWK_MARKALL         101
#define IDC_TWK_REGEX           102
#define IDC_TWK_FINDCOMBO       103
#define IDC_TWK_REPLACECOMBO    106
#define IDC_TWK_WRAP            108
#define IDC_TWK_HEADER          104
#define IDC_TWK_FOOTER          107
#define IDC_TWK_HEADER_FILETIME 109
#define IDC_TWK_HEADER_SYSTIME  110
#define IDC_TWK_FOOTER_FILETIME 111
#define IDC_TWK_FOOTER_SYSTIME  112

// Update hint of a view that scrolled (22590, IDS_TWK_DELETELINE, is the other).
#define TWK_HINT_SCROLL         49054

// The engine's commands.
#define ID_TWK_DOWN             45000
#define ID_TWK_UP               45001
#define ID_TWK_LEFT             45002
#define ID_TWK_RIGHT            45003
#define ID_TWK_PAGEUP           45004
#define ID_TWK_PAGEDOWN         45005
#define ID_TWK_HOME             45006
#define ID_TWK_END              45007
#define ID_TWK_TOPOFFILE        45008
#define ID_TWK_BOTTOMOFFILE     45009
#define ID_TWK_WORDLEFT         45010
#define ID_TWK_WORDRIGHT        45011
#define ID_TWK_MERGE            45012
#define ID_TWK_SELECTUP         45013
#define ID_TWK_SELECTLEFT       45014
#define ID_TWK_SELECTDOWN       45015
#define ID_TWK_SELECTEND        45016
#define ID_TWK_SELECTHOME       45017
#define ID_TWK_SELECTPAGEDOWN   45018
#define ID_TWK_SELECTWORDLEFT   45019
#define ID_TWK_SELECTPAGEUP     45020
#define ID_TWK_SELECTRIGHT      45021
#define ID_TWK_SELECTWORDRIGHT  45022
#define ID_TWK_BACKSPACE        45023
#define ID_TWK_TAB              45024
#define ID_TWK_BACKTAB          45025
#define ID_TWK_FINDNEXT         45026
#define ID_TWK_TOGGLEBOOKMARK   45027
#define ID_TWK_NEXTBOOKMARK     45028
#define ID_TWK_PREVBOOKMARK     45029
#define ID_TWK_CLEARBOOKMARKS   45030
#define ID_TWK_PAGESETUP        45031
#define ID_TWK_SELECTTOBOTTOM   45032
#define ID_TWK_SELECTTOTOP      45033
#define ID_TWK_SELECTALL        45034

// The framework's edit commands the engine handles.
#ifndef ID_EDIT_CLEAR
#define ID_EDIT_CLEAR           0xE120
#define ID_EDIT_COPY            0xE122
#define ID_EDIT_CUT             0xE123
#define ID_EDIT_FIND            0xE124
#define ID_EDIT_PASTE           0xE125
#define ID_EDIT_REPLACE         0xE129
#define ID_EDIT_UNDO            0xE12B
#define ID_EDIT_REDO            0xE12C
#endif
#ifndef ID_INDICATOR_OVR
#define ID_INDICATOR_OVR        0xE704
#endif
