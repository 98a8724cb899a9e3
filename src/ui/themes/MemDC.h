// Flicker-free painting: the themed controls draw into an off-screen DC that is copied to the screen in one
// step when it goes; and the halftone with which a pressed or toggled button face is filled.
#pragma once

#include "platform/mfc/afxwin.h"
#include "ui/themes/ColorTable.h"

class CXTMemDC : public CDC
{
    DECLARE_DYNAMIC(CXTMemDC)
public:
    // An empty rectangle covers the destination's clip box. The buffer is filled with the background
    // gradient unless it has no end colour. Drawing keeps the destination's coordinates.
    CXTMemDC(CDC* pDC, const CRect& rect, const CColorGradient& clrBack, BOOL bHorizontal = FALSE);
    ~CXTMemDC() override;

    // Nothing is copied back.
    void Discard() { m_bValid = FALSE; }
    // The destination's current content of the rectangle into the buffer.
    void CopyFromDestination();
    CBitmap& GetBitmap() { return m_bitmap; }
    const CRect& GetRect() const { return m_rect; }

private:
    CDC* m_pDC;
    CRect m_rect;
    BOOL m_bValid = FALSE;
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap = nullptr;
};

// Fills the rectangle with a checkerboard of colours 15 and 20 of the colour table.
void DrawPatternRect(CDC* pDC, const CRect& rect);
