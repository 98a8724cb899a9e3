#include "ui/themes/BarThemeDefault.h"

#include "ui/commandbars/XTPCommandBar.h"
#include "ui/commandbars/XTPControlComboBox.h"
#include "ui/commandbars/XTPControlEdit.h"
#include "ui/themes/BarIcon.h"
#include "ui/themes/DrawHelpers.h"

CXTPBarThemeDefault::CXTPBarThemeDefault()
{
    m_iconOptions.bUseFadedIcons = FALSE;
    m_iconOptions.bIconsWithShadow = FALSE;
}

CSize CXTPBarThemeDefault::DrawPopupBarControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw)
{
    CXTPCommandBar* pBar = pControl->GetParent();
    CSize szIcon = pBar->GetIconSize();
    int c = std::max(static_cast<int>(szIcon.cx) + 4, m_nTextHeight + 4);
    int nColumn = pBar->IsCheckboxesBesideIcons() ? 2 * c : c;
    int nHeight = std::max(static_cast<int>(szIcon.cy) + 6, m_nTextHeight);
    CFontSelector font(pDC, GetControlFont(pBar, pControl->IsDefaultItem()));
    CString strCaption = pControl->GetCaption(), strShortcut = pControl->GetShortcutText();
    StripAmpersands(strCaption);
    if (!bDraw) {
        int cxCaption = pDC->GetTextExtent(strCaption).cx;
        int cxShortcut = strShortcut.IsEmpty() ? 0 : pDC->GetTextExtent(strShortcut).cx;
        return CSize(cxCaption + cxShortcut + nColumn + 40, nHeight);
    }

    if (pBar->IsLayoutRTL())
        DrawControlHook(pControl->GetCaption());
    CRect rc = pControl->GetRect();
    BOOL bEnabled = pControl->GetEnabled(), bSelected = pControl->GetSelected() != 0;
    CRect rcColumn(rc.left, rc.top, rc.left + c, rc.bottom);
    CXTPBarIcon* pIcon = pControl->GetImage(szIcon.cx);
    if (bSelected && bEnabled) {
        if (m_bFilledSelection)
            Rectangle(pDC, rc, COLOR_HIGHLIGHT, COLOR_HIGHLIGHT);
        else
            DrawControlRect(pDC, rcColumn, pControl->GetSelected(), FALSE, TRUE, FALSE, FALSE, TRUE, xtpBarPopup);
    }
    // White highlight text suits only the filled selection: on the face it would not show.
    pDC->SetTextColor(GetColor(!bEnabled ? COLOR_GRAYTEXT
                               : bSelected && m_bFilledSelection ? COLOR_HIGHLIGHTTEXT : m_nPopupTextColor));
    pDC->SetBkMode(TRANSPARENT);
    if (pControl->GetChecked()) {
        CRect rcCheck = rcColumn;
        rcCheck.DeflateRect(1, 1);
        DrawControlRect(pDC, rcCheck, pControl->GetSelected(), FALSE, bEnabled, TRUE, FALSE, TRUE, xtpBarPopup);
        if (!pIcon)
            DrawTick(pDC, rcCheck, pDC->GetTextColor(), pBar->IsLayoutRTL());
    }
    if (pIcon) {
        CRect rcIcon = pBar->IsCheckboxesBesideIcons() ? CRect(rc.left + c, rc.top, rc.left + 2 * c, rc.bottom) : rcColumn;
        CPoint pt(rcIcon.left + (rcIcon.Width() - szIcon.cx) / 2, rcIcon.top + (rcIcon.Height() - szIcon.cy) / 2);
        DrawImage(pDC, pt, szIcon, pIcon, pControl->GetSelected(), FALSE, bEnabled, pControl->GetChecked(), FALSE,
                  FALSE);
    }
    int nType = pControl->GetType();
    COLORREF clrText = pDC->GetTextColor();
    if (nType >= xtpControlPopup && nType <= xtpControlSplitButtonPopup) {
        int x = rc.right - 11, y = rc.CenterPoint().y;
        FillTriangle(pDC, CPoint(x, y - 3), CPoint(x, y + 3), CPoint(x + 3, y), clrText);
        if (nType == xtpControlSplitButtonPopup && !pControl->IsWholeFacePopup()) {
            CRect rcArrow(rc.right - 20, rc.top, rc.right, rc.bottom);
            if (bSelected && bEnabled && pBar->GetPopupedIndex() == pControl->GetIndex())
                Draw3dRect(pDC, rcArrow, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
            Line(pDC, rc.right - 20, rc.top + 1, rc.right - 20, rc.bottom - 1, COLOR_BTNSHADOW);
        }
    }
    CRect rcText(rc.left + nColumn + 8, rc.top, rc.right - 19, rc.bottom);
    UINT nFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | (pBar->IsKeyboardCuesVisible() ? 0 : DT_NOPREFIX);
    pDC->DrawText(pBar->IsKeyboardCuesVisible() ? pControl->GetCaption() : strCaption, rcText, nFormat);
    if (nType == xtpControlButton && !strShortcut.IsEmpty())
        pDC->DrawText(strShortcut, rcText, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    return CSize(0, 0);
}

void CXTPBarThemeDefault::DrawSplitButtonFace(CDC* pDC, CXTPControl* pControl, CRect rc)
{
    CXTPCommandBar* pBar = pControl->GetParent();
    int nPosition = pBar ? pBar->GetPosition() : xtpBarTop;
    BOOL bWhole = pControl->IsWholeFacePopup(), bEnabled = pControl->GetEnabled();
    int nSelected = pControl->GetSelected();
    DrawControlEntry(pDC, CRect(rc.left, rc.top, rc.right - 12, rc.bottom), bEnabled, nSelected || bWhole ? 1 : 0,
                     pControl->GetPressed(), pControl->GetChecked(), bWhole, nPosition);
    COLORREF clrText = pDC->GetTextColor();
    if (bEnabled && (nSelected || pControl->GetPressed() || bWhole))
        DrawControlRect(pDC, CRect(rc.right - 12, rc.top, rc.right, rc.bottom), 1, 0, TRUE, FALSE, FALSE, TRUE,
                        nPosition);
    int y = rc.CenterPoint().y;
    FillTriangle(pDC, CPoint(rc.right - 9, y - 1), CPoint(rc.right - 5, y - 1), CPoint(rc.right - 7, y + 1), clrText);
}

void CXTPBarThemeDefault::FillCommandBar(CDC* pDC, CXTPCommandBar* pBar)
{
    CRect rc;
    pBar->GetClientRect(&rc);
    pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
    if (pBar->GetPosition() == xtpBarFloating || pBar->GetPosition() == xtpBarPopup) {
        Draw3dRect(pDC, rc, COLOR_3DFACE, COLOR_3DDKSHADOW);
        rc.DeflateRect(1, 1);
    }
    Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
}

void CXTPBarThemeDefault::DrawControlEntry(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected, int nPressed,
                                           BOOL bChecked, BOOL bPopupWhole, int nBarPosition)
{
    DrawControlRect(pDC, rc, nSelected, nPressed, bEnabled, bChecked, bPopupWhole, TRUE, nBarPosition);
    pDC->SetTextColor(
        GetColor(GetControlTextColorIndex(bEnabled, nSelected, nPressed, bChecked, bPopupWhole, nBarPosition)));
    pDC->SetBkMode(TRANSPARENT);
}

int CXTPBarThemeDefault::GetControlTextColorIndex(BOOL bEnabled, int /*nSelected*/, int /*nPressed*/,
                                                  BOOL /*bChecked*/, BOOL /*bPopupWhole*/, int nBarPosition)
{
    return !bEnabled ? COLOR_GRAYTEXT : nBarPosition == xtpBarPopup ? m_nPopupTextColor : COLOR_BTNTEXT;
}

void CXTPBarThemeDefault::DrawControlRect(CDC* pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled,
                                          BOOL bChecked, BOOL bPopupWhole, BOOL /*bToolBar*/, int /*nBarPosition*/)
{
    if (!bEnabled) {
        if (bChecked || nSelected == 2)
            Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        return;
    }
    if (bChecked) {
        if (!nSelected && !nPressed)
            FillCheckerboard(pDC, rc, GetColor(COLOR_3DFACE), GetColor(COLOR_BTNHIGHLIGHT));
        Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    } else if (bPopupWhole || nPressed == 2) {
        Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    } else if (nSelected && nPressed) {
        Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    } else if (nSelected || nPressed) {
        Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    }
}

CSize CXTPBarThemeDefault::DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw)
{
    if (pBar->IsFullGripperShape())
        return DrawGripperShape(pDC, pBar, bDraw);
    CRect rc;
    pBar->GetClientRect(&rc);
    switch (pBar->GetPosition()) {
    case xtpBarFloating: {
        CFontSelector font(pDC, &m_fontCaption.m_font);
        int ch = std::max(static_cast<int>(pDC->GetTextExtent(L" ", 1).cy), 15);
        if (bDraw) {
            pDC->FillSolidRect(CRect(3, 3, rc.right - 3, ch + 3), GetColor(COLOR_ACTIVECAPTION));
            pDC->SetTextColor(GetColor(COLOR_BTNHIGHLIGHT));
            pDC->SetBkMode(TRANSPARENT);
            CRect rcTitle(5, 3, rc.right - 3 - 2 * ch, ch + 3);
            pDC->DrawText(pBar->GetTitle(), rcTitle, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        }
        return CSize(rc.Width() - 6, ch);
    }
    case xtpBarTop:
    case xtpBarBottom:
        if (bDraw)
            Draw3dRect(pDC, CRect(3, 3, 6, rc.bottom - 3), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        return CSize(6, 0);
    case xtpBarLeft:
    case xtpBarRight:
        if (bDraw)
            Draw3dRect(pDC, CRect(3, 3, rc.right - 3, 6), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        return CSize(0, 8);
    }
    return CSize(0, 0);
}

CSize CXTPBarThemeDefault::DrawSeparator(CDC* pDC, CXTPControl* pControl, CXTPCommandBar* pBar, BOOL bDraw)
{
    if (!bDraw)
        return CSize(0, 8);
    CRect rcBar;
    pBar->GetClientRect(&rcBar);
    CRect rc = pControl->GetRect(), rcRow = pControl->GetRowRect();
    int nPosition = pBar->GetPosition();
    if (pBar->GetType() == xtpBarTypePopup)
        Draw3dRect(pDC, CRect(rcBar.left + 2, rc.top - 5, rcBar.right - 2, rc.top - 3), COLOR_BTNSHADOW,
                   COLOR_BTNHIGHLIGHT);
    else if (nPosition == xtpBarLeft || nPosition == xtpBarRight)
        Draw3dRect(pDC, pControl->GetWrap() ? CRect(rc.right + 2, rcRow.top, rc.right + 4, rcRow.bottom)
                                            : CRect(rcRow.left, rc.top - 4, rcRow.right, rc.top - 2),
                   COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    else
        Draw3dRect(pDC, pControl->GetWrap() ? CRect(rcRow.left, rc.top - 4, rcRow.right, rc.top - 2)
                                            : CRect(rc.left - 4, rcRow.top, rc.left - 2, rcRow.bottom),
                   COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    return CSize(0, 0);
}

void CXTPBarThemeDefault::AdjustControlRect(CRect* pRect, CXTPControl* pControl, BOOL bVertical)
{
    if (pControl->GetType() == xtpControlComboBox)
        return;
    if (pControl->GetParent() && pControl->GetParent()->GetType() == xtpBarTypePopup)
        pRect->DeflateRect(1, 0);
    else if (bVertical)
        pRect->InflateRect(0, 1);
    else
        pRect->InflateRect(1, 0);
}

CSize CXTPBarThemeDefault::DrawGlyph(CDC* pDC, CXTPCommandBar* pBar, int nGlyph, CXTPControl* pControl, BOOL bDraw,
                                     const CSize* pszBar)
{
    int nPosition = pBar->GetPosition();
    if (bDraw && (nPosition == xtpBarLeft || nPosition == xtpBarRight || nPosition == xtpBarPopup) &&
        (pControl->GetPressed() || pControl->GetSelected() ||
         (pControl->GetType() == xtpControlButtonPopup && pControl->IsWholeFacePopup())))
        pDC->FillSolidRect(pControl->GetRect(), GetColor(COLOR_3DFACE));
    return CXTPBarPainter::DrawGlyph(pDC, pBar, nGlyph, pControl, bDraw, pszBar);
}

void CXTPBarThemeDefault::GetBarBorders(CRect* pBorders, CXTPCommandBar* pBar)
{
    if (pBar->GetType() == xtpBarTypePopup)
        pBorders->SetRect(3, 3, 3, 3);
    else
        CXTPBarPainter::GetBarBorders(pBorders, pBar);
}

CSize CXTPBarThemeDefault::DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw)
{
    if (bDraw)
        pDC->FillSolidRect(CRect(rc.left, rc.top, rc.right, rc.bottom - 1),
                           GetColor(bSelected ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    return CSize(0, 8);
}

void CXTPBarThemeDefault::DrawImage(CDC* pDC, CPoint pt, CSize sz, CXTPBarIcon* pIcon, int nSelected, int nPressed,
                                    BOOL bEnabled, BOOL bChecked, BOOL bPopupWhole, BOOL /*bToolBar*/)
{
    if (!bEnabled) {
        if (!m_iconOptions.bUseDisabledIcons && !pIcon->HasImage(CXTPBarIcon::imageDisabled) && !pIcon->IsAlpha()) {
            pIcon->DrawMono(pDC, pt + CPoint(1, 1), sz, GetColor(COLOR_BTNHIGHLIGHT));
            pIcon->DrawMono(pDC, pt, sz, GetColor(COLOR_BTNSHADOW));
        } else {
            pIcon->Draw(pDC, pt, CXTPBarIcon::imageDisabled, sz);
        }
        return;
    }
    if (bChecked || bPopupWhole) {
        int nImage = bPopupWhole && !bChecked      ? CXTPBarIcon::imageNormal
                     : nSelected || nPressed       ? CXTPBarIcon::imageHot
                     : bChecked                    ? CXTPBarIcon::imageChecked
                                                   : CXTPBarIcon::imageNormal;
        pIcon->Draw(pDC, pt, nImage, sz);
        return;
    }
    if (!nSelected && !nPressed)
        pIcon->Draw(pDC, pt, m_iconOptions.bUseFadedIcons ? CXTPBarIcon::imageFaded : CXTPBarIcon::imageNormal, sz);
    else if ((nSelected && nPressed) || nPressed == 2)
        pIcon->Draw(pDC, pt + CPoint(1, 1), CXTPBarIcon::imageHot, sz);
    else if (m_iconOptions.bIconsWithShadow) {
        pIcon->Draw(pDC, pt + CPoint(1, 1), CXTPBarIcon::imageShadow, sz);
        pIcon->Draw(pDC, pt - CPoint(1, 1), CXTPBarIcon::imageHot, sz);
    } else {
        pIcon->Draw(pDC, pt, CXTPBarIcon::imageHot, sz);
    }
}

CSize CXTPBarThemeDefault::DrawGripperShape(CDC* pDC, CXTPCommandBar* /*pBar*/, BOOL bDraw)
{
    int g = std::max(m_nTextHeight + 4, 22);
    if (bDraw)
        Draw3dRect(pDC, CRect(3, 3, 6, g), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    return CSize(6, g);
}

CSize CXTPBarThemeDefault::MeasureField(CDC* pDC, CXTPControl* pControl, int nFieldWidth, BOOL bDropButton)
{
    CFontSelector font(pDC, GetControlFont(pControl->GetParent(), FALSE));
    TEXTMETRICW tm = {};
    pDC->GetTextMetrics(&tm);
    // The drop button grows with the font: room for two average characters.
    int nThumb = bDropButton ? std::max(15, 2 * static_cast<int>(tm.tmAveCharWidth) + 4) : 0;
    CString strCaption = pControl->GetCaption();
    StripAmpersands(strCaption);
    int nLabel = pControl->IsCaptionVisible() ? pDC->GetTextExtent(strCaption).cx + 5 : 0;
    StoreFieldWidths(pControl, nLabel, nThumb);
    return CSize(nLabel + nFieldWidth, pDC->GetTextExtent(L" ", 1).cy + 7);
}

CRect CXTPBarThemeDefault::DrawFieldLabel(CDC* pDC, CXTPControl* pControl, int nLabelWidth)
{
    CRect rc = pControl->GetRect();
    if (nLabelWidth > 0) {
        CFontSelector font(pDC, GetControlFont(pControl->GetParent(), FALSE));
        pDC->SetTextColor(GetColor(pControl->GetEnabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        pDC->SetBkMode(TRANSPARENT);
        CString strCaption = pControl->GetCaption();
        StripAmpersands(strCaption);
        CRect rcLabel(rc.left + 2, rc.top, rc.left + nLabelWidth, rc.bottom);
        pDC->DrawText(strCaption, rcLabel, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    rc.left += nLabelWidth;
    return rc;
}

void CXTPBarThemeDefault::DrawEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected, BOOL bDropped)
{
    CRect rcInside = rc;
    rcInside.DeflateRect(1, 1);
    pDC->FillSolidRect(rcInside, GetColor(bEnabled ? COLOR_WINDOW : COLOR_3DFACE));
    if (nSelected != 1) {
        Draw3dRect(pDC, rc, nSelected == 2 ? COLOR_3DSHADOW : COLOR_3DHILIGHT,
                   nSelected == 2 ? COLOR_3DSHADOW : COLOR_3DHILIGHT);
        return;
    }
    if (bDropped)
        Draw3dRect(pDC, rc, COLOR_3DSHADOW, COLOR_3DHILIGHT);
    else
        Draw3dRect(pDC, rc, COLOR_3DFACE, COLOR_3DFACE);
    Draw3dRect(pDC, rcInside, COLOR_3DFACE, COLOR_3DFACE);
}

void CXTPBarThemeDefault::DrawComboDropButton(CDC* pDC, CRect rc, BOOL bEnabled, int /*nSelected*/, BOOL bDropped)
{
    rc.DeflateRect(1, 2, 2, 2);
    pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
    pDC->FillSolidRect(rc.left - 1, rc.top, 1, rc.Height(), GetColor(COLOR_3DFACE));
    CRect rcArrow = rc;
    if (bDropped) {
        Draw3dRect(pDC, rc, COLOR_3DSHADOW, COLOR_3DHILIGHT);
        rcArrow.OffsetRect(1, 1);
    } else {
        Draw3dRect(pDC, rc, COLOR_3DHILIGHT, COLOR_3DSHADOW);
    }
    DrawDownArrow(pDC, rcArrow, GetColor(bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
}

CSize CXTPBarThemeDefault::DrawComboBoxControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw)
{
    auto* pCombo = static_cast<CXTPControlComboBox*>(pControl);
    if (!bDraw)
        return MeasureField(pDC, pControl, pCombo->GetWidth(), TRUE);
    CRect rc = DrawFieldLabel(pDC, pControl, pCombo->GetLabelWidth());
    BOOL bEnabled = pControl->GetEnabled(), bDropped = pCombo->IsDroppedDown();
    int nThumb = pCombo->GetThumbWidth();
    DrawEditFrame(pDC, rc, bEnabled, pControl->GetSelected(), bDropped);
    DrawComboDropButton(pDC, CRect(rc.right - nThumb, rc.top, rc.right, rc.bottom), bEnabled, pControl->GetSelected(),
                        bDropped);
    pCombo->DrawEditText(pDC, CRect(rc.left + 3, rc.top + 1, rc.right - nThumb, rc.bottom - 1));
    return CSize(0, 0);
}

CSize CXTPBarThemeDefault::DrawEditControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw)
{
    auto* pEdit = static_cast<CXTPControlEdit*>(pControl);
    if (!bDraw)
        return MeasureField(pDC, pControl, pEdit->GetWidth(), FALSE);
    CRect rc = DrawFieldLabel(pDC, pControl, pEdit->GetLabelWidth());
    DrawEditFrame(pDC, rc, pControl->GetEnabled(), pControl->GetSelected(), FALSE);
    return CSize(0, 0);
}

CSize CXTPBarThemeDefault::DrawListBoxControl(CDC* pDC, CXTPControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                                              CXTPCommandBars* /*pOwner*/)
{
    CXTPCommandBar* pBar = pControl ? pControl->GetParent() : nullptr;
    CSize szIcon = pBar ? pBar->GetIconSize() : CSize(16, 16);
    int c = std::max(m_nTextHeight, static_cast<int>(szIcon.cx) + 4);
    CSize sz(c, std::max(static_cast<int>(szIcon.cy) + 6, m_nTextHeight));
    if (!bDraw)
        return sz;
    if (!pControl)
        return CSize(0, 0);
    pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
    if (bSelected)
        DrawControlRect(pDC, rc, TRUE, FALSE, TRUE, FALSE, FALSE, TRUE, xtpBarPopup);
    if (CXTPBarIcon* pIcon = pControl->GetImage(szIcon.cx))
        DrawImage(pDC, CPoint(rc.left + (c - szIcon.cx) / 2, rc.top + (rc.Height() - szIcon.cy) / 2), szIcon, pIcon,
                  bSelected, FALSE, TRUE, FALSE, FALSE, FALSE);
    CString strCaption = pControl->GetCaption();
    StripAmpersands(strCaption);
    CFontSelector font(pDC, GetControlFont(pBar, FALSE));
    COLORREF clrText = GetColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
    pDC->SetTextColor(clrText);
    pDC->SetBkMode(TRANSPARENT);
    CRect rcText(rc.left + c + 4, rc.top, rc.right, rc.bottom);
    pDC->DrawText(strCaption, rcText, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    int nType = pControl->GetType();
    if (nType >= xtpControlPopup && nType <= xtpControlSplitButtonPopup) {
        int m = (rc.top + rc.bottom) / 2;
        FillTriangle(pDC, CPoint(rc.right - 7, m), CPoint(rc.right - 12, m - 5), CPoint(rc.right - 12, m + 5), clrText);
        if (nType == xtpControlSplitButtonPopup)
            Line(pDC, rc.right - 20, rc.top + 1, rc.right - 20, rc.bottom - 1, COLOR_3DSHADOW);
    }
    return CSize(0, 0);
}
