#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/persist/TWKPersistentTreeNode.h"
#include "framework/persist/TWKRegistry.h"
#include "tests/harness/harness.h"
#include <memory>
#include <string>
#include <vector>

namespace {

using Node = TWKPersistentTreeNode;

std::string Pairs(const Node& node)
{
    std::string out;
    CString key, value;
    for (POSITION pos = node.GetFirstKeyPosition(); pos;) {
        node.GetNextKey(pos, key, value);
        out += std::string(key) + "=" + std::string(value) + ";";
    }
    return out;
}

std::string Children(const Node& node)
{
    std::string out;
    for (POSITION pos = node.GetFirstChildPosition(); pos;)
        out += std::string(node.GetNextChild(pos)->GetName()) + ";";
    return out;
}

std::vector<BYTE> Bytes(size_t n)
{
    std::vector<BYTE> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = (BYTE)(i * 37 + 11);
    return v;
}

TEST(PersistentTree, ResultCodes)
{
    Node root;
    EXPECT_EQ(2u, root.SetValue("k", "v", TRUE));
    EXPECT_EQ(2u, root.AttachChild(nullptr));
    EXPECT_EQ(4u, root.Create("", nullptr));
    ASSERT_EQ(0u, root.Create("Root", nullptr));
    EXPECT_EQ(1u, root.Create("Again", nullptr));
    EXPECT_EQ(8u, root.SetValue("", "v", TRUE));
    EXPECT_EQ(0u, root.SetValue("k", "old", FALSE));
    EXPECT_EQ(16u, root.SetValue("k", "new", FALSE));
    CString value;
    EXPECT_EQ(0u, root.GetValue("k", value, "dflt"));
    EXPECT_STREQ("old", (LPCSTR)value);
    EXPECT_EQ(64u, root.GetValue("nope", value, "dflt"));
    EXPECT_STREQ("dflt", (LPCSTR)value);
    EXPECT_EQ(64u, root.RemoveKey("nope"));
    EXPECT_EQ(4u, root.AttachChild(nullptr));

    ASSERT_NE(nullptr, root.AddChild("Child"));
    EXPECT_EQ(nullptr, root.AddChild("Child"));   // a duplicate is deleted again
    Node stranger;
    EXPECT_EQ(32u, stranger.Create("Child", &root));
    EXPECT_FALSE(stranger.IsCreated());
    EXPECT_EQ("Child;", Children(root));
    EXPECT_EQ(nullptr, root.FindChild("child"));  // names are case-sensitive
    EXPECT_EQ(nullptr, root.FindChild(""));

    BYTE* data = nullptr;
    UINT size = 0;
    EXPECT_EQ(128u, root.SetBinaryValue("b", nullptr, 3, TRUE));
    root.SetValue("empty", "", TRUE);
    EXPECT_EQ(0xFFFFu, root.GetBinaryValue("empty", data, size));
    EXPECT_EQ(64u, root.GetBinaryValue("missing", data, size));
    EXPECT_EQ(nullptr, data);
}

TEST(PersistentTree, NumbersBooleansAndRemovedKeysKeepTheirOrder)
{
    Node root;
    root.Create("Root", nullptr);
    root.SetValue("int", -42, TRUE);
    root.SetValue("yes", true, TRUE);
    root.SetValue("no", false, TRUE);
    root.SetValue("padded", "  17abc", TRUE);
    root.SetValue("lower", "true", TRUE);
    root.SetValue("junk", "yes", TRUE);
    EXPECT_EQ("int=-42;yes=True;no=False;padded=  17abc;lower=true;junk=yes;", Pairs(root));

    int i = 0;
    long l = 0;
    UINT u = 0;
    DWORD d = 0;
    EXPECT_EQ(0u, root.GetValue("int", i, 5));
    EXPECT_EQ(-42, i);
    EXPECT_EQ(0u, root.GetValue("padded", l, 5L));
    EXPECT_EQ(17L, l);
    EXPECT_EQ(64u, root.GetValue("none", u, 9u));
    EXPECT_EQ(9u, u);
    EXPECT_EQ(0u, root.GetValue("int", d, (DWORD)0));
    EXPECT_EQ((DWORD)-42, d);

    const struct { const char* key; bool expected; } bools[] = {
        { "yes", true }, { "no", false }, { "lower", true }, { "junk", false }, { "int", false },
    };
    for (const auto& b : bools) {
        bool value = !b.expected;
        EXPECT_EQ(0u, root.GetValue(b.key, value, false));
        EXPECT_EQ(b.expected, value) << b.key;
    }
    bool missing = false;
    EXPECT_EQ(64u, root.GetValue("absent", missing, true));
    EXPECT_TRUE(missing);

    EXPECT_EQ(0u, root.RemoveKey("yes"));
    EXPECT_EQ("int=-42;no=False;padded=  17abc;lower=true;junk=yes;", Pairs(root));
}

TEST(PersistentTree, ByteDataPlainAndInPieces)
{
    Node root;
    root.Create("Root", nullptr);
    const BYTE small[] = { 0x00, 0x0F, 0xF0, 0xA5 };
    ASSERT_EQ(0u, root.SetBinaryValue("small", small, 4, TRUE));
    EXPECT_EQ("small=AAPAAPFK;", Pairs(root));

    std::vector<BYTE> big = Bytes(126);   // 252 characters: two pieces
    ASSERT_EQ(0u, root.SetBinaryValue("big", big.data(), 126, TRUE));
    CString count, piece0, piece1;
    root.GetValue("big_BinCount", count, "");
    root.GetValue("big_BinVal0", piece0, "");
    root.GetValue("big_BinVal1", piece1, "");
    EXPECT_STREQ("2", (LPCSTR)count);
    EXPECT_EQ(250, piece0.GetLength());
    EXPECT_EQ(2, piece1.GetLength());
    EXPECT_EQ(64u, root.GetValue("big", count, ""));  // the key itself is not set

    for (auto [key, expected] : { std::pair<const char*, std::vector<BYTE>>{ "small", { small, small + 4 } },
                                  std::pair<const char*, std::vector<BYTE>>{ "big", big } }) {
        BYTE* data = nullptr;
        UINT size = 0;
        ASSERT_EQ(0u, root.GetBinaryValue(key, data, size)) << key;
        std::unique_ptr<BYTE[]> owned(data);
        EXPECT_EQ(expected, std::vector<BYTE>(data, data + size)) << key;
    }

    // A shorter value written over a pieced one reads back as itself.
    ASSERT_EQ(0u, root.SetBinaryValue("big", small, 4, TRUE));
    BYTE* data = nullptr;
    UINT size = 0;
    ASSERT_EQ(0u, root.GetBinaryValue("big", data, size));
    std::unique_ptr<BYTE[]> owned(data);
    EXPECT_EQ(4u, size);
}

TEST(PersistentTree, DamagedByteDataAnswersAtOnce)
{
    Node root;
    root.Create("Root", nullptr);
    std::vector<BYTE> big = Bytes(200);
    ASSERT_EQ(0u, root.SetBinaryValue("big", big.data(), 200, TRUE));
    // Hostile counts over the same pieces fail at once (pieces missing); a piece number past
    // 2^31 is no piece.
    root.SetValue("big_BinVal9999999999", "AB", TRUE);
    for (const char* count : { "2147483647", "2147483648", "99999999999", "0", "3" }) {
        root.SetValue("big_BinCount", count, TRUE);
        BYTE* data = reinterpret_cast<BYTE*>(1);
        UINT size = 0;
        EXPECT_EQ(0xFFFFu, root.GetBinaryValue("big", data, size)) << count;
        EXPECT_EQ(nullptr, data);
    }
    root.SetValue("big_BinCount", "2", TRUE);
    BYTE* data = nullptr;
    UINT size = 0;
    ASSERT_EQ(0u, root.GetBinaryValue("big", data, size));
    std::unique_ptr<BYTE[]> owned(data);
    EXPECT_EQ(big, std::vector<BYTE>(data, data + size));

    const struct { const char* text; } broken[] = { { "ABC" }, { "AZ" }, { "ab" }, { "A " } };
    for (const auto& b : broken) {
        root.SetValue("bad", b.text, TRUE);
        BYTE* bad = reinterpret_cast<BYTE*>(1);
        UINT badSize = 7;
        EXPECT_EQ(0xFFFFu, root.GetBinaryValue("bad", bad, badSize)) << b.text;
        EXPECT_EQ(nullptr, bad);
    }
}

// Fills a small tree: a root with pairs, two children, a grandchild.
void Fill(Node& root)
{
    root.Create("DockState", nullptr);
    root.SetValue("Bars", 2, TRUE);
    root.SetValue("Version", "3", TRUE);
    Node* bar0 = root.AddChild("Bar-0");
    bar0->SetValue("BarID", 59393, TRUE);
    bar0->SetValue("Visible", true, TRUE);
    Node* bar1 = root.AddChild("Bar-1");
    bar1->SetValue("BarID", 59392, TRUE);
    bar1->AddChild("Extra")->SetValue("Size", "12", TRUE);
}

std::string Dump(const Node& node, const std::string& indent = "")
{
    std::string out = indent + std::string(node.GetName()) + " {" + Pairs(node) + "}\n";
    for (POSITION pos = node.GetFirstChildPosition(); pos;)
        out += Dump(*node.GetNextChild(pos), indent + "  ");
    return out;
}

TEST(PersistentTree, SavesAndLoadsThroughAnIniFile)
{
    vt::TempDir dir;
    std::string file = dir.File("tree.ini");
    Node saved;
    Fill(saved);
    TWKPTNStrategyProfile profile(file.c_str());
    ASSERT_TRUE(saved.Save(&profile));

    std::string ini = vt::ReadFileBytes(file);
    EXPECT_NE(std::string::npos, ini.find("[DockState.Bar-1.Extra]"));
    EXPECT_NE(std::string::npos, ini.find("ptn_Child2=Bar-1"));

    Node loaded;
    loaded.Create("DockState", nullptr);
    ASSERT_TRUE(loaded.Load(&profile));
    EXPECT_EQ(Dump(saved), Dump(loaded));

    // Saving again replaces the section rather than adding to it.
    saved.RemoveKey("Version");
    ASSERT_TRUE(saved.Save(&profile));
    Node again;
    again.Create("DockState", nullptr);
    ASSERT_TRUE(again.Load(&profile));
    EXPECT_EQ(Dump(saved), Dump(again));

    Node nothing;
    nothing.Create("Elsewhere", nullptr);
    EXPECT_FALSE(nothing.Load(&profile));
    Node uncreated;
    EXPECT_FALSE(uncreated.Load(&profile));
    EXPECT_FALSE(uncreated.Save(&profile));
    EXPECT_FALSE(saved.Load(nullptr));
}

TEST(PersistentTree, IniSectionsWithChildKeysAndLongKeyLists)
{
    vt::TempDir dir;
    std::string section = "[Root]\r\nptn_Child1=Kid\r\nColour=red\r\n";
    for (int i = 0; i < 120; ++i)   // a key list well past the first 512-byte buffer
        section += "LongKeyName" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    std::string file = dir.Write("given.ini", section + "[Root.Kid]\r\nx=1\r\n");
    TWKPTNStrategyProfile profile(file.c_str());
    Node root;
    root.Create("Root", nullptr);
    ASSERT_TRUE(root.Load(&profile));
    EXPECT_EQ("Kid;", Children(root));
    CString value;
    EXPECT_EQ(0u, root.GetValue("Colour", value, ""));
    EXPECT_STREQ("red", (LPCSTR)value);
    EXPECT_EQ(0u, root.GetValue("LongKeyName119", value, ""));
    EXPECT_STREQ("119", (LPCSTR)value);
    EXPECT_EQ(64u, root.GetValue("ptn_Child1", value, ""));
    EXPECT_EQ("x=1;", Pairs(*root.FindChild("Kid")));
}

TEST(PersistentTree, SavesAndLoadsThroughTheRegistry)
{
    std::string base = "Software\\VeltaneToolTests\\" + vt::UniqueName("ptn");
    {
        TWKPTNStrategyRegistry registry(base.c_str(), HKEY_CURRENT_USER);
        Node saved;
        Fill(saved);
        ASSERT_TRUE(saved.Save(&registry));

        HKEY h = NULL;
        ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, (base + "\\DockState\\Bar-1\\Extra").c_str(),
                                                 0, KEY_READ, &h));
        ::RegCloseKey(h);

        Node loaded;
        loaded.Create("DockState", nullptr);
        ASSERT_TRUE(loaded.Load(&registry));
        EXPECT_EQ(Dump(saved), Dump(loaded));

        // A save replaces the node's whole subtree.
        Node smaller;
        smaller.Create("DockState", nullptr);
        smaller.SetValue("Bars", 0, TRUE);
        ASSERT_TRUE(smaller.Save(&registry));
        Node reloaded;
        reloaded.Create("DockState", nullptr);
        ASSERT_TRUE(reloaded.Load(&registry));
        EXPECT_EQ(Dump(smaller), Dump(reloaded));
    }
    ::RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str());
}

} // namespace
