// The per-responsible forms: the synthesis read-only, the centre chosen in the combo with the save question, the
// figures keyed by row and centre, and the chapter items of a centre added, changed and removed.
#include "FormViewFixture.h"

#include "data/SetExtraCap.h"
#include "dialogs/DlgCapitoli.h"
#include "forms/RecordID.h"
#include "forms/WorkbookBinding.h"
#include "views/ViewInputFormResp.h"
#include "reports/DlgRappControlli.h"
#include "resource.h"
#include "support/AuthorityArchive.h"
#include "support/ModalDialogDriver.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <set>

namespace
{
// Chooses a centre in the combo as the user does.
void Choose(CViewInputFormResp& view, long nCentre)
{
    CComboBox& combo = view.GetCentreCombo();
    for (int i = 0; i < combo.GetCount(); i++) {
        if (static_cast<long>(combo.GetItemData(i)) == nCentre)
            combo.SetCurSel(i);
    }
    view.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FORM_RESP, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo.m_hWnd));
}
long SelectedCentre(CViewInputFormResp& view)
{
    CComboBox& combo = view.GetCentreCombo();
    return static_cast<long>(combo.GetItemData(combo.GetCurSel()));
}
// The chapter list answering OK with the chapter chosen; any other dialog is cancelled.
AFX_MODAL_HANDLER ChooseChapter(long nID, LPCTSTR pszCodUEB, LPCTSTR pszDescription)
{
    return [=](CDialog& dialog) -> INT_PTR {
        auto pChapters = dynamic_cast<CDlgCapitoli*>(&dialog);
        if (!pChapters)
            return IDCANCEL;
        pChapters->m_recResult.m_ID.SetValue(nID);
        pChapters->m_recResult.m_codUEB.SetText(pszCodUEB);
        pChapters->m_recResult.m_descrizione.SetText(pszDescription);
        return IDOK;
    };
}

// The per-responsible forms of a test's archive, the chapter items in "CapExtra.vts".
class CCentreFormFixture : public CFormViewFixture
{
protected:
    CViewInputFormRespCap* OpenCentre(long nCentre)
    {
        auto pView = static_cast<CViewInputFormRespCap*>(MakeView(RUNTIME_CLASS(CViewInputFormRespCap)));
        CTextID item(L"CapExtra.vts");
        if (!pView || !pView->LoadData(&item))
            return nullptr;
        Choose(*pView, nCentre);
        return pView->GetCentre() == nCentre ? pView : nullptr;
    }
    void Command(CWnd& view, UINT nID) { view.SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), 0); }
};

class ViewInputFormRespTest : public CCentreFormFixture
{
protected:
    void SetUp() override
    {
        CCentreFormFixture::SetUp();
        m_nRossi = AddCentre(L"Rossi");
        m_nBianchi = AddCentre(L"Bianchi");
        // Row 2: an amount and a set cell of the centre; row 3: a Yes/No pair.
        CFormSheetPair pair{"Entrate 2008", "1:2,2;T:SaldoFinCalc", {}, {}, "D4", "E4"};
        pair.descriptions = {{"B2", "I:V;R:2101;F:Anno4Com"}, {"C2", "S:V;R:2101;F:Anno4Cas"},
                             {"B3", "I:B.Y;B.N:3,3;R:2102;F:Anno4Com"}, {"C3", "I:B;B.Y:3,2;R:2102;F:Anno4Com"}};
        WriteWorkbook(L"EntExtr1.vts", MakeWorkbook({pair}));
    }
    CViewInputFormResp* Open()
    {
        auto pView = static_cast<CViewInputFormResp*>(MakeView(RUNTIME_CLASS(CViewInputFormResp)));
        CTextID item(L"EntExtr1.vts");
        return pView && pView->LoadData(&item) ? pView : nullptr;
    }

    long m_nRossi = 0;
    long m_nBianchi = 0;
};
} // namespace

TEST_F(ViewInputFormRespTest, TheSynthesisIsReadOnlyAndEachCentreShowsItsOwnFigures)
{
    Put(L"SaldoFinCalc", 2101, {{L"Anno4Com", 300}, {L"Anno4Cas", 30}}, 0);
    Put(L"SaldoFinCalc", 2102, {{L"Anno4Com", 1}}, 0);
    Put(L"SaldoFinCalc", 2101, {{L"Anno4Com", 100}}, m_nRossi);
    CViewInputFormResp* pView = Open();
    ASSERT_NE(nullptr, pView);
    CComboBox& combo = pView->GetCentreCombo();
    ASSERT_EQ(3, combo.GetCount());
    CString strFirst;
    combo.GetLBText(0, strFirst);
    EXPECT_EQ(CString(L"-- DATI DI SINTESI --"), strFirst);
    EXPECT_TRUE(pView->IsSynthesis());
    CF1Book& grid = pView->GetGrid();
    EXPECT_EQ(CString(L"300,00"), grid.InvokeGet281(2, 2));

    // Nothing in the synthesis can be changed: input and set cells, boxes.
    const CGridSheet& sheet = grid.GetControl().GetShownSheet();
    EXPECT_TRUE(sheet.GetCellFormat(2, 2).m_bLocked);
    EXPECT_TRUE(sheet.GetCellFormat(2, 3).m_bLocked);
    grid.InvokeMethod211(2, 3);
    ASSERT_TRUE(TakeFocus(grid.m_hWnd));
    SendKey(VK_DELETE);
    EXPECT_EQ(CString(L"30,00"), grid.InvokeGet281(2, 3));
    CRect rcBox = grid.GetControl().GetCellRect(3, 3);
    grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rcBox.CenterPoint().x, rcBox.CenterPoint().y));
    grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rcBox.CenterPoint().x, rcBox.CenterPoint().y));
    EXPECT_EQ(CString(kGridBoxEmpty), grid.InvokeGet281(3, 3));   // the totals' field 1: the Yes box stays ticked
    EXPECT_EQ(CString(kGridBoxTicked), grid.InvokeGet281(3, 2));
    EXPECT_FALSE(pView->IsModified());

    Choose(*pView, m_nRossi);
    EXPECT_EQ(m_nRossi, pView->GetCentre());
    EXPECT_EQ(CString(L"100,00"), grid.InvokeGet281(2, 2));
    EXPECT_FALSE(grid.GetControl().GetShownSheet().GetCellFormat(2, 2).m_bLocked);
}

TEST_F(ViewInputFormRespTest, ChangingTheCentreAsksToSaveAndCancelKeepsTheFormerCentre)
{
    CViewInputFormResp* pView = Open();
    ASSERT_NE(nullptr, pView);
    Choose(*pView, m_nRossi);
    CF1Book& grid = pView->GetGrid();
    grid.InvokePut279(2, 2, 0.57);
    pView->SetModified(TRUE);
    {
        CMessageBoxRecorder boxes(IDCANCEL);
        Choose(*pView, m_nBianchi);
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(CString(L"Salvare le modifiche effettuate?"), CString(boxes.Last().text));
        EXPECT_EQ(m_nRossi, pView->GetCentre());
        EXPECT_EQ(m_nRossi, SelectedCentre(*pView));
        EXPECT_TRUE(pView->IsModified());
    }
    // Choosing the centre shown changes nothing and asks nothing.
    Choose(*pView, m_nRossi);
    EXPECT_TRUE(pView->IsModified());

    CMessageBoxRecorder boxes(IDYES);
    // The forecast holds nothing: the centre's figures stored, the check reports the title they add up to.
    CModalDialogDriver report([](CDialog& dialog) -> INT_PTR {
        EXPECT_NE(nullptr, dynamic_cast<CDlgRappControlli*>(&dialog));
        return IDCANCEL;
    });
    Choose(*pView, m_nBianchi);
    EXPECT_EQ(1, report.Shown());
    EXPECT_EQ(m_nBianchi, pView->GetCentre());
    EXPECT_FALSE(pView->IsModified());
    // Stored for the centre, to the 1/10000, with the centres' totals recomputed.
    EXPECT_EQ(0.57, Get(L"SaldoFinCalc", 2101, L"Anno4Com", m_nRossi));
    EXPECT_FALSE(HasRow(L"SaldoFinCalc", 2101, m_nBianchi));
    EXPECT_EQ(CString(L"0,00"), grid.InvokeGet281(2, 2));
}

TEST_F(ViewInputFormRespTest, ASavedCentreWhoseTotalsMissTheForecastShowsTheCheckReport)
{
    // The centre's figures of the first revenue title (row 2101 adds up to 2104) against a forecast of 0,57 on the
    // competence basis.
    CFormSheetPair pair{"Entrate 2008", "1:2,2;T:SaldoFinCalc", {}, {}, "D4", "E4"};
    pair.descriptions = {{"B2", "I:V;R:2101;F:Anno4Com"}, {"C2", "I:V;R:2101;F:Anno4Cas"}};
    WriteWorkbook(L"EntExtr1.vts", MakeWorkbook({pair}));
    // The forecast's own first title, which the recomputation adds up again, as the centres' totals are.
    Execute(L"INSERT INTO SaldoFinProg (ID, Anno4Com, Anno4Cas) VALUES (2101, 0.57, 0)");
    Execute(L"INSERT INTO SaldoFinProg (ID, Anno4Com, Anno4Cas) VALUES (2104, 0.57, 0)");
    CViewInputFormResp* pView = Open();
    ASSERT_NE(nullptr, pView);
    Choose(*pView, m_nRossi);
    const struct
    {
        double dCom, dCas;
        LPCTSTR pszLine;   // null: nothing differs, no report
    } cases[] = {
        {0.57, 0, nullptr},
        {0.5699, 0, L"- Totale Titolo 1 Entrate (competenza)"},
        {0.57, 3, L"- Totale Titolo 1 Entrate (cassa)"},
        {1, 1, L"- Totale Titolo 1 Entrate (cassa/competenza)"},
    };
    for (const auto& c : cases) {
        pView->GetGrid().InvokePut279(2, 2, c.dCom);
        pView->GetGrid().InvokePut279(2, 3, c.dCas);
        pView->SetModified(TRUE);
        std::vector<CString> reports;
        CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
            auto& report = dynamic_cast<CDlgRappControlli&>(dialog);
            reports.push_back(report.GetControl().GetDocument().GetText());
            return IDCANCEL;
        });
        EXPECT_TRUE(pView->SaveData());
        EXPECT_FALSE(pView->IsModified());
        if (!c.pszLine) {
            EXPECT_TRUE(reports.empty()) << (reports.empty() ? CString() : reports[0]).ToMultiByte(CP_UTF8);
            continue;
        }
        ASSERT_EQ(1u, reports.size()) << c.dCom << "/" << c.dCas;
        EXPECT_NE(-1, reports[0].Find(c.pszLine)) << c.dCom << "/" << c.dCas;
        // One line for the one title.
        const int nLine = reports[0].Find(L"\r- ");
        EXPECT_NE(-1, nLine);
        EXPECT_EQ(-1, reports[0].Find(L"\r- ", nLine + 1));
    }
}

namespace
{
// The chapter items: pair 0 revenues, pair 1 expenses; header rows 1 to 4, one item row (5), three closing rows.
std::string CapExtraWorkbook()
{
    std::vector<CFormSheetPair> pairs;
    for (const char* pszName : {"Entrate", "Spese"}) {
        CFormSheetPair pair{pszName, "1:5,7", {}, {}, "K9", "L9"};
        pair.data = {{"A1", {{"text", std::string("Voci di ") + pszName}}}, {"B8", {{"text", "Totale"}}}};
        pair.descriptions = {{"B5", "L:T"}, {"C5", "L:N"}, {"D5", "I:T"}, {"E5", "L:T"},
                             {"G5", "I:V"}, {"H5", "I:V"}, {"J5", "L:N"}};
        pairs.push_back(pair);
    }
    return MakeWorkbook(pairs);
}

class ViewInputFormRespCapTest : public ViewInputFormRespTest
{
protected:
    void SetUp() override
    {
        ViewInputFormRespTest::SetUp();
        WriteWorkbook(L"CapExtra.vts", CapExtraWorkbook());
        Execute(L"INSERT INTO CapEntrate (ID, descrizione, codUEB) VALUES (10, 'Tributi', '1010000')");
        Execute(L"INSERT INTO CapEntrate (ID, descrizione, codUEB) VALUES (20, 'Tasse', '1020000')");
    }
    void AddItem(long nCentre, long nChapter, LPCTSTR pszCode, LPCTSTR pszArticolo, double comp, double cassa)
    {
        CString sql;
        sql.Format(L"INSERT INTO ExtraEntrCap (idResp, codUEB, capitolo, articolo, importoComp, importoCassa) "
                   L"VALUES (%ld, '%s', %ld, '%s', %g, %g)",
                   nCentre, pszCode, nChapter, pszArticolo, comp, cassa);
        Execute(sql);
    }
    long ItemCount(long nCentre)
    {
        CString sql;
        sql.Format(L"SELECT COUNT(*) FROM ExtraEntrCap WHERE idResp = %ld", nCentre);
        return ScalarLong(sql);
    }
};
} // namespace

TEST_F(ViewInputFormRespCapTest, ItemsAreListedOncePerRowHoweverOftenTheFormIsLoaded)
{
    AddItem(m_nRossi, 10, L"1010000", L"A", 100, 90);
    AddItem(m_nRossi, 20, L"1020000", L"B", 0.57, 0);
    CViewInputFormRespCap* pView = OpenCentre(m_nRossi);
    ASSERT_NE(nullptr, pView);
    for (int nLoad = 0; nLoad < 2; nLoad++) {
        CF1Book& grid = pView->GetGrid();
        ASSERT_EQ(9L, grid.GetProperty19()) << nLoad;   // two item rows, three closing rows
        EXPECT_EQ(CString(L"1010000"), grid.InvokeGet281(5, 2));
        EXPECT_EQ(CString(L"Tributi"), grid.InvokeGet281(5, 5));
        EXPECT_EQ(CString(L"1020000"), grid.InvokeGet281(6, 2));
        EXPECT_EQ(0.57, grid.InvokeGet279(6, 7));
        const CGridSheet& sheet = grid.GetControl().GetShownSheet();
        EXPECT_EQ(CString(L"Totale"), sheet.GetText(9, 2));
        EXPECT_EQ(CString(L"[EOF]"), sheet.GetText(10, 11));
        // The same workbook again: read anew, not a second set of rows.
        CTextID item(L"CapExtra.vts");
        ASSERT_TRUE(pView->LoadData(&item));
    }
}

TEST_F(ViewInputFormRespCapTest, ItemsAreAddedChangedAndRemovedAndRefusedRowsStoreNothing)
{
    AddItem(m_nRossi, 10, L"1010000", L"A", 100, 90);
    CViewInputFormRespCap* pView = OpenCentre(m_nRossi);
    ASSERT_NE(nullptr, pView);
    CF1Book& grid = pView->GetGrid();
    long nStored = static_cast<long>(grid.InvokeGet279(5, 10));
    ASSERT_GT(nStored, 0L);

    // "Aggiungi voce": a new row, its chapter chosen in the chapter list.
    {
        CModalDialogDriver dialogs(ChooseChapter(20, L"1020000", L"Tasse"));
        EXPECT_TRUE(pView->CanAddItem());
        Command(*pView, IDC_VOCE_ADD);
        EXPECT_EQ(1, dialogs.Shown());
    }
    ASSERT_EQ(9L, grid.GetProperty19());
    EXPECT_EQ(CString(L"Tasse"), grid.InvokeGet281(6, 5));
    EXPECT_EQ(20.0, grid.InvokeGet279(6, 3));
    grid.InvokePut279(6, 7, 0.57);
    grid.InvokePut281(6, 4, L"Nuovo");

    // A row with an articolo but neither code nor chapter is refused, and nothing is stored.
    grid.InvokePut281(5, 2, L"");
    std::string before = ReadBytes(m_dataPath);
    {
        CMessageBoxRecorder boxes;
        EXPECT_FALSE(pView->SaveData());
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(CString(L"Inserire il codice UEB"), CString(boxes.Last().text));
        EXPECT_EQ(2L, grid.GetProperty4());
        EXPECT_EQ(5L, grid.GetProperty5());
    }
    EXPECT_TRUE(before == ReadBytes(m_dataPath));
    grid.InvokePut281(5, 2, L"1010000");
    grid.InvokePut279(5, 3, 0);
    {
        CMessageBoxRecorder boxes;
        EXPECT_FALSE(pView->SaveData());
        ASSERT_EQ(1u, boxes.Count());
        EXPECT_EQ(CString(L"Selezionare il capitolo"), CString(boxes.Last().text));
        EXPECT_EQ(3L, grid.GetProperty4());
    }
    EXPECT_TRUE(before == ReadBytes(m_dataPath));
    grid.InvokePut279(5, 3, 10);

    ASSERT_TRUE(pView->SaveData());
    EXPECT_EQ(2L, ItemCount(m_nRossi));
    EXPECT_EQ(0.57, ScalarLong(L"SELECT importoComp * 100 FROM ExtraEntrCap WHERE articolo = 'Nuovo'") / 100.0);
    // The added row now carries its number: a second save changes it instead of adding it again.
    EXPECT_GT(grid.InvokeGet279(6, 10), 0.0);
    grid.InvokePut279(6, 8, 12);
    pView->SetModified(TRUE);
    ASSERT_TRUE(pView->SaveData());
    EXPECT_EQ(2L, ItemCount(m_nRossi));

    // "Elimina voce" on the first row: the row goes, and with the save its item.
    grid.InvokeMethod211(5, 4);
    {
        CMessageBoxRecorder boxes(IDYES);
        Command(*pView, IDC_VOCE_DELETE);
        EXPECT_EQ(CString(L"Eliminare la voce selezionata?"), CString(boxes.Last().text));
    }
    EXPECT_EQ(8L, grid.GetProperty19());
    EXPECT_EQ(CString(L"Nuovo"), grid.InvokeGet281(5, 4));
    ASSERT_TRUE(pView->SaveData());
    EXPECT_EQ(1L, ItemCount(m_nRossi));
    CString sql;
    sql.Format(L"SELECT COUNT(*) FROM ExtraEntrCap WHERE ID = %ld", nStored);
    EXPECT_EQ(0L, ScalarLong(sql));
    // The only row left is emptied, not deleted.
    {
        CMessageBoxRecorder boxes(IDYES);
        Command(*pView, IDC_VOCE_DELETE);
    }
    EXPECT_EQ(8L, grid.GetProperty19());
    EXPECT_EQ(CString(L""), grid.InvokeGet281(5, 4));
    EXPECT_FALSE(pView->CanAddItem());
}

namespace
{
// The archive locked by another program, as a copy or a backup tool on the same file does: the form reads nothing
// while the lock is held. The lock can be let go at the first error the user reads.
class CArchiveLock
{
public:
    explicit CArchiveLock(const CString& strPath)
    {
        ::sqlite3_open16(strPath.GetString(), &m_pDatabase);
        m_bLocked = ::sqlite3_exec(m_pDatabase, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~CArchiveLock()
    {
        Release();
        ::sqlite3_close(m_pDatabase);
    }
    BOOL IsLocked() const { return m_bLocked; }
    void Release()
    {
        if (m_bLocked)
            ::sqlite3_exec(m_pDatabase, "COMMIT", nullptr, nullptr, nullptr);
        m_bLocked = FALSE;
    }

    // While it is installed, the first message box lets the lock go.
    static int ReleaseAtTheFirstMessage(const AFX_MSGBOX_REQUEST& request)
    {
        s_shown.push_back(request);
        s_pLock->Release();

        return IDOK;
    }
    static CArchiveLock* s_pLock;
    static std::vector<AFX_MSGBOX_REQUEST> s_shown;

private:
    sqlite3* m_pDatabase = nullptr;
    BOOL m_bLocked = FALSE;
};
CArchiveLock* CArchiveLock::s_pLock = nullptr;
std::vector<AFX_MSGBOX_REQUEST> CArchiveLock::s_shown;
} // namespace

// A centre that cannot be read leaves the form on the former centre as the archive holds it: a save afterwards
// writes the former centre's own items, not the half-read ones over them.
TEST_F(ViewInputFormRespCapTest, ACentreThatCannotBeReadLeavesTheFormerCentreInTheGrid)
{
    AddItem(m_nRossi, 10, L"1010000", L"A", 100, 90);
    AddItem(m_nRossi, 20, L"1020000", L"B", 0.57, 0);
    AddItem(m_nBianchi, 10, L"1010000", L"C", 5, 5);
    CViewInputFormRespCap* pView = OpenCentre(m_nRossi);
    ASSERT_NE(nullptr, pView);
    CF1Book& grid = pView->GetGrid();
    const long nRows = grid.GetProperty19();
    {
        CArchiveLock lock(m_dataPath);
        ASSERT_TRUE(lock.IsLocked());
        CArchiveLock::s_pLock = &lock;
        CArchiveLock::s_shown.clear();
        AFX_MSGBOX_HANDLER previous = AfxSetMessageBoxHandler(CArchiveLock::ReleaseAtTheFirstMessage);
        Choose(*pView, m_nBianchi);
        AfxSetMessageBoxHandler(previous);
        ASSERT_EQ(1u, CArchiveLock::s_shown.size());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), CArchiveLock::s_shown[0].type & MB_ICONMASK);
    }
    EXPECT_EQ(m_nRossi, pView->GetCentre());
    EXPECT_EQ(m_nRossi, SelectedCentre(*pView));
    ASSERT_EQ(nRows, grid.GetProperty19());
    EXPECT_EQ(CString(L"A"), grid.InvokeGet281(5, CViewInputFormRespCap::colArticolo));
    EXPECT_EQ(CString(L"B"), grid.InvokeGet281(6, CViewInputFormRespCap::colArticolo));
    EXPECT_EQ(0.57, grid.InvokeGet279(6, CViewInputFormRespCap::colComp));
    EXPECT_FALSE(pView->IsModified());
    pView->SetModified(TRUE);
    ASSERT_TRUE(pView->SaveData());
    CString sql;
    sql.Format(L"SELECT COUNT(*) FROM ExtraEntrCap WHERE idResp = %ld AND articolo IN ('A', 'B')", m_nRossi);
    EXPECT_EQ(2L, ScalarLong(sql));
    EXPECT_EQ(2L, ItemCount(m_nRossi));
    EXPECT_EQ(1L, ItemCount(m_nBianchi));

    // When the former centre cannot be read again either, the form holds nothing that a save would write.
    {
        CArchiveLock lock(m_dataPath);
        ASSERT_TRUE(lock.IsLocked());
        CMessageBoxRecorder boxes;
        Choose(*pView, m_nBianchi);
        EXPECT_EQ(2u, boxes.Count());
    }
    EXPECT_EQ(m_nRossi, pView->GetCentre());
    pView->SetModified(TRUE);
    EXPECT_TRUE(pView->SaveData());
    EXPECT_EQ(2L, ItemCount(m_nRossi));
    EXPECT_EQ(1L, ItemCount(m_nBianchi));
}

TEST_F(ViewInputFormRespCapTest, ANegativeAmountIsRefusedInAnItemRow)
{
    CViewInputFormRespCap* pView = OpenCentre(m_nRossi);
    ASSERT_NE(nullptr, pView);
    CF1Book& grid = pView->GetGrid();
    grid.InvokeMethod211(5, 7);
    ASSERT_TRUE(TakeFocus(grid.m_hWnd));
    CMessageBoxRecorder boxes;
    SendText(L"-3");
    SendKey(VK_RETURN);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(CString(L"Non è possibile immettere importi negativi"), CString(boxes.Last().text));
    grid.GetControl().CancelEdit();
    EXPECT_EQ(0.0, grid.InvokeGet279(5, 7));
}

namespace
{
const LPCTSTR kItemTables[] = {L"ExtraEntrCap", L"ExtraSpeseCap"};

// The shipped chapter form on a real-size authority's archive: four centres, each with an item of every chapter,
// and the totals of all centres as the rows of centre 0.
class ViewInputFormRespCapAuthorityTest : public CCentreFormFixture
{
protected:
    void SetUp() override
    {
        CCentreFormFixture::SetUp();
        CGridBook book;
        CFormInfo info;
        ASSERT_EQ(CString(), CompileSourceText(ReadWorkbookSource(L"CapExtra"), book, info));
        WriteWorkbook(L"CapExtra.vts", book.WriteText());
        FillAuthorityArchive(m_data, authorityByChapter);
        for (int nPair : {0, 1})
            CSetExtraCap::BuildExtraCapTotals(m_data, nPair);
    }
    // In cents: what the archive was given for the centre's item of the chapter; centre 0 adds up all centres.
    static long long Figure(int nPair, long nChapter, LPCTSTR pszField, long nCentre)
    {
        if (nCentre > 0)
            return AuthorityFigure(kItemTables[nPair], nChapter, pszField, nCentre) / 100;
        long long nSum = 0;
        for (long nEach = 1; nEach <= kAuthorityCentres; nEach++)
            nSum += Figure(nPair, nChapter, pszField, nEach);
        return nSum;
    }
    static long long Cents(double value) { return std::llround(value * 100); }
    long long StoredCents(const CString& strSql) { return Cents(static_cast<double>(Scalar(strSql))); }
    long Count(int nPair, const CString& strWhere)
    {
        return ScalarLong(L"SELECT COUNT(*) FROM " + CString(kItemTables[nPair]) + L" WHERE " + strWhere);
    }
    // Every item of the centre still holds what the archive was given, and there are as many as it was given.
    void ExpectUntouched(long nCentre)
    {
        for (int nPair : {0, 1}) {
            CString sql;
            sql.Format(L"SELECT capitolo, importoComp, importoCassa FROM %s WHERE idResp = %ld", kItemTables[nPair],
                       nCentre);
            _RecordsetPtr rows = m_data.Execute(sql, nullptr, adCmdText);
            long nRows = 0;
            for (; !rows->GetEOF(); rows->MoveNext(), nRows++) {
                FieldsPtr fields = rows->GetFields();
                long nChapter = static_cast<long>(fields->GetItem(_variant_t(0L))->GetValue());
                EXPECT_EQ(Figure(nPair, nChapter, L"importoComp", nCentre),
                          Cents(static_cast<double>(fields->GetItem(_variant_t(1L))->GetValue())))
                    << nCentre << "/" << nChapter;
                EXPECT_EQ(Figure(nPair, nChapter, L"importoCassa", nCentre),
                          Cents(static_cast<double>(fields->GetItem(_variant_t(2L))->GetValue())))
                    << nCentre << "/" << nChapter;
            }
            EXPECT_EQ(nPair == 0 ? 5 : 4, nRows) << nCentre;
        }
    }
};

// The sheet's item rows, from row 5 to three rows above the row limit.
int LastItemRow(CF1Book& grid)
{
    return static_cast<int>(grid.GetProperty19()) - 3;
}
} // namespace

// Each centre's form lists its own items only, one a row, no empty rows after them, in code order, and the total
// below them adds up the centre's figures; the synthesis lists the totals of all centres.
TEST_F(ViewInputFormRespCapAuthorityTest, EachCentreListsItsOwnItemsAndTheirTotal)
{
    using Col = CViewInputFormRespCap;
    CViewInputFormRespCap* pView = OpenCentre(0);
    ASSERT_NE(nullptr, pView);
    CF1Book& grid = pView->GetGrid();
    // From the synthesis to each centre in turn, as the user chooses them.
    for (long nCentre = 0; nCentre <= kAuthorityCentres; nCentre++) {
        Choose(*pView, nCentre);
        ASSERT_EQ(nCentre, pView->GetCentre());
        for (int nPair : {0, 1}) {
            grid.SetProperty106(2 * nPair + 1);
            CString where;
            where.Format(L"idResp = %ld", nCentre);
            const long nItems = Count(nPair, where);
            ASSERT_GT(nItems, 1L);
            ASSERT_EQ(Col::kFirstItemRow + nItems - 1, LastItemRow(grid)) << nCentre << "/" << nPair;
            long long nComp = 0, nCassa = 0;
            CString strFormerCode;
            std::set<long> chapters;
            for (int nRow = Col::kFirstItemRow; nRow <= LastItemRow(grid); nRow++) {
                CString item;
                item.Format(L"ID = %ld AND idResp = %ld", static_cast<long>(grid.InvokeGet279(nRow, Col::colID)),
                            nCentre);
                EXPECT_EQ(1L, Count(nPair, item)) << nCentre << "/" << nPair << "/" << nRow;
                const long nChapter = static_cast<long>(grid.InvokeGet279(nRow, Col::colCapitolo));
                chapters.insert(nChapter);
                const CString strCode = grid.InvokeGet281(nRow, Col::colCodUEB);
                EXPECT_LT(strFormerCode, strCode) << nCentre << "/" << nPair << "/" << nRow;
                strFormerCode = strCode;
                EXPECT_FALSE(grid.InvokeGet281(nRow, Col::colDescrizione).IsEmpty());
                const long long nRowComp = Cents(grid.InvokeGet279(nRow, Col::colComp));
                const long long nRowCassa = Cents(grid.InvokeGet279(nRow, Col::colCassa));
                EXPECT_EQ(Figure(nPair, nChapter, L"importoComp", nCentre), nRowComp) << nCentre << "/" << nChapter;
                EXPECT_EQ(Figure(nPair, nChapter, L"importoCassa", nCentre), nRowCassa) << nCentre << "/" << nChapter;
                nComp += nRowComp;
                nCassa += nRowCassa;
            }
            EXPECT_EQ(static_cast<size_t>(nItems), chapters.size());
            const int nTotalRow = LastItemRow(grid) + 2;
            EXPECT_EQ(nComp, Cents(grid.InvokeGet279(nTotalRow, Col::colComp))) << nCentre << "/" << nPair;
            EXPECT_EQ(nCassa, Cents(grid.InvokeGet279(nTotalRow, Col::colCassa))) << nCentre << "/" << nPair;
        }
    }
}

// A centre's items added, changed and removed and saved: the centre's items are as edited, the other centres'
// exactly as they were, the totals follow, and the form shows the saved items again.
TEST_F(ViewInputFormRespCapAuthorityTest, SavingACentreChangesOnlyItsOwnItems)
{
    using Col = CViewInputFormRespCap;
    const long nCentre = 2;
    CViewInputFormRespCap* pView = OpenCentre(nCentre);
    ASSERT_NE(nullptr, pView);
    CF1Book& grid = pView->GetGrid();
    const int nLast = LastItemRow(grid);
    const long nChanged = static_cast<long>(grid.InvokeGet279(Col::kFirstItemRow, Col::colCapitolo));
    const long nRemoved = static_cast<long>(grid.InvokeGet279(nLast, Col::colCapitolo));
    grid.InvokePut279(Col::kFirstItemRow, Col::colComp, 1234.56);
    pView->SetModified(TRUE);
    grid.InvokeMethod211(nLast, Col::colArticolo);
    {
        CMessageBoxRecorder boxes(IDYES);
        Command(*pView, IDC_VOCE_DELETE);
    }
    const long nAdded = 2030;
    {
        CModalDialogDriver dialogs(ChooseChapter(nAdded, L"2030250", L"Trasferimenti"));
        ASSERT_TRUE(pView->CanAddItem());
        Command(*pView, IDC_VOCE_ADD);
        ASSERT_EQ(1, dialogs.Shown());
    }
    ASSERT_EQ(nLast, LastItemRow(grid));
    grid.InvokePut281(nLast, Col::colArticolo, L"Nuovo");
    grid.InvokePut279(nLast, Col::colComp, 0.57);
    {
        CMessageBoxRecorder boxes(IDOK);
        CModalDialogDriver report([](CDialog&) -> INT_PTR { return IDCANCEL; });
        ASSERT_TRUE(pView->SaveData());
    }

    for (long nOther : {1L, 3L, 4L})
        ExpectUntouched(nOther);
    CString where;
    where.Format(L"idResp = %ld", nCentre);
    EXPECT_EQ(5L, Count(0, where));
    EXPECT_EQ(4L, Count(1, where));
    CString sql;
    sql.Format(L"SELECT importoComp FROM ExtraEntrCap WHERE idResp = %ld AND capitolo = %ld", nCentre, nChanged);
    EXPECT_EQ(123456, StoredCents(sql));
    sql.Format(L"idResp = %ld AND capitolo = %ld", nCentre, nRemoved);
    EXPECT_EQ(0L, Count(0, sql));
    sql.Format(L"SELECT importoComp FROM ExtraEntrCap WHERE idResp = %ld AND articolo = 'Nuovo' AND capitolo = %ld",
               nCentre, nAdded);
    EXPECT_EQ(57, StoredCents(sql));
    // The totals of the chapters: the centre's new figure with the other centres' own.
    const struct
    {
        long nChapter;
        long long nCentreCents;
    } totals[] = {{nChanged, 123456}, {nRemoved, 0}, {nAdded, Figure(0, nAdded, L"importoComp", nCentre) + 57}};
    for (const auto& total : totals) {
        long long nExpected = total.nCentreCents;
        for (long nOther : {1L, 3L, 4L})
            nExpected += Figure(0, total.nChapter, L"importoComp", nOther);
        sql.Format(L"SELECT importoComp FROM ExtraEntrCap WHERE idResp = 0 AND capitolo = %ld", total.nChapter);
        EXPECT_EQ(nExpected, StoredCents(sql)) << total.nChapter;
    }

    // Read again: the saved items, no more rows.
    CTextID item(L"CapExtra.vts");
    ASSERT_TRUE(pView->LoadData(&item));
    grid.SetProperty106(1);
    EXPECT_EQ(Col::kFirstItemRow + 4, LastItemRow(grid));
    EXPECT_EQ(1234.56, grid.InvokeGet279(Col::kFirstItemRow, Col::colComp));
}
