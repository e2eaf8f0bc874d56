// The base of control-bar managers.
#include "framework/frames/TWKControlBarManager.h"

IMPLEMENT_DYNAMIC(TWKControlBarManager, CObject)
