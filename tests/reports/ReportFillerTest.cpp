#include "data/DataTestArchive.h"
#include "data/SetSettings.h"
#include "reports/FaxFields.h"
#include "reports/ReportFiller.h"
#include "support/LinearTime.h"

#include <map>

namespace {

// Values by the reference's name, without looking anything up.
class CNamedValueFiller : public CReportFiller
{
public:
    CNamedValueFiller(CADOConnection& data, std::map<CString, CString> values)
        : CReportFiller(data, reportValues), m_values(std::move(values))
    {
    }

protected:
    CString ValueOf(const CCellInfo& cell) override
    {
        const auto it = m_values.find(cell.m_strName);
        return it == m_values.end() ? CString() : it->second;
    }

private:
    std::map<CString, CString> m_values;
};

class ReportFillerTest : public CDataTestArchive
{
protected:
    void SetUp() override
    {
        CDataTestArchive::SetUp();
        Execute(L"INSERT INTO SaldoFin (ID, Anno1, Anno2, Anno3) VALUES (1106, 1234.5, 0.7, -2.25)");
        Execute(L"INSERT INTO SaldoFin (ID, Anno1, Anno2, Anno3) VALUES (1107, 0, 1, NULL)");
        Execute(L"INSERT INTO DatiEnte (ID, [value]) VALUES ('Nome', 'Comune di Cittaducale')");
        Execute(L"INSERT INTO DatiEnte (ID, [value]) VALUES ('Vuoto', NULL)");
    }

    CString Fill(LPCTSTR pszText, CReportFiller::ValueStyle nStyle)
    {
        CTextDocument doc;
        doc.AppendText(pszText, CTextCharFormat());
        CReportFiller(m_data, nStyle).FillSpans(doc);
        return doc.GetText();
    }
};

TEST_F(ReportFillerTest, EachReferenceGivesItsValueByType)
{
    const struct
    {
        LPCTSTR pszReference;
        LPCTSTR pszReport;     // printed reports
        LPCTSTR pszDocument;   // editable documents
    } cases[] = {
        {L"L:N;T:SaldoFin;R:1106;F:Anno1", L"1.234", L"1.235"},
        {L"L:+N;T:SaldoFin;R:1106;F:Anno1", L"+1.234", L"1.235"},
        {L"L:+N;T:SaldoFin;R:1106;F:Anno2", L"0", L"1"},
        {L"L:N;T:SaldoFin;R:1106;F:Anno3", L"-2", L"-2"},
        {L"L:+D.1;T:SaldoFin;R:1106;F:Anno2", L"+0,7", L"0,7"},
        {L"L:+D.2;T:SaldoFin;R:1106;F:Anno3", L"-2,25", L"-2,25"},
        {L"L:D;T:SaldoFin;R:1106;F:Anno1", L"1.235", L"1.235"},
        {L"L:V;T:SaldoFin;R:1106;F:Anno1", L"1.234,50", L"1.234,50"},
        {L"L:+V;T:SaldoFin;R:1106;F:Anno1", L"+1.234,50", L"1.234,50"},
        {L"L:+V;T:SaldoFin;R:1107;F:Anno1", L"0,00", L"0,00"},
        {L"L:V;T:SaldoFin;R:1107;F:Anno3", L"0,00", L"0,00"},
        {L"L:T;T:DatiEnte;R:Nome;F:value", L"Comune di Cittaducale", L"Comune di Cittaducale"},
        {L"L:T;T:DatiEnte;R:Vuoto;F:value", L"", L""},
        {L"L:B.Y;T:SaldoFin;R:1107;F:Anno2", L"\u00fe", L"\u00fe"},
        {L"L:B.Y;T:SaldoFin;R:1107;F:Anno1", L"\u00a8", L"\u00a8"},
        {L"L:B.N;T:SaldoFin;R:1107;F:Anno1", L"\u00fe", L"\u00fe"},
        {L"L:B;T:SaldoFin;R:1107;F:Anno2", L"\u00a8", L"\u00a8"},
        {L"L:N;T:SaldoFin;R:9999;F:Anno1", L"", L""},
        {L"L:N;T:SaldoFin;R:;F:Anno1", L"", L""},
        {L"L:N;T:Missing;R:1106;F:Anno1", L"", L""},
        {L"L:N;T:SaldoFin;R:1106;F:Missing", L"", L""},
        {L"L:N;R:1106;F:Anno1", L"", L""},
        {L"", L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(CString(c.pszReference).ToMultiByte(CP_UTF8));
        const CString text = CString(L"<$[") + c.pszReference + L"]$>";
        EXPECT_EQ(CString(L"<") + c.pszReport + L">", Fill(text, CReportFiller::reportValues));
        EXPECT_EQ(CString(L"<") + c.pszDocument + L">", Fill(text, CReportFiller::documentValues));
    }
}

TEST_F(ReportFillerTest, CheckBoxesTakeASymbolFontAndTheTextAroundKeepsItsOwn)
{
    CTextDocument doc;
    doc.AppendText(L"A $[L:B.Y;T:SaldoFin;R:1107;F:Anno2]$ B $[L:B;T:SaldoFin;R:1107;F:Anno2]$ "
                   L"C $[L:N;T:SaldoFin;R:1107;F:Anno2]$", CTextCharFormat());
    CReportFiller(m_data, CReportFiller::reportValues).FillSpans(doc);
    ASSERT_EQ(CString(L"A \u00fe B \u00a8 C 1"), doc.GetText());
    for (long i = 0; i < doc.GetLength(); ++i) {
        SCOPED_TRACE(i);
        const bool bBox = i == 2 || i == 6;
        EXPECT_EQ(bBox, doc.GetCharFormat(i).IsSymbol());
        EXPECT_EQ(bBox ? CString(L"Wingdings") : CTextCharFormat().strFace, doc.GetCharFormat(i).strFace);
    }
}

TEST_F(ReportFillerTest, TablesSwitchAndFailuresDoNotStopTheRest)
{
    EXPECT_EQ(CString(L"A 1.234 B Comune di Cittaducale C  D 1 E  F 0,70 G $[L:N;T:SaldoFin;R:1106;F:Anno1"),
              Fill(L"A $[L:N;T:SaldoFin;R:1106;F:Anno1]$ B $[L:T;T:DatiEnte;R:Nome;F:value]$ "
                   L"C $[L:N;T:Nessuna;R:1106;F:Anno1]$ D $[L:N;T:SaldoFin;R:1107;F:Anno2]$ "
                   L"E $[L:N;R:9;F:Anno1]$ F $[L:V;R:1106;F:Anno2]$ G $[L:N;T:SaldoFin;R:1106;F:Anno1",
                   CReportFiller::reportValues));
    // A value that looks like a reference is not filled again.
    Execute(L"UPDATE DatiEnte SET [value] = '$[L:N;T:SaldoFin;R:1106;F:Anno1]$' WHERE ID = 'Nome'");
    EXPECT_EQ(CString(L"$[L:N;T:SaldoFin;R:1106;F:Anno1]$ 1.234"),
              Fill(L"$[L:T;T:DatiEnte;R:Nome;F:value]$ $[L:N;T:SaldoFin;R:1106;F:Anno1]$",
                   CReportFiller::reportValues));
}

TEST_F(ReportFillerTest, AccountingHeadingReplacesEveryOccurrence)
{
    const struct
    {
        int nMode;
        LPCTSTR pszHeading;
    } cases[] = {
        {0, L"CONTABILIT\u00c0 ANALITICA PER STRUTTURA DI BILANCIO"},
        {1, L"CONTABILIT\u00c0 ANALITICA PER CAPITOLI"},
    };
    for (const auto& c : cases) {
        CSetSettings::SetSettingImpExtraCont2(m_data, c.nMode);
        CTextDocument doc;
        doc.AppendText(L"$[IMPCONT] - $[IMPCONT]$[L:N;T:SaldoFin;R:1106;F:Anno1]$", CTextCharFormat());
        FillAccountingHeading(doc, m_data);
        CReportFiller(m_data, CReportFiller::reportValues).FillSpans(doc);
        EXPECT_EQ(CString(c.pszHeading) + L" - " + c.pszHeading + L"1.234", doc.GetText());
    }
}

TEST_F(ReportFillerTest, FaxTagsAreFilledAtEveryOccurrenceAfterTheReferences)
{
    CTextDocument doc;
    doc.AppendText(L"$D $N v$V $P $[L:T;T:DatiEnte;R:Nome;F:value]$ $D$D", CTextCharFormat());
    CReportFiller(m_data, CReportFiller::documentValues).FillSpans(doc);
    CFaxTags tags;
    tags.strDate = L"10/12/2026";
    tags.strProduct = L"$P$P";   // a value holding a tag is not searched again
    tags.strAppName = L"Verifica Vorsa 2008";
    tags.strVersion = L"1.05";
    FillFaxTags(doc, tags);
    EXPECT_EQ(CString(L"10/12/2026 Verifica Vorsa 2008 v1.05 $P$P Comune di Cittaducale 10/12/202610/12/2026"),
              doc.GetText());
}

TEST_F(ReportFillerTest, ReferencesBecomeFieldsThatSurviveSaveAndReload)
{
    CTextDocument doc;
    doc.AppendText(L"Ente: $[L:T;T:DatiEnte;R:Nome;F:value;D:nessuno]$, saldo $[L:V;T:SaldoFin;R:1106;F:Anno1]$ "
                   L"$[]$ $[L:N",
                   CTextCharFormat());
    const std::vector<long> ids = MakeReferenceFields(doc, true);
    ASSERT_EQ(2u, ids.size());
    EXPECT_EQ(CString(L"Ente: L:T;T:DatiEnte;R:Nome;F:value;D:nessuno, saldo L:V;T:SaldoFin;R:1106;F:Anno1 $[]$ $[L:N"),
              doc.GetText());
    EXPECT_EQ(CString(L"L:V;T:SaldoFin;R:1106;F:Anno1"), doc.GetFieldData(ids[1]));
    doc.SetFieldText(ids[0], L"Comune di Cittaducale");
    doc.SetFieldText(ids[1], L"1.234,50");

    CTempFolder folder;
    doc.Save(folder.File(L"ConfServ.txd"), txdFormatOwn);
    CTextDocument loaded;
    loaded.Load(folder.File(L"ConfServ.txd"));
    EXPECT_EQ(CString(L"Ente: Comune di Cittaducale, saldo 1.234,50 $[]$ $[L:N"), loaded.GetText());
    const std::vector<long> loadedIds = loaded.GetFieldIds();
    ASSERT_EQ(2u, loadedIds.size());
    EXPECT_EQ(CString(L"1.234,50"), loaded.GetFieldText(loadedIds[1]));
    EXPECT_EQ(CString(L"L:T;T:DatiEnte;R:Nome;F:value;D:nessuno"), loaded.GetFieldData(loadedIds[0]));
}

TEST_F(ReportFillerTest, AMultiLineValueLeavesTheNextReferenceAndTagToBeFilled)
{
    CTextDocument doc;
    doc.LoadRtf("{\\rtf1\\ansi $[L:T;NAME:CRLF]$$[L:T;NAME:BOX]$ fine; $P$P}");
    CNamedValueFiller(m_data, {{L"CRLF", L"Via Roma 1\r\n02015 Cittaducale"}, {L"BOX", CString(kBoxTicked)}})
        .FillSpans(doc);
    ASSERT_EQ(CString(L"Via Roma 1\r02015 Cittaducale\u00fe fine; $P$P"), doc.GetText());
    EXPECT_TRUE(doc.GetCharFormat(doc.Find(L"\u00fe", 0)).IsSymbol());
    EXPECT_FALSE(doc.GetCharFormat(doc.Find(L" fine", 0)).IsSymbol());

    ReplaceEveryTag(doc, L"$P", L"Q08\r\n");
    EXPECT_EQ(CString(L"Via Roma 1\r02015 Cittaducale\u00fe fine; Q08\rQ08\r"), doc.GetText());
}

// A template of references, every other one a check box and a line end.
CTextDocument ManyReferences(int nCount)
{
    CString text;
    for (int i = 0; i < nCount; ++i)
        text += i % 2 ? L"$[L:T;NAME:A]$ " : L"$[L:T;NAME:B]$\r\n";
    CTextDocument doc;
    doc.AppendText(text, CTextCharFormat());
    return doc;
}

TEST_F(ReportFillerTest, LongTemplatesFillInTimeLinearInTheirLength)
{
    CNamedValueFiller filler(m_data, {{L"A", L"uno"}, {L"B", CString(kBoxEmpty)}});
    CTextDocument once = ManyReferences(40000), tenfold = ManyReferences(400000);
    CTextDocument fieldsOnce = once, fieldsTenfold = tenfold;
    EXPECT_TRUE(GrowsLinearly([&]() { filler.FillSpans(once); }, [&]() { filler.FillSpans(tenfold); })) << "filling";
    EXPECT_EQ(400000 / 2 * 6, tenfold.GetLength());
    EXPECT_TRUE(tenfold.GetCharFormat(tenfold.GetLength() - 6).IsSymbol());

    std::vector<long> ids;
    EXPECT_TRUE(GrowsLinearly([&]() { MakeReferenceFields(fieldsOnce, true); },
                              [&]() { ids = MakeReferenceFields(fieldsTenfold, true); }))
        << "making fields";
    ASSERT_EQ(400000u, ids.size());
    auto values = [](const CTextDocument& doc) {
        std::vector<std::pair<long, CString>> texts;
        for (const CTextField& field : doc.GetFields())
            texts.emplace_back(field.nId, field.strData.Right(1));
        return texts;
    };
    const auto textsOnce = values(fieldsOnce), textsTenfold = values(fieldsTenfold);
    EXPECT_TRUE(GrowsLinearly([&]() { fieldsOnce.SetFieldTexts(textsOnce); },
                              [&]() { fieldsTenfold.SetFieldTexts(textsTenfold); }))
        << "filling fields";
    EXPECT_EQ(CString(L"A"), fieldsTenfold.GetFieldText(ids.back()));
    EXPECT_EQ(CString(L"B\rA B\r"), fieldsTenfold.GetText().Left(6));

    auto tags = [](int nCount) {
        CString text;
        for (int i = 0; i < nCount; ++i)
            text += L"$V";
        CTextDocument doc;
        doc.AppendText(text, CTextCharFormat());
        return doc;
    };
    CTextDocument tagsOnce = tags(100000), tagsTenfold = tags(1000000);
    EXPECT_TRUE(GrowsLinearly([&]() { ReplaceEveryTag(tagsOnce, L"$V", L"1.05"); },
                              [&]() { ReplaceEveryTag(tagsTenfold, L"$V", L"1.05"); }))
        << "tags";
    EXPECT_EQ(4000000, tagsTenfold.GetLength());
}

} // namespace

TEST_F(ReportFillerTest, ReferencesInTableCellsFillInTheirCellsAndAmountsNotHeldReadZero)
{
    CTextTableRow row;
    row.cells = {{1500, txAlignLeft}, {3000, txAlignRight}, {4500, txAlignRight}};
    CTextDocument doc;
    doc.AppendText(L"Fuori: $[L:V;T:SaldoFin;R:9999;F:Anno1]$\r", CTextCharFormat());
    doc.AppendTableRow({L"$[L:T;T:DatiEnte;R:Nome;F:value]$", L"$[L:V;T:SaldoFin;R:1106;F:Anno1]$",
                        L"$[L:V;T:SaldoFin;R:9999;F:Anno1]$"},
                       row, CTextCharFormat());
    row.bShaded = true;
    doc.AppendTableRow({L"$[L:N;T:SaldoFin;R:9999;F:Anno1]$", L"$[L:V;T:Nessuna;R:1106;F:Anno1]$", L"\u2014"}, row,
                       CTextCharFormat());
    doc.AppendTableRow({L"$[L:V;T:SaldoFin;R:1106;F:Nessuno]$", L"$[L:V;T:SaldoFin;R:9999;F:Anno2]$",
                        L"$[L:V;T:SaldoFin;R:9999;F:Nessuno]$"}, row,
                       CTextCharFormat());
    CReportFiller(m_data, CReportFiller::reportValues).FillSpans(doc);
    // Outside a table and for what is no amount the missing figure stays empty; an amount cell reads 0. A table or
    // field the archive lacks is a fault of the template, not a zero: empty.
    EXPECT_EQ(CString(L"Fuori: \rComune di Cittaducale\a1.234,50\a0,00\a\r\a\a\u2014\a\r\a0,00\a\a\r"),
              doc.GetText());
    ASSERT_EQ(3u, doc.GetRowExtents().size());
    EXPECT_FALSE(doc.GetTableRow(0).bShaded);
    EXPECT_TRUE(doc.GetTableRow(1).bShaded);
    EXPECT_EQ(txAlignRight, doc.GetTableRow(1).cells[2].nAlign);
}
