// OLE: initialisation, the data source and data object over IDataObject,
// and the drop target forwarding to views.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <vector>
#include "afx/cmdtarget.h"
#include "afx/docview.h"
#include "afx/geometry.h"

class CWnd;

typedef DWORD DROPEFFECT;

// OleInitialize for this thread, undone at exit. FALSE on failure.
BOOL AfxOleInit();
// Nothing to do with the system's controls; kept for callers.
void AfxEnableControlContainer();
BOOL Enable3dControlsStatic();

// The default drop source: Escape cancels, releasing the button drops.
class COleDropSource : public CCmdTarget
{
public:
    COleDropSource();
    virtual ~COleDropSource();
    virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
    virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
    // Before the drag: TRUE once the pointer leaves the start rectangle, or
    // the drag delay passes, with the button held; FALSE when a button
    // changes or Escape is pressed first (a click, not a drag). pWnd, when
    // given, holds the capture meanwhile.
    virtual BOOL OnBeginDrag(CWnd* pWnd);
    IDropSource* GetInterface() { return &m_xDropSource; }
    RECT m_rectStartDrag = {};   // screen coordinates; empty: round the cursor
private:
    struct XDropSource : IDropSource {
        COleDropSource* m_pThis = nullptr;
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override { return 2; }
        STDMETHODIMP_(ULONG) Release() override { return 1; }
        STDMETHODIMP QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override;
        STDMETHODIMP GiveFeedback(DWORD dwEffect) override;
    } m_xDropSource;
};

// Data offered for a drag or the clipboard. The object must outlive every
// use of its IDataObject (a clipboard holder is released by OleFlushClipboard
// or by the next clipboard owner).
class COleDataSource : public CCmdTarget
{
public:
    COleDataSource();
    ~COleDataSource() override;
    // Takes ownership of hGlobal.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = NULL);
    void Empty();
    // DROPEFFECT_NONE when cancelled or refused, or when the button went up
    // before the drag began (the drop source's OnBeginDrag).
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT lpRectStartDrag = NULL, COleDropSource* pDropSource = NULL);
    void SetClipboard();
    IDataObject* GetInterface() { return &m_xDataObject; }

private:
    struct Entry { FORMATETC fmt; HGLOBAL hGlobal; };
    std::vector<Entry> m_entries;
    const Entry* Find(const FORMATETC* pFmt) const;
    struct XDataObject : IDataObject {
        COleDataSource* m_pThis = nullptr;
        LONG m_nRef = 1;
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)InterlockedIncrement(&m_nRef); }
        STDMETHODIMP_(ULONG) Release() override { return (ULONG)InterlockedDecrement(&m_nRef); }
        STDMETHODIMP GetData(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) override;
        STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
        STDMETHODIMP QueryGetData(FORMATETC* pformatetc) override;
        STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* pOut) override
            { if (pOut) pOut->ptd = nullptr; return DATA_S_SAMEFORMATETC; }
        STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
        STDMETHODIMP EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppenum) override;
        STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
        STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
        STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }
    } m_xDataObject;
};

// A view of someone's IDataObject.
class COleDataObject
{
public:
    COleDataObject() = default;
    ~COleDataObject() { Release(); }
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    LPDATAOBJECT Detach();
    void Release();
    BOOL AttachClipboard();
    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = NULL);
    BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = NULL);
    // A copy the caller frees with GlobalFree; NULL when not offered.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = NULL);
    LPDATAOBJECT GetIDataObject() const { return m_lpDataObject; }

private:
    LPDATAOBJECT m_lpDataObject = nullptr;
    BOOL m_bAutoRelease = TRUE;
};

// Drop target of one window; by default forwards to the window's view.
class COleDropTarget : public CCmdTarget
{
public:
    COleDropTarget();
    ~COleDropTarget() override;
    // Needs OLE initialised on the thread. Revoked when the window goes.
    BOOL Register(CWnd* pWnd);
    void Revoke();

    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    // (DROPEFFECT)-1: not handled, so OnDrop runs.
    virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                DROPEFFECT dropList, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

    // WIN.INI [windows] DragScrollInset, DragScrollDelay, DragScrollInterval.
    static int GetScrollInset();
    static int GetScrollDelay();
    static int GetScrollInterval();

    IDropTarget* GetInterface() { return &m_xDropTarget; }
    CWnd* m_pWnd = nullptr;

    // Scrolling at the border, for OnDragScroll overrides: the scroll code
    // of the last call (0xFFFF outside the border zone), when the window
    // last scrolled and how long until the next step.
    UINT m_nTimerID = 0xFFFF;
    DWORD m_dwLastTick = 0;
    UINT m_nScrollDelay = 0;
    // The data of the drag now over the window.
    COleDataObject* GetDataObject() { return &m_dataObject; }

private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    DROPEFFECT Over(DWORD dwKeyState, POINTL pt, DWORD dwAllowed, bool bEnter);
    COleDataObject m_dataObject;
    struct XDropTarget : IDropTarget {
        COleDropTarget* m_pThis = nullptr;
        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
        STDMETHODIMP_(ULONG) AddRef() override { return 2; }
        STDMETHODIMP_(ULONG) Release() override { return 1; }
        STDMETHODIMP DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        STDMETHODIMP DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        STDMETHODIMP DragLeave() override;
        STDMETHODIMP Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
    } m_xDropTarget;
};

class COleDocument;

// An item a container document holds. No OLE server stands behind it here:
// it keeps its state, and a verb has nothing to run.
class COleClientItem : public CObject
{
    DECLARE_DYNAMIC(COleClientItem)
public:
    enum ItemState { emptyState, loadedState, openState, activeState, activeUIState };

    // Joins the document's items when one is given.
    explicit COleClientItem(COleDocument* pContainerDoc = NULL);
    // Leaves its document.
    ~COleClientItem() override;
    COleClientItem(const COleClientItem&) = delete;
    COleClientItem& operator=(const COleClientItem&) = delete;

    COleDocument* GetDocument() const { return m_pDocument; }
    virtual UINT GetItemState() const { return m_nItemState; }
    // An open or active item goes back to loaded.
    virtual void Close(OLECLOSE dwCloseOption = OLECLOSE_SAVEIFDIRTY);
    // FALSE: there is no server to run the verb.
    virtual BOOL DoVerb(LONG nVerb, CView* pView, LPMSG lpMsg = NULL);

    UINT m_nItemState = loadedState;
    COleDocument* m_pDocument = nullptr;
};

// A document with a list of client items, which it owns.
class COleDocument : public CDocument
{
    DECLARE_DYNAMIC(COleDocument)
public:
    COleDocument() = default;
    // Deletes the items still held.
    ~COleDocument() override;

    void AddItem(COleClientItem* pItem);
    void RemoveItem(COleClientItem* pItem);
    POSITION GetStartPosition() const { return m_docItemList.GetHeadPosition(); }
    // The item at pos, moving pos on; NULL at the end.
    COleClientItem* GetNextClientItem(POSITION& pos) const;

    CPtrList m_docItemList;
};
