// The flat, system-coloured look of the command bars: theme 0 and the theme of every id the painter does not know.
#pragma once

#include "ui/themes/BarPainter.h"

class CXTPBarThemeDefault : public CXTPBarPainter
{
public:
    CXTPBarThemeDefault();

    CSize DrawPopupBarControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw) override;
    void DrawSplitButtonFace(CDC* pDC, CXTPControl* pControl, CRect rc) override;
    void FillCommandBar(CDC* pDC, CXTPCommandBar* pBar) override;
    void DrawControlEntry(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked,
                          BOOL bPopupWhole, int nBarPosition) override;
    int GetControlTextColorIndex(BOOL bEnabled, int nSelected, int nPressed, BOOL bChecked, BOOL bPopupWhole,
                                 int nBarPosition) override;
    void DrawControlRect(CDC* pDC, CRect rc, int nSelected, int nPressed, BOOL bEnabled, BOOL bChecked,
                         BOOL bPopupWhole, BOOL bToolBar, int nBarPosition) override;
    CSize DrawCommandBarGripper(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) override;
    CSize DrawSeparator(CDC* pDC, CXTPControl* pControl, CXTPCommandBar* pBar, BOOL bDraw) override;
    void AdjustControlRect(CRect* pRect, CXTPControl* pControl, BOOL bVertical) override;
    CSize DrawGlyph(CDC* pDC, CXTPCommandBar* pBar, int nGlyph, CXTPControl* pControl, BOOL bDraw,
                    const CSize* pszBar = nullptr) override;
    void GetBarBorders(CRect* pBorders, CXTPCommandBar* pBar) override;
    CSize DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) override;
    void DrawImage(CDC* pDC, CPoint pt, CSize sz, CXTPBarIcon* pIcon, int nSelected, int nPressed, BOOL bEnabled,
                   BOOL bChecked, BOOL bPopupWhole, BOOL bToolBar) override;
    CSize DrawGripperShape(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) override;
    int GetThemeId() const override { return themeDefault; }
    CSize DrawComboBoxControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw) override;
    CSize DrawEditControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw) override;
    CSize DrawListBoxControl(CDC* pDC, CXTPControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                             CXTPCommandBars* pOwner) override;
    // The frame and inside of an edit field by the control's state.
    virtual void DrawEditFrame(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected, BOOL bDropped);
    // The drop button of a combo box (the button's part of the control's rectangle).
    virtual void DrawComboDropButton(CDC* pDC, CRect rc, BOOL bEnabled, int nSelected, BOOL bDropped);

    // The selected item of a popup bar filled in colour 13 rather than given the toolbar face.
    void SetFilledSelection(BOOL bFilled) { m_bFilledSelection = bFilled; }

protected:
    // Measures a field (label width and drop button stored in the control) or draws its label; returns the size,
    // or, when drawing, the rectangle left for the field.
    CSize MeasureField(CDC* pDC, CXTPControl* pControl, int nFieldWidth, BOOL bDropButton);
    CRect DrawFieldLabel(CDC* pDC, CXTPControl* pControl, int nLabelWidth);

    BOOL m_bFilledSelection = FALSE;
    int m_nPopupTextColor = COLOR_BTNTEXT;
};
