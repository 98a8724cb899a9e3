#include "ui/docking/XTPDockingPanePaintManager.h"

#include "ui/docking/TabManager.h"
#include "ui/themes/TabPainter.h"

#include <algorithm>

COLORREF BlendPerMille(COLORREF a, COLORREF b, int nPerMille)
{
    auto mix = [nPerMille](int x, int y) { return (x * nPerMille + y * (1000 - nPerMille) + 500) / 1000; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

CXTPDockingPanePaintManager::CXTPDockingPanePaintManager()
    : m_clrSplitterGripper(XTP_COLOR_NONE), m_clrSplitter(XTP_COLOR_NONE)
{
    m_pPaneTabPainter = new CXTPTabPainter;
    // Pane tabs run along the bottom of their container and shrink to its width.
    m_pPaneTabPainter->SetPosition(CXTPTabPainter::positionBottom);
    m_pPaneTabPainter->SetLayout(CXTPTabPainter::layoutCompressed);
    m_pAutoHideTabPainter = new CXTPTabPainter;
    m_pAutoHideTabPainter->SetPosition(CXTPTabPainter::positionRight);
}

CXTPDockingPanePaintManager::~CXTPDockingPanePaintManager()
{
    m_pPaneTabPainter->InternalRelease();
    m_pAutoHideTabPainter->InternalRelease();
}

COLORREF CXTPDockingPanePaintManager::GetColor(UINT nIndex) const
{
    return nIndex < CColorTable::colorCount ? m_clrTable[nIndex] : nIndex;
}

void CXTPDockingPanePaintManager::SetColors(int nCount, const UINT* pIndices, const COLORREF* pColors)
{
    for (int i = 0; i < nCount; i++) {
        if (pIndices[i] < CColorTable::colorCount)
            m_clrTable[pIndices[i]] = pColors[i];
    }
}

void CXTPDockingPanePaintManager::SetColorScheme(int nScheme)
{
    m_nColorScheme = nScheme;
    RefreshMetrics();
}

int CXTPDockingPanePaintManager::GetCurrentScheme() const
{
    if (m_nColorScheme == schemeDefault) {
        CColorTable* pTable = GetColorTable();
        return pTable->IsSchemeColorsDisabled() ? CColorTable::schemeNone : pTable->GetCurrentScheme();
    }
    if (m_nColorScheme == CColorTable::schemeAuto)
        return CColorTable::DetectScheme();
    return m_nColorScheme;
}

void CXTPDockingPanePaintManager::SetSplitterStyle(int nStyle)
{
    m_nSplitterStyle = nStyle;
    m_nSplitterWidth = nStyle ? 7 : 4;
}

int CXTPDockingPanePaintManager::GetTextHeight(CFont* pFont)
{
    CWindowDC dc(nullptr);
    CFontSelector selector(&dc, pFont);
    return dc.GetTextExtent(L" ", 1).cy;
}

void CXTPDockingPanePaintManager::SetCaptionFont(const LOGFONT* pLogFont, BOOL bSystem)
{
    m_bUseSystemCaptionFont = bSystem;
    m_fntCaption.DeleteObject();
    m_fntCaption.CreateFontIndirect(pLogFont);

    LOGFONT lfVertical = *pLogFont;
    lfVertical.lfEscapement = 2700;
    lfVertical.lfOrientation = 900;
    if (lfVertical.lfHeight > -11 && lfVertical.lfHeight < 0)
        lfVertical.lfHeight = -11;
    CString strFace = GetDefaultFontFace(m_bUseTahomaVertical);
    lstrcpynW(lfVertical.lfFaceName, strFace, LF_FACESIZE);
    m_fntCaptionVertical.DeleteObject();
    m_fntCaptionVertical.CreateFontIndirect(&lfVertical);

    m_nCaptionHeight = m_nCaptionTextMargin + std::max(13, GetTextHeight(&m_fntCaption));
}

void CXTPDockingPanePaintManager::SetPaneTabPainter(CXTPTabPainter* pPainter)
{
    m_pPaneTabPainter->InternalRelease();
    m_pPaneTabPainter = pPainter;
    pPainter->RefreshMetrics();
}

void CXTPDockingPanePaintManager::SetAutoHideTabPainter(CXTPTabPainter* pPainter)
{
    m_pAutoHideTabPainter->InternalRelease();
    m_pAutoHideTabPainter = pPainter;
    pPainter->RefreshMetrics();
}

void CXTPDockingPanePaintManager::RefreshMetrics()
{
    CColorTable::RefreshIfStale();
    for (UINT i = 0; i < CColorTable::colorCount; i++)
        m_clrTable[i] = GetColorTable()->GetColor(i);
    m_clrSplitterGripper.SetDefaultValue(GetColor(COLOR_BTNSHADOW));
    m_clrSplitter.SetDefaultValue(GetColor(COLOR_BTNFACE));

    if (m_bUseSystemCaptionFont) {
        NONCLIENTMETRICS ncm = {};
        ncm.cbSize = sizeof(ncm);
        GetNonClientMetrics(&ncm);
        LOGFONT lf = ncm.lfSmCaptionFont;
        if (!m_bBoldCaption)
            lf.lfWeight = FW_NORMAL;
        SetCaptionFont(&lf, TRUE);
    } else if (m_fntCaption.GetSafeHandle()) {
        LOGFONT lf = {};
        m_fntCaption.GetLogFont(&lf);
        SetCaptionFont(&lf, FALSE);
    }

    m_pPaneTabPainter->RefreshMetrics();
    m_pAutoHideTabPainter->RefreshMetrics();
    m_nTabsHeight = std::max(24, GetTextHeight(m_pPaneTabPainter->GetFont(FALSE, FALSE)) + 10);
}

void CXTPDockingPanePaintManager::DrawLine(CDC* pDC, int x1, int y1, int x2, int y2, UINT nColor) const
{
    CPenSelector pen(pDC, GetColor(nColor));
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
}

void CXTPDockingPanePaintManager::Rectangle(CDC* pDC, const CRect& rc, UINT nFill, UINT nBorder) const
{
    pDC->FillSolidRect(rc, GetColor(nFill));
    pDC->Draw3dRect(rc, GetColor(nBorder), GetColor(nBorder));
}

void CXTPDockingPanePaintManager::Pixel(CDC* pDC, int x, int y, UINT nColor) const
{
    pDC->SetPixel(x, y, GetColor(nColor));
}

void CXTPDockingPanePaintManager::DrawPane(CDC* pDC, const XTP_DOCKINGPANE_CAPTION* pCaption, CXTPTabManager* pTabs,
                                           CRect rc)
{
    pDC->FillSolidRect(rc, GetColor(COLOR_BTNFACE));
    if (pCaption && m_bDrawCaptions) {
        pDC->SetBkMode(TRANSPARENT);
        DrawCaption(pDC, *pCaption, rc);
    }
    AdjustCaptionRect(pCaption != nullptr, pCaption && pCaption->bVertical, rc);
    if (pTabs)
        m_pPaneTabPainter->DrawTabControl(pTabs, pDC, rc);
}

void CXTPDockingPanePaintManager::DrawCaptionButtons(CDC* pDC, const CXTPDockingPaneCaptionButtons* pButtons, CRect& rc,
                                                     COLORREF clr, int nSize, int nGap, BOOL bVertical)
{
    if (!pButtons)
        return;
    CPoint pt = bVertical ? CPoint(rc.left + (rc.Width() - nSize) / 2, rc.bottom - nSize)
                          : CPoint(rc.right - nSize, rc.top + (rc.Height() - nSize) / 2);
    for (CPaneCaptionButton* pButton : *pButtons) {
        if (!pButton->IsVisible()) {
            pButton->SetRect(CRect());
            continue;
        }
        pButton->SetRect(CRect(pt, CSize(nSize, nSize)));
        DrawCaptionButton(pDC, pButton, clr);
        if (bVertical)
            pt.y -= nSize + nGap;
        else
            pt.x -= nSize + nGap;
    }
    if (bVertical)
        rc.bottom = pt.y + nSize;
    else
        rc.right = pt.x + nSize;
}

void CXTPDockingPanePaintManager::AdjustCaptionRect(BOOL bCaption, BOOL bVertical, CRect& rc)
{
    if (!bCaption || !m_bDrawCaptions)
        return;
    if (bVertical)
        rc.left += GetCaptionFullHeight();
    else
        rc.top += GetCaptionFullHeight();
}

void CXTPDockingPanePaintManager::RecalcLayout(CXTPTabManager* pTabs, CDC* pDC, BOOL bCaption, BOOL bVertical,
                                               CRect& rc)
{
    AdjustCaptionRect(bCaption, bVertical, rc);
    if (!pTabs)
        return;
    m_pPaneTabPainter->RepositionTabControl(pTabs, pDC, rc);
    rc = pTabs->GetClientRect();
}

void CXTPDockingPanePaintManager::DrawFloatingFrame(CDC* /*pDC*/, const XTP_DOCKINGPANE_CAPTION& /*caption*/,
                                                    CRect /*rc*/)
{
}

void CXTPDockingPanePaintManager::DrawSplitter(CDC* pDC, CRect rc, BOOL bHorizontal)
{
    COLORREF clrFace = m_clrSplitter;
    if (m_nSplitterStyle & splitterRaised) {
        pDC->FillSolidRect(rc, clrFace);
        if (bHorizontal) {
            pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, GetColor(COLOR_BTNHIGHLIGHT));
            pDC->FillSolidRect(rc.left, rc.bottom - 2, rc.Width(), 1, GetColor(52));
            pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, GetColor(COLOR_BTNTEXT));
        } else {
            pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), GetColor(COLOR_BTNHIGHLIGHT));
            pDC->FillSolidRect(rc.right - 2, rc.top, 1, rc.Height(), GetColor(52));
            pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), GetColor(COLOR_BTNTEXT));
        }
    } else if (m_nSplitterStyle & splitterTwoTone) {
        int h = m_nSplitterWidth / 2;
        COLORREF clrEdge = GetColor(COLOR_3DDKSHADOW), clrBand = GetColor(COLOR_WINDOW);
        if (bHorizontal) {
            pDC->FillSolidRect(rc.left, rc.top, rc.Width(), 1, clrEdge);
            pDC->FillSolidRect(rc.left, rc.top + 1, rc.Width(), h - 1, clrBand);
            pDC->FillSolidRect(rc.left, rc.top + h, rc.Width(), rc.bottom - 1 - (rc.top + h), clrFace);
            pDC->FillSolidRect(rc.left, rc.bottom - 1, rc.Width(), 1, clrEdge);
        } else {
            pDC->FillSolidRect(rc.left, rc.top, 1, rc.Height(), clrEdge);
            pDC->FillSolidRect(rc.left + 1, rc.top, h - 1, rc.Height(), clrBand);
            pDC->FillSolidRect(rc.left + h, rc.top, rc.right - 1 - (rc.left + h), rc.Height(), clrFace);
            pDC->FillSolidRect(rc.right - 1, rc.top, 1, rc.Height(), clrEdge);
        }
    } else {
        pDC->FillSolidRect(rc, clrFace);
    }

    COLORREF clrGrip = m_clrSplitterGripper;
    CPoint ptCentre = rc.CenterPoint();
    if (m_nSplitterStyle & splitterDoubleLine) {
        if (bHorizontal) {
            pDC->FillSolidRect(ptCentre.x - 5, rc.top + 2, 11, 1, clrGrip);
            pDC->FillSolidRect(ptCentre.x - 5, rc.top + 4, 11, 1, clrGrip);
        } else {
            pDC->FillSolidRect(rc.left + 2, ptCentre.y - 5, 1, 11, clrGrip);
            pDC->FillSolidRect(rc.left + 4, ptCentre.y - 5, 1, 11, clrGrip);
        }
    }
    if (m_nSplitterStyle & splitterDotted) {
        int nLength = bHorizontal ? rc.Width() : rc.Height();
        int nHalf = std::min(32, nLength / 2 - 10);
        int nCentre = bHorizontal ? ptCentre.x : ptCentre.y;
        int nAcross = (bHorizontal ? rc.top + rc.bottom : rc.left + rc.right) / 2;
        for (int d = -(nHalf / 4) * 4; d <= nHalf; d += 4) {
            int x = bHorizontal ? nCentre + d : nAcross;
            int y = bHorizontal ? nAcross : nCentre + d;
            pDC->FillSolidRect(x, y, 2, 2, GetColor(COLOR_BTNHIGHLIGHT));
            pDC->FillSolidRect(x - 1, y - 1, 2, 2, clrGrip);
        }
    }
}

COLORREF CXTPDockingPanePaintManager::DrawPlainButtonFace(CDC* pDC, CPaneCaptionButton* pButton, COLORREF clr) const
{
    BOOL bPressed = pButton->IsPressed();
    if (!bPressed && !pButton->IsHot())
        return clr;
    CRect rc = pButton->GetRect();
    pDC->FillSolidRect(rc, GetColor(bPressed ? 33 : 31));
    pDC->Draw3dRect(rc, GetColor(32), GetColor(32));
    return GetColor(bPressed ? 47 : 45);
}

void CXTPDockingPanePaintManager::DrawCaptionTitle(CDC* pDC, const CString& strTitle, CRect rc, BOOL bVertical,
                                                   COLORREF clr)
{
    if (strTitle.IsEmpty() || rc.IsRectEmpty())
        return;
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(clr);
    CFontSelector font(pDC, GetCaptionFont(bVertical));
    if (!bVertical) {
        pDC->DrawText(strTitle, rc, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
        return;
    }
    // The text turned a quarter clockwise starts at its top right corner: centred across the strip.
    int nHeight = pDC->GetTextExtent(L" ", 1).cy;
    int x = rc.right - (rc.Width() - nHeight) / 2;
    CRect rcText(x, rc.top, x + rc.Height(), rc.bottom);
    pDC->DrawText(strTitle, rcText, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX | DT_END_ELLIPSIS);
}
