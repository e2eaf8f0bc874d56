#include "tests/components/pmtesting.h"
#include "components/ToyTarget/ToyTarget.h"
#include <algorithm>

using namespace pmt;

namespace {

// Fixed-seed generator: the same cases on every run.
struct Random {
    unsigned state = 12345;
    unsigned Next(unsigned n)
    {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % n;
    }
};

void WalkTree(I_ProjectMgr* pm)
{
    I_PMProjectTree* tree = pm->GetProjectTree();
    ASSERT_TRUE(tree != nullptr);
    tree->GetCaption();
    char path[PM_PATH_SIZE];
    tree->ResetFolders();
    while (I_PMFolder* f = tree->GetNextFolder()) {
        TwoCall([&](char* b) { return f->GetSubFolderNames(b); });
        for (int i = 0; i < f->GetFiles()->GetCount(); ++i)
            EXPECT_TRUE(f->GetFilePath(-1, i, path));
        I_CUElementList<I_CUStringList*>* subs = f->GetSubFolders();
        for (int s = 0; s < subs->GetCount(); ++s)
            for (int i = 0; i < f->GetSubFolder(s)->GetCount(); ++i)
                EXPECT_TRUE(f->GetFilePath(s, i, path));
    }
    for (int i = 0; i < tree->GetRootFiles()->GetCount(); ++i)
        EXPECT_TRUE(tree->GetRootFilePath(i, path));
}

TEST(ProjectMgrFuzz, TruncatedAndGarbledProjectFiles)
{
    SampleCopy sample;
    CurrentFolder current(sample.dir.Path());
    const std::string original = vt::ReadFileBytes(sample.Project());
    ASSERT_FALSE(original.empty());
    const char noise[] = "[]=\r\n;,.\\:ab0\x01\xff ";
    Random random;
    Component pm(nullptr);
    int opened = 0;
    for (int round = 0; round < 400; ++round) {
        std::string bytes = original;
        switch (random.Next(4)) {
        case 0:   // truncated
            bytes.resize(random.Next(static_cast<unsigned>(bytes.size())));
            break;
        case 1:   // bytes replaced
            for (unsigned n = 1 + random.Next(20); n > 0; --n)
                bytes[random.Next(static_cast<unsigned>(bytes.size()))] = noise[random.Next(sizeof(noise) - 1)];
            break;
        case 2:   // a very long value somewhere
            bytes.insert(random.Next(static_cast<unsigned>(bytes.size())), std::string(5000 + random.Next(5000), 'x'));
            break;
        case 3:   // lines dropped
            for (unsigned n = 1 + random.Next(8); n > 0; --n) {
                size_t at = bytes.find('\n', random.Next(static_cast<unsigned>(bytes.size())));
                size_t end = at == std::string::npos ? std::string::npos : bytes.find('\n', at + 1);
                if (at != std::string::npos)
                    bytes.erase(at, end == std::string::npos ? std::string::npos : end - at);
            }
            break;
        }
        std::string file = sample.Folder() + "Fuzz.wbi";
        vt::WriteFileBytes(file, bytes);
        if (!pm->OpenProject(file.c_str())) {
            EXPECT_TRUE(pm->GetProjectTree() == nullptr);
            continue;
        }
        ++opened;
        WalkTree(pm.mgr);
        pm->ReloadFileInfo();
        if (round % 20 == 0)
            pm->Build(TRUE);
        pm->CloseProject(round % 2, nullptr);
    }
    EXPECT_GT(opened, 50);
}

TEST(ProjectMgrFuzz, HostileSourcesAndObjectFiles)
{
    SampleCopy sample;
    CurrentFolder current(sample.dir.Path());
    // Over-long lines, binary bytes and an include of itself.
    std::string source = "        LDI A, 1\r\n" + std::string(100000, 'A') + "\r\n" + std::string("\x01\xff\x00\x7f", 4) +
                         "\r\n.include \"main.asm\"\r\n        HALT\r\n";
    vt::WriteFileBytes(sample.Folder() + "main.asm", source);
    {
        OwnerWindow owner;
        Component pm(owner.hwnd);
        ASSERT_TRUE(pm->OpenProject(sample.Project().c_str()));
        EXPECT_FALSE(RunOnWorker([&] { return pm->Build(TRUE); }));
        std::vector<tagMessageRecord> errors = owner.Records(CU_REC_ERROR);
        ASSERT_FALSE(errors.empty());
        EXPECT_EQ(2, errors[0].line);
        EXPECT_STREQ("error: line longer than 255 characters", errors[0].text);
        for (const tagMessageRecord& r : owner.Records()) {
            EXPECT_LT(strlen(r.text), sizeof(r.text));
            EXPECT_LT(strlen(r.fileName), sizeof(r.fileName));
        }
    }
    // A flood of errors: the build reports the first ones and says how many it left out.
    {
        std::string flood;
        for (size_t i = 0; i < toy::kMaxMessages + 300; ++i)
            flood += "FROB\r\n";
        vt::WriteFileBytes(sample.Folder() + "main.asm", flood);
        Component pm(nullptr);
        ASSERT_TRUE(pm->OpenProject(sample.Project().c_str()));
        EXPECT_FALSE(pm->Build(TRUE));
        std::string messages = vt::ReadFileBytes(sample.dir.File("ZideMsg.txt"));
        size_t errors = 0;
        for (size_t at = messages.find("): error: "); at != std::string::npos; at = messages.find("): error: ", at + 1))
            ++errors;
        EXPECT_EQ(toy::kMaxMessages, errors);
        size_t left = messages.find("\r\n300 more message(s) left out\r\n");
        ASSERT_NE(std::string::npos, left);
        EXPECT_LT(messages.rfind("): error: "), left);
        EXPECT_NE(std::string::npos, messages.find(std::to_string(toy::kMaxMessages + 300) + " error(s)", left));
    }
    // Object files: garbage and truncations are refused.
    Component pm(nullptr);
    char part[PM_PATH_SIZE];
    Random random;
    for (int round = 0; round < 200; ++round) {
        std::string bytes = "VTOB";
        bytes += static_cast<char>(1);
        bytes += '\0';
        for (unsigned n = random.Next(80); n > 0; --n)
            bytes += static_cast<char>(random.Next(256));
        vt::WriteFileBytes(sample.dir.File("junk.obj"), bytes);
        pm->CheckObjFile(sample.dir.File("junk.obj").c_str(), part);
    }
    EXPECT_FALSE(pm->CheckObjFile(sample.dir.File("missing.obj").c_str(), part));
}

// The names of a list's files, with the project folder taken off.
std::vector<std::string> Stored(I_CUStringList* list, const std::string& folder)
{
    std::vector<std::string> out;
    for (const std::string& path : Items(list))
        out.push_back(path.compare(0, folder.size(), folder) == 0 ? path.substr(folder.size()) : path);
    return out;
}

std::vector<std::string> OtherFiles(Component& pm, const std::string& folder)
{
    I_PMProjectTree* tree = pm->GetProjectTree();
    tree->ResetFolders();
    while (I_PMFolder* f = tree->GetNextFolder())
        if (std::string(f->GetName()) == "Other")
            return Stored(f->GetFiles(), folder);
    return {};
}

// The sample project with its [Files.Other] and [Files.Root] sections replaced.
void WriteProject(const SampleCopy& sample, const std::string& other, const std::string& root)
{
    std::string text = vt::ReadFileBytes(sample.Project());
    for (const auto& section : {std::make_pair("[Files.Other]", &other), std::make_pair("[Files.Root]", &root)}) {
        size_t at = text.find(section.first);
        ASSERT_NE(std::string::npos, at);
        size_t end = text.find("\r\n[", at);
        if (end == std::string::npos)
            end = text.find("\n[", at);
        text.replace(at, end == std::string::npos ? std::string::npos : end - at, section.first + std::string("\r\n") + *section.second);
    }
    vt::WriteFileBytes(sample.Project(), text);
}

TEST(ProjectMgrFuzz, NumberedEntriesAllReadGapsSkippedAllSaved)
{
    SampleCopy sample;
    std::string other;
    std::vector<std::string> many;
    for (int i = 1; i <= 1200; ++i) {
        many.push_back("f" + std::to_string(i) + ".txt");
        other += "File" + std::to_string(i) + "=" + many.back() + "\r\n";
    }
    // Gaps, an empty value, another case, a number out of order, keys that are no entries.
    WriteProject(sample, other,
                 "File1=a.txt\r\nFile2=b.txt\r\nFile4=d.txt\r\nFile5=e.txt\r\nFile6=\r\nfile12=l.txt\r\n"
                 "File9=i.txt\r\nFileX=x.txt\r\nFile0=z.txt\r\n");
    const std::vector<std::string> root = {"a.txt", "b.txt", "d.txt", "e.txt", "i.txt", "l.txt"};
    Component pm(nullptr);
    for (int pass = 0; pass < 2; ++pass) {
        SCOPED_TRACE(pass);
        ASSERT_TRUE(pm->OpenProject(sample.Project().c_str()));
        EXPECT_EQ(many, OtherFiles(pm, sample.Folder()));
        EXPECT_EQ(root, Stored(pm->GetProjectTree()->GetRootFiles(), sample.Folder()));
        ASSERT_TRUE(pm->CloseProject(TRUE, nullptr));   // the second pass reads what the first saved
    }
    EXPECT_EQ("f1200.txt", ReadKey(sample.Project(), "Files.Other", "File1200"));
    EXPECT_EQ("l.txt", ReadKey(sample.Project(), "Files.Root", "File6"));
}

// Sub-folders past the component's limit refuse the file (dropping one would drop its files at
// the next save); up to the limit all open.
TEST(ProjectMgrFuzz, SubFoldersPastTheLimitRefuseTheFile)
{
    SampleCopy sample;
    const std::string original = vt::ReadFileBytes(sample.Project());
    Component pm(nullptr);
    const struct {
        int names;                // besides "Main"
        size_t nameLength;
        bool opens;
    } cases[] = { { 31, 8, true }, { 32, 8, false }, { 3, 63, true }, { 3, 64, false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.names) + " names of " + std::to_string(c.nameLength));
        std::string list = "Name1=Main\r\n";
        for (int i = 0; i < c.names; ++i) {
            std::string name = "S" + std::to_string(i);
            list += "Name" + std::to_string(i + 2) + "=" + name + std::string(c.nameLength - name.size(), 'x') + "\r\n";
        }
        std::string text = original;
        size_t at = text.find("Name1=Main");
        ASSERT_NE(std::string::npos, at);
        text.replace(at, text.find("Active=", at) - at, list);
        vt::WriteFileBytes(sample.Project(), text);
        ASSERT_EQ(c.opens, pm->OpenProject(sample.Project().c_str()) != FALSE);
        if (c.opens) {
            I_PMProjectTree* tree = pm->GetProjectTree();
            tree->ResetFolders();
            while (I_PMFolder* f = tree->GetNextFolder()) {
                if (std::string(f->GetName()) == "GraphicData") {
                    EXPECT_EQ(c.names + 1, f->GetSubFolders()->GetCount());
                }
            }
            ASSERT_TRUE(pm->CloseProject(TRUE, nullptr));
            EXPECT_EQ("Main", ReadKey(sample.Project(), "SubFolders.GraphicData", "Name1"));
        } else {
            EXPECT_TRUE(pm->GetProjectTree() == nullptr);
            EXPECT_EQ(text, vt::ReadFileBytes(sample.Project()));
        }
    }
}

// Random numbered sections: what opens is every non-empty entry in the order of its number, and
// a save and a second open give the same lists.
TEST(ProjectMgrFuzz, RandomNumberedSectionsRoundTrip)
{
    SampleCopy sample;
    const std::string original = vt::ReadFileBytes(sample.Project());
    Random random;
    Component pm(nullptr);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        std::vector<std::pair<unsigned, std::string>> entries;
        std::string other;
        std::vector<unsigned> used;
        for (unsigned n = random.Next(60); n > 0; --n) {
            unsigned number = 1 + random.Next(3000);
            if (std::find(used.begin(), used.end(), number) != used.end())
                continue;
            used.push_back(number);
            std::string value = random.Next(8) == 0 ? std::string() : "o" + std::to_string(random.Next(100000)) + ".txt";
            other += "File" + std::to_string(number) + "=" + value + "\r\n";
            if (!value.empty())
                entries.emplace_back(number, value);
        }
        std::sort(entries.begin(), entries.end());
        std::vector<std::string> expected;
        for (const auto& e : entries)
            expected.push_back(e.second);
        vt::WriteFileBytes(sample.Project(), original);
        WriteProject(sample, other, "File3=notes.txt\r\n");
        for (int pass = 0; pass < 2; ++pass) {
            ASSERT_TRUE(pm->OpenProject(sample.Project().c_str()));
            EXPECT_EQ(expected, OtherFiles(pm, sample.Folder())) << pass;
            ASSERT_TRUE(pm->CloseProject(TRUE, nullptr));
        }
    }
}

} // namespace
