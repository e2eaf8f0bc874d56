#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/persist/TWKPersistentTreeNode.h"
#include "framework/persist/TWKRegistry.h"
#include "tests/harness/harness.h"
#include <psapi.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

// Both stored forms of the persistent tree with what users and other programs put in them:
// everything saved loads back the same, or the save answers FALSE and writes nothing.

namespace {

using Node = TWKPersistentTreeNode;

// The tree as text: keys and values in order, then the children; with bSorted both sorted
// (the registry keeps no order).
std::string Dump(const Node& node, bool bSorted, const std::string& indent = "")
{
    std::vector<std::string> pairs, children;
    CString key, value;
    for (POSITION pos = node.GetFirstKeyPosition(); pos;) {
        node.GetNextKey(pos, key, value);
        pairs.push_back(std::string(key, key.GetLength()) + "=" + std::string(value, value.GetLength()) + "\x01");
    }
    for (POSITION pos = node.GetFirstChildPosition(); pos;)
        children.push_back(Dump(*node.GetNextChild(pos), bSorted, indent + " "));
    if (bSorted) {
        std::sort(pairs.begin(), pairs.end());
        std::sort(children.begin(), children.end());
    }
    std::string out = indent + std::string(node.GetName()) + "{";
    for (const std::string& p : pairs)
        out += p;
    out += "}\n";
    for (const std::string& c : children)
        out += c;
    return out;
}

// One place a tree is kept: a fresh ini file or a fresh registry key for each Store.
struct Store {
    virtual ~Store() = default;
    virtual TWKPTNStrategy* Strategy() = 0;
    virtual bool Empty() = 0;   // nothing was written
    virtual bool Ordered() const = 0;
};

struct IniStore : Store {
    vt::TempDir dir;
    std::string file = dir.File("tree.ini");
    TWKPTNStrategyProfile strategy{ file.c_str() };
    TWKPTNStrategy* Strategy() override { return &strategy; }
    bool Empty() override { return vt::ReadFileBytes(file).find('[') == std::string::npos; }
    bool Ordered() const override { return true; }
};

struct RegistryStore : Store {
    std::string base = "Software\\VeltaneToolTests\\" + vt::UniqueName("trees");
    TWKPTNStrategyRegistry strategy{ base.c_str(), HKEY_CURRENT_USER };
    ~RegistryStore() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str()); }
    TWKPTNStrategy* Strategy() override { return &strategy; }
    bool Empty() override
    {
        HKEY h = NULL;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, base.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return true;
        DWORD keys = 0, values = 0;
        ::RegQueryInfoKeyA(h, NULL, NULL, NULL, &keys, NULL, NULL, &values, NULL, NULL, NULL, NULL);
        ::RegCloseKey(h);
        return keys == 0 && values == 0;
    }
    bool Ordered() const override { return false; }
};

std::unique_ptr<Store> MakeStore(int form)
{
    if (form == 0)
        return std::make_unique<IniStore>();
    return std::make_unique<RegistryStore>();
}

const char* const kForms[] = { "ini", "registry" };

enum Outcome { REFUSED, SAME, CHANGED };

// Saves the tree, loads it into a fresh root and compares; a refused save must leave the
// store empty.
Outcome RoundTrip(Node& tree, Store& store, std::string* pDiff = nullptr)
{
    if (!tree.Save(store.Strategy()))
        return store.Empty() ? REFUSED : CHANGED;
    Node back;
    back.Create(tree.GetName(), nullptr);
    back.Load(store.Strategy());
    std::string before = Dump(tree, !store.Ordered()), after = Dump(back, !store.Ordered());
    if (before == after)
        return SAME;
    if (pDiff)
        *pDiff = before + "---\n" + after;
    return CHANGED;
}

struct Case {
    const char* name;
    std::function<void(Node&)> fill;   // on a created root "Root"
    Outcome ini;
    Outcome registry;
};

std::string Binary(const Node& node, const char* key)
{
    BYTE* data = nullptr;
    UINT size = 0;
    if (const_cast<Node&>(node).GetBinaryValue(key, data, size) != Node::PTN_OK)
        return "failed";
    std::string out((const char*)data, size);
    delete[] data;
    return out;
}

TEST(TreeStores, WhatEachFormHoldsAndRefuses)
{
    std::vector<BYTE> big(100000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = (BYTE)(i * 131 + 7);
    const Case cases[] = {
        { "long values and key names",
          [](Node& r) {
              r.SetValue("k", CString(std::string(3000, 'v').c_str()), TRUE);
              r.SetValue(CString(std::string(5000, 'k').c_str()), "v", TRUE);
          },
          SAME, SAME },
        { "a 100,000-byte binary value", [&big](Node& r) { r.SetBinaryValue("bin", big.data(), (UINT)big.size(), TRUE); },
          SAME, SAME },
        { "blanks and quotes at the ends",
          [](Node& r) {
              r.SetValue("a", "  padded  ", TRUE);
              r.SetValue("b", "\"quoted\"", TRUE);
              r.SetValue("c", "'single'", TRUE);
              r.SetValue("d", "\"", TRUE);
              r.SetValue("e", "\tx", TRUE);
              r.SetValue("f", "", TRUE);
          },
          SAME, SAME },
        { "a child without values", [](Node& r) { r.AddChild("Empty")->AddChild("Leaf"); }, SAME, SAME },
        { "a line break in a value", [](Node& r) { r.SetValue("k", "one\r\ntwo=2", TRUE); }, REFUSED, SAME },
        { "keys like comments and sections",
          [](Node& r) {
              r.SetValue(";k", "v", TRUE);
              r.SetValue("k", "v", TRUE);
          },
          REFUSED, SAME },
        { "a key starting with [", [](Node& r) { r.SetValue("[k]", "v", TRUE); }, REFUSED, SAME },
        { "a key holding =", [](Node& r) { r.SetValue("a=b", "v", TRUE); }, REFUSED, SAME },
        { "a key named like a child entry", [](Node& r) { r.SetValue("ptn_Child1", "Ghost", TRUE); }, REFUSED, SAME },
        { "a child named with the separator", [](Node& r) { r.AddChild("a.b"); }, REFUSED, SAME },
        { "a backslash in a child name", [](Node& r) { r.AddChild("a\\b")->SetValue("k", "v", TRUE); }, SAME, REFUSED },
        { "sibling keys equal but for case",
          [](Node& r) {
              r.SetValue("Key", "1", TRUE);
              r.SetValue("KEY", "2", TRUE);
          },
          REFUSED, REFUSED },
        { "sibling children equal but for case",
          [](Node& r) {
              r.AddChild("Kid")->SetValue("k", "1", TRUE);
              r.AddChild("kid")->SetValue("k", "2", TRUE);
          },
          REFUSED, REFUSED },
        { "refused deep below the root", [](Node& r) { r.AddChild("a")->AddChild("b")->SetValue("x=y", "1", TRUE); },
          REFUSED, SAME },
    };
    for (const Case& c : cases) {
        for (int form = 0; form < 2; ++form) {
            SCOPED_TRACE(std::string(c.name) + " / " + kForms[form]);
            Node tree;
            tree.Create("Root", nullptr);
            c.fill(tree);
            std::unique_ptr<Store> store = MakeStore(form);
            std::string diff;
            EXPECT_EQ(form == 0 ? c.ini : c.registry, RoundTrip(tree, *store, &diff)) << diff;
        }
    }
    // The binary value is read back whole.
    for (int form = 0; form < 2; ++form) {
        Node tree;
        tree.Create("Root", nullptr);
        tree.SetBinaryValue("bin", big.data(), (UINT)big.size(), TRUE);
        std::unique_ptr<Store> store = MakeStore(form);
        ASSERT_TRUE(tree.Save(store->Strategy()));
        Node back;
        back.Create("Root", nullptr);
        ASSERT_TRUE(back.Load(store->Strategy()));
        EXPECT_EQ(std::string((const char*)big.data(), big.size()), Binary(back, "bin")) << kForms[form];
    }
}

// A section's keys and values are read whole, whatever their number and length.
TEST(TreeStores, IniSectionsReadWhole)
{
    vt::TempDir dir;
    std::string text = "[Root]\r\nlong=" + std::string(5000, 'v') + "\r\n";
    for (int i = 1; i <= 3000; ++i)
        text += "ptn_Child" + std::to_string(i) + "=child" + std::to_string(i) + "\r\n";
    for (int i = 1; i <= 3000; ++i)
        text += "[Root.child" + std::to_string(i) + "]\r\ni=" + std::to_string(i) + "\r\n";
    std::string file = dir.Write("wide.ini", text);
    TWKPTNStrategyProfile profile(file.c_str());
    Node root;
    root.Create("Root", nullptr);
    ASSERT_TRUE(root.Load(&profile));
    CString value;
    root.GetValue("long", value, "");
    EXPECT_EQ(5000, value.GetLength());
    int children = 0;
    for (POSITION pos = root.GetFirstChildPosition(); pos; ++children) {
        Node* pChild = root.GetNextChild(pos);
        pChild->GetValue("i", value, "");
        EXPECT_EQ("child" + std::string(value), std::string(pChild->GetName()));
    }
    EXPECT_EQ(3000, children);
}

// Files written before values were quoted still load as they did.
TEST(TreeStores, IniFilesOfEarlierSavesLoadAsBefore)
{
    vt::TempDir dir;
    std::string file = dir.Write("old.ini", "\xEF\xBB\xBF[Root]\r\nptn_Child1=Kid\r\nname = plain text \r\nquoted=\"x\"\r\n"
                                            "; a comment\r\nempty=\r\n\r\n[Root.Kid]\r\nBarID=59393\r\n"
                                            "[root.kid]\r\nBarID=ignored\r\n");
    TWKPTNStrategyProfile profile(file.c_str());
    Node root;
    root.Create("Root", nullptr);
    ASSERT_TRUE(root.Load(&profile));
    EXPECT_EQ("Root{name=plain text\x01quoted=x\x01" "empty=\x01}\n Kid{BarID=59393\x01}\n", Dump(root, false));
}

// A value written on its own, outside a save, joins the section's other keys.
TEST(TreeStores, IniValueWrittenAloneKeepsTheOthers)
{
    vt::TempDir dir;
    std::string file = dir.Write("one.ini", "[Root]\r\na=1\r\nb=2\r\n");
    TWKPTNStrategyProfile profile(file.c_str());
    CStringList path;
    path.AddTail("Root");
    ASSERT_TRUE(profile.WriteValue(path, "c", " three "));
    CStringList children, keys, values;
    ASSERT_TRUE(profile.ReadNode(path, children, keys, values));
    std::string read;
    for (POSITION k = keys.GetHeadPosition(), v = values.GetHeadPosition(); k && v;)
        read += std::string(keys.GetNext(k)) + "=" + std::string(values.GetNext(v)) + ";";
    EXPECT_EQ("a=1;b=2;c= three ;", read);
}

// Damaged binary values: every piece up to the count present and whole, or failure.
TEST(TreeStores, DamagedBinaryValuesFail)
{
    std::mt19937 rng(7);
    int failed = 0;
    for (int round = 0; round < 3000; ++round) {
        const UINT size = 126 + rng() % 2000;   // at least two pieces
        std::vector<BYTE> bytes(size);
        for (BYTE& b : bytes)
            b = (BYTE)rng();
        Node node;
        node.Create("Root", nullptr);
        ASSERT_EQ(0u, node.SetBinaryValue("v", bytes.data(), size, TRUE));
        CString countText;
        node.GetValue("v_BinCount", countText, "");
        const int count = atoi(countText);
        const int piece = (int)(rng() % (UINT)(count - 1));   // a piece before the last
        CString key;
        key.Format("v_BinVal%d", piece);
        CString value;
        node.GetValue(key, value, "");
        switch (round % 5) {
        case 0:   // a piece cut short
            node.SetValue(key, value.Left(value.GetLength() - 2 * (int)(1 + rng() % 100)), TRUE);
            break;
        case 1:   // a piece missing
            node.RemoveKey(key);
            break;
        case 2:   // a piece too long
            node.SetValue(key, value + "AB", TRUE);
            break;
        case 3:   // a count past the pieces
            node.SetValue("v_BinCount", count + 1 + (int)(rng() % 1000), TRUE);
            break;
        default:   // a count that is no number
            node.SetValue("v_BinCount", CString(rng() % 2 ? "" : "-1") + countText + "x", TRUE);
            break;
        }
        failed += Binary(node, "v") == "failed" ? 1 : 0;
    }
    EXPECT_EQ(3000, failed);
}

// Random trees: names and values of every kind and length, depths and child counts.
class RandomTree {
public:
    explicit RandomTree(unsigned seed) : m_rng(seed) {}

    void Fill(Node& node, int depth)
    {
        const int keys = (int)(m_rng() % 5);
        for (int i = 0; i < keys; ++i) {
            CString key = Name();
            if (m_rng() % 6 == 0) {
                std::vector<BYTE> bytes(m_rng() % 400);
                for (BYTE& b : bytes)
                    b = (BYTE)m_rng();
                node.SetBinaryValue(key, bytes.data(), (UINT)bytes.size(), TRUE);
            } else {
                node.SetValue(key, Text(m_rng() % 8 == 0 ? 300 + m_rng() % 3000 : m_rng() % 20), TRUE);
            }
        }
        if (depth >= 5)
            return;
        // Now and then a wide node, whose children are leaves.
        const bool wide = m_rng() % 25 == 0;
        const int children = wide ? 10 + (int)(m_rng() % 20) : (int)(m_rng() % 4);
        for (int i = 0; i < children; ++i)
            if (Node* pChild = node.AddChild(Name()))
                Fill(*pChild, wide ? 5 : depth + 1);
    }

private:
    // Mostly plain; now and then (one in `rare`) a character some form cannot hold as it is.
    char Char(unsigned rare = 150)
    {
        static const char plain[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-+ ";
        static const char hard[] = " \t\"';[]=.\\\r\n#%\x80\xe9\xff";
        if (m_rng() % rare == 0)
            return hard[m_rng() % (sizeof hard - 1)];
        return plain[m_rng() % (sizeof plain - 1)];
    }

    CString Name()
    {
        std::string s;
        for (int n = 1 + (int)(m_rng() % 12); n > 0; --n)
            s += Char();
        if (s.front() == ' ' || s.back() == ' ')
            s = "k" + s + "k";   // plain names have no blanks at their ends
        if (m_rng() % 300 == 0)
            s = std::string(300 + m_rng() % 400, 'n');   // past a registry key name
        return CString(s.c_str());
    }

    CString Text(size_t n)
    {
        // The ends, where readers trim, get the hard characters more often.
        std::string s;
        for (size_t i = 0; i < n; ++i) {
            char c = Char(i < 2 || i + 2 >= n ? 6 : 400);
            if ((c == '\r' || c == '\n') && m_rng() % 8 != 0)
                c = '"';   // line breaks, which the ini form refuses, only now and then
            s += c;
        }
        return CString(s.c_str());
    }

    std::mt19937 m_rng;
};

TEST(TreeStores, RandomTreesComeBackEqualOrAreRefused)
{
    for (int form = 0; form < 2; ++form) {
        const auto start = std::chrono::steady_clock::now();
        int refused = 0, same = 0, changed = 0;
        for (int round = 0; round < 300; ++round) {
            Node tree;
            tree.Create("Root", nullptr);
            RandomTree(1000u + (unsigned)round).Fill(tree, 0);
            std::unique_ptr<Store> store = MakeStore(form);
            std::string diff;
            switch (RoundTrip(tree, *store, &diff)) {
            case REFUSED:
                ++refused;
                break;
            case SAME:
                ++same;
                break;
            case CHANGED:
                ++changed;
                ADD_FAILURE() << kForms[form] << " tree " << round << " came back changed:\n" << diff.substr(0, 2000);
                break;
            }
        }
        printf("%s form: %d of 300 random trees saved and loaded equal, %d refused, %d changed (%.1f s)\n", kForms[form],
               same, refused, changed,
               std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        EXPECT_EQ(0, changed) << kForms[form];
        EXPECT_GT(same, 100) << kForms[form];   // the refusals are the exception
    }
}

// A chain 6,000 nodes deep: the ini file (one section per node, its names from the root
// down) loads in time and memory in proportion to its size.
TEST(TreeStores, DeepIniTreeLoadsWhole)
{
    const int depth = 6000;
    vt::TempDir dir;
    std::string text, section = "R";
    text.reserve((size_t)depth * depth * 2 + 1000000);
    for (int level = 0; level < depth; ++level) {
        text += "[" + section + "]\r\nlevel=" + std::to_string(level) + "\r\n";
        if (level + 1 < depth)
            text += "ptn_Child1=c\r\n";
        section += ".c";
    }
    std::string file = dir.Write("deep.ini", text);
    TWKPTNStrategyProfile profile(file.c_str());
    auto start = std::chrono::steady_clock::now();
    {
        Node root;
        root.Create("R", nullptr);
        ASSERT_TRUE(root.Load(&profile));
        const Node* p = &root;
        int levels = 1;
        while (p->GetFirstChildPosition()) {
            POSITION pos = p->GetFirstChildPosition();
            p = p->GetNextChild(pos);
            ++levels;
        }
        EXPECT_EQ(depth, levels);
        CString value;
        const_cast<Node*>(p)->GetValue("level", value, "");
        EXPECT_EQ(std::to_string(depth - 1), std::string(value));
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    printf("depth %d: %.1f MB file loaded in %.2f s, peak working set %.0f MB\n", depth, text.size() / 1048576.0,
           seconds, counters.PeakWorkingSetSize / 1048576.0);
}

} // namespace
