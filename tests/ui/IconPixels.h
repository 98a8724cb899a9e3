// Test icons and bitmaps of known pixels for the icon store's tests, and the pixels of what it makes.
#pragma once

#include "ui/persist/ImageManager.h"
#include "ui/persist/ImageManagerPixels.h"

#include <functional>

// No colour: the mask makes the pixel transparent.
const COLORREF kClear = 0xFFFFFFFF;

// An icon of 24-bit colour with a mask: each pixel from pixel(x, y), transparent where it answers kClear.
inline HICON MakeIcon(int cx, int cy, const std::function<COLORREF(int, int)>& pixel)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* pBits = nullptr;
    HBITMAP hColor = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    HBITMAP hMask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
    HDC hDC = ::CreateCompatibleDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hMask);
    for (int y = 0; y < cy; ++y) {
        for (int x = 0; x < cx; ++x)
            ::SetPixel(hDC, x, y, pixel(x, y) == kClear ? RGB(255, 255, 255) : RGB(0, 0, 0));
    }
    ::SelectObject(hDC, hColor);
    for (int y = 0; y < cy; ++y) {
        for (int x = 0; x < cx; ++x)
            ::SetPixel(hDC, x, y, pixel(x, y) == kClear ? RGB(0, 0, 0) : pixel(x, y));
    }
    ::SelectObject(hDC, hOld);
    ::DeleteDC(hDC);
    ICONINFO ii = {TRUE, 0, 0, hMask, hColor};
    HICON hIcon = ::CreateIconIndirect(&ii);
    ::DeleteObject(hColor);
    ::DeleteObject(hMask);
    return hIcon;
}

// A 32-bit alpha bitmap; pixel answers MakePixel(r, g, b, a).
inline HBITMAP MakeAlphaBitmap(int cx, int cy, const std::function<DWORD(int, int)>& pixel)
{
    std::vector<DWORD> pixels(static_cast<size_t>(cx) * cy);
    for (int y = 0; y < cy; ++y) {
        for (int x = 0; x < cx; ++x)
            pixels[static_cast<size_t>(y) * cx + x] = pixel(x, y);
    }
    HBITMAP hBitmap = XTPCreateDIB32(cx, cy);
    XTPWritePixels(hBitmap, pixels, {cx, cy});
    return hBitmap;
}

// The pixel of an image: of the alpha bitmap, or of an icon's colour bitmap; 0xFFFFFFFF when absent.
inline DWORD ImagePixel(const CXTPImageManagerIconHandle& hImage, int x, int y)
{
    std::vector<DWORD> pixels;
    SIZE size = {};
    if (hImage.IsAlpha()) {
        if (!XTPReadPixels(hImage.GetBitmap(), pixels, size))
            return 0xFFFFFFFF;
    } else {
        ICONINFO info = {};
        if (!hImage.GetIcon() || !::GetIconInfo(hImage.GetIcon(), &info))
            return 0xFFFFFFFF;
        BOOL bRead = XTPReadPixels(info.hbmColor, pixels, size);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        if (!bRead)
            return 0xFFFFFFFF;
    }
    return x < size.cx && y < size.cy ? pixels[static_cast<size_t>(y) * size.cx + x] : 0xFFFFFFFF;
}

// The colour part of a pixel as a COLORREF.
inline COLORREF PixelColor(DWORD p) { return RGB(PixelRed(p), PixelGreen(p), PixelBlue(p)); }
