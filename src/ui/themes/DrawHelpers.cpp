#include "ui/themes/DrawHelpers.h"

BOOL IsLowColorDisplay(HDC hDC)
{
    HWND hDesktop = nullptr;
    if (!hDC) {
        hDesktop = ::GetDesktopWindow();
        hDC = ::GetDC(hDesktop);
        if (!hDC)
            return FALSE;
    }
    int nBits = ::GetDeviceCaps(hDC, BITSPIXEL);
    if (hDesktop)
        ::ReleaseDC(hDesktop, hDC);
    return nBits >= 1 && nBits <= 8;
}
