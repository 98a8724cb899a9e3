#include "XTPCommandBarAccessible.h"

#include "XTPCommandBar.h"
#include "XTPControlAccessible.h"

CCmdTarget* CXTPCommandBarAccessible::GetAccessibleOwner() const { return m_pBar; }

CXTPControl* CXTPCommandBarAccessible::GetChildControl(long nChild) const
{
    return nChild >= 1 ? m_pBar->GetControls()->GetAt(static_cast<int>(nChild - 1)) : nullptr;
}

HRESULT CXTPCommandBarAccessible::GetAccessibleParent(IDispatch** ppdispParent)
{
    if (!ppdispParent)
        return E_INVALIDARG;
    *ppdispParent = nullptr;
    if (CXTPControl* pControl = m_pBar->GetParentControl()) {
        *ppdispParent = pControl->GetAccessible()->GetIDispatch();
        return S_OK;
    }
    if (!m_pBar->GetSafeHwnd())
        return E_FAIL;
    return CXTPAccessibleEntries::AccessibleObjectFromWindow(::GetParent(m_pBar->GetSafeHwnd()), static_cast<DWORD>(OBJID_WINDOW),
                                                             __uuidof(IAccessible), reinterpret_cast<void**>(ppdispParent));
}

HRESULT CXTPCommandBarAccessible::GetAccessibleChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_INVALIDARG;
    *pcountChildren = m_pBar->GetControls()->GetCount();
    return S_OK;
}

HRESULT CXTPCommandBarAccessible::GetAccessibleChild(long nChild, IDispatch** ppdispChild)
{
    if (!ppdispChild)
        return E_INVALIDARG;
    *ppdispChild = nullptr;
    if (CXTPControl* pControl = GetChildControl(nChild))
        *ppdispChild = pControl->GetAccessible()->GetIDispatch();
    return S_OK;
}

HRESULT CXTPCommandBarAccessible::GetAccessibleName(long nChild, BSTR* pszName)
{
    if (nChild == CHILDID_SELF || nChild == -1)
        return PutText(m_pBar->GetTitle(), pszName);
    CXTPControl* pControl = GetChildControl(nChild);
    if (!pControl)
        return E_INVALIDARG;
    return PutText(CXTPControlAccessible::GetAccessibleText(pControl), pszName);
}

HRESULT CXTPCommandBarAccessible::GetAccessibleRole(long nChild, VARIANT* pvarRole)
{
    if (nChild < 0)
        return E_INVALIDARG;
    if (nChild > 0)
        return PutLong(ROLE_SYSTEM_MENUITEM, pvarRole);
    switch (m_pBar->GetType()) {
    case xtpBarTypeMenuBar: return PutLong(ROLE_SYSTEM_MENUBAR, pvarRole);
    case xtpBarTypeNormal: return PutLong(ROLE_SYSTEM_TOOLBAR, pvarRole);
    default: return PutLong(ROLE_SYSTEM_MENUPOPUP, pvarRole);
    }
}

HRESULT CXTPCommandBarAccessible::GetAccessibleState(long nChild, VARIANT* pvarState)
{
    long nState = m_pBar->IsVisible() ? 0 : STATE_SYSTEM_INVISIBLE;
    if (CXTPControl* pControl = GetChildControl(nChild)) {
        nState |= STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
        if (pControl->GetIndex() == m_pBar->GetSelectedIndex())
            nState |= STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_HOTTRACKED;
    }
    return PutLong(nState, pvarState);
}

HRESULT CXTPCommandBarAccessible::AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, long nChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_INVALIDARG;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    HWND hWnd = m_pBar->GetSafeHwnd();
    if (!hWnd)
        return S_OK;
    CRect rc;
    // A control's rectangle is in client coordinates, as the control itself reports it.
    if (CXTPControl* pControl = GetChildControl(nChild)) {
        rc = pControl->GetRect();
        ::MapWindowPoints(hWnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
    } else {
        ::GetWindowRect(hWnd, &rc);
    }
    PutLocation(rc, pxLeft, pyTop, pcxWidth, pcyHeight);
    return S_OK;
}

HRESULT CXTPCommandBarAccessible::AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (!pvarChild)
        return E_INVALIDARG;
    ::VariantInit(pvarChild);
    HWND hWnd = m_pBar->GetSafeHwnd();
    CRect rcWindow;
    CPoint pt(xLeft, yTop);
    if (!hWnd || !::GetWindowRect(hWnd, &rcWindow) || !rcWindow.PtInRect(pt))
        return S_FALSE;
    ::ScreenToClient(hWnd, &pt);
    if (CXTPControl* pControl = m_pBar->GetControls()->HitTest(pt)) {
        pvarChild->vt = VT_DISPATCH;
        pvarChild->pdispVal = pControl->GetAccessible()->GetIDispatch();
        return S_OK;
    }
    return PutLong(CHILDID_SELF, pvarChild);
}
