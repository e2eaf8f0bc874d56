// "Select Custom Resource Editor": which editor programs edit each resource
// file type, and in which order. The full list lives in the configuration
// file's section "Resource Editor List"; OK writes each type's first editor
// into "Resource Editor" for the resource-action table.
#pragma once
#include "afx/afx.h"
#include "afx/dialog.h"
#include "afx/controls.h"
#include "framework/controls/dialogs/TWKListBoxEditor.h"
#include "support/text/CUString.h"
#include <memory>
#include <vector>

// Messages of the list editor to the dialog.
#define WM_RESSEL_ADDED (WM_USER + 4626)     // wParam index, lParam the text: 0 when it exists
#define WM_RESSEL_EDITED (WM_USER + 4627)    // wParam index, lParam the text
#define WM_RESSEL_DELETED (WM_USER + 4628)   // lParam the text
#define WM_RESSEL_MOVED (WM_USER + 4629)

class C_ResToolSelection : public CDialog
{
public:
    // One known editor of one file type, in the application broker's field order.
    struct tagResEditor {
        C_CUString field1;       // the program: what the list shows
        C_CUString field2;       // the name
        C_CUString field3;       // kind
        C_CUString field4;       // activate flag
        C_CUString extensions;   // the file type
        int order = 0;           // 0: the type's default editor
        C_CUString Line() const;
    };

    class C_ResSelListBox : public TWKListBoxFileEditor
    {
    public:
        C_ResSelListBox(LPCSTR pszDefaults, C_ResToolSelection* pOwner) : m_strDefaults(pszDefaults), m_pOwner(pOwner) {}
        void OnItemAdded(int nIndex, CString strText) override;
        BOOL OnItemDelete(int nIndex, CString strText) override;
        void OnItemRenamed(int nIndex, CString strOldText, CString strNewText) override;
        void OnItemMoved(int nOldIndex, int nNewIndex, CString strText, BOOL bDragged) override;
        BOOL OnEditKey(UINT nChar) override;
        // Lines naming a program that comes with the system: moved, never removed or edited.
        BOOL IsProtected(const CString& strText) const;

        CString m_strDefaults;
        C_ResToolSelection* m_pOwner;
        BOOL m_bUndo = FALSE;
    };

    C_ResToolSelection(LPCSTR pszConfigPath, LPCSTR pszDefaults, CWnd* pParent);
    ~C_ResToolSelection() override;
    BOOL IsModified() const { return m_bModified; }

    CString m_strConfigPath;
    std::vector<std::unique_ptr<tagResEditor>> m_configured;
    std::vector<std::unique_ptr<tagResEditor>> m_added;
    BOOL m_bModified = FALSE;
    C_ResSelListBox m_listEditor;
    CComboBox m_comboType;

protected:
    // An entry's id: the index in the low word, 0 (configured) or 1 (added) in the high word.
    DWORD FindByText(const CString& strType, const char* pszText);
    DWORD FindByOrder(const CString& strType, int nOrder);
    tagResEditor* Entry(DWORD dwID);
    CString SelectedType();
    void FillList();
    void Renumber();

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnTypeChanged();
    afx_msg LRESULT OnItemAdded(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnItemEdited(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnItemDeleted(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnItemsMoved(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// The frame's command 40076: the dialog on the program folder's "ZIDE.cfg";
// TRUE when it changed the editors (the resource actions are then rebuilt).
BOOL RunResourceEditorSelection(LPCSTR pszConfigPath);
