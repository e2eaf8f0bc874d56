#include <gtest/gtest.h>
#include "support/config/FileSearch.h"
#include "tests/harness/harness.h"
#include <string>
#include <vector>

namespace {

// Folders a\, b\ and c\ (with their trailing backslash) in a fresh temp folder; m\ is never created.
class FileSearchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* f : {"a", "b", "c", "b\\sub"})
            ASSERT_TRUE(CreateDirectoryA(tmp.File(f).c_str(), nullptr));
    }
    std::string Dir(const char* f) const { return tmp.File(f) + "\\"; }
    std::string Touch(const std::string& rel) const { return tmp.Write(rel, "x"); }
    C_CUStringList* Folders(std::initializer_list<const char*> names)
    {
        lists.emplace_back(new C_CUStringList);
        for (const char* n : names)
            lists.back()->Add(Dir(n).c_str());
        return lists.back().get();
    }

    vt::TempDir tmp;
    std::vector<std::unique_ptr<C_CUStringList>> lists;
};

C_CUStringList* Fill(C_CUStringList& list, std::initializer_list<const char*> texts)
{
    for (const char* t : texts)
        list.Add(t);
    return &list;
}

TEST_F(FileSearchTest, FolderFieldsTriedInOrderElseFirstCandidate)
{
    const std::string fields = Dir("m") + " ; " + Dir("b") + "," + Dir("c");
    C_CUString out;

    EXPECT_TRUE(FindFileInFolderFields(out, Dir("a").c_str(), "x", ".txt", fields.c_str()));
    EXPECT_EQ(Dir("a") + "x.txt", out) << "none exists: the first candidate";
    EXPECT_FALSE(FindFileInFolderFields(out, Dir("a").c_str(), "x", ".txt", nullptr));
    EXPECT_EQ(Dir("a") + "x.txt", out);

    Touch("c\\x.txt");
    EXPECT_TRUE(FindFileInFolderFields(out, Dir("a").c_str(), "x", ".txt", fields.c_str()));
    EXPECT_EQ(Dir("c") + "x.txt", out);
    EXPECT_FALSE(FindFileInFolderFields(out, Dir("a").c_str(), "x", ".txt", nullptr));

    Touch("b\\x.txt");
    EXPECT_TRUE(FindFileInFolderFields(out, Dir("a").c_str(), "x", ".txt", fields.c_str()));
    EXPECT_EQ(Dir("b") + "x.txt", out) << "fields trimmed, missing folder skipped, b before c";

    // An empty field ends the search.
    const std::string gap = Dir("a") + ",," + Dir("c");
    EXPECT_TRUE(FindFileInFolderFields(out, Dir("m").c_str(), "x", ".txt", gap.c_str()));
    EXPECT_EQ(Dir("m") + "x.txt", out);

    Touch("a\\x.txt");
    EXPECT_TRUE(FindFileInFolderFields(out, Dir("a").c_str(), "x", ".txt", nullptr));
    EXPECT_EQ(Dir("a") + "x.txt", out);
}

TEST_F(FileSearchTest, ByListsFoldersOuterExtensionsInner)
{
    C_CUStringList exts;
    Fill(exts, {".asm", ".inc"});
    C_CUStringList* folders = Folders({"m", "a", "b"});
    C_CUString out;

    EXPECT_FALSE(FindFileByLists("prog", folders, &exts, out));
    EXPECT_EQ(Dir("b") + "prog.inc", out) << "the last candidate tried";

    Touch("b\\prog.asm");
    Touch("a\\prog.inc");
    EXPECT_TRUE(FindFileByLists("prog", folders, &exts, out));
    EXPECT_EQ(Dir("a") + "prog.inc", out) << "every extension of a folder before the next folder";

    // A name with an extension ignores the extension list.
    EXPECT_FALSE(FindFileByLists("prog.lst", folders, &exts, out));
    EXPECT_EQ(Dir("b") + "prog.lst", out);
    Touch("b\\prog.lst");
    EXPECT_TRUE(FindFileByLists("prog.lst", folders, &exts, out));
    EXPECT_EQ(Dir("b") + "prog.lst", out);

    // A directory part: only the name itself is tested.
    Touch("b\\sub\\prog.lst");
    EXPECT_FALSE(FindFileByLists("sub\\prog.lst", folders, &exts, out));
    EXPECT_EQ("sub\\prog.lst", out);
    const std::string full = tmp.File("b\\sub\\prog.lst");
    EXPECT_TRUE(FindFileByLists(full.c_str(), Folders({}), &exts, out));
    EXPECT_EQ(full, out);
    EXPECT_FALSE(FindFileByLists(tmp.File("a\\none.lst").c_str(), folders, &exts, out));

    // Empty or missing lists find nothing.
    C_CUStringList none;
    EXPECT_FALSE(FindFileByLists("prog", &none, &exts, out));
    EXPECT_FALSE(FindFileByLists("prog", folders, &none, out));
    EXPECT_FALSE(FindFileByLists("prog", nullptr, nullptr, out));
}

TEST_F(FileSearchTest, ByExtensionsAndByFolders)
{
    C_CUStringList exts;
    Fill(exts, {".a", ".b", ".c"});
    C_CUString out = "keep";

    C_CUStringList none;
    EXPECT_FALSE(FindFileByExtensions("f", Dir("a").c_str(), &none, out));
    EXPECT_EQ("keep", out);
    EXPECT_FALSE(FindFileByExtensions("f", Dir("a").c_str(), &exts, out));
    EXPECT_EQ(Dir("a") + "f.c", out);
    Touch("a\\f.b");
    Touch("a\\f.c");
    EXPECT_TRUE(FindFileByExtensions("f", Dir("a").c_str(), &exts, out));
    EXPECT_EQ(Dir("a") + "f.b", out);

    C_CUStringList* folders = Folders({"m", "b", "c"});
    EXPECT_FALSE(FindFileByFolders("g", folders, ".x", out));
    EXPECT_EQ(Dir("c") + "g.x", out);
    Touch("c\\g.x");
    EXPECT_TRUE(FindFileByFolders("g", folders, ".x", out));
    EXPECT_EQ(Dir("c") + "g.x", out);

    // A folder named like the candidate is not a file.
    ASSERT_TRUE(CreateDirectoryA(tmp.File("b\\g.x").c_str(), nullptr));
    EXPECT_TRUE(FindFileByFolders("g", folders, ".x", out));
    EXPECT_EQ(Dir("c") + "g.x", out);
}

TEST_F(FileSearchTest, InFoldersDrivePathsSkipTheFolders)
{
    C_CUStringList* folders = Folders({"m", "a", "b"});
    C_CUString out = "keep";

    EXPECT_FALSE(FindFileInFolders(out, folders, "sub\\x.txt"));
    EXPECT_EQ("keep", out) << "output unchanged when nothing is found";
    Touch("b\\sub\\x.txt");
    EXPECT_TRUE(FindFileInFolders(out, folders, "sub\\x.txt"));
    EXPECT_EQ(Dir("b") + "sub\\x.txt", out);

    // A drive path is taken as it is: found when it exists, never joined to a folder.
    const std::string full = tmp.File("b\\sub\\x.txt");
    out = "keep";
    EXPECT_TRUE(FindFileInFolders(out, nullptr, full.c_str()));
    EXPECT_EQ(full, out);
    out = "keep";
    EXPECT_FALSE(FindFileInFolders(out, folders, tmp.File("a\\x.txt").c_str()));
    EXPECT_EQ("keep", out);

    // Hidden and read-only files count as existing.
    const std::string hidden = Touch("a\\h.txt");
    ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(FindFileInFolders(out, folders, "h.txt"));
    EXPECT_EQ(hidden, out);

    EXPECT_FALSE(FindFileInFolders(out, folders, nullptr));
}

TEST_F(FileSearchTest, UniqueFileNameNumbersTheTitle)
{
    const std::string base = Dir("a") + "out.bin";
    char out[MAX_PATH];

    Touch("a\\out.bin");   // the path itself is not tested
    EXPECT_TRUE(MakeUniqueFileName(base.c_str(), out));
    EXPECT_EQ(Dir("a") + "out[1].bin", out);

    Touch("a\\out[1].bin");
    Touch("a\\out[2].bin");
    EXPECT_TRUE(MakeUniqueFileName(base.c_str(), out));
    EXPECT_EQ(Dir("a") + "out[3].bin", out);

    // No extension, and a missing folder.
    EXPECT_TRUE(MakeUniqueFileName((Dir("m") + "log").c_str(), out));
    EXPECT_EQ(Dir("m") + "log[1]", out);

    for (int n = 3; n <= 99; ++n)
        Touch("a\\out[" + std::to_string(n) + "].bin");
    EXPECT_FALSE(MakeUniqueFileName(base.c_str(), out));
    EXPECT_EQ(Dir("a") + "out[99].bin", out);

    // Too long for a path: refused, nothing written past the buffer.
    std::vector<char> guarded(MAX_PATH + 16, '#');
    const std::string longPath = "C:\\" + std::string(250, 'd') + "\\" + std::string(250, 't') + ".bin";
    EXPECT_FALSE(MakeUniqueFileName(longPath.c_str(), guarded.data()));
    for (size_t i = MAX_PATH; i < guarded.size(); ++i)
        ASSERT_EQ('#', guarded[i]);
    // 256 characters take "[1]" and the NUL exactly; 257 do not.
    const std::string fits = Dir("a") + std::string(MAX_PATH - 4 - Dir("a").size() - 2, 'n') + ".b";
    EXPECT_TRUE(MakeUniqueFileName(fits.c_str(), guarded.data()));
    EXPECT_EQ(MAX_PATH - 1, strlen(guarded.data()));
    EXPECT_FALSE(MakeUniqueFileName((fits + "b").c_str(), guarded.data()));
    EXPECT_EQ('#', guarded[MAX_PATH]);
    EXPECT_FALSE(MakeUniqueFileName(nullptr, out));
}

TEST_F(FileSearchTest, ElfFilesByTheirFirstFourBytes)
{
    struct Case { const char* name; std::string bytes; bool elf; } cases[] = {
        {"prog.elf", std::string("\x7F" "ELF\x01\x01\x01\0\0", 9), true},
        {"exact", "\x7F" "ELF", true},
        {"short", "\x7F" "EL", false},
        {"empty", "", false},
        {"lower", "\x7F" "elf", false},
        {"text", "ELF\x7F", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.elf, IsElfFile(tmp.Write(c.name, c.bytes).c_str())) << c.name;
    EXPECT_FALSE(IsElfFile(tmp.File("missing").c_str()));
    EXPECT_FALSE(IsElfFile(tmp.File("a").c_str()));
    EXPECT_FALSE(IsElfFile(nullptr));
}

TEST(FileSearch, StringListsDifferByOrderNotCase)
{
    struct Case {
        std::initializer_list<const char*> a, b;
        BOOL differ;
    } cases[] = {
        {{"a", "B"}, {"A", "b"}, FALSE},
        {{"a", "b"}, {"b", "a"}, TRUE},
        {{}, {}, FALSE},
        {{"a"}, {}, TRUE},
        {{}, {"a"}, TRUE},
        {{"a"}, {"a", "b"}, TRUE},
        {{"a,b"}, {"a", "b"}, FALSE},   // compared as comma text
        {{"\xC4rger"}, {"\xC4RGER"}, FALSE},
    };
    int i = 0;
    for (const Case& c : cases) {
        C_CUStringList a, b;
        EXPECT_EQ(c.differ, StringListsDiffer(Fill(a, c.a), Fill(b, c.b))) << "case " << i++;
    }
    C_CUStringList one;
    one.Add("x");
    EXPECT_FALSE(StringListsDiffer(&one, &one));
}

} // namespace
