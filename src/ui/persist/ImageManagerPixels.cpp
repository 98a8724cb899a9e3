#include "ImageManagerPixels.h"

namespace
{
BITMAPINFO TopDownInfo(SIZE size)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}
}

HBITMAP XTPCreateDIB32(int cx, int cy, void** ppBits)
{
    if (cx <= 0 || cy <= 0)
        return nullptr;
    BITMAPINFO info = TopDownInfo({cx, -cy});
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (ppBits)
        *ppBits = pBits;
    return hBitmap;
}

SIZE XTPGetBitmapSize(HBITMAP hBitmap)
{
    BITMAP bm = {};
    if (!hBitmap || !::GetObjectW(hBitmap, sizeof(bm), &bm))
        return {0, 0};
    return {bm.bmWidth, bm.bmHeight};
}

WORD XTPGetBitmapBitCount(HBITMAP hBitmap)
{
    BITMAP bm = {};
    if (!hBitmap || !::GetObjectW(hBitmap, sizeof(bm), &bm))
        return 0;
    return bm.bmBitsPixel;
}

BOOL XTPReadPixels(HBITMAP hBitmap, std::vector<DWORD>& pixels, SIZE& size)
{
    size = XTPGetBitmapSize(hBitmap);
    if (size.cx <= 0 || size.cy <= 0)
        return FALSE;
    pixels.assign(static_cast<size_t>(size.cx) * size.cy, 0);
    BITMAPINFO info = TopDownInfo(size);
    // A memory DC serves the conversion and costs far less than the screen's.
    HDC hDC = ::CreateCompatibleDC(nullptr);
    int nLines = ::GetDIBits(hDC, hBitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS);
    ::DeleteDC(hDC);
    return nLines == size.cy;
}

BOOL XTPWritePixels(HBITMAP hBitmap, const std::vector<DWORD>& pixels, SIZE size)
{
    BITMAPINFO info = TopDownInfo(size);
    HDC hDC = ::CreateCompatibleDC(nullptr);
    int nLines = ::SetDIBits(hDC, hBitmap, 0, size.cy, pixels.data(), &info, DIB_RGB_COLORS);
    ::DeleteDC(hDC);
    return nLines == size.cy;
}

HBITMAP XTPCopyToDIB32(HBITMAP hBitmap)
{
    std::vector<DWORD> pixels;
    SIZE size;
    if (!XTPReadPixels(hBitmap, pixels, size))
        return nullptr;
    HBITMAP hCopy = XTPCreateDIB32(size.cx, size.cy);
    if (hCopy && !XTPWritePixels(hCopy, pixels, size)) {
        ::DeleteObject(hCopy);
        return nullptr;
    }
    return hCopy;
}
