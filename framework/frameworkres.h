// Resource ids of the window framework (macros only: read by the resource compiler too).
#ifndef VT_FRAMEWORK_FRAMEWORKRES_H
#define VT_FRAMEWORK_FRAMEWORKRES_H

#endif
