#include "ui/docking/DockingPaneMiniWnd.h"

#include "ui/docking/DockingPaneContext.h"
#include "ui/docking/DockingPaneLayout.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/docking/DockingPaneSplitterContainer.h"
#include "ui/docking/DockingPaneTabbedContainer.h"
#include "ui/persist/PropExchange.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CXTPDockingPaneMiniWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_SIZE()
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_NCPAINT()
    ON_WM_NCACTIVATE()
    ON_WM_NCMOUSEMOVE()
    ON_WM_NCRBUTTONDOWN()
    ON_WM_TIMER()
    ON_WM_GETMINMAXINFO()
    ON_WM_SETFOCUS()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, &CXTPDockingPaneMiniWnd::OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CXTPDockingPaneMiniWnd::CXTPDockingPaneMiniWnd(CXTPDockingPaneLayout* pLayout)
    : CXTPDockingPaneElement(xtpPaneTypeMiniWnd, pLayout)
{
    for (UINT nID : {XTP_IDS_DOCKINGPANE_CLOSE, XTP_IDS_DOCKINGPANE_AUTOHIDE, XTP_IDS_DOCKINGPANE_MENU})
        m_arrCaptionButtons.push_back(new CPaneCaptionButton(nID, this));
}

CXTPDockingPaneMiniWnd::~CXTPDockingPaneMiniWnd()
{
    if (::IsWindow(m_hWnd))
        DestroyWindow();
}

void CXTPDockingPaneMiniWnd::CreateFrameWindow()
{
    CXTPDockingPaneManager* pManager = GetDockingPaneManager();
    CWnd* pSite = pManager->GetSite();
    if (m_hWnd || m_pLayout->IsUserLayout() || !pSite || !pSite->GetSafeHwnd())
        return;
    DWORD dwStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | MFS_BLOCKSYSMENU;
    if (pManager->m_bSyncActiveFloatingFrames)
        dwStyle |= MFS_SYNCACTIVE;
    DWORD dwExStyle = pSite->GetExStyle() & WS_EX_LAYOUTRTL;
    m_rcFrame = PlaceOnWorkArea(m_rcFrame);
    if (!CreateEx(dwExStyle, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW)), L"", dwStyle,
                  m_rcFrame, pSite, 0))
        return;
    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        for (UINT nCommand : {SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE})
            pSysMenu->DeleteMenu(nCommand, MF_BYCOMMAND);
        CString strClose;
        if (strClose.LoadString(61457))
            pSysMenu->ModifyMenu(SC_CLOSE, MF_BYCOMMAND | MF_STRING, SC_CLOSE, strClose);
    }
    m_bCloseEnabled = TRUE;
    // Without the border bit the caption bits leave no system caption: the theme draws one.
    if (IsThemed())
        ModifyStyle(WS_BORDER, 0, SWP_FRAMECHANGED);
}

void CXTPDockingPaneMiniWnd::SetTopContainer(CXTPDockingPaneSplitterContainer* pContainer)
{
    m_pTopContainer = pContainer;
    pContainer->SetParentContainer(this);
    pContainer->SetDockingSite(m_hWnd ? this : GetDockingPaneManager()->GetSite());
    pContainer->OnParentContainerChanged(this);
}

void CXTPDockingPaneMiniWnd::Init(CXTPDockingPaneElement* pElement, CRect rc)
{
    m_rcFrame = rc;
    CreateFrameWindow();
    m_pDockingSite = m_hWnd ? static_cast<CWnd*>(this) : GetDockingPaneManager()->GetSite();
    if (CXTPDockingPane* pPane = dynamic_cast<CXTPDockingPane*>(pElement)) {
        CXTPDockingPaneTabbedContainer* pContainer = static_cast<CXTPDockingPaneTabbedContainer*>(
            GetDockingPaneManager()->CreateElement(xtpPaneTypeTabbedContainer, m_pLayout));
        pContainer->Init(pPane, m_pDockingSite);
        pElement = pContainer;
    }
    CXTPDockingPaneSplitterContainer* pSplitter = dynamic_cast<CXTPDockingPaneSplitterContainer*>(pElement);
    if (!pSplitter) {
        pSplitter = static_cast<CXTPDockingPaneSplitterContainer*>(
            GetDockingPaneManager()->CreateElement(xtpPaneTypeSplitterContainer, m_pLayout));
        pSplitter->Init(pElement, TRUE, m_pDockingSite);
        pElement->OnParentContainerChanged(pSplitter);
    }
    SetTopContainer(pSplitter);
    if (m_hWnd) {
        UpdateTitle();
        RecalcLayout();
        ShowWindow(SW_SHOWNA);
    }
}

CRect CXTPDockingPaneMiniWnd::GetFrameRect() const
{
    if (!m_hWnd)
        return m_rcFrame;
    CRect rc;
    GetWindowRect(rc);
    return rc;
}

void CXTPDockingPaneMiniWnd::MoveFrame(const CRect& rc)
{
    m_rcFrame = rc;
    if (m_hWnd)
        MoveWindow(rc, TRUE);
}

void CXTPDockingPaneMiniWnd::UpdateTitle()
{
    if (!m_hWnd || !m_pTopContainer)
        return;
    CXTPDockingPaneElementList lst;
    m_pTopContainer->FindPane(xtpPaneTypeTabbedContainer, &lst);
    // One container: the frame's caption serves it; several show their own.
    for (CXTPDockingPaneElement* pElement : lst)
        static_cast<CXTPDockingPaneTabbedContainer*>(pElement)->ShowTitle(lst.size() > 1);
    CString strTitle = lst.size() == 1 ? static_cast<CXTPDockingPaneTabbedContainer*>(lst.front())->GetTitle()
                                       : GetDockingPaneManager()->m_strText;
    CString strOld;
    GetWindowText(strOld);
    if (strOld != strTitle)
        SetWindowText(strTitle);
    if (!lst.empty()) {
        CXTPDockingPaneElementList panes;
        m_pTopContainer->FindPane(xtpPaneTypeDockingPane, &panes);
        BOOL bCloseEnabled = std::any_of(panes.begin(), panes.end(), [](CXTPDockingPaneElement* p) {
            return !(static_cast<CXTPDockingPane*>(p)->GetOptions() & xtpPaneNoCloseable);
        });
        if (!bCloseEnabled || !m_bCloseEnabled) {
            if (CMenu* pSysMenu = GetSystemMenu(FALSE))
                pSysMenu->EnableMenuItem(SC_CLOSE, MF_BYCOMMAND | (bCloseEnabled ? MF_ENABLED : MF_GRAYED));
        }
        m_bCloseEnabled = bCloseEnabled;
    }
    SendMessage(WM_NCPAINT);
}

void CXTPDockingPaneMiniWnd::RecalcLayout(BOOL)
{
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    if (!m_hWnd || m_bInLayout)
        return;
    if (IsEmpty()) {
        // Nothing left to show: the frame goes out of sight, unrolled for the panes it may hold next.
        ShowWindow(SW_HIDE);
        if (m_rollUp.IsCollapsed())
            m_rollUp.Expand();
        return;
    }
    m_bInLayout = TRUE;
    CRect rc;
    GetClientRect(rc);
    AFX_SIZEPARENTPARAMS params = {};
    params.hDWP = ::BeginDeferWindowPos(8);
    m_pTopContainer->OnSizeParent(this, rc, &params);
    ::EndDeferWindowPos(params.hDWP);
    UpdateTitle();
    m_rcFrame = GetFrameRect();
    m_bInLayout = FALSE;
    GetDockingPaneManager()->UpdatePaneHolders();
}

BOOL CXTPDockingPaneMiniWnd::ContainsPane(CXTPDockingPaneElement* pElement) const
{
    return pElement == this || (m_pTopContainer && m_pTopContainer->ContainsPane(pElement));
}

void CXTPDockingPaneMiniWnd::FindPane(int nType, CXTPDockingPaneElementList* pList)
{
    if (nType == m_nType)
        pList->push_back(this);
    else if (m_pTopContainer)
        m_pTopContainer->FindPane(nType, pList);
}

void CXTPDockingPaneMiniWnd::RemovePane(CXTPDockingPaneElement* pElement)
{
    if (pElement != m_pTopContainer)
        return;
    m_pTopContainer->SetParentContainer(nullptr);
    m_pTopContainer = nullptr;
    if (m_hWnd)
        ShowWindow(SW_HIDE);
}

void CXTPDockingPaneMiniWnd::OnChildChanged(BOOL /*bRelayout*/)
{
    UpdateTitle();
}

void CXTPDockingPaneMiniWnd::OnChildContainerChanged(CXTPDockingPaneElement*)
{
    if (!m_hWnd)
        return;
    if (IsEmpty())
        ShowWindow(SW_HIDE);
    else if (!IsWindowVisible())
        ShowWindow(SW_SHOWNA);
    CMiniFrameWnd::DelayRecalcLayout();
}

BOOL CXTPDockingPaneMiniWnd::IsEmpty() const
{
    return !m_pTopContainer || m_pTopContainer->IsEmpty();
}

BOOL CXTPDockingPaneMiniWnd::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPDockingPaneElement::DoPropExchange(pPX);
    CRect rc = GetFrameRect();
    long nTop = rc.top, nBottom = rc.bottom, nLeft = rc.left, nRight = rc.right;
    ExchangeLong(pPX, L"WindowRectTopPos", nTop);
    ExchangeLong(pPX, L"WindowRectBottomPos", nBottom);
    ExchangeLong(pPX, L"WindowRectLeftPos", nLeft);
    ExchangeLong(pPX, L"WindowRectRightPos", nRight);
    BOOL bCollapsed = m_rollUp.IsCollapsed();
    int nExpandedHeight = m_rollUp.GetExpandedHeight();
    ExchangeBool(pPX, L"Collapsed", bCollapsed, FALSE);
    ExchangeInt(pPX, L"ExpandedHeight", nExpandedHeight, 0);
    int nTopContainer = m_pTopContainer ? m_pTopContainer->m_nLayoutId : 0;
    ExchangeInt(pPX, L"TopContaner", nTopContainer);
    if (pPX->IsStoring())
        return TRUE;
    m_rcFrame = CRect(nLeft, nTop, nRight, nBottom);
    m_rollUp.SetCollapsed(bCollapsed, nExpandedHeight);
    CXTPDockingPaneSplitterContainer* pSplitter =
        dynamic_cast<CXTPDockingPaneSplitterContainer*>(CXTPDockingPaneLayout::ResolveElement(pPX, nTopContainer));
    if (!pSplitter || pSplitter->GetContainer() || pSplitter->ContainsPane(m_pLayout->GetClient()))
        return FALSE;
    SetTopContainer(pSplitter);
    return TRUE;
}

CXTPDockingPaneElement* CXTPDockingPaneMiniWnd::Clone(CXTPDockingPaneLayout* pLayout, CXTPPaneToPaneMap* pMap, DWORD dwIgnoredOptions)
{
    CXTPDockingPaneMiniWnd* pClone =
        static_cast<CXTPDockingPaneMiniWnd*>(GetDockingPaneManager()->CreateElement(xtpPaneTypeMiniWnd, pLayout));
    pClone->m_szDocking = m_szDocking;
    pClone->m_rcFrame = GetFrameRect();
    pClone->m_rollUp.SetCollapsed(m_rollUp.IsCollapsed(), m_rollUp.GetExpandedHeight());
    if (m_rollUp.IsCollapsed())
        pClone->m_rcFrame.bottom = pClone->m_rcFrame.top + GetPaintManager()->GetCaptionHeight() + 8;
    if (pMap) {
        if (auto* pDonor = dynamic_cast<CXTPDockingPaneMiniWnd*>(pLayout->TakeDonor(this)))
            pClone->TakeWindowOf(pDonor);
    }
    if (m_pTopContainer) {
        CXTPDockingPaneElement* pTop = m_pTopContainer->Clone(pLayout, pMap, dwIgnoredOptions);
        pClone->Init(pTop, pClone->m_rcFrame);
        if (pClone->GetSafeHwnd() && pClone->IsEmpty())
            pClone->ShowWindow(SW_HIDE);
    }
    if (pMap)
        (*pMap)[this] = pClone;
    return pClone;
}

void CXTPDockingPaneMiniWnd::OnClose()
{
    CXTPDockingPaneManager* pManager = GetDockingPaneManager();
    CXTPDockingPaneElementList lst;
    FindPane(xtpPaneTypeDockingPane, &lst);
    for (CXTPDockingPaneElement* pElement : lst) {
        CXTPDockingPane* pPane = static_cast<CXTPDockingPane*>(pElement);
        if (pPane->GetOptions() & xtpPaneNoCloseable)
            continue;
        if (pManager->NotifyAction(xtpPaneActionClosing, pPane, pPane->GetContainer()))
            continue;
        pManager->ClosePane(pPane);
        pManager->NotifyAction(xtpPaneActionClosed, pPane);
    }
}

void CXTPDockingPaneMiniWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (CPaneCaptionButton* pButton = IsThemed() ? HitTestCaptionButton(ScreenToWindow(point)) : nullptr) {
        if (!OnCaptionButtonDown(pButton) && pButton->TrackClick(this, TRUE))
            OnCaptionButtonClick(pButton);
        return;
    }
    if (nHitTest != HTCAPTION || !m_pTopContainer) {
        CMiniFrameWnd::OnNcLButtonDown(nHitTest, point);
        return;
    }
    // The drag starts from the frame's window rectangle (its client rectangle would shrink it at every move).
    ActivateTopParent();
    BringWindowToTop();
    GetDockingPaneManager()->GetDockingContext()->Drag(m_pTopContainer, point);
}

void CXTPDockingPaneMiniWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTCAPTION && m_rollUp.IsCollapsed())
        ToggleCollapse();
    else if (nHitTest == HTCAPTION && m_pTopContainer)
        GetDockingPaneManager()->ToggleDocking(m_pTopContainer);
    else
        CMiniFrameWnd::OnNcLButtonDblClk(nHitTest, point);
}

void CXTPDockingPaneMiniWnd::OnSize(UINT nType, int cx, int cy)
{
    CMiniFrameWnd::OnSize(nType, cx, cy);
    RecalcLayout();
}
