// The view of the disassembly listing.
#pragma once
#include "editor/window/TWKEditView.h"

class C_IDEDisAsmView : public TWKEditView
{
    DECLARE_DYNCREATE(C_IDEDisAsmView)
public:
    TWKEdit* GetEdit() override;

    // Asked by the child frame before it closes: FALSE keeps the window.
    BOOL CanCloseWindow();
    // The window goes: the debugger forgets it.
    void DetachFromDebugger();
};
