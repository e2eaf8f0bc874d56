#include "framework/controls/dialogs/TWKUserTool.h"
#include "framework/frames/TWKFileSystem.h"
#include <unordered_set>

IMPLEMENT_SERIAL(TWKUserTool, CObject, 1)

TWKUserTool::TWKUserTool() : bWait(1), nShowCmd(SW_SHOWNORMAL) {}

TWKUserTool::TWKUserTool(const TWKUserTool& other)
    : CObject(),
      bWait(other.bWait),
      strMenuText(other.strMenuText),
      strCommand(other.strCommand),
      strArguments(other.strArguments),
      strInitialDir(other.strInitialDir),
      nShowCmd(other.nShowCmd)
{
}

TWKUserTool& TWKUserTool::operator=(const TWKUserTool& other)
{
    if (this != &other)
    {
        bWait = other.bWait;
        strMenuText = other.strMenuText;
        strCommand = other.strCommand;
        strArguments = other.strArguments;
        strInitialDir = other.strInitialDir;
        nShowCmd = other.nShowCmd;
    }
    return *this;
}

TWKUserTool::~TWKUserTool() = default;

void TWKUserTool::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << bWait << strMenuText << strCommand << strArguments << strInitialDir << nShowCmd;
    else
        ar >> bWait >> strMenuText >> strCommand >> strArguments >> strInitialDir >> nShowCmd;
}

void TWKUserTool::PrepareCommand(const CStringList* pMacros, CString& strDir, CString& strCmdLine) const
{
    CString command = strCommand;
    CString arguments = strArguments;
    strDir = strInitialDir;
    if (pMacros)
    {
        for (POSITION pos = pMacros->GetHeadPosition(); pos;)
        {
            CString name, value;
            if (!ParseMacro(pMacros->GetNext(pos), name, value))
                continue;
            ReplaceText(command, name, value);
            ReplaceText(arguments, name, value);
            ReplaceText(strDir, name, value);
        }
    }
    strCmdLine = command;
    if (!arguments.IsEmpty())
        strCmdLine += " " + arguments;
}

BOOL TWKUserTool::Execute(const CStringList* pMacros)
{
    CString dir, cmdLine;
    PrepareCommand(pMacros, dir, cmdLine);
    return RunProgram(dir, cmdLine, nShowCmd, bWait);
}

BOOL TWKUserTool::ParseMacro(const CString& strText, CString& strName, CString& strValue)
{
    int eq = strText.Find('=');
    if (eq < 0)
        return FALSE;
    strName = strText.Left(eq);
    strValue = strText.Mid(eq + 1);
    return !strName.IsEmpty() && !strValue.IsEmpty();
}

int TWKUserTool::ReplaceText(CString& s, LPCSTR pszFind, LPCSTR pszReplace, UINT nFlags)
{
    if (!pszFind || !*pszFind || !pszReplace)
        return -1;
    const int findLen = lstrlenA(pszFind);
    if (findLen > s.GetLength())
        return 0;
    // Matching happens on folded copies; what is copied out comes from s.
    CString haystack = s;
    CString needle = pszFind;
    if (nFlags & 1)
    {
        haystack.MakeLower();
        needle.MakeLower();
    }
    CString result;
    const LPCSTR text = haystack;
    const LPCSTR source = s;
    int count = 0;
    for (int i = 0; i < s.GetLength();)
    {
        if (std::strncmp(text + i, needle, (size_t)findLen) == 0)
        {
            result += pszReplace;
            i += findLen;
            ++count;
        }
        else
        {
            result += source[i];
            ++i;
        }
    }
    s = result;
    return count;
}

BOOL TWKUserTool::RunProgram(LPCSTR pszDir, LPCSTR pszCmdLine, UINT nShowCmd, BOOL bWait)
{
    TWKFileSystem fs;
    const bool hasDir = pszDir && *pszDir;
    CString previous;
    if (hasDir)
    {
        previous = fs.GetCurrentDirectory("");
        if (!previous.IsEmpty() && previous[previous.GetLength() - 1] != '\\' && previous.GetLength() < 259)
            previous += '\\';
        fs.ChangeDirectory(pszDir);
    }

    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = (WORD)nShowCmd;
    PROCESS_INFORMATION pi = {};
    CString cmdLine = pszCmdLine ? pszCmdLine : "";
    BOOL bResult = ::CreateProcessA(NULL, cmdLine.GetBuffer(cmdLine.GetLength() + 1), NULL, NULL, FALSE, 0, NULL,
                                    hasDir ? pszDir : NULL, &si, &pi);
    cmdLine.ReleaseBuffer();
    if (bResult)
    {
        ::CloseHandle(pi.hThread);
        while (bWait)
        {
            DWORD r = ::WaitForSingleObject(pi.hProcess, 200);
            if (r == WAIT_OBJECT_0)
                break;
            // The user interface stays alive meanwhile; a quit request ends
            // the wait (the pump posts it again for the outer loop).
            if (r != WAIT_TIMEOUT || !AfxPumpPendingMessages())
            {
                bResult = FALSE;
                break;
            }
        }
        ::CloseHandle(pi.hProcess);
    }
    // Back where we were on every way out, a failed start included.
    if (hasDir && !previous.IsEmpty())
        fs.ChangeDirectory(previous);
    return bResult;
}

namespace {

// Every element a tool of its own: no NULL, no other class, no object twice (an array holding
// one object twice would free it twice).
bool OwnsEachToolOnce(const CObArray& tools)
{
    std::unordered_set<const CObject*> seen;
    for (INT_PTR i = 0; i < tools.GetSize(); ++i)
    {
        const CObject* pOb = tools.GetAt(i);
        if (!pOb || !pOb->IsKindOf(RUNTIME_CLASS(TWKUserTool)) || !seen.insert(pOb).second)
            return false;
    }
    return true;
}

} // namespace

BOOL LoadUserTools(LPCSTR pszFile, CObArray& tools)
{
    CFileStatus status;
    if (!pszFile || !CFile::GetStatus(pszFile, status))
        return FALSE;
    // Read apart and handed over whole: a damaged file adds nothing and frees what it made.
    CObArray loaded;
    std::unordered_set<const CObject*> seen;
    try
    {
        CFile file(pszFile, CFile::modeRead | CFile::shareDenyNone);
        CArchive ar(&file, CArchive::load, 4096);
        const DWORD nCount = ar.ReadCount();
        for (DWORD i = 0; i < nCount; ++i)
        {
            // Only tools; a NULL element or a reference back to a tool already read is a
            // damaged file.
            CObject* pOb = ar.ReadObject(RUNTIME_CLASS(TWKUserTool));
            if (!pOb || !seen.insert(pOb).second)
                ar.ThrowArchive(CArchiveException::badIndex);
            loaded.Add(pOb);
        }
    }
    catch (CException* e)
    {
        e->Delete();
        DeleteUserTools(&loaded);
        return FALSE;
    }
    const INT_PTR before = tools.GetSize();
    tools.RemoveAll();
    tools.Append(loaded);
    return tools.GetSize() > before;
}

BOOL SaveUserTools(LPCSTR pszFile, CObArray& tools)
{
    // What the loader would refuse is not written.
    if (!pszFile || !*pszFile || !OwnsEachToolOnce(tools))
        return FALSE;
    // A file we could not write to stays as it is (read-only, or open elsewhere).
    const DWORD attributes = ::GetFileAttributesA(pszFile);
    if (attributes != INVALID_FILE_ATTRIBUTES)
    {
        if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
            return FALSE;
        HANDLE hOld = ::CreateFileA(pszFile, GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (hOld == INVALID_HANDLE_VALUE)
            return FALSE;
        ::CloseHandle(hOld);
    }
    // Written beside the file first: the user's tools are replaced only by a
    // complete file.
    TWKFileSystem fs;
    CString folder = fs.GetPath(pszFile, TRUE);
    if (folder.IsEmpty())
        folder = ".";
    char temp[MAX_PATH] = "";
    if (!::GetTempFileNameA(folder, "twk", 0, temp))
        return FALSE;
    BOOL bWritten = FALSE;
    try
    {
        CFile file(temp, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
        CArchive ar(&file, CArchive::store, 4096);
        tools.Serialize(ar);
        ar.Close();
        file.Close();
        bWritten = TRUE;
    }
    catch (CException* e)
    {
        e->Delete();
    }
    if (bWritten && ::MoveFileExA(temp, pszFile, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return TRUE;
    ::DeleteFileA(temp);
    return FALSE;
}

BOOL AppendUserToolsToMenu(CMenu* pMenu, UINT nFirstID, CObArray* pTools)
{
    if (!pMenu || !pMenu->GetSafeHmenu() || nFirstID == 0)
        return FALSE;
    int count = (int)pMenu->GetMenuItemCount();
    int first = -1;
    for (int i = 0; i < count; ++i)
        if (pMenu->GetMenuItemID(i) == nFirstID)
        {
            first = i;
            break;
        }
    int last;
    if (first >= 0)
    {
        while ((int)pMenu->GetMenuItemCount() > first)
            pMenu->DeleteMenu((UINT)first, MF_BYPOSITION);
        last = first > 0 ? first - 1 : 0;
    }
    else
    {
        last = count - 1;
    }
    auto isSeparator = [pMenu](int pos) {
        return pos >= 0 && pos < (int)pMenu->GetMenuItemCount() &&
               (pMenu->GetMenuState((UINT)pos, MF_BYPOSITION) & MF_SEPARATOR) != 0;
    };

    const INT_PTR n = pTools ? pTools->GetSize() : 0;
    if (n == 0)
    {
        if (last > 0 && isSeparator(last))
            pMenu->DeleteMenu((UINT)last, MF_BYPOSITION);
        return TRUE;
    }
    if (!isSeparator(last))
        pMenu->AppendMenu(MF_SEPARATOR);
    INT_PTR appended = 0;
    for (INT_PTR i = 0; i < n; ++i)
    {
        auto* pTool = static_cast<TWKUserTool*>(pTools->GetAt(i));
        if (pTool && pMenu->AppendMenu(MF_STRING, nFirstID + (UINT)i, pTool->strMenuText))
            ++appended;
    }
    return appended == n;
}

void DeleteUserTools(CObArray* pTools)
{
    if (!pTools)
        return;
    for (INT_PTR i = 0; i < pTools->GetSize(); ++i)
        delete pTools->GetAt(i);
    pTools->RemoveAll();
}
