// The text store of a source or listing document: the engine's store with a
// background and a text colour per line (the listing marks its lines) and
// the line-end normalisation every save goes through.
#pragma once
#include <windows.h>
#include "editor/store/TWKEdit.h"

// One colour per 1-based line; a line without an entry reports the default.
class C_IDEEditLineColorList
{
public:
    C_IDEEditLineColorList() = default;
    virtual ~C_IDEEditLineColorList();
    C_IDEEditLineColorList(const C_IDEEditLineColorList&) = delete;
    C_IDEEditLineColorList& operator=(const C_IDEEditLineColorList&) = delete;

    // All entries cleared; FALSE (and an empty list) when memory runs out.
    BOOL SetSize(int nCount);
    void SetDefaultColor(COLORREF cr) { m_crDefault = cr; }
    COLORREF GetColor(int nLine) const;
    BOOL IsColorSet(int nLine) const;
    // The colour the entry held before; 0 and nothing changed outside the list.
    COLORREF SetColor(int nLine, COLORREF cr);
    void ClearColors();
    int GetCount() const { return m_nCount; }

    struct Entry
    {
        DWORD bSet;
        COLORREF cr;
    };

    COLORREF m_crDefault = 0;
    Entry* m_pEntries = nullptr;
    int m_nCount = 0;
};
static_assert(sizeof(C_IDEEditLineColorList::Entry) == 8, "a colour entry is a flag and a colour");

class C_IDEEdit : public TWKEdit
{
public:
    C_IDEEdit() = default;
    ~C_IDEEdit() override = default;

    // Every line with a text ends in exactly one CR LF afterwards; FALSE when
    // a line could not grow (the lines before it are done).
    BOOL NormalizeLineEnds();
    // Normalises and writes the file: 0 or the store's error code.
    int SaveNormalized(LPCSTR pszPath);

    void ResetLineColors();
    void ClearLineColors();
    COLORREF GetLineBackColor(int nLine) const { return m_BackColors.GetColor(nLine); }
    COLORREF GetLineTextColor(int nLine) const { return m_TextColors.GetColor(nLine); }
    BOOL HasLineBackColor(int nLine) const { return m_BackColors.IsColorSet(nLine); }
    BOOL HasLineTextColor(int nLine) const { return m_TextColors.IsColorSet(nLine); }
    COLORREF SetLineBackColor(int nLine, COLORREF cr) { return m_BackColors.SetColor(nLine, cr); }
    COLORREF SetLineTextColor(int nLine, COLORREF cr) { return m_TextColors.SetColor(nLine, cr); }

    C_IDEEditLineColorList m_BackColors;
    C_IDEEditLineColorList m_TextColors;
    BOOL m_bLineEndsChanged = FALSE;
};
