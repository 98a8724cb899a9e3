// The one road to Simple MAPI: the program takes the entry points from here. Without an installed set they come
// from "MAPI32.DLL", loaded at run time once per process and kept; tests install their own so that no mail program
// is ever started.
#pragma once

#include <windows.h>

#include <mapi.h>

struct MAPI_ENTRY_POINTS
{
    LPMAPILOGON pfnLogon = nullptr;
    LPMAPISENDMAIL pfnSendMail = nullptr;
    LPMAPILOGOFF pfnLogoff = nullptr;
};

// Installs a set (null: the library again); answers the previous one.
const MAPI_ENTRY_POINTS* AfxSetMapiEntryPoints(const MAPI_ENTRY_POINTS* pEntryPoints);
// The installed set, else the library's; null when the library or its MAPISendMail is missing.
const MAPI_ENTRY_POINTS* AfxGetMapiEntryPoints();
