// Resource ids of the framework layer (shared with .rc files: macros only).
#pragma once
#define AFX_IDS_APP_TITLE       0xE000
#define AFX_IDS_IDLEMESSAGE     0xE001

// Frames and control bars.
#define AFX_IDW_TOOLBAR             0xE800
#define AFX_IDW_STATUS_BAR          0xE801
#define AFX_IDW_DOCKBAR_TOP         0xE81B
#define AFX_IDW_DOCKBAR_LEFT        0xE81C
#define AFX_IDW_DOCKBAR_RIGHT       0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM      0xE81E
#define AFX_IDW_DOCKBAR_FLOAT       0xE81F
#define AFX_IDW_PANE_FIRST          0xE900
#define AFX_IDW_PANE_LAST           0xE9FF
#define AFX_IDW_CONTROLBAR_FIRST    0xE800
#define AFX_IDW_CONTROLBAR_LAST     0xE8FF
#define AFX_IDM_FIRST_MDICHILD      0xFF00
#define ID_SEPARATOR                0
#define ID_INDICATOR_EXT            0xE700
#define ID_INDICATOR_CAPS           0xE701
#define ID_INDICATOR_NUM            0xE702
#define ID_INDICATOR_SCRL           0xE703
#define ID_INDICATOR_OVR            0xE704
#define ID_INDICATOR_REC            0xE705
#define ID_INDICATOR_KANA           0xE706
#define ID_INDICATOR_LAST           0xE707
#define ID_VIEW_TOOLBAR             0xE800
#define ID_VIEW_STATUS_BAR          0xE801
#define ID_WINDOW_NEW               0xE130
#define ID_WINDOW_ARRANGE           0xE131
#define ID_WINDOW_CASCADE           0xE132
#define ID_WINDOW_TILE_HORZ         0xE133
#define ID_WINDOW_TILE_VERT         0xE134
#define ID_WINDOW_SPLIT             0xE135

// Documents, views, printing and the application's file commands.
#define ID_FILE_NEW                 0xE100
#define ID_FILE_OPEN                0xE101
#define ID_FILE_CLOSE               0xE102
#define ID_FILE_SAVE                0xE103
#define ID_FILE_SAVE_AS             0xE104
#define ID_FILE_PAGE_SETUP          0xE105
#define ID_FILE_PRINT_SETUP         0xE106
#define ID_FILE_PRINT               0xE107
#define ID_FILE_PRINT_DIRECT        0xE108
#define ID_FILE_PRINT_PREVIEW       0xE109
#define ID_FILE_MRU_FILE1           0xE110
#define ID_FILE_MRU_FILE16          0xE11F
#define ID_APP_ABOUT                0xE140
#define ID_APP_EXIT                 0xE141
#define ID_HELP_INDEX               0xE142
#define ID_CONTEXT_HELP             0xE145
#define ID_HELP                     0xE146

// Edit commands. Their strings live with the editor engine and the IDE.
#define ID_EDIT_CLEAR               0xE120
#define ID_EDIT_CLEAR_ALL           0xE121
#define ID_EDIT_COPY                0xE122
#define ID_EDIT_CUT                 0xE123
#define ID_EDIT_FIND                0xE124
#define ID_EDIT_PASTE               0xE125
#define ID_EDIT_PASTE_LINK          0xE126
#define ID_EDIT_PASTE_SPECIAL       0xE127
#define ID_EDIT_REPEAT              0xE128
#define ID_EDIT_REPLACE             0xE129
#define ID_EDIT_SELECT_ALL          0xE12A
#define ID_EDIT_UNDO                0xE12B
#define ID_EDIT_REDO                0xE12C

// Help contexts: a command's is HID_BASE_COMMAND + its id, a window's or
// resource's HID_BASE_RESOURCE + its id.
#define HID_BASE_COMMAND            0x10000
#define HID_BASE_RESOURCE           0x20000

// The prompts of the system menu's commands (0xEF00 + (SC_xxx - 0xF000) / 16).
#define AFX_IDS_SCFIRST             0xEF00
#define AFX_IDS_SCSIZE              0xEF00
#define AFX_IDS_SCMOVE              0xEF01
#define AFX_IDS_SCMINIMIZE          0xEF02
#define AFX_IDS_SCMAXIMIZE          0xEF03
#define AFX_IDS_SCNEXTWINDOW        0xEF04
#define AFX_IDS_SCPREVWINDOW        0xEF05
#define AFX_IDS_SCCLOSE             0xEF06
#define AFX_IDS_SCRESTORE           0xEF12
#define AFX_IDS_SCTASKLIST          0xEF13
#define AFX_IDS_MDICHILD            0xEF1F
// The floating bar's system-menu item that hides the bar (in place of Close).
#define AFX_IDS_HIDE                0xF011
// Their strings (one block of 16).
#define AFX_IDS_UNTITLED            0xF100
#define AFX_IDS_SAVEFILE            0xF101
#define AFX_IDS_SAVEFILECOPY        0xF102
#define AFX_IDS_OPENFILE            0xF103
#define AFX_IDS_ALLFILTER           0xF104
#define AFX_IDP_ASK_TO_SAVE         0xF105
#define AFX_IDP_FAILED_TO_OPEN_DOC  0xF106
#define AFX_IDP_FAILED_TO_SAVE_DOC  0xF107
#define AFX_IDP_FAILED_TO_CREATE_DOC 0xF108
#define AFX_IDP_NO_PRINTER          0xF109
#define AFX_IDS_PREVIEW_CLOSE       0xF10A
#define AFX_IDS_PREVIEW_NEXT        0xF10B
#define AFX_IDS_PREVIEW_PREV        0xF10C
#define AFX_IDS_PREVIEW_PRINT       0xF10D
#define AFX_IDP_FAILED_TO_PRINT     0xF10E
