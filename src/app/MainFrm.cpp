#include "MainFrm.h"

#include "app/EmptyView.h"
#include "app/SplashWnd.h"
#include "app/TheApp.h"
#include "data/AdoErrorText.h"
#include "data/EnteContatti.h"
#include "data/SetSettings.h"
#include "dialogs/DlgExtraImpCon.h"
#include "dialogs/DlgUpdate.h"
#include "engine/RecalcSaldi.h"
#include "forms/DataView.h"
#include "views/FormTable.h"
#include "views/ViewDatiEnte.h"
#include "views/ViewInputFormD07.h"
#include "import/DlgImportOptions.h"
#include "import/ImportCC.h"
#include "import/ImportGest.h"
#include "import/ImportRel.h"
#include "platform/mfc/afxshell.h"
#include "platform/mfc/afxwaitcursor.h"
#include "reports/DlgPrint.h"
#include "reports/DlgPrintRel.h"
#include "reports/DlgRappControlli.h"
#include "reports/ViewTxInput.h"
#include "reports/ViewTxPrint.h"
#include "resource.h"
#include "ui/commandbars/XTPCommandBarsOptions.h"
#include "ui/commandbars/XTPShortcutManager.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/docking/DockingPane.h"
#include "ui/docking/DockingPaneLayout.h"
#include "ui/persist/ImageManager.h"
#include "ui/themes/BarPainter.h"
#include "util/MessageText.h"
#include "util/DateUtil.h"
#include "util/MakerInfo.h"
#include "util/MyMapi.h"
#include "util/PathUtil.h"
#include "util/VersionInfo.h"
#include "util/WebCheck.h"

IMPLEMENT_DYNCREATE(CMainFrame, CXTPFrameWnd)

namespace {

// Positions in the menu of the submenus that the toolbar's popup buttons show.
const int SUBMENU_CARICAMENTO = 0;
const int SUBMENU_UTILITA = 2;
struct PopupPosition
{
    UINT nID;
    int nPosition;
};
const PopupPosition POPUP_POSITIONS[] = {
    { ID_POPUP_IMPORT, 4 },
    { ID_POPUP_EXPORT, 5 },
    { ID_POPUP_NORMATIVA, 9 },
};

// The law texts of the menu, shown as locked, savable, printable portrait documents.
struct LawText
{
    UINT nID;
    LPCTSTR pszFile;
};
const LawText LAW_TEXTS[] = {
    { ID_NORMATIVA_FINANZIARIA, L"Normativa.txd" },
    { ID_NORMATIVA_CIRC1207, L"Circolare1207.txd" },
    { ID_NORMATIVA_CIRC0808, L"Circolare0808.txd" },
};
const long LAW_TEXT_NUMBER = 11;

const LPCTSTR PROFILE_BARS = L"CommandBars";
const LPCTSTR PROFILE_LAYOUT = L"NormalLayout";
const COLORREF TOOLBAR_MASK = RGB(0xC0, 0xC0, 0xC0);
const COLORREF PANE_ICON_MASK = RGB(0x00, 0xFF, 0x00);
const int BAR_THEME = 2;
const int DOCKING_THEME = 2;
// Printing goes through "Stampa Modello"; the framework's print and preview stay out of the bars.
const UINT HIDDEN_COMMANDS[] = { ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW };

// The status bar: messages, a fixed text, today's date, the lock keys.
const UINT STATUS_PANES[] = { ID_SEPARATOR, IDS_PANE_TEXT, IDS_PANE_DATE, ID_INDICATOR_CAPS, ID_INDICATOR_NUM };
const long REGULATIONS_FIRST_START_NUMBER = 15;
const TCHAR UPDATE_FAX_FILE[] = L"FAX aggiornamenti.txd";
const long UPDATE_FAX_NUMBER = 13;

// The pane is in the layout and can be shown from it: placed, or closed with a place to come back to.
bool LayoutCanShowPane(const CXTPDockingPaneLayout& layout, UINT nID)
{
    for (const XTP_DOCKINGPANE_INFO& info : layout.GetPaneList()) {
        if (info.pPane && info.pPane->GetID() == nID)
            return !info.pPane->IsClosed() || info.pLastHolder;
    }
    return false;
}

int CertificateYear(UINT nID) { return 2003 + static_cast<int>(nID - ID_IMPORT_CERT_2003); }

CTheApp& TheApp() { return *static_cast<CTheApp*>(AfxGetApp()); }

// The combined print walks the control tab of the tree; each selection opens its view as the user's would.
class CControlTreeReports : public CReportLeaves
{
public:
    explicit CControlTreeReports(CMainFrame& frame) : m_frame(frame) {}

    void ClearSelection() override
    {
        m_hItem = nullptr;
        if (CCtlAlbero* pTree = Tree())
            pTree->SelectTreeItem(TAB_CONTROLLO, nullptr);
    }
    bool SelectNextLeaf(bool bTickedOnly) override
    {
        CCtlAlbero* pTree = Tree();
        m_hItem = pTree ? pTree->GetNextLeaf(TAB_CONTROLLO, m_hItem, bTickedOnly) : nullptr;
        if (!m_hItem)
            return false;
        pTree->SelectTreeItem(TAB_CONTROLLO, m_hItem);
        return true;
    }
    bool GetActiveReportContent(CTextDocument& content) override { return m_frame.GetActiveReportContent(content); }

private:
    CCtlAlbero* Tree() const
    {
        CCtlAlbero* pTree = m_frame.GetTreePane();
        return pTree && pTree->GetSafeHwnd() ? pTree : nullptr;
    }

    CMainFrame& m_frame;
    HTREEITEM m_hItem = nullptr;
};

} // namespace

CRuntimeClass* GetTreeTargetViewClass(TreeTarget target)
{
    switch (target) {
    case TreeTarget::StartPage:
    case TreeTarget::AwaitingRules:
        return RUNTIME_CLASS(CEmptyView);
    case TreeTarget::FormD07:
        return RUNTIME_CLASS(CViewInputFormD07);
    case TreeTarget::Report:
        return RUNTIME_CLASS(CViewTxPrint);
    case TreeTarget::ReportCSP:
        return RUNTIME_CLASS(CViewTxPrintCSP);
    case TreeTarget::ReportResp:
        return RUNTIME_CLASS(CViewTxPrintResp);
    case TreeTarget::Document:
        return RUNTIME_CLASS(CViewTxInputEx);
    case TreeTarget::ConfServ:
        return RUNTIME_CLASS(CViewTxConfServ);
    default:
        return nullptr;
    }
}

BEGIN_MESSAGE_MAP(CMainFrame, CXTPFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_MESSAGE(WM_STARTUP_TASKS, &CMainFrame::OnStartupTasks)
    ON_MESSAGE(WM_DOCKINGPANE_NOTIFY, &CMainFrame::OnDockingPaneNotify)
    ON_MESSAGE(WM_SETMESSAGESTRING, &CMainFrame::OnSetMessageString)
    ON_MESSAGE(WM_POPMESSAGESTRING, &CMainFrame::OnPopMessageString)
    ON_NOTIFY_RANGE(TVN_SELCHANGINGW, CCtlAlbero::IDC_TREE_CONTROLLO, CCtlAlbero::IDC_TREE_UFFICIALE, &CMainFrame::OnSelChangingTree)
    ON_NOTIFY_RANGE(TVN_SELCHANGEDW, CCtlAlbero::IDC_TREE_CONTROLLO, CCtlAlbero::IDC_TREE_UFFICIALE, &CMainFrame::OnSelChangedTree)
    // The entries before the range of the forms take precedence over it.
    ON_COMMAND(ID_DATI_ENTE, &CMainFrame::OnDatiEnte)
    ON_COMMAND(ID_IMPOSTAZIONI_CONTABILI, &CMainFrame::OnImpostazioniContabili)
    ON_COMMAND_RANGE(ID_STAMPA_MODELLO, ID_STAMPA_MODELLO, &CMainFrame::OnStampaModello)
    ON_COMMAND_RANGE(ID_FILE_PRINT, ID_FILE_PRINT, &CMainFrame::OnStampaModello)
    ON_COMMAND(ID_EXPORT_CORTE_CONTI, &CMainFrame::OnAwaitingRules)
    ON_COMMAND(ID_EXPORT_RGS, &CMainFrame::OnAwaitingRules)
    ON_COMMAND_RANGE(ID_NORMATIVA_FINANZIARIA, ID_NORMATIVA_CIRC1207, &CMainFrame::OnNormativa)
    ON_COMMAND_RANGE(ID_NORMATIVA_CIRC0808, ID_NORMATIVA_CIRC0808, &CMainFrame::OnNormativa)
    ON_COMMAND_RANGE(ID_NORMATIVA_DM230307, ID_NORMATIVA_DM230307, &CMainFrame::OnShellOpen)
    ON_COMMAND(ID_IMPORT_GEST, &CMainFrame::OnImportGest)
    ON_COMMAND_RANGE(ID_IMPORT_CERT_2003, ID_IMPORT_CERT_2005, &CMainFrame::OnImportCert)
    ON_COMMAND(ID_IMPORT_TESSIVAR, &CMainFrame::OnImportTessivar)
    ON_COMMAND(ID_MANUTENZIONE, &CMainFrame::OnManutenzione)
    ON_COMMAND_RANGE(ID_FORM_FIRST, ID_FORM_LAST, &CMainFrame::OnOpenForm)
    ON_COMMAND(ID_CHIUDI_MASCHERA, &CMainFrame::OnChiudiMaschera)
    ON_COMMAND_RANGE(ID_POPUP_IMPORT, ID_POPUP_EXPORT, &CMainFrame::OnPopupMenu)
    ON_COMMAND_RANGE(ID_POPUP_NORMATIVA, ID_POPUP_NORMATIVA, &CMainFrame::OnPopupMenu)
    ON_COMMAND(ID_BACKUP_ARCHIVI, &CMainFrame::OnBackupArchivi)
    ON_COMMAND(ID_RESTORE_ARCHIVI, &CMainFrame::OnRestoreArchivi)
    ON_COMMAND_RANGE(ID_CALCOLATRICE, ID_CALCOLATRICE, &CMainFrame::OnShellOpen)
    ON_COMMAND_RANGE(ID_MANUALE, ID_MANUALE, &CMainFrame::OnShellOpen)
    ON_COMMAND(ID_AGGIORNA_WEB, &CMainFrame::OnAggiornaDaWeb)
    ON_COMMAND(ID_RICHIESTA_INFO, &CMainFrame::OnRichiestaInfo)
    ON_COMMAND(ID_RICHIESTA_ASSISTENZA, &CMainFrame::OnRichiestaAssistenza)
    ON_UPDATE_COMMAND_UI(ID_CHIUDI_MASCHERA, &CMainFrame::OnUpdateChiudiMaschera)
    ON_UPDATE_COMMAND_UI(ID_FORM_RESP_ENTRATE, &CMainFrame::OnUpdateRespEntrate)
    ON_UPDATE_COMMAND_UI(ID_FORM_RESP_SPESE, &CMainFrame::OnUpdateRespSpese)
    ON_UPDATE_COMMAND_UI(IDS_PANE_DATE, &CMainFrame::OnUpdateDate)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CXTPFrameWnd::PreCreateWindow(cs))
        return FALSE;
    // The title carries no document name.
    cs.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_MAXIMIZE;
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CXTPFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetTitle(LoadResString(IDS_APP_SUBTITLE));
    SetWindowText(GetTitle());
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(STATUS_PANES, sizeof(STATUS_PANES) / sizeof(STATUS_PANES[0])))
        return -1;
    OnPopMessageString(AFX_IDS_IDLEMESSAGE, 0);
    ReadAccountingMode();
    if (!CreateCommandBars())
        return -1;
    CreateDockingPanes();
    // The start-up tasks wait for the frame, not for the tree's pane: a layout that keeps the pane closed must
    // not keep them from running.
    PostMessage(WM_STARTUP_TASKS);
    return 0;
}

BOOL CMainFrame::CreateCommandBars()
{
    if (!InitCommandBars())
        return FALSE;
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars->SetMenu(L"Menu Bar", IDR_MAINFRAME))
        return FALSE;
    CXTPImageManager* pImages = pCommandBars->GetImageManager();
    pImages->SetMaskColor(TOOLBAR_MASK);
    pImages->SetIcons(IDR_MAINFRAME);
    CXTPToolBar* pToolBar = pCommandBars->Add(L"Standard", xtpBarTop);
    if (!pToolBar || !pToolBar->LoadToolBar(IDR_TOOLBAR))
        return FALSE;
    CXTPBarPainter::SetTheme(BAR_THEME);
    pCommandBars->HideCommands(HIDDEN_COMMANDS, sizeof(HIDDEN_COMMANDS) / sizeof(HIDDEN_COMMANDS[0]));
    pCommandBars->GetCommandBarsOptions()->bAlwaysShowFullMenus = FALSE;
    pCommandBars->LoadOptions(PROFILE_BARS);
    // The program offers no customisation, so nothing could give back a button or a menu dragged away with Alt.
    pCommandBars->GetCommandBarsOptions()->bAltDragCustomization = FALSE;
    pCommandBars->LoadBarState(PROFILE_BARS, FALSE);
    pCommandBars->GetShortcutManager()->LoadShortcuts(PROFILE_BARS);
    return TRUE;
}

void CMainFrame::CreateDockingPanes()
{
    m_paneManager.InstallDockingPanes(this);
    m_paneManager.SetTheme(DOCKING_THEME);
    m_paneManager.CreatePane(IDW_TREE_PANE, CRect(0, 0, 200, 120), xtpPaneDockLeft);
    const int paneIds[] = { IDW_TREE_PANE };
    m_paneManager.SetIcons(IDB_NAVIGATION_PANE, paneIds, 1, PANE_ICON_MASK);
    // A saved layout that could not show the tree's pane would leave the program without its navigation: it is not
    // applied.
    CXTPDockingPaneLayout layout(&m_paneManager);
    if (layout.Load(PROFILE_LAYOUT) && LayoutCanShowPane(layout, IDW_TREE_PANE))
        m_paneManager.SetLayout(&layout);
    // Whatever the layout says, the tree's pane is shown: closed for good it could never come back.
    m_paneManager.ShowPane(IDW_TREE_PANE);
}

LRESULT CMainFrame::OnDockingPaneNotify(WPARAM wParam, LPARAM lParam)
{
    if (wParam != XTP_DPN_SHOWWINDOW)
        return 0;
    auto* pPane = reinterpret_cast<CXTPDockingPane*>(lParam);
    if (!pPane || pPane->GetChild() || pPane->GetID() != IDW_TREE_PANE)
        return 1;
    if (!m_pTreePane) {
        CTheApp& app = TheApp();
        auto pTreePane = std::make_unique<CDockPaneWnd<CCtlAlbero>>(app.GetProgConnection(), app.GetDataConnection());
        if (!pTreePane->Create(this, IDW_TREE_PANE, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN))
            return 1;
        m_pTreePane = std::move(pTreePane);
        m_pTreePane->ReloadTree(TAB_CONTROLLO);
        m_pTreePane->ReloadTree(TAB_UFFICIALE);
    }
    pPane->Attach(m_pTreePane.get());
    return 1;
}

void CMainFrame::ReadAccountingMode()
{
    // A damaged archive must not keep the frame from opening: the mode of the budget structure stands in.
    m_nAccountingMode = 0;
    CADOConnection& data = TheApp().GetDataConnection();
    try {
        m_nAccountingMode = CSetSettings::GetSettingImpExtraCont2(data);
    }
    catch (const _com_error& e) {
        AfxMessageBox(FormatResMessage(IDP_ACCOUNTING_MODE_UNREAD, GetComErrorText(e, &data)), MB_ICONERROR);
    }
}

LRESULT CMainFrame::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    CString strText;
    if (lParam)
        strText = reinterpret_cast<LPCTSTR>(lParam);
    else if (wParam)
        strText = LoadResString(static_cast<UINT>(wParam));
    // A prompt string is "status text\ntooltip".
    int nBreak = strText.Find(L'\n');
    if (nBreak >= 0)
        strText = strText.Left(nBreak);
    if (m_wndStatusBar.GetSafeHwnd())
        m_wndStatusBar.SetPaneText(0, strText);
    return 0;
}

LRESULT CMainFrame::OnPopMessageString(WPARAM wParam, LPARAM lParam)
{
    return OnSetMessageString(wParam ? wParam : AFX_IDS_IDLEMESSAGE, lParam);
}

void CMainFrame::OnClose()
{
    if (!SaveModifiedView(TRUE))
        return;
    SaveBarsAndLayout();
    CXTPFrameWnd::OnClose();
}

void CMainFrame::SaveBarsAndLayout()
{
    if (CXTPCommandBars* pCommandBars = GetCommandBars()) {
        pCommandBars->SaveOptions(PROFILE_BARS);
        pCommandBars->SaveBarState(PROFILE_BARS, TRUE);
        pCommandBars->GetShortcutManager()->SaveShortcuts(PROFILE_BARS);
    }
    if (m_paneManager.GetSafeHwnd()) {
        CXTPDockingPaneLayout layout(&m_paneManager);
        m_paneManager.GetLayout(&layout);
        layout.Save(PROFILE_LAYOUT);
    }
}

CView* CMainFrame::GetPaneView() const
{
    CWnd* pWnd = GetDlgItem(AFX_IDW_PANE_FIRST);
    return dynamic_cast<CView*>(pWnd);
}

BOOL CMainFrame::SaveModifiedView(BOOL bCanCancel)
{
    auto* pDataView = dynamic_cast<CDataView*>(GetPaneView());
    if (!pDataView)
        return TRUE;
    if (!pDataView->QuerySave(bCanCancel))
        return FALSE;
    // "No": the changes are dropped, and the question is not asked again for them.
    if (pDataView->IsModified())
        pDataView->SetModified(FALSE);
    return TRUE;
}

BOOL CMainFrame::SwitchView(CRuntimeClass* pViewClass, const CRecordID* pItem)
{
    if (!pViewClass)
        pViewClass = RUNTIME_CLASS(CEmptyView);
    CView* pView = GetPaneView();
    bool bCreated = false;
    if (!pView || pView->GetRuntimeClass() != pViewClass) {
        CDocument* pDoc = pView ? pView->GetDocument() : GetActiveDocument();
        if (pView) {
            // The document outlives the view it loses.
            BOOL bAutoDelete = pDoc ? pDoc->m_bAutoDelete : FALSE;
            if (pDoc)
                pDoc->m_bAutoDelete = FALSE;
            pView->DestroyWindow();
            if (pDoc)
                pDoc->m_bAutoDelete = bAutoDelete;
        }
        CCreateContext context;
        context.m_pNewViewClass = pViewClass;
        context.m_pCurrentDoc = pDoc;
        context.m_pCurrentFrame = this;
        pView = dynamic_cast<CView*>(CreateView(&context, AFX_IDW_PANE_FIRST));
        if (!pView)
            return FALSE;
        bCreated = true;
    }
    RecalcLayout();
    if (bCreated) {
        SetActiveView(pView);
        pView->OnInitialUpdate();
    }
    if (auto* pDataView = dynamic_cast<CDataView*>(pView))
        return pDataView->LoadData(pItem);
    return TRUE;
}

void CMainFrame::OpenView(CRuntimeClass* pViewClass, const CRecordID& item)
{
    if (!SwitchView(pViewClass, &item))
        ShowStartPage();
}

BOOL CMainFrame::LeaveView()
{
    if (!SaveModifiedView(TRUE))
        return FALSE;
    ShowStartPage();
    return TRUE;
}

void CMainFrame::ClearTreeSelections()
{
    if (!m_pTreePane || !m_pTreePane->GetSafeHwnd())
        return;
    m_pTreePane->SelectTreeItem(TAB_CONTROLLO, nullptr);
    m_pTreePane->SelectTreeItem(TAB_UFFICIALE, nullptr);
}

// Tree selections

void CMainFrame::OnSelChangingTree(UINT, NMHDR*, LRESULT* pResult)
{
    CWaitCursor wait;
    *pResult = !SaveModifiedView(TRUE);
}

void CMainFrame::OnSelChangedTree(UINT nID, NMHDR* pNotifyStruct, LRESULT* pResult)
{
    *pResult = 0;
    int nTab = CCtlAlbero::TabOfControl(nID);
    if (nTab < 0 || !m_pTreePane)
        return;
    HTREEITEM hItem = reinterpret_cast<NMTREEVIEW*>(pNotifyStruct)->itemNew.hItem;
    const CNodoAlbero* pNode = m_pTreePane->GetItemData(nTab, hItem);
    TreeDispatch dispatch = DispatchTreeNode(nTab, pNode, m_pTreePane->GetItemImage(nTab, hItem),
                                             pNode && pNode->m_bCentro);
    switch (dispatch.target) {
    case TreeTarget::StartPage:
        ShowStartPage();
        return;
    case TreeTarget::AwaitingRules:
        ShowStartPage();
        // The print dialog walks the tree with the frame hidden: no message then.
        if (IsWindowVisible())
            AfxMessageBox(IDP_NORMATIVA_IN_APPROVAZIONE, MB_ICONINFORMATION);
        return;
    default:
        break;
    }
    CWaitCursor wait;
    CRuntimeClass* pViewClass = GetTreeTargetViewClass(dispatch.target);
    if (dispatch.target == TreeTarget::FormD07)
        OpenView(pViewClass, CTextID(dispatch.strFile));
    else
        OpenView(pViewClass, CTextLongID(dispatch.strFile, dispatch.nNumber));
}

// Forms, documents and reports

void CMainFrame::OnOpenForm(UINT nID)
{
    CWaitCursor wait;
    if (!SaveModifiedView(TRUE))
        return;
    ClearTreeSelections();
    if (nID == ID_FORM_MON_SALDI || nID == ID_FORM_CONSUNTIVO_2008) {
        ShowStartPage();
        AfxMessageBox(IDP_NORMATIVA_IN_APPROVAZIONE, MB_ICONINFORMATION);
        return;
    }
    if (const FORM_TABLE_ENTRY* pEntry = FindFormEntry(nID, m_nAccountingMode == 1))
        OpenView(pEntry->pViewClass, CTextID(pEntry->pszWorkbook));
}

void CMainFrame::OnDatiEnte()
{
    if (!SaveModifiedView(TRUE))
        return;
    if (!SwitchView(RUNTIME_CLASS(CViewDatiEnte), nullptr))
        ShowStartPage();
}

void CMainFrame::OnImpostazioniContabili()
{
    if (!LeaveView())
        return;
    CTheApp& app = TheApp();
    CADOConnection& data = app.GetDataConnection();
    try {
        CDlgExtraImpCon dialog(this, data);
        if (dialog.DoModal() != 1)
            return;
        CWaitCursor wait;
        CADOTransaction transaction(data);
        CSetSettings::SetSettingImpExtraCont2(data, dialog.m_nMode);
        CalcSaldoFinCalc(data);
        transaction.Commit();
        m_nAccountingMode = dialog.m_nMode;
    }
    catch (const _com_error& e) {
        // The dialog wrote the list's changes as they were made: the tree follows them all the same.
        AfxMessageBox(GetComErrorText(e, &data), MB_ICONERROR);
    }
    if (m_pTreePane && m_pTreePane->GetSafeHwnd())
        m_pTreePane->RefreshRespNodes();
}

void CMainFrame::OnStampaModello(UINT)
{
    if (!LeaveView())
        return;
    // The check's report is for the user to read: the printing goes on whatever it found.
    CADOConnection& data = TheApp().GetDataConnection();
    try {
        CheckSaldiConsistency(data);
    } catch (const _com_error& e) {
        AfxMessageBox(GetComErrorText(e, &data), MB_ICONERROR);
        return;
    }
    CDlgPrint dialog(this);
    if (dialog.DoModal() != IDOK)
        return;
    if (dialog.m_nFormSet == 1) {
        AfxMessageBox(IDP_NORMATIVA_IN_APPROVAZIONE, MB_ICONINFORMATION);
        return;
    }
    CControlTreeReports reports(*this);
    CDlgPrintRel printRel(this, dialog.m_nExtent, reports);
    printRel.DoModal();
    // The last report gathered is still shown; the frame goes back to its start page.
    ShowStartPage();
}

bool CMainFrame::GetActiveReportContent(CTextDocument& content) const
{
    CView* pView = GetPaneView();
    if (auto* pText = dynamic_cast<CViewTxInput*>(pView)) {
        content = pText->GetControl().GetDocument();
        return true;
    }
    if (auto* pReport = dynamic_cast<CViewTxPrint*>(pView)) {
        content = pReport->GetControl().GetDocument();
        return true;
    }
    return false;
}

void CMainFrame::OnAwaitingRules()
{
    AfxMessageBox(IDP_NORMATIVA_IN_APPROVAZIONE, MB_ICONINFORMATION);
}

void CMainFrame::OnNormativa(UINT nID)
{
    if (!SaveModifiedView(TRUE))
        return;
    CWaitCursor wait;
    for (const LawText& text : LAW_TEXTS) {
        if (text.nID == nID)
            OpenView(GetTreeTargetViewClass(TreeTarget::Document), CTextLongID(text.pszFile, LAW_TEXT_NUMBER));
    }
}

void CMainFrame::OnChiudiMaschera()
{
    LeaveView();
}

void CMainFrame::OnPopupMenu(UINT nID)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_MAINFRAME))
        return;
    for (const PopupPosition& popup : POPUP_POSITIONS) {
        if (popup.nID == nID) {
            CMenu* pSubMenu = menu.GetSubMenu(SUBMENU_UTILITA);
            TrackMenu(pSubMenu ? pSubMenu->GetSubMenu(popup.nPosition) : nullptr, this);
        }
    }
    menu.DestroyMenu();
}

void CMainFrame::PopupCaricamentoMenu(CWnd* pOwner)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_MAINFRAME))
        return;
    TrackMenu(menu.GetSubMenu(SUBMENU_CARICAMENTO), pOwner);
    menu.DestroyMenu();
}

void CMainFrame::TrackMenu(CMenu* pPopup, CWnd* pOwner)
{
    if (!pPopup)
        return;
    DWORD dwPos = ::GetMessagePos();
    CXTPCommandBars::TrackPopupMenu(pPopup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, static_cast<short>(LOWORD(dwPos)),
                                    static_cast<short>(HIWORD(dwPos)), this, nullptr, pOwner ? pOwner : this,
                                    GetCommandBars());
}

// Utilities

void CMainFrame::OnBackupArchivi()
{
    if (LeaveView() && TheApp().BackupArchive())
        AfxMessageBox(IDP_BACKUP_DONE, MB_ICONINFORMATION);
}

void CMainFrame::OnRestoreArchivi()
{
    if (!LeaveView() || !TheApp().RestoreArchive())
        return;
    FollowArchive();
    AfxMessageBox(IDP_RESTORE_DONE, MB_ICONINFORMATION);
}

// The archive now open may be another one: its accounting mode decides which forms the commands open, its
// centres are the tree's.
void CMainFrame::FollowArchive()
{
    ReadAccountingMode();
    if (m_pTreePane && m_pTreePane->GetSafeHwnd())
        m_pTreePane->RefreshRespNodes();
}

void CMainFrame::OnImportGest()
{
    CWaitCursor wait;
    if (!LeaveView())
        return;
    CDlgImpGest dialog(this);
    if (dialog.DoModal() == IDOK)
        CImportGest(TheApp().GetDataConnection(), dialog.m_nOption).Import(dialog.m_strRevenuePath,
                                                                           dialog.m_strExpensePath);
}

void CMainFrame::OnImportCert(UINT nID)
{
    if (!LeaveView())
        return;
    int nYear = CertificateYear(nID);
    CDlgImpCert dialog(this, nYear);
    if (dialog.DoModal() == IDOK)
        CImportCC(TheApp().GetDataConnection(), nYear, dialog.m_nOption).Import(dialog.m_strPath);
}

void CMainFrame::OnImportTessivar()
{
    if (!LeaveView())
        return;
    if (CImportRel::FindDatabase().IsEmpty()) {
        AfxMessageBox(IDP_TESSIVAR_NOT_FOUND, MB_ICONWARNING);
        return;
    }
    CDlgImpRel dialog(this);
    if (dialog.DoModal() == IDOK)
        CImportRel(TheApp().GetDataConnection(), dialog.m_nOption).Import();
}

void CMainFrame::OnManutenzione()
{
    CWaitCursor wait;
    if (LeaveView() && TheApp().MaintainArchives())
        FollowArchive();
}

void CMainFrame::OnShellOpen(UINT nID)
{
    CString strFile;
    switch (nID) {
    case ID_NORMATIVA_DM230307:
        strFile = CombinePath(TheApp().GetDocDir(), L"D.M.23.03.07.pdf");
        break;
    case ID_CALCOLATRICE:
        strFile = L"calc.exe";
        break;
    default: {
        TCHAR szModule[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, szModule, MAX_PATH);
        strFile = CombinePath(GetPathDir(szModule), L"Manuale.pdf");
        break;
    }
    }
    if (AfxShellOpen(m_hWnd, strFile, SW_SHOWDEFAULT) <= 32) {
        DWORD dwError = ::GetLastError();
        AfxMessageBox(GetSystemErrorText(dwError ? dwError : ERROR_FILE_NOT_FOUND), MB_ICONERROR);
    }
}

void CMainFrame::OnAggiornaDaWeb()
{
    if (!LeaveView())
        return;
    CWaitCursor wait;
    const DWORD dwVersion = GetFileVersionNumber();
    CDlgUpdate dialog(this, AfxGetAppName(), TheApp().GetProductCode(), MakerInfo::kFtpFolder,
                      static_cast<int>(dwVersion >> 24), static_cast<int>((dwVersion >> 16) & 0xFF),
                      TheApp().GetWebUpdDir(),
                      std::make_unique<CFtpUpdateServer>(MakerInfo::kFtpHost, INTERNET_DEFAULT_FTP_PORT,
                                                         MakerInfo::kFtpUser, MakerInfo::kFtpPassword));
    switch (dialog.DoModal()) {
    case IDOK:
        // The program ends so that the setup it started can replace it.
        PostMessage(WM_CLOSE);
        break;
    case IDC_UPD_PREPARA_FAX:
        OpenView(RUNTIME_CLASS(CViewTxFax), CTextLongID(UPDATE_FAX_FILE, UPDATE_FAX_NUMBER));
        break;
    default:
        break;
    }
}

bool CMainFrame::ReadEnte(CEnteContatti& ente)
{
    CADOConnection& data = TheApp().GetDataConnection();
    try {
        ente = ReadEnteContatti(data);
        return true;
    }
    catch (const _com_error& e) {
        AfxMessageBox(GetComErrorText(e, &data), MB_ICONERROR);
    }
    return false;
}

COleDateTime CMainFrame::Now() const
{
    return m_clock ? m_clock() : COleDateTime::GetCurrentTime();
}

void CMainFrame::OnRichiestaInfo()
{
    CWaitCursor wait;
    CEnteContatti ente;
    if (!ReadEnte(ente))
        return;
    if (AfxShellOpen(m_hWnd, BuildInfoRequestLink(ente), SW_SHOWDEFAULT) <= 32) {
        DWORD dwError = ::GetLastError();
        AfxMessageBox(GetSystemErrorText(dwError ? dwError : ERROR_NO_ASSOCIATION), MB_ICONERROR);
    }
}

void CMainFrame::OnRichiestaAssistenza()
{
    if (!LeaveView())
        return;
    CWaitCursor wait;
    const DWORD dwVersion = GetFileVersionNumber();
    const CString strVersion =
        FormatString(L"%d.%02d", static_cast<int>(dwVersion >> 24), static_cast<int>((dwVersion >> 16) & 0xFF));
    CEnteContatti ente;
    if (!ReadEnte(ente))
        return;
    const CString strBody =
        FormatString(LoadResString(IDS_MAIL_SUPPORT_BODY), ente.strEnte.GetString(), ente.strProvincia.GetString(),
                     ente.strTelefono.GetString(), ente.strFax.GetString(), ente.strMail.GetString());
    WCHAR szTemp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, szTemp);
    const COleDateTime today = Now();
    const CString strZip = CombinePath(
        szTemp, FormatString(L"%04d.%02d.%02d.zip", today.GetYear(), today.GetMonth(), today.GetDay()));
    // The backup has shown its own message when it fails.
    if (!TheApp().WriteBackup(strZip))
        return;
    CMyMapi mail;
    mail.AddRecipient(LoadResString(IDS_MAIL_SUPPORT_NAME), MakerInfo::kSupportMail, MAPI_TO);
    mail.SetSubject(FormatString(LoadResString(IDS_MAIL_SUPPORT_SUBJECT), strVersion.GetString(),
                                 ente.strEnte.GetString()));
    mail.SetText(strBody);
    mail.AddAttachment(strZip);
    // The user closing the mail program's window without sending is no error.
    mail.Send();
}

void CMainFrame::OnUpdateChiudiMaschera(CCmdUI* pCmdUI)
{
    CView* pView = GetPaneView();
    pCmdUI->Enable(pView && !pView->IsKindOf(RUNTIME_CLASS(CEmptyView)));
}

void CMainFrame::OnUpdateRespEntrate(CCmdUI* pCmdUI)
{
    pCmdUI->SetText(LoadResString(m_nAccountingMode == 0 ? IDS_RESP_ENTRATE_MODE0 : IDS_RESP_ENTRATE_MODE1));
}

void CMainFrame::OnUpdateRespSpese(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_nAccountingMode == 0);
}

void CMainFrame::OnUpdateDate(CCmdUI* pCmdUI)
{
    const COleDateTime now = Now();
    pCmdUI->SetText(FormatDate(COleDateTime(now.GetYear(), now.GetMonth(), now.GetDay(), 0, 0, 0), L"d/MM/yyyy"));
}

// Start-up tasks: once the tree exists.

LRESULT CMainFrame::OnStartupTasks(WPARAM, LPARAM)
{
    if (m_bStartupTasksRun)
        return 0;
    m_bStartupTasksRun = true;
    // The splash is topmost: no box of these tasks may open under it.
    CSplashWnd::CHideBeforeMessageBoxes hideSplash;
    CTheApp& app = TheApp();
    const DWORD dwFileVersion = GetFileVersionNumber();
    const int nVersion = static_cast<int>((dwFileVersion >> 24) * 100 + ((dwFileVersion >> 16) & 0xFF));
    if (nVersion > app.GetUltimaVersione()) {
        CSplashWnd::HideSplashScreen();
        SendMessage(WM_COMMAND, ID_APP_ABOUT);
        app.SetUltimaVersione(nVersion);
    }
    // The regulations text, once: at the first start.
    if (!app.GetInfoNormativa()) {
        CSplashWnd::HideSplashScreen();
        CTextLongID item(L"Normativa.txd", REGULATIONS_FIRST_START_NUMBER);
        OpenView(GetTreeTargetViewClass(TreeTarget::Document), item);
        app.SetInfoNormativa(TRUE);
    }
    CheckWebUpdate();
    return 0;
}

void CMainFrame::CheckWebUpdate()
{
    if (AskDailyWebCheck(TheApp().GetWebUpdDir(), Now(),
                         [] { CSplashWnd::HideSplashScreen(); }))
        OnAggiornaDaWeb();
}
