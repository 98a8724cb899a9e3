#include "ProgramCommands.h"
#include "ProgramFolder.h"

#include "app/EmptyView.h"
#include "app/MainFrm.h"
#include "app/SplashWnd.h"
#include "data/SetSettings.h"
#include "dialogs/DlgExtraImpCon.h"
#include "forms/DataView.h"
#include "views/FormTable.h"
#include "views/ViewDatiEnte.h"
#include "import/DlgImportOptions.h"
#include "platform/mfc/afxdoctempl.h"
#include "platform/mfc/afxfiledlg.h"
#include "platform/mfc/afxmapi.h"
#include "platform/mfc/afxshell.h"
#include "reports/DlgPrint.h"
#include "reports/DlgPrintRel.h"
#include "reports/DlgRappControlli.h"
#include "reports/ViewTxInput.h"
#include "reports/ViewTxPrint.h"
#include "resource.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalDialogDriver.h"
#include "support/RealInput.h"
#include "ui/commandbars/XTPHookManager.h"
#include "ui/commandbars/XTPMenuBar.h"
#include "ui/commandbars/XTPPopupBar.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/themes/TipContext.h"
#include "ui/docking/DockingPane.h"
#include "ui/docking/DockingPaneAutoHidePanel.h"
#include "ui/docking/DockingPaneAutoHideWnd.h"
#include "ui/docking/DockingPaneSplitterContainer.h"
#include "util/MessageText.h"
#include "util/PathUtil.h"
#include "util/ZipReader.h"

#include <functional>
#include <set>
#include <vector>

namespace {

// A data view that counts its loads and holds unsaved changes on request.
class CTestDataView : public CView, public CDataView
{
    DECLARE_DYNCREATE(CTestDataView)
public:
    void OnDraw(CDC*) override {}
    BOOL LoadData(const CRecordID* pItem) override
    {
        ++m_nLoads;
        m_pItem.reset(pItem ? pItem->Clone() : nullptr);
        return m_bLoads;
    }
    const CRecordID* GetRecordID() const override { return m_pItem.get(); }
    BOOL SaveData() override
    {
        ++m_nSaves;
        SetModified(FALSE);
        return TRUE;
    }

    int m_nLoads = 0;
    int m_nSaves = 0;
    BOOL m_bLoads = TRUE;
    std::unique_ptr<CRecordID> m_pItem;
};

IMPLEMENT_DYNCREATE(CTestDataView, CView)

// The main frame, hidden, on a program folder with a small tree and an archive with the centre Rossi.
class MainFrameTest : public CProgramFolderTest
{
protected:
    void SetUp() override
    {
        CProgramFolderTest::SetUp();
        MakeArchive(200);
        CTheApp& app = StartApp();
        ASSERT_TRUE(app.OpenDatabase());
        CADOConnection& prog = app.GetProgConnection();
        Execute(prog, L"DELETE FROM [Albero]");
        Execute(prog, L"INSERT INTO [Albero] VALUES (1, 11, 2, -1, '1', 'Controllo', NULL, NULL)");
        Execute(prog, L"INSERT INTO [Albero] VALUES (11, NULL, 12, 1, '1.1', 'Consuntivi', 'Cons.txd', NULL)");
        Execute(prog, L"INSERT INTO [Albero] VALUES (12, NULL, NULL, 1, '2.1', 'Modello MON/1', NULL, NULL)");
        Execute(prog, L"INSERT INTO [Albero] VALUES (2, NULL, NULL, 2, '4.1', 'Circolare', 'Circ.txd', NULL)");
        // The documents the tree, the menu and the first start open, each with a reference to the archive.
        ::CreateDirectoryW(app.GetDocDir(), nullptr);
        for (LPCTSTR pszName : {L"Cons.txd", L"Circ.txd", L"Normativa.txd", L"Circolare0808.txd"}) {
            CTextDocument doc;
            doc.AppendText(L"Imposte 2003: $[L:V;T:Entrate;R:2101;F:Anno1]$\r", CTextCharFormat());
            doc.Save(CombinePath(app.GetDocDir(), pszName), txdFormatOwn);
        }
    }

    void TearDown() override
    {
        if (m_pFrame && ::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        if (m_pApp)
            m_pApp->m_pMainWnd = nullptr;
        CProgramFolderTest::TearDown();
    }

    // The frame as the template makes it, its start-up tasks run (today's update question answered as given, No
    // at first; the dialogs they open closed and recorded).
    void CreateFrame()
    {
        CMessageBoxRecorder messages(m_nStartupAnswer);
        m_startupDialogs.clear();
        CModalDialogDriver driver([this](CDialog& dialog) -> INT_PTR {
            m_startupDialogs.push_back(dialog.GetRuntimeClass()->m_lpszClassName);
            return IDCANCEL;
        });
        m_pFrame = CreateMainFrame(*m_pApp, m_clock);
        ASSERT_NE(nullptr, m_pFrame);
        m_hFrame = m_pFrame->GetSafeHwnd();
        PumpMessages();
        m_startup = messages.Shown();
    }

    static void PumpMessages()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    CView* View() const { return m_pFrame->GetPaneView(); }
    bool ShowsStartPage() const { return View() && View()->IsKindOf(RUNTIME_CLASS(CEmptyView)); }

    CMainFrame* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    std::vector<AFX_MSGBOX_REQUEST> m_startup;
    std::vector<std::string> m_startupDialogs;
    int m_nStartupAnswer = IDNO;
    std::function<COleDateTime()> m_clock;
};

TEST_F(MainFrameTest, StartsOnTheRegulationsTextWithTheTreeAndAsksForUpdatesOnceADay)
{
    CreateFrame();
    // The first start shows the regulations text, once.
    auto* pText = dynamic_cast<CViewTxInputEx*>(View());
    ASSERT_NE(nullptr, pText);
    EXPECT_EQ(CString(L"Normativa.txd"), dynamic_cast<const CTextLongID*>(pText->GetRecordID())->GetText());
    EXPECT_TRUE(pText->GetControl().IsLocked());
    EXPECT_EQ(CString(L"Verifica Vorsa 2008"), m_pFrame->GetTitle());
    ASSERT_NE(nullptr, m_pFrame->GetTreePane());
    EXPECT_NE(nullptr, m_pFrame->GetTreePane()->GetTree(TAB_CONTROLLO).GetRootItem());
    ASSERT_EQ(1u, m_startup.size());
    EXPECT_EQ(LoadResString(IDP_WEB_CHECK_ASK), m_startup[0].text);
    EXPECT_EQ(0, m_pFrame->GetAccountingMode());
}

TEST_F(MainFrameTest, UnreadableAccountingModeFallsBackToTheBudgetStructureAndSaysWhy)
{
    CADOConnection& data = m_pApp->GetDataConnection();
    Execute(data, L"DROP TABLE [Settings]");
    CMessageBoxRecorder messages(IDNO);
    CreateFrame();
    ASSERT_NE(nullptr, m_pFrame->GetSafeHwnd());
    EXPECT_EQ(0, m_pFrame->GetAccountingMode());
    ASSERT_FALSE(m_startup.empty());
    CString strPrefix = LoadResString(IDP_ACCOUNTING_MODE_UNREAD);
    strPrefix = strPrefix.Left(strPrefix.Find(L'\n'));
    EXPECT_EQ(strPrefix, m_startup[0].text.Left(strPrefix.GetLength()));
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), m_startup[0].type & MB_ICONMASK);
}

TEST_F(MainFrameTest, EveryCommandOfTheMenuAndTheToolbarReachesAHandler)
{
    CreateFrame();
    HMENU hMenu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    ASSERT_NE(nullptr, hMenu);
    std::vector<UINT> ids = MenuCommands(hMenu);
    ::DestroyMenu(hMenu);
    std::vector<UINT> toolbar = ToolbarCommands(IDR_TOOLBAR);
    EXPECT_EQ(15u, toolbar.size());
    ids.insert(ids.end(), toolbar.begin(), toolbar.end());
    for (UINT nID : ids) {
        AFX_CMDHANDLERINFO info = {};
        EXPECT_TRUE(m_pFrame->OnCmdMsg(nID, CN_COMMAND, nullptr, &info)) << nID;
        EXPECT_FALSE(CommandName(nID).IsEmpty()) << "no prompt for " << nID;
        // The forms' range takes any id: one that reaches it has its form in either mode, or says why not.
        if (info.pEntry && info.pEntry->nID == ID_FORM_FIRST && info.pEntry->nLastID == ID_FORM_LAST &&
            !FindFormEntry(nID, FALSE) && !FindFormEntry(nID, TRUE)) {
            CMessageBoxRecorder messages(IDNO);
            m_pFrame->SendMessage(WM_COMMAND, nID);
            EXPECT_EQ(1u, messages.Count()) << "no form for " << nID;
        }
    }
}

// What a command does, as the user sees it: the message it shows, the dialog it opens, what it opens with the
// shell, and the view left in the frame.
struct CommandCase
{
    UINT nID;
    UINT nMessage;       // 0: none
    const char* pszDialog;
    LPCTSTR pszShell;
};

const CommandCase COMMAND_CASES[] = {
    { ID_FORM_MON_SALDI, IDP_NORMATIVA_IN_APPROVAZIONE, nullptr, nullptr },
    { ID_FORM_CONSUNTIVO_2008, IDP_NORMATIVA_IN_APPROVAZIONE, nullptr, nullptr },
    { ID_EXPORT_CORTE_CONTI, IDP_NORMATIVA_IN_APPROVAZIONE, nullptr, nullptr },
    { ID_EXPORT_RGS, IDP_NORMATIVA_IN_APPROVAZIONE, nullptr, nullptr },
    { ID_STAMPA_MODELLO, 0, "CDlgPrint", nullptr },
    { ID_FILE_PRINT, 0, "CDlgPrint", nullptr },
    { ID_NORMATIVA_CIRC0808, 0, nullptr, nullptr },
    { ID_AGGIORNA_WEB, 0, "CDlgUpdate", nullptr },
    { ID_RICHIESTA_INFO, 0, nullptr, L"mailto:informazioni@lumetra.example?subject=Informazioni%20per%20Vorsa%20-%20"
                                     L"Comune%20di%20...................." },
    { ID_APP_ABOUT, 0, "CDlgAbout", nullptr },
    { ID_CHIUDI_MASCHERA, 0, nullptr, nullptr },
    { 40999, 0, nullptr, nullptr },
    { ID_IMPORT_GEST, 0, "CDlgImpGest", nullptr },
    { ID_IMPORT_CERT_2004, 0, "CDlgImpCert 2004", nullptr },
    { ID_IMPOSTAZIONI_CONTABILI, 0, "CDlgExtraImpCon", nullptr },
    { ID_BACKUP_ARCHIVI, 0, "CFileDialog", nullptr },
    { ID_RESTORE_ARCHIVI, IDP_RESTORE_CONFIRM, nullptr, nullptr },
    { ID_CALCOLATRICE, 0, nullptr, L"calc.exe" },
    { ID_MANUALE, 0, nullptr, L"Manuale.pdf" },
    { ID_NORMATIVA_DM230307, 0, nullptr, L"D.M.23.03.07.pdf" },
};

std::vector<CString> g_shellTargets;

std::string DialogName(CDialog& dialog)
{
    if (dynamic_cast<CDlgPrint*>(&dialog))
        return "CDlgPrint";
    if (dynamic_cast<CDlgImpGest*>(&dialog))
        return "CDlgImpGest";
    if (auto* pCert = dynamic_cast<CDlgImpCert*>(&dialog))
        return "CDlgImpCert " + std::to_string(pCert->m_nYear);
    if (dynamic_cast<CDlgExtraImpCon*>(&dialog))
        return "CDlgExtraImpCon";
    if (dynamic_cast<CFileDialog*>(&dialog))
        return "CFileDialog";
    return dialog.GetRuntimeClass()->m_lpszClassName;
}

TEST_F(MainFrameTest, CommandsReachTheirTargets)
{
    CreateFrame();
    AFX_SHELLOPEN_HANDLER previous = AfxSetShellOpenHandler([](HWND, LPCWSTR lpszTarget, int) -> INT_PTR {
        g_shellTargets.push_back(lpszTarget);
        return 42;
    });
    for (const CommandCase& c : COMMAND_CASES) {
        SCOPED_TRACE(testing::Message() << "command " << c.nID);
        g_shellTargets.clear();
        std::vector<std::string> dialogs;
        CModalDialogDriver driver([&dialogs](CDialog& dialog) -> INT_PTR {
            dialogs.push_back(DialogName(dialog));
            return IDCANCEL;
        });
        CMessageBoxRecorder messages(IDNO);
        m_pFrame->SendMessage(WM_COMMAND, c.nID);

        if (c.nMessage == 0) {
            EXPECT_EQ(0u, messages.Count());
        }
        else {
            ASSERT_EQ(1u, messages.Count());
            EXPECT_EQ(LoadResString(c.nMessage), messages.Last().text);
        }
        EXPECT_EQ(c.pszDialog ? std::vector<std::string>{ c.pszDialog } : std::vector<std::string>{}, dialogs);
        if (c.pszShell) {
            ASSERT_EQ(1u, g_shellTargets.size());
            const CString& strTarget = g_shellTargets[0];
            if (CString(c.pszShell).Left(7) == L"mailto:") {
                EXPECT_EQ(CString(c.pszShell), strTarget.Left(CString(c.pszShell).GetLength()));
            }
            else {
                EXPECT_EQ(CString(c.pszShell), strTarget.Mid(strTarget.ReverseFind(L'\\') + 1));
            }
        }
        else {
            EXPECT_TRUE(g_shellTargets.empty());
        }
        if (c.nID == ID_NORMATIVA_CIRC0808) {
            // The law texts open in the document view; the user leaves it through the tree or a command.
            EXPECT_NE(nullptr, dynamic_cast<CViewTxInputEx*>(View()));
            m_pFrame->SendMessage(WM_COMMAND, ID_CHIUDI_MASCHERA);
        }
        EXPECT_TRUE(ShowsStartPage());
    }
    AfxSetShellOpenHandler(previous);
}

// Reads the state and the text that an update handler gives a command.
class CStateCmdUI : public CCmdUI
{
public:
    int m_nEnabled = -1;   // -1: left alone
    CString m_strText;
    void Enable(BOOL bOn) override
    {
        m_nEnabled = bOn ? 1 : 0;
        m_bEnableChanged = TRUE;
    }
    void SetText(LPCTSTR lpszText) override { m_strText = lpszText; }
};

TEST_F(MainFrameTest, CommandStatesFollowTheViewShownAndTheAccountingMode)
{
    m_clock = [] { return COleDateTime(2008, 3, 5, 23, 59, 0); };
    const struct
    {
        const char* pszWhat;
        int nMode;
        bool bForm;      // a form shown, else the start page
        UINT nID;
        int nEnabled;    // -1: left alone
        LPCTSTR pszText; // null: left alone
    } cases[] = {
        {"close on the start page", 0, false, ID_CHIUDI_MASCHERA, 0, nullptr},
        {"close on a form", 0, true, ID_CHIUDI_MASCHERA, 1, nullptr},
        {"revenues by structure", 0, false, ID_FORM_RESP_ENTRATE, -1, L"Entrate finali per l'anno 2008"},
        {"revenues by chapter", 1, false, ID_FORM_RESP_ENTRATE, -1, L"Entrate e Spese finali per l'anno 2008"},
        {"spending by structure", 0, false, ID_FORM_RESP_SPESE, 1, nullptr},
        {"spending by chapter", 1, true, ID_FORM_RESP_SPESE, 0, nullptr},
        {"date pane", 1, false, IDS_PANE_DATE, -1, L"5/03/2008"},
    };
    for (int nMode : {0, 1}) {
        CSetSettings::SetSettingImpExtraCont2(m_pApp->GetDataConnection(), nMode);
        CreateFrame();
        for (const auto& c : cases) {
            if (c.nMode != nMode)
                continue;
            SCOPED_TRACE(c.pszWhat);
            ASSERT_TRUE(m_pFrame->SwitchView(c.bForm ? RUNTIME_CLASS(CTestDataView) : nullptr, nullptr));
            CStateCmdUI state;
            state.m_nID = c.nID;
            EXPECT_TRUE(state.DoUpdate(m_pFrame, FALSE));
            EXPECT_EQ(c.nEnabled, state.m_nEnabled);
            EXPECT_EQ(CString(c.pszText ? c.pszText : L""), state.m_strText);
        }
        m_pFrame->DestroyWindow();
    }
}

// "Impostazioni contabili": what the dialog ends with decides; the mode and the centres' balances are stored in
// one transaction, and only then do the frame's mode and the tree's centres follow.
TEST_F(MainFrameTest, AccountingSettingsStoreTheModeWithTheCentresBalancesOrNothing)
{
    CADOConnection& prog = m_pApp->GetProgConnection();
    Execute(prog, L"UPDATE [Albero] SET [idFratello] = 13 WHERE [idNodo] = 12");
    Execute(prog, L"INSERT INTO [Albero] VALUES (13, NULL, NULL, 0, '5.2', 'Centri', NULL, NULL)");
    CADOConnection& data = m_pApp->GetDataConnection();
    // A stale total that the centres' balances recompute.
    Execute(data, L"UPDATE [SaldoFinCalc] SET [Anno4Com] = 999 WHERE [ID] = 2104 AND [idResp] = 0");
    CreateFrame();
    auto treeShows = [&](const CString& strText) {
        CCtlAlbero* pTree = m_pFrame->GetTreePane();
        for (HTREEITEM hItem = nullptr; pTree && (hItem = pTree->GetNextLeaf(TAB_CONTROLLO, hItem, false)) != nullptr;)
            if (pTree->GetTree(TAB_CONTROLLO).GetItemText(hItem) == strText)
                return true;
        return false;
    };
    ASSERT_TRUE(treeShows(L"Rossi - Ragioneria"));
    const struct
    {
        const char* pszWhat;
        bool bBreakRecalc;   // the centres' balances cannot be written
        UINT nButton;
        int nChosenMode;
        int nMode;           // stored and the frame's, after
        bool bRecomputed;
        bool bTreeRebuilt;
        UINT nIcon;          // of the message shown; 0: none
    } steps[] = {
        {"cancel", false, IDCANCEL, 1, 0, false, false, 0},
        {"OK without a change", false, IDOK, 0, 0, false, false, 0},
        {"mode switched", false, IDOK, 1, 1, true, true, 0},
        // The list's changes are in the archive whatever became of the mode: the tree shows them.
        {"recomputation fails", true, IDOK, 0, 1, false, true, MB_ICONERROR},
    };
    int nStep = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.pszWhat);
        if (step.bBreakRecalc)
            Execute(data, L"DROP TABLE [SaldoFinCalc]");
        // A centre that the dialog's list does not show: the tree lists it once rebuilt.
        const CString strCentre = FormatString(L"Centro%d", ++nStep);
        CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
            Execute(data, FormatString(L"INSERT INTO [Responsabili] ([responsabile], [centroServ]) VALUES ('%s', 'C')",
                                       strCentre.GetString()));
            dialog.CheckRadioButton(IDC_MODE_STRUTTURA, IDC_MODE_CAPITOLI,
                                    step.nChosenMode ? IDC_MODE_CAPITOLI : IDC_MODE_STRUTTURA);
            dialog.SendMessage(WM_COMMAND, step.nButton);
            return IDCANCEL;
        });
        CMessageBoxRecorder messages;
        m_pFrame->SendMessage(WM_COMMAND, ID_IMPOSTAZIONI_CONTABILI);
        EXPECT_EQ(1, driver.Shown());
        EXPECT_EQ(step.nMode, CSetSettings::GetSettingImpExtraCont2(data));
        EXPECT_EQ(step.nMode, m_pFrame->GetAccountingMode());
        if (!step.bBreakRecalc) {
            EXPECT_EQ(step.bRecomputed ? 0.0 : 999.0, static_cast<double>(Scalar(
                data, L"SELECT [Anno4Com] FROM [SaldoFinCalc] WHERE [ID] = 2104 AND [idResp] = 0")));
        }
        EXPECT_EQ(step.bTreeRebuilt, treeShows(strCentre + L" - C"));
        if (step.nIcon) {
            ASSERT_EQ(1u, messages.Count());
            EXPECT_EQ(step.nIcon, messages.LastIcon());
        } else {
            EXPECT_EQ(0u, messages.Count());
        }
        EXPECT_TRUE(ShowsStartPage());
    }
}

// A restored archive of the other accounting mode and with other centres: the frame's mode and the tree's centres
// are those of the restored archive as soon as the restore is reported.
TEST_F(MainFrameTest, RestoreOfAnotherArchiveIsFollowedByTheModeAndTheCentres)
{
    CTheApp& app = *m_pApp;
    CADOConnection& prog = app.GetProgConnection();
    Execute(prog, L"UPDATE [Albero] SET [idFratello] = 3 WHERE [idNodo] = 2");
    Execute(prog, L"INSERT INTO [Albero] VALUES (3, 31, NULL, -1, '5', 'Centri', NULL, NULL)");
    Execute(prog, L"INSERT INTO [Albero] VALUES (31, NULL, NULL, NULL, '5.2', 'Per centro', NULL, NULL)");
    // The backup: analytic accounting by chapters, the centre Verdi alone.
    CADOConnection& data = app.GetDataConnection();
    CSetSettings::SetSettingImpExtraCont2(data, 1);
    Execute(data, L"INSERT INTO [Responsabili] ([responsabile], [centroServ]) VALUES ('Verdi', 'Tributi')");
    Execute(data, L"DELETE FROM [Responsabili] WHERE [responsabile] = 'Rossi'");
    EnsureFolder(app.GetBackupDir());
    CString strZip = CombinePath(app.GetBackupDir(), L"altro.zip");
    ASSERT_TRUE(app.WriteBackup(strZip));
    // The archive in use: by budget structure, the centre Rossi alone.
    CSetSettings::SetSettingImpExtraCont2(data, 0);
    Execute(data, L"DELETE FROM [Responsabili] WHERE [responsabile] = 'Verdi'");
    Execute(data, L"INSERT INTO [Responsabili] ([responsabile], [centroServ]) VALUES ('Rossi', 'Ragioneria')");

    CreateFrame();
    CCtlAlbero* pTree = m_pFrame->GetTreePane();
    ASSERT_NE(nullptr, pTree);
    auto centres = [&] {
        std::set<CString> leaves;
        for (HTREEITEM hItem = nullptr; (hItem = pTree->GetNextLeaf(TAB_CONTROLLO, hItem, false)) != nullptr;) {
            const CNodoAlbero* pNode = pTree->GetItemData(TAB_CONTROLLO, hItem);
            if (pNode && pNode->m_bCentro)
                leaves.insert(pTree->GetTree(TAB_CONTROLLO).GetItemText(hItem));
        }
        return leaves;
    };
    ASSERT_EQ(0, m_pFrame->GetAccountingMode());
    ASSERT_EQ(std::set<CString>{ L"Rossi - Ragioneria" }, centres());

    CMessageBoxRecorder messages(IDYES);
    CModalDialogDriver driver([&strZip](CDialog& dialog) -> INT_PTR {
        lstrcpynW(static_cast<CFileDialog&>(dialog).m_ofn.lpstrFile, strZip, MAX_PATH);
        return IDOK;
    });
    m_pFrame->SendMessage(WM_COMMAND, ID_RESTORE_ARCHIVI);
    ASSERT_EQ(2u, messages.Count());
    EXPECT_EQ(LoadResString(IDP_RESTORE_DONE), messages.Last().text);
    EXPECT_EQ(1, m_pFrame->GetAccountingMode());
    EXPECT_EQ(std::set<CString>{ L"Verdi - Tributi" }, centres());
}

// Every document that a command opens is in the program folder the build assembles: on a program folder holding
// the shipped documents each command shows its document, or hands an existing file to the shell.
TEST_F(MainFrameTest, EveryDocumentThatACommandOpensIsShipped)
{
    const CString strShipped = ShippedProgramFolder();
    WIN32_FIND_DATAW found = {};
    HANDLE hFind = ::FindFirstFileW(strShipped + L"\\Doc\\*.*", &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFind) << "the program folder is not built";
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ASSERT_TRUE(::CopyFileW(strShipped + L"\\Doc\\" + found.cFileName,
                                    CombinePath(m_pApp->GetDocDir(), found.cFileName), FALSE));
        }
    } while (::FindNextFileW(hFind, &found));
    ::FindClose(hFind);
    CreateFrame();
    AFX_SHELLOPEN_HANDLER previous = AfxSetShellOpenHandler([](HWND, LPCWSTR lpszTarget, int) -> INT_PTR {
        g_shellTargets.push_back(lpszTarget);
        return 42;
    });
    const UINT commands[] = { ID_NORMATIVA_FINANZIARIA, ID_NORMATIVA_CIRC1207, ID_NORMATIVA_CIRC0808,
                              ID_NORMATIVA_DM230307, ID_MANUALE, ID_AGGIORNA_WEB };
    for (UINT nID : commands) {
        SCOPED_TRACE(testing::Message() << "command " << nID);
        g_shellTargets.clear();
        CModalDialogDriver driver([](CDialog&) -> INT_PTR { return IDC_UPD_PREPARA_FAX; });
        CMessageBoxRecorder messages(IDNO);
        m_pFrame->SendMessage(WM_COMMAND, nID);
        EXPECT_EQ(0u, messages.Count()) << (messages.Count() ? messages.Last().text.ToMultiByte(CP_UTF8) : "");
        if (g_shellTargets.empty()) {
            auto* pDocument = dynamic_cast<CViewTxInput*>(View());
            ASSERT_NE(nullptr, pDocument);
            const auto* pItem = dynamic_cast<const CTextLongID*>(pDocument->GetRecordID());
            ASSERT_NE(nullptr, pItem);
            EXPECT_TRUE(FileExists(strShipped + L"\\Doc\\" + pItem->GetText())) << pItem->GetText();
            m_pFrame->SendMessage(WM_COMMAND, ID_CHIUDI_MASCHERA);
        }
        else {
            // The manual lies beside the program; the test program is elsewhere.
            const CString strName = GetPathFileName(g_shellTargets[0]);
            const CString strPath = strName == L"Manuale.pdf" ? strShipped + L"\\" + strName : g_shellTargets[0];
            EXPECT_TRUE(FileExists(strPath)) << strPath;
        }
    }
    AfxSetShellOpenHandler(previous);
}

TEST_F(MainFrameTest, DatiEnteOpensTheAuthorityDataForm)
{
    CreateFrame();
    CMessageBoxRecorder messages;
    m_pFrame->SendMessage(WM_COMMAND, ID_DATI_ENTE);
    EXPECT_EQ(0u, messages.Count());
    ASSERT_NE(nullptr, View());
    EXPECT_TRUE(View()->IsKindOf(RUNTIME_CLASS(CViewDatiEnte)));
}

TEST_F(MainFrameTest, PrintCommandChecksTheBalancesThenAsksWhatToPrint)
{
    CreateFrame();
    // The centres' totals differ from the forecast: the report comes first, the print question after it.
    Execute(m_pApp->GetDataConnection(), L"INSERT INTO [SaldoFinProg] ([ID], [Anno4Cas]) VALUES (201, 5)");
    std::vector<std::string> dialogs;
    CModalDialogDriver driver([&dialogs](CDialog& dialog) -> INT_PTR {
        dialogs.push_back(dynamic_cast<CDlgRappControlli*>(&dialog) ? "CDlgRappControlli" : DialogName(dialog));
        if (auto* pPrint = dynamic_cast<CDlgPrint*>(&dialog)) {
            pPrint->m_nFormSet = 1;   // the official forms
            return IDOK;
        }
        return IDCANCEL;
    });
    CMessageBoxRecorder messages;
    m_pFrame->SendMessage(WM_COMMAND, ID_STAMPA_MODELLO);
    EXPECT_EQ((std::vector<std::string>{"CDlgRappControlli", "CDlgPrint"}), dialogs);
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(LoadResString(IDP_NORMATIVA_IN_APPROVAZIONE), messages.Last().text);
    EXPECT_TRUE(ShowsStartPage());
}

TEST_F(MainFrameTest, PrintOfTheControlFormsGathersEveryReportOfTheTreeOutOfSight)
{
    CreateFrame();
    m_pFrame->ShowWindow(SW_SHOWNOACTIVATE);
    CCtlAlbero* pTree = m_pFrame->GetTreePane();
    ASSERT_NE(nullptr, pTree);
    const struct
    {
        int nExtent;
        LPCTSTR pszTicked;   // the leaf ticked, if any
        int nDocuments;      // gathered, a page break between two
    } cases[] = {
        // The report leaf and the document leaf; the form awaiting its rules adds nothing.
        {0, nullptr, 2},
        {1, nullptr, 0},
        {1, L"Circolare", 1},
        {0, L"Circolare", 2},
    };
    for (const auto& c : cases) {
        for (HTREEITEM hItem = nullptr; (hItem = pTree->GetNextLeaf(TAB_CONTROLLO, hItem, false)) != nullptr;) {
            const bool bTick = c.pszTicked && pTree->GetTree(TAB_CONTROLLO).GetItemText(hItem) == c.pszTicked;
            TreeView_SetItemState(pTree->GetTree(TAB_CONTROLLO).m_hWnd, hItem, INDEXTOSTATEIMAGEMASK(bTick ? 2 : 1),
                                  TVIS_STATEIMAGEMASK);
        }
        std::vector<std::string> dialogs;
        CString text;
        bool bFrameVisible = true;
        CModalDialogDriver driver([&](CDialog& dialog) -> INT_PTR {
            dialogs.push_back(DialogName(dialog));
            if (auto* pPrint = dynamic_cast<CDlgPrint*>(&dialog)) {
                pPrint->m_nFormSet = 0;
                pPrint->m_nExtent = c.nExtent;
                return IDOK;
            }
            if (auto* pPrintRel = dynamic_cast<CDlgPrintRel*>(&dialog)) {
                text = pPrintRel->GetControl().GetDocument().GetText();
                bFrameVisible = m_pFrame->IsWindowVisible() != FALSE;
            }
            return IDCANCEL;
        });
        CMessageBoxRecorder messages;
        m_pFrame->SendMessage(WM_COMMAND, ID_STAMPA_MODELLO);
        ASSERT_EQ(2u, dialogs.size());
        EXPECT_FALSE(bFrameVisible);
        // Each document filled from the archive, the next one right after its page break.
        const CString strFilled = L"Imposte 2003: 100,00";
        int nFound = 0;
        int nBreaks = 0;
        for (int p = text.Find(strFilled); p >= 0; p = text.Find(strFilled, p + 1)) {
            EXPECT_TRUE(p == 0 || text[p - 1] == L'\x0C') << c.nExtent << " " << nFound;
            ++nFound;
        }
        for (int p = text.Find(L'\x0C'); p >= 0; p = text.Find(L'\x0C', p + 1))
            ++nBreaks;
        EXPECT_EQ(c.nDocuments, nFound) << c.nExtent;
        EXPECT_EQ(std::max(0, c.nDocuments - 1), nBreaks) << c.nExtent;
        EXPECT_EQ(0u, messages.Count());
        EXPECT_TRUE(m_pFrame->IsWindowVisible());
        EXPECT_TRUE(ShowsStartPage());
    }
}

// The manual ships beside the program module, the decree among the documents of the program folder; here the
// test's program folder is not the module's folder, so each path shows where it was taken from.
TEST_F(MainFrameTest, ShellDocumentsOpenFromTheirOwnFolders)
{
    CreateFrame();
    TCHAR szModule[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
    const struct { UINT nID; CString strPath; } cases[] = {
        {ID_MANUALE, CombinePath(GetPathDir(szModule), L"Manuale.pdf")},
        {ID_NORMATIVA_DM230307, CombinePath(m_pApp->GetDocDir(), L"D.M.23.03.07.pdf")},
    };
    ASSERT_NE(0, GetPathDir(szModule).CompareNoCase(m_pApp->GetDocDir()));
    AFX_SHELLOPEN_HANDLER previous = AfxSetShellOpenHandler([](HWND, LPCWSTR lpszTarget, int) -> INT_PTR {
        g_shellTargets.push_back(lpszTarget);
        return 42;
    });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nID);
        g_shellTargets.clear();
        CMessageBoxRecorder messages;
        m_pFrame->SendMessage(WM_COMMAND, c.nID);
        EXPECT_EQ(std::vector<CString>{c.strPath}, g_shellTargets);
        EXPECT_EQ(0u, messages.Count());
    }
    AfxSetShellOpenHandler(previous);
}

TEST_F(MainFrameTest, ShellFailureShowsTheSystemError)
{
    CreateFrame();
    AFX_SHELLOPEN_HANDLER previous = AfxSetShellOpenHandler([](HWND, LPCWSTR, int) -> INT_PTR {
        ::SetLastError(ERROR_FILE_NOT_FOUND);
        return SE_ERR_FNF;
    });
    CMessageBoxRecorder messages;
    m_pFrame->SendMessage(WM_COMMAND, ID_MANUALE);
    AfxSetShellOpenHandler(previous);
    ASSERT_EQ(1u, messages.Count());
    EXPECT_EQ(GetSystemErrorText(ERROR_FILE_NOT_FOUND), messages.Last().text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), messages.LastIcon());
}

namespace {

// What the mail program was handed.
struct SentMail
{
    int nLogons = 0;
    int nLogoffs = 0;
    FLAGS flags = 0;
    std::string subject;
    std::string text;
    std::vector<std::pair<ULONG, std::string>> recipients;   // class, "name <address>"
    std::vector<std::pair<std::string, std::string>> files;  // path, name
    bool bArchiveOpen = true;
};

SentMail g_mail;
CTheApp* g_pMailApp = nullptr;

ULONG WINAPI FakeLogon(ULONG_PTR, LPSTR, LPSTR, FLAGS, ULONG, LPLHANDLE plhSession)
{
    ++g_mail.nLogons;
    *plhSession = 7;
    return SUCCESS_SUCCESS;
}

ULONG WINAPI FakeSendMail(LHANDLE, ULONG_PTR, lpMapiMessage pMessage, FLAGS flags, ULONG)
{
    g_mail.flags = flags;
    g_mail.subject = pMessage->lpszSubject;
    g_mail.text = pMessage->lpszNoteText;
    for (ULONG i = 0; i < pMessage->nRecipCount; ++i) {
        const MapiRecipDesc& recipient = pMessage->lpRecips[i];
        g_mail.recipients.emplace_back(recipient.ulRecipClass,
                                       std::string(recipient.lpszName) + " <" + recipient.lpszAddress + ">");
    }
    for (ULONG i = 0; i < pMessage->nFileCount; ++i)
        g_mail.files.emplace_back(pMessage->lpFiles[i].lpszPathName, pMessage->lpFiles[i].lpszFileName);
    g_mail.bArchiveOpen = g_pMailApp->GetDataConnection().IsOpen();
    return SUCCESS_SUCCESS;
}

ULONG WINAPI FakeLogoff(LHANDLE lhSession, ULONG_PTR, FLAGS, ULONG)
{
    g_mail.nLogoffs += lhSession == 7 ? 1 : 100;
    return SUCCESS_SUCCESS;
}

} // namespace

TEST_F(MainFrameTest, SupportRequestMailsTodaysBackupOfTheArchive)
{
    CADOConnection& data = m_pApp->GetDataConnection();
    Execute(data, L"INSERT INTO [DatiEnte] ([ID], [value]) VALUES ('ENTE', 'Comune di Forl\u00ec')");
    Execute(data, L"INSERT INTO [DatiEnte] ([ID], [value]) VALUES ('PROV', 'FC')");
    Execute(data, L"INSERT INTO [DatiEnte] ([ID], [value]) VALUES ('TEL', '')");
    m_clock = [] { return COleDateTime(2008, 3, 27, 10, 30, 0); };
    CreateFrame();
    WCHAR szTemp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, szTemp);
    const CString strZip = CombinePath(szTemp, L"2008.03.27.zip");
    ::DeleteFileW(strZip);

    g_mail = SentMail();
    g_pMailApp = m_pApp.get();
    const MAPI_ENTRY_POINTS fake = { &FakeLogon, &FakeSendMail, &FakeLogoff };
    const MAPI_ENTRY_POINTS* previous = AfxSetMapiEntryPoints(&fake);
    CMessageBoxRecorder messages;
    m_pFrame->SendMessage(WM_COMMAND, ID_RICHIESTA_ASSISTENZA);
    AfxSetMapiEntryPoints(previous);

    EXPECT_EQ(0u, messages.Count());
    EXPECT_EQ(1, g_mail.nLogons);
    EXPECT_EQ(1, g_mail.nLogoffs);
    EXPECT_EQ(static_cast<FLAGS>(MAPI_DIALOG), g_mail.flags);
    EXPECT_EQ("Assistenza per Vorsa Vers. 2.01 - Comune di Forl\xec", g_mail.subject);
    EXPECT_EQ("Richiesta Assistenza:\n\n...............................\n\n\n\n\nComune di Forl\xec\n\nProvincia FC\n\n"
              "Riferimento .............................\n\n\n\n\nTel. ....................\n\n"
              "Fax ....................\n\ne-mail ....................\n",
              g_mail.text);
    EXPECT_EQ((std::vector<std::pair<ULONG, std::string>>{
                  { MAPI_TO, "Supporto tecnico Lumetra Solutions <SMTP:assistenza@lumetra.example>" } }),
              g_mail.recipients);
    EXPECT_EQ((std::vector<std::pair<std::string, std::string>>{ { strZip.ToMultiByte(CP_ACP), "2008.03.27.zip" } }),
              g_mail.files);
    EXPECT_TRUE(g_mail.bArchiveOpen) << "the databases were not open again when the mail left";
    EXPECT_TRUE(ShowsStartPage());

    // The zip holds the archive.
    ZipHandle hz = OpenZip(strZip, 0, ZIP_FILENAME);
    ASSERT_NE(nullptr, hz) << "no backup zip";
    ZipEntry entry = {};
    GetZipItem(hz, -1, &entry);
    std::string archive;
    for (int i = 0, n = entry.index; i < n; ++i) {
        ASSERT_EQ(ZR_OK, GetZipItem(hz, i, &entry));
        if (CString(entry.name).Right(4) != L".mdb")
            continue;
        std::string buffer(65536, '\0');
        while (UnzipItem(hz, i, &buffer[0], buffer.size(), ZIP_MEMORY) == ZR_MORE)
            archive += buffer;
        archive += buffer.substr(0, static_cast<size_t>(entry.unc_size) - archive.size());
    }
    CloseUnzip(hz);
    EXPECT_GT(archive.size(), 4096u);
    EXPECT_EQ("SQLite format 3", archive.substr(0, 15));
    ::DeleteFileW(strZip);
}

TEST_F(MainFrameTest, SwitchingToTheSameViewClassOnlyLoadsTheNewItem)
{
    CreateFrame();
    CTextID first(L"Entrate1.vts"), second(L"Entrate2.vts");
    ASSERT_TRUE(m_pFrame->SwitchView(RUNTIME_CLASS(CTestDataView), &first));
    auto* pView = dynamic_cast<CTestDataView*>(View());
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(m_pFrame->GetActiveView(), pView);
    ASSERT_TRUE(m_pFrame->SwitchView(RUNTIME_CLASS(CTestDataView), &second));
    EXPECT_EQ(pView, View());
    EXPECT_EQ(2, pView->m_nLoads);
    EXPECT_TRUE(pView->GetRecordID()->IsEqual(&second));

    // A view that cannot load its item answers FALSE; the callers then show the start page.
    pView->m_bLoads = FALSE;
    EXPECT_FALSE(m_pFrame->SwitchView(RUNTIME_CLASS(CTestDataView), &first));
    EXPECT_TRUE(m_pFrame->SwitchView(nullptr, nullptr));
    EXPECT_TRUE(ShowsStartPage());
}

TEST_F(MainFrameTest, SaveQuestionDecidesWhetherTheFrameCloses)
{
    CreateFrame();
    CTextID item(L"Entrate1.vts");
    ASSERT_TRUE(m_pFrame->SwitchView(RUNTIME_CLASS(CTestDataView), &item));
    auto* pView = dynamic_cast<CTestDataView*>(View());
    ASSERT_NE(nullptr, pView);
    pView->SetModified(TRUE);
    {
        CMessageBoxRecorder messages(IDCANCEL);
        m_pFrame->SendMessage(WM_CLOSE);
        ASSERT_EQ(1u, messages.Count());
        EXPECT_EQ(LoadResString(IDP_SAVE_CHANGES), messages.Last().text);
        EXPECT_EQ(static_cast<UINT>(MB_YESNOCANCEL), messages.LastButtons());
    }
    ASSERT_TRUE(::IsWindow(m_hFrame)) << "Cancel keeps the program running";
    EXPECT_EQ(pView, View());
    EXPECT_EQ(0, pView->m_nSaves);

    // No drops the changes: the next question is not asked for them again.
    {
        CMessageBoxRecorder messages(IDNO);
        EXPECT_TRUE(m_pFrame->SaveModifiedView(TRUE));
        EXPECT_EQ(1u, messages.Count());
        EXPECT_TRUE(m_pFrame->SaveModifiedView(TRUE));
        EXPECT_EQ(1u, messages.Count());
    }
    EXPECT_FALSE(pView->IsModified());
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(m_hFrame));
}

TEST_F(MainFrameTest, TreeSelectionsOpenTheirTargetOrTheStartPage)
{
    CreateFrame();
    CCtlAlbero* pTree = m_pFrame->GetTreePane();
    ASSERT_NE(nullptr, pTree);
    auto find = [&](LPCTSTR pszText) {
        for (HTREEITEM hItem = nullptr; (hItem = pTree->GetNextLeaf(TAB_CONTROLLO, hItem, false)) != nullptr;) {
            if (pTree->GetTree(TAB_CONTROLLO).GetItemText(hItem) == pszText)
                return hItem;
        }
        return static_cast<HTREEITEM>(nullptr);
    };
    {
        // A report leaf shows its template filled from the archive.
        CMessageBoxRecorder messages;
        pTree->SelectTreeItem(TAB_CONTROLLO, find(L"Consuntivi"));
        EXPECT_EQ(0u, messages.Count());
        auto* pReport = dynamic_cast<CViewTxPrint*>(View());
        ASSERT_NE(nullptr, pReport);
        EXPECT_EQ(0, pReport->GetControl().GetDocument().Find(L"Imposte 2003: 100,00", 0));
    }
    {
        // A form awaiting its rules says so only while the frame is shown (the print dialog walks a hidden one).
        CMessageBoxRecorder messages;
        pTree->SelectTreeItem(TAB_CONTROLLO, find(L"Modello MON/1"));
        EXPECT_EQ(0u, messages.Count());
        EXPECT_TRUE(ShowsStartPage());
    }
    {
        // A modified view vetoes the selection when the user cancels the save question.
        CTextID item(L"Entrate1.vts");
        ASSERT_TRUE(m_pFrame->SwitchView(RUNTIME_CLASS(CTestDataView), &item));
        dynamic_cast<CTestDataView*>(View())->SetModified(TRUE);
        HTREEITEM hBefore = pTree->GetTree(TAB_CONTROLLO).GetSelectedItem();
        CMessageBoxRecorder messages(IDCANCEL);
        pTree->SelectTreeItem(TAB_CONTROLLO, find(L"Circolare"));
        EXPECT_EQ(1u, messages.Count());
        EXPECT_EQ(hBefore, pTree->GetTree(TAB_CONTROLLO).GetSelectedItem());
        EXPECT_TRUE(View()->IsKindOf(RUNTIME_CLASS(CTestDataView)));
        dynamic_cast<CTestDataView*>(View())->SetModified(FALSE);
    }
}

} // namespace

namespace {

const LPCTSTR TEST_REGISTRY_KEY = L"Quarzel08 Prova";

// The frame with a profile of its own in the registry, removed before and after.
class FrameProfileTest : public MainFrameTest
{
protected:
    void SetUp() override
    {
        MainFrameTest::SetUp();
        DeleteProfile();
        m_pApp->SetRegistryKey(TEST_REGISTRY_KEY);
    }

    void TearDown() override
    {
        MainFrameTest::TearDown();
        DeleteProfile();
    }

    static void DeleteProfile()
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, CString(L"Software\\") + TEST_REGISTRY_KEY);
    }

    // The saved layout, key by key and value by value ("" when there is none).
    std::string SavedLayout()
    {
        HKEY hKey = m_pApp->GetSectionKey(L"DockingPaneLayouts", KEY_READ);
        if (!hKey)
            return std::string();
        std::string dump;
        DumpKey(hKey, L"NormalLayout", dump);
        ::RegCloseKey(hKey);
        return dump;
    }

    static void DumpKey(HKEY hParent, LPCWSTR pszName, std::string& dump)
    {
        HKEY hKey = nullptr;
        if (::RegOpenKeyExW(hParent, pszName, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return;
        dump += "[" + CString(pszName).ToMultiByte(CP_UTF8) + "]";
        WCHAR szName[256];
        BYTE data[4096];
        for (DWORD i = 0;; ++i) {
            DWORD cchName = 256, cbData = sizeof(data);
            if (::RegEnumValueW(hKey, i, szName, &cchName, nullptr, nullptr, data, &cbData) != ERROR_SUCCESS)
                break;
            dump += CString(szName).ToMultiByte(CP_UTF8) + "=" + std::string(reinterpret_cast<char*>(data), cbData) + ";";
        }
        for (DWORD i = 0;; ++i) {
            DWORD cchName = 256;
            if (::RegEnumKeyExW(hKey, i, szName, &cchName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            DumpKey(hKey, szName, dump);
        }
        ::RegCloseKey(hKey);
    }

    CXTPDockingPane* TreePane() { return m_pFrame->GetDockingPaneManager().FindPane(CMainFrame::IDW_TREE_PANE); }

    void Restart()
    {
        m_pFrame->SendMessage(WM_CLOSE);
        ASSERT_FALSE(::IsWindow(m_hFrame));
        PumpMessages();
        CreateFrame();
    }
};

// The About box once per new version (1.05 stored as 105), then the daily update question, on 27/03/2008.
TEST_F(FrameProfileTest, StartUpShowsTheAboutBoxOncePerVersionThenAsksOnceADay)
{
    const struct
    {
        int nStored;
        const char* pszLastCheck;   // null: no "LastWebChk.dat"
        int nAnswer;
        std::vector<std::string> dialogs;
        bool bAsked;
        int nStoredAfter;
    } cases[] = {
        { 0, nullptr, IDNO, { "CDlgAbout" }, true, 201 },
        { 105, "27/03/2008", IDNO, { "CDlgAbout" }, false, 201 },
        { 201, "26/03/2008", IDYES, { "CDlgUpdate" }, true, 201 },
        { 201, "31/02/2008", IDNO, {}, true, 201 },
        { 300, "27/03/2008", IDNO, {}, false, 300 },
    };
    m_clock = [] { return COleDateTime(2008, 3, 27, 9, 0, 0); };
    const CString strLastCheck = CombinePath(m_pApp->GetWebUpdDir(), L"LastWebChk.dat");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "stored " << c.nStored << ", last check "
                                        << (c.pszLastCheck ? c.pszLastCheck : "none"));
        m_pApp->WriteProfileInt(L"Settings", L"Ultima Versione", c.nStored);
        ::DeleteFileW(strLastCheck);
        if (c.pszLastCheck) {
            ::CreateDirectoryW(m_pApp->GetWebUpdDir(), nullptr);
            CFile file(strLastCheck, CFile::modeCreate | CFile::modeWrite);
            file.Write(c.pszLastCheck, static_cast<UINT>(strlen(c.pszLastCheck)));
        }
        m_nStartupAnswer = c.nAnswer;
        CreateFrame();
        EXPECT_EQ(c.dialogs, m_startupDialogs);
        EXPECT_EQ(c.bAsked ? 1u : 0u, m_startup.size());
        EXPECT_EQ(c.nStoredAfter, m_pApp->GetUltimaVersione());
        EXPECT_EQ("27/03/2008", ReadFileBytes(strLastCheck));
        m_pFrame->SendMessage(WM_CLOSE);
        PumpMessages();
    }
}

// The splash is topmost: a start-up message box, the update folder's error among them, closes it first.
TEST_F(FrameProfileTest, TheUpdateFoldersErrorClosesTheSplashFirst)
{
    m_pApp->SetUltimaVersione(9999);
    m_pApp->SetInfoNormativa(TRUE);
    // A file where the folder should be.
    CFile blocker(m_pApp->GetWebUpdDir(), CFile::modeCreate | CFile::modeWrite);
    blocker.Close();
    CSplashWnd::EnableSplashScreen(TRUE);
    CSplashWnd::ShowSplashScreen(nullptr);
    ASSERT_NE(nullptr, CSplashWnd::GetSplashWnd());
    const HWND hSplash = CSplashWnd::GetSplashWnd()->GetSafeHwnd();
    CreateFrame();
    EXPECT_EQ(nullptr, CSplashWnd::GetSplashWnd());
    CSplashWnd::HideSplashScreen();
    CSplashWnd::EnableSplashScreen(FALSE);
    ::DeleteFileW(m_pApp->GetWebUpdDir());
    ASSERT_EQ(1u, m_startup.size());
    EXPECT_EQ(UINT(MB_ICONERROR), m_startup[0].type & MB_ICONMASK);
    EXPECT_NE(hSplash, m_startup[0].owner);
    EXPECT_TRUE(m_startupDialogs.empty());
}

TEST_F(FrameProfileTest, PaneLayoutSurvivesARestart)
{
    CreateFrame();
    ASSERT_NE(nullptr, TreePane());
    EXPECT_EQ(static_cast<int>(xtpPaneDockLeft), m_pFrame->GetDockingPaneManager().GetPaneDirection(TreePane()));
    m_pFrame->GetDockingPaneManager().DockPane(TreePane(), xtpPaneDockRight, nullptr);
    Restart();
    ASSERT_NE(nullptr, TreePane());
    EXPECT_EQ(static_cast<int>(xtpPaneDockRight), m_pFrame->GetDockingPaneManager().GetPaneDirection(TreePane()));
    EXPECT_NE(nullptr, m_pFrame->GetTreePane());
}

TEST_F(FrameProfileTest, HiddenToolbarStaysHiddenAfterARestart)
{
    CreateFrame();
    auto toolbar = [&]() { return m_pFrame->GetCommandBars()->GetAt(0); };
    ASSERT_NE(nullptr, toolbar());
    EXPECT_TRUE(toolbar()->IsVisible());
    toolbar()->SetVisible(FALSE);
    Restart();
    ASSERT_NE(nullptr, toolbar());
    EXPECT_FALSE(toolbar()->IsVisibleFlag());
}

TEST_F(FrameProfileTest, TreePaneClosedForGoodComesBackAndTheStartUpTasksStillRun)
{
    CreateFrame();
    m_pFrame->GetDockingPaneManager().ClosePane(TreePane());
    Restart();
    ASSERT_NE(nullptr, TreePane());
    EXPECT_FALSE(CXTPDockingPaneManager::IsPaneClosed(TreePane()));
    ASSERT_NE(nullptr, m_pFrame->GetTreePane());
    EXPECT_NE(nullptr, m_pFrame->GetTreePane()->GetTree(TAB_CONTROLLO).GetRootItem());
}

// A damaged profile whose layout keeps the tree's pane closed with nowhere to come back to is left aside, as one
// without the pane: the frame starts on its own layout.
TEST_F(FrameProfileTest, ALayoutThatCouldNeverShowTheTreePaneIsNotApplied)
{
    CreateFrame();
    m_pFrame->GetDockingPaneManager().DockPane(TreePane(), xtpPaneDockRight, nullptr);
    m_pFrame->GetDockingPaneManager().ClosePane(TreePane());
    m_pFrame->SendMessage(WM_CLOSE);
    ASSERT_FALSE(::IsWindow(m_hFrame));
    HKEY hLayout = m_pApp->GetSectionKey(L"DockingPaneLayouts\\NormalLayout", KEY_ALL_ACCESS);
    ASSERT_NE(nullptr, hLayout);
    int nCleared = 0;
    for (int i = 0; i < 32; i++) {
        HKEY hPane = nullptr;
        if (::RegOpenKeyExW(hLayout, CString(L"Pane-") + std::to_wstring(i).c_str(), 0, KEY_ALL_ACCESS, &hPane))
            continue;
        DWORD dwID = 0, cb = sizeof(dwID);
        if (!::RegQueryValueExW(hPane, L"ID", nullptr, nullptr, reinterpret_cast<BYTE*>(&dwID), &cb) &&
            dwID == CMainFrame::IDW_TREE_PANE && !::RegDeleteValueW(hPane, L"LastHolder"))
            nCleared++;
        ::RegCloseKey(hPane);
    }
    ::RegCloseKey(hLayout);
    ASSERT_EQ(1, nCleared);
    PumpMessages();
    CreateFrame();
    ASSERT_NE(nullptr, TreePane());
    EXPECT_FALSE(CXTPDockingPaneManager::IsPaneClosed(TreePane()));
    EXPECT_EQ(static_cast<int>(xtpPaneDockLeft), m_pFrame->GetDockingPaneManager().GetPaneDirection(TreePane()));
}

// A saved layout whose top container lost the tree's holder (its count cut from 2 to 1, the tree docked right)
// is refused as a damaged one: the frame starts on its own layout, and the next start finds the tree again.
TEST_F(FrameProfileTest, ALayoutThatHoldsTheTreePaneInNoShownContainerIsNotApplied)
{
    CreateFrame();
    m_pFrame->GetDockingPaneManager().DockPane(TreePane(), xtpPaneDockRight, nullptr);
    m_pFrame->SendMessage(WM_CLOSE);
    ASSERT_FALSE(::IsWindow(m_hFrame));
    HKEY hLayout = m_pApp->GetSectionKey(L"DockingPaneLayouts\\NormalLayout", KEY_ALL_ACCESS);
    ASSERT_NE(nullptr, hLayout);
    DWORD dwTop = 0, cb = sizeof(dwTop);
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(hLayout, L"Summary", L"TopContainer", RRF_RT_REG_DWORD, nullptr, &dwTop, &cb));
    HKEY hTop = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, ::RegOpenKeyExW(hLayout, CString(L"Pane-") + std::to_wstring(dwTop).c_str(), 0,
                                             KEY_ALL_ACCESS, &hTop));
    DWORD dwPanes = 0;
    cb = sizeof(dwPanes);
    EXPECT_EQ(ERROR_SUCCESS, ::RegQueryValueExW(hTop, L"Panes", nullptr, nullptr, reinterpret_cast<BYTE*>(&dwPanes), &cb));
    EXPECT_EQ(2u, dwPanes);
    dwPanes = 1;
    EXPECT_EQ(ERROR_SUCCESS, ::RegSetValueExW(hTop, L"Panes", 0, REG_DWORD, reinterpret_cast<BYTE*>(&dwPanes), sizeof(dwPanes)));
    ::RegCloseKey(hTop);
    ::RegCloseKey(hLayout);
    PumpMessages();
    for (int nStart = 0; nStart < 2; nStart++) {
        SCOPED_TRACE(nStart ? "the start after" : "the start on the damaged layout");
        if (nStart)
            Restart();
        else
            CreateFrame();
        ASSERT_NE(nullptr, TreePane());
        EXPECT_FALSE(CXTPDockingPaneManager::IsPaneClosed(TreePane()));
        ASSERT_NE(nullptr, TreePane()->GetContainer());
        EXPECT_NE(nullptr, TreePane()->GetContainer()->GetContainer());
        EXPECT_EQ(static_cast<int>(xtpPaneDockLeft), m_pFrame->GetDockingPaneManager().GetPaneDirection(TreePane()));
    }
}

TEST_F(FrameProfileTest, CancelAtTheSaveQuestionSavesNoLayout)
{
    CreateFrame();
    m_pFrame->GetDockingPaneManager().DockPane(TreePane(), xtpPaneDockRight, nullptr);
    std::string before = SavedLayout();
    CTextID item(L"Entrate1.vts");
    ASSERT_TRUE(m_pFrame->SwitchView(RUNTIME_CLASS(CTestDataView), &item));
    dynamic_cast<CTestDataView*>(View())->SetModified(TRUE);
    {
        CMessageBoxRecorder messages(IDCANCEL);
        m_pFrame->SendMessage(WM_CLOSE);
    }
    ASSERT_TRUE(::IsWindow(m_hFrame));
    EXPECT_EQ(before, SavedLayout());
    dynamic_cast<CTestDataView*>(View())->SetModified(FALSE);
    m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_NE(before, SavedLayout());
}

} // namespace

namespace {

TEST_F(MainFrameTest, MessagePaneShowsTheCommandsStatusTextAndOtherwiseTheIdleText)
{
    CreateFrame();
    CXTPStatusBar& statusBar = m_pFrame->GetStatusBar();
    EXPECT_EQ(LoadResString(AFX_IDS_IDLEMESSAGE), statusBar.GetPaneText(0));
    m_pFrame->SendMessage(WM_SETMESSAGESTRING, ID_CALCOLATRICE);
    CString strPrompt = LoadResString(ID_CALCOLATRICE);
    EXPECT_EQ(strPrompt.Left(strPrompt.Find(L'\n')), statusBar.GetPaneText(0));
    m_pFrame->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(L"Testo libero"));
    EXPECT_EQ(CString(L"Testo libero"), statusBar.GetPaneText(0));
    m_pFrame->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    EXPECT_EQ(LoadResString(AFX_IDS_IDLEMESSAGE), statusBar.GetPaneText(0));
}

// The main frame shown in front, driven by real input: the toolbar's tips with the status bar's prompts, and the
// menus as the mouse opens, switches and closes them.
class MainFrameInputTest : public MainFrameTest
{
protected:
    void SetUp() override
    {
        MainFrameTest::SetUp();
        if (HasFatalFailure())
            return;
        CreateFrame();
        if (HasFatalFailure())
            return;
        m_pFrame->GetCommandBars()->GetCommandBarsOptions()->nAnimationType = 5;
        m_pFrame->SetWindowPos(&CWnd::wndTopMost, 20, 20, 900, 600, SWP_SHOWWINDOW);
        PumpUntil(m_hFrame, [this] {
            ::SetForegroundWindow(m_hFrame);
            return ::GetForegroundWindow() == m_hFrame;
        });
        ASSERT_EQ(m_hFrame, ::GetForegroundWindow());
        m_pFrame->RecalcLayout();
        PumpQueued(m_hFrame);
    }
    void TearDown() override
    {
        CMouseManager::GetThreadManager()->UntrackAll();
        MainFrameTest::TearDown();
    }
    void Wait(DWORD nMilliseconds) { PumpUntil(m_hFrame, [] { return FALSE; }, nMilliseconds); }
    BOOL WaitFor(const std::function<BOOL()>& bDone, DWORD nTimeout = INPUT_TIMEOUT) { return PumpUntil(m_hFrame, bDone, nTimeout); }
    CXTPToolBar* Standard() const
    {
        CXTPCommandBars* pBars = m_pFrame->GetCommandBars();
        for (int i = 0; i < pBars->GetCount(); i++)
            if (pBars->GetAt(i)->GetTitle() == L"Standard")
                return pBars->GetAt(i);
        return nullptr;
    }
    CXTPControl* MenuTitle(int nIndex) const { return m_pFrame->GetCommandBars()->GetMenuBar()->GetControls()->GetAt(nIndex); }
    static CXTPPopupBar* OpenPopup(CXTPControl* pControl)
    {
        CXTPCommandBar* pPopup = pControl->GetCommandBar();
        return pPopup && pPopup->IsTrackingMode() ? static_cast<CXTPPopupBar*>(pPopup) : nullptr;
    }
    static CPoint ScreenCentre(CXTPControl* pControl)
    {
        CPoint pt = pControl->GetRect().CenterPoint();
        pControl->GetParent()->ClientToScreen(&pt);
        return pt;
    }
    // The text of the bars' tip window while it shows, else empty.
    CString ShownTip() const
    {
        CWnd* pTip = m_pFrame->GetCommandBars()->GetToolTipContext()->GetTipWindow();
        if (!pTip || !::IsWindow(pTip->m_hWnd) || !pTip->IsWindowVisible())
            return CString();
        wchar_t szText[256] = {};
        ::SendMessageW(pTip->m_hWnd, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(szText));
        return szText;
    }
};

TEST_F(MainFrameInputTest, RestingOnEachToolbarButtonShowsItsTipAndTheStatusBarItsPrompt)
{
    CXTPToolBar* pToolBar = Standard();
    ASSERT_NE(nullptr, pToolBar);
    std::vector<UINT> tested;
    for (int i = 0; i < pToolBar->GetControls()->GetCount(); i++) {
        CXTPControl* pButton = pToolBar->GetControls()->GetAt(i);
        if (pButton->GetID() == XTP_ID_TOOLBAR_EXPAND || pButton->GetID() == XTP_ID_TOOLBAR_HIDE)
            continue;
        UINT nID = static_cast<UINT>(pButton->GetID());
        SCOPED_TRACE(nID);
        ASSERT_TRUE(pButton->IsVisible());
        CString strPrompt = LoadResString(nID);
        CString strTip = CommandName(nID), strDescription = strPrompt.Left(strPrompt.Find(L'\n'));
        SendMouseMove(ScreenCentre(pButton));
        EXPECT_TRUE(WaitFor([&] { return ShownTip() == strTip; }));
        EXPECT_EQ(strDescription, m_pFrame->GetStatusBar().GetPaneText(0));
        tested.push_back(nID);
    }
    EXPECT_EQ(ToolbarCommands(IDR_TOOLBAR), tested);
    EXPECT_EQ(15u, tested.size());
    // Away from the buttons the tip goes and the status bar is idle again.
    CRect rcClient;
    m_pFrame->GetClientRect(&rcClient);
    CPoint ptAway = rcClient.CenterPoint();
    m_pFrame->ClientToScreen(&ptAway);
    SendMouseMove(ptAway);
    EXPECT_TRUE(WaitFor([&] { return ShownTip().IsEmpty(); }));
    EXPECT_TRUE(WaitFor([&] { return m_pFrame->GetStatusBar().GetPaneText(0) == LoadResString(AFX_IDS_IDLEMESSAGE); }));
}

TEST_F(MainFrameInputTest, TheMouseOpensSubMenusAndSwitchesAndClosesMenus)
{
    CXTPControl* pCaricamento = MenuTitle(0);
    CXTPControl* pStampa = MenuTitle(1);
    ASSERT_EQ(CString(L"&Caricamento Dati"), pCaricamento->GetCaption());
    ASSERT_EQ(CString(L"&Stampa"), pStampa->GetCaption());
    SendClick(ScreenCentre(pCaricamento));
    ASSERT_TRUE(WaitFor([&] { return OpenPopup(pCaricamento) != nullptr; }));
    CXTPPopupBar* pPopup = OpenPopup(pCaricamento);
    CXTPControl* pConsuntivi = nullptr;
    for (int i = 0; i < pPopup->GetControls()->GetCount(); i++)
        if (pPopup->GetControls()->GetAt(i)->GetCaption() == L"Dati &consuntivi 2003/04/05")
            pConsuntivi = pPopup->GetControls()->GetAt(i);
    ASSERT_NE(nullptr, pConsuntivi);

    // Resting on the entry opens its sub-menu.
    SendMouseMove(ScreenCentre(pConsuntivi));
    EXPECT_TRUE(WaitFor([&] { return OpenPopup(pConsuntivi) != nullptr; }));
    // On another title of the menu bar, that menu opens at once in place of the first.
    SendMouseMove(ScreenCentre(pStampa));
    EXPECT_TRUE(WaitFor([&] { return OpenPopup(pStampa) != nullptr; }, 250));
    EXPECT_EQ(nullptr, OpenPopup(pCaricamento));
    EXPECT_EQ(nullptr, OpenPopup(pConsuntivi));
    // A click on the open title closes it.
    SendClick(ScreenCentre(pStampa));
    EXPECT_TRUE(WaitFor([&] { return OpenPopup(pStampa) == nullptr; }));
    EXPECT_FALSE(m_pFrame->GetCommandBars()->GetMenuBar()->IsTrackingMode());
}

// The program offers no customisation: a menu title dragged off the menu bar with Alt held stays where it is.
TEST_F(MainFrameInputTest, AltAndTheMouseCannotDragATitleOffTheMenuBar)
{
    CXTPControls* pTitles = m_pFrame->GetCommandBars()->GetMenuBar()->GetControls();
    const int nTitles = pTitles->GetCount();
    const int nBars = m_pFrame->GetCommandBars()->GetCount();
    CXTPControl* pCaricamento = MenuTitle(0);
    ASSERT_EQ(CString(L"&Caricamento Dati"), pCaricamento->GetCaption());
    const CPoint ptPress = ScreenCentre(pCaricamento);
    CRect rcClient;
    m_pFrame->GetClientRect(&rcClient);
    CPoint ptDrop = rcClient.CenterPoint();
    m_pFrame->ClientToScreen(&ptDrop);

    INPUT press[] = { KeyInput(VK_MENU, FALSE), MouseInput(ptPress, 0), MouseInput(ptPress, MOUSEEVENTF_LEFTDOWN) };
    ::SendInput(3, press, sizeof(INPUT));
    // The rest of the gesture from inside whatever loop the press started, once the press has been taken.
    bool bReleased = false;
    RunWhen([] { return ::GetKeyState(VK_LBUTTON) < 0; }, [&] {
        INPUT drag[] = { MouseInput(ptPress + CPoint(0, 10), 0), MouseInput(ptDrop, 0),
                         MouseInput(ptDrop, MOUSEEVENTF_LEFTUP), KeyInput(VK_MENU, TRUE) };
        ::SendInput(4, drag, sizeof(INPUT));
        bReleased = true;
    });
    EXPECT_TRUE(WaitFor([&] { return bReleased && ::GetKeyState(VK_LBUTTON) >= 0 && ::GetKeyState(VK_MENU) >= 0; }));
    EXPECT_TRUE(SendInputAndWait(m_hFrame, { KeyInput(VK_ESCAPE, FALSE), KeyInput(VK_ESCAPE, TRUE),
                                             KeyInput(VK_ESCAPE, FALSE), KeyInput(VK_ESCAPE, TRUE) }));
    EXPECT_TRUE(WaitFor([&] { return !m_pFrame->GetCommandBars()->GetMenuBar()->IsTrackingMode(); }));

    EXPECT_FALSE(m_pFrame->GetCommandBars()->IsCustomizeMode());
    ASSERT_EQ(nTitles, pTitles->GetCount());
    EXPECT_EQ(CString(L"&Caricamento Dati"), MenuTitle(0)->GetCaption());
    EXPECT_EQ(nBars, m_pFrame->GetCommandBars()->GetCount()) << "a toolbar was made of the dragged title";
}

TEST_F(MainFrameInputTest, RestingOnTheTitleOfACollapsedMenuExpandsIt)
{
    CXTPControl* pStampa = MenuTitle(1);
    SendClick(ScreenCentre(pStampa));
    ASSERT_TRUE(WaitFor([&] { return OpenPopup(pStampa) != nullptr; }));
    CXTPPopupBar* pPopup = OpenPopup(pStampa);
    ASSERT_TRUE(pPopup->HasHiddenCommands()) << "the print command waits behind the expand button";
    Wait(500);
    EXPECT_FALSE(pPopup->IsExpanded());
    EXPECT_TRUE(WaitFor([&] { return pPopup->IsExpanded(); }, 1000));
    CXTPControl* pPrint = pPopup->GetControls()->FindControl(ID_FILE_PRINT);
    ASSERT_NE(nullptr, pPrint);
    EXPECT_TRUE(pPrint->IsVisible());
    SendKeys({VK_ESCAPE});
    SendKeys({VK_ESCAPE});
    EXPECT_TRUE(WaitFor([&] { return !m_pFrame->GetCommandBars()->GetMenuBar()->IsTrackingMode(); }));
}

CXTPControl* WithCaption(CXTPControls* pControls, LPCTSTR pszCaption)
{
    for (int i = 0; i < pControls->GetCount(); i++)
        if (pControls->GetAt(i)->GetCaption() == pszCaption)
            return pControls->GetAt(i);
    return nullptr;
}

// Watches the frame for the first modal dialog that waits for the user (its owner hears WM_ENTERIDLE once the
// dialog's queue is empty), reads its two paths and closes it.
class CIdleImportDialogWatch : public CXTPHookHandler
{
public:
    explicit CIdleImportDialogWatch(HWND hWndFrame) : m_hWndFrame(hWndFrame)
    {
        CWindowHookManager::GetInstance()->SetHook(m_hWndFrame, this);
    }
    ~CIdleImportDialogWatch() override { CWindowHookManager::GetInstance()->RemoveHook(m_hWndFrame, this); }
    int OnHookMessage(HWND, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT&) override
    {
        if (nMessage != WM_ENTERIDLE || wParam != MSGF_DIALOGBOX || m_hWndDialog)
            return xtpHookContinue;
        m_hWndDialog = reinterpret_cast<HWND>(lParam);
        m_bImportDialog = dynamic_cast<CDlgImpGest*>(CWnd::FromHandlePermanent(m_hWndDialog)) != nullptr;
        m_strRevenues = DialogText(IDC_IMP_REVENUE_PATH);
        m_strExpenses = DialogText(IDC_IMP_EXPENSE_PATH);
        ::PostMessageW(m_hWndDialog, WM_COMMAND, IDCANCEL, 0);
        return xtpHookContinue;
    }
    BOOL WaitedAndClosed() const { return m_hWndDialog && !::IsWindow(m_hWndDialog); }

    BOOL m_bImportDialog = FALSE;
    CString m_strRevenues;
    CString m_strExpenses;

private:
    CString DialogText(int nID) const
    {
        wchar_t szText[MAX_PATH] = {};
        ::GetDlgItemTextW(m_hWndDialog, nID, szText, MAX_PATH);
        return szText;
    }

    HWND m_hWndFrame;
    HWND m_hWndDialog = nullptr;
};

// The key that chooses a menu command is spent on the menu: the dialog the command opens reads it neither as
// typed text nor as a press of its default button. Chosen by its letter or by Enter, the management import's
// dialog opens with its default paths and waits for the user.
TEST_F(MainFrameInputTest, TheKeyThatChoosesACommandDoesNotReachTheDialogItOpens)
{
    CXTPControl* pUtilita = WithCaption(m_pFrame->GetCommandBars()->GetMenuBar()->GetControls(), L"&Utilit\u00E0");
    ASSERT_NE(nullptr, pUtilita);
    for (WORD nKey : {WORD('G'), WORD(VK_RETURN)}) {
        SCOPED_TRACE(nKey == VK_RETURN ? "Enter" : "G");
        CRealModalLoop realLoop;
        CMessageBoxRecorder messages;
        CIdleImportDialogWatch watch(m_hFrame);
        SendKeys({VK_MENU, 'U'});
        ASSERT_TRUE(WaitFor([&] { return OpenPopup(pUtilita) != nullptr; }));
        CXTPControl* pImport = WithCaption(OpenPopup(pUtilita)->GetControls(), L"&Importazione dati");
        ASSERT_NE(nullptr, pImport);
        SendKeys({'I'});
        ASSERT_TRUE(WaitFor([&] { return OpenPopup(pImport) != nullptr; }));
        CXTPControl* pSelected = OpenPopup(pImport)->GetSelectedControl();
        ASSERT_NE(nullptr, pSelected);
        ASSERT_EQ(ID_IMPORT_GEST, pSelected->GetID()) << "Enter chooses the first entry";
        SendKeys({nKey});
        EXPECT_TRUE(WaitFor([&] { return watch.WaitedAndClosed(); }));
        EXPECT_TRUE(watch.m_bImportDialog);
        EXPECT_EQ(CString(L"A:\\nentrate.txt"), watch.m_strRevenues);
        EXPECT_EQ(CString(L"A:\\nuscite.txt"), watch.m_strExpenses);
        EXPECT_EQ(0u, messages.Count());
        EXPECT_FALSE(m_pFrame->GetCommandBars()->GetMenuBar()->IsTrackingMode());
    }
}

} // namespace

namespace {

// The frame shown in front, driven by real input through the thread's pump (pre-translation included), as the
// user meets it.
class FrameInputTest : public MainFrameTest
{
protected:
    void ShowFrame()
    {
        CreateFrame();
        m_pFrame->SetWindowPos(&CWnd::wndTopMost, 40, 40, 760, 520, SWP_SHOWWINDOW);
        for (int i = 0; i < 20 && ::GetForegroundWindow() != m_hFrame; i++) {
            ::SetForegroundWindow(m_hFrame);
            Pump(20);
        }
        Pump();
    }

    // Dispatches through the thread's pre-translation until the queue has been quiet for a while.
    static void Pump(DWORD dwQuietMs = 80)
    {
        DWORD dwStart = ::GetTickCount(), dwLast = dwStart;
        while (::GetTickCount() - dwLast < dwQuietMs && ::GetTickCount() - dwStart < 4000) {
            MSG msg;
            if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT)
                    continue;
                if (!AfxGetThread()->PreTranslateMessage(&msg)) {
                    ::TranslateMessage(&msg);
                    ::DispatchMessageW(&msg);
                }
                dwLast = ::GetTickCount();
            } else {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            }
        }
    }

    // Dispatches through the frame's pre-translation until bDone answers TRUE, bounded; bDone's last answer.
    BOOL PumpUntilDone(const std::function<BOOL()>& bDone)
    {
        return PumpUntil(m_hFrame, bDone);
    }

    // The panel's slide-out window once it is all out, else null.
    static CXTPDockingPaneAutoHideWnd* SlidOut(CXTPDockingPaneAutoHidePanel* pPanel)
    {
        CXTPDockingPaneAutoHideWnd* pWnd = pPanel->GetSlideOutWindow();
        if (!pWnd || !pWnd->IsWindowVisible())
            return nullptr;
        CRect rc;
        pWnd->GetWindowRect(&rc);
        return rc.Width() == pWnd->GetFullRect().Width() && rc.Height() == pWnd->GetFullRect().Height() ? pWnd : nullptr;
    }
    CXTPDockingPaneManager& Panes() { return m_pFrame->GetDockingPaneManager(); }
    CXTPDockingPane* TreePane() { return Panes().FindPane(CMainFrame::IDW_TREE_PANE); }
};

// The tree's pane pinned to its edge: a click on its tab slides it out; resizing the frame slides it in, and the
// next click slides it out along the docked area as it is now.
TEST_F(FrameInputTest, ThePinnedTreePaneSlidesInWhenTheFrameIsResized)
{
    ShowFrame();
    Panes().HidePane(TreePane());
    m_pFrame->RecalcLayout();
    Pump();
    CXTPDockingPaneAutoHidePanel* pPanel = Panes().GetCurrentLayout()->GetAutoHidePanel(xtpPaneDockLeft);
    ASSERT_NE(nullptr, pPanel);
    auto clickTab = [&] {
        CRect rcTab = pPanel->GetTabGroups().front()->GetItem(0)->GetRect();
        pPanel->ClientToScreen(&rcTab);
        SendClick(rcTab.CenterPoint());
        PumpUntilDone([&] { return SlidOut(pPanel) != nullptr; });
        return SlidOut(pPanel);
    };
    CXTPDockingPaneAutoHideWnd* pWnd = clickTab();
    ASSERT_NE(nullptr, pWnd);
    EXPECT_TRUE(pWnd->IsWindowVisible());

    // The frame made taller, as by its corner (Wine's own sizing loop does not take injected input).
    CRect rcFrame;
    m_pFrame->GetWindowRect(&rcFrame);
    m_pFrame->SetWindowPos(nullptr, 0, 0, rcFrame.Width() + 40, rcFrame.Height() + 30,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(PumpUntilDone([&] { return pPanel->GetSlideOutWindow() == nullptr; }));

    pWnd = clickTab();
    ASSERT_NE(nullptr, pWnd);
    CRect rcOut, rcTop = Panes().GetTopContainer()->GetScreenRect();
    pWnd->GetWindowRect(&rcOut);
    EXPECT_EQ(rcTop.bottom, rcOut.bottom);
}

} // namespace


// A key the tree does not use reaches the frame wherever the tree's pane is: docked, slid out from its edge and
// floating. Alt+F4 asks to close the frame (the unsaved view's question, answered Cancel), F10 gives the menu bar
// the keyboard and Alt with a letter opens that menu.
TEST_F(FrameInputTest, KeysTheTreeDoesNotUseReachTheFrameWhereverItsPaneIs)
{
    ShowFrame();
    CCtlAlbero* pTree = m_pFrame->GetTreePane();
    ASSERT_NE(nullptr, pTree);
    CXTTreeCtrl& tree = pTree->GetTree(TAB_CONTROLLO);
    HTREEITEM hItem = tree.GetRootItem();
    tree.SelectItem(hItem);
    CTextID item(L"Entrate1.vts");
    ASSERT_TRUE(m_pFrame->SwitchView(RUNTIME_CLASS(CTestDataView), &item));
    dynamic_cast<CTestDataView*>(View())->SetModified(TRUE);
    CXTPMenuBar* pMenuBar = m_pFrame->GetCommandBars()->GetMenuBar();
    CXTPControl* pCaricamento = pMenuBar->GetControls()->GetAt(0);
    ASSERT_EQ(CString(L"&Caricamento Dati"), pCaricamento->GetCaption());

    // A click on the selected node: the focus goes to the tree, the view stays.
    auto focusTree = [&] {
        CRect rcLabel;
        tree.GetItemRect(hItem, &rcLabel, TRUE);
        tree.ClientToScreen(&rcLabel);
        SendClick(rcLabel.CenterPoint());
        return PumpUntilDone([&] { return ::GetFocus() == tree.m_hWnd && !::GetCapture(); });
    };
    auto popupOpen = [pCaricamento] {
        CXTPCommandBar* pPopup = pCaricamento->GetCommandBar();
        return pPopup && pPopup->IsTrackingMode();
    };
    auto pressKeys = [&](const char* pszWhere) {
        SCOPED_TRACE(pszWhere);
        ASSERT_TRUE(focusTree());
        {
            CMessageBoxRecorder messages(IDCANCEL);
            SendKeys({VK_MENU, VK_F4});
            EXPECT_TRUE(PumpUntilDone([&] { return messages.Count() == 1; })) << "Alt+F4";
            if (messages.Count()) {
                EXPECT_EQ(LoadResString(IDP_SAVE_CHANGES), messages.Last().text);
            }
        }
        ASSERT_TRUE(::IsWindow(m_hFrame));
        ASSERT_TRUE(focusTree());
        SendKeys({VK_F10});
        EXPECT_TRUE(PumpUntilDone([&] { return pMenuBar->IsTrackingMode(); })) << "F10";
        SendKeys({VK_ESCAPE});
        ASSERT_TRUE(PumpUntilDone([&] { return !pMenuBar->IsTrackingMode(); }));
        ASSERT_TRUE(focusTree());
        SendKeys({VK_MENU, 'C'});
        EXPECT_TRUE(PumpUntilDone(popupOpen)) << "Alt+C";
        SendKeys({VK_ESCAPE});
        SendKeys({VK_ESCAPE});
        ASSERT_TRUE(PumpUntilDone([&] { return !pMenuBar->IsTrackingMode(); }));
    };

    pressKeys("docked");

    Panes().HidePane(TreePane());
    m_pFrame->RecalcLayout();
    Pump();
    CXTPDockingPaneAutoHidePanel* pPanel = Panes().GetCurrentLayout()->GetAutoHidePanel(xtpPaneDockLeft);
    ASSERT_NE(nullptr, pPanel);
    CRect rcTab = pPanel->GetTabGroups().front()->GetItem(0)->GetRect();
    pPanel->ClientToScreen(&rcTab);
    SendClick(rcTab.CenterPoint());
    ASSERT_TRUE(PumpUntilDone([&] { return SlidOut(pPanel) != nullptr; }));
    pressKeys("slid out");

    Panes().FloatPane(TreePane(), CRect(300, 200, 500, 450));
    Pump();
    ASSERT_TRUE(TreePane()->IsFloating());
    pressKeys("floating");

    dynamic_cast<CTestDataView*>(View())->SetModified(FALSE);
}
