// The engine's modeless Find and Replace dialogs. The window keeps pointers
// to them and closes open ones when it goes; the find driver comes with the
// find and replace commands.
#pragma once
#include "afx/afx.h"

class OEFindReplaceDlg : public CFindReplaceDialog
{
};
