#include "support/text/CUStringList.h"
#include <mbstring.h>
#include <algorithm>

namespace {

const unsigned char* Bytes(const std::string& s)
{
    return reinterpret_cast<const unsigned char*>(s.c_str());
}

// The text from the last separator on; empty when there is none.
const unsigned char* Suffix(const C_CUStringList::_String* e, char separator)
{
    static const unsigned char kEmpty[1] = {0};
    if (separator == 0)
        return kEmpty;
    const unsigned char* p = _mbsrchr(Bytes(e->text), static_cast<unsigned char>(separator));
    return p ? p : kEmpty;
}

} // namespace

C_CUStringList::C_CUStringList(C_CUStringList& other) : m_separator(0)
{
    AddList(&other);
}

C_CUStringList::~C_CUStringList()
{
    RemoveAll();
}

int C_CUStringList::GetCount() { return m_list.GetCount(); }
void C_CUStringList::Reset() { m_list.Reset(); }
void C_CUStringList::MoveToEnd() { m_list.MoveToEnd(); }

const char* C_CUStringList::GetNext()
{
    _String* e = m_list.GetNext();
    return e ? e->text.c_str() : nullptr;
}

const char* C_CUStringList::GetPrev()
{
    _String* e = m_list.GetPrev();
    return e ? e->text.c_str() : nullptr;
}

const char* C_CUStringList::GetAt(int index)
{
    _String* e = m_list.GetAt(index);
    return e ? e->text.c_str() : nullptr;
}

BOOL C_CUStringList::Add(const char* text)
{
    return m_list.Add(new _String(text, this));
}

void C_CUStringList::AddList(I_CUStringList* other)
{
    if (!other || other == this)
        return;
    other->Reset();
    while (const char* text = other->GetNext())
        Add(text);
}

void C_CUStringList::RemoveAll()
{
    m_list.Reset();
    while (_String* e = m_list.GetNext())
        delete e;
    m_list.m_items.clear();
    m_list.m_ids.Reset();
}

BOOL C_CUStringList::Remove(int index)
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    _String* e = m_list.m_items[static_cast<size_t>(index)];
    m_list.m_items.erase(m_list.m_items.begin() + index);
    m_list.m_ids.Release(e->GetID());
    if (m_list.m_cursor >= GetCount())
        m_list.MoveToEnd();
    delete e;
    return TRUE;
}

BOOL C_CUStringList::Insert(int index, const char* text)
{
    int count = GetCount();
    if (!((count == 0 && index == 0) || (index >= 0 && index < count)))
        return FALSE;
    _String* e = new _String(text, this);
    m_list.m_items.insert(m_list.m_items.begin() + index, e);
    e->SetID(m_list.m_ids.GetNextID());
    if (index <= m_list.m_cursor)
        ++m_list.m_cursor;
    return TRUE;
}

C_CUStringList& C_CUStringList::Assign(I_CUStringList* other)
{
    if (other == this)
        return *this;
    RemoveAll();
    AddList(other);
    return *this;
}

template <class Less>
void C_CUStringList::SortWith(Less less, BOOL ascending)
{
    std::vector<_String*>& items = m_list.m_items;
    if (ascending)
        std::sort(items.begin(), items.end(), less);
    else
        std::sort(items.begin(), items.end(),
                  [&less](const _String* a, const _String* b) { return less(b, a); });
}

void C_CUStringList::Sort(BOOL ascending)
{
    SortWith([](const _String* a, const _String* b) {
        return _mbscmp(Bytes(a->text), Bytes(b->text)) < 0;
    }, ascending);
}

void C_CUStringList::SortNoCase(BOOL ascending)
{
    SortWith([](const _String* a, const _String* b) {
        return _mbsicmp(Bytes(a->text), Bytes(b->text)) < 0;
    }, ascending);
}

void C_CUStringList::SortBySuffix(char separator, BOOL ascending)
{
    m_separator = separator;
    SortWith([](const _String* a, const _String* b) {
        return _mbscmp(Suffix(a, a->owner->m_separator), Suffix(b, b->owner->m_separator)) < 0;
    }, ascending);
}

void C_CUStringList::SortBySuffixNoCase(char separator, BOOL ascending)
{
    m_separator = separator;
    SortWith([](const _String* a, const _String* b) {
        return _mbsicmp(Suffix(a, a->owner->m_separator), Suffix(b, b->owner->m_separator)) < 0;
    }, ascending);
}
