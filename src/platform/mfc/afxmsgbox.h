// The one road of every message box: the framework and the program call AfxMessageBox, which hands the
// request to the installed handler. The real handler shows a modal system message box; tests install their
// own to read what the user would have seen and to choose the answer.
#pragma once

#include "afxappinfo.h"

struct AFX_MSGBOX_REQUEST
{
    CString text;
    CString caption;
    UINT type = MB_OK;      // MB_ICON* | MB_OK/MB_OKCANCEL/MB_YESNO/MB_YESNOCANCEL ...
    HWND owner = nullptr;
};

typedef int (*AFX_MSGBOX_HANDLER)(const AFX_MSGBOX_REQUEST& request);

// Installs a handler (null restores the system message box); returns the previous one.
AFX_MSGBOX_HANDLER AfxSetMessageBoxHandler(AFX_MSGBOX_HANDLER handler);

// Caption of every message box: the application title (string AFX_IDS_APP_TITLE), owner: the active window.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
// The same with a caption of the caller's instead of the application title.
int AfxMessageBoxCaption(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType = MB_OK);
// The application's message box owned by the given window (the active one when it is null).
int AfxMessageBoxOwned(HWND hWndOwner, LPCTSTR lpszText, UINT nType = MB_OK);
