// The view of a source document: the engine's editing view over the document's store.
#pragma once
#include "editor/window/TWKEditView.h"

class C_IDEEditorView : public TWKEditView
{
    DECLARE_DYNCREATE(C_IDEEditorView)
public:
    TWKEdit* GetEdit() override;
};
