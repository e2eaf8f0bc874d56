// A frame's tree of message filters: small objects offered selected messages
// of the frame, which may consume them.
#pragma once
#include "afx/afx.h"

class TWKMsgFilter : public CObject
{
    DECLARE_DYNCREATE(TWKMsgFilter)
public:
    // Filter results.
    enum { resultHandled = 0x1, resultStop = 0x8 };

    // One filter a frame declares: created under its parent when enabled.
    struct Descriptor
    {
        Descriptor(int nFilterID = -1, int nParentID = -1, CRuntimeClass* pClass = nullptr, DWORD dwFlags = 0)
            : m_nFilterID(nFilterID), m_nParentID(nParentID), m_pClass(pClass), m_dwFlags(dwFlags) {}
        virtual ~Descriptor() = default;
        virtual Descriptor* Clone() const { return new Descriptor(*this); }

        enum { flagNeverDisable = 0x1 };
        int m_nFilterID;
        int m_nParentID;              // -1: directly under the filter applying it
        CRuntimeClass* m_pClass;
        DWORD m_dwFlags;
    };

    // The records of one frame, owned.
    class DescriptorTable : public CArray<Descriptor*, Descriptor*>
    {
    public:
        ~DescriptorTable() override;
    };

    explicit TWKMsgFilter(CWnd* pWnd = NULL, int nID = -1);
    TWKMsgFilter(const TWKMsgFilter& src);
    TWKMsgFilter& operator=(const TWKMsgFilter&) = delete;
    ~TWKMsgFilter() override;

    int m_nID;
    BOOL m_bEnabled = TRUE;
    BOOL m_bOwnsChildren = TRUE;
    CArray<TWKMsgFilter*, TWKMsgFilter*> m_arrChildren;

    virtual TWKMsgFilter* Clone() const;
    virtual CWnd* GetWnd() const { return m_pWnd; }
    virtual void SetWnd(CWnd* pWnd, BOOL bChildren);
    virtual DWORD FilterMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual DWORD OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual DWORD PassToChildren(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The first child with the id, else (depth not 0) the first found below;
    // else, with a class, a new child of that class.
    virtual TWKMsgFilter* FindFilter(int nID, CRuntimeClass* pClass, int nDepth);
    virtual TWKMsgFilter* ApplyDescriptor(const Descriptor* pDescriptor, BOOL bEnable);
    virtual void ApplyDescriptorTable(const DescriptorTable* pTable, const BOOL* pEnable);
    virtual void EnableDescriptorTable(const DescriptorTable* pTable, BOOL bEnable);

    // The given message, or (NULL) the one this thread's window procedure is handling.
    DWORD ProcessMessage(const MSG* pMsg = NULL, LRESULT* pResult = NULL);

protected:
    CWnd* m_pWnd;
};

// The base of filters that work on non-client messages.
class TWKNcMsgFilter : public TWKMsgFilter
{
    DECLARE_DYNCREATE(TWKNcMsgFilter)
public:
    TWKNcMsgFilter() = default;
    TWKMsgFilter* Clone() const override { return new TWKNcMsgFilter(*this); }
};

// The caption buttons and the system-command filters that frames declare.
#include "framework/frames/TWKCaptionMsgFilter.h"
