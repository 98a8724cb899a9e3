#include "ui/commandbars/XTPControlCustom.h"

#include "ui/commandbars/XTPCommandBar.h"
#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPToolBar.h"
#include "ui/persist/PropExchange.h"

#include <map>
#include <windowsx.h>

IMPLEMENT_SERIAL(CXTPControlCustom, CXTPControlButton, VERSIONABLE_SCHEMA | _XTP_SCHEMA_CURRENT)

namespace
{
// The control that places each hosted window.
std::map<HWND, CXTPControlCustom*>& WindowOwners()
{
    static std::map<HWND, CXTPControlCustom*> owners;
    return owners;
}
} // namespace

CXTPControlCustom::CXTPControlCustom()
{
    m_nType = xtpControlCustom;
    m_dwFlags = xtpFlagNoMovable;
}

CXTPControlCustom::~CXTPControlCustom() { ReleaseWindow(); }

CXTPControlCustom* CXTPControlCustom::CreateControlCustom(CWnd* pWnd)
{
    auto* pControl = new CXTPControlCustom;
    pControl->m_nControlId = pWnd ? pWnd->GetDlgCtrlID() : 0;
    pControl->SetControl(pWnd);
    return pControl;
}

void CXTPControlCustom::SetControl(CWnd* pWnd)
{
    ReleaseWindow();
    m_hWndControl = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (!m_hWndControl)
        return;
    // The application hands the window to this control: a clone that held it lets it go.
    auto it = WindowOwners().find(m_hWndControl);
    if (it != WindowOwners().end() && it->second != this)
        it->second->ReleaseWindow();
    TakeWindow();
    CRect rc;
    ::GetWindowRect(m_hWndControl, &rc);
    m_szControl = rc.Size();
}

BOOL CXTPControlCustom::IsWindowOwner() const
{
    auto it = WindowOwners().find(m_hWndControl);
    return m_hWndControl && it != WindowOwners().end() && it->second == this;
}

BOOL CXTPControlCustom::TakeWindow()
{
    if (!m_hWndControl || !::IsWindow(m_hWndControl))
        return FALSE;
    auto& owners = WindowOwners();
    auto it = owners.find(m_hWndControl);
    if (it != owners.end())
        return it->second == this;
    owners[m_hWndControl] = this;
    CWindowHookManager::GetInstance()->SetHook(m_hWndControl, &m_hookPart);
    return TRUE;
}

void CXTPControlCustom::ReleaseWindow()
{
    CWindowHookManager::GetInstance()->RemoveHookFromAll(&m_hookPart);
    if (IsWindowOwner())
        WindowOwners().erase(m_hWndControl);
}

void CXTPControlCustom::OnWindowDestroyed()
{
    // The application destroyed the window: no room is kept for it, and the bar closes the gap.
    ReleaseWindow();
    m_hWndControl = nullptr;
    InvalidateParentLayout();
}

BOOL CXTPControlCustom::IsVisible() const
{
    return CXTPControlButton::IsVisible() || (IsWindowOwner() && ::IsWindowVisible(m_hWndControl));
}

CSize CXTPControlCustom::GetSize(CDC* pDC)
{
    // A clone that shares a window the application destroyed keeps no room for it either.
    if (m_hWndControl && ::IsWindow(m_hWndControl) && m_bControlVisible)
        return m_szControl + CSize(m_rcBorders.left + m_rcBorders.right, m_rcBorders.top + m_rcBorders.bottom);
    return CXTPControlButton::GetSize(pDC);
}

void CXTPControlCustom::SetRect(CRect rc)
{
    if (!m_hWndControl && m_nControlId)
        FindControlWindow();
    HWND hWndBar = m_pParent ? m_pParent->GetSafeHwnd() : nullptr;
    if (!m_hWndControl || !hWndBar) {
        m_rcControl = rc;
        return;
    }
    if (rc == m_rcControl && ::GetParent(m_hWndControl) == hWndBar)
        return;
    m_rcControl = rc;
    // A clone of a control that hosts the window elsewhere leaves it where it is.
    if (!TakeWindow())
        return;
    CWnd::ModifyStyle(m_hWndControl, WS_POPUP, WS_CHILD, 0);
    if (::GetParent(m_hWndControl) != hWndBar)
        ::SetParent(m_hWndControl, hWndBar);
    CRect rcChild = rc;
    rcChild.DeflateRect(m_rcBorders);
    ::MoveWindow(m_hWndControl, rcChild.left, rcChild.top, rcChild.Width(), rcChild.Height(), TRUE);
    ShowChild();
}

void CXTPControlCustom::ShowChild()
{
    if (!IsWindowOwner())
        return;
    const BOOL bShow = m_bControlVisible && m_dwHideFlags == 0;
    ::SetWindowPos(m_hWndControl, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void CXTPControlCustom::SetEnabled(BOOL bEnabled)
{
    CXTPControlButton::SetEnabled(bEnabled);
    if (IsWindowOwner())
        ::EnableWindow(m_hWndControl, bEnabled);
}

void CXTPControlCustom::SetHideFlags(DWORD dwFlags)
{
    if (dwFlags == m_dwHideFlags)
        return;
    CXTPControlButton::SetHideFlags(dwFlags);
    ShowChild();
    InvalidateParentLayout();
}

void CXTPControlCustom::OnCalcDynamicSize(DWORD dwMode)
{
    const BOOL bVertical = (dwMode & LM_VERTDOCK) != 0;
    if (m_nVerticalOptions == 0) {
        m_dwHideFlags = bVertical ? m_dwHideFlags | xtpHideDockingPosition : m_dwHideFlags & ~xtpHideDockingPosition;
        ShowChild();
    } else if (m_nVerticalOptions == 2) {
        m_bControlVisible = !bVertical;
        ShowChild();
    }
}

void CXTPControlCustom::OnClick(BOOL bKeyboard, CPoint pt)
{
    // The window takes its own clicks, but in customise mode the control is dragged as any other.
    const BOOL bCustomize = m_pParent && m_pParent->IsCustomizeMode();
    if (m_hWndControl && ::IsWindowVisible(m_hWndControl) && !bCustomize)
        return;
    CXTPControlButton::OnClick(bKeyboard, pt);
}

void CXTPControlCustom::Copy(CXTPControl* pOther, BOOL bRecursive)
{
    if (pOther->IsKindOf(RUNTIME_CLASS(CXTPControlCustom))) {
        auto* pCustom = static_cast<CXTPControlCustom*>(pOther);
        m_rcBorders = pCustom->m_rcBorders;
        m_nVerticalOptions = pCustom->m_nVerticalOptions;
        m_szControl = pCustom->m_szControl;
        // Shared, not taken: the clone places the window only if no other control does.
        ReleaseWindow();
        m_hWndControl = pCustom->m_hWndControl;
        m_nControlId = pCustom->m_nControlId;
    }
    CXTPControlButton::Copy(pOther, bRecursive);
}

void CXTPControlCustom::DoPropExchange(CXTPPropExchange* pPX)
{
    CXTPControlButton::DoPropExchange(pPX);
    ExchangeRect(pPX, L"Borders", m_rcBorders, CRect(0, 0, 0, 0));
    ExchangeSize(pPX, L"ControlSize", m_szControl, CSize(0, 0));
    ExchangeInt(pPX, L"VerticalOptions", m_nVerticalOptions, 0);
    if (pPX->m_nSchema > 5)
        ExchangeInt(pPX, L"ControlId", m_nControlId, 0);
}

void CXTPControlCustom::SetParent(CXTPCommandBar* pParent)
{
    CXTPControlButton::SetParent(pParent);
    // A loaded control joins its bar after its keys were read: its window is looked up now.
    if (pParent && !m_hWndControl && m_nControlId)
        FindControlWindow();
}

void CXTPControlCustom::FindControlWindow()
{
    if (!m_pParent)
        return;
    HWND hWnd = nullptr;
    if (CWnd* pSite = m_pParent->GetSite())
        hWnd = ::GetDlgItem(pSite->GetSafeHwnd(), m_nControlId);
    if (CXTPCommandBars* pCommandBars = m_pParent->GetCommandBars()) {
        for (int i = 0; !hWnd && i < pCommandBars->GetCount(); i++)
            hWnd = ::GetDlgItem(pCommandBars->GetAt(i)->GetSafeHwnd(), m_nControlId);
    }
    // Like a clone, the loaded control takes the window only when no other control holds it.
    m_hWndControl = hWnd;
    TakeWindow();
}

int CXTPControlCustom::CHookPart::OnHookMessage(HWND hWnd, UINT nMessage, WPARAM& wParam, LPARAM& lParam, LRESULT&)
{
    // Hooks hear the window's last message as WM_DESTROY (the hook list goes before WM_NCDESTROY).
    if (nMessage == WM_DESTROY) {
        m_pOwner->OnWindowDestroyed();
        return xtpHookContinue;
    }
    CXTPCommandBar* pBar = m_pOwner->GetParent();
    if (nMessage == WM_MOUSEMOVE && pBar && pBar->GetSafeHwnd()) {
        CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        ::MapWindowPoints(hWnd, pBar->GetSafeHwnd(), &pt, 1);
        pBar->SendMessage(WM_MOUSEMOVE, wParam, MAKELPARAM(pt.x, pt.y));
    }
    return xtpHookContinue;
}
