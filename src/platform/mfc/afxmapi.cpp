#include "afxmapi.h"

namespace {

const MAPI_ENTRY_POINTS* g_pInstalled = nullptr;

template <typename T>
T EntryPoint(HMODULE hLibrary, LPCSTR lpszName)
{
    return reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(hLibrary, lpszName)));
}

const MAPI_ENTRY_POINTS* LibraryEntryPoints()
{
    static MAPI_ENTRY_POINTS entry;
    static bool bTried = false;
    if (!bTried) {
        bTried = true;
        if (HMODULE hLibrary = ::LoadLibraryW(L"MAPI32.DLL")) {
            entry.pfnLogon = EntryPoint<LPMAPILOGON>(hLibrary, "MAPILogon");
            entry.pfnSendMail = EntryPoint<LPMAPISENDMAIL>(hLibrary, "MAPISendMail");
            entry.pfnLogoff = EntryPoint<LPMAPILOGOFF>(hLibrary, "MAPILogoff");
        }
    }
    return entry.pfnSendMail ? &entry : nullptr;
}

} // namespace

const MAPI_ENTRY_POINTS* AfxSetMapiEntryPoints(const MAPI_ENTRY_POINTS* pEntryPoints)
{
    const MAPI_ENTRY_POINTS* pPrevious = g_pInstalled;
    g_pInstalled = pEntryPoints;
    return pPrevious;
}

const MAPI_ENTRY_POINTS* AfxGetMapiEntryPoints()
{
    return g_pInstalled ? g_pInstalled : LibraryEntryPoints();
}
