#pragma once
// A picture of a screen area drawn inside the show program's own process and saved as a 24-bit BMP file: the
// root-window capture can show popups and owned windows black, a window's own surface does not.
#include "platform/mfc/afxwin.h"

#include <cstdio>

class CShowPicture
{
public:
    // The area in screen coordinates; the picture starts white.
    explicit CShowPicture(const CRect& rcArea) : m_rcArea(rcArea)
    {
        m_header.biSize = sizeof(m_header);
        m_header.biWidth = rcArea.Width();
        m_header.biHeight = rcArea.Height();
        m_header.biPlanes = 1;
        m_header.biBitCount = 24;
        HDC hScreen = ::GetDC(nullptr);
        m_hBitmap = ::CreateDIBSection(hScreen, reinterpret_cast<BITMAPINFO*>(&m_header), DIB_RGB_COLORS, &m_pBits,
                                       nullptr, 0);
        m_hDC = ::CreateCompatibleDC(hScreen);
        ::ReleaseDC(nullptr, hScreen);
        if (m_hBitmap && m_hDC) {
            m_hOld = ::SelectObject(m_hDC, m_hBitmap);
            ::PatBlt(m_hDC, 0, 0, rcArea.Width(), rcArea.Height(), WHITENESS);
        }
    }
    ~CShowPicture()
    {
        if (m_hOld)
            ::SelectObject(m_hDC, m_hOld);
        if (m_hDC)
            ::DeleteDC(m_hDC);
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
    }
    CShowPicture(const CShowPicture&) = delete;
    CShowPicture& operator=(const CShowPicture&) = delete;

    BOOL IsValid() const { return m_hOld != nullptr; }
    HDC GetDC() const { return m_hDC; }
    // A screen rectangle in the picture's coordinates.
    CRect ToPicture(CRect rc) const
    {
        rc.OffsetRect(-m_rcArea.TopLeft());
        return rc;
    }
    // Copies a window from its own surface, where it stands on the screen.
    void CopyWindow(HWND hWnd)
    {
        CRect rc;
        ::GetWindowRect(hWnd, &rc);
        rc = ToPicture(rc);
        HDC hWindowDC = ::GetWindowDC(hWnd);
        ::BitBlt(m_hDC, rc.left, rc.top, rc.Width(), rc.Height(), hWindowDC, 0, 0, SRCCOPY);
        ::ReleaseDC(hWnd, hWindowDC);
    }
    // The picture holds a single colour: nothing was drawn into it.
    BOOL IsBlank() const
    {
        if (!IsValid())
            return TRUE;
        ::GdiFlush();
        const DWORD nStride = (static_cast<DWORD>(m_rcArea.Width()) * 3 + 3) & ~3u;
        const BYTE* pBits = static_cast<const BYTE*>(m_pBits);
        for (LONG y = 0; y < m_rcArea.Height(); ++y) {
            for (LONG x = 0; x < m_rcArea.Width(); ++x) {
                const BYTE* pPixel = pBits + y * nStride + x * 3;
                if (pPixel[0] != pBits[0] || pPixel[1] != pBits[1] || pPixel[2] != pBits[2])
                    return FALSE;
            }
        }
        return TRUE;
    }
    BOOL Save(const char* pszPath) const
    {
        if (!IsValid())
            return FALSE;
        ::GdiFlush();
        const DWORD nImage = ((static_cast<DWORD>(m_rcArea.Width()) * 3 + 3) & ~3u) *
                             static_cast<DWORD>(m_rcArea.Height());
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(m_header);
        file.bfSize = file.bfOffBits + nImage;
        BOOL bSaved = FALSE;
        if (FILE* pFile = std::fopen(pszPath, "wb")) {
            bSaved = std::fwrite(&file, sizeof(file), 1, pFile) == 1 &&
                     std::fwrite(&m_header, sizeof(m_header), 1, pFile) == 1 &&
                     std::fwrite(m_pBits, nImage, 1, pFile) == 1;
            bSaved = std::fclose(pFile) == 0 && bSaved;
        }
        return bSaved;
    }

private:
    CRect m_rcArea;
    BITMAPINFOHEADER m_header = {};
    void* m_pBits = nullptr;
    HBITMAP m_hBitmap = nullptr;
    HDC m_hDC = nullptr;
    HGDIOBJ m_hOld = nullptr;
};
