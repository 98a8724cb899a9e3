#include "DialogUtil.h"

#include "platform/mfc/afxwnd.h"

#include <commctrl.h>

CString LoadResText(UINT nID, LPCTSTR lpszType)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceW(hInst, MAKEINTRESOURCEW(nID), lpszType);
    HGLOBAL hData = hResource ? ::LoadResource(hInst, hResource) : nullptr;
    auto pText = hData ? static_cast<const char*>(::LockResource(hData)) : nullptr;
    if (!pText)
        return CString();
    // The resource is not null-terminated: its size says where the text ends.
    DWORD dwSize = ::SizeofResource(hInst, hResource);
    return CString::FromMultiByte(pText, static_cast<int>(strnlen(pText, dwSize)));
}

BOOL AddControlTip(HWND hDlg, UINT nIDControl, HWND& hToolTip)
{
    HWND hControl = ::GetDlgItem(hDlg, static_cast<int>(nIDControl));
    if (!hControl)
        return FALSE;
    if (!hToolTip) {
        hToolTip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hDlg, nullptr,
                                     reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hDlg, GWLP_HINSTANCE)), nullptr);
        if (!hToolTip)
            return FALSE;
        ::SendMessageW(hToolTip, TTM_ACTIVATE, TRUE, 0);
    }
    CString strText = AfxGetWindowText(hControl);

    TTTOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hDlg;
    info.uId = reinterpret_cast<UINT_PTR>(hControl);
    info.lpszText = strText.GetBuffer();   // the tooltip keeps its own copy
    BOOL bAdded = static_cast<BOOL>(::SendMessageW(hToolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)));
    strText.ReleaseBuffer();
    return bAdded;
}

HICON SetButtonIcon(HWND hDlg, UINT nIDControl, UINT nIDIcon, int cx, int cy)
{
    auto hIcon = static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDIcon), IMAGE_ICON, cx,
                                                 cy, LR_DEFAULTCOLOR));
    if (hIcon)
        ::SendDlgItemMessageW(hDlg, static_cast<int>(nIDControl), BM_SETIMAGE, IMAGE_ICON,
                              reinterpret_cast<LPARAM>(hIcon));
    return hIcon;
}

BOOL IsHexText(LPCTSTR lpszText)
{
    // Only the ASCII digits: the C library would also take other scripts' digits.
    return lpszText[wcsspn(lpszText, L"0123456789abcdefABCDEF")] == L'\0';
}
