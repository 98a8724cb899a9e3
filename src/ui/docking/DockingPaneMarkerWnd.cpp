#include "ui/docking/DockingPaneMarkerWnd.h"

#include "ui/persist/ResourceLoader.h"
#include "ui/themes/ColorTable.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/uires.h"

#include <vector>

namespace
{
struct MARKER_PIECE
{
    int x, y;
    RECT rcSource;
};

// Directions in the order of the tables: top, left, bottom, right.
const int directionFlags[] = {xtpMarkerTop, xtpMarkerLeft, xtpMarkerBottom, xtpMarkerRight};

// Style 0: arrows and tabs from the scheme's sheet, the square under them from its own bitmap.
const MARKER_PIECE style0Arrows[2][4] = {
    {{25, 0, {0, 0, 43, 30}}, {0, 25, {30, 33, 60, 76}}, {25, 63, {43, 0, 86, 30}}, {63, 25, {0, 33, 30, 76}}},
    {{25, 0, {0, 76, 43, 106}}, {0, 25, {90, 33, 120, 76}}, {25, 63, {43, 76, 86, 106}}, {63, 25, {60, 33, 90, 76}}},
};
const MARKER_PIECE style0Tab[2] = {{30, 30, {86, 0, 119, 33}}, {30, 30, {86, 76, 119, 109}}};
const MARKER_PIECE style0Background = {25, 25, {0, 0, 43, 43}};

// Style 1: everything from one sheet; edge markers have pieces of their own.
const MARKER_PIECE style1Arrows[2][4] = {
    {{30, 0, {61, 29, 90, 59}}, {0, 30, {90, 30, 120, 59}}, {30, 59, {91, 0, 120, 30}}, {60, 30, {62, 0, 92, 29}}},
    {{30, 0, {61, 90, 90, 120}}, {0, 30, {90, 91, 120, 120}}, {30, 59, {91, 61, 120, 91}}, {60, 30, {62, 61, 92, 90}}},
};
const MARKER_PIECE style1Tab = {30, 30, {120, 82, 148, 111}};
const MARKER_PIECE style1Background[2] = {{24, 24, {120, 0, 161, 41}}, {24, 24, {120, 41, 161, 82}}};
const MARKER_PIECE style1Edges[2][4] = {
    {{0, 0, {0, 29, 29, 61}}, {0, 0, {29, 32, 61, 61}}, {0, 0, {32, 0, 61, 32}}, {0, 0, {0, 0, 32, 29}}},
    {{0, 0, {0, 90, 29, 122}}, {0, 0, {29, 93, 61, 122}}, {0, 0, {32, 61, 61, 93}}, {0, 0, {0, 61, 32, 90}}},
};

const COLORREF clrTransparent = RGB(0, 255, 0);

int DirectionIndex(int nFlag)
{
    for (int i = 0; i < 4; i++) {
        if (directionFlags[i] == nFlag)
            return i;
    }
    return -1;
}

// The sheet of the arrows: style 1 has one; style 0 one per colour scheme.
UINT ArrowSheet(int nStyle)
{
    if (nStyle == 1)
        return XTP_IDB_DOCKINGPANE_MARKERS;
    switch (GetColorTable()->GetCurrentScheme()) {
    case CColorTable::schemeOlive:
        return XTP_IDB_DOCKINGPANE_MARKER_OLIVE;
    case CColorTable::schemeSilver:
        return XTP_IDB_DOCKINGPANE_MARKER_SILVER;
    default:
        return XTP_IDB_DOCKINGPANE_MARKER_BLUE;
    }
}

// A piece at its place (or at the corner of an edge marker), green left out.
void DrawSheetPiece(CDC* pDC, UINT nSheet, const MARKER_PIECE& piece, BOOL bAtCorner)
{
    CBitmap bmp;
    if (!XTPGetResourceLoader()->LoadBitmap(&bmp, nSheet))
        return;
    HDC hdcSheet = ::CreateCompatibleDC(pDC->GetSafeHdc());
    HGDIOBJ hOld = ::SelectObject(hdcSheet, bmp.GetSafeHandle());
    const RECT& rc = piece.rcSource;
    int x = bAtCorner ? 0 : piece.x, y = bAtCorner ? 0 : piece.y;
    ::TransparentBlt(pDC->GetSafeHdc(), x, y, rc.right - rc.left, rc.bottom - rc.top, hdcSheet, rc.left, rc.top,
                     rc.right - rc.left, rc.bottom - rc.top, clrTransparent);
    ::SelectObject(hdcSheet, hOld);
    ::DeleteDC(hdcSheet);
}

// A black 32-bit canvas of the marker's size whose pixels can be read.
class CMarkerCanvas
{
public:
    explicit CMarkerCanvas(CSize sz) : m_sz(sz)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = sz.cx;
        info.bmiHeader.biHeight = -sz.cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_hDC = ::CreateCompatibleDC(nullptr);
        m_hBitmap = ::CreateDIBSection(m_hDC, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_pBits), nullptr, 0);
        m_hOld = ::SelectObject(m_hDC, m_hBitmap);
        if (m_pBits)
            ZeroMemory(m_pBits, sizeof(DWORD) * sz.cx * sz.cy);
    }
    ~CMarkerCanvas()
    {
        ::SelectObject(m_hDC, m_hOld);
        ::DeleteObject(m_hBitmap);
        ::DeleteDC(m_hDC);
    }
    CMarkerCanvas(const CMarkerCanvas&) = delete;
    CMarkerCanvas& operator=(const CMarkerCanvas&) = delete;

    CDC* GetDC() const { return CDC::FromHandle(m_hDC); }
    BOOL IsCovered(int x, int y) const
    {
        ::GdiFlush();
        return m_pBits && x >= 0 && y >= 0 && x < m_sz.cx && y < m_sz.cy && (m_pBits[y * m_sz.cx + x] & 0xFFFFFF) != 0;
    }

private:
    CSize m_sz;
    HDC m_hDC;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
    DWORD* m_pBits = nullptr;
};
}

// Ghost

BEGIN_MESSAGE_MAP(CXTPDockingPaneGhostWnd, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CXTPDockingPaneGhostWnd::CreateGhost(CWnd* pParent, PFN_SETLAYEREDWINDOWATTRIBUTES pfnSetLayeredWindowAttributes)
{
    if (!CreateEx(WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)),
                  L"", WS_POPUP, CRect(0, 0, 0, 0), pParent, 0))
        return FALSE;
    if (pfnSetLayeredWindowAttributes)
        pfnSetLayeredWindowAttributes(m_hWnd, 0, nAlpha, LWA_ALPHA);
    return TRUE;
}

BOOL CXTPDockingPaneGhostWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CXTPDockingPaneGhostWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(rc);
    dc.FillSolidRect(rc, ::GetSysColor(COLOR_HIGHLIGHT));
}

// Marker

BEGIN_MESSAGE_MAP(CXTPDockingPaneMarkerWnd, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CXTPDockingPaneMarkerWnd::CXTPDockingPaneMarkerWnd(int nFlags, int nStyle) : m_nFlags(nFlags), m_nStyle(nStyle)
{
}

void CXTPDockingPaneMarkerWnd::SetHotCode(int nHotCode)
{
    if (nHotCode == m_nHotCode)
        return;
    m_nHotCode = nHotCode;
    if (m_hWnd)
        Invalidate(FALSE);
}

CSize CXTPDockingPaneMarkerWnd::GetMarkerSize(int nFlags, int nStyle)
{
    if (nFlags & xtpMarkerCentre)
        return nStyle == 1 ? CSize(89, 89) : CSize(93, 93);
    BOOL bAcross = (nFlags & (xtpMarkerTop | xtpMarkerBottom)) != 0;
    if (nStyle == 1)
        return bAcross ? CSize(29, 32) : CSize(32, 29);
    return bAcross ? CSize(43, 30) : CSize(30, 43);
}

void CXTPDockingPaneMarkerWnd::DrawPiece(CDC* pDC, int nFlags, int nStyle, int nPiece, BOOL bHot)
{
    BOOL bCentre = (nFlags & xtpMarkerCentre) != 0;
    int nHot = bHot ? 1 : 0;
    if (nPiece == 0) {
        if (nStyle == 1)
            DrawSheetPiece(pDC, XTP_IDB_DOCKINGPANE_MARKERS, style1Background[nHot], FALSE);
        else
            DrawSheetPiece(pDC, XTP_IDB_DOCKINGPANE_MARKER_CENTRE, style0Background, FALSE);
        return;
    }
    if (nPiece == xtpMarkerTab) {
        DrawSheetPiece(pDC, ArrowSheet(nStyle), nStyle == 1 ? style1Tab : style0Tab[nHot], FALSE);
        return;
    }
    int nIndex = DirectionIndex(nPiece);
    if (nIndex < 0)
        return;
    if (nStyle == 1)
        DrawSheetPiece(pDC, XTP_IDB_DOCKINGPANE_MARKERS, bCentre ? style1Arrows[nHot][nIndex] : style1Edges[nHot][nIndex], FALSE);
    else
        DrawSheetPiece(pDC, ArrowSheet(nStyle), style0Arrows[nHot][nIndex], !bCentre);
}

void CXTPDockingPaneMarkerWnd::DrawPieces(CDC* pDC, int nFlags, int nStyle, int nHotCode)
{
    if (nFlags & xtpMarkerCentre)
        DrawPiece(pDC, nFlags, nStyle, 0, nStyle == 1 && nHotCode == xtpMarkerTab);
    for (int nFlag : directionFlags) {
        if (nFlags & nFlag)
            DrawPiece(pDC, nFlags, nStyle, nFlag, nHotCode == nFlag);
    }
    if (nFlags & xtpMarkerTab)
        DrawPiece(pDC, nFlags, nStyle, xtpMarkerTab, nHotCode == xtpMarkerTab);
}

void CXTPDockingPaneMarkerWnd::DrawMarker(CDC* pDC) const
{
    DrawPieces(pDC, m_nFlags, m_nStyle, m_nHotCode);
}

int CXTPDockingPaneMarkerWnd::HitTest(CPoint ptScreen) const
{
    if (!m_hWnd)
        return 0;
    CPoint pt = ptScreen;
    ScreenToClient(&pt);
    CRect rcClient;
    GetClientRect(rcClient);
    if (!rcClient.PtInRect(pt))
        return 0;
    CSize sz = GetMarkerSize(m_nFlags, m_nStyle);
    for (int nFlag : {xtpMarkerTop, xtpMarkerLeft, xtpMarkerBottom, xtpMarkerRight, xtpMarkerTab}) {
        if (!(m_nFlags & nFlag))
            continue;
        CMarkerCanvas canvas(sz);
        DrawPiece(canvas.GetDC(), m_nFlags, m_nStyle, nFlag, FALSE);
        if (canvas.IsCovered(pt.x, pt.y))
            return nFlag;
    }
    return 0;
}

HRGN CXTPDockingPaneMarkerWnd::CreateMarkerRegion(int nFlags, int nStyle)
{
    CSize sz = GetMarkerSize(nFlags, nStyle);
    CMarkerCanvas canvas(sz);
    DrawPieces(canvas.GetDC(), nFlags, nStyle, 0);
    // Each run of covered pixels in a row is one rectangle of the region.
    std::vector<RECT> rects;
    for (int y = 0; y < sz.cy; y++) {
        for (int x = 0; x < sz.cx;) {
            if (!canvas.IsCovered(x, y)) {
                x++;
                continue;
            }
            int nStart = x;
            while (x < sz.cx && canvas.IsCovered(x, y))
                x++;
            rects.push_back(RECT{nStart, y, x, y + 1});
        }
    }
    std::vector<BYTE> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    RGNDATA* pData = reinterpret_cast<RGNDATA*>(data.data());
    pData->rdh.dwSize = sizeof(RGNDATAHEADER);
    pData->rdh.iType = RDH_RECTANGLES;
    pData->rdh.nCount = static_cast<DWORD>(rects.size());
    pData->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    pData->rdh.rcBound = RECT{0, 0, sz.cx, sz.cy};
    if (!rects.empty())
        memcpy(pData->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), pData);
}

BOOL CXTPDockingPaneMarkerWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CXTPDockingPaneMarkerWnd::OnPaint()
{
    CPaintDC dcPaint(this);
    CRect rc;
    GetClientRect(rc);
    COffscreenDC dc(&dcPaint, rc);
    dc.FillSolidRect(rc, RGB(0, 0, 0));
    DrawMarker(&dc);
}
