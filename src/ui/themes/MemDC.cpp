#include "ui/themes/MemDC.h"

#include "ui/themes/DrawHelpers.h"

IMPLEMENT_DYNAMIC(CXTMemDC, CDC)

CXTMemDC::CXTMemDC(CDC* pDC, const CRect& rect, const CColorGradient& clrBack, BOOL bHorizontal)
    : m_pDC(pDC), m_rect(rect)
{
    if (m_rect.IsRectEmpty())
        pDC->GetClipBox(&m_rect);
    if (!CreateCompatibleDC(pDC))
        return;
    SetMapMode(pDC->GetMapMode());
    if (!m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height())) {
        DeleteDC();
        return;
    }
    m_hOldBitmap = ::SelectObject(m_hDC, m_bitmap.GetSafeHandle());
    // The buffer starts at the rectangle's corner, so the callers' coordinates land in it unchanged.
    SetWindowOrg(m_rect.left, m_rect.top);
    m_bValid = TRUE;
    if (!clrBack.m_clrEnd.IsNone())
        GetGradientPainter()->FillGradient(this, &m_rect, &clrBack, bHorizontal);
}

CXTMemDC::~CXTMemDC()
{
    if (!m_hDC)
        return;
    if (m_bValid)
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                      SRCCOPY);
    ::SelectObject(m_hDC, m_hOldBitmap);
    m_bitmap.DeleteObject();
    DeleteDC();
}

void CXTMemDC::CopyFromDestination()
{
    if (m_hDC)
        BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_pDC, m_rect.left, m_rect.top, SRCCOPY);
}

void DrawPatternRect(CDC* pDC, const CRect& rect)
{
    // Monochrome rows are padded to 16 bits.
    const WORD pattern[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    CBitmap bitmap;
    CBrush brush;
    if (!bitmap.CreateBitmap(8, 8, 1, 1, pattern) || !brush.CreatePatternBrush(&bitmap))
        return;
    COLORREF clrOldBk = pDC->SetBkColor(GetStandardColor(COLOR_3DFACE));
    COLORREF clrOldText = pDC->SetTextColor(GetStandardColor(COLOR_3DHILIGHT));
    HGDIOBJ hOldBrush = ::SelectObject(pDC->GetSafeHdc(), brush.GetSafeHandle());
    pDC->PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), PATCOPY);
    ::SelectObject(pDC->GetSafeHdc(), hOldBrush);
    pDC->SetTextColor(clrOldText);
    pDC->SetBkColor(clrOldBk);
}
