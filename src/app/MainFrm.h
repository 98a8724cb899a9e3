// The main frame: the one top-level window, with the menu bar, the toolbar, the status bar, the docking pane of the
// navigation tree and the one view pane. Every command and every tree selection reaches it; what it shows changes
// only through SaveModifiedView and SwitchView.
#pragma once

#include "app/CtlAlbero.h"
#include "app/DockPaneWnd.h"
#include "forms/RecordID.h"
#include "platform/mfc/afxdisp.h"
#include "platform/textdoc/TextDocument.h"
#include "util/MailLink.h"
#include "ui/commandbars/XTPFrameWnd.h"
#include "ui/commandbars/XTPStatusBar.h"
#include "ui/docking/DockingPaneManager.h"

#include <functional>
#include <memory>

class CView;

class CMainFrame : public CXTPFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    enum { IDW_TREE_PANE = 4000, WM_STARTUP_TASKS = WM_USER + 1 };

    CMainFrame();
    ~CMainFrame() override;

    // The save question of the view shown, when it holds unsaved data. FALSE: the user cancelled or the save
    // failed, and nothing may change. When the user dropped the changes the view stops counting as modified.
    BOOL SaveModifiedView(BOOL bCanCancel);
    // Shows a view of the class (null: the start page) with the item. A view of the class shown already is kept
    // and only loads the item. FALSE when the view could not be made or could not load the item (it has said why).
    BOOL SwitchView(CRuntimeClass* pViewClass, const CRecordID* pItem);
    // The document of the report or text view shown; false for any other view.
    bool GetActiveReportContent(CTextDocument& content) const;
    // The data-entry menu (submenu 0 of the menu) at the position of the last message, owned by pOwner.
    void PopupCaricamentoMenu(CWnd* pOwner);

    int GetAccountingMode() const { return m_nAccountingMode; }
    CCtlAlbero* GetTreePane() { return m_pTreePane.get(); }
    CView* GetPaneView() const;
    CXTPDockingPaneManager& GetDockingPaneManager() { return m_paneManager; }
    CXTPStatusBar& GetStatusBar() { return m_wndStatusBar; }
    // Where the start-up tasks read today's date; the system clock unless replaced.
    void SetClock(std::function<COleDateTime()> clock) { m_clock = std::move(clock); }

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnClose();
    afx_msg LRESULT OnStartupTasks(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDockingPaneNotify(WPARAM wParam, LPARAM lParam);
    // The message pane of the status bar: a command's status text (a string id, or the text itself), or the idle
    // text.
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);

    // Tree selections
    afx_msg void OnSelChangingTree(UINT nID, NMHDR* pNotifyStruct, LRESULT* pResult);
    afx_msg void OnSelChangedTree(UINT nID, NMHDR* pNotifyStruct, LRESULT* pResult);

    // Forms, documents and reports
    afx_msg void OnOpenForm(UINT nID);
    afx_msg void OnDatiEnte();
    afx_msg void OnImpostazioniContabili();
    afx_msg void OnStampaModello(UINT nID);
    afx_msg void OnAwaitingRules();
    afx_msg void OnNormativa(UINT nID);
    afx_msg void OnChiudiMaschera();
    afx_msg void OnPopupMenu(UINT nID);

    // Utilities
    afx_msg void OnBackupArchivi();
    afx_msg void OnRestoreArchivi();
    afx_msg void OnImportGest();
    afx_msg void OnImportCert(UINT nID);
    afx_msg void OnImportTessivar();
    afx_msg void OnManutenzione();
    afx_msg void OnShellOpen(UINT nID);
    afx_msg void OnAggiornaDaWeb();
    afx_msg void OnRichiestaInfo();
    afx_msg void OnRichiestaAssistenza();

    afx_msg void OnUpdateChiudiMaschera(CCmdUI* pCmdUI);
    afx_msg void OnUpdateRespEntrate(CCmdUI* pCmdUI);
    afx_msg void OnUpdateRespSpese(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDate(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    // Switches to the view and falls back to the start page when it fails.
    void OpenView(CRuntimeClass* pViewClass, const CRecordID& item);
    // The start page; FALSE when even that failed.
    BOOL ShowStartPage() { return SwitchView(nullptr, nullptr); }
    // Save question (with Cancel) then the start page: the opening of every utility command.
    BOOL LeaveView();
    void ReadAccountingMode();
    // Reads again what the frame shows of the data archive, after it was replaced or compacted.
    void FollowArchive();
    BOOL CreateCommandBars();
    void CreateDockingPanes();
    void SaveBarsAndLayout();
    void CheckWebUpdate();
    // The authority's data for the messages to the maker; false when the archive could not be read (said so).
    bool ReadEnte(CEnteContatti& ente);
    COleDateTime Now() const;
    void TrackMenu(CMenu* pPopup, CWnd* pOwner);
    void ClearTreeSelections();

    CXTPStatusBar m_wndStatusBar;
    CXTPDockingPaneManager m_paneManager;
    std::unique_ptr<CDockPaneWnd<CCtlAlbero>> m_pTreePane;
    int m_nAccountingMode = 0;
    bool m_bStartupTasksRun = false;
    std::function<COleDateTime()> m_clock;
};

// The view class of a tree target.
CRuntimeClass* GetTreeTargetViewClass(TreeTarget target);
