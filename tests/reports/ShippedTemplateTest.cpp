// The report and document templates the program ships, compiled from their sources: each one compiles, survives
// writing and reading, and fills on a seeded archive with the filler its view uses, leaving no reference behind.
// Also the compiler's line rules and its refusal of an unclosed reference.
#include "data/DataTestArchive.h"
#include "data/DatabasePassword.h"
#include "engine/RecalcSaldi.h"
#include "reports/FaxFields.h"
#include "reports/ReportVariants.h"
#include "support/AuthorityArchive.h"
#include "support/Utf8File.h"
#include "util/NumberFormat.h"

#include "ReportSource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

CString TemplateSourceFolder()
{
    CString strFolder = L"Z:" QUARZEL_REPORT_SOURCES;
    strFolder.Replace(L'/', L'\\');
    return strFolder;
}

CString ReadTemplateSource(const CString& strName)
{
    return ReadUtf8File(TemplateSourceFolder() + L"\\" + strName + L".rts");
}

class ShippedTemplateTest : public CDataTestArchive
{
protected:
    void Seed()
    {
        Execute(L"INSERT INTO DatiEnte (ID, [value]) VALUES ('ENTE', 'Comune di Rocca Alta')");
        Execute(L"INSERT INTO SaldoFin (ID, Anno1, Anno2, Anno3) VALUES (300, 11111, 0, 0)");
        Execute(L"INSERT INTO SaldoProg (ID, Anno4, media123) VALUES (1100, 0, -5000)");
        Execute(L"INSERT INTO SaldoProg (ID, Anno4, media123) VALUES (2400, 22222, 0)");
        Execute(L"INSERT INTO SaldoFinProg (ID, Anno4Mis) VALUES (300, 33333)");
        Execute(L"INSERT INTO Monitor (ID, Trim2) VALUES (300, 44444)");
        Execute(L"INSERT INTO Responsabili (responsabile, centroServ) VALUES ('Rossi', 'Ragioneria')");
        Execute(L"INSERT INTO SaldoFinCalc (ID, idResp, Anno4Mis) VALUES (300, 0, 55555)");
        Execute(L"INSERT INTO SaldoFinCalc (ID, idResp, Anno4Com) SELECT 100, MAX(ID), 66666 FROM Responsabili");
    }

    // Fills as the view that opens the document does.
    void Fill(const CString& strName, CTextDocument& doc)
    {
        if (strName == L"RepObiettivo") {
            CCspReportFiller filler(m_data, ReadCspCase(m_data));
            filler.FillSpans(doc);
        } else if (strName.Left(7) == L"RepResp") {
            CRespReportFiller filler(m_data, strName == L"RepResp" ? ScalarLong(L"SELECT MAX(ID) FROM Responsabili") : 0);
            filler.FillSpans(doc);
        } else if (strName == L"ConfServ") {
            FillConfServFields(doc, m_data);
        } else if (strName.Left(3) == L"Rep") {
            FillAccountingHeading(doc, m_data);
            CReportFiller filler(m_data, CReportFiller::reportValues);
            filler.FillSpans(doc);
        } else {
            CReportFiller filler(m_data, CReportFiller::documentValues);
            filler.FillSpans(doc);
            FillFaxTags(doc, GetCurrentFaxTags(L"QZ08"));
        }
    }
};

} // namespace

TEST_F(ShippedTemplateTest, EveryTemplateCompilesRoundTripsAndFills)
{
    Seed();
    // Every document the tree, the menu and the updater open, with a seeded figure or text it must show.
    const struct
    {
        LPCTSTR pszName;
        LPCTSTR pszShown;
    } cases[] = {
        {L"RepConsuntivi", L"Comune di Rocca Alta"}, {L"RepSaldiFin", L"-5.000"}, {L"RepObiettivo", L"22.222"},
        {L"RepVerifica", L"33.333"}, {L"RepMonEntrate", L"ENTRATE FINALI"}, {L"RepMonSpese", L"SPESE FINALI"},
        {L"RepMonSaldo", L"44.444"}, {L"RepRespTotale", L"55.555"}, {L"RepResp", L"Rossi - Ragioneria"}, {L"RepResp", L"66.666"},
        {L"ConfServ", L"Rossi\tRagioneria"}, {L"FAX aggiornamenti", L"Verifica Vorsa 2008"},
        {L"Normativa", L"Vorsa"}, {L"Circolare1207", L"centri di responsabilit\u00e0"},
        {L"Circolare0808", L"trimestre"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.pszName).ToMultiByte(CP_UTF8));
        const CString source = ReadTemplateSource(c.pszName);
        ASSERT_FALSE(source.IsEmpty());
        CTextDocument compiled;
        ASSERT_EQ(CString(), CompileReportSource(source, compiled));
        CTextDocument doc;
        doc.LoadRtf(compiled.SaveToBytes(txdFormatOwn));
        EXPECT_EQ(compiled.GetText(), doc.GetText());
        Fill(c.pszName, doc);
        EXPECT_EQ(-1, doc.Find(L"$[", 0)) << doc.GetText().ToMultiByte(CP_UTF8);
        EXPECT_EQ(-1, doc.Find(L"]$", 0));
        // Nor any tag or delimiter of one, nor a column mark of the source.
        EXPECT_EQ(-1, doc.Find(L"$", 0)) << doc.GetText().ToMultiByte(CP_UTF8);
        EXPECT_EQ(-1, doc.Find(L"|", 0)) << doc.GetText().ToMultiByte(CP_UTF8);
        EXPECT_NE(-1, doc.Find(c.pszShown, 0)) << doc.GetText().ToMultiByte(CP_UTF8);
    }
}

namespace {

// The data archive as the build ships it in the program folder.
CString ShippedArchive()
{
    TCHAR szModule[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    CString strPath = szModule;
    strPath = strPath.Left(strPath.ReverseFind(L'\\'));
    return strPath.Left(strPath.ReverseFind(L'\\')) + L"\\Quarzel08\\Dati\\Vorsa08.mdb";
}

// A report's filler that notes every amount reference whose row the archive lacks, whatever the report then
// prints in its place (the target report still hides the figures its case does not use).
template <class TFiller>
class CEmptyAmounts : public TFiller
{
public:
    using TFiller::TFiller;
    std::vector<CString> m_empty;

protected:
    CString ValueOf(const CCellInfo& cell) override
    {
        bool bFound = false;
        if (cell.m_nType == formTypeAmount && (this->LookUp(cell, bFound).IsEmpty() || !bFound))
            m_empty.push_back(cell.m_strT + L" " + cell.m_strR + L" " + cell.m_strF);
        return TFiller::ValueOf(cell);
    }
};

} // namespace

// The archive a new installation starts from, recomputed as at start-up: every report prints every amount, zeros
// included, before any form has been saved.
TEST_F(ShippedTemplateTest, OnTheShippedArchiveEveryReportPrintsEveryAmount)
{
    m_data.Close();
    const CString strCopy = m_folder.File(L"Shipped.mdb");
    ASSERT_TRUE(::CopyFileW(ShippedArchive(), strCopy, FALSE)) << "the program folder is not built";
    m_data.Open(CADOConnection::FormatConnectionString(strCopy, GetArchivePassword()), TRUE);
    ASSERT_TRUE(RecalcSaldi(m_data));

    WIN32_FIND_DATAW find = {};
    HANDLE hFind = ::FindFirstFileW(TemplateSourceFolder() + L"\\Rep*.rts", &find);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFind);
    int nReports = 0;
    do {
        CString strName = find.cFileName;
        strName = strName.Left(strName.ReverseFind(L'.'));
        SCOPED_TRACE(strName.ToMultiByte(CP_UTF8));
        CTextDocument doc;
        ASSERT_EQ(CString(), CompileReportSource(ReadTemplateSource(strName), doc));
        std::vector<CString> empty;
        if (strName == L"RepObiettivo") {
            CEmptyAmounts<CCspReportFiller> filler(m_data, ReadCspCase(m_data));
            filler.FillSpans(doc);
            empty = filler.m_empty;
        } else if (strName.Left(7) == L"RepResp") {
            CEmptyAmounts<CRespReportFiller> filler(m_data, 0);
            filler.FillSpans(doc);
            empty = filler.m_empty;
        } else {
            CEmptyAmounts<CReportFiller> filler(m_data, CReportFiller::reportValues);
            filler.FillSpans(doc);
            empty = filler.m_empty;
        }
        for (const CString& strReference : empty)
            ADD_FAILURE() << "empty: " << strReference.ToMultiByte(CP_UTF8);
        ++nReports;
    } while (::FindNextFileW(hFind, &find));
    ::FindClose(hFind);
    EXPECT_GE(nReports, 9);
}

namespace {

struct CFilledAmount
{
    CString strReference;
    CString strText;
    long long nFigure;   // what the archive holds there
};

// A report's filler that notes the text each amount reference filled in.
template <class TFiller>
class CFilledAmounts : public TFiller
{
public:
    CFilledAmounts(CADOConnection& data, long nParameter, long nCentre) : TFiller(data, nParameter), m_nCentre(nCentre) {}
    std::vector<CFilledAmount> m_filled;

protected:
    CString ValueOf(const CCellInfo& cell) override
    {
        const CString value = TFiller::ValueOf(cell);
        if (cell.m_nType == formTypeAmount) {
            const long nCentre = cell.m_strT.CompareNoCase(L"SaldoFinCalc") == 0 ? m_nCentre : 0;
            m_filled.push_back({cell.m_strT + L" " + cell.m_strR + L" " + cell.m_strF + L" " + cell.m_strName, value,
                                AuthorityFigure(cell.m_strT, _wtol(cell.m_strR), cell.m_strF, nCentre)});
        }
        return value;
    }

private:
    long m_nCentre;
};

class CPlainReportFiller : public CReportFiller
{
public:
    CPlainReportFiller(CADOConnection& data, long) : CReportFiller(data, reportValues) {}
};

} // namespace

// A real authority's figures run to tens of millions, negative ones among them: every amount of every report reads
// the archive's own figure, whole, for the totals and for each centre.
TEST_F(ShippedTemplateTest, OnARealSizeAuthorityEveryReportPrintsTheArchiveFigures)
{
    FillAuthorityArchive(m_data, authorityByStructure);
    const struct
    {
        LPCTSTR pszName;
        long nCentre;
    } reports[] = {{L"RepConsuntivi", 0}, {L"RepSaldiFin", 0}, {L"RepVerifica", 0}, {L"RepMonEntrate", 0},
                   {L"RepMonSpese", 0},   {L"RepMonSaldo", 0}, {L"RepRespTotale", 0}, {L"RepResp", 1},
                   {L"RepResp", kAuthorityCentres}};
    for (const auto& r : reports) {
        SCOPED_TRACE(CString(r.pszName).ToMultiByte(CP_UTF8));
        CTextDocument doc;
        ASSERT_EQ(CString(), CompileReportSource(ReadTemplateSource(r.pszName), doc));
        std::vector<CFilledAmount> filled;
        if (CString(r.pszName).Left(7) == L"RepResp") {
            CFilledAmounts<CRespReportFiller> filler(m_data, r.nCentre, r.nCentre);
            filler.FillSpans(doc);
            filled = filler.m_filled;
        } else {
            CFilledAmounts<CPlainReportFiller> filler(m_data, 0, 0);
            filler.FillSpans(doc);
            filled = filler.m_filled;
        }
        EXPECT_GE(filled.size(), 10u);
        for (const auto& f : filled) {
            EXPECT_GE(f.nFigure < 0 ? -f.nFigure : f.nFigure, 1000000LL * 10000) << f.strReference.ToMultiByte(CP_UTF8);
            EXPECT_EQ(FormatCurrencyFromDouble(f.nFigure / 10000.0), f.strText) << f.strReference.ToMultiByte(CP_UTF8);
        }
    }
}

TEST(ReportSourceTest, LinesBecomeParagraphsTabsAndPageBreaks)
{
    CTextDocument doc;
    ASSERT_EQ(CString(), CompileReportSource(L"// nota\r\n= Titolo\n== Voce\nA|B  \n---\nfine", doc));
    EXPECT_EQ(CString(L"Titolo\rVoce\rA\tB\r\x0C" L"fine\r"), doc.GetText());
    EXPECT_TRUE(doc.GetCharFormat(0).bBold);
    EXPECT_EQ(28, doc.GetCharFormat(0).nHalfPoints);
    EXPECT_EQ(22, doc.GetCharFormat(7).nHalfPoints);
    EXPECT_FALSE(doc.GetCharFormat(12).bBold);
    // Columns of a heading line, as of a body line.
    ASSERT_EQ(CString(), CompileReportSource(L"== Responsabile|Centro\n= A|B", doc));
    EXPECT_EQ(CString(L"Responsabile\tCentro\rA\tB\r"), doc.GetText());

    EXPECT_EQ(CString(L"line 2: a field reference is not closed with \"]$\""),
              CompileReportSource(L"$[L:V]$ ok\nsaldo $[L:V;T:SaldoFin $[L:N]$", doc));
    // The accounting heading's tag has no closing delimiter; the references beside it still need theirs.
    ASSERT_EQ(CString(), CompileReportSource(L"Contabilit\u00e0: $[IMPCONT] $[L:N]$ $[IMPCONT]", doc));
    EXPECT_EQ(CString(L"Contabilit\u00e0: $[IMPCONT] $[L:N]$ $[IMPCONT]\r"), doc.GetText());
    EXPECT_EQ(CString(L"line 1: a field reference is not closed with \"]$\""),
              CompileReportSource(L"$[IMPCONT] $[L:N", doc));
}

TEST(ReportSourceTest, TableLinesBecomeRowsOfTheirColumns)
{
    CTextDocument doc;
    ASSERT_EQ(CString(), CompileReportSource(L"= Titolo\n"
                                             L"|= 20 | 80 | >30\n"
                                             L"|# Codice | Descrizione | 2003\n"
                                             L"| 101 | Titolo I|$[L:V;T:SaldoFin;R:101;F:Anno1]$\n"
                                             L"|* 100 | TOTALE | -\n"
                                             L"| 102\n"
                                             L"Fine|x\n",
                                             doc));
    EXPECT_EQ(CString(L"Titolo\rCodice\aDescrizione\a2003\a\r101\aTitolo I\a$[L:V;T:SaldoFin;R:101;F:Anno1]$\a\r"
                      L"100\aTOTALE\a-\a\r102\a\a\a\rFine\tx\r"),
              doc.GetText());
    const std::vector<CTextRowExtent> rows = doc.GetRowExtents();
    ASSERT_EQ(4u, rows.size());
    const CTextTableRow& heading = doc.GetTableRow(rows[0].nRow);
    ASSERT_EQ(3u, heading.cells.size());
    EXPECT_EQ(1134, heading.cells[0].nRight);   // 20 mm
    EXPECT_EQ(5669, heading.cells[1].nRight);
    EXPECT_EQ(7370, heading.cells[2].nRight);
    EXPECT_EQ(txAlignRight, heading.cells[2].nAlign);
    EXPECT_EQ(txAlignLeft, heading.cells[1].nAlign);
    EXPECT_TRUE(heading.bHeading && heading.bRuled && !heading.bShaded);
    EXPECT_TRUE(doc.GetCharFormat(rows[0].nStart).bBold);
    EXPECT_FALSE(doc.GetCharFormat(rows[1].nStart).bBold);
    EXPECT_TRUE(doc.GetTableRow(rows[2].nRow).bShaded);
    EXPECT_TRUE(doc.GetCharFormat(rows[2].nStart).bBold);

    EXPECT_EQ(CString(L"line 3: 4 cells in a table of 2 columns"),
              CompileReportSource(L"|= 20 | 30\n| a | b\n| a | b | c | d", doc));
    EXPECT_EQ(CString(L"line 1: a column width is not a number of millimetres"),
              CompileReportSource(L"|= 20 | largo", doc));
}
