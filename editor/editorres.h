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
