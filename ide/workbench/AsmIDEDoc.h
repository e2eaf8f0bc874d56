// A source document of the "Text" template: one text file in the engine's text store.
#pragma once
#include "afx/afx.h"
#include "editor/store/TWKEdit.h"

class CAsmIDEDoc : public CDocument
{
    DECLARE_DYNCREATE(CAsmIDEDoc)
public:
    CAsmIDEDoc();
    ~CAsmIDEDoc() override;

    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCSTR lpszPathName) override;
    BOOL IsModified() override;

    TWKEdit m_Edit;
};

// Reads the file into the store; a file that cannot be read is reported and gives FALSE.
BOOL LoadDocumentText(CDocument* pDoc, TWKEdit& edit, LPCSTR lpszPathName);
