#include "ui/commandbars/XTPImageEditorPicture.h"

#include "ui/commandbars/XTPImageEditorDlg.h"
#include "ui/persist/ResourceLoader.h"
#include "ui/uires.h"

#include <algorithm>
#include <vector>

namespace
{
// The undo list keeps this many pictures; the oldest goes first.
const size_t nMaxUndo = 16;

// The checkerboard under transparent pixels: squares of 4 screen pixels.
BYTE CheckerLevel(int x, int y) { return ((x + 3) / 4 + (y + 3) / 4) % 2 ? 235 : 255; }

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
} // namespace

BEGIN_MESSAGE_MAP(CXTPImageEditorPicture, CStatic)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CXTPImageEditorPicture::CXTPImageEditorPicture()
{
    CXTPResourceLoader* pLoader = XTPGetResourceLoader();
    m_hCursorShape = pLoader->LoadCursor(XTP_IDC_IMAGEEDITOR_LINE);
    m_hCursorPick = pLoader->LoadCursor(XTP_IDC_IMAGEEDITOR_PICKCOLOR);
    m_hCursorFill = pLoader->LoadCursor(XTP_IDC_IMAGEEDITOR_FILL);
    m_hCursorPencil = pLoader->LoadCursor(XTP_IDC_IMAGEEDITOR_PENCIL);
}

CXTPImageEditorPicture::~CXTPImageEditorPicture() = default;

void CXTPImageEditorPicture::Init(CXTPImageEditorDlg* pDlg)
{
    m_pDlg = pDlg;
    m_szPicture = pDlg->GetSize();
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    // A picture larger than the control still gets cells of one screen pixel.
    m_szCell.cx = std::max<LONG>(1, rcWindow.Width() / std::max<LONG>(1, m_szPicture.cx));
    m_szCell.cy = std::max<LONG>(1, rcWindow.Height() / std::max<LONG>(1, m_szPicture.cy));
    SetWindowPos(nullptr, 0, 0, m_szCell.cx * m_szPicture.cx + 1, m_szCell.cy * m_szPicture.cy + 1,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CXTPImageEditorPicture::SetPicture(std::unique_ptr<CXTPImageEditorBitmap> pPicture)
{
    m_pPicture = std::move(pPicture);
    Changed();
}

CPoint CXTPImageEditorPicture::PixelFromPoint(CPoint point) const
{
    return CPoint(FloorDiv(point.x, std::max<LONG>(1, m_szCell.cx)), FloorDiv(point.y, std::max<LONG>(1, m_szCell.cy)));
}

void CXTPImageEditorPicture::BeginChange()
{
    m_pSnapshot = std::move(m_pPicture);
    m_pPicture = CXTPImageEditorBitmap::Copy(m_pSnapshot.get(), m_szPicture);
    m_bChangeOpen = TRUE;
}

void CXTPImageEditorPicture::PushChange()
{
    if (!m_bChangeOpen)
        return;
    m_bChangeOpen = FALSE;
    m_redo.clear();
    while (m_undo.size() >= nMaxUndo)
        m_undo.pop_front();
    m_undo.push_back(std::move(m_pSnapshot));
    Changed();
}

void CXTPImageEditorPicture::Apply(std::unique_ptr<CXTPImageEditorBitmap> pPicture)
{
    m_pSnapshot = std::move(m_pPicture);
    m_pPicture = std::move(pPicture);
    m_bChangeOpen = TRUE;
    PushChange();
}

void CXTPImageEditorPicture::Clear() { Apply(nullptr); }

void CXTPImageEditorPicture::Move(int dx, int dy)
{
    std::unique_ptr<CXTPImageEditorBitmap> pMoved = CXTPImageEditorBitmap::Copy(m_pPicture.get(), m_szPicture);
    if (!pMoved)
        return;
    pMoved->Offset(dx, dy);
    Apply(std::move(pMoved));
}

void CXTPImageEditorPicture::Undo()
{
    if (m_undo.empty())
        return;
    m_redo.push_back(std::move(m_pPicture));
    m_pPicture = std::move(m_undo.back());
    m_undo.pop_back();
    Changed();
}

void CXTPImageEditorPicture::Redo()
{
    if (m_redo.empty())
        return;
    m_undo.push_back(std::move(m_pPicture));
    m_pPicture = std::move(m_redo.back());
    m_redo.pop_back();
    Changed();
}

void CXTPImageEditorPicture::Changed()
{
    if (m_pDlg)
        m_pDlg->OnPictureChanged();
    else if (GetSafeHwnd())
        Invalidate(FALSE);
}

void CXTPImageEditorPicture::OnLButtonDown(UINT, CPoint point)
{
    if (!m_pDlg)
        return;
    const CPoint ptPixel = PixelFromPoint(point);
    const COLORREF clrCurrent = m_pDlg->GetCurrentColor();
    switch (m_pDlg->GetCurrentTool()) {
    case xtpImageEditorToolFill: FloodFill(ptPixel); break;
    case xtpImageEditorToolPickColor: {
        // Alpha is read as the colour the pixel shows over the marker.
        const DWORD dwBits = m_pPicture ? m_pPicture->GetBits(ptPixel.x, ptPixel.y)
                                        : XTPImageEditorBits(XTP_IMAGEEDITOR_MARKER);
        COLORREF clr = XTPImageEditorColor(dwBits);
        if (m_pPicture && m_pPicture->IsAlpha()) {
            const int a = static_cast<int>(dwBits >> 24);
            auto blend = [a](int c, int m) { return (c * a + m * (255 - a)) / 255; };
            clr = RGB(blend(GetRValue(clr), GetRValue(XTP_IMAGEEDITOR_MARKER)),
                      blend(GetGValue(clr), GetGValue(XTP_IMAGEEDITOR_MARKER)),
                      blend(GetBValue(clr), GetBValue(XTP_IMAGEEDITOR_MARKER)));
        }
        m_pDlg->OnPickColor(clr);
        break;
    }
    default: {
        const COLORREF clrPixel = m_pPicture ? m_pPicture->GetColor(ptPixel.x, ptPixel.y) : XTP_IMAGEEDITOR_MARKER;
        // Pressing on a pixel of the current colour erases.
        m_clrStroke = clrPixel == clrCurrent ? XTP_IMAGEEDITOR_MARKER : clrCurrent;
        BeginChange();
        if (!m_pPicture) {
            m_bChangeOpen = FALSE;
            m_pPicture = std::move(m_pSnapshot);
            return;
        }
        m_ptStart = ptPixel;
        m_bDrawing = TRUE;
        SetCapture();
        Stroke(ptPixel);
        break;
    }
    }
}

void CXTPImageEditorPicture::OnMouseMove(UINT, CPoint point)
{
    if (m_bDrawing)
        Stroke(PixelFromPoint(point));
}

void CXTPImageEditorPicture::OnLButtonUp(UINT, CPoint)
{
    m_bDrawing = FALSE;
    if (GetCapture() == this)
        ::ReleaseCapture();
    PushChange();   // when the capture was not ours, no capture change ends the stroke
}

void CXTPImageEditorPicture::OnCaptureChanged(CWnd*)
{
    m_bDrawing = FALSE;
    PushChange();
}

void CXTPImageEditorPicture::Stroke(CPoint ptPixel)
{
    const int nTool = m_pDlg->GetCurrentTool();
    const CXTPImageEditorBitmap* pBase = nTool == xtpImageEditorToolPencil ? m_pPicture.get() : m_pSnapshot.get();
    std::unique_ptr<CXTPImageEditorBitmap> pNew = CXTPImageEditorBitmap::Copy(pBase, m_szPicture);
    if (!pNew)
        return;
    {
        CXTPImageEditorBitmapDC dc(pNew.get());
        if (nTool == xtpImageEditorToolPencil) {
            ::SetPixel(dc.m_hDC, ptPixel.x, ptPixel.y, m_clrStroke);
        } else {
            CRect rc(m_ptStart, ptPixel);
            rc.NormalizeRect();
            rc.right++;
            rc.bottom++;
            CPen pen(PS_SOLID, 1, m_clrStroke);
            CPen* pOldPen = dc.SelectObject(&pen);
            if (nTool == xtpImageEditorToolLine) {
                dc.MoveTo(m_ptStart);
                dc.LineTo(ptPixel.x, ptPixel.y);
                ::SetPixel(dc.m_hDC, ptPixel.x, ptPixel.y, m_clrStroke);   // LineTo leaves out the last pixel
            } else if (nTool == xtpImageEditorToolRectangle) {
                dc.Draw3dRect(&rc, m_clrStroke, m_clrStroke);
            } else {
                CBrush brush(XTP_IMAGEEDITOR_MARKER);
                CBrush* pOldBrush = dc.SelectObject(&brush);
                dc.Ellipse(&rc);
                dc.SelectObject(pOldBrush);
            }
            dc.SelectObject(pOldPen);
        }
    }
    if (pNew->IsAlpha())
        pNew->MakeChangedOpaque(pBase);
    m_pPicture = std::move(pNew);
    Changed();
}

void CXTPImageEditorPicture::FloodFill(CPoint ptPixel)
{
    BeginChange();
    if (!m_pPicture) {
        m_bChangeOpen = FALSE;
        m_pPicture = std::move(m_pSnapshot);
        return;
    }
    {
        CXTPImageEditorBitmapDC dc(m_pPicture.get());
        CBrush brush(m_pDlg->GetCurrentColor());
        CBrush* pOldBrush = dc.SelectObject(&brush);
        ::ExtFloodFill(dc.m_hDC, ptPixel.x, ptPixel.y, m_pPicture->GetColor(ptPixel.x, ptPixel.y), FLOODFILLSURFACE);
        dc.SelectObject(pOldBrush);
    }
    if (m_pPicture->IsAlpha())
        m_pPicture->MakeChangedOpaque(m_pSnapshot.get());
    PushChange();
}

BOOL CXTPImageEditorPicture::OnSetCursor(CWnd*, UINT, UINT)
{
    HCURSOR hCursor = m_hCursorShape;
    switch (m_pDlg ? m_pDlg->GetCurrentTool() : xtpImageEditorToolPencil) {
    case xtpImageEditorToolFill: hCursor = m_hCursorFill; break;
    case xtpImageEditorToolPencil: hCursor = m_hCursorPencil; break;
    case xtpImageEditorToolPickColor: hCursor = m_hCursorPick; break;
    default: break;
    }
    ::SetCursor(hCursor);
    return TRUE;
}

BOOL CXTPImageEditorPicture::OnEraseBkgnd(CDC*) { return TRUE; }

void CXTPImageEditorPicture::OnPaint()
{
    CPaintDC dc(this);
    Draw(&dc);
}

void CXTPImageEditorPicture::Draw(CDC* pDC)
{
    CRect rcClient;
    GetClientRect(&rcClient);
    const int cx = rcClient.Width(), cy = rcClient.Height();
    if (cx <= 0 || cy <= 0)
        return;
    // Drawn into a buffer first, copied in one step.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> buffer(static_cast<size_t>(cx) * cy);
    const CXTPImageEditorBitmap* pPicture = m_pPicture.get();
    const CSize szPicture = pPicture ? pPicture->GetSize() : m_szPicture;
    for (int y = 0; y < cy; y++) {
        for (int x = 0; x < cx; x++) {
            const int b = CheckerLevel(x, y);
            DWORD dwShown = RGB(b, b, b);
            if (pPicture) {
                const DWORD dwBits = pPicture->GetBits(x * szPicture.cx / cx, y * szPicture.cy / cy);
                const COLORREF clr = XTPImageEditorColor(dwBits);
                if (pPicture->IsAlpha()) {
                    const int a = static_cast<int>(dwBits >> 24);
                    auto blend = [a, b](int c) { return b - ((b - c) * a) / 255; };
                    dwShown = RGB(blend(GetRValue(clr)), blend(GetGValue(clr)), blend(GetBValue(clr)));
                } else if (clr != XTP_IMAGEEDITOR_MARKER) {
                    dwShown = clr;
                }
            }
            buffer[static_cast<size_t>(y) * cx + x] = XTPImageEditorBits(dwShown);
        }
    }
    // The black frame round the client area.
    for (int x = 0; x < cx; x++)
        buffer[static_cast<size_t>(x)] = buffer[static_cast<size_t>(cy - 1) * cx + x] = 0;
    for (int y = 0; y < cy; y++)
        buffer[static_cast<size_t>(y) * cx] = buffer[static_cast<size_t>(y) * cx + cx - 1] = 0;
    ::SetDIBitsToDevice(pDC->m_hDC, 0, 0, static_cast<DWORD>(cx), static_cast<DWORD>(cy), 0, 0, 0,
                        static_cast<UINT>(cy), buffer.data(), &info, DIB_RGB_COLORS);
}
