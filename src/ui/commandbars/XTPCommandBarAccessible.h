// A bar as screen readers see it: itself, with its controls as the children numbered from 1 in their order.
#pragma once

#include "ui/commandbars/XTPAccessible.h"

class CXTPCommandBar;
class CXTPControl;

class CXTPCommandBarAccessible : public CXTPAccessible
{
public:
    explicit CXTPCommandBarAccessible(CXTPCommandBar* pBar) : m_pBar(pBar) {}

    CCmdTarget* GetAccessibleOwner() const override;

protected:
    HRESULT GetAccessibleParent(IDispatch** ppdispParent) override;
    HRESULT GetAccessibleChildCount(long* pcountChildren) override;
    HRESULT GetAccessibleChild(long nChild, IDispatch** ppdispChild) override;
    HRESULT GetAccessibleName(long nChild, BSTR* pszName) override;
    HRESULT GetAccessibleRole(long nChild, VARIANT* pvarRole) override;
    HRESULT GetAccessibleState(long nChild, VARIANT* pvarState) override;
    HRESULT AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, long nChild) override;
    HRESULT AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;

private:
    // The control of a child id (1 to the count), else null.
    CXTPControl* GetChildControl(long nChild) const;

    CXTPCommandBar* m_pBar;
};
