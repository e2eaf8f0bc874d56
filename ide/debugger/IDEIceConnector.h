// The loaded broker library, and what belongs to the opened emulator board:
// its debug target and breakpoint store, its status word, the port, the
// opened part number and the names of the last download.
#pragma once
#include "afx/afx.h"
#include "components/include/IceInterface.h"

class C_ComBrokerPtr {
public:
    C_ComBrokerPtr() = default;
    virtual ~C_ComBrokerPtr();
    C_ComBrokerPtr(const C_ComBrokerPtr&) = delete;
    C_ComBrokerPtr& operator=(const C_ComBrokerPtr&) = delete;

    void Setup(CString& strLibrary, CString& strFolder);
    I_ComBroker* Get();
    HMODULE GetModule() const { return m_hModule; }

private:
    BOOL Load(const CString& strLibrary);
    void EnsureInit();

    HMODULE m_hModule = nullptr;
    I_ComBroker* m_pBroker = nullptr;
    CString m_strLibrary;
    CString m_strFolder;
    BOOL m_bInitialised = FALSE;
};

class C_IDEIcePortDlg;

class C_IDEIceConnector {
public:
    C_IDEIceConnector() = default;
    virtual ~C_IDEIceConnector() = default;
    C_IDEIceConnector(const C_IDEIceConnector&) = delete;
    C_IDEIceConnector& operator=(const C_IDEIceConnector&) = delete;

    void SetIce(I_IceDevice* pIce);
    void RefreshStatus();
    DWORD GetStatus() const { return m_dwStatus; }
    I_IceDebugTarget* GetDebugTarget();
    I_IceBreakpointList* GetBreakpointList();

    BOOL OpenBoard(CString& strPart, BOOL* pbChanged, int nMode);
    BOOL Download(HWND hWnd, CString& strObj, CString& strSecond, WORD wFlags, DWORD dwIncremental,
                  BOOL bListing, int nMode);
    BOOL Stop();
    BOOL Restart();
    BOOL StopWriting();
    BOOL ForgetDownload();
    BOOL RunTo(const char* pszFile, int nLine);
    BOOL Diagnose(CString& strPart);
    BOOL IsDownloadNeeded(CString& strPart, CString& strObj) const;

    // The port choice: a port given, or the remembered one checked against the
    // part's families, or the port dialog.
    BOOL SelectPort(const char* pszPort, const char* pszPart);
    BOOL ValidatePort(CString& strPort, const char* pszPart);

    const CString& GetPort() const { return m_strPort; }
    const CString& GetDownloadedFile() const { return m_strObj; }
    const CString& GetListingFile() const { return m_strListing; }
    const CString& GetDsrFile() const { return m_strDsr; }
    const CString& GetOpenPart() const { return m_strOpenPart; }
    DWORD GetDownloadFlags() const { return m_dwDownloaded; }
    void ClearDownloadFlags(DWORD dwMask) { m_dwDownloaded &= ~dwMask; }
    BOOL IsListingReady() const { return m_bListingReady; }
    void SetListingFile(const char* pszPath);

    // The longest part number the before-writing buffer holds with its mark.
    enum { MAX_WRITE_PART = ICE_OPEN_TEXT_SIZE - 1 - 6 };

private:
    BOOL EnsurePort(const char* pszPart);

    I_IceDevice* m_pIce = nullptr;
    I_IceDebugTarget* m_pTarget = nullptr;
    I_IceBreakpointList* m_pBreakpoints = nullptr;
    DWORD m_dwStatus = 0;
    DWORD m_dwDownloaded = 0;
    CString m_strOpenPart;
    CString m_strObj;
    CString m_strListing;
    CString m_strDsr;
    CString m_strPort;
    BOOL m_bListingReady = FALSE;
    BOOL m_bDownloaded = FALSE;
};

// A path's drive, folder and file title joined (the extension and its dot dropped).
CString IcePathWithoutExt(const char* pszPath);
