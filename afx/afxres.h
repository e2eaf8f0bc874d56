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
