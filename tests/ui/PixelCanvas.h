// A memory DC over a 32-bit bitmap, filled with one colour, whose pixels the drawing tests read.
#pragma once

#include "platform/mfc/afxwin.h"

class CPixelCanvas : public CDC
{
public:
    CPixelCanvas(int cx, int cy, COLORREF clrFill = RGB(255, 255, 255))
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = cx;
        info.bmiHeader.biHeight = -cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        m_hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
        CreateCompatibleDC(nullptr);
        m_hOldBitmap = ::SelectObject(m_hDC, m_hBitmap);
        FillSolidRect(0, 0, cx, cy, clrFill);
    }
    ~CPixelCanvas() override
    {
        ::SelectObject(m_hDC, m_hOldBitmap);
        ::DeleteObject(m_hBitmap);
    }

    COLORREF At(int x, int y) const { return GetPixel(x, y); }

private:
    HBITMAP m_hBitmap = nullptr;
    HGDIOBJ m_hOldBitmap = nullptr;
};
