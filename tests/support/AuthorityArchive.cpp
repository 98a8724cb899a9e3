#include "AuthorityArchive.h"

#include "data/DatabaseSchema.h"
#include "engine/BalanceRows.h"

#include <cstdint>
#include <vector>

const LPCTSTR kAuthorityName = L"Comune di Forl\u00ec";
const LPCTSTR kAuthorityProvince = L"FC";

namespace {

const LPCTSTR kEnte[][2] = {
    {L"ENTE", kAuthorityName},
    {L"PROV", kAuthorityProvince},
    {L"PIVA", L"00606620409"},
    {L"TEL", L"0543 712111"},
    {L"FAX", L"0543 712434"},
    {L"MAIL", L"ragioneria@comune.forli.fc.it"},
    {L"INDIRIZZO", L"Piazza Aurelio Saffi, 8"},
    {L"CAP", L"47121"},
    {L"CITY", L"Forl\u00ec"},
};

// Centres 1..kAuthorityCentres: responsible, centre, type (0 area, 1 sector, 2 services). The names are long, as an
// office writes them, and accented.
const struct
{
    LPCTSTR pszResponsabile;
    LPCTSTR pszCentro;
    int nTipo;
} kCentres[kAuthorityCentres] = {
    {L"Dott.ssa Maria Grazia Bell\u00f9", L"Area Servizi Finanziari, Tributi e Partecipazioni", 0},
    {L"Ing. Niccol\u00f2 Ferr\u00e0", L"Settore Lavori Pubblici, Manutenzioni e Patrimonio", 1},
    {L"Dott. Luca Sans\u00f2", L"Servizi Sociali, Educativi e per la Famiglia", 2},
    {L"Arch. Chiara Pol\u00ec", L"Area Pianificazione Territoriale e Mobilit\u00e0", 0},
};

// Budget chapters: number, description, seven-digit code (its first digit is the title).
const struct
{
    long nCapitolo;
    LPCTSTR pszDescrizione;
    LPCTSTR pszCodUEB;
} kRevenueChapters[] = {
    {1010, L"Imposta comunale sugli immobili", L"1010010"},
    {2030, L"Trasferimenti correnti dalla Regione per funzioni delegate", L"2030250"},
    {3050, L"Proventi dei servizi pubblici", L"3010050"},
    {4120, L"Alienazione di beni patrimoniali", L"4010120"},
    {4600, L"Riscossione di crediti", L"4060010"},
},
  kSpendingChapters[] = {
    {1100, L"Personale - retribuzioni e oneri", L"1010101"},
    {1400, L"Prestazioni di servizi", L"1010403"},
    {2200, L"Acquisizione di beni immobili", L"2010501"},
    {2900, L"Concessioni di crediti e anticipazioni", L"2090110"},
};

// FNV-1a over the text: the figures follow from the cell's name alone, so a test can compute them again.
std::uint64_t Hash(const CString& text)
{
    std::uint64_t h = 14695981039346656037ull;
    for (int i = 0; i < text.GetLength(); ++i) {
        h ^= static_cast<std::uint16_t>(text[i]);
        h *= 1099511628211ull;
    }
    return h;
}

// Balances (rows ending in 300) and differences from the targets (rows ending in 401) are negative.
bool IsShortfallRow(long nRow)
{
    return nRow % 1000 == 300 || nRow % 1000 == 401;
}

CString Literal(long long nCounts)
{
    const long long nCents = (nCounts < 0 ? -nCounts : nCounts) / 100;
    CString text;
    text.Format(L"%s%lld.%02lld", nCounts < 0 ? L"-" : L"", nCents / 100, nCents % 100);
    return text;
}

CString Quoted(LPCTSTR pszText)
{
    CString text(pszText);
    text.Replace(L"'", L"''");
    return L"'" + text + L"'";
}

void Run(CADOConnection& data, const CString& sql)
{
    data.Execute(sql, nullptr, adCmdText | adExecuteNoRecords);
}

// The amount columns of a table, in their order.
std::vector<CString> AmountColumns(CADOConnection& data, LPCTSTR pszTable)
{
    _RecordsetPtr set = data.Execute(L"SELECT * FROM [" + CString(pszTable) + L"] WHERE 0 = 1", nullptr, adCmdText);
    FieldsPtr fields = set->GetFields();
    std::vector<CString> columns;
    for (long i = 0; i < fields->GetCount(); ++i) {
        FieldPtr field = fields->GetItem(_variant_t(i));
        if (field->GetType() == adCurrency)
            columns.push_back(CString(static_cast<LPCWSTR>(field->GetName())));
    }
    return columns;
}

void InsertRow(CADOConnection& data, LPCTSTR pszTable, const CString& keyColumns, const CString& keyValues,
               long nRow, long nCentre, const std::vector<CString>& columns)
{
    CString names = keyColumns, values = keyValues;
    for (const CString& column : columns) {
        names += L", [" + column + L"]";
        values += L", " + Literal(AuthorityFigure(pszTable, nRow, column, nCentre));
    }
    Run(data, L"INSERT INTO [" + CString(pszTable) + L"] (" + names + L") VALUES (" + values + L")");
}

void FillBalanceTables(CADOConnection& data)
{
    for (LPCTSTR pszTable : GetBalanceTables()) {
        const std::vector<CString> columns = AmountColumns(data, pszTable);
        const bool bPerCentre = ::lstrcmpiW(pszTable, L"SaldoFinCalc") == 0;
        for (const CBalanceRowRange& range : GetBalanceRows(pszTable))
            for (long nRow = range.nFirst; nRow <= range.nLast; ++nRow)
                for (long nCentre = 0; nCentre <= (bPerCentre ? kAuthorityCentres : 0); ++nCentre) {
                    CString key;
                    key.Format(bPerCentre ? L"%ld, %ld" : L"%ld", nRow, nCentre);
                    InsertRow(data, pszTable, bPerCentre ? L"[ID], [idResp]" : L"[ID]", key, nRow, nCentre, columns);
                }
    }
}

template <size_t N, class Chapter>
void FillChapters(CADOConnection& data, LPCTSTR pszChapters, LPCTSTR pszAmounts, const Chapter (&chapters)[N])
{
    for (const Chapter& chapter : chapters) {
        CString values;
        values.Format(L"%ld, %s, '%s'", chapter.nCapitolo, Quoted(chapter.pszDescrizione).GetString(),
                      chapter.pszCodUEB);
        Run(data, L"INSERT INTO [" + CString(pszChapters) + L"] ([ID], [descrizione], [codUEB]) VALUES (" + values + L")");
        for (long nCentre = 1; nCentre <= kAuthorityCentres; ++nCentre) {
            CString key;
            key.Format(L"%ld, '%s', %ld, %s", nCentre, chapter.pszCodUEB, chapter.nCapitolo,
                       Quoted(chapter.pszDescrizione).GetString());
            InsertRow(data, pszAmounts, L"[idResp], [codUEB], [capitolo], [articolo]", key, chapter.nCapitolo,
                      nCentre, {L"importoComp", L"importoCassa"});
        }
    }
}

} // namespace

long long AuthorityFigure(LPCTSTR pszTable, long nRow, LPCTSTR pszField, long nCentre)
{
    CString name;
    name.Format(L"%s|%ld|%s|%ld", CString(pszTable).MakeLower().GetString(), nRow,
                CString(pszField).MakeLower().GetString(), nCentre);
    const std::uint64_t h = Hash(name);
    const long long nCents = 100000000LL + static_cast<long long>(h % 8900000000ull);
    const bool bNegative = IsShortfallRow(nRow) || (h >> 40) % 4 == 0;
    return (bNegative ? -nCents : nCents) * 100;
}

void FillAuthorityArchive(CADOConnection& data, AuthorityAccounting nMode)
{
    CADOTransaction transaction(data);
    for (const auto& field : kEnte)
        Run(data, L"INSERT INTO [DatiEnte] ([ID], [value]) VALUES (" + Quoted(field[0]) + L", " + Quoted(field[1]) + L")");
    for (long nCentre = 1; nCentre <= kAuthorityCentres; ++nCentre) {
        const auto& centre = kCentres[nCentre - 1];
        CString values;
        values.Format(L"%ld, %s, %s, %d", nCentre, Quoted(centre.pszResponsabile).GetString(),
                      Quoted(centre.pszCentro).GetString(), centre.nTipo);
        Run(data, L"INSERT INTO [Responsabili] ([ID], [responsabile], [centroServ], [tipoResp]) VALUES (" + values + L")");
    }
    FillBalanceTables(data);
    FillChapters(data, L"CapEntrate", L"ExtraEntrCap", kRevenueChapters);
    FillChapters(data, L"CapSpese", L"ExtraSpeseCap", kSpendingChapters);
    CString mode;
    mode.Format(L"UPDATE [Settings] SET [value] = '%d' WHERE [name] = 'imp_extra_cont2'", static_cast<int>(nMode));
    Run(data, mode);
    transaction.Commit();
}

void CreateAuthorityArchive(LPCTSTR pszPath, LPCTSTR pszPassword, AuthorityAccounting nMode)
{
    CreateDataArchive(pszPath, pszPassword);
    CADOConnection data;
    data.CreateConnection();
    data.Open(CADOConnection::FormatConnectionString(pszPath, pszPassword), TRUE);
    FillAuthorityArchive(data, nMode);
    data.Close();
}
