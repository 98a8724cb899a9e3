// CFrameWnd: the frame around a view. It lays out its bars and its view (RecalcLayout through WM_SIZEPARENT),
// keeps the active view, routes commands view -> document -> frame -> application, updates the menu's
// command states when a popup opens, and does its delayed work (layout, title) on the idle update.
#pragma once

#include "afxres.h"
#include "afxwnd.h"

class CDocument;
class CView;
struct CCreateContext;

// Frame styles, in the bits that frame windows leave to their class.
#define FWS_ADDTOTITLE  0x00008000L   // the title shows the document's name
#define FWS_PREFIXTITLE 0x00004000L   // ... before the application's name
#define FWS_SNAPTOBARS  0x00002000L

// The style of a view made by a frame (the border turns into a client edge).
#define AFX_WS_DEFAULT_VIEW (WS_CHILD | WS_VISIBLE | WS_BORDER)

class CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault;   // the system chooses position and size

    // Creates the frame with the menu lpszMenuName (when given: a missing menu fails the creation).
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                        DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Creates the frame from resource nIDResource: its title is the first part of the string, and its menu,
    // icon and accelerators carry the same id.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // Makes a view of pContext->m_pNewViewClass as child nID; null when it fails (the view is gone then).
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);

    // Lays out the children: bars take their part through WM_SIZEPARENT, the view gets the rest.
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    // Asks for the layout at the next idle update instead of now.
    void DelayRecalcLayout(BOOL bNotify = TRUE) { m_nIdleFlags |= idleLayout | (bNotify ? idleNotify : 0); }
    virtual void ActivateFrame(int nCmdShow = -1);
    // The first activation: views get WM_INITIALUPDATE, the first pane becomes the active view.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
    // Shows the menu hMenuAlt, or without one the menu the frame shows by itself (its default menu).
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    CString GetTitle() const { return m_strTitle; }

    // The id of the resources the frame was made from (LoadFrame's id; for a document window, its template's).
    UINT GetResourceID() const { return m_nIDHelp; }

    // The frame's own accelerators (those of LoadFrame's id); null when it has none.
    virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Work left for the idle update (WM_IDLEUPDATECMDUI).
    enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
    UINT m_nIdleFlags = 0;
    BOOL m_bAutoMenuEnable = TRUE;   // menu items without a handler are disabled
    BOOL m_bHelpMode = FALSE;        // the user is choosing what to get help on: a click asks, it does not act
    CRect m_rectBorder;              // room kept free around the view (reposExtra)

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;   // frames live on the heap as long as their window
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    // The status bar's Caps Lock, Num Lock and Scroll Lock panes.
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
    // The owned floating windows follow the frame's activation and enabling (WM_FLOATSTATUS).
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnEnable(BOOL bEnable);
    void NotifyFloatingWindows(DWORD dwFlags);
    DECLARE_MESSAGE_MAP()

    CString m_strTitle;
    HACCEL m_hAccelTable = nullptr;
    HMENU m_hMenuDefault = nullptr;
    UINT m_nIDHelp = 0;

private:
    CView* m_pViewActive = nullptr;
    BOOL m_bInRecalcLayout = FALSE;
};
