#include "ImageManager.h"

#include "ImageManagerPixels.h"

#include <cstring>

namespace
{
#pragma pack(push, 2)
struct GRPICONDIRENTRY
{
    BYTE bWidth;
    BYTE bHeight;
    BYTE bColorCount;
    BYTE bReserved;
    WORD wPlanes;
    WORD wBitCount;
    DWORD dwBytesInRes;
    WORD nID;
};
#pragma pack(pop)

// An icon's pixels as straight alpha: its own alpha when it has one, else opaque where the mask is black and
// clear where it is white. FALSE when the icon inverts pixels (white mask over colour).
BOOL StraightPixels(const XTP_ICON_BITS& bits, std::vector<DWORD>& pixels)
{
    pixels = bits.colors;
    BOOL bHasAlpha = FALSE;
    for (DWORD pixel : pixels)
        bHasAlpha |= PixelAlpha(pixel) != 0;
    if (bHasAlpha)
        return TRUE;
    for (size_t i = 0; i < pixels.size(); ++i) {
        BOOL bClear = (bits.mask[i] & 0xFFFFFF) != 0;
        if (bClear && (pixels[i] & 0xFFFFFF) != 0)
            return FALSE;
        pixels[i] = bClear ? 0 : (pixels[i] | 0xFF000000);
    }
    return TRUE;
}
}

CXTPImageManagerIconHandle::CXTPImageManagerIconHandle(HICON hIcon) : m_hIcon(hIcon), m_bClearHandles(FALSE) {}

CXTPImageManagerIconHandle::CXTPImageManagerIconHandle(HBITMAP hBitmap) : m_hBitmap(hBitmap), m_bClearHandles(FALSE) {}

CXTPImageManagerIconHandle::CXTPImageManagerIconHandle(const CXTPImageManagerIconHandle& handle)
    : m_hIcon(handle.GetIcon()), m_hBitmap(handle.m_hBitmap), m_bClearHandles(FALSE)
{
}

CXTPImageManagerIconHandle::~CXTPImageManagerIconHandle() { Clear(); }

void CXTPImageManagerIconHandle::operator=(HICON hIcon)
{
    Clear();
    m_hIcon = hIcon;
    m_bClearHandles = TRUE;
}

void CXTPImageManagerIconHandle::SetBitmap(HBITMAP hBitmap)
{
    Clear();
    m_hBitmap = hBitmap;
    m_bClearHandles = TRUE;
}

void CXTPImageManagerIconHandle::CopyHandle(const CXTPImageManagerIconHandle& handle)
{
    if (&handle == this)
        return;
    Clear();
    if (HICON hIcon = handle.GetIcon())
        m_hIcon = ::CopyIcon(hIcon);
    else if (handle.m_hBitmap)
        m_hBitmap = XTPCopyToDIB32(handle.m_hBitmap);
    m_bClearHandles = TRUE;
}

void CXTPImageManagerIconHandle::CopyBitmap(HBITMAP hBitmap)
{
    Clear();
    m_hBitmap = XTPCopyToDIB32(hBitmap);
    m_bClearHandles = TRUE;
}

void CXTPImageManagerIconHandle::Clear()
{
    if (m_bClearHandles) {
        if (m_hIcon)
            ::DestroyIcon(m_hIcon);
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
    }
    if (m_hAlphaBits)
        ::DeleteObject(m_hAlphaBits);
    m_hIcon = nullptr;
    m_hBitmap = nullptr;
    m_hAlphaBits = nullptr;
    m_pIconBits.reset();
    m_bClearHandles = TRUE;
    m_bNoAlphaBits = FALSE;
    m_bNoIconBits = FALSE;
}

HICON CXTPImageManagerIconHandle::GetIcon() const
{
    if (!m_hIcon && m_pIconBits)
        m_hIcon = XTPCreateIconFromBits(*m_pIconBits);
    return m_hIcon;
}

const XTP_ICON_BITS* CXTPImageManagerIconHandle::GetIconBits()
{
    if (m_pIconBits || !m_hIcon || m_bNoIconBits)
        return m_pIconBits.get();
    auto pBits = std::make_unique<XTP_ICON_BITS>();
    if (XTPReadIconBits(m_hIcon, *pBits))
        m_pIconBits = std::move(pBits);
    else
        m_bNoIconBits = TRUE;
    return m_pIconBits.get();
}

void CXTPImageManagerIconHandle::SetIconBits(XTP_ICON_BITS&& bits)
{
    Clear();
    m_pIconBits = std::make_unique<XTP_ICON_BITS>(std::move(bits));
}

CSize CXTPImageManagerIconHandle::GetExtent() const
{
    if (m_hIcon)
        return CXTPImageManager::GetIconSize(m_hIcon);
    if (m_pIconBits)
        return CSize(m_pIconBits->size);
    if (m_hBitmap)
        return CSize(XTPGetBitmapSize(m_hBitmap));
    return CSize(0, 0);
}

BOOL CXTPImageManagerIconHandle::LoadIcon(UINT nIDResourceIcon, CSize szIcon)
{
    const BYTE* pData = nullptr;
    DWORD nSize = 0;
    if (XTPFindResourceData(MAKEINTRESOURCEW(nIDResourceIcon), RT_GROUP_ICON, pData, nSize)) {
        if (nSize < 6)
            return FALSE;
        WORD nCount = *reinterpret_cast<const WORD*>(pData + 4);
        if (nSize < 6 + nCount * sizeof(GRPICONDIRENTRY))
            return FALSE;
        const GRPICONDIRENTRY* pEntries = reinterpret_cast<const GRPICONDIRENTRY*>(pData + 6);
        for (int i = nCount - 1; i >= 0; --i) {
            if (pEntries[i].bWidth == static_cast<BYTE>(szIcon.cx) && pEntries[i].bHeight == static_cast<BYTE>(szIcon.cy) &&
                LoadIconImage(pEntries[i].nID, szIcon))
                return TRUE;
        }
        return FALSE;
    }
    return LoadIconImage(nIDResourceIcon, szIcon);
}

// The group's entries name images, never groups: a resource compiler numbers the images of "1 ICON" from 1 too,
// so that an image id often equals a group id.
BOOL CXTPImageManagerIconHandle::LoadIconImage(UINT nIDImage, CSize szIcon)
{
    const BYTE* pData = nullptr;
    DWORD nSize = 0;
    if (!XTPFindResourceData(MAKEINTRESOURCEW(nIDImage), RT_ICON, pData, nSize) || nSize < sizeof(BITMAPINFOHEADER))
        return FALSE;
    BITMAPINFOHEADER header;
    std::memcpy(&header, pData, sizeof(header));
    if (header.biBitCount == 32) {
        if (!XTPImageManager()->IsAlphaIconsSupported())
            return FALSE;
        int cx = header.biWidth;
        int cy = header.biHeight / 2;
        // The colour rows that follow the header, bottom-up like the new section.
        if (cx <= 0 || cy <= 0 || cx > 0x4000 || cy > 0x4000 || header.biSize > nSize ||
            nSize - header.biSize < static_cast<DWORD>(cx) * cy * 4)
            return FALSE;
        void* pBits = nullptr;
        HBITMAP hBitmap = XTPCreateDIB32(cx, cy, &pBits);
        if (!hBitmap)
            return FALSE;
        std::memcpy(pBits, pData + header.biSize, static_cast<size_t>(cx) * cy * 4);
        SetBitmap(hBitmap);
    } else {
        HICON hIcon = ::CreateIconFromResourceEx(const_cast<BYTE*>(pData), nSize, TRUE, 0x30000, szIcon.cx, szIcon.cy, 0);
        if (hIcon)
            *this = hIcon;
    }
    return !IsEmpty();
}

HBITMAP CXTPImageManagerIconHandle::PreMultiply()
{
    if (m_hAlphaBits || IsEmpty() || m_bNoAlphaBits)
        return m_hAlphaBits;
    std::vector<DWORD> pixels;
    SIZE size;
    if (m_hBitmap) {
        if (!XTPReadPixels(m_hBitmap, pixels, size))
            return nullptr;
    } else {
        const XTP_ICON_BITS* pBits = GetIconBits();
        if (!pBits || !StraightPixels(*pBits, pixels)) {
            m_bNoAlphaBits = TRUE;
            return nullptr;
        }
        size = pBits->size;
    }
    for (DWORD& pixel : pixels) {
        int a = PixelAlpha(pixel);
        pixel = MakePixel(PixelRed(pixel) * a / 255, PixelGreen(pixel) * a / 255, PixelBlue(pixel) * a / 255, a);
    }
    HBITMAP hAlphaBits = XTPCreateDIB32(size.cx, size.cy);
    if (hAlphaBits && !XTPWritePixels(hAlphaBits, pixels, size)) {
        ::DeleteObject(hAlphaBits);
        hAlphaBits = nullptr;
    }
    m_hAlphaBits = hAlphaBits;
    return m_hAlphaBits;
}
