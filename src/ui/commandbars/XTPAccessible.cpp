#include "XTPAccessible.h"

#include <new>

namespace
{
// Runs an operation for a COM caller: nothing it raises may reach the caller.
template <class F>
HRESULT Guard(F operation)
{
    try {
        return operation();
    } catch (CException* e) {
        e->Delete();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
    }
    return E_FAIL;
}

using PFNLRESULTFROMOBJECT = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using PFNACCESSIBLEOBJECTFROMWINDOW = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);
using PFNNOTIFYWINEVENT = void(WINAPI*)(DWORD, HWND, LONG, LONG);

struct OleaccEntries
{
    CString strLibrary = L"oleacc.dll";
    HMODULE hModule = nullptr;
    PFNLRESULTFROMOBJECT pfnLresultFromObject = nullptr;
    PFNACCESSIBLEOBJECTFROMWINDOW pfnAccessibleObjectFromWindow = nullptr;
};

OleaccEntries& Oleacc()
{
    static OleaccEntries entries;
    return entries;
}

// The library stays loaded once found: interfaces handed out may use it until the process ends.
template <class PFN>
PFN LookUp(PFN& pfn, LPCSTR pszName)
{
    OleaccEntries& entries = Oleacc();
    if (!pfn) {
        if (!entries.hModule)
            entries.hModule = ::LoadLibraryW(entries.strLibrary);
        if (entries.hModule)
            pfn = reinterpret_cast<PFN>(reinterpret_cast<void (*)()>(::GetProcAddress(entries.hModule, pszName)));
    }
    return pfn;
}
}

IDispatch* CXTPAccessible::GetIDispatch()
{
    AddRef();
    return this;
}

long CXTPAccessible::GetChildIndex(const VARIANT* pvarChild)
{
    if (!pvarChild)
        return -1;
    switch (pvarChild->vt) {
    case VT_I4: return pvarChild->lVal;
    case VT_I2: return pvarChild->iVal;
    case VT_I4 | VT_BYREF: return pvarChild->plVal ? *pvarChild->plVal : -1;
    case VT_I2 | VT_BYREF: return pvarChild->piVal ? *pvarChild->piVal : -1;
    case VT_VARIANT | VT_BYREF: return GetChildIndex(pvarChild->pvarVal);
    default: return -1;
    }
}

CString CXTPAccessible::StripMnemonics(const CString& strCaption)
{
    CString strResult;
    for (int i = 0; i < strCaption.GetLength(); ++i) {
        if (strCaption[i] == L'&') {
            if (i + 1 >= strCaption.GetLength())
                break;
            ++i;
        }
        strResult += strCaption[i];
    }
    return strResult;
}

STDMETHODIMP CXTPAccessible::QueryInterface(REFIID riid, void** ppvObject)
{
    if (!ppvObject)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
        *ppvObject = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CXTPAccessible::AddRef() { return GetAccessibleOwner()->ExternalAddRef(); }

STDMETHODIMP_(ULONG) CXTPAccessible::Release() { return GetAccessibleOwner()->ExternalRelease(); }

STDMETHODIMP CXTPAccessible::GetTypeInfoCount(UINT* /*pctinfo*/) { return E_NOTIMPL; }

STDMETHODIMP CXTPAccessible::GetTypeInfo(UINT /*iTInfo*/, LCID /*lcid*/, ITypeInfo** /*ppTInfo*/) { return E_NOTIMPL; }

STDMETHODIMP CXTPAccessible::GetIDsOfNames(REFIID /*riid*/, LPOLESTR* /*rgszNames*/, UINT /*cNames*/, LCID /*lcid*/,
                                           DISPID* /*rgDispId*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CXTPAccessible::Invoke(DISPID /*dispIdMember*/, REFIID /*riid*/, LCID /*lcid*/, WORD /*wFlags*/,
                                    DISPPARAMS* /*pDispParams*/, VARIANT* /*pVarResult*/, EXCEPINFO* /*pExcepInfo*/,
                                    UINT* /*puArgErr*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CXTPAccessible::get_accParent(IDispatch** ppdispParent)
{
    return Guard([&]() { return GetAccessibleParent(ppdispParent); });
}

STDMETHODIMP CXTPAccessible::get_accChildCount(long* pcountChildren)
{
    return Guard([&]() { return GetAccessibleChildCount(pcountChildren); });
}

STDMETHODIMP CXTPAccessible::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    return Guard([&]() { return GetAccessibleChild(GetChildIndex(&varChild), ppdispChild); });
}

STDMETHODIMP CXTPAccessible::get_accName(VARIANT varChild, BSTR* pszName)
{
    return Guard([&]() { return GetAccessibleName(GetChildIndex(&varChild), pszName); });
}

STDMETHODIMP CXTPAccessible::get_accValue(VARIANT /*varChild*/, BSTR* /*pszValue*/) { return E_NOTIMPL; }

STDMETHODIMP CXTPAccessible::get_accDescription(VARIANT varChild, BSTR* pszDescription)
{
    return Guard([&]() { return GetAccessibleDescription(GetChildIndex(&varChild), pszDescription); });
}

STDMETHODIMP CXTPAccessible::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    return Guard([&]() { return GetAccessibleRole(GetChildIndex(&varChild), pvarRole); });
}

STDMETHODIMP CXTPAccessible::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    return Guard([&]() { return GetAccessibleState(GetChildIndex(&varChild), pvarState); });
}

STDMETHODIMP CXTPAccessible::get_accHelp(VARIANT /*varChild*/, BSTR* /*pszHelp*/) { return E_NOTIMPL; }

STDMETHODIMP CXTPAccessible::get_accHelpTopic(BSTR* /*pszHelpFile*/, VARIANT /*varChild*/, long* /*pidTopic*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CXTPAccessible::get_accKeyboardShortcut(VARIANT /*varChild*/, BSTR* /*pszKeyboardShortcut*/)
{
    return E_NOTIMPL;
}

STDMETHODIMP CXTPAccessible::get_accFocus(VARIANT* /*pvarChild*/) { return E_NOTIMPL; }

STDMETHODIMP CXTPAccessible::get_accSelection(VARIANT* /*pvarChildren*/) { return E_NOTIMPL; }

STDMETHODIMP CXTPAccessible::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    return Guard([&]() { return GetAccessibleDefaultAction(GetChildIndex(&varChild), pszDefaultAction); });
}

STDMETHODIMP CXTPAccessible::accSelect(long flagsSelect, VARIANT varChild)
{
    return Guard([&]() { return AccessibleSelect(flagsSelect, GetChildIndex(&varChild)); });
}

STDMETHODIMP CXTPAccessible::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild)
{
    return Guard([&]() { return AccessibleLocation(pxLeft, pyTop, pcxWidth, pcyHeight, GetChildIndex(&varChild)); });
}

STDMETHODIMP CXTPAccessible::accNavigate(long /*navDir*/, VARIANT /*varStart*/, VARIANT* /*pvarEndUpAt*/) { return E_NOTIMPL; }

STDMETHODIMP CXTPAccessible::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    return Guard([&]() { return AccessibleHitTest(xLeft, yTop, pvarChild); });
}

STDMETHODIMP CXTPAccessible::accDoDefaultAction(VARIANT varChild)
{
    return Guard([&]() { return AccessibleDoDefaultAction(GetChildIndex(&varChild)); });
}

STDMETHODIMP CXTPAccessible::put_accName(VARIANT /*varChild*/, BSTR /*szName*/) { return E_NOTIMPL; }

STDMETHODIMP CXTPAccessible::put_accValue(VARIANT /*varChild*/, BSTR /*szValue*/) { return E_NOTIMPL; }

HRESULT CXTPAccessible::GetAccessibleParent(IDispatch** /*ppdispParent*/) { return E_NOTIMPL; }
HRESULT CXTPAccessible::GetAccessibleChildCount(long* /*pcountChildren*/) { return E_NOTIMPL; }
HRESULT CXTPAccessible::GetAccessibleChild(long /*nChild*/, IDispatch** /*ppdispChild*/) { return E_NOTIMPL; }
HRESULT CXTPAccessible::GetAccessibleName(long /*nChild*/, BSTR* /*pszName*/) { return E_NOTIMPL; }
HRESULT CXTPAccessible::GetAccessibleDescription(long /*nChild*/, BSTR* /*pszDescription*/) { return E_NOTIMPL; }
HRESULT CXTPAccessible::GetAccessibleRole(long /*nChild*/, VARIANT* /*pvarRole*/) { return E_NOTIMPL; }
HRESULT CXTPAccessible::GetAccessibleState(long /*nChild*/, VARIANT* /*pvarState*/) { return E_NOTIMPL; }
HRESULT CXTPAccessible::GetAccessibleDefaultAction(long /*nChild*/, BSTR* /*pszDefaultAction*/) { return E_NOTIMPL; }
HRESULT CXTPAccessible::AccessibleSelect(long /*flagsSelect*/, long /*nChild*/) { return E_NOTIMPL; }
HRESULT CXTPAccessible::AccessibleLocation(long* /*pxLeft*/, long* /*pyTop*/, long* /*pcxWidth*/, long* /*pcyHeight*/,
                                           long /*nChild*/)
{
    return E_NOTIMPL;
}
HRESULT CXTPAccessible::AccessibleHitTest(long /*xLeft*/, long /*yTop*/, VARIANT* /*pvarChild*/) { return E_NOTIMPL; }
HRESULT CXTPAccessible::AccessibleDoDefaultAction(long /*nChild*/) { return E_NOTIMPL; }

HRESULT CXTPAccessible::PutText(const CString& strText, BSTR* pszText)
{
    if (!pszText)
        return E_INVALIDARG;
    *pszText = ::SysAllocString(strText);
    return *pszText ? S_OK : E_OUTOFMEMORY;
}

HRESULT CXTPAccessible::PutLong(long nValue, VARIANT* pvar)
{
    if (!pvar)
        return E_INVALIDARG;
    ::VariantInit(pvar);
    pvar->vt = VT_I4;
    pvar->lVal = nValue;
    return S_OK;
}

void CXTPAccessible::PutLocation(const CRect& rcScreen, long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight)
{
    *pxLeft = rcScreen.left;
    *pyTop = rcScreen.top;
    *pcxWidth = rcScreen.Width();
    *pcyHeight = rcScreen.Height();
}

LRESULT CXTPAccessibleEntries::LresultFromObject(REFIID riid, WPARAM wParam, LPUNKNOWN punk)
{
    PFNLRESULTFROMOBJECT pfn = LookUp(Oleacc().pfnLresultFromObject, "LresultFromObject");
    return pfn ? pfn(riid, wParam, punk) : static_cast<LRESULT>(E_FAIL);
}

HRESULT CXTPAccessibleEntries::AccessibleObjectFromWindow(HWND hWnd, DWORD dwId, REFIID riid, void** ppvObject)
{
    PFNACCESSIBLEOBJECTFROMWINDOW pfn = LookUp(Oleacc().pfnAccessibleObjectFromWindow, "AccessibleObjectFromWindow");
    return pfn ? pfn(hWnd, dwId, riid, ppvObject) : E_FAIL;
}

void CXTPAccessibleEntries::NotifyWinEvent(DWORD dwEvent, HWND hWnd, LONG idObject, LONG idChild)
{
    // USER32 stays loaded for the life of any windowed process: no reference is taken.
    static const PFNNOTIFYWINEVENT pfnNotifyWinEvent = reinterpret_cast<PFNNOTIFYWINEVENT>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"USER32"), "NotifyWinEvent")));
    if (pfnNotifyWinEvent)
        pfnNotifyWinEvent(dwEvent, hWnd, idObject, idChild);
}

void CXTPAccessibleEntries::SetLibraryName(LPCWSTR lpszLibrary)
{
    OleaccEntries& entries = Oleacc();
    entries.strLibrary = lpszLibrary;
    entries.hModule = nullptr;
    entries.pfnLresultFromObject = nullptr;
    entries.pfnAccessibleObjectFromWindow = nullptr;
}
