// Resource ids of the window framework (macros only: read by the resource compiler too).
#ifndef VT_FRAMEWORK_FRAMEWORKRES_H
#define VT_FRAMEWORK_FRAMEWORKRES_H

// ---- Tab controls and tab windows (tests)
#define IDI_TWK_TEST_TABICON        28132

#endif
