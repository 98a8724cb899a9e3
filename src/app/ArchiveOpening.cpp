#include "ArchiveOpening.h"

#include "data/SetSettings.h"
#include "engine/RecalcSaldi.h"
#include "resource.h"
#include "util/MessageText.h"

#include <oledberr.h>

#include <cwchar>
#include <cwctype>
#include <iterator>

namespace {

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

// The tables each version brought: an archive that holds one of them is of that version at least, whatever its
// "VersioneDB" says, and upgrading it would stop half way on a table that exists already.
const struct { int nVersion; LPCTSTR tables[4]; } TABLES_OF_VERSION[] = {
    { 101, { L"SaldoFinProg" } },
    { 102, { L"CapEntrate", L"CapSpese", L"ExtraEntrCap", L"ExtraSpeseCap" } },
};

bool HasTable(CADOConnection& data, LPCTSTR pszTable)
{
    try {
        Execute(data, FormatString(L"SELECT * FROM [%s] WHERE 1 = 0", pszTable));
        return true;
    }
    catch (const _com_error&) {
        return false;
    }
}

// A table of a later version than nVersion that the archive holds, of the latest such version; false when none.
bool FindLaterTable(CADOConnection& data, int nVersion, CString& strTable, int& nTableVersion)
{
    for (auto it = std::rbegin(TABLES_OF_VERSION); it != std::rend(TABLES_OF_VERSION); ++it) {
        const auto& step = *it;
        if (nVersion >= step.nVersion)
            continue;
        for (LPCTSTR pszTable : step.tables) {
            if (pszTable && HasTable(data, pszTable)) {
                strTable = pszTable;
                nTableVersion = step.nVersion;
                return true;
            }
        }
    }
    return false;
}

// A whole integer, nothing before or after it.
bool ParseVersion(const CString& strText, int& nVersion)
{
    LPCWSTR pszText = strText;
    wchar_t* pszEnd = nullptr;
    long nValue = std::wcstol(pszText, &pszEnd, 10);
    if (pszEnd == pszText || *pszEnd != L'\0' || iswspace(pszText[0]))
        return false;
    nVersion = static_cast<int>(nValue);
    return true;
}

void UpgradeArchive(CADOConnection& data, int nVersion)
{
    if (nVersion < 101)
        ExecuteStatements(data, UPGRADE_TO_101);
    if (nVersion < 102)
        ExecuteStatements(data, UPGRADE_TO_102);
    AddMixedBasisColumns(data);
    KeyBalancesToTheirCentre(data);
    CSetSettings::SetSettingVersioneDB(data, CURRENT_ARCHIVE_VERSION);
}

bool CheckArchiveVersion(CADOConnection& data, CString& strRefusal)
{
    // A missing row is an archive of version 1.00, which had none.
    CString strVersion = CSetSettings::GetSetting(data, L"VersioneDB");
    int nVersion = 0;
    if (!strVersion.IsEmpty() && !ParseVersion(strVersion, nVersion)) {
        strRefusal = FormatResMessage(IDP_ARCHIVE_VERSION_NOT_A_NUMBER, strVersion);
        return false;
    }
    if (nVersion > CURRENT_ARCHIVE_VERSION) {
        strRefusal = FormatResMessage(IDP_ARCHIVE_VERSION, FormatArchiveVersion(CURRENT_ARCHIVE_VERSION),
                                      FormatArchiveVersion(nVersion));
        return false;
    }
    if (nVersion == CURRENT_ARCHIVE_VERSION)
        return true;
    CString strTable;
    int nTableVersion = 0;
    if (FindLaterTable(data, nVersion, strTable, nTableVersion)) {
        strRefusal = strVersion.IsEmpty()
                         ? FormatResMessage(IDP_ARCHIVE_VERSION_MISSING, strTable, FormatArchiveVersion(nTableVersion))
                         : FormatResMessage(IDP_ARCHIVE_VERSION_BEHIND, FormatArchiveVersion(nVersion), strTable,
                                            FormatArchiveVersion(nTableVersion));
        return false;
    }
    UpgradeArchive(data, nVersion);
    return true;
}

} // namespace

bool PrepareArchive(CADOConnection& data, CString& strRefusal)
{
    // One transaction: a step that fails leaves no half-upgraded archive that no later start could open.
    CADOTransaction transaction(data);
    if (!CheckArchiveVersion(data, strRefusal))
        return false;
    RecalcSaldi(data);
    transaction.Commit();
    return true;
}
