#include "afxshell.h"

#include <shellapi.h>

namespace
{
// The process handle is asked for and the shell's conversation awaited before the call returns, so that a
// program closing right after (the updater starting its setup) does not cut the start short. The handle is not
// kept: nothing waits for the program started.
INT_PTR SystemShellOpen(HWND hWnd, LPCWSTR lpszTarget, int nShowCmd)
{
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT;
    info.hwnd = hWnd;
    info.lpVerb = L"open";
    info.lpFile = lpszTarget;
    info.nShow = nShowCmd;
    const BOOL bStarted = ::ShellExecuteExW(&info);
    if (info.hProcess)
        ::CloseHandle(info.hProcess);
    const INT_PTR nResult = reinterpret_cast<INT_PTR>(info.hInstApp);
    if (bStarted)
        return nResult > 32 ? nResult : 33;
    return nResult > 0 && nResult <= 32 ? nResult : SE_ERR_NOASSOC;
}

AFX_SHELLOPEN_HANDLER g_handler = SystemShellOpen;
} // namespace

AFX_SHELLOPEN_HANDLER AfxSetShellOpenHandler(AFX_SHELLOPEN_HANDLER handler)
{
    AFX_SHELLOPEN_HANDLER previous = g_handler;
    g_handler = handler ? handler : SystemShellOpen;
    return previous;
}

INT_PTR AfxShellOpen(HWND hWnd, LPCWSTR lpszTarget, int nShowCmd)
{
    return g_handler(hWnd, lpszTarget, nShowCmd);
}
