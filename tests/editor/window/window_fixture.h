// Editing windows on real windows for the window tests: a control in a top
// window, texts put into its store, and pixels read back.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include "afx/afx.h"
#include "editor/window/TWKEditCtrl.h"
#include "editor/window/TWKEditView.h"
#include "tests/harness/harness.h"

namespace vt {

// Replaces the store's text by `text` (lines split at "\r\n") and renumbers.
inline void SetStoreText(TWKEdit* pEdit, const std::string& text)
{
    TWKEditLine* pLines = pEdit->BuildLines(text.c_str());
    if (!pLines)
        pLines = TWKEdit::NewLine(8);
    TWKEdit::FreeLines(pEdit->m_pFirstLine);
    pEdit->m_pFirstLine = pLines;
    pEdit->m_nLineCount = TWKEdit::RenumberLines(pLines);
}

// n lines "line 1" ... "line n".
inline std::string NumberedLines(int n)
{
    std::string s;
    for (int i = 1; i <= n; i++)
        s += "line " + std::to_string(i) + (i < n ? "\r\n" : "");
    return s;
}

// The whole text of a store, line ends included.
inline std::string StoreText(TWKEdit* pEdit)
{
    std::string s;
    for (TWKEditLine* p = pEdit->GetFirstLine(); p; p = p->pNext)
        if (p->pText)
            s.append(p->pText, p->nLength);
    return s;
}

// A control whose caret and top line a test puts where it wants them.
class TestCtrl : public TWKEditCtrl
{
public:
    void PutCaret(int line, int col)
    {
        m_pCaretLine = GetEdit()->GetLine(line);
        m_nCaretLine = line;
        m_nCaretCol = col;
    }
    void PutTop(int line)
    {
        m_pTopLine = GetEdit()->GetLine(line);
        m_nTopLine = line;
    }
    int Rows() const { return VisibleRows(); }
    TWKEditPos CaretPosForTest() { return CaretPos(); }
};

// A visible top-level window holding one editing control filling its client.
struct CtrlHost
{
    CWnd host;
    TWKEditCtrl* pCtrl = nullptr;

    explicit CtrlHost(TWKEditCtrl* pControl, int cx = 400, int cy = 300)
    {
        host.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1)),
                      "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, 100, 100, NULL, NULL);
        pCtrl = pControl;
        CRect rc(0, 0, cx, cy);
        pCtrl->Create(NULL, "TWKEdit", WS_CHILD | WS_VISIBLE, rc, &host, 100);
        // Size the host so the control's client is exactly cx by cy.
        CRect rcCtrl;
        pCtrl->GetClientRect(&rcCtrl);
        pCtrl->MoveWindow(0, 0, cx + (cx - rcCtrl.Width()), cy + (cy - rcCtrl.Height()));
        host.SetWindowPos(NULL, 0, 0, cx + 200, cy + 200, SWP_NOMOVE | SWP_NOZORDER);
        PumpMessages();
    }
    ~CtrlHost()
    {
        if (pCtrl && ::IsWindow(pCtrl->m_hWnd))
            pCtrl->DestroyWindow();
        if (::IsWindow(host.m_hWnd))
            host.DestroyWindow();
    }
    // The control gets the keyboard focus and shows the selection, whether
    // or not the desktop handed the focus over yet.
    void TakeFocus()
    {
        host.SetForegroundWindow();
        pCtrl->SetFocus();
        PumpMessages();
        pCtrl->GetEdit()->m_pFocusWnd = pCtrl;
    }
    // Gives the control a text and starts it over.
    void SetText(const std::string& text)
    {
        SetStoreText(pCtrl->GetEdit(), text);
        pCtrl->InitView();
    }
};

// The client point of a text cell (row from the top line, column counted
// from the text's start), one pixel right of the cell's left boundary.
inline CPoint CellPoint(TWKEditCtrl& ctrl, int row, int col)
{
    return CPoint(ctrl.m_nTextLeft + (col - ctrl.m_nFirstCol) * ctrl.m_nCharWidth + 1,
                  row * ctrl.m_nLineHeight + ctrl.m_nLineHeight / 2);
}

// The control's whole text, line ends included.
inline std::string StoreText(TWKEditCtrl& ctrl)
{
    std::string s;
    for (TWKEditLine* p = ctrl.GetEdit()->GetFirstLine(); p; p = p->pNext)
        s.append(p->pText ? p->pText : "", p->nLength);
    return s;
}

} // namespace vt
