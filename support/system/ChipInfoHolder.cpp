#include "support/system/ChipInfo.h"

// Keeps the holder count above zero from start-up to the end of the process.
C_ChipInfoPtr g_ChipInfoHolder;
