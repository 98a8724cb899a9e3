// What screen readers see of bars and controls: the IAccessible interface of a bar or a control, whose reference
// count is its owner's, and whose methods call operations that the bar's and the control's parts override (the
// others answer E_NOTIMPL). oleacc and NotifyWinEvent are looked up at run time, so that the bars work where they
// are missing.
#pragma once

#include "platform/mfc/afxcmdtarget.h"
#include "platform/mfc/afxgeom.h"

#include <oleacc.h>

class CXTPAccessible : public IAccessible
{
public:
    CXTPAccessible() = default;
    virtual ~CXTPAccessible() = default;
    CXTPAccessible(const CXTPAccessible&) = delete;
    CXTPAccessible& operator=(const CXTPAccessible&) = delete;

    // The object whose reference count the interface shares.
    virtual CCmdTarget* GetAccessibleOwner() const = 0;
    // The interface with a reference added.
    IDispatch* GetIDispatch();

    // A child id as the callers give it: VT_I4 and VT_I2, by value or by a reference that is not null, a
    // VARIANT by reference read again; anything else -1. 0 (CHILDID_SELF) is the object itself.
    static long GetChildIndex(const VARIANT* pvarChild);
    // A caption without its '&' prefixes ("&&" stays one '&').
    static CString StripMnemonics(const CString& strCaption);

    // IUnknown: the owner's reference count; IUnknown, IDispatch and IAccessible give this interface.
    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IDispatch: not served.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
    // IAccessible: each method runs the operation of the same name; an exception answers E_FAIL.
    STDMETHODIMP get_accParent(IDispatch** ppdispParent) override;
    STDMETHODIMP get_accChildCount(long* pcountChildren) override;
    STDMETHODIMP get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    STDMETHODIMP get_accName(VARIANT varChild, BSTR* pszName) override;
    STDMETHODIMP get_accValue(VARIANT varChild, BSTR* pszValue) override;
    STDMETHODIMP get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    STDMETHODIMP get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    STDMETHODIMP get_accState(VARIANT varChild, VARIANT* pvarState) override;
    STDMETHODIMP get_accHelp(VARIANT varChild, BSTR* pszHelp) override;
    STDMETHODIMP get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* pvarChild) override;
    STDMETHODIMP get_accSelection(VARIANT* pvarChildren) override;
    STDMETHODIMP get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    STDMETHODIMP accSelect(long flagsSelect, VARIANT varChild) override;
    STDMETHODIMP accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    STDMETHODIMP accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
    STDMETHODIMP accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    STDMETHODIMP accDoDefaultAction(VARIANT varChild) override;
    STDMETHODIMP put_accName(VARIANT varChild, BSTR szName) override;
    STDMETHODIMP put_accValue(VARIANT varChild, BSTR szValue) override;

protected:
    // The operations; child ids come read (GetChildIndex).
    virtual HRESULT GetAccessibleParent(IDispatch** ppdispParent);
    virtual HRESULT GetAccessibleChildCount(long* pcountChildren);
    virtual HRESULT GetAccessibleChild(long nChild, IDispatch** ppdispChild);
    virtual HRESULT GetAccessibleName(long nChild, BSTR* pszName);
    virtual HRESULT GetAccessibleDescription(long nChild, BSTR* pszDescription);
    virtual HRESULT GetAccessibleRole(long nChild, VARIANT* pvarRole);
    virtual HRESULT GetAccessibleState(long nChild, VARIANT* pvarState);
    virtual HRESULT GetAccessibleDefaultAction(long nChild, BSTR* pszDefaultAction);
    virtual HRESULT AccessibleSelect(long flagsSelect, long nChild);
    virtual HRESULT AccessibleLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, long nChild);
    virtual HRESULT AccessibleHitTest(long xLeft, long yTop, VARIANT* pvarChild);
    virtual HRESULT AccessibleDoDefaultAction(long nChild);

    // A text for an out parameter; E_INVALIDARG for a null one, E_OUTOFMEMORY when it cannot be made.
    static HRESULT PutText(const CString& strText, BSTR* pszText);
    // A VT_I4 for an out parameter; E_INVALIDARG for a null one.
    static HRESULT PutLong(long nValue, VARIANT* pvar);
    // A rectangle on the screen as left, top, width and height.
    static void PutLocation(const CRect& rcScreen, long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight);
};

// The run-time entries: oleacc's are looked up on first use and again after a failed lookup; a missing library or
// entry answers E_FAIL (LresultFromObject: E_FAIL as its result).
class CXTPAccessibleEntries
{
public:
    static LRESULT LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk);
    static HRESULT AccessibleObjectFromWindow(HWND hWnd, DWORD dwId, REFIID riid, void** ppvObject);
    // Skipped where the system has no NotifyWinEvent.
    static void NotifyWinEvent(DWORD dwEvent, HWND hWnd, LONG idObject, LONG idChild);
    // The library the oleacc entries come from ("oleacc.dll"); the cached entries are forgotten.
    static void SetLibraryName(LPCWSTR lpszLibrary);
};
