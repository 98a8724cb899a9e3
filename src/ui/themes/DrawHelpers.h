// Small drawing tools shared by the framework's painters: rectangles of windows, scoped selection of GDI
// objects, off-screen buffers, the gradient painter, monitor work areas, and the glyphs and click tracking of
// the docking panes' caption buttons.
#pragma once

#include "platform/mfc/afxwin.h"

class CColorGradient;

// The window's screen rectangle; empty when the handle is not a window.
class CWndRect : public CRect
{
public:
    CWndRect() = default;
    explicit CWndRect(HWND hWnd);
    explicit CWndRect(const CWnd* pWnd) : CWndRect(pWnd ? pWnd->GetSafeHwnd() : nullptr) {}
};

// The window's client rectangle; empty when the handle is not a window.
class CWndClientRect : public CRect
{
public:
    explicit CWndClientRect(HWND hWnd);
    explicit CWndClientRect(const CWnd* pWnd) : CWndClientRect(pWnd ? pWnd->GetSafeHwnd() : nullptr) {}
};

// Drawing in the destination's coordinates goes to a buffer as large as right × bottom; the rectangle is
// copied back to the destination when the object goes.
class COffscreenDC : public CDC
{
public:
    COffscreenDC(CDC* pDestDC, const CRect& rect);
    ~COffscreenDC() override;

private:
    CDC* m_pDestDC;
    CRect m_rect;
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap = nullptr;
};

// Selects a GDI object into a DC for the length of a scope; a second selection restores the first one's
// former object before it selects.
class CObjectSelector
{
public:
    CObjectSelector(CDC* pDC, CGdiObject* pObject);
    ~CObjectSelector();
    CObjectSelector(const CObjectSelector&) = delete;
    CObjectSelector& operator=(const CObjectSelector&) = delete;

    void Select(CGdiObject* pObject);
    void Restore();

private:
    CDC* m_pDC;
    HGDIOBJ m_hOldObject = nullptr;
};

class CFontSelector : public CObjectSelector
{
public:
    CFontSelector(CDC* pDC, CFont* pFont) : CObjectSelector(pDC, pFont) {}
    void Select(CFont* pFont) { CObjectSelector::Select(pFont); }
};

// A solid pen one pixel wide of a colour (or a given pen) for the length of a scope.
class CPenSelector
{
public:
    CPenSelector(CDC* pDC, COLORREF clr);
    CPenSelector(CDC* pDC, CPen* pPen);
    ~CPenSelector();
    CPenSelector(const CPenSelector&) = delete;
    CPenSelector& operator=(const CPenSelector&) = delete;

    void SetColor(COLORREF clr);
    COLORREF GetColor() const;

private:
    CDC* m_pDC;
    CPen m_pen;
    HGDIOBJ m_hOldPen = nullptr;
};

// A solid brush of a colour for the length of a scope.
class CBrushSelector
{
public:
    CBrushSelector(CDC* pDC, COLORREF clr);
    ~CBrushSelector();
    CBrushSelector(const CBrushSelector&) = delete;
    CBrushSelector& operator=(const CBrushSelector&) = delete;

    void SetColor(COLORREF clr);

private:
    CDC* m_pDC;
    CBrush m_brush;
    HGDIOBJ m_hOldBrush = nullptr;
};

// A memory DC compatible with a DC (the screen when none) with a bitmap selected for its lifetime.
class CBitmapDC : public CDC
{
public:
    CBitmapDC(CDC* pDC, CBitmap* pBitmap);
    ~CBitmapDC() override;

private:
    HGDIOBJ m_hOldBitmap = nullptr;
};

// Two-colour gradients through the system's "GradientFill" when the library offers it, else in strips.
class CGradientPainter
{
public:
    explicit CGradientPainter(LPCTSTR lpszModule = L"msimg32.dll");
    ~CGradientPainter();
    CGradientPainter(const CGradientPainter&) = delete;
    CGradientPainter& operator=(const CGradientPainter&) = delete;

    // Solid on displays of 8 bits or less and for equal colours; nothing for a missing or empty rectangle.
    void DrawGradient(CDC* pDC, const CRect* pRect, COLORREF clrFrom, COLORREF clrTo, BOOL bHorizontal) const;
    // With both middle colours the rectangle is halved along the gradient: start to first middle, then
    // second middle to end.
    void FillGradient(CDC* pDC, const CRect* pRect, const CColorGradient* pGradient, BOOL bHorizontal) const;
    // The system's function; FALSE when it is missing.
    BOOL GradientFill(HDC hDC, PTRIVERTEX pVertices, ULONG nVertices, PVOID pMesh, ULONG nMeshes, ULONG ulMode) const;
    BOOL HasGradientFill() const { return m_pfnGradientFill != nullptr; }

private:
    typedef BOOL(WINAPI* PFNGRADIENTFILL)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

    HMODULE m_hModule = nullptr;
    PFNGRADIENTFILL m_pfnGradientFill = nullptr;
};

// The process-wide gradient painter.
CGradientPainter* GetGradientPainter();

// Leaves one pixel at each corner out of the clipping region, so that a following fill looks rounded.
void ExcludeCorners(CDC* pDC, CRect rc);
// Removes accelerator prefixes: a single '&' goes, of a doubled one the second stays, a final one goes.
void StripAmpersands(CString& strText);
// Removes each single '&' and keeps a doubled one doubled.
void RemoveAccelerators(CString& strText);
// Per channel a × w + b × (1 − w), truncated and capped at 255.
COLORREF BlendColorsByAlpha(COLORREF a, COLORREF b, float w);

// The face for the framework's fonts.
CString GetDefaultFontFace(BOOL bUseTahoma);
CString GetDefaultGuiFontFace();
// A font family of that face (ignoring case) exists in some character set.
BOOL IsFontInstalled(LPCTSTR lpszFaceName);
BOOL GetNonClientMetrics(NONCLIENTMETRICS* pMetrics);

// TRUE when the device context (the desktop's when none is given) has 1 to 8 bits per pixel.
BOOL IsLowColorDisplay(HDC hDC = nullptr);
// Where IsLowColorDisplay reads a DC's bits per pixel: GetDeviceCaps unless replaced (tests stand in for the
// 8-bit displays that no test display offers). Null restores GetDeviceCaps; returns the previous source.
typedef int (*XTP_BITSPIXEL_SOURCE)(HDC hDC);
XTP_BITSPIXEL_SOURCE SetBitsPerPixelSource(XTP_BITSPIXEL_SOURCE pfnSource);
int GetColorScheme();

// The system's multi-monitor functions, looked up by name in a module (USER32): a system without them has one
// monitor, and each operation then answers no monitor.
class CMultiMonitorEntries
{
public:
    explicit CMultiMonitorEntries(LPCTSTR lpszModule = L"USER32");

    HMONITOR MonitorFromRect(LPCRECT lprc, DWORD dwFlags) const;
    HMONITOR MonitorFromWindow(HWND hWnd, DWORD dwFlags) const;
    HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags) const;
    BOOL GetMonitorInfo(HMONITOR hMonitor, LPMONITORINFO lpmi) const;

private:
    typedef HMONITOR(WINAPI* PFNMONITORFROMRECT)(LPCRECT, DWORD);
    typedef HMONITOR(WINAPI* PFNMONITORFROMWINDOW)(HWND, DWORD);
    typedef HMONITOR(WINAPI* PFNMONITORFROMPOINT)(POINT, DWORD);
    typedef BOOL(WINAPI* PFNGETMONITORINFO)(HMONITOR, LPMONITORINFO);

    PFNMONITORFROMRECT m_pfnMonitorFromRect = nullptr;
    PFNMONITORFROMWINDOW m_pfnMonitorFromWindow = nullptr;
    PFNMONITORFROMPOINT m_pfnMonitorFromPoint = nullptr;
    PFNGETMONITORINFO m_pfnGetMonitorInfo = nullptr;
};

// The process-wide entries, looked up on first use. SetMultiMonitorEntries replaces them (tests stand in for a
// system without them; null restores the system's) and returns the previous ones.
const CMultiMonitorEntries* GetMultiMonitorEntries();
const CMultiMonitorEntries* SetMultiMonitorEntries(const CMultiMonitorEntries* pEntries);

// Work areas of the monitor holding a rectangle, a window or the cursor; the primary work area when no
// monitor answers.
void GetWorkArea(CRect* pResult, const CRect& rc);
void GetWindowWorkArea(CRect* pResult, HWND hWnd);
void GetCursorWorkArea(CRect* pResult);
void GetWindowMonitorRect(CRect* pResult, HWND hWnd);

// The foreground window is the last active popup of the window at the top of its chain of parents and owners.
BOOL IsTopParentActive(HWND hWnd);
void GetCursorClientPos(CPoint* pResult, HWND hWnd);
// Readies a window DC for drawing the window's frame: the client area is cut out of its clipping. Answers the
// window rect moved to (0, 0).
CRect ExcludeClientArea(HWND hWnd, CDC* pDC);

void FillTriangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr);

struct SOFTEN_PIXEL
{
    int x, y, dx, dy;
};
// For the first (count + 1) / 2 entries: the pixel becomes the average of itself and its neighbour at (dx, dy).
void SoftenPixels(CDC* pDC, const SOFTEN_PIXEL* pPixels, int nCount);
// The colour of pixel (0, 0); (COLORREF)-1 when the handle is no bitmap.
COLORREF GetTopLeftPixel(HBITMAP hBitmap);
// An icon of the bitmap with its top-left colour transparent; null for a missing or empty bitmap.
HICON CreateIconFromBitmap(HBITMAP hBitmap);

// One mouse hook per process: a press or release outside the window's rectangle moves the focus to its
// owner (or parent), which closes the popup. A null window removes the hook.
void SetPopupMouseHook(CWnd* pWnd);
BOOL IsPopupMouseHookSet();
// The decision of the hook for one mouse message at a screen point.
BOOL IsPopupClosingClick(UINT message, POINT ptScreen, HWND hWndPopup);

// Modal drag of a splitter bar drawn by inversion on the screen.
class CSplitterTracker
{
public:
    explicit CSplitterTracker(CWnd* pWnd, BOOL bSolid = FALSE);

    // The tracker (screen coordinates) follows the mouse along one axis (x when horizontal), its left or top
    // clamped to the limit rectangle; TRUE when the left button is released, FALSE on Escape.
    BOOL Track(const CRect& rcLimit, CRect* pTracker, CPoint ptStart, BOOL bHorizontal);
    void SetSecondTracker(const CRect& rc) { m_rcSecond = rc; }

private:
    void DrawTracker(CDC* pDC, const CRect& rc) const;

    CWnd* m_pWnd;
    BOOL m_bSolid;
    CRect m_rcSecond;
};

void DeflateRectOriented(CRect& rc, int l, int t, int r, int b, BOOL bSwap);
int GetRectExtent(const RECT& rc, BOOL bHorizontal);
// Caption-button glyphs at a centre point; the pin uses the DC's current pen.
void DrawPinGlyph(CDC* pDC, CPoint pt, BOOL bLying);
void DrawMaximizeGlyph(CDC* pDC, CPoint pt, BOOL bMaximized, COLORREF clr);

class CPaneCaptionButton;

// What a docking element that owns caption buttons does for them.
class CPaneCaptionButtonOwner
{
public:
    virtual ~CPaneCaptionButtonOwner() = default;
    virtual BOOL IsCaptionButtonVisible(CPaneCaptionButton* pButton) = 0;
    // The button's rectangle changed: lay it out and redraw it.
    virtual void OnCaptionButtonRectChanged(CPaneCaptionButton* pButton) = 0;
    virtual void RedrawCaptionButton(CPaneCaptionButton* pButton) = 0;
    // The window whose mouse-leave the button waits for.
    virtual HWND GetCaptionButtonWindow() = 0;
};

class CPaneCaptionButton
{
public:
    CPaneCaptionButton(UINT nID, CPaneCaptionButtonOwner* pOwner) : m_nID(nID), m_pOwner(pOwner) {}

    void SetRect(const CRect& rc);
    const CRect& GetRect() const { return m_rc; }
    BOOL IsVisible() { return m_pOwner->IsCaptionButtonVisible(this); }
    UINT GetID() const { return m_nID; }
    BOOL IsPressed() const { return m_bPressed; }
    BOOL IsHot() const { return m_bHot; }
    // Shown pressed while something else than a click runs from it (a menu dropping from the button).
    void SetPressed(BOOL bPressed) { m_bPressed = bPressed; }

    // Modal: the button shows pressed while the mouse stays on it; TRUE when released over it, 0 when another
    // window holds the capture or the click is cancelled.
    BOOL TrackClick(CWnd* pWnd, BOOL bWindowCoordinates);
    // TRUE when the hot state changed.
    BOOL CheckHover(CPoint pt);

    DWORD m_dwState = 0;

private:
    CRect m_rc;
    UINT m_nID;
    CPaneCaptionButtonOwner* m_pOwner;
    BOOL m_bPressed = FALSE;
    BOOL m_bHot = FALSE;
};
