#include "ide/debugger/ResToolSelection.h"
#include "resources/ideres.h"
#include "support/config/CUPath.h"
#include "support/config/ProfileHelpers.h"
#include "support/text/TextHelpers.h"

namespace {

const char kListSection[] = "Resource Editor List";
const DWORD kNotFound = 0xFFFFFFFF;

// The whole section, however long: the buffer grows until the section fits.
std::vector<char> ReadWholeSection(const char* file, const char* section)
{
    std::vector<char> buf(8192);
    for (;;) {
        DWORD n = ::GetPrivateProfileSectionA(section, buf.data(), (DWORD)buf.size(), file);
        if (n + 2 < buf.size())
            return buf;
        buf.assign(buf.size() * 2, '\0');
    }
}

}  // namespace

C_CUString C_ResToolSelection::tagResEditor::Line() const
{
    return field1 + ", " + field2 + ", " + field3 + ", " + field4 + ", " + extensions;
}

// ---- the list editor

BOOL C_ResToolSelection::C_ResSelListBox::IsProtected(const CString& strText) const
{
    if (strText.GetLength() <= 4)
        return FALSE;
    CString strUpper = strText, strDefaults = m_strDefaults;
    strUpper.MakeUpper();
    strDefaults.MakeUpper();
    return strDefaults.Find(strUpper) >= 0;
}

void C_ResToolSelection::C_ResSelListBox::OnItemAdded(int nIndex, CString strText)
{
    if (!strText.IsEmpty() &&
        !m_pOwner->SendMessage(WM_RESSEL_ADDED, (WPARAM)nIndex, (LPARAM)(LPCSTR)strText)) {
        ::MessageBoxA(m_pOwner->m_hWnd, "Item has existed!", "Error", MB_OK | MB_ICONSTOP);
        m_bUndo = TRUE;
        DeleteItem(nIndex);
        return;
    }
    TWKListBoxFileEditor::OnItemAdded(nIndex, strText);
}

BOOL C_ResToolSelection::C_ResSelListBox::OnItemDelete(int nIndex, CString strText)
{
    // Taking back a refused duplicate of a system program is no deletion of it.
    if (IsProtected(strText) && !m_bUndo) {
        ::MessageBoxA(m_pOwner->m_hWnd, "You can not delete a system default resource editror!", "Warning!",
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    TWKListBoxFileEditor::OnItemDelete(nIndex, strText);
    if (!strText.IsEmpty() && !m_bUndo)
        m_pOwner->SendMessage(WM_RESSEL_DELETED, 0, (LPARAM)(LPCSTR)strText);
    m_bUndo = FALSE;
    return TRUE;
}

void C_ResToolSelection::C_ResSelListBox::OnItemRenamed(int nIndex, CString strOldText, CString strNewText)
{
    CListBox* pList = GetListBoxPtr();
    int nSel = pList->GetCurSel();
    if (nSel >= 0) {
        CString strLine;
        pList->GetText(nSel, strLine);
        if (!strLine.IsEmpty())
            m_pOwner->SendMessage(WM_RESSEL_EDITED, (WPARAM)nSel, (LPARAM)(LPCSTR)strLine);
    }
    TWKListBoxFileEditor::OnItemRenamed(nIndex, strOldText, strNewText);
}

void C_ResToolSelection::C_ResSelListBox::OnItemMoved(int nOldIndex, int nNewIndex, CString strText, BOOL bDragged)
{
    TWKListBoxFileEditor::OnItemMoved(nOldIndex, nNewIndex, strText, bDragged);
    m_pOwner->SendMessage(WM_RESSEL_MOVED, (WPARAM)nOldIndex, (LPARAM)nNewIndex);
}

BOOL C_ResToolSelection::C_ResSelListBox::OnEditKey(UINT nChar)
{
    CListBox* pList = GetListBoxPtr();
    int nSel = pList->GetCurSel();
    if (nSel >= 0) {
        CString strLine;
        pList->GetText(nSel, strLine);
        if (IsProtected(strLine))
            return FALSE;
    }
    return TWKListBoxFileEditor::OnEditKey(nChar);
}

// ---- the dialog

BEGIN_MESSAGE_MAP(C_ResToolSelection, CDialog)
    ON_CBN_SELCHANGE(IDC_RESSEL_TYPE, OnTypeChanged)
    ON_MESSAGE(WM_RESSEL_ADDED, OnItemAdded)
    ON_MESSAGE(WM_RESSEL_EDITED, OnItemEdited)
    ON_MESSAGE(WM_RESSEL_DELETED, OnItemDeleted)
    ON_MESSAGE(WM_RESSEL_MOVED, OnItemsMoved)
END_MESSAGE_MAP()

C_ResToolSelection::C_ResToolSelection(LPCSTR pszConfigPath, LPCSTR pszDefaults, CWnd* pParent)
    : CDialog(IDD_RESOURCE_EDITORS, pParent), m_strConfigPath(pszConfigPath), m_listEditor(pszDefaults, this)
{
    std::vector<char> buf = ReadWholeSection(m_strConfigPath, kListSection);
    for (const char* p = buf.data(); *p; p += strlen(p) + 1) {
        const char* pszEq = strchr(p, '=');
        if (!pszEq)
            continue;
        C_CUString key(std::string(p, pszEq));
        std::unique_ptr<tagResEditor> e(new tagResEditor);
        e->field1 = GetField(key, 1);
        e->field2 = GetField(key, 2);
        e->field3 = GetField(key, 3);
        e->field4 = GetField(key, 4);
        for (int f = 5;; ++f) {
            C_CUString ext = GetField(key, f);
            if (ext.IsEmpty())
                break;
            if (!e->extensions.IsEmpty())
                e->extensions += ", ";
            e->extensions += ext;
        }
        e->order = atoi(pszEq + 1);
        m_configured.push_back(std::move(e));
    }
}

C_ResToolSelection::~C_ResToolSelection() {}

C_ResToolSelection::tagResEditor* C_ResToolSelection::Entry(DWORD dwID)
{
    if (dwID == kNotFound)
        return nullptr;
    auto& list = HIWORD(dwID) ? m_added : m_configured;
    size_t n = LOWORD(dwID);
    return n < list.size() ? list[n].get() : nullptr;
}

DWORD C_ResToolSelection::FindByText(const CString& strType, const char* pszText)
{
    for (WORD side = 0; side < 2; ++side) {
        auto& list = side ? m_added : m_configured;
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i]->extensions == (LPCSTR)strType && lstrcmpiA(list[i]->field1, pszText) == 0)
                return MAKELONG((WORD)i, side);
    }
    return kNotFound;
}

DWORD C_ResToolSelection::FindByOrder(const CString& strType, int nOrder)
{
    for (WORD side = 0; side < 2; ++side) {
        auto& list = side ? m_added : m_configured;
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i]->extensions == (LPCSTR)strType && list[i]->order == nOrder)
                return MAKELONG((WORD)i, side);
    }
    return kNotFound;
}

CString C_ResToolSelection::SelectedType()
{
    CString strType;
    int nSel = m_comboType.GetCurSel();
    if (nSel >= 0)
        m_comboType.GetLBText(nSel, strType);
    return strType;
}

void C_ResToolSelection::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_RESSEL_TYPE, m_comboType);
}

BOOL C_ResToolSelection::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_listEditor.Initialize(this, IDC_RESSEL_LIST, 0xF1E);
    SetWindowText("Tool Selection");
    for (auto& e : m_configured) {
        BOOL bKnown = FALSE;
        for (int i = 0; i < m_comboType.GetCount() && !bKnown; ++i) {
            CString strItem;
            m_comboType.GetLBText(i, strItem);
            bKnown = strItem.CompareNoCase(e->extensions) == 0;
        }
        if (!bKnown)
            m_comboType.AddString(e->extensions);
    }
    m_comboType.SetCurSel(0);
    FillList();
    m_listEditor.m_strFilter = "Executable Files (*.exe)|*.exe||";
    return TRUE;
}

void C_ResToolSelection::FillList()
{
    CListBox* pList = m_listEditor.GetListBoxPtr();
    pList->ResetContent();
    CString strType = SelectedType();
    for (int nOrder = 0;; ++nOrder) {
        tagResEditor* e = Entry(FindByOrder(strType, nOrder));
        if (!e)
            break;
        pList->AddString(e->field1);
    }
    pList->AddString("");
}

void C_ResToolSelection::OnTypeChanged()
{
    FillList();
}

LRESULT C_ResToolSelection::OnItemAdded(WPARAM wParam, LPARAM lParam)
{
    const char* pszText = (const char*)lParam;
    CString strType = SelectedType();
    if (FindByText(strType, pszText) != kNotFound)
        return 0;
    // The program's full path is what the broker starts; its file name the title it looks for.
    std::unique_ptr<tagResEditor> e(new tagResEditor);
    e->field1 = pszText;
    e->field2 = C_CUPath(pszText).GetFileName();
    e->field3 = "0";
    e->field4 = "0";
    e->extensions = (LPCSTR)strType;
    e->order = (int)wParam;
    m_added.push_back(std::move(e));
    return 1;
}

LRESULT C_ResToolSelection::OnItemEdited(WPARAM wParam, LPARAM lParam)
{
    if (tagResEditor* e = Entry(FindByOrder(SelectedType(), (int)wParam)))
        e->field1 = (const char*)lParam;
    return 1;
}

LRESULT C_ResToolSelection::OnItemDeleted(WPARAM, LPARAM lParam)
{
    DWORD dwID = FindByText(SelectedType(), (const char*)lParam);
    if (dwID != kNotFound) {
        auto& list = HIWORD(dwID) ? m_added : m_configured;
        list.erase(list.begin() + LOWORD(dwID));
    }
    Renumber();
    return 1;
}

LRESULT C_ResToolSelection::OnItemsMoved(WPARAM, LPARAM)
{
    Renumber();
    return 1;
}

void C_ResToolSelection::Renumber()
{
    CListBox* pList = m_listEditor.GetListBoxPtr();
    CString strType = SelectedType();
    int nShift = 0;
    for (int i = 0; i < pList->GetCount(); ++i) {
        CString strLine;
        pList->GetText(i, strLine);
        if (strLine.IsEmpty())
            continue;
        tagResEditor* e = Entry(FindByText(strType, strLine));
        if (!e) {
            nShift = 1;   // the line being deleted
            continue;
        }
        e->order = i - nShift;
    }
}

void C_ResToolSelection::OnOK()
{
    ::WritePrivateProfileStringA(kListSection, nullptr, nullptr, m_strConfigPath);
    for (int i = 0; i < m_comboType.GetCount(); ++i) {
        CString strType;
        m_comboType.GetLBText(i, strType);
        if (tagResEditor* e = Entry(FindByOrder(strType, 0))) {
            CString strKey;
            strKey.Format("Editor%d", i + 1);
            WriteProfileValue(m_strConfigPath, "Resource Editor", strKey, e->Line(), FALSE, 0);
        }
    }
    for (auto* list : {&m_configured, &m_added})
        for (auto& e : *list) {
            CString strOrder;
            strOrder.Format("%d", e->order);
            ::WritePrivateProfileStringA(kListSection, e->Line(), strOrder, m_strConfigPath);
        }
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_strConfigPath);
    EndDialog(IDOK);
    m_bModified = TRUE;
}

BOOL RunResourceEditorSelection(LPCSTR pszConfigPath)
{
    C_ResToolSelection dlg(pszConfigPath, "ToneSift.exe, WaveDesk.exe, VoiceForge.exe", nullptr);
    dlg.DoModal();
    return dlg.IsModified();
}
