#include "afxdc.h"

#include "afxwnd.h"

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

namespace
{
template <class T>
T* SelectAs(HDC hDC, const CGdiObject* pObject)
{
    return static_cast<T*>(CGdiObject::FromHandle(::SelectObject(hDC, pObject->m_hObject)));
}
} // namespace

CDC::~CDC()
{
    if (m_hDC)
        ::DeleteDC(Detach());
}

BOOL CDC::CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput, const void* lpInitData)
{
    return Attach(::CreateDCW(lpszDriverName, lpszDeviceName, lpszOutput, static_cast<const DEVMODEW*>(lpInitData)));
}

BOOL CDC::CreateIC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput, const void* lpInitData)
{
    return Attach(::CreateICW(lpszDriverName, lpszDeviceName, lpszOutput, static_cast<const DEVMODEW*>(lpInitData)));
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr)); }

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

CPen* CDC::SelectObject(CPen* pPen) { return SelectAs<CPen>(m_hDC, pPen); }
CBrush* CDC::SelectObject(CBrush* pBrush) { return SelectAs<CBrush>(m_hDC, pBrush); }
CFont* CDC::SelectObject(CFont* pFont) { return SelectAs<CFont>(m_hDC, pFont); }
CBitmap* CDC::SelectObject(CBitmap* pBitmap) { return SelectAs<CBitmap>(m_hDC, pBitmap); }
CGdiObject* CDC::SelectObject(CGdiObject* pObject) { return SelectAs<CGdiObject>(m_hDC, pObject); }

int CDC::SelectObject(CRgn* pRgn)
{
    return static_cast<int>(reinterpret_cast<INT_PTR>(::SelectObject(m_hDC, pRgn->m_hObject)));
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(nIndex)));
}

CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground)
{
    return CPalette::FromHandle(::SelectPalette(m_hDC, *pPalette, bForceBackground));
}

CPen* CDC::GetCurrentPen() const { return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN))); }
CBrush* CDC::GetCurrentBrush() const { return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH))); }
CFont* CDC::GetCurrentFont() const { return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT))); }
CBitmap* CDC::GetCurrentBitmap() const
{
    return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT point = {};
    ::SetViewportOrgEx(m_hDC, x, y, &point);
    return point;
}

CPoint CDC::GetViewportOrg() const
{
    POINT point = {};
    ::GetViewportOrgEx(m_hDC, &point);
    return point;
}

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    POINT point = {};
    ::OffsetViewportOrgEx(m_hDC, nWidth, nHeight, &point);
    return point;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT point = {};
    ::SetWindowOrgEx(m_hDC, x, y, &point);
    return point;
}

CPoint CDC::GetWindowOrg() const
{
    POINT point = {};
    ::GetWindowOrgEx(m_hDC, &point);
    return point;
}

CPoint CDC::SetBrushOrg(int x, int y)
{
    POINT point = {};
    ::SetBrushOrgEx(m_hDC, x, y, &point);
    return point;
}

int CDC::SelectClipRgn(CRgn* pRgn, int nMode)
{
    return ::ExtSelectClipRgn(m_hDC, pRgn ? static_cast<HRGN>(*pRgn) : nullptr, nMode);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT point = {};
    ::MoveToEx(m_hDC, x, y, &point);
    return point;
}

BOOL CDC::RoundRect(LPCRECT lpRect, POINT point)
{
    return RoundRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, point.x, point.y);
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    // ExtTextOut with an opaque rectangle fills without making a brush; the text colour is kept.
    COLORREF clrOld = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, clrOld);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    CRect rect(x, y, x + cx, y + cy);
    FillSolidRect(&rect, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
               clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx, y, -1, cy, clrBottomRight);
    FillSolidRect(x, y + cy, cx, -1, clrBottomRight);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop)
{
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : nullptr, xSrc, ySrc, nSrcWidth,
                        nSrcHeight, dwRop);
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const
{
    SIZE size = {};
    ::GetTextExtentPoint32W(m_hDC, lpszString, nCount, &size);
    return size;
}

int CDC::GetTextFace(CString& rString) const
{
    int nLength = ::GetTextFaceW(m_hDC, 0, nullptr);
    ::GetTextFaceW(m_hDC, nLength, rString.GetBuffer(nLength));
    rString.ReleaseBuffer();
    return rString.GetLength();
}

int CDC::StartDoc(LPCTSTR lpszDocName)
{
    DOCINFOW di = {};
    di.cbSize = sizeof(di);
    di.lpszDocName = lpszDocName;
    return StartDoc(&di);
}

CBrush* CDC::GetHalftoneBrush()
{
    struct CHalftoneBrush
    {
        HBRUSH hBrush = nullptr;
        ~CHalftoneBrush()
        {
            if (hBrush)
                ::DeleteObject(hBrush);
        }
    };
    static thread_local CHalftoneBrush halftone;
    if (!halftone.hBrush) {
        WORD grayPattern[8];
        for (int i = 0; i < 8; ++i)
            grayPattern[i] = static_cast<WORD>(0x5555 << (i & 1));
        if (HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 1, grayPattern)) {
            halftone.hBrush = ::CreatePatternBrush(hBitmap);   // the brush keeps its own copy
            ::DeleteObject(hBitmap);
        }
    }
    return CBrush::FromHandle(halftone.hBrush);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd)
{
    if (!Attach(::BeginPaint(m_hWnd, &m_ps)))
        AfxThrowResourceException();
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    if (!Attach(::GetDC(m_hWnd)))
        AfxThrowResourceException();
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    if (!Attach(::GetWindowDC(m_hWnd)))
        AfxThrowResourceException();
}

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
