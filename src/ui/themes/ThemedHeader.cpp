#include "ui/themes/ThemedHeader.h"

#include "ui/persist/ResourceLoader.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/UiGlobalData.h"
#include "ui/uires.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CXTHeaderCtrl, CHeaderCtrl)

CXTHeaderCtrl::CXTHeaderCtrl() : CXTThemeManagerStyleHost(RUNTIME_CLASS(CXTHeaderCtrlThemeFactory))
{
    m_bRTL = IsRightToLeft();
}

CXTHeaderCtrl::~CXTHeaderCtrl() = default;

CXTThemeManagerStyleFactory* CXTHeaderCtrl::GetClassFactory()
{
    return CThemeRegistry::GetInstance()->FindFactory(RUNTIME_CLASS(CXTHeaderCtrlThemeFactory));
}

CXTHeaderCtrlTheme* CXTHeaderCtrl::GetClassTheme()
{
    return static_cast<CXTHeaderCtrlTheme*>(GetClassFactory()->GetSafeTheme());
}

void CXTHeaderCtrl::SetClassTheme(int nTheme)
{
    GetClassFactory()->SetTheme(nTheme);
}

void CXTHeaderCtrl::SetClassTheme(CXTHeaderCtrlTheme* pTheme)
{
    GetClassFactory()->SetTheme(pTheme);
}

BOOL CXTHeaderCtrl::IsMouseOverItem(int nItem)
{
    if (!m_bButtonDown)
        return FALSE;
    CPoint pt;
    GetCursorClientPos(&pt, m_hWnd);
    HDHITTESTINFO hit = {};
    hit.pt = pt;
    return HitTest(&hit) == nItem && nItem >= 0 && (hit.flags & HHT_ONHEADER);
}

void CXTHeaderCtrl::InitFont(BOOL bBold)
{
    CUiGlobalData* pData = GetUiGlobalData();
    SetFont(bBold ? &pData->m_fontBold : &pData->m_fontNormal, FALSE);
}

void CXTHeaderCtrl::SetBoldFont(BOOL bBold)
{
    InitFont(bBold);
    if (::IsWindow(m_hWnd))
        RedrawWindow();
}

void CXTHeaderCtrl::SetMenuID(UINT nMenuID, int nSubMenu)
{
    m_nMenuID = nMenuID;
    m_nSubMenu = nSubMenu;
}

void CXTHeaderCtrl::ShowSortArrow(BOOL bShow)
{
    CXTHeaderCtrlTheme* pTheme = GetHeaderTheme();
    if (!pTheme)
        return;
    DWORD dwOptions = pTheme->GetDrawStyle();
    dwOptions = bShow ? dwOptions | CXTHeaderCtrlTheme::optionSortArrow : dwOptions & ~CXTHeaderCtrlTheme::optionSortArrow;
    pTheme->SetDrawStyle(dwOptions, this);
}

BOOL CXTHeaderCtrl::HasSortArrow()
{
    CXTHeaderCtrlTheme* pTheme = GetHeaderTheme();
    return pTheme && (pTheme->GetDrawStyle() & CXTHeaderCtrlTheme::optionSortArrow);
}

int CXTHeaderCtrl::HitTestItem(CPoint ptClient) const
{
    HDHITTESTINFO hit = {};
    hit.pt = ptClient;
    const int nItem = HitTest(&hit);
    return (hit.flags & HHT_NOWHERE) ? -1 : nItem;
}

void CXTHeaderCtrl::SetAlignment(int nFormat)
{
    CWnd* pList = GetParent();
    const int nCol = HitTestItem(m_ptRightClick);
    if (!pList || nCol < 0)
        return;
    LVCOLUMN column = {};
    column.mask = LVCF_FMT;
    if (!pList->SendMessage(LVM_GETCOLUMNW, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(&column)))
        return;
    column.fmt = (column.fmt & ~LVCFMT_JUSTIFYMASK) | nFormat;
    pList->SendMessage(LVM_SETCOLUMNW, static_cast<WPARAM>(nCol), reinterpret_cast<LPARAM>(&column));
    // Setting no work areas makes the list repaint.
    pList->SendMessage(LVM_SETWORKAREAS, 0, 0);
}

BOOL CXTHeaderCtrl::IsRightToLeft()
{
    HDC hDC = ::GetDC(nullptr);
    const BOOL bRTL = (::GetTextAlign(hDC) & TA_RTLREADING) != 0;
    ::ReleaseDC(nullptr, hDC);
    return bRTL;
}

void CXTHeaderCtrl::ResizeColumns(int nTotalWidth)
{
    const int nCount = GetItemCount();
    int nLocked = 0;
    for (int i = 0; i < nCount; i++)
        nLocked += IsColumnLocked(i) ? 1 : 0;
    if (nCount - nLocked <= 0)
        return;
    const int nWidth = nTotalWidth / (nCount - nLocked);
    if (nWidth <= m_nMinWidth)
        return;
    CWnd* pList = GetParent();
    for (int i = 0; i < nCount; i++) {
        if (!IsColumnLocked(i) && pList)
            pList->SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), MAKELPARAM(nWidth, 0));
    }
}

void CXTHeaderCtrl::FitColumnsToWidth(int nWidth)
{
    if (nWidth < 1) {
        CRect rc;
        GetClientRect(&rc);
        nWidth = rc.Width();
    }
    CWnd* pParent = GetParent();
    if (pParent && (pParent->GetStyle() & WS_VSCROLL))
        nWidth -= ::GetSystemMetrics(SM_CXVSCROLL);
    ResizeColumns(nWidth - GetLockedColumnsWidth());
}

int CXTHeaderCtrl::GetLockedColumnsWidth()
{
    int nWidth = 0;
    for (int nCol : m_lockedColumns) {
        HDITEM hdi = {};
        hdi.mask = HDI_WIDTH;
        if (GetItem(nCol, &hdi))
            nWidth += hdi.cxy;
    }
    return nWidth;
}

int CXTHeaderCtrl::SetSortColumn(int nCol, BOOL bAscending)
{
    const int nOld = m_nSortColumn;
    m_nSortColumn = nCol;
    m_bAscending = bAscending;
    if (::IsWindow(m_hWnd))
        RedrawWindow();
    return nOld;
}

int CXTHeaderCtrl::GetSortColumn(BOOL* pbAscending) const
{
    if (pbAscending)
        *pbAscending = m_bAscending;
    return m_nSortColumn;
}

void CXTHeaderCtrl::LockColumn(int nCol)
{
    if (!IsColumnLocked(nCol))
        m_lockedColumns.push_back(nCol);
}

void CXTHeaderCtrl::UnlockColumn(int nCol)
{
    m_lockedColumns.erase(std::remove(m_lockedColumns.begin(), m_lockedColumns.end(), nCol), m_lockedColumns.end());
}

BOOL CXTHeaderCtrl::IsColumnLocked(int nCol) const
{
    return std::find(m_lockedColumns.begin(), m_lockedColumns.end(), nCol) != m_lockedColumns.end();
}

BOOL CXTHeaderCtrl::SetBitmap(int nCol, UINT nIDBitmap, DWORD dwRemove)
{
    CXTHeaderCtrlTheme* pTheme = GetHeaderTheme();
    if (!pTheme)
        return FALSE;
    HDITEM hdi = {};
    hdi.mask = HDI_FORMAT;
    if (dwRemove && GetItem(nCol, &hdi)) {
        hdi.fmt &= ~static_cast<int>(dwRemove);
        SetItem(nCol, &hdi);
    }
    return pTheme->SetBitmap(nCol, nIDBitmap, FALSE, RGB(0xC0, 0xC0, 0xC0), this);
}

void CXTHeaderCtrl::OnThemeChanged()
{
    if (!::IsWindow(m_hWnd))
        return;
    CRect rc;
    GetClientRect(&rc);
    WINDOWPOS wp = {};
    HDLAYOUT layout = {&rc, &wp};
    if (Layout(&layout))
        SetWindowPos(nullptr, wp.x, wp.y, wp.cx, wp.cy, wp.flags | SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
    // One pixel taller and back: the parent lays itself out again.
    if (CWnd* pParent = GetParent()) {
        CRect rcParent;
        pParent->GetWindowRect(&rcParent);
        const UINT nFlags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
        pParent->SetWindowPos(nullptr, 0, 0, rcParent.Width(), rcParent.Height() + 1, nFlags);
        pParent->SetWindowPos(nullptr, 0, 0, rcParent.Width(), rcParent.Height(), nFlags);
    }
}

void CXTHeaderCtrl::TrackPopup(CMenu* pPopup, CPoint ptScreen, CWnd* pOwner)
{
    pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, pOwner);
}

void CXTHeaderCtrl::OnPaint()
{
    CPaintDC dc(this);
    CXTHeaderCtrlTheme* pTheme = GetHeaderTheme();
    if (!pTheme) {
        DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        return;
    }
    CRect rcClient;
    GetClientRect(&rcClient);
    COffscreenDC memDC(&dc, rcClient);
    pTheme->DrawHeader(&memDC, this);
}

BOOL CXTHeaderCtrl::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

void CXTHeaderCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_bButtonDown = TRUE;
    CHeaderCtrl::OnLButtonDown(nFlags, point);
}

void CXTHeaderCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_bButtonDown = FALSE;
    CHeaderCtrl::OnLButtonUp(nFlags, point);
}

void CXTHeaderCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    CHeaderCtrl::OnMouseMove(nFlags, point);
    CXTHeaderCtrlTheme* pTheme = GetHeaderTheme();
    if (pTheme && pTheme->UsesVisualStyles(this))
        SetTimer(hotTimerID, hotTimerElapse);
}

void CXTHeaderCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != hotTimerID) {
        CHeaderCtrl::OnTimer(nIDEvent);
        return;
    }
    CPoint pt;
    GetCursorClientPos(&pt, m_hWnd);
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nItem = rcClient.PtInRect(pt) ? HitTestItem(pt) : -1;
    if (nItem < 0) {
        KillTimer(hotTimerID);
        if (m_bHotDrawn)
            RedrawWindow();
        m_bHotDrawn = FALSE;
        m_nHotItem = -1;
        return;
    }
    if (nItem != m_nHotItem) {
        m_nHotItem = nItem;
        m_bHotDrawn = FALSE;
    }
    if (!m_bHotDrawn) {
        RedrawWindow();
        m_bHotDrawn = TRUE;
    }
}

void CXTHeaderCtrl::OnRButtonDown(UINT /*nFlags*/, CPoint point)
{
    m_ptRightClick = point;
    CWnd* pParent = GetParent();
    if (!m_bMenusEnabled || (pParent && (pParent->GetStyle() & LVS_NOSORTHEADER)))
        return;
    CPoint ptScreen = point;
    ClientToScreen(&ptScreen);

    if (m_nMenuID) {
        CMenu menu;
        if (!menu.LoadMenu(m_nMenuID))
            return;
        CWnd* pOwner = GetOwner();
        if (CMenu* pPopup = menu.GetSubMenu(m_nSubMenu))
            TrackPopup(pPopup, ptScreen, pOwner ? pOwner : pParent);
        return;
    }
    const int nItem = HitTestItem(point);
    if (nItem < 0)
        return;
    CMenu menu;
    if (!XTPGetResourceLoader()->LoadMenu(&menu, XTP_IDR_MENU_POPUPS))
        return;
    CMenu* pPopup = menu.GetSubMenu(XTP_SUBMENU_HEADER);
    if (!pPopup)
        return;
    if (nItem == m_nSortColumn)
        pPopup->CheckMenuItem(m_bAscending ? XT_IDC_SORTASC : XT_IDC_SORTDSC, MF_BYCOMMAND | MF_CHECKED);
    if (pParent && (pParent->IsKindOf(RUNTIME_CLASS(CListCtrl)) || pParent->SendMessage(LVM_GETHEADER) == reinterpret_cast<LRESULT>(m_hWnd))) {
        LVCOLUMN column = {};
        column.mask = LVCF_FMT;
        if (pParent->SendMessage(LVM_GETCOLUMNW, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&column))) {
            UINT nCheck = XT_IDC_ALIGNLEFT;
            if ((column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER)
                nCheck = XT_IDC_ALIGNCENTER;
            else if ((column.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT)
                nCheck = XT_IDC_ALIGNRIGHT;
            pPopup->CheckMenuItem(nCheck, MF_BYCOMMAND | MF_CHECKED);
        }
    }
    TrackPopup(pPopup, ptScreen, this);
}

BOOL CXTHeaderCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (!m_lockedColumns.empty()) {
        CPoint pt;
        GetCursorClientPos(&pt, m_hWnd);
        const int nItem = HitTestItem(pt);
        BOOL bLockedEdge = FALSE;
        CRect rcItem;
        if (nItem >= 0 && GetItemRect(nItem, &rcItem)) {
            bLockedEdge = IsColumnLocked(nItem);
            // The half of the neighbour next to a locked item's divider sizes that item.
            int nOrder = -1;
            HDITEM hdi = {};
            hdi.mask = HDI_ORDER;
            if (!bLockedEdge && GetItem(nItem, &hdi))
                nOrder = hdi.iOrder;
            const BOOL bNearLeft = pt.x < rcItem.CenterPoint().x;
            if (nOrder >= 0 && bNearLeft != m_bRTL) {
                const int nNeighbour = m_bRTL ? nOrder + 1 : nOrder - 1;
                if (nNeighbour >= 0 && nNeighbour < GetItemCount())
                    bLockedEdge = IsColumnLocked(OrderToIndex(nNeighbour));
            }
        }
        if (bLockedEdge) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
            return TRUE;
        }
    }
    return CHeaderCtrl::OnSetCursor(pWnd, nHitTest, message);
}

void CXTHeaderCtrl::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    CHeaderCtrl::OnWindowPosChanging(lpwndpos);
    if (!m_bAutoFit || GetItemCount() == 0 || (lpwndpos->flags & SWP_NOSIZE))
        return;
    CWnd* pParent = GetParent();
    if (pParent && ::GetCapture() == pParent->GetSafeHwnd())
        return;
    CRect rc;
    GetWindowRect(&rc);
    if (lpwndpos->cx != rc.Width())
        FitColumnsToWidth(lpwndpos->cx);
}

void CXTHeaderCtrl::OnDestroy()
{
    if (CXTHeaderCtrlTheme* pTheme = GetHeaderTheme())
        pTheme->CleanUpImages(this);
    CHeaderCtrl::OnDestroy();
}

LRESULT CXTHeaderCtrl::OnLayout(WPARAM /*wParam*/, LPARAM lParam)
{
    CXTHeaderCtrlTheme* pTheme = GetHeaderTheme();
    if (pTheme && pTheme->Layout(reinterpret_cast<LPHDLAYOUT>(lParam), this))
        return TRUE;
    return Default();
}

BOOL CXTHeaderCtrl::OnItemChanging(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* pNM = reinterpret_cast<NMHEADERW*>(pNMHDR);
    if (pNM->pitem && (pNM->pitem->mask & HDI_WIDTH)
        && (IsColumnLocked(pNM->iItem) || pNM->pitem->cxy < m_nMinWidth)) {
        *pResult = TRUE;
        return TRUE;
    }
    return FALSE;
}

void CXTHeaderCtrl::SortFromMenu(BOOL bAscending)
{
    const int nItem = HitTestItem(m_ptRightClick);
    if (nItem < 0 || (nItem == m_nSortColumn && m_bAscending == bAscending))
        return;
    SetSortColumn(nItem, bAscending);
    CWnd* pParent = GetParent();
    if (!pParent)
        return;
    // The list sorts as on a click of the header.
    NMHEADERW nm = {};
    nm.hdr.hwndFrom = m_hWnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    nm.hdr.code = HDN_ITEMCLICKA;
    nm.iItem = nItem;
    nm.iButton = 1;
    pParent->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    // The parent's other children hear of it as well: a list kept inside the parent sorts too.
    pParent->SendMessageToDescendants(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

void CXTHeaderCtrl::OnSortAsc()
{
    SortFromMenu(TRUE);
}

void CXTHeaderCtrl::OnSortDsc()
{
    SortFromMenu(FALSE);
}

void CXTHeaderCtrl::OnAlignLeft()
{
    SetAlignment(LVCFMT_LEFT);
}

void CXTHeaderCtrl::OnAlignCenter()
{
    SetAlignment(LVCFMT_CENTER);
}

void CXTHeaderCtrl::OnAlignRight()
{
    SetAlignment(LVCFMT_RIGHT);
}

void CXTHeaderCtrl::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    if (CXTHeaderCtrlTheme* pTheme = GetHeaderTheme())
        pTheme->RefreshMetrics();
    CHeaderCtrl::OnSettingChange(uFlags, lpszSection);
}

void CXTHeaderCtrl::OnSysColorChange()
{
    if (CXTHeaderCtrlTheme* pTheme = GetHeaderTheme())
        pTheme->RefreshMetrics();
    CHeaderCtrl::OnSysColorChange();
}

BEGIN_MESSAGE_MAP(CXTHeaderCtrl, CHeaderCtrl)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_RBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_DESTROY()
    ON_MESSAGE(HDM_LAYOUT, &CXTHeaderCtrl::OnLayout)
    ON_NOTIFY_REFLECT_EX(HDN_ITEMCHANGINGW, &CXTHeaderCtrl::OnItemChanging)
    ON_COMMAND(XT_IDC_SORTASC, &CXTHeaderCtrl::OnSortAsc)
    ON_COMMAND(XT_IDC_SORTDSC, &CXTHeaderCtrl::OnSortDsc)
    ON_COMMAND(XT_IDC_ALIGNLEFT, &CXTHeaderCtrl::OnAlignLeft)
    ON_COMMAND(XT_IDC_ALIGNCENTER, &CXTHeaderCtrl::OnAlignCenter)
    ON_COMMAND(XT_IDC_ALIGNRIGHT, &CXTHeaderCtrl::OnAlignRight)
    ON_WM_SETTINGCHANGE()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

IMPLEMENT_DYNAMIC(CXTFlatHeaderCtrl, CXTHeaderCtrl)

CXTFlatHeaderCtrl::CXTFlatHeaderCtrl()
{
    SetTheme(new CXTHeaderCtrlThemeFlat);
}
