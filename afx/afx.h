// The application-framework layer: one umbrella over every area.
#pragma once
#include <windows.h>
#include "afx/module.h"
#include "afx/string.h"
#include "afx/object.h"
#include "afx/geometry.h"
#include "afx/time.h"
#include "afx/collections.h"
#include "afx/file.h"
#include "afx/archive.h"
#include "afx/cmdtarget.h"
#include "afx/gdi.h"
#include "afx/menu.h"
#include "afx/wnd.h"
#include "afx/app.h"
#include "afx/frame.h"
#include "afx/controlbar.h"
