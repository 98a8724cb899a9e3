// The flat look of theme 1: bars in the colour table's derived colours, highlighted controls with a coloured fill
// and a 1-pixel frame, popups with drop shadows and a coloured icon column.
#pragma once

#include "ui/themes/BarPainter.h"

class CXTPBarThemeShadowed : public CXTPBarPainter
{
public:
    CXTPBarThemeShadowed();

    CSize DrawPopupBarControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw) override;
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
    void DrawStatusBarPaneBorder(CDC* pDC, CRect rc, CXTPStatusBarPane* pPane) override;
    BOOL HasPopupShadow() const override { return TRUE; }
    CSize DrawTearOffGripper(CDC* pDC, CRect rc, BOOL bSelected, BOOL bDraw) override;
    void DrawImage(CDC* pDC, CPoint pt, CSize sz, CXTPBarIcon* pIcon, int nSelected, int nPressed, BOOL bEnabled,
                   BOOL bChecked, BOOL bPopupWhole, BOOL bToolBar) override;
    CSize DrawGripperShape(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw) override;
    int GetThemeId() const override { return themeShadowed; }
    CSize DrawComboBoxControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw) override;
    CSize DrawEditControl(CDC* pDC, CXTPControl* pControl, BOOL bDraw) override;
    CSize DrawListBoxControl(CDC* pDC, CXTPControl* pControl, CRect rc, BOOL bSelected, BOOL bDraw,
                             CXTPCommandBars* pOwner) override;
    // The icon column of popups and the band of hidden items.
    virtual void FillBarBand(CDC* pDC, int x, int y, int cx, int cy, BOOL bSecondStyle);

protected:
    // A field's size (label width and drop button stored in the control) with the label shown or not.
    CSize MeasureField(CDC* pDC, CXTPControl* pControl, int nFieldWidth, BOOL bLabel, BOOL bDropButton);
    // The label of a field, or nothing without one; the rest of the control's rectangle.
    CRect DrawFieldLabel(CDC* pDC, CXTPControl* pControl, int nLabelWidth, BOOL bLabel);
    // The border of a popup where it touches the control that opened it, in the popup's client coordinates.
    static CRect GetJoinRect(CXTPCommandBar* pPopupBar);
    // Frame and fill of a popup bar, its icon column and the join with its control.
    void FillPopupBar(CDC* pDC, CXTPCommandBar* pBar, int nJoinColor);
    // Lines of a separator before a control: the dark one and, when nLight is not -1, a light one beside it.
    void DrawSeparatorLines(CDC* pDC, CXTPControl* pControl, CXTPCommandBar* pBar, int nDark, int nLight);
    // The caption strip of a floating bar with its title in white, as tall as the caption font (at least 15);
    // bButtonRoom keeps the title clear of the caption's buttons.
    CSize DrawFloatingCaption(CDC* pDC, CXTPCommandBar* pBar, BOOL bDraw, COLORREF clrFill, BOOL bButtonRoom);
};
