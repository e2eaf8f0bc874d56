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
