#include "ProgramFolder.h"

#include "app/EmptyView.h"
#include "app/MainFrm.h"
#include "app/TheDoc.h"
#include "platform/mfc/afxdoctempl.h"
#include "resource.h"
#include "data/DatabasePassword.h"
#include "data/DatabaseSchema.h"
#include "data/SetConfig.h"
#include "data/SetSettings.h"
#include "engine/SetSaldi.h"
#include "util/MessageText.h"

#include <fstream>
#include <iterator>

namespace {

void OpenDatabase(CADOConnection& connection, LPCTSTR pszPath, LPCTSTR pszPassword)
{
    ASSERT_HRESULT_SUCCEEDED(connection.CreateConnection());
    connection.Open(CADOConnection::FormatConnectionString(pszPath, pszPassword), TRUE);
}

} // namespace

const LPCTSTR FORECAST_TABLE_101 =
    L"CREATE TABLE [SaldoFinProg] ([ID] INTEGER NOT NULL, [Anno4Com] CURRENCY, [Anno4Cas] CURRENCY, "
    L"[Anno5Com] CURRENCY, [Anno5Cas] CURRENCY, [Anno6Com] CURRENCY, [Anno6Cas] CURRENCY);"
    L"CREATE UNIQUE INDEX [PK_SALDOFINPROG] ON [SaldoFinProg] ([ID]) WITH PRIMARY";

namespace {

// The forecast per responsible centre as versions before 2.00 made it: no key ties its rows to their centre.
const LPCTSTR BALANCES_PER_CENTRE_UNKEYED =
    L"CREATE TABLE [SaldoFinCalc] ([ID] INTEGER NOT NULL, [idResp] INTEGER NOT NULL, "
    L"[Anno4Com] CURRENCY DEFAULT 0, [Anno4Cas] CURRENCY DEFAULT 0, [Anno4Mis] CURRENCY DEFAULT 0, "
    L"[Anno5Com] CURRENCY DEFAULT 0, [Anno5Cas] CURRENCY DEFAULT 0, [Anno5Mis] CURRENCY DEFAULT 0, "
    L"[Anno6Com] CURRENCY DEFAULT 0, [Anno6Cas] CURRENCY DEFAULT 0, [Anno6Mis] CURRENCY DEFAULT 0);"
    L"CREATE UNIQUE INDEX [PK_SALDOFINCALC] ON [SaldoFinCalc] ([ID], [idResp]) WITH PRIMARY";

} // namespace

CString ShippedProgramFolder()
{
    TCHAR szModule[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    CString strPath = szModule;
    strPath = strPath.Left(strPath.ReverseFind(L'\\'));
    return strPath.Left(strPath.ReverseFind(L'\\')) + L"\\Quarzel08";
}

CMainFrame* CreateMainFrame(CTheApp& app, const std::function<COleDateTime()>& clock)
{
    auto* pFrame = new CMainFrame;
    if (clock)
        pFrame->SetClock(clock);
    auto* pDoc = new CTheDoc;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CEmptyView);
    context.m_pCurrentDoc = pDoc;
    if (!pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, &context))
        return nullptr;
    app.m_pMainWnd = pFrame;
    pFrame->InitialUpdateFrame(pDoc, FALSE);
    return pFrame;
}

void CProgramFolderTest::SetUp()
{
    MakeProgramDatabase(L"Archivio.mdb");
}

void CProgramFolderTest::TearDown()
{
    // The folder goes with its files: they must be closed first.
    if (m_pApp)
        m_pApp->CloseDatabase();
    m_pApp.reset();
}

void CProgramFolderTest::MakeProgramDatabase(LPCTSTR pszNomeDB)
{
    CString strPath = m_folder.File(L"Prog03.mdb");
    ::DeleteFileW(strPath);
    CreateProgramDatabase(strPath, GetProgDatabasePassword());
    CADOConnection connection;
    OpenDatabase(connection, strPath, GetProgDatabasePassword());
    CSetConfig::SetConfig(connection, L"anno", L"2008");
    CSetConfig::SetConfig(connection, L"nomeDB", pszNomeDB);
    connection.Close();
    m_archivePath = m_folder.File(pszNomeDB);
    m_archivePath.Replace(L'/', L'\\');
}

void CProgramFolderTest::MakeArchive(int nVersion)
{
    CString strFolder = m_archivePath.Left(m_archivePath.ReverseFind(L'\\'));
    ::CreateDirectoryW(strFolder, nullptr);
    CreateDataArchive(m_archivePath, GetArchivePassword());
    CADOConnection connection;
    OpenArchive(connection);
    if (nVersion < 102) {
        Execute(connection, L"DROP TABLE [ExtraEntrCap]");
        Execute(connection, L"DROP TABLE [ExtraSpeseCap]");
        Execute(connection, L"DROP TABLE [CapEntrate]");
        Execute(connection, L"DROP TABLE [CapSpese]");
        Execute(connection, L"ALTER TABLE [Responsabili] DROP COLUMN [tipoResp]");
    }
    if (nVersion < 200) {
        Execute(connection, L"DROP TABLE [SaldoFinProg]");
        if (nVersion >= 101)
            ExecuteSqlScript(connection, FORECAST_TABLE_101);
        Execute(connection, L"DROP TABLE [SaldoFinCalc]");
        ExecuteSqlScript(connection, BALANCES_PER_CENTRE_UNKEYED);
        // Left behind by a centre deleted when nothing took its balances with it.
        Execute(connection, FormatString(L"INSERT INTO [SaldoFinCalc] ([ID], [idResp], [Anno4Com]) "
                                         L"VALUES (2104, %ld, 5)", DELETED_CENTRE));
    }
    // A 1.00 archive has no version row.
    if (nVersion == 0)
        Execute(connection, L"DELETE FROM [Settings] WHERE [name] = 'VersioneDB'");
    else
        CSetSettings::SetSettingVersioneDB(connection, nVersion);
    WriteAmount(connection, L"Entrate", 2101, L"Anno1", 100);
    WriteAmount(connection, L"Entrate", 2102, L"Anno1", 20);
    WriteAmount(connection, L"Entrate", 2103, L"Anno1", 3);
    Execute(connection, L"INSERT INTO [Responsabili] ([responsabile], [centroServ]) VALUES ('Rossi', 'Ragioneria')");
    Execute(connection, L"INSERT INTO [SaldoFinCalc] ([ID], [idResp], [Anno4Com]) "
                        L"SELECT 2104, [ID], 7 FROM [Responsabili] WHERE [responsabile] = 'Rossi'");
    connection.Close();
}

CTheApp& CProgramFolderTest::StartApp()
{
    if (m_pApp)
        m_pApp->CloseDatabase();
    m_pApp.reset();
    m_pApp = std::make_unique<CTheApp>();
    m_pApp->InitFolders(m_folder.Path());
    return *m_pApp;
}

void CProgramFolderTest::OpenArchive(CADOConnection& connection)
{
    OpenDatabase(connection, m_archivePath, GetArchivePassword());
}

void CProgramFolderTest::Execute(CADOConnection& connection, LPCTSTR pszSQL)
{
    connection.Execute(pszSQL, nullptr, adCmdText | adExecuteNoRecords);
}

void CProgramFolderTest::ChangeArchive(LPCTSTR pszScript)
{
    CADOConnection connection;
    OpenArchive(connection);
    ExecuteSqlScript(connection, pszScript);
    connection.Close();
}

_variant_t CProgramFolderTest::Scalar(CADOConnection& connection, LPCTSTR pszSQL)
{
    return connection.Execute(pszSQL, nullptr, adCmdText)->GetFields()->GetItem(_variant_t(0L))->GetValue();
}

long CProgramFolderTest::ScalarLong(CADOConnection& connection, LPCTSTR pszSQL)
{
    return static_cast<long>(Scalar(connection, pszSQL));
}

double CProgramFolderTest::ReadAmount(CADOConnection& connection, LPCTSTR pszTable, long nID, LPCTSTR pszField)
{
    CSetSaldi set(pszTable, connection);
    set.OpenRows(CSetSaldi::readOnly);
    return set.ReadDouble(nID, pszField);
}

void CProgramFolderTest::WriteAmount(CADOConnection& connection, LPCTSTR pszTable, long nID, LPCTSTR pszField,
                                     double value)
{
    CSetSaldi set(pszTable, connection);
    set.OpenRows(CSetSaldi::forUpdate);
    set.WriteDouble(nID, pszField, value);
}

std::string CProgramFolderTest::ReadFileBytes(LPCTSTR pszPath)
{
    std::ifstream file(pszPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
