#include "ui/docking/DockingPaneContext.h"

#include "ui/docking/DockingPane.h"
#include "ui/docking/DockingPaneLayout.h"
#include "ui/docking/DockingPaneManager.h"
#include "ui/docking/DockingPaneMiniWnd.h"
#include "ui/docking/DockingPaneSplitterContainer.h"
#include "ui/docking/DockingPaneTabbedContainer.h"
#include "ui/themes/DrawHelpers.h"

#include <algorithm>

#include <windowsx.h>

#include <cmath>

namespace
{
const int nOutlineWidth = 4;

// The outline region of a rectangle: a frame 4 pixels wide; as a tab, the body's and the tab's frames with the
// seam between them left open.
void MakeOutlineRgn(CRgn* pRgn, const CRect& rc, BOOL bTab)
{
    if (rc.IsRectEmpty()) {
        pRgn->CreateRectRgn(0, 0, 0, 0);
        return;
    }
    // Each region is created once: a second creation into the same object would leave the first one behind.
    auto frame = [](CRgn* pFrame, CRect rcFrame) {
        CRgn rgnInner;
        pFrame->CreateRectRgnIndirect(rcFrame);
        rcFrame.DeflateRect(nOutlineWidth, nOutlineWidth);
        rgnInner.CreateRectRgnIndirect(rcFrame.IsRectEmpty() ? CRect(0, 0, 0, 0) : rcFrame);
        pFrame->CombineRgn(pFrame, &rgnInner, RGN_DIFF);
    };
    if (!bTab) {
        frame(pRgn, rc);
        return;
    }
    int nTabHeight = std::min(20, rc.Height() / 2);
    int nTabWidth = std::min(50, rc.Width() - 5);
    CRect rcBody(rc.left, rc.top, rc.right, rc.bottom - nTabHeight);
    CRect rcTab(rc.left + 5, rc.bottom - nTabHeight - nOutlineWidth, rc.left + 5 + nTabWidth, rc.bottom);
    CRgn rgnBody, rgnTab, rgnSeam;
    frame(&rgnBody, rcBody);
    frame(&rgnTab, rcTab);
    pRgn->CreateRectRgn(0, 0, 0, 0);
    pRgn->CombineRgn(&rgnBody, &rgnTab, RGN_OR);
    CRect rcSeam;
    rcSeam.IntersectRect(rcBody, rcTab);
    rcSeam.DeflateRect(nOutlineWidth, 0);
    if (!rcSeam.IsRectEmpty()) {
        rgnSeam.CreateRectRgnIndirect(rcSeam);
        pRgn->CombineRgn(pRgn, &rgnSeam, RGN_XOR);
    }
}

// The outline inverted on the desktop window's DC. Wine ignores LockWindowUpdate, so the end of a drag redraws
// every window the outline crossed.
class CScreenOutline : public CXTPDockingPaneOutline
{
public:
    void Begin() override
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessageW(&msg);
        HWND hWndDesktop = ::GetDesktopWindow();
        m_bLocked = ::LockWindowUpdate(hWndDesktop);
        m_hDC = ::GetDCEx(hWndDesktop, nullptr, m_bLocked ? DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE
                                                          : DCX_WINDOW | DCX_CACHE);
        m_rcDrawn.SetRectEmpty();
        m_rcCrossed.SetRectEmpty();
        m_bTab = FALSE;
    }
    void Show(const CRect& rc, BOOL bTab) override
    {
        if (!m_hDC)
            return;
        CRgn rgnOld, rgnNew;
        MakeOutlineRgn(&rgnOld, m_rcDrawn, m_bTab);
        MakeOutlineRgn(&rgnNew, rc, bTab);
        rgnNew.CombineRgn(&rgnNew, &rgnOld, RGN_XOR);
        CDC* pDC = CDC::FromHandle(m_hDC);
        pDC->SelectClipRgn(&rgnNew);
        CRect rcClip;
        pDC->GetClipBox(rcClip);
        CBrush* pOldBrush = pDC->SelectObject(CDC::GetHalftoneBrush());
        pDC->PatBlt(rcClip.left, rcClip.top, rcClip.Width(), rcClip.Height(), PATINVERT);
        pDC->SelectObject(pOldBrush);
        pDC->SelectClipRgn(nullptr);
        m_rcDrawn = rc;
        m_bTab = bTab;
        m_rcCrossed.UnionRect(m_rcCrossed, rc);
    }
    void End() override
    {
        Show(CRect(0, 0, 0, 0), FALSE);
        if (m_bLocked)
            ::LockWindowUpdate(nullptr);
        if (m_hDC)
            ::ReleaseDC(::GetDesktopWindow(), m_hDC);
        m_hDC = nullptr;
        if (!m_rcCrossed.IsRectEmpty())
            ::RedrawWindow(nullptr, m_rcCrossed, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }

private:
    HDC m_hDC = nullptr;
    BOOL m_bLocked = FALSE;
    BOOL m_bTab = FALSE;
    CRect m_rcDrawn;
    CRect m_rcCrossed;
};
}

CXTPDockingPaneContext::CXTPDockingPaneContext(CXTPDockingPaneManager* pManager)
    : m_pManager(pManager), m_pOutline(new CScreenOutline)
{
    // Without the entry every drag draws the outline.
    if (HMODULE hUser = ::GetModuleHandleW(L"USER32"))
        m_pfnSetLayeredWindowAttributes = reinterpret_cast<CXTPDockingPaneGhostWnd::PFN_SETLAYEREDWINDOWATTRIBUTES>(
            reinterpret_cast<void*>(::GetProcAddress(hUser, "SetLayeredWindowAttributes")));
}

CXTPDockingPaneContext::~CXTPDockingPaneContext()
{
    DestroyMarkers();
    for (auto& entry : m_mapMarkerRegions)
        ::DeleteObject(entry.second);
    delete m_pOutline;
}

void CXTPDockingPaneContext::SetOutline(CXTPDockingPaneOutline* pOutline)
{
    delete m_pOutline;
    m_pOutline = pOutline ? pOutline : new CScreenOutline;
}

BOOL CXTPDockingPaneContext::IsActionVetoed(int nAction, CXTPDockingPaneElement* pContainer, INT_PTR nExtra) const
{
    CXTPDockingPaneElementList lst;
    if (m_pElement->GetType() == xtpPaneTypeDockingPane)
        lst.push_back(m_pElement);
    else
        m_pElement->FindPane(xtpPaneTypeDockingPane, &lst);
    for (CXTPDockingPaneElement* pElement : lst) {
        if (m_pManager->NotifyAction(nAction, static_cast<CXTPDockingPane*>(pElement), pContainer, nExtra))
            return TRUE;
    }
    return FALSE;
}

void CXTPDockingPaneContext::BeginDrag(CXTPDockingPaneElement* pElement, CPoint point)
{
    m_pElement = pElement;
    // A floating frame moves from its window rectangle, not from its client's.
    CXTPDockingPaneMiniWnd* pFrame = dynamic_cast<CXTPDockingPaneMiniWnd*>(pElement->GetContainer());
    m_rcFloating = pFrame ? pFrame->GetFrameRect() : pElement->GetScreenRect();
    if (point.x < m_rcFloating.left)
        m_rcFloating.OffsetRect(point.x - m_rcFloating.left, 0);
    if (point.x > m_rcFloating.right)
        m_rcFloating.OffsetRect(point.x - m_rcFloating.right, 0);
    if (point.y < m_rcFloating.top)
        m_rcFloating.OffsetRect(0, point.y - m_rcFloating.top);
    if (point.y > m_rcFloating.bottom)
        m_rcFloating.OffsetRect(0, point.y - m_rcFloating.bottom);
    m_ptLast = m_ptStart = point;
    m_bThresholdPassed = FALSE;
    m_pTarget = nullptr;
    m_bAttachAsTab = FALSE;
    m_bFloatable = TRUE;
    m_rcDocking.SetRectEmpty();
    m_rcDrawn.SetRectEmpty();
    m_bTranslucent = m_pManager->m_bShowContentsWhileDragging && m_pfnSetLayeredWindowAttributes;
    m_bUseMarkers = m_bTranslucent && m_pManager->m_bShowDockingContextStickers;
    m_bLastTab = FALSE;

    CXTPDockingPaneElementList lst;
    if (pElement->GetType() == xtpPaneTypeDockingPane)
        lst.push_back(pElement);
    else
        pElement->FindPane(xtpPaneTypeDockingPane, &lst);
    for (CXTPDockingPaneElement* p : lst) {
        CXTPDockingPane* pPane = static_cast<CXTPDockingPane*>(p);
        if (m_pManager->NotifyAction(xtpPaneActionFloating, pPane) || (pPane->GetOptions() & xtpPaneNoFloatable))
            m_bFloatable = FALSE;
    }
}

void CXTPDockingPaneContext::Drag(CXTPDockingPaneElement* pElement, CPoint point)
{
    // A capture held elsewhere means another modal loop runs: no drag, and nothing of the screen taken.
    if (::GetCapture())
        return;
    BeginDrag(pElement, point);
    InitLoop();
    Track();
}

void CXTPDockingPaneContext::InitLoop()
{
    m_rcDrawn.SetRectEmpty();
    m_rcMarkerContainer.SetRectEmpty();
    m_pMarkerContainer = m_pLastMarkerContainer = nullptr;
    if (!m_bTranslucent)
        m_pOutline->Begin();
}

void CXTPDockingPaneContext::EndDrag()
{
    if (::GetCapture())
        ::ReleaseCapture();
    if (m_bTranslucent) {
        DestroyGhosts();
        DestroyMarkers();
        for (auto& entry : m_mapMarkerRegions)
            ::DeleteObject(entry.second);
        m_mapMarkerRegions.clear();
    } else {
        m_pOutline->End();
    }
    m_rcDrawn.SetRectEmpty();
}

void CXTPDockingPaneContext::Track()
{
    CWnd* pSite = m_pElement->GetDockingSite();
    HWND hWndCapture = pSite ? pSite->GetSafeHwnd() : nullptr;
    BOOL bDropped = FALSE;
    if (hWndCapture && !::GetCapture()) {
        ::SetCapture(hWndCapture);
        while (::GetCapture() == hWndCapture) {
            MSG msg;
            if (!AfxGetModalLoopMessage(&msg))
                break;
            if (msg.message == WM_LBUTTONUP) {
                bDropped = TRUE;
                break;
            }
            if (msg.message == WM_MOUSEMOVE) {
                // The point of the message, not the cursor's position now.
                CPoint pt(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam));
                ::ClientToScreen(msg.hwnd, &pt);
                if (m_bThresholdPassed || std::abs(pt.x - m_ptStart.x) > nMoveThreshold ||
                    std::abs(pt.y - m_ptStart.y) > nMoveThreshold) {
                    m_bThresholdPassed = TRUE;
                    Move(pt);
                }
                continue;
            }
            if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) {
                if (msg.wParam == VK_ESCAPE)
                    break;
                if (msg.wParam == VK_CONTROL) {
                    if (m_bThresholdPassed)
                        Move(m_ptLast);
                    continue;
                }
            }
            ::DispatchMessageW(&msg);
        }
    }
    EndDrag();
    if (bDropped && m_bThresholdPassed)
        Drop();
}

void CXTPDockingPaneContext::Drop()
{
    CXTPDockingPaneElementList lst;
    if (m_pElement->GetType() == xtpPaneTypeDockingPane)
        lst.push_back(m_pElement);
    else
        m_pElement->FindPane(xtpPaneTypeDockingPane, &lst);
    int nAction;
    if (m_bAttachAsTab && m_pTarget) {
        m_pManager->AttachPane(m_pElement, m_pTarget);
        nAction = xtpPaneActionAttached;
    } else if (m_pTarget) {
        m_pManager->MoveElement(m_pElement, m_pManager->MirrorDirection(m_nDirection), m_pTarget);
        nAction = xtpPaneActionDocked;
    } else if (m_bFloatable) {
        if (m_rcFloating.top < 0)
            m_rcFloating.OffsetRect(0, -m_rcFloating.top);
        CXTPDockingPaneMiniWnd* pFrame = dynamic_cast<CXTPDockingPaneMiniWnd*>(m_pElement->GetContainer());
        if (m_pElement->GetType() == xtpPaneTypeSplitterContainer && pFrame)
            pFrame->MoveFrame(m_rcFloating);
        else
            m_pManager->FloatPane(m_pElement, m_rcFloating);
        nAction = xtpPaneActionFloated;
    } else {
        return;
    }
    for (CXTPDockingPaneElement* pPane : lst)
        m_pManager->NotifyAction(nAction, static_cast<CXTPDockingPane*>(pPane));
}

void CXTPDockingPaneContext::Move(CPoint point)
{
    CRect rcMoved = m_rcFloating;
    rcMoved.OffsetRect(point - m_ptLast);
    CRect rcWork, rcTest;
    GetWorkArea(&rcWork, m_rcFloating);
    if (rcTest.IntersectRect(rcMoved, rcWork))
        m_rcFloating = rcMoved;
    m_pTarget = nullptr;
    m_bAttachAsTab = FALSE;
    m_rcMarkerContainer.SetRectEmpty();
    m_pMarkerContainer = nullptr;
    if (::GetKeyState(VK_CONTROL) >= 0)
        FindDockingTarget(point);
    m_ptLast = point;
    if (m_bUseMarkers) {
        UpdateMarkers();
        HitTestMarkers(point);
    }
    DrawFocusRect(FALSE);
}

void CXTPDockingPaneContext::FindDockingTarget(CPoint point)
{
    for (const XTP_DOCKINGPANE_INFO& info : *m_pManager->GetPaneList()) {
        CXTPDockingPaneTabbedContainer* pContainer = info.pPane->GetTabbedContainer();
        if (!pContainer || pContainer->GetContainer() == nullptr ||
            pContainer->GetContainer()->GetType() != xtpPaneTypeSplitterContainer)
            continue;
        HWND hWnd = pContainer->GetPaneHwnd();
        if (!hWnd || !(::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_VISIBLE))
            continue;
        if (m_pElement->ContainsPane(pContainer))
            continue;
        CRect rc = pContainer->GetScreenRect();
        if (pContainer->HitTestCaptionOrTabs(rc, point) && !IsActionVetoed(xtpPaneActionAttaching, pContainer, 0)) {
            m_pTarget = pContainer;
            m_bAttachAsTab = TRUE;
            m_rcDocking = rc;
            return;
        }
        // With markers the container under the cursor only gets them; the markers decide.
        if (m_bUseMarkers) {
            if (rc.PtInRect(point)) {
                m_rcMarkerContainer = rc;
                m_pMarkerContainer = pContainer;
                return;
            }
            continue;
        }
        if (IsDockingPosition(rc, point, pContainer, TRUE))
            return;
    }
    CXTPDockingPaneElement* pClient = m_pManager->GetClientPane();
    CXTPDockingPaneSplitterContainer* pTop = m_pManager->GetTopContainer();
    if (m_bUseMarkers) {
        if (pClient && pClient->GetScreenRect().PtInRect(point)) {
            m_rcMarkerContainer = pClient->GetScreenRect();
            m_pMarkerContainer = pClient;
        } else if (pTop && pTop->GetScreenRect().PtInRect(point)) {
            m_rcMarkerContainer = pTop->GetScreenRect();
        }
        return;
    }
    if (pClient && IsDockingPosition(pClient->GetScreenRect(), point, pClient, TRUE))
        return;
    if (pTop)
        IsDockingPosition(pTop->GetScreenRect(), point, pTop, FALSE);
}

BOOL CXTPDockingPaneContext::IsDockingPosition(CRect rect, CPoint point, CXTPDockingPaneElement* pElement, BOOL bInside)
{
    double dLimit = nDockingDistance;
    double dAspect = 1.0;
    if (bInside && !m_bFloatable) {
        if (rect.Width() > 1 && rect.Height() > 1)
            dAspect = static_cast<double>(rect.Height()) / rect.Width();
        dLimit = 32000.0;
    }
    if (rect.Width() == 0 || rect.Height() == 0)
        return FALSE;
    CRect rcHit = rect;
    if (!bInside)
        rcHit.InflateRect(nDockingDistance, nDockingDistance);
    if (!rcHit.PtInRect(point))
        return FALSE;
    int nSign = bInside ? 1 : -1;
    struct EDGE
    {
        double dDistance;
        int nDifference;
        int nDirection;
    };
    const EDGE edges[] = {
        {std::fabs(static_cast<double>(point.y - rect.top)), point.y - rect.top, xtpPaneDockTop},
        {std::fabs(static_cast<double>(rect.bottom - point.y)), rect.bottom - point.y, xtpPaneDockBottom},
        {std::fabs(static_cast<double>(point.x - rect.left)) * dAspect, point.x - rect.left, xtpPaneDockLeft},
        {std::fabs(static_cast<double>(rect.right - point.x)) * dAspect, rect.right - point.x, xtpPaneDockRight},
    };
    int nDirection = -1;
    double dBest = dLimit;
    for (const EDGE& edge : edges) {
        if (edge.dDistance < dBest && edge.nDifference * nSign >= 0) {
            dBest = edge.dDistance;
            nDirection = edge.nDirection;
        }
    }
    if (nDirection < 0 || IsActionVetoed(xtpPaneActionDocking, pElement, nDirection))
        return FALSE;
    m_nDirection = nDirection;
    m_pManager->CalcDockingRect(m_rcDocking, m_pElement, nDirection, pElement);
    m_pTarget = pElement;
    return TRUE;
}

void CXTPDockingPaneContext::DrawFocusRect(BOOL bRemove)
{
    CRect rc;
    if (!bRemove) {
        if (m_pTarget)
            rc = m_rcDocking;
        else if (m_bFloatable)
            rc = m_rcFloating;
    }
    BOOL bTab = !bRemove && m_pTarget && m_bAttachAsTab;
    if (m_bTranslucent)
        UpdateGhosts(rc, bTab);
    else
        m_pOutline->Show(rc, bTab);
    m_rcDrawn = rc;
    m_bLastTab = bTab;
}

void CXTPDockingPaneContext::UpdateGhosts(CRect rc, BOOL bTab)
{
    CWnd* pSite = m_pManager->GetSite();
    if (bTab != m_bLastTab) {
        if (!bTab)
            m_wndTabGhost.DestroyWindow();
        else if (!m_wndTabGhost.GetSafeHwnd())
            m_wndTabGhost.CreateGhost(pSite, m_pfnSetLayeredWindowAttributes);
    }
    if (bTab) {
        int nTabHeight = std::min(20, rc.Height() / 2);
        int nTabWidth = std::min(50, rc.Width() - 5);
        rc.bottom -= nTabHeight;
        if (m_wndTabGhost.GetSafeHwnd())
            m_wndTabGhost.SetWindowPos(nullptr, rc.left + 5, rc.bottom, nTabWidth, nTabHeight,
                                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    // Nothing to show (an element that may not float, away from targets): the ghost hides.
    if (rc.IsRectEmpty()) {
        if (m_wndGhost.GetSafeHwnd())
            m_wndGhost.ShowWindow(SW_HIDE);
        return;
    }
    // A layered window is made anew for a new size rather than stretched.
    CRect rcGhost;
    if (m_wndGhost.GetSafeHwnd())
        m_wndGhost.GetWindowRect(rcGhost);
    if (!m_wndGhost.GetSafeHwnd() || rcGhost.Size() != rc.Size()) {
        if (m_wndGhost.GetSafeHwnd())
            m_wndGhost.DestroyWindow();
        if (!m_wndGhost.CreateGhost(pSite, m_pfnSetLayeredWindowAttributes))
            return;
    }
    m_wndGhost.SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CXTPDockingPaneContext::DestroyGhosts()
{
    if (m_wndGhost.GetSafeHwnd())
        m_wndGhost.DestroyWindow();
    if (m_wndTabGhost.GetSafeHwnd())
        m_wndTabGhost.DestroyWindow();
    m_bLastTab = FALSE;
}

int CXTPDockingPaneContext::GetMarkerStyle() const
{
    return m_pManager->m_nStickerStyle == 1 ? 1 : 0;
}

CXTPDockingPaneMarkerWnd* CXTPDockingPaneContext::CreateMarker(CRect rect, int nFlags)
{
    if (nFlags == 0 || nFlags == xtpMarkerCentre)
        return nullptr;
    int nStyle = GetMarkerStyle();
    CXTPDockingPaneMarkerWnd* pMarker = new CXTPDockingPaneMarkerWnd(nFlags, nStyle);
    m_lstMarkers.push_back(pMarker);
    if (!pMarker->CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)), L"",
                           WS_POPUP, CRect(0, 0, 0, 0), m_pManager->GetSite(), 0))
        return pMarker;
    HRGN& hShape = m_mapMarkerRegions[nFlags];
    if (!hShape)
        hShape = CXTPDockingPaneMarkerWnd::CreateMarkerRegion(nFlags, nStyle);
    // The window owns the region it is given: it gets a copy.
    HRGN hCopy = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(hCopy, hShape, nullptr, RGN_COPY);
    ::SetWindowRgn(pMarker->GetSafeHwnd(), hCopy, FALSE);
    pMarker->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                          SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return pMarker;
}

void CXTPDockingPaneContext::DestroyMarkers()
{
    std::vector<CXTPDockingPaneMarkerWnd*> lstMarkers;
    lstMarkers.swap(m_lstMarkers);
    for (CXTPDockingPaneMarkerWnd* pMarker : lstMarkers) {
        if (pMarker->GetSafeHwnd())
            pMarker->DestroyWindow();
        delete pMarker;
    }
}

void CXTPDockingPaneContext::UpdateMarkers()
{
    if (m_rcMarkerContainer.IsRectEmpty()) {
        m_pLastMarkerContainer = nullptr;
        DestroyMarkers();
        return;
    }
    int nStyle = GetMarkerStyle();
    CSize szCentre = CXTPDockingPaneMarkerWnd::GetMarkerSize(xtpMarkerCentre, nStyle);
    CPoint ptCentre((m_rcMarkerContainer.left + m_rcMarkerContainer.right) / 2,
                    (m_rcMarkerContainer.top + m_rcMarkerContainer.bottom) / 2);
    CRect rcCentre(ptCentre - CSize(szCentre.cx / 2, szCentre.cy / 2), szCentre);
    if (m_pMarkerContainer == m_pLastMarkerContainer && !m_lstMarkers.empty())
        return;
    DestroyMarkers();
    if (m_pMarkerContainer) {
        int nFlags = 0;
        const int directions[][2] = {{xtpPaneDockLeft, xtpMarkerLeft}, {xtpPaneDockRight, xtpMarkerRight},
                                     {xtpPaneDockBottom, xtpMarkerBottom}, {xtpPaneDockTop, xtpMarkerTop}};
        for (const auto& direction : directions) {
            if (!IsActionVetoed(xtpPaneActionDocking, m_pMarkerContainer, direction[0]))
                nFlags |= direction[1];
        }
        BOOL bTab = m_pMarkerContainer != m_pManager->GetClientPane() &&
                    !IsActionVetoed(xtpPaneActionAttaching, m_pMarkerContainer, 0);
        CreateMarker(rcCentre, nFlags | xtpMarkerCentre | (bTab ? xtpMarkerTab : 0));
    }
    if (CXTPDockingPaneSplitterContainer* pTop = m_pManager->GetTopContainer()) {
        CRect R = pTop->GetScreenRect();
        CSize szAcross = CXTPDockingPaneMarkerWnd::GetMarkerSize(xtpMarkerTop, nStyle);
        CSize szAlong = CXTPDockingPaneMarkerWnd::GetMarkerSize(xtpMarkerLeft, nStyle);
        int xCentre = R.left + (R.Width() - szAcross.cx) / 2;
        int yCentre = R.top + (R.Height() - szAlong.cy) / 2;
        const struct
        {
            int nDirection, nFlag;
            CRect rc;
        } edges[] = {
            {xtpPaneDockTop, xtpMarkerTop, CRect(CPoint(xCentre, R.top + 16), szAcross)},
            {xtpPaneDockLeft, xtpMarkerLeft, CRect(CPoint(R.left + 16, yCentre), szAlong)},
            {xtpPaneDockBottom, xtpMarkerBottom, CRect(CPoint(xCentre, R.bottom - szAcross.cy - 16), szAcross)},
            {xtpPaneDockRight, xtpMarkerRight, CRect(CPoint(R.right - szAlong.cx - 16, yCentre), szAlong)},
        };
        for (const auto& edge : edges) {
            if (!IsActionVetoed(xtpPaneActionDocking, pTop, edge.nDirection))
                CreateMarker(edge.rc, edge.nFlag);
        }
    }
    m_pLastMarkerContainer = m_pMarkerContainer;
}

void CXTPDockingPaneContext::HitTestMarkers(CPoint point)
{
    BOOL bFound = FALSE;
    for (auto it = m_lstMarkers.rbegin(); it != m_lstMarkers.rend(); ++it) {
        CXTPDockingPaneMarkerWnd* pMarker = *it;
        int nCode = bFound ? 0 : pMarker->HitTest(point);
        if (!nCode) {
            pMarker->SetHotCode(0);
            continue;
        }
        bFound = TRUE;
        // A centre marker's arrows refer to the container under it, an edge marker's to the frame.
        BOOL bCentre = (pMarker->GetFlags() & xtpMarkerCentre) != 0;
        CXTPDockingPaneElement* pTarget = bCentre ? m_pMarkerContainer : m_pManager->GetTopContainer();
        BOOL bVetoed;
        if (nCode == xtpMarkerTab) {
            bVetoed = IsActionVetoed(xtpPaneActionAttaching, pTarget, 0);
            m_pTarget = bVetoed ? nullptr : pTarget;
            m_bAttachAsTab = !bVetoed;
            m_rcDocking = bCentre ? m_rcMarkerContainer : pTarget->GetScreenRect();
        } else {
            m_nDirection = nCode == xtpMarkerLeft    ? xtpPaneDockLeft
                         : nCode == xtpMarkerRight   ? xtpPaneDockRight
                         : nCode == xtpMarkerTop     ? xtpPaneDockTop
                                                     : xtpPaneDockBottom;
            m_bAttachAsTab = FALSE;
            bVetoed = IsActionVetoed(xtpPaneActionDocking, pTarget, m_nDirection);
            m_pTarget = bVetoed ? nullptr : pTarget;
            if (!bVetoed)
                m_pManager->CalcDockingRect(m_rcDocking, m_pElement, m_nDirection, pTarget);
        }
        pMarker->SetHotCode(bVetoed ? 0 : nCode);
    }
}
