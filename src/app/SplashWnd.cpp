#include "SplashWnd.h"

#include "resource.h"

#include <vector>

CSplashWnd* CSplashWnd::c_pSplashWnd = nullptr;
BOOL CSplashWnd::c_bShowSplashWnd = FALSE;
AFX_MSGBOX_HANDLER CSplashWnd::CHideBeforeMessageBoxes::c_pfnPrevious = nullptr;

BEGIN_MESSAGE_MAP(CSplashWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_TIMER()
    ON_WM_QUERYNEWPALETTE()
    ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

CSplashWnd::~CSplashWnd()
{
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
    if (m_hPalette)
        ::DeleteObject(m_hPalette);
}

void CSplashWnd::EnableSplashScreen(BOOL bEnable) { c_bShowSplashWnd = bEnable; }

void CSplashWnd::ShowSplashScreen(CWnd* pParentWnd)
{
    if (!c_bShowSplashWnd || c_pSplashWnd)
        return;
    c_pSplashWnd = new CSplashWnd;
    if (!c_pSplashWnd->Create(pParentWnd)) {
        delete c_pSplashWnd;
        c_pSplashWnd = nullptr;
        return;
    }
    c_pSplashWnd->UpdateWindow();
}

void CSplashWnd::HideSplashScreen()
{
    if (!c_pSplashWnd)
        return;
    c_pSplashWnd->DestroyWindow();   // PostNcDestroy deletes the object and clears the pointer
    CWinApp* pApp = AfxGetApp();
    if (pApp && pApp->m_pMainWnd && pApp->m_pMainWnd->GetSafeHwnd())
        pApp->m_pMainWnd->UpdateWindow();
}

BOOL CSplashWnd::PreTranslateAppMessage(MSG* pMsg)
{
    if (!c_pSplashWnd)
        return FALSE;
    switch (pMsg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        HideSplashScreen();
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CSplashWnd::Create(CWnd* pParentWnd)
{
    // Below 8 bits per pixel the bitmap would look wrong: no splash at all.
    CDC screen;
    if (!screen.CreateIC(L"DISPLAY", nullptr, nullptr, nullptr))
        return FALSE;
    if (screen.GetDeviceCaps(BITSPIXEL) * screen.GetDeviceCaps(PLANES) < 8 || !LoadSplashBitmap())
        return FALSE;
    return CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0, ::LoadCursorW(nullptr, IDC_ARROW)), nullptr,
                    WS_POPUP | WS_VISIBLE, 0, 0, m_nWidth, m_nHeight,
                    pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, nullptr);
}

// The DIB resource becomes a device bitmap; a palette is built from its colour table when it has one.
BOOL CSplashWnd::LoadSplashBitmap()
{
    HINSTANCE hInstance = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceW(hInstance, MAKEINTRESOURCEW(IDB_SPLASH), RT_BITMAP);
    HGLOBAL hData = hResource ? ::LoadResource(hInstance, hResource) : nullptr;
    auto* pInfo = hData ? static_cast<const BITMAPINFO*>(::LockResource(hData)) : nullptr;
    if (!pInfo)
        return FALSE;
    const BITMAPINFOHEADER& header = pInfo->bmiHeader;
    int nColours = header.biBitCount <= 8 ? (header.biClrUsed ? static_cast<int>(header.biClrUsed)
                                                              : 1 << header.biBitCount)
                                          : 0;
    if (nColours > 0) {
        std::vector<BYTE> buffer(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(nColours));
        auto* pPalette = reinterpret_cast<LOGPALETTE*>(buffer.data());
        pPalette->palVersion = 0x300;
        pPalette->palNumEntries = static_cast<WORD>(nColours);
        for (int i = 0; i < nColours; ++i) {
            pPalette->palPalEntry[i].peRed = pInfo->bmiColors[i].rgbRed;
            pPalette->palPalEntry[i].peGreen = pInfo->bmiColors[i].rgbGreen;
            pPalette->palPalEntry[i].peBlue = pInfo->bmiColors[i].rgbBlue;
            pPalette->palPalEntry[i].peFlags = 0;
        }
        m_hPalette = ::CreatePalette(pPalette);
    }
    HDC hScreen = ::GetDC(nullptr);
    HPALETTE hOldPalette = m_hPalette ? ::SelectPalette(hScreen, m_hPalette, FALSE) : nullptr;
    if (m_hPalette)
        ::RealizePalette(hScreen);
    const BYTE* pBits = reinterpret_cast<const BYTE*>(pInfo) + header.biSize + nColours * sizeof(RGBQUAD);
    m_hBitmap = ::CreateDIBitmap(hScreen, &header, CBM_INIT, pBits, pInfo, DIB_RGB_COLORS);
    if (hOldPalette)
        ::SelectPalette(hScreen, hOldPalette, FALSE);
    ::ReleaseDC(nullptr, hScreen);
    m_nWidth = header.biWidth;
    m_nHeight = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    return m_hBitmap != nullptr;
}

void CSplashWnd::RealizePalette(CDC& dc)
{
    if (m_hPalette) {
        ::SelectPalette(dc.GetSafeHdc(), m_hPalette, FALSE);
        dc.RealizePalette();
    }
}

void CSplashWnd::PostNcDestroy()
{
    if (c_pSplashWnd == this)
        c_pSplashWnd = nullptr;
    delete this;
}

int CSplashWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CenterWindow();
    SetTimer(SPLASH_TIMER, SPLASH_MILLISECONDS);
    return 0;
}

void CSplashWnd::OnPaint()
{
    CPaintDC dc(this);
    CDC memory;
    if (!memory.CreateCompatibleDC(&dc))
        return;
    RealizePalette(dc);
    RealizePalette(memory);
    HGDIOBJ hOld = ::SelectObject(memory.GetSafeHdc(), m_hBitmap);
    dc.BitBlt(0, 0, m_nWidth, m_nHeight, &memory, 0, 0, SRCCOPY);
    ::SelectObject(memory.GetSafeHdc(), hOld);
}

void CSplashWnd::OnTimer(UINT_PTR /*nIDEvent*/) { HideSplashScreen(); }

BOOL CSplashWnd::OnQueryNewPalette()
{
    if (!m_hPalette)
        return FALSE;
    CClientDC dc(this);
    HPALETTE hOld = ::SelectPalette(dc.GetSafeHdc(), m_hPalette, FALSE);
    UINT nChanged = dc.RealizePalette();
    ::SelectPalette(dc.GetSafeHdc(), hOld, TRUE);
    if (nChanged > 0)
        Invalidate();
    return nChanged > 0;
}

void CSplashWnd::OnPaletteChanged(CWnd* pFocusWnd)
{
    if (!m_hPalette || pFocusWnd == this)
        return;
    CClientDC dc(this);
    HPALETTE hOld = ::SelectPalette(dc.GetSafeHdc(), m_hPalette, FALSE);
    if (dc.RealizePalette() > 0)
        ::UpdateColors(dc.GetSafeHdc());
    ::SelectPalette(dc.GetSafeHdc(), hOld, TRUE);
}

CSplashWnd::CHideBeforeMessageBoxes::CHideBeforeMessageBoxes()
    : m_pfnPrevious(AfxSetMessageBoxHandler(HideThenShow))
{
    // A guard inside another (a modal loop of the start-up running the start-up tasks) keeps the outer one's road.
    if (m_pfnPrevious != HideThenShow)
        c_pfnPrevious = m_pfnPrevious;
}

CSplashWnd::CHideBeforeMessageBoxes::~CHideBeforeMessageBoxes() { AfxSetMessageBoxHandler(m_pfnPrevious); }

int CSplashWnd::CHideBeforeMessageBoxes::HideThenShow(const AFX_MSGBOX_REQUEST& request)
{
    if (!c_pSplashWnd)
        return c_pfnPrevious(request);
    // The splash may have been the active window and so the box's owner: take the one active now.
    bool bOwnedBySplash = request.owner == c_pSplashWnd->GetSafeHwnd();
    CSplashWnd::HideSplashScreen();
    AFX_MSGBOX_REQUEST shown = request;
    if (bOwnedBySplash)
        shown.owner = ::GetActiveWindow();
    return c_pfnPrevious(shown);
}
