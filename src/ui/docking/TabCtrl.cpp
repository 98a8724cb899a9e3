#include "ui/docking/TabCtrl.h"

#include "ui/persist/ImageManager.h"
#include "ui/themes/ColorTable.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/TabPainter.h"

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CXTPTabCtrl, CWnd)

BEGIN_MESSAGE_MAP(CXTPTabCtrl, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
    ON_MESSAGE(WM_KEYDOWN, &CXTPTabCtrl::OnKeyDownMessage)
    ON_WM_GETDLGCODE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

CXTPTabCtrl::CXTPTabCtrl() : m_pPainter(new CXTPTabPainter), m_pImageManager(new CXTPImageManager)
{
    // A stand-alone strip: plain colours whatever the scheme, '&' marks a mnemonic, no drag reordering.
    m_pPainter->AddOwner(this);
    m_pPainter->SetOption(TRUE);
    m_pPainter->m_bNoPrefix = FALSE;
    m_bAllowReorder = FALSE;
}

CXTPTabCtrl::~CXTPTabCtrl()
{
    // The window goes first, while its handlers can still reach the painter.
    if (::IsWindow(m_hWnd))
        DestroyWindow();
    m_pPainter->RemoveOwner(this);
    m_pPainter->InternalRelease();
    m_pImageManager->InternalRelease();
}

BOOL CXTPTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    LPCTSTR lpszClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW));
    if (!CWnd::Create(lpszClass, L"", dwStyle, rect, pParentWnd, nID))
        return FALSE;
    EnableToolTips();
    m_dropTarget.Register(this);
    return TRUE;
}

CXTPTabManagerItem* CXTPTabCtrl::InsertItem(int nIndex, LPCTSTR lpszCaption, HWND hWndItem, int nImage)
{
    CXTPTabManagerItem* pItem = CXTPTabManager::InsertItem(nIndex);
    pItem->SetCaption(lpszCaption);
    pItem->SetHandle(hWndItem);
    pItem->SetImageIndex(nImage);
    Reposition();
    if (::IsWindow(hWndItem))
        ::ShowWindow(hWndItem, SW_HIDE);
    if (nIndex == 0)
        SetCurSel(0);
    return pItem;
}

void CXTPTabCtrl::SetImageList(CImageList* pImageList)
{
    if (pImageList)
        m_pImageManager->SetIconsFromImageList(pImageList->GetSafeHandle(), nullptr, 0, CSize(0, 0));
    Reposition();
}

void CXTPTabCtrl::AdjustRect(BOOL bLarger, LPRECT lpRect)
{
    CRect rc = *lpRect;
    m_pPainter->AdjustClientRect(this, rc);
    if (bLarger)
        rc.SetRect(2 * lpRect->left - rc.left, 2 * lpRect->top - rc.top, 2 * lpRect->right - rc.right,
                   2 * lpRect->bottom - rc.bottom);
    *lpRect = rc;
}

void CXTPTabCtrl::SetToolTipMode(int nMode)
{
    m_pPainter->m_nToolTipMode = nMode;
}

void CXTPTabCtrl::SetPaintManager(CXTPTabPainter* pPainter)
{
    m_pPainter->RemoveOwner(this);
    m_pPainter->InternalRelease();
    m_pPainter = pPainter;
    m_pPainter->AddOwner(this);
    m_pPainter->RefreshMetrics();
    Reposition();
}

void CXTPTabCtrl::Reposition()
{
    if (!::IsWindow(m_hWnd))
        return;
    CRect rc;
    CWnd::GetClientRect(&rc);
    {
        CClientDC dc(this);
        m_pPainter->RepositionTabControl(this, &dc, rc);
    }
    if (::IsWindow(m_hWndShown)) {
        CRect rcPage = rc;
        m_pPainter->AdjustClientRect(this, rcPage);
        // The page may be a child of the control or of its parent.
        ::MapWindowPoints(m_hWnd, ::GetParent(m_hWndShown), reinterpret_cast<LPPOINT>(&rcPage), 2);
        ::MoveWindow(m_hWndShown, rcPage.left, rcPage.top, rcPage.Width(), rcPage.Height(), TRUE);
    }
    InvalidateRect(nullptr, FALSE);
}

void CXTPTabCtrl::RedrawControl()
{
    if (::IsWindow(m_hWnd))
        InvalidateRect(nullptr, FALSE);
}

void CXTPTabCtrl::SetSelectedItem(CXTPTabManagerItem* pItem)
{
    if (pItem != m_pSelected) {
        if (::IsWindow(m_hWndShown))
            ::ShowWindow(m_hWndShown, SW_HIDE);
        m_hWndShown = pItem ? pItem->GetHandle() : nullptr;
        if (::IsWindow(m_hWndShown))
            ::ShowWindow(m_hWndShown, SW_SHOW);
    }
    CXTPTabManager::SetSelectedItem(pItem);
    if (!::IsWindow(m_hWnd))
        return;
    // Also when nothing changed: the owner switches its page on every selection.
    CWnd* pOwner = GetOwner();
    if (pOwner && ::IsWindow(pOwner->m_hWnd)) {
        NMHDR nmhdr = {m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), static_cast<UINT>(TCN_SELCHANGE)};
        pOwner->SendMessage(WM_NOTIFY, nmhdr.idFrom, reinterpret_cast<LPARAM>(&nmhdr));
    }
}

void CXTPTabCtrl::OnItemClick(CXTPTabManagerItem* pItem)
{
    CXTPTabManager::OnItemClick(pItem);
    if (!::IsWindow(m_hWndShown))
        return;
    HWND hFocus = ::GetFocus();
    if (hFocus == m_hWnd || hFocus == m_hWndShown || ::IsChild(m_hWndShown, hFocus))
        return;
    HWND hFirst = ::GetNextDlgTabItem(m_hWndShown, nullptr, FALSE);
    ::SetFocus(hFirst && ::IsChild(m_hWndShown, hFirst) ? hFirst : m_hWndShown);
}

BOOL CXTPTabCtrl::IsFocusHiddenByParent() const
{
    HWND hParent = ::GetParent(m_hWnd);
    return hParent && (::SendMessageW(hParent, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
}

void CXTPTabCtrl::OnKeyboardSelect(CXTPTabManagerItem* pItem)
{
    CXTPTabManager::OnKeyboardSelect(pItem);
    if (IsFocusHiddenByParent())
        ::SendMessageW(::GetParent(m_hWnd), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

void CXTPTabCtrl::OnNavigateButtonClick(int nID)
{
    if (nID == CXTPTabManagerNavigateButton::idClose && m_pSelected)
        DeleteItem(m_pSelected->GetIndex());
}

BOOL CXTPTabCtrl::IsFocusCueVisible() const
{
    return (GetStyle() & WS_TABSTOP) && ::GetFocus() == m_hWnd && !IsFocusHiddenByParent();
}

BOOL CXTPTabCtrl::DrawIcon(CDC* pDC, CPoint pt, CXTPTabManagerItem* pItem, BOOL bDraw, CSize szIcon)
{
    if (!pItem)
        return m_pPainter->m_bShowIcons;
    if (pItem->GetImageIndex() == -1 || !m_pPainter->m_bShowIcons)
        return FALSE;
    CXTPImageManagerIcon* pIcon = m_pImageManager->GetImage(static_cast<UINT>(pItem->GetImageIndex()), szIcon.cx);
    if (!pIcon)
        return FALSE;
    if (!bDraw)
        return TRUE;
    CXTPImageManagerIconHandle& hImage = !pItem->IsEnabled() ? pIcon->GetDisabledIcon()
                                         : pItem->IsHot()     ? pIcon->GetHotIcon()
                                         : pItem->IsSelected() ? pIcon->GetCheckedIcon()
                                                               : pIcon->GetIcon();
    pIcon->Draw(pDC, pt, hImage, szIcon);
    return TRUE;
}

INT_PTR CXTPTabCtrl::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    return CXTPTabManager::OnToolHitTest(m_hWnd, HitTest(point), pTI);
}

LRESULT CXTPTabCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD dwPos = ::GetMessagePos();
    MSG msg = {m_hWnd, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()),
               {static_cast<short>(LOWORD(dwPos)), static_cast<short>(HIWORD(dwPos))}};
    m_tipContext.FilterToolTipMessage(&msg, TRUE);
    return CWnd::WindowProc(message, wParam, lParam);
}

void CXTPTabCtrl::PreSubclassWindow()
{
    CWnd::PreSubclassWindow();
    Reposition();
}

// Drop target

DROPEFFECT CXTPTabCtrl::CDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                                                CPoint point)
{
    return OnDragOver(pWnd, pDataObject, dwKeyState, point);
}

DROPEFFECT CXTPTabCtrl::CDropTarget::OnDragOver(CWnd* /*pWnd*/, COleDataObject* /*pDataObject*/,
                                               DWORD /*dwKeyState*/, CPoint point)
{
    if (m_pCtrl->m_pPainter->m_bSelectOnDragOver) {
        if (CXTPTabManagerItem* pItem = m_pCtrl->HitTest(point))
            m_pCtrl->SetSelectedItem(pItem);
    }
    return DROPEFFECT_NONE;
}

// Messages

BOOL CXTPTabCtrl::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

void CXTPTabCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    CWnd::GetClientRect(&rc);
    COffscreenDC buffer(&dc, rc);
    m_pPainter->DrawTabControl(this, &buffer, rc);
}

void CXTPTabCtrl::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    Reposition();
}

void CXTPTabCtrl::OnLButtonDown(UINT /*nFlags*/, CPoint point)
{
    if ((GetStyle() & WS_TABSTOP) && m_pSelected && HitTest(point) == m_pSelected)
        SetFocus();
    PerformClick(m_hWnd, point);
}

void CXTPTabCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    PerformMouseMove(m_hWnd, point);
    CWnd::OnMouseMove(nFlags, point);
}

void CXTPTabCtrl::OnMouseLeave()
{
    PerformMouseMove(m_hWnd, CPoint(-1, -1));
}

LRESULT CXTPTabCtrl::OnKeyDownMessage(WPARAM wParam, LPARAM /*lParam*/)
{
    CXTPTabManager::OnKeyDown(m_hWnd, static_cast<UINT>(wParam));
    return Default();
}

UINT CXTPTabCtrl::OnGetDlgCode()
{
    return ::GetFocus() == m_hWnd ? DLGC_WANTARROWS : CWnd::OnGetDlgCode();
}

void CXTPTabCtrl::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    InvalidateRect(nullptr, FALSE);
}

void CXTPTabCtrl::OnKillFocus(CWnd* pNewWnd)
{
    CWnd::OnKillFocus(pNewWnd);
    InvalidateRect(nullptr, FALSE);
}

void CXTPTabCtrl::OnSysColorChange()
{
    CWnd::OnSysColorChange();
    RefreshStandardColors();
    m_pPainter->RefreshMetrics();
    Reposition();
}
