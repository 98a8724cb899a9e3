// Pixel access of the icon store: 32-bit DIB sections and their pixels as top-down rows of BGRA words,
// whatever the bitmap's own format.
#pragma once

#include <windows.h>

#include <vector>

// A 32-bit DIB section (bottom-up, BI_RGB); null when it cannot be made.
HBITMAP XTPCreateDIB32(int cx, int cy, void** ppBits = nullptr);
// The bitmap's size; 0 × 0 when it is not a bitmap.
SIZE XTPGetBitmapSize(HBITMAP hBitmap);
WORD XTPGetBitmapBitCount(HBITMAP hBitmap);
// The pixels as 32 bits (alpha as stored for a 32-bit bitmap); FALSE when they cannot be read.
BOOL XTPReadPixels(HBITMAP hBitmap, std::vector<DWORD>& pixels, SIZE& size);
BOOL XTPWritePixels(HBITMAP hBitmap, const std::vector<DWORD>& pixels, SIZE size);
// A new 32-bit DIB section with a copy of the pixels; null when the source cannot be read.
HBITMAP XTPCopyToDIB32(HBITMAP hBitmap);

inline BYTE PixelBlue(DWORD p) { return static_cast<BYTE>(p); }
inline BYTE PixelGreen(DWORD p) { return static_cast<BYTE>(p >> 8); }
inline BYTE PixelRed(DWORD p) { return static_cast<BYTE>(p >> 16); }
inline BYTE PixelAlpha(DWORD p) { return static_cast<BYTE>(p >> 24); }
inline DWORD MakePixel(int r, int g, int b, int a)
{
    return static_cast<DWORD>(b) | (static_cast<DWORD>(g) << 8) | (static_cast<DWORD>(r) << 16) | (static_cast<DWORD>(a) << 24);
}
