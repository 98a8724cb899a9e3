// Themes 3, 5, 6, 8 and 9, their tab colours, and the factory of every theme.
#include "ui/docking/XTPDockingPaneThemes.h"

#include "ui/themes/TabPainter.h"

#include <vsstyle.h>

namespace
{
const COLORREF clrBlack = RGB(0, 0, 0);
const COLORREF clrWhite = RGB(255, 255, 255);

void OpenOrClose(CXTPVisualStyleHandle& handle, BOOL bOpen, LPCWSTR pszClass)
{
    if (bOpen)
        handle.OpenThemeData(nullptr, pszClass);
    else
        handle.CloseThemeData();
}
}

// Theme 3

CXTPDockingPaneTheme3::CXTPDockingPaneTheme3()
{
    m_bGradientCaption = TRUE;
    m_nCaptionTextMargin = 7;
    for (CXTPTabPainter* pPainter : {m_pPaneTabPainter, m_pAutoHideTabPainter}) {
        pPainter->SetStyle(0);
        pPainter->SetColors(8);
        pPainter->SetOption(TRUE);
    }
}

void CXTPDockingPaneTheme3::RefreshMetrics()
{
    CXTPDockingPaneTheme1::RefreshMetrics();
    BOOL bStyles = m_themeWindow.IsStyleAvailable();
    OpenOrClose(m_themeWindow, bStyles, L"WINDOW");
    OpenOrClose(m_themeExplorerBar, bStyles, L"EXPLORERBAR");
}

void CXTPDockingPaneTheme3::DrawCaptionPart(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc)
{
    if (!IsStyled() || !m_themeExplorerBar.IsOpen()) {
        CXTPDockingPaneTheme1::DrawCaptionPart(pDC, caption, rc);
        return;
    }
    m_themeExplorerBar.DrawThemeBackground(pDC->GetSafeHdc(), EBP_HEADERBACKGROUND, 0, rc, nullptr);
    DrawCaptionContent(pDC, caption, rc, GetColor(COLOR_BTNTEXT), 16, 3);
}

void CXTPDockingPaneTheme3::DrawCaptionButton(CDC* pDC, CPaneCaptionButton* pButton, COLORREF clr)
{
    if (!IsStyled()) {
        CXTPDockingPaneTheme1::DrawCaptionButton(pDC, pButton, clr);
        return;
    }
    CRect rc = pButton->GetRect();
    int nState = pButton->IsPressed() ? 3 : pButton->IsHot() ? 2 : 1;
    if (pButton->GetID() == XTP_IDS_DOCKINGPANE_CLOSE) {
        m_themeWindow.DrawThemeBackground(pDC->GetSafeHdc(), WP_SMALLCLOSEBUTTON, nState, rc, nullptr);
        return;
    }
    if (nState != 1)
        m_themeWindow.DrawThemeBackground(pDC->GetSafeHdc(), WP_RESTOREBUTTON, nState, rc, nullptr);
    CPoint ptCentre = rc.CenterPoint();
    DrawButtonGlyph(pDC, pButton, ptCentre.x, ptCentre.y, clr);
}

void CXTPDockingPaneTheme3::DrawFloatingFrame(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc)
{
    if (!IsStyled()) {
        CXTPDockingPaneTheme1::DrawFloatingFrame(pDC, caption, rc);
        return;
    }
    BOOL bActive = caption.bActive && m_bHighlightActiveCaption;
    HDC hDC = pDC->GetSafeHdc();
    int nFrameState = bActive ? FS_ACTIVE : FS_INACTIVE;
    int nCaptionBottom = rc.top + 3 + m_nCaptionHeight;
    CRect rcLeft(rc.left, nCaptionBottom, rc.left + 3, rc.bottom - 3);
    CRect rcRight(rc.right - 3, nCaptionBottom, rc.right, rc.bottom - 3);
    CRect rcBottom(rc.left, rc.bottom - 3, rc.right, rc.bottom);
    CRect rcCaption(rc.left, rc.top, rc.right, nCaptionBottom);
    m_themeWindow.DrawThemeBackground(hDC, WP_SMALLFRAMELEFT, nFrameState, rcLeft, nullptr);
    m_themeWindow.DrawThemeBackground(hDC, WP_SMALLFRAMERIGHT, nFrameState, rcRight, nullptr);
    m_themeWindow.DrawThemeBackground(hDC, WP_SMALLFRAMEBOTTOM, nFrameState, rcBottom, nullptr);
    m_themeWindow.DrawThemeBackground(hDC, WP_SMALLCAPTION, bActive ? CS_ACTIVE : CS_INACTIVE, rcCaption, nullptr);
    XTP_DOCKINGPANE_CAPTION shown = caption;
    shown.bActive = bActive;
    rcCaption.DeflateRect(3, 3, 3, 0);
    DrawCaptionContent(pDC, shown, rcCaption, GetColor(bActive ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT), 16,
                       3);
}

// Theme 5

CXTPDockingPaneTheme5::CXTPDockingPaneTheme5()
{
    m_pAutoHideTabPainter->SetStyle(6);
    m_pPaneTabPainter->SetStyle(8);
    m_pPaneTabPainter->SetLayout(CXTPTabPainter::layoutAutoSize);
    m_nCaptionTextMargin = 2;
}

void CXTPDockingPaneTheme5::DrawPane(CDC* pDC, const XTP_DOCKINGPANE_CAPTION* pCaption, CXTPTabManager* pTabs,
                                     CRect rc)
{
    BOOL bActive = pCaption && pCaption->bActive && m_bHighlightActiveCaption;
    pDC->FillSolidRect(rc, GetColor(bActive ? 31 : 30));
    if (pCaption && m_bDrawCaptions) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, m_clrSplitter);
        DrawCaption(pDC, *pCaption, rc);
    }
    CRect rcClient = rc;
    AdjustCaptionRect(pCaption != nullptr, pCaption && pCaption->bVertical, rcClient);
    if (pTabs)
        m_pPaneTabPainter->DrawTabControl(pTabs, pDC, rcClient);
    if (m_pPaneTabPainter->GetPosition() != CXTPTabPainter::positionBottom) {
        COLORREF clrBorder = m_pPaneTabPainter->GetColorsObject()->m_clrFrameBorder;
        CRect rcFrame = rcClient;
        rcFrame.InflateRect(1, 1);
        pDC->Draw3dRect(rcFrame, clrBorder, clrBorder);
    }
    COLORREF clrCorner = GetColor(51);
    pDC->SetPixel(rc.left, rc.top, clrCorner);
    pDC->SetPixel(rc.right - 1, rc.top, clrCorner);
    pDC->SetPixel(rc.left, rc.bottom - 1, clrCorner);
    pDC->SetPixel(rc.right - 1, rc.bottom - 1, clrCorner);
}

void CXTPDockingPaneTheme5::AdjustCaptionRect(BOOL bCaption, BOOL bVertical, CRect& rc)
{
    CXTPDockingPaneTheme1::AdjustCaptionRect(bCaption, bVertical, rc);
    rc.DeflateRect(3, 3);
}

void CXTPDockingPaneTheme5::RecalcLayout(CXTPTabManager* pTabs, CDC* pDC, BOOL bCaption, BOOL bVertical, CRect& rc)
{
    CXTPDockingPaneTheme1::RecalcLayout(pTabs, pDC, bCaption, bVertical, rc);
    if (!pTabs)
        rc.DeflateRect(1, 1);
}

void CXTPDockingPaneTheme5::DrawCaptionButton(CDC* pDC, CPaneCaptionButton* pButton, COLORREF clr)
{
    clr = DrawPlainButtonFace(pDC, pButton, clr);
    CPoint ptCentre = pButton->GetRect().CenterPoint();
    DrawButtonGlyph(pDC, pButton, ptCentre.x, ptCentre.y, clr);
}

void CXTPDockingPaneTheme5::DrawCaptionPart(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc)
{
    // The caption lies on the pane's own face.
    DrawCaptionContent(pDC, caption, rc, GetColor(COLOR_BTNTEXT), 16, 0);
}

void CXTPDockingPaneTheme5::DrawFloatingFrame(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc)
{
    pDC->Draw3dRect(rc, GetColor(COLOR_BTNHIGHLIGHT), GetColor(COLOR_BTNSHADOW));
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, GetColor(COLOR_BTNFACE), GetColor(COLOR_BTNFACE));
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, GetColor(COLOR_BTNFACE), GetColor(COLOR_BTNFACE));
    rc.DeflateRect(1, 1);
    CRect rcCaption(rc.left, rc.top, rc.right, rc.top + m_nCaptionHeight);
    COffscreenDC dc(pDC, rcCaption);
    dc.FillSolidRect(rcCaption, GetColor(caption.bActive && m_bHighlightActiveCaption ? 31 : 30));
    DrawCaptionPart(&dc, caption, rcCaption);
}

// Tab colours of themes 6 and 9

void CXTPDockingPaneTabColors::RefreshColors()
{
    CXTPTabColors::RefreshColors();
    COLORREF clrFace = C(COLOR_BTNFACE);
    if (m_bHighlight)
        m_clrHighlight.SetDefaultValue(clrWhite);
    m_clrFace.SetDefaultColors(clrFace, BlendPerMille(clrFace, C(COLOR_WINDOW), 205));
    m_clrFace2.SetDefaultColors(m_clrHeaderFace.m_clrStart, m_clrHeaderFace.m_clrEnd);
    m_bSchemeFlag = FALSE;
    int nScheme = GetColorScheme();
    if (nScheme == CColorTable::schemeBlue || nScheme == CColorTable::schemeOlive) {
        m_bSchemeFlag = TRUE;
        m_clrTabEdge[0].SetDefaultValue(clrWhite);
    } else if (nScheme == CColorTable::schemeSilver) {
        m_bSchemeFlag = TRUE;
        m_clrFace.SetDefaultColor(RGB(242, 242, 247));
        m_clrTabEdge[0].SetDefaultValue(clrWhite);
        m_clrFrameBorder.SetDefaultValue(RGB(145, 155, 156));
        m_clrAccentBorder.SetDefaultColors(RGB(145, 155, 156), RGB(190, 190, 216));
    }
}

// Theme 6

CXTPDockingPaneTheme6::CXTPDockingPaneTheme6()
{
    m_pPaneTabPainter->SetStyle(2);
    m_pPaneTabPainter->SetColorsObject(new CXTPDockingPaneTabColors(TRUE));
    m_pAutoHideTabPainter->SetStyle(2);
    m_pAutoHideTabPainter->SetColorsObject(new CXTPDockingPaneTabColors(FALSE));
    m_pAutoHideTabPainter->SetPosition(CXTPTabPainter::positionTop);
    m_rcCaptionMargin.SetRectEmpty();
    m_bGradientCaption = TRUE;
    m_bBoldCaption = FALSE;
    m_nColorScheme = CColorTable::schemeNone;
}

void CXTPDockingPaneTheme6::RefreshMetrics()
{
    CXTPDockingPaneTheme1::RefreshMetrics();
    m_clrInactiveCaptionText = GetColor(COLOR_INACTIVECAPTIONTEXT);
    switch (GetColorTable()->GetCurrentScheme()) {
    case CColorTable::schemeBlue:
    case CColorTable::schemeOlive:
        m_clrInactiveCaption.SetDefaultColors(RGB(216, 215, 198), RGB(238, 239, 229));
        m_clrInactiveCaptionText = clrBlack;
        break;
    case CColorTable::schemeSilver:
        m_clrInactiveCaption.SetDefaultColors(RGB(224, 224, 235), RGB(242, 242, 246));
        m_clrActiveCaption.SetDefaultColors(RGB(160, 158, 186), RGB(224, 225, 235));
        m_clrInactiveCaptionText = clrBlack;
        break;
    }
}

void CXTPDockingPaneTheme6::DrawSplitter(CDC* pDC, CRect rc, BOOL bHorizontal)
{
    pDC->FillSolidRect(rc, m_clrSplitter);
    if (bHorizontal)
        pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, GetColor(COLOR_BTNSHADOW));
    else
        pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), GetColor(COLOR_BTNSHADOW));
}

// Theme 9

CXTPDockingPaneTheme9::CXTPDockingPaneTheme9()
{
    m_pPaneTabPainter->SetStyle(9);
    m_pPaneTabPainter->SetColorsObject(new CXTPDockingPaneTabColors(TRUE));
    m_pAutoHideTabPainter->SetStyle(9);
    m_pAutoHideTabPainter->SetColorsObject(new CXTPDockingPaneTabColors(TRUE));
}

void CXTPDockingPaneTheme9::RefreshMetrics()
{
    CXTPDockingPaneTheme6::RefreshMetrics();
    m_clrInactiveCaption.SetDefaultColor(GetColor(COLOR_INACTIVECAPTION));
    m_clrActiveCaption.SetDefaultColor(GetColor(COLOR_ACTIVECAPTION));
    m_clrCaptionBorder = GetColor(COLOR_BTNSHADOW);
    int nScheme = GetColorTable()->GetCurrentScheme();
    switch (nScheme) {
    case CColorTable::schemeBlue:
        m_clrInactiveCaption.SetDefaultColor(RGB(204, 199, 186));
        m_clrActiveCaption.SetDefaultColors(RGB(59, 128, 237), RGB(49, 106, 197));
        break;
    case CColorTable::schemeOlive:
        m_clrInactiveCaption.SetDefaultColor(RGB(204, 199, 186));
        m_clrActiveCaption.SetDefaultColors(RGB(182, 195, 146), RGB(145, 160, 117));
        break;
    case CColorTable::schemeSilver:
        m_clrInactiveCaption.SetDefaultColor(RGB(240, 240, 245));
        m_clrActiveCaption.SetDefaultColors(RGB(211, 212, 221), RGB(166, 165, 191));
        m_clrCaptionBorder = RGB(145, 155, 156);
        break;
    }
    if (nScheme >= CColorTable::schemeBlue && nScheme <= CColorTable::schemeSilver)
        m_clrInactiveCaptionText = clrBlack;
}

COLORREF CXTPDockingPaneTheme9::DrawCaptionBackground(CDC* pDC, CRect rc, BOOL bActive)
{
    GetGradientPainter()->FillGradient(pDC, &rc, bActive ? &m_clrActiveCaption : &m_clrInactiveCaption, FALSE);
    pDC->Draw3dRect(rc, m_clrCaptionBorder, m_clrCaptionBorder);
    return bActive ? m_clrActiveCaptionText : m_clrInactiveCaptionText;
}

// Theme 8

CXTPDockingPaneTheme8::CXTPDockingPaneTheme8()
{
    m_bBoldCaption = FALSE;
    m_rcCaptionMargin.SetRectEmpty();
    m_nCaptionTextMargin = 9;
}

void CXTPDockingPaneTheme8::RefreshMetrics()
{
    BOOL bStyles = m_themeRebar.IsStyleAvailable();
    OpenOrClose(m_themeRebar, bStyles, L"REBAR");
    OpenOrClose(m_themeToolbar, bStyles, L"TOOLBAR");
    if (IsStyled()) {
        for (CXTPTabPainter* pPainter : {m_pPaneTabPainter, m_pAutoHideTabPainter}) {
            pPainter->SetStyle(0);
            pPainter->SetColors(8);
            pPainter->SetOption(TRUE);
        }
    } else {
        m_pAutoHideTabPainter->SetStyle(6);
        m_pPaneTabPainter->SetStyle(5);
        for (CXTPTabPainter* pPainter : {m_pPaneTabPainter, m_pAutoHideTabPainter})
            pPainter->SetOption(FALSE);
    }
    CXTPDockingPaneTheme4::RefreshMetrics();
}

void CXTPDockingPaneTheme8::DrawCaption(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc)
{
    if (!IsStyled()) {
        CXTPDockingPaneTheme4::DrawCaption(pDC, caption, rc);
        return;
    }
    CRect rcCaption = rc;
    if (caption.bVertical)
        rcCaption.right = rcCaption.left + m_nCaptionHeight;
    else
        rcCaption.bottom = rcCaption.top + m_nCaptionHeight;
    m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), RP_BAND, 0, rcCaption, nullptr);
    DrawCaptionContent(pDC, caption, rcCaption, GetColor(COLOR_BTNTEXT), 14, 2);
}

// Factory

CXTPDockingPanePaintManager* CXTPDockingPanePaintManager::CreateTheme(int nTheme)
{
    CXTPDockingPanePaintManager* pTheme;
    switch (nTheme) {
    case 1: pTheme = new CXTPDockingPaneTheme1; break;
    case 2: pTheme = new CXTPDockingPaneTheme2; break;
    case 3: pTheme = new CXTPDockingPaneTheme3; break;
    case 4: pTheme = new CXTPDockingPaneTheme4; break;
    case 5: pTheme = new CXTPDockingPaneTheme5; break;
    case 6: pTheme = new CXTPDockingPaneTheme6; break;
    case 7: pTheme = new CXTPDockingPaneTheme7; break;
    case 8: pTheme = new CXTPDockingPaneTheme8; break;
    case 9: pTheme = new CXTPDockingPaneTheme9; break;
    default: pTheme = new CXTPDockingPaneThemeDefault; break;
    }
    pTheme->m_nThemeID = nTheme;
    pTheme->RefreshMetrics();
    return pTheme;
}
