// The default theme and the themes 4, 1, 2 and 7 built on it.
#include "ui/docking/XTPDockingPaneThemes.h"

#include "ui/themes/TabPainter.h"

namespace
{
// The caption copied with its active state as drawn: only the focused element's caption is highlighted.
XTP_DOCKINGPANE_CAPTION Highlighted(const XTP_DOCKINGPANE_CAPTION& caption, BOOL bHighlight)
{
    XTP_DOCKINGPANE_CAPTION result = caption;
    result.bActive = caption.bActive && bHighlight;
    return result;
}

BOOL IsPinLying(const CPaneCaptionButton* pButton)
{
    return (pButton->m_dwState & XTP_DOCKINGPANE_PINLYING) != 0;
}
}

// Default theme

CXTPDockingPaneThemeDefault::CXTPDockingPaneThemeDefault()
{
    m_pPaneTabPainter->SetStyle(0);
    m_pAutoHideTabPainter->SetStyle(0);
}

void CXTPDockingPaneThemeDefault::DrawCaption(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc)
{
    CRect rcCaption = rc;
    if (caption.bVertical) {
        rcCaption.left += m_rcCaptionMargin.top;
        rcCaption.right = rcCaption.left + m_nCaptionHeight;
    } else {
        rcCaption.top += m_rcCaptionMargin.top;
        rcCaption.bottom = rcCaption.top + m_nCaptionHeight;
    }
    DrawCaptionPart(pDC, Highlighted(caption, m_bHighlightActiveCaption), rcCaption);
}

void CXTPDockingPaneThemeDefault::DrawCaptionPart(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc)
{
    if (caption.bActive) {
        pDC->FillSolidRect(rc, GetColor(COLOR_ACTIVECAPTION));
    } else {
        pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
        pDC->Draw3dRect(rc, GetColor(COLOR_BTNSHADOW), GetColor(COLOR_BTNSHADOW));
    }
    COLORREF clrText = GetColor(caption.bActive ? COLOR_CAPTIONTEXT : COLOR_BTNTEXT);
    DrawCaptionContent(pDC, caption, rc, clrText, 14, 2);
}

void CXTPDockingPaneThemeDefault::DrawCaptionContent(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc,
                                                     COLORREF clrText, int nSize, int nGap)
{
    DrawCaptionButtons(pDC, caption.pButtons, rc, clrText, nSize, nGap, caption.bVertical);
    DeflateRectOriented(rc, 4, 0, 2, 0, caption.bVertical);
    DrawCaptionTitle(pDC, caption.strTitle, rc, caption.bVertical, clrText);
}

void CXTPDockingPaneThemeDefault::DrawCaptionButton(CDC* pDC, CPaneCaptionButton* pButton, COLORREF clr)
{
    CRect rc = pButton->GetRect();
    UINT nPushed = pButton->IsPressed() ? DFCS_PUSHED : 0;
    if (pButton->GetID() == XTP_IDS_DOCKINGPANE_CLOSE) {
        pDC->DrawFrameControl(rc, DFC_CAPTION, DFCS_CAPTIONCLOSE | nPushed);
        return;
    }
    pDC->DrawFrameControl(rc, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | nPushed);
    if (pButton->GetID() != XTP_IDS_DOCKINGPANE_AUTOHIDE)
        return;
    // The pin lies while the pane slides out of its edge strip, and stands while it is docked.
    static const POINT lying[11] = {{-4, 0}, {-1, 0}, {-1, -3}, {-1, 4}, {-1, 2}, {3, 2},
                                    {3, -2}, {-1, -2}, {-1, 1}, {3, 1}, {3, 2}};
    static const POINT standing[13] = {{0, 5}, {0, 1}, {-3, 1}, {4, 1}, {2, 1}, {2, -4}, {-2, -4},
                                       {-2, 1}, {1, 1}, {1, -4}, {2, -4}, {2, 1}, {0, 1}};
    BOOL bLying = IsPinLying(pButton);
    const POINT* pPoints = bLying ? lying : standing;
    int nCount = bLying ? 11 : 13;
    CPoint ptCentre = rc.CenterPoint();
    if (pButton->IsPressed())
        ptCentre.Offset(1, 1);
    POINT points[13];
    for (int i = 0; i < nCount; i++)
        points[i] = {ptCentre.x + pPoints[i].x, ptCentre.y + pPoints[i].y};
    CPenSelector pen(pDC, clr);
    pDC->Polyline(points, nCount);
}

void CXTPDockingPaneThemeDefault::DrawFloatingFrameBorder(CDC* pDC, CRect rc)
{
    pDC->Draw3dRect(rc, GetColor(COLOR_BTNFACE), GetColor(COLOR_BTNFACE));
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, GetColor(COLOR_BTNHIGHLIGHT), GetColor(COLOR_BTNSHADOW));
    rc.DeflateRect(1, 1);
    pDC->Draw3dRect(rc, GetColor(COLOR_BTNFACE), GetColor(COLOR_BTNFACE));
}

void CXTPDockingPaneThemeDefault::DrawFloatingFrame(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc)
{
    DrawFloatingFrameBorder(pDC, rc);
    rc.DeflateRect(3, 3);
    CRect rcCaption(rc.left, rc.top, rc.right, rc.top + m_nCaptionHeight);
    COffscreenDC dc(pDC, rcCaption);
    dc.FillSolidRect(rcCaption, GetColor(COLOR_BTNFACE));
    rcCaption.DeflateRect(2, 1, 2, 1);
    DrawCaptionPart(&dc, Highlighted(caption, m_bHighlightActiveCaption), rcCaption);
}

// Theme 4

void CXTPDockingPaneTheme4::DrawCaptionButton(CDC* pDC, CPaneCaptionButton* pButton, COLORREF clr)
{
    CRect rc = pButton->GetRect();
    CPoint ptCentre = rc.CenterPoint();
    if (pButton->IsPressed()) {
        pDC->Draw3dRect(rc, GetColor(COLOR_BTNTEXT), GetColor(COLOR_BTNHIGHLIGHT));
        ptCentre.Offset(1, 1);
    } else if (pButton->IsHot()) {
        pDC->Draw3dRect(rc, GetColor(COLOR_BTNHIGHLIGHT), GetColor(COLOR_BTNTEXT));
    }
    DrawButtonGlyph(pDC, pButton, ptCentre.x, ptCentre.y, clr);
}

void CXTPDockingPaneTheme4::DrawButtonGlyph(CDC* pDC, CPaneCaptionButton* pButton, int cx, int cy, COLORREF clr)
{
    CPenSelector pen(pDC, clr);
    switch (pButton->GetID()) {
    case XTP_IDS_DOCKINGPANE_CLOSE: {
        static const int lines[4][4] = {{-4, -3, 3, 4}, {-4, 3, 3, -4}, {-3, -3, 4, 4}, {-3, 3, 4, -4}};
        for (const auto& l : lines) {
            pDC->MoveTo(cx + l[0], cy + l[1]);
            pDC->LineTo(cx + l[2], cy + l[3]);
        }
        break;
    }
    case XTP_IDS_DOCKINGPANE_AUTOHIDE:
        DrawPinGlyph(pDC, CPoint(cx, cy), IsPinLying(pButton));
        break;
    case XTP_IDS_DOCKINGPANE_MAXIMIZE:
    case XTP_IDS_DOCKINGPANE_RESTORE:
        DrawMaximizeGlyph(pDC, CPoint(cx, cy), pButton->GetID() == XTP_IDS_DOCKINGPANE_MAXIMIZE, clr);
        break;
    case XTP_IDS_DOCKINGPANE_MENU: {
        const POINT points[4] = {{cx - 4, cy - 1}, {cx - 1, cy + 2}, {cx, cy + 2}, {cx + 3, cy - 1}};
        CBrushSelector brush(pDC, clr);
        pDC->Polygon(points, 4);
        break;
    }
    }
}

// Theme 1

CXTPDockingPaneTheme1::CXTPDockingPaneTheme1()
{
    m_pPaneTabPainter->SetStyle(5);
    m_pAutoHideTabPainter->SetStyle(6);
    m_bBoldCaption = FALSE;
}

void CXTPDockingPaneTheme1::RefreshMetrics()
{
    CXTPDockingPaneTheme4::RefreshMetrics();
    m_clrActiveCaption.SetDefaultColors(GetColor(COLOR_ACTIVECAPTION), GetColor(COLOR_GRADIENTACTIVECAPTION));
    m_clrInactiveCaption.SetDefaultColors(GetColor(COLOR_INACTIVECAPTION),
                                          ::GetSysColor(COLOR_GRADIENTINACTIVECAPTION));
    m_clrActiveCaptionText = GetColor(COLOR_CAPTIONTEXT);
    m_clrInactiveCaptionText = GetColor(COLOR_BTNTEXT);
    // Systems before gradient captions paint them in one colour.
    DWORD dwVersion = ::GetVersion();
    int nMajor = LOBYTE(LOWORD(dwVersion)), nMinor = HIBYTE(LOWORD(dwVersion));
    if (nMajor < 4 || (nMajor == 4 && nMinor == 0)) {
        m_clrActiveCaption.SetDefaultColor(GetColor(COLOR_ACTIVECAPTION));
        m_clrInactiveCaption.SetDefaultColor(GetColor(COLOR_INACTIVECAPTION));
    }
}

COLORREF CXTPDockingPaneTheme1::DrawCaptionBackground(CDC* pDC, CRect rc, BOOL bActive)
{
    if (m_bGradientCaption) {
        GetGradientPainter()->FillGradient(pDC, &rc, bActive ? &m_clrActiveCaption : &m_clrInactiveCaption, TRUE);
        return bActive ? m_clrActiveCaptionText : m_clrInactiveCaptionText;
    }
    if (bActive) {
        pDC->FillSolidRect(rc, m_clrActiveCaption.m_clrStart);
        return m_clrActiveCaptionText;
    }
    COLORREF clrBorder = GetColor(52);
    pDC->FillSolidRect(rc.left + 1, rc.top, rc.Width() - 2, 1, clrBorder);
    pDC->FillSolidRect(rc.left + 1, rc.bottom - 1, rc.Width() - 2, 1, clrBorder);
    pDC->FillSolidRect(rc.left, rc.top + 1, 1, rc.Height() - 2, clrBorder);
    pDC->FillSolidRect(rc.right - 1, rc.top + 1, 1, rc.Height() - 2, clrBorder);
    return m_clrInactiveCaptionText;
}

void CXTPDockingPaneTheme1::DrawCaptionPart(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc)
{
    COLORREF clrText = DrawCaptionBackground(pDC, rc, caption.bActive);
    DeflateRectOriented(rc, 0, 0, 2, 0, caption.bVertical);
    DrawCaptionContent(pDC, caption, rc, clrText, 14, 2);
}

// Theme 2

CXTPDockingPaneTheme2::CXTPDockingPaneTheme2()
{
    m_nCaptionTextMargin = 7;
    m_bBoldCaption = TRUE;
    for (CXTPTabPainter* pPainter : {m_pPaneTabPainter, m_pAutoHideTabPainter}) {
        pPainter->SetStyle(2);
        pPainter->SetColors(4);
        pPainter->SetOption(TRUE);
    }
}

void CXTPDockingPaneTheme2::RefreshMetrics()
{
    CXTPDockingPaneTheme1::RefreshMetrics();
    m_clrCaptionBackInactive.SetDefaultColors(BlendPerMille(GetColor(COLOR_BTNFACE), GetColor(COLOR_WINDOW), 205),
                                              GetColor(COLOR_BTNFACE));
    m_clrCaptionBackActive.SetDefaultColor(GetColor(36));
    m_clrActiveCaptionText = m_clrInactiveCaptionText = GetColor(COLOR_BTNTEXT);
    m_bSchemeColorsApplied = FALSE;

    int nScheme = GetCurrentScheme();
    if (nScheme < CColorTable::schemeBlue || nScheme > CColorTable::schemeSilver)
        return;
    struct SCHEME
    {
        COLORREF clr38, clr39, clr40, clr41, clr43, clrDark, clrInactiveLight, clrInactiveDark, clrSplitter;
    };
    static const SCHEME schemes[3] = {
        {RGB(39, 65, 118), RGB(106, 140, 203), RGB(109, 150, 208), RGB(246, 246, 246), RGB(0, 45, 150),
         RGB(0, 0, 128), RGB(221, 236, 254), RGB(129, 169, 226), RGB(216, 231, 252)},
        {RGB(81, 94, 51), RGB(96, 128, 88), RGB(159, 174, 122), RGB(244, 244, 238), RGB(117, 141, 94),
         RGB(63, 93, 56), RGB(244, 247, 222), RGB(183, 198, 145), RGB(226, 231, 191)},
        {RGB(84, 84, 117), RGB(110, 109, 143), RGB(168, 167, 190), RGB(253, 250, 255), RGB(124, 124, 148),
         RGB(75, 75, 111), RGB(243, 244, 250), RGB(153, 151, 181), RGB(223, 223, 234)},
    };
    static const COLORREF clr30[3] = {RGB(158, 190, 245), RGB(217, 217, 167), RGB(215, 215, 229)};
    const SCHEME& s = schemes[nScheme - 1];
    const UINT indices[13] = {38, 39, 40, 41, 43, 31, 32, 37, 50, 33, 36, 30, 47};
    const COLORREF colors[13] = {s.clr38,         s.clr39,         s.clr40,   s.clr41,   s.clr43,
                                 RGB(255, 238, 194), s.clrDark,    s.clrDark, s.clrDark, RGB(254, 128, 62),
                                 RGB(255, 192, 111), clr30[nScheme - 1], RGB(0, 0, 0)};
    SetColors(13, indices, colors);
    m_clrSplitter.SetDefaultValue(s.clrSplitter);
    m_clrCaptionBackInactive.SetDefaultColors(s.clrInactiveLight, s.clrInactiveDark);
    m_clrSplitterGripper.SetDefaultValue(GetColor(38));
    m_bSchemeColorsApplied = TRUE;
    m_clrCaptionBackActive.SetDefaultColors(RGB(255, 213, 140), RGB(255, 166, 76));
}

void CXTPDockingPaneTheme2::FillCaptionGradient(CDC* pDC, const CRect& rc, BOOL bActive, BOOL bVertical)
{
    const CColorGradient& clr = bActive ? m_clrCaptionBackActive : m_clrCaptionBackInactive;
    GetGradientPainter()->DrawGradient(pDC, &rc, clr.m_clrStart, clr.m_clrEnd, bVertical);
}

void CXTPDockingPaneTheme2::DrawCaption(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc)
{
    XTP_DOCKINGPANE_CAPTION shown = Highlighted(caption, m_bHighlightActiveCaption);
    CRect rcCaption = rc;
    if (caption.bVertical)
        rcCaption.right = rcCaption.left + m_nCaptionHeight + 3;
    else
        rcCaption.bottom = rcCaption.top + m_nCaptionHeight + 3;

    int nSavedDC = pDC->SaveDC();
    if (m_bCornerCutCaption) {
        if (caption.bVertical)
            rcCaption.top++;
        else
            rcCaption.left++;
        pDC->FillSolidRect(rcCaption, m_clrSplitter);
        ExcludeCorners(pDC, rcCaption);
    }
    FillCaptionGradient(pDC, rcCaption, shown.bActive, caption.bVertical);
    if (!m_bCornerCutCaption) {
        // The outer sides: all but the one the pane joins.
        COLORREF clrBorder = GetColor(54);
        const CRect& r = rcCaption;
        pDC->FillSolidRect(r.left, r.top, r.Width(), 1, clrBorder);
        pDC->FillSolidRect(r.left, r.top, 1, r.Height(), clrBorder);
        if (caption.bVertical)
            pDC->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, clrBorder);
        else
            pDC->FillSolidRect(r.right - 1, r.top, 1, r.Height(), clrBorder);
    }
    pDC->RestoreDC(nSavedDC);
    DrawCaptionPart(pDC, shown, rcCaption);
}

void CXTPDockingPaneTheme2::DrawFloatingFrame(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc)
{
    XTP_DOCKINGPANE_CAPTION shown = Highlighted(caption, m_bHighlightActiveCaption);
    COLORREF clrFrame = GetColor(43), clrDark = m_clrCaptionBackInactive.m_clrEnd;
    int nSavedDC = pDC->SaveDC();
    ExcludeCorners(pDC, rc);
    for (int i = 0; i < 3; i++) {
        pDC->Draw3dRect(rc, clrFrame, clrFrame);
        rc.DeflateRect(1, 1);
    }
    pDC->RestoreDC(nSavedDC);
    pDC->Draw3dRect(rc, clrDark, clrDark);

    CRect rcCaption(rc.left, rc.top, rc.right, rc.top + m_nCaptionHeight + 3);
    COffscreenDC dc(pDC, rcCaption);
    FillCaptionGradient(&dc, rcCaption, shown.bActive, FALSE);
    dc.FillSolidRect(rcCaption.left, rcCaption.top, 1, rcCaption.Height(), clrDark);
    dc.FillSolidRect(rcCaption.right - 1, rcCaption.top, 1, rcCaption.Height(), clrDark);
    DrawCaptionPart(&dc, shown, rcCaption);
}

void CXTPDockingPaneTheme2::DrawGripper(CDC* pDC, CRect& rc, BOOL bVertical)
{
    if (bVertical) {
        for (int x = 4; x + 3 < rc.Width() - 5; x += 4) {
            pDC->FillSolidRect(rc.left + x + 1, rc.top + 6, 2, 2, GetColor(COLOR_BTNHIGHLIGHT));
            pDC->FillSolidRect(rc.left + x, rc.top + 5, 2, 2, GetColor(38));
        }
        rc.top += 8;
    } else {
        for (int y = 5; y < m_nCaptionHeight - 3; y += 4) {
            pDC->FillSolidRect(rc.left + 6, rc.top + y + 1, 2, 2, GetColor(COLOR_BTNHIGHLIGHT));
            pDC->FillSolidRect(rc.left + 5, rc.top + y, 2, 2, GetColor(38));
        }
        rc.left += 8;
    }
}

void CXTPDockingPaneTheme2::DrawCaptionPart(CDC* pDC, const XTP_DOCKINGPANE_CAPTION& caption, CRect rc)
{
    COLORREF clrText = caption.bActive ? m_clrActiveCaptionText : m_clrInactiveCaptionText;
    DeflateRectOriented(rc, 0, 0, 4, 0, caption.bVertical);
    DrawCaptionButtons(pDC, caption.pButtons, rc, clrText, 16, 0, caption.bVertical);
    if (m_bCaptionGripper && (caption.bVertical ? rc.Height() : rc.Width()) > 7)
        DrawGripper(pDC, rc, caption.bVertical);
    DeflateRectOriented(rc, 2, 0, 0, 0, caption.bVertical);
    DrawCaptionTitle(pDC, caption.strTitle, rc, caption.bVertical, clrText);
}

void CXTPDockingPaneTheme2::DrawButtonBackground(CDC* pDC, CPaneCaptionButton* pButton, COLORREF& clrText)
{
    if (!m_bSchemeColorsApplied) {
        clrText = DrawPlainButtonFace(pDC, pButton, clrText);
        return;
    }
    BOOL bPressed = pButton->IsPressed();
    if (!bPressed && !pButton->IsHot())
        return;
    CRect rc = pButton->GetRect();
    if (bPressed)
        GetGradientPainter()->DrawGradient(pDC, &rc, RGB(254, 142, 75), RGB(255, 207, 139), FALSE);
    else
        GetGradientPainter()->DrawGradient(pDC, &rc, RGB(255, 242, 200), RGB(255, 212, 151), FALSE);
    pDC->Draw3dRect(rc, GetColor(32), GetColor(32));
    clrText = RGB(0, 0, 0);
}

void CXTPDockingPaneTheme2::DrawCaptionButton(CDC* pDC, CPaneCaptionButton* pButton, COLORREF clr)
{
    DrawButtonBackground(pDC, pButton, clr);
    CPoint ptCentre = pButton->GetRect().CenterPoint();
    DrawButtonGlyph(pDC, pButton, ptCentre.x, ptCentre.y, clr);
}

// Theme 7

CXTPDockingPaneTheme7::CXTPDockingPaneTheme7()
{
    m_bCaptionGripper = FALSE;
    m_bCornerCutCaption = FALSE;
    m_nCaptionTextMargin = 3;
}

void CXTPDockingPaneTheme7::RefreshMetrics()
{
    CXTPDockingPaneTheme2::RefreshMetrics();
    if (m_bUseSystemCaptionFont) {
        LOGFONT lf = {};
        ::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0);
        lstrcpynW(lf.lfFaceName, L"Arial", LF_FACESIZE);
        lf.lfWeight = FW_BOLD;
        lf.lfHeight = 20;
        SetCaptionFont(&lf, FALSE);
    }
    if (m_bSchemeColorsApplied) {
        CColorTable* pTable = GetColorTable();
        m_clrCaptionBackInactive.SetDefaultColors(pTable->GetSchemeColor(39), pTable->GetSchemeColor(38));
        m_clrInactiveCaptionText = RGB(255, 255, 255);
    } else {
        COLORREF clrShadow = GetColor(COLOR_BTNSHADOW);
        m_clrCaptionBackInactive.SetDefaultColors(BlendPerMille(clrShadow, GetColor(COLOR_WINDOW), 205), clrShadow);
    }
}
