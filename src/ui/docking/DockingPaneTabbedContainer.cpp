#include "ui/docking/DockingPaneTabbedContainer.h"

#include "ui/docking/DockingPaneAutoHidePanel.h"
#include "ui/docking/DockingPaneAutoHideWnd.h"
#include "ui/docking/DockingPaneContext.h"
#include "ui/docking/DockingPaneLayout.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/docking/DockingPaneMiniWnd.h"
#include "ui/docking/XTPDockingPaneThemes.h"
#include "ui/docking/DockingPaneSplitterContainer.h"
#include "ui/persist/ImageManager.h"
#include "ui/persist/PropExchange.h"
#include "ui/themes/TabPainter.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CXTPDockingPaneTabbedContainer, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_WM_MOUSELEAVE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CXTPDockingPaneTabbedContainer::CXTPDockingPaneTabbedContainer(CXTPDockingPaneLayout* pLayout)
    : CXTPDockingPaneElement(xtpPaneTypeTabbedContainer, pLayout)
{
    const UINT ids[] = {XTP_IDS_DOCKINGPANE_CLOSE, XTP_IDS_DOCKINGPANE_MAXIMIZE, XTP_IDS_DOCKINGPANE_RESTORE,
                        XTP_IDS_DOCKINGPANE_AUTOHIDE, XTP_IDS_DOCKINGPANE_MENU};
    for (UINT nID : ids)
        m_arrCaptionButtons.push_back(new CPaneCaptionButton(nID, this));
    m_bActive = FALSE;
}

CXTPDockingPaneTabbedContainer::~CXTPDockingPaneTabbedContainer()
{
    if (::IsWindow(m_hWnd))
        DestroyWindow();
}

void CXTPDockingPaneTabbedContainer::CreateContainerWindow()
{
    CXTPDockingPaneManager* pManager = GetDockingPaneManager();
    if (m_hWnd || m_pLayout->IsUserLayout() || !m_pDockingSite || !m_pDockingSite->GetSafeHwnd())
        return;
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    if (CreateEx(0, lpszClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0),
                 m_pDockingSite, 0))
        m_pDropTarget->Register(this);
    (void)pManager;
}

void CXTPDockingPaneTabbedContainer::Init(CXTPDockingPane* pPane, CWnd* pSite)
{
    m_pDockingSite = pSite;
    m_szDocking = pPane->m_szDocking;
    m_rcWindow = pPane->GetPaneWindowRect();
    AddPane(pPane);
}

void CXTPDockingPaneTabbedContainer::AddPane(CXTPDockingPane* pPane, int nIndex)
{
    CreateContainerWindow();
    if (nIndex < 0 || nIndex > GetPaneCount())
        m_lstPanes.push_back(pPane);
    else
        m_lstPanes.insert(m_lstPanes.begin() + nIndex, pPane);
    pPane->SetParentContainer(this);
    pPane->SetDockingSite(m_pDockingSite);
    DelayRecalcLayout(m_pDockingSite);
    SelectPane(pPane, TRUE, TRUE);
    if (m_pParentContainer)
        m_pParentContainer->OnChildContainerChanged(this);
}

void CXTPDockingPaneTabbedContainer::RemovePane(CXTPDockingPaneElement* pElement)
{
    auto it = std::find(m_lstPanes.begin(), m_lstPanes.end(), pElement);
    if (it == m_lstPanes.end())
        return;
    CXTPDockingPane* pPane = *it;
    m_lstPanes.erase(it);
    UpdateTabs();
    pPane->SetParentContainer(nullptr);
    if (m_pParentContainer)
        m_pParentContainer->OnChildContainerChanged(this);
    if (m_lstPanes.empty() && ::IsWindow(m_hWnd))
        DestroyWindow();
    DelayRecalcLayout(m_pDockingSite);
    if (pPane == m_pSelectedPane) {
        m_pSelectedPane = nullptr;
        SelectPane(m_lstPanes.empty() ? nullptr : m_lstPanes.back(), TRUE, TRUE);
    }
}

void CXTPDockingPaneTabbedContainer::SelectPane(CXTPDockingPane* pPane, BOOL bSetFocus, BOOL bDelayLayout)
{
    if (pPane != m_pSelectedPane) {
        m_pSelectedPane = pPane;
        if (bDelayLayout) {
            DelayRecalcLayout(m_pDockingSite);
            if (m_pParentContainer)
                m_pParentContainer->OnChildContainerChanged(this);
        } else {
            OnChildChanged(TRUE);
        }
    }
    if (bSetFocus && pPane) {
        if (IsActive())
            GetDockingPaneManager()->SetActivePane(TRUE, pPane);
        pPane->SetFocus();
    }
}

CXTPDockingPane* CXTPDockingPaneTabbedContainer::PaneOfItem(CXTPTabManagerItem* pItem) const
{
    int nIndex = pItem ? pItem->GetIndex() : -1;
    return nIndex >= 0 && nIndex < GetPaneCount() ? m_lstPanes[nIndex] : nullptr;
}

void CXTPDockingPaneTabbedContainer::UpdateTabs()
{
    m_nLockReposition++;
    DeleteAllItems();
    for (CXTPDockingPane* pPane : m_lstPanes) {
        CXTPTabManagerItem* pItem = InsertItem(GetItemCount());
        pItem->SetCaption(pPane->GetTabCaption());
        pItem->SetColor(pPane->GetItemColor());
        pItem->SetTooltip(pPane->GetTitle());
        if (pPane == m_pSelectedPane)
            SetSelectedItem(pItem);
    }
    CheckCaptionButtonsHover(CPoint(-1, -1));
    m_nLockReposition--;
}

CString CXTPDockingPaneTabbedContainer::GetTitle() const
{
    return m_pSelectedPane ? m_pSelectedPane->GetTitle() : CString();
}

void CXTPDockingPaneTabbedContainer::ShowTitle(BOOL bShow)
{
    m_bShowCaption = bShow;
    DelayRecalcLayout(m_pDockingSite);
}

BOOL CXTPDockingPaneTabbedContainer::IsTitleVisible() const
{
    return m_bShowCaption && m_pSelectedPane && !(m_pSelectedPane->GetOptions() & xtpPaneNoCaption);
}

BOOL CXTPDockingPaneTabbedContainer::IsTabsVisible() const
{
    // A container sliding out of an edge strip shows its panes' tabs in the strip.
    if (dynamic_cast<CXTPDockingPaneAutoHideWnd*>(m_pDockingSite))
        return FALSE;
    return GetPaneCount() > 1 || GetDockingPaneManager()->GetPaintManager()->m_bShowTabsAlways;
}

BOOL CXTPDockingPaneTabbedContainer::IsCaptionVertical() const
{
    CXTPDockingPaneManager* pManager = GetDockingPaneManager();
    switch (pManager->m_nCaptionOrientation) {
    case 0:
        return FALSE;
    case 2: {
        int nDirection = pManager->GetPaneDirection(this);
        return nDirection == xtpPaneDockTop || nDirection == xtpPaneDockBottom;
    }
    case 3:
        return m_rcWindow.Width() > m_rcWindow.Height();
    default:
        return TRUE;
    }
}

BOOL CXTPDockingPaneTabbedContainer::IsAllowMaximize() const
{
    CXTPDockingPaneSplitterContainer* pSplitter = dynamic_cast<CXTPDockingPaneSplitterContainer*>(m_pParentContainer);
    if (!pSplitter || !GetDockingPaneManager()->m_bShowMaximizeButton)
        return FALSE;
    CXTPDockingPaneElementList lst;
    pSplitter->FindChildren(xtpPaneTypeTabbedContainer, &lst);
    return lst.size() > 1;
}

void CXTPDockingPaneTabbedContainer::Maximize()
{
    CXTPDockingPaneSplitterContainer* pSplitter = dynamic_cast<CXTPDockingPaneSplitterContainer*>(m_pParentContainer);
    if (!pSplitter)
        return;
    CXTPDockingPaneElementList lst;
    pSplitter->FindChildren(xtpPaneTypeTabbedContainer, &lst);
    for (CXTPDockingPaneElement* pElement : lst)
        static_cast<CXTPDockingPaneTabbedContainer*>(pElement)->m_bMaximized = pElement == this;
    if (CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(m_pDockingSite))
        pFrame->RecalcLayout();
}

void CXTPDockingPaneTabbedContainer::Restore()
{
    m_bMaximized = FALSE;
    if (CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(m_pDockingSite))
        pFrame->RecalcLayout();
}

void CXTPDockingPaneTabbedContainer::SaveDockingSize()
{
    int nDirection = GetDockingPaneManager()->GetPaneDirection(this);
    BOOL bHorizontal = nDirection == xtpPaneDockLeft || nDirection == xtpPaneDockRight;
    for (CXTPDockingPane* pPane : m_lstPanes) {
        if (bHorizontal)
            pPane->m_szDocking.cx = m_rcWindow.Width();
        else
            pPane->m_szDocking.cy = m_rcWindow.Height();
    }
}

void CXTPDockingPaneTabbedContainer::SetFocusToPane()
{
    if (m_pSelectedPane && m_pSelectedPane->GetChild())
        m_pSelectedPane->SetFocus();
    else if (m_hWnd)
        SetFocus();
    GetDockingPaneManager()->SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
}

void CXTPDockingPaneTabbedContainer::ShowInContainer()
{
    if (!m_pSelectedPane)
        return;
    if (CXTPDockingPaneAutoHidePanel* pPanel = dynamic_cast<CXTPDockingPaneAutoHidePanel*>(m_pParentContainer))
        pPanel->ShowPane(m_pSelectedPane, TRUE);
    else if (CXTPDockingPaneMiniWnd* pFrame = dynamic_cast<CXTPDockingPaneMiniWnd*>(m_pDockingSite)) {
        if (pFrame->GetSafeHwnd() && !pFrame->IsWindowVisible())
            pFrame->ShowWindow(SW_SHOWNA);
    }
}

BOOL CXTPDockingPaneTabbedContainer::HitTestCaptionOrTabs(CRect rect, CPoint point) const
{
    CXTPDockingPanePaintManager* pTheme = GetDockingPaneManager()->GetPaintManager();
    int nCaption = pTheme->GetCaptionHeight() + 3;
    CRect rcStrip = rect;
    if (IsTitleVisible()) {
        if (IsCaptionVertical()) {
            rcStrip.right = rcStrip.left + nCaption;
            rect.left = rcStrip.right;
        } else {
            rcStrip.bottom = rcStrip.top + nCaption;
            rect.top = rcStrip.bottom;
        }
    } else {
        // Without a caption of its own the floating frame's title bar above the container is the strip.
        CRect rcSite;
        if (m_pDockingSite && m_pDockingSite->GetSafeHwnd())
            m_pDockingSite->GetWindowRect(rcSite);
        rcStrip.top = rcSite.top;
        rcStrip.bottom = rect.top;
    }
    if (rcStrip.PtInRect(point))
        return TRUE;
    if (!IsTabsVisible())
        return FALSE;
    CRect rcTabs(rect.left, rect.bottom - pTheme->GetTabsHeight(), rect.right, rect.bottom);
    return rcTabs.PtInRect(point);
}

CRect CXTPDockingPaneTabbedContainer::GetPaneClientRect(CRect rc)
{
    // Only the tabs measure text: a screen DC is taken for them alone, it costs a trip to the window server.
    CXTPDockingPanePaintManager* pTheme = GetDockingPaneManager()->GetPaintManager();
    if (!IsTabsVisible()) {
        pTheme->RecalcLayout(nullptr, nullptr, IsTitleVisible(), IsCaptionVertical(), rc);
        return rc;
    }
    CWindowDC dc(nullptr);
    pTheme->RecalcLayout(this, &dc, IsTitleVisible(), IsCaptionVertical(), rc);
    return rc;
}

int CXTPDockingPaneTabbedContainer::HitTest(CPoint point) const
{
    CRect rcClient;
    ::GetClientRect(m_hWnd, &rcClient);
    if (IsTitleVisible()) {
        CRect rcArea = rcClient;
        GetDockingPaneManager()->GetPaintManager()->AdjustCaptionRect(TRUE, IsCaptionVertical(), rcArea);
        if (rcClient.PtInRect(point) && !rcArea.PtInRect(point))
            return -2;
    }
    if (!IsTabsVisible())
        return -1;
    CXTPTabManagerItem* pItem = CXTPTabManager::HitTest(point);
    return pItem ? pItem->GetIndex() : -1;
}

void CXTPDockingPaneTabbedContainer::LayoutPanes(BOOL bShow)
{
    CRect rc = m_rcWindow;
    if (m_hWnd) {
        rc.OffsetRect(-rc.TopLeft());
        rc = GetPaneClientRect(rc);
    }
    for (CXTPDockingPane* pPane : m_lstPanes) {
        if (bShow)
            pPane->ShowWindow(pPane == m_pSelectedPane);
        AFX_SIZEPARENTPARAMS params = {};
        params.hDWP = reinterpret_cast<HDWP>(static_cast<INT_PTR>(1));
        pPane->OnSizeParent(this, rc, &params);
    }
}

void CXTPDockingPaneTabbedContainer::OnChildChanged(BOOL bRelayout)
{
    if (!m_hWnd || !m_pParentContainer || m_nLockReposition)
        return;
    UpdateTabs();
    if (bRelayout)
        LayoutPanes(TRUE);
    Invalidate(FALSE);
    m_pParentContainer->OnChildChanged(bRelayout);
}

void CXTPDockingPaneTabbedContainer::OnSizeParent(CWnd* pParent, CRect rect, LPVOID lParam)
{
    SetDockingSite(pParent);
    m_rcWindow = rect;
    AFX_SIZEPARENTPARAMS* pParams = static_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (pParams && !pParams->hDWP)
        return;
    if (m_hWnd) {
        PlaceWindow(m_hWnd, rect, pParent, lParam);
        Invalidate(FALSE);
    }
    m_nLockReposition++;
    UpdateTabs();
    m_nLockReposition--;
    if (CPaneCaptionButton* pPin = FindCaptionButton(XTP_IDS_DOCKINGPANE_AUTOHIDE))
        pPin->m_dwState = IsHidden() ? 3 : dynamic_cast<CXTPDockingPaneMiniWnd*>(m_pDockingSite) ? 0 : 1;
    LayoutPanes(TRUE);
}

void CXTPDockingPaneTabbedContainer::SetDockingSite(CWnd* pSite)
{
    m_pDockingSite = pSite;
    if (m_hWnd && pSite && pSite->GetSafeHwnd() && ::GetParent(m_hWnd) != pSite->GetSafeHwnd())
        ::SetParent(m_hWnd, pSite->GetSafeHwnd());
}

void CXTPDockingPaneTabbedContainer::OnParentContainerChanged(CXTPDockingPaneElement* pContainer)
{
    if (pContainer)
        SetDockingSite(pContainer->GetDockingSite());
    m_bShowCaption = TRUE;
    if (m_hWnd && IsHidden())
        ShowWindow(SW_HIDE);
}

void CXTPDockingPaneTabbedContainer::OnIdleUpdate()
{
    if (!m_hWnd)
        return;
    HWND hWndFocus = ::GetFocus();
    BOOL bActive = FALSE;
    if (hWndFocus) {
        HWND hWndOwner = ::GetWindow(hWndFocus, GW_OWNER);
        HWND hWndParent = ::GetParent(hWndFocus);
        bActive = hWndFocus == m_hWnd || ::IsChild(m_hWnd, hWndFocus) ||
                  (hWndOwner && (hWndOwner == m_hWnd || ::IsChild(m_hWnd, hWndOwner))) ||
                  (hWndParent && (hWndParent == m_hWnd || ::IsChild(m_hWnd, hWndParent)));
    }
    CXTPDockingPaneManager* pManager = GetDockingPaneManager();
    if (bActive != IsActive()) {
        m_bActive = bActive;
        pManager->SetActivePane(bActive, m_pSelectedPane);
        Invalidate(FALSE);
    } else if (bActive && m_pSelectedPane != pManager->GetActivePane()) {
        pManager->SetActivePane(TRUE, m_pSelectedPane);
    }
    if (m_pSelectedPane && m_pSelectedPane->GetChild())
        ::SendMessageW(m_pSelectedPane->GetChild(), WM_IDLEUPDATECMDUI, TRUE, 0);
}

BOOL CXTPDockingPaneTabbedContainer::ContainsPane(CXTPDockingPaneElement* pElement) const
{
    return pElement == this || std::find(m_lstPanes.begin(), m_lstPanes.end(), pElement) != m_lstPanes.end();
}

void CXTPDockingPaneTabbedContainer::FindPane(int nType, CXTPDockingPaneElementList* pList)
{
    if (nType == m_nType) {
        pList->push_back(this);
        return;
    }
    for (CXTPDockingPane* pPane : m_lstPanes)
        pPane->FindPane(nType, pList);
}

void CXTPDockingPaneTabbedContainer::GetMinMaxInfo(LPMINMAXINFO pMinMaxInfo) const
{
    CXTPDockingPaneElement::GetMinMaxInfo(pMinMaxInfo);
    for (CXTPDockingPane* pPane : m_lstPanes) {
        MINMAXINFO mmi;
        pPane->GetMinMaxInfo(&mmi);
        pMinMaxInfo->ptMinTrackSize.x = std::max(pMinMaxInfo->ptMinTrackSize.x, mmi.ptMinTrackSize.x);
        pMinMaxInfo->ptMinTrackSize.y = std::max(pMinMaxInfo->ptMinTrackSize.y, mmi.ptMinTrackSize.y);
        pMinMaxInfo->ptMaxTrackSize.x = std::min(pMinMaxInfo->ptMaxTrackSize.x, mmi.ptMaxTrackSize.x);
        pMinMaxInfo->ptMaxTrackSize.y = std::min(pMinMaxInfo->ptMaxTrackSize.y, mmi.ptMaxTrackSize.y);
    }
    // A sibling that is maximized leaves this one its caption only.
    CXTPDockingPaneSplitterContainer* pSplitter = dynamic_cast<CXTPDockingPaneSplitterContainer*>(m_pParentContainer);
    if (pSplitter && !m_bMaximized && IsAllowMaximize()) {
        CXTPDockingPaneElementList lst;
        pSplitter->FindChildren(xtpPaneTypeTabbedContainer, &lst);
        for (CXTPDockingPaneElement* pElement : lst) {
            if (static_cast<CXTPDockingPaneTabbedContainer*>(pElement)->m_bMaximized) {
                (pSplitter->IsHoriz() ? pMinMaxInfo->ptMaxTrackSize.x : pMinMaxInfo->ptMaxTrackSize.y) = 0;
                break;
            }
        }
    }
    CRect rc(0, 0, 1000, 1000);
    CXTPDockingPaneTabbedContainer* pThis = const_cast<CXTPDockingPaneTabbedContainer*>(this);
    rc = pThis->GetPaneClientRect(rc);
    CSize szFrame(1000 - rc.Width(), 1000 - rc.Height());
    pMinMaxInfo->ptMinTrackSize.x += szFrame.cx;
    pMinMaxInfo->ptMinTrackSize.y += szFrame.cy;
    pMinMaxInfo->ptMaxTrackSize.x += szFrame.cx;
    pMinMaxInfo->ptMaxTrackSize.y += szFrame.cy;
}

BOOL CXTPDockingPaneTabbedContainer::IsHidden() const
{
    return m_pParentContainer && m_pParentContainer->GetType() == xtpPaneTypeAutoHidePanel;
}

BOOL CXTPDockingPaneTabbedContainer::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPDockingPaneElement::DoPropExchange(pPX);
    if (pPX->IsStoring()) {
        int nCount = GetPaneCount();
        int nSelected = m_pSelectedPane ? m_pSelectedPane->m_nLayoutId : 0;
        ExchangeInt(pPX, L"Panes", nCount, 0);
        ExchangeInt(pPX, L"Selected", nSelected, 0);
        for (int i = 0; i < nCount; i++) {
            CString strKey;
            strKey.Format(L"Pane-%d", i + 1);
            int nNumber = m_lstPanes[i]->m_nLayoutId;
            ExchangeInt(pPX, strKey, nNumber, 0);
        }
        return TRUE;
    }
    int nCount = 0, nSelected = 0;
    ExchangeInt(pPX, L"Panes", nCount, 0);
    ExchangeInt(pPX, L"Selected", nSelected, 0);
    if (nCount < 0 || nCount > static_cast<int>(m_pLayout->GetElementList().size()))
        return FALSE;
    CXTPDockingPane* pSelected = nullptr;
    for (int i = 0; i < nCount; i++) {
        CString strKey;
        strKey.Format(L"Pane-%d", i + 1);
        int nNumber = 0;
        ExchangeInt(pPX, strKey, nNumber, 0);
        CXTPDockingPane* pPane = dynamic_cast<CXTPDockingPane*>(CXTPDockingPaneLayout::ResolveElement(pPX, nNumber));
        if (!pPane || pPane->GetContainer())
            return FALSE;
        AddPane(pPane);
        if (nNumber == nSelected)
            pSelected = pPane;
    }
    if (pSelected)
        SelectPane(pSelected, FALSE, TRUE);
    return TRUE;
}

CXTPDockingPaneElement* CXTPDockingPaneTabbedContainer::Clone(CXTPDockingPaneLayout* pLayout, CXTPPaneToPaneMap* pMap,
                                                              DWORD dwIgnoredOptions)
{
    CXTPDockingPaneTabbedContainer* pClone = static_cast<CXTPDockingPaneTabbedContainer*>(
        GetDockingPaneManager()->CreateElement(xtpPaneTypeTabbedContainer, pLayout));
    pClone->m_pDockingSite = GetDockingPaneManager()->GetSite();
    pClone->m_rcWindow = m_rcWindow;
    pClone->m_szDocking = m_szDocking;
    pClone->m_bShowCaption = TRUE;
    if (pMap) {
        // Applying a layout: the window of a replaced container goes on here, shown as a new one would be.
        auto* pDonor = dynamic_cast<CXTPDockingPaneTabbedContainer*>(pLayout->TakeDonor(this));
        if (pDonor && pDonor->HandOverWindow(pClone)) {
            CXTPDockingPaneDropTarget::HandOver(pDonor->m_pDropTarget, pClone->m_pDropTarget);
            if (!IsHidden() && !(pClone->GetStyle() & WS_VISIBLE))
                pClone->ShowWindow(SW_SHOWNA);
        }
        for (CXTPDockingPane* pPane : m_lstPanes) {
            CXTPDockingPane* pPaneClone = static_cast<CXTPDockingPane*>(pPane->Clone(pLayout, pMap));
            pClone->AddPane(pPaneClone);
        }
        if (m_pSelectedPane && pMap->count(m_pSelectedPane))
            pClone->SelectPane(static_cast<CXTPDockingPane*>((*pMap)[m_pSelectedPane]), FALSE, TRUE);
        (*pMap)[this] = pClone;
    } else {
        CXTPDockingPane* pSelected = m_pSelectedPane;
        std::vector<CXTPDockingPane*> lstPanes = m_lstPanes;
        for (CXTPDockingPane* pPane : lstPanes) {
            if (pPane->GetOptions() & dwIgnoredOptions)
                continue;
            RemovePane(pPane);
            pClone->AddPane(pPane);
        }
        if (pSelected && pSelected->GetContainer() == pClone)
            pClone->SelectPane(pSelected, FALSE, TRUE);
    }
    return pClone;
}

BOOL CXTPDockingPaneTabbedContainer::IsCaptionButtonVisible(CPaneCaptionButton* pButton)
{
    switch (pButton->GetID()) {
    case XTP_IDS_DOCKINGPANE_AUTOHIDE:
        return m_pSelectedPane && !(m_pSelectedPane->GetOptions() & xtpPaneNoHideable) && (pButton->m_dwState & 1);
    case XTP_IDS_DOCKINGPANE_CLOSE:
        return m_pSelectedPane && !(m_pSelectedPane->GetOptions() & xtpPaneNoCloseable);
    case XTP_IDS_DOCKINGPANE_MAXIMIZE:
        return IsAllowMaximize() && !m_bMaximized;
    case XTP_IDS_DOCKINGPANE_RESTORE:
        return IsAllowMaximize() && m_bMaximized;
    case XTP_IDS_DOCKINGPANE_MENU:
        return m_pSelectedPane && (m_pSelectedPane->GetOptions() & xtpPaneHasMenuButton);
    default:
        return TRUE;
    }
}

void CXTPDockingPaneTabbedContainer::Reposition()
{
    if (!m_nLockReposition)
        DelayRecalcLayout(m_pDockingSite);
}

CXTPTabPainter* CXTPDockingPaneTabbedContainer::GetPaintManager() const
{
    return GetDockingPaneManager()->GetPaintManager()->GetPaneTabPainter();
}

void CXTPDockingPaneTabbedContainer::RedrawControl()
{
    if (!m_nLockReposition && m_hWnd)
        Invalidate(FALSE);
}

BOOL CXTPDockingPaneTabbedContainer::DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize szIcon)
{
    if (!pItem)
        return TRUE;
    CXTPDockingPane* pPane = PaneOfItem(pItem);
    CXTPImageManagerIcon* pIcon = pPane ? pPane->GetIcon(szIcon.cx) : nullptr;
    if (!pIcon)
        return FALSE;
    if (bDraw) {
        int nState = !pItem->IsEnabled() ? xtpImageDisabled
                   : pItem->IsHot()      ? xtpImageHot
                   : pItem->IsSelected() ? xtpImageChecked
                                         : xtpImageNormal;
        pIcon->Draw(pDC, pt, nState, szIcon);
    }
    return TRUE;
}

void CXTPDockingPaneTabbedContainer::OnCaptionButtonRectChanged(CPaneCaptionButton* /*pButton*/)
{
    DelayRecalcLayout(m_pDockingSite);
}

void CXTPDockingPaneTabbedContainer::RedrawCaptionButton(CPaneCaptionButton* pButton)
{
    if (m_hWnd)
        InvalidateRect(pButton->GetRect(), FALSE);
}

void CXTPDockingPaneTabbedContainer::ShowCaptionButtonPressed(CPaneCaptionButton* pButton, BOOL bPressed)
{
    pButton->SetPressed(bPressed);
    RedrawCaptionButton(pButton);
    if (m_hWnd)
        UpdateWindow();
}

void CXTPDockingPaneTabbedContainer::OnCaptionButtonClick(CPaneCaptionButton* pButton)
{
    CXTPDockingPaneManager* pManager = GetDockingPaneManager();
    switch (pButton->GetID()) {
    case XTP_IDS_DOCKINGPANE_AUTOHIDE:
        if (IsHidden()) {
            pManager->ToggleDocking(this);
        } else if (!pManager->NotifyAction(xtpPaneActionPinning, m_pSelectedPane, this)) {
            CXTPDockingPane* pPane = m_pSelectedPane;
            SaveDockingSize();
            pManager->HidePane(pPane);
            pManager->NotifyAction(xtpPaneActionPinned, pPane, this);
        }
        break;
    case XTP_IDS_DOCKINGPANE_CLOSE: {
        std::vector<CXTPDockingPane*> lstClose;
        if (pManager->m_bCloseGroupOnButtonClick)
            lstClose.assign(m_lstPanes.rbegin(), m_lstPanes.rend());
        else if (m_pSelectedPane)
            lstClose.push_back(m_pSelectedPane);
        for (CXTPDockingPane* pPane : lstClose) {
            if (pPane->GetOptions() & xtpPaneNoCloseable)
                continue;
            if (pManager->NotifyAction(xtpPaneActionClosing, pPane, this))
                continue;
            pManager->ClosePane(pPane);
            pManager->NotifyAction(xtpPaneActionClosed, pPane, this);
        }
        break;
    }
    case XTP_IDS_DOCKINGPANE_MAXIMIZE:
        Maximize();
        break;
    case XTP_IDS_DOCKINGPANE_RESTORE:
        Restore();
        break;
    }
}

INT_PTR CXTPDockingPaneTabbedContainer::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    for (CPaneCaptionButton* pButton : m_arrCaptionButtons) {
        if (pButton->IsVisible() && pButton->GetRect().PtInRect(point))
            return CaptionButtonToolHit(pButton, m_hWnd, pButton->GetRect(), pTI);
    }
    if (!IsTabsVisible())
        return -1;
    return CXTPTabManager::OnToolHitTest(m_hWnd, CXTPTabManager::HitTest(point), pTI);
}

LRESULT CXTPDockingPaneTabbedContainer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    CMessageScope scope(this);
    // Every message is offered to the tips first, as the message pump would.
    DWORD dwPos = ::GetMessagePos();
    MSG msg = {m_hWnd, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()),
               {static_cast<short>(LOWORD(dwPos)), static_cast<short>(HIWORD(dwPos))}};
    m_tipContext.FilterToolTipMessage(&msg, TRUE);
    return CWnd::WindowProc(message, wParam, lParam);
}

void CXTPDockingPaneTabbedContainer::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rc;
    CWnd::GetClientRect(rc);
    COffscreenDC dc(&dcPaint, rc);
    XTP_DOCKINGPANE_CAPTION caption;
    caption.strTitle = GetTitle();
    caption.pButtons = &m_arrCaptionButtons;
    caption.bActive = IsActive();
    caption.bVertical = IsCaptionVertical();
    GetDockingPaneManager()->GetPaintManager()->DrawPane(&dc, IsTitleVisible() ? &caption : nullptr,
                                                         IsTabsVisible() ? this : nullptr, rc);
}

BOOL CXTPDockingPaneTabbedContainer::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CXTPDockingPaneTabbedContainer::OnLButtonDown(UINT nFlags, CPoint point)
{
    for (INT_PTR i = 0; i < static_cast<INT_PTR>(m_arrCaptionButtons.size()); i++) {
        CPaneCaptionButton* pButton = m_arrCaptionButtons[i];
        if (!pButton->GetRect().PtInRect(point) || !pButton->IsVisible())
            continue;
        SetFocusToPane();
        if (pButton->GetID() == XTP_IDS_DOCKINGPANE_MENU) {
            if (m_pSelectedPane) {
                CRect rc = pButton->GetRect();
                ClientToScreen(rc);
                XTP_DOCKINGPANE_CLICK click = {m_pSelectedPane, rc.left, rc.bottom};
                // The button shows pressed while its menu is open.
                ShowCaptionButtonPressed(pButton, TRUE);
                GetDockingPaneManager()->NotifyFrame(XTP_DPN_CONTEXTMENU, reinterpret_cast<LPARAM>(&click));
                ShowCaptionButtonPressed(pButton, FALSE);
            }
        } else if (pButton->TrackClick(this, FALSE) && m_pSelectedPane) {
            OnCaptionButtonClick(pButton);
        }
        return;
    }
    if (PerformClick(m_hWnd, point, TRUE))
        return;
    int nHit = HitTest(point);
    if (nHit >= 0) {
        m_rcTabs.clear();
        for (int i = 0; i < GetItemCount(); i++)
            m_rcTabs.push_back(GetItem(i)->GetRect());
        SelectPane(m_lstPanes[nHit], TRUE, FALSE);
        m_pTrackingPane = m_lstPanes[nHit];
        SetCapture();
    } else if (nHit == -2) {
        if (IsHidden()) {
            SetFocusToPane();
        } else {
            CPoint pt = point;
            ClientToScreen(&pt);
            SetFocusToPane();
            GetDockingPaneManager()->GetDockingContext()->Drag(this, pt);
        }
    } else {
        SetFocusToPane();
        CWnd::OnLButtonDown(nFlags, point);
    }
}

void CXTPDockingPaneTabbedContainer::OnLButtonDblClk(UINT, CPoint point)
{
    for (INT_PTR i = 0; i < static_cast<INT_PTR>(m_arrCaptionButtons.size()); i++) {
        CPaneCaptionButton* pButton = m_arrCaptionButtons[i];
        if (pButton->IsVisible() && pButton->GetRect().PtInRect(point))
            return;
    }
    // The press before the double click did the scrolling already.
    for (int i = 0; i < GetNavigateButtonCount(); i++)
        if (GetNavigateButton(i)->GetRect().PtInRect(point))
            return;
    int nHit = HitTest(point);
    if (nHit >= 0) {
        GetDockingPaneManager()->ToggleDocking(m_lstPanes[nHit]);
    } else if (nHit == -2) {
        if (IsHidden() && m_pSelectedPane && (m_pSelectedPane->GetOptions() & xtpPaneNoHideable))
            return;
        GetDockingPaneManager()->ToggleDocking(this);
    }
}

void CXTPDockingPaneTabbedContainer::OnRButtonDown(UINT, CPoint point)
{
    int nHit = HitTest(point);
    if (nHit >= 0) {
        SelectPane(m_lstPanes[nHit], TRUE, TRUE);
        if (CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(m_pDockingSite))
            pFrame->RecalcLayout();
    }
    SetFocusToPane();
    GetDockingPaneManager()->NotifyFrame(XTP_DPN_RCLICK, reinterpret_cast<LPARAM>(static_cast<CXTPDockingPaneElement*>(this)));
}

void CXTPDockingPaneTabbedContainer::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_pTrackingPane) {
        PerformMouseMove(m_hWnd, point);
        if (CheckCaptionButtonsHover(point))
            Invalidate(FALSE);
        CWnd::OnMouseMove(nFlags, point);
        return;
    }
    // Over another tab's rectangle the two panes swap places.
    for (int i = 0; i < static_cast<int>(m_rcTabs.size()) && i < GetPaneCount(); i++) {
        if (!m_rcTabs[i].PtInRect(point) || m_lstPanes[i] == m_pTrackingPane)
            continue;
        auto it = std::find(m_lstPanes.begin(), m_lstPanes.end(), m_pTrackingPane);
        std::iter_swap(it, m_lstPanes.begin() + i);
        UpdateTabs();
        DelayRecalcLayout(m_pDockingSite);
        return;
    }
    CRect rcHeader = GetHeaderRect();
    if (rcHeader.IsRectEmpty() || rcHeader.PtInRect(point))
        return;
    CXTPDockingPane* pPane = m_pTrackingPane;
    CXTPDockingPaneManager* pManager = GetDockingPaneManager();
    if (pManager->NotifyAction(xtpPaneActionDetaching, pPane, this))
        return;
    EndTabDrag();
    CPoint pt = point;
    ClientToScreen(&pt);
    pManager->GetDockingContext()->Drag(pPane, pt);
}

void CXTPDockingPaneTabbedContainer::EndTabDrag()
{
    if (!m_pTrackingPane)
        return;
    m_pTrackingPane = nullptr;
    m_rcTabs.clear();
    if (GetCapture() == this)
        ::ReleaseCapture();
}

void CXTPDockingPaneTabbedContainer::OnLButtonUp(UINT nFlags, CPoint point)
{
    EndTabDrag();
    CWnd::OnLButtonUp(nFlags, point);
}

void CXTPDockingPaneTabbedContainer::OnCaptureChanged(CWnd* pWnd)
{
    m_pTrackingPane = nullptr;
    m_rcTabs.clear();
    CWnd::OnCaptureChanged(pWnd);
}

void CXTPDockingPaneTabbedContainer::OnDragOverTab(CPoint point)
{
    if (!GetPaintManager()->m_bSelectOnDragOver || !IsTabsVisible())
        return;
    CXTPDockingPane* pPane = PaneOfItem(CXTPTabManager::HitTest(point));
    if (pPane && pPane != m_pSelectedPane)
        SelectPane(pPane, FALSE, FALSE);
}

void CXTPDockingPaneTabbedContainer::OnDestroy()
{
    m_pDropTarget->Revoke();
    CWnd::OnDestroy();
}

void CXTPDockingPaneTabbedContainer::OnMouseLeave()
{
    EndTabDrag();
    PerformMouseMove(m_hWnd, CPoint(-1, -1));
    if (CheckCaptionButtonsHover(CPoint(-1, -1)))
        Invalidate(FALSE);
}
