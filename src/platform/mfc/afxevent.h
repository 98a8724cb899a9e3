// What a hosted control and the window that hosts it share: the events the control fires, by dispatch id,
// to the event sink map of its parent window's object, and the exception the control's calls raise.
//
//   class CMyView : public CFormView {
//       DECLARE_DYNCREATE(CMyView)      // sink maps are found through the run-time class
//       ...
//       void OnGridEndEdit(BSTR* pText, short* pCancel);
//       DECLARE_EVENTSINK_MAP()
//   };
//   BEGIN_EVENTSINK_MAP(CMyView, CFormView)
//       ON_EVENT(CMyView, 1006, 6, &CMyView::OnGridEndEdit, VTS_PBSTR VTS_PI2)
//   END_EVENTSINK_MAP()
//
// The control fires with AfxFireEvent(m_hWnd, 6, &bstrText, &nCancel): the arguments travel as VARIANTs, by
// value or by reference, and the handler reads and changes them as typed parameters. The maps of the base
// classes are searched after the class's own, so a derived class replaces a handler by listing the same
// control and event.
#pragma once

#include "afxwin.h"

#include <oleauto.h>

#include <type_traits>
#include <utility>

// Parameter types of ON_EVENT, joined as in VTS_I2 VTS_I4: the VARIANT type, 0x40 added for "by reference".
#define VTS_NONE    ""
#define VTS_I2      "\x02"   // short
#define VTS_I4      "\x03"   // long
#define VTS_R8      "\x05"   // double
#define VTS_BSTR    "\x08"   // BSTR
#define VTS_PI2     "\x42"   // short*
#define VTS_PI4     "\x43"   // long*
#define VTS_PR8     "\x45"   // double*
#define VTS_PBSTR   "\x48"   // BSTR*

const char AFX_VTS_BYREF = 0x40;

// Dispatch ids of the standard events.
#define DISPID_MOUSEDOWN (-605)

typedef void (*AFX_PEVENT)(CCmdTarget* pTarget, VARIANT* pArgs);

struct AFX_EVENTSINKMAP_ENTRY
{
    UINT nCtrlID;
    DISPID dispid;
    const char* pszParams;   // VTS_ codes of the handler's parameters
    AFX_PEVENT pfn;          // null ends the map
};

// Links a class's sink map to its run-time class (one static object per map).
struct AFX_EVENTSINKMAP_INIT
{
    AFX_EVENTSINKMAP_INIT(CRuntimeClass* pClass, const AFX_EVENTSINKMAP_ENTRY* (*pfnGetEntries)());
};

// Fires event dispid of the control hWndCtrl (nArgs arguments, in the handler's order) to its parent window's
// object. TRUE when a handler was called. An exception that the handler lets out is shown to the user and
// deleted here: it never crosses the control's window procedure; *pbFailed then tells the control, which can
// drop what the handler was to decide. An entry whose parameters differ from the arguments is not called.
BOOL AfxFireEvent(HWND hWndCtrl, DISPID dispid, VARIANT* pArgs, UINT nArgs, BOOL* pbFailed = nullptr);

// Argument conversion: each supported type to and from its VARIANT.
template <class T> struct CAfxEventParam;
#define AFX_EVENT_PARAM(type, vartype, member) \
    template <> struct CAfxEventParam<type> \
    { \
        static constexpr char code = \
            (vartype) < 0x40 ? static_cast<char>(vartype) : static_cast<char>((vartype) - VT_BYREF + 0x40); \
        static VARIANT Make(type value) { VARIANT v; ::VariantInit(&v); v.vt = (vartype); v.member = value; return v; } \
        static type Get(const VARIANT& v) { return v.member; } \
    };
AFX_EVENT_PARAM(short, VT_I2, iVal)
AFX_EVENT_PARAM(long, VT_I4, lVal)
AFX_EVENT_PARAM(double, VT_R8, dblVal)
AFX_EVENT_PARAM(BSTR, VT_BSTR, bstrVal)
AFX_EVENT_PARAM(short*, VT_I2 | VT_BYREF, piVal)
AFX_EVENT_PARAM(long*, VT_I4 | VT_BYREF, plVal)
AFX_EVENT_PARAM(double*, VT_R8 | VT_BYREF, pdblVal)
AFX_EVENT_PARAM(BSTR*, VT_BSTR | VT_BYREF, pbstrVal)
#undef AFX_EVENT_PARAM

// The VTS_ code of a VARIANT's type.
char AfxEventParamCode(const VARIANT& v);

template <class... T>
BOOL AfxFireEvent(HWND hWndCtrl, DISPID dispid, T... args)
{
    VARIANT v[sizeof...(T) + 1] = {CAfxEventParam<T>::Make(args)...};
    return AfxFireEvent(hWndCtrl, dispid, static_cast<VARIANT*>(v), static_cast<UINT>(sizeof...(T)));
}

// Whether a VTS_ list names the handler's parameter types, checked when the map is compiled.
template <class TClass, class... Args>
constexpr bool AfxEventParamsMatch(void (TClass::*)(Args...), const char* pszParams)
{
    const char codes[] = {CAfxEventParam<Args>::code..., 0};
    for (size_t i = 0; i <= sizeof...(Args); ++i)
        if (codes[i] != pszParams[i])
            return false;
    return true;
}

template <class TObject, class TClass, class... Args, size_t... I>
void AfxCallEventHandler(TObject* pThis, void (TClass::*pfn)(Args...), VARIANT* pArgs, std::index_sequence<I...>)
{
    (static_cast<TClass*>(pThis)->*pfn)(CAfxEventParam<Args>::Get(pArgs[I])...);
}

#define DECLARE_EVENTSINK_MAP() \
public: \
    static const AFX_EVENTSINKMAP_ENTRY* GetThisEventSinkMap(); \
protected:

#define BEGIN_EVENTSINK_MAP(theClass, baseClass) \
    static_assert(std::is_base_of<baseClass, theClass>::value, "the base class of the sink map"); \
    static const AFX_EVENTSINKMAP_INIT _afxEventSinkInit_##theClass(RUNTIME_CLASS(theClass), \
                                                                   &theClass::GetThisEventSinkMap); \
    const AFX_EVENTSINKMAP_ENTRY* theClass::GetThisEventSinkMap() \
    { \
        static const AFX_EVENTSINKMAP_ENTRY _eventsinkEntries[] = {

// void Handler(params...) of theClass (or of a base class) for event dispid of control id.
#define ON_EVENT(theClass, id, dispid, pfnHandler, vtsParams) \
    {(id), (dispid), vtsParams, [](CCmdTarget* pTarget, VARIANT* pArgs) { \
         static_assert(AfxEventParamsMatch(pfnHandler, vtsParams), "the handler's parameters are not " #vtsParams); \
         AfxCallEventHandler(static_cast<theClass*>(pTarget), pfnHandler, pArgs, \
                             std::make_index_sequence<sizeof(vtsParams) - 1>()); \
     }},

#define END_EVENTSINK_MAP() \
            {0, 0, nullptr, nullptr}}; \
        return _eventsinkEntries; \
    }

// The error of a call to a hosted control: its description is the text the user reads.
class COleDispatchException : public CException
{
    DECLARE_DYNAMIC(COleDispatchException)
public:
    COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    WORD m_wCode;
    CString m_strDescription;
    DWORD m_dwHelpContext;
};

[[noreturn]] void AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID = 0);
// The description is string nDescriptionID.
[[noreturn]] void AfxThrowOleDispatchException(WORD wCode, UINT nDescriptionID, UINT nHelpID = 0);
