#include "ui/commandbars/XTPPopupBar.h"

#include "ui/persist/PropExchange.h"

#include "ui/commandbars/MenuSoundPlayer.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPPopupShadows.h"
#include "ui/commandbars/XTPShortcutManager.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/themes/BarPainter.h"
#include "ui/themes/DrawHelpers.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

IMPLEMENT_SERIAL(CXTPPopupBar, CXTPCommandBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPPopupToolBar, CXTPPopupBar, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)
IMPLEMENT_SERIAL(CXTPPopupBarExpandButton, CXTPControlButton, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

namespace
{
const int SCROLL_STRIP = 16;
const int POPUP_MIN = 22;
}

CRect CalcPopupPlacement(CSize sz, CPoint ptPopup, const CRect& rcExclude, const CRect& rcWork, DWORD& dwFlags,
                         BOOL* pbScroll)
{
    int cx = sz.cx, cy = sz.cy, x = ptPopup.x, y = ptPopup.y;
    int nBottom = rcWork.bottom - 5;
    // The halves of the work area, measured from its own top (it need not start at 0).
    int nMiddle = rcWork.top + (nBottom - rcWork.top) / 2;
    BOOL bPointX = rcExclude.Width() == 0, bPointY = rcExclude.Height() == 0;
    *pbScroll = FALSE;

    if (dwFlags == (xtpPopupLeft | xtpPopupDown) && !bPointX)
        x = rcExclude.right - cx;
    else if ((dwFlags & xtpPopupLeft) && !bPointX)
        x = rcExclude.left - cx;
    else if (dwFlags & xtpPopupLeft)
        x -= cx;

    if (bPointY && y > nBottom) {
        y -= cy;
    } else if (y + cy > nBottom) {
        if (bPointY) {
            y = y < nMiddle ? nBottom - cy : y - cy;
        } else if (dwFlags & xtpPopupDown) {
            y = rcExclude.top - cy;
            if (y < rcWork.top) {
                // Neither side holds it: the larger side, scrolling.
                *pbScroll = TRUE;
                if ((rcExclude.top + rcExclude.bottom) / 2 <= nMiddle) {
                    y = rcExclude.bottom;
                    cy = nBottom - rcExclude.bottom;
                } else {
                    y = rcWork.top;
                    cy = rcExclude.top - rcWork.top;
                }
            }
        } else {
            y = nBottom - cy;
        }
    }
    y = std::max(y, static_cast<int>(rcWork.top));
    if (y + cy > nBottom) {
        *pbScroll = TRUE;
        cy = nBottom - y;
    }

    if (x + cx <= rcWork.right && x < rcWork.left) {
        if (!bPointX) {
            x = (dwFlags & xtpPopupDown) ? rcWork.left : rcExclude.right;
            dwFlags &= ~xtpPopupLeft;
        } else if (dwFlags & xtpPopupLeft) {
            x = rcWork.left;
            dwFlags &= ~xtpPopupLeft;
        }
    } else if (x + cx > rcWork.right) {
        if (bPointX) {
            x = x > rcWork.right ? x - cx : rcWork.right - cx;
        } else {
            x = ((dwFlags & xtpPopupDown) ? rcWork.right : rcExclude.left) - cx;
            dwFlags |= xtpPopupLeft;
        }
    }
    return CRect(x, y, x + cx, y + cy);
}

BOOL IsInTearOffStrip(CPoint ptScreen, const CRect& rcStripScreen)
{
    CRect rc = rcStripScreen;
    rc.InflateRect(10, 10);
    return rc.PtInRect(ptScreen);
}

BEGIN_MESSAGE_MAP(CXTPPopupBar, CXTPCommandBar)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEACTIVATE()
    ON_WM_TIMER()
    ON_WM_NCACTIVATE()
    ON_WM_NCCREATE()
    ON_MESSAGE(WM_FLOATSTATUS, &CXTPPopupBar::OnFloatStatus)
END_MESSAGE_MAP()

BOOL CXTPPopupBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (!CXTPCommandBar::OnNcCreate(lpCreateStruct))
        return FALSE;
    if (lpCreateStruct->style & 0x100)
        SendMessage(WM_FLOATSTATUS, GetFirstFloatStatus(m_hWnd));
    return TRUE;
}

LRESULT CXTPPopupBar::OnFloatStatus(WPARAM wParam, LPARAM)
{
    return (GetStyle() & 0x100) && (wParam & FS_SYNCACTIVE) ? 1 : 0;
}

CXTPPopupBar::CXTPPopupBar()
{
    m_nType = xtpBarTypePopup;
    m_nPosition = xtpBarPopup;
    m_nMRUWidth = 0;
}

CXTPPopupBar::~CXTPPopupBar() = default;

CXTPPopupBar* CXTPPopupBar::CreatePopupBar(CXTPCommandBars* pCommandBars)
{
    CXTPPopupBar* pPopupBar = new CXTPPopupBar;
    pPopupBar->SetCommandBars(pCommandBars);
    return pPopupBar;
}

CXTPPopupToolBar* CXTPPopupToolBar::CreatePopupToolBar(CXTPCommandBars* pCommandBars)
{
    CXTPPopupToolBar* pPopupBar = new CXTPPopupToolBar;
    pPopupBar->SetCommandBars(pCommandBars);
    return pPopupBar;
}

CXTPCommandBar* CXTPPopupBar::GetParentCommandBar() const
{
    return m_pControlPopup ? m_pControlPopup->GetParent() : nullptr;
}

BOOL CXTPPopupBar::IsVisible() const
{
    return m_hWnd && ::IsWindowVisible(m_hWnd);
}

BOOL CXTPPopupBar::CreatePopupWindow()
{
    CWnd* pSite = GetSite();
    DWORD dwExStyle = WS_EX_TOOLWINDOW;
    if (pSite && pSite->GetSafeHwnd() && (pSite->GetExStyle() & WS_EX_LAYOUTRTL))
        dwExStyle |= WS_EX_LAYOUTRTL;
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_SAVEBITS | CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW));
    return CreateEx(dwExStyle, lpszClass, nullptr, WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | 0x100, 0, 0, 0,
                    0, pSite ? pSite->GetSafeHwnd() : nullptr, nullptr);
}

BOOL CXTPPopupBar::Popup(CXTPControlPopup* pControl, BOOL bSelectFirst)
{
    m_pControlPopup = pControl;
    if (!m_hWnd && !CreatePopupWindow())
        return FALSE;
    m_nRedrawLock++;
    CWnd* pOwnerSite = GetOwnerSite();
    if (pOwnerSite && pOwnerSite->GetSafeHwnd())
        pOwnerSite->SendMessage(XTPM_POPUPSHOWING, 0, reinterpret_cast<LPARAM>(this));
    m_bCollapsed = FALSE;
    m_bExpanded = IsCustomizeMode() || CMouseManager::GetThreadManager()->m_bMenusExpanded;
    // An opening starts with a cool tear-off strip and no timer running: those of a former one may have gone with
    // its window.
    m_bTearOffSelected = FALSE;
    const std::pair<UINT_PTR*, UINT_PTR> timers[] = {
        {&m_nTearOffTimer, XTP_TID_TEAROFF},
        {&m_scrollDown.nTimer, XTP_TID_SCROLLDOWN},
        {&m_scrollUp.nTimer, XTP_TID_SCROLLUP},
    };
    for (const auto& timer : timers) {
        if (*timer.first)
            KillTimer(timer.second);
        *timer.first = 0;
    }

    UpdatePopupPosition();
    UpdateLocation(CalcDynamicLayout(0, 0));
    CXTPCommandBar* pParentBar = GetParentCommandBar();
    if (pParentBar && !pParentBar->GetSafeHwnd()) {
        m_nRedrawLock = 0;
        DestroyWindow();
        return FALSE;
    }
    SetTrackingMode(1, bSelectFirst, FALSE);
    m_dwState &= ~(stateLayout | stateRedraw);
    OnUpdateCmdUI(TRUE);
    AnimatePopup();
    CMenuSoundPlayer::Play(CMenuSoundPlayer::soundMenuPopup);
    ReplaceShadow();
    RedrawIfUnlocked();
    return TRUE;
}

BOOL CXTPPopupBar::PopupAt(int x, int y, const RECT* lpExclude)
{
    m_ptPopup = CPoint(x, y);
    // Without a rectangle to keep clear the popup avoids only the point (not a control it opened under before).
    m_rcExclude = lpExclude ? CRect(*lpExclude) : CRect(x, y, x, y);
    return Popup(nullptr, FALSE);
}

void CXTPPopupBar::UpdatePopupPosition()
{
    CXTPControlPopup* pControl = m_pControlPopup;
    CXTPCommandBar* pParent = pControl ? pControl->GetParent() : nullptr;
    if (!pParent || !pParent->GetSafeHwnd())
        return;
    m_dwPopupFlags = (pControl->GetFlags() & 4) || pParent->IsLayoutRTL() ? xtpPopupLeft : 0;
    int nPosition = pParent->GetPosition();
    if (nPosition != xtpBarLeft && nPosition != xtpBarRight && nPosition != xtpBarPopup) {
        m_dwPopupFlags |= xtpPopupDown;
    } else {
        CXTPPopupBar* pParentPopup = pParent->IsKindOf(RUNTIME_CLASS(CXTPPopupBar)) ? static_cast<CXTPPopupBar*>(pParent)
                                                                                      : nullptr;
        m_dwPopupFlags = nPosition == xtpBarRight || (pParentPopup && (pParentPopup->m_dwPopupFlags & xtpPopupLeft))
                             ? xtpPopupLeft
                             : 0;
    }
    CRect rc = pControl->GetRect();
    if (pControl->GetType() == xtpControlComboBox && nPosition != xtpBarPopup)
        m_dwPopupFlags |= xtpPopupDown;
    else
        pControl->AdjustExcludeRect(rc);
    pParent->ClientToScreen(&rc);
    m_rcExclude = rc;
    m_ptPopup = (m_dwPopupFlags & xtpPopupDown) ? CPoint(rc.left, rc.bottom) : CPoint(rc.right, rc.top);
}

CRect CXTPPopupBar::CalcPopupRect(CSize sz)
{
    CRect rcWork;
    if (m_rcExclude.IsRectEmpty())
        GetCursorWorkArea(&rcWork);
    else
        GetWorkArea(&rcWork, m_rcExclude);
    BOOL bScroll = FALSE;
    CRect rc = CalcPopupPlacement(sz, m_ptPopup, m_rcExclude, rcWork, m_dwPopupFlags, &bScroll);
    m_bScrolling = bScroll && m_nType == xtpBarTypePopup;
    if (m_bScrolling) {
        m_nFirstVisible = 0;
        CSize szScroll = rc.Size();
        UpdateScrollLayout(&szScroll, FALSE, FALSE);
    }
    return rc;
}

void CXTPPopupBar::UpdateLocation(CSize sz)
{
    CRect rc = CalcPopupRect(sz);
    UINT nFlags = SWP_NOACTIVATE | SWP_SHOWWINDOW | (IsWindowVisible() ? SWP_NOZORDER : 0);
    SetWindowPos(&CWnd::wndTopMost, rc.left, rc.top, rc.Width(), rc.Height(), nFlags);
}

void CXTPPopupBar::UpdateExpandingState()
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    BOOL bAllUsed = !pCommandBars || pCommandBars->GetCommandBarsOptions()->bAlwaysShowFullMenus;
    BOOL bRare = FALSE;
    std::vector<BOOL> arrRare(static_cast<size_t>(m_pControls->GetCount()), FALSE);
    for (int i = 0; i < m_pControls->GetCount() && !bAllUsed; i++) {
        CXTPControl* pControl = m_pControls->GetAt(i);
        arrRare[static_cast<size_t>(i)] = pCommandBars->IsControlHidden(pControl);
        if (arrRare[static_cast<size_t>(i)] && pControl->GetID() != XTP_ID_POPUPBAR_EXPAND &&
            (pControl->GetHideFlags() & ~(xtpHideScroll | xtpHideExpand)) == 0)
            bRare = TRUE;
    }
    if (bAllUsed)
        m_bExpanded = TRUE;
    m_bCollapsed = bRare && !m_bExpanded;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CXTPControl* pControl = m_pControls->GetAt(i);
        DWORD dwFlags = pControl->GetHideFlags() & ~xtpHideExpand;
        if (m_bCollapsed && arrRare[static_cast<size_t>(i)])
            dwFlags |= xtpHideExpand;
        pControl->SetHideFlags(dwFlags);
    }
}

void CXTPPopupBar::UpdateShortcuts()
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars || !pCommandBars->GetCommandBarsOptions()->bShowShortcutsInPopups)
        return;
    CXTPShortcutManager* pShortcuts = pCommandBars->GetShortcutManager();
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CXTPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetHideFlags() || pControl->GetID() <= 0)
            continue;
        CString strShortcut = pControl->GetAccelShortcutText();
        pShortcuts->FindShortcutText(static_cast<UINT>(pControl->GetID()), strShortcut);
        pControl->SetAccelShortcutText(strShortcut);
    }
}

CSize CXTPPopupBar::CalcDynamicLayout(int nLength, DWORD /*dwMode*/)
{
    m_bDynamicLayout = TRUE;
    CXTPBarPainter* pPainter = GetPaintManager();
    CClientDC dc(m_hWnd ? this : nullptr);
    CFontSelector font(&dc, pPainter->GetControlFont(this, FALSE));
    CSize szResult;
    int nTearOff = GetTearOffHeight(&dc);
    if (m_nType == xtpBarTypeNormal) {
        UpdateShortcuts();
        CRect rcMargins = m_rcBorders;
        rcMargins.top += nTearOff;
        szResult = m_pControls->CalcDynamicSize(&dc, nLength, LM_HORZ | LM_COMMIT | xtpLayoutPopupRows, rcMargins);
        if (szResult == CSize(0, 0))
            szResult = CSize(rcMargins.left + POPUP_MIN + rcMargins.right, rcMargins.top + POPUP_MIN + rcMargins.bottom);
        m_rcTearOffGripper = nTearOff ? CRect(m_rcBorders.left, m_rcBorders.top, szResult.cx - m_rcBorders.right,
                                              m_rcBorders.top + nTearOff)
                                      : CRect(0, 0, 0, 0);
        m_bDynamicLayout = FALSE;
        return szResult;
    }

    CRect rcBorders;
    pPainter->GetBarBorders(&rcBorders, this);
    int nStripTop = rcBorders.top;
    rcBorders.top += nTearOff;
    for (int i = 0; i < m_pControls->GetCount(); i++)
        m_pControls->GetAt(i)->OnCalcDynamicSize(0);
    UpdateExpandingState();

    CXTPControl* pExpand = m_pControls->FindControl(XTP_ID_POPUPBAR_EXPAND);
    if (pExpand)
        pExpand->SetHideFlags(pExpand->GetHideFlags() | xtpHideGeneric);
    int nExpandHeight = 0;
    if (m_bCollapsed) {
        if (!pExpand) {
            pExpand = m_pControls->AddControl(new CXTPPopupBarExpandButton, XTP_ID_POPUPBAR_EXPAND, L"", -1, TRUE);
            pExpand->SetFlags(26);
            pExpand->SetHideFlags(xtpHideGeneric);
        }
        nExpandHeight = pExpand->GetSize(&dc).cy;
    }
    UpdateShortcuts();

    CRect rcWork;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcWork, 0);
    int nMaxWidth = rcWork.right / 3;
    int nSeparator = m_pControls->GetCount() ? pPainter->DrawSeparator(&dc, m_pControls->GetAt(0), this, FALSE).cy : 0;
    int y = rcBorders.top, nWidth = 0;
    BOOL bFirst = TRUE;
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CXTPControl* pControl = m_pControls->GetAt(i);
        pControl->SetHideFlags(pControl->GetHideFlags() & ~xtpHideScroll);
        if (!pControl->IsVisible() || pControl == pExpand)
            continue;
        if (pControl->GetBeginGroup() && !bFirst)
            y += nSeparator;
        bFirst = FALSE;
        CFontSelector controlFont(&dc, pPainter->GetControlFont(this, pControl->IsDefaultItem()));
        CSize sz = pControl->GetSize(&dc);
        sz.cx = std::min(static_cast<int>(sz.cx), nMaxWidth);
        pControl->SetRect(CRect(CPoint(rcBorders.left, y), sz));
        pControl->SetWrap(FALSE);
        y += sz.cy;
        nWidth = std::max(nWidth, static_cast<int>(sz.cx));
    }
    nWidth = std::max(nWidth, POPUP_MIN);
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CXTPControl* pControl = m_pControls->GetAt(i);
        if (!pControl->IsVisible() || pControl == pExpand)
            continue;
        CRect rc = pControl->GetRect();
        rc.right = rc.left + nWidth;
        pControl->SetRect(rc);
        pControl->SetRowRect(rc);
    }
    if (bFirst)
        y += POPUP_MIN;
    m_rcTearOffGripper = nTearOff ? CRect(rcBorders.left, nStripTop, rcBorders.left + nWidth, nStripTop + nTearOff)
                                  : CRect(0, 0, 0, 0);
    if (m_bCollapsed) {
        CRect rc(rcBorders.left, y, rcBorders.left + nWidth, y + nExpandHeight);
        pExpand->SetHideFlags(0);
        pExpand->SetRect(rc);
        pExpand->SetRowRect(rc);
        y += nExpandHeight;
    }
    m_bDynamicLayout = FALSE;
    return CSize(rcBorders.left + nWidth + rcBorders.right, y + rcBorders.bottom);
}

void CXTPPopupBar::UpdateScrollLayout(const SIZE* pSize, BOOL bFromEnd, BOOL bRedraw)
{
    CSize sz;
    if (pSize) {
        sz = *pSize;
    } else {
        CRect rcWindow;
        GetWindowRect(&rcWindow);
        sz = rcWindow.Size();
    }
    CXTPBarPainter* pPainter = GetPaintManager();
    CRect rcBorders;
    pPainter->GetBarBorders(&rcBorders, this);
    CClientDC dc(m_hWnd ? this : nullptr);
    CXTPControl* pExpand = m_pControls->FindControl(XTP_ID_POPUPBAR_EXPAND);
    int nExpandHeight = pExpand && pExpand->IsVisible() ? pExpand->GetRect().Height() : 0;
    int nSeparator = m_pControls->GetCount() ? pPainter->DrawSeparator(&dc, m_pControls->GetAt(0), this, FALSE).cy : 0;
    int nTop = rcBorders.top, nBottom = sz.cy - rcBorders.bottom - nExpandHeight;
    int nCount = m_pControls->GetCount();
    auto isShown = [this, pExpand](int i) {
        CXTPControl* pControl = m_pControls->GetAt(i);
        return pControl != pExpand && (pControl->GetHideFlags() & ~xtpHideScroll) == 0;
    };
    for (int i = 0; i < nCount; i++)
        if (isShown(i))
            m_pControls->GetAt(i)->SetHideFlags(xtpHideScroll);
    m_scrollUp.rc.SetRectEmpty();
    m_scrollDown.rc.SetRectEmpty();
    int nWidth = sz.cx - rcBorders.left - rcBorders.right;

    if (!bFromEnd) {
        if (m_nFirstVisible > 0) {
            m_scrollUp.rc = CRect(rcBorders.left, nTop, rcBorders.left + nWidth, nTop + SCROLL_STRIP);
            nTop += SCROLL_STRIP;
        }
        int y = nTop, i = m_nFirstVisible;
        BOOL bFirst = TRUE;
        for (; i < nCount; i++) {
            if (!isShown(i))
                continue;
            CXTPControl* pControl = m_pControls->GetAt(i);
            int h = pControl->GetRect().Height() + (pControl->GetBeginGroup() && !bFirst ? nSeparator : 0);
            // The last control may use the down strip's room.
            int nLimit = nBottom - SCROLL_STRIP;
            BOOL bLastShown = TRUE;
            for (int k = i + 1; k < nCount; k++)
                if (isShown(k))
                    bLastShown = FALSE;
            if (y + h > (bLastShown ? nBottom : nLimit))
                break;
            y += h - pControl->GetRect().Height();
            pControl->SetRect(CRect(CPoint(rcBorders.left, y), CSize(nWidth, pControl->GetRect().Height())));
            pControl->SetRowRect(pControl->GetRect());
            pControl->SetHideFlags(0);
            y += pControl->GetRect().Height();
            bFirst = FALSE;
        }
        m_nLastVisible = i;
        if (i < nCount)
            m_scrollDown.rc = CRect(rcBorders.left, nBottom - SCROLL_STRIP, rcBorders.left + nWidth, nBottom);
    } else {
        if (m_nLastVisible >= nCount - 1)
            m_nLastVisible = nCount;
        if (m_nLastVisible < nCount) {
            m_scrollDown.rc = CRect(rcBorders.left, nBottom - SCROLL_STRIP, rcBorders.left + nWidth, nBottom);
            nBottom -= SCROLL_STRIP;
        }
        int y = nBottom, i = m_nLastVisible - 1;
        for (; i >= 0; i--) {
            if (!isShown(i))
                continue;
            CXTPControl* pControl = m_pControls->GetAt(i);
            int h = pControl->GetRect().Height();
            if (y - h < nTop + SCROLL_STRIP && i > 0)
                break;
            y -= h;
            pControl->SetRect(CRect(CPoint(rcBorders.left, y), CSize(nWidth, h)));
            pControl->SetRowRect(pControl->GetRect());
            pControl->SetHideFlags(0);
            if (pControl->GetBeginGroup())
                y -= nSeparator;
        }
        m_nFirstVisible = i + 1;
        if (m_nFirstVisible > 0)
            m_scrollUp.rc = CRect(rcBorders.left, nTop, rcBorders.left + nWidth, nTop + SCROLL_STRIP);
    }
    if (pExpand && nExpandHeight) {
        CRect rc(rcBorders.left, sz.cy - rcBorders.bottom - nExpandHeight, rcBorders.left + nWidth,
                 sz.cy - rcBorders.bottom);
        pExpand->SetRect(rc);
        pExpand->SetRowRect(rc);
    }
    if (bRedraw && m_hWnd) {
        m_dwState &= ~stateRedraw;
        Invalidate(FALSE);
    }
}

int CXTPPopupBar::GetAnimationType() const
{
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (!pCommandBars || (m_hWnd && ::GetWindow(m_hWnd, GW_CHILD)))
        return 5;
    int nAnimation = pCommandBars->GetCommandBarsOptions()->nAnimationType;
    if (nAnimation == 0) {
        BOOL bAnimation = FALSE, bFade = FALSE;
        const CXTPSystemSettings* pSettings = CXTPSystemSettings::Get();
        if (!pSettings->GetFlag(SPI_GETMENUANIMATION, bAnimation) || !bAnimation)
            return 5;
        return pSettings->GetFlag(SPI_GETMENUFADE, bFade) && bFade ? CXTPBarPainter::animateFade
                                                                    : CXTPBarPainter::animateSlide;
    }
    if (nAnimation == 1) {
        static const int kinds[] = {CXTPBarPainter::animateFade, CXTPBarPainter::animateSlide,
                                    CXTPBarPainter::animateUnfold};
        return kinds[std::rand() % 3];
    }
    return nAnimation;
}

void CXTPPopupBar::AnimatePopup()
{
    CXTPCommandBar* pParentBar = GetParentCommandBar();
    if ((pParentBar && !pParentBar->IsAnimateNextPopup()) || IsCustomizeMode() || ::GetWindow(m_hWnd, GW_CHILD))
        return;
    int nKind = GetAnimationType();
    if (nKind >= CXTPBarPainter::animateUnfold && nKind <= CXTPBarPainter::animateFade) {
        if (pParentBar && pParentBar->GetSafeHwnd())
            pParentBar->UpdateWindow();
        if (CWnd* pSite = GetSite())
            if (pSite->GetSafeHwnd())
                pSite->UpdateWindow();
        PlayAnimation(nKind);
    }
    if (pParentBar)
        pParentBar->SetAnimateNextPopup(FALSE);
}

void CXTPPopupBar::PlayAnimation(int nKind)
{
    CRect rc;
    GetClientRect(&rc);
    CClientDC dc(this);
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(&dc, rc.Width(), rc.Height()))
        return;
    CBitmapDC dcImage(&dc, &bitmap);
    DrawCommandBar(&dcImage);
    GetPaintManager()->AnimateFade(&dc, &dcImage, rc, nKind);
}

void CXTPPopupBar::ExpandBar()
{
    if (m_bExpanded || !m_bCollapsed)
        return;
    m_bExpanded = TRUE;
    m_bExpanding = TRUE;
    SetPopuped(-1);
    SetSelected(-1);
    OnRecalcLayout();
    CMouseManager* pMouse = CMouseManager::GetThreadManager();
    pMouse->m_bSwallowRelease = TRUE;
    pMouse->m_bMenusExpanded = TRUE;
}

void CXTPPopupBar::OnControlsChanged()
{
    CXTPCommandBar::OnControlsChanged();
    OnRecalcLayout();
}

void CXTPPopupBar::ReplaceShadow()
{
    // The shadow follows the popup's rectangle. A menu opened from a bar that is no popup has the control that
    // opened it cast a shadow too, made first so that the popup's own joins it.
    CXTPPopupShadows* pShadows = CXTPPopupShadows::GetInstance();
    pShadows->RemoveShadow(this);
    if (!m_bShowShadow || m_nPosition != xtpBarPopup)
        return;
    CXTPCommandBar* pParentBar = m_pControlPopup ? m_pControlPopup->GetParent() : nullptr;
    const int nType = m_pControlPopup ? m_pControlPopup->GetType() : 0;
    if (pParentBar && pParentBar->GetPosition() != xtpBarPopup && nType >= xtpControlPopup &&
        nType <= xtpControlSplitButtonPopup)
        m_pControlPopup->AddShadow();
    pShadows->AddShadow(this, m_rcExclude);
}

void CXTPPopupBar::OnRecalcLayout()
{
    if (m_bDynamicLayout || !m_hWnd || !m_nTrackingMode)
        return;
    UpdatePopupPosition();
    CSize sz = CalcDynamicLayout(0, 0);
    CRect rc = CalcPopupRect(sz);
    if (m_bExpanding) {
        ShowWindow(SW_HIDE);
        if (CWnd* pSite = GetSite())
            if (pSite->GetSafeHwnd())
                pSite->UpdateWindow();
    }
    SetWindowPos(nullptr, rc.left, rc.top, rc.Width(), rc.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ReplaceShadow();
    if (m_bExpanding) {
        int nKind = GetAnimationType();
        if (nKind >= CXTPBarPainter::animateUnfold && nKind <= CXTPBarPainter::animateFade)
            PlayAnimation(nKind);
        CMenuSoundPlayer::Play(CMenuSoundPlayer::soundMenuPopup);
    }
    m_dwState &= ~(stateRedraw | stateLayout);
    if (m_nRedrawLock == 0)
        Invalidate(FALSE);
    m_bExpanding = FALSE;
}

BOOL CXTPPopupBar::SetTrackingMode(int nMode, BOOL bSelectFirst, BOOL bKeyboard)
{
    if (!CXTPCommandBar::SetTrackingMode(nMode, bSelectFirst, bKeyboard))
        return FALSE;
    if (m_hWnd)
        CXTPAccessibleEntries::NotifyWinEvent(nMode ? EVENT_SYSTEM_MENUPOPUPSTART : EVENT_SYSTEM_MENUPOPUPEND, m_hWnd, OBJID_MENU, 0);
    if (nMode)
        return TRUE;
    if (m_hWnd) {
        // Child windows (edit fields) go back to the site before the popup window goes.
        CWnd* pSite = GetSite();
        for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(m_hWnd, GW_CHILD)) {
            ::ShowWindow(hChild, SW_HIDE);
            ::SetParent(hChild, pSite ? pSite->GetSafeHwnd() : nullptr);
        }
        DestroyWindow();
    }
    CXTPCommandBar* pParentBar = GetParentCommandBar();
    if (pParentBar && pParentBar->GetPopupedIndex() != -1 && m_pControlPopup &&
        pParentBar->GetPopupedIndex() == m_pControlPopup->GetIndex())
        pParentBar->SetPopuped(-1);
    CWnd* pSite = GetSite();
    if (pSite && pSite->GetSafeHwnd())
        pSite->SendMessage(XTPM_POPUPCLOSED, 0, reinterpret_cast<LPARAM>(this));
    ::Sleep(1);
    m_pControlPopup = nullptr;
    CWnd* pOwnerSite = GetOwnerSite();
    if (pOwnerSite && pOwnerSite->GetSafeHwnd())
        pOwnerSite->UpdateWindow();
    return TRUE;
}

BOOL CXTPPopupBar::SetSelected(int nSelected, BOOL bKeyboard)
{
    BOOL bChanged = CXTPCommandBar::SetSelected(nSelected, bKeyboard);
    if (!m_bScrolling || nSelected < 0)
        return bChanged;
    CXTPControl* pControl = m_pControls->GetAt(nSelected);
    if (!pControl || !(pControl->GetHideFlags() & xtpHideScroll))
        return bChanged;
    if (nSelected >= m_nLastVisible) {
        m_nLastVisible = nSelected + 1;
        UpdateScrollLayout(nullptr, TRUE, TRUE);
    } else {
        m_nFirstVisible = nSelected;
        UpdateScrollLayout(nullptr, FALSE, TRUE);
    }
    return bChanged;
}

int CXTPPopupBar::OnKeyDown(UINT nChar, LPARAM lKeyData)
{
    if (m_bCollapsed && nChar == VK_DOWN && m_nInputLock <= 0) {
        int nNext = m_pControls->GetNextIndex(m_nSelected, 1, TRUE, FALSE, TRUE);
        if (::GetKeyState(VK_CONTROL) < 0 || nNext <= m_nSelected)
            ExpandBar();
    }
    return CXTPCommandBar::OnKeyDown(nChar, lKeyData);
}

void CXTPPopupBar::SetDefaultItem(UINT nItem, BOOL bByPosition)
{
    CXTPControl* pDefault = nullptr;
    if (bByPosition) {
        pDefault = m_pControls->GetAt(static_cast<int>(nItem));
    } else {
        for (int i = 0; i < m_pControls->GetCount() && !pDefault; i++)
            if (m_pControls->GetAt(i)->GetID() == static_cast<int>(nItem) && m_pControls->GetAt(i)->IsVisible())
                pDefault = m_pControls->GetAt(i);
    }
    for (int i = 0; i < m_pControls->GetCount(); i++)
        m_pControls->GetAt(i)->SetDefaultItem(m_pControls->GetAt(i) == pDefault);
}

int CXTPPopupBar::GetDefaultItem(BOOL bByPosition) const
{
    for (int i = 0; i < m_pControls->GetCount(); i++) {
        CXTPControl* pControl = m_pControls->GetAt(i);
        if (pControl->GetHideFlags() == 0 && pControl->IsDefaultItem())
            return bByPosition ? i : pControl->GetID();
    }
    return -1;
}

void CXTPPopupBar::DrawCommandBar(CDC* pDC)
{
    CXTPCommandBar::DrawCommandBar(pDC);
    if (m_bTearOffPopup && m_pControls->GetCount() > 0)
        GetPaintManager()->DrawTearOffGripper(pDC, m_rcTearOffGripper, m_bTearOffSelected, TRUE);
    if (!m_bScrolling)
        return;
    COLORREF clr = GetPaintManager()->GetColor(COLOR_BTNTEXT);
    if (!m_scrollDown.rc.IsRectEmpty()) {
        CPoint c = m_scrollDown.rc.CenterPoint();
        GetPaintManager()->FillTriangle(pDC, CPoint(c.x - 3, c.y - 1), CPoint(c.x + 3, c.y - 1), CPoint(c.x, c.y + 2),
                                        clr);
    }
    if (!m_scrollUp.rc.IsRectEmpty()) {
        CPoint c = m_scrollUp.rc.CenterPoint();
        GetPaintManager()->FillTriangle(pDC, CPoint(c.x - 3, c.y + 1), CPoint(c.x + 3, c.y + 1), CPoint(c.x, c.y - 2),
                                        clr);
    }
}

void CXTPPopupBar::Copy(CXTPCommandBar* pOther, BOOL bRecursive)
{
    CXTPCommandBar::Copy(pOther, bRecursive);
    if (!pOther->IsKindOf(RUNTIME_CLASS(CXTPPopupBar)))
        return;
    auto* pPopup = static_cast<CXTPPopupBar*>(pOther);
    m_bShowShadow = pPopup->m_bShowShadow;
    m_rcBorders = pPopup->m_rcBorders;
    m_bTearOffPopup = pPopup->m_bTearOffPopup;
    m_strTearOffCaption = pPopup->m_strTearOffCaption;
    m_nTearOffId = pPopup->m_nTearOffId;
    m_nTearOffWidth = pPopup->m_nTearOffWidth;
}

void CXTPPopupBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_nInputLock > 0)
        return;
    CXTPCommandBar* pParentBar = GetParentCommandBar();
    if (pParentBar && pParentBar->GetSafeHwnd() && m_pControlPopup) {
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        if (::WindowFromPoint(ptScreen) == pParentBar->GetSafeHwnd())
            pParentBar->SetSelected(m_pControlPopup->GetIndex());
    }
    if (m_bScrolling) {
        struct
        {
            XTP_SCROLL_ARROW* pArrow;
            UINT_PTR nId;
        } arrows[] = {{&m_scrollDown, XTP_TID_SCROLLDOWN}, {&m_scrollUp, XTP_TID_SCROLLUP}};
        for (auto& arrow : arrows) {
            BOOL bIn = arrow.pArrow->rc.PtInRect(point);
            if (bIn && !arrow.pArrow->nTimer) {
                SetPopuped(-1);
                arrow.pArrow->nTimer = SetTimer(arrow.nId, 80, nullptr);
            } else if (!bIn && arrow.pArrow->nTimer) {
                KillTimer(arrow.nId);
                arrow.pArrow->nTimer = 0;
            }
        }
    }
    if (m_bTearOffPopup && !m_bTearOffSelected && !m_nTearOffTimer && !IsCustomizeMode() &&
        m_rcTearOffGripper.PtInRect(point)) {
        SetPopuped(-1);
        SetSelected(-1);
        m_nTearOffTimer = SetTimer(XTP_TID_TEAROFF, 80, nullptr);
    }
    CXTPCommandBar::OnMouseMove(nFlags, point);
}

void CXTPPopupBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_bTearOffPopup && !IsCustomizeMode() && m_rcTearOffGripper.PtInRect(point)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_SIZEALL));
        CMouseManager* pMouse = CMouseManager::GetThreadManager();
        pMouse->m_nCaptureLoops++;
        m_bTearOffTracking = TRUE;
        TrackTearOff();
        m_bTearOffTracking = FALSE;
        pMouse->m_nCaptureLoops--;
    }
    if (m_hWnd)
        CXTPCommandBar::OnLButtonDown(nFlags, point);
}

int CXTPPopupBar::OnMouseActivate(CWnd* /*pDesktopWnd*/, UINT /*nHitTest*/, UINT /*message*/)
{
    return MA_NOACTIVATE;
}

BOOL CXTPPopupBar::OnNcActivate(BOOL bActive)
{
    return bActive ? FALSE : CWnd::OnNcActivate(bActive);
}

void CXTPPopupBar::ScrollTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == XTP_TID_SCROLLDOWN) {
        if (m_nLastVisible >= m_pControls->GetCount()) {
            KillTimer(nIDEvent);
            m_scrollDown.nTimer = 0;
            return;
        }
        m_nLastVisible++;
        UpdateScrollLayout(nullptr, TRUE, TRUE);
    } else {
        if (m_nFirstVisible <= 0) {
            KillTimer(nIDEvent);
            m_scrollUp.nTimer = 0;
            return;
        }
        m_nFirstVisible--;
        UpdateScrollLayout(nullptr, FALSE, TRUE);
    }
}

void CXTPPopupBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == XTP_TID_SCROLLDOWN || nIDEvent == XTP_TID_SCROLLUP) {
        ScrollTimer(nIDEvent);
    } else if (nIDEvent == XTP_TID_TEAROFF) {
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        BOOL bOnStrip = m_rcTearOffGripper.PtInRect(pt);
        if (bOnStrip && !m_bTearOffSelected) {
            m_bTearOffSelected = TRUE;
            Invalidate(FALSE);
        } else if (!bOnStrip && !m_bTearOffTracking) {
            m_bTearOffSelected = FALSE;
            Invalidate(FALSE);
            KillTimer(XTP_TID_TEAROFF);
            m_nTearOffTimer = 0;
        }
    } else {
        CXTPCommandBar::OnTimer(nIDEvent);
    }
}

void CXTPPopupBarExpandButton::OnExecute()
{
    if (m_pParent && m_pParent->IsKindOf(RUNTIME_CLASS(CXTPPopupBar)))
        static_cast<CXTPPopupBar*>(m_pParent)->ExpandBar();
}

void CXTPPopupBarExpandButton::OnMouseHover()
{
    CXTPCommandBars* pCommandBars = m_pParent ? m_pParent->GetCommandBars() : nullptr;
    if (pCommandBars && pCommandBars->GetCommandBarsOptions()->bShowFullAfterDelay)
        OnExecute();
}

void CXTPPopupBarExpandButton::Draw(CDC* pDC)
{
    GetPaintManager()->DrawGlyph(pDC, m_pParent, CXTPBarPainter::glyphChevron, this, TRUE);
}

CSize CXTPPopupBarExpandButton::GetSize(CDC* pDC)
{
    CXTPBarPainter* pPainter = GetPaintManager();
    CSize sz = pPainter->DrawGlyph(pDC, m_pParent, CXTPBarPainter::glyphChevron, this, FALSE);
    // A painter that gives the item no height of its own: one line of menu text.
    if (sz.cy <= 0)
        sz.cy = pPainter->GetTextHeight();
    return sz;
}

void CXTPPopupBar::SetTearOffPopup(const CString& strCaption, UINT nId, int nWidth)
{
    m_bTearOffPopup = nId != 0;
    m_strTearOffCaption = strCaption;
    m_nTearOffId = nId;
    m_nTearOffWidth = nWidth;
}

BOOL CXTPPopupBar::IsTearOffPopup(CString& strCaption, UINT& nId, int& nWidth) const
{
    strCaption = m_strTearOffCaption;
    nId = m_nTearOffId;
    nWidth = m_nTearOffWidth;
    return m_bTearOffPopup;
}

int CXTPPopupBar::GetTearOffHeight(CDC* pDC)
{
    return m_bTearOffPopup ? GetPaintManager()->DrawTearOffGripper(pDC, CRect(0, 0, 0, 0), FALSE, FALSE).cy : 0;
}

void CXTPPopupBar::TrackTearOff()
{
    m_pTearOffBar = nullptr;
    CRect rcStrip = m_rcTearOffGripper;
    ClientToScreen(&rcStrip);
    HWND hWndCapture = ::GetCapture();
    if (hWndCapture && hWndCapture != m_hWnd)
        return;
    HWND hWnd = m_hWnd;
    SetCapture();
    BOOL bInside = TRUE;
    CPoint ptLast(-1, -1);
    while (::IsWindow(hWnd) && ::GetCapture() == hWnd) {
        MSG msg;
        // Whatever the drag uncovers is painted at once.
        while (::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
            ::DispatchMessageW(&msg);
        if (!AfxGetModalLoopMessage(&msg))
            break;
        if (msg.message == WM_LBUTTONUP || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
            break;
        if (msg.message == WM_MOUSEMOVE) {
            CPoint pt;
            ::GetCursorPos(&pt);
            if (pt == ptLast)
                continue;
            ptLast = pt;
            BOOL bNowInside = IsInTearOffStrip(pt, rcStrip);
            if (bNowInside != bInside) {
                bInside = bNowInside;
                SetTearOffFloating(bInside, pt);
            }
            if (m_pTearOffBar && m_pTearOffBar->GetSafeHwnd()) {
                CRect rcBar;
                m_pTearOffBar->GetWindowRect(&rcBar);
                m_pTearOffBar->SetWindowPos(nullptr, pt.x - rcBar.Width() / 2, pt.y - 10, 0, 0,
                                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    if (!m_pTearOffBar)
        return;
    // The bar lives on in the manager, which may remove it: the popup keeps no pointer to it.
    m_pTearOffBar = nullptr;
    if (CXTPCommandBars* pCommandBars = GetCommandBars())
        pCommandBars->ClosePopups();
}

void CXTPPopupBar::SetTearOffFloating(BOOL bShowPopup, CPoint ptScreen)
{
    ShowWindow(bShowPopup ? SW_SHOWNA : SW_HIDE);
    CXTPCommandBars* pCommandBars = GetCommandBars();
    if (bShowPopup) {
        if (m_pTearOffBar)
            m_pTearOffBar->SetVisible(FALSE);
        m_pTearOffBar = nullptr;
        return;
    }
    if (!pCommandBars)
        return;
    CXTPToolBar* pBar = pCommandBars->FindBarById(m_nTearOffId);
    if (pBar) {
        pCommandBars->FloatCommandBar(pBar);
        pBar->SetVisible(TRUE);
        pCommandBars->RecalcFrameLayout();
    } else {
        pBar = pCommandBars->CreateTearOffBar(m_strTearOffCaption, m_nTearOffId, TRUE);
        if (!pBar)
            return;
        pBar->SetMRUWidth(m_nTearOffWidth);
        for (int i = 0; i < m_pControls->GetCount(); i++) {
            CXTPControl* pControl = m_pControls->GetAt(i);
            if (pControl->GetID() == XTP_ID_POPUPBAR_EXPAND)
                continue;
            CXTPControl* pCopy = pBar->GetControls()->InsertControl(pControl, pBar->GetControls()->GetCount(), TRUE);
            pCopy->SetHideFlags(pCopy->GetHideFlags() & ~(xtpHideScroll | xtpHideExpand));
        }
    }
    m_pTearOffBar = pBar;
    if (pBar->GetSafeHwnd()) {
        CSize sz = pBar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
        pBar->SetWindowPos(nullptr, ptScreen.x - sz.cx / 2, ptScreen.y - 10, sz.cx, sz.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        pBar->OnUpdateCmdUI(TRUE);
        pBar->Invalidate(FALSE);
    }
}
