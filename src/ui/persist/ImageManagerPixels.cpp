#include "ImageManagerPixels.h"

#include "platform/mfc/afxmodule.h"

BOOL XTPFindResourceData(LPCTSTR lpszName, LPCTSTR lpszType, const BYTE*& pData, DWORD& nSize)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszName, lpszType);
    HRSRC hRsrc = ::FindResourceW(hInst, lpszName, lpszType);
    HGLOBAL hGlobal = hRsrc ? ::LoadResource(hInst, hRsrc) : nullptr;
    pData = hGlobal ? static_cast<const BYTE*>(::LockResource(hGlobal)) : nullptr;
    nSize = hRsrc ? ::SizeofResource(hInst, hRsrc) : 0;
    return pData != nullptr;
}

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

BOOL XTPReadIconBits(HICON hIcon, XTP_ICON_BITS& bits)
{
    ICONINFO info = {};
    if (!hIcon || !::GetIconInfo(hIcon, &info))
        return FALSE;
    BOOL bRead = info.hbmColor && info.hbmMask && XTPReadPixels(info.hbmColor, bits.colors, bits.size) &&
                 XTPReadPixels(info.hbmMask, bits.mask, bits.sizeMask) && bits.sizeMask.cx == bits.size.cx &&
                 bits.sizeMask.cy >= bits.size.cy;
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    return bRead;
}

HICON XTPCreateIconFromBits(const XTP_ICON_BITS& bits)
{
    const SIZE& sizeMask = bits.sizeMask;
    if (bits.colors.size() != static_cast<size_t>(bits.size.cx) * bits.size.cy ||
        bits.mask.size() != static_cast<size_t>(sizeMask.cx) * sizeMask.cy)
        return nullptr;
    // Monochrome rows are padded to whole words, the leftmost pixel in the high bit.
    size_t nRowBytes = (static_cast<size_t>(sizeMask.cx) + 15) / 16 * 2;
    std::vector<BYTE> maskBits(nRowBytes * sizeMask.cy, 0);
    for (int y = 0; y < sizeMask.cy; ++y) {
        for (int x = 0; x < sizeMask.cx; ++x) {
            if (bits.mask[static_cast<size_t>(y) * sizeMask.cx + x] & 0xFFFFFF)
                maskBits[y * nRowBytes + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
        }
    }
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmColor = XTPCreateDIB32(bits.size.cx, bits.size.cy);
    info.hbmMask = ::CreateBitmap(sizeMask.cx, sizeMask.cy, 1, 1, maskBits.data());
    HICON hIcon = nullptr;
    if (info.hbmColor && info.hbmMask && XTPWritePixels(info.hbmColor, bits.colors, bits.size))
        hIcon = ::CreateIconIndirect(&info);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    return hIcon;
}
