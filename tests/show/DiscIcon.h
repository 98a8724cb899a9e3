#pragma once
// The show programs' sample artwork.
#include <windows.h>

// A 16 x 16 icon: a disc of the colour on a transparent ground, with a ring of the other colour unless CLR_NONE.
inline HICON CreateDiscIcon(COLORREF clrFill, COLORREF clrRing = CLR_NONE)
{
    HDC hScreen = ::GetDC(nullptr);
    HBITMAP hColor = ::CreateCompatibleBitmap(hScreen, 16, 16);
    HBITMAP hMask = ::CreateBitmap(16, 16, 1, 1, nullptr);
    HDC hDC = ::CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = ::SelectObject(hDC, hMask);
    ::PatBlt(hDC, 0, 0, 16, 16, WHITENESS);
    ::SelectObject(hDC, ::GetStockObject(BLACK_BRUSH));
    ::Ellipse(hDC, 1, 1, 15, 15);
    ::SelectObject(hDC, hColor);
    ::PatBlt(hDC, 0, 0, 16, 16, BLACKNESS);
    HBRUSH hBrush = ::CreateSolidBrush(clrFill);
    HPEN hPen = clrRing == CLR_NONE ? nullptr : ::CreatePen(PS_SOLID, 1, clrRing);
    ::SelectObject(hDC, hBrush);
    ::SelectObject(hDC, hPen ? static_cast<HGDIOBJ>(hPen) : ::GetStockObject(NULL_PEN));
    ::Ellipse(hDC, 1, 1, 15, 15);
    ::SelectObject(hDC, hOld);
    ::DeleteObject(hBrush);
    if (hPen)
        ::DeleteObject(hPen);
    ::DeleteDC(hDC);
    ::ReleaseDC(nullptr, hScreen);
    ICONINFO ii = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&ii);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
    return hIcon;
}
