// What the list's source files share among themselves.
#pragma once
#include "afx/afx.h"

// Colours shared by all lists, read once per program (again on a system
// colour change while a list reloads its colours).
COLORREF TWKListMenuColor();
COLORREF TWKListMenuTextColor();
COLORREF TWKListBtnFaceColor();
void TWKListReloadSharedColors();

// Lines scrolled horizontally per step, in pixels.
const int TWKLIST_HSCROLL_STEP = 15;
