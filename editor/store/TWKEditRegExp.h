// A small backtracking regular-expression matcher for the editor's search.
//
// Syntax: ^ $ . [set] [^set] (group) r|s r* r+ r? and \c for a literal c.
// There are no escape classes and no back references in patterns; groups
// are numbered 1..9 by their opening parenthesis. The matcher is case-exact;
// callers fold pattern and text themselves when case does not matter.
//
// Matching is leftmost, and at that place the first match the backtracking
// finds: alternatives in order, repetitions greedy, giving back one at a time.
#pragma once
#include <windows.h>
#include <vector>

#define TWK_REGEXP_NSUB 10   // slot 0 is the whole match, 1..9 the groups

class TWKEditRegExp
{
public:
    // One Exec may take at most this many matcher steps over all its start
    // positions, and hold at most this many backtrack records; a text that
    // needs more counts as holding no match (see StepLimitHit). This bounds
    // every search step in time and memory whatever the pattern.
    enum { kStepLimit = 4000000, kStackLimit = 1000000 };

    TWKEditRegExp();
    ~TWKEditRegExp();
    TWKEditRegExp(const TWKEditRegExp&) = delete;
    TWKEditRegExp& operator=(const TWKEditRegExp&) = delete;

    void Init();
    // 1 when the pattern is valid and compiled, 0 otherwise (no program).
    int Compile(const char* pszPattern);
    // Offset of the first match in the text, or -1. Without a length the text
    // runs to its NUL.
    int Exec(const char* pszText);
    int Exec(const char* pszText, int nLength);
    // The template expanded with the last match: & the whole match, \0..\9 a
    // group, \\ and \& the character itself. A new text to free() or NULL.
    char* Substitute(const char* pszTemplate) const;
    void Free();

    BOOL IsCompiled() const { return !m_prog.empty(); }
    // Start and end offsets of slot n of the last match, -1 when it took no part.
    int GetStart(int n) const { return (n >= 0 && n < TWK_REGEXP_NSUB) ? m_start[n] : -1; }
    int GetEnd(int n) const { return (n >= 0 && n < TWK_REGEXP_NSUB) ? m_end[n] : -1; }
    // TRUE when the last Exec gave up at the step or backtrack limit.
    BOOL StepLimitHit() const { return m_bLimitHit; }

private:
    struct Inst
    {
        int op;
        int arg;    // character, set index, save slot or minimum count
        int x;      // jump target
        int y;      // second target of a split
    };
    struct Node;
    struct Parser;
    friend struct Parser;

    void Emit(const Node* p);
    int EmitInst(int op, int arg = 0, int x = 0, int y = 0);
    BOOL MatchOne(const Inst& in, unsigned char c) const;
    int Run(const char* text, int len, int start, long long& steps);
    bool PushRecord(int kind, int a, int b, int c);

    std::vector<Inst> m_prog;
    std::vector<unsigned int> m_sets;      // 8 words per set, 256 bits
    std::vector<int> m_stack;              // backtrack records, 4 ints each
    int m_nStartChar;                      // -1, or the byte every match begins with
    BOOL m_bAnchored;                      // the pattern begins with ^
    std::vector<char> m_must;              // a string every match contains
    int m_start[TWK_REGEXP_NSUB];
    int m_end[TWK_REGEXP_NSUB];
    int m_caps[2 * TWK_REGEXP_NSUB];
    char* m_pMatchText;                    // copy of the text of the last match
    int m_nMatchTextLen;
    BOOL m_bLimitHit;
};
