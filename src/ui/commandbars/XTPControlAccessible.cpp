#include "XTPControlAccessible.h"

#include "XTPCommandBar.h"

CCmdTarget* CXTPControlAccessible::GetAccessibleOwner() const { return m_pControl; }

CString CXTPControlAccessible::GetAccessibleText(const CXTPControl* pControl)
{
    CString strText = StripMnemonics(pControl->GetCaption());
    CString strShortcut = pControl->GetShortcutText();
    if (!strShortcut.IsEmpty())
        strText += L"\t" + strShortcut;
    return strText;
}

HWND CXTPControlAccessible::GetBarWindow() const
{
    CXTPCommandBar* pBar = m_pControl->GetParent();
    return pBar ? pBar->GetSafeHwnd() : nullptr;
}

HRESULT CXTPControlAccessible::GetAccessibleParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_INVALIDARG;
    *ppdispParent = nullptr;
    CXTPCommandBar* pBar = m_pControl->GetParent();
    if (!pBar)
        return E_FAIL;
    *ppdispParent = pBar->GetAccessible()->GetIDispatch();
    return S_OK;
}

HRESULT CXTPControlAccessible::GetAccessibleChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_INVALIDARG;
    *pcountChildren = m_pControl->GetCommandBar() ? 1 : 0;
    return S_OK;
}

HRESULT CXTPControlAccessible::GetAccessibleChild(long nChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_INVALIDARG;
    *ppdispChild = nullptr;
    CXTPCommandBar* pPopupBar = m_pControl->GetCommandBar();
    if (nChild == 1 && pPopupBar)
        *ppdispChild = pPopupBar->GetAccessible()->GetIDispatch();
    return S_OK;
}

HRESULT CXTPControlAccessible::GetAccessibleName(long nChild, BSTR* pszName)
{
    if (nChild != CHILDID_SELF)
        return E_INVALIDARG;
    return PutText(GetAccessibleText(m_pControl), pszName);
}

HRESULT CXTPControlAccessible::GetAccessibleDescription(long nChild, BSTR* pszDescription)
{
    if (nChild != CHILDID_SELF)
        return E_INVALIDARG;
    return PutText(m_pControl->GetDescription(), pszDescription);
}

HRESULT CXTPControlAccessible::GetAccessibleRole(long nChild, VARIANT* pvarRole)
{
    if (nChild != CHILDID_SELF)
        return E_INVALIDARG;
    CXTPCommandBar* pBar = m_pControl->GetParent();
    if (!pBar || pBar->GetType() != xtpBarTypeNormal)
        return PutLong(ROLE_SYSTEM_MENUITEM, pvarRole);
    return PutLong(m_pControl->GetCommandBar() ? ROLE_SYSTEM_BUTTONMENU : ROLE_SYSTEM_PUSHBUTTON, pvarRole);
}

HRESULT CXTPControlAccessible::GetAccessibleState(long nChild, VARIANT* pvarState)
{
    if (nChild != CHILDID_SELF)
        return E_INVALIDARG;
    long nState = STATE_SYSTEM_FOCUSABLE;
    if (m_pControl->GetSelected())
        nState |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED;
    CXTPCommandBar* pBar = m_pControl->GetParent();
    if (!pBar || !pBar->IsVisible() || m_pControl->GetHideFlags())
        nState |= STATE_SYSTEM_INVISIBLE;
    if (!m_pControl->GetEnabled())
        nState |= STATE_SYSTEM_UNAVAILABLE;
    if (m_pControl->GetChecked())
        nState |= STATE_SYSTEM_CHECKED;
    if (m_pControl->GetPressed())
        nState |= STATE_SYSTEM_PRESSED;
    if (m_pControl->GetCommandBar())
        nState |= STATE_SYSTEM_HASPOPUP;
    return PutLong(nState, pvarState);
}

HRESULT CXTPControlAccessible::GetAccessibleDefaultAction(long nChild, BSTR* pszDefaultAction)
{
    if (nChild != CHILDID_SELF)
        return E_INVALIDARG;
    return PutText(L"Click", pszDefaultAction);
}

HRESULT CXTPControlAccessible::AccessibleSelect(long /*flagsSelect*/, long nChild)
{
    if (nChild != CHILDID_SELF)
        return E_INVALIDARG;
    if (GetBarWindow()) {
        CXTPCommandBar* pBar = m_pControl->GetParent();
        pBar->SetTrackingMode(TRUE, FALSE, FALSE);
        pBar->SetSelected(m_pControl->GetIndex(), TRUE);
    }
    return S_OK;
}

HRESULT CXTPControlAccessible::AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, long nChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_INVALIDARG;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    if (nChild != CHILDID_SELF)
        return E_INVALIDARG;
    HWND hWnd = GetBarWindow();
    if (!hWnd)
        return S_OK;
    CRect rc = m_pControl->GetRect();
    ::MapWindowPoints(hWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
    PutLocation(rc, pxLeft, pyTop, pcxWidth, pcyHeight);
    return S_OK;
}

HRESULT CXTPControlAccessible::AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_INVALIDARG;
    ::VariantInit(pvarChild);
    HWND hWnd = GetBarWindow();
    CRect rcWindow;
    CPoint pt(xLeft, yTop);
    if (!hWnd || !::GetWindowRect(hWnd, &rcWindow) || !rcWindow.PtInRect(pt))
        return S_FALSE;
    PutLong(CHILDID_SELF, pvarChild);
    ::ScreenToClient(hWnd, &pt);
    return m_pControl->GetRect().PtInRect(pt) ? S_OK : S_FALSE;
}

HRESULT CXTPControlAccessible::AccessibleDoDefaultAction(long nChild)
{
    if (nChild != CHILDID_SELF)
        return E_INVALIDARG;
    m_pControl->OnClick(TRUE, CPoint(0, 0));
    return S_OK;
}
