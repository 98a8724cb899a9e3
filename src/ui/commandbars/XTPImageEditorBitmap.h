// The picture of the button image editor: a 32-bit bottom-up DIB section of the editor's size. Transparent
// pixels hold the marker colour; an alpha picture also carries per-pixel alpha (straight, not pre-multiplied),
// and its pixels drawn with GDI (alpha 0) become opaque where they differ from the picture they came from.
#pragma once

#include "platform/mfc/afxwin.h"

#include <memory>

// RGB(255, 254, 255): transparent wherever the editor holds a picture.
#define XTP_IMAGEEDITOR_MARKER RGB(255, 254, 255)

class CXTPImageEditorBitmap : public CBitmap
{
public:
    // A picture of that size filled with the marker; null when the DIB section cannot be made.
    static std::unique_ptr<CXTPImageEditorBitmap> Create(CSize szPicture, BOOL bAlpha = FALSE);
    // A copy of the picture; of no picture, a new transparent one of that size.
    static std::unique_ptr<CXTPImageEditorBitmap> Copy(const CXTPImageEditorBitmap* pPicture, CSize szPicture);
    // The bitmap's pixels at (0, 0), clipped to the picture's size, alpha bytes included.
    static std::unique_ptr<CXTPImageEditorBitmap> FromBitmap(HBITMAP hBitmap, CSize szPicture, BOOL bAlpha);
    // An alpha copy of the bitmap in which every fully zero pixel (colour and alpha 0) holds the marker.
    static std::unique_ptr<CXTPImageEditorBitmap> FromAlphaBitmap(HBITMAP hBitmap, CSize szPicture);
    // The icon drawn on a transparent picture.
    static std::unique_ptr<CXTPImageEditorBitmap> FromIcon(HICON hIcon, CSize szPicture);

    CSize GetSize() const { return m_szPicture; }
    BOOL IsAlpha() const { return m_bAlpha; }

    // The pixel as a DIB dword (0xAARRGGBB); rows are counted from the top. Out of the picture: the marker.
    DWORD GetBits(int x, int y) const;
    void SetBits(int x, int y, DWORD dwBits);
    // The pixel's colour without alpha.
    COLORREF GetColor(int x, int y) const;
    // Pixels of the picture that differ from the snapshot's and are not transparent become opaque.
    void MakeChangedOpaque(const CXTPImageEditorBitmap* pSnapshot);
    // Every pixel of one colour gets another (alpha untouched).
    void ReplaceColor(COLORREF clrFrom, COLORREF clrTo);
    // The picture moved by the offset: pixels leaving it are lost, uncovered ones become transparent.
    void Offset(int dx, int dy);
    void Fill(COLORREF clr);

private:
    CXTPImageEditorBitmap() = default;
    DWORD* Row(int y) const;

    CSize m_szPicture;
    BOOL m_bAlpha = FALSE;
    DWORD* m_pBits = nullptr;
};

// A memory DC with a picture selected, for GDI drawing on it.
class CXTPImageEditorBitmapDC : public CDC
{
public:
    explicit CXTPImageEditorBitmapDC(CXTPImageEditorBitmap* pPicture);
    ~CXTPImageEditorBitmapDC() override;
    CXTPImageEditorBitmapDC(const CXTPImageEditorBitmapDC&) = delete;
    CXTPImageEditorBitmapDC& operator=(const CXTPImageEditorBitmapDC&) = delete;

private:
    HGDIOBJ m_hOldBitmap = nullptr;
};

// DIB dword of a colour with the given alpha.
inline DWORD XTPImageEditorBits(COLORREF clr, BYTE nAlpha = 0)
{
    return (static_cast<DWORD>(nAlpha) << 24) | (static_cast<DWORD>(GetRValue(clr)) << 16) |
           (static_cast<DWORD>(GetGValue(clr)) << 8) | GetBValue(clr);
}

inline COLORREF XTPImageEditorColor(DWORD dwBits)
{
    return RGB((dwBits >> 16) & 0xFF, (dwBits >> 8) & 0xFF, dwBits & 0xFF);
}
