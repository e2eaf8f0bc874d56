#include <gtest/gtest.h>
#include "afx/afx.h"
#include "framework/controls/dialogs/TWKUserTool.h"
#include "tests/harness/harness.h"
#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

std::string Bytes(std::initializer_list<int> list)
{
    std::string s;
    for (int b : list)
        s += (char)b;
    return s;
}

// The 49-byte file of one tool: "Calculator", "calc.exe", defaults.
const std::string kOneTool =
    Bytes({ 0x01, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00 }) + "TWKUserTool" +
    Bytes({ 0x01, 0x00, 0x00, 0x00, 0x0A }) + "Calculator" + Bytes({ 0x08 }) + "calc.exe" +
    Bytes({ 0x00, 0x00, 0x01, 0x00, 0x00, 0x00 });

TWKUserTool* Tool(const char* text, const char* command = "", const char* args = "", const char* dir = "")
{
    auto* t = new TWKUserTool;
    t->strMenuText = text;
    t->strCommand = command;
    t->strArguments = args;
    t->strInitialDir = dir;
    return t;
}

std::string CurrentFolder()
{
    char buf[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, buf);
    return buf;
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(fd.cFileName);
    while (::FindNextFileA(h, &fd));
    ::FindClose(h);
    return names;
}

} // namespace

TEST(UserTools, FortyNineByteExampleSavedAndLoaded)
{
    vt::TempDir dir;
    std::string path = dir.File("Tools.cfg");
    CObArray tools;
    tools.Add(Tool("Calculator", "calc.exe"));
    ASSERT_TRUE(SaveUserTools(path.c_str(), tools));
    EXPECT_EQ(kOneTool, vt::ReadFileBytes(path));
    EXPECT_EQ(std::vector<std::string>{"Tools.cfg"}, FilesIn(dir.Path()));

    CObArray loaded;
    ASSERT_TRUE(LoadUserTools(path.c_str(), loaded));
    ASSERT_EQ(1, loaded.GetSize());
    ASSERT_TRUE(loaded[0]->IsKindOf(RUNTIME_CLASS(TWKUserTool)));
    auto* back = static_cast<TWKUserTool*>(loaded[0]);
    EXPECT_EQ(1u, back->bWait);
    EXPECT_STREQ("Calculator", back->strMenuText);
    EXPECT_STREQ("calc.exe", back->strCommand);
    EXPECT_STREQ("", back->strArguments);
    EXPECT_STREQ("", back->strInitialDir);
    EXPECT_EQ(1u, back->nShowCmd);

    // More tools, other values, saved over the old file and read back.
    tools.Add(Tool("Notes", "notepad.exe", "readme.txt", "c:\\work"));
    static_cast<TWKUserTool*>(tools[1])->bWait = 0;
    static_cast<TWKUserTool*>(tools[1])->nShowCmd = SW_MAXIMIZE;
    ASSERT_TRUE(SaveUserTools(path.c_str(), tools));
    DeleteUserTools(&loaded);
    EXPECT_EQ(0, loaded.GetSize());
    ASSERT_TRUE(LoadUserTools(path.c_str(), loaded));
    ASSERT_EQ(2, loaded.GetSize());
    auto* notes = static_cast<TWKUserTool*>(loaded[1]);
    EXPECT_STREQ("readme.txt", notes->strArguments);
    EXPECT_STREQ("c:\\work", notes->strInitialDir);
    EXPECT_EQ(0u, notes->bWait);
    EXPECT_EQ((DWORD)SW_MAXIMIZE, notes->nShowCmd);
    DeleteUserTools(&loaded);
    DeleteUserTools(&tools);
}

TEST(UserTools, EmptyBrokenAndMissingFiles)
{
    vt::TempDir dir;
    CObArray tools;
    std::string empty = dir.File("empty.cfg");
    ASSERT_TRUE(SaveUserTools(empty.c_str(), tools));
    EXPECT_EQ(std::string(2, '\0'), vt::ReadFileBytes(empty));
    EXPECT_FALSE(LoadUserTools(empty.c_str(), tools));   // nothing was added
    EXPECT_EQ(0, tools.GetSize());

    auto withClass = [](const std::string& name, int schema) {
        return Bytes({ 0x01, 0x00, 0xFF, 0xFF, schema, 0x00, (int)name.size(), 0x00 }) + name + kOneTool.substr(19);
    };
    const std::string broken[] = {
        withClass("TWKUserTool", 2),
        withClass("TWKUserToom", 1),
        kOneTool.substr(0, 48),
        kOneTool.substr(0, 20),
        Bytes({ 0x02, 0x00 }) + kOneTool.substr(2),   // a second tool that never comes
        // The second element refers back to the first: one tool twice in the array.
        Bytes({ 0x02, 0x00 }) + kOneTool.substr(2) + Bytes({ 0x02, 0x00 }),
        // Another serialisable class in place of a tool.
        Bytes({ 0x01, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00 }) + "CDockState" + Bytes({ 0x01, 0x00, 0x00, 0x00, 0x00, 0x00 }),
        // NULL elements, alone and after a tool.
        Bytes({ 0x01, 0x00, 0x00, 0x00 }),
        Bytes({ 0x02, 0x00 }) + kOneTool.substr(2) + Bytes({ 0x00, 0x00 }),
    };
    for (const std::string& bytes : broken)
    {
        std::string path = dir.Write("broken.cfg", bytes);
        CObArray loaded;
        EXPECT_FALSE(LoadUserTools(path.c_str(), loaded)) << bytes.size();
        EXPECT_EQ(0, loaded.GetSize());   // a damaged file adds nothing
        DeleteUserTools(&loaded);
    }
    // What the loader refuses is not saved either.
    std::string refused = dir.File("refused.cfg");
    TWKUserTool* pTool = Tool("Calculator", "calc.exe");
    CDockState notATool;
    CObArray twice, withNull, otherClass;
    twice.Add(pTool);
    twice.Add(pTool);
    withNull.Add(pTool);
    withNull.Add(nullptr);
    otherClass.Add(&notATool);
    for (CObArray* pArray : { &twice, &withNull, &otherClass })
        EXPECT_FALSE(SaveUserTools(refused.c_str(), *pArray));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(refused.c_str()));
    delete pTool;
    EXPECT_FALSE(LoadUserTools(dir.File("missing.cfg").c_str(), tools));
    EXPECT_FALSE(LoadUserTools(dir.Path().c_str(), tools));
    EXPECT_FALSE(SaveUserTools(dir.File("no\\such\\folder.cfg").c_str(), tools));
}

TEST(UserTools, RandomAndCutFilesNeverCrashTheLoader)
{
    vt::TempDir dir;
    std::string path = dir.File("fuzz.cfg");
    CObArray tools;
    for (int i = 0; i < 5; ++i)
        tools.Add(Tool("Tool", "prog.exe", "-x", "c:\\"));
    ASSERT_TRUE(SaveUserTools(path.c_str(), tools));
    const std::string good = vt::ReadFileBytes(path);
    ASSERT_EQ(2u + 17 + 29 + 4 * 31, good.size());
    DeleteUserTools(&tools);

    std::mt19937 rng(29);
    int loaded = 0;
    for (int i = 0; i < 4000; ++i)
    {
        std::string bytes;
        switch (i % 4)
        {
        case 0:   // cut short
            bytes = good.substr(0, rng() % good.size());
            break;
        case 1:   // a few bytes changed
            bytes = good;
            for (int k = 0, n = 1 + (int)(rng() % 4); k < n; ++k)
                bytes[rng() % bytes.size()] = (char)rng();
            break;
        case 2:   // noise, sometimes behind a valid start
            bytes = (rng() % 2) ? good.substr(0, 19) : std::string();
            for (int k = 0, n = (int)(rng() % 200); k < n; ++k)
                bytes += (char)rng();
            break;
        default:  // a tag in place of an element: NULL, a back-reference, a class index
        {
            static const WORD tags[] = { 0x0000, 0x0001, 0x0002, 0x0003, 0x8001, 0x8002, 0x7FFF };
            const WORD tag = tags[rng() % (sizeof tags / sizeof tags[0])];
            // Where an element's tag starts: after the count, or after a tool's 29 bytes of fields.
            const size_t k = rng() % 6;
            const size_t element = k == 0 ? 2 : 19 + 29 + 31 * (k - 1);
            bytes = good.substr(0, element) + std::string((const char*)&tag, 2) + good.substr(element);
            break;
        }
        }
        ASSERT_TRUE(vt::WriteFileBytes(path, bytes));
        CObArray result;
        if (LoadUserTools(path.c_str(), result))
            ++loaded;
        // Each element a tool of its own, or nothing at all.
        std::vector<CObject*> seen;
        for (INT_PTR k = 0; k < result.GetSize(); ++k)
        {
            ASSERT_TRUE(result[k] != nullptr && result[k]->IsKindOf(RUNTIME_CLASS(TWKUserTool))) << i;
            ASSERT_TRUE(std::find(seen.begin(), seen.end(), result[k]) == seen.end()) << i;
            seen.push_back(result[k]);
        }
        DeleteUserTools(&result);
    }
    EXPECT_GT(loaded, 0);   // some changed files still read as tools
}

TEST(UserTools, FailedSaveKeepsTheOldFile)
{
    vt::TempDir dir;
    std::string path = dir.Write("Tools.cfg", kOneTool);
    CObArray tools;
    tools.Add(Tool("Other", "other.exe"));

    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(SaveUserTools(path.c_str(), tools));
    EXPECT_EQ(kOneTool, vt::ReadFileBytes(path));
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL));

    // Held open by someone who shares nothing.
    HANDLE hLock = ::CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, hLock);
    EXPECT_FALSE(SaveUserTools(path.c_str(), tools));
    ::CloseHandle(hLock);
    EXPECT_EQ(kOneTool, vt::ReadFileBytes(path));
    EXPECT_EQ(std::vector<std::string>{"Tools.cfg"}, FilesIn(dir.Path()));

    EXPECT_TRUE(SaveUserTools(path.c_str(), tools));
    EXPECT_NE(kOneTool, vt::ReadFileBytes(path));
    DeleteUserTools(&tools);
}

TEST(UserTools, CopiesCarryEveryField)
{
    TWKUserTool a;
    EXPECT_EQ(1u, a.bWait);
    EXPECT_EQ((DWORD)SW_SHOWNORMAL, a.nShowCmd);
    a.bWait = 0;
    a.strMenuText = "m";
    a.strCommand = "c";
    a.strArguments = "a";
    a.strInitialDir = "d";
    a.nShowCmd = SW_HIDE;
    TWKUserTool b(a);
    TWKUserTool c;
    c = a;
    c = c;
    for (const TWKUserTool* t : { &b, &c })
    {
        EXPECT_EQ(0u, t->bWait);
        EXPECT_STREQ("m", t->strMenuText);
        EXPECT_STREQ("c", t->strCommand);
        EXPECT_STREQ("a", t->strArguments);
        EXPECT_STREQ("d", t->strInitialDir);
        EXPECT_EQ((DWORD)SW_HIDE, t->nShowCmd);
    }
}

TEST(UserTools, MacrosAndReplacement)
{
    struct Macro { const char* text; bool ok; const char* name; const char* value; };
    const Macro macros[] = {
        {"$(File)=a.c", true, "$(File)", "a.c"},
        {"A=b=c", true, "A", "b=c"},
        {"=value", false, "", ""},
        {"name=", false, "", ""},
        {"novalue", false, "", ""},
        {"", false, "", ""},
    };
    for (const Macro& m : macros)
    {
        CString name, value;
        EXPECT_EQ(m.ok, !!TWKUserTool::ParseMacro(m.text, name, value)) << m.text;
        if (m.ok)
        {
            EXPECT_STREQ(m.name, name);
            EXPECT_STREQ(m.value, value);
        }
    }

    struct Replace { const char* s; const char* find; const char* with; UINT flags; int count; const char* result; };
    const Replace replaces[] = {
        {"a-a-a", "a", "bb", 0, 3, "bb-bb-bb"},        // longer
        {"xyzxyz", "xyz", "q", 0, 2, "qq"},             // shorter
        {"xyzxyz", "xyz", "", 0, 2, ""},
        {"Abc abc ABC", "abc", "x", 0, 1, "Abc x ABC"},
        {"Abc abc ABC", "abc", "x", 1, 3, "x x x"},     // case-blind
        {"aaa", "aa", "b", 0, 1, "ba"},                 // no overlaps
        {"short", "longer text", "x", 0, 0, "short"},
        {"same", "", "x", 0, -1, "same"},
        {"", "a", "b", 0, 0, ""},
    };
    for (const Replace& r : replaces)
    {
        CString s = r.s;
        EXPECT_EQ(r.count, TWKUserTool::ReplaceText(s, r.find, r.with, r.flags)) << r.s << " / " << r.find;
        EXPECT_STREQ(r.result, s) << r.s << " / " << r.find;
    }
    CString s = "keep";
    EXPECT_EQ(-1, TWKUserTool::ReplaceText(s, NULL, "x"));
    EXPECT_EQ(-1, TWKUserTool::ReplaceText(s, "k", NULL));
    EXPECT_STREQ("keep", s);
}

TEST(UserTools, CommandLineFromTheFieldsAndMacros)
{
    TWKUserTool tool;
    tool.strCommand = "$(Bin)\\tool.exe";
    tool.strInitialDir = "$(Dir)";
    CString dir, cmd;
    tool.PrepareCommand(NULL, dir, cmd);
    EXPECT_STREQ("$(Bin)\\tool.exe", cmd);   // no trailing space
    EXPECT_STREQ("$(Dir)", dir);

    tool.strArguments = "$(Bin) $(bin) -v";
    CStringList macros;
    macros.AddTail("$(Bin)=c:\\bin");
    macros.AddTail("$(Dir)=d:\\work");
    macros.AddTail("ignored");
    macros.AddTail("$(Empty)=");
    tool.PrepareCommand(&macros, dir, cmd);
    EXPECT_STREQ("c:\\bin\\tool.exe c:\\bin $(bin) -v", cmd);
    EXPECT_STREQ("d:\\work", dir);
    CStringList none;
    tool.PrepareCommand(&none, dir, cmd);
    EXPECT_STREQ("$(Bin)\\tool.exe $(Bin) $(bin) -v", cmd);
}

namespace {
// Sets the helper's event when the posted message is dispatched.
class CEventSetter : public CWnd
{
public:
    HANDLE event = nullptr;
    int handled = 0;
protected:
    afx_msg LRESULT OnSet(WPARAM, LPARAM)
    {
        ++handled;
        ::SetEvent(event);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CEventSetter, CWnd)
    ON_MESSAGE(WM_APP + 29, OnSet)
END_MESSAGE_MAP()
} // namespace

TEST(UserTools, RunProgramWaitsWhileMessagesAreDispatched)
{
    vt::TempDir dir;
    const std::string here = CurrentFolder();
    std::string eventName = vt::UniqueName("vt_tool");
    HANDLE event = ::CreateEventA(NULL, TRUE, FALSE, eventName.c_str());
    ASSERT_NE(nullptr, event);
    CEventSetter setter;
    setter.event = event;
    ASSERT_TRUE(setter.CreateEx(0, AfxRegisterWndClass(0), "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL));
    // Handled only if the wait dispatches messages; the helper waits for it.
    setter.PostMessage(WM_APP + 29);

    TWKUserTool tool;
    tool.strCommand = ("\"" + vt::ProgramFolder() + "vt_tool_helper.exe\"").c_str();
    tool.strArguments = ("\"" + dir.File("out.txt") + "\" " + eventName).c_str();
    tool.strInitialDir = dir.Path().c_str();
    tool.nShowCmd = SW_HIDE;
    EXPECT_TRUE(tool.Execute());
    EXPECT_EQ(1, setter.handled);
    EXPECT_EQ(dir.Path() + "\n" + "signalled\n", vt::ReadFileBytes(dir.File("out.txt")));
    EXPECT_EQ(here, CurrentFolder());

    // A program that cannot be started: FALSE, and the process stays where it was.
    tool.strCommand = ("\"" + dir.File("missing.exe") + "\"").c_str();
    EXPECT_FALSE(tool.Execute());
    EXPECT_EQ(here, CurrentFolder());
    EXPECT_FALSE(TWKUserTool::RunProgram(dir.Path().c_str(), "", SW_HIDE, TRUE));
    EXPECT_EQ(here, CurrentFolder());
    setter.DestroyWindow();
    ::CloseHandle(event);
}

TEST(UserTools, MenuItemsReplacedFromTheFirstId)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 100, "Options");
    menu.AppendMenu(MF_STRING, 101, "Customize");
    auto items = [&menu] {
        std::string s;
        for (UINT i = 0; i < menu.GetMenuItemCount(); ++i)
        {
            if (menu.GetMenuState(i, MF_BYPOSITION) & MF_SEPARATOR)
            {
                s += "-|";
                continue;
            }
            CString text;
            menu.GetMenuString(i, text, MF_BYPOSITION);
            s += std::string((LPCSTR)text) + ":" + std::to_string(menu.GetMenuItemID((int)i)) + "|";
        }
        return s;
    };
    CObArray tools;
    tools.Add(Tool("One"));
    tools.Add(Tool("Two"));
    EXPECT_TRUE(AppendUserToolsToMenu(&menu, 500, &tools));
    EXPECT_EQ("Options:100|Customize:101|-|One:500|Two:501|", items());
    EXPECT_TRUE(AppendUserToolsToMenu(&menu, 500, &tools));
    EXPECT_EQ("Options:100|Customize:101|-|One:500|Two:501|", items());
    tools.Add(Tool("Three"));
    EXPECT_TRUE(AppendUserToolsToMenu(&menu, 500, &tools));
    EXPECT_EQ("Options:100|Customize:101|-|One:500|Two:501|Three:502|", items());

    CObArray none;
    EXPECT_TRUE(AppendUserToolsToMenu(&menu, 500, &none));
    EXPECT_EQ("Options:100|Customize:101|", items());
    EXPECT_TRUE(AppendUserToolsToMenu(&menu, 500, &none));
    EXPECT_EQ("Options:100|Customize:101|", items());

    EXPECT_FALSE(AppendUserToolsToMenu(NULL, 500, &tools));
    EXPECT_FALSE(AppendUserToolsToMenu(&menu, 0, &tools));
    EXPECT_EQ("Options:100|Customize:101|", items());
    DeleteUserTools(&tools);
}
