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

// ---- Tab controls and tab windows (tests)
#define IDI_TWK_TEST_TABICON        28132

#endif
