// Shared set-up of the text-store tests: a profile of their own and small helpers.
#pragma once
#include <gtest/gtest.h>
#include <string>
#include "editor/store/TWKEdit.h"
#include "tests/harness/harness.h"

namespace storetest {

// The harness's application object: the store reads its settings through it.
inline CWinApp* App()
{
    return AfxGetApp();
}

// The text of all lines, line ends included.
inline std::string Text(TWKEdit& e)
{
    std::string s;
    for (TWKEditLine* p = e.GetFirstLine(); p; p = p->pNext)
        if (p->pText)
            s.append(p->pText, p->nLength);
    return s;
}

// Replaces the store's text with the given bytes (line ends as in the text).
inline void SetText(TWKEdit& e, const std::string& text)
{
    TWKEdit::FreeLines(e.m_pFirstLine);
    e.m_pFirstLine = text.empty() ? TWKEdit::NewLine(32) : e.BuildLines(text.c_str());
    e.m_nLineCount = TWKEdit::RenumberLines(e.m_pFirstLine);
}

inline TWKEditPos Pos(TWKEdit& e, int line, int offset)
{
    TWKEditPos p = { e.GetLine(line), offset };
    return p;
}

} // namespace storetest
