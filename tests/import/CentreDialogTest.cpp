#include "data/DataTestArchive.h"
#include "data/SetSettings.h"
#include "dialogs/DlgCentroServ.h"
#include "dialogs/DlgExtraImpCon.h"
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

void ChooseType(CDialog& dlg, int nType)
{
    dlg.SendDlgItemMessage(IDC_TIPO_RESP, CB_SETCURSEL, nType);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TIPO_RESP, CBN_SELENDOK),
                    reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_TIPO_RESP)->m_hWnd));
}

TEST(CentreDialogTest, TypeNamesTheHeadAndBlankNamesKeepOkDisabled)
{
    CDlgCentroServ dialog(nullptr, nullptr);
    CModalDialogDriver driver([&](CDialog& dlg) -> INT_PTR {
        EXPECT_EQ(CString(L"&Responsabile:"), ItemText(dlg, IDC_RESP_LABEL));
        EXPECT_EQ(3, dlg.SendDlgItemMessage(IDC_TIPO_RESP, CB_GETCOUNT));
        ChooseType(dlg, 1);
        EXPECT_EQ(CString(L"Caposettore:"), ItemText(dlg, IDC_RESP_LABEL));
        dlg.SetDlgItemText(IDC_CENTRO_NAME, L"  Ragioneria ");
        dlg.SetDlgItemText(IDC_RESP_NAME, L"   ");
        EXPECT_FALSE(IsEnabled(dlg, IDOK));
        dlg.SetDlgItemText(IDC_RESP_NAME, L" Bianchi");
        EXPECT_TRUE(IsEnabled(dlg, IDOK));
        dlg.SendMessage(WM_COMMAND, IDOK);
        return IDCANCEL;
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(1, dialog.m_rec.m_tipoResp.GetValue());
    EXPECT_EQ(CString(L"Ragioneria"), dialog.m_rec.m_centroServ.GetText());
    EXPECT_EQ(CString(L"Bianchi"), dialog.m_rec.m_responsabile.GetText());
}

class SettingsDialogTest : public CDataTestArchive
{
protected:
    void SetUp() override
    {
        CDataTestArchive::SetUp();
        Execute(L"INSERT INTO Responsabili (responsabile, centroServ, tipoResp) VALUES ('Verdi', 'Tributi', 2)");
        Execute(L"INSERT INTO Responsabili (responsabile, centroServ, tipoResp) VALUES ('Neri', 'Anagrafe', 0)");
        m_nTributi = ScalarLong(L"SELECT ID FROM Responsabili WHERE centroServ = 'Tributi'");
        Execute(L"INSERT INTO CapEntrate (ID, descrizione, codUEB) VALUES (1, 'Tributi', '1010101')");
        CString sql;
        sql.Format(L"INSERT INTO ExtraEntrCap (idResp, codUEB, capitolo) VALUES (%d, '1010101', 1)",
                   static_cast<int>(m_nTributi));
        Execute(sql);
    }

    INT_PTR Run(const std::function<void(CDialog&)>& handler,
                const std::function<void(CDialog&)>& centreHandler = nullptr)
    {
        CDlgExtraImpCon dialog(nullptr, m_data);
        CModalDialogDriver driver([&](CDialog& dlg) -> INT_PTR {
            if (dynamic_cast<CDlgCentroServ*>(&dlg))
                centreHandler(dlg);
            else
                handler(dlg);
            return IDCANCEL;
        });
        INT_PTR nResult = dialog.DoModal();
        m_nMode = dialog.m_nMode;
        return nResult;
    }

    static HWND List(CDialog& dlg) { return dlg.GetDlgItem(IDC_ITEM_LIST)->m_hWnd; }
    static CString Cell(CDialog& dlg, int nItem, int nSubItem)
    {
        WCHAR szText[256] = {};
        ListView_GetItemText(List(dlg), nItem, nSubItem, szText, _countof(szText));
        return szText;
    }

    long m_nTributi = 0;
    int m_nMode = -1;
};

TEST_F(SettingsDialogTest, ResultCodesFollowWhatChanged)
{
    const struct { const char* name; std::function<void(CDialog&)> work; INT_PTR expected; int nMode; } cases[] = {
        {"OK without changes", [](CDialog& dlg) { dlg.SendMessage(WM_COMMAND, IDOK); }, IDYES, 0},
        {"mode switched", [](CDialog& dlg) {
             dlg.CheckRadioButton(IDC_MODE_STRUTTURA, IDC_MODE_CAPITOLI, IDC_MODE_CAPITOLI);
             dlg.SendMessage(WM_COMMAND, IDOK);
         }, IDOK, 1},
        {"cancel", [](CDialog& dlg) { dlg.SendMessage(WM_COMMAND, IDCANCEL); }, IDCANCEL, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, Run(c.work)) << c.name;
}

TEST_F(SettingsDialogTest, ListedByCentreAndDeletingCascadesAndLeavesOnlyClose)
{
    CMessageBoxRecorder boxes(IDYES);
    INT_PTR nResult = Run([&](CDialog& dlg) {
        ASSERT_EQ(2, ListView_GetItemCount(List(dlg)));
        EXPECT_EQ(CString(L"Area"), Cell(dlg, 0, 0));
        EXPECT_EQ(CString(L"Anagrafe"), Cell(dlg, 0, 1));
        EXPECT_EQ(CString(L"Caposervizi"), Cell(dlg, 1, 2));
        EXPECT_EQ(CString(L"Verdi"), Cell(dlg, 1, 3));
        ListView_SetItemState(List(dlg), 1, LVIS_SELECTED, LVIS_SELECTED);
        dlg.SendMessage(WM_COMMAND, IDC_ITEM_DELETE);
        EXPECT_EQ(1, ListView_GetItemCount(List(dlg)));
        EXPECT_FALSE(dlg.GetDlgItem(IDOK)->GetStyle() & WS_VISIBLE);
        EXPECT_EQ(CString(L"Chiudi"), ItemText(dlg, IDCANCEL));
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(IDOK, nResult);
    ASSERT_EQ(1u, boxes.Count());
    EXPECT_EQ(LoadResString(IDP_CENTRI_DELETE), boxes.Last().text);
    EXPECT_EQ(0, ScalarLong(L"SELECT COUNT(*) FROM ExtraEntrCap"));
    EXPECT_EQ(2, ScalarLong(L"SELECT COUNT(*) FROM Responsabili"));   // the totals row and Anagrafe
}

TEST_F(SettingsDialogTest, AddAndChangeACentre)
{
    int nCentre = 0;
    INT_PTR nResult = Run(
        [&](CDialog& dlg) {
            dlg.SendMessage(WM_COMMAND, IDC_ITEM_ADD);
            ASSERT_EQ(3, ListView_GetItemCount(List(dlg)));
            EXPECT_EQ(CString(L"Settore"), Cell(dlg, 2, 0));
            EXPECT_EQ(2, ListView_GetNextItem(List(dlg), -1, LVNI_SELECTED));
            EXPECT_FALSE(dlg.GetDlgItem(IDOK)->GetStyle() & WS_VISIBLE);
            dlg.SendMessage(WM_COMMAND, IDC_ITEM_MODIFY);
            EXPECT_EQ(CString(L"Gialli"), Cell(dlg, 2, 3));
            dlg.SendMessage(WM_COMMAND, IDCANCEL);
        },
        [&](CDialog& dlg) {
            if (++nCentre == 1) {
                ChooseType(dlg, 1);
                dlg.SetDlgItemText(IDC_CENTRO_NAME, L"Polizia");
                dlg.SetDlgItemText(IDC_RESP_NAME, L"Rosa");
            }
            else {
                EXPECT_EQ(CString(L"Caposettore:"), ItemText(dlg, IDC_RESP_LABEL));
                EXPECT_EQ(CString(L"Rosa"), ItemText(dlg, IDC_RESP_NAME));
                dlg.SetDlgItemText(IDC_RESP_NAME, L"Gialli");
            }
            dlg.SendMessage(WM_COMMAND, IDOK);
        });
    EXPECT_EQ(IDOK, nResult);
    EXPECT_EQ(1, ScalarLong(L"SELECT COUNT(*) FROM Responsabili WHERE centroServ = 'Polizia' AND "
                            L"responsabile = 'Gialli' AND tipoResp = 1"));
}

TEST_F(SettingsDialogTest, LockedArchiveShowsTheErrorAndKeepsTheCentre)
{
    CADOConnection other;
    OpenConnection(other, m_dataPath, TRUE);
    other.BeginTrans();
    other.Execute(L"UPDATE Responsabili SET tipoResp = 1 WHERE ID = 0", nullptr, adCmdText | adExecuteNoRecords);
    CMessageBoxRecorder boxes(IDYES);
    INT_PTR nResult = Run([&](CDialog& dlg) {
        ListView_SetItemState(List(dlg), 0, LVIS_SELECTED, LVIS_SELECTED);
        dlg.SendMessage(WM_COMMAND, IDC_ITEM_DELETE);
        EXPECT_EQ(2, ListView_GetItemCount(List(dlg)));
        EXPECT_TRUE(dlg.GetDlgItem(IDOK)->GetStyle() & WS_VISIBLE);
        dlg.SendMessage(WM_COMMAND, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, nResult);
    ASSERT_EQ(2u, boxes.Count());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.LastIcon());
    other.RollbackTrans();
    other.Close();
    EXPECT_EQ(3, ScalarLong(L"SELECT COUNT(*) FROM Responsabili"));
}

} // namespace
