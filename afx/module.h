// Module handles the framework loads resources from.
#pragma once
#include <windows.h>

// Where strings, menus and dialogs are loaded from; the exe module unless set.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
