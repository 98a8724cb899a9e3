// Pixel access of the icon store: 32-bit DIB sections and their pixels as top-down rows of BGRA words,
// whatever the bitmap's own format.
#pragma once

#include <windows.h>

#include <vector>

// A resource's bytes, from the resource module or the extension module that holds it; FALSE when none does.
BOOL XTPFindResourceData(LPCTSTR lpszName, LPCTSTR lpszType, const BYTE*& pData, DWORD& nSize);

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

// An icon's colour and mask bitmaps as pixels, as GetIconInfo gives them; the mask may be taller than the
// colours.
struct XTP_ICON_BITS
{
    std::vector<DWORD> colors;
    std::vector<DWORD> mask;
    SIZE size = {};
    SIZE sizeMask = {};
};
// FALSE when the icon has no colour bitmap or its bitmaps cannot be read.
BOOL XTPReadIconBits(HICON hIcon, XTP_ICON_BITS& bits);
// A new icon of the pixels (the mask as one bit a pixel: set where the mask pixel is not black); null when it
// cannot be made.
HICON XTPCreateIconFromBits(const XTP_ICON_BITS& bits);

inline BYTE PixelBlue(DWORD p) { return static_cast<BYTE>(p); }
inline BYTE PixelGreen(DWORD p) { return static_cast<BYTE>(p >> 8); }
inline BYTE PixelRed(DWORD p) { return static_cast<BYTE>(p >> 16); }
inline BYTE PixelAlpha(DWORD p) { return static_cast<BYTE>(p >> 24); }
inline DWORD MakePixel(int r, int g, int b, int a)
{
    return static_cast<DWORD>(b) | (static_cast<DWORD>(g) << 8) | (static_cast<DWORD>(r) << 16) | (static_cast<DWORD>(a) << 24);
}
