#include "afxappinfo.h"
#include "afxres.h"

namespace
{
CString g_appTitle;
CString g_registryKey;
CString g_profileName;
} // namespace

CString AfxGetAppTitle()
{
    if (g_appTitle.IsEmpty() && !g_appTitle.LoadString(AFX_IDS_APP_TITLE)) {
        TCHAR path[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        CString name(path);
        name = name.Mid(name.ReverseFind(L'\\') + 1);
        int dot = name.ReverseFind(L'.');
        g_appTitle = dot > 0 ? name.Left(dot) : name;
    }
    return g_appTitle;
}

void AfxSetAppTitle(LPCTSTR lpszTitle) { g_appTitle = lpszTitle; }

CString AfxGetRegistryKey() { return g_registryKey; }
CString AfxGetProfileName() { return g_profileName; }

void AfxSetRegistryKey(LPCTSTR lpszRegistryKey, LPCTSTR lpszProfileName)
{
    g_registryKey = lpszRegistryKey;
    g_profileName = lpszProfileName;
}
