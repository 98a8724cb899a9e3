#include "ui/themes/BarThemeVisualStyles.h"

#include "ui/commandbars/XTPCommandBar.h"
#include "ui/commandbars/XTPStatusBar.h"
#include "ui/commandbars/XTPStatusBarPane.h"
#include "ui/themes/DrawHelpers.h"

#include "platform/mfc/afxres.h"

#include <vssym32.h>

namespace
{
// Properties of the visual-style classes.
const int propBorderColor = 3801;
const int propTextColor = 3803;
const int propEdgeShadowColor = 3806;
const int propFillColorHint = 3821;
}

CXTPBarThemeVisualStyles::CXTPBarThemeVisualStyles()
{
    m_iconOptions.bUseFadedIcons = TRUE;
    m_iconOptions.bIconsWithShadow = FALSE;
    m_nPopupTextColor = COLOR_MENUTEXT;
    RefreshMetrics();
}

void CXTPBarThemeVisualStyles::RefreshMetrics()
{
    CXTPBarThemeDefault::RefreshMetrics();
    CWnd* pMainWnd = AfxGetMainWnd();
    HWND hWnd = pMainWnd ? pMainWnd->GetSafeHwnd() : nullptr;
    m_themeToolbar.OpenThemeData(hWnd, L"TOOLBAR");
    m_themeRebar.OpenThemeData(hWnd, L"REBAR");
    m_themeCombo.OpenThemeData(hWnd, L"COMBOBOX");
    m_themeStatus.OpenThemeData(hWnd, L"STATUS");

    BOOL bFlat = FALSE;
    m_bFlatMenus = ::SystemParametersInfoW(SPI_GETFLATMENU, 0, &bFlat, 0) && bFlat;

    m_clrRebarEdge = GetColor(COLOR_BTNSHADOW);
    COLORREF clr;
    if (m_themeRebar.IsOpen() && SUCCEEDED(m_themeRebar.GetThemeColor(RP_BAND, 0, propEdgeShadowColor, &clr)))
        m_clrRebarEdge = clr;
    if (m_themeToolbar.IsOpen() && SUCCEEDED(m_themeToolbar.GetThemeColor(0, 0, propTextColor, &clr)))
        m_colors[COLOR_BTNTEXT].SetDefaultValue(clr);
    if (m_themeRebar.IsOpen() && SUCCEEDED(m_themeRebar.GetThemeColor(0, 0, propFillColorHint, &clr)))
        m_colors[COLOR_3DFACE].SetDefaultValue(clr);
    if (m_themeStatus.IsOpen() && SUCCEEDED(m_themeStatus.GetThemeColor(SP_PANE, 0, propTextColor, &clr)))
        m_clrDefaultText = clr;
}

int CXTPBarThemeVisualStyles::GetButtonState(int nSelected, int nPressed, BOOL bEnabled, BOOL bChecked,
                                             BOOL bPopupWhole)
{
    if (!bEnabled)
        return bChecked ? TS_PRESSED : TS_DISABLED;
    if (bPopupWhole)
        return TS_PRESSED;
    if (bChecked && !nPressed)
        return nSelected ? TS_HOTCHECKED : TS_CHECKED;
    if ((nSelected && nPressed) || nPressed == 2)
        return TS_PRESSED;
    return nSelected ? TS_HOT : TS_NORMAL;
}

void CXTPBarThemeVisualStyles::DrawControlRect(CDC* pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled,
                                               BOOL bChecked, BOOL bPopupWhole, BOOL bToolBar, int nBarPosition)
{
    if (!m_themeToolbar.IsOpen()) {
        CXTPBarThemeDefault::DrawControlRect(pDC, rc, nSelected, nPressed, bEnabled, bChecked, bPopupWhole, bToolBar,
                                             nBarPosition);
        return;
    }
    m_themeToolbar.DrawThemeBackground(pDC->GetSafeHdc(), TP_BUTTON,
                                       GetButtonState(nSelected, nPressed, bEnabled, bChecked, bPopupWhole), rc,
                                       nullptr);
}

void CXTPBarThemeVisualStyles::DrawSplitButtonFace(CDC* pDC, CXTPControl* pControl, CRect rc)
{
    if (!m_themeToolbar.IsOpen()) {
        CXTPBarThemeDefault::DrawSplitButtonFace(pDC, pControl, rc);
        return;
    }
    BOOL bEnabled = pControl->GetEnabled(), bWhole = pControl->IsWholeFacePopup();
    int nSelected = pControl->GetSelected(), nPressed = pControl->GetPressed();
    int nState = !bEnabled                ? TS_DISABLED
                 : nPressed && nSelected  ? TS_PRESSED
                 : pControl->GetChecked() ? TS_CHECKED
                 : nSelected || bWhole    ? TS_HOT
                                          : TS_NORMAL;
    HDC hDC = pDC->GetSafeHdc();
    CRect rcButton(rc.left, rc.top, rc.right - 12, rc.bottom), rcArrow(rc.right - 12, rc.top, rc.right, rc.bottom);
    m_themeToolbar.DrawThemeBackground(hDC, TP_SPLITBUTTON, nState, rcButton, nullptr);
    m_themeToolbar.DrawThemeBackground(hDC, TP_SPLITBUTTONDROPDOWN, bWhole ? TS_PRESSED : nState, rcArrow, nullptr);
    pDC->SetTextColor(GetColor(bEnabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    pDC->SetBkMode(TRANSPARENT);
}

void CXTPBarThemeVisualStyles::DrawRaisedFrame(CDC* pDC, CRect rc)
{
    Draw3dRect(pDC, rc, COLOR_3DFACE, COLOR_3DDKSHADOW);
    rc.DeflateRect(1, 1);
    Draw3dRect(pDC, rc, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
}

void CXTPBarThemeVisualStyles::FillRebarBackground(CDC* pDC, CWnd* pWnd, CWnd* pBackground)
{
    CRect rcClient;
    pWnd->GetClientRect(&rcClient);
    if (!m_themeRebar.IsOpen()) {
        pDC->FillSolidRect(rcClient, GetColor(COLOR_3DFACE));
        return;
    }
    // One background for every bar and the dock area: the parent's client area seen through the window.
    CRect rcBackground;
    pBackground->GetClientRect(&rcBackground);
    if (pBackground != pWnd)
        pBackground->MapWindowPoints(pWnd, &rcBackground);
    m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, rcBackground, rcClient);
}

void CXTPBarThemeVisualStyles::FillCommandBar(CDC* pDC, CXTPCommandBar* pBar)
{
    if (!m_themeRebar.IsOpen()) {
        CXTPBarThemeDefault::FillCommandBar(pDC, pBar);
        return;
    }
    CRect rc;
    pBar->GetClientRect(&rc);
    switch (pBar->GetPosition()) {
    case xtpBarPopup:
        pDC->FillSolidRect(rc, GetColor(COLOR_MENU));
        if (m_bFlatMenus)
            Draw3dRect(pDC, rc, COLOR_BTNSHADOW, COLOR_BTNSHADOW);
        else
            DrawRaisedFrame(pDC, rc);
        return;
    case xtpBarFloating:
        pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
        DrawRaisedFrame(pDC, rc);
        return;
    case xtpBarTop:
        FillRebarBackground(pDC, pBar, pBar->GetParent() ? pBar->GetParent() : pBar);
        break;
    default:
        pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
        break;
    }
    pDC->Draw3dRect(rc, GetColor(COLOR_BTNHIGHLIGHT), m_clrRebarEdge);
}

void CXTPBarThemeVisualStyles::FillDockBar(CDC* pDC, CWnd* pWnd)
{
    if (m_themeRebar.IsOpen() && pWnd->GetDlgCtrlID() != AFX_IDW_DOCKBAR_TOP) {
        CRect rc;
        pWnd->GetClientRect(&rc);
        pDC->FillSolidRect(rc, GetColor(COLOR_3DFACE));
    }
    FillRebarBackground(pDC, pWnd, pWnd);
}

CSize CXTPBarThemeVisualStyles::DrawGripperShape(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw)
{
    if (!m_themeRebar.IsOpen())
        return CXTPBarThemeDefault::DrawGripperShape(pDC, pBar, bDraw);
    int g = std::max(m_nTextHeight + 4, 22);
    if (bDraw)
        m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), RP_GRIPPER, 1, CRect(2, 3, 8, g), nullptr);
    return CSize(8, g);
}

CSize CXTPBarThemeVisualStyles::DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw)
{
    if (!m_themeRebar.IsOpen() || pBar->GetPosition() == xtpBarFloating)
        return CXTPBarThemeDefault::DrawCommandBarGripper(pDC, pBar, bDraw);
    if (pBar->IsFullGripperShape())
        return DrawGripperShape(pDC, pBar, bDraw);
    CRect rc;
    pBar->GetClientRect(&rc);
    switch (pBar->GetPosition()) {
    case xtpBarTop:
    case xtpBarBottom:
        if (bDraw)
            m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), RP_GRIPPER, 1, CRect(2, 2, 8, rc.bottom - 2), nullptr);
        return CSize(8, 0);
    case xtpBarLeft:
    case xtpBarRight:
        if (bDraw)
            m_themeRebar.DrawThemeBackground(pDC->GetSafeHdc(), RP_GRIPPERVERT, 1, CRect(2, 2, rc.right - 2, 8),
                                             nullptr);
        return CSize(0, 8);
    }
    return CSize(0, 0);
}

void CXTPBarThemeVisualStyles::AdjustControlRect(CRect* pRect, CXTPControl* pControl, BOOL bVertical)
{
    CXTPCommandBar* pBar = pControl->GetParent();
    if (!m_themeRebar.IsOpen() || pControl->GetType() == xtpControlComboBox || !pBar ||
        pBar->GetType() == xtpBarTypePopup) {
        CXTPBarThemeDefault::AdjustControlRect(pRect, pControl, bVertical);
        return;
    }
    // The styled button face draws its own edge: one pixel more each way.
    pRect->InflateRect(1, 1);
}

void CXTPBarThemeVisualStyles::FillStatusBar(CDC* pDC, CWnd* pWnd)
{
    if (!m_themeStatus.IsOpen()) {
        CXTPBarThemeDefault::FillStatusBar(pDC, pWnd);
        return;
    }
    CRect rc;
    pWnd->GetClientRect(&rc);
    m_themeStatus.DrawThemeBackground(pDC->GetSafeHdc(), 0, 0, rc, nullptr);
}

void CXTPBarThemeVisualStyles::DrawStatusBarPaneBorder(CDC* pDC, CRect rc, CXTPStatusBarPane* pPane)
{
    if (!m_themeStatus.IsOpen()) {
        CXTPBarThemeDefault::DrawStatusBarPaneBorder(pDC, rc, pPane);
        return;
    }
    // The last pane of a bar with a size grip holds the grip.
    CXTPStatusBar* pBar = pPane ? pPane->GetStatusBar() : nullptr;
    BOOL bGripPane = pBar && pBar->GetSafeHwnd() && (pBar->GetStyle() & SBARS_SIZEGRIP) &&
                     pPane->GetIndex() == pBar->GetPaneCount() - 1;
    m_themeStatus.DrawThemeBackground(pDC->GetSafeHdc(), bGripPane ? SP_GRIPPERPANE : SP_PANE, 0, rc, nullptr);
}

void CXTPBarThemeVisualStyles::DrawStatusBarGripper(CDC* pDC, CRect rc)
{
    if (!m_themeStatus.IsOpen()) {
        CXTPBarThemeDefault::DrawStatusBarGripper(pDC, rc);
        return;
    }
    rc.left = rc.right - 18;
    m_themeStatus.DrawThemeBackground(pDC->GetSafeHdc(), SP_GRIPPER, 0, rc, nullptr);
}

void CXTPBarThemeVisualStyles::DrawEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected, BOOL bDropped)
{
    if (!m_themeCombo.IsOpen()) {
        CXTPBarThemeDefault::DrawEditFrame(pDC, rc, bEnabled, nSelected, bDropped);
        return;
    }
    CRect rcInside = rc;
    rcInside.DeflateRect(1, 1);
    pDC->FillSolidRect(rcInside, GetColor(bEnabled ? COLOR_WINDOW : COLOR_3DFACE));
    COLORREF clrFrame = 0;
    if (FAILED(m_themeCombo.GetThemeColor(CP_DROPDOWNBUTTON, bEnabled ? CBXS_NORMAL : CBXS_DISABLED, TMT_BORDERCOLOR,
                                          &clrFrame)))
        clrFrame = GetColor(COLOR_3DSHADOW);
    pDC->Draw3dRect(rc, clrFrame, clrFrame);
}

void CXTPBarThemeVisualStyles::DrawComboDropButton(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected, BOOL bDropped)
{
    if (!m_themeCombo.IsOpen()) {
        CXTPBarThemeDefault::DrawComboDropButton(pDC, rc, bEnabled, nSelected, bDropped);
        return;
    }
    rc.left -= 2;
    rc.DeflateRect(0, 1, 1, 1);
    int nState = !bEnabled ? CBXS_DISABLED : bDropped ? CBXS_PRESSED : nSelected ? CBXS_HOT : CBXS_NORMAL;
    m_themeCombo.DrawThemeBackground(pDC->GetSafeHdc(), CP_DROPDOWNBUTTON, nState, rc, nullptr);
}
