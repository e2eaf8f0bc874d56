// A small backtracking regular-expression matcher for the editor's search.
//
// Syntax: ^ $ . [set] [^set] (group) r|s r* r+ r? and \c for a literal c.
// There are no escape classes and no back references in patterns; groups
// are numbered 1..9 by their opening parenthesis. The matcher is case-exact;
// callers fold pattern and text themselves when case does not matter.
//
// Matching is leftmost, and at that place the first match the backtracking
// finds: alternatives in order, repetitions greedy, giving back one at a time.
// States that failed are remembered, so a search is linear in pattern size
// times text length.
#pragma once
#include <windows.h>
#include <vector>

#define TWK_REGEXP_NSUB 10   // slot 0 is the whole match, 1..9 the groups

class TWKEditRegExp
{
public:
    // Guards only: an Exec visits each (instruction, position) state once,
    // so it takes at most about 2 x program size x (length + 1) steps and
    // holds at most one backtrack record per state, far below these for any
    // line of 16,384 columns. A text that would need more counts as holding
    // no match (see StepLimitHit).
    enum { kStepLimit = 1000000000, kStackLimit = 16000000 };

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

    void ClearMatch();
    void Emit(const Node* p);
    int EmitInst(int op, int arg = 0, int x = 0, int y = 0);
    BOOL MatchOne(const Inst& in, unsigned char c) const;
    enum { STEP_NEXT, STEP_FAIL, STEP_MATCH, STEP_LIMIT };
    int Run(const char* text, int len, int start, long long& steps);
    bool FirstVisit(int pc, int sp);
    int Step(const char* text, int len, int* ppc, int* psp);
    bool Backtrack(int* ppc, int* psp, long long& steps);
    bool PushRecord(int a, int b);

    std::vector<Inst> m_prog;
    std::vector<unsigned int> m_sets;      // 8 words per set, 256 bits
    std::vector<int> m_stack;              // backtrack records, 2 ints each
    std::vector<unsigned int> m_visited;   // states reached in this Exec
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
