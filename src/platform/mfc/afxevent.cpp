#include "afxevent.h"

#include <unordered_map>

namespace
{
// Sink maps by run-time class; filled while the program's static objects are made, read afterwards.
std::unordered_map<const CRuntimeClass*, const AFX_EVENTSINKMAP_ENTRY* (*)()>& SinkMaps()
{
    static std::unordered_map<const CRuntimeClass*, const AFX_EVENTSINKMAP_ENTRY* (*)()> maps;
    return maps;
}

const AFX_EVENTSINKMAP_ENTRY* FindEntry(const CCmdTarget* pTarget, UINT nCtrlID, DISPID dispid)
{
    for (const CRuntimeClass* pClass = pTarget->GetRuntimeClass(); pClass; pClass = pClass->m_pBaseClass) {
        auto it = SinkMaps().find(pClass);
        if (it == SinkMaps().end())
            continue;
        for (const AFX_EVENTSINKMAP_ENTRY* pEntry = it->second(); pEntry->pfn; ++pEntry)
            if (pEntry->nCtrlID == nCtrlID && pEntry->dispid == dispid)
                return pEntry;
    }
    return nullptr;
}

bool ParamsMatch(const char* pszParams, const VARIANT* pArgs, UINT nArgs)
{
    UINT i = 0;
    for (; i < nArgs && pszParams[i]; ++i)
        if (pszParams[i] != AfxEventParamCode(pArgs[i]))
            return false;
    return i == nArgs && !pszParams[i];
}
} // namespace

AFX_EVENTSINKMAP_INIT::AFX_EVENTSINKMAP_INIT(CRuntimeClass* pClass, const AFX_EVENTSINKMAP_ENTRY* (*pfnGetEntries)())
{
    SinkMaps()[pClass] = pfnGetEntries;
}

char AfxEventParamCode(const VARIANT& v)
{
    return static_cast<char>((v.vt & VT_TYPEMASK) | ((v.vt & VT_BYREF) ? AFX_VTS_BYREF : 0));
}

BOOL AfxFireEvent(HWND hWndCtrl, DISPID dispid, VARIANT* pArgs, UINT nArgs, BOOL* pbFailed)
{
    if (pbFailed)
        *pbFailed = FALSE;
    CWnd* pParent = CWnd::FromHandlePermanent(::GetParent(hWndCtrl));
    if (!pParent)
        return FALSE;
    const AFX_EVENTSINKMAP_ENTRY* pEntry =
        FindEntry(pParent, static_cast<UINT>(::GetDlgCtrlID(hWndCtrl)), dispid);
    if (!pEntry || !ParamsMatch(pEntry->pszParams, pArgs, nArgs))
        return FALSE;
    // An event is fired from inside the control's handling of a message: the same net as the window procedure.
    try {
        pEntry->pfn(pParent, pArgs);
    } catch (...) {
        AfxProcessCurrentException(CWnd::GetCurrentMessage());
        if (pbFailed)
            *pbFailed = TRUE;
    }
    return TRUE;
}

IMPLEMENT_DYNAMIC(COleDispatchException, CException)

COleDispatchException::COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode)
    : m_wCode(wCode), m_strDescription(lpszDescription), m_dwHelpContext(nHelpID)
{
}

BOOL COleDispatchException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = m_dwHelpContext;
    if (!lpszError || nMaxError == 0)
        return FALSE;
    ::lstrcpynW(lpszError, m_strDescription, static_cast<int>(nMaxError));
    return !m_strDescription.IsEmpty();
}

void AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID)
{
    throw new COleDispatchException(lpszDescription, nHelpID, wCode);
}

void AfxThrowOleDispatchException(WORD wCode, UINT nDescriptionID, UINT nHelpID)
{
    CString strDescription;
    strDescription.LoadString(nDescriptionID);
    AfxThrowOleDispatchException(wCode, strDescription, nHelpID);
}
