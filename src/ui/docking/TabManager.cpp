#include "ui/docking/TabManager.h"

#include "ui/themes/DrawHelpers.h"
#include "ui/themes/InputSource.h"
#include "ui/themes/TabPainter.h"
#include "ui/themes/TipContext.h"

#include <algorithm>

namespace
{
// Releases the capture a modal mouse loop took, however the loop ends.
class CCaptureGuard
{
public:
    explicit CCaptureGuard(HWND hWnd) : m_hWnd(hWnd) { ::SetCapture(hWnd); }
    ~CCaptureGuard()
    {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    }
    CCaptureGuard(const CCaptureGuard&) = delete;
    CCaptureGuard& operator=(const CCaptureGuard&) = delete;

private:
    HWND m_hWnd;
};

void TrackMouseLeave(HWND hWnd)
{
    if (!::IsWindow(hWnd))
        return;
    TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, hWnd, 0};
    ::_TrackMouseEvent(&tme);
}

CPoint PointOf(const MSG& msg)
{
    return CPoint(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
}

}

// Items

void CXTPTabManagerItem::SetCaption(LPCTSTR lpszCaption)
{
    if (m_strCaption == lpszCaption)
        return;
    m_strCaption = lpszCaption;
    if (m_pManager)
        m_pManager->Reposition();
}

void CXTPTabManagerItem::SetColor(COLORREF clr)
{
    m_clrItem = clr;
    if (m_pManager)
        m_pManager->RedrawControl();
}

void CXTPTabManagerItem::SetVisible(BOOL bVisible)
{
    if (m_bVisible == bVisible)
        return;
    m_bVisible = bVisible;
    if (m_pManager)
        m_pManager->Reposition();
}

void CXTPTabManagerItem::SetEnabled(BOOL bEnabled)
{
    if (m_bEnabled == bEnabled)
        return;
    m_bEnabled = bEnabled;
    if (m_pManager)
        m_pManager->Reposition();
}

void CXTPTabManagerItem::Select()
{
    m_pManager->OnItemClick(this);
}

void CXTPTabManagerItem::Remove()
{
    m_pManager->DeleteItem(m_nIndex);
}

void CXTPTabManagerItem::Move(int nIndex)
{
    if (nIndex != m_nIndex)
        m_pManager->MoveItem(this, nIndex);
}

// Navigate buttons

namespace
{
class CNavigateArrowButton : public CXTPTabManagerNavigateButton
{
public:
    CNavigateArrowButton(CXTPTabManager* pManager, int nID)
        : CXTPTabManagerNavigateButton(pManager, nID, modeAuto)
    {
    }

    void DrawEntry(CDC* pDC, CRect rc) override
    {
        int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
        BOOL bHorizontal = m_pManager->GetPaintManager()->IsHorizontal();
        BOOL bBack = m_nID == idBack;
        POINT pts[3];
        if (bHorizontal && bBack) {
            pts[0] = {cx + 2, cy - 5}, pts[1] = {cx - 2, cy - 1}, pts[2] = {cx + 2, cy + 3};
        } else if (bHorizontal) {
            pts[0] = {cx - 2, cy - 5}, pts[1] = {cx + 2, cy - 1}, pts[2] = {cx - 2, cy + 3};
        } else if (bBack) {
            pts[0] = {cx - 5, cy + 2}, pts[1] = {cx - 1, cy - 2}, pts[2] = {cx + 3, cy + 2};
        } else {
            pts[0] = {cx - 5, cy - 2}, pts[1] = {cx - 1, cy + 2}, pts[2] = {cx + 3, cy - 2};
        }
        pDC->Polygon(pts, 3);
    }

    void OnExecute(BOOL bTick) override
    {
        if (bTick)
            m_pManager->OnNavigateScroll(m_nID == idForward);
    }
};

class CNavigateCloseButton : public CXTPTabManagerNavigateButton
{
public:
    explicit CNavigateCloseButton(CXTPTabManager* pManager)
        : CXTPTabManagerNavigateButton(pManager, idClose, modeHide)
    {
    }

    void DrawEntry(CDC* pDC, CRect rc) override
    {
        int l = rc.left, t = rc.top, r = rc.right, b = rc.bottom;
        pDC->MoveTo(l + 3, t + 3), pDC->LineTo(r - 4, b - 5);
        pDC->MoveTo(l + 4, t + 3), pDC->LineTo(r - 3, b - 5);
        pDC->MoveTo(l + 3, b - 6), pDC->LineTo(r - 4, t + 2);
        pDC->MoveTo(l + 4, b - 6), pDC->LineTo(r - 3, t + 2);
    }

    void OnExecute(BOOL bTick) override
    {
        if (!bTick)
            m_pManager->OnNavigateButtonClick(idClose);
    }
};
}

void CXTPTabManagerNavigateButton::AdjustWidth(int& nLength)
{
    BOOL bShown = m_nMode == modeShow ||
                  (m_nID == idClose && m_nMode == modeAuto && m_pManager->IsNavigateButtonAutoVisible(this));
    if (bShown)
        nLength -= m_pManager->GetPaintManager()->IsHorizontal() ? m_nWidth : m_nHeight;
}

void CXTPTabManagerNavigateButton::PlaceAtEnd(CRect& rcHeader)
{
    if (m_pManager->GetPaintManager()->IsHorizontal()) {
        int nCentre = (rcHeader.top + rcHeader.bottom) / 2;
        m_rc.SetRect(rcHeader.right - m_nWidth, nCentre - (m_nHeight - m_nHeight / 2), rcHeader.right,
                     nCentre + m_nHeight / 2);
        rcHeader.right -= m_nWidth;
    } else {
        int nCentre = (rcHeader.left + rcHeader.right) / 2;
        m_rc.SetRect(nCentre - m_nWidth / 2, rcHeader.bottom - m_nHeight, nCentre - m_nWidth / 2 + m_nWidth,
                     rcHeader.bottom);
        rcHeader.bottom -= m_nHeight;
    }
}

void CXTPTabManagerNavigateButton::Reposition(CRect& rcHeader)
{
    m_rc.SetRectEmpty();
    if (m_nMode == modeHide)
        return;
    CXTPTabPainter* pPainter = m_pManager->GetPaintManager();
    if (m_nID == idClose) {
        if (m_nMode == modeAuto && !m_pManager->IsNavigateButtonAutoVisible(this))
            return;
        PlaceAtEnd(rcHeader);
        return;
    }
    int nLayout = pPainter->GetLayout();
    if (nLayout == CXTPTabPainter::layoutMultiRow)
        return;
    int nHeaderLength = pPainter->IsHorizontal() ? rcHeader.Width() : rcHeader.Height();
    int nItemsLength = m_pManager->GetItemsLength();
    int nOffset = m_pManager->GetHeaderOffset();
    if (m_nMode == modeAuto) {
        if (nLayout == CXTPTabPainter::layoutCompressed)
            return;
        int nMargin = pPainter->GetStyleObject()->GetMargins().left;
        if (nItemsLength + nOffset - nMargin - 1 <= nHeaderLength && nOffset >= 0)
            return;
    }
    m_bEnabled = m_nID == idBack ? nOffset < 0 : nItemsLength + nOffset > nHeaderLength - 28;
    PlaceAtEnd(rcHeader);
}

void CXTPTabManagerNavigateButton::PerformClick(HWND hWnd, CPoint pt)
{
    if (::GetCapture() || !m_bEnabled)
        return;
    BOOL bResult = FALSE;
    {
        CCaptureGuard capture(hWnd);
        DWORD dwLastTick = CXTPInputSource::GetTickCount();
        for (BOOL bLoop = TRUE; bLoop;) {
            DWORD dwNow = CXTPInputSource::GetTickCount();
            if (dwNow - dwLastTick > 20 && m_bEnabled) {
                dwLastTick = dwNow;
                OnExecute(TRUE);
            }
            BOOL bInside = m_rc.PtInRect(pt);
            if (bInside != m_bPressed) {
                m_bPressed = bInside;
                m_pManager->RedrawControl();
            }
            MSG msg;
            if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                // Nothing queued: wait a little for input instead of spinning.
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
                continue;
            }
            if (!AfxGetModalLoopMessage(&msg))
                break;
            if (::GetCapture() != hWnd) {
                ::DispatchMessageW(&msg);
                break;
            }
            switch (msg.message) {
            case WM_MOUSEMOVE:
                pt = PointOf(msg);
                break;
            case WM_CANCELMODE:
            case WM_RBUTTONDOWN:
                bLoop = FALSE;
                break;
            case WM_KEYDOWN:
                bLoop = msg.wParam != VK_ESCAPE;
                break;
            case WM_LBUTTONUP:
                bResult = m_bPressed;
                bLoop = FALSE;
                break;
            default:
                ::DispatchMessageW(&msg);
                break;
            }
        }
    }
    m_bPressed = FALSE;
    PerformMouseMove(hWnd, pt);
    m_pManager->RedrawControl();
    if (bResult)
        OnExecute(FALSE);
}

void CXTPTabManagerNavigateButton::PerformMouseMove(HWND hWnd, CPoint pt)
{
    BOOL bInside = m_rc.PtInRect(pt);
    if (!bInside && m_bHot) {
        m_bHot = FALSE;
        m_pManager->RedrawControl();
    } else if (bInside && m_bEnabled && !m_bHot) {
        m_bHot = TRUE;
        m_pManager->RedrawControl();
        TrackMouseLeave(hWnd);
    }
}

// The manager

CXTPTabManager::CXTPTabManager() : m_pRowIndexer(new CRowIndexer(this))
{
    m_arrNavigateButtons.push_back(new CNavigateArrowButton(this, CXTPTabManagerNavigateButton::idBack));
    m_arrNavigateButtons.push_back(new CNavigateArrowButton(this, CXTPTabManagerNavigateButton::idForward));
    m_arrNavigateButtons.push_back(new CNavigateCloseButton(this));
}

CXTPTabManager::~CXTPTabManager()
{
    for (CXTPTabManagerItem* pItem : m_arrItems)
        pItem->InternalRelease();
    for (CXTPTabManagerNavigateButton* pButton : m_arrNavigateButtons)
        delete pButton;
    delete m_pRowIndexer;
}

COLORREF CXTPTabManager::GetItemColor(const CXTPTabManagerItem* pItem)
{
    return CXTPTabPainter::GetPredefinedTabColor(pItem->m_clrItem);
}

void CXTPTabManager::OnItemsChanged()
{
    for (int i = 0; i < GetItemCount(); i++)
        m_arrItems[i]->m_nIndex = i;
    Reposition();
}

void CXTPTabManager::SetSelectedItem(CXTPTabManagerItem* pItem)
{
    if (pItem == m_pSelected)
        return;
    m_pSelected = pItem;
    Reposition();
    if (CXTPTabPainter* pPainter = GetPaintManager())
        pPainter->EnsureVisible(this, pItem);
}

void CXTPTabManager::OnKeyboardSelect(CXTPTabManagerItem* pItem)
{
    if (pItem)
        OnItemClick(pItem);
}

void CXTPTabManager::GetItemMetrics(CSize* pszNormal, CSize* pszMin, CSize* pszMax) const
{
    if (pszNormal)
        *pszNormal = m_szItemNormal;
    if (pszMin)
        *pszMin = m_szItemMin;
    if (pszMax)
        *pszMax = m_szItemMax;
}

void CXTPTabManager::SetItemMetrics(CSize szNormal, CSize szMin, CSize szMax)
{
    m_szItemNormal = szNormal;
    m_szItemMin = szMin;
    m_szItemMax = szMax;
    Reposition();
}

BOOL CXTPTabManager::IsDrawStaticFrame() const
{
    return GetPaintManager()->m_bStaticFrame;
}

int CXTPTabManager::GetPosition() const
{
    return GetPaintManager()->GetPosition();
}

void CXTPTabManager::OnNavigateScroll(BOOL bForward)
{
    SetHeaderOffset(bForward ? m_nHeaderOffset - m_nScrollStep : m_nHeaderOffset + m_nScrollStep);
}

BOOL CXTPTabManager::IsNavigateButtonAutoVisible(const CXTPTabManagerNavigateButton* pButton) const
{
    if (pButton->GetID() != CXTPTabManagerNavigateButton::idClose)
        return TRUE;
    return m_pSelected && m_pSelected->IsClosable();
}

CXTPTabManagerItem* CXTPTabManager::InsertItem(int nIndex, CXTPTabManagerItem* pItem)
{
    if (!pItem)
        pItem = new CXTPTabManagerItem(this);
    pItem->m_pManager = this;
    if (nIndex < 0 || nIndex > GetItemCount())
        nIndex = GetItemCount();
    m_arrItems.insert(m_arrItems.begin() + nIndex, pItem);
    pItem->m_clrItem = XTP_TABCOLOR_PREDEFINED + (m_nColorCounter++ % 8);
    OnItemsChanged();
    return pItem;
}

BOOL CXTPTabManager::DeleteItem(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetItemCount())
        return FALSE;
    CXTPTabManagerItem* pItem = m_arrItems[nIndex];
    m_arrItems.erase(m_arrItems.begin() + nIndex);
    // The hot item must not outlive its tab: drawing and hot tracking read it.
    if (m_pHot == pItem)
        m_pHot = nullptr;
    BOOL bSelected = m_pSelected == pItem;
    if (bSelected)
        m_pSelected = nullptr;
    pItem->InternalRelease();
    if (bSelected)
        SetCurSel(nIndex);
    OnItemsChanged();
    return TRUE;
}

void CXTPTabManager::DeleteAllItems()
{
    std::vector<CXTPTabManagerItem*> items;
    items.swap(m_arrItems);
    m_pSelected = nullptr;
    m_pHot = nullptr;
    for (CXTPTabManagerItem* pItem : items)
        pItem->InternalRelease();
    OnItemsChanged();
}

void CXTPTabManager::MoveItem(CXTPTabManagerItem* pItem, int nIndex)
{
    auto it = std::find(m_arrItems.begin(), m_arrItems.end(), pItem);
    if (it == m_arrItems.end() || pItem->GetIndex() == nIndex)
        return;
    if (nIndex < 0 || nIndex >= GetItemCount())
        nIndex = GetItemCount() - 1;
    m_arrItems.erase(it);
    m_arrItems.insert(m_arrItems.begin() + nIndex, pItem);
    OnItemsChanged();
}

void CXTPTabManager::SetCurSel(int nIndex)
{
    if (m_arrItems.empty()) {
        SetSelectedItem(nullptr);
        return;
    }
    nIndex = std::max(0, std::min(nIndex, GetItemCount() - 1));
    SetSelectedItem(m_arrItems[nIndex]);
}

CXTPTabManagerItem* CXTPTabManager::FindNextSelectableItem(int nIndex, int nStep) const
{
    for (int i = nIndex + nStep; i >= 0 && i < GetItemCount(); i += nStep) {
        if (m_arrItems[i]->IsVisible() && m_arrItems[i]->IsEnabled())
            return m_arrItems[i];
    }
    return nullptr;
}

CXTPTabManagerItem* CXTPTabManager::HitTest(CPoint pt) const
{
    if (!m_rcControl.PtInRect(pt))
        return nullptr;
    if (!m_rcHeaderRect.IsRectEmpty() && !m_rcHeaderRect.PtInRect(pt))
        return nullptr;
    for (CXTPTabManagerItem* pItem : m_arrItems) {
        if (pItem->IsEnabled() && pItem->IsVisible() && pItem->GetRect().PtInRect(pt))
            return pItem;
    }
    return nullptr;
}

int CXTPTabManager::GetItemsLength() const
{
    CXTPTabPainter* pPainter = GetPaintManager();
    if (pPainter && pPainter->GetLayout() == CXTPTabPainter::layoutRotated)
        return GetItemCount() * pPainter->GetStyleObject()->GetRowHeight(const_cast<CXTPTabManager*>(this));
    int nLength = 0;
    for (CXTPTabManagerItem* pItem : m_arrItems)
        nLength += pItem->GetLength();
    return nLength;
}

CXTPTabManagerNavigateButton* CXTPTabManager::FindNavigateButton(int nID) const
{
    for (CXTPTabManagerNavigateButton* pButton : m_arrNavigateButtons) {
        if (pButton->GetID() == nID)
            return pButton;
    }
    return nullptr;
}

void CXTPTabManager::SetActive(BOOL bActive)
{
    if (m_bActive == bActive)
        return;
    m_bActive = bActive;
    Reposition();
}

void CXTPTabManager::SetShowIcons(BOOL bShowIcons)
{
    GetPaintManager()->m_bShowIcons = bShowIcons;
    GetPaintManager()->RefreshMetrics();
    Reposition();
}

void CXTPTabManager::SetPosition(int nPosition)
{
    GetPaintManager()->SetPosition(nPosition);
    Reposition();
}

void CXTPTabManager::SetLayout(int nLayout)
{
    GetPaintManager()->SetLayout(nLayout);
    Reposition();
}

int CXTPTabManager::GetLayout() const
{
    return GetPaintManager()->GetLayout();
}

CXTPTabColors* CXTPTabManager::SetColors(int nID)
{
    CXTPTabColors* pColors = GetPaintManager()->SetColors(nID);
    Reposition();
    return pColors;
}

CXTPTabStyle* CXTPTabManager::SetStyle(int nID)
{
    CXTPTabStyle* pStyle = GetPaintManager()->SetStyle(nID);
    Reposition();
    return pStyle;
}

CXTPTabColors* CXTPTabManager::SetColorsObject(CXTPTabColors* pColors)
{
    GetPaintManager()->SetColorsObject(pColors);
    Reposition();
    return pColors;
}

CXTPTabStyle* CXTPTabManager::SetStyleObject(CXTPTabStyle* pStyle)
{
    GetPaintManager()->SetStyleObject(pStyle);
    Reposition();
    return pStyle;
}

void CXTPTabManager::EnableTabThemeTexture(HWND hWnd, BOOL bEnable)
{
    CXTPVisualStyleHandle theme;
    theme.OpenThemeData(hWnd, L"TAB");
    theme.EnableThemeDialogTexture(hWnd, bEnable ? ETDT_ENABLETAB : ETDT_DISABLE | ETDT_USETABTEXTURE);
}

void CXTPTabManager::SwapItems(int nFirst, int nSecond)
{
    std::swap(m_arrItems[static_cast<size_t>(nFirst)], m_arrItems[static_cast<size_t>(nSecond)]);
    OnItemsChanged();
}

// Mouse and keyboard

BOOL CXTPTabManager::PerformClick(HWND hWnd, CPoint pt, BOOL bNavigateOnly)
{
    for (CXTPTabManagerNavigateButton* pButton : m_arrNavigateButtons) {
        if (pButton->GetRect().PtInRect(pt)) {
            pButton->PerformClick(hWnd, pt);
            return TRUE;
        }
    }
    if (bNavigateOnly)
        return FALSE;
    CXTPTabManagerItem* pItem = HitTest(pt);
    if (!pItem)
        return FALSE;
    if (IsAllowReorder())
        ReOrderItem(hWnd, pt, pItem);
    else
        OnItemClick(pItem);
    return TRUE;
}

void CXTPTabManager::PerformMouseMove(HWND hWnd, CPoint pt)
{
    if (!IsTopParentActive(hWnd) || IsMouseLocked())
        return;
    if (GetPaintManager()->m_bHotTracking) {
        CXTPTabManagerItem* pHot = HitTest(pt);
        if (pHot != m_pHot) {
            m_pHot = pHot;
            RedrawControl();
            if (pHot)
                TrackMouseLeave(hWnd);
        }
    }
    for (CXTPTabManagerNavigateButton* pButton : m_arrNavigateButtons)
        pButton->PerformMouseMove(hWnd, pt);
}

INT_PTR CXTPTabManager::OnToolHitTest(HWND hWnd, CXTPTabManagerItem* pItem, TOOLINFO* pTI) const
{
    int nMode = GetPaintManager()->m_nToolTipMode;
    if (!pItem || nMode == 0 || (nMode == 2 && pItem->GetLength() >= pItem->GetContentLength()))
        return -1;
    CString strTip = pItem->GetTooltip();
    if (strTip.IsEmpty())
        return -1;
    // A context that shows titles puts the caption over the tip.
    CTipContext::FillToolInfo(pTI, hWnd, static_cast<UINT_PTR>(pItem->GetIndex()), pItem->GetRect(), 0, strTip,
                              pItem->GetCaption(), strTip);
    return pItem->GetIndex();
}

void CXTPTabManager::ReOrderItem(HWND hWnd, CPoint pt, CXTPTabManagerItem* pItem)
{
    CXTPTabManagerItem* pRemembered = m_pSelected;
    m_pSelected = pItem;
    if (GetPaintManager()->m_bHotTracking)
        m_pHot = pItem;
    Reposition();

    std::vector<CRect> rects;
    for (CXTPTabManagerItem* p : m_arrItems)
        rects.push_back(p->GetRect());
    {
        CCaptureGuard capture(hWnd);
        MSG msg;
        for (BOOL bLoop = TRUE; bLoop && AfxGetModalLoopMessage(&msg);) {
            if (::GetCapture() != hWnd) {
                ::DispatchMessageW(&msg);
                break;
            }
            switch (msg.message) {
            case WM_MOUSEMOVE: {
                pt = PointOf(msg);
                int nIndex = pItem->GetIndex();
                for (int i = 0; i < static_cast<int>(rects.size()) && i < GetItemCount(); i++) {
                    if (i != nIndex && rects[i].PtInRect(pt)) {
                        SwapItems(i, nIndex);
                        break;
                    }
                }
                break;
            }
            case WM_CANCELMODE:
            case WM_LBUTTONUP:
            case WM_RBUTTONDOWN:
                bLoop = FALSE;
                break;
            case WM_KEYDOWN:
                bLoop = msg.wParam != VK_ESCAPE;
                break;
            default:
                ::DispatchMessageW(&msg);
                break;
            }
        }
    }
    PerformMouseMove(hWnd, pt);
    m_pSelected = pRemembered;
    OnItemClick(pItem);
}

BOOL CXTPTabManager::OnKeyDown(HWND /*hWnd*/, UINT nKey)
{
    if (m_arrItems.empty())
        return FALSE;
    BOOL bHorizontal = GetPaintManager()->IsHorizontal();
    int nSelected = GetCurSel();
    CXTPTabManagerItem* pTarget = nullptr;
    switch (nKey) {
    case VK_HOME:
        pTarget = FindNextSelectableItem(-1, 1);
        break;
    case VK_END:
        pTarget = FindNextSelectableItem(GetItemCount(), -1);
        break;
    case VK_LEFT:
    case VK_UP:
        if (bHorizontal == (nKey == VK_LEFT) && nSelected > 0)
            pTarget = FindNextSelectableItem(nSelected, -1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (bHorizontal == (nKey == VK_RIGHT) && nSelected < GetItemCount() - 1)
            pTarget = FindNextSelectableItem(nSelected, 1);
        break;
    default:
        return FALSE;
    }
    if (pTarget)
        OnKeyboardSelect(pTarget);
    return TRUE;
}
