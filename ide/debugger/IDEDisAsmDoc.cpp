#include "ide/debugger/IDEDisAsmDoc.h"
#include "ide/workbench/AsmIDEDoc.h"

IMPLEMENT_DYNCREATE(C_IDEDisAsmDoc, CDocument)

C_IDEDisAsmDoc::C_IDEDisAsmDoc() = default;
C_IDEDisAsmDoc::~C_IDEDisAsmDoc() = default;

BOOL C_IDEDisAsmDoc::OnOpenDocument(LPCSTR lpszPathName)
{
    if (!LoadDocumentText(this, m_Edit, lpszPathName))
        return FALSE;
    // The emulator writes the listing; the user only reads it.
    m_Edit.SetReadOnly(TRUE);
    return TRUE;
}
