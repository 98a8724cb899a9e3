#include "ui/themes/DrawHelpers.h"

#include "ui/themes/ColorTable.h"

#include <commctrl.h>

#include <algorithm>

CWndRect::CWndRect(HWND hWnd)
{
    if (::IsWindow(hWnd))
        ::GetWindowRect(hWnd, this);
}

CWndClientRect::CWndClientRect(HWND hWnd)
{
    if (::IsWindow(hWnd))
        ::GetClientRect(hWnd, this);
}

COffscreenDC::COffscreenDC(CDC* pDestDC, const CRect& rect) : m_pDestDC(pDestDC), m_rect(rect)
{
    // As large as right × bottom, so that the destination's coordinates need no shifting.
    if (CreateCompatibleDC(pDestDC) && m_bitmap.CreateCompatibleBitmap(pDestDC, rect.right, rect.bottom))
        m_hOldBitmap = ::SelectObject(m_hDC, m_bitmap.GetSafeHandle());
}

COffscreenDC::~COffscreenDC()
{
    if (m_hOldBitmap) {
        m_pDestDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                          SRCCOPY);
        ::SelectObject(m_hDC, m_hOldBitmap);
    }
    m_bitmap.DeleteObject();
    DeleteDC();
}

CObjectSelector::CObjectSelector(CDC* pDC, CGdiObject* pObject) : m_pDC(pDC)
{
    Select(pObject);
}

CObjectSelector::~CObjectSelector()
{
    Restore();
}

void CObjectSelector::Select(CGdiObject* pObject)
{
    Restore();
    m_hOldObject = ::SelectObject(m_pDC->GetSafeHdc(), pObject->GetSafeHandle());
}

void CObjectSelector::Restore()
{
    if (m_hOldObject)
        ::SelectObject(m_pDC->GetSafeHdc(), m_hOldObject);
    m_hOldObject = nullptr;
}

CPenSelector::CPenSelector(CDC* pDC, COLORREF clr) : m_pDC(pDC)
{
    SetColor(clr);
}

CPenSelector::CPenSelector(CDC* pDC, CPen* pPen) : m_pDC(pDC)
{
    m_hOldPen = ::SelectObject(m_pDC->GetSafeHdc(), pPen->GetSafeHandle());
}

CPenSelector::~CPenSelector()
{
    if (m_hOldPen)
        ::SelectObject(m_pDC->GetSafeHdc(), m_hOldPen);
}

void CPenSelector::SetColor(COLORREF clr)
{
    CPen pen;
    pen.CreatePen(PS_SOLID, 1, clr);
    HGDIOBJ hPrevious = ::SelectObject(m_pDC->GetSafeHdc(), pen.GetSafeHandle());
    if (!m_hOldPen)
        m_hOldPen = hPrevious;
    m_pen.DeleteObject();
    m_pen.Attach(pen.Detach());
}

COLORREF CPenSelector::GetColor() const
{
    LOGPEN logPen = {};
    HGDIOBJ hPen = ::GetCurrentObject(m_pDC->GetSafeHdc(), OBJ_PEN);
    ::GetObjectW(hPen, sizeof(logPen), &logPen);
    return logPen.lopnColor;
}

CBrushSelector::CBrushSelector(CDC* pDC, COLORREF clr) : m_pDC(pDC)
{
    SetColor(clr);
}

CBrushSelector::~CBrushSelector()
{
    if (m_hOldBrush)
        ::SelectObject(m_pDC->GetSafeHdc(), m_hOldBrush);
}

void CBrushSelector::SetColor(COLORREF clr)
{
    CBrush brush;
    brush.CreateSolidBrush(clr);
    HGDIOBJ hPrevious = ::SelectObject(m_pDC->GetSafeHdc(), brush.GetSafeHandle());
    if (!m_hOldBrush)
        m_hOldBrush = hPrevious;
    m_brush.DeleteObject();
    m_brush.Attach(brush.Detach());
}

CBitmapDC::CBitmapDC(CDC* pDC, CBitmap* pBitmap)
{
    if (CreateCompatibleDC(pDC))
        m_hOldBitmap = ::SelectObject(m_hDC, pBitmap->GetSafeHandle());
}

CBitmapDC::~CBitmapDC()
{
    if (m_hOldBitmap)
        ::SelectObject(m_hDC, m_hOldBitmap);
    DeleteDC();
}

CGradientPainter::CGradientPainter(LPCTSTR lpszModule)
{
    m_hModule = ::LoadLibraryW(lpszModule);
    if (m_hModule) {
        FARPROC pfn = ::GetProcAddress(m_hModule, "GradientFill");
        m_pfnGradientFill = reinterpret_cast<PFNGRADIENTFILL>(reinterpret_cast<void (*)()>(pfn));
    }
}

CGradientPainter::~CGradientPainter()
{
    if (m_hModule)
        ::FreeLibrary(m_hModule);
}

BOOL CGradientPainter::GradientFill(HDC hDC, PTRIVERTEX pVertices, ULONG nVertices, PVOID pMesh, ULONG nMeshes,
                                    ULONG ulMode) const
{
    return m_pfnGradientFill ? m_pfnGradientFill(hDC, pVertices, nVertices, pMesh, nMeshes, ulMode) : FALSE;
}

void CGradientPainter::DrawGradient(CDC* pDC, const CRect* pRect, COLORREF clrFrom, COLORREF clrTo,
                                    BOOL bHorizontal) const
{
    if (!pRect || pRect->IsRectEmpty())
        return;
    if (clrFrom == clrTo || IsLowColorDisplay(pDC->GetSafeHdc())) {
        pDC->FillSolidRect(pRect, clrFrom);
        return;
    }
    if (m_pfnGradientFill) {
        TRIVERTEX vertices[2] = {
            {pRect->left, pRect->top, static_cast<COLOR16>(GetRValue(clrFrom) << 8),
             static_cast<COLOR16>(GetGValue(clrFrom) << 8), static_cast<COLOR16>(GetBValue(clrFrom) << 8), 0},
            {pRect->right, pRect->bottom, static_cast<COLOR16>(GetRValue(clrTo) << 8),
             static_cast<COLOR16>(GetGValue(clrTo) << 8), static_cast<COLOR16>(GetBValue(clrTo) << 8), 0},
        };
        GRADIENT_RECT mesh = {0, 1};
        GradientFill(pDC->GetSafeHdc(), vertices, 2, &mesh, 1,
                     bHorizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
        return;
    }
    // One-pixel strips, each blended by its distance from the start.
    int nExtent = std::max(bHorizontal ? pRect->Width() : pRect->Height(), 1);
    for (int i = 0; i < nExtent; i++) {
        COLORREF clr = BlendColorsByAlpha(clrFrom, clrTo, 1.0f - static_cast<float>(i) / nExtent);
        if (bHorizontal)
            pDC->FillSolidRect(pRect->left + i, pRect->top, 1, pRect->Height(), clr);
        else
            pDC->FillSolidRect(pRect->left, pRect->top + i, pRect->Width(), 1, clr);
    }
}

void CGradientPainter::FillGradient(CDC* pDC, const CRect* pRect, const CColorGradient* pGradient,
                                    BOOL bHorizontal) const
{
    if (!pRect)
        return;
    if (!pGradient->HasMiddleColors()) {
        DrawGradient(pDC, pRect, pGradient->m_clrStart, pGradient->m_clrEnd, bHorizontal);
        return;
    }
    CRect rcFirst(*pRect), rcSecond(*pRect);
    if (bHorizontal)
        rcFirst.right = rcSecond.left = pRect->left + pRect->Width() / 2;
    else
        rcFirst.bottom = rcSecond.top = pRect->top + pRect->Height() / 2;
    DrawGradient(pDC, &rcFirst, pGradient->m_clrStart, pGradient->m_clrMiddle1, bHorizontal);
    DrawGradient(pDC, &rcSecond, pGradient->m_clrMiddle2, pGradient->m_clrEnd, bHorizontal);
}

CGradientPainter* GetGradientPainter()
{
    static CGradientPainter s_painter;
    return &s_painter;
}

void ExcludeCorners(CDC* pDC, CRect rc)
{
    pDC->ExcludeClipRect(rc.left, rc.top, rc.left + 1, rc.top + 1);
    pDC->ExcludeClipRect(rc.right - 1, rc.top, rc.right, rc.top + 1);
    pDC->ExcludeClipRect(rc.left, rc.bottom - 1, rc.left + 1, rc.bottom + 1);
    pDC->ExcludeClipRect(rc.right - 1, rc.bottom - 1, rc.right, rc.bottom + 1);
}

void StripAmpersands(CString& strText)
{
    CString strResult;
    for (int i = 0; i < strText.GetLength(); i++) {
        if (strText[i] != L'&')
            strResult += strText[i];
        else if (i + 1 < strText.GetLength() && strText[i + 1] == L'&')
            strResult += strText[++i];
    }
    strText = strResult;
}

void RemoveAccelerators(CString& strText)
{
    CString strResult;
    for (int i = 0; i < strText.GetLength(); i++) {
        if (strText[i] != L'&') {
            strResult += strText[i];
        } else if (i + 1 < strText.GetLength() && strText[i + 1] == L'&') {
            strResult += L"&&";
            ++i;
        }
    }
    strText = strResult;
}

COLORREF BlendColorsByAlpha(COLORREF a, COLORREF b, float w)
{
    auto channel = [w](int x, int y) { return std::min(static_cast<int>(x * w + y * (1 - w)), 255); };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

namespace
{
int CALLBACK MatchFontFace(const LOGFONTW* pLogFont, const TEXTMETRICW*, DWORD, LPARAM lParam)
{
    auto* pMatch = reinterpret_cast<std::pair<LPCTSTR, BOOL>*>(lParam);
    if (::lstrcmpiW(pLogFont->lfFaceName, pMatch->first) == 0) {
        pMatch->second = TRUE;
        return 0;
    }
    return 1;
}

LOGFONT GetStockFontLogFont(int nStockFont)
{
    LOGFONT lf = {};
    ::GetObjectW(::GetStockObject(nStockFont), sizeof(lf), &lf);
    return lf;
}
}

BOOL IsFontInstalled(LPCTSTR lpszFaceName)
{
    if (!lpszFaceName || !*lpszFaceName)
        return FALSE;
    LOGFONT lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    std::pair<LPCTSTR, BOOL> match(lpszFaceName, FALSE);
    HDC hDC = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(hDC, &lf, MatchFontFace, reinterpret_cast<LPARAM>(&match), 0);
    ::ReleaseDC(nullptr, hDC);
    return match.second;
}

CString GetDefaultGuiFontFace()
{
    return CString(GetStockFontLogFont(DEFAULT_GUI_FONT).lfFaceName);
}

CString GetDefaultFontFace(BOOL bUseTahoma)
{
    LOGFONT lf = GetStockFontLogFont(DEFAULT_GUI_FONT);
    OSVERSIONINFO info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    ::GetVersionExW(&info);
    BOOL bNT5 = info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 5;
    if ((lf.lfCharSet > 2 && bNT5) || !IsFontInstalled(L"Arial"))
        return CString(lf.lfFaceName);
    if (bUseTahoma && IsFontInstalled(L"Tahoma"))
        return L"Tahoma";
    return L"Arial";
}

BOOL GetNonClientMetrics(NONCLIENTMETRICS* pMetrics)
{
    *pMetrics = NONCLIENTMETRICS();
    pMetrics->cbSize = sizeof(NONCLIENTMETRICS);
    return ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(NONCLIENTMETRICS), pMetrics, 0);
}

namespace
{
XTP_BITSPIXEL_SOURCE g_pfnBitsPerPixel = nullptr;
}

XTP_BITSPIXEL_SOURCE SetBitsPerPixelSource(XTP_BITSPIXEL_SOURCE pfnSource)
{
    XTP_BITSPIXEL_SOURCE pfnPrevious = g_pfnBitsPerPixel;
    g_pfnBitsPerPixel = pfnSource;
    return pfnPrevious;
}

BOOL IsLowColorDisplay(HDC hDC)
{
    HWND hDesktop = nullptr;
    if (!hDC) {
        hDesktop = ::GetDesktopWindow();
        hDC = ::GetDC(hDesktop);
        if (!hDC)
            return FALSE;
    }
    int nBits = g_pfnBitsPerPixel ? g_pfnBitsPerPixel(hDC) : ::GetDeviceCaps(hDC, BITSPIXEL);
    if (hDesktop)
        ::ReleaseDC(hDesktop, hDC);
    return nBits >= 1 && nBits <= 8;
}

int GetColorScheme()
{
    return GetColorTable()->GetCurrentScheme();
}

namespace
{
template <class PFN>
void LookUp(PFN& pfn, HMODULE hModule, LPCSTR pszName)
{
    pfn = hModule ? reinterpret_cast<PFN>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, pszName))) : nullptr;
}

const CMultiMonitorEntries* g_pMultiMonitorEntries = nullptr;
}

CMultiMonitorEntries::CMultiMonitorEntries(LPCTSTR lpszModule)
{
    // USER32 stays loaded for the life of any windowed process: no reference is taken.
    HMODULE hModule = ::GetModuleHandleW(lpszModule);
    LookUp(m_pfnMonitorFromRect, hModule, "MonitorFromRect");
    LookUp(m_pfnMonitorFromWindow, hModule, "MonitorFromWindow");
    LookUp(m_pfnMonitorFromPoint, hModule, "MonitorFromPoint");
    LookUp(m_pfnGetMonitorInfo, hModule, "GetMonitorInfoW");
}

HMONITOR CMultiMonitorEntries::MonitorFromRect(LPCRECT lprc, DWORD dwFlags) const
{
    return m_pfnMonitorFromRect ? m_pfnMonitorFromRect(lprc, dwFlags) : nullptr;
}

HMONITOR CMultiMonitorEntries::MonitorFromWindow(HWND hWnd, DWORD dwFlags) const
{
    return m_pfnMonitorFromWindow ? m_pfnMonitorFromWindow(hWnd, dwFlags) : nullptr;
}

HMONITOR CMultiMonitorEntries::MonitorFromPoint(POINT pt, DWORD dwFlags) const
{
    return m_pfnMonitorFromPoint ? m_pfnMonitorFromPoint(pt, dwFlags) : nullptr;
}

BOOL CMultiMonitorEntries::GetMonitorInfo(HMONITOR hMonitor, LPMONITORINFO lpmi) const
{
    return m_pfnGetMonitorInfo && hMonitor && m_pfnGetMonitorInfo(hMonitor, lpmi);
}

const CMultiMonitorEntries* GetMultiMonitorEntries()
{
    static const CMultiMonitorEntries s_system;
    return g_pMultiMonitorEntries ? g_pMultiMonitorEntries : &s_system;
}

const CMultiMonitorEntries* SetMultiMonitorEntries(const CMultiMonitorEntries* pEntries)
{
    const CMultiMonitorEntries* pPrevious = g_pMultiMonitorEntries;
    g_pMultiMonitorEntries = pEntries;
    return pPrevious;
}

namespace
{
// The work area of a monitor, or of the primary one when there is none.
void MonitorWorkArea(CRect* pResult, HMONITOR hMonitor, BOOL bWholeMonitor = FALSE)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMultiMonitorEntries()->GetMonitorInfo(hMonitor, &info)) {
        *pResult = bWholeMonitor ? info.rcMonitor : info.rcWork;
        return;
    }
    if (bWholeMonitor)
        pResult->SetRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    else
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, static_cast<LPRECT>(*pResult), 0);
}
}

void GetWorkArea(CRect* pResult, const CRect& rc)
{
    MonitorWorkArea(pResult, GetMultiMonitorEntries()->MonitorFromRect(rc, MONITOR_DEFAULTTONULL));
}

void GetWindowWorkArea(CRect* pResult, HWND hWnd)
{
    MonitorWorkArea(pResult, GetMultiMonitorEntries()->MonitorFromWindow(hWnd, MONITOR_DEFAULTTONULL));
}

void GetCursorWorkArea(CRect* pResult)
{
    POINT pt = {};
    ::GetCursorPos(&pt);
    MonitorWorkArea(pResult, GetMultiMonitorEntries()->MonitorFromPoint(pt, MONITOR_DEFAULTTONULL));
}

void GetWindowMonitorRect(CRect* pResult, HWND hWnd)
{
    MonitorWorkArea(pResult, GetMultiMonitorEntries()->MonitorFromWindow(hWnd, MONITOR_DEFAULTTONULL), TRUE);
}

BOOL IsTopParentActive(HWND hWnd)
{
    // GetParent leaves out the owner of an overlapped window (a tip window's frame): climb to the top-level
    // window, then from owner to owner.
    HWND hTop = ::GetAncestor(hWnd, GA_ROOT);
    while (HWND hOwner = hTop ? ::GetWindow(hTop, GW_OWNER) : nullptr)
        hTop = ::GetAncestor(hOwner, GA_ROOT);
    return hTop && ::GetForegroundWindow() == ::GetLastActivePopup(hTop);
}

void GetCursorClientPos(CPoint* pResult, HWND hWnd)
{
    ::GetCursorPos(pResult);
    ::ScreenToClient(hWnd, pResult);
}

CRect ExcludeClientArea(HWND hWnd, CDC* pDC)
{
    CRect rcWindow, rcClient;
    ::GetWindowRect(hWnd, &rcWindow);
    ::GetClientRect(hWnd, &rcClient);
    ::MapWindowPoints(hWnd, nullptr, reinterpret_cast<LPPOINT>(&rcClient), 2);
    rcClient.OffsetRect(-rcWindow.TopLeft());
    pDC->ExcludeClipRect(rcClient);
    return CRect(CPoint(0, 0), rcWindow.Size());
}

void FillTriangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr)
{
    CPenSelector pen(pDC, clr);
    CBrushSelector brush(pDC, clr);
    const POINT points[3] = {pt0, pt1, pt2};
    pDC->Polygon(points, 3);
}

void SoftenPixels(CDC* pDC, const SOFTEN_PIXEL* pPixels, int nCount)
{
    for (int i = 0; i < (nCount + 1) / 2; i++) {
        const SOFTEN_PIXEL& p = pPixels[i];
        COLORREF a = pDC->GetPixel(p.x, p.y), b = pDC->GetPixel(p.x + p.dx, p.y + p.dy);
        pDC->SetPixel(p.x, p.y, RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
                                    (GetBValue(a) + GetBValue(b)) / 2));
    }
}

COLORREF GetTopLeftPixel(HBITMAP hBitmap)
{
    if (::GetObjectType(hBitmap) != OBJ_BITMAP)
        return static_cast<COLORREF>(-1);
    CBitmapDC dc(nullptr, CBitmap::FromHandle(hBitmap));
    return dc.GetPixel(0, 0);
}

HICON CreateIconFromBitmap(HBITMAP hBitmap)
{
    BITMAP info = {};
    if (!hBitmap || !::GetObjectW(hBitmap, sizeof(info), &info) || info.bmWidth == 0 || info.bmHeight == 0)
        return nullptr;
    HIMAGELIST hImages = ImageList_Create(info.bmWidth, info.bmHeight, ILC_COLOR24 | ILC_MASK, 1, 0);
    if (!hImages)
        return nullptr;
    // Adding with a mask blackens the transparent pixels of the bitmap given: the caller's stays untouched.
    HBITMAP hCopy = static_cast<HBITMAP>(::CopyImage(hBitmap, IMAGE_BITMAP, 0, 0, 0));
    HICON hIcon = nullptr;
    if (hCopy && ImageList_AddMasked(hImages, hCopy, GetTopLeftPixel(hBitmap)) >= 0)
        hIcon = ImageList_GetIcon(hImages, 0, ILD_NORMAL);
    if (hCopy)
        ::DeleteObject(hCopy);
    ImageList_Destroy(hImages);
    return hIcon;
}

namespace
{
HHOOK g_hPopupHook = nullptr;
HWND g_hPopupWnd = nullptr;

LRESULT CALLBACK PopupMouseHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION && g_hPopupWnd) {
        const auto* pInfo = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        if (IsPopupClosingClick(static_cast<UINT>(wParam), pInfo->pt, g_hPopupWnd)) {
            HWND hTarget = ::GetWindow(g_hPopupWnd, GW_OWNER);
            if (!hTarget)
                hTarget = ::GetParent(g_hPopupWnd);
            if (hTarget)
                ::SetFocus(hTarget);
        }
    }
    return ::CallNextHookEx(g_hPopupHook, nCode, wParam, lParam);
}
}

BOOL IsPopupClosingClick(UINT message, POINT ptScreen, HWND hWndPopup)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONUP: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
        return !CWndRect(hWndPopup).PtInRect(ptScreen);
    default:
        return FALSE;
    }
}

void SetPopupMouseHook(CWnd* pWnd)
{
    g_hPopupWnd = pWnd ? pWnd->GetSafeHwnd() : nullptr;
    if (g_hPopupWnd && !g_hPopupHook)
        g_hPopupHook = ::SetWindowsHookExW(WH_MOUSE, PopupMouseHook, nullptr, ::GetCurrentThreadId());
    else if (!g_hPopupWnd && g_hPopupHook) {
        ::UnhookWindowsHookEx(g_hPopupHook);
        g_hPopupHook = nullptr;
    }
}

BOOL IsPopupMouseHookSet()
{
    return g_hPopupHook != nullptr;
}

CSplitterTracker::CSplitterTracker(CWnd* pWnd, BOOL bSolid) : m_pWnd(pWnd), m_bSolid(bSolid)
{
}

void CSplitterTracker::DrawTracker(CDC* pDC, const CRect& rc) const
{
    if (rc.IsRectEmpty())
        return;
    if (m_bSolid) {
        pDC->InvertRect(rc);
        return;
    }
    HGDIOBJ hOldBrush = ::SelectObject(pDC->GetSafeHdc(), CDC::GetHalftoneBrush()->GetSafeHandle());
    pDC->PatBlt(rc.left, rc.top, rc.Width(), rc.Height(), PATINVERT);
    ::SelectObject(pDC->GetSafeHdc(), hOldBrush);
}

BOOL CSplitterTracker::Track(const CRect& rcLimit, CRect* pTracker, CPoint ptStart, BOOL bHorizontal)
{
    HWND hWnd = m_pWnd->GetSafeHwnd();
    ::SetCapture(hWnd);
    HWND hDesktop = ::GetDesktopWindow();
    BOOL bLocked = ::LockWindowUpdate(hDesktop);
    CDC dc;
    dc.Attach(::GetDCEx(hDesktop, nullptr, DCX_WINDOW | DCX_CACHE | (bLocked ? DCX_LOCKWINDOWUPDATE : 0)));

    int nOffset = bHorizontal ? pTracker->left - ptStart.x : pTracker->top - ptStart.y;
    DrawTracker(&dc, *pTracker);
    DrawTracker(&dc, m_rcSecond);

    BOOL bAccepted = FALSE;
    MSG msg;
    while (::GetCapture() == hWnd) {
        if (!AfxGetModalLoopMessage(&msg))
            break;
        if (msg.message == WM_LBUTTONUP) {
            bAccepted = TRUE;
            break;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            break;
        if (msg.message != WM_MOUSEMOVE) {
            ::DispatchMessageW(&msg);
            continue;
        }
        CPoint pt(msg.lParam);
        ::ClientToScreen(hWnd, &pt);
        CRect rcNew(*pTracker);
        if (bHorizontal)
            rcNew.MoveToX(std::min(std::max(pt.x + nOffset, rcLimit.left), rcLimit.right));
        else
            rcNew.MoveToY(std::min(std::max(pt.y + nOffset, rcLimit.top), rcLimit.bottom));
        if (rcNew != *pTracker) {
            DrawTracker(&dc, *pTracker);
            *pTracker = rcNew;
            DrawTracker(&dc, *pTracker);
        }
    }

    DrawTracker(&dc, *pTracker);
    DrawTracker(&dc, m_rcSecond);
    ::ReleaseCapture();
    if (bLocked)
        ::LockWindowUpdate(nullptr);
    ::ReleaseDC(hDesktop, dc.Detach());
    return bAccepted;
}

void DeflateRectOriented(CRect& rc, int l, int t, int r, int b, BOOL bSwap)
{
    if (bSwap)
        rc.DeflateRect(t, l, b, r);
    else
        rc.DeflateRect(l, t, r, b);
}

int GetRectExtent(const RECT& rc, BOOL bHorizontal)
{
    return bHorizontal ? rc.right - rc.left : rc.bottom - rc.top;
}

namespace
{
void Line(CDC* pDC, int x0, int y0, int x1, int y1)
{
    pDC->MoveTo(x0, y0);
    pDC->LineTo(x1, y1);
}
}

void DrawPinGlyph(CDC* pDC, CPoint pt, BOOL bLying)
{
    int x = pt.x, y = pt.y;
    if (bLying) {
        Line(pDC, x - 4, y, x - 1, y);
        Line(pDC, x - 1, y - 3, x - 1, y + 4);
        const POINT head[] = {{x - 1, y + 2}, {x + 3, y + 2}, {x + 3, y - 2}, {x - 1, y - 2}};
        pDC->Polyline(head, 4);
        Line(pDC, x - 1, y + 1, x + 3, y + 1);
    } else {
        Line(pDC, x - 3, y + 1, x + 4, y + 1);
        Line(pDC, x, y + 1, x, y + 5);
        const POINT head[] = {{x - 2, y + 1}, {x - 2, y - 4}, {x + 2, y - 4}, {x + 2, y + 1}};
        pDC->Polyline(head, 4);
        Line(pDC, x + 1, y + 1, x + 1, y - 4);
    }
}

namespace
{
// A window outline: one-pixel frame with a title bar two pixels high.
void DrawWindowGlyph(CDC* pDC, int x, int y, int nSize, COLORREF clr)
{
    pDC->FillSolidRect(x, y, nSize, 2, clr);
    pDC->FillSolidRect(x, y, 1, nSize, clr);
    pDC->FillSolidRect(x + nSize - 1, y, 1, nSize, clr);
    pDC->FillSolidRect(x, y + nSize - 1, nSize, 1, clr);
}
}

void DrawMaximizeGlyph(CDC* pDC, CPoint pt, BOOL bMaximized, COLORREF clr)
{
    int x = pt.x, y = pt.y;
    if (bMaximized) {
        DrawWindowGlyph(pDC, x - 5, y - 5, 9, clr);
        return;
    }
    DrawWindowGlyph(pDC, x - 4, y - 2, 6, clr);
    // The top and right edges of the window behind.
    pDC->FillSolidRect(x - 2, y - 5, 6, 2, clr);
    pDC->SetPixel(x - 2, y - 3, clr);
    pDC->FillSolidRect(x + 3, y - 3, 1, 4, clr);
    pDC->SetPixel(x + 2, y, clr);
}

void CPaneCaptionButton::SetRect(const CRect& rc)
{
    if (rc == m_rc)
        return;
    m_rc = rc;
    m_pOwner->OnCaptionButtonRectChanged(this);
}

BOOL CPaneCaptionButton::TrackClick(CWnd* pWnd, BOOL bWindowCoordinates)
{
    if (::GetCapture())
        return FALSE;
    HWND hWnd = pWnd->GetSafeHwnd();
    ::SetCapture(hWnd);

    auto toButtonPoint = [hWnd, bWindowCoordinates](LPARAM lParam) {
        CPoint pt(lParam);
        if (bWindowCoordinates) {
            ::ClientToScreen(hWnd, &pt);
            CWndRect rcWindow(hWnd);
            pt.Offset(-rcWindow.left, -rcWindow.top);
        }
        return pt;
    };

    CPoint ptLast(-1, -1);
    BOOL bClicked = FALSE;
    MSG msg;
    m_bPressed = TRUE;
    m_pOwner->RedrawCaptionButton(this);
    while (::GetCapture() == hWnd) {
        if (!AfxGetModalLoopMessage(&msg))
            break;
        if (msg.message == WM_LBUTTONUP) {
            ptLast = toButtonPoint(msg.lParam);
            bClicked = m_rc.PtInRect(ptLast);
            break;
        }
        if (msg.message == WM_MOUSEMOVE) {
            ptLast = toButtonPoint(msg.lParam);
            BOOL bPressed = m_rc.PtInRect(ptLast);
            if (bPressed != m_bPressed) {
                m_bPressed = bPressed;
                m_pOwner->RedrawCaptionButton(this);
            }
            continue;
        }
        if (msg.message == WM_RBUTTONDOWN || msg.message == WM_CANCELMODE ||
            (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE))
            break;
        if (msg.message != WM_NCMOUSEMOVE)
            ::DispatchMessageW(&msg);
    }

    if (::GetCapture() == hWnd)
        ::ReleaseCapture();
    m_bPressed = FALSE;
    CheckHover(ptLast);
    m_pOwner->RedrawCaptionButton(this);
    return bClicked;
}

BOOL CPaneCaptionButton::CheckHover(CPoint pt)
{
    BOOL bInside = m_rc.PtInRect(pt);
    if (bInside == m_bHot)
        return FALSE;
    m_bHot = bInside;
    if (m_bHot) {
        TRACKMOUSEEVENT tme = {};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = m_pOwner->GetCaptionButtonWindow();
        ::TrackMouseEvent(&tme);
    }
    m_pOwner->RedrawCaptionButton(this);
    return TRUE;
}
