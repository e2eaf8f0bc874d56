// User tools: external programs on the Tools menu, and the tools file
// ("Tools.cfg": the archive of a CObArray of TWKUserTool, schema 1).
#pragma once
#include <windows.h>
#include "afx/afx.h"

class TWKUserTool : public CObject
{
    DECLARE_SERIAL(TWKUserTool)
public:
    TWKUserTool();
    TWKUserTool(const TWKUserTool& other);
    TWKUserTool& operator=(const TWKUserTool& other);
    ~TWKUserTool() override;

    // The six fields in order; the two numbers as 32-bit values.
    void Serialize(CArchive& ar) override;

    // Runs the tool (macros NAME=VALUE replaced first); TRUE when it was
    // started and, when waited for, ended the wait normally.
    virtual BOOL Execute(const CStringList* pMacros = NULL);

    // The folder and command line Execute runs: the command, then one space
    // and the arguments when there are any.
    void PrepareCommand(const CStringList* pMacros, CString& strDir, CString& strCmdLine) const;

    // NAME=VALUE split at the first "="; TRUE only when both parts are there.
    static BOOL ParseMacro(const CString& strText, CString& strName, CString& strValue);
    // Replaces every occurrence (flag bit 0: case-blind match); the count,
    // or -1 when there is nothing to look for or no replacement.
    static int ReplaceText(CString& s, LPCSTR pszFind, LPCSTR pszReplace, UINT nFlags = 0);
    // Starts the program in the folder (empty: the current one) and, with
    // bWait, keeps dispatching messages until it ends. The process's current
    // folder is the same afterwards.
    static BOOL RunProgram(LPCSTR pszDir, LPCSTR pszCmdLine, UINT nShowCmd, BOOL bWait);

    DWORD bWait;
    CString strMenuText;
    CString strCommand;
    CString strArguments;
    CString strInitialDir;
    DWORD nShowCmd;
};

// TRUE when the file was read and the array holds more tools than before.
BOOL LoadUserTools(LPCSTR pszFile, CObArray& tools);
// TRUE when the whole array was written; the old file is replaced only then.
BOOL SaveUserTools(LPCSTR pszFile, CObArray& tools);
// The tools as items nFirstID, nFirstID + 1 ... after a separator; items
// from nFirstID on are replaced. TRUE when every tool got its item.
BOOL AppendUserToolsToMenu(CMenu* pMenu, UINT nFirstID, CObArray* pTools);
// Deletes every tool and empties the array.
void DeleteUserTools(CObArray* pTools);
