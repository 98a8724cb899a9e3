#include "ProgramFolder.h"

#include "app/ArchiveRestore.h"
#include "data/DatabaseSchema.h"
#include "data/SetSettings.h"
#include "resource.h"
#include "support/MessageBoxRecorder.h"
#include "support/ZipBuilder.h"
#include "util/MessageText.h"

namespace {

class DatabaseOpening : public CProgramFolderTest
{
protected:
    // Title total 2104 of 2003 as the recomputation builds it from the items 2101..2103.
    double RevenueTitle1(CADOConnection& connection) { return ReadAmount(connection, L"Entrate", 2104, L"Anno1"); }

    // Starts the program on the archive as it stands, whose opening must fail with one message box: that box.
    AFX_MSGBOX_REQUEST RefusedOpening()
    {
        CMessageBoxRecorder messages;
        CTheApp& app = StartApp();
        EXPECT_FALSE(app.OpenDatabase());
        EXPECT_EQ(1u, messages.Count());
        AFX_MSGBOX_REQUEST box = messages.Count() > 0 ? messages.Last() : AFX_MSGBOX_REQUEST();
        app.CloseDatabase();
        return box;
    }

    long CountBalances(CADOConnection& data, long nCentre)
    {
        return ScalarLong(data, FormatString(L"SELECT COUNT(*) FROM [SaldoFinCalc] WHERE [idResp] = %ld", nCentre));
    }

    // The balances per centre are tied to their centre as in a new archive: the rows of a centre deleted before
    // are gone, a row of a missing centre is refused, and deleting a centre takes its rows with it.
    void ExpectBalancesFollowTheirCentre(CADOConnection& data, long nCentre)
    {
        EXPECT_EQ(0L, CountBalances(data, DELETED_CENTRE));
        EXPECT_THROW(Execute(data, FormatString(L"INSERT INTO [SaldoFinCalc] ([ID], [idResp]) VALUES (2206, %ld)",
                                                DELETED_CENTRE)),
                     _com_error);
        EXPECT_LT(0L, CountBalances(data, 0));
        ASSERT_LT(0L, CountBalances(data, nCentre));
        Execute(data, FormatString(L"DELETE FROM [Responsabili] WHERE [ID] = %ld", nCentre));
        EXPECT_EQ(0L, CountBalances(data, nCentre));
    }
};

class ArchiveUpgrade : public DatabaseOpening, public ::testing::WithParamInterface<int>
{
};

TEST_P(ArchiveUpgrade, BringsTheArchiveToTheCurrentVersionKeepingItsData)
{
    MakeArchive(GetParam());
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    CADOConnection& data = app.GetDataConnection();

    EXPECT_EQ(CString(L"200"), CSetSettings::GetSetting(data, L"VersioneDB"));
    EXPECT_EQ(1, ScalarLong(data, L"SELECT COUNT(*) FROM [Responsabili] WHERE [responsabile] = 'Rossi'"));
    EXPECT_EQ(100.0, ReadAmount(data, L"Entrate", 2101, L"Anno1"));
    EXPECT_EQ(123.0, RevenueTitle1(data));
    // The recomputation has written the forecast balance on the mixed basis, which older versions had no
    // columns for.
    EXPECT_EQ(1L, ScalarLong(data, L"SELECT COUNT(*) FROM [SaldoFinProg] WHERE [ID] = 300 AND [Anno4Mis] IS NOT NULL "
                                   L"AND [Anno5Mis] IS NOT NULL AND [Anno6Mis] IS NOT NULL"));

    // The chapters and the extra-accounting amounts, with the keys and cascades of the current version.
    Execute(data, L"UPDATE [Responsabili] SET [tipoResp] = 2 WHERE [responsabile] = 'Rossi'");
    long nRossi = ScalarLong(data, L"SELECT [ID] FROM [Responsabili] WHERE [tipoResp] = 2");
    Execute(data, L"INSERT INTO [CapEntrate] ([ID], [descrizione], [codUEB]) VALUES (10, 'Tributi', '1010101')");
    Execute(data, L"INSERT INTO [CapSpese] ([ID], [descrizione], [codUEB]) VALUES (20, 'Personale', '1010101')");
    EXPECT_THROW(Execute(data, L"INSERT INTO [CapEntrate] ([ID], [descrizione], [codUEB]) VALUES (10, 'x', '2')"),
                 _com_error);
    EXPECT_TRUE(data.IsDuplicateKeyError());
    Execute(data, FormatString(L"INSERT INTO [ExtraEntrCap] ([idResp], [codUEB], [capitolo]) "
                               L"VALUES (%ld, '1010101', 10)", nRossi));
    Execute(data, FormatString(L"INSERT INTO [ExtraSpeseCap] ([idResp], [codUEB], [capitolo]) "
                               L"VALUES (%ld, '1010101', 20)", nRossi));
    EXPECT_THROW(Execute(data, FormatString(L"INSERT INTO [ExtraEntrCap] ([idResp], [codUEB], [capitolo]) "
                                            L"VALUES (%ld, '1010101', 99)", nRossi)),
                 _com_error) << "a chapter that does not exist";
    Execute(data, L"UPDATE [CapEntrate] SET [ID] = 11 WHERE [ID] = 10");
    EXPECT_EQ(11L, ScalarLong(data, L"SELECT [capitolo] FROM [ExtraEntrCap]"));
    Execute(data, L"DELETE FROM [CapSpese] WHERE [ID] = 20");
    EXPECT_EQ(0L, ScalarLong(data, L"SELECT COUNT(*) FROM [ExtraSpeseCap]"));
    ExpectBalancesFollowTheirCentre(data, nRossi);
    EXPECT_EQ(0L, ScalarLong(data, L"SELECT COUNT(*) FROM [ExtraEntrCap]"));
}

INSTANTIATE_TEST_SUITE_P(OlderVersions, ArchiveUpgrade, ::testing::Values(0, 101, 150));

TEST_F(DatabaseOpening, AnUpgradeKeepsTheKeyOfTheBalancesPerCentreWhereItIsThere)
{
    MakeArchive(150);
    {
        CADOConnection connection;
        OpenArchive(connection);
        Execute(connection, FormatString(L"DELETE FROM [SaldoFinCalc] WHERE [idResp] = %ld", DELETED_CENTRE));
        Execute(connection, L"ALTER TABLE [SaldoFinCalc] ADD CONSTRAINT [FK1_SALDOFINCALC] FOREIGN KEY ([idResp]) "
                            L"REFERENCES [Responsabili] ([ID]) ON DELETE CASCADE");
        connection.Close();
    }
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    CADOConnection& data = app.GetDataConnection();
    EXPECT_EQ(200, CSetSettings::GetSettingVersioneDB(data));
    ExpectBalancesFollowTheirCentre(data,
                                    ScalarLong(data, L"SELECT [ID] FROM [Responsabili] WHERE [responsabile] = 'Rossi'"));
}

TEST_F(DatabaseOpening, AnUpgradeKeepsTheTotalsWhenTheArchiveLacksTheTotalsCentre)
{
    MakeArchive(150);
    ChangeArchive(L"DELETE FROM [Responsabili] WHERE [ID] = 0");
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    CADOConnection& data = app.GetDataConnection();
    EXPECT_EQ(1L, ScalarLong(data, L"SELECT COUNT(*) FROM [Responsabili] WHERE [ID] = 0"));
    EXPECT_LT(0L, ScalarLong(data, L"SELECT COUNT(*) FROM [SaldoFinCalc] WHERE [idResp] = 0"));
}

TEST_F(DatabaseOpening, ExitReleasesBothConnections)
{
    MakeArchive(CTheApp::ARCHIVE_VERSION);
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    ::OleInitialize(nullptr);   // the start-up's, which the exit ends
    app.ExitInstance();
    EXPECT_FALSE(app.GetProgConnection().HasConnection());
    EXPECT_FALSE(app.GetDataConnection().HasConnection());
    EXPECT_FALSE(app.GetDataConnection().IsOpen());
}

TEST_F(DatabaseOpening, OpensTheCurrentVersionAsItIsAndRecomputesAtEveryOpening)
{
    MakeArchive(200);
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    EXPECT_TRUE(app.GetProgConnection().IsOpen());
    EXPECT_EQ(m_archivePath, app.GetArchivePath());
    EXPECT_EQ(123.0, RevenueTitle1(app.GetDataConnection()));
    EXPECT_EQ(200, CSetSettings::GetSettingVersioneDB(app.GetDataConnection()));

    WriteAmount(app.GetDataConnection(), L"Entrate", 2103, L"Anno1", 7);
    app.CloseDatabase();
    EXPECT_FALSE(app.GetDataConnection().IsOpen());
    ASSERT_TRUE(app.OpenDatabase());
    EXPECT_EQ(127.0, RevenueTitle1(app.GetDataConnection()));
}

TEST_F(DatabaseOpening, RefusesAnArchiveNewerThanTheProgram)
{
    MakeArchive(201);
    CMessageBoxRecorder messages;
    CTheApp& app = StartApp();
    EXPECT_FALSE(app.OpenDatabase());
    ASSERT_EQ(1u, messages.Count());
    // The system's message formatting ends the lines with CR LF.
    EXPECT_EQ(CString(L"La versione dell'archivio \u00e8 errata;\r\nVersione attesa:\t2.00\r\n"
                      L"Versione incontrata:\t2.01"),
              messages.Last().text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), messages.LastIcon());
    // Untouched: no recomputation, no version change.
    EXPECT_EQ(0.0, RevenueTitle1(app.GetDataConnection()));
    EXPECT_EQ(201, CSetSettings::GetSettingVersioneDB(app.GetDataConnection()));
}

TEST_F(DatabaseOpening, FindsTheArchiveInASubFolderNamedWithASlash)
{
    MakeProgramDatabase(L"Dati/Vorsa08.mdb");
    MakeArchive(200);
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    EXPECT_EQ(m_folder.Path() + L"\\Dati\\Vorsa08.mdb", app.GetArchivePath());
    EXPECT_EQ(123.0, RevenueTitle1(app.GetDataConnection()));
}

TEST_F(DatabaseOpening, ShowsTheErrorWhenTheProgramDatabaseIsMissing)
{
    MakeArchive(200);
    ASSERT_TRUE(::DeleteFileW(m_folder.File(L"Prog03.mdb")));
    CMessageBoxRecorder messages;
    CTheApp& app = StartApp();
    EXPECT_FALSE(app.OpenDatabase());
    ASSERT_EQ(1u, messages.Count());
    EXPECT_NE(-1, messages.Last().text.Find(L"Prog03.mdb")) << messages.Last().text.ToMultiByte(CP_UTF8);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), messages.LastIcon());
    EXPECT_FALSE(app.GetDataConnection().IsOpen());
}

// A "VersioneDB" that cannot be what the archive is: refused with what is wrong, before anything is written.
TEST_F(DatabaseOpening, RefusesAVersionTheArchiveContradicts)
{
    const struct { const char* what; int nMadeAs; LPCTSTR pszSQL; CString expected; } cases[] = {
        { "no version row beside the current tables", 200, L"DELETE FROM [Settings] WHERE [name] = 'VersioneDB'",
          FormatResMessage(IDP_ARCHIVE_VERSION_MISSING, L"CapEntrate", L"1.02") },
        { "1.00 beside the current tables", 200, L"UPDATE [Settings] SET [value] = '100' WHERE [name] = 'VersioneDB'",
          FormatResMessage(IDP_ARCHIVE_VERSION_BEHIND, L"1.00", L"CapEntrate", L"1.02") },
        { "1.00 beside the forecast table of 1.01", 101,
          L"UPDATE [Settings] SET [value] = '100' WHERE [name] = 'VersioneDB'",
          FormatResMessage(IDP_ARCHIVE_VERSION_BEHIND, L"1.00", L"SaldoFinProg", L"1.01") },
        { "not a number", 200, L"UPDATE [Settings] SET [value] = 'due' WHERE [name] = 'VersioneDB'",
          FormatResMessage(IDP_ARCHIVE_VERSION_NOT_A_NUMBER, L"due") },
        { "a version written with a point", 150, L"UPDATE [Settings] SET [value] = '1.50' WHERE [name] = 'VersioneDB'",
          FormatResMessage(IDP_ARCHIVE_VERSION_NOT_A_NUMBER, L"1.50") },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ::DeleteFileW(m_archivePath);
        MakeArchive(c.nMadeAs);
        ChangeArchive(c.pszSQL);
        std::string before = ReadFileBytes(m_archivePath);
        AFX_MSGBOX_REQUEST box = RefusedOpening();
        EXPECT_EQ(c.expected, box.text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), box.type & MB_ICONMASK);
        EXPECT_TRUE(before == ReadFileBytes(m_archivePath)) << "the archive file changed";
    }
}

// An upgrade that fails on the way leaves the archive as it was; once the cause is gone, the next start upgrades it.
struct FailingUpgrade
{
    int nVersion;
    LPCTSTR pszCause;
    LPCTSTR pszRemedy;
};

void PrintTo(const FailingUpgrade& failure, std::ostream* os)
{
    *os << "version " << failure.nVersion;
}

class ArchiveUpgradeFailure : public DatabaseOpening, public ::testing::WithParamInterface<FailingUpgrade>
{
};

TEST_P(ArchiveUpgradeFailure, LeavesTheArchiveUnchangedAndALaterStartSucceeds)
{
    const FailingUpgrade& failure = GetParam();
    MakeArchive(failure.nVersion);
    ChangeArchive(failure.pszCause);
    std::string before = ReadFileBytes(m_archivePath);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), RefusedOpening().type & MB_ICONMASK);
    EXPECT_TRUE(before == ReadFileBytes(m_archivePath)) << "the archive file changed";

    ChangeArchive(failure.pszRemedy);
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    EXPECT_EQ(200, CSetSettings::GetSettingVersioneDB(app.GetDataConnection()));
    EXPECT_EQ(123.0, RevenueTitle1(app.GetDataConnection()));
}

// The same archive zipped as a backup: the restore refuses it with the error its opening gives, the former archive
// stays as it was and the program runs on with it.
TEST_P(ArchiveUpgradeFailure, ARestoreOfItIsRefusedWithItsError)
{
    const FailingUpgrade& failure = GetParam();
    MakeArchive(failure.nVersion);
    ChangeArchive(failure.pszCause);
    CString strOpeningError = RefusedOpening().text;
    CString strZip = m_folder.Write(L"backup.zip", BuildZip({ ZipTestItem("Archivio.mdb", ReadFileBytes(m_archivePath),
                                                                          true) }));

    ASSERT_TRUE(::DeleteFileW(m_archivePath));
    MakeArchive(CTheApp::ARCHIVE_VERSION);
    CString strExpected = FormatResMessage(IDP_RESTORE_DOES_NOT_OPEN, L"Archivio.mdb", strOpeningError);
    {
        // The restore itself, with the databases closed: not a byte of the archive changes.
        std::string former = ReadFileBytes(m_archivePath);
        CMessageBoxRecorder messages;
        EXPECT_FALSE(CArchiveRestore(m_archivePath, L"Archivio.mdb", CTheApp::ARCHIVE_VERSION).Run(strZip));
        ASSERT_EQ(1u, messages.Count());
        EXPECT_EQ(strExpected, messages.Last().text);
        EXPECT_TRUE(former == ReadFileBytes(m_archivePath)) << "the former archive changed";
    }
    CTheApp& app = StartApp();
    ASSERT_TRUE(app.OpenDatabase());
    MSG msg = {};
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    CMessageBoxRecorder messages;
    EXPECT_FALSE(app.RestoreArchiveFrom(strZip));
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(strExpected, messages.Last().text);
    ASSERT_TRUE(app.GetDataConnection().IsOpen());
    EXPECT_EQ(200, CSetSettings::GetSettingVersioneDB(app.GetDataConnection()));
    EXPECT_EQ(123.0, RevenueTitle1(app.GetDataConnection()));
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

INSTANTIATE_TEST_SUITE_P(
    Causes, ArchiveUpgradeFailure,
    ::testing::Values(
        // An index under a name of 1.02 already there: the upgrade stops in the middle of its statements.
        FailingUpgrade{ 0, L"CREATE UNIQUE INDEX [K1_CAPSPESE] ON [Responsabili] ([ID])", L"DROP INDEX [K1_CAPSPESE]" },
        // No forecast table: the upgrade stops after the foreign keys of 1.02 have been added.
        FailingUpgrade{ 101, L"DROP TABLE [SaldoFinProg]", FORECAST_TABLE_101 },
        // A note holds on to a balance of the deleted centre: the balances per centre cannot be keyed to their
        // centre, after the columns of the mixed basis have been added.
        FailingUpgrade{ 150,
                        L"CREATE TABLE [Nota] ([ID] INTEGER, [idResp] INTEGER, CONSTRAINT [FK1_NOTA] "
                        L"FOREIGN KEY ([ID], [idResp]) REFERENCES [SaldoFinCalc] ([ID], [idResp]));"
                        L"INSERT INTO [Nota] ([ID], [idResp]) VALUES (2104, 99)",
                        L"DROP TABLE [Nota]" }));

} // namespace
