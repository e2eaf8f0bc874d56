// The source document: load, save and the modified state all live in the text store.
#include "ide/workbench/AsmIDEDoc.h"
#include "afx/afxres.h"

IMPLEMENT_DYNCREATE(CAsmIDEDoc, CDocument)

CAsmIDEDoc::CAsmIDEDoc() = default;
CAsmIDEDoc::~CAsmIDEDoc() = default;

BOOL LoadDocumentText(CDocument* pDoc, TWKEdit& edit, LPCSTR lpszPathName)
{
    if (edit.LoadFile(lpszPathName) != 0) {
        pDoc->ReportSaveLoadException(lpszPathName, nullptr, FALSE, AFX_IDP_FAILED_TO_OPEN_DOC);
        return FALSE;
    }
    edit.SetModified(FALSE);
    pDoc->SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CAsmIDEDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return FALSE;
    m_Edit.FreeAll();
    m_Edit.Initialize();
    return TRUE;
}

BOOL CAsmIDEDoc::OnOpenDocument(LPCSTR lpszPathName)
{
    return LoadDocumentText(this, m_Edit, lpszPathName);
}

BOOL CAsmIDEDoc::OnSaveDocument(LPCSTR lpszPathName)
{
    // The store writes a temporary file first: a failed save leaves the old file as it was.
    if (m_Edit.SaveFile(lpszPathName) != 0) {
        ReportSaveLoadException(lpszPathName, nullptr, TRUE, AFX_IDP_FAILED_TO_SAVE_DOC);
        return FALSE;
    }
    m_Edit.SetModified(FALSE);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CAsmIDEDoc::IsModified()
{
    return m_Edit.IsModified() || CDocument::IsModified();
}
