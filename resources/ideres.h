// Resource and command ids of the IDE (shared with .rc files: macros only).
// The framework layer's standard ids (ID_FILE_*, ID_EDIT_*, ID_VIEW_*, ID_WINDOW_*,
// ID_APP_*) come from afx/afxres.h; the editor engine's from editor/editorres.h.
// Ids of our own that nothing else fixes: start-up 34000-34099, output and tools
// 34100-34199, projects 34200-34299, build and sources 34300-34399, emulator
// 34400-34499, options and resources 34500-34599, memory and writer 34600-34699,
// debugger views 34700-34799, debug list bars 34800-34899.
#pragma once

// ---- Frame, templates, dialogs, icons
#define IDR_MAINFRAME                   128     // menu, accelerators, icon, title, small toolbar
#define IDR_TEXTTYPE                    129     // "Text" template: menu and document string
#define IDR_DISASMTYPE                  131     // "DisAsm" template: menu and document string
#define IDR_MAINFRAME_LARGE             153     // large toolbar images
#define IDD_ABOUTBOX                    100
#define IDP_OLE_INIT_FAILED             100     // string
#define IDS_VERSION                     139     // "1.00.004": the layout's version text
#define IDI_STATUS_ICON                 172     // icon of the status bar's icon pane
#define IDC_ABOUT_VERSION               1071
#define IDC_ABOUT_LINK                  1111
#define IDC_ABOUT_NOTICE1               34000
#define IDC_ABOUT_NOTICE2               34001

// ---- Bars and toolbars (control-bar ids)
#define IDW_FILE_TOOLBAR                0xE800  // = ID_VIEW_TOOLBAR
#define IDW_PROJECT_BAR                 0xE703
#define IDW_OUTPUT_BAR                  0xE704
#define IDW_PREVIEW_BAR                 0xE705
#define IDW_BUILD_TOOLBAR               0xE805
#define IDW_DEBUG_TOOLBAR               0xE806
#define IDW_TOOLS_TOOLBAR               0xE807
#define IDC_FIND_BOX                    0xF197  // the File toolbar's find combo box
#define ID_VIEW_BUILD_TOOLBAR           59397   // toggles 0xE805
#define ID_VIEW_DEBUG_TOOLBAR           59398   // toggles 0xE806
#define ID_VIEW_TOOLS_TOOLBAR           59399   // toggles 0xE807
#define ID_INDICATOR_PROGRESS           0xE700
#define ID_INDICATOR_ICON               0xE707

// ---- File
#define ID_FILE_NEW_PROJECT             32772
#define ID_FILE_SAVE_ALL                32773
#define ID_FILE_SAVE_PROJECT            32774
#define ID_FILE_CLOSE_PROJECT           32775
#define ID_FILE_MRU_PROJECT1            32776   // .. 32791
#define ID_FILE_MRU_PROJECT16           32791
#define ID_FILE_DUPLICATE_PROJECT       32792
#define ID_FILE_SAVEAS_TEMPLATE         40080
#define ID_FILE_WRITE_FILE              40093

// ---- Edit
#define ID_EDIT_FIND_IN_FILES           32802
#define ID_EDIT_FIND_NEXT               32807
#define ID_EDIT_UNDO_LIST               32808   // drop-down of the Undo split button
#define ID_EDIT_REDO_LIST               32809   // drop-down of the Redo split button
#define ID_EDIT_COLUMN_MODE             32810
#define ID_OUTPUT_CLEAR                 28672   // output window: clear the active page

// ---- View
#define ID_VIEW_PROJECT_BAR             40005
#define ID_VIEW_OUTPUT_BAR              40006
#define ID_VIEW_PREVIEW_BAR             40007
#define ID_VIEW_LARGE_BUTTONS           33001
#define ID_VIEW_NORMAL_BUTTONS          33002
#define ID_VIEW_DEBUG_REGISTER          33003
#define ID_VIEW_DEBUG_WATCH             33004
#define ID_VIEW_DEBUG_MEMORY            33005
#define ID_VIEW_DEBUG_OPTION            33006
#define ID_VIEW_DEBUG_STACK             33007
#define ID_VIEW_DEBUG_HISTORY           33008
#define ID_VIEW_DEBUG_CALLSTACK         33009

// ---- Project
#define ID_PROJECT_BUILD                32821
#define ID_PROJECT_REBUILD_ALL          32822
#define ID_PROJECT_COMPILE              32823
#define ID_PROJECT_CLEAN                32824
#define ID_PROJECT_OPTIONS              32825
#define ID_PROJECT_STOP_BUILD           32826
#define ID_PROJECT_WRITE                32854
#define ID_PROJECT_VERIFY               40089
#define ID_PROJECT_UPLOAD               40090
#define ID_PROJECT_WIZARD1              40066   // "Scriptlane Property Setting"
#define ID_PROJECT_WIZARD2              40077   // "Synthesis Library Property Setting"
#define ID_PROJECT_WIZARD4              40081   // "Pinweave Property Setting"

// ---- Debug
#define ID_DEBUG_START                  32841
#define ID_DEBUG_CLOSE                  32842
#define ID_DEBUG_RUN                    32843
#define ID_DEBUG_STOP                   32845
#define ID_DEBUG_RESTART                32846
#define ID_DEBUG_STEP_OVER              32847
#define ID_DEBUG_STEP_INTO              32848
#define ID_DEBUG_STEP_OUT               32849
#define ID_DEBUG_RUN_TO_CURSOR          32850
#define ID_DEBUG_BREAKPOINTS            32853
#define ID_DEBUG_SET_PORT               32855
#define ID_DEBUG_TOGGLE_BREAKPOINT      32856
#define ID_DEBUG_DISPLAY_DECIMAL        32857
#define ID_DEBUG_DELETE_WATCH           32858
#define ID_DEBUG_MODIFY_SOURCE          32859
#define ID_DEBUG_RELOAD_HISTORY         32860
#define ID_DEBUG_VIEW_DISASSEMBLY       32861
#define ID_DEBUG_AUTO_RELOAD            32862
#define ID_DEBUG_DISPLAY_HEX            32863
#define ID_DEBUG_DISPLAY_BINARY         32864
#define ID_DEBUG_ENABLE_BREAKPOINT      32865
#define ID_DEBUG_CLEAR_HISTORY          32866
#define ID_DEBUG_EXECUTE                40055
#define ID_DEBUG_RELOAD                 40056
#define ID_DEBUG_RESET_ICE              40057
#define ID_DEBUG_EXECUTE_OTHER          40058
#define ID_DEBUG_STOP_WRITING           40059
#define ID_DEBUG_WRITE_OTHER            40060
#define ID_DEBUG_DIAGNOSE               40061
#define ID_DEBUG_DOWNLOAD               40062
#define ID_DEBUG_DOWNLOAD_OTHER         40063
#define ID_DEBUG_CONFIGURATION          40064
#define ID_ICE_ACTION_FIRST             62000   // .. 62254: the emulator's actions
#define ID_ICE_ACTION_LAST              62254

// ---- Tools
#define ID_TOOLS_CUSTOMIZE              40034
#define ID_TOOLS_USER_FIRST             40035   // user tools from here on
#define ID_TOOLS_USER_ROUTED_LAST       40043   // the last user tool the frame routes
#define ID_TOOLS_PREDEFINED_FIRST       32901   // .. 32916
#define ID_TOOLS_PREDEFINED_LAST        32916
#define ID_TOOLS_RESOURCE_OPTIONS       40076

// ---- File view ranges
#define ID_FILEVIEW_INCLUDED_FIRST      24577   // .. 26624: the file tree's popups, routed to the project window
#define ID_FILEVIEW_INCLUDED_LAST       26624
#define ID_FILEVIEW_EMBEDDED_FIRST      26625   // .. 28672 (28672 itself is Clear)
#define ID_FILEVIEW_EMBEDDED_LAST       28672

// ---- Output window and the undo and redo lists
#define IDR_OUTPUT_MENU                 123     // a page's context menu

// ---- Find in Files and the user tools
#define IDD_FIND_IN_FILES               135
#define IDC_FIND_TEXT                   61847
#define IDC_FIND_TYPES                  1032
#define IDC_FIND_FOLDER                 1033
#define IDC_FIND_BROWSE                 1034
#define IDC_FIND_MATCH_CASE             1035
#define IDC_FIND_SUBFOLDERS             1036
#define IDS_FIND_NOT_FOUND              4108
#define IDS_TOOL_EXECUTE_FAILED         4111
#define IDS_CAPTION_ERROR               40960   // the support library's "Error: " (support.rc)
#define IDS_FIND_CAPTION                40963
#define ID_TOOLS_USER_LAST              40050   // the frame routes user tools up to here (16)
// ---- Projects and the project workspace (34200-34249 kept for their own ids)
#define IDS_UNABLE_OPEN_PROJECT         4102
#define IDS_LOAD_FILEINFO_FAILED        4103
#define IDS_OPEN_FILE_FAILED            4104
#define IDS_SAVE_CURRENT_PROJECT        4105
#define IDS_CLOSE_ALL_DOCUMENTS         4106
#define IDS_FILE_MODIFIED_OUTSIDE       4107
#define IDS_INVALID_OBJ_FILE            4113
#define IDS_PATH_TOO_LONG               4121
#define IDS_SAME_DUPLICATE_FOLDER       4122
#define IDS_SPACE_IN_FILENAME           4123
#define IDS_CREATE_OBJ_PROJECT          4224
#define IDS_CAPTION_MESSAGE             40963

// ---- Project tree and file view
#define IDB_PROJECT_TREE                142     // 238 x 24: ten images 23 wide
#define IDI_PROJECT_TAB                 132     // the "Source Files" tab
#define IDD_INPUT_NAME                  167
#define IDC_INPUT_NAME_EDIT             1087
#define IDC_INPUT_NAME_PROMPT           1088
#define IDS_FOLDER_LIMIT                4096
#define IDS_FOLDER_ONE_TARGET           4110
#define IDS_NO_BLANK_NAME               4123
#define IDS_CAPTION_WARNING             40961
#define ID_FILEVIEW_OPEN                40011
#define ID_FILEVIEW_REMOVE              40013
#define ID_FILEVIEW_ADD_TO_FOLDER       40014
#define ID_FILEVIEW_ADD_TO_PROJECT      40015
#define ID_FILEVIEW_NEW_FILE            40018
#define ID_FILEVIEW_ADD_SUBFOLDER       40019
#define ID_FILEVIEW_DELETE_SUBFOLDER    40020
#define ID_FILEVIEW_ACTIVATE_SUBFOLDER  40021
#define ID_FILEVIEW_RENAME_SUBFOLDER    40022
#define ID_FILEVIEW_EQUATION_FIRST      28673
#define ID_FILEVIEW_EQUATION_LAST       30720
#define ID_FILEVIEW_FILE_ACTION_FIRST   39001   // .. 39100
#define ID_FILEVIEW_SUBFOLDER_ACTION_FIRST 39101 // .. 39200
#define ID_FILEVIEW_FOLDER_ACTION_FIRST 39201
#define ID_FILEVIEW_FOLDER_ACTION_LAST  39300

// ---- Emulator port dialog
#define IDD_ICE_PORT                    155
#define IDC_ICE_PORT_COM1               1060    // .. 1066 "COM1".."COM4", "LPT1".."LPT3": hidden, disabled
#define IDC_ICE_PORT_USB                1067
#define IDC_ICE_PORT_SERIAL             1107
#define IDC_ICE_PORT_PARALLEL           1108
#define IDC_ICE_PORT_SERIAL_LIST        1109
#define IDC_ICE_PORT_PARALLEL_LIST      1110
#define IDC_ICE_PORT_GROUP              34400
#define IDS_ICE_PART_NOT_SUPPORTED      0x1100

// ---- Memory edit control, go-to strip, writer (34600-34699)
#define IDR_MEMORY_EDIT_MENU            103     // the hex-edit control's context menu
#define IDD_GOTO_PC                     162     // the go-to strip (memory windows and the disassembly view)
#define IDC_GOTO_SPACE                  34630
#define IDC_GOTO_ADDRESS                34631
#define IDC_GOTO_GO                     34632
#define IDD_WRITER_MODE                 34600   // "Write File"
#define IDC_WRITER_UBP_LIST             34601
#define IDC_WRITER_WRITER_LIST          34602
#define IDC_WRITER_STORAGE_SIZE         34603
#define IDC_WRITER_START_ADDRESS        34604
#define IDC_WRITER_VERIFY               34605
#define IDC_WRITER_INPUT_BROWSE         34606
#define IDC_WRITER_INPUT_FILE           34607
#define IDC_WRITER_PROGRESS             34608
#define IDC_WRITER_BURN                 34609
#define IDD_UPLOAD_SIZE                 34620   // "Upload Size Setting"
#define IDC_UPLOAD_USER_SIZE            34621
#define IDC_UPLOAD_SYS_SIZE             34622
#define IDS_WRITER_USER_NOT_FOUND       34650   // "User Disk file [%s] is not found"
#define IDS_WRITER_LOAD_FAILED          34651
#define IDS_WRITER_ENTRY_FAILED         34652
#define IDS_WRITER_WRITE_FAIL           34653
#define IDS_WRITER_UPLOAD_FAIL          34654
#define IDS_WRITER_VERIFY_FAIL          34655
#define IDS_WRITER_NEED_BUILD           34656
#define IDS_WRITER_STORAGE_TYPE_FAIL    34657
#define IDS_WRITER_NO_SUCH_FILE         34658
#define IDS_WRITER_FILE_TOO_LARGE       34659
#define IDS_WRITER_CANNOT_WRITE         34660
#define IDS_UPLOAD_SYS_SIZE_WRONG       34661
#define IDS_UPLOAD_USER_SIZE_WRONG      34662
// ---- Debugger views (34700-34799)
#define IDC_DISASM_HEADER               61440   // the disassembly view's column header
#define IDC_DISASM_LISTING              61444   // its listing control
#define IDC_DISASM_ATTACH_EDIT          53248   // its in-place source editor
#define IDS_DISASM_FILE_MISSING         34700   // "Disassembled assembly file %s does not exist !!"
#define IDS_DISASM_NO_MAPPING           34701   // "No disassembly code mapping on this line. ..."
#define IDS_LEAVE_DEBUGGING             4355    // "This action will leave debugging environment !"
// ---- Project options, new projects and templates (own ids 34500-34599)
#define IDD_PROJECT_OPTIONS             102
#define IDD_OPTIONS_GENERAL             117
#define IDC_OPTIONS_TABWND              0xE900
#define IDC_OPTIONS_OUTPUT_NAME         1002
#define IDC_OPTIONS_MAX_ERRORS          1003
#define IDC_OPTIONS_MAX_ERRORS_SPIN     1004
#define IDC_OPTIONS_MAX_WARNINGS        1005
#define IDC_OPTIONS_MAX_WARNINGS_SPIN   1006
#define IDC_OPTIONS_AUTO_SAVE           1007
#define IDC_OPTIONS_AUTO_OPEN_REPORT    1008
#define IDC_OPTIONS_MANUAL_MODULES      1009
#define IDC_OPTIONS_BUILD_TARGET        1070
#define IDC_OPTIONS_AUTO_CHECK          1086
#define IDC_OPTIONS_STORAGE_MEDIA       1113
#define IDS_OUTPUT_NAME_EMPTY           4116
#define IDS_MAX_WARNING_ZERO            4119
#define IDS_MAX_ERROR_ZERO              4120
#define IDD_NEW_PROJECT                 145
#define IDD_SAVE_AS_TEMPLATE            174
#define IDB_PROJECT_TARGETS             138     // 80 x 16: five target images, white transparent
#define IDC_NEWPRJ_NAME                 1000
#define IDC_NEWPRJ_LOCATION             1001
#define IDC_NEWPRJ_TEMPLATE_PATH        1002
#define IDC_NEWPRJ_BROWSE               1034
#define IDC_NEWPRJ_PART_MENU            1035
#define IDC_NEWPRJ_TEMPLATE_BUTTON      1036
#define IDC_NEWPRJ_TARGETS              1043
#define IDC_NEWPRJ_PART                 1047
#define IDC_NEWPRJ_NAME_LABEL           1093
#define IDC_NEWPRJ_LOCATION_LABEL       1094
#define IDC_NEWPRJ_TEMPLATE_CHECK       1096
#define IDC_NEWPRJ_TEMPLATE_LABEL       34500
#define IDC_NEWPRJ_PART_LABEL           34501
#define IDC_NEWPRJ_TARGET_LABEL         34502
#define IDS_CREATE_FOLDER               4099
#define IDS_OVERWRITE_FILE              4100
#define IDS_CANNOT_CREATE_PROJECT       4101
#define IDS_CANNOT_CREATE_FOLDER        4117
#define ID_NEWPRJ_PART_FIRST            0x6000  // .. 0x7FFF: the part-number menu
#define ID_NEWPRJ_PART_LAST             0x7FFF
#define IDD_RESOURCE_EDITORS            173
#define IDC_RESSEL_TYPE                 1090
#define IDC_RESSEL_LIST                 1091
#define IDD_PREVIEW_RESOURCE            163
#define IDB_PREVIEW_EDIT                164
#define IDB_PREVIEW_PLAY                165
#define IDB_PREVIEW_STOP                166
#define IDC_PREVIEW_EDIT                1080
#define IDC_PREVIEW_PLAY                1081
#define IDC_PREVIEW_STOP                1082
#define IDC_PREVIEW_SLIDER              1083
#define IDC_PREVIEW_POSITION            1084
#define IDC_PREVIEW_RECENT              1085
// ---- Build and compile (34300-34349)
#define IDS_RELOAD_OBJ_INTO_ICE         4225
#define IDS_BUILD_BEFORE_ACTION         4226
// ---- Debug list bars (34800-34899)
#define IDB_DEBUG_TREE_IMAGES           154     // the debug trees' row image
#define IDD_MEMORY_DUMP                 175     // "Dump Memory"
#define ID_MEMORY_DUMP                  2441    // the memory page's "Dump" command
#define IDC_DUMP_BANK                   1097
#define IDC_DUMP_START                  1098
#define IDC_DUMP_END                    1099
#define IDC_DUMP_MIN                    1100
#define IDC_DUMP_MAX                    1101
#define IDC_DUMP_ALL_BANKS              1102
#define IDC_DUMP_FILE                   1103
#define IDC_DUMP_APPEND                 1104
#define IDC_DUMP_OVERWRITE              1105
#define IDC_DUMP_BROWSE                 1106
#define IDC_DUMP_BYTE                   1107
#define IDC_DUMP_WORD                   1108
#define IDC_DUMP_BINARY                 1110
#define IDC_DUMP_REGION                 34800   // the read-only "Region:" box
// ---- Undo and redo history lists (own ids 34150-34199)
#define IDD_UNDO_REDO_LIST              126
#define IDC_UNDO_REDO_LIST              1027
#define IDC_UNDO_REDO_STATUS            1028
