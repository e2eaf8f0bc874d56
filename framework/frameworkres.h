// Resource ids of the window framework (macros only: read by the resource compiler too).
#ifndef VT_FRAMEWORK_FRAMEWORKRES_H
#define VT_FRAMEWORK_FRAMEWORKRES_H

// ---- Frames and docking
// Cursors shared by the dock bars, the list and the tab windows.
#define IDC_TWK_COLUMNSIZE          20692
#define IDC_TWK_HSPLITBAR           30980
#define IDC_TWK_VSPLITBAR           30981
// Gripper tool tips of a docked bar.
#define IDS_TWK_HIDEDOCKED          20655
#define IDS_TWK_EXPANDDOCKED        20657
#define IDS_TWK_CONTRACTDOCKED      20658
// A bar's context menu.
#define ID_TWK_ALLOWDOCKING         43040
#define ID_TWK_HIDEBAR              43041
#define ID_TWK_FLOATINMDI           43042
// Status-line hint while a bar is dragged.
#define IDS_TWK_PREVENTDOCKING      20535
// The MDI child that hosts a bar floating in the main window (only an icon).
#define IDR_TWK_BARHOST             20514
// The system-command extension's state menu.
#define IDS_TWK_SCX_DOCKED          21009
#define IDS_TWK_SCX_FLOATING        21076
#define IDS_TWK_SCX_MDICHILD        21077
#define IDS_TWK_SCX_TOP             21078
#define IDS_TWK_SCX_LEFT            21079
#define IDS_TWK_SCX_BOTTOM          21080
#define IDS_TWK_SCX_RIGHT           21081
#define IDS_TWK_SCX_DOCKEDTO        21082
#define IDS_TWK_SCX_MINIMIZED       21083
#define IDS_TWK_SCX_MAXIMIZED       21084
#define IDS_TWK_SCX_RESTORED        21085
#define IDS_TWK_SCX_MDICHILDAS      21086

// ---- Tab controls and tab windows (tests)
#define IDI_TWK_TEST_TABICON        28132

// ---- Toolbars (tests): toolbar resources with bitmaps of the same ids, and
// their commands
#define IDR_TWK_TEST_TOOLBAR        0x7D30   // 16 x 15 images A B | C D E
#define IDR_TWK_TEST_TOOLBAR_LARGE  0x7D31   // the same ids, 24 x 23 images
#define IDR_TWK_TEST_TOOLBAR2       0x7D32   // 20 x 18 images C F
#define IDR_TWK_TEST_TOOLBAR_CUT    0x7D33   // its count promises more ids than it holds
#define IDR_TWK_TEST_TOOLBAR_NOBMP  0x7D34   // a toolbar resource without a bitmap
#define IDR_TWK_TEST_MENU           0x7D35   // a MENU template: File (Open, -, Recent >, Exit), Edit, Help
#define ID_TWK_TEST_A               0x7D61
#define ID_TWK_TEST_B               0x7D62
#define ID_TWK_TEST_C               0x7D63
#define ID_TWK_TEST_D               0x7D64
#define ID_TWK_TEST_E               0x7D65
#define ID_TWK_TEST_F               0x7D66
// Commands with a status-line prompt: with its tool tip after a newline, and alone.
#define ID_TWK_TEST_G               0x7D67
#define ID_TWK_TEST_H               0x7D68
// A dialog bar's template (with a caption, which the bar drops) and its
// controls: a combo box its dialog-init data fills, a button.
#define IDD_TWK_TEST_DIALOGBAR      0x7E40
#define IDC_TWK_TEST_DLGBAR_GO      0x7E41
#define IDC_TWK_TEST_DLGBAR_COMBO   0x7E42

// ---- Menus
// The check mark of bitmap menus; the menu bar's title.
#define IDB_TWK_MENUCHECK           20525
#define IDS_TWK_MENUBAR             20619

// Browse edits, the folder picker, the editable list box and user tools.
#define IDD_TWK_DIRSELECT           2000
#define IDD_TWK_USERTOOLS           20512
#define IDB_TWK_LBE_NEW             20516
#define IDB_TWK_LBE_DELETE          20517
#define IDB_TWK_LBE_UP              20518
#define IDB_TWK_LBE_DOWN            20519
#define IDS_TWK_LBE_NEW             20531
#define IDS_TWK_LBE_DELETE          20532
#define IDS_TWK_LBE_UP              20533
#define IDS_TWK_LBE_DOWN            20534
#define IDS_TWK_DIRSELECT_NOCLOSE   20624
#define IDS_TWK_BROWSE_DIR_TITLE    20625
#define IDS_TWK_BROWSE_FILE_TITLE   20626
#define IDS_TWK_LBE_DIR_TITLE       20634
#define IDS_TWK_TOOLS_PROGRAM_TITLE 20680
#define IDS_TWK_TOOLS_PROGRAM_FILTER 20681
#define IDS_TWK_TOOLS_DIR_TITLE     20682
#define IDS_TWK_TOOLS_NEW_TOOL      20683
#define IDS_TWK_TOOLS_BLANK_TEXT    20684
#define IDC_TWK_TOOLS_LIST          43078
#define IDC_TWK_TOOLS_ADD           43079
#define IDC_TWK_TOOLS_REMOVE        43080
#define IDC_TWK_TOOLS_UP            43081
#define IDC_TWK_TOOLS_DOWN          43082
#define IDC_TWK_TOOLS_COMMAND       43083
#define IDC_TWK_TOOLS_COMMAND_LABEL 43084
#define IDC_TWK_TOOLS_MENU_TEXT     43085
#define IDC_TWK_TOOLS_ARGUMENTS     43086
#define IDC_TWK_TOOLS_DIR           43087
#define IDC_TWK_TOOLS_MENU_LABEL    43088
#define IDC_TWK_TOOLS_ARGS_LABEL    43089
#define IDC_TWK_TOOLS_DIR_LABEL     43090
#define IDC_TWK_HELP                57670

// ---- Toolbars
#define IDS_TWK_TOOLBAR_TITLE       20674
// Dragging a copy of a button; sizing a window button by its right edge
// (the column-sizing cursor).
#define IDC_TWK_TBCOPY              20691
#define IDC_TWK_TBSIZE              IDC_TWK_COLUMNSIZE

// The Toolbars dialog and page, the New Toolbar dialog and the Commands page.
#define IDD_TWK_TBCOMMANDS          20509
#define IDD_TWK_TOOLBARS            20510
#define IDD_TWK_NEWTOOLBAR          20511
#define IDD_TWK_TOOLBARSPAGE        20513
#define IDS_TWK_TBRESET             20536
#define IDS_TWK_TBDELETE            20537
#define IDC_TWK_TB_BUTTONS          43093
#define IDC_TWK_TB_LIST             43094
#define IDC_TWK_TB_DESCRIPTION      43095
#define IDC_TWK_TB_NEWNAME          43096
#define IDC_TWK_TB_NAMELABEL        43097
#define IDC_TWK_TB_NEW              43098
#define IDC_TWK_TB_CUSTOMIZE        43099
#define IDC_TWK_TB_RESET            43100
#define IDC_TWK_TB_TOOLTIPS         43101
#define IDC_TWK_TB_NAME             43102
#define IDC_TWK_TB_LARGEBTNS        43103
#define IDC_TWK_TB_COOLLOOK         43104
// The Commands page's groups take control ids counting down from here.
#define IDC_TWK_TB_FIRSTGROUP       0xE8AF

#endif
