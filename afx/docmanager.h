// The application's list of document templates.
#pragma once
#include <windows.h>
#include "afx/collections.h"

class CDocTemplate;
class CDocument;

class CDocManager
{
public:
    CDocManager() = default;
    // Deletes the auto-deleting templates (and so their documents).
    virtual ~CDocManager();
    CDocManager(const CDocManager&) = delete;
    CDocManager& operator=(const CDocManager&) = delete;

    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;

    // An open document of that path comes to the front; otherwise the
    // template matching the extension (else the first) opens it.
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    virtual int GetOpenDocumentCount();

    CPtrList m_templateList;
};
