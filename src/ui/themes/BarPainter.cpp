#include "ui/themes/BarPainter.h"

#include "ui/commandbars/XTPCommandBar.h"
#include "ui/commandbars/XTPControlComboBox.h"
#include "ui/commandbars/XTPControlEdit.h"
#include "ui/commandbars/XTPStatusBarPane.h"
#include "ui/themes/BarIcon.h"
#include "ui/themes/BarThemeDefault.h"
#include "ui/themes/BarThemeGradient.h"
#include "ui/themes/BarThemeVisualStyles.h"
#include "ui/themes/DrawHelpers.h"

#include <cstdlib>
#include <vector>

CXTPBarPainter* CXTPBarPainter::s_pInstalled = nullptr;

void CXTPFontHolder::Replace(const LOGFONT& lf)
{
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&lf);
}

CXTPBarPainter::CXTPBarPainter()
{
    RefreshMetrics();
}

CXTPBarPainter::~CXTPBarPainter() = default;

CXTPBarPainter* CXTPBarPainter::CreateTheme(int nTheme)
{
    CXTPBarPainter* pPainter;
    switch (nTheme) {
    case themeShadowed: pPainter = new CXTPBarThemeShadowed; break;
    case themeGradient: pPainter = new CXTPBarThemeGradient; break;
    case themeGradientVariant: pPainter = new CXTPBarThemeGradientVariant; break;
    case themeVisualStyles: pPainter = new CXTPBarThemeVisualStyles; break;
    default: pPainter = new CXTPBarThemeDefault; break;
    }
    pPainter->m_nThemeId = nTheme;
    return pPainter;
}

void CXTPBarPainter::SetPainter(CXTPBarPainter* pPainter)
{
    static const bool bRegistered = (std::atexit(ReleasePainter), true);
    (void)bRegistered;
    if (s_pInstalled && s_pInstalled != pPainter)
        s_pInstalled->InternalRelease();
    s_pInstalled = pPainter;
    // Null uninstalls: the next caller gets the default theme.
    if (pPainter)
        pPainter->m_nThemeId = themeCustom;
}

void CXTPBarPainter::SetTheme(int nTheme)
{
    SetPainter(CreateTheme(nTheme));
    s_pInstalled->m_nThemeId = nTheme;
}

void CXTPBarPainter::ReleasePainter()
{
    if (s_pInstalled)
        s_pInstalled->InternalRelease();
    s_pInstalled = nullptr;
}

CXTPBarPainter* CXTPBarPainter::GetInstalled()
{
    if (!s_pInstalled)
        SetTheme(themeDefault);
    return s_pInstalled;
}

COLORREF CXTPBarPainter::GetColor(int nIndex) const
{
    if (nIndex < 0 || nIndex >= CColorTable::colorCount)
        return static_cast<COLORREF>(nIndex);
    return m_colors[nIndex];
}

void CXTPBarPainter::SetStandardColors(int nCount, const int* pIndices, const COLORREF* pColors)
{
    for (int i = 0; i < nCount; i++)
        if (pIndices[i] >= 0 && pIndices[i] < CColorTable::colorCount)
            m_colors[pIndices[i]].SetDefaultValue(pColors[i]);
}

void CXTPBarPainter::SetColor(int nIndex, COLORREF clr)
{
    if (nIndex >= 0 && nIndex < CColorTable::colorCount)
        m_colors[nIndex].SetValue(clr);
}

int CXTPBarPainter::GetScheme() const
{
    if (m_nScheme == 5)
        return GetColorTable()->IsSchemeColorsDisabled() ? CColorTable::schemeNone
                                                         : GetColorTable()->GetCurrentScheme();
    if (m_nScheme == 4)
        return CColorTable::DetectScheme();
    return m_nScheme;
}

void CXTPBarPainter::SetScheme(int nScheme)
{
    m_nScheme = nScheme;
    RefreshMetrics();
}

void CXTPBarPainter::SetUseTahoma(BOOL bUseTahoma)
{
    m_bUseTahoma = bUseTahoma;
    RefreshMetrics();
}

void CXTPBarPainter::UpdateFonts()
{
    NONCLIENTMETRICS ncm;
    GetNonClientMetrics(&ncm);
    if (m_bUseSystemFont) {
        LOGFONT lf = ncm.lfMenuFont;
        if (lf.lfHeight < 0 && lf.lfHeight > -11)
            lf.lfHeight = -11;
        CWindowDC dc(nullptr);
        lf.lfCharSet = static_cast<BYTE>(::GetTextCharset(dc));
        SetFont(&lf, TRUE);
    }
    if (m_fontCaption.NeedsFont())
        m_fontCaption.Replace(ncm.lfSmCaptionFont);
    LOGFONT lfIcon = {};
    ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lfIcon), &lfIcon, 0);
    if (m_fontIconTitle.NeedsFont())
        m_fontIconTitle.Replace(lfIcon);
    lfIcon.lfWeight = FW_BOLD;
    if (m_fontIconTitleBold.NeedsFont())
        m_fontIconTitleBold.Replace(lfIcon);
}

void CXTPBarPainter::SetFont(const LOGFONT* pLogFont, BOOL bDefault)
{
    m_bUseSystemFont = bDefault;
    if (!pLogFont)
        return;
    for (CFont* pFont : {&m_fontNormal, &m_fontBold, &m_fontVert, &m_fontVertBold})
        pFont->DeleteObject();
    LOGFONT lf = *pLogFont;
    BOOL bTahomaInstalled = IsFontInstalled(L"Tahoma");
    if (lstrcmpiW(lf.lfFaceName, L"Tahoma") == 0)
        m_bUseTahoma = TRUE;
    if (lf.lfCharSet <= SYMBOL_CHARSET && bDefault && m_bUseTahoma && bTahomaInstalled)
        lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
    m_fontNormal.CreateFontIndirect(&lf);
    LOGFONT lfBold = lf;
    lfBold.lfWeight = FW_BOLD;
    m_fontBold.CreateFontIndirect(&lfBold);

    LOGFONT lfVert = lf;
    lfVert.lfEscapement = 2700;
    lfVert.lfOrientation = 900;
    lstrcpynW(lfVert.lfFaceName, GetDefaultFontFace(m_bUseTahoma), LF_FACESIZE);
    m_fontVert.CreateFontIndirect(&lfVert);
    lfVert.lfWeight = FW_BOLD;
    m_fontVertBold.CreateFontIndirect(&lfVert);

    CWindowDC dc(nullptr);
    CFontSelector font(&dc, &m_fontNormal);
    m_nTextHeight = dc.GetTextExtent(L" ", 1).cy + 6;
}

void CXTPBarPainter::RefreshMetrics()
{
    UpdateFonts();
    CColorTable::RefreshIfStale();
    for (int i = 0; i < CColorTable::colorCount; i++)
        m_colors[i].SetDefaultValue(GetColorTable()->GetColor(static_cast<UINT>(i)));
    m_clrShadow = 0;
    m_clrDefaultText = GetColor(COLOR_BTNTEXT);
}

CSize CXTPBarPainter::DrawControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw)
{
    if (pControl->IsKindOf(RUNTIME_CLASS(CXTPControlEdit)))
        return DrawEditControl(pDC, pControl, bDraw);
    if (pControl->IsKindOf(RUNTIME_CLASS(CXTPControlComboBox)))
        return DrawComboBoxControl(pDC, pControl, bDraw);
    CXTPCommandBar* pBar = pControl->GetParent();
    if (pBar && pBar->GetType() == xtpBarTypePopup)
        return DrawPopupBarControl(pDC, pControl, bDraw);
    return DrawToolBarControl(pDC, pControl, bDraw);
}

void CXTPBarPainter::FillTriangle(CDC* pDC, CPoint pt0, CPoint pt1, CPoint pt2, COLORREF clr)
{
    ::FillTriangle(pDC, pt0, pt1, pt2, clr);
}

void CXTPBarPainter::Rectangle(CDC* pDC, CRect rc, int nFrame, int nFill)
{
    if (static_cast<COLORREF>(nFill) != XTP_COLOR_NONE)
        pDC->FillSolidRect(rc, GetColor(nFill));
    if (static_cast<COLORREF>(nFrame) != XTP_COLOR_NONE && nFrame != nFill)
        pDC->Draw3dRect(rc, GetColor(nFrame), GetColor(nFrame));
}

void CXTPBarPainter::Draw3dRect(CDC* pDC, CRect rc, int nTopLeft, int nBottomRight)
{
    pDC->Draw3dRect(rc, GetColor(nTopLeft), GetColor(nBottomRight));
}

void CXTPBarPainter::Line(CDC* pDC, int x0, int y0, int x1, int y1)
{
    pDC->MoveTo(x0, y0);
    pDC->LineTo(x1, y1);
}

void CXTPBarPainter::Line(CDC* pDC, int x0, int y0, int x1, int y1, int nColor)
{
    CPenSelector pen(pDC, GetColor(nColor));
    Line(pDC, x0, y0, x1, y1);
}

void CXTPBarPainter::Pixel(CDC* pDC, int x, int y, int nColor)
{
    pDC->SetPixel(x, y, GetColor(nColor));
}

void CXTPBarPainter::DrawGradient(CDC* pDC, CRect rc, COLORREF clrFrom, COLORREF clrTo, BOOL bHorizontal)
{
    GetGradientPainter()->DrawGradient(pDC, &rc, clrFrom, clrTo, bHorizontal);
}

CSize CXTPBarPainter::DrawControlText(CDC* pDC, CString strCaption, CRect rc, BOOL bDraw, BOOL bVertical,
                                      BOOL bCentre, BOOL bArrow, BOOL bEmbossed, BOOL bUnderline)
{
    CString strStripped = strCaption;
    StripAmpersands(strStripped);
    if (m_nKeyboardCues >= 0)
        bUnderline = m_nKeyboardCues != 0;

    if (!bDraw) {
        CSize sz = pDC->GetTextExtent(strStripped.IsEmpty() ? CString(L" ") : strStripped);
        if (bArrow)
            sz.cx += 10;
        return bVertical ? CSize(sz.cy, sz.cx) : sz;
    }

    CSize szText = pDC->GetTextExtent(strStripped);
    COLORREF clrText = pDC->GetTextColor();
    if (!bVertical) {
        CRect rcText = rc;
        if (bCentre) {
            int cx = szText.cx + (bArrow ? 5 : 0);
            rcText.left = rc.left + (rc.Width() - cx) / 2;
            rcText.right = rcText.left + szText.cx;
        }
        UINT nFormat = DT_SINGLELINE | DT_VCENTER | (bUnderline ? 0 : DT_NOPREFIX);
        const CString& strOut = bUnderline ? strCaption : strStripped;
        if (bEmbossed) {
            pDC->SetTextColor(GetColor(COLOR_BTNHIGHLIGHT));
            CRect rcEmboss = rcText;
            rcEmboss.OffsetRect(1, 1);
            pDC->DrawText(strOut, rcEmboss, nFormat);
            pDC->SetTextColor(clrText);
        }
        pDC->DrawText(strOut, rcText, nFormat);
        if (bArrow) {
            int x = rcText.left + szText.cx + 5, y = rc.CenterPoint().y - 1;
            FillTriangle(pDC, CPoint(x, y), CPoint(x + 4, y), CPoint(x + 2, y + 2), clrText);
        }
    } else {
        int x = rc.right - (rc.Width() - szText.cy + 1) / 2;
        int y = bCentre ? rc.top + (rc.Height() - szText.cx) / 2 : rc.top;
        CRect rcText(x, y, x + szText.cy, y + szText.cx);
        UINT nFormat = DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX;
        if (bEmbossed) {
            pDC->SetTextColor(GetColor(COLOR_BTNHIGHLIGHT));
            CRect rcEmboss = rcText;
            rcEmboss.OffsetRect(1, 1);
            pDC->DrawText(strStripped, rcEmboss, nFormat);
            pDC->SetTextColor(clrText);
        }
        pDC->DrawText(strStripped, rcText, nFormat);
        if (bArrow) {
            int cx = rc.CenterPoint().x, cy = y + szText.cx + 5;
            FillTriangle(pDC, CPoint(cx + 1, cy), CPoint(cx + 1, cy + 4), CPoint(cx - 1, cy + 2), clrText);
        }
    }
    return CSize(0, 0);
}

CXTPBarIcon* CXTPBarPainter::GetToolBarIcon(CXTPControl* pControl, CSize szIcon) const
{
    int nStyle = pControl->GetStyle();
    BOOL bShowIcon = nStyle == xtpButtonIcon || nStyle == xtpButtonIconAndCaption ||
                     (nStyle == xtpButtonAutomatic && pControl->GetType() != xtpControlPopup);
    return bShowIcon ? pControl->GetImage(szIcon.cx) : nullptr;
}

CSize CXTPBarPainter::DrawToolBarControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw)
{
    int nType = pControl->GetType();
    if (nType < xtpControlButton || nType > xtpControlSplitButtonPopup)
        return CSize(0, 0);
    CXTPCommandBar* pBar = pControl->GetParent();
    int nPosition = pBar ? pBar->GetPosition() : xtpBarTop;
    BOOL bVert = nPosition == xtpBarLeft || nPosition == xtpBarRight;
    CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
    CSize szButton = pBar ? pBar->GetButtonSize() : szIcon + CSize(7, 7);
    CXTPBarIcon* pIcon = GetToolBarIcon(pControl, szIcon);
    BOOL bCaption = pControl->IsCaptionVisible();
    // Without an icon a box of 23 x 23 stands in its place, caption or not.
    CSize szBox = pIcon ? szButton : CSize(23, 23);

    CFontSelector font(pDC, GetControlFont(pBar, pControl->IsDefaultItem()));
    CString strCaption = pControl->GetCaption();
    CRect rc = bDraw ? pControl->GetRect() : CRect(0, 0, 0, 0);
    BOOL bPopupNoCaption = nType == xtpControlPopup && !bCaption;

    if (!bDraw) {
        CSize sz = szBox;
        if (nType == xtpControlPopup && bCaption) {
            CSize szText = DrawControlText(pDC, strCaption, rc, FALSE, bVert, FALSE, FALSE, FALSE, FALSE);
            return szText + CSize(6 * 2, 6);
        }
        if (bCaption) {
            CSize szText = DrawControlText(pDC, strCaption, rc, FALSE, bVert, FALSE, FALSE, FALSE, FALSE);
            if (bVert)
                sz = CSize(std::max(szBox.cx, szText.cx), szBox.cy + szText.cy + 6);
            else
                sz = CSize(szBox.cx + szText.cx + 6, std::max(szBox.cy, szText.cy + 6));
        }
        if (bPopupNoCaption)
            sz.cx = sz.cy + 7;
        if (nType == xtpControlSplitButtonPopup)
            sz.cx += 11;
        return sz;
    }

    if (nType == xtpControlSplitButtonPopup)
        DrawSplitButtonFace(pDC, pControl, rc);
    else
        DrawControlFace(pDC, pControl);

    CRect rcFace = rc;
    if (nType == xtpControlSplitButtonPopup && !pControl->IsWholeFacePopup())
        rcFace.right -= 11;
    if (bPopupNoCaption)
        rcFace.right -= 7;
    BOOL bEnabled = pControl->GetEnabled();
    if (pIcon) {
        CRect rcIcon = rcFace;
        if (bCaption) {
            if (bVert)
                rcIcon.bottom = rcIcon.top + szBox.cy;
            else
                rcIcon.right = rcIcon.left + szBox.cx;
        }
        CPoint pt(rcIcon.left + (rcIcon.Width() - szIcon.cx) / 2, rcIcon.top + (rcIcon.Height() - szIcon.cy) / 2);
        DrawImage(pDC, pt, szIcon, pIcon, pControl->GetSelected(), pControl->GetPressed(), bEnabled,
                  pControl->GetChecked(), pControl->IsWholeFacePopup(), TRUE);
    }
    if (bCaption) {
        CRect rcText = rcFace;
        if (pIcon || nType != xtpControlPopup) {
            if (bVert)
                rcText.top += szBox.cy;
            else
                rcText.left += szBox.cx;
        }
        DrawControlText(pDC, strCaption, rcText, TRUE, bVert, nType == xtpControlPopup, FALSE, FALSE,
                        pBar && pBar->IsKeyboardCuesVisible());
    }
    if (bPopupNoCaption) {
        int x = rc.right - 7, y = rc.CenterPoint().y - 1;
        FillTriangle(pDC, CPoint(x - 2, y), CPoint(x + 2, y), CPoint(x, y + 2), pDC->GetTextColor());
    }
    return CSize(0, 0);
}

void CXTPBarPainter::DrawSplitButtonFace(CDC* pDC, CXTPControl* pControl, CRect rc)
{
    CXTPCommandBar* pBar = pControl->GetParent();
    int nPosition = pBar ? pBar->GetPosition() : xtpBarTop;
    BOOL bWhole = pControl->IsWholeFacePopup();
    CRect rcFace = rc;
    if (!bWhole)
        rcFace.right -= 11;
    BOOL bEnabled = pControl->GetEnabled();
    DrawControlEntry(pDC, rcFace, bEnabled, pControl->GetSelected(), pControl->GetPressed(), pControl->GetChecked(),
                     bWhole, nPosition);
    COLORREF clrText = pDC->GetTextColor();
    if (!bWhole && bEnabled && (pControl->GetSelected() || pControl->GetPressed())) {
        DrawControlEntry(pDC, CRect(rc.right - 12, rc.top, rc.right, rc.bottom), TRUE, TRUE, FALSE, FALSE, FALSE,
                         nPosition);
        pDC->SetTextColor(clrText);
    }
    int y = rc.CenterPoint().y;
    FillTriangle(pDC, CPoint(rc.right - 9, y - 1), CPoint(rc.right - 5, y - 1), CPoint(rc.right - 7, y + 1), clrText);
}

void CXTPBarPainter::DrawControlFace(CDC* pDC, CXTPControl* pControl)
{
    CXTPCommandBar* pBar = pControl->GetParent();
    DrawControlEntry(pDC, pControl->GetRect(), pControl->GetEnabled(), pControl->GetSelected(),
                     pControl->GetPressed(), pControl->GetChecked(), pControl->IsWholeFacePopup(),
                     pBar ? pBar->GetPosition() : xtpBarTop);
}

void CXTPBarPainter::SetControlTextColor(CDC* pDC, CXTPControl* pControl)
{
    CXTPCommandBar* pBar = pControl->GetParent();
    pDC->SetTextColor(GetColor(GetControlTextColorIndex(pControl->GetEnabled(), pControl->GetSelected(),
                                                        pControl->GetPressed(), pControl->GetChecked(),
                                                        pControl->IsWholeFacePopup(),
                                                        pBar ? pBar->GetPosition() : xtpBarTop)));
}

void CXTPBarPainter::DrawStatusBarPane(CDC* pDC, CRect rc, CXTPStatusBarPane* pPane)
{
    BOOL bEnabled = (pPane->m_nStyle & CXTPStatusBarPane::styleDisabled) == 0;
    if (pPane->m_clrBackground != static_cast<COLORREF>(-1)) {
        CRect rcFill = rc;
        if (!(pPane->m_nStyle & CXTPStatusBarPane::styleNoBorders))
            rcFill.DeflateRect(1, 1);
        pDC->FillSolidRect(rcFill, pPane->m_clrBackground);
    }
    CFont* pFont = pPane->GetFont();
    CFontSelector font(pDC, pFont ? pFont : &m_fontNormal);
    CRect rcText = rc;
    rcText.DeflateRect(2, 1);
    CString strText = pPane->GetText();
    CXTPBarIcon* pIcon = pPane->GetImage();
    CSize szIcon = pIcon ? pIcon->GetExtent() : CSize(0, 0);
    int cxText = strText.IsEmpty() ? 0 : pDC->GetTextExtent(strText).cx;
    int cxNeeded = szIcon.cx + (strText.IsEmpty() ? 0 : 2) + cxText;
    if (rcText.Width() > cxNeeded) {
        if (pPane->m_nAlignment == CXTPStatusBarPane::alignRight)
            rcText.left = rcText.right - cxNeeded;
        else if (pPane->m_nAlignment == CXTPStatusBarPane::alignCenter)
            rcText.left += (rcText.Width() - cxNeeded) / 2;
    }
    if (pIcon) {
        if (szIcon.cy <= rcText.Height())
            pIcon->Draw(pDC, CPoint(rcText.left, rcText.top + (rcText.Height() - szIcon.cy) / 2),
                        bEnabled ? CXTPBarIcon::imageNormal : CXTPBarIcon::imageDisabled, szIcon);
        rcText.left += szIcon.cx + 2;
    }
    pDC->SetTextColor(!bEnabled ? GetColor(COLOR_GRAYTEXT)
                      : pPane->m_clrText != static_cast<COLORREF>(-1) ? pPane->m_clrText : m_clrDefaultText);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strText, rcText, DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
}

void CXTPBarPainter::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, CXTPStatusBarPane* /*pPane*/)
{
    Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
}

void CXTPBarPainter::DrawStatusBarGripper(CDC* pDC, CRect rc)
{
    int w = rc.Width(), h = rc.Height(), x = rc.left, y = rc.top;
    {
        CPenSelector pen(pDC, GetColor(COLOR_BTNSHADOW));
        for (int k = 0; k < 3; k++) {
            Line(pDC, x + w - 3 - 4 * k, y + h - 2, x + w - 1, y + h - 4 - 4 * k);
            Line(pDC, x + w - 4 - 4 * k, y + h - 2, x + w - 1, y + h - 5 - 4 * k);
        }
    }
    CPenSelector pen(pDC, GetColor(COLOR_BTNHIGHLIGHT));
    for (int k = 0; k < 3; k++)
        Line(pDC, x + w - 5 - 4 * k, y + h - 2, x + w - 1, y + h - 6 - 4 * k);
}

void CXTPBarPainter::FillDockBar(CDC* pDC, CWnd* pWnd)
{
    CRect rc;
    pWnd->GetClientRect(&rc);
    pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
}

void CXTPBarPainter::FillStatusBar(CDC* pDC, CWnd* pWnd)
{
    FillDockBar(pDC, pWnd);
}

namespace
{
// Two runs of three short lines, the chevron that shows hidden controls.
void DrawChevron(CDC* pDC, CPoint pt, BOOL bVert)
{
    for (int nRun = 0; nRun < 2; nRun++)
        for (int i = 0; i < 3; i++) {
            int d = nRun * 4 + i;
            if (bVert) {
                pDC->MoveTo(pt.x + d, pt.y + i - 1);
                pDC->LineTo(pt.x + d, pt.y + 2 - i);
            } else {
                pDC->MoveTo(pt.x + i - 1 + 0, pt.y + d);
                pDC->LineTo(pt.x + 3 - i + 1, pt.y + d);
            }
        }
}
}

CSize CXTPBarPainter::DrawGlyph(CDC* pDC, CXTPCommandBar* pBar, int nGlyph, CXTPControl* pControl, BOOL bDraw,
                                const CSize* pszBar)
{
    int nPosition = pBar->GetPosition();
    BOOL bVert = nPosition == xtpBarLeft || nPosition == xtpBarRight || nPosition == xtpBarPopup;
    if (!bDraw) {
        if (nGlyph != glyphExpand)
            return CSize(0, 0);
        CRect rcClient;
        pBar->GetClientRect(&rcClient);
        int w = pszBar ? pszBar->cx : rcClient.Width(), h = pszBar ? pszBar->cy : rcClient.Height();
        CRect rc = bVert ? CRect(2, h - 13, w - 2, h - 2) : CRect(w - 13, 2, w - 2, h - 2);
        pControl->SetRect(rc);
        return rc.Size();
    }
    DrawControlFace(pDC, pControl);
    CRect rc = pControl->GetRect();
    COLORREF clrText = pDC->GetTextColor();
    CPenSelector pen(pDC, clrText);
    switch (nGlyph) {
    case glyphExpand:
        if (bVert) {
            int x = rc.right - 7, y = rc.CenterPoint().y;
            FillTriangle(pDC, CPoint(x, y - 2), CPoint(x, y + 2), CPoint(x + 2, y), clrText);
            DrawChevron(pDC, CPoint(rc.left + 2, y - 1), TRUE);
        } else {
            int x = rc.CenterPoint().x, y = rc.bottom - 7;
            FillTriangle(pDC, CPoint(x - 2, y), CPoint(x + 2, y), CPoint(x, y + 2), clrText);
            DrawChevron(pDC, CPoint(x - 1, rc.top + 2), FALSE);
        }
        break;
    case glyphChevron:
        DrawChevron(pDC, CPoint(rc.CenterPoint().x - 1, rc.CenterPoint().y - 3), FALSE);
        break;
    case glyphClose: {
        CFont font;
        font.CreatePointFont(80 * 96 / std::max(1, pDC->GetDeviceCaps(LOGPIXELSX)), L"Marlett");
        CFontSelector selector(pDC, &font);
        pDC->SetTextColor(pControl->GetPressed() || pControl->GetSelected() ? clrText : GetColor(COLOR_HIGHLIGHTTEXT));
        pDC->DrawText(L"r", 1, rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        pDC->SetTextColor(clrText);
        break;
    }
    case glyphArrow: {
        CPoint c = rc.CenterPoint();
        BOOL bOpen = pControl->GetSelected() || (pControl->GetParent() &&
                                                 pControl->GetParent()->GetPopupedIndex() == pControl->GetIndex());
        FillTriangle(pDC, CPoint(c.x - 3, c.y - 2), CPoint(c.x + 3, c.y - 2), CPoint(c.x, c.y + 1),
                     bOpen ? clrText : GetColor(COLOR_HIGHLIGHTTEXT));
        break;
    }
    }
    return CSize(0, 0);
}

void CXTPBarPainter::GetBarBorders(CRect* pBorders, CXTPCommandBar* /*pBar*/)
{
    pBorders->SetRect(2, 2, 2, 2);
}

CFont* CXTPBarPainter::GetControlFont(CXTPCommandBar* pBar, BOOL bBold)
{
    int nPosition = pBar ? pBar->GetPosition() : xtpBarTop;
    if (nPosition == xtpBarLeft || nPosition == xtpBarRight)
        return bBold ? &m_fontVertBold : &m_fontVert;
    return bBold ? &m_fontBold : &m_fontNormal;
}

void CXTPBarPainter::DrawTick(CDC* pDC, CRect rc, COLORREF clr, BOOL bShape)
{
    CPenSelector pen(pDC, clr);
    CPoint c = rc.CenterPoint();
    for (int nPass = 0; nPass < (m_bBoldTick ? 2 : 1); nPass++) {
        int y = c.y + nPass;
        if (bShape) {
            POINT a[] = {{c.x - 4, y - 3}, {c.x, y + 1}, {c.x + 3, y - 2}};
            POINT b[] = {{c.x - 4, y - 2}, {c.x, y + 2}, {c.x + 3, y - 1}};
            pDC->Polyline(a, 3);
            pDC->Polyline(b, 3);
        } else {
            POINT a[] = {{c.x - 4, y - 1}, {c.x - 2, y + 1}, {c.x + 3, y - 4}};
            POINT b[] = {{c.x - 4, y}, {c.x - 2, y + 2}, {c.x + 3, y - 3}};
            pDC->Polyline(a, 3);
            pDC->Polyline(b, 3);
        }
    }
}

void CXTPBarPainter::DrawDownArrow(CDC* pDC, CRect rc, COLORREF clr)
{
    int d = std::max(static_cast<int>((rc.right - rc.left) / 2 - 4), 2);
    int x = (rc.left + rc.right) / 2, y = (rc.top + rc.bottom) / 2 - d / 2;
    FillTriangle(pDC, CPoint(x - d, y), CPoint(x + d, y), CPoint(x, y + d), clr);
}

void CXTPBarPainter::AnimateFade(CDC* pDestDC, CDC* pSrcDC, CRect rc, int nKind)
{
    int s = m_nAnimationSteps, t = m_nAnimationDuration;
    if (s < 1)
        return;
    int w = rc.Width(), h = rc.Height();
    DWORD dwPause = static_cast<DWORD>(t / s);
    if (nKind == animateUnfold || nKind == animateSlide) {
        for (int k = 1; k <= s; k++) {
            if (nKind == animateUnfold) {
                int cx = w * k / s, cy = h * k / s;
                pDestDC->BitBlt(rc.left, rc.top, cx, cy, pSrcDC, rc.right - cx, rc.bottom - cy, SRCCOPY);
            } else {
                int cy = h * k / s;
                pDestDC->BitBlt(rc.left, rc.top, w, cy, pSrcDC, rc.left, rc.bottom - cy, SRCCOPY);
            }
            AnimationPause(dwPause);
        }
        return;
    }
    if (nKind != animateFade || w <= 0 || h <= 0)
        return;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pBits[3] = {};
    HBITMAP hBitmaps[3] = {};
    for (int i = 0; i < 3; i++)
        hBitmaps[i] = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits[i], nullptr, 0);
    if (hBitmaps[0] && hBitmaps[1] && hBitmaps[2]) {
        CDC dc;
        dc.CreateCompatibleDC(pDestDC);
        HGDIOBJ hOld = ::SelectObject(dc, hBitmaps[0]);
        ::BitBlt(dc, 0, 0, w, h, *pSrcDC, rc.left, rc.top, SRCCOPY);
        ::SelectObject(dc, hBitmaps[1]);
        ::BitBlt(dc, 0, 0, w, h, *pDestDC, rc.left, rc.top, SRCCOPY);
        ::SelectObject(dc, hBitmaps[2]);
        ::GdiFlush();
        const BYTE* pSource = static_cast<const BYTE*>(pBits[0]);
        const BYTE* pBack = static_cast<const BYTE*>(pBits[1]);
        BYTE* pBlend = static_cast<BYTE*>(pBits[2]);
        size_t nBytes = static_cast<size_t>(w) * static_cast<size_t>(h) * 4;
        for (int k = 1; k < s; k++) {
            DWORD dwStart = ::GetTickCount();
            int a = 255 * k / s;
            for (size_t i = 0; i < nBytes; i += 4)
                for (size_t c = 0; c < 3; c++)
                    pBlend[i + c] = static_cast<BYTE>((pSource[i + c] * a + pBack[i + c] * (255 - a)) / 256);
            ::BitBlt(*pDestDC, rc.left, rc.top, w, h, dc, 0, 0, SRCCOPY);
            DWORD dwSpent = ::GetTickCount() - dwStart;
            if (dwSpent < dwPause)
                AnimationPause(dwPause - dwSpent);
        }
        ::SelectObject(dc, hOld);
    }
    for (HBITMAP hBitmap : hBitmaps)
        if (hBitmap)
            ::DeleteObject(hBitmap);
}

int CXTPBarPainter::AnimateSlide(CXTPCommandBar* pBar, CDC* pDestDC, CDC* pSrcDC, BOOL /*bFlag*/)
{
    int s = m_nAnimationSteps;
    if (s < 1)
        return 0;
    CXTPControls* pControls = pBar->GetControls();
    for (int k = 1; k <= s; k++) {
        for (int i = 0; i < pControls->GetCount(); i++) {
            CXTPControl* pControl = pControls->GetAt(i);
            if (!pControl->IsVisible())
                continue;
            CRect rc = pControl->GetRect();
            pDestDC->StretchBlt(rc.left, rc.top, rc.Width(), rc.Height() * k / s, pSrcDC, rc.left, rc.top,
                                rc.Width(), rc.Height(), SRCCOPY);
        }
        AnimationPause(static_cast<DWORD>(m_nAnimationDuration / s));
    }
    return s;
}

int CXTPBarPainter::GetSpaceHeight(CDC* pDC, CFont* pFont)
{
    CFontSelector font(pDC, pFont);
    return pDC->GetTextExtent(L" ", 1).cy;
}

void CXTPBarPainter::StoreFieldWidths(CXTPControl* pControl, int nLabelWidth, int nThumbWidth)
{
    if (pControl->IsKindOf(RUNTIME_CLASS(CXTPControlComboBox))) {
        auto* pCombo = static_cast<CXTPControlComboBox*>(pControl);
        pCombo->SetLabelWidth(nLabelWidth);
        pCombo->SetThumbWidth(nThumbWidth);
    } else if (pControl->IsKindOf(RUNTIME_CLASS(CXTPControlEdit))) {
        static_cast<CXTPControlEdit*>(pControl)->SetLabelWidth(nLabelWidth);
    }
}

int CXTPBarPainter::GetPopupColumnWidth(CXTPCommandBar* pBar) const
{
    CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
    int c = std::max(m_nTextHeight + 4, static_cast<int>(szIcon.cx) + 4);
    return pBar && pBar->IsCheckboxesBesideIcons() ? 2 * c : c;
}

void CXTPBarPainter::FillCheckerboard(CDC* pDC, CRect rc, COLORREF clrBack, COLORREF clrFore)
{
    WORD bits[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    CBitmap bitmap;
    bitmap.CreateBitmap(8, 8, 1, 1, bits);
    CBrush brush;
    brush.CreatePatternBrush(&bitmap);
    CObjectSelector selector(pDC, &brush);
    COLORREF clrOldBack = pDC->SetBkColor(clrBack), clrOldText = pDC->SetTextColor(clrFore);
    pDC->PatBlt(rc.left, rc.top, rc.Width(), rc.Height(), PATCOPY);
    pDC->SetBkColor(clrOldBack);
    pDC->SetTextColor(clrOldText);
}
