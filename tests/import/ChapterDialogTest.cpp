#include "data/DataTestArchive.h"
#include "dialogs/DlgCapitoli.h"
#include "dialogs/DlgCapitolo.h"
#include "resource.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalDialogDriver.h"
#include "util/MessageText.h"

namespace {

CString ItemText(CWnd& dialog, int nID)
{
    CString strText;
    dialog.GetDlgItemText(nID, strText);
    return strText;
}

bool IsEnabled(CWnd& dialog, int nID) { return dialog.GetDlgItem(nID)->IsWindowEnabled() != FALSE; }

// Types a chapter into dialog 141 and presses OK.
void TypeChapter(CDialog& dialog, LPCTSTR pszNumber, LPCTSTR pszDescription, LPCTSTR pszCode)
{
    dialog.SetDlgItemText(IDC_CAP_NUMBER, pszNumber);
    dialog.SetDlgItemText(IDC_CAP_DESCRIPTION, pszDescription);
    dialog.SetDlgItemText(IDC_CAP_CODUEB, pszCode);
    dialog.SendMessage(WM_COMMAND, IDOK);
}

TEST(CodUEBTest, KindAndCodeGiveTheRefusal)
{
    const struct { int nKind; LPCTSTR pszCode; UINT nExpected; } cases[] = {
        {CSetCapitoli::kindEntrate, L"1010101", 0},
        {CSetCapitoli::kindEntrate, L"4999999", 0},
        {CSetCapitoli::kindEntrate, L"5010101", IDP_UEB_ENTRATA_TITLE},
        {CSetCapitoli::kindEntrate, L"0010101", IDP_UEB_ENTRATA_TITLE},
        {CSetCapitoli::kindEntrate, L"101010", IDP_UEB_LENGTH},
        {CSetCapitoli::kindEntrate, L"10101010", IDP_UEB_LENGTH},
        {CSetCapitoli::kindEntrate, L"10a0101", IDP_UEB_LENGTH},
        {CSetCapitoli::kindSpese, L"2010101", 0},
        {CSetCapitoli::kindSpese, L"1000000", 0},
        {CSetCapitoli::kindSpese, L"3010101", IDP_UEB_SPESA_TITLE},
        {CSetCapitoli::kindSpese, L"", IDP_UEB_LENGTH},
        {CSetCapitoli::kindSpese, L"20101 1", IDP_UEB_LENGTH},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.nExpected, CheckCodUEB(c.nKind, c.pszCode)) << c.nKind << " " << CString(c.pszCode).ToMultiByte(CP_UTF8);
}

TEST(ChapterDialogTest, OkNeedsAllThreeValuesAndAWrongCodeKeepsTheDialogOpen)
{
    CMessageBoxRecorder boxes;
    CDlgCapitolo dialog(nullptr, CSetCapitoli::kindEntrate, nullptr);
    CModalDialogDriver driver([&](CDialog& dlg) -> INT_PTR {
        CString strCaption;
        dlg.GetWindowText(strCaption);
        EXPECT_EQ(CString(L"Capitolo di Entrata"), strCaption);
        EXPECT_FALSE(IsEnabled(dlg, IDOK));
        dlg.SetDlgItemText(IDC_CAP_NUMBER, L"12");
        dlg.SetDlgItemText(IDC_CAP_DESCRIPTION, L"   ");
        dlg.SetDlgItemText(IDC_CAP_CODUEB, L"5010101");
        EXPECT_FALSE(IsEnabled(dlg, IDOK)) << "blank description";
        dlg.SetDlgItemText(IDC_CAP_DESCRIPTION, L"  Tributi  ");
        EXPECT_TRUE(IsEnabled(dlg, IDOK));
        dlg.SendMessage(WM_COMMAND, IDOK);
        EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
        EXPECT_EQ(LoadResString(IDP_UEB_ENTRATA_TITLE), boxes.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), boxes.LastIcon());
        EXPECT_EQ(dlg.GetDlgItem(IDC_CAP_CODUEB)->m_hWnd, ::GetFocus());
        dlg.SetDlgItemText(IDC_CAP_CODUEB, L"1010101");
        dlg.SendMessage(WM_COMMAND, IDOK);
        return IDCANCEL;
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(1u, boxes.Count());
    EXPECT_EQ(12, dialog.m_rec.m_ID.GetValue());
    EXPECT_EQ(CString(L"Tributi"), dialog.m_rec.m_descrizione.GetText());
    EXPECT_EQ(CString(L"1010101"), dialog.m_rec.m_codUEB.GetText());
}

TEST(ChapterDialogTest, ModifyModeKeepsTheNumber)
{
    CRecCapitolo rec;
    rec.m_ID.SetValue(7);
    rec.m_descrizione.SetText(L"Personale");
    rec.m_codUEB.SetText(L"1010101");
    CDlgCapitolo dialog(nullptr, CSetCapitoli::kindSpese, &rec);
    CModalDialogDriver driver([&](CDialog& dlg) -> INT_PTR {
        EXPECT_TRUE(dlg.GetDlgItem(IDC_CAP_NUMBER)->GetStyle() & ES_READONLY);
        EXPECT_EQ(CString(L"7"), ItemText(dlg, IDC_CAP_NUMBER));
        EXPECT_TRUE(IsEnabled(dlg, IDOK));
        dlg.SetDlgItemText(IDC_CAP_DESCRIPTION, L"Personale di ruolo");
        dlg.SendMessage(WM_COMMAND, IDOK);
        return IDCANCEL;
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(7, dialog.m_rec.m_ID.GetValue());
    EXPECT_EQ(CString(L"Personale di ruolo"), dialog.m_rec.m_descrizione.GetText());
}

class ChapterListTest : public CDataTestArchive
{
protected:
    void SetUp() override
    {
        CDataTestArchive::SetUp();
        Execute(L"INSERT INTO CapEntrate (ID, descrizione, codUEB) VALUES (3, 'Tributi', '1010101')");
        Execute(L"INSERT INTO CapEntrate (ID, descrizione, codUEB) VALUES (1, 'Contributi', '2010101')");
        Execute(L"INSERT INTO CapEntrate (ID, descrizione, codUEB) VALUES (2, 'Vendite', '3010101')");
        Execute(L"INSERT INTO Responsabili (responsabile, centroServ) VALUES ('Rossi', 'Tributi')");
        long nResp = ScalarLong(L"SELECT MAX(ID) FROM Responsabili");
        CString sql;
        for (int nChapter : {1, 3}) {
            sql.Format(L"INSERT INTO ExtraEntrCap (idResp, codUEB, capitolo, importoComp) "
                       L"SELECT %d, codUEB, ID, 100 FROM CapEntrate WHERE ID = %d", static_cast<int>(nResp), nChapter);
            Execute(sql);
        }
    }

    // Runs dialog 234 on the revenue chapters: listHandler works the list dialog, chapterHandler each chapter
    // dialog it opens.
    INT_PTR RunList(const std::function<void(CDialog&)>& listHandler,
                    const std::function<INT_PTR(CDialog&)>& chapterHandler = nullptr)
    {
        CDlgCapitoli dialog(nullptr, m_data, CSetCapitoli::kindEntrate);
        CModalDialogDriver driver([&](CDialog& dlg) -> INT_PTR {
            if (dynamic_cast<CDlgCapitolo*>(&dlg))
                return chapterHandler(dlg);
            listHandler(dlg);
            return IDCANCEL;
        });
        INT_PTR nResult = dialog.DoModal();
        m_result = dialog.m_recResult;
        return nResult;
    }

    static CListCtrl& List(CDialog& dlg) { return *static_cast<CListCtrl*>(dlg.GetDlgItem(IDC_ITEM_LIST)); }
    // Exactly these items.
    static void Select(CDialog& dlg, std::initializer_list<int> items)
    {
        ListView_SetItemState(dlg.GetDlgItem(IDC_ITEM_LIST)->m_hWnd, -1, 0, LVIS_SELECTED);
        for (int nItem : items)
            ListView_SetItemState(dlg.GetDlgItem(IDC_ITEM_LIST)->m_hWnd, nItem, LVIS_SELECTED, LVIS_SELECTED);
    }
    static CString Cell(CDialog& dlg, int nItem, int nSubItem)
    {
        WCHAR szText[256] = {};
        ListView_GetItemText(dlg.GetDlgItem(IDC_ITEM_LIST)->m_hWnd, nItem, nSubItem, szText, _countof(szText));
        return szText;
    }
    static int Count(CDialog& dlg) { return ListView_GetItemCount(dlg.GetDlgItem(IDC_ITEM_LIST)->m_hWnd); }

    CRecCapitolo m_result;
};

TEST_F(ChapterListTest, ListedInNumberOrderAndOkReturnsTheChosenChapter)
{
    INT_PTR nResult = RunList([](CDialog& dlg) {
        CString strCaption;
        dlg.GetWindowText(strCaption);
        EXPECT_EQ(CString(L"Selezionare il Capitolo di Entrata e il relativo codice UEB"), strCaption);
        ASSERT_EQ(3, Count(dlg));
        EXPECT_EQ(CString(L"1"), Cell(dlg, 0, 0));
        EXPECT_EQ(CString(L"Vendite"), Cell(dlg, 1, 1));
        EXPECT_EQ(CString(L"1010101"), Cell(dlg, 2, 2));
        EXPECT_FALSE(IsEnabled(dlg, IDOK));
        EXPECT_FALSE(IsEnabled(dlg, IDC_ITEM_MODIFY));
        Select(dlg, {1, 2});
        EXPECT_FALSE(IsEnabled(dlg, IDOK));
        EXPECT_TRUE(IsEnabled(dlg, IDC_ITEM_DELETE));
        ListView_SetItemState(dlg.GetDlgItem(IDC_ITEM_LIST)->m_hWnd, 2, 0, LVIS_SELECTED);
        EXPECT_TRUE(IsEnabled(dlg, IDOK));
        dlg.SendMessage(WM_COMMAND, IDOK);
    });
    EXPECT_EQ(IDOK, nResult);
    EXPECT_EQ(2, m_result.m_ID.GetValue());
    EXPECT_EQ(CString(L"3010101"), m_result.m_codUEB.GetText());
}

TEST_F(ChapterListTest, DuplicateNumberKeepsBothDialogsOpenWithTheInput)
{
    CMessageBoxRecorder boxes;
    int nChapterDialogs = 0;
    RunList(
        [&](CDialog& dlg) {
            dlg.SendMessage(WM_COMMAND, IDC_ITEM_ADD);
            EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
            EXPECT_EQ(4, Count(dlg));
            EXPECT_EQ(CString(L"4"), Cell(dlg, 3, 0));
            EXPECT_EQ(3, ListView_GetNextItem(dlg.GetDlgItem(IDC_ITEM_LIST)->m_hWnd, -1, LVNI_SELECTED));
            CString strCancel;
            dlg.GetDlgItemText(IDCANCEL, strCancel);
            EXPECT_EQ(CString(L"Annulla"), strCancel) << "adding is no change";
        },
        [&](CDialog& dlg) -> INT_PTR {
            switch (++nChapterDialogs) {
            case 1:
                TypeChapter(dlg, L"3", L"Imposte", L"1010102");
                break;
            case 2:
                // Shown again with what was typed.
                EXPECT_EQ(CString(L"3"), ItemText(dlg, IDC_CAP_NUMBER));
                EXPECT_EQ(CString(L"Imposte"), ItemText(dlg, IDC_CAP_DESCRIPTION));
                EXPECT_FALSE(dlg.GetDlgItem(IDC_CAP_NUMBER)->GetStyle() & ES_READONLY);
                TypeChapter(dlg, L"4", L"Imposte", L"1010102");
                break;
            }
            return IDCANCEL;
        });
    EXPECT_EQ(2, nChapterDialogs);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(FormatResMessage(IDP_CAPITOLO_DUPLICATE, L"Entrata", 3), boxes.Last().text);
    EXPECT_EQ(CString(L"Tributi"), CString(static_cast<LPCWSTR>(_bstr_t(Scalar(L"SELECT descrizione FROM CapEntrate WHERE ID = 3")))));
    EXPECT_EQ(4, ScalarLong(L"SELECT COUNT(*) FROM CapEntrate"));
}

TEST_F(ChapterListTest, ChangeAndDeleteCascadeToTheResponsiblesLines)
{
    CMessageBoxRecorder boxes(IDYES);
    RunList(
        [&](CDialog& dlg) {
            Select(dlg, {0});
            dlg.SendMessage(WM_COMMAND, IDC_ITEM_MODIFY);
            EXPECT_EQ(CString(L"2010109"), Cell(dlg, 0, 2));
            CString strCancel;
            dlg.GetDlgItemText(IDCANCEL, strCancel);
            EXPECT_EQ(CString(L"Chiudi"), strCancel);
            Select(dlg, {1, 2});
            dlg.SendMessage(WM_COMMAND, IDC_ITEM_DELETE);
            ASSERT_EQ(1, Count(dlg));
            EXPECT_EQ(CString(L"1"), Cell(dlg, 0, 0));
        },
        [&](CDialog& dlg) -> INT_PTR {
            EXPECT_TRUE(dlg.GetDlgItem(IDC_CAP_NUMBER)->GetStyle() & ES_READONLY);
            dlg.SetDlgItemText(IDC_CAP_CODUEB, L"2010109");
            dlg.SendMessage(WM_COMMAND, IDOK);
            return IDCANCEL;
        });
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ(FormatResMessage(IDP_CAPITOLO_MODIFY, L"Entrata"), boxes.Shown()[0].text);
    EXPECT_EQ(FormatResMessage(IDP_CAPITOLI_DELETE, L"Entrata"), boxes.Shown()[1].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONQUESTION | MB_YESNO), boxes.Last().type & (MB_ICONMASK | MB_TYPEMASK));
    EXPECT_EQ(1, ScalarLong(L"SELECT COUNT(*) FROM CapEntrate"));
    // Chapter 1's line follows its new code; chapter 3's line went with it.
    EXPECT_EQ(1, ScalarLong(L"SELECT COUNT(*) FROM ExtraEntrCap"));
    EXPECT_EQ(1, ScalarLong(L"SELECT COUNT(*) FROM ExtraEntrCap WHERE capitolo = 1 AND codUEB = '2010109'"));
}

TEST_F(ChapterListTest, LockedArchiveShowsTheErrorAndKeepsTheList)
{
    CADOConnection other;
    OpenConnection(other, m_dataPath, TRUE);
    other.BeginTrans();
    other.Execute(L"UPDATE CapEntrate SET descrizione = 'x' WHERE ID = 1", nullptr, adCmdText | adExecuteNoRecords);
    CMessageBoxRecorder boxes(IDYES);
    RunList([&](CDialog& dlg) {
        Select(dlg, {0, 1, 2});
        dlg.SendMessage(WM_COMMAND, IDC_ITEM_DELETE);
        EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
        EXPECT_EQ(3, Count(dlg));
        CString strCancel;
        dlg.GetDlgItemText(IDCANCEL, strCancel);
        EXPECT_EQ(CString(L"Annulla"), strCancel);
    });
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.LastIcon());
    EXPECT_FALSE(boxes.Last().text.IsEmpty());
    other.RollbackTrans();
    other.Close();
    EXPECT_EQ(3, ScalarLong(L"SELECT COUNT(*) FROM CapEntrate"));
}

} // namespace
