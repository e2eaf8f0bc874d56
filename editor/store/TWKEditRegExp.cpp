// The pattern is parsed into a small tree, checked, and compiled into a
// program that a backtracking machine runs with an explicit stack, so deep
// repetitions never recurse on the machine stack.
#include "editor/store/TWKEditRegExp.h"
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

enum Op
{
    OP_CHAR,    // arg: the byte
    OP_ANY,
    OP_SET,     // arg: set index
    OP_BOL,
    OP_EOL,
    OP_SPLIT,   // try x, on failure y
    OP_JMP,     // go to x
    OP_SAVE,    // arg: capture slot
    OP_MATCH
};

enum NodeKind { N_CHAR, N_ANY, N_SET, N_BOL, N_EOL, N_EMPTY, N_CAT, N_ALT, N_GROUP, N_REPEAT };


inline BOOL IsRepeatOp(char c) { return c == '*' || c == '+' || c == '?'; }

} // namespace

struct TWKEditRegExp::Node
{
    int kind;
    int arg;        // byte, set index, group number or repetition operator
    BOOL bWidth;    // every match of the node is non-empty
    std::vector<std::unique_ptr<Node>> kids;
    explicit Node(int k, int a = 0) : kind(k), arg(a), bWidth(FALSE) {}
};

struct TWKEditRegExp::Parser
{
    TWKEditRegExp* re;
    const char* p;
    int nGroups;
    BOOL bError;

    typedef std::unique_ptr<Node> NodePtr;

    // alternation := branch ('|' branch)*
    NodePtr ParseAlt(int depth)
    {
        NodePtr alt(new Node(N_ALT));
        alt->bWidth = TRUE;
        for (;;)
        {
            NodePtr br = ParseBranch(depth);
            if (!br)
                return NodePtr();
            if (!br->bWidth)
                alt->bWidth = FALSE;
            alt->kids.push_back(std::move(br));
            if (*p != '|')
                break;
            ++p;
        }
        return alt;
    }

    NodePtr ParseBranch(int depth)
    {
        NodePtr cat(new Node(N_CAT));
        while (*p != '\0' && *p != '|' && *p != ')')
        {
            NodePtr piece = ParsePiece(depth);
            if (!piece)
                return NodePtr();
            if (piece->bWidth)
                cat->bWidth = TRUE;
            cat->kids.push_back(std::move(piece));
        }
        return cat;
    }

    NodePtr ParsePiece(int depth)
    {
        NodePtr atom = ParseAtom(depth);
        if (!atom)
            return NodePtr();
        if (!IsRepeatOp(*p))
            return atom;
        char op = *p++;
        // Repeating what can match nothing would loop without consuming text.
        if (!atom->bWidth && op != '?')
            return Fail();
        if (IsRepeatOp(*p))
            return Fail();
        NodePtr rep(new Node(N_REPEAT, op));
        rep->bWidth = (op == '+');
        rep->kids.push_back(std::move(atom));
        return rep;
    }

    NodePtr ParseAtom(int depth)
    {
        char c = *p++;
        switch (c)
        {
        case '^':
            return NodePtr(new Node(N_BOL));
        case '$':
            return NodePtr(new Node(N_EOL));
        case '.':
            return Wide(new Node(N_ANY));
        case '[':
            return ParseSet();
        case '(':
        {
            if (nGroups >= TWK_REGEXP_NSUB - 1)
                return Fail();
            int n = ++nGroups;
            NodePtr inner = ParseAlt(depth + 1);
            if (!inner)
                return NodePtr();
            if (*p != ')')
                return Fail();
            ++p;
            NodePtr grp(new Node(N_GROUP, n));
            grp->bWidth = inner->bWidth;
            grp->kids.push_back(std::move(inner));
            return grp;
        }
        case '*':
        case '+':
        case '?':
            return Fail();  // nothing to repeat
        case '\\':
            if (*p == '\0')
                return Fail();
            return Wide(new Node(N_CHAR, (unsigned char)*p++));
        default:
            return Wide(new Node(N_CHAR, (unsigned char)c));
        }
    }

    NodePtr ParseSet()
    {
        unsigned int bits[8] = { 0 };
        BOOL bNegate = FALSE;
        if (*p == '^')
        {
            bNegate = TRUE;
            ++p;
        }
        if (*p == ']' || *p == '-')
            Add(bits, *p++);
        while (*p != '\0' && *p != ']')
        {
            if (*p == '-')
            {
                ++p;
                if (*p == ']' || *p == '\0')
                    Add(bits, '-');
                else
                {
                    // Range ends compare as signed bytes.
                    int from = (signed char)p[-2];
                    int to = (signed char)*p++;
                    if (from > to)
                        return Fail();
                    for (int ch = from; ch <= to; ++ch)
                        Add(bits, (char)ch);
                }
            }
            else
                Add(bits, *p++);
        }
        if (*p != ']')
            return Fail();
        ++p;
        if (bNegate)
            for (int i = 0; i < 8; ++i)
                bits[i] = ~bits[i];
        int idx = (int)(re->m_sets.size() / 8);
        re->m_sets.insert(re->m_sets.end(), bits, bits + 8);
        return Wide(new Node(N_SET, idx));
    }

    static void Add(unsigned int* bits, char c)
    {
        unsigned char u = (unsigned char)c;
        bits[u >> 5] |= 1u << (u & 31);
    }

    static NodePtr Wide(Node* n)
    {
        n->bWidth = TRUE;
        return NodePtr(n);
    }

    NodePtr Fail()
    {
        bError = TRUE;
        return NodePtr();
    }
};

TWKEditRegExp::TWKEditRegExp()
    : m_pMatchText(NULL)
{
    Init();
}

TWKEditRegExp::~TWKEditRegExp()
{
    Free();
}

void TWKEditRegExp::Init()
{
    m_prog.clear();
    m_sets.clear();
    m_stack.clear();
    m_must.clear();
    m_nStartChar = -1;
    m_bAnchored = FALSE;
    ClearMatch();
}

// Forgets the last match.
void TWKEditRegExp::ClearMatch()
{
    m_bLimitHit = FALSE;
    for (int i = 0; i < TWK_REGEXP_NSUB; ++i)
        m_start[i] = m_end[i] = -1;
    free(m_pMatchText);
    m_pMatchText = NULL;
    m_nMatchTextLen = 0;
}

void TWKEditRegExp::Free()
{
    std::vector<Inst>().swap(m_prog);
    std::vector<unsigned int>().swap(m_sets);
    std::vector<int>().swap(m_stack);
    std::vector<unsigned int>().swap(m_visited);
    Init();
}

int TWKEditRegExp::EmitInst(int op, int arg, int x, int y)
{
    Inst in = { op, arg, x, y };
    m_prog.push_back(in);
    return (int)m_prog.size() - 1;
}

void TWKEditRegExp::Emit(const Node* n)
{
    switch (n->kind)
    {
    case N_CHAR: EmitInst(OP_CHAR, n->arg); break;
    case N_ANY: EmitInst(OP_ANY); break;
    case N_SET: EmitInst(OP_SET, n->arg); break;
    case N_BOL: EmitInst(OP_BOL); break;
    case N_EOL: EmitInst(OP_EOL); break;
    case N_EMPTY: break;
    case N_CAT:
        for (const auto& k : n->kids)
            Emit(k.get());
        break;
    case N_GROUP:
        EmitInst(OP_SAVE, 2 * n->arg);
        Emit(n->kids[0].get());
        EmitInst(OP_SAVE, 2 * n->arg + 1);
        break;
    case N_ALT:
    {
        std::vector<int> jumps;
        size_t count = n->kids.size();
        for (size_t i = 0; i + 1 < count; ++i)
        {
            int split = EmitInst(OP_SPLIT);
            m_prog[split].x = split + 1;
            Emit(n->kids[i].get());
            jumps.push_back(EmitInst(OP_JMP));
            m_prog[split].y = (int)m_prog.size();
        }
        Emit(n->kids[count - 1].get());
        for (int j : jumps)
            m_prog[j].x = (int)m_prog.size();
        break;
    }
    case N_REPEAT:
    {
        const Node* k = n->kids[0].get();
        if (n->arg == '?')
        {
            int split = EmitInst(OP_SPLIT);
            m_prog[split].x = split + 1;
            Emit(k);
            m_prog[split].y = (int)m_prog.size();
        }
        else if (n->arg == '*')
        {
            int split = EmitInst(OP_SPLIT);
            m_prog[split].x = split + 1;
            Emit(k);
            EmitInst(OP_JMP, 0, split);
            m_prog[split].y = (int)m_prog.size();
        }
        else
        {
            int top = (int)m_prog.size();
            Emit(k);
            int split = EmitInst(OP_SPLIT);
            m_prog[split].x = top;
            m_prog[split].y = split + 1;
        }
        break;
    }
    }
}

int TWKEditRegExp::Compile(const char* pszPattern)
{
    Free();
    if (pszPattern == NULL)
        return 0;

    Parser ps = { this, pszPattern, 0, FALSE };
    std::unique_ptr<Node> root = ps.ParseAlt(0);
    if (!root || ps.bError || *ps.p != '\0')
    {
        Free();
        return 0;
    }

    Emit(root.get());
    EmitInst(OP_MATCH);

    // Shortcuts: what every match must begin with, or contain.
    size_t i = 0;
    while (i < m_prog.size() && m_prog[i].op == OP_SAVE)
        ++i;
    if (m_prog[i].op == OP_BOL)
        m_bAnchored = TRUE;
    else if (m_prog[i].op == OP_CHAR)
        m_nStartChar = m_prog[i].arg;

    if (root->kids.size() == 1)
    {
        const Node* cat = root->kids[0].get();
        std::vector<char> run;
        for (size_t k = 0; k <= cat->kids.size(); ++k)
        {
            if (k < cat->kids.size() && cat->kids[k]->kind == N_CHAR)
                run.push_back((char)cat->kids[k]->arg);
            else
            {
                if (run.size() > m_must.size())
                    m_must = run;
                run.clear();
            }
        }
    }
    return 1;
}

BOOL TWKEditRegExp::MatchOne(const Inst& in, unsigned char c) const
{
    switch (in.op)
    {
    case OP_CHAR: return c == (unsigned char)in.arg;
    case OP_ANY: return TRUE;
    case OP_SET: return (m_sets[in.arg * 8 + (c >> 5)] >> (c & 31)) & 1;
    default: return FALSE;
    }
}

// A backtrack record: an alternative to try (the split's second target and
// the text position), or a capture slot's value to put back.
bool TWKEditRegExp::PushRecord(int a, int b)
{
    if (m_stack.size() >= 2u * kStackLimit)
        return false;
    m_stack.insert(m_stack.end(), { a, b });
    return true;
}

// Marks the state (instruction, position); false when it was reached before.
// Without back references a state's outcome depends on nothing else, so one
// reached again has already failed, in this attempt or an earlier one.
bool TWKEditRegExp::FirstVisit(int pc, int sp)
{
    size_t bit = (size_t)sp * m_prog.size() + (size_t)pc;
    unsigned int mask = 1u << (bit & 31);
    unsigned int& word = m_visited[bit >> 5];
    if (word & mask)
        return false;
    word |= mask;
    return true;
}

// Runs the instruction at *ppc on *psp; moves on and returns STEP_NEXT, or
// says that the thread failed, matched or ran out of stack.
int TWKEditRegExp::Step(const char* text, int len, int* ppc, int* psp)
{
    const Inst& in = m_prog[*ppc];
    int sp = *psp;
    switch (in.op)
    {
    case OP_CHAR:
    case OP_ANY:
    case OP_SET:
        if (sp >= len || !MatchOne(in, (unsigned char)text[sp]))
            return STEP_FAIL;
        ++*ppc;
        ++*psp;
        return STEP_NEXT;
    case OP_BOL:
        if (sp != 0)
            return STEP_FAIL;
        ++*ppc;
        return STEP_NEXT;
    case OP_EOL:
        if (sp != len)
            return STEP_FAIL;
        ++*ppc;
        return STEP_NEXT;
    case OP_JMP:
        *ppc = in.x;
        return STEP_NEXT;
    case OP_SPLIT:
        if (!PushRecord(in.y, sp))
            return STEP_LIMIT;
        *ppc = in.x;
        return STEP_NEXT;
    case OP_SAVE:
        if (!PushRecord(-1 - in.arg, m_caps[in.arg]))
            return STEP_LIMIT;
        m_caps[in.arg] = sp;
        ++*ppc;
        return STEP_NEXT;
    case OP_MATCH:
        return STEP_MATCH;
    }
    return STEP_FAIL;
}

// Pops records, putting captures back, up to the next alternative; false
// when none is left.
bool TWKEditRegExp::Backtrack(int* ppc, int* psp, long long& steps)
{
    while (!m_stack.empty())
    {
        --steps;
        size_t top = m_stack.size() - 2;
        int a = m_stack[top];
        int b = m_stack[top + 1];
        m_stack.resize(top);
        if (a < 0)
        {
            m_caps[-1 - a] = b;
            continue;
        }
        *ppc = a;
        *psp = b;
        return true;
    }
    return false;
}

// 1 on a match at start (m_caps filled), 0 on none, -1 when a guard was hit.
int TWKEditRegExp::Run(const char* text, int len, int start, long long& steps)
{
    for (int i = 0; i < 2 * TWK_REGEXP_NSUB; ++i)
        m_caps[i] = -1;
    m_stack.clear();
    int pc = 0;
    int sp = start;
    for (;;)
    {
        if (--steps < 0)
            return -1;
        int r = FirstVisit(pc, sp) ? Step(text, len, &pc, &sp) : STEP_FAIL;
        if (r == STEP_NEXT)
            continue;
        if (r == STEP_MATCH)
        {
            m_caps[0] = start;
            m_caps[1] = sp;
            return 1;
        }
        if (r == STEP_LIMIT)
            return -1;
        if (!Backtrack(&pc, &sp, steps))
            return 0;
    }
}

int TWKEditRegExp::Exec(const char* pszText)
{
    return Exec(pszText, pszText ? (int)strlen(pszText) : 0);
}

int TWKEditRegExp::Exec(const char* pszText, int nLength)
{
    ClearMatch();
    if (m_prog.empty() || pszText == NULL || nLength < 0)
        return -1;

    if (!m_must.empty())
    {
        int m = (int)m_must.size();
        const char* hit = NULL;
        for (const char* q = pszText; q + m <= pszText + nLength; ++q)
        {
            q = (const char*)memchr(q, m_must[0], pszText + nLength - q);
            if (q == NULL || q + m > pszText + nLength)
                break;
            if (memcmp(q, m_must.data(), m) == 0)
            {
                hit = q;
                break;
            }
        }
        if (hit == NULL)
            return -1;
    }

    // One bit per (instruction, position), kept over all start positions.
    m_visited.assign(((size_t)(nLength + 1) * m_prog.size() + 31) / 32, 0);
    long long steps = kStepLimit;
    int found = -1;
    for (int s = 0; s <= nLength; ++s)
    {
        if (m_bAnchored && s > 0)
            break;
        if (m_nStartChar >= 0)
        {
            const void* q = memchr(pszText + s, m_nStartChar, nLength - s);
            if (q == NULL)
                break;
            s = (int)((const char*)q - pszText);
        }
        int r = Run(pszText, nLength, s, steps);
        if (r < 0)
        {
            m_bLimitHit = TRUE;
            break;
        }
        if (r > 0)
        {
            found = s;
            break;
        }
    }
    m_stack.clear();
    m_visited.clear();
    if (found < 0)
        return -1;

    char* copy = (char*)malloc((size_t)nLength + 1);
    if (copy == NULL)
        return -1;
    memcpy(copy, pszText, nLength);
    copy[nLength] = '\0';
    m_pMatchText = copy;
    m_nMatchTextLen = nLength;
    for (int i = 0; i < TWK_REGEXP_NSUB; ++i)
    {
        if (m_caps[2 * i] >= 0 && m_caps[2 * i + 1] >= m_caps[2 * i])
        {
            m_start[i] = m_caps[2 * i];
            m_end[i] = m_caps[2 * i + 1];
        }
    }
    return found;
}

char* TWKEditRegExp::Substitute(const char* pszTemplate) const
{
    if (pszTemplate == NULL || m_pMatchText == NULL)
        return NULL;
    // Two passes: measure, then write into a block of exactly that size.
    char* out = NULL;
    size_t need = 0;
    for (int pass = 0; pass < 2; ++pass)
    {
        size_t len = 0;
        const char* src = pszTemplate;
        while (*src != '\0')
        {
            char c = *src++;
            int no = -1;
            if (c == '&')
                no = 0;
            else if (c == '\\' && *src >= '0' && *src <= '9')
                no = *src++ - '0';
            if (no < 0)
            {
                if (c == '\\' && (*src == '\\' || *src == '&'))
                    c = *src++;
                if (out)
                    out[len] = c;
                ++len;
            }
            else if (m_start[no] >= 0)
            {
                size_t n = (size_t)(m_end[no] - m_start[no]);
                if (out)
                    memcpy(out + len, m_pMatchText + m_start[no], n);
                len += n;
            }
        }
        if (out)
        {
            out[len] = '\0';
            return out;
        }
        need = len;
        out = (char*)malloc(need + 1);
        if (out == NULL)
            return NULL;
    }
    return out;
}
