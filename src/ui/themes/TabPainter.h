// Measures, lays out and draws the tab headers of the framework's tabbed windows. The tab model belongs to the
// tab manager; the painter owns a style (geometry and shapes) and a colour set, both chosen by number, the
// fonts and the layout options. One painter may serve several managers: each registers itself and is laid out
// again whenever the painter changes.
#pragma once

#include "ui/themes/TabColors.h"
#include "ui/themes/TabStyle.h"

#include "platform/mfc/afxwin.h"

#include <memory>
#include <vector>

class CXTPTabManager;
class CXTPTabManagerItem;
class CXTPTabManagerNavigateButton;

class CXTPTabPainter : public CCmdTarget
{
public:
    enum { positionTop = 0, positionLeft = 1, positionBottom = 2, positionRight = 3 };
    enum { layoutAutoSize = 0, layoutCompressed = 1, layoutSizeToFit = 3, layoutMultiRow = 4, layoutRotated = 5 };
    enum { frameBorder = 0, frameSingleLine = 1, frameNone = 2 };

    CXTPTabPainter();
    ~CXTPTabPainter() override;

    virtual void DrawTabControl(CXTPTabManager* pManager, CDC* pDC, CRect rcControl);
    // The client area the painter leaves for a page in a control rect.
    virtual void AdjustClientRect(CXTPTabManager* pManager, CRect& rc);
    // The whole layout of a manager over its control rect.
    virtual void RepositionTabControl(CXTPTabManager* pManager, CDC* pDC, CRect rcControl);
    // Draws, or (bDraw FALSE) measures, icon and caption of a tab in rcItem; answers the needed length.
    virtual int DrawItemCaption(CDC* pDC, CXTPTabManagerItem* pItem, CRect rcItem, BOOL bDraw);
    virtual void RefreshMetrics();
    virtual void OnPainterChanged();
    virtual void DrawFocusRect(CDC* pDC, CXTPTabManagerItem* pItem);

    // Style and colour set by id; each answers the installed object.
    CXTPTabStyle* SetStyle(int nID);
    CXTPTabStyle* SetStyleObject(CXTPTabStyle* pStyle);
    CXTPTabColors* SetColors(int nID);
    CXTPTabColors* SetColorsObject(CXTPTabColors* pColors);
    int GetStyle() const { return m_nStyle; }
    int GetColors() const { return m_nColors; }
    CXTPTabStyle* GetStyleObject() const { return m_pStyle.get(); }
    CXTPTabColors* GetColorsObject() const { return m_pColors.get(); }

    void SetOption(BOOL bSchemeColorsOff);
    BOOL IsSchemeColorsDisabled() const;
    void SetShowItemColors(BOOL bShow);
    void SetPosition(int nPosition);
    void SetLayout(int nLayout);
    int GetPosition() const { return m_nPosition; }
    int GetLayout() const { return m_nLayout; }
    BOOL IsHorizontal() const { return m_nPosition == positionTop || m_nPosition == positionBottom; }
    // Fonts of a given LOGFONT from now on, instead of the system's icon-title font.
    void SetFontIndirect(const LOGFONT* pLogFont);

    // The owners laid out again on every change.
    void AddOwner(CXTPTabManager* pManager);
    void RemoveOwner(CXTPTabManager* pManager);

    static COLORREF GetPredefinedTabColor(COLORREF clr);
    COLORREF FillButtonFace(CDC* pDC, CRect& rc, CXTPTabManagerNavigateButton* pButton);
    // Scrolls the header so that the item lies inside the tabs area.
    void EnsureVisible(CXTPTabManager* pManager, CXTPTabManagerItem* pItem);

    // The common layout and drawing of the styles.
    void DrawTabControlDefault(CXTPTabManager* pManager, CDC* pDC, CRect rcControl);
    void RepositionTabsDefault(CXTPTabManager* pManager, CDC* pDC, CRect rcClient);
    void CompressTabs(CXTPTabManager* pManager, int nWidth);
    void RepositionMultiRow(CXTPTabManager* pManager, CDC* pDC, CRect rcClient);
    int CalcRows(CXTPTabManager* pManager, int nWidth);
    // Rows from nRow on for the items from nFirst, nLength left to place; -1 or the index of the item that
    // does not fit.
    int BalanceRows(CXTPTabManager* pManager, int nRow, int nFirst, int nLength, int nRows, int nWidth);
    void DrawRow(CDC* pDC, CXTPTabManager* pManager, int nRow);
    void DrawNavigateButton(CDC* pDC, CXTPTabManagerNavigateButton* pButton);
    int MeasureItem(CDC* pDC, CXTPTabManagerItem* pItem);

    CFont* GetFont(BOOL bBold, BOOL bVertical);
    // The font a tab's caption is drawn in (vertical for side headers, the other way round when rotated).
    CFont* GetItemFont(CXTPTabManagerItem* pItem);

    BOOL m_bBoldNormal = FALSE;
    BOOL m_bBoldSelected = FALSE;
    BOOL m_bShowIcons = TRUE;
    BOOL m_bShowItemColors = FALSE;
    int m_nClientFrame = frameBorder;
    BOOL m_bStaticFrame = FALSE;       // the client area gets the painter's own border (the style's client parts)
    CRect m_rcControlMargin;
    BOOL m_bInvertGradient = FALSE;
    CRect m_rcItemInset;
    CRect m_rcClientMargin;
    CSize m_szIcon{16, 16};
    BOOL m_bShowFocusRect = TRUE;
    BOOL m_bNoEllipsis = FALSE;
    BOOL m_bNoPrefix = TRUE;
    BOOL m_bKeepRowOrder = FALSE;
    BOOL m_bBalanceRows = TRUE;
    BOOL m_bHotTracking = FALSE;       // the owners that want it (the tabbed client's themes) switch it on
    int m_nToolTipMode = 2;            // 0 none, 1 always, 2 only for truncated captions
    BOOL m_bSelectOnDragOver = TRUE;
    BOOL m_bUseSystemFont = TRUE;

private:
    void BuildFonts(const LOGFONT& lf);
    // The band of row nRow (0 next to the client area) across the header, and the tabs' span along it.
    CRect GetRowRect(CXTPTabManager* pManager, const CRect& rcHeader, int nRow, int nRowHeight) const;
    // Places the visible items of a row (all items when nRow is -1) side by side from nStart.
    void PlaceRowTabs(CXTPTabManager* pManager, int nRow, int nStart, const CRect& rcRow, int nRowHeight);
    void PlaceNavigateButtons(CXTPTabManager* pManager, CRect& rcHeader);

    BOOL m_bSchemeColorsOff = FALSE;
    std::unique_ptr<CXTPTabStyle> m_pStyle;
    std::unique_ptr<CXTPTabColors> m_pColors;
    std::vector<CXTPTabManager*> m_arrOwners;
    int m_nStyle = 0;
    int m_nColors = 0;
    int m_nPosition = positionTop;
    int m_nLayout = layoutAutoSize;
    CFont m_fntNormal;
    CFont m_fntBold;
    CFont m_fntVerticalNormal;
    CFont m_fntVerticalBold;
};
