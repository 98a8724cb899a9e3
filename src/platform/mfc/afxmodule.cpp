#include "afxmodule.h"
#include "afxstr.h"

namespace
{
AFX_MODULE_STATE g_moduleState = {};
}

AFX_MODULE_STATE* AfxGetModuleState() { return &g_moduleState; }

HINSTANCE AfxGetResourceHandle()
{
    return g_moduleState.m_hCurrentResourceHandle ? g_moduleState.m_hCurrentResourceHandle : ::GetModuleHandleW(nullptr);
}

void AfxSetResourceHandle(HINSTANCE hInst) { g_moduleState.m_hCurrentResourceHandle = hInst; }

HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType)
{
    HINSTANCE hCurrent = AfxGetResourceHandle();
    if (::FindResourceW(hCurrent, lpszName, lpszType))
        return hCurrent;
    for (CDynLinkLibrary* pDLL = g_moduleState.m_pDllList; pDLL; pDLL = pDLL->m_pNextDLL) {
        if (pDLL->m_hResource && ::FindResourceW(pDLL->m_hResource, lpszName, lpszType))
            return pDLL->m_hResource;
    }
    return hCurrent;
}

CDynLinkLibrary::CDynLinkLibrary(const AFX_EXTENSION_MODULE& state)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_pNextDLL(g_moduleState.m_pDllList)
{
    g_moduleState.m_pDllList = this;
}

CDynLinkLibrary::~CDynLinkLibrary()
{
    for (CDynLinkLibrary** ppDLL = &g_moduleState.m_pDllList; *ppDLL; ppDLL = &(*ppDLL)->m_pNextDLL) {
        if (*ppDLL == this) {
            *ppDLL = m_pNextDLL;
            break;
        }
    }
}
