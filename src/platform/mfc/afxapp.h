// CWinApp: the one application object of the process. It runs the program (AfxWinMain: InitInstance, the
// message loop, ExitInstance), holds the document templates, reads the standard command line, and keeps
// the profile: values under HKEY_CURRENT_USER\Software\<registry key>\<application name>\<section>.
#pragma once

#include "afxcmdline.h"
#include "afxrecentfile.h"
#include "afxthread.h"

#include <vector>

class CDocTemplate;
class CDocument;
class CPrintDialog;
struct tagPDW;   // PRINTDLGW: commdlg.h is left to the files that use the dialogs (its macros rename members)

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    // The application name defaults to the application title (string AFX_IDS_APP_TITLE).
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;   // deletes the document templates

    HINSTANCE m_hInstance = nullptr;
    LPTSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCTSTR m_pszAppName = nullptr;
    LPCTSTR m_pszRegistryKey = nullptr;   // null until SetRegistryKey: no profile
    LPCTSTR m_pszProfileName = nullptr;
    UINT m_nNumPreviewPages = 0;          // standard profile setting "Settings\PreviewPages"
    CRecentFileList* m_pRecentFileList = nullptr;   // owned; null when the application keeps none

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    int Run() override;   // ends at once when InitInstance made no main window
    BOOL OnIdle(LONG lCount) override;
    int ExitInstance() override;

    // Profile in the registry; without a registry key reads answer the default and writes fail.
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    // Opened (and created when missing) keys; the caller closes them.
    HKEY GetAppRegistryKey(REGSAM samDesired = KEY_READ | KEY_WRITE);
    HKEY GetSectionKey(LPCTSTR lpszSection, REGSAM samDesired = KEY_READ | KEY_WRITE);
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    // A null value deletes the entry; a null entry deletes the whole section.
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    // *ppData is allocated with new[]; the caller deletes it.
    BOOL GetProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPBYTE pData, UINT nBytes);
    // The standard settings; the recent-file list is the application's to make, so nMaxMRU must be 0.
    void LoadStdProfileSettings(UINT nMaxMRU = 0);

    // Document templates, owned by the application from AddDocTemplate on.
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);

    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // FileNew and FileOpen make the document, frame and view (FALSE when no main window results);
    // FileNothing does nothing; the other commands are not served by this program and answer FALSE.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursorW(nullptr, lpszCursorName); }
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIconW(nullptr, lpszIconName); }

    // The wait cursor: 1 begins a wait, -1 ends it, 0 shows the hourglass again during one.
    virtual void DoWaitCursor(int nCode);

    // The application's printer: null until chosen, or until the system's default printer is first asked
    // for; freed with the application.
    HGLOBAL m_hDevMode = nullptr;
    HGLOBAL m_hDevNames = nullptr;
    // Makes the handles the application's printer (null and null forget it); bFreeOld frees the old ones.
    void SelectPrinter(HGLOBAL hDevNames, HGLOBAL hDevMode, BOOL bFreeOld = TRUE);
    // Puts the application's printer into pPrintDlg, first taking the system's default printer when there is
    // none; FALSE when there is no printer.
    BOOL GetPrinterDeviceDefaults(tagPDW* pPrintDlg);
    // Runs the print dialog on the application's printer; the printer chosen stays the application's.
    INT_PTR DoPrintDialog(CPrintDialog* pPD);

    afx_msg void OnFileNew();
    // The open-file dialog (the templates' kinds of file and all files), then OpenDocumentFile.
    afx_msg void OnFileOpen();
    afx_msg void OnAppExit();
    // The printer set-up dialog.
    afx_msg void OnFilePrintSetup();

protected:
    // Takes the system's default printer when the application has none yet (or always with bForceDefaults).
    void UpdatePrinterSelection(BOOL bForceDefaults);

    DECLARE_MESSAGE_MAP()

private:
    CString m_strAppName;
    CString m_strRegistryKey;
    std::vector<CDocTemplate*> m_templates;
};

// The application object, null before it is constructed and after it is destroyed.
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
LPCTSTR AfxGetAppName();

// The program's run: the application's InitInstance, then its message loop, then ExitInstance. Answers
// the exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
