// The disassembly listing of the "DisAsm" template: the listing file in the engine's text store.
#pragma once
#include "afx/afx.h"
#include "editor/store/TWKEdit.h"

class C_IDEDisAsmDoc : public CDocument
{
    DECLARE_DYNCREATE(C_IDEDisAsmDoc)
public:
    C_IDEDisAsmDoc();
    ~C_IDEDisAsmDoc() override;

    BOOL OnOpenDocument(LPCSTR lpszPathName) override;

    TWKEdit m_Edit;
};
