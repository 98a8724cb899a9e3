// Every bound record written through its record set and read back, with values and with nulls.
#include "DataTestArchive.h"

#include "data/SetAlbero.h"
#include "data/SetCapitoli.h"
#include "data/SetConfig.h"
#include "data/SetExtraCap.h"
#include "data/SetResponsabili.h"
#include "data/SetSettings.h"

#include <memory>

namespace {

class BoundRecordTest : public CDataTestArchive
{
};

TEST_F(BoundRecordTest, Albero)
{
    {
        CSetAlbero set(m_prog);
        set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
        CRecAlbero& rec = set.m_rec;
        rec.m_idNodo.SetValue(1);
        rec.m_idFiglio.SetValue(2);
        rec.m_idFratello.SetValue(7);
        rec.m_nImmagine.SetValue(-1);
        rec.m_codSezione.SetText(L"5.2");
        rec.m_descrizione.SetText(L"Verifica per Centro di Responsabilità");
        rec.m_nomeFile.SetText(L"Resp.vts");
        rec.m_flag.SetText(L"h");
        set.AddNew();
        rec.SetAllNull();
        rec.m_idNodo.SetValue(2);
        set.AddNew();
    }
    CSetAlbero set(m_prog);
    set.Open(nullptr, adOpenStatic, adLockReadOnly, adCmdTableDirect);
    _variant_t key(1L);
    ASSERT_TRUE(set.FindByKey(1, &key, TRUE));
    const CRecAlbero& rec = set.m_rec;
    EXPECT_EQ(1, rec.m_idNodo.GetValue());
    EXPECT_EQ(2, rec.m_idFiglio.GetValue());
    EXPECT_EQ(7, rec.m_idFratello.GetValue());
    EXPECT_EQ(-1, rec.m_nImmagine.GetValue());
    EXPECT_EQ(CString(L"5.2"), rec.m_codSezione.GetText());
    EXPECT_EQ(CString(L"Verifica per Centro di Responsabilità"), rec.m_descrizione.GetText());
    EXPECT_EQ(CString(L"Resp.vts"), rec.m_nomeFile.GetText());
    EXPECT_EQ(CString(L"h"), rec.m_flag.GetText());

    key = 2L;
    ASSERT_TRUE(set.FindByKey(1, &key, TRUE));
    EXPECT_EQ(2, rec.m_idNodo.GetValue());
    EXPECT_TRUE(rec.m_idFiglio.IsNull());
    EXPECT_TRUE(rec.m_idFratello.IsNull());
    EXPECT_TRUE(rec.m_nImmagine.IsNull());
    EXPECT_TRUE(rec.m_codSezione.IsNull());
    EXPECT_TRUE(rec.m_descrizione.IsNull());
    EXPECT_TRUE(rec.m_nomeFile.IsNull());
    EXPECT_TRUE(rec.m_flag.IsNull());
    EXPECT_EQ(0, rec.m_nomeFile.GetLength());
}

TEST_F(BoundRecordTest, ConfigAndSettings)
{
    EXPECT_TRUE(CSetConfig::GetConfig(m_prog, L"nomeDB").IsEmpty());
    EXPECT_EQ(0, CSetConfig::GetConfigAnno(m_prog));
    CSetConfig::SetConfig(m_prog, L"nomeDB", L"Dati/Archivio.mdb");
    CSetConfig::SetConfig(m_prog, L"anno", L"2008");
    CSetConfig::SetConfig(m_prog, L"versione", L"");
    EXPECT_EQ(CString(L"Dati/Archivio.mdb"), CSetConfig::GetConfigNomeDB(m_prog));
    EXPECT_EQ(2008, CSetConfig::GetConfigAnno(m_prog));
    EXPECT_EQ(0, CSetConfig::GetConfigVersione(m_prog));
    _RecordsetPtr nulls = m_prog.Execute(L"SELECT COUNT(*) FROM Config WHERE value IS NULL", nullptr, adCmdText);
    EXPECT_EQ(1L, static_cast<long>(nulls->GetFields()->GetItem(_variant_t(0L))->GetValue()));

    // A new archive holds its version and the accounting mode.
    EXPECT_EQ(200, CSetSettings::GetSettingVersioneDB(m_data));
    EXPECT_EQ(0, CSetSettings::GetSettingImpExtraCont2(m_data));
    Execute(L"DELETE FROM Settings");
    EXPECT_EQ(0, CSetSettings::GetSettingVersioneDB(m_data));
    CSetSettings::SetSettingImpExtraCont2(m_data, 1);
    EXPECT_EQ(CString(L"1"), CSetSettings::GetSetting(m_data, L"imp_extra_cont2"));
    CSetSettings::SetSettingImpExtraCont2(m_data, 0);
    CSetSettings::SetSettingVersioneDB(m_data, 201);
    EXPECT_EQ(0, CSetSettings::GetSettingImpExtraCont2(m_data));
    EXPECT_EQ(201, CSetSettings::GetSettingVersioneDB(m_data));
    EXPECT_EQ(2L, ScalarLong(L"SELECT COUNT(*) FROM Settings"));

    CSetSettings::Record rec;
    rec.m_name.SetText(L"VersioneDB");
    rec.m_value.SetText(CString(L'9', 300));
    std::unique_ptr<CADORecord> clone(rec.Clone());
    const auto* copy = dynamic_cast<const CSetSettings::Record*>(clone.get());
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(CString(L"VersioneDB"), copy->m_name.GetText());
    EXPECT_EQ(255, copy->m_value.GetLength());
    EXPECT_EQ(nullptr, CRecConfig().Clone());
}

TEST_F(BoundRecordTest, CapitoloAndItsMap)
{
    {
        CSetCapitoli set(m_data, CSetCapitoli::kindSpese);
        set.Open(nullptr, adOpenStatic, adLockOptimistic, adCmdTableDirect);
        const struct { long nID; LPCTSTR pszDescr; LPCTSTR pszCode; } rows[] = {
            {12, L"Spese per il personale dell'Ente", L"1010101"},
            {3, L"Acquisto di beni", L"1010201"},
        };
        for (const auto& row : rows) {
            set.m_rec.m_ID.SetValue(row.nID);
            set.m_rec.m_descrizione.SetText(row.pszDescr);
            set.m_rec.m_codUEB.SetText(row.pszCode);
            set.AddNew();
        }
    }
    CCapitoliMap map;
    map.SetAt(99, CRecCapitolo());
    CSetCapitoli::LoadCapitoliMap(m_data, CSetCapitoli::kindSpese, map);
    ASSERT_EQ(2, map.GetCount());
    CRecCapitolo rec;
    ASSERT_TRUE(map.Lookup(12, rec));
    EXPECT_EQ(CString(L"Spese per il personale dell'Ente"), rec.m_descrizione.GetText());
    EXPECT_EQ(CString(L"1010101"), rec.m_codUEB.GetText());
    ASSERT_TRUE(map.Lookup(3, rec));
    EXPECT_EQ(CString(L"Acquisto di beni"), rec.m_descrizione.GetText());

    CSetCapitoli::LoadCapitoliMap(m_data, CSetCapitoli::kindEntrate, map);
    EXPECT_EQ(0, map.GetCount());

    CSetCapitoli ordered(m_data, CSetCapitoli::kindSpese);
    ordered.OpenOrderedById();
    ASSERT_FALSE(ordered.IsEOF());
    EXPECT_EQ(3, ordered.m_rec.m_ID.GetValue());
}

TEST_F(BoundRecordTest, ResponsabileNumberedByTheDatabase)
{
    {
        CSetResponsabili set(m_data);
        set.OpenNullKey();   // an empty set: the record holds no row
        set.m_rec.m_responsabile.SetText(L"Mario Rossi");
        set.m_rec.m_centroServ.SetText(L"Ragioneria");
        set.m_rec.m_tipoResp.SetValue(CRecResponsabile::tipoSettore);
        set.AddNew();
        // The record tells the new row's number (a list shows the new centre and may change it at once).
        EXPECT_FALSE(set.m_rec.m_ID.IsNull());
        EXPECT_EQ(ScalarLong(L"SELECT MAX(ID) FROM Responsabili"), set.m_rec.m_ID.GetValue());
        EXPECT_EQ(CString(L"Ragioneria"), set.m_rec.m_centroServ.GetText());
        set.m_rec.SetAllNull();
        set.AddNew();
    }
    CSetResponsabili set(m_data);
    set.OpenByCentroServ();   // the null centre first; never the totals row
    ASSERT_FALSE(set.IsEOF());
    EXPECT_GT(set.m_rec.m_ID.GetValue(), 0);
    EXPECT_TRUE(set.m_rec.m_responsabile.IsNull());
    EXPECT_TRUE(set.m_rec.m_centroServ.IsNull());
    EXPECT_TRUE(set.m_rec.m_tipoResp.IsNull());
    EXPECT_TRUE(set.m_rec.GetTipologiaText().IsEmpty());
    EXPECT_TRUE(set.m_rec.GetCaricaText().IsEmpty());
    long nFirst = set.m_rec.m_ID.GetValue();
    set.MoveNext();
    ASSERT_FALSE(set.IsEOF());
    EXPECT_NE(nFirst, set.m_rec.m_ID.GetValue());
    EXPECT_EQ(CString(L"Mario Rossi"), set.m_rec.m_responsabile.GetText());
    EXPECT_EQ(CString(L"Ragioneria"), set.m_rec.m_centroServ.GetText());
    EXPECT_EQ(CString(L"Settore"), set.m_rec.GetTipologiaText());
    EXPECT_EQ(CString(L"Caposettore"), set.m_rec.GetCaricaText());
    set.MoveNext();
    EXPECT_TRUE(set.IsEOF());
}

TEST_F(BoundRecordTest, ExtraCap)
{
    Execute(L"INSERT INTO Responsabili (responsabile, centroServ) VALUES ('Rossi', 'Ragioneria')");
    long nResp = ScalarLong(L"SELECT MAX(ID) FROM Responsabili");
    Execute(L"INSERT INTO CapEntrate (ID, descrizione, codUEB) VALUES (5, 'ICI', '1010101')");
    {
        CSetExtraCap set(m_data, CSetExtraCap::kindEntrate);
        set.OpenNullKey();
        EXPECT_TRUE(set.IsEOF());
        CRecExtraCap& rec = set.m_rec;
        rec.m_idResp.SetValue(nResp);
        rec.m_codUEB.SetText(L"10101019");   // one digit too many: cut to 7
        rec.m_capitolo.SetValue(5);
        rec.m_articolo.SetText(L"Imposta comunale sugli immobili");
        rec.m_importoComp.SetDouble(0.57);
        rec.m_importoCassa.SetDouble(-1234.5678);
        set.AddNew();
        EXPECT_EQ(ScalarLong(L"SELECT MAX(ID) FROM ExtraEntrCap"), rec.m_ID.GetValue());
        rec.m_ID.SetNull();   // the next row is numbered again
        rec.m_articolo.SetNull();
        rec.m_importoComp.SetNull();
        rec.m_importoCassa.SetNull();
        set.AddNew();
    }
    CSetExtraCap set(m_data, CSetExtraCap::kindEntrate);
    set.OpenByResp(nResp);
    const CRecExtraCap& rec = set.m_rec;
    ASSERT_FALSE(set.IsEOF());   // the null article sorts first
    EXPECT_TRUE(rec.m_articolo.IsNull());
    EXPECT_TRUE(rec.m_importoComp.IsNull());
    EXPECT_TRUE(rec.m_importoCassa.IsNull());
    EXPECT_EQ(0.0, rec.m_importoComp.GetDouble());
    set.MoveNext();
    ASSERT_FALSE(set.IsEOF());
    EXPECT_GT(rec.m_ID.GetValue(), 0);
    EXPECT_EQ(nResp, rec.m_idResp.GetValue());
    EXPECT_EQ(CString(L"1010101"), rec.m_codUEB.GetText());
    EXPECT_EQ(5, rec.m_capitolo.GetValue());
    EXPECT_EQ(CString(L"Imposta comunale sugli immobili"), rec.m_articolo.GetText());
    EXPECT_EQ(0.57, rec.m_importoComp.GetDouble());
    EXPECT_EQ(5700, rec.m_importoComp.GetValue().int64);
    EXPECT_EQ(-1234.5678, rec.m_importoCassa.GetDouble());

    // The row is found by its key and deleted by it.
    long nID = rec.m_ID.GetValue();
    CSetExtraCap byKey(m_data, CSetExtraCap::kindEntrate);
    _variant_t key(nID);
    ASSERT_TRUE(byKey.FindByKey(1, &key, TRUE));
    EXPECT_EQ(CString(L"Imposta comunale sugli immobili"), byKey.m_rec.m_articolo.GetText());
    CSetExtraCap::DeleteExtraCapRow(m_data, CSetExtraCap::kindEntrate, nID);
    EXPECT_EQ(1L, ScalarLong(L"SELECT COUNT(*) FROM ExtraEntrCap"));
}

TEST_F(BoundRecordTest, ChapterCodesByChapterNumber)
{
    Execute(L"INSERT INTO Responsabili (responsabile, centroServ) VALUES ('Rossi', 'Ragioneria')");
    long nResp = ScalarLong(L"SELECT MAX(ID) FROM Responsabili");
    const struct { long nChapter; LPCTSTR pszCode; } chapters[] = {{5, L"1010101"}, {6, L"2020210"}, {7, L"3030301"}};
    for (const auto& chapter : chapters) {
        CString sql;
        sql.Format(L"INSERT INTO CapEntrate (ID, descrizione, codUEB) VALUES (%ld, 'Capitolo', '%s')",
                   chapter.nChapter, chapter.pszCode);
        Execute(sql);
    }
    // Chapter 5 twice, chapter 7 not at all.
    const struct { long nChapter; LPCTSTR pszCode; } rows[] = {{5, L"1010101"}, {6, L"2020210"}, {5, L"1010101"}};
    for (const auto& row : rows) {
        CString sql;
        sql.Format(L"INSERT INTO ExtraEntrCap (idResp, codUEB, capitolo) VALUES (%ld, '%s', %ld)", nResp,
                   row.pszCode, row.nChapter);
        Execute(sql);
    }
    CChapterCodesMap codes;
    codes.SetAt(99, L"stale");
    CSetExtraCap set(m_data, CSetExtraCap::kindEntrate);
    set.LoadChapterCodes(codes);
    EXPECT_EQ(2, codes.GetCount());
    CString code;
    EXPECT_TRUE(codes.Lookup(5, code));
    EXPECT_EQ(CString(L"1010101"), code);
    EXPECT_TRUE(codes.Lookup(6, code));
    EXPECT_EQ(CString(L"2020210"), code);

    CSetExtraCap spese(m_data, CSetExtraCap::kindSpese);
    spese.LoadChapterCodes(codes);
    EXPECT_EQ(0, codes.GetCount());
}

// A record set that stamps the rows it updates: the hook runs before the row reaches the table (an insert writes
// what the record held when AddNew was called).
class CStampingExtraCap : public CSetExtraCap
{
public:
    using CSetExtraCap::CSetExtraCap;
    void OnBeforeUpdate() override
    {
        ++m_nCalls;
        m_rec.m_articolo.SetText(L"timbrato");
    }
    int m_nCalls = 0;
};

TEST_F(BoundRecordTest, TheHookRunsBeforeEveryWrite)
{
    Execute(L"INSERT INTO Responsabili (responsabile, centroServ) VALUES ('Rossi', 'Ragioneria')");
    Execute(L"INSERT INTO CapEntrate (ID, descrizione, codUEB) VALUES (5, 'ICI', '1010101')");
    long nResp = ScalarLong(L"SELECT MAX(ID) FROM Responsabili");
    CStampingExtraCap set(m_data, CSetExtraCap::kindEntrate);
    set.OpenNullKey();
    set.m_rec.m_idResp.SetValue(nResp);
    set.m_rec.m_codUEB.SetText(L"1010101");
    set.m_rec.m_capitolo.SetValue(5);
    set.m_rec.m_articolo.SetText(L"nuovo");
    set.AddNew();
    EXPECT_EQ(1, set.m_nCalls);
    EXPECT_EQ(CString(L"nuovo"), CString(Scalar(L"SELECT articolo FROM ExtraEntrCap").bstrVal));

    CStampingExtraCap byResp(m_data, CSetExtraCap::kindEntrate);
    byResp.Open(L"SELECT * FROM ExtraEntrCap", adOpenStatic, adLockOptimistic, adCmdText);
    byResp.Update();
    EXPECT_EQ(1, byResp.m_nCalls);
    EXPECT_EQ(CString(L"timbrato"), CString(Scalar(L"SELECT articolo FROM ExtraEntrCap").bstrVal));
}

TEST(ADORecordsetRowSettingsTest, OwnSettingOrTheConnectionsDefault)
{
    const struct { CADORecordset::RowSetting nSetting; bool bDefault; bool bOn; } cases[] = {
        {CADORecordset::rowDefault, true, true}, {CADORecordset::rowDefault, false, false},
        {CADORecordset::rowOn, false, true},     {CADORecordset::rowOff, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.bOn, CADORecordset::IsRowPropertyOn(c.nSetting, c.bDefault)) << c.nSetting << c.bDefault;
}

} // namespace
