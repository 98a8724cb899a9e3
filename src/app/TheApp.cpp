#include "TheApp.h"

#include "app/ArchiveBackup.h"
#include "app/ArchiveRestore.h"
#include "app/CompactDatabase.h"
#include "app/EmptyView.h"
#include "app/MainFrm.h"
#include "app/SplashWnd.h"
#include "app/TheDoc.h"
#include "data/AdoErrorText.h"
#include "data/DatabasePassword.h"
#include "data/SetConfig.h"
#include "data/SetSettings.h"
#include "dialogs/DlgAbout.h"
#include "engine/RecalcSaldi.h"
#include "platform/mfc/afxdoctempl.h"
#include "platform/mfc/afxfiledlg.h"
#include "platform/mfc/afxwaitcursor.h"
#include "resource.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"

#include <commctrl.h>
#include <oledberr.h>
#include <ole2.h>

namespace {

const TCHAR PROG_DATABASE_NAME[] = L"Prog03.mdb";

// What version 1.01 brought.
const LPCTSTR UPGRADE_TO_101[] = {
    L"CREATE TABLE [SaldoFinProg] ([ID]       INTEGER NOT NULL, [Anno4Com] CURRENCY, [Anno4Cas] CURRENCY, "
    L"[Anno5Com] CURRENCY, [Anno5Cas] CURRENCY, [Anno6Com] CURRENCY, [Anno6Cas] CURRENCY)",
    L"CREATE UNIQUE INDEX [PK_SALDOFINPROG] ON [SaldoFinProg] ([ID]) WITH PRIMARY",
};

// What version 1.02 brought: the responsible centres' type, the budget chapters and the extra-accounting amounts
// per chapter, which follow their centre and chapter through the database's cascades.
const LPCTSTR UPGRADE_TO_102[] = {
    L"ALTER TABLE [Responsabili] ADD COLUMN [tipoResp] INTEGER",
    L"CREATE TABLE [CapEntrate] ([ID]          INTEGER      NOT NULL,  [descrizione] VARCHAR(100) NOT NULL,  "
    L"[codUEB]      VARCHAR(7)   NOT NULL)",
    L"CREATE UNIQUE INDEX [PK_CAPENTRATE] ON [CapEntrate] ([ID]) WITH PRIMARY",
    L"CREATE UNIQUE INDEX [K1_CAPENTRATE] ON [CapEntrate] ([ID], [codUEB])",
    L"CREATE TABLE [CapSpese] ([ID]          INTEGER      NOT NULL,  [descrizione] VARCHAR(100) NOT NULL,  "
    L"[codUEB]      VARCHAR(7)   NOT NULL)",
    L"CREATE UNIQUE INDEX [PK_CAPSPESE] ON [CapSpese] ([ID]) WITH PRIMARY",
    L"CREATE UNIQUE INDEX [K1_CAPSPESE] ON [CapSpese] ([ID], [codUEB])",
    L"CREATE TABLE [ExtraEntrCap] ([ID]           COUNTER,               [idResp]       INTEGER      NOT NULL, "
    L"[codUEB]       VARCHAR(7)   NOT NULL, [capitolo]     INTEGER      NOT NULL, [articolo]     VARCHAR(100), "
    L"[importoComp]  CURRENCY, [importoCassa] CURRENCY)",
    L"CREATE UNIQUE INDEX [PK_EXTRAENTRCAP] ON [ExtraEntrCap] ([ID]) WITH PRIMARY",
    L"CREATE TABLE [ExtraSpeseCap] ([ID]           COUNTER,               [idResp]       INTEGER      NOT NULL, "
    L"[codUEB]       VARCHAR(7)   NOT NULL, [capitolo]     INTEGER      NOT NULL, [articolo]     VARCHAR(100), "
    L"[importoComp]  CURRENCY, [importoCassa] CURRENCY)",
    L"CREATE UNIQUE INDEX [PK_EXTRASPESECAP] ON [ExtraSpeseCap] ([ID]) WITH PRIMARY",
    L"ALTER TABLE [ExtraEntrCap] ADD CONSTRAINT [FK1_EXTRAENTRCAP] FOREIGN KEY ([idResp]) "
    L"REFERENCES [Responsabili] ([ID]) ON DELETE CASCADE",
    L"ALTER TABLE [ExtraEntrCap] ADD CONSTRAINT [FK2_EXTRAENTRCAP] FOREIGN KEY ([capitolo],[codUEB]) "
    L"REFERENCES [CapEntrate] ([ID],[codUEB]) ON UPDATE CASCADE ON DELETE CASCADE",
    L"ALTER TABLE [ExtraSpeseCap] ADD CONSTRAINT [FK1_EXTRASPESECAP] FOREIGN KEY ([idResp]) "
    L"REFERENCES [Responsabili] ([ID]) ON DELETE CASCADE",
    L"ALTER TABLE [ExtraSpeseCap] ADD CONSTRAINT [FK2_EXTRASPESECAP] FOREIGN KEY ([capitolo],[codUEB]) "
    L"REFERENCES [CapSpese] ([ID],[codUEB]) ON UPDATE CASCADE ON DELETE CASCADE",
};

// The recomputation writes the forecast balances on the mixed basis too; SaldoFinProg as older versions made it
// lacks those columns.
const LPCTSTR MIXED_BASIS_COLUMNS[] = { L"Anno4Mis", L"Anno5Mis", L"Anno6Mis" };

void Execute(CADOConnection& connection, LPCTSTR pszSQL)
{
    connection.Execute(pszSQL, nullptr, adCmdText | adExecuteNoRecords);
}

template <size_t N> void ExecuteStatements(CADOConnection& connection, const LPCTSTR (&statements)[N])
{
    for (LPCTSTR pszSQL : statements)
        Execute(connection, pszSQL);
}

bool HasField(const FieldsPtr& fields, LPCTSTR pszName)
{
    for (long i = 0; i < fields->GetCount(); ++i) {
        if (CString(static_cast<LPCWSTR>(fields->GetItem(_variant_t(i))->GetName())).CompareNoCase(pszName) == 0)
            return true;
    }
    return false;
}

void AddMixedBasisColumns(CADOConnection& connection)
{
    FieldsPtr fields = connection.Execute(L"SELECT * FROM [SaldoFinProg] WHERE 1 = 0", nullptr, adCmdText)->GetFields();
    for (LPCTSTR pszColumn : MIXED_BASIS_COLUMNS) {
        if (!HasField(fields, pszColumn))
            Execute(connection, FormatString(L"ALTER TABLE [SaldoFinProg] ADD COLUMN [%s] CURRENCY", pszColumn));
    }
}

const TCHAR DELETE_BALANCES_OF_MISSING_CENTRES[] =
    L"DELETE FROM [SaldoFinCalc] WHERE [idResp] NOT IN (SELECT [ID] FROM [Responsabili])";

// Jet tells no constraints through ADO: the key is there when a row of a centre that does not exist is refused.
// Any row such a test adds is a row of a missing centre, which the caller removes.
bool RefusesBalancesOfMissingCentres(CADOConnection& connection)
{
    try {
        Execute(connection, L"INSERT INTO [SaldoFinCalc] ([ID], [idResp]) SELECT 0, MAX([ID]) + 1 FROM [Responsabili]");
    }
    catch (const _com_error& e) {
        if (e.Error() != DB_E_INTEGRITYVIOLATION)
            throw;
        return true;
    }
    return false;
}

// Older versions let the balances of a deleted centre stay behind (new archives are made with the key): they go,
// and the key makes a deleted centre take its balances with it from now on.
void KeyBalancesToTheirCentre(CADOConnection& connection)
{
    // The totals rows belong to the centre 0: an archive that lacks it would lose them here and could not
    // store them again under the key.
    _RecordsetPtr totals = connection.Execute(L"SELECT COUNT(*) FROM [Responsabili] WHERE [ID] = 0", nullptr, adCmdText);
    if (static_cast<long>(totals->GetCollect(_variant_t(0L))) == 0)
        Execute(connection, L"INSERT INTO [Responsabili] ([ID], [responsabile], [centroServ]) VALUES (0, 'Totale', 'Totale')");
    Execute(connection, DELETE_BALANCES_OF_MISSING_CENTRES);
    if (RefusesBalancesOfMissingCentres(connection))
        return;
    Execute(connection, DELETE_BALANCES_OF_MISSING_CENTRES);
    Execute(connection, L"ALTER TABLE [SaldoFinCalc] ADD CONSTRAINT [FK1_SALDOFINCALC] FOREIGN KEY ([idResp]) "
                        L"REFERENCES [Responsabili] ([ID]) ON DELETE CASCADE");
}

// "2.00" for 200.
CString FormatArchiveVersion(int nVersion)
{
    return FormatString(L"%d.%02d", nVersion / 100, nVersion % 100);
}

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
        if (!CheckArchiveVersion())
            return false;
        RecalcSaldi(m_dataConnection);
        return true;
    }
    catch (const _com_error& e) {
        return ShowDatabaseError(e, m_dataConnection);
    }
}

bool CTheApp::CheckArchiveVersion()
{
    int nVersion = CSetSettings::GetSettingVersioneDB(m_dataConnection);
    if (nVersion < ARCHIVE_VERSION) {
        UpgradeArchive(nVersion);
        return true;
    }
    if (nVersion > ARCHIVE_VERSION) {
        AfxMessageBox(FormatResMessage(IDP_ARCHIVE_VERSION, FormatArchiveVersion(ARCHIVE_VERSION),
                                       FormatArchiveVersion(nVersion)),
                      MB_ICONERROR);
        return false;
    }
    return true;
}

void CTheApp::UpgradeArchive(int nVersion)
{
    // One transaction: a statement that fails leaves no half-upgraded archive that no later start could open.
    CADOTransaction transaction(m_dataConnection);
    if (nVersion < 101)
        ExecuteStatements(m_dataConnection, UPGRADE_TO_101);
    if (nVersion < 102)
        ExecuteStatements(m_dataConnection, UPGRADE_TO_102);
    AddMixedBasisColumns(m_dataConnection);
    KeyBalancesToTheirCentre(m_dataConnection);
    CSetSettings::SetSettingVersioneDB(m_dataConnection, ARCHIVE_VERSION);
    transaction.Commit();
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
        if (!IsBackupTargetRefused(strPath, m_strAppDir, GetPathDir(GetArchiveRelativePath()))) {
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
    bool bRestored = CArchiveRestore(m_strArchivePath, GetArchiveRelativePath(), ARCHIVE_VERSION, pfnReplace)
                         .Run(pszZipPath);
    return ReopenDatabase() && bRestored;
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
