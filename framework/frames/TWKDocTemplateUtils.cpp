// Finding the application's document templates.
#include "framework/frames/TWKDocTemplateUtils.h"
#include "framework/frames/TWKDockableFrame.h"
#include "framework/frames/TWKMultiDocTemplate.h"

namespace {
CDocManager* DocManager()
{
    CWinApp* pApp = AfxGetApp();
    return pApp ? pApp->m_pDocManager : nullptr;
}
} // namespace

CString TWKDocTemplateUtils::FileTypeName(CDocTemplate* pTemplate)
{
    CString str;
    pTemplate->GetDocString(str, CDocTemplate::regFileTypeName);
    return str;
}

template<class Keep> void TWKDocTemplateUtils::Filter(TWKDocTemplateList* pList, Keep keep)
{
    for (POSITION pos = pList->GetHeadPosition(); pos;) {
        POSITION posThis = pos;
        CDocTemplate* pTemplate = pList->GetNext(pos);
        if (!keep(pTemplate))
            pList->RemoveAt(posThis);
    }
}

int TWKDocTemplateUtils::GetTemplateIndex(CDocTemplate* pTemplate, LPCSTR lpszName)
{
    CDocManager* pManager = DocManager();
    if (!pTemplate || !pManager)
        return -1;
    CString strName = lpszName ? lpszName : "";
    int nCount = 0;
    for (POSITION pos = pManager->GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* p = pManager->GetNextDocTemplate(pos);
        if (FileTypeName(p) == strName)
            nCount++;
        if (p == pTemplate)
            return nCount - 1;
    }
    return -1;
}

CDocTemplate* TWKDocTemplateUtils::FindTemplateByName(LPCSTR lpszName, int nIndex)
{
    CDocManager* pManager = DocManager();
    if (!pManager)
        return nullptr;
    CString strName = lpszName ? lpszName : "";
    CDocTemplate* pLast = nullptr;
    int nCount = 0;
    for (POSITION pos = pManager->GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* p = pManager->GetNextDocTemplate(pos);
        if (FileTypeName(p) != strName)
            continue;
        if (nCount++ == nIndex)
            return p;
        pLast = p;
    }
    return pLast;
}

CDocTemplate* TWKDocTemplateUtils::FindTemplate(CDocument* pDoc, CView* pView, CFrameWnd* pFrame)
{
    if (!pDoc || !pView || !pFrame)
        return nullptr;
    TWKDocTemplateList list;
    CollectTemplates(&list);
    CDocTemplate* pTemplate = nullptr;
    if (GetSingleTemplate(&list, &pTemplate))
        return pTemplate;
    FilterByViewAndFrame(&list, pView, pFrame);
    if (GetSingleTemplate(&list, &pTemplate))
        return pTemplate;
    FilterByFrameResource(&list, pFrame);
    if (GetSingleTemplate(&list, &pTemplate))
        return pTemplate;
    FilterByDocClass(&list, pDoc);
    if (GetSingleTemplate(&list, &pTemplate))
        return pTemplate;
    CDocTemplate* pOwn = pDoc->GetDocTemplate();
    if (pOwn && list.Find(pOwn))
        return pOwn;
    return list.GetHead();
}

UINT TWKDocTemplateUtils::GetFrameResourceID(CFrameWnd* pFrame)
{
    return pFrame ? pFrame->m_nIDHelp : 0;
}

BOOL TWKDocTemplateUtils::CollectTemplates(TWKDocTemplateList* pList)
{
    CDocManager* pManager = DocManager();
    if (!pManager || !pList)
        return FALSE;
    for (POSITION pos = pManager->GetFirstDocTemplatePosition(); pos;)
        pList->AddTail(pManager->GetNextDocTemplate(pos));
    return TRUE;
}

BOOL TWKDocTemplateUtils::FilterByViewAndFrame(TWKDocTemplateList* pList, CView* pView, CFrameWnd* pFrame)
{
    if (!pList || !pView || !pFrame)
        return FALSE;
    CRuntimeClass* pViewClass = pView->GetRuntimeClass();
    CRuntimeClass* pFrameClass = pFrame->GetRuntimeClass();
    BOOL bDockable = IsDockableFrameClass(pFrameClass);
    Filter(pList, [&](CDocTemplate* p) {
        return p->m_pViewClass == pViewClass && GetFrameClass(p, bDockable) == pFrameClass;
    });
    return TRUE;
}

BOOL TWKDocTemplateUtils::FilterByFrameResource(TWKDocTemplateList* pList, CFrameWnd* pFrame)
{
    if (!pList || !pFrame)
        return FALSE;
    UINT nID = GetFrameResourceID(pFrame);
    Filter(pList, [nID](CDocTemplate* p) { return p->m_nIDResource == nID; });
    return TRUE;
}

BOOL TWKDocTemplateUtils::FilterByDocClass(TWKDocTemplateList* pList, CDocument* pDoc)
{
    if (!pList || !pDoc)
        return FALSE;
    CRuntimeClass* pDocClass = pDoc->GetRuntimeClass();
    Filter(pList, [pDocClass](CDocTemplate* p) { return p->m_pDocClass == pDocClass; });
    return TRUE;
}

BOOL TWKDocTemplateUtils::GetSingleTemplate(TWKDocTemplateList* pList, CDocTemplate** ppTemplate)
{
    if (ppTemplate)
        *ppTemplate = nullptr;
    if (!pList || pList->IsEmpty())
        return TRUE;
    if (pList->GetCount() > 1)
        return FALSE;
    if (ppTemplate)
        *ppTemplate = pList->GetHead();
    return TRUE;
}

BOOL TWKDocTemplateUtils::IsDockableFrameClass(CRuntimeClass* pClass)
{
    return pClass && pClass->IsDerivedFrom(RUNTIME_CLASS(TWKDockableFrame));
}

CRuntimeClass* TWKDocTemplateUtils::GetFrameClass(CDocTemplate* pTemplate, BOOL bDockable)
{
    if (!pTemplate)
        return nullptr;
    if (!bDockable)
        return pTemplate->m_pFrameClass;
    // Only a dockable-view template has a dockable-frame class.
    if (pTemplate->IsKindOf(RUNTIME_CLASS(TWKMultiDocTemplate)))
        return static_cast<TWKMultiDocTemplate*>(pTemplate)->m_pDockableFrameClass;
    return nullptr;
}
