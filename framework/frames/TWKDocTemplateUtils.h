// Finding the application's document templates by name, by the objects a
// template would create, and by a frame's resource id.
#pragma once
#include "afx/afx.h"

typedef CTypedPtrList<CPtrList, CDocTemplate*> TWKDocTemplateList;

class TWKDocTemplateUtils
{
public:
    TWKDocTemplateUtils() = default;
    virtual ~TWKDocTemplateUtils() = default;

    // Position among the templates of the same registered file-type name; -1 when absent.
    virtual int GetTemplateIndex(CDocTemplate* pTemplate, LPCSTR lpszName);
    // The template at that position among those of the name, else the last of them.
    virtual CDocTemplate* FindTemplateByName(LPCSTR lpszName, int nIndex);
    virtual CDocTemplate* FindTemplate(CDocument* pDoc, CView* pView, CFrameWnd* pFrame);
    virtual UINT GetFrameResourceID(CFrameWnd* pFrame);
    virtual BOOL CollectTemplates(TWKDocTemplateList* pList);
    virtual BOOL FilterByViewAndFrame(TWKDocTemplateList* pList, CView* pView, CFrameWnd* pFrame);
    virtual BOOL FilterByFrameResource(TWKDocTemplateList* pList, CFrameWnd* pFrame);
    virtual BOOL FilterByDocClass(TWKDocTemplateList* pList, CDocument* pDoc);
    // TRUE with the template for exactly one, TRUE with NULL for none, FALSE for more.
    virtual BOOL GetSingleTemplate(TWKDocTemplateList* pList, CDocTemplate** ppTemplate);
    virtual BOOL IsDockableFrameClass(CRuntimeClass* pClass);
    virtual CRuntimeClass* GetFrameClass(CDocTemplate* pTemplate, BOOL bDockable);

private:
    // Removes the templates the predicate refuses.
    template<class Keep> static void Filter(TWKDocTemplateList* pList, Keep keep);
    static CString FileTypeName(CDocTemplate* pTemplate);
};
