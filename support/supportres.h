// String-table ids of the support library (macros only: read by the resource compiler too).
#ifndef VT_SUPPORT_SUPPORTRES_H
#define VT_SUPPORT_SUPPORTRES_H

#define IDS_CU_ERROR                0xA000
#define IDS_CU_WARNING              0xA001
#define IDS_CU_MESSAGE              0xA003
#define IDS_CU_FATAL_ERROR          0xA004

#define IDS_CU_FULLPATH_FAILED      0xA100
#define IDS_CU_DIR_NOT_EXIST        0xA101
#define IDS_CU_FILE_NOT_EXIST       0xA102
#define IDS_CU_WRITE_FILENAME_FAILED 0xA103
#define IDS_CU_MAKE_DIR_FAILED      0xA104
#define IDS_CU_CLEAN_FILENAME_FAILED 0xA105
#define IDS_CU_LOAD_DLL_FAILED      0xA106
#define IDS_CU_COPY_FILE_FAILED     0xA107
#define IDS_CU_ACCESS_FILE_FAILED   0xA108

// The application message box's categories and texts.
#define IDS_APPMSG_MESSAGE          10001
#define IDS_APPMSG_WARNING          10002
#define IDS_APPMSG_ERROR            10003
#define IDS_APPMSG_WRITE_FILENAME_FAILED 10005
#define IDS_APPMSG_CLEAN_FILENAME_FAILED 10006
#define IDS_APPMSG_QUIT_MODIFY_CONFIG 10028
#define IDS_APPMSG_FATAL_ERROR      10030

#endif
