#include "afxshell.h"

#include <shellapi.h>

namespace
{
INT_PTR SystemShellOpen(HWND hWnd, LPCWSTR lpszTarget, int nShowCmd)
{
    return reinterpret_cast<INT_PTR>(::ShellExecuteW(hWnd, L"open", lpszTarget, nullptr, nullptr, nShowCmd));
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
