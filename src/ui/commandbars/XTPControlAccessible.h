// A control as screen readers see it: a child of its bar, with its popup bar as its one child.
#pragma once

#include "ui/commandbars/XTPAccessible.h"

class CXTPControl;

class CXTPControlAccessible : public CXTPAccessible
{
public:
    explicit CXTPControlAccessible(CXTPControl* pControl) : m_pControl(pControl) {}

    CCmdTarget* GetAccessibleOwner() const override;
    // The name a reader says: the caption without '&' prefixes, then a TAB and the shortcut text when there is one.
    static CString GetAccessibleText(const CXTPControl* pControl);

protected:
    HRESULT GetAccessibleParent(IDispatch** ppdispParent) override;
    HRESULT GetAccessibleChildCount(long* pcountChildren) override;
    HRESULT GetAccessibleChild(long nChild, IDispatch** ppdispChild) override;
    HRESULT GetAccessibleName(long nChild, BSTR* pszName) override;
    HRESULT GetAccessibleDescription(long nChild, BSTR* pszDescription) override;
    HRESULT GetAccessibleRole(long nChild, VARIANT* pvarRole) override;
    HRESULT GetAccessibleState(long nChild, VARIANT* pvarState) override;
    HRESULT GetAccessibleDefaultAction(long nChild, BSTR* pszDefaultAction) override;
    HRESULT AccessibleSelect(long flagsSelect, long nChild) override;
    HRESULT AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, long nChild) override;
    HRESULT AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    HRESULT AccessibleDoDefaultAction(long nChild) override;

private:
    // The parent bar's window, or null.
    HWND GetBarWindow() const;

    CXTPControl* m_pControl;
};
