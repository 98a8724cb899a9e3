#include "ui/themes/ThemedButton.h"

#include "ui/persist/ImageManager.h"
#include "ui/themes/DrawHelpers.h"
#include "ui/themes/MemDC.h"
#include "ui/themes/UiGlobalData.h"

IMPLEMENT_DYNAMIC(CXTButton, CButton)

CXTButton::CXTButton(CRuntimeClass* pFactoryClass)
    : CXTThemeManagerStyleHost(pFactoryClass ? pFactoryClass : RUNTIME_CLASS(CXTButtonThemeFactory))
{
}

CXTButton::~CXTButton()
{
    CleanUpIcon();
}

CXTThemeManagerStyleFactory* CXTButton::GetClassFactory()
{
    return CThemeRegistry::GetInstance()->FindFactory(RUNTIME_CLASS(CXTButtonThemeFactory));
}

CXTButtonTheme* CXTButton::GetClassTheme()
{
    return static_cast<CXTButtonTheme*>(GetClassFactory()->GetSafeTheme());
}

void CXTButton::SetClassTheme(int nTheme)
{
    GetClassFactory()->SetTheme(nTheme);
}

void CXTButton::SetClassTheme(CXTButtonTheme* pTheme)
{
    GetClassFactory()->SetTheme(pTheme);
}

BOOL CXTButton::SetIcon(CSize size, HICON hIcon, HICON hIconHot, BOOL bRedraw)
{
    m_szImage = size;
    CleanUpIcon();
    m_pIcon = std::make_unique<CXTPImageManagerIcon>(0, size.cx, size.cy);
    m_pIcon->SetIcon(CXTPImageManagerIconHandle(hIcon));
    if (hIconHot)
        m_pIcon->SetHotIcon(CXTPImageManagerIconHandle(hIconHot));
    if (bRedraw && ::IsWindow(m_hWnd))
        Invalidate();
    return TRUE;
}

BOOL CXTButton::SetIcon(CSize size, UINT nID, UINT nHotID, BOOL bRedraw)
{
    HINSTANCE hInstance = AfxGetResourceHandle();
    auto load = [&](UINT nResource) {
        return static_cast<HICON>(::LoadImageW(hInstance, MAKEINTRESOURCEW(static_cast<WORD>(nResource)), IMAGE_ICON,
                                               size.cx, size.cy, 0));
    };
    HICON hIcon = load(nID);
    if (!hIcon)
        return FALSE;
    HICON hIconHot = nHotID ? load(nHotID) : nullptr;
    if (nHotID && !hIconHot) {
        ::DestroyIcon(hIcon);
        return FALSE;
    }
    // The icon entry keeps copies of its own.
    SetIcon(size, hIcon, hIconHot, bRedraw);
    ::DestroyIcon(hIcon);
    if (hIconHot)
        ::DestroyIcon(hIconHot);
    return TRUE;
}

BOOL CXTButton::SetBitmap(CSize size, UINT nID, BOOL bRedraw)
{
    HBITMAP hBitmap = static_cast<HBITMAP>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(static_cast<WORD>(nID)),
                                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!hBitmap)
        return FALSE;
    CleanUpIcon();
    m_szImage = size;
    m_pIcon = std::make_unique<CXTPImageManagerIcon>(0, size.cx, size.cy);
    BITMAP info = {};
    ::GetObjectW(hBitmap, sizeof(info), &info);
    if (info.bmBitsPixel == 32) {
        CXTPImageManagerIconHandle handle;
        handle.CopyBitmap(hBitmap);
        m_pIcon->SetIcon(handle);
    } else {
        // Without alpha the top-left colour is the transparent one.
        HICON hIcon = CreateIconFromBitmap(hBitmap);
        m_pIcon->SetIcon(CXTPImageManagerIconHandle(hIcon));
        if (hIcon)
            ::DestroyIcon(hIcon);
    }
    ::DeleteObject(hBitmap);
    if (bRedraw && ::IsWindow(m_hWnd))
        Invalidate();
    return TRUE;
}

BOOL CXTButton::SetImageTextPositions(CPoint ptImage, CPoint ptText, BOOL bRedraw)
{
    m_ptImage = ptImage;
    m_ptCaption = ptText;
    m_bUserPositions = TRUE;
    if (bRedraw && ::IsWindow(m_hWnd))
        Invalidate();
    return TRUE;
}

DWORD CXTButton::SetDrawStyle(DWORD dwStyle, BOOL bRedraw)
{
    const DWORD dwOld = m_dwDrawStyle;
    m_dwDrawStyle = dwStyle;
    if (dwStyle & styleFlatTheme)
        SetTheme(new CXTButtonThemeFlat(FALSE));
    else if (dwStyle & styleFlat)
        SetTheme(new CXTButtonTheme);
    else
        SetTheme(static_cast<CXTThemeManagerStyle*>(nullptr));
    if (bRedraw && ::IsWindow(m_hWnd))
        Invalidate();
    return dwOld;
}

void CXTButton::SetColors(COLORREF clrFace, COLORREF clrLight, COLORREF clrShadow, COLORREF clrText)
{
    if (CXTButtonTheme* pTheme = GetButtonTheme())
        pTheme->SetColors(clrFace, clrLight, clrShadow, clrText);
}

void CXTButton::SetFaceColor(COLORREF clr)
{
    if (CXTButtonTheme* pTheme = GetButtonTheme())
        pTheme->SetFaceColor(clr);
}

COLORREF CXTButton::GetFaceColor()
{
    CXTButtonTheme* pTheme = GetButtonTheme();
    return pTheme ? pTheme->GetFaceColor() : GetUiGlobalData()->m_clrBtnFace;
}

void CXTButton::SetLightColor(COLORREF clr)
{
    if (CXTButtonTheme* pTheme = GetButtonTheme())
        pTheme->SetLightColor(clr);
}

void CXTButton::SetShadowColor(COLORREF clr)
{
    if (CXTButtonTheme* pTheme = GetButtonTheme())
        pTheme->SetShadowColor(clr);
}

void CXTButton::SetTextColor(COLORREF clr)
{
    if (CXTButtonTheme* pTheme = GetButtonTheme())
        pTheme->SetTextColor(clr);
}

void CXTButton::SetFlatColors(COLORREF clrBorder, COLORREF clrHotFace, COLORREF clrPressedFace)
{
    CXTButtonTheme* pTheme = GetButtonTheme();
    if (!pTheme || pTheme->GetThemeId() != 1)
        return;
    auto* pFlat = static_cast<CXTButtonThemeFlat*>(pTheme);
    pFlat->SetLightColor(clrBorder);
    pFlat->SetShadowColor(clrBorder);
    pFlat->SetHotFaceColor(clrHotFace);
    pFlat->SetPressedFaceColor(clrPressedFace);
}

void CXTButton::ToggleShowImages()
{
    if (CXTButtonTheme* pTheme = GetButtonTheme())
        pTheme->SetShowImages(!pTheme->GetShowImages());
    if (::IsWindow(m_hWnd))
        Invalidate();
}

CFont* CXTButton::ReplaceFont(CFont* pFont)
{
    CFont* pOldFont = GetFont();
    if (pFont)
        SetFont(pFont, TRUE);
    return pOldFont;
}

BOOL CXTButton::MakeOwnerDraw()
{
    if (!::IsWindow(m_hWnd))
        return FALSE;
    ModifyStyle(0, BS_OWNERDRAW);
    return TRUE;
}

void CXTButton::CleanUpIcon()
{
    if (m_pIcon)
        m_pIcon->RefreshDerivedIcons();
}

CString CXTButton::GetButtonText(BOOL bRemoveAmpersand)
{
    CString strText;
    if (::IsWindow(m_hWnd))
        GetWindowText(strText);
    if (bRemoveAmpersand)
        StripAmpersands(strText);
    return strText;
}

void CXTButton::SetToggled(BOOL bToggled)
{
    if (m_bToggled == bToggled)
        return;
    m_bToggled = bToggled;
    if (::IsWindow(m_hWnd))
        Invalidate();
}

void CXTButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (CXTButtonTheme* pTheme = GetButtonTheme())
        pTheme->DrawItem(lpDrawItemStruct, this);
}

BOOL CXTButton::PreCreateWindow(CREATESTRUCT& cs)
{
    // OnCreate makes a button created here owner-drawn.
    m_bOwnerDrawOnSubclass = FALSE;
    return CButton::PreCreateWindow(cs);
}

void CXTButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    if (m_bOwnerDrawOnSubclass)
        MakeOwnerDraw();
}

int CXTButton::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CButton::OnCreate(lpCreateStruct) == -1)
        return -1;
    MakeOwnerDraw();
    return 0;
}

void CXTButton::OnThemeChanged()
{
    if (::IsWindow(m_hWnd))
        Invalidate();
}

void CXTButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_bPressed) {
        m_bPressed = TRUE;
        Invalidate(FALSE);
    }
    CButton::OnLButtonDown(nFlags, point);
}

void CXTButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bPressed) {
        m_bPressed = FALSE;
        Invalidate(FALSE);
    }
    CButton::OnLButtonUp(nFlags, point);
}

void CXTButton::OnLButtonDblClk(UINT nFlags, CPoint /*point*/)
{
    // A double click acts as a second click.
    CPoint pt;
    GetCursorClientPos(&pt, m_hWnd);
    SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(pt.x, pt.y));
}

void CXTButton::CheckHot()
{
    CPoint pt;
    ::GetCursorPos(&pt);
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CXTButtonTheme* pTheme = GetButtonTheme();
    if (rcWindow.PtInRect(pt) && !m_bPressed && pTheme && pTheme->WantsHotTracking(this)) {
        if (!m_bHotDrawn) {
            m_bHot = TRUE;
            m_bHotDrawn = TRUE;
            Invalidate(FALSE);
        }
        return;
    }
    KillTimer(hotTimerID);
    m_bHot = FALSE;
    if (m_bHotDrawn)
        Invalidate(FALSE);
    m_bHotDrawn = FALSE;
}

void CXTButton::OnMouseMove(UINT nFlags, CPoint point)
{
    CButton::OnMouseMove(nFlags, point);
    CXTButtonTheme* pTheme = GetButtonTheme();
    if (pTheme && pTheme->WantsHotTracking(this)) {
        SetTimer(hotTimerID, hotTimerElapse);
        CheckHot();
    }
}

void CXTButton::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == hotTimerID)
        CheckHot();
    else
        CButton::OnTimer(nIDEvent);
}

void CXTButton::OnPaint()
{
    CPaintDC dc(this);
    CRect rcClient;
    GetClientRect(&rcClient);
    CXTMemDC memDC(&dc, rcClient, CColorGradient(GetStandardColor(COLOR_3DFACE)));
    // The button's own painting asks for DrawItem with the buffer.
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.GetSafeHdc()), 0);
}

BOOL CXTButton::OnEraseBkgnd(CDC* /*pDC*/)
{
    return TRUE;
}

void CXTButton::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    if (CXTButtonTheme* pTheme = GetButtonTheme())
        pTheme->RefreshMetrics();
    CButton::OnSettingChange(uFlags, lpszSection);
}

void CXTButton::OnSysColorChange()
{
    if (CXTButtonTheme* pTheme = GetButtonTheme())
        pTheme->RefreshMetrics();
    CButton::OnSysColorChange();
}

BEGIN_MESSAGE_MAP(CXTButton, CButton)
    ON_WM_CREATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SETTINGCHANGE()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()
