// Themes of the framework's owner-drawn push button: the classic 3-D face (also flat and semi-flat), the flat
// theme with its hot, pressed and toggled faces, and the Office 2003 theme with gradient faces in the colours
// of the visual-style scheme. The theme draws face, image, caption and focus; the button holds the state.
#pragma once

#include "ui/themes/ColorTable.h"
#include "ui/themes/ThemeManager.h"
#include "ui/themes/VisualStyleHandle.h"

#include "platform/mfc/afxwin.h"

class CXTButton;

class CXTButtonTheme : public CXTThemeManagerStyle
{
public:
    CXTButtonTheme();

    void RefreshMetrics() override;
    // The visual styles are used, or the face is flat or semi-flat.
    virtual BOOL WantsHotTracking(CXTButton* pButton);
    // Only with draw style 0x1000; opens the "BUTTON" style handle on first use.
    virtual BOOL UsesVisualStyles(CXTButton* pButton);
    virtual BOOL GetShowImages() const { return m_bShowImages; }
    virtual void SetShowImages(BOOL bShowImages) { m_bShowImages = bShowImages; }
    // The theme's own font when it has one, else the button's.
    virtual CFont* GetFont(CXTButton* pButton);
    virtual void SetFont(CFont* pFont);
    virtual void SetColors(COLORREF clrFace, COLORREF clrLight, COLORREF clrShadow, COLORREF clrText);
    virtual void SetFaceColor(COLORREF clr) { m_clrFace.SetValue(clr); }
    virtual COLORREF GetFaceColor() const { return m_clrFace; }
    virtual void SetLightColor(COLORREF clr) { m_clrLight.SetValue(clr); }
    virtual void SetShadowColor(COLORREF clr) { m_clrShadow.SetValue(clr); }
    virtual void SetTextColor(COLORREF clr) { m_clrText.SetValue(clr); }
    // Offset of something of that size in the button: centred vertically; horizontally centred with draw style
    // 0x0004, else at the image gap.
    virtual CPoint GetImageOffset(CSize szImage, CXTButton* pButton);
    virtual CPoint GetCaptionPoint(const CRect& rcFace, CSize szCaption, CXTButton* pButton);
    virtual COLORREF GetCaptionColor(UINT nState, CXTButton* pButton);
    virtual void DrawCaption(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton);
    virtual CPoint GetImagePoint(const CRect& rcItem, CXTButton* pButton);
    virtual void DrawImage(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton);
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS, CXTButton* pButton);
    virtual BOOL DrawVisualStyleFace(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton);
    virtual void DrawFace(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton);
    virtual void DrawFocus(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton);

    COLORREF GetTextColor() const { return m_clrText; }
    COLORREF GetLightColor() const { return m_clrLight; }
    COLORREF GetShadowColor() const { return m_clrShadow; }

protected:
    // Selected (ODS_SELECTED) or drawn toggled.
    static BOOL IsPressed(UINT nState, CXTButton* pButton);

    BOOL m_bShowImages = TRUE;
    BOOL m_bOffsetWhenPressed = TRUE;
    CFont m_font;
    CColorValue m_clrFace, m_clrText, m_clrDisabledText, m_clrLight, m_clrShadow, m_clrHighlight, m_clrDarkShadow;
    CXTPVisualStyleHandle m_themeButton;
};

class CXTButtonThemeFlat : public CXTButtonTheme
{
public:
    explicit CXTButtonThemeFlat(BOOL bSchemeFace = FALSE);

    void RefreshMetrics() override;
    COLORREF GetCaptionColor(UINT nState, CXTButton* pButton) override;
    void DrawFace(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton) override;
    void DrawFocus(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton) override;

    // The metrics follow at once.
    virtual void SetSchemeFace(BOOL bSchemeFace);
    virtual void SetPressedFaceColor(COLORREF clr) { m_clrPressedFace.SetValue(clr); }
    virtual void SetHotFaceColor(COLORREF clr) { m_clrHotFace.SetValue(clr); }
    virtual void SetPressedTextColor(COLORREF clr) { m_clrPressedText.SetValue(clr); }
    virtual void SetHotTextColor(COLORREF clr) { m_clrHotText.SetValue(clr); }

protected:
    BOOL m_bSchemeFace;
    CColorValue m_clrPressedFace, m_clrHotFace, m_clrPressedText, m_clrHotText, m_clrToggledFace;
};

class CXTButtonThemeOffice2003 : public CXTButtonThemeFlat
{
public:
    explicit CXTButtonThemeOffice2003(BOOL bSchemeFace = FALSE) : CXTButtonThemeFlat(bSchemeFace) {}

    void RefreshMetrics() override;
    BOOL WantsHotTracking(CXTButton* /*pButton*/) override { return TRUE; }
    void DrawImage(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton) override;
    void DrawFace(CDC* pDC, const CRect& rcItem, UINT nState, CXTButton* pButton) override;
};

// Theme 1 the flat theme, 2 the Office 2003 theme, any other the classic one.
class CXTButtonThemeFactory : public CXTThemeManagerStyleFactory
{
    DECLARE_DYNCREATE(CXTButtonThemeFactory)
public:
    CXTThemeManagerStyle* CreateTheme(int nTheme) override;
};
