// Themes of the framework's column header: the header paints itself entirely through one. The classic theme
// draws raised items, the flat theme thin dividers, the Office 2003 theme a taller header with a shaded foot;
// each places the caption, an item bitmap and the sort arrow.
#pragma once

#include "ui/themes/ColorTable.h"
#include "ui/themes/ThemeManager.h"
#include "ui/themes/VisualStyleHandle.h"

#include "platform/mfc/afxwin.h"

#include <commctrl.h>

class CXTHeaderCtrl;

class CXTHeaderCtrlTheme : public CXTThemeManagerStyle
{
public:
    // Options.
    enum { optionVisualStyles = 0x1, optionThemedItems = 0x2, optionSortArrow = 0x4 };

    CXTHeaderCtrlTheme();

    void RefreshMetrics() override;
    virtual void DrawHeader(CDC* pDC, CXTHeaderCtrl* pHeader);
    // Only with option 0x1; opens the "HEADER" style handle on first use.
    virtual BOOL UsesVisualStyles(CXTHeaderCtrl* pHeader);
    virtual void SetDrawStyle(DWORD dwOptions, CXTHeaderCtrl* pHeader);
    virtual DWORD GetDrawStyle() const { return m_dwOptions; }
    // TRUE when the theme laid the header out itself; FALSE leaves it to the header's default.
    virtual BOOL Layout(LPHDLAYOUT lpLayout, CXTHeaderCtrl* pHeader);
    virtual void CleanUpImages(CXTHeaderCtrl* pHeader);
    // A bitmap resource as a masked image list on the column (or, with bRemove, none).
    virtual BOOL SetBitmap(int nCol, UINT nIDBitmap, BOOL bRemove, COLORREF clrMask, CXTHeaderCtrl* pHeader);
    virtual void DrawBackground(CDC* pDC, CRect rect);
    virtual BOOL DrawVisualStyleBackground(CDC* pDC, CRect rect);
    virtual void DrawItemBackground(LPDRAWITEMSTRUCT lpDIS);
    virtual BOOL DrawVisualStyleItemBackground(LPDRAWITEMSTRUCT lpDIS);
    // The arrow right of the caption rectangle.
    virtual void DrawSortArrow(CDC* pDC, const CRect& rcCaption, BOOL bPressed, BOOL bAscending);
    virtual void DrawItemText(LPDRAWITEMSTRUCT lpDIS, CXTHeaderCtrl* pHeader);
    // Image 0 of the item's image list at the caption's left; answers the width it took (0 when it did not fit).
    virtual int DrawImage(LPDRAWITEMSTRUCT lpDIS, const CRect& rcCaption, HIMAGELIST hImageList, CXTHeaderCtrl* pHeader);
    virtual void DrawTriangle(CDC* pDC, CPoint ptApex, CPoint ptLeft, CPoint ptRight, BOOL bAscending);

    int GetArrowWidth() const { return m_nArrowWidth; }
    int GetArrowMargin() const { return m_nArrowMargin; }
    int GetTextMargin() const { return m_nTextMargin; }
    COLORREF GetTextColor() const { return m_clrText; }
    COLORREF GetFaceColor() const { return m_clrFace; }
    COLORREF GetShadowColor() const { return m_clrShadow; }
    COLORREF GetHighlightColor() const { return m_clrHighlight; }

protected:
    // The caption rectangle of an item: narrowed by the text margins, and on the sort column by the arrow's room.
    CRect GetCaptionRect(LPDRAWITEMSTRUCT lpDIS, CXTHeaderCtrl* pHeader) const;
    void VerticalLine(CDC* pDC, int x, int yFrom, int yTo, COLORREF clr);
    void HorizontalLine(CDC* pDC, int xFrom, int xTo, int y, COLORREF clr);

    int m_nArrowMargin = 10;
    DWORD m_dwOptions = optionVisualStyles | optionThemedItems | optionSortArrow;
    BOOL m_bUseVisualStyles = FALSE;
    int m_nTextMargin = 6;
    int m_nTextTop = 0;
    int m_nArrowWidth = 8;
    int m_nArrowHeight = 7;
    CColorValue m_clrText, m_clrFace, m_clrShadow, m_clrDarkShadow, m_clrHighlight;
    CXTPVisualStyleHandle m_themeHeader;
};

class CXTHeaderCtrlThemeFlat : public CXTHeaderCtrlTheme
{
public:
    CXTHeaderCtrlThemeFlat() { m_dwOptions = optionSortArrow; }

    void DrawBackground(CDC* pDC, CRect rect) override;
    void DrawItemBackground(LPDRAWITEMSTRUCT lpDIS) override;
};

class CXTHeaderCtrlThemeOffice2003 : public CXTHeaderCtrlTheme
{
public:
    CXTHeaderCtrlThemeOffice2003()
    {
        m_dwOptions = optionSortArrow;
        m_nTextTop = 2;
    }

    // Face blended toward the shadow by t per channel, truncated.
    COLORREF BlendFace(double t) const;
    void DrawBackground(CDC* pDC, CRect rect) override;
    void DrawItemBackground(LPDRAWITEMSTRUCT lpDIS) override;
    BOOL Layout(LPHDLAYOUT lpLayout, CXTHeaderCtrl* pHeader) override;
};

// Theme 1 the flat theme, 2 the Office 2003 theme, any other the classic one.
class CXTHeaderCtrlThemeFactory : public CXTThemeManagerStyleFactory
{
    DECLARE_DYNCREATE(CXTHeaderCtrlThemeFactory)
public:
    CXTThemeManagerStyle* CreateTheme(int nTheme) override;
};
