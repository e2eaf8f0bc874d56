#include "afx/afx.h"
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include "tests/harness/harness.h"

// The tools file's record, as other programs expect it.
class TWKUserTool : public CObject
{
    DECLARE_SERIAL(TWKUserTool)
public:
    TWKUserTool() = default;
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << bWait << strMenuText << strCommand << strArguments << strInitialDir << nShowCmd;
        else
            ar >> bWait >> strMenuText >> strCommand >> strArguments >> strInitialDir >> nShowCmd;
    }
    DWORD bWait = 1;
    CString strMenuText, strCommand, strArguments, strInitialDir;
    DWORD nShowCmd = 1;
};

// A creatable class that is not serialisable.
class Plain : public CObject
{
    DECLARE_DYNCREATE(Plain)
};

// Holds a pointer to another object, to show shared references.
class Link : public CObject
{
    DECLARE_SERIAL(Link)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << pOther;
        else
            ar >> pOther;
    }
    CObject* pOther = nullptr;
};

IMPLEMENT_SERIAL(TWKUserTool, CObject, 1)
IMPLEMENT_DYNCREATE(Plain, CObject)
IMPLEMENT_SERIAL(Link, CObject, 1)

namespace {

std::string Bytes(std::initializer_list<int> list)
{
    std::string s;
    for (int b : list)
        s += (char)b;
    return s;
}

std::string Contents(CMemFile& f)
{
    std::string s((size_t)f.GetLength(), '\0');
    f.SeekToBegin();
    f.Read(&s[0], (UINT)s.size());
    f.SeekToBegin();
    return s;
}

void Put(CMemFile& f, const std::string& bytes)
{
    f.SetLength(0);
    f.Write(bytes.data(), (UINT)bytes.size());
    f.SeekToBegin();
}

// The 49-byte file of one tool: "Calculator", "calc.exe", defaults.
const std::string kOneTool =
    Bytes({ 0x01, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00 }) + "TWKUserTool" +
    Bytes({ 0x01, 0x00, 0x00, 0x00, 0x0A }) + "Calculator" + Bytes({ 0x08 }) + "calc.exe" +
    Bytes({ 0x00, 0x00, 0x01, 0x00, 0x00, 0x00 });

// The cause of the framework exception f throws; -1 when it throws none.
template<class F>
int CauseOf(F f)
{
    try
    {
        f();
    }
    catch (CArchiveException* e)
    {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    catch (CFileException* e)
    {
        int cause = 100 + e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

void DeleteAll(CObArray& a)
{
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        delete a[i];
    a.RemoveAll();
}

// Loads an array from bytes; returns the archive exception's cause (none when it loaded).
int LoadCause(const std::string& bytes, CObArray& into)
{
    CMemFile f;
    Put(f, bytes);
    CArchive ar(&f, CArchive::load);
    int cause = CauseOf([&] { into.Serialize(ar); });
    return cause == -1 ? CArchiveException::none : cause;
}

} // namespace

TEST(ArchiveToolsFile, FortyNineBytesWrittenAndReadBack)
{
    vt::TempDir dir;
    std::string path = dir.File("Tools.cfg");
    ASSERT_EQ(49u, kOneTool.size());

    TWKUserTool* tool = new TWKUserTool;
    tool->strMenuText = "Calculator";
    tool->strCommand = "calc.exe";
    CObArray tools;
    tools.Add(tool);
    {
        CFile file(path.c_str(), 0x1011);
        CArchive ar(&file, CArchive::store, 4096);
        tools.Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ(kOneTool, vt::ReadFileBytes(path));

    CObArray loaded;
    {
        CFile file(path.c_str(), 0x40);
        CArchive ar(&file, CArchive::load, 4096);
        loaded.Serialize(ar);
    }
    ASSERT_EQ(1, loaded.GetSize());
    ASSERT_TRUE(loaded[0]->IsKindOf(RUNTIME_CLASS(TWKUserTool)));
    auto* back = static_cast<TWKUserTool*>(loaded[0]);
    EXPECT_NE(tool, back);
    EXPECT_EQ(1u, back->bWait);
    EXPECT_STREQ("Calculator", back->strMenuText);
    EXPECT_STREQ("calc.exe", back->strCommand);
    EXPECT_STREQ("", back->strArguments);
    EXPECT_STREQ("", back->strInitialDir);
    EXPECT_EQ(1u, back->nShowCmd);
    DeleteAll(loaded);
    DeleteAll(tools);
}

TEST(ArchiveToolsFile, FurtherElementsUseTheClassIndex)
{
    CObArray tools;
    for (int i = 0; i < 3; ++i)
    {
        auto* t = new TWKUserTool;
        t->strMenuText.Format("Tool %d", i);
        t->bWait = (DWORD)i;
        tools.Add(t);
    }
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        tools.Serialize(ar);
    }
    std::string bytes = Contents(f);
    // count, new class, one element (4 + 7 + 1 + 1 + 1 + 4 bytes) ...
    const size_t element = 4 + 1 + 6 + 1 + 1 + 1 + 4;
    const size_t first = 2 + 2 + 2 + 2 + 11;
    ASSERT_EQ(first + element + 2 * (2 + element), bytes.size());
    EXPECT_EQ(Bytes({ 0x03, 0x00, 0xFF, 0xFF }), bytes.substr(0, 4));
    EXPECT_EQ(Bytes({ 0x01, 0x80 }), bytes.substr(first + element, 2));
    EXPECT_EQ(Bytes({ 0x01, 0x80 }), bytes.substr(first + 2 * element + 2, 2));

    CObArray loaded;
    EXPECT_EQ(CArchiveException::none, LoadCause(bytes, loaded));
    ASSERT_EQ(3, loaded.GetSize());
    EXPECT_STREQ("Tool 2", static_cast<TWKUserTool*>(loaded[2])->strMenuText);
    EXPECT_EQ(2u, static_cast<TWKUserTool*>(loaded[2])->bWait);
    DeleteAll(loaded);
    DeleteAll(tools);
}

TEST(ArchiveToolsFile, BrokenFilesAreRejected)
{
    auto withName = [](const std::string& name, int schema) {
        return Bytes({ 0x01, 0x00, 0xFF, 0xFF, schema, 0x00, (int)name.size(), 0x00 }) + name +
               kOneTool.substr(19);
    };
    struct Case { const char* what; std::string bytes; int cause; };
    const Case cases[] = {
        { "schema 2", withName("TWKUserTool", 2), CArchiveException::badSchema },
        { "unknown class", withName("TWKUserToox", 1), CArchiveException::badClass },
        { "name case differs", withName("twkusertool", 1), CArchiveException::badClass },
        { "not serialisable", withName("Plain", 1), CArchiveException::badClass },
        { "empty class name", withName("", 1), CArchiveException::badClass },
        { "class index never stored", Bytes({ 0x01, 0x00, 0x05, 0x80 }), CArchiveException::badIndex },
        { "object index never stored", Bytes({ 0x01, 0x00, 0x03, 0x00 }), CArchiveException::badIndex },
        { "object tag naming a class", kOneTool.substr(0, 0) + Bytes({ 0x02, 0x00 }) + kOneTool.substr(2) + Bytes({ 0x01, 0x00 }),
          CArchiveException::badIndex },
        // A huge count or string length with nothing behind it.
        { "huge count", Bytes({ 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00 }), CArchiveException::endOfFile },
        { "long string cut short", kOneTool.substr(0, 23) + Bytes({ 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 'x' }),
          CArchiveException::endOfFile },
        { "string length over the cap", kOneTool.substr(0, 23) + Bytes({ 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F }),
          CArchiveException::genericException },
        { "64-bit string length", kOneTool.substr(0, 23) + Bytes({ 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF }),
          CArchiveException::genericException },
    };
    for (const Case& c : cases)
    {
        CObArray loaded;
        EXPECT_EQ(c.cause, LoadCause(c.bytes, loaded)) << c.what;
        DeleteAll(loaded);
    }

    // Every early end, wherever the file stops.
    for (size_t n = 0; n < kOneTool.size(); ++n)
    {
        CObArray loaded;
        EXPECT_EQ(CArchiveException::endOfFile, LoadCause(kOneTool.substr(0, n), loaded)) << n << " bytes";
        EXPECT_EQ(0, loaded.GetSize());
    }

    // Elements read before the break stay in the array.
    std::string two = Bytes({ 0x02 }) + kOneTool.substr(1) + Bytes({ 0x01, 0x80, 0x01, 0x00 });
    CObArray loaded;
    EXPECT_EQ(CArchiveException::endOfFile, LoadCause(two, loaded));
    EXPECT_EQ(1, loaded.GetSize());
    DeleteAll(loaded);
}

TEST(ArchiveStrings, LengthFormsRoundTrip)
{
    struct Case { int length; std::string prefix; };
    const Case cases[] = {
        { 0, Bytes({ 0x00 }) },
        { 254, Bytes({ 0xFE }) },
        { 255, Bytes({ 0xFF, 0xFF, 0x00 }) },
        { 300, Bytes({ 0xFF, 0x2C, 0x01 }) },
        { 65533, Bytes({ 0xFF, 0xFD, 0xFF }) },
        { 65534, Bytes({ 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00 }) },
        { 70000, Bytes({ 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00 }) },
    };
    for (const Case& c : cases)
    {
        CString s;
        for (int i = 0; i < c.length; ++i)
            s += (char)('a' + i % 26);
        CMemFile f;
        {
            CArchive ar(&f, CArchive::store);
            ar << s << CString("end");
        }
        std::string bytes = Contents(f);
        EXPECT_EQ(c.prefix.size() + c.length + 4, bytes.size()) << c.length;
        EXPECT_EQ(c.prefix, bytes.substr(0, c.prefix.size())) << c.length;
        CString back, end;
        CArchive ar(&f, CArchive::load);
        ar >> back >> end;
        EXPECT_EQ(s, back) << c.length;
        EXPECT_STREQ("end", end);
    }
}

TEST(ArchiveStrings, SixteenBitFormIsConverted)
{
    std::string shortForm = Bytes({ 0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b', 0, 'c', 0 });
    std::string longForm = Bytes({ 0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01 });
    for (int i = 0; i < 300; ++i)
        longForm += Bytes({ 'x', 0 });
    std::string empty = Bytes({ 0xFF, 0xFE, 0xFF, 0x00 });

    CMemFile f;
    Put(f, shortForm + longForm + empty + Bytes({ 0x02, 'o', 'k' }));
    CArchive ar(&f, CArchive::load);
    CString a, b, c, d;
    ar >> a >> b >> c >> d;
    EXPECT_STREQ("abc", a);
    EXPECT_EQ(CString('x', 300), b);
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_STREQ("ok", d);
}

TEST(ArchiveValues, ScalarsHaveFixedWidths)
{
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        ar << (BYTE)0x12 << (WORD)0x3456 << (LONG)-2 << (DWORD)0x89ABCDEF << (int)-3 << (UINT)7
           << (short)-4 << 'c' << 1.5f << 2.25;
    }
    std::string bytes = Contents(f);
    ASSERT_EQ(34u, bytes.size());
    EXPECT_EQ(Bytes({ 0x12, 0x56, 0x34, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xCD, 0xAB, 0x89 }), bytes.substr(0, 11));

    CArchive ar(&f, CArchive::load);
    BYTE by; WORD w; LONG l; DWORD dw; int i; UINT u; short s; char ch; float fl; double d;
    ar >> by >> w >> l >> dw >> i >> u >> s >> ch >> fl >> d;
    EXPECT_EQ(0x12, by);
    EXPECT_EQ(0x3456, w);
    EXPECT_EQ(-2, l);
    EXPECT_EQ(0x89ABCDEFu, dw);
    EXPECT_EQ(-3, i);
    EXPECT_EQ(7u, u);
    EXPECT_EQ(-4, s);
    EXPECT_EQ('c', ch);
    EXPECT_EQ(1.5f, fl);
    EXPECT_EQ(2.25, d);
    EXPECT_EQ(CArchiveException::endOfFile, CauseOf([&] { ar >> by; }));
}

TEST(ArchiveObjects, SharedReferencesAndNull)
{
    TWKUserTool tool;
    Link a, b;
    a.pOther = &tool;
    b.pOther = &tool;
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        ar << &a << &b << (CObject*)nullptr << &a;
    }
    std::string bytes = Contents(f);
    // Link class 1, a 2, TWKUserTool class 3, tool 4; b: class 1, object 5, tool again (4).
    size_t toolEnd = 2 + 2 + 2 + 4 + 2 + 2 + 2 + 11 + 4 + 4 + 4;
    ASSERT_GE(bytes.size(), toolEnd + 8);
    EXPECT_EQ(Bytes({ 0x01, 0x80, 0x04, 0x00, 0x00, 0x00, 0x02, 0x00 }), bytes.substr(toolEnd));

    CArchive ar(&f, CArchive::load);
    Link *a2, *b2, *a3;
    CObject* none = &tool;
    ar >> a2 >> b2 >> none >> a3;
    ASSERT_NE(nullptr, a2);
    EXPECT_EQ(a2, a3);
    EXPECT_EQ(a2->pOther, b2->pOther);
    EXPECT_TRUE(a2->pOther->IsKindOf(RUNTIME_CLASS(TWKUserTool)));
    EXPECT_EQ(nullptr, none);
    delete a2->pOther;
    delete a2;
    delete b2;
}

TEST(ArchiveObjects, RequestedClassIsChecked)
{
    TWKUserTool tool;
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        ar << &tool;
    }
    f.SeekToBegin();
    CArchive ar(&f, CArchive::load);
    Link* link = nullptr;
    EXPECT_EQ(CArchiveException::badClass, CauseOf([&] { ar >> link; }));
    EXPECT_EQ(nullptr, link);
}

TEST(ArchiveArrays, CountFormsAndEmptyArray)
{
    CMemFile f;
    CObArray empty;
    {
        CArchive ar(&f, CArchive::store);
        empty.Serialize(ar);
    }
    EXPECT_EQ(Bytes({ 0x00, 0x00 }), Contents(f));

    CObArray many;
    many.SetSize(0xFFFF);                          // NULL elements
    CMemFile g;
    {
        CArchive ar(&g, CArchive::store);
        many.Serialize(ar);
    }
    std::string bytes = Contents(g);
    ASSERT_EQ(6u + 2u * 0xFFFF, bytes.size());
    EXPECT_EQ(Bytes({ 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00 }), bytes.substr(0, 8));
    CObArray back;
    back.Add(nullptr);                             // loading replaces what was there
    EXPECT_EQ(CArchiveException::none, LoadCause(bytes, back));
    EXPECT_EQ(0xFFFF, back.GetSize());
}

TEST(ArchiveText, LinesAndPositionAfterLoad)
{
    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        ar.WriteString("first\r\nsecond\nthird");
    }
    f.SeekToBegin();
    {
        CArchive ar(&f, CArchive::load);
        CString line;
        EXPECT_TRUE(ar.ReadString(line));
        EXPECT_STREQ("first", line);
        char buf[4];
        EXPECT_STREQ("sec", ar.ReadString(buf, sizeof(buf)));
        EXPECT_TRUE(ar.ReadString(line));
        EXPECT_STREQ("ond", line);
        EXPECT_TRUE(ar.ReadString(line));
        EXPECT_STREQ("third", line);
        EXPECT_FALSE(ar.ReadString(line));
        EXPECT_EQ(nullptr, ar.ReadString(buf, sizeof(buf)));
    }

    // Closing a loading archive leaves the file just after what was read.
    f.SeekToBegin();
    CArchive ar(&f, CArchive::load);
    WORD w;
    ar >> w;
    ar.Close();
    EXPECT_EQ(2u, f.GetPosition());
}

TEST(ArchiveFiles, WriteErrorsReachTheCaller)
{
    vt::TempDir dir;
    std::string path = dir.Write("ro.bin", "x");
    CFile file(path.c_str(), CFile::modeRead | CFile::shareDenyNone);
    CArchive ar(&file, CArchive::store);
    ar << (DWORD)1;
    EXPECT_GT(CauseOf([&] { ar.Flush(); }), 100);  // a file exception
    ar.Abort();
}
