#include "TheApp.h"

#include "app/ArchiveBackup.h"
#include "app/ArchiveOpening.h"
#include "app/ArchiveRestore.h"
#include "app/CompactDatabase.h"
#include "app/EmptyView.h"
#include "app/MainFrm.h"
#include "app/SplashWnd.h"
#include "app/TheDoc.h"
#include "data/AdoErrorText.h"
#include "data/DatabasePassword.h"
#include "data/SetConfig.h"
#include "dialogs/DlgAbout.h"
#include "platform/mfc/afxdoctempl.h"
#include "platform/mfc/afxfiledlg.h"
#include "platform/mfc/afxwaitcursor.h"
#include "resource.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"

#include <commctrl.h>
#include <ole2.h>

namespace {

const TCHAR PROG_DATABASE_NAME[] = L"Prog03.mdb";

bool CreateConnection(CADOConnection& connection)
{
    HRESULT hr = connection.CreateConnection();
    if (FAILED(hr)) {
        AfxMessageBox(GetSystemErrorText(static_cast<DWORD>(hr)), MB_ICONERROR);
        return false;
    }
    return true;
}

bool ShowDatabaseError(const _com_error& e, const CADOConnection& connection)
{
    AfxMessageBox(GetComErrorText(e, &connection), MB_ICONERROR);
    return false;
}

} // namespace

// The framework's commands of the application: new and open (no menu entry), printer set-up, exit.
BEGIN_MESSAGE_MAP(CTheApp, CWinApp)
    ON_COMMAND(ID_FILE_NEW, &CTheApp::OnFileNew)
    ON_COMMAND(ID_FILE_OPEN, &CTheApp::OnFileOpen)
    ON_COMMAND(ID_FILE_PRINT_SETUP, &CTheApp::OnFilePrintSetup)
    ON_COMMAND(ID_APP_EXIT, &CTheApp::OnAppExit)
    ON_COMMAND(ID_APP_ABOUT, &CTheApp::OnAppAbout)
END_MESSAGE_MAP()

CTheApp::CTheApp()
{
}

BOOL CTheApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls = { sizeof(controls), ICC_WIN95_CLASSES | ICC_DATE_CLASSES };
    ::InitCommonControlsEx(&controls);
    CWinApp::InitInstance();
    if (FAILED(::OleInitialize(nullptr)))
        return FALSE;

    SetRegistryKey(L"Lumetra Solutions");
    LoadStdProfileSettings(0);
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CTheDoc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CEmptyView)));

    TCHAR szCurrentDir[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, szCurrentDir);
    InitFolders(szCurrentDir);

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    CSplashWnd::EnableSplashScreen(cmdInfo.m_bShowSplash);
    CSplashWnd::ShowSplashScreen(nullptr);
    {
        CSplashWnd::CHideBeforeMessageBoxes hideSplash;
        if (!OpenDatabase()) {
            CSplashWnd::HideSplashScreen();
            return FALSE;
        }
        if (!ProcessShellCommand(cmdInfo)) {
            CSplashWnd::HideSplashScreen();
            return FALSE;
        }
    }
    m_pMainWnd->ShowWindow(SW_SHOWMAXIMIZED);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

int CTheApp::ExitInstance()
{
    // The connection objects go before OLE does: program database first, then the archive.
    CloseDatabase();
    m_progConnection.ReleaseConnection();
    m_dataConnection.ReleaseConnection();
    int nResult = CWinApp::ExitInstance();
    ::OleUninitialize();
    return nResult;
}

BOOL CTheApp::PreTranslateMessage(MSG* pMsg)
{
    return CSplashWnd::PreTranslateAppMessage(pMsg) || CWinApp::PreTranslateMessage(pMsg);
}

void CTheApp::InitFolders(LPCTSTR pszAppDir)
{
    m_strAppDir = pszAppDir;
    m_strFormDir = CombinePath(m_strAppDir, L"Form");
    m_strDocDir = CombinePath(m_strAppDir, L"Doc");
    m_strDocUtDir = CombinePath(m_strAppDir, L"DocUt");
    m_strWebUpdDir = CombinePath(m_strAppDir, L"WebUpd");
}

bool CTheApp::OpenDatabase()
{
    CWaitCursor wait;
    if (!CreateConnection(m_progConnection))
        return false;
    try {
        CString strProgPath = CombinePath(m_strAppDir, PROG_DATABASE_NAME);
        m_progConnection.Open(CADOConnection::FormatConnectionString(strProgPath, GetProgDatabasePassword()), TRUE);
        m_strArchivePath = CombinePath(m_strAppDir, CSetConfig::GetConfigNomeDB(m_progConnection));
        m_strArchivePath.Replace(L'/', L'\\');
        // Without ".." parts: the backup stores the archive under its path relative to the program folder, and a
        // restore refuses any item name that climbs out of it.
        m_strArchivePath = GetFullPath(m_strArchivePath);
    }
    catch (const _com_error& e) {
        return ShowDatabaseError(e, m_progConnection);
    }

    if (!CreateConnection(m_dataConnection))
        return false;
    try {
        m_dataConnection.Open(CADOConnection::FormatConnectionString(m_strArchivePath, GetArchivePassword()), TRUE);
        CString strRefusal;
        if (PrepareArchive(m_dataConnection, strRefusal))
            return true;
        AfxMessageBox(strRefusal, MB_ICONERROR);
        return false;
    }
    catch (const _com_error& e) {
        return ShowDatabaseError(e, m_dataConnection);
    }
}

bool CTheApp::MaintainArchives()
{
    CloseDatabase();
    if (CompactDatabase(m_strArchivePath, GetArchivePassword()))
        AfxMessageBox(IDP_MAINTENANCE_DONE, MB_ICONINFORMATION);
    return ReopenDatabase();
}

void CTheApp::CloseDatabase()
{
    if (m_progConnection.IsOpen())
        m_progConnection.Close();
    if (m_dataConnection.IsOpen())
        m_dataConnection.Close();
}

BOOL CTheApp::GetInfoNormativa()
{
    return static_cast<int>(GetProfileInt(L"Settings", L"Info Normativa", 0)) > 0;
}

void CTheApp::SetInfoNormativa(BOOL bShown)
{
    WriteProfileInt(L"Settings", L"Info Normativa", bShown ? 1 : 0);
}

int CTheApp::GetUltimaVersione()
{
    return static_cast<int>(GetProfileInt(L"Settings", L"Ultima Versione", 0));
}

void CTheApp::SetUltimaVersione(int nVersion)
{
    WriteProfileInt(L"Settings", L"Ultima Versione", nVersion);
}

void CTheApp::OnAppAbout()
{
    CDlgAbout dialog(m_pMainWnd, GetProductCode());
    dialog.DoModal();
}

CString CTheApp::GetBackupDir() const
{
    return CombinePath(m_strAppDir, L"Backup");
}

bool CTheApp::BackupArchive()
{
    CString strFilter = LoadResString(IDS_ZIP_FILTER);
    CString strBackupDir = GetBackupDir();
    CString strName = GetDefaultBackupName(COleDateTime::GetCurrentTime());
    for (;;) {
        CFileDialog dialog(FALSE, L"zip", strName, OFN_EXPLORER | OFN_OVERWRITEPROMPT, strFilter, AfxGetMainWnd());
        dialog.m_ofn.lpstrInitialDir = strBackupDir;
        if (dialog.DoModal() != IDOK)
            return false;
        CString strPath = dialog.GetPathName();
        if (!IsBackupTargetRefused(strPath, m_strAppDir, m_strArchivePath, CombinePath(m_strAppDir, PROG_DATABASE_NAME))) {
            CWaitCursor wait;
            return WriteBackup(strPath);
        }
        AfxMessageBox(IDP_BACKUP_FOLDER_REFUSED, MB_ICONERROR);
        strName = GetPathFileName(strPath);
    }
}

bool CTheApp::WriteBackup(LPCTSTR pszZipPath)
{
    CString strRelativePath = GetArchiveRelativePath();
    CloseDatabase();
    bool bWritten = WriteArchiveZip(pszZipPath, m_strArchivePath, strRelativePath);
    return ReopenDatabase() && bWritten;
}

bool CTheApp::RestoreArchive()
{
    if (AfxMessageBox(IDP_RESTORE_CONFIRM, MB_YESNO | MB_ICONWARNING) != IDYES)
        return false;
    CString strFilter = LoadResString(IDS_ZIP_FILTER);
    CString strBackupDir = GetBackupDir();
    CFileDialog dialog(TRUE, L"zip", nullptr, OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY, strFilter,
                       AfxGetMainWnd());
    dialog.m_ofn.lpstrInitialDir = strBackupDir;
    if (dialog.DoModal() != IDOK)
        return false;
    return RestoreArchiveFrom(dialog.GetPathName());
}

CString CTheApp::GetArchiveRelativePath() const
{
    CString strFolder = m_strAppDir;
    if (!strFolder.IsEmpty() && strFolder[strFolder.GetLength() - 1] != L'\\')
        strFolder += L'\\';
    if (m_strArchivePath.GetLength() > strFolder.GetLength() &&
        m_strArchivePath.Left(strFolder.GetLength()).CompareNoCase(strFolder) == 0)
        return m_strArchivePath.Mid(strFolder.GetLength());
    return GetPathFileName(m_strArchivePath);
}

bool CTheApp::RestoreArchiveFrom(LPCTSTR pszZipPath, PFN_REPLACE_FILE pfnReplace)
{
    CWaitCursor wait;
    CloseDatabase();
    CArchiveRestore restore(m_strArchivePath, GetArchiveRelativePath(), ARCHIVE_VERSION, pfnReplace);
    if (!restore.Run(pszZipPath)) {
        ReopenDatabase();
        return false;
    }
    if (OpenDatabase())
        return true;
    // The checked copy did not open where it now lies: the program goes on with the archive it had.
    CloseDatabase();
    if (restore.PutBackFormer())
        AfxMessageBox(IDP_RESTORE_FORMER_BACK, MB_ICONWARNING);
    ReopenDatabase();
    return false;
}

bool CTheApp::ReopenDatabase()
{
    if (OpenDatabase())
        return true;
    CloseDatabase();
    AfxMessageBox(IDP_DATABASES_LOST, MB_ICONERROR);
    if (m_pMainWnd)
        m_pMainWnd->PostMessage(WM_CLOSE);
    else
        ::PostQuitMessage(0);
    return false;
}
