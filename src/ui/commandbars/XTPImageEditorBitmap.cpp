#include "ui/commandbars/XTPImageEditorBitmap.h"

#include <algorithm>
#include <vector>

std::unique_ptr<CXTPImageEditorBitmap> CXTPImageEditorBitmap::Create(CSize szPicture, BOOL bAlpha)
{
    if (szPicture.cx <= 0 || szPicture.cy <= 0)
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = szPicture.cx;
    info.bmiHeader.biHeight = szPicture.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (!hBitmap)
        return nullptr;
    std::unique_ptr<CXTPImageEditorBitmap> pPicture(new CXTPImageEditorBitmap);
    pPicture->Attach(hBitmap);
    pPicture->m_szPicture = szPicture;
    pPicture->m_bAlpha = bAlpha;
    pPicture->m_pBits = static_cast<DWORD*>(pBits);
    pPicture->Fill(XTP_IMAGEEDITOR_MARKER);
    return pPicture;
}

std::unique_ptr<CXTPImageEditorBitmap> CXTPImageEditorBitmap::Copy(const CXTPImageEditorBitmap* pPicture,
                                                                   CSize szPicture)
{
    if (!pPicture)
        return Create(szPicture);
    std::unique_ptr<CXTPImageEditorBitmap> pCopy = Create(pPicture->m_szPicture, pPicture->m_bAlpha);
    if (pCopy) {
        ::GdiFlush();
        std::copy_n(pPicture->m_pBits, static_cast<size_t>(pPicture->m_szPicture.cx) * pPicture->m_szPicture.cy,
                    pCopy->m_pBits);
    }
    return pCopy;
}

std::unique_ptr<CXTPImageEditorBitmap> CXTPImageEditorBitmap::FromBitmap(HBITMAP hBitmap, CSize szPicture,
                                                                         BOOL bAlpha)
{
    BITMAP bm = {};
    if (!hBitmap || !::GetObjectW(hBitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return nullptr;
    std::unique_ptr<CXTPImageEditorBitmap> pPicture = Create(szPicture, bAlpha);
    if (!pPicture)
        return nullptr;
    // The source read top-down in 32 bits, whatever its own format, so that alpha bytes come along.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> source(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    HDC hDC = ::CreateCompatibleDC(nullptr);
    int nLines = ::GetDIBits(hDC, hBitmap, 0, static_cast<UINT>(bm.bmHeight), source.data(), &info, DIB_RGB_COLORS);
    ::DeleteDC(hDC);
    if (nLines != bm.bmHeight)
        return nullptr;
    const int cx = std::min<int>(bm.bmWidth, szPicture.cx), cy = std::min<int>(bm.bmHeight, szPicture.cy);
    for (int y = 0; y < cy; y++)
        for (int x = 0; x < cx; x++)
            pPicture->SetBits(x, y, source[static_cast<size_t>(y) * bm.bmWidth + x]);
    return pPicture;
}

std::unique_ptr<CXTPImageEditorBitmap> CXTPImageEditorBitmap::FromAlphaBitmap(HBITMAP hBitmap, CSize szPicture)
{
    std::unique_ptr<CXTPImageEditorBitmap> pPicture = FromBitmap(hBitmap, szPicture, TRUE);
    if (pPicture) {
        for (int y = 0; y < szPicture.cy; y++)
            for (int x = 0; x < szPicture.cx; x++)
                if (pPicture->GetBits(x, y) == 0)
                    pPicture->SetBits(x, y, XTPImageEditorBits(XTP_IMAGEEDITOR_MARKER));
    }
    return pPicture;
}

std::unique_ptr<CXTPImageEditorBitmap> CXTPImageEditorBitmap::FromIcon(HICON hIcon, CSize szPicture)
{
    std::unique_ptr<CXTPImageEditorBitmap> pPicture = Create(szPicture);
    if (pPicture) {
        CXTPImageEditorBitmapDC dc(pPicture.get());
        ::DrawStateW(dc.m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(hIcon), 0, 0, 0, szPicture.cx,
                     szPicture.cy, DST_ICON | DSS_NORMAL);
    }
    return pPicture;
}

DWORD* CXTPImageEditorBitmap::Row(int y) const { return m_pBits + static_cast<size_t>(m_szPicture.cy - 1 - y) * m_szPicture.cx; }

DWORD CXTPImageEditorBitmap::GetBits(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_szPicture.cx || y >= m_szPicture.cy)
        return XTPImageEditorBits(XTP_IMAGEEDITOR_MARKER);
    ::GdiFlush();
    return Row(y)[x];
}

void CXTPImageEditorBitmap::SetBits(int x, int y, DWORD dwBits)
{
    if (x < 0 || y < 0 || x >= m_szPicture.cx || y >= m_szPicture.cy)
        return;
    ::GdiFlush();
    Row(y)[x] = dwBits;
}

COLORREF CXTPImageEditorBitmap::GetColor(int x, int y) const { return XTPImageEditorColor(GetBits(x, y)); }

void CXTPImageEditorBitmap::MakeChangedOpaque(const CXTPImageEditorBitmap* pSnapshot)
{
    for (int y = 0; y < m_szPicture.cy; y++) {
        for (int x = 0; x < m_szPicture.cx; x++) {
            const DWORD dwBits = GetBits(x, y);
            const DWORD dwBefore = pSnapshot ? pSnapshot->GetBits(x, y) : XTPImageEditorBits(XTP_IMAGEEDITOR_MARKER);
            if (dwBits != dwBefore && XTPImageEditorColor(dwBits) != XTP_IMAGEEDITOR_MARKER)
                SetBits(x, y, dwBits | 0xFF000000);
        }
    }
}

void CXTPImageEditorBitmap::ReplaceColor(COLORREF clrFrom, COLORREF clrTo)
{
    for (int y = 0; y < m_szPicture.cy; y++)
        for (int x = 0; x < m_szPicture.cx; x++) {
            const DWORD dwBits = GetBits(x, y);
            if (XTPImageEditorColor(dwBits) == clrFrom)
                SetBits(x, y, (dwBits & 0xFF000000) | XTPImageEditorBits(clrTo));
        }
}

void CXTPImageEditorBitmap::Offset(int dx, int dy)
{
    ::GdiFlush();
    std::vector<DWORD> before(m_pBits, m_pBits + static_cast<size_t>(m_szPicture.cx) * m_szPicture.cy);
    Fill(XTP_IMAGEEDITOR_MARKER);
    for (int y = 0; y < m_szPicture.cy; y++)
        for (int x = 0; x < m_szPicture.cx; x++)
            SetBits(x + dx, y + dy, before[static_cast<size_t>(m_szPicture.cy - 1 - y) * m_szPicture.cx + x]);
}

void CXTPImageEditorBitmap::Fill(COLORREF clr)
{
    ::GdiFlush();
    std::fill_n(m_pBits, static_cast<size_t>(m_szPicture.cx) * m_szPicture.cy, XTPImageEditorBits(clr));
}

CXTPImageEditorBitmapDC::CXTPImageEditorBitmapDC(CXTPImageEditorBitmap* pPicture)
{
    CreateCompatibleDC(nullptr);
    m_hOldBitmap = ::SelectObject(m_hDC, pPicture->GetSafeHandle());
}

CXTPImageEditorBitmapDC::~CXTPImageEditorBitmapDC()
{
    ::GdiFlush();
    ::SelectObject(m_hDC, m_hOldBitmap);
}
