// Identity of the running application as the framework's helpers need it before (and without) an
// application object: its title (caption of every message box), its registry key and profile name.
#pragma once

#include "afxstr.h"

// String AFX_IDS_APP_TITLE of the resources, or the program file's title when the string is missing.
CString AfxGetAppTitle();
void AfxSetAppTitle(LPCTSTR lpszTitle);

// HKEY_CURRENT_USER\Software\<registry key>\<profile name>; empty until the application sets them.
CString AfxGetRegistryKey();
CString AfxGetProfileName();
void AfxSetRegistryKey(LPCTSTR lpszRegistryKey, LPCTSTR lpszProfileName);
