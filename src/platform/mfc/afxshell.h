// The one road of the shell's "open" verb (links, documents, mail addresses): the framework and the program call
// AfxShellOpen, which hands the request to the installed handler. The real handler calls ShellExecuteEx; tests
// install their own to see what would have been opened and to choose the result.
#pragma once

#include <windows.h>

// The result as ShellExecute gives it: above 32 is success, otherwise the error code (GetLastError tells more).
typedef INT_PTR (*AFX_SHELLOPEN_HANDLER)(HWND hWnd, LPCWSTR lpszTarget, int nShowCmd);

// Installs a handler (null restores ShellExecute); returns the previous one.
AFX_SHELLOPEN_HANDLER AfxSetShellOpenHandler(AFX_SHELLOPEN_HANDLER handler);

// Opens the target with the verb "open", no parameters and no folder.
INT_PTR AfxShellOpen(HWND hWnd, LPCWSTR lpszTarget, int nShowCmd = SW_SHOW);
