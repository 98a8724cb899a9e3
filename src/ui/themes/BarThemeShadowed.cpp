#include "ui/themes/BarThemeShadowed.h"

#include "ui/commandbars/XTPCommandBars.h"
#include "ui/commandbars/XTPControlComboBox.h"
#include "ui/commandbars/XTPControlEdit.h"
#include "ui/themes/BarIcon.h"
#include "ui/themes/DrawHelpers.h"

CXTPBarThemeShadowed::CXTPBarThemeShadowed()
{
    m_iconOptions.bUseFadedIcons = TRUE;
    m_iconOptions.bIconsWithShadow = TRUE;
}

void CXTPBarThemeShadowed::FillBarBand(CDC* pDC, int x, int y, int cx, int cy, BOOL bSecondStyle)
{
    pDC->FillSolidRect(x, y, cx, cy, GetColor(bSecondStyle ? 42 : 30));
}

void CXTPBarThemeShadowed::DrawControlRect(CDC* pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled,
                                           BOOL bChecked, BOOL bPopupWhole, BOOL /*bToolBar*/, int nBarPosition)
{
    const int none = -1;
    if (bEnabled) {
        if (bPopupWhole)
            Rectangle(pDC, rc, 43, 30);
        else if (bChecked && !nSelected && !nPressed)
            Rectangle(pDC, rc, 50, 36);
        else if (bChecked && nSelected && !nPressed)
            Rectangle(pDC, rc, 37, 33);
        else if (!nSelected && !nPressed)
            return;
        else if ((nSelected != 0) != (nPressed != 0) && nPressed != 2)
            Rectangle(pDC, rc, 32, 31);
        else
            Rectangle(pDC, rc, 50, 33);
    } else if (nSelected == 2) {
        Rectangle(pDC, rc, 32, nBarPosition == xtpBarPopup ? 41 : bChecked ? 33 : 31);
    } else if (bChecked) {
        Rectangle(pDC, rc, 58, nBarPosition == xtpBarPopup ? none : 36);
    }
}

void CXTPBarThemeShadowed::DrawControlEntry(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected, int nPressed,
                                            BOOL bChecked, BOOL bPopupWhole, int nBarPosition)
{
    DrawControlRect(pDC, rc, nSelected, nPressed, bEnabled, bChecked, bPopupWhole, TRUE, nBarPosition);
    pDC->SetTextColor(
        GetColor(GetControlTextColorIndex(bEnabled, nSelected, nPressed, bChecked, bPopupWhole, nBarPosition)));
    pDC->SetBkMode(TRANSPARENT);
}

int CXTPBarThemeShadowed::GetControlTextColorIndex(BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked,
                                                   BOOL bPopupWhole, int nBarPosition)
{
    if (!bEnabled)
        return 40;
    if (bPopupWhole)
        return 46;
    if (bChecked && !nSelected && !nPressed)
        return 45;
    if (nPressed == 2)
        return 47;
    if (nSelected)
        return nPressed || bChecked ? 47 : 45;
    if (nPressed)
        return 45;
    return nBarPosition == xtpBarPopup ? 44 : 46;
}

void CXTPBarThemeShadowed::DrawImage(CDC* pDC, CPoint pt, CSize sz, CXTPBarIcon* pIcon, int nSelected, int nPressed,
                                     BOOL bEnabled, BOOL bChecked, BOOL bPopupWhole, BOOL /*bToolBar*/)
{
    if (!bEnabled) {
        if (!m_iconOptions.bUseDisabledIcons && !pIcon->HasImage(CXTPBarIcon::imageDisabled) && !pIcon->IsAlpha())
            pIcon->DrawMono(pDC, pt, sz, GetColor(40));
        else
            pIcon->Draw(pDC, pt, CXTPBarIcon::imageDisabled, sz);
        return;
    }
    if (bChecked || bPopupWhole) {
        int nImage = bPopupWhole && !bChecked ? CXTPBarIcon::imageNormal
                     : nSelected || nPressed  ? CXTPBarIcon::imageHot
                     : bChecked               ? CXTPBarIcon::imageChecked
                                              : CXTPBarIcon::imageNormal;
        pIcon->Draw(pDC, pt, nImage, sz);
    } else if (!nSelected && !nPressed) {
        pIcon->Draw(pDC, pt, m_iconOptions.bUseFadedIcons ? CXTPBarIcon::imageFaded : CXTPBarIcon::imageNormal, sz);
    } else if ((nSelected && nPressed) || nPressed == 2 || !m_iconOptions.bIconsWithShadow) {
        pIcon->Draw(pDC, pt, CXTPBarIcon::imageHot, sz);
    } else {
        pIcon->Draw(pDC, pt + CPoint(1, 1), CXTPBarIcon::imageShadow, sz);
        pIcon->Draw(pDC, pt - CPoint(1, 1), CXTPBarIcon::imageHot, sz);
    }
}

CRect CXTPBarThemeShadowed::GetJoinRect(CXTPCommandBar* pPopupBar)
{
    CXTPControl* pControl = pPopupBar->GetParentControl();
    CXTPCommandBar* pOwner = pControl ? pControl->GetParent() : nullptr;
    if (!pOwner || !pOwner->GetSafeHwnd() || !pPopupBar->GetSafeHwnd())
        return CRect(0, 0, 0, 0);
    CRect rcControl = pControl->GetRect(), rcPopup, rcJoin;
    pOwner->ClientToScreen(&rcControl);
    pPopupBar->GetWindowRect(&rcPopup);
    if (!rcJoin.IntersectRect(rcControl, rcPopup)) {
        // The popup touches the control: the shared edge is its border row or column.
        rcControl.InflateRect(1, 1);
        if (!rcJoin.IntersectRect(rcControl, rcPopup))
            return CRect(0, 0, 0, 0);
    }
    if (rcJoin.Width() > 1)
        rcJoin.DeflateRect(1, 0);
    if (rcJoin.Height() > 1)
        rcJoin.DeflateRect(0, 1);
    pPopupBar->ScreenToClient(&rcJoin);
    return rcJoin;
}

void CXTPBarThemeShadowed::FillPopupBar(CDC* pDC, CXTPCommandBar* pBar, int nJoinColor)
{
    CRect rc;
    pBar->GetClientRect(&rc);
    Rectangle(pDC, rc, 43, 41);
    if (pBar->GetType() == xtpBarTypePopup)
        FillBarBand(pDC, 1, 2, GetPopupColumnWidth(pBar) + 1, rc.Height() - 4, FALSE);
    CRect rcJoin = GetJoinRect(pBar);
    if (!rcJoin.IsRectEmpty())
        pDC->FillSolidRect(rcJoin, GetColor(nJoinColor));
}

void CXTPBarThemeShadowed::FillCommandBar(CDC* pDC, CXTPCommandBar* pBar)
{
    CRect rc;
    pBar->GetClientRect(&rc);
    int w = rc.Width(), h = rc.Height();
    switch (pBar->GetPosition()) {
    case xtpBarFloating: {
        COLORREF clrBrush = GetColor(pBar->GetType() == xtpBarTypeMenuBar ? COLOR_3DFACE : 30);
        CPenSelector pen(pDC, GetColor(43));
        CBrushSelector brush(pDC, clrBrush);
        pDC->Rectangle(rc);
        rc.DeflateRect(1, 1);
        pDC->Rectangle(rc);
        for (CPoint pt : {CPoint(2, 2), CPoint(w - 2, 2), CPoint(2, h - 2), CPoint(w - 2, h - 2)})
            pDC->SetPixel(pt, clrBrush);
        break;
    }
    case xtpBarPopup:
        FillPopupBar(pDC, pBar, 30);
        break;
    default:
        if (pBar->GetType() == xtpBarTypeMenuBar) {
            pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
            break;
        }
        pDC->FillSolidRect(rc, GetColor(30));
        Rectangle(pDC, rc, COLOR_3DFACE, -1);
        for (CPoint pt : {CPoint(1, 1), CPoint(w - 2, 1), CPoint(1, h - 2), CPoint(w - 2, h - 2)})
            Pixel(pDC, pt.x, pt.y, COLOR_3DFACE);
    }
}

CSize CXTPBarThemeShadowed::DrawPopupBarControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw)
{
    CXTPCommandBar* pBar = pControl->GetParent();
    CSize szIcon = pBar->GetIconSize();
    int nHeight = std::max(static_cast<int>(szIcon.cy) + 6, m_nTextHeight);
    int c = std::max(static_cast<int>(szIcon.cx) + 4, m_nTextHeight + 4);
    BOOL bBeside = pBar->IsCheckboxesBesideIcons();
    int nColumn = bBeside ? 2 * c : c;
    CFontSelector font(pDC, GetControlFont(pBar, pControl->IsDefaultItem()));
    CString strCaption = pControl->GetCaption(), strShortcut = pControl->GetShortcutText();
    BOOL bCues = pBar->IsKeyboardCuesVisible();
    int nType = pControl->GetType();
    // Without the cues the caption shows without its '&' marks, as it is measured.
    CString strStripped = strCaption;
    StripAmpersands(strStripped);
    if (!bDraw) {
        int cxShortcut = strShortcut.IsEmpty() ? 0 : pDC->GetTextExtent(strShortcut).cx;
        return CSize(pDC->GetTextExtent(strStripped).cx + cxShortcut + nColumn + 40, nHeight);
    }

    CRect rc = pControl->GetRect();
    BOOL bEnabled = pControl->GetEnabled(), bSelected = pControl->GetSelected() != 0;
    // A rarely used command shown after the popup was expanded keeps a band of its own in the icon column.
    CXTPCommandBars* pCommandBars = pBar->GetCommandBars();
    auto* pPopupBar = dynamic_cast<CXTPPopupBar*>(pBar);
    if (pPopupBar && pPopupBar->IsExpanded() && pCommandBars && pCommandBars->IsControlHidden(pControl))
        FillBarBand(pDC, 1, rc.top, nColumn + 1, rc.Height(), TRUE);
    if (pControl->TakesHighlight())
        DrawControlRect(pDC, rc, pControl->GetSelected(), FALSE, bEnabled, FALSE, FALSE, FALSE, xtpBarPopup);
    else
        pDC->FillSolidRect(CRect(rc.left + nColumn + 3, rc.top, rc.right, rc.bottom), GetColor(56));

    CRect rcSquare(CPoint(rc.left + (c - szIcon.cx - 4) / 2, rc.top + (rc.Height() - szIcon.cy - 4) / 2),
                   szIcon + CSize(4, 4));
    if (pControl->GetChecked())
        DrawControlRect(pDC, rcSquare, pControl->GetSelected(), FALSE, bEnabled, TRUE, FALSE, FALSE, xtpBarPopup);
    CRect rcIcon = rcSquare;
    if (bBeside)
        rcIcon.OffsetRect(c, 0);
    CXTPBarIcon* pIcon = pControl->GetImage(szIcon.cx);
    if (pIcon) {
        CSize szImage = pIcon->GetExtent();
        CSize szDrawn(szIcon.cx, szImage.cx ? szImage.cy * szIcon.cx / szImage.cx : szIcon.cy);
        CPoint pt(rcIcon.left + (rcIcon.Width() - szDrawn.cx) / 2, rcIcon.top + (rcIcon.Height() - szDrawn.cy) / 2);
        DrawImage(pDC, pt, szDrawn, pIcon, pControl->GetSelected(), FALSE, bEnabled, pControl->GetChecked(), FALSE,
                  FALSE);
    }
    if (pControl->GetChecked() && (!pIcon || bBeside))
        DrawTick(pDC, rcSquare, bEnabled ? RGB(0, 0, 0) : GetColor(40), pBar->IsLayoutRTL());

    COLORREF clrText = GetColor(!bEnabled ? 35 : bSelected ? 45 : 44);
    pDC->SetTextColor(clrText);
    pDC->SetBkMode(TRANSPARENT);
    if (nType >= xtpControlPopup && nType <= xtpControlSplitButtonPopup) {
        COLORREF clrArrow = clrText;
        if (nType == xtpControlSplitButtonPopup && bEnabled) {
            if (!pControl->IsWholeFacePopup()) {
                Line(pDC, rc.right - 20, rc.top + 1, rc.right - 20, rc.bottom - 1, bSelected ? 32 : COLOR_BTNSHADOW);
            } else if (bSelected) {
                Rectangle(pDC, CRect(rc.right - 20, rc.top, rc.right, rc.bottom), 32, 33);
                clrArrow = GetColor(47);
            }
        }
        int x = rc.right - 11, y = rc.CenterPoint().y;
        FillTriangle(pDC, CPoint(x, y - 3), CPoint(x, y + 3), CPoint(x + 3, y), clrArrow);
    }
    CRect rcText(rc.left + nColumn + 8, rc.top, rc.right - 19, rc.bottom);
    pDC->DrawText(bCues ? strCaption : strStripped, rcText,
                  DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | (bCues ? 0 : DT_NOPREFIX));
    if (nType == xtpControlButton && !strShortcut.IsEmpty())
        pDC->DrawText(strShortcut, rcText, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    return CSize(0, 0);
}

void CXTPBarThemeShadowed::DrawSeparatorLines(CDC* pDC, CXTPControl* pControl, CXTPCommandBar* pBar, int nDark,
                                              int nLight)
{
    CRect rcBar;
    pBar->GetClientRect(&rcBar);
    CRect rc = pControl->GetRect(), rcRow = pControl->GetRowRect();
    BOOL bVert = pBar->GetPosition() == xtpBarLeft || pBar->GetPosition() == xtpBarRight;
    if (!bVert && !pControl->GetWrap()) {
        Line(pDC, rc.left - 4, rcRow.top + 4, rc.left - 4, rcRow.bottom - 4, nDark);
        if (nLight != -1)
            Line(pDC, rc.left - 3, rcRow.top + 5, rc.left - 3, rcRow.bottom - 3, nLight);
    } else if (!bVert) {
        Line(pDC, rcBar.left + 4, rcRow.top - 4, rcBar.right, rcRow.top - 4, nDark);
        if (nLight != -1)
            Line(pDC, rcBar.left + 5, rcRow.top - 3, rcBar.right, rcRow.top - 3, nLight);
    } else if (!pControl->GetWrap()) {
        Line(pDC, rcRow.left + 4, rc.top - 4, rcRow.right - 4, rc.top - 4, nDark);
        if (nLight != -1)
            Line(pDC, rcRow.left + 5, rc.top - 3, rcRow.right - 3, rc.top - 3, nLight);
    } else {
        Line(pDC, rcRow.right + 4, rcBar.top + 4, rcRow.right + 4, rcBar.bottom, nDark);
        if (nLight != -1)
            Line(pDC, rcRow.right + 5, rcBar.top + 5, rcRow.right + 5, rcBar.bottom, nLight);
    }
}

CSize CXTPBarThemeShadowed::DrawSeparator(CDC* pDC, CXTPControl* pControl, CXTPCommandBar* pBar, BOOL bDraw)
{
    if (!bDraw)
        return CSize(0, 3);
    if (pBar->GetType() == xtpBarTypePopup) {
        CRect rcBar;
        pBar->GetClientRect(&rcBar);
        int y = pControl->GetRect().top - 2;
        Line(pDC, GetPopupColumnWidth(pBar) + 1 + 9, y, rcBar.right - 1, y, 39);
    } else {
        DrawSeparatorLines(pDC, pControl, pBar, 39, -1);
    }
    return CSize(0, 0);
}

void CXTPBarThemeShadowed::AdjustControlRect(CRect* pRect, CXTPControl* pControl, BOOL bVertical)
{
    if (pControl->GetParent() && pControl->GetParent()->GetType() == xtpBarTypePopup)
        pRect->InflateRect(1, 0);
    else if (pControl->GetType() == xtpControlComboBox)
        return;
    else if (bVertical)
        pRect->DeflateRect(1, 0);
    else
        pRect->DeflateRect(0, 1);
}

void CXTPBarThemeShadowed::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, CXTPStatusBarPane* /*pPane*/)
{
    Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
}

CSize CXTPBarThemeShadowed::DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw)
{
    if (!bDraw)
        return CSize(0, 9);
    CRect rcStrip(1, 1, rc.right + 1, rc.bottom - rc.top + 1);
    pDC->FillSolidRect(rcStrip, GetColor(41));
    rcStrip.DeflateRect(1, 1);
    int k = std::min(static_cast<int>(rc.right - rc.left) / 2 - 10, 16), x = (rcStrip.left + rcStrip.right) / 2;
    if (bSelected)
        Rectangle(pDC, rcStrip, 32, 31);
    else
        pDC->FillSolidRect(rcStrip, GetColor(30));
    if (k > 0)
        for (int y : bSelected ? std::vector<int>{4, 6} : std::vector<int>{3, 5, 7})
            Line(pDC, x - k, y, x + k, y, bSelected ? 45 : 38);
    return CSize(0, 9);
}

CSize CXTPBarThemeShadowed::DrawGripperShape(CDC* pDC, CXTPCommandBar* /*pBar*/, BOOL bDraw)
{
    int g = std::max(m_nTextHeight + 4, 22);
    if (bDraw && g - 2 > 6)
        for (int y = 6; y < g - 2; y += 2)
            Line(pDC, 3, y, 6, y, 38);
    return CSize(6, g);
}

CSize CXTPBarThemeShadowed::DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw)
{
    if (pBar->IsFullGripperShape())
        return DrawGripperShape(pDC, pBar, bDraw);
    CRect rc;
    pBar->GetClientRect(&rc);
    int w = rc.Width(), h = rc.Height();
    switch (pBar->GetPosition()) {
    case xtpBarFloating:
        return DrawFloatingCaption(pDC, pBar, bDraw, GetColor(COLOR_BTNSHADOW), TRUE);
    case xtpBarTop:
    case xtpBarBottom:
        if (bDraw && h - 5 > 5)
            for (int y = 5; y < h - 5; y += 2)
                Line(pDC, 3, y, 6, y, 38);
        return CSize(6, 0);
    case xtpBarLeft:
    case xtpBarRight:
        if (bDraw && w - 5 > 5)
            for (int x = 5; x < w - 5; x += 2)
                Line(pDC, x, 3, x, 6, 38);
        return CSize(0, 8);
    }
    return CSize(0, 0);
}

CSize CXTPBarThemeShadowed::DrawFloatingCaption(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw, COLORREF clrFill,
                                                BOOL bButtonRoom)
{
    CRect rc;
    pBar->GetClientRect(&rc);
    int w = rc.Width();
    CFontSelector font(pDC, &m_fontCaption.m_font);
    int ch = std::max(static_cast<int>(pDC->GetTextExtent(L" ", 1).cy), 15);
    if (bDraw) {
        pDC->FillSolidRect(CRect(3, 3, w - 3, ch + 3), clrFill);
        pDC->SetTextColor(GetColor(COLOR_BTNHIGHLIGHT));
        pDC->SetBkMode(TRANSPARENT);
        CRect rcTitle(5, 3, bButtonRoom ? w - 3 - 2 * ch : w - 3, ch + 3);
        pDC->DrawText(pBar->GetTitle(), rcTitle, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    return CSize(w - 6, ch);
}

CSize CXTPBarThemeShadowed::MeasureField(CDC* pDC, CXTPControl* pControl, int nFieldWidth, BOOL bLabel,
                                         BOOL bDropButton)
{
    CXTPCommandBar* pBar = pControl->GetParent();
    BOOL bPopup = pBar && pBar->GetType() == xtpBarTypePopup;
    int h = std::max(GetSpaceHeight(pDC, GetIconTitleFont()), GetSpaceHeight(pDC, GetRegularFont())) + 1;
    int nThumb = 0;
    if (bDropButton) {
        CFontSelector font(pDC, GetIconTitleFont());
        TEXTMETRICW tm = {};
        pDC->GetTextMetrics(&tm);
        nThumb = std::max(2 * static_cast<int>(tm.tmAveCharWidth) + 4, 15);
    }
    CString strCaption = pControl->GetCaption();
    StripAmpersands(strCaption);
    int cxCaption = 0;
    if (bPopup || bLabel) {
        CFontSelector font(pDC, GetRegularFont());
        cxCaption = pDC->GetTextExtent(strCaption).cx;
    }
    int nLabel = bPopup ? GetPopupColumnWidth(pBar) + 1 + cxCaption + 12 : bLabel ? cxCaption + 5 : 0;
    StoreFieldWidths(pControl, nLabel, nThumb);
    return CSize(bPopup ? nLabel + nFieldWidth : nFieldWidth, h + 7);
}

CRect CXTPBarThemeShadowed::DrawFieldLabel(CDC* pDC, CXTPControl* pControl, int nLabelWidth, BOOL bLabel)
{
    CXTPCommandBar* pBar = pControl->GetParent();
    BOOL bPopup = pBar && pBar->GetType() == xtpBarTypePopup;
    BOOL bEnabled = pControl->GetEnabled(), bSelected = pControl->GetSelected() != 0;
    CRect rc = pControl->GetRect();
    pDC->SetBkMode(TRANSPARENT);
    if (bPopup || bLabel) {
        CRect rcLabel = rc;
        if (bPopup) {
            if (bSelected)
                DrawControlRect(pDC, rc, TRUE, FALSE, bEnabled, FALSE, FALSE, FALSE, xtpBarPopup);
            rcLabel.left += GetPopupColumnWidth(pBar) + 1 + 7;
            pDC->SetTextColor(GetColor(!bEnabled ? 35 : bSelected ? 45 : 44));
        } else {
            rcLabel.left += 2;
            pDC->SetTextColor(GetColor(bEnabled ? 46 : 40));
        }
        CString strCaption = pControl->GetCaption();
        UINT nFormat = DT_SINGLELINE | DT_VCENTER;
        if (!pBar || !pBar->IsKeyboardCuesVisible()) {
            StripAmpersands(strCaption);
            nFormat |= DT_NOPREFIX;
        }
        CFontSelector font(pDC, GetRegularFont());
        pDC->DrawText(strCaption, rcLabel, nFormat);
    }
    rc.left += nLabelWidth;
    return rc;
}

CSize CXTPBarThemeShadowed::DrawComboBoxControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw)
{
    auto* pCombo = static_cast<CXTPControlComboBox*>(pControl);
    BOOL bLabel = pCombo->GetComboStyle() == 1;
    if (!bDraw)
        return MeasureField(pDC, pControl, pCombo->GetWidth(), bLabel, TRUE);
    CXTPCommandBar* pBar = pControl->GetParent();
    BOOL bPopup = pBar && pBar->GetType() == xtpBarTypePopup;
    BOOL bEnabled = pControl->GetEnabled(), bSelected = pControl->GetSelected() != 0;
    BOOL bDropped = pCombo->IsDroppedDown();
    CRect rc = DrawFieldLabel(pDC, pControl, pCombo->GetLabelWidth(), bLabel);
    int dw = pCombo->GetThumbWidth();
    CRect rcButton(rc.right - dw, rc.top, rc.right, rc.bottom);
    if (!bEnabled) {
        rc.left++;
        Rectangle(pDC, rc, pControl->GetSelected() == 2 ? 32 : 40, COLOR_3DFACE);
    } else {
        pDC->FillSolidRect(CRect(rc.left + 1, rc.top + 1, rc.right - dw + 1, rc.bottom - 1), GetColor(COLOR_WINDOW));
        if (bSelected) {
            Rectangle(pDC, rc, 32, COLOR_WINDOW);
            Rectangle(pDC, rcButton, 32, bDropped ? 33 : 31);
            rcButton.DeflateRect(1, 1);
        } else if (bPopup) {
            Draw3dRect(pDC, rc, 53, 53);
            rcButton.DeflateRect(1, 1);
            Rectangle(pDC, rcButton, COLOR_WINDOW, 53);
        } else {
            rcButton.DeflateRect(1, 1);
            Draw3dRect(pDC, rcButton, COLOR_WINDOW, COLOR_WINDOW);
        }
    }
    pCombo->DrawEditText(pDC, CRect(rc.left + 3, rc.top + 1, rc.right - dw, rc.bottom - 1));
    DrawDownArrow(pDC, rcButton, GetColor(!bEnabled ? 40 : bDropped ? 47 : bSelected ? 45 : 46));
    return CSize(0, 0);
}

CSize CXTPBarThemeShadowed::DrawEditControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw)
{
    auto* pEdit = static_cast<CXTPControlEdit*>(pControl);
    BOOL bLabel = pEdit->IsCaptionVisible();
    if (!bDraw)
        return MeasureField(pDC, pControl, pEdit->GetWidth(), bLabel, FALSE);
    CXTPCommandBar* pBar = pControl->GetParent();
    BOOL bPopup = pBar && pBar->GetType() == xtpBarTypePopup;
    CRect rc = DrawFieldLabel(pDC, pControl, pEdit->GetLabelWidth(), bLabel);
    if (!pControl->GetEnabled()) {
        rc.left++;
        Rectangle(pDC, rc, pControl->GetSelected() == 2 ? 32 : 40, COLOR_3DFACE);
        return CSize(0, 0);
    }
    CRect rcInside = rc;
    rcInside.DeflateRect(1, 1);
    pDC->FillSolidRect(rcInside, GetColor(COLOR_WINDOW));
    if (pControl->GetSelected())
        Rectangle(pDC, rc, 32, COLOR_WINDOW);
    else if (bPopup)
        Draw3dRect(pDC, rc, 53, 53);
    return CSize(0, 0);
}

CSize CXTPBarThemeShadowed::DrawListBoxControl(CDC* pDC, CXTPControl* pControl, CRect rc, BOOL bSelected,
                                               BOOL bDraw, CXTPCommandBars* pOwner)
{
    CSize szIcon = pOwner ? pOwner->GetCommandBarsOptions()->szPopupIcons : CSize(0, 0);
    if (szIcon.cx <= 0 || szIcon.cy <= 0)
        szIcon = CSize(16, 16);
    int nHeight = std::max(static_cast<int>(szIcon.cy) + 6, m_nTextHeight);
    int c = std::max(static_cast<int>(szIcon.cx) + 4, m_nTextHeight + 4);
    if (!bDraw)
        return CSize(c, nHeight);
    if (!pControl)
        return CSize(0, 0);
    pDC->FillSolidRect(rc, GetColor(41));
    FillBarBand(pDC, 0, rc.top, c + 1, rc.Height(), FALSE);
    if (bSelected)
        DrawControlRect(pDC, rc, TRUE, FALSE, TRUE, FALSE, FALSE, FALSE, xtpBarPopup);

    int nStyle = pControl->GetStyle(), nType = pControl->GetType();
    BOOL bImageSource = pControl->GetCustomIconId() != 0 || pControl->GetIconId() > 0 || pControl->GetID() != 0;
    BOOL bShowsImage = nStyle == xtpButtonIcon || nStyle == xtpButtonIconAndCaption ||
                       (nStyle == xtpButtonAutomatic && nType != xtpControlPopup);
    CXTPBarIcon* pIcon = bImageSource && bShowsImage ? pControl->GetImage(szIcon.cx) : nullptr;
    if (pIcon) {
        CSize szImage = pIcon->GetExtent();
        CSize szDrawn(szIcon.cx, szImage.cx ? szImage.cy * szIcon.cx / szImage.cx : szIcon.cy);
        CPoint pt(rc.left + c / 2 - szDrawn.cx / 2, rc.top + rc.Height() / 2 - szDrawn.cy / 2);
        DrawImage(pDC, pt, szDrawn, pIcon, bSelected, FALSE, TRUE, FALSE, FALSE, FALSE);
    }

    CString strCaption = pControl->GetCaption();
    StripAmpersands(strCaption);
    CWnd* pOwnerWnd = pOwner ? pOwner->GetSite() : nullptr;
    if (pOwnerWnd && pOwnerWnd->GetSafeHwnd() && (pOwnerWnd->GetExStyle() & WS_EX_LAYOUTRTL))
        DrawControlHook(strCaption);
    CFontSelector font(pDC, GetRegularFont());
    COLORREF clrText = GetColor(bSelected ? 45 : 44);
    pDC->SetTextColor(clrText);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strCaption, CRect(c + rc.left + 8, rc.top, rc.right, rc.bottom),
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);

    int m = (rc.top + rc.bottom) / 2;
    if (nType >= xtpControlPopup && nType <= xtpControlSplitButtonPopup) {
        FillTriangle(pDC, CPoint(rc.right - 7, m), CPoint(rc.right - 12, m - 5), CPoint(rc.right - 12, m + 5), clrText);
        if (nType == xtpControlSplitButtonPopup)
            Line(pDC, rc.right - 20, rc.top + 1, rc.right - 20, rc.bottom - 1, bSelected ? 32 : COLOR_3DSHADOW);
    }
    if (nType == xtpControlComboBox || nType == xtpControlEdit) {
        CRect rcCalc(0, 0, 0, 0);
        pDC->DrawText(strCaption, rcCalc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        int s = pDC->GetTextExtent(L" ", 1).cy + 2;
        Rectangle(pDC, CRect(rcCalc.Width() + c + rc.left + 13, rc.top, rc.right, rc.bottom), bSelected ? 32 : COLOR_3DFACE,
                  COLOR_WINDOW);
        if (nType == xtpControlComboBox) {
            CRect rcButton(rc.right - s, rc.top, rc.right, rc.bottom);
            if (!bSelected)
                pDC->FillSolidRect(rc.right - s + 2, rc.top + 2, s - 4, rc.Height() - 4, GetColor(COLOR_3DFACE));
            else
                DrawControlRect(pDC, rcButton, TRUE, FALSE, TRUE, FALSE, FALSE, FALSE, xtpBarPopup);
            rcButton.DeflateRect(1, 1);
            DrawDownArrow(pDC, rcButton, GetColor(bSelected ? 45 : 46));
        }
    }
    return CSize(0, 0);
}
