// The tabbed MDI client: takes over the MDI client window of a frame and shows one tab per visible document
// window. In the simple mode one strip runs along the top of the MDI area and the documents keep their frames;
// in the workspace mode the documents lose their frames and fill tab groups laid one above the other or side by
// side, with splitters between them, and commands move the active document between groups or split a new group
// off.
#pragma once

#include "ui/commandbars/XTPControlLists.h"
#include "ui/commandbars/XTPHookManager.h"
#include "ui/docking/TabManager.h"

#include "platform/mfc/afxoledroptarget.h"
#include "platform/mfc/afxwin.h"

#include <memory>
#include <vector>

class CMDIFrameWnd;
class CTipContext;
class CXTPPopupBar;
class CXTPTabPainter;

// Asked of a document window: the tab's icon (HICON), its caption (LPTSTR buffer in lParam, wParam characters)
// and its colour (0: the group's own).
const UINT WM_XTP_GETTABICON = WM_USER + 131;
const UINT WM_XTP_GETWINDOWTEXT = WM_USER + 133;
const UINT WM_XTP_GETTABCOLOR = WM_USER + 134;
// Told to the frame: a mouse press on the empty workspace (wParam the message, lParam the point; non-zero
// consumes it), and a new tab for a document (wParam the item).
const UINT WM_XTP_PRETRANSLATEMOUSEMSG = WM_USER + 132;
const UINT WM_XTP_NEWTABITEM = WM_USER + 136;

class CXTPTabClientWnd : public CWnd, public CXTPTabManagerBase, public CXTPWorkspaceActionsSite,
                         private CXTPHookHandler
{
    DECLARE_DYNAMIC(CXTPTabClientWnd)
public:
    class CWorkspace;

    // Navigate-button flags of the groups.
    enum
    {
        flagArrowsAuto = 1,       // scroll arrows when needed (else always)
        flagHideClose = 2,        // no close button (else when the selected tab can close)
        flagShowWindowList = 4,   // the window-list button
        flagHideArrows = 8,       // with flagArrowsAuto: no scroll arrows at all
    };
    // Where a new tab goes in its group.
    enum { newTabAppend = 0, newTabFirst = 1, newTabAfterSelected = 2 };
    // The window-list button of a group.
    enum { idWindowList = 4 };

    CXTPTabClientWnd();
    ~CXTPTabClientWnd() override;

    // Takes over the frame's MDI client; bEnableGroups: the workspace mode. FALSE for a frame that is no MDI
    // frame or has no MDI client.
    BOOL Attach(CWnd* pFrame, BOOL bEnableGroups = FALSE);
    // Gives the MDI client back (when it is still a window) and drops the groups.
    void Detach();
    CMDIFrameWnd* GetFrame() const { return m_pFrame; }
    BOOL IsWorkspaceMode() const { return m_bWorkspaceMode; }

    // Theme, tabs and hover brought up to date; with bRecalcLayout the frame lays out again.
    void UpdateWorkspaces(BOOL bRecalcLayout = TRUE) override;
    // Brings the tabs in line with the visible document windows.
    void SyncTabs();

    // Groups
    CWorkspace* AddWorkspace(int nIndex = -1);
    int GetWorkspaceCount() const { return static_cast<int>(m_arrWorkspace.size()); }
    CWorkspace* GetWorkspace(int nIndex) const;
    int FindWorkspace(const CWorkspace* pWorkspace) const;
    CWorkspace* GetActiveWorkspace() const { return m_pActiveWorkspace; }
    void SetActiveWorkspace(CWorkspace* pWorkspace);
    // The tab of a document window, in any group.
    CXTPTabManagerItem* FindItem(HWND hWnd) const;
    // A tab for a document window (WS_EX_MDICHILD only) in the active group, placed by the new-tab position.
    CXTPTabManagerItem* AddItem(HWND hWnd);
    // TRUE: groups stacked one above the other; FALSE: side by side.
    BOOL IsHorizSplitting() const { return m_bHorizSplitting; }
    void SetSplitterWidth(int nWidth) { m_nSplitterWidth = nWidth; }
    int GetSplitterWidth() const { return m_nSplitterWidth; }
    void SetNewTabPosition(int nPosition) { m_nNewTabPosition = nPosition; }
    void SetFlags(DWORD dwFlags);
    DWORD GetFlags() const { return m_dwFlags; }
    void SetAllowReorder(BOOL bAllowReorder) { m_bAllowReorder = bAllowReorder; }
    BOOL IsAllowReorder() const { return m_bAllowReorder; }
    // While locked, the tabs are not synchronised.
    void SetLocked(BOOL bLocked) { m_bLocked = bLocked; }
    BOOL IsUpdating() const { return m_bUpdating; }

    // The painter every group shares; the client holds one reference.
    CXTPTabPainter* GetPaintManager() const { return m_pPaintManager; }
    // Takes the painter's reference, releases the former one and stops following the bars' theme.
    void SetPaintManager(CXTPTabPainter* pPaintManager);
    // Whether the tab style follows the command bars' theme (on by default).
    void SetFollowTheme(BOOL bFollow) { m_bFollowTheme = bFollow; }
    CTipContext* GetToolTipContext() const { return m_pToolTipContext.get(); }
    COleDropTarget* GetDropTarget() { return &m_dropTarget; }

    // The workspace commands (9420 to 9423) for the active document's tab.
    BOOL IsWorkspaceCommandEnabled(UINT nID) override;
    void OnWorkspaceCommand(UINT nID);
    // Moves a tab into another group, or (pTarget null) into a new group after its own, stacked (bHoriz) or
    // side by side.
    void MoveToWorkspace(CXTPTabManagerItem* pItem, CWorkspace* pTarget, BOOL bHoriz = TRUE);
    // The group's tabs as numbered buttons of a popup, the selected one checked; their ids are 1, 2, ...
    void FillWindowList(CWorkspace* pWorkspace, CXTPPopupBar* pPopup);

    // The tab under the point, in the workspace mode, for the tip context.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

    // The groups laid out in the client area (workspace mode) or the strip above it (simple mode).
    void Reposition() override;
    // The area of a group and of the splitter after it, in client coordinates, from the last layout.
    CRect GetWorkspaceRect(int nIndex) const;

protected:
    DECLARE_MESSAGE_MAP()

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT& lResult) override;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnSysColorChange();
    afx_msg LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMDICreate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMDIDestroy(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg void OnWorkspaceCommandRange(UINT nID);
    afx_msg void OnUpdateWorkspaceCommand(CCmdUI* pCmdUI);

private:
    class CWorkspaceWnd;
    class CWindowListButton;
    class CDropTarget : public COleDropTarget
    {
    public:
        explicit CDropTarget(CXTPTabClientWnd* pClient) : m_pClient(pClient) {}
        DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;
        DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) override;

    private:
        CXTPTabClientWnd* m_pClient;
    };

    void RemoveWorkspace(CWorkspace* pWorkspace);
    void DeleteWorkspaces();
    // The group under a client point (its whole area), or null.
    CWorkspace* WorkspaceFromPoint(CPoint pt) const;
    int SplitterFromPoint(CPoint pt) const;
    void RepositionWorkspaces();
    // The workspace mode's client area in a window rect: inside the frame the painter's style reserves.
    CRect InsideFrame(CRect rcWindow) const;
    // The frame is computed again when the width the style reserves is no longer the window's.
    void FitFrame();
    // The workspace mode's frame layout: the client is emptied first so that the frame gives it its size again.
    void RecalcFrameLayout();
    void RefreshTheme();
    void ApplyFlags(CWorkspace* pWorkspace) const;
    // The child's caption through WM_XTP_GETWINDOWTEXT, else its window text.
    static CString GetChildCaption(HWND hWnd);
    void ActivateChild(HWND hWnd);
    // A press in the workspace mode where no group lies goes to the frame first; TRUE when the frame took it.
    BOOL OfferPressToFrame(UINT message, CPoint point);
    // A left press or double click (message): in the workspace mode on a splitter, a group or the empty area.
    void OnPress(UINT message, CPoint point);
    void TrackSplitter(int nSplitter, CPoint pt);
    void OnGroupDrag(CWorkspace* pWorkspace, CXTPTabManagerItem* pItem);
    void ShowWindowList(CWorkspace* pWorkspace);
    // The weights become the groups' current lengths.
    void NormalizeWeights();

    std::vector<CWorkspace*> m_arrWorkspace;
    CMDIFrameWnd* m_pFrame = nullptr;
    BOOL m_bPendingLayout = FALSE;
    BOOL m_bUpdating = FALSE;
    BOOL m_bLocked = FALSE;
    BOOL m_bPressed = FALSE;   // a press was handled since the last idle update
    BOOL m_bInUpdate = FALSE;
    CXTPTabPainter* m_pPaintManager;
    int m_nCachedThemeId = 0;
    BOOL m_bFollowTheme = TRUE;
    BOOL m_bHorizSplitting = TRUE;
    HCURSOR m_hCursorHoriz;
    HCURSOR m_hCursorVert;
    HCURSOR m_hCursorNewHoriz;
    HCURSOR m_hCursorNewVert;
    BOOL m_bWorkspaceMode = FALSE;
    DWORD m_dwFlags = 0;
    BOOL m_bAllowReorder = TRUE;
    BOOL m_bInSync = FALSE;
    std::unique_ptr<CTipContext> m_pToolTipContext;
    int m_nSplitterWidth = 5;
    int m_nNewTabPosition = newTabAppend;
    CDropTarget m_dropTarget{this};
    CWorkspace* m_pActiveWorkspace = nullptr;
};

// One tab group: a tab manager over part of the client.
class CXTPTabClientWnd::CWorkspace : public CXTPTabManager
{
public:
    explicit CWorkspace(CXTPTabClientWnd* pClient);
    ~CWorkspace() override;

    CXTPTabClientWnd* GetClient() const { return m_pClient; }
    // The window the group's strip is drawn in and takes its mouse messages from.
    virtual HWND GetHostWindow() const { return m_pClient->m_hWnd; }
    // The group's share of the client's length.
    double GetWeight() const { return m_dWeight; }
    void SetWeight(double dWeight) { m_dWeight = dWeight; }
    CRect GetSplitterRect() const { return m_rcSplitter; }
    CWindowListButton* GetWindowListButton() const { return m_pWindowListButton; }

    void Reposition() override;
    void RedrawControl() override;
    CXTPTabPainter* GetPaintManager() const override { return m_pClient->m_pPaintManager; }
    BOOL IsAllowReorder() const override { return m_pClient->m_bAllowReorder; }
    void SetAllowReorder(BOOL bAllowReorder) override { m_pClient->m_bAllowReorder = bAllowReorder; }
    BOOL IsDrawStaticFrame() const override;
    HICON GetItemIcon(const CXTPTabManagerItem* pItem) override;
    BOOL DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize szIcon) override;
    COLORREF GetItemColor(const CXTPTabManagerItem* pItem) override;
    CString GetItemTooltip(const CXTPTabManagerItem* pItem) override;
    void OnItemClick(CXTPTabManagerItem* pItem) override;
    void OnNavigateButtonClick(int nID) override;
    BOOL IsMouseLocked() const override;
    void ReOrderItem(HWND hWnd, CPoint pt, CXTPTabManagerItem* pItem) override;

private:
    friend class CXTPTabClientWnd;
    CXTPTabClientWnd* m_pClient;
    double m_dWeight = 100.0;
    CRect m_rcSplitter;
    CWindowListButton* m_pWindowListButton;
};
