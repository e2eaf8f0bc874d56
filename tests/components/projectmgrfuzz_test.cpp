#include "tests/components/pmtesting.h"

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

} // namespace
