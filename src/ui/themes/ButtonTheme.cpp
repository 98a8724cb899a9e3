#include "ui/themes/ButtonTheme.h"

#include "ui/themes/DrawHelpers.h"
#include "ui/themes/MemDC.h"
#include "ui/themes/ThemedButton.h"
#include "ui/persist/ImageManager.h"

#include <algorithm>

namespace
{
// The push-button part of the "BUTTON" class and its states.
enum { partPushButton = 1 };
enum { stateNormal = 1, stateHot = 2, statePressed = 3, stateDisabled = 4, stateDefaulted = 5 };
}

CXTButtonTheme::CXTButtonTheme() = default;

void CXTButtonTheme::RefreshMetrics()
{
    CXTThemeManagerStyle::RefreshMetrics();
    m_clrFace.SetDefaultValue(GetStandardColor(COLOR_3DFACE));
    m_clrText.SetDefaultValue(GetStandardColor(COLOR_BTNTEXT));
    m_clrDisabledText.SetDefaultValue(GetStandardColor(COLOR_GRAYTEXT));
    m_clrLight.SetDefaultValue(GetStandardColor(COLOR_3DFACE));
    m_clrShadow.SetDefaultValue(GetStandardColor(COLOR_3DSHADOW));
    m_clrHighlight.SetDefaultValue(GetStandardColor(COLOR_3DHILIGHT));
    m_clrDarkShadow.SetDefaultValue(GetStandardColor(COLOR_3DDKSHADOW));
}

BOOL CXTButtonTheme::WantsHotTracking(CXTButton* pButton)
{
    return UsesVisualStyles(pButton) || (pButton->GetDrawStyle() & (CXTButton::styleFlat | CXTButton::styleSemiFlat));
}

BOOL CXTButtonTheme::UsesVisualStyles(CXTButton* pButton)
{
    if (!(pButton->GetDrawStyle() & CXTButton::styleVisualStyles))
        return FALSE;
    if (!m_themeButton.IsOpen())
        m_themeButton.OpenThemeData(pButton->GetSafeHwnd(), L"BUTTON");
    return m_themeButton.IsStyleAvailable() && m_themeButton.IsOpen();
}

CFont* CXTButtonTheme::GetFont(CXTButton* pButton)
{
    if (m_font.GetSafeHandle())
        return &m_font;
    CFont* pFont = pButton->GetFont();
    // A button that was never given a font draws in the system's one.
    return pFont ? pFont : CFont::FromHandle(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
}

void CXTButtonTheme::SetFont(CFont* pFont)
{
    LOGFONT logfont;
    if (!pFont || !pFont->GetSafeHandle() || !pFont->GetLogFont(&logfont))
        return;
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&logfont);
}

void CXTButtonTheme::SetColors(COLORREF clrFace, COLORREF clrLight, COLORREF clrShadow, COLORREF clrText)
{
    SetFaceColor(clrFace);
    SetLightColor(clrLight);
    SetShadowColor(clrShadow);
    SetTextColor(clrText);
}

BOOL CXTButtonTheme::IsPressed(UINT nState, CXTButton* pButton)
{
    return (nState & ODS_SELECTED) || pButton->IsToggled();
}

CPoint CXTButtonTheme::GetImageOffset(CSize szImage, CXTButton* pButton)
{
    CRect rcClient;
    pButton->GetClientRect(&rcClient);
    const int x = (pButton->GetDrawStyle() & CXTButton::styleImageAbove)
                      ? std::max(0, static_cast<int>(rcClient.Width() - szImage.cx) / 2)
                      : pButton->GetImageGap();
    return CPoint(x, std::max(0, static_cast<int>(rcClient.Height() - szImage.cy) / 2));
}

CPoint CXTButtonTheme::GetImagePoint(const CRect& rcItem, CXTButton* pButton)
{
    if (pButton->HasUserPositions())
        return pButton->GetUserImagePoint();
    const CSize szImage = pButton->GetImageSize();
    const DWORD dwStyle = pButton->GetStyle();
    const BOOL bAbove = (pButton->GetDrawStyle() & CXTButton::styleImageAbove) != 0;
    const CString strCaption = pButton->GetButtonText(TRUE);
    CPoint pt = GetImageOffset(szImage, pButton);
    const BOOL bFitsX = szImage.cx <= rcItem.Width();
    const BOOL bFitsY = szImage.cy <= rcItem.Height();

    if (!bAbove) {
        if (strCaption.IsEmpty()) {
            if ((dwStyle & BS_CENTER) == BS_CENTER && bFitsX)
                pt.x = rcItem.left + (rcItem.Width() - szImage.cx) / 2;
            if ((dwStyle & BS_VCENTER) == BS_VCENTER && bFitsY)
                pt.y = rcItem.top + (rcItem.Height() - szImage.cy) / 2;
        }
        return pt;
    }
    if (!strCaption.IsEmpty()) {
        CClientDC dc(pButton);
        CFont* pOldFont = dc.SelectObject(GetFont(pButton));
        const CSize szCaption = dc.GetTextExtent(strCaption);
        dc.SelectObject(pOldFont);
        pt.y -= szCaption.cy / 2 + pButton->GetImageTextGap() / 2;
    }
    switch (dwStyle & BS_CENTER) {
    case BS_LEFT:
        break;
    case BS_RIGHT:
        pt.x = rcItem.right - pButton->GetImageGap() - szImage.cx;
        break;
    default:
        if (bFitsX)
            pt.x = rcItem.left + (rcItem.Width() - szImage.cx) / 2;
        break;
    }
    return pt;
}

CPoint CXTButtonTheme::GetCaptionPoint(const CRect& rcFace, CSize szCaption, CXTButton* pButton)
{
    if (pButton->HasUserPositions())
        return pButton->GetUserCaptionPoint();
    const BOOL bAbove = (pButton->GetDrawStyle() & CXTButton::styleImageAbove) != 0;
    const BOOL bImage = m_bShowImages && pButton->GetIcon() != nullptr;
    const CSize szImage = bImage ? pButton->GetImageSize() : CSize(0, 0);
    CPoint pt = GetImageOffset(szCaption, pButton);
    if (bAbove && bImage)
        pt.y += pButton->GetImageTextGap() / 2 + szImage.cy / 2;
    switch (pButton->GetStyle() & BS_CENTER) {
    case BS_LEFT:
        pt.x = rcFace.left + pButton->GetImageGap();
        if (!bAbove && bImage)
            pt.x += szImage.cx + pButton->GetImageTextGap();
        break;
    case BS_RIGHT:
        pt.x = rcFace.right - pButton->GetImageGap() - szCaption.cx;
        break;
    default: {
        const int nLeft = rcFace.left + (bAbove ? 0 : szImage.cx);
        const int nRight = rcFace.right - pButton->GetImageGap();
        pt.x = nLeft + (nRight - nLeft - szCaption.cx) / 2;
        break;
    }
    }
    return pt;
}

COLORREF CXTButtonTheme::GetCaptionColor(UINT nState, CXTButton* /*pButton*/)
{
    return (nState & ODS_DISABLED) ? m_clrDisabledText : m_clrText;
}

void CXTButtonTheme::DrawCaption(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton)
{
    const CString strText = pButton->GetButtonText(FALSE);
    if (strText.IsEmpty())
        return;
    CFont* pOldFont = pDC->SelectObject(GetFont(pButton));
    CString strMeasured = strText;
    StripAmpersands(strMeasured);
    const CSize szCaption = pDC->GetTextExtent(strMeasured);
    CRect rcFace = rcItem;
    rcFace.DeflateRect(2, 2);
    CPoint pt = GetCaptionPoint(rcFace, szCaption, pButton);
    if ((nState & ODS_SELECTED) && m_bOffsetWhenPressed)
        pt.Offset(1, 1);
    pDC->SetTextColor(GetCaptionColor(nState, pButton));
    pDC->SetTextAlign(TA_LEFT);
    ::DrawStateW(pDC->GetSafeHdc(), nullptr, nullptr, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strText)),
                 static_cast<WPARAM>(strText.GetLength()), pt.x, pt.y, szCaption.cx, szCaption.cy,
                 DST_PREFIXTEXT | DSS_NORMAL);
    pDC->SelectObject(pOldFont);
}

void CXTButtonTheme::DrawImage(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton)
{
    CXTPImageManagerIcon* pIcon = pButton->GetIcon();
    if (!m_bShowImages || !pIcon)
        return;
    CPoint pt = GetImagePoint(rcItem, pButton);
    const BOOL bPressed = IsPressed(nState, pButton);
    if (bPressed)
        pt.Offset(1, 1);
    if (nState & ODS_DISABLED)
        pIcon->Draw(pDC, pt, pIcon->GetDisabledIcon(), pButton->GetImageSize());
    else if (bPressed || pButton->IsHot())
        pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), pButton->GetImageSize());
    else
        pIcon->Draw(pDC, pt, pIcon->GetIcon(), pButton->GetImageSize());
}

BOOL CXTButtonTheme::DrawVisualStyleFace(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton)
{
    if (!UsesVisualStyles(pButton))
        return FALSE;
    int nStateId = stateNormal;
    if (nState & ODS_FOCUS)
        nStateId = stateDefaulted;
    if (pButton->IsHot())
        nStateId = stateHot;
    if (IsPressed(nState, pButton))
        nStateId = statePressed;
    if (nState & ODS_DISABLED)
        nStateId = stateDisabled;
    return m_themeButton.DrawThemeBackground(pDC->GetSafeHdc(), partPushButton, nStateId, &rcItem, nullptr) == S_OK;
}

void CXTButtonTheme::DrawFace(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton)
{
    const BOOL bPressed = IsPressed(nState, pButton);
    const BOOL bHot = pButton->IsHot();
    const DWORD dwStyle = pButton->GetDrawStyle();
    pDC->FillSolidRect(&rcItem, m_clrFace);
    if ((dwStyle & CXTButton::styleHalftone) && bPressed)
        DrawPatternRect(pDC, rcItem);

    if (dwStyle & CXTButton::styleFlat) {
        if (bPressed)
            pDC->Draw3dRect(&rcItem, m_clrShadow, m_clrHighlight);
        else if (bHot)
            pDC->Draw3dRect(&rcItem, m_clrHighlight, m_clrShadow);
    } else if (dwStyle & CXTButton::styleSemiFlat) {
        if (bPressed)
            pDC->Draw3dRect(&rcItem, m_clrShadow, m_clrHighlight);
        else
            pDC->Draw3dRect(&rcItem, m_clrHighlight, m_clrShadow);
    } else {
        CRect rcInner = rcItem;
        rcInner.DeflateRect(1, 1);
        if (bPressed) {
            pDC->Draw3dRect(&rcItem, m_clrDarkShadow, m_clrHighlight);
            pDC->Draw3dRect(&rcInner, m_clrShadow, m_clrLight);
        } else {
            pDC->Draw3dRect(&rcItem, m_clrHighlight, m_clrDarkShadow);
            pDC->Draw3dRect(&rcInner, m_clrLight, m_clrShadow);
        }
    }
}

void CXTButtonTheme::DrawFocus(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton)
{
    CRect rcFocus = rcItem;
    const int nInset = UsesVisualStyles(pButton) ? 4 : 2;
    rcFocus.DeflateRect(nInset, nInset);
    pDC->SetTextColor(GetCaptionColor(nState, pButton));
    pDC->DrawFocusRect(&rcFocus);
}

void CXTButtonTheme::DrawItem(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const CRect rcItem(lpDIS->rcItem);
    const UINT nState = lpDIS->itemState;
    if (!DrawVisualStyleFace(pDC, rcItem, nState, pButton))
        DrawFace(pDC, rcItem, nState, pButton);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    DrawImage(pDC, rcItem, nState, pButton);
    DrawCaption(pDC, rcItem, nState, pButton);
    if ((pButton->GetDrawStyle() & CXTButton::styleFocusRect) && (nState & ODS_FOCUS))
        DrawFocus(pDC, rcItem, nState, pButton);
    pDC->SetBkMode(nOldMode);
}

// Flat theme

CXTButtonThemeFlat::CXTButtonThemeFlat(BOOL bSchemeFace) : m_bSchemeFace(bSchemeFace)
{
    m_bOffsetWhenPressed = FALSE;
}

void CXTButtonThemeFlat::RefreshMetrics()
{
    CXTButtonTheme::RefreshMetrics();
    m_clrFace.SetDefaultValue(GetStandardColor(m_bSchemeFace ? 30 : COLOR_3DFACE));
    m_clrPressedFace.SetDefaultValue(GetStandardColor(33));
    m_clrHotFace.SetDefaultValue(GetStandardColor(31));
    m_clrLight.SetDefaultValue(GetStandardColor(32));
    m_clrShadow.SetDefaultValue(GetStandardColor(COLOR_3DSHADOW));
    m_clrText.SetDefaultValue(GetStandardColor(46));
    m_clrHotText.SetDefaultValue(GetStandardColor(45));
    m_clrPressedText.SetDefaultValue(GetStandardColor(47));
    m_clrToggledFace.SetDefaultValue(GetStandardColor(36));
}

void CXTButtonThemeFlat::SetSchemeFace(BOOL bSchemeFace)
{
    m_bSchemeFace = bSchemeFace;
    RefreshMetrics();
}

COLORREF CXTButtonThemeFlat::GetCaptionColor(UINT nState, CXTButton* pButton)
{
    if (nState & ODS_DISABLED)
        return GetStandardColor(COLOR_GRAYTEXT);
    if (pButton->IsHot())
        return m_clrHotText;
    if (nState & ODS_SELECTED)
        return m_clrPressedText;
    return m_clrText;
}

void CXTButtonThemeFlat::DrawFace(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton)
{
    const BOOL bSelected = (nState & ODS_SELECTED) != 0;
    const BOOL bToggled = pButton->IsToggled();
    const BOOL bHot = pButton->IsHot();
    COLORREF clrFill;
    if (bSelected)
        clrFill = m_clrPressedFace;
    else if (bToggled)
        clrFill = bHot ? m_clrPressedFace : m_clrToggledFace;
    else if (bHot)
        clrFill = m_clrHotFace;
    else {
        pDC->FillSolidRect(&rcItem, m_clrFace);
        if (m_bSchemeFace)
            pDC->Draw3dRect(&rcItem, m_clrShadow, m_clrShadow);
        return;
    }
    pDC->FillSolidRect(&rcItem, clrFill);
    pDC->Draw3dRect(&rcItem, m_clrLight, m_clrLight);
}

void CXTButtonThemeFlat::DrawFocus(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton)
{
    if (!m_bSchemeFace || pButton->IsHot() || IsPressed(nState, pButton) || UsesVisualStyles(pButton)) {
        CXTButtonTheme::DrawFocus(pDC, rcItem, nState, pButton);
        return;
    }
    const COLORREF clrFrame = GetStandardColor(COLOR_HIGHLIGHT);
    CRect rc = rcItem;
    pDC->Draw3dRect(&rc, clrFrame, clrFrame);
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(&rc, clrFrame, clrFrame);
}

// Office 2003 theme

void CXTButtonThemeOffice2003::RefreshMetrics()
{
    CXTButtonThemeFlat::RefreshMetrics();
    struct SCHEME_COLORS
    {
        COLORREF clrFace, clrShadow, clrBorder;
    };
    static const SCHEME_COLORS schemes[] = {
        {RGB(0xA9, 0xC7, 0xF0), RGB(0x7F, 0x9D, 0xB9), RGB(0x00, 0x00, 0x80)},
        {RGB(0xC5, 0xD4, 0x9F), RGB(0xA4, 0xB9, 0x7F), RGB(0x3F, 0x5D, 0x38)},
        {RGB(0xC0, 0xC0, 0xD3), RGB(0xA5, 0xAC, 0xB2), RGB(0x4B, 0x4B, 0x0B)},
    };
    const int nScheme = GetColorTable()->GetCurrentScheme();
    if (nScheme < CColorTable::schemeBlue || nScheme > CColorTable::schemeSilver)
        return;
    const SCHEME_COLORS& scheme = schemes[nScheme - CColorTable::schemeBlue];
    if (m_bSchemeFace)
        m_clrFace.SetDefaultValue(scheme.clrFace);
    m_clrShadow.SetDefaultValue(scheme.clrShadow);
    m_clrLight.SetDefaultValue(scheme.clrBorder);
    m_clrHotFace.SetDefaultValue(RGB(0xFF, 0xEE, 0xC2));
    m_clrPressedFace.SetDefaultValue(RGB(0xFE, 0x80, 0x3E));
    m_clrToggledFace.SetDefaultValue(RGB(0xFF, 0xC0, 0x6F));
    m_clrText.SetDefaultValue(0);
    m_clrHotText.SetDefaultValue(0);
    m_clrPressedText.SetDefaultValue(0);
}

void CXTButtonThemeOffice2003::DrawImage(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton)
{
    CXTPImageManagerIcon* pIcon = pButton->GetIcon();
    if (!m_bShowImages || !pIcon)
        return;
    const CPoint pt = GetImagePoint(rcItem, pButton);
    if (nState & ODS_DISABLED)
        pIcon->Draw(pDC, pt, pIcon->GetDisabledIcon(), pButton->GetImageSize());
    else if (nState & ODS_SELECTED)
        pIcon->Draw(pDC, pt, pIcon->GetHotIcon(), pButton->GetImageSize());
    else
        pIcon->Draw(pDC, pt, pIcon->GetIcon(), pButton->GetImageSize());
}

void CXTButtonThemeOffice2003::DrawFace(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton)
{
    const BOOL bSelected = (nState & ODS_SELECTED) != 0;
    const BOOL bToggled = pButton->IsToggled();
    const BOOL bHot = pButton->IsHot();
    int nGradient;
    if (bSelected)
        nGradient = 9;
    else if (bHot)
        nGradient = 10;
    else if (bToggled)
        nGradient = 8;
    else {
        pDC->FillSolidRect(&rcItem, m_clrFace);
        if (m_bSchemeFace)
            pDC->Draw3dRect(&rcItem, m_clrShadow, m_clrShadow);
        return;
    }
    GetGradientPainter()->FillGradient(pDC, &rcItem, &GetColorTable()->GetGradient(nGradient), FALSE);
    pDC->Draw3dRect(&rcItem, m_clrLight, m_clrLight);
}

IMPLEMENT_DYNCREATE(CXTButtonThemeFactory, CXTThemeManagerStyleFactory)

CXTThemeManagerStyle* CXTButtonThemeFactory::CreateTheme(int nTheme)
{
    switch (nTheme) {
    case 1:
        return new CXTButtonThemeFlat;
    case 2:
        return new CXTButtonThemeOffice2003;
    default:
        return new CXTButtonTheme;
    }
}
