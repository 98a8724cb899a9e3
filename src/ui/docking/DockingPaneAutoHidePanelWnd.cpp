// The auto-hide panel as a window: its containers and tab rows, its strip in the frame's layout, its painting,
// and the mouse that slides panes out.
#include "ui/docking/DockingPaneAutoHidePanel.h"

#include "ui/docking/DockingPaneAutoHideWnd.h"
#include "ui/docking/DockingPaneLayout.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/docking/DockingPaneTabbedContainer.h"
#include "ui/persist/ImageManager.h"
#include "ui/themes/TabPainter.h"

#include <algorithm>

namespace
{
const int nGroupGap = 8;

// The painter turned to a panel's side for as long as the panel lays out or draws with it.
class CPainterPosition
{
public:
    CPainterPosition(CXTPTabPainter* pPainter, int nPosition) : m_pPainter(pPainter), m_nSaved(pPainter->GetPosition())
    {
        if (nPosition != m_nSaved)
            pPainter->SetPosition(nPosition);
    }
    ~CPainterPosition()
    {
        if (m_pPainter->GetPosition() != m_nSaved)
            m_pPainter->SetPosition(m_nSaved);
    }
    CPainterPosition(const CPainterPosition&) = delete;
    CPainterPosition& operator=(const CPainterPosition&) = delete;

private:
    CXTPTabPainter* m_pPainter;
    int m_nSaved;
};
}

// Tab group

CXTPDockingPaneAutoHidePanel::CTabGroup::CTabGroup(CXTPDockingPaneAutoHidePanel* pPanel,
                                                   CXTPDockingPaneTabbedContainer* pContainer)
    : m_pPanel(pPanel), m_pContainer(pContainer)
{
    for (CXTPDockingPane* pPane : pContainer->GetPanes()) {
        CXTPTabManagerItem* pItem = InsertItem(-1);
        pItem->SetCaption(pPane->GetTabCaption());
    }
}

CXTPDockingPane* CXTPDockingPaneAutoHidePanel::CTabGroup::PaneOfItem(const CXTPTabManagerItem* pItem) const
{
    // The items follow the container's panes.
    const std::vector<CXTPDockingPane*>& panes = m_pContainer->GetPanes();
    int nIndex = pItem ? pItem->GetIndex() : -1;
    return nIndex >= 0 && nIndex < static_cast<int>(panes.size()) ? panes[nIndex] : nullptr;
}

CXTPTabPainter* CXTPDockingPaneAutoHidePanel::CTabGroup::GetPaintManager() const
{
    return m_pPanel->GetPaintManager()->GetAutoHideTabPainter();
}

void CXTPDockingPaneAutoHidePanel::CTabGroup::RedrawControl()
{
    if (m_pPanel->GetSafeHwnd())
        m_pPanel->Invalidate(FALSE);
}

BOOL CXTPDockingPaneAutoHidePanel::CTabGroup::DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw,
                                                       CSize szIcon)
{
    if (!pItem)
        return GetPaintManager()->m_bShowIcons;
    CXTPDockingPane* pPane = PaneOfItem(pItem);
    CXTPImageManagerIcon* pIcon = pPane ? pPane->GetIcon(szIcon.cx) : nullptr;
    if (!pIcon)
        return FALSE;
    if (bDraw)
        pIcon->Draw(pDC, pt, pItem->IsHot() ? xtpImageHot : xtpImageNormal, szIcon);
    return TRUE;
}

// Containers

CXTPDockingPaneAutoHidePanel::~CXTPDockingPaneAutoHidePanel()
{
    if (m_pActiveWnd)
        m_pActiveWnd->CloseWindow();
    if (::IsWindow(m_hWnd))
        DestroyWindow();
}

void CXTPDockingPaneAutoHidePanel::AddContainer(CXTPDockingPaneElement* pContainer)
{
    m_lstContainers.push_back(pContainer);
    pContainer->SetParentContainer(this);
    CWnd* pFrame = GetDockingPaneManager()->GetSite();
    pContainer->SetDockingSite(pFrame);
    DelayRecalcLayout(pFrame);
    pContainer->OnParentContainerChanged(this);
    // A hidden container cannot keep the focus.
    HWND hWndContainer = pContainer->GetPaneHwnd(), hWndFocus = ::GetFocus();
    if (hWndContainer && hWndFocus && (hWndFocus == hWndContainer || ::IsChild(hWndContainer, hWndFocus)) &&
        pFrame && pFrame->GetSafeHwnd())
        pFrame->SetFocus();
    UpdateTabGroups();
    if (m_hWnd)
        Invalidate(FALSE);
}

void CXTPDockingPaneAutoHidePanel::RemovePane(CXTPDockingPaneElement* pElement)
{
    auto it = std::find(m_lstContainers.begin(), m_lstContainers.end(), pElement);
    if (it == m_lstContainers.end())
        return;
    if (m_pActiveWnd && m_pActiveWnd->GetContainer() == pElement)
        m_pActiveWnd->CloseWindow();
    m_lstContainers.erase(it);
    UpdateTabGroups();
    if (m_hWnd)
        Invalidate(FALSE);
    DelayRecalcLayout(m_pDockingSite);
    pElement->SetParentContainer(nullptr);
    if (m_lstContainers.empty() && m_hWnd)
        DestroyWindow();
}

BOOL CXTPDockingPaneAutoHidePanel::IsEmpty() const
{
    return std::all_of(m_lstContainers.begin(), m_lstContainers.end(),
                       [](CXTPDockingPaneElement* p) { return p->IsEmpty(); });
}

void CXTPDockingPaneAutoHidePanel::OnChildContainerChanged(CXTPDockingPaneElement* /*pContainer*/)
{
    if (m_pActiveWnd)
        CloseActiveWindow(GetDockingPaneManager()->IsAttachingPane());
}

void CXTPDockingPaneAutoHidePanel::OnChildChanged(BOOL /*bRelayout*/)
{
    UpdateTabGroups();
    DelayRecalcLayout(m_pDockingSite);
    if (m_hWnd)
        Invalidate(FALSE);
}

void CXTPDockingPaneAutoHidePanel::UpdateTabGroups()
{
    m_arrTabGroups.clear();
    for (CXTPDockingPaneElement* pElement : m_lstContainers) {
        if (!pElement->IsEmpty())
            m_arrTabGroups.push_back(
                std::make_unique<CTabGroup>(this, static_cast<CXTPDockingPaneTabbedContainer*>(pElement)));
    }
}

// Layout

int CXTPDockingPaneAutoHidePanel::GetTabPosition() const
{
    static const int positions[4] = {CXTPTabPainter::positionRight, CXTPTabPainter::positionLeft,
                                     CXTPTabPainter::positionBottom, CXTPTabPainter::positionTop};
    return positions[m_nDirection & 3];
}

int CXTPDockingPaneAutoHidePanel::GetStripThickness()
{
    CXTPTabPainter* pPainter = GetPaintManager()->GetAutoHideTabPainter();
    if (m_arrTabGroups.empty())
        return 0;
    CRect rcMargins = pPainter->GetStyleObject()->GetMargins();
    return pPainter->GetStyleObject()->GetRowHeight(m_arrTabGroups.front().get()) + rcMargins.top + rcMargins.bottom;
}

void CXTPDockingPaneAutoHidePanel::LayoutTabGroups(CDC* pDC, const CRect& rcStrip)
{
    CXTPTabPainter* pPainter = GetPaintManager()->GetAutoHideTabPainter();
    CPainterPosition position(pPainter, GetTabPosition());
    BOOL bHorizontal = m_nDirection == xtpPaneDockTop || m_nDirection == xtpPaneDockBottom;
    int nStart = bHorizontal ? rcStrip.left : rcStrip.top;
    for (const auto& pGroup : m_arrTabGroups) {
        // Measured over the whole strip first, then given just the length of its tabs.
        CRect rc = rcStrip;
        (bHorizontal ? rc.left : rc.top) = nStart;
        pPainter->RepositionTabControl(pGroup.get(), pDC, rc);
        CRect rcMargins = pPainter->GetStyleObject()->GetMargins();
        int nLength = pGroup->GetItemsLength() + rcMargins.left + rcMargins.right;
        (bHorizontal ? rc.right : rc.bottom) = nStart + nLength;
        pPainter->RepositionTabControl(pGroup.get(), pDC, rc);
        nStart += nLength + nGroupGap;
    }
}

BOOL CXTPDockingPaneAutoHidePanel::Create(CWnd* pParent)
{
    LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
    if (!CreateEx(0, lpszClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(), pParent, 0))
        return FALSE;
    m_pDropTarget->Register(this);
    return TRUE;
}

void CXTPDockingPaneAutoHidePanel::OnSizeParent(CWnd* pParent, CRect /*rect*/, LPVOID lParam)
{
    m_pDockingSite = pParent;
    if (IsEmpty()) {
        if (m_hWnd)
            DestroyWindow();
        return;
    }
    if (!m_hWnd && !Create(pParent))
        return;
    // The slide-out window was placed from the old layout: it goes in, and the next hover or click places it anew.
    CloseActiveWindow(FALSE);
    for (CXTPDockingPaneElement* pContainer : m_lstContainers) {
        HWND hWnd = pContainer->GetPaneHwnd();
        // A container sliding out lives in its slide-out window, not among the frame's children.
        if (hWnd && pContainer->GetDockingSite() == pParent)
            ::ShowWindow(hWnd, SW_HIDE);
    }
    // The strip is cut from the side of what the frame has left.
    AFX_SIZEPARENTPARAMS* pParams = static_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (!pParams)
        return;
    UpdateTabGroups();
    int t = GetStripThickness();
    CRect rcLeft = pParams->rect;
    CRect rcStrip = rcLeft;
    switch (m_nDirection) {
    case xtpPaneDockLeft: rcStrip.right = rcStrip.left + t; rcLeft.left += t; break;
    case xtpPaneDockRight: rcStrip.left = rcStrip.right - t; rcLeft.right -= t; break;
    case xtpPaneDockTop: rcStrip.bottom = rcStrip.top + t; rcLeft.top += t; break;
    default: rcStrip.top = rcStrip.bottom - t; rcLeft.bottom -= t; break;
    }
    pParams->rect = rcLeft;
    m_rcWindow = rcStrip;
    {
        CClientDC dc(this);
        LayoutTabGroups(&dc, CRect(CPoint(0, 0), rcStrip.Size()));
    }
    SetWindowPos(nullptr, rcStrip.left, rcStrip.top, rcStrip.Width(), rcStrip.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(FALSE);
}

// Sliding out and in

BOOL CXTPDockingPaneAutoHidePanel::IsPaneOut(const CXTPDockingPane* pPane) const
{
    return m_pActiveWnd && m_pActiveWnd->GetContainer() && m_pActiveWnd->GetContainer()->GetSelected() == pPane;
}

void CXTPDockingPaneAutoHidePanel::ShowPane(CXTPDockingPane* pPane, BOOL bSetFocus)
{
    CXTPDockingPaneManager* pManager = GetDockingPaneManager();
    CXTPDockingPaneTabbedContainer* pContainer = pPane ? pPane->GetTabbedContainer() : nullptr;
    if (pContainer && IsPaneOut(pPane)) {
        if (bSetFocus)
            pPane->SetFocus();
        return;
    }
    // One window at a time: the one out goes in first, unless the frame keeps it.
    CloseActiveWindow(FALSE);
    if (!pContainer || m_pActiveWnd || pManager->NotifyAction(xtpPaneActionExpanding, pPane, pContainer))
        return;
    // Selected first, so that the window takes the size of the pane that slides out. The window becomes the active
    // one only at the end: a change of selection or the frame's layout closes the active window.
    pContainer->SelectPane(pPane, FALSE, TRUE);
    CXTPDockingPaneAutoHideWnd* pWnd = new CXTPDockingPaneAutoHideWnd(this, pContainer);
    if (!pWnd->Open()) {
        delete pWnd;
        return;
    }
    if (bSetFocus)
        pContainer->SelectPane(pPane, TRUE, TRUE);
    if (m_hWnd)
        Invalidate(FALSE);
    if (CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(pManager->GetSite()))
        pFrame->RecalcLayout(TRUE);
    m_pActiveWnd = pWnd;
}

void CXTPDockingPaneAutoHidePanel::CloseActiveWindow(BOOL bDelayed)
{
    if (!m_pActiveWnd)
        return;
    if (CXTPDockingPaneTabbedContainer* pContainer = m_pActiveWnd->GetContainer()) {
        CXTPDockingPaneManager* pManager = GetDockingPaneManager();
        CXTPDockingPane* pPane = pContainer->GetSelected();
        // A veto keeps everything as it is, the window included.
        if (pManager->NotifyAction(xtpPaneActionCollapsing, pPane, pContainer))
            return;
        pManager->NotifyAction(xtpPaneActionCollapsed, pPane, pContainer);
    }
    CXTPDockingPaneAutoHideWnd* pWnd = m_pActiveWnd;
    m_pActiveWnd = nullptr;
    if (bDelayed)
        pWnd->CloseDelayed();
    else
        pWnd->CloseWindow();
}

void CXTPDockingPaneAutoHidePanel::OnActiveWindowClosed(CXTPDockingPaneAutoHideWnd* pWnd)
{
    if (m_pActiveWnd == pWnd)
        m_pActiveWnd = nullptr;
}

CXTPDockingPane* CXTPDockingPaneAutoHidePanel::HitTest(CPoint point) const
{
    for (const auto& pGroup : m_arrTabGroups) {
        if (CXTPTabManagerItem* pItem = pGroup->CXTPTabManager::HitTest(point))
            return pGroup->PaneOfItem(pItem);
    }
    return nullptr;
}

// Window

BEGIN_MESSAGE_MAP(CXTPDockingPaneAutoHidePanel, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, &CXTPDockingPaneAutoHidePanel::OnMouseLeave)
    ON_MESSAGE(WM_MOUSEHOVER, &CXTPDockingPaneAutoHidePanel::OnMouseHover)
    ON_WM_LBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BOOL CXTPDockingPaneAutoHidePanel::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

void CXTPDockingPaneAutoHidePanel::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rc;
    GetClientRect(&rc);
    COffscreenDC dc(&dcPaint, rc);
    CXTPTabPainter* pPainter = GetPaintManager()->GetAutoHideTabPainter();
    CPainterPosition position(pPainter, GetTabPosition());
    const CColorGradient& clrBack = pPainter->GetColorsObject()->m_clrHeaderFace;
    COLORREF clrStart = clrBack.m_clrStart, clrEnd = clrBack.m_clrEnd;
    if (m_nDirection == xtpPaneDockRight || clrStart == clrEnd) {
        dc.FillSolidRect(rc, clrStart);
    } else {
        // One gradient across the frame's width, whatever the panel's own length.
        CRect rcGradient = rc;
        int nWidth = std::max(static_cast<int>(rc.Width()), ::GetSystemMetrics(SM_CXFULLSCREEN) / 2);
        rcGradient.right = rcGradient.left + nWidth;
        GetGradientPainter()->DrawGradient(&dc, &rcGradient, clrStart, clrEnd, TRUE);
    }
    for (const auto& pGroup : m_arrTabGroups)
        pPainter->DrawTabControl(pGroup.get(), &dc, pGroup->GetControlRect());
}

void CXTPDockingPaneAutoHidePanel::OnMouseMove(UINT nFlags, CPoint point)
{
    CWnd::OnMouseMove(nFlags, point);
    for (const auto& pGroup : m_arrTabGroups)
        pGroup->PerformMouseMove(m_hWnd, point);
    if (HitTest(point)) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.hwndTrack = m_hWnd;
        tme.dwHoverTime = HOVER_DEFAULT;
        ::TrackMouseEvent(&tme);
    }
}

LRESULT CXTPDockingPaneAutoHidePanel::OnMouseLeave(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    for (const auto& pGroup : m_arrTabGroups)
        pGroup->PerformMouseMove(m_hWnd, CPoint(-1, -1));
    return 0;
}

LRESULT CXTPDockingPaneAutoHidePanel::OnMouseHover(WPARAM /*wParam*/, LPARAM lParam)
{
    CXTPDockingPane* pPane = HitTest(CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
    // Only while the frame is the active application window.
    if (pPane && IsTopParentActive(m_hWnd) && !IsPaneOut(pPane))
        ShowPane(pPane, FALSE);
    return 0;
}

void CXTPDockingPaneAutoHidePanel::OnDragOverTab(CPoint point)
{
    if (!GetPaintManager()->GetAutoHideTabPainter()->m_bSelectOnDragOver)
        return;
    CXTPDockingPane* pPane = HitTest(point);
    if (pPane && !IsPaneOut(pPane))
        ShowPane(pPane, FALSE);
}

void CXTPDockingPaneAutoHidePanel::OnDestroy()
{
    m_pDropTarget->Revoke();
    CWnd::OnDestroy();
}

void CXTPDockingPaneAutoHidePanel::OnLButtonDown(UINT nFlags, CPoint point)
{
    CXTPDockingPane* pPane = HitTest(point);
    if (!pPane) {
        CWnd::OnLButtonDown(nFlags, point);
        return;
    }
    // The pane already out only takes the focus.
    ShowPane(pPane, TRUE);
}

void CXTPDockingPaneAutoHidePanel::OnRButtonDown(UINT nFlags, CPoint point)
{
    CXTPDockingPane* pPane = HitTest(point);
    if (!pPane) {
        CWnd::OnRButtonDown(nFlags, point);
        return;
    }
    CXTPDockingPaneElement* pElement = pPane;
    GetDockingPaneManager()->NotifyFrame(XTP_DPN_RCLICK, reinterpret_cast<LPARAM>(pElement));
}
