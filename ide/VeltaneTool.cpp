// The program's one application object.
#include "ide/workbench/AsmIDE.h"

CAsmIDEApp theApp;
